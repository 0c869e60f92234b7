// The Surface Analyzer's commands at the cursor: traces into the vector accumulator, Elevation
// Jump, the Vector Accumulator command, and the accumulator's life with the editor.

#include "app/analyzer_commands.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/editors.h"
#include "common/messages.h"
#include "support/built_surface.h"
#include "window_fixture.h"

namespace terravue::app {
namespace {

using FakeKind = testing::FakePort::Kind;

// The square pyramid of the analysis tests: base corners at 0, apex (5, 5) at 10.
class AnalyzerCommands : public WindowTest {
 protected:
  AnalyzerCommands() {
    testing::BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                          {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
  }
  CursorState At(double x, double y) {
    CursorState c;
    MoveCursorOnSurface(Context(), c, x, y);
    return c;
  }

  AnalyzerState analyzer;
};

// A drop from the face starts a chain at the cursor on the surface and runs down to the base.
TEST_F(AnalyzerCommands, WaterDropRecordsItsPathFromTheCursor) {
  ASSERT_TRUE(WaterDropCommand(session, locate, analyzer, At(6, 3)));
  const analysis::VectorAccumulator& v = analyzer.vectors;
  ASSERT_EQ(v.VertexCount(), 2u);
  EXPECT_FALSE(v.Vertex(1).ContinuesPrevious);
  EXPECT_DOUBLE_EQ(v.Vertex(1).Z, 6);
  EXPECT_TRUE(v.Vertex(2).ContinuesPrevious);
  EXPECT_FALSE(v.Vertex(2).ClosedHead);
  EXPECT_NEAR(v.Vertex(2).Y, 0, 1e-9);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();

  ASSERT_TRUE(WatershedCommand(session, locate, analyzer, At(6, 3)));
  EXPECT_TRUE(v.Vertex(4).ClosedHead) << "uphill vectors have closed heads";
  EXPECT_FALSE(WaterDropCommand(session, locate, analyzer, At(20, 20))) << "off the surface";
}

// Both ways round from the cursor: the level line closes on either side.
TEST_F(AnalyzerCommands, ContourLineTracesBothWays) {
  ASSERT_TRUE(ContourLineCommand(session, locate, analyzer, At(5, 2.5)));
  const analysis::VectorAccumulator& v = analyzer.vectors;
  EXPECT_EQ(v.VertexCount(), 10u) << "two chains of a start and four segments";
  for (std::size_t k = 1; k <= v.VertexCount(); ++k) EXPECT_NEAR(v.Vertex(k).Z, 5, 1e-9);
}

// Once full, a trace keeps nothing beyond its start, and the user is told.
TEST_F(AnalyzerCommands, FullAccumulatorWarns) {
  for (std::size_t k = 0; k < analysis::VectorAccumulator::Capacity - 1; ++k)
    analyzer.vectors.Record(false, false, 1, 1, 1);
  ASSERT_TRUE(WaterDropCommand(session, locate, analyzer, At(6, 3)));
  EXPECT_EQ(analyzer.vectors.VertexCount(), analysis::VectorAccumulator::Capacity);
  EXPECT_FALSE(analyzer.vectors.Vertex(analysis::VectorAccumulator::Capacity).ContinuesPrevious);
  EXPECT_EQ(port.Texts(FakeKind::Warning), std::vector<std::string>{std::string(msg::MaximumVectorsReached)});
}

TEST_F(AnalyzerCommands, VectorAccumulatorReportsAndEmptiesOnYes) {
  EXPECT_FALSE(VectorAccumulatorCommand(session, analyzer));
  EXPECT_EQ(port.Texts(FakeKind::Info), std::vector<std::string>{"There are no vectors."});
  WaterDropCommand(session, locate, analyzer, At(6, 3));
  port.yesNoAnswers = {false, true};
  EXPECT_FALSE(VectorAccumulatorCommand(session, analyzer));
  EXPECT_EQ(analyzer.vectors.VertexCount(), 2u);
  EXPECT_TRUE(VectorAccumulatorCommand(session, analyzer));
  EXPECT_EQ(analyzer.vectors.VertexCount(), 0u);
  EXPECT_EQ(port.Texts(FakeKind::Question).front(),
            "Total vertexes = 2\r\nTotal vectors = 1\r\nReset vector accumulator?");
}

TEST_F(AnalyzerCommands, LeavingTheAnalyzerEmptiesTheAccumulator) {
  EditorState editors;
  SelectEditor(session, editors, {}, Editor::Analyzer);
  editors.analyzer.vectors.Record(false, false, 1, 2, 3);
  SelectEditor(session, editors, {}, Editor::Breakline);
  EXPECT_EQ(editors.analyzer.vectors.VertexCount(), 0u);
}

TEST_F(AnalyzerCommands, ElevationJumpMovesAlongTheFallLineOrSaysWhyNot) {
  CursorState cursor = At(6, 2);
  port.promptAnswers = {"8"};
  EXPECT_TRUE(ElevationJumpCommand(Context(), cursor));
  EXPECT_NEAR(cursor.x, 6, 1e-9);
  EXPECT_NEAR(cursor.y, 4, 1e-9);
  EXPECT_NEAR(cursor.z, 8, 1e-9);

  // The model's range allows it, the cursor's triangle does not reach it.
  testing::BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {0, 10, 10}, {20, 0, 20}}, {{1, 2, 3}, {2, 4, 3}});
  cursor = At(1, 1);
  port.promptAnswers = {"15"};
  EXPECT_FALSE(ElevationJumpCommand(Context(), cursor));
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{std::string(msg::ElevationNotInTriangle)});
  EXPECT_NEAR(cursor.x, 1, 1e-9);
}

}  // namespace
}  // namespace terravue::app

// The point text editor's engine: Insert and Delete keep the border and the breaklines on their
// points, Undelete's 25 entries, the cells' checks, and what closing does.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange/point_table.h"
#include "exchange_test_env.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::exchange::test {
namespace {

class PointTableTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddGrid(9, 3);  // a 3 x 3 grid, labels 1..9
    const std::vector<PointIndex> ring{1, 2, 3, 6, 9, 8, 7, 4};
    for (std::size_t k = 0; k < ring.size(); ++k) model.BorderNext[ring[k]] = ring[(k + 1) % ring.size()];
    model.Breaklines[1] = {5, 7};
    model.Breaklines[2] = {2, 8};
    model.Breaklines[3] = {3, 5};
    model.BreaklineCount = 3;
    model.ComputeExtents();
  }

  // The border ring and the breaklines as the labels of their points.
  std::vector<std::string> Ring() const {
    std::vector<std::string> out;
    const PointIndex start = model.FirstBorderPoint(1, model.PointCount);
    PointIndex p = start;
    do {
      out.push_back(model.GetPointLabel(p));
      p = model.BorderNext[p];
    } while (p != start && out.size() <= model.PointCount);
    return out;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int k = 1; k <= model.BreaklineCount; ++k)
      out.push_back(model.GetPointLabel(model.Breaklines[k].From) + "-" + model.GetPointLabel(model.Breaklines[k].To));
    return out;
  }

  PointTableEditor editor{session};
};

TEST_F(PointTableTest, InsertAndDeleteKeepTheBorderBreaklinesAndCutFillOnTheirPoints) {
  for (PointIndex i = 1; i <= 9; ++i) model.PointCutFill[i] = i;
  model.CutFillCount = 9;
  editor.Open(0, 0);
  const std::vector<std::string> ring = Ring(), lines = Lines();
  EXPECT_EQ(editor.Insert(3), std::optional<PointIndex>(3));
  EXPECT_EQ(model.PointCount, 10);
  EXPECT_EQ(editor.CellText(3, EditorColumn::Label), "");
  EXPECT_EQ(Ring(), ring);
  EXPECT_EQ(Lines(), lines);
  EXPECT_EQ(editor.Insert(1), std::optional<PointIndex>(1));
  EXPECT_EQ(Ring(), ring);
  EXPECT_EQ(Lines(), lines);
  // Deleting the inserted rows puts every number back.
  EXPECT_TRUE(editor.Delete(1));
  EXPECT_TRUE(editor.Delete(3));
  EXPECT_EQ(model.PointCount, 9);
  EXPECT_EQ(model.BorderNext[4], 1);
  EXPECT_EQ(model.Breaklines[2].To, 8);
  EXPECT_EQ(Ring(), ring);
  EXPECT_EQ(model.CutFillCount, 9);
  for (PointIndex i = 1; i <= 9; ++i) EXPECT_EQ(model.PointCutFill[i], i) << i;
}

TEST_F(PointTableTest, DeletingAPointDropsItsBreaklinesAndRenumbersTheRest) {
  editor.Open(0, 0);
  EXPECT_EQ(editor.Delete(5), std::optional<PointIndex>(5));
  EXPECT_EQ(Lines(), std::vector<std::string>{"   2-   8"});
  EXPECT_EQ(model.Breaklines[1].To, 7);  // point 8 is number 7 now
  // A border point asks first; No keeps it.
  EXPECT_EQ(editor.Delete(1), std::nullopt);
  EXPECT_EQ(model.PointCount, 8);
  port.yesNoAnswers = {true};
  EXPECT_TRUE(editor.Delete(1));
  EXPECT_EQ(Ring(), (std::vector<std::string>{"   2", "   3", "   6", "   9", "   8", "   7", "   4"}));
  EXPECT_EQ(model.TriangleCount, 0);
}

TEST_F(PointTableTest, UndeleteGivesBackTheLast25DeletionsMostRecentFirst) {
  for (int k = 0; k < 30; ++k) ASSERT_TRUE(editor.Add());
  editor.Open(0, 0);
  for (int k = 0; k < 26; ++k) {
    ASSERT_TRUE(editor.SetCell(10, EditorColumn::Label, std::to_string(k)));
    ASSERT_TRUE(editor.Delete(10));
  }
  EXPECT_EQ(editor.UndeleteDepth(), 25u);
  const int count = model.PointCount;
  const std::optional<PointIndex> back = editor.Undelete();
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, count + 1);
  EXPECT_EQ(model.GetPointLabel(*back), "  24");  // the 26th deletion was not kept
  EXPECT_EQ(model.BorderNext[*back], NoPoint);
  for (int k = 0; k < 24; ++k) ASSERT_TRUE(editor.Undelete());
  EXPECT_FALSE(editor.Undelete());
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{std::string(msg::NothingToUndelete)});
}

struct CellCase {
  const char* name;
  EditorColumn column;
  const char* text;
  bool accepted;
  double x, y, z;  // point 5 afterwards (it starts at 10, 10, 4)
};

class CellEdit : public PointTableTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellEdit, StoresRoundedNumbersAndRefusesTheRest) {
  const CellCase& c = GetParam();
  settings.Set(settings::ModelSaved, true);
  editor.Open(0, 0);
  EXPECT_EQ(editor.SetCell(5, c.column, c.text), c.accepted);
  EXPECT_EQ(model.PointX[5], c.x);
  EXPECT_EQ(model.PointY[5], c.y);
  EXPECT_EQ(model.PointZ[5], c.z);
  const bool moved = c.x != 10 || c.y != 10 || c.z != 4;
  EXPECT_EQ(settings.Get(settings::ModelSaved), !moved);
}

// Northing-Easting order, the built-in one: the first coordinate column is Y.
INSTANTIATE_TEST_SUITE_P(
    Cells, CellEdit,
    ::testing::Values(CellCase{"Northing", EditorColumn::First, "12.3456", true, 10, 12.346, 4},
                      CellCase{"Easting", EditorColumn::Second, "-7", true, -7, 10, 4},
                      CellCase{"Elevation", EditorColumn::Elevation, " 101.25 ", true, 10, 10, 101.25},
                      CellCase{"LessThanATenThousandth", EditorColumn::Elevation, "4.00004", true, 10, 10, 4},
                      CellCase{"NotANumber", EditorColumn::First, "12a", false, 10, 10, 4},
                      CellCase{"TenDigits", EditorColumn::Second, "1234567890", false, 10, 10, 4},
                      CellCase{"BorderMarkIsReadOnly", EditorColumn::Border, "B", false, 10, 10, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointTableTest, ClosingWithTooFewPointsEmptiesTheModel) {
  editor.Open(0, 0);
  port.yesNoAnswers = {true, true, true, true, true, true, true};  // the border points
  for (int k = 0; k < 7; ++k) ASSERT_TRUE(editor.Delete(static_cast<PointIndex>(9 - k))) << k;
  EXPECT_EQ(model.PointCount, 2);
  const EditorCloseResult closed = editor.Close(2);
  EXPECT_FALSE(closed.pointsRemain);
  EXPECT_EQ(model.PointCount, 0);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::TooFewPointsForModel)});
}

TEST_F(PointTableTest, AnEmptyModelStartsOnOneEmptyPointAndClosesQuietly) {
  model.ClearModel();
  EXPECT_EQ(editor.Open(0, 0), 1);
  EXPECT_EQ(model.PointCount, 1);
  EXPECT_EQ(editor.PanelText(), "File Name: (No data loaded)\r\nField Comment: (None specified)");
  editor.Close(1);
  EXPECT_EQ(model.PointCount, 0);
  EXPECT_TRUE(port.Texts(Kind::Error).empty());
}

TEST_F(PointTableTest, ClosingKeepsTheTrianglesUnlessAMoveTurnedOneOver) {
  model.BreaklineCount = 0;
  tin::LocateState state;
  ASSERT_EQ(tin::Triangulate(session, state, {.quiet = true}), tin::TriangulationStatus::Success);
  const int triangles = model.TriangleCount;
  editor.Open(10, 10);
  ASSERT_TRUE(editor.SetCell(5, EditorColumn::Elevation, "5"));  // within the elevations held
  ASSERT_TRUE(editor.SetCell(5, EditorColumn::Second, "11"));  // a small move inside its triangles
  EditorCloseResult closed = editor.Close(5);
  EXPECT_EQ(model.TriangleCount, triangles);
  EXPECT_FALSE(closed.refit);
  EXPECT_EQ(closed.cursorPoint, 5);

  editor.Open(10, 10);
  ASSERT_TRUE(editor.SetCell(5, EditorColumn::Second, "35"));  // far past the grid's right side
  closed = editor.Close(5);
  EXPECT_TRUE(closed.triangulationDropped);
  EXPECT_TRUE(closed.refit);
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{std::string(msg::EditorTriangulationDropped)});
}

TEST_F(PointTableTest, ASurfaceCommandInsideTheEditorResetsWhatMovesAreCheckedAgainst) {
  model.BreaklineCount = 0;
  tin::LocateState state;
  ASSERT_EQ(tin::Triangulate(session, state, {.quiet = true}), tin::TriangulationStatus::Success);
  const int triangles = model.TriangleCount;

  // A small move, then a command that triangulates a new point in: closing keeps its triangles.
  editor.Open(10, 10);
  ASSERT_TRUE(editor.SetCell(5, EditorColumn::Second, "11"));
  EXPECT_TRUE(editor.RunSurfaceCommand([&] {
    model.PointCount = 10;
    model.PointX[10] = 15;
    model.PointY[10] = 5;
    model.PointZ[10] = 1;
    model.BorderNext[10] = NoPoint;
    return tin::Triangulate(session, state, {.quiet = true}) == tin::TriangulationStatus::Success;
  }));
  ASSERT_GT(model.TriangleCount, triangles);
  const int grown = model.TriangleCount;
  EditorCloseResult closed = editor.Close(5);
  EXPECT_FALSE(closed.triangulationDropped);
  EXPECT_EQ(model.TriangleCount, grown);
  EXPECT_TRUE(port.Texts(Kind::Warning).empty());

  // A move that turned a triangle over drops the triangles before the command builds on them.
  editor.Open(10, 10);
  ASSERT_TRUE(editor.SetCell(5, EditorColumn::Second, "35"));
  int trianglesSeen = -1;
  EXPECT_FALSE(editor.RunSurfaceCommand([&] {
    trianglesSeen = model.TriangleCount;
    return false;
  }));
  EXPECT_EQ(trianglesSeen, 0);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{std::string(msg::EditorTriangulationDropped)});
}

TEST_F(PointTableTest, HeadingsAndHintFollowTheCoordinateOrder) {
  editor.Open(0, 0);
  EXPECT_EQ(editor.Heading(EditorColumn::First), "Y");
  EXPECT_EQ(editor.RowHint(2), "Point #2:  Northing = 0.000  Easting = 10.000  Elevation = 1.000");
  settings.Set(settings::CoordinateOrder, std::uint8_t{1});
  PointTableEditor eastingFirst(session);
  EXPECT_EQ(eastingFirst.Heading(EditorColumn::First), "X");
  EXPECT_EQ(eastingFirst.RowHint(2), "Point #2:  X = 10.000  Y = 0.000  Z = 1.000");
  EXPECT_EQ(eastingFirst.CellText(2, EditorColumn::First), "10.000");
  EXPECT_EQ(eastingFirst.CellText(2, EditorColumn::Border), "B");
  EXPECT_EQ(eastingFirst.TotalsText(), "  Total Points: 9\r\n  Available Points: 32754");
}

}  // namespace
}  // namespace terravue::exchange::test

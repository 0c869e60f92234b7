#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "common/format.h"
#include "exchange_test_env.h"

namespace terravue::exchange::test {
namespace {

// A file written with a predefined export format reads back with the import format of the same
// number: the same points, the same ring, the same breaklines.
class RoundTripTest : public ExchangeTest, public ::testing::WithParamInterface<std::tuple<AsciiKind, int>> {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    // Thirty points on a bent grid, some negative, read from text so that every value is
    // exactly what an import makes of its thousandths.
    std::string text;
    for (int k = 0; k < 30; ++k) {
      const double x = 1000.125 * (k % 6) - 2500.5 + 0.001 * k;
      const double y = 733.007 * (k / 6) - 0.25 * (k % 6);
      text += FormatReal(x, 0, 3) + " " + FormatReal(y, 0, 3) + " " + FormatReal(100 * std::sin(k), 0, 3) + "\n";
    }
    std::istringstream in(text);
    LoadCoordinates(session, in, PredefinedImportFormat(AsciiKind::Coordinates, 1).codes, {});
    ASSERT_EQ(model.PointCount, 30);
    // The outline of the grid, counter-clockwise.
    const PointIndex ring[] = {1, 2, 3, 4, 5, 6, 12, 18, 24, 30, 29, 28, 27, 26, 25, 19, 13, 7};
    for (std::size_t k = 0; k < std::size(ring); ++k) model.BorderNext[ring[k]] = ring[(k + 1) % std::size(ring)];
    // Two chains and a single breakline.
    const std::pair<PointIndex, PointIndex> lines[] = {{8, 9}, {9, 10}, {10, 16}, {14, 20}, {20, 21}, {22, 23}};
    for (const auto& [from, to] : lines) model.Breaklines[++model.BreaklineCount] = {from, to};
  }

  // The points of the source model, loaded into `target` as a user would: from a file.
  void CopyPoints(model::SurfaceModel& target) {
    target.PointCount = model.PointCount;
    for (PointIndex i = 0; i <= model.PointCount; ++i) {
      target.PointX[i] = model.PointX[i];
      target.PointY[i] = model.PointY[i];
      target.PointZ[i] = model.PointZ[i];
    }
  }
};

TEST_P(RoundTripTest, ReadsBackWhatWasWritten) {
  const auto [kind, entry] = GetParam();
  ExportEntry(kind, entry);
  const fs::path file = dir.path() / "ROUND.TXT";

  model::SurfaceModel target;
  ASSERT_TRUE(target.AllocateStore());
  terravue::testing::FakePort targetPort;
  Session targetSession{target, settings, targetPort, dir.path()};
  ImportEntry(kind, entry);

  switch (kind) {
    case AsciiKind::Coordinates: {
      ASSERT_EQ(ExportCoordinateFile(session, file), ExportStatus::Written);
      const auto result = LoadCoordinateFile(targetSession, file, {});
      EXPECT_EQ(result.loaded, model.PointCount);
      EXPECT_EQ(result.failed, 0u);
      ASSERT_EQ(target.PointCount, model.PointCount);
      for (PointIndex i = 1; i <= model.PointCount; ++i) {
        EXPECT_EQ(target.PointX[i], model.PointX[i]) << i;
        EXPECT_EQ(target.PointY[i], model.PointY[i]) << i;
        EXPECT_EQ(target.PointZ[i], model.PointZ[i]) << i;
        EXPECT_EQ(target.GetPointLabel(i), model.GetPointLabel(i)) << i;
      }
      break;
    }
    case AsciiKind::Border: {
      ASSERT_EQ(ExportBorderFile(session, file), ExportStatus::Written);
      CopyPoints(target);
      const auto result = LoadBorderFile(targetSession, file, {});
      EXPECT_TRUE(result.ringValid);
      EXPECT_EQ(result.invalid, 0u);
      EXPECT_EQ(target.BorderNext, model.BorderNext);
      break;
    }
    case AsciiKind::Breaklines: {
      ASSERT_EQ(ExportBreaklineFile(session, file), ExportStatus::Written);
      CopyPoints(target);
      const auto result = LoadBreaklineFile(targetSession, file, {});
      // The one-point-per-line entry ends each chain with a repeated point, refused on the way in.
      EXPECT_EQ(result.invalid, entry == 3 ? 3u : 0u);
      ASSERT_EQ(target.BreaklineCount, model.BreaklineCount);
      for (BreaklineIndex b = 1; b <= model.BreaklineCount; ++b) {
        EXPECT_EQ(target.Breaklines[b].From, model.Breaklines[b].From) << b;
        EXPECT_EQ(target.Breaklines[b].To, model.Breaklines[b].To) << b;
      }
      break;
    }
  }
  EXPECT_TRUE(model::CheckTopology(target).empty());
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<AsciiKind, int>>& info) {
  return KindName(std::get<0>(info.param)) + "Entry" + std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    PredefinedFormats, RoundTripTest,
    ::testing::Combine(::testing::Values(AsciiKind::Coordinates, AsciiKind::Border, AsciiKind::Breaklines),
                       ::testing::Values(0, 1, 2, 3)),
    CaseName);

}  // namespace
}  // namespace terravue::exchange::test

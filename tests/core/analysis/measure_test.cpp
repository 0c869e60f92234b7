// Length, Query Triangle and the breakline query: what their dialogs show for paths, triangles
// and breaklines with known answers.

#include "analysis/measure.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/vector_accumulator.h"
#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/settings_record.h"
#include "support/built_surface.h"

namespace terravue::analysis {
namespace {

struct LengthCase {
  const char* name;
  std::vector<TracePoint> path;
  bool closed;
  int units;       // 0 English, 1 metric
  int convention;  // 0 engineers, 1 surveyors
  std::string slope, horizontal, vertical;
  bool elevation, other;
  InfoRow other1, other2;
};

void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }

class LengthResult : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LengthResult, ShowsTheGroupsOfItsPickCount) {
  const LengthCase& c = GetParam();
  SettingsRecord s = DefaultSettings();
  s.Set(settings::Units, static_cast<std::uint8_t>(c.units));
  s.Set(settings::AngleConvention, static_cast<std::uint8_t>(c.convention));
  const LengthInfo info = DescribeLength(c.path, c.closed, s);
  EXPECT_EQ(info.totalPoints, "Total points: " + std::to_string(c.path.size()));
  EXPECT_EQ(info.slopeDistance, c.slope);
  EXPECT_EQ(info.horizontalDistance, c.horizontal);
  EXPECT_EQ(info.verticalDistance, c.vertical);
  EXPECT_EQ(info.showElevation, c.elevation);
  EXPECT_EQ(info.showOther, c.other);
  if (!c.other) return;
  EXPECT_EQ(info.other1.caption, c.other1.caption);
  EXPECT_EQ(info.other1.value, c.other1.value);
  EXPECT_EQ(info.other2.visible, c.other2.visible);
  if (c.other2.visible) {
    EXPECT_EQ(info.other2.caption, c.other2.caption);
    EXPECT_EQ(info.other2.value, c.other2.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LengthResult,
    ::testing::Values(
        LengthCase{"ThreeFourFive", {{0, 0, 10}, {3, 0, 14}}, false, 1, 0, "5.000", "3.000", "4.000", false, true,
                   {"3-D slope (%):", "133.333"}, {"Angle from East:", "0.000"}},
        LengthCase{"DownToTheSouthWest", {{0, 0, 0}, {-1, -1, 0}}, false, 1, 0, "1.414", "1.414", "0.000", false, true,
                   {"3-D slope (%):", "0.000"}, {"Angle from East:", "225.000"}},
        LengthCase{"SouthEastFromEast", {{0, 0, 0}, {1, -1, 0}}, false, 1, 0, "1.414", "1.414", "0.000", false, true,
                   {"3-D slope (%):", "0.000"}, {"Angle from East:", "-45.000"}},
        LengthCase{"SouthEastFromNorth", {{0, 0, 0}, {1, -1, 0}}, false, 1, 1, "1.414", "1.414", "0.000", false, true,
                   {"3-D slope (%):", "0.000"}, {"Angle from North:", "135.000"}},
        // Only the elevation differs: no run, so no grade and no direction.
        LengthCase{"Vertical", {{5, 5, 0}, {5, 5, 2}}, false, 1, 0, "2.000", "0.000", "2.000", false, true,
                   {"3-D slope (%):", "N/A"}, {"Angle from East:", "N/A"}},
        LengthCase{"RightAngle", {{10, 0, 1}, {0, 0, 5}, {0, 10, 3}}, false, 1, 0, "20.968", "20.000", "2.000", true,
                   true, {"Included angle:", "90.000"}, {"", "", false}},
        LengthCase{"ClosedSquareEnglish", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}}, true, 0, 0,
                   "40.000", "40.000", "0.000", true, true, {"Defined area:", "100.000"}, {"Acres:", "0.002"}},
        LengthCase{"ClosedSquareMetric", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}}, true, 1, 0,
                   "40.000", "40.000", "0.000", true, true, {"Defined area:", "100.000"}, {"Hectares:", "0.010"}},
        LengthCase{"OpenPathOfFour", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, false, 1, 0, "30.000",
                   "30.000", "0.000", true, false, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A vertex of the accumulator is taken only when strictly nearer than the nearest data point.
TEST(LengthPicks, DataPointsWinTies) {
  model::SurfaceModel m;
  testing::BuildSurface(m, {{0, 0, 1}, {10, 0, 2}}, {});
  VectorAccumulator vectors;
  vectors.Record(false, false, 4, 3, 7);  // 5 from the first point
  EXPECT_EQ(NearestLengthPick(m, vectors, 4, 3), (LengthPick{1, false}));
  EXPECT_EQ(NearestLengthPick(m, vectors, 2, 1.5), (LengthPick{1, true})) << "as far as point 1: the point";
  EXPECT_EQ(PickText({1, false}), "V: 1");
  EXPECT_EQ(PickText({2, true}), "P: 2");
  EXPECT_DOUBLE_EQ(PickPosition(m, vectors, {1, false}).z, 7);
  EXPECT_DOUBLE_EQ(PickPosition(m, vectors, {2, true}).z, 2);
}

TEST(QueryTriangle, OneTriangleAtFortyFiveDegrees) {
  model::SurfaceModel m;
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {0, 10, 10}}, {{1, 2, 3}});
  SettingsRecord s = DefaultSettings();
  const TriangleQueryInfo info = DescribeTriangles(m, {1}, s);
  EXPECT_EQ(info.totalTriangles, "Total triangles: 1");
  EXPECT_EQ(info.triangles, std::vector<std::string>{"1"});
  EXPECT_EQ(info.lastArea2D, "50.000");
  EXPECT_EQ(info.lastArea3D, "70.711");
  for (const std::string* slope : {&info.lastSlope, &info.averageSlope, &info.minimumSlope, &info.maximumSlope})
    EXPECT_EQ(*slope, "70.711 %");
  EXPECT_EQ(info.largeCaption, "Acres:");
}

// A triangle without plan area (the picks come from the map, but a model may hold one) gives
// numbers, not a division by zero.
TEST(QueryTriangle, ZeroAreaTriangleHasNoDivisionByZero) {
  model::SurfaceModel m;
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {5, 0, 0}}, {{1, 2, 3}});
  SettingsRecord s = DefaultSettings();
  s.Set(settings::Units, std::uint8_t{1});
  const TriangleQueryInfo info = DescribeTriangles(m, {1}, s);
  EXPECT_EQ(info.averageSlope, "0.000 %");
  EXPECT_EQ(info.area2D, "0.000");
  EXPECT_EQ(info.largeCaption, "Hectares:");
}

TEST(BreaklineQuery, ShowsItsPointsInTheCoordinateOrderAndNoGradeWhenVertical) {
  model::SurfaceModel m;
  testing::BuildSurface(m, {{100, 200, 50}, {103, 204, 45}, {100.00001, 200, 60}}, {});
  m.Breaklines[1] = {1, 2};
  m.Breaklines[2] = {1, 3};
  m.BreaklineCount = 2;
  SettingsRecord s = DefaultSettings();
  s.Set(settings::CoordinateOrder, std::uint8_t{0});
  s.Set(settings::AngleConvention, std::uint8_t{0});
  const BreaklineQueryInfo first = DescribeBreakline(m, 1, s);
  EXPECT_EQ(first.number, "Breakline number: 1");
  EXPECT_EQ(first.firstCaption, "Northing");
  EXPECT_EQ(first.fromFirst, "200.000");
  EXPECT_EQ(first.toSecond, "103.000");
  EXPECT_EQ(first.slopeDistance, "7.071");
  EXPECT_EQ(first.horizontalDistance, "5.000");
  EXPECT_EQ(first.verticalDistance, "5.000") << "positive when the From point is higher";
  EXPECT_EQ(first.slope, "100.000");
  EXPECT_EQ(first.angleCaption, "Angle from East:");
  EXPECT_EQ(first.angle, "53.130");
  EXPECT_TRUE(first.nextEnabled);
  EXPECT_FALSE(first.previousEnabled);

  s.Set(settings::CoordinateOrder, std::uint8_t{1});
  const BreaklineQueryInfo vertical = DescribeBreakline(m, 2, s);
  EXPECT_EQ(vertical.firstCaption, "   X");
  EXPECT_EQ(vertical.slope, "N/A");
  EXPECT_EQ(vertical.angle, "N/A");
  EXPECT_FALSE(vertical.nextEnabled);
  EXPECT_TRUE(vertical.previousEnabled);
  EXPECT_TRUE(DescribeBreakline(m, 3, s).number.empty());
}

}  // namespace
}  // namespace terravue::analysis

#include "mapping/contour_smoothing.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_port.h"
#include "mapping/level_lines.h"
#include "mapping_fixture.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

using device::WorldPoint;
using testing::BuildSurface;
using testing::FakePort;
using testing::Stroke;
using testing::WorldRecorder;

constexpr double Pi = std::numbers::pi;

double Length(const Stroke& run) {
  double length = 0;
  for (std::size_t i = 1; i < run.points.size(); ++i) {
    const device::WorldPoint& a = run.points[i - 1];
    const device::WorldPoint& b = run.points[i];
    length += std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
  }
  return length;
}

// ---- Dashes ---------------------------------------------------------------------------------

struct DashCase {
  const char* name;
  double length, dash, space;
  std::vector<std::pair<double, double>> dashes;  // along the line
};

void PrintTo(const DashCase& c, std::ostream* os) { *os << c.name; }

class Dashes : public ::testing::TestWithParam<DashCase> {};

TEST_P(Dashes, AreMeasuredAlongThePathStartingWithHalfADash) {
  const DashCase& c = GetParam();
  WorldRecorder device;
  LineOutput out(device);
  out.dashes = {c.dash, c.space};
  out.SetDashFlag(true);
  // A bent line: the dashes run round the corner at x = 4.
  const std::vector<device::WorldPoint> line = {{0, 0, 7}, {4, 0, 7}, {4, c.length - 4, 7}};
  out.PrepareLine(false, 0);
  out.StraightLine(line);
  ASSERT_EQ(device.runs.size(), c.dashes.size());
  const auto along = [](const device::WorldPoint& p) { return p.y > 0 ? 4 + p.y : p.x; };
  for (std::size_t i = 0; i < c.dashes.size(); ++i) {
    EXPECT_NEAR(along(device.runs[i].points.front()), c.dashes[i].first, 1e-9) << i;
    EXPECT_NEAR(along(device.runs[i].points.back()), c.dashes[i].second, 1e-9) << i;
    EXPECT_NEAR(Length(device.runs[i]), c.dashes[i].second - c.dashes[i].first, 1e-9) << i;
  }
  EXPECT_FALSE(device.PenDown());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Dashes,
    ::testing::Values(
        DashCase{"EvenDashes", 10, 1, 1, {{0, 0.5}, {1.5, 2.5}, {3.5, 4.5}, {5.5, 6.5}, {7.5, 8.5}, {9.5, 10}}},
        DashCase{"LongDashesShortSpaces", 10, 3, 0.5, {{0, 1.5}, {2, 5}, {5.5, 8.5}, {9, 10}}},
        DashCase{"LineShorterThanHalfADash", 4.5, 10, 1, {{0, 4.5}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Smoothing ------------------------------------------------------------------------------

TEST(SmoothLine, TwoPointsDrawAStraightSegment) {
  WorldRecorder device;
  LineOutput out(device);
  out.smoothing = {true, 10, 0};
  out.smoothingDensity = 10;
  const std::vector<device::WorldPoint> line = {{0, 0, 1}, {10, 0, 1}};
  out.SmoothLine(line, false);
  ASSERT_EQ(device.runs.size(), 1u);
  EXPECT_EQ(device.runs[0].points.size(), 2u);
}

TEST(SmoothLine, ClosedTriangleIsNotSmoothed) {
  WorldRecorder device;
  LineOutput out(device);
  out.smoothing = {true, 10, 0};
  out.smoothingDensity = 10;
  const std::vector<device::WorldPoint> ring = {{0, 0, 1}, {10, 0, 1}, {0, 0, 1}};
  out.SmoothLine(ring, true);
  ASSERT_EQ(device.runs.size(), 1u);
  EXPECT_EQ(device.runs[0].points.size(), 3u);
}

TEST(SmoothLine, CurvePassesThroughEveryTracedPointAndCapsItsSegments) {
  WorldRecorder device;
  LineOutput out(device);
  out.smoothing = {true, 4, 0};
  out.smoothingDensity = 100;  // asks for far more than 4 points per piece
  const std::vector<device::WorldPoint> line = {{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {20, 10, 1}};
  out.SmoothLine(line, false);
  ASSERT_EQ(device.runs.size(), 1u);
  const Stroke& run = device.runs[0];
  // The first point and four per piece.
  ASSERT_EQ(run.points.size(), 1u + 3 * 4);
  for (std::size_t piece = 0; piece <= 3; ++piece) {
    EXPECT_DOUBLE_EQ(run.points[piece * 4].x, line[piece].x);
    EXPECT_DOUBLE_EQ(run.points[piece * 4].y, line[piece].y);
  }
  for (const device::WorldPoint& p : run.points) EXPECT_DOUBLE_EQ(p.z, 1);
  // Heading round the corner at (10, 0), the curve swings below the first piece before it.
  EXPECT_LT(run.points[3].y, 0);
}

TEST(SmoothLine, FullTensionDrawsTheStraightPieces) {
  WorldRecorder device;
  LineOutput out(device);
  out.smoothing = {true, 5, 10};
  out.smoothingDensity = 100;
  const std::vector<device::WorldPoint> line = {{0, 0, 1}, {10, 0, 1}, {10, 10, 1}};
  out.SmoothLine(line, false);
  ASSERT_EQ(device.runs.size(), 1u);
  for (const device::WorldPoint& p : device.runs[0].points) EXPECT_TRUE(p.y == 0 || std::fabs(p.x - 10) < 1e-12);
}

// ---- Labels ---------------------------------------------------------------------------------

struct LabelledLine {
  WorldRecorder device;
  FakePort port;
  LineOutput out{device};

  explicit LabelledLine(LabelOrientation direction = LabelOrientation::North) {
    device.DeviceSetTextStyle(0, 1.0);  // character width 1
    out.labelOptions = {0, direction, 10, MakeColour(0, 128, 128), {}};
    out.SetUpLabels(port);
  }

  void Draw(const std::vector<device::WorldPoint>& line) {
    double length = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
      length += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    out.PrepareLine(true, length);
    out.StraightLine(line);
  }
};

TEST(ContourLabels, StraightLineGetsLabelsInGapsSpacedAlongIt) {
  LabelledLine l;
  l.Draw({{0, 0, 100}, {100, 0, 100}});
  // "100" is 4 character widths with its margin: spacing (100 - 2 x 4) / 2 = 46; the line
  // starts a third of a spacing on its way to the first gap.
  const double first = 46 * (1 - 0.3333);
  ASSERT_EQ(l.out.Labels().size(), 2u);
  const std::vector<std::pair<double, double>> gaps = {{first, first + 4}, {first + 50, first + 54}};
  ASSERT_EQ(l.device.runs.size(), 3u);
  EXPECT_NEAR(l.device.runs[0].points.back().x, gaps[0].first, 1e-9);
  EXPECT_NEAR(l.device.runs[1].points.front().x, gaps[0].second, 1e-9);
  EXPECT_NEAR(l.device.runs[1].points.back().x, gaps[1].first, 1e-9);
  EXPECT_NEAR(l.device.runs[2].points.front().x, gaps[1].second, 1e-9);
  for (std::size_t i = 0; i < 2; ++i) {
    const StoredLabel& label = l.out.Labels()[i];
    EXPECT_NEAR(label.x, gaps[i].first + 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(label.y, 0);
    EXPECT_DOUBLE_EQ(label.value, 100);
    EXPECT_DOUBLE_EQ(label.angle, 0);
  }
  l.out.DrawLabels();
  ASSERT_EQ(l.device.texts.size(), 2u);
  EXPECT_EQ(l.device.texts[0].text, "100");
  EXPECT_EQ(l.device.texts[0].colour, MakeColour(0, 128, 128));
  EXPECT_TRUE(l.out.Labels().empty());
}

// On the screen and paper a character is drawn narrower than TextCharWidth: the gap is the
// text as drawn, with half a character clear at each end, and the label sits in its middle.
TEST(ContourLabels, GapsFitTheTextAsTheDeviceDrawsIt) {
  LabelledLine l;
  l.device.text.TextGlyphWidth = 0.6;
  l.Draw({{0, 0, 100}, {100, 0, 100}});
  // Narrower gaps, spaced by their own width: four labels where wider ones gave two.
  ASSERT_EQ(l.out.Labels().size(), 4u);
  ASSERT_EQ(l.device.runs.size(), 5u);
  const double gapStart = l.device.runs[0].points.back().x;
  const double gapEnd = l.device.runs[1].points.front().x;
  EXPECT_NEAR(gapEnd - gapStart, 4 * 0.6, 1e-9);  // "100" and one character
  EXPECT_NEAR(l.out.Labels()[0].x, gapStart + 0.3, 1e-9);
}

TEST(ContourLabels, NorthLabelsOnAWestwardLineReadLeftToRight) {
  LabelledLine l;
  l.Draw({{100, 0, 100}, {0, 0, 100}});
  ASSERT_EQ(l.out.Labels().size(), 2u);
  for (const StoredLabel& label : l.out.Labels()) EXPECT_NEAR(std::cos(label.angle), 1, 1e-12);
  // Anchored at the gap's western end.
  const double first = 100 - 46 * (1 - 0.3333);
  EXPECT_NEAR(l.out.Labels()[0].x, first - 4 + 0.5, 1e-9);
}

TEST(ContourLabels, ShortLinesGetNoLabelAndMediumOnesOne) {
  LabelledLine l;
  l.Draw({{0, 0, 100}, {7.9, 0, 100}});  // shorter than twice the label width
  EXPECT_TRUE(l.out.Labels().empty());
  EXPECT_EQ(l.device.runs.size(), 1u);
  l.Draw({{0, 20, 100}, {30, 20, 100}});  // between 2 W and one spacing
  EXPECT_EQ(l.out.Labels().size(), 1u);
}

TEST(ContourLabels, SharpBendInsideAGapLeavesTheLineUnbroken) {
  LabelledLine l;
  // A hairpin where the first gap would fall: the path through the gap is far longer than
  // the chord, so no label and no gap there.
  const double first = 46 * (1 - 0.3333);
  std::vector<device::WorldPoint> line = {{0, 0, 100}, {first + 1, 0, 100}, {first + 1, 0.01, 100}, {0, 0.01, 100}};
  l.out.PrepareLine(true, 100);
  l.out.StraightLine(line);
  EXPECT_TRUE(l.out.Labels().empty());
  double drawn = 0;
  for (const Stroke& r : l.device.runs) drawn += Length(r);
  // The gap's end is found on the chord when the path is all but straight there.
  EXPECT_NEAR(drawn, 2 * (first + 1) + 0.01, 1e-4);
}

TEST(ContourLabels, UphillLabelsFaceHigherGround) {
  // z = x: contours run north-south, ground rises to the east.
  FakePort port;
  model::SurfaceModel m;
  BuildSurface(m, {{0, 0, 0}, {100, 0, 100}, {100, 100, 100}, {0, 100, 0}}, {{1, 2, 3}, {1, 3, 4}});
  tin::LocateState state;
  for (const double direction : {1.0, -1.0}) {
    LabelledLine l(LabelOrientation::Uphill);
    l.out.labelSurface = {&m, &state, &port};
    const double y0 = direction > 0 ? 0 : 100;
    l.Draw({{50, y0, 50}, {50, 100 - y0, 50}});
    ASSERT_FALSE(l.out.Labels().empty());
    for (const StoredLabel& label : l.out.Labels()) {
      // The text's up direction (its angle plus 90 degrees) points east.
      EXPECT_NEAR(std::cos(label.angle + Pi / 2), 1, 1e-9) << direction;
    }
  }
}

TEST(ContourLabels, TracedLinesAreLabelledAfterAllLevels) {
  FakePort port;
  model::SurfaceModel m;
  BuildSurface(m, {{0, 0, 0}, {100, 0, 100}, {100, 100, 100}, {0, 100, 0}}, {{1, 2, 3}, {1, 3, 4}});
  WorldRecorder device;
  device.DeviceSetTextStyle(0, 1.0);
  LineOutput out(device);
  out.labelOptions = {1, LabelOrientation::North, 10, MakeColour(1, 2, 3), {}};
  LevelLineRun run;
  run.interval = 10;
  run.multiple = 5;
  run.labels = LineSelection::Multiple;
  run.primary = {MakeColour(0, 128, 0), {}, 0};
  run.index = {MakeColour(128, 128, 0), {}, 2};
  TraceLevelLines(m, out, port, run);
  // Index levels 0, 50 and 100, each 100 long: two labels, but one of the wider "100.0".
  std::vector<std::string> texts;
  for (const auto& t : device.texts) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"0.0", "0.0", "50.0", "50.0", "100.0"}));
  // All of them after the last line, on the label colour.
  EXPECT_EQ(device.layerColours,
            (std::vector<std::uint32_t>{MakeColour(128, 128, 0), MakeColour(0, 128, 0), MakeColour(1, 2, 3)}));
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

}  // namespace
}  // namespace terravue::mapping

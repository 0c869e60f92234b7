#include "mapping/surface_grid.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "mapping/contour_smoothing.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "mapping/title_block.h"
#include "mapping_fixture.h"
#include "model/surface_model.h"

namespace terravue::mapping {
namespace {

using testing::BuildSurface;
using testing::Stroke;
using testing::WorldRecorder;

constexpr std::uint32_t Primary = MakeColour(0, 0, 255);
constexpr std::uint32_t Index = MakeColour(0, 0, 128);

struct WindowCase {
  const char* name;
  double low, high, interval;
  double start, end;
  long count;
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

class GridWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(GridWindow, RunsFromStrictlyBelowToStrictlyAboveTheData) {
  const WindowCase& c = GetParam();
  const GridLines g = PlanGridLines(c.low, c.high, c.interval, MaxLinesPerRedraw);
  EXPECT_DOUBLE_EQ(g.start, c.start);
  EXPECT_DOUBLE_EQ(g.end, c.end);
  EXPECT_EQ(g.Count(), c.count);
  if (c.count > 0) {
    EXPECT_DOUBLE_EQ(g.At(g.first), c.start);
    EXPECT_DOUBLE_EQ(g.At(g.last), c.end);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridWindow,
    ::testing::Values(WindowCase{"Hundreds", 1000, 1350, 100, 900, 1400, 6},
                      WindowCase{"ExtentsOnLinesArePassedByOneMore", 1000, 1400, 100, 900, 1500, 7},
                      WindowCase{"AcrossZero", -35, 35, 10, -40, 40, 9},
                      WindowCase{"ZeroIntervalHasNoLines", 3, 7, 0, 3, 7, 0},
                      WindowCase{"NearZeroIntervalHasNoLines", 3, 7, 0.00005, 3, 7, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridWindow, LineCountIsCapped) {
  const GridLines g = PlanGridLines(0, 1e6, 1, MaxLinesPerRedraw);
  EXPECT_TRUE(g.capped);
  EXPECT_EQ(g.Count(), MaxLinesPerRedraw);
}

class PlanGridDrawing : public ::testing::Test {
 protected:
  PlanGridDrawing() {
    settings = DefaultSettings();
    BuildSurface(model, {{0, 0, 3}, {100, 0, 4}, {100, 40, 5}}, {});
    using namespace device::SurfaceGridOptions;
    settings.Set(IntervalX, 10.0);
    settings.Set(IntervalY, 100.0);
    settings.Set(PrimaryColour, Primary);
    settings.Set(MultipleColour, Index);
    settings.Set(PrimaryWidth, 0);
    settings.Set(MultipleWidth, 2);
  }

  void Draw(WorldRecorder& device, int multiple) {
    settings.Set(device::SurfaceGridOptions::Multiple, static_cast<std::int16_t>(multiple));
    LineOutput out(device);
    DrawPlanGrid(out, settings, model, LayOutPlanGrid(settings, model));
  }

  SettingsRecord settings;
  model::SurfaceModel model;
};

TEST_F(PlanGridDrawing, MultipleLinesOnceInTheirStyleTheOthersBetween) {
  WorldRecorder d;
    Draw(d, 5);
  // X lines -10 .. 110, Y lines -100 .. 100, all at the lowest elevation.
  std::map<double, std::uint32_t> xLines;
  for (const Stroke& r : d.runs) {
    ASSERT_EQ(r.points.size(), 2u);
    for (const auto& p : r.points) EXPECT_DOUBLE_EQ(p.z, 3);
    if (r.points[0].x != r.points[1].x) continue;
    EXPECT_TRUE(xLines.emplace(r.points[0].x, r.colour).second) << "twice: " << r.points[0].x;
    EXPECT_EQ(r.width, r.colour == Index ? 2 : 0);
  }
  ASSERT_EQ(xLines.size(), 13u);
  for (const auto& [x, colour] : xLines) EXPECT_EQ(colour, static_cast<long>(x) % 50 == 0 ? Index : Primary) << x;
}

TEST_F(PlanGridDrawing, ConsecutiveLinesRunInOppositeDirections) {
  WorldRecorder d;
    Draw(d, 0);
  std::vector<const Stroke*> vertical;
  for (const Stroke& r : d.runs)
    if (r.points[0].x == r.points[1].x) vertical.push_back(&r);
  ASSERT_EQ(vertical.size(), 13u);
  EXPECT_DOUBLE_EQ(vertical[0]->points[0].y, -100);  // from the window's lower end
  for (std::size_t i = 1; i < vertical.size(); ++i)
    EXPECT_DOUBLE_EQ(vertical[i]->points[0].y, vertical[i - 1]->points[1].y) << i;
}

TEST_F(PlanGridDrawing, MultipleOneUsesOnlyTheMultipleStyleAndZeroOnlyThePrimary) {
  for (const auto& [multiple, colour] : {std::pair{1, Index}, std::pair{0, Primary}}) {
    WorldRecorder d;
    Draw(d, multiple);
    EXPECT_EQ(d.runs.size(), 13u + 3u) << multiple;
    for (const Stroke& r : d.runs) EXPECT_EQ(r.colour, colour) << multiple;
    for (std::uint32_t c : d.layerColours) EXPECT_EQ(c, colour) << multiple;
  }
}

TEST_F(PlanGridDrawing, LabelsFollowTheTextModeAlongTheLowerAndLeftEdges) {
  settings.Set(device::SurfaceGridOptions::Multiple, 5);
  settings.Set(device::SurfaceGridOptions::TextMode, 2);  // multiple lines only
  settings.Set(device::SurfaceGridOptions::TextDecimals, 1);
  WorldRecorder d;
  DrawGridLabels(d, settings, model, LayOutPlanGrid(settings, model));
  std::vector<std::string> vertical, horizontal;
  for (const auto& t : d.axisTexts) {
    if (t.angle == 1.0) {
      vertical.push_back(t.text);
      EXPECT_DOUBLE_EQ(t.y, -100);
    } else {
      horizontal.push_back(t.text);
      EXPECT_DOUBLE_EQ(t.x, -10);
    }
  }
  EXPECT_EQ(vertical, (std::vector<std::string>{"0.0", "50.0", "100.0"}));
  // Y lines -100, 0, 100: the multiples of 500 only.
  EXPECT_EQ(horizontal, (std::vector<std::string>{"0.0"}));
}

TEST_F(PlanGridDrawing, OnASheetLinesStayOnThePartLeftToTheMap) {
  settings.Set(device::SurfaceGridOptions::IntervalY, 20.0);  // lines -20 .. 60
  settings.Set(device::SurfaceGridOptions::Multiple, 0);
  const SheetArea sheet{0, 95, 10, 90};
  WorldRecorder d;
  LineOutput out(d);
  DrawPlanGrid(out, settings, model, LayOutPlanGrid(settings, model), &sheet);
  std::vector<double> xs, ys;
  for (const Stroke& r : d.runs) {
    ASSERT_EQ(r.points.size(), 2u);
    const auto [low, high] = std::minmax(r.points[0].x == r.points[1].x ? r.points[0].y : r.points[0].x,
                                         r.points[0].x == r.points[1].x ? r.points[1].y : r.points[1].x);
    if (r.points[0].x == r.points[1].x) {
      xs.push_back(r.points[0].x);
      // Cut at the sheet's lower edge (the title block below it), and at the grid's top.
      EXPECT_EQ(std::pair(low, high), std::pair(10.0, 60.0)) << r.points[0].x;
    } else {
      ys.push_back(r.points[0].y);
      EXPECT_EQ(std::pair(low, high), std::pair(0.0, 95.0)) << r.points[0].y;
    }
  }
  // Lines off the sheet (x -10, 100, 110; y -20, 0) are left out.
  EXPECT_EQ(xs, (std::vector<double>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
  EXPECT_EQ(ys, (std::vector<double>{20, 40, 60}));
}

TEST_F(PlanGridDrawing, OnASheetLabelsStayOnThePartLeftToTheMap) {
  using namespace device::SurfaceGridOptions;
  settings.Set(IntervalY, 20.0);  // lines -20 .. 60
  settings.Set(TextMode, 1);
  settings.Set(TextDecimals, 1);
  settings.Set(TextHeight, 2.0);  // characters 2 wide
  const SheetArea sheet{0, 95, 10, 90};
  WorldRecorder d;
  DrawGridLabels(d, settings, model, LayOutPlanGrid(settings, model), &sheet);
  std::vector<std::pair<std::string, double>> vertical, horizontal;
  for (const auto& t : d.axisTexts) {
    if (t.angle == 1.0)
      vertical.emplace_back(t.text, t.y);
    else
      horizontal.emplace_back(t.text, t.x);
  }
  // Upward texts end one text length and a blank above the sheet's lower edge, not at the
  // grid's (-20); lines off the sheet (-10, 100, 110) get none.
  ASSERT_EQ(vertical.size(), 10u);
  EXPECT_EQ(vertical.front(), (std::pair<std::string, double>{"0.0", 18}));
  EXPECT_EQ(vertical.back(), (std::pair<std::string, double>{"90.0", 20}));
  // Texts ending at the left edge start on the sheet; -20 and 0 lie below its lower edge.
  EXPECT_EQ(horizontal, (std::vector<std::pair<std::string, double>>{{"20.0", 10}, {"40.0", 10}, {"60.0", 10}}));
}

}  // namespace
}  // namespace terravue::mapping

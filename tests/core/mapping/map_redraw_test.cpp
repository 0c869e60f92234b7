#include "mapping/map_redraw.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "support/fake_port.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "mapping_fixture.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "support/fixed_clock.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

using device::DeviceKind;
using testing::BuildSurface;
using testing::FakePort;
using testing::Stroke;
using testing::WorldRecorder;

// One colour per element, so that the order of the layer selections shows the drawing order.
constexpr std::uint32_t TriangleColour = MakeColour(1, 0, 0);
constexpr std::uint32_t BreaklineColour = MakeColour(2, 0, 0);
constexpr std::uint32_t BreaklineTextColour = MakeColour(3, 0, 0);
constexpr std::uint32_t GridColour = MakeColour(4, 0, 0);
constexpr std::uint32_t GridIndexColour = MakeColour(5, 0, 0);
constexpr std::uint32_t GridTextColour = MakeColour(6, 0, 0);
constexpr std::uint32_t ContourColour = MakeColour(7, 0, 0);
constexpr std::uint32_t ContourIndexColour = MakeColour(8, 0, 0);
constexpr std::uint32_t ContourTextColour = MakeColour(9, 0, 0);
constexpr std::uint32_t BorderColour = MakeColour(10, 0, 0);
constexpr std::uint32_t MarkerInk = MakeColour(11, 0, 0);
constexpr std::uint32_t PointLabelColour = MakeColour(12, 0, 0);
constexpr std::uint32_t MiscColour = MakeColour(13, 0, 0);
constexpr std::uint32_t TitleTextColour = MakeColour(14, 0, 0);

class MapRedraw : public ::testing::Test {
 protected:
  MapRedraw() : session{model, settings, port, {}} {
    settings = DefaultSettings();
    // The pyramid of the tracer tests, bordered, with one breakline up a ridge.
    BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                 {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    testing::SetBorder(model, {1, 2, 3, 4});
    model.Breaklines[1] = {1, 5};
    model.BreaklineCount = 1;
    session.clock = [] { return testing::FixedTime(14, 5); };
    namespace page = device::PageSetup;
    settings.Set(page::MapScale, 10.0);
    settings.Set(page::ViewCentreX, 5.0);
    settings.Set(page::ViewCentreY, 5.0);
    settings.Set(page::RotationCentreX, 5.0);
    settings.Set(page::RotationCentreY, 5.0);
    settings.Set(page::RotationAngle, 0.0);
    {
      using namespace device::TriangleOptions;
      settings.Set(Show, true);
      settings.Set(Colour, TriangleColour);
    }
    {
      using namespace device::BreaklineOptions;
      settings.Set(Show, true);
      settings.Set(Colour, BreaklineColour);
      settings.Set(ShowNumbers, true);
      settings.Set(TextColour, BreaklineTextColour);
    }
    {
      using namespace device::SurfaceGridOptions;
      settings.Set(Show, true);
      settings.Set(IntervalX, 5.0);
      settings.Set(IntervalY, 5.0);
      settings.Set(Multiple, 2);
      settings.Set(PrimaryColour, GridColour);
      settings.Set(MultipleColour, GridIndexColour);
      settings.Set(TextMode, 1);
      settings.Set(TextColour, GridTextColour);
    }
    {
      using namespace device::ContourOptions;
      settings.Set(Show, true);
      settings.Set(Interval, 2.5);
      settings.Set(Multiple, 2);
      settings.Set(PrimaryColour, ContourColour);
      settings.Set(MultipleColour, ContourIndexColour);
      settings.Set(LabelMode, 1);
      settings.Set(TextColour, ContourTextColour);
      settings.Set(TextHeight, 0.5);
    }
    {
      using namespace device::BorderOptions;
      settings.Set(Show, true);
      settings.Set(Colour, BorderColour);
    }
    {
      using namespace device::PointOptions;
      settings.Set(Show, true);
      settings.Set(MarkerColour, MarkerInk);
      settings.Set(LabelColour, PointLabelColour);
      settings.Set(ShowElevation, true);
    }
    {
      using namespace device::MiscOptions;
      settings.Set(Show, true);
      settings.Set(ShowLimits, true);
      settings.Set(ShowNorthArrow, true);
      settings.Set(ShowScaleBar, true);
      settings.Set(Colour, MiscColour);
    }
    {
      using namespace device::TitleOptions;
      settings.Set(Show, true);
      settings.Set(UseTitleBoxes, true);
      settings.Set(MiscTextColour, TitleTextColour);
    }
  }

  void Redraw(WorldRecorder& device, const RedrawOptions& options = {}) {
    RedrawMap(session, device, state, options);
  }

  static std::vector<std::uint32_t> Distinct(const std::vector<std::uint32_t>& colours) {
    std::vector<std::uint32_t> order;
    for (std::uint32_t c : colours)
      if (order.empty() || order.back() != c) order.push_back(c);
    return order;
  }

  static std::vector<const Stroke*> RunsIn(const WorldRecorder& d, std::uint32_t colour) {
    std::vector<const Stroke*> runs;
    for (const Stroke& r : d.runs)
      if (r.colour == colour) runs.push_back(&r);
    return runs;
  }

  SettingsRecord settings;
  model::SurfaceModel model;
  FakePort port;
  Session session;
  tin::LocateState state;
};

TEST_F(MapRedraw, DrawsTheElementsInTheFixedOrder) {
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  EXPECT_EQ(Distinct(d.layerColours),
            (std::vector<std::uint32_t>{TriangleColour, BreaklineColour, BreaklineTextColour, GridIndexColour,
                                        GridColour, GridIndexColour, GridColour, GridTextColour,
                                        ContourIndexColour, ContourColour, ContourTextColour, BorderColour,
                                        MarkerInk, PointLabelColour, MiscColour, TitleTextColour}));
  // The frame comes with the title block, once.
  EXPECT_EQ(d.titleBlocks, 1);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(MapRedraw, CadFilesGetNoSheetFurniture) {
  WorldRecorder d(device::DeviceKind::CadFile);
  Redraw(d);
  EXPECT_EQ(d.titleBlocks, 0);
  EXPECT_TRUE(RunsIn(d, MiscColour).empty());
  EXPECT_EQ(d.layerColours.back(), PointLabelColour);
}

TEST_F(MapRedraw, FrameWithoutTitleBoxesComesFromTheMiscellaneousGroup) {
  settings.Set(device::TitleOptions::UseTitleBoxes, false);
  WorldRecorder d(device::DeviceKind::Printer);
  Redraw(d);
  EXPECT_EQ(d.titleBlocks, 1);
  settings.Set(device::MiscOptions::ShowLimits, false);
  WorldRecorder without(device::DeviceKind::Printer);
  Redraw(without);
  EXPECT_EQ(without.titleBlocks, 0);
}

TEST_F(MapRedraw, ThreeDViewLeavesOutNorthArrowAndScaleBarButKeepsTheTitleBlock) {
  settings.Set(settings::View3DOptions::View3D, true);
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  EXPECT_TRUE(RunsIn(d, MiscColour).empty());
  EXPECT_EQ(d.titleBlocks, 1);
}

struct EditorCase {
  const char* name;
  device::DeviceKind kind;
  bool borderEditor, breaklineEditor;
  bool borderDrawn, breaklinesDrawn;
};

void PrintTo(const EditorCase& c, std::ostream* os) { *os << c.name; }

class Editors : public MapRedraw, public ::testing::WithParamInterface<EditorCase> {};

TEST_P(Editors, OpenEditorsHideTheirElementOnTheScreenOnly) {
  const EditorCase& c = GetParam();
  WorldRecorder d(c.kind);
  Redraw(d, {c.borderEditor, c.breaklineEditor});
  EXPECT_EQ(!RunsIn(d, BorderColour).empty(), c.borderDrawn);
  EXPECT_EQ(!RunsIn(d, BreaklineColour).empty(), c.breaklinesDrawn);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Editors,
    ::testing::Values(EditorCase{"ScreenBreaklineEditor", device::DeviceKind::ScreenMap, false, true, true, false},
                      EditorCase{"ScreenBorderEditor", device::DeviceKind::ScreenMap, true, false, false, true},
                      EditorCase{"PrinterWithBothEditors", device::DeviceKind::Printer, true, true, true, true},
                      EditorCase{"CadWithBothEditors", device::DeviceKind::CadFile, true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapRedraw, EveryTriangleEdgeIsDrawnOnceInFewStrokes) {
  WorldRecorder d(device::DeviceKind::CadFile);
  Redraw(d);
  std::multiset<std::pair<std::pair<double, double>, std::pair<double, double>>> edges;
  const auto runs = RunsIn(d, TriangleColour);
  for (const Stroke* r : runs)
    for (std::size_t i = 1; i < r->points.size(); ++i) {
      auto a = std::pair{r->points[i - 1].x, r->points[i - 1].y};
      auto b = std::pair{r->points[i].x, r->points[i].y};
      if (b < a) std::swap(a, b);
      edges.insert({a, b});
    }
  EXPECT_EQ(edges.size(), 8u);
  EXPECT_EQ(std::set(edges.begin(), edges.end()).size(), 8u);
  EXPECT_LE(runs.size(), 4u);
}

TEST_F(MapRedraw, BorderIsOneClosedRing) {
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  const auto runs = RunsIn(d, BorderColour);
  ASSERT_EQ(runs.size(), 1u);
  const std::vector<std::pair<double, double>> expected = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  std::vector<std::pair<double, double>> drawn;
  for (const auto& p : runs[0]->points) drawn.emplace_back(p.x, p.y);
  EXPECT_EQ(drawn, expected);
}

TEST_F(MapRedraw, BorderPointMarkersComeFirst) {
  testing::SetBorder(model, {2, 3, 4, 5});
  model.BorderNext[1] = NoPoint;
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  ASSERT_EQ(d.markers.size(), 5u);
  EXPECT_DOUBLE_EQ(d.markers.back().x, 0);  // point 1, off the border, last
  EXPECT_DOUBLE_EQ(d.markers.front().x, 10);
}

TEST_F(MapRedraw, PointLabelsStackNumberLabelAndElevation) {
  settings.Set(device::PointOptions::ShowNumber, true);
  settings.Set(device::PointOptions::ShowLabel, true);
  settings.Set(device::PointOptions::ElevationDecimals, 1);
  model.SetPointLabel(5, "  7A");
  WorldRecorder d(device::DeviceKind::Printer);
  Redraw(d);
  std::vector<testing::TextCall> apex;
  for (const auto& t : d.texts)
    if (t.colour == PointLabelColour && t.x > 5 && t.y > 5 && t.z == 10) apex.push_back(t);
  ASSERT_EQ(apex.size(), 3u);
  EXPECT_EQ(apex[0].text, "5");
  EXPECT_EQ(apex[1].text, "7A");
  EXPECT_EQ(apex[2].text, "10.0");
  // Top to bottom, 1.2 text heights apart, all to the right of the marker.
  const double h = apex[0].height;
  EXPECT_NEAR(apex[0].y - apex[1].y, 1.2 * h, 1e-9);
  EXPECT_NEAR(apex[1].y - apex[2].y, 1.2 * h, 1e-9);
  EXPECT_NEAR(apex[2].y - 5, 0.5 * h, 1e-9);
  EXPECT_DOUBLE_EQ(apex[0].x, apex[2].x);
}

// With labels three text heights high, the elevation of point 2 would run into point 1's and
// point 4's into point 3's; decluttered they are left out, on every device alike.
TEST_F(MapRedraw, DeclutteredPointLabelsLeaveOutThoseThatWouldOverlap) {
  settings.Set(device::PointOptions::TextHeight, 3.0);
  settings.Set(device::PointOptions::MarkerHeight, 0.0);
  for (const bool declutter : {false, true}) {
    for (const auto kind : {device::DeviceKind::ScreenMap, device::DeviceKind::Printer, device::DeviceKind::CadFile}) {
      SCOPED_TRACE(std::to_string(declutter) + " " + std::to_string(static_cast<int>(kind)));
      settings.Set(device::PointOptions::Declutter, declutter);
      WorldRecorder d(kind);
      Redraw(d);
      std::vector<std::pair<double, double>> labelled;  // the points whose label was drawn
      for (const auto& t : d.texts)
        if (t.colour == PointLabelColour) labelled.emplace_back(std::round(t.x - 2.25), std::round(t.y - 1.5));
      const std::vector<std::pair<double, double>> all = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
      const std::vector<std::pair<double, double>> apart = {{0, 0}, {10, 10}, {5, 5}};
      EXPECT_EQ(labelled, declutter ? apart : all);
    }
  }
}

TEST_F(MapRedraw, EmptyModelDrawsNothing) {
  model.ClearModel();
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  EXPECT_TRUE(d.layerColours.empty());
  EXPECT_EQ(d.plots, 0);
  EXPECT_EQ(d.titleBlocks, 0);
}

TEST_F(MapRedraw, PointsWithoutTrianglesDrawBorderAndPointsOnly) {
  model.TriangleCount = 0;
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  EXPECT_TRUE(RunsIn(d, TriangleColour).empty());
  EXPECT_TRUE(RunsIn(d, ContourColour).empty());
  EXPECT_TRUE(RunsIn(d, ContourIndexColour).empty());
  EXPECT_FALSE(RunsIn(d, BorderColour).empty());
  EXPECT_EQ(d.markers.size(), 5u);
}

TEST_F(MapRedraw, SpoiledGroupIsDrawnAsIfOff) {
  settings.Set(device::ContourOptions::Interval, std::numeric_limits<double>::quiet_NaN());
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  EXPECT_TRUE(RunsIn(d, ContourColour).empty());
  EXPECT_TRUE(RunsIn(d, ContourIndexColour).empty());
  EXPECT_FALSE(RunsIn(d, BorderColour).empty());
}

TEST_F(MapRedraw, TooManyLevelsAreCappedWithAWarning) {
  settings.Set(device::ContourOptions::Interval, 0.001);
  settings.Set(device::ContourOptions::LabelMode, 0);
  WorldRecorder d(device::DeviceKind::CadFile);
  Redraw(d);
  EXPECT_EQ(port.Texts(FakePort::Kind::Warning), std::vector<std::string>{TooManyLinesWarning(true)});
}

TEST_F(MapRedraw, BreaklineNumbersSitBesideTheirLine) {
  WorldRecorder d(device::DeviceKind::ScreenMap);
  Redraw(d);
  std::vector<testing::TextCall> numbers;
  for (const auto& t : d.texts)
    if (t.colour == BreaklineTextColour) numbers.push_back(t);
  ASSERT_EQ(numbers.size(), 1u);
  EXPECT_EQ(numbers[0].text, "1");
  EXPECT_DOUBLE_EQ(numbers[0].angle, std::atan2(5.0, 5.0));
  EXPECT_DOUBLE_EQ(numbers[0].z, 5);
}

}  // namespace
}  // namespace terravue::mapping

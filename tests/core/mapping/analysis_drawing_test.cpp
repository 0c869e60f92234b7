// The surface analysis on the map: the diagrams and accumulated vectors on their layers, and the
// cut/fill map painted beneath everything in exact bands, labelled, with its legend on sheets.

#include "mapping/analysis_drawing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/cut_fill_map.h"
#include "analysis/vector_accumulator.h"
#include "analysis/volume.h"
#include "app/settings_file.h"
#include "common/session.h"
#include "common/view3d_settings.h"
#include "device/map_options.h"
#include "mapping/map_redraw.h"
#include "mapping_fixture.h"
#include "support/fake_port.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

using device::DeviceKind;
using testing::WorldRecorder;
namespace opt = device::AnalyzerOptions;

double Area(const std::vector<device::WorldPoint>& c) {
  double twice = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const auto& p = c[i];
    const auto& q = c[(i + 1) % c.size()];
    twice += p.x * q.y - q.x * p.y;
  }
  return std::fabs(twice) / 2;
}

// A 10 x 10 level square at elevation 0 (two triangles), compared with a plane rising from
// -0.5 at x = 0 to 0.5 at x = 10: bands 0.1 wide, each a strip 1 wide across the square.
class AnalysisDrawing : public ::testing::Test {
 protected:
  AnalysisDrawing() {
    settings = DefaultSettings();
    testing::BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, {{1, 2, 3}, {1, 3, 4}});
    testing::SetBorder(model, {1, 2, 3, 4});
    model::SurfaceModel proposed;
    testing::BuildSurface(proposed, {{0, 0, -0.5}, {10, 0, 0.5}, {10, 10, 0.5}, {0, 10, -0.5}},
                          {{1, 2, 3}, {1, 3, 4}});
    analysis::CompareSurfaces(model, proposed, {}, &map);
    map.surfaceKey = analysis::SurfaceKey(model);
    settings.Set(opt::Show, true);
    settings.Set(opt::ShowCutFill, true);
    options.cutFill = &map;
    options.vectors = &vectors;
  }

  void Draw(WorldRecorder& d) { RedrawMap(session, d, state, options); }

  // The band fills: drawn before any line.
  static std::map<std::uint32_t, double> BandAreas(const WorldRecorder& d) {
    std::map<std::uint32_t, double> areas;
    for (const auto& f : d.fills)
      if (f.runsBefore == 0) areas[f.colour] += Area(f.corners);
    return areas;
  }

  SettingsRecord settings;
  model::SurfaceModel model;
  testing::FakePort port;
  Session session{model, settings, port, {}};
  tin::LocateState state;
  analysis::CutFillMap map;
  analysis::VectorAccumulator vectors;
  RedrawOptions options;
};

TEST_F(AnalysisDrawing, CutFillBandsAreExactStripsBeneathTheLines) {
  WorldRecorder d;
  Draw(d);
  const std::map<std::uint32_t, double> areas = BandAreas(d);
  ASSERT_EQ(areas.size(), 10u) << "five bands of cut, five of fill";
  for (const auto& [colour, area] : areas) EXPECT_NEAR(area, 10, 1e-4) << std::hex << colour;
  for (const auto& f : d.fills) EXPECT_EQ(f.layer, "TVUCUTFILL");
  std::vector<std::string> labels;
  for (const auto& t : d.texts) labels.push_back(t.text);
  EXPECT_NE(std::find(labels.begin(), labels.end(), "Max cut 0.500"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "Max fill 0.500"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "-0.50 to -0.40"), labels.end()) << "the legend";
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(AnalysisDrawing, CadFilesGetTheBandsAndLabelsButNoLegend) {
  WorldRecorder d(DeviceKind::CadFile);
  Draw(d);
  EXPECT_EQ(BandAreas(d).size(), 10u);
  for (const auto& f : d.fills) EXPECT_EQ(f.runsBefore, 0u) << "no legend swatches after the lines";
  for (const auto& t : d.texts) EXPECT_EQ(t.text.find(" to "), std::string::npos) << t.text;
}

struct HiddenCase {
  const char* name;
  std::function<void(SettingsRecord&, model::SurfaceModel&)> change;
};

void PrintTo(const HiddenCase& c, std::ostream* os) { *os << c.name; }

class CutFillHidden : public AnalysisDrawing, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(CutFillHidden, LeavesTheMapOut) {
  GetParam().change(settings, model);
  WorldRecorder d;
  Draw(d);
  EXPECT_TRUE(d.fills.empty());
}

INSTANTIATE_TEST_SUITE_P(
    When, CutFillHidden,
    ::testing::Values(HiddenCase{"SwitchedOff", [](SettingsRecord& s, model::SurfaceModel&) { s.Set(opt::ShowCutFill, false); }},
                      HiddenCase{"AnalyzerOff", [](SettingsRecord& s, model::SurfaceModel&) { s.Set(opt::Show, false); }},
                      HiddenCase{"ModelChangedSince", [](SettingsRecord&, model::SurfaceModel& m) { m.PointZ[2] = 3; }},
                      HiddenCase{"ThreeDView",
                                 [](SettingsRecord& s, model::SurfaceModel&) { s.Set(settings::View3DOptions::View3D, true); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnalysisDrawing, AccumulatedVectorsAreArrowsOnTheirLayerShownOrNot) {
  settings.Set(opt::Show, false);
  vectors.Record(false, false, 1, 1, 0);
  vectors.Record(true, true, 5, 1, 0);
  vectors.Record(false, false, 9, 9, 0);  // a lone start: nothing to draw
  WorldRecorder d;
  Draw(d);
  std::size_t runs = 0;
  for (const auto& r : d.runs) runs += r.layer == "TVUVECTORS";
  EXPECT_EQ(runs, 3u) << "a closed arrow: shaft and two head strokes";
}

TEST_F(AnalysisDrawing, DiagramsDrawOnTheirOwnLayers) {
  // The pyramid: four ridges, no channels; the density of every face, but not into CAD files.
  testing::BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                        {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
  settings.Set(opt::ShowRidges, true);
  settings.Set(opt::ShowFlowPath, true);
  settings.Set(opt::ShowDownSlope, true);
  settings.Set(opt::ShowDensity, true);
  for (const DeviceKind kind : {DeviceKind::ScreenMap, DeviceKind::CadFile}) {
    WorldRecorder d(kind);
    Draw(d);
    std::map<std::string, std::size_t> runs;
    for (const auto& r : d.runs) ++runs[r.layer];
    EXPECT_EQ(runs["TVURIDGE"], 4u * 3) << "four closed arrows";
    EXPECT_EQ(runs["TVUFLOWPATH"], 0u);
    EXPECT_EQ(runs["TVUDOWNSLOPE"], 4u * 3) << "an open arrow per face";
    EXPECT_EQ(d.densities.size(), kind == DeviceKind::CadFile ? 0u : 4u);
  }
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

}  // namespace
}  // namespace terravue::mapping

// The surface analysis at 1000, 8000 and 32763 points of rolling ground:
//
//   flow:     the flow path diagram from every data point, with channels continued and their
//             watersheds (the heaviest diagram), into a sink that only counts
//   ridges:   the ridge diagram with uphill traces from the ridges' ends
//   arrows:   down slope arrows at the triangle centres
//   compare:  Volume > Two Surfaces on two surveys of the ground, without (0) and with (1) the
//             differences kept for the cut/fill map
//   bands:    the cut/fill map of that comparison cut into its colour bands, as each redraw does

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "analysis/cut_fill_map.h"
#include "analysis/flow.h"
#include "analysis/volume.h"
#include "app/settings_file.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "device/drawing_device.h"
#include "device/map_options.h"
#include "mapping/analysis_drawing.h"
#include "model/surface_model.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace {

using namespace terravue;

model::SurfaceModel Surveyed(int points, std::uint64_t seed) {
  model::SurfaceModel m;
  m.AllocateStore();
  testing::LoadSite(m, testing::RollingTerrain(points, seed));
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{m, settings, port, std::filesystem::temp_directory_path()};
  tin::LocateState state;
  tin::TriangulateOptions options;
  options.quiet = true;
  tin::Triangulate(session, state, options);
  return m;
}

const model::SurfaceModel& Site(int points, std::uint64_t seed = 1) {
  static std::map<std::pair<int, std::uint64_t>, model::SurfaceModel> sites;
  auto it = sites.find({points, seed});
  if (it == sites.end()) it = sites.emplace(std::pair{points, seed}, Surveyed(points, seed)).first;
  return it->second;
}

class CountingSink : public analysis::DiagramSink {
 public:
  long segments = 0;
  void Start(const analysis::TracePoint&) override {}
  bool Segment(const analysis::TracePoint&, const analysis::TracePoint&, bool) override {
    ++segments;
    return true;
  }
  void SetStyle(analysis::DiagramStyle) override {}
};

void BM_Flow(benchmark::State& state) {
  const model::SurfaceModel& m = Site(static_cast<int>(state.range(0)));
  analysis::FlowOptions o;
  o.fromDataPoints = true;
  o.watersheds = true;
  long segments = 0;
  for (auto _ : state) {
    CountingSink sink;
    analysis::FlowPathDiagram(m, o, sink);
    segments = sink.segments;
  }
  state.counters["segments"] = static_cast<double>(segments);
}

void BM_Ridges(benchmark::State& state) {
  const model::SurfaceModel& m = Site(static_cast<int>(state.range(0)));
  long segments = 0;
  for (auto _ : state) {
    CountingSink sink;
    analysis::RidgeDiagram(m, true, sink);
    segments = sink.segments;
  }
  state.counters["segments"] = static_cast<double>(segments);
}

void BM_Arrows(benchmark::State& state) {
  const model::SurfaceModel& m = Site(static_cast<int>(state.range(0)));
  long arrows = 0;
  for (auto _ : state) {
    arrows = 0;
    analysis::DownSlopeArrows(m, {}, [&](const analysis::TracePoint&, const analysis::TracePoint&) { ++arrows; });
  }
  state.counters["arrows"] = static_cast<double>(arrows);
}

// Alternating runs without and with the map show what keeping it costs.
void BM_Compare(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const bool keep = state.range(1) != 0;
  const model::SurfaceModel& existing = Site(points, 1);
  const model::SurfaceModel& proposed = Site(points, 2);
  analysis::CutFillMap map;
  for (auto _ : state) {
    const analysis::SurfaceComparison result = analysis::CompareSurfaces(existing, proposed, {}, keep ? &map : nullptr);
    benchmark::DoNotOptimize(result);
  }
  state.counters["polygons"] = static_cast<double>(map.PolygonCount());
}

// A device that only counts the fills it gets.
class CountingFills : public device::DrawingDevice {
 public:
  CountingFills() : DrawingDevice(device::DeviceKind::CadFile) {}
  long fills = 0;
  void DeviceSetWidth(int) override {}
  void DevicePlot(bool, double, double, double) override {}
  void DevicePenDown() override {}
  void DevicePenUp() override {}
  void DeviceSetTextStyle(std::uint32_t, double) override {}
  void DeviceText(std::string_view, double, double, double, double, double) override {}
  void DeviceAxisText(std::string_view, bool, double, double, double) override {}
  void DeviceEndText() override {}
  void DeviceMarker(int, double, double, double, double) override {}
  void DeviceTitleBlock() override {}
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>&, double) override {}
  void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override { ++fills; }
};

void BM_Bands(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  model::SurfaceModel existing = Site(points, 1);
  const model::SurfaceModel& proposed = Site(points, 2);
  analysis::CutFillMap map;
  analysis::CompareSurfaces(existing, proposed, {}, &map);
  map.surfaceKey = analysis::SurfaceKey(existing);
  SettingsRecord settings = DefaultSettings();
  settings.Set(device::AnalyzerOptions::Show, true);
  settings.Set(device::AnalyzerOptions::ShowCutFill, true);
  QuietPort port;
  Session session{existing, settings, port, std::filesystem::temp_directory_path()};
  long fills = 0;
  for (auto _ : state) {
    CountingFills device;
    if (mapping::CutFillMapDrawable(session, map)) mapping::DrawCutFillBands(session, map, device);
    fills = device.fills;
  }
  state.counters["polygons"] = static_cast<double>(map.PolygonCount());
  state.counters["fills"] = static_cast<double>(fills);
}

constexpr int Sizes[] = {1000, 8000, model::SurfaceModel::PointCapacity};

void Sized(benchmark::internal::Benchmark* b) {
  for (const int n : Sizes) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

void SizedAndKept(benchmark::internal::Benchmark* b) {
  for (const int n : Sizes)
    for (const int keep : {0, 1}) b->Args({n, keep});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Flow)->Apply(Sized);
BENCHMARK(BM_Ridges)->Apply(Sized);
BENCHMARK(BM_Arrows)->Apply(Sized);
BENCHMARK(BM_Compare)->Apply(SizedAndKept);
BENCHMARK(BM_Bands)->Apply(Sized);

}  // namespace

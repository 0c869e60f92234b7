// Contours of a full-capacity surface (32763 points, about 65500 triangles) at an interval that
// gives about 90 levels, against a plain reference tracer that cuts each triangle by each level
// into loose segments. The device only counts what it is handed, so the tracer is measured
// without any drawing.
//
//   trace/plain:    the level-line tracer, no smoothing, dashes or labels
//   trace/styled:   smoothing, dashes and labels on
//   reference/per_level:     per level, a sweep of every triangle, each crossed one cut into a
//                            loose segment
//   reference/per_triangle:  per triangle, one loose segment for each level between its lowest
//                            and highest corner: the least a tracer can do

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "common/quiet_port.h"
#include "common/session.h"
#include "common/settings_file.h"
#include "common/user_port.h"
#include "mapping/contour_smoothing.h"
#include "mapping/level_lines.h"
#include "model/surface_model.h"
#include "output/drawing_device.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

#include "rolling_site.h"

namespace {

using namespace terravue;

// Counts the points and texts it is handed.
class CountingDevice : public output::DrawingDevice {
 public:
  CountingDevice() : DrawingDevice(output::DeviceKind::ScreenMap) {}
  long plots = 0, texts = 0;
  double sum = 0;  // keeps the plots from being optimised away

  void DeviceSetWidth(int) override {}
  void DevicePlot(bool, double x, double y, double) override {
    ++plots;
    sum += x + y;
  }
  void DevicePenDown() override {}
  void DevicePenUp() override {}
  void DeviceSetTextStyle(std::uint32_t, double height) override {
    text.TextHeight = height;
    text.TextCharWidth = 0.9 * height;
  }
  void DeviceText(std::string_view, double, double, double, double, double) override { ++texts; }
  void DeviceAxisText(std::string_view, bool, double, double, double) override {}
  void DeviceEndText() override {}
  void DeviceMarker(int, double, double, double, double) override {}
  void DeviceTitleBlock() override {}
  void DeviceDensityFill(const std::array<output::WorldPoint, 3>&, double) override {}
};

struct Surface : bench::RollingSite {
  double Interval() const { return (model.MaxZ - model.MinZ) / 90; }
};

Surface& Site() {
  static Surface surface;
  return surface;
}

void BM_TraceContours(benchmark::State& state) {
  Surface& s = Site();
  const bool styled = state.range(0) != 0;
  CountingDevice device;
  mapping::LevelLineRun run;
  run.interval = s.Interval();
  run.multiple = 5;
  if (styled) {
    run.labels = mapping::LineSelection::Multiple;
    run.dashes = mapping::LineSelection::NonMultiple;
    device.DeviceSetTextStyle(0, 8);
  }
  long lines = 0;
  for (auto _ : state) {
    s.model.ResetContourTriList();
    mapping::LineOutput out(device);
    if (styled) {
      out.smoothing = {true, 5, 0};
      out.dashes = {10, 5};
      out.labelOptions.direction = mapping::LabelOrientation::North;
    }
    lines = mapping::TraceLevelLines(s.model, out, s.port, run).lines;
  }
  state.counters["triangles"] = s.model.TriangleCount;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["points"] = static_cast<double>(device.plots) / static_cast<double>(state.iterations());
  state.counters["labels"] = static_cast<double>(device.texts) / static_cast<double>(state.iterations());
  benchmark::DoNotOptimize(device.sum);
}
BENCHMARK(BM_TraceContours)->ArgName("styled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One loose segment between the two crossing edges of a triangle.
void CutTriangle(const model::SurfaceModel& m, const model::TriangleCorners& c, const double (&z)[3], double level,
                 CountingDevice& device) {
  bool pen = false;
  for (int e = 0; e < 3; ++e) {
    const int a = e, b = (e + 1) % 3;
    if ((z[a] <= level) == (z[b] <= level)) continue;
    const double f = (level - z[a]) / (z[b] - z[a]);
    const PointIndex pa = c[static_cast<std::size_t>(a)], pb = c[static_cast<std::size_t>(b)];
    device.DevicePlot(false, m.PointX[pa] + (m.PointX[pb] - m.PointX[pa]) * f,
                      m.PointY[pa] + (m.PointY[pb] - m.PointY[pa]) * f, level);
    if (!pen) device.DevicePenDown();
    pen = true;
  }
  device.DevicePenUp();
}

// Loose segments, level by level (arg 0: a sweep of all triangles per level) or triangle by
// triangle (arg 1: each triangle cut by the levels between its corners only).
void BM_ReferenceTracer(benchmark::State& state) {
  Surface& s = Site();
  const model::SurfaceModel& m = s.model;
  const bool perTriangle = state.range(0) != 0;
  CountingDevice device;
  const double interval = s.Interval();
  const double first = std::ceil(m.MinZ / interval);
  const double last = std::floor(m.MaxZ / interval);
  for (auto _ : state) {
    if (perTriangle) {
      for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
        const auto& c = m.TriVertex[t];
        const double z[3] = {m.PointZ[c[0]], m.PointZ[c[1]], m.PointZ[c[2]]};
        const double low = std::min({z[0], z[1], z[2]}), high = std::max({z[0], z[1], z[2]});
        for (double k = std::ceil(low / interval); k * interval < high; ++k) CutTriangle(m, c, z, k * interval, device);
      }
      continue;
    }
    for (double k = first; k <= last; ++k) {
      const double level = k * interval;
      for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
        const auto& c = m.TriVertex[t];
        const double z[3] = {m.PointZ[c[0]], m.PointZ[c[1]], m.PointZ[c[2]]};
        if (std::min({z[0], z[1], z[2]}) > level || std::max({z[0], z[1], z[2]}) <= level) continue;
        CutTriangle(m, c, z, level, device);
      }
    }
  }
  state.counters["points"] = static_cast<double>(device.plots) / static_cast<double>(state.iterations());
  benchmark::DoNotOptimize(device.sum);
}
BENCHMARK(BM_ReferenceTracer)->ArgName("per_triangle")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

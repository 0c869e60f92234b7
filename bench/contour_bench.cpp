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
//                            and highest corner: the least a cutter can do
//   reference/lines:         a plain line tracer: triangles filed per level in one pass, then per
//                            level each line followed from triangle to neighbour across the
//                            crossed edges, both ways from where it was met; no rules for levels
//                            through vertices (a corner on the level counts as below), no
//                            smoothing, and nothing kept of the traced triangles

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/user_port.h"
#include "mapping/contour_smoothing.h"
#include "mapping/level_lines.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

#include "rolling_site.h"

namespace {

using namespace terravue;

// Counts the points and texts it is handed.
class CountingDevice : public device::DrawingDevice {
 public:
  CountingDevice() : DrawingDevice(device::DeviceKind::ScreenMap) {}
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
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>&, double) override {}
  void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override {}
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

// The plain line tracer.
class PlainLineTracer {
 public:
  PlainLineTracer(const model::SurfaceModel& m, CountingDevice& device) : m_(m), device_(device) {}

  void Run(double interval) {
    const TriangleIndex count = m_.TriangleCount;
    const double first = std::ceil(m_.MinZ / interval);
    const auto levels = static_cast<std::size_t>(std::floor(m_.MaxZ / interval) - first) + 1;
    // File every triangle under each level it spans (counting sort, in triangle order).
    start_.assign(levels + 1, 0);
    range_.resize(static_cast<std::size_t>(count) + 1);
    for (TriangleIndex t = 1; t <= count; ++t) {
      const auto& c = m_.TriVertex[t];
      const double z0 = m_.PointZ[c[0]], z1 = m_.PointZ[c[1]], z2 = m_.PointZ[c[2]];
      const double low = std::min({z0, z1, z2}), high = std::max({z0, z1, z2});
      // The levels with low <= level < high (a corner on a level counts as below it); rounding
      // may file one too many, which the tracing finds uncrossed and skips.
      const auto lo = static_cast<std::ptrdiff_t>(std::ceil(low / interval) - first);
      const auto hi = static_cast<std::ptrdiff_t>(std::ceil(high / interval) - 1 - first);
      range_[t] = {std::max<std::ptrdiff_t>(lo, 0), std::min<std::ptrdiff_t>(hi, static_cast<std::ptrdiff_t>(levels) - 1)};
      for (std::ptrdiff_t k = range_[t].first; k <= range_[t].second; ++k) ++start_[static_cast<std::size_t>(k) + 1];
    }
    for (std::size_t k = 1; k <= levels; ++k) start_[k] += start_[k - 1];
    filed_.resize(start_[levels]);
    next_.assign(start_.begin(), start_.end() - 1);
    for (TriangleIndex t = 1; t <= count; ++t)
      for (std::ptrdiff_t k = range_[t].first; k <= range_[t].second; ++k)
        filed_[next_[static_cast<std::size_t>(k)]++] = t;
    seen_.assign(static_cast<std::size_t>(count) + 1, 0);
    for (std::size_t k = 0; k < levels; ++k) {
      level_ = (first + static_cast<double>(k)) * interval;
      ++stamp_;
      for (std::size_t i = start_[k]; i < start_[k + 1]; ++i)
        if (seen_[filed_[i]] != stamp_) Trace(filed_[i]);
    }
  }

 private:
  bool Above(PointIndex p) const { return m_.PointZ[p] > level_; }

  // The crossed edges of t as corner slots (edge e joins corners e and e + 1): two, or none.
  int CrossedEdges(TriangleIndex t, int (&edges)[2]) const {
    const auto& c = m_.TriVertex[t];
    int n = 0;
    for (int e = 0; e < 3 && n < 2; ++e)
      if (Above(c[static_cast<std::size_t>(e)]) != Above(c[static_cast<std::size_t>((e + 1) % 3)])) edges[n++] = e;
    return n;
  }

  void Plot(TriangleIndex t, int edge) {
    const auto& c = m_.TriVertex[t];
    const PointIndex a = c[static_cast<std::size_t>(edge)], b = c[static_cast<std::size_t>((edge + 1) % 3)];
    const double f = (level_ - m_.PointZ[a]) / (m_.PointZ[b] - m_.PointZ[a]);
    line_.push_back({m_.PointX[a] + (m_.PointX[b] - m_.PointX[a]) * f, m_.PointY[a] + (m_.PointY[b] - m_.PointY[a]) * f});
  }

  // Follows the line out of t through `edge` until the hull or the start; returns true when it
  // came back to the start (a closed line).
  bool Follow(TriangleIndex start, int edge) {
    TriangleIndex t = start;
    for (;;) {
      const auto& c = m_.TriVertex[t];
      const PointIndex a = c[static_cast<std::size_t>(edge)], b = c[static_cast<std::size_t>((edge + 1) % 3)];
      TriangleIndex u = NoTriangle;
      int entry = -1;
      for (TriangleIndex n : m_.TriNeighbour[t]) {
        if (n == NoTriangle) continue;
        const auto& d = m_.TriVertex[n];
        for (int e = 0; e < 3; ++e)
          if (d[static_cast<std::size_t>(e)] == b && d[static_cast<std::size_t>((e + 1) % 3)] == a) {
            u = n;
            entry = e;
          }
        if (u != NoTriangle) break;
      }
      if (u == NoTriangle) return false;
      if (u == start) return true;
      if (seen_[u] == stamp_) return false;
      seen_[u] = stamp_;
      int edges[2];
      if (CrossedEdges(u, edges) != 2) return false;
      edge = edges[0] == entry ? edges[1] : edges[0];
      Plot(u, edge);
      t = u;
    }
  }

  void Trace(TriangleIndex t) {
    seen_[t] = stamp_;
    int edges[2];
    if (CrossedEdges(t, edges) != 2) return;
    line_.clear();
    Plot(t, edges[1]);
    if (!Follow(t, edges[1])) {
      // Open: the other way as well, joined in front.
      std::reverse(line_.begin(), line_.end());
      Plot(t, edges[0]);
      Follow(t, edges[0]);
    }
    for (std::size_t i = 0; i < line_.size(); ++i) {
      device_.DevicePlot(false, line_[i].x, line_[i].y, level_);
      if (i == 0) device_.DevicePenDown();
    }
    device_.DevicePenUp();
  }

  struct XY {
    double x, y;
  };
  const model::SurfaceModel& m_;
  CountingDevice& device_;
  double level_ = 0;
  std::uint32_t stamp_ = 0;
  std::vector<std::size_t> start_, next_;
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> range_;
  std::vector<TriangleIndex> filed_;
  std::vector<std::uint32_t> seen_;
  std::vector<XY> line_;
};

void BM_ReferenceLines(benchmark::State& state) {
  Surface& s = Site();
  CountingDevice device;
  PlainLineTracer tracer(s.model, device);
  for (auto _ : state) tracer.Run(s.Interval());
  state.counters["points"] = static_cast<double>(device.plots) / static_cast<double>(state.iterations());
  benchmark::DoNotOptimize(device.sum);
}
BENCHMARK(BM_ReferenceLines)->Unit(benchmark::kMillisecond);

}  // namespace

// CompareSurfaces on two full-capacity surfaces of one site (32763 points each):
//
//   pad:      a survey, and the same ground with a level pad cut into it (same triangles)
//   resurvey: two independent surveys of the same ground, 0.25 apart in elevation

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "analysis/volume.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace {

using namespace terravue;

model::SurfaceModel Surveyed(std::uint64_t seed) {
  model::SurfaceModel m;
  m.AllocateStore();
  testing::LoadSite(m, testing::RollingTerrain(model::SurfaceModel::PointCapacity, seed));
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{m, settings, port, std::filesystem::temp_directory_path()};
  tin::LocateState state;
  tin::TriangulateOptions options;
  options.quiet = true;
  tin::Triangulate(session, state, options);
  return m;
}

void Run(benchmark::State& state, const model::SurfaceModel& existing, const model::SurfaceModel& proposed) {
  analysis::SurfaceComparison result;
  for (auto _ : state) {
    result = analysis::CompareSurfaces(existing, proposed);
    benchmark::DoNotOptimize(result);
  }
  state.counters["cut"] = result.totals.CutVolume;
  state.counters["fill"] = result.totals.FillVolume;
  state.counters["triangles"] = existing.TriangleCount + proposed.TriangleCount;
}

void BM_Pad(benchmark::State& state) {
  static const model::SurfaceModel existing = Surveyed(1);
  static const model::SurfaceModel proposed = [] {
    model::SurfaceModel m = existing;
    // A level pad over the middle third of the site, cut 2 below the lowest ground on it.
    const double x0 = m.MinX + (m.MaxX - m.MinX) / 3, x1 = m.MaxX - (m.MaxX - m.MinX) / 3;
    const double y0 = m.MinY + (m.MaxY - m.MinY) / 3, y1 = m.MaxY - (m.MaxY - m.MinY) / 3;
    double level = m.MaxZ;
    for (std::size_t i = 1; i <= m.PointCount; ++i)
      if (m.PointX[i] >= x0 && m.PointX[i] <= x1 && m.PointY[i] >= y0 && m.PointY[i] <= y1)
        level = std::min(level, m.PointZ[i]);
    for (std::size_t i = 1; i <= m.PointCount; ++i)
      if (m.PointX[i] >= x0 && m.PointX[i] <= x1 && m.PointY[i] >= y0 && m.PointY[i] <= y1)
        m.PointZ[i] = level - 2;
    return m;
  }();
  Run(state, existing, proposed);
}

void BM_Resurvey(benchmark::State& state) {
  static const model::SurfaceModel existing = Surveyed(1);
  static const model::SurfaceModel proposed = [] {
    model::SurfaceModel m = Surveyed(2);
    for (std::size_t i = 1; i <= m.PointCount; ++i) m.PointZ[i] += 0.25;
    return m;
  }();
  Run(state, existing, proposed);
}

BENCHMARK(BM_Pad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resurvey)->Unit(benchmark::kMillisecond);

}  // namespace

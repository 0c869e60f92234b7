// Triangulate on synthetic sites at the sizes a survey reaches, up to full capacity.
//
//   rolling:  random rolling terrain, no border (a convex border is made)
//   grid:     a jittered grid, half the points exactly on the nodes, no border
//   concave:  a five-lobed concave border with a few hundred breaklines inside
//   arc:      points on a convex arc, where every insertion takes in most of the surface

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

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

void RunTriangulate(benchmark::State& state, const testing::SyntheticSite& site) {
  model::SurfaceModel surface;
  surface.AllocateStore();
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{surface, settings, port, std::filesystem::temp_directory_path()};
  tin::LocateState locate;
  tin::TriangulateOptions options;
  options.quiet = true;
  for (auto _ : state) {
    state.PauseTiming();
    testing::LoadSite(surface, site);
    state.ResumeTiming();
    const auto status = tin::Triangulate(session, locate, options);
    benchmark::DoNotOptimize(status);
    if (!status) state.SkipWithError("not triangulated");
  }
  state.counters["triangles"] = surface.TriangleCount;
}

void BM_Rolling(benchmark::State& state) {
  RunTriangulate(state, testing::RollingTerrain(static_cast<int>(state.range(0)), 1));
}
void BM_Grid(benchmark::State& state) {
  RunTriangulate(state, testing::JitteredGrid(static_cast<int>(state.range(0)), 1));
}
void BM_Concave(benchmark::State& state) {
  RunTriangulate(state, testing::ConcaveBorderSite(static_cast<int>(state.range(0)), 1));
}
void BM_Arc(benchmark::State& state) {
  RunTriangulate(state, testing::ConvexArc(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Rolling)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Concave)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arc)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

// One point added, deleted or moved on a triangulated rolling site (a local change), and the
// undo step of a whole model, at the sizes a survey reaches up to full capacity.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/model_history.h"
#include "app/settings_file.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "model/surface_model.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/point_edit.h"
#include "tin/triangulate.h"

namespace {

using namespace terravue;

struct Site {
  explicit Site(int n) {
    surface.AllocateStore();
    // One place is kept free, so that a point can be added at full capacity.
    testing::LoadSite(surface, testing::RollingTerrain(n - 1, 1));
    tin::TriangulateOptions quiet;
    quiet.quiet = true;
    tin::Triangulate(session, locate, quiet);
  }
  // The centroid of triangle t, a place well inside the surface.
  tin::PointValues Inside(TriangleIndex t) const {
    const auto& c = surface.TriVertex[t];
    return {"B", (surface.PointX[c[0]] + surface.PointX[c[1]] + surface.PointX[c[2]]) / 3,
            (surface.PointY[c[0]] + surface.PointY[c[1]] + surface.PointY[c[2]]) / 3, 100};
  }
  model::SurfaceModel surface;
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{surface, settings, port, std::filesystem::temp_directory_path()};
  tin::LocateState locate;
};

void BM_AddPoint(benchmark::State& state) {
  Site site(static_cast<int>(state.range(0)));
  const tin::PointValues place = site.Inside(site.surface.TriangleCount / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tin::AddPointRules(site.session, site.locate, place));
    state.PauseTiming();
    tin::DeletePointRules(site.session, site.locate, site.surface.PointCount);
    state.ResumeTiming();
  }
}

void BM_DeletePoint(benchmark::State& state) {
  Site site(static_cast<int>(state.range(0)));
  const tin::PointValues place = site.Inside(site.surface.TriangleCount / 2);
  tin::AddPointRules(site.session, site.locate, place);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tin::DeletePointRules(site.session, site.locate, site.surface.PointCount));
    state.PauseTiming();
    tin::AddPointRules(site.session, site.locate, place);
    state.ResumeTiming();
  }
}

void BM_MovePoint(benchmark::State& state) {
  Site site(static_cast<int>(state.range(0)));
  const tin::PointValues a = site.Inside(site.surface.TriangleCount / 2);
  const tin::PointValues b = site.Inside(site.surface.TriangleCount / 3);
  tin::AddPointRules(site.session, site.locate, a);
  bool there = false;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tin::EditPointRules(site.session, site.locate, site.surface.PointCount, there ? a : b));
    there = !there;
  }
}

// Undo of one change: the snapshot before the command, the comparison after it, and the
// restore (the redo step's snapshot included).
void BM_UndoStep(benchmark::State& state) {
  Site site(static_cast<int>(state.range(0)));
  const tin::PointValues place = site.Inside(site.surface.TriangleCount / 2);
  app::ModelHistory history;
  for (auto _ : state) {
    history.Begin(site.surface);
    state.PauseTiming();
    tin::AddPointRules(site.session, site.locate, place);
    state.ResumeTiming();
    history.End(site.session, "Add Point");
    history.Undo(site.session);
  }
}

BENCHMARK(BM_AddPoint)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeletePoint)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MovePoint)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoStep)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMicrosecond);

}  // namespace

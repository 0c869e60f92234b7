// Reading and writing model files, up to a model at full capacity.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "model/model_file.h"
#include "model/surface_model.h"

namespace {

using terravue::PointIndex;
using terravue::TriangleIndex;
using terravue::model::SurfaceModel;

// A model of `points` points on a jittered grid with twice as many triangles as points (the
// full-capacity case fills both arrays), a border ring round the first row and 1000 breaklines.
// The triangles are strips over the grid; their indices are in range, their neighbours are the
// strip neighbours, which is all the file cares about.
void BuildModel(SurfaceModel& m, std::uint16_t points) {
  m.ClearModel();
  const int columns = static_cast<int>(std::sqrt(points)) + 1;
  for (PointIndex i = 1; i <= points; ++i) {
    const int row = (i - 1) / columns, column = (i - 1) % columns;
    m.PointX[i] = 1000 + column * 5.0 + 0.37 * std::sin(i);
    m.PointY[i] = 2000 + row * 5.0 + 0.41 * std::cos(i);
    m.PointZ[i] = 100 + 10 * std::sin(column / 9.0) * std::cos(row / 7.0);
    m.SetPointLabel(i, std::to_string(i));
    m.BorderNext[i] = 0;
  }
  m.PointCount = points;
  const int ring = std::min<int>(columns, points);
  for (int k = 1; k <= ring; ++k) m.BorderNext[k] = static_cast<PointIndex>(k % ring + 1);

  const std::size_t triangles = std::min<std::size_t>(std::size_t{points} * 2, m.MaxTriangles);
  for (std::size_t t = 1; t <= triangles; ++t) {
    const auto a = static_cast<PointIndex>((t - 1) / 2 % (points - 2) + 1);
    m.TriVertex[t] = {a, static_cast<PointIndex>(a + 1), static_cast<PointIndex>(a + 2)};
    m.TriNeighbour[t] = {static_cast<TriangleIndex>(t > 1 ? t - 1 : 0),
                         static_cast<TriangleIndex>(t < triangles ? t + 1 : 0), 0};
    if (t == 1) m.TriNeighbour[t] = {2, 0, 0};
  }
  m.TriangleCount = static_cast<std::uint16_t>(triangles);
  for (std::size_t b = 1; b <= 1000; ++b)
    m.Breaklines[b] = {static_cast<PointIndex>(b % points + 1),
                       static_cast<PointIndex>((b + 7) % points + 1)};
  m.BreaklineCount = 1000;
  m.SetComment("Benchmark model");
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / "terravue_model_file_bench.MDL";
}

void BM_WriteModelFile(benchmark::State& state) {
  SurfaceModel m;
  if (!m.AllocateStore()) return state.SkipWithError("no memory");
  BuildModel(m, static_cast<std::uint16_t>(state.range(0)));
  const auto file = BenchFile();
  for (auto _ : state) {
    if (terravue::model::WriteModelFile(m, file, 1, m.PointCount, terravue::model::ModelFileTypeMdl) !=
        terravue::model::ModelFileStatus::Ok)
      return state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
  std::filesystem::remove(file);
}

void BM_ReadModelFile(benchmark::State& state) {
  SurfaceModel m;
  if (!m.AllocateStore()) return state.SkipWithError("no memory");
  BuildModel(m, static_cast<std::uint16_t>(state.range(0)));
  const auto file = BenchFile();
  if (terravue::model::WriteModelFile(m, file, 1, m.PointCount, terravue::model::ModelFileTypeMdl) !=
      terravue::model::ModelFileStatus::Ok)
    return state.SkipWithError("write failed");
  for (auto _ : state) {
    if (terravue::model::ReadModelFile(m, file, 1, 1, terravue::model::ModelFileTypeMdl, 1) !=
        terravue::model::ModelFileStatus::Ok)
      return state.SkipWithError("read failed");
    benchmark::DoNotOptimize(m.PointCount);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
  std::filesystem::remove(file);
}

BENCHMARK(BM_WriteModelFile)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(SurfaceModel::PointCapacity)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadModelFile)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(SurfaceModel::PointCapacity)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

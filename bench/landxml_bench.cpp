// Importing a LandXML surface as a civil design program writes it: northing, easting, elevation
// with twelve decimals, faces by point id, about one face in five and a half flagged invisible.
// The largest real case is 22,273 points and 44,094 faces; the others follow the usual sizes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings_file.h"
#include "common/format.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "exchange/landxml_import.h"
#include "model/surface_model.h"
#include "rolling_site.h"

namespace {

namespace fs = std::filesystem;
using namespace terravue;

// Share of invisible faces in the real 44,094-face file (8,001 of them).
constexpr double kInvisibleShare = 8001.0 / 44094.0;

// A triangulated rolling site of `points` points, moved to the coordinates of a real grid, written
// as a LandXML document with at most `faces` faces (all of them when 0).
std::string SurfaceDocument(int points, int faces) {
  const bench::RollingSite site(points);
  const model::SurfaceModel& m = site.model;
  std::string text =
      "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n"
      "\t<Units>\n\t\t<Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\"/>\n\t</Units>\n"
      "\t<Surfaces>\n\t\t<Surface name=\"Bench\">\n\t\t\t<Definition surfType=\"TIN\">\n\t\t\t\t<Pnts>\n";
  // Ids start at 2, as in the real file, so that they never equal the point numbers.
  for (int i = 1; i <= points; ++i) {
    text += "\t\t\t\t\t<P id=\"" + std::to_string(i + 1) + "\">" + FormatReal(6398000 + m.PointY[i] / 7, 0, 12) +
            ' ' + FormatReal(148000 + m.PointX[i] / 7, 0, 12) + ' ' + FormatReal(m.PointZ[i] / 30, 0, 12) + "</P>\n";
  }
  text += "\t\t\t\t</Pnts>\n\t\t\t\t<Faces>\n";
  const int written = faces > 0 ? std::min<int>(faces, m.TriangleCount) : m.TriangleCount;
  for (int t = 1; t <= written; ++t) {
    const bool invisible = std::floor(t * kInvisibleShare) != std::floor((t - 1) * kInvisibleShare);
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    text += invisible ? "\t\t\t\t\t<F i=\"1\">" : "\t\t\t\t\t<F>";
    text += std::to_string(c[0] + 1) + ' ' + std::to_string(c[1] + 1) + ' ' + std::to_string(c[2] + 1) + "</F>\n";
  }
  text += "\t\t\t\t</Faces>\n\t\t\t</Definition>\n\t\t</Surface>\n\t</Surfaces>\n</LandXML>\n";
  return text;
}

// Parsing and reading into a model, from the text in memory.
void BM_LandXmlRead(benchmark::State& state) {
  const std::string text = SurfaceDocument(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  model::SurfaceModel into;
  into.AllocateStore();
  for (auto _ : state) {
    const exchange::LandXmlDocument document(text);
    const exchange::LandXmlReadReport report = document.Read(0, into);
    benchmark::DoNotOptimize(report.triangles);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// The whole import as the command runs it: the file, a fresh model, the swap, the summary.
void BM_LandXmlImportFile(benchmark::State& state) {
  const fs::path file = fs::temp_directory_path() / ("terravue_landxml_bench_" + std::to_string(state.range(0)) + ".xml");
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      << SurfaceDocument(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  model::SurfaceModel m;
  m.AllocateStore();
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{m, settings, port, fs::temp_directory_path()};
  for (auto _ : state) {
    const auto result = exchange::LoadLandXmlFile(session, file, {});
    if (result.status != exchange::LandXmlLoadStatus::Loaded) state.SkipWithError("the surface was not loaded");
    benchmark::DoNotOptimize(m.TriangleCount);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::error_code ec;
  fs::remove(file, ec);
}

// {points, faces}: 0 faces writes every triangle.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({1000, 0})->Args({8000, 0})->Args({22273, 44094})->Args({32763, 0})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LandXmlRead)->Apply(Sizes);
BENCHMARK(BM_LandXmlImportFile)->Apply(Sizes);

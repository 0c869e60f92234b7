// Importing a coordinate file at full point capacity: 32763 lines of point number, northing,
// easting, elevation and description (PNEZD), read with "L Y X Z N".

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/format.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/user_port.h"
#include "exchange/ascii_import.h"
#include "model/surface_model.h"

namespace {

namespace fs = std::filesystem;
using namespace terravue;

// The same text every run: a jittered grid of shots with three decimals and field codes, some
// of which hold digits.
std::string PnezdText(int points) {
  static const char* const codes[] = {"TOPO", "EP", "TREE 12", "CL", "FENCE POST", "BM 3"};
  std::string text;
  text.reserve(static_cast<std::size_t>(points) * 48);
  const int columns = static_cast<int>(std::sqrt(points)) + 1;
  for (int i = 1; i <= points; ++i) {
    const int row = (i - 1) / columns, column = (i - 1) % columns;
    text += std::to_string(i);
    text += ',';
    text += FormatReal(500000 + row * 2.5 + 0.37 * std::sin(i), 0, 3);
    text += ',';
    text += FormatReal(1400000 + column * 2.5 + 0.41 * std::cos(i), 0, 3);
    text += ',';
    text += FormatReal(650 + 12 * std::sin(column / 19.0) * std::cos(row / 13.0), 0, 3);
    text += ',';
    text += codes[i % 6];
    text += "\r\n";
  }
  return text;
}

struct ImportFixture {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{model, settings, port, fs::temp_directory_path()};
  exchange::FieldCodes codes = exchange::PredefinedImportFormat(exchange::AsciiKind::Coordinates, 2).codes;

  ImportFixture() {
    model.AllocateStore();
    exchange::StoreFileFormat(settings, exchange::CoordImport, 2,
                              exchange::PredefinedImportFormat(exchange::AsciiKind::Coordinates, 2));
  }
};

// From the file, as the import command reads it.
void BM_ImportCoordinateFile(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const fs::path file = fs::temp_directory_path() / ("terravue_import_bench_" + std::to_string(points) + ".ASC");
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << PnezdText(points);
  }
  ImportFixture f;
  const exchange::CoordinateLoad load{.removeDuplicates = state.range(1) != 0};
  for (auto _ : state) {
    const auto result = exchange::LoadCoordinateFile(f.session, file, load);
    if (result.loaded != static_cast<std::size_t>(points)) state.SkipWithError("not every point was loaded");
    benchmark::DoNotOptimize(f.model.PointX[1]);
  }
  state.SetItemsProcessed(state.iterations() * points);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
  std::error_code ec;
  fs::remove(file, ec);
}
BENCHMARK(BM_ImportCoordinateFile)
    ->Args({32763, 0})
    ->Args({32763, 1})
    ->ArgNames({"points", "dups"})
    ->Unit(benchmark::kMillisecond);

// Parsing alone, from memory.
void BM_ParseCoordinates(benchmark::State& state) {
  const std::string text = PnezdText(32763);
  ImportFixture f;
  for (auto _ : state) {
    std::istringstream in(text);
    const auto result = exchange::LoadCoordinates(f.session, in, f.codes, {});
    benchmark::DoNotOptimize(result.loaded);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseCoordinates)->Unit(benchmark::kMillisecond);

}  // namespace

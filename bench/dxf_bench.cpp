// The DXF file of a full-capacity contoured surface (32763 points, about 65500 triangles):
// triangles, about 90 contour levels with labels on the index contours, the border and point
// markers with their numbers, written through the map redraw to a file. Counters give the file
// size and the entities written.
//
//   faces:0  2-D polylines
//   faces:1  3-D polylines and a 3DFACE per triangle first

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "cad/cad_layers.h"
#include "cad/cad_output.h"
#include "device/cad_settings.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

#include "rolling_site.h"

namespace {

using namespace terravue;

struct Surface : bench::RollingSite {
  Surface() {
    using namespace device;
    for (const BoolField show : {TriangleOptions::Show, ContourOptions::Show, BorderOptions::Show,
                                 PointOptions::Show, PointOptions::ShowNumber})
      settings.Set(show, true);
    for (const BoolField show : {BreaklineOptions::Show, SurfaceGridOptions::Show, MiscOptions::Show,
                                 TitleOptions::Show, AnalyzerOptions::Show})
      settings.Set(show, false);
    settings.Set(ContourOptions::Interval, (model.MaxZ - model.MinZ) / 90);
    settings.Set(ContourOptions::Multiple, 5);
    settings.Set(ContourOptions::LabelMode, 2);
    settings.Set(PointOptions::MarkerKind, 0);
    cad::SetCadProgram(settings, device::CadProgram::AutoCad);
  }
};

Surface& Site() {
  static Surface surface;
  return surface;
}

void BM_WriteDxf(benchmark::State& state) {
  Surface& s = Site();
  const bool faces = state.range(0) != 0;
  s.settings.Set(device::CadOutput::Output3DFaces, faces);
  s.settings.Set(device::CadOutput::Use3DPolylines, faces);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "terravue_dxf_bench.DXF";
  tin::LocateState locate;
  for (auto _ : state) {
    if (!cad::WriteCadFile(*s.session, locate, file)) state.SkipWithError("the DXF file could not be written");
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
  state.counters["triangles"] = s.model.TriangleCount;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(file, ec)));
  std::filesystem::remove(file, ec);
}
BENCHMARK(BM_WriteDxf)->ArgName("faces")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// Regenerating the whole map of a full-capacity surface (32763 points, about 65500 triangles)
// through a page device whose canvas only counts: the engine's share of a redraw (transform,
// clipping, contours, grid, markers, texts, furniture), without painting.
//
//   regenerate/contours:  triangles, grid, about 90 levels of contours with labelled index
//                         contours, border, markers, frame, north arrow, scale bar, title block
//   regenerate/styled:    the same with smoothed, dashed contours and point labels

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
#include "mapping/map_redraw.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "device/page_setup.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

#include "counting_canvas.h"
#include "rolling_site.h"

namespace {

using namespace terravue;

using bench::CountingCanvas;

struct Site : bench::RollingSite {
  Site() {
    device::SetUpPage(settings, device::NoPrinterDescription());
    device::FitModel(settings, model, true);

    using namespace device;
    settings.Set(TriangleOptions::Show, true);
    settings.Set(SurfaceGridOptions::Show, true);
    settings.Set(SurfaceGridOptions::TextMode, 1);
    settings.Set(ContourOptions::Show, true);
    settings.Set(ContourOptions::Interval, (model.MaxZ - model.MinZ) / 90);
    settings.Set(ContourOptions::Multiple, 5);
    settings.Set(ContourOptions::LabelMode, 2);
    settings.Set(ContourOptions::TextHeight, 8.0);
    settings.Set(BorderOptions::Show, true);
    settings.Set(PointOptions::Show, true);
    settings.Set(MiscOptions::Show, true);
    settings.Set(MiscOptions::ShowLimits, true);
    settings.Set(MiscOptions::ShowNorthArrow, true);
    settings.Set(MiscOptions::ShowScaleBar, true);
    settings.Set(TitleOptions::Show, true);
    settings.Set(TitleOptions::UseTitleBoxes, true);
  }
};

Site& TheSite() {
  static Site site;
  return site;
}

void BM_RegenerateMap(benchmark::State& state) {
  Site& site = TheSite();
  const bool styled = state.range(0) != 0;
  using namespace device;
  using namespace mapping;
  site.settings.Set(ContourOptions::Smooth, styled);
  site.settings.Set(ContourOptions::Segments, 5);
  site.settings.Set(ContourOptions::DashMode, styled ? 3 : 0);
  site.settings.Set(PointOptions::ShowElevation, styled);
  long lines = 0, texts = 0;
  for (auto _ : state) {
    CountingCanvas device(device::DeviceKind::Printer, device::CurrentViewTransform(site.settings, site.model),
                          device::PrinterFrame(site.settings));
    tin::LocateState locate;
    RedrawMap(*site.session, device, locate);
    lines = device.lines;
    texts = device.texts;
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["texts"] = static_cast<double>(texts);
}
BENCHMARK(BM_RegenerateMap)->ArgName("styled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The point labels alone (number, label, elevation) of the first n points, every one drawn or
// decluttered: labels that would overlap one drawn already are left out.
void BM_PointLabels(benchmark::State& state) {
  Site& site = TheSite();
  using namespace device;
  SettingsRecord& s = site.settings;
  const SettingsRecord kept = s;
  for (const BoolField shown : {TriangleOptions::Show, SurfaceGridOptions::Show, ContourOptions::Show,
                                BorderOptions::Show, MiscOptions::Show, TitleOptions::Show})
    s.Set(shown, false);
  s.Set(PointOptions::ShowNumber, true);
  s.Set(PointOptions::ShowLabel, true);
  s.Set(PointOptions::ShowElevation, true);
  s.Set(PointOptions::TextHeight, 6.0);
  s.Set(PointOptions::Declutter, state.range(1) != 0);
  const std::uint16_t count = site.model.PointCount;
  site.model.PointCount = static_cast<std::uint16_t>(state.range(0));
  long texts = 0;
  for (auto _ : state) {
    CountingCanvas device(device::DeviceKind::Printer, device::CurrentViewTransform(s, site.model),
                          device::PrinterFrame(s));
    tin::LocateState locate;
    mapping::RedrawMap(*site.session, device, locate);
    texts = device.texts;
  }
  site.model.PointCount = count;
  s = kept;
  state.counters["texts"] = static_cast<double>(texts);
}
BENCHMARK(BM_PointLabels)
    ->ArgNames({"points", "declutter"})
    ->ArgsProduct({{1000, 8000, 32763}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

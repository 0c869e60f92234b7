// The 3-D view of a rolling site at 1000, 8000 and 32763 points, shaded or with lines only
// (contours every fortieth of the relief with labelled index contours, the draped grid and the
// border; no triangle edges or point markers), seen from the built-in view point:
//
//   Regenerate3D/engine:  the redraw through a page device whose canvas only counts: the
//                         projection, near-plane and sheet clipping, the painter's order and
//                         shades, contours and grid
//   Regenerate3D/screen:  what Regenerate does in the window: the redraw into the sheet's
//                         display list, then the repaint of a window-sized part of the sheet
//
// The shaded and unshaded runs of one size follow each other, so that their ratio is taken
// under the same machine load.

#include <map>
#include <memory>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "common/view3d_settings.h"
#include "device/drawing_device.h"
#include "device/map_options.h"
#include "device/page_setup.h"
#include "mapping/map_redraw.h"
#include "print/screen_device.h"
#include "print/sheet_view.h"
#include "tin/geometry.h"

#include "counting_canvas.h"
#include "rolling_site.h"

namespace {

using namespace terravue;
namespace v3 = settings::View3DOptions;

using bench::CountingCanvas;

struct Site : bench::RollingSite {
  explicit Site(int n) : RollingSite(n) {
    device::SetUpPage(settings, device::NoPrinterDescription());
    device::FitModel(settings, model, true);
    using namespace device;
    // The shaded surface takes the place of the triangles' edges and the point markers.
    settings.Set(TriangleOptions::Show, false);
    settings.Set(PointOptions::Show, false);
    settings.Set(SurfaceGridOptions::Show, true);
    settings.Set(ContourOptions::Show, true);
    settings.Set(ContourOptions::Interval, (model.MaxZ - model.MinZ) / 40);
    settings.Set(ContourOptions::Multiple, 5);
    settings.Set(ContourOptions::LabelMode, 2);
    settings.Set(BorderOptions::Show, true);
    settings.Set(v3::View3D, true);
    settings.Set(v3::ElevationFactor, 3.0);
    settings.Set(v3::TargetX, model.MidX);
    settings.Set(v3::TargetY, model.MidY);
    settings.Set(v3::TargetZ, model.MidZ);
  }
};

Site& SiteOf(int points) {
  static std::map<int, std::unique_ptr<Site>> sites;
  auto& site = sites[points];
  if (!site) site = std::make_unique<Site>(points);
  return *site;
}

void BM_Regenerate3DEngine(benchmark::State& state) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  site.settings.Set(v3::ShadedSurface, state.range(1) != 0);
  long lines = 0, fills = 0;
  for (auto _ : state) {
    CountingCanvas device(device::DeviceKind::ScreenMap, device::CurrentViewTransform(site.settings, site.model),
                          device::PrinterFrame(site.settings));
    tin::LocateState locate;
    mapping::RedrawMap(*site.session, device, locate);
    lines = device.lines;
    fills = device.fills;
  }
  state.counters["triangles"] = site.model.TriangleCount;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["fills"] = static_cast<double>(fills);
}
BENCHMARK(BM_Regenerate3DEngine)
    ->ArgNames({"points", "shaded"})
    ->ArgsProduct({{1000, 8000, 32763}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_Regenerate3DScreen(benchmark::State& state) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  site.settings.Set(v3::ShadedSurface, state.range(1) != 0);
  // The sheet fitted to a 1000 x 760 window's map area, as the program opens.
  gui::SheetView view;
  view.SetUp(site.settings, QSize(860, 650), 1);
  view.resize(view.size());
  QImage target(view.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    {
      const std::unique_ptr<gui::ScreenDevice> device =
          view.StartMap(device::CurrentViewTransform(site.settings, site.model));
      tin::LocateState locate;
      mapping::RedrawMap(*site.session, *device, locate);
    }
    view.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["items"] = view.Map().ItemCount();
}
BENCHMARK(BM_Regenerate3DScreen)
    ->ArgNames({"points", "shaded"})
    ->ArgsProduct({{1000, 8000, 32763}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

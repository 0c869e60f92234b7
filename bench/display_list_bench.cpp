// Replaying a full-capacity map on the screen: 200000 segments in polylines, painted into an
// offscreen sheet as a repaint of the window would.

#include <cmath>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "device/drawing_device.h"
#include "device/page_setup_settings.h"
#include "print/screen_device.h"
#include "print/sheet_view.h"

namespace {

using namespace terravue;

constexpr int Segments = 200000;

// Wavy lines across the whole sheet, 100 segments each, every segment a few pixels long on the
// screen at zoom 1, so that none of them collapses into a point: 200000 segments drawn.
void DrawContours(device::DrawingDevice& d, int segments) {
  const int perLine = 100;
  const int lines = segments / perLine;
  for (int l = 0; l < lines; ++l) {
    d.DeviceSetLayer(l % 5 == 0 ? MakeColour(128, 128, 0) : MakeColour(0, 128, 0), {});
    // Two columns of 390-foot lines, about a foot apart down the sheet.
    const double x0 = -390.0 + 390.0 * (l % 2);
    const double y0 = -490.0 + 980.0 * (l / 2) / (lines / 2);
    for (int i = 0; i <= perLine; ++i) {
      const double x = x0 + 3.9 * i;
      const double y = y0 + 2.0 * std::sin(i * 1.3 + l);
      d.DevicePlot(false, x, y, 0);
      if (i == 0) d.DevicePenDown();
    }
    d.DevicePenUp();
  }
}

void BM_ReplayFullMap(benchmark::State& state) {
  SettingsRecord s = DefaultSettings();
  s.Set(device::PageSetup::MapScale, 100.0);
  s.Set(device::PageSetup::ViewCentreX, 0.0);
  s.Set(device::PageSetup::ViewCentreY, 0.0);
  s.Set(device::PageSetup::RotationCentreX, 0.0);
  s.Set(device::PageSetup::RotationCentreY, 0.0);
  gui::SheetView view;
  view.SetUp(s, QSize(1000, 1300), static_cast<int>(state.range(0)));
  {
    auto device = view.StartMap(device::ViewTransform::FromSettings(s));
    DrawContours(*device, Segments);
  }
  view.resize(view.size());
  // A window-sized part of the sheet, as the scroll area exposes it.
  const QRect exposed(0, 0, std::min(view.width(), 1000), std::min(view.height(), 1300));
  QImage target(exposed.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    view.render(&target, QPoint(), QRegion(exposed));
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["segments"] = view.Map().SegmentCount();
}
BENCHMARK(BM_ReplayFullMap)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The map list alone replayed plain and anti-aliased (as the sheet paints it, half a pixel in),
// so that the cost of smooth lines can be read as a ratio in one run.
void BM_ReplayAntialiased(benchmark::State& state) {
  SettingsRecord s = DefaultSettings();
  s.Set(device::PageSetup::MapScale, 100.0);
  gui::SheetView view;
  view.SetUp(s, QSize(1000, 1300), 1);
  {
    auto device = view.StartMap(device::ViewTransform::FromSettings(s));
    DrawContours(*device, Segments);
  }
  const QRect exposed(0, 0, std::min(view.width(), 1000), std::min(view.height(), 1300));
  QImage target(exposed.size(), QImage::Format_RGB32);
  const bool smooth = state.range(0) != 0;
  for (auto _ : state) {
    target.fill(Qt::white);
    QPainter painter(&target);
    if (smooth) {
      painter.setRenderHint(QPainter::Antialiasing);
      painter.translate(0.5, 0.5);
    }
    view.Map().Replay(painter, exposed);
    painter.end();
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_ReplayAntialiased)->ArgName("antialiased")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

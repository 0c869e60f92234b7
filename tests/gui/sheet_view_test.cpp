// The screen sheet: screen devices recording display lists, their replay, the inverting
// highlights, text anchors, widths and stipple fills, checked on the rendered pixels.

#include <algorithm>
#include <numbers>

#include <QImage>
#include <QtTest>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "device/page_setup_settings.h"
#include "print/screen_device.h"
#include "print/sheet_view.h"

using namespace terravue;
using terravue::gui::SheetView;

namespace {

constexpr std::uint32_t Red = MakeColour(255, 0, 0);
constexpr std::uint32_t Black = MakeColour(0, 0, 0);

// Letter at 300 dots per inch, 100 feet per inch, centred on the origin; in an 800 x 600
// client area: E = 5.5, the image 463 x 600 with margins 19 and 30.
SettingsRecord PlainSheet() {
  SettingsRecord s = DefaultSettings();
  namespace page = device::PageSetup;
  s.Set(settings::AngleConvention, 0);
  s.Set(page::MapScale, 100.0);
  s.Set(page::ViewCentreX, 0.0);
  s.Set(page::ViewCentreY, 0.0);
  s.Set(page::RotationCentreX, 0.0);
  s.Set(page::RotationCentreY, 0.0);
  s.Set(settings::ReportFontName, "Liberation Mono");
  return s;
}

void Line(device::DrawingDevice& d, double x0, double y0, double x1, double y1) {
  d.DevicePlot(false, x0, y0, 0);
  d.DevicePenDown();
  d.DevicePlot(false, x1, y1, 0);
  d.DevicePenUp();
}

bool IsInk(QRgb p) { return qGray(p) < 128; }

}  // namespace

class SheetViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = PlainSheet();
    view_ = std::make_unique<SheetView>();
    QVERIFY(view_->SetUp(settings_, QSize(800, 600), 1));
    transform_ = device::ViewTransform::FromSettings(settings_);
  }

  void waitsForAClientArea() {
    SheetView view;
    QVERIFY(!view.SetUp(settings_, QSize(0, 0), 1));
    QVERIFY(!view.Geometry());
    view.grab();  // paints the background only
  }

  void lineIsClippedToTheSheet() {
    {
      auto d = view_->StartMap(transform_);
      d->DeviceSetLayer(Red, {});
      Line(*d, 0, 0, 1000, 0);  // from the centre past the right edge
    }
    QCOMPARE(view_->size(), QSize(463, 600));
    const QImage image = view_->grab().toImage();
    // The centre is at Trunc(1170 / 5.5) + 19 = 231, Trunc(1483 / 5.5) + 30 = 299.
    QCOMPARE(image.pixel(231, 299), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(443, 299), qRgb(255, 0, 0));  // the clip's right edge
    QCOMPARE(image.pixel(444, 299), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(231, 300), qRgb(255, 255, 255));
    QCOMPARE(view_->Map().SegmentCount(), 1);
  }

  void widthIndexIsPrinterDotsAtScreenScale() {
    {
      auto d = view_->StartMap(transform_);
      d->DeviceSetLayer(Black, {});
      d->DeviceSetWidth(10);  // 11 dots: Round(11 / 5.5) + 1 = 3 pixels
      Line(*d, -200, 0, 200, 0);
    }
    const QImage image = view_->grab().toImage();
    int rows = 0;
    for (int y = 290; y < 310; ++y) rows += IsInk(image.pixel(231, y)) ? 1 : 0;
    QCOMPARE(rows, 3);
  }

  void highlightDrawnTwiceRestoresTheSheet() {
    {
      auto d = view_->StartMap(transform_);
      d->DeviceSetLayer(Red, {});
      Line(*d, -300, 0, 300, 0);
    }
    const QImage before = view_->grab().toImage();
    auto vee = [&] {
      auto h = view_->StartHighlight(transform_);
      h->DevicePlot(false, -100, 100, 0);
      h->DevicePenDown();
      h->DevicePlot(false, 0, 0, 0);  // the corner, on the red line
      h->DevicePlot(false, 100, 100, 0);
      h->DevicePenUp();
    };
    vee();
    QCOMPARE(view_->Highlights().Count(), 1);
    const QImage highlighted = view_->grab().toImage();
    QVERIFY(highlighted != before);
    // The shared corner is inverted once: red becomes cyan, not red again.
    QCOMPARE(highlighted.pixel(231, 299), qRgb(0, 255, 255));
    vee();
    QCOMPARE(view_->Highlights().Count(), 0);
    QCOMPARE(view_->grab().toImage(), before);
  }

  void textMiddleRunsThroughThePoint_data() {
    QTest::addColumn<double>("degrees");
    QTest::newRow("east") << 0.0;
    QTest::newRow("north") << 90.0;
  }

  void textMiddleRunsThroughThePoint() {
    QFETCH(double, degrees);
    {
      auto d = view_->StartMap(transform_);
      d->DeviceSetTextStyle(Black, 40);  // Round(40 x 300 / 5.5 / 100) = 22 pixels
      d->DeviceText("WWWW", degrees * std::numbers::pi / 180, 0, 0, 0, 1);
    }
    const QImage image = view_->grab().toImage();
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (IsInk(image.pixel(x, y))) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    QVERIFY(right >= 0);
    const int px = 231, py = 299;
    if (degrees == 0) {
      QVERIFY2(std::abs((top + bottom) / 2 - py) <= 4, qPrintable(QString("%1..%2").arg(top).arg(bottom)));
      QVERIFY(std::abs(left - px) <= 3);
      QVERIFY(right - left > 40);  // four characters along the baseline
    } else {
      QVERIFY2(std::abs((left + right) / 2 - px) <= 4, qPrintable(QString("%1..%2").arg(left).arg(right)));
      QVERIFY(std::abs(bottom - py) <= 3);
      QVERIFY(bottom - top > 40);  // runs up the page
    }
  }

  void stippleSetsAboutItsDensity() {
    {
      auto d = view_->StartMap(transform_);
      d->DeviceSetLayer(Black, {});
      d->DeviceDensityFill({device::WorldPoint{-300, -300, 0}, {300, -300, 0}, {0, 300, 0}}, 0.25);
    }
    const QImage image = view_->grab().toImage();
    int ink = 0, all = 0;
    for (int y = 290; y < 330; ++y)
      for (int x = 211; x < 251; ++x, ++all) ink += IsInk(image.pixel(x, y)) ? 1 : 0;
    const double share = static_cast<double>(ink) / all;
    QVERIFY2(share > 0.18 && share < 0.32, qPrintable(QString::number(share)));
  }

  void zoomKeepsWithinTheImageBound() {
    QVERIFY(view_->SetUp(settings_, QSize(800, 600), 500));
    QCOMPARE(view_->Geometry()->zoom, 54);
    QVERIFY(view_->height() < 32768);
    {
      auto d = view_->StartMap(transform_);
      Line(*d, -1e6, 0, 1e6, 0);
    }
    QCOMPARE(view_->Map().SegmentCount(), 1);
  }

 private:
  SettingsRecord settings_;
  std::unique_ptr<SheetView> view_;
  device::ViewTransform transform_;
};

QTEST_MAIN(SheetViewTest)
#include "sheet_view_test.moc"

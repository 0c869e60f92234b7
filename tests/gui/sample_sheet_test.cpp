// The bundled sample site opened in the main window with its sheet settings, as tools/run opens
// it: the contoured sheet is drawn, kept and replayed by Redraw, recomputed by Regenerate. A
// picture of the sheet is left in the build folder (SAMPLE_SHEET.png) to be looked at.

#include <QImage>
#include <QtTest>

#include "app/qt_user_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "controllers/view_controller.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map_area.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"
#include "common/app_settings.h"
#include "print/sheet_view.h"

using namespace terravue;

namespace {

// Pixels close to `colour`: antialiasing blends the edges of lines and texts.
int CountNear(const QImage& image, QRgb colour, int tolerance = 24) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (std::abs(qRed(p) - qRed(colour)) <= tolerance && std::abs(qGreen(p) - qGreen(colour)) <= tolerance &&
          std::abs(qBlue(p) - qBlue(colour)) <= tolerance)
        ++count;
    }
  return count;
}

QRgb Rgb(std::uint32_t colour) {
  return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
              static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

class SampleSheetTest : public QObject {
  Q_OBJECT

  struct Fixture {
    model::SurfaceModel model;
    SettingsRecord settings = DefaultSettings();
    gui::QtUserPort port{settings};
    Session session{model, settings, port, {}};
    gui::HelpViewer help{port, QString()};
    gui::MainWindow window{session, help};

    Fixture() {
      model.AllocateStore();
      port.SetParentWindow(&window);
    }
  };

 private slots:
  void sampleOpensAsItsContouredSheet() {
    Fixture f;
    QCOMPARE(LoadSettings(f.settings, TERRAVUE_SAMPLE_DIR "SAMPLE.VSF"), SettingsLoad::Full);
    QVERIFY(model::OpenModelByName(f.session, TERRAVUE_SAMPLE_DIR "SAMPLE.MDL"));
    QVERIFY(f.model.TriangleCount > 0);
    f.window.resize(1100, 1300);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.window.ModelLoaded();
    QCoreApplication::processEvents();

    gui::SheetView& sheet = f.window.Map().Sheet();
    const QImage picture = sheet.grab().toImage();
    QVERIFY(picture.width() > 400 && picture.height() > 500);
    QVERIFY(picture.save(QStringLiteral(TERRAVUE_BUILD_DIR "SAMPLE_SHEET.png")));

    // Index contours, breaklines and the border in their own colours.
    namespace map = device;
    QVERIFY(CountNear(picture, Rgb(f.settings.Get(map::ContourOptions::MultipleColour))) > 500);
    QVERIFY(CountNear(picture, Rgb(f.settings.Get(map::BreaklineOptions::Colour))) > 100);
    QVERIFY(CountNear(picture, Rgb(f.settings.Get(map::BorderOptions::Colour))) > 500);

    // Redraw repaints what was drawn: a changed surface shows only after Regenerate.
    const int kept = sheet.Map().ItemCount();
    for (PointIndex p = 1; p <= f.model.PointCount; ++p) f.model.PointZ[p] = 100 + 0.2 * (f.model.PointZ[p] - 100);
    f.window.View().Redraw();
    QCOMPARE(sheet.Map().ItemCount(), kept);
    QCOMPARE(sheet.grab().toImage(), picture);
    f.window.View().Regenerate();
    QVERIFY(sheet.Map().ItemCount() != kept);
    QVERIFY(sheet.grab().toImage() != picture);
  }

  // The sample in the 3-D view from the four corners of the compass, with lines only and then
  // shaded: each side its own picture, the contours on it, and the shading filling the surface
  // under them. The pictures are left in the build folder (SAMPLE_3D_SE.png, ...).
  void sampleIn3DFromFourSides() {
    Fixture f;
    QCOMPARE(LoadSettings(f.settings, TERRAVUE_SAMPLE_DIR "SAMPLE.VSF"), SettingsLoad::Full);
    QVERIFY(model::OpenModelByName(f.session, TERRAVUE_SAMPLE_DIR "SAMPLE.MDL"));
    f.window.resize(1100, 1300);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.window.ModelLoaded();
    namespace v3 = settings::View3DOptions;
    f.settings.Set(v3::View3D, true);
    f.settings.Set(v3::ElevationFactor, 3.0);
    const QRgb background = Rgb(f.settings.Get(settings::MapBackgroundColour));
    const QRgb contours = Rgb(f.settings.Get(device::ContourOptions::MultipleColour));

    struct Side {
      const char* name;
      double x, y;
    };
    const Side sides[] = {{"SE", 15000, -15000}, {"SW", -15000, -15000}, {"NW", -15000, 15000}, {"NE", 15000, 15000}};
    QList<QImage> pictures;
    std::vector<int> linesBare;  // per side, background pixels about the target with lines only
    for (const bool shaded : {false, true}) {
      f.settings.Set(v3::ShadedSurface, shaded);
      for (std::size_t k = 0; k < std::size(sides); ++k) {
        const Side& side = sides[k];
        f.settings.Set(v3::ViewOffsetX, side.x);
        f.settings.Set(v3::ViewOffsetY, side.y);
        f.window.View().Regenerate();
        QCoreApplication::processEvents();
        const QImage picture = f.window.Map().Sheet().grab().toImage();
        const QString name = QStringLiteral(TERRAVUE_BUILD_DIR "SAMPLE_3D_%1%2.png")
                                 .arg(QString::fromLatin1(side.name), shaded ? QStringLiteral("_SHADED") : QString());
        QVERIFY(picture.save(name));
        QVERIFY2(CountNear(picture, contours) > 200, side.name);
        // The middle of the site, where the target is, is covered by the shading.
        const QPointF target = f.window.View().ToSheet(f.settings.Get(v3::TargetX), f.settings.Get(v3::TargetY),
                                                       f.settings.Get(v3::TargetZ));
        const QImage middle = picture.copy(QRect(target.toPoint() - QPoint(10, 10), QSize(21, 21)));
        const int bare = CountNear(middle, background, 8);
        if (!shaded)
          linesBare.push_back(bare);
        else
          QVERIFY2(bare < 21 * 21 / 10 && bare < linesBare[k], side.name);
        for (const QImage& other : pictures) QVERIFY(picture != other);
        pictures.push_back(picture);
      }
    }
  }
};

QTEST_MAIN(SampleSheetTest)
#include "sample_sheet_test.moc"

// The 3-D view in the window, driven as a user drives it: "Set 3D Options" shows and hands back
// the options; F3 with "Automatic" animates while the window goes on handling its events, and
// ESC or closing the window stops it; "<" and ">" step; the mouse turns the view, nears it and
// moves the target. A picture of the animated view is left beside the test program.

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include "app/qt_user_port.h"
#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/session.h"
#include "common/view3d_settings.h"
#include "controllers/editor_controller.h"
#include "controllers/view_controller.h"
#include "dialogs/set_3d_options_form.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map_area.h"
#include "mainwindow/window_context.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "modal.h"
#include "print/sheet_view.h"
#include "support/fake_port.h"
#include "support/synthetic_sites.h"
#include "tin/triangulate.h"

using namespace terravue;
namespace v3 = settings::View3DOptions;
using terravue::testing::OnNextModal;

namespace {

template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* w = parent->findChild<T*>(QString::fromLatin1(name));
  if (!w) qFatal("no child %s", name);
  return w;
}

struct Window {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  gui::QtUserPort port{settings};
  Session session{model, settings, port, {}};
  gui::HelpViewer help{port, QString()};
  gui::MainWindow window{session, help};
  QTemporaryDir folder;

  // A rolling site, triangulated, saved and opened as the command line opens a model.
  Window() {
    model.AllocateStore();
    session.workDirectory = folder.path().toStdString();
    port.SetParentWindow(&window);
    window.resize(1000, 760);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("no window");
    testing::LoadSite(model, testing::RollingTerrain(400, 5));
    testing::FakePort quiet;
    Session making{model, settings, quiet, session.workDirectory};
    tin::Triangulate(making, window.Context().locate, {.quiet = true});
    const std::filesystem::path file = folder.filePath("SITE.MDL").toStdString();
    model::WriteModelFile(model, file, 1, model.PointCount, 2);
    model::OpenModelByName(session, file);
    window.ModelLoaded();
    QCoreApplication::processEvents();
  }

  gui::SheetView& Sheet() { return window.Map().Sheet(); }
  bool Animating() { return window.EditorCommands().Active().Has(app::CommandKind::Animate); }
  std::array<double, 3> Offsets() const {
    return {settings.Get(v3::ViewOffsetX), settings.Get(v3::ViewOffsetY), settings.Get(v3::ViewOffsetZ)};
  }
  double Distance() const {
    const auto o = Offsets();
    return std::sqrt(o[0] * o[0] + o[1] * o[1] + o[2] * o[2]);
  }
  void In3D() {
    settings.Set(v3::View3D, true);
    window.View().Regenerate();
  }
  // A left-button drag across the sheet from `from` by `by`, in moves of ten pixels.
  void Drag(QPoint from, QPoint by, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget& sheet = Sheet();
    QTest::mousePress(&sheet, Qt::LeftButton, modifiers, from);
    const int steps = std::max(1, std::max(std::abs(by.x()), std::abs(by.y())) / 10);
    for (int i = 1; i <= steps; ++i) {
      const QPointF at = from + by * i / steps;
      QMouseEvent move(QEvent::MouseMove, at, sheet.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, modifiers);
      QApplication::sendEvent(&sheet, &move);
    }
    QTest::mouseRelease(&sheet, Qt::LeftButton, modifiers, from + by);
    QCoreApplication::processEvents();
  }
  void Shot(const char* name) {
    QCoreApplication::processEvents();
    window.grab().save(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name)));
  }
};

}  // namespace

class View3DTest : public QObject {
  Q_OBJECT

 private slots:
  void optionsDialogShowsChecksAndHandsBackTheOptions() {
    SettingsRecord s = DefaultSettings();
    s.Set(v3::TargetX, 500.0);
    testing::FakePort port;
    gui::TSet3DOptionsForm form(port, s, {1, 2, 3}, {40, 50, 60});
    QCOMPARE(form.windowTitle(), QString("Set 3D Options"));
    QCOMPARE(Child<QLabel>(&form, "LabelXView")->text(), QString("Northing View Point >"));
    QCOMPARE(Child<QLineEdit>(&form, "EditXView")->text(), QString("-15000.000"));
    QCOMPARE(Child<QLineEdit>(&form, "EditYTarget")->text(), QString("500.000"));

    // Off, the view's controls are greyed; "Automatic" alone enables the delay.
    QVERIFY(!Child<QGroupBox>(&form, "GroupViewPoint")->isEnabled());
    QVERIFY(!Child<QGroupBox>(&form, "GroupAnimation")->isEnabled());
    Child<QCheckBox>(&form, "CBView3D")->setChecked(true);
    QVERIFY(Child<QGroupBox>(&form, "GroupTarget")->isEnabled());
    QVERIFY(!Child<QDoubleSpinBox>(&form, "UpDownDelay")->isEnabled());
    Child<QCheckBox>(&form, "CBAutomatic")->setChecked(true);
    QVERIFY(Child<QDoubleSpinBox>(&form, "UpDownDelay")->isEnabled());
    Child<QDoubleSpinBox>(&form, "UpDownDelay")->setValue(2.5);

    Child<QPushButton>(&form, "ButtonTargetToCursor")->click();
    QCOMPARE(Child<QLineEdit>(&form, "EditXTarget")->text(), QString("50.000"));  // northing first
    QCOMPARE(Child<QLineEdit>(&form, "EditZTarget")->text(), QString("60.000"));
    Child<QPushButton>(&form, "ButtonResetTarget")->click();
    QCOMPARE(Child<QLineEdit>(&form, "EditYTarget")->text(), QString("1.000"));

    // A movement type shows its unit and step; a step beyond its range gives the old one back.
    QComboBox* types = Child<QComboBox>(&form, "CBMovementType");
    QCOMPARE(types->count(), 9);
    types->setCurrentIndex(4);
    emit types->activated(4);
    QCOMPARE(Child<QLabel>(&form, "LabelStepUnit")->text(), QString("Feet >"));
    QLineEdit* step = Child<QLineEdit>(&form, "EditStep");
    QCOMPARE(step->text(), QString("200.000"));
    QCOMPARE(step->toolTip(), QString("Range = -25,000 to 25,000"));
    step->setText(QStringLiteral("30000"));
    emit step->editingFinished();
    QCOMPARE(step->text(), QString("200.000"));
    QCOMPARE(port.Texts(testing::FakePort::Kind::Error), std::vector<std::string>{"Number out of range."});
    step->setText(QStringLiteral("-350"));
    emit step->editingFinished();

    const app::View3DOptionsFields f = form.Fields();
    QVERIFY(f.view3D && f.automatic);
    QCOMPARE(f.movementType, 4);
    QCOMPARE(f.Step(), std::string("-350.000"));
    QCOMPARE(f.delayTenths, 25);
    QCOMPARE(f.firstTarget, std::string("2.000"));
  }

  void f3AnimatesWhileTheWindowAnswersAndEscStopsIt() {
    Window w;
    const double verticalStep = w.settings.Get(v3::StepRotateVertical);
    OnNextModal([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QString("Set 3D Options"));
      Child<QCheckBox>(dialog, "CBView3D")->setChecked(true);
      Child<QCheckBox>(dialog, "CBShadedSurface")->setChecked(true);
      Child<QCheckBox>(dialog, "CBAutomatic")->setChecked(true);
      Child<QPushButton>(dialog, "ButtonOK")->click();
    });
    QTest::keyClick(&w.window.Map(), Qt::Key_F3);
    QVERIFY(w.Animating());
    QCOMPARE(w.window.CommandLine().text(), QString(" Active Command: Animate (Press ESC to stop)"));

    // Frames turn the view while other events are handled between them.
    const auto start = w.Offsets();
    bool answered = false;
    QTimer::singleShot(30, [&] { answered = true; });
    QTRY_VERIFY(answered);
    QTRY_VERIFY(w.Offsets() != start);
    const int zoom = w.window.Context().zoom.level;
    QTest::keyClick(&w.window.Map(), 'i');  // zooming is let through during the animation
    QTRY_COMPARE(w.window.Context().zoom.level, zoom + 1);
    w.Shot("VIEW3D_ANIMATED.png");

    // Esc belongs to the window's Quit Active Command; the offscreen platform leaves no window
    // active once the options dialog has closed, as a desktop would.
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(&w.window.Map(), Qt::Key_Escape);
    QVERIFY(!w.Animating());
    QVERIFY(!w.settings.Get(v3::AutoAnimate));
    QCOMPARE(w.settings.Get(v3::StepRotateVertical), verticalStep);
    const auto stopped = w.Offsets();
    QTest::qWait(100);
    QCOMPARE(w.Offsets(), stopped);
    QVERIFY(w.window.CommandLine().text().isEmpty());
  }

  void closingTheWindowEndsTheAnimation() {
    Window w;
    w.settings.Set(v3::View3D, true);
    w.settings.Set(v3::AutoAnimate, true);
    OnNextModal([](QWidget* dialog) { Child<QPushButton>(dialog, "ButtonOK")->click(); });
    QTest::keyClick(&w.window.Map(), Qt::Key_F3);
    QVERIFY(w.Animating());
    QVERIFY(w.window.close());
    QVERIFY(!w.Animating());
  }

  void keysStepTheViewAndTheMouseTurnsNearsAndMovesIt() {
    Window w;
    // In the plan view the keys do nothing, and a drag ends in a click like any other.
    const auto plan = w.Offsets();
    QTest::keyClick(&w.window.Map(), '>');
    QCOMPARE(w.Offsets(), plan);
    const QPoint middle = w.window.Map().VisibleCentre();
    w.Drag(middle, {60, 0});
    QCOMPARE(w.Offsets(), plan);

    QCOMPARE(w.Sheet().cursor().shape(), Qt::ArrowCursor);
    w.In3D();
    QCOMPARE(w.Sheet().cursor().shape(), Qt::OpenHandCursor);
    QTest::keyClick(&w.window.Map(), '>');
    QVERIFY(w.Offsets() != plan);
    QTest::keyClick(&w.window.Map(), '<');
    QVERIFY(std::abs(w.Offsets()[0] - plan[0]) < 1e-6 && std::abs(w.Offsets()[1] - plan[1]) < 1e-6);

    // Dragging turns the view about the target without moving the cursor.
    const app::CursorState cursor = w.window.Context().cursor;
    const double distance = w.Distance();
    w.Drag(middle, {80, 0});
    QVERIFY(w.Offsets() != plan);
    QVERIFY(std::abs(w.Distance() - distance) < 1e-6);
    QCOMPARE(w.window.Context().cursor.x, cursor.x);

    // The wheel brings the view point nearer.
    QWheelEvent wheel(QPointF(middle), w.Sheet().mapToGlobal(QPointF(middle)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w.Sheet(), &wheel);
    QVERIFY(std::abs(w.Distance() - 0.85 * distance) < 1e-6);

    // Shift and a drag move the target.
    const double targetX = w.settings.Get(v3::TargetX), targetY = w.settings.Get(v3::TargetY);
    w.Drag(middle, {0, 40}, Qt::ShiftModifier);
    QVERIFY(w.settings.Get(v3::TargetX) != targetX || w.settings.Get(v3::TargetY) != targetY);
  }
};

QTEST_MAIN(View3DTest)
#include "view3d_test.moc"

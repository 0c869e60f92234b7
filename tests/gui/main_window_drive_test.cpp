// The main window driven as a user drives it: open a model, move the pointer, click, step with
// the arrows, zoom, switch editors, start an active command and quit it with ESC. Every entry
// point of a command runs the one command of the table. Pictures of the window (no data, a
// triangulated model, an active command) are written beside the test program.

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "app/qt_user_port.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "controllers/editor_controller.h"
#include "controllers/view_controller.h"
#include "help/help_viewer.h"
#include "mainwindow/editor_bar.h"
#include "mainwindow/key_router.h"
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

namespace settings = terravue::settings;
using terravue::app::CommandId;
using terravue::app::CommandKind;
using terravue::app::Editor;
using terravue::gui::CommandOf;
using terravue::gui::MainWindow;
using terravue::testing::OnNextModal;

namespace {

struct Fixture {
  terravue::model::SurfaceModel model;
  terravue::SettingsRecord settings = terravue::DefaultSettings();
  terravue::gui::QtUserPort port{settings};
  terravue::Session session{model, settings, port, {}};
  terravue::gui::HelpViewer help{port, QString()};
  MainWindow window{session, help};
  QTemporaryDir folder;

  Fixture() {
    model.AllocateStore();
    session.workDirectory = folder.path().toStdString();
    port.SetParentWindow(&window);
    port.SetModelStateHandler([this] { window.RefreshCaption(); });
    window.resize(1000, 760);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }

  // A rolling site triangulated inside its convex border, saved as SITE.MDL and opened again
  // the way the command line opens it.
  void OpenSite() {
    terravue::testing::LoadSite(model, terravue::testing::RollingTerrain(150, 11));
    terravue::tin::TriangulateOptions options;
    options.quiet = true;
    // Made as the batch tool would make it: the convex border's note goes to a scripted user.
    terravue::testing::FakePort quiet;
    terravue::Session making{model, settings, quiet, session.workDirectory};
    terravue::tin::Triangulate(making, window.Context().locate, options);
    QVERIFY(model.TriangleCount > 0);
    const std::filesystem::path file = folder.filePath("SITE.MDL").toStdString();
    QCOMPARE(terravue::model::WriteModelFile(model, file, 1, model.PointCount, 2),
             terravue::model::ModelFileStatus::Ok);
    QVERIFY(terravue::model::OpenModelByName(session, file));
    window.ModelLoaded();
    QTRY_VERIFY(Sheet().Geometry().has_value());
  }

  terravue::gui::SheetView& Sheet() { return window.Map().Sheet(); }
  terravue::app::CursorState& Cursor() { return window.Context().cursor; }

  void Shot(const char* name) {
    QCoreApplication::processEvents();
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
    QVERIFY2(window.grab().save(path), qPrintable(path));
  }

  // The shown actions of the window that run `id`.
  QList<QAction*> ActionsOf(CommandId id) {
    QList<QAction*> found;
    for (QAction* a : window.findChildren<QAction*>())
      if (CommandOf(a) == id) found.push_back(a);
    return found;
  }
  QAction* ToolButton(CommandId id) {
    for (QAction* a : window.ToolBar().actions())
      if (CommandOf(a) == id) return a;
    return nullptr;
  }
};

}  // namespace

class MainWindowDriveTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutDataOnlyTheFileBasicsAreOffered() {
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QString("Terravue <No Data Loaded>"));
    QVERIFY(!f.window.Editors().isVisible());
    QCOMPARE(f.window.MouseLine().text(), QString("Mouse:"));
    QCOMPARE(f.window.CursorLine().text(), QString("Cursor:"));
    QStringList buttons;
    for (QAction* a : f.window.ToolBar().actions())
      if (a->isVisible()) buttons << a->toolTip();
    QCOMPARE(buttons, QStringList({"Exit", "New", "Open", "Printer Setup"}));
    f.Shot("window-no-data.png");
  }

  void drivenAsANewUser() {
    Fixture f;
    f.settings.Set(terravue::app::CursorOptions::CursorStep, 10.0);
    f.OpenSite();
    QCOMPARE(f.window.windowTitle(), QString("Terravue <SITE.MDL> (unmodified)"));
    QVERIFY(f.window.Editors().isVisible());

    // The pointer over the middle of the sheet: position, elevation and nearest point.
    QWidget& sheet = f.Sheet();
    const QPoint middle = f.window.View().ToSheet(f.model.MidX, f.model.MidY, f.model.MidZ).toPoint();
    QMouseEvent move(QEvent::MouseMove, QPointF(middle), sheet.mapToGlobal(QPointF(middle)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&sheet, &move);
    QVERIFY2(f.window.MouseLine().text().startsWith("Mouse:  Northing = "), qPrintable(f.window.MouseLine().text()));
    QVERIFY(f.window.MouseLine().text().contains("  Nearest point = #"));
    QVERIFY(!f.window.MouseLine().text().contains("N/A"));

    // A click moves the cross-hair there and rewrites the cursor line.
    const QPoint target = middle + QPoint(15, -10);
    QTest::mouseClick(&sheet, Qt::LeftButton, Qt::NoModifier, target);
    const auto world = f.window.View().ToWorld(target);
    QCOMPARE(f.Cursor().x, world.x);
    QCOMPARE(f.Cursor().y, world.y);
    const QString clicked = f.window.CursorLine().text();
    QVERIFY(clicked.startsWith("Cursor:  Northing = "));
    QVERIFY(clicked.contains("  Nearest point = #"));

    // The arrows step the cursor by the cursor step.
    const double y = f.Cursor().y;
    QTest::keyClick(&f.window.Map(), Qt::Key_Up);
    QCOMPARE(f.Cursor().y, y + 10);
    QVERIFY(f.window.CursorLine().text() != clicked);
    QTest::keyClick(&f.window.Map(), Qt::Key_Down);
    QCOMPARE(f.Cursor().y, y);

    // "=" zooms in, "-" out again; the zoom list follows.
    auto* zoomList = f.window.findChild<QComboBox*>("ZoomList");
    QVERIFY(zoomList);
    QTRY_VERIFY(zoomList->isVisible());  // the tool bar lays its widgets out when it is next shown
    QTest::keyClick(&f.window.Map(), '=');
    QCOMPARE(f.window.Context().zoom.level, 2);
    QCOMPARE(zoomList->currentText(), QString("2"));
    QTest::keyClick(&f.window.Map(), '-');
    QCOMPARE(f.window.Context().zoom.level, 1);
    QCOMPARE(zoomList->currentText(), QString("1"));
    f.Shot("window-triangulated.png");

    // The Border Editor's button: its folder opens, its letters take over.
    f.ToolButton(CommandId::SelectBorderEditor)->trigger();
    QCOMPARE(f.window.Context().editors.active, Editor::Border);
    QCOMPARE(f.window.Editors().Folder(), Editor::Border);
    QVERIFY(f.ToolButton(CommandId::SelectBorderEditor)->isChecked());

    // "N" starts New Border; only "N" is taken now, and the editors stay as they are.
    const std::vector<terravue::PointIndex> borderBefore = f.model.BorderNext;
    QTest::keyClick(&f.window.Map(), 'n');
    QVERIFY(f.window.EditorCommands().Active().Has(CommandKind::NewBorder));
    QCOMPARE(f.window.CommandLine().text(),
             QString(" Active Command: New Border (click = Add : [shift]click = Delete) - 0"));
    QTest::mouseClick(&sheet, Qt::LeftButton, Qt::NoModifier, middle);
    QCOMPARE(f.window.CommandLine().text(),
             QString(" Active Command: New Border (click = Add : [shift]click = Delete) - 1"));
    QTest::keyClick(&f.window.Map(), 'd');  // Delete Border Pt: not while New Border runs
    QTest::keyClick(&f.window.Map(), 'c');  // Convex neither
    QVERIFY(borderBefore == f.model.BorderNext);
    QVERIFY(!f.ToolButton(CommandId::SelectCoordinateEditor)->isEnabled());
    f.window.Editors().setCurrentIndex(static_cast<int>(Editor::Coordinate));  // the user opens a folder
    QCOMPARE(f.window.Context().editors.active, Editor::Border);
    QCOMPARE(f.window.Editors().Folder(), Editor::Border);
    QVERIFY(f.ActionsOf(CommandId::QuitActiveCommand).front()->isVisible());
    f.Shot("window-active-command.png");

    // ESC asks before dropping the unclosed border; Yes ends the command.
    QString question;
    OnNextModal([&](QWidget* w) {
      question = w->property("text").toString();
      for (auto* b : w->findChildren<QAbstractButton*>())
        if (b->text() == "&Yes") b->click();
    });
    QTest::keyClick(&f.window.Map(), Qt::Key_Escape);
    QCOMPARE(question, QString("The new border is not closed.\nDo you wish to abort the 'New Border' command?"));
    QVERIFY(!f.window.EditorCommands().Active().Any());
    QCOMPARE(f.window.CommandLine().text(), QString());
    QVERIFY(!f.ActionsOf(CommandId::QuitActiveCommand).front()->isVisible());
    QVERIFY(f.ToolButton(CommandId::SelectCoordinateEditor)->isEnabled());

    // Back to the General commands by the same button.
    f.ToolButton(CommandId::SelectBorderEditor)->trigger();
    QCOMPARE(f.window.Context().editors.active, Editor::General);
    QVERIFY(!f.ToolButton(CommandId::SelectBorderEditor)->isChecked());
  }

  // Keys go by the text they make and by Shift, with the keypad's modifier masked off.
  void keysAreTakenByTheirTextAndShift() {
    using terravue::gui::ClassifyKeyPress;
    using Kind = terravue::gui::KeyAction::Kind;
    struct Row {
      int key;
      const char* text;
      Qt::KeyboardModifiers modifiers;
      Kind kind;
      CommandId command;
    };
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, pad = Qt::KeypadModifier;
    const Row rows[] = {
        {Qt::Key_Equal, "=", none, Kind::Command, CommandId::ZoomIn},
        {Qt::Key_Plus, "+", pad, Kind::Command, CommandId::ZoomIn},
        {Qt::Key_Plus, "+", shift, Kind::Command, CommandId::QuickZoom},
        {Qt::Key_Plus, "+", shift | pad, Kind::Command, CommandId::QuickZoom},
        {Qt::Key_Minus, "-", pad, Kind::Command, CommandId::ZoomOut},
        {Qt::Key_Underscore, "_", shift, Kind::Command, CommandId::QuickUnzoom},
        {Qt::Key_Space, " ", none, Kind::Command, CommandId::CentreOnCursor},
        {Qt::Key_Escape, "\x1b", none, Kind::Command, CommandId::QuitActiveCommand},
        {Qt::Key_F9, "", none, Kind::Command, CommandId::Length},
        {Qt::Key_F9, "", Qt::ControlModifier, Kind::None, CommandId::Count_},
        {Qt::Key_N, "n", none, Kind::Letter, CommandId::Count_},
        {Qt::Key_N, "\x0e", Qt::ControlModifier, Kind::None, CommandId::Count_},
        {Qt::Key_Home, "", shift, Kind::Step, CommandId::Count_},
    };
    for (const Row& r : rows) {
      const auto a = ClassifyKeyPress(r.key, QString::fromLatin1(r.text), r.modifiers);
      QCOMPARE(a.kind, r.kind);
      if (r.kind == Kind::Command) QCOMPARE(a.command, r.command);
    }
    QCOMPARE(ClassifyKeyPress(Qt::Key_N, "n", none).letter, 'N');
    QVERIFY(ClassifyKeyPress(Qt::Key_Home, "", shift).shift);

    using terravue::gui::IsShiftClick;
    QVERIFY(IsShiftClick(shift));
    QVERIFY(IsShiftClick(shift | pad));
    QVERIFY(!IsShiftClick(shift | Qt::ControlModifier));
    QVERIFY(!IsShiftClick(Qt::ControlModifier));
    QVERIFY(!IsShiftClick(none));
    QVERIFY(terravue::gui::IsClearRecentFilesRelease(Qt::Key_F1, Qt::AltModifier));
  }

  // Menus, tool bar, editor bar, context menu, letter and function keys all end in the table's
  // one handler of a command.
  void everyEntryPointRunsTheOneCommand() {
    Fixture f;
    f.OpenSite();
    terravue::gui::CommandTable& table = f.window.Commands();

    struct Case {
      CommandId id;
      int places;  // actions in menus, tool bar, editor bar and context menu
      QList<QKeySequence> keys;
    };
    const Case cases[] = {
        {CommandId::JumpToPoint, 3, {QKeySequence("J"), QKeySequence(Qt::Key_F5)}},
        {CommandId::ZoomIn, 4, {QKeySequence("I"), QKeySequence("=")}},
        {CommandId::MapOptions, 5, {QKeySequence("M"), QKeySequence(Qt::Key_F4)}},
    };
    for (const Case& c : cases) {
      int runs = 0;
      table.SetHandler(c.id, [&runs] { ++runs; });
      const QList<QAction*> actions = f.ActionsOf(c.id);
      QCOMPARE(actions.size(), c.places);
      for (QAction* a : actions) {
        QVERIFY2(a->isEnabled(), qPrintable(a->text()));
        a->trigger();
      }
      for (const QKeySequence& key : c.keys) QTest::keySequence(&f.window.Map(), key);
      QCOMPARE(runs, c.places + static_cast<int>(c.keys.size()));
    }
  }
};

QTEST_MAIN(MainWindowDriveTest)
#include "main_window_drive_test.moc"

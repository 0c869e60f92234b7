// The main window driven as a user drives it: open a model, move the pointer, click, step with
// the arrows, zoom, switch editors, start an active command and quit it with ESC. Every entry
// point of a command runs the one command of the table. Pictures of the window (no data, a
// triangulated model, an active command) are written beside the test program.

#include <cmath>
#include <map>

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

  // The entries of the menus, tool bar, editor bar and context menu that run `id`.
  QList<QAction*> EntriesOf(CommandId id) {
    QList<QAction*> found = ActionsOf(id);
    for (QAction* key : window.Commands().KeyActions()) found.removeAll(key);
    return found;
  }
  // The actions of the window that run `id`, its key action included.
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
    const auto borderBefore = f.model.BorderNext;
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
    QVERIFY(f.EntriesOf(CommandId::QuitActiveCommand).front()->isVisible());
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
    QVERIFY(!f.EntriesOf(CommandId::QuitActiveCommand).front()->isVisible());
    QVERIFY(f.ToolButton(CommandId::SelectCoordinateEditor)->isEnabled());

    // Back to the General commands by the same button.
    f.ToolButton(CommandId::SelectBorderEditor)->trigger();
    QCOMPARE(f.window.Context().editors.active, Editor::General);
    QVERIFY(!f.ToolButton(CommandId::SelectBorderEditor)->isChecked());
  }

  // Ctrl with the wheel and the zoom keys keep the ground under the pointer where it is; the
  // middle button, or Space held with the left one, drags the sheet; Space alone centres.
  void theMapZoomsAndPansUnderThePointer() {
    Fixture f;
    f.OpenSite();
    terravue::gui::MapArea& map = f.window.Map();
    QWidget* viewport = map.viewport();
    QWidget& sheet = f.Sheet();
    // Near the middle, where the sheet can still be scrolled to keep any point in place.
    const QPoint at = viewport->rect().center() + QPoint(12, 8);
    auto send = [&](QEvent::Type type, QPoint viewportPos, Qt::MouseButton button, Qt::MouseButtons held) {
      const QPoint local = viewportPos - map.SheetOffset();
      QMouseEvent e(type, QPointF(local), sheet.mapToGlobal(QPointF(local)), button, held, Qt::NoModifier);
      QApplication::sendEvent(&sheet, &e);
    };
    auto groundUnder = [&](QPoint viewportPos) { return f.window.View().ToWorld(viewportPos - map.SheetOffset()); };
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    const auto ground = groundUnder(at);

    QWheelEvent wheel(QPointF(at), viewport->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    // The ground under the pointer stays within a few screen pixels of it (whole-pixel scrolling
    // at each step).
    auto stays = [&] {
      const auto next = groundUnder(at + QPoint(1, 0));
      const double pixel = std::hypot(next.x - groundUnder(at).x, next.y - groundUnder(at).y);
      const double moved = std::hypot(groundUnder(at).x - ground.x, groundUnder(at).y - ground.y);
      QVERIFY2(moved < 3 * pixel, qPrintable(QString("%1 pixels").arg(moved / pixel)));
    };
    QApplication::sendEvent(viewport, &wheel);
    QCOMPARE(f.window.Context().zoom.level, 2);
    stays();
    QTest::keyClick(&map, '=');  // the pointer has not moved
    QCOMPARE(f.window.Context().zoom.level, 4);
    stays();

    // The middle button drags the sheet with the pointer.
    const QPoint before = map.ScrollPosition();
    send(QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::MiddleButton);
    send(QEvent::MouseMove, at - QPoint(40, 30), Qt::NoButton, Qt::MiddleButton);
    send(QEvent::MouseButtonRelease, at - QPoint(40, 30), Qt::MiddleButton, Qt::NoButton);
    QCOMPARE(map.ScrollPosition(), before + QPoint(40, 30));

    // Space held: the left button drags too, and nothing is clicked or centred. The key's
    // repeat comes as a release and a press of one moment on some X servers, unmarked: the
    // hold goes on through it.
    auto space = [&](QEvent::Type type, quint64 time) {
      QKeyEvent e(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
      e.setTimestamp(time);
      QApplication::sendEvent(&map, &e);
    };
    const auto cursor = f.Cursor();
    space(QEvent::KeyPress, 1000);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    space(QEvent::KeyRelease, 1500);
    space(QEvent::KeyPress, 1500);
    QTest::qWait(2 * terravue::gui::MapArea::SpaceReleaseDelayMs);
    send(QEvent::MouseMove, at + QPoint(40, 30), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at + QPoint(40, 30), Qt::LeftButton, Qt::NoButton);
    space(QEvent::KeyRelease, 1600);
    QTRY_VERIFY(!map.Panning());
    QCOMPARE(map.ScrollPosition(), before);
    QCOMPARE(f.Cursor().x, cursor.x);
    QTest::qWait(2 * terravue::gui::MapArea::SpaceReleaseDelayMs);
    QCOMPARE(map.ScrollPosition(), before);  // the drag's release centred nothing

    // Space tapped alone centres the view on the cursor.
    space(QEvent::KeyPress, 2000);
    space(QEvent::KeyRelease, 2100);
    const QPointF centre = f.window.View().ToSheet(f.Cursor().x, f.Cursor().y, f.Cursor().z);
    QTRY_VERIFY((centre - QPointF(map.VisibleCentre())).manhattanLength() < 4);  // whole pixels both ways
  }

  // Keys go by the text they make and by Shift; the keypad's "+" with Shift is the quick zoom.
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
        {Qt::Key_Plus, "+", shift, Kind::Command, CommandId::ZoomIn},  // "+" typed as Shift with "="
        {Qt::Key_Plus, "+", shift | pad, Kind::Command, CommandId::QuickZoom},
        {Qt::Key_Minus, "-", pad, Kind::Command, CommandId::ZoomOut},
        {Qt::Key_Underscore, "_", shift, Kind::Command, CommandId::QuickUnzoom},
        {Qt::Key_Space, " ", none, Kind::Command, CommandId::CentreOnCursor},
        // Function keys and Esc belong to the commands' actions, window-wide.
        {Qt::Key_Escape, "\x1b", none, Kind::None, CommandId::Count_},
        {Qt::Key_F9, "", none, Kind::None, CommandId::Count_},
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
      int places;  // entries in menus, tool bar, editor bar and context menu, and the key action
      QList<QKeySequence> keys;
    };
    const Case cases[] = {
        {CommandId::JumpToPoint, 4, {QKeySequence("J"), QKeySequence(Qt::Key_F5)}},
        {CommandId::ZoomIn, 4, {QKeySequence("I"), QKeySequence("=")}},
        {CommandId::MapOptions, 6, {QKeySequence("M"), QKeySequence(Qt::Key_F4)}},
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

  // Every function key and desktop shortcut runs its command once, wherever the focus is in the
  // window, and no key is claimed twice.
  void keysWorkAnywhereInTheWindow() {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
      warnings << m;
    });
    Fixture f;
    f.OpenSite();
    terravue::gui::CommandTable& table = f.window.Commands();
    const std::pair<QKeySequence, CommandId> keys[] = {
        {QKeySequence(Qt::Key_F2), CommandId::CursorOptions}, {QKeySequence(Qt::Key_F3), CommandId::View3D},
        {QKeySequence(Qt::Key_F4), CommandId::MapOptions},    {QKeySequence(Qt::Key_F5), CommandId::JumpToPoint},
        {QKeySequence(Qt::Key_F6), CommandId::QueryPoint},    {QKeySequence(Qt::Key_F7), CommandId::SetScale},
        {QKeySequence(Qt::Key_F8), CommandId::ZoomOptions},   {QKeySequence(Qt::Key_F9), CommandId::Length},
        {QKeySequence("Ctrl+N"), CommandId::New},             {QKeySequence("Ctrl+O"), CommandId::OpenSurface},
        {QKeySequence("Ctrl+S"), CommandId::SaveSurface},     {QKeySequence("Ctrl+Shift+S"), CommandId::SaveSurfaceAs},
        {QKeySequence("Ctrl+P"), CommandId::Print},           {QKeySequence("Ctrl+Q"), CommandId::Exit},
        {QKeySequence(Qt::Key_F1), CommandId::HelpContents},
    };
    std::map<CommandId, int> runs;
    for (const auto& [key, id] : keys) table.SetHandler(id, [&runs, id = id] { ++runs[id]; });
    f.window.RefreshUi();
    // The focus on the editor bar's folder rather than on the map.
    QWidget* elsewhere = &f.window.Editors();
    for (const auto& [key, id] : keys) {
      QTest::keySequence(elsewhere, key);
      QVERIFY2(runs[id] == 1, qPrintable(key.toString()));
    }
    qInstallMessageHandler(previous);
    for (const QString& w : warnings) QVERIFY2(!w.contains("Ambiguous"), qPrintable(w));
    // The menus show the keys beside the captions.
    bool shown = false;
    for (QAction* a : f.ActionsOf(CommandId::MapOptions)) shown = shown || a->text().endsWith("\tF4");
    QVERIFY(shown);
  }
};

QTEST_MAIN(MainWindowDriveTest)
#include "main_window_drive_test.moc"

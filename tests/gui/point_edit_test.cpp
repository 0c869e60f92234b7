// Editing points in the window: Add and Delete Point from the map's pop-up menu, each one step
// of Undo and Redo; Undelete; and the dialogs on their own: the point dialog's fields and
// refusals, the pair choice of Verify's interactive edit, the Verify dialog's run and the
// Remove Points dialog. Pictures of the dialogs are written beside the test program.

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/model_history.h"
#include "app/point_commands.h"
#include "app/settings_file.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "dialogs/point_edit/interactive_edit_form.h"
#include "dialogs/point_edit/point_form.h"
#include "dialogs/point_edit/remove_form.h"
#include "dialogs/point_edit/verify_form.h"
#include "editors/text_editor/text_editor_form.h"
#include "mainwindow/main_window.h"
#include "mainwindow/window_context.h"
#include "modal.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "window_fixture.h"

using namespace terravue;
using app::CommandId;
using terravue::testing::FakePort;
using terravue::testing::OnModalWhere;
using terravue::testing::Child;
using terravue::testing::OnNextModal;

namespace {

void Click(QWidget* w, const char* button) { Child<QPushButton>(w, button)->click(); }

void Shot(QWidget* w, const char* name) {
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
  QVERIFY2(w->grab().save(path), qPrintable(path));
}

bool Titled(QWidget* w, const char* title) { return w->windowTitle() == QString::fromLatin1(title); }

// A session of its own with a scripted user, for the dialogs on their own.
struct Scripted {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  FakePort port;
  Session session{model, settings, port, {}};
  QTemporaryDir folder;
  Scripted() {
    model.AllocateStore();
    session.workDirectory = folder.path().toStdString();
  }
  PointIndex Add(double x, double y, double z) {
    const PointIndex p = ++model.PointCount;
    model.PointX[p] = x;
    model.PointY[p] = y;
    model.PointZ[p] = z;
    model.SetPointLabel(p, std::to_string(p));
    model.ComputeExtents();
    return p;
  }
};

// The window over a triangulated rolling site, in the Coordinate Editor.
struct Window : testing::WindowFixture {
  explicit Window(const testing::SyntheticSite& site = testing::RollingTerrain(60, 7)) {
    model.AllocateStore();
    testing::LoadSite(model, site);
    FakePort quiet;
    Session making{model, settings, quiet, session.workDirectory};
    tin::TriangulateOptions options;
    options.quiet = true;
    tin::Triangulate(making, window.Context().locate, options);
    window.resize(900, 700);
    window.show();
    window.ModelLoaded();
    window.Commands().Run(CommandId::SelectCoordinateEditor);
  }
  // The map pop-up's entry for the command, as the user finds it there.
  QAction* PopUp(CommandId id) {
    for (QAction* a : window.ContextMenu().actions())
      if (gui::CommandOf(a) == id) return a;
    return nullptr;
  }
  // The Edit menu's Undo item, which names the step it takes back.
  QString UndoText() {
    for (QAction* a : window.findChildren<QAction*>())
      if (gui::CommandOf(a) == CommandId::Undo && a->parent() != &window.Commands()) return a->text();
    return {};
  }
  // A point off the border, the cursor on it.
  PointIndex CursorOnInnerPoint() {
    for (PointIndex p = 1; p <= model.PointCount; ++p) {
      if (model.BorderNext[p] != NoPoint) continue;
      window.Context().cursor = {model.PointX[p], model.PointY[p], model.PointZ[p], true};
      return p;
    }
    return NoPoint;
  }
};

}  // namespace

class PointEditTest : public QObject {
  Q_OBJECT

 private slots:
  void deleteAndAddFromThePopUpAreEachOneUndoStep() {
    Window w;
    QAction* del = w.PopUp(CommandId::CoordinateDelete);
    QAction* add = w.PopUp(CommandId::CoordinateAdd);
    QVERIFY(del && add);
    QVERIFY(del->isVisible() && del->isEnabled());
    QVERIFY(add->isVisible() && add->isEnabled());
    const int points = w.model.PointCount;
    const app::ModelSnapshot before = app::ModelSnapshot::Of(w.model);
    const PointIndex p = w.CursorOnInnerPoint();
    const double x = w.model.PointX[p];

    // Delete Point shows the point greyed; OK deletes it and the surface stays whole.
    bool greyed = false;
    OnModalWhere([](QWidget* m) { return Titled(m, "Delete Point"); }, [&](QWidget* m) {
      greyed = !Child<QLineEdit>(m, "EditNorth")->isEnabled();
      Click(m, "ButtonOK");
    });
    del->trigger();
    QVERIFY(greyed);
    QCOMPARE(int(w.model.PointCount), points - 1);
    QVERIFY(w.model.TriangleCount > 0);
    QVERIFY(model::CheckTopology(w.model).empty());
    const app::ModelSnapshot deleted = app::ModelSnapshot::Of(w.model);
    QCOMPARE(w.UndoText(), QString("&Undo Delete Point\tCtrl+Z"));

    QVERIFY(w.window.Commands().Run(CommandId::Undo));
    QVERIFY(before.Matches(w.model));
    QVERIFY(w.window.Commands().Run(CommandId::Redo));
    QVERIFY(deleted.Matches(w.model));

    // Add Point proposes the cursor's place; the label typed is kept.
    OnModalWhere([](QWidget* m) { return Titled(m, "Add Point"); }, [&](QWidget* m) {
      Child<QLineEdit>(m, "EditLabel")->setText("NEW");
      Click(m, "ButtonOK");
    });
    add->trigger();
    QCOMPARE(int(w.model.PointCount), points);
    QCOMPARE(w.model.PointX[points], x);
    QCOMPARE(QString::fromStdString(w.model.GetPointLabel(points)), QString(" NEW"));
    QCOMPARE(w.UndoText(), QString("&Undo Add Point\tCtrl+Z"));
    QVERIFY(w.window.Commands().Run(CommandId::Undo));
    QVERIFY(deleted.Matches(w.model));

    // The deleted point is still on the undelete stack.
    OnModalWhere([](QWidget* m) { return Titled(m, "Undelete Point"); }, [](QWidget* m) { Click(m, "ButtonOK"); });
    QVERIFY(w.window.Commands().Run(CommandId::CoordinateUndelete));
    QCOMPARE(int(w.model.PointCount), points);
    QCOMPARE(w.model.PointX[points], x);
    QCOMPARE(w.UndoText(), QString("&Undo Undelete Point\tCtrl+Z"));
  }

  // The text editor's Verify and Remove are the Coordinate Editor's dialogs, shown over the
  // editor; what they change is part of the editor's one step of Undo.
  void textEditorVerifyAndRemoveAreTheCoordinateEditorDialogs() {
    Window w(testing::ConcaveBorderSite(120, 5));
    const app::ModelSnapshot before = app::ModelSnapshot::Of(w.model);
    const int points = w.model.PointCount;
    const PointIndex p = w.CursorOnInnerPoint();
    QVERIFY(p != NoPoint);
    const double north = w.model.PointY[p];
    QString location;
    bool verifyOverEditor = false, removeOverEditor = false;
    int rowsAfterRemove = 0;
    PointIndex activeAfterRemove = NoPoint;
    OnModalWhere([](QWidget* m) { return Titled(m, "Coordinate Editor"); }, [&](QWidget* m) {
      auto* editor = qobject_cast<gui::TTextEditorForm*>(m);
      QVERIFY(editor);
      QCOMPARE(editor->ActivePoint(), p);
      OnModalWhere([](QWidget* v) { return Titled(v, "Verify"); }, [&](QWidget* v) {
        verifyOverEditor = v->parentWidget() == editor;
        location = Child<QLineEdit>(v, "EditXLocation")->text();  // the Northing
        Click(v, "ButtonCancel");
      });
      editor->RunCommand('V');
      OnModalWhere([](QWidget* r) { return Titled(r, "Remove Points"); }, [&](QWidget* r) {
        removeOverEditor = r->parentWidget() == editor;
        Child<QCheckBox>(r, "CBInterior")->setChecked(true);
        Child<QCheckBox>(r, "CBExterior")->setChecked(false);
        OnModalWhere([](QWidget* b) { return qobject_cast<QMessageBox*>(b) != nullptr; },
                     [](QWidget* b) { qobject_cast<QMessageBox*>(b)->accept(); });
        Click(r, "ButtonOK");
      });
      editor->RunCommand('R');
      rowsAfterRemove = editor->Table().model()->rowCount();
      activeAfterRemove = editor->ActivePoint();
      editor->RunCommand('X');
    });
    QVERIFY(w.window.Commands().Run(CommandId::CoordinateTextEditor));
    QVERIFY(verifyOverEditor);
    QCOMPARE(location, QString::number(north, 'f', 3));
    QVERIFY(removeOverEditor);
    QVERIFY(int(w.model.PointCount) < points);
    QCOMPARE(rowsAfterRemove, int(w.model.PointCount));
    QCOMPARE(activeAfterRemove, PointIndex{1});
    QVERIFY(w.window.Commands().Run(CommandId::Undo));
    QVERIFY(before.Matches(w.model));
  }

  void cancellingThePointDialogChangesNothingAndLeavesNoUndoStep() {
    Window w;
    w.CursorOnInnerPoint();
    const app::ModelSnapshot before = app::ModelSnapshot::Of(w.model);
    OnModalWhere([](QWidget* m) { return Titled(m, "Edit Point"); }, [](QWidget* m) { Click(m, "ButtonCancel"); });
    QVERIFY(w.window.Commands().Run(CommandId::CoordinateEdit));
    QVERIFY(before.Matches(w.model));
    QVERIFY(!w.window.Context().history.CanUndo());
  }

  void pointFormShowsTheCoordinatesInTheUsersOrder_data() {
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("firstCaption");
    QTest::addColumn<QString>("firstField");
    QTest::newRow("Northing-Easting") << 0 << "Northing >" << "200.000";
    QTest::newRow("Easting-Northing") << 1 << "X >" << "100.000";
  }
  void pointFormShowsTheCoordinatesInTheUsersOrder() {
    QFETCH(int, order);
    QFETCH(QString, firstCaption);
    QFETCH(QString, firstField);
    Scripted s;
    s.settings.Set(settings::CoordinateOrder, order);
    gui::TPointForm form(s.session, {});
    QString caption, first, number;
    OnNextModal([&](QWidget* m) {
      caption = Child<QLabel>(m, "LabelNorth")->text();
      first = Child<QLineEdit>(m, "EditNorth")->text();
      number = Child<QLabel>(m, "LabelNumber")->text();
      QVERIFY(Child<QLineEdit>(m, "EditElev")->isEnabled());
      QVERIFY(!Child<QPushButton>(m, "ButtonHelp")->isVisible());
      Child<QLineEdit>(m, "EditElev")->setText("12.5");
      Shot(m, order ? "point_form_xy.png" : "point_form.png");
      Click(m, "ButtonOK");
    });
    const auto values = form.Show({"Edit Point", 7, {"  A1", 100, 200, 3}, false, app::EditPointHelp});
    QCOMPARE(form.windowTitle(), QString("Edit Point"));
    QCOMPARE(caption, firstCaption);
    QCOMPARE(first, firstField);
    QCOMPARE(number, QString("7"));
    QVERIFY(values.has_value());
    QCOMPARE(values->x, 100.0);
    QCOMPARE(values->y, 200.0);
    QCOMPARE(values->z, 12.5);
    QCOMPARE(QString::fromStdString(values->label), QString("  A1"));
  }

  void pointFormRefusesAFieldThatIsNotANumberAndStaysOpen() {
    Scripted s;
    gui::TPointForm form(s.session, {});
    bool stayedOpen = false;
    QWidget* focused = nullptr;
    OnNextModal([&](QWidget* m) {
      auto* east = Child<QLineEdit>(m, "EditEast");
      east->setText("12x");
      Click(m, "ButtonOK");
      stayedOpen = m->isVisible();
      focused = QApplication::focusWidget();
      east->setText("12");
      Click(m, "ButtonOK");
    });
    const auto values = form.Show({"Add Point", 1, {"1", 0, 0, 0}, false, app::AddPointHelp});
    QVERIFY(stayedOpen);
    QCOMPARE(focused, static_cast<QWidget*>(form.findChild<QLineEdit*>("EditEast")));
    QCOMPARE(s.port.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::InvalidEasting)});
    QVERIFY(values.has_value());
    QCOMPARE(values->x, 12.0);
  }

  void pointFormReadOnlyHandsBackWhatItShowed() {
    Scripted s;
    int helpAsked = 0;
    gui::TPointForm form(s.session, [&](int context) { helpAsked = context; });
    bool anyEnabled = true;
    OnNextModal([&](QWidget* m) {
      anyEnabled = false;
      for (const char* f : {"EditLabel", "EditNorth", "EditEast", "EditElev"})
        anyEnabled = anyEnabled || Child<QLineEdit>(m, f)->isEnabled();
      Click(m, "ButtonHelp");
      Click(m, "ButtonOK");
    });
    const auto values = form.Show({"Undelete Point", 9, {"OLD", 1.23456, 2, 3}, true, app::UndeletePointHelp});
    QVERIFY(!anyEnabled);
    QCOMPARE(helpAsked, app::UndeletePointHelp);
    QVERIFY(values.has_value());
    QCOMPARE(values->x, 1.23456);
  }

  void pairDialogFocusesTheSuggestionAndReturnsTheChoice_data() {
    QTest::addColumn<int>("suggested");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("pressed");  // a button, or "Escape", or "Close"
    QTest::addColumn<int>("choice");
    using tin::PairChoice;
    QTest::newRow("SecondSuggestedBothChosen")
        << int(PairChoice::Second) << "ButtonSecond" << "ButtonBoth" << int(PairChoice::Both);
    QTest::newRow("FirstSuggestedFirstChosen")
        << int(PairChoice::First) << "ButtonFirst" << "ButtonFirst" << int(PairChoice::First);
    QTest::newRow("NeitherSuggested") << int(PairChoice::Neither) << "ButtonNeither" << "ButtonSecond"
                                      << int(PairChoice::Second);
    QTest::newRow("EscapeCancelsTheInteractiveEdit")
        << int(PairChoice::First) << "ButtonFirst" << "Escape" << int(PairChoice::CancelInteractive);
    QTest::newRow("ClosingDeletesNeither") << int(PairChoice::First) << "ButtonFirst" << "Close"
                                           << int(PairChoice::Neither);
  }
  void pairDialogFocusesTheSuggestionAndReturnsTheChoice() {
    QFETCH(int, suggested);
    QFETCH(QString, focused);
    QFETCH(QString, pressed);
    QFETCH(int, choice);
    gui::TInteractiveEditForm form;
    tin::PairQuestion q{std::string(msg::VerifyPairHeaderYX),
                        " B        1    <   1>      20.000      10.000       1.000",
                        "          2    <   2>      20.000      10.000       2.000",
                        "      Difference           0.000       0.000      -1.000", tin::PairChoice(suggested)};
    QString hadFocus;
    QFont font;
    OnNextModal([&](QWidget* m) {
      QTRY_VERIFY(QApplication::focusWidget() != nullptr);
      hadFocus = QApplication::focusWidget()->objectName();
      font = Child<QLabel>(m, "LabelFirst")->font();
      if (pressed == "ButtonBoth") Shot(m, "interactive_edit_form.png");
      if (pressed == "Escape")
        QTest::keyClick(m, Qt::Key_Escape);
      else if (pressed == "Close")
        m->close();
      else
        Click(m, pressed.toLatin1().constData());
    });
    QCOMPARE(int(form.Choose(q)), choice);
    QCOMPARE(hadFocus, focused);
    QVERIFY(QFontInfo(font).fixedPitch());
    QCOMPARE(form.windowTitle(), QString("Verify - Interactive Edit"));
  }

  void verifyDialogRunsWithThePairChoiceAndReportsTheChange() {
    Scripted s;
    s.Add(10, 20, 1);
    s.Add(10, 20.0005, 2);
    s.Add(40, 20, 3);
    s.Add(25, 40, 4);
    gui::TVerifyForm form(s.session, {});
    QString xLabel, xLocation, difference;
    bool locationOff = false, interactiveOn = false;
    OnNextModal([&](QWidget* m) {
      xLabel = Child<QLabel>(m, "LabelXdiff")->text();
      difference = Child<QLineEdit>(m, "EditXDiff")->text();
      xLocation = Child<QLineEdit>(m, "EditXLocation")->text();
      locationOff = !Child<QGroupBox>(m, "GBLocation")->isEnabled();
      interactiveOn = Child<QCheckBox>(m, "CBInteractiveEdit")->isEnabled();
      Shot(m, "verify_form.png");
      // A difference below the smallest is refused and nothing runs.
      Child<QLineEdit>(m, "EditYDiff")->setText("0.0001");
      Click(m, "ButtonBegin");
      Child<QLineEdit>(m, "EditYDiff")->setText("0.001");
      Child<QCheckBox>(m, "CBInteractiveEdit")->setChecked(true);
      OnModalWhere([](QWidget* p) { return Titled(p, "Verify - Interactive Edit"); },
                   [](QWidget* p) { Click(p, "ButtonSecond"); });
      Click(m, "ButtonBegin");
      Click(m, "ButtonCancel");
    });
    form.Run(30, 35);
    QCOMPARE(xLabel, QString("Northing difference >"));
    QCOMPARE(difference, QString("0.001"));
    QCOMPARE(xLocation, QString("35.000"));
    QVERIFY(locationOff);
    QVERIFY(interactiveOn);
    QCOMPARE(s.port.Texts(FakePort::Kind::Error),
             std::vector<std::string>{"Invalid Easting difference.\r\nMinimum value is: 0.001"});
    QCOMPARE(int(s.port.reports.size()), 1);
    QVERIFY(s.port.reports[0].find(" has been deleted.") != std::string::npos);
    QVERIFY(form.PointsChanged());
    QCOMPARE(int(s.model.PointCount), 3);
  }

  void verifyDialogSearchesOneLocation() {
    Scripted s;
    s.settings.Set(settings::CoordinateOrder, 1);
    s.Add(10, 20, 1);
    s.Add(40, 20, 3);
    gui::TVerifyForm form(s.session, {});
    bool interactiveOff = false;
    OnNextModal([&](QWidget* m) {
      Child<QRadioButton>(m, "RBSearchLocation")->setChecked(true);
      interactiveOff = !Child<QCheckBox>(m, "CBInteractiveEdit")->isEnabled();
      Child<QLineEdit>(m, "EditXDiff")->setText("1");
      Child<QLineEdit>(m, "EditYDiff")->setText("1");
      Click(m, "ButtonBegin");
      Click(m, "ButtonCancel");
    });
    form.Run(10.5, 20.5);
    QVERIFY(interactiveOff);
    QCOMPARE(int(s.port.reports.size()), 1);
    QVERIFY(s.port.reports[0].find(" 1 points were found within the specified tolerance.") != std::string::npos);
    QVERIFY(!form.PointsChanged());
  }

  void removeDialogExplainsAMissingBorderAndKeepsTheBoxes() {
    gui::TRemoveForm none(false, {});
    OnNextModal([](QWidget* m) {
      Shot(m, "remove_form_no_border.png");
      Click(m, "ButtonOK");
    });
    QCOMPARE(none.exec(), int(QDialog::Rejected));
    QVERIFY(!none.findChild<QGroupBox*>("GBRemove")->isVisibleTo(&none));
    QVERIFY(!none.findChild<QPushButton*>("ButtonCancel")->isVisibleTo(&none));
    QCOMPARE(none.findChild<QLabel*>("LabelNoBorder")->text(),
             QString("Border does not exist or\nis not properly defined.\n\nPoints can not be removed."));

    gui::TRemoveForm form(true, {true, false});
    OnNextModal([](QWidget* m) {
      Shot(m, "remove_form.png");
      Child<QCheckBox>(m, "CBExterior")->setChecked(true);
      Child<QCheckBox>(m, "CBInterior")->setChecked(false);
      Click(m, "ButtonOK");
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(!form.Choice().interior);
    QVERIFY(form.Choice().exterior);
  }
};

QTEST_MAIN(PointEditTest)
#include "point_edit_test.moc"

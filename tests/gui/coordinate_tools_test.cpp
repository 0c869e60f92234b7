// The coordinate tools' windows: the point text editor's table over the model, the range dialog,
// and the factor and rotate dialogs, asserting on what they hand back and what reaches the model.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QtTest>

#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "dialogs/coordinates/auto_process_form.h"
#include "dialogs/coordinates/print_pts_form.h"
#include "dialogs/coordinates/search_form.h"
#include "dialogs/coordinates/transform_forms.h"
#include "editors/text_editor/point_table_model.h"
#include "editors/text_editor/text_editor_form.h"
#include "exchange/point_table.h"
#include "modal.h"
#include "model/surface_model.h"
#include "support/fake_port.h"

using namespace terravue;
using terravue::testing::FakePort;
using terravue::testing::Child;
using terravue::testing::OnNextModal;

namespace {

QString Text(QWidget* w, const char* label) { return Child<QLabel>(w, label)->text(); }

// Types into a field as the user does (the field counts as edited) and leaves it.
void Type(QWidget* w, const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(w, field);
  edit->clear();
  QTest::keyClicks(edit, text);
  emit edit->editingFinished();
}

// Leaves a picture of a window in the build folder, to look at.
void Picture(QWidget& w, const char* name) {
  w.show();
  QCoreApplication::processEvents();
  w.grab().save(QString::fromLatin1(name) + QStringLiteral(".png"));
}

}  // namespace

class CoordinateToolsTest : public QObject {
  Q_OBJECT

 private:
  model::SurfaceModel model_;
  SettingsRecord settings_ = DefaultSettings();
  FakePort port_;
  Session session_{model_, settings_, port_, {}};

  void Grid(int n) {
    model_.ClearModel();
    for (int k = 1; k <= n; ++k) {
      model_.PointX[k] = 1000 + 10 * (k % 100);
      model_.PointY[k] = 5000 + 10 * (k / 100);
      model_.PointZ[k] = 100 + k % 7;
      model_.BorderNext[k] = NoPoint;
      model_.SetPointLabel(static_cast<PointIndex>(k), std::to_string(k));
    }
    model_.PointCount = static_cast<std::uint16_t>(n);
    model_.ComputeExtents();
  }

 private slots:
  void initTestCase() { model_.AllocateStore(); }
  void init() {
    port_ = FakePort{};
    settings_ = DefaultSettings();
  }

  void TextEditorEditsReachTheModelAndRowsFollowInsertAndDelete() {
    Grid(12);
    model_.BorderNext[3] = 5;
    model_.BorderNext[5] = 9;
    model_.BorderNext[9] = 3;
    exchange::PointTableEditor editor(session_);
    const PointIndex start = editor.Open(1030, 5000);
    QCOMPARE(start, PointIndex{3});
    gui::TTextEditorForm form(editor, {});
    form.SetActivePoint(start);
    Picture(form, "text_editor");
    QCOMPARE(form.ActivePoint(), PointIndex{3});
    QAbstractItemModel* view = form.Table().model();
    QCOMPARE(view->rowCount(), 12);
    QCOMPARE(view->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Point #"));
    QCOMPARE(view->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Y"));  // Northing first

    // Correct an elevation.
    QVERIFY(view->setData(view->index(2, gui::PointTableModel::ElevationColumn), QStringLiteral("101.2346")));
    QCOMPARE(model_.PointZ[3], 101.235);
    QVERIFY(!view->setData(view->index(2, gui::PointTableModel::ElevationColumn), QStringLiteral("abc")));
    QVERIFY(!settings_.Get(settings::ModelSaved));

    // Enter goes on to the next cell, from Z to the next row's label.
    form.Table().setCurrentIndex(view->index(2, gui::PointTableModel::ElevationColumn));
    QTest::keyClick(&form.Table(), Qt::Key_Return);
    QCOMPARE(form.Table().currentIndex().row(), 3);
    QCOMPARE(form.Table().currentIndex().column(), gui::PointTableModel::LabelColumn);

    // Insert before point 4, then delete it again: the border stays on its points.
    form.RunCommand('I');
    QCOMPARE(view->rowCount(), 13);
    QCOMPARE(form.ActivePoint(), PointIndex{4});
    QCOMPARE(model_.BorderNext[3], PointIndex{6});
    QCOMPARE(view->index(12, 0).data().toInt(), 13);
    form.RunCommand('D');
    QCOMPARE(view->rowCount(), 12);
    QCOMPARE(model_.BorderNext[3], PointIndex{5});
    QCOMPARE(view->index(11, 0).data().toInt(), 12);

    // Sorting by elevation only orders the view; the active point is still the point.
    form.SetActivePoint(7);
    form.Table().sortByColumn(gui::PointTableModel::ElevationColumn, Qt::DescendingOrder);
    QCOMPARE(form.ActivePoint(), PointIndex{7});
    QCOMPARE(view->index(0, gui::PointTableModel::ElevationColumn).data().toString(), QStringLiteral("106.000"));
  }

  // Search by label steps through the matches; the plan fields follow the coordinate order.
  void SearchStepsThroughTheMatchesAndHandsBackTheOneChosen() {
    Grid(12);
    model_.SetPointLabel(9, "7");
    gui::TSearchForm form(model_, port_, {});
    std::optional<PointIndex> chosen;
    std::vector<QString> found;
    bool startedIdle = false, continueWasDefault = false;
    OnNextModal([&](QWidget* m) {
      Picture(*m, "search_dialog");
      startedIdle = !Child<QPushButton>(m, "ButtonNew")->isEnabled() && Child<QPushButton>(m, "ButtonQuit")->isDefault() &&
                    Text(m, "LabelNumber") == "N/A" && !Child<QCheckBox>(m, "CBUpdateCursor")->isEnabled();
      Type(m, "EditLabel", "7");
      QVERIFY(Child<QCheckBox>(m, "CBLabel")->isChecked());
      Child<QPushButton>(m, "ButtonNew")->click();
      found.push_back(Text(m, "LabelNumber"));
      continueWasDefault = Child<QPushButton>(m, "ButtonContinue")->isDefault();
      Child<QPushButton>(m, "ButtonContinue")->click();
      found.push_back(Text(m, "LabelNumber"));
      Child<QPushButton>(m, "ButtonContinue")->click();  // past the last one
      found.push_back(Text(m, "LabelNumber"));
      QVERIFY(!Child<QPushButton>(m, "ButtonContinue")->isEnabled());

      // "Exact" on the Northing (the first field in this order) alone.
      Child<QCheckBox>(m, "CBLabel")->click();
      Child<QComboBox>(m, "CBType")->setCurrentIndex(1);
      Type(m, "EditX", "5000");
      QVERIFY(Child<QCheckBox>(m, "CBX")->isChecked());
      Child<QPushButton>(m, "ButtonNew")->click();
      found.push_back(Text(m, "LabelNumber"));
      found.push_back(Text(m, "LabelXDeviation"));
      Child<QCheckBox>(m, "CBUpdateCursor")->setChecked(true);
      Child<QPushButton>(m, "ButtonQuit")->click();
    });
    chosen = form.Run(false, 1000, 5000, 100);
    QVERIFY(startedIdle);
    QVERIFY(continueWasDefault);
    QCOMPARE(found, (std::vector<QString>{"7", "9", "N/A", "1", "0.000"}));
    QCOMPARE(port_.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::LabelNotFound)});
    QCOMPARE(form.Search().Criteria().y, 5000.0);
    QVERIFY(form.Search().Criteria().useY && !form.Search().Criteria().useX);
    QCOMPARE(chosen, std::optional<PointIndex>(1));

    // The next opening keeps the fields; "Set to cursor position" fills them, unticked.
    OnNextModal([&](QWidget* m) {
      QCOMPARE(Child<QLineEdit>(m, "EditX")->text(), QStringLiteral("5000"));
      QVERIFY(!Child<QCheckBox>(m, "CBUpdateCursor")->isChecked());
      Child<QPushButton>(m, "ButtonSetCursor")->click();
      QCOMPARE(Child<QLineEdit>(m, "EditX")->text(), QStringLiteral("5000.000"));
      QCOMPARE(Child<QLineEdit>(m, "EditY")->text(), QStringLiteral("1050.000"));
      Child<QPushButton>(m, "ButtonQuit")->click();
    });
    QCOMPARE(form.Run(false, 1050, 5000, 101), std::nullopt);
  }

  // Ctrl + letter runs the editor's command even from inside a cell being typed into, and the
  // typed text is stored first; Search moves the active row to the point chosen.
  void CtrlLetterInACellRunsTheCommand() {
    Grid(12);
    exchange::PointTableEditor editor(session_);
    editor.Open(1030, 5000);
    gui::TTextEditorForm* shown = nullptr;
    gui::TextEditorHooks hooks;
    gui::TSearchForm search(model_, port_, {});
    hooks.search = [&](QWidget* over, PointIndex from) {
      const Qt::WindowFlags flags = search.windowFlags();
      search.setParent(over, flags);
      const auto found = search.Run(false, model_.PointX[from], model_.PointY[from], model_.PointZ[from]);
      search.setParent(nullptr, flags);
      return found;
    };
    gui::TTextEditorForm form(editor, hooks);
    shown = &form;
    form.SetActivePoint(3);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QAbstractItemModel* view = form.Table().model();
    form.Table().setCurrentIndex(view->index(2, gui::PointTableModel::ElevationColumn));
    QTest::keyClick(&form.Table(), Qt::Key_4);
    QWidget* cell = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(cell));
    QTest::keyClick(cell, Qt::Key_2);
    QTest::keyClick(cell, Qt::Key_A, Qt::ControlModifier);  // Add, not the line edit's select-all
    QCOMPARE(model_.PointZ[3], 42.0);
    QCOMPARE(view->rowCount(), 13);
    QCOMPARE(form.ActivePoint(), PointIndex{13});

    form.Table().setCurrentIndex(view->index(4, gui::PointTableModel::LabelColumn));
    QTest::keyClick(&form.Table(), Qt::Key_1);
    cell = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(cell));
    bool overEditor = false;
    OnNextModal([&](QWidget* m) {
      overEditor = m->parentWidget() == shown;
      Type(m, "EditLabel", "11");
      Child<QPushButton>(m, "ButtonNew")->click();
      Child<QCheckBox>(m, "CBUpdateCursor")->setChecked(true);
      Child<QPushButton>(m, "ButtonQuit")->click();
    });
    QTest::keyClick(cell, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(overEditor);
    QCOMPARE(QString::fromStdString(model_.GetPointLabel(5)), QStringLiteral("   1"));
    QCOMPARE(form.ActivePoint(), PointIndex{11});
  }

  // Auto Process shows the three stored import settings; Continue waits for a coordinate file.
  void AutoProcessContinuesOnlyWithACoordinateFile() {
    std::vector<exchange::AsciiKind> asked;
    bool choseAtOnce = false;
    const auto importDialog = [&](const exchange::ImportDialogRequest& r) -> std::optional<exchange::ImportDialogResult> {
      asked.push_back(r.kind);
      if (r.kind != exchange::AsciiKind::Coordinates) return std::nullopt;  // cancelled
      choseAtOnce = r.chooseFileAtOnce && r.showAutoRemove;  // no file yet: the file dialog comes at once
      return exchange::ImportDialogResult{"/survey/topo0.asc", true, false};
    };
    gui::TAutoProcessForm form(session_, false, importDialog, {});
    auto* proceed = Child<QPushButton>(&form, "ButtonContinue");
    QVERIFY(!proceed->isEnabled());
    QVERIFY(!Child<QPushButton>(&form, "ButtonHelp")->isVisibleTo(&form));
    auto* border = Child<QCheckBox>(&form, "CBLoadBorder");
    QCOMPARE(Child<QPushButton>(&form, "ButtonBorderSettings")->isEnabled(), border->isChecked());

    border->setChecked(true);
    QVERIFY(Child<QLabel>(&form, "LabelBorderFile")->isEnabled());
    Child<QPushButton>(&form, "ButtonBorderSettings")->click();
    QVERIFY(!proceed->isEnabled());
    Child<QPushButton>(&form, "ButtonCoordSettings")->click();
    QVERIFY(proceed->isEnabled());
    QVERIFY(choseAtOnce);
    QVERIFY(Text(&form, "LabelCoordFile").contains(QStringLiteral("topo0.asc")));
    QVERIFY(!Text(&form, "LabelCoordFormat").isEmpty());
    QVERIFY(!Text(&form, "LabelDuplicates").isEmpty());
    QCOMPARE(asked, (std::vector<exchange::AsciiKind>{exchange::AsciiKind::Border, exchange::AsciiKind::Coordinates}));
    Picture(form, "auto_process_dialog");

    // The optional files' rows follow their boxes; Continue hands the choices back.
    Child<QCheckBox>(&form, "CBLoadBreaklines")->setChecked(true);
    QVERIFY(Child<QLabel>(&form, "LabelBreaklineFile")->isEnabled());
    border->setChecked(false);
    QVERIFY(!Child<QPushButton>(&form, "ButtonBorderSettings")->isEnabled());
    proceed->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Run().loadBreaklines && !form.Run().loadBorder && !form.Run().append);
  }

  void RangeDialogStaysOpenOnABackwardsRange() {
    Grid(10);
    gui::TPrintPtsForm form(exchange::RangeUse::PointListing,
                            exchange::RangeFormFor(exchange::RangeUse::PointListing, model_), port_);
    Picture(form, "range_dialog");
    Child<QLineEdit>(&form, "EditFirst")->setText(QStringLiteral("5"));
    Child<QLineEdit>(&form, "EditLast")->setText(QStringLiteral("2"));
    Child<QPushButton>(&form, "ButtonContinue")->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.isVisible());
    QCOMPARE(port_.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::FirstPointAfterLast)});
    Child<QLineEdit>(&form, "EditLast")->setText(QStringLiteral("8"));
    Child<QPushButton>(&form, "ButtonContinue")->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.Range(), (std::pair<int, int>{5, 8}));
  }

  void FactorTakesTheInternationalFootExactlyInTheCoordinateOrder() {
    gui::TFactorForm form(exchange::TransformKind::Factor, false, port_, {});
    Picture(form, "factor_dialog");
    QVERIFY(Child<QPushButton>(&form, "ButtonCancel")->isDefault());
    Child<QLineEdit>(&form, "EditX")->setText(QStringLiteral("0.3048"));  // the Northing
    Child<QLineEdit>(&form, "EditZ")->setText(QStringLiteral("0.30480061"));
    Child<QPushButton>(&form, "ButtonOK")->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.Values().y, 0.3048);
    QCOMPARE(form.Values().x, 1.0);
    QCOMPARE(form.Values().z, 0.30480061);
  }

  void RotateRefusesAnglesPastAFullTurn() {
    gui::TRotateForm form(500000.5, 10000123.25, true, port_, {});
    Picture(form, "rotate_dialog");
    QCOMPARE(Child<QLineEdit>(&form, "EditY")->text(), QStringLiteral("10000123.250"));
    Child<QLineEdit>(&form, "EditAngle")->setText(QStringLiteral("360.001"));
    Child<QPushButton>(&form, "ButtonOK")->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(port_.Texts(FakePort::Kind::Error).size(), std::size_t{1});
    Child<QLineEdit>(&form, "EditAngle")->setText(QStringLiteral("-90"));
    Child<QPushButton>(&form, "ButtonOK")->click();
    QCOMPARE(form.Values().degrees, -90.0);
    QCOMPARE(form.Values().centreY, 10000123.25);
  }
};

QTEST_MAIN(CoordinateToolsTest)
#include "coordinate_tools_test.moc"

// The coordinate tools' windows: the point text editor's table over the model, the range dialog,
// and the factor and rotate dialogs, asserting on what they hand back and what reaches the model.

#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QtTest>

#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "dialogs/coordinates/print_pts_form.h"
#include "dialogs/coordinates/transform_forms.h"
#include "editors/text_editor/point_table_model.h"
#include "editors/text_editor/text_editor_form.h"
#include "exchange/point_table.h"
#include "model/surface_model.h"
#include "support/fake_port.h"

using namespace terravue;
using terravue::testing::FakePort;

namespace {

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* child = w->findChild<T*>(QString::fromLatin1(name));
  if (!child) qFatal("no child %s", name);
  return child;
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

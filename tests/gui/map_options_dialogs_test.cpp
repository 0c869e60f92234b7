// The map option dialogs: the group check boxes, one page per group dialog, the values they
// hand back and store, their enabling rules and edit fields.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "dialogs/map_options/map_option_dialogs.h"
#include "dialogs/map_options/map_options_form.h"
#include "dialogs/map_options/set_map_opts2_form.h"
#include "dialogs/map_options/set_map_opts_form.h"
#include "device/map_options.h"
#include "modal.h"
#include "model/surface_model.h"
#include "support/fake_port.h"

using namespace terravue;
using mapping::MapOptionPage;
using terravue::testing::FakePort;
using terravue::testing::Child;
using terravue::testing::OnNextModal;

namespace {

void Type(QWidget* w, const char* name, const QString& text) {
  QLineEdit* field = Child<QLineEdit>(w, name);
  field->setFocus();
  field->setText(text);
  emit field->editingFinished();
}

}  // namespace

class MapOptionsDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = DefaultSettings(); }

  void mapOptionsBoxesFollowTheModelAndTheGroupDialogs() {
    model::SurfaceModel m;
    m.PointCount = 10;  // points, no triangles, no breaklines
    std::vector<MapOptionPage> opened;
    bool answer = false;
    gui::TMapOptionsForm form(settings_, m, [&](QWidget*, MapOptionPage page) {
      opened.push_back(page);
      return answer;
    });
    QCOMPARE(form.windowTitle(), QString("Map Options"));
    auto* triangles = Child<QCheckBox>(&form, "CBTriangles");
    auto* grid = Child<QCheckBox>(&form, "CBSurfaceGrid");
    auto* titles = Child<QCheckBox>(&form, "CBTitles");
    QVERIFY(triangles->isChecked());  // shown by default, but nothing to draw yet
    QVERIFY(!triangles->isEnabled());
    QVERIFY(!Child<QCheckBox>(&form, "CBAnalyzer")->isEnabled());
    QVERIFY(!Child<QCheckBox>(&form, "CBBreaklines")->isEnabled());
    QVERIFY(grid->isEnabled());

    grid->click();  // Cancel in the group dialog takes the tick away
    QVERIFY(!grid->isChecked());
    answer = true;
    titles->click();  // OK keeps it
    QVERIFY(titles->isChecked());
    Child<QCheckBox>(&form, "CBBorder")->click();  // unticking opens nothing
    QCOMPARE(opened, (std::vector<MapOptionPage>{MapOptionPage::SurfaceGrid, MapOptionPage::Titles}));

    form.accept();
    QVERIFY(settings_.Get(device::TitleOptions::Show));
    QVERIFY(!settings_.Get(device::SurfaceGridOptions::Show));
    QVERIFY(!settings_.Get(device::BorderOptions::Show));
    QVERIFY(settings_.Get(device::TriangleOptions::Show));
  }

  void cancelOfMapOptionsStoresNoFlags() {
    model::SurfaceModel m;
    m.PointCount = 10;
    const SettingsRecord before = settings_;
    gui::TMapOptionsForm form(settings_, m, [](QWidget*, MapOptionPage) { return true; });
    Child<QCheckBox>(&form, "CBPoints")->click();
    form.reject();
    QVERIFY(settings_ == before);
  }

  void eachGroupOpensOnItsOwnPage_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("pageName");
    QTest::newRow("triangles") << int(MapOptionPage::Triangles) << "Set Triangle Options" << "PageTriangles";
    QTest::newRow("breaklines") << int(MapOptionPage::Breaklines) << "Set Breakline Options" << "PageBreaklines";
    QTest::newRow("border") << int(MapOptionPage::Border) << "Set Border Options" << "PageBorder";
    QTest::newRow("misc") << int(MapOptionPage::Miscellaneous) << "Set Miscellaneous Options" << "PageMisc";
    QTest::newRow("grid") << int(MapOptionPage::SurfaceGrid) << "Set Surface Grid Options" << "PageGrid";
    QTest::newRow("contours") << int(MapOptionPage::Contours) << "Set Contour Options" << "PageContours";
    QTest::newRow("points") << int(MapOptionPage::Points) << "Set Point Options" << "PagePoints";
    QTest::newRow("titles") << int(MapOptionPage::Titles) << "Set Title Options" << "PageTitles";
    QTest::newRow("analyzer") << int(MapOptionPage::SurfaceAnalyzer) << "Set Analyzer Options" << "PageAnalyzer";
  }

  void eachGroupOpensOnItsOwnPage() {
    QFETCH(int, page);
    QFETCH(QString, caption);
    QFETCH(QString, pageName);
    FakePort port;
    QString title, shown;
    OnNextModal([&](QWidget* w) {
      title = w->windowTitle();
      shown = Child<QStackedWidget>(w, "PageControl")->currentWidget()->objectName();
      Child<QPushButton>(w, "ButtonCancel")->click();
    });
    const SettingsRecord before = settings_;
    QVERIFY(!gui::EditMapOptionGroup(nullptr, port, settings_, static_cast<MapOptionPage>(page)));
    QCOMPARE(title, caption);
    QCOMPARE(shown, pageName);
    QVERIFY(settings_ == before);  // Cancel stores nothing
  }

  void contourPageStoresWhatPassesAndReportsTheRest() {
    FakePort port;
    OnNextModal([&](QWidget* w) {
      Type(w, "EditConInterval", QStringLiteral("0.0004"));  // shown as 0.000 once left
      Type(w, "EditConMultiple", QStringLiteral("5"));
      Child<QComboBox>(w, "CBConPrimaryWidth")->setCurrentText(QStringLiteral("12"));
      Child<QRadioButton>(w, "RBConSpecified")->setChecked(true);
      Type(w, "EditConMinimum", QStringLiteral("-20"));
      Child<QPushButton>(w, "ButtonOK")->click();
    });
    QVERIFY(gui::EditMapOptionGroup(nullptr, port, settings_, MapOptionPage::Contours));
    QCOMPARE(port.Texts(FakePort::Kind::Error),
             std::vector<std::string>{"Contour Interval value out of range\r\nMinimum value is: 0.001"});
    QCOMPARE(settings_.Get(device::ContourOptions::Interval), 1.0);
    QCOMPARE(settings_.Get(device::ContourOptions::Multiple), std::int16_t{5});
    QCOMPARE(settings_.Get(device::ContourOptions::PrimaryWidth), 10);
    QVERIFY(settings_.Get(device::ContourOptions::RangeSpecified));
    QCOMPARE(settings_.Get(device::ContourOptions::Minimum), -20.0);
  }

  void fieldsLeftWithUnreadableTextGetTheirOldTextBack() {
    gui::TSetMapOpts2Form form(MapOptionPage::Contours, settings_);
    Type(&form, "EditConTension", QStringLiteral("abc"));
    QCOMPARE(Child<QLineEdit>(&form, "EditConTension")->text(), QString("0.000"));
    Type(&form, "EditConTension", QStringLiteral("2,5"));
    QCOMPARE(Child<QLineEdit>(&form, "EditConTension")->text(), QString("25.000"));
    Type(&form, "EditConMinimum", QStringLiteral("-3"));
    QCOMPARE(Child<QLineEdit>(&form, "EditConMinimum")->text(), QString("-3.000"));
    QCOMPARE(form.Contours().minimum, std::string("-3.000"));
  }

  void controlsFollowTheChoicesTheyDependOn() {
    gui::TSetMapOpts2Form contours(MapOptionPage::Contours, settings_);
    auto* minimum = Child<QLineEdit>(&contours, "EditConMinimum");
    QVERIFY(!minimum->isEnabled());  // "Min/Max" by default
    Child<QRadioButton>(&contours, "RBConSpecified")->setChecked(true);
    QVERIFY(minimum->isEnabled());

    gui::TSetMapOptsForm breaklines(MapOptionPage::Breaklines, settings_);
    auto* height = Child<QLineEdit>(&breaklines, "EditBrkTextHeight");
    QVERIFY(!height->isEnabled());
    Child<QCheckBox>(&breaklines, "CBBrkNumbers")->setChecked(true);
    QVERIFY(height->isEnabled());
    QVERIFY(Child<QPushButton>(&breaklines, "PanelBrkTextColor")->isEnabled());
  }

  void gridIntervalsFollowTheCoordinateOrder() {
    settings_.Set(device::SurfaceGridOptions::IntervalX, 25.0);
    settings_.Set(device::SurfaceGridOptions::IntervalY, 50.0);
    for (int order : {0, 1}) {
      settings_.Set(settings::CoordinateOrder, static_cast<std::uint8_t>(order));
      gui::TSetMapOpts2Form form(MapOptionPage::SurfaceGrid, settings_);
      const QString upper = Child<QLineEdit>(&form, "EditGridInterval1")->text();
      QCOMPARE(upper, QString(order == 0 ? "50.000" : "25.000"));
      QCOMPARE(Child<QLabel>(&form, "LabelGridInterval1")->text(),
               QString(order == 0 ? "Northing Interval >" : "X Interval >"));
      Type(&form, "EditGridInterval1", QStringLiteral("10"));
      const mapping::SurfaceGridPage values = form.SurfaceGrid();
      QCOMPARE(order == 0 ? values.intervalY : values.intervalX, std::string("10.000"));
    }
  }

  void widthListsShowTheWidthsAndHandBackTheIndex() {
    gui::TSetMapOptsForm form(MapOptionPage::Triangles, settings_);
    auto* widths = Child<QComboBox>(&form, "CBTriWidth");
    QCOMPARE(widths->count(), 21);
    QCOMPARE(widths->itemText(20), QString("50"));
    widths->setCurrentText(QStringLiteral("12"));
    QCOMPARE(form.Triangles().width, 10);
    QCOMPARE(form.Triangles().colour, device::MapColour::Red);
  }

  void pointLabelsCanBeDecluttered() {
    gui::TSetMapOpts2Form form(MapOptionPage::Points, settings_);
    auto* declutter = Child<QCheckBox>(&form, "CBPtsDeclutter");
    QVERIFY(!declutter->isChecked());
    QVERIFY(!declutter->isEnabled());  // no label is drawn yet
    Child<QCheckBox>(&form, "CBPtsNumber")->setChecked(true);
    QVERIFY(declutter->isEnabled());
    declutter->setChecked(true);
    QVERIFY(form.Points().declutter);
  }

  void pointAngleComesBackInDegrees() {
    settings_.Set(device::PointOptions::TextAngle, -270 * 3.14159265358979323846 / 180);
    settings_.Set(settings::AngleConvention, 1);
    gui::TSetMapOpts2Form form(MapOptionPage::Points, settings_);
    QCOMPARE(Child<QLineEdit>(&form, "EditPtsTextAngle")->text(), QString("270.000"));
  }

 private:
  SettingsRecord settings_;
};

QTEST_MAIN(MapOptionsDialogsTest)
#include "map_options_dialogs_test.moc"

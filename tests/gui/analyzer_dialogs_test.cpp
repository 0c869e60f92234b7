// The Surface Analyzer in the window: the slope zone dialog in its two modes, the traces at the
// cursor drawn with the map, the Vector Accumulator command, the Query Triangle result dialog,
// and the density base "Slope" opening the zone dialog from the map options.

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt_user_port.h"
#include "app/settings_file.h"
#include "commands/command_table.h"
#include "common/session.h"
#include "controllers/editor_controller.h"
#include "device/map_options.h"
#include "dialogs/analyzer/brk_query_form.h"
#include "dialogs/analyzer/length_form.h"
#include "dialogs/analyzer/slope_zone_form.h"
#include "dialogs/map_options/map_option_dialogs.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map_area.h"
#include "mainwindow/window_context.h"
#include "modal.h"
#include "model/surface_model.h"
#include "print/sheet_view.h"
#include "support/built_surface.h"
#include "support/fake_port.h"
#include "window_fixture.h"

using namespace terravue;
using app::CommandId;
using terravue::testing::FakePort;
using terravue::testing::Child;
using terravue::testing::OnNextModal;

namespace {

// A picture of the widget beside the test program, to look at.
void Shot(QWidget* w, const char* name) {
  w->adjustSize();
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
  QVERIFY2(w->grab().save(path), qPrintable(path));
}

// The window over the pyramid of the engine's analysis tests, with the Surface Analyzer chosen.
struct Window : testing::WindowFixture {
  Window() {
    testing::BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                          {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    testing::SetBorder(model, {1, 2, 3, 4});
    window.resize(900, 700);
    window.show();
    window.ModelLoaded();
    window.Commands().Run(CommandId::SelectAnalyzer);
  }
  gui::WindowContext& Context() { return window.Context(); }
  void CursorAt(double x, double y, double z) { Context().cursor = {x, y, z, true}; }
};

}  // namespace

class AnalyzerDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void slopeZoneFormShowsItsTwoModes() {
    analysis::SlopeZoneForm text = analysis::LoadSlopeZoneForm(DefaultSettings(), false, true, true);
    gui::TSlopeZoneForm form(text);
    QCOMPARE(form.windowTitle(), QString("Surface Analyzer Text Output"));
    QVERIFY(Child<QRadioButton>(&form, "RBVectorInformation")->isChecked());
    // Nothing to set for the vector list.
    QVERIFY(!Child<QGroupBox>(&form, "GBSlopeZones")->isEnabled());
    Child<QRadioButton>(&form, "RBSlopeAnalysis")->setChecked(true);
    QVERIFY(Child<QGroupBox>(&form, "GBSlopeZones")->isEnabled());
    Child<QLineEdit>(&form, "LEditMaxSlope")->setText("45");
    Child<QSpinBox>(&form, "EditNumZones")->setValue(9);
    const analysis::SlopeZoneForm back = form.Form();
    QVERIFY(!back.vectorInformation);
    Shot(&form, "analyzer_text_output.png");
    QCOMPARE(QString::fromStdString(back.maxSlope), QString("45"));
    QCOMPARE(back.zoneCount, 9);
    QCOMPARE(Child<QSpinBox>(&form, "EditNumZones")->maximum(), 100);

    gui::TSlopeZoneForm density(analysis::LoadSlopeZoneForm(DefaultSettings(), true, false, true));
    QCOMPARE(density.windowTitle(), QString("Density Diagram (Slope)"));
    QVERIFY(Child<QGroupBox>(&density, "RGOutputType")->isHidden());
    QVERIFY(Child<QCheckBox>(&density, "CBSlopeZones")->isHidden());
    QVERIFY(density.Form().includeSlopeZones);
  }

  // Water Drop at the cursor: the vectors are kept and drawn on the map; the Vector Accumulator
  // command asks, then empties it.
  void tracesAreDrawnAndTheAccumulatorEmptiesOnYes() {
    Window w;
    w.CursorAt(6, 3, 6);
    const int before = w.window.Map().Sheet().Map().SegmentCount();
    QVERIFY(w.window.Commands().Run(CommandId::AnalyzerWaterDrop));
    QCOMPARE(w.Context().editors.analyzer.vectors.VertexCount(), std::size_t{2});
    QCOMPARE(w.window.Map().Sheet().Map().SegmentCount(), before + 3);  // one open arrow

    OnNextModal([](QWidget* box) {
      for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
        if (b->text().remove('&') == "Yes") return b->click();
      QFAIL("no Yes button");
    });
    QVERIFY(w.window.Commands().Run(CommandId::AnalyzerVectorAccumulator));
    QCOMPARE(w.Context().editors.analyzer.vectors.VertexCount(), std::size_t{0});
    QCOMPARE(w.window.Map().Sheet().Map().SegmentCount(), before);
  }

  void queryTriangleShowsItsResultAndFinishes() {
    Window w;
    QVERIFY(w.window.Commands().Run(CommandId::AnalyzerQueryTriangle));
    w.window.EditorCommands().Click(5, 1, false);
    QCOMPARE(w.window.EditorCommands().Commands().QueriedTriangles().size(), std::size_t{1});
    QString slope;
    OnNextModal([&slope](QWidget* dialog) {
      slope = Child<QLabel>(dialog, "LabelLastSlope")->text();
      Shot(dialog, "analyzer_query_triangle.png");
      Child<QPushButton>(dialog, "ButtonFinish")->click();
    });
    QVERIFY(w.window.Commands().Run(CommandId::AnalyzerQueryTriangle));  // the menu item again finishes
    QCOMPARE(slope, QString("89.443 %"));
    QVERIFY(!w.window.EditorCommands().Active().Any());
  }

  // Two picks: the grade and direction; the breakline query steps through the breaklines.
  void lengthAndBreaklineDialogsShowTheirRows() {
    Window w;
    const std::vector<analysis::LengthPick> picks = {{1, true}, {5, true}};
    const analysis::LengthInfo info =
        analysis::DescribeLength({{0, 0, 0}, {5, 5, 10}}, false, w.settings);
    gui::TLengthForm length(info, {"P: 1", "P: 5"}, {});
    QVERIFY(Child<QGroupBox>(&length, "GBElevation")->isHidden());
    QCOMPARE(Child<QLabel>(&length, "LabelOther1")->text(), QString("141.421"));
    QVERIFY(Child<QPushButton>(&length, "ButtonHelp")->isHidden());
    Shot(&length, "analyzer_length.png");

    w.model.Breaklines[1] = {1, 5};
    w.model.Breaklines[2] = {2, 5};
    w.model.BreaklineCount = 2;
    gui::TBrkQueryForm query(w.model, w.settings, 1);
    QVERIFY(!Child<QPushButton>(&query, "ButtonPrevious")->isEnabled());
    Child<QPushButton>(&query, "ButtonNext")->click();
    QCOMPARE(query.Breakline(), BreaklineIndex{2});
    QCOMPARE(Child<QLabel>(&query, "LabelNumber")->text(), QString("Breakline number: 2"));
    Shot(&query, "analyzer_breakline_query.png");
  }

  // Slope as the density base opens the zone dialog; zones that cannot be used send the base
  // back to None.
  void densityOnSlopeNeedsUsableZones() {
    SettingsRecord s = DefaultSettings();
    FakePort port;
    OnNextModal([](QWidget* page) {
      OnNextModal([](QWidget* zones) {
        Child<QLineEdit>(zones, "LEditMinSlope")->setText("50");
        Child<QLineEdit>(zones, "LEditMaxSlope")->setText("20");
        Child<QPushButton>(zones, "ButtonOK")->click();
      });
      Child<QRadioButton>(page, "RBAnaDensitySlope")->click();
      QVERIFY(Child<QRadioButton>(page, "RBAnaDensityNone")->isChecked());
      Child<QCheckBox>(page, "CBAnaCutFill")->setChecked(true);
      Child<QPushButton>(page, "ButtonOK")->click();
    });
    QVERIFY(gui::EditMapOptionGroup(nullptr, port, s, mapping::MapOptionPage::SurfaceAnalyzer));
    QCOMPARE(port.Texts(FakePort::Kind::Error),
             std::vector<std::string>{"Minimum slope is greater than the maximum slope.\r\nSlope zone analysis is turned OFF."});
    QVERIFY(!s.Get(device::AnalyzerOptions::ShowDensity));
    QVERIFY(s.Get(device::AnalyzerOptions::ShowCutFill));
  }
};

QTEST_MAIN(AnalyzerDialogsTest)
#include "analyzer_dialogs_test.moc"

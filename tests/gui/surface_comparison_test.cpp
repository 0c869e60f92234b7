// The Surface Comparison form: its progress part and the report options it hands back.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <QTemporaryDir>

#include "analysis/volume.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "dialogs/surface_comparison/volume_form.h"
#include "dialogs/surface_comparison/volume_front_end.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "modal.h"
#include "support/fake_port.h"

using terravue::analysis::CutFillListing;
using terravue::analysis::VolumeReportOptions;
using terravue::gui::TVolumeForm;
using terravue::gui::VolumeFrontEnd;
using terravue::testing::FakePort;
using terravue::testing::OnNextModal;

namespace {

template <class T>
T* Child(QWidget* form, const char* name) {
  T* child = form->findChild<T*>(QString::fromLatin1(name));
  if (!child) qFatal("no child %s", name);
  return child;
}

}  // namespace

class SurfaceComparisonTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { port_ = FakePort{}; }

  void progressPartShowsTheSurfacesAndPhases() {
    TVolumeForm form(port_);
    form.BeginComparison("SITE.MDL --> 120 points", "DESIGN.MDL --> 80 points");
    QVERIFY(form.isVisible());
    QVERIFY(!form.isModal());
    QCOMPARE(form.windowTitle(), QString("Surface Comparison"));
    QCOMPARE(Child<QLabel>(&form, "DisplayExisting")->text(), QString("SITE.MDL --> 120 points"));
    QCOMPARE(Child<QLabel>(&form, "DisplayProposed")->text(), QString("DESIGN.MDL --> 80 points"));
    for (const char* name : {"EditCutFactor", "EditFillFactor", "CBIncludeCFData", "CBIncludeZeroCF",
                             "EditComment1", "ButtonContinue", "ButtonCancel", "LabelCutFactor"})
      QVERIFY2(!Child<QWidget>(&form, name)->isEnabled(), name);
    QCOMPARE(Child<QLabel>(&form, "Phase1Count")->text(), QString("0%"));

    form.SetPhase(1, 100);
    form.SetPhase(2, 40);
    QCOMPARE(Child<QLabel>(&form, "Phase1Count")->text(), QString("100%"));
    QCOMPARE(Child<QLabel>(&form, "Phase2Count")->text(), QString("40%"));
    QCOMPARE(Child<QLabel>(&form, "Phase3Count")->text(), QString("0%"));

    form.EndComparison();
    QVERIFY(!form.isVisible());
    QVERIFY(Child<QWidget>(&form, "EditCutFactor")->isEnabled());
    QVERIFY(Child<QWidget>(&form, "ButtonContinue")->isEnabled());
  }

  void continueHandsBackTheChoices() {
    TVolumeForm form(port_);
    VolumeReportOptions current;
    current.cutFactor = 1.15;
    current.listing = CutFillListing::None;
    current.includeZeroCutFill = true;
    current.comments[0] = "last time";
    QStringList seen;
    OnNextModal([&](QWidget* modal) {
      seen << Child<QLineEdit>(modal, "EditCutFactor")->text() << Child<QLineEdit>(modal, "EditFillFactor")->text()
           << Child<QLineEdit>(modal, "EditComment1")->text()
           << QString::number(Child<QCheckBox>(modal, "CBIncludeZeroCF")->isEnabled());
      Child<QComboBox>(modal, "CBIncludeCFData")->setCurrentIndex(2);
      seen << QString::number(Child<QCheckBox>(modal, "CBIncludeZeroCF")->isEnabled());
      Child<QCheckBox>(modal, "CBIncludeZeroCF")->setChecked(false);
      QLineEdit* fill = Child<QLineEdit>(modal, "EditFillFactor");
      fill->clear();
      QTest::keyClicks(fill, "0.90");
      QTest::keyClicks(Child<QLineEdit>(modal, "EditComment2"), "Pad for the new barn");
      Child<QPushButton>(modal, "ButtonContinue")->click();
    });
    const auto chosen = form.AskReportOptions(current);
    QCOMPARE(seen, (QStringList{"1.150", "1.000", "", "0", "1"}));
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->cutFactor, 1.15);
    QCOMPARE(chosen->fillFactor, 0.9);
    QCOMPARE(chosen->listing, CutFillListing::Existing);
    QCOMPARE(chosen->includeZeroCutFill, false);
    QCOMPARE(chosen->comments[0], std::string());
    QCOMPARE(chosen->comments[1], std::string("Pad for the new barn"));
    QVERIFY(port_.shown.empty());
  }

  void aFactorBelowTheMinimumIsRefused() {
    TVolumeForm form(port_);
    bool stillOpen = false;
    OnNextModal([&](QWidget* modal) {
      QLineEdit* cut = Child<QLineEdit>(modal, "EditCutFactor");
      cut->clear();
      QTest::keyClicks(cut, "0.0004");  // the field takes three decimals: "0.000"
      Child<QPushButton>(modal, "ButtonContinue")->click();
      stillOpen = modal->isVisible();
      cut->setText("2");
      Child<QPushButton>(modal, "ButtonContinue")->click();
    });
    const auto chosen = form.AskReportOptions(VolumeReportOptions{});
    QVERIFY(stillOpen);
    QCOMPARE(port_.Texts(FakePort::Kind::Error),
             std::vector<std::string>{std::string(terravue::msg::CutFactorFieldError) + "\r\nMinimum value is: 0.001"});
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->cutFactor, 2.0);
  }

  void cancelHandsBackNothing() {
    TVolumeForm form(port_);
    OnNextModal([](QWidget* modal) { Child<QPushButton>(modal, "ButtonCancel")->click(); });
    QVERIFY(!form.AskReportOptions(VolumeReportOptions{}).has_value());
  }

  // The Volume menu's call: the engine's command through the desktop front end.
  void singleSurfaceThroughTheFrontEnd() {
    QTemporaryDir work;
    QVERIFY(work.isValid());
    terravue::model::SurfaceModel model;
    QVERIFY(model.AllocateStore());
    const double corners[5][3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 3}};
    for (const auto& c : corners) {
      const auto p = ++model.PointCount;
      model.PointX[p] = c[0];
      model.PointY[p] = c[1];
      model.PointZ[p] = c[2];
    }
    for (int p = 1; p <= 4; ++p) model.BorderNext[static_cast<std::size_t>(p)] = static_cast<std::uint16_t>(p % 4 + 1);
    terravue::SettingsRecord settings = terravue::DefaultSettings();
    terravue::Session session{model, settings, port_, work.path().toStdString()};
    terravue::tin::LocateState state;
    QCOMPARE(terravue::tin::Triangulate(session, state, {.quiet = true}), terravue::tin::TriangulationStatus::Success);
    settings.Set(terravue::settings::ModelFileName, "PILE.MDL");
    settings.Set(terravue::settings::ModelSaved, true);
    port_ = FakePort{};

    VolumeFrontEnd frontEnd(port_, nullptr);
    VolumeReportOptions options;
    QString shown;
    OnNextModal([&](QWidget* modal) {
      shown = Child<QLabel>(modal, "DisplayExisting")->text() + " | " + Child<QLabel>(modal, "Phase3Count")->text();
      QTest::keyClicks(Child<QLineEdit>(modal, "EditComment1"), "Stockpile");
      Child<QPushButton>(modal, "ButtonContinue")->click();
    });
    QCOMPARE(terravue::analysis::RunVolumeCommand(session, terravue::analysis::VolumeMode::SingleSurface, frontEnd,
                                                  options),
             terravue::analysis::VolumeOutcome::Reported);
    QCOMPARE(shown, QString("Border of PILE.MDL --> 4 points | 100%"));
    QCOMPARE(options.comments[0], std::string("Stockpile"));
    QCOMPARE(port_.reports.size(), std::size_t{1});
    QVERIFY(port_.reports.front().find("Fill Volume (cu. yards)  =           3.704") != std::string::npos);
    QVERIFY(port_.reports.front().find("\r\nStockpile\r\n") != std::string::npos);
  }

 private:
  FakePort port_;
};

QTEST_MAIN(SurfaceComparisonTest)
#include "surface_comparison_test.moc"

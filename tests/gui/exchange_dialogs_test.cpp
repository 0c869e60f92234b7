// The Preferences dialog's preset page and the import and export dialogs: what they show, what
// they hand back and what they store when they close.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <functional>

#include "app/qt_user_port.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "app/preferences.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "modal.h"
#include "model/surface_model.h"
#include "dialogs/import_export/export_coord_form.h"
#include "dialogs/import_export/import_coord_form.h"
#include "dialogs/preferences/preferences_form.h"
#include "exchange/import_commands.h"
#include "support/fake_port.h"

using namespace terravue;
using exchange::AsciiKind;
using terravue::testing::FakePort;
using terravue::testing::OnNextModal;

namespace {

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* child = w->findChild<T*>(QString::fromLatin1(name));
  if (!child) qFatal("no child %s", name);
  return child;
}

// Clicks the named button of the next modal window, then `then` (for the box that follows).
void ClickOnNextModal(const char* button, std::function<void()> then = {}) {
  OnNextModal([button, then](QWidget* w) {
    if (then) then();
    if (auto* b = w->findChild<QPushButton*>(QString::fromLatin1(button))) {
      b->click();
      return;
    }
    for (auto* b : w->findChildren<QAbstractButton*>())
      if (b->text() == QString::fromLatin1(button)) b->click();
  });
}

QStringList ListTexts(QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

}  // namespace

class ExchangeDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = DefaultSettings(); }

  void switchingUnitsShowsTheOtherPresetsBeforeOk() {
    FakePort port;
    gui::TPreferencesForm form(port, app::ReadPreferences(settings_));
    auto* list = Child<QListWidget>(&form, "ListScales");
    QCOMPARE(ListTexts(list), (QStringList{"10.000", "20.000", "50.000", "100.000", "200.000"}));
    QCOMPARE(Child<QLabel>(&form, "LabelScale")->text(), QString("Scale: ft/in"));

    Child<QRadioButton>(&form, "RBMetric")->click();
    QCOMPARE(ListTexts(list), (QStringList{"1.000", "10.000", "20.000", "50.000", "100.000"}));
    QCOMPARE(Child<QLabel>(&form, "LabelHeight")->text(), QString("Height: m"));
    QCOMPARE(form.SelectedPreset(), 0);

    // Presets added on one unit's page stay with that unit.
    port.promptAnswers = {"30"};
    Child<QPushButton>(&form, "ButtonAdd")->click();
    QCOMPARE(list->currentItem()->text(), QString("30.000"));
    Child<QRadioButton>(&form, "RBEnglish")->click();
    QCOMPARE(list->count(), 5);

    // Delete is refused at the last preset; Add comes back once below ten.
    auto* del = Child<QPushButton>(&form, "ButtonDelete");
    while (del->isEnabled()) del->click();
    QCOMPARE(list->count(), 1);

    const app::Preferences p = form.Values();
    QCOMPARE(p.units, 0);
    QCOMPARE(p.presets[1].size(), std::size_t{6});
    QCOMPARE(p.presets[1][3].sizes[0], 7.5);
    QCOMPARE(p.presets[0].size(), std::size_t{1});
  }

  void importDialogFiltersStoresOnCancelAndAsksForAFileAtOnce() {
    FakePort port;
    QTemporaryDir dir;
    const QString file = dir.filePath("PTS.ASC");
    std::ofstream(file.toStdString()) << "1 2 3\n";
    int asked = 0;
    exchange::ImportDialogRequest request{AsciiKind::Coordinates, "", true, true, false, false, false};
    gui::TImportCoordForm form(port, settings_, request);
    form.chooseFile = [&](const QString& title, const QString&, const QString& filter) {
      ++asked;
      [&] {
        QCOMPARE(title, QString("Open Coordinate File"));
        QVERIFY(filter.contains("*.ASC *.asc"));
      }();
      return file;
    };
    auto* ok = Child<QPushButton>(&form, "ButtonOK");
    form.show();
    QTRY_COMPARE(asked, 1);
    QCOMPARE(form.Result().fileName, file.toStdString());

    Child<QRadioButton>(&form, "RBFormat4")->click();
    auto* edit = Child<QLineEdit>(&form, "EditCustom");
    QVERIFY(edit->isEnabled());
    edit->clear();
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(edit, "lyq xz");  // the Q goes at once
    QCOMPARE(edit->text(), QString("ly xz"));
    QCOMPARE(edit->cursorPosition(), 5);
    QTest::keyClicks(edit, "nDDDDDX");  // an eleventh letter
    QVERIFY(ok->isEnabled());
    form.reject();

    QCOMPARE(settings_.Get(exchange::CoordImport.FormatIndex()), 4);
    QCOMPARE(exchange::StoredFormatText(settings_, exchange::CoordImport, exchange::ImportLetters(AsciiKind::Coordinates)),
             std::string("LY XZNDDDDD"));
  }

  // Border and breakline files may name points by their labels; the box shows only for them and
  // hands its state back.
  void importDialogOffersToMatchPointNumbersToLabels() {
    FakePort port;
    for (const AsciiKind kind : {AsciiKind::Coordinates, AsciiKind::Breaklines}) {
      const bool vertices = kind != AsciiKind::Coordinates;
      exchange::ImportDialogRequest request{kind, "", false, !vertices, false, vertices, true};
      gui::TImportCoordForm form(port, settings_, request);
      auto* box = Child<QCheckBox>(&form, "CBMatchLabels");
      QCOMPARE(box->isVisibleTo(&form), vertices);
      QVERIFY(form.Result().matchNumbersToLabels);
      box->setChecked(false);
      QVERIFY(!form.Result().matchNumbersToLabels);
    }
  }

  void exportDialogNamesTheFileWithItsExtension() {
    QTemporaryDir dir;
    exchange::ExportDialogRequest request{AsciiKind::Border, dir.filePath("SITE.MDL").toStdString(), false};
    gui::TExportCoordForm form(settings_, request);
    QString proposed;
    form.chooseFile = [&](const QString&, const QString& p, const QString&) {
      proposed = p;
      return dir.filePath("edge");
    };
    auto* ok = Child<QPushButton>(&form, "ButtonOK");
    QVERIFY(!ok->isEnabled());  // no entry chosen yet
    form.ChangeFileName();
    QCOMPARE(proposed, dir.filePath("SITE.BDR"));
    QCOMPARE(QString::fromStdString(form.FileName()), dir.filePath("edge.BDR"));
    Child<QRadioButton>(&form, "RBFormat1")->click();
    QVERIFY(ok->isEnabled());
    form.accept();
    QCOMPARE(settings_.Get(exchange::BorderExport.FormatIndex()), 1);
  }

  // Process > Import and Export from the window's command table, with the real dialogs and boxes.
  void importAndExportCommandsRunFromTheWindow() {
    QTemporaryDir dir;
    const QString points = dir.filePath("SITE.ASC");
    std::ofstream(points.toStdString()) << "1,5000,3000,100\n2,5010,3000,101\n3,5000,3010,102\n";
    model::SurfaceModel model;
    model.AllocateStore();
    gui::QtUserPort port{settings_};
    Session session{model, settings_, port, {}};
    gui::HelpViewer help{port, QString()};
    gui::MainWindow window{session, help};
    port.SetParentWindow(&window);
    port.SetModelStateHandler([&] { window.RefreshCaption(); });
    window.show();

    settings_.Set(exchange::CoordImport.FileName(), points.toStdString());
    settings_.Set(exchange::CoordImport.FormatIndex(), 2);  // the dialog stores the entry's codes
    ClickOnNextModal("ButtonOK", [] { ClickOnNextModal("OK"); });  // then the load summary
    QVERIFY(window.Commands().Run(app::CommandId::ImportCoordinates));
    QCOMPARE(int{model.PointCount}, 3);
    QCOMPARE(model.PointY[3], 5000.0);
    QCOMPARE(window.windowTitle(), QString("Terravue <SITE.ASC>"));

    const QString out = dir.filePath("OUT.ASC");
    settings_.Set(exchange::CoordExport.FileName(), out.toStdString());
    settings_.Set(exchange::CoordExport.FormatIndex(), 3);
    ClickOnNextModal("ButtonOK", [] { ClickOnNextModal("OK"); });
    QVERIFY(window.Commands().Run(app::CommandId::ExportCoordinates));
    std::ifstream written(out.toStdString(), std::ios::binary);
    std::string first;
    std::getline(written, first);
    QCOMPARE(first, std::string("1, 3000.000, 5000.000, 100.000\r"));
  }

  // The CAD page's buttons open the layer dialog in the mode of the program chosen on the page,
  // before OK; the Help button is there when the window has a help viewer.
  void preferencesCadButtonsOpenTheLayerDialogOfThePage() {
    model::SurfaceModel model;
    model.AllocateStore();
    gui::QtUserPort port{settings_};
    Session session{model, settings_, port, {}};
    gui::HelpViewer help{port, QString()};
    gui::MainWindow window{session, help};
    port.SetParentWindow(&window);
    window.show();

    QString button, panel;
    bool helpShown = false;
    OnNextModal([&](QWidget* prefs) {
      Child<QRadioButton>(prefs, "RBGenericCadd")->click();
      auto* layers = Child<QPushButton>(prefs, "ButtonCadLayers");
      button = layers->text();
      helpShown = Child<QPushButton>(prefs, "ButtonHelp")->isVisibleTo(prefs);
      OnNextModal([&](QWidget* dialog) {
        for (auto* label : dialog->findChildren<QLabel*>())
          if (label->text().startsWith("Edit The Layer")) panel = label->text();
        static_cast<QDialog*>(dialog)->reject();
      });
      layers->click();
      Child<QPushButton>(prefs, "ButtonCancel")->click();
    });
    QVERIFY(window.Commands().Run(app::CommandId::Preferences));
    QCOMPARE(button, QString("Set Layer Numbers && Colors..."));
    QCOMPARE(panel, QString("Edit The Layer Numbers And Colors"));
    QVERIFY(helpShown);
  }

 private:
  SettingsRecord settings_;
};

QTEST_MAIN(ExchangeDialogsTest)
#include "exchange_dialogs_test.moc"

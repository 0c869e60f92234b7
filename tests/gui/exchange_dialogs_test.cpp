// The Preferences dialog's preset page and the import and export dialogs: what they show, what
// they hand back and what they store when they close.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
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
#include "model/model_document.h"
#include "model/surface_model.h"
#include "dialogs/import_export/export_coord_form.h"
#include "dialogs/import_export/export_landxml_form.h"
#include "dialogs/import_export/import_coord_form.h"
#include "dialogs/preferences/preferences_form.h"
#include "exchange/import_commands.h"
#include "support/fake_port.h"

using namespace terravue;
using exchange::AsciiKind;
using terravue::testing::FakePort;
using terravue::testing::OnModalWhere;
using terravue::testing::Child;
using terravue::testing::OnNextModal;
using terravue::testing::TypeFileName;

namespace {

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

// The main window over a model of its own, shown, as the program sets it up.
struct TestWindow {
  static model::SurfaceModel Allocated() {
    model::SurfaceModel m;
    m.AllocateStore();
    return m;
  }
  explicit TestWindow(SettingsRecord& settings) : port{settings}, session{model, settings, port, {}} {
    port.SetParentWindow(&window);
    port.SetModelStateHandler([this] { window.RefreshCaption(); });
    window.show();
  }

  model::SurfaceModel model = Allocated();
  gui::QtUserPort port;
  Session session;
  gui::HelpViewer help{port, QString()};
  gui::MainWindow window{session, help};
};

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
    TestWindow run(settings_);
    model::SurfaceModel& model = run.model;
    gui::MainWindow& window = run.window;

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

  // Only the foot is a choice; a name chosen without extension gets ".xml".
  void landXmlExportDialogOffersOnlyTheFoot() {
    exchange::LandXmlExportRequest metric;
    metric.fileName = "/data/SITE.xml";
    metric.metric = true;
    metric.unit = exchange::LandXmlUnit::Meter;
    gui::TExportLandXmlForm metres(metric, QString());
    QVERIFY(Child<QRadioButton>(&metres, "RBMeters")->isChecked());
    QVERIFY(!Child<QRadioButton>(&metres, "RBUsSurveyFeet")->isEnabled());
    QCOMPARE(int(metres.Values().unit), int(exchange::LandXmlUnit::Meter));

    QTemporaryDir dir;
    exchange::LandXmlExportRequest feet;
    feet.proposedName = dir.filePath("SITE.xml").toStdString();
    feet.unit = exchange::LandXmlUnit::UsSurveyFoot;
    gui::TExportLandXmlForm form(feet, dir.path());
    QVERIFY(!Child<QRadioButton>(&form, "RBMeters")->isEnabled());
    QVERIFY(Child<QRadioButton>(&form, "RBUsSurveyFeet")->isChecked());
    QString proposed;
    form.chooseFile = [&](const QString&, const QString& p, const QString&) {
      proposed = p;
      return dir.filePath("pad");
    };
    form.ChangeFileName();
    QCOMPARE(proposed, dir.filePath("SITE.xml"));
    Child<QRadioButton>(&form, "RBFeet")->click();
    const exchange::LandXmlExportRequest chosen = form.Values();
    QCOMPARE(QString::fromStdString(chosen.fileName), dir.filePath("pad.xml"));
    QCOMPARE(int(chosen.unit), int(exchange::LandXmlUnit::Foot));
  }

  // Process > Import > LandXML with a file of two surfaces, then Process > Export > LandXML, with
  // the real file dialogs, the choice of surface and the boxes.
  void landXmlCommandsRunFromTheWindow() {
    QTemporaryDir dir;
    const QString file = dir.filePath("SITE.xml");
    std::ofstream(file.toStdString())
        << "<LandXML><Units><Metric linearUnit=\"meter\"/></Units><Surfaces>"
           "<Surface name=\"Existing\"><Definition><Pnts><P id=\"1\">0 0 1</P><P id=\"2\">0 10 2</P>"
           "<P id=\"3\">10 0 3</P></Pnts><Faces><F>1 2 3</F></Faces></Definition></Surface>"
           "<Surface name=\"Pad\"><Definition><Pnts><P id=\"1\">0 0 5</P><P id=\"2\">0 10 5</P>"
           "<P id=\"3\">10 0 5</P><P id=\"4\">10 10 5</P></Pnts><Faces><F>1 2 3</F><F>2 4 3</F></Faces>"
           "</Definition></Surface></Surfaces></LandXML>";
    TestWindow run(settings_);
    model::SurfaceModel& model = run.model;
    gui::MainWindow& window = run.window;

    const auto isFileDialog = [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; };
    QStringList offered;
    QString summary;
    OnModalWhere(isFileDialog, [&](QWidget* w) {
      TypeFileName(static_cast<QFileDialog*>(w), file);
      OnModalWhere([](QWidget* w) { return qobject_cast<QInputDialog*>(w) != nullptr; }, [&](QWidget* w) {
        auto* input = static_cast<QInputDialog*>(w);
        offered = input->comboBoxItems();
        input->setTextValue(offered.value(1));
        input->accept();
        OnModalWhere([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }, [&](QWidget* w) {
          summary = static_cast<QMessageBox*>(w)->text();
          static_cast<QMessageBox*>(w)->accept();
        });
      });
    });
    QVERIFY(window.Commands().Run(app::CommandId::ImportLandXml));
    QCOMPARE(offered, QStringList({"Existing (3 points, 1 faces)", "Pad (4 points, 2 faces)"}));
    QVERIFY2(summary.startsWith("Surface: Pad"), qPrintable(summary));
    QCOMPARE(int{model.PointCount}, 4);
    QCOMPARE(int{model.TriangleCount}, 2);
    QCOMPARE(window.windowTitle(), QString("Terravue <SITE.xml>"));

    // The export does not offer to write over the file the model came from: the save dialog
    // opens at once.
    const QString out = dir.filePath("PAD.xml");
    OnModalWhere(isFileDialog, [&](QWidget* w) {
      TypeFileName(static_cast<QFileDialog*>(w), out);
      OnModalWhere([](QWidget* w) { return qobject_cast<gui::TExportLandXmlForm*>(w) != nullptr; }, [](QWidget* w) {
        Child<QPushButton>(w, "ButtonOK")->click();
        ClickOnNextModal("OK");  // the summary
      });
    });
    QVERIFY(window.Commands().Run(app::CommandId::ExportLandXml));
    std::ifstream written(out.toStdString());
    std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    QVERIFY(text.find("<Surface name=\"Pad\">") != std::string::npos);
    QVERIFY(text.find("<F>2 4 3</F>") != std::string::npos);
  }

  // File > Open reads a LandXML file picked in the real file dialog and remembers it; a bad one
  // is refused with its line and leaves the model open before it as it was.
  void landXmlOpensFromTheFileMenu() {
    QTemporaryDir dir;
    const QString good = dir.filePath("LOT.xml"), bad = dir.filePath("BAD.xml");
    const std::string head = "<LandXML><Surfaces><Surface name=\"Lot\"><Definition><Pnts><P id=\"1\">0 0 1</P>"
                             "<P id=\"2\">0 10 2</P><P id=\"3\">10 0 3</P></Pnts>\n<Faces>";
    const std::string tail = "</Faces></Definition></Surface></Surfaces></LandXML>";
    std::ofstream(good.toStdString()) << head << "<F>1 2 3</F>" << tail;
    std::ofstream(bad.toStdString()) << head << "<F>1 2 7</F>" << tail;
    TestWindow run(settings_);
    const auto isFileDialog = [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; };
    const auto isMessageBox = [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; };
    QString question;
    const auto openFile = [&](const QString& file, bool unsaved) {
      QString shown;
      const auto pickFile = [&] {
        OnModalWhere(isFileDialog, [&](QWidget* w) {
          TypeFileName(static_cast<QFileDialog*>(w), file);
          // The import's summary, or the refusal.
          OnModalWhere(isMessageBox, [&](QWidget* w) {
            shown = static_cast<QMessageBox*>(w)->text();
            static_cast<QMessageBox*>(w)->accept();
          });
        });
      };
      if (unsaved) {
        OnModalWhere(isMessageBox, [&](QWidget* w) {
          question = static_cast<QMessageBox*>(w)->text();
          pickFile();
          for (QAbstractButton* b : static_cast<QMessageBox*>(w)->buttons())
            if (b->text() == "&Yes") b->click();  // No is the default
        });
      } else {
        pickFile();
      }
      run.window.Commands().Run(app::CommandId::OpenSurface);
      return shown;
    };

    const QString summary = openFile(good, false);
    QVERIFY2(summary.startsWith("Surface: Lot"), qPrintable(summary));
    QCOMPARE(int{run.model.TriangleCount}, 1);
    QCOMPARE(run.window.windowTitle(), QString("Terravue <LOT.xml>"));
    QCOMPARE(model::RecentFiles(settings_), std::vector<std::string>{good.toStdString()});

    // An imported surface is not saved yet: opening another file asks first.
    const QString refusal = openFile(bad, true);
    QVERIFY2(question.contains("anyway"), qPrintable(question));
    QVERIFY2(refusal.contains("Line 2: <F> names the point \"7\", which the surface does not hold."),
             qPrintable(refusal));
    QCOMPARE(int{run.model.PointCount}, 3);
    QCOMPARE(int{run.model.TriangleCount}, 1);
    QCOMPARE(run.window.windowTitle(), QString("Terravue <LOT.xml>"));
    QCOMPARE(model::RecentFiles(settings_), std::vector<std::string>{good.toStdString()});
  }

  // The CAD page's buttons open the layer dialog in the mode of the program chosen on the page,
  // before OK; the Help button is there when the window has a help viewer.
  void preferencesCadButtonsOpenTheLayerDialogOfThePage() {
    TestWindow run(settings_);
    gui::MainWindow& window = run.window;

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

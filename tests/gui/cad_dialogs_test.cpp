// The CAD layer dialog in its two modes and the CAD data directory dialog: what they show and
// what they hand back to the settings.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "common/messages.h"
#include "app/settings_file.h"
#include "dialogs/cad/cad_data_dir_form.h"
#include "dialogs/cad/cad_layers_form.h"
#include "device/map_options.h"
#include "modal.h"
#include "cad/cad_layers.h"
#include "device/cad_settings.h"
#include "support/fake_port.h"

using namespace terravue;
using cad::CadLayerMode;
using terravue::testing::FakePort;
using terravue::testing::OnNextModal;

namespace {

void PressOk(QWidget* dialog) {
  dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
}

}  // namespace

class CadDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void numbersModeShowsAllButTheFacesRowAndRefusesOutOfRangeCells() {
    SettingsRecord s = DefaultSettings();
    FakePort port;
    gui::TCADLayersForm form(port, CadLayerMode::Numbers, cad::LoadCadLayerRows(s, CadLayerMode::Numbers));
    QTableWidget* table = form.CADTable();
    QCOMPARE(form.windowTitle(), QString("Set CAD Layer Information"));
    QCOMPARE(table->rowCount(), 22);
    QCOMPARE(table->item(15, 0)->text(), QString("Vectors"));
    QVERIFY(table->isColumnHidden(1) && table->isColumnHidden(2));
    QVERIFY(!table->isColumnHidden(3) && !table->isColumnHidden(4));
    QCOMPARE(table->currentColumn(), 3);

    table->item(0, 4)->setText("300");
    QCOMPARE(port.Texts(FakePort::Kind::Error).size(), std::size_t{1});
    QCOMPARE(table->item(0, 4)->text(), QString("7"));
    table->item(0, 3)->setText("42");
    QCOMPARE(form.Rows()[0].batchNumber, 42);
  }

  void okStoresNamesAsTypedAndLeavesOtherColumns() {
    SettingsRecord s = DefaultSettings();
    FakePort port;
    OnNextModal([](QWidget* dialog) {
      auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("CADTable"));
      QCOMPARE(table->rowCount(), 23);
      table->item(6, 1)->setText("my contours");
      table->item(6, 2)->setText("3");
      PressOk(dialog);
    });
    QVERIFY(gui::EditCadLayers(nullptr, port, s, CadLayerMode::Names));
    const CadLayer contours = s.Get(device::ContourOptions::PrimaryLayer);
    QCOMPARE(QString::fromStdString(contours.LayerName), QString("my contours"));
    QCOMPARE(int(contours.AcadColour), 3);
    QCOMPARE(int(contours.BatchNumber), 7);
  }

  void dataDirectoryFollowsTheTreeAndIsStoredWithADelimiter() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("Cad Files/Site"));
    const QString site = QDir::toNativeSeparators(root.path() + "/Cad Files/Site");
    SettingsRecord s = DefaultSettings();
    s.Set(device::CadOutput::CadDataDirectory, (root.path() + "/").toStdString());
    FakePort port;
    OnNextModal([site](QWidget* dialog) {
      auto* form = static_cast<gui::TCADDataDirForm*>(dialog);
      QCOMPARE(form->windowTitle(), QString("Set Default CAD Data Directory"));
      auto* model = static_cast<QFileSystemModel*>(form->FolderTree()->model());
      form->FolderTree()->setCurrentIndex(model->index(site));
      QCOMPARE(form->Directory(), site);
      PressOk(dialog);
    });
    QVERIFY(gui::ChooseCadDataDirectory(nullptr, port, s));
    QCOMPARE(QString::fromStdString(s.Get(device::CadOutput::CadDataDirectory)), site + "/");
  }
};

QTEST_MAIN(CadDialogsTest)
#include "cad_dialogs_test.moc"

// Printing: the PDF printer's page and scale, the Print dialog, failures, Printer Setup's
// re-layout, Set Scale and the calibration dialog.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "common/app_settings.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "dialogs/calibrate_printer_dlg.h"
#include "dialogs/set_scale_form.h"
#include "model/surface_model.h"
#include "modal.h"
#include "device/drawing_device.h"
#include "device/page_setup.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "print/print_commands.h"
#include "print/print_form.h"
#include "print/sheet_printer.h"
#include "support/fake_port.h"

using namespace terravue;
using terravue::testing::FakePort;
using terravue::testing::Child;
using terravue::testing::OnNextModal;
namespace page = terravue::device::PageSetup;

namespace {

void Click(QWidget* w, const char* name) { Child<QPushButton>(w, name)->click(); }

void Type(QWidget* w, const char* name, const QString& text) {
  QLineEdit* field = Child<QLineEdit>(w, name);
  field->setFocus();
  field->setText(text);
  emit field->editingFinished();
}

// The page content of a PDF as text: its deflated streams inflated.
QString PdfContent(const QByteArray& pdf) {
  QString content;
  const QRegularExpression stream(QStringLiteral("/FlateDecode\\s*>>\\s*stream\\r?\\n"));
  auto it = stream.globalMatch(QString::fromLatin1(pdf));
  while (it.hasNext()) {
    const auto m = it.next();
    const qsizetype start = m.capturedEnd();
    const qsizetype end = pdf.indexOf("endstream", start);
    QByteArray packed = pdf.mid(start, end - start);
    // qUncompress wants the expected size in front; any size will do, it grows as needed.
    packed.prepend(QByteArray("\x00\x10\x00\x00", 4));
    content += QString::fromLatin1(qUncompress(packed));
  }
  return content;
}

void DrawSquare(device::DrawingDevice& d, double side) {
  d.DevicePlot(false, 0, 0, 0);
  d.DevicePenDown();
  for (const auto& [x, y] : {std::pair{side, 0.0}, {side, side}, {0.0, side}, {0.0, 0.0}}) d.DevicePlot(false, x, y, 0);
  d.DevicePenUp();
}

}  // namespace

class SheetPrintTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = DefaultSettings();
    settings_.Set(settings::AngleConvention, 0);
    settings_.Set(settings::ReportFontName, "Liberation Mono");
    port_ = std::make_unique<FakePort>();
    model_ = std::make_unique<model::SurfaceModel>();
    model_->AllocateStore();
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1000.0, 0.0}, {1000.0, 1000.0}, {0.0, 1000.0}}) {
      ++model_->PointCount;
      model_->PointX[model_->PointCount] = x;
      model_->PointY[model_->PointCount] = y;
    }
    model_->ComputeExtents();
    session_ = std::make_unique<Session>(Session{*model_, settings_, *port_, dir_.path().toStdString()});
  }

  void pdfPageSizeAndMapScaleAreTrue() {
    gui::SheetPrinter printer;
    const QString file = dir_.filePath(QStringLiteral("square.pdf"));
    printer.UsePdfFile(file);
    printer.Printer().setPageSize(QPageSize(QPageSize::Letter));
    gui::SetUpPageFromPrinter(*session_, printer);
    QVERIFY(settings_.Get(page::PrinterPresent));
    QCOMPARE(settings_.Get(page::DotsPerInchX), 600.0);
    QCOMPARE(settings_.Get(page::PaperCode), 1);
    QCOMPARE(QString::fromStdString(settings_.Get(page::PaperName)), QString("Letter 8 1/2 x 11 in"));
    device::FitModel(settings_, *model_, true);
    QVERIFY(device::ApplyScale(settings_, 200));

    gui::PrinterTarget target(printer.Printer(), settings_, *model_);
    const auto outcome =
        device::PrintMap(*port_, settings_, target, 1, [](device::DrawingDevice& d) { DrawSquare(d, 1000); });
    QCOMPARE(outcome, device::PrintOutcome::Printed);
    QCOMPARE(port_->Texts(FakePort::Kind::Completion), std::vector<std::string>{"Printing complete!"});

    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.contains("/MediaBox [0 0 612"));
    const QString content = PdfContent(bytes);
    // Printer pixels to points: 72 / 600.
    QVERIFY2(content.contains(QStringLiteral("0.120000000 0 0 -0.120000000 0 792 cm")), qPrintable(content.left(300)));
    // The square's strokes in printer pixels: 3000 of them each way, 5 inches.
    const QRegularExpression stroke(QStringLiteral("(-?[0-9.]+) (-?[0-9.]+) m\\n(-?[0-9.]+) (-?[0-9.]+) l\\n"));
    QList<double> lengths;
    for (auto it = stroke.globalMatch(content); it.hasNext();) {
      const auto m = it.next();
      lengths << std::hypot(m.captured(3).toDouble() - m.captured(1).toDouble(),
                            m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    // At 0.12 points per printer pixel: 360 points.
    QVERIFY2(lengths.contains(3000.0), qPrintable(content));
  }

  void aPrintThatCannotBeWrittenIsReportedAsFailed() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("missing/folder/map.pdf")));
    gui::SetUpPageFromPrinter(*session_, printer);
    gui::PrinterTarget target(printer.Printer(), settings_, *model_);
    const auto outcome = device::PrintMap(*port_, settings_, target, 1, [](device::DrawingDevice&) {});
    QCOMPARE(outcome, device::PrintOutcome::Failed);
    QVERIFY(port_->Texts(FakePort::Kind::Completion).empty());
    QCOMPARE(port_->Texts(FakePort::Kind::Error), std::vector<std::string>{"The map could not be printed."});
  }

  void printDialogShowsThePageAndPrintsTheCopies() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("copies.pdf")));
    gui::SetUpPageFromPrinter(*session_, printer);
    device::FitModel(settings_, *model_, true);
    QString scale, copiesAfterBadEntry;
    int drawn = 0;
    OnNextModal([&](QWidget* w) {
      scale = Child<QLabel>(w, "LabelScale")->text();
      Type(w, "EditCopies", QStringLiteral("300"));  // out of range: back to 1
      copiesAfterBadEntry = Child<QLineEdit>(w, "EditCopies")->text();
      Type(w, "EditCopies", QStringLiteral("2"));
      Click(w, "ButtonPrint");
    });
    gui::SheetHooks hooks;
    hooks.drawMap = [&](device::DrawingDevice& d) {
      ++drawn;
      DrawSquare(d, 1000);
    };
    gui::PrintCommand(nullptr, *session_, printer, hooks);
    QCOMPARE(scale, QString("%1 (feet/inch)").arg(settings_.Get(page::MapScale), 0, 'f', 3));
    QCOMPARE(copiesAfterBadEntry, QString("1"));
    QCOMPARE(port_->Texts(FakePort::Kind::Error), std::vector<std::string>{"Number out of range"});
    QCOMPARE(drawn, 1);
    QCOMPARE(printer.Printer().copyCount(), 2);
    QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("copies.pdf"))));
  }

  // Print on the PDF printer and the batch tool's map verb lay out the same Letter sheet, so
  // that both draw the same picture on it.
  void pdfPrinterLaysOutTheBatchToolsLetterSheet() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("letter.pdf")));
    printer.Printer().setPageSize(QPageSize(QPageSize::Letter));
    printer.Printer().setPageOrientation(QPageLayout::Portrait);
    const device::PrinterDescription pdf = printer.Describe();
    const device::PrinterDescription batch = device::PaperDescription(*device::PaperByOption("letter"), false, 600);
    QCOMPARE(pdf.paperCode, batch.paperCode);
    QCOMPARE(pdf.dotsPerInchX, batch.dotsPerInchX);
    QCOMPARE(pdf.paperWidth, batch.paperWidth);
    QCOMPARE(pdf.paperHeight, batch.paperHeight);
    QCOMPARE(pdf.offsetX, batch.offsetX);
    QCOMPARE(pdf.offsetY, batch.offsetY);
    QCOMPARE(pdf.pageWidth, batch.pageWidth);
    QCOMPARE(pdf.pageHeight, batch.pageHeight);
  }

  void printWithoutAPrinterStopsAtOnce() {
    gui::SheetPrinter printer;
    settings_.Set(page::PrinterPresent, false);
    gui::PrintCommand(nullptr, *session_, printer, {});
    QCOMPARE(port_->Texts(FakePort::Kind::Error),
             std::vector<std::string>{"Printer not available.\r\nUse the Print Setup command to specify a printer."});
  }

  void aNewPaperLaysThePageOutAgain() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("a.pdf")));
    printer.Printer().setPageSize(QPageSize(QPageSize::Letter));
    gui::SetUpPageFromPrinter(*session_, printer);
    int changes = 0;
    gui::SheetHooks hooks;
    hooks.pageChanged = [&] { ++changes; };

    gui::PrinterIdentity before = printer.Identity();
    QVERIFY(!gui::ApplyPrinterChange(*session_, printer, before, hooks));
    printer.Printer().setPageOrientation(QPageLayout::Landscape);
    QVERIFY(gui::ApplyPrinterChange(*session_, printer, before, hooks));
    QCOMPARE(changes, 1);
    QVERIFY(settings_.Get(page::PaperWidth) > settings_.Get(page::PaperHeight));

    before = printer.Identity();
    printer.Printer().setPageSize(QPageSize(QPageSize::A3));
    QVERIFY(gui::ApplyPrinterChange(*session_, printer, before, hooks));
    QCOMPARE(QString::fromStdString(settings_.Get(page::PaperName)), QString("A3 297 x 420 mm"));
  }

  // Print Setup offers the paper and orientation for a PDF file as for any printer; the choice
  // is kept with the page settings and comes back into the next run's printer.
  void printSetupChoosesThePaperForEveryPrinter() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("paper.pdf")));
    gui::SetUpPageFromPrinter(*session_, printer);
    bool helpShown = false, propertiesEnabled = true;
    OnNextModal([&](QWidget* w) {
      propertiesEnabled = Child<QPushButton>(w, "ButtonProperties")->isEnabled();  // a PDF file has none
      Child<QPushButton>(w, "ButtonHelp")->click();
      Child<QComboBox>(w, "CBPaperSize")->setCurrentText(QStringLiteral("A3 297 x 420 mm"));
      Child<QRadioButton>(w, "RBLandscape")->setChecked(true);
      Click(w, "ButtonOK");
    });
    int changes = 0;
    gui::SheetHooks hooks;
    hooks.pageChanged = [&] { ++changes; };
    hooks.help = [&] { helpShown = true; };
    gui::PrinterSetupCommand(nullptr, *session_, printer, hooks);
    QVERIFY(helpShown);
    QVERIFY(!propertiesEnabled);
    QCOMPARE(changes, 1);
    QCOMPARE(settings_.Get(page::PaperChoice), std::uint8_t{5});
    QVERIFY(settings_.Get(page::Landscape));
    QCOMPARE(QString::fromStdString(settings_.Get(page::PaperName)), QString("A3 297 x 420 mm"));
    // The PDF page is the batch tool's sheet of that paper: 420 x 297 mm at 600 dots per inch.
    QCOMPARE(settings_.Get(page::PaperWidth), 9921);
    QCOMPARE(settings_.Get(page::PaperHeight), 7016);

    gui::SheetPrinter next;
    next.UsePdfFile(dir_.filePath(QStringLiteral("next.pdf")));
    settings_.Set(page::PaperWidth, 1);
    gui::SetUpPageFromPrinter(*session_, next);
    QVERIFY(next.CurrentPaper() && next.CurrentPaper()->option == "a3");
    QVERIFY(next.Landscape());
    QCOMPARE(settings_.Get(page::PaperWidth), 9921);
  }

  void printerSetupCancelledChangesNothing() {
    gui::SheetPrinter printer;
    printer.UsePdfFile(dir_.filePath(QStringLiteral("setup.pdf")));
    gui::SetUpPageFromPrinter(*session_, printer);
    const SettingsRecord before = settings_;
    bool sawDialog = false;
    OnNextModal([&](QWidget* w) {
      sawDialog = true;
      qobject_cast<QDialog*>(w)->reject();
    });
    int changes = 0;
    gui::SheetHooks hooks;
    hooks.pageChanged = [&] { ++changes; };
    gui::PrinterSetupCommand(nullptr, *session_, printer, hooks);
    QVERIFY(sawDialog);
    QCOMPARE(changes, 0);
    QVERIFY(settings_ == before);
  }

  void setScaleRefitsOnANewAngleAndCancelPutsTheViewBack() {
    device::FitModel(settings_, *model_, true);
    const double scale = settings_.Get(page::MapScale);
    QString labelScale, labelFirst, scaleAfterAngle;
    OnNextModal([&](QWidget* w) {
      labelScale = Child<QLabel>(w, "LabelScale")->text();
      labelFirst = Child<QLabel>(w, "LabelOffset1")->text();
      Type(w, "EditAngle", QStringLiteral("45"));
      scaleAfterAngle = Child<QLineEdit>(w, "EditScale")->text();
      Click(w, "ButtonCancel");
    });
    int redraws = 0;
    gui::SheetHooks hooks;
    hooks.redrawScreen = [&] { ++redraws; };
    gui::SetScaleCommand(nullptr, *session_, hooks);
    QCOMPARE(labelScale, QString("Scale (feet/inch) >"));
    QCOMPARE(labelFirst, QString("Northing Offset >"));
    QVERIFY(scaleAfterAngle != QString::number(scale, 'f', 3));  // the diagonal fits larger
    QCOMPARE(settings_.Get(page::RotationAngle), 0.0);
    QCOMPARE(settings_.Get(page::MapScale), scale);
    QCOMPARE(redraws, 1);
  }

  void setScaleOkStoresTheFields() {
    device::FitModel(settings_, *model_, true);
    OnNextModal([&](QWidget* w) {
      Type(w, "EditScale", QStringLiteral("250"));
      Type(w, "EditOffset1", QStringLiteral("-12"));  // Northing first
      Child<QRadioButton>(w, "RBBlackWhite")->setChecked(true);
      Click(w, "ButtonOK");
    });
    gui::SetScaleCommand(nullptr, *session_, {});
    QCOMPARE(settings_.Get(page::MapScale), 250.0);
    QCOMPARE(settings_.Get(page::ViewCentreY), -12.0);
    QVERIFY(settings_.Get(page::BlackAndWhite));
    QVERIFY(port_->shown.empty());
  }

  void setScaleIsRefusedIn3D() {
    settings_.Set(settings::View3DOptions::View3D, true);
    gui::SetScaleCommand(nullptr, *session_, {});
    QCOMPARE(port_->Texts(FakePort::Kind::Warning),
             std::vector<std::string>{"This command not available while viewing in 3-D."});
  }

  void calibrationDialogStoresTheFactors() {
    OnNextModal([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), QString("Printer Calibration"));
      QCOMPARE(Child<QLineEdit>(w, "EditHorizontal")->text(), QString("1.000"));
      Type(w, "EditHorizontal", QStringLiteral("1.02"));
      Type(w, "EditVertical", QStringLiteral("zero"));  // unreadable: the old text comes back
      Click(w, "ButtonOK");
    });
    gui::CalibratePrinter(nullptr, *port_, settings_);
    QCOMPARE(settings_.Get(page::CalibrationX), 1.02);
    QCOMPARE(settings_.Get(page::CalibrationY), 1.0);
    QVERIFY(port_->shown.empty());
  }

 private:
  QTemporaryDir dir_;
  SettingsRecord settings_;
  std::unique_ptr<FakePort> port_;
  std::unique_ptr<model::SurfaceModel> model_;
  std::unique_ptr<Session> session_;
};

QTEST_MAIN(SheetPrintTest)
#include "sheet_print_test.moc"

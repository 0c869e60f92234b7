#include "print/sheet_printer.h"

#include <cmath>

#include <QPrinter>
#include <QPrinterInfo>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "device/drawing_device.h"
#include "device/page_setup.h"
#include "device/page_setup_settings.h"
#include "render/printer_device.h"

namespace terravue::gui {
namespace {

// Sharp lines and text in a PDF; stipples stay small images.
constexpr int PdfDotsPerInch = 600;
constexpr int CustomPaperCode = 256;

int Whole(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

SheetPrinter::SheetPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  if (QPrinterInfo::defaultPrinter().isNull()) printer_->setOutputFormat(QPrinter::PdfFormat);
  Normalise();
}

SheetPrinter::~SheetPrinter() = default;

bool SheetPrinter::IsPdf() const { return printer_->outputFormat() == QPrinter::PdfFormat; }

QString SheetPrinter::Name() const { return IsPdf() ? FromUtf8(msg::PdfPrinterName) : printer_->printerName(); }

PrinterIdentity SheetPrinter::Identity() const {
  const QPageLayout layout = printer_->pageLayout();
  return {Name(), IsPdf(), layout.orientation(), layout.pageSize().id(),
          layout.pageSize().size(QPageSize::Millimeter)};
}

device::PrinterDescription SheetPrinter::Describe() const {
  device::PrinterDescription d;
  const QPageLayout layout = printer_->pageLayout();
  d.present = printer_->isValid();
  d.paperCode = layout.pageSize().id() == QPageSize::Custom ? CustomPaperCode : layout.pageSize().windowsId();
  d.landscape = layout.orientation() == QPageLayout::Landscape;
  d.dotsPerInchX = d.dotsPerInchY = printer_->resolution();
  const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
  const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
  d.paperWidth = Whole(paper.width());
  d.paperHeight = Whole(paper.height());
  d.offsetX = Whole(page.left() - paper.left());
  d.offsetY = Whole(page.top() - paper.top());
  d.pageWidth = Whole(page.width());
  d.pageHeight = Whole(page.height());
  return d;
}

void SheetPrinter::UsePdfFile(const QString& path) {
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(path);
  Normalise();
}

void SheetPrinter::Normalise() {
  if (!IsPdf()) return;
  printer_->setResolution(PdfDotsPerInch);
  const double m = device::PdfMarginInches;
  printer_->setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Inch);
}

PrinterTarget::PrinterTarget(QPrinter& printer, SettingsRecord& settings, const model::SurfaceModel& model)
    : printer_(printer), settings_(settings), model_(model) {}

PrinterTarget::~PrinterTarget() {
  if (painter_.isActive()) AbortDocument();
}

bool PrinterTarget::BeginDocument(int copies) {
  printer_.setCopyCount(copies);
  // The painter starts at the paper's corner; the margins of the page set-up are ours.
  printer_.setFullPage(true);
  if (!painter_.begin(&printer_)) {
    printer_.setFullPage(false);
    return false;
  }
  painter_.translate(settings_.Get(device::PageSetup::MarginLeft), settings_.Get(device::PageSetup::MarginTop));
  device_ = std::make_unique<render::PrinterDevice>(device::CurrentViewTransform(settings_, model_),
                                            device::PrinterFrame(settings_), painter_);
  return true;
}

device::DrawingDevice& PrinterTarget::Device() { return *device_; }

bool PrinterTarget::EndDocument() {
  if (device_) device_->Finish();
  device_.reset();
  const bool ended = painter_.end();
  printer_.setFullPage(false);
  return ended && printer_.printerState() != QPrinter::Error && printer_.printerState() != QPrinter::Aborted;
}

void PrinterTarget::AbortDocument() {
  device_.reset();
  printer_.abort();
  if (painter_.isActive()) painter_.end();
  printer_.setFullPage(false);
}

}  // namespace terravue::gui

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

// The toolkit's names of the papers Print Setup offers, in the order of device::Papers().
constexpr QPageSize::PageSizeId PaperIds[] = {QPageSize::Letter, QPageSize::Legal, QPageSize::Tabloid,
                                              QPageSize::A4,     QPageSize::A3,    QPageSize::A2,
                                              QPageSize::A1,     QPageSize::A0,    QPageSize::AnsiC,
                                              QPageSize::AnsiD};
static_assert(std::size(PaperIds) == device::PageSetup::PaperChoiceCount);

std::size_t IndexOf(const device::Paper& paper) { return static_cast<std::size_t>(&paper - device::Papers().data()); }

}  // namespace

SheetPrinter::SheetPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  if (QPrinterInfo::defaultPrinter().isNull()) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    // Until a paper is chosen, Letter, as the sheet without a printer and the batch tool's.
    printer_->setPageSize(QPageSize(QPageSize::Letter));
  }
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

void SheetPrinter::UseQueue(const QString& name) {
  printer_->setOutputFormat(QPrinter::NativeFormat);
  printer_->setPrinterName(name);
  Normalise();
}

bool SheetPrinter::UsePaper(const device::Paper& paper, bool landscape) {
  const bool taken = printer_->setPageSize(QPageSize(PaperIds[IndexOf(paper)]));
  printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  return taken;
}

const device::Paper* SheetPrinter::CurrentPaper() const {
  const QPageSize::PageSizeId id = printer_->pageLayout().pageSize().id();
  for (std::size_t i = 0; i < std::size(PaperIds); ++i)
    if (PaperIds[i] == id) return &device::Papers()[i];
  return nullptr;
}

bool SheetPrinter::Landscape() const { return printer_->pageLayout().orientation() == QPageLayout::Landscape; }

device::PrinterDescription SheetPrinter::Describe() const {
  // A PDF file has no unprintable edges of its own: it gets the sheet the batch tool draws, so
  // that both give the same page.
  const device::Paper* offered = CurrentPaper();
  if (IsPdf())
    return device::PaperDescription(offered ? *offered : device::Papers().front(), Landscape(), printer_->resolution());
  device::PrinterDescription d;
  if (offered) d.paperName = offered->name;
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
  if (IsPdf()) printer_->setResolution(PdfDotsPerInch);
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

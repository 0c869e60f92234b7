#pragma once

#include <memory>

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include "device/page_setup.h"

class QPrinter;

namespace terravue {
class SettingsRecord;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::render {
class PrinterDevice;
}

namespace terravue::gui {


// What decides whether the page must be laid out again after Printer Setup.
struct PrinterIdentity {
  QString name;
  bool pdf = false;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QPageSize::PageSizeId paper = QPageSize::Letter;
  QSizeF paperSize;  // millimetres; custom sizes differ by size alone
  friend bool operator==(const PrinterIdentity&, const PrinterIdentity&) = default;
};

// The current printer: the system's default queue when there is one, else a PDF file, which is
// always available.
class SheetPrinter {
 public:
  SheetPrinter();
  ~SheetPrinter();

  QPrinter& Printer() { return *printer_; }
  bool IsPdf() const;
  // The queue's name, or "PDF file".
  QString Name() const;
  PrinterIdentity Identity() const;
  // Paper, printable area, offsets and resolution in the printer's pixels.
  device::PrinterDescription Describe() const;

  // Prints to a PDF file from now on.
  void UsePdfFile(const QString& path);
  // Prints to a system printer by its queue name from now on.
  void UseQueue(const QString& name);
  // Puts one of the papers Print Setup offers in the printer, turned as asked. False when the
  // printer does not take it (it keeps its own paper then).
  bool UsePaper(const device::Paper& paper, bool landscape);
  // The offered paper the printer holds now, if it is one of them.
  const device::Paper* CurrentPaper() const;
  bool Landscape() const;
  // A PDF printer gets a resolution that keeps it sharp without costing per-dot work.
  void Normalise();

 private:
  std::unique_ptr<QPrinter> printer_;
};

// A print job on the current printer: the painter's origin at the printable area's corner,
// the map drawn by a printer device in printer pixels.
class PrinterTarget : public device::PrintTarget {
 public:
  PrinterTarget(QPrinter& printer, SettingsRecord& settings, const model::SurfaceModel& model);
  ~PrinterTarget() override;

  bool BeginDocument(int copies) override;
  device::DrawingDevice& Device() override;
  bool EndDocument() override;
  void AbortDocument() override;

 private:
  QPrinter& printer_;
  SettingsRecord& settings_;
  const model::SurfaceModel& model_;
  QPainter painter_;
  std::unique_ptr<render::PrinterDevice> device_;
};

}  // namespace terravue::gui

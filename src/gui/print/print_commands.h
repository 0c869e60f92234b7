#pragma once

#include <functional>

class QWidget;

namespace terravue {
struct Session;
namespace device {
class DrawingDevice;
}
}  // namespace terravue

namespace terravue::gui {

class SheetPrinter;
struct PrinterIdentity;

// What the sheet's commands ask of the window that owns the map.
struct SheetHooks {
  // The map redraw onto any device.
  std::function<void(device::DrawingDevice&)> drawMap;
  // The page set-up changed: lay the screen out again and redraw it.
  std::function<void()> pageChanged;
  // Redraw the map on the screen.
  std::function<void()> redrawScreen;
};

// Lays the page out from the current printer (start-up, a change of printer).
void SetUpPageFromPrinter(Session& session, const SheetPrinter& printer);

// Print: the Print dialog, then the map on the printer.
void PrintCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks);
// Printer Setup: the system's dialog, then a new layout when printer, orientation or paper changed.
void PrinterSetupCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks);
// After the printer dialog's OK: lays the page out again when the printer changed from `before`.
// True when it did.
bool ApplyPrinterChange(Session& session, SheetPrinter& printer, const PrinterIdentity& before,
                        const SheetHooks& hooks);
// Set Scale (refused in the 3-D view), then the screen redrawn whatever the answer.
void SetScaleCommand(QWidget* parent, Session& session, const SheetHooks& hooks);

}  // namespace terravue::gui

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
  // Print Setup's help page.
  std::function<void()> help;
};

// Lays the page out from the current printer (start-up, a change of printer), after putting
// the paper chosen in Print Setup back into it.
void SetUpPageFromPrinter(Session& session, SheetPrinter& printer);

// Print: the Print dialog, then the map on the printer.
void PrintCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks);
// Printer Setup: printer, paper and orientation (stored with the page settings), then a new
// layout when any of them changed.
void PrinterSetupCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks);
// After the printer dialog's OK: lays the page out again when the printer changed from `before`.
// True when it did.
bool ApplyPrinterChange(Session& session, SheetPrinter& printer, const PrinterIdentity& before,
                        const SheetHooks& hooks);
// Set Scale (refused in the 3-D view), then the screen redrawn whatever the answer.
void SetScaleCommand(QWidget* parent, Session& session, const SheetHooks& hooks);

}  // namespace terravue::gui

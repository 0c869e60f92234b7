#include "print/print_commands.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "dialogs/set_scale_form.h"
#include "model/surface_model.h"
#include "device/page_setup.h"
#include "common/view3d_settings.h"
#include "print/print_form.h"
#include "print/sheet_printer.h"

namespace terravue::gui {

void SetUpPageFromPrinter(Session& session, const SheetPrinter& printer) {
  device::SetUpPage(session.settings, printer.Describe());
}

void PrintCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks) {
  if (!device::CheckPrinterAvailable(session.port, session.settings)) return;
  // The dialogs opened from the Print dialog belong to it.
  QWidget* over = parent;
  TPrintForm form(
      session, printer, [&] { PrinterSetupCommand(over, session, printer, hooks); },
      [&] { SetScaleCommand(over, session, hooks); }, parent);
  over = &form;
  if (form.exec() != QDialog::Accepted) return;

  if (printer.IsPdf() && printer.Printer().outputFileName().isEmpty()) {
    const QString file = QFileDialog::getSaveFileName(parent, FromUtf8(msg::PrintCaption), QDir::homePath(),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty()) return;
    printer.UsePdfFile(file);
  }
  PrinterTarget target(printer.Printer(), session.settings, session.model);
  device::PrintMap(session.port, session.settings, target, form.Copies(),
                   hooks.drawMap ? hooks.drawMap : [](device::DrawingDevice&) {});
}

void PrinterSetupCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks) {
  const PrinterIdentity before = printer.Identity();
  QPrintDialog dialog(&printer.Printer(), parent);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile);
  if (dialog.exec() != QDialog::Accepted) return;
  printer.Normalise();
  ApplyPrinterChange(session, printer, before, hooks);
}

bool ApplyPrinterChange(Session& session, SheetPrinter& printer, const PrinterIdentity& before,
                        const SheetHooks& hooks) {
  const device::PrinterDescription description = printer.Describe();
  if (!description.present) {
    session.port.ShowError(msg::PrinterNotAvailable);
    return false;
  }
  if (printer.Identity() == before) return false;
  device::SetUpPage(session.settings, description);
  if (session.model.PointCount > 0) device::FitModel(session.settings, session.model, false);
  if (hooks.pageChanged) hooks.pageChanged();
  return true;
}

void SetScaleCommand(QWidget* parent, Session& session, const SheetHooks& hooks) {
  if (session.settings.Get(settings::View3DOptions::View3D)) {
    session.port.ShowWarning(msg::NotAvailableIn3D);
    return;
  }
  TSetScaleForm form(session, parent);
  form.exec();
  // OK stored the new view, Cancel put the old one back: either way the map follows.
  if (hooks.redrawScreen) hooks.redrawScreen();
}

}  // namespace terravue::gui

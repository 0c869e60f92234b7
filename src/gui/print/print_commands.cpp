#include "print/print_commands.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "dialogs/set_scale_form.h"
#include "model/surface_model.h"
#include "device/page_setup.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "print/print_form.h"
#include "print/print_setup_form.h"
#include "print/sheet_printer.h"

namespace terravue::gui {

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

void SetUpPageFromPrinter(Session& session, SheetPrinter& printer) {
  // The paper chosen last time goes back into the printer first.
  const SettingsRecord& s = session.settings;
  if (s.Get(device::PageSetup::PaperChoice) != 0)
    printer.UsePaper(device::ChosenPaper(s), s.Get(device::PageSetup::Landscape));
  device::SetUpPage(session.settings, printer.Describe());
}

namespace {

PrintSetupChoice CurrentPrintSetup(const Session& session, const SheetPrinter& printer) {
  const device::Paper* paper = printer.CurrentPaper();
  if (!paper) paper = &device::ChosenPaper(session.settings);
  return {printer.IsPdf() ? QString() : printer.Name(),
          static_cast<int>(paper - device::Papers().data()), printer.Landscape()};
}

void ApplyPrintSetup(Session& session, SheetPrinter& printer, const PrintSetupChoice& choice) {
  if (choice.printer.isEmpty()) {
    // The file is asked for when printing.
    if (!printer.IsPdf()) printer.UsePdfFile(QString());
  } else {
    printer.UseQueue(choice.printer);
  }
  const device::Paper& paper = device::Papers()[static_cast<std::size_t>(choice.paper)];
  printer.UsePaper(paper, choice.landscape);
  session.settings.Set(device::PageSetup::PaperChoice, device::PaperChoiceOf(paper));
  session.settings.Set(device::PageSetup::Landscape, choice.landscape);
}

}  // namespace

void PrinterSetupCommand(QWidget* parent, Session& session, SheetPrinter& printer, const SheetHooks& hooks) {
  const PrinterIdentity before = printer.Identity();
  const PrintSetupChoice original = CurrentPrintSetup(session, printer);
  const std::uint8_t storedPaper = session.settings.Get(device::PageSetup::PaperChoice);
  const bool storedLandscape = session.settings.Get(device::PageSetup::Landscape);
  bool touched = false;
  TPrintSetupForm form(QPrinterInfo::availablePrinterNames(), original, parent);
  form.properties = [&](PrintSetupChoice& choice) {
    // The system's dialog works on the printer itself; the form shows what it left there.
    touched = true;
    ApplyPrintSetup(session, printer, choice);
    QPrintDialog dialog(&printer.Printer(), &form);
    if (dialog.exec() != QDialog::Accepted) return;
    printer.Normalise();
    choice = CurrentPrintSetup(session, printer);
  };
  if (hooks.help) form.SetHelp(hooks.help);
  if (form.exec() != QDialog::Accepted) {
    // Cancel leaves the printer and the page settings as they were.
    if (touched) {
      ApplyPrintSetup(session, printer, original);
      session.settings.Set(device::PageSetup::PaperChoice, storedPaper);
      session.settings.Set(device::PageSetup::Landscape, storedLandscape);
    }
    return;
  }
  ApplyPrintSetup(session, printer, form.Choice());
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

#include "controllers/exchange_controller.h"

#include "commands/command_table.h"
#include "common/preferences.h"
#include "controllers/view_controller.h"
#include "dialogs/import_export/export_coord_form.h"
#include "dialogs/import_export/import_coord_form.h"
#include "dialogs/preferences/preferences_form.h"
#include "exchange/export_commands.h"
#include "exchange/import_commands.h"
#include "mainwindow/window_context.h"

namespace terravue::gui {

using C = common::CommandId;
using exchange::AsciiKind;

ExchangeController::ExchangeController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view) {}

void ExchangeController::RegisterCommands() {
  CommandTable& t = c_.commands;
  t.SetHandler(C::ImportCoordinates, [this] { ImportCoordinates(); });
  t.SetHandler(C::ImportBorder, [this] { ImportBorder(); });
  t.SetHandler(C::ImportBreaklines, [this] { ImportBreaklines(); });
  auto exportCommand = [this](AsciiKind kind) {
    return [this, kind] {
      exchange::ExportCommand(c_.session, kind, [this](const exchange::ExportDialogRequest& r) {
        return RunExportDialog(&c_.window, c_.session.settings, r);
      });
    };
  };
  t.SetHandler(C::ExportCoordinates, exportCommand(AsciiKind::Coordinates));
  t.SetHandler(C::ExportBorder, exportCommand(AsciiKind::Border));
  t.SetHandler(C::ExportBreaklines, exportCommand(AsciiKind::Breaklines));
  t.SetHandler(C::Preferences, [this] { Preferences(); });
}

namespace {

exchange::ImportDialogFn ImportDialog(WindowContext& c) {
  return [&c](const exchange::ImportDialogRequest& r) {
    return RunImportDialog(&c.window, c.session.port, c.session.settings, r);
  };
}

}  // namespace

void ExchangeController::ImportCoordinates() {
  if (exchange::ImportCoordinatesCommand(c_.session, ImportDialog(c_)) != exchange::ImportOutcome::Loaded) return;
  if (onModelLoaded) onModelLoaded();
  view_.Regenerate();
}

void ExchangeController::ImportBorder() {
  if (exchange::ImportBorderCommand(c_.session, ImportDialog(c_)) != exchange::ImportOutcome::NotRun)
    view_.Regenerate();
}

void ExchangeController::ImportBreaklines() {
  if (exchange::ImportBreaklinesCommand(c_.session, ImportDialog(c_)) != exchange::ImportOutcome::NotRun)
    view_.Regenerate();
}

void ExchangeController::Preferences() {
  Session& s = c_.session;
  TPreferencesForm form(s.port, settings::ReadPreferences(s.settings), &c_.window);
  if (form.exec() != QDialog::Accepted) return;
  const settings::PreferencesStored stored = settings::StorePreferences(s, form.Values());
  if (stored.coordinateOrderChanged) view_.RefreshCursorLine();
  if (stored.unitsChanged)
    view_.SetUpScreen();
  else
    view_.Regenerate();
}

}  // namespace terravue::gui

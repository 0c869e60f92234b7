#include "controllers/exchange_controller.h"

#include "commands/command_table.h"
#include "app/preferences.h"
#include "controllers/view_controller.h"
#include "dialogs/cad/cad_data_dir_form.h"
#include "dialogs/cad/cad_layers_form.h"
#include "dialogs/import_export/export_coord_form.h"
#include "dialogs/import_export/export_landxml_form.h"
#include "dialogs/import_export/import_coord_form.h"
#include "dialogs/import_export/landxml_dialogs.h"
#include "dialogs/preferences/preferences_form.h"
#include "exchange/export_commands.h"
#include "exchange/import_commands.h"
#include "common/app_settings.h"
#include "help/help_viewer.h"
#include "mainwindow/window_context.h"

namespace terravue::gui {

using C = app::CommandId;
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
        return RunExportDialog(&c_.window, c_.session.settings, r, HelpFor(ExportHelpContext));
      });
    };
  };
  t.SetHandler(C::ExportCoordinates, exportCommand(AsciiKind::Coordinates));
  t.SetHandler(C::ExportBorder, exportCommand(AsciiKind::Border));
  t.SetHandler(C::ExportBreaklines, exportCommand(AsciiKind::Breaklines));
  t.SetHandler(C::ImportLandXml, [this] { ImportLandXml(); });
  t.SetHandler(C::ExportLandXml, [this] { ExportLandXml(); });
  t.SetHandler(C::Preferences, [this] { Preferences(); });
}

std::function<void()> ExchangeController::HelpFor(int context) const {
  if (!helpViewer) return {};
  return [viewer = helpViewer, context] { viewer->ShowContext(context); };
}

exchange::ImportDialogFn ExchangeController::ImportDialog() {
  return [this](const exchange::ImportDialogRequest& r) {
    return RunImportDialog(&c_.window, c_.session.port, c_.session.settings, r, HelpFor(ImportHelpContext));
  };
}

void ExchangeController::ImportCoordinates() {
  if (exchange::ImportCoordinatesCommand(c_.session, ImportDialog()) != exchange::ImportOutcome::Loaded) return;
  if (onModelLoaded) onModelLoaded();
  view_.Regenerate();
}

void ExchangeController::ImportBorder() {
  if (exchange::ImportBorderCommand(c_.session, ImportDialog()) != exchange::ImportOutcome::NotRun)
    view_.Regenerate();
}

void ExchangeController::ImportBreaklines() {
  if (exchange::ImportBreaklinesCommand(c_.session, ImportDialog()) != exchange::ImportOutcome::NotRun)
    view_.Regenerate();
}

void ExchangeController::ImportLandXml() {
  QWidget* parent = &c_.window;
  const auto outcome = exchange::ImportLandXmlCommand(
      c_.session, [parent](const std::string& directory) { return ChooseLandXmlFile(parent, directory); },
      [parent](const auto& surfaces) { return ChooseLandXmlSurface(parent, surfaces); });
  if (outcome != exchange::ImportOutcome::Loaded) return;
  if (onModelLoaded) onModelLoaded();
  view_.Regenerate();
}

void ExchangeController::ExportLandXml() {
  exchange::ExportLandXmlCommand(c_.session, [this](const exchange::LandXmlExportRequest& r) {
    return RunLandXmlExportDialog(&c_.window, r, c_.session.settings.Get(settings::DataDirectory),
                                  HelpFor(ExportHelpContext));
  });
}

void ExchangeController::Preferences() {
  Session& s = c_.session;
  TPreferencesForm form(s.port, app::ReadPreferences(s.settings), &c_.window);
  // The CAD page's dialogs keep their own OK: what they store stays when Preferences is cancelled.
  form.SetCadActions([this, &form] { ChooseCadDataDirectory(&form, c_.session.port, c_.session.settings); },
                     [this, &form] {
                       const auto mode = device::WritesDxf(form.Values().cadProgram) ? cad::CadLayerMode::Names
                                                                                      : cad::CadLayerMode::Numbers;
                       EditCadLayers(&form, c_.session.port, c_.session.settings, mode);
                     });
  if (helpViewer) form.SetHelp([viewer = helpViewer] { viewer->ShowHelpFile(help::Main); });
  if (form.exec() != QDialog::Accepted) return;
  const app::PreferencesStored stored = app::StorePreferences(s, form.Values());
  if (stored.coordinateOrderChanged) view_.RefreshCursorLine();
  if (stored.unitsChanged)
    view_.SetUpScreen();
  else
    view_.Regenerate();
}

}  // namespace terravue::gui

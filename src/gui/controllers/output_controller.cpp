#include "controllers/output_controller.h"

#include "commands/command_table.h"
#include "controllers/view_controller.h"
#include "dialogs/cad/output_to_cad.h"
#include "dialogs/map_options/map_options_form.h"
#include "help/help_viewer.h"
#include "mainwindow/window_context.h"
#include "mapping/map_redraw.h"
#include "print/print_commands.h"

namespace terravue::gui {

using C = app::CommandId;

OutputController::OutputController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view) {}

void OutputController::RegisterCommands() {
  CommandTable& t = c_.commands;
  Session& s = c_.session;
  auto hooks = [this, &s] {
    SheetHooks h;
    h.drawMap = [this, &s](device::DrawingDevice& device) { mapping::RedrawMap(s, device, c_.locate, c_.MapExtras()); };
    h.pageChanged = [this] { view_.SetUpScreen(); };
    h.redrawScreen = [this] { view_.Regenerate(); };
    h.help = [this] { c_.help(PrintSetupHelpContext); };
    return h;
  };
  t.SetHandler(C::Print, [this, &s, hooks] { PrintCommand(&c_.window, s, c_.printer, hooks()); });
  t.SetHandler(C::PrintSetup, [this, &s, hooks] { PrinterSetupCommand(&c_.window, s, c_.printer, hooks()); });
  t.SetHandler(C::SetScale, [this, &s, hooks] { SetScaleCommand(&c_.window, s, hooks()); });
  t.SetHandler(C::OutputToCad, [this, &s] { OutputToCadCommand(&c_.window, s, c_.locate, c_.MapExtras()); });
  t.SetHandler(C::MapOptions, [this, &s] {
    MapOptionsCommand(&c_.window, s.port, s.settings, s.model, [this] { view_.Regenerate(); });
  });
}

}  // namespace terravue::gui

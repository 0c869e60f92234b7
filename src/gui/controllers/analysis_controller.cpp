#include "controllers/analysis_controller.h"

#include "commands/command_table.h"
#include "dialogs/surface_comparison/volume_front_end.h"
#include "mainwindow/window_context.h"

namespace terravue::gui {

using C = app::CommandId;

AnalysisController::AnalysisController(WindowContext& context, QObject* parent)
    : QObject(parent), c_(context), volumes_(std::make_unique<VolumeFrontEnd>(context.session.port, &context.window)) {}

AnalysisController::~AnalysisController() = default;

void AnalysisController::RegisterCommands() {
  CommandTable& t = c_.commands;
  t.SetHandler(C::VolumeSingleSurface, [this] {
    analysis::RunVolumeCommand(c_.session, analysis::VolumeMode::SingleSurface, *volumes_, volumeOptions_);
  });
  t.SetHandler(C::VolumeTwoSurfaces, [this] {
    analysis::RunVolumeCommand(c_.session, analysis::VolumeMode::TwoSurfaces, *volumes_, volumeOptions_);
  });
}

}  // namespace terravue::gui

#include "controllers/analysis_controller.h"

#include "analysis/surface_info.h"
#include "app/analyzer_commands.h"
#include "commands/command_table.h"
#include "controllers/view_controller.h"
#include "device/map_options.h"
#include "dialogs/analyzer/slope_zone_form.h"
#include "dialogs/surface_comparison/volume_front_end.h"
#include "mainwindow/map_area.h"
#include "mainwindow/window_context.h"
#include "print/sheet_view.h"

namespace terravue::gui {

using C = app::CommandId;

AnalysisController::AnalysisController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view),
      volumes_(std::make_unique<VolumeFrontEnd>(context.session.port, &context.window)) {}

AnalysisController::~AnalysisController() = default;

void AnalysisController::RegisterCommands() {
  CommandTable& t = c_.commands;
  Session& s = c_.session;
  app::AnalyzerState& analyzer = c_.editors.analyzer;
  t.SetHandler(C::VolumeSingleSurface, [this] { Volume(analysis::VolumeMode::SingleSurface); });
  t.SetHandler(C::VolumeTwoSurfaces, [this] { Volume(analysis::VolumeMode::TwoSurfaces); });

  t.SetHandler(C::AnalyzerWaterDrop,
               [this, &s, &analyzer] { AfterTrace(app::WaterDropCommand(s, c_.locate, analyzer, c_.cursor)); });
  t.SetHandler(C::AnalyzerWatershed,
               [this, &s, &analyzer] { AfterTrace(app::WatershedCommand(s, c_.locate, analyzer, c_.cursor)); });
  t.SetHandler(C::AnalyzerContourLine,
               [this, &s, &analyzer] { AfterTrace(app::ContourLineCommand(s, c_.locate, analyzer, c_.cursor)); });
  t.SetHandler(C::AnalyzerElevationJump, [this] {
    app::ElevationJumpCommand(c_.Cursor(), c_.cursor);
    view_.MoveCursor(c_.cursor.x, c_.cursor.y, c_.cursor.z);
  });
  t.SetHandler(C::AnalyzerVectorAccumulator, [this, &s, &analyzer] {
    if (!app::VectorAccumulatorCommand(s, analyzer)) return;
    c_.map.Sheet().ClearOverlay();
    view_.Regenerate();
  });
  t.SetHandler(C::AnalyzerTextOutput, [this, &s, &analyzer] {
    analysis::TextOutputCommand(s, analyzer.vectors, analyzer.includeSlopeZones, TSlopeZoneForm::Dialog(&c_.window));
  });
}

void AnalysisController::Volume(analysis::VolumeMode mode) {
  analysis::RunVolumeCommand(c_.session, mode, *volumes_, volumeOptions_, &c_.cutFill);
  // A map that shows the differences shows the new ones.
  if (c_.session.settings.Get(device::AnalyzerOptions::ShowCutFill)) view_.Regenerate();
}

void AnalysisController::AfterTrace(bool traced) {
  if (traced) view_.Regenerate();
}

}  // namespace terravue::gui

#pragma once

#include "mapping/level_lines.h"

namespace terravue::mapping {

// The level-line tracer in its plain form: per level it reads the model's corner, neighbour and
// coordinate arrays directly. The tests compare TraceLevelLines against it on random surfaces:
// every device call and the corner order left in the model must agree.
TraceOutcome ReferenceTraceLevelLines(model::SurfaceModel& model, LineOutput& output, UserPort& port,
                                      const LevelLineRun& run);

}  // namespace terravue::mapping

#pragma once

#include "tin/insertion.h"

namespace terravue::tin {

// The engine's InsertPoints, built once more so that every decision it takes in double
// precision or from its bounds is also taken the plain long-double way. Returns the same as
// InsertPoints; `disagreements` counts the decisions on which the two ways differed.
TriangulationStatus CheckedInsertPoints(model::SurfaceModel& m, LocateState& state, UserPort& port,
                                        const InsertionOptions& options, long& disagreements);

}  // namespace terravue::tin

#pragma once

#include "tin/insertion.h"

namespace terravue::tin {

// The point insertion in its plain form, without the engine's speed-ups:
// visited flags cleared per point, a linear downward scan over the complete flags, circles
// computed afresh, quadratic edge cancelling and neighbour linking. The tests compare the
// engine's InsertPoints against it triangle by triangle: corners, corner order and neighbour
// slots must all agree.
TriangulationStatus ReferenceInsertPoints(model::SurfaceModel& m, LocateState& state, UserPort& port,
                                          const InsertionOptions& options);

}  // namespace terravue::tin

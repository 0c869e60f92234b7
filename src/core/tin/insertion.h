#pragma once

#include "tin/triangulate.h"

namespace terravue {
class UserPort;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::tin {

struct LocateState;

struct InsertionOptions {
  bool quiet = false;
  bool autoProcessActive = false;
};

// Incremental Delaunay insertion of points 1..PointCount, in order along the longer side of
// the extents, into a super triangle whose corners are stored as points PointCount + 1..+3.
// Leaves those three points as corners of the outer triangles; the border clipping removes
// them. The extents must be current.
//
// Each point's cavity (the triangles whose circumcircle holds it) is replaced by the fan from
// the point to the cavity's outline. Per slot conventions the rest of the program relies on:
// fan triangles are (p, a, b) counter-clockwise for each outline edge a -> b; the cavity's own
// slots are reused from its last entry back, then two new slots are appended; a fan
// triangle's slot 0 holds the outside neighbour across (a, b) when there is one.
TriangulationStatus InsertPoints(model::SurfaceModel& m, LocateState& state, UserPort& port,
                                 const InsertionOptions& options);

}  // namespace terravue::tin

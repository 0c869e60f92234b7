#pragma once

#include <vector>

#include "tin/duplicates.h"
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

// What a run tells besides its status.
struct InsertionReport {
  // The first pair of points at one place (FindSamePlacePair), when the run stopped on one.
  PointPair samePlace;
  // Every insertion was an exact Bowyer-Watson step, so the triangulation is Delaunay exactly.
  bool delaunay = true;
  // Otherwise, the triangles with an edge between real points that fails the circle test: where
  // the repair (RestoreDelaunay) starts.
  std::vector<TriangleIndex> failing;
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
//
// Two points at one place (SamePlace) end the run with DuplicatePoints before anything is
// inserted. Every other set of points triangulates: each decision is exact (OrientationSign,
// InsideCircle), and where the tolerant circle test and locate leave a cavity that is not a
// star around the point, the point goes into the triangle that holds it exactly instead, for
// the repair after the run to make Delaunay (report->delaunay).
TriangulationStatus InsertPoints(model::SurfaceModel& m, LocateState& state, UserPort& port,
                                 const InsertionOptions& options, InsertionReport* report = nullptr);

}  // namespace terravue::tin

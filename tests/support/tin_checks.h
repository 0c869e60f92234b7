#pragma once

#include <string>
#include <vector>

namespace terravue::model {
class SurfaceModel;
}

// Invariant checks for a triangulated surface, called by the tests after every operation.
// Each returns one line per broken invariant; an empty list means the surface is sound.
namespace terravue::testing {

struct TinExpectations {
  // After a successful run: every border segment and every breakline is an edge.
  bool forcedEdgesPresent = false;
  // Every point other than the border lies inside it: the triangles cover exactly the border
  // polygon.
  bool areaEqualsBorder = false;
  // A convex border through all hull points: T = 2n - 2 - h.
  bool convexCount = false;
};

// The model's own checks (indices, symmetric neighbour lists, the ring) plus: distinct corners,
// neighbours sharing exactly two corners, no edge used more than twice, every edge used twice
// belonging to neighbours, and every triangle with an area (exactly).
std::vector<std::string> CheckTin(const model::SurfaceModel& m, const TinExpectations& expect = {});

// The empty-circle test across every inner edge, exempting what the triangulation legitimately
// leaves non-Delaunay: forced edges (border segments, breaklines), and triangles whose circle
// holds a corner of the super triangle (still stored past the points) or meets a forced segment.
std::vector<std::string> CheckDelaunay(const model::SurfaceModel& m);

// Is a-b an edge of some triangle?
bool HasEdge(const model::SurfaceModel& m, int a, int b);

// Every point off the border lies strictly inside the border polygon (crossing-number test,
// independent of the engine's own side test). The gift-wrapped convex border takes the nearer
// of two points within 1e-4 radians of the same direction, which can leave a nearly collinear
// hull point a hair outside.
bool AllPointsInsideBorder(const model::SurfaceModel& m);

}  // namespace terravue::testing

#pragma once

#include <vector>

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// Local changes to a triangulated surface: one point put into the triangles, one point taken
// out of them, one point taken out of the arrays. Each leaves the triangles dense (1..Count),
// the neighbour lists symmetric with their non-zero slots first, the border segments and the
// breaklines as edges, and every other edge Delaunay (the constrained Delaunay triangulation):
// only the triangles around the point change, then the edges there are flipped until they pass
// the circle test (RestoreDelaunay).
namespace terravue::tin {

struct LocateState;

struct SurfaceInsertion {
  // p is a corner of the surface now. False when its position lies outside the triangles (and
  // is not on the border line), or no triangle could take it; the model is then unchanged.
  bool inSurface = false;
  // The position lay on the border line: p was spliced into the ring.
  bool onBorder = false;
  // Breaklines that could not be made edges again after the point split them.
  std::vector<BreaklineIndex> unforced;
};

// Puts point p (stored, not yet a corner) into the triangles: the triangle or the edge holding
// its position (decided exactly) is split, the border ring takes p when it lies on the border
// line (InsertOnBorder), and the edges around p are flipped to Delaunay. Triangle capacity is
// checked first. A position outside the surface leaves everything as it was.
SurfaceInsertion InsertPointIntoSurface(model::SurfaceModel& m, LocateState& state, PointIndex p);

// Whether p's position can go into the triangles as they are: inside them, or on the border
// line next to a hull triangle.
bool CanInsertAt(const model::SurfaceModel& m, LocateState& state, double x, double y);

enum class SurfaceDeletion {
  Deleted,
  NotInSurface,  // p is no corner of any triangle: nothing to do in the triangles
  BorderPoint,   // a border point cannot leave the triangles
  Failed,        // the hole could not be filled: nothing changed
};

// Takes point p (not a border point) out of the triangles: the triangles around it are replaced
// by a triangulation of the polygon of their outer corners, whose edges are then flipped to
// Delaunay. With removeFromModel the point also leaves the arrays (RemovePointFromModel).
// Nothing changes unless the result is Deleted (or NotInSurface with removeFromModel, which
// removes the point from the arrays).
SurfaceDeletion DeletePointFromSurface(model::SurfaceModel& m, LocateState& state, PointIndex p,
                                       bool removeFromModel);

// Deletes point p from the arrays and renumbers every reference: the border ring closes over
// the gap, breaklines ending at p go, and every border link, breakline end and triangle corner
// above p moves down by one. p must be no corner of a triangle.
void RemovePointFromModel(model::SurfaceModel& m, PointIndex p);
// The other way: opens an empty point (no label, at 0,0,0, off the border) at p, 1..PointCount+1,
// moving the points from p up by one with every border link and breakline end that names them.
// There must be room for one more point and no triangles.
void OpenPointInModel(model::SurfaceModel& m, PointIndex p);

}  // namespace terravue::tin

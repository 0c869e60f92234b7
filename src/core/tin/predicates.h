#pragma once

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// The two geometric decisions a triangulation rests on, taken exactly on the stored coordinates:
// which side of a line a point lies on, and whether a point lies inside a triangle's
// circumcircle by more than a tolerance. Each is first evaluated in double precision with a
// bound on its rounding; only when the bound does not settle the sign is the value computed
// exactly, as a sum of doubles that carries every bit. A decision therefore never depends on
// rounding, and the same question always gets the same answer, however it is asked.
//
// Coordinates must be finite.
namespace terravue::tin {

// The sign (-1, 0, 1) of the doubled signed area of a b c, (a - c) x (b - c): 1 when a -> b -> c
// turns counter-clockwise.
int OrientationSign(double ax, double ay, double bx, double by, double cx, double cy);
int OrientationSign(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c);

// The in-circle tolerance of the triangulation: a point counts as inside a circle only when its
// squared distance from the centre is below the squared radius by at least this much, so a
// point on a circle, or within this of it, is outside.
inline constexpr double CircleTolerance = 1e-4;

// For a counter-clockwise triangle a b c: r^2 - |d - centre|^2 >= CircleTolerance.
bool InsideCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);
// For a counter-clockwise triangle a b c, the sign of r^2 - |d - centre|^2, without tolerance: 1
// inside the circle, 0 on it, -1 outside.
int CircleSign(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);

// The edge a-b between the triangles a b c and b a d (either way round) is not Delaunay: d lies
// inside the circle of a b c, or c inside the circle of b a d, by the tolerance. Either means
// the quadrilateral is convex and the other diagonal is the Delaunay one.
bool EdgeNeedsFlip(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c, PointIndex d);
bool EdgeNeedsFlip(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);

}  // namespace terravue::tin

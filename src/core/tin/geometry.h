#pragma once

#include <cmath>
#include <memory>

#include "model/indices.h"
#include "model/surface_model.h"

namespace terravue {
class UserPort;
}

// The numeric library under every surface computation: tolerance tests, orientation, distances
// and angles, point-in-triangle, point location and the point-in-border test.
//
// Arithmetic is done in long double on inputs read as f64; results are returned as f64. The
// extra precision decides near ties the same way every time, which the triangulation's
// reproducibility depends on. Every tolerance is absolute, in the data's length unit, and each
// comparison's strictness is part of the contract.
namespace terravue::tin {

using Real = long double;

// True when |x| is strictly below the bound.
inline bool IsZero4(Real x) { return std::fabs(x) < 1e-4L; }
inline bool IsZero3(Real x) { return std::fabs(x) < 1e-3L; }
inline bool IsZero7(Real x) { return std::fabs(x) < 1e-7L; }
inline bool IsZero9(Real x) { return std::fabs(x) < 1e-9L; }

// "Nothing found yet" for every nearest search.
inline constexpr double FarDistance = 1.7e308;

// A position: x is an Easting, y a Northing.
struct XY {
  Real x = 0;
  Real y = 0;
};

inline XY PointXY(const model::SurfaceModel& m, PointIndex p) { return {m.PointX[p], m.PointY[p]}; }

// ---- Scalar helpers -------------------------------------------------------------------------

// Two positions closer than 0.001 in X and in Y: the one test of "the same place" wherever it
// is asked (duplicate removal on import, the triangulation's duplicate check, the editors). A
// difference that is 0.001 but for the rounding of the coordinates counts as 0.001.
bool SamePlace(double x1, double y1, double x2, double y2);
// Integer part plus the fraction rounded to thousandths, halves to even.
double RoundToThousandths(double x);
// Twice the signed area of p1 p2 p3; positive when the turn is counter-clockwise.
double Orientation(XY p1, XY p2, XY p3);
double Orientation(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c);
// |a| carrying the sign of b; 0 when b is 0.
double SignOf(double a, double b);

// ---- Angles (radians) -----------------------------------------------------------------------

// Direction of (dx, dy), in [-pi/2, 3pi/2).
double Direction(double dx, double dy);
// Inclination of the line through two positions, in [-pi/2, pi/2].
double LineAngle(double x1, double y1, double x2, double y2);
// Angle at b between b->a and b->c, in [0, pi]; 0 when either leg has no length.
double AngleAt(XY a, XY b, XY c);
double SafeArcSin(double x);
double SafeArcCos(double x);

// ---- Distances and crossings ----------------------------------------------------------------

// Squared distance from q to the segment a-b. When q is beyond an end, each end is first pulled
// 0.001 into the segment, so that of two segments sharing the end nearest to q, the one whose
// direction is closer to the direction of q counts as nearer: the walks rely on it.
double SegmentDistance2(XY a, XY b, XY q);

struct Crossing {
  bool crosses = false;
  bool nearC = false;  // a-b passes within 0.001 of c
  bool nearD = false;  // a-b passes within 0.001 of d
};
// Does segment a-b cross segment c-d? Ends of a-b count within tolerance, passing near c or d
// is reported instead of a crossing, parallel segments never cross.
Crossing SegmentsCross(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c,
                       PointIndex d);
// The same with the crossing strictly inside a-b.
Crossing SegmentsCrossStrict(const model::SurfaceModel& m, PointIndex a, PointIndex b,
                             PointIndex c, PointIndex d);

// The nearest point to (x, y); of equally near points the lowest index. NoPoint when empty.
PointIndex NearestPoint(const model::SurfaceModel& m, double x, double y);
// The same over from..to, skipping p.
PointIndex NearestOtherPoint(const model::SurfaceModel& m, PointIndex from, PointIndex to,
                             PointIndex p);

// ---- Triangles ------------------------------------------------------------------------------

// The circle through c0, c1, c2, from the offsets of c1 and c2 against c0. Every circumcircle
// test of the engine uses this one expression, so that cached and fresh circles agree exactly.
struct Circumcircle {
  Real cross = 0;  // (c1 - c0) x (c2 - c0): twice the signed area
  Real centreX = 0;
  Real centreY = 0;
  Real radius2 = 0;
};
inline Circumcircle CircumcircleOf(XY c0, XY c1, XY c2) {
  const Real d1x = c1.x - c0.x, d1y = c1.y - c0.y;
  const Real d2x = c2.x - c0.x, d2y = c2.y - c0.y;
  Circumcircle circle;
  circle.cross = d1x * d2y - d2x * d1y;
  if (circle.cross == 0) return circle;
  const Real a = d1x * d1x + d1y * d1y;
  const Real b = d2x * d2x + d2y * d2y;
  const Real h = 0.5L / std::fabs(circle.cross);
  const Real ux = (a * d2y - b * d1y) * h;
  const Real uy = (d1x * b - d2x * a) * h;
  circle.radius2 = ux * ux + uy * uy;
  circle.centreX = c0.x + ux;
  circle.centreY = c0.y + uy;
  return circle;
}

// Edges and corners count as inside; doubled areas below 1e-4 count as zero, so the test does
// not depend on the corner order.
bool PointInTriangle(const model::SurfaceModel& m, TriangleIndex t, double x, double y);
bool PointInTriangle(const model::SurfaceModel& m, TriangleIndex t, XY p);
// Elevation of the triangle's plane at (x, y); 0 for a triangle without plan area.
double TrianglePlaneZ(const model::SurfaceModel& m, TriangleIndex t, double x, double y);

struct EdgeNeighbour {
  bool found = false;
  TriangleIndex triangle = NoTriangle;
  PointIndex third = NoPoint;  // the neighbour's corner off the edge
};
// The neighbour of t across the edge a-b, looked for in the slot order 2, 1, 0.
EdgeNeighbour AcrossEdge(const model::SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b);

// ---- Point location -------------------------------------------------------------------------

struct InsertionWorkspace;  // made and used by the point insertion only

// Where the last location ended and where the next one starts. Any value is acceptable; an
// out-of-range one is reset to 1. One per surface user (the map, a command), never shared
// between threads.
struct LocateState {
  TriangleIndex LastTriangle = 1;
  // First triangle examined by NearestHullTriangle; the two-surface volume moves it past the
  // first surface while it locates positions in the second.
  TriangleIndex HullSearchFirst = 1;
  // Set just before ElevationAt by a caller that wants the failure message; cleared by it.
  bool ReportElevationFailure = false;
  // The point insertion's work areas, made by the first triangulation and kept for the next
  // ones (megabytes at capacity); copies of the state share them.
  std::shared_ptr<InsertionWorkspace> InsertionWork;
};

// The first triangle having corner p; `otherwise` when none has.
TriangleIndex FindTriangleWithVertex(const model::SurfaceModel& m, LocateState& state, PointIndex p,
                                     TriangleIndex otherwise);

struct Location {
  bool found = false;
  TriangleIndex triangle = NoTriangle;  // the containing triangle, or the last one tried
};
Location LocateTriangle(const model::SurfaceModel& m, LocateState& state, double x, double y);
// One walk from t towards p across the edge nearest to p; true when it ends in a triangle
// containing p. t is left at the end of the walk, state.LastTriangle at the one before it.
bool WalkToPoint(const model::SurfaceModel& m, LocateState& state, TriangleIndex& t, XY p);
// The triangle whose outside edge is nearest to (x, y); `otherwise` when no triangle has one.
TriangleIndex NearestHullTriangle(const model::SurfaceModel& m, const LocateState& state, double x,
                                  double y, TriangleIndex otherwise);
// The highest-numbered triangle containing (x, y); `otherwise` when none does.
TriangleIndex LocateTriangleLinear(const model::SurfaceModel& m, LocateState& state, double x,
                                   double y, TriangleIndex otherwise);

struct Elevation {
  bool ok = false;
  double z = 0;  // MinZ when not ok: "no elevation"
};
Elevation ElevationAt(const model::SurfaceModel& m, LocateState& state, UserPort& port, double x,
                      double y);

// ---- Border tests ---------------------------------------------------------------------------

// Strictly inside the extents.
bool InsideExtents(const model::SurfaceModel& m, double x, double y);

struct BorderSide {
  bool inside = false;
  double distance = 0;
};
// Side of the border ring (walked from the border point `start`) that (x, y) lies on, decided at
// the nearest border feature. Exact for a counter-clockwise ring; the complement for a
// clockwise one. Positions on the ring are inside at distance 0.
BorderSide BorderDistance(const model::SurfaceModel& m, PointIndex start, double x, double y);
bool InsideBorder(const model::SurfaceModel& m, PointIndex start, double x, double y);

// True when (x, y) lies within 0.001 of the border line.
bool OnBorderLine(const model::SurfaceModel& m, double x, double y);
// The border point d whose segment d -> BorderNext[d] the position lies on (within the
// tolerance of OnBorderLine, nearest first); NoPoint when none.
PointIndex BorderSegmentAt(const model::SurfaceModel& m, double x, double y);
// When the position of the new point p lies on the border line, splices p into the border
// segment nearest to it and returns true.
bool InsertOnBorder(model::SurfaceModel& m, PointIndex p, double x, double y);

}  // namespace terravue::tin

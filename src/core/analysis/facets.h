#pragma once

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// The plane of one triangle as the surface analysis measures it: its normal, plan and true
// areas, slope and direction of steepest descent.
//
// The normal is the cross product of two edges taken from the first corner. Differences of
// coordinates are formed first, so that grid coordinates in the millions keep their digits
// (the products of raw coordinates would cancel most of them).
namespace terravue::analysis {

struct Facet {
  double nx = 0, ny = 0, nz = 0;  // (v2 - v1) x (v3 - v1); nz is twice the signed plan area
  double area2D = 0;              // plan area
  double area3D = 0;              // true (sloped) area
  double meanZ = 0;               // mean of the three corner elevations
  double centroidX = 0, centroidY = 0;
};

// False for a triangle whose corners are not points of the model.
bool ValidTriangle(const model::SurfaceModel& m, TriangleIndex t);
// The facet of a valid triangle.
Facet FacetOf(const model::SurfaceModel& m, TriangleIndex t);

// Slope in percent as 100 x the sine of the inclination: a 45-degree plane gives 70.711, a
// vertical one 100. Planes within about 0.01% of level count as level (0); a triangle without
// plan area but with height is vertical.
double SlopePercent(const Facet& f);
double SlopePercent(const model::SurfaceModel& m, TriangleIndex t);

struct Direction3D {
  double x = 0, y = 0, z = 0;
  bool IsZero() const { return x == 0 && y == 0 && z == 0; }
};

// The trace directions on a triangle's plane.
enum class TraceMode { Downhill = 0, Uphill = 1, ContourLeft = 2, ContourRight = 3 };

// The unit vector of steepest descent (gx, gy, -(gx^2 + gy^2)) normalised, with (gx, gy) the
// descent of the plane per unit of plan distance; zero for a level triangle (the same bound as
// SlopePercent) and for one without plan area. Uphill negates it; the contour modes turn its
// plan part a quarter left or right and keep its z.
Direction3D DirectionOf(const Facet& f, TraceMode mode);
Direction3D DirectionOf(const model::SurfaceModel& m, TriangleIndex t, TraceMode mode);

}  // namespace terravue::analysis

#include "analysis/facets.h"

#include <cmath>

#include "model/surface_model.h"

namespace terravue::analysis {
namespace {

// A plane whose descent vector (gx, gy, -G) is shorter than this is level.
constexpr double LevelBound = 0.0001;

bool Level(double g2) { return std::sqrt(g2 * g2 + g2) < LevelBound; }

}  // namespace

bool ValidTriangle(const model::SurfaceModel& m, TriangleIndex t) {
  if (t == NoTriangle || t > m.TriangleCount) return false;
  for (PointIndex p : m.TriVertex[t])
    if (p == NoPoint || p > m.PointCount) return false;
  return true;
}

Facet FacetOf(const model::SurfaceModel& m, TriangleIndex t) {
  const auto& c = m.TriVertex[t];
  const double x1 = m.PointX[c[0]], y1 = m.PointY[c[0]], z1 = m.PointZ[c[0]];
  const double ax = m.PointX[c[1]] - x1, ay = m.PointY[c[1]] - y1, az = m.PointZ[c[1]] - z1;
  const double bx = m.PointX[c[2]] - x1, by = m.PointY[c[2]] - y1, bz = m.PointZ[c[2]] - z1;
  Facet f;
  f.nx = ay * bz - az * by;
  f.ny = az * bx - ax * bz;
  f.nz = ax * by - ay * bx;
  f.area2D = std::fabs(f.nz) / 2;
  f.area3D = std::sqrt(f.nx * f.nx + f.ny * f.ny + f.nz * f.nz) / 2;
  f.meanZ = (m.PointZ[c[0]] + m.PointZ[c[1]] + m.PointZ[c[2]]) / 3;
  f.centroidX = x1 + (ax + bx) / 3;
  f.centroidY = y1 + (ay + by) / 3;
  return f;
}

double SlopePercent(const Facet& f) {
  const double h2 = f.nx * f.nx + f.ny * f.ny;
  const double n2 = h2 + f.nz * f.nz;
  if (!(n2 > 0)) return 0;
  if (f.nz != 0 && Level(h2 / (f.nz * f.nz))) return 0;
  return 100 * std::sqrt(h2 / n2);
}

double SlopePercent(const model::SurfaceModel& m, TriangleIndex t) { return SlopePercent(FacetOf(m, t)); }

Direction3D DirectionOf(const Facet& f, TraceMode mode) {
  if (f.nz == 0) return {};
  // z = z1 - (nx (x - x1) + ny (y - y1)) / nz, so the plane falls by nx / nz per unit of x.
  const double gx = f.nx / f.nz, gy = f.ny / f.nz;
  const double g2 = gx * gx + gy * gy;
  if (!std::isfinite(g2) || Level(g2)) return {};
  const double length = std::sqrt(g2 + g2 * g2);
  Direction3D d{gx / length, gy / length, -g2 / length};
  switch (mode) {
    case TraceMode::Downhill: break;
    case TraceMode::Uphill: d = {-d.x, -d.y, -d.z}; break;
    case TraceMode::ContourLeft: d = {-d.y, d.x, d.z}; break;
    case TraceMode::ContourRight: d = {d.y, -d.x, d.z}; break;
  }
  return d;
}

Direction3D DirectionOf(const model::SurfaceModel& m, TriangleIndex t, TraceMode mode) {
  return DirectionOf(FacetOf(m, t), mode);
}

}  // namespace terravue::analysis

#include "tin/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

Real Square(Real v) { return v * v; }

}  // namespace

// ---- Scalar helpers -------------------------------------------------------------------------

// Coordinates typed to thousandths are stored to within half a unit in the last place of their
// magnitude, so a difference meant to be exactly 0.001 comes out a few such units above or below
// it. The reach is lowered by far more than that (2^-45 of the magnitude, under a micron below
// ten thousand kilometres), so that such a pair is never the same place, whichever way its
// digits rounded. Differences of close values are exact in double.
bool SamePlace(double x1, double y1, double x2, double y2) {
  const double magnitude = std::max({1.0, std::fabs(x1), std::fabs(x2), std::fabs(y1), std::fabs(y2)});
  const double reach = 0.001 - magnitude * 0x1p-45;
  return std::fabs(x1 - x2) < reach && std::fabs(y1 - y2) < reach;
}

double RoundToThousandths(double x) {
  const Real whole = std::trunc(Real{x});
  // nearbyint rounds halves to even in the default rounding mode.
  const Real thousandths = std::nearbyint((Real{x} - whole) * 1000);
  return static_cast<double>(whole + thousandths / 1000);
}

double Orientation(XY p1, XY p2, XY p3) {
  return static_cast<double>((p1.x - p3.x) * (p2.y - p3.y) - (p2.x - p3.x) * (p1.y - p3.y));
}

double Orientation(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c) {
  return Orientation(PointXY(m, a), PointXY(m, b), PointXY(m, c));
}

double SignOf(double a, double b) {
  if (b < 0) return -std::fabs(a);
  if (b > 0) return std::fabs(a);
  return 0;
}

// ---- Angles ---------------------------------------------------------------------------------

double Direction(double dx, double dy) {
  if (IsZero4(dx)) return static_cast<double>(dy < 0 ? 3 * Pi / 2 : Pi / 2);
  Real angle = std::atan(Real{dy} / Real{dx});
  if (dx < 0) angle += Pi;
  return static_cast<double>(angle);
}

double LineAngle(double x1, double y1, double x2, double y2) {
  if (IsZero4(Real{x2} - Real{x1})) return static_cast<double>(y1 > y2 ? Pi / 2 : -Pi / 2);
  return static_cast<double>(std::atan((Real{y1} - Real{y2}) / (Real{x1} - Real{x2})));
}

double AngleAt(XY a, XY b, XY c) {
  const Real ux = a.x - b.x, uy = a.y - b.y;
  const Real vx = c.x - b.x, vy = c.y - b.y;
  const Real lengths = std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy);
  // A leg without length has no direction; without this the cosine would be 0/0.
  if (lengths == 0) return 0;
  Real cosine = (ux * vx + uy * vy) / lengths;
  if (IsZero4(cosine)) return static_cast<double>(Pi / 2);
  const Real squared = std::min(cosine * cosine, Real{1});
  Real angle = std::atan(std::sqrt(1 - squared) / cosine);
  if (angle < 0) angle += Pi;
  if (IsZero4(angle) && (ux * vx < 0 || uy * vy < 0)) angle = Pi;
  return static_cast<double>(angle);
}

// Arguments a hair outside [-1, 1] come from rounding; clamping them keeps the square root real.
double SafeArcSin(double x) {
  const Real v = std::clamp(Real{x}, Real{-1}, Real{1});
  const Real s = std::sqrt(1 - v * v);
  if (std::fabs(s) < 1e-6L) return static_cast<double>(v < 0 ? -Pi / 2 : Pi / 2);
  return static_cast<double>(std::atan(v / s));
}

double SafeArcCos(double x) {
  const Real v = std::clamp(Real{x}, Real{-1}, Real{1});
  const Real s = std::sqrt(1 - v * v);
  if (std::fabs(s) < 1e-6L) return static_cast<double>(v < 0 ? Pi : 0);
  return static_cast<double>(Pi / 2 - std::atan(v / s));
}

// ---- Distances and crossings ----------------------------------------------------------------

double SegmentDistance2(XY a, XY b, XY q) {
  const Real dx = b.x - a.x, dy = b.y - a.y;
  const Real length2 = dx * dx + dy * dy;
  if (!IsZero4(length2)) {
    const Real t = ((q.x - a.x) * dx + (q.y - a.y) * dy) / length2;
    if (t > 0 && t < 1) return static_cast<double>(Square(dx * (q.y - a.y) - dy * (q.x - a.x)) / length2);
  }
  const Real length = std::sqrt(length2);
  if (IsZero4(length)) return static_cast<double>(Square(q.x - b.x) + Square(q.y - b.y));
  const Real ux = dx / length * 0.001L, uy = dy / length * 0.001L;
  const Real nearB = Square(q.x - (b.x - ux)) + Square(q.y - (b.y - uy));
  const Real nearA = Square(q.x - (a.x + ux)) + Square(q.y - (a.y + uy));
  return static_cast<double>(std::min(nearB, nearA));
}

namespace {

Crossing CrossSegments(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c, PointIndex d,
                       bool strict) {
  const XY pa = PointXY(m, a), pb = PointXY(m, b), pc = PointXY(m, c), pd = PointXY(m, d);
  const Real ux = pb.x - pa.x, uy = pb.y - pa.y;
  const Real vx = pd.x - pc.x, vy = pd.y - pc.y;
  const Real den = uy * vx - vy * ux;
  Crossing result;
  if (IsZero4(den)) return result;
  const Real s = ((pc.y - pa.y) * vx - (pc.x - pa.x) * vy) / den;
  const Real t = ((pc.y - pa.y) * ux - (pc.x - pa.x) * uy) / den;
  const bool sOk = strict ? (s > 0 && s < 1) : ((s > 0 || IsZero4(s)) && (s < 1 || IsZero4(s - 1)));
  const Real vLength = std::sqrt(vx * vx + vy * vy);
  result.nearC = sOk && std::fabs(t) * vLength < 0.001L && std::fabs(t) < 0.25L;
  result.nearD = sOk && std::fabs(t - 1) * vLength < 0.001L && std::fabs(t - 1) < 0.25L;
  result.crosses = sOk && !result.nearC && !result.nearD && t > 0 && t < 1;
  return result;
}

}  // namespace

Crossing SegmentsCross(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c, PointIndex d) {
  return CrossSegments(m, a, b, c, d, false);
}

Crossing SegmentsCrossStrict(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c,
                             PointIndex d) {
  return CrossSegments(m, a, b, c, d, true);
}

namespace {

// Strictly nearer replaces, so of equally near points the lowest index wins.
PointIndex NearestInRange(const SurfaceModel& m, int from, int to, int skip, double x, double y) {
  PointIndex nearest = NoPoint;
  Real best = FarDistance;
  const int last = std::min<int>(to, static_cast<int>(m.PointX.size()) - 1);
  for (int i = std::max(from, 1); i <= last; ++i) {
    if (i == skip) continue;
    // The X term alone rejects most candidates before the Y term is needed.
    const Real dx2 = Square(Real{m.PointX[i]} - Real{x});
    if (dx2 >= best) continue;
    const Real d2 = dx2 + Square(Real{m.PointY[i]} - Real{y});
    if (d2 < best) {
      best = d2;
      nearest = static_cast<PointIndex>(i);
    }
  }
  return nearest;
}

}  // namespace

PointIndex NearestPoint(const SurfaceModel& m, double x, double y) {
  return NearestInRange(m, 1, m.PointCount, -1, x, y);
}

PointIndex NearestOtherPoint(const SurfaceModel& m, PointIndex from, PointIndex to, PointIndex p) {
  if (p >= m.PointX.size()) return NoPoint;
  return NearestInRange(m, from, to, p, m.PointX[p], m.PointY[p]);
}

// ---- Triangles ------------------------------------------------------------------------------


bool PointInTriangle(const SurfaceModel& m, TriangleIndex t, XY p) {
  const auto& c = m.TriVertex[t];
  Real s[3];
  for (int i = 0; i < 3; ++i) {
    const XY a = PointXY(m, c[i]);
    const XY b = PointXY(m, c[(i + 1) % 3]);
    const Real area = (a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y);
    s[i] = IsZero4(area) ? 0 : area;
  }
  return (s[0] >= 0 && s[1] >= 0 && s[2] >= 0) || (s[0] <= 0 && s[1] <= 0 && s[2] <= 0);
}

bool PointInTriangle(const SurfaceModel& m, TriangleIndex t, double x, double y) {
  return PointInTriangle(m, t, XY{x, y});
}

double TrianglePlaneZ(const SurfaceModel& m, TriangleIndex t, double x, double y) {
  const auto& c = m.TriVertex[t];
  const Real x0 = m.PointX[c[0]], y0 = m.PointY[c[0]], z0 = m.PointZ[c[0]];
  const Real x1 = m.PointX[c[1]], y1 = m.PointY[c[1]], z1 = m.PointZ[c[1]];
  const Real x2 = m.PointX[c[2]], y2 = m.PointY[c[2]], z2 = m.PointZ[c[2]];
  const Real nx = (y1 - y0) * (z2 - z0) - (z1 - z0) * (y2 - y0);
  const Real ny = (z1 - z0) * (x2 - x0) - (x1 - x0) * (z2 - z0);
  const Real nz = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
  if (IsZero4(nz)) return 0;
  return static_cast<double>(z0 - ((Real{x} - x0) * nx + (Real{y} - y0) * ny) / nz);
}

EdgeNeighbour AcrossEdge(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b) {
  const auto& neighbours = m.TriNeighbour[t];
  for (int slot = 2; slot >= 0; --slot) {
    const TriangleIndex n = neighbours[slot];
    if (n == NoTriangle) continue;
    const auto& c = m.TriVertex[n];
    const bool hasA = c[0] == a || c[1] == a || c[2] == a;
    const bool hasB = c[0] == b || c[1] == b || c[2] == b;
    if (!hasA || !hasB) continue;
    EdgeNeighbour result{true, n, NoPoint};
    for (PointIndex corner : c) {
      if (corner != a && corner != b) {
        result.third = corner;
        break;
      }
    }
    return result;
  }
  return {};
}

// ---- Point location -------------------------------------------------------------------------

TriangleIndex FindTriangleWithVertex(const SurfaceModel& m, LocateState& state, PointIndex p,
                                     TriangleIndex otherwise) {
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[t];
    if (c[0] == p || c[1] == p || c[2] == p) {
      state.LastTriangle = static_cast<TriangleIndex>(t);
      return static_cast<TriangleIndex>(t);
    }
  }
  return otherwise;
}

bool WalkToPoint(const SurfaceModel& m, LocateState& state, TriangleIndex& t, XY p) {
  state.LastTriangle = NoTriangle;
  PointIndex q0 = m.TriVertex[t][0], q1 = m.TriVertex[t][1], q2 = m.TriVertex[t][2];
  double best = SegmentDistance2(PointXY(m, q0), PointXY(m, q1), p);
  // A walk crosses each triangle at most once on its way; more steps than triangles means it
  // is circling, and the callers fall back to a scan.
  for (int step = 0; step <= m.TriangleCount; ++step) {
    const double d02 = SegmentDistance2(PointXY(m, q0), PointXY(m, q2), p);
    const double d12 = SegmentDistance2(PointXY(m, q1), PointXY(m, q2), p);
    int won = 0;
    if (d02 < best) {
      best = d02;
      won = 1;
    }
    if (d12 < best) {
      best = d12;
      won = 2;
    }
    if (won == 1) q1 = q2;
    if (won == 2) q0 = q2;
    const TriangleIndex previous = state.LastTriangle;
    state.LastTriangle = t;
    const EdgeNeighbour across = AcrossEdge(m, t, q0, q1);
    if (!across.found) break;
    t = across.triangle;
    q2 = across.third;
    if (t == previous) break;
  }
  return PointInTriangle(m, t, p);
}

TriangleIndex NearestHullTriangle(const SurfaceModel& m, const LocateState& state, double x,
                                  double y, TriangleIndex otherwise) {
  const XY p{x, y};
  TriangleIndex nearest = otherwise;
  double best = FarDistance;
  for (int t = std::max<int>(state.HullSearchFirst, 1); t <= m.TriangleCount; ++t) {
    // Only a triangle with fewer than three neighbours can have an outside edge.
    if (m.TriNeighbour[t][2] != NoTriangle) continue;
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i) {
      const PointIndex a = c[i], b = c[(i + 1) % 3];
      if (AcrossEdge(m, static_cast<TriangleIndex>(t), a, b).found) continue;
      const double d = SegmentDistance2(PointXY(m, a), PointXY(m, b), p);
      if (d < best) {
        best = d;
        nearest = static_cast<TriangleIndex>(t);
      }
    }
  }
  return nearest;
}

Location LocateTriangle(const SurfaceModel& m, LocateState& state, double x, double y) {
  if (m.TriangleCount == 0) return {false, NoTriangle};
  if (state.LastTriangle > m.TriangleCount || state.LastTriangle == NoTriangle) state.LastTriangle = 1;
  const XY p{x, y};
  TriangleIndex t = state.LastTriangle;
  if (!WalkToPoint(m, state, t, p)) {
    t = NearestHullTriangle(m, state, x, y, t);
    WalkToPoint(m, state, t, p);
  }
  bool found = PointInTriangle(m, t, p);
  if (!found) {
    t = state.LastTriangle;
    found = PointInTriangle(m, t, p);
  }
  state.LastTriangle = t;
  return {found, t};
}

TriangleIndex LocateTriangleLinear(const SurfaceModel& m, LocateState& state, double x, double y,
                                   TriangleIndex otherwise) {
  const XY p{x, y};
  TriangleIndex result = otherwise;
  for (int t = 1; t <= m.TriangleCount; ++t) {
    if (PointInTriangle(m, static_cast<TriangleIndex>(t), p)) {
      result = static_cast<TriangleIndex>(t);
      state.LastTriangle = result;
    }
  }
  return result;
}

Elevation ElevationAt(const SurfaceModel& m, LocateState& state, UserPort& port, double x, double y) {
  Elevation result{false, m.MinZ};
  if (m.TriangleCount > 0) {
    const Location where = LocateTriangle(m, state, x, y);
    if (where.found) result = {true, TrianglePlaneZ(m, where.triangle, x, y)};
  }
  if (!result.ok && state.ReportElevationFailure) port.ShowError(msg::ElevationOutsideSurface);
  state.ReportElevationFailure = false;
  return result;
}

// ---- Border tests ---------------------------------------------------------------------------

bool InsideExtents(const SurfaceModel& m, double x, double y) {
  return m.MinX < x && x < m.MaxX && m.MinY < y && y < m.MaxY;
}

namespace {

// The border feature nearest to a position: a vertex or a segment i -> j of the ring.
struct BorderFeature {
  bool found = false;
  bool isVertex = false;
  PointIndex from = NoPoint;  // the vertex, or the start of the segment
  PointIndex to = NoPoint;
  Real distance2 = FarDistance;
};

enum class FeatureRule {
  Side,      // vertices replace only when clearly nearer (the side test)
  OnBorder,  // skips segments without extent; vertices replace whenever nearer
  Plain,     // plain comparisons throughout
};

BorderFeature NearestBorderFeature(const SurfaceModel& m, PointIndex start, XY p, FeatureRule rule) {
  BorderFeature best;
  if (start == NoPoint || start > m.PointCount) return best;
  PointIndex i = start;
  // A sound ring closes within PointCount steps; a broken one must not hang the walk.
  for (int step = 0; step < m.PointCount; ++step) {
    const PointIndex j = m.BorderNext[i];
    if (j == NoPoint || j > m.PointCount) break;
    const XY pi = PointXY(m, i), pj = PointXY(m, j);
    const Real dx = pj.x - pi.x, dy = pj.y - pi.y;
    const Real qx = pi.x - p.x, qy = pi.y - p.y;
    if (!(rule == FeatureRule::OnBorder && IsZero4(dx) && IsZero4(dy))) {
      const Real length2 = dx * dx + dy * dy;
      const Real t = IsZero7(length2) ? 0 : -(qx * dx + qy * dy) / length2;
      if (t < 0) {
        const Real d = qx * qx + qy * qy;
        if (d < best.distance2 && (rule != FeatureRule::Side || !IsZero7(d - best.distance2)))
          best = {true, true, i, j, d};
      } else if (t <= 1) {
        const Real d = Square(qx + t * dx) + Square(qy + t * dy);
        if (d < best.distance2) best = {true, false, i, j, d};
      }
    }
    i = j;
    if (i == start) break;
  }
  return best;
}

BorderSide SideOfFeature(const SurfaceModel& m, const BorderFeature& feature, XY p) {
  const Real distance = std::sqrt(feature.distance2);
  if (distance < 1e-6L) return {true, 0};
  double s = 0;
  if (feature.found && !feature.isVertex) {
    s = Orientation(PointXY(m, feature.from), PointXY(m, feature.to), p);
  } else if (feature.found) {
    const PointIndex n = feature.from;
    PointIndex previous = n;
    for (int k = m.PointCount; k >= 1; --k) {
      if (m.BorderNext[k] == n) {
        previous = static_cast<PointIndex>(k);
        break;
      }
    }
    s = Orientation(PointXY(m, previous), PointXY(m, m.BorderNext[n]), PointXY(m, n));
  }
  const double signedDistance = SignOf(static_cast<double>(distance), s);
  return {signedDistance >= 0, std::fabs(signedDistance)};
}

}  // namespace

BorderSide BorderDistance(const SurfaceModel& m, PointIndex start, double x, double y) {
  const XY p{x, y};
  return SideOfFeature(m, NearestBorderFeature(m, start, p, FeatureRule::Side), p);
}

bool InsideBorder(const SurfaceModel& m, PointIndex start, double x, double y) {
  return BorderDistance(m, start, x, y).inside;
}

bool OnBorderLine(const SurfaceModel& m, double x, double y) {
  const XY p{x, y};
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return false;
  const BorderFeature nearest = NearestBorderFeature(m, start, p, FeatureRule::OnBorder);
  return SideOfFeature(m, nearest, p).distance <= 0.001;
}

PointIndex BorderSegmentAt(const SurfaceModel& m, double x, double y) {
  if (!OnBorderLine(m, x, y)) return NoPoint;
  const XY position{x, y};
  const BorderFeature nearest =
      NearestBorderFeature(m, m.FirstBorderPoint(1, m.PointCount), position, FeatureRule::Plain);
  if (!nearest.found) return NoPoint;
  const PointIndex d = nearest.from;
  if (SegmentDistance2(PointXY(m, d), PointXY(m, m.BorderNext[d]), position) >= 0.001) return NoPoint;
  return d;
}

bool InsertOnBorder(SurfaceModel& m, PointIndex p, double x, double y) {
  if (p == NoPoint || p >= m.BorderNext.size()) return false;
  const PointIndex d = BorderSegmentAt(m, x, y);
  if (d == NoPoint) return false;
  m.BorderNext[p] = m.BorderNext[d];
  m.BorderNext[d] = p;
  return true;
}

}  // namespace terravue::tin

#include "support/tin_checks.h"

#include "support/exact_checks.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/geometry.h"

namespace terravue::testing {

namespace {

using tin::Real;
using tin::XY;

using EdgeKey = std::pair<int, int>;

EdgeKey Key(int a, int b) { return {std::min(a, b), std::max(a, b)}; }

std::map<EdgeKey, std::vector<int>> EdgeUses(const model::SurfaceModel& m) {
  std::map<EdgeKey, std::vector<int>> uses;
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    for (int i = 0; i < 3; ++i) uses[Key(c[i], c[(i + 1) % 3])].push_back(t);
  }
  return uses;
}

// Border segments and breaklines: the segments the run forced.
std::vector<EdgeKey> ForcedSegments(const model::SurfaceModel& m) {
  std::vector<EdgeKey> segments;
  for (int i = 1; i <= m.PointCount; ++i)
    if (m.BorderNext[static_cast<std::size_t>(i)] != NoPoint) segments.push_back(Key(i, m.BorderNext[static_cast<std::size_t>(i)]));
  for (int b = 1; b <= m.BreaklineCount; ++b)
    segments.push_back(Key(m.Breaklines[static_cast<std::size_t>(b)].From, m.Breaklines[static_cast<std::size_t>(b)].To));
  return segments;
}

Real SegmentDistance(XY p, XY a, XY b) {
  const Real dx = b.x - a.x, dy = b.y - a.y;
  const Real length2 = dx * dx + dy * dy;
  Real t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, Real{0}, Real{1});
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

bool HasEdge(const model::SurfaceModel& m, int a, int b) {
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    for (int i = 0; i < 3; ++i)
      if (Key(c[i], c[(i + 1) % 3]) == Key(a, b)) return true;
  }
  return false;
}

bool AllPointsInsideBorder(const model::SurfaceModel& m) {
  std::vector<PointIndex> ring;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return false;
  for (PointIndex i = start; ring.size() <= m.PointCount;) {
    ring.push_back(i);
    i = m.BorderNext[i];
    if (i == start) break;
  }
  for (int p = 1; p <= m.PointCount; ++p) {
    if (m.BorderNext[static_cast<std::size_t>(p)] != NoPoint) continue;
    const double x = m.PointX[static_cast<std::size_t>(p)], y = m.PointY[static_cast<std::size_t>(p)];
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      const double xi = m.PointX[ring[i]], yi = m.PointY[ring[i]], xj = m.PointX[ring[j]], yj = m.PointY[ring[j]];
      if (SegmentDistance(XY{x, y}, XY{xi, yi}, XY{xj, yj}) < 1e-3) return false;
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    if (!inside) return false;
  }
  return true;
}

std::vector<std::string> CheckTin(const model::SurfaceModel& m, const TinExpectations& expect) {
  std::vector<std::string> problems = model::CheckTopology(m);
  if (!problems.empty()) return problems;
  auto add = [&](std::string line) {
    if (problems.size() < 50) problems.push_back(std::move(line));
  };

  Real area = 0;
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    const double orientation = tin::Orientation(m, c[0], c[1], c[2]);
    // Thin triangles are sound (a run of nearly collinear points along the hull makes them);
    // only an exactly flat one is not.
    if (ExactTurn(m.PointX[c[0]], m.PointY[c[0]], m.PointX[c[1]], m.PointY[c[1]], m.PointX[c[2]], m.PointY[c[2]]) == 0)
      add("triangle " + std::to_string(t) + ": no area (doubled area " + std::to_string(orientation) + ")");
    area += std::fabs(Real{orientation}) / 2;
  }

  const auto uses = EdgeUses(m);
  for (const auto& [edge, triangles] : uses) {
    const std::string name = "edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second);
    if (triangles.size() > 2) add(name + " is used by " + std::to_string(triangles.size()) + " triangles");
    if (triangles.size() != 2) continue;
    const auto& n = m.TriNeighbour[static_cast<std::size_t>(triangles[0])];
    if (std::find(n.begin(), n.end(), triangles[1]) == n.end())
      add(name + ": triangles " + std::to_string(triangles[0]) + " and " + std::to_string(triangles[1]) +
          " share it but are not neighbours");
  }

  if (expect.forcedEdgesPresent) {
    for (const EdgeKey& segment : ForcedSegments(m))
      if (!uses.contains(segment))
        add("forced segment " + std::to_string(segment.first) + "-" + std::to_string(segment.second) + " is not an edge");
  }
  if (expect.areaEqualsBorder) {
    const double border = tin::BorderArea(m);
    if (std::fabs(static_cast<double>(area) - border) > 1e-9 * border + 1e-6)
      add("triangles cover " + std::to_string(static_cast<double>(area)) + ", the border encloses " + std::to_string(border));
  }
  if (expect.convexCount) {
    int hull = 0;
    for (int i = 1; i <= m.PointCount; ++i) hull += m.BorderNext[static_cast<std::size_t>(i)] != NoPoint ? 1 : 0;
    const int wanted = 2 * m.PointCount - 2 - hull;
    if (m.TriangleCount != wanted)
      add(std::to_string(m.TriangleCount) + " triangles where 2n - 2 - h = " + std::to_string(wanted));
  }
  return problems;
}

std::vector<std::string> CheckDelaunay(const model::SurfaceModel& m) {
  std::vector<std::string> problems;
  const std::vector<EdgeKey> forced = ForcedSegments(m);
  const std::set<EdgeKey> forcedSet(forced.begin(), forced.end());

  const int count = m.TriangleCount;
  std::vector<tin::Circumcircle> circles(static_cast<std::size_t>(count) + 1);
  std::vector<bool> exempt(static_cast<std::size_t>(count) + 1, false);
  for (int t = 1; t <= count; ++t) {
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    XY c0 = tin::PointXY(m, c[0]), c1 = tin::PointXY(m, c[1]), c2 = tin::PointXY(m, c[2]);
    if (tin::Orientation(c0, c1, c2) < 0) std::swap(c1, c2);
    const tin::Circumcircle circle = tin::CircumcircleOf(c0, c1, c2);
    circles[static_cast<std::size_t>(t)] = circle;
    const XY centre{circle.centreX, circle.centreY};
    const Real radius = std::sqrt(circle.radius2);
    bool out = false;
    for (int s = 1; s <= 3 && !out; ++s) {
      const XY corner = tin::PointXY(m, static_cast<PointIndex>(m.PointCount + s));
      out = std::hypot(corner.x - centre.x, corner.y - centre.y) < radius;
    }
    for (const EdgeKey& segment : forced) {
      if (out) break;
      out = SegmentDistance(centre, tin::PointXY(m, static_cast<PointIndex>(segment.first)),
                            tin::PointXY(m, static_cast<PointIndex>(segment.second))) < radius;
    }
    exempt[static_cast<std::size_t>(t)] = out;
  }

  for (int t = 1; t <= count && problems.size() < 50; ++t) {
    if (exempt[static_cast<std::size_t>(t)]) continue;
    const auto& c = m.TriVertex[static_cast<std::size_t>(t)];
    const tin::Circumcircle& circle = circles[static_cast<std::size_t>(t)];
    for (TriangleIndex u : m.TriNeighbour[static_cast<std::size_t>(t)]) {
      if (u == NoTriangle || exempt[u]) continue;
      const auto& d = m.TriVertex[u];
      PointIndex opposite = NoPoint;
      std::vector<int> shared;
      for (PointIndex corner : d) {
        if (corner == c[0] || corner == c[1] || corner == c[2])
          shared.push_back(corner);
        else
          opposite = corner;
      }
      if (shared.size() != 2 || opposite == NoPoint || forcedSet.contains(Key(shared[0], shared[1]))) continue;
      const XY q = tin::PointXY(m, opposite);
      const Real dx = circle.centreX - q.x, dy = circle.centreY - q.y;
      const Real d2 = dx * dx + dy * dy;
      if (d2 < circle.radius2 - 1e-4L - 1e-12L * circle.radius2)
        problems.push_back("triangle " + std::to_string(t) + ": point " + std::to_string(opposite) + " of neighbour " +
                           std::to_string(u) + " lies inside its circle");
    }
  }
  return problems;
}

}  // namespace terravue::testing

#include "tin/surface_edit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "model/surface_model.h"
#include "tin/breaklines.h"
#include "tin/constrained_edges.h"
#include "tin/delaunay_repair.h"
#include "tin/geometry.h"
#include "tin/predicates.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

using Corners = std::array<PointIndex, 3>;

bool HasCornerP(const SurfaceModel& m, TriangleIndex t, PointIndex p) {
  const auto& c = m.TriVertex[t];
  return c[0] == p || c[1] == p || c[2] == p;
}

// t's corners in counter-clockwise order.
Corners CounterClockwise(const SurfaceModel& m, TriangleIndex t) {
  Corners c = m.TriVertex[t];
  if (OrientationSign(m, c[0], c[1], c[2]) < 0) std::swap(c[1], c[2]);
  return c;
}

// The same, rotated so that p comes first.
Corners CounterClockwiseFrom(const SurfaceModel& m, TriangleIndex t, PointIndex p) {
  Corners c = CounterClockwise(m, t);
  while (c[0] != p) std::rotate(c.begin(), c.begin() + 1, c.end());
  return c;
}

int Turn(const SurfaceModel& m, PointIndex a, PointIndex b, double x, double y) {
  return OrientationSign(m.PointX[a], m.PointY[a], m.PointX[b], m.PointY[b], x, y);
}

std::uint32_t EdgeKey(PointIndex a, PointIndex b) {
  return a < b ? (std::uint32_t{a} << 16) | b : (std::uint32_t{b} << 16) | a;
}

void DropNeighbour(SurfaceModel& m, TriangleIndex t, TriangleIndex gone) {
  auto& n = m.TriNeighbour[t];
  auto end = std::remove(n.begin(), n.end(), gone);
  std::fill(end, n.end(), NoTriangle);
}

bool AreNeighbours(const SurfaceModel& m, TriangleIndex t, TriangleIndex u) {
  const auto& n = m.TriNeighbour[t];
  return n[0] == u || n[1] == u || n[2] == u;
}

void AddNeighbour(SurfaceModel& m, TriangleIndex t, TriangleIndex u) {
  for (auto& slot : m.TriNeighbour[t]) {
    if (slot == NoTriangle) {
      slot = u;
      return;
    }
  }
}

// Rebuilds the neighbour lists after the triangles in `rewritten` changed: the new triangles
// `local` (written into some of those slots) are linked with each other and with the
// untouched triangles `outside` that bordered the old ones.
void Relink(SurfaceModel& m, const std::vector<TriangleIndex>& rewritten, const std::vector<TriangleIndex>& local,
            const std::vector<TriangleIndex>& outside) {
  for (TriangleIndex o : outside)
    for (TriangleIndex r : rewritten) DropNeighbour(m, o, r);
  for (TriangleIndex t : rewritten) m.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};

  struct Edge {
    std::uint32_t key;
    TriangleIndex t;
    bool local;
  };
  std::vector<Edge> edges;
  edges.reserve(3 * (local.size() + outside.size()));
  for (TriangleIndex t : local) {
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i) edges.push_back({EdgeKey(c[i], c[(i + 1) % 3]), t, true});
  }
  for (TriangleIndex t : outside) {
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i) edges.push_back({EdgeKey(c[i], c[(i + 1) % 3]), t, false});
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.key < b.key; });
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const Edge& a = edges[i];
    const Edge& b = edges[i + 1];
    if (a.key != b.key || a.t == b.t || (!a.local && !b.local) || AreNeighbours(m, a.t, b.t)) continue;
    AddNeighbour(m, a.t, b.t);
    AddNeighbour(m, b.t, a.t);
  }
}

// Closes up the numbering over slots no triangle refers to any more: the highest-numbered
// triangles move into them.
void FreeSlots(SurfaceModel& m, std::vector<TriangleIndex> freed) {
  std::sort(freed.begin(), freed.end(), std::greater<>());
  for (TriangleIndex f : freed) {
    const TriangleIndex last = m.TriangleCount;
    if (f != last) {
      m.TriVertex[f] = m.TriVertex[last];
      m.TriNeighbour[f] = m.TriNeighbour[last];
      for (TriangleIndex n : m.TriNeighbour[f]) {
        if (n == NoTriangle) break;
        for (auto& slot : m.TriNeighbour[n])
          if (slot == last) slot = f;
      }
    }
    m.TriVertex[last] = {NoPoint, NoPoint, NoPoint};
    m.TriNeighbour[last] = {NoTriangle, NoTriangle, NoTriangle};
    --m.TriangleCount;
  }
}

struct ExactLocation {
  TriangleIndex t = NoTriangle;
  int zeros = 0;   // how many of t's edges the position lies on
  int onEdge = -1;  // with one zero: the edge (corner i, corner i + 1) of the counter-clockwise corners
  Corners corners{};
};

// Classifies (x, y) exactly against t: inside (all turns >= 0) or not.
bool ExactlyIn(const SurfaceModel& m, TriangleIndex t, double x, double y, ExactLocation& where, int& outsideEdge) {
  const Corners c = CounterClockwise(m, t);
  where = {};
  outsideEdge = -1;
  for (int i = 0; i < 3; ++i) {
    const int s = Turn(m, c[i], c[(i + 1) % 3], x, y);
    if (s < 0) {
      outsideEdge = i;
      return false;
    }
    if (s == 0) {
      ++where.zeros;
      where.onEdge = i;
    }
  }
  where.t = t;
  where.corners = c;
  return true;
}

// The triangle holding (x, y), decided exactly: a walk from the tolerant location, then, should
// the walk not settle, every triangle in turn.
ExactLocation LocateExactly(const SurfaceModel& m, LocateState& state, double x, double y) {
  ExactLocation where;
  if (m.TriangleCount == 0) return where;
  const Location guess = LocateTriangle(m, state, x, y);
  TriangleIndex t = guess.triangle >= 1 && guess.triangle <= m.TriangleCount ? guess.triangle : 1;
  for (int step = 0; step < 4 * m.TriangleCount + 8; ++step) {
    int outsideEdge = -1;
    if (ExactlyIn(m, t, x, y, where, outsideEdge)) return where;
    const Corners c = CounterClockwise(m, t);
    const EdgeNeighbour across = AcrossEdge(m, t, c[outsideEdge], c[(outsideEdge + 1) % 3]);
    if (!across.found) break;
    t = across.triangle;
    if (step > 64) break;  // a long walk: the scan below settles it
  }
  for (TriangleIndex u = 1; u <= m.TriangleCount; ++u) {
    int outsideEdge = -1;
    if (ExactlyIn(m, u, x, y, where, outsideEdge)) return where;
  }
  return {};
}

// The triangle having the edge a-b, found near the edge's midpoint.
TriangleIndex TriangleWithEdge(const SurfaceModel& m, LocateState& state, PointIndex a, PointIndex b) {
  const Location near = LocateTriangle(m, state, (m.PointX[a] + m.PointX[b]) / 2, (m.PointY[a] + m.PointY[b]) / 2);
  if (near.triangle >= 1 && near.triangle <= m.TriangleCount) {
    if (EdgeSlot(m, near.triangle, a, b).found) return near.triangle;
    for (TriangleIndex n : m.TriNeighbour[near.triangle])
      if (n != NoTriangle && EdgeSlot(m, n, a, b).found) return n;
  }
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
    if (EdgeSlot(m, t, a, b).found) return t;
  return NoTriangle;
}

// A triangle with corner p: near its position first.
TriangleIndex TriangleAtPoint(const SurfaceModel& m, LocateState& state, PointIndex p) {
  const Location near = LocateTriangle(m, state, m.PointX[p], m.PointY[p]);
  if (near.triangle >= 1 && near.triangle <= m.TriangleCount) {
    if (HasCornerP(m, near.triangle, p)) return near.triangle;
    for (TriangleIndex n : m.TriNeighbour[near.triangle])
      if (n != NoTriangle && HasCornerP(m, n, p)) return n;
  }
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
    if (HasCornerP(m, t, p)) return t;
  return NoTriangle;
}

std::vector<TriangleIndex> NeighboursOutside(const SurfaceModel& m, const std::vector<TriangleIndex>& group) {
  std::vector<TriangleIndex> outside;
  for (TriangleIndex t : group)
    for (TriangleIndex n : m.TriNeighbour[t])
      if (n != NoTriangle && std::find(group.begin(), group.end(), n) == group.end()) outside.push_back(n);
  std::sort(outside.begin(), outside.end());
  outside.erase(std::unique(outside.begin(), outside.end()), outside.end());
  return outside;
}

// Where the triangles change for a point at (x, y) and what they become; nothing is written.
struct Split {
  bool possible = false;
  // With the border: the ring segment d -> next the point lies on.
  PointIndex borderFrom = NoPoint;
  std::vector<TriangleIndex> old;
  std::vector<Corners> made;  // counter-clockwise, with the point as NoPoint until written
  // The edge split at the point, when it lay on one (for the breakline that may run along it).
  PointIndex edgeA = NoPoint, edgeB = NoPoint;
};

Split PlanSplit(const SurfaceModel& m, LocateState& state, double x, double y) {
  Split plan;
  if (m.TriangleCount == 0) return plan;
  const PointIndex from = m.IsBordered() ? BorderSegmentAt(m, x, y) : NoPoint;
  if (from != NoPoint) {
    const PointIndex next = m.BorderNext[from];
    const TriangleIndex t = TriangleWithEdge(m, state, from, next);
    if (t == NoTriangle) return plan;
    const Corners c = CounterClockwiseFrom(m, t, from);
    // Counter-clockwise (from, next, o) or (from, o, next).
    const PointIndex o = c[1] == next ? c[2] : c[1];
    const bool forward = c[1] == next;
    const PointIndex first = forward ? from : next, second = forward ? next : from;
    // (first, p, o) and (p, second, o) must both turn counter-clockwise.
    if (OrientationSign(m.PointX[first], m.PointY[first], x, y, m.PointX[o], m.PointY[o]) <= 0 ||
        OrientationSign(x, y, m.PointX[second], m.PointY[second], m.PointX[o], m.PointY[o]) <= 0)
      return plan;
    plan.borderFrom = from;
    plan.old = {t};
    plan.made = {Corners{first, NoPoint, o}, Corners{NoPoint, second, o}};
    plan.edgeA = from;
    plan.edgeB = next;
    plan.possible = true;
    return plan;
  }
  const ExactLocation where = LocateExactly(m, state, x, y);
  if (where.t == NoTriangle || where.zeros > 1) return plan;
  const Corners& c = where.corners;
  if (where.zeros == 0) {
    plan.old = {where.t};
    plan.made = {Corners{c[0], c[1], NoPoint}, Corners{c[1], c[2], NoPoint}, Corners{c[2], c[0], NoPoint}};
    plan.possible = true;
    return plan;
  }
  const PointIndex a = c[where.onEdge], b = c[(where.onEdge + 1) % 3], o = c[(where.onEdge + 2) % 3];
  plan.edgeA = a;
  plan.edgeB = b;
  plan.old = {where.t};
  plan.made = {Corners{a, NoPoint, o}, Corners{NoPoint, b, o}};
  const EdgeNeighbour across = AcrossEdge(m, where.t, a, b);
  if (across.found) {
    plan.old.push_back(across.triangle);
    plan.made.push_back(Corners{b, NoPoint, across.third});
    plan.made.push_back(Corners{NoPoint, a, across.third});
  }
  plan.possible = true;
  return plan;
}

}  // namespace

bool CanInsertAt(const SurfaceModel& m, LocateState& state, double x, double y) {
  return PlanSplit(m, state, x, y).possible;
}

SurfaceInsertion InsertPointIntoSurface(SurfaceModel& m, LocateState& state, PointIndex p) {
  SurfaceInsertion result;
  if (m.TriangleCount == 0 || p == NoPoint || p > m.PointCount) return result;
  if (m.TriangleCount + 2 > m.MaxTriangles) return result;
  const double x = m.PointX[p], y = m.PointY[p];
  Split plan = PlanSplit(m, state, x, y);
  if (!plan.possible) return result;

  if (plan.borderFrom != NoPoint) {
    m.BorderNext[p] = m.BorderNext[plan.borderFrom];
    m.BorderNext[plan.borderFrom] = p;
    result.onBorder = true;
  }
  const std::vector<TriangleIndex> outside = NeighboursOutside(m, plan.old);
  std::vector<TriangleIndex> slots = plan.old;
  while (slots.size() < plan.made.size()) slots.push_back(++m.TriangleCount);
  for (std::size_t i = 0; i < plan.made.size(); ++i) {
    Corners c = plan.made[i];
    for (auto& corner : c)
      if (corner == NoPoint) corner = p;
    m.TriVertex[slots[i]] = c;
  }
  Relink(m, slots, slots, outside);

  FixedSegments fixed = FixedSegments::OfModelBorderLive(m);
  // A breakline along the edge the point split runs through the point now: its two pieces
  // stand for it, as when a triangulation forces a segment across a point.
  if (plan.edgeA != NoPoint && FindBreakline(m, plan.edgeA, plan.edgeB, 1, m.BreaklineCount)) {
    fixed.Add(plan.edgeA, p);
    fixed.Add(p, plan.edgeB);
  }
  RestoreDelaunay(m, fixed, slots);
  state.LastTriangle = slots.front();
  result.inSurface = true;
  return result;
}

SurfaceDeletion DeletePointFromSurface(SurfaceModel& m, LocateState& state, PointIndex p, bool removeFromModel) {
  if (p == NoPoint || p > m.PointCount) return SurfaceDeletion::Failed;
  if (m.BorderNext[p] != NoPoint) return SurfaceDeletion::BorderPoint;
  const TriangleIndex first = m.TriangleCount > 0 ? TriangleAtPoint(m, state, p) : NoTriangle;
  if (first == NoTriangle) {
    if (removeFromModel) RemovePointFromModel(m, p);
    return SurfaceDeletion::NotInSurface;
  }

  // The star: the triangles around p counter-clockwise, and their outer corners in that order.
  std::vector<TriangleIndex> star;
  std::vector<PointIndex> ring;
  TriangleIndex t = first;
  for (int step = 0;; ++step) {
    if (step > m.TriangleCount) return SurfaceDeletion::Failed;
    const Corners c = CounterClockwiseFrom(m, t, p);
    star.push_back(t);
    ring.push_back(c[1]);
    const EdgeNeighbour across = AcrossEdge(m, t, p, c[2]);
    // p on the outside of the triangles without being a border point: the hole would have no
    // outline to fill.
    if (!across.found) return SurfaceDeletion::Failed;
    t = across.triangle;
    if (t == first) break;
  }
  const std::size_t n = ring.size();
  if (n < 3) return SurfaceDeletion::Failed;

  // Ear clipping of the ring: a corner whose turn is counter-clockwise and whose triangle holds
  // no other remaining corner (not even on its edges) is cut off, until three are left.
  std::vector<std::size_t> prev(n), next(n);
  for (std::size_t i = 0; i < n; ++i) {
    prev[i] = (i + n - 1) % n;
    next[i] = (i + 1) % n;
  }
  std::vector<Corners> made;
  made.reserve(n - 2);
  std::size_t remaining = n;
  std::size_t at = 0;
  const auto isEar = [&](std::size_t i) {
    const PointIndex a = ring[prev[i]], b = ring[i], c = ring[next[i]];
    if (OrientationSign(m, a, b, c) <= 0) return false;
    for (std::size_t j = next[next[i]]; j != prev[i]; j = next[j]) {
      const PointIndex v = ring[j];
      if (OrientationSign(m, a, b, v) >= 0 && OrientationSign(m, b, c, v) >= 0 && OrientationSign(m, c, a, v) >= 0)
        return false;
    }
    return true;
  };
  while (remaining > 3) {
    std::size_t tried = 0;
    while (!isEar(at)) {
      at = next[at];
      if (++tried > remaining) return SurfaceDeletion::Failed;
    }
    made.push_back(Corners{ring[prev[at]], ring[at], ring[next[at]]});
    next[prev[at]] = next[at];
    prev[next[at]] = prev[at];
    at = prev[at];
    --remaining;
  }
  const Corners last{ring[prev[at]], ring[at], ring[next[at]]};
  if (OrientationSign(m, last[0], last[1], last[2]) <= 0) return SurfaceDeletion::Failed;
  made.push_back(last);

  // Write: the lowest star slots take the new triangles, the two left over are closed up.
  const std::vector<TriangleIndex> outside = NeighboursOutside(m, star);
  std::vector<TriangleIndex> slots = star;
  std::sort(slots.begin(), slots.end());
  const std::vector<TriangleIndex> freed(slots.begin() + static_cast<std::ptrdiff_t>(made.size()), slots.end());
  const std::vector<TriangleIndex> local(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(made.size()));
  for (std::size_t i = 0; i < made.size(); ++i) m.TriVertex[local[i]] = made[i];
  for (TriangleIndex f : freed) m.TriVertex[f] = {NoPoint, NoPoint, NoPoint};
  Relink(m, slots, local, outside);

  RestoreDelaunay(m, FixedSegments::OfModelBorderLive(m), local);
  FreeSlots(m, freed);
  state.LastTriangle = 1;
  if (removeFromModel) RemovePointFromModel(m, p);
  return SurfaceDeletion::Deleted;
}

void OpenPointInModel(SurfaceModel& m, PointIndex p) {
  const PointIndex count = m.PointCount;
  // References to the points that move up follow them, so that the border and the breaklines
  // stay on the same points.
  for (int i = 1; i <= count; ++i)
    if (m.BorderNext[i] >= p) ++m.BorderNext[i];
  for (int k = 1; k <= m.BreaklineCount; ++k) {
    model::Breakline& line = m.Breaklines[k];
    if (line.From >= p) ++line.From;
    if (line.To >= p) ++line.To;
  }
  for (int i = count; i >= p; --i) {
    m.PointX[i + 1] = m.PointX[i];
    m.PointY[i + 1] = m.PointY[i];
    m.PointZ[i + 1] = m.PointZ[i];
    m.PointCutFill[i + 1] = m.PointCutFill[i];
    m.PointLabel[i + 1] = m.PointLabel[i];
    m.BorderNext[i + 1] = m.BorderNext[i];
  }
  m.PointCount = static_cast<PointIndex>(count + 1);
  // A point opened among the points that hold cut/fill values gets none of its own (0).
  if (p <= m.CutFillCount) ++m.CutFillCount;
  m.PointX[p] = m.PointY[p] = m.PointZ[p] = m.PointCutFill[p] = 0;
  m.PointLabel[p] = {' ', ' ', ' ', ' '};
  m.BorderNext[p] = NoPoint;
}

void RemovePointFromModel(SurfaceModel& m, PointIndex p) {
  if (p == NoPoint || p > m.PointCount) return;
  const PointIndex count = m.PointCount;
  if (m.BorderNext[p] != NoPoint) {
    const PointIndex after = m.BorderNext[p] == p ? NoPoint : m.BorderNext[p];
    for (PointIndex i = 1; i <= count; ++i)
      if (m.BorderNext[i] == p) m.BorderNext[i] = after;
  }
  for (PointIndex i = 1; i <= count; ++i)
    if (m.BorderNext[i] > p) --m.BorderNext[i];

  BreaklineIndex kept = 0;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k) {
    model::Breakline line = m.Breaklines[k];
    if (line.From == p || line.To == p) continue;
    if (line.From > p) --line.From;
    if (line.To > p) --line.To;
    m.Breaklines[++kept] = line;
  }
  for (BreaklineIndex k = kept + 1; k <= m.BreaklineCount; ++k) m.Breaklines[k] = {};
  m.BreaklineCount = kept;

  for (PointIndex i = p; i < count; ++i) {
    m.PointX[i] = m.PointX[i + 1];
    m.PointY[i] = m.PointY[i + 1];
    m.PointZ[i] = m.PointZ[i + 1];
    m.PointCutFill[i] = m.PointCutFill[i + 1];
    m.PointLabel[i] = m.PointLabel[i + 1];
    m.BorderNext[i] = m.BorderNext[i + 1];
  }
  // The cut/fill values are held for points 1..CutFillCount: they move down with their points.
  if (p <= m.CutFillCount) --m.CutFillCount;
  m.PointX[count] = m.PointY[count] = m.PointZ[count] = m.PointCutFill[count] = 0;
  m.PointLabel[count] = {' ', ' ', ' ', ' '};
  m.BorderNext[count] = NoPoint;
  m.PointCount = count - 1;

  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
    for (auto& corner : m.TriVertex[t])
      if (corner > p) --corner;
}

}  // namespace terravue::tin

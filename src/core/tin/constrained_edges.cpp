#include "tin/constrained_edges.h"

#include <cmath>
#include <utility>

#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

bool HasCorner(const SurfaceModel& m, TriangleIndex t, PointIndex p) {
  const auto& c = m.TriVertex[t];
  return c[0] == p || c[1] == p || c[2] == p;
}

bool IsNeighbour(const SurfaceModel& m, TriangleIndex t, TriangleIndex u) {
  if (t == NoTriangle || u == NoTriangle) return false;
  const auto& n = m.TriNeighbour[t];
  return n[0] == u || n[1] == u || n[2] == u;
}

}  // namespace

Apexes FindApexes(const SurfaceModel& m, TriangleIndex a, TriangleIndex b) {
  Apexes apexes;
  int pSlot = -1;
  for (int i = 0; i < 3 && pSlot < 0; ++i)
    if (!HasCorner(m, b, m.TriVertex[a][i])) pSlot = i;
  for (int i = 0; i < 3 && apexes.q == NoPoint; ++i)
    if (!HasCorner(m, a, m.TriVertex[b][i])) apexes.q = m.TriVertex[b][i];
  if (pSlot < 0 || apexes.q == NoPoint) return apexes;
  const auto& c = m.TriVertex[a];
  apexes.p = c[pSlot];
  apexes.a1 = c[(pSlot + 1) % 3];
  apexes.a2 = c[(pSlot + 2) % 3];
  apexes.found = true;
  return apexes;
}

namespace {

// n becomes a neighbour of t (in t's next free slot), and every entry of n's list naming one
// of the two rewritten triangles now names t.
void Attach(SurfaceModel& m, TriangleIndex n, TriangleIndex t, TriangleIndex a, TriangleIndex b) {
  auto& own = m.TriNeighbour[t];
  for (auto& slot : own) {
    if (slot == NoTriangle) {
      slot = n;
      break;
    }
  }
  for (auto& entry : m.TriNeighbour[n])
    if (entry == a || entry == b) entry = t;
}

}  // namespace

EdgeSlotResult EdgeSlot(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b) {
  EdgeSlotResult result;
  const auto& c = m.TriVertex[t];
  for (int i = 0; i < 3; ++i) {
    const PointIndex u = c[i], v = c[(i + 1) % 3];
    if ((u == a && v == b) || (u == b && v == a)) result = {true, i};
  }
  return result;
}

bool SharesEdge(const SurfaceModel& m, TriangleIndex t, TriangleIndex u) {
  if (t == NoTriangle || u == NoTriangle) return false;
  int shared = 0;
  for (PointIndex corner : m.TriVertex[t]) shared += HasCorner(m, u, corner) ? 1 : 0;
  return shared == 2;
}

void FlipDiagonal(SurfaceModel& m, TriangleIndex a, TriangleIndex b, const Apexes& x) {
  model::TriangleNeighbours outerA = m.TriNeighbour[a];
  model::TriangleNeighbours outerB = m.TriNeighbour[b];
  for (auto& n : outerA)
    if (n == b) n = NoTriangle;
  for (auto& n : outerB)
    if (n == a) n = NoTriangle;

  m.TriVertex[a] = {x.p, x.q, x.a1};
  m.TriVertex[b] = {x.p, x.q, x.a2};
  m.TriNeighbour[a] = {b, NoTriangle, NoTriangle};
  m.TriNeighbour[b] = {a, NoTriangle, NoTriangle};

  for (int k = 0; k < 3; ++k) {
    const TriangleIndex nA = outerA[k], nB = outerB[k];
    if (SharesEdge(m, a, nA)) Attach(m, nA, a, a, b);
    if (SharesEdge(m, a, nB)) Attach(m, nB, a, a, b);
    if (SharesEdge(m, b, nA)) Attach(m, nA, b, a, b);
    if (SharesEdge(m, b, nB)) Attach(m, nB, b, a, b);
  }
}

SwapResult SwapDiagonal(SurfaceModel& m, FixedEdges& fixed, TriangleIndex a, TriangleIndex b) {
  if (a == NoTriangle || b == NoTriangle || !IsNeighbour(m, a, b)) return SwapResult::Swapped;
  const Apexes x = FindApexes(m, a, b);
  if (!x.found) return SwapResult::NoApex;

  const EdgeSlotResult inA = EdgeSlot(m, a, x.a1, x.a2);
  const EdgeSlotResult inB = EdgeSlot(m, b, x.a1, x.a2);
  if (!inA.found || !inB.found || fixed.Get(a, inA.slot) || fixed.Get(b, inB.slot))
    return SwapResult::FixedEdge;
  if (!SegmentsCross(m, x.p, x.q, x.a1, x.a2).crosses) return SwapResult::NotConvex;
  if (std::fabs(Orientation(m, x.p, x.q, x.a1)) < 1e-6 || std::fabs(Orientation(m, x.p, x.q, x.a2)) < 1e-6)
    return SwapResult::NotConvex;

  // Fixed edges travel as point pairs: the slots that hold them change with the corners.
  std::pair<PointIndex, PointIndex> fixedPairs[6];
  int fixedCount = 0;
  for (TriangleIndex t : {a, b})
    for (int i = 0; i < 3; ++i)
      if (fixed.Get(t, i)) fixedPairs[fixedCount++] = {m.TriVertex[t][i], m.TriVertex[t][(i + 1) % 3]};

  FlipDiagonal(m, a, b, x);
  fixed.Touch(a, b);

  for (int i = 0; i < 3; ++i) {
    fixed.Set(a, i, false);
    fixed.Set(b, i, false);
  }
  for (int k = 0; k < fixedCount; ++k) {
    for (TriangleIndex t : {a, b}) {
      const EdgeSlotResult slot = EdgeSlot(m, t, fixedPairs[k].first, fixedPairs[k].second);
      if (slot.found) fixed.Set(t, slot.slot, true);
    }
  }
  return SwapResult::Swapped;
}

namespace {

// One forcing of the segment a-b: the probe at a, the walk along the segment collecting the
// chain of crossed triangles, the forward sweep of diagonal swaps, and the local Delaunay
// restoration.
class SegmentForcer {
 public:
  SegmentForcer(SurfaceModel& m, LocateState& state, FixedEdges& fixed, PointIndex a, PointIndex b)
      : m_(m), state_(state), fixed_(fixed), a_(a), b_(b) {}

  ForceResult Run(bool reDelaunay);

 private:
  void FindFirstCrossing();
  bool TestEdge(TriangleIndex t, PointIndex c, PointIndex d);
  bool TurnAbout(TriangleIndex start, PointIndex& edgeEnd, bool& reachedOutside);
  std::vector<TriangleIndex> BuildChain();
  void StepAlongSegment(std::vector<TriangleIndex>& chain);
  bool SwapChain(std::vector<TriangleIndex>& chain);
  void FixEdgeAround(TriangleIndex t, PointIndex u, PointIndex v);
  void ReDelaunay(const std::vector<TriangleIndex>& chain);
  PointIndex CircleAnswer(const Apexes& x) const;

  SurfaceModel& m_;
  LocateState& state_;
  FixedEdges& fixed_;
  PointIndex a_;
  PointIndex b_;

  // The walk state: the current triangle, the edge the segment crosses out of it, and what the
  // last probe or walk met.
  TriangleIndex current_ = NoTriangle;
  PointIndex c1_ = NoPoint;
  PointIndex c2_ = NoPoint;
  bool endReached_ = false;
  bool walkFailed_ = false;
  bool passedPoint_ = false;
  PointIndex passedAt_ = NoPoint;      // the first point passed near ...
  TriangleIndex passedIn_ = NoTriangle;  // ... and the triangle whose edge ends there
};

// The triangle at a through which the segment leaves a.
void SegmentForcer::FindFirstCrossing() {
  endReached_ = walkFailed_ = passedPoint_ = false;
  passedAt_ = NoPoint;
  passedIn_ = NoTriangle;
  c1_ = c2_ = NoPoint;
  const Location at = LocateTriangle(m_, state_, m_.PointX[a_], m_.PointY[a_]);
  current_ = at.triangle;
  if (!at.found) {
    walkFailed_ = true;
    return;
  }
  const TriangleIndex start = at.triangle;
  const auto& c = m_.TriVertex[start];
  int slot = 2;
  for (int i = 0; i < 3; ++i)
    if (c[i] == a_) slot = i;
  PointIndex e1 = c[(slot + 1) % 3];
  PointIndex e2 = c[(slot + 2) % 3];
  bool reachedOutside = false;
  const bool decided = TestEdge(start, e1, e2) || TurnAbout(start, e1, reachedOutside) ||
                       (reachedOutside && TurnAbout(start, e2, reachedOutside));
  if (!decided) walkFailed_ = true;
  // A segment that is an edge already is forced, whatever lay within 0.001 of its line in the
  // triangles the probe turned over before the one that has it: a point a hair inside a hull
  // edge would otherwise fail the border, or not, by the order of the turn.
  if (endReached_) passedPoint_ = false;
}

// Turns about a from `start` across the edges (a, edgeEnd), testing each new triangle's edge
// opposite a. True when decided; reachedOutside tells whether the turn stopped at the outside
// of the surface (rather than back at the start).
bool SegmentForcer::TurnAbout(TriangleIndex start, PointIndex& edgeEnd, bool& reachedOutside) {
  reachedOutside = false;
  TriangleIndex t = start;
  for (int step = 0; step < m_.TriangleCount; ++step) {
    const EdgeNeighbour across = AcrossEdge(m_, t, a_, edgeEnd);
    if (!across.found) {
      reachedOutside = true;
      return false;
    }
    t = across.triangle;
    current_ = t;
    if (t == start) return false;
    if (TestEdge(t, across.third, edgeEnd)) return true;
    edgeEnd = across.third;
  }
  return false;
}

bool SegmentForcer::TestEdge(TriangleIndex t, PointIndex c, PointIndex d) {
  if (c == b_ || d == b_) {
    endReached_ = true;
    current_ = t;
    return true;
  }
  const Crossing cross = SegmentsCross(m_, a_, b_, c, d);
  if (cross.crosses) {
    c1_ = c;
    c2_ = d;
    current_ = t;
    return true;
  }
  if ((cross.nearC || cross.nearD) && !passedPoint_) {
    passedPoint_ = true;
    passedAt_ = cross.nearC ? c : d;
    passedIn_ = t;
  }
  return false;
}

// The probe's triangle, then one entry per step along the segment, until the end is reached, a
// point is passed or the walk fails.
std::vector<TriangleIndex> SegmentForcer::BuildChain() {
  std::vector<TriangleIndex> chain{current_};
  // Each step enters a new triangle; more steps than triangles means the walk is circling.
  for (int step = 0; !endReached_ && !passedPoint_ && !walkFailed_; ++step) {
    if (step > m_.TriangleCount) {
      walkFailed_ = true;
      break;
    }
    StepAlongSegment(chain);
  }
  return chain;
}

void SegmentForcer::StepAlongSegment(std::vector<TriangleIndex>& chain) {
  TriangleIndex next = NoTriangle;
  for (TriangleIndex n : m_.TriNeighbour[current_])
    if (n != NoTriangle && EdgeSlot(m_, n, c1_, c2_).found) next = n;
  if (next == NoTriangle) {
    walkFailed_ = true;
    return;
  }
  const int slot = EdgeSlot(m_, next, c1_, c2_).slot;
  current_ = next;
  if (HasCorner(m_, next, b_)) {
    endReached_ = true;
    chain.push_back(next);
    return;
  }
  const auto& c = m_.TriVertex[next];
  // A point passed at an end of the edge just crossed was already behind the previous entry.
  auto passAt = [&](PointIndex w) {
    passedPoint_ = true;
    passedAt_ = w;
    passedIn_ = next;
    if (w != c1_ && w != c2_) chain.push_back(next);
  };
  const PointIndex first[2] = {c[(slot + 1) % 3], c[(slot + 2) % 3]};
  const PointIndex second[2] = {c[(slot + 2) % 3], c[slot]};
  for (const PointIndex* edge : {first, second}) {
    const Crossing cross = SegmentsCross(m_, a_, b_, edge[0], edge[1]);
    if (cross.crosses) {
      c1_ = edge[0];
      c2_ = edge[1];
      chain.push_back(next);
      return;
    }
    if (cross.nearC || cross.nearD) {
      passAt(cross.nearC ? edge[0] : edge[1]);
      return;
    }
  }
  walkFailed_ = true;
  chain.push_back(next);
}

// The forward sweep: swaps each pair along the chain, dropping the triangle that no longer
// crosses the segment. It never steps back; true when the chain could not be resolved.
bool SegmentForcer::SwapChain(std::vector<TriangleIndex>& chain) {
  if (chain.size() <= 1) return true;
  std::size_t i = 0;
  bool swapped = false;
  while (chain.size() - i > 2) {
    const SwapResult r = SwapDiagonal(m_, fixed_, chain[i], chain[i + 1]);
    if (r == SwapResult::FixedEdge || r == SwapResult::NoApex) return true;
    swapped = r == SwapResult::Swapped;
    if (!swapped) {
      ++i;
      continue;
    }
    if (IsNeighbour(m_, chain[i], chain[i + 2]))
      chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(i + 1));
    else if (IsNeighbour(m_, chain[i + 1], chain[i + 2]))
      chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(i));
    else
      return true;
  }
  if (chain.size() - i == 2) return SwapDiagonal(m_, fixed_, chain[i], chain[i + 1]) != SwapResult::Swapped;
  return false;
}

void SegmentForcer::FixEdgeAround(TriangleIndex t, PointIndex u, PointIndex v) {
  const EdgeSlotResult own = EdgeSlot(m_, t, u, v);
  if (own.found) fixed_.Set(t, own.slot, true);
  for (TriangleIndex n : m_.TriNeighbour[t]) {
    if (n == NoTriangle) continue;
    const EdgeSlotResult slot = EdgeSlot(m_, n, u, v);
    if (slot.found) fixed_.Set(n, slot.slot, true);
  }
}

ForceResult SegmentForcer::Run(bool reDelaunay) {
  ForceResult result;
  FindFirstCrossing();
  if (passedPoint_ || walkFailed_) result.failed = true;
  std::vector<TriangleIndex> record;
  if (reDelaunay) record = BuildChain();

  FindFirstCrossing();
  if (passedPoint_ || walkFailed_) result.failed = true;
  // Each round resolves the segment from a onwards; a round that swaps without making progress
  // could otherwise repeat for ever.
  for (int round = 0; !endReached_ && !result.failed; ++round) {
    if (round > m_.TriangleCount) {
      result.failed = true;
      break;
    }
    std::vector<TriangleIndex> work = BuildChain();
    if (passedPoint_ || walkFailed_) result.failed = true;
    if (!result.failed) result.failed = SwapChain(work);
    if (result.failed) break;
    for (int hop = 0;; ++hop) {
      FindFirstCrossing();
      if (!passedPoint_) break;
      if (hop > m_.PointCount) {
        result.failed = true;
        break;
      }
      // The point passed is joined to a by an edge lying on the segment: keep that piece and
      // go on from the point.
      result.passedPoint = true;
      FixEdgeAround(passedIn_, a_, passedAt_);
      a_ = passedAt_;
    }
    if (walkFailed_) result.failed = true;
  }

  if (endReached_ && !result.failed) {
    const EdgeSlotResult slot = EdgeSlot(m_, current_, a_, b_);
    if (!slot.found) {
      result.failed = true;
    } else {
      fixed_.Set(current_, slot.slot, true);
      const EdgeNeighbour across = AcrossEdge(m_, current_, a_, b_);
      if (across.found) {
        const EdgeSlotResult other = EdgeSlot(m_, across.triangle, a_, b_);
        if (other.found) fixed_.Set(across.triangle, other.slot, true);
      }
    }
  }
  if (reDelaunay && !record.empty()) ReDelaunay(record);
  return result;
}

// The point that decides the diagonal of the quadrilateral (p, a1, q, a2): a2 when it lies
// strictly inside the circle through a1, p and q (the present diagonal stays), otherwise q
// (the other diagonal is wanted); NoPoint when the circle cannot be formed.
PointIndex SegmentForcer::CircleAnswer(const Apexes& x) const {
  if (x.a1 == NoPoint || x.p == NoPoint || x.q == NoPoint) return NoPoint;
  if (x.q == x.a1 || x.q == x.p) return NoPoint;
  XY c0 = PointXY(m_, x.a1), c1 = PointXY(m_, x.p);
  const XY c2 = PointXY(m_, x.q);
  if (Orientation(c0, c1, c2) < 0) std::swap(c0, c1);
  const Circumcircle circle = CircumcircleOf(c0, c1, c2);
  if (circle.cross < 0.001L) return NoPoint;
  if (x.a2 == x.a1 || x.a2 == x.p || x.a2 == x.q) return x.q;
  const XY fourth = PointXY(m_, x.a2);
  const Real dx = circle.centreX - fourth.x, dy = circle.centreY - fourth.y;
  const Real d2 = dx * dx + dy * dy;
  if (d2 < circle.radius2 && !IsZero9(d2 - circle.radius2)) return x.a2;
  return x.q;
}

// Swaps every neighbouring pair of the originally crossed triangles whose fourth point is not
// strictly inside the circle of the other diagonal; fixed edges and non-convex pairs refuse.
void SegmentForcer::ReDelaunay(const std::vector<TriangleIndex>& chain) {
  for (TriangleIndex p : chain) {
    for (TriangleIndex q : chain) {
      if (p == q || !IsNeighbour(m_, p, q) || EdgeSlot(m_, p, a_, b_).found) continue;
      const PointIndex answer = CircleAnswer(FindApexes(m_, p, q));
      if (!HasCorner(m_, p, answer)) SwapDiagonal(m_, fixed_, p, q);
    }
  }
}

}  // namespace

ForceResult ForceSegment(SurfaceModel& m, LocateState& state, FixedEdges& fixed, PointIndex a,
                         PointIndex b, bool reDelaunay) {
  return SegmentForcer(m, state, fixed, a, b).Run(reDelaunay);
}

}  // namespace terravue::tin

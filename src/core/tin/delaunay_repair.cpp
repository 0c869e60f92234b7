#include "tin/delaunay_repair.h"

#include <algorithm>
#include <utility>

#include "model/surface_model.h"
#include "tin/constrained_edges.h"
#include "tin/geometry.h"
#include "tin/predicates.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

bool HasCorner(const SurfaceModel& m, TriangleIndex t, PointIndex p) {
  const auto& c = m.TriVertex[t];
  return c[0] == p || c[1] == p || c[2] == p;
}

PointIndex ThirdCorner(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b) {
  for (PointIndex c : m.TriVertex[t])
    if (c != a && c != b) return c;
  return NoPoint;
}

bool IsSuper(const SurfaceModel& m, PointIndex p) { return p > m.PointCount; }

// Segments a-b and c-d cross at a point inside both: the quadrilateral a c b d is strictly
// convex, and either diagonal makes two counter-clockwise triangles of it.
bool CrossProperly(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c, PointIndex d) {
  return OrientationSign(m, a, b, c) * OrientationSign(m, a, b, d) < 0 &&
         OrientationSign(m, c, d, a) * OrientationSign(m, c, d, b) < 0;
}

// For an edge {a, r} of the outline of the real triangles and t the outer triangle holding it:
// true when r comes before a along that outline, counter-clockwise. The real triangle on the
// other side runs the edge the opposite way to t's counter-clockwise order.
bool Precedes(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex r) {
  const auto& c = m.TriVertex[t];
  int ia = 0, ir = 0;
  for (int i = 0; i < 3; ++i) {
    if (c[i] == a) ia = i;
    if (c[i] == r) ir = i;
  }
  const bool storedAToR = (ia + 1) % 3 == ir;
  const bool counterClockwise = OrientationSign(m, c[0], c[1], c[2]) > 0;
  return storedAToR == counterClockwise;
}

struct EdgeEntry {
  TriangleIndex t;
  PointIndex a, b;
};

}  // namespace

FixedSegments FixedSegments::OfModel(const SurfaceModel& m) {
  FixedSegments fixed;
  for (PointIndex i = 1; i <= m.PointCount; ++i)
    if (m.BorderNext[i] != NoPoint) fixed.Add(i, m.BorderNext[i]);
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k) fixed.Add(m.Breaklines[k].From, m.Breaklines[k].To);
  return fixed;
}

FixedSegments FixedSegments::OfModelBorderLive(const SurfaceModel& m) {
  FixedSegments fixed;
  fixed.border_ = &m;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k) fixed.Add(m.Breaklines[k].From, m.Breaklines[k].To);
  return fixed;
}

bool FixedSegments::Contains(PointIndex a, PointIndex b) const {
  if (border_ != nullptr && a < border_->BorderNext.size() && b < border_->BorderNext.size() &&
      (border_->BorderNext[a] == b || border_->BorderNext[b] == a))
    return true;
  if (!sorted_) {
    std::sort(keys_.begin(), keys_.end());
    keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
    sorted_ = true;
  }
  return std::binary_search(keys_.begin(), keys_.end(), Key(a, b));
}

void FixedSegments::AddFlagged(const SurfaceModel& m, const FixedEdges& fixed) {
  for (TriangleIndex t : fixed.Flagged()) {
    if (t > m.TriangleCount) continue;
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i)
      if (fixed.Get(t, i)) Add(c[static_cast<std::size_t>(i)], c[static_cast<std::size_t>((i + 1) % 3)]);
  }
}

// Each queued entry is an edge from a real point a to a super-triangle corner s. The outline
// neighbours of a are the real corners next to it on both sides; when one side is the corner
// triangle (a, s, s'), the neighbour there lies across its edge (a, s'). A point where the outline
// turns clockwise loses the edge to s, and (at a corner of the super triangle) then the edge to
// s', which brings its outline neighbours together in a real triangle.
std::vector<TriangleIndex> MakeOutlineConvex(SurfaceModel& m) {
  std::vector<EdgeEntry> stack;
  const auto pushSuperEdges = [&](TriangleIndex t) {
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i) {
      const PointIndex u = c[static_cast<std::size_t>(i)], v = c[static_cast<std::size_t>((i + 1) % 3)];
      if (IsSuper(m, u) != IsSuper(m, v)) stack.push_back({t, IsSuper(m, u) ? v : u, IsSuper(m, u) ? u : v});
    }
  };
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[t];
    if (IsSuper(m, c[0]) || IsSuper(m, c[1]) || IsSuper(m, c[2])) pushSuperEdges(t);
  }
  // Every flip takes a point off the outline or brings it nearer to that; the bound only guards
  // against a super triangle too close to make a bend flippable on both sides.
  const std::size_t limit = 4 * stack.size() + 16;
  std::vector<TriangleIndex> flipped;
  while (!stack.empty() && flipped.size() < 2 * limit) {
    const EdgeEntry e = stack.back();
    stack.pop_back();
    const PointIndex a = e.a, s = e.b;
    if (!HasCorner(m, e.t, a) || !HasCorner(m, e.t, s)) continue;
    const EdgeNeighbour across = AcrossEdge(m, e.t, a, s);
    if (!across.found) continue;
    const PointIndex x = ThirdCorner(m, e.t, a, s), y = across.third;
    if (IsSuper(m, x) && IsSuper(m, y)) continue;
    // z: a real neighbour of a, in the triangle zTriangle; w: the one on the other side.
    PointIndex z = x, w = y;
    TriangleIndex zTriangle = e.t;
    if (IsSuper(m, x) || IsSuper(m, y)) {
      const bool xSuper = IsSuper(m, x);
      z = xSuper ? y : x;
      zTriangle = xSuper ? across.triangle : e.t;
      const TriangleIndex corner = xSuper ? e.t : across.triangle;
      const PointIndex otherSuper = xSuper ? x : y;
      const EdgeNeighbour beyond = AcrossEdge(m, corner, a, otherSuper);
      if (!beyond.found || IsSuper(m, beyond.third)) continue;
      w = beyond.third;
    }
    const bool zFirst = Precedes(m, zTriangle, a, z);
    const PointIndex before = zFirst ? z : w, after = zFirst ? w : z;
    if (OrientationSign(m, before, a, after) >= 0) continue;
    if (!CrossProperly(m, a, s, x, y)) continue;
    const Apexes apexes = FindApexes(m, e.t, across.triangle);
    if (!apexes.found) continue;
    FlipDiagonal(m, e.t, across.triangle, apexes);
    flipped.push_back(e.t);
    flipped.push_back(across.triangle);
    pushSuperEdges(e.t);
    pushSuperEdges(across.triangle);
  }
  return flipped;
}

namespace {

// The flips of one repair: a stack of edges to check, each with a triangle that held it.
class DelaunayRepair {
 public:
  DelaunayRepair(SurfaceModel& m, const FixedSegments& fixed) : m_(m), fixed_(fixed) {}

  void CheckEdgesOf(TriangleIndex t) {
    const auto& c = m_.TriVertex[t];
    for (int i = 0; i < 3; ++i) stack_.push_back({t, c[static_cast<std::size_t>(i)], c[static_cast<std::size_t>((i + 1) % 3)]});
  }

  // Checks the edge between t and its neighbour u, where c is t's corner off the edge, a b the
  // edge and d u's corner off it; flips it when it fails.
  void Check(TriangleIndex t, TriangleIndex u, PointIndex a, PointIndex b, PointIndex c, PointIndex d) {
    if (IsSuper(m_, a) || IsSuper(m_, b) || IsSuper(m_, c) || IsSuper(m_, d)) return;
    // The circle test first: nearly every edge passes it, and a fixed one needs no look then.
    if (!EdgeNeedsFlip(m_, a, b, c, d) || fixed_.Contains(a, b)) return;
    // A failing edge has a strictly convex quadrilateral; checked all the same, so that a flip
    // can never make a triangle the wrong way round.
    if (!CrossProperly(m_, a, b, c, d)) return;
    const Apexes apexes = FindApexes(m_, t, u);
    if (!apexes.found) return;
    FlipDiagonal(m_, t, u, apexes);
    ++flips_;
    CheckEdgesOf(t);
    CheckEdgesOf(u);
  }

  // Works the stack off. An entry whose edge has left its triangle was replaced by the entries
  // of the flip that moved it.
  void Drain() {
    while (!stack_.empty()) {
      const EdgeEntry e = stack_.back();
      stack_.pop_back();
      if (!HasCorner(m_, e.t, e.a) || !HasCorner(m_, e.t, e.b)) continue;
      const EdgeNeighbour across = AcrossEdge(m_, e.t, e.a, e.b);
      if (across.found) Check(e.t, across.triangle, e.a, e.b, ThirdCorner(m_, e.t, e.a, e.b), across.third);
    }
  }

  int Flips() const { return flips_; }

 private:
  SurfaceModel& m_;
  const FixedSegments& fixed_;
  std::vector<EdgeEntry> stack_;
  int flips_ = 0;
};

}  // namespace

int RestoreDelaunay(SurfaceModel& m, const FixedSegments& fixed, const std::vector<TriangleIndex>& start) {
  // A forcing job names the triangles of every swap; most many times over.
  std::vector<TriangleIndex> triangles = start;
  std::sort(triangles.begin(), triangles.end());
  triangles.erase(std::unique(triangles.begin(), triangles.end()), triangles.end());
  DelaunayRepair repair(m, fixed);
  for (TriangleIndex t : triangles)
    if (t != NoTriangle && t <= m.TriangleCount) repair.CheckEdgesOf(t);
  repair.Drain();
  return repair.Flips();
}

// Every edge once, from the triangle of the lower number, in a sweep that reads each triangle's
// corners and neighbours where they lie; the edges a flip makes are worked off at once.
int RestoreDelaunay(SurfaceModel& m, const FixedSegments& fixed) {
  DelaunayRepair repair(m, fixed);
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    for (int j = 0; j < 3; ++j) {
      const TriangleIndex u = m.TriNeighbour[t][static_cast<std::size_t>(j)];
      if (u == NoTriangle) break;
      if (u < t) continue;
      const auto& c = m.TriVertex[t];
      const auto& d = m.TriVertex[u];
      // t's corner off the shared edge, and u's.
      int k = 0;
      while (k < 2 && (c[static_cast<std::size_t>(k)] == d[0] || c[static_cast<std::size_t>(k)] == d[1] ||
                       c[static_cast<std::size_t>(k)] == d[2]))
        ++k;
      const PointIndex apex = c[static_cast<std::size_t>(k)];
      const PointIndex a = c[static_cast<std::size_t>((k + 1) % 3)], b = c[static_cast<std::size_t>((k + 2) % 3)];
      const PointIndex other = d[0] != a && d[0] != b ? d[0] : (d[1] != a && d[1] != b ? d[1] : d[2]);
      repair.Check(t, u, a, b, apex, other);
      repair.Drain();
    }
  }
  return repair.Flips();
}

}  // namespace terravue::tin

#include "tin/insertion.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

// The steps follow the textbook incremental insertion with a cavity per point; what makes it
// fast without changing a single triangle, corner order or neighbour slot:
//
// - visited flags are stamps per point, so nothing is cleared between points;
// - the complete flags are mirrored in a bitset searched downward word by word, and each slot
//   carries bounds outside which the tolerant point-in-triangle test is certainly false;
// - circumcircles are computed once per slot with the same long-double expression;
// - the cavity's shared edges are found from the neighbour lists, and the fan is linked through
//   per-point tables, instead of pairwise searches.
//
// The last two rely on what insertion maintains: every triangle is counter-clockwise with a
// doubled area of at least 1e-6 (a fan triangle that is not ends the run), so each directed
// edge belongs to one triangle, each cavity's outline is a simple cycle, and an edge is shared
// by two cavity triangles exactly when they are neighbours across it. Where the outline is not
// a simple cycle the plain searches run instead.
namespace terravue::tin {

using model::SurfaceModel;

namespace {

struct Edge {
  PointIndex start = NoPoint;
  PointIndex end = NoPoint;
  TriangleIndex across = NoTriangle;  // the rim triangle on the other side, if any
};

// The circumcircle of a triangle slot, computed once when the slot gets its corners. A
// negative radius marks a triangle too thin to have one.
struct SlotCircle {
  Real centreX = 0;
  Real centreY = 0;
  Real radius2 = 0;
};

// Bounds outside which the point-in-triangle test is certainly false, as floats relative to
// the lower left corner of the extents, rounded outwards.
struct Bounds {
  static constexpr float Unbounded = 3e38f;  // a thin triangle: always tested in full
  float minX, maxX, minY, maxY;
  bool Excludes(float x, float y) const { return x < minX || x > maxX || y < minY || y > maxY; }
  bool Bounded() const { return minX > -Unbounded; }
};

// For each corner of one cavity's outline, the cavity-list positions of the fan triangles
// whose outline edge starts and ends there. A small hashed table for ordinary outlines, a table
// by point for huge ones; both stamped per insertion, so nothing is cleared.
class OutlineIndex {
 public:
  void Allocate(std::size_t points) { byPoint_.assign(points, Entry{}); }
  void Reset(std::uint32_t stamp, std::size_t edges) {
    stamp_ = stamp;
    useSmall_ = edges <= SmallEdges;
  }
  // False when the corner already starts (or ends) an edge: the outline is not a simple cycle.
  bool Add(PointIndex start, PointIndex end, int position) {
    Entry& s = Find(start);
    const bool simple = s.start < 0;
    s.start = position;
    Entry& e = Find(end);
    const bool alsoSimple = e.end < 0;
    e.end = position;
    return simple && alsoSimple;
  }
  int StartingAt(PointIndex p) { return Find(p).start; }
  int EndingAt(PointIndex p) { return Find(p).end; }

 private:
  static constexpr std::size_t SmallEdges = 32;
  static constexpr int SmallBits = 7;  // at least four slots per corner

  struct Entry {
    std::uint32_t stamp = 0;
    PointIndex point = NoPoint;
    int start = -1;
    int end = -1;
  };
  Entry& Find(PointIndex p) {
    Entry* entry;
    if (useSmall_) {
      std::size_t at = (std::uint32_t{p} * 0x9e3779b1u) >> (32 - SmallBits);
      while (small_[at].stamp == stamp_ && small_[at].point != p) at = (at + 1) & ((1u << SmallBits) - 1);
      entry = &small_[at];
    } else {
      entry = &byPoint_[p];
    }
    if (entry->stamp != stamp_) *entry = {stamp_, p, -1, -1};
    return *entry;
  }

  std::array<Entry, std::size_t{1} << SmallBits> small_{};
  std::vector<Entry> byPoint_;
  std::uint32_t stamp_ = 0;
  bool useSmall_ = true;
};

// The fan triangles that take the place of removed neighbours in one rim triangle's list (at
// most three, one per edge), as cavity-list positions.
struct RimLinks {
  int count = 0;
  int positions[3] = {0, 0, 0};
  std::uint8_t edges[3] = {0, 0, 0};  // the rim triangle's edge each fan triangle lies across
};

// Per triangle slot: which point's cavity or rim it was last in (2k: the k-th point's cavity,
// 2k + 1: its rim), and on the rim its position in the rim list.
struct Visit {
  std::uint32_t stamp = 0;
  std::uint32_t rimIndex = 0;
};

class PointInserter {
 public:
  PointInserter(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options)
      : m_(m), state_(state), port_(port), options_(options) {}

  TriangulationStatus Run();

 private:
  bool Allocate();
  void MakeSuperTriangle();
  Real SetCorners(TriangleIndex t, PointIndex a, PointIndex b, PointIndex c);
  void InsertPoint(int k);
  TriangleIndex LocateContainingTriangle() const;
  void SetBounds(TriangleIndex t);
  bool HoldsPosition(TriangleIndex t) const;
  void GrowCavity(TriangleIndex t);
  bool InCircle(TriangleIndex t);
  void CollectCavityEdges();
  void BuildFan();
  void LinkNeighbours();
  void LinkRim();
  void LinkFan();
  void LinkRimBySearch();
  void LinkFanBySearch();
  void ShowProgress(int percent);

  bool InCavity(TriangleIndex t) const { return visit_[t].stamp == cavityStamp_; }
  bool Visited(TriangleIndex t) const { return visit_[t].stamp >= cavityStamp_; }
  bool Lists(TriangleIndex t, TriangleIndex u) const {
    const auto& n = m_.TriNeighbour[t];
    return n[0] == u || n[1] == u || n[2] == u;
  }
  // Links t and u, each in its first free slot, when both have one; edgeT and edgeU are the
  // edges of t and u they share.
  bool Link(TriangleIndex t, TriangleIndex u, std::uint8_t edgeT, std::uint8_t edgeU);
  // The edge of t opposite its corner that u lacks.
  std::uint8_t SharedEdge(TriangleIndex t, TriangleIndex u) const {
    const auto& c = m_.TriVertex[t];
    const auto& d = m_.TriVertex[u];
    const bool has0 = c[0] == d[0] || c[0] == d[1] || c[0] == d[2];
    const bool has1 = c[1] == d[0] || c[1] == d[1] || c[1] == d[2];
    return !has0 ? 1 : (!has1 ? 2 : 0);
  }

  SurfaceModel& m_;
  LocateState& state_;
  UserPort& port_;
  InsertionOptions options_;
  TriangulationStatus status_ = TriangulationStatus::Success;
  int gauge_ = -1;

  std::vector<PointIndex> order_;
  // Per triangle slot. Visited flags are stamps, so nothing is cleared between points.
  std::vector<Visit> visit_;
  // The circle and the bounds of a slot share one cache line: a triangle on the front is both
  // scanned and tested against circles.
  struct alignas(64) SlotCache {
    SlotCircle circle;
    Bounds bounds;
  };
  std::vector<SlotCache> cache_;
  // Per slot and neighbour slot: the triangle's edge (0: corners 0-1, 1: 1-2, 2: 2-0) across
  // which that neighbour lies, kept with every link so that the outline needs no corner
  // comparisons.
  std::vector<std::array<std::uint8_t, 3>> edgeOf_;
  double originX_ = 0, originY_ = 0;
  double slack_ = 0;
  // One bit per slot that is not complete. Complete triangles are never reused, so scanning
  // the set bits downward visits the same triangles in the same order as a scan over flags.
  std::vector<std::uint64_t> open_;
  std::uint32_t cavityStamp_ = 0;
  OutlineIndex outline_;
  std::vector<RimLinks> rimLinks_;  // parallel to rim_
  bool simpleOutline_ = true;
  // The fan reuses the cavity's slots from its last entry back, then appends: fan triangle f
  // (made from outline edge f) sits at this position of the cavity list, and back.
  std::size_t reused_ = 0;
  std::size_t PositionOfEdge(std::size_t f) const { return f < reused_ ? reused_ - 1 - f : f; }

  std::vector<TriangleIndex> cavity_;
  std::vector<TriangleIndex> rim_;
  std::vector<Edge> edges_;  // the cavity's outline, in list order
  std::vector<std::pair<TriangleIndex, int>> stack_;

  PointIndex p_ = NoPoint;  // the point being inserted
  XY position_;
};

TriangulationStatus PointInserter::Run() {
  if (!options_.quiet) port_.BeginProgress(msg::TriangulatingData, true);
  ShowProgress(0);
  if (Allocate()) {
    m_.SortPointsAlongLongerAxis(order_, 1, m_.PointCount);
    MakeSuperTriangle();
    for (int k = 1; k <= m_.PointCount && status_ == TriangulationStatus::Success; ++k) {
      ShowProgress((k - 1) * 100 / m_.PointCount);
      InsertPoint(k);
    }
    ShowProgress(100);
  }
  if (!options_.quiet) {
    port_.EndProgress();
    if (status_ == TriangulationStatus::Success && !options_.autoProcessActive)
      port_.ShowCompletion(msg::TriangulationComplete);
  }
  return status_;
}

void PointInserter::ShowProgress(int percent) {
  if (options_.quiet || percent == gauge_) return;
  gauge_ = percent;
  port_.SetProgress(percent);
}

// Work areas for every triangle slot the store has: a full run reaches 2n + 1 triangles.
bool PointInserter::Allocate() {
  const std::size_t n = m_.PointCount;
  const std::size_t slots = m_.TriVertex.size();
  const bool room = m_.PointX.size() > n + 3 && slots > 2 * n + 2;
  try {
    if (!room) throw std::bad_alloc();
    order_.assign(n + 1, NoPoint);
    visit_.assign(slots, Visit{});
    cache_.assign(slots, SlotCache{});
    edgeOf_.assign(slots, {0, 0, 0});
    open_.assign(slots / 64 + 1, ~std::uint64_t{0});
    outline_.Allocate(n + 4);
  } catch (const std::bad_alloc&) {
    port_.ShowError(msg::ErrorAllocatingMemory);
    status_ = TriangulationStatus::OutOfMemory;
    return false;
  }
  for (int t = 0; t <= 3; ++t) m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};
  originX_ = m_.MinX;
  originY_ = m_.MinY;
  // Far more than the rounding of a coordinate's offset from the origin.
  const double largest = std::max({std::fabs(m_.MinX), std::fabs(m_.MaxX), std::fabs(m_.MinY), std::fabs(m_.MaxY), 1.0});
  slack_ = 1e-6 + largest * 1e-14;
  return true;
}

// The equilateral triangle of circumradius three times the larger extent about the centre of
// the extents, counter-clockwise.
void PointInserter::MakeSuperTriangle() {
  const int n = m_.PointCount;
  const Real cx = (Real{m_.MinX} + Real{m_.MaxX}) / 2;
  const Real cy = (Real{m_.MinY} + Real{m_.MaxY}) / 2;
  const Real d = 3 * std::max(Real{m_.MaxX} - Real{m_.MinX}, Real{m_.MaxY} - Real{m_.MinY});
  const Real corners[3][2] = {{cx - 0.86603L * d, cy - d / 2}, {cx + 0.86603L * d, cy - d / 2}, {cx, cy + d}};
  for (int i = 0; i < 3; ++i) {
    m_.PointX[n + 1 + i] = static_cast<double>(corners[i][0]);
    m_.PointY[n + 1 + i] = static_cast<double>(corners[i][1]);
    m_.BorderNext[n + 1 + i] = NoPoint;
  }
  m_.TriangleCount = 1;
  state_.LastTriangle = 1;
  SetCorners(1, static_cast<PointIndex>(n + 1), static_cast<PointIndex>(n + 2), static_cast<PointIndex>(n + 3));
}

// Writes the corners and caches the circle. Returns the doubled signed area.
Real PointInserter::SetCorners(TriangleIndex t, PointIndex a, PointIndex b, PointIndex c) {
  m_.TriVertex[t] = {a, b, c};
  const Circumcircle circle = CircumcircleOf(PointXY(m_, a), PointXY(m_, b), PointXY(m_, c));
  cache_[t].circle = {circle.centreX, circle.centreY, std::fabs(circle.cross) < 1e-6L ? Real{-1} : circle.radius2};
  SetBounds(t);
  return circle.cross;
}

// The doubled areas of a point against the three edges sum to the triangle's, so the tolerant
// test can pass only within the triangle scaled about its centroid by 1 + 3e, with
// e = tolerance / area, which lies within the bounding box grown by 3e times its larger side.
// Twice the tolerance covers the rounding of the areas; thin triangles are always tested in
// full.
void PointInserter::SetBounds(TriangleIndex t) {
  Bounds& bounds = cache_[t].bounds;
  const auto& c = m_.TriVertex[t];
  const double xa = m_.PointX[c[0]] - originX_, xb = m_.PointX[c[1]] - originX_, xc = m_.PointX[c[2]] - originX_;
  const double ya = m_.PointY[c[0]] - originY_, yb = m_.PointY[c[1]] - originY_, yc = m_.PointY[c[2]] - originY_;
  const double cross = (xb - xa) * (yc - ya) - (xc - xa) * (yb - ya);
  if (!(cross > 1e-3)) {
    bounds = {-Bounds::Unbounded, Bounds::Unbounded, -Bounds::Unbounded, Bounds::Unbounded};
    return;
  }
  const double minX = xa < xb ? (xa < xc ? xa : xc) : (xb < xc ? xb : xc);
  const double maxX = xa > xb ? (xa > xc ? xa : xc) : (xb > xc ? xb : xc);
  const double minY = ya < yb ? (ya < yc ? ya : yc) : (yb < yc ? yb : yc);
  const double maxY = ya > yb ? (ya > yc ? ya : yc) : (yb > yc ? yb : yc);
  const double side = maxX - minX > maxY - minY ? maxX - minX : maxY - minY;
  const double margin = side * (3 * 2e-4) / cross + slack_;
  // Two float units (one part in 2^22) more make the float bounds enclose the double ones,
  // whatever the rounding of these few operations and of the conversion.
  auto lower = [](double v) { return static_cast<float>(v - std::fabs(v) * 0x1p-22); };
  auto upper = [](double v) { return static_cast<float>(v + std::fabs(v) * 0x1p-22); };
  bounds = {lower(minX - margin), upper(maxX + margin), lower(minY - margin), upper(maxY + margin)};
}

void PointInserter::InsertPoint(int k) {
  // Duplicates next to each other in storage order are caught here; those stored apart meet a
  // degenerate triangle instead.
  if (k >= 2 && SamePlace(m_.PointX[k], m_.PointY[k], m_.PointX[k - 1], m_.PointY[k - 1]))
    status_ = TriangulationStatus::DuplicatePoints;
  p_ = order_[static_cast<std::size_t>(k)];
  position_ = PointXY(m_, p_);
  cavityStamp_ = 2 * static_cast<std::uint32_t>(k);
  cavity_.clear();
  rim_.clear();
  edges_.clear();

  const TriangleIndex t = LocateContainingTriangle();
  if (t == NoTriangle) {
    // Only a triangle wrongly marked complete can hide a point; a point left out of the
    // surface would be a silent hole, so the run fails instead.
    status_ = TriangulationStatus::DuplicatePoints;
    return;
  }
  if (status_ != TriangulationStatus::Success) return;
  visit_[t].stamp = cavityStamp_;
  cavity_.push_back(t);
  GrowCavity(t);
  CollectCavityEdges();
  if (status_ != TriangulationStatus::Success) return;
  BuildFan();
  if (status_ != TriangulationStatus::Success) return;
  LinkNeighbours();
}

// The newest triangles first, skipping complete ones: with the points in sorted order the
// containing triangle lies on the recent front. When none of those holds the point, every
// triangle is tried.
TriangleIndex PointInserter::LocateContainingTriangle() const {
  // A position rounded to float stays on the same side of each outward-rounded bound, rounding
  // being monotonic.
  const float x = static_cast<float>(m_.PointX[p_] - originX_), y = static_cast<float>(m_.PointY[p_] - originY_);
  const int top = m_.TriangleCount;
  for (int word = top >> 6; word >= 0; --word) {
    std::uint64_t bits = open_[static_cast<std::size_t>(word)];
    if (word == top >> 6 && (top & 63) != 63) bits &= (std::uint64_t{2} << (top & 63)) - 1;
    if (word == 0) bits &= ~std::uint64_t{1};  // slot 0 is no triangle
    while (bits != 0) {
      const int bit = 63 - std::countl_zero(bits);
      bits &= ~(std::uint64_t{1} << bit);
      const auto t = static_cast<TriangleIndex>((word << 6) + bit);
      if (!cache_[t].bounds.Excludes(x, y) && HoldsPosition(t)) return t;
    }
  }
  for (int t = top; t >= 1; --t)
    if (PointInTriangle(m_, static_cast<TriangleIndex>(t), position_)) return static_cast<TriangleIndex>(t);
  return NoTriangle;
}

// PointInTriangle for the point being inserted, decided in double precision where the margin
// allows. For a counter-clockwise triangle of doubled area above 1e-3 the three doubled areas
// against the point sum to more than three times the tolerance, so the test passes exactly
// when each area exceeds -1e-4; an area clear of that by more than the rounding of both
// precisions decides without the long-double evaluation.
bool PointInserter::HoldsPosition(TriangleIndex t) const {
  if (!cache_[t].bounds.Bounded()) return PointInTriangle(m_, t, position_);
  const auto& c = m_.TriVertex[t];
  const double px = m_.PointX[p_], py = m_.PointY[p_];
  double dx[3], dy[3];
  for (int i = 0; i < 3; ++i) {
    dx[i] = m_.PointX[c[i]] - px;
    dy[i] = m_.PointY[c[i]] - py;
  }
  bool certainlyInside = true;
  for (int i = 0; i < 3; ++i) {
    const int j = i == 2 ? 0 : i + 1;
    const double first = dx[i] * dy[j], second = dx[j] * dy[i];
    const double area = first - second;
    const double margin = (std::fabs(first) + std::fabs(second)) * 1e-15;
    if (margin > 1e-5) return PointInTriangle(m_, t, position_);
    if (area < -1e-4 - margin) return false;
    if (!(area > -1e-4 + margin)) certainlyInside = false;
  }
  return certainlyInside || PointInTriangle(m_, t, position_);
}

// Depth first over the neighbour slots in order, as a recursion would visit them.
void PointInserter::GrowCavity(TriangleIndex t) {
  stack_.assign(1, {t, 0});
  while (!stack_.empty()) {
    auto& [u, slot] = stack_.back();
    if (slot == 3) {
      stack_.pop_back();
      continue;
    }
    const TriangleIndex n = m_.TriNeighbour[u][static_cast<std::size_t>(slot)];
    ++slot;
    if (n == NoTriangle || Visited(n)) continue;
    if (InCircle(n)) {
      visit_[n].stamp = cavityStamp_;
      cavity_.push_back(n);
      stack_.push_back({n, 0});
    } else {
      visit_[n] = {cavityStamp_ + 1, static_cast<std::uint32_t>(rim_.size())};
      rim_.push_back(n);
    }
  }
}

// Is the point strictly inside the circumcircle of t? A circle lying wholly behind the point
// along the sort axis can never hold a later point: t is then marked complete.
bool PointInserter::InCircle(TriangleIndex t) {
  const SlotCircle& circle = cache_[t].circle;
  if (circle.radius2 < 0) {
    status_ = TriangulationStatus::DuplicatePoints;
    return false;
  }
  const Real along = m_.SortAxisIsX ? circle.centreX - position_.x : circle.centreY - position_.y;
  const Real across = m_.SortAxisIsX ? circle.centreY - position_.y : circle.centreX - position_.x;
  const Real a = along * along;
  if (a >= circle.radius2) {
    open_[t >> 6] &= ~(std::uint64_t{1} << (t & 63));
    return false;
  }
  const Real d2 = a + across * across;
  return d2 < circle.radius2 && !IsZero4(d2 - circle.radius2);
}

// The outline of the cavity: every cavity triangle's edges, from the last triangle to the
// first, each triangle's three in ascending order of their midpoints along the sort axis,
// leaving out the edges shared by two cavity triangles (they occur once in each direction and
// cancel).
void PointInserter::CollectCavityEdges() {
  const auto& key = m_.SortAxisIsX ? m_.PointX : m_.PointY;
  edges_.resize(3 * cavity_.size());
  std::size_t count = 0;
  for (auto it = cavity_.rbegin(); it != cavity_.rend(); ++it) {
    const auto& c = m_.TriVertex[*it];
    // An edge shared with a cavity neighbour cancels.
    bool shared[3] = {false, false, false};  // edges 01, 12, 20
    TriangleIndex across[3] = {NoTriangle, NoTriangle, NoTriangle};
    int remaining = 3;
    const auto& neighbours = m_.TriNeighbour[*it];
    for (int j = 0; j < 3; ++j) {
      const TriangleIndex n = neighbours[j];
      if (n == NoTriangle) continue;
      const int edge = edgeOf_[*it][j];
      if (InCavity(n)) {
        remaining -= shared[edge] ? 0 : 1;
        shared[edge] = true;
      } else {
        across[edge] = n;
      }
    }
    if (remaining == 0) continue;
    const Edge e[3] = {{c[0], c[1], across[0]}, {c[1], c[2], across[1]}, {c[2], c[0], across[2]}};
    if (remaining == 1) {
      edges_[count++] = e[shared[0] ? (shared[1] ? 2 : 1) : 0];
      continue;
    }
    const Real k0 = key[c[0]], k1 = key[c[1]], k2 = key[c[2]];
    const Real m01 = (k0 + k1) / 2, m12 = (k1 + k2) / 2, m20 = (k2 + k0) / 2;
    int order[3];
    if (m01 < m12) {
      if (m01 < m20) {
        if (m12 < m20)
          order[0] = 0, order[1] = 1, order[2] = 2;
        else
          order[0] = 0, order[1] = 2, order[2] = 1;
      } else {
        order[0] = 2, order[1] = 0, order[2] = 1;
      }
    } else if (m12 < m20) {
      if (m20 < m01)
        order[0] = 1, order[1] = 2, order[2] = 0;
      else
        order[0] = 1, order[1] = 0, order[2] = 2;
    } else {
      order[0] = 2, order[1] = 1, order[2] = 0;
    }
    for (int i : order)
      if (!shared[i]) edges_[count++] = e[i];
  }
  edges_.resize(count);
}

// One triangle (p, a, b) per outline edge: the cavity's own slots from its last entry back,
// then new slots. A triangle without positive area means the point coincides with another or
// lies on the outline; it would leave a broken surface, so the run fails.
void PointInserter::BuildFan() {
  const std::size_t reusable = cavity_.size();
  // The outline of a sound cavity has two more edges than the cavity has triangles; anything
  // else is a broken cavity, and would also outgrow the 2n + 1 triangle slots of a run.
  if (edges_.size() != reusable + 2) {
    status_ = TriangulationStatus::DuplicatePoints;
    return;
  }
  reused_ = reusable;
  simpleOutline_ = true;
  outline_.Reset(cavityStamp_, edges_.size());
  rimLinks_.assign(rim_.size(), RimLinks{});
  for (std::size_t f = 0; f < edges_.size(); ++f) {
    const Edge& e = edges_[f];
    TriangleIndex slot;
    if (f < reusable) {
      slot = cavity_[PositionOfEdge(f)];
    } else {
      slot = static_cast<TriangleIndex>(++m_.TriangleCount);
      cavity_.push_back(slot);
    }
    if (SetCorners(slot, p_, e.start, e.end) < 1e-6L) status_ = TriangulationStatus::DuplicatePoints;
    const int position = static_cast<int>(PositionOfEdge(f));
    if (!outline_.Add(e.start, e.end, position)) simpleOutline_ = false;
    if (e.across != NoTriangle) {
      RimLinks& links = rimLinks_[visit_[e.across].rimIndex];
      if (links.count == 3) {
        simpleOutline_ = false;
      } else {
        links.edges[links.count] = SharedEdge(e.across, slot);
        links.positions[links.count++] = position;
      }
    }
  }
}

void PointInserter::LinkNeighbours() {
  for (TriangleIndex t : cavity_) m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};
  if (simpleOutline_) {
    LinkRim();
    LinkFan();
  } else {
    LinkRimBySearch();
    LinkFanBySearch();
  }
}

bool PointInserter::Link(TriangleIndex t, TriangleIndex u, std::uint8_t edgeT, std::uint8_t edgeU) {
  auto& own = m_.TriNeighbour[t];
  auto& theirs = m_.TriNeighbour[u];
  const int ownFree = own[0] == NoTriangle ? 0 : (own[1] == NoTriangle ? 1 : (own[2] == NoTriangle ? 2 : 3));
  const int theirFree = theirs[0] == NoTriangle ? 0 : (theirs[1] == NoTriangle ? 1 : (theirs[2] == NoTriangle ? 2 : 3));
  if (ownFree == 3 || theirFree == 3) return false;
  own[static_cast<std::size_t>(ownFree)] = u;
  edgeOf_[t][static_cast<std::size_t>(ownFree)] = edgeT;
  theirs[static_cast<std::size_t>(theirFree)] = t;
  edgeOf_[u][static_cast<std::size_t>(theirFree)] = edgeU;
  return true;
}

// The rim triangles take the fan triangles in place of the removed ones: for each slot that
// named a cavity triangle, the last fan triangle sharing two corners with the rim triangle and
// not yet listing it. A fan triangle (p, a, b) shares two corners with a rim triangle exactly
// when the rim triangle has the edge a-b, p being new.
void PointInserter::LinkRim() {
  for (auto r = rim_.rbegin(); r != rim_.rend(); ++r) {
    const TriangleIndex rimTriangle = *r;
    RimLinks links = rimLinks_[rim_.size() - 1 - static_cast<std::size_t>(r - rim_.rbegin())];
    // Descending: the plain search runs from the last fan triangle back.
    int* p = links.positions;
    std::uint8_t* edge = links.edges;
    for (int a = 1; a < links.count; ++a) {
      for (int b = a; b > 0 && p[b - 1] < p[b]; --b) {
        std::swap(p[b - 1], p[b]);
        std::swap(edge[b - 1], edge[b]);
      }
    }
    for (std::size_t j = 0; j < 3; ++j) {
      const TriangleIndex old = m_.TriNeighbour[rimTriangle][j];
      if (old == NoTriangle || !InCavity(old)) continue;
      for (int k = 0; k < links.count; ++k) {
        const TriangleIndex f = cavity_[static_cast<std::size_t>(p[k])];
        if (Lists(f, rimTriangle)) continue;
        m_.TriNeighbour[rimTriangle][j] = f;
        edgeOf_[rimTriangle][j] = edge[k];
        m_.TriNeighbour[f][0] = rimTriangle;
        edgeOf_[f][0] = 1;  // the outline edge, corners 1-2 of a fan triangle
        break;
      }
    }
  }
}

// Fan triangles next to each other share the new point and one outline corner. Each takes the
// later fan triangles that share corner 1 or 2 with it, in list order, while it has room: on a
// simple outline, the one whose edge starts where its own ends and the one whose edge ends
// where its own starts.
void PointInserter::LinkFan() {
  const std::size_t count = cavity_.size();
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const TriangleIndex t = cavity_[i];
    if (m_.TriNeighbour[t][2] != NoTriangle) continue;
    const auto& c = m_.TriVertex[t];
    // The next fan triangle shares (p, b), edge 2 of this one and edge 0 of that one; the
    // previous shares (p, a) the other way round.
    struct Candidate {
      int position;
      std::uint8_t ownEdge, theirEdge;
    };
    Candidate first{outline_.StartingAt(c[2]), 2, 0}, second{outline_.EndingAt(c[1]), 0, 2};
    if (first.position > second.position) std::swap(first, second);
    for (const Candidate& f : {first, second}) {
      if (f.position < 0 || static_cast<std::size_t>(f.position) <= i || m_.TriNeighbour[t][2] != NoTriangle) continue;
      Link(t, cavity_[static_cast<std::size_t>(f.position)], f.ownEdge, f.theirEdge);
    }
  }
}

namespace {

int SharedCorners(const SurfaceModel& m, TriangleIndex t, TriangleIndex u) {
  const auto& c = m.TriVertex[u];
  int shared = 0;
  for (PointIndex corner : m.TriVertex[t]) shared += (c[0] == corner || c[1] == corner || c[2] == corner) ? 1 : 0;
  return shared;
}

}  // namespace

// The same links by plain search, for an outline that is not a simple cycle.
void PointInserter::LinkRimBySearch() {
  for (auto r = rim_.rbegin(); r != rim_.rend(); ++r) {
    const TriangleIndex rimTriangle = *r;
    for (std::size_t j = 0; j < 3; ++j) {
      const TriangleIndex old = m_.TriNeighbour[rimTriangle][j];
      if (old == NoTriangle || !InCavity(old)) continue;
      for (auto f = cavity_.rbegin(); f != cavity_.rend(); ++f) {
        if (SharedCorners(m_, *f, rimTriangle) >= 2 && !Lists(*f, rimTriangle)) {
          m_.TriNeighbour[rimTriangle][j] = *f;
          edgeOf_[rimTriangle][j] = SharedEdge(rimTriangle, *f);
          m_.TriNeighbour[*f][0] = rimTriangle;
          edgeOf_[*f][0] = SharedEdge(*f, rimTriangle);
          break;
        }
      }
    }
  }
}

void PointInserter::LinkFanBySearch() {
  for (std::size_t i = 0; i + 1 < cavity_.size(); ++i) {
    const TriangleIndex t = cavity_[i];
    const auto& a = m_.TriVertex[t];
    for (std::size_t u = i + 1; u < cavity_.size() && m_.TriNeighbour[t][2] == NoTriangle; ++u) {
      const auto& b = m_.TriVertex[cavity_[u]];
      if (a[1] == b[1] || a[1] == b[2] || a[2] == b[1] || a[2] == b[2])
        Link(t, cavity_[u], SharedEdge(t, cavity_[u]), SharedEdge(cavity_[u], t));
    }
  }
}

}  // namespace

TriangulationStatus InsertPoints(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options) {
  return PointInserter(m, state, port, options).Run();
}

}  // namespace terravue::tin

#include "support/reference_insertion.h"

#include <algorithm>
#include <array>
#include <new>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/duplicates.h"
#include "tin/geometry.h"
#include "tin/predicates.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

struct Edge {
  PointIndex start = NoPoint;  // NoPoint marks a cancelled edge
  PointIndex end = NoPoint;
};

class PointInserter {
 public:
  PointInserter(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options)
      : m_(m), state_(state), port_(port), options_(options) {}

  TriangulationStatus Run();

 private:
  bool Allocate();
  void MakeSuperTriangle();
  void InsertPoint(int k);
  TriangleIndex LocateContainingTriangle() const;
  void StartCavity(TriangleIndex t);
  void GrowCavity(TriangleIndex t);
  bool InCircle(TriangleIndex t);
  void CollectCavityEdges();
  void CancelSharedEdges();
  bool OutlineVisible() const;
  bool RestartAtContainer(TriangleIndex located);
  std::array<int, 3> SidesOf(TriangleIndex t) const;
  TriangleIndex AcrossCorners(TriangleIndex t, int e) const;
  void BuildFan();
  void LinkNeighbours();
  void ShowProgress(int percent);

  SurfaceModel& m_;
  LocateState& state_;
  UserPort& port_;
  InsertionOptions options_;
  TriangulationStatus status_ = TriangulationStatus::Success;
  int gauge_ = -1;

  std::vector<std::uint8_t> complete_;
  std::vector<std::uint8_t> visited_;
  // Verdicts set for the current point instead of the circle test: 0 none, 1 out, 2 in.
  std::vector<std::uint8_t> forced_;
  std::vector<PointIndex> order_;
  std::vector<TriangleIndex> cavity_;
  std::vector<TriangleIndex> rim_;
  std::vector<Edge> edges_;
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
    if (FindSamePlacePair(m_, order_)) status_ = TriangulationStatus::DuplicatePoints;
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

bool PointInserter::Allocate() {
  const std::size_t n = m_.PointCount;
  // Room for the super triangle's points and for the 2n + 1 triangles of a full run.
  const bool room = m_.PointX.size() > n + 3 && m_.TriVertex.size() > 2 * n + 2;
  try {
    if (!room) throw std::bad_alloc();
    complete_.assign(m_.TriVertex.size(), 0);
    visited_.assign(m_.TriVertex.size(), 0);
    forced_.assign(m_.TriVertex.size(), 0);
    order_.assign(n + 1, NoPoint);
  } catch (const std::bad_alloc&) {
    port_.ShowError(msg::ErrorAllocatingMemory);
    status_ = TriangulationStatus::OutOfMemory;
    return false;
  }
  for (int t = 0; t <= 3; ++t) m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};
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
  m_.TriVertex[1] = {static_cast<PointIndex>(n + 1), static_cast<PointIndex>(n + 2), static_cast<PointIndex>(n + 3)};
}

void PointInserter::InsertPoint(int k) {
  p_ = order_[static_cast<std::size_t>(k)];
  position_ = PointXY(m_, p_);
  std::fill_n(forced_.begin(), m_.TriangleCount + 1, std::uint8_t{0});

  const TriangleIndex t = LocateContainingTriangle();
  if (t == NoTriangle) {
    // Only a triangle wrongly marked complete can hide a point; a point left out of the
    // surface would be a silent hole, so the run fails instead.
    status_ = TriangulationStatus::DuplicatePoints;
    return;
  }
  StartCavity(t);
  GrowCavity(t);
  CollectCavityEdges();
  CancelSharedEdges();
  if (!OutlineVisible()) {
    if (!RestartAtContainer(t)) {
      status_ = TriangulationStatus::DuplicatePoints;
      return;
    }
    GrowCavity(cavity_[0]);
    CollectCavityEdges();
    CancelSharedEdges();
    if (!OutlineVisible()) {
      status_ = TriangulationStatus::DuplicatePoints;
      return;
    }
  }
  BuildFan();
  LinkNeighbours();
}

void PointInserter::StartCavity(TriangleIndex t) {
  std::fill_n(visited_.begin(), m_.TriangleCount + 1, std::uint8_t{0});
  cavity_.clear();
  rim_.clear();
  edges_.clear();
  visited_[t] = 1;
  cavity_.push_back(t);
}

// Every outline edge a -> b turns counter-clockwise towards the point, exactly, and the outline
// has two edges more than the cavity has triangles.
bool PointInserter::OutlineVisible() const {
  const auto outline = std::count_if(edges_.begin(), edges_.end(), [](const Edge& e) { return e.start != NoPoint; });
  if (static_cast<std::size_t>(outline) != cavity_.size() + 2) return false;
  for (const Edge& e : edges_)
    if (e.start != NoPoint && OrientationSign(m_, p_, e.start, e.end) <= 0) return false;
  return true;
}

// The cavity becomes the triangle holding the point exactly, with the one across the edge the
// point lies on, if it does (the lower-numbered of the two first); every other neighbour of
// theirs stays out.
bool PointInserter::RestartAtContainer(TriangleIndex located) {
  TriangleIndex found = NoTriangle, across = NoTriangle;
  auto settle = [&](TriangleIndex at, const std::array<int, 3>& sides) {
    const int zeros = (sides[0] == 0) + (sides[1] == 0) + (sides[2] == 0);
    if (zeros > 1) return;
    found = at;
    if (zeros == 1) across = AcrossCorners(at, sides[0] == 0 ? 0 : (sides[1] == 0 ? 1 : 2));
  };
  TriangleIndex t = located;
  bool arrived = false;
  for (int step = 0; step <= m_.TriangleCount && t != NoTriangle && !arrived; ++step) {
    const std::array<int, 3> sides = SidesOf(t);
    int beyond = -1;
    for (int k = 0; k < 3 && beyond < 0; ++k)
      if (sides[static_cast<std::size_t>((k + step) % 3)] < 0) beyond = (k + step) % 3;
    if (beyond < 0) {
      settle(t, sides);
      arrived = true;
    } else {
      t = AcrossCorners(t, beyond);
    }
  }
  for (int u = 1; u <= m_.TriangleCount && !arrived; ++u) {
    const std::array<int, 3> sides = SidesOf(static_cast<TriangleIndex>(u));
    if (sides[0] >= 0 && sides[1] >= 0 && sides[2] >= 0) {
      settle(static_cast<TriangleIndex>(u), sides);
      arrived = true;
    }
  }
  if (found == NoTriangle) return false;
  if (across != NoTriangle && across < found) std::swap(found, across);
  for (TriangleIndex c : {found, across}) {
    if (c == NoTriangle) continue;
    for (TriangleIndex n : m_.TriNeighbour[c])
      if (n != NoTriangle) forced_[n] = n == across ? 2 : 1;
  }
  StartCavity(found);
  return true;
}

std::array<int, 3> PointInserter::SidesOf(TriangleIndex t) const {
  const auto& c = m_.TriVertex[t];
  return {OrientationSign(m_, c[0], c[1], p_), OrientationSign(m_, c[1], c[2], p_), OrientationSign(m_, c[2], c[0], p_)};
}

TriangleIndex PointInserter::AcrossCorners(TriangleIndex t, int e) const {
  const auto& c = m_.TriVertex[t];
  const PointIndex a = c[static_cast<std::size_t>(e)], b = c[static_cast<std::size_t>((e + 1) % 3)];
  for (TriangleIndex n : m_.TriNeighbour[t]) {
    if (n == NoTriangle) continue;
    const auto& d = m_.TriVertex[n];
    if ((d[0] == a || d[1] == a || d[2] == a) && (d[0] == b || d[1] == b || d[2] == b)) return n;
  }
  return NoTriangle;
}

// The newest triangles first, skipping complete ones: with the points in sorted order the
// containing triangle lies on the recent front. When none of those holds the point, every
// triangle is tried.
TriangleIndex PointInserter::LocateContainingTriangle() const {
  for (int t = m_.TriangleCount; t >= 1; --t)
    if (complete_[t] == 0 && PointInTriangle(m_, static_cast<TriangleIndex>(t), position_))
      return static_cast<TriangleIndex>(t);
  for (int t = m_.TriangleCount; t >= 1; --t)
    if (PointInTriangle(m_, static_cast<TriangleIndex>(t), position_)) return static_cast<TriangleIndex>(t);
  return NoTriangle;
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
    if (visited_[n] != 0) continue;
    if (InCircle(n)) {
      visited_[n] = 1;
      cavity_.push_back(n);
      stack_.push_back({n, 0});
    } else if (n != NoTriangle) {
      visited_[n] = 1;
      rim_.push_back(n);
    }
  }
}

// Is the point inside the circumcircle of t by the tolerance (exactly)? Otherwise, a circle
// lying wholly behind the point along the sort axis (in long double) can never hold a later
// point: t is then marked complete.
bool PointInserter::InCircle(TriangleIndex t) {
  if (t == NoTriangle) return false;
  if (forced_[t] != 0) return forced_[t] == 2;
  const auto& c = m_.TriVertex[t];
  const XY a = PointXY(m_, c[0]), b = PointXY(m_, c[1]), d = PointXY(m_, c[2]);
  if (InsideCircle(static_cast<double>(a.x), static_cast<double>(a.y), static_cast<double>(b.x), static_cast<double>(b.y),
                   static_cast<double>(d.x), static_cast<double>(d.y), static_cast<double>(position_.x),
                   static_cast<double>(position_.y)))
    return true;
  const Circumcircle circle = CircumcircleOf(a, b, d);
  const Real along = m_.SortAxisIsX ? circle.centreX - position_.x : circle.centreY - position_.y;
  if (along * along >= circle.radius2) complete_[t] = 1;
  return false;
}

// Every cavity triangle's edges, from the last triangle to the first, each triangle's three in
// ascending order of their midpoints along the sort axis.
void PointInserter::CollectCavityEdges() {
  for (auto it = cavity_.rbegin(); it != cavity_.rend(); ++it) {
    const auto& c = m_.TriVertex[*it];
    const auto& key = m_.SortAxisIsX ? m_.PointX : m_.PointY;
    const Real k0 = key[c[0]], k1 = key[c[1]], k2 = key[c[2]];
    const Real m01 = (k0 + k1) / 2, m12 = (k1 + k2) / 2, m20 = (k2 + k0) / 2;
    const Edge e01{c[0], c[1]}, e12{c[1], c[2]}, e20{c[2], c[0]};
    if (m01 < m12) {
      if (m01 < m20) {
        if (m12 < m20)
          edges_.insert(edges_.end(), {e01, e12, e20});
        else
          edges_.insert(edges_.end(), {e01, e20, e12});
      } else {
        edges_.insert(edges_.end(), {e20, e01, e12});
      }
    } else if (m12 < m20) {
      if (m20 < m01)
        edges_.insert(edges_.end(), {e12, e20, e01});
      else
        edges_.insert(edges_.end(), {e12, e01, e20});
    } else {
      edges_.insert(edges_.end(), {e20, e12, e01});
    }
  }
}

// An edge shared by two cavity triangles occurs once in each direction and disappears; what
// remains is the cavity's outline.
void PointInserter::CancelSharedEdges() {
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    if (edges_[k].start == NoPoint) continue;
    for (std::size_t j = k + 1; j < edges_.size(); ++j) {
      if (edges_[j].start == edges_[k].end && edges_[j].end == edges_[k].start) {
        edges_[j].start = NoPoint;
        edges_[k].start = NoPoint;
        break;
      }
    }
  }
}

// One triangle (p, a, b) per outline edge: the cavity's own slots from its last entry back,
// then new slots.
void PointInserter::BuildFan() {
  const std::size_t reusable = cavity_.size();
  // The outline of a sound cavity has two more edges than the cavity has triangles.
  std::size_t used = 0;
  for (const Edge& e : edges_) {
    if (e.start == NoPoint) continue;
    TriangleIndex slot;
    if (used < reusable) {
      slot = cavity_[reusable - 1 - used];
    } else {
      slot = static_cast<TriangleIndex>(++m_.TriangleCount);
      cavity_.push_back(slot);
    }
    ++used;
    m_.TriVertex[slot] = {p_, e.start, e.end};
  }
}

void PointInserter::LinkNeighbours() {
  for (TriangleIndex t : cavity_) m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};

  auto lists = [&](TriangleIndex t, TriangleIndex u) {
    const auto& n = m_.TriNeighbour[t];
    return n[0] == u || n[1] == u || n[2] == u;
  };
  auto sharedCorners = [&](TriangleIndex t, TriangleIndex u) {
    int shared = 0;
    for (PointIndex corner : m_.TriVertex[t]) {
      const auto& c = m_.TriVertex[u];
      shared += (c[0] == corner || c[1] == corner || c[2] == corner) ? 1 : 0;
    }
    return shared;
  };

  // The rim triangles take the fan triangles in place of the removed ones.
  for (auto r = rim_.rbegin(); r != rim_.rend(); ++r) {
    const TriangleIndex rimTriangle = *r;
    for (std::size_t j = 0; j < 3; ++j) {
      const TriangleIndex old = m_.TriNeighbour[rimTriangle][j];
      if (visited_[old] == 0 || std::find(rim_.begin(), rim_.end(), old) != rim_.end()) continue;
      for (auto f = cavity_.rbegin(); f != cavity_.rend(); ++f) {
        if (sharedCorners(*f, rimTriangle) >= 2 && !lists(*f, rimTriangle)) {
          m_.TriNeighbour[rimTriangle][j] = *f;
          m_.TriNeighbour[*f][0] = rimTriangle;
          break;
        }
      }
    }
  }

  // Fan triangles next to each other share the new point and one outline corner.
  for (std::size_t i = 0; i + 1 < cavity_.size(); ++i) {
    const TriangleIndex t = cavity_[i];
    auto& own = m_.TriNeighbour[t];
    for (std::size_t u = i + 1; u < cavity_.size() && own[2] == NoTriangle; ++u) {
      const TriangleIndex other = cavity_[u];
      const auto& a = m_.TriVertex[t];
      const auto& b = m_.TriVertex[other];
      if (a[1] != b[1] && a[1] != b[2] && a[2] != b[1] && a[2] != b[2]) continue;
      auto& theirs = m_.TriNeighbour[other];
      auto free = std::find(theirs.begin(), theirs.end(), NoTriangle);
      if (free == theirs.end()) continue;
      *std::find(own.begin(), own.end(), NoTriangle) = other;
      *free = t;
    }
  }
}

}  // namespace

TriangulationStatus ReferenceInsertPoints(SurfaceModel& m, LocateState& state, UserPort& port,
                                          const InsertionOptions& options) {
  return PointInserter(m, state, port, options).Run();
}

}  // namespace terravue::tin

#include "support/reference_insertion.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

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
  void GrowCavity(TriangleIndex t);
  bool InCircle(TriangleIndex t);
  void CollectCavityEdges();
  void CancelSharedEdges();
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
  // Duplicates next to each other in storage order are caught here; those stored apart meet a
  // degenerate triangle instead.
  if (k >= 2 && SamePlace(m_.PointX[k], m_.PointY[k], m_.PointX[k - 1], m_.PointY[k - 1]))
    status_ = TriangulationStatus::DuplicatePoints;
  p_ = order_[static_cast<std::size_t>(k)];
  position_ = PointXY(m_, p_);
  std::fill_n(visited_.begin(), m_.TriangleCount + 1, std::uint8_t{0});
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
  visited_[t] = 1;
  cavity_.push_back(t);
  GrowCavity(t);
  CollectCavityEdges();
  if (status_ != TriangulationStatus::Success) return;
  CancelSharedEdges();
  BuildFan();
  if (status_ != TriangulationStatus::Success) return;
  LinkNeighbours();
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

// Is the point strictly inside the circumcircle of t? A circle lying wholly behind the point
// along the sort axis can never hold a later point: t is then marked complete.
bool PointInserter::InCircle(TriangleIndex t) {
  if (t == NoTriangle) return false;
  const auto& c = m_.TriVertex[t];
  const Circumcircle circle = CircumcircleOf(PointXY(m_, c[0]), PointXY(m_, c[1]), PointXY(m_, c[2]));
  if (std::fabs(circle.cross) < 1e-6L) {
    status_ = TriangulationStatus::DuplicatePoints;
    return false;
  }
  const Real along = m_.SortAxisIsX ? circle.centreX - position_.x : circle.centreY - position_.y;
  const Real across = m_.SortAxisIsX ? circle.centreY - position_.y : circle.centreX - position_.x;
  const Real a = along * along;
  if (a >= circle.radius2) {
    complete_[t] = 1;
    return false;
  }
  const Real d2 = a + across * across;
  return d2 < circle.radius2 && !IsZero4(d2 - circle.radius2);
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
// then new slots. A triangle without positive area means the point coincides with another or
// lies on the outline; it would leave a broken surface, so the run fails.
void PointInserter::BuildFan() {
  const std::size_t reusable = cavity_.size();
  // The outline of a sound cavity has two more edges than the cavity has triangles.
  const auto outline = std::count_if(edges_.begin(), edges_.end(), [](const Edge& e) { return e.start != NoPoint; });
  if (static_cast<std::size_t>(outline) != reusable + 2) {
    status_ = TriangulationStatus::DuplicatePoints;
    return;
  }
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
    const Circumcircle circle = CircumcircleOf(position_, PointXY(m_, e.start), PointXY(m_, e.end));
    if (circle.cross < 1e-6L) status_ = TriangulationStatus::DuplicatePoints;
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

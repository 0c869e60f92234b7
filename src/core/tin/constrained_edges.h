#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// Forcing a segment between two points to be a triangle edge, by swapping diagonals along the
// chain of triangles the segment crosses. Border segments, breaklines and the swap command's
// diagonal are made edges this way; no point is ever added.
namespace terravue::tin {

struct LocateState;

// One flag per triangle edge: flag i of triangle t marks the edge from corner i to corner
// (i + 1) mod 3 as fixed, so that later forcing does not swap it away. Lives for one forcing job
// (all border segments, all breaklines, one swap) and is sized for the triangles of that job.
class FixedEdges {
 public:
  explicit FixedEdges(int triangleCount) : flags_(static_cast<std::size_t>(triangleCount) + 1) {}

  bool Get(TriangleIndex t, int slot) const { return t < flags_.size() && flags_[t][slot] != 0; }
  void Set(TriangleIndex t, int slot, bool fixed) {
    if (t >= flags_.size()) return;
    flags_[t][static_cast<std::size_t>(slot)] = fixed ? 1 : 0;
    if (fixed) flagged_.push_back(t);
  }
  // The triangles swaps rewrote in this job, where the repair after it starts.
  void Touch(TriangleIndex a, TriangleIndex b) {
    touched_.push_back(a);
    touched_.push_back(b);
  }
  const std::vector<TriangleIndex>& Touched() const { return touched_; }
  // Every triangle a flag was set in (some perhaps more than once): the flags lie among them.
  const std::vector<TriangleIndex>& Flagged() const { return flagged_; }

 private:
  std::vector<std::array<std::uint8_t, 3>> flags_;
  std::vector<TriangleIndex> touched_;
  std::vector<TriangleIndex> flagged_;
};

struct EdgeSlotResult {
  bool found = false;
  int slot = 0;
};
// The slot i of t whose edge (corner i, corner i + 1) joins a and b in either direction.
EdgeSlotResult EdgeSlot(const model::SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b);

// Both triangles exist and exactly two corners of t are corners of u.
bool SharesEdge(const model::SurfaceModel& m, TriangleIndex t, TriangleIndex u);

enum class SwapResult {
  Swapped = 0,      // also when b is not a neighbour of a: nothing to do
  FixedEdge = 1,    // the shared edge is fixed
  NotConvex = 2,    // the quadrilateral is not convex, or a new triangle would be degenerate
  NoApex = 3,       // the two triangles do not make a quadrilateral
};

// The quadrilateral of two neighbours: p is a's corner off b, q is b's corner off a, and
// (a1, a2) the shared edge with a1 following p in a's corner order.
struct Apexes {
  bool found = false;
  PointIndex p = NoPoint, q = NoPoint, a1 = NoPoint, a2 = NoPoint;
};
Apexes FindApexes(const model::SurfaceModel& m, TriangleIndex a, TriangleIndex b);

// Rewrites the neighbours a and b to the other diagonal of their quadrilateral x, as
// SwapDiagonal does, without any check: A = (p, q, a1), B = (p, q, a2), each the other's
// neighbour in slot 0, the outer neighbours re-attached in the order of the old slots.
void FlipDiagonal(model::SurfaceModel& m, TriangleIndex a, TriangleIndex b, const Apexes& x);

// Before:  A = (p, a1, a2) below the diagonal a1-a2, B = (q, a2, a1) above it.
// After:   A = (p, q, a1) and B = (p, q, a2), each the other's neighbour in slot 0, the outer
//          neighbours re-attached and the fixed flags moved with their edges.
SwapResult SwapDiagonal(model::SurfaceModel& m, FixedEdges& fixed, TriangleIndex a, TriangleIndex b);

struct ForceResult {
  bool failed = false;
  // The segment was split at points lying on it: each piece is an edge.
  bool passedPoint = false;
};

// Makes the segment a-b an edge of the triangulation and marks it fixed. reDelaunay restores the
// empty-circle property around it where the fixed edges allow (breaklines); border segments and
// the swap command leave the swapped triangles as they are. Succeeds only when the segment (or,
// when it passed points, its last piece) is an edge afterwards.
ForceResult ForceSegment(model::SurfaceModel& m, LocateState& state, FixedEdges& fixed, PointIndex a,
                         PointIndex b, bool reDelaunay);

}  // namespace terravue::tin

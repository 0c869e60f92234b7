#pragma once

#include <cstdint>
#include <vector>

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// Restoring the empty-circle property by diagonal flips: the outline of a fresh insertion made
// convex, and every edge that is neither a border segment nor a breakline made Delaunay (the
// constrained Delaunay triangulation). Every decision is exact (tin/predicates.h), so the flips
// end, and a triangle that already passes is never touched.
namespace terravue::tin {

class FixedEdges;

// The point pairs the repair leaves as they are: border segments and breaklines, and the pieces
// a forced segment was split into at points lying on it.
class FixedSegments {
 public:
  // The border ring's segments and the breaklines of the model.
  static FixedSegments OfModel(const model::SurfaceModel& m);
  // The same for one local edit: the border segments are read from the ring as they are asked
  // about (the model must outlive the set), only the breaklines are listed.
  static FixedSegments OfModelBorderLive(const model::SurfaceModel& m);

  void Add(PointIndex a, PointIndex b) {
    keys_.push_back(Key(a, b));
    sorted_ = false;
  }
  // Every edge flagged in a forcing job's flags (which must belong to the current triangles).
  void AddFlagged(const model::SurfaceModel& m, const FixedEdges& fixed);
  // Asked only of edges that fail the circle test, which are few: a sorted list serves.
  bool Contains(PointIndex a, PointIndex b) const;

 private:
  static std::uint32_t Key(PointIndex a, PointIndex b) {
    return a < b ? (std::uint32_t{a} << 16) | b : (std::uint32_t{b} << 16) | a;
  }
  const model::SurfaceModel* border_ = nullptr;
  mutable std::vector<std::uint32_t> keys_;
  mutable bool sorted_ = true;
};

// After the insertion, before the border is forced: where the outline of the triangles between
// real points bends inwards at a point (a super-triangle corner being close enough to lie in the
// circle of a thin triangle along the hull), flips that point's edges to the super triangle
// until the outline is the convex hull. The super triangle then changes no hull edge, as if it
// lay infinitely far away. Returns the triangles the flips rewrote, for the repair.
std::vector<TriangleIndex> MakeOutlineConvex(model::SurfaceModel& m);

// Flips every edge, starting from the edges of `start`, that is not fixed and fails the circle
// test (EdgeNeedsFlip), checking the edges each flip makes, until none fails: afterwards every
// edge reached is fixed or Delaunay within CircleTolerance. Triangles keep their numbers; flips
// rewrite them as SwapDiagonal does. Edges at super-triangle corners are left alone. Returns
// the number of flips.
int RestoreDelaunay(model::SurfaceModel& m, const FixedSegments& fixed, const std::vector<TriangleIndex>& start);
// The same over every triangle.
int RestoreDelaunay(model::SurfaceModel& m, const FixedSegments& fixed);

}  // namespace terravue::tin

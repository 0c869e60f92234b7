#pragma once

#include <optional>
#include <vector>

#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// Points at the same place (SamePlace), which no surface can hold apart, and points merely
// close to each other, which the user may want to look at.
namespace terravue::tin {

struct PointPair {
  PointIndex first = NoPoint;  // the lower point number
  PointIndex second = NoPoint;
};

// Of all pairs of points at the same place, the one whose higher number is lowest (then the one
// whose lower number is), as the user meets them reading the points in order; none when every
// point has a place of its own. `order` lists points 1..PointCount (from entry 1) sorted along
// the sort axis (SortPointsAlongLongerAxis, whose axis is SortAxisIsX).
std::optional<PointPair> FindSamePlacePair(const model::SurfaceModel& m, const std::vector<PointIndex>& order);

// The same over positions already in that order: `at(k)` for k = 1..n gives the k-th one's
// {x, y, point number}.
struct PlacedPoint {
  double x = 0;
  double y = 0;
  PointIndex point = NoPoint;
};
template <class At>
std::optional<PointPair> FindSamePlacePair(int n, bool sortAxisIsX, At at);

namespace same_place_detail {
// Checks one run of points (each less than 0.001 along the axis from the one before) for pairs
// at one place, keeping the earliest met in `found`.
void CheckRun(std::vector<PlacedPoint>& run, bool sortAxisIsX, std::optional<PointPair>& found);
}  // namespace same_place_detail

template <class At>
std::optional<PointPair> FindSamePlacePair(int n, bool sortAxisIsX, At at) {
  // Two points at one place are less than 0.001 apart along the axis, so they lie in one run of
  // points each less than 0.001 from the one before. Runs are one or two points on most sites.
  std::optional<PointPair> found;
  if (n < 2) return found;
  std::vector<PlacedPoint> run;
  PlacedPoint previous = at(1);
  run.push_back(previous);
  for (int k = 2; k <= n + 1; ++k) {
    const PlacedPoint next = k <= n ? at(k) : PlacedPoint{};
    const bool joins = k <= n && (sortAxisIsX ? next.x - previous.x : next.y - previous.y) < 0.001;
    if (!joins) {
      if (run.size() > 1) same_place_detail::CheckRun(run, sortAxisIsX, found);
      run.clear();
    }
    run.push_back(next);
    previous = next;
  }
  return found;
}

struct ClosePair {
  PointIndex first = NoPoint;
  PointIndex second = NoPoint;
  double distance = 0;
  bool samePlace = false;  // SamePlace holds: the triangulation stops on this pair
};

// Every pair of points closer than `within` (in plan; a distance that is `within` but for the
// rounding of the coordinates is not closer, as for SamePlace), and every pair at the same
// place, ordered by the lower point number, then the higher.
std::vector<ClosePair> FindClosePairs(const model::SurfaceModel& m, double within);

}  // namespace terravue::tin

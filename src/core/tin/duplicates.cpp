#include "tin/duplicates.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

// Earlier in reading order: the higher number first, then the lower.
bool MetEarlier(const PointPair& a, const PointPair& b) {
  return a.second != b.second ? a.second < b.second : a.first < b.first;
}

}  // namespace

// A column of a grid is one run: sorted across the axis, its check is not quadratic.
void same_place_detail::CheckRun(std::vector<PlacedPoint>& run, bool sortAxisIsX, std::optional<PointPair>& found) {
  const auto across = [sortAxisIsX](const PlacedPoint& p) { return sortAxisIsX ? p.y : p.x; };
  std::sort(run.begin(), run.end(), [&](const PlacedPoint& a, const PlacedPoint& b) { return across(a) < across(b); });
  for (std::size_t i = 0; i < run.size(); ++i) {
    for (std::size_t j = i + 1; j < run.size() && across(run[j]) - across(run[i]) < 0.001; ++j) {
      if (!SamePlace(run[i].x, run[i].y, run[j].x, run[j].y)) continue;
      const PointPair pair{std::min(run[i].point, run[j].point), std::max(run[i].point, run[j].point)};
      if (!found || MetEarlier(pair, *found)) found = pair;
    }
  }
}

std::optional<PointPair> FindSamePlacePair(const SurfaceModel& m, const std::vector<PointIndex>& order) {
  const int n = std::min<int>(m.PointCount, static_cast<int>(order.size()) - 1);
  if (n < 2) return std::nullopt;
  return FindSamePlacePair(n, m.SortAxisIsX, [&](int k) {
    const PointIndex p = order[static_cast<std::size_t>(k)];
    return PlacedPoint{m.PointX[p], m.PointY[p], p};
  });
}

std::vector<ClosePair> FindClosePairs(const SurfaceModel& m, double within) {
  std::vector<ClosePair> pairs;
  std::vector<PointIndex> byX;
  for (PointIndex p = 1; p <= m.PointCount; ++p) byX.push_back(p);
  std::sort(byX.begin(), byX.end(), [&](PointIndex a, PointIndex b) { return m.PointX[a] < m.PointX[b]; });
  // Same-place pairs are listed whatever the distance asked for.
  const double reach = std::max(within, 0.001);
  for (std::size_t i = 0; i < byX.size(); ++i) {
    const PointIndex p = byX[i];
    for (std::size_t j = i + 1; j < byX.size() && m.PointX[byX[j]] - m.PointX[p] < reach; ++j) {
      const PointIndex q = byX[j];
      const double distance = std::hypot(m.PointX[q] - m.PointX[p], m.PointY[q] - m.PointY[p]);
      const bool same = SamePlace(m.PointX[p], m.PointY[p], m.PointX[q], m.PointY[q]);
      // As for the same place: a distance that is `within` but for the rounding of the
      // coordinates counts as `within`.
      const double magnitude = std::max({1.0, std::fabs(m.PointX[p]), std::fabs(m.PointX[q]), std::fabs(m.PointY[p]),
                                         std::fabs(m.PointY[q])});
      if (same || distance < within - magnitude * 0x1p-45)
        pairs.push_back({std::min(p, q), std::max(p, q), distance, same});
    }
  }
  std::sort(pairs.begin(), pairs.end(), [](const ClosePair& a, const ClosePair& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  });
  return pairs;
}

}  // namespace terravue::tin

#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/indices.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

// Finding loaded points by position, for the importers that name border and breakline vertices
// by their coordinates.
namespace terravue::exchange {

// Points bucketed by square cells, so that a position is compared with the few points near it
// rather than with every point of the model. A search visits the cells that the square of the
// given reach around the position touches; the cell width is well above the reach, so that is
// one cell, rarely two or four.
class PointGrid {
 public:
  PointGrid(double cellsPerUnit, std::size_t expected) : cellsPerUnit_(cellsPerUnit) { heads_.reserve(expected); }

  void Add(double x, double y, PointIndex id) {
    if (std::isnan(x) || std::isnan(y)) return;  // never near anything
    const Key key{Cell(x), Cell(y)};
    auto [it, inserted] = heads_.try_emplace(key, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({x, y, id, inserted ? -1 : it->second});
    if (!inserted) it->second = static_cast<std::int32_t>(entries_.size() - 1);
  }

  // Visits (at least) every point within `reach` of (x, y) in X and in Y. The square is taken a
  // little larger than asked, so that rounding at its edges cannot lose a point.
  template <class Visit>
  void ForEachNear(double x, double y, double reach, Visit visit) const {
    const double margin = reach * 1.5;
    for (std::int64_t cx = Cell(x - margin); cx <= Cell(x + margin); ++cx) {
      for (std::int64_t cy = Cell(y - margin); cy <= Cell(y + margin); ++cy) {
        const auto it = heads_.find(Key{cx, cy});
        if (it == heads_.end()) continue;
        for (std::int32_t e = it->second; e >= 0; e = entries_[static_cast<std::size_t>(e)].next) {
          const Entry& entry = entries_[static_cast<std::size_t>(e)];
          visit(entry.x, entry.y, entry.id);
        }
      }
    }
  }

 private:
  struct Key {
    std::int64_t x, y;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(k.x) * 0x9E3779B97F4A7C15ULL ^
                                        static_cast<std::uint64_t>(k.y));
    }
  };
  struct Entry {
    double x, y;
    PointIndex id;
    std::int32_t next;
  };

  // Clamping keeps far-off values in range and, being monotone, keeps neighbours neighbours.
  std::int64_t Cell(double v) const {
    constexpr double limit = 1e15;
    const double c = std::floor(v * cellsPerUnit_);
    if (std::isnan(c)) return 0;
    return static_cast<std::int64_t>(std::clamp(c, -limit, limit));
  }

  double cellsPerUnit_;
  std::unordered_map<Key, std::int32_t, KeyHash> heads_;
  std::vector<Entry> entries_;
};

// The nearest point to a position, first of equal distances winning, as a scan over all points
// would find it. Only a point within reach of a match is ever used, so the search is limited to
// the cells around the position (0.01 wide: anything that could match is well inside them);
// when the nearest point lies farther away, nothing is returned, since it could not match.
class NearestPointFinder {
 public:
  explicit NearestPointFinder(const model::SurfaceModel& model) : model_(model) {}

  PointIndex Nearest(double x, double y) {
    if (!built_) Build();
    constexpr double reach = 0.005;
    double best = reach * reach;
    PointIndex found = NoPoint;
    grid_.ForEachNear(x, y, reach, [&](double px, double py, PointIndex i) {
      const double d = (px - x) * (px - x) + (py - y) * (py - y);
      if (d < best || (d == best && found != NoPoint && i < found)) {
        best = d;
        found = i;
      }
    });
    return found;
  }

  // The nearest point when it lies at the position (tin::SamePlace): a border or breakline
  // vertex names that point.
  PointIndex Matching(double x, double y) {
    const PointIndex q = Nearest(x, y);
    return q != NoPoint && tin::SamePlace(model_.PointX[q], model_.PointY[q], x, y) ? q : NoPoint;
  }

 private:
  void Build() {
    for (PointIndex i = 1; i <= model_.PointCount; ++i) grid_.Add(model_.PointX[i], model_.PointY[i], i);
    built_ = true;
  }

  const model::SurfaceModel& model_;
  PointGrid grid_{100.0, std::size_t{model_.PointCount}};
  bool built_ = false;
};

}  // namespace terravue::exchange

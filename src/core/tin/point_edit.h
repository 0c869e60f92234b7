#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/indices.h"

namespace terravue {
struct Session;
}

// The rules of the point commands (Add, Delete, Edit, Undelete): whether a point may be added,
// deleted or moved, with the questions and messages that go with it, and what happens to the
// border, the triangles and the breaklines. A triangulated model stays triangulated (the local
// edits of tin/surface_edit.h) unless the user chose to give the triangulation up.
namespace terravue::tin {

struct LocateState;

struct PointEditResult {
  bool changed = false;
  // The point went outside the extremes of the field: the extents were recomputed and the
  // drawing scale is to be reset.
  bool resetScale = false;
};

struct PointValues {
  std::string label;
  double x = 0;
  double y = 0;
  double z = 0;
};

// Adds a point (as number PointCount + 1). Refused at point capacity, and at triangle capacity
// while triangulated, and at the place of an existing point.
PointEditResult AddPointRules(Session& session, LocateState& state, const PointValues& point);
// Deletes point p; the points above it move down by one.
PointEditResult DeletePointRules(Session& session, LocateState& state, PointIndex p);
// Gives point p a new label, position and elevation. Nothing changes when the old position
// cannot leave the triangles; the point is never left half inside the surface.
PointEditResult EditPointRules(Session& session, LocateState& state, PointIndex p, const PointValues& point);

// The points deleted by Delete Point, last in first out, for Undelete: up to 25; further deleted
// points are not kept while it is full.
class UndeleteStack {
 public:
  static constexpr std::size_t Capacity = 25;
  void Reset() { entries_.clear(); }
  bool Push(const PointValues& point);
  bool Empty() const { return entries_.empty(); }
  std::size_t Size() const { return entries_.size(); }
  const PointValues& Top() const { return entries_.back(); }
  PointValues Pop();

 private:
  std::vector<PointValues> entries_;
};

// The point dialog's texts read as numbers; the message of the first field that is not one
// ("Invalid Northing coordinate." ...) is shown and nothing is returned.
struct PointFieldTexts {
  std::string label, x, y, z;
};
std::optional<PointValues> ParsePointFields(Session& session, const PointFieldTexts& texts);

}  // namespace terravue::tin

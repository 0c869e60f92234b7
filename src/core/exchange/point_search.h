#pragma once

#include <string>

#include "model/indices.h"

namespace terravue {
class UserPort;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// Search: the point that best matches a label and/or coordinates, step by step through the list.
namespace terravue::exchange {

enum class SearchType { Closest = 0, Exact = 1 };

// What was asked for: each criterion with its on/off flag. X is the Easting, Y the Northing.
struct SearchCriteria {
  SearchType type = SearchType::Closest;
  bool useLabel = false;
  std::string label;  // right-justified to four characters when stored
  bool useX = false, useY = false, useZ = false;
  double x = 0, y = 0, z = 0;
  bool Any() const { return useLabel || useX || useY || useZ; }
};

// The search of one run of the program: its criteria and the point found last.
class PointSearch {
 public:
  // New Search: stores the criteria and searches from the first point. Nothing happens (false)
  // without any criterion.
  bool NewSearch(const model::SurfaceModel& m, UserPort& port, const SearchCriteria& criteria);
  // Continue Search: the next match after the current one; without one the result returns to
  // none.
  bool ContinueSearch(const model::SurfaceModel& m, UserPort& port);
  // Continue Search may be offered: criteria stored and unchanged, and a result before the last
  // point.
  bool CanContinue(const model::SurfaceModel& m) const;

  const SearchCriteria& Criteria() const { return criteria_; }
  PointIndex Current() const { return current_; }
  bool HasResult(const model::SurfaceModel& m) const;
  // The points may have been renumbered: the result is forgotten.
  void Forget() { current_ = NoPoint; }

 private:
  bool Run(const model::SurfaceModel& m, UserPort& port);
  SearchCriteria criteria_;
  PointIndex current_ = NoPoint;
};

// The label right-justified to four characters as the model stores it ("7" -> "   7"); longer
// texts keep their first four characters.
std::string RightJustifiedLabel(const std::string& text);

}  // namespace terravue::exchange

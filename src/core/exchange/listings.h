#pragma once

#include <string_view>

#include "model/indices.h"

namespace terravue {
class UserPort;
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// The point, border and breakline listings of the editors' Print commands, and the rules of the
// range dialog that asks for a first and a last number before a listing or a series.
namespace terravue::exchange {

// What the range dialog is opened for.
enum class RangeUse {
  PointListing = 0,
  BreaklineListing = 1,
  BorderSeries = 2,     // Border Editor, New - Series
  BreaklineSeries = 3,  // Breakline Editor, Add - Series
};

struct RangeForm {
  std::string_view caption;
  std::string_view firstLabel;
  std::string_view lastLabel;
  int minimum = 1;
  int maximum = 1;
  int first = 1;  // presets
  int last = 1;
  // The listings start on Continue; the series start in the first field.
  bool continueIsDefault = true;
};
RangeForm RangeFormFor(RangeUse use, const model::SurfaceModel& m);

// Continue: each number outside the form's limits is refused with the range message naming the
// limits, a first number above the last with the use's own message; true when the range may be
// used. A listing of an empty model is refused by its limits (1 to 0), never an empty report.
bool CheckRange(UserPort& port, const RangeForm& form, RangeUse use, long long first, long long last);

// "Data Point Listing" of points first..last (clamped to the points held). False, after its
// message, when there are no points or the work file cannot be made.
bool ListPoints(Session& session, PointIndex first, PointIndex last);
// "Border Point Listing" in ring order from the first border point. Without a border the
// information "No border defined for this data.", with a broken ring the error "Error in border
// definition."; false then.
bool ListBorder(Session& session);
// "Breakline Listing" of breaklines first..last. Without breaklines the information "No
// breaklines defined for this data."; false then.
bool ListBreaklines(Session& session, BreaklineIndex first, BreaklineIndex last);

}  // namespace terravue::exchange

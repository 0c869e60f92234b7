#pragma once

#include <optional>
#include <string>

#include "common/user_port.h"
#include "model/indices.h"

namespace terravue {
struct Session;
}

// Verify: the sweep for pairs of points within given X and Y differences of each other (listed
// with the field extents and areas, each pair optionally put to the user, who picks the point
// to delete), and the listing of the points near one location. Automatic processing runs the
// sweep without any dialog to decide whether it may triangulate.
namespace terravue::tin {

enum class PairChoice { Neither, First, Second, Both, CancelInteractive };

// What the interactive dialog shows for one pair, in its fixed-pitch lines.
struct PairQuestion {
  std::string header, first, second, difference;
  PairChoice suggested = PairChoice::Neither;
};

// The interactive dialog: the front end's modal form, a script in the tests.
class PairChooser {
 public:
  virtual ~PairChooser() = default;
  virtual PairChoice Choose(const PairQuestion& question) = 0;
};

struct VerifyOptions {
  double toleranceX = 0.001;
  double toleranceY = 0.001;
  bool searchAll = true;  // false: the points near (searchX, searchY)
  double searchX = 0;
  double searchY = 0;
  bool interactive = false;
  PairChooser* chooser = nullptr;
  // Automatic processing: differences 0.001, all points, no questions, no listing shown.
  bool automatic = false;
  // Where the run reports its progress; without it, the progress window.
  ProgressFn progress;
};

struct VerifyResult {
  bool passed = false;         // no pairs, or every pair corrected
  bool pointsChanged = false;  // points were deleted (the triangulation is then discarded)
  int pairs = 0;
};

VerifyResult RunVerification(Session& session, const VerifyOptions& options);

// The Verify dialog's four fields, each pair in the user's coordinate order (the first field
// holds X for Easting-Northing, Y for Northing-Easting).
struct VerifyFieldTexts {
  std::string firstDifference, secondDifference, firstLocation, secondLocation;
};
inline constexpr double MinimumDifference = 0.001;
// Reads the differences and, when one location is searched, its place into `options`. A
// difference that is not a number of at least 0.001 is refused with its field's error and the
// minimum ("Invalid X difference.", "Minimum value is: 0.001"); a location that is not a number
// with "Invalid X location.". On a refusal nothing is returned and `refused` holds the field
// (0..3 in the order above).
std::optional<VerifyOptions> ReadVerifyFields(Session& session, const VerifyFieldTexts& texts, VerifyOptions options,
                                              int& refused);

// The pair suggestion: the higher-numbered point off the border, never a border point.
PairChoice SuggestedChoice(bool firstOnBorder, bool secondOnBorder, PointIndex first, PointIndex second);

}  // namespace terravue::tin

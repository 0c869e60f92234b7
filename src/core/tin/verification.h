#pragma once

#include <string>

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
};

struct VerifyResult {
  bool passed = false;         // no pairs, or every pair corrected
  bool pointsChanged = false;  // points were deleted (the triangulation is then discarded)
  int pairs = 0;
};

VerifyResult RunVerification(Session& session, const VerifyOptions& options);

// The pair suggestion: the higher-numbered point off the border, never a border point.
PairChoice SuggestedChoice(bool firstOnBorder, bool secondOnBorder, PointIndex first, PointIndex second);

}  // namespace terravue::tin

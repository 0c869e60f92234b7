#pragma once

#include <optional>
#include <string_view>

#include "model/indices.h"
#include "tin/point_edit.h"

namespace terravue {
struct Session;
}

namespace terravue::tin {
struct LocateState;
}

// The Coordinate Editor's point commands as the user meets them: Add Point, Delete Point, Edit
// Point and Undelete Point show the point dialog for the point at hand (the cursor's position,
// the point nearest the cursor, the top of the undelete stack), then apply the rules of
// tin/point_edit.h to what the user confirmed.
namespace terravue::app {

struct CursorState;

// Help contexts of the point dialog, one per command.
inline constexpr int AddPointHelp = 505;
inline constexpr int DeletePointHelp = 515;
inline constexpr int EditPointHelp = 525;
inline constexpr int UndeletePointHelp = 560;

// What the point dialog shows.
struct PointDialogRequest {
  std::string_view caption;  // "Add Point", ...
  PointIndex number = NoPoint;
  tin::PointValues values;
  // Delete and Undelete show the point without letting it change.
  bool readOnly = false;
  int helpContext = 0;
};

// The point dialog: the front end's form, a script in the tests. Hands back the values the user
// confirmed (already read as numbers; a read-only dialog hands back what it showed), or nothing
// when the dialog was cancelled.
class PointDialog {
 public:
  virtual ~PointDialog() = default;
  virtual std::optional<tin::PointValues> Show(const PointDialogRequest& request) = 0;
};

// Each command returns what the rules did. A point taken outside the extremes of the field
// (resetScale) has had the page fitted to the data again and the map's sizes set for the new
// scale; the window lays its sheet out anew.

// Add Point: proposes the next number, that number as the label and the cursor's position.
tin::PointEditResult AddPointCommand(Session& session, tin::LocateState& locate, PointDialog& dialog,
                                   const CursorState& cursor);
// Delete Point: the point nearest the cursor, shown read-only. A deleted point is kept on the
// undelete stack (while it has room).
tin::PointEditResult DeletePointCommand(Session& session, tin::LocateState& locate, tin::UndeleteStack& undelete,
                                      PointDialog& dialog, const CursorState& cursor);
// Edit Point: the point nearest the cursor, its label, position and elevation editable.
tin::PointEditResult EditPointCommand(Session& session, tin::LocateState& locate, PointDialog& dialog,
                                    const CursorState& cursor);
// Undelete Point: the last deleted point, shown read-only, added again on OK.
tin::PointEditResult UndeletePointCommand(Session& session, tin::LocateState& locate, tin::UndeleteStack& undelete,
                                        PointDialog& dialog);

}  // namespace terravue::app

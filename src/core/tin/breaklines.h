#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/indices.h"
#include "model/surface_model.h"

namespace terravue {
struct Session;
class UserPort;
}  // namespace terravue

// Breaklines: segments between two points that the surface must follow as triangle edges.
// Forcing them into a triangulation with its error listing, and the list operations of the
// Breakline Editor.
namespace terravue::tin {

struct LocateState;
class FixedSegments;

// Makes every breakline an edge (ForceSegment with Delaunay restoration), in passes until a
// pass fixes nothing more. flags gets one byte per breakline: set exactly for those that failed.
// With `repair`, the edges the forcing fixed join it, and the triangles the forcing swapped are
// flipped back to Delaunay wherever it allows (RestoreDelaunay). True when all succeeded (also
// when there is nothing to do).
bool AdjustBreaklines(model::SurfaceModel& m, LocateState& state, UserPort& port,
                      std::vector<std::uint8_t>& flags, FixedSegments* repair = nullptr);

// Asks whether to view the failures, then lists the flagged breaklines in the report viewer.
void ListBreaklineErrors(Session& session, const std::vector<std::uint8_t>& flags);

// ---- The breakline list ---------------------------------------------------------------------

// A breakline among first..last joins p and q, in either direction.
bool FindBreakline(const model::SurfaceModel& m, PointIndex p, PointIndex q, BreaklineIndex first,
                   BreaklineIndex last);
// The breakline nearest to (x, y); of equally near ones the first. NoBreakline when there are none.
BreaklineIndex NearestBreakline(const model::SurfaceModel& m, double x, double y);

// What the Breakline Editor keeps while it is active.
struct BreaklineEditorState {
  static constexpr int UndeleteSlots = 26;  // keeps the last 25 deleted breaklines

  std::vector<std::uint8_t> errorFlags;  // per breakline: failed in the last Execute
  BreaklineIndex errorCursor = 1;
  bool notExecuted = false;  // the list changed since the last Execute
  std::array<model::Breakline, UndeleteSlots> undeleteRing{};
  int undeleteHead = 0;
  int undeleteTail = 0;
};

// Fresh state on entering the editor; false (after the message) when the flags could not be had.
bool EnterBreaklineEditor(Session& session, BreaklineEditorState& editor);

// Appends (p, q) when there is room, clearing its error flag; false when full.
bool AppendBreakline(model::SurfaceModel& m, BreaklineEditorState* editor, PointIndex p, PointIndex q);
// Removes breakline i, keeping it for Undelete.
void DeleteBreakline(model::SurfaceModel& m, BreaklineEditorState& editor, BreaklineIndex i);

// The editor commands on the list (the map position is the cursor's).
void AddBreaklineSeries(Session& session, BreaklineEditorState& editor, PointIndex first, PointIndex last);
void DeleteNearestBreakline(Session& session, BreaklineEditorState& editor, double x, double y);
void KillBreaklines(Session& session, BreaklineEditorState& editor);
void UndeleteBreakline(Session& session, BreaklineEditorState& editor);
// Execute: forces every breakline into the surface, then flips the rest of it to Delaunay where
// the border and the breaklines allow (RestoreDelaunay), as a triangulation leaves it.
void ExecuteBreaklines(Session& session, LocateState& state, BreaklineEditorState& editor);
// Error - Next / Error - Previous: the next failed breakline cyclically from the cursor, which
// then becomes the cursor; NoBreakline (after the message) when none is flagged.
BreaklineIndex NextBreaklineError(Session& session, BreaklineEditorState& editor);
BreaklineIndex PreviousBreaklineError(Session& session, BreaklineEditorState& editor);

}  // namespace terravue::tin

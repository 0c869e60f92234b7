#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// Triangulate: the Delaunay triangulation of all points with the border forced and clipped
// and the breaklines forced.
namespace terravue::tin {

struct BorderErrors;
struct LocateState;
class FixedSegments;

enum class TriangulationStatus : std::uint8_t {
  Success = 0,
  DuplicatePoints = 3,      // duplicate points, or a degenerate triangle met during insertion
  OutOfMemory = 4,          // a work area could not be allocated
  BorderNotForced = 6,      // some border segments failed to become edges
  BreaklinesNotForced = 7,  // some breaklines failed to become edges
};

struct TriangulateOptions {
  // No progress window and no completion message (after Remove Points).
  bool quiet = false;
  // Auto Process keeps the completion messages to itself.
  bool autoProcessActive = false;
  // The Border Editor's error flags while that editor is active; otherwise a convex border
  // made by the run resets flags of its own.
  BorderErrors* borderErrors = nullptr;
};

// Triangulates the model: the Delaunay triangulation of all points, the border forced and
// clipped, the breaklines forced, then every other edge flipped to Delaunay where the forced
// ones allow (the constrained Delaunay triangulation, RestoreDelaunay). Nothing happens (no
// status) when there are fewer than three points, more than the capacity, or all lie on one
// line, after the error message. Points at one place end the run with DuplicatePoints, and
// the message names the first such pair. With DuplicatePoints and OutOfMemory the
// triangulation is discarded and a convex border the run made is taken away again; with
// BorderNotForced and BreaklinesNotForced it remains, the failures listed on request. Every
// non-zero status ends with its error message.
std::optional<TriangulationStatus> Triangulate(Session& session, LocateState& state,
                                               const TriangulateOptions& options = {});

// The steps of a run, for the commands that need one of them.

// Makes every border segment an edge, in passes until a pass fixes nothing more. failed gets a
// byte per point, set for each border point whose segment to its successor failed. With
// `repair`, the edges the forcing fixed join it, and the triangles the forcing swapped are
// flipped back to Delaunay wherever it allows (RestoreDelaunay). True when all succeeded.
bool ForceBorderSegments(model::SurfaceModel& m, LocateState& state, std::vector<std::uint8_t>& failed,
                         FixedSegments* repair = nullptr);
// Removes the super triangle and every triangle outside the border reached across edges that
// join two border points without being a border segment, then closes up the numbering.
void RemoveOutsideTriangles(model::SurfaceModel& m);
// Asks whether to view the failed border segments, then lists them in the report viewer.
void ListBorderErrors(Session& session, const std::vector<std::uint8_t>& failed);

}  // namespace terravue::tin

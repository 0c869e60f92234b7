#pragma once

#include <cstdint>
#include <vector>

#include "model/indices.h"

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// The border: the closed ring of points (BorderNext) that limits the surface. Checking the
// ring, the automatic convex ring, the ring edits of the Border Editor, and the verification
// that lists points outside and near the ring.
namespace terravue::tin {

enum class BorderCheck {
  Valid = 0,
  None = 1,     // no point is on the border
  Invalid = 2,  // the links do not make one closed ring of at least three points
};

// Checks the ring among points first..last.
BorderCheck CheckBorder(const model::SurfaceModel& m, PointIndex first, PointIndex last);

// The points the last verification found outside the border, and the one shown last by
// Error - Next/Previous. The Border Editor keeps one while it is active.
struct BorderErrors {
  std::vector<std::uint8_t> flags;  // per point; empty when it could not be allocated
  PointIndex cursor = NoPoint;

  bool IsFlagged(PointIndex p) const { return p < flags.size() && flags[p] != 0; }
};

// Sizes the flags for every possible point (showing "Insufficient memory to track border
// errors." when that fails) and clears them.
void AllocateBorderErrors(Session& session, BorderErrors& errors);
void ResetBorderErrors(BorderErrors& errors, int pointCount);

// Replaces the ring by the convex hull of all points, counter-clockwise from the lowest point:
// every corner of the hull and every point lying on a hull edge, in order along it, so that
// every point lies inside the ring or on it. Turns are decided exactly. Points all in one line
// give the ring along the line. Shows its progress note and, unless quiet (Auto Process, or
// inside a triangulation), "Border complete!".
void CreateConvexBorder(Session& session, BorderErrors& errors, bool quiet);

// All points lie on one straight line (or at one position): no surface can be made of them.
bool PointsAreCollinear(const model::SurfaceModel& m);

// ---- Border Editor operations (the point p is the one the user picked) ----------------------

// Convex: a new convex ring, checked, then optionally verified.
void ConvexBorderCommand(Session& session, BorderErrors& errors);
// New, on closing: the picked points in order become the ring; the caller then verifies.
void CloseNewBorder(Session& session, BorderErrors& errors, const std::vector<PointIndex>& picked);
// New - Series: the ring first -> first + 1 -> ... -> last -> first, then optionally verified.
void NewBorderSeries(Session& session, BorderErrors& errors, PointIndex first, PointIndex last);
// Insert Border Pt.: splices p into the nearest border segment.
void InsertBorderPoint(Session& session, BorderErrors& errors, PointIndex p);
// Delete Border Pt.: takes p out of the ring when at least three points remain.
void DeleteBorderPoint(Session& session, PointIndex p);
// Verify Border: makes the ring counter-clockwise and lists the points outside it (flagging
// them) and, when asked, the points near it.
void VerifyBorder(Session& session, BorderErrors& errors);
// Error - Next / Error - Previous: the next flagged point cyclically from the cursor, which
// then becomes the cursor; NoPoint (after the information message) when none is flagged.
PointIndex NextBorderError(Session& session, BorderErrors& errors);
PointIndex PreviousBorderError(Session& session, BorderErrors& errors);

// The plan area enclosed by the ring (shoelace formula); 0 without a ring.
double BorderArea(const model::SurfaceModel& m);

}  // namespace terravue::tin

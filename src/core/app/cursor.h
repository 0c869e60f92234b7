#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/indices.h"

namespace terravue {
class SettingsRecord;
class UserPort;
namespace model {
class SurfaceModel;
}
namespace tin {
struct LocateState;
}
}  // namespace terravue

// The cross-hair cursor: a map position with an elevation, independent of the mouse pointer,
// where the commands act. Moving it by keyboard steps, jumping to points, and the options and
// query dialogs that show or set it.
namespace terravue::app {

struct CursorState {
  double x = 0;
  double y = 0;
  double z = 0;  // MinZ (within 0.0001) stands for "no elevation"
  // Set by every move; the drawing code redraws the cursor and clears it.
  bool moved = false;
};

// What a command needs to place the cursor: the surface and where the last location ended.
struct CursorContext {
  const model::SurfaceModel& model;
  const SettingsRecord& settings;
  tin::LocateState& locate;
  UserPort& port;
};

// The surface elevation at (x, y), or MinZ outside the triangulated surface.
double SurfaceElevation(const CursorContext& context, double x, double y);
bool HasNoElevation(const model::SurfaceModel& m, double z);

// `MoveCursorTo` without the repaint, which is the front end's.
void MoveCursorTo(CursorState& cursor, double x, double y, double z);
// Moves to (x, y) with the surface elevation there.
void MoveCursorOnSurface(const CursorContext& context, CursorState& cursor, double x, double y);

// ---- Keyboard stepping ----------------------------------------------------------------------

enum class StepKey { Up, Down, Left, Right, PageUp, PageDown, End, Home };

// The direction of a key in radians, mathematical sense: up is 90 degrees, turned with the
// page's rotation in the plan view (+r for the Surveyors' convention, -r for the Engineers').
double StepDirection(StepKey key, double rotationDegrees, bool surveyors, bool view3D);

// The nearest crossing ahead of (x, y) along `direction` with the border ring, or with the
// rectangle of the extents when there is no border; nothing for an invalid border or when the
// ray meets nothing. Crossings within 0.001 of the start do not count, so that a second press
// from the border goes on to the next crossing.
struct MapPoint {
  double x = 0;
  double y = 0;
};
std::optional<MapPoint> RayCrossing(const model::SurfaceModel& m, double x, double y, double direction);

// Where one key press takes the cursor (`StepCursor` up to the visibility check, which is the
// front end's): one step of CursorStep, or with Shift to the ray's crossing; the step divided
// by the zoom level with ScaleStepWithZoom; on an unrotated page each coordinate changes only
// when it stays strictly inside the sheet. The elevation there is looked up. Nothing when the
// cursor would not move.
struct StepOutcome {
  double x = 0, y = 0, z = 0;
};
std::optional<StepOutcome> StepCursor(const CursorContext& context, const CursorState& cursor, StepKey key,
                                      bool shift, int zoomLevel);

// ---- Jump To Point --------------------------------------------------------------------------

// Both coordinates of the cursor within 0.0001 of point p.
bool CursorOnPoint(const model::SurfaceModel& m, const CursorState& cursor, PointIndex p);

enum class JumpChoice { ClosestPoint, PointNumber, PointLabel, NextPoint, PreviousPoint };
struct JumpRequest {
  JumpChoice choice = JumpChoice::ClosestPoint;
  std::string number;  // as typed
  std::string label;   // as typed
};

// The last point whose label equals `text` right-justified to four characters as labels are
// stored; NoPoint when none does.
PointIndex FindPointLabel(const model::SurfaceModel& m, std::string_view text);

// The point a dialog choice leads to from p; p itself after a message when the entry cannot be
// used.
PointIndex JumpTarget(const model::SurfaceModel& m, UserPort& port, PointIndex p, const JumpRequest& request);

// The Jump To Point command: to the nearest point, or, when the cursor is already on it, to
// the point chosen in the dialog (nothing on Cancel). True when the cursor was placed.
using JumpDialog = std::function<std::optional<JumpRequest>(PointIndex current)>;
bool JumpToPoint(const CursorContext& context, CursorState& cursor, const JumpDialog& dialog);

// ---- Breaklines and border errors ----------------------------------------------------------

// The Breakline Editor's Jump: to the midpoint of the breakline nearest the cursor, or, when the
// cursor already stands there, of the breakline whose number the dialog returns ("Jump To
// Breakline", "Breakline number >"; nothing on Cancel). "No breaklines exist." without any.
// True when the cursor was placed.
using BreaklineNumberDialog = std::function<std::optional<std::string>(BreaklineIndex current)>;
bool JumpToBreakline(const CursorContext& context, CursorState& cursor, const BreaklineNumberDialog& dialog);

// The cursor on a breakline's midpoint (Error - Next/Previous) or on a point, with the surface
// elevation there.
void MoveCursorToBreakline(const CursorContext& context, CursorState& cursor, BreaklineIndex i);
void MoveCursorToPoint(const model::SurfaceModel& m, CursorState& cursor, PointIndex p);

// ---- Query Point ----------------------------------------------------------------------------

struct QueryPointText {
  std::string number, label;
  std::string firstCaption, first;  // "Northing :" (Y) or "X :"
  std::string secondCaption, second;
  std::string elevation;
  bool previousEnabled = false;
  bool nextEnabled = false;
};
QueryPointText DescribeQueryPoint(const model::SurfaceModel& m, const SettingsRecord& settings, PointIndex q);

// ---- Cursor Options -------------------------------------------------------------------------

struct CursorOptionsLabels {
  std::string first, second;  // "X Position >", "Y Position >" or Northing first
};
CursorOptionsLabels CursorPositionCaptions(const SettingsRecord& settings);

// The step field's picture is ######.###.
inline constexpr double MaxCursorStep = 999999.999;

struct CursorOptionsFields {
  std::string step, first, second;
  bool scaleStep = false;
};
CursorOptionsFields CursorOptionsFieldTexts(const SettingsRecord& settings, const CursorState& cursor);
// The position fields filled from the 3-D target point.
CursorOptionsFields WithTargetPosition(const SettingsRecord& settings, CursorOptionsFields fields);

// OK of Cursor Options: the step (an unreadable or non-positive one is refused with its
// message), the scale-step choice, and the position, each coordinate held to the sheet's
// limits (out-of-range entries are reported and keep the cursor's coordinate). True when the
// cursor moved.
bool StoreCursorOptions(const CursorContext& context, SettingsRecord& settings, CursorState& cursor,
                        const CursorOptionsFields& fields);

// ---- Zoom Options ---------------------------------------------------------------------------

inline constexpr int MaxZoomFactor = 255;

struct ZoomOptionsFields {
  bool screenScrolling = true;
  bool constant = false;
  std::string value;      // ZoomFactor
  std::string quickZoom;  // QuickZoomLevel
};
ZoomOptionsFields ZoomOptionsFieldTexts(const SettingsRecord& settings);
// "Zoom Factor >" or "Zoom Constant >".
std::string_view ZoomValueCaption(bool constant);
// OK of Zoom Options: out-of-range or unreadable values are reported and keep their setting.
// The quick zoom level is at most `highestZoom`. True when everything was stored.
bool StoreZoomOptions(UserPort& port, SettingsRecord& settings, const ZoomOptionsFields& fields, int highestZoom);

}  // namespace terravue::app

#pragma once

#include <cstdint>

#include "common/settings_record.h"

namespace terravue {
class UserPort;
}
namespace terravue::model {
class SurfaceModel;
}

// The level-line tracer: the lines along which one coordinate of the triangulated surface takes
// given values. Traced on Z they are the contours; on X and on Y, the surface grid draped over
// the triangles in the 3-D view.
namespace terravue::mapping {

class LineOutput;

enum class TracedCoordinate : std::uint8_t { X = 0, Y = 1, Z = 2 };

// Which lines get labels or dashes: 0 None, 1 All, 2 Multiple, 3 Non-multiple.
enum class LineSelection : std::uint8_t { None = 0, All = 1, Multiple = 2, NonMultiple = 3 };

// Colour, CAD layer and width index of one kind of line.
struct LevelStyle {
  std::uint32_t colour = 0;
  CadLayer layer;
  int width = 0;
};

// Line segments a run may make without asking: one segment per level and triangle it crosses.
// Sized for a desktop of today, on which about this many take half a minute to trace, draw
// and write (a DXF file of several hundred megabytes); more come only from an interval far
// finer than the surface's relief calls for.
inline constexpr std::uint64_t MaxSegmentsUnasked = 20'000'000;

struct LevelLineRun {
  TracedCoordinate coordinate = TracedCoordinate::Z;
  double interval = 1;  // > 0
  double base = 0;      // levels are base + k x interval
  bool rangeSpecified = false;
  double minimum = 0, maximum = 0;  // clip the data range when specified
  int multiple = 0;                 // every multiple-th level is an index line; 0 none
  LineSelection labels = LineSelection::None;
  LineSelection dashes = LineSelection::None;
  LevelStyle primary;  // ordinary levels
  LevelStyle index;    // index levels
  std::uint64_t segmentLimit = MaxSegmentsUnasked;  // more segments than this are asked about
};

// The levels from `minimum` to `maximum`: base + k x interval for k = first..last, each level
// computed from its k so that none drifts. Empty (first > last) when none falls in the range or
// the numbers cannot place distinct levels. At most `cap` levels; `capped` says more were due.
struct LevelRange {
  std::int64_t first = 0;
  std::int64_t last = -1;
  bool capped = false;
  std::int64_t Count() const { return last >= first ? last - first + 1 : 0; }
};
LevelRange PlanLevels(double minimum, double maximum, double interval, double base, std::int64_t cap);
inline double LevelValue(double base, double interval, std::int64_t k) {
  return base + static_cast<double>(k) * interval;
}
// Level k is an index level when k is a multiple of `multiple` (never when it is 0).
bool IsIndexLevel(std::int64_t k, int multiple);

// Longest line the tracer hands on at once; a longer one goes out in pieces.
inline constexpr int MaxLinePoints = 32766;

struct TraceOutcome {
  bool traced = false;   // the run took place (points, triangles and memory were there)
  bool capped = false;   // only the first MaxLinesPerRedraw levels were traced
  bool refused = false;  // the run would make more than its segmentLimit segments and the
                         // user said not to draw them: nothing was traced
  std::uint64_t segments = 0;  // the segments the levels make, counted before tracing
  long lines = 0;              // lines handed to the output
};

// Traces every level of the run through the triangles of the contour work list, index levels
// first in their own style, then the others, handing each line to `output` as soon as it is
// complete. The output's smoothing, dashes and label options are set by the caller. Sorts the
// corners of every listed triangle ascending in the traced coordinate, in place. Before any
// line is traced the segments are counted; above the run's segmentLimit the user is asked,
// naming the interval and the count, and a No traces nothing.
TraceOutcome TraceLevelLines(model::SurfaceModel& model, LineOutput& output, UserPort& port,
                             const LevelLineRun& run);

}  // namespace terravue::mapping

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/facets.h"
#include "analysis/surface_info.h"
#include "model/indices.h"

namespace terravue::model {
class SurfaceModel;
}

// Paths across the triangulated surface: the fall line a drop of water takes (downhill), its
// reverse (uphill), and the level line in either sense; and the analysis diagrams built from
// them: channel and ridge edges, flow paths from many starts, down slope arrows and the density
// of each triangle. Everything here computes; what is drawn, and how, is the caller's (the map
// draws the diagrams, the Surface Analyzer's commands record their traces).
namespace terravue::analysis {

struct TracePoint {
  double x = 0, y = 0, z = 0;
};

// Where a trace's pieces go, in drawing order.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  // A new chain of segments starts at p.
  virtual void Start(const TracePoint& p) = 0;
  // One segment, drawn as an arrow from a to b (closed heads for uphill traces). Returning false
  // stops all tracing: nothing more could be kept.
  virtual bool Segment(const TracePoint& a, const TracePoint& b, bool closedHead) = 0;
};

// TracePath. A trace follows the triangles' directions from its start:
//   inside a triangle it runs straight to the edge its direction leads to, and on into the
//   neighbour across it;
//   started on an edge, a downhill or uphill trace splits into both triangles beside the edge;
//   at a vertex it branches into every triangle round the vertex whose direction leads away
//   from it (none at a pit);
//   where the triangle beyond an edge sends a downhill trace back, both triangles drain into
//   the edge: the water runs along that channel to its lower end and goes on from there (an
//   uphill trace climbs a ridge to its higher end likewise);
// and ends at a pit (a summit uphill), in a level triangle, on the boundary of the surface, or
// when a contour closes on itself.
//
// Branches run depth-first in turning order on an explicit stack. A vertex is branched from at
// most once per mode for the life of the tracer: where fall lines run along triangle edges
// (a grid cut by parallel diagonals) the paths would otherwise meet again at every vertex and
// double in number each time, drawing the same lines over and over. A tracer lives for one
// command or one diagram.
class SurfaceTracer {
 public:
  // Segments one tracer draws at most; beyond it the picture would take minutes to draw and be
  // unreadable.
  static constexpr std::size_t DefaultSegmentBudget = 1'000'000;

  // Throws std::bad_alloc when the per-point marks cannot be had.
  SurfaceTracer(const model::SurfaceModel& m, TraceSink& sink, std::size_t segmentBudget = DefaultSegmentBudget);

  // One trace (with its branches) from (x, y) in triangle t, which should contain it.
  void Trace(TriangleIndex t, TraceMode mode, double x, double y);
  // The vertices passed so far may be passed again (the next trace is independent).
  void ForgetVertices();

  // The segment budget ran out; the sink refused a segment; the triangles round a vertex did
  // not close up (that branch ended).
  bool Capped() const { return capped_; }
  bool Stopped() const { return stopped_ || capped_; }
  bool PivotError() const { return pivotError_; }
  std::size_t Segments() const { return segments_; }

  // The elevation of the triangle's plane at (x, y).
  static double PlaneZ(const model::SurfaceModel& m, TriangleIndex t, double x, double y);

 private:
  struct Task {
    TriangleIndex triangle = NoTriangle;  // none: only the lead-in is drawn
    TracePoint at;
    bool startsChain = false;  // `at` starts a new chain
    bool hasLead = false;      // a chain from `lead` to `at` is drawn first
    TracePoint lead;
  };

  void Run(const Task& task, TraceMode mode, bool firstStep);
  void Pivot(TriangleIndex t, PointIndex v, TraceMode mode);
  bool Emit(const TracePoint& a, const TracePoint& b, TraceMode mode);
  bool Visited(PointIndex v, TraceMode mode) const;
  void MarkVisited(PointIndex v, TraceMode mode);

  const model::SurfaceModel& m_;
  TraceSink& sink_;
  std::size_t budget_;
  std::size_t segments_ = 0;
  bool capped_ = false, stopped_ = false, pivotError_ = false;
  std::vector<std::uint8_t> visited_;  // per point, one bit per mode
  std::vector<Task> stack_;
};

// The warning shown when tracing stopped at the segment budget after `segments` segments.
std::string TraceCappedMessage(std::size_t segments);

// ---- The diagrams -----------------------------------------------------------------------------

// The density diagram's shade of one triangle, 0..1: on slope, the middle of its slope zone
// (0 below the zones, 1 at or above their top); on elevation, its mean elevation within the
// model's range (0 when the model is level).
struct DensityOptions {
  bool bySlope = false;
  SlopeZones zones;
  bool reversed = false;
};
double TriangleDensity(const Facet& f, const DensityOptions& options, double minZ, double maxZ);

// The down slope diagram: an arrow along the fall line of each triangle, centred on its
// centroid and/or on the grid points inside it, as long as `magnitude` (or, proportional, from
// a quarter of it on level ground to all of it on the steepest triangle).
struct ArrowOptions {
  double magnitude = 1;
  bool proportional = false;
  bool atCentres = true;
  bool atGridPoints = false;
  double spacing = 100;
};
// Grid points one diagram examines at most.
inline constexpr std::size_t GridPointBudget = 4'000'000;
using ArrowFn = std::function<void(const TracePoint& from, const TracePoint& to)>;
// False when the grid point budget ran out.
bool DownSlopeArrows(const model::SurfaceModel& m, const ArrowOptions& options, const ArrowFn& arrow);

// The flow path and ridge diagrams draw in the colours of their parts.
enum class DiagramStyle { Flow, Watershed, Ridge };
class DiagramSink : public TraceSink {
 public:
  virtual void SetStyle(DiagramStyle style) = 0;
};

struct FlowOptions {
  bool fromDataPoints = false;
  bool fromTriangleCentres = false;
  bool fromGridPoints = false;
  double spacing = 100;
  bool continueFromEnds = false;
  bool watersheds = false;
};
struct DiagramOutcome {
  bool capped = false;
  bool pivotError = false;
};
// Downhill traces from the chosen starts, and the channel edges (both triangles beside them
// drain towards them) as arrows downhill, with uphill (watershed) and downhill traces from
// their lower ends as asked.
DiagramOutcome FlowPathDiagram(const model::SurfaceModel& m, const FlowOptions& options, DiagramSink& sink);
// The ridge edges (both triangles beside them rise towards them) as closed arrows uphill, with
// uphill traces from their higher ends when asked.
DiagramOutcome RidgeDiagram(const model::SurfaceModel& m, bool continueFromRidgeEnds, DiagramSink& sink);

// ---- Elevation Jump ---------------------------------------------------------------------------

enum class JumpStatus { Moved, Stays, NoTriangle, NotInTriangle };
struct JumpResult {
  JumpStatus status = JumpStatus::Stays;
  double x = 0, y = 0, z = 0;
};
// Where the cursor at (x, y) in triangle t goes for the elevation e: to a corner at that
// elevation, or along the triangle's fall line to the level line of e (held to its ends).
JumpResult ElevationJump(const model::SurfaceModel& m, TriangleIndex t, double x, double y, double e);

}  // namespace terravue::analysis

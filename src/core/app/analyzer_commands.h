#pragma once

#include "analysis/vector_accumulator.h"

namespace terravue {
struct Session;
namespace tin {
struct LocateState;
}
}  // namespace terravue

// The Surface Analyzer's commands at the cursor: Water Drop, Watershed and Contour Line trace
// from the cursor into the vector accumulator (the map shows what they recorded once it is
// regenerated); Elevation Jump moves the cursor; Vector Accumulator reports and empties it.
namespace terravue::app {

struct CursorState;
struct CursorContext;

// What the Surface Analyzer keeps while the program runs.
struct AnalyzerState {
  analysis::VectorAccumulator vectors;
  // The text output dialog's "Include Slope Zones".
  bool includeSlopeZones = true;
};

// Each needs a triangulated model and a cursor on it; otherwise nothing happens (false). True
// when the trace ran and the map should be regenerated to show it. A full accumulator is
// reported.
bool WaterDropCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer, const CursorState& cursor);
bool WatershedCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer, const CursorState& cursor);
bool ContourLineCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer,
                        const CursorState& cursor);

// Asks for an elevation within the model's range and moves the cursor along its triangle's
// fall line to it. True when the cursor moved.
bool ElevationJumpCommand(const CursorContext& context, CursorState& cursor);

// Shows the vertex and vector counts and asks whether to empty the accumulator. True when it
// was emptied (the overlay and the map are then drawn afresh).
bool VectorAccumulatorCommand(Session& session, AnalyzerState& analyzer);

}  // namespace terravue::app

#include "app/analyzer_commands.h"

#include <cmath>
#include <new>
#include <string>

#include "analysis/flow.h"
#include "app/cursor.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::app {
namespace {

using analysis::TraceMode;
using analysis::TracePoint;

// A trace's segments go into the accumulator; once it is full, nothing more is kept.
class AccumulatorSink : public analysis::TraceSink {
 public:
  explicit AccumulatorSink(analysis::VectorAccumulator& vectors) : vectors_(vectors) {}
  void Start(const TracePoint& p) override { vectors_.Record(false, false, p.x, p.y, p.z); }
  bool Segment(const TracePoint&, const TracePoint& b, bool closedHead) override {
    return vectors_.Record(true, closedHead, b.x, b.y, b.z);
  }

 private:
  analysis::VectorAccumulator& vectors_;
};

// The triangle under the cursor, searched from the last one found; none off the surface.
TriangleIndex CursorTriangle(const Session& session, tin::LocateState& locate, const CursorState& cursor) {
  if (session.model.TriangleCount == 0) return NoTriangle;
  const tin::Location where = tin::LocateTriangle(session.model, locate, cursor.x, cursor.y);
  return where.found ? where.triangle : NoTriangle;
}

void ReportTracer(Session& session, const analysis::SurfaceTracer& tracer, const analysis::VectorAccumulator& vectors) {
  if (tracer.PivotError()) session.port.ShowError(msg::ErrorInPivoting);
  if (vectors.Full()) {
    session.port.ShowWarning(msg::MaximumVectorsReached);
  } else if (tracer.Capped()) {
    session.port.ShowWarning(analysis::TraceCappedMessage(tracer.Segments()));
  }
}

// Water Drop and Watershed: the cursor on the surface starts a chain, then one trace.
bool FlowCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer, const CursorState& cursor,
                 TraceMode mode) {
  const TriangleIndex t = CursorTriangle(session, locate, cursor);
  if (t == NoTriangle) return false;
  try {
    AccumulatorSink sink(analyzer.vectors);
    analysis::SurfaceTracer tracer(session.model, sink);
    sink.Start({cursor.x, cursor.y, analysis::SurfaceTracer::PlaneZ(session.model, t, cursor.x, cursor.y)});
    tracer.Trace(t, mode, cursor.x, cursor.y);
    ReportTracer(session, tracer, analyzer.vectors);
  } catch (const std::bad_alloc&) {
    session.port.ShowError(msg::InsufficientMemoryForOption);
  }
  return true;
}

}  // namespace

bool WaterDropCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer, const CursorState& cursor) {
  return FlowCommand(session, locate, analyzer, cursor, TraceMode::Downhill);
}

bool WatershedCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer, const CursorState& cursor) {
  return FlowCommand(session, locate, analyzer, cursor, TraceMode::Uphill);
}

bool ContourLineCommand(Session& session, tin::LocateState& locate, AnalyzerState& analyzer,
                        const CursorState& cursor) {
  const TriangleIndex t = CursorTriangle(session, locate, cursor);
  if (t == NoTriangle) return false;
  try {
    AccumulatorSink sink(analyzer.vectors);
    analysis::SurfaceTracer tracer(session.model, sink);
    // Both ways from the cursor, each marking the vertices it passes on its own.
    for (const TraceMode mode : {TraceMode::ContourLeft, TraceMode::ContourRight}) {
      tracer.ForgetVertices();
      sink.Start({cursor.x, cursor.y, cursor.z});
      tracer.Trace(t, mode, cursor.x, cursor.y);
    }
    ReportTracer(session, tracer, analyzer.vectors);
  } catch (const std::bad_alloc&) {
    session.port.ShowError(msg::InsufficientMemoryForOption);
  }
  return true;
}

bool ElevationJumpCommand(const CursorContext& context, CursorState& cursor) {
  const model::SurfaceModel& m = context.model;
  if (m.TriangleCount == 0) return false;
  const double e = context.port.InputReal(msg::JumpToElevationTitle, msg::EnterElevationPrompt, 3, cursor.z, m.MaxZ,
                                          m.MinZ);
  if (!(std::fabs(e - cursor.z) >= 0.0001)) return false;
  const tin::Location where = tin::LocateTriangle(m, context.locate, cursor.x, cursor.y);
  if (!where.found) {
    context.port.ShowError(msg::UnableToLocateTriangle);
    return false;
  }
  const analysis::JumpResult jump = analysis::ElevationJump(m, where.triangle, cursor.x, cursor.y, e);
  switch (jump.status) {
    case analysis::JumpStatus::Moved: MoveCursorTo(cursor, jump.x, jump.y, jump.z); return true;
    case analysis::JumpStatus::NoTriangle: context.port.ShowError(msg::UnableToLocateTriangle); return false;
    case analysis::JumpStatus::NotInTriangle: context.port.ShowError(msg::ElevationNotInTriangle); return false;
    case analysis::JumpStatus::Stays: return false;
  }
  return false;
}

bool VectorAccumulatorCommand(Session& session, AnalyzerState& analyzer) {
  const analysis::VectorAccumulator& v = analyzer.vectors;
  if (v.VertexCount() == 0) {
    session.port.ShowInfo(msg::NoVectors);
    return false;
  }
  const std::string question = std::string(msg::TotalVertexes) +
                               FormatInteger(static_cast<std::int64_t>(v.VertexCount()), 0) + "\r\n" +
                               std::string(msg::TotalVectorsQuestion) +
                               FormatInteger(static_cast<std::int64_t>(v.VectorCount()), 0) + "\r\n" +
                               std::string(msg::ResetVectorAccumulator);
  if (!session.port.AskYesNo(question)) return false;
  analyzer.vectors.Clear();
  return true;
}

}  // namespace terravue::app

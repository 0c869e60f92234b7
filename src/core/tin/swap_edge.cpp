#include "tin/swap_edge.h"

#include <limits>
#include <new>
#include <optional>

#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/breaklines.h"
#include "tin/constrained_edges.h"
#include "tin/geometry.h"

namespace terravue::tin {
namespace {

// Takes breakline i out of the list with its error flag, without a trace for Undelete.
void DropBreakline(model::SurfaceModel& m, tin::BreaklineEditorState& editor, BreaklineIndex i) {
  for (std::size_t k = i; k < m.BreaklineCount; ++k) {
    m.Breaklines[k] = m.Breaklines[k + 1];
    if (k + 1 < editor.errorFlags.size()) editor.errorFlags[k] = editor.errorFlags[k + 1];
  }
  --m.BreaklineCount;
  if (editor.errorCursor > 1 && editor.errorCursor >= i) --editor.errorCursor;
}

BreaklineIndex BreaklineJoining(const model::SurfaceModel& m, PointIndex a, PointIndex b) {
  for (BreaklineIndex i = 1; i <= m.BreaklineCount; ++i) {
    const model::Breakline& line = m.Breaklines[i];
    if ((line.From == a && line.To == b) || (line.From == b && line.To == a)) return i;
  }
  return NoBreakline;
}

}  // namespace

bool SwapEdgeAt(Session& session, tin::LocateState& locate, tin::BreaklineEditorState& editor, double x, double y) {
  model::SurfaceModel& m = session.model;
  UserPort& port = session.port;
  auto refuse = [&port](std::string_view message) {
    port.ShowError(message);
    return false;
  };
  if (m.TriangleCount == 0) return refuse(msg::NoTrianglesToSwap);
  if (m.BreaklineCount >= m.MaxBreaklines) return refuse(msg::NoRoomForSwapBreakline);

  const tin::Location where = tin::LocateTriangle(m, locate, x, y);
  if (!where.found) return refuse(msg::SwapTriangleNotFound);
  const TriangleIndex t = where.triangle;
  const auto& corners = m.TriVertex[t];

  // The edge nearest to the click (the first of equally near ones), and the corner facing it.
  int nearest = 0;
  double best = std::numeric_limits<double>::infinity();
  for (int k = 0; k < 3; ++k) {
    const double d = static_cast<double>(tin::SegmentDistance2(tin::PointXY(m, corners[k]),
                                                               tin::PointXY(m, corners[(k + 1) % 3]), {x, y}));
    if (d < best) {
      best = d;
      nearest = k;
    }
  }
  const PointIndex a = corners[nearest];
  const PointIndex b = corners[(nearest + 1) % 3];
  const PointIndex o = corners[(nearest + 2) % 3];

  const tin::EdgeNeighbour across = tin::AcrossEdge(m, t, a, b);
  if (!across.found) return refuse(msg::NoAdjacentTriangle);
  const PointIndex w = across.third;
  if (tin::FindBreakline(m, o, w, 1, m.BreaklineCount)) return refuse(msg::BreaklineAlreadyThere);
  if (!tin::SegmentsCrossStrict(m, a, b, o, w).crosses) return refuse(msg::UnableToSwap);

  // The old diagonal stops being a breakline; it could not stay an edge anyway. It stays gone
  // when the swap fails, so the model counts as changed from here on.
  if (const BreaklineIndex old = BreaklineJoining(m, a, b); old != NoBreakline) {
    DropBreakline(m, editor, old);
    editor.notExecuted = true;
    model::MarkModified(session);
  }

  std::optional<tin::FixedEdges> fixed;
  try {
    fixed.emplace(m.TriangleCount);
  } catch (const std::bad_alloc&) {
    return refuse(msg::NoRoomForSwapBreakline);
  }
  tin::BreaklineEditorState* flags = editor.errorFlags.empty() ? nullptr : &editor;
  if (!tin::AppendBreakline(m, flags, o, w)) return refuse(msg::NoRoomForSwapBreakline);
  const tin::ForceResult forced = tin::ForceSegment(m, locate, *fixed, o, w, /*reDelaunay=*/false);
  if (forced.failed || forced.passedPoint) {
    --m.BreaklineCount;
    return refuse(msg::UnableToSwap);
  }
  editor.notExecuted = true;
  model::MarkModified(session);
  return true;
}

}  // namespace terravue::tin

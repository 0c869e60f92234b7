#include "tin/point_removal.h"

#include <string>
#include <vector>

#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::tin {

using model::SurfaceModel;

std::optional<int> RemovePoints(Session& session, LocateState& state, bool interior, bool exterior) {
  SurfaceModel& m = session.model;
  if (CheckBorder(m, 1, m.PointCount) != BorderCheck::Valid) return std::nullopt;
  const bool triangulated = m.TriangleCount > 0;
  const PointIndex s = m.FirstBorderPoint(1, m.PointCount);
  if (InsideBorder(m, s, m.MaxX + 100, m.MaxY + 100)) m.ReverseBorder();

  std::vector<std::uint8_t> marks(static_cast<std::size_t>(m.PointCount) + 1, 0);
  for (PointIndex i = 1; i <= m.PointCount; ++i) {
    if (m.BorderNext[i] != NoPoint || (!interior && !exterior)) continue;
    marks[i] = interior && exterior ? 1 : InsideBorder(m, s, m.PointX[i], m.PointY[i]) == interior;
  }
  // Compacting in one pass keeps the work linear; the references are renumbered through a map
  // from old to new numbers.
  std::vector<PointIndex> renumber(static_cast<std::size_t>(m.PointCount) + 1, NoPoint);
  PointIndex kept = 0;
  for (PointIndex i = 1; i <= m.PointCount; ++i) {
    if (marks[i]) continue;
    renumber[i] = ++kept;
    m.PointX[kept] = m.PointX[i];
    m.PointY[kept] = m.PointY[i];
    m.PointZ[kept] = m.PointZ[i];
    m.PointLabel[kept] = m.PointLabel[i];
    m.BorderNext[kept] = m.BorderNext[i];
  }
  const int removed = m.PointCount - kept;
  for (PointIndex i = 1; i <= kept; ++i) m.BorderNext[i] = renumber[m.BorderNext[i]];
  for (PointIndex i = kept + 1; i <= m.PointCount; ++i) {
    m.PointX[i] = m.PointY[i] = m.PointZ[i] = 0;
    m.PointLabel[i] = {' ', ' ', ' ', ' '};
    m.BorderNext[i] = NoPoint;
  }
  m.PointCount = kept;
  BreaklineIndex lines = 0;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k) {
    const model::Breakline line = m.Breaklines[k];
    if (renumber[line.From] == NoPoint || renumber[line.To] == NoPoint) continue;
    m.Breaklines[++lines] = {renumber[line.From], renumber[line.To]};
  }
  m.BreaklineCount = lines;
  m.TriangleCount = 0;
  m.ComputeExtents();
  model::MarkModified(session);
  if (triangulated) {
    TriangulateOptions quiet;
    quiet.quiet = true;
    Triangulate(session, state, quiet);
  }
  return removed;
}

void RemovePointsCommand(Session& session, LocateState& state, bool interior, bool exterior) {
  const std::optional<int> removed = RemovePoints(session, state, interior, exterior);
  if (!removed) return;
  session.port.ShowWarning(*removed > 0 ? FormatInteger(*removed, 0) + std::string(msg::PointsWereRemoved)
                                        : std::string(msg::NoPointsRemoved));
}

}  // namespace terravue::tin

#include "tin/point_edit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/constrained_edges.h"
#include "tin/delaunay_repair.h"
#include "tin/geometry.h"
#include "tin/surface_edit.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {


PointValues Rounded(const PointValues& point) {
  return {point.label, RoundToThousandths(point.x), RoundToThousandths(point.y), RoundToThousandths(point.z)};
}

// Another point than `except` at the place (x, y).
bool OccupiedByOther(const SurfaceModel& m, double x, double y, PointIndex except) {
  for (PointIndex i = 1; i <= m.PointCount; ++i)
    if (i != except && SamePlace(x, y, m.PointX[i], m.PointY[i])) return true;
  return false;
}

enum class PlaceCheck { Inside, OnBorderLine, Refused, AcceptedOutsideBorder, AcceptedOutsideExtremes };

// Where (x, y) lies against the border (or, without one, the extents), with the question when
// it lies outside. A Yes gives the triangulation up.
PlaceCheck CheckPlace(Session& session, double x, double y, bool allowOnBorder) {
  SurfaceModel& m = session.model;
  const PointIndex s = m.FirstBorderPoint(1, m.PointCount);
  if (s != NoPoint) {
    // The side test is exact for a counter-clockwise ring and the complement for a clockwise one.
    const bool clockwise = InsideBorder(m, s, m.MaxX + 100, m.MaxY + 100);
    if (InsideBorder(m, s, x, y) != clockwise) return PlaceCheck::Inside;
    if (allowOnBorder && OnBorderLine(m, x, y)) return PlaceCheck::OnBorderLine;
    if (InsideExtents(m, x, y)) {
      if (!session.port.AskYesNo(msg::PointOutsideBorder)) return PlaceCheck::Refused;
      m.TriangleCount = 0;
      return PlaceCheck::AcceptedOutsideBorder;
    }
  } else if (InsideExtents(m, x, y) || m.PointCount == 0) {
    return PlaceCheck::Inside;
  }
  if (!session.port.AskYesNo(msg::PointOutsideExtremes)) return PlaceCheck::Refused;
  m.TriangleCount = 0;
  return PlaceCheck::AcceptedOutsideExtremes;
}

void StorePoint(SurfaceModel& m, PointIndex p, const PointValues& point) {
  m.PointX[p] = point.x;
  m.PointY[p] = point.y;
  m.PointZ[p] = point.z;
  m.SetPointLabel(p, point.label);
}

void WarnOnBorder(Session& session, double x, double y) {
  const std::string fx = FormatReal(x, 12, 3), fy = FormatReal(y, 12, 3);
  std::string text = settings::EastingFirst(session.settings) ? std::string(msg::PointOnBorderX) + fx + " Y=" + fy
                                           : std::string(msg::PointOnBorderY) + fy + " X=" + fx;
  session.port.ShowWarning(text + std::string(msg::PointOnBorderTail));
}

// Makes every breakline ending at p an edge again after p was put back into the triangles;
// returns the numbers of those that could not be.
std::vector<BreaklineIndex> ReforceBreaklinesAt(SurfaceModel& m, LocateState& state, PointIndex p) {
  std::vector<BreaklineIndex> pending, failed;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k) {
    const model::Breakline line = m.Breaklines[k];
    if (line.From != p && line.To != p) continue;
    bool isEdge = false;
    for (TriangleIndex t = 1; t <= m.TriangleCount && !isEdge; ++t) isEdge = EdgeSlot(m, t, line.From, line.To).found;
    if (!isEdge) pending.push_back(k);
  }
  if (pending.empty()) return failed;
  // The border segments and the other breaklines are held where they are while the chain of
  // triangles across each segment is swapped.
  FixedSegments segments = FixedSegments::OfModel(m);
  FixedEdges fixed(m.TriangleCount);
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[t];
    for (int i = 0; i < 3; ++i)
      if (segments.Contains(c[i], c[(i + 1) % 3])) fixed.Set(t, i, true);
  }
  state.LastTriangle = 1;
  for (BreaklineIndex k : pending)
    if (ForceSegment(m, state, fixed, m.Breaklines[k].From, m.Breaklines[k].To, false).failed) failed.push_back(k);
  segments.AddFlagged(m, fixed);
  RestoreDelaunay(m, segments, fixed.Touched());
  return failed;
}

void ReportUnforced(Session& session, const std::vector<BreaklineIndex>& failed) {
  if (failed.empty()) return;
  std::string text(msg::BreaklinesNotReforced);
  for (std::size_t i = 0; i < failed.size(); ++i) text += (i ? ", " : "") + std::to_string(failed[i]);
  session.port.ShowWarning(text);
}

}  // namespace

PointEditResult AddPointRules(Session& session, LocateState& state, const PointValues& given) {
  PointEditResult result;
  SurfaceModel& m = session.model;
  if (m.PointCount >= m.MaxPoints) {
    session.port.ShowWarning(msg::FileAtPointCapacity);
    return result;
  }
  if (m.TriangleCount > 0 && m.TriangleCount + 2 > m.MaxTriangles) {
    session.port.ShowWarning(msg::FileAtTriangleCapacity);
    return result;
  }
  const PointValues point = Rounded(given);
  if (OccupiedByOther(m, point.x, point.y, NoPoint)) {
    session.port.ShowError(msg::DuplicatePointNotAdded);
    return result;
  }
  const PlaceCheck place = CheckPlace(session, point.x, point.y, true);
  if (place == PlaceCheck::Refused) return result;

  const PointIndex n = ++m.PointCount;
  StorePoint(m, n, point);
  m.BorderNext[n] = NoPoint;
  m.PointCutFill[n] = 0;
  result.changed = true;
  if (m.TriangleCount > 0) {
    const SurfaceInsertion inserted = InsertPointIntoSurface(m, state, n);
    if (inserted.onBorder) WarnOnBorder(session, point.x, point.y);
  } else if (place == PlaceCheck::OnBorderLine) {
    if (InsertOnBorder(m, n, point.x, point.y)) WarnOnBorder(session, point.x, point.y);
  }
  result.resetScale = place == PlaceCheck::AcceptedOutsideExtremes;
  if (result.resetScale) model::ComputeExtents(m, session.settings);
  else m.ComputeExtents();
  model::MarkModified(session);
  return result;
}

PointEditResult DeletePointRules(Session& session, LocateState& state, PointIndex p) {
  PointEditResult result;
  SurfaceModel& m = session.model;
  if (p == NoPoint || p > m.PointCount) return result;
  if (m.PointCount <= 3) {
    session.port.ShowError(msg::InsufficientPointsForOption);
    return result;
  }
  if (m.BorderNext[p] != NoPoint) {
    if (m.TriangleCount > 0 && !session.port.AskYesNo(msg::BorderPointNullifyTriangulation)) return result;
    m.TriangleCount = 0;
    session.port.ShowWarning(msg::BorderChangedVerify);
  }
  if (m.TriangleCount > 0) {
    if (DeletePointFromSurface(m, state, p, true) == SurfaceDeletion::Failed) {
      session.port.ShowError(msg::CannotDeletePoint);
      return result;
    }
  } else {
    RemovePointFromModel(m, p);
  }
  result.changed = true;
  m.ComputeExtents();
  model::MarkModified(session);
  return result;
}

PointEditResult EditPointRules(Session& session, LocateState& state, PointIndex p, const PointValues& given) {
  PointEditResult result;
  SurfaceModel& m = session.model;
  if (p == NoPoint || p > m.PointCount) return result;
  const PointValues point = Rounded(given);
  const bool moved = point.x != m.PointX[p] || point.y != m.PointY[p];
  if (moved && OccupiedByOther(m, point.x, point.y, p)) {
    session.port.ShowError(msg::DuplicatePointNotMoved);
    return result;
  }
  if (moved && m.TriangleCount > 0 && m.BorderNext[p] != NoPoint) {
    session.port.ShowError(msg::CannotEditBorderPosition);
    return result;
  }
  PlaceCheck place = PlaceCheck::Inside;
  if (moved) {
    // A Yes here gives the triangulation up, so the border point check above no longer applies.
    place = CheckPlace(session, point.x, point.y, false);
    if (place == PlaceCheck::Refused) return result;
  }

  if (m.TriangleCount == 0 || !moved) {
    StorePoint(m, p, point);
  } else if (!CanInsertAt(m, state, point.x, point.y)) {
    // Inside the border but outside the triangles (a surface that does not cover its border):
    // the point moves and the triangulation is given up rather than left with a hole.
    m.TriangleCount = 0;
    StorePoint(m, p, point);
  } else {
    const SurfaceDeletion out = DeletePointFromSurface(m, state, p, false);
    if (out == SurfaceDeletion::Failed || out == SurfaceDeletion::BorderPoint) {
      session.port.ShowError(msg::CannotDeletePoint);
      return result;
    }
    StorePoint(m, p, point);
    const SurfaceInsertion in = InsertPointIntoSurface(m, state, p);
    if (!in.inSurface) {
      m.TriangleCount = 0;
    } else {
      if (in.onBorder) WarnOnBorder(session, point.x, point.y);
      ReportUnforced(session, ReforceBreaklinesAt(m, state, p));
    }
  }
  result.changed = true;
  result.resetScale = place == PlaceCheck::AcceptedOutsideExtremes;
  if (result.resetScale) model::ComputeExtents(m, session.settings);
  else m.ComputeExtents();
  model::MarkModified(session);
  return result;
}

bool UndeleteStack::Push(const PointValues& point) {
  if (entries_.size() >= Capacity) return false;
  entries_.push_back(point);
  return true;
}

PointValues UndeleteStack::Pop() {
  PointValues top = entries_.back();
  entries_.pop_back();
  return top;
}

std::optional<PointValues> ParsePointFields(Session& session, const PointFieldTexts& texts) {
  const std::optional<double> x = ParseReal(texts.x), y = ParseReal(texts.y), z = ParseReal(texts.z);
  const bool eastingFirst = settings::EastingFirst(session.settings);
  const bool xBad = !x || !std::isfinite(*x), yBad = !y || !std::isfinite(*y);
  if (eastingFirst ? xBad : yBad) {
    session.port.ShowError(eastingFirst ? msg::InvalidEasting : msg::InvalidNorthing);
    return std::nullopt;
  }
  if (eastingFirst ? yBad : xBad) {
    session.port.ShowError(eastingFirst ? msg::InvalidNorthing : msg::InvalidEasting);
    return std::nullopt;
  }
  if (!z || !std::isfinite(*z)) {
    session.port.ShowError(msg::InvalidElevation);
    return std::nullopt;
  }
  return PointValues{texts.label, *x, *y, *z};
}

}  // namespace terravue::tin

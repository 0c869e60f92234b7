#include "exchange/point_table.h"

#include <algorithm>
#include <cmath>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "exchange/transforms.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/surface_edit.h"

namespace terravue::exchange {

namespace {

std::array<double, 6> Extents(const model::SurfaceModel& m) { return {m.MinX, m.MinY, m.MinZ, m.MaxX, m.MaxY, m.MaxZ}; }

std::string Trimmed(const model::PointLabelText& label) {
  std::string text(label.begin(), label.end());
  const auto start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

// A typed coordinate: a number with at most 9 digits before the point, rounded to thousandths.
std::optional<double> CoordinateText(std::string_view text) {
  const std::optional<double> v = ParseReal(text);
  if (!v || !std::isfinite(*v) || std::fabs(*v) > MaxCoordinate) return std::nullopt;
  return tin::RoundToThousandths(*v);
}

}  // namespace

PointTableEditor::PointTableEditor(Session& session)
    : session_(session), eastingFirst_(settings::EastingFirst(session.settings)) {}

PointIndex PointTableEditor::Open(double cursorX, double cursorY) {
  model::SurfaceModel& m = session_.model;
  undelete_.Reset();
  planMoved_ = false;
  if (m.PointCount == 0) {
    m.ClearModel();
    return Add().value_or(NoPoint);
  }
  model::ComputeExtents(m, session_.settings);
  extents_ = Extents(m);
  senses_ = TriangleSenses(m);
  const PointIndex nearest = tin::NearestPoint(m, cursorX, cursorY);
  return nearest == NoPoint ? PointIndex{1} : nearest;
}

EditorCloseResult PointTableEditor::Close(PointIndex activeRow) {
  model::SurfaceModel& m = session_.model;
  SettingsRecord& s = session_.settings;
  EditorCloseResult result;
  if (m.PointCount < 3) {
    const bool onlyAnEmptyPoint = m.PointCount == 1 && m.PointX[1] == 0 && m.PointY[1] == 0 && m.PointZ[1] == 0 &&
                                  Trimmed(m.PointLabel[1]).empty();
    if (!onlyAnEmptyPoint && m.PointCount > 0) session_.port.ShowError(msg::TooFewPointsForModel);
    m.ClearModel();
    s.Set(settings::ModelSaved, true);
    session_.port.ModelStateChanged();
    return result;
  }
  result.pointsRemain = true;
  result.triangulationDropped = DropTurnedTriangles();
  model::ComputeExtents(m, s);
  const std::array<double, 6> now = Extents(m);
  for (std::size_t k = 0; k < now.size(); ++k)
    if (std::fabs(now[k] - extents_[k]) >= 0.0001) result.refit = true;
  result.cursorPoint = std::clamp<PointIndex>(activeRow, 1, m.PointCount);
  session_.port.ModelStateChanged();
  return result;
}

bool PointTableEditor::DropTurnedTriangles() {
  model::SurfaceModel& m = session_.model;
  if (!planMoved_ || m.TriangleCount == 0 || TrianglesKeepSense(m, senses_, false)) return false;
  // A moved point crossed the edge of one of its triangles: the list no longer covers the
  // field once, so it cannot be drawn, contoured or measured.
  m.TriangleCount = 0;
  session_.port.ShowWarning(msg::EditorTriangulationDropped);
  return true;
}

bool PointTableEditor::RunSurfaceCommand(const std::function<bool()>& command) {
  DropTurnedTriangles();
  const bool result = command();
  senses_ = TriangleSenses(session_.model);
  planMoved_ = false;
  return result;
}

int PointTableEditor::Rows() const { return session_.model.PointCount; }

std::string_view PointTableEditor::Heading(EditorColumn column) const {
  switch (column) {
    case EditorColumn::Border: return "";
    case EditorColumn::Label: return "Label";
    case EditorColumn::First: return eastingFirst_ ? "X" : "Y";
    case EditorColumn::Second: return eastingFirst_ ? "Y" : "X";
    case EditorColumn::Elevation: return "Z";
  }
  return "";
}

double PointTableEditor::CellValue(PointIndex row, EditorColumn column) const {
  const model::SurfaceModel& m = session_.model;
  switch (column) {
    case EditorColumn::First: return eastingFirst_ ? m.PointX[row] : m.PointY[row];
    case EditorColumn::Second: return eastingFirst_ ? m.PointY[row] : m.PointX[row];
    case EditorColumn::Elevation: return m.PointZ[row];
    default: return 0;
  }
}

std::string PointTableEditor::CellText(PointIndex row, EditorColumn column) const {
  const model::SurfaceModel& m = session_.model;
  if (row < 1 || row > m.PointCount) return {};
  switch (column) {
    case EditorColumn::Border: return m.BorderNext[row] != NoPoint ? "B" : "";
    case EditorColumn::Label: return Trimmed(m.PointLabel[row]);
    default: return FormatReal(CellValue(row, column), 0, 3);
  }
}

bool PointTableEditor::SetCell(PointIndex row, EditorColumn column, std::string_view text) {
  model::SurfaceModel& m = session_.model;
  if (row < 1 || row > m.PointCount) return false;
  if (column == EditorColumn::Border) return false;
  if (column == EditorColumn::Label) {
    if (text.size() > 4) return false;
    const std::string before = m.GetPointLabel(row);
    m.SetPointLabel(row, text);
    if (m.GetPointLabel(row) != before) Changed(false);
    return true;
  }
  const std::optional<double> v = CoordinateText(text);
  if (!v) return false;
  const bool isX = (column == EditorColumn::First) == eastingFirst_ && column != EditorColumn::Elevation;
  double& cell = column == EditorColumn::Elevation ? m.PointZ[row] : isX ? m.PointX[row] : m.PointY[row];
  if (std::fabs(*v - cell) < 0.0001) return true;
  cell = *v;
  if (column != EditorColumn::Elevation) planMoved_ = true;
  Changed(false);
  return true;
}

void PointTableEditor::Changed(bool dropTriangles) {
  if (dropTriangles) session_.model.TriangleCount = 0;
  model::MarkModified(session_);
}

bool PointTableEditor::MayOpenRow() const {
  const model::SurfaceModel& m = session_.model;
  if (m.PointCount < m.MaxPoints) return true;
  session_.port.ShowError(msg::PointCapacityCannotAdd);
  return false;
}

bool PointTableEditor::MayUndelete() const {
  if (!MayOpenRow()) return false;
  if (!undelete_.Empty()) return true;
  session_.port.ShowWarning(msg::NothingToUndelete);
  return false;
}

bool PointTableEditor::MayDelete(PointIndex p) const {
  const model::SurfaceModel& m = session_.model;
  if (p < 1 || p > m.PointCount) return false;
  return m.BorderNext[p] == NoPoint || session_.port.AskYesNo(msg::DeleteBorderPointQuestion);
}

std::optional<PointIndex> PointTableEditor::Add() {
  model::SurfaceModel& m = session_.model;
  if (!MayOpenRow()) return std::nullopt;
  tin::OpenPointInModel(m, static_cast<PointIndex>(m.PointCount + 1));
  Changed(true);
  return m.PointCount;
}

std::optional<PointIndex> PointTableEditor::Insert(PointIndex before) {
  model::SurfaceModel& m = session_.model;
  if (before < 1 || before > m.PointCount) return Add();
  if (!MayOpenRow()) return std::nullopt;
  tin::OpenPointInModel(m, before);
  Changed(true);
  return before;
}

std::optional<PointIndex> PointTableEditor::Delete(PointIndex p, bool confirmed) {
  model::SurfaceModel& m = session_.model;
  if (p < 1 || p > m.PointCount) return std::nullopt;
  if (!confirmed && !MayDelete(p)) return std::nullopt;
  undelete_.Push({m.GetPointLabel(p), m.PointX[p], m.PointY[p], m.PointZ[p]});
  m.TriangleCount = 0;
  tin::RemovePointFromModel(m, p);
  Changed(true);
  // The editor always shows a row: the last point gives way to an empty one.
  if (m.PointCount == 0) return Add();
  return std::min(p, m.PointCount);
}

std::optional<PointIndex> PointTableEditor::Undelete() {
  model::SurfaceModel& m = session_.model;
  if (!MayUndelete()) return std::nullopt;
  const tin::PointValues point = undelete_.Pop();
  const PointIndex p = *Add();
  m.PointX[p] = point.x;
  m.PointY[p] = point.y;
  m.PointZ[p] = point.z;
  m.SetPointLabel(p, point.label);
  return p;
}

std::optional<PointIndex> PointTableEditor::New() {
  model::SurfaceModel& m = session_.model;
  SettingsRecord& s = session_.settings;
  if (m.PointCount > 0 && !s.Get(settings::ModelSaved) && !session_.port.AskToDiscard(msg::ErasePointsAnyway))
    return std::nullopt;
  m.ClearModel();
  m.SetComment("");
  s.Set(settings::ModelFileName, "");
  undelete_.Reset();
  return Add();
}

void PointTableEditor::EditComment() {
  model::SurfaceModel& m = session_.model;
  const std::string before = m.Comment();
  const std::string typed = session_.port.InputText(msg::CommentTitle, msg::CommentPrompt, before,
                                                    model::SurfaceModel::CommentLength);
  if (typed == before) return;
  m.SetComment(typed);
  Changed(false);
}

std::optional<PointIndex> PointTableEditor::Jump(PointIndex from) {
  const model::SurfaceModel& m = session_.model;
  if (m.PointCount == 0) return std::nullopt;
  const std::int64_t to =
      session_.port.InputInteger(msg::JumpToPointTitle, msg::JumpToPointPrompt, from, false, m.PointCount, 1);
  if (to < 1 || to > m.PointCount) return std::nullopt;
  return static_cast<PointIndex>(to);
}

std::string PointTableEditor::PanelText() const {
  const model::SurfaceModel& m = session_.model;
  const SettingsRecord& s = session_.settings;
  std::string text(msg::EditorFileNamePrefix);
  const std::string name = s.Get(settings::ModelFileName);
  if (m.PointCount == 0 || name.empty()) {
    text += msg::EditorNoDataLoaded;
  } else {
    text += name;
    if (s.Get(settings::ModelSaved)) text += msg::EditorUnmodified;
  }
  text += "\r\n";
  text += msg::EditorCommentPrefix;
  const std::string comment = m.Comment();
  text += comment.empty() ? std::string(msg::EditorNoComment) : comment;
  return text;
}

std::string PointTableEditor::TotalsText() const {
  const model::SurfaceModel& m = session_.model;
  return std::string(msg::EditorTotalPoints) + std::to_string(m.PointCount) + "\r\n" +
         std::string(msg::EditorAvailablePoints) + std::to_string(m.MaxPoints - m.PointCount);
}

std::string PointTableEditor::RowHint(PointIndex row) const {
  const model::SurfaceModel& m = session_.model;
  if (row < 1 || row > m.PointCount) return {};
  std::string text = "Point #" + std::to_string(row) + ":";
  const auto add = [&](std::string_view name, double v) { text += std::string(name) + FormatReal(v, 0, 3); };
  if (eastingFirst_) {
    add("  X = ", m.PointX[row]);
    add("  Y = ", m.PointY[row]);
    add("  Z = ", m.PointZ[row]);
  } else {
    add("  Northing = ", m.PointY[row]);
    add("  Easting = ", m.PointX[row]);
    add("  Elevation = ", m.PointZ[row]);
  }
  return text;
}

}  // namespace terravue::exchange

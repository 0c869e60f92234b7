#include "controllers/editor_controller.h"

#include <cmath>

#include <QPainter>

#include "analysis/measure.h"
#include "app/qt_text.h"
#include "commands/command_table.h"
#include "app/editors.h"
#include "common/messages.h"
#include "common/text_encoding.h"
#include "common/user_port.h"
#include "controllers/view_controller.h"
#include "dialogs/analyzer/brk_query_form.h"
#include "dialogs/analyzer/length_form.h"
#include "dialogs/analyzer/tri_query_form.h"
#include "mainwindow/map_area.h"
#include "mainwindow/status_panel.h"
#include "mainwindow/window_context.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "print/sheet_view.h"
#include "tin/border.h"
#include "tin/breaklines.h"
#include "tin/triangulate.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;
using app::Editor;

// The editors' own marks and the picks of the active commands stand out from any map colour.
const QColor EditorMark(220, 0, 90);
const QColor PickMark(0, 90, 220);
// The result dialogs' help.
constexpr int LengthHelpContext = 420;

}  // namespace

EditorController::EditorController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view),
      commands_(std::make_unique<app::ActiveCommandState>(c_.session, c_.editors, c_.locate,
                                                              static_cast<app::ActiveCommandUi&>(*this))) {
  c_.map.AddMarkPainter([this](QPainter& p) { PaintMarks(p); });
}

EditorController::~EditorController() = default;

void EditorController::RegisterCommands() {
  CommandTable& t = c_.commands;
  Session& s = c_.session;
  app::ActiveCommandState& a = *commands_;

  for (const Editor e : {Editor::Coordinate, Editor::Border, Editor::Breakline, Editor::Analyzer}) {
    // The editor chosen again is left for the General commands: at most one button is down.
    t.SetHandler(app::SelectCommandOf(e), [this, e] { SelectEditor(c_.editors.active == e ? Editor::General : e); });
  }

  t.SetHandler(C::QuitActiveCommand, [&a] { a.QuitActiveCommand(); });
  t.SetHandler(C::Length, [&a] { a.LengthCommand(); });
  t.SetHandler(C::Triangulate, [this] { Triangulate(); });

  t.SetHandler(C::CoordinateComment, [this] { Comment(); });

  t.SetHandler(C::BorderNew, [&a] { a.NewBorderCommand(); });
  t.SetHandler(C::BorderConvex, [this, &s] {
    tin::ConvexBorderCommand(s, c_.editors.borderErrors);
    AfterEdit();
  });
  t.SetHandler(C::BorderDeletePoint, [this, &s] {
    tin::DeleteBorderPoint(s, PointAtCursor());
    AfterEdit();
  });
  t.SetHandler(C::BorderInsertPoint, [this, &s] {
    tin::InsertBorderPoint(s, c_.editors.borderErrors, PointAtCursor());
    AfterEdit();
  });
  t.SetHandler(C::BorderVerify, [this, &s] {
    tin::VerifyBorder(s, c_.editors.borderErrors);
    view_.Regenerate();
  });
  auto toBorderError = [this](PointIndex p) {
    if (p == NoPoint) return;
    app::MoveCursorToPoint(c_.session.model, c_.cursor, p);
    view_.MoveCursor(c_.cursor.x, c_.cursor.y, c_.cursor.z);
  };
  t.SetHandler(C::BorderErrorNext, [&s, this, toBorderError] { toBorderError(tin::NextBorderError(s, c_.editors.borderErrors)); });
  t.SetHandler(C::BorderErrorPrevious,
               [&s, this, toBorderError] { toBorderError(tin::PreviousBorderError(s, c_.editors.borderErrors)); });

  t.SetHandler(C::BreaklineAdd, [&a] { a.NewBreaklineCommand(); });
  t.SetHandler(C::BreaklineSwap, [&a] { a.SwapCommand(); });
  t.SetHandler(C::BreaklineDelete, [this, &s] {
    tin::DeleteNearestBreakline(s, c_.editors.breaklineEditor, c_.cursor.x, c_.cursor.y);
    AfterEdit();
  });
  t.SetHandler(C::BreaklineKill, [this, &s] {
    tin::KillBreaklines(s, c_.editors.breaklineEditor);
    AfterEdit();
  });
  t.SetHandler(C::BreaklineUndelete, [this, &s] {
    tin::UndeleteBreakline(s, c_.editors.breaklineEditor);
    AfterEdit();
  });
  t.SetHandler(C::BreaklineExecute, [this, &s] {
    tin::ExecuteBreaklines(s, c_.locate, c_.editors.breaklineEditor);
    view_.Regenerate();
  });
  auto toBreaklineError = [this](BreaklineIndex i) {
    if (i == NoBreakline) return;
    app::MoveCursorToBreakline(c_.Cursor(), c_.cursor, i);
    view_.MoveCursor(c_.cursor.x, c_.cursor.y, c_.cursor.z);
  };
  t.SetHandler(C::BreaklineErrorNext,
               [&s, this, toBreaklineError] { toBreaklineError(tin::NextBreaklineError(s, c_.editors.breaklineEditor)); });
  t.SetHandler(C::BreaklineErrorPrevious, [&s, this, toBreaklineError] {
    toBreaklineError(tin::PreviousBreaklineError(s, c_.editors.breaklineEditor));
  });
  t.SetHandler(C::BreaklineJump, [this] {
    UserPort& port = c_.session.port;
    const bool moved = app::JumpToBreakline(c_.Cursor(), c_.cursor, [&port](BreaklineIndex current) {
      return port.PromptLine(msg::JumpToBreaklineTitle, msg::BreaklineNumberPrompt, std::to_string(current), 0);
    });
    if (moved) view_.MoveCursor(c_.cursor.x, c_.cursor.y, c_.cursor.z);
  });

  t.SetHandler(C::BreaklineQuery, [this] { BreaklineQuery(); });

  t.SetHandler(C::AnalyzerQueryTriangle, [&a] { a.QueryTriangleCommand(); });
}

// ---- Editors --------------------------------------------------------------------------------

void EditorController::SelectEditor(Editor editor) {
  const app::EditorSwitch change = app::SelectEditor(c_.session, c_.editors, Active(), editor);
  if (change.switched) {
    // Leaving the Surface Analyzer empties the vector accumulator and its overlay.
    if (change.left == Editor::Analyzer) c_.map.Sheet().ClearOverlay();
    if (change.redraw) view_.Regenerate();
  }
  c_.refresh();
}

void EditorController::EditorMarks(bool& border, bool& breaklines) const {
  border = c_.editors.active == Editor::Border;
  breaklines = c_.editors.active == Editor::Breakline;
}

void EditorController::Click(double x, double y, bool shift) { commands_->Click(x, y, shift); }

PointIndex EditorController::PointAtCursor() const {
  return tin::NearestPoint(c_.session.model, c_.cursor.x, c_.cursor.y);
}

void EditorController::AfterEdit() {
  view_.Regenerate();
  c_.refresh();
}

void EditorController::Triangulate() {
  tin::TriangulateOptions options;
  // The Border Editor's error list takes the flags of a convex border made on the way.
  if (c_.editors.active == Editor::Border) options.borderErrors = &c_.editors.borderErrors;
  tin::Triangulate(c_.session, c_.locate, options);
  AfterEdit();
}

void EditorController::BreaklineQuery() {
  Session& s = c_.session;
  if (s.model.BreaklineCount == 0) {
    s.port.ShowInfo(msg::NoBreaklinesExist);
    return;
  }
  const BreaklineIndex nearest = tin::NearestBreakline(s.model, c_.cursor.x, c_.cursor.y);
  if (nearest == NoBreakline) return;
  commands_->SetQueryFlag(app::CommandKind::BreaklineQuery, true);
  queried_ = nearest;
  c_.map.UpdateMarks();
  TBrkQueryForm form(s.model, s.settings, nearest, &c_.window);
  form.exec();
  queried_ = NoBreakline;
  commands_->SetQueryFlag(app::CommandKind::BreaklineQuery, false);
  c_.map.UpdateMarks();
}

void EditorController::Comment() {
  Session& s = c_.session;
  // The comment is kept in Latin-1; the input box speaks UTF-8 and takes Latin-1 characters only.
  const std::string old = s.model.Comment();
  const std::string typed =
      s.port.InputText(msg::CommentTitle, msg::CommentPrompt, Latin1ToUtf8(old), model::SurfaceModel::CommentLength);
  const std::optional<std::string> latin1 = Utf8ToLatin1(typed);
  if (!latin1 || *latin1 == old) return;
  s.model.SetComment(*latin1);
  model::MarkModified(s);
}

// ---- The active commands' window ------------------------------------------------------------

void EditorController::CommandsChanged() { c_.refresh(); }

void EditorController::ShowCommandStatus(std::string_view text) { c_.status.SetCommandText(FromUtf8(text)); }

void EditorController::PicksChanged() { c_.map.UpdateMarks(); }

void EditorController::RegenerateMap() { view_.Regenerate(); }

std::function<void()> EditorController::Help() const {
  if (!c_.help) return {};
  return [help = c_.help] { help(LengthHelpContext); };
}

bool EditorController::ShowLengthResult(const std::vector<analysis::LengthPick>& picks) {
  const model::SurfaceModel& m = c_.session.model;
  const analysis::VectorAccumulator& vectors = c_.editors.analyzer.vectors;
  std::vector<analysis::TracePoint> path;
  std::vector<std::string> lines;
  for (const analysis::LengthPick& pick : picks) {
    path.push_back(analysis::PickPosition(m, vectors, pick));
    lines.push_back(analysis::PickText(pick));
  }
  const bool closed = picks.size() >= 2 && picks.front() == picks.back();
  TLengthForm form(analysis::DescribeLength(path, closed, c_.session.settings), lines, Help(), &c_.window);
  form.exec();
  return form.Finished();
}

bool EditorController::ShowQueryTriangleResult(const std::vector<TriangleIndex>& triangles) {
  TTriQueryForm form(analysis::DescribeTriangles(c_.session.model, triangles, c_.session.settings), Help(),
                     &c_.window);
  form.exec();
  return form.Finished();
}

void EditorController::PaintMarks(QPainter& painter) const {
  const model::SurfaceModel& m = c_.session.model;
  if (m.PointCount == 0 || !c_.map.Sheet().Geometry()) return;
  auto at = [&](PointIndex p) { return view_.ToSheet(m.PointX[p], m.PointY[p], m.PointZ[p]); };
  // A point has a mark when it exists and has a place on the sheet (in the 3-D view, one
  // behind the eye has none).
  auto valid = [&](PointIndex p) {
    if (p == NoPoint || p > m.PointCount) return false;
    const QPointF q = at(p);
    return std::isfinite(q.x()) && std::isfinite(q.y());
  };
  painter.setRenderHint(QPainter::Antialiasing);

  // The editors show their own element in place of the map's.
  if (c_.editors.active == Editor::Border) {
    painter.setPen(QPen(EditorMark, 2));
    const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
    PointIndex i = start;
    for (int steps = 0; valid(i) && steps <= m.PointCount; ++steps) {
      const PointIndex next = m.BorderNext[i];
      if (!valid(next)) break;
      painter.drawLine(at(i), at(next));
      i = next;
      if (i == start) break;
    }
    painter.setBrush(EditorMark);
    for (PointIndex p = 1; p <= m.PointCount; ++p)
      if (c_.editors.borderErrors.IsFlagged(p) && valid(p)) painter.drawEllipse(at(p), 4, 4);
    painter.setBrush(Qt::NoBrush);
  }
  if (c_.editors.active == Editor::Breakline) {
    painter.setPen(QPen(EditorMark, 2));
    for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
      const model::Breakline& line = m.Breaklines[b];
      if (valid(line.From) && valid(line.To)) painter.drawLine(at(line.From), at(line.To));
    }
  }

  const app::ActiveCommandState& a = *commands_;
  painter.setPen(QPen(PickMark, 2));
  const auto mark = [&](const QPointF& p) { painter.drawRect(QRectF(p - QPointF(4, 4), QSizeF(8, 8))); };
  const std::vector<PointIndex>& border = a.BorderPicks();
  for (std::size_t k = 1; k < border.size(); ++k)
    if (valid(border[k - 1]) && valid(border[k])) painter.drawLine(at(border[k - 1]), at(border[k]));
  if (!border.empty() && valid(border.back())) mark(at(border.back()));
  // The Length path runs over data points and accumulator vertices alike.
  const std::vector<analysis::LengthPick>& length = a.LengthPicks();
  const auto position = [&](const analysis::LengthPick& pick) {
    const analysis::TracePoint p = analysis::PickPosition(m, c_.editors.analyzer.vectors, pick);
    return view_.ToSheet(p.x, p.y, p.z);
  };
  for (std::size_t k = 1; k < length.size(); ++k) painter.drawLine(position(length[k - 1]), position(length[k]));
  if (!length.empty()) mark(position(length.back()));
  if (queried_ != NoBreakline && queried_ <= m.BreaklineCount) {
    const model::Breakline& line = m.Breaklines[queried_];
    if (valid(line.From) && valid(line.To)) {
      painter.drawLine(at(line.From), at(line.To));
      mark(at(line.From));
      mark(at(line.To));
    }
  }
  if (Active().Has(app::CommandKind::NewBreakline)) {
    for (BreaklineIndex b = a.NewBreaklineStart() + 1; b <= m.BreaklineCount; ++b) {
      const model::Breakline& line = m.Breaklines[b];
      if (valid(line.From) && valid(line.To)) painter.drawLine(at(line.From), at(line.To));
    }
    if (valid(a.NewBreaklinePrevious())) mark(at(a.NewBreaklinePrevious()));
  }
  for (TriangleIndex t : a.QueriedTriangles()) {
    if (t == NoTriangle || t > m.TriangleCount) continue;
    const auto& v = m.TriVertex[t];
    if (!valid(v[0]) || !valid(v[1]) || !valid(v[2])) continue;
    const QPointF centre = (at(v[0]) + at(v[1]) + at(v[2])) / 3;
    painter.drawPolygon(QPolygonF({at(v[0]), at(v[1]), at(v[2])}));
    painter.drawEllipse(centre, 4, 4);
  }
}

}  // namespace terravue::gui

#include "tin/breaklines.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <unordered_set>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "tin/constrained_edges.h"
#include "tin/delaunay_repair.h"
#include "tin/geometry.h"

namespace terravue::tin {

using model::SurfaceModel;

bool AdjustBreaklines(SurfaceModel& m, LocateState& state, UserPort& port, std::vector<std::uint8_t>& flags,
                      FixedSegments* repair) {
  if (m.TriangleCount == 0 || m.BreaklineCount == 0) return true;
  const int count = m.BreaklineCount;
  std::optional<FixedEdges> fixed;
  try {
    fixed.emplace(m.TriangleCount);
    if (flags.size() < static_cast<std::size_t>(count) + 1) flags.resize(static_cast<std::size_t>(count) + 1);
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::InsufficientMemoryForOption);
    return true;
  }

  state.LastTriangle = 1;
  std::fill_n(flags.begin(), count + 1, std::uint8_t{1});
  // The fixed flags last across the passes, so a breakline forced in an earlier pass is
  // protected from the later ones. Starting from the number of breaklines, a first pass in
  // which all fail is the last; every later pass retries only the failures, so their number
  // never grows and the passes end.
  int previous = count;
  int failures = 0;
  for (int pass = 0;; ++pass) {
    if (pass > 0 && failures > 0) previous = failures;
    failures = 0;
    for (int j = 1; j <= count; ++j) {
      if (flags[static_cast<std::size_t>(j)] == 0) continue;
      flags[static_cast<std::size_t>(j)] = 0;
      const model::Breakline line = m.Breaklines[static_cast<std::size_t>(j)];
      if (ForceSegment(m, state, *fixed, line.From, line.To, true).failed) {
        flags[static_cast<std::size_t>(j)] = 1;
        ++failures;
      }
    }
    if (failures == 0 || failures == previous) break;
  }
  if (repair != nullptr) {
    repair->AddFlagged(m, *fixed);
    RestoreDelaunay(m, *repair, fixed->Touched());
  }
  return failures == 0;
}

void ListBreaklineErrors(Session& session, const std::vector<std::uint8_t>& flags) {
  if (!session.port.AskYesNo(msg::ViewBreaklineErrorList)) return;
  TextReport report;
  if (!report.Open(session.workDirectory, reports::BreaklineErrors.workName)) {
    session.port.ShowError(msg::UnableToListBreaklineErrors);
    return;
  }
  const SurfaceModel& m = session.model;
  const bool eastingFirst = settings::EastingFirst(session.settings);
  report.WriteHeader(reports::BreaklineErrors.title, session.settings, m.Comment(), session.clock());
  report.WriteLine("");
  report.WriteLine(msg::BreaklineListingCaption);
  report.WriteLine(eastingFirst ? msg::BreaklineErrorColumnsXY : msg::BreaklineErrorColumnsYX);
  report.WriteLine("");
  auto coordinates = [&](PointIndex p) {
    const double first = eastingFirst ? m.PointX[p] : m.PointY[p];
    const double second = eastingFirst ? m.PointY[p] : m.PointX[p];
    return FormatReal(first, 14, 3) + " " + FormatReal(second, 14, 3);
  };
  const std::size_t last = std::min<std::size_t>(m.BreaklineCount, flags.empty() ? 0 : flags.size() - 1);
  for (std::size_t i = 1; i <= last; ++i) {
    if (flags[i] == 0) continue;
    const model::Breakline line = m.Breaklines[i];
    report.WriteLine(" " + FormatInteger(static_cast<std::int64_t>(i), 4) + "    " + FormatInteger(line.From, 4) +
                     " " + coordinates(line.From) + "  " + FormatInteger(line.To, 4) + " " + coordinates(line.To));
  }
  ShowReport(session, report, reports::BreaklineErrors);
}

// ---- The breakline list ---------------------------------------------------------------------

bool FindBreakline(const SurfaceModel& m, PointIndex p, PointIndex q, BreaklineIndex first, BreaklineIndex last) {
  const int hi = std::min<int>(last, static_cast<int>(m.Breaklines.size()) - 1);
  for (int i = std::max<int>(first, 1); i <= hi; ++i) {
    const model::Breakline line = m.Breaklines[static_cast<std::size_t>(i)];
    if ((line.From == p && line.To == q) || (line.From == q && line.To == p)) return true;
  }
  return false;
}

BreaklineIndex NearestBreakline(const SurfaceModel& m, double x, double y) {
  BreaklineIndex nearest = NoBreakline;
  double best = FarDistance;
  for (int i = 1; i <= m.BreaklineCount; ++i) {
    const model::Breakline line = m.Breaklines[static_cast<std::size_t>(i)];
    const double d = SegmentDistance2(PointXY(m, line.From), PointXY(m, line.To), XY{x, y});
    if (d < best) {
      best = d;
      nearest = static_cast<BreaklineIndex>(i);
    }
  }
  return nearest;
}

bool EnterBreaklineEditor(Session& session, BreaklineEditorState& editor) {
  editor = BreaklineEditorState{};
  try {
    editor.errorFlags.assign(std::size_t{SurfaceModel::BreaklineCapacity} + 1, 0);
  } catch (const std::bad_alloc&) {
    session.port.ShowError(msg::InsufficientMemoryForBreaklineErrors);
    return false;
  }
  return true;
}

bool AppendBreakline(SurfaceModel& m, BreaklineEditorState* editor, PointIndex p, PointIndex q) {
  if (m.BreaklineCount >= m.MaxBreaklines || std::size_t{m.BreaklineCount} + 1 >= m.Breaklines.size()) return false;
  ++m.BreaklineCount;
  m.Breaklines[m.BreaklineCount] = {p, q};
  if (editor && m.BreaklineCount < editor->errorFlags.size()) editor->errorFlags[m.BreaklineCount] = 0;
  return true;
}

void DeleteBreakline(SurfaceModel& m, BreaklineEditorState& editor, BreaklineIndex i) {
  if (i == NoBreakline || i > m.BreaklineCount) return;
  editor.undeleteHead = (editor.undeleteHead + 1) % BreaklineEditorState::UndeleteSlots;
  if (editor.undeleteHead == editor.undeleteTail)
    editor.undeleteTail = (editor.undeleteTail + 1) % BreaklineEditorState::UndeleteSlots;
  editor.undeleteRing[static_cast<std::size_t>(editor.undeleteHead)] = m.Breaklines[i];
  const int count = m.BreaklineCount;
  for (int k = i; k < count; ++k) {
    m.Breaklines[static_cast<std::size_t>(k)] = m.Breaklines[static_cast<std::size_t>(k) + 1];
    if (static_cast<std::size_t>(k) + 1 < editor.errorFlags.size())
      editor.errorFlags[static_cast<std::size_t>(k)] = editor.errorFlags[static_cast<std::size_t>(k) + 1];
  }
  --m.BreaklineCount;
  if (editor.errorCursor >= i) --editor.errorCursor;
}

void AddBreaklineSeries(Session& session, BreaklineEditorState& editor, PointIndex first, PointIndex last) {
  SurfaceModel& m = session.model;
  if (first == last) {
    session.port.ShowError(msg::StartPointSameAsEndPoint);
    return;
  }
  // The pairs already present, so that a long series does not search the list once per pair.
  std::unordered_set<std::uint32_t> present;
  auto key = [](PointIndex p, PointIndex q) {
    return (std::uint32_t{std::min(p, q)} << 16) | std::uint32_t{std::max(p, q)};
  };
  for (int i = 1; i <= m.BreaklineCount; ++i)
    present.insert(key(m.Breaklines[static_cast<std::size_t>(i)].From, m.Breaklines[static_cast<std::size_t>(i)].To));
  const int hi = std::min<int>(last, m.PointCount);
  for (int a = std::max<int>(first, 1); a < hi; ++a) {
    const PointIndex p = static_cast<PointIndex>(a), q = static_cast<PointIndex>(a + 1);
    if (m.BreaklineCount < m.MaxBreaklines && !present.contains(key(p, q)) && AppendBreakline(m, &editor, p, q))
      present.insert(key(p, q));
  }
  editor.notExecuted = true;
  model::MarkModified(session);
}

void DeleteNearestBreakline(Session& session, BreaklineEditorState& editor, double x, double y) {
  SurfaceModel& m = session.model;
  if (m.BreaklineCount == 0) {
    session.port.ShowWarning(msg::NoBreaklinesToDelete);
    return;
  }
  const BreaklineIndex i = NearestBreakline(m, x, y);
  if (i == NoBreakline) return;
  DeleteBreakline(m, editor, i);
  editor.notExecuted = true;
  model::MarkModified(session);
}

void KillBreaklines(Session& session, BreaklineEditorState& editor) {
  SurfaceModel& m = session.model;
  if (m.BreaklineCount == 0) {
    session.port.ShowWarning(msg::NoBreaklinesToDelete);
    return;
  }
  const std::string question =
      std::string(msg::DeleteAllPrefix) + FormatInteger(m.BreaklineCount, 0) + std::string(msg::DeleteAllSuffix);
  if (!session.port.AskToDiscard(question)) return;
  m.BreaklineCount = 0;
  editor.notExecuted = true;
  model::MarkModified(session);
}

void UndeleteBreakline(Session& session, BreaklineEditorState& editor) {
  SurfaceModel& m = session.model;
  if (m.BreaklineCount >= m.MaxBreaklines) {
    session.port.ShowError(msg::InsufficientMemoryForOption);
    return;
  }
  if (editor.undeleteHead == editor.undeleteTail) {
    session.port.ShowWarning(msg::NoBreaklinesToUndelete);
    return;
  }
  const model::Breakline line = editor.undeleteRing[static_cast<std::size_t>(editor.undeleteHead)];
  if (!FindBreakline(m, line.From, line.To, 1, m.BreaklineCount) && AppendBreakline(m, &editor, line.From, line.To)) {
    editor.notExecuted = true;
    model::MarkModified(session);
  }
  editor.undeleteHead =
      editor.undeleteHead == 0 ? BreaklineEditorState::UndeleteSlots - 1 : editor.undeleteHead - 1;
}

void ExecuteBreaklines(Session& session, LocateState& state, BreaklineEditorState& editor) {
  SurfaceModel& m = session.model;
  if (m.BreaklineCount == 0) {
    session.port.ShowInfo(msg::NoBreaklinesToExecute);
    return;
  }
  if (m.TriangleCount == 0) {
    session.port.ShowWarning(msg::TriangulateBeforeBreaklines);
    return;
  }
  editor.notExecuted = false;
  model::MarkModified(session);
  editor.errorCursor = 1;
  FixedSegments fixed = FixedSegments::OfModel(m);
  if (!AdjustBreaklines(m, state, session.port, editor.errorFlags, &fixed)) ListBreaklineErrors(session, editor.errorFlags);
}

namespace {

BreaklineIndex ShowNoBreaklineErrors(Session& session, const BreaklineEditorState& editor) {
  if (session.model.BreaklineCount == 0)
    session.port.ShowInfo(msg::NoBreaklinesPresent);
  else if (editor.notExecuted)
    session.port.ShowWarning(msg::BreaklinesNotExecuted);
  else
    session.port.ShowInfo(msg::NoBreaklineErrorsFound);
  return NoBreakline;
}

bool Flagged(const BreaklineEditorState& editor, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < editor.errorFlags.size() && editor.errorFlags[static_cast<std::size_t>(i)] != 0;
}

}  // namespace

BreaklineIndex NextBreaklineError(Session& session, BreaklineEditorState& editor) {
  const int count = session.model.BreaklineCount;
  const int cursor = editor.errorCursor;
  for (int i = cursor + 1; i <= count; ++i)
    if (Flagged(editor, i)) return editor.errorCursor = static_cast<BreaklineIndex>(i);
  for (int i = 1; i <= std::min(cursor, count); ++i)
    if (Flagged(editor, i)) return editor.errorCursor = static_cast<BreaklineIndex>(i);
  return ShowNoBreaklineErrors(session, editor);
}

BreaklineIndex PreviousBreaklineError(Session& session, BreaklineEditorState& editor) {
  const int count = session.model.BreaklineCount;
  const int cursor = std::max<int>(editor.errorCursor, 1);
  for (int i = cursor - 1; i >= 1; --i)
    if (Flagged(editor, i)) return editor.errorCursor = static_cast<BreaklineIndex>(i);
  for (int i = count; i >= cursor; --i)
    if (Flagged(editor, i)) return editor.errorCursor = static_cast<BreaklineIndex>(i);
  return ShowNoBreaklineErrors(session, editor);
}

}  // namespace terravue::tin

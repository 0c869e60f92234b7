#include "app/active_commands.h"

#include <algorithm>
#include <new>

#include "app/editors.h"
#include "app/view3d_motion.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "tin/swap_edge.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"
#include "tin/border.h"
#include "tin/breaklines.h"
#include "tin/geometry.h"

namespace terravue::app {
namespace {

// A work list for the life of one command; false when it cannot be had.
template <typename T>
bool Allocate(std::vector<T>& list, std::size_t capacity) {
  try {
    list.clear();
    list.reserve(capacity + 1);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

template <typename T>
void Release(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

int Count(std::size_t n) { return static_cast<int>(n); }

}  // namespace

ActiveCommandState::ActiveCommandState(Session& session, EditorState& editors, tin::LocateState& locate,
                                       ActiveCommandUi& ui)
    : session_(session), editors_(editors), locate_(locate), ui_(ui) {}

void ActiveCommandState::SetActive(CommandKind kind, bool on) {
  if (active_.Has(kind) == on) return;
  active_.Set(kind, on);
  ui_.CommandsChanged();
}

void ActiveCommandState::Status(CommandKind kind, int n) { ui_.ShowCommandStatus(CommandStatusText(kind, n)); }

void ActiveCommandState::SetQueryFlag(CommandKind kind, bool on) {
  if (kind == CommandKind::QueryPoint || kind == CommandKind::BreaklineQuery) SetActive(kind, on);
}

// ---- Clicks and quitting --------------------------------------------------------------------

void ActiveCommandState::Click(double x, double y, bool shift) {
  // Length first: the other pickers never run beside it.
  if (active_.Has(CommandKind::Length)) LengthClick(x, y, shift);
  if (active_.Has(CommandKind::NewBorder)) BorderClick(x, y, shift);
  if (active_.Has(CommandKind::Swap)) SwapClick(x, y, shift);
  if (active_.Has(CommandKind::NewBreakline)) BreaklineClick(x, y, shift);
  if (active_.Has(CommandKind::QueryTriangle)) TriangleClick(x, y, shift);
}

void ActiveCommandState::QuitActiveCommand() {
  if (!active_.Any()) return;
  if (active_.Has(CommandKind::NewBorder)) AbortNewBorder();
  if (active_.Has(CommandKind::Length)) FinishLength();
  if (active_.Has(CommandKind::NewBreakline)) EndNewBreakline();
  if (active_.Has(CommandKind::Swap)) EndSwap();
  if (active_.Has(CommandKind::Animate)) StopAnimation();
  if (active_.Has(CommandKind::QueryTriangle)) FinishQueryTriangle();
}

// ---- New Border -----------------------------------------------------------------------------

void ActiveCommandState::NewBorderCommand() {
  if (active_.Has(CommandKind::NewBorder)) {
    AbortNewBorder();
    return;
  }
  if (active_.Has(CommandKind::Length)) return;
  if (!Allocate(borderPicks_, std::size_t{session_.model.PointCount})) {
    session_.port.ShowError(msg::ErrorInitializingNewBorder);
    return;
  }
  SetActive(CommandKind::NewBorder, true);
  Status(CommandKind::NewBorder, 0);
  ui_.PicksChanged();
}

void ActiveCommandState::BorderClick(double x, double y, bool shift) {
  model::SurfaceModel& m = session_.model;
  if (shift) {
    if (borderPicks_.empty()) return;
    borderPicks_.pop_back();
  } else {
    const PointIndex p = tin::NearestPoint(m, x, y);
    if (p == NoPoint) return;
    const bool picked = std::find(borderPicks_.begin(), borderPicks_.end(), p) != borderPicks_.end();
    if (borderPicks_.empty() || !picked) {
      borderPicks_.push_back(p);
    } else if (p == borderPicks_.front() && borderPicks_.size() >= 3) {
      const std::vector<PointIndex> ring = borderPicks_;
      tin::CloseNewBorder(session_, editors_.borderErrors, ring);
      EndNewBorder();
      tin::VerifyBorder(session_, editors_.borderErrors);
      ui_.RegenerateMap();
      return;
    } else {
      session_.port.ShowError(msg::PointAlreadyOnBorder);
    }
  }
  Status(CommandKind::NewBorder, Count(borderPicks_.size()));
  ui_.PicksChanged();
}

void ActiveCommandState::AbortNewBorder() {
  if (!session_.port.AskToDiscard(msg::AbortNewBorder)) return;
  EndNewBorder();
  ui_.RegenerateMap();
}

void ActiveCommandState::EndNewBorder() {
  Release(borderPicks_);
  SetActive(CommandKind::NewBorder, false);
  Status(CommandKind::NewBorder, -1);
  ui_.PicksChanged();
}

// ---- New Breakline --------------------------------------------------------------------------

void ActiveCommandState::NewBreaklineCommand() {
  if (active_.Has(CommandKind::NewBreakline)) {
    EndNewBreakline();
    return;
  }
  if (active_.Has(CommandKind::Length) || active_.Has(CommandKind::Swap)) return;
  const model::SurfaceModel& m = session_.model;
  if (m.BreaklineCount >= m.MaxBreaklines) {
    session_.port.ShowWarning(msg::BreaklinesAtCapacity);
    return;
  }
  breaklineStart_ = m.BreaklineCount;
  previousPoint_ = NoPoint;
  breaklinesAdded_ = false;
  SetActive(CommandKind::NewBreakline, true);
  Status(CommandKind::NewBreakline, 0);
  ui_.PicksChanged();
}

void ActiveCommandState::BreaklineClick(double x, double y, bool shift) {
  model::SurfaceModel& m = session_.model;
  if (shift) {
    if (m.BreaklineCount > breaklineStart_) {
      previousPoint_ = m.Breaklines[m.BreaklineCount].From;
      --m.BreaklineCount;
    } else {
      previousPoint_ = NoPoint;
    }
  } else {
    if (m.BreaklineCount >= m.MaxBreaklines) {
      session_.port.ShowWarning(msg::BreaklinesAtCapacity);
      return;
    }
    const PointIndex c = tin::NearestPoint(m, x, y);
    if (c == NoPoint) return;
    const PointIndex b = previousPoint_;
    if (b != NoPoint && b != c && !tin::FindBreakline(m, b, c, 1, m.BreaklineCount)) {
      tin::BreaklineEditorState* editor = editors_.breaklineEditor.errorFlags.empty() ? nullptr : &editors_.breaklineEditor;
      if (tin::AppendBreakline(m, editor, b, c) && !breaklinesAdded_) {
        // Marked at once rather than when the command ends, so that closing the window
        // meanwhile still asks about the unsaved breaklines.
        breaklinesAdded_ = true;
        model::MarkModified(session_);
      }
    }
    previousPoint_ = c;
  }
  Status(CommandKind::NewBreakline, m.BreaklineCount > breaklineStart_ ? m.BreaklineCount - breaklineStart_ : 0);
  ui_.PicksChanged();
}

void ActiveCommandState::EndNewBreakline() {
  if (session_.model.BreaklineCount > breaklineStart_) {
    editors_.breaklineEditor.notExecuted = true;
    model::MarkModified(session_);
  }
  previousPoint_ = NoPoint;
  breaklinesAdded_ = false;
  SetActive(CommandKind::NewBreakline, false);
  Status(CommandKind::NewBreakline, -1);
  ui_.PicksChanged();
}

// ---- Swap -----------------------------------------------------------------------------------

void ActiveCommandState::SwapCommand() {
  if (active_.Has(CommandKind::Swap)) {
    EndSwap();
    return;
  }
  if (active_.Has(CommandKind::Length)) return;
  if (session_.model.TriangleCount == 0) {
    session_.port.ShowWarning(msg::SwapNoTriangles);
    return;
  }
  SetActive(CommandKind::Swap, true);
  Status(CommandKind::Swap, 0);
}

void ActiveCommandState::SwapClick(double x, double y, bool shift) {
  if (shift) {
    tin::DeleteNearestBreakline(session_, editors_.breaklineEditor, x, y);
    ui_.PicksChanged();
  } else if (SwapEdgeAt(session_, locate_, editors_.breaklineEditor, x, y)) {
    ui_.RegenerateMap();
  }
}

void ActiveCommandState::EndSwap() {
  SetActive(CommandKind::Swap, false);
  Status(CommandKind::Swap, -1);
}

// ---- Length ---------------------------------------------------------------------------------

void ActiveCommandState::LengthCommand() {
  if (active_.Has(CommandKind::Length)) {
    FinishLength();
    return;
  }
  SetActive(CommandKind::Length, true);
  Status(CommandKind::Length, 0);
  if (!Allocate(lengthPicks_, PickCapacity)) {
    session_.port.ShowError(msg::ErrorInitializingLength);
    Status(CommandKind::Length, -1);
    SetActive(CommandKind::Length, false);
    return;
  }
  ui_.PicksChanged();
}

void ActiveCommandState::LengthClick(double x, double y, bool shift) {
  const model::SurfaceModel& m = session_.model;
  const analysis::VectorAccumulator& vectors = editors_.analyzer.vectors;
  if (shift) {
    if (lengthPicks_.empty()) return;
    lengthPicks_.pop_back();
  } else {
    if (lengthPicks_.size() >= PickCapacity) {
      session_.port.ShowWarning(msg::LengthCapacityReached);
      return;
    }
    const analysis::LengthPick pick = analysis::NearestLengthPick(m, vectors, x, y);
    if (pick.index == 0) return;
    const analysis::TracePoint at = analysis::PickPosition(m, vectors, pick);
    auto samePlace = [&](const analysis::LengthPick& other) {
      const analysis::TracePoint p = analysis::PickPosition(m, vectors, other);
      return tin::SamePlace(at.x, at.y, p.x, p.y);
    };
    // A pick on the last one adds nothing; nor does closing a path of fewer than three.
    if (!lengthPicks_.empty() && samePlace(lengthPicks_.back())) return;
    if (lengthPicks_.size() == 2 && samePlace(lengthPicks_.front())) return;
    lengthPicks_.push_back(pick);
  }
  Status(CommandKind::Length, Count(lengthPicks_.size()));
  ui_.PicksChanged();
}

void ActiveCommandState::FinishLength() {
  if (lengthPicks_.size() < 2) {
    if (session_.port.AskYesNo(msg::AbortLength)) EndLength();
    return;
  }
  if (ui_.ShowLengthResult(lengthPicks_)) EndLength();
}

void ActiveCommandState::EndLength() {
  Release(lengthPicks_);
  SetActive(CommandKind::Length, false);
  Status(CommandKind::Length, -1);
  ui_.PicksChanged();
}

// ---- Query Triangle -------------------------------------------------------------------------

void ActiveCommandState::QueryTriangleCommand() {
  if (active_.Has(CommandKind::QueryTriangle)) {
    FinishQueryTriangle();
    return;
  }
  SetActive(CommandKind::QueryTriangle, true);
  Status(CommandKind::QueryTriangle, 0);
  if (!Allocate(triangles_, PickCapacity)) {
    session_.port.ShowError(msg::ErrorInitializingQueryTriangle);
    Status(CommandKind::QueryTriangle, -1);
    SetActive(CommandKind::QueryTriangle, false);
    return;
  }
  ui_.PicksChanged();
}

void ActiveCommandState::TriangleClick(double x, double y, bool shift) {
  if (shift) {
    if (triangles_.empty()) return;
    triangles_.pop_back();
  } else {
    if (triangles_.size() >= PickCapacity) {
      session_.port.ShowWarning(msg::QueryTriangleCapacityReached);
      return;
    }
    if (session_.model.TriangleCount == 0) return;
    const tin::Location where = tin::LocateTriangle(session_.model, locate_, x, y);
    if (!where.found) return;
    if (std::find(triangles_.begin(), triangles_.end(), where.triangle) != triangles_.end()) return;
    triangles_.push_back(where.triangle);
  }
  Status(CommandKind::QueryTriangle, Count(triangles_.size()));
  ui_.PicksChanged();
}

void ActiveCommandState::FinishQueryTriangle() {
  if (triangles_.empty()) {
    if (session_.port.AskYesNo(msg::AbortQueryTriangle)) EndQueryTriangle();
    return;
  }
  if (ui_.ShowQueryTriangleResult(triangles_)) EndQueryTriangle();
}

void ActiveCommandState::EndQueryTriangle() {
  Release(triangles_);
  SetActive(CommandKind::QueryTriangle, false);
  Status(CommandKind::QueryTriangle, -1);
  ui_.PicksChanged();
}

// ---- Animate --------------------------------------------------------------------------------

void ActiveCommandState::View3DCommand(const std::function<void()>& showOptions) {
  namespace v3 = settings::View3DOptions;
  if (active_.Has(CommandKind::Animate)) StopAnimation();
  if (showOptions) showOptions();
  const SettingsRecord& s = session_.settings;
  if (!s.Get(v3::View3D) || !s.Get(v3::AutoAnimate)) return;
  if (active_.Any()) {
    session_.port.ShowError(msg::UnableToAnimate);
    return;
  }
  StartAnimation();
}

void ActiveCommandState::StartAnimation() {
  animationVerticalStep_ = session_.settings.Get(settings::View3DOptions::StepRotateVertical);
  SetActive(CommandKind::Animate, true);
  Status(CommandKind::Animate, 0);
}

bool ActiveCommandState::AnimationFrame() {
  if (!active_.Has(CommandKind::Animate)) return false;
  SettingsRecord& s = session_.settings;
  const bool limitReached = Step3D(s, session_.model);
  const bool view3D = s.Get(settings::View3DOptions::View3D);
  if (view3D) ui_.RegenerateMap();
  if (!limitReached && view3D) return true;
  StopAnimation();
  return false;
}

void ActiveCommandState::StopAnimation() {
  SettingsRecord& s = session_.settings;
  s.Set(settings::View3DOptions::StepRotateVertical, animationVerticalStep_);
  s.Set(settings::View3DOptions::AutoAnimate, false);
  SetActive(CommandKind::Animate, false);
  Status(CommandKind::Animate, -1);
}

}  // namespace terravue::app

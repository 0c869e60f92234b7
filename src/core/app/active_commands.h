#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "analysis/measure.h"
#include "app/command_state.h"
#include "model/indices.h"

namespace terravue {
struct Session;
namespace tin {
struct LocateState;
}
}  // namespace terravue

// The interactive commands that stay active between events and take the map clicks: New Border,
// Length, New Breakline, Swap, Query Triangle and the 3-D animation, with the two query dialogs
// that only mark what they show. One small state machine for all of them: starting, the click
// and shift-click of each, repeating its menu item, and QuitActiveCommand.
namespace terravue::app {

struct EditorState;

// What the protocols ask of the window. The defaults do nothing, so that a caller implements
// only what it shows.
class ActiveCommandUi {
 public:
  virtual ~ActiveCommandUi() = default;
  // A flag was set or cleared: menus, buttons and the quit items follow (`SetCommandActive`).
  virtual void CommandsChanged() {}
  // `ShowCommandStatus`: the text of the command status line (empty clears it).
  virtual void ShowCommandStatus(std::string_view /*text*/) {}
  // The picks changed: the rubber band and work marks are drawn again.
  virtual void PicksChanged() {}
  // The model changed under the map: everything is drawn again.
  virtual void RegenerateMap() {}
  // The result dialogs of Length and Query Triangle (shown with at least two points or one
  // triangle). True ends the command ("Finish"), false returns to picking ("Continue").
  virtual bool ShowLengthResult(const std::vector<analysis::LengthPick>& /*picks*/) { return true; }
  virtual bool ShowQueryTriangleResult(const std::vector<TriangleIndex>& /*triangles*/) { return true; }
};

// The work lists hold up to this many picks or triangles.
inline constexpr std::size_t PickCapacity = 500;

class ActiveCommandState {
 public:
  ActiveCommandState(Session& session, EditorState& editors, tin::LocateState& locate, ActiveCommandUi& ui);

  const ActiveCommands& Active() const { return active_; }

  // The menu items: each starts its command, or when it runs, ends or finishes it.
  void NewBorderCommand();     // Border Editor "&New"
  void NewBreaklineCommand();  // Breakline Editor "&Add"
  void SwapCommand();          // Breakline Editor "&Swap"
  void LengthCommand();        // General "&Length"
  void QueryTriangleCommand(); // Surface Analyzer "&Query Triangle"
  // The 3-D View command: a running animation stops, the options dialog is shown
  // (`showOptions` stores and redraws on OK), and then, when the view is 3-D with "Automatic"
  // on, the animation starts, or the error box says why it cannot while another command runs.
  void View3DCommand(const std::function<void()>& showOptions);
  // The 3-D view starts its animation; quitting stops it and switches the option off.
  void StartAnimation();
  // One frame of the running animation (the front end's timer calls it between events): a step
  // of the view and, while the view is 3-D, a regenerated map. False once the animation has
  // ended: a limit was reached, or the view is no longer 3-D.
  bool AnimationFrame();
  // Kinds 3 and 6, set around their modal dialogs.
  void SetQueryFlag(CommandKind kind, bool on);

  // A left-button release on the map once the cursor stands at (x, y). `shift` is true only
  // when the modifiers were exactly Shift.
  void Click(double x, double y, bool shift);
  // ESC, "&Quit Active Command" and the context menu's quit entry.
  void QuitActiveCommand();

  // What the work marks show.
  const std::vector<PointIndex>& BorderPicks() const { return borderPicks_; }
  // Data points and accumulator vertices.
  const std::vector<analysis::LengthPick>& LengthPicks() const { return lengthPicks_; }
  const std::vector<TriangleIndex>& QueriedTriangles() const { return triangles_; }
  // The breaklines added by New Breakline are start + 1 .. BreaklineCount.
  BreaklineIndex NewBreaklineStart() const { return breaklineStart_; }
  PointIndex NewBreaklinePrevious() const { return previousPoint_; }

 private:
  void SetActive(CommandKind kind, bool on);
  void Status(CommandKind kind, int n);

  void BorderClick(double x, double y, bool shift);
  void AbortNewBorder();
  void EndNewBorder();

  void BreaklineClick(double x, double y, bool shift);
  void EndNewBreakline();

  void SwapClick(double x, double y, bool shift);
  void EndSwap();

  void LengthClick(double x, double y, bool shift);
  void FinishLength();
  void EndLength();

  void TriangleClick(double x, double y, bool shift);
  void FinishQueryTriangle();
  void EndQueryTriangle();

  void StopAnimation();

  Session& session_;
  EditorState& editors_;
  tin::LocateState& locate_;
  ActiveCommandUi& ui_;
  ActiveCommands active_;

  std::vector<PointIndex> borderPicks_;
  std::vector<analysis::LengthPick> lengthPicks_;
  std::vector<TriangleIndex> triangles_;
  // The stored vertical rotation step, which the animation's swings turn, put back at its end.
  double animationVerticalStep_ = 0;
  BreaklineIndex breaklineStart_ = NoBreakline;
  PointIndex previousPoint_ = NoPoint;
  bool breaklinesAdded_ = false;
};

}  // namespace terravue::app

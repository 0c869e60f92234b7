// The protocols of the interactive commands, driven as the window drives them: start, clicks,
// shift-clicks, repeating the menu item and QuitActiveCommand, with a scripted user.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/active_commands.h"
#include "common/app_settings.h"
#include "app/editors.h"
#include "common/view3d_settings.h"
#include "tin/breaklines.h"
#include "tin/constrained_edges.h"
#include "window_fixture.h"

namespace terravue::app {
namespace {

using FakeKind = testing::FakePort::Kind;

std::vector<analysis::LengthPick> DataPoints(std::initializer_list<PointIndex> points) {
  std::vector<analysis::LengthPick> picks;
  for (PointIndex p : points) picks.push_back({p, true});
  return picks;
}

// Records what the protocols ask of the window.
struct RecordingUi : ActiveCommandUi {
  void CommandsChanged() override {
    ++changes;
    if (owner) history.push_back(owner->Active());
  }
  void ShowCommandStatus(std::string_view text) override { status.emplace_back(text); }
  void PicksChanged() override { ++picks; }
  void RegenerateMap() override { ++regenerations; }
  bool ShowLengthResult(const std::vector<analysis::LengthPick>& p) override {
    lengthShown.push_back(p);
    return finishResult;
  }
  bool ShowQueryTriangleResult(const std::vector<TriangleIndex>& t) override {
    trianglesShown.push_back(t);
    return finishResult;
  }

  const ActiveCommandState* owner = nullptr;
  std::vector<ActiveCommands> history;  // the flags after each change
  int changes = 0, picks = 0, regenerations = 0;
  std::vector<std::string> status;
  bool finishResult = true;
  std::vector<std::vector<analysis::LengthPick>> lengthShown;
  std::vector<std::vector<TriangleIndex>> trianglesShown;
};

// A square of four points around a fifth in the middle, triangulated.
class ActiveCommandsTest : public WindowTest {
 protected:
  ActiveCommandsTest() { ui.owner = &commands; }

  void Site(bool triangulate = true) {
    AddPoints({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 50}});
    if (triangulate) Triangulate();
  }
  void ClickAt(PointIndex p, bool shift = false) { commands.Click(model.PointX[p], model.PointY[p], shift); }
  std::string LastStatus() const { return ui.status.empty() ? "<none>" : ui.status.back(); }

  EditorState editors;
  RecordingUi ui;
  ActiveCommandState commands{session, editors, locate, ui};
};

TEST_F(ActiveCommandsTest, StatusTexts) {
  EXPECT_EQ(CommandStatusText(CommandKind::NewBorder, 3),
            " Active Command: New Border (click = Add : [shift]click = Delete) - 3");
  EXPECT_EQ(CommandStatusText(CommandKind::Length, 0), " Active Command: Length (click = Add : [shift]click = Delete) - 0");
  EXPECT_EQ(CommandStatusText(CommandKind::NewBreakline, 12),
            " Active Command: New Breakline (click = Add : [shift]click = Delete) - 12");
  EXPECT_EQ(CommandStatusText(CommandKind::Swap, 5), " Active Command: Swap (click = Swap : [shift]click = Delete)");
  EXPECT_EQ(CommandStatusText(CommandKind::Animate, 0), " Active Command: Animate (Press ESC to stop)");
  EXPECT_EQ(CommandStatusText(CommandKind::QueryTriangle, 1),
            " Active Command: Query Triangle (click = Add : [shift]click = Delete) - 1");
  EXPECT_EQ(CommandStatusText(CommandKind::QueryPoint, 1), "");
  EXPECT_EQ(CommandStatusText(CommandKind::NewBorder, -1), "");
}

TEST_F(ActiveCommandsTest, NewBorderClosesOnItsFirstPointAfterThreeOthers) {
  Site();
  editors.active = Editor::Border;
  tin::AllocateBorderErrors(session, editors.borderErrors);
  commands.NewBorderCommand();
  ASSERT_TRUE(commands.Active().Has(CommandKind::NewBorder));
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::NewBorder, 0));

  ClickAt(1);
  ClickAt(2);
  ClickAt(1);  // only two picked: refused, still running
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{"The selected point is already part of the border."});
  EXPECT_TRUE(commands.Active().Has(CommandKind::NewBorder));
  ClickAt(2);  // not the first point: refused as well
  EXPECT_EQ(port.Texts(FakeKind::Error).size(), 2u);
  ClickAt(3);
  ClickAt(4);
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::NewBorder, 4));
  EXPECT_EQ(commands.BorderPicks(), (std::vector<PointIndex>{1, 2, 3, 4}));
  ClickAt(1);

  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(LastStatus(), "");
  EXPECT_EQ(model.BorderNext[1], 2);
  EXPECT_EQ(model.BorderNext[4], 1);
  EXPECT_EQ(model.BorderNext[5], NoPoint);
  EXPECT_EQ(model.TriangleCount, 0);  // the old triangulation is void
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(ui.regenerations, 1);
  EXPECT_EQ(port.Texts(FakeKind::Question).front(), "Report points near the border");  // the verification ran
}

TEST_F(ActiveCommandsTest, NewBorderShiftClickRemovesTheLastPick) {
  Site();
  commands.NewBorderCommand();
  ClickAt(1, true);  // nothing picked: nothing happens
  EXPECT_TRUE(commands.BorderPicks().empty());
  ClickAt(1);
  ClickAt(2);
  ClickAt(5, true);  // removes the last pick, wherever the click was
  EXPECT_EQ(commands.BorderPicks(), std::vector<PointIndex>{1});
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::NewBorder, 1));
}

TEST_F(ActiveCommandsTest, NewBorderAbortIsAskedOnQuitAndOnRepeat) {
  Site();
  SetBorder({1, 2, 3});
  commands.NewBorderCommand();
  ClickAt(4);
  port.yesNoAnswers = {false};
  commands.QuitActiveCommand();
  EXPECT_EQ(port.Texts(FakeKind::Question),
            std::vector<std::string>{"The new border is not closed.\r\nDo you wish to abort the 'New Border' command?"});
  EXPECT_TRUE(commands.Active().Has(CommandKind::NewBorder));
  EXPECT_EQ(port.discardQuestions, port.Texts(FakeKind::Question));  // the picks would be lost
  port.yesNoAnswers = {true};
  commands.NewBorderCommand();  // "&New" again
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(model.BorderNext[1], 2);  // the old border stays
  EXPECT_EQ(model.BorderNext[4], NoPoint);
}

TEST_F(ActiveCommandsTest, NewBorderNewBreaklineAndSwapDoNotStartDuringLength) {
  Site();
  commands.LengthCommand();
  commands.NewBorderCommand();
  commands.NewBreaklineCommand();
  commands.SwapCommand();
  EXPECT_EQ(commands.Active(), ActiveCommands{CommandKind::Length});
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(ActiveCommandsTest, NewBreaklineLaysAChainWithoutRepeats) {
  Site();
  editors.active = Editor::Breakline;
  tin::EnterBreaklineEditor(session, editors.breaklineEditor);
  model.Breaklines[++model.BreaklineCount] = {3, 2};
  commands.NewBreaklineCommand();
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::NewBreakline, 0));
  ClickAt(1);
  ClickAt(1);  // the same point twice adds nothing
  EXPECT_EQ(model.BreaklineCount, 1);
  ClickAt(2);  // 1-2
  ClickAt(3);  // 2-3 exists as 3-2: nothing added, but 3 is the previous point now
  ClickAt(4);  // 3-4
  EXPECT_EQ(model.BreaklineCount, 3);
  EXPECT_EQ(model.Breaklines[2].From, 1);
  EXPECT_EQ(model.Breaklines[3].From, 3);
  EXPECT_EQ(model.Breaklines[3].To, 4);
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::NewBreakline, 2));
  EXPECT_FALSE(settings.Get(settings::ModelSaved));  // marked at once: closing the window asks

  ClickAt(5, true);  // removes 3-4; 3 becomes the previous point
  EXPECT_EQ(model.BreaklineCount, 2);
  EXPECT_EQ(commands.NewBreaklinePrevious(), 3);
  ClickAt(5);  // 3-5
  EXPECT_EQ(model.Breaklines[3].To, 5);
  ClickAt(5, true);
  ClickAt(5, true);  // removes 1-2
  ClickAt(5, true);  // nothing added any more: only the previous point goes
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(commands.NewBreaklinePrevious(), NoPoint);

  ClickAt(4);
  ClickAt(5);
  commands.NewBreaklineCommand();  // "&Add" again ends it
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(model.BreaklineCount, 2);
  EXPECT_TRUE(editors.breaklineEditor.notExecuted);
  EXPECT_EQ(LastStatus(), "");
}

TEST_F(ActiveCommandsTest, NewBreaklineAtCapacityWarnsAndDoesNotStart) {
  Site();
  model.BreaklineCount = model.MaxBreaklines;
  commands.NewBreaklineCommand();
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(port.Texts(FakeKind::Warning),
            std::vector<std::string>{"Breaklines are at capacity. No more breaklines can be added."});
}

TEST_F(ActiveCommandsTest, SwapNeedsTrianglesAndRoutesItsClicks) {
  Site(false);
  commands.SwapCommand();
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(port.Texts(FakeKind::Warning), std::vector<std::string>{"Swap command can not be performed.\r\nNo triangles exist."});

  Triangulate();
  model.Breaklines[++model.BreaklineCount] = {1, 5};
  commands.SwapCommand();
  EXPECT_EQ(LastStatus(), " Active Command: Swap (click = Swap : [shift]click = Delete)");
  commands.Click(40, 10, false);  // the nearest edge lies on the outside
  commands.Click(30, 25, false);  // around 1-5 the quadrilateral is not convex
  EXPECT_EQ(port.Texts(FakeKind::Error),
            (std::vector<std::string>{"No adjacent triangle to swap.", "Unable to swap triangles."}));
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(ui.regenerations, 0);
  commands.Click(20, 20, true);  // deletes the breakline nearest the cursor
  EXPECT_EQ(model.BreaklineCount, 0);
  commands.QuitActiveCommand();
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(LastStatus(), "");
}

// A kite of two triangles: each click turns the diagonal and records the new one as the only
// breakline along it.
TEST_F(ActiveCommandsTest, SwapTurnsTheDiagonalAndRecordsIt) {
  AddPoints({{0, 0}, {100, 0}, {120, 80}, {0, 50}});
  Triangulate();
  ASSERT_EQ(model.TriangleCount, 2);
  auto isEdge = [this](PointIndex p, PointIndex q) {
    for (TriangleIndex t = 1; t <= model.TriangleCount; ++t)
      if (tin::EdgeSlot(model, t, p, q).found) return true;
    return false;
  };
  commands.SwapCommand();
  for (int turn = 0; turn < 2; ++turn) {
    const bool across13 = isEdge(1, 3);
    const PointIndex a = across13 ? 1 : 2, b = across13 ? 3 : 4;
    commands.Click((model.PointX[a] + model.PointX[b]) / 2, (model.PointY[a] + model.PointY[b]) / 2, false);
    const PointIndex o = across13 ? 2 : 1, w = across13 ? 4 : 3;
    EXPECT_TRUE(isEdge(o, w));
    EXPECT_FALSE(isEdge(a, b));
    EXPECT_EQ(model.TriangleCount, 2);
    ASSERT_EQ(model.BreaklineCount, 1);  // the old diagonal's breakline went
    EXPECT_TRUE(tin::FindBreakline(model, o, w, 1, 1));
  }
  EXPECT_TRUE(port.Texts(FakeKind::Error).empty()) << port.Transcript();
  EXPECT_EQ(ui.regenerations, 2);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
}

TEST_F(ActiveCommandsTest, LengthAsksBeforeAbortingWithTooFewPoints) {
  Site();
  commands.LengthCommand();
  ClickAt(1);
  port.yesNoAnswers = {false};
  commands.LengthCommand();  // finishing with one point: the question, No keeps picking
  EXPECT_EQ(port.Texts(FakeKind::Question),
            std::vector<std::string>{
                "At least two points must be selected to calculate information.\r\nDo you wish to abort the 'Length' command?"});
  EXPECT_TRUE(commands.Active().Has(CommandKind::Length));
  ClickAt(1);  // the same point again adds nothing
  ClickAt(2);
  ClickAt(1);  // with two picks, closing on the first is ignored
  EXPECT_EQ(commands.LengthPicks(), DataPoints({1, 2}));
  ClickAt(3);
  ClickAt(1);  // with three it closes the path
  EXPECT_EQ(commands.LengthPicks(), DataPoints({1, 2, 3, 1}));
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::Length, 4));

  ui.finishResult = false;  // "Continue"
  commands.QuitActiveCommand();
  EXPECT_TRUE(commands.Active().Has(CommandKind::Length));
  ui.finishResult = true;  // "Finish"
  commands.LengthCommand();
  EXPECT_EQ(ui.lengthShown.size(), 2u);
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_TRUE(commands.LengthPicks().empty());
}

// Length picks vertices of the vector accumulator too; a vertex exactly as near as the nearest
// data point leaves the pick to the data point.
TEST_F(ActiveCommandsTest, LengthPicksAccumulatorVerticesStrictlyNearer) {
  Site();
  analysis::VectorAccumulator& vectors = editors.analyzer.vectors;
  vectors.Record(false, false, 30, 30, 5);   // vertex 1: nearer to (30, 31) than point 5
  vectors.Record(true, false, 40, 60, 6);    // vertex 2: as far from (45, 55) as point 5
  commands.LengthCommand();
  commands.Click(30, 31, false);
  commands.Click(45, 55, false);
  EXPECT_EQ(commands.LengthPicks(), (std::vector<analysis::LengthPick>{{1, false}, {5, true}}));
  commands.LengthCommand();
  ASSERT_EQ(ui.lengthShown.size(), 1u);
}

TEST_F(ActiveCommandsTest, QueryTriangleListsEachTriangleOnce) {
  Site();
  commands.QueryTriangleCommand();
  commands.Click(500, 500, false);  // off the surface: nothing
  commands.Click(50, 10, false);
  commands.Click(51, 11, false);  // the same triangle
  commands.Click(10, 50, false);
  EXPECT_EQ(commands.QueriedTriangles().size(), 2u);
  EXPECT_EQ(LastStatus(), CommandStatusText(CommandKind::QueryTriangle, 2));
  commands.Click(0, 0, true);
  EXPECT_EQ(commands.QueriedTriangles().size(), 1u);
  commands.QueryTriangleCommand();
  ASSERT_EQ(ui.trianglesShown.size(), 1u);
  EXPECT_FALSE(commands.Active().Any());
}

TEST_F(ActiveCommandsTest, QueryTriangleWithoutTrianglesAsksBeforeAborting) {
  Site();
  commands.QueryTriangleCommand();
  port.yesNoAnswers = {true};
  commands.QuitActiveCommand();
  EXPECT_EQ(port.Texts(FakeKind::Question).size(), 1u);
  EXPECT_TRUE(ui.trianglesShown.empty());
  EXPECT_FALSE(commands.Active().Any());
}

TEST_F(ActiveCommandsTest, QuitRunsTheAbortStepsInOrder) {
  Site();
  commands.SwapCommand();
  commands.QueryTriangleCommand();  // exceptionally several at once
  commands.StartAnimation();
  settings.Set(settings::View3DOptions::AutoAnimate, true);
  ui.history.clear();
  port.yesNoAnswers = {true};
  commands.QuitActiveCommand();
  // Swap, then Animate, then Query Triangle (which asks first).
  using K = CommandKind;
  EXPECT_EQ(ui.history, (std::vector<ActiveCommands>{{K::QueryTriangle, K::Animate}, {K::QueryTriangle}, {}}));
  EXPECT_FALSE(settings.Get(settings::View3DOptions::AutoAnimate));
  EXPECT_EQ(port.Texts(FakeKind::Question).size(), 1u);
}

// ---- The 3-D View command and the animation's frames, as the window's timer drives them ---

namespace v3 = settings::View3DOptions;

// The options dialog as the user leaves it: the view in 3-D with "Automatic" on.
void AskForAnimation(SettingsRecord& s) {
  s.Set(v3::View3D, true);
  s.Set(v3::AutoAnimate, true);
}

TEST_F(ActiveCommandsTest, View3DCommandStartsTheAnimationWhoseFramesTurnTheView) {
  Site();
  settings.Set(v3::TargetX, 50.0);
  settings.Set(v3::TargetY, 50.0);
  commands.View3DCommand([&] { AskForAnimation(settings); });
  EXPECT_TRUE(commands.Active().Has(CommandKind::Animate));
  EXPECT_EQ(LastStatus(), " Active Command: Animate (Press ESC to stop)");
  const double x = settings.Get(v3::ViewOffsetX);
  EXPECT_TRUE(commands.AnimationFrame());
  EXPECT_TRUE(commands.AnimationFrame());
  EXPECT_NE(settings.Get(v3::ViewOffsetX), x);
  EXPECT_EQ(ui.regenerations, 2);

  // The command again stops the animation before its dialog opens, "Automatic" off.
  bool animatingInDialog = true, automaticInDialog = true;
  commands.View3DCommand([&] {
    animatingInDialog = commands.Active().Has(CommandKind::Animate);
    automaticInDialog = settings.Get(v3::AutoAnimate);
  });
  EXPECT_FALSE(animatingInDialog);
  EXPECT_FALSE(automaticInDialog);
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_FALSE(commands.AnimationFrame());
  EXPECT_EQ(ui.regenerations, 2);
}

TEST_F(ActiveCommandsTest, AnimationWaitsForTheOtherCommandsToEnd) {
  Site();
  commands.LengthCommand();
  commands.View3DCommand([&] { AskForAnimation(settings); });
  EXPECT_EQ(port.Texts(FakeKind::Error),
            std::vector<std::string>{"Unable to animate image while performing another command."});
  EXPECT_FALSE(commands.Active().Has(CommandKind::Animate));
  EXPECT_FALSE(commands.AnimationFrame());
}

// However the animation ends (ESC, a limit, the view no longer 3-D), the vertical step its
// swings turned is put back and "Automatic" is off.
TEST_F(ActiveCommandsTest, AnimationEndsWithItsVerticalStepPutBack) {
  struct Ending {
    const char* name;
    std::function<void()> end;
  };
  const Ending endings[] = {
      {"escape", [this] { commands.QuitActiveCommand(); }},
      {"plan view",
       [this] {
         settings.Set(v3::View3D, false);
         EXPECT_FALSE(commands.AnimationFrame());
       }},
      {"limit",
       [this] {
         // Straight down into the site's box from just above it.
         settings.Set(v3::MovementType, static_cast<std::int16_t>(v3::Movement::LinearZ));
         settings.Set(v3::ViewOffsetX, 0.0);
         settings.Set(v3::ViewOffsetY, -40.0);
         settings.Set(v3::ViewOffsetZ, 30.0);
         settings.Set(v3::StepLinearZ, -20.0);
         model.MinZ = -5, model.MaxZ = 5;
         EXPECT_FALSE(commands.AnimationFrame());
       }},
  };
  for (const Ending& e : endings) {
    SCOPED_TRACE(e.name);
    settings = DefaultSettings();
    Site();
    settings.Set(v3::TargetX, 50.0);
    settings.Set(v3::TargetY, 50.0);
    settings.Set(v3::MovementType, static_cast<std::int16_t>(v3::Movement::RotateVertical));
    settings.Set(v3::StepRotateVertical, -30.0);  // up from 77 degrees: over the top in three
    commands.View3DCommand([&] { AskForAnimation(settings); });
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(commands.AnimationFrame());
    EXPECT_EQ(settings.Get(v3::StepRotateVertical), 30.0);
    e.end();
    EXPECT_FALSE(commands.Active().Any());
    EXPECT_EQ(settings.Get(v3::StepRotateVertical), -30.0);
    EXPECT_FALSE(settings.Get(v3::AutoAnimate));
    EXPECT_EQ(LastStatus(), "");
    model.PointCount = 0;
  }
}

TEST_F(ActiveCommandsTest, QuitWithNothingActiveDoesNothing) {
  Site();
  commands.QuitActiveCommand();
  EXPECT_EQ(ui.changes, 0);
  EXPECT_TRUE(ui.status.empty());
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(ActiveCommandsTest, QueryFlagsOnlyMark) {
  commands.SetQueryFlag(CommandKind::QueryPoint, true);
  EXPECT_TRUE(commands.Active().Has(CommandKind::QueryPoint));
  EXPECT_FALSE(commands.Active().AnyHolding());
  commands.SetQueryFlag(CommandKind::QueryPoint, false);
  commands.SetQueryFlag(CommandKind::Swap, true);  // not a query kind: ignored
  EXPECT_FALSE(commands.Active().Any());
  EXPECT_EQ(ui.changes, 2);
}

// ---- Editors --------------------------------------------------------------------------------

TEST_F(ActiveCommandsTest, EditorsSwitchWithTheirEnterAndLeaveSteps) {
  Site();
  EditorSwitch s = SelectEditor(session, editors, {}, Editor::Border);
  EXPECT_TRUE(s.switched && s.redraw);
  EXPECT_FALSE(editors.borderErrors.flags.empty());

  s = SelectEditor(session, editors, {}, Editor::Breakline);
  EXPECT_EQ(s.left, Editor::Border);
  EXPECT_TRUE(editors.borderErrors.flags.empty());  // released on leaving
  EXPECT_FALSE(editors.breaklineEditor.errorFlags.empty());
  EXPECT_EQ(editors.breaklineEditor.errorCursor, 1);

  s = SelectEditor(session, editors, {}, Editor::Coordinate);
  EXPECT_TRUE(s.redraw);  // the breakline marks go
  EXPECT_TRUE(editors.breaklineEditor.errorFlags.empty());
  s = SelectEditor(session, editors, {}, Editor::General);
  EXPECT_TRUE(s.switched);
  EXPECT_FALSE(s.redraw);

  s = SelectEditor(session, editors, {}, Editor::General);
  EXPECT_FALSE(s.switched);
}

TEST_F(ActiveCommandsTest, EditorsCannotChangeWhileACommandIsActive) {
  Site();
  editors.active = Editor::Border;
  for (auto kind : {CommandKind::NewBorder, CommandKind::QueryPoint}) {
    const EditorSwitch s = SelectEditor(session, editors, ActiveCommands{kind}, Editor::Coordinate);
    EXPECT_FALSE(s.switched);
    EXPECT_EQ(editors.active, Editor::Border);
  }
}

}  // namespace
}  // namespace terravue::app

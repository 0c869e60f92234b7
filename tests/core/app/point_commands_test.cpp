#include <deque>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "app/cursor.h"
#include "app/editors.h"
#include "app/point_commands.h"
#include "common/messages.h"
#include "device/page_setup_settings.h"
#include "window_fixture.h"

namespace terravue::app {
namespace {

using testing::FakePort;

// The point dialog as a script: records what it was asked to show and answers from a queue
// (an empty queue cancels). `nullopt` in the queue cancels; a value is what the user confirmed.
class ScriptedPointDialog : public PointDialog {
 public:
  struct Shown {
    std::string caption;
    PointIndex number;
    tin::PointValues values;
    bool readOnly;
    int help;
  };
  std::optional<tin::PointValues> Show(const PointDialogRequest& r) override {
    shown.push_back({std::string(r.caption), r.number, r.values, r.readOnly, r.helpContext});
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    // A read-only dialog hands back what it showed.
    if (answer && r.readOnly) answer = r.values;
    return answer;
  }
  // OK with the values shown (read-only dialogs).
  void Ok() { answers.push_back(tin::PointValues{}); }
  void Ok(tin::PointValues v) { answers.push_back(std::move(v)); }
  void Cancel() { answers.push_back(std::nullopt); }

  std::vector<Shown> shown;
  std::deque<std::optional<tin::PointValues>> answers;
};

class PointCommandsTest : public WindowTest {
 protected:
  // A triangulated square of 4 corners with a fifth point in the middle, no border.
  void Site() {
    AddPoints({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    AddPoint(50, 50, 7, "MID");
    Triangulate();
  }
  CursorState At(double x, double y, double z = 0) { return {x, y, z, false}; }

  ScriptedPointDialog dialog;
  tin::UndeleteStack undelete;
};

TEST_F(PointCommandsTest, AddPointProposesTheNextNumberAndTheCursorThenAddsWhatWasConfirmed) {
  Site();
  dialog.Cancel();
  EXPECT_FALSE(AddPointCommand(session, locate, dialog, At(20, 30, 4)).changed);
  ASSERT_EQ(dialog.shown.size(), 1u);
  const auto& asked = dialog.shown[0];
  EXPECT_EQ(asked.caption, "Add Point");
  EXPECT_EQ(asked.number, 6);
  EXPECT_EQ(asked.values.label, "   6");
  EXPECT_EQ(asked.values.x, 20);
  EXPECT_EQ(asked.values.y, 30);
  EXPECT_EQ(asked.values.z, 4);
  EXPECT_FALSE(asked.readOnly);
  EXPECT_EQ(asked.help, AddPointHelp);
  EXPECT_EQ(model.PointCount, 5);

  dialog.Ok({"NEW", 25.1234, 30, 9});
  const auto result = AddPointCommand(session, locate, dialog, At(20, 30, 4));
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(result.resetScale);
  ASSERT_EQ(model.PointCount, 6);
  EXPECT_EQ(model.GetPointLabel(6), " NEW");
  EXPECT_DOUBLE_EQ(model.PointX[6], 25.123);
  EXPECT_EQ(model.PointZ[6], 9);
  EXPECT_EQ(model.TriangleCount, 6) << "the surface takes the new point in";
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(PointCommandsTest, AddingOutsideTheExtremesRefitsThePage) {
  Site();
  const double scaleBefore = settings.Get(device::PageSetup::MapScale);
  port.yesNoAnswers = {true};
  dialog.Ok({"FAR", 5000, 5000, 1});
  const auto result = AddPointCommand(session, locate, dialog, At(0, 0));
  EXPECT_TRUE(result.changed);
  EXPECT_TRUE(result.resetScale);
  EXPECT_EQ(model.MaxX, 5000);
  EXPECT_GT(settings.Get(device::PageSetup::MapScale), scaleBefore) << "the sheet holds the new extents";
  EXPECT_EQ(port.Texts(FakePort::Kind::Question), std::vector<std::string>{std::string(msg::PointOutsideExtremes)});
}

TEST_F(PointCommandsTest, DeleteShowsTheNearestPointReadOnlyAndKeepsItForUndelete) {
  Site();
  dialog.Cancel();
  EXPECT_FALSE(DeletePointCommand(session, locate, undelete, dialog, At(48, 52)).changed);
  EXPECT_EQ(model.PointCount, 5);
  EXPECT_TRUE(undelete.Empty());
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].caption, "Delete Point");
  EXPECT_EQ(dialog.shown[0].number, 5);
  EXPECT_EQ(dialog.shown[0].values.label, " MID");
  EXPECT_TRUE(dialog.shown[0].readOnly);
  EXPECT_EQ(dialog.shown[0].help, DeletePointHelp);

  dialog.Ok();
  EXPECT_TRUE(DeletePointCommand(session, locate, undelete, dialog, At(48, 52)).changed);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(model.TriangleCount, 2);
  ASSERT_EQ(undelete.Size(), 1u);

  dialog.Ok();
  EXPECT_TRUE(UndeletePointCommand(session, locate, undelete, dialog).changed);
  ASSERT_EQ(dialog.shown.size(), 3u);
  EXPECT_EQ(dialog.shown[2].caption, "Undelete Point");
  EXPECT_EQ(dialog.shown[2].number, 5);
  EXPECT_TRUE(dialog.shown[2].readOnly);
  EXPECT_EQ(dialog.shown[2].help, UndeletePointHelp);
  ASSERT_EQ(model.PointCount, 5);
  EXPECT_EQ(model.GetPointLabel(5), " MID");
  EXPECT_EQ(model.PointX[5], 50);
  EXPECT_EQ(model.PointZ[5], 7);
  EXPECT_EQ(model.TriangleCount, 4);
  EXPECT_TRUE(undelete.Empty());
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(PointCommandsTest, ARefusedDeletionKeepsNothingForUndelete) {
  AddPoints({{0, 0}, {100, 0}, {100, 100}});
  dialog.Ok();
  EXPECT_FALSE(DeletePointCommand(session, locate, undelete, dialog, At(0, 0)).changed);
  EXPECT_EQ(port.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::InsufficientPointsForOption)});
  EXPECT_TRUE(undelete.Empty());
}

TEST_F(PointCommandsTest, UndeleteSaysWhyWhenItCannot) {
  Site();
  EXPECT_FALSE(UndeletePointCommand(session, locate, undelete, dialog).changed);
  EXPECT_EQ(port.Texts(FakePort::Kind::Info), std::vector<std::string>{std::string(msg::NothingToUndelete)});

  undelete.Push({"OLD", 10, 10, 0});
  model.PointCount = model.MaxPoints;
  EXPECT_FALSE(UndeletePointCommand(session, locate, undelete, dialog).changed);
  EXPECT_EQ(port.Texts(FakePort::Kind::Warning), std::vector<std::string>{std::string(msg::FileAtPointCapacity)});
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_EQ(undelete.Size(), 1u);
}

TEST_F(PointCommandsTest, EditMovesTheNearestPointWithinTheSurface) {
  Site();
  dialog.Ok({"MOVD", 60, 40, 3});
  EXPECT_TRUE(EditPointCommand(session, locate, dialog, At(51, 51)).changed);
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].caption, "Edit Point");
  EXPECT_EQ(dialog.shown[0].number, 5);
  EXPECT_EQ(dialog.shown[0].values.x, 50);
  EXPECT_FALSE(dialog.shown[0].readOnly);
  EXPECT_EQ(dialog.shown[0].help, EditPointHelp);
  EXPECT_EQ(model.PointX[5], 60);
  EXPECT_EQ(model.PointY[5], 40);
  EXPECT_EQ(model.GetPointLabel(5), "MOVD");
  EXPECT_EQ(model.TriangleCount, 4);
}

TEST_F(PointCommandsTest, EnteringTheCoordinateEditorEmptiesTheUndeleteStack) {
  Site();
  EditorState editors;
  editors.undeletePoints.Push({"A", 1, 1, 1});
  ASSERT_TRUE(SelectEditor(session, editors, {}, Editor::Border).switched);
  EXPECT_EQ(editors.undeletePoints.Size(), 1u) << "other editors leave it alone";
  ASSERT_TRUE(SelectEditor(session, editors, {}, Editor::Coordinate).switched);
  EXPECT_TRUE(editors.undeletePoints.Empty());
}

}  // namespace
}  // namespace terravue::app

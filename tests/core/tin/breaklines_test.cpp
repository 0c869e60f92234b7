#include "tin/breaklines.h"

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::FakePort;
using Kind = FakePort::Kind;

std::string Text(std::string_view text) { return std::string(text); }

class BreaklineTest : public TinTest {
 protected:
  void SetUp() override {
    TinTest::SetUp();
    ASSERT_TRUE(EnterBreaklineEditor(session, editor));
  }
  std::vector<std::pair<int, int>> Lines() const {
    std::vector<std::pair<int, int>> lines;
    for (int i = 1; i <= model.BreaklineCount; ++i)
      lines.emplace_back(model.Breaklines[static_cast<std::size_t>(i)].From, model.Breaklines[static_cast<std::size_t>(i)].To);
    return lines;
  }
  BreaklineEditorState editor;
};

TEST_F(BreaklineTest, FindAndNearestTreatBreaklinesAsUndirected) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  AddBreakline(1, 2);
  AddBreakline(3, 4);
  AddBreakline(2, 3);
  EXPECT_TRUE(FindBreakline(model, 2, 1, 1, 3));
  EXPECT_FALSE(FindBreakline(model, 2, 1, 2, 3));
  EXPECT_FALSE(FindBreakline(model, 1, 3, 1, 3));
  EXPECT_EQ(NearestBreakline(model, 5, 1), 1);
  EXPECT_EQ(NearestBreakline(model, 5, 9), 2);
  EXPECT_EQ(NearestBreakline(model, 11, 4), 3);
}

TEST_F(BreaklineTest, SeriesSkipsPairsAlreadyPresentInEitherDirection) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}});
  AddBreakline(3, 2);
  AddBreaklineSeries(session, editor, 1, 5);
  EXPECT_EQ(Lines(), (std::vector<std::pair<int, int>>{{3, 2}, {1, 2}, {3, 4}, {4, 5}}));
  EXPECT_TRUE(editor.notExecuted);
  AddBreaklineSeries(session, editor, 4, 4);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{Text(msg::StartPointSameAsEndPoint)});
}

TEST_F(BreaklineTest, DeleteKeepsTheLast25ForUndelete) {
  for (int i = 0; i < 30; ++i) AddPoint(i, 0);
  for (int i = 1; i < 30; ++i) AddBreakline(static_cast<PointIndex>(i), static_cast<PointIndex>(i + 1));
  for (int k = 0; k < 26; ++k) DeleteBreakline(model, editor, 1);
  EXPECT_EQ(model.BreaklineCount, 3);
  for (int k = 0; k < 25; ++k) UndeleteBreakline(session, editor);
  EXPECT_EQ(model.BreaklineCount, 28);
  // The newest deletion comes back first; the oldest of the 26 is lost.
  EXPECT_EQ(Lines()[3], (std::pair<int, int>{26, 27}));
  EXPECT_EQ(Lines().back(), (std::pair<int, int>{2, 3}));
  UndeleteBreakline(session, editor);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{Text(msg::NoBreaklinesToUndelete)});
}

TEST_F(BreaklineTest, UndeleteOfABreaklineAddedAgainOnlyStepsBack) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}});
  AddBreakline(1, 2);
  AddBreakline(2, 3);
  DeleteBreakline(model, editor, 1);
  AppendBreakline(model, &editor, 2, 1);
  UndeleteBreakline(session, editor);
  EXPECT_EQ(Lines(), (std::vector<std::pair<int, int>>{{2, 3}, {2, 1}}));
  UndeleteBreakline(session, editor);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{Text(msg::NoBreaklinesToUndelete)});
}

TEST_F(BreaklineTest, KillAsksWithTheCountAndIsNotUndeletable) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  AddBreakline(1, 2);
  AddBreakline(2, 3);
  AddBreakline(3, 4);
  port.yesNoAnswers = {true};
  KillBreaklines(session, editor);
  EXPECT_EQ(port.Texts(Kind::Question), std::vector<std::string>{"Delete all 3 breaklines"});
  EXPECT_EQ(port.discardQuestions, port.Texts(Kind::Question));
  EXPECT_EQ(model.BreaklineCount, 0);
  UndeleteBreakline(session, editor);
  EXPECT_EQ(model.BreaklineCount, 0);
  KillBreaklines(session, editor);
  EXPECT_EQ(port.Texts(Kind::Warning),
            (std::vector<std::string>{Text(msg::NoBreaklinesToUndelete), Text(msg::NoBreaklinesToDelete)}));
}

TEST_F(BreaklineTest, ExecuteForcesListsAndStepsThroughTheFailures) {
  AddPoints({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {3, 11}, {17, 9}});
  AddBreakline(1, 3);
  AddBreakline(2, 4);  // crosses the first, whose edge is then fixed
  ExecuteBreaklines(session, state, editor);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{Text(msg::TriangulateBeforeBreaklines)});

  SetBorder({1, 2, 3, 4});
  const BreaklineIndex count = model.BreaklineCount;
  model.BreaklineCount = 0;
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  model.BreaklineCount = count;
  port.yesNoAnswers = {true};
  ExecuteBreaklines(session, state, editor);
  EXPECT_TRUE(testing::HasEdge(model, 1, 3));
  EXPECT_FALSE(testing::HasEdge(model, 2, 4));
  EXPECT_FALSE(editor.errorFlags[1]);
  EXPECT_TRUE(editor.errorFlags[2]);
  EXPECT_EQ(port.Texts(Kind::Report), std::vector<std::string>{"Breakline Errors.TXT | Save Breakline Error Listing"});
  EXPECT_EQ(NextBreaklineError(session, editor), 2);
  EXPECT_EQ(PreviousBreaklineError(session, editor), 2);
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

TEST_F(BreaklineTest, ErrorSearchExplainsWhyNothingWasFound) {
  EXPECT_EQ(NextBreaklineError(session, editor), NoBreakline);
  AddPoints({{0, 0}, {10, 0}});
  AddBreakline(1, 2);
  EXPECT_EQ(NextBreaklineError(session, editor), NoBreakline);
  editor.notExecuted = true;
  EXPECT_EQ(PreviousBreaklineError(session, editor), NoBreakline);
  EXPECT_EQ(port.Texts(Kind::Info), (std::vector<std::string>{Text(msg::NoBreaklinesPresent), Text(msg::NoBreaklineErrorsFound)}));
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{Text(msg::BreaklinesNotExecuted)});
}

TEST_F(BreaklineTest, AdjustmentWithNothingToDoSucceeds) {
  std::vector<std::uint8_t> flags;
  EXPECT_TRUE(AdjustBreaklines(model, state, port, flags));
  AddPoints({{0, 0}, {10, 0}, {10, 10}});
  AddBreakline(1, 3);
  EXPECT_TRUE(AdjustBreaklines(model, state, port, flags));  // not triangulated
}

}  // namespace
}  // namespace terravue::tin

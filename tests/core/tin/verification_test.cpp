#include <deque>
#include <optional>
#include <vector>
#include <string>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "tin/point_removal.h"
#include "tin/verification.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

class ScriptedChooser : public PairChooser {
 public:
  PairChoice Choose(const PairQuestion& q) override {
    asked.push_back(q);
    if (answers.empty()) return PairChoice::Neither;
    const PairChoice c = answers.front();
    answers.pop_front();
    return c;
  }
  std::deque<PairChoice> answers;
  std::vector<PairQuestion> asked;
};

class VerificationTest : public TinTest {
 protected:
  std::string Listing() const { return port.reports.empty() ? "" : port.reports.back(); }
};

TEST_F(VerificationTest, PairsAreFoundWithinTheDifferencesInclusive) {
  settings.Set(terravue::settings::CoordinateOrder, 1);
  AddPoint(10, 20, 1);
  AddPoint(10.5, 20, 2);
  AddPoint(50, 50, 3);
  VerifyOptions options;
  options.toleranceX = options.toleranceY = 0.5;
  const VerifyResult r = RunVerification(session, options);
  EXPECT_EQ(r.pairs, 1);
  EXPECT_FALSE(r.passed);
  EXPECT_FALSE(r.pointsChanged);
  const std::string text = Listing();
  EXPECT_NE(text.find(msg::VerifyDuplicatePairsWarning), std::string::npos) << text;
  EXPECT_NE(text.find(" Total pairs of duplicate points:    1"), std::string::npos) << text;

  // The location search compares strictly.
  options.searchAll = false;
  options.searchX = 10;
  options.searchY = 20;
  RunVerification(session, options);
  EXPECT_NE(Listing().find(" 1 points were found within the specified tolerance."), std::string::npos) << Listing();
}

TEST_F(VerificationTest, ThreePointsAtOnePlaceAndTheInteractiveChoice) {
  AddPoint(10, 20, 1);
  AddPoint(10, 20, 2);
  AddPoint(10, 20, 3);
  AddPoint(40, 20, 4);
  AddPoint(40, 60, 5);
  AddBreakline(2, 5);
  ScriptedChooser chooser;
  chooser.answers = {PairChoice::First};
  VerifyOptions options;
  options.interactive = true;
  options.chooser = &chooser;
  const VerifyResult r = RunVerification(session, options);
  // First with second (point 1 deleted), then only second with third remains.
  ASSERT_EQ(chooser.asked.size(), 2u);
  EXPECT_EQ(chooser.asked[0].suggested, PairChoice::Second);
  EXPECT_EQ(r.pairs, 2);
  EXPECT_FALSE(r.passed);
  EXPECT_TRUE(r.pointsChanged);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(model.Breaklines[1].From, 1);  // point 2 moved down to 1
  EXPECT_EQ(model.Breaklines[1].To, 4);
}

TEST_F(VerificationTest, SuggestionsNeverPickABorderPoint) {
  EXPECT_EQ(SuggestedChoice(false, false, 3, 7), PairChoice::Second);
  EXPECT_EQ(SuggestedChoice(false, false, 7, 3), PairChoice::First);
  EXPECT_EQ(SuggestedChoice(false, true, 3, 7), PairChoice::First);
  EXPECT_EQ(SuggestedChoice(true, false, 3, 7), PairChoice::Second);
  EXPECT_EQ(SuggestedChoice(true, true, 3, 7), PairChoice::Neither);
}

TEST_F(VerificationTest, AutomaticModeDeletesNothingAndShowsNothing) {
  AddPoint(10, 20);
  AddPoint(10.0005, 20);
  AddPoint(30, 40);
  VerifyOptions options;
  options.automatic = true;
  EXPECT_FALSE(RunVerification(session, options).passed);
  EXPECT_EQ(model.PointCount, 3);
  EXPECT_TRUE(port.reports.empty());
}

TEST_F(VerificationTest, TheDialogsMeterTakesTheProgressInsteadOfTheWindow) {
  AddPoints({{0, 0}, {10, 0}, {5, 5}, {5, 5.0005}});
  std::vector<int> meter;
  VerifyOptions options;
  options.progress = [&meter](int percent) { meter.push_back(percent); };
  EXPECT_EQ(RunVerification(session, options).pairs, 1);
  ASSERT_FALSE(meter.empty());
  EXPECT_EQ(meter.front(), 0);
  EXPECT_EQ(meter.back(), 100);
  EXPECT_TRUE(port.progress.empty());
  EXPECT_TRUE(port.Texts(testing::FakePort::Kind::Progress).empty());
}

// The Verify dialog's fields as typed, in the user's coordinate order.
struct FieldsCase {
  const char* name;
  bool eastingFirst;
  bool searchAll;
  VerifyFieldTexts texts;
  int refused;          // -1: read
  const char* message;  // the error shown on a refusal
  double toleranceX, toleranceY, searchX, searchY;
};
void PrintTo(const FieldsCase& c, std::ostream* os) { *os << c.name; }
class VerifyFieldsCases : public VerificationTest, public ::testing::WithParamInterface<FieldsCase> {};

TEST_P(VerifyFieldsCases, ReadInTheUsersOrderOrRefusedByField) {
  const FieldsCase& c = GetParam();
  settings.Set(terravue::settings::CoordinateOrder, c.eastingFirst ? 1 : 0);
  VerifyOptions given;
  given.searchAll = c.searchAll;
  given.searchX = -1;
  given.searchY = -2;
  int refused = -1;
  const std::optional<VerifyOptions> read = ReadVerifyFields(session, c.texts, given, refused);
  EXPECT_EQ(refused, c.refused);
  if (c.refused >= 0) {
    EXPECT_FALSE(read);
    EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error), std::vector<std::string>{c.message});
    return;
  }
  ASSERT_TRUE(read) << port.Transcript();
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  EXPECT_EQ(read->toleranceX, c.toleranceX);
  EXPECT_EQ(read->toleranceY, c.toleranceY);
  EXPECT_EQ(read->searchX, c.searchX);
  EXPECT_EQ(read->searchY, c.searchY);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, VerifyFieldsCases,
    ::testing::Values(
        FieldsCase{"NorthingFirst", false, false, {"0.5", "0.25", "200", "100"}, -1, "", 0.25, 0.5, 100, 200},
        FieldsCase{"EastingFirst", true, false, {"0.5", "0.25", "200", "100"}, -1, "", 0.5, 0.25, 200, 100},
        FieldsCase{"MinimumAccepted", true, true, {"0.001", "0.001", "", ""}, -1, "", 0.001, 0.001, -1, -2},
        FieldsCase{"BelowMinimum", false, true, {"0.0005", "1", "", ""}, 0,
                   "Invalid Northing difference.\r\nMinimum value is: 0.001", 0, 0, 0, 0},
        FieldsCase{"DifferenceNotANumber", true, true, {"1", "one", "", ""}, 1,
                   "Invalid Y difference.\r\nMinimum value is: 0.001", 0, 0, 0, 0},
        FieldsCase{"LocationNotANumber", false, false, {"1", "1", "5", "x"}, 3, "Invalid Easting location.", 0, 0, 0, 0},
        FieldsCase{"LocationIgnoredForAllPoints", false, true, {"1", "2", "x", "x"}, -1, "", 2, 1, -1, -2}),
    [](const auto& info) { return std::string(info.param.name); });

struct RemoveCase {
  const char* name;
  bool interior, exterior;
  int remaining;
};
void PrintTo(const RemoveCase& c, std::ostream* os) { *os << c.name; }
class RemovePointsCases : public VerificationTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemovePointsCases, RemovesByTheBorderAndTriangulatesAgain) {
  const RemoveCase& c = GetParam();
  // A clockwise ring 1..4, interior points 5 and 6, exterior point 7.
  AddPoints({{0, 0}, {0, 100}, {100, 100}, {100, 0}, {30, 30}, {60, 70}, {150, 50}});
  model.BorderNext[1] = 2, model.BorderNext[2] = 3, model.BorderNext[3] = 4, model.BorderNext[4] = 1;
  AddBreakline(5, 6);
  ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
  RemovePointsCommand(session, state, c.interior, c.exterior);
  EXPECT_EQ(model.PointCount, c.remaining);
  EXPECT_GT(model.TriangleCount, 0);
  EXPECT_EQ(Lines(model::CheckTopology(model)), "");
  EXPECT_EQ(model.BreaklineCount, c.interior ? 0 : 1);
  // The ring is stored counter-clockwise.
  EXPECT_EQ(model.BorderNext[1], 4);
  const int removed = 7 - c.remaining;
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Warning).back(),
            removed ? std::to_string(removed) + " points were removed." : std::string(msg::NoPointsRemoved));
}

INSTANTIATE_TEST_SUITE_P(Options, RemovePointsCases,
                         ::testing::Values(RemoveCase{"Interior", true, false, 5},
                                           RemoveCase{"Exterior", false, true, 6},
                                           RemoveCase{"Both", true, true, 4},
                                           RemoveCase{"Neither", false, false, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VerificationTest, RemovingWithoutABorderRemovesNothing) {
  AddPoints({{0, 0}, {10, 0}, {5, 5}});
  EXPECT_FALSE(RemovePoints(session, state, true, true));
  EXPECT_EQ(model.PointCount, 3);
}

}  // namespace
}  // namespace terravue::tin

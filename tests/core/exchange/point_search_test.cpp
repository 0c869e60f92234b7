// Search: closest and exact matches, stepping through points with one label, and the messages
// when nothing matches.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/messages.h"
#include "exchange/point_search.h"
#include "exchange_test_env.h"

namespace terravue::exchange::test {
namespace {

class SearchTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddPoint(100.00005, 50, 10);  // 1
    AddPoint(200, 60, 20);        // 2
    AddPoint(100.001, 70, 30);    // 3
    AddPoint(300, 80, 40);        // 4
    model.SetPointLabel(1, "7");
    model.SetPointLabel(3, "7");
    model.SetPointLabel(4, "7");
  }
  PointSearch search;
};

struct ExactCase {
  const char* name;
  double x;
  PointIndex found;  // NoPoint: "An exact match was not found."
};

class ExactSearch : public SearchTest, public ::testing::WithParamInterface<ExactCase> {};

TEST_P(ExactSearch, FindsOnlyWithinATenThousandth) {
  const ExactCase& c = GetParam();
  SearchCriteria criteria;
  criteria.type = SearchType::Exact;
  criteria.useX = true;
  criteria.x = c.x;
  EXPECT_EQ(search.NewSearch(model, port, criteria), c.found != NoPoint);
  EXPECT_EQ(search.Current(), c.found);
  EXPECT_EQ(port.Texts(Kind::Error), c.found != NoPoint ? std::vector<std::string>{}
                                                        : std::vector<std::string>{std::string(msg::ExactMatchNotFound)});
}

INSTANTIATE_TEST_SUITE_P(Values, ExactSearch,
                         ::testing::Values(ExactCase{"HalfATenThousandthOff", 100, 1},
                                           ExactCase{"OnThePoint", 300, 4},
                                           ExactCase{"AThousandthOff", 300.001, NoPoint}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchTest, ClosestTakesTheSmallestSumOfDeviationsFirstOnTies) {
  SearchCriteria criteria;
  criteria.useX = criteria.useZ = true;
  criteria.x = 250;
  criteria.z = 30;
  ASSERT_TRUE(search.NewSearch(model, port, criteria));
  EXPECT_EQ(search.Current(), 2);  // 50 + 10 beats 50 + 10 of point 4 by coming first
}

TEST_F(SearchTest, ALabelStepsThroughItsPointsThenIsNotFound) {
  SearchCriteria criteria;
  criteria.useLabel = true;
  criteria.label = "7";
  ASSERT_TRUE(search.NewSearch(model, port, criteria));
  EXPECT_EQ(search.Criteria().label, "   7");
  EXPECT_EQ(search.Current(), 1);
  ASSERT_TRUE(search.ContinueSearch(model, port));
  EXPECT_EQ(search.Current(), 3);
  EXPECT_TRUE(search.CanContinue(model));
  ASSERT_TRUE(search.ContinueSearch(model, port));
  EXPECT_EQ(search.Current(), 4);
  EXPECT_FALSE(search.CanContinue(model));  // the last point: nothing after it
  EXPECT_FALSE(search.ContinueSearch(model, port));
  EXPECT_EQ(search.Current(), NoPoint);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::LabelNotFound)});
}

TEST_F(SearchTest, WithoutCriteriaNothingHappens) {
  EXPECT_FALSE(search.NewSearch(model, port, {}));
  EXPECT_TRUE(port.shown.empty());
}

}  // namespace
}  // namespace terravue::exchange::test

// The point, border and breakline listings (layouts compared with the files in expected/; run
// with TERRAVUE_UPDATE_EXPECTED=1 to rewrite them) and the range dialog's checks.

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange/listings.h"
#include "exchange_test_env.h"
#include "support/expected_file.h"
#include "support/fixed_clock.h"

namespace terravue::exchange::test {
namespace {

const fs::path Expected = fs::path(TERRAVUE_TESTS_DIR) / "core" / "exchange" / "expected";

class ListingTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    session.clock = [] { return terravue::testing::FixedTime(15, 7); };
    settings.Set(settings::ModelFileName, "PARK.MDL");
    model.SetComment("North field");
    // Ten points; 2, 5, 9 and 7 make the border; two breaklines.
    for (int k = 1; k <= 10; ++k) AddPoint(1000.5 + k * 10, 5000.25 - k * 3, 100 + k * 0.125);
    model.PointX[3] = -12.25;  // a negative coordinate keeps its column
    model.SetPointLabel(4, "TREE");
    model.BorderNext[2] = 5;
    model.BorderNext[5] = 9;
    model.BorderNext[9] = 7;
    model.BorderNext[7] = 2;
    model.Breaklines[1] = {1, 4};
    model.Breaklines[2] = {10, 3};
    model.BreaklineCount = 2;
  }

  void ClearBorderAndBreaklines() {
    for (int p = 0; p <= model.PointCount; ++p) model.BorderNext[p] = NoPoint;
    model.BreaklineCount = 0;
  }

  std::string Only() {
    EXPECT_EQ(port.reports.size(), 1u) << port.Transcript();
    return port.reports.empty() ? std::string() : port.reports.back();
  }
};

TEST_F(ListingTest, PointListingOfTheWholeListAndOfARange) {
  ASSERT_TRUE(ListPoints(session, 1, 10));
  terravue::testing::ExpectSameAsFile(Only(), Expected / "points_all_yx.txt");
  port.reports.clear();
  settings.Set(settings::CoordinateOrder, std::uint8_t{1});
  ASSERT_TRUE(ListPoints(session, 3, 5));
  terravue::testing::ExpectSameAsFile(Only(), Expected / "points_3_5_xy.txt");
  // No work file is left behind.
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(ListingTest, BorderListingFollowsTheRing) {
  ASSERT_TRUE(ListBorder(session));
  terravue::testing::ExpectSameAsFile(Only(), Expected / "border_yx.txt");
}

TEST_F(ListingTest, BreaklineListingOfARange) {
  settings.Set(settings::CoordinateOrder, std::uint8_t{1});
  ASSERT_TRUE(ListBreaklines(session, 2, 2));
  terravue::testing::ExpectSameAsFile(Only(), Expected / "breaklines_2_xy.txt");
}

TEST_F(ListingTest, NothingToListIsSaidAndNoReportShown) {
  model.BorderNext[7] = NoPoint;  // the ring is broken
  EXPECT_FALSE(ListBorder(session));
  ClearBorderAndBreaklines();
  EXPECT_FALSE(ListBorder(session));
  EXPECT_FALSE(ListBreaklines(session, 1, 1));
  model.PointCount = 0;
  EXPECT_FALSE(ListPoints(session, 1, 1));
  EXPECT_TRUE(port.reports.empty());
  using S = terravue::testing::FakePort::Shown;
  EXPECT_EQ(Messages(), (std::vector<S>{{Kind::Error, std::string(msg::ErrorInBorderDefinition)},
                                        {Kind::Info, std::string(msg::NoBorderDefined)},
                                        {Kind::Info, std::string(msg::NoBreaklinesDefined)},
                                        {Kind::Error, std::string(msg::NoDataLoaded)}}));
}

struct RangeCase {
  const char* name;
  RangeUse use;
  long long first, last;
  const char* message;  // empty: accepted
};

class RangeCheck : public ListingTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeCheck, RefusesWithTheUsesMessage) {
  const RangeCase& c = GetParam();
  const RangeForm form = RangeFormFor(c.use, model);
  EXPECT_EQ(CheckRange(port, form, c.use, c.first, c.last), std::string(c.message).empty());
  const std::vector<std::string> errors = port.Texts(Kind::Error);
  if (std::string(c.message).empty()) {
    EXPECT_TRUE(errors.empty()) << port.Transcript();
  } else {
    ASSERT_EQ(errors.size(), 1u) << port.Transcript();
    EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Uses, RangeCheck,
    ::testing::Values(RangeCase{"WholeList", RangeUse::PointListing, 1, 10, ""},
                      RangeCase{"FirstAfterLast", RangeUse::PointListing, 5, 2, msg::FirstPointAfterLast.data()},
                      RangeCase{"PastTheLastPoint", RangeUse::PointListing, 1, 11, "10"},
                      RangeCase{"Zero", RangeUse::BorderSeries, 0, 4, "1"},
                      RangeCase{"SeriesBackwards", RangeUse::BreaklineSeries, 4, 3, msg::StartPointAfterEnd.data()},
                      RangeCase{"BreaklinesBackwards", RangeUse::BreaklineListing, 2, 1,
                                msg::FirstBreaklineAfterLast.data()},
                      RangeCase{"PastTheLastBreakline", RangeUse::BreaklineListing, 1, 3, "2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListingTest, RangeFormsPresetTheirFields) {
  const RangeForm points = RangeFormFor(RangeUse::PointListing, model);
  EXPECT_EQ(std::make_tuple(points.caption, points.first, points.last, points.continueIsDefault),
            std::make_tuple(msg::PrintPointListCaption, 1, 10, true));
  const RangeForm series = RangeFormFor(RangeUse::BorderSeries, model);
  EXPECT_EQ(std::make_tuple(series.caption, series.first, series.last, series.maximum, series.continueIsDefault),
            std::make_tuple(msg::DefineBorderPointsCaption, 1, 1, 10, false));
  // An empty model has no number to give: every range is refused by its limits.
  model.PointCount = 0;
  EXPECT_FALSE(CheckRange(port, RangeFormFor(RangeUse::PointListing, model), RangeUse::PointListing, 1, 1));
}

}  // namespace
}  // namespace terravue::exchange::test

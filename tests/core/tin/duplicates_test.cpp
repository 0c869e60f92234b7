#include "tin/duplicates.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "tin/geometry.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

// Pairs typed to thousandths: one exactly 0.001 apart is never the same place, whichever way
// its digits rounded, at any offset; one 0.0009 apart always is.
struct PlaceCase {
  const char* name;
  double x, y;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class SamePlaceOfTypedPairs : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(SamePlaceOfTypedPairs, OneThousandthApartIsNeverTheSamePlace) {
  const PlaceCase& c = GetParam();
  int sameAtOne = 0, apartAtNine = 0;
  for (int k = 0; k < 2000; ++k) {
    // The digits as a reader produces them from text: the nearest doubles to x.xxx.
    const double x1 = std::round((c.x + k * 0.001) * 1000.0) / 1000.0;
    const double x2 = std::round((c.x + (k + 1) * 0.001) * 1000.0) / 1000.0;
    const double y = std::round((c.y + k * 0.007) * 1000.0) / 1000.0;
    sameAtOne += SamePlace(x1, y, x2, y) || SamePlace(y, x1, y, x2) ? 1 : 0;
    apartAtNine += SamePlace(x1, y, x1 + 0.0009, y + 0.0009) ? 0 : 1;
  }
  EXPECT_EQ(sameAtOne, 0);
  EXPECT_EQ(apartAtNine, 0);
}

INSTANTIATE_TEST_SUITE_P(Offsets, SamePlaceOfTypedPairs,
                         ::testing::Values(PlaceCase{"Local", 1000.0, 2000.0}, PlaceCase{"Utm", 507742.029, 4272929.351},
                                           PlaceCase{"StatePlaneFeet", 1454146.85, 538402.68},
                                           PlaceCase{"Sweref", 147963.577, 6398848.0}),
                         [](const auto& info) { return std::string(info.param.name); });

class DuplicatesTest : public TinTest {
 protected:
  std::optional<PointPair> SortedAndFound() {
    model.ComputeExtents();
    std::vector<PointIndex> order;
    model.SortPointsAlongLongerAxis(order, 1, model.PointCount);
    return FindSamePlacePair(model, order);
  }
};

TEST_F(DuplicatesTest, TheFirstPairMetInReadingOrderIsNamed) {
  // 2 and 7 are at one place, so are 4 and 5 (within 0.001 in X and in Y), and 3 is 0.001 from 1.
  AddPoints({{0, 0}, {50, 50}, {0.001, 0}, {20, 30}, {20.0009, 29.9995}, {90, 10}, {50, 50}});
  const auto pair = SortedAndFound();
  ASSERT_TRUE(pair.has_value());
  EXPECT_EQ(pair->first, 4);
  EXPECT_EQ(pair->second, 5);
  model.PointX[5] = 20.002;
  EXPECT_EQ(SortedAndFound()->second, 7);
  model.PointY[7] = 50.001;
  EXPECT_FALSE(SortedAndFound().has_value());
}

TEST_F(DuplicatesTest, AColumnOfAGridIsSearchedAcrossItsLength) {
  // One run along the axis of 200 points at one X; the duplicate pair lies far apart in it.
  for (int i = 0; i < 200; ++i) AddPoint(0, 10.0 * i);
  AddPoint(0.0004, 1000.0005);  // at the place of point 101
  AddPoint(5000, 3);
  const auto pair = SortedAndFound();
  ASSERT_TRUE(pair.has_value());
  EXPECT_EQ(pair->first, 101);
  EXPECT_EQ(pair->second, 201);
}

TEST_F(DuplicatesTest, ClosePairsListEveryPairCloserThanTheDistanceAndEverySamePlace) {
  AddPoints({{0, 0}, {0.3, 0.4}, {10, 10}, {10.0005, 10}, {30, 30}, {30.5, 30}});
  const std::vector<ClosePair> pairs = FindClosePairs(model, 0.6);
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0].first, 1);
  EXPECT_EQ(pairs[0].second, 2);
  EXPECT_DOUBLE_EQ(pairs[0].distance, 0.5);
  EXPECT_FALSE(pairs[0].samePlace);
  EXPECT_EQ(pairs[1].first, 3);
  EXPECT_TRUE(pairs[1].samePlace);
  EXPECT_EQ(pairs[2].first, 5);
  // A distance that is 0.5 but for rounding is not closer than 0.5.
  const std::vector<ClosePair> within = FindClosePairs(model, 0.5);
  ASSERT_EQ(within.size(), 1u);
  EXPECT_TRUE(within[0].samePlace);
}

}  // namespace
}  // namespace terravue::tin

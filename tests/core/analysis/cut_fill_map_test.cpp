// The differences a volume run keeps for the cut/fill map, and the scale of its colour bands.

#include "analysis/cut_fill_map.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "analysis/volume.h"
#include "volume_fixture.h"

namespace terravue::analysis {
namespace {

double PolygonArea(const CutFillMap& map, std::size_t i) {
  double twice = 0;
  const CutFillMap::Corner* b = map.Begin(i);
  const CutFillMap::Corner* e = map.End(i);
  for (const CutFillMap::Corner* c = b; c != e; ++c) {
    const CutFillMap::Corner* n = c + 1 == e ? b : c + 1;
    twice += c->x * n->y - n->x * c->y;
  }
  return twice / 2;
}

// The overlaps cover the common area, counter-clockwise, and carry the difference of the two
// planes at their corners.
TEST(CutFillMap, KeepsEveryOverlapWithItsDifferences) {
  const model::SurfaceModel existing = GridSurface(0, 0, 10, 10, 3, [](double, double) { return 0.0; });
  const model::SurfaceModel proposed = GridSurface(2, 1, 12, 11, 4, [](double x, double) { return x / 4 - 1; });
  CutFillMap map;
  const SurfaceComparison result = CompareSurfaces(existing, proposed, {}, &map);
  ASSERT_FALSE(map.Empty());
  double area = 0;
  for (std::size_t i = 0; i < map.PolygonCount(); ++i) {
    const double a = PolygonArea(map, i);
    EXPECT_GT(a, 0) << "counter-clockwise";
    area += a;
    for (const auto* c = map.Begin(i); c != map.End(i); ++c)
      EXPECT_NEAR(c->d, (c->x + map.originX) / 4 - 1, 1e-5);
  }
  EXPECT_NEAR(area, result.totals.CommonArea, 1e-3);
  EXPECT_NEAR(area, 8 * 9, 1e-3);
  EXPECT_DOUBLE_EQ(map.deepestCut, result.totals.MaxCut);
  EXPECT_DOUBLE_EQ(map.highestFill, result.totals.MaxFill);
}

// A change of any point, triangle or count shows in the key.
TEST(CutFillMap, SurfaceKeyFollowsTheModel) {
  model::SurfaceModel m = GridSurface(0, 0, 10, 10, 2, [](double x, double y) { return x * y; });
  const std::uint64_t key = SurfaceKey(m);
  EXPECT_EQ(SurfaceKey(m), key);
  m.PointZ[3] += 0.001;
  EXPECT_NE(SurfaceKey(m), key);
  m.PointZ[3] -= 0.001;
  std::swap(m.TriVertex[1][0], m.TriVertex[1][1]);
  EXPECT_NE(SurfaceKey(m), key);
  std::swap(m.TriVertex[1][0], m.TriVertex[1][1]);
  --m.TriangleCount;
  EXPECT_NE(SurfaceKey(m), key);
}

struct ScaleCase {
  const char* name;
  double cut, fill;
  double step;
  int cutBands, fillBands, decimals;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class CutFillScaleFor : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(CutFillScaleFor, TakesARoundStepOfAtMostSixBandsASide) {
  const ScaleCase c = GetParam();
  const CutFillScale s = CutFillScale::For(c.cut, c.fill);
  EXPECT_DOUBLE_EQ(s.step, c.step);
  EXPECT_EQ(s.cutBands, c.cutBands);
  EXPECT_EQ(s.fillBands, c.fillBands);
  EXPECT_EQ(s.decimals, c.decimals);
  // Every difference from the deepest cut to the highest fill has a band of its side.
  for (const double d : {-c.cut, -c.cut / 3, 0.0, c.fill / 2, c.fill}) {
    if (!std::isfinite(d)) continue;
    const int band = s.BandOf(d);
    EXPECT_EQ(band < 0, d < 0) << d;
    EXPECT_GE(band, -s.cutBands);
    EXPECT_LE(band, s.fillBands);
  }
}

INSTANTIATE_TEST_SUITE_P(Extremes, CutFillScaleFor,
                         ::testing::Values(ScaleCase{"HalfEachWay", 0.5, 0.5, 0.1, 5, 5, 2},
                                           ScaleCase{"MostlyCut", 3, 1.2, 0.5, 6, 3, 2},
                                           ScaleCase{"FillOnly", 0, 12, 2, 0, 6, 1},
                                           ScaleCase{"SmallCut", 0.07, 0, 0.02, 4, 1, 3},
                                           ScaleCase{"NoDifference", 0, 0, 1, 0, 1, 1},
                                           ScaleCase{"NotANumber", NAN, NAN, 1, 0, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CutFillScale, ColoursDivergeFromPaleToDark) {
  const CutFillScale s = CutFillScale::For(1, 1);
  const auto red = [](std::uint32_t c) { return static_cast<int>(c & 0xFF); };
  const auto blue = [](std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); };
  EXPECT_GT(red(s.Colour(-1)), blue(s.Colour(-1))) << "cut is red";
  EXPECT_GT(blue(s.Colour(1)), red(s.Colour(1))) << "fill is blue";
  EXPECT_GT(red(s.Colour(-1)), red(s.Colour(-s.cutBands))) << "deeper is darker";
  EXPECT_GT(blue(s.Colour(1)), blue(s.Colour(s.fillBands)));
}

}  // namespace
}  // namespace terravue::analysis

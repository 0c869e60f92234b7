// CompareSurfaces: exact cut and fill between two triangulated surfaces.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/volume.h"
#include "app/settings_file.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "volume_fixture.h"

namespace terravue::analysis {
namespace {

using model::SurfaceModel;

// ---- Analytic cases on the 10 x 10 square ----------------------------------------------------

struct AnalyticCase {
  std::string name;
  std::function<SurfaceModel()> existing;
  std::function<SurfaceModel()> proposed;
  double common, cutArea, fillArea, cut, fill;
};

void PrintTo(const AnalyticCase& c, std::ostream* os) { *os << c.name; }

double Flat0(double, double) { return 0; }
double Flat1(double, double) { return 1; }
double Tilted(double x, double y) { return (x - 5) + 0.1 * (y - 5); }

const std::vector<AnalyticCase>& AnalyticCases() {
  static const std::vector<AnalyticCase> cases = {
      {"FlatAgainstOneHigher", [] { return Square(Flat0); }, [] { return Square(Flat1); }, 100, 0, 100, 0, 100},
      // Different triangulations of the same square: every pair is clipped.
      {"FlatAgainstOneHigherOtherCells", [] { return Square(Flat0, 3); }, [] { return Square(Flat1, 4); }, 100, 0,
       100, 0, 100},
      // The planes cross inside the square: cut = fill = the integral of (x - 5 + 0.1 (y - 5))+.
      {"FlatAgainstTiltedPlane", [] { return Square(Flat0); }, [] { return Square(Tilted); }, 100, 50, 50,
       1505.0 / 12, 1505.0 / 12},
      {"FineFlatAgainstTiltedPlane", [] { return Square(Flat0, 7); }, [] { return Square(Tilted); }, 100, 50, 50,
       1505.0 / 12, 1505.0 / 12},
      {"FlatAgainstPyramid", [] { return Square(Flat0); }, [] { return Pyramid(3); }, 100, 0, 100, 0, 100},
      // Above 1.5 the pyramid is a pyramid of half the size: fill 100 / 8; cut 150 - (100 - 12.5).
      {"PlaneAtHalfHeightAgainstPyramid", [] { return Square([](double, double) { return 1.5; }); },
       [] { return Pyramid(3); }, 100, 75, 25, 62.5, 12.5},
      {"PyramidAgainstPlaneAtHalfHeight", [] { return Pyramid(3); },
       [] { return Square([](double, double) { return 1.5; }, 2); }, 100, 25, 75, 12.5, 62.5},
      {"HalfTheSquare", [] { return Square(Flat0); }, [] { return GridSurface(5, 0, 15, 10, 1, Flat1); }, 50, 0, 50,
       0, 50},
      // Neither surface has a point on the other: only clipping every pair finds the overlap.
      {"CrossingStrip", [] { return Square(Flat0); }, [] { return GridSurface(-5, 4, 15, 6, 1, Flat1); }, 20, 0, 20,
       0, 20},
      {"SquareInsideOneBigTriangle", [] { return Square(Flat0); },
       [] { return MakeSurface({{-100, -100, 1}, {200, -100, 1}, {-100, 200, 1}}, {{1, 2, 3}}); }, 100, 0, 100, 0,
       100},
      {"BigTriangleOverSquare", [] { return MakeSurface({{-100, -100, 1}, {200, -100, 1}, {-100, 200, 1}}, {{1, 3, 2}}); },
       [] { return Square(Flat0, 2); }, 100, 100, 0, 100, 0},
  };
  return cases;
}

struct Offset {
  std::string name;
  double x, y;
};

void PrintTo(const Offset& c, std::ostream* os) { *os << c.name; }

class AnalyticVolume : public ::testing::TestWithParam<std::tuple<AnalyticCase, Offset>> {};

TEST_P(AnalyticVolume, MatchesTheExactAnswer) {
  const auto& [c, offset] = GetParam();
  SurfaceModel existing = c.existing(), proposed = c.proposed();
  Translate(existing, offset.x, offset.y);
  Translate(proposed, offset.x, offset.y);
  const SurfaceComparison result = CompareSurfaces(existing, proposed);
  const VolumeTotals& v = result.totals;
  // Exact answers: only rounding may differ, also at survey coordinates.
  const double tolerance = 1e-7;
  EXPECT_TRUE(result.overlap);
  EXPECT_NEAR(v.CommonArea, c.common, c.common * tolerance);
  EXPECT_NEAR(v.CutArea, c.cutArea, c.common * tolerance);
  EXPECT_NEAR(v.FillArea, c.fillArea, c.common * tolerance);
  EXPECT_NEAR(v.CutVolume, c.cut, std::max(c.cut, c.fill) * tolerance);
  EXPECT_NEAR(v.FillVolume, c.fill, std::max(c.cut, c.fill) * tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Squares, AnalyticVolume,
    ::testing::Combine(::testing::ValuesIn(AnalyticCases()),
                       ::testing::Values(Offset{"AtTheOrigin", 0, 0}, Offset{"AtSurveyCoordinates", 500000, 4000000})),
    [](const auto& info) { return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name; });

// ---- Largest cut and fill --------------------------------------------------------------------

TEST(VolumeExtremes, FirstMetCornerWinsTies) {
  // Every corner is 1.5 below: the first met is the lowest, westernmost corner of the overlap of
  // the first proposed triangle with the first existing one.
  const SurfaceComparison cut = CompareSurfaces(Square([](double, double) { return 1.5; }), Pyramid(3));
  EXPECT_DOUBLE_EQ(cut.totals.MaxCut, 1.5);
  EXPECT_DOUBLE_EQ(cut.totals.MaxCutX, 0);
  EXPECT_DOUBLE_EQ(cut.totals.MaxCutY, 0);
  EXPECT_DOUBLE_EQ(cut.totals.MaxFill, 1.5);
  EXPECT_DOUBLE_EQ(cut.totals.MaxFillX, 5);
  EXPECT_DOUBLE_EQ(cut.totals.MaxFillY, 5);

  SurfaceModel existing = Square(Flat0), proposed = Square(Flat1);
  Translate(existing, 500000, 4000000);
  Translate(proposed, 500000, 4000000);
  const SurfaceComparison fill = CompareSurfaces(existing, proposed);
  EXPECT_DOUBLE_EQ(fill.totals.MaxFill, 1);
  EXPECT_DOUBLE_EQ(fill.totals.MaxFillX, 500000);
  EXPECT_DOUBLE_EQ(fill.totals.MaxFillY, 4000000);
  EXPECT_EQ(fill.totals.MaxCut, 0);  // no cut anywhere: reported as N/A
}

TEST(VolumeExtremes, DegenerateTrianglesTakeNoPart) {
  // A zero-area triangle with a corner 1000 below: its "plane" must neither produce a deepest
  // cut nor disturb the volumes, and hostile corner numbers are passed over.
  SurfaceModel proposed = MakeSurface({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}, {2, 2, 1}, {4, 4, -1000}, {6, 6, 1}},
                                      {{1, 2, 3}, {5, 6, 7}, {1, 3, 4}, {1, 1, 3}});
  proposed.TriVertex[++proposed.TriangleCount] = {1, 0, 3};
  proposed.TriVertex[++proposed.TriangleCount] = {1, 99, 3};
  const SurfaceComparison result = CompareSurfaces(Square(Flat0), proposed);
  EXPECT_NEAR(result.totals.FillVolume, 100, 1e-9);
  EXPECT_NEAR(result.totals.CommonArea, 100, 1e-9);
  EXPECT_EQ(result.totals.CutVolume, 0);
  EXPECT_EQ(result.totals.MaxCut, 0);
  EXPECT_DOUBLE_EQ(result.totals.MaxFill, 1);
}

TEST(VolumeExtremes, WildCoordinatesAreLeftOut) {
  // Beside a sound square: a triangle too large for any product of its coordinates, one with a
  // corner that is not a number, and a needle two million kilometres long just north of the
  // square, which must not blow up the search grid. None may stop the run or disturb the
  // square's volume.
  const double huge = 1e300, nan = std::numeric_limits<double>::quiet_NaN();
  const SurfaceModel proposed =
      MakeSurface({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}, {-huge, -huge, 0}, {huge, -huge, 0},
                   {0, huge, 0}, {nan, 5, 0}, {-1e9, 20, 1}, {1e9, 20.000001, 1}, {0, 21, 1}},
                  {{1, 2, 3}, {1, 3, 4}, {5, 6, 7}, {1, 2, 8}, {9, 10, 11}});
  const SurfaceComparison result = CompareSurfaces(Square(Flat0), proposed);
  EXPECT_NEAR(result.totals.FillVolume, 100, 1e-6);
  EXPECT_NEAR(result.totals.CommonArea, 100, 1e-6);
  EXPECT_EQ(result.totals.MaxCut, 0);
  const SurfaceComparison reverse = CompareSurfaces(proposed, Square(Flat0));
  EXPECT_NEAR(reverse.totals.CutVolume, 100, 1e-6);
}

// ---- Points on the other surface ------------------------------------------------------------

TEST(VolumePointValues, EachPointGetsTheDifferenceWhereItLiesOnTheOtherSurface) {
  // Existing: the square at 0 with nodes every 5; proposed: the pyramid over its eastern half
  // shifted by 5, so that the western column of existing points lies off it.
  SurfaceModel proposed = Pyramid(3);
  Translate(proposed, 5, 0);
  const SurfaceComparison result = CompareSurfaces(Square(Flat0, 2), proposed);
  // Existing nodes row by row: (0,0) (5,0) (10,0) / (0,5) (5,5) (10,5) / (0,10) (5,10) (10,10).
  const std::vector<double> existing = {0, 0, 0, 0, 0, 0, 3, 0, 0, 0};
  ASSERT_EQ(result.existingCutFill.size(), existing.size());
  for (std::size_t i = 1; i < existing.size(); ++i) EXPECT_NEAR(result.existingCutFill[i], existing[i], 1e-12) << i;
  // Proposed: corners (5,0) (15,0) (15,10) (5,10) at 0 and the apex (10,5) 3 above the square.
  const std::vector<double> proposedValues = {0, 0, 0, 0, 0, 3};
  ASSERT_EQ(result.proposedCutFill.size(), proposedValues.size());
  for (std::size_t i = 1; i < proposedValues.size(); ++i)
    EXPECT_NEAR(result.proposedCutFill[i], proposedValues[i], 1e-12) << i;
  EXPECT_NEAR(result.totals.FillVolume, 50, 1e-9);
}

TEST(VolumePointValues, ProgressRunsThroughTheThreePhases) {
  std::vector<std::pair<int, int>> calls;
  CompareSurfaces(Square(Flat0, 6), Pyramid(3), [&](int phase, int percent) { calls.emplace_back(phase, percent); });
  ASSERT_FALSE(calls.empty());
  for (int phase = 1; phase <= 3; ++phase) {
    std::vector<int> percents;
    for (const auto& [p, percent] : calls)
      if (p == phase) percents.push_back(percent);
    ASSERT_FALSE(percents.empty()) << phase;
    EXPECT_EQ(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(std::adjacent_find(percents.begin(), percents.end()), percents.end()) << "repeated percentage";
  }
  EXPECT_TRUE(std::is_sorted(calls.begin(), calls.end(), [](auto& a, auto& b) { return a.first < b.first; }));
}

TEST(VolumeOverlap, TouchingOrApartIsNoOverlap) {
  // Sharing an edge only, and far apart.
  EXPECT_FALSE(CompareSurfaces(Square(Flat0), GridSurface(10, 0, 20, 10, 1, Flat1)).overlap);
  EXPECT_FALSE(CompareSurfaces(Square(Flat0), GridSurface(50, 50, 60, 60, 2, Flat1)).overlap);
  SurfaceModel empty;
  ASSERT_TRUE(empty.AllocateStore());
  EXPECT_FALSE(CompareSurfaces(empty, Square(Flat1)).overlap);
  EXPECT_FALSE(CompareSurfaces(Square(Flat1), empty).overlap);
}

// ---- Random surfaces --------------------------------------------------------------------------

// A triangulated synthetic site (convex border), its elevations changed by `dz`.
SurfaceModel TriangulatedSite(const testing::SyntheticSite& site, const std::function<double(double, double)>& dz) {
  SurfaceModel m;
  EXPECT_TRUE(m.AllocateStore());
  testing::LoadSite(m, site);
  for (std::size_t i = 1; i <= m.PointCount; ++i)
    m.PointZ[i] += dz(m.PointX[i] - testing::SiteEasting, m.PointY[i] - testing::SiteNorthing);
  SettingsRecord settings = DefaultSettings();
  testing::FakePort port;
  Session session{m, settings, port, std::filesystem::temp_directory_path()};
  tin::LocateState state;
  tin::TriangulateOptions options;
  options.quiet = true;
  EXPECT_EQ(tin::Triangulate(session, state, options), tin::TriangulationStatus::Success) << port.Transcript();
  return m;
}

class RandomSurfaces : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    existing_ = new SurfaceModel(TriangulatedSite(testing::RollingTerrain(600, 21), [](double, double) { return 0.0; }));
    proposed_ = new SurfaceModel(TriangulatedSite(testing::RollingTerrain(500, 22), [](double x, double y) {
      return 2.5 * std::sin(x / 13.0) + 1.5 * std::cos(y / 9.0) - 0.5;
    }));
  }
  static void TearDownTestSuite() {
    delete existing_;
    delete proposed_;
  }
  static SurfaceModel* existing_;
  static SurfaceModel* proposed_;
};
SurfaceModel* RandomSurfaces::existing_ = nullptr;
SurfaceModel* RandomSurfaces::proposed_ = nullptr;

void ExpectSameTotals(const VolumeTotals& a, const VolumeTotals& b, double relative) {
  auto near = [relative](double x, double y, const char* what) {
    EXPECT_NEAR(x, y, relative * std::max({std::fabs(x), std::fabs(y), 1e-9})) << what;
  };
  near(a.CommonArea, b.CommonArea, "common area");
  near(a.CutArea, b.CutArea, "cut area");
  near(a.FillArea, b.FillArea, "fill area");
  near(a.CutVolume, b.CutVolume, "cut volume");
  near(a.FillVolume, b.FillVolume, "fill volume");
  near(a.MaxCut, b.MaxCut, "max cut");
  near(a.MaxFill, b.MaxFill, "max fill");
}

TEST_F(RandomSurfaces, ShiftingBothSurfacesChangesNothing) {
  const SurfaceComparison atSurvey = CompareSurfaces(*existing_, *proposed_);
  ASSERT_TRUE(atSurvey.overlap);
  ASSERT_GT(atSurvey.totals.CutVolume, 100);
  ASSERT_GT(atSurvey.totals.FillVolume, 100);
  SurfaceModel existing = *existing_, proposed = *proposed_;
  Translate(existing, -testing::SiteEasting, -testing::SiteNorthing);
  Translate(proposed, -testing::SiteEasting, -testing::SiteNorthing);
  const SurfaceComparison local = CompareSurfaces(existing, proposed);
  ExpectSameTotals(atSurvey.totals, local.totals, 1e-6);
  EXPECT_NEAR(atSurvey.totals.MaxCutX - testing::SiteEasting, local.totals.MaxCutX, 1e-6);
  EXPECT_NEAR(atSurvey.totals.MaxFillY - testing::SiteNorthing, local.totals.MaxFillY, 1e-6);
}

TEST_F(RandomSurfaces, SwappingTheSurfacesSwapsCutAndFill) {
  const VolumeTotals forward = CompareSurfaces(*existing_, *proposed_).totals;
  const VolumeTotals backward = CompareSurfaces(*proposed_, *existing_).totals;
  VolumeTotals swapped = backward;
  std::swap(swapped.CutArea, swapped.FillArea);
  std::swap(swapped.CutVolume, swapped.FillVolume);
  std::swap(swapped.MaxCut, swapped.MaxFill);
  ExpectSameTotals(forward, swapped, 1e-9);
}

// Elevations of a surface at the centres of a raster (NaN off the surface), found by testing
// every raster centre in each triangle's box: nothing shared with the code under test.
struct Raster {
  double minX, minY, h;
  int n;
};

std::vector<double> SampleSurface(const SurfaceModel& m, const Raster& r) {
  std::vector<double> z(static_cast<std::size_t>(r.n) * r.n, std::numeric_limits<double>::quiet_NaN());
  for (std::size_t t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[t];
    const double x0 = m.PointX[c[0]], y0 = m.PointY[c[0]], x1 = m.PointX[c[1]], y1 = m.PointY[c[1]];
    const double x2 = m.PointX[c[2]], y2 = m.PointY[c[2]];
    const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    const int i0 = std::max(0, static_cast<int>((std::min({x0, x1, x2}) - r.minX) / r.h) - 1);
    const int i1 = std::min(r.n - 1, static_cast<int>((std::max({x0, x1, x2}) - r.minX) / r.h) + 1);
    const int j0 = std::max(0, static_cast<int>((std::min({y0, y1, y2}) - r.minY) / r.h) - 1);
    const int j1 = std::min(r.n - 1, static_cast<int>((std::max({y0, y1, y2}) - r.minY) / r.h) + 1);
    for (int j = j0; j <= j1; ++j) {
      for (int i = i0; i <= i1; ++i) {
        const double x = r.minX + (i + 0.5) * r.h, y = r.minY + (j + 0.5) * r.h;
        const double u = ((x - x0) * (y2 - y0) - (x2 - x0) * (y - y0)) / det;
        const double v = ((x1 - x0) * (y - y0) - (x - x0) * (y1 - y0)) / det;
        if (u < 0 || v < 0 || u + v > 1) continue;
        z[static_cast<std::size_t>(j) * r.n + i] =
            m.PointZ[c[0]] + u * (m.PointZ[c[1]] - m.PointZ[c[0]]) + v * (m.PointZ[c[2]] - m.PointZ[c[0]]);
      }
    }
  }
  return z;
}

// The volumes against a brute-force estimate from the differences at the centres of a fine
// raster.
TEST_F(RandomSurfaces, AgreesWithDenseSampling) {
  const SurfaceModel& e = *existing_;
  const SurfaceModel& p = *proposed_;
  const double minX = std::min(e.MinX, p.MinX), maxX = std::max(e.MaxX, p.MaxX);
  const double minY = std::min(e.MinY, p.MinY), maxY = std::max(e.MaxY, p.MaxY);
  const Raster raster{minX, minY, std::max(maxX - minX, maxY - minY) / 1500, 1500};
  const std::vector<double> ze = SampleSurface(e, raster), zp = SampleSurface(p, raster);
  const double cell = raster.h * raster.h;
  double common = 0, cut = 0, fill = 0, largest = 0;
  for (std::size_t k = 0; k < ze.size(); ++k) {
    if (std::isnan(ze[k]) || std::isnan(zp[k])) continue;
    const double d = zp[k] - ze[k];
    common += cell;
    (d < 0 ? cut : fill) += std::fabs(d) * cell;
    largest = std::max(largest, std::fabs(d));
  }
  auto perimeter = [](const SurfaceModel& m) {
    double length = 0;
    for (std::size_t i = 1; i <= m.PointCount; ++i)
      if (const PointIndex next = m.BorderNext[i]; next != NoPoint)
        length += std::hypot(m.PointX[next] - m.PointX[i], m.PointY[next] - m.PointY[i]);
    return length;
  };
  // Only the cells that a hull edge crosses can be counted wrongly, each by at most its area
  // (times the largest difference); their errors are independent, so their sum stays within a
  // few times the square root of their number.
  const double edgeCells = (perimeter(e) + perimeter(p)) * std::sqrt(2.0) / raster.h;
  const double areaError = 4 * std::sqrt(edgeCells) * cell;
  const VolumeTotals exact = CompareSurfaces(e, p).totals;
  EXPECT_NEAR(exact.CommonArea, common, areaError);
  EXPECT_NEAR(exact.CutVolume, cut, areaError * largest);
  EXPECT_NEAR(exact.FillVolume, fill, areaError * largest);
  EXPECT_NEAR(exact.CutArea + exact.FillArea, exact.CommonArea, 1e-9 * exact.CommonArea);
  // The largest difference sits on a corner of an overlap; the raster comes close to it.
  const double extreme = std::max(exact.MaxCut, exact.MaxFill);
  EXPECT_GE(extreme + 1e-9, largest);
  EXPECT_LE(extreme, largest * 1.02);
}

}  // namespace
}  // namespace terravue::analysis

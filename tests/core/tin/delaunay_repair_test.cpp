#include "tin/delaunay_repair.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "common/messages.h"
#include "support/exact_checks.h"
#include "tin/border.h"
#include "tin/constrained_edges.h"
#include "tin/geometry.h"
#include "tin/predicates.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::FakePort;

class DelaunayRepairTest : public TinTest {
 protected:
  // Flips up to `count` edges between real points that are not fixed and whose quadrilateral is
  // convex, spread over the surface: each flip leaves an edge that fails the circle test or
  // sits at a tie. Returns the triangles the flips rewrote.
  std::vector<TriangleIndex> Disturb(const FixedSegments& fixed, int count) {
    std::vector<TriangleIndex> touched;
    const int step = std::max(1, model.TriangleCount / count);
    for (TriangleIndex t = 1; t <= model.TriangleCount && static_cast<int>(touched.size()) < 2 * count; t += step) {
      const TriangleIndex u = model.TriNeighbour[t][0];
      if (u == NoTriangle) continue;
      const Apexes x = FindApexes(model, t, u);
      if (!x.found || fixed.Contains(x.a1, x.a2)) continue;
      if (OrientationSign(model, x.p, x.q, x.a1) == 0 || OrientationSign(model, x.p, x.q, x.a2) == 0) continue;
      if (OrientationSign(model, x.a1, x.a2, x.p) * OrientationSign(model, x.a1, x.a2, x.q) >= 0) continue;
      if (OrientationSign(model, x.p, x.q, x.a1) * OrientationSign(model, x.p, x.q, x.a2) >= 0) continue;
      FlipDiagonal(model, t, u, x);
      touched.push_back(t);
      touched.push_back(u);
    }
    return touched;
  }
};

// Point editing changes a few triangles and restores the property from them: the repair
// started from those triangles alone gives the constrained Delaunay triangulation again, keeps
// every border segment and breakline, and leaves a surface that passes untouched.
TEST_F(DelaunayRepairTest, RestoresTheConstrainedDelaunayPropertyFromTheTrianglesGiven) {
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    Load(testing::ConcaveBorderSite(1500, seed));
    ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
    ASSERT_EQ(testing::CheckConstrainedDelaunay(model), std::vector<std::string>{}) << "seed " << seed;
    const FixedSegments fixed = FixedSegments::OfModel(model);

    const auto before = Corners();
    EXPECT_EQ(RestoreDelaunay(model, fixed), 0) << "seed " << seed;
    EXPECT_EQ(Corners(), before) << "a surface that passes stays exactly as it is";

    const std::vector<TriangleIndex> touched = Disturb(fixed, 40);
    ASSERT_FALSE(touched.empty());
    ASSERT_NE(testing::CheckConstrainedDelaunay(model), std::vector<std::string>{}) << "seed " << seed;
    EXPECT_GT(RestoreDelaunay(model, fixed, touched), 0);
    EXPECT_EQ(testing::CheckConstrainedDelaunay(model), std::vector<std::string>{}) << "seed " << seed;
    testing::TinExpectations expect;
    expect.forcedEdgesPresent = true;
    EXPECT_EQ(testing::CheckTin(model, expect), std::vector<std::string>{}) << "seed " << seed;
  }
}

TEST_F(DelaunayRepairTest, AFixedEdgeThatFailsTheCircleTestStays) {
  // A thin quadrilateral: its diagonal 3-4 is Delaunay, the long one 1-2 fails the circle test.
  AddPoints({{0, 0}, {10, 0}, {5, 1}, {5, -1}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  ASSERT_EQ(model.TriangleCount, 2);
  ASSERT_TRUE(testing::HasEdge(model, 3, 4));
  FlipDiagonal(model, 1, 2, FindApexes(model, 1, 2));
  ASSERT_TRUE(testing::HasEdge(model, 1, 2));
  FixedSegments breakline = FixedSegments::OfModel(model);
  breakline.Add(2, 1);
  EXPECT_EQ(RestoreDelaunay(model, breakline, {1, 2}), 0);
  EXPECT_TRUE(testing::HasEdge(model, 1, 2));
  EXPECT_EQ(RestoreDelaunay(model, FixedSegments::OfModel(model), {1, 2}), 1);
  EXPECT_TRUE(testing::HasEdge(model, 3, 4));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

// Sites where the old triangulation stopped, skipped hull corners or left edges along the border
// and the breaklines that are not Delaunay: each one triangulates, its automatic border is the
// exact hull with every point inside or on it, and an exact check finds no edge that is neither
// fixed nor Delaunay.
struct SiteCase {
  const char* name;
  testing::SyntheticSite (*make)();
  bool hullAsBorder;  // give the site its convex border before the run
};

void PrintTo(const SiteCase& c, std::ostream* os) { *os << c.name; }

class ConstrainedDelaunaySites : public TinTest, public ::testing::WithParamInterface<SiteCase> {};

TEST_P(ConstrainedDelaunaySites, TriangulateWithEveryPointInsideAndEveryFreeEdgeDelaunay) {
  const SiteCase& c = GetParam();
  const testing::SyntheticSite site = c.make();
  Load(site);
  if (c.hullAsBorder) {
    BorderErrors errors;
    CreateConvexBorder(session, errors, true);
  }
  port.yesNoAnswers = {true};
  ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
  if (site.borderNext.empty()) {
    EXPECT_EQ(testing::CheckConvexHullRing(model), std::vector<std::string>{});
  } else {
    EXPECT_TRUE(testing::AllPointsInsideBorder(model));
  }
  testing::TinExpectations expect;
  expect.forcedEdgesPresent = true;
  EXPECT_EQ(testing::CheckTin(model, expect), std::vector<std::string>{});
  EXPECT_EQ(testing::CheckConstrainedDelaunay(model), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Sites, ConstrainedDelaunaySites,
    ::testing::Values(
        SiteCase{"ConcaveBorderAndBreaklines", [] { return testing::ConcaveBorderSite(3000, 7); }, false},
        SiteCase{"RandomPoints", [] { return testing::RollingTerrain(5000, 3); }, false},
        SiteCase{"GridWithJitteredRows", [] { return testing::JitteredRows(1000, 2); }, false},
        SiteCase{"PointsOnACircle", [] { return testing::PointsOnCircle(10000, 0.63); }, false},
        SiteCase{"ParkSurvey", [] { return testing::ParkSurvey(1); }, false},
        SiteCase{"LidarGround", [] { return testing::LidarGround(1); }, false},
        SiteCase{"LidarGroundWithItsHullAsBorder", [] { return testing::LidarGround(2); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TinTest, PointsInOneLineAreRefusedAtOnceWithTheirOwnMessage) {
  for (int i = 0; i < model.MaxPoints; ++i) AddPoint(testing::SiteEasting + 0.25 * i, testing::SiteNorthing + 0.5 * i);
  EXPECT_FALSE(Run().has_value());
  EXPECT_EQ(port.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::PointsInOneLine)});
  EXPECT_EQ(model.TriangleCount, 0);
}

}  // namespace
}  // namespace terravue::tin

#include "tin/predicates.h"

#include <cmath>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "support/exact_checks.h"
#include "support/synthetic_sites.h"

namespace terravue::tin {
namespace {

// Points a few units in the last place apart near a line, where double arithmetic gives the
// wrong side (the classic case of points near (0.5, 0.5) against the line through (12, 12) and
// (24, 24)), and the same far from the origin and on a survey grid.
struct OrientationCase {
  const char* name;
  double baseX, baseY, step;
  double bx, by, cx, cy;
  bool throughSomePoints;  // the line passes exactly through some of the points
};

void PrintTo(const OrientationCase& c, std::ostream* os) { *os << c.name; }

class OrientationNearALine : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(OrientationNearALine, AgreesWithTheExactTurnOnEveryPoint) {
  const OrientationCase& c = GetParam();
  int disagreements = 0, zeros = 0;
  for (int i = 0; i < 64; ++i) {
    for (int j = 0; j < 64; ++j) {
      const double ax = c.baseX + i * c.step, ay = c.baseY + j * c.step;
      const int sign = OrientationSign(ax, ay, c.bx, c.by, c.cx, c.cy);
      disagreements += sign != testing::ExactTurn(ax, ay, c.bx, c.by, c.cx, c.cy) ? 1 : 0;
      zeros += sign == 0 ? 1 : 0;
      // The same turn from any corner.
      disagreements += OrientationSign(c.bx, c.by, c.cx, c.cy, ax, ay) != sign ? 1 : 0;
    }
  }
  EXPECT_EQ(disagreements, 0);
  if (c.throughSomePoints) {
    EXPECT_GT(zeros, 0) << "some points lie exactly on the line";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrientationNearALine,
    ::testing::Values(OrientationCase{"NearTheOrigin", 0.5, 0.5, 0x1p-53, 12, 12, 24, 24, true},
                      OrientationCase{"SurveyOffsets", testing::SiteEasting, testing::SiteEasting, 0x1p-34,
                                      testing::SiteEasting + 12, testing::SiteEasting + 12, testing::SiteEasting + 24,
                                      testing::SiteEasting + 24, true},
                      OrientationCase{"Thousandths", testing::SiteEasting, testing::SiteNorthing, 0.001,
                                      testing::SiteEasting + 0.032, testing::SiteNorthing + 0.032,
                                      testing::SiteEasting + 0.064, testing::SiteNorthing + 0.064, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Four points on one circle at survey offsets, the fourth moved along the radius by a number of
// units of its last place: inside the circle by the tolerance is decided exactly, also where
// the rounding of the circle's centre would decide it either way.
TEST(InsideCircle, DecidesAtTheToleranceAsTheExactTest) {
  const double x0 = testing::SiteEasting, y0 = testing::SiteNorthing;
  int disagreements = 0, inside = 0, outside = 0;
  for (double radius : {0.01, 0.5, 7.0, 300.0}) {
    // The distance inside the circle that puts the point at the tolerance: r^2 - d^2 = 1e-4.
    const double atTolerance = radius - std::sqrt(radius * radius - CircleTolerance);
    for (int k = -40; k <= 40; ++k) {
      const double d = radius - atTolerance + k * 0x1p-30;
      const double ax = x0 + radius, ay = y0, bx = x0, by = y0 + radius, cx = x0 - radius, cy = y0;
      const double dx = x0 + d * std::cos(5.3), dy = y0 + d * std::sin(5.3);
      const bool in = InsideCircle(ax, ay, bx, by, cx, cy, dx, dy);
      disagreements += in != testing::ExactlyInsideCircle(ax, ay, bx, by, cx, cy, dx, dy, CircleTolerance) ? 1 : 0;
      (in ? inside : outside) += 1;
    }
  }
  EXPECT_EQ(disagreements, 0);
  EXPECT_GT(inside, 0);
  EXPECT_GT(outside, 0);
}

TEST(CircleSign, TellsOnFromJustInsideAndJustOutside) {
  // The corners of a square share one circle exactly; the centre is inside, a far point outside.
  EXPECT_EQ(CircleSign(0, 0, 10, 0, 10, 10, 0, 10), 0);
  EXPECT_EQ(CircleSign(0, 0, 10, 0, 10, 10, 0, 10 - 0x1p-40), 1);
  EXPECT_EQ(CircleSign(0, 0, 10, 0, 10, 10, 0, 10 + 0x1p-40), -1);
  // Inside the circle by less than the tolerance: inside, but not by the tolerance.
  EXPECT_FALSE(InsideCircle(0, 0, 10, 0, 10, 10, 0, 10 - 0x1p-40));
}

// The edge between two triangles is tested from both sides and whichever way round they are
// given; a point on the circle of the other three never makes it fail.
TEST(EdgeNeedsFlip, IsTheSameFromEitherSideAndOrientation) {
  struct Quad {
    double ax, ay, bx, by, cx, cy, dx, dy;
    bool flip;
  };
  const Quad quads[] = {
      {0, 0, 10, 0, 5, 1, 5, -1, true},      // a thin diagonal: the other one is Delaunay
      {0, 0, 10, 0, 5, 8, 5, -8, false},     // a fat one stays
      {0, 0, 10, 10, 10, 0, 0, 10, false},   // four on a circle: a tie stays
      {0, 0, 0.01, 0, 0.005, 0.001, 0.005, -0.001, false},  // tiny circles: within the tolerance
  };
  for (const Quad& q : quads) {
    model::SurfaceModel m;
    ASSERT_TRUE(m.AllocateStore());
    m.PointCount = 4;
    const double xs[] = {q.ax, q.bx, q.cx, q.dx}, ys[] = {q.ay, q.by, q.cy, q.dy};
    for (int i = 0; i < 4; ++i) {
      m.PointX[static_cast<std::size_t>(i) + 1] = xs[i];
      m.PointY[static_cast<std::size_t>(i) + 1] = ys[i];
    }
    EXPECT_EQ(EdgeNeedsFlip(m, 1, 2, 3, 4), q.flip);
    EXPECT_EQ(EdgeNeedsFlip(m, 2, 1, 3, 4), q.flip);
    EXPECT_EQ(EdgeNeedsFlip(m, 1, 2, 4, 3), q.flip);
    EXPECT_EQ(EdgeNeedsFlip(m, 2, 1, 4, 3), q.flip);
  }
}

}  // namespace
}  // namespace terravue::tin

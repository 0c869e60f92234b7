#include "tin/geometry.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "common/messages.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

constexpr double Pi = std::numbers::pi;

TEST(Tolerances, BoundsAreStrict) {
  EXPECT_TRUE(IsZero4(0.99e-4L));
  EXPECT_FALSE(IsZero4(1e-4L));
  EXPECT_TRUE(IsZero4(-0.99e-4L));
  EXPECT_TRUE(IsZero3(0.00099L));
  EXPECT_FALSE(IsZero3(-0.001L));
  EXPECT_TRUE(IsZero7(0.9e-7L));
  EXPECT_FALSE(IsZero7(1e-7L));
  EXPECT_TRUE(IsZero9(0.9e-9L));
  EXPECT_FALSE(IsZero9(1e-9L));
  EXPECT_TRUE(SamePlace(100, 200, 100.0009, 199.9991));
  EXPECT_FALSE(SamePlace(100, 200, 100.001, 200));
}

struct RoundCase {
  double value;
  double rounded;
};

TEST(RoundToThousandths, HalvesGoToTheEvenThousandth) {
  // Exact binary fractions, so that the half really is a half.
  for (const RoundCase& c : {RoundCase{0.0625, 0.062}, RoundCase{0.1875, 0.188}, RoundCase{2.5625, 2.562},
                             RoundCase{-2.5625, -2.562}, RoundCase{-7.0, -7.0}, RoundCase{12.34567, 12.346}}) {
    EXPECT_DOUBLE_EQ(RoundToThousandths(c.value), c.rounded) << c.value;
  }
}

TEST(Orientation, PositiveCounterClockwiseAndSignOf) {
  EXPECT_DOUBLE_EQ(Orientation(XY{0, 0}, XY{10, 0}, XY{0, 10}), 100);
  EXPECT_DOUBLE_EQ(Orientation(XY{0, 0}, XY{0, 10}, XY{10, 0}), -100);
  EXPECT_DOUBLE_EQ(Orientation(XY{0, 0}, XY{5, 5}, XY{10, 10}), 0);
  EXPECT_EQ(SignOf(3, -1), -3);
  EXPECT_EQ(SignOf(-3, 2), 3);
  EXPECT_EQ(SignOf(3, 0), 0);
}

struct AngleCase {
  const char* name;
  double got;
  double want;
};

TEST(Angles, FollowTheirConventions) {
  const AngleCase cases[] = {
      {"Direction south", Direction(0, -1), 1.5 * Pi},
      {"Direction west", Direction(-1, 0), Pi},
      {"Direction nearly north", Direction(0.00005, 1), Pi / 2},
      {"Direction south-west", Direction(-1, -1), 1.25 * Pi},
      {"Direction south-east is negative", Direction(1, -1), -0.25 * Pi},
      {"LineAngle vertical downwards", LineAngle(0, 5, 0, 0), Pi / 2},
      {"LineAngle vertical upwards", LineAngle(0, 0, 0, 5), -Pi / 2},
      {"LineAngle is an inclination", LineAngle(0, 0, -1, -1), Pi / 4},
      {"AngleAt opposite legs", AngleAt(XY{-1, 0}, XY{0, 0}, XY{3, 0}), Pi},
      {"AngleAt equal legs", AngleAt(XY{2, 2}, XY{0, 0}, XY{1, 1}), 0},
      {"AngleAt perpendicular legs", AngleAt(XY{0, 2}, XY{0, 0}, XY{5, 0}), Pi / 2},
      {"AngleAt obtuse", AngleAt(XY{-1, 1}, XY{0, 0}, XY{1, 0}), 0.75 * Pi},
      {"AngleAt a leg without length", AngleAt(XY{0, 0}, XY{0, 0}, XY{1, 0}), 0},
      {"SafeArcCos(1)", SafeArcCos(1), 0},
      {"SafeArcCos(-1)", SafeArcCos(-1), Pi},
      {"SafeArcCos(0.5)", SafeArcCos(0.5), Pi / 3},
      {"SafeArcSin(1)", SafeArcSin(1), Pi / 2},
      {"SafeArcSin(-1)", SafeArcSin(-1), -Pi / 2},
      {"SafeArcSin(0.5)", SafeArcSin(0.5), Pi / 6},
      {"SafeArcSin rounded beyond 1", SafeArcSin(1.0000001), Pi / 2},
      {"SafeArcCos rounded below -1", SafeArcCos(-1.0000001), Pi},
  };
  for (const AngleCase& c : cases) EXPECT_NEAR(c.got, c.want, 1e-12) << c.name;
}

struct DistanceCase {
  const char* name;
  XY a, b, q;
  double want;
};

TEST(SegmentDistance2, PullsEndsInTowardsTheSegment) {
  const DistanceCase cases[] = {
      {"perpendicular foot inside", {0, 0}, {10, 0}, {4, 3}, 9},
      {"beyond B, end pulled in", {0, 0}, {10, 0}, {12, 0}, 2.001 * 2.001},
      {"shared corner, first segment", {0, 0}, {10, 0}, {-1, -0.5}, 1.252001},
      {"shared corner, second segment", {0, 0}, {0, 10}, {-1, -0.5}, 1.251001},
      {"segment without length", {3, 3}, {3, 3}, {6, 7}, 25},
  };
  for (const DistanceCase& c : cases) EXPECT_NEAR(SegmentDistance2(c.a, c.b, c.q), c.want, 1e-9) << c.name;
}

class GeometryModel : public TinTest {
 protected:
  // Corners of a square cut along its diagonal 1-3 into triangles 1 = (1, 2, 3) and 2 = (1, 3, 4).
  void MakeSquare() {
    AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    model.TriVertex[1] = {1, 2, 3};
    model.TriVertex[2] = {1, 3, 4};
    model.TriNeighbour[1] = {2, 0, 0};
    model.TriNeighbour[2] = {1, 0, 0};
    model.TriangleCount = 2;
  }
};

TEST_F(GeometryModel, SegmentsCrossReportsPassingNearAnEnd) {
  AddPoints({{0, 0}, {10, 0}, {5, -5}, {5, 0.0005}, {5, 5}, {0, 1}, {10, 1}, {0, -3}});
  const Crossing near = SegmentsCross(model, 1, 2, 3, 4);
  EXPECT_FALSE(near.crosses);
  EXPECT_TRUE(near.nearD);
  EXPECT_FALSE(near.nearC);
  EXPECT_TRUE(SegmentsCross(model, 1, 2, 3, 5).crosses);
  const Crossing parallel = SegmentsCross(model, 1, 2, 6, 7);
  EXPECT_FALSE(parallel.crosses || parallel.nearC || parallel.nearD);
  // c-d passes through the start of a-b: within tolerance for the plain test, not for the strict.
  EXPECT_TRUE(SegmentsCross(model, 1, 2, 8, 6).crosses);
  EXPECT_FALSE(SegmentsCrossStrict(model, 1, 2, 8, 6).crosses);
}

TEST_F(GeometryModel, NearestPointPrefersTheLowestIndexOfEquallyNearPoints) {
  EXPECT_EQ(NearestPoint(model, 0, 0), NoPoint);
  AddPoints({{5, 5}, {1, 0}, {-1, 0}, {0, 1}});
  EXPECT_EQ(NearestPoint(model, 0, 0), 2);
  EXPECT_EQ(NearestPoint(model, 4, 4), 1);
  EXPECT_EQ(NearestOtherPoint(model, 1, 4, 2), 4);
  EXPECT_EQ(NearestOtherPoint(model, 1, 3, 4), 2);
  EXPECT_EQ(NearestOtherPoint(model, 3, 4, 1), 4);
  EXPECT_EQ(NearestOtherPoint(model, 3, 2, 1), NoPoint);
}

TEST_F(GeometryModel, PointInTriangleCountsEdgesCornersAndTheToleranceBand) {
  MakeSquare();
  for (TriangleIndex t : {TriangleIndex{1}, TriangleIndex{2}}) {
    EXPECT_TRUE(PointInTriangle(model, t, 5, 5)) << "on the shared edge, triangle " << t;
    EXPECT_TRUE(PointInTriangle(model, t, 0, 0)) << "at a corner, triangle " << t;
  }
  EXPECT_TRUE(PointInTriangle(model, 1, 8, 2));
  EXPECT_FALSE(PointInTriangle(model, 2, 8, 2));
  // The other corner order gives the same answers.
  model.TriVertex[1] = {3, 2, 1};
  EXPECT_TRUE(PointInTriangle(model, 1, 8, 2));
  EXPECT_FALSE(PointInTriangle(model, 1, 2, 8));
  // Just below the edge (1, 2): a doubled area of -5e-5 counts as zero, -2e-4 does not.
  model.TriVertex[1] = {1, 2, 3};
  EXPECT_TRUE(PointInTriangle(model, 1, 5, -5e-6));
  EXPECT_FALSE(PointInTriangle(model, 1, 5, -2e-5));
  // Near corner 2, outside both edges at it by less than the tolerance.
  EXPECT_TRUE(PointInTriangle(model, 1, 10 + 4e-6, -4e-6));
}

TEST_F(GeometryModel, TrianglePlaneZDoesNotDependOnCornerOrder) {
  AddPoint(0, 0, 0);
  AddPoint(10, 0, 10);
  AddPoint(0, 10, 0);
  AddPoint(20, 0, 7);
  model.TriVertex[1] = {1, 2, 3};
  model.TriVertex[2] = {3, 2, 1};
  model.TriVertex[3] = {1, 2, 4};  // no plan area
  model.TriangleCount = 3;
  EXPECT_NEAR(TrianglePlaneZ(model, 1, 5, 5), 5, 1e-12);
  EXPECT_NEAR(TrianglePlaneZ(model, 2, 5, 5), 5, 1e-12);
  EXPECT_EQ(TrianglePlaneZ(model, 3, 5, 0), 0);
}

TEST_F(GeometryModel, AcrossEdgeFindsTheNeighbourAndItsThirdCorner) {
  MakeSquare();
  const EdgeNeighbour across = AcrossEdge(model, 1, 3, 1);
  EXPECT_TRUE(across.found);
  EXPECT_EQ(across.triangle, 2);
  EXPECT_EQ(across.third, 4);
  EXPECT_FALSE(AcrossEdge(model, 1, 1, 2).found);
}

TEST_F(GeometryModel, LocationWalksFromTheLastTriangleAndResetsAnOutOfRangeStart) {
  MakeSquare();
  state.LastTriangle = 7;
  const Location inside = LocateTriangle(model, state, 2, 8);
  EXPECT_TRUE(inside.found);
  EXPECT_EQ(inside.triangle, 2);
  EXPECT_EQ(state.LastTriangle, 2);
  const Location outside = LocateTriangle(model, state, 30, 5);
  EXPECT_FALSE(outside.found);
  EXPECT_EQ(state.LastTriangle, outside.triangle);
  // On the shared edge both contain the position; the linear scan keeps the highest.
  EXPECT_EQ(LocateTriangleLinear(model, state, 5, 5, NoTriangle), 2);
  EXPECT_EQ(LocateTriangleLinear(model, state, 50, 5, 9), 9);
  EXPECT_EQ(FindTriangleWithVertex(model, state, 4, NoTriangle), 2);
  EXPECT_EQ(FindTriangleWithVertex(model, state, 9, 5), 5);
}

TEST_F(GeometryModel, ElevationOutsideIsMinZWithTheMessageOnlyWhenAsked) {
  MakeSquare();
  model.PointZ[3] = 10;
  model.ComputeExtents();
  const Elevation inside = ElevationAt(model, state, port, 10, 5);
  EXPECT_TRUE(inside.ok);
  EXPECT_NEAR(inside.z, 5, 1e-12);
  state.ReportElevationFailure = true;
  const Elevation outside = ElevationAt(model, state, port, 40, 40);
  EXPECT_FALSE(outside.ok);
  EXPECT_EQ(outside.z, model.MinZ);
  EXPECT_FALSE(state.ReportElevationFailure);
  ElevationAt(model, state, port, 40, 40);
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error), std::vector<std::string>{std::string(msg::ElevationOutsideSurface)});
}

TEST_F(GeometryModel, InsideBorderOfACounterClockwiseSquareAndItsReverse) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetBorder({1, 2, 3, 4});
  EXPECT_TRUE(InsideBorder(model, 1, 5, 5));
  EXPECT_TRUE(InsideBorder(model, 1, 5, 0));
  EXPECT_FALSE(InsideBorder(model, 1, 11, 11));
  EXPECT_FALSE(InsideBorder(model, 1, 5, -1));
  const BorderSide side = BorderDistance(model, 1, 5, 12);
  EXPECT_FALSE(side.inside);
  EXPECT_NEAR(side.distance, 2, 1e-12);
  EXPECT_NEAR(BorderDistance(model, 1, 4, 5).distance, 4, 1e-12);
  ASSERT_TRUE(model.ReverseBorder());
  EXPECT_FALSE(InsideBorder(model, 1, 5, 5));
}

TEST_F(GeometryModel, InsertOnBorderSplicesAPointLyingOnASegment) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {10, 4.0005}, {5, 5}});
  SetBorder({1, 2, 3, 4});
  EXPECT_TRUE(OnBorderLine(model, 10, 4.0005));
  EXPECT_TRUE(InsertOnBorder(model, 5, 10, 4.0005));
  EXPECT_EQ(model.BorderNext[2], 5);
  EXPECT_EQ(model.BorderNext[5], 3);
  EXPECT_FALSE(InsertOnBorder(model, 6, 5, 5));
  EXPECT_EQ(model.BorderNext[6], NoPoint);
}

TEST_F(GeometryModel, InsideExtentsIsStrict) {
  AddPoints({{0, 0}, {10, 10}});
  EXPECT_TRUE(InsideExtents(model, 5, 5));
  EXPECT_FALSE(InsideExtents(model, 0, 5));
  EXPECT_FALSE(InsideExtents(model, 5, 10));
}

}  // namespace
}  // namespace terravue::tin

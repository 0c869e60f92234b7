#include "tin/constrained_edges.h"

#include <gtest/gtest.h>

#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using Corners3 = std::array<PointIndex, 3>;
using Neighbours3 = std::array<TriangleIndex, 3>;

// A square 1-2-3-4 cut along 1-3 into A = 1 (1, 2, 3) and B = 2 (1, 3, 4), with an outer
// triangle 3 = (2, 5, 3) beside A and 4 = (4, 3, 6) beside B.
class SwapTest : public TinTest {
 protected:
  void SetUp() override {
    TinTest::SetUp();
    AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {15, 5}, {5, 15}});
    model.TriVertex[1] = {1, 2, 3};
    model.TriVertex[2] = {1, 3, 4};
    model.TriVertex[3] = {2, 5, 3};
    model.TriVertex[4] = {4, 3, 6};
    model.TriNeighbour[1] = {3, 2, 0};
    model.TriNeighbour[2] = {1, 4, 0};
    model.TriNeighbour[3] = {1, 0, 0};
    model.TriNeighbour[4] = {2, 0, 0};
    model.TriangleCount = 4;
  }
};

TEST_F(SwapTest, SwapRewritesBothTrianglesAndReattachesTheOuterOnes) {
  FixedEdges fixed(model.TriangleCount);
  fixed.Set(1, 1, true);  // edge 2-3 of A
  ASSERT_EQ(SwapDiagonal(model, fixed, 1, 2), SwapResult::Swapped);
  EXPECT_EQ(model.TriVertex[1], (Corners3{2, 4, 3}));
  EXPECT_EQ(model.TriVertex[2], (Corners3{2, 4, 1}));
  EXPECT_EQ(model.TriNeighbour[1], (Neighbours3{2, 3, 4}));
  EXPECT_EQ(model.TriNeighbour[2], (Neighbours3{1, 0, 0}));
  EXPECT_EQ(model.TriNeighbour[3], (Neighbours3{1, 0, 0}));
  EXPECT_EQ(model.TriNeighbour[4], (Neighbours3{1, 0, 0}));
  // The fixed edge 2-3 now sits in A's slot 2 (corners 3 -> 2).
  EXPECT_FALSE(fixed.Get(1, 1));
  EXPECT_TRUE(fixed.Get(1, 2));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

TEST_F(SwapTest, RefusalsChangeNothing) {
  FixedEdges fixed(model.TriangleCount);
  const auto corners = Corners();
  const auto neighbours = Neighbours();
  EXPECT_EQ(SwapDiagonal(model, fixed, 1, 4), SwapResult::Swapped) << "not neighbours: nothing to do";
  EXPECT_EQ(SwapDiagonal(model, fixed, 0, 1), SwapResult::Swapped);
  fixed.Set(2, 0, true);  // edge 1-3 seen from B
  EXPECT_EQ(SwapDiagonal(model, fixed, 1, 2), SwapResult::FixedEdge);
  FixedEdges none(model.TriangleCount);
  model.PointX[4] = 12;
  model.PointY[4] = 13;  // the quadrilateral 1-2-3-4 is now reflex at 3
  EXPECT_EQ(SwapDiagonal(model, none, 1, 2), SwapResult::NotConvex);
  EXPECT_EQ(Corners(), corners);
  EXPECT_EQ(Neighbours(), neighbours);
}

TEST_F(SwapTest, EdgeSlotAndSharesEdge) {
  EXPECT_EQ(EdgeSlot(model, 1, 3, 2).slot, 1);
  EXPECT_TRUE(EdgeSlot(model, 1, 1, 3).found);
  EXPECT_EQ(EdgeSlot(model, 1, 1, 3).slot, 2);
  EXPECT_FALSE(EdgeSlot(model, 1, 1, 4).found);
  EXPECT_TRUE(SharesEdge(model, 1, 2));
  EXPECT_FALSE(SharesEdge(model, 1, 4));
  EXPECT_FALSE(SharesEdge(model, 1, 0));
}

// Forcing segments into triangulations made by Triangulate (no border given: a convex one).
class ForceTest : public TinTest {
 protected:
  void Triangulated(std::initializer_list<std::pair<double, double>> points) {
    AddPoints(points);
    ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
    // The border the run made is not wanted here: it would count as forced in the checks.
    for (int i = 0; i <= model.PointCount; ++i) model.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
  }
  std::vector<std::string> Check() {
    auto problems = testing::CheckTin(model);
    for (const auto& line : testing::CheckDelaunay(model)) problems.push_back(line);
    return problems;
  }
};

TEST_F(ForceTest, AnEdgeAlreadyThereIsMarkedFixedOnBothSides) {
  Triangulated({{0, 0}, {10, 1}, {11, 11}, {1, 10}, {5, 20}});
  ASSERT_TRUE(testing::HasEdge(model, 3, 4));
  FixedEdges fixed(model.TriangleCount);
  const auto corners = Corners();
  const ForceResult result = ForceSegment(model, state, fixed, 3, 4, true);
  EXPECT_FALSE(result.failed);
  EXPECT_FALSE(result.passedPoint);
  EXPECT_EQ(Corners(), corners);
  int fixedSides = 0;
  for (TriangleIndex t = 1; t <= model.TriangleCount; ++t) {
    const EdgeSlotResult slot = EdgeSlot(model, t, 3, 4);
    if (slot.found) fixedSides += fixed.Get(t, slot.slot) ? 1 : 0;
  }
  EXPECT_EQ(fixedSides, 2);
}

TEST_F(ForceTest, ASegmentCrossingOneEdgeTakesOneSwap) {
  Triangulated({{0, 0}, {10, 1}, {11, 11}, {1, 10}});
  const bool diagonal13 = testing::HasEdge(model, 1, 3);
  const PointIndex a = diagonal13 ? 2 : 1, b = diagonal13 ? 4 : 3;
  FixedEdges fixed(model.TriangleCount);
  EXPECT_FALSE(ForceSegment(model, state, fixed, a, b, false).failed);
  EXPECT_TRUE(testing::HasEdge(model, a, b));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
  // Both triangles now start with the segment's ends and list each other first.
  for (TriangleIndex t : {TriangleIndex{1}, TriangleIndex{2}}) {
    const auto& c = model.TriVertex[t];
    EXPECT_TRUE((c[0] == a && c[1] == b) || (c[0] == b && c[1] == a)) << "triangle " << t;
    EXPECT_EQ(model.TriNeighbour[t][0], 3 - t);
  }
}

TEST_F(ForceTest, LongSegmentsAreForcedAndTheSurfaceStaysSound) {
  // A fan of points above and below the line from 1 to 2.
  AddPoints({{0, 0}, {100, 3}});
  for (int i = 1; i < 10; ++i) {
    AddPoint(10.0 * i + 0.37 * i, 4.0 + (i % 3));
    AddPoint(10.0 * i - 0.21 * i, -3.0 - (i % 2));
  }
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  for (int i = 0; i <= model.PointCount; ++i) model.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
  ASSERT_FALSE(testing::HasEdge(model, 1, 2));
  FixedEdges fixed(model.TriangleCount);
  const ForceResult result = ForceSegment(model, state, fixed, 1, 2, true);
  EXPECT_FALSE(result.failed);
  EXPECT_TRUE(testing::HasEdge(model, 1, 2));
  AddBreakline(1, 2);
  testing::TinExpectations expect;
  expect.forcedEdgesPresent = true;
  EXPECT_EQ(testing::CheckTin(model, expect), std::vector<std::string>{});
  EXPECT_EQ(testing::CheckDelaunay(model), std::vector<std::string>{});
}

TEST_F(ForceTest, ASegmentThroughAThirdPointFails) {
  Triangulated({{0, 0}, {10, 0.0005}, {20, 0}, {10, 8}, {10, -8}});
  FixedEdges fixed(model.TriangleCount);
  const ForceResult result = ForceSegment(model, state, fixed, 1, 3, true);
  EXPECT_TRUE(result.failed);
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

TEST_F(ForceTest, ASecondSegmentCrossingAFixedOneFails) {
  Triangulated({{0, 0}, {10, 1}, {11, 11}, {1, 10}, {-5, 5}, {16, 6}});
  FixedEdges fixed(model.TriangleCount);
  ASSERT_FALSE(ForceSegment(model, state, fixed, 1, 3, true).failed);
  ASSERT_TRUE(testing::HasEdge(model, 1, 3));
  EXPECT_TRUE(ForceSegment(model, state, fixed, 2, 4, true).failed);
  EXPECT_TRUE(testing::HasEdge(model, 1, 3));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

}  // namespace
}  // namespace terravue::tin

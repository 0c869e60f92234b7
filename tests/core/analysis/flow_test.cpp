// Traces across the triangles (water drop, watershed, contour line) and the diagrams built from
// them, on surfaces whose answers are known: planes, a pyramid and its pit, a cone, and a grid
// whose fall lines run along the triangle edges.

#include "analysis/flow.h"

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::analysis {
namespace {

using model::SurfaceModel;

TriangleIndex Locate(const SurfaceModel& m, double x, double y) {
  tin::LocateState state;
  const tin::Location where = tin::LocateTriangle(m, state, x, y);
  EXPECT_TRUE(where.found) << x << ", " << y;
  return where.triangle;
}

// ---- Single traces ----------------------------------------------------------------------------

struct PlaneCase {
  const char* name;
  TraceMode mode;
  double endX;
  bool closedHeads;
};

void PrintTo(const PlaneCase& c, std::ostream* os) { *os << c.name; }

class TiltedPlane : public ::testing::TestWithParam<PlaneCase> {};

// The plane rises towards +X: a drop runs straight down the fall line to the border at x = 0,
// the uphill trace to x = 60, in straight segments across the triangles.
TEST_P(TiltedPlane, RunsAlongTheFallLineToTheBorder) {
  const PlaneCase c = GetParam();
  SurfaceModel m;
  ParallelGrid(m, 6, 10, [](double x, double) { return x; });
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  tracer.Trace(Locate(m, 35, 22), c.mode, 35, 22);

  ASSERT_FALSE(sink.segments.empty());
  double x = 35;
  for (const RecordedSegment& s : sink.segments) {
    EXPECT_NEAR(s.from.x, x, 1e-9);
    EXPECT_NEAR(s.from.y, 22, 1e-9);
    EXPECT_NEAR(s.to.y, 22, 1e-9);
    EXPECT_NEAR(s.to.z, s.to.x, 1e-9) << "on the surface";
    EXPECT_EQ(s.closedHead, c.closedHeads);
    EXPECT_GT(std::fabs(s.to.x - s.from.x), 0);
    EXPECT_EQ(s.to.x < s.from.x, c.endX < 35);
    x = s.to.x;
  }
  EXPECT_NEAR(x, c.endX, 1e-9);
  EXPECT_TRUE(sink.starts.empty()) << "an inside start does not split";
  EXPECT_FALSE(tracer.Capped());
}

INSTANTIATE_TEST_SUITE_P(Modes, TiltedPlane,
                         ::testing::Values(PlaneCase{"Downhill", TraceMode::Downhill, 0, false},
                                           PlaneCase{"Uphill", TraceMode::Uphill, 60, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A cone-shaped pit: the drop from its flank ends at the bottom vertex.
TEST(WaterDrop, EndsInThePitOfACone) {
  SurfaceModel m;
  std::vector<testing::XYZ> points = {{0, 0, 0}};
  std::vector<std::array<PointIndex, 3>> triangles;
  constexpr int Rim = 8;
  for (int k = 0; k < Rim; ++k) {
    const double a = 2 * std::numbers::pi * k / Rim;
    points.push_back({10 * std::cos(a), 10 * std::sin(a), 10});
    triangles.push_back({1, static_cast<PointIndex>(k + 2), static_cast<PointIndex>((k + 1) % Rim + 2)});
  }
  testing::BuildSurface(m, points, triangles);
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  // Off the middle of its face the drop meets the edge beside, where the faces drain together,
  // and runs down that channel.
  tracer.Trace(Locate(m, 6, 1.5), TraceMode::Downhill, 6, 1.5);
  ASSERT_FALSE(sink.segments.empty());
  const TracePoint end = sink.segments.back().to;
  EXPECT_NEAR(end.x, 0, 1e-9);
  EXPECT_NEAR(end.y, 0, 1e-9);
  EXPECT_NEAR(end.z, 0, 1e-9);
}

// From the apex every face drains away: one chain down each of the four faces.
TEST(WaterDrop, BranchesIntoEveryTriangleLeadingAwayFromAVertex) {
  SurfaceModel m;
  Pyramid(m);
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  tracer.Trace(1, TraceMode::Downhill, 5, 5);
  EXPECT_EQ(sink.starts.size(), 4u);
  ASSERT_EQ(sink.segments.size(), 4u);
  std::set<std::pair<double, double>> ends;
  for (const RecordedSegment& s : sink.segments) {
    EXPECT_NEAR(s.from.z, 10, 1e-9);
    EXPECT_NEAR(s.to.z, 0, 1e-9) << "down to the base";
    ends.insert({std::round(s.to.x), std::round(s.to.y)});
  }
  EXPECT_EQ(ends, (std::set<std::pair<double, double>>{{5, 0}, {10, 5}, {5, 10}, {0, 5}}));
}

// Uphill from a face of the pyramid runs straight up that face to the ridge beside it, which
// sends it back, then climbs the ridge to the summit: the watershed of the apex region is
// bounded by the ridges and never crosses one.
TEST(Watershed, ClimbsItsFaceToTheRidgeAndTheRidgeToTheSummit) {
  SurfaceModel m;
  Pyramid(m);
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  tracer.Trace(Locate(m, 7, 1), TraceMode::Uphill, 7, 1);
  ASSERT_EQ(sink.segments.size(), 2u);
  const TracePoint ridge = sink.segments[0].to;
  // On the ridge from (10, 0) up to the apex: x + y = 10, and straight up the face (x stays).
  EXPECT_NEAR(ridge.x + ridge.y, 10, 1e-9);
  EXPECT_NEAR(ridge.x, 7, 1e-9);
  const TracePoint summit = sink.segments[1].to;
  EXPECT_NEAR(summit.x, 5, 1e-9);
  EXPECT_NEAR(summit.y, 5, 1e-9);
  for (const RecordedSegment& s : sink.segments) EXPECT_TRUE(s.closedHead);
}

// A drop meeting a channel of the pit runs down it to the bottom, and no further.
TEST(WaterDrop, RunsDownAChannelToThePit) {
  SurfaceModel m;
  Pyramid(m, -10);
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  tracer.Trace(Locate(m, 7, 2), TraceMode::Downhill, 7, 2);
  ASSERT_EQ(sink.segments.size(), 2u);
  EXPECT_NEAR(sink.segments[0].to.x + sink.segments[0].to.y, 10, 1e-9) << "onto the channel";
  EXPECT_NEAR(sink.segments[1].to.x, 5, 1e-9);
  EXPECT_NEAR(sink.segments[1].to.y, 5, 1e-9);
  EXPECT_NEAR(sink.segments[1].to.z, -10, 1e-9);
}

// A level line round the hill comes back into its start triangle and stops there, all of it at
// the elevation it started at.
TEST(ContourLine, ClosesRoundAHill) {
  SurfaceModel m;
  Pyramid(m);
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  const TriangleIndex start = Locate(m, 5, 2.5);
  tracer.Trace(start, TraceMode::ContourLeft, 5, 2.5);
  ASSERT_EQ(sink.segments.size(), 4u) << "once round, through the three other faces";
  for (const RecordedSegment& s : sink.segments) {
    EXPECT_NEAR(s.from.z, 5, 1e-9);
    EXPECT_NEAR(s.to.z, 5, 1e-9);
  }
  const TracePoint end = sink.segments.back().to;
  EXPECT_TRUE(tin::PointInTriangle(m, start, end.x, end.y)) << "ends on the start triangle's edge";
}

// The fall line runs along the parallel diagonals of a grid: every vertex on the way would send
// two branches to the next one, 2^30 paths down the grid's diagonal. Each vertex branches once.
TEST(WaterDrop, FallLinesAlongEdgesDoNotMultiply) {
  SurfaceModel m;
  ParallelGrid(m, 30, 1, [](double x, double y) { return x + y; });
  RecordingSink sink;
  SurfaceTracer tracer(m, sink);
  tracer.Trace(Locate(m, 30, 30), TraceMode::Downhill, 30, 30);
  EXPECT_FALSE(tracer.Capped());
  EXPECT_GE(sink.segments.size(), 30u);
  EXPECT_LE(sink.segments.size(), 2u * m.PointCount) << "at most a few segments per vertex";
  bool reachedOrigin = false;
  for (const RecordedSegment& s : sink.segments) reachedOrigin |= std::hypot(s.to.x, s.to.y) < 1e-9;
  EXPECT_TRUE(reachedOrigin);
}

TEST(WaterDrop, SegmentBudgetStopsTheTrace) {
  SurfaceModel m;
  ParallelGrid(m, 20, 1, [](double x, double) { return x; });
  RecordingSink sink;
  SurfaceTracer tracer(m, sink, 5);
  tracer.Trace(Locate(m, 19.5, 10.2), TraceMode::Downhill, 19.5, 10.2);
  EXPECT_TRUE(tracer.Capped());
  EXPECT_EQ(sink.segments.size(), 5u);
}

// ---- Diagrams ---------------------------------------------------------------------------------

struct EdgeDiagramCase {
  const char* name;
  double height;  // of the pyramid's apex; negative: a pit
  bool ridges;    // the ridge diagram, else the flow path diagram
  std::size_t edges;
};

void PrintTo(const EdgeDiagramCase& c, std::ostream* os) { *os << c.name; }

class EdgeDiagram : public ::testing::TestWithParam<EdgeDiagramCase> {};

// The pyramid's four sloping edges are ridges and nothing drains into them; in the pit they are
// channels. Channels point downhill, ridges uphill with closed heads.
TEST_P(EdgeDiagram, FindsTheEdgesBothSidesFaceTowards) {
  const EdgeDiagramCase c = GetParam();
  SurfaceModel m;
  Pyramid(m, c.height);
  RecordingSink sink;
  if (c.ridges)
    RidgeDiagram(m, false, sink);
  else
    FlowPathDiagram(m, FlowOptions{}, sink);
  ASSERT_EQ(sink.segments.size(), c.edges);
  for (const RecordedSegment& s : sink.segments) {
    EXPECT_EQ(s.closedHead, c.ridges);
    EXPECT_EQ(s.to.z > s.from.z, c.ridges) << (c.ridges ? "up the ridge" : "down the channel");
    EXPECT_TRUE(std::fabs(s.from.x - 5) + std::fabs(s.from.y - 5) < 1e-9 ||
                std::fabs(s.to.x - 5) + std::fabs(s.to.y - 5) < 1e-9)
        << "one end at the apex";
  }
}

INSTANTIATE_TEST_SUITE_P(Pyramids, EdgeDiagram,
                         ::testing::Values(EdgeDiagramCase{"RidgesOfAHill", 10, true, 4},
                                           EdgeDiagramCase{"NoChannelsOnAHill", 10, false, 0},
                                           EdgeDiagramCase{"ChannelsOfAPit", -10, false, 4},
                                           EdgeDiagramCase{"NoRidgesInAPit", -10, true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// In the pit, traces continue from the channels' lower ends (the bottom) and watersheds climb
// from there in their own style; with starts at the data points nothing continues.
TEST(FlowPathDiagram, ContinuesFromChannelEndsUnlessStartingAtDataPoints) {
  SurfaceModel m;
  Pyramid(m, -10);
  FlowOptions o;
  o.continueFromEnds = true;
  o.watersheds = true;
  RecordingSink continued;
  FlowPathDiagram(m, o, continued);
  EXPECT_GT(continued.Count(DiagramStyle::Watershed), 0u);

  o.fromDataPoints = true;
  RecordingSink withPoints;
  FlowPathDiagram(m, o, withPoints);
  FlowOptions plain;
  plain.fromDataPoints = true;
  RecordingSink pointsOnly;
  FlowPathDiagram(m, plain, pointsOnly);
  EXPECT_EQ(withPoints.Count(DiagramStyle::Watershed), 0u);
  EXPECT_EQ(withPoints.segments.size(), pointsOnly.segments.size());
}

TEST(DownSlopeArrows, LevelTrianglesGetNoArrowAndTheSteepestTheFullLength) {
  SurfaceModel m;
  // A level triangle beside one rising 1 in 1 towards +Y.
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 10}}, {{1, 2, 3}, {1, 3, 4}});
  std::vector<std::pair<TracePoint, TracePoint>> arrows;
  ArrowOptions o;
  o.magnitude = 2;
  o.proportional = true;
  ASSERT_TRUE(DownSlopeArrows(m, o, [&](const TracePoint& a, const TracePoint& b) { arrows.emplace_back(a, b); }));
  ASSERT_EQ(arrows.size(), 1u);
  const auto& [from, to] = arrows.front();
  EXPECT_NEAR(std::hypot(to.x - from.x, to.y - from.y, to.z - from.z), 2, 1e-9);
}

TEST(DownSlopeArrows, TooFineAGridStopsInsteadOfRunningForHours) {
  SurfaceModel m;
  Pyramid(m);
  ArrowOptions o;
  o.atCentres = false;
  o.atGridPoints = true;
  o.spacing = 0.001;  // 10^8 grid points per face
  std::size_t arrows = 0;
  EXPECT_FALSE(DownSlopeArrows(m, o, [&](const TracePoint&, const TracePoint&) { ++arrows; }));
  o.spacing = 1;
  EXPECT_TRUE(DownSlopeArrows(m, o, [&](const TracePoint&, const TracePoint&) { ++arrows; }));
  EXPECT_GT(arrows, 80u);
  // No grid at all for spacings the settings would never hold.
  arrows = 0;
  for (const double spacing : {0.0, -5.0, std::nan("")}) {
    o.spacing = spacing;
    EXPECT_TRUE(DownSlopeArrows(m, o, [&](const TracePoint&, const TracePoint&) { ++arrows; }));
  }
  EXPECT_EQ(arrows, 0u);
}

// ---- Density and elevation jump ---------------------------------------------------------------

TEST(Density, HasNoDivisionByZero) {
  SurfaceModel m;
  testing::BuildSurface(m, {{0, 0, 5}, {10, 0, 5}, {0, 10, 5}}, {{1, 2, 3}});
  const Facet level = FacetOf(m, 1);
  DensityOptions byElevation;
  EXPECT_EQ(TriangleDensity(level, byElevation, m.MinZ, m.MaxZ), 0);
  byElevation.reversed = true;
  EXPECT_EQ(TriangleDensity(level, byElevation, m.MinZ, m.MaxZ), 1);

  DensityOptions bySlope;
  bySlope.bySlope = true;
  bySlope.zones = {30, 30, 5};  // no width at all
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {0, 10, 10}}, {{1, 2, 3}});
  EXPECT_EQ(TriangleDensity(FacetOf(m, 1), bySlope, m.MinZ, m.MaxZ), 1);
  bySlope.zones = {0, 100, 10};
  EXPECT_DOUBLE_EQ(TriangleDensity(FacetOf(m, 1), bySlope, m.MinZ, m.MaxZ), 15.0 / 20) << "the middle of zone 8";
}

struct JumpCase {
  const char* name;
  double e;
  JumpStatus status;
  double x, y;
};

void PrintTo(const JumpCase& c, std::ostream* os) { *os << c.name; }

class ElevationJumpTo : public ::testing::TestWithParam<JumpCase> {};

// On the face of the pyramid from (0, 0) and (10, 0) up to the apex, the cursor at (6, 2)
// (elevation 4) moves along its fall line (x stays) to the level wanted, or to a corner.
TEST_P(ElevationJumpTo, MovesAlongTheFallLine) {
  const JumpCase c = GetParam();
  SurfaceModel m;
  Pyramid(m);
  const JumpResult r = ElevationJump(m, 1, 6, 2, c.e);
  EXPECT_EQ(r.status, c.status);
  if (c.status != JumpStatus::Moved) return;
  EXPECT_NEAR(r.x, c.x, 1e-9);
  EXPECT_NEAR(r.y, c.y, 1e-9);
  EXPECT_NEAR(r.z, c.e, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Levels, ElevationJumpTo,
                         ::testing::Values(JumpCase{"Up", 8, JumpStatus::Moved, 6, 4},
                                           JumpCase{"Down", 1, JumpStatus::Moved, 6, 0.5},
                                           JumpCase{"ToTheApex", 10, JumpStatus::Moved, 5, 5},
                                           JumpCase{"ToTheBase", 0, JumpStatus::Moved, 0, 0},
                                           JumpCase{"AboveTheTriangle", 11, JumpStatus::NotInTriangle, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::analysis

#include "mapping/level_lines.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_port.h"
#include "mapping/contour_smoothing.h"
#include "reference_level_lines.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "mapping_fixture.h"
#include "model/surface_model.h"

namespace terravue::mapping {
namespace {

using device::WorldPoint;
using testing::BuildSurface;
using testing::FakePort;
using testing::Stroke;
using testing::WorldRecorder;
using testing::XYZ;

constexpr std::uint32_t Primary = MakeColour(0, 128, 0);
constexpr std::uint32_t Index = MakeColour(128, 128, 0);

LevelLineRun ContourRun(double interval, int multiple = 0) {
  LevelLineRun run;
  run.interval = interval;
  run.multiple = multiple;
  run.primary = {Primary, {}, 0};
  run.index = {Index, {}, 3};
  return run;
}

class Traced {
 public:
  model::SurfaceModel model;
  WorldRecorder device;
  FakePort port;
  TraceOutcome outcome;

  void Trace(const LevelLineRun& run) {
    LineOutput out(device);
    outcome = TraceLevelLines(model, out, port, run);
  }
};

std::vector<std::pair<double, double>> PlanOf(const Stroke& run) {
  std::vector<std::pair<double, double>> xy;
  for (const device::WorldPoint& p : run.points) xy.emplace_back(p.x, p.y);
  return xy;
}

using Path = std::vector<std::pair<double, double>>;

// Twice the signed plan area: positive for a counter-clockwise ring.
double SignedArea(const Stroke& run) {
  double area = 0;
  for (std::size_t i = 1; i < run.points.size(); ++i)
    area += run.points[i - 1].x * run.points[i].y - run.points[i].x * run.points[i - 1].y;
  return area;
}

bool Closed(const Stroke& run) {
  const device::WorldPoint& a = run.points.front();
  const device::WorldPoint& b = run.points.back();
  return run.points.size() > 2 && std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9;
}

// ---- Exact cases on tiny surfaces -----------------------------------------------------------

// z = x over a square of two triangles.
void Plane(model::SurfaceModel& m) {
  BuildSurface(m, {{0, 0, 0}, {10, 0, 10}, {10, 10, 10}, {0, 10, 0}}, {{1, 2, 3}, {1, 3, 4}});
}

// A square base at 0 around an apex at 10.
void Pyramid(model::SurfaceModel& m) {
  BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
               {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
}

TEST(TraceLevelLines, PlaneGivesOneStraightLinePerLevelAlternatingInDirection) {
  Traced t;
  Plane(t.model);
  t.Trace(ContourRun(2.5));
  // Each line starts at the end nearer to where the previous one ended; the levels on the
  // outside edges are drawn along them.
  const std::vector<Path> expected = {
      {{0, 0}, {0, 10}},
      {{2.5, 10}, {2.5, 2.5}, {2.5, 0}},
      {{5, 0}, {5, 5}, {5, 10}},
      {{7.5, 10}, {7.5, 7.5}, {7.5, 0}},
      {{10, 0}, {10, 10}},
  };
  ASSERT_EQ(t.device.runs.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(PlanOf(t.device.runs[i]), expected[i]) << "level " << i * 2.5;
    for (const device::WorldPoint& p : t.device.runs[i].points) EXPECT_DOUBLE_EQ(p.z, i * 2.5);
  }
  EXPECT_EQ(t.outcome.lines, 5);
}

TEST(TraceLevelLines, PyramidGivesOneClosedCounterClockwiseRingPerLevelBelowTheApex) {
  Traced t;
  Pyramid(t.model);
  t.Trace(ContourRun(2.5));
  // Level 0 runs round the base; level 10 only touches the apex and draws nothing.
  ASSERT_EQ(t.device.runs.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const double level = 2.5 * static_cast<double>(i);
    const double lo = level / 2, hi = 10 - level / 2;  // the ring's half-size shrinks with height
    const Stroke& run = t.device.runs[i];
    EXPECT_TRUE(Closed(run)) << level;
    EXPECT_GT(SignedArea(run), 0) << level;
    EXPECT_EQ(PlanOf(run), (Path{{hi, lo}, {hi, hi}, {lo, hi}, {lo, lo}, {hi, lo}})) << level;
  }
}

TEST(TraceLevelLines, IndexLevelsComeFirstInTheirOwnStyle) {
  Traced t;
  Pyramid(t.model);
  t.Trace(ContourRun(2.5, 2));
  // Index levels 0 and 5 (10 has no line), then the others.
  ASSERT_EQ(t.device.runs.size(), 4u);
  const std::vector<std::pair<double, std::uint32_t>> expected = {
      {0, Index}, {5, Index}, {2.5, Primary}, {7.5, Primary}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_DOUBLE_EQ(t.device.runs[i].points.front().z, expected[i].first);
    EXPECT_EQ(t.device.runs[i].colour, expected[i].second);
    EXPECT_EQ(t.device.runs[i].width, expected[i].second == Index ? 3 : 0);
  }
}

TEST(TraceLevelLines, LevelThroughAVertexPassesThroughIt) {
  Traced t;
  // z = x with a centre vertex at (5, 5, 5): level 5 runs through it.
  BuildSurface(t.model, {{0, 0, 0}, {10, 0, 10}, {10, 10, 10}, {0, 10, 0}, {5, 5, 5}},
               {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
  LevelLineRun run = ContourRun(5);
  run.rangeSpecified = true;
  run.minimum = 4;
  run.maximum = 6;
  t.Trace(run);
  ASSERT_EQ(t.device.runs.size(), 1u);
  EXPECT_EQ(PlanOf(t.device.runs[0]), (Path{{5, 0}, {5, 5}, {5, 10}}));
}

// The segments are counted before anything is traced: a run above its limit asks first, naming
// the interval and the count, and a No traces nothing. The count is the segments drawn.
TEST(TraceLevelLines, ARunOfTooManySegmentsAsksFirst) {
  const auto build = [](Traced& t) {
    BuildSurface(t.model, {{0, 0, 0}, {10, 0, 10}, {10, 10, 10}, {0, 10, 0}, {5, 5, 5}},
                 {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
  };
  LevelLineRun run = ContourRun(0.5);
  run.base = 0.25;  // no level through a corner
  Traced all;
  build(all);
  all.Trace(run);
  std::uint64_t drawn = 0;
  for (const Stroke& stroke : all.device.runs) drawn += stroke.points.size() - 1;
  ASSERT_GT(drawn, 0u);
  EXPECT_EQ(all.outcome.segments, drawn);
  EXPECT_TRUE(all.port.shown.empty());

  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    Traced t;
    build(t);
    t.port.yesNoAnswers.push_back(yes);
    run.segmentLimit = drawn - 1;
    t.Trace(run);
    EXPECT_EQ(t.port.shown, (std::vector<FakePort::Shown>{
                                {FakePort::Kind::Question, "The contour interval 0.5 makes " + std::to_string(drawn) +
                                                               " line segments, more than the " +
                                                               std::to_string(drawn - 1) +
                                                               " a map is drawn with in reasonable time and size."
                                                               "\r\nDraw them anyway?"}}));
    EXPECT_EQ(t.outcome.refused, !yes);
    EXPECT_EQ(t.device.runs.size(), yes ? all.device.runs.size() : 0u);
  }
}

struct EdgeOnLevelCase {
  const char* name;
  double otherSideZ;  // of the second triangle's third corner; the first one's is 0
};

void PrintTo(const EdgeOnLevelCase& c, std::ostream* os) { *os << c.name; }

class EdgeOnLevel : public ::testing::TestWithParam<EdgeOnLevelCase> {};

TEST_P(EdgeOnLevel, IsDrawnOnce) {
  Traced t;
  // The diagonal 1-3 lies on level 5.
  BuildSurface(t.model, {{0, 0, 5}, {10, 0, 0}, {10, 10, 5}, {0, 10, GetParam().otherSideZ}},
               {{1, 2, 3}, {1, 3, 4}});
  LevelLineRun run = ContourRun(5);
  run.rangeSpecified = true;
  run.minimum = 5;
  run.maximum = 5;
  t.Trace(run);
  ASSERT_EQ(t.device.runs.size(), 1u);
  EXPECT_EQ(PlanOf(t.device.runs[0]), (Path{{0, 0}, {10, 10}}));
}

INSTANTIATE_TEST_SUITE_P(Sides, EdgeOnLevel,
                         ::testing::Values(EdgeOnLevelCase{"ThirdCornersOnOppositeSides", 10},
                                           EdgeOnLevelCase{"ThirdCornersOnTheSameSide", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TraceLevelLines, FlatTriangleNeverYieldsALine) {
  Traced t;
  BuildSurface(t.model, {{0, 0, 5}, {10, 0, 5}, {0, 10, 5}}, {{1, 2, 3}});
  t.Trace(ContourRun(1));
  EXPECT_TRUE(t.device.runs.empty());
  EXPECT_EQ(t.device.plots, 0);
}

TEST(TraceLevelLines, EdgeOfNearlyEqualEndsGivesItsLowerEnd) {
  Traced t;
  BuildSurface(t.model, {{0, 0, 0}, {10, 0, 10}, {10, 10, 10.00005}}, {{1, 2, 3}});
  LevelLineRun run = ContourRun(1);
  run.base = 0.00002;
  t.Trace(run);
  // The top level crosses the edge 2-3, whose ends differ by less than 0.0001.
  ASSERT_FALSE(t.device.runs.empty());
  const Stroke& top = t.device.runs.back();
  ASSERT_EQ(top.points.size(), 2u);
  const bool hasCorner = std::any_of(top.points.begin(), top.points.end(), [](const device::WorldPoint& p) {
    return p.x == 10 && p.y == 0 && p.z == 10;
  });
  EXPECT_TRUE(hasCorner);
}

TEST(TraceLevelLines, SurfaceBelowTheFirstLevelOnlySelectsTheStyle) {
  Traced t;
  Plane(t.model);
  LevelLineRun run = ContourRun(1);
  run.rangeSpecified = true;
  run.minimum = 20;
  run.maximum = 30;
  t.Trace(run);
  EXPECT_TRUE(t.device.runs.empty());
  EXPECT_EQ(t.device.plots, 0);
  EXPECT_EQ(t.device.layerColours, std::vector<std::uint32_t>{Primary});
}

TEST(TraceLevelLines, NothingWithoutTriangles) {
  Traced t;
  BuildSurface(t.model, {{0, 0, 0}, {1, 0, 1}}, {});
  t.Trace(ContourRun(1));
  EXPECT_FALSE(t.outcome.traced);
  EXPECT_TRUE(t.device.layerColours.empty());
}

TEST(TraceLevelLines, SortsTheCornersOfEveryTriangleByTheTracedValue) {
  Traced t;
  Pyramid(t.model);
  t.Trace(ContourRun(100));
  for (TriangleIndex k = 1; k <= t.model.TriangleCount; ++k) {
    const auto& c = t.model.TriVertex[k];
    EXPECT_LE(t.model.PointZ[c[0]], t.model.PointZ[c[1]]);
    EXPECT_LE(t.model.PointZ[c[1]], t.model.PointZ[c[2]]);
  }
  EXPECT_TRUE(model::CheckTopology(t.model).empty());
}

TEST(TraceLevelLines, TooManyLevelsAreCapped) {
  Traced t;
  Plane(t.model);
  t.Trace(ContourRun(0.0005));
  EXPECT_TRUE(t.outcome.capped);
  EXPECT_EQ(t.device.runs.size(), static_cast<std::size_t>(MaxLinesPerRedraw));
}

// ---- The level table ------------------------------------------------------------------------

struct LevelCase {
  const char* name;
  double minimum, maximum, interval, base;
  std::vector<double> levels;
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.name; }

class LevelTable : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelTable, ListsTheLevelsInTheRange) {
  const LevelCase& c = GetParam();
  const LevelRange range = PlanLevels(c.minimum, c.maximum, c.interval, c.base, MaxLinesPerRedraw);
  std::vector<double> levels;
  for (std::int64_t k = range.first; k <= range.last; ++k) levels.push_back(LevelValue(c.base, c.interval, k));
  ASSERT_EQ(levels.size(), c.levels.size());
  for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_NEAR(levels[i], c.levels[i], 1e-12) << i;
  EXPECT_FALSE(range.capped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LevelTable,
    ::testing::Values(LevelCase{"OffsetBase", 10, 13, 1, 2.5, {10.5, 11.5, 12.5}},
                      LevelCase{"NegativeDataKeepsTheLowestLevel", -3.7, 0, 1, 0.5, {-3.5, -2.5, -1.5, -0.5}},
                      LevelCase{"EndsOnLevelsAreIncluded", 0, 10, 2.5, 0, {0, 2.5, 5, 7.5, 10}},
                      LevelCase{"NegativeBase", -10, -5, 2, 1, {-9, -7, -5}},
                      LevelCase{"BaseFarFromTheData", 10, 11, 0.5, 1e6, {10, 10.5, 11}},
                      LevelCase{"NoLevelInTheRange", 100.1, 100.2, 1, 0, {}},
                      LevelCase{"EmptyRange", 5, 4, 1, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelTable, LevelsDoNotDriftOverManySteps) {
  const LevelRange range = PlanLevels(0, 999.95, 0.1, 0, MaxLinesPerRedraw);
  EXPECT_EQ(range.first, 0);
  EXPECT_EQ(range.last, 9999);
  // Computed from its index, the last level is what 9999 x 0.1 is, not a sum of 9999 steps.
  EXPECT_EQ(LevelValue(0, 0.1, range.last), 9999 * 0.1);
}

TEST(LevelTable, CountIsCapped) {
  const LevelRange range = PlanLevels(0, 1e6, 1, 0, MaxLinesPerRedraw);
  EXPECT_TRUE(range.capped);
  EXPECT_EQ(range.Count(), MaxLinesPerRedraw);
  EXPECT_EQ(range.first, 0);
}

TEST(LevelTable, UnusableNumbersGiveNoLevels) {
  const double nan = std::nan("");
  EXPECT_EQ(PlanLevels(0, 10, 0, 0, 100).Count(), 0);
  EXPECT_EQ(PlanLevels(0, 10, -1, 0, 100).Count(), 0);
  EXPECT_EQ(PlanLevels(nan, 10, 1, 0, 100).Count(), 0);
  EXPECT_EQ(PlanLevels(0, 10, 1e-300, 0, 100).Count(), 0);
}

// The levels a run traces, in order, as (level, index style) pairs.
std::vector<std::pair<double, bool>> TracedLevels(const LevelLineRun& run) {
  Traced t;
  // A plane z = x over a 10 x 10 square, in a row of triangles so that every level is one line.
  Plane(t.model);
  t.Trace(run);
  std::vector<std::pair<double, bool>> levels;
  for (const Stroke& r : t.device.runs) levels.emplace_back(r.points.front().z, r.colour == Index);
  return levels;
}

struct RunCase {
  const char* name;
  int multiple;
  bool rangeSpecified;
  double minimum, maximum;
  std::vector<std::pair<double, bool>> levels;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class LevelPasses : public ::testing::TestWithParam<RunCase> {};

TEST_P(LevelPasses, TraceTheLevelsInPassOrder) {
  const RunCase& c = GetParam();
  LevelLineRun run = ContourRun(1, c.multiple);
  run.rangeSpecified = c.rangeSpecified;
  run.minimum = c.minimum;
  run.maximum = c.maximum;
  EXPECT_EQ(TracedLevels(run), c.levels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LevelPasses,
    ::testing::Values(
        RunCase{"MultipleFive", 5, false, 0, 0,
                {{0, true}, {5, true}, {10, true}, {1, false}, {2, false}, {3, false}, {4, false},
                 {6, false}, {7, false}, {8, false}, {9, false}}},
        RunCase{"MultipleOneDrawsEveryLevelAsIndex", 1, true, 2, 4, {{2, true}, {3, true}, {4, true}}},
        RunCase{"MultipleZeroDrawsEveryLevelPlain", 0, true, 2, 4, {{2, false}, {3, false}, {4, false}}},
        RunCase{"NarrowerSpecifiedRange", 0, true, 2.5, 4.5, {{3, false}, {4, false}}},
        RunCase{"WiderSpecifiedRangeKeepsTheData", 0, true, -5, 20,
                {{0, false}, {1, false}, {2, false}, {3, false}, {4, false}, {5, false}, {6, false},
                 {7, false}, {8, false}, {9, false}, {10, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Property: the lines are the crossings --------------------------------------------------

// A jittered grid of cells, each cut along a random diagonal, with random elevations; with
// `quantum` > 0 the elevations are multiples of it, so that levels meet vertices and edges.
void RandomSurface(model::SurfaceModel& m, int cells, unsigned seed, double quantum) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> jitter(-0.3, 0.3), height(0, 20), coin(0, 1);
  std::vector<XYZ> points;
  const auto id = [cells](int i, int j) { return static_cast<PointIndex>(j * (cells + 1) + i + 1); };
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      const bool edge = i == 0 || j == 0 || i == cells || j == cells;
      double z = height(random);
      if (quantum > 0) z = std::round(z / quantum) * quantum;
      points.push_back({i + (edge ? 0 : jitter(random)), j + (edge ? 0 : jitter(random)), z});
    }
  std::vector<std::array<PointIndex, 3>> triangles;
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      const PointIndex a = id(i, j), b = id(i + 1, j), c = id(i + 1, j + 1), d = id(i, j + 1);
      if (coin(random) < 0.5) {
        triangles.push_back({a, b, c});
        triangles.push_back({a, c, d});
      } else {
        triangles.push_back({a, b, d});
        triangles.push_back({b, c, d});
      }
    }
  BuildSurface(m, points, triangles);
}

struct Edge {
  PointIndex a, b;
  int owners;
};

std::vector<Edge> EdgesOf(const model::SurfaceModel& m) {
  std::map<std::pair<PointIndex, PointIndex>, int> count;
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
    for (int i = 0; i < 3; ++i) {
      PointIndex a = m.TriVertex[t][static_cast<std::size_t>(i)];
      PointIndex b = m.TriVertex[t][static_cast<std::size_t>((i + 1) % 3)];
      if (a > b) std::swap(a, b);
      ++count[{a, b}];
    }
  std::vector<Edge> edges;
  for (const auto& [e, n] : count) edges.push_back({e.first, e.second, n});
  return edges;
}

double DistanceToSegment(const device::WorldPoint& p, const model::SurfaceModel& m, PointIndex a, PointIndex b) {
  const double ax = m.PointX[a], ay = m.PointY[a], bx = m.PointX[b], by = m.PointY[b];
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((p.x - ax) * dx + (p.y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (ax + t * dx), p.y - (ay + t * dy));
}

struct SurfaceCase {
  const char* name;
  unsigned seed;
  double quantum;
};

void PrintTo(const SurfaceCase& c, std::ostream* os) { *os << c.name; }

class LinesAreCrossings : public ::testing::TestWithParam<SurfaceCase> {};

TEST_P(LinesAreCrossings, EveryCrossingOnceAndLinesClosedOrEndingOnTheHull) {
  const SurfaceCase& c = GetParam();
  model::SurfaceModel m;
  RandomSurface(m, 14, c.seed, c.quantum);
  const std::vector<Edge> edges = EdgesOf(m);
  const double tolerance = 1e-9;

  for (double level = 0.5; level < 20; level += 1.5) {
    WorldRecorder device;
    FakePort port;
    LineOutput out(device);
    LevelLineRun run = ContourRun(1);
    run.rangeSpecified = true;
    run.minimum = level;
    run.maximum = level;
    run.base = level;
    TraceLevelLines(m, out, port, run);

    // The strict crossings of the level with the edges, each to be met exactly once.
    std::vector<device::WorldPoint> crossings;
    for (const Edge& e : edges) {
      const double za = m.PointZ[e.a], zb = m.PointZ[e.b];
      if (!((za < level && zb > level) || (zb < level && za > level))) continue;
      const PointIndex lo = za < zb ? e.a : e.b, hi = za < zb ? e.b : e.a;
      const double f = (level - m.PointZ[lo]) / (m.PointZ[hi] - m.PointZ[lo]);
      crossings.push_back({m.PointX[lo] + (m.PointX[hi] - m.PointX[lo]) * f,
                           m.PointY[lo] + (m.PointY[hi] - m.PointY[lo]) * f, level});
    }
    const auto VertexOnLevel = [&](const device::WorldPoint& p) {
      for (PointIndex v = 1; v <= m.PointCount; ++v)
        if (m.PointZ[v] == level && std::fabs(m.PointX[v] - p.x) < tolerance &&
            std::fabs(m.PointY[v] - p.y) < tolerance)
          return true;
      return false;
    };
    std::vector<int> met(crossings.size(), 0);
    for (const Stroke& r : device.runs) {
      ASSERT_GE(r.points.size(), 2u);
      const bool closed = Closed(r);
      const std::size_t n = closed ? r.points.size() - 1 : r.points.size();
      for (std::size_t i = 0; i < n; ++i) {
        const device::WorldPoint& p = r.points[i];
        bool found = false;
        for (std::size_t k = 0; k < crossings.size(); ++k)
          if (std::fabs(crossings[k].x - p.x) < tolerance && std::fabs(crossings[k].y - p.y) < tolerance) {
            ++met[k];
            found = true;
          }
        // Anything else must be a vertex on the level.
        if (!found) {
          EXPECT_TRUE(VertexOnLevel(p)) << "level " << level << " point " << p.x << ", " << p.y;
        }
        EXPECT_NEAR(p.z, level, 1e-9);
      }
      if (closed) continue;
      // An open line ends on the outside of the surface, or where the level only touches it
      // (an edge lying on the level between two triangles above it, or below).
      for (const device::WorldPoint* end : {&r.points.front(), &r.points.back()}) {
        bool onHull = false;
        for (const Edge& e : edges)
          if (e.owners == 1 && DistanceToSegment(*end, m, e.a, e.b) < tolerance) onHull = true;
        EXPECT_TRUE(onHull || VertexOnLevel(*end)) << "level " << level << " end " << end->x << ", " << end->y;
      }
    }
    for (std::size_t k = 0; k < crossings.size(); ++k)
      EXPECT_EQ(met[k], 1) << "level " << level << " crossing " << crossings[k].x << ", " << crossings[k].y;
  }
}

INSTANTIATE_TEST_SUITE_P(Surfaces, LinesAreCrossings,
                         ::testing::Values(SurfaceCase{"Smooth1", 1, 0}, SurfaceCase{"Smooth2", 2, 0},
                                           SurfaceCase{"Smooth3", 3, 0},
                                           SurfaceCase{"LevelsThroughVertices1", 4, 0.5},
                                           SurfaceCase{"LevelsThroughVertices2", 5, 0.5}),
                         [](const auto& info) { return std::string(info.param.name); });


// ---- Call for call the plain tracer's output ------------------------------------------------

// Every device call folded into a digest, with counts to tell what differs.
class CallDigest : public device::DrawingDevice {
 public:
  CallDigest() : device::DrawingDevice(device::DeviceKind::ScreenMap) {}
  std::uint64_t digest = 14695981039346656037ull;
  long plots = 0, pens = 0, texts = 0, styles = 0;

  void DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) override {
    device::DrawingDevice::DeviceSetLayer(colour, layer);
    Fold(1, colour);
    ++styles;
  }
  void DeviceSetWidth(int widthIndex) override {
    Fold(2, static_cast<std::uint64_t>(widthIndex));
    ++styles;
  }
  void DevicePlot(bool flag, double x, double y, double z) override {
    Fold(3, flag, x, y, z);
    ++plots;
  }
  void DevicePenDown() override {
    Fold(4, 0);
    ++pens;
  }
  void DevicePenUp() override {
    Fold(5, 0);
    ++pens;
  }
  void DeviceSetTextStyle(std::uint32_t, double height) override {
    text.TextHeight = height;
    text.TextCharWidth = 0.8 * height;
  }
  void DeviceText(std::string_view s, double angle, double x, double y, double z, double size) override {
    for (char ch : s) Fold(6, static_cast<unsigned char>(ch));
    Fold(7, angle, x, y, z, size);
    ++texts;
  }
  void DeviceAxisText(std::string_view, bool, double, double, double) override {}
  void DeviceEndText() override {}
  void DeviceMarker(int, double, double, double, double) override {}
  void DeviceTitleBlock() override {}
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>&, double) override {}
  void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override {}

 private:
  template <typename... Values>
  void Fold(std::uint64_t kind, Values... values) {
    Mix(kind);
    (Mix(Bits(values)), ...);
  }
  static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }
  static std::uint64_t Bits(std::uint64_t v) { return v; }
  static std::uint64_t Bits(std::uint32_t v) { return v; }
  static std::uint64_t Bits(int v) { return static_cast<std::uint64_t>(v); }
  static std::uint64_t Bits(bool v) { return v ? 1 : 0; }
  void Mix(std::uint64_t v) { digest = std::rotl(digest ^ v, 23) * 0x9E3779B97F4A7C15ull; }
};

struct SameOutputCase {
  const char* name;
  unsigned seed;
  double quantum;  // elevations rounded to it, so that levels meet corners and edges
  LevelLineRun run;
  bool styled = false;
  bool damaged = false;  // some neighbour links cut or out of range, a shuffled work list
  bool steepStrip = false;  // a strip whose triangles span thousands of levels
};

LevelLineRun RunOf(TracedCoordinate coordinate, double interval, int multiple, double base = 0) {
  LevelLineRun run = ContourRun(interval, multiple);
  run.coordinate = coordinate;
  run.base = base;
  return run;
}

LevelLineRun Styled(LevelLineRun run) {
  run.labels = LineSelection::All;
  run.dashes = LineSelection::NonMultiple;
  return run;
}

// A strip two points high whose corners alternate between 0 and 1000.
void SteepStrip(model::SurfaceModel& m, int columns) {
  std::vector<XYZ> points;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i <= columns; ++i) points.push_back({double(i), double(j), (i + j) % 2 ? 1000.0 : 0.0});
  const auto id = [columns](int i, int j) { return static_cast<PointIndex>(j * (columns + 1) + i + 1); };
  std::vector<std::array<PointIndex, 3>> triangles;
  for (int i = 0; i < columns; ++i) {
    triangles.push_back({id(i, 0), id(i + 1, 0), id(i + 1, 1)});
    triangles.push_back({id(i, 0), id(i + 1, 1), id(i, 1)});
  }
  BuildSurface(m, points, triangles);
}

// Cuts a few neighbour links (one side only, as a damaged file might), points a few at
// triangles beyond the count, and lists the triangles in a shuffled order with repeats and
// entries that are no triangles.
void Damage(model::SurfaceModel& m, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> triangle(1, m.TriangleCount), slot(0, 2);
  for (int i = 0; i < m.TriangleCount / 20; ++i)
    m.TriNeighbour[static_cast<std::size_t>(triangle(random))][static_cast<std::size_t>(slot(random))] = NoTriangle;
  for (int i = 0; i < 5; ++i)
    m.TriNeighbour[static_cast<std::size_t>(triangle(random))][static_cast<std::size_t>(slot(random))] =
        static_cast<TriangleIndex>(m.TriangleCount + 1 + i);
  std::vector<TriangleIndex> list;
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
    if (t % 7 != 0) list.push_back(t);
  for (int i = 0; i < 30; ++i) list.push_back(static_cast<TriangleIndex>(triangle(random)));
  list.push_back(NoTriangle);
  list.push_back(static_cast<TriangleIndex>(m.TriangleCount + 3));
  std::shuffle(list.begin(), list.end(), random);
  for (std::size_t k = 0; k < list.size(); ++k) m.ContourTriList[k + 1] = list[k];
  m.ContourTriCount = static_cast<std::uint16_t>(list.size());
}

void PrintTo(const SameOutputCase& c, std::ostream* os) { *os << c.name; }

class SameOutput : public ::testing::TestWithParam<SameOutputCase> {};

TEST_P(SameOutput, AsThePlainTracerCallForCall) {
  const SameOutputCase& c = GetParam();
  model::SurfaceModel surface;
  if (c.steepStrip)
    SteepStrip(surface, 160);
  else
    RandomSurface(surface, 40, c.seed, c.quantum);
  if (c.damaged) Damage(surface, c.seed);

  struct Outcome {
    CallDigest device;
    model::SurfaceModel model;
    TraceOutcome outcome;
    std::size_t labels = 0;
  };
  const auto trace = [&](auto tracer, Outcome& o) {
    o.model = surface;
    o.device.DeviceSetTextStyle(0, 0.4);
    // Twice over: the second run starts from the corners the first one sorted.
    for (int i = 0; i < 2; ++i) {
      FakePort port;
      LineOutput out(o.device);
      if (c.styled) {
        out.smoothing = {true, 4, 3};
        out.dashes = {0.7, 0.3};
        out.labelOptions.direction = LabelOrientation::North;
        out.labelOptions.frequency = 30;
      }
      o.outcome = tracer(o.model, out, port, c.run);
      o.labels += out.Labels().size();
    }
  };
  Outcome expected, actual;
  trace(ReferenceTraceLevelLines, expected);
  trace(TraceLevelLines, actual);

  EXPECT_EQ(actual.outcome.lines, expected.outcome.lines);
  EXPECT_EQ(actual.outcome.capped, expected.outcome.capped);
  EXPECT_EQ(actual.device.plots, expected.device.plots);
  EXPECT_EQ(actual.device.pens, expected.device.pens);
  EXPECT_EQ(actual.device.texts, expected.device.texts);
  EXPECT_EQ(actual.device.styles, expected.device.styles);
  EXPECT_EQ(actual.device.digest, expected.device.digest);
  EXPECT_TRUE(actual.model.TriVertex == expected.model.TriVertex);
  EXPECT_GT(expected.outcome.lines, 0);
  if (c.styled) {
    EXPECT_GT(expected.device.texts, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Surfaces, SameOutput,
    ::testing::Values(
        SameOutputCase{"Smooth", 11, 0, RunOf(TracedCoordinate::Z, 0.7, 5)},
        SameOutputCase{"LevelsThroughCornersAndEdges", 12, 0.5, RunOf(TracedCoordinate::Z, 0.5, 4)},
        SameOutputCase{"OffsetBaseEveryLevelIndex", 13, 0.25, RunOf(TracedCoordinate::Z, 0.25, 1, 0.125)},
        SameOutputCase{"StyledWithLabelsDashesAndSmoothing", 14, 0.5, Styled(RunOf(TracedCoordinate::Z, 1, 5)), true},
        SameOutputCase{"TracedOnX", 15, 0, RunOf(TracedCoordinate::X, 0.5, 2)},
        SameOutputCase{"TracedOnY", 16, 0, RunOf(TracedCoordinate::Y, 1.5, 0, 0.25)},
        SameOutputCase{"DamagedSurfaceAndWorkList", 17, 0.5, RunOf(TracedCoordinate::Z, 0.5, 3), false, true},
        SameOutputCase{"SteepStripFiledAStretchAtATime", 18, 0, RunOf(TracedCoordinate::Z, 0.5, 10), false, false,
                       true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::mapping

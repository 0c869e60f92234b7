#include "tin/border.h"

#include <cmath>
#include <sstream>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "support/exact_checks.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::FakePort;

std::vector<std::string> ReportLines(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(report.substr(start, end - start));
  return lines;
}

class BorderTest : public TinTest {
 protected:
  std::vector<PointIndex> Ring() const {
    std::vector<PointIndex> ring;
    const PointIndex start = model.FirstBorderPoint(1, model.PointCount);
    if (start == NoPoint) return ring;
    PointIndex i = start;
    do {
      ring.push_back(i);
      i = model.BorderNext[i];
    } while (i != start && ring.size() <= model.PointCount);
    return ring;
  }
  BorderErrors errors;
};

struct CheckCase {
  const char* name;
  std::vector<std::pair<int, int>> links;
  BorderCheck want;
};

TEST_F(BorderTest, CheckBorderTellsNoneValidAndInvalidRings) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 0}, {20, 10}});
  const CheckCase cases[] = {
      {"no border point", {}, BorderCheck::None},
      {"triangle", {{1, 2}, {2, 3}, {3, 1}}, BorderCheck::Valid},
      {"two points", {{1, 2}, {2, 1}}, BorderCheck::Invalid},
      {"two separate rings", {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}}, BorderCheck::Invalid},
      {"open chain", {{1, 2}, {2, 3}, {3, 4}}, BorderCheck::Invalid},
      {"link off the model", {{1, 2}, {2, 3}, {3, 9}}, BorderCheck::Invalid},
  };
  for (const CheckCase& c : cases) {
    for (int i = 0; i <= model.PointCount; ++i) model.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
    for (const auto& [from, to] : c.links) model.BorderNext[static_cast<std::size_t>(from)] = static_cast<PointIndex>(to);
    EXPECT_EQ(CheckBorder(model, 1, model.PointCount), c.want) << c.name;
  }
}

TEST_F(BorderTest, ConvexBorderRunsCounterClockwiseFromTheLowestLeftmostPoint) {
  AddPoints({{10, 10}, {0, 10}, {5, 0}, {10, 0}, {0, 0}, {4, 6}});
  CreateConvexBorder(session, errors, false);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 2, 5, 3, 4}));
  EXPECT_EQ(model.BorderNext[5], 3);  // starts at 5, the lowest then leftmost
  EXPECT_EQ(model.BorderNext[6], NoPoint);
  EXPECT_EQ(port.Texts(FakePort::Kind::Progress), std::vector<std::string>{std::string(msg::CreatingBorder)});
  EXPECT_EQ(port.Texts(FakePort::Kind::Completion), std::vector<std::string>{std::string(msg::BorderComplete)});
}

TEST_F(BorderTest, ConvexBorderThroughCollinearPointsAndQuietlyUnderAutoProcess) {
  AddPoints({{0, 0}, {5, 0}, {10, 0}});
  CreateConvexBorder(session, errors, true);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 2, 3}));
  EXPECT_TRUE(port.Texts(FakePort::Kind::Completion).empty());
  EXPECT_EQ(CheckBorder(model, 1, model.PointCount), BorderCheck::Valid);
}

// A wrap that steps from point to point by direction within a tolerance passes over a corner
// when a point a hair inside the hull lies nearly in line with it: each case holds such a point.
struct HullCase {
  const char* name;
  std::vector<std::pair<double, double>> points;
  std::vector<PointIndex> ring;
};

void PrintTo(const HullCase& c, std::ostream* os) { *os << c.name; }

class ConvexBorderCorners : public BorderTest, public ::testing::WithParamInterface<HullCase> {};

TEST_P(ConvexBorderCorners, TakesEveryCornerOfTheHull) {
  const HullCase& c = GetParam();
  for (const auto& [x, y] : c.points) AddPoint(x, y);
  CreateConvexBorder(session, errors, true);
  EXPECT_EQ(Ring(), c.ring);
  EXPECT_EQ(testing::CheckConvexHullRing(model), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvexBorderCorners,
    ::testing::Values(
        // 3 lies 0.04 above the line from 1 to 2, inside the hull.
        HullCase{"AHairAboveTheBase", {{0, 0}, {1000, 0}, {500, 0.04}, {500, 500}}, {1, 2, 4}},
        // The same a hair below: 3 is a corner.
        HullCase{"AHairBelowTheBase", {{0, 0}, {1000, 0}, {500, -0.04}, {500, 500}}, {1, 3, 2, 4}},
        // Points on a hull edge stay on the ring, in order along it.
        HullCase{"PointsOnAnEdge", {{0, 0}, {30, 0}, {10, 0}, {20, 0}, {15, 15}, {15, 5}}, {1, 3, 4, 2, 5}},
        // At survey offsets, where the directions from far corners round alike.
        HullCase{"FarFromTheOrigin",
                 {{1454000.0, 538000.0}, {1455000.0, 538000.0}, {1454500.0, 538000.01}, {1454500.0, 538500.0}},
                 {1, 2, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BorderTest, ConvexBorderIsTheExactHullOnSeededSites) {
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    for (const auto& site : {testing::RollingTerrain(400, seed), testing::JitteredGrid(400, seed),
                             testing::JitteredRows(1000, seed), testing::ConcaveBorderSite(400, seed),
                             testing::ConvexArc(50 + static_cast<int>(seed))}) {
      Load(site);
      CreateConvexBorder(session, errors, true);
      EXPECT_EQ(testing::CheckConvexHullRing(model), std::vector<std::string>{}) << "seed " << seed;
    }
  }
}

TEST_F(BorderTest, PointsInOneLineAreToldApart) {
  AddPoints({{0, 0}, {0, 0}, {3, 4}, {6, 8}, {-3, -4}});
  EXPECT_TRUE(PointsAreCollinear(model));
  AddPoint(6, 8.000001);
  EXPECT_FALSE(PointsAreCollinear(model));
}

TEST_F(BorderTest, RingEditsKeepOneRingAndDiscardTheTriangulation) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, -1}, {5, 5}});
  CloseNewBorder(session, errors, {1, 2, 3, 4});
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 2, 3, 4}));
  model.TriangleCount = 3;
  InsertBorderPoint(session, errors, 5);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 5, 2, 3, 4}));
  EXPECT_EQ(model.TriangleCount, 0);
  InsertBorderPoint(session, errors, 5);
  EXPECT_EQ(port.Texts(FakePort::Kind::Info), std::vector<std::string>{std::string(msg::PointAlreadyOnBorder)});
  DeleteBorderPoint(session, 2);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 5, 3, 4}));
  DeleteBorderPoint(session, 6);
  DeleteBorderPoint(session, 5);
  DeleteBorderPoint(session, 4);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 3, 4}));
  EXPECT_EQ(port.Texts(FakePort::Kind::Warning),
            (std::vector<std::string>{std::string(msg::PointNotOnBorder), std::string(msg::CannotRemoveBorderPoint)}));
  NewBorderSeries(session, errors, 2, 3);
  EXPECT_EQ(port.Texts(FakePort::Kind::Error), std::vector<std::string>{std::string(msg::MinimumRangeOfThreePoints)});
  NewBorderSeries(session, errors, 2, 5);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{2, 3, 4, 5}));
  EXPECT_FALSE(session.settings.Get(settings::ModelSaved));
}

TEST_F(BorderTest, VerifyReversesAClockwiseRingAndListsOutsideAndNearPoints) {
  settings.Set(settings::CoordinateOrder, 1);  // Easting-Northing
  settings.Set(settings::Units, 1);            // metric
  AddPoints({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 50}, {50, 0}, {-3, 50}, {50, 99}});
  SetBorder({1, 4, 3, 2});  // clockwise
  AllocateBorderErrors(session, errors);
  port.yesNoAnswers = {true};
  port.promptAnswers = {"2"};
  VerifyBorder(session, errors);
  EXPECT_EQ(Ring(), (std::vector<PointIndex>{1, 2, 3, 4}));
  ASSERT_EQ(port.reports.size(), 1u) << port.Transcript();
  const std::vector<std::string> lines = ReportLines(port.reports[0]);
  ASSERT_GT(lines.size(), 9u);
  const std::vector<std::string> body(lines.begin() + 9, lines.end());
  const std::vector<std::string> expected = {
      "",
      " Field Extents",
      "              Minimum        Maximum          Range",
      "     X:        -3.000        100.000        103.000 meters",
      "     Y:         0.000        100.000        100.000 meters",
      "     Z:         0.000          0.000          0.000 meters",
      " ",
      " ",
      " Total 2-D area (square meters) >       10000.000",
      "                     (hectares) >           1.000",
      "",
      "",
      " WARNING - The following points are outside the border.",
      "",
      "  Distance    Number  Label            X              Y              Z",
      "    3.000       7    <   7>         -3.000         50.000          0.000",
      "",
      " Total number of border errors:    1",
      "",
      "",
      " WARNING - The following points are within 2.000 meters of the border.",
      "",
      "  Distance    Number  Label            X              Y              Z",
      "    0.000       6    <   6>         50.000          0.000          0.000",
      "    1.000       8    <   8>         50.000         99.000          0.000",
      "",
      " Total number of points near the border:    2",
      "",
  };
  EXPECT_EQ(body, expected);
  EXPECT_TRUE(errors.IsFlagged(7));
  EXPECT_FALSE(errors.IsFlagged(6));
  EXPECT_EQ(NextBorderError(session, errors), 7);
  EXPECT_EQ(NextBorderError(session, errors), 7);
  EXPECT_EQ(PreviousBorderError(session, errors), 7);
}

TEST_F(BorderTest, VerifyWithoutABorderOrErrorsSaysSo) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}});
  VerifyBorder(session, errors);
  EXPECT_EQ(port.Texts(FakePort::Kind::Info), std::vector<std::string>{std::string(msg::NoBorderDefined)});
  EXPECT_EQ(NextBorderError(session, errors), NoPoint);
  EXPECT_EQ(port.Texts(FakePort::Kind::Info).back(), msg::NoBorderErrorsFound);
}

}  // namespace
}  // namespace terravue::tin

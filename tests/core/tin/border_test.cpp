#include "tin/border.h"

#include <cmath>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
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

// The gift wrapping in its plain form, with the long-double direction for every point.
std::vector<PointIndex> PlainConvexRing(model::SurfaceModel m) {
  for (int i = 0; i <= m.PointCount; ++i) m.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
  int b = 1;
  for (int i = 2; i <= m.PointCount; ++i)
    if (m.PointY[i] <= m.PointY[b] && (!IsZero4(Real{m.PointY[i]} - Real{m.PointY[b]}) || m.PointX[i] <= m.PointX[b])) b = i;
  m.PointX[0] = m.PointX[b];
  m.PointY[0] = m.PointY[b];
  int d = b;
  Real h = 0;
  for (int step = 0;; ++step) {
    m.BorderNext[d] = static_cast<PointIndex>(d);
    Real f = FarDistance, g = 0;
    int taken = -1;
    for (int i = step == 0 ? 1 : 0; i <= m.PointCount; ++i) {
      if (m.BorderNext[i] != NoPoint) continue;
      const Real dx = Real{m.PointX[i]} - Real{m.PointX[d]}, dy = Real{m.PointY[i]} - Real{m.PointY[d]};
      Real o = Direction(static_cast<double>(dx), static_cast<double>(dy));
      if (o < 0 && !IsZero4(o)) o += 2 * std::numbers::pi_v<Real>;
      if (o >= f && !IsZero4(o - f)) continue;
      if (o < h && !IsZero4(o - h)) continue;
      const Real d2 = dx * dx + dy * dy;
      if (IsZero4(o - f)) {
        if (d2 > 0 && d2 < g) f = o, g = d2, taken = i;
      } else {
        f = o, g = d2, taken = i;
      }
    }
    if (taken <= 0) break;
    m.BorderNext[d] = static_cast<PointIndex>(taken);
    h = f;
    d = taken;
  }
  m.BorderNext[d] = static_cast<PointIndex>(b);
  return {m.BorderNext.begin(), m.BorderNext.begin() + m.PointCount + 1};
}

TEST_F(BorderTest, ConvexBorderMatchesThePlainWrappingOnSeededSites) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    for (const auto& site : {testing::RollingTerrain(400, seed), testing::JitteredGrid(400, seed),
                             testing::ConcaveBorderSite(400, seed), testing::ConvexArc(50 + static_cast<int>(seed))}) {
      Load(site);
      const std::vector<PointIndex> expected = PlainConvexRing(model);
      CreateConvexBorder(session, errors, true);
      EXPECT_EQ(std::vector<PointIndex>(model.BorderNext.begin(), model.BorderNext.begin() + model.PointCount + 1), expected)
          << "seed " << seed;
    }
  }
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

#include "tin/triangulate.h"

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/view3d_settings.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::FakePort;
using Kind = FakePort::Kind;
using Shown = FakePort::Shown;
using Triples = std::vector<std::array<int, 3>>;

std::string Text(std::string_view text) { return std::string(text); }

std::vector<std::string> ReportBody(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(report.substr(start, end - start));
  return std::vector<std::string>(lines.begin() + std::min<std::size_t>(9, lines.size()), lines.end());
}

class TriangulateTest : public TinTest {
 protected:
  void ClearBorder() {
    for (int i = 0; i <= model.PointCount; ++i) model.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
  }
  void ExpectSound(bool statusZero) {
    testing::TinExpectations expect;
    expect.forcedEdgesPresent = statusZero;
    expect.areaEqualsBorder = statusZero && testing::AllPointsInsideBorder(model);
    EXPECT_EQ(testing::CheckTin(model, expect), std::vector<std::string>{});
    EXPECT_EQ(testing::CheckDelaunay(model), std::vector<std::string>{});
  }
};

struct RefusalCase {
  const char* name;
  int points;
  std::string_view message;
};

TEST_F(TriangulateTest, TooFewOrTooManyPointsAreRefusedWithoutChange) {
  for (const RefusalCase& c : {RefusalCase{"none", 0, msg::NoDataLoaded}, RefusalCase{"two", 2, msg::TooFewPointsToTriangulate},
                               RefusalCase{"over capacity", model.MaxPoints + 1, msg::InsufficientPointCapacityForTriangulation}}) {
    model.ClearModel();
    model.PointCount = static_cast<std::uint16_t>(c.points);
    model.TriangleCount = 5;
    port.shown.clear();
    EXPECT_FALSE(Run().has_value()) << c.name;
    EXPECT_EQ(port.shown, (std::vector<Shown>{{Kind::Error, Text(c.message)}})) << c.name;
    EXPECT_EQ(model.TriangleCount, 5) << c.name;
  }
}

TEST_F(TriangulateTest, ThreePointsMakeOneTriangleWithoutNeighbours) {
  AddPoints({{0, 0}, {10, 1}, {4, 8}});
  settings.Set(settings::View3DOptions::View3D, true);
  state.LastTriangle = 9;
  ASSERT_EQ(Run(false), TriangulationStatus::Success);
  EXPECT_EQ(Corners(), (Triples{{2, 3, 1}}));
  EXPECT_EQ(Neighbours(), (Triples{{0, 0, 0}}));
  // Without a border the run says so, makes the convex border, then triangulates; the only
  // note to acknowledge is the run's own at the end.
  EXPECT_EQ(port.shown, (std::vector<Shown>{{Kind::Info, Text(msg::NoBorderDefined) + "\r\n" +
                                                             Text(msg::ConvexBorderAroundAllPoints)},
                                            {Kind::Progress, Text(msg::CreatingBorder)},
                                            {Kind::Progress, Text(msg::TriangulatingData)},
                                            {Kind::Completion, Text(msg::TriangulationComplete)}}));
  EXPECT_EQ(port.progress.back(), 100);
  EXPECT_EQ(model.ContourTriCount, 1);
  EXPECT_EQ(state.LastTriangle, 1);
  EXPECT_TRUE(settings.Get(settings::View3DOptions::View3D));
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_GT(port.modelStateChanges, 0);
}

TEST_F(TriangulateTest, QuietRunsAndAutoProcessKeepTheCompletionNotesToThemselves) {
  AddPoints({{0, 0}, {10, 1}, {4, 8}});
  SetBorder({1, 2, 3});
  ASSERT_EQ(Run(true), TriangulationStatus::Success);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  TriangulateOptions options;
  options.autoProcessActive = true;
  ClearBorder();
  ASSERT_EQ(Triangulate(session, state, options), TriangulationStatus::Success);
  EXPECT_EQ(port.shown, (std::vector<Shown>{{Kind::Progress, Text(msg::CreatingBorder)},
                                            {Kind::Progress, Text(msg::TriangulatingData)}}));
}

TEST_F(TriangulateTest, ABrokenRingIsAnErrorEvenUnderAutoProcess) {
  AddPoints({{0, 0}, {10, 1}, {4, 8}});
  model.BorderNext[1] = 2;  // the ring never closes
  TriangulateOptions options;
  options.autoProcessActive = true;
  ASSERT_EQ(Triangulate(session, state, options), TriangulationStatus::Success);
  EXPECT_EQ(port.shown.front(), (Shown{Kind::Error, Text(msg::ConvexBorderWillBeCreated)}));
  EXPECT_TRUE(model.IsBordered());
}

TEST_F(TriangulateTest, FourPointsMakeTwoTrianglesEachTheOthersOnlyNeighbour) {
  AddPoints({{0, 0}, {10, 1}, {11, 11}, {1, 10}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  EXPECT_EQ(Corners(), (Triples{{2, 4, 1}, {3, 4, 2}}));
  EXPECT_EQ(Neighbours(), (Triples{{2, 0, 0}, {1, 0, 0}}));
  ExpectSound(true);
}

TEST_F(TriangulateTest, AConcaveBorderLosesItsPocketTriangles) {
  // A "U": the notch between x = 10 and 20 reaches down to y = 8.
  AddPoints({{0, 0}, {30, 0}, {30, 20}, {20, 20}, {20, 8}, {10, 8.5}, {10, 20}, {0, 20}, {5, 5}, {25, 5}});
  SetBorder({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  EXPECT_EQ(Corners(), (Triples{{5, 6, 9}, {2, 10, 1}, {9, 8, 1}, {3, 10, 2}, {10, 5, 9},
                                {10, 9, 1}, {3, 5, 10}, {3, 4, 5}, {6, 8, 9}, {7, 8, 6}}));
  EXPECT_EQ(Neighbours(), (Triples{{9, 5, 0}, {6, 4, 0}, {9, 6, 0}, {2, 7, 0}, {1, 6, 7},
                                   {3, 5, 2}, {5, 4, 8}, {7, 0, 0}, {3, 10, 1}, {9, 0, 0}}));
  ExpectSound(true);
}

TEST_F(TriangulateTest, APointOutsideTheBorderKeepsTheTrianglesTouchingIt) {
  AddPoints({{0, 0}, {30, 0}, {30, 20}, {20, 20}, {20, 8}, {10, 8.5}, {10, 20}, {0, 20}, {15, 15}});
  SetBorder({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  bool touched = false;
  for (const auto& c : Corners()) touched = touched || c[0] == 9 || c[1] == 9 || c[2] == 9;
  EXPECT_TRUE(touched);
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

TEST_F(TriangulateTest, APointExactlyOnACircumcircleStaysOutOfItsCavity) {
  // All four on x^2 + y^2 = 25, inserted in this order along X: the last one lies exactly on
  // the circle of the first three, so their triangle survives and 1-3 stays the diagonal.
  AddPoints({{-5, 0}, {-3, 4}, {0, 5}, {4, -3}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  EXPECT_TRUE(testing::HasEdge(model, 1, 3));
  EXPECT_FALSE(testing::HasEdge(model, 2, 4));
  EXPECT_EQ(model.TriangleCount, 2);
}

TEST_F(TriangulateTest, ABorderSegmentThroughAPointIsListedAndEndsWithStatus6) {
  // 5 lies 0.0004 outside the segment from 1 to 2, a corner of the hull.
  AddPoints({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {10, -0.0004}, {12, 9}});
  SetBorder({1, 2, 3, 4});
  port.yesNoAnswers = {true};
  ASSERT_EQ(Run(), TriangulationStatus::BorderNotForced);
  EXPECT_GT(model.TriangleCount, 0);
  EXPECT_EQ(port.shown, (std::vector<Shown>{{Kind::Question, Text(msg::ViewBorderErrorList)},
                                            {Kind::Report, "Border Errors.TXT | Save Border Error Listing"},
                                            {Kind::Error, Text(msg::TriangulationBorderFailed)}}));
  ASSERT_EQ(port.reports.size(), 1u);
  EXPECT_EQ(ReportBody(port.reports[0]),
            (std::vector<std::string>{"", Text(msg::SegmentListingCaption), Text(msg::BorderErrorColumnsYX), "",
                                      "       1          0.000          0.000     2          0.000         20.000"}));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

TEST_F(TriangulateTest, ABreaklineThroughAPointIsListedAndEndsWithStatus7) {
  settings.Set(settings::CoordinateOrder, 1);
  AddPoints({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5.0004}, {15, 3}});
  SetBorder({1, 2, 3, 4});
  AddBreakline(4, 2);
  AddBreakline(1, 3);
  port.yesNoAnswers = {true};
  ASSERT_EQ(Run(), TriangulationStatus::BreaklinesNotForced);
  EXPECT_EQ(port.shown, (std::vector<Shown>{{Kind::Question, Text(msg::ViewBreaklineErrorList)},
                                            {Kind::Report, "Breakline Errors.TXT | Save Breakline Error Listing"},
                                            {Kind::Error, Text(msg::TriangulationBreaklinesFailed)}}));
  ASSERT_EQ(port.reports.size(), 1u);
  EXPECT_EQ(ReportBody(port.reports[0]),
            (std::vector<std::string>{"", Text(msg::BreaklineListingCaption), Text(msg::BreaklineErrorColumnsXY), "",
                                      "    2       1          0.000          0.000     3         20.000         20.000"}));
  EXPECT_TRUE(testing::HasEdge(model, 4, 2));
  EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{});
}

struct DuplicateCase {
  const char* name;
  std::vector<std::pair<double, double>> points;
  std::string pair;  // what the message says of the pair it names
};

TEST_F(TriangulateTest, DuplicatesEndWithStatus3AndTakeTheMadeBorderAway) {
  const DuplicateCase cases[] = {
      {"stored next to each other",
       {{0, 0}, {10, 1}, {10.0005, 1.0002}, {1, 10}, {6, 6}},
       "Points 2 and 3 are at the same place (less than 0.001 apart):\r\n"
       "2: Northing 1.000, Easting 10.000\r\n3: Northing 1.000, Easting 10.001"},
      {"coincident, stored apart",
       {{0, 0}, {10, 1}, {1, 10}, {6, 6}, {10, 1}},
       "Points 2 and 5 are at the same place (less than 0.001 apart):\r\n"
       "2: Northing 1.000, Easting 10.000\r\n5: Northing 1.000, Easting 10.000"},
      {"coincident inside, stored apart",
       {{0, 0}, {10, 1}, {6, 6}, {1, 10}, {6, 6}},
       "Points 3 and 5 are at the same place (less than 0.001 apart):\r\n"
       "3: Northing 6.000, Easting 6.000\r\n5: Northing 6.000, Easting 6.000"},
  };
  for (const DuplicateCase& c : cases) {
    model.ClearModel();
    for (int i = 0; i < 16; ++i) model.BorderNext[static_cast<std::size_t>(i)] = NoPoint;
    for (const auto& [x, y] : c.points) AddPoint(x, y);
    port.shown.clear();
    EXPECT_EQ(Run(), TriangulationStatus::DuplicatePoints) << c.name;
    EXPECT_EQ(model.TriangleCount, 0) << c.name;
    EXPECT_EQ(model.FirstBorderPoint(1, model.PointCount), NoPoint) << c.name;
    EXPECT_EQ(port.shown.back(), (Shown{Kind::Error, Text(msg::TriangulationDuplicatePoints) + "\r\n" + c.pair}))
        << c.name;
  }
  // Easting first where the user reads coordinates that way round.
  settings.Set(settings::CoordinateOrder, 1);
  ASSERT_EQ(Run(), TriangulationStatus::DuplicatePoints);
  EXPECT_NE(port.shown.back().text.find("3: X 6.000, Y 6.000\r\n5: X 6.000, Y 6.000"), std::string::npos)
      << port.shown.back().text;
}

TEST_F(TriangulateTest, AFailedRunPutsBackTheInvalidRingItReplaced) {
  AddPoints({{0, 0}, {10, 1}, {10.0005, 1.0002}, {1, 10}});
  SetBorder({1, 2});
  ASSERT_EQ(Run(), TriangulationStatus::DuplicatePoints);
  EXPECT_EQ(model.BorderNext[1], 2);
  EXPECT_EQ(model.BorderNext[2], 1);
  EXPECT_EQ(model.BorderNext[4], NoPoint);
}

TEST_F(TriangulateTest, BreaklinesAreForcedAndTheSurfaceStaysSound) {
  AddPoints({{0, 0}, {40, 0}, {40, 30}, {0, 30}});
  for (int i = 0; i < 12; ++i) AddPoint(3.1 + 2.9 * i, 2.2 + 2.3 * ((i * 7) % 11));
  SetBorder({1, 2, 3, 4});
  AddBreakline(1, 3);
  AddBreakline(5, 16);
  ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
  EXPECT_TRUE(testing::HasEdge(model, 1, 3));
  EXPECT_TRUE(testing::HasEdge(model, 5, 16));
  ExpectSound(true);
}

}  // namespace
}  // namespace terravue::tin

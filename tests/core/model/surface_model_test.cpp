#include "model/surface_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <type_traits>
#include <vector>

#include "fuzz/model_reader_harness.h"

namespace terravue::model {
namespace {

class SurfaceModelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m.AllocateStore()); }

  void SetBorder(std::initializer_list<std::pair<PointIndex, PointIndex>> links) {
    std::fill(m.BorderNext.begin(), m.BorderNext.end(), NoPoint);
    for (auto [from, to] : links) m.BorderNext[from] = to;
  }

  SurfaceModel m;
};

TEST_F(SurfaceModelTest, AllocateStoreKeepsSpareEntriesAboveTheCapacities) {
  EXPECT_EQ(m.MaxPoints, 32763);
  EXPECT_EQ(m.MaxTriangles, 65526);
  EXPECT_EQ(m.MaxBreaklines, 32763);
  EXPECT_EQ(m.PointX.size(), 32767u);
  EXPECT_EQ(m.PointLabel.size(), 32767u);
  EXPECT_EQ(m.TriVertex.size(), 65534u);
  EXPECT_EQ(m.ContourTriList.size(), 65534u);
  EXPECT_EQ(m.Breaklines.size(), 32767u);
  EXPECT_EQ(m.PointCount + m.TriangleCount + m.BreaklineCount + m.CutFillCount, 0);

  m.FreeStore();
  EXPECT_FALSE(m.IsAllocated());
  EXPECT_EQ(m.PointCount, 0);
}

// The store's arrays are not cleared element by element: a new store must still read as zeros
// everywhere, also where an earlier one (allocated again, or freed and allocated) was written.
TEST_F(SurfaceModelTest, AllocateStoreGivesZeroedArraysEvenAfterUse) {
  const auto fill = [](SurfaceModel& s) {
    std::fill(s.PointX.begin(), s.PointX.end(), 1.5);
    std::fill(s.PointCutFill.begin(), s.PointCutFill.end(), -2.0);
    std::fill(s.BorderNext.begin(), s.BorderNext.end(), PointIndex{7});
    std::fill(s.PointLabel.begin(), s.PointLabel.end(), PointLabelText{'A', 'B', 'C', 'D'});
    std::fill(s.TriVertex.begin(), s.TriVertex.end(), TriangleCorners{1, 2, 3});
    std::fill(s.Breaklines.begin(), s.Breaklines.end(), Breakline{4, 5});
  };
  const auto allZero = [](const SurfaceModel& s) {
    const auto zero = [](const auto& array) {
      return std::all_of(array.begin(), array.end(), [](const auto& e) { return e == std::decay_t<decltype(e)>{}; });
    };
    return zero(s.PointX) && zero(s.PointY) && zero(s.PointZ) && zero(s.PointCutFill) && zero(s.BorderNext) &&
           zero(s.PointLabel) && zero(s.TriVertex) && zero(s.TriNeighbour) && zero(s.ContourTriList) &&
           std::all_of(s.Breaklines.begin(), s.Breaklines.end(),
                       [](const Breakline& b) { return b.From == NoPoint && b.To == NoPoint; });
  };
  EXPECT_TRUE(allZero(m));
  fill(m);
  ASSERT_TRUE(m.AllocateStore());
  EXPECT_TRUE(allZero(m));
  fill(m);
  m.FreeStore();
  ASSERT_TRUE(m.AllocateStore());
  EXPECT_TRUE(allZero(m));
}

struct LabelCase {
  const char* name;
  std::string text;
  std::string stored;
};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

class PointLabelTest : public SurfaceModelTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(PointLabelTest, StoresTheLastFourCharactersRightJustified) {
  m.SetPointLabel(7, "XXXX");
  m.SetPointLabel(7, GetParam().text);
  EXPECT_EQ(m.GetPointLabel(7), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Labels, PointLabelTest,
                         ::testing::Values(LabelCase{"TwoCharacters", "12", "  12"},
                                           LabelCase{"FiveCharacters", "A1234", "1234"},
                                           LabelCase{"TrailingBlanks", "7  ", "   7"},
                                           LabelCase{"Empty", "", "    "},
                                           LabelCase{"OnlyBlanks", "      ", "    "},
                                           LabelCase{"InnerBlanksKept", " 1 2 ", " 1 2"},
                                           LabelCase{"Latin1Byte", "P\xE9", "  P\xE9"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurfaceModelTest, CommentIsCutTo78CharactersAndClearedByItsLengthByte) {
  m.SetComment(std::string(100, 'c'));
  EXPECT_EQ(m.Comment(), std::string(78, 'c'));
  m.SetComment("short");
  EXPECT_EQ(m.Comment(), "short");
  EXPECT_EQ(m.FieldComment[6], 'c');  // bytes past the length stay as they were
  m.FieldComment[0] = 200;            // a hostile length byte never reads past the block
  EXPECT_EQ(m.Comment().size(), 78u);
}

struct ExtentsCase {
  const char* name;
  std::vector<std::array<double, 3>> points;
  std::array<double, 6> minMax;  // MinX MinY MinZ MaxX MaxY MaxZ
  double diagonal;
};

void PrintTo(const ExtentsCase& c, std::ostream* os) { *os << c.name; }

class ExtentsTest : public SurfaceModelTest, public ::testing::WithParamInterface<ExtentsCase> {};

TEST_P(ExtentsTest, CoverEveryPointAndCentreOnTheMidpoint) {
  m.MinX = m.MaxX = m.MidX = m.ExtentDiagonal = 99;  // stale values from a previous model
  const auto& c = GetParam();
  for (std::size_t i = 0; i < c.points.size(); ++i) {
    m.PointX[i + 1] = c.points[i][0];
    m.PointY[i + 1] = c.points[i][1];
    m.PointZ[i + 1] = c.points[i][2];
  }
  m.PointCount = static_cast<std::uint16_t>(c.points.size());
  m.ComputeExtents();
  EXPECT_EQ((std::array{m.MinX, m.MinY, m.MinZ, m.MaxX, m.MaxY, m.MaxZ}), c.minMax);
  EXPECT_DOUBLE_EQ(m.MidX, (c.minMax[0] + c.minMax[3]) / 2);
  EXPECT_DOUBLE_EQ(m.MidY, (c.minMax[1] + c.minMax[4]) / 2);
  EXPECT_DOUBLE_EQ(m.MidZ, (c.minMax[2] + c.minMax[5]) / 2);
  EXPECT_NEAR(m.ExtentDiagonal, c.diagonal, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Extents, ExtentsTest,
                         ::testing::Values(ExtentsCase{"Empty", {}, {0, 0, 0, 0, 0, 0}, 0},
                                           ExtentsCase{"OnePoint", {{5, -3, 7}}, {5, -3, 7, 5, -3, 7}, 0},
                                           ExtentsCase{"ExtremesOnDifferentPoints",
                                                       {{2, 9, 100}, {-1, 4, 120}, {3, 5, 90}, {0, 1, 101}},
                                                       {-1, 1, 90, 3, 9, 120},
                                                       8.94427190999916}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurfaceModelTest, FirstBorderPointIsTheLowestBorderIndexInTheRange) {
  m.PointCount = 300;
  EXPECT_EQ(m.FirstBorderPoint(1, m.PointCount), NoPoint);
  EXPECT_FALSE(m.IsBordered());
  SetBorder({{250, 299}, {299, 251}, {251, 250}});
  EXPECT_EQ(m.FirstBorderPoint(1, m.PointCount), 250);
  EXPECT_EQ(m.FirstBorderPoint(251, m.PointCount), 251);
  EXPECT_EQ(m.FirstBorderPoint(1, 249), NoPoint);
  EXPECT_TRUE(m.IsBordered());
}

TEST_F(SurfaceModelTest, ReverseBorderTurnsEachLinkAroundAndTwiceRestoresTheRing) {
  m.PointCount = 6;
  SetBorder({{2, 5}, {5, 3}, {3, 6}, {6, 2}});
  const auto original = m.BorderNext;
  ASSERT_TRUE(m.ReverseBorder());
  EXPECT_EQ(m.BorderNext[5], 2);
  EXPECT_EQ(m.BorderNext[3], 5);
  EXPECT_EQ(m.BorderNext[6], 3);
  EXPECT_EQ(m.BorderNext[2], 6);
  EXPECT_EQ(m.BorderNext[1], NoPoint);
  EXPECT_EQ(m.BorderNext[4], NoPoint);
  EXPECT_TRUE(CheckTopology(m).empty());
  ASSERT_TRUE(m.ReverseBorder());
  EXPECT_EQ(m.BorderNext, original);
}

TEST_F(SurfaceModelTest, ReverseBorderWithoutABorderChangesNothing) {
  m.PointCount = 4;
  EXPECT_TRUE(m.ReverseBorder());
  EXPECT_FALSE(m.IsBordered());
}

struct BrokenRingCase {
  const char* name;
  std::vector<std::pair<PointIndex, PointIndex>> links;
};

void PrintTo(const BrokenRingCase& c, std::ostream* os) { *os << c.name; }

class BrokenRingTest : public SurfaceModelTest, public ::testing::WithParamInterface<BrokenRingCase> {};

TEST_P(BrokenRingTest, IsLeftAsItIsAndReported) {
  m.PointCount = 5;
  std::fill(m.BorderNext.begin(), m.BorderNext.end(), NoPoint);
  for (auto [from, to] : GetParam().links) m.BorderNext[from] = to;
  const auto before = m.BorderNext;
  EXPECT_FALSE(m.ReverseBorder());
  EXPECT_EQ(m.BorderNext, before);
  EXPECT_FALSE(CheckTopology(m).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rings, BrokenRingTest,
    ::testing::Values(BrokenRingCase{"OpenChain", {{1, 2}, {2, 3}}},
                      BrokenRingCase{"LoopNotThroughStart", {{1, 2}, {2, 3}, {3, 4}, {4, 2}}},
                      BrokenRingCase{"SuccessorBeyondThePoints", {{1, 2}, {2, 9}, {9, 1}}},
                      BrokenRingCase{"SuccessorOffTheBorder", {{2, 3}, {3, 4}, {4, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurfaceModelTest, SortAlongLongerAxisOrdersByThatCoordinate) {
  struct Case {
    double width, height;
    bool byX;
  };
  for (const Case c : {Case{100, 100, true}, Case{100, 40, true}, Case{40, 100, false}}) {
    for (const std::uint16_t count : {std::uint16_t{12}, std::uint16_t{2000}}) {
      SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " + std::to_string(count));
      // A fixed scramble with many equal keys: the sort must neither lose nor repeat points.
      for (std::uint16_t i = 1; i <= count; ++i) {
        m.PointX[i] = static_cast<double>((i * 7919) % 101) * c.width / 100;
        m.PointY[i] = static_cast<double>((i * 104729) % 97) * c.height / 96;
      }
      m.PointCount = count;
      m.ComputeExtents();
      std::vector<PointIndex> list;
      m.SortPointsAlongLongerAxis(list, 1, count);
      EXPECT_EQ(m.SortAxisIsX, c.byX);
      const auto& key = c.byX ? m.PointX : m.PointY;
      std::vector<PointIndex> sorted(list.begin() + 1, list.begin() + count + 1);
      EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                                 [&](PointIndex a, PointIndex b) { return key[a] < key[b]; }));
      std::sort(sorted.begin(), sorted.end());
      std::vector<PointIndex> all(count);
      std::iota(all.begin(), all.end(), PointIndex{1});
      EXPECT_EQ(sorted, all);
    }
  }
}

TEST_F(SurfaceModelTest, ResetContourTriListListsEveryTriangle) {
  fuzz::BuildBaseModel(m);
  m.ContourTriList[2] = 9;
  m.ResetContourTriList();
  EXPECT_EQ(m.ContourTriCount, 4);
  EXPECT_EQ((std::vector(m.ContourTriList.begin() + 1, m.ContourTriList.begin() + 5)),
            (std::vector<TriangleIndex>{1, 2, 3, 4}));
  m.ClearModel();
  EXPECT_EQ(m.ContourTriCount, 0);
}

struct TopologyCase {
  const char* name;
  std::function<void(SurfaceModel&)> breakIt;
  const char* expected;  // part of the line that names the fault
};

void PrintTo(const TopologyCase& c, std::ostream* os) { *os << c.name; }

class CheckTopologyTest : public SurfaceModelTest, public ::testing::WithParamInterface<TopologyCase> {};

TEST_F(SurfaceModelTest, CheckTopologyAcceptsASoundModel) {
  fuzz::BuildBaseModel(m);
  EXPECT_EQ(CheckTopology(m), std::vector<std::string>{});
}

TEST_P(CheckTopologyTest, NamesTheFault) {
  fuzz::BuildBaseModel(m);
  GetParam().breakIt(m);
  const auto lines = CheckTopology(m);
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  EXPECT_NE(all.find(GetParam().expected), std::string::npos) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CheckTopologyTest,
    ::testing::Values(TopologyCase{"PointCountOverCapacity", [](SurfaceModel& m) { m.PointCount = 40000; },
                                   "point count 40000 exceeds the capacity"},
                      TopologyCase{"BorderLinkOffTheModel", [](SurfaceModel& m) { m.BorderNext[2] = 6; },
                                   "point 2: border successor 6 is not a point"},
                      TopologyCase{"BorderLinkToAnInnerPoint", [](SurfaceModel& m) { m.BorderNext[4] = 5; },
                                   "point 4: border successor 5 is not on the border"},
                      TopologyCase{"TwoRings",
                                   [](SurfaceModel& m) {
                                     m.BorderNext[2] = 1;
                                     m.BorderNext[4] = 3;
                                   },
                                   "closes after 2 of 4"},
                      TopologyCase{"CornerOffTheModel", [](SurfaceModel& m) { m.TriVertex[3][1] = 0; },
                                   "triangle 3: corner 0 is not a point"},
                      TopologyCase{"RepeatedCorner",
                                   [](SurfaceModel& m) {
                                     m.TriVertex[2] = {2, 5, 2};
                                   },
                                   "triangle 2: corners 2, 5, 2 are not distinct"},
                      TopologyCase{"EmptySlotFirst",
                                   [](SurfaceModel& m) {
                                     m.TriNeighbour[1] = {0, 2, 4};
                                   },
                                   "triangle 1: neighbour 2 follows an empty slot"},
                      TopologyCase{"NeighbourOffTheModel", [](SurfaceModel& m) { m.TriNeighbour[1][2] = 5; },
                                   "triangle 1: neighbour 5 is not a triangle"},
                      TopologyCase{"OwnNeighbour", [](SurfaceModel& m) { m.TriNeighbour[1][2] = 1; },
                                   "triangle 1: is its own neighbour"},
                      TopologyCase{"NeighbourTwice",
                                   [](SurfaceModel& m) {
                                     m.TriNeighbour[1] = {2, 2, 4};
                                   },
                                   "triangle 1: neighbour 2 listed twice"},
                      TopologyCase{"OneSidedNeighbour",
                                   [](SurfaceModel& m) {
                                     m.TriNeighbour[2] = {3, 0, 0};
                                   },
                                   "triangle 1: neighbour 2 does not list it back"},
                      TopologyCase{"NeighbourWithoutCommonEdge",
                                   [](SurfaceModel& m) {
                                     m.TriNeighbour[1] = {2, 4, 3};
                                     m.TriNeighbour[3] = {2, 4, 1};
                                   },
                                   "triangle 1: neighbour 3 does not share an edge"},
                      TopologyCase{"SharedEdgeNotLinked",
                                   [](SurfaceModel& m) {
                                     m.TriNeighbour[1] = {2, 0, 0};
                                     m.TriNeighbour[4] = {3, 0, 0};
                                   },
                                   "edge 1-5: triangles 1 and 4 share it but are not neighbours"},
                      TopologyCase{"EdgeOfThreeTriangles",
                                   [](SurfaceModel& m) {
                                     // Two more triangles folded over the first, on its outer edge.
                                     m.TriVertex[5] = {1, 2, 3};
                                     m.TriVertex[6] = {1, 2, 4};
                                     m.TriNeighbour[5] = {0, 0, 0};
                                     m.TriNeighbour[6] = {0, 0, 0};
                                     m.TriangleCount = 6;
                                   },
                                   "edge 1-2: shared by 3 triangles"},
                      TopologyCase{"BreaklineEndOffTheModel", [](SurfaceModel& m) { m.Breaklines[1].To = 8; },
                                   "breakline 1: end 8 is not a point"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::model

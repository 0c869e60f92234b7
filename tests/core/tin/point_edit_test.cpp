#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "tin/point_edit.h"
#include "tin/surface_edit.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::SyntheticSite;

class PointEditTest : public TinTest {
 protected:
  // Every triangle as its sorted corners, in sorted order: the surface without its numbering.
  static std::vector<std::array<PointIndex, 3>> Surface(const model::SurfaceModel& m) {
    std::vector<std::array<PointIndex, 3>> s;
    for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
      auto c = m.TriVertex[t];
      std::sort(c.begin(), c.end());
      s.push_back(c);
    }
    std::sort(s.begin(), s.end());
    return s;
  }

  void ExpectSound(const char* after) {
    SCOPED_TRACE(after);
    testing::TinExpectations expect;
    expect.forcedEdgesPresent = true;
    ASSERT_EQ(Lines(testing::CheckTin(model, expect)), "") << port.Transcript();
    ASSERT_EQ(Lines(testing::CheckDelaunay(model)), "");
  }

  // The surface a fresh triangulation of the same points, border and breaklines gives.
  std::vector<std::array<PointIndex, 3>> FromScratch() {
    model::SurfaceModel fresh;
    fresh.AllocateStore();
    fresh.PointCount = model.PointCount;
    fresh.BreaklineCount = model.BreaklineCount;
    for (PointIndex i = 0; i <= model.PointCount; ++i) {
      fresh.PointX[i] = model.PointX[i];
      fresh.PointY[i] = model.PointY[i];
      fresh.PointZ[i] = model.PointZ[i];
      fresh.BorderNext[i] = model.BorderNext[i];
    }
    for (BreaklineIndex k = 0; k <= model.BreaklineCount; ++k) fresh.Breaklines[k] = model.Breaklines[k];
    fresh.ComputeExtents();
    testing::FakePort quiet;
    Session other{fresh, settings, quiet, work};
    LocateState otherState;
    TriangulateOptions options;
    options.quiet = true;
    const auto status = Triangulate(other, otherState, options);
    EXPECT_TRUE(status && *status == TriangulationStatus::Success) << quiet.Transcript();
    return Surface(fresh);
  }

  // A position well inside the surface: the centroid of a triangle.
  PointValues InsideAt(TriangleIndex t, double z) const {
    const auto& c = model.TriVertex[t];
    double x = 0, y = 0;
    for (PointIndex p : c) {
      x += model.PointX[p] / 3;
      y += model.PointY[p] / 3;
    }
    return {"NEW", x, y, z};
  }

  // A point off the border; for a move also off the breaklines, whose ends moved at random would
  // make them cross.
  PointIndex RandomInnerPoint(testing::SiteRandom& random, bool offBreaklines) const {
    for (int tries = 0; tries < 1000; ++tries) {
      const auto p = static_cast<PointIndex>(1 + random.Unit() * model.PointCount);
      if (p > model.PointCount || model.BorderNext[p] != NoPoint) continue;
      bool onBreakline = false;
      for (BreaklineIndex k = 1; k <= model.BreaklineCount; ++k)
        onBreakline = onBreakline || model.Breaklines[k].From == p || model.Breaklines[k].To == p;
      if (!offBreaklines || !onBreakline) return p;
    }
    return NoPoint;
  }
};

struct SiteCase {
  const char* name;
  SyntheticSite (*make)(int, std::uint64_t);
  // No four points on one circle: the Delaunay surface is unique.
  bool unique;
};
void PrintTo(const SiteCase& c, std::ostream* os) { *os << c.name; }

class PointEditSites : public PointEditTest, public ::testing::WithParamInterface<SiteCase> {};

// Random adds, deletes and moves keep every invariant and give, after each step, the surface a
// triangulation from scratch gives.
TEST_P(PointEditSites, EditsKeepTheConstrainedDelaunaySurface) {
  for (std::uint64_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Load(GetParam().make(300, seed));
    ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
    testing::SiteRandom random(seed * 77);
    for (int step = 0; step < 60; ++step) {
      const int kind = static_cast<int>(random.Unit() * 3);
      const auto t = static_cast<TriangleIndex>(1 + random.Unit() * (model.TriangleCount - 1));
      const int points = model.PointCount;
      if (kind == 0) {
        EXPECT_TRUE(AddPointRules(session, state, InsideAt(t, random.Uniform(90, 110))).changed) << port.Transcript();
        EXPECT_EQ(model.PointCount, points + 1);
      } else if (kind == 1) {
        EXPECT_TRUE(DeletePointRules(session, state, RandomInnerPoint(random, false)).changed) << port.Transcript();
        EXPECT_EQ(model.PointCount, points - 1);
      } else {
        EXPECT_TRUE(EditPointRules(session, state, RandomInnerPoint(random, true), InsideAt(t, 100)).changed)
            << port.Transcript();
      }
      ExpectSound(("step " + std::to_string(step)).c_str());
      if (GetParam().unique) {
        ASSERT_EQ(Surface(model), FromScratch()) << "step " << step;
      }
    }
  }
}

SyntheticSite Concave(int n, std::uint64_t seed) { return testing::ConcaveBorderSite(n, seed); }

INSTANTIATE_TEST_SUITE_P(Sites, PointEditSites,
                         ::testing::Values(SiteCase{"RollingTerrain", testing::RollingTerrain, true},
                                           SiteCase{"JitteredGrid", testing::JitteredGrid, false},
                                           SiteCase{"ConcaveBorderWithBreaklines", Concave, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A point of degree 250: the hole its deletion leaves is a 250-gon.
TEST_F(PointEditTest, DeletingTheCentreOfALargeRing) {
  const double cx = 500000, cy = 4100000;
  for (int k = 0; k < 250; ++k) {
    const double a = 2 * 3.14159265358979 * k / 250;
    AddPoint(RoundToThousandths(cx + 100 * std::cos(a)), RoundToThousandths(cy + 100 * std::sin(a)), 10);
  }
  const PointIndex centre = AddPoint(cx + 0.5, cy + 0.25, 20);
  ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
  ASSERT_EQ(model.BorderNext[centre], NoPoint);
  EXPECT_TRUE(DeletePointRules(session, state, centre).changed) << port.Transcript();
  EXPECT_EQ(model.PointCount, 250);
  EXPECT_EQ(model.TriangleCount, 248);
  ExpectSound("centre deleted");
}

// A position on a border segment joins the ring there; a breakline end moved stays joined.
TEST_F(PointEditTest, PointsOnTheBorderAndOnBreaklines) {
  AddPoints({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {30, 40}, {70, 60}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  AddBreakline(5, 6);
  ASSERT_EQ(Run(), TriangulationStatus::Success);

  EXPECT_TRUE(AddPointRules(session, state, {"B", 50, 0, 1}).changed);
  EXPECT_NE(port.Transcript().find("lies on the border"), std::string::npos) << port.Transcript();
  EXPECT_NE(model.BorderNext[7], NoPoint);
  EXPECT_TRUE(model.BorderNext[1] == 7 || model.BorderNext[2] == 7);
  ExpectSound("on the border");

  EXPECT_TRUE(AddPointRules(session, state, {"K", 50, 52, 1}).changed);
  ExpectSound("beside the breakline");
  EXPECT_EQ(Surface(model), FromScratch());

  // Moving a breakline's end keeps the breakline an edge.
  EXPECT_TRUE(EditPointRules(session, state, 6, {"6", 80, 20, 1}).changed) << port.Transcript();
  EXPECT_TRUE(testing::HasEdge(model, 5, 6));
  ExpectSound("breakline end moved");
  EXPECT_EQ(Surface(model), FromScratch());
}

struct RefusalCase {
  const char* name;
  PointValues point;
  std::vector<bool> answers;
  std::string message;
  bool changed;
  bool triangulated;  // afterwards
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class AddPointCases : public PointEditTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(AddPointCases, QuestionsAndRefusals) {
  const RefusalCase& c = GetParam();
  AddPoints({{0, 0}, {100, 0}, {50, 20}, {100, 100}, {0, 100}, {30, 40}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  model.BorderNext = {0, 2, 3, 4, 5, 1, 0};  // a concave ring, point 6 inside
  model.BorderNext.resize(model::SurfaceModel::PointAllocation + 1);
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  port.shown.clear();
  for (bool a : c.answers) port.yesNoAnswers.push_back(a);
  const auto before = Surface(model);
  EXPECT_EQ(AddPointRules(session, state, c.point).changed, c.changed);
  EXPECT_NE(port.Transcript().find(c.message), std::string::npos) << port.Transcript();
  EXPECT_EQ(model.TriangleCount > 0, c.triangulated);
  if (!c.changed) {
    EXPECT_EQ(Surface(model), before);
  }
  if (c.triangulated) ExpectSound(c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AddPointCases,
    ::testing::Values(RefusalCase{"SamePlace", {"", 30.0004, 40, 0}, {}, std::string(msg::DuplicatePointNotAdded), false, true},
                      RefusalCase{"OutsideBorderNo", {"", 90, 40, 0}, {false}, "not within the border", false, true},
                      RefusalCase{"OutsideBorderYes", {"", 90, 40, 0}, {true}, "not within the border", true, false},
                      RefusalCase{"OutsideExtremesNo", {"", 150, 50, 0}, {false}, "extremes", false, true},
                      RefusalCase{"Inside", {"", 20, 80, 0}, {}, "", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointEditTest, CapacityAndBorderPointDeletion) {
  AddPoints({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {30, 40}});
  ASSERT_EQ(Run(), TriangulationStatus::Success);
  model.MaxPoints = model.PointCount;
  EXPECT_FALSE(AddPointRules(session, state, {"", 50, 50, 0}).changed);
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Warning).back(), msg::FileAtPointCapacity);
  model.MaxPoints = model::SurfaceModel::PointCapacity;

  // A border point: No keeps everything, Yes gives the triangulation up.
  port.yesNoAnswers = {false};
  EXPECT_FALSE(DeletePointRules(session, state, 2).changed);
  EXPECT_GT(model.TriangleCount, 0);
  port.yesNoAnswers = {true};
  EXPECT_TRUE(DeletePointRules(session, state, 2).changed);
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(Lines(model::CheckTopology(model)), "");
  // Three points left: refused.
  EXPECT_TRUE(DeletePointRules(session, state, 4).changed);
  EXPECT_FALSE(DeletePointRules(session, state, 1).changed);
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error).back(), msg::InsufficientPointsForOption);
}

// Removing a point from the arrays renumbers every reference above it.
TEST_F(PointEditTest, RemovingAPointRenumbersBorderAndBreaklines) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {5, 5}, {0, 10}, {3, 3}});
  model.BorderNext = {0, 2, 3, 5, 0, 1, 0};
  model.BorderNext.resize(model::SurfaceModel::PointAllocation + 1);
  AddBreakline(4, 6);
  AddBreakline(6, 5);
  AddBreakline(3, 6);
  RemovePointFromModel(model, 4);
  EXPECT_EQ(model.PointCount, 5);
  EXPECT_EQ(model.BreaklineCount, 2);
  EXPECT_EQ(model.Breaklines[1].From, 5);
  EXPECT_EQ(model.Breaklines[1].To, 4);
  EXPECT_EQ(model.Breaklines[2].From, 3);
  EXPECT_EQ(model.BorderNext[3], 4);  // 5 moved down to 4
  EXPECT_EQ(model.BorderNext[4], 1);
  RemovePointFromModel(model, 2);  // a border point: the ring closes over it
  EXPECT_EQ(model.BorderNext[1], 2);
  EXPECT_EQ(Lines(model::CheckTopology(model)), "");
}

// The cut/fill values are held for points 1..CutFillCount and go with their points.
TEST_F(PointEditTest, RemovingAPointMovesTheCutFillValuesWithThePoints) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}, {5, 5}, {0, 10}, {3, 3}});
  const auto values = [&] {
    return std::vector<double>(model.PointCutFill.begin() + 1, model.PointCutFill.begin() + 1 + model.CutFillCount);
  };
  for (PointIndex i = 1; i <= 5; ++i) model.PointCutFill[i] = 0.5 * i;
  model.CutFillCount = 5;  // point 6 came after the volume run

  RemovePointFromModel(model, 2);
  EXPECT_EQ(values(), (std::vector<double>{0.5, 1.5, 2.0, 2.5}));
  RemovePointFromModel(model, 5);  // the point without a value
  EXPECT_EQ(values(), (std::vector<double>{0.5, 1.5, 2.0, 2.5}));
  RemovePointFromModel(model, 4);  // the last one with a value
  EXPECT_EQ(values(), (std::vector<double>{0.5, 1.5, 2.0}));
  EXPECT_EQ(model.PointCutFill[4], 0.0);

  // A point added afterwards takes no value left behind by a deleted one.
  model.PointCutFill[4] = 9;
  tin::LocateState state;
  ASSERT_TRUE(AddPointRules(session, state, {"", 7, 2, 1}).changed);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(model.CutFillCount, 3);
  EXPECT_EQ(model.PointCutFill[4], 0.0);
}

// The park survey's blunder (a shot 100 ft too high) deleted from the triangulated survey.
TEST_F(PointEditTest, DeletingTheParkSurveyBlunder) {
  Load(testing::ParkSurvey(7));
  ASSERT_GE(model.PointCount, 379);
  model.PointZ[379] += 100;
  model.ComputeExtents();
  ASSERT_EQ(Run(), TriangulationStatus::Success) << port.Transcript();
  const double x = model.PointX[380], y = model.PointY[380];
  if (model.BorderNext[379] != NoPoint) port.yesNoAnswers = {true};
  EXPECT_TRUE(DeletePointRules(session, state, 379).changed) << port.Transcript();
  EXPECT_EQ(model.PointX[379], x);
  EXPECT_EQ(model.PointY[379], y);
  if (model.TriangleCount > 0) {
    ExpectSound("blunder deleted");
    EXPECT_EQ(Surface(model), FromScratch());
  }
}

TEST_F(PointEditTest, PointFieldsAreReadInTheDialogOrder) {
  settings.Set(terravue::settings::CoordinateOrder, 0);
  EXPECT_FALSE(ParsePointFields(session, {"A", "x", "y", "1"}));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error).back(), msg::InvalidNorthing);
  settings.Set(terravue::settings::CoordinateOrder, 1);
  EXPECT_FALSE(ParsePointFields(session, {"A", "x", "y", "1"}));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error).back(), msg::InvalidEasting);
  EXPECT_FALSE(ParsePointFields(session, {"A", "1", "2", "nan"}));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error).back(), msg::InvalidElevation);
  const auto ok = ParsePointFields(session, {"A", "1.5", "2", "3"});
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->x, 1.5);
}

TEST(UndeleteStackTest, KeepsTheLast25) {
  UndeleteStack stack;
  for (int i = 0; i < 30; ++i) stack.Push({std::to_string(i), double(i), 0, 0});
  EXPECT_EQ(stack.Size(), UndeleteStack::Capacity);
  EXPECT_EQ(stack.Pop().label, "24");
}

}  // namespace
}  // namespace terravue::tin

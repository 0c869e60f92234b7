// Moving the 3-D view: animation steps of each movement type with their limits, the "<" and
// ">" keys, and the mouse's turning, nearing and target drags.

#include "app/view3d_motion.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "common/settings_record.h"
#include "common/view3d_settings.h"
#include "device/drawing_device.h"
#include "model/surface_model.h"

namespace terravue::app {
namespace {

namespace v3 = settings::View3DOptions;
using v3::Movement;

// A 1000 x 600 foot site from 100 to 150 feet, looked at from the built-in view point.
struct View {
  SettingsRecord s = DefaultSettings();
  model::SurfaceModel m;

  View() {
    m.MinX = 0, m.MaxX = 1000, m.MinY = 0, m.MaxY = 600, m.MinZ = 100, m.MaxZ = 150;
    s.Set(v3::View3D, true);
    s.Set(v3::TargetX, 500.0);
    s.Set(v3::TargetY, 300.0);
    s.Set(v3::TargetZ, 125.0);
  }
  void Use(Movement type, double step) {
    s.Set(v3::MovementType, static_cast<std::int16_t>(type));
    s.Set(v3::Movements[static_cast<std::size_t>(type)].step, step);
  }
  void Offsets(double x, double y, double z) {
    s.Set(v3::ViewOffsetX, x);
    s.Set(v3::ViewOffsetY, y);
    s.Set(v3::ViewOffsetZ, z);
  }
  double Distance() const {
    return std::sqrt(s.Get(v3::ViewOffsetX) * s.Get(v3::ViewOffsetX) + s.Get(v3::ViewOffsetY) * s.Get(v3::ViewOffsetY) +
                     s.Get(v3::ViewOffsetZ) * s.Get(v3::ViewOffsetZ));
  }
  // Steps until the animation stops, at most `limit` times; the number of steps taken.
  int RunUntilStopped(int limit) {
    for (int n = 1; n <= limit; ++n)
      if (Step3D(s, m)) return n;
    return -1;
  }
};

void ExpectOffsets(const SettingsRecord& s, double x, double y, double z, double tolerance = 1e-6) {
  EXPECT_NEAR(s.Get(v3::ViewOffsetX), x, tolerance);
  EXPECT_NEAR(s.Get(v3::ViewOffsetY), y, tolerance);
  EXPECT_NEAR(s.Get(v3::ViewOffsetZ), z, tolerance);
}

// ---- Full turns -----------------------------------------------------------------------------

TEST(Step3D, TwentyFourHorizontalStepsOfFifteenDegreesComeBackToTheStart) {
  View v;
  v.Use(Movement::RotateHorizontal, 15);
  const double distance = v.Distance();
  for (int n = 1; n <= 24; ++n) {
    ASSERT_FALSE(Step3D(v.s, v.m)) << n;
    EXPECT_NEAR(v.Distance(), distance, 1e-6);
    EXPECT_NEAR(v.s.Get(v3::ViewOffsetZ), 5000, 1e-6);
    if (n == 3) {
      // A positive step turns clockwise seen from above: from the south-east towards the south.
      EXPECT_NEAR(v.s.Get(v3::ViewOffsetX), 0, 1e-6);
      EXPECT_NEAR(v.s.Get(v3::ViewOffsetY), -std::hypot(15000.0, 15000.0), 1e-6);
    }
  }
  ExpectOffsets(v.s, 15000, -15000, 5000);
}

// Carried past the top, the view swings over to the other side and on down; past the bottom, it
// comes back under: thirty-six steps of ten degrees are one full turn, and the stored step has
// its first sign again.
TEST(Step3D, VerticalStepsSwingOverTheTopAndUnderTheBottomInAFullTurn) {
  View v;
  v.Use(Movement::RotateVertical, 10);
  v.Offsets(0, -10000, 10000 * std::tan(5 * std::numbers::pi / 180));  // 85 degrees from the vertical
  std::vector<double> signs;
  for (int n = 1; n <= 36; ++n) {
    ASSERT_FALSE(Step3D(v.s, v.m)) << n;
    signs.push_back(v.s.Get(v3::StepRotateVertical));
  }
  ExpectOffsets(v.s, 0, -10000, 10000 * std::tan(5 * std::numbers::pi / 180), 1e-6);
  // Down past the bottom on the 10th step, up past the top 18 steps later.
  EXPECT_EQ(signs[8], 10);
  EXPECT_EQ(signs[9], -10);
  EXPECT_EQ(signs[26], -10);
  EXPECT_EQ(signs[27], 10);
  EXPECT_EQ(v.s.Get(v3::StepRotateVertical), 10);
}

// ---- Limits ---------------------------------------------------------------------------------

struct LimitCase {
  const char* name;
  std::function<void(View&)> setUp;
  int steps;  // the step that stops the animation
  std::function<void(const View&)> check;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class StepLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(StepLimits, StopTheAnimationOnTheLastValidView) {
  const LimitCase& c = GetParam();
  View v;
  c.setUp(v);
  EXPECT_EQ(v.RunUntilStopped(2000), c.steps);
  c.check(v);
}

INSTANTIATE_TEST_SUITE_P(
    Movements, StepLimits,
    ::testing::Values(
        LimitCase{"TargetXStopsAtTheEastEdge", [](View& v) { v.Use(Movement::TargetX, 150); }, 4,
                  [](const View& v) { EXPECT_EQ(v.s.Get(v3::TargetX), 1000); }},
        LimitCase{"TargetZStopsOneRangeBelow", [](View& v) { v.Use(Movement::TargetZ, -30); }, 3,
                  [](const View& v) { EXPECT_EQ(v.s.Get(v3::TargetZ), 50); }},
        LimitCase{"EyeFactorStopsAtMinusFifty", [](View& v) { v.Use(Movement::EyeFactor, -0.25); }, 203,
                  [](const View& v) { EXPECT_EQ(v.s.Get(v3::EyeFactor), -50); }},
        LimitCase{"LinearXStopsBeforeFiftyThousand", [](View& v) { v.Use(Movement::LinearX, 10000); }, 4,
                  [](const View& v) { ExpectOffsets(v.s, 45000, -15000, 5000); }},
        LimitCase{"LinearZStopsBeforeTheEyeEntersTheBox",
                  [](View& v) {
                    v.Offsets(0, -100, 1000);  // over the site, 1000 feet up
                    v.Use(Movement::LinearZ, -250);
                  },
                  4, [](const View& v) { ExpectOffsets(v.s, 0, -100, 250); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Step3D, AViewStraightUpStaysFiniteAndLeavesTheVertical) {
  View v;
  v.Offsets(0, 0, 20000);
  v.Use(Movement::RotateVertical, 10);
  EXPECT_FALSE(Step3D(v.s, v.m));
  for (const F64Field f : {v3::ViewOffsetX, v3::ViewOffsetY, v3::ViewOffsetZ}) EXPECT_TRUE(std::isfinite(v.s.Get(f)));
  EXPECT_GT(std::hypot(v.s.Get(v3::ViewOffsetX), v.s.Get(v3::ViewOffsetY)), 3000);
}

// ---- The keys -------------------------------------------------------------------------------

TEST(SingleStep3D, ForwardTurnsClockwiseWhateverTheSignAndBackwardTurnsBack) {
  View v;
  v.Use(Movement::RotateHorizontal, -15);
  v.Offsets(0, -20000, 5000);  // due south
  ASSERT_TRUE(SingleStep3D(v.s, v.m, true));
  // Clockwise from the south is towards the west.
  EXPECT_LT(v.s.Get(v3::ViewOffsetX), -5000);
  EXPECT_EQ(v.s.Get(v3::StepRotateHorizontal), -15);
  ASSERT_TRUE(SingleStep3D(v.s, v.m, false));
  ExpectOffsets(v.s, 0, -20000, 5000);
}

TEST(SingleStep3D, BackwardReversesTheVerticalStepAndPutsItBack) {
  View v;
  v.Use(Movement::RotateVertical, -10);
  const double z = v.s.Get(v3::ViewOffsetZ);
  ASSERT_TRUE(SingleStep3D(v.s, v.m, true));  // as stored: up
  EXPECT_GT(v.s.Get(v3::ViewOffsetZ), z);
  ASSERT_TRUE(SingleStep3D(v.s, v.m, false));  // reversed: down again
  EXPECT_NEAR(v.s.Get(v3::ViewOffsetZ), z, 1e-6);
  EXPECT_EQ(v.s.Get(v3::StepRotateVertical), -10);
}

TEST(SingleStep3D, DoNothingInThePlanViewOrWhileAnimating) {
  for (const bool planView : {true, false}) {
    View v;
    v.Use(Movement::LinearX, 100);
    if (planView)
      v.s.Set(v3::View3D, false);
    else
      v.s.Set(v3::AutoAnimate, true);
    const SettingsRecord before = v.s;
    EXPECT_FALSE(SingleStep3D(v.s, v.m, true));
    EXPECT_EQ(v.s, before);
  }
}

// ---- The mouse ------------------------------------------------------------------------------

TEST(Mouse3D, OrbitTurnsAboutTheTargetAndStopsShortOfTheVertical) {
  View v;
  const double distance = v.Distance();
  ASSERT_TRUE(OrbitView3D(v.s, v.m, 90, 0));
  // A quarter turn clockwise from the south-east is the south-west.
  ExpectOffsets(v.s, -15000, -15000, 5000);
  ASSERT_TRUE(OrbitView3D(v.s, v.m, 0, -200));
  EXPECT_NEAR(v.Distance(), distance, 1e-6);
  EXPECT_LT(std::hypot(v.s.Get(v3::ViewOffsetX), v.s.Get(v3::ViewOffsetY)), distance * 0.01);
  EXPECT_GT(std::hypot(v.s.Get(v3::ViewOffsetX), v.s.Get(v3::ViewOffsetY)), 0);
  EXPECT_FALSE(OrbitView3D(v.s, v.m, 0, -10));  // already as high as it goes
}

TEST(Mouse3D, NearerStopsOutsideTheSiteAndFartherStopsAtTheLimits) {
  View v;
  ASSERT_TRUE(ScaleViewDistance3D(v.s, v.m, 0.5));
  ExpectOffsets(v.s, 7500, -7500, 2500);
  v.Offsets(0, -400, 100);  // just south of the site
  const SettingsRecord before = v.s;
  EXPECT_FALSE(ScaleViewDistance3D(v.s, v.m, 0.5));  // into the site's box: refused whole
  EXPECT_EQ(v.s, before);
  v.Offsets(30000, -30000, 10000);
  EXPECT_FALSE(ScaleViewDistance3D(v.s, v.m, 2));
  EXPECT_EQ(v.s.Get(v3::ViewOffsetX), 30000);
  EXPECT_FALSE(ScaleViewDistance3D(v.s, v.m, std::nan("")));
}

// Dragging with Shift: the ground at the target follows the pointer across the picture.
TEST(Mouse3D, TheGroundFollowsATargetDrag) {
  View v;
  const device::WorldPoint ground{500, 300, 125};
  const auto pageOf = [&] {
    device::ViewTransform t = device::CurrentViewTransform(v.s, v.m);
    return t.ToPage(ground.x, ground.y, ground.z);
  };
  const device::PixelPoint before = pageOf();
  ASSERT_TRUE(DragTarget3D(v.s, v.m, device::Prepare3DProjection(v.s, v.m), 40, 0));
  const device::PixelPoint across = pageOf();
  EXPECT_NEAR(across.x - before.x, 40, 1);
  EXPECT_NEAR(across.y, before.y, 1);
  ASSERT_TRUE(DragTarget3D(v.s, v.m, device::Prepare3DProjection(v.s, v.m), 0, 30));
  const device::PixelPoint up = pageOf();
  EXPECT_NEAR(before.y - up.y, 30, 3);  // page y runs down
  // The target stays on the site.
  DragTarget3D(v.s, v.m, device::Prepare3DProjection(v.s, v.m), -1e6, 0);
  EXPECT_GE(v.s.Get(v3::TargetX), v.m.MinX);
  EXPECT_LE(v.s.Get(v3::TargetX), v.m.MaxX);
}

}  // namespace
}  // namespace terravue::app

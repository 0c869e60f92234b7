// Factor, Translate and Rotate: rounding, the turning sense of the angle conventions, round
// trips, refusals that leave the model alone, and a triangulated surface kept sound.

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange/transforms.h"
#include "exchange_test_env.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::exchange::test {
namespace {

struct TransformCase {
  const char* name;
  Transform t;
  double x, y, z;          // the point before
  double wantX, wantY, wantZ;
};

class TransformResult : public ExchangeTest, public ::testing::WithParamInterface<TransformCase> {};

TEST_P(TransformResult, MovesThePointAsTheOperationSays) {
  const TransformCase& c = GetParam();
  AddPoint(c.x, c.y, c.z);
  tin::LocateState state;
  ASSERT_TRUE(ApplyTransform(session, state, c.t)) << port.Transcript();
  EXPECT_EQ(model.PointX[1], c.wantX);
  EXPECT_EQ(model.PointY[1], c.wantY);
  EXPECT_EQ(model.PointZ[1], c.wantZ);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
}

Transform Factor(double fx, double fy, double fz) { return {TransformKind::Factor, fx, fy, fz}; }
Transform Translate(double ox, double oy, double oz) { return {TransformKind::Translate, ox, oy, oz}; }
Transform Rotate(double cx, double cy, double degrees, bool surveyors = false) {
  return {TransformKind::Rotate, 1, 1, 1, cx, cy, degrees, surveyors};
}

INSTANTIATE_TEST_SUITE_P(
    Operations, TransformResult,
    ::testing::Values(
        TransformCase{"FeetToMetres", Factor(0.3048, 0.3048, 0.3048), 1000, 2000, 100, 304.8, 609.6, 30.48},
        TransformCase{"FactorRoundsToThousandths", Factor(0.3048, 1, 1), 1.001, 5, 5, 0.305, 5, 5},
        TransformCase{"ZFactorMayFlatten", Factor(1, 1, 0), 1, 2, 37.5, 1, 2, 0},
        TransformCase{"TranslateDoesNotRound", Translate(0.0004, -0.00025, 1e-5), 10, 20, 30, 10.0004, 19.99975,
                      30.00001},
        TransformCase{"RotateEngineers", Rotate(0, 0, 90), 10, 0, 7, 0, 10, 7},
        TransformCase{"RotateSurveyors", Rotate(0, 0, 90, true), 10, 0, 7, 0, -10, 7},
        TransformCase{"RotateFullTurn", Rotate(500000, 4000000, 360), 500123.456, 4000789.012, 1, 500123.456,
                      4000789.012, 1},
        TransformCase{"RotateRoundsToThousandths", Rotate(0, 0, 45), 1, 0, 0, 0.707, 0.707, 0},
        // Southern-hemisphere UTM Northings are above ten million.
        TransformCase{"RotateAboutASouthernCentre", Rotate(300000, 7500000 + 2500000.0, -90), 300010, 10000000, 0,
                      300000, 9999990, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeTest, RoundTripsComeBackWithinRounding) {
  AddGrid(12, 4);
  for (int p = 1; p <= 12; ++p) {
    model.PointX[p] += 512345.678;
    model.PointY[p] += 4123456.789;
  }
  const std::vector<double> x(model.PointX.begin(), model.PointX.begin() + 13);
  const std::vector<double> y(model.PointY.begin(), model.PointY.begin() + 13);
  tin::LocateState state;
  for (int k = 0; k < 4; ++k) ASSERT_TRUE(ApplyTransform(session, state, Rotate(512350, 4123460, 90)));
  for (int p = 1; p <= 12; ++p) {
    EXPECT_EQ(model.PointX[p], x[p]) << p;
    EXPECT_EQ(model.PointY[p], y[p]) << p;
  }
  ASSERT_TRUE(ApplyTransform(session, state, Rotate(512350, 4123460, 33.3)));
  ASSERT_TRUE(ApplyTransform(session, state, Rotate(512350, 4123460, -33.3)));
  ASSERT_TRUE(ApplyTransform(session, state, Factor(0.3048, 0.3048, 1)));
  ASSERT_TRUE(ApplyTransform(session, state, Factor(1 / 0.3048, 1 / 0.3048, 1)));
  // Each rounding to thousandths moves a point by at most half a thousandth, and the metre
  // rounding is magnified by 1/0.3048 on the way back.
  for (int p = 1; p <= 12; ++p) {
    EXPECT_NEAR(model.PointX[p], x[p], 0.0005 + 0.0005 + 0.0005 / 0.3048 + 0.0005) << p;
    EXPECT_NEAR(model.PointY[p], y[p], 0.0005 + 0.0005 + 0.0005 / 0.3048 + 0.0005) << p;
  }
}

struct RefusedCase {
  const char* name;
  Transform t;
  std::string_view message;
};

class TransformRefused : public ExchangeTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(TransformRefused, ChangesNothing) {
  const RefusedCase& c = GetParam();
  AddPoint(100, 200, 300);
  AddPoint(-900000000, 900000000, 1);
  settings.Set(settings::ModelSaved, true);
  tin::LocateState state;
  EXPECT_FALSE(ApplyTransform(session, state, c.t));
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(c.message)});
  EXPECT_EQ(std::vector<double>(model.PointX.begin() + 1, model.PointX.begin() + 3),
            (std::vector<double>{100, -900000000}));
  EXPECT_EQ(model.PointY[1], 200);
  EXPECT_EQ(model.PointZ[1], 300);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Problems, TransformRefused,
    ::testing::Values(RefusedCase{"XFactorZero", Factor(0, 1, 1), msg::PlanFactorZero},
                      RefusedCase{"YFactorZero", Factor(1, 0, 1), msg::PlanFactorZero},
                      RefusedCase{"FactorNotANumber", Factor(1, NaN, 1), msg::TransformNotANumber},
                      RefusedCase{"FactorBeyondTheLimits", Factor(2, 1, 1), msg::TransformOutOfLimits},
                      RefusedCase{"TranslateBeyondTheLimits", Translate(0, 100000000, 0), msg::TransformOutOfLimits},
                      RefusedCase{"TranslateInfinite", Translate(0, 0, HUGE_VAL), msg::TransformNotANumber},
                      RefusedCase{"RotateOutOfTheLimits", Rotate(0, 0, 45), msg::TransformOutOfLimits}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeTest, AMirrorKeepsTheRingTurningTheSameWay) {
  AddGrid(9, 3);
  // Counter-clockwise round the outside of the 3 x 3 grid.
  const std::vector<PointIndex> ring{1, 2, 3, 6, 9, 8, 7, 4};
  for (std::size_t k = 0; k < ring.size(); ++k) model.BorderNext[ring[k]] = ring[(k + 1) % ring.size()];
  tin::LocateState state;
  ASSERT_TRUE(ApplyTransform(session, state, Factor(-1, 1, 1)));
  // After the mirror point 3 is the lowest-left corner; counter-clockwise it goes on to 2.
  EXPECT_EQ(model.BorderNext[3], 2);
  EXPECT_EQ(model.BorderNext[2], 1);
  EXPECT_EQ(model.BorderNext[1], 4);
}

TEST_F(ExchangeTest, ATriangulatedSurfaceStaysSound) {
  // A thin triangle: point 4 lies 0.0004 off the line from 1 to 2, so rounding after a factor
  // puts it on the line or past it.
  AddPoint(0, 0);
  AddPoint(10, 0);
  AddPoint(5, 8);
  AddPoint(5, -0.0004);
  AddPoint(5, -6);
  tin::LocateState state;
  ASSERT_EQ(tin::Triangulate(session, state, {.quiet = true}), tin::TriangulationStatus::Success);
  ASSERT_TRUE(ApplyTransform(session, state, Factor(1, 0.7, 1)));
  EXPECT_GT(model.TriangleCount, 0);
  EXPECT_EQ(model::CheckTopology(model), std::vector<std::string>{});
  EXPECT_TRUE(TrianglesKeepSense(model, TriangleSenses(model), false));
  for (int t = 1; t <= model.TriangleCount; ++t) {
    const auto& v = model.TriVertex[t];
    EXPECT_NE(tin::Orientation(model, v[0], v[1], v[2]), 0) << t;
  }
}

}  // namespace
}  // namespace terravue::exchange::test

// The 3-D options dialog's values: its fields in both coordinate orders, the movement types'
// labels, derived bytes and step checks, and what OK stores or refuses.

#include "app/view3d_options.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/settings_record.h"
#include "support/fake_port.h"

namespace terravue::app {
namespace {

namespace v3 = settings::View3DOptions;
using v3::Movement;
using FakeKind = testing::FakePort::Kind;

constexpr int Type(Movement m) { return static_cast<int>(m); }

SettingsRecord Options(int coordinateOrder) {
  SettingsRecord s = DefaultSettings();
  s.Set(settings::CoordinateOrder, static_cast<std::uint8_t>(coordinateOrder));
  s.Set(v3::ViewOffsetX, 1500.25);
  s.Set(v3::ViewOffsetY, -900.0);
  s.Set(v3::TargetX, 5000.0);
  s.Set(v3::TargetY, 7000.5);
  s.Set(v3::TargetZ, 101.0);
  return s;
}

TEST(View3DOptionsFields, FollowTheCoordinateOrder) {
  const SettingsRecord northingFirst = Options(0);
  View3DOptionsFields f = View3DOptionsFieldTexts(northingFirst);
  EXPECT_EQ(View3DOptionsCaptions(northingFirst).firstView, "Northing View Point >");
  EXPECT_EQ(View3DOptionsCaptions(northingFirst).secondTarget, "Target Easting >");
  EXPECT_EQ(f.firstView, "-900.000");
  EXPECT_EQ(f.secondView, "1500.250");
  EXPECT_EQ(f.firstTarget, "7000.500");
  EXPECT_EQ(f.zView, "5000.000");
  EXPECT_EQ(f.eyeFactor, "0.500");
  EXPECT_EQ(f.Step(), "15.000");

  const SettingsRecord eastingFirst = Options(1);
  f = View3DOptionsFieldTexts(eastingFirst);
  EXPECT_EQ(View3DOptionsCaptions(eastingFirst).firstView, "X View Point >");
  EXPECT_EQ(View3DOptionsCaptions(eastingFirst).secondTarget, "Target Y >");
  EXPECT_EQ(f.firstView, "1500.250");
  EXPECT_EQ(f.secondTarget, "7000.500");
  ShowTarget(eastingFirst, f, 1, 2, 3);
  EXPECT_EQ(f.firstTarget, "1.000");
  EXPECT_EQ(f.secondTarget, "2.000");
  EXPECT_EQ(f.zTarget, "3.000");
}

// Choosing each type from a working copy with both derived bytes off, then with both on.
TEST(View3DOptionsFields, MovementTypesShowTheirUnitAndSetTheirDerivedBytes) {
  struct Row {
    Movement type;
    const char* feet;
    const char* metres;
    const char* hint;
    bool planarFromOff, axisXFromOff, planarFromOn, axisXFromOn;
  };
  const Row rows[] = {
      {Movement::RotateHorizontal, "Degrees >", "Degrees >", "Range = -360.0 to 360.0", true, false, true, true},
      {Movement::RotateVertical, "Degrees >", "Degrees >", "Range = -360.0 to 360.0", false, false, false, true},
      {Movement::LinearX, "Feet >", "Meters >", "Range = -50,000 to 50,000", true, true, true, true},
      {Movement::LinearY, "Feet >", "Meters >", "Range = -50,000 to 50,000", true, false, true, false},
      {Movement::LinearZ, "Feet >", "Meters >", "Range = -25,000 to 25,000", false, false, false, true},
      {Movement::TargetX, "Feet >", "Meters >", "Range = -25,000 to 25,000", true, true, true, true},
      {Movement::TargetY, "Feet >", "Meters >", "Range = -25,000 to 25,000", true, false, true, false},
      {Movement::TargetZ, "Feet >", "Meters >", "Range = -5,000 to 5,000", false, false, false, true},
      {Movement::EyeFactor, "Units >", "Units >", "Range = -50.0 to 50.0", false, false, true, true},
  };
  SettingsRecord metric = DefaultSettings();
  metric.Set(settings::Units, 1);
  for (const Row& r : rows) {
    SCOPED_TRACE(v3::Movements[static_cast<std::size_t>(r.type)].caption);
    EXPECT_EQ(StepUnitLabel(DefaultSettings(), Type(r.type)), r.feet);
    EXPECT_EQ(StepUnitLabel(metric, Type(r.type)), r.metres);
    EXPECT_EQ(StepRangeHint(Type(r.type)), r.hint);
    View3DOptionsFields f;
    f.planar = f.axisX = false;
    ChooseMovement(f, Type(r.type));
    EXPECT_EQ(f.planar, r.planarFromOff);
    EXPECT_EQ(f.axisX, r.axisXFromOff);
    f.planar = f.axisX = true;
    ChooseMovement(f, Type(r.type));
    EXPECT_EQ(f.planar, r.planarFromOn);
    EXPECT_EQ(f.axisX, r.axisXFromOn);
  }
}

TEST(View3DOptionsFields, StepsAreCheckedAgainstTheirTypesRangeAndSharedBetweenLikeTypes) {
  testing::FakePort port;
  EXPECT_EQ(CleanStepText(port, Type(Movement::RotateHorizontal), "-360"), "-360.000");
  EXPECT_EQ(CleanStepText(port, Type(Movement::RotateHorizontal), "361"), "");
  EXPECT_EQ(CleanStepText(port, Type(Movement::LinearX), "49000"), "49000.000");
  EXPECT_EQ(CleanStepText(port, Type(Movement::TargetZ), "-5001"), "");
  EXPECT_EQ(port.Texts(FakeKind::Error), (std::vector<std::string>(2, "Number out of range.")));

  View3DOptionsFields f = View3DOptionsFieldTexts(DefaultSettings());
  ChooseMovement(f, Type(Movement::LinearY));
  SetStepText(f, "123.000");
  EXPECT_EQ(f.steps[static_cast<std::size_t>(Movement::LinearX)], "123.000");
  EXPECT_EQ(f.steps[static_cast<std::size_t>(Movement::LinearZ)], "200.000");
}

TEST(StoreView3DOptions, StoresEveryReadableFieldInTheCoordinateOrder) {
  testing::FakePort port;
  SettingsRecord s = Options(0);
  View3DOptionsFields f = View3DOptionsFieldTexts(s);
  f.view3D = true;
  f.shaded = true;
  f.firstView = "-800";  // northing first
  f.secondView = "1200.5";
  f.zView = "3000";
  f.firstTarget = "7100";
  f.secondTarget = "5100";
  f.zTarget = "99.5";
  f.elevationFactor = "4";
  f.eyeFactor = "-2.5";
  ChooseMovement(f, Type(Movement::LinearZ));
  SetStepText(f, "-300");
  f.steps[static_cast<std::size_t>(Movement::RotateHorizontal)] = "45";  // not the chosen type
  f.automatic = true;
  f.delayTenths = 25;
  StoreView3DOptions(port, s, f);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  EXPECT_TRUE(s.Get(v3::View3D));
  EXPECT_TRUE(s.Get(v3::ShadedSurface));
  EXPECT_EQ(s.Get(v3::ViewOffsetX), 1200.5);
  EXPECT_EQ(s.Get(v3::ViewOffsetY), -800);
  EXPECT_EQ(s.Get(v3::ViewOffsetZ), 3000);
  EXPECT_EQ(s.Get(v3::TargetX), 5100);
  EXPECT_EQ(s.Get(v3::TargetY), 7100);
  EXPECT_EQ(s.Get(v3::TargetZ), 99.5);
  EXPECT_EQ(s.Get(v3::ElevationFactor), 4);
  EXPECT_EQ(s.Get(v3::EyeFactor), -2.5);
  EXPECT_EQ(s.Get(v3::MovementType), Type(Movement::LinearZ));
  EXPECT_FALSE(s.Get(v3::MovementPlanar));
  EXPECT_EQ(s.Get(v3::StepLinearZ), -300);
  EXPECT_EQ(s.Get(v3::StepRotateHorizontal), 15);
  EXPECT_TRUE(s.Get(v3::AutoAnimate));
  EXPECT_EQ(s.Get(v3::AnimationDelay), 25);
}

// Each field that cannot be read shows its own error box, in the order OK stores them, and
// keeps its option; an eye factor outside -50..1 gives the range message.
TEST(StoreView3DOptions, UnreadableFieldsKeepTheirOptionsWithTheirOwnMessages) {
  testing::FakePort port;
  SettingsRecord s = Options(1);
  const SettingsRecord before = s;
  View3DOptionsFields f = View3DOptionsFieldTexts(s);
  f.secondView = "north";
  f.zView = "";
  f.firstTarget = "x";
  f.zTarget = "-";
  f.elevationFactor = "big";
  f.eyeFactor = "2";
  ChooseMovement(f, Type(Movement::TargetY));
  SetStepText(f, "30000");  // beyond +-25000, though the field was never left
  StoreView3DOptions(port, s, f);
  EXPECT_EQ(port.Texts(FakeKind::Error),
            (std::vector<std::string>{"Invalid View Point", "Invalid Z View Point", "Invalid Target Point",
                                      "Invalid Z Target Point", "Invalid Elevation Factor",
                                      "Eye Factor value out of range\r\nValue must range from: -50.0 to: 1.0",
                                      "Invalid target X-Y value"}));
  for (const F64Field kept : {v3::ViewOffsetY, v3::ViewOffsetZ, v3::TargetX, v3::TargetZ, v3::ElevationFactor,
                              v3::EyeFactor, v3::StepTargetXY})
    EXPECT_EQ(s.Get(kept), before.Get(kept));
  EXPECT_EQ(s.Get(v3::ViewOffsetX), 1500.25);  // readable, so stored
  EXPECT_EQ(s.Get(v3::MovementType), Type(Movement::TargetY));
  EXPECT_FALSE(s.Get(v3::MovementAxisX));
}

}  // namespace
}  // namespace terravue::app

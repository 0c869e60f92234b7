#include "common/view3d_settings.h"

#include <cmath>

#include "common/coordinate_limits.h"

namespace terravue::settings {
namespace {

constexpr double DefaultOffsetX = 15000.0;
constexpr double DefaultOffsetY = -15000.0;
// Below this a horizontal offset counts as zero in the projection.
constexpr double OffsetTolerance = 0.0001;
constexpr int MaxAnimationDelay = 1200;  // tenths of a second

SettingsTable BuildView3DFields() {
  using namespace View3DOptions;
  // Steps are bounded as the options dialog bounds them for their movement type.
  const auto bound = [](Movement m) { return Movements[static_cast<std::size_t>(m)].bound; };
  return {
      BoolEntry("View3DOptions.View3D", View3D, false),
      BoolEntry("View3DOptions.ShadedSurface", ShadedSurface, false),
      // The view point and the target are places, held to the coordinates the program takes in.
      RealEntry("View3DOptions.ViewOffsetX", ViewOffsetX, DefaultOffsetX, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.ViewOffsetY", ViewOffsetY, DefaultOffsetY, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.ViewOffsetZ", ViewOffsetZ, 5000.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.TargetX", TargetX, 1.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.TargetY", TargetY, 1.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.TargetZ", TargetZ, 1.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("View3DOptions.ElevationFactor", ElevationFactor, 1.0),
      // The perspective scale divides by 1 - w; the dialog keeps the factor in -50..1.
      RealEntry("View3DOptions.EyeFactor", EyeFactor, 0.5, -50, 1),
      Int16Entry("View3DOptions.MovementType", MovementType, 0, 0, MovementCount - 1),
      BoolEntry("View3DOptions.AutoAnimate", AutoAnimate, false),
      BoolEntry("View3DOptions.MovementPlanar", MovementPlanar, true),
      BoolEntry("View3DOptions.MovementAxisX", MovementAxisX, true),
      Int16Entry("View3DOptions.AnimationDelay", AnimationDelay, 0, 0, MaxAnimationDelay),
      RealEntry("View3DOptions.StepRotateHorizontal", StepRotateHorizontal, 15.0,
                -bound(Movement::RotateHorizontal), bound(Movement::RotateHorizontal)),
      RealEntry("View3DOptions.StepRotateVertical", StepRotateVertical, 10.0, -bound(Movement::RotateVertical),
                bound(Movement::RotateVertical)),
      RealEntry("View3DOptions.StepLinearXY", StepLinearXY, 2000.0, -bound(Movement::LinearX),
                bound(Movement::LinearX)),
      RealEntry("View3DOptions.StepLinearZ", StepLinearZ, 200.0, -bound(Movement::LinearZ), bound(Movement::LinearZ)),
      RealEntry("View3DOptions.StepTargetXY", StepTargetXY, 50.0, -bound(Movement::TargetX),
                bound(Movement::TargetX)),
      RealEntry("View3DOptions.StepTargetZ", StepTargetZ, 5.0, -bound(Movement::TargetZ), bound(Movement::TargetZ)),
      RealEntry("View3DOptions.StepEyeFactor", StepEyeFactor, -0.1, -bound(Movement::EyeFactor),
                bound(Movement::EyeFactor)),
  };
}

}  // namespace

namespace View3DOptions {

const MovementInfo& MovementOf(int type) {
  return Movements[type >= 0 && type < MovementCount ? static_cast<std::size_t>(type) : 0];
}

}  // namespace View3DOptions

const SettingsTable& View3DFields() {
  static const SettingsTable table = BuildView3DFields();
  return table;
}

void SetView3DDefaults(SettingsRecord& record) { ApplyDefaults(View3DFields(), record); }

int ValidateView3D(SettingsRecord& record) {
  using namespace View3DOptions;
  int changed = ValidateFields(View3DFields(), record);
  if (std::abs(record.Get(ViewOffsetX)) < OffsetTolerance &&
      std::abs(record.Get(ViewOffsetY)) < OffsetTolerance) {
    record.Set(ViewOffsetX, DefaultOffsetX);
    record.Set(ViewOffsetY, DefaultOffsetY);
    changed += 2;
  }
  return changed;
}

}  // namespace terravue::settings

#pragma once

#include <array>
#include <string_view>

#include "common/messages.h"
#include "common/settings_record.h"
#include "common/settings_table.h"

// The 3-D view section of the settings image.
namespace terravue::settings::View3DOptions {

inline constexpr BoolField View3D{11000};
// Fills the triangles in colours by elevation under the lines; kept in a byte the section left
// unused, so older files (which hold zero there) open with it off.
inline constexpr BoolField ShadedSurface{11001};
inline constexpr F64Field ViewOffsetX{11004};
inline constexpr F64Field ViewOffsetY{11012};
inline constexpr F64Field ViewOffsetZ{11020};
inline constexpr F64Field TargetX{11028};
inline constexpr F64Field TargetY{11036};
inline constexpr F64Field TargetZ{11044};
inline constexpr F64Field ElevationFactor{11052};
inline constexpr F64Field EyeFactor{11060};
inline constexpr I16Field MovementType{11068};
inline constexpr BoolField AutoAnimate{11072};
inline constexpr BoolField MovementPlanar{11076};
inline constexpr BoolField MovementAxisX{11080};
inline constexpr I16Field AnimationDelay{11084};  // tenths of a second
inline constexpr F64Field StepRotateHorizontal{11088};
inline constexpr F64Field StepRotateVertical{11096};
inline constexpr F64Field StepLinearXY{11104};
inline constexpr F64Field StepLinearZ{11112};
inline constexpr F64Field StepTargetXY{11120};
inline constexpr F64Field StepTargetZ{11128};
inline constexpr F64Field StepEyeFactor{11136};

// ---- Movement types -------------------------------------------------------------------------

// What an animation step changes, in the order the options dialog lists them.
enum class Movement : int {
  RotateHorizontal = 0,
  RotateVertical = 1,
  LinearX = 2,
  LinearY = 3,
  LinearZ = 4,
  TargetX = 5,
  TargetY = 6,
  TargetZ = 7,
  EyeFactor = 8,
};
inline constexpr int MovementCount = 9;

// How the two bytes derived from the movement type change when it is chosen.
enum class Derived : std::uint8_t { Unchanged, Off, On };
// The unit label beside the step.
enum class StepUnit : std::uint8_t { Degrees, Length, Units };

struct MovementInfo {
  std::string_view caption;
  F64Field step;
  StepUnit unit;
  double bound;  // the step lies in -bound..bound
  std::string_view rangeText;
  std::string_view invalidStep;  // the error box of a step that cannot be read
  Derived planar;
  Derived axisX;
};

inline constexpr std::array<MovementInfo, MovementCount> Movements = {{
    {msg::MovementRotateHorizontal, StepRotateHorizontal, StepUnit::Degrees, 360, msg::RangeDegrees,
     msg::InvalidHorizontalRotation, Derived::On, Derived::Unchanged},
    {msg::MovementRotateVertical, StepRotateVertical, StepUnit::Degrees, 360, msg::RangeDegrees,
     msg::InvalidVerticalRotation, Derived::Off, Derived::Unchanged},
    {msg::MovementLinearX, StepLinearXY, StepUnit::Length, 50000, msg::RangeLinearXY, msg::InvalidLinearXY,
     Derived::On, Derived::On},
    {msg::MovementLinearY, StepLinearXY, StepUnit::Length, 50000, msg::RangeLinearXY, msg::InvalidLinearXY,
     Derived::On, Derived::Off},
    {msg::MovementLinearZ, StepLinearZ, StepUnit::Length, 25000, msg::RangeLinearZ, msg::InvalidLinearZ,
     Derived::Off, Derived::Unchanged},
    {msg::MovementTargetX, StepTargetXY, StepUnit::Length, 25000, msg::RangeTargetXY, msg::InvalidTargetXY,
     Derived::On, Derived::On},
    {msg::MovementTargetY, StepTargetXY, StepUnit::Length, 25000, msg::RangeTargetXY, msg::InvalidTargetXY,
     Derived::On, Derived::Off},
    {msg::MovementTargetZ, StepTargetZ, StepUnit::Length, 5000, msg::RangeTargetZ, msg::InvalidTargetZ,
     Derived::Off, Derived::Unchanged},
    {msg::MovementEyeFactor, StepEyeFactor, StepUnit::Units, 50, msg::RangeEyeFactor, msg::InvalidEyeFactorStep,
     Derived::Unchanged, Derived::Unchanged},
}};

// The stored movement type's row; an unknown type (which validation resets) reads as the first.
const MovementInfo& MovementOf(int type);

}  // namespace terravue::settings::View3DOptions

namespace terravue::settings {

// Built-in values, acceptance checks and printout of the 3-D view section. A view point
// straight above the target (both horizontal offsets near zero) has no horizontal direction and
// is reset to the built-in offsets.
const SettingsTable& View3DFields();
void SetView3DDefaults(SettingsRecord& record);
int ValidateView3D(SettingsRecord& record);

}  // namespace terravue::settings

#pragma once

#include "common/settings_record.h"
#include "common/settings_table.h"

// The 3-D view section of the settings image.
namespace terravue::settings::View3DOptions {

inline constexpr BoolField View3D{11000};
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

}  // namespace terravue::settings::View3DOptions

namespace terravue::settings {

// Built-in values, acceptance checks and printout of the 3-D view section. A view point
// straight above the target (both horizontal offsets near zero) has no horizontal direction and
// is reset to the built-in offsets.
const SettingsTable& View3DFields();
void SetView3DDefaults(SettingsRecord& record);
int ValidateView3D(SettingsRecord& record);

}  // namespace terravue::settings

#pragma once

#include "common/settings_record.h"
#include "common/settings_table.h"

// Cursor, jump, zoom and point-tracking options of the settings image. Single-byte options
// each take a 4-byte slot; the three bytes after each are reserved.
namespace terravue::app::CursorOptions {

inline constexpr BoolField ScreenScrolling{7912};
inline constexpr U8Field CursorSize{7916};     // half-length of the cross-hair strokes, pixels
inline constexpr F64Field CursorAngle{7920};   // radians, mathematical sense
inline constexpr F64Field CursorStep{7928};    // map units
inline constexpr BoolField ScaleStepWithZoom{7936};
inline constexpr BoolField EnhancedCursor{7940};
inline constexpr U8Field QuickZoomLevel{7944};
inline constexpr BoolField ZoomMethodConstant{7948};  // false "Factor", true "Constant"
inline constexpr U8Field ZoomFactor{7952};
inline constexpr BoolField TrackNearestPoint{7956};
inline constexpr I32Field CursorLineMargin{7960};  // pixels

}  // namespace terravue::app::CursorOptions

namespace terravue::app {

const SettingsTable& CursorFields();
void SetCursorDefaults(SettingsRecord& record);
int ValidateCursorOptions(SettingsRecord& record);

}  // namespace terravue::app

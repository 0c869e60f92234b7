#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace terravue::app {

struct CursorContext;
struct CursorState;

// The status lines under the map. F(v) below is FormatReal (v, 12, 3); coordinates follow the
// CoordinateOrder of the preferences.

// The mouse line for the map position (x, y) under the pointer: "Mouse:" without points, the
// 3-D target point while viewing in 3-D, else the position with the surface elevation there
// ("N/A" outside the surface) and, when tracked, the nearest point.
std::string MouseLineText(const CursorContext& context, double x, double y);

// The mouse line over the empty part of the map area: the printer, its paper and orientation,
// and with points loaded the map scale.
std::string PrinterLineText(const CursorContext& context, std::string_view printerName);

// `RefreshCursorLine`: "Cursor:" without points, else the cursor's position and elevation. An
// elevation standing for "none" is looked up again (and kept, rounded to 3 decimals, when the
// surface has one there).
std::string CursorLineText(const CursorContext& context, CursorState& cursor);

// The cursor line's width follows its text: the new width when it differs by 11 pixels or more
// from the text width plus the margin, held inside 50..620 pixels, except that the text itself
// is never cut: a text wider than 620 pixels (a large font, "Nearest point = #1156") gets its
// own width and a few pixels for the frame.
inline constexpr int CursorLineMinWidth = 50;
inline constexpr int CursorLineMaxWidth = 620;
inline constexpr int CursorLineFrame = 8;
std::optional<int> CursorLineWidth(int currentWidth, int textWidth, int margin);

}  // namespace terravue::app

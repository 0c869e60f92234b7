#pragma once

#include <string>

#include <QColor>
#include <QFont>
#include <QString>

namespace terravue::gui {

// The map's text font: the preferences' font by name at a height in device pixels, fixed pitch
// preferred. "Courier New" and "Arial" resolve to their metric-compatible free fonts where
// those stand in for them.
QFont MapFont(const std::string& name, int pixelHeight);

// Colours of the settings keep red in the low byte.
inline QColor MapColour(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace terravue::gui

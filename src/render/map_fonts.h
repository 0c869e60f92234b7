#pragma once

#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QString>

namespace terravue::render {

// The map's text font: the preferences' font by name at a height in device pixels, fixed pitch
// preferred. "Courier New" and "Arial" resolve to their metric-compatible free fonts where
// those stand in for them.
QFont MapFont(const std::string& name, int pixelHeight);

// The map's texts (labels, titles, font names) are Latin-1, one byte per character.
inline QString MapText(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Colours of the settings keep red in the low byte.
inline QColor MapColour(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace terravue::render

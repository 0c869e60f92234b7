#include "render/map_fonts.h"

#include <algorithm>


namespace terravue::render {

QFont MapFont(const std::string& name, int pixelHeight) {
  QFont font(MapText(name));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(std::max(1, pixelHeight));
  // Glyph outlines as designed, so that text measured for the screen measures the same when
  // it is printed.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace terravue::render

#include "print/map_fonts.h"

#include <algorithm>

#include "app/qt_text.h"

namespace terravue::gui {

QFont MapFont(const std::string& name, int pixelHeight) {
  QFont font(FromLatin1(name));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(std::max(1, pixelHeight));
  // Glyph outlines as designed, so that text measured for the screen measures the same when
  // it is printed.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace terravue::gui

#include "cad/cad_file.h"

#include <array>
#include <charconv>
#include <cmath>

namespace terravue::cad {

std::string CadReal(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string CadText(std::string_view latin1) {
  std::string text;
  text.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) continue;
    text.push_back(c);
  }
  return text;
}

}  // namespace terravue::cad

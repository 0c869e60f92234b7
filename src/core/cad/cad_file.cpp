#include "cad/cad_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

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

ReplacingFile::~ReplacingFile() {
  if (out_.is_open()) Discard();
}

bool ReplacingFile::Create(const std::filesystem::path& target) {
  target_ = target;
  temporary_ = target;
  temporary_ += ".tvtmp";
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!out_) {
    Discard();
    return false;
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (!out_.is_open()) return false;
  out_.close();
  if (!out_) {
    Discard();
    return false;
  }
  std::error_code ec;
  // A replaced file keeps its permissions.
  const auto previous = std::filesystem::status(target_, ec);
  if (!ec && std::filesystem::is_regular_file(previous))
    std::filesystem::permissions(temporary_, previous.permissions(), ec);
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    std::filesystem::remove(temporary_, ec);
    return false;
  }
  return true;
}

void ReplacingFile::Discard() {
  if (out_.is_open()) out_.close();
  std::error_code ec;
  if (!temporary_.empty()) std::filesystem::remove(temporary_, ec);
}

}  // namespace terravue::cad

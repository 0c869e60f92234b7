#include "common/format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "common/messages.h"
#include "common/user_port.h"

namespace terravue {
namespace {

constexpr std::string_view kUnsignedSet = "0123456789.";
constexpr std::string_view kSignedSet = "0123456789.+-";

std::string PadLeft(std::string text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string KeepOnly(std::string_view text, std::string_view allowed) {
  std::string kept;
  for (char c : text)
    if (allowed.find(c) != std::string_view::npos) kept += c;
  return kept;
}

}  // namespace

std::string FormatReal(double x, int width, int decimals) {
  decimals = std::clamp(decimals, 0, 20);
  // Enough for the longest fixed-point double: 309 integer digits, a sign, a point, decimals.
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  // A value that rounds to zero prints without a sign: "-0.000" would read as a real negative.
  if (!text.empty() && text[0] == '-' &&
      text.find_first_not_of("0.", 1) == std::string::npos)
    text.erase(0, 1);
  return PadLeft(std::move(text), width);
}

std::string FormatInteger(std::int64_t n, int width) {
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n);
  return PadLeft(std::string(buffer.data(), result.ptr), width);
}

std::optional<double> ParseReal(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) return std::nullopt;
  }
  // from_chars would also take "inf" and "nan"; a number typed by a user never is one.
  if (text.empty() || text.find_first_not_of("0123456789.+-eE") != std::string_view::npos)
    return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') return std::nullopt;
  }
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
    return std::nullopt;
  return value;
}

namespace {

// Parses cleaned text as a real or an integer and formats it back; empty when it does not parse.
std::optional<std::pair<double, std::string>> ParseAndFormat(std::string_view cleaned, bool isReal) {
  if (isReal) {
    const auto value = ParseReal(cleaned);
    if (!value) return std::nullopt;
    return std::pair{*value, FormatReal(*value, 0, 3)};
  }
  const auto value = ParseInteger(cleaned);
  if (!value) return std::nullopt;
  return std::pair{static_cast<double>(*value), FormatInteger(*value, 0)};
}

}  // namespace

std::string CleanNumberText(std::string_view text, bool isReal) {
  const auto parsed = ParseAndFormat(KeepOnly(text, kUnsignedSet), isReal);
  return parsed ? parsed->second : std::string();
}

std::string CleanCheckedNumberText(UserPort& port, std::string_view text, bool isReal,
                                   bool allowSign, double maximum, double minimum) {
  const auto parsed = ParseAndFormat(KeepOnly(text, allowSign ? kSignedSet : kUnsignedSet), isReal);
  if (!parsed) return {};
  // A bound of 0 switches the range check off.
  if (maximum != 0 && minimum != 0 && (parsed->first < minimum || parsed->first > maximum)) {
    port.ShowError(isReal ? msg::RealOutOfRange : msg::IntegerOutOfRange);
    return {};
  }
  return parsed->second;
}

std::string CleanSignedReal(std::string_view text) {
  const auto value = ParseReal(KeepOnly(text, kSignedSet));
  return value ? FormatReal(*value, 0, 3) : std::string();
}

void ReportBelowMinimum(UserPort& port, std::string_view prompt, std::string_view minText) {
  port.ShowError(std::string(prompt) + "\r\n" + std::string(msg::MinimumValueIs) + std::string(minText));
}

void ReportAboveMaximum(UserPort& port, std::string_view prompt, std::string_view maxText) {
  port.ShowError(std::string(prompt) + "\r\n" + std::string(msg::MaximumValueIs) + std::string(maxText));
}

void ReportOutOfRange(UserPort& port, std::string_view prompt, std::string_view lowText,
                      std::string_view highText) {
  port.ShowError(std::string(prompt) + "\r\n" + std::string(msg::ValueMustRangeFrom) +
                 std::string(lowText) + std::string(msg::RangeTo) + std::string(highText));
}

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> parts) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const std::size_t k = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && k < parts.size()) {
      text += parts.begin()[k];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string ShortenPath(std::string_view path, std::size_t maxChars) {
  const char delimiter = path.find('/') != std::string_view::npos ? '/' : '\\';
  const std::string ellipsis = std::string("...") + delimiter;

  std::string drive;
  if (path.size() >= 2 && path[1] == ':') {
    drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const auto lastDelimiter = path.rfind(delimiter);
  std::string directory = lastDelimiter == std::string_view::npos
                              ? std::string()
                              : std::string(path.substr(0, lastDelimiter + 1));
  const std::string name(lastDelimiter == std::string_view::npos ? path
                                                                 : path.substr(lastDelimiter + 1));

  auto whole = [&] { return drive + directory + name; };
  std::string text = whole();
  while (text.size() > maxChars && (!drive.empty() || !directory.empty())) {
    if (directory == delimiter + ellipsis) {
      drive.clear();
      directory = ellipsis;
    } else if (!directory.empty() && directory != std::string(1, delimiter)) {
      std::string lead;
      if (directory[0] == delimiter) {
        lead = std::string(1, delimiter);
        directory.erase(0, 1);
      }
      if (directory.starts_with(ellipsis)) directory.erase(0, ellipsis.size());
      const auto first = directory.find(delimiter);
      directory = first == std::string::npos ? std::string() : ellipsis + directory.substr(first + 1);
      directory = lead + directory;
    } else if (!drive.empty()) {
      drive.clear();
    } else {
      break;  // only the root delimiter is left in front of the name
    }
    text = whole();
  }
  return text;
}

}  // namespace terravue

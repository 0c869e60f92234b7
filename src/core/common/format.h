#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace terravue {

class UserPort;

// Numbers are always written and read in the C locale, whatever the user's locale is.

// Fixed-point text with exactly `decimals` digits after the point (no point when 0),
// right-aligned with blanks to `width`; never cut, never "-0.000".
std::string FormatReal(double x, int width, int decimals);
std::string FormatInteger(std::int64_t n, int width);

// Whole-text parses: optional sign, digits, optional fraction and exponent; surrounding blanks
// are allowed. Overflow and non-finite results do not parse.
std::optional<double> ParseReal(std::string_view text);
std::optional<std::int64_t> ParseInteger(std::string_view text);

// Edit-field cleaning. The empty result asks the caller to keep the previous value.
std::string CleanNumberText(std::string_view text, bool isReal);
std::string CleanCheckedNumberText(UserPort& port, std::string_view text, bool isReal,
                                   bool allowSign, double maximum, double minimum);
std::string CleanSignedReal(std::string_view text);

// Range messages shared by all dialogs (error box).
void ReportBelowMinimum(UserPort& port, std::string_view prompt, std::string_view minText);
void ReportAboveMaximum(UserPort& port, std::string_view prompt, std::string_view maxText);
void ReportOutOfRange(UserPort& port, std::string_view prompt, std::string_view lowText,
                      std::string_view highText);

// A message with its parts filled in: "%1" stands for the first part, "%2" for the second, up to
// "%9"; a placeholder without its part, and any other "%", stay as they are.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> parts);

// Shortens a path for a menu by replacing leading directories with "...\" (or ".../"); the
// file name itself is never shortened. Both '\' and '/' are taken as delimiters.
std::string ShortenPath(std::string_view path, std::size_t maxChars);

}  // namespace terravue

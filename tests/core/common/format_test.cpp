#include "common/format.h"

#include <clocale>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "common/messages.h"
#include "support/fake_port.h"

namespace terravue {
namespace {

using testing::FakePort;

struct RealCase {
  double value;
  int width;
  int decimals;
  const char* expected;
};

TEST(FormatReal, FixedPointRightAlignedNeverCut) {
  const RealCase cases[] = {
      {2.5, 12, 3, "       2.500"},
      {1234.5, 3, 1, "1234.5"},
      {1234.5, 0, 0, "1234"},  // halfway: the even neighbour
      {-12.3456, 0, 3, "-12.346"},
      {0.0005, 0, 3, "0.001"},  // 0.0005 is a hair above the tie in binary
      {-0.0001, 0, 3, "0.000"},  // never a negative zero
      {-0.0, 8, 3, "   0.000"},
      {1e15, 0, 3, "1000000000000000.000"},
      {7, 0, 0, "7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatReal(c.value, c.width, c.decimals), c.expected)
        << c.value << " width " << c.width << " decimals " << c.decimals;
}

TEST(FormatInteger, RightAligned) {
  EXPECT_EQ(FormatInteger(78, 0), "78");
  EXPECT_EQ(FormatInteger(-3, 5), "   -3");
  EXPECT_EQ(FormatInteger(123456, 3), "123456");
}

TEST(ParseNumbers, WholeTextOnlyAndChecked) {
  EXPECT_EQ(ParseReal(" 12.5 "), 12.5);
  EXPECT_EQ(ParseReal("+3"), 3.0);
  EXPECT_EQ(ParseReal("-1.5e2"), -150.0);
  EXPECT_EQ(ParseReal(".5"), 0.5);
  for (const char* bad : {"", "-", ".", "1.2.3", "1e", "12abc", "inf", "nan", "1e400", "+-1", "1,5"})
    EXPECT_FALSE(ParseReal(bad).has_value()) << bad;

  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("-7"), -7);
  EXPECT_EQ(ParseInteger("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  for (const char* bad : {"", "1.0", "9223372036854775808", "12x", "+-3"})
    EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}

TEST(ParseNumbers, IgnoreTheProcessLocale) {
  // A decimal-comma locale must not change how numbers are read or written.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no decimal-comma locale installed";
  EXPECT_EQ(FormatReal(1.5, 0, 3), "1.500");
  EXPECT_EQ(ParseReal("1.5"), 1.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(CleanNumberText, KeepsDigitsAndPointOnly) {
  EXPECT_EQ(CleanNumberText("12,345.6ft", true), "12345.600");
  EXPECT_EQ(CleanNumberText("abc", true), "");
  EXPECT_EQ(CleanNumberText("-5", true), "5.000");  // the sign is not in the unsigned set
  EXPECT_EQ(CleanNumberText("1.2.3", true), "");
  EXPECT_EQ(CleanNumberText("x12", false), "12");
  EXPECT_EQ(CleanNumberText("12.5", false), "");
  EXPECT_EQ(CleanSignedReal("-2.5 m"), "-2.500");
  EXPECT_EQ(CleanSignedReal("m"), "");
}

TEST(CleanCheckedNumberText, RangeCheckUnlessABoundIsZero) {
  FakePort port;
  EXPECT_EQ(CleanCheckedNumberText(port, "0", true, false, 1.7e308, 0.001), "");
  EXPECT_EQ(CleanCheckedNumberText(port, "0", true, false, 1.7e308, 0), "0.000");
  EXPECT_EQ(CleanCheckedNumberText(port, "-4", true, true, 10, -5), "-4.000");
  EXPECT_EQ(CleanCheckedNumberText(port, "-4", true, false, 10, 1), "4.000");
  EXPECT_EQ(CleanCheckedNumberText(port, "60", false, false, 50, 1), "");
  EXPECT_EQ(port.Texts(FakePort::Kind::Error),
            (std::vector<std::string>{std::string(msg::RealOutOfRange),
                                      std::string(msg::IntegerOutOfRange)}));
}

TEST(RangeMessages, PromptThenBound) {
  FakePort port;
  ReportBelowMinimum(port, "Contour Interval value out of range", "0.001");
  ReportAboveMaximum(port, "Copies", "255");
  ReportOutOfRange(port, "Tension value out of range", "0.0", "10.0");
  EXPECT_EQ(port.Texts(FakePort::Kind::Error),
            (std::vector<std::string>{
                "Contour Interval value out of range\r\nMinimum value is: 0.001",
                "Copies\r\nMaximum value is: 255",
                "Tension value out of range\r\nValue must range from: 0.0 to: 10.0"}));
}

struct ShortenCase {
  const char* path;
  std::size_t maxChars;
  const char* expected;
};

TEST(ShortenPath, DropsLeadingDirectoriesThenTheDriveNeverTheName) {
  const ShortenCase cases[] = {
      {"C:\\SURVEY\\JOBS\\2024\\NORTH\\SITE.MDL", 80, "C:\\SURVEY\\JOBS\\2024\\NORTH\\SITE.MDL"},
      {"C:\\SURVEY\\JOBS\\2024\\NORTH\\SITE.MDL", 30, "C:\\...\\2024\\NORTH\\SITE.MDL"},
      {"C:\\SURVEY\\JOBS\\2024\\NORTH\\SITE.MDL", 20, "C:\\...\\SITE.MDL"},
      {"C:\\SURVEY\\JOBS\\2024\\NORTH\\SITE.MDL", 5, "SITE.MDL"},
      {"\\\\SERVER\\SHARE\\SITE.MDL", 15, "\\...\\SITE.MDL"},
      {"/home/ann/Documents/jobs/north/SITE.MDL", 30, "/.../jobs/north/SITE.MDL"},
      {"/home/ann/Documents/jobs/north/SITE.MDL", 12, ".../SITE.MDL"},
      {"/AVERYLONGFILENAME.MDL", 5, "/AVERYLONGFILENAME.MDL"},  // nothing left to drop
      {"SITE.MDL", 3, "SITE.MDL"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.path, c.maxChars), c.expected) << c.path;
}

}  // namespace
}  // namespace terravue

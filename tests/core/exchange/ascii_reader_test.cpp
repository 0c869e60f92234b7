#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/format.h"
#include "exchange/ascii_export.h"
#include "exchange/ascii_import.h"
#include "tin/geometry.h"

namespace terravue::exchange {
namespace {

// ---------------------------------------------------------------------------------------------
// ReadNumber over a stream of numbers (no N in the format: line ends are separators).

struct NumberCase {
  const char* name;
  std::string input;
  std::vector<std::optional<double>> expected;  // one per read; nullopt = the read fails
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class ReadNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsTheExpectedNumbers) {
  const NumberCase& c = GetParam();
  std::istringstream in(c.input);
  AsciiReader reader(in);
  for (std::size_t k = 0; k < c.expected.size(); ++k) {
    SCOPED_TRACE("read " + std::to_string(k + 1));
    const auto value = reader.ReadNumber();
    ASSERT_EQ(value.has_value(), c.expected[k].has_value()) << (value ? *value : 0.0);
    if (value) {
      EXPECT_EQ(*value, *c.expected[k]);
    }
  }
}

const std::optional<double> kFails;

INSTANTIATE_TEST_SUITE_P(
    Tokens, ReadNumberTest,
    ::testing::Values(
        NumberCase{"SeparatorsAndWords", "12.3456,  -7.1e2 abc 5", {12.346, -710.0, 5.0, kFails}},
        NumberCase{"TabsAndLineEnds", "\t1\t2\r3\n4\r\n5", {1.0, 2.0, 3.0, 4.0, 5.0, kFails}},
        NumberCase{"LastCharacterOfTheFile", "7", {7.0, kFails}},
        NumberCase{"ExponentLetterAtTheEnd", "42E", {42.0, kFails}},
        NumberCase{"ExponentLetterBeforeAWord", "12E3X 5", {12000.0, 5.0}},
        NumberCase{"LeadingLetterEIsASeparator", "E5", {5.0}},
        NumberCase{"SignsAndBarePoints", "+5 .5 5. -.25", {5.0, 0.5, 5.0, -0.25}},
        NumberCase{"TwoPoints", "1.2.3 4", {kFails, 4.0}},
        NumberCase{"LoneSign", "- 4", {kFails, 4.0}},
        NumberCase{"LonePoint", ". 4", {kFails, 4.0}},
        NumberCase{"ExponentWithoutDigits", "1e 1e+ 4", {kFails, kFails, 4.0}},
        NumberCase{"SignInsideTheNumber", "5-3 7", {kFails, 7.0}},
        NumberCase{"DateLikeToken", "2024-01-05 9", {kFails, 9.0}},
        // Rounded as the value prints with three decimals, halves of the binary value to even.
        NumberCase{"RoundedToThousandths", "0.0005 0.0015 1.0005 1.2345 2.5005 -0.0004",
                   {0.001, 0.002, 1.0, 1.234, 2.501, -0.0}},
        NumberCase{"ExponentsAreRoundedToo", "1.23456e2 5e-4", {123.456, 0.001}},
        NumberCase{"TooSmallForADoubleIsZero", "1e-400 3", {0.0, 3.0}},
        // A token longer than 21 characters fails whole instead of becoming two numbers.
        NumberCase{"OverlongToken", "1234567890.12345678901 8", {kFails, 8.0}},
        NumberCase{"LongestToken", "+00000000012.50000000", {12.5}},
        NumberCase{"MagnitudeLimit", "1e9 -1000000000 1000000000.001 1e10 1e400", {1e9, -1e9, kFails, kFails, kFails}},
        NumberCase{"NoDigitAtAll", "abc, def", {kFails}},
        NumberCase{"EmptyFile", "", {kFails, kFails}}),
    [](const auto& info) { return std::string(info.param.name); });

// Under a decimal-comma locale nothing changes: numbers are read in the C locale.
TEST(ReadNumberLocaleTest, DecimalCommaLocaleChangesNothing) {
  const std::locale saved = std::locale::global(std::locale::classic());
  const std::string savedC = std::setlocale(LC_ALL, nullptr);
  try {
    std::locale::global(std::locale("de_DE.utf8"));
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "no de_DE.utf8 locale on this machine";
  }
  std::setlocale(LC_ALL, "de_DE.utf8");
  std::istringstream in("1234.5678 1,5");
  AsciiReader reader(in);
  EXPECT_EQ(reader.ReadNumber(), 1234.568);
  EXPECT_EQ(reader.ReadNumber(), 1.0);  // the comma separates
  EXPECT_EQ(reader.ReadNumber(), 5.0);
  std::locale::global(saved);
  std::setlocale(LC_ALL, savedC.c_str());
}

// The loader does not round X, Y and Z a second time: every number the reader gives is at
// thousandths already, where RoundToThousandths changes nothing.
TEST(ReadNumberRoundingTest, NumbersAreAtThousandthsAlready) {
  std::mt19937_64 random(20240611);
  std::string text;
  for (const double scale : {1.0, 1e3, 1e6, 1e9}) {
    std::uniform_real_distribution<double> value(-scale, scale);
    for (int k = 0; k < 5000; ++k) {
      const double v = value(random);
      text += FormatReal(v, 0, 3) + ' ' + FormatReal(v, 0, 7) + ' ' + FormatReal(v / 1000, 0, 6) + "e3 ";
    }
  }
  std::istringstream in(text);
  AsciiReader reader(in);
  int numbers = 0;
  while (const auto v = reader.ReadNumber()) {
    ASSERT_EQ(tin::RoundToThousandths(*v), *v) << *v;
    ++numbers;
  }
  EXPECT_EQ(numbers, 60000);
}

TEST(AsciiReaderTest, SkipToNextLineStopsAtTheLineEnd) {
  std::istringstream in("1 rest of line 2\n3\r\n4");
  AsciiReader reader(in);
  EXPECT_EQ(reader.ReadNumber(), 1.0);
  reader.SkipToNextLine();
  EXPECT_EQ(reader.CurrentChar(), '\n');
  reader.SkipToNextLine();  // already at a line end: nothing more is skipped
  EXPECT_EQ(reader.ReadNumber(), 3.0);
  EXPECT_EQ(reader.CurrentChar(), '\r');
  reader.SkipToNextLine();
  EXPECT_EQ(reader.ReadNumber(), 4.0);
  EXPECT_TRUE(reader.AtEnd());
}

// With N in the format a record stays on its line: once it has a number, a line end fails the
// next read; a record's first read still passes over lines without numbers.
TEST(AsciiReaderTest, LineBoundRecordsDoNotTakeTheNextLine) {
  std::istringstream in("1 2\n\nheader words\n3 4 5\n");
  AsciiReader reader(in, true);
  reader.BeginRecord();
  EXPECT_EQ(reader.ReadNumber(), 1.0);
  EXPECT_EQ(reader.ReadNumber(), 2.0);
  EXPECT_EQ(reader.ReadNumber(), std::nullopt);
  EXPECT_TRUE(reader.RecordHadContent());
  reader.SkipToNextLine();
  reader.BeginRecord();
  EXPECT_EQ(reader.ReadNumber(), 3.0);
  EXPECT_EQ(reader.ReadNumber(), 4.0);
  EXPECT_EQ(reader.ReadNumber(), 5.0);
  reader.SkipToNextLine();
  reader.BeginRecord();
  EXPECT_EQ(reader.ReadNumber(), std::nullopt);
  EXPECT_FALSE(reader.RecordHadContent());  // only the end of the file was left
}

// In a P field a hyphen between digits joins two point numbers; elsewhere it stays a sign.
TEST(AsciiReaderTest, HyphensJoinPointNumbers) {
  std::istringstream in("213-214-7 -5 12-x 1e-2");
  AsciiReader reader(in);
  EXPECT_EQ(reader.ReadPointNumber(), 213.0);
  EXPECT_TRUE(reader.JoinedToNext());
  EXPECT_EQ(reader.ReadPointNumber(), 214.0);
  EXPECT_TRUE(reader.JoinedToNext());
  EXPECT_EQ(reader.ReadPointNumber(), 7.0);
  EXPECT_FALSE(reader.JoinedToNext());
  EXPECT_EQ(reader.ReadPointNumber(), -5.0);  // a leading sign
  EXPECT_EQ(reader.ReadPointNumber(), 12.0);
  EXPECT_TRUE(reader.JoinedToNext());  // the run ends on its own at the next read
  EXPECT_EQ(reader.ReadPointNumber(), 0.01);  // the exponent's sign
  std::istringstream coordinates("213-214");
  AsciiReader plain(coordinates);
  EXPECT_EQ(plain.ReadNumber(), std::nullopt);
  EXPECT_EQ(plain.FailureReason(), "\"213-214\" is not a number");
}

// Line numbers are counted over the buffer's refills, for the problems a summary names.
TEST(AsciiReaderTest, RecordsKnowTheirLineAcrossBufferRefills) {
  std::string text;
  for (int i = 1; i <= 9000; ++i) text += std::to_string(i) + " 1000.000 2000.000\r\n";  // > 64 KiB
  text += "\n\n  9001 x\n";
  std::istringstream in(text);
  AsciiReader reader(in, true);
  for (int i = 1; i <= 9001; ++i) {
    reader.BeginRecord();
    const bool complete = reader.ReadNumber() && reader.ReadNumber() && reader.ReadNumber();
    EXPECT_EQ(complete, i <= 9000);
    reader.SkipToNextLine();
    if (i <= 9000 && i % 997 == 1) {
      EXPECT_EQ(reader.RecordLine(), static_cast<std::uint64_t>(i));
    }
  }
  EXPECT_EQ(reader.RecordLine(), 9003u);
  EXPECT_EQ(reader.FailureReason(), "the line ends before all its fields were read");
}

// A record that begins before a refill and fails after it keeps the line it began on, though
// its line is asked for only once the buffer holds the next chunk.
TEST(AsciiReaderTest, ARecordAcrossARefillKeepsItsLine) {
  std::string text;
  std::uint64_t lines = 0;
  while (text.size() < 65536 - 40) {
    text += "1 2 3\n";
    ++lines;
  }
  text += "4 5";
  text.append(65536 + 10 - text.size(), ' ');
  text += "1.2.3\n6 7 8\n";
  std::istringstream in(text);
  AsciiReader reader(in, true);
  for (std::uint64_t i = 0; i < lines; ++i) {
    reader.BeginRecord();
    ASSERT_TRUE(reader.ReadNumber() && reader.ReadNumber() && reader.ReadNumber());
    reader.SkipToNextLine();
  }
  reader.BeginRecord();
  EXPECT_TRUE(reader.ReadNumber() && reader.ReadNumber());
  EXPECT_EQ(reader.ReadNumber(), std::nullopt);
  EXPECT_EQ(reader.FailureReason(), "\"1.2.3\" is not a number");
  EXPECT_EQ(reader.RecordLine(), lines + 1);
  reader.SkipToNextLine();
  reader.BeginRecord();
  EXPECT_TRUE(reader.ReadNumber() && reader.ReadNumber() && reader.ReadNumber());
  EXPECT_EQ(reader.RecordLine(), lines + 2);
}

TEST(AsciiReaderTest, RefusesFilesThatAreNotPlainText) {
  for (const std::string& input : {std::string("\xFF\xFE" "1\0 \0" "2\0", 8), std::string("\xFE\xFF\0" "1", 4),
                                  std::string("1 2 3\n4 5\0 6\n", 13)}) {
    std::istringstream in(input);
    AsciiReader reader(in);
    while (reader.ReadNumber()) {
    }
    EXPECT_TRUE(reader.NotText());
  }
}

// ---------------------------------------------------------------------------------------------
// Labels.

TEST(LabelFromNumberTest, RightJustifiesTheLastFourCharacters) {
  const struct {
    double value;
    const char* label;
  } cases[] = {{7, "   7"},    {12345, "2345"},   {10023, "0023"}, {-3, "  -3"},
               {12.5, "  12"},  {13.5, "  14"},    {-0.4, "   0"}, {1e9, "0000"},
               {-12345, "2345"}, {123.456, " 123"}};
  for (const auto& c : cases) {
    const auto label = LabelFromNumber(c.value);
    EXPECT_EQ(std::string(label.begin(), label.end()), c.label) << c.value;
  }
}

// ---------------------------------------------------------------------------------------------
// Formats as typed.

std::string Codes(const FileFormat& f) {
  std::string s;
  for (auto c : f.codes) s += std::to_string(c);
  return s;
}

TEST(FormatTextTest, TypedLettersBecomeCodesAndDecorations) {
  const FileFormat f = ParseFormatText(ImportLetters(AsciiKind::Coordinates), "l y, x  zN");
  EXPECT_EQ(Codes(f), "5324700000");
  EXPECT_EQ(f.decoration[0], "");
  EXPECT_EQ(f.decoration[1], " ");
  EXPECT_EQ(f.decoration[2], ", ");
  EXPECT_EQ(f.decoration[3], "  ");
  EXPECT_EQ(f.decoration[4], "");
  EXPECT_EQ(FormatText(ImportLetters(AsciiKind::Coordinates), f), "L Y, X  ZN");
}

TEST(FormatTextTest, TenCodesAndTwentyCharactersAtMost) {
  const auto letters = ImportLetters(AsciiKind::Border);
  const FileFormat f = ParseFormatText(letters, std::string(25, ' ') + "PPPPPPPPPPA,");
  EXPECT_EQ(Codes(f), "1111111111");
  EXPECT_EQ(f.decoration[0], std::string(20, ' '));
  EXPECT_EQ(f.decoration[10], ",");  // the eleventh letter is dropped, the comma is kept
  EXPECT_EQ(FormatText(letters, f), std::string(20, ' '));
}

TEST(FormatTextTest, PredefinedEntriesShowTheirLetters) {
  EXPECT_EQ(FormatText(ImportLetters(AsciiKind::Coordinates), PredefinedImportFormat(AsciiKind::Coordinates, 2)),
            "LYXZN");
  EXPECT_EQ(FormatText(ImportLetters(AsciiKind::Breaklines), PredefinedImportFormat(AsciiKind::Breaklines, 3)),
            "PBN");
  EXPECT_EQ(FormatText(ExportLetters(AsciiKind::Coordinates), PredefinedExportFormat(AsciiKind::Coordinates, 0)),
            "Y, X, ZN");
  EXPECT_EQ(FormatText(ExportLetters(AsciiKind::Border), PredefinedExportFormat(AsciiKind::Border, 3)), "P, A, N");
  EXPECT_EQ(ChosenImportFormat(AsciiKind::Border, -1, "A"), FileFormat{});
}

TEST(FormatTextTest, AllowedCharactersDependOnTheKind) {
  EXPECT_TRUE(IsFormatCharacter(ImportLetters(AsciiKind::Coordinates), 'l'));
  EXPECT_FALSE(IsFormatCharacter(ImportLetters(AsciiKind::Coordinates), 'P'));
  EXPECT_TRUE(IsFormatCharacter(ImportLetters(AsciiKind::Breaklines), 'b'));
  EXPECT_FALSE(IsFormatCharacter(ImportLetters(AsciiKind::Breaklines), 'C'));
  EXPECT_TRUE(IsFormatCharacter(ExportLetters(AsciiKind::Breaklines), 'C'));
  EXPECT_TRUE(IsFormatCharacter(ExportLetters(AsciiKind::Coordinates), 'g'));
  EXPECT_FALSE(IsFormatCharacter(ExportLetters(AsciiKind::Coordinates), 'Q'));
  EXPECT_FALSE(IsFormatCharacter(ExportLetters(AsciiKind::Coordinates), ';'));
}

}  // namespace
}  // namespace terravue::exchange

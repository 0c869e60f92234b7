#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "common/messages.h"
#include "exchange_test_env.h"

namespace terravue::exchange::test {
namespace {

using Shown = terravue::testing::FakePort::Shown;

// The format of a case: a predefined entry, or the custom text as typed.
struct Format {
  int entry;
  const char* typed = "";
};

struct ExportCase {
  const char* name;
  AsciiKind kind;
  Format format;
  std::string expected;
};

void PrintTo(const ExportCase& c, std::ostream* os) { *os << c.name; }

// Nine points; 1 to 3 carry the interesting values, the ring runs 4 -> 2 -> 9 -> 5 and the
// breaklines are 1-2, 2-3 and 7-8.
class ExportTextTest : public ExchangeTest, public ::testing::WithParamInterface<ExportCase> {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddPoint(100, 200, 10);
    AddPoint(101.5, 201.25, 11.125);
    AddPoint(-0.0, -0.0004, -3);  // both print as 0.000, never -0.000
    for (int i = 4; i <= 9; ++i) AddPoint(i, 10 * i, 100 * i);
    model.SetPointLabel(1, "7");
    model.SetPointLabel(2, "A12");
    model.BorderNext[4] = 2;
    model.BorderNext[2] = 9;
    model.BorderNext[9] = 5;
    model.BorderNext[5] = 4;
    model.Breaklines[1] = {1, 2};
    model.Breaklines[2] = {2, 3};
    model.Breaklines[3] = {7, 8};
    model.BreaklineCount = 3;
  }

  FileFormat FormatOf(const ExportCase& c) const {
    if (c.format.entry == FormatRecord::CustomFormat)
      return ChosenExportFormat(c.kind, c.format.entry, c.format.typed);
    return PredefinedExportFormat(c.kind, c.format.entry);
  }
};

TEST_P(ExportTextTest, WritesTheExactBytes) {
  const ExportCase& c = GetParam();
  std::string text;
  std::size_t records = 0;
  ExportStatus status = ExportStatus::WriteFailed;
  switch (c.kind) {
    case AsciiKind::Coordinates: status = BuildCoordinateText(model, FormatOf(c), text, records); break;
    case AsciiKind::Border: status = BuildBorderText(model, FormatOf(c), text, records); break;
    case AsciiKind::Breaklines: status = BuildBreaklineText(model, FormatOf(c), text, records); break;
  }
  EXPECT_EQ(status, ExportStatus::Written);
  EXPECT_EQ(text, c.expected);
}

constexpr int Custom = FormatRecord::CustomFormat;

INSTANTIATE_TEST_SUITE_P(
    Layouts, ExportTextTest,
    ::testing::Values(
        ExportCase{"CoordinatesEntry3", AsciiKind::Coordinates, {3},
                   "1, 100.000, 200.000, 10.000\r\n2, 101.500, 201.250, 11.125\r\n3, 0.000, 0.000, -3.000\r\n"
                   "4, 4.000, 40.000, 400.000\r\n5, 5.000, 50.000, 500.000\r\n6, 6.000, 60.000, 600.000\r\n"
                   "7, 7.000, 70.000, 700.000\r\n8, 8.000, 80.000, 800.000\r\n9, 9.000, 90.000, 900.000\r\n"},
        ExportCase{"CustomLabelsAndBlanks", AsciiKind::Coordinates, {Custom, "L X Y ZN"},
                   "   7 100.000 200.000 10.000\r\n A12 101.500 201.250 11.125\r\n   3 0.000 0.000 -3.000\r\n"
                   "   4 4.000 40.000 400.000\r\n   5 5.000 50.000 500.000\r\n   6 6.000 60.000 600.000\r\n"
                   "   7 7.000 70.000 700.000\r\n   8 8.000 80.000 800.000\r\n   9 9.000 90.000 900.000\r\n"},
        // Every decoration follows its code, so a comma before N ends each line.
        ExportCase{"CustomTrailingComma", AsciiKind::Coordinates, {Custom, "y, x, z, n"},
                   "200.000, 100.000, 10.000, \r\n201.250, 101.500, 11.125, \r\n0.000, 0.000, -3.000, \r\n"
                   "40.000, 4.000, 400.000, \r\n50.000, 5.000, 500.000, \r\n60.000, 6.000, 600.000, \r\n"
                   "70.000, 7.000, 700.000, \r\n80.000, 8.000, 800.000, \r\n90.000, 9.000, 900.000, \r\n"},
        ExportCase{"CustomWithoutLineEnds", AsciiKind::Coordinates, {Custom, " P,G,"},
                   " 1,0, 2,0, 3,0, 4,0, 5,0, 6,0, 7,0, 8,0, 9,0,"},
        // The ring is written from its lowest point, once round, without repeating the start.
        ExportCase{"BorderEntry1", AsciiKind::Border, {1},
                   "101.500, 201.250\r\n9.000, 90.000\r\n5.000, 50.000\r\n4.000, 40.000\r\n"},
        ExportCase{"BorderEntry2", AsciiKind::Border, {2},
                   "2, 201.250, 101.500\r\n9, 90.000, 9.000\r\n5, 50.000, 5.000\r\n4, 40.000, 4.000\r\n"},
        // The separator inside a group: the text after the letter, else the text before it.
        ExportCase{"BorderSeparatorAfterTheLetter", AsciiKind::Border, {Custom, "P,A N"},
                   "2,101.500 201.250\r\n9,9.000 90.000\r\n5,5.000 50.000\r\n4,4.000 40.000\r\n"},
        ExportCase{"BorderSeparatorBeforeTheLetter", AsciiKind::Border, {Custom, "P; CN"},
                   "2; 101.500; 201.250; 11.125\r\n9; 9.000; 90.000; 900.000\r\n5; 5.000; 50.000; 500.000\r\n"
                   "4; 4.000; 40.000; 400.000\r\n"},
        ExportCase{"BorderBlankSeparator", AsciiKind::Border, {Custom, "DGN"},
                   "201.250 101.500 11.1250\r\n90.000 9.000 900.0000\r\n50.000 5.000 500.0000\r\n"
                   "40.000 4.000 400.0000\r\n"},
        // One point per line: a chain's last point is written twice.
        ExportCase{"BreaklinesEntry3", AsciiKind::Breaklines, {3},
                   "1, 200.000, 100.000\r\n2, 201.250, 101.500\r\n3, 0.000, 0.000\r\n3, 0.000, 0.000\r\n"
                   "7, 70.000, 7.000\r\n8, 80.000, 8.000\r\n8, 80.000, 8.000\r\n"},
        ExportCase{"BreaklinesEntry2", AsciiKind::Breaklines, {2}, "1, 2\r\n2, 3\r\n7, 8\r\n"},
        ExportCase{"BreaklinesEntry1", AsciiKind::Breaklines, {1},
                   "100.000, 200.000, 101.500, 201.250\r\n101.500, 201.250, 0.000, 0.000\r\n"
                   "7.000, 70.000, 8.000, 80.000\r\n"},
        ExportCase{"BreaklinesFromPointsOnly", AsciiKind::Breaklines, {Custom, "C N"},
                   "100.000 200.000 10.000\r\n101.500 201.250 11.125\r\n7.000 70.000 700.000\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// The files and their messages.

class ExportFileTest : public ExportTextTest {};

TEST_F(ExportFileTest, WritesTheFileAndItsSummary) {
  ExportEntry(AsciiKind::Coordinates, 3);
  ExportEntry(AsciiKind::Border, 1);
  ExportEntry(AsciiKind::Breaklines, 2);
  const fs::path points = dir.path() / "P.ASC";
  EXPECT_EQ(ExportCoordinateFile(session, points), ExportStatus::Written);
  EXPECT_TRUE(ReadAll(points).starts_with("1, 100.000, 200.000, 10.000\r\n"));
  EXPECT_EQ(ExportBorderFile(session, dir.path() / "B.BDR"), ExportStatus::Written);
  EXPECT_EQ(ExportBreaklineFile(session, dir.path() / "L.BRK"), ExportStatus::Written);
  EXPECT_EQ(ReadAll(dir.path() / "L.BRK"), "1, 2\r\n2, 3\r\n7, 8\r\n");
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Info, "Total points saved: 9"},
                                            {Kind::Info, "Total border points saved: 4"},
                                            {Kind::Info, "Total breaklines saved: 3"}}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST_F(ExportFileTest, FailuresWriteNothingAndShowNoSummary) {
  ExportEntry(AsciiKind::Border, 1);
  const fs::path kept = Write("KEPT.BDR", "previous contents\r\n");

  // A ring that loops without coming back to its start.
  model.BorderNext[5] = 9;
  EXPECT_EQ(ExportBorderFile(session, kept), ExportStatus::BorderInvalid);
  EXPECT_EQ(ExportBorderFile(session, dir.path() / "NO" / "SUCH.BDR"), ExportStatus::BorderInvalid);
  model.BorderNext[5] = 4;
  EXPECT_EQ(ExportBorderFile(session, dir.path() / "NO" / "SUCH.BDR"), ExportStatus::WriteFailed);
  EXPECT_EQ(ExportBorderFile(session, dir.path()), ExportStatus::WriteFailed);

  ExportFormat(AsciiKind::Breaklines, "P P P N");
  EXPECT_EQ(ExportBreaklineFile(session, kept), ExportStatus::FormatRefused);
  ExportEntry(AsciiKind::Breaklines, 2);
  model.Breaklines[2].To = 10;
  EXPECT_EQ(ExportBreaklineFile(session, kept), ExportStatus::BadReference);

  EXPECT_EQ(ReadAll(kept), "previous contents\r\n");
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Error, std::string(msg::BorderIsInvalid)},
                                            {Kind::Error, std::string(msg::BorderIsInvalid)},
                                            {Kind::Error, "File management error.\r\n" +
                                                              (dir.path() / "NO" / "SUCH.BDR").string() +
                                                              ": No such file or directory"},
                                            {Kind::Error, "File management error.\r\n" + dir.path().string() +
                                                              ": Is a directory"},
                                            {Kind::Error, std::string(msg::TooManyBreaklineParameters)},
                                            {Kind::Error, std::string(msg::BreaklineEndNotAPoint)}}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(ExportFileTest, CommandsRefuseWhenThereIsNothingToSave) {
  EXPECT_TRUE(CanExport(session, AsciiKind::Coordinates));
  EXPECT_TRUE(CanExport(session, AsciiKind::Border));
  EXPECT_TRUE(CanExport(session, AsciiKind::Breaklines));
  model.BorderNext[5] = 9;
  EXPECT_FALSE(CanExport(session, AsciiKind::Border));
  for (PointIndex i = 1; i <= 9; ++i) model.BorderNext[i] = NoPoint;
  EXPECT_FALSE(CanExport(session, AsciiKind::Border));
  model.BreaklineCount = 0;
  EXPECT_FALSE(CanExport(session, AsciiKind::Breaklines));
  model.PointCount = 0;
  EXPECT_FALSE(CanExport(session, AsciiKind::Coordinates));
  EXPECT_EQ(port.Texts(Kind::Error),
            (std::vector<std::string>{"The current border is invalid and can not be saved.", "No border to save.",
                                      "No breaklines to save.", "No data to save."}));
}

TEST_F(ExportFileTest, DecimalCommaLocaleChangesNothing) {
  const std::string savedC = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.utf8")) GTEST_SKIP() << "no de_DE.utf8 locale on this machine";
  const std::locale saved = std::locale::global(std::locale("de_DE.utf8"));
  std::string text;
  std::size_t records = 0;
  BuildCoordinateText(model, PredefinedExportFormat(AsciiKind::Coordinates, 1), text, records);
  std::locale::global(saved);
  std::setlocale(LC_ALL, savedC.c_str());
  EXPECT_TRUE(text.starts_with("100.000, 200.000, 10.000\r\n101.500, 201.250, 11.125\r\n")) << text;
}

}  // namespace
}  // namespace terravue::exchange::test

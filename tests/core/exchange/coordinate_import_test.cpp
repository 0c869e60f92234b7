#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange_test_env.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"

namespace terravue::exchange::test {
namespace {

struct Point {
  double x, y, z;
  std::string label;
  friend bool operator==(const Point&, const Point&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Point& p) {
    return os << "(" << p.x << ", " << p.y << ", " << p.z << ", '" << p.label << "')";
  }
};

std::vector<Point> PointsOf(const model::SurfaceModel& m) {
  std::vector<Point> points;
  for (PointIndex i = 1; i <= m.PointCount; ++i) points.push_back({m.PointX[i], m.PointY[i], m.PointZ[i], m.GetPointLabel(i)});
  return points;
}

// ---------------------------------------------------------------------------------------------
// One file, one format, the points that come out and the summary.

struct CoordinateCase {
  const char* name;
  const char* format;  // as typed in the import dialog
  std::string content;
  bool removeDuplicates;
  std::vector<Point> points;
  std::string summary;
};

void PrintTo(const CoordinateCase& c, std::ostream* os) { *os << c.name; }

class CoordinateFileTest : public ExchangeTest, public ::testing::WithParamInterface<CoordinateCase> {};

TEST_P(CoordinateFileTest, LoadsThePoints) {
  const CoordinateCase& c = GetParam();
  ImportFormat(AsciiKind::Coordinates, c.format);
  const auto file = Write("POINTS.ASC", c.content);
  LoadCoordinateFile(session, file, {.removeDuplicates = c.removeDuplicates});
  EXPECT_EQ(PointsOf(model), c.points);
  ASSERT_FALSE(Messages().empty()) << port.Transcript();
  EXPECT_EQ(Messages().front(), (terravue::testing::FakePort::Shown{Kind::Info, c.summary})) << port.Transcript();
  EXPECT_TRUE(model::CheckTopology(model).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CoordinateFileTest,
    ::testing::Values(
        CoordinateCase{"WordsCommasAndExponents", "X Y ZN", "12.3456,  -7.1e2 abc 5\n", false,
                       {{12.346, -710, 5, "   1"}}, "Total points loaded: 1"},
        CoordinateCase{"HeaderWithoutDigitsIsSkipped", "L Y X ZN",
                       "Point Northing Easting Elevation Code\n1 5000 3000 100.5 CP\n2 5010 3000 101 TREE 12\n",
                       false, {{3000, 5000, 100.5, "   1"}, {3000, 5010, 101, "   2"}},
                       "Total points loaded: 2\r\nLines with more numbers than the format reads: 1 (line 3)"},
        // Numbers left on a line are named by line: the file may not be what the format says.
        CoordinateCase{"DecimalCommasAreReportedByLine", "Y X ZN", "5000,5 3000,2 100,1\n\n5001,5 3001,2 101,1\n",
                       false, {{5, 5000, 3000, "   1"}, {5, 5001, 3001, "   2"}},
                       "Total points loaded: 2\r\nLines with more numbers than the format reads: 2 (lines 1, 3)"},
        CoordinateCase{"HexNumberIsReported", "X Y ZN", "1 2 0x10\n3 4 5\n", false,
                       {{1, 2, 0, "   1"}, {3, 4, 5, "   2"}},
                       "Total points loaded: 2\r\nLines with more numbers than the format reads: 1 (line 1)"},
        CoordinateCase{"CodesWithDigitsAreNoNumbers", "L X Y ZN",
                       "1 10 20 30 CP1\n2 11 21 31 TREE12 MH-3\n3,12,22,32,CL1.5*1.5COLMN\n", false,
                       {{10, 20, 30, "   1"}, {11, 21, 31, "   2"}, {12, 22, 32, "   3"}}, "Total points loaded: 3"},
        CoordinateCase{"HeaderWithDigitsIsAFailedLine", "X Y ZN", "Job 2024 survey\n1 2 3\n", false,
                       {{1, 2, 3, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 1\r\n\r\nLine 1: the line ends before all its fields were read"},
        CoordinateCase{"LineEndsLfCrCrLfAndTabs", "L X Y ZN",
                       "1\t10\t20\t30\n2\t11\t21\t31\r3\t12\t22\t32\r\n4\t13\t23\t33", false,
                       {{10, 20, 30, "   1"}, {11, 21, 31, "   2"}, {12, 22, 32, "   3"}, {13, 23, 33, "   4"}},
                       "Total points loaded: 4"},
        CoordinateCase{"BlankLinesAndTrailingBlanks", "X Y ZN", "\n\n1 2 3  \r\n\r\n\r\n4 5 6\r\n  \r\n", false,
                       {{1, 2, 3, "   1"}, {4, 5, 6, "   2"}}, "Total points loaded: 2"},
        // The empty Z field fails its line instead of taking the next line's point number.
        CoordinateCase{"EmptyFieldFailsItsLineOnly", "L Y X ZN", "1,5000,3000,,CP\n2,5010,3010,101,CP\n", false,
                       {{3010, 5010, 101, "   2"}},
                       "Total points loaded: 1\r\nLines not loaded: 1\r\n\r\nLine 1: the line ends before all its fields were read"},
        CoordinateCase{"ShortLineFails", "X Y ZN", "1 2\n3 4 5\n6 7", false, {{3, 4, 5, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 2\r\n\r\nLine 1: the line ends before all its fields were read\r\n"
                       "Line 3: the file ends before all its fields were read"},
        CoordinateCase{"BadTokenSkipsTheRestOfItsLine", "X Y ZN", "1.2.3 4 5\n- 7 8\n6 7 8\n", false,
                       {{6, 7, 8, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 2\r\n\r\nLine 1: \"1.2.3\" is not a number\r\n"
                       "Line 2: \"-\" is not a number"},
        CoordinateCase{"OverlongTokenFails", "X Y ZN", "1 2 1234567890123456789012\n4 5 6\n", false,
                       {{4, 5, 6, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 1\r\n\r\n"
                       "Line 1: \"123456789012345678901...\" is not a number"},
        CoordinateCase{"HugeValueFails", "X Y ZN", "1e10 2 3\n4 5 6\n", false, {{4, 5, 6, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 1\r\n\r\n"
                       "Line 1: \"1e10\" is too large for a coordinate"},
        CoordinateCase{"WithoutNTheFileIsOneStream", "X Y Z", "1 2 3 4\n5 6\n", false,
                       {{1, 2, 3, "   1"}, {4, 5, 6, "   2"}}, "Total points loaded: 2"},
        CoordinateCase{"RecordOverTwoLines", "X Y N Z N", "1 2 x\n3\n4 5\n6 junk\n", false,
                       {{1, 2, 3, "   1"}, {4, 5, 6, "   2"}}, "Total points loaded: 2"},
        CoordinateCase{"DummyFieldsAreDropped", "D X D Y Z N", "9 1 9 2 3\n", false, {{1, 2, 3, "   1"}},
                       "Total points loaded: 1"},
        CoordinateCase{"LabelsKeepTheirLastFourDigits", "L X Y ZN", "12345 1 1 1\n10023 2 2 2\n-3 3 3 3\n7.6 4 4 4\n",
                       false,
                       {{1, 1, 1, "2345"}, {2, 2, 2, "0023"}, {3, 3, 3, "  -3"}, {4, 4, 4, "   8"}},
                       "Total points loaded: 4"},
        // Within 0.0001 after rounding to thousandths: 0.00004 and 0.0004 round onto 0.000.
        CoordinateCase{"DuplicatesAtTheThousandthsRounding", "X Y ZN",
                       "0 0 1\n0.00004 0 2\n0.0004 0 3\n0.0006 0 4\n0 0.0006 5\n0.001 0.001 6\n", true,
                       {{0, 0, 1, "   1"}, {0.001, 0, 4, "   2"}, {0, 0.001, 5, "   3"}, {0.001, 0.001, 6, "   4"}},
                       "Total points loaded: 4\r\nDuplicate points not loaded: 2"},
        // At grid offsets a pair 0.001 apart is two places, as the triangulation sees it.
        CoordinateCase{"DuplicatesAtGridOffsets", "X Y ZN",
                       "507742.029 4272929.351 1\n507742.030 4272929.352 2\n507742.029 4272929.3514 3\n", true,
                       {{507742.029, 4272929.351, 1, "   1"}, {507742.030, 4272929.352, 2, "   2"}},
                       "Total points loaded: 2\r\nDuplicate points not loaded: 1"},
        CoordinateCase{"DuplicatesKeptWhenNotAsked", "X Y ZN", "5 5 1\n5 5 2\n", false,
                       {{5, 5, 1, "   1"}, {5, 5, 2, "   2"}}, "Total points loaded: 2"},
        CoordinateCase{"ReadingEndsWithTheFile", "X Y Z", "1 2 3 4 5", false, {{1, 2, 3, "   1"}},
                       "Total points loaded: 1\r\nLines not loaded: 1\r\n\r\nLine 1: the file ends before all its fields were read"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Replacing and appending.

class CoordinateImportTest : public ExchangeTest {
 protected:
  // Five points with a ring through four of them, a triangle and a breakline.
  void BuildModel() {
    AddPoint(0, 0, 1);
    AddPoint(10, 0, 2);
    AddPoint(10, 10, 3);
    AddPoint(0, 10, 4);
    AddPoint(5, 5, 5);
    for (PointIndex i = 1; i <= 4; ++i) model.BorderNext[i] = static_cast<PointIndex>(i % 4 + 1);
    model.TriVertex[1] = {1, 2, 5};
    model.TriangleCount = 1;
    model.Breaklines[1] = {1, 5};
    model.BreaklineCount = 1;
    model.PointCutFill[1] = 2.5;
    model.CutFillCount = 1;
    settings.Set(settings::ModelSaved, true);
    settings.Set(settings::View3DOptions::View3D, true);
  }
};

TEST_F(CoordinateImportTest, ReplacingDropsEverythingOfTheOldPoints) {
  BuildModel();
  ImportEntry(AsciiKind::Coordinates, 1);
  LoadCoordinateFile(session, Write("NEW.ASC", "100 200 7\n101 201 8\n"), {});
  EXPECT_EQ(PointsOf(model), (std::vector<Point>{{100, 200, 7, "   1"}, {101, 201, 8, "   2"}}));
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_EQ(model.BreaklineCount, 0);
  EXPECT_EQ(model.CutFillCount, 0);
  EXPECT_EQ(model.FirstBorderPoint(1, model.PointCount), NoPoint);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_FALSE(settings.Get(settings::View3DOptions::View3D));
  EXPECT_EQ(port.Texts(Kind::Info), std::vector<std::string>{"Total points loaded: 2"});
  EXPECT_EQ(port.Texts(Kind::Progress), std::vector<std::string>{"Loading Coordinate >      0"});
}

// Nothing read: the old points stay, and so does everything built on them.
TEST_F(CoordinateImportTest, ReplacingWithAFileWithoutPointsKeepsTheModel) {
  BuildModel();
  ImportEntry(AsciiKind::Coordinates, 1);
  const auto before = PointsOf(model);
  const auto result = LoadCoordinateFile(session, Write("EMPTY.ASC", "no numbers here\n1 2\n"), {});
  EXPECT_EQ(result.status, LoadStatus::NothingLoaded);
  EXPECT_EQ(PointsOf(model), before);
  EXPECT_EQ(model.TriangleCount, 1);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(Messages(), (std::vector<terravue::testing::FakePort::Shown>{
                            {Kind::Info, "Total points loaded: 0\r\nLines not loaded: 1\r\n\r\n"
                                         "Line 2: the line ends before all its fields were read"},
                            {Kind::Warning, "Unable to load coordinate file."}}));
}

TEST_F(CoordinateImportTest, AppendingKeepsTheOldPointsAndWarnsAboutTheBorder) {
  BuildModel();
  ImportFormat(AsciiKind::Coordinates, "L X Y Z N");
  const auto result = LoadCoordinateFile(session, Write("MORE.ASC", "90 20 20 9\n91 5 5 9\n"),
                                         {.append = true, .removeDuplicates = true});
  EXPECT_EQ(result.loaded, 1u);
  EXPECT_EQ(result.duplicates, 1u);  // (5, 5) is point 5
  ASSERT_EQ(model.PointCount, 6);
  EXPECT_EQ(PointsOf(model).back(), (Point{20, 20, 9, "  90"}));
  EXPECT_EQ(model.BorderNext[6], NoPoint);
  EXPECT_EQ(model.BorderNext[4], 1);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_EQ(Messages(),
            (std::vector<terravue::testing::FakePort::Shown>{
                {Kind::Info, "Total points loaded: 1\r\nDuplicate points not loaded: 1\r\nTotal points in memory: 6"},
                {Kind::Warning, "The current border may be invalid. Verify the border or redefine it before "
                                "triangulating."}}));
}

TEST_F(CoordinateImportTest, CapacityMessageOnlyWhenPointsWereLeftOut) {
  ImportEntry(AsciiKind::Coordinates, 1);
  // Exactly as many points as fit, a blank line and a header-like line after them: all were
  // loaded, so the summary is the usual one.
  std::string exact;
  for (int i = 0; i < 32763; ++i) exact += std::to_string(i % 200) + " " + std::to_string(i / 200) + " 1\n";
  const auto all = LoadCoordinateFile(session, Write("EXACT.ASC", exact + "\nEND OF FILE\n"), {});
  EXPECT_FALSE(all.cutAtCapacity);
  EXPECT_EQ(model.PointCount, 32763);
  EXPECT_EQ(port.Texts(Kind::Info), std::vector<std::string>{"Total points loaded: 32763"});
  EXPECT_TRUE(port.Texts(Kind::Error).empty()) << port.Transcript();

  // One point more: it is left out, and the capacity message says so.
  port.shown.clear();
  const auto file = Write("FULL.ASC", exact + "162 163 1\n");
  const auto result = LoadCoordinateFile(session, file, {.autoProcessActive = true});
  EXPECT_TRUE(result.cutAtCapacity);
  EXPECT_EQ(model.PointCount, 32763);
  EXPECT_EQ(model.GetPointLabel(32763), "2763");
  EXPECT_EQ(model.PointX[32763], 162);
  EXPECT_EQ(port.Texts(Kind::Error),
            std::vector<std::string>{"Total points loaded: 32763\r\n\r\nPoint capacity has been reached.\r\n"
                                     "All points may not have been loaded."});

  // Appending to a full model loads nothing.
  port.shown.clear();
  LoadCoordinateFile(session, file, {.append = true});
  EXPECT_EQ(model.PointCount, 32763);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{"Unable to load coordinate file."});
}

TEST_F(CoordinateImportTest, AutoProcessKeepsTheSummaryQuiet) {
  ImportEntry(AsciiKind::Coordinates, 1);
  LoadCoordinateFile(session, Write("A.ASC", "1 2 3\n"), {.autoProcessActive = true});
  EXPECT_EQ(model.PointCount, 1);
  EXPECT_TRUE(Messages().empty()) << port.Transcript();
}

TEST_F(CoordinateImportTest, RefusedFilesLeaveTheModelAlone) {
  BuildModel();
  const auto before = PointsOf(model);
  ImportEntry(AsciiKind::Coordinates, 1);

  EXPECT_EQ(LoadCoordinateFile(session, dir.path() / "MISSING.ASC", {}).status, LoadStatus::NotOpened);
  EXPECT_EQ(Messages(), (std::vector<terravue::testing::FakePort::Shown>{
                            {Kind::Error, "File management error.\r\n" + (dir.path() / "MISSING.ASC").string() +
                                              ": No such file or directory"},
                            {Kind::Info, "Total points loaded: 0"},
                            {Kind::Warning, "Unable to load coordinate file."}}));

  port.shown.clear();
  const auto utf16 = Write("UTF16.ASC", std::string("\xFF\xFE" "1\0 \0" "2\0 \0" "3\0", 12));
  EXPECT_EQ(LoadCoordinateFile(session, utf16, {}).status, LoadStatus::NotText);
  const auto binary = Write("NUL.ASC", std::string("1 2 3\n4 5 6\n\0\0", 14));
  EXPECT_EQ(LoadCoordinateFile(session, binary, {}).status, LoadStatus::NotText);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>(2, std::string(msg::NotPlainText)));

  // A format that cannot give a position is refused before the file is opened.
  port.shown.clear();
  ImportFormat(AsciiKind::Coordinates, "L Z N");
  EXPECT_EQ(LoadCoordinateFile(session, dir.path() / "MISSING.ASC", {}).status, LoadStatus::FormatRefused);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::InsufficientCoordinateParameters)});

  EXPECT_EQ(PointsOf(model), before);
  EXPECT_EQ(model.TriangleCount, 1);
}

// A format of only N codes, or none at all, must not spin on an empty record.
TEST_F(CoordinateImportTest, FormatsThatConsumeNothingEnd) {
  std::istringstream in("1 2 3\n");
  FieldCodes codes{};
  codes[0] = coord::NextLine;
  EXPECT_EQ(LoadCoordinates(session, in, codes, {}).status, LoadStatus::FormatRefused);
  EXPECT_EQ(model.PointCount, 0);
}

}  // namespace
}  // namespace terravue::exchange::test

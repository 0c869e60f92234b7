#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange_test_env.h"
#include "model/surface_model.h"

namespace terravue::exchange::test {
namespace {

using Shown = terravue::testing::FakePort::Shown;

// The ring from its lowest point, in link order; empty without a border.
std::vector<PointIndex> RingOf(const model::SurfaceModel& m) {
  std::vector<PointIndex> ring;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return ring;
  PointIndex i = start;
  do {
    ring.push_back(i);
    i = m.BorderNext[i];
  } while (i != start && i != NoPoint && ring.size() <= m.PointCount);
  return ring;
}

std::vector<std::pair<PointIndex, PointIndex>> BreaklinesOf(const model::SurfaceModel& m) {
  std::vector<std::pair<PointIndex, PointIndex>> lines;
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) lines.emplace_back(m.Breaklines[b].From, m.Breaklines[b].To);
  return lines;
}

const Shown kMayBeInvalid{Kind::Warning, "The new border may be invalid, use the Border Editor to correct any errors."};

// ---------------------------------------------------------------------------------------------
// Border files over the square 1 (0,0), 2 (100,0), 3 (100,100), 4 (0,100) with 5 in its middle.

struct BorderCase {
  const char* name;
  const char* format;
  std::string content;
  std::vector<PointIndex> ring;
  std::vector<Shown> messages;
};

void PrintTo(const BorderCase& c, std::ostream* os) { *os << c.name; }

class BorderFileTest : public ExchangeTest, public ::testing::WithParamInterface<BorderCase> {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddPoint(0, 0);
    AddPoint(100, 0);
    AddPoint(100, 100);
    AddPoint(0, 100);
    AddPoint(50, 50);
  }
};

TEST_P(BorderFileTest, LinksTheRing) {
  const BorderCase& c = GetParam();
  ImportFormat(AsciiKind::Border, c.format);
  LoadBorderFile(session, Write("FIELD.BDR", c.content), {});
  EXPECT_EQ(RingOf(model), c.ring);
  EXPECT_EQ(Messages(), c.messages) << port.Transcript();
  EXPECT_TRUE(model::CheckTopology(model).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BorderFileTest,
    ::testing::Values(
        BorderCase{"ClockwiseRingIsMadeCounterClockwise", "A N", "0 0\n0 100\n100 100\n100 0\n", {1, 2, 3, 4},
                   {{Kind::Info, "Total border points = 4"}}},
        BorderCase{"NumbersWithNorthingEasting", "P B N", "1, 0, 0\r\n2, 0, 100\r\n3, 100, 100\r\n4, 100, 0\r\n",
                   {1, 2, 3, 4}, {{Kind::Info, "Total border points = 4"}}},
        // A point number that names another position than the coordinates: the nearest point wins.
        BorderCase{"CoordinatesOverruleAWrongNumber", "P A N", "2 0 0\n1 100 0\n3 100 100\n4 0 100\n", {1, 2, 3, 4},
                   {{Kind::Info, "Total border points = 4"}}},
        // 65541 would name the centre point if it were cut to 16 bits.
        BorderCase{"NumbersOutsideTheModelAreInvalid", "P N", "1\n2\n0\n3\n9\n65541\n4\n", {1, 2, 3, 4},
                   {{Kind::Info, "Total points loaded = 7\r\nTotal border points = 4\r\nInvalid points = 3\r\n\r\n"
                                 "Line 3: there is no point number 0\r\nLine 5: there is no point number 9\r\n"
                                 "Line 6: there is no point number 65541"}}},
        BorderCase{"RepeatedFirstPointClosesTheRing", "A N", "0 0\n100 0\n100 100\n0 100\n0 0\n", {1, 2, 3, 4},
                   {{Kind::Info, "Total border points = 4"}}},
        // A point is never linked twice: the repeats are invalid and the ring stays one cycle.
        BorderCase{"RepeatedPointsInTheMiddleAreInvalid", "P N", "1\n2\n1\n3\n2\n4\n", {1, 2, 3, 4},
                   {{Kind::Info, "Total points loaded = 6\r\nTotal border points = 4\r\nInvalid points = 2\r\n\r\n"
                                 "Line 3: the point is on the border already\r\n"
                                 "Line 5: the point is on the border already"}}},
        BorderCase{"TwoPointsMakeNoValidRing", "P N", "1\n2\n", {1, 2},
                   {{Kind::Info, "Total border points = 2"}, kMayBeInvalid}},
        BorderCase{"OnePointIsNotLinkedToItself", "P N", "3\n", {},
                   {{Kind::Info, "Total border points = 1"}, kMayBeInvalid}},
        BorderCase{"BadLinesAreCounted", "A N", "0 0\n100 x\n100 0\n100 100\n", {1, 2, 3},
                   {{Kind::Info, "Total border points = 3\r\nLines not loaded = 1\r\n\r\nLine 2: the line ends before all its fields were read"}}},
        BorderCase{"NothingUsable", "A N", "words only\n", {}, {{Kind::Info, "Total border points = 0"}}}),
    [](const auto& info) { return std::string(info.param.name); });

class BorderImportTest : public BorderFileTest {};

// A vertex must lie within 0.001 of a point in X and in Y; numbers are read at thousandths.
TEST_F(BorderImportTest, VerticesMatchPointsWithinAThousandth) {
  model.PointX[1] = 0.0004;
  model.PointY[3] = 100.0009;
  ImportFormat(AsciiKind::Border, "A N");
  const auto result = LoadBorderFile(session, Write("B.BDR", "0 0\n100 0.001\n100 100\n0 100\n"), {});
  EXPECT_EQ(result.accepted, 3u);  // (100, 0.001) is a thousandth from point 2: no match
  EXPECT_EQ(result.invalid, 1u);
  EXPECT_EQ(RingOf(model), (std::vector<PointIndex>{1, 3, 4}));
}

TEST_F(BorderImportTest, AValidRingReplacesTheOldOneAndDropsTheTriangles) {
  model.BorderNext[1] = 5;
  model.BorderNext[5] = 2;
  model.BorderNext[2] = 1;
  model.TriVertex[1] = {1, 2, 5};
  model.TriangleCount = 1;
  settings.Set(settings::ModelSaved, true);
  ImportEntry(AsciiKind::Border, 3);  // P A N
  const auto result = LoadBorderFile(session, Write("B.BDR", "4, 0, 100\n3, 100, 100\n2, 100, 0\n1, 0, 0\n"), {});
  EXPECT_TRUE(result.ringValid);
  EXPECT_EQ(RingOf(model), (std::vector<PointIndex>{1, 2, 3, 4}));
  EXPECT_EQ(model.BorderNext[5], NoPoint);
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(model.MaxX, 100);  // the extents are brought up to date
}

TEST_F(BorderImportTest, RefusedFormatsAndFiles) {
  ImportFormat(AsciiKind::Border, "D N");
  EXPECT_EQ(LoadBorderFile(session, dir.path() / "NONE.BDR", {}).status, LoadStatus::FormatRefused);
  ImportFormat(AsciiKind::Border, "A N");
  EXPECT_EQ(LoadBorderFile(session, dir.path() / "NONE.BDR", {}).status, LoadStatus::NotOpened);
  EXPECT_EQ(LoadBorderFile(session, Write("NUL.BDR", std::string("0 0\n\0", 5)), {}).status, LoadStatus::NotText);
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Error, std::string(msg::InsufficientBorderParameters)},
                                            {Kind::Error, "File management error.\r\n" + (dir.path() / "NONE.BDR").string() +
                                                              ": No such file or directory"},
                                            {Kind::Error, std::string(msg::NotPlainText)}}));
  EXPECT_EQ(model.FirstBorderPoint(1, model.PointCount), NoPoint);
}

// Every load starts from a blank CurrentChar: the leading N passes over the first line even
// when the coordinate load before ended on a line end.
TEST_F(BorderImportTest, ReaderStateStartsFreshForEachLoad) {
  ImportFormat(AsciiKind::Coordinates, "X Y Z N");
  LoadCoordinateFile(session, Write("P.ASC", "0 0 1\n100 0 1\n100 100 1\n0 100 1\n"), {});
  ImportFormat(AsciiKind::Border, "N A N");
  port.shown.clear();
  LoadBorderFile(session, Write("B.BDR", "4 points follow\n0 0\n100 0\n100 100\n0 100\n"), {});
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Info, "Total border points = 4"}}));
}

TEST_F(BorderImportTest, PointNumbersMatchedToLabelsAndJoinedByHyphens) {
  for (PointIndex k = 1; k <= 5; ++k) model.SetPointLabel(k, std::to_string(200 + k));
  ImportFormat(AsciiKind::Border, "P N");
  settings.Set(BorderImport.MatchNumbersToLabels(), true);
  LoadBorderFile(session, Write("B.BDR", "204-203\n202\n201-204\n"), {});
  EXPECT_EQ(RingOf(model), (std::vector<PointIndex>{1, 2, 3, 4}));  // made counter-clockwise
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Info, "Total border points = 4"}})) << port.Transcript();
}

TEST_F(BorderImportTest, AutoProcessKeepsTheSummaryQuiet) {
  ImportFormat(AsciiKind::Border, "P N");
  LoadBorderFile(session, Write("B.BDR", "1\n2\n3\n"), {.autoProcessActive = true});
  EXPECT_EQ(RingOf(model), (std::vector<PointIndex>{1, 2, 3}));
  EXPECT_TRUE(Messages().empty()) << port.Transcript();
}

// ---------------------------------------------------------------------------------------------
// Breakline files over a grid of 12 points, 4 wide: point k at (10 ((k-1) mod 4), 10 ((k-1) div 4)).

struct BreaklineCase {
  const char* name;
  const char* format;
  std::string content;
  std::vector<std::pair<PointIndex, PointIndex>> breaklines;
  std::string summary;
};

void PrintTo(const BreaklineCase& c, std::ostream* os) { *os << c.name; }

class BreaklineFileTest : public ExchangeTest, public ::testing::WithParamInterface<BreaklineCase> {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    AddGrid(12, 4);
  }
};

TEST_P(BreaklineFileTest, LoadsTheBreaklines) {
  const BreaklineCase& c = GetParam();
  ImportFormat(AsciiKind::Breaklines, c.format);
  LoadBreaklineFile(session, Write("LINES.BRK", c.content), {});
  EXPECT_EQ(BreaklinesOf(model), c.breaklines);
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Info, c.summary}})) << port.Transcript();
  EXPECT_TRUE(model::CheckTopology(model).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BreaklineFileTest,
    ::testing::Values(
        BreaklineCase{"ChainBrokenByPointZero", "P N", "4\n5\n6\n0\n8\n9\n", {{4, 5}, {5, 6}, {8, 9}},
                      "Total breaklines in memory = 3\r\nInvalid breaklines not loaded = 1\r\n\r\n"
                      "Line 4: there is no point number 0"},
        BreaklineCase{"PairsRefuseRepeatsAndLoops", "P P N", "1 2\n2 1\n3 3\n2 3\n", {{1, 2}, {2, 3}},
                      "Total breaklines in memory = 2\r\nInvalid breaklines not loaded = 2\r\n\r\n"
                      "Line 2: the breakline is there already\r\nLine 3: both ends are the same point"},
        BreaklineCase{"CoordinatePairs", "A A N", "0 0 10 0\n10 0 10 10\n", {{1, 2}, {2, 6}},
                      "Total breaklines in memory = 2"},
        BreaklineCase{"ChainOfNorthingEasting", "B N", "0 0\n0 10\n10 10\n", {{1, 2}, {2, 6}},
                      "Total breaklines in memory = 2"},
        // The written form of a chain repeats its last point: the repeat ends the chain.
        BreaklineCase{"ChainsEndedByRepeats", "P B N", "1 0 0\n2 0 10\n6 10 10\n6 10 10\n3 0 20\n4 0 30\n4 0 30\n",
                      {{1, 2}, {2, 6}, {3, 4}},
                      "Total breaklines in memory = 3\r\nInvalid breaklines not loaded = 2\r\n\r\n"
                      "Line 4: both ends are the same point\r\nLine 7: both ends are the same point"},
        BreaklineCase{"UnmatchedEndAbandonsTheBreakline", "A A N", "0 0 10 0.001\n", {},
                      "Total breaklines in memory = 0\r\nInvalid breaklines not loaded = 1\r\n\r\n"
                      "Line 1: no point lies within 0.001 of X = 10.000, Y = 0.001"},
        BreaklineCase{"BadLineEndsTheChain", "P N", "1\n2\nx-y\n3\n4\n", {{1, 2}, {3, 4}},
                      "Total breaklines in memory = 2\r\nLines not loaded = 1\r\n\r\nLine 3: \"-\" is not a number"},
        // Survey programs write chains as hyphen-joined point numbers, one chain a line.
        BreaklineCase{"HyphenatedLinesAreChainsOfTheirOwn", "P N", "1-2-3\n5-6\n7\n8\n", {{1, 2}, {2, 3}, {5, 6}, {7, 8}},
                      "Total breaklines in memory = 4"},
        BreaklineCase{"HyphenatedChainsUnderPairFormats", "P P N", "1-2\n2-3-4\n9 10\n", {{1, 2}, {2, 3}, {3, 4}, {9, 10}},
                      "Total breaklines in memory = 4"},
        BreaklineCase{"HyphenatedChainGoesOnPastARefusedSegment", "P N", "1-2\n2-1-5\n", {{1, 2}, {1, 5}},
                      "Total breaklines in memory = 2\r\nInvalid breaklines not loaded = 1\r\n\r\n"
                      "Line 2: the breakline is there already"},
        BreaklineCase{"HyphenatedChainStartsAgainPastAnUnknownPoint", "P N", "1-99-2-3\n", {{2, 3}},
                      "Total breaklines in memory = 1\r\nInvalid breaklines not loaded = 1\r\n\r\n"
                      "Line 1: there is no point number 99"},
        BreaklineCase{"LeftOverNumbersAreReportedByLine", "P P N", "1 2 3\n2 3\n6 7 MH1\n", {{1, 2}, {2, 3}, {6, 7}},
                      "Total breaklines in memory = 3\r\nLines with more numbers than the format reads = 1 (line 1)"},
        BreaklineCase{"NumbersAndPairsTogether", "P A P A N", "1 0 0 2 10 0\n7 20 10 8 30 10\n", {{1, 2}, {7, 8}},
                      "Total breaklines in memory = 2"}),
    [](const auto& info) { return std::string(info.param.name); });

class BreaklineImportTest : public BreaklineFileTest {};

TEST_F(BreaklineImportTest, AppendsAfterTheHeldBreaklinesWithoutStaleSlots) {
  model.Breaklines[1] = {1, 2};
  model.BreaklineCount = 1;
  model.Breaklines[2] = {7, 8};  // left over from an earlier model
  model.Breaklines[3] = {9, 10};
  ImportFormat(AsciiKind::Breaklines, "P P N");
  auto result = LoadBreaklineFile(session, Write("A.BRK", "3 0\n"), {});
  EXPECT_EQ(result.status, LoadStatus::NothingLoaded);
  EXPECT_EQ(BreaklinesOf(model), (std::vector<std::pair<PointIndex, PointIndex>>{{1, 2}}));
  EXPECT_EQ(model.Breaklines[2].To, NoPoint);

  result = LoadBreaklineFile(session, Write("B.BRK", "2 1\n5 6\n"), {});
  EXPECT_EQ(result.added, 1u);
  EXPECT_EQ(result.invalid, 1u);  // 2-1 is held already
  EXPECT_EQ(BreaklinesOf(model), (std::vector<std::pair<PointIndex, PointIndex>>{{1, 2}, {5, 6}}));
}

// Surveyors' point numbers are the points' labels: with the choice on, P fields are looked up
// among the labels, each number naming exactly one point.
TEST_F(BreaklineImportTest, PointNumbersMatchedToLabels) {
  for (PointIndex k = 1; k <= 12; ++k) model.SetPointLabel(k, std::to_string(1000 + k));
  model.SetPointLabel(6, "77");
  model.SetPointLabel(7, "77");
  ImportFormat(AsciiKind::Breaklines, "P N");
  settings.Set(BreaklineImport.MatchNumbersToLabels(), true);
  const auto result =
      LoadBreaklineFile(session, Write("L.BRK", "1001-1002\n1003-1012\n1099-1001\n77-1001\n9-1004\n1005\n1001\n"), {});
  EXPECT_EQ(BreaklinesOf(model), (std::vector<std::pair<PointIndex, PointIndex>>{{1, 2}, {3, 12}, {5, 1}}));
  EXPECT_EQ(result.invalid, 3u);
  EXPECT_EQ(Messages(),
            (std::vector<Shown>{{Kind::Info, "Total breaklines in memory = 3\r\nInvalid breaklines not loaded = 3\r\n\r\n"
                                             "Line 3: no point is labelled 1099\r\n"
                                             "Line 4: several points are labelled 77\r\n"
                                             "Line 5: no point is labelled 9"}}))
      << port.Transcript();

  // Without the choice the same numbers are places in the point list.
  model.BreaklineCount = 0;
  settings.Set(BreaklineImport.MatchNumbersToLabels(), false);
  port.shown.clear();
  LoadBreaklineFile(session, Write("S.BRK", "1-2\n1001-1002\n"), {});
  EXPECT_EQ(BreaklinesOf(model), (std::vector<std::pair<PointIndex, PointIndex>>{{1, 2}}));
}

TEST_F(BreaklineImportTest, ChangesDropTheTriangulation) {
  model.TriVertex[1] = {1, 2, 5};
  model.TriangleCount = 1;
  settings.Set(settings::ModelSaved, true);
  ImportFormat(AsciiKind::Breaklines, "P P N");
  LoadBreaklineFile(session, Write("A.BRK", "nothing\n"), {});
  EXPECT_EQ(model.TriangleCount, 1);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  LoadBreaklineFile(session, Write("B.BRK", "1 5\n"), {});
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
}

TEST_F(BreaklineImportTest, FormatsThatCannotWorkAreRefused) {
  const struct {
    const char* format;
    std::string_view message;
  } cases[] = {{"D N", msg::InsufficientBreaklineParameters},
               {"P A A N", msg::UnequalBreaklineParameters},
               {"P P P N", msg::TooManyBreaklineParameters},
               {"A B A N", msg::TooManyBreaklineParameters}};
  for (const auto& c : cases) {
    port.shown.clear();
    ImportFormat(AsciiKind::Breaklines, c.format);
    EXPECT_EQ(LoadBreaklineFile(session, dir.path() / "NONE.BRK", {}).status, LoadStatus::FormatRefused);
    EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Error, std::string(c.message)}})) << c.format;
  }
}

TEST_F(BreaklineImportTest, CapacityMessageOnlyWhenBreaklinesWereLeftOut) {
  model.PointCount = 0;
  AddGrid(300, 20);
  ImportFormat(AsciiKind::Breaklines, "P P N");
  // Exactly as many as fit: all loaded, nothing to warn about. One more: left out, and said.
  for (const int wanted : {32763, 32764}) {
    SCOPED_TRACE(wanted);
    port.shown.clear();
    model.BreaklineCount = 0;
    std::string content;
    int lines = 0;
    for (int i = 1; i <= 300 && lines < wanted; ++i)
      for (int j = i + 1; j <= 300 && lines < wanted; ++j, ++lines)
        content += std::to_string(i) + " " + std::to_string(j) + "\n";
    const auto result = LoadBreaklineFile(session, Write("MANY.BRK", content), {.autoProcessActive = true});
    const bool cut = wanted > 32763;
    EXPECT_EQ(result.cutAtCapacity, cut);
    EXPECT_EQ(model.BreaklineCount, 32763);
    if (cut)
      EXPECT_EQ(Messages(), (std::vector<Shown>{{Kind::Error, "Total breaklines in memory = 32763\r\n\r\nBreakline "
                                                              "capacity has been reached.\r\nAll breaklines may not "
                                                              "have been loaded."}}));
    else
      EXPECT_TRUE(Messages().empty()) << port.Transcript();
    EXPECT_TRUE(model::CheckTopology(model).empty());
  }
}

TEST_F(BreaklineImportTest, ARefusedFileAddsNothing) {
  model.Breaklines[1] = {1, 2};
  model.BreaklineCount = 1;
  ImportFormat(AsciiKind::Breaklines, "P N");
  const auto result = LoadBreaklineFile(session, Write("NUL.BRK", std::string("3\n4\n5\0\n", 7)), {});
  EXPECT_EQ(result.status, LoadStatus::NotText);
  EXPECT_EQ(BreaklinesOf(model), (std::vector<std::pair<PointIndex, PointIndex>>{{1, 2}}));
  EXPECT_EQ(LoadBreaklineFile(session, dir.path() / "NONE.BRK", {}).status, LoadStatus::NotOpened);
}

// A pipe or a device given as an import file would block the load for ever: each loader refuses
// anything but a regular file, at once, with the file and the reason.
TEST_F(BreaklineImportTest, PipesAndDevicesAreRefusedAtOnce) {
  const fs::path pipe = dir.path() / "PIPE.ASC";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto before = model.PointCount;
  for (const fs::path& file : {pipe, fs::path("/dev/zero")}) {
    SCOPED_TRACE(file);
    port.shown.clear();
    port.fileProblems.clear();
    EXPECT_EQ(LoadCoordinateFile(session, file, {.append = true}).status, LoadStatus::NotOpened);
    EXPECT_EQ(LoadBorderFile(session, file, {}).status, LoadStatus::NotOpened);
    EXPECT_EQ(LoadBreaklineFile(session, file, {}).status, LoadStatus::NotOpened);
    ASSERT_EQ(port.fileProblems.size(), 3u);
    for (const FileProblem& problem : port.fileProblems) EXPECT_EQ(problem.Line(), file.string() + ": Not a regular file");
  }
  EXPECT_EQ(model.PointCount, before);
}

}  // namespace
}  // namespace terravue::exchange::test

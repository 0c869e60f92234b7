// Auto Process: a run from files to a triangulated surface, and each place it stops with what it
// leaves loaded.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange/auto_process.h"
#include "exchange_test_env.h"
#include "tin/border.h"
#include "tin/geometry.h"

namespace terravue::exchange::test {
namespace {

// A 4 x 4 grid of points "label x y z", labels 101..116.
std::string GridFile(const std::string& extra = {}) {
  std::string text;
  for (int k = 0; k < 16; ++k)
    text += std::to_string(101 + k) + " " + std::to_string(10 * (k % 4)) + " " + std::to_string(10 * (k / 4)) + " " +
            std::to_string(50 + k) + "\r\n";
  return text + extra;
}

class AutoProcessTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    ImportFormat(AsciiKind::Coordinates, "L X Y Z N");
    ImportFormat(AsciiKind::Border, "P N");
    ImportFormat(AsciiKind::Breaklines, "P P N");
    UseFile(CoordImport, Write("SITE.ASC", GridFile()));
  }
  void UseFile(const FormatRecord& record, const fs::path& file) { settings.Set(record.FileName(), file.string()); }
  AutoProcessEnd Run(const AutoProcessRun& run = {}) { return AutoProcess(session, state, run); }

  std::vector<std::string> Errors() const { return port.Texts(Kind::Error); }

  tin::LocateState state;
};

TEST_F(AutoProcessTest, FromFilesToASurfaceInOneRun) {
  UseFile(BorderImport, Write("SITE.BDR", "1\n2\n3\n4\n8\n12\n16\n15\n14\n13\n9\n5\n"));
  UseFile(BreaklineImport, Write("SITE.BRK", "6 11\n"));
  EXPECT_EQ(Run({.loadBorder = true, .loadBreaklines = true}), AutoProcessEnd::Completed) << port.Transcript();
  EXPECT_EQ(model.PointCount, 16);
  EXPECT_EQ(model.TriangleCount, 18);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(model.BorderNext[4], 8);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.ASC");
  EXPECT_TRUE(settings.Get(AutoLoadBorder));
  EXPECT_TRUE(settings.Get(AutoLoadBreaklines));
  // The loaders' and the triangulation's summaries stay quiet.
  EXPECT_EQ(Messages(), std::vector<terravue::testing::FakePort::Shown>{}) << port.Transcript();
  EXPECT_TRUE(model::CheckTopology(model).empty());
}

TEST_F(AutoProcessTest, WithoutABorderFileAConvexBorderIsMade) {
  UseFile(BorderImport, dir.path() / "GONE.BDR");
  EXPECT_EQ(Run({.loadBorder = true}), AutoProcessEnd::Completed);
  EXPECT_EQ(Errors(), std::vector<std::string>{std::string(msg::BorderFileMissing)});
  EXPECT_EQ(tin::CheckBorder(model, 1, model.PointCount), tin::BorderCheck::Valid);
  EXPECT_EQ(model.TriangleCount, 18);
}

struct StopCase {
  const char* name;
  std::string coordinates;  // empty: the file does not exist
  std::string border;       // empty: no border file is loaded
  AutoProcessEnd end;
  std::string_view message;
  int points;  // held afterwards
};

class AutoProcessStop : public AutoProcessTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(AutoProcessStop, SaysWhereAndKeepsWhatWasLoaded) {
  const StopCase& c = GetParam();
  AddPoint(1, 2, 3);  // an old model that a missing file must leave alone
  UseFile(CoordImport, c.coordinates.empty() ? dir.path() / "GONE.ASC" : Write("STOP.ASC", c.coordinates));
  if (!c.border.empty()) UseFile(BorderImport, Write("STOP.BDR", c.border));
  EXPECT_EQ(Run({.loadBorder = !c.border.empty()}), c.end);
  ASSERT_FALSE(Errors().empty()) << port.Transcript();
  EXPECT_EQ(Errors().back(), c.message);
  EXPECT_EQ(model.PointCount, c.points);
  EXPECT_EQ(model.TriangleCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, AutoProcessStop,
    ::testing::Values(
        StopCase{"MissingCoordinateFile", "", "", AutoProcessEnd::CoordinateFileMissing, msg::CoordinateFileMissing, 1},
        StopCase{"NoPointsInTheFile", "nothing here\n", "", AutoProcessEnd::NoPoints, msg::NoPointsLoadedStop, 1},
        StopCase{"PointsAtOnePlace", GridFile("117 10 10 99\r\n"), "", AutoProcessEnd::VerificationFailed,
                 msg::VerificationFailedStop, 17},
        StopCase{"BorderOfTwoPoints", GridFile(), "1\n16\n", AutoProcessEnd::BorderInvalid, msg::BorderErrorStop, 16}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoProcessTest, AppendingAsksAboutTheBorderAndBreaklinesHeld) {
  ASSERT_EQ(Run(), AutoProcessEnd::Completed);
  model.Breaklines[1] = {1, 2};
  model.BreaklineCount = 1;
  // No to "Load new border?" clears the box.
  EXPECT_FALSE(ConfirmLoadBorder(session, true));
  EXPECT_TRUE(ConfirmLoadBorder(session, false));
  bool erase = true;
  port.yesNoAnswers = {true, true};
  EXPECT_TRUE(ConfirmLoadBreaklines(session, true, erase));
  EXPECT_TRUE(erase);
  port.yesNoAnswers = {true, false};
  EXPECT_TRUE(ConfirmLoadBreaklines(session, true, erase));
  EXPECT_FALSE(erase);
  EXPECT_EQ(port.discardQuestions,
            (std::vector<std::string>{std::string(msg::LoadNewBorder), std::string(msg::EraseExistingBreaklines),
                                      std::string(msg::EraseExistingBreaklines)}));
}

TEST_F(AutoProcessTest, ErasingOrKeepingTheBreaklinesHeld) {
  UseFile(BreaklineImport, Write("SITE.BRK", "6 11\n"));
  for (const bool erase : {true, false}) {
    model.ClearModel();
    ASSERT_EQ(Run(), AutoProcessEnd::Completed);
    model.Breaklines[1] = {1, 2};
    model.BreaklineCount = 1;
    UseFile(CoordImport, Write("MORE.ASC", "201 100 100 1\r\n"));
    // The appended point lies outside the old convex border: the border is loaded afresh.
    UseFile(BorderImport, Write("SITE.BDR", "1\n2\n3\n4\n17\n13\n9\n5\n"));
    EXPECT_EQ(Run({.append = true, .loadBorder = true, .loadBreaklines = true, .eraseBreaklines = erase}),
              AutoProcessEnd::Completed)
        << port.Transcript();
    EXPECT_EQ(model.PointCount, 17);
    EXPECT_EQ(model.BreaklineCount, erase ? 1 : 2);
    EXPECT_EQ(model.Breaklines[model.BreaklineCount].From, 6);
    UseFile(CoordImport, Write("SITE.ASC", GridFile()));
  }
}

TEST_F(AutoProcessTest, TheDialogsGroups) {
  settings.Set(CoordImport.RemoveDuplicates(), true);
  const AutoProcessGroup points = DescribeGroup(settings, AsciiKind::Coordinates, 200);
  EXPECT_EQ(points.fileName, (dir.path() / "SITE.ASC").string());
  EXPECT_EQ(points.format, "L X Y Z N");
  EXPECT_EQ(points.removeDuplicates, "Yes");
  EXPECT_EQ(DescribeGroup(settings, AsciiKind::Border, 200).fileName, msg::NoFileSpecified);
  EXPECT_TRUE(CanContinue(settings));
  settings.Set(CoordImport.FileName(), "");
  EXPECT_FALSE(CanContinue(settings));
}

}  // namespace
}  // namespace terravue::exchange::test

#include "common/text_report.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/temp_files.h"

namespace terravue {
namespace {

namespace fs = std::filesystem;
using testing::FakePort;

using testing::ReadAll;

class TextReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("terravue-report-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  static std::tm At(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
  }

  fs::path dir;
};

TEST_F(TextReportTest, CentringUsesIntegerHalfOfTheSpareColumns) {
  TextReport r;
  ASSERT_TRUE(r.Open(dir, "XXTest.OUT"));
  r.WriteCentredLine(std::string(80, 'a'));
  r.WriteCentredLine(std::string(10, 'b'));
  r.WriteCentredLine(std::string(11, 'c'));
  r.WriteText("no end");
  ASSERT_TRUE(r.Close());
  EXPECT_EQ(ReadAll(dir / "XXTest.OUT"), std::string(80, 'a') + "\r\n" + std::string(34, ' ') +
                                             std::string(10, 'b') + "\r\n" + std::string(33, ' ') +
                                             std::string(11, 'c') + "\r\nno end");
}

TEST_F(TextReportTest, HeaderHasNineLinesAndEnglishDates) {
  SettingsRecord settings;
  settings.Set(settings::CompanyName, "Acme Surveying");
  model::SurfaceModel model;
  TextReport r;
  ASSERT_TRUE(r.Open(dir, "XXPoints.OUT"));
  r.WriteHeader("Data Point Listing", settings, model.Comment(), At(2024, 6, 5, 15, 7));
  ASSERT_TRUE(r.Close());

  auto centred = [](const std::string& s) { return std::string((78 - s.size()) / 2, ' ') + s + "\r\n"; };
  EXPECT_EQ(ReadAll(r.Path()), centred("Data Point Listing") + centred("Terravue v7.2") +
                                   centred("Acme Surveying") + "\r\n" +
                                   centred("Date: June 5, 2024  Time: 03:07 PM") +
                                   std::string(34, ' ') + "File: N/A\r\n" + "\r\n" + "\r\n" +
                                   std::string(78, '-') + "\r\n");
}

TEST(ReportDateTime, TwelveHourClock) {
  struct Case {
    int hour, minute;
    const char* time;
  };
  for (const Case c : {Case{0, 5, "12:05 AM"}, Case{11, 59, "11:59 AM"}, Case{12, 0, "12:00 PM"},
                       Case{23, 30, "11:30 PM"}}) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = c.hour;
    t.tm_min = c.minute;
    EXPECT_EQ(ReportDateTime(t), std::string("Date: December 10, 2026  Time: ") + c.time);
  }
}

TEST_F(TextReportTest, HeaderNamesTheFileAndTheComment) {
  SettingsRecord settings;
  settings.Set(settings::ModelFileName, "SITE.MDL");
  model::SurfaceModel model;
  model.SetComment("North pasture");
  TextReport r;
  ASSERT_TRUE(r.Open(dir, "XXPoints.OUT"));
  r.WriteHeader("Data Point Listing", settings, model.Comment(), At(2024, 1, 1, 9, 0));
  ASSERT_TRUE(r.Close());
  const std::string text = ReadAll(r.Path());
  EXPECT_NE(text.find(std::string(32, ' ') + "File: SITE.MDL\r\n"), std::string::npos);
  EXPECT_NE(text.find(std::string(32, ' ') + "North pasture\r\n"), std::string::npos);
}

TEST_F(TextReportTest, ShowReportDeletesTheWorkFileAfterViewing) {
  SettingsRecord settings;
  model::SurfaceModel model;
  FakePort port;
  Session session{model, settings, port, dir};
  TextReport r;
  ASSERT_TRUE(r.Open(session.workDirectory, reports::BorderListing.workName));
  r.WriteLine("line");
  ShowReport(session, r, reports::BorderListing);
  EXPECT_EQ(port.Texts(FakePort::Kind::Report),
            std::vector<std::string>{"Border Listing.TXT | Save Border Listing"});
  EXPECT_EQ(port.reports, std::vector<std::string>{"line\r\n"});
  EXPECT_FALSE(fs::exists(dir / "XXBorder.OUT"));
}

TEST_F(TextReportTest, OpenFailsWhenTheWorkFolderIsGone) {
  TextReport r;
  EXPECT_FALSE(r.Open(dir / "missing", "XXVolume.OUT"));
}

TEST_F(TextReportTest, CopyReportFile) {
  const fs::path source = dir / "XXVolume.OUT";
  std::ofstream(source, std::ios::binary) << "a\r\nb\r\n";
  const fs::path target = dir / "Volume Analysis.TXT";
  std::ofstream(target, std::ios::binary) << "older and longer content";

  EXPECT_TRUE(CopyReportFile(source, target));
  EXPECT_EQ(ReadAll(target), "a\r\nb\r\n");
  EXPECT_FALSE(CopyReportFile(dir / "nothing.OUT", target));
  EXPECT_EQ(ReadAll(target), "a\r\nb\r\n");
  EXPECT_FALSE(CopyReportFile(source, dir / "no-such-folder" / "x.TXT"));
}

}  // namespace
}  // namespace terravue

#include <optional>
#include <string>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "exchange/export_commands.h"
#include "exchange_test_env.h"

namespace terravue::exchange::test {
namespace {

TEST(ExportNames, ExtensionsAreProposedAndAppendedWithoutTouchingTheRest) {
  struct Case {
    AsciiKind kind;
    const char* name;
    const char* proposed;
    const char* chosen;  // what the save dialog gives back after it
  };
  const Case cases[] = {
      {AsciiKind::Coordinates, "/d/Site.mdl", "/d/Site.ASC", "/d/Site.ASC"},
      {AsciiKind::Coordinates, "/d/points.txt", "/d/points.txt", "/d/points.txt"},
      {AsciiKind::Coordinates, "/d/points.asc", "/d/points.asc", "/d/points.asc"},
      {AsciiKind::Coordinates, "/d/Mixed", "/d/Mixed.ASC", "/d/Mixed.ASC"},
      {AsciiKind::Border, "/d/Site.txt", "/d/Site.BDR", "/d/Site.BDR"},
      {AsciiKind::Border, "/d/edge.bdr", "/d/edge.bdr", "/d/edge.bdr"},
      {AsciiKind::Breaklines, "/d/ridge.bkl", "/d/ridge.bkl", "/d/ridge.bkl"},
      {AsciiKind::Breaklines, "/d/ridge.asc", "/d/ridge.BRK", "/d/ridge.BRK"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProposedExportName(c.kind, c.name), c.proposed) << c.name;
  EXPECT_EQ(WithExportExtension(AsciiKind::Coordinates, "/d/out"), "/d/out.ASC");
  EXPECT_EQ(WithExportExtension(AsciiKind::Border, "/d/out"), "/d/out.BDR");
  EXPECT_EQ(WithExportExtension(AsciiKind::Breaklines, "/d/Out.brk"), "/d/Out.brk");
  EXPECT_EQ(ProposedExportName(AsciiKind::Border, ""), "");
}

TEST(ExportDialog, OkNeedsAnEntryAndACustomText) {
  EXPECT_FALSE(ExportEnabling(-1, "").ok);
  EXPECT_TRUE(ExportEnabling(0, "").ok);
  EXPECT_FALSE(ExportEnabling(0, "").editCustom);
  EXPECT_FALSE(ExportEnabling(4, "").ok);
  EXPECT_TRUE(ExportEnabling(4, "").editCustom);
  EXPECT_TRUE(ExportEnabling(4, "P X").ok);
}

class ExportCommandTest : public ExchangeTest {
 protected:
  ExportDialogFn Dialog(std::optional<std::string> answer) {
    return [this, answer](const ExportDialogRequest& r) {
      requests.push_back(r);
      return answer;
    };
  }
  std::vector<ExportDialogRequest> requests;
};

TEST_F(ExportCommandTest, WritesTheChosenFileAndProposesItAgain) {
  AddGrid(3, 3);
  settings.Set(settings::DataDirectory, (dir.path() / "").string());
  settings.Set(settings::ModelFileName, "Site.mdl");
  StoreExportDialogFormat(settings, AsciiKind::Coordinates, 3, "");
  const std::string file = (dir.path() / "OUT.ASC").string();

  EXPECT_TRUE(ExportCommand(session, AsciiKind::Coordinates, Dialog(file)));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].fileName, (dir.path() / "Site.ASC").string());
  EXPECT_FALSE(requests[0].chooseFileAtOnce);
  EXPECT_EQ(ReadAll(file), "1, 0.000, 0.000, 0.000\r\n2, 10.000, 0.000, 1.000\r\n3, 20.000, 0.000, 2.000\r\n");
  EXPECT_EQ(port.Texts(Kind::Info), std::vector<std::string>{std::string(msg::TotalPointsSaved) + "3"});
  EXPECT_EQ(DefaultExportFileName(settings, AsciiKind::Coordinates), file);
}

TEST_F(ExportCommandTest, NothingToWriteOrNoNameWritesNothing) {
  EXPECT_FALSE(ExportCommand(session, AsciiKind::Coordinates, Dialog("x")));
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::NoDataToSave)});

  AddGrid(3, 3);
  port.shown.clear();
  EXPECT_FALSE(ExportCommand(session, AsciiKind::Coordinates, Dialog("")));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].chooseFileAtOnce);  // neither an export nor a model name
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::NoExportFileChosen)});
  EXPECT_EQ(settings.Get(CoordExport.FileName()), "");

  EXPECT_FALSE(ExportCommand(session, AsciiKind::Coordinates, Dialog(std::nullopt)));  // Cancel
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace terravue::exchange::test

#include "cad/cad_output.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cad_fixture.h"
#include "common/messages.h"
#include "device/map_options.h"
#include "cad/cad_layers.h"
#include "device/cad_settings.h"
#include "tin/geometry.h"

namespace terravue::cad {
namespace {

using testing::FakePort;
using testing::ReadAll;
namespace fs = std::filesystem;

class OutputToCadTest : public testing::CadFixture {
 protected:
  OutputToCadTest() {
    SetCadProgram(settings, CadProgram::AutoCad);
    settings.Set(device::TriangleOptions::Show, true);
  }

  // Runs the command with a save dialog that answers `chosen` and keeps what it was asked.
  bool Run(std::optional<std::string> chosen) {
    tin::LocateState state;
    return OutputToCad(session, state, [&](const CadSaveRequest& r) {
      requests.push_back(r);
      return chosen;
    });
  }

  std::vector<CadSaveRequest> requests;
};

TEST_F(OutputToCadTest, NamesTheFileAfterTheProgramAndKeepsDirectoryAndName) {
  settings.Set(device::CadOutput::CadFileName, "");
  port.promptAnswers.push_back("2.5");
  ASSERT_TRUE(Run((dir / "plan.txt").string())) << port.Transcript();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].filter, msg::CadDxfFilter);
  EXPECT_EQ(requests[0].filterIndex, 1);
  EXPECT_EQ(requests[0].title, "Save as");
  EXPECT_EQ(requests[0].proposedPath, "");

  EXPECT_TRUE(fs::is_regular_file(dir / "PLAN.DXF"));
  EXPECT_FALSE(fs::exists(dir / "plan.txt"));
  EXPECT_EQ(settings.Get(device::CadOutput::CadFileName), "PLAN.DXF");
  EXPECT_EQ(settings.Get(device::CadOutput::CadDataDirectory), (dir / "").string());  // as chosen, case kept
  EXPECT_EQ(settings.Get(device::CadOutput::ElevationFactor), 2.5);
  EXPECT_EQ(port.Texts(FakePort::Kind::Progress), std::vector<std::string>{"Creating CAD file..."});
  EXPECT_EQ(port.Texts(FakePort::Kind::Completion), std::vector<std::string>{"CAD file complete!"});

  // The next run proposes the directory and the stored name, with the batch program's extension.
  SetCadProgram(settings, CadProgram::GeneralCadd);
  port.shown.clear();
  ASSERT_TRUE(Run((dir / "plan.gxm").string()));
  EXPECT_EQ(requests[1].proposedPath, (dir / "PLAN.GXM").string());
  EXPECT_EQ(requests[1].initialDirectory, dir.string());
  EXPECT_EQ(requests[1].filter, msg::CadGxmFilter);
  EXPECT_TRUE(port.Texts(FakePort::Kind::Prompt).empty());  // no elevation factor for batch files
  EXPECT_TRUE(ReadAll(dir / "PLAN.GXM").starts_with("/MSP,++;\r\n"));
}

TEST_F(OutputToCadTest, CancelChangesNothing) {
  settings.Set(device::CadOutput::CadDataDirectory, "/somewhere/");
  settings.Set(device::CadOutput::CadFileName, "OLD.DXF");
  const SettingsRecord before = settings;
  EXPECT_FALSE(Run(std::nullopt));
  EXPECT_EQ(requests.at(0).proposedPath, "/somewhere/OLD.DXF");
  EXPECT_EQ(requests.at(0).initialDirectory, "/somewhere");
  EXPECT_TRUE(settings == before);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(OutputToCadTest, AFailedFileShowsTheErrorAndNoCompletion) {
  // Created: no. Put in place: no (a folder holds the name).
  fs::create_directories(dir / "BUSY.MCR" / "inner");
  for (const fs::path& chosen : {dir / "missing" / "x.mcr", dir / "busy.mcr"}) {
    SetCadProgram(settings, CadProgram::GenericCadd);
    port.shown.clear();
    EXPECT_FALSE(Run(chosen.string()));
    EXPECT_EQ(port.Texts(FakePort::Kind::Error).size(), 1u) << port.Transcript();
    EXPECT_TRUE(port.Texts(FakePort::Kind::Completion).empty());
    // The directory and name chosen are kept all the same.
    EXPECT_EQ(settings.Get(device::CadOutput::CadDataDirectory), (chosen.parent_path() / "").string());
  }
  // A folder of that name is refused as the file is created, and stays as it was.
  EXPECT_EQ(port.Texts(FakePort::Kind::Error).front(),
            std::string(msg::BatchCreateError) + "\r\n" + (dir / "BUSY.MCR").string() + ": Is a directory");
  EXPECT_TRUE(fs::is_directory(dir / "BUSY.MCR" / "inner"));
}

TEST(CadTargets, FileNamesFollowTheProgram) {
  struct Case {
    CadProgram program;
    const char *chosen, *directory, *name;
  };
  for (const Case& c : {Case{CadProgram::AutoCad, "/Data/Site/plan.txt", "/Data/Site/", "PLAN.DXF"},
                        Case{CadProgram::AutoSketch, "/d/plan", "/d/", "PLAN.DXF"},
                        Case{CadProgram::GenericCadd, "/d/a.b.dxf", "/d/", "A.B.MCR"},
                        Case{CadProgram::GeneralCadd, "/d/Map.gxm", "/d/", "MAP.GXM"}}) {
    const CadTarget t = CadTargetFor(c.program, c.chosen);
    EXPECT_EQ(t.directory, c.directory) << c.chosen;
    EXPECT_EQ(t.fileName, c.name) << c.chosen;
  }
}

}  // namespace
}  // namespace terravue::cad

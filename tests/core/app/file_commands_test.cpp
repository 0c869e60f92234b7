// Open Surface, Save Surface and Save Surface As after their dialogs.

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "app/file_commands.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "support/fake_port.h"

namespace terravue::app {
namespace {

namespace fs = std::filesystem;
using FakeKind = testing::FakePort::Kind;

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    model.AllocateStore();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / (std::string("terravue-filecmd-") + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    session.workDirectory = dir;
  }
  void TearDown() override { fs::remove_all(dir); }

  void ThreePoints() {
    for (int i = 1; i <= 3; ++i) {
      model.PointX[i] = i;
      model.PointY[i] = i * i;
      model.PointZ[i] = 10;
    }
    model.PointCount = 3;
  }

  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  testing::FakePort port;
  Session session{model, settings, port, {}};
  fs::path dir;
};

TEST_F(FileCommands, SaveAsForcesTheFilterExtensionAndTakesTheName) {
  ThreePoints();
  EXPECT_EQ(SaveSurface(session), SaveOutcome::NeedsName);  // imported data has no model file yet
  ASSERT_TRUE(SaveSurfaceAs(session, dir / "SITE.TXT", 2));
  EXPECT_TRUE(fs::exists(dir / "SITE.MDV"));
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.MDV");
  EXPECT_EQ(settings.Get(settings::ModelFileType), model::ModelFileTypeMdv);
  EXPECT_EQ(settings.Get(settings::DataDirectory), (dir / "").string());
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(model::RecentFiles(settings).front(), (dir / "SITE.MDV").string());
  EXPECT_EQ(SaveAsTitle(settings), "Save SITE.MDV as");
  EXPECT_EQ(SaveAsInitialPath(settings), dir / "SITE");

  model::MarkModified(session);
  EXPECT_EQ(SaveSurface(session), SaveOutcome::Saved);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
}

TEST_F(FileCommands, SaveAsWithAnUnknownFilterIsRefused) {
  ThreePoints();
  EXPECT_FALSE(SaveSurfaceAs(session, dir / "SITE", 3));
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{"The file could not be saved."});
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(FileCommands, AFailedSaveAsKeepsTheNameButNotTheRecentEntry) {
  ThreePoints();
  EXPECT_FALSE(SaveSurfaceAs(session, dir / "missing" / "SITE", 1));
  EXPECT_EQ(port.Texts(FakeKind::Error),
            std::vector<std::string>{"File management error.\r\n" + (dir / "missing" / "SITE.MDL").string() +
                                     ": No such file or directory"});
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.MDL");
  EXPECT_TRUE(model::RecentFiles(settings).empty());
}

TEST_F(FileCommands, OpenSurfaceChecksTheExtension) {
  ThreePoints();
  ASSERT_TRUE(SaveSurfaceAs(session, dir / "SITE", 1));
  model.ClearModel();

  EXPECT_FALSE(OpenSurface(session, dir / "SURVEY.XYZ", 1));
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{"That file type is not supported."});
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.MDL");  // nothing changed

  // No extension: the chosen filter's.
  EXPECT_TRUE(OpenSurface(session, dir / "SITE", 1));
  EXPECT_EQ(model.PointCount, 3);
  EXPECT_FALSE(OpenSurface(session, dir / "SITE", 2));  // SITE.MDV does not exist
  EXPECT_EQ(port.Texts(FakeKind::Error).back(),
            "File not found.\r\n" + (dir / "SITE.MDV").string() + ": No such file or directory");
}

TEST_F(FileCommands, OpenSurfaceImportsLandXmlAndRemembersIt) {
  std::ofstream(dir / "LOT.xml") << "<LandXML><Units><Metric linearUnit=\"meter\"/></Units><Surfaces>"
                                    "<Surface name=\"Lot\"><Definition><Pnts><P id=\"1\">0 0 1</P>"
                                    "<P id=\"2\">0 10 2</P><P id=\"3\">10 0 3</P></Pnts>"
                                    "<Faces><F>1 2 3</F></Faces></Definition></Surface></Surfaces></LandXML>";
  // No extension under the LandXML filter entry: ".xml".
  EXPECT_TRUE(OpenSurface(session, dir / "LOT", LandXmlFilterEntry));
  EXPECT_EQ(model.TriangleCount, 1);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "LOT.xml");
  EXPECT_EQ(settings.Get(settings::ModelFileType), model::ModelFileTypeImport);
  EXPECT_EQ(model::RecentFiles(settings), std::vector<std::string>{(dir / "LOT.xml").string()});

  // Reopen takes the same way.
  model.ClearModel();
  EXPECT_TRUE(OpenFileByName(session, dir / "LOT.xml"));
  EXPECT_EQ(model.TriangleCount, 1);
  EXPECT_FALSE(OpenFileByName(session, dir / "GONE.xml"));
  EXPECT_EQ(port.Texts(FakeKind::Error).back(), "File not found.");
}

TEST_F(FileCommands, LoadedModelGetsTheFitScaleAndItsPresetSizes) {
  ApplyLoadedModelDefaults(settings, model);  // no points: nothing moves
  EXPECT_EQ(settings.Get(device::PageSetup::MapScale), DefaultSettings().Get(device::PageSetup::MapScale));

  for (int i = 1; i <= 3; ++i) {
    model.PointX[i] = 1000.0 * i;
    model.PointY[i] = 500.0 * i;
    model.PointZ[i] = 10;
  }
  model.PointCount = 3;
  ApplyLoadedModelDefaults(settings, model);
  const double scale = settings.Get(device::PageSetup::MapScale);
  EXPECT_EQ(scale, settings.Get(device::PageSetup::FitScale));
  const int preset = device::ChooseScalePreset(settings, 0, scale);
  EXPECT_EQ(preset, 4);  // a site this size needs more than 100 ft/in: the largest preset
  for (auto [field, row] : {std::pair{device::ContourOptions::TextHeight, 2},
                            std::pair{device::PointOptions::MarkerHeight, 3}})
    EXPECT_EQ(settings.Get(field), settings.Get(settings::ScalePresetSizes(0, preset, row))) << row;
  EXPECT_EQ(settings.Get(device::ContourOptions::DashLength), scale / 4);
}

// The list is the settings' own: the order written at exit is the order read at the next start.
TEST_F(FileCommands, RecentFilesKeepTheirOrderThroughTheSettingsFile) {
  for (const char* name : {"/a/ONE.MDL", "/a/TWO.MDL", "/a/THREE.MDL", "/a/ONE.MDL"}) model::AddRecentFile(settings, name);
  const std::vector<std::string> order{"/a/ONE.MDL", "/a/THREE.MDL", "/a/TWO.MDL"};
  ASSERT_EQ(model::RecentFiles(settings), order);
  ASSERT_TRUE(SaveSettings(settings, dir / "TERRAVUE_SURFACE.VSF"));
  SettingsRecord next = DefaultSettings();
  LoadSettings(next, dir / "TERRAVUE_SURFACE.VSF");
  EXPECT_EQ(model::RecentFiles(next), order);
}

}  // namespace
}  // namespace terravue::app

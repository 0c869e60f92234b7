#include "model/model_document.h"

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "fuzz/model_reader_harness.h"
#include "model/model_file.h"
#include "model_test_env.h"
#include "common/view3d_settings.h"

namespace terravue::model {
namespace {

namespace fs = std::filesystem;
using Kind = terravue::testing::FakePort::Kind;

class ModelDocumentTest : public test::SessionTest {
 protected:
  // Writes the base model to `name` in the test directory and returns its path.
  fs::path WriteBaseModel(const std::string& name, int type = ModelFileTypeMdl) {
    SurfaceModel source;
    EXPECT_TRUE(source.AllocateStore());
    fuzz::BuildBaseModel(source);
    const fs::path file = dir.path() / name;
    EXPECT_EQ(WriteModelFile(source, file, 1, source.PointCount, type), ModelFileStatus::Ok);
    return file;
  }

  std::string Directory() const { return (dir.path() / "").string(); }
};

TEST_F(ModelDocumentTest, CaptionNamesTheModelAndItsSavedState) {
  settings.Set(settings::ModelFileName, "SITE.MDL");
  settings.Set(settings::ModelSaved, true);
  EXPECT_EQ(CaptionText(model, settings), "Terravue <No Data Loaded>");
  fuzz::BuildBaseModel(model);
  EXPECT_EQ(CaptionText(model, settings), "Terravue <SITE.MDL> (unmodified)");
  MarkModified(session);
  EXPECT_EQ(CaptionText(model, settings), "Terravue <SITE.MDL>");
  EXPECT_EQ(port.modelStateChanges, 1);
}

TEST_F(ModelDocumentTest, ConfirmDiscardAsksOnlyWhenUnsavedPointsWouldBeLost) {
  settings.Set(settings::ModelSaved, false);
  EXPECT_TRUE(ConfirmDiscard(session, true));  // no points
  fuzz::BuildBaseModel(model);
  settings.Set(settings::ModelSaved, true);
  EXPECT_TRUE(ConfirmDiscard(session, false));
  EXPECT_TRUE(port.shown.empty());

  settings.Set(settings::ModelSaved, false);
  port.yesNoAnswers = {true, false};
  EXPECT_TRUE(ConfirmDiscard(session, true));
  EXPECT_FALSE(ConfirmDiscard(session, false));
  EXPECT_EQ(port.Texts(Kind::Question),
            (std::vector<std::string>{
                "WARNING - The current file has changes that have not been written to disk.\r\nExit anyway?",
                "WARNING - The current file has changes that have not been written to disk.\r\nLoad new data "
                "anyway?"}));
}

TEST_F(ModelDocumentTest, FileTypeComesFromTheExtensionWhateverItsCase) {
  const std::pair<const char*, int> cases[] = {{"SITE.MDL", 2},     {"site.mdl", 2}, {"dir/Site.Mdv", 3},
                                               {"SURVEY.XYZ", -1},  {"NOEXT", -1},   {"SITE.MDL.BAK", -1},
                                               {"dir.mdl/FILE", -1}};
  for (auto [name, type] : cases) EXPECT_EQ(ModelFileTypeOf(name), type) << name;
}

TEST_F(ModelDocumentTest, OpenByNameKeepsThePathsCaseAndUpdatesTheModelIdentity) {
  const fs::path file = WriteBaseModel("Site.mdl");
  settings.Set(settings::View3DOptions::View3D, true);
  ASSERT_TRUE(OpenModelByName(session, file)) << port.Transcript();

  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  EXPECT_EQ(model.PointCount, 5);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "Site.mdl");
  EXPECT_EQ(settings.Get(settings::ModelFileExt), ".mdl");
  EXPECT_EQ(settings.Get(settings::ModelFileType), ModelFileTypeMdl);
  EXPECT_EQ(settings.Get(settings::DataDirectory), Directory());
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(RecentFiles(settings), std::vector<std::string>{(dir.path() / "Site.mdl").string()});
  EXPECT_FALSE(settings.Get(settings::View3DOptions::View3D));
  EXPECT_EQ(settings.Get(settings::View3DOptions::TargetX), 5);
  EXPECT_EQ(settings.Get(settings::View3DOptions::TargetY), 5);
  EXPECT_EQ(settings.Get(settings::View3DOptions::TargetZ), 12);
  EXPECT_EQ(model.ExtentDiagonal, std::hypot(10, 10));
  EXPECT_GE(port.modelStateChanges, 1);
  EXPECT_EQ(CaptionText(model, settings), "Terravue <Site.mdl> (unmodified)");
}

TEST_F(ModelDocumentTest, SiblingExtensionReadsTheSiblingFormat) {
  const fs::path file = WriteBaseModel("SITE.MDV", ModelFileTypeMdv);
  ASSERT_TRUE(OpenModelByName(session, file)) << port.Transcript();
  EXPECT_EQ(settings.Get(settings::ModelFileType), ModelFileTypeMdv);
}

struct OpenFailureCase {
  enum Make { Nothing, Folder, SoundModel, Bytes };
  const char* name;
  const char* file;  // in the test directory
  Make make;
  const char* content;  // for Bytes
  const char* message;
  const char* reason;  // after the file's path on the next line; nullptr: no such line
};

void PrintTo(const OpenFailureCase& c, std::ostream* os) { *os << c.name; }

class OpenFailureTest : public ModelDocumentTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, ShowsWhyAndClearsTheModelName) {
  const auto& c = GetParam();
  const fs::path file = dir.path() / c.file;
  switch (c.make) {
    case OpenFailureCase::Nothing: break;
    case OpenFailureCase::Folder: fs::create_directory(file); break;
    case OpenFailureCase::SoundModel: WriteBaseModel(c.file); break;
    case OpenFailureCase::Bytes: test::WriteAll(file, c.content); break;
  }
  settings.Set(settings::ModelFileName, "OLD.MDL");
  EXPECT_FALSE(OpenModelByName(session, file));
  std::string expected = c.message;
  if (c.reason) expected += "\r\n" + file.string() + c.reason;
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{expected});
  EXPECT_EQ(settings.Get(settings::ModelFileName), "");
  EXPECT_TRUE(RecentFiles(settings).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, OpenFailureTest,
    ::testing::Values(
        OpenFailureCase{"Missing", "GONE.MDL", OpenFailureCase::Nothing, nullptr, "File not found.",
                        ": No such file or directory"},
        OpenFailureCase{"Folder", "FOLDER.MDL", OpenFailureCase::Folder, nullptr, "File not found.",
                        ": Is a directory"},
        OpenFailureCase{"OtherExtension", "SURVEY.XYZ", OpenFailureCase::SoundModel, nullptr,
                        "The file <SURVEY.XYZ> could not be loaded.", nullptr},
        OpenFailureCase{"Damaged", "BROKEN.MDL", OpenFailureCase::Bytes, "MDL\r\nshort",
                        "File management error.", ": the file ends before its last section"},
        OpenFailureCase{"WrongVariant", "SITE.MDV", OpenFailureCase::SoundModel, nullptr,
                        "Bad header in .MDV file.", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelDocumentTest, EmptyPathReopensTheLastModelOrQuietlyNothing) {
  WriteBaseModel("LAST.MDL");
  settings.Set(settings::DataDirectory, Directory());
  settings.Set(settings::ModelFileName, "LAST.MDL");
  settings.Set(settings::ModelFileType, ModelFileTypeImport);
  EXPECT_FALSE(OpenModelByName(session, {}));
  EXPECT_EQ(settings.Get(settings::ModelFileName), "LAST.MDL");  // an import has no model file

  settings.Set(settings::ModelFileType, ModelFileTypeMdl);
  EXPECT_TRUE(OpenModelByName(session, {}));
  EXPECT_EQ(model.PointCount, 5);

  fs::remove(dir.path() / "LAST.MDL");
  EXPECT_FALSE(OpenModelByName(session, {}));
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(ModelDocumentTest, RecentFilesKeepTheNewestTenOnceEach) {
  for (int i = 1; i <= 11; ++i) AddRecentFile(settings, "/data/F" + std::to_string(i) + ".MDL");
  auto files = RecentFiles(settings);
  ASSERT_EQ(files.size(), 10u);
  EXPECT_EQ(files.front(), "/data/F11.MDL");
  EXPECT_EQ(files.back(), "/data/F2.MDL");

  AddRecentFile(settings, "/DATA/f5.mdl");  // the same file in another case moves to the top
  files = RecentFiles(settings);
  EXPECT_EQ(files.size(), 10u);
  EXPECT_EQ(files.front(), "/DATA/f5.mdl");
  EXPECT_EQ(std::count(files.begin(), files.end(), "/data/F5.MDL"), 0);

  AddRecentFile(settings, "");
  AddRecentFile(settings, "/" + std::string(300, 'x'));  // never cut to fit
  EXPECT_EQ(RecentFiles(settings), files);

  ClearRecentFiles(settings);
  EXPECT_TRUE(RecentFiles(settings).empty());
}

TEST_F(ModelDocumentTest, SurfacePropertiesListTheModelInCoordinateOrder) {
  const fs::path file = WriteBaseModel("SITE.MDL");
  ASSERT_TRUE(OpenModelByName(session, file));
  const std::vector<std::string> expected{
      "File Name: " + Directory() + "SITE.MDL",
      "Comment: Base surface",
      "Counts",
      "  Points: 5",
      "  Triangles: 4",
      "  Breaklines: 1",
      "Status",
      "  Bordered: Yes",
      "  Triangulated: Yes",
      "           Minimum       Maximum         Range",
      "  Y:         0.000        10.000        10.000 feet",
      "  X:         0.000        10.000        10.000 feet",
      "  Z:        10.000        14.000         4.000 feet",
      "File has been saved.",
  };
  EXPECT_EQ(SurfacePropertiesText(session), expected);

  settings.Set(settings::CoordinateOrder, 1);
  settings.Set(settings::Units, 1);
  MarkModified(session);
  const auto lines = SurfacePropertiesText(session);
  EXPECT_EQ(lines[10], "  X:         0.000        10.000        10.000 meters");
  EXPECT_EQ(lines.back(), "File has NOT been saved.");
}

TEST_F(ModelDocumentTest, SurfacePropertiesOfAnEmptyModel) {
  const auto lines = SurfacePropertiesText(session);
  EXPECT_EQ(lines[0], "File Name: No file name specified.");
  EXPECT_EQ(lines[1], "Comment: None specified");
  EXPECT_EQ(lines[4], "  Triangles: 0");
  EXPECT_EQ(lines[7], "  Bordered: No");
  EXPECT_EQ(lines[8], "  Triangulated: No");
  EXPECT_EQ(lines[12], "  Z:         0.000         0.000         0.000 feet");
}

}  // namespace
}  // namespace terravue::model

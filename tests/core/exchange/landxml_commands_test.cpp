// Process > Import > LandXML and Process > Export > LandXML: their questions, dialogs and what
// the model and its name become.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "device/map_options.h"
#include "exchange/export_commands.h"
#include "exchange/import_commands.h"
#include "landxml_test_env.h"
#include "model/model_file.h"
#include "model/surface_model.h"

namespace terravue::exchange::test {
namespace {

using ::testing::HasSubstr;

constexpr std::uint8_t MarkerPlus = 3;
constexpr std::uint8_t MarkerNone = 5;

const std::string kSurface = LandXmlDocumentText(
    SurfaceBody("Lot", {R"(<P id="1">0 0 1</P>)", R"(<P id="2">0 10 2</P>)", R"(<P id="3">10 0 3</P>)"},
                {"<F>1 2 3</F>"}),
    R"(<Imperial linearUnit="USSurveyFoot"/>)");

class LandXmlCommandsTest : public ExchangeTest {
 protected:
  // The open dialog answering with a file, recording the folder it started in.
  LandXmlOpenDialogFn OpenDialog(std::optional<std::string> answer) {
    return [this, answer](const std::string& directory) {
      ++dialogs;
      openedIn = directory;
      return answer;
    };
  }

  int dialogs = 0;
  std::string openedIn;
};

TEST_F(LandXmlCommandsTest, ImportReplacesTheModelAndTakesTheFilesName) {
  const fs::path file = Write("LOT.xml", kSurface);
  settings.Set(settings::DataDirectory, (dir.path() / "").string());
  settings.Set(device::PointOptions::MarkerKind, MarkerNone);
  AddGrid(4, 2);
  settings.Set(settings::ModelSaved, true);

  EXPECT_EQ(ImportLandXmlCommand(session, OpenDialog(file.string()), {}), ImportOutcome::Loaded);
  EXPECT_EQ(openedIn, (dir.path() / "").string());
  EXPECT_TRUE(port.Texts(Kind::Question).empty());  // nothing unsaved to lose
  EXPECT_EQ(model.PointCount, 3);
  EXPECT_EQ(model.TriangleCount, 1);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "LOT.xml");
  EXPECT_EQ(settings.Get(settings::ModelFileExt), ".xml");
  EXPECT_EQ(settings.Get(settings::ModelFileType), model::ModelFileTypeImport);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(settings.Get(settings::Units), 0);
  // A triangulated surface shows itself; point markers stay as they were.
  EXPECT_EQ(settings.Get(device::PointOptions::MarkerKind), MarkerNone);
}

TEST_F(LandXmlCommandsTest, ImportAsksBeforeUnsavedChangesAreLost) {
  const fs::path file = Write("LOT.xml", kSurface);
  AddGrid(4, 2);
  settings.Set(settings::ModelSaved, false);
  EXPECT_EQ(ImportLandXmlCommand(session, OpenDialog(file.string()), {}), ImportOutcome::NotRun);
  EXPECT_EQ(dialogs, 0);
  EXPECT_THAT(port.Texts(Kind::Question).at(0), HasSubstr("Load new data anyway?"));
  EXPECT_EQ(model.PointCount, 4);

  port.yesNoAnswers = {true};
  EXPECT_EQ(ImportLandXmlCommand(session, OpenDialog(std::nullopt), {}), ImportOutcome::NotRun);
  EXPECT_EQ(model.PointCount, 4);

  port.yesNoAnswers = {true};
  const fs::path bad = Write("BAD.xml", "<LandXML>");
  EXPECT_EQ(ImportLandXmlCommand(session, OpenDialog(bad.string()), {}), ImportOutcome::Attempted);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "");
}

TEST_F(LandXmlCommandsTest, LoosePointsGetMarkers) {
  const fs::path file = Write("PTS.xml", LandXmlDocumentText("<CgPoints><CgPoint name=\"1\">0 0 5</CgPoint></CgPoints>\n"));
  settings.Set(device::PointOptions::MarkerKind, MarkerNone);
  EXPECT_EQ(ImportLandXmlCommand(session, OpenDialog(file.string()), {}), ImportOutcome::Loaded);
  EXPECT_EQ(settings.Get(device::PointOptions::MarkerKind), MarkerPlus);
}

TEST_F(LandXmlCommandsTest, ExportProposesTheModelsNameAndItsUnit) {
  int calls = 0;
  auto cancel = [&](const LandXmlExportRequest&) -> std::optional<LandXmlExportRequest> {
    ++calls;
    return std::nullopt;
  };
  EXPECT_FALSE(ExportLandXmlCommand(session, cancel));
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{"No data to save."});
  EXPECT_EQ(calls, 0);

  AddGrid(4, 2);
  settings.Set(settings::DataDirectory, (dir.path() / "").string());
  settings.Set(settings::ModelFileName, "TOPO.MDL");
  settings.Set(settings::Units, std::uint8_t{1});
  LandXmlExportRequest seen;
  EXPECT_FALSE(ExportLandXmlCommand(session, [&](const LandXmlExportRequest& r) -> std::optional<LandXmlExportRequest> {
    seen = r;
    return std::nullopt;
  }));
  EXPECT_EQ(seen.fileName, (dir.path() / "TOPO.xml").string());
  EXPECT_FALSE(seen.chooseFileAtOnce);
  EXPECT_TRUE(seen.metric);
  EXPECT_EQ(seen.unit, LandXmlUnit::Meter);

  // A model imported from LandXML is not written back over its file unasked.
  settings.Set(settings::ModelFileName, "TOPO.xml");
  settings.Set(settings::ModelFileType, std::uint8_t{model::ModelFileTypeImport});
  ExportLandXmlCommand(session, [&](const LandXmlExportRequest& r) -> std::optional<LandXmlExportRequest> {
    seen = r;
    return std::nullopt;
  });
  EXPECT_EQ(seen.fileName, "");
  EXPECT_EQ(seen.proposedName, (dir.path() / "TOPO.xml").string());
  EXPECT_TRUE(seen.chooseFileAtOnce);
}

struct ExportUnitCase {
  const char* name;
  int unitsPreference;
  LandXmlUnit chosen;
  const char* written;  // the linear unit in the file
};

void PrintTo(const ExportUnitCase& c, std::ostream* os) { *os << c.name; }

class LandXmlExportUnits : public LandXmlCommandsTest, public ::testing::WithParamInterface<ExportUnitCase> {};

TEST_P(LandXmlExportUnits, OnlyTheFootCanBeChosen) {
  const ExportUnitCase& c = GetParam();
  AddGrid(4, 2);
  settings.Set(settings::Units, static_cast<std::uint8_t>(c.unitsPreference));
  const std::string chosen = (dir.path() / "OUT").string();  // no extension: ".xml" is added
  EXPECT_TRUE(ExportLandXmlCommand(session, [&](const LandXmlExportRequest& r) -> std::optional<LandXmlExportRequest> {
    LandXmlExportRequest answer = r;
    answer.fileName = chosen;
    answer.unit = c.chosen;
    return answer;
  }));
  EXPECT_THAT(ReadAll(dir.path() / "OUT.xml"), HasSubstr(std::string("linearUnit=\"") + c.written + "\""));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, LandXmlExportUnits,
    ::testing::Values(ExportUnitCase{"FeetAsUsSurveyFeet", 0, LandXmlUnit::UsSurveyFoot, "USSurveyFoot"},
                      ExportUnitCase{"FeetAsFeet", 0, LandXmlUnit::Foot, "foot"},
                      ExportUnitCase{"FeetNeverMetres", 0, LandXmlUnit::Meter, "foot"},
                      ExportUnitCase{"MetresStayMetres", 1, LandXmlUnit::UsSurveyFoot, "meter"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandXmlCommandsTest, ExportWithoutAFileNameWritesNothing) {
  AddGrid(4, 2);
  EXPECT_FALSE(ExportLandXmlCommand(session, [](const LandXmlExportRequest& r) -> std::optional<LandXmlExportRequest> {
    EXPECT_TRUE(r.chooseFileAtOnce);  // the model has no name to propose
    return r;
  }));
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{"No file specified.\r\nChoose a file name before exporting."});
}

}  // namespace
}  // namespace terravue::exchange::test

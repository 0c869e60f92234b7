// terravue-cli analyze, and the cut/fill map through dxf and map, run as a user runs them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/model_file.h"
#include "model/surface_model.h"
#include "support/built_surface.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

class AnalyzeCli : public CliFixture {
 protected:
  // The square pyramid of the analysis tests (base 0, apex (5, 5) at `height`) as PYRAMID.MDL.
  void WritePyramid(const std::string& name = "PYRAMID.MDL", double height = 10) {
    model::SurfaceModel m;
    testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, height}},
                          {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    testing::SetBorder(m, {1, 2, 3, 4});
    ASSERT_EQ(model::WriteModelFile(m, Path(name), 1, m.PointCount, model::ModelFileTypeMdl),
              model::ModelFileStatus::Ok);
  }
};

struct AnalyzeCase {
  const char* name;
  const char* args;
  int exitCode;
  std::vector<std::string> out;  // lines or parts of lines it prints
  std::string err;               // part of the error output; empty: none
};

void PrintTo(const AnalyzeCase& c, std::ostream* os) { *os << c.name; }

class AnalyzeRuns : public AnalyzeCli, public ::testing::WithParamInterface<AnalyzeCase> {};

TEST_P(AnalyzeRuns, PrintWhatTheCommandShows) {
  const AnalyzeCase& c = GetParam();
  WritePyramid();
  const CliRun run = Cli(std::string("analyze PYRAMID.MDL ") + c.args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  for (const std::string& part : c.out) EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
  if (c.err.empty())
    EXPECT_EQ(run.err, "");
  else
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, AnalyzeRuns,
    ::testing::Values(
        AnalyzeCase{"Info", "--info", 0, {"Surface Model Information", " There are 5 data points."}, ""},
        // Every face rises 2 in 1: a sine of 0.894, in the zone below 90.
        AnalyzeCase{"SlopeZones", "--slope-zones --zones 10 --min 0 --max 100", 0,
                    {" <       90.000            100.000 100.00", "   Maximum slope :     89.44272 %"}, ""},
        AnalyzeCase{"WaterDrop", "--water-drop 6 3", 0, {"Vector Information", "Total Vertices = 2"}, ""},
        AnalyzeCase{"Watershed", "--watershed 6 3", 0, {"Total Vectors  = 2", "closed headed vector"}, ""},
        AnalyzeCase{"QueryTriangle", "--query-triangle 5 1", 0, {"Slope:            89.443 %", "2-D area:         25.000"}, ""},
        AnalyzeCase{"Length", "--length 0 0 5 5", 0, {"Horiz. distance:  7.071", "3-D slope (%):    141.421"}, ""},
        AnalyzeCase{"OffTheSurface", "--water-drop 50 50", 1, {}, "50.000 50.000 is not on the surface"},
        AnalyzeCase{"NothingAsked", "", 2, {}, "name what to analyze"},
        AnalyzeCase{"TwoThingsAsked", "--info --water-drop 1 1", 2, {}, "name one thing to analyze"},
        AnalyzeCase{"ZonesWithoutSlopeZones", "--info --zones 5", 2, {}, "go with --slope-zones"},
        AnalyzeCase{"NoZones", "--slope-zones --zones 0", 2, {}, "from 1 to 100"},
        AnalyzeCase{"MissingCoordinate", "--water-drop 1", 2, {}, "needs 2 numbers"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnalyzeCli, ReportIsSavedAsPrinted) {
  WritePyramid();
  for (const char* what : {"--slope-zones", "--query-triangle 5 1"}) {
    const CliRun run = Cli(std::string("analyze PYRAMID.MDL ") + what + " --report OUT.TXT");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadAll(Path("OUT.TXT")), run.out) << what;
  }
}

// The pyramid against its pit: all cut, on the cut/fill layer as solid faces.
TEST_F(AnalyzeCli, CutFillMapGoesIntoDxfFilesOnItsLayer) {
  WritePyramid();
  WritePyramid("PIT.MDL", -10);
  const CliRun run = Cli("dxf PYRAMID.MDL OUT.DXF --cut-fill PIT.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string dxf = ReadAll(Path("OUT.DXF"));
  std::size_t solids = 0;
  for (std::size_t at = dxf.find("SOLID\r\n"); at != std::string::npos; at = dxf.find("SOLID\r\n", at + 1)) ++solids;
  EXPECT_GE(solids, 4u);
  EXPECT_NE(dxf.find("TVUCUTFILL"), std::string::npos);
  EXPECT_NE(dxf.find("Max cut 20.000"), std::string::npos);

  const CliRun apart = Cli("dxf PYRAMID.MDL APART.DXF --cut-fill MISSING.MDL");
  EXPECT_EQ(apart.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("APART.DXF")));
}

#ifdef TERRAVUE_CLI_DRAWS_SHEETS
TEST_F(AnalyzeCli, CutFillMapIsDrawnOnTheSheet) {
  WritePyramid();
  WritePyramid("PIT.MDL", -10);
  const CliRun run = Cli("map PYRAMID.MDL --png OUT.PNG --dpi 60 --cut-fill PIT.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GT(std::filesystem::file_size(Path("OUT.PNG")), 0u);
}
#endif

}  // namespace
}  // namespace terravue::cli

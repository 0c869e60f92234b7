// terravue-cli sample and info, run as a user runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "model/model_file.h"
#include "model/surface_model.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

class CliTest : public CliFixture {};

TEST_F(CliTest, SampleWritesTheSameTriangulatedSiteEveryTime) {
  ASSERT_EQ(Cli("sample -o '" + Path("SITE") + "'").exitCode, 0);
  ASSERT_EQ(Cli("sample -o '" + Path("again.mdl") + "'").exitCode, 0);
  EXPECT_EQ(ReadAll(Path("SITE.MDL")), ReadAll(Path("again.mdl")));

  model::SurfaceModel site;
  ASSERT_TRUE(site.AllocateStore());
  ASSERT_EQ(model::ReadModelFile(site, Path("SITE.MDL"), 1, 1, model::ModelFileTypeMdl, 1),
            model::ModelFileStatus::Ok);
  EXPECT_EQ(model::CheckTopology(site), std::vector<std::string>{});
  EXPECT_GE(site.PointCount, 300);
  EXPECT_GT(site.TriangleCount, site.PointCount);
  EXPECT_TRUE(site.IsBordered());
  EXPECT_EQ(site.GetPointLabel(1), " BDY");  // the boundary traverse comes first
  EXPECT_GT(site.BreaklineCount, 0);
  site.ComputeExtents();
  EXPECT_GT(site.MinX, 4990);
  EXPECT_LT(site.MaxX, 5610);
  EXPECT_GT(site.MinZ, 95);
  EXPECT_LT(site.MaxZ, 145);
  EXPECT_GT(site.MaxZ - site.MinZ, 20);  // a swale and a knoll, not a plane
}

TEST_F(CliTest, InfoPrintsTheSurfaceProperties) {
  ASSERT_EQ(Cli("sample -o '" + Path("Site.mdl") + "'").exitCode, 0);
  const CliRun run = Cli("info '" + Path("Site.mdl") + "'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  for (const std::string& line :
       {"File Name: " + Path("Site.mdl"), std::string("Comment: Sample site - generated"),
        std::string("  Bordered: Yes"), std::string("  Triangulated: Yes"),
        std::string("           Minimum       Maximum         Range"), std::string("File has been saved.")})
    EXPECT_NE(run.out.find(line + "\n"), std::string::npos) << line << "\n" << run.out;
}

struct InfoFailure {
  const char* name;
  const char* file;
  const char* content;  // nullptr: no file
  const char* error;
  const char* reason;  // after the file's path on the next line; nullptr: no such line
};

void PrintTo(const InfoFailure& c, std::ostream* os) { *os << c.name; }

class InfoFailureTest : public CliTest, public ::testing::WithParamInterface<InfoFailure> {};

TEST_P(InfoFailureTest, ExitsWithTheMessage) {
  const auto& c = GetParam();
  if (c.content) {
    std::ofstream(Path(c.file), std::ios::binary) << c.content;
  }
  const CliRun run = Cli(std::string("info '") + Path(c.file) + "'");
  EXPECT_EQ(run.exitCode, 1);
  std::string expected = std::string("Error: ") + c.error + "\n";
  if (c.reason) expected += Path(c.file) + c.reason + "\n";
  EXPECT_EQ(run.err, expected);
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, InfoFailureTest,
    ::testing::Values(InfoFailure{"Missing", "GONE.MDL", nullptr, "File not found.", ": No such file or directory"},
                      InfoFailure{"OtherExtension", "POINTS.TXT", "1 2 3",
                                  "The file <POINTS.TXT> could not be loaded.", nullptr},
                      InfoFailure{"Truncated", "CUT.MDL", "MDL\r\n", "File management error.",
                                  ": the file ends before its last section"},
                      InfoFailure{"OwnFormatAsSibling", "SITE.MDV", "MDL\r\n", "Bad header in .MDV file.", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the map verb paints, and it does so in a program of its own: loading Qt's GUI libraries
// would cost every other verb more than most of them take to run.
TEST_F(CliTest, TheToolLoadsNoQtLibraries) {
  const CliRun run = Cli("", "LD_TRACE_LOADED_OBJECTS=1 ");
  EXPECT_NE(run.out.find("libstdc++"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("libQt"), std::string::npos) << run.out;
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Cli("info").exitCode, 2);
  EXPECT_EQ(Cli("sample").exitCode, 2);
  EXPECT_EQ(Cli("sample -o '" + Path("SITE.XYZ") + "'").exitCode, 2);
  EXPECT_FALSE(fs::exists(Path("SITE.XYZ")));
}

}  // namespace
}  // namespace terravue::cli

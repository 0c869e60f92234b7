// terravue-cli import and export, run as a user runs them.

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

class ImportExportCli : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    // A 3 x 3 grid of points 10 apart with numbers and descriptions, its outline as a border
    // and a chain of two breaklines through the middle.
    Write("PTS.TXT",
          "Pt,North,East,Elev,Desc\r\n"
          "1,0,0,100.5,CP 1\r\n2,0,10,101,TOE\r\n3,0,20,102,TOE\r\n"
          "4,10,0,103,x\r\n5,10,10,104,x\r\n6,10,20,105,x\r\n"
          "7,20,0,106,x\r\n8,20,10,107,x\r\n9,20,20,108,x\r\n");
    Write("FIELD.BDR", "1\n3\n9\n7\n");
    Write("LINES.BRK", "4\n5\n6\n");
  }

  model::SurfaceModel ReadModel(const std::string& name) {
    model::SurfaceModel m;
    EXPECT_TRUE(m.AllocateStore());
    EXPECT_EQ(model::ReadModelFile(m, dir_ / name, 1, 1, model::ModelFileTypeMdl, 1), model::ModelFileStatus::Ok);
    return m;
  }
};

TEST_F(ImportExportCli, ImportsPointsBorderAndBreaklines) {
  const CliRun run = Cli("import PTS.TXT --format 'L Y X ZN' --border FIELD.BDR --border-format 'P N' "
                         "--breaklines LINES.BRK --breakline-entry 2 -o SITE.MDL");
  // Entry 2 is "P P N": the one-per-line file gives no pairs.
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_FALSE(fs::exists(dir_ / "SITE.MDL"));

  const CliRun ok = Cli("import PTS.TXT --format 'L Y X ZN' --border FIELD.BDR --border-format 'P N' "
                        "--breaklines LINES.BRK --breakline-format P,N -o SITE.MDL");
  ASSERT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_NE(ok.err.find("Total points loaded: 9\n"), std::string::npos) << ok.err;
  EXPECT_NE(ok.err.find("Total border points = 4\n"), std::string::npos) << ok.err;
  EXPECT_NE(ok.err.find("Total breaklines in memory = 2\n"), std::string::npos) << ok.err;

  const model::SurfaceModel site = ReadModel("SITE.MDL");
  EXPECT_TRUE(model::CheckTopology(site).empty());
  ASSERT_EQ(site.PointCount, 9);
  EXPECT_EQ(site.PointX[2], 10);
  EXPECT_EQ(site.PointZ[1], 100.5);
  EXPECT_EQ(site.GetPointLabel(9), "   9");
  EXPECT_EQ(site.BorderNext[1], 3);  // counter-clockwise: east along the south side first
  EXPECT_EQ(site.BorderNext[3], 9);
  EXPECT_EQ(site.BreaklineCount, 2);
  EXPECT_EQ(site.Breaklines[2].From, 5);
  EXPECT_EQ(site.Breaklines[2].To, 6);
}

// A survey program's file: the points numbered from 101 with 104 missing, breakline chains
// by those numbers joined with hyphens.
TEST_F(ImportExportCli, BreaklineChainsByTheSurveyorsNumbers) {
  Write("SURVEY.TXT", "101,0,0,1\n102,0,10,1\n103,0,20,1\n105,10,0,1\n106,10,10,1\n107,10,20,1\n");
  Write("CHAINS.BRK", "101-102-103\n105-106\n106-999\n");
  const CliRun run = Cli("import SURVEY.TXT --entry 2 --breaklines CHAINS.BRK --breakline-format 'P N' "
                         "--match-labels -o CHAINS.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Total breaklines in memory = 3\nInvalid breaklines not loaded = 1\n\n"
                         "Line 3: no point is labelled 999\n"),
            std::string::npos)
      << run.err;
  const model::SurfaceModel m = ReadModel("CHAINS.MDL");
  ASSERT_EQ(m.BreaklineCount, 3);
  EXPECT_EQ(m.Breaklines[3].From, 4);  // point 105 is the fourth of the file
  EXPECT_EQ(m.Breaklines[3].To, 5);
  // The progress notes stay off a stderr that is not a terminal.
  EXPECT_EQ(run.err.find("Loading Coordinate"), std::string::npos);
}

TEST_F(ImportExportCli, ExportsWhatImportReadsBack) {
  ASSERT_EQ(Cli("import PTS.TXT --entry 2 --border FIELD.BDR --border-entry 2 --border-format 'P N' -o A.MDL").exitCode,
            2);  // a format either as letters or as a number
  ASSERT_EQ(Cli("import PTS.TXT --entry 2 --border FIELD.BDR --border-format 'P N' -o A.MDL").exitCode, 0);

  const CliRun points = Cli("export A.MDL --points OUT.ASC --entry 3");
  ASSERT_EQ(points.exitCode, 0) << points.err;
  EXPECT_EQ(points.err, "Total points saved: 9\n");
  EXPECT_TRUE(ReadAll(dir_ / "OUT.ASC").starts_with("1, 0.000, 0.000, 100.500\r\n2, 10.000, 0.000, 101.000\r\n"));

  const CliRun border = Cli("export A.MDL --border OUT.BDR --format 'P, A, N'");
  ASSERT_EQ(border.exitCode, 0) << border.err;
  EXPECT_EQ(ReadAll(dir_ / "OUT.BDR"), "1, 0.000, 0.000\r\n3, 20.000, 0.000\r\n9, 20.000, 20.000\r\n7, 0.000, 20.000\r\n");

  ASSERT_EQ(Cli("import OUT.ASC --entry 3 --border OUT.BDR --border-entry 3 -o B.MDL").exitCode, 0);
  const model::SurfaceModel a = ReadModel("A.MDL");
  const model::SurfaceModel b = ReadModel("B.MDL");
  ASSERT_EQ(b.PointCount, a.PointCount);
  for (PointIndex i = 1; i <= a.PointCount; ++i) {
    EXPECT_EQ(b.PointX[i], a.PointX[i]);
    EXPECT_EQ(b.PointY[i], a.PointY[i]);
    EXPECT_EQ(b.PointZ[i], a.PointZ[i]);
    EXPECT_EQ(b.BorderNext[i], a.BorderNext[i]);
  }

  const CliRun none = Cli("export A.MDL --breaklines OUT.BRK");
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.err, "Error: No breaklines to save.\n");
  EXPECT_FALSE(fs::exists(dir_ / "OUT.BRK"));
}

TEST_F(ImportExportCli, AppendsAndTriangulates) {
  Write("MORE.TXT", "30 30 9\n5 5 9\n0 0 1\n");
  ASSERT_EQ(Cli("import PTS.TXT --entry 2 -o A.MDL").exitCode, 0);
  const CliRun run = Cli("import MORE.TXT --format XYZN --append A.MDL --remove-duplicates --triangulate --yes -o B.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Total points loaded: 2\nDuplicate points not loaded: 1\nTotal points in memory: 11\n"),
            std::string::npos)
      << run.err;
  const model::SurfaceModel b = ReadModel("B.MDL");
  EXPECT_EQ(b.PointCount, 11);
  EXPECT_GT(b.TriangleCount, 0);
  EXPECT_TRUE(model::CheckTopology(b).empty());
}

// A load cut short by the capacity is no model of the file: the run fails and writes nothing,
// unless --accept-partial takes the points that fit. A file that fits exactly is no such case.
TEST_F(ImportExportCli, ALoadCutAtCapacityFailsUnlessAccepted) {
  std::string exact;
  for (int i = 0; i < 32763; ++i) exact += std::to_string(i % 200) + " " + std::to_string(i / 200) + " 1\n";
  Write("EXACT.XYZ", exact);
  Write("MORE.XYZ", exact + "0 200 1\n");

  const CliRun fits = Cli("import EXACT.XYZ --format \"X Y ZN\" -o EXACT.MDL");
  EXPECT_EQ(fits.exitCode, 0) << fits.err;
  EXPECT_EQ(fits.err.find("capacity"), std::string::npos) << fits.err;
  EXPECT_EQ(ReadModel("EXACT.MDL").PointCount, 32763);

  for (const char* verb : {"import", "auto"}) {
    SCOPED_TRACE(verb);
    const CliRun cut = Cli(std::string(verb) + " MORE.XYZ --format \"X Y ZN\" -o MORE.MDL");
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_NE(cut.err.find("Point capacity has been reached."), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("no model was written (--accept-partial keeps the ones that fit)"), std::string::npos)
        << cut.err;
    EXPECT_FALSE(fs::exists(dir_ / "MORE.MDL"));
  }

  const CliRun accepted = Cli("import MORE.XYZ --format \"X Y ZN\" --accept-partial -o MORE.MDL");
  EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
  EXPECT_EQ(ReadModel("MORE.MDL").PointCount, 32763);
}

TEST_F(ImportExportCli, NothingLoadedAndUsageErrors) {
  Write("EMPTY.TXT", "no numbers in here\n");
  const CliRun empty = Cli("import EMPTY.TXT -o A.MDL");
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.err.find("Warning: Unable to load coordinate file."), std::string::npos) << empty.err;
  EXPECT_FALSE(fs::exists(dir_ / "A.MDL"));

  EXPECT_EQ(Cli("import MISSING.TXT -o A.MDL").exitCode, 1);
  for (const char* args : {"import PTS.TXT --format 'L Q X' -o A.MDL", "import PTS.TXT --entry 4 -o A.MDL",
                           "import PTS.TXT --format ', ' -o A.MDL", "import PTS.TXT --entry 1",
                           "import PTS.TXT --border-entry 1 -o A.MDL", "import PTS.TXT -o A.TXT",
                           "export A.MDL OUT.ASC", "export A.MDL --points --border OUT.ASC",
                           "export A.MDL --points OUT.ASC --format 'P D'"}) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exitCode, 2) << args << "\n" << run.err;
    EXPECT_NE(run.err.find("usage:"), std::string::npos) << args;
  }
  EXPECT_FALSE(fs::exists(dir_ / "A.MDL"));
}

}  // namespace
}  // namespace terravue::cli

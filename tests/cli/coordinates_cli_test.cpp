// terravue-cli list, transform and auto, run as a user runs them.

#include <gtest/gtest.h>

#include <string>

#include "model/model_file.h"
#include "model/surface_model.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

class CoordinatesCli : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    // A 5 x 5 grid "label northing easting elevation", labels 101..125.
    std::string points;
    for (int k = 0; k < 25; ++k)
      points += std::to_string(101 + k) + "," + std::to_string(2000 + 10 * (k / 5)) + "," +
                std::to_string(1000 + 10 * (k % 5)) + "," + std::to_string(50 + k) + "\r\n";
    Write("SITE.ASC", points);
    // Breaklines by the surveyor's point numbers, chained.
    Write("SITE.BRK", "107-108-109\n112-117\n");
  }
  model::SurfaceModel Read(const std::string& name) {
    model::SurfaceModel m;
    EXPECT_TRUE(m.AllocateStore());
    EXPECT_EQ(model::ReadModelFile(m, dir_ / name, 1, 1, model::ModelFileTypeMdl, 1), model::ModelFileStatus::Ok);
    return m;
  }
  CliRun Auto(const std::string& extra = {}) {
    return Cli("auto SITE.ASC --format 'L Y X Z N' --breaklines SITE.BRK --breakline-format 'P N' --match-labels" +
               extra + " -o SITE.MDL");
  }
};

TEST_F(CoordinatesCli, AutoProcessesFilesIntoASurfaceAndListsIt) {
  const CliRun run = Auto();
  ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
  EXPECT_NE(run.out.find("25 points, 32 triangles, 3 breaklines."), std::string::npos) << run.out;
  const model::SurfaceModel m = Read("SITE.MDL");
  EXPECT_TRUE(model::CheckTopology(m).empty());

  const CliRun points = Cli("list SITE.MDL --points --range 2 3 --report POINTS.TXT");
  ASSERT_EQ(points.exitCode, 0) << points.err;
  const std::string listing = ReadAll(dir_ / "POINTS.TXT");
  EXPECT_NE(listing.find("  Listing of data point #2 through #3.\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find(" B      2    < 102>       2000.000       1010.000         51.000\r\n"), std::string::npos)
      << listing;
  const CliRun lines = Cli("list SITE.MDL --breaklines --report LINES.TXT");
  ASSERT_EQ(lines.exitCode, 0) << lines.err;
  EXPECT_NE(ReadAll(dir_ / "LINES.TXT").find("     3      12       2020.000       1010.000     17"), std::string::npos);
  EXPECT_EQ(Cli("list SITE.MDL --border --report BORDER.TXT").exitCode, 0);
  EXPECT_NE(ReadAll(dir_ / "BORDER.TXT").find("Border Point Listing"), std::string::npos);
}

TEST_F(CoordinatesCli, ListRefusesRangesAndSaysWhatIsMissing) {
  ASSERT_EQ(Cli("auto SITE.ASC --format 'L Y X Z N' -o SITE.MDL").exitCode, 0);
  const CliRun outside = Cli("list SITE.MDL --points --range 1 26");
  EXPECT_EQ(outside.exitCode, 1);
  EXPECT_NE((outside.out + outside.err).find("25"), std::string::npos) << outside.out << outside.err;
  const CliRun backwards = Cli("list SITE.MDL --points --range 5 2");
  EXPECT_EQ(backwards.exitCode, 1);
  EXPECT_NE((backwards.out + backwards.err).find("The first point must be less than or equal to the last point."),
            std::string::npos);
  const CliRun none = Cli("list SITE.MDL --breaklines");
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE((none.out + none.err).find("No breaklines defined for this data."), std::string::npos);
  EXPECT_EQ(Cli("list SITE.MDL").exitCode, 2);
  EXPECT_EQ(Cli("list SITE.MDL --border --range 1 2").exitCode, 2);
}

TEST_F(CoordinatesCli, TransformRoundTripsAndRefusals) {
  ASSERT_EQ(Auto().exitCode, 0);
  const model::SurfaceModel before = Read("SITE.MDL");
  ASSERT_EQ(Cli("transform SITE.MDL --rotate 30 --about 1020 2020 -o R.MDL").exitCode, 0);
  ASSERT_EQ(Cli("transform R.MDL --rotate -30 --about 1020 2020 -o B.MDL").exitCode, 0);
  const model::SurfaceModel back = Read("B.MDL");
  for (int p = 1; p <= before.PointCount; ++p) {
    EXPECT_NEAR(back.PointX[p], before.PointX[p], 0.0011) << p;
    EXPECT_NEAR(back.PointY[p], before.PointY[p], 0.0011) << p;
  }
  EXPECT_EQ(back.TriangleCount, before.TriangleCount);
  ASSERT_EQ(Cli("transform SITE.MDL --factor 0.3048 0.3048 1 -o M.MDL").exitCode, 0);
  EXPECT_EQ(Read("M.MDL").PointX[1], 304.8);
  ASSERT_EQ(Cli("transform SITE.MDL --translate 0.0004 0 -10 -o T.MDL").exitCode, 0);
  EXPECT_EQ(Read("T.MDL").PointX[1], 1000.0004);

  const CliRun zero = Cli("transform SITE.MDL --factor 0 1 1 -o Z.MDL");
  EXPECT_EQ(zero.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Z.MDL"));
  EXPECT_EQ(Cli("transform SITE.MDL --rotate 361 --about 0 0 -o X.MDL").exitCode, 2);
  EXPECT_EQ(Cli("transform SITE.MDL --rotate 10 -o X.MDL").exitCode, 2);
  EXPECT_EQ(Cli("transform SITE.MDL --factor 1 1 1 --translate 0 0 0 -o X.MDL").exitCode, 2);
}

TEST_F(CoordinatesCli, AutoSaysWhereItStopped) {
  const CliRun missing = Cli("auto GONE.ASC --format 'L Y X Z N' -o SITE.MDL");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE((missing.out + missing.err).find("Auto process stopped."), std::string::npos) << missing.out << missing.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "SITE.MDL"));

  Write("TWICE.ASC", ReadAll(dir_ / "SITE.ASC") + "126,2010,1010,99\r\n");
  const CliRun twice = Cli("auto TWICE.ASC --format 'L Y X Z N' -o TWICE.MDL");
  EXPECT_EQ(twice.exitCode, 1);
  EXPECT_NE((twice.out + twice.err).find("Verification of points failed. Auto process stopped."), std::string::npos);
  // What was loaded is written, untriangulated.
  const model::SurfaceModel m = Read("TWICE.MDL");
  EXPECT_EQ(m.PointCount, 26);
  EXPECT_EQ(m.TriangleCount, 0);
  // Dropping the duplicate on the way in lets the run finish.
  EXPECT_EQ(Cli("auto TWICE.ASC --format 'L Y X Z N' --remove-duplicates -o TWICE.MDL").exitCode, 0);
}

}  // namespace
}  // namespace terravue::cli

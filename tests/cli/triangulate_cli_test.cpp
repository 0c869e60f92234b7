// terravue-cli triangulate and triangles, run as a user runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/model_file.h"
#include "model/surface_model.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

class TriangulateCli : public CliFixture {
 protected:
  // A model file with the points, an optional border ring and breaklines.
  void WriteSite(const std::string& name, const std::vector<std::pair<double, double>>& points,
                 const std::vector<int>& ring = {}, const std::vector<std::pair<int, int>>& breaklines = {}) {
    model::SurfaceModel m;
    ASSERT_TRUE(m.AllocateStore());
    for (const auto& [x, y] : points) {
      const auto p = ++m.PointCount;
      m.PointX[p] = x;
      m.PointY[p] = y;
      m.PointZ[p] = 100 + x / 10;
      m.SetPointLabel(p, std::to_string(p));
    }
    for (std::size_t k = 0; k < ring.size(); ++k)
      m.BorderNext[static_cast<std::size_t>(ring[k])] = static_cast<PointIndex>(ring[(k + 1) % ring.size()]);
    for (const auto& [from, to] : breaklines)
      m.Breaklines[++m.BreaklineCount] = {static_cast<PointIndex>(from), static_cast<PointIndex>(to)};
    ASSERT_EQ(model::WriteModelFile(m, dir_ / name, 1, m.PointCount, model::ModelFileTypeMdl), model::ModelFileStatus::Ok);
  }

  model::SurfaceModel ReadModel(const std::string& name) {
    model::SurfaceModel m;
    EXPECT_TRUE(m.AllocateStore());
    EXPECT_EQ(model::ReadModelFile(m, dir_ / name, 1, 1, model::ModelFileTypeMdl, 1), model::ModelFileStatus::Ok);
    return m;
  }
};

TEST_F(TriangulateCli, TriangulatesWritesAndListsTheTriangles) {
  WriteSite("SITE.MDL", {{0, 0}, {10, 1}, {11, 11}, {1, 10}});
  const CliRun run = Cli("triangulate SITE.MDL -o OUT.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // No border yet is no error; the progress notes stay off a stderr that is not a terminal.
  EXPECT_EQ(run.err,
            "No border defined for this data.\nA convex border around all points will be created.\n"
            "Triangulation complete!\n");
  const model::SurfaceModel out = ReadModel("OUT.MDL");
  EXPECT_EQ(out.TriangleCount, 2);
  EXPECT_TRUE(model::CheckTopology(out).empty());
  EXPECT_EQ(ReadModel("SITE.MDL").TriangleCount, 0) << "the input stays as it was";

  const CliRun triangles = Cli("triangles OUT.MDL");
  ASSERT_EQ(triangles.exitCode, 0) << triangles.err;
  EXPECT_EQ(triangles.out, "2 4 1\n3 4 2\n");

  // Without -o the model is written back.
  ASSERT_EQ(Cli("triangulate SITE.MDL").exitCode, 0);
  EXPECT_EQ(ReadModel("SITE.MDL").TriangleCount, 2);
}

TEST_F(TriangulateCli, AFailedBorderIsListedOnYesAndExitsWithItsStatus) {
  WriteSite("SITE.MDL", {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {10, -0.0004}, {12, 9}}, {1, 2, 3, 4});
  const CliRun run = Cli("triangulate SITE.MDL -o OUT.MDL --yes");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Error: Error adjusting triangles for border.\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("triangulation status 6"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("Triangulation Border Error Listing"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("       1          0.000          0.000     2          0.000         20.000\r\n"), std::string::npos)
      << run.out;
  EXPECT_GT(ReadModel("OUT.MDL").TriangleCount, 0);
}

TEST_F(TriangulateCli, DuplicatesFailWithStatus3NamingThePairThatPairsLists) {
  WriteSite("SITE.MDL", {{0, 0}, {10, 1}, {1, 10}, {10.0006, 1.0003}, {6, 6.3}, {6.4, 6}});
  const CliRun run = Cli("triangulate SITE.MDL -o OUT.MDL");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Duplicate points detected:\nUse the Verify command"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Points 2 and 4 are at the same place (less than 0.001 apart):\n"
                         "2: Northing 1.000, Easting 10.000\n4: Northing 1.000, Easting 10.001\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("triangulation status 3"), std::string::npos) << run.err;
  EXPECT_EQ(ReadModel("OUT.MDL").TriangleCount, 0);

  // pairs: the same-place pair whatever the distance, and every pair closer than --within.
  const CliRun same = Cli("pairs SITE.MDL");
  ASSERT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out, "2 4 0.0007 10.000 1.000 same\n");
  const CliRun within = Cli("pairs SITE.MDL --within 0.6");
  ASSERT_EQ(within.exitCode, 0) << within.err;
  EXPECT_EQ(within.out, "2 4 0.0007 10.000 1.000 same\n5 6 0.5000 6.000 6.300\n");
  EXPECT_EQ(Cli("pairs SITE.MDL --within 0").exitCode, 2);
  EXPECT_EQ(Cli("pairs SITE.MDL --within x").exitCode, 2);
  EXPECT_EQ(Cli("pairs").exitCode, 2);
  EXPECT_EQ(Cli("pairs MISSING.MDL").exitCode, 1);
}

TEST_F(TriangulateCli, PointsInOneLineAreRefusedWithTheirOwnMessage) {
  WriteSite("LINE.MDL", {{0, 0}, {1, 2}, {2, 4}, {3, 6}, {1, 2}});
  const CliRun run = Cli("triangulate LINE.MDL");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error: All points lie on one straight line.\nA surface needs at least 3 points that are not in line.\n");
}

TEST_F(TriangulateCli, RefusesWhatItCannotRun) {
  WriteSite("TWO.MDL", {{0, 0}, {10, 1}});
  const CliRun two = Cli("triangulate TWO.MDL");
  EXPECT_EQ(two.exitCode, 1);
  EXPECT_EQ(two.err, "Error: Must have at least 3 points to triangulate.\n");
  EXPECT_EQ(Cli("triangulate").exitCode, 2);
  EXPECT_EQ(Cli("triangulate TWO.MDL -o OUT.TXT").exitCode, 2);
  EXPECT_EQ(Cli("triangles").exitCode, 2);
  EXPECT_EQ(Cli("triangles MISSING.MDL").exitCode, 1);
  EXPECT_FALSE(fs::exists(dir_ / "OUT.TXT"));
}

}  // namespace
}  // namespace terravue::cli

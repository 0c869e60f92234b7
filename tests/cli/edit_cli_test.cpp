// terravue-cli edit, verify and remove, run as a user runs them.

#include <gtest/gtest.h>

#include <string>

#include "model/model_file.h"
#include "model/surface_model.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

class EditCli : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    ASSERT_EQ(Cli("sample -o SITE.MDL").exitCode, 0);
    ASSERT_EQ(Cli("triangulate SITE.MDL").exitCode, 0);
  }
  model::SurfaceModel Read(const std::string& name) {
    model::SurfaceModel m;
    EXPECT_TRUE(m.AllocateStore());
    EXPECT_EQ(model::ReadModelFile(m, dir_ / name, 1, 1, model::ModelFileTypeMdl, 1), model::ModelFileStatus::Ok);
    return m;
  }
};

TEST_F(EditCli, EditsApplyInOrderAndKeepTheSurface) {
  const model::SurfaceModel before = Read("SITE.MDL");
  const double x = before.PointX[100] + 0.3, y = before.PointY[100] + 0.2;
  const CliRun run = Cli("edit SITE.MDL --delete-point 200 --add-point " + std::to_string(x) + " " + std::to_string(y) +
                         " 99 --label NEW --move-point 150 " + std::to_string(before.PointX[150] + 0.5) + " " +
                         std::to_string(before.PointY[150]) + " 12 -o OUT.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const model::SurfaceModel after = Read("OUT.MDL");
  EXPECT_EQ(after.PointCount, before.PointCount);
  EXPECT_GT(after.TriangleCount, 0);
  EXPECT_EQ(after.GetPointLabel(after.PointCount), " NEW");
  EXPECT_EQ(after.PointZ[150], 12);  // below the deleted 200: its number stays
  EXPECT_TRUE(model::CheckTopology(after).empty());

  // A refused edit writes nothing.
  const CliRun refused = Cli("edit SITE.MDL --add-point " + std::to_string(before.PointX[5]) + " " +
                             std::to_string(before.PointY[5]) + " 1 -o NONE.MDL");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("Duplicate point: It can not be added."), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "NONE.MDL"));
  EXPECT_EQ(Cli("edit SITE.MDL --delete-point 0 -o X.MDL").exitCode, 2);
  EXPECT_EQ(Cli("edit SITE.MDL --delete-point 5").exitCode, 2);
  EXPECT_EQ(Cli("edit SITE.MDL --delete-point 9999 -o X.MDL").exitCode, 1);
}

TEST_F(EditCli, VerifyListsPairsAndRemoveUsesTheBorder) {
  const CliRun verify = Cli("verify SITE.MDL --tolerance 5 5 --report LIST.TXT");
  ASSERT_EQ(verify.exitCode, 0) << verify.err;
  EXPECT_NE(verify.out.find("Data Verification Listing"), std::string::npos);
  EXPECT_NE(verify.out.find(" Total pairs of duplicate points:"), std::string::npos) << verify.out;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "LIST.TXT"));
  EXPECT_EQ(Cli("verify SITE.MDL --tolerance 0.0001 0.1").exitCode, 2);

  const CliRun remove = Cli("remove SITE.MDL --inside -o IN.MDL");
  ASSERT_EQ(remove.exitCode, 0) << remove.err;
  const model::SurfaceModel m = Read("IN.MDL");
  for (PointIndex i = 1; i <= m.PointCount; ++i) EXPECT_NE(m.BorderNext[i], NoPoint);
  EXPECT_GT(m.TriangleCount, 0);
  EXPECT_EQ(Cli("remove SITE.MDL --inside --outside -o IN.MDL").exitCode, 2);
}

}  // namespace
}  // namespace terravue::cli

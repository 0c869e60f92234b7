// The DXF files as real readers see them: ezdxf (load and audit) and GDAL's ogrinfo (entities
// per layer), on a contoured model at full point capacity.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "cad_fixture.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "cad/cad_layers.h"
#include "cad/cad_output.h"
#include "device/cad_settings.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::cad {
namespace {

namespace map = device;

// Runs the two readers on a file; empty when they agree and find no errors.
::testing::AssertionResult ReadersAgree(const std::filesystem::path& file) {
  const std::string command = std::string("'") + TERRAVUE_DXF_PYTHON + "' '" + TERRAVUE_TESTS_DIR +
                              "/core/cad/check_dxf.py' '" + file.string() + "' '" + TERRAVUE_OGRINFO +
                              "' > '" + file.string() + ".log' 2>&1";
  const int status = std::system(command.c_str());
  if (status == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the readers disagree or fail (status " << status << "):\n"
                                       << testing::ReadAll(file.string() + ".log");
}

class CadReaders : public testing::CadFixture {
 protected:
  void SetUp() override {
    if (std::string(TERRAVUE_DXF_PYTHON).empty() || std::string(TERRAVUE_OGRINFO).empty())
      GTEST_SKIP() << "/usr/bin/python3 (with python3-ezdxf) or ogrinfo (gdal-bin) is not installed";
  }
};

TEST_F(CadReaders, FullCapacityContouredModel) {
  const testing::SyntheticSite site = testing::RollingTerrain(model::SurfaceModel::PointCapacity, 7);
  testing::LoadSite(model, site);
  tin::LocateState state;
  ASSERT_EQ(tin::Triangulate(session, state, {.quiet = true}), tin::TriangulationStatus::Success);
  ASSERT_EQ(model.PointCount, model::SurfaceModel::PointCapacity);

  // Contours with labels, the border and a marker per point: the entities of a full model,
  // without triangles, which would only make the readers slower on more of the same.
  using namespace map;
  for (const BoolField show : {device::ContourOptions::Show, device::BorderOptions::Show, device::PointOptions::Show})
    settings.Set(show, true);
  settings.Set(device::ContourOptions::Interval, (model.MaxZ - model.MinZ) / 40);
  settings.Set(device::ContourOptions::Multiple, 5);
  settings.Set(device::ContourOptions::LabelMode, 2);
  settings.Set(device::PointOptions::MarkerKind, 0);
  SetCadProgram(settings, CadProgram::AutoCad);
  const std::filesystem::path file = dir / "FULL.DXF";
  ASSERT_TRUE(WriteCadFile(session, state, file)) << port.Transcript();
  EXPECT_TRUE(ReadersAgree(file));
}

// Every entity kind on a small surface: 3-D faces with border walls, 3-D and 2-D polylines,
// centred and plain texts, and the point block, in both DXF programs.
TEST_F(CadReaders, EveryEntityKindOnASmallSurface) {
  model.Breaklines[1] = {1, 5};
  model.BreaklineCount = 1;
  using namespace map;
  for (const BoolField show : {device::TriangleOptions::Show, device::BreaklineOptions::Show, device::BreaklineOptions::ShowNumbers,
                               device::ContourOptions::Show, device::BorderOptions::Show, device::BorderOptions::DrawAtMinimumElevation,
                               device::PointOptions::Show, device::PointOptions::ShowNumber, device::PointOptions::ShowElevation})
    settings.Set(show, true);
  settings.Set(device::ContourOptions::Interval, 2.5);
  settings.Set(device::ContourOptions::LabelMode, 1);
  settings.Set(device::CadOutput::Output3DFaces, true);
  tin::LocateState state;
  for (const CadProgram program : {CadProgram::AutoCad, CadProgram::AutoSketch}) {
    SetCadProgram(settings, program);
    const std::filesystem::path file = dir / (program == CadProgram::AutoCad ? "SMALL.DXF" : "SKETCH.DXF");
    ASSERT_TRUE(WriteCadFile(session, state, file)) << port.Transcript();
    EXPECT_TRUE(ReadersAgree(file));
  }
}

}  // namespace
}  // namespace terravue::cad

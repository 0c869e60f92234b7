#include "cad/cad_layers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/messages.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "device/cad_settings.h"
#include "support/fake_port.h"

namespace terravue::cad {
namespace {

using testing::FakePort;

TEST(CadLayers, BuiltInRecords) {
  const SettingsRecord s = DefaultSettings();
  const std::vector<CadLayerRow> rows = LoadCadLayerRows(s, CadLayerMode::Names);
  ASSERT_EQ(rows.size(), 23u);
  const std::vector<std::string> names = {
      "TVUTRIANGLE", "TVUBREAKLINE", "TVUBREAKLBL", "TVUGRID1",   "TVUGRID2",     "TVUGRIDLBL",
      "TVUCONTOUR",  "TVUCONTOUR2",  "TVUCONLABEL", "TVUBORDER",  "TVUPOINTS",    "TVUPOINTLBL",
      "TVUMISC",     "TVUTITLE",     "TVUTITLE",    "TVUFACES",   "TVUVECTORS",   "TVUDENSITY",
      "TVUDOWNSLOPE", "TVUFLOWPATH", "TVUWATERSHED", "TVURIDGE", "TVUCUTFILL"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, names[i]);
    EXPECT_EQ(rows[i].acadColour, 7);
    EXPECT_EQ(rows[i].batchColour, 7);
    EXPECT_EQ(rows[i].batchNumber, static_cast<int>(i + 1));
  }
}

TEST(CadLayers, NumbersModeSkipsTheFacesLayerAndKeepsNames) {
  SettingsRecord s = DefaultSettings();
  FakePort port;
  std::vector<CadLayerRow> names = LoadCadLayerRows(s, CadLayerMode::Names);
  names[0].name = "my Triangles 12345";  // cut to 12, case kept
  names[0].acadColour = 3;
  names[0].batchNumber = 99;  // hidden in this mode: not stored
  ASSERT_TRUE(StoreCadLayerRows(port, s, CadLayerMode::Names, names));

  const CadLayer facesBefore = s.Get(device::CadFacesOptions::Layer);
  std::vector<CadLayerRow> numbers = LoadCadLayerRows(s, CadLayerMode::Numbers);
  ASSERT_EQ(numbers.size(), 22u);
  EXPECT_EQ(numbers[14].label, "Title Block 2");
  EXPECT_EQ(numbers[15].label, "Vectors");
  for (CadLayerRow& row : numbers) {
    row.batchNumber = 200;
    row.batchColour = 12;
    row.name = "IGNORED";
  }
  ASSERT_TRUE(StoreCadLayerRows(port, s, CadLayerMode::Numbers, numbers));

  const CadLayer triangles = s.Get(device::TriangleOptions::Layer);
  EXPECT_EQ(triangles.LayerName, "my Triangles");
  EXPECT_EQ(triangles.AcadColour, 3);
  EXPECT_EQ(triangles.BatchNumber, 200);
  EXPECT_EQ(triangles.BatchColour, 12);
  const CadLayer faces = s.Get(device::CadFacesOptions::Layer);
  EXPECT_EQ(faces.LayerName, facesBefore.LayerName);
  EXPECT_EQ(faces.BatchNumber, facesBefore.BatchNumber);
  EXPECT_EQ(faces.BatchColour, facesBefore.BatchColour);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST(CadLayers, OutOfRangeCellsAreRefusedWithTheRangeError) {
  struct Case {
    CadLayerMode mode;
    int acad, number, colour;
  };
  for (const Case& c : {Case{CadLayerMode::Names, 256, 1, 7}, Case{CadLayerMode::Names, -1, 1, 7},
                        Case{CadLayerMode::Numbers, 7, 1023, 7}, Case{CadLayerMode::Numbers, 7, 1, 300}}) {
    SettingsRecord s = DefaultSettings();
    const SettingsRecord before = s;
    FakePort port;
    std::vector<CadLayerRow> rows = LoadCadLayerRows(s, c.mode);
    rows[3].acadColour = c.acad;
    rows[3].batchNumber = c.number;
    rows[3].batchColour = c.colour;
    EXPECT_FALSE(StoreCadLayerRows(port, s, c.mode, rows));
    EXPECT_TRUE(s == before);
    ASSERT_EQ(port.Texts(FakePort::Kind::Error).size(), 1u);
    EXPECT_EQ(port.Texts(FakePort::Kind::Error)[0].substr(0, msg::CadLayerRangeError.size()), msg::CadLayerRangeError);
  }
}

TEST(CadLayers, DataDirectoryKeepsItsCaseAndGetsADelimiter) {
  SettingsRecord s = DefaultSettings();
  FakePort port;
  EXPECT_TRUE(StoreCadDataDirectory(port, s, "/home/Survey/Cad"));
  EXPECT_EQ(s.Get(device::CadOutput::CadDataDirectory), "/home/Survey/Cad/");
  EXPECT_TRUE(StoreCadDataDirectory(port, s, "C:\\CAD"));
  EXPECT_EQ(s.Get(device::CadOutput::CadDataDirectory), "C:\\CAD\\");
  EXPECT_FALSE(StoreCadDataDirectory(port, s, "/" + std::string(300, 'a')));
  EXPECT_EQ(s.Get(device::CadOutput::CadDataDirectory), "C:\\CAD\\");
  EXPECT_EQ(port.Texts(FakePort::Kind::Warning).size(), 1u);
}

}  // namespace
}  // namespace terravue::cad

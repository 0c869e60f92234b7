#include "cad/dxf_writer.h"

#include <clocale>
#include <cmath>
#include <set>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cad_fixture.h"
#include "support/file_size_limit.h"
#include "common/messages.h"
#include "device/map_options.h"
#include "cad/cad_layers.h"
#include "cad/cad_output.h"
#include "device/cad_settings.h"
#include "tin/geometry.h"

namespace terravue::cad {
namespace {

using testing::Entity;
using testing::Group;
using testing::OfType;
using testing::ParseGroups;
using testing::ReadAll;
using testing::SectionRecords;
namespace map = device;

class DxfWriterTest : public testing::CadFixture {
 protected:
  DxfWriterTest() { SetCadProgram(settings, CadProgram::AutoCad); }

  // The whole map through the redraw.
  std::vector<Group> WriteMap() {
    tin::LocateState state;
    EXPECT_TRUE(WriteCadFile(session, state, dir / "MAP.DXF")) << port.Transcript();
    return ParseGroups(ReadAll(dir / "MAP.DXF"));
  }

  // Device calls made by the test itself.
  template <typename Draw>
  std::vector<Group> WriteWith(Draw draw) {
    DxfWriter writer(session);
    EXPECT_TRUE(writer.Begin(dir / "DEV.DXF"));
    draw(writer);
    EXPECT_TRUE(writer.End()) << port.Transcript();
    return ParseGroups(ReadAll(dir / "DEV.DXF"));
  }

  static std::vector<std::string> LayerNames(const std::vector<Group>& groups) {
    std::vector<std::string> names;
    for (const Entity& e : OfType(SectionRecords(groups, "TABLES"), "LAYER")) names.push_back(e.Value(2));
    return names;
  }

  CadLayer Named(const std::string& name) {
    CadLayer layer;
    layer.LayerName = name;
    return layer;
  }
};

TEST_F(DxfWriterTest, SectionsTablesAndBlockFollowEachOtherInOrder) {
  settings.Set(map::TriangleOptions::Show, true);
  settings.Set(map::PointOptions::Show, true);
  settings.Set(map::PointOptions::MarkerKind, 3);  // Plus
  const std::vector<Group> g = WriteMap();
  const std::vector<Group> start = {{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"},
                                    {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"},    {2, "LAYER"},  {70, "22"}};
  ASSERT_GT(g.size(), start.size());
  EXPECT_EQ(std::vector<Group>(g.begin(), g.begin() + static_cast<long>(start.size())), start);
  std::vector<std::string> sections;
  for (std::size_t i = 0; i + 1 < g.size(); ++i)
    if (g[i] == Group{0, "SECTION"}) sections.push_back(g[i + 1].value);
  EXPECT_EQ(sections, (std::vector<std::string>{"HEADER", "TABLES", "BLOCKS", "ENTITIES"}));
  EXPECT_EQ(g.back(), (Group{0, "EOF"}));
  EXPECT_EQ(g[g.size() - 2], (Group{0, "ENDSEC"}));

  const std::vector<Entity> tables = SectionRecords(g, "TABLES");
  const std::vector<Entity> styles = OfType(tables, "STYLE");
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(styles[0].groups, (std::vector<Group>{{2, "STANDARD"}, {70, "0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"},
                                                  {71, "0"}, {42, "0.0"}, {3, "TXT"}, {4, ""}}));
  for (const Entity& layer : OfType(tables, "LAYER"))
    EXPECT_EQ(layer.groups, (std::vector<Group>{{2, layer.Value(2)}, {70, "0"}, {62, "7"}, {6, "CONTINUOUS"}}));

  const std::vector<Entity> blocks = SectionRecords(g, "BLOCKS");
  ASSERT_EQ(blocks.size(), 4u);  // BLOCK, two LINEs, ENDBLK
  EXPECT_EQ(blocks[0].groups, (std::vector<Group>{{8, "TVUPOINTS"}, {2, "TVUPOINT"}, {70, "0"}, {10, "0.000"},
                                                  {20, "0.000"}, {30, "0.000"}}));
  EXPECT_EQ(blocks[1].groups, (std::vector<Group>{{8, "TVUPOINTS"}, {10, "0.000000"}, {20, "0.500000"},
                                                  {30, "0.000000"}, {11, "0.000000"}, {21, "-0.500000"},
                                                  {31, "0.000000"}}));
  EXPECT_EQ(blocks[3].type, "ENDBLK");
  EXPECT_EQ(blocks[3].Value(8), "TVUPOINTS");

  const std::vector<Entity> inserts = OfType(SectionRecords(g, "ENTITIES"), "INSERT");
  ASSERT_EQ(inserts.size(), 5u);
  EXPECT_EQ(inserts[4].groups, (std::vector<Group>{{8, "TVUPOINTS"}, {2, "TVUPOINT"}, {10, "5.000000"},
                                                   {20, "5.000000"}, {30, "10.000000"}, {41, "1.000000"},
                                                   {42, "1.000000"}}));
}

TEST_F(DxfWriterTest, NoBlockWithoutPointsOrWithMarkerNone) {
  settings.Set(map::TriangleOptions::Show, true);
  for (const bool shown : {false, true}) {
    settings.Set(map::PointOptions::Show, shown);
    settings.Set(map::PointOptions::MarkerKind, 5);
    const std::vector<Group> g = WriteMap();
    EXPECT_TRUE(SectionRecords(g, "BLOCKS").empty());
    EXPECT_TRUE(OfType(SectionRecords(g, "ENTITIES"), "INSERT").empty());
  }
}

TEST_F(DxfWriterTest, LayerTableListsTheElementsOnInOrderEachNameOnce) {
  using namespace map;
  for (const BoolField show : {device::TriangleOptions::Show, device::BreaklineOptions::Show, device::BreaklineOptions::ShowNumbers,
                               device::ContourOptions::Show, device::BorderOptions::Show, device::PointOptions::Show,
                               device::PointOptions::ShowNumber, device::TitleOptions::Show})
    settings.Set(show, true);
  settings.Set(device::ContourOptions::Multiple, 5);
  settings.Set(device::ContourOptions::LabelMode, 1);
  // Two elements on one layer, and a name this file generation cannot take as it stands.
  CadLayer breaklines = settings.Get(device::BreaklineOptions::Layer);
  breaklines.LayerName = "TVUTRIANGLE";
  settings.Set(device::BreaklineOptions::Layer, breaklines);
  CadLayer border = settings.Get(device::BorderOptions::Layer);
  border.LayerName = "edge line";
  border.AcadColour = 0;
  settings.Set(device::BorderOptions::Layer, border);

  const std::vector<Group> g = WriteMap();
  EXPECT_EQ(LayerNames(g), (std::vector<std::string>{"TVUTRIANGLE", "TVUBREAKLBL", "TVUCONTOUR", "TVUCONTOUR2",
                                                     "TVUCONLABEL", "EDGE_LINE", "TVUPOINTS", "TVUPOINTLBL",
                                                     "TVUTITLE"}));
  for (const Entity& layer : OfType(SectionRecords(g, "TABLES"), "LAYER"))
    EXPECT_EQ(layer.Value(62), "7") << layer.Value(2);
  // Every entity's layer is in the table.
  const std::vector<std::string> names = LayerNames(g);
  const std::set<std::string> listed(names.begin(), names.end());
  for (const Entity& e : SectionRecords(g, "ENTITIES"))
    EXPECT_TRUE(listed.count(e.Value(8))) << e.type << " on " << e.Value(8);
}

TEST_F(DxfWriterTest, TriangleEdgesOnceAsTwoOrThreeDimensionalPolylines) {
  settings.Set(map::TriangleOptions::Show, true);
  for (const bool threeD : {true, false}) {
    SCOPED_TRACE(threeD);
    settings.Set(device::CadOutput::Use3DPolylines, threeD);
    const std::vector<Entity> entities = SectionRecords(WriteMap(), "ENTITIES");
    std::set<std::pair<std::string, std::string>> edges;
    int segments = 0;
    std::string previous;
    for (const Entity& e : entities) {
      if (e.type == "POLYLINE") {
        EXPECT_EQ(e.Value(66), "1");
        EXPECT_EQ(e.Value(70), threeD ? "8" : "");
        previous.clear();
      } else if (e.type == "VERTEX") {
        EXPECT_EQ(e.Value(70), threeD ? "32" : "");
        const std::string here = e.Value(10) + "," + e.Value(20) + "," + e.Value(30);
        if (!previous.empty()) {
          edges.insert(std::minmax(previous, here));
          ++segments;
        }
        previous = here;
      }
    }
    EXPECT_EQ(segments, 8);
    EXPECT_EQ(edges.size(), 8u);
    // A 2-D polyline carries the elevation of its first vertex.
    const Entity first = OfType(entities, "POLYLINE").front();
    EXPECT_EQ(first.Value(30), threeD ? "0.000000" : OfType(entities, "VERTEX").front().Value(30));
  }
}

TEST_F(DxfWriterTest, PolylinesSplitOnLayerChangesAndSkipRepeatedPoints) {
  const std::vector<Group> g = WriteWith([&](DxfWriter& w) {
    w.DeviceSetLayer(0, Named("A"));
    w.DevicePlot(false, 0, 0, 0);
    w.DevicePenDown();
    w.DevicePlot(false, 0, 0, 0);
    w.DevicePlot(false, 1, 0, 0);
    w.DevicePlot(false, 1, 0.00005, 0);
    w.DeviceSetLayer(0, Named("B"));
    w.DevicePlot(false, 2, 0, 0);
    w.DevicePenUp();
    // A run that never leaves its first point writes nothing.
    w.DevicePlot(false, 5, 5, 5);
    w.DevicePenDown();
    w.DevicePlot(false, 5, 5, 5.00001);
    w.DevicePenUp();
  });
  std::vector<std::string> summary;
  for (const Entity& e : SectionRecords(g, "ENTITIES"))
    summary.push_back(e.type + " " + e.Value(8) + (e.type == "VERTEX" ? " " + e.Value(10) : ""));
  EXPECT_EQ(summary, (std::vector<std::string>{"POLYLINE A", "VERTEX A 0.000000", "VERTEX A 1.000000", "SEQEND A",
                                               "POLYLINE B", "VERTEX B 1.000000", "VERTEX B 2.000000",
                                               "SEQEND B"}));
}

struct ScaleCase {
  const char* name;
  bool autoSketch;
  double elevationFactor;
  const char *x, *y, *z, *insertScale, *textHeight;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class DxfScale : public DxfWriterTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(DxfScale, CoordinatesElevationsAndSizes) {
  const ScaleCase c = GetParam();
  settings.Set(device::CadOutput::AutoSketch, c.autoSketch);
  settings.Set(device::CadOutput::ElevationFactor, c.elevationFactor);
  settings.Set(map::PointOptions::Show, true);
  settings.Set(map::PointOptions::MarkerKind, 0);
  const std::vector<Group> g = WriteWith([&](DxfWriter& w) {
    w.DeviceMarker(0, 100, 200, 50, 2);
    w.DeviceSetTextStyle(0, 1.5);
    w.DeviceText("A", 0, 100, 200 + 0.75, 50, 1);
    w.DevicePlot(false, 100, 200, 50);
    w.DevicePenDown();
    w.DevicePlot(false, 101, 200, 50);
    w.DevicePenUp();
  });
  const std::vector<Entity> e = SectionRecords(g, "ENTITIES");
  const Entity insert = OfType(e, "INSERT").at(0);
  EXPECT_EQ(insert.Value(10), c.x);
  EXPECT_EQ(insert.Value(20), c.y);
  EXPECT_EQ(insert.Value(30), c.z);
  EXPECT_EQ(insert.Value(41), c.insertScale);
  EXPECT_EQ(insert.Value(42), c.insertScale);
  const Entity text = OfType(e, "TEXT").at(0);
  EXPECT_EQ(text.Value(10), c.x);
  EXPECT_EQ(text.Value(20), c.y);  // half a height below the point given
  EXPECT_EQ(text.Value(30), c.z);
  EXPECT_EQ(text.Value(40), c.textHeight);
  EXPECT_EQ(OfType(e, "VERTEX").at(0).Value(30), c.z);
  // The block is drawn in the file's units; the insert scale stays the marker size.
  const Entity line = OfType(SectionRecords(g, "BLOCKS"), "LINE").at(0);
  EXPECT_EQ(line.Value(10), c.autoSketch ? "-6.000000" : "-0.500000");
}

INSTANTIATE_TEST_SUITE_P(
    Programs, DxfScale,
    ::testing::Values(ScaleCase{"AutoCad", false, 1, "100.000000", "200.000000", "50.000000", "2.000000", "1.500000"},
                      ScaleCase{"AutoSketch", true, 1, "1200.000000", "2400.000000", "600.000000", "2.000000",
                                "18.000000"},
                      ScaleCase{"ElevationFactor", false, 2.5, "100.000000", "200.000000", "125.000000", "2.000000",
                                "1.500000"},
                      ScaleCase{"AutoSketchWithFactor", true, -2, "1200.000000", "2400.000000", "-1200.000000",
                                "2.000000", "18.000000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DxfWriterTest, ThreeDimensionalFacesComeFirstWithBorderWalls) {
  settings.Set(device::CadOutput::Output3DFaces, true);
  settings.Set(map::TriangleOptions::Show, true);
  settings.Set(map::BorderOptions::DrawAtMinimumElevation, true);
  model.PointZ[1] = 2;  // MinZ stays 0 (points 2 to 4)
  model.ComputeExtents();
  const std::vector<Group> g = WriteMap();
  const std::vector<Entity> e = SectionRecords(g, "ENTITIES");
  ASSERT_GE(e.size(), 9u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(e[static_cast<std::size_t>(i)].type, "3DFACE");
    EXPECT_EQ(e[static_cast<std::size_t>(i)].Value(8), "TVUFACES");
    EXPECT_EQ(e[static_cast<std::size_t>(i)].Value(70), "15");
  }
  EXPECT_EQ(e[8].type, "POLYLINE");
  // The wall under the edge from point 1 to point 2, then triangle 1 with its last corner twice.
  const auto corners = [](const Entity& f) {
    std::vector<std::string> c;
    for (int k = 0; k < 4; ++k) c.push_back(f.Value(10 + k) + " " + f.Value(20 + k) + " " + f.Value(30 + k));
    return c;
  };
  EXPECT_EQ(corners(e[0]), (std::vector<std::string>{"0.000000 0.000000 2.000000", "10.000000 0.000000 0.000000",
                                                     "10.000000 0.000000 0.000000", "0.000000 0.000000 0.000000"}));
  EXPECT_EQ(corners(e[4]), (std::vector<std::string>{"0.000000 0.000000 2.000000", "10.000000 0.000000 0.000000",
                                                     "5.000000 5.000000 10.000000", "5.000000 5.000000 10.000000"}));
  EXPECT_EQ(LayerNames(g), (std::vector<std::string>{"TVUTRIANGLE", "TVUFACES"}));
}

TEST_F(DxfWriterTest, TextPlacementWidthFactorAndCleaning) {
  struct Case {
    bool standard, centred;
    double angle;
    const char* width;
  };
  for (const Case c : {Case{true, false, -std::numbers::pi / 2, "0.900000"}, Case{false, true, 0, "1.0"}}) {
    settings.Set(device::CadOutput::StandardTextType, c.standard);
    const std::vector<Group> g = WriteWith([&](DxfWriter& w) {
      w.DeviceSetLayer(0, Named("T"));
      w.DeviceSetTextStyle(0, 2);
      w.text.TextCadCentred = c.centred;
      w.DeviceText("1\x01" "0\t", c.angle, 10, 20, 5, 1);
      w.DeviceText("gone", 0, 10, 20, 5, 0);  // no height: not written
      w.DeviceAxisText("12", false, 10, 20, 5);
    });
    const std::vector<Entity> texts = OfType(SectionRecords(g, "ENTITIES"), "TEXT");
    ASSERT_EQ(texts.size(), 2u);
    const Entity& t = texts[0];
    EXPECT_EQ(t.Value(1), "10");
    EXPECT_EQ(t.Value(41), c.width);
    EXPECT_EQ(t.Value(7), "STANDARD");
    EXPECT_EQ(t.Value(40), "2.000000");
    if (c.centred) {
      EXPECT_EQ(t.Value(50), "0.000000");
      EXPECT_EQ(t.Value(10), "10.000000");
      EXPECT_EQ(t.Value(20), "19.000000");
      EXPECT_EQ(t.Value(72), "1");
      EXPECT_EQ(t.Value(11), "11.800000");  // half of 2 characters of 1.8
      EXPECT_EQ(t.Value(21), "19.000000");
    } else {
      EXPECT_EQ(t.Value(50), "270.000000");
      EXPECT_EQ(t.Value(10), "9.000000");
      EXPECT_EQ(t.Value(20), "20.000000");
      EXPECT_FALSE(t.Has(72));
    }
    // Axis text ends one character past the point: it starts 3 widths of 1.8 before it.
    EXPECT_EQ(texts[1].Value(10), "4.600000");
    EXPECT_EQ(texts[1].Value(50), "0.000000");
  }
}

TEST_F(DxfWriterTest, NumbersKeepTheirPointUnderADecimalCommaLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  std::locale::global(std::locale("de_DE.UTF-8"));
  const std::vector<Group> g = WriteWith([&](DxfWriter& w) {
    w.DevicePlot(false, 12.5, 1234567.25, 0);
    w.DevicePenDown();
    w.DevicePlot(false, 13.5, 1234567.25, 0);
    w.DevicePenUp();
  });
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(OfType(SectionRecords(g, "ENTITIES"), "VERTEX").at(0).Value(10), "12.500000");
  EXPECT_EQ(OfType(SectionRecords(g, "ENTITIES"), "VERTEX").at(0).Value(20), "1234567.250000");
}

TEST(DxfLayerNames, WriteTimeSubstitutes) {
  struct Case {
    std::string name, expected;
  };
  for (const Case& c : {Case{"TVUCONTOUR", "TVUCONTOUR"}, Case{"Contours 1", "CONTOURS_1"}, Case{"", "FALLBACK"},
                        Case{"A$B-C_D", "A$B-C_D"}, Case{"\xC4rger;", "_RGER_"}})
    EXPECT_EQ(DxfLayerName(c.name, "FALLBACK"), c.expected) << c.name;
  CadLayer layer;
  for (const int colour : {0, 1, 7, 255}) {
    layer.AcadColour = static_cast<std::uint8_t>(colour);
    EXPECT_EQ(DxfLayerColour(layer), colour == 0 ? 7 : colour);
  }
}

TEST(DxfColours, NearestPaletteIndex) {
  struct Case {
    std::uint32_t rgb;
    int aci;
  };
  for (const Case& c : {Case{MakeColour(255, 0, 0), 1}, Case{MakeColour(250, 250, 0), 2}, Case{MakeColour(0, 0, 255), 5},
                        Case{MakeColour(255, 255, 255), 7}, Case{MakeColour(0, 0, 0), 7},
                        Case{MakeColour(255, 127, 127), 11}, Case{MakeColour(255, 63, 0), 20},
                        Case{MakeColour(132, 132, 132), 252}})
    EXPECT_EQ(NearestAciColour(c.rgb), c.aci) << std::hex << c.rgb;
}

// Fills are SOLIDs: a triangle repeats its last corner, a quadrilateral takes its last two
// crosswise, a larger polygon fans out from its first corner. Unusable polygons write nothing.
TEST_F(DxfWriterTest, FillsBecomeSolidsInTheirOwnColour) {
  using device::WorldPoint;
  const std::vector<WorldPoint> triangle{{0, 0, 1}, {4, 0, 1}, {0, 3, 1}};
  const std::vector<WorldPoint> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const std::vector<WorldPoint> pentagon{{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 2, 0}, {-1, 1, 0}};
  const std::vector<WorldPoint> broken{{0, 0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0, 0}, {0, 1, 0}};
  const std::vector<Group> g = WriteWith([&](DxfWriter& w) {
    w.DeviceSetLayer(0, Named("CUTFILL"));
    w.DeviceFillPolygon(triangle, MakeColour(255, 0, 0));
    w.DeviceFillPolygon(square, MakeColour(0, 0, 255));
    w.DeviceFillPolygon(pentagon, MakeColour(0, 255, 0));
    w.DeviceFillPolygon(broken, MakeColour(0, 255, 0));
    w.DeviceFillPolygon(std::span(triangle).first(2), MakeColour(0, 255, 0));
  });
  const std::vector<Entity> solids = OfType(SectionRecords(g, "ENTITIES"), "SOLID");
  ASSERT_EQ(solids.size(), 5u);
  std::vector<std::string> summary;
  for (const Entity& e : solids)
    summary.push_back(e.Value(8) + " " + e.Value(62) + " " + e.Value(10) + "," + e.Value(20) + " " + e.Value(11) + "," +
                      e.Value(21) + " " + e.Value(12) + "," + e.Value(22) + " " + e.Value(13) + "," + e.Value(23));
  EXPECT_EQ(summary[0], "CUTFILL 1 0.000000,0.000000 4.000000,0.000000 0.000000,3.000000 0.000000,3.000000");
  EXPECT_EQ(summary[1], "CUTFILL 5 0.000000,0.000000 1.000000,0.000000 0.000000,1.000000 1.000000,1.000000");
  EXPECT_EQ(summary[2], "CUTFILL 3 0.000000,0.000000 2.000000,0.000000 3.000000,1.000000 3.000000,1.000000");
  EXPECT_EQ(summary[4], "CUTFILL 3 0.000000,0.000000 1.000000,2.000000 -1.000000,1.000000 -1.000000,1.000000");
  EXPECT_EQ(solids[0].Value(30), "1.000000");
  EXPECT_EQ(LayerNames(g), (std::vector<std::string>{"CUTFILL"}));
}

TEST_F(DxfWriterTest, EmptyLayerNameTakesItsBaseName) {
  settings.Set(map::TriangleOptions::Show, true);
  CadLayer triangles = settings.Get(map::TriangleOptions::Layer);
  triangles.LayerName.clear();
  settings.Set(map::TriangleOptions::Layer, triangles);
  const std::vector<Group> g = WriteMap();
  EXPECT_EQ(LayerNames(g), (std::vector<std::string>{"TVUTRIANGLE"}));
  EXPECT_EQ(OfType(SectionRecords(g, "ENTITIES"), "POLYLINE").at(0).Value(8), "TVUTRIANGLE");
}

TEST_F(DxfWriterTest, FailuresLeaveTheExistingFileAlone) {
  // The file cannot be created: the message, and nothing is drawn.
  {
    DxfWriter writer(session);
    EXPECT_FALSE(writer.Begin(dir / "missing" / "MAP.DXF"));
    EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
              std::vector<std::string>{std::string(msg::DxfCreateError) + "\r\n" +
                                       (dir / "missing" / "MAP.DXF").string() + ": No such file or directory"});
  }
  // A folder holds the name: refused before anything is drawn, the folder untouched.
  port.shown.clear();
  std::filesystem::create_directories(dir / "TAKEN.DXF" / "inner");
  {
    DxfWriter writer(session);
    EXPECT_FALSE(writer.Begin(dir / "TAKEN.DXF"));
  }
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
            std::vector<std::string>{std::string(msg::DxfCreateError) + "\r\n" + (dir / "TAKEN.DXF").string() +
                                     ": Is a directory"});
  EXPECT_TRUE(std::filesystem::is_directory(dir / "TAKEN.DXF" / "inner"));
  // The disk fills up while the entities are written: the error with the file and the reason,
  // and the previous file as it was.
  std::ofstream(dir / "FULL.DXF") << "previous";
  const std::string full = testing::WithFileSizeLimit(4096, [&] {
    port.shown.clear();
    port.fileProblems.clear();
    DxfWriter writer(session);
    if (!writer.Begin(dir / "FULL.DXF")) return std::string("not begun");
    writer.DevicePenDown();
    for (int i = 0; i < 1000; ++i) writer.DevicePlot(false, i, i % 7, 0);
    writer.DevicePenUp();
    const bool written = writer.End();
    return std::string(written ? "written" : "failed") + "\n" + port.Transcript();
  });
  EXPECT_EQ(full, "failed\nerror: " + std::string(msg::CadWriteError) + "\r\n" + (dir / "FULL.DXF").string() +
                      ": File too large\n");
  EXPECT_EQ(ReadAll(dir / "FULL.DXF"), "previous");
  // A run that ends early (an exception in the redraw) leaves an existing file as it was.
  {
    std::ofstream(dir / "OLD.DXF") << "previous";
    DxfWriter writer(session);
    ASSERT_TRUE(writer.Begin(dir / "OLD.DXF"));
  }
  EXPECT_EQ(ReadAll(dir / "OLD.DXF"), "previous");
  // Nothing is left beside the files.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator{}), 3);
}

}  // namespace
}  // namespace terravue::cad

// LandXML import: a surface as another program wrote it, its units, the choice among several
// surfaces, coordinate geometry points, and every kind of bad input refused whole.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/app_settings.h"
#include "exchange/landxml_import.h"
#include "landxml_test_env.h"
#include "model/surface_model.h"

namespace terravue::exchange::test {
namespace {

using ::testing::HasSubstr;

// Five points on a 10-unit square with its centre, and one above it outside the surface.
// Coordinates are northing, easting, elevation; ids 10 to 15 become points 1 to 6.
constexpr std::string_view kPoints[] = {
    R"(<P id="10">100 200 5</P>)", R"(<P id="11">100 210 6</P>)", R"(<P id="12">110 210 7</P>)",
    R"(<P id="13">110 200 8</P>)", R"(<P id="14">105 205 9.125</P>)", R"(<P id="15">120 205 1</P>)"};

std::string SiteDocument(std::string_view units = R"(<Metric linearUnit="meter"/>)") {
  const std::string source =
      // The outer boundary clockwise, with a vertex where there is no point, closed by its start.
      "<Boundaries><Boundary bndType=\"outer\"><PntList3D>100 200 0 110 200 0 110 210 0 99 150 0 100 210 0 100 200 0"
      "</PntList3D></Boundary>\n"
      "<Boundary bndType=\"void\"><PntList2D>104 204 104 206 106 205</PntList2D></Boundary></Boundaries>\n"
      "<Breaklines><Breakline brkType=\"standard\"><PntList3D>100 200 0 105 205 0 110 210 0</PntList3D></Breakline>\n"
      "<Breakline><PntList2D>100 210 0 0</PntList2D></Breakline></Breaklines>";
  std::string body = "<Surfaces><Surface name=\"Site &amp; pond\" desc=\"Description\">\n"
                     "<Definition surfType=\"TIN\"><Pnts>\n";
  for (std::string_view p : kPoints) body += std::string(p) + "\n";
  // The third face is clockwise: faces are kept as given, corner order included.
  body += "</Pnts><Faces>\n<F n=\"2 4 0\">10 11 14</F>\n<F>11 12 14</F>\n<F>14 13 12</F>\n<F>13 10 14</F>\n"
          "<F i=\"1\">13 12 15</F>\n</Faces></Definition>\n<SourceData>\n" +
          source + "\n</SourceData>\n</Surface></Surfaces>\n";
  return LandXmlDocumentText(body, units);
}

class LandXmlImportTest : public ExchangeTest {
 protected:
  LandXmlLoadResult Load(const std::string& text, const SurfaceChoiceFn& choose = {}) {
    return LoadLandXmlFile(session, Write("SITE.xml", text), choose);
  }

  // A model that must survive a refused file unchanged.
  void LoadMarkerModel() {
    AddPoint(1, 2, 3);
    model.SetComment("kept");
  }
  void ExpectMarkerModel() {
    EXPECT_EQ(model.PointCount, 1);
    EXPECT_EQ(model.PointX[1], 1);
    EXPECT_EQ(model.Comment(), "kept");
  }
};

TEST_F(LandXmlImportTest, ReadsTheSurfaceAsGiven) {
  const LandXmlLoadResult result = Load(SiteDocument());
  ASSERT_EQ(result.status, LandXmlLoadStatus::Loaded) << port.Transcript();

  ASSERT_EQ(model.PointCount, 6);
  EXPECT_EQ(model.PointX[5], 205);  // easting
  EXPECT_EQ(model.PointY[5], 105);  // northing
  EXPECT_EQ(model.PointZ[5], 9.125);
  EXPECT_EQ(model.GetPointLabel(1), "  10");
  EXPECT_EQ(model.GetPointLabel(6), "  15");
  EXPECT_EQ(model.Comment(), "Site & pond");

  ASSERT_EQ(model.TriangleCount, 4);
  EXPECT_EQ(model.TriVertex[1], (model::TriangleCorners{1, 2, 5}));
  EXPECT_EQ(model.TriVertex[3], (model::TriangleCorners{5, 4, 3}));
  EXPECT_EQ(CheckTopology(model), std::vector<std::string>{});
  // Every triangle meets the two beside it; the square's sides lie on the outside.
  for (TriangleIndex t = 1; t <= 4; ++t) {
    EXPECT_NE(model.TriNeighbour[t][1], NoTriangle) << t;
    EXPECT_EQ(model.TriNeighbour[t][2], NoTriangle) << t;
  }

  // The ring through the square's corners, turned counter-clockwise; point 6 stays off it.
  EXPECT_EQ(model.BorderNext[1], 2);
  EXPECT_EQ(model.BorderNext[2], 3);
  EXPECT_EQ(model.BorderNext[3], 4);
  EXPECT_EQ(model.BorderNext[4], 1);
  EXPECT_EQ(model.BorderNext[5], NoPoint);
  EXPECT_EQ(model.BorderNext[6], NoPoint);

  ASSERT_EQ(model.BreaklineCount, 2);
  EXPECT_EQ(model.Breaklines[1].From, 1);
  EXPECT_EQ(model.Breaklines[1].To, 5);
  EXPECT_EQ(model.Breaklines[2].From, 5);
  EXPECT_EQ(model.Breaklines[2].To, 3);

  const LandXmlReadReport& r = result.report;
  EXPECT_EQ(r.invisibleFaces, 1u);
  EXPECT_EQ(r.holes, 1u);
  EXPECT_EQ(r.borderVerticesLeftOut, 1u);
  EXPECT_EQ(r.breaklineSegmentsLeftOut, 1u);
  EXPECT_EQ(port.Texts(Kind::Warning),
            std::vector<std::string>{"Surface: Site & pond\r\nPoints: 6\r\nTriangles: 4\r\n"
                                     "Invisible faces left out: 1\r\nBorder points: 4\r\nBreaklines: 2\r\n"
                                     "Units: meters\r\n\r\nNot imported, as the model cannot hold it:\r\n"
                                     "Holes (void and island boundaries): 1\r\n"
                                     "Border vertices without a surface point: 1\r\n"
                                     "Breakline segments without surface points: 1"});
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(settings.Get(settings::Units), 1);
  EXPECT_EQ(model.MaxX, 210);  // extents are current
}

TEST_F(LandXmlImportTest, ReadsAPrefixedDocumentAlike) {
  std::string text = SiteDocument();
  // Every element in a named namespace instead of the default one.
  std::string prefixed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    prefixed += text[i];
    if (text[i] == '<' && i + 1 < text.size() && text[i + 1] != '?') {
      if (text[i + 1] == '/') prefixed += text[++i];
      prefixed += "lx:";
    }
  }
  const auto root = prefixed.find("xmlns=");
  prefixed.replace(root, 6, "xmlns:lx=");
  ASSERT_EQ(Load(prefixed).status, LandXmlLoadStatus::Loaded) << port.Transcript();
  EXPECT_EQ(model.TriangleCount, 4);
  EXPECT_EQ(model.BreaklineCount, 2);
}

struct UnitCase {
  const char* name;
  const char* units;
  double easting;  // of point 1 in the model
  std::optional<LandXmlUnit> unit;
  int unitsPreference;  // 0 feet, 1 metres
};

void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name; }

class LandXmlUnitTest : public LandXmlImportTest, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(LandXmlUnitTest, SetsTheModelsUnits) {
  const UnitCase& c = GetParam();
  // The preference starts opposite to what the file says, so that a change shows; without
  // units in the file it must stay as it was.
  settings.Set(settings::Units, static_cast<std::uint8_t>(c.unit ? 1 - c.unitsPreference : c.unitsPreference));
  const LandXmlLoadResult result = Load(SiteDocument(c.units));
  ASSERT_EQ(result.status, LandXmlLoadStatus::Loaded) << port.Transcript();
  EXPECT_DOUBLE_EQ(model.PointX[1], c.easting);
  EXPECT_EQ(result.report.unit, c.unit);
  EXPECT_EQ(settings.Get(settings::Units), c.unitsPreference);
}

INSTANTIATE_TEST_SUITE_P(
    Units, LandXmlUnitTest,
    ::testing::Values(UnitCase{"Meter", R"(<Metric linearUnit="meter"/>)", 200, LandXmlUnit::Meter, 1},
                      UnitCase{"Millimeter", R"(<Metric linearUnit="millimeter"/>)", 0.2, LandXmlUnit::Meter, 1},
                      UnitCase{"Foot", R"(<Imperial linearUnit="foot"/>)", 200, LandXmlUnit::Foot, 0},
                      UnitCase{"UsSurveyFoot", R"(<Imperial linearUnit="USSurveyFoot"/>)", 200,
                               LandXmlUnit::UsSurveyFoot, 0},
                      UnitCase{"Inch", R"(<Imperial linearUnit="inch"/>)", 200.0 / 12, LandXmlUnit::Foot, 0},
                      UnitCase{"NoneGiven", "", 200, std::nullopt, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandXmlImportTest, TheUserChoosesAmongSeveralSurfaces) {
  const std::string first = SurfaceBody("Existing", {R"(<P id="1">0 0 0</P>)", R"(<P id="2">0 10 0</P>)",
                                                      R"(<P id="3">10 0 0</P>)"},
                                        {"<F>1 2 3</F>"});
  const std::string second = SurfaceBody("Proposed", {R"(<P id="1">0 0 5</P>)", R"(<P id="2">0 10 5</P>)",
                                                      R"(<P id="3">10 0 5</P>)", R"(<P id="4">10 10 5</P>)"},
                                         {"<F>1 2 3</F>", "<F>2 4 3</F>", R"(<F i="1">1 4 2</F>)"});
  const std::string text = LandXmlDocumentText(first + second);

  std::vector<LandXmlSurfaceEntry> offered;
  const auto pickSecond = [&](const std::vector<LandXmlSurfaceEntry>& list) -> std::optional<std::size_t> {
    offered = list;
    return 1;
  };
  ASSERT_EQ(Load(text, pickSecond).status, LandXmlLoadStatus::Loaded) << port.Transcript();
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0].name, "Existing");
  EXPECT_EQ(offered[1].name, "Proposed");
  EXPECT_EQ(offered[1].points, 4u);
  EXPECT_EQ(offered[1].faces, 3u);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(model.TriangleCount, 2);
  EXPECT_EQ(model.PointZ[1], 5);

  LoadMarkerModel();
  model.PointCount = 1;
  port.shown.clear();
  const auto cancel = [](const std::vector<LandXmlSurfaceEntry>&) -> std::optional<std::size_t> { return std::nullopt; };
  EXPECT_EQ(Load(text, cancel).status, LandXmlLoadStatus::Cancelled);
  EXPECT_EQ(model.PointCount, 1);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(LandXmlImportTest, GridCellsBecomeTwoTriangles) {
  const std::string text = LandXmlDocumentText(
      SurfaceBody("Grid", {R"(<P id="1">0 0 0</P>)", R"(<P id="2">0 10 1</P>)", R"(<P id="3">10 10 2</P>)",
                           R"(<P id="4">10 0 3</P>)", R"(<P id="5">0 20 4</P>)", R"(<P id="6">10 20 5</P>)"},
                  {"<F>1 2 3 4</F>", "<F>2 5 6 3</F>"}));
  ASSERT_EQ(Load(text).status, LandXmlLoadStatus::Loaded) << port.Transcript();
  EXPECT_EQ(model.TriangleCount, 4);
  EXPECT_EQ(CheckTopology(model), std::vector<std::string>{});
}

TEST_F(LandXmlImportTest, LongIdsLeaveThePointsNumbered) {
  const std::string text = LandXmlDocumentText(
      SurfaceBody("S", {R"(<P id="9999">0 0 0</P>)", R"(<P id="10000">0 10 0</P>)", R"(<P id="10001">10 0 0</P>)"},
                  {"<F>9999 10000 10001</F>"}));
  ASSERT_EQ(Load(text).status, LandXmlLoadStatus::Loaded) << port.Transcript();
  // Labels are numbered as a whole: a mix of ids and numbers could name two points alike.
  EXPECT_EQ(model.GetPointLabel(1), "   1");
  EXPECT_EQ(model.GetPointLabel(3), "   3");
  EXPECT_EQ(model.TriVertex[1], (model::TriangleCorners{1, 2, 3}));
}

TEST_F(LandXmlImportTest, ReadsCoordinateGeometryPointsWithoutASurface) {
  const std::string text = LandXmlDocumentText(
      "<CgPoints name=\"Field\">\n"
      "<CgPoint name=\"A1\">5000 3000 101.5</CgPoint>\n"
      "<CgPoints name=\"Trees\"><CgPoints><CgPoint name=\"T7\">5010 3005 99</CgPoint></CgPoints></CgPoints>\n"
      "<CgPoint name=\"CP\">5020 3010</CgPoint>\n"  // no elevation: not a survey point here
      "<CgPoint name=\"A1b\" pntRef=\"A1\"/>\n"        // the same point again
      "</CgPoints>\n",
      R"(<Imperial linearUnit="USSurveyFoot"/>)");
  const LandXmlLoadResult result = Load(text);
  ASSERT_EQ(result.status, LandXmlLoadStatus::Loaded) << port.Transcript();
  ASSERT_EQ(model.PointCount, 2);
  EXPECT_EQ(model.TriangleCount, 0);
  std::set<std::string> labels{model.GetPointLabel(1), model.GetPointLabel(2)};
  EXPECT_EQ(labels, (std::set<std::string>{"  A1", "  T7"}));
  EXPECT_EQ(result.report.pointsWithoutElevation, 1u);
  EXPECT_EQ(settings.Get(settings::Units), 0);
  EXPECT_THAT(port.Texts(Kind::Warning).at(0), HasSubstr("Points without an elevation: 1"));
}

// ---- Bad input ------------------------------------------------------------------------------

// Five points on lines 6 to 10: a unit square (ids 1 to 4) and id 5 on the line through 1 and 2.
// Line 11 closes <Pnts>; faces start on line 12.
const std::initializer_list<std::string_view> kGoodPoints = {
    R"(<P id="1">0 0 0</P>)", R"(<P id="2">0 10 0</P>)", R"(<P id="3">10 0 0</P>)", R"(<P id="4">10 10 1</P>)",
    R"(<P id="5">0 20 0</P>)"};

struct BadCase {
  const char* name;
  std::string text;
  const char* expected;  // part of the message after "The LandXML file <SITE.xml> can not be imported."
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

std::string WithPoints(std::initializer_list<std::string_view> points) {
  return LandXmlDocumentText(SurfaceBody("S", points, {"<F>1 2 3</F>"}));
}
std::string WithFaces(std::initializer_list<std::string_view> faces, std::string_view source = {}) {
  return LandXmlDocumentText(SurfaceBody("S", kGoodPoints, faces, source));
}

class LandXmlBadInputTest : public LandXmlImportTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(LandXmlBadInputTest, IsRefusedWholeNamingElementAndLine) {
  LoadMarkerModel();
  const auto first = [](const std::vector<LandXmlSurfaceEntry>&) -> std::optional<std::size_t> { return 0; };
  EXPECT_EQ(Load(GetParam().text, first).status, LandXmlLoadStatus::Refused);
  const auto errors = port.Texts(Kind::Error);
  ASSERT_EQ(errors.size(), 1u) << port.Transcript();
  EXPECT_THAT(errors[0], HasSubstr("The LandXML file <SITE.xml> can not be imported.\r\n\r\n"));
  EXPECT_THAT(errors[0], HasSubstr(GetParam().expected));
  ExpectMarkerModel();
}

INSTANTIATE_TEST_SUITE_P(
    Files, LandXmlBadInputTest,
    ::testing::Values(
        BadCase{"NotXml", "<LandXML><Units></LandXML>", "Line 1: The file is not well-formed XML"},
        BadCase{"NotLandXml", "<?xml version=\"1.0\"?>\n<gpx/>\n", "its root element is <gpx>"},
        BadCase{"NothingInIt", LandXmlDocumentText(""), "holds no surface and no coordinate geometry points"},
        BadCase{"SurfaceWithoutPoints", LandXmlDocumentText("<Surfaces><Surface name=\"S\"/></Surfaces>\n"),
                "The surface \"S\" holds no points."},
        BadCase{"UnknownUnit",
                LandXmlDocumentText(SurfaceBody("S", kGoodPoints, {"<F>1 2 3</F>"}), R"(<Metric linearUnit="furlong"/>)"),
                "Line 3: <Metric> names the unknown length unit \"furlong\"."},
        BadCase{"MissingId", WithPoints({R"(<P>0 0 0</P>)", R"(<P id="2">0 10 0</P>)"}), "Line 6: <P> has no id."},
        BadCase{"RepeatedId", WithPoints({R"(<P id="1">0 0 0</P>)", R"(<P id=" 1 ">0 10 0</P>)"}),
                "Line 7: <P id=\"1\"> repeats the id of line 6."},
        BadCase{"TwoNumbers", WithPoints({R"(<P id="1">0 0</P>)"}),
                "Line 6: <P id=\"1\"> needs a northing, an easting and an elevation: \"0 0\"."},
        BadCase{"FourNumbers", WithPoints({R"(<P id="1">0 0 0 0</P>)"}), "Line 6: <P id=\"1\"> needs a northing"},
        BadCase{"FaceOfFivePoints", WithFaces({"<F>1 2 4 3 5</F>"}), "Line 12: <F> needs three point ids"},
        BadCase{"NotANumber", WithPoints({R"(<P id="1">0 0 nan</P>)"}),
                "Line 6: <P id=\"1\"> holds \"nan\", which is not a usable coordinate"},
        BadCase{"Overflow", WithPoints({R"(<P id="1">0 1e999 0</P>)"}), "holds \"1e999\", which is not"},
        BadCase{"FarOff", WithPoints({R"(<P id="1">0 2e9 0</P>)"}),
                "holds \"2e9\", which is not a usable coordinate (a finite number of at most 1000000000)."},
        BadCase{"DecimalComma", WithPoints({R"(<P id="1">0 12,5 0</P>)"}), "holds \"12,5\""},
        BadCase{"FaceNamesUnknownPoint", WithFaces({"<F>1 2 9</F>"}),
                "Line 12: <F> names the point \"9\", which the surface does not hold."},
        BadCase{"FaceNamesPointTwice", WithFaces({"<F>1 2 1</F>"}), "Line 12: <F> names the point \"1\" twice."},
        BadCase{"FaceOfTwoPoints", WithFaces({"<F>1 2</F>"}),
                "Line 12: <F> needs three point ids (four for a grid cell): \"1 2\"."},
        BadCase{"FaceWithoutArea", WithFaces({"<F>1 2 3</F>", "<F>1 5 2</F>"}),
                "Line 13: <F> has no area: its corners \"1\", \"5\" and \"2\" lie on one line."},
        BadCase{"RepeatedFace", WithFaces({"<F>1 2 3</F>", "<F>2 4 3</F>", "<F>3 1 2</F>"}),
                "Line 14: <F> repeats the face of line 12."},
        BadCase{"FoldedFaces", WithFaces({"<F>1 2 3</F>", "<F>1 2 4</F>"}),
                "Line 13: <F> lies over the face of line 12: both are on the same side of their edge between the "
                "points \"1\" and \"2\"."},
        BadCase{"EdgeOfThreeFaces", WithFaces({"<F>1 2 3</F>", "<F>2 4 3</F>", "<F>2 3 5</F>"}),
                "Line 14: <F> is the third face on the edge between the points \"2\" and \"3\" (the others are "
                "on lines 12 and 13)."},
        BadCase{"BoundaryNumbers",
                WithFaces({"<F>1 2 3</F>"},
                          "<Boundaries><Boundary bndType=\"outer\"><PntList3D>0 0 0 10</PntList3D></Boundary>"
                          "</Boundaries>"),
                "Line 15: <PntList3D> holds 4 numbers, not 3 for every vertex."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandXmlImportTest, ASurfaceBeyondCapacityIsRefusedWithItsCounts) {
  std::string points;
  const int n = model::SurfaceModel::PointCapacity + 1;
  for (int i = 1; i <= n; ++i)
    points += "<P id=\"" + std::to_string(i) + "\">" + std::to_string(i / 200) + " " + std::to_string(i % 200) + " 1</P>\n";
  const std::string text = LandXmlDocumentText("<Surfaces><Surface name=\"Big\"><Definition><Pnts>\n" + points +
                                               "</Pnts><Faces><F>1 2 201</F></Faces></Definition></Surface></Surfaces>\n");
  LoadMarkerModel();
  EXPECT_EQ(Load(text).status, LandXmlLoadStatus::Refused);
  EXPECT_THAT(port.Texts(Kind::Error).at(0),
              HasSubstr("The surface \"Big\" holds 32764 points, 1 triangles and 0 breaklines; a model holds at most "
                        "32763 points, 65526 triangles and 32763 breaklines."));
  ExpectMarkerModel();
}

TEST_F(LandXmlImportTest, FilesThatCannotBeReadAreRefusedBeforeParsing) {
  LoadMarkerModel();
  EXPECT_EQ(LoadLandXmlFile(session, dir.path() / "MISSING.xml", {}).status, LandXmlLoadStatus::Refused);
  EXPECT_EQ(LoadLandXmlFile(session, dir.path(), {}).status, LandXmlLoadStatus::Refused);
  EXPECT_EQ(port.Texts(Kind::Error), (std::vector<std::string>{"File management error.", "File management error."}));

  // A sparse file: large on paper, no disk space used.
  const fs::path huge = dir.path() / "HUGE.xml";
  Write("HUGE.xml", "<LandXML>");
  fs::resize_file(huge, MaxLandXmlFileBytes + 1);
  port.shown.clear();
  EXPECT_EQ(LoadLandXmlFile(session, huge, {}).status, LandXmlLoadStatus::Refused);
  EXPECT_THAT(port.Texts(Kind::Error).at(0),
              HasSubstr("The file holds 256 MB; a LandXML file of more than 256 MB is more than a model can hold."));
  ExpectMarkerModel();
}

TEST_F(LandXmlImportTest, RecognisesItsFileNames) {
  EXPECT_TRUE(IsLandXmlFileName("site.xml"));
  EXPECT_TRUE(IsLandXmlFileName("/data/Total topp.XML"));
  EXPECT_FALSE(IsLandXmlFileName("SITE.MDL"));
  EXPECT_FALSE(IsLandXmlFileName("xml"));
}

}  // namespace
}  // namespace terravue::exchange::test

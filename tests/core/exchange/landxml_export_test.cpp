// LandXML export: the document as an independent reader sees it, the exact text of a small
// surface, and the round trip back through the import.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <tuple>

#include "common/app_settings.h"
#include "exchange/landxml_export.h"
#include "exchange/landxml_import.h"
#include "landxml_test_env.h"
#include "model/surface_model.h"
#include "support/fixed_clock.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::exchange::test {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view UnitName(LandXmlUnit unit) {
  switch (unit) {
    case LandXmlUnit::Meter: return "meter";
    case LandXmlUnit::Foot: return "foot";
    case LandXmlUnit::UsSurveyFoot: break;
  }
  return "USSurveyFoot";
}

class LandXmlExportTest : public ExchangeTest {
 protected:
  // A triangulated site with a concave border and breaklines, its coordinates carrying more
  // digits than any decimal print with a fixed number of places would keep.
  void BuildSite() {
    testing::LoadSite(model, testing::ConcaveBorderSite(800, 11));
    for (PointIndex i = 1; i <= model.PointCount; ++i) {
      model.PointX[i] += i * 1e-7 / 3;
      model.PointY[i] -= i * 1e-7 / 7;
      model.PointZ[i] = model.PointZ[i] / 3;
    }
    model.SetComment("Rolling site");
    tin::LocateState state;
    ASSERT_EQ(tin::Triangulate(session, state, {.quiet = true}), tin::TriangulationStatus::Success);
    ASSERT_GT(model.BreaklineCount, 10);
    ASSERT_TRUE(model.IsBordered());
    port.shown.clear();
  }

  // The parts of a model that the round trip must keep, as sets where the order is free.
  struct Content {
    std::vector<std::tuple<double, double, double, std::string>> points;
    std::set<std::array<PointIndex, 3>> triangles;
    std::set<std::pair<PointIndex, PointIndex>> borderEdges;
    std::set<std::pair<PointIndex, PointIndex>> breaklines;
    std::string comment;
    friend bool operator==(const Content&, const Content&) = default;
  };

  static Content ContentOf(const model::SurfaceModel& m) {
    Content c;
    for (PointIndex i = 1; i <= m.PointCount; ++i)
      c.points.emplace_back(m.PointX[i], m.PointY[i], m.PointZ[i], m.GetPointLabel(i));
    for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
      std::array<PointIndex, 3> corners = m.TriVertex[t];
      std::sort(corners.begin(), corners.end());
      c.triangles.insert(corners);
    }
    for (PointIndex i = 1; i <= m.PointCount; ++i)
      if (m.BorderNext[i] != NoPoint) c.borderEdges.insert(std::minmax(i, m.BorderNext[i]));
    for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b)
      c.breaklines.insert(std::minmax(m.Breaklines[b].From, m.Breaklines[b].To));
    c.comment = m.Comment();
    return c;
  }
};

class LandXmlRoundTrip : public LandXmlExportTest, public ::testing::WithParamInterface<LandXmlUnit> {};

TEST_P(LandXmlRoundTrip, ReadsBackTheSameSurface) {
  BuildSite();
  const Content before = ContentOf(model);
  const fs::path file = dir.path() / "ROUND.xml";
  ASSERT_TRUE(ExportLandXmlFile(session, file, GetParam())) << port.Transcript();

  // Another model in between, so that nothing of the first can be left over.
  testing::LoadSite(model, testing::RollingTerrain(50, 3));
  settings.Set(settings::Units, static_cast<std::uint8_t>(GetParam() == LandXmlUnit::Meter ? 0 : 1));
  const LandXmlLoadResult loaded = LoadLandXmlFile(session, file, {});
  ASSERT_EQ(loaded.status, LandXmlLoadStatus::Loaded) << port.Transcript();
  EXPECT_EQ(loaded.report.unit, GetParam());
  EXPECT_EQ(settings.Get(settings::Units), GetParam() == LandXmlUnit::Meter ? 1 : 0);
  EXPECT_FALSE(loaded.report.LeftSomethingOut());
  EXPECT_EQ(CheckTopology(model), std::vector<std::string>{});

  const Content after = ContentOf(model);
  EXPECT_EQ(after.points, before.points);  // every double exact, labels included
  EXPECT_EQ(after.triangles, before.triangles);
  EXPECT_EQ(after.borderEdges, before.borderEdges);
  EXPECT_EQ(after.breaklines, before.breaklines);
  EXPECT_EQ(after.comment, before.comment);
}

INSTANTIATE_TEST_SUITE_P(Units, LandXmlRoundTrip,
                         ::testing::Values(LandXmlUnit::Meter, LandXmlUnit::Foot, LandXmlUnit::UsSurveyFoot),
                         [](const auto& info) { return std::string(UnitName(info.param)); });

TEST_F(LandXmlExportTest, AnIndependentReaderFindsTheStructureAndCounts) {
  if (std::string(TERRAVUE_DXF_PYTHON).empty()) GTEST_SKIP() << "/usr/bin/python3 is not installed";
  BuildSite();
  std::size_t border = 0;
  for (PointIndex i = 1; i <= model.PointCount; ++i) border += model.BorderNext[i] != NoPoint ? 1 : 0;
  for (const LandXmlUnit unit : {LandXmlUnit::Meter, LandXmlUnit::UsSurveyFoot}) {
    const fs::path file = dir.path() / ("SITE-" + std::string(UnitName(unit)) + ".xml");
    ASSERT_TRUE(ExportLandXmlFile(session, file, unit));
    const std::string command = std::string("'") + TERRAVUE_DXF_PYTHON + "' '" + TERRAVUE_TESTS_DIR +
                                "/core/exchange/check_landxml.py' '" + file.string() + "' " +
                                std::to_string(model.PointCount) + " " + std::to_string(model.TriangleCount) + " " +
                                std::to_string(border) + " " + std::to_string(model.BreaklineCount) + " " +
                                std::string(UnitName(unit)) + " > '" + file.string() + ".log' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadAll(file.string() + ".log");
  }
  EXPECT_EQ(port.Texts(Kind::Info).back(),
            "Surface saved as LandXML: 800 points, " + std::to_string(model.TriangleCount) + " triangles, " +
                std::to_string(border) + " border points, " + std::to_string(model.BreaklineCount) + " breaklines.");
}

// A square with its centre: four counter-clockwise triangles (one stored clockwise), the ring
// and a chain of two breaklines. The exact text is kept beside the test.
TEST_F(LandXmlExportTest, WritesTheExpectedDocument) {
  const double xyz[5][3] = {{1000, 5000, 10}, {1010, 5000, 11}, {1010, 5010, 12.5}, {1000, 5010, 13}, {1005, 5005, 0.1}};
  for (const auto& p : xyz) AddPoint(p[0], p[1], p[2]);
  model.TriVertex[1] = {1, 2, 5};
  model.TriVertex[2] = {2, 3, 5};
  model.TriVertex[3] = {5, 4, 3};  // clockwise: written the other way round
  model.TriVertex[4] = {4, 1, 5};
  model.TriangleCount = 4;
  for (PointIndex i = 1; i <= 4; ++i) model.BorderNext[i] = static_cast<PointIndex>(i % 4 + 1);
  model.Breaklines[1] = {1, 5};
  model.Breaklines[2] = {5, 3};
  model.BreaklineCount = 2;
  LandXmlExportOptions options;
  options.surfaceName = "Square & centre";
  options.written = testing::FixedTime(14, 30);
  const std::string text = BuildLandXmlText(model, options);

  const fs::path expected = fs::path(TERRAVUE_TESTS_DIR) / "core/exchange/golden/square.xml";
  if (std::getenv("TERRAVUE_UPDATE_EXPECTED")) {
    std::ofstream(expected, std::ios::binary) << text;
    GTEST_SKIP() << "rewrote " << expected;
  }
  EXPECT_EQ(text, ReadAll(expected));
}

struct IdCase {
  const char* name;
  std::vector<std::string> labels;
  std::vector<std::string> ids;
};

void PrintTo(const IdCase& c, std::ostream* os) { *os << c.name; }

class LandXmlPointIds : public LandXmlExportTest, public ::testing::WithParamInterface<IdCase> {};

TEST_P(LandXmlPointIds, AreTheLabelsWhenTheyCanBe) {
  for (std::size_t k = 0; k < GetParam().labels.size(); ++k) {
    const PointIndex i = AddPoint(static_cast<double>(k), static_cast<double>(k * k), 0);
    model.SetPointLabel(i, GetParam().labels[k]);
  }
  const std::string text = BuildLandXmlText(model, {});
  std::vector<std::string> ids;
  for (std::size_t at = text.find("<P id=\""); at != std::string::npos; at = text.find("<P id=\"", at + 1))
    ids.push_back(text.substr(at + 7, text.find('"', at + 7) - at - 7));
  EXPECT_EQ(ids, GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LandXmlPointIds,
    ::testing::Values(IdCase{"DistinctNumbers", {"17", "5", "1234"}, {"17", "5", "1234"}},
                      IdCase{"Repeated", {"17", "5", "17"}, {"1", "2", "3"}},
                      IdCase{"Letters", {"17", "A5", "3"}, {"1", "2", "3"}},
                      IdCase{"Zero", {"0", "5", "3"}, {"1", "2", "3"}},
                      IdCase{"Negative", {"-3", "5", "3"}, {"1", "2", "3"}},
                      IdCase{"Blank", {"", "5", "3"}, {"1", "2", "3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandXmlExportTest, AFileThatCannotBeWrittenIsReported) {
  AddGrid(4, 2);
  EXPECT_FALSE(ExportLandXmlFile(session, dir.path() / "missing" / "SITE.xml", LandXmlUnit::Meter));
  EXPECT_FALSE(ExportLandXmlFile(session, dir.path(), LandXmlUnit::Meter));
  EXPECT_EQ(port.Texts(Kind::Error),
            (std::vector<std::string>{
                "File management error.\r\n" + (dir.path() / "missing" / "SITE.xml").string() + ": No such file or directory",
                "File management error.\r\n" + dir.path().string() + ": Is a directory"}));
  EXPECT_TRUE(port.Texts(Kind::Info).empty());
}

TEST_F(LandXmlExportTest, TheSurfaceIsNamedAfterTheCommentOrTheModel) {
  AddGrid(3, 3);
  EXPECT_EQ(LandXmlSurfaceName(session), "Surface");
  settings.Set(settings::ModelFileName, "TOPO.MDL");
  EXPECT_EQ(LandXmlSurfaceName(session), "TOPO");
  model.SetComment("Lot 7 \xE9t\xE9\x01");  // Latin-1 with a control character
  EXPECT_EQ(LandXmlSurfaceName(session), "Lot 7 \xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace terravue::exchange::test

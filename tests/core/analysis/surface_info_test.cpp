// Surface Analyzer > Text Output: the statistics and slope zones of a small exact surface, the
// report layouts, the Vector Information listing, and the zone settings' checks.
//
// The full layouts are compared with the files in expected/; run with
// TERRAVUE_UPDATE_EXPECTED=1 to rewrite them, then review the difference like code.

#include "analysis/surface_info.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/facets.h"
#include "analysis/vector_accumulator.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "device/map_options.h"
#include "support/built_surface.h"
#include "support/expected_file.h"
#include "support/session_fixture.h"

namespace terravue::analysis {
namespace {

namespace fs = std::filesystem;
namespace opt = device::AnalyzerOptions;
using testing::FakePort;

// Three separate triangles of known slope, each rising towards +Y: level (0 %), 45 degrees
// (70.711 %) and 3 in 4 (a sine of 0.6: 60 %), the last four times the plan area of the others.
void ThreeSlopes(model::SurfaceModel& m) {
  testing::BuildSurface(m,
                        {{0, 0, 0}, {10, 0, 0}, {0, 10, 0},        //
                         {20, 0, 0}, {30, 0, 0}, {20, 10, 10},     //
                         {40, 0, 0}, {60, 0, 0}, {40, 20, 15}},
                        {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
}

class SurfaceInfo : public testing::SessionTest {
 protected:
  SurfaceInfo() : SessionTest("terravue_surface_info_") {
    ThreeSlopes(model);
    settings.Set(settings::ModelFileName, "SLOPES.MDL");
    settings.Set(opt::MinSlope, 0.0);
    settings.Set(opt::MaxSlope, 100.0);
    settings.Set(opt::ZoneCount, 10);
  }

  // Text Output as the user answers the dialog.
  std::string Report(const std::function<void(SlopeZoneForm&)>& answer = {}) {
    port.reports.clear();
    const auto dialog = [&](const SlopeZoneForm& shown) -> std::optional<SlopeZoneForm> {
      SlopeZoneForm f = shown;
      if (answer) answer(f);
      return f;
    };
    EXPECT_TRUE(TextOutputCommand(session, vectors, include, dialog)) << port.Transcript();
    return port.reports.empty() ? std::string() : port.reports.back();
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  VectorAccumulator vectors;
  bool include = true;
};

TEST_F(SurfaceInfo, StatisticsAndZonesOfKnownSlopes) {
  const SlopeZones zones = SlopeZones::FromSettings(settings);
  const SurfaceStats st = ComputeSurfaceStats(model, &zones);
  EXPECT_NEAR(st.Area2D, 300, 1e-9);
  EXPECT_NEAR(st.Area3D, 50 + 50 * std::sqrt(2.0) + 250, 1e-9);
  EXPECT_NEAR(st.SimpleAverage, 25.0 / 9, 1e-9);
  EXPECT_NEAR(st.TriangleAverage, (10.0 / 3 + 5) / 3, 1e-9);
  EXPECT_NEAR(st.SurfaceMean, (10.0 / 3 * 50 + 5 * 200) / 300, 1e-9) << "weighted by plan area";
  EXPECT_NEAR(st.MinSlopeFound, 0, 1e-9);
  EXPECT_NEAR(st.MaxSlopeFound, 100 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(st.AverageSlope, (100 / std::sqrt(2.0) * 50 + 60 * 200) / 300, 1e-9);
  ASSERT_EQ(st.ZoneArea2D.size(), 12u);
  for (std::size_t k = 0; k < st.ZoneArea2D.size(); ++k) {
    const double want = k == 1 ? 50 : k == 7 ? 200 : k == 8 ? 50 : 0;
    EXPECT_NEAR(st.ZoneArea2D[k], want, 1e-9) << "zone " << k;
  }
  EXPECT_NEAR(st.ZoneArea3D[7], 250, 1e-9);
}

struct ReportLayout {
  const char* name;
  int units;
  int order;
};

void PrintTo(const ReportLayout& c, std::ostream* os) { *os << c.name; }

class SurfaceInfoLayout : public SurfaceInfo, public ::testing::WithParamInterface<ReportLayout> {};

TEST_P(SurfaceInfoLayout, MatchesTheExpectedFile) {
  const ReportLayout layout = GetParam();
  settings.Set(settings::Units, static_cast<std::uint8_t>(layout.units));
  settings.Set(settings::CoordinateOrder, static_cast<std::uint8_t>(layout.order));
  std::string text;
  if (std::string_view(layout.name) == "vectors") {
    vectors.Record(false, false, 500000.25, 4100000.5, 101.125);
    vectors.Record(true, false, 500001, 4100001, 100);
    vectors.Record(false, false, 10, 20, 30);
    vectors.Record(true, true, 11, 22, 33);
    text = Report([](SlopeZoneForm& f) {
      EXPECT_TRUE(f.offerVectorInformation);
      EXPECT_TRUE(f.vectorInformation) << "preselected while there are vertices";
    });
  } else {
    text = Report();
  }
  const fs::path expected =
      fs::path(TERRAVUE_TESTS_DIR) / "core/analysis/expected" / (std::string("surface_info_") + layout.name + ".txt");
  testing::ExpectSameAsFile(text, expected);
  for (const std::string& line : Lines(text)) EXPECT_LE(line.size(), 78u) << line;
}

INSTANTIATE_TEST_SUITE_P(Reports, SurfaceInfoLayout,
                         ::testing::Values(ReportLayout{"metric_x_y", 1, 1}, ReportLayout{"english_northing_easting", 0, 0},
                                           ReportLayout{"vectors", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// 43560 square feet of plan area: 4840 square yards, one acre.
TEST_F(SurfaceInfo, EnglishAreasConvert) {
  testing::BuildSurface(model, {{0, 0, 0}, {198, 0, 0}, {198, 220, 0}, {0, 220, 0}}, {{1, 2, 3}, {1, 3, 4}});
  settings.Set(settings::Units, std::uint8_t{0});
  const std::vector<std::string> lines = Lines(Report());
  const auto has = [&](const char* line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has(" Total 2-D area (square feet) >        43560.000"));
  EXPECT_TRUE(has("               (square yards) >         4840.000"));
  EXPECT_TRUE(has("                      (acres) >            1.000"));
}

struct ZoneCheck {
  const char* name;
  std::string minimum, maximum;
  int zones;
  bool stays;
  std::vector<std::string> errors;
  double storedMin, storedMax;
  int storedZones;
};

void PrintTo(const ZoneCheck& c, std::ostream* os) { *os << c.name; }

class SlopeZoneStore : public ::testing::TestWithParam<ZoneCheck> {};

TEST_P(SlopeZoneStore, ChecksTheBoundsAndHoldsTheCount) {
  const ZoneCheck c = GetParam();
  SettingsRecord s = DefaultSettings();
  FakePort port;
  SlopeZoneForm form = LoadSlopeZoneForm(s, false, true, false);
  form.minSlope = c.minimum;
  form.maxSlope = c.maximum;
  form.zoneCount = c.zones;
  EXPECT_EQ(StoreSlopeZoneForm(port, s, form), c.stays);
  EXPECT_EQ(port.Texts(FakePort::Kind::Error), c.errors);
  EXPECT_EQ(s.Get(opt::MinSlope), c.storedMin);
  EXPECT_EQ(s.Get(opt::MaxSlope), c.storedMax);
  EXPECT_EQ(s.Get(opt::ZoneCount), c.storedZones);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SlopeZoneStore,
    ::testing::Values(
        ZoneCheck{"Accepted", "  2.5", "40", 8, true, {}, 2.5, 40, 8},
        ZoneCheck{"EqualBounds", "30", "30", 3, true, {}, 30, 30, 3},
        ZoneCheck{"MinimumAboveMaximum", "5", "2", 4, false, {std::string(msg::MinimumSlopeAboveMaximum)}, 5, 2, 4},
        ZoneCheck{"UnreadableMinimum", "five", "20", 4, false, {std::string(msg::InvalidMinimumSlope)}, 0, 20, 4},
        ZoneCheck{"BothUnreadable", "", "x", 4, false,
                  {std::string(msg::InvalidMinimumSlope), std::string(msg::InvalidMaximumSlope)}, 0, 0, 4},
        ZoneCheck{"NoZones", "0", "10", 0, true, {}, 0, 10, 1},
        ZoneCheck{"TooManyZones", "0", "10", 500, true, {}, 0, 10, 100}),
    [](const auto& info) { return std::string(info.param.name); });

// A bound that will not read turns the zones off; the report is still written, without them,
// and the zones stay off for the next showing of the dialog.
TEST_F(SurfaceInfo, UnreadableBoundWritesTheReportWithoutZones) {
  const std::string text = Report([](SlopeZoneForm& f) { f.minSlope = "abc"; });
  EXPECT_EQ(text.find("Slope Analysis"), std::string::npos);
  EXPECT_NE(text.find("Total 2-D area"), std::string::npos);
  EXPECT_FALSE(include);
  Report([](SlopeZoneForm& f) { EXPECT_FALSE(f.includeSlopeZones); });
}

// Equal bounds, no triangles: no division by zero anywhere in the report.
TEST_F(SurfaceInfo, DegenerateInputsReportNumbers) {
  settings.Set(opt::MinSlope, 50.0);
  settings.Set(opt::MaxSlope, 50.0);
  const std::string equal = Report();
  EXPECT_EQ(equal.find("nan"), std::string::npos) << equal;
  EXPECT_NE(equal.find(" =>      50.000"), std::string::npos) << "the steep ones in the last zone";

  model.TriangleCount = 0;
  const std::string bare = Report();
  EXPECT_EQ(bare.find("nan"), std::string::npos) << bare;
  EXPECT_EQ(bare.find("inf"), std::string::npos) << bare;
  EXPECT_NE(bare.find(" There are 9 data points."), std::string::npos);
}

TEST(SlopePercent, IsTheSineOfTheInclination) {
  model::SurfaceModel m;
  // 45 degrees; a sliver with no plan area but height (vertical); three points on one line.
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {0, 10, 10}, {5, 0, 3}},
                        {{1, 2, 3}, {1, 2, 4}, {1, 4, 2}});
  EXPECT_NEAR(SlopePercent(m, 1), 70.711, 5e-4);
  m.PointZ[4] = 0;
  EXPECT_EQ(SlopePercent(m, 2), 0) << "collinear and level";
  m.PointZ[4] = 3;
  EXPECT_EQ(SlopePercent(m, 3), 100) << "no plan area: vertical";
  EXPECT_TRUE(DirectionOf(m, 3, TraceMode::Downhill).IsZero());
}

}  // namespace
}  // namespace terravue::analysis

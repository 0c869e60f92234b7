// The Volume Analysis report: layout in both unit systems and coordinate orders, the N/A forms,
// factors, comments and the Cut/Fill Data Listings.
//
// The full layouts are compared with the files in expected/; run with
// TERRAVUE_UPDATE_EXPECTED=1 to rewrite them, then review the difference like code.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/volume_report.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "support/expected_file.h"
#include "volume_fixture.h"

namespace terravue::analysis {
namespace {

namespace fs = std::filesystem;

class VolumeReport : public VolumeTest {
 protected:
  VolumeReport() {
    existing_ = MakeSurface({{500010.5, 4000020.25, 101.5}, {500030.125, 4000040.5, 99}, {500050, 4000060, 98.25}}, {});
    existing_.SetPointLabel(1, "A1");
    existing_.SetPointLabel(2, "TREE");
    proposed_ = MakeSurface({{500012, 4000022, 103}, {500090, 4000090, 97}}, {});
    existingCutFill_ = {0, -1.25, 0, 0.0004};
    proposedCutFill_ = {0, 2.5, 0};

    model = existing_;
    model.SetComment(LongComment());
    settings.Set(settings::ModelFileName, "SITE.MDL");

    data.existing = {"SITE.MDL", LongComment(), &existing_, &existingCutFill_};
    data.proposed = {"DESIGN.MDL", "", &proposed_, &proposedCutFill_};
    // Half an acre in common, 10 cubic yards of cut, 20 of fill.
    data.totals = {21780, 8712, 13068, 270, 540, 2.5, 500030.125, 4000040.5, 1.25, 500010.5, 4000020.25};
    options.cutFactor = 1.15;
    options.fillFactor = 0.9;
    options.listing = CutFillListing::Both;
    options.comments = {"First comment", "", "Third comment", "", ""};
  }

  static std::string LongComment() { return std::string(60, '-') + "0123456789"; }

  std::string Report(int units, int order) {
    settings.Set(settings::Units, static_cast<std::uint8_t>(units));
    settings.Set(settings::CoordinateOrder, static_cast<std::uint8_t>(order));
    port.reports.clear();
    EXPECT_TRUE(ShowVolumeReport(session, data, options)) << port.Transcript();
    EXPECT_EQ(port.reports.size(), 1u);
    return port.reports.empty() ? std::string() : port.reports.back();
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      EXPECT_TRUE(!line.empty() && line.back() == '\r') << "every line ends in CR LF: " << line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  std::string LineStartingWith(const std::string& text, std::string_view start) {
    for (const std::string& line : Lines(text))
      if (line.starts_with(start)) return line;
    return "(no line starting with \"" + std::string(start) + "\")";
  }

  model::SurfaceModel existing_, proposed_;
  std::vector<double> existingCutFill_, proposedCutFill_;
  VolumeReportData data;
  VolumeReportOptions options;
};

struct Layout {
  const char* name;
  int units;
  int order;
};

void PrintTo(const Layout& c, std::ostream* os) { *os << c.name; }

class VolumeReportLayout : public VolumeReport, public ::testing::WithParamInterface<Layout> {};

TEST_P(VolumeReportLayout, MatchesTheExpectedFile) {
  const Layout layout = GetParam();
  const std::string text = Report(layout.units, layout.order);
  const fs::path expected = fs::path(TERRAVUE_TESTS_DIR) / "core/analysis/expected" /
                            (std::string("volume_report_") + layout.name + ".txt");
  testing::ExpectSameAsFile(text, expected);
  for (const std::string& line : Lines(text)) EXPECT_LE(line.size(), 78u) << line;
}

INSTANTIATE_TEST_SUITE_P(UnitsAndOrders, VolumeReportLayout,
                         ::testing::Values(Layout{"metric_northing_easting", 1, 0}, Layout{"metric_x_y", 1, 1},
                                           Layout{"english_northing_easting", 0, 0}, Layout{"english_x_y", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VolumeReport, UnitsConvertAreasAndVolumes) {
  data.totals.CommonArea = 43560;
  data.totals.FillVolume = 27;
  const std::string english = Report(0, 0);
  EXPECT_EQ(LineStartingWith(english, "Total Common"), "Total Common Field Area (acres) =           1.000");
  EXPECT_EQ(LineStartingWith(english, "Fill Volume"),
            "Fill Volume (cu. yards)  =           1.000      0.900               0.900");
  const std::string metric = Report(1, 0);
  EXPECT_EQ(LineStartingWith(metric, "Total Common"), "Total Common Field Area (hectares) =           4.356");
  EXPECT_EQ(LineStartingWith(metric, "Fill Volume"),
            "Fill Volume (cu. meters) =          27.000      0.900              24.300");
}

TEST_F(VolumeReport, OnlyFillShowsTheNotAvailableForms) {
  data.totals.CutVolume = 0;
  data.totals.CutArea = 0;
  data.totals.MaxCut = 0;
  const std::string text = Report(1, 0);
  EXPECT_EQ(LineStartingWith(text, "Ratio"), "Ratio of Cut/Fill        =          N/A                            N/A");
  EXPECT_EQ(LineStartingWith(text, "Location"), "Location of: Max Cut =    -- N/A --        Max Fill =           2.500");
  EXPECT_EQ(LineStartingWith(text, "            Northing"),
            "            Northing =    -- N/A --        Northing =     4000040.500");
  EXPECT_EQ(LineStartingWith(text, "             Easting"),
            "             Easting =    -- N/A --         Easting =      500030.125");
}

TEST_F(VolumeReport, AFactorChangesOnlyItsNetValueAndTheNetRatio) {
  options.cutFactor = 1;
  const std::vector<std::string> plain = Lines(Report(1, 0));
  options.cutFactor = 1.15;
  const std::vector<std::string> factored = Lines(Report(1, 0));
  ASSERT_EQ(plain.size(), factored.size());
  std::vector<std::string> changed;
  for (std::size_t k = 0; k < plain.size(); ++k)
    if (plain[k] != factored[k]) changed.push_back(factored[k]);
  EXPECT_EQ(changed, (std::vector<std::string>{
                         "Cut Volume  (cu. meters) =         270.000      1.150             310.500",
                         "Ratio of Cut/Fill        =           0.500                          0.639"}));
}

TEST_F(VolumeReport, ListingsFollowTheChoice) {
  struct Case {
    CutFillListing listing;
    bool includeZero;
    std::vector<std::string> points;  // the "<" lines
  };
  const std::string a1 = "<   1:  A1>   4000020.250    500010.500       101.500         1.250 C";
  const std::string tree = "<   2:TREE>   4000040.500    500030.125        99.000         0.000";
  const std::string three = "<   3:   3>   4000060.000    500050.000        98.250         0.000";
  const std::string p1 = "<   1:   1>   4000022.000    500012.000       103.000         2.500 F";
  const std::string p2 = "<   2:   2>   4000090.000    500090.000        97.000         0.000";
  const std::vector<Case> cases = {
      {CutFillListing::None, true, {}},
      {CutFillListing::Both, true, {a1, tree, three, p1, p2}},
      {CutFillListing::Existing, true, {a1, tree, three}},
      // Point 3 is 0.0004 off: listed, but as 0.000 without C or F.
      {CutFillListing::Existing, false, {a1, three}},
      {CutFillListing::Proposed, false, {p1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.listing) * 10 + c.includeZero);
    options.listing = c.listing;
    options.includeZeroCutFill = c.includeZero;
    std::vector<std::string> points;
    for (const std::string& line : Lines(Report(1, 0)))
      if (line.starts_with("<")) points.push_back(line);
    EXPECT_EQ(points, c.points);
  }
}

TEST_F(VolumeReport, CommentsAreCutAndMissingOnesSaySo) {
  const std::string text = Report(1, 1);
  EXPECT_EQ(LineStartingWith(text, "  Comment   : -"), "  Comment   : " + LongComment().substr(0, 64));
  EXPECT_EQ(LineStartingWith(text, "  Comment   : n"), "  Comment   : none");
  options.comments = {};
  EXPECT_EQ(LineStartingWith(Report(1, 1), "(No"), "(No comments available.)");
}

TEST_F(VolumeReport, AWorkFileThatCannotBeCreatedIsReported) {
  session.workDirectory = work / "missing" / "folder";
  EXPECT_FALSE(ShowVolumeReport(session, data, options));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error), std::vector<std::string>{std::string(msg::UnableToDisplayOutput)});
  EXPECT_TRUE(port.reports.empty());
}

}  // namespace
}  // namespace terravue::analysis

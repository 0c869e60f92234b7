#include "mapping/map_options_edit.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "support/fake_port.h"

namespace terravue::mapping {
namespace {

using testing::FakePort;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::vector<std::string> Errors(const FakePort& port) { return port.Texts(FakePort::Kind::Error); }

// ---- The edge cases of the options record ---------------------------------------------------

TEST(MapOptionsEdit, AnIntervalBelowAThousandthIsRefusedAndTheOldOneStays) {
  SettingsRecord s = DefaultSettings();
  ContourPage page = LoadContourPage(s);
  EXPECT_EQ(page.interval, "1.000");
  page.interval = "0.0005";
  FakePort port;
  EXPECT_EQ(StoreContourPage(port, s, page), 1);
  EXPECT_EQ(Errors(port), std::vector<std::string>{
                              "Contour Interval value out of range\r\nMinimum value is: 0.001"});
  EXPECT_EQ(s.Get(device::ContourOptions::Interval), 1.0);
}

TEST(MapOptionsEdit, TextAngleIsTypedInDegreesAndKeptInRadians) {
  for (int convention : {0, 1}) {
    SettingsRecord s = DefaultSettings();
    s.Set(settings::AngleConvention, static_cast<std::uint8_t>(convention));
    PointPage page = LoadPointPage(s);
    page.textAngle = "-90";
    FakePort port;
    StorePointPage(port, s, page);
    const double expected = 270 * std::numbers::pi / 180;
    EXPECT_NEAR(s.Get(device::PointOptions::TextAngle), convention == 1 ? -expected : expected, 1e-12);
    EXPECT_EQ(LoadPointPage(s).textAngle, "270.000");
  }
}

TEST(MapOptionsEdit, WidthEntry12StoresIndex10AndDraws11Dots) {
  SettingsRecord s = DefaultSettings();
  TrianglePage page = LoadTrianglePage(s);
  ASSERT_EQ(WidthListTexts()[10], "12");
  page.width = 10;
  page.colour = MakeColour(1, 2, 3);
  FakePort port;
  StoreTrianglePage(port, s, page);
  // Little-endian at 6192, the colour red-low at 6172.
  EXPECT_EQ(s.bytes[6192], 10);
  EXPECT_EQ(s.bytes[6193] | s.bytes[6194] | s.bytes[6195], 0);
  EXPECT_EQ(s.bytes[6172], 1);
  EXPECT_EQ(s.bytes[6174], 3);
  EXPECT_EQ(device::PrinterPenDots(s.Get(device::TriangleOptions::Width)), 11);
}

TEST(MapOptionsEdit, NorthAngleIsReducedIntoAFullTurn) {
  SettingsRecord s = DefaultSettings();
  MiscPage page = LoadMiscPage(s);
  FakePort port;
  for (const auto& [typed, stored] : {std::pair{"370", 10.0}, {"-30", 330.0}, {"720", 0.0}, {"1e300", -1.0}}) {
    page.northAngle = typed;
    StoreMiscPage(port, s, page);
    const double v = s.Get(device::MiscOptions::NorthAngle);
    EXPECT_GE(v, 0) << typed;
    EXPECT_LT(v, 360) << typed;
    if (stored >= 0) {
      EXPECT_NEAR(v, stored, 1e-9) << typed;
    }
  }
  EXPECT_TRUE(port.shown.empty());
}

// ---- Parse failures and ranges, field by field ----------------------------------------------

struct FieldCase {
  const char* name;
  std::function<int(FakePort&, SettingsRecord&)> store;  // stores one spoiled field
  std::string message;
  std::function<bool(const SettingsRecord&)> unchanged;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

template <typename Page>
std::function<int(FakePort&, SettingsRecord&)> Spoil(Page (*load)(const SettingsRecord&),
                                                     int (*store)(UserPort&, SettingsRecord&, const Page&),
                                                     std::string Page::*field, std::string text) {
  return [=](FakePort& port, SettingsRecord& s) {
    Page page = load(s);
    page.*field = text;
    return store(port, s, page);
  };
}

template <typename F>
std::function<bool(const SettingsRecord&)> Keeps(F field) {
  const double before = DefaultSettings().Get(field);
  return [=](const SettingsRecord& s) { return s.Get(field) == before; };
}

class FieldChecks : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldChecks, ARefusedFieldShowsItsMessageAndKeepsItsValue) {
  const FieldCase& c = GetParam();
  SettingsRecord s = DefaultSettings();
  FakePort port;
  EXPECT_EQ(c.store(port, s), 1) << c.name;
  EXPECT_EQ(Errors(port), std::vector<std::string>{c.message}) << c.name;
  EXPECT_TRUE(c.unchanged(s)) << c.name;
}

const std::string Min(const char* m, const char* v) {
  return std::string(m) + "\r\nMinimum value is: " + v;
}
const std::string Max(const char* m, const char* v) {
  return std::string(m) + "\r\nMaximum value is: " + v;
}
const std::string Range(const char* m, const char* lo, const char* hi) {
  return std::string(m) + "\r\nValue must range from: " + lo + " to: " + hi;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldChecks,
    ::testing::Values(
        FieldCase{"breakline_height_text", Spoil(LoadBreaklinePage, StoreBreaklinePage, &BreaklinePage::textHeight, "x"),
                  "Invalid Breakline Number Text Height", Keeps(device::BreaklineOptions::TextHeight)},
        FieldCase{"breakline_height_zero", Spoil(LoadBreaklinePage, StoreBreaklinePage, &BreaklinePage::textHeight, "0"),
                  Min("Breakline Number Text Height value out of range", "0.001"), Keeps(device::BreaklineOptions::TextHeight)},
        FieldCase{"arrow_angle", Spoil(LoadMiscPage, StoreMiscPage, &MiscPage::northAngle, "north"),
                  "Invalid arrow angle", Keeps(device::MiscOptions::NorthAngle)},
        FieldCase{"scale_bar_height", Spoil(LoadMiscPage, StoreMiscPage, &MiscPage::textHeight, "-1"),
                  Min("Scale Bar Text Height value out of range", "0.001"), Keeps(device::MiscOptions::TextHeight)},
        FieldCase{"grid_x", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::intervalX, ""),
                  "Invalid Surface Grid X Interval", Keeps(device::SurfaceGridOptions::IntervalX)},
        FieldCase{"grid_y_zero", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::intervalY, "0"),
                  Min("Surface Grid Y Interval value out of range", "0.001"), Keeps(device::SurfaceGridOptions::IntervalY)},
        FieldCase{"grid_multiple_text", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::multiple, "2.5"),
                  "Invalid Surface Grid Multiple", Keeps(device::SurfaceGridOptions::Multiple)},
        FieldCase{"grid_multiple_negative", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::multiple, "-2"),
                  Min("Surface Grid Multiple value out of range", "0"), Keeps(device::SurfaceGridOptions::Multiple)},
        FieldCase{"grid_multiple_16_bits", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::multiple, "70000"),
                  Max("Surface Grid Multiple value out of range", "32767"), Keeps(device::SurfaceGridOptions::Multiple)},
        FieldCase{"grid_text_height", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::textHeight, "a"),
                  "Invalid Surface Grid Text Height", Keeps(device::SurfaceGridOptions::TextHeight)},
        FieldCase{"grid_dash", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::dashLength, "0"),
                  Min("Dash Line Length value out of range", "0.001"), Keeps(device::SurfaceGridOptions::DashLength)},
        FieldCase{"grid_space_text", Spoil(LoadSurfaceGridPage, StoreSurfaceGridPage, &SurfaceGridPage::spaceLength, "-"),
                  "Invalid Surface Grid Dash Space Length", Keeps(device::SurfaceGridOptions::SpaceLength)},
        FieldCase{"contour_interval_text", Spoil(LoadContourPage, StoreContourPage, &ContourPage::interval, "1,5"),
                  "Invalid Contour Interval", Keeps(device::ContourOptions::Interval)},
        FieldCase{"contour_multiple", Spoil(LoadContourPage, StoreContourPage, &ContourPage::multiple, "x"),
                  "Invalid Contour Line Multiple", Keeps(device::ContourOptions::Multiple)},
        FieldCase{"contour_minimum", Spoil(LoadContourPage, StoreContourPage, &ContourPage::minimum, "low"),
                  "Invalid minimum contour", Keeps(device::ContourOptions::Minimum)},
        FieldCase{"contour_maximum", Spoil(LoadContourPage, StoreContourPage, &ContourPage::maximum, "inf"),
                  "Invalid maximum contour", Keeps(device::ContourOptions::Maximum)},
        FieldCase{"contour_base", Spoil(LoadContourPage, StoreContourPage, &ContourPage::base, "nan"),
                  "Invalid base contour elevation", Keeps(device::ContourOptions::Base)},
        FieldCase{"contour_height", Spoil(LoadContourPage, StoreContourPage, &ContourPage::textHeight, "0.0001"),
                  Min("Contour Label Text Height value out of range", "0.001"), Keeps(device::ContourOptions::TextHeight)},
        FieldCase{"label_frequency_low", Spoil(LoadContourPage, StoreContourPage, &ContourPage::labelFrequency, "0"),
                  Range("Label Frequency value out of range", "1.0", "50.0"), Keeps(device::ContourOptions::LabelFrequency)},
        FieldCase{"label_frequency_high", Spoil(LoadContourPage, StoreContourPage, &ContourPage::labelFrequency, "50.5"),
                  Range("Label Frequency value out of range", "1.0", "50.0"), Keeps(device::ContourOptions::LabelFrequency)},
        FieldCase{"contour_dash_text", Spoil(LoadContourPage, StoreContourPage, &ContourPage::dashLength, "?"),
                  "Invalid Dash Line Length", Keeps(device::ContourOptions::DashLength)},
        FieldCase{"contour_space", Spoil(LoadContourPage, StoreContourPage, &ContourPage::spaceLength, "0"),
                  Min("Dash Space Length value out of range", "0.001"), Keeps(device::ContourOptions::SpaceLength)},
        FieldCase{"segments_low", Spoil(LoadContourPage, StoreContourPage, &ContourPage::segments, "2"),
                  Min("Segments Per Curve value out of range", "3"), Keeps(device::ContourOptions::Segments)},
        FieldCase{"segments_high", Spoil(LoadContourPage, StoreContourPage, &ContourPage::segments, "65536"),
                  Max("Segments Per Curve value out of range", "100"), Keeps(device::ContourOptions::Segments)},
        FieldCase{"segments_text", Spoil(LoadContourPage, StoreContourPage, &ContourPage::segments, "three"),
                  "Invalid Segments Per Curve", Keeps(device::ContourOptions::Segments)},
        FieldCase{"tension", Spoil(LoadContourPage, StoreContourPage, &ContourPage::tension, "10.5"),
                  Range("Tension value out of range", "0.0", "10.0"), Keeps(device::ContourOptions::Tension)},
        FieldCase{"tension_text", Spoil(LoadContourPage, StoreContourPage, &ContourPage::tension, "t"),
                  "Invalid Tension", Keeps(device::ContourOptions::Tension)},
        FieldCase{"marker_height", Spoil(LoadPointPage, StorePointPage, &PointPage::markerHeight, "big"),
                  "Invalid point marker height", Keeps(device::PointOptions::MarkerHeight)},
        FieldCase{"point_height", Spoil(LoadPointPage, StorePointPage, &PointPage::textHeight, "h"),
                  "Invalid text height", Keeps(device::PointOptions::TextHeight)},
        FieldCase{"point_height_zero", Spoil(LoadPointPage, StorePointPage, &PointPage::textHeight, "0"),
                  Min("Point Text Height value out of range", "0.001"), Keeps(device::PointOptions::TextHeight)},
        FieldCase{"text_angle", Spoil(LoadPointPage, StorePointPage, &PointPage::textAngle, "1e999"),
                  "Invalid text angle", Keeps(device::PointOptions::TextAngle)},
        FieldCase{"title_height", Spoil(LoadTitlePage, StoreTitlePage, &TitlePage::titleTextHeight, "-2"),
                  Min("Title Text Height value out of range", "0.001"), Keeps(device::TitleOptions::TitleTextHeight)},
        FieldCase{"title_misc_height", Spoil(LoadTitlePage, StoreTitlePage, &TitlePage::miscTextHeight, "x"),
                  "Invalid text height", Keeps(device::TitleOptions::MiscTextHeight)},
        FieldCase{"down_slope_spacing", Spoil(LoadAnalyzerPage, StoreAnalyzerPage, &AnalyzerPage::downSlopeGridSpacing, "s"),
                  "Invalid down slope grid spacing", Keeps(device::AnalyzerOptions::DownSlopeGridSpacing)},
        FieldCase{"arrow_magnitude", Spoil(LoadAnalyzerPage, StoreAnalyzerPage, &AnalyzerPage::arrowMagnitude, "0"),
                  Min("Slope Arrow Magnitude value out of range", "0.001"), Keeps(device::AnalyzerOptions::ArrowMagnitude)},
        FieldCase{"flow_spacing", Spoil(LoadAnalyzerPage, StoreAnalyzerPage, &AnalyzerPage::flowGridSpacing, "f"),
                  "Invalid flow path grid spacing", Keeps(device::AnalyzerOptions::FlowGridSpacing)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapOptionsEdit, EveryOtherFieldIsStoredBesideARefusedOne) {
  SettingsRecord s = DefaultSettings();
  ContourPage page = LoadContourPage(s);
  page.interval = "junk";
  page.multiple = "5";
  page.labelMode = 2;
  page.rangeSpecified = true;
  page.minimum = "-12.5";
  page.maximum = "80";
  page.segments = "7";
  page.textColour = 0xFF123456;  // only the 24 colour bits are kept
  FakePort port;
  EXPECT_EQ(StoreContourPage(port, s, page), 1);
  EXPECT_EQ(s.Get(device::ContourOptions::Multiple), 5);
  EXPECT_EQ(s.Get(device::ContourOptions::LabelMode), 2);
  EXPECT_TRUE(s.Get(device::ContourOptions::RangeSpecified));
  EXPECT_EQ(s.Get(device::ContourOptions::Minimum), -12.5);
  EXPECT_EQ(s.Get(device::ContourOptions::Segments), 7);
  EXPECT_EQ(s.Get(device::ContourOptions::TextColour), 0x123456u);
  EXPECT_EQ(LoadContourPage(s).maximum, "80.000");
}

TEST(MapOptionsEdit, ListChoicesOutsideTheirListsAreHeldInside) {
  SettingsRecord s = DefaultSettings();
  SurfaceGridPage page = LoadSurfaceGridPage(s);
  page.textMode = 9;
  page.dashMode = -1;
  page.textDecimals = 7;
  page.primaryWidth = 100;
  FakePort port;
  StoreSurfaceGridPage(port, s, page);
  EXPECT_EQ(s.Get(device::SurfaceGridOptions::TextMode), 3);
  EXPECT_EQ(s.Get(device::SurfaceGridOptions::DashMode), 0);
  EXPECT_EQ(s.Get(device::SurfaceGridOptions::TextDecimals), 3);
  EXPECT_EQ(s.Get(device::SurfaceGridOptions::PrimaryWidth), 20);
}

TEST(MapOptionsEdit, DownSlopeDiagramWithNowhereToDrawIsSwitchedOff) {
  SettingsRecord s = DefaultSettings();
  AnalyzerPage page = LoadAnalyzerPage(s);
  page.showDownSlope = true;
  page.arrowsAtTriangleCentres = false;
  page.arrowsAtGridPoints = false;
  FakePort port;
  StoreAnalyzerPage(port, s, page);
  EXPECT_FALSE(s.Get(device::AnalyzerOptions::ShowDownSlope));
  EXPECT_EQ(port.Texts(FakePort::Kind::Warning),
            std::vector<std::string>{"Down slope diagram turned OFF.\r\n\r\nEither 'Draw at triangle "
                                     "centers'\r\nor 'Draw at grid points' must be checked."});
  page.arrowsAtGridPoints = true;
  FakePort quiet;
  StoreAnalyzerPage(quiet, s, page);
  EXPECT_TRUE(s.Get(device::AnalyzerOptions::ShowDownSlope));
  EXPECT_TRUE(quiet.shown.empty());
}

TEST(MapOptionsEdit, DensityModeIsTwoFlags) {
  SettingsRecord s = DefaultSettings();
  AnalyzerPage page = LoadAnalyzerPage(s);
  EXPECT_EQ(page.densityMode, 0);
  FakePort port;
  for (int mode : {2, 1, 0}) {
    page.densityMode = mode;
    StoreAnalyzerPage(port, s, page);
    EXPECT_EQ(LoadAnalyzerPage(s).densityMode, mode);
  }
}

TEST(MapOptionsEdit, TitlesAreStoredAsTypedAndOverlongOnesRefused) {
  SettingsRecord s = DefaultSettings();
  TitlePage page = LoadTitlePage(s);
  page.titleText = "Site plan";
  page.client2 = std::string(81, 'c');
  FakePort port;
  EXPECT_EQ(StoreTitlePage(port, s, page), 1);
  EXPECT_EQ(s.Get(device::TitleOptions::TitleText), "Site plan");
  EXPECT_EQ(s.Get(device::TitleOptions::Client2), "");
  EXPECT_EQ(s.bytes[6774], 9);  // the title's length byte
}

// ---- Edit fields, lists and colours ---------------------------------------------------------

TEST(MapOptionsEdit, LeavingAFieldCleansItOrPutsBackWhatItHeld) {
  EXPECT_EQ(CleanFieldText("12,5 ft", NumberKind::Real, "1.000"), "125.000");
  EXPECT_EQ(CleanFieldText("-4", NumberKind::Real, "1.000"), "4.000");
  EXPECT_EQ(CleanFieldText("-4", NumberKind::SignedReal, "1.000"), "-4.000");
  EXPECT_EQ(CleanFieldText("abc", NumberKind::Real, "1.000"), "1.000");
  EXPECT_EQ(CleanFieldText("7", NumberKind::Integer, "3"), "7");
  EXPECT_EQ(CleanFieldText("7.5", NumberKind::Integer, "3"), "3");
}

TEST(MapOptionsEdit, CustomColoursSurviveARoundTripAndJunkIsSkipped) {
  const std::vector<std::uint32_t> colours = {0, 0xFFFFFF, 0x123456};
  EXPECT_EQ(ParseCustomColours(FormatCustomColours(colours)), colours);
  EXPECT_EQ(ParseCustomColours("ColorA=FFFFFF,12,,-3,99999999,x,7"), (std::vector<std::uint32_t>{12, 7}));
  EXPECT_TRUE(ParseCustomColours("").empty());
  const std::vector<std::uint32_t> many(40, 0xFFFFFF);
  EXPECT_LE(FormatCustomColours(many).size(), device::CustomColours.capacity);
  EXPECT_EQ(ParseCustomColours(FormatCustomColours(many)).size(), 16u);
}

TEST(MapOptionsEdit, GroupsNeedTheirData) {
  model::SurfaceModel m;
  EXPECT_FALSE(GroupAvailable(MapOptionPage::Points, m));
  m.PointCount = 3;
  EXPECT_TRUE(GroupAvailable(MapOptionPage::Points, m));
  EXPECT_TRUE(GroupAvailable(MapOptionPage::Titles, m));
  EXPECT_FALSE(GroupAvailable(MapOptionPage::Contours, m));
  EXPECT_FALSE(GroupAvailable(MapOptionPage::SurfaceAnalyzer, m));
  EXPECT_FALSE(GroupAvailable(MapOptionPage::Breaklines, m));
  m.TriangleCount = 1;
  m.BreaklineCount = 1;
  EXPECT_TRUE(GroupAvailable(MapOptionPage::Triangles, m));
  EXPECT_TRUE(GroupAvailable(MapOptionPage::Breaklines, m));
  EXPECT_EQ(PageCaption(MapOptionPage::SurfaceAnalyzer), "Set Analyzer Options");
  EXPECT_EQ(ShowFlagOf(MapOptionPage::Titles).offset, 6764u);
}

// ---- Hostile values in the settings ---------------------------------------------------------

struct HostileCase {
  const char* name;
  std::function<void(SettingsRecord&)> spoil;
  std::function<bool(const SettingsRecord&)> reset;
};

TEST(MapOptionsLoad, ValuesTheDrawingCannotUseAreResetOnLoad) {
  const std::vector<HostileCase> cases = {
      {"text height 0", [](SettingsRecord& s) { s.Set(device::ContourOptions::TextHeight, 0.0); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::TextHeight) == 1.0; }},
      {"title height negative", [](SettingsRecord& s) { s.Set(device::TitleOptions::TitleTextHeight, -2.0); },
       [](const SettingsRecord& s) { return s.Get(device::TitleOptions::TitleTextHeight) == 1.0; }},
      {"grid interval tiny", [](SettingsRecord& s) { s.Set(device::SurfaceGridOptions::IntervalX, 1e-300); },
       [](const SettingsRecord& s) { return s.Get(device::SurfaceGridOptions::IntervalX) == 100.0; }},
      {"contour interval NaN", [](SettingsRecord& s) { s.Set(device::ContourOptions::Interval, NaN); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::Interval) == 1.0; }},
      {"dash zero", [](SettingsRecord& s) { s.Set(device::ContourOptions::DashLength, 0.0); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::DashLength) == 1.0; }},
      {"multiple negative", [](SettingsRecord& s) { s.Set(device::ContourOptions::Multiple, std::int16_t{-5}); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::Multiple) == 0; }},
      {"label frequency 0", [](SettingsRecord& s) { s.Set(device::ContourOptions::LabelFrequency, 0.0); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::LabelFrequency) == 10.0; }},
      {"segments huge", [](SettingsRecord& s) { s.Set(device::ContourOptions::Segments, std::uint16_t{60000}); },
       [](const SettingsRecord& s) { return s.Get(device::ContourOptions::Segments) == 3; }},
  };
  for (const HostileCase& c : cases) {
    SettingsRecord s = DefaultSettings();
    c.spoil(s);
    SettingsRecord loaded;
    LoadSettingsBytes(loaded, s.bytes);
    EXPECT_TRUE(c.reset(loaded)) << c.name;
  }
}

TEST(MapOptionsDrawing, ASpoiledGroupDrawsAsIfSwitchedOff) {
  SettingsRecord s = DefaultSettings();
  s.Set(device::ContourOptions::Show, true);
  EXPECT_TRUE(GroupDrawable(s, MapOptionPage::Contours));
  s.Set(device::ContourOptions::Interval, 0.0);
  EXPECT_FALSE(GroupDrawable(s, MapOptionPage::Contours));
  s.Set(device::SurfaceGridOptions::Show, true);
  s.Set(device::SurfaceGridOptions::DashLength, 0.0);
  s.Set(device::SurfaceGridOptions::SpaceLength, 0.0);
  EXPECT_FALSE(GroupDrawable(s, MapOptionPage::SurfaceGrid));
  s.Set(device::PointOptions::TextHeight, -1.0);
  EXPECT_FALSE(GroupDrawable(s, MapOptionPage::Points));
}

TEST(MapOptionsDrawing, LinesPerRedrawAreCapped) {
  EXPECT_EQ(CountLines(0, 100, 10).count, 11);
  EXPECT_EQ(CountLines(0.5, 9.5, 1).count, 9);
  EXPECT_EQ(CountLines(5, 4, 1).count, 0);
  const LineCount many = CountLines(0, 1e9, 0.001);
  EXPECT_TRUE(many.capped);
  EXPECT_EQ(many.count, MaxLinesPerRedraw);
  EXPECT_EQ(CountLines(0, NaN, 1).count, 0);
  EXPECT_EQ(CountLines(0, 10, 0).count, 0);
  EXPECT_EQ(TooManyLinesWarning(true),
            "Only the first 10000 contour levels are drawn.\r\nIncrease the contour interval.");
}

}  // namespace
}  // namespace terravue::mapping

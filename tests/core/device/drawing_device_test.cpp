#include "device/drawing_device.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "device/recording_device.h"
#include "common/view3d_settings.h"

namespace terravue::device {
namespace {

namespace page = PageSetup;
using Op = DeviceOp::Type;

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The built-in sheet (Letter at 300 dots per inch, printable 2340 x 2966) at 100 feet per
// inch: 3 printer pixels per foot, the view centred on the origin, no rotation.
SettingsRecord PlainSheet() {
  SettingsRecord s = DefaultSettings();
  s.Set(settings::AngleConvention, 0);
  s.Set(page::MapScale, 100.0);
  s.Set(page::RotationAngle, 0.0);
  s.Set(page::ViewCentreX, 0.0);
  s.Set(page::ViewCentreY, 0.0);
  s.Set(page::RotationCentreX, 0.0);
  s.Set(page::RotationCentreY, 0.0);
  return s;
}

constexpr double HalfW = 2340 / 2.0;
constexpr double HalfH = 2966 / 2.0;

RecordingDevice Printer(const SettingsRecord& s) {
  return RecordingDevice(DeviceKind::Printer, ViewTransform::FromSettings(s), PrinterFrame(s));
}

void Polyline(DrawingDevice& d, std::initializer_list<std::pair<double, double>> points) {
  bool first = true;
  for (const auto& [x, y] : points) {
    d.DevicePlot(false, x, y, 0);
    if (first) d.DevicePenDown();
    first = false;
  }
  d.DevicePenUp();
}

// ---- The view transform ---------------------------------------------------------------------

TEST(ViewTransform, MapsTheViewCentreToThePageCentreAtTheMapScale) {
  const ViewTransform t = ViewTransform::FromSettings(PlainSheet());
  const PixelPoint centre = t.ToPage(0, 0, 0);
  EXPECT_DOUBLE_EQ(centre.x, HalfW);
  EXPECT_DOUBLE_EQ(centre.y, HalfH);
  // 100 feet east is one inch (300 pixels) right; north is up the page.
  const PixelPoint p = t.ToPage(100, 50, 0);
  EXPECT_DOUBLE_EQ(p.x, HalfW + 300);
  EXPECT_DOUBLE_EQ(p.y, HalfH - 150);
}

struct TransformCase {
  const char* name;
  double angle;
  int convention;  // 0 engineers, 1 surveyors
  int units;       // 0 English, 1 metric
  double calibrationX, calibrationY;
};

void PrintTo(const TransformCase& c, std::ostream* os) { *os << c.name; }

class TransformRoundTrip : public ::testing::TestWithParam<TransformCase> {};

TEST_P(TransformRoundTrip, PageToWorldInvertsWorldToPage) {
  const TransformCase& c = GetParam();
  SettingsRecord s = PlainSheet();
  s.Set(page::RotationAngle, c.angle);
  s.Set(settings::AngleConvention, static_cast<std::uint8_t>(c.convention));
  s.Set(settings::Units, static_cast<std::uint8_t>(c.units));
  s.Set(page::CalibrationX, c.calibrationX);
  s.Set(page::CalibrationY, c.calibrationY);
  s.Set(page::RotationCentreX, 5000.0);
  s.Set(page::RotationCentreY, 7000.0);
  s.Set(page::ViewCentreX, 5100.0);
  s.Set(page::ViewCentreY, 6900.0);
  const ViewTransform t = ViewTransform::FromSettings(s);
  for (const auto& [x, y] : {std::pair{5000.0, 7000.0}, {5123.25, 6871.5}, {4000.0, 9000.0}}) {
    const WorldPoint back = t.PageToWorld(t.ToPage(x, y, 12));
    EXPECT_NEAR(back.x, x, 1e-9) << c.name;
    EXPECT_NEAR(back.y, y, 1e-9) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Views, TransformRoundTrip,
    ::testing::Values(TransformCase{"plain", 0, 0, 0, 1, 1}, TransformCase{"rotated", 33.5, 0, 0, 1, 1},
                      TransformCase{"surveyors", 33.5, 1, 0, 1, 1}, TransformCase{"metric", -120, 0, 1, 1, 1},
                      TransformCase{"calibrated", 270, 1, 1, 1.02, 0.97}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ViewTransform, RotationTurnsCounterClockwiseAndSurveyorsTurnTheOtherWay) {
  SettingsRecord s = PlainSheet();
  s.Set(page::RotationAngle, 90.0);
  // A point east of the centre lands north of it: straight up the page.
  PixelPoint p = ViewTransform::FromSettings(s).ToPage(100, 0, 0);
  EXPECT_NEAR(p.x, HalfW, 1e-9);
  EXPECT_NEAR(p.y, HalfH - 300, 1e-9);
  s.Set(settings::AngleConvention, 1);
  p = ViewTransform::FromSettings(s).ToPage(100, 0, 0);
  EXPECT_NEAR(p.x, HalfW, 1e-9);
  EXPECT_NEAR(p.y, HalfH + 300, 1e-9);
}

TEST(ViewTransform, MetricScaleIsPerCentimetreAndCalibrationStretchesEachAxis) {
  SettingsRecord s = PlainSheet();
  s.Set(settings::Units, 1);
  s.Set(page::MapScale, 10.0);  // 10 m per cm: 100 m is 10 cm
  s.Set(page::CalibrationY, 1.5);
  const PixelPoint p = ViewTransform::FromSettings(s).ToPage(100, 100, 0);
  EXPECT_NEAR(p.x - HalfW, 10 / 2.54 * 300, 1e-9);
  EXPECT_NEAR(HalfH - p.y, 1.5 * 10 / 2.54 * 300, 1e-9);
}

// ---- The screen -----------------------------------------------------------------------------

TEST(ScreenGeometry, FitsTheSheetInTheClientAreaAndBoundsTheZoom) {
  const SettingsRecord s = PlainSheet();
  const auto g = ComputeScreenGeometry(s, 800, 600, 1);
  ASSERT_TRUE(g);
  EXPECT_DOUBLE_EQ(g->printerPixelsPerScreenPixel, 5.5);  // 3300 / 600 limits
  EXPECT_EQ(g->imageWidth, 463);
  EXPECT_EQ(g->imageHeight, 600);
  EXPECT_EQ(g->marginLeft, 19);  // Trunc(105 / 5.5)
  EXPECT_EQ(g->marginTop, 30);   // Trunc(167 / 5.5)
  EXPECT_EQ(g->maxZoom, 54);     // Trunc(5.5 x 32767 / 3300)

  const auto zoomed = ComputeScreenGeometry(s, 800, 600, 1000);
  ASSERT_TRUE(zoomed);
  EXPECT_EQ(zoomed->zoom, 54);
  EXPECT_LT(zoomed->imageHeight, 32768);
  EXPECT_EQ(zoomed->marginTop, 30 * 54);
}

TEST(ScreenGeometry, WaitsForAClientArea) {
  const SettingsRecord s = PlainSheet();
  EXPECT_FALSE(ComputeScreenGeometry(s, 0, 600, 1));
  EXPECT_FALSE(ComputeScreenGeometry(s, 800, -1, 1));
  EXPECT_TRUE(ComputeScreenGeometry(s, 1, 1, 1));
}

TEST(ScreenGeometry, WorldToScreenAndBackWithinAPixel) {
  SettingsRecord s = PlainSheet();
  s.Set(page::RotationAngle, 20.0);
  const ViewTransform t = ViewTransform::FromSettings(s);
  for (int zoom : {1, 3, 17}) {
    const auto g = ComputeScreenGeometry(s, 1000, 700, zoom);
    ASSERT_TRUE(g);
    const DeviceFrame f = ScreenFrame(s, *g);
    const PixelPoint page = t.ToPage(123.4, -56.7, 0);
    const PixelPoint screen = PageToDevice(f, page);
    // Step 4: Trunc(px / E x Z) + margin.
    EXPECT_DOUBLE_EQ(screen.x, page.x / g->printerPixelsPerScreenPixel * zoom + g->marginLeft);
    const WorldPoint back = ScreenToWorldXY(t, f, DeviceInteger(f, screen.x), DeviceInteger(f, screen.y));
    const double feetPerScreenPixel = g->printerPixelsPerScreenPixel / zoom / 3;
    EXPECT_NEAR(back.x, 123.4, 1.5 * feetPerScreenPixel) << zoom;
    EXPECT_NEAR(back.y, -56.7, 1.5 * feetPerScreenPixel) << zoom;
  }
}

TEST(ScreenGeometry, ZoomKeepsThePointUnderTheMouse) {
  const SettingsRecord s = PlainSheet();
  const auto before = ComputeScreenGeometry(s, 800, 600, 1);
  const auto after = ComputeScreenGeometry(s, 800, 600, 4);
  const IntPoint scroll = ScrollToKeepPoint(*before, *after, {200, 300}, {200, 300});
  // The page point under (200, 300) is now at scroll + (200, 300).
  const double pageX = (200 - before->marginLeft) * 5.5;
  EXPECT_NEAR(scroll.x + 200, pageX * 4 / 5.5 + after->marginLeft, 1);
}

// ---- Clipping -------------------------------------------------------------------------------

struct ClipCase {
  const char* name;
  Segment in;
  bool visible;
  Segment out;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class Clipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(Clipping, KeepsThePartInsideTheRectangle) {
  const ClipCase& c = GetParam();
  const auto r = ClipSegment(c.in, {0, 0, 100, 50});
  ASSERT_EQ(r.has_value(), c.visible) << c.name;
  if (!r) return;
  EXPECT_NEAR(r->from.x, c.out.from.x, 1e-9) << c.name;
  EXPECT_NEAR(r->from.y, c.out.from.y, 1e-9) << c.name;
  EXPECT_NEAR(r->to.x, c.out.to.x, 1e-9) << c.name;
  EXPECT_NEAR(r->to.y, c.out.to.y, 1e-9) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Segments, Clipping,
    ::testing::Values(
        ClipCase{"inside", {{10, 10}, {90, 40}}, true, {{10, 10}, {90, 40}}},
        ClipCase{"leaves_right", {{50, 25}, {150, 25}}, true, {{50, 25}, {100, 25}}},
        ClipCase{"enters_from_top_left", {{-10, -10}, {10, 10}}, true, {{0, 0}, {10, 10}}},
        ClipCase{"crosses_both_sides", {{-50, 10}, {150, 30}}, true, {{0, 15}, {100, 25}}},
        ClipCase{"wholly_left", {{-50, 10}, {-10, 40}}, false, {}},
        ClipCase{"misses_the_corner", {{90, -20}, {120, 10}}, false, {}},
        ClipCase{"along_the_top_edge", {{10, 0}, {90, 0}}, true, {{10, 0}, {90, 0}}},
        ClipCase{"parallel_above", {{10, -1}, {90, -1}}, false, {}},
        ClipCase{"far_away_ends", {{-1e12, 25}, {1e12, 25}}, true, {{0, 25}, {100, 25}}},
        ClipCase{"single_point_inside", {{5, 5}, {5, 5}}, true, {{5, 5}, {5, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Clipping, PolygonKeepsItsInsidePart) {
  const auto out = ClipPolygon({{-10, 10}, {50, 10}, {50, 70}}, {0, 0, 100, 50});
  ASSERT_GE(out.size(), 3u);
  for (const PixelPoint& p : out) {
    EXPECT_GE(p.x, 0);
    EXPECT_LE(p.y, 50);
  }
  EXPECT_TRUE(ClipPolygon({{-10, -10}, {-5, -10}, {-5, -5}}, {0, 0, 100, 50}).empty());
}

TEST(PageDevice, LineLeavingTheSheetStopsAtItsEdge) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  Polyline(d, {{0, 0}, {1000, 0}});  // 3000 pixels east: past the right edge
  const auto lines = d.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].first, (IntPoint{1170, 1483}));
  EXPECT_EQ(lines[0].second, (IntPoint{2339, 1483}));
}

TEST(PageDevice, HiddenSegmentDrawsNothingButTheNextStartsWithAMove) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  Polyline(d, {{0, 0}, {10, 0}, {1000, 0}, {1000, 10}, {10, 10}});
  std::vector<Op> kinds;
  for (const DeviceOp& op : d.ops)
    if (op.type == Op::MoveTo || op.type == Op::LineTo) kinds.push_back(op.type);
  // In, out to the edge, (along outside: nothing), back in from the edge with a move.
  EXPECT_EQ(kinds, (std::vector<Op>{Op::MoveTo, Op::LineTo, Op::LineTo, Op::MoveTo, Op::LineTo}));
  EXPECT_EQ(d.Lines().back().first, (IntPoint{2339, 1453}));
}

TEST(PageDevice, PointsThatCannotBePlacedBreakTheLineWithoutDrawingAnything) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  Polyline(d, {{0, 0}, {NaN, 5}, {10, 10}, {Inf, 0}, {-Inf, 0}, {20, 20}, {1e300, -1e300}, {30, 30}});
  // Only segments between placeable neighbours draw; the huge one is clipped to the sheet.
  for (const auto& [a, b] : d.Lines()) {
    for (IntPoint p : {a, b}) {
      EXPECT_GE(p.x, 0);
      EXPECT_LE(p.x, 2339);
      EXPECT_GE(p.y, 0);
      EXPECT_LE(p.y, 2965);
    }
  }
  EXPECT_EQ(d.Lines().size(), 2u);
}

TEST(PageDevice, WhiteLinesPrintBlack) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice printer = Printer(s);
  printer.DeviceSetLayer(settings::White, {});
  ASSERT_EQ(printer.OfType(Op::PenColour).size(), 1u);
  EXPECT_EQ(printer.OfType(Op::PenColour)[0].colour, settings::Black);

  const auto g = ComputeScreenGeometry(s, 800, 600, 1);
  RecordingDevice screen(DeviceKind::ScreenMap, ViewTransform::FromSettings(s), ScreenFrame(s, *g));
  screen.DeviceSetLayer(settings::White, {});
  EXPECT_EQ(screen.OfType(Op::PenColour)[0].colour, settings::White);
}

// ---- Widths and text sizes ------------------------------------------------------------------

struct WidthCase {
  int index;
  double e;
  int zoom;
  int screenPixels;
  int printerDots;
};

TEST(Widths, PrinterDotsAndScreenPixels) {
  for (const WidthCase& c : {WidthCase{0, 5.5, 1, 1, 1}, WidthCase{0, 5.5, 20, 1, 1},
                             WidthCase{1, 4, 1, 1, 2},    // Round(0.5) is 0
                             WidthCase{3, 4, 1, 2, 4},    // Round(1) + 1
                             WidthCase{10, 2, 3, 17, 11}, // "12" draws 11 dots; Round(16.5) + 1
                             WidthCase{-7, 2, 1, 1, 1}, WidthCase{99, 1, 1, 22, 21}}) {
    EXPECT_EQ(ScreenPenPixels(c.index, c.e, c.zoom), c.screenPixels) << c.index << " " << c.zoom;
    EXPECT_EQ(PrinterPenDots(c.index), c.printerDots) << c.index;
  }
  EXPECT_EQ(WidthList[10], 12);
}

TEST(Widths, HighlightIsAlwaysOnePixelWide) {
  const SettingsRecord s = PlainSheet();
  const auto g = ComputeScreenGeometry(s, 800, 600, 10);
  RecordingDevice d(DeviceKind::ScreenHighlight, ViewTransform::FromSettings(s), ScreenFrame(s, *g));
  d.DeviceSetWidth(20);
  EXPECT_EQ(d.OfType(Op::PenWidth)[0].value, 1);
}

TEST(TextSizes, PixelHeightIsRoundedAndNeverZero) {
  EXPECT_EQ(TextPixelHeight(1.0, 3), 3);
  EXPECT_EQ(TextPixelHeight(0.1, 3), 1);  // Round(0.3) = 0 becomes 1
  EXPECT_EQ(TextPixelHeight(0.5, 5), 2);  // 2.5 rounds to even
  EXPECT_EQ(TextPixelHeight(-2, 3), 6);
  EXPECT_EQ(TextPixelHeight(NaN, 3), 1);
  EXPECT_EQ(TextPixelHeight(1e300, 1e300), MaxTextPixels);
}

TEST(TextSizes, CharacterWidthAndBaselineOffsetFollowTheFont) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceSetTextStyle(device::MapColour::Teal, 10);  // 30 pixels: cell 18 x 36
  const auto fonts = d.OfType(Op::Font);
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0].value, 30);
  EXPECT_EQ(fonts[0].text, "Courier New");
  EXPECT_EQ(fonts[0].colour, device::MapColour::Teal);
  EXPECT_DOUBLE_EQ(d.text.TextCharWidth, 9);       // 1.5 x 10 x 18 / 30
  EXPECT_DOUBLE_EQ(d.text.TextBaselineOffset, 2);  // (36 - 30) / 3 pixels per foot
}

TEST(TextSizes, PointLabelsKeepTheirScreenSizeUnlessTheyMaintainScale) {
  SettingsRecord s = PlainSheet();
  const auto g = ComputeScreenGeometry(s, 800, 600, 4);
  for (bool maintain : {false, true}) {
    s.Set(device::PointOptions::MaintainScale, maintain);
    RecordingDevice d(DeviceKind::ScreenMap, ViewTransform::FromSettings(s), ScreenFrame(s, *g));
    d.DeviceSetTextStyle(0, 10);
    const int ordinary = d.OfType(Op::Font).back().value;
    d.pointLabelScaling = true;
    d.DeviceSetTextStyle(0, 10);
    const int label = d.OfType(Op::Font).back().value;
    // 10 feet at 300 / 5.5 pixels per inch and 100 feet per inch, times the zoom.
    EXPECT_EQ(ordinary, static_cast<int>(std::nearbyint(4 * 10 * 300 / 5.5 / 100)));
    EXPECT_EQ(label, maintain ? ordinary : static_cast<int>(std::nearbyint(10 * 300 / 5.5 / 100)));
  }
}

// ---- Text placement -------------------------------------------------------------------------

struct AnchorCase {
  const char* name;
  double angleDegrees;
  double mapRotation;
  int dx, dy;  // anchor relative to the point, device pixels
  int tenths;
};

void PrintTo(const AnchorCase& c, std::ostream* os) { *os << c.name; }

class TextAnchors : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(TextAnchors, CellCornerSitsAcrossTheBaselineFromThePoint) {
  const AnchorCase& c = GetParam();
  SettingsRecord s = PlainSheet();
  s.Set(page::RotationAngle, c.mapRotation);
  RecordingDevice d = Printer(s);
  d.DeviceSetTextStyle(0, 10);  // lift = 10 / 2 + 2 = 7 feet = 21 pixels
  d.DeviceText("AB", c.angleDegrees * Pi / 180, 0, 0, 0, 1);
  const auto texts = d.OfType(Op::Text);
  ASSERT_EQ(texts.size(), 1u) << c.name;
  EXPECT_EQ(texts[0].at, (IntPoint{1170 + c.dx, 1483 + c.dy})) << c.name;
  EXPECT_EQ(texts[0].value, c.tenths) << c.name;
  EXPECT_EQ(texts[0].text, "AB");
}

INSTANTIATE_TEST_SUITE_P(Quadrants, TextAnchors,
                         ::testing::Values(AnchorCase{"east", 0, 0, 0, -21, 0},
                                           AnchorCase{"north", 90, 0, -21, 0, 900},
                                           AnchorCase{"west", 180, 0, 0, 21, 1800},
                                           AnchorCase{"south", 270, 0, 21, 0, 2700},
                                           AnchorCase{"minus_90", -90, 0, 21, 0, 2700},
                                           AnchorCase{"map_rotation_adds", 0, 90, -21, 0, 900},
                                           AnchorCase{"past_a_turn", 405, 0, -15, -15, 450}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextPlacement, CentredAndRightAlignedShiftByTheTextWidth) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceSetTextStyle(0, 10);  // "ABCD" is 4 x 18 = 72 pixels wide
  d.text.TextCentred = true;
  d.DeviceText("ABCD", 0, 0, 0, 0, 1);
  d.text.TextRightAligned = true;
  d.DeviceText("ABCD", 0, 0, 0, 0, 1);
  const auto texts = d.OfType(Op::Text);
  EXPECT_EQ(texts[0].at.x, 1170 - 36);
  EXPECT_EQ(texts[1].at.x, 1170 - 72);
}

TEST(TextPlacement, AxisTextEndsAtThePoint) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceSetTextStyle(0, 10);
  d.DeviceAxisText("100", false, 0, 0, 0);
  d.DeviceAxisText("100", true, 0, 0, 0);
  const auto texts = d.OfType(Op::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "100 ");
  EXPECT_EQ(texts[0].at, (IntPoint{1170 - 72, 1483 - 21}));  // "100 " is 72 pixels
  EXPECT_EQ(texts[1].at, (IntPoint{1170 - 21, 1483 + 72}));  // upwards, ending at the point
  EXPECT_EQ(texts[1].value, 900);
}

TEST(TextPlacement, TextFarOffTheSheetIsNotSent) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceSetTextStyle(0, 10);
  d.DeviceText("X", 0, 1e6, 0, 0, 1);
  d.DeviceText("X", 0, 1e300, 0, 0, 1);
  d.DeviceText("X", NaN, 0, 0, 0, 1);
  EXPECT_TRUE(d.OfType(Op::Text).empty());
}

// ---- Markers --------------------------------------------------------------------------------

struct MarkerCase {
  int kind;
  std::size_t segments;
  int reach;  // pixels from the centre to the farthest vertex along an axis
};

void PrintTo(const MarkerCase& c, std::ostream* os) { *os << "kind=" << c.kind; }

class Markers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, ShapeEndsWithThePenUpAtTheCentre) {
  const MarkerCase& c = GetParam();
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceMarker(c.kind, 0, 0, 0, 10);  // half size 5 feet = 15 pixels
  const auto lines = d.Lines();
  EXPECT_EQ(lines.size(), c.segments) << c.kind;
  int reach = 0;
  for (const auto& [a, b] : lines)
    for (IntPoint p : {a, b}) reach = std::max({reach, std::abs(p.x - 1170), std::abs(p.y - 1483)});
  EXPECT_EQ(reach, c.reach) << c.kind;
  if (c.segments == 0) return;
  // The next stroke starts from the centre.
  d.ops.clear();
  d.DevicePenDown();
  d.DevicePlot(false, 10, 0, 0);
  d.DevicePenUp();
  ASSERT_EQ(d.Lines().size(), 1u);
  EXPECT_EQ(d.Lines()[0].first, (IntPoint{1170, 1483}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, Markers,
                         ::testing::Values(MarkerCase{0, 6, 15}, MarkerCase{1, 4, 15}, MarkerCase{2, 2, 15},
                                           MarkerCase{3, 2, 15}, MarkerCase{4, 4, 15}, MarkerCase{5, 0, 0},
                                           MarkerCase{6, 6, 15}, MarkerCase{7, 10, 30}));

TEST(MarkersOnScreen, PointMarkersShrinkWithTheZoomUnlessTheyMaintainScale) {
  SettingsRecord s = PlainSheet();
  s.Set(device::PointOptions::MaintainScale, false);
  const auto g1 = ComputeScreenGeometry(s, 800, 600, 1);
  const auto g4 = ComputeScreenGeometry(s, 800, 600, 4);
  auto width = [&](const ScreenGeometry& g) {
    RecordingDevice d(DeviceKind::ScreenMap, ViewTransform::FromSettings(s), ScreenFrame(s, g));
    d.pointLabelScaling = true;
    d.DeviceMarker(1, 0, 0, 0, 200);
    int lo = 1 << 30, hi = -(1 << 30);
    for (const auto& [a, b] : d.Lines()) lo = std::min({lo, a.x, b.x}), hi = std::max({hi, a.x, b.x});
    return hi - lo;
  };
  EXPECT_NEAR(width(*g4), width(*g1), 1);
}

TEST(MarkersOnScreen, UnknownKindsAndUnusableSizesDrawNothing) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  for (int kind : {-1, 8, 255}) d.DeviceMarker(kind, 0, 0, 0, 10);
  d.DeviceMarker(0, 0, 0, 0, NaN);
  d.DeviceMarker(0, 0, 0, 0, Inf);
  EXPECT_TRUE(d.Lines().empty());
}

// ---- Device kinds and fills -----------------------------------------------------------------

TEST(DeviceKinds, OverlayDrawsLinesOnly) {
  const SettingsRecord s = PlainSheet();
  const auto g = ComputeScreenGeometry(s, 800, 600, 1);
  RecordingDevice d(DeviceKind::ScreenOverlay, ViewTransform::FromSettings(s), ScreenFrame(s, *g));
  int titleBlocks = 0;
  d.SetTitleBlockDrawer([&](DrawingDevice&) { ++titleBlocks; });
  d.DeviceSetTextStyle(0, 10);
  d.DeviceText("A", 0, 0, 0, 0, 1);
  d.DeviceMarker(1, 0, 0, 0, 10);
  d.DeviceTitleBlock();
  d.DeviceDensityFill({WorldPoint{0, 0, 0}, {100, 0, 0}, {0, 100, 0}}, 0.5);
  Polyline(d, {{0, 0}, {100, 0}});
  EXPECT_EQ(d.OfType(Op::Text).size() + d.OfType(Op::Font).size() + d.OfType(Op::Stipple).size(), 0u);
  EXPECT_EQ(titleBlocks, 0);
  EXPECT_EQ(d.Lines().size(), 1u);
}

TEST(DeviceKinds, MapAndPrinterDrawTheTitleBlock) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  int titleBlocks = 0;
  d.SetTitleBlockDrawer([&](DrawingDevice& device) {
    ++titleBlocks;
    EXPECT_EQ(device.Kind(), DeviceKind::Printer);
  });
  d.DeviceTitleBlock();
  EXPECT_EQ(titleBlocks, 1);
}

TEST(DensityFill, ClipsTheTriangleAndHoldsTheDensityInRange) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  d.DeviceDensityFill({WorldPoint{0, 0, 0}, {10000, 0, 0}, {0, 10, 0}}, 1.7);
  d.DeviceDensityFill({WorldPoint{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, NaN);
  d.DeviceDensityFill({WorldPoint{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, 0);
  d.DeviceDensityFill({WorldPoint{0, 0, 0}, {NaN, 0, 0}, {0, 10, 0}}, 0.5);
  const auto fills = d.OfType(Op::Stipple);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_DOUBLE_EQ(fills[0].density, 1.0);
  for (IntPoint p : fills[0].polygon) EXPECT_LE(p.x, 2339);
}

// A solid fill is clipped like the density fill, keeps its own colour and leaves the pen alone;
// the screen overlays and unusable polygons get nothing.
TEST(SolidFill, ClipsKeepsItsColourAndSkipsWhatCannotBeDrawn) {
  const SettingsRecord s = PlainSheet();
  RecordingDevice d = Printer(s);
  const std::vector<WorldPoint> wide{{0, 0, 0}, {10000, 0, 0}, {10000, 10, 0}, {0, 10, 0}};
  d.DeviceFillPolygon(wide, MakeColour(10, 20, 30));
  d.DeviceFillPolygon(std::span(wide).first(2), 0);
  d.DeviceFillPolygon(std::vector<WorldPoint>{{0, 0, 0}, {Inf, 0, 0}, {0, 10, 0}}, 0);
  const auto fills = d.OfType(Op::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].colour, MakeColour(10, 20, 30));
  EXPECT_GE(fills[0].polygon.size(), 4u);
  for (IntPoint p : fills[0].polygon) EXPECT_LE(p.x, 2339);
  EXPECT_TRUE(d.OfType(Op::PenColour).empty());

  // One that covers no pixel (here a sliver narrower than a pixel) is not sent either.
  d.DeviceFillPolygon(std::vector<WorldPoint>{{0, 0, 0}, {0.1, 0, 0}, {0.1, 50, 0}}, 0);
  EXPECT_EQ(d.OfType(Op::Fill).size(), 1u);

  RecordingDevice overlay(DeviceKind::ScreenOverlay, ViewTransform::FromSettings(s), PrinterFrame(s));
  overlay.DeviceFillPolygon(wide, 0);
  EXPECT_TRUE(overlay.ops.empty());
}

// ---- The 3-D projection ---------------------------------------------------------------------

TEST(Projection3D, TheTargetProjectsToThePageCentre) {
  SettingsRecord s = PlainSheet();
  model::SurfaceModel m;
  m.MinX = -50, m.MaxX = 50, m.MinY = -50, m.MaxY = 50;
  s.Set(settings::View3DOptions::TargetX, 0.0);
  s.Set(settings::View3DOptions::TargetY, 0.0);
  s.Set(settings::View3DOptions::TargetZ, 0.0);
  ViewTransform t = ViewTransform::FromSettings(s);
  t.UsePerspective(Prepare3DProjection(s, m));
  const PixelPoint c = t.ToPage(0, 0, 0);
  EXPECT_DOUBLE_EQ(c.x, HalfW);
  EXPECT_DOUBLE_EQ(c.y, HalfH);
  // Seen from the south-east, a point east of the target is to the right and one above it up.
  EXPECT_GT(t.ToPage(10, 0, 0).x, HalfW);
  EXPECT_LT(t.ToPage(0, 0, 10).y, HalfH);
  EXPECT_EQ(t.PageToWorld({0, 0}).x, 0.0);
}

TEST(Projection3D, AViewStraightDownGetsItsDefaultDirectionAndAPointModelFitsAtOne) {
  SettingsRecord s = PlainSheet();
  s.Set(settings::View3DOptions::ViewOffsetX, 0.0);
  s.Set(settings::View3DOptions::ViewOffsetY, 0.00001);
  model::SurfaceModel m;
  const Projection3D p = Prepare3DProjection(s, m);
  EXPECT_EQ(s.Get(settings::View3DOptions::ViewOffsetX), 15000.0);
  EXPECT_EQ(s.Get(settings::View3DOptions::ViewOffsetY), -15000.0);
  EXPECT_EQ(p.F, 1.0);
}

// A view due north along the ground from 1000 feet south of the target at the origin, with a
// true perspective (eye factor 0) and a model whose plan diagonal makes the fit factor exactly
// 1: a point at the target's depth lands as many page pixels off the centre as it lies feet off
// the target, and one half way to the eye twice as far.
struct NorthView {
  SettingsRecord s = PlainSheet();
  model::SurfaceModel m;
  Projection3D p;
  ViewTransform t;

  explicit NorthView(double offsetX = 0, double offsetY = -1000, double offsetZ = 0) {
    namespace v3 = settings::View3DOptions;
    s.Set(v3::View3D, true);
    s.Set(v3::TargetX, 0.0);
    s.Set(v3::TargetY, 0.0);
    s.Set(v3::TargetZ, 0.0);
    s.Set(v3::EyeFactor, 0.0);
    s.Set(v3::ViewOffsetX, offsetX);
    s.Set(v3::ViewOffsetY, offsetY);
    s.Set(v3::ViewOffsetZ, offsetZ);
    // F = 1.8 x the printable width (the shorter side) / D.
    m.MinX = 0, m.MaxX = 1.8 * 2340, m.MinY = 0, m.MaxY = 0;
    p = Prepare3DProjection(s, m);
    t = CurrentViewTransform(s, m);
  }
};

struct ProjectionCase {
  const char* name;
  WorldPoint point;
  double right, up;  // page pixels from the centre of the printable area
};

void PrintTo(const ProjectionCase& c, std::ostream* os) { *os << c.name; }

class ProjectionPoints : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(ProjectionPoints, LandWhereThePerspectivePutsThem) {
  const ProjectionCase& c = GetParam();
  const NorthView view;
  ASSERT_DOUBLE_EQ(view.p.F, 1.0);
  const PixelPoint page = view.t.ToPage(c.point.x, c.point.y, c.point.z);
  EXPECT_DOUBLE_EQ(page.x, HalfW + c.right);
  EXPECT_DOUBLE_EQ(page.y, HalfH - c.up);
}

INSTANTIATE_TEST_SUITE_P(
    NorthView, ProjectionPoints,
    ::testing::Values(ProjectionCase{"target", {0, 0, 0}, 0, 0}, ProjectionCase{"east", {100, 0, 0}, 100, 0},
                      ProjectionCase{"west", {-100, 0, 0}, -100, 0}, ProjectionCase{"above", {0, 0, 100}, 0, 100},
                      ProjectionCase{"beyond the target", {0, 500, 0}, 0, 0},
                      ProjectionCase{"half way to the eye", {100, -500, 50}, 200, 100},
                      ProjectionCase{"farther off", {100, 1000, 50}, 50, 25},
                      ProjectionCase{"rounded half to even", {2.5, 0, 0}, 2, 0}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

// A view from the south-west and its mirror image from the south-east see mirrored pictures.
TEST(Projection3D, MirroredViewsSeeMirroredPictures) {
  const NorthView left(-700, -700, 300), right(700, -700, 300);
  for (const WorldPoint w : {WorldPoint{120, 40, 15}, WorldPoint{-60, 300, -20}, WorldPoint{0, -200, 80}}) {
    const PixelPoint a = left.t.ToPage(w.x, w.y, w.z);
    const PixelPoint b = right.t.ToPage(-w.x, w.y, w.z);
    EXPECT_DOUBLE_EQ(a.x - HalfW, HalfW - b.x);
    EXPECT_DOUBLE_EQ(a.y, b.y);
  }
}

// With every option at its built-in value, a 1000 x 1000 foot site with 60 feet of relief shows
// whole on the sheet and fills most of its width.
TEST(Projection3D, TheBuiltInViewShowsAThousandFootSiteWhole) {
  SettingsRecord s = DefaultSettings();
  s.Set(settings::View3DOptions::View3D, true);
  model::SurfaceModel m;
  m.MinX = 5000, m.MaxX = 6000, m.MinY = 2000, m.MaxY = 3000, m.MinZ = 100, m.MaxZ = 160;
  s.Set(settings::View3DOptions::TargetX, 5500.0);
  s.Set(settings::View3DOptions::TargetY, 2500.0);
  s.Set(settings::View3DOptions::TargetZ, 130.0);
  const ViewTransform t = CurrentViewTransform(s, m);
  double left = HalfW, right = HalfW;
  for (const double x : {m.MinX, m.MaxX})
    for (const double y : {m.MinY, m.MaxY})
      for (const double z : {m.MinZ, m.MaxZ}) {
        const PixelPoint p = t.ToPage(x, y, z);
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, 2 * HalfW);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, 2 * HalfH);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
      }
  EXPECT_GT(right - left, 0.8 * 2 * HalfW);
}

// Segments against the near plane, seen from the north view: the part in front of the plane is
// drawn and nothing of what lies behind the eye, which the perspective would turn over into
// long false lines across the picture.
struct NearPlaneCase {
  const char* name;
  WorldPoint from, to;
  bool drawn;
  bool cut;  // the drawn part ends at the plane
};

void PrintTo(const NearPlaneCase& c, std::ostream* os) { *os << c.name; }

class NearPlane : public ::testing::TestWithParam<NearPlaneCase> {};

TEST_P(NearPlane, KeepsThePartInFrontOfTheEye) {
  const NearPlaneCase& c = GetParam();
  const NorthView view;
  const auto part = ClipToNearPlane(view.p, c.from, c.to);
  ASSERT_EQ(part.has_value(), c.drawn);
  if (part) {
    for (const WorldPoint& w : *part) EXPECT_LT(ViewDepth(view.p, w.x, w.y, w.z), NearPlaneDepth + 1e-12);
    const bool cut = !(std::fabs((*part)[0].y - c.from.y) < 1e-9 && std::fabs((*part)[1].y - c.to.y) < 1e-9);
    EXPECT_EQ(cut, c.cut);
  }

  // On the printer: every segment lies on the side of the picture the point in front is on.
  RecordingDevice d(DeviceKind::Printer, view.t, PrinterFrame(view.s));
  d.DevicePlot(false, c.from.x, c.from.y, c.from.z);
  d.DevicePenDown();
  d.DevicePlot(false, c.to.x, c.to.y, c.to.z);
  d.DevicePenUp();
  const auto lines = d.Lines();
  EXPECT_EQ(!lines.empty(), c.drawn);
  for (const auto& [a, b] : lines) {
    EXPECT_GE(a.x, HalfW - 1);
    EXPECT_GE(b.x, HalfW - 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    NorthView, NearPlane,
    ::testing::Values(NearPlaneCase{"in front", {100, 0, 0}, {100, 300, 0}, true, false},
                      NearPlaneCase{"crossing towards the eye", {100, 0, 0}, {100, -2000, 0}, true, true},
                      NearPlaneCase{"crossing away from the eye", {100, -2000, 0}, {100, 0, 0}, true, true},
                      NearPlaneCase{"through the eye", {100, 0, 0}, {-100, -2000, 0}, true, true},
                      NearPlaneCase{"behind", {100, -1500, 0}, {300, -2500, 10}, false, false},
                      NearPlaneCase{"in the plane of the eye", {100, -1000, 0}, {-100, -1000, 0}, false, false}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

// Fills, texts and markers behind the eye: a polygon across the plane keeps its front part;
// what lies wholly behind draws nothing, and nothing that cannot be placed reaches the canvas.
TEST(Projection3D, FillsTextsAndMarkersBehindTheEyeAreCutOrLeftOut) {
  const NorthView view;
  RecordingDevice d(DeviceKind::Printer, view.t, PrinterFrame(view.s));
  // Ground below the eye, from beyond the target to behind the eye.
  const std::vector<WorldPoint> across{{10, 200, -50}, {60, 200, -50}, {60, -3000, -50}, {10, -3000, -50}};
  d.DeviceFillPolygon(across, MakeColour(1, 2, 3));
  const std::vector<WorldPoint> behind{{10, -1200, -50}, {60, -1200, -50}, {60, -3000, -50}};
  d.DeviceFillPolygon(behind, MakeColour(1, 2, 3));
  d.DeviceSetTextStyle(0, 10);
  d.DeviceText("A", 0, 0, -1500, 0, 1);
  d.DeviceMarker(0, 0, -1500, 0, 10);
  const auto fills = d.OfType(Op::Fill);
  ASSERT_EQ(fills.size(), 1u);
  for (const IntPoint p : fills[0].polygon) EXPECT_GE(p.x, HalfW);
  EXPECT_TRUE(d.OfType(Op::Text).empty());
  EXPECT_TRUE(d.Lines().empty());
}

}  // namespace
}  // namespace terravue::device

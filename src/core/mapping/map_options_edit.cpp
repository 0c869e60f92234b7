#include "mapping/map_options_edit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"

namespace terravue::mapping {
namespace {

constexpr double MinLabelFrequency = 1;
constexpr double MaxLabelFrequency = 50;
constexpr double MaxTension = 10;
constexpr std::uint32_t MaxColourValue = 0xFFFFFF;
constexpr std::size_t MaxCustomColours = 16;
constexpr std::string_view MinLengthText = "0.001";

std::string Fixed3(double v) { return FormatReal(v, 0, 3); }
std::string Whole(long long v) { return FormatInteger(v, 0); }

bool Surveyors(const SettingsRecord& s) { return s.Get(settings::AngleConvention) == 1; }

// Degrees reduced into [0, 360).
double ReduceDegrees(double degrees) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0) r += 360;
  return r >= 360 ? 0 : r;
}

// A range check: its bounds (either may be absent) and how the message shows them. A range
// with both bounds is reported as one ("Value must range from: ..."), unless `separateEnds`
// reports each end as a minimum or a maximum of its own.
struct Range {
  std::optional<double> low, high;
  std::string_view message;
  std::string_view lowText, highText;
  bool separateEnds = false;
};

Range AtLeast(double low, std::string_view message, std::string_view lowText) {
  return {low, std::nullopt, message, lowText, {}, false};
}

Range Between(double low, double high, std::string_view message, std::string_view lowText,
              std::string_view highText) {
  return {low, high, message, lowText, highText, false};
}

Range MinimumAndMaximum(double low, double high, std::string_view message, std::string_view lowText,
                        std::string_view highText) {
  return {low, high, message, lowText, highText, true};
}

// Parses and checks one field at a time, storing what passes and counting what does not.
class PageStore {
 public:
  PageStore(UserPort& port, SettingsRecord& settings) : port_(port), s_(settings) {}

  std::optional<double> Real(std::string_view text, std::string_view parseMessage,
                             const std::optional<Range>& range = std::nullopt) {
    const auto v = ParseReal(text);
    if (!v) {
      Refuse(parseMessage);
      return std::nullopt;
    }
    if (range && !InRange(*v, *range)) return std::nullopt;
    return v;
  }

  std::optional<long long> Integer(std::string_view text, std::string_view parseMessage,
                                   const Range& range) {
    const auto v = ParseInteger(text);
    if (!v) {
      Refuse(parseMessage);
      return std::nullopt;
    }
    if (!InRange(static_cast<double>(*v), range)) return std::nullopt;
    return v;
  }

  void StoreReal(F64Field f, std::string_view text, std::string_view parseMessage,
                 const std::optional<Range>& range = std::nullopt) {
    if (const auto v = Real(text, parseMessage, range)) s_.Set(f, *v);
  }

  void StoreI16(I16Field f, std::string_view text, std::string_view parseMessage, const Range& range) {
    if (const auto v = Integer(text, parseMessage, range)) s_.Set(f, static_cast<std::int16_t>(*v));
  }

  void StoreU16(U16Field f, std::string_view text, std::string_view parseMessage, const Range& range) {
    if (const auto v = Integer(text, parseMessage, range)) s_.Set(f, static_cast<std::uint16_t>(*v));
  }

  // List choices come from the dialog's own lists; held inside them all the same.
  void StoreChoice(U8Field f, int index, int count) {
    s_.Set(f, static_cast<std::uint8_t>(std::clamp(index, 0, count - 1)));
  }
  void StoreWidth(I32Field f, int index) { s_.Set(f, device::ClampWidthIndex(index)); }
  void StoreColour(ColourField f, std::uint32_t c) { s_.Set(f, c & MaxColourValue); }
  void StoreBool(BoolField f, bool v) { s_.Set(f, v); }
  // Titles longer than the field were stopped by the dialog; one that still does not fit is
  // refused as a whole rather than cut.
  void StoreText(TextField f, std::string_view text) {
    if (!s_.Set(f, text)) ++refused_;
  }

  SettingsRecord& Settings() { return s_; }
  UserPort& Port() { return port_; }
  int Refused() const { return refused_; }

 private:
  void Refuse(std::string_view message) {
    port_.ShowError(message);
    ++refused_;
  }

  bool InRange(double v, const Range& r) {
    const bool below = r.low && v < *r.low;
    const bool above = r.high && v > *r.high;
    if (!below && !above) return true;
    if (r.low && r.high && !r.separateEnds)
      ReportOutOfRange(port_, r.message, r.lowText, r.highText);
    else if (below)
      ReportBelowMinimum(port_, r.message, r.lowText);
    else
      ReportAboveMaximum(port_, r.message, r.highText);
    ++refused_;
    return false;
  }

  UserPort& port_;
  SettingsRecord& s_;
  int refused_ = 0;
};

Range TextHeightRange(std::string_view message) { return AtLeast(device::MinLength, message, MinLengthText); }

Range MultipleRange(std::string_view message) {
  return MinimumAndMaximum(0, device::MaxMultiple, message, "0", "32767");
}

}  // namespace

// ---- Pages and their groups -----------------------------------------------------------------

std::string_view PageCaption(MapOptionPage page) {
  switch (page) {
    case MapOptionPage::Triangles: return msg::SetTriangleOptionsCaption;
    case MapOptionPage::Breaklines: return msg::SetBreaklineOptionsCaption;
    case MapOptionPage::SurfaceGrid: return msg::SetSurfaceGridOptionsCaption;
    case MapOptionPage::Contours: return msg::SetContourOptionsCaption;
    case MapOptionPage::Border: return msg::SetBorderOptionsCaption;
    case MapOptionPage::Points: return msg::SetPointOptionsCaption;
    case MapOptionPage::Miscellaneous: return msg::SetMiscOptionsCaption;
    case MapOptionPage::Titles: return msg::SetTitleOptionsCaption;
    case MapOptionPage::SurfaceAnalyzer: return msg::SetAnalyzerOptionsCaption;
  }
  return {};
}

BoolField ShowFlagOf(MapOptionPage page) {
  switch (page) {
    case MapOptionPage::Triangles: return device::TriangleOptions::Show;
    case MapOptionPage::Breaklines: return device::BreaklineOptions::Show;
    case MapOptionPage::SurfaceGrid: return device::SurfaceGridOptions::Show;
    case MapOptionPage::Contours: return device::ContourOptions::Show;
    case MapOptionPage::Border: return device::BorderOptions::Show;
    case MapOptionPage::Points: return device::PointOptions::Show;
    case MapOptionPage::Miscellaneous: return device::MiscOptions::Show;
    case MapOptionPage::Titles: return device::TitleOptions::Show;
    case MapOptionPage::SurfaceAnalyzer: return device::AnalyzerOptions::Show;
  }
  return device::TriangleOptions::Show;
}

bool GroupAvailable(MapOptionPage page, const model::SurfaceModel& m) {
  switch (page) {
    case MapOptionPage::Triangles:
    case MapOptionPage::Contours:
    case MapOptionPage::SurfaceAnalyzer: return m.TriangleCount > 0;
    case MapOptionPage::Breaklines: return m.BreaklineCount > 0;
    default: return m.PointCount > 0;
  }
}

std::string CleanFieldText(std::string_view text, NumberKind kind, std::string_view remembered) {
  std::string cleaned;
  switch (kind) {
    case NumberKind::Real: cleaned = CleanNumberText(text, true); break;
    case NumberKind::SignedReal: cleaned = CleanSignedReal(text); break;
    case NumberKind::Integer: cleaned = CleanNumberText(text, false); break;
  }
  return cleaned.empty() ? std::string(remembered) : cleaned;
}

std::vector<std::string> WidthListTexts() {
  std::vector<std::string> texts;
  for (int w : device::WidthList) texts.push_back(std::to_string(w));
  return texts;
}

std::vector<std::uint32_t> ParseCustomColours(std::string_view text) {
  std::vector<std::uint32_t> colours;
  while (!text.empty() && colours.size() < MaxCustomColours) {
    const auto comma = text.find(',');
    const auto item = text.substr(0, comma);
    if (const auto v = ParseInteger(item); v && *v >= 0 && *v <= MaxColourValue)
      colours.push_back(static_cast<std::uint32_t>(*v));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return colours;
}

std::string FormatCustomColours(const std::vector<std::uint32_t>& colours) {
  std::string text;
  for (std::size_t i = 0; i < colours.size() && i < MaxCustomColours; ++i) {
    const std::string item = std::to_string(colours[i] & MaxColourValue);
    if (text.size() + item.size() + 1 > device::CustomColours.capacity) break;
    if (!text.empty()) text += ',';
    text += item;
  }
  return text;
}

// ---- Triangles, breaklines, border, miscellaneous -------------------------------------------

TrianglePage LoadTrianglePage(const SettingsRecord& s) {
  using namespace device::TriangleOptions;
  return {s.Get(Colour), s.Get(Width)};
}

int StoreTrianglePage(UserPort& port, SettingsRecord& s, const TrianglePage& p) {
  using namespace device::TriangleOptions;
  PageStore st(port, s);
  st.StoreColour(Colour, p.colour);
  st.StoreWidth(Width, p.width);
  return st.Refused();
}

BreaklinePage LoadBreaklinePage(const SettingsRecord& s) {
  using namespace device::BreaklineOptions;
  BreaklinePage p;
  p.colour = s.Get(Colour);
  p.width = s.Get(Width);
  p.showNumbers = s.Get(ShowNumbers);
  p.textHeight = Fixed3(s.Get(TextHeight));
  p.textColour = s.Get(TextColour);
  return p;
}

int StoreBreaklinePage(UserPort& port, SettingsRecord& s, const BreaklinePage& p) {
  using namespace device::BreaklineOptions;
  PageStore st(port, s);
  st.StoreColour(Colour, p.colour);
  st.StoreWidth(Width, p.width);
  st.StoreBool(ShowNumbers, p.showNumbers);
  st.StoreReal(TextHeight, p.textHeight, msg::InvalidBreaklineNumberTextHeight,
               TextHeightRange(msg::BreaklineTextHeightOutOfRange));
  st.StoreColour(TextColour, p.textColour);
  return st.Refused();
}

BorderPage LoadBorderPage(const SettingsRecord& s) {
  using namespace device::BorderOptions;
  return {s.Get(Colour), s.Get(Width), s.Get(DrawAtMinimumElevation), s.Get(ProjectToMinimumElevation)};
}

int StoreBorderPage(UserPort& port, SettingsRecord& s, const BorderPage& p) {
  using namespace device::BorderOptions;
  PageStore st(port, s);
  st.StoreColour(Colour, p.colour);
  st.StoreWidth(Width, p.width);
  st.StoreBool(DrawAtMinimumElevation, p.drawAtMinimumElevation);
  st.StoreBool(ProjectToMinimumElevation, p.projectToMinimumElevation);
  return st.Refused();
}

MiscPage LoadMiscPage(const SettingsRecord& s) {
  using namespace device::MiscOptions;
  MiscPage p;
  p.showLimits = s.Get(ShowLimits);
  p.showNorthArrow = s.Get(ShowNorthArrow);
  p.showScaleBar = s.Get(ShowScaleBar);
  p.northAngle = Fixed3(s.Get(NorthAngle));
  p.textHeight = Fixed3(s.Get(TextHeight));
  p.colour = s.Get(Colour);
  return p;
}

int StoreMiscPage(UserPort& port, SettingsRecord& s, const MiscPage& p) {
  using namespace device::MiscOptions;
  PageStore st(port, s);
  st.StoreBool(ShowLimits, p.showLimits);
  st.StoreBool(ShowNorthArrow, p.showNorthArrow);
  st.StoreBool(ShowScaleBar, p.showScaleBar);
  if (const auto angle = st.Real(p.northAngle, msg::InvalidArrowAngle))
    s.Set(NorthAngle, ReduceDegrees(*angle));
  st.StoreReal(TextHeight, p.textHeight, msg::InvalidTextHeight,
               TextHeightRange(msg::ScaleBarTextHeightOutOfRange));
  st.StoreColour(Colour, p.colour);
  return st.Refused();
}

// ---- Surface grid and contours --------------------------------------------------------------

SurfaceGridPage LoadSurfaceGridPage(const SettingsRecord& s) {
  using namespace device::SurfaceGridOptions;
  SurfaceGridPage p;
  p.intervalX = Fixed3(s.Get(IntervalX));
  p.intervalY = Fixed3(s.Get(IntervalY));
  p.multiple = Whole(s.Get(Multiple));
  p.primaryColour = s.Get(PrimaryColour);
  p.multipleColour = s.Get(MultipleColour);
  p.primaryWidth = s.Get(PrimaryWidth);
  p.multipleWidth = s.Get(MultipleWidth);
  p.textMode = s.Get(TextMode);
  p.textHeight = Fixed3(s.Get(TextHeight));
  p.textDecimals = s.Get(TextDecimals);
  p.textColour = s.Get(TextColour);
  p.dashMode = s.Get(DashMode);
  p.dashLength = Fixed3(s.Get(DashLength));
  p.spaceLength = Fixed3(s.Get(SpaceLength));
  return p;
}

int StoreSurfaceGridPage(UserPort& port, SettingsRecord& s, const SurfaceGridPage& p) {
  using namespace device::SurfaceGridOptions;
  PageStore st(port, s);
  st.StoreReal(IntervalX, p.intervalX, msg::InvalidGridXInterval,
               AtLeast(device::MinLength, msg::GridXIntervalOutOfRange, MinLengthText));
  st.StoreReal(IntervalY, p.intervalY, msg::InvalidGridYInterval,
               AtLeast(device::MinLength, msg::GridYIntervalOutOfRange, MinLengthText));
  st.StoreI16(Multiple, p.multiple, msg::InvalidGridMultiple, MultipleRange(msg::GridMultipleOutOfRange));
  st.StoreColour(PrimaryColour, p.primaryColour);
  st.StoreColour(MultipleColour, p.multipleColour);
  st.StoreWidth(PrimaryWidth, p.primaryWidth);
  st.StoreWidth(MultipleWidth, p.multipleWidth);
  st.StoreChoice(TextMode, p.textMode, LineSelectionCount);
  st.StoreReal(TextHeight, p.textHeight, msg::InvalidGridTextHeight,
               TextHeightRange(msg::GridTextHeightOutOfRange));
  st.StoreChoice(TextDecimals, p.textDecimals, DecimalsCount);
  st.StoreColour(TextColour, p.textColour);
  st.StoreChoice(DashMode, p.dashMode, LineSelectionCount);
  st.StoreReal(DashLength, p.dashLength, msg::InvalidGridDashLength,
               AtLeast(device::MinLength, msg::DashLengthOutOfRange, MinLengthText));
  st.StoreReal(SpaceLength, p.spaceLength, msg::InvalidGridSpaceLength,
               AtLeast(device::MinLength, msg::SpaceLengthOutOfRange, MinLengthText));
  return st.Refused();
}

ContourPage LoadContourPage(const SettingsRecord& s) {
  using namespace device::ContourOptions;
  ContourPage p;
  p.interval = Fixed3(s.Get(Interval));
  p.multiple = Whole(s.Get(Multiple));
  p.primaryColour = s.Get(PrimaryColour);
  p.multipleColour = s.Get(MultipleColour);
  p.primaryWidth = s.Get(PrimaryWidth);
  p.multipleWidth = s.Get(MultipleWidth);
  p.labelMode = s.Get(LabelMode);
  p.labelDecimals = s.Get(LabelDecimals);
  p.labelDirection = s.Get(LabelDirection);
  p.labelFrequency = Fixed3(s.Get(LabelFrequency));
  p.textHeight = Fixed3(s.Get(TextHeight));
  p.textColour = s.Get(TextColour);
  p.dashMode = s.Get(DashMode);
  p.dashLength = Fixed3(s.Get(DashLength));
  p.spaceLength = Fixed3(s.Get(SpaceLength));
  p.smooth = s.Get(Smooth);
  p.segments = Whole(s.Get(Segments));
  p.tension = Fixed3(s.Get(Tension));
  p.rangeSpecified = s.Get(RangeSpecified);
  p.minimum = Fixed3(s.Get(Minimum));
  p.maximum = Fixed3(s.Get(Maximum));
  p.base = Fixed3(s.Get(Base));
  return p;
}

int StoreContourPage(UserPort& port, SettingsRecord& s, const ContourPage& p) {
  using namespace device::ContourOptions;
  PageStore st(port, s);
  st.StoreReal(Interval, p.interval, msg::InvalidContourInterval,
               AtLeast(device::MinLength, msg::ContourIntervalOutOfRange, MinLengthText));
  st.StoreI16(Multiple, p.multiple, msg::InvalidContourMultiple,
              MultipleRange(msg::ContourMultipleOutOfRange));
  st.StoreColour(PrimaryColour, p.primaryColour);
  st.StoreColour(MultipleColour, p.multipleColour);
  st.StoreWidth(PrimaryWidth, p.primaryWidth);
  st.StoreWidth(MultipleWidth, p.multipleWidth);
  st.StoreChoice(LabelMode, p.labelMode, LineSelectionCount);
  st.StoreChoice(LabelDecimals, p.labelDecimals, DecimalsCount);
  st.StoreChoice(LabelDirection, p.labelDirection, 2);
  st.StoreBool(RangeSpecified, p.rangeSpecified);
  st.StoreReal(Minimum, p.minimum, msg::InvalidMinimumContour);
  st.StoreReal(Maximum, p.maximum, msg::InvalidMaximumContour);
  st.StoreReal(Base, p.base, msg::InvalidBaseContour);
  st.StoreReal(TextHeight, p.textHeight, msg::InvalidContourTextHeight,
               TextHeightRange(msg::ContourTextHeightOutOfRange));
  st.StoreColour(TextColour, p.textColour);
  st.StoreReal(LabelFrequency, p.labelFrequency, msg::InvalidLabelFrequency,
               Between(MinLabelFrequency, MaxLabelFrequency, msg::LabelFrequencyOutOfRange, "1.0", "50.0"));
  st.StoreChoice(DashMode, p.dashMode, LineSelectionCount);
  st.StoreReal(DashLength, p.dashLength, msg::InvalidDashLength,
               AtLeast(device::MinLength, msg::DashLengthOutOfRange, MinLengthText));
  st.StoreReal(SpaceLength, p.spaceLength, msg::InvalidSpaceLength,
               AtLeast(device::MinLength, msg::SpaceLengthOutOfRange, MinLengthText));
  st.StoreBool(Smooth, p.smooth);
  st.StoreU16(Segments, p.segments, msg::InvalidSegments,
              MinimumAndMaximum(device::MinSegments, device::MaxSegments, msg::SegmentsOutOfRange, "3", "100"));
  st.StoreReal(Tension, p.tension, msg::InvalidTension,
               Between(0, MaxTension, msg::TensionOutOfRange, "0.0", "10.0"));
  return st.Refused();
}

// ---- Points and titles ----------------------------------------------------------------------

PointPage LoadPointPage(const SettingsRecord& s) {
  using namespace device::PointOptions;
  PointPage p;
  p.maintainScale = s.Get(MaintainScale);
  p.markerColour = s.Get(MarkerColour);
  p.markerKind = s.Get(MarkerKind);
  p.markerHeight = Fixed3(s.Get(MarkerHeight));
  p.labelColour = s.Get(LabelColour);
  p.showNumber = s.Get(ShowNumber);
  p.showLabel = s.Get(ShowLabel);
  p.showElevation = s.Get(ShowElevation);
  p.declutter = s.Get(Declutter);
  p.textHeight = Fixed3(s.Get(TextHeight));
  double degrees = s.Get(TextAngle) * 180 / std::numbers::pi;
  if (Surveyors(s)) degrees = -degrees;
  p.textAngle = Fixed3(ReduceDegrees(degrees));
  p.elevationDecimals = s.Get(ElevationDecimals);
  p.showPath = s.Get(ShowPath);
  p.pathArrowHeads = s.Get(PathArrowHeads);
  p.pathWidth = s.Get(PathWidth);
  return p;
}

int StorePointPage(UserPort& port, SettingsRecord& s, const PointPage& p) {
  using namespace device::PointOptions;
  PageStore st(port, s);
  st.StoreBool(MaintainScale, p.maintainScale);
  st.StoreColour(MarkerColour, p.markerColour);
  st.StoreChoice(MarkerKind, p.markerKind, MarkerChoiceCount);
  st.StoreReal(MarkerHeight, p.markerHeight, msg::InvalidMarkerHeight);
  st.StoreColour(LabelColour, p.labelColour);
  st.StoreBool(ShowNumber, p.showNumber);
  st.StoreBool(ShowLabel, p.showLabel);
  st.StoreBool(ShowElevation, p.showElevation);
  st.StoreBool(Declutter, p.declutter);
  st.StoreReal(TextHeight, p.textHeight, msg::InvalidTextHeight,
               TextHeightRange(msg::PointTextHeightOutOfRange));
  if (const auto degrees = st.Real(p.textAngle, msg::InvalidTextAngle)) {
    // Typed as the angle convention shows angles; kept counter-clockwise from East.
    const double radians = ReduceDegrees(*degrees) * std::numbers::pi / 180;
    s.Set(TextAngle, Surveyors(s) ? -radians : radians);
  }
  st.StoreChoice(ElevationDecimals, p.elevationDecimals, DecimalsCount);
  st.StoreBool(ShowPath, p.showPath);
  st.StoreBool(PathArrowHeads, p.pathArrowHeads);
  st.StoreWidth(PathWidth, p.pathWidth);
  return st.Refused();
}

TitlePage LoadTitlePage(const SettingsRecord& s) {
  using namespace device::TitleOptions;
  TitlePage p;
  p.useTitleBoxes = s.Get(UseTitleBoxes);
  p.showTitle = s.Get(ShowTitle);
  p.showScale = s.Get(ShowScale);
  p.showDate = s.Get(ShowDate);
  p.showTime = s.Get(ShowTime);
  p.showFileName = s.Get(ShowFileName);
  p.showFileComment = s.Get(ShowFileComment);
  p.showComment = s.Get(ShowComment);
  p.titleText = s.Get(TitleText);
  p.client1 = s.Get(Client1);
  p.client2 = s.Get(Client2);
  p.location1 = s.Get(Location1);
  p.location2 = s.Get(Location2);
  p.comment1 = s.Get(Comment1);
  p.comment2 = s.Get(Comment2);
  p.titleTextHeight = Fixed3(s.Get(TitleTextHeight));
  p.miscTextHeight = Fixed3(s.Get(MiscTextHeight));
  p.titleColour = s.Get(TitleColour);
  p.miscTextColour = s.Get(MiscTextColour);
  return p;
}

int StoreTitlePage(UserPort& port, SettingsRecord& s, const TitlePage& p) {
  using namespace device::TitleOptions;
  PageStore st(port, s);
  st.StoreBool(UseTitleBoxes, p.useTitleBoxes);
  st.StoreBool(ShowTitle, p.showTitle);
  st.StoreBool(ShowScale, p.showScale);
  st.StoreBool(ShowDate, p.showDate);
  st.StoreBool(ShowTime, p.showTime);
  st.StoreBool(ShowFileName, p.showFileName);
  st.StoreBool(ShowFileComment, p.showFileComment);
  st.StoreBool(ShowComment, p.showComment);
  st.StoreText(TitleText, p.titleText);
  st.StoreText(Client1, p.client1);
  st.StoreText(Client2, p.client2);
  st.StoreText(Location1, p.location1);
  st.StoreText(Location2, p.location2);
  st.StoreText(Comment1, p.comment1);
  st.StoreText(Comment2, p.comment2);
  st.StoreReal(TitleTextHeight, p.titleTextHeight, msg::InvalidTextHeight,
               TextHeightRange(msg::TitleTextHeightOutOfRange));
  st.StoreReal(MiscTextHeight, p.miscTextHeight, msg::InvalidTextHeight,
               TextHeightRange(msg::MiscTextHeightOutOfRange));
  st.StoreColour(TitleColour, p.titleColour);
  st.StoreColour(MiscTextColour, p.miscTextColour);
  return st.Refused();
}

// ---- Surface analyzer -----------------------------------------------------------------------

AnalyzerPage LoadAnalyzerPage(const SettingsRecord& s) {
  using namespace device::AnalyzerOptions;
  AnalyzerPage p;
  p.vectorColour = s.Get(VectorColour);
  p.vectorWidth = s.Get(VectorWidth);
  p.densityMode = !s.Get(ShowDensity) ? 0 : s.Get(DensityBySlope) ? 2 : 1;
  p.reversePattern = s.Get(ReversePattern);
  p.densityColour = s.Get(DensityColour);
  p.showDownSlope = s.Get(ShowDownSlope);
  p.arrowMagnitude = Fixed3(s.Get(ArrowMagnitude));
  p.proportionalArrows = s.Get(ProportionalArrows);
  p.arrowsAtTriangleCentres = s.Get(ArrowsAtTriangleCentres);
  p.arrowsAtGridPoints = s.Get(ArrowsAtGridPoints);
  p.downSlopeGridSpacing = Fixed3(s.Get(DownSlopeGridSpacing));
  p.downSlopeColour = s.Get(DownSlopeColour);
  p.downSlopeWidth = s.Get(DownSlopeWidth);
  p.showFlowPath = s.Get(ShowFlowPath);
  p.startAtPoints = s.Get(StartAtPoints);
  p.startAtTriangleCentres = s.Get(StartAtTriangleCentres);
  p.startAtGridPoints = s.Get(StartAtGridPoints);
  p.flowGridSpacing = Fixed3(s.Get(FlowGridSpacing));
  p.continueFromEnds = s.Get(ContinueFromEnds);
  p.showWatersheds = s.Get(ShowWatersheds);
  p.flowColour = s.Get(FlowColour);
  p.flowWidth = s.Get(FlowWidth);
  p.watershedColour = s.Get(WatershedColour);
  p.watershedWidth = s.Get(WatershedWidth);
  p.showRidges = s.Get(ShowRidges);
  p.continueFromRidgeEnds = s.Get(ContinueFromRidgeEnds);
  p.ridgeColour = s.Get(RidgeColour);
  p.ridgeWidth = s.Get(RidgeWidth);
  p.showCutFill = s.Get(ShowCutFill);
  return p;
}

int StoreAnalyzerPage(UserPort& port, SettingsRecord& s, const AnalyzerPage& p) {
  using namespace device::AnalyzerOptions;
  PageStore st(port, s);
  const Range spacing = AtLeast(device::MinLength, {}, MinLengthText);
  auto within = [&](std::string_view message) {
    Range r = spacing;
    r.message = message;
    return r;
  };
  st.StoreColour(VectorColour, p.vectorColour);
  st.StoreWidth(VectorWidth, p.vectorWidth);
  const int mode = std::clamp(p.densityMode, 0, DensityModeCount - 1);
  st.StoreBool(ShowDensity, mode != 0);
  st.StoreBool(DensityBySlope, mode == 2);
  st.StoreBool(ReversePattern, p.reversePattern);
  st.StoreColour(DensityColour, p.densityColour);
  st.StoreBool(ShowDownSlope, p.showDownSlope);
  st.StoreReal(ArrowMagnitude, p.arrowMagnitude, msg::InvalidArrowMagnitude,
               within(msg::ArrowMagnitudeOutOfRange));
  st.StoreBool(ProportionalArrows, p.proportionalArrows);
  st.StoreBool(ArrowsAtTriangleCentres, p.arrowsAtTriangleCentres);
  st.StoreBool(ArrowsAtGridPoints, p.arrowsAtGridPoints);
  st.StoreReal(DownSlopeGridSpacing, p.downSlopeGridSpacing, msg::InvalidDownSlopeSpacing,
               within(msg::DownSlopeSpacingOutOfRange));
  st.StoreColour(DownSlopeColour, p.downSlopeColour);
  st.StoreWidth(DownSlopeWidth, p.downSlopeWidth);
  st.StoreBool(ShowFlowPath, p.showFlowPath);
  st.StoreBool(StartAtPoints, p.startAtPoints);
  st.StoreBool(StartAtTriangleCentres, p.startAtTriangleCentres);
  st.StoreBool(StartAtGridPoints, p.startAtGridPoints);
  st.StoreReal(FlowGridSpacing, p.flowGridSpacing, msg::InvalidFlowSpacing,
               within(msg::FlowSpacingOutOfRange));
  st.StoreBool(ContinueFromEnds, p.continueFromEnds);
  st.StoreBool(ShowWatersheds, p.showWatersheds);
  st.StoreColour(FlowColour, p.flowColour);
  st.StoreWidth(FlowWidth, p.flowWidth);
  st.StoreColour(WatershedColour, p.watershedColour);
  st.StoreWidth(WatershedWidth, p.watershedWidth);
  st.StoreBool(ShowRidges, p.showRidges);
  st.StoreBool(ContinueFromRidgeEnds, p.continueFromRidgeEnds);
  st.StoreColour(RidgeColour, p.ridgeColour);
  st.StoreWidth(RidgeWidth, p.ridgeWidth);
  st.StoreBool(ShowCutFill, p.showCutFill);
  if (s.Get(ShowDownSlope) && !s.Get(ArrowsAtTriangleCentres) && !s.Get(ArrowsAtGridPoints)) {
    s.Set(ShowDownSlope, false);
    port.ShowWarning(msg::DownSlopeTurnedOff);
  }
  return st.Refused();
}

// ---- For the drawing code -------------------------------------------------------------------

namespace {

bool Usable(double v, double low) { return std::isfinite(v) && v >= low; }

}  // namespace

bool GroupDrawable(const SettingsRecord& s, MapOptionPage page) {
  if (!s.Get(ShowFlagOf(page))) return false;
  switch (page) {
    case MapOptionPage::Breaklines:
      return !s.Get(device::BreaklineOptions::ShowNumbers) || Usable(s.Get(device::BreaklineOptions::TextHeight), device::MinLength);
    case MapOptionPage::SurfaceGrid: {
      using namespace device::SurfaceGridOptions;
      return Usable(s.Get(IntervalX), device::MinLength) && Usable(s.Get(IntervalY), device::MinLength) &&
             s.Get(Multiple) >= 0 && Usable(s.Get(TextHeight), device::MinLength) &&
             Usable(s.Get(DashLength), device::MinLength) && Usable(s.Get(SpaceLength), device::MinLength);
    }
    case MapOptionPage::Contours: {
      using namespace device::ContourOptions;
      const double frequency = s.Get(LabelFrequency);
      return Usable(s.Get(Interval), device::MinLength) && s.Get(Multiple) >= 0 &&
             Usable(s.Get(TextHeight), device::MinLength) && Usable(s.Get(DashLength), device::MinLength) &&
             Usable(s.Get(SpaceLength), device::MinLength) && Usable(frequency, MinLabelFrequency) &&
             frequency <= MaxLabelFrequency && s.Get(Segments) >= device::MinSegments &&
             s.Get(Segments) <= device::MaxSegments && std::isfinite(s.Get(Minimum)) &&
             std::isfinite(s.Get(Maximum)) && std::isfinite(s.Get(Base));
    }
    case MapOptionPage::Points:
      return Usable(s.Get(device::PointOptions::TextHeight), device::MinLength) &&
             std::isfinite(s.Get(device::PointOptions::MarkerHeight)) && std::isfinite(s.Get(device::PointOptions::TextAngle));
    case MapOptionPage::Miscellaneous:
      return Usable(s.Get(device::MiscOptions::TextHeight), device::MinLength) && std::isfinite(s.Get(device::MiscOptions::NorthAngle));
    case MapOptionPage::Titles:
      return Usable(s.Get(device::TitleOptions::TitleTextHeight), device::MinLength) &&
             Usable(s.Get(device::TitleOptions::MiscTextHeight), device::MinLength);
    case MapOptionPage::SurfaceAnalyzer: {
      using namespace device::AnalyzerOptions;
      return Usable(s.Get(ArrowMagnitude), device::MinLength) && Usable(s.Get(DownSlopeGridSpacing), device::MinLength) &&
             Usable(s.Get(FlowGridSpacing), device::MinLength);
    }
    default: return true;
  }
}

LineCount CountLines(double low, double high, double interval) {
  if (!std::isfinite(low) || !std::isfinite(high) || !Usable(interval, device::MinLength) || high < low) return {};
  const double first = std::ceil(low / interval);
  const double last = std::floor(high / interval);
  const double n = last - first + 1;
  if (!(n > 0)) return {};
  if (n > static_cast<double>(MaxLinesPerRedraw)) return {MaxLinesPerRedraw, true};
  return {static_cast<long>(n), false};
}

std::string TooManyLinesWarning(bool contours) {
  return std::string(msg::TooManyLinesPrefix) + std::to_string(MaxLinesPerRedraw) +
         std::string(contours ? msg::TooManyContourLevelsSuffix : msg::TooManyGridLinesSuffix);
}

}  // namespace terravue::mapping

#include "device/page_setup.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "device/scale_presets.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"

namespace terravue::device {
namespace {

namespace page = PageSetup;

constexpr double NearZero = 0.0001;
constexpr double CentimetresPerInch = 2.54;
// The largest coordinate a 16-bit device could take: the minimum scale keeps the model within
// it.
constexpr double MaxDeviceCoordinate = 32767;
constexpr int CustomPaperCode = 256;

// Windows paper size codes 1 to 42.
constexpr std::array<std::string_view, 42> PaperNames = {
    "Letter 8 1/2 x 11 in",
    "Letter Small 8 1/2 x 11 in",
    "Tabloid 11 x 17 in",
    "Ledger 17 x 11 in",
    "Legal 8 1/2 x 14 in",
    "Statement 5 1/2 x 8 1/2 in",
    "Executive 7 1/4 x 10 1/2 in",
    "A3 297 x 420 mm",
    "A4 210 x 297 mm",
    "A4 Small 210 x 297 mm",
    "A5 148 x 210 mm",
    "B4 (JIS) 250 x 354 mm",
    "B5 (JIS) 182 x 257 mm",
    "Folio 8 1/2 x 13 in",
    "Quarto 215 x 275 mm",
    "10x14 in",
    "11x17 in",
    "Note 8 1/2 x 11 in",
    "Envelope #9 3 7/8 x 8 7/8 in",
    "Envelope #10 4 1/8 x 9 1/2 in",
    "Envelope #11 4 1/2 x 10 3/8 in",
    "Envelope #12 4 3/4 x 11 in",
    "Envelope #14 5 x 11 1/2 in",
    "C size sheet",
    "D size sheet",
    "E size sheet",
    "Envelope DL 110 x 220 mm",
    "Envelope C5 162 x 229 mm",
    "Envelope C3  324 x 458 mm",
    "Envelope C4  229 x 324 mm",
    "Envelope C6  114 x 162 mm",
    "Envelope C65 114 x 229 mm",
    "Envelope B4  250 x 353 mm",
    "Envelope B5  176 x 250 mm",
    "Envelope B6  176 x 125 mm",
    "Envelope 110 x 230 mm",
    "Envelope Monarch 3.875 x 7.5 in",
    "6 34 Envelope 3 5/8 x 6 1/2 in",
    "US Std Fanfold 14 7/8 x 11 in",
    "German Std Fanfold 8 1/2 x 12 in",
    "German Legal Fanfold 8 1/2 x 13 in",
    "B4 (ISO) 250 x 353 mm",
};
constexpr std::string_view CustomPaperName = "Custom";
constexpr std::string_view UnknownPaperName = "Unknown paper size";

bool Metric(const SettingsRecord& s) { return s.Get(settings::Units) == 1; }

bool InRange(int v, int low, int high) { return v >= low && v <= high; }

// A description only a real printer could give: a resolution, a sheet and a printable area
// inside it, all within what the page fields hold.
bool Plausible(const PrinterDescription& p) {
  auto dpiOk = [](double d) { return std::isfinite(d) && d >= 1 && d <= page::MaxDotsPerInch; };
  return p.present && dpiOk(p.dotsPerInchX) && dpiOk(p.dotsPerInchY) &&
         InRange(p.paperWidth, 1, page::MaxPixels) && InRange(p.paperHeight, 1, page::MaxPixels) &&
         InRange(p.pageWidth, 1, p.paperWidth) && InRange(p.pageHeight, 1, p.paperHeight) &&
         InRange(p.offsetX, 0, p.paperWidth) && InRange(p.offsetY, 0, p.paperHeight);
}

// The margin on one axis: at least the printer's unprintable offset, then a tenth of an inch
// more; never so wide that nothing is left.
std::int32_t Margin(int paper, int printable, int offset, double dotsPerInch) {
  const int m = std::max(offset, (paper - printable) / 2) + static_cast<int>(std::trunc(0.1 * dotsPerInch));
  return std::clamp(m, 0, (paper - 1) / 2);
}

void StoreSheetCorners(SettingsRecord& s) {
  const ViewTransform t = ViewTransform::FromSettings(s);
  const WorldPoint topLeft = t.PageToWorld({0, 0});
  const WorldPoint bottomRight = t.PageToWorld({t.PrintableWidth(), t.PrintableHeight()});
  if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y) || !std::isfinite(bottomRight.x) ||
      !std::isfinite(bottomRight.y))
    return;
  s.Set(page::SheetLeft, topLeft.x);
  s.Set(page::SheetTop, topLeft.y);
  s.Set(page::SheetRight, bottomRight.x);
  s.Set(page::SheetBottom, bottomRight.y);
}

// The scale and everything that follows from it, without the minimum-scale check.
void SetScale(SettingsRecord& s, double scale) {
  s.Set(page::MapScale, scale);
  s.Set(page::ScaleFactorX, s.Get(page::DotsPerInchX) / scale);
  s.Set(page::ScaleFactorY, s.Get(page::DotsPerInchY) / scale);
  StoreSheetCorners(s);
}

std::string Fixed3(double v) { return FormatReal(v, 0, 3); }


}  // namespace

namespace {

// Portrait sizes; A1 and A0 have no Windows code.
constexpr Paper PaperTable[] = {
    {"letter", "Letter 8 1/2 x 11 in", 1, 8.5, 11},
    {"legal", "Legal 8 1/2 x 14 in", 5, 8.5, 14},
    {"tabloid", "Tabloid 11 x 17 in", 3, 11, 17},
    {"a4", "A4 210 x 297 mm", 9, 210 / 25.4, 297 / 25.4},
    {"a3", "A3 297 x 420 mm", 8, 297 / 25.4, 420 / 25.4},
    {"a2", "A2 420 x 594 mm", 66, 420 / 25.4, 594 / 25.4},
    {"a1", "A1 594 x 841 mm", CustomPaperCode, 594 / 25.4, 841 / 25.4},
    {"a0", "A0 841 x 1189 mm", CustomPaperCode, 841 / 25.4, 1189 / 25.4},
    {"ansi-c", "C size sheet", 24, 17, 22},
    {"ansi-d", "D size sheet", 25, 22, 34},
};
static_assert(std::size(PaperTable) == page::PaperChoiceCount);

// The unprintable edges of the sheet laid out without a printer, in inches.
constexpr double EdgeSide = 0.25, EdgeTop = 0.25, EdgeFoot = 200.0 / 300;

int Dots(double inches, double dotsPerInch) { return static_cast<int>(std::lround(inches * dotsPerInch)); }

}  // namespace

std::span<const Paper> Papers() { return PaperTable; }

const Paper& ChosenPaper(const SettingsRecord& s) {
  const int choice = s.Get(page::PaperChoice);
  return choice >= 1 && choice <= page::PaperChoiceCount ? PaperTable[choice - 1] : PaperTable[0];
}

const Paper* PaperByOption(std::string_view option) {
  for (const Paper& p : PaperTable)
    if (p.option == option) return &p;
  return nullptr;
}

std::uint8_t PaperChoiceOf(const Paper& paper) {
  return static_cast<std::uint8_t>(&paper - PaperTable + 1);
}

PrinterDescription PaperDescription(const Paper& paper, bool landscape, double dotsPerInch) {
  PrinterDescription p;
  p.present = true;
  p.paperCode = paper.code;
  p.paperName = paper.name;
  p.landscape = landscape;
  p.dotsPerInchX = p.dotsPerInchY = dotsPerInch;
  p.paperWidth = Dots(paper.widthInches, dotsPerInch);
  p.paperHeight = Dots(paper.heightInches, dotsPerInch);
  p.offsetX = Dots(EdgeSide, dotsPerInch);
  p.offsetY = Dots(EdgeTop, dotsPerInch);
  p.pageWidth = p.paperWidth - 2 * p.offsetX;
  p.pageHeight = p.paperHeight - p.offsetY - Dots(EdgeFoot, dotsPerInch);
  return p;
}

PrinterDescription NoPrinterDescription() {
  PrinterDescription p;
  p.present = false;
  p.paperCode = 1;
  p.dotsPerInchX = p.dotsPerInchY = 300;
  p.paperWidth = 2550;
  p.paperHeight = 3300;
  p.offsetX = p.offsetY = 75;
  p.pageWidth = 2400;
  p.pageHeight = 3025;
  return p;
}

std::string_view PaperName(int code) {
  if (code >= 1 && code <= static_cast<int>(PaperNames.size())) return PaperNames[code - 1];
  return code == CustomPaperCode ? CustomPaperName : UnknownPaperName;
}

void SetUpPage(SettingsRecord& s, const PrinterDescription& printer) {
  PrinterDescription p = Plausible(printer) ? printer : NoPrinterDescription();
  // Portrait puts the shorter side across, landscape the longer.
  if ((p.paperWidth > p.paperHeight) != p.landscape && p.paperWidth != p.paperHeight) {
    std::swap(p.paperWidth, p.paperHeight);
    std::swap(p.pageWidth, p.pageHeight);
    std::swap(p.offsetX, p.offsetY);
    std::swap(p.dotsPerInchX, p.dotsPerInchY);
  }
  const std::int32_t marginX = Margin(p.paperWidth, p.pageWidth, p.offsetX, p.dotsPerInchX);
  const std::int32_t marginY = Margin(p.paperHeight, p.pageHeight, p.offsetY, p.dotsPerInchY);
  const std::int32_t w = p.paperWidth - 2 * marginX;
  const std::int32_t h = p.paperHeight - 2 * marginY;

  s.Set(page::PrinterPresent, p.present);
  s.Set(page::PaperWidth, p.paperWidth);
  s.Set(page::PaperHeight, p.paperHeight);
  s.Set(page::PageWidth, w);
  s.Set(page::PageHeight, h);
  s.Set(page::MarginLeft, marginX);
  s.Set(page::MarginRight, marginX);
  s.Set(page::MarginTop, marginY);
  s.Set(page::MarginBottom, marginY);
  s.Set(page::ClipLeft, 0);
  s.Set(page::ClipTop, 0);
  s.Set(page::ClipRight, w - 1);
  s.Set(page::ClipBottom, h - 1);
  s.Set(page::PixelAspect, 1.0);
  s.Set(page::RotationAngle, 0.0);
  s.Set(page::DotsPerInchX, p.dotsPerInchX);
  s.Set(page::DotsPerInchY, p.dotsPerInchY);
  s.Set(page::PaperCode, p.paperCode);
  s.Set(page::PaperName, p.paperName.empty() ? PaperName(p.paperCode) : p.paperName);
  // The pixel factors follow the new resolution at the scale in force.
  SetScale(s, s.Get(page::MapScale));
}

bool FitModel(SettingsRecord& s, const model::SurfaceModel& m, bool useFitScale) {
  const int n = m.PointCount;
  if (n == 0) return false;
  double sumX = 0, sumY = 0;
  for (int i = 1; i <= n; ++i) {
    sumX += m.PointX[i];
    sumY += m.PointY[i];
  }
  const double meanX = sumX / n, meanY = sumY / n;
  if (!std::isfinite(meanX) || !std::isfinite(meanY)) return false;
  s.Set(page::RotationCentreX, meanX);
  s.Set(page::RotationCentreY, meanY);

  const ViewTransform t = ViewTransform::FromSettings(s);
  double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
  double minY = minX, maxY = maxX;
  for (int i = 1; i <= n; ++i) {
    const WorldPoint r = t.Rotate(m.PointX[i], m.PointY[i]);
    minX = std::min(minX, r.x);
    maxX = std::max(maxX, r.x);
    minY = std::min(minY, r.y);
    maxY = std::max(maxY, r.y);
  }
  s.Set(page::ViewCentreX, (minX + maxX) / 2);
  s.Set(page::ViewCentreY, (minY + maxY) / 2);

  const double w = s.Get(page::PageWidth), h = s.Get(page::PageHeight);
  const double aspect = s.Get(page::PixelAspect);
  const double boxW = maxX - minX, boxH = maxY - minY;
  double fx = std::fabs(boxW) < NearZero ? 1 : w / boxW;
  double fy = std::fabs(boxH) < NearZero ? 1 : h / boxH;
  double fit = 0, minimum = 0;
  if (fy / aspect >= fx) {
    fy = aspect * fx;
    fit = s.Get(page::DotsPerInchX) / fx;
    minimum = s.Get(page::DotsPerInchX) / (MaxDeviceCoordinate / w) / fx;
  } else {
    fx = fy / aspect;
    fit = s.Get(page::DotsPerInchY) / fy;
    minimum = s.Get(page::DotsPerInchY) / (MaxDeviceCoordinate / h) / fy;
  }
  // Both scales in the unit of the map scale: per centimetre with metric units.
  if (Metric(s)) {
    fit /= CentimetresPerInch;
    minimum /= CentimetresPerInch;
  }
  fit = std::trunc(fit + 0.999999);
  if (!(fit > 0) || !std::isfinite(fit)) fit = 1;
  // A large printable area must not make the model's own fit unusable.
  minimum = std::min(minimum, fit);
  s.Set(page::FitScale, fit);
  s.Set(page::MinimumScale, std::isfinite(minimum) && minimum >= 0 ? minimum : 0.0);

  // A scale the new minimum refuses stays as it was, but the sheet still follows the new view.
  if (!ApplyScale(s, useFitScale ? fit : s.Get(page::MapScale))) StoreSheetCorners(s);
  return true;
}

bool ApplyScale(SettingsRecord& s, double scale) {
  if (!std::isfinite(scale) || scale <= 0 || scale < s.Get(page::MinimumScale) || scale > page::MaximumScale) return false;
  SetScale(s, scale);
  return true;
}

// ---- Set Scale ------------------------------------------------------------------------------

SetScaleLabels SetScaleCaptions(const SettingsRecord& s) {
  SetScaleLabels l;
  l.scale = std::string(Metric(s) ? msg::ScaleLabelMetres : msg::ScaleLabelFeet);
  if (settings::EastingFirst(s)) {
    l.firstOffset = std::string(msg::XOffsetLabel);
    l.secondOffset = std::string(msg::YOffsetLabel);
  } else {
    l.firstOffset = std::string(msg::NorthingOffsetLabel);
    l.secondOffset = std::string(msg::EastingOffsetLabel);
  }
  return l;
}

SetScaleFields SetScaleFieldTexts(const SettingsRecord& s) {
  SetScaleFields f;
  f.angle = Fixed3(s.Get(page::RotationAngle));
  f.scale = Fixed3(s.Get(page::MapScale));
  const std::string x = Fixed3(s.Get(page::ViewCentreX));
  const std::string y = Fixed3(s.Get(page::ViewCentreY));
  f.firstOffset = settings::EastingFirst(s) ? x : y;
  f.secondOffset = settings::EastingFirst(s) ? y : x;
  return f;
}

PageView TakePageView(const SettingsRecord& s) {
  return {s.Get(page::RotationAngle), s.Get(page::MapScale), s.Get(page::ViewCentreX),
          s.Get(page::ViewCentreY)};
}

void RestorePageView(SettingsRecord& s, const PageView& v) {
  s.Set(page::RotationAngle, v.angle);
  s.Set(page::ViewCentreX, v.centreX);
  s.Set(page::ViewCentreY, v.centreY);
  // The scale in force when the dialog opened was usable then; it is put back as it was.
  if (std::isfinite(v.scale) && v.scale > 0) SetScale(s, v.scale);
}

bool ChangeRotationAngle(SettingsRecord& s, const model::SurfaceModel& m, std::string_view angleText) {
  const auto angle = ParseReal(angleText);
  if (!angle || std::fabs(*angle - s.Get(page::RotationAngle)) < NearZero) return false;
  s.Set(page::RotationAngle, *angle);
  FitModel(s, m, true);
  return true;
}

void StoreSetScale(UserPort& port, SettingsRecord& s, const SetScaleFields& f, bool blackAndWhite,
                   bool resetHeights) {
  if (const auto angle = ParseReal(f.angle))
    s.Set(page::RotationAngle, *angle);
  else
    port.ShowError(msg::InvalidRotationAngle);

  std::optional<double> scale = ParseReal(f.scale);
  if (scale && (*scale <= 0 || *scale > page::MaximumScale)) scale.reset();
  if (!scale) port.ShowError(msg::InvalidPrinterScale);

  const F64Field first = settings::EastingFirst(s) ? page::ViewCentreX : page::ViewCentreY;
  const F64Field second = settings::EastingFirst(s) ? page::ViewCentreY : page::ViewCentreX;
  if (const auto v = ParseReal(f.firstOffset))
    s.Set(first, *v);
  else
    port.ShowError(msg::InvalidPrinterOffset);
  if (const auto v = ParseReal(f.secondOffset))
    s.Set(second, *v);
  else
    port.ShowError(msg::InvalidPrinterOffset);

  s.Set(page::BlackAndWhite, blackAndWhite);
  // A scale below the minimum is silently not applied; the rest of the page follows the
  // scale in force either way.
  if (!scale || !ApplyScale(s, *scale)) StoreSheetCorners(s);
  if (resetHeights) device::ApplyScalePreset(s);
}

// ---- Calibration ----------------------------------------------------------------------------

CalibrationFields CalibrationFieldTexts(const SettingsRecord& s) {
  return {Fixed3(s.Get(page::CalibrationX)), Fixed3(s.Get(page::CalibrationY))};
}

void StoreCalibration(UserPort& port, SettingsRecord& s, const CalibrationFields& f) {
  // A factor of 0 or below would collapse or mirror the whole map.
  auto positive = [](std::string_view text) -> std::optional<double> {
    const auto v = ParseReal(text);
    return v && *v > 0 ? v : std::nullopt;
  };
  if (const auto v = positive(f.horizontal))
    s.Set(page::CalibrationX, *v);
  else
    port.ShowError(msg::InvalidHorizontalCalibration);
  if (const auto v = positive(f.vertical))
    s.Set(page::CalibrationY, *v);
  else
    port.ShowError(msg::InvalidVerticalCalibration);
  StoreSheetCorners(s);
}

// ---- Printing -------------------------------------------------------------------------------

PrintFormText DescribePrintForm(const SettingsRecord& s, const model::SurfaceModel& m,
                                std::string_view printerName) {
  PrintFormText t;
  const std::string na(msg::NotApplicable);
  t.setScaleEnabled = !s.Get(settings::View3DOptions::View3D);
  if (!s.Get(page::PrinterPresent)) {
    t.printer = t.paper = t.orientation = t.scale = na;
    t.status = std::string(msg::PrinterNotAvailableLabel);
    return t;
  }
  t.printEnabled = true;
  t.printer = std::string(printerName);
  t.paper = s.Get(page::PaperName);
  const bool landscape = s.Get(page::PaperWidth) > s.Get(page::PaperHeight);
  t.orientation = std::string(landscape ? msg::Landscape : msg::Portrait);
  t.scale = m.PointCount == 0 ? na
                              : Fixed3(s.Get(page::MapScale)) +
                                    std::string(Metric(s) ? msg::ScaleSuffixMetres : msg::ScaleSuffixFeet);
  return t;
}

bool CheckPrinterAvailable(UserPort& port, const SettingsRecord& s) {
  if (s.Get(page::PrinterPresent)) return true;
  port.ShowError(msg::PrinterNotAvailableUseSetup);
  return false;
}

MapColourSwap::MapColourSwap(SettingsRecord& s, bool blackAndWhite) : settings_(s) {
  if (!blackAndWhite) return;
  // The background goes black too; the printer never paints it, it only shows through.
  saved_.emplace_back(settings::MapBackgroundColour, s.Get(settings::MapBackgroundColour));
  for (const SettingsField& f : device::MapOptionsFields())
    if (f.kind == FieldKind::Colour) saved_.emplace_back(ColourField{f.offset}, s.Get(ColourField{f.offset}));
  for (const auto& [field, colour] : saved_) s.Set(field, settings::Black);
}

MapColourSwap::~MapColourSwap() {
  for (const auto& [field, colour] : saved_) settings_.Set(field, colour);
}

PrintOutcome PrintMap(UserPort& port, SettingsRecord& s, PrintTarget& target, int copies,
                      const std::function<void(DrawingDevice&)>& redraw) {
  copies = std::clamp(copies, MinCopies, MaxCopies);
  port.BeginProgress(msg::Printing, false);
  bool printed = false;
  try {
    MapColourSwap colours(s, s.Get(page::BlackAndWhite));
    if (target.BeginDocument(copies)) {
      try {
        redraw(target.Device());
      } catch (...) {
        target.AbortDocument();
        throw;
      }
      printed = target.EndDocument();
    }
  } catch (...) {
    port.EndProgress();
    throw;
  }
  port.EndProgress();
  if (!printed) {
    port.ShowError(msg::PrintingFailed);
    return PrintOutcome::Failed;
  }
  port.ShowCompletion(msg::PrintingComplete);
  return PrintOutcome::Printed;
}

}  // namespace terravue::device

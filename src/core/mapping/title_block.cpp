#include "mapping/title_block.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <numbers>
#include <string_view>
#include <utility>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"

namespace terravue::mapping {
namespace {

namespace page = device::PageSetup;
using device::IntPoint;

constexpr double NearZeroBound = 0.0001;
constexpr double CentimetresPerInch = 2.54;
constexpr double Pi = std::numbers::pi;

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

bool Metric(const SettingsRecord& s) { return s.Get(settings::Units) == 1; }
// 2.54 when the scale is per centimetre.
double UnitLength(const SettingsRecord& s) { return Metric(s) ? CentimetresPerInch : 1.0; }
// An inch of paper in world units.
double Inch(const SettingsRecord& s) { return s.Get(page::MapScale) * UnitLength(s); }
// A tenth of an inch of paper in world units.
double Margin(const SettingsRecord& s) { return s.Get(page::MapScale) * (Metric(s) ? 0.254 : 0.1); }

bool TitleBoxes(const SettingsRecord& s) {
  return GroupDrawable(s, MapOptionPage::Titles) && s.Get(device::TitleOptions::UseTitleBoxes);
}
bool TitleLines(const SettingsRecord& s) {
  return GroupDrawable(s, MapOptionPage::Titles) && !s.Get(device::TitleOptions::UseTitleBoxes);
}

// While it lives, the device draws through the plan transform without the map's rotation, so
// that the furniture stays upright on the sheet (also in the 3-D view); the sheet's edges are
// those of the printable area under that transform.
class UprightSheet {
 public:
  UprightSheet(device::DrawingDevice& device, const SettingsRecord& settings)
      : page_(dynamic_cast<device::PageDevice*>(&device)) {
    SettingsRecord upright = settings;
    upright.Set(page::RotationAngle, 0.0);
    const device::ViewTransform t = device::ViewTransform::FromSettings(upright);
    const device::WorldPoint topLeft = t.PageToWorld({0, 0});
    const device::WorldPoint bottomRight = t.PageToWorld({t.PrintableWidth(), t.PrintableHeight()});
    left = topLeft.x;
    top = topLeft.y;
    right = bottomRight.x;
    bottom = bottomRight.y;
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom)) {
      left = settings.Get(page::SheetLeft);
      top = settings.Get(page::SheetTop);
      right = settings.Get(page::SheetRight);
      bottom = settings.Get(page::SheetBottom);
    }
    if (page_) {
      saved_ = page_->Transform();
      page_->Reconfigure(t, page_->Frame());
    }
  }
  ~UprightSheet() {
    if (page_) page_->Reconfigure(saved_, page_->Frame());
  }
  UprightSheet(const UprightSheet&) = delete;
  UprightSheet& operator=(const UprightSheet&) = delete;

  double left = 0, right = 0, top = 0, bottom = 0;

 private:
  device::PageDevice* page_;
  device::ViewTransform saved_;
};

void Stroke(device::DrawingDevice& d, std::initializer_list<std::pair<double, double>> points, double z) {
  bool first = true;
  for (const auto& [x, y] : points) {
    d.DevicePlot(false, x, y, z);
    if (first) d.DevicePenDown();
    first = false;
  }
  d.DevicePenUp();
}

void ClearAlignment(device::DrawingDevice& d) {
  d.text.AnchorLeft();
}

std::string Latin1Text(const SettingsRecord& s, TextField field) { return s.Get(field); }

// How far the title lines reach down from the top of the sheet (0 without them).
double TitleLinesDepth(const SettingsRecord& s) {
  if (!TitleLines(s)) return 0;
  using namespace device::TitleOptions;
  double t = s.Get(ShowTitle) ? s.Get(TitleTextHeight) : 0;
  const int lines = (s.Get(ShowScale) || s.Get(ShowDate) || s.Get(ShowTime) ? 1 : 0) + (s.Get(ShowFileName) ? 1 : 0) +
                    (s.Get(ShowFileComment) ? 1 : 0) + (s.Get(ShowComment) ? 1 : 0);
  t += lines * s.Get(MiscTextHeight);
  return t;
}

}  // namespace

std::optional<SheetArea> ClearMapArea(const Session& session) {
  const SettingsRecord& s = session.settings;
  if (s.Get(settings::View3DOptions::View3D) || !NearZero(s.Get(page::RotationAngle))) return std::nullopt;
  const device::ViewTransform t = device::ViewTransform::FromSettings(s);
  const device::WorldPoint topLeft = t.PageToWorld({0, 0});
  const device::WorldPoint bottomRight = t.PageToWorld({t.PrintableWidth(), t.PrintableHeight()});
  const double inch = Inch(s), margin = Margin(s);
  if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y) || !std::isfinite(bottomRight.x) ||
      !std::isfinite(bottomRight.y) || !(inch > 0) || !std::isfinite(inch))
    return std::nullopt;
  SheetArea area{topLeft.x + margin, bottomRight.x - margin, bottomRight.y + margin, topLeft.y - margin};
  if (TitleBoxes(s)) area.bottom += 0.55 * inch;
  if (GroupDrawable(s, MapOptionPage::Miscellaneous) && s.Get(device::MiscOptions::ShowScaleBar)) {
    // The bar's two rows a quarter inch up, and its figures above them.
    const double text = s.Get(device::MiscOptions::TextHeight);
    area.bottom += inch / 4 + inch / 8 + inch / 16 + (std::isfinite(text) && text > 0 ? 1.5 * text * UnitLength(s) : 0);
  }
  if (!(area.left < area.right) || !(area.bottom < area.top)) return std::nullopt;
  return area;
}

std::string ShortDate(const std::tm& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", (t.tm_mon % 12 + 12) % 12 + 1, t.tm_mday % 100,
                (t.tm_year + 1900) % 10000);
  return text;
}

std::string ClockTime(const std::tm& t) {
  const int hour = ((t.tm_hour % 24) + 24) % 24;
  const int twelve = hour % 12 == 0 ? 12 : hour % 12;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d %s", twelve, ((t.tm_min % 60) + 60) % 60, hour < 12 ? "AM" : "PM");
  return text;
}

// ---- Sheet frame and title block (device pixels) --------------------------------------------

void DrawSheetFrame(device::PageDevice& device, const Session& session) {
  const SettingsRecord& s = session.settings;
  const device::DeviceFrame& frame = device.Frame();
  const auto whole = [](double v) { return static_cast<int>(std::trunc(v)); };
  const int left = whole(frame.clip.left), top = whole(frame.clip.top);
  const int right = whole(frame.clip.right), bottom = whole(frame.clip.bottom);
  const std::array<IntPoint, 5> outline = {IntPoint{left, top}, IntPoint{right, top}, IntPoint{right, bottom},
                                           IntPoint{left, bottom}, IntPoint{left, top}};
  device.DevicePixelPolyline(outline);
  if (!TitleBoxes(s)) return;

  // Pixels per inch of the sheet as this device shows it.
  const double e = frame.printerPixelsPerDevicePixel > 0 ? frame.printerPixelsPerDevicePixel : 1;
  const double px = s.Get(page::DotsPerInchX) / e * frame.zoom;
  const double py = s.Get(page::DotsPerInchY) / e * frame.zoom;
  const int dx = whole(0.05 * px), dy = whole(0.05 * py);
  const int innerLeft = left + dx, innerTop = top + dy, innerRight = right - dx, innerBottom = bottom - dy;
  const std::array<IntPoint, 5> inner = {IntPoint{innerLeft, innerTop}, IntPoint{innerRight, innerTop},
                                         IntPoint{innerRight, innerBottom}, IntPoint{innerLeft, innerBottom},
                                         IntPoint{innerLeft, innerTop}};
  device.DevicePixelPolyline(inner);
  const int row = innerBottom - whole(0.5 * py);
  const std::array<IntPoint, 2> across = {IntPoint{innerLeft, row}, IntPoint{innerRight, row}};
  device.DevicePixelPolyline(across);
  const int cell = (innerRight - innerLeft) / 5;
  for (int k = 1; k <= 4; ++k) {
    const std::array<IntPoint, 2> divider = {IntPoint{innerLeft + k * cell, row},
                                             IntPoint{innerLeft + k * cell, innerBottom}};
    device.DevicePixelPolyline(divider);
  }

  const std::tm now = session.clock ? session.clock() : LocalTimeNow();
  const std::array<std::string_view, 5> captions = {msg::TitleCaptionDesignedBy, msg::TitleCaptionClient,
                                                    msg::TitleCaptionLocation, msg::TitleCaptionDate,
                                                    msg::TitleCaptionComments};
  const std::array<std::pair<std::string, std::string>, 5> texts = {
      std::pair{Latin1Text(s, settings::CompanyName), Latin1Text(s, settings::CompanyLocation)},
      std::pair{Latin1Text(s, device::TitleOptions::Client1), Latin1Text(s, device::TitleOptions::Client2)},
      std::pair{Latin1Text(s, device::TitleOptions::Location1), Latin1Text(s, device::TitleOptions::Location2)},
      std::pair{ShortDate(now), ClockTime(now)},
      std::pair{Latin1Text(s, device::TitleOptions::Comment1), Latin1Text(s, device::TitleOptions::Comment2)}};
  const int captionHeight = whole(0.15 * py);
  const int textHeight = whole(0.2 * py);
  const int inset = whole(0.05 * px);
  for (int k = 0; k < 5; ++k) {
    const int cellLeft = innerLeft + k * cell;
    const int cellRight = k == 4 ? innerRight : cellLeft + cell;
    const int x = cellLeft + inset;
    const double room = cellRight - x;
    device.DevicePixelText({x, row - captionHeight - whole(0.1 * captionHeight)}, captionHeight,
                           captions[static_cast<std::size_t>(k)], room);
    device.DevicePixelText({x, row + whole(0.05 * py)}, textHeight, texts[static_cast<std::size_t>(k)].first,
                           room);
    device.DevicePixelText({x, row + whole(0.3 * py)}, textHeight, texts[static_cast<std::size_t>(k)].second,
                           room);
  }
}

// ---- Title lines ----------------------------------------------------------------------------

void DrawTitleLines(Session& session, device::DrawingDevice& device) {
  const SettingsRecord& s = session.settings;
  using namespace device::TitleOptions;
  const bool view3D = s.Get(settings::View3DOptions::View3D);
  const UprightSheet sheet(device, s);
  const double z = session.model.MinZ;
  const double g = Margin(s);
  device.DeviceSetWidth(0);
  double d = 0;
  if (s.Get(ShowTitle)) {
    device.DeviceSetTextStyle(s.Get(TitleColour), s.Get(TitleTextHeight));
    ClearAlignment(device);
    device.text.TextCentred = true;
    const double h = device.text.TextHeight;
    device.DeviceText(s.Get(TitleText), 0, (sheet.left + sheet.right) / 2, sheet.top - h / 2, z, 1);
    device.text.TextCentred = false;
    d = 1.2 * h;
    device.DeviceEndText();
  }
  const bool scaleLine = s.Get(ShowScale) || s.Get(ShowDate) || s.Get(ShowTime);
  if (!scaleLine && !s.Get(ShowFileName) && !s.Get(ShowFileComment) && !s.Get(ShowComment)) return;

  device.DeviceSetTextStyle(s.Get(MiscTextColour), s.Get(MiscTextHeight));
  ClearAlignment(device);
  const double h = device.text.TextHeight;
  const auto line = [&](const std::string& text, bool spaced) {
    d += h;
    device.DeviceText(text, 0, sheet.left + g, sheet.top - d, z, 1);
    if (spaced) d += 0.2 * h;
  };
  if (scaleLine) {
    d += h;
    const double y = sheet.top - d;
    if (s.Get(ShowScale)) {
      const std::string text =
          view3D ? std::string(msg::TitleScaleIn3D)
                 : std::string(msg::TitleScalePrefix) + FormatReal(s.Get(page::MapScale), 0, 1) +
                       std::string(Metric(s) ? msg::TitleScaleMetres : msg::TitleScaleFeet);
      device.DeviceText(text, 0, sheet.left + g, y, z, 1);
    }
    if (s.Get(ShowDate) || s.Get(ShowTime)) {
      const std::tm now = session.clock ? session.clock() : LocalTimeNow();
      std::string text = s.Get(ShowDate) ? ShortDate(now) : std::string();
      if (s.Get(ShowTime)) text += " " + ClockTime(now);
      device.text.TextRightAligned = true;
      device.DeviceText(text, 0, sheet.right - g, y, z, 1);
      device.text.TextRightAligned = false;
    }
    d += 0.2 * h;
  }
  if (s.Get(ShowFileName)) line(std::string(msg::TitleFileNamePrefix) + s.Get(settings::ModelFileName), true);
  if (s.Get(ShowFileComment)) line(std::string(msg::TitleFileCommentPrefix) + session.model.Comment(), true);
  if (s.Get(ShowComment)) line(s.Get(Comment1), false);
  device.DeviceEndText();
}

// ---- North arrow ----------------------------------------------------------------------------

void DrawNorthArrow(Session& session, device::DrawingDevice& device) {
  const SettingsRecord& s = session.settings;
  const UprightSheet sheet(device, s);
  const double inch = Inch(s);
  const double north = s.Get(device::MiscOptions::NorthAngle);
  const bool square = std::fabs(north) < NearZeroBound || std::fabs(north - 180) < NearZeroBound;
  const double xc = sheet.left + (square ? 0.5 : 1.1) * inch;
  const double yc = sheet.top - TitleLinesDepth(s) - 1.1 * inch;
  double theta = north * Pi / 180;
  // Surveyors turn angles clockwise.
  if (s.Get(settings::AngleConvention) == 1) theta = -theta;
  const double k = inch / 24;
  const double c = std::cos(theta), sn = std::sin(theta);
  const double z = session.model.MinZ;
  // Glyph points (n along the arrow towards north, e across it).
  const auto stroke = [&](std::initializer_list<std::pair<double, double>> glyph) {
    bool first = true;
    for (const auto& [n, e] : glyph) {
      device.DevicePlot(false, xc + k * (e * c - n * sn), yc + k * (e * sn + n * c), z);
      if (first) device.DevicePenDown();
      first = false;
    }
    device.DevicePenUp();
  };
  stroke({{16, 0}, {7, -1}, {8, 0}, {7, 1}, {16, 0}});  // arrow head
  stroke({{4, -1}, {-4, -1}});                          // N
  stroke({{-4, 1}, {4, 1}});
  stroke({{4, -1}, {-2, 1}});
  stroke({{-4, 1}, {2, -1}});
  stroke({{-8, 0}, {-9, -1}, {-16, -1}, {-15, 0}, {-16, 1}, {-9, 1}, {-8, 0}, {-1, 0}});  // tail, shaft
  stroke({{1, 0}, {8, 0}});
}

// ---- Scale bar ------------------------------------------------------------------------------

void DrawScaleBar(Session& session, device::DrawingDevice& device) {
  const SettingsRecord& s = session.settings;
  const UprightSheet sheet(device, s);
  const bool metric = Metric(s);
  const double scale = s.Get(page::MapScale);
  const double inch = Inch(s);
  const double z = session.model.MinZ;
  const double half = (metric ? 5 : 3) * scale;
  const double m = (sheet.left + sheet.right) / 2;
  const double l = m - half, r = m + half;
  double y1 = sheet.bottom + inch / 4;
  // Above the title block when there is one.
  if (TitleBoxes(s)) y1 += 0.55 * inch;
  const double y2 = y1 + inch / 16;
  const double y3 = y2 + inch / 16;

  Stroke(device, {{l, y3}, {r, y3}}, z);
  Stroke(device, {{r, y2}, {l, y2}}, z);
  Stroke(device, {{l, y1}, {r, y1}, {r, y3}}, z);
  Stroke(device, {{m, y3}, {m, y1}}, z);
  Stroke(device, {{l, y3}, {l, y1}}, z);

  // Five cells with strokes alternating low and high, their dividers, and a middle line.
  const auto band = [&](double xa, double xb, double ylo, double yhi) {
    const double w = (xb - xa) / 5;
    const double quarter = (yhi - ylo) / 4;
    for (int k = 1; k <= 5; ++k) {
      const double y = k % 2 == 1 ? ylo + quarter : yhi - quarter;
      Stroke(device, {{xa + (k - 1) * w, y}, {k == 5 ? xb : xa + k * w, y}}, z);
    }
    for (int k = 1; k <= 4; ++k) Stroke(device, {{xa + k * w, yhi}, {xa + k * w, ylo}}, z);
    Stroke(device, {{xa, (ylo + yhi) / 2}, {xb, (ylo + yhi) / 2}}, z);
  };
  if (!metric) {
    Stroke(device, {{l + scale, y1}, {l + scale, y3}}, z);
    band(l, l + scale, y2, y3);
    band(l + scale, m, y1, y2);
    band(m, r, y2, y3);
  } else {
    band(l, m, y2, y3);
    band(m, r, y1, y2);
  }

  device.DeviceSetTextStyle(s.Get(device::MiscOptions::Colour), s.Get(device::MiscOptions::TextHeight));
  ClearAlignment(device);
  double y = y3 + device.text.TextHeight * UnitLength(s) / 2;
  if (!metric) y += scale / 16;
  device.DeviceText(msg::ScaleBarOrigin, 0, l, y, z, 1);
  if (!metric) {
    device.DeviceText(FormatReal(scale, 0, 1), 0, l + scale, y, z, 1);
    device.DeviceText(FormatReal(3 * scale, 0, 1), 0, m, y, z, 1);
    device.DeviceText(FormatReal(6 * scale, 0, 1), 0, r, y, z, 1);
  } else {
    device.DeviceText(FormatReal(5 * scale, 0, 1), 0, m, y, z, 1);
    device.DeviceText(FormatReal(10 * scale, 0, 1), 0, r, y, z, 1);
  }
  device.DeviceEndText();
}

// ---- Legends --------------------------------------------------------------------------------

void DrawLegend(Session& session, device::DrawingDevice& device, std::string_view title,
                const std::vector<LegendEntry>& entries) {
  const SettingsRecord& s = session.settings;
  if (entries.empty()) return;
  const UprightSheet sheet(device, s);
  const double inch = Inch(s), g = Margin(s);
  const double z = session.model.MinZ;
  const std::uint32_t ink = s.Get(device::MiscOptions::Colour);
  device.DeviceSetWidth(0);
  device.DeviceSetTextStyle(ink, s.Get(device::MiscOptions::TextHeight));
  ClearAlignment(device);
  const double h = device.text.TextHeight;
  const double charWidth = device.text.TextCharWidth > 0 ? device.text.TextCharWidth : h;
  std::size_t longest = title.size();
  for (const LegendEntry& e : entries) longest = std::max(longest, e.text.size() + 6);
  const double row = std::max(1.5 * h, 0.2 * inch);
  const double swatch = 0.4 * inch;
  const double width = 2 * g + static_cast<double>(longest) * charWidth;
  const double height = row * static_cast<double>(entries.size() + 1) + g;
  // The corner of the map's part of the sheet where the legend hides the fewest data points
  // (the top right on a turned map, where the corners are not known in world units).
  const double topEdge = sheet.top - TitleLinesDepth(s) - g;
  double left = sheet.right - g - width, top = topEdge;
  if (const std::optional<SheetArea> area = ClearMapArea(session)) {
    const bool northArrow = GroupDrawable(s, MapOptionPage::Miscellaneous) && s.Get(device::MiscOptions::ShowNorthArrow);
    struct Corner {
      double left, top;
    };
    std::vector<Corner> corners = {{area->right - width, topEdge}};
    if (!northArrow) corners.push_back({area->left, topEdge});
    corners.push_back({area->right - width, area->bottom + height});
    corners.push_back({area->left, area->bottom + height});
    const model::SurfaceModel& m = session.model;
    std::size_t fewest = SIZE_MAX;
    for (const Corner& c : corners) {
      std::size_t hidden = 0;
      for (PointIndex p = 1; p <= m.PointCount; ++p)
        hidden += m.PointX[p] >= c.left && m.PointX[p] <= c.left + width && m.PointY[p] <= c.top &&
                  m.PointY[p] >= c.top - height;
      if (hidden < fewest) {
        fewest = hidden;
        left = c.left;
        top = c.top;
      }
    }
  }
  const double right = left + width, bottom = top - height;
  const auto box = [&](double l, double t, double r, double b, std::uint32_t colour) {
    const std::array<device::WorldPoint, 4> corners = {device::WorldPoint{l, t, z}, device::WorldPoint{r, t, z},
                                                       device::WorldPoint{r, b, z}, device::WorldPoint{l, b, z}};
    device.DeviceFillPolygon(corners, colour);
    Stroke(device, {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}}, z);
  };
  box(left, top, right, bottom, MakeColour(255, 255, 255));
  device.DeviceText(title, 0, left + g, top - row / 2, z, 1);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const double y = top - row * static_cast<double>(k + 1);
    box(left + g, y - 0.1 * row, left + g + swatch, y - 0.9 * row, entries[k].colour);
    device.DeviceText(entries[k].text, 0, left + 2 * g + swatch, y - row / 2, z, 1);
  }
  device.DeviceEndText();
}

}  // namespace terravue::mapping

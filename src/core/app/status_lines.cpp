#include "app/status_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/app_settings.h"
#include "app/cursor.h"
#include "app/cursor_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "tin/geometry.h"

namespace terravue::app {
namespace {

std::string F(double v) { return FormatReal(v, 12, 3); }

// "X = ... Y = ... Z = ..." or "Northing = ... Easting = ... Elevation = ...".
std::string Position(const SettingsRecord& s, double x, double y, std::string_view zText) {
  std::string line;
  if (settings::EastingFirst(s)) {
    line += msg::LineX;
    line += F(x);
    line += msg::LineY;
    line += F(y);
    line += msg::LineZ;
  } else {
    line += msg::LineNorthing;
    line += F(y);
    line += msg::LineEasting;
    line += F(x);
    line += msg::LineElevation;
  }
  line += zText;
  return line;
}

void AppendNearest(const CursorContext& c, std::string& line, double x, double y) {
  if (!c.settings.Get(app::CursorOptions::TrackNearestPoint)) return;
  line += msg::LineNearestPoint;
  line += FormatInteger(tin::NearestPoint(c.model, x, y), 0);
}

}  // namespace

std::string MouseLineText(const CursorContext& c, double x, double y) {
  if (c.model.PointCount == 0) return std::string(msg::MouseLineEmpty);
  namespace view = settings::View3DOptions;
  if (c.settings.Get(view::View3D)) {
    const double tx = c.settings.Get(view::TargetX), ty = c.settings.Get(view::TargetY);
    return std::string(msg::TargetLinePrefix) + Position(c.settings, tx, ty, F(c.settings.Get(view::TargetZ)));
  }
  const tin::Elevation z = tin::ElevationAt(c.model, c.locate, c.port, x, y);
  std::string line = std::string(msg::MouseLinePrefix) + Position(c.settings, x, y, z.ok ? F(z.z) : std::string(msg::NotApplicable));
  AppendNearest(c, line, x, y);
  return line;
}

std::string PrinterLineText(const CursorContext& c, std::string_view printerName) {
  namespace page = device::PageSetup;
  const SettingsRecord& s = c.settings;
  if (!s.Get(page::PrinterPresent)) return std::string(msg::PrinterNotAvailableLabel);
  std::string line = std::string(msg::PrinterLinePrefix) + std::string(printerName) + std::string(msg::PrinterLinePaper) +
                     s.Get(page::PaperName) + " " +
                     std::string(s.Get(page::PaperWidth) > s.Get(page::PaperHeight) ? msg::PrinterLineLandscape
                                                                                     : msg::PrinterLinePortrait);
  if (c.model.PointCount > 0) {
    line += msg::PrinterLineScale;
    line += FormatReal(s.Get(page::MapScale), 0, 3);
    line += s.Get(settings::Units) == 1 ? msg::ScaleSuffixMetres : msg::ScaleSuffixFeet;
  }
  return line;
}

std::string CursorLineText(const CursorContext& c, CursorState& cursor) {
  if (c.model.PointCount == 0) return std::string(msg::CursorLineEmpty);
  std::string zText;
  if (HasNoElevation(c.model, cursor.z)) {
    const tin::Elevation z = tin::ElevationAt(c.model, c.locate, c.port, cursor.x, cursor.y);
    if (z.ok) {
      cursor.z = std::round(z.z * 1000) / 1000;
      zText = F(cursor.z);
    } else {
      zText = msg::NotApplicable;
    }
  } else {
    zText = F(cursor.z);
  }
  std::string line = std::string(msg::CursorLinePrefix) + Position(c.settings, cursor.x, cursor.y, zText);
  AppendNearest(c, line, cursor.x, cursor.y);
  return line;
}

std::optional<int> CursorLineWidth(int currentWidth, int textWidth, int margin) {
  const long long wanted = static_cast<long long>(textWidth) + margin;
  if (std::llabs(wanted - currentWidth) < 11) return std::nullopt;
  const long long highest = std::max<long long>(CursorLineMaxWidth, static_cast<long long>(textWidth) + CursorLineFrame);
  const int width = static_cast<int>(std::clamp<long long>(wanted, CursorLineMinWidth, highest));
  if (width == currentWidth) return std::nullopt;
  return width;
}

}  // namespace terravue::app

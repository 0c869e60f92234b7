#include "app/cursor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "tin/border.h"
#include "tin/breaklines.h"
#include "tin/geometry.h"

namespace terravue::app {
namespace {

namespace opt = app::CursorOptions;
namespace page = device::PageSetup;

constexpr double Degree = std::numbers::pi / 180;

// The sheet's map limits as world X and Y ranges.
struct SheetLimits {
  double left, right, bottom, top;
};
SheetLimits Limits(const SettingsRecord& s) {
  const double l = s.Get(page::SheetLeft), r = s.Get(page::SheetRight);
  const double b = s.Get(page::SheetBottom), t = s.Get(page::SheetTop);
  return {std::min(l, r), std::max(l, r), std::min(b, t), std::max(b, t)};
}

bool PageRotated(const SettingsRecord& s) { return std::fabs(s.Get(page::RotationAngle)) > 1e-9; }

// The ray from p along the unit direction d meets segment a-b at distance t ahead.
std::optional<double> RayMeetsSegment(MapPoint p, MapPoint d, MapPoint a, MapPoint b) {
  const double ex = b.x - a.x, ey = b.y - a.y;
  const double denominator = d.x * ey - d.y * ex;
  if (std::fabs(denominator) < 1e-12) return std::nullopt;  // parallel
  const double ax = a.x - p.x, ay = a.y - p.y;
  const double t = (ax * ey - ay * ex) / denominator;
  const double u = (ax * d.y - ay * d.x) / denominator;
  if (u < 0 || u > 1 || !(t > 0.001)) return std::nullopt;
  return t;
}

std::string Real3(double v) { return FormatReal(v, 0, 3); }

}  // namespace

double SurfaceElevation(const CursorContext& context, double x, double y) {
  return tin::ElevationAt(context.model, context.locate, context.port, x, y).z;
}

bool HasNoElevation(const model::SurfaceModel& m, double z) { return tin::IsZero4(z - m.MinZ); }

void MoveCursorTo(CursorState& cursor, double x, double y, double z) {
  cursor.x = x;
  cursor.y = y;
  cursor.z = z;
  cursor.moved = true;
}

void MoveCursorOnSurface(const CursorContext& context, CursorState& cursor, double x, double y) {
  MoveCursorTo(cursor, x, y, SurfaceElevation(context, x, y));
}

// ---- Keyboard stepping ----------------------------------------------------------------------

double StepDirection(StepKey key, double rotationDegrees, bool surveyors, bool view3D) {
  double up = 90;
  if (!view3D && std::isfinite(rotationDegrees)) up = surveyors ? 90 + rotationDegrees : 90 - rotationDegrees;
  const double diagonal = up - 45;
  double degrees = up;
  switch (key) {
    case StepKey::Up: degrees = up; break;
    case StepKey::Down: degrees = up + 180; break;
    case StepKey::Left: degrees = up + 90; break;
    case StepKey::Right: degrees = up - 90; break;
    case StepKey::PageUp: degrees = diagonal; break;          // up-right
    case StepKey::PageDown: degrees = diagonal - 90; break;   // down-right
    case StepKey::End: degrees = diagonal + 180; break;       // down-left
    case StepKey::Home: degrees = diagonal + 90; break;       // up-left
  }
  return degrees * Degree;
}

std::optional<MapPoint> RayCrossing(const model::SurfaceModel& m, double x, double y, double direction) {
  const MapPoint p{x, y};
  const MapPoint d{std::cos(direction), std::sin(direction)};
  std::optional<double> nearest;
  auto consider = [&](MapPoint a, MapPoint b) {
    const auto t = RayMeetsSegment(p, d, a, b);
    if (t && (!nearest || *t < *nearest)) nearest = t;
  };

  switch (tin::CheckBorder(m, 1, m.PointCount)) {
    case tin::BorderCheck::Invalid: return std::nullopt;
    case tin::BorderCheck::None: {
      const std::array<MapPoint, 4> corners{{{m.MinX, m.MinY}, {m.MaxX, m.MinY}, {m.MaxX, m.MaxY}, {m.MinX, m.MaxY}}};
      for (std::size_t k = 0; k < corners.size(); ++k) consider(corners[k], corners[(k + 1) % corners.size()]);
      break;
    }
    case tin::BorderCheck::Valid: {
      // The ring was checked; the walk is bounded all the same.
      const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
      PointIndex i = start;
      for (int steps = 0; steps <= m.PointCount; ++steps) {
        const PointIndex next = m.BorderNext[i];
        if (next == NoPoint || next > m.PointCount) break;
        consider({m.PointX[i], m.PointY[i]}, {m.PointX[next], m.PointY[next]});
        i = next;
        if (i == start) break;
      }
      break;
    }
  }
  if (!nearest) return std::nullopt;
  return MapPoint{x + *nearest * d.x, y + *nearest * d.y};
}

std::optional<StepOutcome> StepCursor(const CursorContext& context, const CursorState& cursor, StepKey key,
                                      bool shift, int zoomLevel) {
  const SettingsRecord& s = context.settings;
  const bool view3D = s.Get(settings::View3DOptions::View3D);
  const double direction = StepDirection(key, s.Get(page::RotationAngle), s.Get(settings::AngleConvention) == 1, view3D);

  double dx = 0, dy = 0;
  if (shift) {
    const auto crossing = RayCrossing(context.model, cursor.x, cursor.y, direction);
    if (!crossing) return std::nullopt;
    // A move to a place, not a distance: the zoom does not shorten it.
    dx = crossing->x - cursor.x;
    dy = crossing->y - cursor.y;
  } else {
    const double step = s.Get(opt::CursorStep);
    if (!std::isfinite(step) || step <= 0) return std::nullopt;
    dx = step * std::cos(direction);
    dy = step * std::sin(direction);
    if (s.Get(opt::ScaleStepWithZoom) && !view3D && zoomLevel > 1) {
      dx /= zoomLevel;
      dy /= zoomLevel;
    }
  }

  StepOutcome out{cursor.x + dx, cursor.y + dy, 0};
  if (!PageRotated(s)) {
    const SheetLimits limits = Limits(s);
    if (!(limits.left < out.x && out.x < limits.right)) out.x = cursor.x;
    if (!(limits.bottom < out.y && out.y < limits.top)) out.y = cursor.y;
  }
  if (out.x == cursor.x && out.y == cursor.y) return std::nullopt;
  out.z = SurfaceElevation(context, out.x, out.y);
  return out;
}

// ---- Jump To Point --------------------------------------------------------------------------

bool CursorOnPoint(const model::SurfaceModel& m, const CursorState& cursor, PointIndex p) {
  if (p == NoPoint || p > m.PointCount) return false;
  return tin::IsZero4(cursor.x - m.PointX[p]) && tin::IsZero4(cursor.y - m.PointY[p]);
}

PointIndex FindPointLabel(const model::SurfaceModel& m, std::string_view text) {
  // Stored labels are right-justified: trailing blanks dropped, the last four characters kept.
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() > 4) text.remove_prefix(text.size() - 4);
  model::PointLabelText wanted;
  wanted.fill(' ');
  std::copy(text.begin(), text.end(), wanted.end() - static_cast<std::ptrdiff_t>(text.size()));
  for (PointIndex p = m.PointCount; p >= 1; --p)
    if (m.PointLabel[p] == wanted) return p;
  return NoPoint;
}

PointIndex JumpTarget(const model::SurfaceModel& m, UserPort& port, PointIndex p, const JumpRequest& request) {
  const PointIndex count = m.PointCount;
  if (count == 0) return NoPoint;
  switch (request.choice) {
    case JumpChoice::ClosestPoint: {
      const PointIndex q = tin::NearestOtherPoint(m, 1, count, p);
      return q == NoPoint ? p : q;
    }
    case JumpChoice::PointNumber: {
      const auto n = ParseInteger(request.number);
      if (!n) {
        port.ShowError(msg::ErrorWithPointNumber);
        return p;
      }
      if (*n < 1 || *n > count) {
        ReportOutOfRange(port, msg::JumpPointNumberLabel, "1", FormatInteger(count, 0));
        return p;
      }
      return static_cast<PointIndex>(*n);
    }
    case JumpChoice::PointLabel: {
      const PointIndex q = FindPointLabel(m, request.label);
      if (q == NoPoint) {
        port.ShowInfo(msg::PointLabelNotFound);
        return p;
      }
      return q;
    }
    case JumpChoice::NextPoint: return p >= count ? PointIndex{1} : static_cast<PointIndex>(p + 1);
    case JumpChoice::PreviousPoint: return p <= 1 ? count : static_cast<PointIndex>(p - 1);
  }
  return p;
}

bool JumpToPoint(const CursorContext& context, CursorState& cursor, const JumpDialog& dialog) {
  const model::SurfaceModel& m = context.model;
  PointIndex p = tin::NearestPoint(m, cursor.x, cursor.y);
  if (p == NoPoint) return false;
  if (CursorOnPoint(m, cursor, p)) {
    const auto request = dialog ? dialog(p) : std::nullopt;
    if (!request) return false;
    p = JumpTarget(m, context.port, p, *request);
    if (p == NoPoint) return false;
  }
  MoveCursorTo(cursor, m.PointX[p], m.PointY[p], m.PointZ[p]);
  return true;
}

// ---- Breaklines and border errors ----------------------------------------------------------

void MoveCursorToBreakline(const CursorContext& context, CursorState& cursor, BreaklineIndex i) {
  const model::SurfaceModel& m = context.model;
  if (i == NoBreakline || i > m.BreaklineCount) return;
  const model::Breakline b = m.Breaklines[i];
  if (b.From == NoPoint || b.To == NoPoint || b.From > m.PointCount || b.To > m.PointCount) return;
  MoveCursorOnSurface(context, cursor, (m.PointX[b.From] + m.PointX[b.To]) / 2, (m.PointY[b.From] + m.PointY[b.To]) / 2);
}

void MoveCursorToPoint(const model::SurfaceModel& m, CursorState& cursor, PointIndex p) {
  if (p == NoPoint || p > m.PointCount) return;
  MoveCursorTo(cursor, m.PointX[p], m.PointY[p], m.PointZ[p]);
}

bool JumpToBreakline(const CursorContext& context, CursorState& cursor, const BreaklineNumberDialog& dialog) {
  const model::SurfaceModel& m = context.model;
  if (m.BreaklineCount == 0) {
    context.port.ShowInfo(msg::NoBreaklinesExist);
    return false;
  }
  BreaklineIndex i = tin::NearestBreakline(m, cursor.x, cursor.y);
  if (i == NoBreakline) return false;
  const model::Breakline b = m.Breaklines[i];
  if (b.From == NoPoint || b.To == NoPoint || b.From > m.PointCount || b.To > m.PointCount) return false;
  const double midX = tin::RoundToThousandths((m.PointX[b.From] + m.PointX[b.To]) / 2);
  const double midY = tin::RoundToThousandths((m.PointY[b.From] + m.PointY[b.To]) / 2);
  if (tin::IsZero4(cursor.x - midX) && tin::IsZero4(cursor.y - midY)) {
    const auto typed = dialog ? dialog(i) : std::nullopt;
    if (!typed) return false;
    const auto n = ParseInteger(*typed);
    if (!n) {
      context.port.ShowError(msg::ErrorWithBreaklineNumber);
    } else if (*n < 1 || *n > m.BreaklineCount) {
      ReportOutOfRange(context.port, msg::BreaklineNumberPrompt, "1", FormatInteger(m.BreaklineCount, 0));
    } else {
      i = static_cast<BreaklineIndex>(*n);
    }
  }
  MoveCursorToBreakline(context, cursor, i);
  return true;
}

// ---- Query Point ----------------------------------------------------------------------------

QueryPointText DescribeQueryPoint(const model::SurfaceModel& m, const SettingsRecord& settings, PointIndex q) {
  QueryPointText t;
  if (q == NoPoint || q > m.PointCount) return t;
  const bool eastingFirst = settings::EastingFirst(settings);
  t.number = FormatInteger(q, 0);
  t.label = m.GetPointLabel(q);
  t.firstCaption = eastingFirst ? "X :" : "Northing :";
  t.secondCaption = eastingFirst ? "Y :" : "Easting :";
  t.first = Real3(eastingFirst ? m.PointX[q] : m.PointY[q]);
  t.second = Real3(eastingFirst ? m.PointY[q] : m.PointX[q]);
  t.elevation = Real3(m.PointZ[q]);
  t.previousEnabled = q > 1;
  t.nextEnabled = q < m.PointCount;
  return t;
}

// ---- Cursor Options -------------------------------------------------------------------------

CursorOptionsLabels CursorPositionCaptions(const SettingsRecord& settings) {
  if (settings::EastingFirst(settings))
    return {std::string(msg::XPositionLabel), std::string(msg::YPositionLabel)};
  return {std::string(msg::NorthingPositionLabel), std::string(msg::EastingPositionLabel)};
}

CursorOptionsFields CursorOptionsFieldTexts(const SettingsRecord& settings, const CursorState& cursor) {
  const bool eastingFirst = settings::EastingFirst(settings);
  return {Real3(settings.Get(opt::CursorStep)), Real3(eastingFirst ? cursor.x : cursor.y),
          Real3(eastingFirst ? cursor.y : cursor.x), settings.Get(opt::ScaleStepWithZoom)};
}

CursorOptionsFields WithTargetPosition(const SettingsRecord& settings, CursorOptionsFields fields) {
  const bool eastingFirst = settings::EastingFirst(settings);
  const double x = settings.Get(settings::View3DOptions::TargetX);
  const double y = settings.Get(settings::View3DOptions::TargetY);
  fields.first = Real3(eastingFirst ? x : y);
  fields.second = Real3(eastingFirst ? y : x);
  return fields;
}

bool StoreCursorOptions(const CursorContext& context, SettingsRecord& settings, CursorState& cursor,
                        const CursorOptionsFields& fields) {
  UserPort& port = context.port;
  const auto step = ParseReal(fields.step);
  if (!step || *step <= 0 || *step > MaxCursorStep)
    port.ShowError(msg::ErrorWithCursorStep);
  else
    settings.Set(opt::CursorStep, *step);
  settings.Set(opt::ScaleStepWithZoom, fields.scaleStep);

  const bool eastingFirst = settings::EastingFirst(settings);
  const CursorOptionsLabels labels = CursorPositionCaptions(settings);
  const SheetLimits limits = Limits(settings);
  // Each readable coordinate inside the sheet is taken; the others keep the cursor's.
  auto take = [&](const std::string& text, const std::string& prompt, double low, double high,
                  double current) -> double {
    const auto v = ParseReal(text);
    if (!v) return current;
    if (*v < low || *v > high) {
      ReportOutOfRange(port, prompt, Real3(low), Real3(high));
      return current;
    }
    return *v;
  };
  double x = cursor.x, y = cursor.y;
  if (eastingFirst) {
    x = take(fields.first, labels.first, limits.left, limits.right, cursor.x);
    y = take(fields.second, labels.second, limits.bottom, limits.top, cursor.y);
  } else {
    y = take(fields.first, labels.first, limits.bottom, limits.top, cursor.y);
    x = take(fields.second, labels.second, limits.left, limits.right, cursor.x);
  }
  // The fields show 3 decimals: an unchanged field must not move the cursor by its rounding.
  const CursorOptionsFields shown = CursorOptionsFieldTexts(settings, cursor);
  if (fields.first == shown.first && fields.second == shown.second) return false;
  if (x == cursor.x && y == cursor.y) return false;
  MoveCursorOnSurface(context, cursor, x, y);
  return true;
}

// ---- Zoom Options ---------------------------------------------------------------------------

ZoomOptionsFields ZoomOptionsFieldTexts(const SettingsRecord& settings) {
  return {settings.Get(opt::ScreenScrolling), settings.Get(opt::ZoomMethodConstant),
          FormatInteger(settings.Get(opt::ZoomFactor), 0), FormatInteger(settings.Get(opt::QuickZoomLevel), 0)};
}

std::string_view ZoomValueCaption(bool constant) {
  return constant ? msg::ZoomConstantLabel : msg::ZoomFactorLabel;
}

bool StoreZoomOptions(UserPort& port, SettingsRecord& settings, const ZoomOptionsFields& fields, int highestZoom) {
  settings.Set(opt::ScreenScrolling, fields.screenScrolling);
  settings.Set(opt::ZoomMethodConstant, fields.constant);
  bool stored = true;
  auto take = [&](const std::string& text, std::string_view prompt, int high, U8Field field) {
    const auto v = ParseInteger(text);
    if (!v || *v < 1 || *v > high) {
      ReportOutOfRange(port, prompt, "1", FormatInteger(high, 0));
      stored = false;
      return;
    }
    settings.Set(field, static_cast<std::uint8_t>(*v));
  };
  take(fields.value, ZoomValueCaption(fields.constant), MaxZoomFactor, opt::ZoomFactor);
  take(fields.quickZoom, msg::QuickZoomLevelLabel, std::clamp(highestZoom, 1, 255), opt::QuickZoomLevel);
  return stored;
}

}  // namespace terravue::app

#include "device/drawing_device.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "common/app_settings.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "tin/geometry.h"

namespace terravue::device {
namespace {

constexpr double NearZero = 0.0001;
constexpr double CentimetresPerInch = 2.54;
// The screen image stays below 32768 pixels each way.
constexpr double MaxImagePixels = 32767;
// Device positions beyond this are as good as infinitely far; holding them here keeps every
// difference and product of the clipping finite.
constexpr double FarAway = 1e12;
// Integers handed to a canvas stay far inside the 32-bit range.
constexpr double MaxCanvasCoordinate = 1e9;
// A text anchored further out than this cannot reach the sheet (255 characters of the largest
// height are shorter).
constexpr double MaxTextReach = 1e8;
constexpr std::uint32_t White = MakeColour(255, 255, 255);
constexpr std::uint32_t Black = MakeColour(0, 0, 0);
constexpr double DefaultViewOffsetX = 15000;
constexpr double DefaultViewOffsetY = -15000;
// The share of the printable area's shorter side that the model's plan diagonal spans per unit
// of the perspective scale: at the built-in eye factor of one half, nine tenths.
constexpr double FitSpan = 1.8;

bool Finite(PixelPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

PixelPoint HoldNear(PixelPoint p) {
  return {std::clamp(p.x, -FarAway, FarAway), std::clamp(p.y, -FarAway, FarAway)};
}

double UnitFactorOf(const SettingsRecord& s) {
  return s.Get(settings::Units) == 1 ? 1 / CentimetresPerInch : 1.0;
}

bool IsScreen(DeviceKind k) {
  return k == DeviceKind::ScreenMap || k == DeviceKind::ScreenOverlay ||
         k == DeviceKind::ScreenHighlight;
}

// Degrees in [0, 360) as tenths, for the canvas' escapement.
int Tenths(double radians) {
  double degrees = std::fmod(radians * 180 / std::numbers::pi, 360.0);
  if (degrees < 0) degrees += 360;
  const int tenths = static_cast<int>(RoundHalfEven(degrees * 10));
  return tenths >= 3600 ? tenths - 3600 : tenths;
}

}  // namespace

// ---- Pen widths -----------------------------------------------------------------------------

int ClampWidthIndex(int index) { return std::clamp(index, 0, WidthCount - 1); }

int PrinterPenDots(int widthIndex) { return ClampWidthIndex(widthIndex) + 1; }

int ScreenPenPixels(int widthIndex, double printerPixelsPerScreenPixel, int zoom) {
  const int w = PrinterPenDots(widthIndex);
  if (w <= 1 || !(printerPixelsPerScreenPixel > 0)) return 1;
  return static_cast<int>(RoundHalfEven(w / printerPixelsPerScreenPixel * zoom)) + 1;
}

// ---- Clipping -------------------------------------------------------------------------------

double RoundHalfEven(double v) { return std::nearbyint(v); }

std::optional<Segment> ClipSegment(const Segment& segment, const ClipRect& clip) {
  const PixelPoint a = segment.from;
  const double dx = segment.to.x - a.x;
  const double dy = segment.to.y - a.y;
  // Per side: the coordinate difference along the way out, and the distance still inside.
  const double q[4] = {-dx, dx, -dy, dy};
  const double p[4] = {a.x - clip.left, clip.right - a.x, a.y - clip.top, clip.bottom - a.y};
  double t0 = 0, t1 = 1;
  for (int side = 0; side < 4; ++side) {
    if (std::fabs(q[side]) < NearZero) {
      if (p[side] < 0) return std::nullopt;
      continue;
    }
    const double r = p[side] / q[side];
    if (q[side] >= 0) {
      if (r < t0) return std::nullopt;
      t1 = std::min(t1, r);
    } else {
      if (r > t1) return std::nullopt;
      t0 = std::max(t0, r);
    }
  }
  Segment clipped = segment;
  if (t1 < 1) clipped.to = {a.x + t1 * dx, a.y + t1 * dy};
  if (t0 > 0) clipped.from = {a.x + t0 * dx, a.y + t0 * dy};
  return clipped;
}

std::vector<PixelPoint> ClipPolygon(const std::vector<PixelPoint>& polygon, const ClipRect& clip) {
  // One pass per side, keeping what lies on its inner side (Sutherland-Hodgman).
  struct Side {
    bool vertical;
    double at;
    bool keepBelow;
  };
  const Side sides[4] = {{true, clip.left, false},
                         {true, clip.right, true},
                         {false, clip.top, false},
                         {false, clip.bottom, true}};
  std::vector<PixelPoint> out = polygon;
  for (const Side& side : sides) {
    if (out.empty()) break;
    auto inside = [&](PixelPoint p) {
      const double v = side.vertical ? p.x : p.y;
      return side.keepBelow ? v <= side.at : v >= side.at;
    };
    auto cross = [&](PixelPoint a, PixelPoint b) {
      const double va = side.vertical ? a.x : a.y;
      const double vb = side.vertical ? b.x : b.y;
      const double t = (side.at - va) / (vb - va);
      return PixelPoint{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    };
    std::vector<PixelPoint> in;
    in.swap(out);
    for (std::size_t i = 0; i < in.size(); ++i) {
      const PixelPoint cur = in[i];
      const PixelPoint prev = in[(i + in.size() - 1) % in.size()];
      if (inside(cur)) {
        if (!inside(prev)) out.push_back(cross(prev, cur));
        out.push_back(cur);
      } else if (inside(prev)) {
        out.push_back(cross(prev, cur));
      }
    }
  }
  return out;
}

// ---- 3-D projection -------------------------------------------------------------------------

Projection3D Prepare3DProjection(SettingsRecord& settings, const model::SurfaceModel& model) {
  namespace v3 = settings::View3DOptions;
  namespace page = PageSetup;
  if (std::fabs(settings.Get(v3::ViewOffsetX)) < NearZero &&
      std::fabs(settings.Get(v3::ViewOffsetY)) < NearZero) {
    settings.Set(v3::ViewOffsetX, DefaultViewOffsetX);
    settings.Set(v3::ViewOffsetY, DefaultViewOffsetY);
  }
  Projection3D p;
  p.viewOffsetX = settings.Get(v3::ViewOffsetX);
  p.viewOffsetY = settings.Get(v3::ViewOffsetY);
  p.viewOffsetZ = settings.Get(v3::ViewOffsetZ);
  p.targetX = settings.Get(v3::TargetX);
  p.targetY = settings.Get(v3::TargetY);
  p.targetZ = settings.Get(v3::TargetZ);
  p.elevationFactor = settings.Get(v3::ElevationFactor);
  p.eyeFactor = settings.Get(v3::EyeFactor);
  p.pixelAspect = settings.Get(page::PixelAspect);
  p.S = std::hypot(p.viewOffsetX, p.viewOffsetY);
  p.L = std::hypot(p.S, p.viewOffsetZ);
  p.K = 1 / (p.S * p.L);
  const double d = std::hypot(model.MaxX - model.MinX, model.MaxY - model.MinY);
  if (!(std::fabs(d) >= NearZero)) {
    p.F = 1;
  } else {
    const double side = std::min(settings.Get(page::PageWidth), settings.Get(page::PageHeight));
    p.F = side * FitSpan * (settings.Get(page::CalibrationY) / settings.Get(page::CalibrationX)) /
          p.pixelAspect / d;
  }
  return p;
}

double ViewDepth(const Projection3D& p, double x, double y, double z) {
  const double dz = (z - p.targetZ) * p.elevationFactor;
  return ((x - p.targetX) * p.viewOffsetX + (y - p.targetY) * p.viewOffsetY + dz * p.viewOffsetZ) / (p.L * p.L);
}

std::optional<std::array<WorldPoint, 2>> ClipToNearPlane(const Projection3D& p, const WorldPoint& a,
                                                         const WorldPoint& b) {
  const double wa = ViewDepth(p, a.x, a.y, a.z);
  const double wb = ViewDepth(p, b.x, b.y, b.z);
  const bool aIn = wa < NearPlaneDepth, bIn = wb < NearPlaneDepth;  // false for NaN
  if (aIn && bIn) return std::array{a, b};
  if (!aIn && !bIn) return std::nullopt;
  // The depth is linear along the segment: the crossing is where it reaches the plane.
  const double t = (NearPlaneDepth - wa) / (wb - wa);
  const WorldPoint cut{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
  if (!std::isfinite(cut.x) || !std::isfinite(cut.y) || !std::isfinite(cut.z)) return std::nullopt;
  return aIn ? std::array{a, cut} : std::array{cut, b};
}

std::vector<WorldPoint> ClipPolygonToNearPlane(const Projection3D& p, std::span<const WorldPoint> polygon) {
  std::vector<WorldPoint> out;
  out.reserve(polygon.size() + 1);
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const WorldPoint& prev = polygon[(i + polygon.size() - 1) % polygon.size()];
    const WorldPoint& cur = polygon[i];
    const bool curIn = ViewDepth(p, cur.x, cur.y, cur.z) < NearPlaneDepth;
    const bool prevIn = ViewDepth(p, prev.x, prev.y, prev.z) < NearPlaneDepth;
    if (curIn != prevIn) {
      // The edge crosses the plane: keep its crossing (the clipped segment's far end).
      if (const auto part = ClipToNearPlane(p, prev, cur)) out.push_back(curIn ? (*part)[0] : (*part)[1]);
    }
    if (curIn) out.push_back(cur);
  }
  return out;
}

PixelPoint Project3D(const Projection3D& p, double x, double y, double z) {
  const double dx = x - p.targetX;
  const double dy = y - p.targetY;
  const double dz = (z - p.targetZ) * p.elevationFactor;
  const double vx = p.viewOffsetX, vy = p.viewOffsetY, vz = p.viewOffsetZ;
  const double w = (dx * vx + dy * vy + dz * vz) / (p.L * p.L);
  constexpr double Nowhere = std::numeric_limits<double>::quiet_NaN();
  if (!(w < (1 + NearPlaneDepth) / 2)) return {Nowhere, Nowhere};
  const double v = (1 - p.eyeFactor) / (1 - w);
  const double px = RoundHalfEven(p.F * v * (vx * dy - dx * vy) / p.S);
  const double py =
      RoundHalfEven((dz * p.S * p.S - (dx * vx + dy * vy) * vz) * v * p.F * p.K * p.pixelAspect);
  return {px, py};
}

// ---- View transform -------------------------------------------------------------------------

ViewTransform ViewTransform::FromSettings(const SettingsRecord& s) {
  namespace page = PageSetup;
  ViewTransform t;
  double angle = s.Get(page::RotationAngle);
  // Clockwise angles under the surveyors' convention.
  if (s.Get(settings::AngleConvention) == 1) angle = -angle;
  t.rotation_ = angle * std::numbers::pi / 180;
  t.cos_ = std::cos(t.rotation_);
  t.sin_ = std::sin(t.rotation_);
  t.rotationCentreX_ = s.Get(page::RotationCentreX);
  t.rotationCentreY_ = s.Get(page::RotationCentreY);
  t.viewCentreX_ = s.Get(page::ViewCentreX);
  t.viewCentreY_ = s.Get(page::ViewCentreY);
  t.width_ = s.Get(page::PageWidth);
  t.height_ = s.Get(page::PageHeight);
  t.scale_ = s.Get(page::MapScale);
  t.unit_ = UnitFactorOf(s);
  t.kx_ = s.Get(page::CalibrationX) * t.unit_ * s.Get(page::DotsPerInchX) / t.scale_;
  t.ky_ = s.Get(page::CalibrationY) * t.unit_ * s.Get(page::DotsPerInchY) / t.scale_;
  return t;
}

void ViewTransform::UsePerspective(const Projection3D& projection) { perspective_ = projection; }

WorldPoint ViewTransform::Rotate(double x, double y) const {
  const double dx = x - rotationCentreX_, dy = y - rotationCentreY_;
  return {rotationCentreX_ + (cos_ * dx - sin_ * dy), rotationCentreY_ + (cos_ * dy + sin_ * dx), 0};
}

WorldPoint ViewTransform::Unrotate(double x, double y) const {
  const double dx = x - rotationCentreX_, dy = y - rotationCentreY_;
  return {rotationCentreX_ + (cos_ * dx + sin_ * dy), rotationCentreY_ + (cos_ * dy - sin_ * dx), 0};
}

PixelPoint ViewTransform::RotatedToPage(double xr, double yr) const {
  return {width_ / 2 + kx_ * (xr - viewCentreX_), height_ - (height_ / 2 + ky_ * (yr - viewCentreY_))};
}

PixelPoint ViewTransform::ToPage(double x, double y, double z) const {
  if (perspective_) {
    const PixelPoint p = Project3D(*perspective_, x, y, z);
    return {width_ / 2 + p.x, height_ - (height_ / 2 + p.y)};
  }
  const WorldPoint r = Rotate(x, y);
  return RotatedToPage(r.x, r.y);
}

WorldPoint ViewTransform::PageToWorld(PixelPoint page) const {
  if (perspective_) return {perspective_->targetX, perspective_->targetY, perspective_->targetZ};
  const double xr = viewCentreX_ + (page.x - width_ / 2) / kx_;
  const double yr = viewCentreY_ + (height_ / 2 - page.y) / ky_;
  return Unrotate(xr, yr);
}

ViewTransform CurrentViewTransform(SettingsRecord& settings, const model::SurfaceModel& model) {
  ViewTransform t = ViewTransform::FromSettings(settings);
  const Projection3D projection = Prepare3DProjection(settings, model);
  if (settings.Get(settings::View3DOptions::View3D)) t.UsePerspective(projection);
  return t;
}

// ---- Device frames --------------------------------------------------------------------------

DeviceFrame PrinterFrame(const SettingsRecord& s) {
  namespace page = PageSetup;
  DeviceFrame f;
  f.clip = {0, 0, s.Get(page::PageWidth) - 1.0, s.Get(page::PageHeight) - 1.0};
  f.fontPixelsPerInch = s.Get(page::DotsPerInchY);
  f.fontName = s.Get(settings::ReportFontName);
  f.maintainPointScale = s.Get(device::PointOptions::MaintainScale);
  return f;
}

std::optional<ScreenGeometry> ComputeScreenGeometry(const SettingsRecord& s, int clientWidth,
                                                    int clientHeight, int zoom) {
  namespace page = PageSetup;
  if (clientWidth < 1 || clientHeight < 1) return std::nullopt;
  const double paperW = s.Get(page::PaperWidth);
  const double paperH = s.Get(page::PaperHeight);
  ScreenGeometry g;
  g.printerPixelsPerScreenPixel = std::max(paperW / clientWidth, paperH / clientHeight);
  const double e = g.printerPixelsPerScreenPixel;
  g.maxZoom = std::max(1, static_cast<int>(std::min(std::trunc(e * MaxImagePixels / paperH),
                                                    std::trunc(e * MaxImagePixels / paperW))));
  g.zoom = std::clamp(zoom, 1, g.maxZoom);
  g.imageWidth = std::max(1, static_cast<int>(std::trunc(paperW / e)) * g.zoom);
  g.imageHeight = std::max(1, static_cast<int>(std::trunc(paperH / e)) * g.zoom);
  g.marginLeft = static_cast<int>(std::trunc(s.Get(page::MarginLeft) / e)) * g.zoom;
  g.marginTop = static_cast<int>(std::trunc(s.Get(page::MarginTop) / e)) * g.zoom;
  return g;
}

DeviceFrame ScreenFrame(const SettingsRecord& s, const ScreenGeometry& g) {
  DeviceFrame f;
  const double e = g.printerPixelsPerScreenPixel;
  f.scale = g.zoom / e;
  f.originX = g.marginLeft;
  f.originY = g.marginTop;
  f.truncate = true;
  f.clip = {static_cast<double>(g.marginLeft), static_cast<double>(g.marginTop),
            static_cast<double>(g.imageWidth - g.marginLeft - 1),
            static_cast<double>(g.imageHeight - g.marginTop - 1)};
  f.printerPixelsPerDevicePixel = e;
  f.zoom = g.zoom;
  f.fontPixelsPerInch = s.Get(PageSetup::DotsPerInchY) / e;
  f.fontName = s.Get(settings::ReportFontName);
  f.maintainPointScale = s.Get(device::PointOptions::MaintainScale);
  return f;
}

IntPoint ScrollToKeepPoint(const ScreenGeometry& before, const ScreenGeometry& after, IntPoint anchor,
                           IntPoint viewportPos) {
  const double pageX = (anchor.x - before.marginLeft) * before.printerPixelsPerScreenPixel / before.zoom;
  const double pageY = (anchor.y - before.marginTop) * before.printerPixelsPerScreenPixel / before.zoom;
  const double x = pageX * after.zoom / after.printerPixelsPerScreenPixel + after.marginLeft;
  const double y = pageY * after.zoom / after.printerPixelsPerScreenPixel + after.marginTop;
  return {static_cast<int>(std::clamp(std::trunc(x) - viewportPos.x, 0.0, MaxImagePixels)),
          static_cast<int>(std::clamp(std::trunc(y) - viewportPos.y, 0.0, MaxImagePixels))};
}

PixelPoint PageToDevice(const DeviceFrame& f, PixelPoint page) {
  return {page.x * f.scale + f.originX, page.y * f.scale + f.originY};
}

PixelPoint DeviceToPage(const DeviceFrame& f, PixelPoint device) {
  return {(device.x - f.originX) / f.scale, (device.y - f.originY) / f.scale};
}

int DeviceInteger(const DeviceFrame& f, double v) {
  if (!std::isfinite(v)) return 0;
  v = std::clamp(v, -MaxCanvasCoordinate, MaxCanvasCoordinate);
  return static_cast<int>(f.truncate ? std::trunc(v) : RoundHalfEven(v));
}

WorldPoint ScreenToWorldXY(const ViewTransform& t, const DeviceFrame& f, int sx, int sy) {
  return t.PageToWorld(DeviceToPage(f, {static_cast<double>(sx), static_cast<double>(sy)}));
}

WorldPoint DeviceScreenToWorld(const ViewTransform& t, const DeviceFrame& f, int sx, int sy,
                               const model::SurfaceModel& model, tin::LocateState& state,
                               UserPort& port) {
  WorldPoint w = ScreenToWorldXY(t, f, sx, sy);
  if (t.IsPerspective()) return w;
  w.z = model.TriangleCount > 0 ? tin::ElevationAt(model, state, port, w.x, w.y).z : model.MinZ;
  return w;
}

int TextPixelHeight(double height, double pixelsPerWorldUnit) {
  const double v = std::fabs(height * pixelsPerWorldUnit);
  if (!std::isfinite(v)) return std::isnan(v) ? 1 : MaxTextPixels;
  const double rounded = RoundHalfEven(v);
  return static_cast<int>(std::clamp(rounded, 1.0, static_cast<double>(MaxTextPixels)));
}

// ---- Devices --------------------------------------------------------------------------------

void DrawingDevice::DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) {
  colour_ = colour;
  layer_ = layer;
}

void PlotMarker(DrawingDevice& d, int kind, double x, double y, double z, double size) {
  if (kind < 0 || kind >= MarkerKindCount || kind == 5 || !std::isfinite(size)) return;
  const double s = std::fabs(size) / 2;
  struct Offset {
    double dx, dy;
  };
  auto stroke = [&](std::initializer_list<Offset> run) {
    bool first = true;
    for (const Offset& o : run) {
      d.DevicePlot(false, x + o.dx, y + o.dy, z);
      if (first) d.DevicePenDown();
      first = false;
    }
    d.DevicePenUp();
  };
  auto block = [&] {
    // The square and one diagonal as one stroke, then the other diagonal.
    stroke({{-s, -s}, {s, -s}, {s, s}, {-s, s}, {-s, -s}, {s, s}});
    stroke({{s, -s}, {-s, s}});
  };
  d.DevicePenUp();
  switch (kind) {
    case 0:
    case 6: block(); break;
    case 1: stroke({{-s, -s}, {s, -s}, {s, s}, {-s, s}, {-s, -s}}); break;
    case 2:
      stroke({{-s, -s}, {s, s}});
      stroke({{s, -s}, {-s, s}});
      break;
    case 3:
      stroke({{0, -s}, {0, s}});
      stroke({{-s, 0}, {s, 0}});
      break;
    case 4: stroke({{0, -s}, {s, 0}, {0, s}, {-s, 0}, {0, -s}}); break;
    case 7: {
      block();
      const double r = 2 * s;  // the diamond's corners one full size from the centre
      stroke({{0, -r}, {r, 0}, {0, r}, {-r, 0}, {0, -r}});
      break;
    }
    default: break;
  }
  d.DevicePlot(false, x, y, z);
}

void PlotArrow(DrawingDevice& d, const WorldPoint& a, const WorldPoint& b, bool closed) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const WorldPoint foot{a.x + 0.8 * dx, a.y + 0.8 * dy, a.z + 0.8 * (b.z - a.z)};
  const double t = closed ? 0.05 : 0.1;
  const WorldPoint p1{foot.x - t * dy, foot.y + t * dx, foot.z};
  const WorldPoint p2{foot.x + t * dy, foot.y - t * dx, foot.z};
  const auto stroke = [&](std::initializer_list<WorldPoint> run) {
    bool first = true;
    for (const WorldPoint& p : run) {
      d.DevicePlot(false, p.x, p.y, p.z);
      if (first) d.DevicePenDown();
      first = false;
    }
    d.DevicePenUp();
  };
  if (closed) {
    stroke({a, foot});
    stroke({b, p1});
    stroke({b, p2, p1});
  } else {
    stroke({a, b});
    stroke({b, p1});
    stroke({b, p2});
  }
}

PageDevice::PageDevice(DeviceKind kind, const ViewTransform& transform, const DeviceFrame& frame)
    : DrawingDevice(kind), transform_(transform), frame_(frame) {
  font_.name = frame_.fontName;
}

void PageDevice::Reconfigure(const ViewTransform& transform, const DeviceFrame& frame) {
  transform_ = transform;
  frame_ = frame;
  font_.name = frame_.fontName;
  last_.reset();
  lastWorld_.reset();
  canvasPos_.reset();
  appliedFont_.reset();
  fontSet_ = false;
}

PixelPoint PageDevice::ToDevice(double x, double y, double z) const {
  return PageToDevice(frame_, transform_.ToPage(x, y, z));
}

void PageDevice::DevicePixelPolyline(std::span<const IntPoint> points) {
  DevicePenUp();
  for (std::size_t i = 1; i < points.size(); ++i) {
    const PixelPoint from{static_cast<double>(points[i - 1].x), static_cast<double>(points[i - 1].y)};
    const PixelPoint to{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
    DrawSegment(from, to);
  }
  DevicePenUp();
  last_.reset();
  lastWorld_.reset();
}

void PageDevice::DevicePixelText(IntPoint topLeft, int pixelHeight, std::string_view s, double maxWidth) {
  if (!DrawsText() || s.empty()) return;
  const FontRequest kept = font_;
  font_.pixelHeight = std::clamp(pixelHeight, 1, MaxTextPixels);
  ApplyFont();
  // Characters are dropped from the end until the rest fits its cell.
  std::size_t length = s.size();
  while (length > 0 && CanvasTextExtent(s.substr(0, length)).width > maxWidth) --length;
  if (length > 0) CanvasText(topLeft, 0, s.substr(0, length));
  font_ = kept;
}

double PageDevice::TextPixelsPerUnit() const {
  const bool fixedOnScreen = pointLabelScaling && !frame_.maintainPointScale;
  const double zoom = fixedOnScreen ? 1.0 : frame_.zoom;
  return zoom * frame_.fontPixelsPerInch * transform_.UnitFactor() / transform_.MapScale();
}

bool PageDevice::DrawsText() const { return Kind() != DeviceKind::ScreenOverlay; }

void PageDevice::DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) {
  DrawingDevice::DeviceSetLayer(colour, layer);
  // White on white paper would vanish.
  const std::uint32_t drawn = Kind() == DeviceKind::Printer && colour == White ? Black : colour;
  font_.colour = drawn;
  if (penColour_ != drawn) {
    penColour_ = drawn;
    CanvasPenColour(drawn);
  }
}

void PageDevice::DeviceSetWidth(int widthIndex) {
  int pixels = 1;
  if (Kind() == DeviceKind::Printer)
    pixels = PrinterPenDots(widthIndex);
  else if (Kind() != DeviceKind::ScreenHighlight)
    pixels = ScreenPenPixels(widthIndex, frame_.printerPixelsPerDevicePixel, frame_.zoom);
  CanvasPenWidth(pixels);
}

void PageDevice::DevicePlot(bool, double x, double y, double z) {
  if (const Projection3D* projection = transform_.Perspective()) {
    PlotInPerspective(*projection, {x, y, z});
    return;
  }
  const PixelPoint p = ToDevice(x, y, z);
  if (!Finite(p)) {
    // A point that cannot be placed breaks the line; the next one starts afresh.
    last_.reset();
    return;
  }
  const PixelPoint held = HoldNear(p);
  if (penDown_ && last_) DrawSegment(*last_, held);
  last_ = held;
}

void PageDevice::PlotInPerspective(const Projection3D& projection, const WorldPoint& here) {
  const auto place = [&](const WorldPoint& w) -> std::optional<PixelPoint> {
    const PixelPoint p = ToDevice(w.x, w.y, w.z);
    if (!Finite(p)) return std::nullopt;
    return HoldNear(p);
  };
  // A point in front of the near plane is placed once, and its position kept for the next
  // segment; one beyond it has no position, and the segments to it end at the plane.
  const std::optional<PixelPoint> placed = place(here);
  if (penDown_ && lastWorld_) {
    if (last_ && placed) {
      DrawSegment(*last_, *placed);
    } else if (const auto part = ClipToNearPlane(projection, *lastWorld_, here)) {
      const auto from = last_ ? last_ : place((*part)[0]);
      const auto to = placed ? placed : place((*part)[1]);
      if (from && to) DrawSegment(*from, *to);
    }
  }
  const bool finite = std::isfinite(here.x) && std::isfinite(here.y) && std::isfinite(here.z);
  lastWorld_ = finite ? std::optional(here) : std::nullopt;
  last_ = placed;
}

void PageDevice::DevicePenDown() { penDown_ = true; }

void PageDevice::DevicePenUp() {
  penDown_ = false;
  // The next stroke starts with its own move, so that every pen-down run is one polyline.
  if (canvasPos_) CanvasPenLifted();
  canvasPos_.reset();
}

IntPoint PageDevice::ToInteger(PixelPoint p) const {
  return {DeviceInteger(frame_, p.x), DeviceInteger(frame_, p.y)};
}

void PageDevice::DrawSegment(PixelPoint from, PixelPoint to) {
  const auto visible = ClipSegment({from, to}, frame_.clip);
  if (!visible) return;
  const IntPoint start = ToInteger(visible->from);
  const IntPoint end = ToInteger(visible->to);
  if (canvasPos_ != start) CanvasMoveTo(start);
  CanvasLineTo(end);
  canvasPos_ = end;
}

void PageDevice::ApplyFont() {
  if (appliedFont_ == font_) return;
  appliedFont_ = font_;
  CanvasFont(font_);
}

void PageDevice::DeviceSetTextStyle(std::uint32_t colour, double height) {
  if (!DrawsText()) return;
  text.TextHeight = height;
  const double perUnit = TextPixelsPerUnit();
  font_.name = frame_.fontName;
  font_.pixelHeight = TextPixelHeight(height, perUnit);
  font_.colour = Kind() == DeviceKind::Printer && colour == White ? Black : colour;
  ApplyFont();
  fontSet_ = true;
  const TextExtent w = CanvasTextExtent("W");
  text.TextCharWidth = std::fabs(1.5 * height * w.width / font_.pixelHeight);
  text.TextGlyphWidth = std::fabs(height * w.width / font_.pixelHeight);
  text.TextBaselineOffset = perUnit > 0 && std::isfinite(perUnit) ? (w.height - font_.pixelHeight) / perUnit : 0;
}

void PageDevice::PlaceText(std::string_view s, double angle, PixelPoint anchor, bool alignToWidth) {
  if (!Finite(anchor) || std::fabs(anchor.x) > MaxTextReach || std::fabs(anchor.y) > MaxTextReach)
    return;
  ApplyFont();
  const TextExtent extent = CanvasTextExtent(s);
  if (alignToWidth) {
    if (text.TextRightAligned)
      anchor.x -= extent.width;
    else if (text.TextCentred)
      anchor.x -= extent.width / 2;
  }
  // Whatever the angle, the text stays within its length and height of the anchor.
  const double reach = extent.width + extent.height;
  const ClipRect& c = frame_.clip;
  if (anchor.x + reach < c.left || anchor.x - reach > c.right || anchor.y + reach < c.top ||
      anchor.y - reach > c.bottom)
    return;
  CanvasText(ToInteger(anchor), Tenths(angle), s);
}

void PageDevice::DeviceText(std::string_view s, double angle, double x, double y, double z,
                            double sizeFactor) {
  if (!DrawsText() || s.empty() || !std::isfinite(angle)) return;
  if (!fontSet_) DeviceSetTextStyle(font_.colour, text.TextHeight);
  // The cell's top-left corner goes half a text height (and the font's leading) above the
  // point, across the baseline, so that the text's middle runs through the point.
  const double lift = sizeFactor * (text.TextHeight / 2 + text.TextBaselineOffset);
  double a = angle;
  PixelPoint page;
  if (transform_.IsPerspective()) {
    page = transform_.ToPage(x - lift * std::sin(a), y + lift * std::cos(a), z);
  } else {
    const WorldPoint r = transform_.Rotate(x, y);
    a += transform_.RotationRadians();
    page = transform_.RotatedToPage(r.x - lift * std::sin(a), r.y + lift * std::cos(a));
  }
  PlaceText(s, a, PageToDevice(frame_, page), true);
}

void PageDevice::DeviceAxisText(std::string_view s, bool vertical, double x, double y, double z) {
  if (Kind() != DeviceKind::ScreenMap && Kind() != DeviceKind::Printer) return;
  if (!fontSet_) DeviceSetTextStyle(font_.colour, text.TextHeight);
  const std::string padded = std::string(s) + ' ';
  const double dir = transform_.RotationRadians() + (vertical ? std::numbers::pi / 2 : 0);
  const double lift = text.TextHeight / 2 + text.TextBaselineOffset;
  PixelPoint page;
  if (transform_.IsPerspective()) {
    page = transform_.ToPage(x - lift * std::sin(dir), y + lift * std::cos(dir), z);
  } else {
    const WorldPoint r = transform_.Rotate(x, y);
    page = transform_.RotatedToPage(r.x - lift * std::sin(dir), r.y + lift * std::cos(dir));
  }
  // Back along the text's direction by its length, so that it ends at the point.
  PixelPoint anchor = PageToDevice(frame_, page);
  ApplyFont();
  const double width = CanvasTextExtent(padded).width;
  anchor.x -= width * std::cos(dir);
  anchor.y += width * std::sin(dir);
  PlaceText(padded, dir, anchor, false);
}

void PageDevice::DeviceEndText() {
  if (DrawsText()) CanvasEndText();
}

void PageDevice::DeviceMarker(int kind, double x, double y, double z, double size) {
  if (Kind() == DeviceKind::ScreenOverlay) return;
  if (IsScreen(Kind()) && pointLabelScaling && !frame_.maintainPointScale && frame_.zoom > 0)
    size /= frame_.zoom;
  PlotMarker(*this, kind, x, y, z, size);
}

void PageDevice::DeviceTitleBlock() {
  if (Kind() != DeviceKind::ScreenMap && Kind() != DeviceKind::Printer) return;
  if (titleBlock_) titleBlock_(*this);
}

std::vector<IntPoint> PageDevice::VisibleFill(std::span<const WorldPoint> corners) const {
  if (Kind() != DeviceKind::ScreenMap && Kind() != DeviceKind::Printer) return {};
  if (corners.size() < 3) return {};
  // In the 3-D view the part behind the near plane is cut away first. Most polygons (the
  // triangles of a shaded surface) lie wholly in front of it and wholly on the sheet, and are
  // taken as they are.
  std::vector<WorldPoint> inFront;
  if (const Projection3D* projection = transform_.Perspective()) {
    const bool whole = std::all_of(corners.begin(), corners.end(), [&](const WorldPoint& c) {
      return ViewDepth(*projection, c.x, c.y, c.z) < NearPlaneDepth;
    });
    if (!whole) {
      inFront = ClipPolygonToNearPlane(*projection, corners);
      if (inFront.size() < 3) return {};
      corners = inFront;
    }
  }
  std::vector<PixelPoint> polygon;
  polygon.reserve(corners.size());
  const ClipRect& clip = frame_.clip;
  bool onSheet = true;
  for (const WorldPoint& c : corners) {
    const PixelPoint p = ToDevice(c.x, c.y, c.z);
    if (!Finite(p)) return {};
    polygon.push_back(HoldNear(p));
    onSheet = onSheet && p.x >= clip.left && p.x <= clip.right && p.y >= clip.top && p.y <= clip.bottom;
  }
  if (!onSheet) polygon = ClipPolygon(polygon, clip);
  if (polygon.size() < 3) return {};
  std::vector<IntPoint> pixels;
  pixels.reserve(polygon.size());
  for (const PixelPoint& p : polygon) pixels.push_back(ToInteger(p));
  // A polygon that has shrunk to a point or a line between whole pixels covers no pixel: at a
  // small scale many of a dense surface's triangles do.
  long long area = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const IntPoint& a = pixels[i];
    const IntPoint& b = pixels[(i + 1) % pixels.size()];
    area += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  if (area == 0) return {};
  return pixels;
}

void PageDevice::DeviceDensityFill(const std::array<WorldPoint, 3>& corners, double density) {
  if (!(density > 0)) return;  // also NaN
  const std::vector<IntPoint> pixels = VisibleFill(corners);
  if (!pixels.empty()) CanvasStipple(pixels, std::min(density, 1.0));
}

void PageDevice::DeviceFillPolygon(std::span<const WorldPoint> corners, std::uint32_t colour) {
  const std::vector<IntPoint> pixels = VisibleFill(corners);
  if (!pixels.empty()) CanvasFill(pixels, colour);
}

}  // namespace terravue::device

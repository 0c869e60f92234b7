#include "mapping/contour_smoothing.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

using device::WorldPoint;

constexpr double Pi = std::numbers::pi;
constexpr double NearZeroBound = 0.0001;
// A bend is too sharp for a label when the path through the gap is this much longer than it.
constexpr double MaxGapStretch = 1.2;
// North labels read left to right unless the line runs more than 15 degrees past north-south.
constexpr double NorthUprightLow = 105 * Pi / 180;
constexpr double NorthUprightHigh = 285 * Pi / 180;
// How far to the side of a label its uphill test looks, in length units.
constexpr double UphillProbe = 0.001;
constexpr double SameElevation = 1e-7;
// Gap and label events one handed-on point may cause at most; far beyond any sane drawing,
// it keeps a hostile combination of lengths from stalling the redraw.
constexpr int MaxEventsPerPoint = 1 << 20;

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

double Dist3(const WorldPoint& a, const WorldPoint& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double PlanDist(const WorldPoint& a, const WorldPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

WorldPoint Lerp(const WorldPoint& a, const WorldPoint& b, double f) {
  return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f};
}

WorldPoint Minus(const WorldPoint& a, const WorldPoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

double Norm2(const WorldPoint& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

}  // namespace

std::string LabelText(double value, int decimals) {
  return FormatReal(value, 0, std::clamp(decimals, 0, 3));
}

LineOutput::LineOutput(device::DrawingDevice& device) : device_(device) {}

// ---- Labels of a run ------------------------------------------------------------------------

bool LineOutput::SetUpLabels(UserPort& port) {
  port_ = &port;
  try {
    labels_.clear();
    labels_.reserve(LabelCapacity);
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::ContourLabelMemoryNotAllocated);
    labelsSetUp_ = false;
    return false;
  }
  labelsSetUp_ = true;
  phase_ = 0.3333;
  return true;
}

void LineOutput::DrawLabels() {
  device_.DeviceSetLayer(labelOptions.colour, labelOptions.layer);
  for (const StoredLabel& label : labels_)
    device_.DeviceText(LabelText(label.value, labelOptions.decimals), label.angle, label.x, label.y,
                       label.value, 1);
  labels_.clear();
}

void LineOutput::ReleaseLabels() {
  labels_.clear();
  labelsSetUp_ = false;
}

// ---- One line -------------------------------------------------------------------------------

void LineOutput::PrepareLine(bool labelled, double planLength) {
  lineLabelled_ = labelled && labelsSetUp_;
  planLength_ = planLength;
}

void LineOutput::Point(const WorldPoint& p) {
  if (!started_)
    FirstPoint(p);
  else
    DashStage(p);
}

void LineOutput::BeginLinePen() {
  started_ = true;
  device_.DevicePenDown();
}

void LineOutput::EndLine() {
  // A gap still open at the line's end gets no label: its points are drawn after all.
  if (labelled_ && labelMode_ == 0) DrawGap();
  gap_.clear();
  if (dashState_ == 1) device_.DevicePenUp();
  started_ = false;
  labelled_ = false;
  lineLabelled_ = false;
}

void LineOutput::FirstPoint(const WorldPoint& p) {
  dashState_ = 1;
  // Every line starts half way into a dash, so that its ends are drawn.
  dashRun_ = dashes.line / 2;
  last_ = p;
  gapStart_ = p;
  labelMode_ = 1;
  pathRun_ = 0;
  labelled_ = false;
  if (lineLabelled_) {
    const double chars = static_cast<double>(LabelText(p.z, labelOptions.decimals).size());
    // A gap the size of the text as the device draws it, half a character clear at each end.
    labelWidth_ = (chars + 1) * device_.text.GlyphWidth();
    PrepareSpacing();
  }
  Plot(p);
}

void LineOutput::PrepareSpacing() {
  const double length = planLength_;
  const double width = labelWidth_;
  // A label without width has no gap to sit in (a device that draws no text).
  if (!(width > 0) || !std::isfinite(width) || !std::isfinite(length) || !(labelOptions.frequency > 0))
    return;
  double step = std::trunc(100 / labelOptions.frequency * width);
  if (step == 0) step = 1;
  double count = std::trunc(length / step);
  if (count == 0 && length > 2 * width) count = 1;
  if (!(count > 0) || !std::isfinite(count)) return;
  if (!gapAllocated_) {
    if (gapFailed_) return;
    try {
      gap_.reserve(GapCapacity + 2);
      gapAllocated_ = true;
    } catch (const std::bad_alloc&) {
      gapFailed_ = true;
      if (port_) port_->ShowError(msg::ContourGapMemoryNotAllocated);
      return;
    }
  }
  spacing_ = (length - count * width) / count;
  pathRun_ = spacing_ * phase_;
  phase_ = 1 - phase_;
  gap_.clear();
  labelled_ = true;
}

void LineOutput::DashStage(const WorldPoint& p) {
  if (!dashFlag_) {
    LabelStage(p);
    return;
  }
  double d = Dist3(p, last_);
  while (!NearZero(d)) {
    const double length = dashState_ == 1 ? dashes.line : dashes.space;
    if (dashRun_ + d >= length) {
      // The dash or space ends inside this piece.
      const double f = 1 - (dashRun_ + d - length) / d;
      const WorldPoint q = Lerp(last_, p, f);
      LabelStage(q);
      const double rest = (1 - f) * d;
      dashRun_ = 0;
      last_ = q;
      TogglePen();
      dashState_ = 1 - dashState_;
      // Lengths below the precision of the coordinates make no headway.
      if (!(rest < d)) break;
      d = rest;
    } else {
      dashRun_ += d;
      LabelStage(p);
      d = 0;
    }
  }
}

void LineOutput::TogglePen() {
  // Inside a possible label gap the pen stays up; the gap buffer keeps the dash states.
  if (labelled_ && labelMode_ == 0) return;
  if (dashState_ == 1)
    device_.DevicePenUp();
  else
    device_.DevicePenDown();
}

void LineOutput::LabelStage(const WorldPoint& p) {
  if (!labelled_) {
    Plot(p);
    last_ = p;
    return;
  }
  double seg = Dist3(p, last_);
  for (int events = 0; !NearZero(seg); ++events) {
    if (events == MaxEventsPerPoint) {
      Plot(p);
      last_ = p;
      return;
    }
    if (labelMode_ == 1) {
      if (pathRun_ + seg >= spacing_) {
        // A possible gap starts inside this piece.
        const double f = 1 - (pathRun_ + seg - spacing_) / seg;
        const WorldPoint g = Lerp(last_, p, f);
        Plot(g);
        seg = (1 - f) * seg;
        pathRun_ = 0;
        device_.DevicePenUp();
        labelMode_ = 0;
        gap_.clear();
        gap_.push_back({g, dashState_});
        gapStart_ = g;
        last_ = g;
      } else {
        pathRun_ += seg;
        last_ = p;
        Plot(p);
        seg = 0;
      }
    } else if (Dist3(gapStart_, p) >= labelWidth_) {
      // The gap ends inside this piece: a label when the path through it ran nearly straight.
      WorldPoint end;
      double covered = 0;
      GapEnd(p, end, covered);
      pathRun_ += covered;
      last_ = end;
      if (pathRun_ <= MaxGapStretch * labelWidth_) {
        PlaceLabel(gapStart_, end);
        gap_.clear();
        gapStart_ = end;
        Plot(end);
        if (dashState_ == 1) device_.DevicePenDown();
      } else {
        gap_.push_back({end, dashState_});
        DrawGap();
        gapStart_ = end;
      }
      seg = Dist3(p, end);
      pathRun_ = 0;
      labelMode_ = 1;
    } else {
      pathRun_ += seg;
      gap_.push_back({p, dashState_});
      if (gap_.size() >= GapCapacity) {
        DrawGap();
        gapStart_ = p;
        pathRun_ = 0;
        labelMode_ = 1;
      }
      seg = 0;
      last_ = p;
    }
  }
}

void LineOutput::GapEnd(const WorldPoint& p, WorldPoint& end, double& covered) const {
  const WorldPoint& s = gapStart_;
  const WorldPoint& a = last_;
  const double w = labelWidth_;
  // The point at plan distance W from the gap start on the piece from a to p: the triangle
  // s, a, end solved by the laws of cosines and sines.
  const double sa = PlanDist(a, s);
  const double ap = PlanDist(p, a);
  const double sp = PlanDist(p, s);
  const double twice = 2 * sa * ap;
  const double cosA = NearZero(twice) ? 1.0 : (sa * sa + ap * ap - sp * sp) / twice;
  if (NearZero(1 - cosA * cosA)) {
    if (NearZero(sp)) {
      end = p;
    } else {
      end = Lerp(s, p, w / sp);
    }
    covered = Dist3(a, end);
    return;
  }
  const double theta = tin::SafeArcCos(cosA);
  const double phi = tin::SafeArcSin(std::sin(theta) * sa / w);
  covered = w * std::sin(Pi - theta - phi) / std::sin(theta);
  end = Lerp(a, p, covered / ap);
}

bool LineOutput::Upright(const WorldPoint& s, double alpha) const {
  if (labelOptions.direction == LabelOrientation::North) {
    double a = std::fmod(alpha, 2 * Pi);
    if (a < 0) a += 2 * Pi;
    return a <= NorthUprightLow || a >= NorthUprightHigh;
  }
  const LabelSurface& surface = labelSurface;
  if (!surface.model || !surface.state || !surface.port || surface.model->TriangleCount == 0) return true;
  // The text's top faces the left of its direction: upright when the ground rises that way.
  const double nx = std::cos(alpha + Pi / 2), ny = std::sin(alpha + Pi / 2);
  const auto at = [&](double x, double y) {
    return tin::ElevationAt(*surface.model, *surface.state, *surface.port, x, y);
  };
  const tin::Elevation here = at(s.x, s.y);
  const tin::Elevation left = at(s.x + UphillProbe * nx, s.y + UphillProbe * ny);
  if (!here.ok || !left.ok) return true;
  if (std::fabs(here.z - left.z) >= SameElevation) return here.z < left.z;
  const tin::Elevation right = at(s.x - UphillProbe * nx, s.y - UphillProbe * ny);
  if (!right.ok) return true;
  return right.z <= here.z;
}

void LineOutput::PlaceLabel(const WorldPoint& start, const WorldPoint& end) {
  const double alpha = tin::Direction(end.x - start.x, end.y - start.y);
  const bool upright = Upright(start, alpha);
  const WorldPoint& anchor = upright ? start : end;
  const double angle = upright ? alpha : alpha + Pi;
  if (labels_.size() + 1 >= LabelCapacity) {
    const std::uint32_t colour = device_.Colour();
    const CadLayer layer = device_.Layer();
    DrawLabels();
    device_.DeviceSetLayer(colour, layer);
  }
  const double half = device_.text.GlyphWidth() / 2;
  labels_.push_back({anchor.x + std::cos(angle) * half, anchor.y + std::sin(angle) * half, start.z, angle});
}

void LineOutput::DrawGap() {
  if (gap_.empty()) return;
  Plot(gap_.front().p);
  if (gap_.front().dashState == 1) device_.DevicePenDown();
  for (std::size_t i = 1; i < gap_.size(); ++i) {
    if (gap_[i].dashState != gap_[i - 1].dashState) {
      if (gap_[i].dashState == 1)
        device_.DevicePenDown();
      else
        device_.DevicePenUp();
    }
    Plot(gap_[i].p);
  }
  gap_.clear();
}

// ---- Whole lines ----------------------------------------------------------------------------

void LineOutput::StraightLine(std::span<const WorldPoint> points) {
  if (points.empty()) return;
  Point(points.front());
  BeginLinePen();
  if (!dashFlag_ && !labelled_) {
    // Neither dashes nor label gaps: the points go straight to the device.
    for (std::size_t i = 1; i < points.size(); ++i) Plot(points[i]);
    last_ = points.back();
  } else {
    for (std::size_t i = 1; i < points.size(); ++i) Point(points[i]);
  }
  EndLine();
}

void LineOutput::SmoothLine(std::span<const WorldPoint> points, bool closed) {
  const std::size_t n = points.size();
  if (n < 3 || (closed && n < 4)) {
    StraightLine(points);
    return;
  }
  const double t = smoothing.tension / 10;
  // Kochanek-Bartels: the bias leans the tangent towards the shorter of the two chords, so that
  // unevenly spaced points do not overshoot.
  const auto tangent = [t](const WorldPoint& before, const WorldPoint& at, const WorldPoint& after) {
    const WorldPoint in = Minus(at, before);
    const WorldPoint out = Minus(after, at);
    const double inLength = Norm2(in);
    const double outLength = Norm2(out);
    double bias = 0;
    if (inLength > outLength) {
      if (!NearZero(inLength)) bias = std::sqrt(outLength / inLength) - 1;
    } else if (!NearZero(outLength)) {
      bias = 1 - std::sqrt(inLength / outLength);
    }
    const double k = (1 - t) / 2;
    return WorldPoint{k * ((1 + bias) * in.x + (1 - bias) * out.x), k * ((1 + bias) * in.y + (1 - bias) * out.y),
                      k * ((1 + bias) * in.z + (1 - bias) * out.z)};
  };
  const WorldPoint first =
      closed ? tangent(points[n - 2], points[0], points[1]) : Minus(points[1], points[0]);
  WorldPoint t0 = first;
  WorldPoint p0 = points[0];
  WorldPoint p1 = points[1];
  Point(p0);
  BeginLinePen();
  for (std::size_t i = 2; i < n; ++i) {
    const WorldPoint& p2 = points[i];
    const WorldPoint t1 = tangent(p0, p1, p2);
    DrawPiece(p0, p1, t0, t1);
    t0 = t1;
    p0 = p1;
    p1 = p2;
  }
  DrawPiece(p0, p1, t0, closed ? first : Minus(p1, p0));
  EndLine();
}

void LineOutput::DrawPiece(const WorldPoint& a, const WorldPoint& b, const WorldPoint& ta,
                           const WorldPoint& tb) {
  const double span = std::fabs(b.x - a.x) + std::fabs(b.y - a.y) + std::fabs(b.z - a.z);
  const double wanted = device::RoundHalfEven(span * smoothingDensity);
  const double capped = std::min<double>(wanted, smoothing.segments);
  const int n = std::isnan(capped) ? 0 : static_cast<int>(capped);
  if (n <= 1) {
    Point(b);
    return;
  }
  for (int k = 1; k <= n; ++k) {
    if (k == n) {
      Point(b);
      break;
    }
    const double s = static_cast<double>(k) / n;
    const double s2 = s * s, s3 = s2 * s;
    const double h00 = 2 * s3 - 3 * s2 + 1;
    const double h01 = -2 * s3 + 3 * s2;
    const double h10 = s3 - 2 * s2 + s;
    const double h11 = s3 - s2;
    Point({h00 * a.x + h01 * b.x + h10 * ta.x + h11 * tb.x, h00 * a.y + h01 * b.y + h10 * ta.y + h11 * tb.y,
           h00 * a.z + h01 * b.z + h10 * ta.z + h11 * tb.z});
  }
}

}  // namespace terravue::mapping

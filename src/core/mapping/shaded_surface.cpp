#include "mapping/shaded_surface.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

#include "common/settings_record.h"
#include "device/drawing_device.h"
#include "device/page_setup_settings.h"
#include "model/surface_model.h"

namespace terravue::mapping {
namespace {

using model::SurfaceModel;

// Pale elevation tints from low ground to high, light enough for the lines drawn over them.
struct Tint {
  double at;
  double r, g, b;
};
constexpr std::array<Tint, 4> Tints = {{
    {0.00, 128, 180, 122},
    {0.35, 200, 218, 146},
    {0.70, 226, 198, 144},
    {1.00, 198, 166, 134},
}};
// A triangle seen edge on keeps this share of its tint.
constexpr double Ambient = 0.6;
// The tints span the elevations between these shares of the points: a few wild elevations (a
// mistyped point far below the rest) do not wash the whole surface into one tint.
constexpr double LowShare = 0.02, HighShare = 0.98;

struct Vec {
  double x, y, z;
};
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Where the picture sees things: elevations exaggerated about the target as the projection does.
struct ViewSpace {
  const SurfaceModel& m;
  const device::Projection3D& p;
  Vec eye{p.targetX + p.viewOffsetX, p.targetY + p.viewOffsetY, p.viewOffsetZ};

  Vec At(PointIndex i) const { return {m.PointX[i], m.PointY[i], (m.PointZ[i] - p.targetZ) * p.elevationFactor}; }
};

bool UsableCorners(const SurfaceModel& m, const model::TriangleCorners& c) {
  for (const PointIndex i : c)
    if (i == NoPoint || i > m.PointCount) return false;
  return true;
}

std::uint8_t Channel(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5); }

// The elevations the tints run between.
struct TintRange {
  double low, high;
};

TintRange ElevationsToTint(const SurfaceModel& m) {
  std::vector<double> z(m.PointZ.begin() + 1, m.PointZ.begin() + 1 + m.PointCount);
  if (z.empty()) return {0, 0};
  const auto at = [&z](double share) {
    const auto k = static_cast<std::ptrdiff_t>(share * static_cast<double>(z.size() - 1));
    std::nth_element(z.begin(), z.begin() + k, z.end());
    return z[static_cast<std::size_t>(k)];
  };
  const TintRange range{at(LowShare), at(HighShare)};
  // Elevations nearly all alike: the whole range.
  return range.high > range.low ? range : TintRange{m.MinZ, m.MaxZ};
}

// The triangles with usable corners, farthest first. One key per triangle, sorted as a whole
// number: the distance's bits inverted above the triangle's index, so that equal distances go
// in triangle order, the same on every device.
std::vector<TriangleIndex> Order(const SurfaceModel& m, const ViewSpace& view) {
  std::vector<std::uint64_t> keys;
  keys.reserve(m.TriangleCount);
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    const model::TriangleCorners& c = m.TriVertex[t];
    if (!UsableCorners(m, c)) continue;
    const Vec a = view.At(c[0]), b = view.At(c[1]), d = view.At(c[2]);
    const Vec toEye = view.eye - Vec{(a.x + b.x + d.x) / 3, (a.y + b.y + d.y) / 3, (a.z + b.z + d.z) / 3};
    // Squared distances are never negative, so their bits order as they do.
    const float distance = static_cast<float>(Dot(toEye, toEye));
    keys.push_back(std::uint64_t{~std::bit_cast<std::uint32_t>(distance)} << 16 | t);
  }
  std::sort(keys.begin(), keys.end());
  std::vector<TriangleIndex> order;
  order.reserve(keys.size());
  for (const std::uint64_t k : keys) order.push_back(static_cast<TriangleIndex>(k & 0xFFFF));
  return order;
}

}  // namespace

std::vector<TriangleIndex> BackToFront(const SurfaceModel& m, const device::Projection3D& p) {
  return Order(m, ViewSpace{m, p});
}

std::uint32_t ShadeColour(double height, double light, bool grey) {
  height = std::isfinite(height) ? std::clamp(height, 0.0, 1.0) : 0.0;
  light = std::isfinite(light) ? std::clamp(light, 0.0, 1.0) : 1.0;
  std::size_t k = 1;
  while (k + 1 < Tints.size() && height > Tints[k].at) ++k;
  const Tint& lo = Tints[k - 1];
  const Tint& hi = Tints[k];
  const double f = (height - lo.at) / (hi.at - lo.at);
  double r = lo.r + f * (hi.r - lo.r), g = lo.g + f * (hi.g - lo.g), b = lo.b + f * (hi.b - lo.b);
  if (grey) r = g = b = 0.3 * r + 0.59 * g + 0.11 * b;
  const double intensity = Ambient + (1 - Ambient) * light;
  return MakeColour(Channel(r * intensity), Channel(g * intensity), Channel(b * intensity));
}

void DrawShadedSurface(const SettingsRecord& s, const SurfaceModel& m, device::DrawingDevice& d,
                       const device::Projection3D& p) {
  const ViewSpace view{m, p};
  const bool grey = d.Kind() == device::DeviceKind::Printer && s.Get(device::PageSetup::BlackAndWhite);
  const TintRange tint = ElevationsToTint(m);
  const double range = tint.high - tint.low;
  std::array<device::WorldPoint, 3> corners;
  for (const TriangleIndex t : Order(m, view)) {
    const model::TriangleCorners& c = m.TriVertex[t];
    const Vec a = view.At(c[0]), b = view.At(c[1]), e = view.At(c[2]);
    const Vec normal = Cross(b - a, e - a);
    const Vec toEye = view.eye - Vec{(a.x + b.x + e.x) / 3, (a.y + b.y + e.y) / 3, (a.z + b.z + e.z) / 3};
    // Either side of a triangle faces the eye alike: seen from below it is lit as from above.
    const double lengths = std::sqrt(Dot(normal, normal) * Dot(toEye, toEye));
    const double light = lengths > 0 ? std::fabs(Dot(normal, toEye)) / lengths : 1.0;
    const double meanZ = (m.PointZ[c[0]] + m.PointZ[c[1]] + m.PointZ[c[2]]) / 3;
    const double height = range > 0 ? (meanZ - tint.low) / range : 0.0;
    for (std::size_t i = 0; i < 3; ++i) corners[i] = {m.PointX[c[i]], m.PointY[c[i]], m.PointZ[c[i]]};
    d.DeviceFillPolygon(corners, ShadeColour(height, light, grey));
  }
}

}  // namespace terravue::mapping

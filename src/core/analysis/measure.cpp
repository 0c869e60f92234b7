#include "analysis/measure.h"

#include <algorithm>
#include <cmath>

#include "analysis/facets.h"
#include "analysis/vector_accumulator.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::analysis {
namespace {

constexpr double DegreesPerRadian = 57.29577951308232;
constexpr double SquareMetresPerHectare = 10000;
constexpr double SquareFeetPerAcre = 43560;

std::string Real(double v) { return FormatReal(v, 0, 3); }
std::string Percent(double v) { return Real(v) + std::string(msg::PercentSuffix); }

bool Metric(const SettingsRecord& s) { return s.Get(settings::Units) == 1; }
bool Surveyors(const SettingsRecord& s) { return s.Get(settings::AngleConvention) == 1; }
double LargeArea(const SettingsRecord& s, double area) {
  return area / (Metric(s) ? SquareMetresPerHectare : SquareFeetPerAcre);
}
std::string LargeCaption(const SettingsRecord& s) {
  return std::string(Metric(s) ? msg::HectaresCaption : msg::AcresCaption);
}

// A direction from dx, dy as the settings show angles: from East counter-clockwise, or from
// North clockwise for surveyors (90 minus it, not reduced). A line without plan length has no
// direction.
InfoRow AngleRow(const SettingsRecord& s, double dx, double dy) {
  const std::string caption(Surveyors(s) ? msg::AngleFromNorth : msg::AngleFromEast);
  if (tin::IsZero4(std::hypot(dx, dy))) return {caption, std::string(msg::NotApplicable)};
  const double east = tin::Direction(dx, dy) * DegreesPerRadian;
  return {caption, Real(Surveyors(s) ? 90 - east : east)};
}

}  // namespace

// ---- Length -----------------------------------------------------------------------------------

LengthPick NearestLengthPick(const model::SurfaceModel& m, const VectorAccumulator& vectors, double x, double y) {
  const PointIndex p = tin::NearestPoint(m, x, y);
  if (p == NoPoint) return {0, true};
  const auto d2 = [&](double px, double py) { return (px - x) * (px - x) + (py - y) * (py - y); };
  double best = d2(m.PointX[p], m.PointY[p]);
  LengthPick pick{p, true};
  for (std::size_t k = 1; k <= vectors.VertexCount(); ++k) {
    const VectorVertex& v = vectors.Vertex(k);
    const double d = d2(v.X, v.Y);
    if (d < best) {
      best = d;
      pick = {static_cast<std::uint16_t>(k), false};
    }
  }
  return pick;
}

TracePoint PickPosition(const model::SurfaceModel& m, const VectorAccumulator& vectors, const LengthPick& pick) {
  if (pick.dataPoint) {
    if (pick.index == NoPoint || pick.index > m.PointCount) return {};
    return {m.PointX[pick.index], m.PointY[pick.index], m.PointZ[pick.index]};
  }
  if (pick.index == 0 || pick.index > vectors.VertexCount()) return {};
  const VectorVertex& v = vectors.Vertex(pick.index);
  return {v.X, v.Y, v.Z};
}

std::string PickText(const LengthPick& pick) {
  return (pick.dataPoint ? "P: " : "V: ") + FormatInteger(pick.index, 0);
}

LengthInfo DescribeLength(const std::vector<TracePoint>& path, bool closed, const SettingsRecord& s) {
  LengthInfo info;
  const std::size_t n = path.size();
  info.totalPoints = std::string(msg::TotalPoints) + FormatInteger(static_cast<std::int64_t>(n), 0);
  info.closed = closed;
  double slopeDistance = 0, horizontal = 0, vertical = 0, areaSum = 0;
  double highest = n ? path[0].z : 0, lowest = highest;
  for (std::size_t i = 0; i < n; ++i) {
    highest = std::max(highest, path[i].z);
    lowest = std::min(lowest, path[i].z);
    if (i + 1 == n) break;
    const TracePoint& a = path[i];
    const TracePoint& b = path[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    slopeDistance += std::sqrt(dx * dx + dy * dy + dz * dz);
    horizontal += std::sqrt(dx * dx + dy * dy);
    vertical += dz;
    areaSum += (a.x + b.x) * (a.y - b.y);
  }
  info.slopeDistance = Real(slopeDistance);
  info.horizontalDistance = Real(horizontal);
  info.verticalDistance = Real(vertical);
  info.showElevation = n >= 3;
  info.highest = Real(highest);
  info.lowest = Real(lowest);
  info.difference = Real(highest - lowest);
  info.showOther = n < 4 || closed;
  if (closed) {
    const double area = std::fabs(areaSum) / 2;
    info.other1 = {std::string(msg::DefinedArea), Real(area)};
    info.other2 = {LargeCaption(s), Real(LargeArea(s, area))};
  }
  if (n == 2) {
    const std::string grade = tin::IsZero4(horizontal) ? std::string(msg::NotApplicable) : Real(vertical * 100 / horizontal);
    info.other1 = {std::string(msg::Slope3D), grade};
    info.other2 = AngleRow(s, path[1].x - path[0].x, path[1].y - path[0].y);
  }
  if (n == 3) {
    const double angle = tin::AngleAt({path[0].x, path[0].y}, {path[1].x, path[1].y}, {path[2].x, path[2].y});
    info.other1 = {std::string(msg::IncludedAngle), Real(angle * DegreesPerRadian)};
    info.other2.visible = false;
  }
  return info;
}

// ---- Query Triangle ---------------------------------------------------------------------------

TriangleQueryInfo DescribeTriangles(const model::SurfaceModel& m, const std::vector<TriangleIndex>& triangles,
                                    const SettingsRecord& s) {
  TriangleQueryInfo info;
  info.totalTriangles = std::string(msg::TotalTriangles) + FormatInteger(static_cast<std::int64_t>(triangles.size()), 0);
  double area2 = 0, area3 = 0, weighted = 0;
  double minSlope = 1.7e308, maxSlope = -1.7e308;
  Facet last;
  double lastSlope = 0;
  std::size_t counted = 0;
  for (const TriangleIndex t : triangles) {
    info.triangles.push_back(FormatInteger(t, 0));
    if (!ValidTriangle(m, t)) continue;
    last = FacetOf(m, t);
    lastSlope = SlopePercent(last);
    ++counted;
    area2 += last.area2D;
    area3 += last.area3D;
    weighted += lastSlope * last.area2D;
    minSlope = std::min(minSlope, lastSlope);
    maxSlope = std::max(maxSlope, lastSlope);
  }
  if (counted == 0) minSlope = maxSlope = 0;
  info.lastSlope = Percent(lastSlope);
  info.lastArea2D = Real(last.area2D);
  info.lastArea3D = Real(last.area3D);
  // Triangles without plan area weigh nothing; their plain mean stands in.
  info.averageSlope = Percent(area2 > 0 ? weighted / area2 : (minSlope + maxSlope) / 2);
  info.minimumSlope = Percent(minSlope);
  info.maximumSlope = Percent(maxSlope);
  info.area2D = Real(area2);
  info.area3D = Real(area3);
  info.area2DLarge = Real(LargeArea(s, area2));
  info.area3DLarge = Real(LargeArea(s, area3));
  info.largeCaption = LargeCaption(s);
  return info;
}

// ---- The breakline query ----------------------------------------------------------------------

BreaklineQueryInfo DescribeBreakline(const model::SurfaceModel& m, BreaklineIndex i, const SettingsRecord& s) {
  BreaklineQueryInfo info;
  if (i == NoBreakline || i > m.BreaklineCount) return info;
  const auto [a, b] = m.Breaklines[i];
  if (a == NoPoint || a > m.PointCount || b == NoPoint || b > m.PointCount) return info;
  info.nextEnabled = m.BreaklineCount > 1 && i < m.BreaklineCount;
  info.previousEnabled = m.BreaklineCount >= 2 && i >= 2;
  info.number = std::string(msg::BreaklineNumber) + FormatInteger(i, 0);
  info.fromPoint = std::string(msg::PointNumberPrefix) + FormatInteger(a, 0);
  info.toPoint = std::string(msg::PointNumberPrefix) + FormatInteger(b, 0);
  const bool eastingFirst = settings::EastingFirst(s);
  info.firstCaption = std::string(eastingFirst ? msg::ColumnX : msg::ColumnNorthing);
  info.secondCaption = std::string(eastingFirst ? msg::ColumnY : msg::ColumnEasting);
  info.thirdCaption = std::string(eastingFirst ? msg::ColumnZ : msg::ColumnElevation);
  info.fromFirst = Real(eastingFirst ? m.PointX[a] : m.PointY[a]);
  info.fromSecond = Real(eastingFirst ? m.PointY[a] : m.PointX[a]);
  info.fromZ = Real(m.PointZ[a]);
  info.toFirst = Real(eastingFirst ? m.PointX[b] : m.PointY[b]);
  info.toSecond = Real(eastingFirst ? m.PointY[b] : m.PointX[b]);
  info.toZ = Real(m.PointZ[b]);
  const double dx = m.PointX[b] - m.PointX[a], dy = m.PointY[b] - m.PointY[a];
  const double vertical = m.PointZ[a] - m.PointZ[b];
  const double horizontal = std::sqrt(dx * dx + dy * dy);
  info.slopeDistance = Real(std::sqrt(dx * dx + dy * dy + vertical * vertical));
  info.horizontalDistance = Real(horizontal);
  info.verticalDistance = Real(vertical);
  info.slope = tin::IsZero4(horizontal) ? std::string(msg::NotApplicable) : Real(vertical * 100 / horizontal);
  const InfoRow angle = AngleRow(s, dx, dy);
  info.angleCaption = angle.caption;
  info.angle = angle.value;
  return info;
}

}  // namespace terravue::analysis

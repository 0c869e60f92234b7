#include "tin/border.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <string>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/predicates.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

void ClearBorder(SurfaceModel& m) {
  std::fill_n(m.BorderNext.begin(), std::min<std::size_t>(std::size_t{m.PointCount} + 1, m.BorderNext.size()),
              NoPoint);
}

bool ValidPoint(const SurfaceModel& m, int p) { return p >= 1 && p <= m.PointCount; }

}  // namespace

BorderCheck CheckBorder(const SurfaceModel& m, PointIndex first, PointIndex last) {
  const int lo = std::max<int>(first, 1);
  const int hi = std::min<int>(last, static_cast<int>(m.BorderNext.size()) - 1);
  int members = 0;
  int start = 0;
  for (int i = lo; i <= hi; ++i) {
    if (m.BorderNext[i] != NoPoint) {
      ++members;
      start = i;
    }
  }
  if (members == 0) return BorderCheck::None;

  int i = start;
  int steps = 0;
  for (;;) {
    i = m.BorderNext[i];
    ++steps;
    if (i == start || i < lo || i > hi || steps > hi) break;
  }
  return i == start && steps == members && steps > 2 ? BorderCheck::Valid : BorderCheck::Invalid;
}

void AllocateBorderErrors(Session& session, BorderErrors& errors) {
  try {
    errors.flags.assign(std::size_t{model::SurfaceModel::PointCapacity} + 1, 0);
  } catch (const std::bad_alloc&) {
    errors.flags.clear();
    session.port.ShowError(msg::InsufficientMemoryForBorderErrors);
  }
  errors.cursor = NoPoint;
}

void ResetBorderErrors(BorderErrors& errors, int pointCount) {
  errors.cursor = NoPoint;
  std::fill_n(errors.flags.begin(), std::min<std::size_t>(static_cast<std::size_t>(pointCount) + 1, errors.flags.size()),
              std::uint8_t{0});
}

namespace {

// Points that may lie on the hull: all but those strictly inside the polygon of the extreme
// points in eight directions, which are hull points themselves; on most sites that leaves a few
// hundred of many thousands. The diagonal extremes come from rounded sums, so the polygon is used
// only when it is exactly convex. A point strictly inside the rectangle bounded by the polygon's
// corners on each side lies inside it without a test.
std::vector<PointIndex> HullCandidates(const SurfaceModel& m) {
  const int n = m.PointCount;
  const auto& x = m.PointX;
  const auto& y = m.PointY;
  // Counter-clockwise from the left: the extremes towards directions 180, 225, ..., 135 degrees.
  std::array<PointIndex, 8> e;
  e.fill(1);
  for (int i = 2; i <= n; ++i) {
    const double xi = x[i], yi = y[i];
    const auto p = static_cast<PointIndex>(i);
    if (xi < x[e[0]]) e[0] = p;
    if (xi + yi < x[e[1]] + y[e[1]]) e[1] = p;
    if (yi < y[e[2]]) e[2] = p;
    if (xi - yi > x[e[3]] - y[e[3]]) e[3] = p;
    if (xi > x[e[4]]) e[4] = p;
    if (xi + yi > x[e[5]] + y[e[5]]) e[5] = p;
    if (yi > y[e[6]]) e[6] = p;
    if (yi - xi > y[e[7]] - x[e[7]]) e[7] = p;
  }
  const double left = std::max({x[e[7]], x[e[0]], x[e[1]]}), right = std::min({x[e[3]], x[e[4]], x[e[5]]});
  const double bottom = std::max({y[e[1]], y[e[2]], y[e[3]]}), top = std::min({y[e[5]], y[e[6]], y[e[7]]});
  std::vector<PointIndex> polygon(e.begin(), e.end());
  polygon.erase(std::unique(polygon.begin(), polygon.end(),
                            [&](PointIndex a, PointIndex b) { return x[a] == x[b] && y[a] == y[b]; }),
                polygon.end());
  while (polygon.size() > 1 && x[polygon.front()] == x[polygon.back()] && y[polygon.front()] == y[polygon.back()])
    polygon.pop_back();
  std::vector<PointIndex> candidates;
  const std::size_t k = polygon.size();
  bool convex = k >= 3;
  for (std::size_t i = 0; i < k && convex; ++i)
    convex = OrientationSign(m, polygon[i], polygon[(i + 1) % k], polygon[(i + 2) % k]) >= 0;
  for (int i = 1; i <= n; ++i) {
    const auto p = static_cast<PointIndex>(i);
    if (convex && x[p] > left && x[p] < right && y[p] > bottom && y[p] < top) continue;
    bool inside = convex;
    for (std::size_t j = 0; j < k && inside; ++j) {
      const PointIndex a = polygon[j], b = polygon[(j + 1) % k];
      // OrientationSign's own first test, written out for the many points well inside.
      const double l = (x[a] - x[p]) * (y[b] - y[p]), r = (x[b] - x[p]) * (y[a] - y[p]);
      const double error = 0x1p-51 * (std::fabs(l) + std::fabs(r));
      inside = l - r > error || (l - r >= -error && OrientationSign(m, a, b, p) > 0);
    }
    if (!inside) candidates.push_back(p);
  }
  return candidates;
}

// The hull's boundary counter-clockwise through every point on it, corners and the points lying
// exactly on its edges in order along them (Andrew's monotone chains, each turn decided exactly).
// Of points at one position only the lowest numbered is taken. Points in one line give the
// points along the line.
std::vector<PointIndex> HullRing(const SurfaceModel& m) {
  std::vector<PointIndex> points = HullCandidates(m);
  std::sort(points.begin(), points.end(), [&](PointIndex a, PointIndex b) {
    if (m.PointX[a] != m.PointX[b]) return m.PointX[a] < m.PointX[b];
    if (m.PointY[a] != m.PointY[b]) return m.PointY[a] < m.PointY[b];
    return a < b;
  });
  points.erase(std::unique(points.begin(), points.end(),
                           [&](PointIndex a, PointIndex b) { return m.PointX[a] == m.PointX[b] && m.PointY[a] == m.PointY[b]; }),
               points.end());
  if (points.size() < 3) return points;
  // Only a strict turn the wrong way leaves a chain, so points in line stay on it.
  const auto chain = [&](auto first, auto last) {
    std::vector<PointIndex> hull;
    for (auto it = first; it != last; ++it) {
      while (hull.size() >= 2 && OrientationSign(m, hull[hull.size() - 2], hull.back(), *it) < 0) hull.pop_back();
      hull.push_back(*it);
    }
    return hull;
  };
  std::vector<PointIndex> ring = chain(points.begin(), points.end());
  const std::vector<PointIndex> upper = chain(points.rbegin(), points.rend());
  // Points in one line: the lower chain holds them all, and the upper would run back over them.
  if (upper.size() + ring.size() == 2 * points.size()) return ring;
  ring.insert(ring.end(), upper.begin() + 1, upper.end() - 1);
  return ring;
}

// The start of the ring: the lowest point and, of nearly equally low ones, the leftmost, found
// by one scan in point order; taken from the ring points alone when the scan over all points
// ends on a point off the ring (one a hair above a lower edge).
PointIndex StartPoint(const SurfaceModel& m, const std::vector<PointIndex>& candidates) {
  PointIndex b = candidates.front();
  for (PointIndex i : candidates) {
    if (m.PointY[i] <= m.PointY[b] && (!IsZero4(Real{m.PointY[i]} - Real{m.PointY[b]}) || m.PointX[i] <= m.PointX[b]))
      b = i;
  }
  return b;
}

}  // namespace

bool PointsAreCollinear(const SurfaceModel& m) {
  const int n = m.PointCount;
  if (n < 1) return true;
  int second = 2;
  while (second <= n && m.PointX[second] == m.PointX[1] && m.PointY[second] == m.PointY[1]) ++second;
  for (int i = second + 1; i <= n; ++i)
    if (OrientationSign(m, 1, static_cast<PointIndex>(second), static_cast<PointIndex>(i)) != 0) return false;
  return true;
}

void CreateConvexBorder(Session& session, BorderErrors& errors, bool quiet) {
  SurfaceModel& m = session.model;
  ResetBorderErrors(errors, m.PointCount);
  if (m.PointCount <= 2) return;
  session.port.BeginProgress(msg::CreatingBorder, false);
  ClearBorder(m);

  std::vector<PointIndex> ring = HullRing(m);
  std::vector<PointIndex> all(m.PointCount);
  for (int i = 0; i < m.PointCount; ++i) all[static_cast<std::size_t>(i)] = static_cast<PointIndex>(i + 1);
  PointIndex start = StartPoint(m, all);
  if (std::find(ring.begin(), ring.end(), start) == ring.end()) {
    std::vector<PointIndex> byNumber = ring;
    std::sort(byNumber.begin(), byNumber.end());
    start = StartPoint(m, byNumber);
  }
  std::rotate(ring.begin(), std::find(ring.begin(), ring.end(), start), ring.end());
  if (ring.size() >= 2) {
    for (std::size_t k = 0; k < ring.size(); ++k) m.BorderNext[ring[k]] = ring[(k + 1) % ring.size()];
  }

  session.port.EndProgress();
  if (!quiet) session.port.ShowCompletion(msg::BorderComplete);
}

// ---- Border Editor operations ---------------------------------------------------------------

void ConvexBorderCommand(Session& session, BorderErrors& errors) {
  SurfaceModel& m = session.model;
  m.TriangleCount = 0;
  CreateConvexBorder(session, errors, false);
  bool verify = false;
  if (CheckBorder(m, 1, m.PointCount) != BorderCheck::Valid) {
    session.port.ShowError(msg::ErrorCreatingBorder);
    ClearBorder(m);
  } else {
    verify = session.port.AskYesNo(msg::VerifyTheBorder);
  }
  model::MarkModified(session);
  if (verify) VerifyBorder(session, errors);
}

void CloseNewBorder(Session& session, BorderErrors& errors, const std::vector<PointIndex>& picked) {
  SurfaceModel& m = session.model;
  if (picked.size() < 3) return;
  for (PointIndex p : picked)
    if (!ValidPoint(m, p)) return;
  model::MarkModified(session);
  ClearBorder(m);
  for (std::size_t k = 0; k + 1 < picked.size(); ++k) m.BorderNext[picked[k]] = picked[k + 1];
  m.BorderNext[picked.back()] = picked.front();
  m.TriangleCount = 0;
  ResetBorderErrors(errors, m.PointCount);
}

void NewBorderSeries(Session& session, BorderErrors& errors, PointIndex first, PointIndex last) {
  SurfaceModel& m = session.model;
  if (last - first < 2) {
    session.port.ShowError(msg::MinimumRangeOfThreePoints);
    return;
  }
  if (!ValidPoint(m, first) || !ValidPoint(m, last)) return;
  model::MarkModified(session);
  ClearBorder(m);
  for (int i = first; i < last; ++i) m.BorderNext[i] = static_cast<PointIndex>(i + 1);
  m.BorderNext[last] = first;
  m.TriangleCount = 0;
  ResetBorderErrors(errors, m.PointCount);
  if (session.port.AskYesNo(msg::VerifyTheBorder)) VerifyBorder(session, errors);
}

void InsertBorderPoint(Session& session, BorderErrors& errors, PointIndex p) {
  SurfaceModel& m = session.model;
  if (!ValidPoint(m, p)) return;
  if (m.BorderNext[p] != NoPoint) {
    session.port.ShowInfo(msg::PointAlreadyOnBorder);
    return;
  }
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) {
    session.port.ShowWarning(msg::NoBorderSegmentForInsert);
    return;
  }
  // The segment nearest to the point, not necessarily between the two nearest border points.
  const XY position = PointXY(m, p);
  PointIndex nearest = NoPoint;
  double best = FarDistance;
  PointIndex i = start;
  for (int step = 0; step < m.PointCount; ++step) {
    const PointIndex j = m.BorderNext[i];
    if (j == NoPoint || j > m.PointCount) break;
    const double d = SegmentDistance2(PointXY(m, i), PointXY(m, j), position);
    if (d < best) {
      best = d;
      nearest = i;
    }
    i = j;
    if (i == start) break;
  }
  if (nearest == NoPoint) return;
  m.BorderNext[p] = m.BorderNext[nearest];
  m.BorderNext[nearest] = p;
  m.TriangleCount = 0;
  if (p < errors.flags.size()) errors.flags[p] = 0;
  model::MarkModified(session);
}

void DeleteBorderPoint(Session& session, PointIndex p) {
  SurfaceModel& m = session.model;
  if (!ValidPoint(m, p) || m.BorderNext[p] == NoPoint) {
    session.port.ShowWarning(msg::PointNotOnBorder);
    return;
  }
  int members = 0;
  PointIndex previous = NoPoint;
  for (int k = 1; k <= m.PointCount; ++k) {
    if (m.BorderNext[k] != NoPoint) ++members;
    if (m.BorderNext[k] == p) previous = static_cast<PointIndex>(k);
  }
  if (members < 4) {
    session.port.ShowWarning(msg::CannotRemoveBorderPoint);
    return;
  }
  if (previous != NoPoint) {
    m.BorderNext[previous] = m.BorderNext[p];
    if (m.BorderNext[previous] == previous) m.BorderNext[previous] = NoPoint;
  }
  m.BorderNext[p] = NoPoint;
  m.TriangleCount = 0;
  model::MarkModified(session);
}

// ---- Verification ---------------------------------------------------------------------------

double BorderArea(const SurfaceModel& m) {
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return 0;
  Real sum = 0;
  PointIndex i = start;
  for (int step = 0; step < m.PointCount; ++step) {
    const PointIndex j = m.BorderNext[i];
    if (j == NoPoint || j > m.PointCount) break;
    sum += (Real{m.PointX[i]} + Real{m.PointX[j]}) * (Real{m.PointY[i]} - Real{m.PointY[j]});
    i = j;
    if (i == start) break;
  }
  return static_cast<double>(std::fabs(sum / 2));
}

namespace {

// The report's coordinate columns follow the user's coordinate order.
struct CoordinateColumns {
  bool eastingFirst;
  double First(const SurfaceModel& m, PointIndex p) const { return eastingFirst ? m.PointX[p] : m.PointY[p]; }
  double Second(const SurfaceModel& m, PointIndex p) const { return eastingFirst ? m.PointY[p] : m.PointX[p]; }
};

CoordinateColumns ColumnsOf(const Session& session) {
  return {settings::EastingFirst(session.settings)};
}

std::string PointLine(const SurfaceModel& m, const CoordinateColumns& columns, PointIndex i, double distance) {
  return " " + FormatReal(distance, 8, 3) + "    " + FormatInteger(i, 4) + "    <" + m.GetPointLabel(i) + "> " +
         FormatReal(columns.First(m, i), 14, 3) + " " + FormatReal(columns.Second(m, i), 14, 3) + " " +
         FormatReal(m.PointZ[i], 14, 3);
}

void WriteExtentLine(TextReport& report, std::string_view label, double minimum, double maximum,
                     std::string_view unit) {
  report.WriteLine(std::string(label) + FormatReal(minimum, 14, 3) + " " + FormatReal(maximum, 14, 3) + " " +
                   FormatReal(maximum - minimum, 14, 3) + std::string(unit));
}

void WriteAreaBlock(TextReport& report, double area, bool metric) {
  report.WriteLine(" ");
  if (metric) {
    report.WriteLine(std::string(msg::AreaSquareMeters) + FormatReal(area, 15, 3));
    report.WriteLine(std::string(msg::AreaHectares) + FormatReal(area / 10000, 15, 3));
  } else {
    report.WriteLine(std::string(msg::AreaSquareFeet) + FormatReal(area, 15, 3));
    report.WriteLine(std::string(msg::AreaSquareYards) + FormatReal(area / 9, 15, 3));
    report.WriteLine(std::string(msg::AreaAcres) + FormatReal(area / 43560, 15, 3));
  }
  report.WriteLine("");
}

}  // namespace

void VerifyBorder(Session& session, BorderErrors& errors) {
  SurfaceModel& m = session.model;
  ResetBorderErrors(errors, m.PointCount);
  const BorderCheck check = CheckBorder(m, 1, m.PointCount);
  if (check == BorderCheck::None) {
    session.port.ShowInfo(msg::NoBorderDefined);
    return;
  }
  if (check == BorderCheck::Invalid) {
    session.port.ShowError(msg::ErrorInBorderDefinition);
    return;
  }
  model::ComputeExtents(m, session.settings);
  if (InsideBorder(m, m.FirstBorderPoint(1, m.PointCount), m.MaxX + 100, m.MaxY + 100)) m.ReverseBorder();

  bool reportNear = session.port.AskYesNo(msg::ReportPointsNearBorder);
  double tolerance = 0;
  if (reportNear) {
    tolerance = std::min(m.ExtentDiagonal * 0.005, 100.0);
    tolerance = session.port.InputReal(msg::BorderToleranceCaption, msg::BorderToleranceLabel, 3, tolerance, 100, 0.001);
  }

  TextReport report;
  if (!report.Open(session.workDirectory, reports::BorderVerification.workName)) {
    session.port.ShowError(msg::UnableToVerifyBorder);
    return;
  }
  report.WriteHeader(reports::BorderVerification.title, session.settings, m.Comment(), session.clock());
  const bool metric = session.settings.Get(settings::Units) == 1;
  const std::string_view unit = metric ? msg::UnitMeters : msg::UnitFeet;
  const CoordinateColumns columns = ColumnsOf(session);

  report.WriteLine("");
  report.WriteLine(msg::FieldExtentsTitle);
  report.WriteLine(msg::FieldExtentsColumns);
  if (columns.eastingFirst) {
    WriteExtentLine(report, msg::ExtentLabelX, m.MinX, m.MaxX, unit);
    WriteExtentLine(report, msg::ExtentLabelY, m.MinY, m.MaxY, unit);
  } else {
    WriteExtentLine(report, msg::ExtentLabelY, m.MinY, m.MaxY, unit);
    WriteExtentLine(report, msg::ExtentLabelX, m.MinX, m.MaxX, unit);
  }
  WriteExtentLine(report, msg::ExtentLabelZ, m.MinZ, m.MaxZ, unit);
  report.WriteLine(" ");

  const BorderCheck now = CheckBorder(m, 1, m.PointCount);
  if (now == BorderCheck::Valid) {
    WriteAreaBlock(report, BorderArea(m), metric);
    const std::string columnLine =
        std::string(msg::DistanceColumn) + std::string(columns.eastingFirst ? msg::PointColumnsXY : msg::PointColumnsYX);

    const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
    const bool farSide = BorderDistance(m, start, m.MaxX + 100, m.MaxY + 100).inside;
    std::vector<double> distances;
    if (reportNear) {
      try {
        distances.assign(std::size_t{m.PointCount} + 1, 0);
      } catch (const std::bad_alloc&) {
        session.port.ShowError(msg::InsufficientMemoryForBorderCheck);
        reportNear = false;
      }
    }
    int outside = 0;
    for (int i = 1; i <= m.PointCount; ++i) {
      if (m.BorderNext[i] != NoPoint) continue;
      const BorderSide side = BorderDistance(m, start, m.PointX[i], m.PointY[i]);
      if (reportNear) distances[static_cast<std::size_t>(i)] = side.distance;
      if (side.inside != farSide) continue;
      if (outside++ == 0) {
        report.WriteLine("");
        report.WriteLine(msg::PointsOutsideBorder);
        report.WriteLine("");
        report.WriteLine(columnLine);
      }
      report.WriteLine(PointLine(m, columns, static_cast<PointIndex>(i), side.distance));
      if (static_cast<std::size_t>(i) < errors.flags.size()) errors.flags[static_cast<std::size_t>(i)] = 1;
    }
    if (outside > 0) {
      report.WriteLine("");
      report.WriteLine(std::string(msg::TotalBorderErrors) + FormatInteger(outside, 4));
    } else {
      report.WriteLine(msg::NoBorderErrors);
    }

    if (reportNear) {
      const std::string within = FormatReal(tolerance, 0, 3) + std::string(unit);
      int near = 0;
      for (int i = 1; i <= m.PointCount; ++i) {
        if (m.BorderNext[i] != NoPoint || distances[static_cast<std::size_t>(i)] > tolerance) continue;
        if (near++ == 0) {
          report.WriteLine("");
          report.WriteLine("");
          report.WriteLine(std::string(msg::PointsNearBorderPrefix) + within + std::string(msg::OfTheBorder));
          report.WriteLine("");
          report.WriteLine(columnLine);
        }
        report.WriteLine(PointLine(m, columns, static_cast<PointIndex>(i), distances[static_cast<std::size_t>(i)]));
      }
      if (near > 0) {
        report.WriteLine("");
        report.WriteLine(std::string(msg::TotalPointsNearBorder) + FormatInteger(near, 4));
      } else {
        report.WriteLine(std::string(msg::NoPointsNearBorderPrefix) + within + std::string(msg::OfTheBorder));
      }
    }
  } else {
    report.WriteLine(now == BorderCheck::None ? msg::VerifyNoBorder : msg::VerifyInvalidBorder);
  }
  report.WriteLine("");
  ShowReport(session, report, reports::BorderVerification);
}

namespace {

PointIndex ShowNoBorderErrors(Session& session) {
  session.port.ShowInfo(msg::NoBorderErrorsFound);
  return NoPoint;
}

}  // namespace

PointIndex NextBorderError(Session& session, BorderErrors& errors) {
  const int count = session.model.PointCount;
  const int cursor = errors.cursor;
  for (int i = cursor + 1; i <= count; ++i)
    if (errors.IsFlagged(static_cast<PointIndex>(i))) return errors.cursor = static_cast<PointIndex>(i);
  for (int i = 1; i <= std::min(cursor, count); ++i)
    if (errors.IsFlagged(static_cast<PointIndex>(i))) return errors.cursor = static_cast<PointIndex>(i);
  return ShowNoBorderErrors(session);
}

PointIndex PreviousBorderError(Session& session, BorderErrors& errors) {
  const int count = session.model.PointCount;
  const int cursor = std::max<int>(errors.cursor, 1);
  for (int i = cursor - 1; i >= 1; --i)
    if (errors.IsFlagged(static_cast<PointIndex>(i))) return errors.cursor = static_cast<PointIndex>(i);
  for (int i = count; i >= cursor; --i)
    if (errors.IsFlagged(static_cast<PointIndex>(i))) return errors.cursor = static_cast<PointIndex>(i);
  return ShowNoBorderErrors(session);
}

}  // namespace terravue::tin

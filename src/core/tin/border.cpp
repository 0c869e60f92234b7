#include "tin/border.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
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

namespace terravue::tin {

using model::SurfaceModel;

namespace {

// A measure of the direction of (dx, dy) that strictly increases with its angle over [0, 2pi),
// from 0 to 4, at a slope between 1/2 and 1 per radian: cheaper than an arctangent, and enough
// to compare directions against thresholds.
double PseudoAngle(double dx, double dy) {
  const double t = dx / (std::fabs(dx) + std::fabs(dy));
  return dy >= 0 ? 1 - t : 3 + t;
}
double PseudoAngle(double angle) { return PseudoAngle(std::cos(angle), std::sin(angle)); }

// Which candidates the wrap can pass over without the long-double direction: those whose
// direction is certainly beyond the best so far (past the tolerance, short of the wrap-around
// just below 2pi) or certainly behind the boundary's last direction. The thresholds carry 1e-9
// radians for the rounding of the directions and 1e-12 for that of the measure, far more than
// either.
class DirectionFilter {
 public:
  void Behind(Real previousAngle) {
    const double low = static_cast<double>(previousAngle) - 1e-4 - 1e-9;
    behind_ = low > 0 ? PseudoAngle(low) - 1e-12 : -1;
  }
  void Beyond(Real bestAngle) {
    const double high = static_cast<double>(bestAngle) + 1e-4 + 1e-9;
    beyond_ = high < WrapAngle ? PseudoAngle(high) + 1e-12 : 5;
  }
  // False only when the long-double tests certainly reject the candidate.
  bool MayTake(double dx, double dy) const {
    if (!(std::fabs(dx) > 1.0000001e-4)) return true;  // the direction is not an arctangent
    const double measure = PseudoAngle(dx, dy);
    return !((measure > beyond_ && measure < wrap_) || measure < behind_);
  }

 private:
  static constexpr double WrapAngle = 2 * std::numbers::pi - 1e-4 - 1e-9;
  double wrap_ = PseudoAngle(WrapAngle) - 1e-12;
  double behind_ = -1, beyond_ = 5;
};

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

void CreateConvexBorder(Session& session, BorderErrors& errors, bool quiet) {
  SurfaceModel& m = session.model;
  ResetBorderErrors(errors, m.PointCount);
  if (m.PointCount <= 2) return;
  session.port.BeginProgress(msg::CreatingBorder, false);
  ClearBorder(m);

  // Start at the lowest point; of nearly equally low ones, the leftmost.
  int b = 1;
  for (int i = 2; i <= m.PointCount; ++i) {
    if (m.PointY[i] <= m.PointY[b] && (!IsZero4(Real{m.PointY[i]} - Real{m.PointY[b]}) || m.PointX[i] <= m.PointX[b]))
      b = i;
  }
  // Slot 0 stands for the start point when the wrap comes back to it.
  m.PointX[0] = m.PointX[b];
  m.PointY[0] = m.PointY[b];

  constexpr Real TwoPi = 2 * std::numbers::pi_v<Real>;
  int d = b;
  Real previousAngle = 0;
  DirectionFilter filter;
  // Every step puts a new point on the ring, so the wrap ends within PointCount steps.
  for (int step = 0; step <= m.PointCount; ++step) {
    m.BorderNext[d] = static_cast<PointIndex>(d);  // provisional: d is on the ring
    Real bestAngle = FarDistance;
    Real bestDistance2 = 0;
    int taken = -1;
    filter.Behind(previousAngle);
    filter.Beyond(bestAngle);
    const double x = m.PointX[d], y = m.PointY[d];
    for (int i = step == 0 ? 1 : 0; i <= m.PointCount; ++i) {
      if (m.BorderNext[i] != NoPoint) continue;
      // Most points are clearly behind the boundary or clearly beyond the best direction so far.
      if (!filter.MayTake(m.PointX[i] - x, m.PointY[i] - y)) continue;
      const Real dx = Real{m.PointX[i]} - Real{m.PointX[d]};
      const Real dy = Real{m.PointY[i]} - Real{m.PointY[d]};
      Real angle = Direction(static_cast<double>(dx), static_cast<double>(dy));
      if (angle < 0 && !IsZero4(angle)) angle += TwoPi;
      if (angle >= bestAngle && !IsZero4(angle - bestAngle)) continue;
      // The boundary never turns back.
      if (angle < previousAngle && !IsZero4(angle - previousAngle)) continue;
      const Real distance2 = dx * dx + dy * dy;
      // Of points in the same direction the nearer comes first, so that points lying on a hull
      // edge join the ring.
      if (IsZero4(angle - bestAngle) && !(distance2 > 0 && distance2 < bestDistance2)) continue;
      bestAngle = angle;
      bestDistance2 = distance2;
      taken = i;
      filter.Beyond(bestAngle);
    }
    if (taken <= 0) break;
    m.BorderNext[d] = static_cast<PointIndex>(taken);
    previousAngle = bestAngle;
    d = taken;
  }
  m.BorderNext[d] = static_cast<PointIndex>(b);

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
  return {session.settings.Get(settings::CoordinateOrder) == 1};
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

#include "exchange/transforms.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/predicates.h"
#include "tin/triangulate.h"

namespace terravue::exchange {

using tin::RoundToThousandths;

void FactorPoints(model::SurfaceModel& m, double fx, double fy, double fz) {
  for (int p = 1; p <= m.PointCount; ++p) {
    m.PointX[p] = RoundToThousandths(m.PointX[p] * fx);
    m.PointY[p] = RoundToThousandths(m.PointY[p] * fy);
    m.PointZ[p] = RoundToThousandths(m.PointZ[p] * fz);
  }
}

void TranslatePoints(model::SurfaceModel& m, double ox, double oy, double oz) {
  for (int p = 1; p <= m.PointCount; ++p) {
    m.PointX[p] += ox;
    m.PointY[p] += oy;
    m.PointZ[p] += oz;
  }
}

void RotatePoints(model::SurfaceModel& m, double cx, double cy, double degrees, bool surveyorsAngles) {
  double a = degrees * std::numbers::pi / 180;
  if (surveyorsAngles) a = -a;
  // Quarter turns are exact: cos 90 degrees computed in floating point is 6e-17, not 0, which
  // would leave a trace in coordinates of a million feet.
  double c = std::cos(a), s = std::sin(a);
  const double quarters = degrees / 90;
  if (quarters == std::round(quarters)) {
    const int q = ((static_cast<int>(std::fmod(quarters, 4.0)) % 4) + 4) % 4;
    static constexpr double Cos[] = {1, 0, -1, 0}, Sin[] = {0, 1, 0, -1};
    c = Cos[q];
    s = surveyorsAngles ? -Sin[q] : Sin[q];
  }
  for (int p = 1; p <= m.PointCount; ++p) {
    const double dx = m.PointX[p] - cx, dy = m.PointY[p] - cy;
    m.PointX[p] = RoundToThousandths(cx + dx * c - dy * s);
    m.PointY[p] = RoundToThousandths(cy + dx * s + dy * c);
  }
}

namespace {

bool Within(double v) { return std::isfinite(v) && std::fabs(v) <= MaxCoordinate; }

void Apply(model::SurfaceModel& m, const Transform& t) {
  switch (t.kind) {
    case TransformKind::Factor: FactorPoints(m, t.x, t.y, t.z); break;
    case TransformKind::Translate: TranslatePoints(m, t.x, t.y, t.z); break;
    case TransformKind::Rotate: RotatePoints(m, t.centreX, t.centreY, t.degrees, t.surveyorsAngles); break;
  }
}

}  // namespace

std::vector<std::int8_t> TriangleSenses(const model::SurfaceModel& m) {
  std::vector<std::int8_t> senses(m.TriangleCount + 1u, 0);
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& v = m.TriVertex[t];
    senses[t] = static_cast<std::int8_t>(tin::OrientationSign(m, v[0], v[1], v[2]));
  }
  return senses;
}

bool TrianglesKeepSense(const model::SurfaceModel& m, const std::vector<std::int8_t>& before, bool mirrored) {
  if (before.size() != m.TriangleCount + 1u) return false;
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& v = m.TriVertex[t];
    const int now = tin::OrientationSign(m, v[0], v[1], v[2]);
    if (now == 0 || now != (mirrored ? -before[t] : before[t])) return false;
  }
  return true;
}

std::string_view TransformProblem(const model::SurfaceModel& m, const Transform& t) {
  const bool rotate = t.kind == TransformKind::Rotate;
  const std::array<double, 3> given =
      rotate ? std::array<double, 3>{t.centreX, t.centreY, t.degrees} : std::array<double, 3>{t.x, t.y, t.z};
  for (const double v : given)
    if (!std::isfinite(v)) return msg::TransformNotANumber;
  if (t.kind == TransformKind::Factor && (t.x == 0 || t.y == 0)) return msg::PlanFactorZero;
  // The results are computed once more here so that a refused transform changes nothing.
  model::SurfaceModel probe;
  probe.PointCount = 1;
  probe.PointX.assign(2, 0);
  probe.PointY.assign(2, 0);
  probe.PointZ.assign(2, 0);
  for (int p = 1; p <= m.PointCount; ++p) {
    probe.PointX[1] = m.PointX[p];
    probe.PointY[1] = m.PointY[p];
    probe.PointZ[1] = m.PointZ[p];
    Apply(probe, t);
    if (!Within(probe.PointX[1]) || !Within(probe.PointY[1]) || !Within(probe.PointZ[1]))
      return msg::TransformOutOfLimits;
  }
  return {};
}

bool ApplyTransform(Session& session, tin::LocateState& state, const Transform& t) {
  model::SurfaceModel& m = session.model;
  if (const std::string_view problem = TransformProblem(m, t); !problem.empty()) {
    session.port.ShowError(problem);
    return false;
  }
  const bool mirrored = t.kind == TransformKind::Factor && ((t.x < 0) != (t.y < 0));
  const std::vector<std::int8_t> senses = TriangleSenses(m);
  Apply(m, t);
  // A mirror turns the ring the other way round; the triangulation and the border code expect it
  // to keep its sense.
  if (mirrored) m.ReverseBorder();
  model::ComputeExtents(m, session.settings);
  model::MarkModified(session);
  if (m.TriangleCount > 0 && !TrianglesKeepSense(m, senses, mirrored)) {
    // Rounding to thousandths, or a factor that squeezes one axis, can turn a thin triangle over:
    // the old triangle list would no longer cover the field once.
    session.port.ShowWarning(msg::TransformSurfaceRebuilt);
    tin::Triangulate(session, state, {.quiet = true});
  }
  return true;
}

FieldLabels TransformFieldLabels(TransformKind kind, bool eastingFirst) {
  if (kind == TransformKind::Translate)
    return eastingFirst ? FieldLabels{msg::OffsetForX, msg::OffsetForY, msg::OffsetForElevation}
                        : FieldLabels{msg::OffsetForNorthing, msg::OffsetForEasting, msg::OffsetForElevation};
  if (kind == TransformKind::Rotate)
    return eastingFirst ? FieldLabels{msg::RotateCenterX, msg::RotateCenterY, msg::RotationAngleLabel}
                        : FieldLabels{msg::RotateCenterNorthing, msg::RotateCenterEasting, msg::RotationAngleLabel};
  return eastingFirst ? FieldLabels{msg::FactorForX, msg::FactorForY, msg::FactorForElevation}
                      : FieldLabels{msg::FactorForNorthing, msg::FactorForEasting, msg::FactorForElevation};
}

void MeanPosition(const model::SurfaceModel& m, double& x, double& y) {
  x = y = 0;
  if (m.PointCount == 0) return;
  // Summed relative to the first point: survey coordinates in the millions lose no digits.
  double sx = 0, sy = 0;
  for (int p = 1; p <= m.PointCount; ++p) {
    sx += m.PointX[p] - m.PointX[1];
    sy += m.PointY[p] - m.PointY[1];
  }
  x = RoundToThousandths(m.PointX[1] + sx / m.PointCount);
  y = RoundToThousandths(m.PointY[1] + sy / m.PointCount);
}

}  // namespace terravue::exchange

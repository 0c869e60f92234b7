#include "app/view3d_motion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "common/settings_record.h"
#include "common/view3d_settings.h"
#include "device/drawing_device.h"
#include "model/surface_model.h"

namespace terravue::app {
namespace {

namespace v3 = settings::View3DOptions;
using v3::Movement;
using model::SurfaceModel;

constexpr double Pi = std::numbers::pi;
constexpr double NearZero = 0.0001;
constexpr double MaxHorizontalOffset = 50000;
constexpr double MaxVerticalOffset = 25000;
constexpr double MinEyeFactor = -50;
constexpr double MaxEyeFactor = 1;
// The mouse keeps the view this far (radians) from straight above or below the target.
constexpr double PoleMargin = 0.5 * Pi / 180;
// Dragging the target along the ground from a low view would fling it: the ground's
// foreshortening counts as no less than this.
constexpr double MinGroundSlant = 0.2;

double Radians(double degrees) { return degrees * Pi / 180; }

// What a refused step puts back.
struct ViewState {
  bool view3D;
  double offsetX, offsetY, offsetZ;
  double targetX, targetY, targetZ;
  double elevationFactor;
};

ViewState TakeViewState(const SettingsRecord& s) {
  return {s.Get(v3::View3D),  s.Get(v3::ViewOffsetX), s.Get(v3::ViewOffsetY), s.Get(v3::ViewOffsetZ),
          s.Get(v3::TargetX), s.Get(v3::TargetY),     s.Get(v3::TargetZ),     s.Get(v3::ElevationFactor)};
}

void RestoreViewState(SettingsRecord& s, const ViewState& v) {
  s.Set(v3::View3D, v.view3D);
  s.Set(v3::ViewOffsetX, v.offsetX);
  s.Set(v3::ViewOffsetY, v.offsetY);
  s.Set(v3::ViewOffsetZ, v.offsetZ);
  s.Set(v3::TargetX, v.targetX);
  s.Set(v3::TargetY, v.targetY);
  s.Set(v3::TargetZ, v.targetZ);
  s.Set(v3::ElevationFactor, v.elevationFactor);
}

void Add(SettingsRecord& s, F64Field field, double step) { s.Set(field, s.Get(field) + step); }

// Holds `field` within low..high; true when it had to.
bool Limit(SettingsRecord& s, F64Field field, double low, double high) {
  const double v = s.Get(field);
  if (v >= low && v <= high) return false;
  s.Set(field, v < low ? low : high);
  return true;
}

// The view point relative to the target in spherical form: its distance, its azimuth
// (counter-clockwise from East) and its polar angle from the vertical.
struct Sphere {
  double distance, azimuth, polar;
};

Sphere ToSphere(const SettingsRecord& s) {
  const double x = s.Get(v3::ViewOffsetX), y = s.Get(v3::ViewOffsetY), z = s.Get(v3::ViewOffsetZ);
  Sphere v{std::sqrt(x * x + y * y + z * z), 0, 0};
  if (std::fabs(x) < NearZero)
    v.azimuth = y >= 0 ? Pi / 2 : 3 * Pi / 2;
  else
    v.azimuth = std::atan(y / x) + (x < 0 ? Pi : 0);
  // Rounding may carry the cosine a little past one.
  const double m = v.distance > 0 ? z / v.distance : 0;
  v.polar = std::acos(std::clamp(m, -1.0, 1.0));
  return v;
}

void FromSphere(SettingsRecord& s, const Sphere& v) {
  s.Set(v3::ViewOffsetX, v.distance * std::cos(v.azimuth) * std::sin(v.polar));
  s.Set(v3::ViewOffsetY, v.distance * std::sin(v.azimuth) * std::sin(v.polar));
  s.Set(v3::ViewOffsetZ, v.distance * std::cos(v.polar));
}

// A view straight along the vertical has no horizontal direction, and one exactly level has no
// height: both are nudged off.
void KeepViewDefined(SettingsRecord& s) {
  if (std::fabs(s.Get(v3::ViewOffsetX)) < NearZero && std::fabs(s.Get(v3::ViewOffsetY)) < NearZero) {
    s.Set(v3::ViewOffsetX, 0.0);
    s.Set(v3::ViewOffsetY, -NearZero);
  }
  if (std::fabs(s.Get(v3::ViewOffsetZ)) < NearZero) s.Set(v3::ViewOffsetZ, NearZero);
}

void Rotate(SettingsRecord& s, Movement type) {
  Sphere v = ToSphere(s);
  if (type == Movement::RotateHorizontal) {
    v.azimuth -= Radians(s.Get(v3::StepRotateHorizontal));
  } else {
    const double turned = v.polar + Radians(s.Get(v3::StepRotateVertical));
    if ((turned < 0 && v.polar >= 0) || (turned > Pi && v.polar <= Pi))
      s.Set(v3::StepRotateVertical, -s.Get(v3::StepRotateVertical));
    v.polar = turned;
  }
  FromSphere(s, v);
}

// Whether the limits would refuse the view as it stands (the check itself may change it).
bool Refused(const SettingsRecord& s, const SurfaceModel& m) {
  SettingsRecord probe = s;
  return CheckViewPoint3D(probe, m);
}

// A view change of the mouse: applied when the limits take it as it is, else undone. A view
// that the limits refused already (typed in the options) may be moved anywhere, so that the
// mouse can bring it back.
template <typename Change>
bool TryViewChange(SettingsRecord& s, const SurfaceModel& m, Change change) {
  const ViewState before = TakeViewState(s);
  const bool refusedBefore = Refused(s, m);
  change();
  KeepViewDefined(s);
  const ViewState after = TakeViewState(s);
  const bool moved = after.offsetX != before.offsetX || after.offsetY != before.offsetY ||
                     after.offsetZ != before.offsetZ || after.targetX != before.targetX ||
                     after.targetY != before.targetY || after.targetZ != before.targetZ;
  const bool finite = std::isfinite(after.offsetX) && std::isfinite(after.offsetY) && std::isfinite(after.offsetZ) &&
                      std::isfinite(after.targetX) && std::isfinite(after.targetY) && std::isfinite(after.targetZ);
  if (!moved || !finite || (!refusedBefore && Refused(s, m))) {
    RestoreViewState(s, before);
    return false;
  }
  return true;
}

}  // namespace

bool ClampTarget3D(SettingsRecord& s, const SurfaceModel& m) {
  const double r = m.MaxZ - m.MinZ;
  bool changed = Limit(s, v3::TargetX, m.MinX, m.MaxX);
  changed |= Limit(s, v3::TargetY, m.MinY, m.MaxY);
  changed |= Limit(s, v3::TargetZ, m.MinZ - r, m.MaxZ + r);
  return changed;
}

bool CheckViewPoint3D(SettingsRecord& s, const SurfaceModel& m) {
  bool changed = Limit(s, v3::ViewOffsetX, -MaxHorizontalOffset, MaxHorizontalOffset);
  changed |= Limit(s, v3::ViewOffsetY, -MaxHorizontalOffset, MaxHorizontalOffset);
  changed |= Limit(s, v3::ViewOffsetZ, -MaxVerticalOffset, MaxVerticalOffset);
  const double r = m.MaxZ - m.MinZ;
  const double eyeX = s.Get(v3::TargetX) + s.Get(v3::ViewOffsetX);
  const double eyeY = s.Get(v3::TargetY) + s.Get(v3::ViewOffsetY);
  const double eyeZ = s.Get(v3::TargetZ) + s.Get(v3::ViewOffsetZ);
  const bool inside = m.MinX < eyeX && eyeX < m.MaxX && m.MinY < eyeY && eyeY < m.MaxY && m.MinZ - r < eyeZ &&
                      eyeZ < m.MaxZ + r;
  return changed || inside;
}

bool ClampEyeFactor3D(SettingsRecord& s) { return Limit(s, v3::EyeFactor, MinEyeFactor, MaxEyeFactor); }

bool Step3D(SettingsRecord& s, const SurfaceModel& m) {
  const ViewState before = TakeViewState(s);
  const int type = s.Get(v3::MovementType);
  if (type < 0 || type >= v3::MovementCount) return true;
  const auto movement = static_cast<Movement>(type);
  const double step = s.Get(v3::Movements[static_cast<std::size_t>(type)].step);
  bool stop = false;
  switch (movement) {
    case Movement::RotateHorizontal:
    case Movement::RotateVertical: Rotate(s, movement); break;
    case Movement::LinearX: Add(s, v3::ViewOffsetX, step); break;
    case Movement::LinearY: Add(s, v3::ViewOffsetY, step); break;
    case Movement::LinearZ: Add(s, v3::ViewOffsetZ, step); break;
    case Movement::TargetX:
    case Movement::TargetY:
    case Movement::TargetZ: {
      const F64Field target = movement == Movement::TargetX ? v3::TargetX
                              : movement == Movement::TargetY ? v3::TargetY
                                                              : v3::TargetZ;
      Add(s, target, step);
      stop = ClampTarget3D(s, m);
      break;
    }
    case Movement::EyeFactor:
      // The eye factor leaves the view point alone.
      Add(s, v3::EyeFactor, step);
      stop = ClampEyeFactor3D(s);
      KeepViewDefined(s);
      return stop;
  }
  if (CheckViewPoint3D(s, m)) {
    RestoreViewState(s, before);
    stop = true;
  }
  KeepViewDefined(s);
  return stop;
}

bool SingleStep3D(SettingsRecord& s, const SurfaceModel& m, bool forward) {
  if (!s.Get(v3::View3D) || s.Get(v3::AutoAnimate)) return false;
  constexpr std::array Steps{v3::StepRotateHorizontal, v3::StepRotateVertical, v3::StepLinearXY, v3::StepLinearZ,
                             v3::StepTargetXY,         v3::StepTargetZ,        v3::StepEyeFactor};
  std::array<double, Steps.size()> kept{};
  for (std::size_t i = 0; i < Steps.size(); ++i) {
    kept[i] = s.Get(Steps[i]);
    double step = std::fabs(kept[i]);
    // The vertical rotation keeps its direction, which the swing at the top and bottom turns.
    if (Steps[i].offset == v3::StepRotateVertical.offset) step = kept[i];
    s.Set(Steps[i], forward ? step : -step);
  }
  Step3D(s, m);
  for (std::size_t i = 0; i < Steps.size(); ++i) s.Set(Steps[i], kept[i]);
  return true;
}

bool OrbitView3D(SettingsRecord& s, const SurfaceModel& m, double turnDegrees, double tiltDegrees) {
  if (!std::isfinite(turnDegrees) || !std::isfinite(tiltDegrees)) return false;
  return TryViewChange(s, m, [&] {
    Sphere v = ToSphere(s);
    v.azimuth -= Radians(turnDegrees);
    v.polar = std::clamp(v.polar + Radians(tiltDegrees), PoleMargin, Pi - PoleMargin);
    FromSphere(s, v);
  });
}

bool ScaleViewDistance3D(SettingsRecord& s, const SurfaceModel& m, double factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return false;
  return TryViewChange(s, m, [&] {
    for (const F64Field offset : {v3::ViewOffsetX, v3::ViewOffsetY, v3::ViewOffsetZ})
      s.Set(offset, s.Get(offset) * factor);
  });
}

bool DragTarget3D(SettingsRecord& s, const SurfaceModel& m, const device::Projection3D& p, double dx, double dy) {
  // Page pixels per world unit at the target's depth, across the line of sight and up the page.
  const double across = p.F * (1 - p.eyeFactor);
  const double slant = p.L > 0 ? p.viewOffsetZ / p.L : 0;
  const double up = across * p.pixelAspect *
                    (std::fabs(slant) < MinGroundSlant ? std::copysign(MinGroundSlant, slant) : slant);
  if (!(std::fabs(across) > 0) || !(p.S > 0) || !std::isfinite(dx) || !std::isfinite(dy)) return false;
  // The picture follows the pointer: the target moves against it.
  const double right = -dx / across;
  const double ahead = -dy / up;
  const double rightX = -p.viewOffsetY / p.S, rightY = p.viewOffsetX / p.S;
  const double aheadX = -p.viewOffsetX / p.S, aheadY = -p.viewOffsetY / p.S;
  return TryViewChange(s, m, [&] {
    Add(s, v3::TargetX, right * rightX + ahead * aheadX);
    Add(s, v3::TargetY, right * rightY + ahead * aheadY);
    ClampTarget3D(s, m);
  });
}

}  // namespace terravue::app

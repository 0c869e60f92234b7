#include "app/view3d_options.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/user_port.h"

namespace terravue::app {
namespace {

namespace v3 = settings::View3DOptions;

constexpr int MaxDelayTenths = 1200;
constexpr double MinEyeFactor = -50;
constexpr double MaxEyeFactor = 1;

std::string Real3(double v) { return FormatReal(v, 0, 3); }


const v3::MovementInfo& Info(int type) { return v3::MovementOf(type); }

bool ValidType(int type) { return type >= 0 && type < v3::MovementCount; }

void ApplyDerived(bool& byte, v3::Derived derived) {
  if (derived != v3::Derived::Unchanged) byte = derived == v3::Derived::On;
}

// Stores the field's number, or shows `error` and leaves the option as it is.
void StoreReal(UserPort& port, SettingsRecord& s, F64Field field, const std::string& text, std::string_view error) {
  const auto v = ParseReal(text);
  if (!v) {
    port.ShowError(error);
    return;
  }
  s.Set(field, *v);
}

}  // namespace

View3DOptionsLabels View3DOptionsCaptions(const SettingsRecord& s) {
  if (settings::EastingFirst(s))
    return {std::string(msg::XViewPointLabel), std::string(msg::YViewPointLabel), std::string(msg::TargetXLabel),
            std::string(msg::TargetYLabel)};
  return {std::string(msg::NorthingViewPointLabel), std::string(msg::EastingViewPointLabel),
          std::string(msg::TargetNorthingLabel), std::string(msg::TargetEastingLabel)};
}

View3DOptionsFields View3DOptionsFieldTexts(const SettingsRecord& s) {
  View3DOptionsFields f;
  f.view3D = s.Get(v3::View3D);
  f.shaded = s.Get(v3::ShadedSurface);
  const bool eastingFirst = settings::EastingFirst(s);
  const double vx = s.Get(v3::ViewOffsetX), vy = s.Get(v3::ViewOffsetY);
  f.firstView = Real3(eastingFirst ? vx : vy);
  f.secondView = Real3(eastingFirst ? vy : vx);
  f.zView = Real3(s.Get(v3::ViewOffsetZ));
  ShowTarget(s, f, s.Get(v3::TargetX), s.Get(v3::TargetY), s.Get(v3::TargetZ));
  f.elevationFactor = Real3(s.Get(v3::ElevationFactor));
  f.eyeFactor = Real3(s.Get(v3::EyeFactor));
  const int type = s.Get(v3::MovementType);
  f.movementType = ValidType(type) ? type : 0;
  f.planar = s.Get(v3::MovementPlanar);
  f.axisX = s.Get(v3::MovementAxisX);
  for (int t = 0; t < v3::MovementCount; ++t) f.steps[static_cast<std::size_t>(t)] = Real3(s.Get(Info(t).step));
  f.automatic = s.Get(v3::AutoAnimate);
  f.delayTenths = std::clamp<int>(s.Get(v3::AnimationDelay), 0, MaxDelayTenths);
  return f;
}

void ShowTarget(const SettingsRecord& s, View3DOptionsFields& f, double x, double y, double z) {
  const bool eastingFirst = settings::EastingFirst(s);
  f.firstTarget = Real3(eastingFirst ? x : y);
  f.secondTarget = Real3(eastingFirst ? y : x);
  f.zTarget = Real3(z);
}

void ChooseMovement(View3DOptionsFields& f, int type) {
  if (!ValidType(type)) return;
  f.movementType = type;
  ApplyDerived(f.planar, Info(type).planar);
  ApplyDerived(f.axisX, Info(type).axisX);
}

void SetStepText(View3DOptionsFields& f, const std::string& text) {
  const std::size_t field = Info(f.movementType).step.offset;
  for (int t = 0; t < v3::MovementCount; ++t)
    if (Info(t).step.offset == field) f.steps[static_cast<std::size_t>(t)] = text;
}

std::string_view StepUnitLabel(const SettingsRecord& s, int type) {
  switch (Info(type).unit) {
    case v3::StepUnit::Degrees: return msg::StepUnitDegrees;
    case v3::StepUnit::Length: return s.Get(settings::Units) == 1 ? msg::StepUnitMeters : msg::StepUnitFeet;
    case v3::StepUnit::Units: break;
  }
  return msg::StepUnitUnits;
}

std::string_view StepRangeHint(int type) { return Info(type).rangeText; }

std::string CleanStepText(UserPort& port, int type, std::string_view text) {
  const double bound = Info(type).bound;
  return CleanCheckedNumberText(port, text, true, true, bound, -bound);
}

void StoreView3DOptions(UserPort& port, SettingsRecord& s, const View3DOptionsFields& f) {
  s.Set(v3::View3D, f.view3D);
  s.Set(v3::ShadedSurface, f.shaded);
  const bool eastingFirst = settings::EastingFirst(s);
  StoreReal(port, s, eastingFirst ? v3::ViewOffsetX : v3::ViewOffsetY, f.firstView, msg::InvalidViewPoint);
  StoreReal(port, s, eastingFirst ? v3::ViewOffsetY : v3::ViewOffsetX, f.secondView, msg::InvalidViewPoint);
  StoreReal(port, s, v3::ViewOffsetZ, f.zView, msg::InvalidZViewPoint);
  StoreReal(port, s, eastingFirst ? v3::TargetX : v3::TargetY, f.firstTarget, msg::InvalidTargetPoint);
  StoreReal(port, s, eastingFirst ? v3::TargetY : v3::TargetX, f.secondTarget, msg::InvalidTargetPoint);
  StoreReal(port, s, v3::TargetZ, f.zTarget, msg::InvalidZTargetPoint);
  StoreReal(port, s, v3::ElevationFactor, f.elevationFactor, msg::InvalidElevationFactor);
  if (const auto eye = ParseReal(f.eyeFactor); !eye)
    port.ShowError(msg::InvalidEyeFactor);
  else if (*eye < MinEyeFactor || *eye > MaxEyeFactor)
    ReportOutOfRange(port, msg::EyeFactorOutOfRange, msg::EyeFactorLow, msg::EyeFactorHigh);
  else
    s.Set(v3::EyeFactor, *eye);

  if (!ValidType(f.movementType)) return;
  s.Set(v3::MovementType, static_cast<std::int16_t>(f.movementType));
  s.Set(v3::MovementPlanar, f.planar);
  s.Set(v3::MovementAxisX, f.axisX);
  s.Set(v3::AutoAnimate, f.automatic);
  s.Set(v3::AnimationDelay, static_cast<std::int16_t>(std::clamp(f.delayTenths, 0, MaxDelayTenths)));
  // The step field was checked against its bounds when it was left; a value that slipped past
  // (OK pressed straight from the field) is refused like one that cannot be read.
  const v3::MovementInfo& info = Info(f.movementType);
  const auto step = ParseReal(f.Step());
  if (!step || std::fabs(*step) > info.bound)
    port.ShowError(info.invalidStep);
  else
    s.Set(info.step, *step);
}

}  // namespace terravue::app

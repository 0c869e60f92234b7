#include "device/scale_presets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "device/page_setup_settings.h"

namespace terravue::device {
namespace {

// The option each of the 8 sizes of a preset feeds, by row.
constexpr std::array<F64Field, settings::ScalePresetRows> PresetTargets = {
    device::BreaklineOptions::TextHeight,  device::SurfaceGridOptions::TextHeight,
    device::ContourOptions::TextHeight,    device::PointOptions::MarkerHeight,
    device::PointOptions::TextHeight,      device::MiscOptions::TextHeight,
    device::TitleOptions::TitleTextHeight, device::TitleOptions::MiscTextHeight,
};

// The smallest length the map options accept for sizes, dashes and spacings.

void SetLength(SettingsRecord& s, F64Field field, double v) {
  if (std::isfinite(v)) s.Set(field, std::max(v, MinLength));
}

}  // namespace

int ChooseScalePreset(const SettingsRecord& s, int unit, double scale) {
  const int count = std::clamp<int>(s.Get(settings::ScalePresetCount(unit)), 1, settings::MaxScalePresets);
  for (int i = 0; i < count; ++i)
    if (!(s.Get(settings::ScalePresetScale(unit, i)) < scale)) return i;
  return count - 1;
}

void ApplyScalePreset(SettingsRecord& s) {
  const double scale = s.Get(device::PageSetup::MapScale);
  if (!(scale > 0) || !std::isfinite(scale)) return;
  const int unit = std::clamp<int>(s.Get(settings::Units), 0, settings::UnitCount - 1);
  const int preset = ChooseScalePreset(s, unit, scale);
  for (int row = 0; row < settings::ScalePresetRows; ++row) {
    const double size = s.Get(settings::ScalePresetSizes(unit, preset, row));
    if (std::isfinite(size) && size >= MinLength) s.Set(PresetTargets[row], size);
  }
  SetLength(s, device::SurfaceGridOptions::DashLength, scale / 4);
  SetLength(s, device::SurfaceGridOptions::SpaceLength, scale / 8);
  SetLength(s, device::ContourOptions::DashLength, s.Get(device::SurfaceGridOptions::DashLength));
  SetLength(s, device::ContourOptions::SpaceLength, s.Get(device::SurfaceGridOptions::SpaceLength));
  SetLength(s, device::AnalyzerOptions::ArrowMagnitude, scale / 8);
  SetLength(s, device::AnalyzerOptions::DownSlopeGridSpacing, scale);
}

// ---- Editing the presets -------------------------------------------------------------------

namespace {

bool IsUsableSize(double v) { return std::isfinite(v) && v > 0; }

// Asks for a positive finite number; `invalid` is shown for anything else. Nothing on Cancel.
std::optional<double> AskPositive(UserPort& port, std::string_view title, std::string_view prompt, double value,
                                  std::string_view invalid) {
  const auto typed = port.PromptLine(title, prompt, FormatReal(value, 0, 3), 0);
  if (!typed) return std::nullopt;
  const auto v = ParseReal(*typed);
  if (!v || !IsUsableSize(*v)) {
    port.ShowError(invalid);
    return std::nullopt;
  }
  return v;
}

bool ValidIndex(const ScalePresetList& p, int i) { return i >= 0 && static_cast<std::size_t>(i) < p.size(); }

}  // namespace

ScalePresetList ReadScalePresets(const SettingsRecord& s, int unit) {
  const int count = std::clamp<int>(s.Get(settings::ScalePresetCount(unit)), 1, settings::MaxScalePresets);
  ScalePresetList list(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    ScalePreset& p = list[static_cast<std::size_t>(i)];
    p.scale = s.Get(settings::ScalePresetScale(unit, i));
    for (int row = 0; row < settings::ScalePresetRows; ++row)
      p.sizes[static_cast<std::size_t>(row)] = s.Get(settings::ScalePresetSizes(unit, i, row));
  }
  return list;
}

void WriteScalePresets(SettingsRecord& s, int unit, const ScalePresetList& presets) {
  const int count = std::clamp<int>(static_cast<int>(presets.size()), 1, settings::MaxScalePresets);
  s.Set(settings::ScalePresetCount(unit), count);
  for (int i = 0; i < settings::MaxScalePresets; ++i) {
    const bool used = i < static_cast<int>(presets.size());
    const ScalePreset* p = used ? &presets[static_cast<std::size_t>(i)] : nullptr;
    s.Set(settings::ScalePresetScale(unit, i), p ? p->scale : 1.0);
    for (int row = 0; row < settings::ScalePresetRows; ++row)
      s.Set(settings::ScalePresetSizes(unit, i, row), p ? p->sizes[static_cast<std::size_t>(row)] : 1.0);
  }
}

int PresetInsertPosition(const ScalePresetList& presets, double scale) {
  const auto at = std::find_if(presets.begin(), presets.end(), [&](const ScalePreset& p) { return !(p.scale < scale); });
  return static_cast<int>(at - presets.begin());
}

std::array<double, settings::ScalePresetRows> NewPresetSizes(int unit, double scale) {
  const double base = unit == 1 ? scale / 4 : scale / 10;
  std::array<double, settings::ScalePresetRows> sizes;
  sizes.fill(base);
  sizes[2] = base / 2;
  sizes[5] = base * 2;
  return sizes;
}

int AddScalePreset(UserPort& port, ScalePresetList& presets, int unit) {
  if (!CanAddScalePreset(presets)) return -1;
  const auto scale = AskPositive(port, msg::NewScaleTitle, msg::ScalePrompt, 1.0, msg::InvalidScale);
  if (!scale) return -1;
  const int at = PresetInsertPosition(presets, *scale);
  presets.insert(presets.begin() + at, ScalePreset{*scale, NewPresetSizes(unit, *scale)});
  return at;
}

int EditScalePreset(UserPort& port, ScalePresetList& presets, int selected) {
  if (!ValidIndex(presets, selected)) return -1;
  const auto scale = AskPositive(port, msg::EditScaleTitle, msg::ScalePrompt,
                                 presets[static_cast<std::size_t>(selected)].scale, msg::InvalidScale);
  if (!scale) return -1;
  ScalePreset moved = presets[static_cast<std::size_t>(selected)];
  moved.scale = *scale;
  presets.erase(presets.begin() + selected);
  const int at = PresetInsertPosition(presets, *scale);
  presets.insert(presets.begin() + at, moved);
  return at;
}

int DeleteScalePreset(ScalePresetList& presets, int selected) {
  if (!CanDeleteScalePreset(presets) || !ValidIndex(presets, selected)) return std::max(selected, 0);
  presets.erase(presets.begin() + selected);
  return std::max(selected - 1, 0);
}

bool EditPresetSize(UserPort& port, ScalePresetList& presets, int selected, int row) {
  if (!ValidIndex(presets, selected) || row < 0 || row >= settings::ScalePresetRows) return false;
  double& size = presets[static_cast<std::size_t>(selected)].sizes[static_cast<std::size_t>(row)];
  const auto v = AskPositive(port, msg::EditPresetHeightTitle, msg::HeightPrompt, size, msg::InvalidHeight);
  if (!v) return false;
  size = *v;
  return true;
}

}  // namespace terravue::device

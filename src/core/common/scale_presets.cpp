#include "common/scale_presets.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/app_settings.h"
#include "mapping/map_options.h"
#include "output/page_setup_settings.h"

namespace terravue::settings {
namespace {

// The option each of the 8 sizes of a preset feeds, by row.
constexpr std::array<F64Field, ScalePresetRows> PresetTargets = {
    mapping::BreaklineOptions::TextHeight,  mapping::SurfaceGridOptions::TextHeight,
    mapping::ContourOptions::TextHeight,    mapping::PointOptions::MarkerHeight,
    mapping::PointOptions::TextHeight,      mapping::MiscOptions::TextHeight,
    mapping::TitleOptions::TitleTextHeight, mapping::TitleOptions::MiscTextHeight,
};

// The smallest length the map options accept for sizes, dashes and spacings.
constexpr double MinLength = 0.001;

void SetLength(SettingsRecord& s, F64Field field, double v) {
  if (std::isfinite(v)) s.Set(field, std::max(v, MinLength));
}

}  // namespace

int ChooseScalePreset(const SettingsRecord& s, int unit, double scale) {
  const int count = std::clamp<int>(s.Get(ScalePresetCount(unit)), 1, MaxScalePresets);
  for (int i = 0; i < count; ++i)
    if (!(s.Get(ScalePresetScale(unit, i)) < scale)) return i;
  return count - 1;
}

void ApplyScalePreset(SettingsRecord& s) {
  const double scale = s.Get(output::PageSetup::MapScale);
  const int unit = std::clamp<int>(s.Get(Units), 0, UnitCount - 1);
  const int preset = ChooseScalePreset(s, unit, scale);
  for (int row = 0; row < ScalePresetRows; ++row) {
    const double size = s.Get(ScalePresetSizes(unit, preset, row));
    if (std::isfinite(size) && size >= MinLength) s.Set(PresetTargets[row], size);
  }
  SetLength(s, mapping::SurfaceGridOptions::DashLength, scale / 4);
  SetLength(s, mapping::SurfaceGridOptions::SpaceLength, scale / 8);
  SetLength(s, mapping::ContourOptions::DashLength, s.Get(mapping::SurfaceGridOptions::DashLength));
  SetLength(s, mapping::ContourOptions::SpaceLength, s.Get(mapping::SurfaceGridOptions::SpaceLength));
  SetLength(s, mapping::AnalyzerOptions::ArrowMagnitude, scale / 8);
  SetLength(s, mapping::AnalyzerOptions::DownSlopeGridSpacing, scale);
}

}  // namespace terravue::settings

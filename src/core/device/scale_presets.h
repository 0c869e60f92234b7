#pragma once

#include <array>
#include <vector>

#include "common/app_settings.h"
#include "common/settings_record.h"

namespace terravue {
class UserPort;
}

namespace terravue::device {

// The preset of `unit` that fits a drawing scale: the first whose scale is not below it, the
// last when the scale exceeds them all.
int ChooseScalePreset(const SettingsRecord& settings, int unit, double scale);

// Sets the map's text heights and marker size from the preset that fits the current map scale,
// and the dash, space, arrow and grid lengths that follow from the scale itself. Sizes that
// could not be drawn (not above 0.001) leave their option as it is.
// A scale that is not positive and finite leaves everything as it is.
void ApplyScalePreset(SettingsRecord& settings);

// ---- Editing the presets (the preferences' second page) ---------------------------------------

struct ScalePreset {
  double scale = 1.0;
  std::array<double, settings::ScalePresetRows> sizes{};
  friend bool operator==(const ScalePreset&, const ScalePreset&) = default;
};
// One unit's presets in ascending order of scale; 1 to MaxScalePresets of them.
using ScalePresetList = std::vector<ScalePreset>;

ScalePresetList ReadScalePresets(const SettingsRecord& settings, int unit);
// Slots beyond the list hold 1.0, as in a new settings file.
void WriteScalePresets(SettingsRecord& settings, int unit, const ScalePresetList& presets);

// Where a preset of `scale` goes: after every smaller scale, before an equal one.
int PresetInsertPosition(const ScalePresetList& presets, double scale);
// The sizes a new preset starts with: a tenth of the scale (English) or a quarter (Metric) for
// every row, half of that for the contour labels and twice that for the scale bar text.
std::array<double, settings::ScalePresetRows> NewPresetSizes(int unit, double scale);

inline bool CanAddScalePreset(const ScalePresetList& p) { return p.size() < settings::MaxScalePresets; }
inline bool CanDeleteScalePreset(const ScalePresetList& p) { return p.size() > 1; }

// "Add...": asks for the scale ("New Scale", pre-filled 1.000) and inserts the new preset. The
// index of the preset to select, or -1 when nothing changed (cancelled, or "Invalid Scale" for
// anything but a positive finite number).
int AddScalePreset(UserPort& port, ScalePresetList& presets, int unit);
// "Edit...": asks for a new scale for the selected preset ("Edit Scale"); the preset keeps its
// sizes and moves to the place of its new scale. The new index, or -1 when nothing changed.
int EditScalePreset(UserPort& port, ScalePresetList& presets, int selected);
// "Delete": removes the selected preset (never the last one) and gives the index to select,
// the previous one or the first.
int DeleteScalePreset(ScalePresetList& presets, int selected);
// A double click on a row of the grid: asks for the size ("Invalid Height" for anything but a
// positive finite number). True when the size changed.
bool EditPresetSize(UserPort& port, ScalePresetList& presets, int selected, int row);

}  // namespace terravue::device

#pragma once

#include "common/settings_record.h"

namespace terravue::settings {

// The preset of `unit` that fits a drawing scale: the first whose scale is not below it, the
// last when the scale exceeds them all.
int ChooseScalePreset(const SettingsRecord& settings, int unit, double scale);

// Sets the map's text heights and marker size from the preset that fits the current map scale,
// and the dash, space, arrow and grid lengths that follow from the scale itself. Sizes that
// could not be drawn (not above 0.001) leave their option as it is.
void ApplyScalePreset(SettingsRecord& settings);

}  // namespace terravue::settings

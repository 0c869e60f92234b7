#pragma once

#include <array>

#include "device/cad_settings.h"
#include "device/scale_presets.h"

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue

// The program-wide choices edited in the Preferences dialog. The dialog works on a copy read
// from the settings and hands it back on OK.
namespace terravue::app {

struct Preferences {
  int units = 0;            // 0 English, 1 Metric
  int coordinateOrder = 0;  // 0 Northing-Easting, 1 Easting-Northing
  int angleConvention = 0;  // 0 Engineers, 1 Surveyors
  bool blackBackground = false;
  bool autoLoad = false;
  bool enhancedCursor = false;
  std::array<device::ScalePresetList, settings::UnitCount> presets;  // both units, whatever is shown

  device::CadProgram cadProgram = device::CadProgram::AutoCad;
  bool use3DPolylines = false;
  bool output3DFaces = false;
  bool standardTextType = true;
  bool fastLoad = false;
};

Preferences ReadPreferences(const SettingsRecord& settings);

struct PreferencesStored {
  bool unitsChanged = false;
  bool coordinateOrderChanged = false;
};

// OK: stores every choice. A change of units is announced first ("Changing the units requires
// resetting the default scale."), and afterwards the extents and the page are recomputed and
// the sizes of the new unit's preset for the current scale applied.
PreferencesStored StorePreferences(Session& session, const Preferences& preferences);

}  // namespace terravue::app

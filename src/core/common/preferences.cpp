#include "common/preferences.h"

#include <algorithm>

#include "common/cursor_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "mapping/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "output/cad_settings.h"
#include "output/page_setup.h"

namespace terravue::settings {

namespace cad = output::CadOutput;

Preferences ReadPreferences(const SettingsRecord& s) {
  Preferences p;
  p.units = std::clamp<int>(s.Get(Units), 0, UnitCount - 1);
  p.coordinateOrder = s.Get(CoordinateOrder) == 1 ? 1 : 0;
  p.angleConvention = s.Get(AngleConvention) == 1 ? 1 : 0;
  p.blackBackground = s.Get(MapBackgroundColour) == Black;
  p.autoLoad = s.Get(AutoLoad);
  p.enhancedCursor = s.Get(CursorOptions::EnhancedCursor);
  for (int unit = 0; unit < UnitCount; ++unit) p.presets[static_cast<std::size_t>(unit)] = ReadScalePresets(s, unit);

  if (s.Get(cad::DxfSelected))
    p.cadProgram = s.Get(cad::AutoSketch) ? CadProgram::AutoSketch : CadProgram::AutoCad;
  else
    p.cadProgram = s.Get(cad::GenericCadd) ? CadProgram::GenericCadd : CadProgram::GeneralCadd;
  p.use3DPolylines = s.Get(cad::Use3DPolylines);
  p.output3DFaces = s.Get(cad::Output3DFaces);
  p.standardTextType = s.Get(cad::StandardTextType);
  p.fastLoad = s.Get(cad::FastLoad);
  return p;
}

PreferencesStored StorePreferences(Session& session, const Preferences& p) {
  SettingsRecord& s = session.settings;
  PreferencesStored result;
  const int units = std::clamp(p.units, 0, UnitCount - 1);
  result.unitsChanged = units != s.Get(Units);
  if (result.unitsChanged) session.port.ShowWarning(msg::UnitsChangeResetsScale);
  s.Set(Units, static_cast<std::uint8_t>(units));

  s.Set(MapBackgroundColour, p.blackBackground ? Black : White);
  s.Set(MapInkColour, p.blackBackground ? White : Black);
  const int order = p.coordinateOrder == 1 ? 1 : 0;
  result.coordinateOrderChanged = order != s.Get(CoordinateOrder);
  s.Set(CoordinateOrder, static_cast<std::uint8_t>(order));
  s.Set(AngleConvention, static_cast<std::uint8_t>(p.angleConvention == 1 ? 1 : 0));
  s.Set(AutoLoad, p.autoLoad);
  s.Set(CursorOptions::EnhancedCursor, p.enhancedCursor);
  for (int unit = 0; unit < UnitCount; ++unit) {
    const ScalePresetList& list = p.presets[static_cast<std::size_t>(unit)];
    if (!list.empty()) WriteScalePresets(s, unit, list);
  }

  const bool dxf = WritesDxf(p.cadProgram);
  s.Set(cad::DxfSelected, dxf);
  s.Set(cad::AutoSketch, p.cadProgram == CadProgram::AutoSketch);
  s.Set(cad::GenericCadd, p.cadProgram == CadProgram::GenericCadd);
  s.Set(cad::Use3DPolylines, p.use3DPolylines);
  s.Set(cad::Output3DFaces, p.output3DFaces);
  s.Set(cad::StandardTextType, p.standardTextType);
  s.Set(cad::FastLoad, p.fastLoad);
  s.Set(mapping::CadFacesOptions::Show, dxf && p.output3DFaces);

  // The new unit's presets are stored before they are applied.
  if (result.unitsChanged) {
    model::ComputeExtents(session.model, s);
    output::FitModel(s, session.model, false);
    ApplyScalePreset(s);
  }
  return result;
}

}  // namespace terravue::settings

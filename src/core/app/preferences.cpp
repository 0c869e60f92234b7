#include "app/preferences.h"

#include <algorithm>

#include "app/cursor_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/cad_settings.h"
#include "device/page_setup.h"

namespace terravue::app {

namespace cad = device::CadOutput;

Preferences ReadPreferences(const SettingsRecord& s) {
  Preferences p;
  p.units = std::clamp<int>(s.Get(settings::Units), 0, settings::UnitCount - 1);
  p.coordinateOrder = settings::EastingFirst(s) ? 1 : 0;
  p.angleConvention = s.Get(settings::AngleConvention) == 1 ? 1 : 0;
  p.blackBackground = s.Get(settings::MapBackgroundColour) == settings::Black;
  p.autoLoad = s.Get(settings::AutoLoad);
  p.enhancedCursor = s.Get(CursorOptions::EnhancedCursor);
  for (int unit = 0; unit < settings::UnitCount; ++unit) p.presets[static_cast<std::size_t>(unit)] = device::ReadScalePresets(s, unit);

  if (s.Get(cad::DxfSelected))
    p.cadProgram = s.Get(cad::AutoSketch) ? device::CadProgram::AutoSketch : device::CadProgram::AutoCad;
  else
    p.cadProgram = s.Get(cad::GenericCadd) ? device::CadProgram::GenericCadd : device::CadProgram::GeneralCadd;
  p.use3DPolylines = s.Get(cad::Use3DPolylines);
  p.output3DFaces = s.Get(cad::Output3DFaces);
  p.standardTextType = s.Get(cad::StandardTextType);
  p.fastLoad = s.Get(cad::FastLoad);
  return p;
}

PreferencesStored StorePreferences(Session& session, const Preferences& p) {
  SettingsRecord& s = session.settings;
  PreferencesStored result;
  const int units = std::clamp(p.units, 0, settings::UnitCount - 1);
  result.unitsChanged = units != s.Get(settings::Units);
  if (result.unitsChanged) session.port.ShowWarning(msg::UnitsChangeResetsScale);
  s.Set(settings::Units, static_cast<std::uint8_t>(units));

  s.Set(settings::MapBackgroundColour, p.blackBackground ? settings::Black : settings::White);
  s.Set(settings::MapInkColour, p.blackBackground ? settings::White : settings::Black);
  const int order = p.coordinateOrder == 1 ? 1 : 0;
  result.coordinateOrderChanged = order != s.Get(settings::CoordinateOrder);
  s.Set(settings::CoordinateOrder, static_cast<std::uint8_t>(order));
  s.Set(settings::AngleConvention, static_cast<std::uint8_t>(p.angleConvention == 1 ? 1 : 0));
  s.Set(settings::AutoLoad, p.autoLoad);
  s.Set(CursorOptions::EnhancedCursor, p.enhancedCursor);
  for (int unit = 0; unit < settings::UnitCount; ++unit) {
    const device::ScalePresetList& list = p.presets[static_cast<std::size_t>(unit)];
    if (!list.empty()) device::WriteScalePresets(s, unit, list);
  }

  const bool dxf = WritesDxf(p.cadProgram);
  s.Set(cad::DxfSelected, dxf);
  s.Set(cad::AutoSketch, p.cadProgram == device::CadProgram::AutoSketch);
  s.Set(cad::GenericCadd, p.cadProgram == device::CadProgram::GenericCadd);
  s.Set(cad::Use3DPolylines, p.use3DPolylines);
  s.Set(cad::Output3DFaces, p.output3DFaces);
  s.Set(cad::StandardTextType, p.standardTextType);
  s.Set(cad::FastLoad, p.fastLoad);
  s.Set(device::CadFacesOptions::Show, dxf && p.output3DFaces);

  // The new unit's presets are stored before they are applied.
  if (result.unitsChanged) {
    model::ComputeExtents(session.model, s);
    device::FitModel(s, session.model, false);
    device::ApplyScalePreset(s);
  }
  return result;
}

}  // namespace terravue::app

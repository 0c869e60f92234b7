#include "app/file_commands.h"

#include <system_error>

#include "common/app_settings.h"
#include "common/messages.h"
#include "device/scale_presets.h"
#include "exchange/import_commands.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "device/page_setup.h"

namespace terravue::app {
namespace {

namespace fs = std::filesystem;

std::string_view ExtensionOfType(int type) { return type == model::ModelFileTypeMdv ? ".MDV" : ".MDL"; }

fs::path Absolute(const fs::path& file) {
  std::error_code ec;
  fs::path full = fs::absolute(file, ec);
  return (ec ? file : full).lexically_normal();
}

}  // namespace

int FilterEntryOfType(int fileType) { return fileType == model::ModelFileTypeMdv ? 2 : 1; }

int TypeOfFilterEntry(int entry) {
  if (entry == 1) return model::ModelFileTypeMdl;
  if (entry == 2) return model::ModelFileTypeMdv;
  return -1;
}

namespace {

// A LandXML surface opened from the File menu: imported data, but a file to reopen.
bool OpenLandXml(Session& session, const fs::path& file, const exchange::SurfaceChoiceFn& choose) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    session.port.ShowError(msg::FileNotFound);
    return false;
  }
  if (exchange::OpenLandXmlModel(session, file, choose) != exchange::LandXmlLoadStatus::Loaded) return false;
  model::AddRecentFile(session.settings, Absolute(file).string());
  return true;
}

}  // namespace

bool OpenSurface(Session& session, fs::path chosen, int entry, const exchange::SurfaceChoiceFn& choose) {
  if (chosen.empty()) return false;
  if (!chosen.has_extension()) {
    if (entry == LandXmlFilterEntry) return OpenLandXml(session, chosen += ".xml", choose);
    const int type = TypeOfFilterEntry(entry);
    chosen += ExtensionOfType(type < 0 ? model::ModelFileTypeMdl : type);
  } else if (exchange::IsLandXmlFileName(chosen)) {
    return OpenLandXml(session, chosen, choose);
  } else if (model::ModelFileTypeOf(chosen) < 0) {
    session.port.ShowError(msg::FileTypeNotSupported);
    return false;
  }
  return model::OpenModelByName(session, chosen);
}

bool OpenFileByName(Session& session, const fs::path& file, const exchange::SurfaceChoiceFn& choose) {
  if (exchange::IsLandXmlFileName(file)) return OpenLandXml(session, file, choose);
  return model::OpenModelByName(session, file);
}

void ApplyLoadedModelDefaults(SettingsRecord& settings, const model::SurfaceModel& model) {
  if (model.PointCount == 0) return;
  device::FitModel(settings, model, true);
  device::ApplyScalePreset(settings);
}

SaveOutcome SaveSurface(Session& session) {
  const SettingsRecord& s = session.settings;
  const int type = s.Get(settings::ModelFileType);
  const std::string name = s.Get(settings::ModelFileName);
  if ((type != model::ModelFileTypeMdl && type != model::ModelFileTypeMdv) || name.empty()) return SaveOutcome::NeedsName;
  const fs::path file = fs::path(s.Get(settings::DataDirectory)) / name;
  return model::WriteModelFile(session, file, 1, session.model.PointCount, type) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

std::string SaveAsTitle(const SettingsRecord& settings) {
  return std::string(msg::SaveAsTitlePrefix) + settings.Get(settings::ModelFileName) + std::string(msg::SaveAsTitleSuffix);
}

fs::path SaveAsInitialPath(const SettingsRecord& settings) {
  const fs::path name = fs::path(settings.Get(settings::ModelFileName)).stem();
  return fs::path(settings.Get(settings::DataDirectory)) / name;
}

bool SaveSurfaceAs(Session& session, fs::path chosen, int entry) {
  const int type = TypeOfFilterEntry(entry);
  if (type < 0 || chosen.empty()) {
    session.port.ShowError(msg::FileCouldNotBeSaved);
    return false;
  }
  chosen.replace_extension(ExtensionOfType(type));
  const fs::path full = Absolute(chosen);
  const bool written = model::WriteModelFile(session, full, 1, session.model.PointCount, type);
  SettingsRecord& s = session.settings;
  if (written) model::AddRecentFile(s, full.string());
  // A name the fields cannot hold is not kept in part: without one, Save asks again.
  if (s.Set(settings::DataDirectory, (full.parent_path() / "").string()) &&
      s.Set(settings::ModelFileName, full.filename().string())) {
    s.Set(settings::ModelFileExt, full.extension().string());
    s.Set(settings::ModelFileType, static_cast<std::uint8_t>(type));
  } else {
    s.Set(settings::ModelFileName, "");
  }
  session.port.ModelStateChanged();
  return written;
}

}  // namespace terravue::app

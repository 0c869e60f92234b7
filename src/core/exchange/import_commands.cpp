#include "exchange/import_commands.h"

#include <filesystem>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/page_setup.h"

namespace terravue::exchange {

namespace fs = std::filesystem;

namespace {
// Point marker kinds of the map options.
constexpr std::uint8_t MarkerPlus = 3;
constexpr std::uint8_t MarkerNone = 5;
}  // namespace

// ---- The format part of the dialogs ---------------------------------------------------------

std::string StoredFormatText(const SettingsRecord& settings, const FormatRecord& record, LetterTable letters) {
  return FormatText(letters, ReadFileFormat(settings, record));
}

std::string KeepFormatCharacters(LetterTable letters, std::string_view text) {
  std::string kept;
  for (const char c : text)
    if (IsFormatCharacter(letters, c)) kept += c;
  return kept;
}

void StoreImportDialogFormat(SettingsRecord& settings, AsciiKind kind, int entry, std::string_view customText) {
  if (entry < FormatRecord::NoFormat || entry > FormatRecord::CustomFormat) entry = FormatRecord::NoFormat;
  StoreFileFormat(settings, ImportRecord(kind), entry, ChosenImportFormat(kind, entry, customText));
}

ImportDialogEnabling ImportEnabling(bool fileExists, int entry, std::string_view customText) {
  ImportDialogEnabling e;
  e.preview = fileExists;
  e.formatGroup = e.preview;
  const bool custom = entry == FormatRecord::CustomFormat;
  e.editCustom = e.formatGroup && custom;
  e.ok = e.preview && entry >= 0 && entry <= FormatRecord::CustomFormat && (!custom || !customText.empty());
  return e;
}

// ---- The commands ---------------------------------------------------------------------------

namespace {

std::string WithoutExtension(const std::string& name) {
  const fs::path p(name);
  return p.has_extension() ? p.stem().string() : name;
}

ImportDialogRequest RequestFor(const SettingsRecord& s, AsciiKind kind) {
  ImportDialogRequest r;
  r.kind = kind;
  r.fileName = DefaultImportFileName(s, kind);
  r.chooseFileAtOnce = r.fileName.empty();
  const FormatRecord& record = ImportRecord(kind);
  r.showMatchNumbersToLabels = record.hasMatchNumbersToLabels;
  r.matchNumbersToLabels = record.hasMatchNumbersToLabels && s.Get(record.MatchNumbersToLabels());
  return r;
}

// The model now stands for the imported file: Save asks for a model name, the caption shows the
// file's. A name that does not fit the settings leaves the model without one.
void TakeImportedIdentity(Session& session, const std::string& fileName) {
  SettingsRecord& s = session.settings;
  std::error_code ec;
  fs::path full = fs::absolute(fs::path(fileName), ec);
  if (ec) full = fs::path(fileName);
  full = full.lexically_normal();
  if (s.Set(settings::DataDirectory, (full.parent_path() / "").string()))
    s.Set(settings::ModelFileName, full.filename().string());
  else
    s.Set(settings::ModelFileName, "");
  s.Set(settings::ModelFileExt, full.extension().string().substr(0, settings::ModelFileExt.capacity));
  s.Set(settings::ModelFileType, std::uint8_t{0});
}

}  // namespace

// Imported points stand for the model now: its name, extents, page and preset sizes follow
// them, and loose points get markers, as they would show nothing on the map without them.
void TakeImportedModel(Session& session, const std::string& fileName) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  TakeImportedIdentity(session, fileName);
  model::ComputeExtents(m, s);
  device::FitModel(s, m, true);
  device::ApplyScalePreset(s);
  if (m.TriangleCount == 0 && s.Get(device::PointOptions::MarkerKind) == MarkerNone)
    s.Set(device::PointOptions::MarkerKind, MarkerPlus);
  session.port.ModelStateChanged();
}

std::string DefaultImportFileName(const SettingsRecord& s, AsciiKind kind) {
  std::string last = s.Get(ImportRecord(kind).FileName());
  if (!last.empty()) return last;
  const std::string model = s.Get(settings::ModelFileName);
  if (model.empty()) return {};
  return s.Get(settings::DataDirectory) + WithoutExtension(model);
}

ImportOutcome ImportCoordinatesCommand(Session& session, const ImportDialogFn& dialog) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  UserPort& port = session.port;
  if (m.PointCount > 0 && !s.Get(settings::ModelSaved) &&
      !port.AskToDiscard(std::string(msg::UnsavedChanges) + "\r\n" + std::string(msg::LoadNewDataAnyway)))
    return ImportOutcome::NotRun;
  const bool append = m.PointCount > 0 && port.AskYesNo(msg::AddToCurrentFile);

  ImportDialogRequest request = RequestFor(s, AsciiKind::Coordinates);
  request.showAutoRemove = true;
  request.autoRemove = s.Get(CoordImport.RemoveDuplicates());
  const auto chosen = dialog(request);
  if (!chosen) return ImportOutcome::NotRun;

  s.Set(CoordImport.RemoveDuplicates(), chosen->autoRemove);
  s.Set(CoordImport.FileName(), chosen->fileName);
  const CoordinateLoadResult loaded = LoadCoordinateFile(
      session, fs::path(chosen->fileName), {.append = append, .removeDuplicates = chosen->autoRemove});
  if (loaded.status != LoadStatus::Loaded) return ImportOutcome::Attempted;

  TakeImportedModel(session, chosen->fileName);
  return ImportOutcome::Loaded;
}

NewOutcome NewModelCommand(Session& session, const ImportDialogFn& dialog) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  if (m.PointCount > 0) {
    const bool go = s.Get(settings::ModelSaved) ? session.port.AskToDiscard(msg::EraseOldData)
                                                : model::ConfirmDiscard(session, false);
    if (!go) return NewOutcome::Declined;
  }
  m.ClearModel();
  session.port.ModelStateChanged();

  ImportDialogRequest request = RequestFor(s, AsciiKind::Coordinates);
  request.showAutoRemove = true;
  request.autoRemove = s.Get(CoordImport.RemoveDuplicates());
  const auto chosen = dialog(request);
  if (chosen) {
    s.Set(CoordImport.RemoveDuplicates(), chosen->autoRemove);
    s.Set(CoordImport.FileName(), chosen->fileName);
    const CoordinateLoadResult loaded = LoadCoordinateFile(
        session, fs::path(chosen->fileName), {.append = false, .removeDuplicates = chosen->autoRemove});
    if (loaded.status == LoadStatus::Loaded && m.PointCount > 0) {
      TakeImportedModel(session, chosen->fileName);
      return NewOutcome::Loaded;
    }
  }
  // The old model is gone: its name must not be left for the caption, Save or the next start.
  // Whatever a failed read left behind is dropped too.
  m.ClearModel();
  s.Set(settings::ModelFileName, "");
  session.port.ModelStateChanged();
  return NewOutcome::Cleared;
}

LandXmlLoadStatus OpenLandXmlModel(Session& session, const fs::path& file, const SurfaceChoiceFn& choose) {
  const LandXmlLoadResult loaded = LoadLandXmlFile(session, file, choose);
  if (loaded.status == LandXmlLoadStatus::Loaded) TakeImportedModel(session, file.string());
  return loaded.status;
}

ImportOutcome ImportLandXmlCommand(Session& session, const LandXmlOpenDialogFn& dialog, const SurfaceChoiceFn& choose) {
  if (!model::ConfirmDiscard(session, false)) return ImportOutcome::NotRun;
  const auto chosen = dialog(session.settings.Get(settings::DataDirectory));
  if (!chosen || chosen->empty()) return ImportOutcome::NotRun;
  switch (OpenLandXmlModel(session, fs::path(*chosen), choose)) {
    case LandXmlLoadStatus::Loaded: return ImportOutcome::Loaded;
    case LandXmlLoadStatus::Cancelled: return ImportOutcome::NotRun;
    case LandXmlLoadStatus::Refused: break;
  }
  return ImportOutcome::Attempted;
}

ImportOutcome ImportBorderCommand(Session& session, const ImportDialogFn& dialog) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  if (m.PointCount == 0) {
    session.port.ShowError(msg::NoDataLoaded);
    return ImportOutcome::NotRun;
  }
  if (m.IsBordered() && !session.port.AskToDiscard(msg::LoadNewBorder)) return ImportOutcome::NotRun;
  const auto chosen = dialog(RequestFor(s, AsciiKind::Border));
  if (!chosen) return ImportOutcome::NotRun;
  s.Set(BorderImport.FileName(), chosen->fileName);
  s.Set(BorderImport.MatchNumbersToLabels(), chosen->matchNumbersToLabels);
  // The loader replaces the ring only once the file gave points for it: a file that cannot
  // be read keeps the border there was.
  const BorderLoadResult loaded = LoadBorderFile(session, fs::path(chosen->fileName), {});
  return loaded.status == LoadStatus::Loaded ? ImportOutcome::Loaded : ImportOutcome::Attempted;
}

ImportOutcome ImportBreaklinesCommand(Session& session, const ImportDialogFn& dialog) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  UserPort& port = session.port;
  if (m.PointCount == 0) {
    port.ShowError(msg::NoDataLoaded);
    return ImportOutcome::NotRun;
  }
  bool erase = true;
  if (m.BreaklineCount > 0) {
    if (!port.AskYesNo(msg::LoadNewBreaklines)) return ImportOutcome::NotRun;
    erase = port.AskToDiscard(msg::EraseExistingBreaklines);
  }
  const auto chosen = dialog(RequestFor(s, AsciiKind::Breaklines));
  if (!chosen) return ImportOutcome::NotRun;

  // Kept aside so that a file that cannot be read does not cost the breaklines there were.
  const std::uint16_t before = m.BreaklineCount;
  std::vector<model::Breakline> kept;
  if (erase && before > 0) {
    kept.assign(m.Breaklines.begin() + 1, m.Breaklines.begin() + 1 + before);
    m.BreaklineCount = 0;
  }
  s.Set(BreaklineImport.FileName(), chosen->fileName);
  s.Set(BreaklineImport.MatchNumbersToLabels(), chosen->matchNumbersToLabels);
  const BreaklineLoadResult loaded = LoadBreaklineFile(session, fs::path(chosen->fileName), {});
  const bool unread = loaded.status == LoadStatus::NotOpened || loaded.status == LoadStatus::FormatRefused ||
                      loaded.status == LoadStatus::NotText;
  if (unread && !kept.empty()) {
    std::copy(kept.begin(), kept.end(), m.Breaklines.begin() + 1);
    m.BreaklineCount = before;
    return ImportOutcome::NotRun;
  }
  if (loaded.status == LoadStatus::Loaded) return ImportOutcome::Loaded;
  if (!kept.empty()) {
    model::MarkModified(session);  // the old breaklines are gone
    return ImportOutcome::Loaded;
  }
  return ImportOutcome::Attempted;
}

}  // namespace terravue::exchange

#include "exchange/export_commands.h"

#include <filesystem>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "exchange/landxml_export.h"
#include "model/model_file.h"
#include "model/surface_model.h"

namespace terravue::exchange {

namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

bool HasOwnExtension(AsciiKind kind, const std::string& extension) {
  switch (kind) {
    case AsciiKind::Coordinates: return SameIgnoringCase(extension, ".ASC") || SameIgnoringCase(extension, ".TXT");
    case AsciiKind::Border: return SameIgnoringCase(extension, ".BDR");
    case AsciiKind::Breaklines: break;
  }
  return SameIgnoringCase(extension, ".BRK") || SameIgnoringCase(extension, ".BKL");
}

}  // namespace

void StoreExportDialogFormat(SettingsRecord& settings, AsciiKind kind, int entry, std::string_view customText) {
  if (entry < FormatRecord::NoFormat || entry > FormatRecord::CustomFormat) entry = FormatRecord::NoFormat;
  StoreFileFormat(settings, ExportRecord(kind), entry, ChosenExportFormat(kind, entry, customText));
}

ExportDialogEnabling ExportEnabling(int entry, std::string_view customText) {
  ExportDialogEnabling e;
  e.editCustom = entry == FormatRecord::CustomFormat;
  e.ok = entry >= 0 && (entry < FormatRecord::CustomFormat || (e.editCustom && !customText.empty()));
  return e;
}

std::string_view DefaultExportExtension(AsciiKind kind) {
  switch (kind) {
    case AsciiKind::Coordinates: return ".ASC";
    case AsciiKind::Border: return ".BDR";
    case AsciiKind::Breaklines: break;
  }
  return ".BRK";
}

std::string ProposedExportName(AsciiKind kind, std::string_view name) {
  if (name.empty()) return {};
  fs::path p{std::string(name)};
  if (HasOwnExtension(kind, p.extension().string())) return std::string(name);
  p.replace_extension(DefaultExportExtension(kind));
  return p.string();
}

std::string WithExportExtension(AsciiKind kind, std::string_view chosen) {
  const fs::path p{std::string(chosen)};
  if (chosen.empty() || p.has_extension()) return std::string(chosen);
  return std::string(chosen) + std::string(DefaultExportExtension(kind));
}

std::string DefaultExportFileName(const SettingsRecord& s, AsciiKind kind) {
  std::string last = s.Get(ExportRecord(kind).FileName());
  if (!last.empty()) return last;
  const std::string model = s.Get(settings::ModelFileName);
  if (model.empty()) return {};
  fs::path name(model);
  name.replace_extension(DefaultExportExtension(kind));
  return s.Get(settings::DataDirectory) + name.string();
}

bool ExportCommand(Session& session, AsciiKind kind, const ExportDialogFn& dialog) {
  if (!CanExport(session, kind)) return false;
  ExportDialogRequest request;
  request.kind = kind;
  request.fileName = DefaultExportFileName(session.settings, kind);
  request.chooseFileAtOnce = request.fileName.empty();
  const auto chosen = dialog(request);
  if (!chosen) return false;
  if (chosen->empty()) {
    session.port.ShowError(msg::NoExportFileChosen);
    return false;
  }
  session.settings.Set(ExportRecord(kind).FileName(), *chosen);
  const fs::path file(*chosen);
  ExportStatus status = ExportStatus::WriteFailed;
  switch (kind) {
    case AsciiKind::Coordinates: status = ExportCoordinateFile(session, file); break;
    case AsciiKind::Border: status = ExportBorderFile(session, file); break;
    case AsciiKind::Breaklines: status = ExportBreaklineFile(session, file); break;
  }
  return status == ExportStatus::Written;
}

std::string DefaultLandXmlFileName(const SettingsRecord& s) {
  const std::string model = s.Get(settings::ModelFileName);
  if (model.empty()) return {};
  fs::path name(model);
  name.replace_extension(".xml");
  return s.Get(settings::DataDirectory) + name.string();
}

std::string WithLandXmlExtension(std::string_view chosen) {
  const fs::path p{std::string(chosen)};
  if (chosen.empty() || p.has_extension()) return std::string(chosen);
  return std::string(chosen) + ".xml";
}

bool ExportLandXmlCommand(Session& session, const LandXmlExportDialogFn& dialog) {
  if (session.model.PointCount == 0) {
    session.port.ShowError(msg::NoDataToSave);
    return false;
  }
  const SettingsRecord& s = session.settings;
  LandXmlExportRequest request;
  request.proposedName = DefaultLandXmlFileName(s);
  // What such a file held beyond this model (holes, other surfaces) would be lost without a word.
  const bool fromLandXml = s.Get(settings::ModelFileType) == model::ModelFileTypeImport &&
                           IsLandXmlFileName(s.Get(settings::ModelFileName));
  if (!fromLandXml) request.fileName = request.proposedName;
  request.chooseFileAtOnce = request.fileName.empty();
  request.metric = s.Get(settings::Units) == 1;
  request.unit = request.metric ? LandXmlUnit::Meter : LandXmlUnit::Foot;
  const auto chosen = dialog(request);
  if (!chosen) return false;
  if (chosen->fileName.empty()) {
    session.port.ShowError(msg::NoExportFileChosen);
    return false;
  }
  // The coordinates are in the model's unit: only the foot may be chosen.
  LandXmlUnit unit = chosen->unit;
  if (request.metric) unit = LandXmlUnit::Meter;
  if (!request.metric && unit == LandXmlUnit::Meter) unit = LandXmlUnit::Foot;
  return ExportLandXmlFile(session, fs::path(WithLandXmlExtension(chosen->fileName)), unit);
}

}  // namespace terravue::exchange

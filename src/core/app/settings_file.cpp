#include "app/settings_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "exchange/import_export_settings.h"
#include "device/map_options.h"
#include "device/cad_settings.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"

namespace terravue {
namespace {

// Every section of the image, by its owner. Each writes and checks only its own fields, so the
// order does not matter.
struct Section {
  const SettingsTable& (*fields)();
  void (*setDefaults)(SettingsRecord&);
  int (*validate)(SettingsRecord&);
};

const std::array<Section, 9>& Sections() {
  static constexpr std::array<Section, 9> sections = {{
      {settings::ApplicationFields, settings::SetApplicationDefaults, settings::ValidateApplication},
      {settings::PreferencesFields, settings::SetPreferencesDefaults, settings::ValidatePreferences},
      {device::PageSetupFields, device::SetPageSetupDefaults, device::ValidatePageSetup},
      {device::CadOutputFields, device::SetCadOutputDefaults, device::ValidateCadOutput},
      {device::MapOptionsFields, device::SetMapOptionsDefaults, device::ValidateMapOptions},
      {device::CadLayerFields, device::SetCadLayerDefaults, device::ValidateCadLayers},
      {app::CursorFields, app::SetCursorDefaults, app::ValidateCursorOptions},
      {exchange::ImportExportFields, exchange::SetImportExportDefaults, exchange::ValidateImportExport},
      {settings::View3DFields, settings::SetView3DDefaults, settings::ValidateView3D},
  }};
  return sections;
}

SettingsTable BuildAllFields() {
  SettingsTable all;
  for (const auto& section : Sections()) {
    const auto& fields = section.fields();
    all.insert(all.end(), fields.begin(), fields.end());
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const SettingsField& a, const SettingsField& b) { return a.offset < b.offset; });
  return all;
}

// The directory as stored, with the trailing "/" the rest of the program relies on, when it
// fits the field.
bool StoreDirectory(SettingsRecord& record, TextField field, std::string directory) {
  if (directory.empty()) return false;
  if (directory.back() != '/') directory += '/';
  return record.Set(field, directory);
}

bool IsDirectory(const std::filesystem::path& p) {
  std::error_code ec;
  return !p.empty() && std::filesystem::is_directory(p, ec);
}

void ResolveDirectory(SettingsRecord& record, TextField field,
                      const std::filesystem::path& documents, const std::filesystem::path& home) {
  // A relative directory would depend on wherever the program happened to start.
  const std::string stored = record.Get(field);
  if (std::filesystem::path(stored).is_absolute() && IsDirectory(stored) &&
      StoreDirectory(record, field, stored))
    return;
  if (IsDirectory(documents) && StoreDirectory(record, field, documents.string())) return;
  StoreDirectory(record, field, home.string());
}

}  // namespace

SettingsRecord DefaultSettings() {
  SettingsRecord record;
  for (const auto& section : Sections()) section.setDefaults(record);
  return record;
}

int ValidateSettings(SettingsRecord& record) {
  int changed = 0;
  for (const auto& section : Sections()) changed += section.validate(record);
  return changed;
}

SettingsLoad LoadSettingsBytes(SettingsRecord& record, std::span<const std::uint8_t> bytes,
                               int* fieldsReset) {
  record = DefaultSettings();
  const std::size_t n = std::min(bytes.size(), SettingsRecord::Size);
  std::copy_n(bytes.begin(), n, record.bytes.begin());
  const int changed = ValidateSettings(record);
  if (fieldsReset) *fieldsReset = changed;
  return n < SettingsRecord::Size ? SettingsLoad::Short : SettingsLoad::Full;
}

SettingsLoad LoadSettings(SettingsRecord& record, const std::filesystem::path& file,
                          int* fieldsReset) {
  if (fieldsReset) *fieldsReset = 0;
  std::error_code ec;
  // A directory, device or pipe is no settings file (and reading a pipe could block).
  if (!std::filesystem::is_regular_file(file, ec)) {
    record = DefaultSettings();
    return SettingsLoad::Missing;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    record = DefaultSettings();
    return SettingsLoad::Missing;
  }
  std::array<std::uint8_t, SettingsRecord::Size> buffer{};
  in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
  const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
  return LoadSettingsBytes(record, std::span<const std::uint8_t>(buffer.data(), got), fieldsReset);
}

const SettingsTable& AllSettingsFields() {
  static const SettingsTable table = BuildAllFields();
  return table;
}

std::string DescribeSettings(const SettingsRecord& record) {
  std::string out;
  out.reserve(32 * 1024);
  for (const auto& field : AllSettingsFields()) AppendFieldLines(field, record, out);
  return out;
}

bool SaveSettings(const SettingsRecord& record, const std::filesystem::path& file,
                  std::optional<FileProblem>* problem) {
  std::optional<FileProblem> failed = WriteWholeFile(
      file, std::string_view(reinterpret_cast<const char*>(record.bytes.data()), record.bytes.size()));
  if (!failed) return true;
  if (problem) *problem = std::move(failed);
  return false;
}

void ResolveDirectories(SettingsRecord& record, const std::filesystem::path& documents,
                        const std::filesystem::path& home) {
  ResolveDirectory(record, settings::DataDirectory, documents, home);
  ResolveDirectory(record, device::CadOutput::CadDataDirectory, documents, home);
}

}  // namespace terravue

#include "cli_common.h"

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "common/safe_file.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"

namespace terravue::cli {

namespace fs = std::filesystem;

int UsageError(Context& cx, std::string_view verb, std::string_view problem, std::string_view usage) {
  cx.err << "terravue-cli: " << verb << ": " << problem << '\n' << usage;
  return ExitUsage;
}

bool ReadSettingsFile(const std::string& file, SettingsRecord& record, Context& cx, int* fieldsReset) {
  std::ifstream probe;
  if (const std::optional<FileProblem> problem = OpenRegularFile(file, probe)) {
    cx.err << "terravue-cli: cannot read settings file '" << file << "'\n" << problem->Line() << '\n';
    return false;
  }
  probe.close();
  if (LoadSettings(record, file, fieldsReset) == SettingsLoad::Missing) {
    cx.err << "terravue-cli: cannot read settings file '" << file << "'\n";
    return false;
  }
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (!ec && size < SettingsRecord::Size)
    cx.err << "terravue-cli: settings file '" << file << "' holds " << size << " bytes, not " << SettingsRecord::Size
           << ": the settings past its end keep their built-in values\n";
  else if (!ec && size > SettingsRecord::Size)
    cx.err << "terravue-cli: settings file '" << file << "' holds " << size << " bytes, not " << SettingsRecord::Size
           << ": the bytes past " << SettingsRecord::Size << " were ignored\n";
  return true;
}

std::optional<OutputModel> OutputModelFile(const fs::path& name) {
  if (!name.has_extension()) return OutputModel{fs::path(name) += ".MDL", model::ModelFileTypeMdl};
  const int type = model::ModelFileTypeOf(name);
  if (type < 0) return std::nullopt;
  return OutputModel{name, type};
}

Workspace::Workspace(ConsolePort& port) : session{model, settings, port, {}} {}

Workspace::~Workspace() {
  if (session.workDirectory.empty()) return;
  std::error_code ignored;
  fs::remove_all(session.workDirectory, ignored);
}

bool Workspace::Open(const Args& args, Context& cx) {
  settings = DefaultSettings();
  if (args.settings && !ReadSettingsFile(*args.settings, settings, cx)) return false;
  // mkdtemp makes a folder only this user can enter, under a name nobody could prepare.
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "terravue-cli-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) {
    cx.err << "terravue-cli: cannot make a work folder in the temporary folder\n";
    return false;
  }
  session.workDirectory = pattern;
  if (!model.AllocateStore()) {
    cx.port.ShowError(msg::InsufficientMemoryForProgram);
    return false;
  }
  return true;
}

}  // namespace terravue::cli

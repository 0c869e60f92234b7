#include "cli_common.h"

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>
#include <system_error>

#include "common/format.h"
#include "common/messages.h"
#include "device/map_options.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"

namespace terravue::cli {

namespace fs = std::filesystem;

int UsageError(Context& cx, std::string_view verb, std::string_view problem, std::string_view usage) {
  cx.err << "terravue-cli: " << verb << ": " << problem << '\n' << usage;
  return ExitUsage;
}

std::optional<OutputModel> OutputModelFile(const fs::path& name) {
  if (!name.has_extension()) return OutputModel{fs::path(name) += ".MDL", model::ModelFileTypeMdl};
  const int type = model::ModelFileTypeOf(name);
  if (type < 0) return std::nullopt;
  return OutputModel{name, type};
}

std::optional<std::string> TakeContourOption(const std::vector<std::string>& args, std::size_t& i,
                                             ContourRequest& r) {
  const std::string& a = args[i];
  if (a == "--labels") {
    r.labels = true;
    return std::string();
  }
  if (a != "--contours" && a != "--index") return std::nullopt;
  if (i + 1 >= args.size()) return a + " needs a value";
  const std::string& v = args[++i];
  if (a == "--contours") {
    const auto interval = ParseReal(v);
    if (!interval || !(*interval > 0) || !std::isfinite(*interval))
      return std::string("--contours needs a positive interval");
    r.interval = *interval;
  } else {
    const auto index = ParseInteger(v);
    if (!index || *index < 0 || *index > MaxContourIndex)
      return "--index needs a whole number from 0 to " + std::to_string(MaxContourIndex);
    r.index = static_cast<int>(*index);
  }
  return std::string();
}

std::optional<std::string> CheckContourRequest(const ContourRequest& r) {
  if (!r.interval && (r.index || r.labels)) return std::string("--index and --labels need --contours INTERVAL");
  return std::nullopt;
}

void ApplyContourRequest(SettingsRecord& s, const ContourRequest& r) {
  namespace opt = device::ContourOptions;
  if (!r.interval) return;
  s.Set(opt::Show, true);
  s.Set(opt::Interval, *r.interval);
  if (r.index) s.Set(opt::Multiple, static_cast<std::int16_t>(*r.index));
  if (r.labels) {
    constexpr std::uint8_t LabelAll = 1, LabelMultiple = 2;
    s.Set(opt::LabelMode, s.Get(opt::Multiple) > 0 ? LabelMultiple : LabelAll);
  }
}

Workspace::Workspace(ConsolePort& port) : session{model, settings, port, {}} {}

Workspace::~Workspace() {
  if (session.workDirectory.empty()) return;
  std::error_code ignored;
  fs::remove_all(session.workDirectory, ignored);
}

bool Workspace::Open(const Args& args, Context& cx) {
  settings = DefaultSettings();
  if (args.settings && LoadSettings(settings, *args.settings) == SettingsLoad::Missing) {
    cx.err << "terravue-cli: cannot read settings file '" << *args.settings << "'\n";
    return false;
  }
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

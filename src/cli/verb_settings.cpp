#include <optional>
#include <ostream>
#include <string>

#include "app/settings_file.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage =
    "usage: terravue-cli settings [FILE]\n"
    "       terravue-cli settings --defaults -o FILE\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "settings", problem, Usage);
}

int WriteDefaults(const Args& args, Context& cx) {
  if (!args.output) return UsageError(cx, "--defaults needs -o FILE");
  std::optional<FileProblem> problem;
  if (!SaveSettings(DefaultSettings(), *args.output, &problem)) {
    cx.err << "terravue-cli: cannot write settings file '" << *args.output << "'\n" << problem->Line() << '\n';
    return ExitFailed;
  }
  return ExitOk;
}

int PrintSettings(const std::optional<std::string>& file, Context& cx) {
  SettingsRecord record = DefaultSettings();
  if (file) {
    int reset = 0;
    if (!ReadSettingsFile(*file, record, cx, &reset)) return ExitFailed;
    if (reset > 0)
      cx.err << "terravue-cli: " << reset << " field(s) of '" << *file
             << "' were out of range: reset to their defaults, over-long texts cut\n";
  }
  cx.out << DescribeSettings(record);
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace

int RunSettings(const Args& args, Context& cx) {
  for (const auto& flag : args.flags)
    if (flag != "--defaults") return UsageError(cx, "unknown option '" + flag + "'");
  if (args.positional.size() > 1) return UsageError(cx, "more than one settings file named");
  std::optional<std::string> file = args.settings;
  if (!args.positional.empty()) {
    if (file) return UsageError(cx, "settings file named twice");
    file = args.positional.front();
  }
  if (args.Has("--defaults")) {
    if (file) return UsageError(cx, "--defaults takes no settings file");
    return WriteDefaults(args, cx);
  }
  if (args.output) return UsageError(cx, "-o is only for --defaults");
  return PrintSettings(file, cx);
}

}  // namespace terravue::cli

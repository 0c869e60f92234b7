#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/session.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "verbs.h"

namespace terravue::cli {

// Prints "terravue-cli: VERB: PROBLEM" and the verb's usage; returns ExitUsage.
int UsageError(Context& cx, std::string_view verb, std::string_view problem, std::string_view usage);

// Reads a settings file named on the command line over the built-in settings, by the program's
// own load rules. A file that cannot be read is refused (false, with the file and the reason
// printed); one of another size than the settings image loads all the same, with a note on
// stderr. `fieldsReset` as for LoadSettings.
bool ReadSettingsFile(const std::string& file, SettingsRecord& record, Context& cx, int* fieldsReset = nullptr);

// A model file to write: a name without extension gets ".MDL"; the case of a given name is
// kept. Nothing when the extension is neither .MDL nor .MDV (in any case).
struct OutputModel {
  std::filesystem::path file;
  int type;
};
std::optional<OutputModel> OutputModelFile(const std::filesystem::path& name);

// What a verb that works on a model sets up: the settings (--settings FILE laid over the
// built-in ones), an allocated model, a private folder for report work files (removed with
// everything in it at the end), and the session over them.
class Workspace {
 public:
  explicit Workspace(ConsolePort& port);
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Prints why and returns false when the settings file cannot be read, the work folder cannot
  // be made, or the model cannot be allocated.
  bool Open(const Args& args, Context& cx);

  SettingsRecord settings;
  model::SurfaceModel model;
  Session session;
};

}  // namespace terravue::cli

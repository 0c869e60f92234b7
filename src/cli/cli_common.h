#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/session.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "verbs.h"

namespace terravue::analysis {
class CutFillMap;
}
namespace terravue::mapping {
struct RedrawOptions;
}

namespace terravue::cli {

// Reads `count` finite numbers after position i of `args`, moving i past them; false when one
// is missing or is no finite number.
bool Numbers(const std::vector<std::string>& args, std::size_t& i, int count, std::vector<double>& out);

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

// --contours INTERVAL [--index N] [--labels], for the verbs that draw the map: a contoured sheet
// without a prepared settings file. What is not given stays as the settings have it.
struct ContourRequest {
  std::optional<double> interval;
  std::optional<int> index;  // every N-th contour an index contour; 0 none
  bool labels = false;       // label the index contours, or every contour without an index
  bool IsEmpty() const { return !interval && !index && !labels; }
};
inline constexpr int MaxContourIndex = 100;
// Takes args[i] when it is one of the three options (moving i past a value): nothing when it is
// not, an empty text when it took it, the problem when its value is wrong.
std::optional<std::string> TakeContourOption(const std::vector<std::string>& args, std::size_t& i,
                                             ContourRequest& request);
// "--index and --labels need --contours", or nothing.
std::optional<std::string> CheckContourRequest(const ContourRequest& request);
void ApplyContourRequest(SettingsRecord& settings, const ContourRequest& request);

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

// The console user, who also saves each report where --report says, as the viewer's Save As
// would; a copy that cannot be written is reported under the verb's name.
class ReportSavingPort : public ConsolePort {
 public:
  ReportSavingPort(std::string_view verb, std::ostream& out, std::ostream& err, YesNoPolicy policy,
                   std::optional<std::filesystem::path> saveAs);
  void ShowReport(const std::string& path, std::string_view defaultSaveName, std::string_view saveTitle) override;
  bool saveFailed() const { return saveFailed_; }
  // A report reached the console and, when asked, its file.
  bool delivered() const { return shown_ && !saveFailed_; }

 private:
  std::string verb_;
  std::ostream& err_;
  std::optional<std::filesystem::path> saveAs_;
  bool shown_ = false;
  bool saveFailed_ = false;
};

// --cut-fill PROPOSED of map and dxf: the differences between the session's model (existing)
// and the model file `proposed` kept in `map` as Volume > Two Surfaces keeps them, the map
// switched on in the settings and handed to the redraw through `extras`. Nothing without a
// proposed file; false, with the reason shown, when the surfaces cannot be compared, do not
// overlap or do not differ.
bool UseCutFillMap(Session& session, const std::optional<std::string>& proposed, analysis::CutFillMap& map,
                   mapping::RedrawOptions& extras);

}  // namespace terravue::cli

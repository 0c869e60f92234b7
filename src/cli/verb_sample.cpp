#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "device/page_setup.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "sample_site.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage = "usage: terravue-cli sample -o FILE[.MDL|.MDV] [--sheet SETTINGS.VSF]\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "sample", problem, Usage);
}

}  // namespace

int RunSample(const Args& args, Context& cx) {
  // --sheet takes the next argument, which the shared parser took for a positional one.
  std::optional<std::string> sheet;
  for (std::size_t i = 0; i < args.all.size(); ++i) {
    const std::string& a = args.all[i];
    if (a == "--settings" || a == "-o" || a == "--output") {
      ++i;
    } else if (a == "--sheet") {
      if (i + 1 >= args.all.size() || args.all[i + 1].empty()) return UsageError(cx, "--sheet needs a file");
      sheet = args.all[++i];
    } else if (a == "--yes" || a == "--no") {
    } else if (a.starts_with("--")) {
      return UsageError(cx, "unknown option '" + a + "'");
    } else {
      return UsageError(cx, "unexpected argument '" + a + "'");
    }
  }
  if (!args.output || args.output->empty()) return UsageError(cx, "-o FILE is needed");

  const auto output = OutputModelFile(*args.output);
  if (!output) return UsageError(cx, "FILE must end in .MDL or .MDV");

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  BuildSampleSite(workspace.model);
  // The sample opens as a surface, ready for contours and volumes.
  tin::LocateState state;
  const auto status = tin::Triangulate(workspace.session, state, {.quiet = true});
  if (status != tin::TriangulationStatus::Success) {
    cx.err << "terravue-cli: sample: the sample site did not triangulate\n";
    return ExitFailed;
  }
  if (!model::WriteModelFile(workspace.session, output->file, 1, workspace.model.PointCount, output->type))
    return ExitFailed;
  if (sheet) {
    // The sample's sheet over the settings in force (the built-in ones or --settings).
    SettingsRecord settings = workspace.settings;
    SetSampleSheetOptions(settings);
    // Fitted to the page as opening the sample fits it, with the text heights and marker sizes
    // of that scale.
    device::FitModel(settings, workspace.model, true);
    device::ApplyScalePreset(settings);
    std::optional<FileProblem> problem;
    if (!SaveSettings(settings, *sheet, &problem)) {
      cx.err << "terravue-cli: sample: cannot write '" << *sheet << "'\n" << problem->Line() << '\n';
      return ExitFailed;
    }
  }
  return ExitOk;
}

}  // namespace terravue::cli

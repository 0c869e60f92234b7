#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "common/session.h"
#include "common/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "sample_site.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage = "usage: terravue-cli sample -o FILE[.MDL|.MDV]\n";

int UsageError(Context& cx, std::string_view problem) {
  cx.err << "terravue-cli: sample: " << problem << '\n' << Usage;
  return ExitUsage;
}

}  // namespace

int RunSample(const Args& args, Context& cx) {
  if (!args.flags.empty()) return UsageError(cx, "unknown option '" + args.flags.front() + "'");
  if (!args.positional.empty())
    return UsageError(cx, "unexpected argument '" + args.positional.front() + "'");
  if (!args.output || args.output->empty()) return UsageError(cx, "-o FILE is needed");

  // A name without extension gets the model file's; the case of a given name is kept.
  std::filesystem::path file = *args.output;
  int type = model::ModelFileTypeOf(file);
  if (!file.has_extension()) {
    file += ".MDL";
    type = model::ModelFileTypeMdl;
  } else if (type < 0) {
    return UsageError(cx, "FILE must end in .MDL or .MDV");
  }

  model::SurfaceModel surface;
  if (!surface.AllocateStore()) {
    cx.port.ShowError(msg::InsufficientMemoryForProgram);
    return ExitFailed;
  }
  BuildSampleSite(surface);
  SettingsRecord settings = DefaultSettings();
  std::error_code ec;
  Session session{surface, settings, cx.port, std::filesystem::temp_directory_path(ec)};
  return model::WriteModelFile(session, file, 1, surface.PointCount, type) ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

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
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "sample_site.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage = "usage: terravue-cli sample -o FILE[.MDL|.MDV]\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "sample", problem, Usage);
}

}  // namespace

int RunSample(const Args& args, Context& cx) {
  if (!args.flags.empty()) return UsageError(cx, "unknown option '" + args.flags.front() + "'");
  if (!args.positional.empty())
    return UsageError(cx, "unexpected argument '" + args.positional.front() + "'");
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
  return model::WriteModelFile(workspace.session, output->file, 1, workspace.model.PointCount,
                               output->type)
             ? ExitOk
             : ExitFailed;
}

}  // namespace terravue::cli

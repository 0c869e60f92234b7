#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage = "usage: terravue-cli info MODEL [--settings FILE]\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "info", problem, Usage);
}

}  // namespace

// Opens the model as the program opens one by name (type by extension, the same messages) and
// prints what the Surface Properties window shows.
int RunInfo(const Args& args, Context& cx) {
  if (!args.flags.empty()) return UsageError(cx, "unknown option '" + args.flags.front() + "'");
  if (args.output) return UsageError(cx, "-o is not used");
  if (args.positional.size() != 1 || args.positional.front().empty())
    return UsageError(cx, "name one model file");

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, args.positional.front())) return ExitFailed;
  for (const auto& line : model::SurfacePropertiesText(session)) cx.out << line << '\n';
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

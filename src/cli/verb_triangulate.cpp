#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

}  // namespace

// Triangulates a model as the Triangulate command does (messages to stderr, listings to stdout
// when --yes asks for them) and writes it back, or to -o OUT.
int RunTriangulate(const Args& args, Context& cx) {
  constexpr std::string_view usage = "usage: terravue-cli triangulate MODEL [-o OUT] [--settings FILE] [--yes|--no]\n";
  if (!args.flags.empty()) return UsageError(cx, "triangulate", "unknown option '" + args.flags.front() + "'", usage);
  if (args.positional.size() != 1 || args.positional.front().empty())
    return UsageError(cx, "triangulate", "name one model file", usage);
  const fs::path output = args.output ? fs::path(*args.output) : fs::path(args.positional.front());
  const int outputType = model::ModelFileTypeOf(output);
  if (outputType < 0) return UsageError(cx, "triangulate", "the output must be a .MDL or .MDV file", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  model::SurfaceModel& surface = workspace.model;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, args.positional.front())) return ExitFailed;

  tin::LocateState state;
  const auto status = tin::Triangulate(session, state);
  if (!status) return ExitFailed;
  if (!model::WriteModelFile(session, output, 1, surface.PointCount, outputType)) {
    cx.err << "terravue-cli: triangulate: could not write '" << output.string() << "'\n";
    return ExitFailed;
  }
  if (*status != tin::TriangulationStatus::Success) {
    cx.err << "terravue-cli: triangulate: triangulation status " << static_cast<int>(*status) << '\n';
    return ExitFailed;
  }
  return ExitOk;
}

// One line per triangle, "i j k" with the 1-based point numbers of its corners.
int RunTriangles(const Args& args, Context& cx) {
  constexpr std::string_view usage = "usage: terravue-cli triangles MODEL [--settings FILE]\n";
  if (!args.flags.empty()) return UsageError(cx, "triangles", "unknown option '" + args.flags.front() + "'", usage);
  if (args.output) return UsageError(cx, "triangles", "-o is not used", usage);
  if (args.positional.size() != 1 || args.positional.front().empty())
    return UsageError(cx, "triangles", "name one model file", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  model::SurfaceModel& surface = workspace.model;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, args.positional.front())) return ExitFailed;
  for (int t = 1; t <= surface.TriangleCount; ++t) {
    const auto& c = surface.TriVertex[static_cast<std::size_t>(t)];
    cx.out << c[0] << ' ' << c[1] << ' ' << c[2] << '\n';
  }
  cx.out.flush();
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

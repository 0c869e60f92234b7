#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "exchange/ascii_import.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "cli_common.h"
#include "import_options.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;
using exchange::AsciiKind;

constexpr const char* Usage =
    "usage: terravue-cli import POINTS [--format CODES | --entry N] [--remove-duplicates]\n"
    "         [--border FILE [--border-format CODES | --border-entry N]]\n"
    "         [--breaklines FILE [--breakline-format CODES | --breakline-entry N]]\n"
    "         [--match-labels] [--append MODEL] [--triangulate] [--accept-partial] -o MODEL\n"
    "         [--settings FILE] [--yes|--no]\n"
    "  CODES: the custom format as typed in the import dialog, e.g. \"L Y X ZN\"\n"
    "         (points: X Y Z L D N; border and breaklines: P A B D N)\n"
    "  N:     a predefined format, 0 to 3:\n"
    "         points      0 Y X Z  1 X Y Z  2 # Y X Z  3 # X Y Z\n"
    "         border      0 Y X    1 X Y    2 # Y X    3 # X Y\n"
    "         breaklines  0 Y X Y X  1 X Y X Y  2 # #  3 # Y X\n"
    "  Without a format the one stored in the settings is used.\n"
    "  --match-labels: point numbers (P) of the border and breakline files are the points'\n"
    "         labels, as surveyors number them, not their places in the points file.\n"
    "  A file with more points or breaklines than a model holds writes no model, unless\n"
    "  --accept-partial takes the ones that fit.\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "import", problem, Usage);
}

int NothingLoaded(Context& cx, const std::string& file) {
  cx.err << "terravue-cli: import: nothing was loaded from '" << file << "'; no model was written\n";
  return ExitFailed;
}

}  // namespace

// Reads points, and optionally a border and breaklines, the way the Process > Import commands
// do, and writes the model. Every named file must give something, or no model is written.
int RunImport(const Args& args, Context& cx) {
  ImportArgs in;
  if (auto problem = ParseImportArgs(args, in, true)) return UsageError(cx, problem->text);
  if (auto problem = CheckAllCodes(in)) return UsageError(cx, problem->text);
  if (!args.output || args.output->empty()) return UsageError(cx, "-o MODEL is needed");

  const auto output = OutputModelFile(*args.output);
  if (!output) return UsageError(cx, "MODEL must end in .MDL or .MDV");

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  SettingsRecord& settings = workspace.settings;
  model::SurfaceModel& surface = workspace.model;
  Session& session = workspace.session;

  if (in.append && !model::OpenModelByName(session, *in.append)) return ExitFailed;

  StoreChoice(settings, AsciiKind::Coordinates, in.points);
  settings.Set(exchange::CoordImport.RemoveDuplicates(), in.removeDuplicates);
  const auto points = exchange::LoadCoordinateFile(
      session, *in.points.file, {.append = in.append.has_value(), .removeDuplicates = in.removeDuplicates});
  if (points.status != exchange::LoadStatus::Loaded) return NothingLoaded(cx, *in.points.file);
  if (RefusePartial(cx, "import", points.cutAtCapacity, in.acceptPartial, *in.points.file, "points")) return ExitFailed;
  model::ComputeExtents(surface, settings);

  if (in.matchLabels) {
    settings.Set(exchange::BorderImport.MatchNumbersToLabels(), true);
    settings.Set(exchange::BreaklineImport.MatchNumbersToLabels(), true);
  }
  if (in.border.file) {
    StoreChoice(settings, AsciiKind::Border, in.border);
    // The new border replaces any ring the model had.
    for (std::size_t i = 0; i <= surface.PointCount; ++i) surface.BorderNext[i] = NoPoint;
    const auto border = exchange::LoadBorderFile(session, *in.border.file, {});
    if (border.status != exchange::LoadStatus::Loaded) return NothingLoaded(cx, *in.border.file);
  }
  if (in.breaklines.file) {
    StoreChoice(settings, AsciiKind::Breaklines, in.breaklines);
    if (surface.BreaklineCount > 0 && cx.port.AskToDiscard(msg::EraseExistingBreaklines)) surface.BreaklineCount = 0;
    const auto breaklines = exchange::LoadBreaklineFile(session, *in.breaklines.file, {});
    if (breaklines.status != exchange::LoadStatus::Loaded) return NothingLoaded(cx, *in.breaklines.file);
    if (RefusePartial(cx, "import", breaklines.cutAtCapacity, in.acceptPartial, *in.breaklines.file, "breaklines"))
      return ExitFailed;
  }

  model::ComputeExtents(surface, settings);
  std::optional<tin::TriangulationStatus> triangulation;
  if (in.triangulate) {
    tin::LocateState state;
    triangulation = tin::Triangulate(session, state);
    if (!triangulation) return ExitFailed;
  }
  if (!model::WriteModelFile(session, output->file, 1, surface.PointCount, output->type)) {
    cx.err << "terravue-cli: import: could not write '" << output->file.string() << "'\n";
    return ExitFailed;
  }
  // The model is written either way; a triangulation that failed in part is reported by status.
  if (triangulation && *triangulation != tin::TriangulationStatus::Success) {
    cx.err << "terravue-cli: import: triangulation status " << static_cast<int>(*triangulation) << '\n';
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace terravue::cli

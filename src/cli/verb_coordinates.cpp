#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_common.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/session.h"
#include "exchange/auto_process.h"
#include "exchange/listings.h"
#include "exchange/transforms.h"
#include "import_options.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "verbs.h"

// The coordinate tools in batch: list (the Print listings), transform (Factor, Translate,
// Rotate) and auto (Auto Process).
namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

bool WriteModel(Session& session, const OutputModel& output, Context& cx, std::string_view verb) {
  if (model::WriteModelFile(session, output.file, 1, session.model.PointCount, output.type)) return true;
  cx.err << "terravue-cli: " << verb << ": could not write '" << output.file.string() << "'\n";
  return false;
}

}  // namespace

int RunList(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli list MODEL (--points [--range A B] | --border | --breaklines [--range A B])\n"
      "           [--report OUT] [--settings FILE]\n";
  enum class What { None, Points, Border, Breaklines } what = What::None;
  std::optional<std::pair<long long, long long>> range;
  std::optional<fs::path> report;
  std::string input;
  const auto& all = args.all;
  std::vector<double> v;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    const What chosen = a == "--points" ? What::Points : a == "--border" ? What::Border
                        : a == "--breaklines"                           ? What::Breaklines
                                                                        : What::None;
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (chosen != What::None) {
      if (what != What::None) return UsageError(cx, "list", "choose one of --points, --border, --breaklines", usage);
      what = chosen;
    } else if (a == "--range") {
      if (!Numbers(all, i, 2, v) || v[0] != std::floor(v[0]) || v[1] != std::floor(v[1]) || std::fabs(v[0]) > 1e6 ||
          std::fabs(v[1]) > 1e6)
        return UsageError(cx, "list", "--range takes two whole numbers A B", usage);
      range = {static_cast<long long>(v[0]), static_cast<long long>(v[1])};
    } else if (a == "--report") {
      if (i + 1 >= all.size() || all[i + 1].empty()) return UsageError(cx, "list", "--report needs a file name", usage);
      report = fs::path(all[++i]);
    } else if (a == "-o" || a == "--output") {
      return UsageError(cx, "list", "-o is not used; save the listing with --report", usage);
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "list", "unknown option '" + a + "'", usage);
    } else if (!input.empty()) {
      return UsageError(cx, "list", "name one model file", usage);
    } else {
      input = a;
    }
  }
  if (input.empty()) return UsageError(cx, "list", "name one model file", usage);
  if (what == What::None) return UsageError(cx, "list", "choose one of --points, --border, --breaklines", usage);
  if (range && what == What::Border) return UsageError(cx, "list", "the border is listed whole; --range is not used", usage);

  ReportSavingPort port("list", cx.out, cx.err, args.policy, report);
  Context own{cx.out, cx.err, port};
  Workspace workspace(port);
  if (!workspace.Open(args, own)) return ExitFailed;
  Session& session = workspace.session;
  const model::SurfaceModel& m = workspace.model;
  if (!model::OpenModelByName(session, input)) return ExitFailed;

  bool listed = false;
  if (what == What::Border) {
    listed = exchange::ListBorder(session);
  } else {
    const exchange::RangeUse use =
        what == What::Points ? exchange::RangeUse::PointListing : exchange::RangeUse::BreaklineListing;
    const exchange::RangeForm form = exchange::RangeFormFor(use, m);
    const auto [first, last] = range.value_or(std::pair<long long, long long>{form.first, form.last});
    // The range dialog's checks, with its messages; an empty model has no range at all.
    if (what == What::Breaklines && m.BreaklineCount == 0) {
      listed = exchange::ListBreaklines(session, 1, 1);
    } else if (exchange::CheckRange(port, form, use, first, last)) {
      listed = what == What::Points ? exchange::ListPoints(session, static_cast<PointIndex>(first), static_cast<PointIndex>(last))
                                    : exchange::ListBreaklines(session, static_cast<BreaklineIndex>(first),
                                                               static_cast<BreaklineIndex>(last));
    }
  }
  return listed && !port.saveFailed() ? ExitOk : ExitFailed;
}

int RunTransform(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli transform MODEL (--factor FX FY FZ | --translate DX DY DZ | --rotate DEGREES --about X Y)\n"
      "           -o OUT [--settings FILE]\n"
      "  X is the Easting, Y the Northing. Factor and rotate round to thousandths; DEGREES turn\n"
      "  counter-clockwise, or clockwise with the surveyors' angle convention of the settings.\n";
  std::optional<exchange::Transform> transform;
  std::optional<std::pair<double, double>> about;
  std::string input;
  const auto& all = args.all;
  std::vector<double> v;
  const auto take = [&](exchange::Transform t) -> bool {
    if (transform) return false;
    transform = t;
    return true;
  };
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    if (a == "--settings" || a == "-o" || a == "--output") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--factor" || a == "--translate") {
      const bool factor = a == "--factor";
      if (!Numbers(all, i, 3, v))
        return UsageError(cx, "transform", factor ? "--factor takes FX FY FZ" : "--translate takes DX DY DZ", usage);
      if (!take({factor ? exchange::TransformKind::Factor : exchange::TransformKind::Translate, v[0], v[1], v[2]}))
        return UsageError(cx, "transform", "give one transformation", usage);
    } else if (a == "--rotate") {
      if (!Numbers(all, i, 1, v) || v[0] < -360 || v[0] > 360)
        return UsageError(cx, "transform", "--rotate takes DEGREES from -360 to 360", usage);
      exchange::Transform t;
      t.kind = exchange::TransformKind::Rotate;
      t.degrees = v[0];
      if (!take(t)) return UsageError(cx, "transform", "give one transformation", usage);
    } else if (a == "--about") {
      if (!Numbers(all, i, 2, v)) return UsageError(cx, "transform", "--about takes X Y", usage);
      about = {v[0], v[1]};
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "transform", "unknown option '" + a + "'", usage);
    } else if (!input.empty()) {
      return UsageError(cx, "transform", "name one model file", usage);
    } else {
      input = a;
    }
  }
  if (input.empty()) return UsageError(cx, "transform", "name one model file", usage);
  if (!transform) return UsageError(cx, "transform", "give one of --factor, --translate, --rotate", usage);
  const bool rotate = transform->kind == exchange::TransformKind::Rotate;
  if (rotate != about.has_value())
    return UsageError(cx, "transform", rotate ? "--rotate needs --about X Y" : "--about goes with --rotate", usage);
  if (!args.output) return UsageError(cx, "transform", "write the model with -o OUT.MDL (or .MDV)", usage);
  const auto output = OutputModelFile(*args.output);
  if (!output) return UsageError(cx, "transform", "OUT must end in .MDL or .MDV", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, input)) return ExitFailed;
  if (rotate) {
    transform->centreX = about->first;
    transform->centreY = about->second;
    transform->surveyorsAngles = session.settings.Get(settings::AngleConvention) == 1;
  }
  tin::LocateState state;
  if (!exchange::ApplyTransform(session, state, *transform)) return ExitFailed;
  return WriteModel(session, *output, cx, "transform") ? ExitOk : ExitFailed;
}

int RunAuto(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli auto POINTS [--format CODES | --entry N] [--remove-duplicates]\n"
      "           [--border FILE [--border-format CODES | --border-entry N]]\n"
      "           [--breaklines FILE [--breakline-format CODES | --breakline-entry N]]\n"
      "           [--match-labels] [--append MODEL] [--accept-partial] -o MODEL [--settings FILE] [--yes|--no]\n"
      "  Formats as for import; without one the format stored in the settings is used.\n"
      "  A points file with more points than a model holds writes no model, unless\n"
      "  --accept-partial goes on with the ones that fit.\n";
  ImportArgs in;
  if (auto problem = ParseImportArgs(args, in, false)) return UsageError(cx, "auto", problem->text, usage);
  if (auto problem = CheckAllCodes(in)) return UsageError(cx, "auto", problem->text, usage);
  if (!args.output || args.output->empty()) return UsageError(cx, "auto", "-o MODEL is needed", usage);
  const auto output = OutputModelFile(*args.output);
  if (!output) return UsageError(cx, "auto", "MODEL must end in .MDL or .MDV", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  SettingsRecord& settings = workspace.settings;
  Session& session = workspace.session;
  if (in.append && !model::OpenModelByName(session, *in.append)) return ExitFailed;

  using exchange::AsciiKind;
  StoreChoice(settings, AsciiKind::Coordinates, in.points);
  settings.Set(exchange::CoordImport.RemoveDuplicates(), in.removeDuplicates);
  exchange::AutoProcessRun run;
  run.append = in.append.has_value();
  run.stopWhenCut = !in.acceptPartial;
  if (in.matchLabels) {
    settings.Set(exchange::BorderImport.MatchNumbersToLabels(), true);
    settings.Set(exchange::BreaklineImport.MatchNumbersToLabels(), true);
  }
  if (in.border.file) {
    StoreChoice(settings, AsciiKind::Border, in.border);
    run.loadBorder = exchange::ConfirmLoadBorder(session, run.append);
  }
  if (in.breaklines.file) {
    StoreChoice(settings, AsciiKind::Breaklines, in.breaklines);
    run.loadBreaklines = exchange::ConfirmLoadBreaklines(session, run.append, run.eraseBreaklines);
  }
  tin::LocateState state;
  const exchange::AutoProcessEnd end = exchange::AutoProcess(session, state, run);
  if (end == exchange::AutoProcessEnd::CutAtCapacity) {
    RefusePartial(cx, "auto", true, false, *in.points.file, "points");
    return ExitFailed;
  }
  // What was loaded before a stop is kept, as in the window: the model is written unless there
  // are no points to write.
  if (end == exchange::AutoProcessEnd::CoordinateFileMissing || end == exchange::AutoProcessEnd::NoPoints) {
    cx.err << "terravue-cli: auto: no model was written\n";
    return ExitFailed;
  }
  if (!WriteModel(session, *output, cx, "auto")) return ExitFailed;
  if (end != exchange::AutoProcessEnd::Completed) {
    cx.err << "terravue-cli: auto: the model was written untriangulated\n";
    return ExitFailed;
  }
  cx.out << session.model.PointCount << " points, " << session.model.TriangleCount << " triangles, "
         << session.model.BreaklineCount << " breaklines.\n";
  return ExitOk;
}

}  // namespace terravue::cli

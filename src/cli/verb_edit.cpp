#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_common.h"
#include "common/format.h"
#include "common/session.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/point_edit.h"
#include "tin/point_removal.h"
#include "tin/verification.h"
#include "verbs.h"

// The point editing verbs: edit (add, delete, move points), verify (close pairs, points near a
// place) and remove (points by the border), with the rules and messages of the commands.
namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

bool WriteModel(Session& session, const fs::path& output, Context& cx, std::string_view verb) {
  if (model::WriteModelFile(session, output, 1, session.model.PointCount, model::ModelFileTypeOf(output))) return true;
  cx.err << "terravue-cli: " << verb << ": could not write '" << output.string() << "'\n";
  return false;
}

struct Edit {
  enum Kind { Add, Delete, Move } kind;
  PointIndex point = NoPoint;
  tin::PointValues values;
};

}  // namespace

int RunEdit(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli edit MODEL [--add-point X Y Z [--label L]]... [--delete-point N]...\n"
      "           [--move-point N X Y Z]... -o OUT [--settings FILE] [--yes|--no]\n";
  std::vector<Edit> edits;
  std::string input;
  const auto& all = args.all;
  std::vector<double> v;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    if (a == "--settings" || a == "-o" || a == "--output") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--add-point") {
      if (!Numbers(all, i, 3, v)) return UsageError(cx, "edit", "--add-point takes X Y Z", usage);
      edits.push_back({Edit::Add, NoPoint, {"", v[0], v[1], v[2]}});
    } else if (a == "--label") {
      if (edits.empty() || edits.back().kind != Edit::Add || i + 1 >= all.size())
        return UsageError(cx, "edit", "--label follows --add-point X Y Z", usage);
      edits.back().values.label = all[++i];
    } else if (a == "--delete-point" || a == "--move-point") {
      const bool move = a == "--move-point";
      if (!Numbers(all, i, move ? 4 : 1, v) || v[0] < 1 || v[0] > 65535 || v[0] != std::floor(v[0]))
        return UsageError(cx, "edit", move ? "--move-point takes N X Y Z" : "--delete-point takes a point number", usage);
      Edit e{move ? Edit::Move : Edit::Delete, static_cast<PointIndex>(v[0]), {}};
      if (move) e.values = {"", v[1], v[2], v[3]};
      edits.push_back(e);
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "edit", "unknown option '" + a + "'", usage);
    } else if (!input.empty()) {
      return UsageError(cx, "edit", "name one model file", usage);
    } else {
      input = a;
    }
  }
  if (input.empty()) return UsageError(cx, "edit", "name one model file", usage);
  if (!args.output || model::ModelFileTypeOf(*args.output) < 0)
    return UsageError(cx, "edit", "write the model with -o OUT.MDL (or .MDV)", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  model::SurfaceModel& m = workspace.model;
  if (!model::OpenModelByName(session, input)) return ExitFailed;
  tin::LocateState state;
  for (std::size_t k = 0; k < edits.size(); ++k) {
    Edit& e = edits[k];
    if (e.kind != Edit::Add && (e.point == NoPoint || e.point > m.PointCount)) {
      cx.err << "terravue-cli: edit: there is no point " << e.point << '\n';
      return ExitFailed;
    }
    tin::PointEditResult result;
    if (e.kind == Edit::Add) {
      if (e.values.label.empty()) e.values.label = std::to_string(m.PointCount + 1);
      result = tin::AddPointRules(session, state, e.values);
    } else if (e.kind == Edit::Delete) {
      result = tin::DeletePointRules(session, state, e.point);
    } else {
      e.values.label = m.GetPointLabel(e.point);
      result = tin::EditPointRules(session, state, e.point, e.values);
    }
    if (!result.changed) {
      cx.err << "terravue-cli: edit: edit " << k + 1 << " changed nothing; no file written\n";
      return ExitFailed;
    }
  }
  return WriteModel(session, *args.output, cx, "edit") ? ExitOk : ExitFailed;
}

int RunVerify(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli verify MODEL [--tolerance DX DY] [--at X Y] [--report OUT] [--settings FILE]\n";
  tin::VerifyOptions options;
  std::string input;
  std::optional<fs::path> report;
  const auto& all = args.all;
  std::vector<double> v;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--tolerance") {
      if (!Numbers(all, i, 2, v) || v[0] < 0.001 || v[1] < 0.001)
        return UsageError(cx, "verify", "--tolerance takes DX DY, each at least 0.001", usage);
      options.toleranceX = v[0];
      options.toleranceY = v[1];
    } else if (a == "--at") {
      if (!Numbers(all, i, 2, v)) return UsageError(cx, "verify", "--at takes X Y", usage);
      options.searchAll = false;
      options.searchX = v[0];
      options.searchY = v[1];
    } else if (a == "--report") {
      if (i + 1 >= all.size() || all[i + 1].empty()) return UsageError(cx, "verify", "--report needs a file name", usage);
      report = fs::path(all[++i]);
    } else if (a == "-o" || a == "--output") {
      return UsageError(cx, "verify", "-o is not used", usage);
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "verify", "unknown option '" + a + "'", usage);
    } else if (!input.empty()) {
      return UsageError(cx, "verify", "name one model file", usage);
    } else {
      input = a;
    }
  }
  if (input.empty()) return UsageError(cx, "verify", "name one model file", usage);

  ReportSavingPort port("verify", cx.out, cx.err, args.policy, report);
  Context own{cx.out, cx.err, port};
  Workspace workspace(port);
  if (!workspace.Open(args, own)) return ExitFailed;
  if (!model::OpenModelByName(workspace.session, input)) return ExitFailed;
  tin::RunVerification(workspace.session, options);
  return port.saveFailed() ? ExitFailed : ExitOk;
}

int RunRemove(const Args& args, Context& cx) {
  constexpr std::string_view usage =
      "usage: terravue-cli remove MODEL (--inside | --outside | --both) -o OUT [--settings FILE]\n";
  if (args.positional.size() != 1 || args.positional.front().empty())
    return UsageError(cx, "remove", "name one model file", usage);
  int chosen = 0;
  bool interior = false, exterior = false;
  for (const std::string& f : args.flags) {
    if (f == "--inside") interior = true;
    else if (f == "--outside") exterior = true;
    else if (f == "--both") interior = exterior = true;
    else return UsageError(cx, "remove", "unknown option '" + f + "'", usage);
    ++chosen;
  }
  if (chosen != 1) return UsageError(cx, "remove", "choose one of --inside, --outside, --both", usage);
  if (!args.output || model::ModelFileTypeOf(*args.output) < 0)
    return UsageError(cx, "remove", "write the model with -o OUT.MDL (or .MDV)", usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, args.positional.front())) return ExitFailed;
  tin::LocateState state;
  const auto removed = tin::RemovePoints(session, state, interior, exterior);
  if (!removed) {
    cx.err << "terravue-cli: remove: the model has no valid border; nothing removed\n";
    return ExitFailed;
  }
  cx.out << *removed << " points were removed.\n";
  return WriteModel(session, *args.output, cx, "remove") ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

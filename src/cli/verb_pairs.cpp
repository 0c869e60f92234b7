#include <optional>
#include <ostream>
#include <string>

#include "common/format.h"
#include "common/session.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/duplicates.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage = "usage: terravue-cli pairs MODEL [--within D] [--settings FILE]\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "pairs", problem, Usage);
}

}  // namespace

// Lists every pair of points closer than D (0.001 unless given) and every pair at the same
// place, the pairs a triangulation stops on: the numbers of both points, their distance, the
// position of the first, and "same" for a pair at the same place. Nothing listed: no such pair.
int RunPairs(const Args& args, Context& cx) {
  double within = 0.001;
  std::string model;
  const auto& all = args.all;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--within") {
      const auto parsed = i + 1 < all.size() ? ParseReal(all[++i]) : std::nullopt;
      if (!parsed || !(*parsed > 0)) return UsageError(cx, "--within takes a distance above 0");
      within = *parsed;
    } else if (a == "-o" || a == "--output") {
      return UsageError(cx, "-o is not used");
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "unknown option '" + a + "'");
    } else if (!model.empty()) {
      return UsageError(cx, "name one model file");
    } else {
      model = a;
    }
  }
  if (model.empty()) return UsageError(cx, "name one model file");

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, model)) return ExitFailed;
  const model::SurfaceModel& m = workspace.model;
  for (const tin::ClosePair& pair : tin::FindClosePairs(m, within)) {
    cx.out << pair.first << ' ' << pair.second << ' ' << FormatReal(pair.distance, 0, 4) << ' '
           << FormatReal(m.PointX[pair.first], 0, 3) << ' ' << FormatReal(m.PointY[pair.first], 0, 3)
           << (pair.samePlace ? " same" : "") << '\n';
  }
  cx.out.flush();
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

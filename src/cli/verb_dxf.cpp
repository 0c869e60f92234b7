// terravue-cli dxf: the map written as Output To CAD writes it, DXF or batch macro.

#include <optional>
#include <ostream>
#include <string>

#include "analysis/cut_fill_map.h"
#include "cli_common.h"
#include "model/model_document.h"
#include "cad/cad_layers.h"
#include "cad/cad_output.h"
#include "tin/geometry.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr const char* Usage =
    "usage: terravue-cli dxf MODEL OUT [--program autocad|autosketch|generic|general] [--settings FILE]\n"
    "         [--contours INTERVAL [--index N] [--labels]] [--cut-fill PROPOSED]\n"
    "  --cut-fill compares the model with PROPOSED as Volume > Two Surfaces does and writes the\n"
    "  cut/fill map of their differences on its layer.\n";

struct DxfRequest {
  std::string model;
  std::string out;
  std::optional<device::CadProgram> program;
  std::optional<std::string> cutFill;
  ContourRequest contours;
};

std::optional<device::CadProgram> ProgramNamed(const std::string& name) {
  if (name == "autocad") return device::CadProgram::AutoCad;
  if (name == "autosketch") return device::CadProgram::AutoSketch;
  if (name == "generic") return device::CadProgram::GenericCadd;
  if (name == "general") return device::CadProgram::GeneralCadd;
  return std::nullopt;
}

// --program takes the next argument, which the shared parser took for a positional one; so the
// arguments are read again here.
std::optional<std::string> ParseRequest(const Args& args, DxfRequest& r) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.all.size(); ++i) {
    const std::string& a = args.all[i];
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--program") {
      if (i + 1 >= args.all.size()) return std::string("--program needs a value");
      r.program = ProgramNamed(args.all[++i]);
      if (!r.program) return "unknown program '" + args.all[i] + "'";
    } else if (a == "--cut-fill") {
      if (i + 1 >= args.all.size() || args.all[i + 1].empty()) return std::string("--cut-fill needs the proposed model file");
      r.cutFill = args.all[++i];
    } else if (const auto taken = TakeContourOption(args.all, i, r.contours)) {
      if (!taken->empty()) return *taken;
    } else if (a.starts_with("-") && a.size() > 1) {
      return "unknown option '" + a + "'";
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2 || positional[0].empty() || positional[1].empty())
    return std::string("name one model file and one output file");
  r.model = positional[0];
  r.out = positional[1];
  return CheckContourRequest(r.contours);
}

}  // namespace

int RunDxf(const Args& args, Context& cx) {
  DxfRequest request;
  if (const auto problem = ParseRequest(args, request)) return UsageError(cx, "dxf", *problem, Usage);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, request.model)) return ExitFailed;
  if (request.program) cad::SetCadProgram(session.settings, *request.program);
  ApplyContourRequest(session.settings, request.contours);

  analysis::CutFillMap cutFill;
  mapping::RedrawOptions extras;
  if (!UseCutFillMap(session, request.cutFill, cutFill, extras)) return ExitFailed;

  tin::LocateState state;
  if (!cad::WriteCadFile(session, state, request.out, extras)) return ExitFailed;
  cx.out << request.out << '\n';
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "exchange/export_commands.h"
#include "exchange/landxml_export.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;
using exchange::LandXmlUnit;

constexpr const char* ImportUsage =
    "usage: terravue-cli landxml-import FILE.xml [--surface NAME] -o MODEL [--save-settings FILE]\n"
    "  --surface NAME        the surface to read when the file holds several\n"
    "  --save-settings FILE  write the settings in force with the file's units (for map, dxf...)\n";

constexpr const char* ExportUsage =
    "usage: terravue-cli landxml-export MODEL -o FILE.xml [--units meter|foot|us-survey-foot]\n"
    "  --units  the unit the coordinates are in; without it the Units of the settings decide\n"
    "           (metres, or international feet)\n";

// The options of a verb that takes values of its own: the shared parser would have taken each
// value for a positional argument.
struct VerbArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  std::optional<std::string> problem;

  std::optional<std::string> Value(const std::string& name) const {
    for (const auto& [key, value] : options)
      if (key == name) return value;
    return std::nullopt;
  }
};

VerbArgs ParseVerbArgs(const Args& args, std::initializer_list<const char*> withValue) {
  VerbArgs out;
  const auto& all = args.all;
  for (std::size_t i = 0; i < all.size() && !out.problem; ++i) {
    const std::string& a = all[i];
    if (a == "-o" || a == "--output" || a == "--settings") {
      ++i;  // read by the shared parser
    } else if (a == "--yes" || a == "--no") {
    } else if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
      if (i + 1 >= all.size() || all[i + 1].empty() || all[i + 1][0] == '-') {
        out.problem = a + " needs a value";
      } else if (out.Value(a)) {
        out.problem = a + " is given twice";
      } else {
        out.options.emplace_back(a, all[++i]);
      }
    } else if (a.size() > 1 && a[0] == '-') {
      out.problem = "unknown option '" + a + "'";
    } else {
      out.positional.push_back(a);
    }
  }
  return out;
}

}  // namespace

// Reads a LandXML surface (or a file's coordinate geometry points) and writes it as a model.
int RunLandXmlImport(const Args& args, Context& cx) {
  const VerbArgs in = ParseVerbArgs(args, {"--surface", "--save-settings"});
  auto usage = [&](std::string_view problem) { return UsageError(cx, "landxml-import", problem, ImportUsage); };
  if (in.problem) return usage(*in.problem);
  if (in.positional.size() != 1 || in.positional[0].empty()) return usage("name one LandXML file");
  if (!args.output || args.output->empty()) return usage("-o MODEL is needed");
  const auto output = OutputModelFile(*args.output);
  if (!output) return usage("MODEL must end in .MDL or .MDV");
  const std::optional<std::string> wanted = in.Value("--surface");

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;

  bool choiceMissing = false;
  const exchange::SurfaceChoiceFn choose = [&](const std::vector<exchange::LandXmlSurfaceEntry>& surfaces)
      -> std::optional<std::size_t> {
    for (std::size_t k = 0; k < surfaces.size(); ++k)
      if (wanted && surfaces[k].name == *wanted) return k;
    choiceMissing = true;
    cx.err << "terravue-cli: landxml-import: "
           << (wanted ? "the file has no surface named '" + *wanted + "'" : std::string("the file holds several surfaces"))
           << "; name one with --surface:\n";
    for (const auto& s : surfaces)
      cx.err << "  " << s.name << " (" << s.points << " points, " << s.faces << " faces)\n";
    return std::nullopt;
  };
  const exchange::LandXmlLoadResult loaded = exchange::LoadLandXmlFile(session, in.positional[0], choose);
  if (loaded.status != exchange::LandXmlLoadStatus::Loaded) return ExitFailed;
  // With one surface there was nothing to choose; a name that does not match it is still wrong.
  if (wanted && !choiceMissing && loaded.report.surfaceName != *wanted) {
    cx.err << "terravue-cli: landxml-import: the file has no surface named '" << *wanted << "' (it holds '"
           << loaded.report.surfaceName << "'); no model was written\n";
    return ExitFailed;
  }

  if (!model::WriteModelFile(session, output->file, 1, workspace.model.PointCount, output->type)) {
    cx.err << "terravue-cli: landxml-import: could not write '" << output->file.string() << "'\n";
    return ExitFailed;
  }
  if (const auto sheet = in.Value("--save-settings"); sheet && !SaveSettings(workspace.settings, *sheet)) {
    cx.err << "terravue-cli: landxml-import: cannot write '" << *sheet << "'\n";
    return ExitFailed;
  }
  return ExitOk;
}

// Writes a model as a LandXML surface.
int RunLandXmlExport(const Args& args, Context& cx) {
  const VerbArgs in = ParseVerbArgs(args, {"--units"});
  auto usage = [&](std::string_view problem) { return UsageError(cx, "landxml-export", problem, ExportUsage); };
  if (in.problem) return usage(*in.problem);
  if (in.positional.size() != 1 || in.positional[0].empty()) return usage("name one model file");
  if (!args.output || args.output->empty()) return usage("-o FILE.xml is needed");
  std::optional<LandXmlUnit> unit;
  if (const auto units = in.Value("--units")) {
    if (*units == "meter")
      unit = LandXmlUnit::Meter;
    else if (*units == "foot")
      unit = LandXmlUnit::Foot;
    else if (*units == "us-survey-foot")
      unit = LandXmlUnit::UsSurveyFoot;
    else
      return usage("--units takes meter, foot or us-survey-foot");
  }

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, in.positional[0])) return ExitFailed;
  if (workspace.model.PointCount == 0) {
    cx.port.ShowError(msg::NoDataToSave);
    return ExitFailed;
  }
  if (!unit) unit = workspace.settings.Get(settings::Units) == 1 ? LandXmlUnit::Meter : LandXmlUnit::Foot;
  const fs::path file = exchange::WithLandXmlExtension(*args.output);
  return exchange::ExportLandXmlFile(session, file, *unit) ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

// terravue-cli analyze: the Surface Analyzer's reports, traces and measurements on a model.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/measure.h"
#include "analysis/surface_info.h"
#include "app/analyzer_commands.h"
#include "app/cursor.h"
#include "common/safe_file.h"
#include "cli_common.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/text_report.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* Usage =
    "usage: terravue-cli analyze MODEL WHAT [--report OUT.TXT] [--settings FILE]\n"
    "  WHAT is one of:\n"
    "    --info                          the Surface Model Information report\n"
    "    --slope-zones [--zones N] [--min S] [--max S]\n"
    "                                    the same with the slope zone table (zones from the\n"
    "                                    settings unless given; slopes in percent)\n"
    "    --water-drop X Y | --watershed X Y | --contour-line X Y\n"
    "                                    trace from the point and list the vectors\n"
    "    --query-triangle X Y            the triangle at the point\n"
    "    --length X1 Y1 X2 Y2 [X Y]...   the path over the data points nearest to the positions\n"
    "  Positions are Easting (X) then Northing (Y).\n";

enum class What { None, Info, SlopeZones, WaterDrop, Watershed, ContourLine, QueryTriangle, Length };

struct AnalyzeArgs {
  std::string model;
  What what = What::None;
  std::vector<double> positions;  // x, y pairs
  std::optional<int> zones;
  std::optional<double> minSlope, maxSlope;
  std::optional<std::string> report;
};

std::optional<std::string> ParseAnalyzeArgs(const Args& args, AnalyzeArgs& out) {
  const auto& all = args.all;
  std::optional<std::string> model;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    // The next argument as a number (taken only when it is one).
    const auto number = [&]() -> std::optional<double> {
      if (i + 1 >= all.size()) return std::nullopt;
      const auto v = ParseReal(all[i + 1]);
      if (v) ++i;
      return v;
    };
    const auto choose = [&](What what, int coordinates) -> std::optional<std::string> {
      if (out.what != What::None) return std::string("name one thing to analyze");
      out.what = what;
      for (int k = 0; k < coordinates; ++k) {
        const auto v = number();
        if (!v) return a + " needs " + std::to_string(coordinates) + " numbers";
        out.positions.push_back(*v);
      }
      return std::nullopt;
    };
    std::optional<std::string> problem;
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "-o" || a == "--output") {
      problem = "write the report with --report OUT.TXT";
    } else if (a == "--info") {
      problem = choose(What::Info, 0);
    } else if (a == "--slope-zones") {
      problem = choose(What::SlopeZones, 0);
    } else if (a == "--water-drop") {
      problem = choose(What::WaterDrop, 2);
    } else if (a == "--watershed") {
      problem = choose(What::Watershed, 2);
    } else if (a == "--contour-line") {
      problem = choose(What::ContourLine, 2);
    } else if (a == "--query-triangle") {
      problem = choose(What::QueryTriangle, 2);
    } else if (a == "--length") {
      problem = choose(What::Length, 4);
      // Further positions, as many pairs as follow.
      while (!problem && i + 2 < all.size() && ParseReal(all[i + 1]) && ParseReal(all[i + 2])) {
        out.positions.push_back(*ParseReal(all[++i]));
        out.positions.push_back(*ParseReal(all[++i]));
      }
    } else if (a == "--zones") {
      const auto v = number();
      if (!v || *v != std::floor(*v) || *v < 1 || *v > device::AnalyzerOptions::MaxZoneCount)
        problem = "--zones takes a whole number from 1 to 100";
      else
        out.zones = static_cast<int>(*v);
    } else if (a == "--min" || a == "--max") {
      const auto v = number();
      if (!v) problem = a + " takes a slope in percent";
      else (a == "--min" ? out.minSlope : out.maxSlope) = *v;
    } else if (a == "--report") {
      if (i + 1 >= all.size() || all[i + 1].empty()) problem = "--report needs a file name";
      else out.report = all[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      problem = "unknown option '" + a + "'";
    } else if (model) {
      problem = "unexpected argument '" + a + "'";
    } else {
      model = a;
    }
    if (problem) return problem;
  }
  if (!model || model->empty()) return std::string("name one model file");
  if (out.what == What::None) return std::string("name what to analyze");
  if ((out.zones || out.minSlope || out.maxSlope) && out.what != What::SlopeZones)
    return std::string("--zones, --min and --max go with --slope-zones");
  out.model = *model;
  return std::nullopt;
}

// Caption and value lines, as the dialogs show them.
void Row(std::ostringstream& out, std::string_view caption, const std::string& value) {
  out << "  " << caption << std::string(caption.size() < 18 ? 18 - caption.size() : 1, ' ') << value << "\r\n";
}

std::string TriangleText(const analysis::TriangleQueryInfo& t) {
  std::ostringstream out;
  out << msg::QueryTriangleCaption << "\r\n" << t.totalTriangles << "\r\n";
  out << "Included Triangles: ";
  for (const std::string& n : t.triangles) out << n << ' ';
  out << "\r\nLast Triangle\r\n";
  Row(out, msg::SlopeCaption, t.lastSlope);
  Row(out, msg::Area2DCaption, t.lastArea2D);
  Row(out, msg::Area3DCaption, t.lastArea3D);
  out << "All Triangles\r\n";
  Row(out, msg::AverageSlopeCaption, t.averageSlope);
  Row(out, msg::MinimumSlopeCaption, t.minimumSlope);
  Row(out, msg::MaximumSlopeCaption, t.maximumSlope);
  Row(out, msg::Area2DCaption, t.area2D);
  Row(out, t.largeCaption, t.area2DLarge);
  Row(out, msg::Area3DCaption, t.area3D);
  Row(out, t.largeCaption, t.area3DLarge);
  out << msg::SineSlopeNote << "\r\n";
  return out.str();
}

std::string LengthText(const analysis::LengthInfo& l, const std::vector<analysis::LengthPick>& picks) {
  std::ostringstream out;
  out << msg::LengthCaption << "\r\n" << l.totalPoints << "\r\n";
  for (const analysis::LengthPick& p : picks) out << analysis::PickText(p) << "\r\n";
  out << "Distance\r\n";
  Row(out, msg::SlopeDistance, l.slopeDistance);
  Row(out, msg::HorizontalDistance, l.horizontalDistance);
  Row(out, msg::VerticalDistance, l.verticalDistance);
  if (l.showElevation) {
    out << "Elevation\r\n";
    Row(out, msg::Highest, l.highest);
    Row(out, msg::Lowest, l.lowest);
    Row(out, msg::Difference, l.difference);
  }
  if (l.showOther) {
    out << "Additional Information\r\n";
    Row(out, l.other1.caption, l.other1.value);
    if (l.other2.visible) Row(out, l.other2.caption, l.other2.value);
    if (picks.size() == 2) out << msg::GradeNote << "\r\n";
  }
  return out.str();
}

// Prints a result text and saves it where --report says, through the work folder as reports go.
int PrintText(Session& session, const std::string& text, const std::optional<std::string>& report, Context& cx) {
  cx.out << text;
  if (report) {
    const fs::path work = session.workDirectory / "XXAnalyze.OUT";
    std::optional<FileProblem> problem = WriteWholeFile(work, text);
    if (problem || !CopyReportFile(work, *report, &problem)) {
      cx.err << "terravue-cli: analyze: could not write '" << *report << "'\n";
      if (problem) cx.err << problem->Line() << '\n';
      return ExitFailed;
    }
  }
  return cx.out.good() ? ExitOk : ExitFailed;
}

// The text output dialog answered from the command line.
analysis::SlopeZoneDialog Answers(bool vectors, const AnalyzeArgs& in) {
  return [vectors, in](const analysis::SlopeZoneForm& shown) -> std::optional<analysis::SlopeZoneForm> {
    analysis::SlopeZoneForm f = shown;
    f.vectorInformation = vectors;
    f.includeSlopeZones = in.what == What::SlopeZones;
    if (in.minSlope) f.minSlope = FormatReal(*in.minSlope, 0, 3);
    if (in.maxSlope) f.maxSlope = FormatReal(*in.maxSlope, 0, 3);
    if (in.zones) f.zoneCount = *in.zones;
    return f;
  };
}

}  // namespace

int RunAnalyze(const Args& args, Context& cx) {
  AnalyzeArgs in;
  if (auto problem = ParseAnalyzeArgs(args, in)) return UsageError(cx, "analyze", *problem, Usage);

  ReportSavingPort port("analyze", cx.out, cx.err, args.policy,
                        in.report ? std::optional<fs::path>(*in.report) : std::nullopt);
  Workspace workspace(port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, in.model)) return ExitFailed;
  model::SurfaceModel& m = session.model;
  tin::LocateState locate;
  app::AnalyzerState analyzer;

  if (in.what == What::Info || in.what == What::SlopeZones) {
    bool include = true;
    if (!analysis::TextOutputCommand(session, analyzer.vectors, include, Answers(false, in)))
      return ExitFailed;
    return port.saveFailed() || port.errorsShown() > 0 ? ExitFailed : ExitOk;
  }
  if (in.what == What::Length) {
    std::vector<analysis::LengthPick> picks;
    std::vector<analysis::TracePoint> path;
    for (std::size_t k = 0; k + 1 < in.positions.size(); k += 2) {
      const analysis::LengthPick pick = analysis::NearestLengthPick(m, analyzer.vectors, in.positions[k], in.positions[k + 1]);
      if (pick.index == 0) break;
      const analysis::TracePoint at = analysis::PickPosition(m, analyzer.vectors, pick);
      // As the clicks go: the same place twice in a row counts once.
      if (!path.empty() && tin::SamePlace(at.x, at.y, path.back().x, path.back().y)) continue;
      picks.push_back(pick);
      path.push_back(at);
    }
    if (picks.size() < 2) {
      cx.err << "terravue-cli: analyze: the positions lead to fewer than two distinct data points\n";
      return ExitFailed;
    }
    const bool closed = picks.size() >= 4 && picks.front() == picks.back();
    return PrintText(session, LengthText(analysis::DescribeLength(path, closed, session.settings), picks), in.report, cx);
  }

  if (m.TriangleCount == 0) {
    cx.err << "terravue-cli: analyze: the model has no triangles; triangulate it first\n";
    return ExitFailed;
  }
  const double x = in.positions[0], y = in.positions[1];
  if (in.what == What::QueryTriangle) {
    const tin::Location where = tin::LocateTriangle(m, locate, x, y);
    if (!where.found) {
      cx.err << "terravue-cli: analyze: " << FormatReal(x, 0, 3) << " " << FormatReal(y, 0, 3)
             << " is not on the surface\n";
      return ExitFailed;
    }
    return PrintText(session, TriangleText(analysis::DescribeTriangles(m, {where.triangle}, session.settings)),
                     in.report, cx);
  }

  app::CursorState cursor;
  app::MoveCursorOnSurface({m, session.settings, locate, port}, cursor, x, y);
  bool traced = false;
  if (in.what == What::WaterDrop) traced = app::WaterDropCommand(session, locate, analyzer, cursor);
  if (in.what == What::Watershed) traced = app::WatershedCommand(session, locate, analyzer, cursor);
  if (in.what == What::ContourLine) traced = app::ContourLineCommand(session, locate, analyzer, cursor);
  if (!traced) {
    cx.err << "terravue-cli: analyze: " << FormatReal(x, 0, 3) << " " << FormatReal(y, 0, 3)
           << " is not on the surface\n";
    return ExitFailed;
  }
  bool include = false;
  if (!analysis::TextOutputCommand(session, analyzer.vectors, include, Answers(true, in)))
    return ExitFailed;
  return port.saveFailed() ? ExitFailed : ExitOk;
}

}  // namespace terravue::cli

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/volume.h"
#include "cli_common.h"
#include "common/format.h"
#include "common/session.h"
#include "common/text_report.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;
using analysis::VolumeReportOptions;

constexpr const char* Usage =
    "usage: terravue-cli volume EXISTING PROPOSED [OPTIONS]\n"
    "       terravue-cli volume --single MODEL [OPTIONS]\n"
    "  OPTIONS: [--cut-factor F] [--fill-factor F]\n"
    "           [--list-cutfill | --list-cutfill-existing | --list-cutfill-proposed] [--skip-zero-cutfill]\n"
    "           [--comment TEXT]... [--report OUT.TXT] [--settings FILE]\n"
    "  Prints the Volume Analysis report (and writes it to OUT.TXT). --single measures the\n"
    "  model against the surface of its border points. Factors are 0.001 to 999999.999; up to five\n"
    "  comments of 78 characters. --list-cutfill lists the cut/fill of every point of both\n"
    "  surfaces (-existing, -proposed: of that surface only); --skip-zero-cutfill leaves out\n"
    "  the points without any.\n";

struct VolumeArgs {
  bool single = false;
  std::vector<std::string> files;
  std::optional<std::string> report;
  VolumeReportOptions options;
};

// Reads the options in order; the shared ones (--settings, --yes, --no) are known to the caller.
std::optional<std::string> ParseVolumeArgs(const Args& args, VolumeArgs& out) {
  const auto& all = args.all;
  int comments = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= all.size()) return std::nullopt;
      return all[++i];
    };
    auto factor = [&](double& target) -> std::optional<std::string> {
      const auto text = value();
      if (!text) return a + " needs a value";
      const auto parsed = ParseReal(*text);
      // The dialog's range.
      if (!parsed || *parsed < VolumeReportOptions::MinimumFactor || *parsed > VolumeReportOptions::MaximumFactor)
        return a + " takes a number from " + FormatReal(VolumeReportOptions::MinimumFactor, 0, 3) + " to " +
               FormatReal(VolumeReportOptions::MaximumFactor, 0, 3);
      target = *parsed;
      return std::nullopt;
    };
    std::optional<std::string> problem;
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "-o" || a == "--output") {
      problem = "write the report with --report OUT.TXT";
    } else if (a == "--single") {
      out.single = true;
    } else if (a == "--cut-factor") {
      problem = factor(out.options.cutFactor);
    } else if (a == "--fill-factor") {
      problem = factor(out.options.fillFactor);
    } else if (a == "--list-cutfill") {
      out.options.listing = analysis::CutFillListing::Both;
    } else if (a == "--list-cutfill-existing") {
      out.options.listing = analysis::CutFillListing::Existing;
    } else if (a == "--list-cutfill-proposed") {
      out.options.listing = analysis::CutFillListing::Proposed;
    } else if (a == "--skip-zero-cutfill") {
      out.options.includeZeroCutFill = false;
    } else if (a == "--comment") {
      const auto text = value();
      if (!text) {
        problem = "--comment needs a value";
      } else if (comments == static_cast<int>(VolumeReportOptions::CommentLines)) {
        problem = "at most five comments";
      } else if (text->size() > VolumeReportOptions::CommentLength) {
        problem = "a comment holds at most 78 characters";
      } else {
        out.options.comments[static_cast<std::size_t>(comments++)] = *text;
      }
    } else if (a == "--report") {
      const auto text = value();
      if (!text || text->empty()) problem = "--report needs a file name";
      else out.report = *text;
    } else if (a.size() > 1 && a[0] == '-') {
      problem = "unknown option '" + a + "'";
    } else {
      out.files.push_back(a);
    }
    if (problem) return problem;
  }
  const std::size_t wanted = out.single ? 1 : 2;
  if (out.files.size() != wanted)
    return out.single ? std::string("name one model file") : std::string("name the existing and the proposed model files");
  for (const std::string& file : out.files)
    if (file.empty()) return std::string("a model file name is empty");
  return std::nullopt;
}

// The Surface Comparison dialog answered from the command line.
class CommandLineVolumeUi : public analysis::VolumeUi {
 public:
  CommandLineVolumeUi(std::optional<fs::path> proposed, const VolumeReportOptions& options)
      : proposed_(std::move(proposed)), options_(options) {}

  std::optional<analysis::ProposedFileChoice> ChooseProposedFile(const std::string&, const std::string&) override {
    if (!proposed_) return std::nullopt;
    return analysis::ProposedFileChoice{*proposed_, model::ModelFileTypeMdl};
  }
  void BeginComparison(const std::string&, const std::string&) override {}
  void SetPhase(int, int) override {}
  void EndComparison() override {}
  std::optional<VolumeReportOptions> AskReportOptions(const VolumeReportOptions&) override { return options_; }

 private:
  std::optional<fs::path> proposed_;
  VolumeReportOptions options_;
};

}  // namespace

// Volume > Two Surfaces (or Single Surface) with the dialog's choices given as options; the
// report goes to stdout, messages to stderr. Exit 0 with a report or "The surfaces are the
// same.", 1 when no volume could be computed.
int RunVolume(const Args& args, Context& cx) {
  VolumeArgs in;
  if (auto problem = ParseVolumeArgs(args, in)) return UsageError(cx, "volume", *problem, Usage);

  ReportSavingPort port("volume", cx.out, cx.err, args.policy,
                        in.report ? std::optional<fs::path>(*in.report) : std::nullopt);
  Workspace workspace(port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, in.files.front())) return ExitFailed;

  CommandLineVolumeUi ui(in.single ? std::nullopt : std::optional<fs::path>(in.files.back()), in.options);
  VolumeReportOptions options = in.options;
  const auto mode = in.single ? analysis::VolumeMode::SingleSurface : analysis::VolumeMode::TwoSurfaces;
  switch (analysis::RunVolumeCommand(session, mode, ui, options)) {
    // A report whose work file could not be written was never shown: the run failed.
    case analysis::VolumeOutcome::Reported: return port.delivered() ? ExitOk : ExitFailed;
    case analysis::VolumeOutcome::Same: return ExitOk;
    case analysis::VolumeOutcome::NotRun:
    case analysis::VolumeOutcome::NoOverlap:
    case analysis::VolumeOutcome::Cancelled: return ExitFailed;
  }
  return ExitFailed;
}

}  // namespace terravue::cli

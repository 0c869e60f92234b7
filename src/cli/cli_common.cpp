#include "cli_common.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>

#include "analysis/cut_fill_map.h"
#include "analysis/volume.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/safe_file.h"
#include "common/text_report.h"
#include "device/map_options.h"
#include "mapping/map_redraw.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"

namespace terravue::cli {

namespace fs = std::filesystem;

bool Numbers(const std::vector<std::string>& all, std::size_t& i, int count, std::vector<double>& out) {
  out.clear();
  for (int k = 0; k < count; ++k) {
    if (i + 1 >= all.size()) return false;
    const auto v = ParseReal(all[++i]);
    if (!v || !std::isfinite(*v)) return false;
    out.push_back(*v);
  }
  return true;
}

int UsageError(Context& cx, std::string_view verb, std::string_view problem, std::string_view usage) {
  cx.err << "terravue-cli: " << verb << ": " << problem << '\n' << usage;
  return ExitUsage;
}

bool ReadSettingsFile(const std::string& file, SettingsRecord& record, Context& cx, int* fieldsReset) {
  std::ifstream probe;
  if (const std::optional<FileProblem> problem = OpenRegularFile(file, probe)) {
    cx.err << "terravue-cli: cannot read settings file '" << file << "'\n" << problem->Line() << '\n';
    return false;
  }
  probe.close();
  if (LoadSettings(record, file, fieldsReset) == SettingsLoad::Missing) {
    cx.err << "terravue-cli: cannot read settings file '" << file << "'\n";
    return false;
  }
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (!ec && size < SettingsRecord::Size)
    cx.err << "terravue-cli: settings file '" << file << "' holds " << size << " bytes, not " << SettingsRecord::Size
           << ": the settings past its end keep their built-in values\n";
  else if (!ec && size > SettingsRecord::Size)
    cx.err << "terravue-cli: settings file '" << file << "' holds " << size << " bytes, not " << SettingsRecord::Size
           << ": the bytes past " << SettingsRecord::Size << " were ignored\n";
  return true;
}

std::optional<OutputModel> OutputModelFile(const fs::path& name) {
  if (!name.has_extension()) return OutputModel{fs::path(name) += ".MDL", model::ModelFileTypeMdl};
  const int type = model::ModelFileTypeOf(name);
  if (type < 0) return std::nullopt;
  return OutputModel{name, type};
}

std::optional<std::string> TakeContourOption(const std::vector<std::string>& args, std::size_t& i,
                                             ContourRequest& r) {
  const std::string& a = args[i];
  if (a == "--labels") {
    r.labels = true;
    return std::string();
  }
  if (a != "--contours" && a != "--index") return std::nullopt;
  if (i + 1 >= args.size()) return a + " needs a value";
  const std::string& v = args[++i];
  if (a == "--contours") {
    const auto interval = ParseReal(v);
    if (!interval || !(*interval > 0) || !std::isfinite(*interval))
      return std::string("--contours needs a positive interval");
    r.interval = *interval;
  } else {
    const auto index = ParseInteger(v);
    if (!index || *index < 0 || *index > MaxContourIndex)
      return "--index needs a whole number from 0 to " + std::to_string(MaxContourIndex);
    r.index = static_cast<int>(*index);
  }
  return std::string();
}

std::optional<std::string> CheckContourRequest(const ContourRequest& r) {
  if (!r.interval && (r.index || r.labels)) return std::string("--index and --labels need --contours INTERVAL");
  return std::nullopt;
}

void ApplyContourRequest(SettingsRecord& s, const ContourRequest& r) {
  namespace opt = device::ContourOptions;
  if (!r.interval) return;
  s.Set(opt::Show, true);
  s.Set(opt::Interval, *r.interval);
  if (r.index) s.Set(opt::Multiple, static_cast<std::int16_t>(*r.index));
  if (r.labels) {
    constexpr std::uint8_t LabelAll = 1, LabelMultiple = 2;
    s.Set(opt::LabelMode, s.Get(opt::Multiple) > 0 ? LabelMultiple : LabelAll);
  }
}

Workspace::Workspace(ConsolePort& port) : session{model, settings, port, {}} {}

Workspace::~Workspace() {
  if (session.workDirectory.empty()) return;
  std::error_code ignored;
  fs::remove_all(session.workDirectory, ignored);
}

bool Workspace::Open(const Args& args, Context& cx) {
  settings = DefaultSettings();
  if (args.settings && !ReadSettingsFile(*args.settings, settings, cx)) return false;
  // mkdtemp makes a folder only this user can enter, under a name nobody could prepare.
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "terravue-cli-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) {
    cx.err << "terravue-cli: cannot make a work folder in the temporary folder\n";
    return false;
  }
  session.workDirectory = pattern;
  if (!model.AllocateStore()) {
    cx.port.ShowError(msg::InsufficientMemoryForProgram);
    return false;
  }
  return true;
}

ReportSavingPort::ReportSavingPort(std::string_view verb, std::ostream& out, std::ostream& err, YesNoPolicy policy,
                                   std::optional<fs::path> saveAs)
    : ConsolePort(out, err, policy), verb_(verb), err_(err), saveAs_(std::move(saveAs)) {}

void ReportSavingPort::ShowReport(const std::string& path, std::string_view defaultSaveName, std::string_view saveTitle) {
  shown_ = true;
  ConsolePort::ShowReport(path, defaultSaveName, saveTitle);
  std::optional<FileProblem> problem;
  if (saveAs_ && !CopyReportFile(path, *saveAs_, &problem)) {
    err_ << "terravue-cli: " << verb_ << ": could not write '" << saveAs_->string() << "'\n";
    if (problem) err_ << problem->Line() << '\n';
    saveFailed_ = true;
  }
}

namespace {

// The Surface Comparison dialog answered with the proposed file and cancelled before the
// report: the run keeps its differences and shows nothing more.
class CutFillOnlyUi : public analysis::VolumeUi {
 public:
  explicit CutFillOnlyUi(fs::path proposed) : proposed_(std::move(proposed)) {}
  std::optional<analysis::ProposedFileChoice> ChooseProposedFile(const std::string&, const std::string&) override {
    return analysis::ProposedFileChoice{proposed_, model::ModelFileTypeMdl};
  }
  void BeginComparison(const std::string&, const std::string&) override {}
  void SetPhase(int, int) override {}
  void EndComparison() override {}
  std::optional<analysis::VolumeReportOptions> AskReportOptions(const analysis::VolumeReportOptions&) override {
    return std::nullopt;
  }

 private:
  fs::path proposed_;
};

}  // namespace

bool UseCutFillMap(Session& session, const std::optional<std::string>& proposed, analysis::CutFillMap& map,
                   mapping::RedrawOptions& extras) {
  if (!proposed) return true;
  CutFillOnlyUi ui(*proposed);
  analysis::VolumeReportOptions options;
  const analysis::VolumeOutcome outcome =
      analysis::RunVolumeCommand(session, analysis::VolumeMode::TwoSurfaces, ui, options, &map);
  if (outcome != analysis::VolumeOutcome::Cancelled || map.Empty()) return false;
  session.settings.Set(device::AnalyzerOptions::Show, true);
  session.settings.Set(device::AnalyzerOptions::ShowCutFill, true);
  extras.cutFill = &map;
  return true;
}

}  // namespace terravue::cli

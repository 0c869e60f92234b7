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

struct UsageProblem {
  std::string text;
};

// One file to read and the format chosen for it.
struct FileChoice {
  std::optional<std::string> file;
  std::optional<std::string> codes;
  std::optional<int> entry;
};

struct ImportArgs {
  FileChoice points, border, breaklines;
  bool removeDuplicates = false;
  bool matchLabels = false;
  bool triangulate = false;
  bool acceptPartial = false;
  std::optional<std::string> append;
};

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "import", problem, Usage);
}

std::optional<int> ParseEntry(const std::string& text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
  return std::nullopt;
}

// Reads the options in order; the shared ones (-o, --settings, --yes, --no) are known to the
// caller already.
std::optional<UsageProblem> ParseImportArgs(const Args& args, ImportArgs& out) {
  const auto& all = args.all;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    auto value = [&](std::optional<std::string>& target) -> std::optional<UsageProblem> {
      if (i + 1 >= all.size()) return UsageProblem{a + " needs a value"};
      if (target) return UsageProblem{a + " is given twice"};
      target = all[++i];
      return std::nullopt;
    };
    auto entry = [&](std::optional<int>& target) -> std::optional<UsageProblem> {
      std::optional<std::string> text;
      if (auto problem = value(text)) return problem;
      target = ParseEntry(*text);
      if (!target) return UsageProblem{a + " takes a format number from 0 to 3"};
      return std::nullopt;
    };
    std::optional<UsageProblem> problem;
    if (a == "-o" || a == "--output" || a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--format") {
      problem = value(out.points.codes);
    } else if (a == "--entry") {
      problem = entry(out.points.entry);
    } else if (a == "--remove-duplicates") {
      out.removeDuplicates = true;
    } else if (a == "--match-labels") {
      out.matchLabels = true;
    } else if (a == "--border") {
      problem = value(out.border.file);
    } else if (a == "--border-format") {
      problem = value(out.border.codes);
    } else if (a == "--border-entry") {
      problem = entry(out.border.entry);
    } else if (a == "--breaklines") {
      problem = value(out.breaklines.file);
    } else if (a == "--breakline-format") {
      problem = value(out.breaklines.codes);
    } else if (a == "--breakline-entry") {
      problem = entry(out.breaklines.entry);
    } else if (a == "--append") {
      problem = value(out.append);
    } else if (a == "--triangulate") {
      out.triangulate = true;
    } else if (a == "--accept-partial") {
      out.acceptPartial = true;
    } else if (a.size() > 1 && a[0] == '-') {
      problem = UsageProblem{"unknown option '" + a + "'"};
    } else if (out.points.file) {
      problem = UsageProblem{"unexpected argument '" + a + "'"};
    } else {
      out.points.file = a;
    }
    if (problem) return problem;
  }
  if (!out.points.file || out.points.file->empty()) return UsageProblem{"name the points file"};
  for (const FileChoice* choice : {&out.points, &out.border, &out.breaklines}) {
    if (choice->codes && choice->entry) return UsageProblem{"give a format either as letters or as a number"};
    if (!choice->file && (choice->codes || choice->entry))
      return UsageProblem{"a border or breakline format needs its file"};
  }
  return std::nullopt;
}

// The import dialog's custom text: only blanks, commas and the kind's letters, at least one
// letter.
std::optional<UsageProblem> CheckCodes(AsciiKind kind, const std::string& codes) {
  const auto letters = exchange::ImportLetters(kind);
  bool anyLetter = false;
  for (const char c : codes) {
    if (!exchange::IsFormatCharacter(letters, c)) {
      std::string allowed;
      for (const auto& entry : letters) allowed += std::string(" ") + entry.letter;
      return UsageProblem{"'" + std::string(1, c) + "' is not a format letter (use blanks, commas and" +
                          allowed + ")"};
    }
    anyLetter = anyLetter || (c != ' ' && c != ',');
  }
  if (!anyLetter) return UsageProblem{"the format \"" + codes + "\" holds no letter"};
  return std::nullopt;
}

// What the import dialog does when it closes with OK: store the file name and the format.
void StoreChoice(SettingsRecord& settings, AsciiKind kind, const FileChoice& choice) {
  const auto& record = exchange::ImportRecord(kind);
  settings.Set(record.FileName(), *choice.file);  // a path too long for the record is not kept
  if (choice.codes) {
    exchange::StoreFileFormat(settings, record, exchange::FormatRecord::CustomFormat,
                              exchange::ChosenImportFormat(kind, exchange::FormatRecord::CustomFormat, *choice.codes));
  } else if (choice.entry) {
    exchange::StoreFileFormat(settings, record, *choice.entry, exchange::ChosenImportFormat(kind, *choice.entry, {}));
  }
}

int NothingLoaded(Context& cx, const std::string& file) {
  cx.err << "terravue-cli: import: nothing was loaded from '" << file << "'; no model was written\n";
  return ExitFailed;
}

// A load the capacity cut short is a failure, unless the user accepts what fitted.
bool RefusePartial(Context& cx, bool cut, bool accepted, const std::string& file, std::string_view what) {
  if (!cut) return false;
  cx.err << "terravue-cli: import: '" << file << "' holds more " << what << " than a model takes; "
         << (accepted ? "the ones that fit were kept (--accept-partial)\n"
                      : "no model was written (--accept-partial keeps the ones that fit)\n");
  return !accepted;
}

}  // namespace

// Reads points, and optionally a border and breaklines, the way the Process > Import commands
// do, and writes the model. Every named file must give something, or no model is written.
int RunImport(const Args& args, Context& cx) {
  ImportArgs in;
  if (auto problem = ParseImportArgs(args, in)) return UsageError(cx, problem->text);
  if (in.points.codes)
    if (auto problem = CheckCodes(AsciiKind::Coordinates, *in.points.codes)) return UsageError(cx, problem->text);
  if (in.border.codes)
    if (auto problem = CheckCodes(AsciiKind::Border, *in.border.codes)) return UsageError(cx, problem->text);
  if (in.breaklines.codes)
    if (auto problem = CheckCodes(AsciiKind::Breaklines, *in.breaklines.codes)) return UsageError(cx, problem->text);
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
  if (RefusePartial(cx, points.cutAtCapacity, in.acceptPartial, *in.points.file, "points")) return ExitFailed;
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
    if (RefusePartial(cx, breaklines.cutAtCapacity, in.acceptPartial, *in.breaklines.file, "breaklines"))
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

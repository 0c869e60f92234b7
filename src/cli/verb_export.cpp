#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "exchange/ascii_export.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "cli_common.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;
using exchange::AsciiKind;

constexpr const char* Usage =
    "usage: terravue-cli export MODEL (--points | --border | --breaklines) OUT\n"
    "         [--format CODES | --entry N] [--settings FILE]\n"
    "  CODES: the custom format as typed in the export dialog, e.g. \"P, Y, X, ZN\"\n"
    "         (points: P L X Y Z G N; border and breaklines: A B C D P G N)\n"
    "  N:     a predefined format, 0 to 3, separated by \", \":\n"
    "         points      0 Y X Z  1 X Y Z  2 # Y X Z  3 # X Y Z\n"
    "         border      0 Y X    1 X Y    2 # Y X    3 # X Y\n"
    "         breaklines  0 Y X Y X  1 X Y X Y  2 # #  3 # Y X\n"
    "  Without a format the one stored in the settings is used.\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "export", problem, Usage);
}

}  // namespace

// Writes the points, the border or the breaklines of a model file as the Process > Export
// commands do.
int RunExport(const Args& args, Context& cx) {
  std::optional<AsciiKind> kind;
  std::optional<std::string> codes;
  std::optional<int> entry;
  std::vector<std::string> positional;
  const auto& all = args.all;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& a = all[i];
    auto chooseKind = [&](AsciiKind k) {
      if (kind) return false;
      kind = k;
      return true;
    };
    if (a == "-o" || a == "--output") {
      return UsageError(cx, "name OUT after the kind, without -o");
    } else if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--points" || a == "--border" || a == "--breaklines") {
      const AsciiKind k = a == "--points" ? AsciiKind::Coordinates : a == "--border" ? AsciiKind::Border : AsciiKind::Breaklines;
      if (!chooseKind(k)) return UsageError(cx, "choose one of --points, --border and --breaklines");
    } else if (a == "--format" || a == "--entry") {
      if (i + 1 >= all.size()) return UsageError(cx, a + " needs a value");
      if (codes || entry) return UsageError(cx, "give a format either as letters or as a number");
      const std::string& v = all[++i];
      if (a == "--format") {
        codes = v;
      } else if (v.size() == 1 && v[0] >= '0' && v[0] <= '3') {
        entry = v[0] - '0';
      } else {
        return UsageError(cx, "--entry takes a format number from 0 to 3");
      }
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(cx, "unknown option '" + a + "'");
    } else {
      positional.push_back(a);
    }
  }
  if (!kind) return UsageError(cx, "choose one of --points, --border and --breaklines");
  if (positional.size() != 2 || positional[0].empty() || positional[1].empty())
    return UsageError(cx, "name the model file and the output file");
  if (codes) {
    const auto letters = exchange::ExportLetters(*kind);
    bool anyLetter = false;
    for (const char c : *codes) {
      if (!exchange::IsFormatCharacter(letters, c))
        return UsageError(cx, "'" + std::string(1, c) + "' is not a format letter here");
      anyLetter = anyLetter || (c != ' ' && c != ',');
    }
    if (!anyLetter) return UsageError(cx, "the format \"" + *codes + "\" holds no letter");
  }

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  SettingsRecord& settings = workspace.settings;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, positional[0])) return ExitFailed;
  if (!exchange::CanExport(session, *kind)) return ExitFailed;

  // What the export dialog stores when it closes with OK.
  const auto& record = exchange::ExportRecord(*kind);
  if (codes) {
    exchange::StoreFileFormat(settings, record, exchange::FormatRecord::CustomFormat,
                              exchange::ChosenExportFormat(*kind, exchange::FormatRecord::CustomFormat, *codes));
  } else if (entry) {
    exchange::StoreFileFormat(settings, record, *entry, exchange::ChosenExportFormat(*kind, *entry, {}));
  }
  settings.Set(record.FileName(), positional[1]);

  exchange::ExportStatus status = exchange::ExportStatus::WriteFailed;
  switch (*kind) {
    case AsciiKind::Coordinates: status = exchange::ExportCoordinateFile(session, positional[1]); break;
    case AsciiKind::Border: status = exchange::ExportBorderFile(session, positional[1]); break;
    case AsciiKind::Breaklines: status = exchange::ExportBreaklineFile(session, positional[1]); break;
  }
  return status == exchange::ExportStatus::Written ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

#pragma once

#include <optional>
#include <string>

#include "common/settings_record.h"
#include "exchange/ascii_import.h"
#include "verbs.h"

// The options that name ASCII files and their formats, shared by the import and auto verbs.
namespace terravue::cli {

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

// Reads the options in order; the shared ones (-o, --settings, --yes, --no) are known to the
// caller already. --triangulate is taken only where allowed.
std::optional<UsageProblem> ParseImportArgs(const Args& args, ImportArgs& out, bool allowTriangulate);
// The import dialog's custom text: only blanks, commas and the kind's letters, at least one
// letter.
std::optional<UsageProblem> CheckCodes(exchange::AsciiKind kind, const std::string& codes);
// The three files' formats checked, or the first problem.
std::optional<UsageProblem> CheckAllCodes(const ImportArgs& in);
// A load the capacity cut short is a failure, unless the user accepts what fitted (said on
// stderr either way). True when the run is to stop.
bool RefusePartial(Context& cx, std::string_view verb, bool cut, bool accepted, const std::string& file,
                   std::string_view what);
// What the import dialog does when it closes with OK: store the file name and the format.
void StoreChoice(SettingsRecord& settings, exchange::AsciiKind kind, const FileChoice& choice);

}  // namespace terravue::cli

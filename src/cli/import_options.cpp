#include "import_options.h"

namespace terravue::cli {

using exchange::AsciiKind;

namespace {

std::optional<int> ParseEntry(const std::string& text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
  return std::nullopt;
}

}  // namespace

std::optional<UsageProblem> ParseImportArgs(const Args& args, ImportArgs& out, bool allowTriangulate) {
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
    } else if (a == "--triangulate" && allowTriangulate) {
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

std::optional<UsageProblem> CheckAllCodes(const ImportArgs& in) {
  if (in.points.codes)
    if (auto problem = CheckCodes(AsciiKind::Coordinates, *in.points.codes)) return problem;
  if (in.border.codes)
    if (auto problem = CheckCodes(AsciiKind::Border, *in.border.codes)) return problem;
  if (in.breaklines.codes)
    if (auto problem = CheckCodes(AsciiKind::Breaklines, *in.breaklines.codes)) return problem;
  return std::nullopt;
}

bool RefusePartial(Context& cx, std::string_view verb, bool cut, bool accepted, const std::string& file,
                   std::string_view what) {
  if (!cut) return false;
  cx.err << "terravue-cli: " << verb << ": '" << file << "' holds more " << what << " than a model takes; "
         << (accepted ? "the ones that fit were kept (--accept-partial)\n"
                      : "no model was written (--accept-partial keeps the ones that fit)\n");
  return !accepted;
}

}  // namespace terravue::cli

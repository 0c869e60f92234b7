#include "exchange/import_export_settings.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace terravue::exchange {
namespace {

// Field codes of the built-in custom formats. X, Y, Z and N of coordinates and P and A of
// borders and breaklines have the same codes in the import and export tables; N of a border or
// breakline export is 7 too.
constexpr std::uint8_t CodeP = 1, CodeX = 2, CodeA = 2, CodeY = 3, CodeZ = 4, CodeNextLine = 7;

// One code of a built-in format and the text that follows it.
struct BuiltInCode {
  std::uint8_t code;
  std::string_view after;
};

std::string Indexed(std::string_view name, int i) {
  return std::string(name) + "[" + std::to_string(i) + "]";
}

void AddRecord(SettingsTable& t, std::string_view name, const FormatRecord& r,
               std::initializer_list<BuiltInCode> codes) {
  const std::string group(name);
  t.push_back(TextEntry(group + ".FileName", r.FileName()));
  if (r.hasRemoveDuplicates)
    t.push_back(BoolEntry(group + ".RemoveDuplicates", r.RemoveDuplicates(), false));
  if (r.hasMatchNumbersToLabels)
    t.push_back(BoolEntry(group + ".MatchNumbersToLabels", r.MatchNumbersToLabels(), false));
  // The loaders and writers look the entry up in their format lists.
  t.push_back(Int32Entry(group + ".FormatIndex", r.FormatIndex(), FormatRecord::NoFormat,
                         FormatRecord::NoFormat, FormatRecord::CustomFormat));
  // Any code value is harmless: codes outside the letter tables do nothing.
  for (int k = 0; k < FormatRecord::CodeCount; ++k) {
    const auto* c = k < static_cast<int>(codes.size()) ? codes.begin() + k : nullptr;
    t.push_back(ByteEntry(Indexed(group + ".Codes", k), r.Code(k), c ? c->code : 0));
  }
  for (int k = 0; k < FormatRecord::DecorationCount; ++k) {
    const auto* c = k >= 1 && k <= static_cast<int>(codes.size()) ? codes.begin() + (k - 1) : nullptr;
    t.push_back(TextEntry(Indexed(group + ".Decoration", k), r.Decoration(k),
                          c ? c->after : std::string_view{}));
  }
}

SettingsTable BuildImportExportFields() {
  SettingsTable t = {
      BoolEntry("AutoProcess.AutoLoadBorder", AutoLoadBorder, false),
      BoolEntry("AutoProcess.AutoLoadBreaklines", AutoLoadBreaklines, false),
  };
  // "X Y ZN", "A" and "P P": the custom formats shown before any format was chosen.
  AddRecord(t, "CoordImport", CoordImport, {{CodeX, " "}, {CodeY, " "}, {CodeZ, ""}, {CodeNextLine, ""}});
  AddRecord(t, "BorderImport", BorderImport, {{CodeA, ""}});
  AddRecord(t, "BreaklineImport", BreaklineImport, {{CodeP, " "}, {CodeP, ""}});
  AddRecord(t, "CoordExport", CoordExport, {{CodeX, " "}, {CodeY, " "}, {CodeZ, ""}, {CodeNextLine, ""}});
  AddRecord(t, "BorderExport", BorderExport, {{CodeA, ""}, {CodeNextLine, ""}});
  AddRecord(t, "BreaklineExport", BreaklineExport, {{CodeP, " "}, {CodeP, ""}, {CodeNextLine, ""}});
  return t;
}

}  // namespace

const SettingsTable& ImportExportFields() {
  static const SettingsTable table = BuildImportExportFields();
  return table;
}

void SetImportExportDefaults(SettingsRecord& record) { ApplyDefaults(ImportExportFields(), record); }

int ValidateImportExport(SettingsRecord& record) { return ValidateFields(ImportExportFields(), record); }

}  // namespace terravue::exchange

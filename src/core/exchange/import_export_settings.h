#pragma once

#include <cstddef>
#include <cstdint>

#include "common/settings_record.h"
#include "common/settings_table.h"

// The import and export format records of the settings image and the Auto Process choices in
// front of them. Each record keeps the last file of its kind and the chosen format: the entry of
// the format list and, for a custom format, the field codes in file order with the text typed
// before the first and after each code.
namespace terravue::exchange {

struct FormatRecord {
  static constexpr int CodeCount = 10;
  static constexpr int DecorationCount = 11;
  static constexpr std::size_t DecorationCapacity = 20;
  static constexpr std::int32_t NoFormat = -1;
  static constexpr std::int32_t CustomFormat = 4;

  std::size_t offset;            // of the record
  std::size_t formatIndexOffset;  // from the record's start
  bool hasRemoveDuplicates;      // the coordinate import's check box
  bool hasMatchNumbersToLabels = false;  // the border and breakline imports' check box

  constexpr TextField FileName() const { return {offset, 255}; }
  constexpr BoolField RemoveDuplicates() const { return {offset + 256}; }
  constexpr I32Field FormatIndex() const { return {offset + formatIndexOffset}; }  // -1..4
  constexpr U8Field Code(int k) const {  // k = 0..9; 0 = unused
    return {offset + formatIndexOffset + 4 + static_cast<std::size_t>(k)};
  }
  constexpr TextField Decoration(int k) const {  // k = 0..10
    return {offset + formatIndexOffset + 4 + CodeCount + static_cast<std::size_t>(k) * 21,
            DecorationCapacity};
  }
  // In the record's padding after the decorations.
  constexpr BoolField MatchNumbersToLabels() const {
    return {offset + formatIndexOffset + 4 + CodeCount + DecorationCount * 21};
  }
};

inline constexpr FormatRecord CoordImport{7968, 260, true};
inline constexpr FormatRecord BorderImport{8476, 256, false, true};
inline constexpr FormatRecord BreaklineImport{8980, 256, false, true};
static_assert(BorderImport.MatchNumbersToLabels().offset == 8977 &&
              BreaklineImport.MatchNumbersToLabels().offset == 9481);
// The coordinate export record has the import's layout but leaves RemoveDuplicates unused.
inline constexpr FormatRecord CoordExport{9484, 260, false};
inline constexpr FormatRecord BorderExport{9992, 256, false};
inline constexpr FormatRecord BreaklineExport{10496, 256, false};

// Auto Process: whether the border and breakline files are loaded too.
inline constexpr BoolField AutoLoadBorder{7964};
inline constexpr BoolField AutoLoadBreaklines{7965};

const SettingsTable& ImportExportFields();
void SetImportExportDefaults(SettingsRecord& record);
int ValidateImportExport(SettingsRecord& record);

}  // namespace terravue::exchange

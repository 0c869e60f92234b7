#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "exchange/ascii_import.h"

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// ASCII export of the points, the border and the breaklines in the arrangement the user chose,
// for other survey software. Every line ends with CR LF; numbers are written in the C locale.
namespace terravue::exchange {

// Export codes of a coordinate file. The letters differ from the import's.
namespace export_coord {
inline constexpr std::uint8_t PointNumber = 1;  // P: the point's index
inline constexpr std::uint8_t X = 2;
inline constexpr std::uint8_t Y = 3;
inline constexpr std::uint8_t Z = 4;
inline constexpr std::uint8_t Label = 5;  // L: the four stored characters, blanks included
inline constexpr std::uint8_t Dummy = 6;  // G: the character 0
inline constexpr std::uint8_t NextLine = 7;
}  // namespace export_coord

// Export codes of border and breakline files: a point number or a coordinate group.
namespace export_vertex {
inline constexpr std::uint8_t PointNumber = 1;
inline constexpr std::uint8_t XY = 2;   // A
inline constexpr std::uint8_t YX = 3;   // B
inline constexpr std::uint8_t XYZ = 4;  // C
inline constexpr std::uint8_t YXZ = 5;  // D
inline constexpr std::uint8_t Dummy = 6;
inline constexpr std::uint8_t NextLine = 7;
}  // namespace export_vertex

// The letters the export dialog accepts for a kind of file.
LetterTable ExportLetters(AsciiKind kind);
// Predefined entries 0 to 3 with their ", " separators; each reads back with the import entry
// of the same number.
FileFormat PredefinedExportFormat(AsciiKind kind, int entry);
// What the export dialog stores when it closes (see ChosenImportFormat).
FileFormat ChosenExportFormat(AsciiKind kind, int entry, std::string_view customText);
const FormatRecord& ExportRecord(AsciiKind kind);

enum class ExportStatus {
  Written,
  BorderInvalid,     // the ring does not close: "Border is invalid. ..."
  FormatRefused,     // a breakline format with more than two point numbers or groups
  BadReference,      // a breakline end that is no point
  WriteFailed,       // "File management error."
};

// The text of each file, built in memory; `records` receives the number of points, border
// points or breaklines written. Nothing is appended unless the status is Written.
ExportStatus BuildCoordinateText(const model::SurfaceModel& m, const FileFormat& format, std::string& out,
                                 std::size_t& records);
ExportStatus BuildBorderText(const model::SurfaceModel& m, const FileFormat& format, std::string& out,
                             std::size_t& records);
ExportStatus BuildBreaklineText(const model::SurfaceModel& m, const FileFormat& format, std::string& out,
                                std::size_t& records);

// Write the whole file with the codes of the export record and report the result: the summary
// on success, the error otherwise. The file is written beside its name and renamed over it
// when complete, so a failure leaves an existing file untouched. The model is never changed.
ExportStatus ExportCoordinateFile(Session& session, const std::filesystem::path& file);
ExportStatus ExportBorderFile(Session& session, const std::filesystem::path& file);
ExportStatus ExportBreaklineFile(Session& session, const std::filesystem::path& file);

// The export commands' checks before the dialog opens ("No data to save.", "No border to save.",
// "The current border is invalid and can not be saved.", "No breaklines to save."): false, with
// the error shown, when there is nothing to export.
bool CanExport(Session& session, AsciiKind kind);

}  // namespace terravue::exchange

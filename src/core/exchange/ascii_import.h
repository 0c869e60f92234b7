#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/coordinate_limits.h"
#include "exchange/import_export_settings.h"

namespace terravue {
class SettingsRecord;
struct Session;
}  // namespace terravue

// ASCII import of survey points, a border and breaklines in user-arranged column orders. Every
// number goes through one reader that treats anything that cannot start a number as a
// separator, so headers, descriptions, commas and tabs need no configuration.
namespace terravue::exchange {

// The three kinds of ASCII file, numbered as the import and export dialogs' modes.
enum class AsciiKind : std::uint8_t { Coordinates = 0, Border = 1, Breaklines = 2 };

// ---------------------------------------------------------------------------------------------
// Formats: field codes in file order and the text typed around them.

using FieldCodes = std::array<std::uint8_t, FormatRecord::CodeCount>;

// decoration[0] is the text before the first code, decoration[k] the text after code k.
struct FileFormat {
  FieldCodes codes{};
  std::array<std::string, FormatRecord::DecorationCount> decoration;
  friend bool operator==(const FileFormat&, const FileFormat&) = default;
};

// Import codes of a coordinate file. Code 1 has no letter; a stored 1 reads a number and drops
// it, like D.
namespace coord {
inline constexpr std::uint8_t Dropped = 1;
inline constexpr std::uint8_t X = 2;
inline constexpr std::uint8_t Y = 3;
inline constexpr std::uint8_t Z = 4;
inline constexpr std::uint8_t Label = 5;
inline constexpr std::uint8_t Dummy = 6;
inline constexpr std::uint8_t NextLine = 7;
}  // namespace coord

// Import codes of border and breakline files.
namespace vertex {
inline constexpr std::uint8_t PointNumber = 1;
inline constexpr std::uint8_t EastingNorthing = 2;  // A: X then Y
inline constexpr std::uint8_t NorthingEasting = 3;  // B: Y then X
inline constexpr std::uint8_t Dummy = 4;
inline constexpr std::uint8_t NextLine = 5;
}  // namespace vertex

struct LetterCode {
  char letter;
  std::uint8_t code;
};
using LetterTable = std::span<const LetterCode>;

// The letters the import dialog accepts for a kind of file.
LetterTable ImportLetters(AsciiKind kind);

// Custom format text as typed (either case): a letter of the table appends its code (ten at
// most, further letters are dropped); any other character joins the decoration after the last
// code taken, up to 20 characters each.
FileFormat ParseFormatText(LetterTable letters, std::string_view typed);
// The text a dialog shows for a stored format: decoration[0], then each used code's letter and
// the decoration after it, never longer than 20 characters.
std::string FormatText(LetterTable letters, const FileFormat& format);
// Blank, comma and the table's letters in either case: what a custom text may hold.
bool IsFormatCharacter(LetterTable letters, char c);

// The four predefined entries of each format list, numbered as in the dialogs; 4 is custom.
inline constexpr int PredefinedFormatCount = 4;
std::string_view PredefinedFormatCaption(AsciiKind kind, int entry);
FileFormat PredefinedImportFormat(AsciiKind kind, int entry);

// The import record of a kind of file in the settings.
const FormatRecord& ImportRecord(AsciiKind kind);

// Reads a record's codes and decorations.
FileFormat ReadFileFormat(const SettingsRecord& settings, const FormatRecord& record);
// What the import dialog stores when it closes: the chosen entry; entries 0 to 3 their fixed
// codes, entry 4 the format parsed from the custom text, no entry (-1) no codes at all.
FileFormat ChosenImportFormat(AsciiKind kind, int entry, std::string_view customText);
void StoreFileFormat(SettingsRecord& settings, const FormatRecord& record, int entry,
                     const FileFormat& format);

// ---------------------------------------------------------------------------------------------
// The number reader shared by the three loaders.

// Reads a text file one character at a time, in the C locale. Anything that is not a sign, a
// point or a digit separates numbers. When the format goes line by line (it holds N), a record
// stays on its line: once it has read a number, a line end fails its next read instead of
// taking the following line's number.
class AsciiReader {
 public:
  // Tokens longer than this fail instead of being cut into another number.
  static constexpr std::size_t TokenCapacity = 21;
  // Larger magnitudes are no survey coordinate; they fail so that later arithmetic stays finite.
  static constexpr double MaxMagnitude = MaxCoordinate;

  explicit AsciiReader(std::istream& in, bool lineBound = false);
  AsciiReader(const AsciiReader&) = delete;
  AsciiReader& operator=(const AsciiReader&) = delete;

  // The next number rounded to three decimals, or nothing when the token does not convert,
  // the line or the file ended first.
  std::optional<double> ReadNumber();
  // A point number of a P field: as ReadNumber, but a hyphen right after the digits separates
  // it from the next one ("213-214"), and JoinedToNext() then says so.
  std::optional<double> ReadPointNumber();
  bool JoinedToNext() const { return joined_; }
  // Passes over the rest of the line (nothing when the last character read ended a line).
  // Returns the line's number when another number was passed over, else 0.
  std::uint64_t SkipToNextLine();
  // The number of the line the last character read is on, from 1. Lines end with LF.
  std::uint64_t LineNumber();

  // Starts a record: it may skip lines without numbers before its first number.
  void BeginRecord();
  // Whether the record met a number or an attempt at one (a record that fails without doing
  // so only ran into blank lines or the end of the file).
  bool RecordHadContent() const { return recordHadContent_; }
  // The line (from 1, counted by line feeds) on which the record's first number began. Counted
  // only when asked for: reading keeps no more than where the record began.
  std::uint64_t RecordLine();
  // Why the last read failed, for the user: "\"12.3.4\" is not a number", ...
  std::string FailureReason() const;

  // True when no character is left (also after a NUL byte or a read error).
  bool AtEnd() { return pos_ >= end_ && !Refill(); }
  char CurrentChar() const { return current_; }
  std::uint64_t CharactersRead() const { return chunkStart_ + pos_; }
  // The file holds a NUL byte or starts with a UTF-16 byte-order mark: it is not plain text.
  bool NotText() const { return notText_; }
  // The stream reported an error; reading stopped there.
  bool ReadError() const { return readError_; }

 private:
  enum class Failure { None, NotANumber, TooLarge, LineEnded, FileEnded };

  // A token that is no number (or too large): kept, with why, for the failure reason.
  [[gnu::cold]] std::optional<double> Refuse(const char* token, std::size_t length, Failure why);
  bool Refill();
  char Take() { return buffer_[pos_++]; }
  // Line feeds among the buffer's first `count` characters, counted on (or back) from the last
  // answer, so that asking once a line keeps the reading linear.
  std::uint64_t LinesIn(std::size_t count);

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::uint64_t chunkStart_ = 0;  // characters before the buffer's first
  char current_ = ' ';
  bool lineBound_;
  bool lineHasNumber_ = false;
  bool recordHadContent_ = false;
  bool started_ = false;
  bool finished_ = false;
  bool notText_ = false;
  bool readError_ = false;
  bool joined_ = false;
  bool pointNumbers_ = false;  // ReadPointNumber is reading
  std::uint64_t chunkLines_ = 0;   // line feeds before the buffer's first character
  std::size_t recordStart_ = 0;    // in the buffer, of the record's first number
  std::uint64_t recordLine_ = 0;   // 0 until counted
  std::size_t countedTo_ = 0;      // LinesIn's last answer: the buffer's line feeds before here
  std::uint64_t countedLines_ = 0;
  Failure failure_ = Failure::None;
  std::string failedToken_;
};

// The point label for a number read from an L field: the number with no decimals, its last
// four characters right-justified ("   7", "  -3", "2345" for 12345).
std::array<char, 4> LabelFromNumber(double value);

// ---------------------------------------------------------------------------------------------
// The loaders.

// How a load went; the user has been told already.
enum class LoadStatus {
  Loaded,         // something was added to the model
  NothingLoaded,  // the file was read but gave nothing usable; the model is unchanged
  FormatRefused,  // the format cannot work; the file was not opened
  NotOpened,      // "File management error."
  NotText,        // NUL bytes or UTF-16: refused, the model is unchanged
};

struct CoordinateLoad {
  bool append = false;
  // Drops every point at the place of one loaded before it (tin::SamePlace, the test the
  // triangulation stops on).
  bool removeDuplicates = false;
  // Auto Process: summaries are kept quiet, except the capacity message.
  bool autoProcessActive = false;
};

// Lines on which a record was read and the rest of the line, passed over, held more numbers:
// the file's numbers may not be what the format takes them for (a decimal comma, "0x10").
struct ExtraNumberLines {
  static constexpr std::size_t Listed = 10;
  std::size_t count = 0;
  std::vector<std::uint64_t> first;  // the first Listed line numbers
  void Add(std::uint64_t line) {
    ++count;
    if (first.size() < Listed) first.push_back(line);
  }
};

struct CoordinateLoadResult {
  LoadStatus status = LoadStatus::NothingLoaded;
  std::size_t loaded = 0;      // points added
  std::size_t duplicates = 0;  // points dropped as duplicates
  std::size_t failed = 0;      // records that held something but did not convert
  ExtraNumberLines extraNumbers{};
  bool cutAtCapacity = false;  // the model filled up with points of the file still to come
};

struct VertexLoad {
  bool autoProcessActive = false;
  // P fields name points by their labels (the surveyor's point numbers) rather than by their
  // place in the model.
  bool matchNumbersToLabels = false;
};

struct BorderLoadResult {
  LoadStatus status = LoadStatus::NothingLoaded;
  std::size_t read = 0;      // records that converted
  std::size_t accepted = 0;  // points on the new ring
  std::size_t invalid = 0;   // records whose point matched no loaded point (or repeated one)
  std::size_t failed = 0;
  ExtraNumberLines extraNumbers{};
  bool ringValid = false;
};

struct BreaklineLoadResult {
  LoadStatus status = LoadStatus::NothingLoaded;
  std::size_t added = 0;    // breaklines added to those already held
  std::size_t invalid = 0;  // endpoints refused
  std::size_t failed = 0;
  ExtraNumberLines extraNumbers{};
  bool cutAtCapacity = false;  // the breaklines filled up with vertices of the file still to come
};

// Reads points with the codes of CoordImport. Replacing keeps the old points until at least
// one new point has been read; both ways drop the triangulation once points are added.
CoordinateLoadResult LoadCoordinateFile(Session& session, const std::filesystem::path& file,
                                        const CoordinateLoad& load);
CoordinateLoadResult LoadCoordinates(Session& session, std::istream& in, const FieldCodes& codes,
                                     const CoordinateLoad& load);

// The file variants take the codes and the choice to match point numbers to labels from the
// import records of the settings.

// Reads a border with the codes of BorderImport. Every vertex must match a loaded point within
// 0.001; the accepted points replace the ring, in file order.
BorderLoadResult LoadBorderFile(Session& session, const std::filesystem::path& file,
                                const VertexLoad& load);
BorderLoadResult LoadBorder(Session& session, std::istream& in, const FieldCodes& codes,
                            const VertexLoad& load);

// Reads breaklines with the codes of BreaklineImport, after those already held (the caller
// sets BreaklineCount to 0 first when the old ones are to go).
BreaklineLoadResult LoadBreaklineFile(Session& session, const std::filesystem::path& file,
                                      const VertexLoad& load);
BreaklineLoadResult LoadBreaklines(Session& session, std::istream& in, const FieldCodes& codes,
                                   const VertexLoad& load);

}  // namespace terravue::exchange

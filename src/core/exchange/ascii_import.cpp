#include "exchange/ascii_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>
#include <optional>
#include <system_error>
#include <unordered_set>

#include "common/format.h"
#include "common/messages.h"
#include "common/safe_file.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"
#include "exchange/point_lookup.h"
#include "tin/geometry.h"

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;
using model::SurfaceModel;

// ---------------------------------------------------------------------------------------------
// Formats.

constexpr LetterCode kCoordinateLetters[] = {{'X', coord::X},     {'Y', coord::Y},
                                             {'Z', coord::Z},     {'L', coord::Label},
                                             {'D', coord::Dummy}, {'N', coord::NextLine}};
constexpr LetterCode kVertexLetters[] = {{'P', vertex::PointNumber},
                                         {'A', vertex::EastingNorthing},
                                         {'B', vertex::NorthingEasting},
                                         {'D', vertex::Dummy},
                                         {'N', vertex::NextLine}};

// Predefined entries 0 to 3 of each kind, in the order of the format lists.
constexpr std::uint8_t kPredefinedCodes[3][PredefinedFormatCount][5] = {
    {{coord::Y, coord::X, coord::Z, coord::NextLine},
     {coord::X, coord::Y, coord::Z, coord::NextLine},
     {coord::Label, coord::Y, coord::X, coord::Z, coord::NextLine},
     {coord::Label, coord::X, coord::Y, coord::Z, coord::NextLine}},
    {{vertex::NorthingEasting, vertex::NextLine},
     {vertex::EastingNorthing, vertex::NextLine},
     {vertex::PointNumber, vertex::NorthingEasting, vertex::NextLine},
     {vertex::PointNumber, vertex::EastingNorthing, vertex::NextLine}},
    {{vertex::NorthingEasting, vertex::NorthingEasting, vertex::NextLine},
     {vertex::EastingNorthing, vertex::EastingNorthing, vertex::NextLine},
     {vertex::PointNumber, vertex::PointNumber, vertex::NextLine},
     {vertex::PointNumber, vertex::NorthingEasting, vertex::NextLine}},
};

constexpr std::string_view kCaptions[3][PredefinedFormatCount] = {
    {msg::FormatCoordYXZ, msg::FormatCoordXYZ, msg::FormatCoordNumberYXZ, msg::FormatCoordNumberXYZ},
    {msg::FormatVertexYX, msg::FormatVertexXY, msg::FormatVertexNumberYX, msg::FormatVertexNumberXY},
    {msg::FormatBreaklineYXYX, msg::FormatBreaklineXYXY, msg::FormatBreaklineNumbers,
     msg::FormatVertexNumberYX},
};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::optional<std::uint8_t> CodeOfLetter(LetterTable letters, char c) {
  for (const LetterCode& entry : letters)
    if (entry.letter == c) return entry.code;
  return std::nullopt;
}

char LetterOfCode(LetterTable letters, std::uint8_t code) {
  for (const LetterCode& entry : letters)
    if (entry.code == code) return entry.letter;
  return 0;
}

std::size_t CountCode(const FieldCodes& codes, std::uint8_t code) {
  return static_cast<std::size_t>(std::count(codes.begin(), codes.end(), code));
}

bool HasCode(const FieldCodes& codes, std::uint8_t code) { return CountCode(codes, code) > 0; }

// ---------------------------------------------------------------------------------------------
// Numbers.

// What each character can be to the reader: a digit, another character that may start a
// number (sign, point), an exponent letter, or a separator.
enum CharClass : std::uint8_t { Separator = 0, Digit = 1, Sign = 2, Point = 3, Exponent = 4 };
constexpr std::array<std::uint8_t, 256> kCharClass = [] {
  std::array<std::uint8_t, 256> table{};
  for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = Digit;
  table['+'] = table['-'] = Sign;
  table['.'] = Point;
  table['e'] = table['E'] = Exponent;
  return table;
}();

CharClass ClassOf(char c) { return static_cast<CharClass>(kCharClass[static_cast<unsigned char>(c)]); }
bool IsStartChar(char c) {
  const CharClass k = ClassOf(c);
  return k != Separator && k != Exponent;
}
bool IsDigit(char c) { return ClassOf(c) == Digit; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Rounds to three decimals the way the value would print: correctly rounded from its exact
// binary value, halves to even.
double RoundThroughText(double value) {
  char text[64];
  const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  double rounded = value;
  std::from_chars(text, printed.ptr, rounded);
  return rounded;
}

// Optional sign, digits with an optional point and fraction (at least one digit), optional
// exponent with digits; nothing else. `tooLarge` tells a number beyond MaxMagnitude from one
// that is no number at all.
std::optional<double> ConvertToken(const char* token, std::size_t length, bool& tooLarge) {
  std::size_t i = 0;
  if (i < length && (token[i] == '+' || token[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < length && IsDigit(token[i])) ++i, ++digits;
  std::size_t fractionDigits = 0;
  if (i < length && token[i] == '.') {
    ++i;
    while (i < length && IsDigit(token[i])) ++i, ++fractionDigits;
  }
  if (digits + fractionDigits == 0) return std::nullopt;
  bool exponent = false;
  bool negativeExponent = false;
  if (i < length && (token[i] == 'e' || token[i] == 'E')) {
    exponent = true;
    ++i;
    if (i < length && (token[i] == '+' || token[i] == '-')) negativeExponent = token[i++] == '-';
    std::size_t exponentDigits = 0;
    while (i < length && IsDigit(token[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != length) return std::nullopt;

  // from_chars takes no plus sign.
  const char* first = token[0] == '+' ? token + 1 : token;
  double value = 0;
  const auto parsed = std::from_chars(first, token + length, value, std::chars_format::general);
  if (parsed.ptr != token + length) return std::nullopt;
  if (parsed.ec == std::errc::result_out_of_range && negativeExponent) {
    value = 0;  // too small for a double: zero at three decimals anyway
  } else if (parsed.ec != std::errc()) {
    tooLarge = parsed.ec == std::errc::result_out_of_range;
    return std::nullopt;
  }
  if (!std::isfinite(value) || std::fabs(value) > AsciiReader::MaxMagnitude) {
    tooLarge = true;
    return std::nullopt;
  }
  // Below 1e9 a double carries far more digits than a decimal with three decimals needs, so
  // only longer fractions and exponents change in the round trip through text.
  if (exponent || fractionDigits > 3) value = RoundThroughText(value);
  return value;
}

// A border or breakline vertex must lie at the place of a loaded point (tin::SamePlace), and a
// point at the place of an earlier one is a duplicate: the triangulation would stop on it.
constexpr double kSamePlaceReach = 0.001;
// A point number with coordinates names that point when they agree this closely.
constexpr double kSamePointTolerance = 0.0001;

// The point a P field names: the point in that slot of the model or, when the file numbers its
// points as the surveyor did, the one point whose label is that number.
class PointNumbers {
 public:
  PointNumbers(const SurfaceModel& model, bool byLabel) : model_(model), byLabel_(byLabel) {}

  // NoPoint, with the reason, when the number names no single point.
  PointIndex Find(double number, std::string& reason) {
    // The real is range-checked before it is cut to a whole number.
    const bool sensible = std::isfinite(number) && std::fabs(number) < 1e9;
    const double whole = sensible ? std::trunc(number) : 0;
    if (!byLabel_) {
      if (whole >= 1 && whole <= model_.PointCount) return static_cast<PointIndex>(whole);
      reason = std::string(msg::NoPointNumberPrefix) + FormatReal(whole, 0, 0);
      return NoPoint;
    }
    if (!built_) Build();
    const auto found = labels_.find(Key(LabelFromNumber(whole)));
    if (found != labels_.end() && found->second != Ambiguous) return found->second;
    reason = std::string(found == labels_.end() ? msg::NoPointLabelledPrefix : msg::SeveralPointsLabelledPrefix) +
             FormatReal(whole, 0, 0);
    return NoPoint;
  }

 private:
  static constexpr PointIndex Ambiguous = 0xFFFF;

  static std::uint32_t Key(const model::PointLabelText& label) {
    std::uint32_t key = 0;
    for (const char c : label) key = key << 8 | static_cast<unsigned char>(c);
    return key;
  }

  void Build() {
    labels_.reserve(model_.PointCount);
    for (PointIndex i = 1; i <= model_.PointCount; ++i) {
      const auto [it, inserted] = labels_.try_emplace(Key(model_.PointLabel[i]), i);
      if (!inserted) it->second = Ambiguous;
    }
    built_ = true;
  }

  const SurfaceModel& model_;
  bool byLabel_;
  bool built_ = false;
  std::unordered_map<std::uint32_t, PointIndex> labels_;
};

// Resolves one border or breakline vertex to a loaded point; NoPoint, with the reason, when it
// matches none. `number` is the P field, (x, y) the A/B field.
PointIndex ResolveVertex(const SurfaceModel& m, NearestPointFinder& finder, PointNumbers& numbers, bool hasNumber,
                         bool hasCoordinates, double number, double x, double y, std::string& reason) {
  PointIndex q = NoPoint;
  const PointIndex p = hasNumber ? numbers.Find(number, reason) : NoPoint;
  if (!hasNumber) {
    q = finder.Nearest(x, y);
  } else if (p != NoPoint) {
    if (!hasCoordinates) {
      q = p;
      x = m.PointX[p];
      y = m.PointY[p];
    } else if (std::fabs(m.PointX[p] - x) < kSamePointTolerance &&
               std::fabs(m.PointY[p] - y) < kSamePointTolerance) {
      q = p;
    } else {
      q = finder.Nearest(x, y);
    }
  } else if (hasCoordinates) {
    q = finder.Nearest(x, y);
  } else {
    return NoPoint;  // the number's own reason stands
  }
  if (q != NoPoint && tin::SamePlace(m.PointX[q], m.PointY[q], x, y)) return q;
  reason = std::string(msg::NoPointAtPrefix) + FormatReal(x, 0, 3) + std::string(msg::NoPointAtY) + FormatReal(y, 0, 3);
  return NoPoint;
}

// ---------------------------------------------------------------------------------------------
// Shared pieces of the loaders.

std::string Count(std::size_t n) { return FormatInteger(static_cast<std::int64_t>(n), 0); }

// The first few lines a load could not use, each with its reason, for the summary: enough to
// find and mend them in the file without a listing.
class LineProblems {
 public:
  static constexpr std::size_t Named = 5;

  void Add(std::uint64_t line, std::string reason) {
    if (first_.size() < Named) first_.push_back({line, std::move(reason)});
    ++count_;
  }

  // Blank line, then "Line 12: why" lines; nothing when every line was used.
  std::string Text() const {
    if (first_.empty()) return {};
    std::string text = "\r\n";
    for (const auto& [line, reason] : first_)
      text += "\r\n" + std::string(msg::LinePrefix) + std::to_string(line) + ": " + reason;
    if (count_ > first_.size())
      text += "\r\n" + std::string(msg::MoreLinesPrefix) + Count(count_ - first_.size()) +
              std::string(msg::MoreLinesSuffix);
    return text;
  }

 private:
  std::vector<std::pair<std::uint64_t, std::string>> first_;
  std::size_t count_ = 0;
};

// Only regular files: a pipe or a device could block the import for ever. False, with the
// message, the file and the reason shown, when the file cannot be read.
bool IsReadable(UserPort& port, const fs::path& file, std::ifstream& in) {
  const std::optional<FileProblem> problem = OpenRegularFile(file, in);
  if (problem) port.ShowFileError(msg::FileManagementError, *problem);
  return !problem;
}

// "\r\n" + `caption` + "3 (lines 12, 40, 77)", or nothing.
std::string ExtraNumbersText(std::string_view caption, const ExtraNumberLines& lines) {
  if (lines.count == 0) return {};
  std::string text = "\r\n" + std::string(caption) + Count(lines.count) + (lines.count == 1 ? " (line " : " (lines ");
  for (std::size_t k = 0; k < lines.first.size(); ++k) text += (k > 0 ? ", " : "") + std::to_string(lines.first[k]);
  return text + (lines.count > lines.first.size() ? ", ...)" : ")");
}

// Whether the rest of the file holds another record that `read` takes: what a load stopped by
// the capacity left out.
template <typename Read>
bool AnotherRecordFollows(AsciiReader& reader, Read read) {
  while (!reader.AtEnd()) {
    reader.BeginRecord();
    const std::uint64_t before = reader.CharactersRead();
    if (read()) return true;
    if (reader.CharactersRead() == before) break;
  }
  return false;
}

void ReportReadProblems(UserPort& port, const AsciiReader& reader) {
  if (reader.ReadError()) port.ShowError(msg::ErrorReadingFile);
  if (reader.NotText()) port.ShowError(msg::NotPlainText);
}

// ---------------------------------------------------------------------------------------------
// Coordinates.

// One point as its record gives it.
struct PointRecord {
  double x = 0, y = 0, z = 0;
  std::optional<std::array<char, 4>> label;  // from an L field; else the point's own index
  std::uint64_t extraNumbersLine = 0;        // see ExtraNumberLines
};

// An N field: passes over the rest of the line, noting a line on which the record read numbers
// and left more behind (see AsciiReader::SkipToNextLine).
void EndRecordLine(AsciiReader& reader, bool numberOnLine, std::uint64_t& extraNumbersLine) {
  const std::uint64_t digitLine = reader.SkipToNextLine();
  if (numberOnLine && digitLine != 0 && extraNumbersLine == 0) extraNumbersLine = digitLine;
}

// The points a replacing load writes over, put back when the file gives no point.
struct HeldPoints {
  std::vector<double> x, y, z, cutFill;
  std::vector<model::PointLabelText> labels;
  std::vector<PointIndex> border;

  static HeldPoints Of(const SurfaceModel& m) {
    const auto end = std::size_t{m.PointCount} + 1;
    return {{m.PointX.begin(), m.PointX.begin() + end},         {m.PointY.begin(), m.PointY.begin() + end},
            {m.PointZ.begin(), m.PointZ.begin() + end},         {m.PointCutFill.begin(), m.PointCutFill.begin() + end},
            {m.PointLabel.begin(), m.PointLabel.begin() + end}, {m.BorderNext.begin(), m.BorderNext.begin() + end}};
  }
  void Restore(SurfaceModel& m) const {
    std::copy(x.begin(), x.end(), m.PointX.begin());
    std::copy(y.begin(), y.end(), m.PointY.begin());
    std::copy(z.begin(), z.end(), m.PointZ.begin());
    std::copy(cutFill.begin(), cutFill.end(), m.PointCutFill.begin());
    std::copy(labels.begin(), labels.end(), m.PointLabel.begin());
    std::copy(border.begin(), border.end(), m.BorderNext.begin());
  }
};

bool ReadCoordinateRecord(AsciiReader& reader, const FieldCodes& codes, PointRecord& point) {
  bool error = false;
  bool numberOnLine = false;
  for (const std::uint8_t code : codes) {
    switch (code) {
      case coord::Dropped:
      case coord::X:
      case coord::Y:
      case coord::Z:
      case coord::Label:
      case coord::Dummy: {
        if (error) break;
        const auto value = reader.ReadNumber();
        numberOnLine = numberOnLine || value;
        if (!value) {
          error = true;
        } else if (code == coord::X) {
          point.x = *value;
        } else if (code == coord::Y) {
          point.y = *value;
        } else if (code == coord::Z) {
          point.z = *value;
        } else if (code == coord::Label) {
          point.label = LabelFromNumber(*value);
        }
        break;
      }
      case coord::NextLine:
        // Also after an error, so that a bad line is passed over whole.
        EndRecordLine(reader, numberOnLine && !error, point.extraNumbersLine);
        numberOnLine = false;
        break;
      default:
        break;
    }
  }
  return !error;
}

bool CanReadCoordinates(const FieldCodes& codes) { return HasCode(codes, coord::X) && HasCode(codes, coord::Y); }

// The summary of a coordinate load; `count` is the number of points the model now holds. The
// capacity message comes only when the capacity left points of the file out.
void ShowCoordinateSummary(UserPort& port, const CoordinateLoad& load, const CoordinateLoadResult& result,
                           std::size_t count, const LineProblems& problems) {
  const bool full = result.cutAtCapacity;
  if (load.autoProcessActive && !full) return;
  std::string text = std::string(msg::TotalPointsLoaded) + Count(result.loaded);
  if (load.removeDuplicates) text += "\r\n" + std::string(msg::DuplicatePointsNotLoaded) + Count(result.duplicates);
  if (load.append) text += "\r\n" + std::string(msg::TotalPointsInMemory) + Count(count);
  if (result.failed > 0) text += "\r\n" + std::string(msg::LinesNotLoaded) + Count(result.failed);
  text += ExtraNumbersText(msg::ExtraNumbersLines, result.extraNumbers);
  if (!full) {
    port.ShowInfo(text + problems.Text());
    return;
  }
  port.ShowError(text + "\r\n\r\n" + std::string(msg::PointCapacityReached) + "\r\n" +
                 std::string(msg::AllPointsMayNotBeLoaded) + problems.Text());
}

void DropTriangulation(SurfaceModel& m) {
  m.TriangleCount = 0;
  m.ContourTriCount = 0;
}

// ---------------------------------------------------------------------------------------------
// Border and breaklines.

struct VertexRecord {
  double number[2] = {0, 0};
  double x[2] = {0, 0};
  double y[2] = {0, 0};
  int numbers = 0;
  int pairs = 0;
  std::uint64_t extraNumbersLine = 0;  // see ExtraNumberLines
  // Point numbers joined by hyphens ("875-876-877"), when the format holds no coordinates: the
  // record's points in order, a chain of their own.
  bool hyphenated = false;
  std::vector<double> run;
};

// Reads one border or breakline record: P a point number, A a pair as X then Y, B as Y then X,
// D a dropped number, N the rest of the line. Beyond two of a kind the last one is kept. A
// hyphen between point numbers separates them, and after the format's last P field the run of
// hyphen-joined numbers is read to its end. A failed record leaves the failed read's reason in
// the reader: nothing after it is read.
bool ReadVertexRecord(AsciiReader& reader, const FieldCodes& codes, VertexRecord& record) {
  const bool runs = CountCode(codes, vertex::EastingNorthing) + CountCode(codes, vertex::NorthingEasting) == 0;
  const auto lastNumber = std::find(codes.rbegin(), codes.rend(), vertex::PointNumber);
  bool error = false;
  bool numberOnLine = false;
  auto read = [&](double& target) {
    if (error) return;
    const auto value = reader.ReadNumber();
    if (value) {
      target = *value;
      numberOnLine = true;
    } else {
      error = true;
    }
  };
  for (auto c = codes.begin(); c != codes.end(); ++c) {
    const std::uint8_t code = *c;
    switch (code) {
      case vertex::PointNumber: {
        if (error) break;
        const int slot = std::min(record.numbers, 1);
        auto value = reader.ReadPointNumber();
        if (!value) {
          error = true;
          break;
        }
        record.number[slot] = *value;
        record.numbers = std::min(record.numbers + 1, 2);
        numberOnLine = true;
        if (!runs) break;
        record.run.push_back(*value);
        record.hyphenated = record.hyphenated || reader.JoinedToNext();
        const bool last = lastNumber != codes.rend() && c == std::prev(lastNumber.base());
        while (last && reader.JoinedToNext()) {
          value = reader.ReadPointNumber();
          if (!value) {
            error = true;
            break;
          }
          record.run.push_back(*value);
        }
        break;
      }
      case vertex::EastingNorthing:
      case vertex::NorthingEasting: {
        const int slot = std::min(record.pairs, 1);
        if (code == vertex::EastingNorthing) {
          read(record.x[slot]);
          read(record.y[slot]);
        } else {
          read(record.y[slot]);
          read(record.x[slot]);
        }
        if (!error) record.pairs = std::min(record.pairs + 1, 2);
        break;
      }
      case vertex::Dummy: {
        double dropped = 0;
        read(dropped);
        break;
      }
      case vertex::NextLine:
        EndRecordLine(reader, numberOnLine && !error, record.extraNumbersLine);
        numberOnLine = false;
        break;
      default:
        break;
    }
  }
  return !error;
}

std::string FailedLinesText(std::size_t failed) {
  return failed > 0 ? "\r\n" + std::string(msg::VertexLinesNotLoaded) + Count(failed) : std::string();
}

// The ring in its standard direction, counter-clockwise: a position beyond the extents must
// come out outside.
void MakeCounterClockwise(SurfaceModel& m) {
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start != NoPoint && tin::InsideBorder(m, start, m.MaxX + 100, m.MaxY + 100)) m.ReverseBorder();
}

std::size_t CoordinateGroups(const FieldCodes& codes) {
  return CountCode(codes, vertex::EastingNorthing) + CountCode(codes, vertex::NorthingEasting);
}

// Up to two point numbers and up to two coordinate pairs, as many of each when both are given.
bool CheckBreaklineFormat(UserPort& port, const FieldCodes& codes) {
  const std::size_t numbers = CountCode(codes, vertex::PointNumber);
  const std::size_t pairs = CoordinateGroups(codes);
  if (numbers == 0 && pairs == 0) {
    port.ShowError(msg::InsufficientBreaklineParameters);
  } else if (numbers > 0 && pairs > 0 && numbers != pairs) {
    port.ShowError(msg::UnequalBreaklineParameters);
  } else if (numbers > 2 || pairs > 2) {
    port.ShowError(msg::TooManyBreaklineParameters);
  } else {
    return true;
  }
  return false;
}

// Undirected breakline keys, for the refusal of repeated breaklines.
std::uint32_t EdgeKey(PointIndex a, PointIndex b) {
  if (a > b) std::swap(a, b);
  return (std::uint32_t{a} << 16) | b;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Formats.

LetterTable ImportLetters(AsciiKind kind) {
  if (kind == AsciiKind::Coordinates) return kCoordinateLetters;
  return kVertexLetters;
}

bool IsFormatCharacter(LetterTable letters, char c) {
  return c == ' ' || c == ',' || CodeOfLetter(letters, Upper(c)).has_value();
}

FileFormat ParseFormatText(LetterTable letters, std::string_view typed) {
  FileFormat format;
  std::size_t taken = 0;
  for (const char typedChar : typed) {
    const char c = Upper(typedChar);
    if (const auto code = CodeOfLetter(letters, c)) {
      if (taken < format.codes.size()) format.codes[taken++] = *code;
      continue;
    }
    std::string& decoration = format.decoration[taken];
    if (decoration.size() < FormatRecord::DecorationCapacity) decoration += c;
  }
  return format;
}

std::string FormatText(LetterTable letters, const FileFormat& format) {
  auto cut = [](std::string& text) {
    if (text.size() > FormatRecord::DecorationCapacity) text.resize(FormatRecord::DecorationCapacity);
  };
  std::string text = format.decoration[0];
  cut(text);
  for (std::size_t k = 0; k < format.codes.size(); ++k) {
    if (format.codes[k] == 0) continue;
    if (const char letter = LetterOfCode(letters, format.codes[k])) text += letter;
    text += format.decoration[k + 1];
    cut(text);
  }
  return text;
}

std::string_view PredefinedFormatCaption(AsciiKind kind, int entry) {
  if (entry == FormatRecord::CustomFormat) return msg::FormatCustom;
  if (entry < 0 || entry >= PredefinedFormatCount) return {};
  return kCaptions[static_cast<int>(kind)][entry];
}

FileFormat PredefinedImportFormat(AsciiKind kind, int entry) {
  FileFormat format;
  if (entry < 0 || entry >= PredefinedFormatCount) return format;
  const auto& codes = kPredefinedCodes[static_cast<int>(kind)][entry];
  std::copy(std::begin(codes), std::end(codes), format.codes.begin());
  return format;
}

const FormatRecord& ImportRecord(AsciiKind kind) {
  switch (kind) {
    case AsciiKind::Coordinates: return CoordImport;
    case AsciiKind::Border: return BorderImport;
    case AsciiKind::Breaklines: break;
  }
  return BreaklineImport;
}

FileFormat ReadFileFormat(const SettingsRecord& settings, const FormatRecord& record) {
  FileFormat format;
  for (int k = 0; k < FormatRecord::CodeCount; ++k) format.codes[static_cast<std::size_t>(k)] = settings.Get(record.Code(k));
  for (int k = 0; k < FormatRecord::DecorationCount; ++k)
    format.decoration[static_cast<std::size_t>(k)] = settings.Get(record.Decoration(k));
  return format;
}

FileFormat ChosenImportFormat(AsciiKind kind, int entry, std::string_view customText) {
  if (entry == FormatRecord::CustomFormat) return ParseFormatText(ImportLetters(kind), customText);
  return PredefinedImportFormat(kind, entry);
}

void StoreFileFormat(SettingsRecord& settings, const FormatRecord& record, int entry,
                     const FileFormat& format) {
  settings.Set(record.FormatIndex(), entry);
  for (int k = 0; k < FormatRecord::CodeCount; ++k) settings.Set(record.Code(k), format.codes[static_cast<std::size_t>(k)]);
  for (int k = 0; k < FormatRecord::DecorationCount; ++k) {
    std::string_view text = format.decoration[static_cast<std::size_t>(k)];
    settings.Set(record.Decoration(k), text.substr(0, FormatRecord::DecorationCapacity));
  }
}

// ---------------------------------------------------------------------------------------------
// The reader.

namespace {
constexpr std::size_t kChunkSize = 1 << 16;
}

AsciiReader::AsciiReader(std::istream& in, bool lineBound)
    : in_(in), buffer_(kChunkSize), lineBound_(lineBound) {}

namespace {

// Line feeds in [from, to): memchr finds each one in whole machine words, where a plain count
// goes byte by byte.
std::uint64_t Feeds(const char* from, const char* to) {
  std::uint64_t lines = 0;
  while (from < to) {
    const void* feed = std::memchr(from, '\n', static_cast<std::size_t>(to - from));
    if (!feed) break;
    ++lines;
    from = static_cast<const char*>(feed) + 1;
  }
  return lines;
}

}  // namespace

std::uint64_t AsciiReader::LinesIn(std::size_t count) {
  const char* base = buffer_.data();
  if (count >= countedTo_)
    countedLines_ += Feeds(base + countedTo_, base + count);
  else
    countedLines_ -= Feeds(base + count, base + countedTo_);
  countedTo_ = count;
  return countedLines_;
}

std::uint64_t AsciiReader::RecordLine() {
  if (recordLine_ == 0) recordLine_ = chunkLines_ + LinesIn(recordStart_) + 1;
  return recordLine_;
}

std::optional<double> AsciiReader::Refuse(const char* token, std::size_t length, Failure why) {
  failure_ = why;
  failedToken_.assign(token, std::min(length, TokenCapacity));
  if (length > TokenCapacity) failedToken_ += "...";
  return std::nullopt;
}

bool AsciiReader::Refill() {
  if (finished_) return false;
  // The record under way keeps its line; the chunk's line feeds are passed on.
  if (recordHadContent_) RecordLine();
  chunkLines_ += LinesIn(end_);
  countedTo_ = 0;
  countedLines_ = 0;
  chunkStart_ += end_;
  pos_ = 0;
  end_ = 0;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  const std::streamsize got = in_.gcount();
  if (in_.bad()) readError_ = true;
  if (got <= 0 || readError_) {
    finished_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(got);
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
  const bool utf16 = !started_ && end_ >= 2 &&
                     ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
  started_ = true;
  // Either would be misread as a stream of single digits; such a file is refused whole.
  if (utf16 || std::memchr(bytes, 0, end_) != nullptr) {
    notText_ = true;
    finished_ = true;
    end_ = 0;
    return false;
  }
  return true;
}

void AsciiReader::BeginRecord() {
  lineHasNumber_ = false;
  recordHadContent_ = false;
}

std::optional<double> AsciiReader::ReadPointNumber() {
  pointNumbers_ = true;
  const auto value = ReadNumber();
  pointNumbers_ = false;
  return value;
}

std::string AsciiReader::FailureReason() const {
  switch (failure_) {
    case Failure::None: break;
    case Failure::NotANumber: return "\"" + failedToken_ + std::string(msg::NotANumberSuffix);
    case Failure::TooLarge: return "\"" + failedToken_ + std::string(msg::TooLargeSuffix);
    case Failure::LineEnded: return std::string(msg::LineEndsTooSoon);
    case Failure::FileEnded: return std::string(msg::FileEndsTooSoon);
  }
  return {};
}

std::optional<double> AsciiReader::ReadNumber() {
  const bool stopAtLineEnd = lineBound_ && lineHasNumber_;
  const bool pointNumber = pointNumbers_;
  failure_ = Failure::None;
  joined_ = false;
  // The number before ended this record's line.
  if (stopAtLineEnd && IsLineEnd(current_)) {
    failure_ = Failure::LineEnded;
    return std::nullopt;
  }

  // The buffer is walked with local pointers (the compiler cannot keep members in registers
  // across the character stores below) and refilled when it runs out.
  const char* p = buffer_.data() + pos_;
  const char* e = buffer_.data() + end_;
  auto atEnd = [&] {
    if (p < e) return false;
    pos_ = end_;
    const bool more = Refill();
    p = buffer_.data() + pos_;
    e = buffer_.data() + end_;
    return !more;
  };

  // Separators: anything that cannot start a number.
  char c = current_;
  bool found = false;
  while (!atEnd()) {
    c = *p++;
    if (IsStartChar(c)) {
      found = true;
      break;
    }
    if (stopAtLineEnd && IsLineEnd(c)) break;
  }
  current_ = c;
  if (!found) {
    pos_ = static_cast<std::size_t>(p - buffer_.data());
    failure_ = stopAtLineEnd && IsLineEnd(c) ? Failure::LineEnded : Failure::FileEnded;
    return std::nullopt;
  }
  lineHasNumber_ = true;
  if (!recordHadContent_) {
    recordStart_ = static_cast<std::size_t>(p - 1 - buffer_.data());
    recordLine_ = 0;
  }
  recordHadContent_ = true;

  // The token: start characters and exponent letters. The character that ends it is read and
  // becomes CurrentChar; at the end of the file the last start character still belongs to it.
  // A plain decimal (sign, digits, point, at most three decimals) is converted on the way;
  // anything else goes through the full conversion.
  char token[TokenCapacity];
  std::size_t length = 0;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int decimals = -1;  // -1 until the point
  bool plain = true;
  auto append = [&](char ch, CharClass k) {
    if (length < TokenCapacity) token[length] = ch;
    if (k == Digit) {
      mantissa = mantissa * 10 + static_cast<unsigned>(ch - '0');
      ++digits;
      if (decimals >= 0) ++decimals;
    } else if (k == Point && decimals < 0) {
      decimals = 0;
    } else if (!(k == Sign && length == 0)) {
      plain = false;
    }
    ++length;
  };
  char previous = 0;
  for (;;) {
    const CharClass k = ClassOf(c);
    // Point numbers joined by a hyphen ("213-214"): the hyphen ends the first one.
    if (pointNumber && c == '-' && IsDigit(previous)) {
      joined_ = true;
      break;
    }
    if (atEnd()) {
      if (k != Separator && k != Exponent) append(c, k);
      break;
    }
    if (k == Separator) break;
    append(c, k);
    previous = c;
    c = *p++;
  }
  pos_ = static_cast<std::size_t>(p - buffer_.data());
  current_ = c;
  if (length > TokenCapacity) return Refuse(token, length, Failure::NotANumber);
  if (plain && digits > 0 && digits <= 15 && decimals <= 3) {
    // Both operands are exact, so the one correctly rounded division gives the double nearest
    // the decimal, as a full conversion would; it is at three decimals already.
    constexpr double kPowers[] = {1, 10, 100, 1000};
    const double value = static_cast<double>(mantissa) / kPowers[std::max(decimals, 0)];
    if (value > MaxMagnitude) return Refuse(token, length, Failure::TooLarge);
    return token[0] == '-' ? -value : value;
  }
  bool tooLarge = false;
  const auto value = ConvertToken(token, length, tooLarge);
  return value ? value : Refuse(token, length, tooLarge ? Failure::TooLarge : Failure::NotANumber);
}

std::uint64_t AsciiReader::SkipToNextLine() {
  // A digit passed over is another number on the line, unless it belongs to a word that starts
  // with a letter (a point code such as "CP1" or "MH-3"; words end at blanks, commas and
  // semicolons). What is glued to the number read last counts all the same ("0x10").
  std::uint64_t numberLine = 0;
  if (!IsLineEnd(current_)) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == ';'; };
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    bool glued = lineHasNumber_ && !blank(current_);
    bool wordStarts = blank(current_);
    bool inLetterWord = false;
    while (!AtEnd()) {
      current_ = Take();
      if (IsLineEnd(current_)) break;
      if (blank(current_)) {
        glued = false;
        wordStarts = true;
        continue;
      }
      if (wordStarts) inLetterWord = letter(current_);
      wordStarts = false;
      if (numberLine == 0 && IsDigit(current_) && (glued || !inLetterWord)) numberLine = LineNumber();
    }
  }
  lineHasNumber_ = false;
  return numberLine;
}

std::uint64_t AsciiReader::LineNumber() {
  // Counted only when asked, and up to the characters read: reading stays as fast as before.
  // The character that ended the last token may be the line feed itself: it still belongs to
  // the line it ends.
  return chunkLines_ + LinesIn(std::min(pos_, end_)) + (current_ == '\n' ? 0 : 1);
}

std::array<char, 4> LabelFromNumber(double value) {
  // Written with no decimals: rounded half to even, as the formatting does.
  const double whole = std::nearbyint(value);
  char digits[32];
  std::string wide;
  std::string_view text;
  if (std::fabs(whole) < 1e15) {
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<std::int64_t>(whole));
    text = std::string_view(digits, static_cast<std::size_t>(written.ptr - digits));
  } else {
    wide = FormatReal(whole, 0, 0);
    text = wide;
  }
  std::array<char, 4> label;
  label.fill(' ');
  const std::size_t keep = std::min<std::size_t>(text.size(), label.size());
  std::copy(text.end() - static_cast<std::ptrdiff_t>(keep), text.end(), label.end() - static_cast<std::ptrdiff_t>(keep));
  return label;
}

// ---------------------------------------------------------------------------------------------
// Coordinates.

CoordinateLoadResult LoadCoordinateFile(Session& session, const fs::path& file, const CoordinateLoad& load) {
  const FieldCodes codes = ReadFileFormat(session.settings, CoordImport).codes;
  if (!CanReadCoordinates(codes)) {
    session.port.ShowError(msg::InsufficientCoordinateParameters);
    return {.status = LoadStatus::FormatRefused};
  }
  std::ifstream in;
  if (!IsReadable(session.port, file, in)) {
    const std::size_t count = load.append ? session.model.PointCount : 0;
    ShowCoordinateSummary(session.port, load, CoordinateLoadResult{}, count, {});
    session.port.ShowWarning(msg::UnableToLoadCoordinateFile);
    return {.status = LoadStatus::NotOpened};
  }
  return LoadCoordinates(session, in, codes, load);
}

CoordinateLoadResult LoadCoordinates(Session& session, std::istream& in, const FieldCodes& codes,
                                     const CoordinateLoad& load) {
  SurfaceModel& m = session.model;
  UserPort& port = session.port;
  CoordinateLoadResult result;
  if (!CanReadCoordinates(codes)) {
    port.ShowError(msg::InsufficientCoordinateParameters);
    result.status = LoadStatus::FormatRefused;
    return result;
  }
  if (!m.IsAllocated()) return result;

  const std::size_t start = load.append ? std::min(m.PointCount, m.MaxPoints) : 0;
  const std::size_t room = m.MaxPoints - start;
  // New points go straight into the slots from start + 1; the counts change only at the end.
  // Replacing writes over the old points, so they are kept aside until the file has given at
  // least one point.
  std::optional<HeldPoints> held;
  if (!load.append && m.PointCount > 0) held = HeldPoints::Of(m);

  // Points already held take part in the duplicate check when appending.
  PointGrid placed(1000.0, load.removeDuplicates ? start + std::min<std::size_t>(room, 1 << 16) : 0);
  if (load.removeDuplicates)
    for (PointIndex i = 1; i <= start; ++i) placed.Add(m.PointX[i], m.PointY[i], i);
  auto isDuplicate = [&](double x, double y) {
    bool duplicate = false;
    placed.ForEachNear(x, y, kSamePlaceReach, [&](double px, double py, PointIndex) {
      if (tin::SamePlace(px, py, x, y)) duplicate = true;
    });
    return duplicate;
  };

  AsciiReader reader(in, HasCode(codes, coord::NextLine));
  LineProblems problems;
  std::size_t kept = 0;
  port.BeginProgress(std::string(msg::LoadingCoordinatePrefix) + FormatInteger(0, 6), false);
  while (kept < room && !reader.AtEnd()) {
    reader.BeginRecord();
    const std::uint64_t before = reader.CharactersRead();
    PointRecord point;
    if (!ReadCoordinateRecord(reader, codes, point)) {
      // The failed read's reason stands: the rest of a failed record reads nothing.
      if (reader.RecordHadContent()) {
        ++result.failed;
        problems.Add(reader.RecordLine(), reader.FailureReason());
      }
      if (reader.CharactersRead() == before) break;  // nothing left that a record could take
      continue;
    }
    if (point.extraNumbersLine != 0) result.extraNumbers.Add(point.extraNumbersLine);
    // Every number is at thousandths already (ReadNumber rounds them), which is what rounding
    // the record's X, Y and Z once more would give.
    const auto i = static_cast<PointIndex>(start + kept + 1);
    if (load.removeDuplicates && i > 1 && isDuplicate(point.x, point.y)) {
      ++result.duplicates;
      continue;
    }
    if (load.removeDuplicates) placed.Add(point.x, point.y, i);
    m.PointX[i] = point.x;
    m.PointY[i] = point.y;
    m.PointZ[i] = point.z;
    m.PointCutFill[i] = 0;
    m.BorderNext[i] = NoPoint;
    m.PointLabel[i] = point.label ? *point.label : LabelFromNumber(i);
    ++kept;
  }
  // Full: whether the file had more to give.
  if (kept == room && !reader.NotText())
    result.cutAtCapacity = AnotherRecordFollows(reader, [&] {
      PointRecord more;
      return ReadCoordinateRecord(reader, codes, more) && !(load.removeDuplicates && isDuplicate(more.x, more.y));
    });
  port.EndProgress();

  if (reader.ReadError()) port.ShowError(msg::ErrorReadingFile);
  if (reader.NotText()) kept = 0;
  if (kept == 0 && held) held->Restore(m);
  if (reader.NotText()) {
    port.ShowError(msg::NotPlainText);
    result = {.status = LoadStatus::NotText};
    return result;
  }

  result.loaded = kept;
  if (kept > 0) {
    if (!load.append) {
      // The old breaklines and cut/fill values belonged to the old points.
      m.BreaklineCount = 0;
      m.CutFillCount = 0;
    }
    DropTriangulation(m);
    m.PointCount = static_cast<std::uint16_t>(start + kept);
  }

  const std::size_t count = start + kept;
  ShowCoordinateSummary(port, load, result, count, problems);

  if (kept == 0) {
    port.ShowWarning(msg::UnableToLoadCoordinateFile);
    result.status = LoadStatus::NothingLoaded;
    return result;
  }
  if (load.append && m.IsBordered()) port.ShowWarning(msg::CurrentBorderMayBeInvalid);
  session.settings.Set(settings::View3DOptions::View3D, false);
  model::MarkModified(session);
  result.status = LoadStatus::Loaded;
  return result;
}

// ---------------------------------------------------------------------------------------------
// Border.

BorderLoadResult LoadBorderFile(Session& session, const fs::path& file, const VertexLoad& load) {
  const FieldCodes codes = ReadFileFormat(session.settings, BorderImport).codes;
  if (!HasCode(codes, vertex::PointNumber) && !HasCode(codes, vertex::EastingNorthing) &&
      !HasCode(codes, vertex::NorthingEasting)) {
    session.port.ShowError(msg::InsufficientBorderParameters);
    return {.status = LoadStatus::FormatRefused};
  }
  std::ifstream in;
  if (!IsReadable(session.port, file, in)) return {.status = LoadStatus::NotOpened};
  VertexLoad stored = load;
  stored.matchNumbersToLabels = session.settings.Get(BorderImport.MatchNumbersToLabels());
  return LoadBorder(session, in, codes, stored);
}

BorderLoadResult LoadBorder(Session& session, std::istream& in, const FieldCodes& codes, const VertexLoad& load) {
  SurfaceModel& m = session.model;
  UserPort& port = session.port;
  BorderLoadResult result;
  const bool hasNumber = HasCode(codes, vertex::PointNumber);
  const bool hasCoordinates = HasCode(codes, vertex::EastingNorthing) || HasCode(codes, vertex::NorthingEasting);
  if (!hasNumber && !hasCoordinates) {
    port.ShowError(msg::InsufficientBorderParameters);
    result.status = LoadStatus::FormatRefused;
    return result;
  }
  if (!m.IsAllocated()) return result;

  // The ring is collected first and linked at the end, each point once: a point linked twice
  // would leave a lasso that no walk along the ring could leave.
  std::vector<PointIndex> ring;
  std::vector<std::uint8_t> onRing(std::size_t{m.PointCount} + 1, 0);
  bool closingRepeatSeen = false;  // the first point again; fine when nothing follows it
  std::uint64_t closingRepeatLine = 0;

  NearestPointFinder finder(m);
  PointNumbers numbers(m, load.matchNumbersToLabels);
  LineProblems problems;
  AsciiReader reader(in, HasCode(codes, vertex::NextLine));
  auto take = [&](double number, double x, double y) {
    ++result.read;
    std::string reason;
    const PointIndex q = ResolveVertex(m, finder, numbers, hasNumber, hasCoordinates, number, x, y, reason);
    if (q == NoPoint) {
      ++result.invalid;
      problems.Add(reader.RecordLine(), std::move(reason));
      return;
    }
    if (onRing[q]) {
      if (q == ring.front() && !closingRepeatSeen) {
        closingRepeatSeen = true;
        closingRepeatLine = reader.RecordLine();
      } else {
        ++result.invalid;
        problems.Add(reader.RecordLine(), std::string(msg::PointAlreadyOnRing));
      }
      return;
    }
    if (closingRepeatSeen) {
      // The first point came back in the middle of the ring.
      ++result.invalid;
      problems.Add(closingRepeatLine, std::string(msg::PointAlreadyOnRing));
      closingRepeatSeen = false;
    }
    onRing[q] = 1;
    ring.push_back(q);
  };
  while (!reader.AtEnd()) {
    reader.BeginRecord();
    const std::uint64_t before = reader.CharactersRead();
    VertexRecord record;
    if (!ReadVertexRecord(reader, codes, record)) {
      if (reader.RecordHadContent()) {
        ++result.failed;
        problems.Add(reader.RecordLine(), reader.FailureReason());
      }
      if (reader.CharactersRead() == before) break;
      continue;
    }
    if (record.extraNumbersLine != 0) result.extraNumbers.Add(record.extraNumbersLine);
    if (record.hyphenated) {
      for (const double number : record.run) take(number, 0, 0);
      continue;
    }
    // Of repeated fields the last one counts.
    const int n = std::max(record.numbers, 1) - 1;
    const int c = std::max(record.pairs, 1) - 1;
    take(record.number[n], record.x[c], record.y[c]);
  }

  ReportReadProblems(port, reader);
  if (reader.NotText()) return {.status = LoadStatus::NotText};

  result.accepted = ring.size();
  if (!load.autoProcessActive) {
    std::string text;
    if (result.invalid > 0) {
      text = std::string(msg::TotalBorderRecordsLoaded) + Count(result.read) + "\r\n" +
             std::string(msg::TotalBorderPoints) + Count(result.accepted) + "\r\n" +
             std::string(msg::InvalidBorderPoints) + Count(result.invalid);
    } else {
      text = std::string(msg::TotalBorderPoints) + Count(result.accepted);
    }
    port.ShowInfo(text + FailedLinesText(result.failed) +
                  ExtraNumbersText(msg::VertexExtraNumbersLines, result.extraNumbers) + problems.Text());
  }
  if (ring.empty()) {
    result.status = LoadStatus::NothingLoaded;
    return result;
  }

  for (std::size_t i = 0; i <= m.PointCount; ++i) m.BorderNext[i] = NoPoint;
  // A single point is not linked to itself: that is no ring, just a trap for walks.
  if (ring.size() >= 2)
    for (std::size_t k = 0; k < ring.size(); ++k) m.BorderNext[ring[k]] = ring[(k + 1) % ring.size()];
  DropTriangulation(m);
  model::MarkModified(session);
  result.status = LoadStatus::Loaded;

  // The links form exactly one cycle through the accepted points, so the ring is valid when it
  // has at least three of them.
  result.ringValid = ring.size() >= 3;
  if (!result.ringValid) {
    port.ShowWarning(msg::NewBorderMayBeInvalid);
    return result;
  }
  model::ComputeExtents(m, session.settings);
  MakeCounterClockwise(m);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Breaklines.

BreaklineLoadResult LoadBreaklineFile(Session& session, const fs::path& file, const VertexLoad& load) {
  const FieldCodes codes = ReadFileFormat(session.settings, BreaklineImport).codes;
  if (!CheckBreaklineFormat(session.port, codes)) return {.status = LoadStatus::FormatRefused};
  std::ifstream in;
  if (!IsReadable(session.port, file, in)) return {.status = LoadStatus::NotOpened};
  VertexLoad stored = load;
  stored.matchNumbersToLabels = session.settings.Get(BreaklineImport.MatchNumbersToLabels());
  return LoadBreaklines(session, in, codes, stored);
}

BreaklineLoadResult LoadBreaklines(Session& session, std::istream& in, const FieldCodes& codes,
                                   const VertexLoad& load) {
  SurfaceModel& m = session.model;
  UserPort& port = session.port;
  BreaklineLoadResult result;

  if (!CheckBreaklineFormat(port, codes)) {
    result.status = LoadStatus::FormatRefused;
    return result;
  }
  if (!m.IsAllocated()) return result;
  const std::size_t numbers = CountCode(codes, vertex::PointNumber);
  const std::size_t pairs = CoordinateGroups(codes);

  // One vertex per record: consecutive vertices form a chain of breaklines. Otherwise each
  // record gives both ends of one breakline.
  const bool chain = numbers == 1 || pairs == 1;
  const std::size_t capacity = m.MaxBreaklines;
  const std::size_t before = std::min<std::size_t>(m.BreaklineCount, capacity);

  std::unordered_set<std::uint32_t> existing;
  for (std::size_t b = 1; b <= before; ++b) existing.insert(EdgeKey(m.Breaklines[b].From, m.Breaklines[b].To));

  // Slot k is being filled; a slot is cleared when it becomes current, so nothing of an
  // earlier model survives in it.
  std::size_t k = before + 1;
  auto makeCurrent = [&](std::size_t slot) { m.Breaklines[slot] = {}; };
  makeCurrent(k);
  bool sideIsTo = false;

  NearestPointFinder finder(m);
  PointNumbers pointNumbers(m, load.matchNumbersToLabels);
  LineProblems problems;
  AsciiReader reader(in, HasCode(codes, vertex::NextLine));

  // Takes q as the next endpoint of slot k; false, counted and named, when it cannot be one.
  auto offer = [&](PointIndex q, std::string reason, bool chained) {
    const PointIndex from = m.Breaklines[k].From;
    if (q != NoPoint && sideIsTo && (q == from || existing.contains(EdgeKey(from, q)))) {
      reason = q == from ? msg::BreaklineEndsCoincide : msg::BreaklineRepeated;
      q = NoPoint;
    }
    if (q == NoPoint) {
      ++result.invalid;
      problems.Add(reader.RecordLine(), std::move(reason));
      return false;
    }
    if (!sideIsTo) {
      m.Breaklines[k].From = q;
      sideIsTo = true;
      return true;
    }
    m.Breaklines[k].To = q;
    existing.insert(EdgeKey(from, q));
    ++k;
    if (k <= capacity + 1) makeCurrent(k);
    if (chained && k <= capacity) {
      m.Breaklines[k].From = q;  // the next vertex ends the next breakline
    } else {
      sideIsTo = false;
    }
    return true;
  };

  while (k <= capacity && !reader.AtEnd()) {
    reader.BeginRecord();
    const std::uint64_t charsBefore = reader.CharactersRead();
    VertexRecord record;
    if (!ReadVertexRecord(reader, codes, record)) {
      if (reader.RecordHadContent()) {
        ++result.failed;
        problems.Add(reader.RecordLine(), reader.FailureReason());
        sideIsTo = false;  // a bad line ends the chain rather than joining its neighbours
      }
      if (reader.CharactersRead() == charsBefore) break;
      continue;
    }
    if (record.extraNumbersLine != 0) result.extraNumbers.Add(record.extraNumbersLine);
    if (record.hyphenated) {
      // A chain of its own: past a point that cannot be used it starts again, past a segment
      // that cannot be added it goes on from that segment's end.
      sideIsTo = false;
      for (std::size_t j = 0; j < record.run.size() && k <= capacity; ++j) {
        std::string reason;
        const PointIndex q = ResolveVertex(m, finder, pointNumbers, true, false, record.run[j], 0, 0, reason);
        if (offer(q, std::move(reason), true)) continue;
        if (q == NoPoint) {
          sideIsTo = false;  // the chain starts again at the next usable point
        } else {
          m.Breaklines[k].From = q;  // and goes on from the end of a segment it could not add
        }
      }
      sideIsTo = false;
      continue;
    }
    bool recordFailed = false;
    const int endpoints = std::max(record.numbers, record.pairs);
    for (int j = 0; j < endpoints && k <= capacity; ++j) {
      std::string reason;
      const PointIndex q = ResolveVertex(m, finder, pointNumbers, numbers > 0, pairs > 0, record.number[j],
                                         record.x[j], record.y[j], reason);
      if (!offer(q, std::move(reason), chain)) recordFailed = true;
    }
    // An unfinished breakline is abandoned; in a chain the next usable record starts anew.
    if (recordFailed) sideIsTo = false;
  }

  // Full: whether the file had another vertex to give.
  if (k > capacity && !reader.NotText())
    result.cutAtCapacity = AnotherRecordFollows(reader, [&] {
      VertexRecord more;
      std::string reason;
      return ReadVertexRecord(reader, codes, more) &&
             ResolveVertex(m, finder, pointNumbers, numbers > 0, pairs > 0, more.number[0], more.x[0], more.y[0],
                           reason) != NoPoint;
    });

  ReportReadProblems(port, reader);
  if (reader.NotText()) {
    m.BreaklineCount = static_cast<std::uint16_t>(before);
    return {.status = LoadStatus::NotText};
  }

  // Slot k is unfinished (or, past the capacity, unused): the breaklines below it are complete.
  const std::size_t count = k - 1;
  m.Breaklines[k] = {};
  m.BreaklineCount = static_cast<std::uint16_t>(count);
  result.added = count - before;

  std::string text = std::string(msg::TotalBreaklinesInMemory) + Count(count);
  if (result.invalid > 0) text += "\r\n" + std::string(msg::InvalidBreaklinesNotLoaded) + Count(result.invalid);
  text += FailedLinesText(result.failed);
  text += ExtraNumbersText(msg::VertexExtraNumbersLines, result.extraNumbers);
  if (result.cutAtCapacity) {
    port.ShowError(text + "\r\n\r\n" + std::string(msg::BreaklineCapacityReached) + "\r\n" +
                   std::string(msg::AllBreaklinesMayNotBeLoaded) + problems.Text());
  } else if (!load.autoProcessActive) {
    port.ShowInfo(text + problems.Text());
  }

  if (result.added == 0) {
    result.status = LoadStatus::NothingLoaded;
    return result;
  }
  DropTriangulation(m);
  model::MarkModified(session);
  result.status = LoadStatus::Loaded;
  return result;
}

}  // namespace terravue::exchange

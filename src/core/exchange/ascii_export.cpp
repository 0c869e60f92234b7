#include "exchange/ascii_export.h"

#include <algorithm>
#include <optional>

#include "common/format.h"
#include "common/messages.h"
#include "common/safe_file.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/border.h"

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;
using model::SurfaceModel;

constexpr LetterCode kCoordinateLetters[] = {
    {'P', export_coord::PointNumber}, {'L', export_coord::Label}, {'X', export_coord::X},
    {'Y', export_coord::Y},           {'Z', export_coord::Z},     {'G', export_coord::Dummy},
    {'N', export_coord::NextLine}};
constexpr LetterCode kVertexLetters[] = {
    {'A', export_vertex::XY},    {'B', export_vertex::YX},         {'C', export_vertex::XYZ},
    {'D', export_vertex::YXZ},   {'P', export_vertex::PointNumber}, {'G', export_vertex::Dummy},
    {'N', export_vertex::NextLine}};

constexpr std::string_view kComma = ", ";

// A code and the text written after it.
struct CodeAfter {
  std::uint8_t code;
  std::string_view after;
};

FileFormat MakeFormat(std::initializer_list<CodeAfter> fields) {
  FileFormat format;
  std::size_t k = 0;
  for (const CodeAfter& field : fields) {
    format.codes[k] = field.code;
    format.decoration[k + 1] = field.after;
    ++k;
  }
  return format;
}

FileFormat PredefinedCoordinates(int entry) {
  using namespace export_coord;
  switch (entry) {
    case 0: return MakeFormat({{Y, kComma}, {X, kComma}, {Z, ""}, {NextLine, ""}});
    case 1: return MakeFormat({{X, kComma}, {Y, kComma}, {Z, ""}, {NextLine, ""}});
    case 2: return MakeFormat({{PointNumber, kComma}, {Y, kComma}, {X, kComma}, {Z, ""}, {NextLine, ""}});
    case 3: return MakeFormat({{PointNumber, kComma}, {X, kComma}, {Y, kComma}, {Z, ""}, {NextLine, ""}});
    default: return {};
  }
}

FileFormat PredefinedBorder(int entry) {
  using namespace export_vertex;
  switch (entry) {
    case 0: return MakeFormat({{YX, kComma}, {NextLine, ""}});
    case 1: return MakeFormat({{XY, kComma}, {NextLine, ""}});
    case 2: return MakeFormat({{PointNumber, kComma}, {YX, kComma}, {NextLine, ""}});
    case 3: return MakeFormat({{PointNumber, kComma}, {XY, kComma}, {NextLine, ""}});
    default: return {};
  }
}

FileFormat PredefinedBreaklines(int entry) {
  using namespace export_vertex;
  switch (entry) {
    case 0: return MakeFormat({{YX, kComma}, {YX, kComma}, {NextLine, ""}});
    case 1: return MakeFormat({{XY, kComma}, {XY, kComma}, {NextLine, ""}});
    case 2: return MakeFormat({{PointNumber, kComma}, {PointNumber, ""}, {NextLine, ""}});
    case 3: return MakeFormat({{PointNumber, kComma}, {YX, kComma}, {NextLine, ""}});
    default: return {};
  }
}

std::string Real(double v) { return FormatReal(v, 0, 3); }
std::string Integer(std::size_t n) { return FormatInteger(static_cast<std::int64_t>(n), 0); }

bool IsGroup(std::uint8_t code) { return code >= export_vertex::XY && code <= export_vertex::YXZ; }

// Writing one coordinate record: every decoration follows its code, also after N and unused
// codes.
void AppendCoordinateRecord(std::string& out, const SurfaceModel& m, const FileFormat& f, PointIndex i) {
  out += f.decoration[0];
  for (std::size_t k = 0; k < f.codes.size(); ++k) {
    switch (f.codes[k]) {
      case export_coord::PointNumber: out += Integer(i); break;
      case export_coord::X: out += Real(m.PointX[i]); break;
      case export_coord::Y: out += Real(m.PointY[i]); break;
      case export_coord::Z: out += Real(m.PointZ[i]); break;
      case export_coord::Label: out.append(m.PointLabel[i].begin(), m.PointLabel[i].end()); break;
      case export_coord::Dummy: out += '0'; break;
      case export_coord::NextLine: out += "\r\n"; break;
      default: break;
    }
    out += f.decoration[k + 1];
  }
}

// Writing one border or breakline record. The k-th P names numbered[k], the k-th coordinate
// group places placed[k]. A decoration in front of N is left out, so lines end without a
// trailing separator; inside a group the numbers are separated by the decoration after the
// letter, else the one before it, else a blank.
void AppendVertexRecord(std::string& out, const SurfaceModel& m, const FileFormat& f,
                        const PointIndex (&numbered)[2], const PointIndex (&placed)[2]) {
  std::size_t numbers = 0;
  std::size_t groups = 0;
  out += f.decoration[0];
  for (std::size_t k = 0; k < f.codes.size(); ++k) {
    const std::uint8_t code = f.codes[k];
    if (code == export_vertex::PointNumber) {
      out += Integer(numbered[std::min<std::size_t>(numbers++, 1)]);
    } else if (IsGroup(code)) {
      const PointIndex i = placed[std::min<std::size_t>(groups++, 1)];
      const std::string& after = f.decoration[k + 1];
      const std::string& before = f.decoration[k];
      const std::string_view separator = !after.empty()    ? std::string_view(after)
                                         : !before.empty() ? std::string_view(before)
                                                           : std::string_view(" ");
      const bool xFirst = code == export_vertex::XY || code == export_vertex::XYZ;
      out += Real(xFirst ? m.PointX[i] : m.PointY[i]);
      out += separator;
      out += Real(xFirst ? m.PointY[i] : m.PointX[i]);
      if (code == export_vertex::XYZ || code == export_vertex::YXZ) {
        out += separator;
        out += Real(m.PointZ[i]);
      }
    } else if (code == export_vertex::Dummy) {
      out += '0';
    } else if (code == export_vertex::NextLine) {
      out += "\r\n";
    }
    if (k + 1 < f.codes.size() && f.codes[k + 1] != export_vertex::NextLine) out += f.decoration[k + 1];
  }
}

using Builder = ExportStatus (*)(const SurfaceModel&, const FileFormat&, std::string&, std::size_t&);

ExportStatus Export(Session& session, const fs::path& file, AsciiKind kind, Builder build,
                    std::string_view summary) {
  const FileFormat format = ReadFileFormat(session.settings, ExportRecord(kind));
  std::string text;
  std::size_t records = 0;
  ExportStatus status = build(session.model, format, text, records);
  switch (status) {
    case ExportStatus::Written: break;
    case ExportStatus::BorderInvalid: session.port.ShowError(msg::BorderIsInvalid); return status;
    case ExportStatus::FormatRefused: session.port.ShowError(msg::TooManyBreaklineParameters); return status;
    case ExportStatus::BadReference: session.port.ShowError(msg::BreaklineEndNotAPoint); return status;
    case ExportStatus::WriteFailed: break;
  }
  if (const std::optional<FileProblem> problem = WriteWholeFile(file, text)) {
    session.port.ShowFileError(msg::FileManagementError, *problem);
    return ExportStatus::WriteFailed;
  }
  session.port.ShowInfo(std::string(summary) + Integer(records));
  return ExportStatus::Written;
}

}  // namespace

LetterTable ExportLetters(AsciiKind kind) {
  if (kind == AsciiKind::Coordinates) return kCoordinateLetters;
  return kVertexLetters;
}

FileFormat PredefinedExportFormat(AsciiKind kind, int entry) {
  switch (kind) {
    case AsciiKind::Coordinates: return PredefinedCoordinates(entry);
    case AsciiKind::Border: return PredefinedBorder(entry);
    case AsciiKind::Breaklines: break;
  }
  return PredefinedBreaklines(entry);
}

FileFormat ChosenExportFormat(AsciiKind kind, int entry, std::string_view customText) {
  if (entry == FormatRecord::CustomFormat) return ParseFormatText(ExportLetters(kind), customText);
  return PredefinedExportFormat(kind, entry);
}

const FormatRecord& ExportRecord(AsciiKind kind) {
  switch (kind) {
    case AsciiKind::Coordinates: return CoordExport;
    case AsciiKind::Border: return BorderExport;
    case AsciiKind::Breaklines: break;
  }
  return BreaklineExport;
}

ExportStatus BuildCoordinateText(const SurfaceModel& m, const FileFormat& format, std::string& out,
                                 std::size_t& records) {
  records = 0;
  for (PointIndex i = 1; i <= m.PointCount; ++i) AppendCoordinateRecord(out, m, format, i);
  records = m.PointCount;
  return ExportStatus::Written;
}

ExportStatus BuildBorderText(const SurfaceModel& m, const FileFormat& format, std::string& out,
                             std::size_t& records) {
  records = 0;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return ExportStatus::Written;
  std::string text;
  PointIndex i = start;
  do {
    // More records than points means the walk is caught in a loop that misses the start.
    if (i == NoPoint || i > m.PointCount || records >= m.PointCount) return ExportStatus::BorderInvalid;
    AppendVertexRecord(text, m, format, {i, i}, {i, i});
    ++records;
    i = m.BorderNext[i];
  } while (i != start);
  out += text;
  return ExportStatus::Written;
}

ExportStatus BuildBreaklineText(const SurfaceModel& m, const FileFormat& format, std::string& out,
                                std::size_t& records) {
  records = 0;
  const auto count = [&](std::uint8_t code) {
    return static_cast<std::size_t>(std::count(format.codes.begin(), format.codes.end(), code));
  };
  const std::size_t numbers = count(export_vertex::PointNumber);
  const std::size_t groups = count(export_vertex::XY) + count(export_vertex::YX) + count(export_vertex::XYZ) +
                             count(export_vertex::YXZ);
  // A third P or group would name the next breakline's ends: no defined output.
  if (numbers > 2 || groups > 2) return ExportStatus::FormatRefused;
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
    const auto [from, to] = m.Breaklines[b];
    if (from == NoPoint || from > m.PointCount || to == NoPoint || to > m.PointCount)
      return ExportStatus::BadReference;
  }

  // One point per line: the chain's last point is written twice, which ends the chain when the
  // file is read back.
  const bool chain = numbers == 1 || count(export_vertex::XY) + count(export_vertex::YX) == 1;
  std::string text;
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
    const auto [from, to] = m.Breaklines[b];
    AppendVertexRecord(text, m, format, {from, to}, {from, to});
    const bool chainEnds = b == m.BreaklineCount || m.Breaklines[b + 1].From != to;
    if (chain && chainEnds) {
      AppendVertexRecord(text, m, format, {to, to}, {to, to});
      AppendVertexRecord(text, m, format, {to, to}, {to, to});
    }
  }
  records = m.BreaklineCount;
  out += text;
  return ExportStatus::Written;
}

ExportStatus ExportCoordinateFile(Session& session, const fs::path& file) {
  return Export(session, file, AsciiKind::Coordinates, BuildCoordinateText, msg::TotalPointsSaved);
}

ExportStatus ExportBorderFile(Session& session, const fs::path& file) {
  return Export(session, file, AsciiKind::Border, BuildBorderText, msg::TotalBorderPointsSaved);
}

ExportStatus ExportBreaklineFile(Session& session, const fs::path& file) {
  return Export(session, file, AsciiKind::Breaklines, BuildBreaklineText, msg::TotalBreaklinesSaved);
}

bool CanExport(Session& session, AsciiKind kind) {
  const SurfaceModel& m = session.model;
  UserPort& port = session.port;
  if (kind == AsciiKind::Breaklines) {
    if (m.BreaklineCount > 0) return true;
    port.ShowError(msg::NoBreaklinesToSave);
    return false;
  }
  if (m.PointCount == 0) {
    port.ShowError(msg::NoDataToSave);
    return false;
  }
  if (kind == AsciiKind::Border) {
    const tin::BorderCheck ring = tin::CheckBorder(m, 1, m.PointCount);
    if (ring == tin::BorderCheck::None) {
      port.ShowError(msg::NoBorderToSave);
      return false;
    }
    if (ring == tin::BorderCheck::Invalid) {
      port.ShowError(msg::CurrentBorderCannotBeSaved);
      return false;
    }
  }
  return true;
}

}  // namespace terravue::exchange

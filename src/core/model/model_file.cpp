#include "model/model_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/surface_model.h"

namespace terravue::model {
namespace {

// Layout: magic, comment, (two spare bytes in type 2), points as whole arrays (X, Y, Z, border
// links, labels), "TRI" + triangles, "BRK" + breaklines, and in types other than 2 "CFD" +
// cut/fill values. Integers are little-endian u16, reals little-endian IEEE f64.
constexpr std::size_t MagicSize = 5;
constexpr std::size_t CommentBlockSize = 1 + SurfaceModel::CommentLength;
constexpr std::size_t SpareSize = 2;
constexpr std::string_view TriangleTag = "TRI";
constexpr std::string_view BreaklineTag = "BRK";
constexpr std::string_view CutFillTag = "CFD";

std::string_view TypeTag(int fileType) {
  switch (fileType) {
    case ModelFileTypeMdl: return "MDL";
    case ModelFileTypeMdv: return "MDV";
    default: return "MDX";
  }
}

std::string Magic(int fileType) {
  return std::string(TypeTag(fileType)) + "\r\n";
}

bool HasCutFillSection(int fileType) {
  return fileType != ModelFileTypeMdl;
}

std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

double LoadF64(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int k = 7; k >= 0; --k) bits = (bits << 8) | p[k];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// ---------------------------------------------------------------------------------------------
// Reading

class ModelReader {
 public:
  ModelReader(SurfaceModel& model, std::istream& in, PointIndex firstPoint, TriangleIndex firstTriangle,
              int fileType, BreaklineIndex firstBreakline)
      : m_(model),
        in_(in),
        firstPoint_(firstPoint),
        firstTriangle_(firstTriangle),
        fileType_(fileType),
        firstBreakline_(firstBreakline) {}

  // Each step returns Ok or the first failure; nothing after a failure is read.
  ModelFileStatus Read() {
    ModelFileStatus status = ReadHeader();
    if (status == ModelFileStatus::Ok) status = ReadPoints();
    if (status == ModelFileStatus::Ok) status = ReadTriangles();
    if (status == ModelFileStatus::Ok) status = ReadBreaklines();
    if (status == ModelFileStatus::Ok) status = ReadCutFill();
    return status;
  }

 private:
  bool Fill(std::size_t size) {
    buffer_.resize(size);
    if (size == 0) return true;
    in_.read(reinterpret_cast<char*>(buffer_.data()), static_cast<std::streamsize>(size));
    return in_.gcount() == static_cast<std::streamsize>(size);
  }

  ModelFileStatus ReadTag(std::string_view tag) {
    if (!Fill(tag.size())) return ModelFileStatus::ReadError;
    return std::memcmp(buffer_.data(), tag.data(), tag.size()) == 0 ? ModelFileStatus::Ok
                                                                    : ModelFileStatus::BadHeader;
  }

  bool ReadCount(std::size_t& count) {
    if (!Fill(2)) return false;
    count = LoadU16(buffer_.data());
    return true;
  }

  // Whether `count` elements starting at `first` stay within the capacity. Wide arithmetic: the
  // sum of two u16 values must not wrap.
  static bool Fits(std::size_t first, std::size_t count, std::size_t capacity) {
    return first + count - 1 <= capacity || count == 0;
  }

  ModelFileStatus ReadHeader() {
    if (ModelFileStatus s = ReadTag(Magic(fileType_)); s != ModelFileStatus::Ok) return s;
    if (!Fill(CommentBlockSize)) return ModelFileStatus::ReadError;
    std::copy(buffer_.begin(), buffer_.end(), m_.FieldComment.begin());
    m_.FieldComment[0] = std::min<std::uint8_t>(m_.FieldComment[0], SurfaceModel::CommentLength);
    if (fileType_ == ModelFileTypeMdl && !Fill(SpareSize)) return ModelFileStatus::ReadError;
    return ModelFileStatus::Ok;
  }

  ModelFileStatus ReadCoordinates(std::vector<double>& target) {
    if (!Fill(points_ * 8)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < points_; ++k) {
      const double v = LoadF64(buffer_.data() + k * 8);
      if (!std::isfinite(v)) return ModelFileStatus::InvalidData;
      target[firstPoint_ + k] = v;
    }
    return ModelFileStatus::Ok;
  }

  ModelFileStatus ReadPoints() {
    if (!ReadCount(points_)) return ModelFileStatus::ReadError;
    if (!Fits(firstPoint_, points_, m_.MaxPoints)) return ModelFileStatus::TooLarge;
    for (std::vector<double>* axis : {&m_.PointX, &m_.PointY, &m_.PointZ})
      if (ModelFileStatus s = ReadCoordinates(*axis); s != ModelFileStatus::Ok) return s;

    if (!Fill(points_ * 2)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < points_; ++k) {
      const PointIndex next = LoadU16(buffer_.data() + k * 2);
      if (next > points_) return ModelFileStatus::InvalidData;
      m_.BorderNext[firstPoint_ + k] = next;
    }

    if (!Fill(points_ * 4)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < points_; ++k)
      std::memcpy(m_.PointLabel[firstPoint_ + k].data(), buffer_.data() + k * 4, 4);

    m_.PointCount = static_cast<std::uint16_t>(firstPoint_ + points_ - 1);
    return ModelFileStatus::Ok;
  }

  ModelFileStatus ReadTriangles() {
    if (ModelFileStatus s = ReadTag(TriangleTag); s != ModelFileStatus::Ok) return s;
    std::size_t count = 0;
    if (!ReadCount(count)) return ModelFileStatus::ReadError;
    if (!Fits(firstTriangle_, count, m_.MaxTriangles)) return ModelFileStatus::TooLarge;

    if (!Fill(count * 6)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < count; ++k) {
      TriangleCorners& corners = m_.TriVertex[firstTriangle_ + k];
      for (std::size_t j = 0; j < 3; ++j) {
        const PointIndex p = LoadU16(buffer_.data() + k * 6 + j * 2);
        if (p == NoPoint || p > points_) return ModelFileStatus::InvalidData;
        corners[j] = p;
      }
    }

    if (!Fill(count * 6)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < count; ++k) {
      TriangleNeighbours& neighbours = m_.TriNeighbour[firstTriangle_ + k];
      for (std::size_t j = 0; j < 3; ++j) {
        const TriangleIndex u = LoadU16(buffer_.data() + k * 6 + j * 2);
        if (u > count) return ModelFileStatus::InvalidData;
        neighbours[j] = u;
      }
    }

    m_.TriangleCount = static_cast<std::uint16_t>(firstTriangle_ + count - 1);
    return ModelFileStatus::Ok;
  }

  ModelFileStatus ReadBreaklines() {
    if (ModelFileStatus s = ReadTag(BreaklineTag); s != ModelFileStatus::Ok) return s;
    std::size_t count = 0;
    if (!ReadCount(count)) return ModelFileStatus::ReadError;
    if (!Fits(firstBreakline_, count, m_.MaxBreaklines)) return ModelFileStatus::TooLarge;

    if (!Fill(count * 4)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < count; ++k) {
      const PointIndex from = LoadU16(buffer_.data() + k * 4);
      const PointIndex to = LoadU16(buffer_.data() + k * 4 + 2);
      if (from == NoPoint || from > points_ || to == NoPoint || to > points_)
        return ModelFileStatus::InvalidData;
      m_.Breaklines[firstBreakline_ + k] = Breakline{from, to};
    }

    m_.BreaklineCount = static_cast<std::uint16_t>(firstBreakline_ + count - 1);
    return ModelFileStatus::Ok;
  }

  void ClearCutFill() {
    for (std::size_t i = firstPoint_; i <= m_.PointCount; ++i) m_.PointCutFill[i] = 0;
  }

  ModelFileStatus ReadCutFill() {
    if (!HasCutFillSection(fileType_)) {
      ClearCutFill();
      m_.CutFillCount = 0;
      return ModelFileStatus::Ok;
    }
    if (ModelFileStatus s = ReadTag(CutFillTag); s != ModelFileStatus::Ok) return s;
    std::size_t count = 0;
    if (!ReadCount(count)) return ModelFileStatus::ReadError;
    if (!Fits(firstPoint_, count, m_.MaxPoints)) return ModelFileStatus::TooLarge;
    // A value for a point the file does not have would land on stale entries beyond the count.
    if (count > points_) return ModelFileStatus::InvalidData;

    if (!Fill(count * 8)) return ModelFileStatus::ReadError;
    // Points past the last value get 0, not whatever an earlier model left there.
    ClearCutFill();
    for (std::size_t k = 0; k < count; ++k) {
      const double v = LoadF64(buffer_.data() + k * 8);
      if (!std::isfinite(v)) return ModelFileStatus::InvalidData;
      m_.PointCutFill[firstPoint_ + k] = v;
    }
    m_.CutFillCount = count > 0 ? static_cast<std::uint16_t>(firstPoint_ + count - 1) : 0;
    return ModelFileStatus::Ok;
  }

  SurfaceModel& m_;
  std::istream& in_;
  std::size_t firstPoint_;
  std::size_t firstTriangle_;
  int fileType_;
  std::size_t firstBreakline_;
  std::size_t points_ = 0;
  std::vector<std::uint8_t> buffer_;
};

// The first indices must continue the model without a gap, and the capacities must not promise
// more than the store holds (an unallocated store has capacity 0).
bool StoreCanTake(const SurfaceModel& m, PointIndex firstPoint, TriangleIndex firstTriangle,
                  BreaklineIndex firstBreakline) {
  if (firstPoint == 0 || firstTriangle == 0 || firstBreakline == 0) return false;
  if (firstPoint - 1 > m.PointCount || firstTriangle - 1 > m.TriangleCount ||
      firstBreakline - 1 > m.BreaklineCount)
    return false;
  const std::size_t points = std::min({m.PointX.size(), m.PointY.size(), m.PointZ.size(), m.BorderNext.size(),
                                       m.PointLabel.size(), m.PointCutFill.size()});
  return m.MaxPoints < points && m.MaxTriangles < std::min(m.TriVertex.size(), m.TriNeighbour.size()) &&
         m.MaxBreaklines < m.Breaklines.size();
}

// No partial model survives a failed read: replacing leaves an empty model, appending leaves
// the first surface with its own cut/fill values.
void RestoreCounts(SurfaceModel& m, PointIndex firstPoint, TriangleIndex firstTriangle,
                   BreaklineIndex firstBreakline, std::uint16_t cutFillBefore) {
  m.PointCount = static_cast<std::uint16_t>(firstPoint - 1);
  m.TriangleCount = static_cast<std::uint16_t>(firstTriangle - 1);
  m.BreaklineCount = static_cast<std::uint16_t>(firstBreakline - 1);
  m.CutFillCount = std::min<std::uint16_t>(cutFillBefore, m.PointCount);
}

// ---------------------------------------------------------------------------------------------
// Writing

class ModelWriter {
 public:
  explicit ModelWriter(std::string& bytes) : bytes_(bytes) {}

  void Text(std::string_view text) { bytes_.append(text); }
  void Bytes(const std::uint8_t* data, std::size_t size) {
    bytes_.append(reinterpret_cast<const char*>(data), size);
  }
  void U16(std::uint16_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
    bytes_.push_back(static_cast<char>(v >> 8));
  }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int k = 0; k < 8; ++k) bytes_.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
  }

 private:
  std::string& bytes_;
};

ModelFileStatus Serialize(const SurfaceModel& m, PointIndex firstPoint, PointIndex lastPoint, int fileType,
                          std::string& bytes) {
  if (m.PointCount == 0 || lastPoint < firstPoint) return ModelFileStatus::NothingToWrite;
  if (firstPoint == 0 || lastPoint > m.PointCount) return ModelFileStatus::InvalidData;
  const bool wholeModel = firstPoint == 1 && lastPoint == m.PointCount;
  const std::size_t n = std::size_t{lastPoint} - firstPoint + 1;
  const std::size_t t = wholeModel ? m.TriangleCount : 0;
  const std::size_t b = wholeModel ? m.BreaklineCount : 0;

  bytes.clear();
  bytes.reserve(MagicSize + CommentBlockSize + SpareSize + 2 + n * 34 + 5 + t * 12 + 5 + b * 4 + 5);
  ModelWriter w(bytes);
  w.Text(Magic(fileType));
  w.Bytes(m.FieldComment.data(), m.FieldComment.size());
  if (fileType == ModelFileTypeMdl) w.Text("  ");

  w.U16(static_cast<std::uint16_t>(n));
  for (const std::vector<double>* axis : {&m.PointX, &m.PointY, &m.PointZ})
    for (std::size_t i = firstPoint; i <= lastPoint; ++i) w.F64((*axis)[i]);
  for (std::size_t i = firstPoint; i <= lastPoint; ++i) {
    const PointIndex next = m.BorderNext[i];
    const bool inRange = next >= firstPoint && next <= lastPoint;
    w.U16(inRange ? static_cast<PointIndex>(next - firstPoint + 1) : NoPoint);
  }
  for (std::size_t i = firstPoint; i <= lastPoint; ++i)
    w.Bytes(reinterpret_cast<const std::uint8_t*>(m.PointLabel[i].data()), 4);

  w.Text(TriangleTag);
  w.U16(static_cast<std::uint16_t>(t));
  for (std::size_t k = 1; k <= t; ++k)
    for (PointIndex p : m.TriVertex[k]) w.U16(p);
  for (std::size_t k = 1; k <= t; ++k)
    for (TriangleIndex u : m.TriNeighbour[k]) w.U16(u);

  w.Text(BreaklineTag);
  w.U16(static_cast<std::uint16_t>(b));
  for (std::size_t k = 1; k <= b; ++k) {
    w.U16(m.Breaklines[k].From);
    w.U16(m.Breaklines[k].To);
  }

  // Cut/fill values are results of a volume run, never part of a saved model.
  if (HasCutFillSection(fileType)) {
    w.Text(CutFillTag);
    w.U16(0);
  }
  return ModelFileStatus::Ok;
}

}  // namespace

ModelFileStatus ReadModelStream(SurfaceModel& model, std::istream& in, PointIndex firstPoint,
                                TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline) {
  if (!StoreCanTake(model, firstPoint, firstTriangle, firstBreakline)) return ModelFileStatus::InvalidData;
  const std::uint16_t cutFillBefore = model.CutFillCount;
  const auto commentBefore = model.FieldComment;

  const ModelFileStatus status =
      ModelReader(model, in, firstPoint, firstTriangle, fileType, firstBreakline).Read();
  if (status != ModelFileStatus::Ok) {
    RestoreCounts(model, firstPoint, firstTriangle, firstBreakline, cutFillBefore);
    model.FieldComment = commentBefore;
  }
  return status;
}

ModelFileStatus ReadModelFile(SurfaceModel& model, const std::filesystem::path& file, PointIndex firstPoint,
                              TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline) {
  std::ifstream in;
  // Only regular files: opening a FIFO or a device could block or never end.
  std::error_code ec;
  if (std::filesystem::is_regular_file(file, ec)) in.open(file, std::ios::binary);
  if (!in.is_open()) {
    if (!StoreCanTake(model, firstPoint, firstTriangle, firstBreakline)) return ModelFileStatus::InvalidData;
    RestoreCounts(model, firstPoint, firstTriangle, firstBreakline, model.CutFillCount);
    return ModelFileStatus::NotOpened;
  }
  return ReadModelStream(model, in, firstPoint, firstTriangle, fileType, firstBreakline);
}

std::string ModelFileMessage(ModelFileStatus status, int fileType) {
  switch (status) {
    case ModelFileStatus::Ok:
    case ModelFileStatus::NothingToWrite: return {};
    case ModelFileStatus::BadHeader:
      return std::string(msg::BadHeaderPrefix) + std::string(TypeTag(fileType)) +
             std::string(msg::BadHeaderSuffix);
    case ModelFileStatus::TooLarge: return std::string(msg::InsufficientMemoryToLoad);
    case ModelFileStatus::NotOpened:
    case ModelFileStatus::ReadError:
    case ModelFileStatus::InvalidData:
    case ModelFileStatus::WriteError: return std::string(msg::FileManagementError);
  }
  return std::string(msg::FileManagementError);
}

bool ReadModelFile(Session& session, const std::filesystem::path& file, PointIndex firstPoint,
                   TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline) {
  const ModelFileStatus status =
      ReadModelFile(session.model, file, firstPoint, firstTriangle, fileType, firstBreakline);
  if (status == ModelFileStatus::Ok) return true;
  session.port.ShowError(ModelFileMessage(status, fileType));
  return false;
}

ModelFileStatus WriteModelStream(const SurfaceModel& model, std::ostream& out, PointIndex firstPoint,
                                 PointIndex lastPoint, int fileType) {
  std::string bytes;
  const ModelFileStatus status = Serialize(model, firstPoint, lastPoint, fileType, bytes);
  if (status != ModelFileStatus::Ok) return status;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out ? ModelFileStatus::Ok : ModelFileStatus::WriteError;
}

ModelFileStatus WriteModelFile(const SurfaceModel& model, const std::filesystem::path& file,
                               PointIndex firstPoint, PointIndex lastPoint, int fileType,
                               std::optional<FileProblem>* problem) {
  std::string bytes;
  const ModelFileStatus status = Serialize(model, firstPoint, lastPoint, fileType, bytes);
  if (status != ModelFileStatus::Ok) return status;
  std::optional<FileProblem> failed = WriteWholeFile(file, bytes);
  if (!failed) return ModelFileStatus::Ok;
  if (problem) *problem = std::move(failed);
  return ModelFileStatus::WriteError;
}

bool WriteModelFile(Session& session, const std::filesystem::path& file, PointIndex firstPoint,
                    PointIndex lastPoint, int fileType) {
  std::optional<FileProblem> problem;
  const ModelFileStatus status = WriteModelFile(session.model, file, firstPoint, lastPoint, fileType, &problem);
  if (status == ModelFileStatus::NothingToWrite) return false;
  if (status != ModelFileStatus::Ok) {
    const std::string message = ModelFileMessage(status, fileType);
    if (problem)
      session.port.ShowFileError(message, *problem);
    else
      session.port.ShowError(message);
    return false;
  }
  session.settings.Set(settings::ModelSaved, true);
  session.port.ModelStateChanged();
  return true;
}

}  // namespace terravue::model

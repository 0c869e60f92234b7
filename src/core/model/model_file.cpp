#include "model/model_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/app_settings.h"
#include "common/coordinate_limits.h"
#include "common/file_problem.h"
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

std::string ShortReal(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

std::string Numbered(const char* kind, std::size_t i) { return std::string(kind) + " " + std::to_string(i); }

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

  // What made the file InvalidData, in file numbering.
  const std::string& Fault() const { return fault_; }

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

  ModelFileStatus Invalid(std::string fault) {
    fault_ = std::move(fault);
    return ModelFileStatus::InvalidData;
  }

  // Finite and within the limit the import holds coordinates to: a flipped byte in an exponent
  // must not make the drawings, reports and CAD files grow without bound.
  ModelFileStatus ReadCoordinates(StoreArray<double>& target, const char* axis) {
    if (!Fill(points_ * 8)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < points_; ++k) {
      const double v = LoadF64(buffer_.data() + k * 8);
      if (!(std::fabs(v) <= MaxCoordinate))
        return Invalid(Numbered("point", k + 1) + ": " + axis + " " + ShortReal(v) + " is beyond " +
                       ShortReal(MaxCoordinate));
      target[firstPoint_ + k] = v;
    }
    return ModelFileStatus::Ok;
  }

  ModelFileStatus ReadPoints() {
    if (!ReadCount(points_)) return ModelFileStatus::ReadError;
    if (!Fits(firstPoint_, points_, m_.MaxPoints)) return ModelFileStatus::TooLarge;
    if (ModelFileStatus s = ReadCoordinates(m_.PointX, "X"); s != ModelFileStatus::Ok) return s;
    if (ModelFileStatus s = ReadCoordinates(m_.PointY, "Y"); s != ModelFileStatus::Ok) return s;
    if (ModelFileStatus s = ReadCoordinates(m_.PointZ, "Z"); s != ModelFileStatus::Ok) return s;

    if (!Fill(points_ * 2)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < points_; ++k) {
      const PointIndex next = LoadU16(buffer_.data() + k * 2);
      if (next > points_)
        return Invalid(Numbered("point", k + 1) + ": border link " + std::to_string(next) + " is not a point");
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
        if (p == NoPoint || p > points_)
          return Invalid(Numbered("triangle", k + 1) + ": corner " + std::to_string(p) + " is not a point");
        corners[j] = p;
      }
    }

    if (!Fill(count * 6)) return ModelFileStatus::ReadError;
    for (std::size_t k = 0; k < count; ++k) {
      TriangleNeighbours& neighbours = m_.TriNeighbour[firstTriangle_ + k];
      for (std::size_t j = 0; j < 3; ++j) {
        const TriangleIndex u = LoadU16(buffer_.data() + k * 6 + j * 2);
        if (u > count)
          return Invalid(Numbered("triangle", k + 1) + ": neighbour " + std::to_string(u) + " is not a triangle");
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
        return Invalid(Numbered("breakline", k + 1) + ": end " +
                       std::to_string(from == NoPoint || from > points_ ? from : to) + " is not a point");
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
    if (count > points_)
      return Invalid(std::to_string(count) + " cut/fill values for " + std::to_string(points_) + " points");

    if (!Fill(count * 8)) return ModelFileStatus::ReadError;
    // Points past the last value get 0, not whatever an earlier model left there.
    ClearCutFill();
    for (std::size_t k = 0; k < count; ++k) {
      const double v = LoadF64(buffer_.data() + k * 8);
      // A cut or fill is the difference of two elevations.
      if (!(std::fabs(v) <= 2 * MaxCoordinate))
        return Invalid(Numbered("point", k + 1) + ": cut/fill " + ShortReal(v) + " is out of range");
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
  std::string fault_;
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

// The triangle faults of what a read just placed at firstPoint and firstTriangle, checked in the
// file's own numbering: appended parts are looked at apart from the surface before them.
std::vector<std::string> TriangleFaultsOfFile(const SurfaceModel& m, PointIndex firstPoint,
                                              TriangleIndex firstTriangle) {
  if (m.TriangleCount < firstTriangle) return {};
  if (firstPoint == 1 && firstTriangle == 1) return CheckTriangleTopology(m);
  SurfaceModel part;
  const std::size_t points = m.PointCount - (firstPoint - 1u);
  const std::size_t triangles = m.TriangleCount - (firstTriangle - 1u);
  const auto copy = [](const auto& from, std::size_t first, std::size_t count, auto& to) {
    const auto begin = from.begin() + static_cast<std::ptrdiff_t>(first - 1);
    to.assign(begin, begin + static_cast<std::ptrdiff_t>(count + 1));
  };
  copy(m.PointX, firstPoint, points, part.PointX);
  copy(m.PointY, firstPoint, points, part.PointY);
  copy(m.PointZ, firstPoint, points, part.PointZ);
  copy(m.PointLabel, firstPoint, points, part.PointLabel);
  copy(m.BorderNext, firstPoint, points, part.BorderNext);
  copy(m.TriVertex, firstTriangle, triangles, part.TriVertex);
  copy(m.TriNeighbour, firstTriangle, triangles, part.TriNeighbour);
  part.MaxPoints = part.PointCount = static_cast<std::uint16_t>(points);
  part.MaxTriangles = part.TriangleCount = static_cast<std::uint16_t>(triangles);
  return CheckTriangleTopology(part);
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
  for (const StoreArray<double>* axis : {&m.PointX, &m.PointY, &m.PointZ})
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
                                TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline,
                                ModelReadNotes* notes) {
  if (!StoreCanTake(model, firstPoint, firstTriangle, firstBreakline)) return ModelFileStatus::InvalidData;
  const std::uint16_t cutFillBefore = model.CutFillCount;
  const auto commentBefore = model.FieldComment;

  ModelReader reader(model, in, firstPoint, firstTriangle, fileType, firstBreakline);
  const ModelFileStatus status = reader.Read();
  if (status != ModelFileStatus::Ok) {
    RestoreCounts(model, firstPoint, firstTriangle, firstBreakline, cutFillBefore);
    model.FieldComment = commentBefore;
    if (notes && status == ModelFileStatus::InvalidData) notes->problem = FileProblem{{}, reader.Fault()};
    return status;
  }
  // Triangles whose indices are in range may still not form a surface; contours and volumes
  // over them would be silently wrong. The rest of the file stands on its own.
  std::vector<std::string> faults = TriangleFaultsOfFile(model, firstPoint, firstTriangle);
  if (!faults.empty()) {
    model.TriangleCount = static_cast<std::uint16_t>(firstTriangle - 1);
    if (notes) notes->triangleFaults = std::move(faults);
  }
  return ModelFileStatus::Ok;
}

ModelFileStatus ReadModelFile(SurfaceModel& model, const std::filesystem::path& file, PointIndex firstPoint,
                              TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline,
                              ModelReadNotes* notes) {
  std::ifstream in;
  // Only regular files: opening a FIFO or a device could block or never end.
  if (std::optional<FileProblem> problem = OpenRegularFile(file, in)) {
    if (!StoreCanTake(model, firstPoint, firstTriangle, firstBreakline)) return ModelFileStatus::InvalidData;
    RestoreCounts(model, firstPoint, firstTriangle, firstBreakline, model.CutFillCount);
    if (notes) notes->problem = std::move(problem);
    return ModelFileStatus::NotOpened;
  }
  const ModelFileStatus status =
      ReadModelStream(model, in, firstPoint, firstTriangle, fileType, firstBreakline, notes);
  // The stream knows no name: what was found in it belongs to this file.
  if (notes && notes->problem && notes->problem->path.empty()) {
    notes->problem->path = AbsolutePath(file);
  } else if (notes && status == ModelFileStatus::ReadError) {
    notes->problem = FileProblem{AbsolutePath(file), in.bad() ? std::generic_category().message(EIO)
                                                              : std::string("the file ends before its last section")};
  } else if (notes && !notes->problem && status != ModelFileStatus::Ok) {
    // The message names the file even when there is nothing more to say about it.
    notes->problem = FileProblem{AbsolutePath(file), {}};
  }
  return status;
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

void ShowModelReadOutcome(Session& session, ModelFileStatus status, int fileType, const ModelReadNotes& notes) {
  if (status != ModelFileStatus::Ok) {
    const std::string message = ModelFileMessage(status, fileType);
    if (notes.problem)
      session.port.ShowFileError(message, *notes.problem);
    else
      session.port.ShowError(message);
    return;
  }
  if (!notes.triangleFaults.empty())
    session.port.ShowWarning(std::string(msg::TrianglesNotLoaded) + "\r\n(" + notes.triangleFaults.front() + ")");
}

bool ReadModelFile(Session& session, const std::filesystem::path& file, PointIndex firstPoint,
                   TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline) {
  ModelReadNotes notes;
  const ModelFileStatus status =
      ReadModelFile(session.model, file, firstPoint, firstTriangle, fileType, firstBreakline, &notes);
  ShowModelReadOutcome(session, status, fileType, notes);
  return status == ModelFileStatus::Ok;
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

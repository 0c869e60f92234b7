#pragma once

// Runs one byte string through the model reader every way the program reads model files (each
// file type, replacing the model and appending behind a small one) and lists every promise the
// reader broke. Shared by the libFuzzer target and the corpus regression test, so it depends
// on the engine only.

#include <cmath>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "model/model_file.h"
#include "model/surface_model.h"

namespace terravue::fuzz {

// Five points of a square with its centre, four triangles around the centre, the square as
// the border, one breakline and cut/fill values on the first two points.
inline void BuildBaseModel(model::SurfaceModel& m) {
  m.ClearModel();
  const double xyz[5][3] = {{0, 0, 10}, {10, 0, 11}, {10, 10, 12}, {0, 10, 13}, {5, 5, 14}};
  for (PointIndex i = 1; i <= 5; ++i) {
    m.PointX[i] = xyz[i - 1][0];
    m.PointY[i] = xyz[i - 1][1];
    m.PointZ[i] = xyz[i - 1][2];
    m.PointCutFill[i] = i <= 2 ? 0.5 * i : 0;
    m.SetPointLabel(i, std::to_string(i));
    m.BorderNext[i] = i == 5 ? 0 : static_cast<PointIndex>(i % 4 + 1);
  }
  m.PointCount = 5;
  m.CutFillCount = 2;
  m.TriVertex[1] = {1, 2, 5};
  m.TriVertex[2] = {2, 3, 5};
  m.TriVertex[3] = {3, 4, 5};
  m.TriVertex[4] = {4, 1, 5};
  m.TriNeighbour[1] = {2, 4, 0};
  m.TriNeighbour[2] = {1, 3, 0};
  m.TriNeighbour[3] = {2, 4, 0};
  m.TriNeighbour[4] = {3, 1, 0};
  m.TriangleCount = 4;
  m.Breaklines[1] = {2, 5};
  m.BreaklineCount = 1;
  m.SetComment("Base surface");
}

// Every stored index in range and every coordinate finite over the whole model.
inline void CheckRanges(const model::SurfaceModel& m, const std::string& context,
                        std::vector<std::string>& problems) {
  auto fail = [&](const std::string& what) { problems.push_back(context + ": " + what); };
  if (m.PointCount > m.MaxPoints || m.TriangleCount > m.MaxTriangles || m.BreaklineCount > m.MaxBreaklines ||
      m.CutFillCount > m.PointCount) {
    fail("a count beyond its limit");
    return;
  }
  for (std::size_t i = 1; i <= m.PointCount; ++i) {
    if (!std::isfinite(m.PointX[i]) || !std::isfinite(m.PointY[i]) || !std::isfinite(m.PointZ[i]) ||
        !std::isfinite(m.PointCutFill[i]))
      fail("point " + std::to_string(i) + " not finite");
    if (m.BorderNext[i] > m.PointCount) fail("border link of point " + std::to_string(i));
  }
  for (std::size_t t = 1; t <= m.TriangleCount; ++t) {
    for (PointIndex p : m.TriVertex[t])
      if (p == 0 || p > m.PointCount) fail("corner of triangle " + std::to_string(t));
    for (TriangleIndex u : m.TriNeighbour[t])
      if (u > m.TriangleCount) fail("neighbour of triangle " + std::to_string(t));
  }
  for (std::size_t b = 1; b <= m.BreaklineCount; ++b)
    if (m.Breaklines[b].From == 0 || m.Breaklines[b].From > m.PointCount || m.Breaklines[b].To == 0 ||
        m.Breaklines[b].To > m.PointCount)
      fail("end of breakline " + std::to_string(b));
  if (m.Comment().size() > model::SurfaceModel::CommentLength) fail("comment too long");
}

// The part of a model that a read must leave alone when it appends or fails.
struct ModelSnapshot {
  std::vector<double> x, y, z, cutFill;
  std::vector<model::PointLabelText> labels;
  std::vector<PointIndex> border;
  std::vector<model::TriangleCorners> corners;
  std::vector<model::TriangleNeighbours> neighbours;
  std::vector<std::uint32_t> breaklines;
  std::uint16_t points = 0, triangles = 0, breaklineCount = 0, cutFillCount = 0;

  static ModelSnapshot Of(const model::SurfaceModel& m) {
    ModelSnapshot s;
    const auto n = std::size_t{m.PointCount} + 1;
    const auto t = std::size_t{m.TriangleCount} + 1;
    s.x.assign(m.PointX.begin(), m.PointX.begin() + n);
    s.y.assign(m.PointY.begin(), m.PointY.begin() + n);
    s.z.assign(m.PointZ.begin(), m.PointZ.begin() + n);
    s.cutFill.assign(m.PointCutFill.begin(), m.PointCutFill.begin() + n);
    s.labels.assign(m.PointLabel.begin(), m.PointLabel.begin() + n);
    s.border.assign(m.BorderNext.begin(), m.BorderNext.begin() + n);
    s.corners.assign(m.TriVertex.begin(), m.TriVertex.begin() + t);
    s.neighbours.assign(m.TriNeighbour.begin(), m.TriNeighbour.begin() + t);
    for (std::size_t b = 0; b <= m.BreaklineCount; ++b)
      s.breaklines.push_back(std::uint32_t{m.Breaklines[b].From} << 16 | m.Breaklines[b].To);
    s.points = m.PointCount;
    s.triangles = m.TriangleCount;
    s.breaklineCount = m.BreaklineCount;
    s.cutFillCount = m.CutFillCount;
    return s;
  }
  bool operator==(const ModelSnapshot&) const = default;
};

inline model::ModelFileStatus ReadBytes(model::SurfaceModel& m, const std::string& bytes,
                                        PointIndex firstPoint, TriangleIndex firstTriangle, int fileType,
                                        BreaklineIndex firstBreakline) {
  std::istringstream in(bytes);
  return model::ReadModelStream(m, in, firstPoint, firstTriangle, fileType, firstBreakline);
}

// Moves the indices of the appended part from file numbering to model numbering, as the
// two-surface volume does before it uses them.
inline void RenumberAppended(model::SurfaceModel& m, const ModelSnapshot& base) {
  for (std::size_t i = std::size_t{base.points} + 1; i <= m.PointCount; ++i)
    if (m.BorderNext[i] != 0) m.BorderNext[i] = static_cast<PointIndex>(m.BorderNext[i] + base.points);
  for (std::size_t t = std::size_t{base.triangles} + 1; t <= m.TriangleCount; ++t) {
    for (PointIndex& p : m.TriVertex[t]) p = static_cast<PointIndex>(p + base.points);
    for (TriangleIndex& u : m.TriNeighbour[t])
      if (u != 0) u = static_cast<TriangleIndex>(u + base.triangles);
  }
  for (std::size_t b = std::size_t{base.breaklineCount} + 1; b <= m.BreaklineCount; ++b) {
    m.Breaklines[b].From = static_cast<PointIndex>(m.Breaklines[b].From + base.points);
    m.Breaklines[b].To = static_cast<PointIndex>(m.Breaklines[b].To + base.points);
  }
}

// `m` must be allocated; it is overwritten.
inline std::vector<std::string> ExerciseModelReader(model::SurfaceModel& m,
                                                    std::span<const std::uint8_t> data) {
  std::vector<std::string> problems;
  const std::string bytes(reinterpret_cast<const char*>(data.data()), data.size());
  for (int fileType : {model::ModelFileTypeMdl, model::ModelFileTypeMdv, 7}) {
    const std::string type = "type " + std::to_string(fileType);

    // Replacing the model.
    BuildBaseModel(m);
    const auto commentBefore = m.FieldComment;
    if (ReadBytes(m, bytes, 1, 1, fileType, 1) == model::ModelFileStatus::Ok) {
      CheckRanges(m, type + " replace", problems);
      (void)model::CheckTopology(m);
      // What was read writes back and reads again to the same model.
      const ModelSnapshot first = ModelSnapshot::Of(m);
      std::ostringstream out;
      if (model::WriteModelStream(m, out, 1, m.PointCount, fileType) == model::ModelFileStatus::Ok) {
        const auto comment = m.FieldComment;
        if (ReadBytes(m, out.str(), 1, 1, fileType, 1) != model::ModelFileStatus::Ok)
          problems.push_back(type + ": a model read from the input does not read back");
        else {
          // Cut/fill values are results, never saved.
          ModelSnapshot second = ModelSnapshot::Of(m);
          second.cutFill = first.cutFill;
          second.cutFillCount = first.cutFillCount;
          if (!(second == first) || m.FieldComment != comment)
            problems.push_back(type + ": the written model reads back differently");
        }
      }
    } else if (m.PointCount != 0 || m.TriangleCount != 0 || m.BreaklineCount != 0 || m.CutFillCount != 0 ||
               m.FieldComment != commentBefore) {
      problems.push_back(type + " replace: a failed read left counts or comment behind");
    }

    // Appending behind the base model.
    BuildBaseModel(m);
    const ModelSnapshot base = ModelSnapshot::Of(m);
    const auto baseComment = m.FieldComment;
    const auto status = ReadBytes(m, bytes, static_cast<PointIndex>(m.PointCount + 1),
                                  static_cast<TriangleIndex>(m.TriangleCount + 1), fileType,
                                  static_cast<BreaklineIndex>(m.BreaklineCount + 1));
    if (status == model::ModelFileStatus::Ok) {
      const std::uint16_t points = m.PointCount, triangles = m.TriangleCount, breaklines = m.BreaklineCount;
      m.PointCount = base.points;
      m.TriangleCount = base.triangles;
      m.BreaklineCount = base.breaklineCount;
      const std::uint16_t cutFill = m.CutFillCount;
      m.CutFillCount = base.cutFillCount;
      ModelSnapshot after = ModelSnapshot::Of(m);
      // The appended read may set cut/fill values only behind the base model.
      after.cutFill = base.cutFill;
      if (!(after == base)) problems.push_back(type + " append: the first surface changed");
      m.PointCount = points;
      m.TriangleCount = triangles;
      m.BreaklineCount = breaklines;
      m.CutFillCount = cutFill;
      RenumberAppended(m, base);
      CheckRanges(m, type + " append", problems);
      (void)model::CheckTopology(m);
    } else if (!(ModelSnapshot::Of(m) == base) || m.FieldComment != baseComment) {
      problems.push_back(type + " append: a failed read did not restore the first surface");
    }
  }
  return problems;
}

}  // namespace terravue::fuzz

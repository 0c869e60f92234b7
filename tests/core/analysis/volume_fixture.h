#pragma once

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/volume.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/session_fixture.h"

// Small surfaces with exact answers, built triangle by triangle, and a scripted front end for
// the volume commands.
namespace terravue::analysis {

struct Vertex {
  double x, y, z;
};

// A model holding exactly the given points and triangles (1-based corner numbers), no border.
inline model::SurfaceModel MakeSurface(const std::vector<Vertex>& points,
                                       const std::vector<std::array<int, 3>>& triangles) {
  model::SurfaceModel m;
  EXPECT_TRUE(m.AllocateStore());
  for (const Vertex& v : points) {
    const auto p = ++m.PointCount;
    m.PointX[p] = v.x;
    m.PointY[p] = v.y;
    m.PointZ[p] = v.z;
    m.SetPointLabel(p, std::to_string(p));
  }
  for (const auto& t : triangles)
    m.TriVertex[++m.TriangleCount] = {static_cast<PointIndex>(t[0]), static_cast<PointIndex>(t[1]),
                                      static_cast<PointIndex>(t[2])};
  m.ComputeExtents();
  return m;
}

// The rectangle [x0, x1] x [y0, y1] cut into n x n cells of two triangles each, with the
// elevation z(x, y) at the nodes. Cells are split along alternating diagonals.
inline model::SurfaceModel GridSurface(double x0, double y0, double x1, double y1, int n,
                                       const std::function<double(double, double)>& z) {
  std::vector<Vertex> points;
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      const double x = x0 + (x1 - x0) * i / n, y = y0 + (y1 - y0) * j / n;
      points.push_back({x, y, z(x, y)});
    }
  }
  std::vector<std::array<int, 3>> triangles;
  auto node = [n](int i, int j) { return j * (n + 1) + i + 1; };
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const int a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
      if ((i + j) % 2 == 0) {
        triangles.push_back({a, b, c});
        triangles.push_back({a, c, d});
      } else {
        triangles.push_back({a, b, d});
        triangles.push_back({b, c, d});
      }
    }
  }
  return MakeSurface(points, triangles);
}

// The 10 x 10 square at the origin.
inline model::SurfaceModel Square(const std::function<double(double, double)>& z, int cells = 1) {
  return GridSurface(0, 0, 10, 10, cells, z);
}

// A pyramid of the given height over the 10 x 10 square: four triangles meeting at the apex.
inline model::SurfaceModel Pyramid(double height, double base = 0) {
  return MakeSurface({{0, 0, base}, {10, 0, base}, {10, 10, base}, {0, 10, base}, {5, 5, base + height}},
                     {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
}

inline void Translate(model::SurfaceModel& m, double dx, double dy) {
  for (std::size_t i = 1; i <= m.PointCount; ++i) {
    m.PointX[i] += dx;
    m.PointY[i] += dy;
  }
  m.ComputeExtents();
}

// The front end of a volume run, scripted: the file to pick, the dialog's answer, and a record
// of what was shown.
class ScriptedVolumeUi : public VolumeUi {
 public:
  std::optional<ProposedFileChoice> file;
  std::optional<VolumeReportOptions> answer = VolumeReportOptions{};

  std::vector<std::string> offeredFile;  // directory, name
  std::string existingText, proposedText;
  std::vector<std::pair<int, int>> phases;
  int begun = 0, ended = 0;
  std::optional<VolumeReportOptions> offeredOptions;

  std::optional<ProposedFileChoice> ChooseProposedFile(const std::string& directory,
                                                       const std::string& fileName) override {
    offeredFile = {directory, fileName};
    return file;
  }
  void BeginComparison(const std::string& existing, const std::string& proposed) override {
    ++begun;
    existingText = existing;
    proposedText = proposed;
  }
  void SetPhase(int phase, int percent) override { phases.emplace_back(phase, percent); }
  void EndComparison() override { ++ended; }
  std::optional<VolumeReportOptions> AskReportOptions(const VolumeReportOptions& current) override {
    offeredOptions = current;
    return answer;
  }
};

// The session fixture, its work folder named for the volume tests.
class VolumeTest : public testing::SessionTest {
 protected:
  VolumeTest() : SessionTest("terravue-volume-") {}
};

}  // namespace terravue::analysis

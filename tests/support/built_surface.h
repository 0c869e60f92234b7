#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "model/surface_model.h"

// Small surfaces with explicit triangles and linked neighbours, for the tests that walk across
// triangles (map drawing, surface analysis).
namespace terravue::testing {

struct XYZ {
  double x, y, z;
};

// Points 1..n and triangles 1..m as given; neighbours are linked across shared edges; the
// extents are computed and the contour work list filled.
inline void BuildSurface(model::SurfaceModel& m, const std::vector<XYZ>& points,
                         const std::vector<std::array<PointIndex, 3>>& triangles) {
  if (!m.IsAllocated()) m.AllocateStore();
  m.ClearModel();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto p = static_cast<PointIndex>(i + 1);
    m.PointX[p] = points[i].x;
    m.PointY[p] = points[i].y;
    m.PointZ[p] = points[i].z;
    m.BorderNext[p] = NoPoint;
  }
  m.PointCount = static_cast<std::uint16_t>(points.size());
  std::map<std::pair<PointIndex, PointIndex>, std::vector<TriangleIndex>> edges;
  for (std::size_t k = 0; k < triangles.size(); ++k) {
    const auto t = static_cast<TriangleIndex>(k + 1);
    m.TriVertex[t] = triangles[k];
    m.TriNeighbour[t] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      PointIndex a = triangles[k][static_cast<std::size_t>(i)];
      PointIndex b = triangles[k][static_cast<std::size_t>((i + 1) % 3)];
      if (a > b) std::swap(a, b);
      edges[{a, b}].push_back(t);
    }
  }
  m.TriangleCount = static_cast<std::uint16_t>(triangles.size());
  for (const auto& [edge, owners] : edges) {
    if (owners.size() != 2) continue;
    for (int side = 0; side < 2; ++side) {
      auto& neighbours = m.TriNeighbour[owners[static_cast<std::size_t>(side)]];
      for (auto& slot : neighbours)
        if (slot == NoTriangle) {
          slot = owners[static_cast<std::size_t>(1 - side)];
          break;
        }
    }
  }
  m.ComputeExtents();
  m.ResetContourTriList();
}

// The border ring through the given points, in order.
inline void SetBorder(model::SurfaceModel& m, const std::vector<PointIndex>& ring) {
  for (std::size_t i = 0; i < ring.size(); ++i) m.BorderNext[ring[i]] = ring[(i + 1) % ring.size()];
}

}  // namespace terravue::testing

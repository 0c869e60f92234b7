#pragma once

#include <array>
#include <functional>
#include <vector>

#include "analysis/flow.h"
#include "support/built_surface.h"

// Surfaces with linked neighbours for the surface analysis tests, and a sink that keeps what a
// trace or diagram produced.
namespace terravue::analysis {

// n x n square cells `spacing` apart from the origin, each cut by the diagonal from its lower
// left to its upper right corner, so that the diagonals form parallel lines; elevation z(x, y).
inline void ParallelGrid(model::SurfaceModel& m, int n, double spacing, const std::function<double(double, double)>& z) {
  std::vector<testing::XYZ> points;
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) points.push_back({i * spacing, j * spacing, z(i * spacing, j * spacing)});
  const auto node = [n](int i, int j) { return static_cast<PointIndex>(j * (n + 1) + i + 1); };
  std::vector<std::array<PointIndex, 3>> triangles;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      triangles.push_back({node(i, j), node(i + 1, j), node(i + 1, j + 1)});
      triangles.push_back({node(i, j), node(i + 1, j + 1), node(i, j + 1)});
    }
  testing::BuildSurface(m, points, triangles);
}

// A square pyramid: base corners 1..4 at elevation 0 counter-clockwise from (0, 0), apex 5 at
// (5, 5, 10); one triangle per face. Negative height makes a pit.
inline void Pyramid(model::SurfaceModel& m, double height = 10) {
  testing::BuildSurface(m, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, height}},
                        {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
}

struct RecordedSegment {
  TracePoint from, to;
  bool closedHead = false;
  DiagramStyle style = DiagramStyle::Flow;
};

// Keeps every chain start and segment, with the style it was drawn in.
class RecordingSink : public DiagramSink {
 public:
  std::vector<TracePoint> starts;
  std::vector<RecordedSegment> segments;

  void Start(const TracePoint& p) override { starts.push_back(p); }
  bool Segment(const TracePoint& a, const TracePoint& b, bool closedHead) override {
    segments.push_back({a, b, closedHead, style_});
    return true;
  }
  void SetStyle(DiagramStyle style) override { style_ = style; }

  std::size_t Count(DiagramStyle style) const {
    std::size_t n = 0;
    for (const RecordedSegment& s : segments) n += s.style == style;
    return n;
  }

 private:
  DiagramStyle style_ = DiagramStyle::Flow;
};

}  // namespace terravue::analysis

#pragma once

#include <cstddef>
#include <vector>

// The vector accumulator: the vertices of the arrows the Surface Analyzer's traces (Water Drop,
// Watershed, Contour Line) leave on the map. It outlives redraws and model loads, is drawn by
// every redraw, offers its vertices to Length picks and is listed by the Vector Information
// report. Only the Vector Accumulator command and leaving the Surface Analyzer empty it.
namespace terravue::analysis {

struct VectorVertex {
  double X = 0, Y = 0, Z = 0;
  // The segment from the previous vertex to this one is a vector; otherwise this vertex starts
  // a new chain.
  bool ContinuesPrevious = false;
  // That vector is drawn with a closed head (uphill traces).
  bool ClosedHead = false;
};

class VectorAccumulator {
 public:
  static constexpr std::size_t Capacity = 1000;

  VectorAccumulator() { vertices_.reserve(Capacity); }

  // While off, Record stores nothing and succeeds.
  bool recording = true;

  // Appends one vertex; false when the accumulator is full (and recording is on).
  bool Record(bool continues, bool closedHead, double x, double y, double z);

  // Vertices are numbered from 1, as the report and the Length picks show them.
  std::size_t VertexCount() const { return vertices_.size(); }
  const VectorVertex& Vertex(std::size_t number) const { return vertices_[number - 1]; }
  const std::vector<VectorVertex>& Vertices() const { return vertices_; }
  bool Full() const { return vertices_.size() >= Capacity; }
  // The vertices from the second on that continue the previous one.
  std::size_t VectorCount() const;
  bool AnyClosedHead() const;

  void Clear() { vertices_.clear(); }

 private:
  std::vector<VectorVertex> vertices_;
};

}  // namespace terravue::analysis

// libFuzzer target for the triangle check a model read runs: every input becomes a small model
// whose stored indices are all in range (so the reader's own range checks pass and the
// topology check decides), is written and read back. Kept triangles must form a surface by an
// independent look at their edges; dropped ones must leave the rest of the model whole.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/model_file.h"
#include "model/surface_model.h"

namespace {

using terravue::model::SurfaceModel;

// Bytes taken in order; zeros once they run out.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Fail(const std::string& what) {
  std::fprintf(stderr, "model topology: %s\n", what.c_str());
  std::abort();
}

// Twice the signed area of a b p, and whether p lies clearly off the line a b (a looser test
// than the reader's, so that anything it finds the reader must have found).
double Cross(const SurfaceModel& m, int a, int b, int p) {
  return (m.PointX[b] - m.PointX[a]) * (m.PointY[p] - m.PointY[a]) -
         (m.PointY[b] - m.PointY[a]) * (m.PointX[p] - m.PointX[a]);
}

void CheckKeptTriangles(const SurfaceModel& m) {
  std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> edges;  // edge -> (triangle, opposite)
  for (int t = 1; t <= m.TriangleCount; ++t) {
    const auto& c = m.TriVertex[t];
    if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) Fail("a kept triangle repeats a corner");
    for (int k = 0; k < 3; ++k) {
      const int a = c[k], b = c[(k + 1) % 3];
      edges[{std::min(a, b), std::max(a, b)}].push_back({t, c[(k + 2) % 3]});
    }
    for (int u : m.TriNeighbour[t]) {
      if (u == 0) continue;
      int shared = 0;
      for (int p : m.TriVertex[u]) shared += (p == c[0] || p == c[1] || p == c[2]) ? 1 : 0;
      if (shared != 2) Fail("kept neighbours share no edge");
      bool back = false;
      for (int v : m.TriNeighbour[u]) back = back || v == t;
      if (!back) Fail("a kept neighbour does not list its triangle back");
    }
  }
  for (const auto& [edge, uses] : edges) {
    if (uses.size() > 2) Fail("an edge of three kept triangles");
    if (uses.size() < 2) continue;
    const double first = Cross(m, edge.first, edge.second, uses[0].second);
    const double second = Cross(m, edge.first, edge.second, uses[1].second);
    const double len = std::hypot(m.PointX[edge.second] - m.PointX[edge.first], m.PointY[edge.second] - m.PointY[edge.first]);
    const double loose = 1e-3 * len * len;
    if ((first > loose && second > loose) || (first < -loose && second < -loose))
      Fail("two kept triangles fold over their edge");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SurfaceModel* model = [] {
    auto* m = new SurfaceModel;
    if (!m->AllocateStore()) std::abort();
    return m;
  }();
  SurfaceModel& m = *model;
  m.ClearModel();
  Bytes in(data, size);

  // 3 to 18 points on a small grid, so that shared and collinear corners are common.
  const int points = 3 + in.Next() % 16;
  for (int i = 1; i <= points; ++i) {
    m.PointX[i] = in.Next() % 8;
    m.PointY[i] = in.Next() % 8;
    m.PointZ[i] = in.Next() % 5;
    m.SetPointLabel(static_cast<terravue::PointIndex>(i), std::to_string(i));
    m.BorderNext[i] = 0;
  }
  m.PointCount = static_cast<std::uint16_t>(points);
  // A ring through the first three points and one breakline: both must survive a drop.
  m.BorderNext[1] = 2;
  m.BorderNext[2] = 3;
  m.BorderNext[3] = 1;
  m.Breaklines[1] = {1, 2};
  m.BreaklineCount = 1;
  const int triangles = 1 + in.Next() % 24;
  for (int t = 1; t <= triangles; ++t) {
    for (auto& p : m.TriVertex[t]) p = static_cast<terravue::PointIndex>(1 + in.Next() % points);
    for (auto& u : m.TriNeighbour[t]) u = static_cast<terravue::TriangleIndex>(in.Next() % (triangles + 1));
  }
  m.TriangleCount = static_cast<std::uint16_t>(triangles);

  std::ostringstream out;
  if (terravue::model::WriteModelStream(m, out, 1, m.PointCount, terravue::model::ModelFileTypeMdl) !=
      terravue::model::ModelFileStatus::Ok)
    Fail("a model of in-range indices does not write");
  std::istringstream back(out.str());
  terravue::model::ModelReadNotes notes;
  if (terravue::model::ReadModelStream(m, back, 1, 1, terravue::model::ModelFileTypeMdl, 1, &notes) !=
      terravue::model::ModelFileStatus::Ok)
    Fail("a model of in-range indices does not read");

  if (m.PointCount != points || m.BreaklineCount != 1 || m.BorderNext[3] != 1) Fail("the read lost points, border or breaklines");
  if (notes.triangleFaults.empty()) {
    if (m.TriangleCount != triangles) Fail("triangles lost without a fault");
    CheckKeptTriangles(m);
  } else if (m.TriangleCount != 0) {
    Fail("faulty triangles kept");
  }
  (void)terravue::model::CheckTopology(m);
  return 0;
}

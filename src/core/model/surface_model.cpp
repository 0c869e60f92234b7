#include "model/surface_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <utility>

#include "model/axis_sort.h"

namespace terravue::model {

bool SurfaceModel::AllocateStore() {
  MaxPoints = PointAllocation;
  MaxTriangles = TriangleAllocation;
  MaxBreaklines = BreaklineAllocation;
  bool ok = true;
  try {
    // Fresh arrays, value-initialised: zero pages that cost nothing until they are written.
    StoreArray<double>(PointAllocation).swap(PointX);
    StoreArray<double>(PointAllocation).swap(PointY);
    StoreArray<double>(PointAllocation).swap(PointZ);
    StoreArray<PointIndex>(PointAllocation).swap(BorderNext);
    StoreArray<double>(PointAllocation).swap(PointCutFill);
    StoreArray<PointLabelText>(PointAllocation).swap(PointLabel);
    StoreArray<TriangleCorners>(TriangleAllocation).swap(TriVertex);
    StoreArray<TriangleNeighbours>(TriangleAllocation).swap(TriNeighbour);
    StoreArray<Breakline>(BreaklineAllocation).swap(Breaklines);
    StoreArray<TriangleIndex>(TriangleAllocation).swap(ContourTriList);
  } catch (const std::bad_alloc&) {
    FreeStore();
    ok = false;
  }
  // The capacities stay a few entries below the allocation, so that code may address the
  // entry at the capacity and a few beyond it without checking.
  MaxPoints = PointCapacity;
  MaxTriangles = TriangleCapacity;
  MaxBreaklines = BreaklineCapacity;
  ClearModel();
  return ok;
}

void SurfaceModel::FreeStore() {
  // Swapping with empty vectors gives the memory back; clear() would keep it.
  StoreArray<double>().swap(PointX);
  StoreArray<double>().swap(PointY);
  StoreArray<double>().swap(PointZ);
  StoreArray<double>().swap(PointCutFill);
  StoreArray<PointLabelText>().swap(PointLabel);
  StoreArray<PointIndex>().swap(BorderNext);
  StoreArray<TriangleCorners>().swap(TriVertex);
  StoreArray<TriangleNeighbours>().swap(TriNeighbour);
  StoreArray<Breakline>().swap(Breaklines);
  StoreArray<TriangleIndex>().swap(ContourTriList);
  ClearModel();
}

void SurfaceModel::ClearModel() {
  PointCount = 0;
  TriangleCount = 0;
  BreaklineCount = 0;
  CutFillCount = 0;
  // The work list refers to triangles, which are gone.
  ContourTriCount = 0;
}

std::string SurfaceModel::Comment() const {
  const std::size_t length = std::min<std::size_t>(FieldComment[0], CommentLength);
  return std::string(reinterpret_cast<const char*>(FieldComment.data() + 1), length);
}

void SurfaceModel::SetComment(std::string_view text) {
  text = text.substr(0, CommentLength);
  FieldComment[0] = static_cast<std::uint8_t>(text.size());
  std::copy(text.begin(), text.end(), FieldComment.begin() + 1);
}

void SurfaceModel::ComputeExtents() {
  MinX = MinY = MinZ = 0;
  MaxX = MaxY = MaxZ = 0;
  MidX = MidY = MidZ = 0;
  if (PointCount > 0 && PointCount < PointX.size()) {
    MinX = MaxX = PointX[1];
    MinY = MaxY = PointY[1];
    MinZ = MaxZ = PointZ[1];
    for (std::size_t i = 2; i <= PointCount; ++i) {
      if (PointX[i] > MaxX) MaxX = PointX[i];
      if (PointX[i] < MinX) MinX = PointX[i];
      if (PointY[i] > MaxY) MaxY = PointY[i];
      if (PointY[i] < MinY) MinY = PointY[i];
      if (PointZ[i] > MaxZ) MaxZ = PointZ[i];
      if (PointZ[i] < MinZ) MinZ = PointZ[i];
    }
    MidX = (MaxX + MinX) / 2;
    MidY = (MaxY + MinY) / 2;
    MidZ = (MaxZ + MinZ) / 2;
  }
  ExtentDiagonal = std::hypot(MaxX - MinX, MaxY - MinY);
}

void SurfaceModel::SetPointLabel(PointIndex i, std::string_view text) {
  if (i >= PointLabel.size()) return;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() > 4) text.remove_prefix(text.size() - 4);
  PointLabelText& label = PointLabel[i];
  label.fill(' ');
  std::copy(text.begin(), text.end(), label.end() - static_cast<std::ptrdiff_t>(text.size()));
}

std::string SurfaceModel::GetPointLabel(PointIndex i) const {
  if (i >= PointLabel.size()) return std::string(4, ' ');
  return std::string(PointLabel[i].begin(), PointLabel[i].end());
}

PointIndex SurfaceModel::FirstBorderPoint(PointIndex from, PointIndex last) const {
  const std::size_t end = std::min<std::size_t>(last, BorderNext.empty() ? 0 : BorderNext.size() - 1);
  for (std::size_t i = std::max<std::size_t>(from, 1); i <= end; ++i)
    if (BorderNext[i] != NoPoint) return static_cast<PointIndex>(i);
  return NoPoint;
}

bool SurfaceModel::ReverseBorder() {
  const PointIndex start = FirstBorderPoint(1, PointCount);
  if (start == NoPoint) return true;

  // Walk the ring once without changing it: a broken ring (a successor off the model, or a
  // chain that never comes back to the start) must neither hang nor be half reversed.
  PointIndex current = start;
  bool closed = false;
  for (std::size_t step = 0; step < PointCount; ++step) {
    const PointIndex next = BorderNext[current];
    if (next == NoPoint || next > PointCount) return false;
    if (next == start) {
      closed = true;
      break;
    }
    current = next;
  }
  if (!closed) return false;

  PointIndex previous = start;
  current = BorderNext[start];
  for (;;) {
    const PointIndex next = BorderNext[current];
    BorderNext[current] = previous;
    if (current == start) break;
    previous = current;
    current = next;
  }
  return true;
}

void SurfaceModel::ResetContourTriList() {
  const std::size_t count =
      std::min<std::size_t>(TriangleCount, ContourTriList.empty() ? 0 : ContourTriList.size() - 1);
  ContourTriCount = static_cast<std::uint16_t>(count);
  for (std::size_t k = 1; k <= count; ++k) ContourTriList[k] = static_cast<TriangleIndex>(k);
}

void SurfaceModel::SortPointsAlongLongerAxis(std::vector<PointIndex>& list, PointIndex lo, PointIndex hi) {
  SortAxisIsX = !((MaxY - MinY) > (MaxX - MinX));
  if (lo > hi || hi >= PointX.size()) return;
  if (list.size() <= hi) list.resize(std::size_t{hi} + 1);
  for (std::size_t k = lo; k <= hi; ++k) list[k] = static_cast<PointIndex>(k);
  const StoreArray<double>& key = SortAxisIsX ? PointX : PointY;
  SortAlongAxis(list.data(), lo, hi, [&key](PointIndex p) { return key[p]; });
}

// ---------------------------------------------------------------------------------------------

namespace {

class TopologyReport {
 public:
  void Add(std::string line) {
    if (lines_.size() < MaxLines) lines_.push_back(std::move(line));
    ++total_;
  }
  std::vector<std::string> Finish() {
    if (total_ > lines_.size())
      lines_.push_back("... and " + std::to_string(total_ - lines_.size()) + " more");
    return std::move(lines_);
  }

 private:
  // A wrecked model would otherwise produce one line per element.
  static constexpr std::size_t MaxLines = 100;
  std::vector<std::string> lines_;
  std::size_t total_ = 0;
};

std::string Name(const char* kind, std::size_t i) {
  return std::string(kind) + " " + std::to_string(i);
}

bool HasCorner(const TriangleCorners& corners, PointIndex p) {
  return std::find(corners.begin(), corners.end(), p) != corners.end();
}

int CommonCorners(const TriangleCorners& a, const TriangleCorners& b) {
  int common = 0;
  for (PointIndex p : a) common += HasCorner(b, p) ? 1 : 0;
  return common;
}

void CheckBorder(const SurfaceModel& m, TopologyReport& report) {
  std::size_t members = 0;
  bool linksInRange = true;
  for (std::size_t i = 1; i <= m.PointCount; ++i) {
    const PointIndex next = m.BorderNext[i];
    if (next == NoPoint) continue;
    ++members;
    if (next > m.PointCount) {
      report.Add(Name("point", i) + ": border successor " + std::to_string(next) + " is not a point");
      linksInRange = false;
    } else if (m.BorderNext[next] == NoPoint) {
      report.Add(Name("point", i) + ": border successor " + std::to_string(next) + " is not on the border");
      linksInRange = false;
    }
  }
  if (members == 0 || !linksInRange) return;

  // Every member points at a member, so the walk stays on the border; it must come back to the
  // start after exactly `members` steps, having seen every member once.
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  std::vector<bool> seen(std::size_t{m.PointCount} + 1, false);
  PointIndex current = start;
  std::size_t steps = 0;
  while (!seen[current] && steps < members) {
    seen[current] = true;
    current = m.BorderNext[current];
    ++steps;
  }
  if (current != start || steps != members)
    report.Add("border: the ring from point " + std::to_string(start) + " closes after " +
               std::to_string(steps) + " of " + std::to_string(members) + " border points");
}

void CheckTriangles(const SurfaceModel& m, TopologyReport& report) {
  for (std::size_t t = 1; t <= m.TriangleCount; ++t) {
    const TriangleCorners& c = m.TriVertex[t];
    bool cornersInRange = true;
    for (PointIndex p : c) {
      if (p == NoPoint || p > m.PointCount) {
        report.Add(Name("triangle", t) + ": corner " + std::to_string(p) + " is not a point");
        cornersInRange = false;
      }
    }
    if (cornersInRange && (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]))
      report.Add(Name("triangle", t) + ": corners " + std::to_string(c[0]) + ", " + std::to_string(c[1]) +
                 ", " + std::to_string(c[2]) + " are not distinct");

    const TriangleNeighbours& n = m.TriNeighbour[t];
    bool zeroSeen = false;
    for (std::size_t s = 0; s < n.size(); ++s) {
      const TriangleIndex u = n[s];
      if (u == NoTriangle) {
        zeroSeen = true;
        continue;
      }
      if (zeroSeen)
        report.Add(Name("triangle", t) + ": neighbour " + std::to_string(u) + " follows an empty slot");
      if (u > m.TriangleCount) {
        report.Add(Name("triangle", t) + ": neighbour " + std::to_string(u) + " is not a triangle");
        continue;
      }
      if (u == t) {
        report.Add(Name("triangle", t) + ": is its own neighbour");
        continue;
      }
      for (std::size_t r = 0; r < s; ++r)
        if (n[r] == u) report.Add(Name("triangle", t) + ": neighbour " + std::to_string(u) + " listed twice");
      const TriangleNeighbours& back = m.TriNeighbour[u];
      if (std::find(back.begin(), back.end(), static_cast<TriangleIndex>(t)) == back.end())
        report.Add(Name("triangle", t) + ": neighbour " + std::to_string(u) + " does not list it back");
      if (CommonCorners(c, m.TriVertex[u]) != 2)
        report.Add(Name("triangle", t) + ": neighbour " + std::to_string(u) + " does not share an edge");
    }
  }
}

}  // namespace

std::vector<TriangleEdge> EdgesByPoints(const SurfaceModel& m) {
  // A counting sort by the lower point, then each point's few edges by the higher one: linear
  // in the number of triangles, where a general sort of the same edges takes several times as
  // long at full capacity.
  std::vector<std::uint32_t> start(std::size_t{m.PointCount} + 2, 0);
  const auto sound = [&m](const TriangleCorners& c) {
    for (PointIndex p : c)
      if (p == NoPoint || p > m.PointCount) return false;
    return c[0] != c[1] && c[1] != c[2] && c[0] != c[2];
  };
  for (std::size_t t = 1; t <= m.TriangleCount; ++t) {
    const TriangleCorners& c = m.TriVertex[t];
    if (!sound(c)) continue;
    for (std::size_t k = 0; k < 3; ++k) ++start[std::min(c[k], c[(k + 1) % 3]) + 1u];
  }
  for (std::size_t p = 1; p < start.size(); ++p) start[p] += start[p - 1];
  std::vector<TriangleEdge> edges(start.back());
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  for (std::size_t t = 1; t <= m.TriangleCount; ++t) {
    const TriangleCorners& c = m.TriVertex[t];
    if (!sound(c)) continue;
    for (std::size_t k = 0; k < 3; ++k) {
      const auto [lo, hi] = std::minmax(c[k], c[(k + 1) % 3]);
      edges[next[lo]++] = {lo, hi, static_cast<TriangleIndex>(t)};
    }
  }
  // Insertion keeps the triangle order of equal edges, which the placing above made ascending.
  for (std::size_t p = 1; p + 1 < start.size(); ++p) {
    for (std::size_t i = start[p] + 1; i < start[p + 1]; ++i) {
      const TriangleEdge e = edges[i];
      std::size_t j = i;
      for (; j > start[p] && edges[j - 1].hi > e.hi; --j) edges[j] = edges[j - 1];
      edges[j] = e;
    }
  }
  return edges;
}

namespace {

void CheckBreaklines(const SurfaceModel& m, TopologyReport& report) {
  for (std::size_t b = 1; b <= m.BreaklineCount; ++b) {
    for (PointIndex p : {m.Breaklines[b].From, m.Breaklines[b].To})
      if (p == NoPoint || p > m.PointCount)
        report.Add(Name("breakline", b) + ": end " + std::to_string(p) + " is not a point");
  }
}

// The side of the line from a to b on which p lies: 1 left, -1 right, 0 too close to tell.
int Side(const SurfaceModel& m, PointIndex a, PointIndex b, PointIndex p) {
  const double abx = m.PointX[b] - m.PointX[a], aby = m.PointY[b] - m.PointY[a];
  const double apx = m.PointX[p] - m.PointX[a], apy = m.PointY[p] - m.PointY[a];
  const double cross = abx * apy - aby * apx;
  // Relative to the lengths, so that the tolerance does not depend on the units. Reading a
  // model checks every edge, so the product of the lengths is first taken from the squares;
  // only where that leaves the answer in doubt (within a millionth of the tolerance, or where
  // squares could overflow or underflow) are the lengths taken as hypot gives them.
  const double ab2 = abx * abx + aby * aby, ap2 = apx * apx + apy * apy;
  const auto safe = [](double square) { return square > 1e-140 && square < 1e140; };
  if (safe(ab2) && safe(ap2)) {
    const double tolerance = 1e-9 * std::sqrt(ab2 * ap2);
    if (std::fabs(cross) > tolerance * (1 + 1e-6)) return cross > 0 ? 1 : -1;
    if (std::fabs(cross) < tolerance * (1 - 1e-6)) return 0;
  }
  if (!(std::fabs(cross) > 1e-9 * std::hypot(abx, aby) * std::hypot(apx, apy))) return 0;
  return cross > 0 ? 1 : -1;
}

// The corner of triangle t that is not on the edge lo-hi.
PointIndex Opposite(const SurfaceModel& m, TriangleIndex t, PointIndex lo, PointIndex hi) {
  for (PointIndex p : m.TriVertex[t])
    if (p != lo && p != hi) return p;
  return NoPoint;
}

// An edge belongs to one triangle (on the outside of the surface) or to two, which lie on its
// two sides and, in a triangulation of the program's own, list each other. A third triangle on
// an edge, or two folded over each other, would count their ground twice in every area and
// volume; a missing link only cuts the walks along the surface short.
void CheckTriangleEdges(const SurfaceModel& m, TopologyReport& report, bool linksRequired) {
  const std::vector<TriangleEdge> edges = EdgesByPoints(m);
  const auto sameEdge = [](const TriangleEdge& a, const TriangleEdge& b) { return a.lo == b.lo && a.hi == b.hi; };
  for (std::size_t k = 0; k < edges.size();) {
    std::size_t end = k + 1;
    while (end < edges.size() && sameEdge(edges[end], edges[k])) ++end;
    const PointIndex lo = edges[k].lo, hi = edges[k].hi;
    // Named only when at fault: a sound model has a hundred thousand edges.
    const auto name = [lo, hi] { return "edge " + std::to_string(lo) + "-" + std::to_string(hi); };
    if (end - k > 2) {
      report.Add(name() + ": shared by " + std::to_string(end - k) + " triangles");
    } else if (end - k == 2) {
      const TriangleIndex t = edges[k].triangle, u = edges[k + 1].triangle;
      const TriangleNeighbours& n = m.TriNeighbour[t];
      if (linksRequired && std::find(n.begin(), n.end(), u) == n.end())
        report.Add(name() + ": triangles " + std::to_string(t) + " and " + std::to_string(u) +
                   " share it but are not neighbours");
      if (Side(m, lo, hi, Opposite(m, t, lo, hi)) * Side(m, lo, hi, Opposite(m, u, lo, hi)) > 0)
        report.Add(Name("triangles", t) + " and " + std::to_string(u) + ": lie on the same side of " + name() +
                   " (folded)");
    }
    k = end;
  }
}

// Counts come first: everything after them indexes the arrays up to the counts.
bool CountsSound(const SurfaceModel& model, TopologyReport& report) {
  auto checkCount = [&](const char* what, std::size_t count, std::size_t capacity, std::size_t allocated) {
    if (count > capacity)
      report.Add(std::string(what) + " count " + std::to_string(count) + " exceeds the capacity " +
                 std::to_string(capacity));
    if (count > 0 && count >= allocated)
      report.Add(std::string(what) + " count " + std::to_string(count) + " exceeds the allocated store");
    return count <= capacity && (count == 0 || count < allocated);
  };
  bool countsSound = true;
  countsSound &= checkCount("point", model.PointCount, model.MaxPoints,
                            std::min({model.PointX.size(), model.PointY.size(), model.PointZ.size(),
                                      model.PointLabel.size(), model.BorderNext.size()}));
  countsSound &= checkCount("triangle", model.TriangleCount, model.MaxTriangles,
                            std::min(model.TriVertex.size(), model.TriNeighbour.size()));
  countsSound &= checkCount("breakline", model.BreaklineCount, model.MaxBreaklines, model.Breaklines.size());
  countsSound &= checkCount("cut/fill", model.CutFillCount, model.MaxPoints, model.PointCutFill.size());
  return countsSound;
}

}  // namespace

std::vector<std::string> CheckTopology(const SurfaceModel& model) {
  TopologyReport report;
  if (!CountsSound(model, report)) return report.Finish();

  CheckBorder(model, report);
  CheckTriangles(model, report);
  CheckTriangleEdges(model, report, true);
  CheckBreaklines(model, report);
  return report.Finish();
}

std::vector<std::string> CheckTriangleTopology(const SurfaceModel& model) {
  TopologyReport report;
  if (!CountsSound(model, report)) return report.Finish();
  CheckTriangles(model, report);
  CheckTriangleEdges(model, report, false);
  return report.Finish();
}

}  // namespace terravue::model

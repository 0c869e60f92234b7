#include "mapping/level_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "common/settings_table.h"
#include "common/user_port.h"
#include "mapping/contour_smoothing.h"
#include "mapping/map_options_edit.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"

// One level at a time, the tracer marks the triangles the level cannot cross as done, then
// starts a line in every triangle still open, in work-list order, and walks it across the
// edges the level crosses in both directions until it meets the border of the surface or comes
// back to where it started. A level through a vertex is followed by pivoting about the vertex
// through the triangles that only touch the level there.
//
// Marking every triangle of the surface for every level would cost a sweep of the whole work
// list per level; instead each triangle is filed once, before the levels are traced, under
// every level between its lowest and highest corner, in work-list order. A level looks only at
// its own file: triangles outside it are exactly those the full sweep would mark done, so the
// lines come out the same, in the same order. Only a triangle with a corner exactly on one of
// its levels needs the marking rules; the others are simply open.
//
// The walks jump from triangle to neighbouring triangle and from corner to corner all over the
// model's arrays. They run on compact copies made at the start of the run instead: per
// triangle its corners, its neighbours and its done mark side by side, per point its three
// coordinates and the traced one, so that a step of a walk touches a cache line or two rather
// than one for each array.
namespace terravue::mapping {
namespace {

using device::WorldPoint;
using model::SurfaceModel;

constexpr double NearZeroBound = 0.0001;
// Levels further than this many steps from the base cannot be told apart in f64.
constexpr double MaxLevelIndex = 4503599627370496.0;  // 2^52
// Level files hold at most this many entries at once; more are filed a stretch of levels at a
// time (a steep surface at a fine interval).
constexpr std::size_t FileBudget = std::size_t{1} << 18;

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

// A hint that the data at p is wanted soon.
void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  static_cast<void>(p);
#endif
}

double Distance2(const WorldPoint& a, const WorldPoint& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

double PlanLength(std::span<const WorldPoint> line) {
  double length = 0;
  for (std::size_t i = 1; i < line.size(); ++i)
    length += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  return length;
}

// "The contour interval 0.001 makes 123456789 line segments, ..." and the question.
std::string LargeRunQuestion(const LevelLineRun& run, std::uint64_t segments) {
  return std::string(run.coordinate == TracedCoordinate::Z ? msg::LargeRunContourPrefix : msg::LargeRunGridPrefix) +
         FormatSettingsReal(run.interval) + std::string(msg::LargeRunMakes) + std::to_string(segments) +
         std::string(msg::LargeRunMoreThan) + std::to_string(run.segmentLimit) + std::string(msg::LargeRunQuestion);
}

bool Selected(LineSelection selection, bool indexPass) {
  return selection == LineSelection::All ||
         selection == (indexPass ? LineSelection::Multiple : LineSelection::NonMultiple);
}

// A triangle of the work list that at least one level crosses, with the levels (offsets from
// the first level of the run) at its lowest and highest corners, and whether a corner lies
// exactly on one of them.
struct ListEntry {
  std::int16_t firstLevel;
  std::int16_t lastLevel;
  TriangleIndex triangle;
  bool touches;
};
static_assert(MaxLinesPerRedraw < 32767, "level offsets are kept in 16 bits");

// The run's copy of a triangle: its corners (sorted for listed triangles), its neighbours
// (those out of range cleared) and the done mark.
struct TriangleCopy {
  model::TriangleCorners corners;
  model::TriangleNeighbours neighbours;
  std::uint32_t open;  // equal to the level's stamp while the triangle is not done
};
static_assert(sizeof(TriangleCopy) == 16);

// The run's copy of a point: its coordinates and the traced one once more.
struct PointCopy {
  double x, y, z, v;
};

// The levels (offsets) first not below and last not above a point's traced value; they meet
// when the point lies on a level.
struct PointLevels {
  std::int16_t first, last;
};

// A filed triangle of a level; the flag says a corner lies exactly on one of its levels.
constexpr std::uint32_t TouchFlag = 1u << 16;

class Tracer {
 public:
  Tracer(SurfaceModel& model, LineOutput& output, const LevelLineRun& run)
      : m_(model),
        out_(output),
        run_(run),
        v_(run.coordinate == TracedCoordinate::X   ? model.PointX
           : run.coordinate == TracedCoordinate::Y ? model.PointY
                                                   : model.PointZ) {}

  TraceOutcome Run(UserPort& port);

 private:
  struct Step {
    TriangleIndex triangle = NoTriangle;
    PointIndex third = NoPoint;
  };

  std::span<const TriangleIndex> WorkList() const;
  bool Listed(TriangleIndex t) const { return t != NoTriangle && t <= m_.TriangleCount; }
  bool Allocate();
  void CopySurface();
  bool RangeAndSortCorners(double& low, double& high);
  template <typename Value>
  bool RangeAndSortCorners(double& low, double& high, Value value);
  void ListTriangles(const LevelRange& range);
  std::int64_t FileLevels(std::int64_t from, std::int64_t levels);
  void Pass(const LevelRange& range, bool indexPass, const LevelStyle& style);
  void TraceOneLevel(double level, bool labelled, std::span<const std::uint32_t> filed);
  void TraceFrom(TriangleIndex t, bool labelled);
  void WalkLine(TriangleIndex t, PointIndex lo, PointIndex hi, std::vector<WorldPoint>& points);
  // The ends of the edge a walk is on, with their traced values at hand.
  struct Edge {
    PointIndex lo, hi;
    double vlo, vhi;
  };
  Edge EdgeOf(PointIndex lo, PointIndex hi) const { return {lo, hi, V(lo), V(hi)}; }
  Step StepAcrossEdge(TriangleIndex t, Edge& e);
  Step AcrossEdge(TriangleIndex t, PointIndex a, PointIndex b) const;
  WorldPoint EdgePoint(PointIndex upper, PointIndex lower) const;
  void EmitLine(bool labelled);

  double V(PointIndex p) const { return pts_[p].v; }
  bool Done(TriangleIndex t) const { return tri_[t].open != stamp_; }
  void MarkDone(TriangleIndex t) { tri_[t].open = 0; }

  SurfaceModel& m_;
  LineOutput& out_;
  const LevelLineRun& run_;
  const model::StoreArray<double>& v_;  // the traced coordinate

  // Work state of the run.
  std::vector<TriangleCopy> tri_;          // entries 0..TriangleCount
  std::vector<PointCopy> pts_;             // entries 0..the highest corner of any triangle
  std::vector<PointLevels> pointLevels_;   // the same entries
  std::uint32_t stamp_ = 0;
  std::vector<ListEntry> entries_;      // in work-list order
  std::vector<std::int64_t> spanning_;  // per level offset: entries spanning it
  std::vector<std::size_t> fileStart_;  // per level offset from filedFrom_: start of its file
  std::vector<std::size_t> fileNext_;   // the same: next free place while filing
  std::vector<std::uint32_t> filed_;    // triangle | TouchFlag, level by level, in list order
  std::int64_t filedFrom_ = 0, filedTo_ = 0;  // the levels filed at present
  std::uint64_t segments_ = 0;                // level crossings of the listed triangles
  std::vector<WorldPoint> line_;
  int lineCount_ = 0;  // points in the line being traced
  double level_ = 0;
  WorldPoint lastLineEnd_;
  long lines_ = 0;
};

std::span<const TriangleIndex> Tracer::WorkList() const {
  const std::size_t count =
      std::min<std::size_t>(m_.ContourTriCount, m_.ContourTriList.empty() ? 0 : m_.ContourTriList.size() - 1);
  return {m_.ContourTriList.data() + 1, count};
}

bool Tracer::Allocate() {
  try {
    tri_.resize(static_cast<std::size_t>(m_.TriangleCount) + 1);
    pts_.reserve(static_cast<std::size_t>(m_.PointCount) + 1);
    pointLevels_.reserve(static_cast<std::size_t>(m_.PointCount) + 1);
    entries_.reserve(WorkList().size());
    line_.reserve(MaxLinePoints);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// The triangles as they are, and every point a triangle uses. Corners beyond the model's
// arrays read as the origin.
void Tracer::CopySurface() {
  const TriangleIndex count = m_.TriangleCount;
  PointIndex highest = 0;
  tri_[0] = {};
  for (TriangleIndex t = 1; t <= count; ++t) {
    TriangleCopy& copy = tri_[t];
    copy.corners = m_.TriVertex[t];
    copy.neighbours = m_.TriNeighbour[t];
    for (TriangleIndex& u : copy.neighbours)
      if (u > count) u = NoTriangle;
    copy.open = 0;
    highest = std::max({highest, copy.corners[0], copy.corners[1], copy.corners[2]});
  }
  pts_.resize(static_cast<std::size_t>(highest) + 1);
  const std::size_t stored = std::min({pts_.size(), m_.PointX.size(), m_.PointY.size(), m_.PointZ.size()});
  for (std::size_t p = 0; p < stored; ++p) pts_[p] = {m_.PointX[p], m_.PointY[p], m_.PointZ[p], v_[p]};
  for (std::size_t p = stored; p < pts_.size(); ++p) pts_[p] = {};
}

// The data range over the corners of the listed triangles, and the corners of each sorted
// ascending in the traced value, in the model as in the copy: a, b, c below. Ties keep their
// order, which decides the edges chosen when a level meets a vertex.
bool Tracer::RangeAndSortCorners(double& low, double& high) {
  // The model's own array of the traced values is a quarter the size of the copies, and so
  // more of it stays in the cache; it serves when it holds every corner.
  if (pts_.size() <= v_.size()) return RangeAndSortCorners(low, high, [this](PointIndex p) { return v_[p]; });
  return RangeAndSortCorners(low, high, [this](PointIndex p) { return V(p); });
}

template <typename Value>
bool Tracer::RangeAndSortCorners(double& low, double& high, Value value) {
  bool any = false;
  for (TriangleIndex t : WorkList()) {
    if (!Listed(t)) continue;
    model::TriangleCorners& c = tri_[t].corners;
    const double v0 = value(c[0]), v1 = value(c[1]), v2 = value(c[2]);
    if (!any) {
      low = high = v0;
      any = true;
    }
    low = std::min({low, v0, v1, v2});
    high = std::max({high, v0, v1, v2});
    if (v0 > v1) std::swap(c[0], c[1]);
    if (value(c[0]) > value(c[2])) std::swap(c[0], c[2]);
    if (value(c[1]) > value(c[2])) std::swap(c[1], c[2]);
    m_.TriVertex[t] = c;
  }
  return any;
}

void Tracer::ListTriangles(const LevelRange& range) {
  const std::int64_t levels = range.Count();
  spanning_.assign(static_cast<std::size_t>(levels) + 1, 0);
  if (levels == 0) return;
  const auto value = [&](std::int64_t offset) {
    return LevelValue(run_.base, run_.interval, range.first + offset);
  };
  // Per point, the first level not below it and the last not above it, from an estimate put
  // right against the levels themselves.
  pointLevels_.resize(pts_.size());
  const double top = static_cast<double>(levels);
  for (std::size_t p = 0; p < pts_.size(); ++p) {
    const double x = pts_[p].v;
    const double steps = (x - run_.base) / run_.interval - static_cast<double>(range.first);
    if (std::isnan(steps)) {
      pointLevels_[p] = {std::numeric_limits<std::int16_t>::max(), -1};  // neither above nor below a level
      continue;
    }
    auto first = static_cast<std::int64_t>(std::clamp(std::ceil(steps), 0.0, top));
    while (first > 0 && value(first - 1) >= x) --first;
    while (first < levels && value(first) < x) ++first;
    // The levels below `first` are below x; from it on they only rise.
    std::int64_t last = first - 1;
    while (last < levels - 1 && value(last + 1) <= x) ++last;
    pointLevels_[p] = {static_cast<std::int16_t>(first), static_cast<std::int16_t>(last)};
  }
  const auto onLevel = [](const PointLevels& p) { return p.first <= p.last; };
  for (TriangleIndex t : WorkList()) {
    if (!Listed(t)) continue;
    const model::TriangleCorners& c = tri_[t].corners;
    const PointLevels& lowest = pointLevels_[c[0]];
    const PointLevels& highest = pointLevels_[c[2]];
    if (lowest.first > highest.last) continue;
    // A flat triangle never yields a line. Spanning a level, its lowest and highest corners
    // lie on the same levels only when both lie on that level.
    if (lowest.first == highest.first && lowest.last == highest.last) continue;
    const bool touches = onLevel(lowest) || onLevel(pointLevels_[c[1]]) || onLevel(highest);
    entries_.push_back({lowest.first, highest.last, t, touches});
    ++spanning_[static_cast<std::size_t>(lowest.first)];
    --spanning_[static_cast<std::size_t>(highest.last) + 1];
  }
  for (std::size_t k = 1; k < spanning_.size(); ++k) spanning_[k] += spanning_[k - 1];
  // The files of a stretch of levels fit the budget, or hold a single level.
  std::size_t total = 0;
  for (std::int64_t k = 0; k < levels; ++k) total += static_cast<std::size_t>(spanning_[static_cast<std::size_t>(k)]);
  segments_ = total;
  filed_.reserve(std::min(total, FileBudget + entries_.size()));
  fileStart_.reserve(static_cast<std::size_t>(levels) + 1);
  fileNext_.reserve(static_cast<std::size_t>(levels));
}

// Files the entries under the levels from offset `from` on, as many levels as fit the budget
// (at least one), and returns the offset after the last one filed.
std::int64_t Tracer::FileLevels(std::int64_t from, std::int64_t levels) {
  std::int64_t to = from;
  std::size_t total = 0;
  fileStart_.assign(1, 0);
  while (to < levels) {
    const auto here = static_cast<std::size_t>(spanning_[static_cast<std::size_t>(to)]);
    if (to > from && total + here > FileBudget) break;
    total += here;
    fileStart_.push_back(total);
    ++to;
  }
  filed_.resize(total);
  fileNext_.assign(fileStart_.begin(), fileStart_.end() - 1);
  for (const ListEntry& e : entries_) {
    const std::int64_t lo = std::max<std::int64_t>(e.firstLevel, from);
    const std::int64_t hi = std::min<std::int64_t>(e.lastLevel, to - 1);
    const std::uint32_t item = e.triangle | (e.touches ? TouchFlag : 0u);
    for (std::int64_t k = lo; k <= hi; ++k) filed_[fileNext_[static_cast<std::size_t>(k - from)]++] = item;
  }
  filedFrom_ = from;
  filedTo_ = to;
  return to;
}

void Tracer::Pass(const LevelRange& range, bool indexPass, const LevelStyle& style) {
  device::DrawingDevice& device = out_.Device();
  device.DeviceSetLayer(style.colour, style.layer);
  device.DeviceSetWidth(style.width);
  out_.SetDashFlag(Selected(run_.dashes, indexPass));
  const bool labelled = Selected(run_.labels, indexPass);
  const std::int64_t levels = range.Count();
  // Usually all levels fit at once, filed for both passes.
  for (std::int64_t from = 0; from < levels;) {
    const std::int64_t to = from == filedFrom_ && filedTo_ > from ? filedTo_ : FileLevels(from, levels);
    for (std::int64_t offset = from; offset < to; ++offset) {
      const std::int64_t k = range.first + offset;
      if (IsIndexLevel(k, run_.multiple) != indexPass) continue;
      const auto i = static_cast<std::size_t>(offset - from);
      const std::span<const std::uint32_t> filed(filed_.data() + fileStart_[i], fileStart_[i + 1] - fileStart_[i]);
      TraceOneLevel(LevelValue(run_.base, run_.interval, k), labelled, filed);
    }
    from = to;
  }
}

void Tracer::TraceOneLevel(double level, bool labelled, std::span<const std::uint32_t> filed) {
  level_ = level;
  const double l = level;
  ++stamp_;
  bool touched = false;
  for (std::uint32_t item : filed) {
    TriangleCopy& copy = tri_[item & 0xFFFFu];
    copy.open = stamp_;
    touched = touched || (item & TouchFlag) != 0;
    // The walks below visit these triangles one after another, each step waiting for the
    // last; fetching their corners now, all at once, spares the walks that wait.
    for (PointIndex p : copy.corners) Prefetch(&pts_[p]);
  }

  // Marking: a triangle touching the level at one corner only is done; an edge lying on the
  // level is traced once, from the triangle met first, so the one across it is done. A filed
  // triangle without a corner on the level crosses it and stays open.
  if (touched) {
    for (std::uint32_t item : filed) {
      if ((item & TouchFlag) == 0) continue;
      const auto t = static_cast<TriangleIndex>(item & 0xFFFFu);
      if (Done(t)) continue;
      const model::TriangleCorners& c = tri_[t].corners;
      const double va = V(c[0]), vb = V(c[1]), vc = V(c[2]);
      if (vb == l) {
        if (va == l) {
          if (const Step across = AcrossEdge(t, c[0], c[1]); across.triangle != NoTriangle)
            MarkDone(across.triangle);
        }
        if (vc == l) {
          if (const Step across = AcrossEdge(t, c[1], c[2]); across.triangle != NoTriangle)
            MarkDone(across.triangle);
        }
      } else if (va >= l || vc <= l) {
        MarkDone(t);
      }
    }
  }

  for (std::uint32_t item : filed) {
    const auto t = static_cast<TriangleIndex>(item & 0xFFFFu);
    if (!Done(t)) TraceFrom(t, labelled);
  }
}

void Tracer::TraceFrom(TriangleIndex t, bool labelled) {
  MarkDone(t);
  const model::TriangleCorners c = tri_[t].corners;
  const double l = level_;
  // The level leaves the triangle through the long edge (c, a) and one of the short ones.
  PointIndex upper = c[2], lower = c[1];
  if (l < V(c[1]) || (l == V(c[1]) && l == V(c[2]))) {
    upper = c[1];
    lower = c[0];
  }
  const WorldPoint first = EdgePoint(upper, lower);
  const WorldPoint second = EdgePoint(c[2], c[0]);
  // The line runs: the walk before the head (last found first), the long edge's point, the
  // first crossing, the walk after the tail.
  line_.clear();
  lineCount_ = 2;
  WalkLine(t, c[0], c[2], line_);
  std::reverse(line_.begin(), line_.end());
  line_.push_back(second);
  line_.push_back(first);
  if (lineCount_ < MaxLinePoints) WalkLine(t, lower, upper, line_);
  EmitLine(labelled);
}

void Tracer::WalkLine(TriangleIndex t, PointIndex lo, PointIndex hi, std::vector<WorldPoint>& points) {
  const double l = level_;
  TriangleIndex current = t;
  Edge e = EdgeOf(lo, hi);
  while (lineCount_ < MaxLinePoints) {
    const Step step = StepAcrossEdge(current, e);
    if (step.triangle == NoTriangle) break;
    MarkDone(step.triangle);
    ++lineCount_;
    // The exit edge: the one of the new triangle that the level crosses beyond the entry edge.
    const PointIndex w = step.third;
    const double vw = V(w);
    if (vw == l) {
      if (e.vhi == l || e.vlo < l) {
        e.hi = w;
        e.vhi = vw;
      } else {
        e.lo = w;
        e.vlo = vw;
      }
    } else {
      const bool below = l >= vw;  // either way as often: better without a branch
      e.lo = below ? w : e.lo;
      e.vlo = below ? vw : e.vlo;
      e.hi = below ? e.hi : w;
      e.vhi = below ? e.vhi : vw;
    }
    points.push_back(EdgePoint(e.hi, e.lo));
    current = step.triangle;
  }
}

Tracer::Step Tracer::StepAcrossEdge(TriangleIndex t, Edge& e) {
  const double l = level_;
  // Pivot mode: 1 when the lower end lies on the level, 2 the upper end, 0 neither.
  int mode = e.vlo == l ? 1 : e.vhi == l ? 2 : 0;
  TriangleIndex current = t;
  // A sound surface has fewer triangles around a vertex than in all; a damaged one cannot
  // keep the walk turning for ever.
  for (int turns = 0; turns <= m_.TriangleCount; ++turns) {
    Step across = AcrossEdge(current, e.lo, e.hi);
    if (across.triangle == NoTriangle || across.triangle == t) return {};
    if (!Done(across.triangle)) {
      if (mode == 1 && e.vhi == l) {
        std::swap(e.hi, across.third);
        e.vhi = V(e.hi);
      }
      if (mode == 2 && e.vlo == l) {
        std::swap(e.lo, across.third);
        e.vlo = V(e.lo);
      }
      if (e.vlo > e.vhi) e = {e.hi, e.lo, e.vhi, e.vlo};
      return across;
    }
    // Done: turn about the vertex on the level through it, to its other edge at the vertex.
    const PointIndex w = across.third;
    const double vw = V(w);
    if (mode == 0) return {};
    if (mode == 1) {
      if (vw >= l)
        e = {e.lo, w, e.vlo, vw};
      else {
        e = {w, e.lo, vw, e.vlo};
        mode = 2;
      }
    } else {
      if (vw <= l)
        e = {w, e.hi, vw, e.vhi};
      else {
        e = {e.hi, w, e.vhi, vw};
        mode = 1;
      }
    }
    current = across.triangle;
  }
  return {};
}

Tracer::Step Tracer::AcrossEdge(TriangleIndex t, PointIndex a, PointIndex b) const {
  const model::TriangleNeighbours& n = tri_[t].neighbours;
  for (int slot = 2; slot >= 0; --slot) {
    const TriangleIndex u = n[static_cast<std::size_t>(slot)];
    if (u == NoTriangle) continue;
    const model::TriangleCorners& c = tri_[u].corners;
    // Without branches: which neighbour it is follows no pattern a predictor could learn.
    const bool hasA = (c[0] == a) | (c[1] == a) | (c[2] == a);
    const bool hasB = (c[0] == b) | (c[1] == b) | (c[2] == b);
    if (!(hasA & hasB)) continue;
    const PointIndex third = c[0] != a && c[0] != b ? c[0] : c[1] != a && c[1] != b ? c[1] : c[2];
    return {u, third};
  }
  return {};
}

WorldPoint Tracer::EdgePoint(PointIndex upper, PointIndex lower) const {
  const PointCopy& a = pts_[upper];
  const PointCopy& b = pts_[lower];
  const double d = a.v - b.v;
  if (NearZero(d)) return {b.x, b.y, b.z};
  const double f = (level_ - b.v) / d;
  return {b.x + (a.x - b.x) * f, b.y + (a.y - b.y) * f, b.z + (a.z - b.z) * f};
}

void Tracer::EmitLine(bool labelled) {
  // Lines start at the end nearer to where the previous one ended.
  if (Distance2(lastLineEnd_, line_.front()) > Distance2(lastLineEnd_, line_.back()))
    std::reverse(line_.begin(), line_.end());
  lastLineEnd_ = line_.back();
  out_.TogglePhase();
  const WorldPoint& head = line_.front();
  const WorldPoint& tail = line_.back();
  const bool closed = NearZero(head.x - tail.x) && NearZero(head.y - tail.y) && NearZero(head.z - tail.z);
  const bool wantsLabels = labelled && out_.LabelsSetUp();
  out_.PrepareLine(wantsLabels, wantsLabels ? PlanLength(line_) : 0);
  if (line_.size() < 3) {
    const WorldPoint ends[2] = {head, tail};
    out_.StraightLine(ends);
  } else if (out_.smoothing.on && !(line_.size() < 4 && closed)) {
    out_.SmoothLine(line_, closed);
  } else {
    out_.StraightLine(line_);
  }
  ++lines_;
}

TraceOutcome Tracer::Run(UserPort& port) {
  TraceOutcome outcome;
  if (m_.PointCount == 0 || m_.TriangleCount == 0) return outcome;
  if (!(run_.interval > 0) || !std::isfinite(run_.interval)) return outcome;

  if (!Allocate()) {
    port.ShowError(msg::ContourMemoryNotAllocated);
    port.ShowError(msg::InsufficientMemoryForOption);
    return outcome;
  }
  const double diagonal = std::hypot(m_.MaxX - m_.MinX, m_.MaxY - m_.MinY);
  out_.smoothingDensity =
      diagonal > 0 && std::isfinite(diagonal) ? out_.smoothing.segments * 10.0 / diagonal : 0.0;

  double low = 0, high = 0;
  bool any = false;
  try {
    CopySurface();
    any = RangeAndSortCorners(low, high);
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::ContourMemoryNotAllocated);
    port.ShowError(msg::InsufficientMemoryForOption);
    return outcome;
  }
  if (run_.rangeSpecified) {
    if (run_.minimum > low) low = run_.minimum;
    if (run_.maximum < high) high = run_.maximum;
  }
  const LevelRange range = any ? PlanLevels(low, high, run_.interval, run_.base, MaxLinesPerRedraw) : LevelRange{};
  outcome.capped = range.capped;
  try {
    ListTriangles(range);
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::ContourMemoryNotAllocated);
    port.ShowError(msg::InsufficientMemoryForOption);
    return outcome;
  }

  outcome.segments = segments_;
  if (segments_ > run_.segmentLimit && !port.AskYesNo(LargeRunQuestion(run_, segments_))) {
    outcome.refused = true;
    return outcome;
  }

  if (run_.labels != LineSelection::None) out_.SetUpLabels(port);
  if (run_.multiple > 0) Pass(range, true, run_.index);
  if (run_.multiple != 1) Pass(range, false, run_.primary);
  if (out_.LabelsSetUp()) {
    out_.DrawLabels();
    out_.ReleaseLabels();
  }
  out_.SetDashFlag(false);
  outcome.traced = true;
  outcome.lines = lines_;
  return outcome;
}

}  // namespace

LevelRange PlanLevels(double minimum, double maximum, double interval, double base, std::int64_t cap) {
  LevelRange r;
  if (!(interval > 0) || !std::isfinite(interval) || !std::isfinite(base) || !std::isfinite(minimum) ||
      !std::isfinite(maximum) || maximum < minimum || cap < 1)
    return r;
  const double low = (minimum - base) / interval;
  const double high = (maximum - base) / interval;
  if (!(std::fabs(low) <= MaxLevelIndex) || !(std::fabs(high) <= MaxLevelIndex)) return r;
  // The nearest whole steps, then put right against the levels as they are computed, so that a
  // level equal to an end of the range is always included.
  const auto value = [&](std::int64_t k) { return LevelValue(base, interval, k); };
  std::int64_t first = static_cast<std::int64_t>(std::ceil(low));
  for (int i = 0; i < 4 && value(first - 1) >= minimum; ++i) --first;
  for (int i = 0; i < 4 && value(first) < minimum; ++i) ++first;
  std::int64_t last = static_cast<std::int64_t>(std::floor(high));
  for (int i = 0; i < 4 && value(last + 1) <= maximum; ++i) ++last;
  for (int i = 0; i < 4 && value(last) > maximum; ++i) --last;
  if (last < first) return r;
  if (last - first + 1 > cap) {
    last = first + cap - 1;
    r.capped = true;
  }
  r.first = first;
  r.last = last;
  return r;
}

bool IsIndexLevel(std::int64_t k, int multiple) { return multiple > 0 && k % multiple == 0; }

TraceOutcome TraceLevelLines(model::SurfaceModel& model, LineOutput& output, UserPort& port,
                             const LevelLineRun& run) {
  Tracer tracer(model, output, run);
  return tracer.Run(port);
}

}  // namespace terravue::mapping

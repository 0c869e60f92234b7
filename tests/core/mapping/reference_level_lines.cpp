#include "reference_level_lines.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "common/user_port.h"
#include "mapping/contour_smoothing.h"
#include "mapping/map_options_edit.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"

// The level-line tracer as it stood before its working copies of the surface: it reads the
// model's arrays directly and keeps the triangles a level spans in a list merged level by level.
// The tests hold the engine's tracer to it call for call.
namespace terravue::mapping {
namespace {

using device::WorldPoint;
using model::SurfaceModel;

constexpr double NearZeroBound = 0.0001;

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

double Distance2(const device::WorldPoint& a, const device::WorldPoint& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

double PlanLength(std::span<const device::WorldPoint> line) {
  double length = 0;
  for (std::size_t i = 1; i < line.size(); ++i)
    length += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  return length;
}

bool Selected(LineSelection selection, bool indexPass) {
  return selection == LineSelection::All ||
         selection == (indexPass ? LineSelection::Multiple : LineSelection::NonMultiple);
}

// A triangle of the work list that at least one level crosses, with the levels (offsets from
// the first level of the run) at its lowest and highest corners.
struct ListEntry {
  TriangleIndex triangle;
  std::int32_t firstLevel;
  std::int32_t lastLevel;
};

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
  bool DataRange(double& low, double& high) const;
  void SortCorners();
  bool Allocate(std::size_t listed);
  void FileTriangles(const LevelRange& range);
  void Pass(const LevelRange& range, bool indexPass, const LevelStyle& style);
  void TakeInLevel(std::int32_t level);
  void TraceOneLevel(double level, bool labelled);
  void TraceFrom(TriangleIndex t, bool labelled);
  void WalkLine(TriangleIndex t, PointIndex lo, PointIndex hi, std::vector<device::WorldPoint>& points);
  Step StepAcrossEdge(TriangleIndex t, PointIndex& lo, PointIndex& hi);
  Step AcrossEdge(TriangleIndex t, PointIndex a, PointIndex b) const;
  device::WorldPoint EdgePoint(PointIndex upper, PointIndex lower) const;
  void EmitLine(const device::WorldPoint& first, const device::WorldPoint& second, bool labelled);

  bool Done(TriangleIndex t) const { return open_[t] != stamp_; }
  void MarkDone(TriangleIndex t) { open_[t] = 0; }

  SurfaceModel& m_;
  LineOutput& out_;
  const LevelLineRun& run_;
  const model::StoreArray<double>& v_;  // the traced coordinate

  // Work state of the run.
  std::vector<std::uint32_t> open_;  // per triangle: equal to stamp_ while not done this level
  std::uint32_t stamp_ = 0;
  std::vector<ListEntry> entries_;        // in work-list order
  std::vector<std::int32_t> fileStart_;   // per level offset: first of its entries in filed_
  std::vector<std::int32_t> filed_;       // entry numbers, by first level, in list order
  std::vector<std::int32_t> active_, merged_;
  std::vector<device::WorldPoint> beforeHead_, afterTail_, line_;
  int lineCount_ = 0;  // points in the line being traced
  double level_ = 0;
  device::WorldPoint lastLineEnd_;
  long lines_ = 0;
};

std::span<const TriangleIndex> Tracer::WorkList() const {
  const std::size_t count =
      std::min<std::size_t>(m_.ContourTriCount, m_.ContourTriList.empty() ? 0 : m_.ContourTriList.size() - 1);
  return {m_.ContourTriList.data() + 1, count};
}

bool Tracer::DataRange(double& low, double& high) const {
  bool any = false;
  for (TriangleIndex t : WorkList()) {
    if (t == NoTriangle || t > m_.TriangleCount) continue;
    for (PointIndex p : m_.TriVertex[t]) {
      const double v = v_[p];
      if (!any) {
        low = high = v;
        any = true;
      }
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  return any;
}

// Corners ascending in the traced value: a, b, c below. Ties keep their order, which decides
// the edges chosen when a level meets a vertex.
void Tracer::SortCorners() {
  for (TriangleIndex t : WorkList()) {
    if (t == NoTriangle || t > m_.TriangleCount) continue;
    model::TriangleCorners& c = m_.TriVertex[t];
    if (v_[c[0]] > v_[c[1]]) std::swap(c[0], c[1]);
    if (v_[c[0]] > v_[c[2]]) std::swap(c[0], c[2]);
    if (v_[c[1]] > v_[c[2]]) std::swap(c[1], c[2]);
  }
}

bool Tracer::Allocate(std::size_t listed) {
  try {
    open_.assign(static_cast<std::size_t>(m_.TriangleCount) + 1, 0);
    entries_.reserve(listed);
    active_.reserve(listed);
    merged_.reserve(listed);
    filed_.reserve(listed);
    beforeHead_.reserve(MaxLinePoints);
    afterTail_.reserve(MaxLinePoints);
    line_.reserve(MaxLinePoints);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void Tracer::FileTriangles(const LevelRange& range) {
  const std::int64_t levels = range.Count();
  fileStart_.assign(static_cast<std::size_t>(levels) + 1, 0);
  const auto value = [&](std::int64_t offset) {
    return LevelValue(run_.base, run_.interval, range.first + offset);
  };
  for (TriangleIndex t : WorkList()) {
    if (t == NoTriangle || t > m_.TriangleCount) continue;
    const model::TriangleCorners& c = m_.TriVertex[t];
    const double low = v_[c[0]], high = v_[c[2]];
    // A flat triangle never yields a line.
    if (low == high || levels == 0) continue;
    // The first level not below the lowest corner and the last not above the highest, from an
    // estimate put right against the levels themselves.
    std::int64_t first = static_cast<std::int64_t>(
        std::clamp(std::ceil((low - run_.base) / run_.interval) - static_cast<double>(range.first), 0.0,
                   static_cast<double>(levels)));
    while (first > 0 && value(first - 1) >= low) --first;
    while (first < levels && value(first) < low) ++first;
    std::int64_t last = static_cast<std::int64_t>(
        std::clamp(std::floor((high - run_.base) / run_.interval) - static_cast<double>(range.first), -1.0,
                   static_cast<double>(levels - 1)));
    while (last < levels - 1 && value(last + 1) <= high) ++last;
    while (last >= 0 && value(last) > high) --last;
    if (first > last) continue;
    entries_.push_back({t, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)});
    ++fileStart_[static_cast<std::size_t>(first) + 1];
  }
  for (std::size_t k = 1; k < fileStart_.size(); ++k) fileStart_[k] += fileStart_[k - 1];
  filed_.assign(entries_.size(), 0);
  std::vector<std::int32_t> next(fileStart_.begin(), fileStart_.end() - 1);
  for (std::size_t e = 0; e < entries_.size(); ++e)
    filed_[static_cast<std::size_t>(next[static_cast<std::size_t>(entries_[e].firstLevel)]++)] =
        static_cast<std::int32_t>(e);
}

// Drops the triangles wholly below the level and takes in those whose lowest corner it reached;
// both lists are in work-list order, so one merge keeps that order.
void Tracer::TakeInLevel(std::int32_t level) {
  merged_.clear();
  const std::int32_t* in = filed_.data() + fileStart_[static_cast<std::size_t>(level)];
  const std::int32_t* inEnd = filed_.data() + fileStart_[static_cast<std::size_t>(level) + 1];
  for (std::int32_t e : active_) {
    if (entries_[static_cast<std::size_t>(e)].lastLevel < level) continue;
    while (in != inEnd && *in < e) merged_.push_back(*in++);
    merged_.push_back(e);
  }
  merged_.insert(merged_.end(), in, inEnd);
  std::swap(active_, merged_);
}

void Tracer::Pass(const LevelRange& range, bool indexPass, const LevelStyle& style) {
  device::DrawingDevice& device = out_.Device();
  device.DeviceSetLayer(style.colour, style.layer);
  device.DeviceSetWidth(style.width);
  out_.SetDashFlag(Selected(run_.dashes, indexPass));
  const bool labelled = Selected(run_.labels, indexPass);
  active_.clear();
  const std::int64_t levels = range.Count();
  for (std::int64_t offset = 0; offset < levels; ++offset) {
    TakeInLevel(static_cast<std::int32_t>(offset));
    const std::int64_t k = range.first + offset;
    if (IsIndexLevel(k, run_.multiple) != indexPass) continue;
    TraceOneLevel(LevelValue(run_.base, run_.interval, k), labelled);
  }
}

void Tracer::TraceOneLevel(double level, bool labelled) {
  level_ = level;
  const double l = level;
  ++stamp_;
  for (std::int32_t e : active_) open_[entries_[static_cast<std::size_t>(e)].triangle] = stamp_;

  // Marking: a triangle touching the level at one corner only is done; an edge lying on the
  // level is traced once, from the triangle met first, so the one across it is done.
  for (std::int32_t e : active_) {
    const TriangleIndex t = entries_[static_cast<std::size_t>(e)].triangle;
    if (Done(t)) continue;
    const model::TriangleCorners& c = m_.TriVertex[t];
    const double va = v_[c[0]], vb = v_[c[1]], vc = v_[c[2]];
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

  for (std::int32_t e : active_) {
    const TriangleIndex t = entries_[static_cast<std::size_t>(e)].triangle;
    if (!Done(t)) TraceFrom(t, labelled);
  }
}

void Tracer::TraceFrom(TriangleIndex t, bool labelled) {
  MarkDone(t);
  const model::TriangleCorners c = m_.TriVertex[t];
  const double l = level_;
  // The level leaves the triangle through the long edge (c, a) and one of the short ones.
  PointIndex upper = c[2], lower = c[1];
  if (l < v_[c[1]] || (l == v_[c[1]] && l == v_[c[2]])) {
    upper = c[1];
    lower = c[0];
  }
  const device::WorldPoint first = EdgePoint(upper, lower);
  const device::WorldPoint second = EdgePoint(c[2], c[0]);
  beforeHead_.clear();
  afterTail_.clear();
  lineCount_ = 2;
  WalkLine(t, c[0], c[2], beforeHead_);
  if (lineCount_ < MaxLinePoints) WalkLine(t, lower, upper, afterTail_);
  EmitLine(first, second, labelled);
}

void Tracer::WalkLine(TriangleIndex t, PointIndex lo, PointIndex hi, std::vector<device::WorldPoint>& points) {
  const double l = level_;
  TriangleIndex current = t;
  while (lineCount_ < MaxLinePoints) {
    const Step step = StepAcrossEdge(current, lo, hi);
    if (step.triangle == NoTriangle) break;
    MarkDone(step.triangle);
    ++lineCount_;
    // The exit edge: the one of the new triangle that the level crosses beyond the entry edge.
    const PointIndex w = step.third;
    if (v_[w] == l) {
      if (v_[hi] == l || v_[lo] < l)
        hi = w;
      else
        lo = w;
    } else if (l >= v_[w]) {
      lo = w;
    } else {
      hi = w;
    }
    points.push_back(EdgePoint(hi, lo));
    current = step.triangle;
  }
}

Tracer::Step Tracer::StepAcrossEdge(TriangleIndex t, PointIndex& lo, PointIndex& hi) {
  const double l = level_;
  // Pivot mode: 1 when the lower end lies on the level, 2 the upper end, 0 neither.
  int mode = v_[lo] == l ? 1 : v_[hi] == l ? 2 : 0;
  TriangleIndex current = t;
  // A sound surface has fewer triangles around a vertex than in all; a damaged one cannot
  // keep the walk turning for ever.
  for (int turns = 0; turns <= m_.TriangleCount; ++turns) {
    Step across = AcrossEdge(current, lo, hi);
    if (across.triangle == NoTriangle || across.triangle == t) return {};
    if (!Done(across.triangle)) {
      if (mode == 1 && v_[hi] == l) std::swap(hi, across.third);
      if (mode == 2 && v_[lo] == l) std::swap(lo, across.third);
      if (v_[lo] > v_[hi]) std::swap(lo, hi);
      return across;
    }
    // Done: turn about the vertex on the level through it, to its other edge at the vertex.
    const PointIndex w = across.third;
    if (mode == 0) return {};
    if (mode == 1) {
      if (v_[w] >= l) {
        hi = w;
      } else {
        hi = lo;
        lo = w;
        mode = 2;
      }
    } else {
      if (v_[w] <= l) {
        lo = w;
      } else {
        lo = hi;
        hi = w;
        mode = 1;
      }
    }
    current = across.triangle;
  }
  return {};
}

Tracer::Step Tracer::AcrossEdge(TriangleIndex t, PointIndex a, PointIndex b) const {
  const model::TriangleNeighbours& n = m_.TriNeighbour[t];
  for (int slot = 2; slot >= 0; --slot) {
    const TriangleIndex u = n[static_cast<std::size_t>(slot)];
    if (u == NoTriangle || u > m_.TriangleCount) continue;
    const model::TriangleCorners& c = m_.TriVertex[u];
    const bool hasA = c[0] == a || c[1] == a || c[2] == a;
    const bool hasB = c[0] == b || c[1] == b || c[2] == b;
    if (!hasA || !hasB) continue;
    const PointIndex third = c[0] != a && c[0] != b ? c[0] : c[1] != a && c[1] != b ? c[1] : c[2];
    return {u, third};
  }
  return {};
}

device::WorldPoint Tracer::EdgePoint(PointIndex upper, PointIndex lower) const {
  const double d = v_[upper] - v_[lower];
  const double xb = m_.PointX[lower], yb = m_.PointY[lower], zb = m_.PointZ[lower];
  if (NearZero(d)) return {xb, yb, zb};
  const double f = (level_ - v_[lower]) / d;
  return {xb + (m_.PointX[upper] - xb) * f, yb + (m_.PointY[upper] - yb) * f, zb + (m_.PointZ[upper] - zb) * f};
}

void Tracer::EmitLine(const device::WorldPoint& first, const device::WorldPoint& second, bool labelled) {
  // The list runs: the walk before the head (last found first), the long edge's point, the
  // first crossing, the walk after the tail.
  line_.assign(beforeHead_.rbegin(), beforeHead_.rend());
  line_.push_back(second);
  line_.push_back(first);
  line_.insert(line_.end(), afterTail_.begin(), afterTail_.end());
  // Lines start at the end nearer to where the previous one ended.
  if (Distance2(lastLineEnd_, line_.front()) > Distance2(lastLineEnd_, line_.back()))
    std::reverse(line_.begin(), line_.end());
  lastLineEnd_ = line_.back();
  out_.TogglePhase();
  const device::WorldPoint& head = line_.front();
  const device::WorldPoint& tail = line_.back();
  const bool closed = NearZero(head.x - tail.x) && NearZero(head.y - tail.y) && NearZero(head.z - tail.z);
  const bool wantsLabels = labelled && out_.LabelsSetUp();
  out_.PrepareLine(wantsLabels, wantsLabels ? PlanLength(line_) : 0);
  if (line_.size() < 3) {
    const device::WorldPoint ends[2] = {head, tail};
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

  if (!Allocate(WorkList().size())) {
    port.ShowError(msg::ContourMemoryNotAllocated);
    port.ShowError(msg::InsufficientMemoryForOption);
    return outcome;
  }
  const double diagonal = std::hypot(m_.MaxX - m_.MinX, m_.MaxY - m_.MinY);
  out_.smoothingDensity =
      diagonal > 0 && std::isfinite(diagonal) ? out_.smoothing.segments * 10.0 / diagonal : 0.0;

  double low = 0, high = 0;
  const bool any = DataRange(low, high);
  if (run_.rangeSpecified) {
    if (run_.minimum > low) low = run_.minimum;
    if (run_.maximum < high) high = run_.maximum;
  }
  SortCorners();
  const LevelRange range = any ? PlanLevels(low, high, run_.interval, run_.base, MaxLinesPerRedraw) : LevelRange{};
  outcome.capped = range.capped;
  try {
    FileTriangles(range);
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::ContourMemoryNotAllocated);
    port.ShowError(msg::InsufficientMemoryForOption);
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

TraceOutcome ReferenceTraceLevelLines(model::SurfaceModel& model, LineOutput& output, UserPort& port,
                                      const LevelLineRun& run) {
  Tracer tracer(model, output, run);
  return tracer.Run(port);
}

}  // namespace terravue::mapping

#include "analysis/flow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "common/messages.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::analysis {
namespace {

using model::SurfaceModel;

// A point within this of a vertex (in X and in Y) is at the vertex.
constexpr double VertexBound = 0.0001;
// Ray and edge parameters within this of 0 or 1 count as there; determinants within it of 0
// make the ray and the edge parallel.
constexpr double RayBound = 1e-7;
// The descent ray of a centroid meets an edge's line ahead beyond this parameter.
constexpr double ChannelAhead = 0.001;
// A direction whose z is smaller than this is level.
constexpr double LevelBound = 0.0001;

bool Near(double a, double b) { return std::fabs(a - b) < VertexBound; }

struct RayHit {
  bool parallel = true;
  double w = 0;  // along the ray
  double u = 0;  // along the edge, 0 at a, 1 at b
};

RayHit RayAgainstEdge(double px, double py, double dx, double dy, double ax, double ay, double bx, double by) {
  const double ex = bx - ax, ey = by - ay;
  const double det = ex * dy - dx * ey;
  RayHit h;
  if (std::fabs(det) < RayBound) return h;
  const double qx = ax - px, qy = ay - py;
  h.parallel = false;
  h.w = (ex * qy - ey * qx) / det;
  h.u = (dx * qy - dy * qx) / det;
  return h;
}

bool WithinEdge(double u) { return u > -RayBound && u < 1 + RayBound; }
bool OnRayStart(const RayHit& h) { return !h.parallel && std::fabs(h.w) < RayBound && WithinEdge(h.u); }
bool HitAhead(const RayHit& h) { return !h.parallel && !(std::fabs(h.w) < RayBound) && h.w > 0 && WithinEdge(h.u); }

PointIndex Corner(const SurfaceModel& m, TriangleIndex t, int k) { return m.TriVertex[t][static_cast<std::size_t>(k % 3)]; }

// The neighbour across the edge a-b; none on the outside or when the link is spoiled.
TriangleIndex Across(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b) {
  const tin::EdgeNeighbour n = tin::AcrossEdge(m, t, a, b);
  if (!n.found || n.triangle == NoTriangle || n.triangle > m.TriangleCount || n.triangle == t) return NoTriangle;
  return n.triangle;
}

// The ray from (px, py) along d against the edge a-b: hit ahead, and where.
std::optional<TracePoint> HitEdge(const SurfaceModel& m, double px, double py, const Direction3D& d, PointIndex a,
                                  PointIndex b) {
  const RayHit h = RayAgainstEdge(px, py, d.x, d.y, m.PointX[a], m.PointY[a], m.PointX[b], m.PointY[b]);
  if (!HitAhead(h)) return std::nullopt;
  return TracePoint{px + h.w * d.x, py + h.w * d.y, 0};
}

bool FlowMode(TraceMode mode) { return mode == TraceMode::Downhill || mode == TraceMode::Uphill; }

}  // namespace

// ---- TracePath --------------------------------------------------------------------------------

SurfaceTracer::SurfaceTracer(const SurfaceModel& m, TraceSink& sink, std::size_t segmentBudget)
    : m_(m), sink_(sink), budget_(segmentBudget), visited_(std::size_t{m.PointCount} + 1, 0) {}

double SurfaceTracer::PlaneZ(const SurfaceModel& m, TriangleIndex t, double x, double y) {
  const Facet f = FacetOf(m, t);
  const PointIndex a = m.TriVertex[t][0];
  if (f.nz == 0) return m.PointZ[a];
  return m.PointZ[a] - (f.nx * (x - m.PointX[a]) + f.ny * (y - m.PointY[a])) / f.nz;
}

void SurfaceTracer::ForgetVertices() { std::fill(visited_.begin(), visited_.end(), 0); }

bool SurfaceTracer::Visited(PointIndex v, TraceMode mode) const {
  return (visited_[v] >> static_cast<int>(mode)) & 1;
}

void SurfaceTracer::MarkVisited(PointIndex v, TraceMode mode) {
  visited_[v] = static_cast<std::uint8_t>(visited_[v] | (1 << static_cast<int>(mode)));
}

bool SurfaceTracer::Emit(const TracePoint& a, const TracePoint& b, TraceMode mode) {
  if (Near(a.x, b.x) && Near(a.y, b.y)) return true;
  if (segments_ >= budget_) {
    capped_ = true;
    return false;
  }
  ++segments_;
  if (!sink_.Segment(a, b, mode == TraceMode::Uphill)) {
    stopped_ = true;
    return false;
  }
  return true;
}

void SurfaceTracer::Trace(TriangleIndex t, TraceMode mode, double x, double y) {
  if (Stopped() || !ValidTriangle(m_, t)) return;
  stack_.clear();
  Task first;
  first.triangle = t;
  first.at = {x, y, PlaneZ(m_, t, x, y)};
  Run(first, mode, true);
  while (!stack_.empty() && !Stopped()) {
    const Task task = stack_.back();
    stack_.pop_back();
    Run(task, mode, false);
  }
  stack_.clear();
}

void SurfaceTracer::Run(const Task& task, TraceMode mode, bool firstStep) {
  if (task.hasLead) {
    sink_.Start(task.lead);
    if (!Emit(task.lead, task.at, mode)) return;
  } else if (task.startsChain) {
    sink_.Start(task.at);
  }
  if (!ValidTriangle(m_, task.triangle)) return;

  const TriangleIndex start = task.triangle;
  TriangleIndex current = start;
  TracePoint p = task.at;
  bool first = firstStep;
  // A level line crosses a triangle once and a fall line never comes back, so a trace that
  // has gone through more triangles than there are has lost its way.
  const long limit = 2L * m_.TriangleCount + 8;
  for (long moves = 1; moves <= limit; ++moves) {
    if (!ValidTriangle(m_, current)) return;
    const Direction3D d = DirectionOf(m_, current, mode);

    for (int k = 0; k < 3; ++k) {
      const PointIndex v = Corner(m_, current, k);
      if (!Near(p.x, m_.PointX[v]) || !Near(p.y, m_.PointY[v])) continue;
      if (Visited(v, mode)) return;
      MarkVisited(v, mode);
      Pivot(current, v, mode);
      return;
    }

    int onEdge = -1;
    for (int k = 0; k < 3 && onEdge < 0; ++k) {
      const PointIndex a = Corner(m_, current, k + 1), b = Corner(m_, current, k + 2);
      const RayHit h = RayAgainstEdge(p.x, p.y, d.x, d.y, m_.PointX[a], m_.PointY[a], m_.PointX[b], m_.PointY[b]);
      if (OnRayStart(h)) onEdge = k;
    }

    std::optional<TracePoint> q;
    PointIndex exitA = NoPoint, exitB = NoPoint;
    if (onEdge < 0) {
      for (int k = 0; k < 3 && !q; ++k) {
        exitA = Corner(m_, current, k + 1);
        exitB = Corner(m_, current, k + 2);
        q = HitEdge(m_, p.x, p.y, d, exitA, exitB);
      }
    } else {
      const PointIndex a = Corner(m_, current, onEdge + 1), b = Corner(m_, current, onEdge + 2);
      if (first && FlowMode(mode)) {
        // Started on an edge: the drop may run off on either side.
        const TriangleIndex beyond = Across(m_, current, a, b);
        if (beyond != NoTriangle) {
          Task other;
          other.triangle = beyond;
          other.at = p;
          other.startsChain = true;
          stack_.push_back(other);
        }
        Task here;
        here.triangle = current;
        here.at = p;
        stack_.push_back(here);
        return;
      }
      const PointIndex opposite = Corner(m_, current, onEdge);
      for (const PointIndex end : {a, b}) {
        if (q) break;
        exitA = end;
        exitB = opposite;
        q = HitEdge(m_, p.x, p.y, d, end, opposite);
      }
    }
    if (!q) {
      // The triangle sends the trace back across the edge it stands on: both triangles beside
      // the edge drain into it (or, uphill, rise to it). Water runs along such a channel to its
      // lower end, and goes on from there; an uphill trace climbs the ridge likewise.
      if (onEdge < 0 || !FlowMode(mode)) return;
      const PointIndex a = Corner(m_, current, onEdge + 1), b = Corner(m_, current, onEdge + 2);
      if (Near(m_.PointZ[a], m_.PointZ[b])) return;
      const PointIndex end = (mode == TraceMode::Downhill) == (m_.PointZ[a] < m_.PointZ[b]) ? a : b;
      const TracePoint along{m_.PointX[end], m_.PointY[end], m_.PointZ[end]};
      if (!Emit(p, along, mode)) return;
      p = along;
      first = false;
      continue;  // the next round branches at the vertex
    }
    q->z = PlaneZ(m_, current, q->x, q->y);
    if (!Emit(p, *q, mode)) return;
    const TriangleIndex next = Across(m_, current, exitA, exitB);
    if (next == NoTriangle) return;
    if (!FlowMode(mode) && next == start) return;
    current = next;
    p = *q;
    first = false;
    // Closed on itself.
    if (moves >= 2 && Near(p.x, task.at.x) && Near(p.y, task.at.y)) return;
    if (current == start) return;
  }
}

// Every triangle round v, in turning order from t, whose own direction leads away from v across
// its far edge, starts a branch there.
void SurfaceTracer::Pivot(TriangleIndex t, PointIndex v, TraceMode mode) {
  std::vector<Task> branches;
  const auto visit = [&](TriangleIndex u) {
    const Direction3D d = DirectionOf(m_, u, mode);
    PointIndex a = NoPoint, b = NoPoint;
    for (PointIndex c : m_.TriVertex[u]) {
      if (c == v) continue;
      (a == NoPoint ? a : b) = c;
    }
    const auto q = HitEdge(m_, m_.PointX[v], m_.PointY[v], d, a, b);
    if (!q) return;
    Task branch;
    branch.at = *q;
    branch.at.z = PlaneZ(m_, u, q->x, q->y);
    branch.triangle = Across(m_, u, a, b);
    branch.hasLead = true;
    branch.lead = {m_.PointX[v], m_.PointY[v], m_.PointZ[v]};
    branches.push_back(branch);
  };
  // The corner of u other than v and `from`.
  const auto third = [&](TriangleIndex u, PointIndex from) {
    for (PointIndex c : m_.TriVertex[u])
      if (c != v && c != from) return c;
    return NoPoint;
  };

  PointIndex ends[2] = {NoPoint, NoPoint};
  for (PointIndex c : m_.TriVertex[t])
    if (c != v) (ends[0] == NoPoint ? ends[0] : ends[1]) = c;
  visit(t);
  const long limit = m_.TriangleCount;
  for (int way = 0; way < 2; ++way) {
    TriangleIndex u = t;
    PointIndex hinge = ends[way == 0 ? 1 : 0];
    bool closed = false;
    long steps = 0;
    while (true) {
      const TriangleIndex next = Across(m_, u, v, hinge);
      if (next == NoTriangle) break;  // the boundary: turn the other way
      if (next == t) {
        closed = true;
        break;
      }
      const PointIndex far = third(next, hinge);
      if (++steps > limit || far == NoPoint || !ValidTriangle(m_, next)) {
        pivotError_ = true;
        closed = true;
        break;
      }
      visit(next);
      u = next;
      hinge = far;
    }
    if (closed) break;
  }
  for (auto it = branches.rbegin(); it != branches.rend(); ++it) stack_.push_back(*it);
}

std::string TraceCappedMessage(std::size_t segments) {
  return std::string(msg::TraceCappedPrefix) + std::to_string(segments) + std::string(msg::TraceCappedSuffix);
}

// ---- The diagrams -----------------------------------------------------------------------------

double TriangleDensity(const Facet& f, const DensityOptions& o, double minZ, double maxZ) {
  double density = 0;
  if (o.bySlope) {
    const double s = SlopePercent(f);
    const SlopeZones& z = o.zones;
    if (s < z.minSlope) {
      density = 0;
    } else if (s >= z.maxSlope) {
      density = 1;
    } else {
      const int j = std::clamp(z.ZoneOf(s), 1, z.zoneCount);
      density = (2.0 * j - 1) / (2.0 * z.zoneCount);
    }
  } else if (maxZ - minZ > 0) {
    density = std::clamp((f.meanZ - minZ) / (maxZ - minZ), 0.0, 1.0);
  }
  return o.reversed ? 1 - density : density;
}

namespace {

// The grid points at multiples of `spacing` inside triangle t (edges included), each bound of
// the triangle's box rounded to the nearest multiple. False once `budget` is spent.
template <typename Fn>
bool ForGridPoints(const SurfaceModel& m, TriangleIndex t, double spacing, std::size_t& budget, Fn&& fn) {
  // A spacing of nothing (or less) has no grid; loading and the dialogs refuse it anyway.
  if (!(spacing > 0) || !std::isfinite(spacing)) return true;
  const auto& c = m.TriVertex[t];
  const double minX = std::min({m.PointX[c[0]], m.PointX[c[1]], m.PointX[c[2]]});
  const double maxX = std::max({m.PointX[c[0]], m.PointX[c[1]], m.PointX[c[2]]});
  const double minY = std::min({m.PointY[c[0]], m.PointY[c[1]], m.PointY[c[2]]});
  const double maxY = std::max({m.PointY[c[0]], m.PointY[c[1]], m.PointY[c[2]]});
  const double i0 = std::nearbyint(minX / spacing), i1 = std::nearbyint(maxX / spacing);
  const double j0 = std::nearbyint(minY / spacing), j1 = std::nearbyint(maxY / spacing);
  if (!std::isfinite(i0) || !std::isfinite(i1) || !std::isfinite(j0) || !std::isfinite(j1)) return true;
  const double count = (i1 - i0 + 1) * (j1 - j0 + 1);
  if (count > static_cast<double>(budget)) {
    budget = 0;
    return false;
  }
  budget -= static_cast<std::size_t>(count);
  for (double i = i0; i <= i1; ++i)
    for (double j = j0; j <= j1; ++j) {
      const double x = i * spacing, y = j * spacing;
      if (tin::PointInTriangle(m, t, x, y)) fn(x, y);
    }
  return true;
}

TracePoint Centroid(const SurfaceModel& m, TriangleIndex t) {
  const Facet f = FacetOf(m, t);
  return {f.centroidX, f.centroidY, f.meanZ};
}

}  // namespace

bool DownSlopeArrows(const SurfaceModel& m, const ArrowOptions& o, const ArrowFn& arrow) {
  double steepest = 0;
  if (o.proportional) {
    for (TriangleIndex t = 1; t <= m.TriangleCount; ++t)
      if (ValidTriangle(m, t)) steepest = std::min(steepest, DirectionOf(m, t, TraceMode::Downhill).z);
    if (std::fabs(steepest) < LevelBound) steepest = -1;
  }
  const auto draw = [&](const TracePoint& at, const Direction3D& half) {
    const TracePoint from{at.x - half.x, at.y - half.y, at.z - half.z};
    const TracePoint to{at.x + half.x, at.y + half.y, at.z + half.z};
    if (Near(from.x, to.x) && Near(from.y, to.y)) return;
    arrow(from, to);
  };
  std::size_t budget = GridPointBudget;
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    if (!ValidTriangle(m, t)) continue;
    const Direction3D d = DirectionOf(m, t, TraceMode::Downhill);
    const double scale = o.proportional ? 0.75 * (d.z / steepest) + 0.25 : 1.0;
    const double k = scale * o.magnitude * 0.5;
    const Direction3D half{k * d.x, k * d.y, k * d.z};
    if (o.atCentres) draw(Centroid(m, t), half);
    if (o.atGridPoints && !ForGridPoints(m, t, o.spacing, budget, [&](double x, double y) {
          draw({x, y, SurfaceTracer::PlaneZ(m, t, x, y)}, half);
        }))
      return false;
  }
  return true;
}

namespace {

// Both triangles beside an edge send their centroid's ray (descent, or ascent for ridges)
// towards the edge's line, or along it.
bool RaysMeetEdge(const SurfaceModel& m, TriangleIndex t, TriangleIndex u, PointIndex a, PointIndex b, bool ascent) {
  for (const TriangleIndex side : {t, u}) {
    Direction3D d = DirectionOf(m, side, TraceMode::Downhill);
    if (ascent) d = {-d.x, -d.y, -d.z};
    const TracePoint c = Centroid(m, side);
    const RayHit h = RayAgainstEdge(c.x, c.y, d.x, d.y, m.PointX[a], m.PointY[a], m.PointX[b], m.PointY[b]);
    if (!h.parallel && !(h.w > ChannelAhead)) return false;
  }
  return true;
}

// The edge slot of u whose ends are a and b (the edge opposite that corner).
int EdgeSlot(const SurfaceModel& m, TriangleIndex u, PointIndex a, PointIndex b) {
  for (int k = 0; k < 3; ++k) {
    const PointIndex p = Corner(m, u, k + 1), q = Corner(m, u, k + 2);
    if ((p == a && q == b) || (p == b && q == a)) return k;
  }
  return -1;
}

// Walks the non-level triangles and their edges in the diagrams' order, each edge once.
class EdgeWalk {
 public:
  explicit EdgeWalk(const SurfaceModel& m) : m_(m), examined_(std::size_t{m.TriangleCount} + 1, 0) {}

  // fn(t, a, b, opposite, edgeIndex, neighbour-or-none, firstTime)
  template <typename Fn>
  void Walk(Fn&& fn) {
    for (TriangleIndex t = 1; t <= m_.TriangleCount; ++t) {
      if (!ValidTriangle(m_, t)) continue;
      if (std::fabs(DirectionOf(m_, t, TraceMode::Downhill).z) < LevelBound) continue;
      // The edge from the third corner to the first, then first to second, then second to third.
      for (int j = 0; j < 3; ++j) {
        const int k = (j + 1) % 3;  // the corner opposite the edge
        const PointIndex a = Corner(m_, t, k + 1), b = Corner(m_, t, k + 2), opposite = Corner(m_, t, k);
        const TriangleIndex u = Across(m_, t, a, b);
        const bool fresh = !((examined_[t] >> k) & 1);
        if (fresh) {
          examined_[t] = static_cast<std::uint8_t>(examined_[t] | (1 << k));
          if (u != NoTriangle)
            if (const int slot = EdgeSlot(m_, u, a, b); slot >= 0)
              examined_[u] = static_cast<std::uint8_t>(examined_[u] | (1 << slot));
        }
        if (!fn(t, a, b, opposite, j, u, fresh)) return;
      }
    }
  }

 private:
  const SurfaceModel& m_;
  std::vector<std::uint8_t> examined_;  // per triangle, one bit per edge slot
};

}  // namespace

DiagramOutcome FlowPathDiagram(const SurfaceModel& m, const FlowOptions& o, DiagramSink& sink) {
  SurfaceTracer tracer(m, sink);
  std::size_t gridBudget = GridPointBudget;
  bool gridCapped = false;
  const auto trace = [&](DiagramStyle style, TriangleIndex t, TraceMode mode, double x, double y) {
    sink.SetStyle(style);
    tracer.Trace(t, mode, x, y);
  };
  const auto vertexTrace = [&](DiagramStyle style, TriangleIndex t, TraceMode mode, PointIndex p) {
    trace(style, t, mode, m.PointX[p], m.PointY[p]);
  };
  EdgeWalk walk(m);
  TriangleIndex gridDone = NoTriangle;
  walk.Walk([&](TriangleIndex t, PointIndex a, PointIndex b, PointIndex opposite, int j, TriangleIndex u, bool fresh) {
    if (o.fromGridPoints && gridDone != t && !gridCapped) {
      gridDone = t;
      gridCapped = !ForGridPoints(m, t, o.spacing, gridBudget, [&](double x, double y) {
        if (!tracer.Stopped()) trace(DiagramStyle::Flow, t, TraceMode::Downhill, x, y);
      });
    }
    if (o.fromDataPoints) vertexTrace(DiagramStyle::Flow, t, TraceMode::Downhill, opposite);
    if (o.fromTriangleCentres && j == 0) {
      const TracePoint c = Centroid(m, t);
      trace(DiagramStyle::Flow, t, TraceMode::Downhill, c.x, c.y);
    }
    if (fresh && u != NoTriangle && RaysMeetEdge(m, t, u, a, b, false)) {
      // Equal elevations count the edge's first end as the higher.
      const PointIndex high = m.PointZ[a] >= m.PointZ[b] ? a : b;
      const PointIndex low = high == a ? b : a;
      sink.SetStyle(DiagramStyle::Flow);
      if (!sink.Segment({m.PointX[high], m.PointY[high], m.PointZ[high]}, {m.PointX[low], m.PointY[low], m.PointZ[low]},
                        false))
        return false;
      if (o.continueFromEnds && !o.fromDataPoints) {
        if (o.watersheds) vertexTrace(DiagramStyle::Watershed, t, TraceMode::Uphill, low);
        vertexTrace(DiagramStyle::Flow, t, TraceMode::Downhill, low);
      } else if (!o.continueFromEnds && o.watersheds) {
        vertexTrace(DiagramStyle::Watershed, t, TraceMode::Uphill, low);
      }
    }
    return !tracer.Stopped();
  });
  return {tracer.Capped() || gridCapped, tracer.PivotError()};
}

DiagramOutcome RidgeDiagram(const SurfaceModel& m, bool continueFromRidgeEnds, DiagramSink& sink) {
  SurfaceTracer tracer(m, sink);
  sink.SetStyle(DiagramStyle::Ridge);
  EdgeWalk walk(m);
  walk.Walk([&](TriangleIndex t, PointIndex a, PointIndex b, PointIndex, int, TriangleIndex u, bool fresh) {
    if (!fresh || u == NoTriangle || !RaysMeetEdge(m, t, u, a, b, true)) return true;
    // Equal elevations count the edge's second end as the higher.
    const PointIndex high = m.PointZ[b] >= m.PointZ[a] ? b : a;
    const PointIndex low = high == a ? b : a;
    if (!sink.Segment({m.PointX[low], m.PointY[low], m.PointZ[low]}, {m.PointX[high], m.PointY[high], m.PointZ[high]},
                      true))
      return false;
    if (continueFromRidgeEnds) tracer.Trace(t, TraceMode::Uphill, m.PointX[high], m.PointY[high]);
    return !tracer.Stopped();
  });
  return {tracer.Capped(), tracer.PivotError()};
}

// ---- Elevation Jump ---------------------------------------------------------------------------

JumpResult ElevationJump(const SurfaceModel& m, TriangleIndex t, double x, double y, double e) {
  JumpResult r{JumpStatus::Stays, x, y, e};
  if (!ValidTriangle(m, t)) {
    r.status = JumpStatus::NoTriangle;
    return r;
  }
  std::array<PointIndex, 3> v = m.TriVertex[t];
  // Of corners at one elevation the first in corner order comes first.
  std::stable_sort(v.begin(), v.end(), [&](PointIndex a, PointIndex b) { return m.PointZ[a] < m.PointZ[b]; });
  const PointIndex low = v[0], mid = v[1], high = v[2];
  const auto at = [&](PointIndex p) {
    return JumpResult{JumpStatus::Moved, m.PointX[p], m.PointY[p], m.PointZ[p]};
  };
  if (Near(e, m.PointZ[low])) return at(low);
  if (Near(e, m.PointZ[high])) return at(high);
  if (!(m.PointZ[low] < e && e < m.PointZ[high])) {
    r.status = JumpStatus::NotInTriangle;
    return r;
  }
  // Where the level e crosses the edge p-q.
  const auto level = [&](PointIndex p, PointIndex q) {
    const double s = (e - m.PointZ[p]) / (m.PointZ[q] - m.PointZ[p]);
    return TracePoint{m.PointX[p] + s * (m.PointX[q] - m.PointX[p]), m.PointY[p] + s * (m.PointY[q] - m.PointY[p]), e};
  };
  const TracePoint p2 = level(low, high);
  const TracePoint p1 = Near(e, m.PointZ[mid]) ? TracePoint{m.PointX[mid], m.PointY[mid], e}
                        : e >= m.PointZ[mid]   ? level(mid, high)
                                               : level(low, mid);
  // The fall line through the cursor against the line p1-p2.
  const Direction3D d = DirectionOf(m, t, TraceMode::Downhill);
  const double ex = p2.x - p1.x, ey = p2.y - p1.y;
  const double det = ex * d.y - d.x * ey;
  if (std::fabs(det) < VertexBound) return r;
  double u = (d.x * (p1.y - y) - d.y * (p1.x - x)) / det;
  u = std::clamp(u, 0.0, 1.0);
  return {JumpStatus::Moved, p1.x + u * ex, p1.y + u * ey, e};
}

}  // namespace terravue::analysis

#include "analysis/volume.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "analysis/cut_fill_map.h"
#include "analysis/volume_report.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::analysis {
namespace {

namespace fs = std::filesystem;
using model::SurfaceModel;

// A triangle or an overlap with a doubled plan area below this has no plane worth integrating
// (and the plane of a sliver can be wildly steep).
constexpr double DegenerateDoubledArea = 1e-4;
// The cut or fill part of one overlap is dropped when its area is below this.
constexpr double SmallestPartArea = 1e-4;
// The surfaces overlap when they share at least this much plan area.
constexpr double OverlapArea = 1e-4;
// Both volumes below this: the surfaces are the same.
constexpr double SameVolume = 1e-4;
// Overlap corners within this of the lowest one in Y count as equally low.
constexpr double LowestCornerTolerance = 1e-4;

// ---- The model as far as it can be trusted ------------------------------------------------------

std::size_t PointLimit(const SurfaceModel& m) {
  const std::size_t stored = std::min({m.PointX.size(), m.PointY.size(), m.PointZ.size()});
  return stored == 0 ? 0 : std::min<std::size_t>(m.PointCount, stored - 1);
}

std::size_t TriangleLimit(const SurfaceModel& m) {
  return m.TriVertex.empty() ? 0 : std::min<std::size_t>(m.TriangleCount, m.TriVertex.size() - 1);
}

// ---- Triangles in plan ------------------------------------------------------------------------

// A usable triangle, counter-clockwise, in coordinates relative to the comparison's origin.
// Working near the origin keeps the products of survey coordinates (Eastings of 500000,
// Northings of 4000000) from swallowing the areas and moments of small triangles.
struct PlanTriangle {
  TriangleIndex index = NoTriangle;
  double x[3]{}, y[3]{};
  // The plane z = a + bx * x + by * y.
  double a = 0, bx = 0, by = 0;
};

struct Box {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// The usable triangles of one surface and, apart, their boxes: the candidate searches read
// only the boxes.
struct PlanSurface {
  std::vector<PlanTriangle> triangles;
  std::vector<Box> boxes;
};

struct Origin {
  double x = 0, y = 0;
};

// The middle of the existing points (or, without any, of the proposed ones).
Origin ComparisonOrigin(const SurfaceModel& existing, const SurfaceModel& proposed) {
  for (const SurfaceModel* m : {&existing, &proposed}) {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (std::size_t i = 1; i <= PointLimit(*m); ++i) {
      const double x = m->PointX[i], y = m->PointY[i];
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      if (!any) {
        minX = maxX = x;
        minY = maxY = y;
        any = true;
      }
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
    if (any) return {minX / 2 + maxX / 2, minY / 2 + maxY / 2};
  }
  return {};
}

bool CornersValid(const SurfaceModel& m, std::size_t t, std::size_t points) {
  const auto& corners = m.TriVertex[t];
  return std::none_of(corners.begin(), corners.end(), [&](PointIndex p) { return p == NoPoint || p > points; });
}

// The triangles with valid corners, row by row of cells of about one triangle each (by their
// centres). Neighbours in plan become neighbours in memory, which the searches depend on for
// speed: the model's own numbering scatters them.
std::vector<TriangleIndex> SpatialOrder(const SurfaceModel& m, Origin origin) {
  const std::size_t points = PointLimit(m);
  const std::size_t count = TriangleLimit(m);
  std::vector<TriangleIndex> triangles;
  std::vector<double> cx, cy;
  triangles.reserve(count);
  cx.reserve(count);
  cy.reserve(count);
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (std::size_t t = 1; t <= count; ++t) {
    if (!CornersValid(m, t, points)) continue;
    const auto& c = m.TriVertex[t];
    const double x = (m.PointX[c[0]] - origin.x + (m.PointX[c[1]] - origin.x) + (m.PointX[c[2]] - origin.x)) / 3;
    const double y = (m.PointY[c[0]] - origin.y + (m.PointY[c[1]] - origin.y) + (m.PointY[c[2]] - origin.y)) / 3;
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    triangles.push_back(static_cast<TriangleIndex>(t));
    cx.push_back(x);
    cy.push_back(y);
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  const std::size_t n = triangles.size();
  if (n < 2) return triangles;
  const double cell = std::sqrt((maxX - minX) * (maxY - minY) / static_cast<double>(n));
  auto cells = [&](double extent) {
    const double k = extent / cell;
    return std::isfinite(k) && k >= 1 ? static_cast<std::size_t>(std::min(k, 4096.0)) + 1 : std::size_t{1};
  };
  const std::size_t columns = cells(maxX - minX), rows = cells(maxY - minY);
  auto index = [&](double v, double low, std::size_t count) {
    const double f = (v - low) / cell;
    return f > 0 ? std::min(static_cast<std::size_t>(std::min(f, 1e9)), count - 1) : std::size_t{0};
  };
  std::vector<std::uint32_t> start(columns * rows + 1, 0), key(n);
  for (std::size_t k = 0; k < n; ++k) {
    key[k] = static_cast<std::uint32_t>(index(cy[k], minY, rows) * columns + index(cx[k], minX, columns));
    ++start[key[k] + 1];
  }
  for (std::size_t c = 0; c + 1 < start.size(); ++c) start[c + 1] += start[c];
  std::vector<TriangleIndex> ordered(n);
  for (std::size_t k = 0; k < n; ++k) ordered[start[key[k]]++] = triangles[k];
  return ordered;
}

// Every triangle whose corners are points of the model and whose plan area is not degenerate,
// in spatial order.
PlanSurface PlanTriangles(const SurfaceModel& m, Origin origin) {
  const std::vector<TriangleIndex> order = SpatialOrder(m, origin);
  PlanSurface surface;
  surface.triangles.reserve(order.size());
  surface.boxes.reserve(order.size());
  for (const TriangleIndex t : order) {
    const auto& corners = m.TriVertex[t];
    PlanTriangle p;
    p.index = t;
    double z[3];
    for (int k = 0; k < 3; ++k) {
      p.x[k] = m.PointX[corners[k]] - origin.x;
      p.y[k] = m.PointY[corners[k]] - origin.y;
      z[k] = m.PointZ[corners[k]];
    }
    double cross = (p.x[1] - p.x[0]) * (p.y[2] - p.y[0]) - (p.x[2] - p.x[0]) * (p.y[1] - p.y[0]);
    if (!std::isfinite(cross) || !(std::fabs(cross) >= DegenerateDoubledArea)) continue;
    if (cross < 0) {
      std::swap(p.x[1], p.x[2]);
      std::swap(p.y[1], p.y[2]);
      std::swap(z[1], z[2]);
      cross = -cross;
    }
    const double dx1 = p.x[1] - p.x[0], dy1 = p.y[1] - p.y[0], dz1 = z[1] - z[0];
    const double dx2 = p.x[2] - p.x[0], dy2 = p.y[2] - p.y[0], dz2 = z[2] - z[0];
    p.bx = (dz1 * dy2 - dz2 * dy1) / cross;
    p.by = (dx1 * dz2 - dx2 * dz1) / cross;
    p.a = z[0] - p.bx * p.x[0] - p.by * p.y[0];
    if (!std::isfinite(p.a) || !std::isfinite(p.bx) || !std::isfinite(p.by)) continue;
    surface.triangles.push_back(p);
    surface.boxes.push_back({std::min({p.x[0], p.x[1], p.x[2]}), std::min({p.y[0], p.y[1], p.y[2]}),
                             std::max({p.x[0], p.x[1], p.x[2]}), std::max({p.y[0], p.y[1], p.y[2]})});
  }
  return surface;
}

// ---- The bucket grid --------------------------------------------------------------------------

// Cells over the plan extent of a set of triangles, each listing (in ascending order) the
// triangles whose bounding box reaches into it. Finds the candidates for a box or a position
// without looking at the whole surface.
class TriangleGrid {
 public:
  explicit TriangleGrid(const std::vector<Box>& triangles) {
    if (triangles.empty()) return;
    minX_ = minY_ = HUGE_VAL;
    double maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (const Box& t : triangles) {
      minX_ = std::min(minX_, t.minX);
      minY_ = std::min(minY_, t.minY);
      maxX = std::max(maxX, t.maxX);
      maxY = std::max(maxY, t.maxY);
    }
    const double width = maxX - minX_, height = maxY - minY_;
    const double n = static_cast<double>(triangles.size());
    // Cells of about two triangles each were fastest on surveyed sites. Long thin triangles
    // (or a hostile file) can make the lists too long: then the cells grow until they fit.
    double cell = 1.4 * std::sqrt(width * height / n);
    if (!std::isfinite(cell) || !(cell > 0)) cell = std::max(width, height) / std::sqrt(n);
    const std::size_t budget = 8 * triangles.size() + 1024;
    for (;;) {
      Shape(width, height, cell);
      if ((CellCount() <= budget && Entries(triangles) <= budget) || (columns_ == 1 && rows_ == 1)) break;
      cell *= 2;
    }
    Fill(triangles);
  }

  std::size_t CellCount() const { return static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_); }
  std::size_t CellOf(double x, double y) const {
    return columns_ == 0 ? 0 : static_cast<std::size_t>(Row(y)) * columns_ + static_cast<std::size_t>(Column(x));
  }

  // Positions 0..n-1 of items at (x(k), y(k)) sorted by their cell, so that a run over them
  // stays in one part of the grid (and of memory) at a time.
  template <class X, class Y>
  std::vector<std::uint32_t> CellOrder(std::size_t n, X&& x, Y&& y) const {
    // An empty grid puts everything in one cell.
    std::vector<std::uint32_t> start(std::max<std::size_t>(CellCount(), 1) + 1, 0);
    std::vector<std::uint32_t> cell(n);
    for (std::size_t k = 0; k < n; ++k) ++start[(cell[k] = static_cast<std::uint32_t>(CellOf(x(k), y(k)))) + 1];
    for (std::size_t c = 0; c + 1 < start.size(); ++c) start[c + 1] += start[c];
    std::vector<std::uint32_t> order(n);
    for (std::size_t k = 0; k < n; ++k) order[start[cell[k]]++] = static_cast<std::uint32_t>(k);
    return order;
  }

  // The triangles (positions in the vector given) whose cells meet the box; a triangle that
  // reaches into several of these cells comes once per cell.
  template <class Visit>
  void VisitBox(double minX, double minY, double maxX, double maxY, Visit&& visit) const {
    if (columns_ == 0) return;
    const int c0 = Column(minX), c1 = Column(maxX), r0 = Row(minY), r1 = Row(maxY);
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        const std::size_t cell = static_cast<std::size_t>(r) * columns_ + static_cast<std::size_t>(c);
        for (std::uint32_t k = start_[cell]; k < start_[cell + 1]; ++k) visit(entries_[k]);
      }
    }
  }

 private:
  // Boxes are widened a little so that a position on a triangle's edge, placed by the
  // tolerant point-in-triangle test, always finds the triangle in its cell.
  static constexpr double Margin = 1e-3;
  static constexpr int MaxSide = 4096;

  void Shape(double width, double height, double cell) {
    auto side = [&](double extent) {
      const double cells = extent / cell;
      if (!std::isfinite(cells) || !(cells >= 1)) return 1;
      return static_cast<int>(std::min<double>(std::ceil(cells), MaxSide));
    };
    columns_ = side(width);
    rows_ = side(height);
    inverseX_ = width > 0 && std::isfinite(width) ? columns_ / width : 0;
    inverseY_ = height > 0 && std::isfinite(height) ? rows_ / height : 0;
  }

  static int Cell(double v, double low, double inverse, int count) {
    const double f = (v - low) * inverse;
    if (!(f > 0)) return 0;  // also NaN
    if (f >= count) return count - 1;
    return static_cast<int>(f);
  }
  int Column(double x) const { return Cell(x, minX_, inverseX_, columns_); }
  int Row(double y) const { return Cell(y, minY_, inverseY_, rows_); }

  std::size_t Entries(const std::vector<Box>& triangles) const {
    std::size_t total = 0;
    for (const Box& t : triangles)
      total += static_cast<std::size_t>(Column(t.maxX + Margin) - Column(t.minX - Margin) + 1) *
               static_cast<std::size_t>(Row(t.maxY + Margin) - Row(t.minY - Margin) + 1);
    return total;
  }

  void Fill(const std::vector<Box>& triangles) {
    const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    start_.assign(cells + 1, 0);
    auto forCells = [&](const Box& t, auto&& action) {
      const int c0 = Column(t.minX - Margin), c1 = Column(t.maxX + Margin);
      const int r0 = Row(t.minY - Margin), r1 = Row(t.maxY + Margin);
      for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) action(static_cast<std::size_t>(r) * columns_ + static_cast<std::size_t>(c));
    };
    for (const Box& t : triangles) forCells(t, [&](std::size_t cell) { ++start_[cell + 1]; });
    for (std::size_t c = 0; c < cells; ++c) start_[c + 1] += start_[c];
    entries_.resize(start_[cells]);
    std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
    for (std::size_t k = 0; k < triangles.size(); ++k)
      forCells(triangles[k], [&](std::size_t cell) { entries_[next[cell]++] = static_cast<std::uint32_t>(k); });
  }

  double minX_ = 0, minY_ = 0;
  double inverseX_ = 0, inverseY_ = 0;
  int columns_ = 0, rows_ = 0;
  std::vector<std::uint32_t> start_;
  std::vector<std::uint32_t> entries_;
};

// ---- Progress ---------------------------------------------------------------------------------

// Tells the share done of one phase, only when its whole percentage changes.
class PhaseProgress {
 public:
  PhaseProgress(const PhaseProgressFn& report, int phase, std::size_t total)
      : report_(report), phase_(phase), total_(total) {
    if (report_) report_(phase_, 0);
  }
  void Done(std::size_t done) {
    if (!report_) return;
    const int percent = total_ == 0 ? 100 : static_cast<int>((done * 100 + total_ / 2) / total_);
    if (percent == last_) return;
    last_ = percent;
    report_(phase_, percent);
  }
  ~PhaseProgress() { Done(total_); }
  PhaseProgress(const PhaseProgress&) = delete;
  PhaseProgress& operator=(const PhaseProgress&) = delete;

 private:
  const PhaseProgressFn& report_;
  int phase_;
  std::size_t total_;
  int last_ = 0;
};

// ---- Phases 1 and 2: points on the other surface ---------------------------------------------

// Whether a triangle holds a position, edges included, as the geometry library decides it:
// turns (doubled areas) below 0.0001 in magnitude count as zero, and no turn may be negative.
// The turns are taken in local coordinates; only a position within rounding of the bound goes
// to the library's own test.
bool Holds(const SurfaceModel& surface, const PlanTriangle& t, double lx, double ly, double x, double y) {
  constexpr double ZeroTurn = 1e-4, Rounding = 1e-6;
  double lowest = HUGE_VAL;
  for (int k = 0; k < 3; ++k) {
    const int j = k == 2 ? 0 : k + 1;
    lowest = std::min(lowest, (t.x[k] - lx) * (t.y[j] - ly) - (t.x[j] - lx) * (t.y[k] - ly));
  }
  if (lowest < -ZeroTurn - Rounding) return false;
  if (lowest > -ZeroTurn + Rounding) return true;
  return tin::PointInTriangle(surface, t.index, x, y);
}

// For every point of `points` that lies on a triangle of `surface` (edges included), the
// difference proposed - existing there; 0 for the others. Of the triangles holding a point, the
// lowest-numbered one gives its elevation, from the same plane the volumes are integrated on.
std::vector<double> PlacePoints(const SurfaceModel& points, const SurfaceModel& surface,
                                const std::vector<PlanTriangle>& triangles, const TriangleGrid& grid,
                                Origin origin, bool pointsAreExisting, PhaseProgress& progress) {
  const std::size_t count = PointLimit(points);
  std::vector<double> cutFill(count + 1, 0.0);
  const std::vector<std::uint32_t> order = grid.CellOrder(
      count, [&](std::size_t k) { return points.PointX[k + 1] - origin.x; },
      [&](std::size_t k) { return points.PointY[k + 1] - origin.y; });
  for (std::size_t done = 0; done < count; ++done) {
    progress.Done(done);
    const std::size_t i = order[done] + std::size_t{1};
    const double x = points.PointX[i], y = points.PointY[i];
    const double lx = x - origin.x, ly = y - origin.y;
    if (!std::isfinite(lx) || !std::isfinite(ly)) continue;
    const PlanTriangle* holder = nullptr;
    grid.VisitBox(lx, ly, lx, ly, [&](std::uint32_t k) {
      const PlanTriangle& t = triangles[k];
      if ((holder == nullptr || t.index < holder->index) && Holds(surface, t, lx, ly, x, y)) holder = &t;
    });
    if (holder == nullptr) continue;
    const PlanTriangle& t = *holder;
    const double z = t.a + t.bx * lx + t.by * ly;
    cutFill[i] = pointsAreExisting ? z - points.PointZ[i] : points.PointZ[i] - z;
  }
  return cutFill;
}

// ---- Phase 3: triangle pairs ------------------------------------------------------------------

struct Corner {
  double x, y;
};

// Largest corner count of a triangle clipped by three lines, even when rounding makes a corner
// sit on the wrong side: each pass can at most double the count.
constexpr int MaxCorners = 24;

// Sutherland-Hodgman: the part of the convex polygon `in` on the left of the line a -> b.
int ClipLeft(const Corner* in, int n, Corner a, Corner b, Corner* out) {
  const double ex = b.x - a.x, ey = b.y - a.y;
  auto side = [&](Corner p) { return ex * (p.y - a.y) - ey * (p.x - a.x); };
  auto cut = [](Corner p, Corner q, double sp, double sq) {
    const double s = sp / (sp - sq);
    return Corner{p.x + s * (q.x - p.x), p.y + s * (q.y - p.y)};
  };
  int m = 0;
  Corner previous = in[n - 1];
  double sp = side(previous);
  for (int i = 0; i < n; ++i) {
    const Corner current = in[i];
    const double sc = side(current);
    if (sc >= 0) {
      if (sp < 0) out[m++] = cut(previous, current, sp, sc);
      out[m++] = current;
    } else if (sp > 0) {
      out[m++] = cut(previous, current, sp, sc);
    }
    previous = current;
    sp = sc;
  }
  return m;
}

// Doubled area and six times the integral of a linear d over a convex polygon, summed over the
// fan from its first corner: each fan triangle adds its area times the mean d of its corners,
// exact for a linear d.
struct Integral {
  double area2 = 0;
  double moment6 = 0;
};

Integral Integrate(const Corner* c, const double* d, int n) {
  Integral sum;
  for (int k = 1; k + 1 < n; ++k) {
    const double cross = (c[k].x - c[0].x) * (c[k + 1].y - c[0].y) - (c[k + 1].x - c[0].x) * (c[k].y - c[0].y);
    sum.area2 += cross;
    sum.moment6 += cross * (d[0] + d[k] + d[k + 1]);
  }
  return sum;
}

// Where the corners of triangle p lie against the edges of triangle q (both counter-clockwise):
// apart (all on or beyond the line of one edge, so that the two share no area), or inside all
// edges but those in the `crossing` bits (edge k from corner k to the next).
struct Placement {
  bool apart = false;
  unsigned crossing = 0;
};

Placement PlaceCorners(const PlanTriangle& p, const PlanTriangle& q) {
  // Whether a pair overlaps is hard to predict, so the edges are all looked at and the
  // outcomes combined without branching.
  const double px0 = p.x[0], py0 = p.y[0], px1 = p.x[1], py1 = p.y[1], px2 = p.x[2], py2 = p.y[2];
  bool apart = false;
  unsigned crossing = 0;
  for (int k = 0; k < 3; ++k) {
    const int j = k == 2 ? 0 : k + 1;
    const double qx = q.x[k], qy = q.y[k];
    const double ex = q.x[j] - qx, ey = q.y[j] - qy;
    const double s0 = ex * (py0 - qy) - ey * (px0 - qx);
    const double s1 = ex * (py1 - qy) - ey * (px1 - qx);
    const double s2 = ex * (py2 - qy) - ey * (px2 - qx);
    apart |= std::max(s0, std::max(s1, s2)) <= 0;
    crossing |= static_cast<unsigned>(std::min(s0, std::min(s1, s2)) < 0) << k;
  }
  return {apart, apart ? 0u : crossing};
}

// The plan overlap of t and e, counter-clockwise, into `out`; returns its corner count (0 when
// they share no area). Separating edges and containment settle most pairs before any clipping,
// and t is clipped only by the edges of e that cross it.
int OverlapPolygon(const PlanTriangle& t, const PlanTriangle& e, Corner* out) {
  auto corners = [out](const PlanTriangle& p) {
    for (int k = 0; k < 3; ++k) out[k] = {p.x[k], p.y[k]};
    return 3;
  };
  const Placement tInE = PlaceCorners(t, e);
  if (tInE.apart) return 0;
  if (tInE.crossing == 0) return corners(t);
  const Placement eInT = PlaceCorners(e, t);
  if (eInT.apart) return 0;
  if (eInT.crossing == 0) return corners(e);

  Corner buffer[MaxCorners];
  corners(t);
  int n = 3;
  Corner* from = out;
  Corner* to = buffer;
  for (int k = 0; k < 3 && n > 0; ++k) {
    if ((tInE.crossing & (1u << k)) == 0) continue;
    const int j = k == 2 ? 0 : k + 1;
    n = ClipLeft(from, n, {e.x[k], e.y[k]}, {e.x[j], e.y[j]}, to);
    std::swap(from, to);
  }
  if (from != out) std::copy(from, from + n, out);
  return n;
}

class PairAccumulator {
 public:
  PairAccumulator(VolumeTotals& totals, Origin origin, CutFillMap* map)
      : totals_(totals), origin_(origin), map_(map) {}

  // Adds the overlap of the proposed triangle t and the existing triangle e, the pair that is
  // `pair` in the order in which ties are decided.
  void Add(const PlanTriangle& t, const PlanTriangle& e, std::uint64_t pair) {
    Corner a[MaxCorners];
    const int n = OverlapPolygon(t, e, a);
    if (n < 3) return;

    double d[MaxCorners];
    const double da = t.a - e.a, dbx = t.bx - e.bx, dby = t.by - e.by;
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (int k = 0; k < n; ++k) {
      d[k] = da + dbx * a[k].x + dby * a[k].y;
      low = std::min(low, d[k]);
      high = std::max(high, d[k]);
    }
    const Integral whole = Integrate(a, d, n);
    if (!(whole.area2 >= DegenerateDoubledArea)) return;
    if (map_) KeepForMap(a, d, n);

    // Most overlaps hold no new extreme: the corners are ordered only for those that may.
    if ((high > 0 && high >= totals_.MaxFill) || (low < 0 && low <= deepest_)) TrackExtremes(a, d, n, pair);
    if (low >= 0 || high < 0)
      AddPart(whole, high < 0);
    else
      SplitCutFill(a, d, n);
  }

  void Finish() { totals_.MaxCut = -deepest_; }

 private:
  void KeepForMap(const Corner* c, const double* d, int n) {
    double x[MaxCorners], y[MaxCorners];
    for (int k = 0; k < n; ++k) {
      x[k] = c[k].x;
      y[k] = c[k].y;
    }
    map_->AddPolygon(x, y, d, n);
  }

  // The largest fill and deepest cut at the corners. Of equal values the first in the order
  // of the pairs wins, and within a pair the first corner counter-clockwise from the lowest one
  // (of corners within the tolerance in Y, the westernmost); pairs may come in any order.
  void TrackExtremes(const Corner* c, const double* d, int n, std::uint64_t pair) {
    double lowY = c[0].y;
    for (int k = 1; k < n; ++k) lowY = std::min(lowY, c[k].y);
    int first = -1;
    for (int k = 0; k < n; ++k)
      if (c[k].y < lowY + LowestCornerTolerance && (first < 0 || c[k].x < c[first].x)) first = k;
    for (int j = 0; j < n; ++j) {
      const int k = (first + j) % n;
      const std::uint64_t key = pair * MaxCorners + static_cast<std::uint64_t>(j);
      if (d[k] > 0 && (d[k] > totals_.MaxFill || (d[k] == totals_.MaxFill && key < fillKey_))) {
        totals_.MaxFill = d[k];
        totals_.MaxFillX = c[k].x + origin_.x;
        totals_.MaxFillY = c[k].y + origin_.y;
        fillKey_ = key;
      } else if (d[k] < 0 && (d[k] < deepest_ || (d[k] == deepest_ && key < cutKey_))) {
        deepest_ = d[k];
        totals_.MaxCutX = c[k].x + origin_.x;
        totals_.MaxCutY = c[k].y + origin_.y;
        cutKey_ = key;
      }
    }
  }

  // d is linear over the overlap (the difference of two planes), so the line d = 0 cuts it into
  // a convex cut part and a convex fill part.
  void SplitCutFill(const Corner* c, const double* d, int n) {
    // Each side keeps its own corners and gains the zero point of every edge that changes side.
    Corner cutCorners[2 * MaxCorners], fillCorners[2 * MaxCorners];
    double cutD[2 * MaxCorners], fillD[2 * MaxCorners];
    int cuts = 0, fills = 0;
    for (int k = 0; k < n; ++k) {
      const int j = (k + 1) % n;
      const bool kCut = d[k] < 0, jCut = d[j] < 0;
      if (kCut) {
        cutCorners[cuts] = c[k];
        cutD[cuts++] = d[k];
      } else {
        fillCorners[fills] = c[k];
        fillD[fills++] = d[k];
      }
      if (kCut != jCut) {
        const double s = d[k] / (d[k] - d[j]);
        const Corner zero{c[k].x + s * (c[j].x - c[k].x), c[k].y + s * (c[j].y - c[k].y)};
        cutCorners[cuts] = zero;
        cutD[cuts++] = 0;
        fillCorners[fills] = zero;
        fillD[fills++] = 0;
      }
    }
    AddPart(Integrate(cutCorners, cutD, cuts), true);
    AddPart(Integrate(fillCorners, fillD, fills), false);
  }

  void AddPart(const Integral& part, bool cut) {
    const double area = part.area2 / 2;
    if (!(area >= SmallestPartArea)) return;
    const double volume = part.moment6 / 6;
    totals_.CommonArea += area;
    if (cut) {
      totals_.CutArea += area;
      totals_.CutVolume -= volume;
    } else {
      totals_.FillArea += area;
      totals_.FillVolume += volume;
    }
  }

  VolumeTotals& totals_;
  Origin origin_;
  CutFillMap* map_;
  double deepest_ = 0;
  std::uint64_t fillKey_ = UINT64_MAX, cutKey_ = UINT64_MAX;
};

// ---- The single-surface existing surface ------------------------------------------------------

// ---- The commands -----------------------------------------------------------------------------

std::string PointsText(std::string_view name, const SurfaceModel& m) {
  return std::string(name) + std::string(msg::PointsSuffixArrow) + FormatInteger(m.PointCount, 0) +
         std::string(msg::PointsSuffix);
}

// The data directory as the open dialog starts in it: without its trailing delimiter.
std::string DialogDirectory(const SettingsRecord& settings) {
  std::string directory = settings.Get(settings::DataDirectory);
  while (directory.size() > 1 && (directory.back() == '/' || directory.back() == '\\')) directory.pop_back();
  return directory;
}

struct LoadedSurface {
  std::string fileName;  // without directory
  std::string comment;
};

// Reads the chosen file into `proposed`. Shows the reason and returns nothing when it is not a
// model file or cannot be read; the user's model is never touched.
std::optional<LoadedSurface> ReadProposedFile(Session& session, const ProposedFileChoice& choice,
                                              SurfaceModel& proposed) {
  fs::path path = choice.path;
  int type = model::ModelFileTypeOf(path);
  if (!path.has_extension()) {
    type = choice.filterType == model::ModelFileTypeMdv ? model::ModelFileTypeMdv : model::ModelFileTypeMdl;
    path += type == model::ModelFileTypeMdv ? ".MDV" : ".MDL";
  } else if (type < 0) {
    session.port.ShowError(msg::FileTypeNotSupported);
    return std::nullopt;
  }
  model::ModelReadNotes notes;
  const model::ModelFileStatus status = model::ReadModelFile(proposed, path, 1, 1, type, 1, &notes);
  model::ShowModelReadOutcome(session, status, type, notes);
  if (status != model::ModelFileStatus::Ok) return std::nullopt;
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  if (ec) full = path;
  model::AddRecentFile(session.settings, full.lexically_normal().string());
  LoadedSurface loaded{path.filename().string(), proposed.Comment()};
  session.settings.Set(settings::ProposedFileName, loaded.fileName);
  return loaded;
}

// The dialog refuses factors below the minimum; a caller that did not gets the nearest sound
// values rather than a report of nonsense.
VolumeReportOptions SoundOptions(VolumeReportOptions options) {
  for (double* factor : {&options.cutFactor, &options.fillFactor}) {
    if (!std::isfinite(*factor)) *factor = 1.0;
    *factor = std::clamp(*factor, VolumeReportOptions::MinimumFactor, VolumeReportOptions::MaximumFactor);
  }
  if (static_cast<std::uint8_t>(options.listing) > static_cast<std::uint8_t>(CutFillListing::Proposed))
    options.listing = CutFillListing::None;
  for (std::string& line : options.comments)
    if (line.size() > VolumeReportOptions::CommentLength) line.resize(VolumeReportOptions::CommentLength);
  return options;
}

// Hides the dialog's progress part however the comparison ends.
class ComparisonShown {
 public:
  ComparisonShown(VolumeUi& ui, const std::string& existing, const std::string& proposed) : ui_(ui) {
    ui_.BeginComparison(existing, proposed);
  }
  ~ComparisonShown() { ui_.EndComparison(); }
  ComparisonShown(const ComparisonShown&) = delete;
  ComparisonShown& operator=(const ComparisonShown&) = delete;

 private:
  VolumeUi& ui_;
};

}  // namespace

SurfaceComparison CompareSurfaces(const SurfaceModel& existing, const SurfaceModel& proposed,
                                  const PhaseProgressFn& progress, CutFillMap* map) {
  const Origin origin = ComparisonOrigin(existing, proposed);
  const PlanSurface existingPlan = PlanTriangles(existing, origin);
  const PlanSurface proposedPlan = PlanTriangles(proposed, origin);
  const TriangleGrid existingGrid(existingPlan.boxes);

  SurfaceComparison result;
  {
    const TriangleGrid proposedGrid(proposedPlan.boxes);
    PhaseProgress phase(progress, 1, PointLimit(existing));
    result.existingCutFill = PlacePoints(existing, proposed, proposedPlan.triangles, proposedGrid, origin, true, phase);
  }
  {
    PhaseProgress phase(progress, 2, PointLimit(proposed));
    result.proposedCutFill = PlacePoints(proposed, existing, existingPlan.triangles, existingGrid, origin, false, phase);
  }

  const std::size_t proposedCount = proposedPlan.triangles.size();
  PhaseProgress phase(progress, 3, proposedCount);
  if (map) {
    map->Clear();
    map->originX = origin.x;
    map->originY = origin.y;
  }
  PairAccumulator pairs(result.totals, origin, map);
  // A triangle reaching into several cells of the box is met once per cell; the stamp keeps
  // the first meeting only.
  std::vector<std::uint32_t> stamp(existingPlan.triangles.size(), 0);
  for (std::size_t j = 0; j < proposedCount; ++j) {
    phase.Done(j);
    const Box& t = proposedPlan.boxes[j];
    const PlanTriangle& proposedTriangle = proposedPlan.triangles[j];
    const auto mark = static_cast<std::uint32_t>(j + 1);
    existingGrid.VisitBox(t.minX, t.minY, t.maxX, t.maxY, [&](std::uint32_t k) {
      if (stamp[k] == mark) return;
      stamp[k] = mark;
      const Box& e = existingPlan.boxes[k];
      // Boxes that only touch share no area.
      if ((e.maxX <= t.minX) | (e.minX >= t.maxX) | (e.maxY <= t.minY) | (e.minY >= t.maxY)) return;
      const PlanTriangle& existingTriangle = existingPlan.triangles[k];
      // Ties between extremes go by the triangles' numbers, whatever the order of the work.
      pairs.Add(proposedTriangle, existingTriangle,
                (std::uint64_t{proposedTriangle.index} << 16) | existingTriangle.index);
    });
  }
  pairs.Finish();
  result.overlap = result.totals.CommonArea >= OverlapArea;
  if (map) {
    const VolumeTotals& v = result.totals;
    map->deepestCut = v.MaxCut;
    map->highestFill = v.MaxFill;
    map->cutX = v.MaxCutX;
    map->cutY = v.MaxCutY;
    map->fillX = v.MaxFillX;
    map->fillY = v.MaxFillY;
  }
  return result;
}

std::optional<SurfaceModel> BorderSurface(const SurfaceModel& m, const Session& session) {
  try {
    SurfaceModel border;
    if (!border.AllocateStore()) return std::nullopt;
    const std::size_t count =
        m.BorderNext.empty() ? 0 : std::min<std::size_t>(PointLimit(m), m.BorderNext.size() - 1);
    std::vector<PointIndex> renumbered(count + 1, NoPoint);
    for (std::size_t i = 1; i <= count; ++i) {
      if (m.BorderNext[i] == NoPoint) continue;
      const PointIndex p = ++border.PointCount;
      renumbered[i] = p;
      border.PointX[p] = m.PointX[i];
      border.PointY[p] = m.PointY[i];
      border.PointZ[p] = m.PointZ[i];
      if (i < m.PointLabel.size()) border.PointLabel[p] = m.PointLabel[i];
    }
    for (std::size_t i = 1; i <= count; ++i) {
      if (renumbered[i] == NoPoint) continue;
      const PointIndex next = m.BorderNext[i];
      border.BorderNext[renumbered[i]] = next <= count ? renumbered[next] : NoPoint;
    }
    const std::size_t breaklines = m.Breaklines.empty() ? 0 : std::min<std::size_t>(m.BreaklineCount, m.Breaklines.size() - 1);
    for (std::size_t b = 1; b <= breaklines; ++b) {
      const auto [from, to] = m.Breaklines[b];
      if (from > count || to > count || renumbered[from] == NoPoint || renumbered[to] == NoPoint) continue;
      border.Breaklines[++border.BreaklineCount] = {renumbered[from], renumbered[to]};
    }
    border.ComputeExtents();
    if (border.PointCount >= 3) {
      // Its own settings and a user who sees nothing: the run must not mark the user's model
      // modified, ask questions or move the 3-D view.
      SettingsRecord settings = session.settings;
      QuietPort quiet;
      Session work{border, settings, quiet, session.workDirectory, session.clock};
      tin::LocateState state;
      tin::TriangulateOptions options;
      options.quiet = true;
      tin::Triangulate(work, state, options);
    }
    return border;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

VolumeOutcome RunVolumeCommand(Session& session, VolumeMode mode, VolumeUi& ui, VolumeReportOptions& options,
                               CutFillMap* map) {
  SurfaceModel& current = session.model;
  UserPort& port = session.port;
  const bool single = mode == VolumeMode::SingleSurface;
  if (current.PointCount == 0) {
    port.ShowError(msg::NoDataLoaded);
    return VolumeOutcome::NotRun;
  }
  if (current.TriangleCount == 0) {
    port.ShowError(msg::NoTrianglesForExistingSurface);
    return VolumeOutcome::NotRun;
  }
  if (single && !session.settings.Get(settings::ModelSaved)) {
    port.ShowError(msg::CurrentFileNotSaved);
    return VolumeOutcome::NotRun;
  }

  try {
    const std::string modelName = session.settings.Get(settings::ModelFileName);
    // The surface that is not the user's model: the file chosen, or the model's border.
    std::optional<SurfaceModel> other;
    LoadedSurface proposedNames;
    if (single) {
      other = BorderSurface(current, session);
      if (!other) {
        port.ShowError(msg::ErrorAllocatingVolumeMemory);
        return VolumeOutcome::NotRun;
      }
      proposedNames = {modelName, current.Comment()};
      session.settings.Set(settings::ProposedFileName, modelName);
    } else {
      other.emplace();
      if (!other->AllocateStore()) {
        port.ShowError(msg::ErrorAllocatingVolumeMemory);
        return VolumeOutcome::NotRun;
      }
      const auto choice = ui.ChooseProposedFile(DialogDirectory(session.settings),
                                                session.settings.Get(settings::ProposedFileName));
      std::optional<LoadedSurface> loaded;
      if (choice) loaded = ReadProposedFile(session, *choice, *other);
      if (!loaded || other->PointCount == 0) {
        port.ShowError(msg::ProposedSurfaceNotLoaded);
        return VolumeOutcome::NotRun;
      }
      if (other->TriangleCount == 0) {
        port.ShowError(msg::NoTrianglesForProposedSurface);
        return VolumeOutcome::NotRun;
      }
      proposedNames = *loaded;
    }

    const SurfaceModel& existing = single ? *other : current;
    const SurfaceModel& proposed = single ? current : *other;
    const std::string existingName = single ? std::string(msg::BorderOfPrefix) + modelName : modelName;

    SurfaceComparison result;
    CutFillMap differences;
    {
      ComparisonShown shown(ui, PointsText(existingName, existing), PointsText(proposedNames.fileName, proposed));
      result = CompareSurfaces(existing, proposed, [&ui](int phase, int percent) { ui.SetPhase(phase, percent); },
                               map ? &differences : nullptr);
    }
    if (map) map->Clear();
    if (!result.overlap) {
      port.ShowInfo(msg::SurfacesDoNotOverlap);
      return VolumeOutcome::NoOverlap;
    }
    if (std::fabs(result.totals.FillVolume) < SameVolume && std::fabs(result.totals.CutVolume) < SameVolume) {
      port.ShowInfo(msg::SurfacesAreTheSame);
      return VolumeOutcome::Same;
    }
    if (map) {
      differences.surfaceKey = SurfaceKey(current);
      *map = std::move(differences);
    }

    const auto chosen = ui.AskReportOptions(options);
    if (!chosen) return VolumeOutcome::Cancelled;
    options = SoundOptions(*chosen);

    VolumeReportData data;
    data.existing = {existingName, single ? std::string() : current.Comment(), &existing, &result.existingCutFill};
    data.proposed = {proposedNames.fileName, proposedNames.comment, &proposed, &result.proposedCutFill};
    data.totals = result.totals;
    return ShowVolumeReport(session, data, options) ? VolumeOutcome::Reported : VolumeOutcome::NotRun;
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::ErrorAllocatingVolumeMemory);
    return VolumeOutcome::NotRun;
  }
}

}  // namespace terravue::analysis

#include "support/synthetic_sites.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <unordered_map>

namespace terravue::testing {

namespace {

constexpr double Pi = std::numbers::pi;

// Field coordinates are typed to thousandths.
double Thousandths(double v) { return std::round(v * 1000.0) / 1000.0; }

// Keeps generated points apart: rejects a candidate closer than `spacing` to one already
// accepted, looking only at the neighbouring cells of a hash grid.
class PointSpacing {
 public:
  explicit PointSpacing(double spacing) : spacing_(spacing) {}

  bool TryAdd(double x, double y) {
    const auto cx = Cell(x), cy = Cell(y);
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i) {
      for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
        auto found = cells_.find(Key(i, j));
        if (found == cells_.end()) continue;
        for (const auto& [px, py] : found->second)
          if (std::hypot(px - x, py - y) < spacing_) return false;
      }
    }
    cells_[Key(cx, cy)].push_back({x, y});
    return true;
  }

 private:
  std::int64_t Cell(double v) const { return static_cast<std::int64_t>(std::floor(v / spacing_)); }
  static std::uint64_t Key(std::int64_t i, std::int64_t j) {
    return (static_cast<std::uint64_t>(i) << 32) ^ static_cast<std::uint64_t>(j & 0xffffffff);
  }

  double spacing_;
  std::unordered_map<std::uint64_t, std::vector<std::pair<double, double>>> cells_;
};

double RollingElevation(double x, double y) {
  return 100.0 + 8.0 * std::sin(x / 60.0) * std::cos(y / 45.0) + 3.0 * std::sin((x + y) / 25.0);
}

void AddPoint(SyntheticSite& site, double x, double y) {
  site.x.push_back(x);
  site.y.push_back(y);
  site.z.push_back(Thousandths(RollingElevation(x - SiteEasting, y - SiteNorthing)));
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

std::uint64_t SiteRandom::Next() {
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double SiteRandom::Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

SyntheticSite RollingTerrain(int n, std::uint64_t seed) {
  SiteRandom random(seed);
  // About one point per 25 square units: 5-unit spacing, as on a detailed topographic survey.
  const double height = std::sqrt(n * 25.0 / 1.5);
  const double width = 1.5 * height;
  SyntheticSite site;
  PointSpacing spacing(0.01);
  while (site.PointCount() < n) {
    const double x = Thousandths(SiteEasting + random.Uniform(0, width));
    const double y = Thousandths(SiteNorthing + random.Uniform(0, height));
    if (spacing.TryAdd(x, y)) AddPoint(site, x, y);
  }
  return site;
}

SyntheticSite JitteredGrid(int n, std::uint64_t seed) {
  SiteRandom random(seed);
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  SyntheticSite site;
  for (int k = 0; k < n; ++k) {
    const int i = k % columns, j = k / columns;
    double x = SiteEasting + 10.0 * i;
    double y = SiteNorthing + 10.0 * j;
    if ((i + j) % 2 == 1) {
      x = Thousandths(x + random.Uniform(-3, 3));
      y = Thousandths(y + random.Uniform(-3, 3));
    }
    AddPoint(site, x, y);
  }
  return site;
}

SyntheticSite ConcaveBorderSite(int n, std::uint64_t seed) {
  SiteRandom random(seed);
  SyntheticSite site;
  PointSpacing spacing(0.01);
  const double radius = std::sqrt(n * 25.0 / Pi);
  auto shape = [](double theta) { return 1.0 + 0.25 * std::sin(5 * theta) + 0.08 * std::sin(13 * theta); };
  auto place = [&](double r, double theta) {
    const double x = Thousandths(SiteEasting + r * std::cos(theta));
    const double y = Thousandths(SiteNorthing + r * std::sin(theta));
    spacing.TryAdd(x, y);
    AddPoint(site, x, y);
  };

  // The border: points 1..B counter-clockwise along a five-lobed star.
  const int borderCount = std::clamp(n / 10, 12, 600);
  for (int k = 0; k < borderCount; ++k) {
    const double theta = 2 * Pi * k / borderCount;
    place(radius * shape(theta), theta);
  }
  site.borderNext.assign(static_cast<std::size_t>(n), NoPoint);
  for (int k = 0; k < borderCount; ++k)
    site.borderNext[static_cast<std::size_t>(k)] = static_cast<PointIndex>((k + 1) % borderCount + 1);

  // Breaklines: chains along scaled copies of the border curve, which never cross each other,
  // each link about two point spacings long, as shots along a kerb are.
  const int breaklineCount = std::min(300, n / 20);
  const int chains = std::max(1, breaklineCount / 30);
  for (int c = 0; c < chains && breaklineCount > 0; ++c) {
    const int links = breaklineCount / chains;
    const double fraction = 0.25 + 0.6 * (c + 0.5) / chains;
    const double step = 10.0 / (fraction * radius);
    const double start = random.Uniform(0, 2 * Pi);
    const int first = site.PointCount() + 1;
    for (int k = 0; k <= links; ++k) {
      const double theta = start + std::min(step, 1.8 * Pi / links) * k;
      place(fraction * radius * shape(theta), theta);
    }
    for (int k = 0; k < links; ++k)
      site.breaklines.push_back({static_cast<PointIndex>(first + k), static_cast<PointIndex>(first + k + 1)});
  }

  // The other points: inside the border, clear of the border and of the breaklines.
  const std::vector<double> bx(site.x.begin(), site.x.begin() + borderCount);
  const std::vector<double> by(site.y.begin(), site.y.begin() + borderCount);
  auto inside = [&](double x, double y) {
    bool in = false;
    for (int i = 0, j = borderCount - 1; i < borderCount; j = i++) {
      if (SegmentDistance(x, y, bx[i], by[i], bx[j], by[j]) < 0.5) return false;
      if ((by[i] > y) != (by[j] > y) && x < (bx[j] - bx[i]) * (y - by[i]) / (by[j] - by[i]) + bx[i]) in = !in;
    }
    return in;
  };
  auto clearOfBreaklines = [&](double x, double y) {
    for (const auto& line : site.breaklines) {
      const std::size_t a = line.From - 1u, b = line.To - 1u;
      if (SegmentDistance(x, y, site.x[a], site.y[a], site.x[b], site.y[b]) < 1.0) return false;
    }
    return true;
  };
  const double reach = 1.4 * radius;
  while (site.PointCount() < n) {
    const double x = Thousandths(SiteEasting + random.Uniform(-reach, reach));
    const double y = Thousandths(SiteNorthing + random.Uniform(-reach, reach));
    if (inside(x, y) && clearOfBreaklines(x, y) && spacing.TryAdd(x, y)) AddPoint(site, x, y);
  }
  return site;
}

SyntheticSite ConvexArc(int n) {
  SyntheticSite site;
  // A quarter of an ellipse, flattened so that no four points share a circle, and large enough
  // that rounding to thousandths keeps every turn convex.
  for (int k = 0; k < n; ++k) {
    const double theta = 0.5 * Pi * (k + 0.5) / n;
    AddPoint(site, Thousandths(SiteEasting + 20000.0 * std::cos(theta)),
             Thousandths(SiteNorthing + 12000.0 * std::sin(theta)));
  }
  return site;
}

SyntheticSite PointsOnCircle(int n, double spacing) {
  SyntheticSite site;
  const double radius = n * spacing / (2 * Pi);
  for (int k = 0; k < n; ++k) {
    const double theta = 2 * Pi * k / n;
    AddPoint(site, Thousandths(SiteEasting + radius * std::cos(theta)), Thousandths(SiteNorthing + radius * std::sin(theta)));
  }
  return site;
}

SyntheticSite JitteredRows(int n, std::uint64_t seed) {
  SiteRandom random(seed);
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  SyntheticSite site;
  for (int k = 0; k < n; ++k) {
    const int i = k % columns, j = k / columns;
    const double jitter = j % 2 == 1 ? random.Uniform(-0.01, 0.01) : 0.0;
    AddPoint(site, SiteEasting + 10.0 * i, Thousandths(SiteNorthing + 10.0 * j + jitter));
  }
  return site;
}

namespace {

double Hundredths(double v) { return std::round(v * 100.0) / 100.0; }

}  // namespace

SyntheticSite ParkSurvey(std::uint64_t seed) {
  SiteRandom random(seed);
  SyntheticSite site;
  constexpr double east = 1454146.0, north = 538402.0, width = 1563.0, height = 857.0;
  auto add = [&](double x, double y) { AddPoint(site, Hundredths(east + x), Hundredths(north + y)); };
  // Features: gently curving chains of shots, each link a breakline; a chain that would cross
  // one drawn before is drawn elsewhere, as kerbs and walls do not cross.
  std::vector<std::array<double, 4>> links;
  const auto side = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax) > 0;
  };
  const auto crosses = [&](const std::array<double, 4>& a, const std::array<double, 4>& b) {
    return side(a[0], a[1], a[2], a[3], b[0], b[1]) != side(a[0], a[1], a[2], a[3], b[2], b[3]) &&
           side(b[0], b[1], b[2], b[3], a[0], a[1]) != side(b[0], b[1], b[2], b[3], a[2], a[3]);
  };
  for (int feature = 0; feature < 35;) {
    const double x0 = random.Uniform(100, width - 100), y0 = random.Uniform(100, height - 100);
    const double heading = random.Uniform(0, 2 * Pi), bend = random.Uniform(-0.03, 0.03);
    const int shots = 3 + static_cast<int>(random.Unit() * 6);
    std::vector<std::pair<double, double>> chain;
    double x = x0, y = y0, h = heading;
    for (int k = 0; k < shots; ++k) {
      chain.emplace_back(Hundredths(east + x), Hundredths(north + y));
      const double step = random.Uniform(4, 20);
      x += step * std::cos(h);
      y += step * std::sin(h);
      h += bend;
    }
    std::vector<std::array<double, 4>> own;
    bool clear = true;
    for (int k = 0; k + 1 < shots && clear; ++k) {
      own.push_back({chain[k].first, chain[k].second, chain[k + 1].first, chain[k + 1].second});
      for (const auto& link : links) clear = clear && !crosses(own.back(), link);
    }
    if (!clear) continue;
    const int first = site.PointCount() + 1;
    for (const auto& [px, py] : chain) AddPoint(site, px, py);
    for (int k = 0; k + 1 < shots; ++k)
      site.breaklines.push_back({static_cast<PointIndex>(first + k), static_cast<PointIndex>(first + k + 1)});
    links.insert(links.end(), own.begin(), own.end());
    ++feature;
  }
  // Ground shots, and a few taken twice a few hundredths apart.
  while (site.PointCount() < 1303) add(random.Uniform(0, width), random.Uniform(0, height));
  for (int k = 0; k < 8; ++k) {
    const std::size_t p = static_cast<std::size_t>(random.Unit() * 1000.0);
    AddPoint(site, Hundredths(site.x[p] + random.Uniform(-0.04, 0.04)), Hundredths(site.y[p] + 0.02));
  }
  return site;
}

SyntheticSite LidarGround(std::uint64_t seed) {
  SiteRandom random(seed);
  SyntheticSite site;
  constexpr double east = 636001.76, north = 848935.85, width = 1177.46, height = 562.05;
  struct Hole {
    double x0, y0, x1, y1;
  };
  const Hole holes[] = {{200, 150, 340, 260}, {600, 80, 900, 330}, {1000, 400, 1080, 470}};
  // Scan lines slanting across the tile, cut off at its edges.
  const double slope = 0.07;
  for (double offset = -slope * width; offset < height; offset += 5.5 + random.Uniform(-0.3, 0.3)) {
    for (double x = random.Uniform(0, 3); x < width; x += 3.0 + random.Uniform(0, 1.8)) {
      const double y = offset + slope * x + random.Uniform(-0.4, 0.4);
      if (y < 0 || y > height) continue;
      bool inHole = false;
      for (const Hole& hole : holes) inHole = inHole || (x > hole.x0 && x < hole.x1 && y > hole.y0 && y < hole.y1);
      if (!inHole) AddPoint(site, Hundredths(east + x), Hundredths(north + y));
    }
  }
  return site;
}

void LoadSite(model::SurfaceModel& m, const SyntheticSite& site) {
  m.ClearModel();
  const int n = site.PointCount();
  for (int i = 0; i < n; ++i) {
    const auto p = static_cast<std::size_t>(i) + 1;
    m.PointX[p] = site.x[static_cast<std::size_t>(i)];
    m.PointY[p] = site.y[static_cast<std::size_t>(i)];
    m.PointZ[p] = site.z[static_cast<std::size_t>(i)];
    m.PointCutFill[p] = 0;
    m.BorderNext[p] = site.borderNext.empty() ? NoPoint : site.borderNext[static_cast<std::size_t>(i)];
    m.SetPointLabel(static_cast<PointIndex>(p), std::to_string(p % 10000));
  }
  m.BorderNext[0] = NoPoint;
  m.PointCount = static_cast<std::uint16_t>(n);
  for (std::size_t k = 0; k < site.breaklines.size(); ++k) m.Breaklines[k + 1] = site.breaklines[k];
  m.BreaklineCount = static_cast<std::uint16_t>(site.breaklines.size());
  m.ComputeExtents();
}

}  // namespace terravue::testing

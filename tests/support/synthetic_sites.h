#pragma once

#include <cstdint>
#include <vector>

#include "model/indices.h"
#include "model/surface_model.h"

// Deterministic survey sites for the triangulation tests and benchmarks. Coordinates carry the
// large offsets of real grid coordinates (Eastings about 500000, Northings about 4100000) and
// are typed to thousandths, as field data are. The random numbers come from a fixed generator,
// so every platform builds the same sites.
namespace terravue::testing {

struct SyntheticSite {
  std::vector<double> x, y, z;          // point i + 1 of the model
  std::vector<PointIndex> borderNext;   // per point, 1-based successors; empty: no border
  std::vector<model::Breakline> breaklines;

  int PointCount() const { return static_cast<int>(x.size()); }
};

inline constexpr double SiteEasting = 500000.0;
inline constexpr double SiteNorthing = 4100000.0;

// Small fast generator (SplitMix64), the same sequence everywhere.
class SiteRandom {
 public:
  explicit SiteRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // Uniform in [0, 1).
  double Unit();
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  std::uint64_t state_;
};

// Uniform random points over a 3:2 rectangle with a smooth rolling elevation; no border.
SyntheticSite RollingTerrain(int n, std::uint64_t seed);
// A square-ish grid at 10-unit spacing: every other point exactly on its node, the others
// jittered up to 3 units around theirs; no border.
SyntheticSite JitteredGrid(int n, std::uint64_t seed);
// A star-shaped concave border, points inside it, and a few hundred non-crossing breaklines
// along concentric chains (at most n / 20).
SyntheticSite ConcaveBorderSite(int n, std::uint64_t seed);
// Points on a convex arc, the worst case for cavity sizes.
SyntheticSite ConvexArc(int n);
// n points on a whole circle, `spacing` apart along it: every four of them share a circle.
SyntheticSite PointsOnCircle(int n, double spacing);
// A square grid at 10-unit spacing whose odd rows are jittered by up to a centimetre across:
// half the points exactly on their nodes, the others a hair off the lines through them.
SyntheticSite JitteredRows(int n, std::uint64_t seed);

// Sites shaped like the real data beside the project, generated (never copied):
//
// A topographic survey of a town park in US survey feet at state-plane offsets, typed to
// hundredths: shots along kerbs, walls and banks a few feet apart (the breaklines joining
// them), scattered ground shots between, and a few shots repeated within five hundredths.
SyntheticSite ParkSurvey(std::uint64_t seed);
// Airborne lidar ground returns in international feet, to hundredths: scan lines about five
// feet apart with a return every three feet or so, trimmed to a rectangular tile (so that many
// points lie within a few hundredths of its edges), with holes where buildings were taken out.
SyntheticSite LidarGround(std::uint64_t seed);

// Replaces the model's content by the site (the store must be allocated) and computes the
// extents.
void LoadSite(model::SurfaceModel& m, const SyntheticSite& site);

}  // namespace terravue::testing

#include "tin/insertion.h"

#include <gtest/gtest.h>

#include "support/checked_insertion.h"
#include "support/reference_insertion.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::SyntheticSite;

// The engine's insertion against the plain reference: every triangle's corners in
// order and every neighbour slot must agree, on ordinary sites and on the awkward ones (grid
// nodes exactly co-circular and tied along the sort axis, duplicates, long arcs). On each site
// the checked build of the insertion must also take every fast decision as the long-double
// one.
class InsertionMatchesReference : public TinTest {
 protected:
  void ExpectAgreement(const SyntheticSite& site, const std::string& name) {
    Load(site);
    long disagreements = -1;
    CheckedInsertPoints(model, state, port, InsertionOptions{true, false}, disagreements);
    EXPECT_EQ(disagreements, 0) << name;
  }

  struct Outcome {
    TriangulationStatus status;
    std::vector<std::array<int, 3>> corners, neighbours;
  };

  template <typename Insert>
  Outcome RunOn(const SyntheticSite& site, Insert insert) {
    Load(site);
    const TriangulationStatus status = insert(model, state, port, InsertionOptions{true, false});
    if (status != TriangulationStatus::Success) return {status, {}, {}};
    return {status, Corners(), Neighbours()};
  }

  void Compare(const SyntheticSite& site, const std::string& name) {
    ExpectAgreement(site, name);
    const Outcome fast = RunOn(site, [](auto& m, auto& locate, auto& user, const auto& options) {
      return InsertPoints(m, locate, user, options);
    });
    const Outcome reference = RunOn(site, ReferenceInsertPoints);
    ASSERT_EQ(fast.status, reference.status) << name;
    ASSERT_EQ(fast.corners, reference.corners) << name;
    ASSERT_EQ(fast.neighbours, reference.neighbours) << name;
    if (fast.status == TriangulationStatus::Success) {
      Load(site);
      InsertPoints(model, state, port, InsertionOptions{true, false});
      // The super triangle's points are still corners here: check them as points too.
      const std::uint16_t points = model.PointCount;
      model.PointCount = static_cast<std::uint16_t>(points + 3);
      EXPECT_EQ(testing::CheckTin(model), std::vector<std::string>{}) << name;
      model.PointCount = points;
    }
  }
};

TEST_F(InsertionMatchesReference, OnSeededSites) {
  for (std::uint64_t seed = 1; seed <= 100; ++seed) {
    const int n = 3 + static_cast<int>((seed * 37) % 300);
    Compare(testing::RollingTerrain(n, seed), "rolling " + std::to_string(seed));
    Compare(testing::JitteredGrid(n, seed), "grid " + std::to_string(seed));
    Compare(testing::ConcaveBorderSite(std::max(n, 40), seed), "concave " + std::to_string(seed));
  }
}

TEST_F(InsertionMatchesReference, OnGridNodesAndArcs) {
  for (int n : {4, 9, 16, 25, 100, 400}) {
    SyntheticSite grid;
    const int side = static_cast<int>(std::sqrt(static_cast<double>(n)));
    for (int i = 0; i < side; ++i)
      for (int j = 0; j < side; ++j) {
        grid.x.push_back(testing::SiteEasting + 10.0 * i);
        grid.y.push_back(testing::SiteNorthing + 10.0 * j);
        grid.z.push_back(0);
      }
    Compare(grid, "exact grid " + std::to_string(n));
  }
  for (int n : {20, 200, 600}) Compare(testing::ConvexArc(n), "arc " + std::to_string(n));
}

TEST_F(InsertionMatchesReference, OnSitesWithDuplicates) {
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    SyntheticSite site = testing::RollingTerrain(50, seed);
    const std::size_t from = seed % 50, to = (seed * 7) % 50;
    site.x.push_back(site.x[from]);
    site.y.push_back(site.y[from] + (seed % 2 == 0 ? 0.0 : 0.0004));
    site.z.push_back(0);
    if (to != from) std::swap(site.x[to], site.x.back()), std::swap(site.y[to], site.y.back());
    Compare(site, "duplicate " + std::to_string(seed));
  }
}

// Sites where the double-precision decisions sit at or near their thresholds: diamonds whose
// last corner lies just inside, on or just outside the circle of the other three by the
// in-circle tolerance, fine grids whose spacing is not a binary fraction, nearly straight arcs
// of thin triangles, and the large and the small offsets.
TEST_F(InsertionMatchesReference, OnSitesAtTheThresholds) {
  auto shifted = [](SyntheticSite site, double dx, double dy) {
    for (double& x : site.x) x += dx;
    for (double& y : site.y) y += dy;
    return site;
  };
  std::vector<std::pair<std::string, SyntheticSite>> sites;
  for (double east : {testing::SiteEasting, 0.0, -3.0}) {
    const double north = east == testing::SiteEasting ? testing::SiteNorthing : east;
    SyntheticSite diamonds;
    // A row of diamonds of radius 5; the last corner along the row moves towards the centre by
    // (tolerance + e) / 10, so that it lies inside the circle of the other three by about
    // tolerance + e in d2 - r2.
    int k = 0;
    for (double tolerance : {1e-4, 0.0, -1e-4})
      for (int j = -40; j <= 40; ++j, ++k) {
        const double inward = (tolerance + j * 2e-10) / 10;
        const double x = east + 30.0 * k, y = north;
        for (auto [px, py] : {std::pair{x - 5, y}, {x, y - 5}, {x, y + 5}, {x + 5 - inward, y}}) {
          diamonds.x.push_back(px);
          diamonds.y.push_back(py);
          diamonds.z.push_back(0);
        }
      }
    sites.emplace_back("diamonds at " + std::to_string(east), diamonds);
    SyntheticSite fine;
    for (int i = 0; i < 40; ++i)
      for (int j = 0; j < 40; ++j) {
        fine.x.push_back(east + 0.1 * i);
        fine.y.push_back(north + 0.1 * j);
        fine.z.push_back(0);
      }
    sites.emplace_back("fine grid at " + std::to_string(east), fine);
    SyntheticSite flat;
    // An arc of radius 1e6 over 2000 units: its sagitta is half a unit.
    for (int i = 0; i < 300; ++i) {
      const double angle = (i - 150) * (2000.0 / 300) / 1e6;
      flat.x.push_back(east + 1e6 * std::sin(angle));
      flat.y.push_back(north + 1e6 * (std::cos(angle) - 1));
      flat.z.push_back(0);
    }
    sites.emplace_back("flat arc at " + std::to_string(east), flat);
  }
  sites.emplace_back("far offsets", shifted(testing::RollingTerrain(2000, 7), 9.5e6, 1e7));
  sites.emplace_back("about the origin", shifted(testing::JitteredGrid(2000, 7), -testing::SiteEasting - 200,
                                                 -testing::SiteNorthing - 200));
  SyntheticSite huge = testing::RollingTerrain(500, 3);
  // Extents of some thousand kilometres: no triangle gets bounds.
  for (double& x : huge.x) x = testing::SiteEasting + (x - testing::SiteEasting) * 30000;
  for (double& y : huge.y) y = testing::SiteNorthing + (y - testing::SiteNorthing) * 30000;
  sites.emplace_back("huge extents", huge);
  for (const auto& [name, site] : sites) Compare(site, name);
}

// The benchmark sites at full capacity, too large for the reference: the checked build only.
TEST_F(InsertionMatchesReference, DecisionsAgreeOnFullSites) {
  ExpectAgreement(testing::RollingTerrain(32763, 1), "rolling");
  ExpectAgreement(testing::JitteredGrid(32763, 1), "grid");
  ExpectAgreement(testing::ConcaveBorderSite(32763, 1), "concave");
  ExpectAgreement(testing::ConvexArc(2000), "arc");
  SyntheticSite grid;
  for (int i = 0; i < 180; ++i)
    for (int j = 0; j < 180; ++j) {
      grid.x.push_back(testing::SiteEasting + 10.0 * i);
      grid.y.push_back(testing::SiteNorthing + 10.0 * j);
      grid.z.push_back(0);
    }
  ExpectAgreement(grid, "exact grid");
}

}  // namespace
}  // namespace terravue::tin

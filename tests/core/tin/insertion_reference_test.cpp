#include "tin/insertion.h"

#include <gtest/gtest.h>

#include "support/reference_insertion.h"
#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::SyntheticSite;

// The engine's insertion against the plain reference: every triangle's corners in
// order and every neighbour slot must agree, on ordinary sites and on the awkward ones (grid
// nodes exactly co-circular and tied along the sort axis, duplicates, long arcs).
class InsertionMatchesReference : public TinTest {
 protected:
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
    const Outcome fast = RunOn(site, InsertPoints);
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
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
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

}  // namespace
}  // namespace terravue::tin

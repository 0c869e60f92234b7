#include <ostream>

#include <gtest/gtest.h>

#include "tin_fixture.h"

namespace terravue::tin {
namespace {

using testing::SyntheticSite;

struct SiteCase {
  const char* name;
  SyntheticSite (*make)(int, std::uint64_t);
  bool bordered;
};

void PrintTo(const SiteCase& c, std::ostream* os) { *os << c.name; }

class TriangulateSites : public TinTest, public ::testing::WithParamInterface<SiteCase> {};

TEST_P(TriangulateSites, SeededSitesGiveSoundDelaunaySurfaces) {
  const SiteCase& c = GetParam();
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    for (int n : {3, 4, 7, 40, 300}) {
      SCOPED_TRACE(std::string(c.name) + " n=" + std::to_string(n) + " seed=" + std::to_string(seed));
      Load(c.make(n, seed));
      port.shown.clear();
      const auto status = Run();
      ASSERT_TRUE(status.has_value()) << port.Transcript();
      ASSERT_EQ(*status, TriangulationStatus::Success) << port.Transcript();
      testing::TinExpectations expect;
      expect.forcedEdgesPresent = true;
      expect.areaEqualsBorder = testing::AllPointsInsideBorder(model);
      expect.convexCount = !c.bordered && expect.areaEqualsBorder;
      EXPECT_EQ(Lines(testing::CheckTin(model, expect)), "");
      EXPECT_EQ(Lines(testing::CheckDelaunay(model)), "");
    }
  }
}

testing::SyntheticSite Concave(int n, std::uint64_t seed) { return testing::ConcaveBorderSite(std::max(n, 40), seed); }

INSTANTIATE_TEST_SUITE_P(Sites, TriangulateSites,
                         ::testing::Values(SiteCase{"RollingTerrain", testing::RollingTerrain, false},
                                           SiteCase{"JitteredGrid", testing::JitteredGrid, false},
                                           SiteCase{"ConcaveBorder", Concave, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::tin

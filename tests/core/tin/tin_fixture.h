#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/session_fixture.h"
#include "support/synthetic_sites.h"
#include "support/tin_checks.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::tin {

// The session fixture with the triangulation's locate state and helpers for exact comparisons.
class TinTest : public testing::SessionTest {
 protected:
  TinTest() : SessionTest("terravue-tin-") {}

  void AddBreakline(PointIndex from, PointIndex to) { model.Breaklines[++model.BreaklineCount] = {from, to}; }
  void Load(const testing::SyntheticSite& site) { testing::LoadSite(model, site); }

  std::optional<TriangulationStatus> Run(bool quiet = true) {
    TriangulateOptions options;
    options.quiet = quiet;
    return Triangulate(session, state, options);
  }

  // Corners of every triangle in order, for exact comparisons.
  std::vector<std::array<int, 3>> Corners() const {
    std::vector<std::array<int, 3>> corners;
    for (int t = 1; t <= model.TriangleCount; ++t) {
      const auto& c = model.TriVertex[static_cast<std::size_t>(t)];
      corners.push_back({c[0], c[1], c[2]});
    }
    return corners;
  }
  std::vector<std::array<int, 3>> Neighbours() const {
    std::vector<std::array<int, 3>> neighbours;
    for (int t = 1; t <= model.TriangleCount; ++t) {
      const auto& n = model.TriNeighbour[static_cast<std::size_t>(t)];
      neighbours.push_back({n[0], n[1], n[2]});
    }
    return neighbours;
  }

  static std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
  }

  LocateState state;
};

}  // namespace terravue::tin

#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/session.h"
#include "common/settings_file.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/synthetic_sites.h"
#include "support/tin_checks.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::tin {

// A model with its session, a scripted user and a private work folder for report files.
class TinTest : public ::testing::Test {
 protected:
  TinTest() {
    model.AllocateStore();
    settings = DefaultSettings();
  }

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    work = std::filesystem::temp_directory_path() / ("terravue-tin-" + name);
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    session.workDirectory = work;
    session.clock = [] {
      std::tm t{};
      t.tm_year = 124;
      t.tm_mon = 5;
      t.tm_mday = 5;
      t.tm_hour = 15;
      t.tm_min = 7;
      return t;
    };
  }
  void TearDown() override { std::filesystem::remove_all(work); }

  PointIndex AddPoint(double x, double y, double z = 0) {
    const PointIndex p = ++model.PointCount;
    model.PointX[p] = x;
    model.PointY[p] = y;
    model.PointZ[p] = z;
    model.BorderNext[p] = NoPoint;
    model.SetPointLabel(p, std::to_string(p));
    model.ComputeExtents();
    return p;
  }
  void AddPoints(std::initializer_list<std::pair<double, double>> points) {
    for (const auto& [x, y] : points) AddPoint(x, y);
  }
  void SetBorder(std::initializer_list<PointIndex> ring) {
    const std::vector<PointIndex> order(ring);
    for (std::size_t k = 0; k < order.size(); ++k) model.BorderNext[order[k]] = order[(k + 1) % order.size()];
  }
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

  model::SurfaceModel model;
  SettingsRecord settings;
  testing::FakePort port;
  std::filesystem::path work;
  Session session{model, settings, port, {}};
  LocateState state;
};

}  // namespace terravue::tin

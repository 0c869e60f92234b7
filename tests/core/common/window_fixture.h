#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "common/cursor.h"
#include "common/session.h"
#include "common/settings_file.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::common {

// A model with its session and a scripted user, for the main window's engine side.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    model.AllocateStore();
    settings = DefaultSettings();
  }

  // Report work files (the border verification) go to a folder of the test's own.
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    work = std::filesystem::temp_directory_path() / ("terravue-window-" + name);
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    session.workDirectory = work;
  }
  void TearDown() override { std::filesystem::remove_all(work); }

  PointIndex AddPoint(double x, double y, double z = 0, std::string_view label = {}) {
    const PointIndex p = ++model.PointCount;
    model.PointX[p] = x;
    model.PointY[p] = y;
    model.PointZ[p] = z;
    model.BorderNext[p] = NoPoint;
    model.SetPointLabel(p, label.empty() ? std::to_string(p) : label);
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
  // Triangulates quietly. A model without a border gets none: the convex ring the run makes,
  // and its warning, are taken away again (the triangles stay).
  void Triangulate() {
    const bool bordered = model.IsBordered();
    tin::TriangulateOptions options;
    options.quiet = true;
    tin::Triangulate(session, locate, options);
    if (!bordered)
      for (PointIndex p = 0; p <= model.PointCount; ++p) model.BorderNext[p] = NoPoint;
    port.shown.clear();
  }
  CursorContext Context() { return {model, settings, locate, port}; }

  model::SurfaceModel model;
  SettingsRecord settings;
  testing::FakePort port;
  Session session{model, settings, port, {}};
  tin::LocateState locate;
  std::filesystem::path work;
};

}  // namespace terravue::common

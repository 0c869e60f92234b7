#pragma once

#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "model/indices.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/fixed_clock.h"

namespace terravue::testing {

// A model with its session, the scripted user, a fixed clock (5 June 2024, 15:07) and a work
// folder of the test's own for report files, named after the running test.
class SessionTest : public ::testing::Test {
 protected:
  explicit SessionTest(std::string_view folderPrefix) : folderPrefix_(folderPrefix) {
    model.AllocateStore();
    settings = DefaultSettings();
  }

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Unique per run: test programs of other checkouts may run the same test at the same time.
    std::string name = folderPrefix_ + info->test_suite_name() + "-" + info->name() + "-" +
                       std::to_string(std::random_device{}());
    for (char& c : name)
      if (c == '/') c = '_';
    work = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    session.workDirectory = work;
    session.clock = [] { return FixedTime(15, 7); };
  }
  void TearDown() override { std::filesystem::remove_all(work); }

  // A loose point labelled with its number unless a label is given; the extents follow.
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

  model::SurfaceModel model;
  SettingsRecord settings;
  FakePort port;
  std::filesystem::path work;
  Session session{model, settings, port, {}};

 private:
  std::string folderPrefix_;
};

}  // namespace terravue::testing

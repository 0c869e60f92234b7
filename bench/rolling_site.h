#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "model/surface_model.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::bench {

// Rolling ground over 3000 x 2000 feet, at full point capacity unless a count is given, the
// same every run, triangulated once with the built-in settings.
struct RollingSite {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  std::optional<Session> session;

  explicit RollingSite(int n = model::SurfaceModel::PointCapacity) {
    model.AllocateStore();
    session.emplace(Session{model, settings, port, std::filesystem::temp_directory_path()});
    std::uint64_t state = 88172645463325252ULL;
    const auto unit = [&state] {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 1; i <= n; ++i) {
      const double x = std::round(unit() * 3000000) / 1000, y = std::round(unit() * 2000000) / 1000;
      model.PointX[i] = x;
      model.PointY[i] = y;
      model.PointZ[i] = 100 + 0.01 * x + 25 * std::sin(x / 310) * std::cos(y / 270) + 6 * std::sin((x + y) / 90);
    }
    model.PointCount = static_cast<std::uint16_t>(n);
    model.ComputeExtents();
    tin::LocateState locate;
    tin::Triangulate(*session, locate, {.quiet = true});
  }
  RollingSite(const RollingSite&) = delete;
  RollingSite& operator=(const RollingSite&) = delete;
};

}  // namespace terravue::bench

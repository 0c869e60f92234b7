#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/temp_files.h"
#include "../mapping/mapping_fixture.h"

// A small explicit-triangle surface with every map element switched off, a scripted user and a
// private folder, for the CAD writer tests; and a reader of DXF group pairs.
namespace terravue::testing {

class CadFixture : public ::testing::Test {
 protected:
  CadFixture() : session{model, settings, port, {}} {
    settings = DefaultSettings();
    using namespace device;
    for (const BoolField show : {device::TriangleOptions::Show, device::BreaklineOptions::Show, device::SurfaceGridOptions::Show,
                                 device::ContourOptions::Show, device::BorderOptions::Show, device::PointOptions::Show, device::MiscOptions::Show,
                                 device::TitleOptions::Show, device::AnalyzerOptions::Show})
      settings.Set(show, false);
    // A pyramid on a square, bordered.
    BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                 {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    SetBorder(model, {1, 2, 3, 4});
  }

  model::SurfaceModel model;
  SettingsRecord settings;
  FakePort port;
  Session session;
  TempDirectory temp;
  std::filesystem::path dir = temp.path();
};

using terravue::testing::ReadAll;

struct Group {
  int code;
  std::string value;
  friend bool operator==(const Group&, const Group&) = default;
};

// Every group of a DXF text; lines must end with CR LF.
inline std::vector<Group> ParseGroups(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a line does not end with CR LF at byte " << at;
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  std::vector<Group> groups;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) groups.push_back({std::stoi(lines[i]), lines[i + 1]});
  return groups;
}

// One entity (or table entry, block...) from its 0 group up to the next.
struct Entity {
  std::string type;
  std::vector<Group> groups;
  // The value of the first group with the code; "" when there is none.
  std::string Value(int code) const {
    for (const Group& g : groups)
      if (g.code == code) return g.value;
    return {};
  }
  bool Has(int code) const {
    for (const Group& g : groups)
      if (g.code == code) return true;
    return false;
  }
};

// The records of the section named `name` (between its 2 group and ENDSEC).
inline std::vector<Entity> SectionRecords(const std::vector<Group>& groups, const std::string& name) {
  std::vector<Entity> records;
  bool inside = false;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const Group& g = groups[i];
    if (!inside) {
      inside = g.code == 2 && g.value == name && i > 0 && groups[i - 1] == Group{0, "SECTION"};
      continue;
    }
    if (g.code == 0 && g.value == "ENDSEC") break;
    if (g.code == 0)
      records.push_back({g.value, {}});
    else if (!records.empty())
      records.back().groups.push_back(g);
  }
  return records;
}

inline std::vector<Entity> OfType(const std::vector<Entity>& records, const std::string& type) {
  std::vector<Entity> out;
  for (const Entity& e : records)
    if (e.type == type) out.push_back(e);
  return out;
}

}  // namespace terravue::testing

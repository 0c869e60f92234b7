#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "exchange/ascii_export.h"
#include "exchange/ascii_import.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/temp_files.h"

namespace terravue::exchange {

inline std::string KindName(AsciiKind kind) {
  switch (kind) {
    case AsciiKind::Coordinates: return "Coordinates";
    case AsciiKind::Border: return "Border";
    case AsciiKind::Breaklines: return "Breaklines";
  }
  return "AsciiKind(" + std::to_string(static_cast<int>(kind)) + ")";
}

// In the enum's own namespace so that gtest finds it for parameters and failed comparisons.
inline void PrintTo(AsciiKind kind, std::ostream* os) { *os << KindName(kind); }

}  // namespace terravue::exchange

namespace terravue::exchange::test {

namespace fs = std::filesystem;
using Kind = terravue::testing::FakePort::Kind;

using terravue::testing::ReadAll;
using terravue::testing::TempDirectory;

// A session over an empty model with the built-in settings, a scripted user and a folder for
// the test's files.
class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(model.AllocateStore()); }

  fs::path Write(std::string_view name, std::string_view content) {
    const fs::path file = dir.path() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file;
  }

  // The import and export dialogs closed with OK on a custom text or a predefined entry.
  void ImportFormat(AsciiKind kind, std::string_view typed) {
    StoreFileFormat(settings, ImportRecord(kind), FormatRecord::CustomFormat,
                    ChosenImportFormat(kind, FormatRecord::CustomFormat, typed));
  }
  void ImportEntry(AsciiKind kind, int entry) {
    StoreFileFormat(settings, ImportRecord(kind), entry, ChosenImportFormat(kind, entry, {}));
  }
  void ExportFormat(AsciiKind kind, std::string_view typed) {
    StoreFileFormat(settings, ExportRecord(kind), FormatRecord::CustomFormat,
                    ChosenExportFormat(kind, FormatRecord::CustomFormat, typed));
  }
  void ExportEntry(AsciiKind kind, int entry) {
    StoreFileFormat(settings, ExportRecord(kind), entry, ChosenExportFormat(kind, entry, {}));
  }

  PointIndex AddPoint(double x, double y, double z = 0) {
    const auto i = static_cast<PointIndex>(++model.PointCount);
    model.PointX[i] = x;
    model.PointY[i] = y;
    model.PointZ[i] = z;
    model.BorderNext[i] = NoPoint;
    model.SetPointLabel(i, std::to_string(i));
    return i;
  }

  // Points 1..n on a grid of 10-unit squares, `columns` wide.
  void AddGrid(int n, int columns) {
    for (int k = 0; k < n; ++k) AddPoint(10.0 * (k % columns), 10.0 * (k / columns), k);
  }

  // Every message box shown, without the progress notes.
  std::vector<terravue::testing::FakePort::Shown> Messages() const {
    std::vector<terravue::testing::FakePort::Shown> boxes;
    for (const auto& s : port.shown)
      if (s.kind != Kind::Progress) boxes.push_back(s);
    return boxes;
  }

  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  terravue::testing::FakePort port;
  TempDirectory dir;
  Session session{model, settings, port, dir.path()};
};

}  // namespace terravue::exchange::test

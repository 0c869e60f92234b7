#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "common/session.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/fake_port.h"
#include "support/temp_files.h"

namespace terravue::model::test {

namespace fs = std::filesystem;

using terravue::testing::ReadAll;
using terravue::testing::TempDirectory;

inline void WriteAll(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Little-endian bytes written from the file layout, independently of the writer.
struct ByteBuilder {
  std::string bytes;
  ByteBuilder& Text(std::string_view t) {
    bytes.append(t);
    return *this;
  }
  ByteBuilder& U16(std::uint16_t v) {
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>(v >> 8));
    return *this;
  }
  ByteBuilder& F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int k = 0; k < 8; ++k) bytes.push_back(static_cast<char>(bits >> (8 * k)));
    return *this;
  }
};

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(model.AllocateStore()); }

  SurfaceModel model;
  SettingsRecord settings;
  terravue::testing::FakePort port;
  TempDirectory dir;
  Session session{model, settings, port, dir.path()};
};

}  // namespace terravue::model::test

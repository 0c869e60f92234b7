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

namespace terravue::model::test {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class TempDirectory {
 public:
  TempDirectory() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("terravue_") + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(std::random_device{}());
    for (char& c : name)
      if (c == '/') c = '_';
    path_ = fs::temp_directory_path() / name;
    fs::create_directories(path_);
  }
  ~TempDirectory() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

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

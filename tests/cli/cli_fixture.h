#pragma once

// The batch tool run as a user runs it: from a private folder of the test's own, with its output
// and errors captured.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "support/temp_files.h"

namespace terravue::cli {

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

using terravue::testing::ReadAll;

class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("terravue_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // Runs terravue-cli in the test's folder. Arguments are single-quoted for the shell by the
  // caller where needed; the test paths contain no quotes. `before` is a shell command run
  // first in the same shell (e.g. "ulimit -f 2 && ").
  CliRun Cli(const std::string& args, const std::string& before = "") {
    const std::filesystem::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    const std::string command = "cd '" + dir_.string() + "' && " + before + "'" + TERRAVUE_CLI_PATH + "' " + args +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  void Write(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
  }

  std::filesystem::path dir_;
};

}  // namespace terravue::cli

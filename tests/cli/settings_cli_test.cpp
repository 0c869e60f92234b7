// terravue-cli settings, run as a user would run it.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "device/map_options.h"

namespace terravue {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::string& args, const fs::path& dir) {
  const fs::path errFile = dir / "stderr.txt";
  const std::string command =
      std::string("'") + TERRAVUE_CLI_PATH + "' settings " + args + " 2>'" + errFile.string() + "'";
  CliRun run{-1, {}, {}};
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return run;
}

class SettingsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("terravue_settings_cli_" + std::string(test->name()) + "_" +
                                        std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Quoted(const fs::path& p) const { return "'" + p.string() + "'"; }

  fs::path dir_;
};

TEST_F(SettingsCli, WritesTheBuiltInImage) {
  const fs::path file = dir_ / "defaults.vsf";
  const CliRun run = RunCli("--defaults -o " + Quoted(file), dir_);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const SettingsRecord defaults = DefaultSettings();
  ASSERT_EQ(bytes.size(), SettingsRecord::Size);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), defaults.bytes.begin()));
}

TEST_F(SettingsCli, PrintsAFileOrTheBuiltInValues) {
  SettingsRecord record = DefaultSettings();
  record.Set(device::ContourOptions::Interval, 0.25);
  record.Set(settings::CompanyName, std::string("Acme Survey"));
  const fs::path file = dir_ / "mine.vsf";
  ASSERT_TRUE(SaveSettings(record, file));

  const CliRun builtIn = RunCli("", dir_);
  ASSERT_EQ(builtIn.exitCode, 0) << builtIn.err;
  EXPECT_EQ(builtIn.out, DescribeSettings(DefaultSettings()));

  for (const std::string& args : {Quoted(file), "--settings " + Quoted(file)}) {
    SCOPED_TRACE(args);
    const CliRun run = RunCli(args, dir_);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("ContourOptions.Interval = 0.25\n"), std::string::npos);
    EXPECT_NE(run.out.find("Application.CompanyName = \"Acme Survey\"\n"), std::string::npos);
  }
}

TEST_F(SettingsCli, NotesFieldsThatWereReset) {
  SettingsRecord record = DefaultSettings();
  record.Set(device::AnalyzerOptions::ZoneCount, 0);
  const fs::path file = dir_ / "hostile.vsf";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(record.bytes.data()), 8000);
  const CliRun run = RunCli(Quoted(file), dir_);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("AnalyzerOptions.ZoneCount = 1\n"), std::string::npos);
  EXPECT_NE(run.err.find("1 field(s)"), std::string::npos) << run.err;
}

// A file of another size than the image loads by the usual rules, with a note on stderr; one
// that is no regular file (a pipe would block the run) is refused.
TEST_F(SettingsCli, NotesAFileOfAnotherSizeAndRefusesAPipe) {
  const SettingsRecord record = DefaultSettings();
  const auto bytes = reinterpret_cast<const char*>(record.bytes.data());
  const struct {
    std::size_t size;
    std::string note;
  } cases[] = {
      {SettingsRecord::Size, ""},
      {8000, "holds 8000 bytes, not " + std::to_string(SettingsRecord::Size) +
                 ": the settings past its end keep their built-in values\n"},
      {SettingsRecord::Size + 100, "holds " + std::to_string(SettingsRecord::Size + 100) + " bytes, not " +
                                       std::to_string(SettingsRecord::Size) + ": the bytes past " +
                                       std::to_string(SettingsRecord::Size) + " were ignored\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const fs::path file = dir_ / "sized.vsf";
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out.write(bytes, static_cast<std::streamsize>(std::min(c.size, SettingsRecord::Size)));
      out << std::string(c.size - std::min(c.size, SettingsRecord::Size), '\0');
    }
    const CliRun run = RunCli(Quoted(file), dir_);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, DescribeSettings(record));
    EXPECT_EQ(run.err, c.note.empty() ? "" : "terravue-cli: settings file '" + file.string() + "' " + c.note);
  }
  const fs::path pipe = dir_ / "pipe.vsf";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const CliRun run = RunCli("--settings " + Quoted(pipe), dir_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(pipe.string() + ": Not a regular file\n"), std::string::npos) << run.err;
}

TEST_F(SettingsCli, RefusesWhatItCannotDo) {
  struct Case {
    std::string args;
    int exitCode;
  };
  const Case cases[] = {
      {Quoted(dir_ / "absent.vsf"), 1},
      {Quoted(dir_), 1},
      {"--defaults", 2},
      {"--defaults -o " + Quoted(dir_ / "x.vsf") + " " + Quoted(dir_ / "y.vsf"), 2},
      {"a.vsf b.vsf", 2},
      {"a.vsf --settings b.vsf", 2},
      {"--verbose", 2},
      {"-o " + Quoted(dir_ / "x.vsf"), 2},
      {"--defaults -o " + Quoted(dir_ / "missing folder" / "x.vsf"), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const CliRun run = RunCli(c.args, dir_);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
  }
}

}  // namespace
}  // namespace terravue

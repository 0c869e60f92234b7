// Every file the batch tool writes, written where it cannot be: a full disk, a name that
// stands for no file. The run fails with the file and the reason, and nothing is replaced.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

struct WriterCase {
  const char* name;
  const char* out;   // the file written, in the test's folder
  std::string args;  // OUT stands for its path
  bool needsSheets = false;
};

void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

class SafeWriteCli : public CliFixture, public ::testing::WithParamInterface<WriterCase> {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
#ifndef TERRAVUE_CLI_DRAWS_SHEETS
    if (GetParam().needsSheets) GTEST_SKIP() << "this terravue-cli was built without the Qt painters";
#endif
    const CliRun sample = Cli("sample -o SITE.MDL --sheet SITE.VSF");
    ASSERT_EQ(sample.exitCode, 0) << sample.err;
    Write("POINTS.ASC", "1 0 0 10\n2 100 0 11\n3 100 100 12\n4 0 100 13\n5 50 50 20\n");
  }

  std::string Args() const {
    std::string args = GetParam().args;
    args.replace(args.find("OUT"), 3, Path(GetParam().out));
    return args;
  }

  // The files in the folder besides those the fixture made: a temporary one left behind shows.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name != "SITE.MDL" && name != "SITE.VSF" && name != "POINTS.ASC" && name != "stdout.txt" &&
          name != "stderr.txt")
        names.push_back(name);
    }
    return names;
  }
};

TEST_P(SafeWriteCli, AFullDiskFailsTheRunAndKeepsThePreviousFile) {
  Write(GetParam().out, "previous");
  // Files cannot grow past 1 KB (two blocks of 512 bytes) for this run.
  const CliRun run = Cli(Args(), "ulimit -f 2 && ");
  EXPECT_EQ(run.exitCode, 1) << run.err;
  // The file named is the one that failed: the output, or a work file before it (the report).
  EXPECT_NE(run.err.find(": File too large\n"), std::string::npos) << run.err;
  EXPECT_EQ(ReadAll(Path(GetParam().out)), "previous");
  EXPECT_EQ(Names(), std::vector<std::string>{GetParam().out});
}

TEST_P(SafeWriteCli, ANameThatIsNoFileIsRefused) {
  // A link to a device: the device is no file to replace, and the link stays.
  fs::create_symlink("/dev/null", dir_ / GetParam().out);
  const CliRun run = Cli(Args());
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find(Path(GetParam().out) + ": Not a regular file\n"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / GetParam().out));
  EXPECT_EQ(Names(), std::vector<std::string>{GetParam().out});
}

INSTANTIATE_TEST_SUITE_P(
    Writers, SafeWriteCli,
    ::testing::Values(WriterCase{"Pdf", "SHEET.pdf", "map SITE.MDL --settings SITE.VSF --pdf OUT", true},
                      WriterCase{"Png", "SHEET.png", "map SITE.MDL --settings SITE.VSF --png OUT --dpi 60", true},
                      WriterCase{"Dxf", "MAP.DXF", "dxf SITE.MDL OUT --settings SITE.VSF"},
                      WriterCase{"Macro", "MAP.MCR", "dxf SITE.MDL OUT --settings SITE.VSF --program generic"},
                      WriterCase{"Model", "OUT.MDL", "triangulate SITE.MDL -o OUT"},
                      WriterCase{"Report", "VOLUME.TXT", "volume --single SITE.MDL --report OUT"},
                      WriterCase{"Settings", "DEFAULT.VSF", "settings --defaults -o OUT"},
                      WriterCase{"Ascii", "POINTS.TXT", "export SITE.MDL --points OUT"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::cli

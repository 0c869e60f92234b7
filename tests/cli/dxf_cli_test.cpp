// terravue-cli dxf, run as a user runs it, on the bundled sample site.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

class DxfCli : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    const CliRun sample = Cli("sample -o '" + Path("SAMPLE.MDL") + "' --sheet '" + Path("SAMPLE.VSF") + "'");
    ASSERT_EQ(sample.exitCode, 0) << sample.err;
  }

  CliRun Dxf(const std::string& out, const std::string& options = "") {
    return Cli("dxf '" + Path("SAMPLE.MDL") + "' '" + Path(out) + "' --settings '" + Path("SAMPLE.VSF") + "' " +
               options);
  }
};

TEST_F(DxfCli, EachProgramWritesItsOwnFormat) {
  struct Case {
    const char *program, *file, *start;
  };
  for (const Case& c : {Case{"autocad", "A.DXF", "0\r\nSECTION\r\n2\r\nHEADER\r\n"},
                        Case{"autosketch", "S.DXF", "0\r\nSECTION\r\n2\r\nHEADER\r\n"},
                        Case{"generic", "G.MCR", "VM,--;\r\n"}, Case{"general", "H.GXM", "/MSP,++;\r\n"}}) {
    const CliRun run = Dxf(c.file, std::string("--program ") + c.program);
    ASSERT_EQ(run.exitCode, 0) << c.program << ": " << run.err;
    EXPECT_TRUE(ReadAll(Path(c.file)).starts_with(c.start)) << c.program;
    EXPECT_EQ(run.out, Path(c.file) + "\n");
  }
  // AutoSketch writes inches: the same file with every coordinate twelve times larger.
  EXPECT_NE(ReadAll(Path("A.DXF")), ReadAll(Path("S.DXF")));
}

// Contours asked for on the command line reach the contour layers without a settings file.
TEST_F(DxfCli, ContoursWithoutAPreparedSettingsFile) {
  const CliRun plain = Cli("dxf '" + Path("SAMPLE.MDL") + "' '" + Path("PLAIN.DXF") + "'");
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(ReadAll(Path("PLAIN.DXF")).find("TVUCONTOUR"), std::string::npos);
  const CliRun contoured =
      Cli("dxf '" + Path("SAMPLE.MDL") + "' '" + Path("C.DXF") + "' --contours 1 --index 5 --labels");
  ASSERT_EQ(contoured.exitCode, 0) << contoured.err;
  const std::string dxf = ReadAll(Path("C.DXF"));
  EXPECT_NE(dxf.find("8\r\nTVUCONTOUR\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("8\r\nTVUCONTOUR2\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("8\r\nTVUCONLABEL\r\n"), std::string::npos);
  EXPECT_EQ(Cli("dxf '" + Path("SAMPLE.MDL") + "' '" + Path("I.DXF") + "' --index 5").exitCode, 2);
}

TEST_F(DxfCli, UsageAndFailures) {
  EXPECT_EQ(Dxf("X.DXF", "--program paper").exitCode, 2);
  EXPECT_EQ(Cli("dxf '" + Path("SAMPLE.MDL") + "'").exitCode, 2);
  EXPECT_EQ(Cli("dxf '" + Path("NONE.MDL") + "' '" + Path("X.DXF") + "'").exitCode, 1);
  const CliRun cannot = Dxf("missing/X.DXF");
  EXPECT_EQ(cannot.exitCode, 1);
  EXPECT_NE(cannot.err.find("Error creating file."), std::string::npos) << cannot.err;
}

TEST_F(DxfCli, SampleSiteReadsCleanlyInRealReaders) {
  if (std::string(TERRAVUE_DXF_PYTHON).empty() || std::string(TERRAVUE_OGRINFO).empty())
    GTEST_SKIP() << "/usr/bin/python3 (with python3-ezdxf) or ogrinfo (gdal-bin) is not installed";
  for (const char* program : {"autocad", "autosketch"}) {
    const std::string file = std::string(program) + ".dxf";
    ASSERT_EQ(Dxf(file, std::string("--program ") + program).exitCode, 0);
    const std::string command = std::string("'") + TERRAVUE_DXF_PYTHON + "' '" + TERRAVUE_TESTS_DIR +
                                "/core/cad/check_dxf.py' '" + Path(file) + "' '" + TERRAVUE_OGRINFO + "' >'" +
                                Path("check.log") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << program << ":\n" << ReadAll(Path("check.log"));
  }
}

}  // namespace
}  // namespace terravue::cli

// terravue-cli map, run as a user runs it: the sample site's sheet into a PDF and a PNG.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

struct PngSize {
  std::uint32_t width = 0, height = 0;
};

// Width and height from the PNG's header chunk.
PngSize ReadPngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) return {};
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  return {u32(16), u32(20)};
}

class MapCli : public CliFixture {
 protected:
  void SetUp() override {
#ifndef TERRAVUE_CLI_DRAWS_SHEETS
    GTEST_SKIP() << "this terravue-cli was built without the Qt painters";
#endif
    CliFixture::SetUp();
  }

  static void SetUpTestSuite() {
    shared_ = fs::temp_directory_path() / ("terravue_map_cli_" + std::to_string(std::random_device{}()));
    fs::create_directories(shared_);
    const std::string command = std::string("'") + TERRAVUE_CLI_PATH + "' sample -o '" +
                                (shared_ / "SITE.MDL").string() + "' --sheet '" + (shared_ / "SITE.VSF").string() +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(shared_, ec);
  }

  // The sample site with its sheet settings, then `rest`.
  CliRun Map(const std::string& rest) {
    return Cli("map '" + (shared_ / "SITE.MDL").string() + "' --settings '" + (shared_ / "SITE.VSF").string() +
               "' " + rest);
  }

  static inline fs::path shared_;
};

TEST_F(MapCli, WritesAVectorPdfAndAPngSizedByTheDpi) {
  const CliRun run = Map("--pdf '" + Path("SHEET.pdf") + "' --png '" + Path("SHEET.png") + "' --dpi 100");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("SHEET.pdf"), std::string::npos);
  EXPECT_NE(run.out.find("SHEET.png"), std::string::npos);

  const std::string pdf = ReadAll(Path("SHEET.pdf"));
  ASSERT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
  // Lines and texts as drawing operations and fonts, not a picture of the sheet.
  EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
  EXPECT_NE(pdf.find("/Font"), std::string::npos);

  // Letter paper: 8.5 x 11 inches.
  const PngSize at100 = ReadPngSize(ReadAll(Path("SHEET.png")));
  EXPECT_EQ(at100.width, 850u);
  EXPECT_EQ(at100.height, 1100u);
  ASSERT_EQ(Map("--png '" + Path("FINE.png") + "' --dpi 200").exitCode, 0);
  const PngSize at200 = ReadPngSize(ReadAll(Path("FINE.png")));
  EXPECT_EQ(at200.width, 1700u);
  EXPECT_EQ(at200.height, 2200u);
  EXPECT_FALSE(fs::exists(Path("SHEET.png.part")));
}

// The paper: the one stored with the page settings unless --paper and --landscape say
// otherwise, in the PNG's pixels and the PDF's page box alike.
TEST_F(MapCli, ThePaperIsTheSettingsOrTheOneAskedFor) {
  // The sample's settings with A3 landscape chosen in Print Setup.
  std::string stored = ReadAll((shared_ / "SITE.VSF").string());
  stored[5317] = 5;  // the fifth offered paper, A3
  stored[5318] = 1;
  { std::ofstream(Path("A3.VSF"), std::ios::binary) << stored; }
  const std::string site = "map '" + (shared_ / "SITE.MDL").string() + "' ";
  struct Case {
    std::string args;
    std::uint32_t width, height;  // at 50 dots per inch
    const char* mediaBox;         // in points
  };
  const Case cases[] = {
      {"--settings '" + Path("A3.VSF") + "'", 827, 585, "[0 0 1191.000000 842.000000]"},
      {"--settings '" + Path("A3.VSF") + "' --portrait", 585, 827, "[0 0 842.000000 1191.000000]"},
      {"--paper tabloid --landscape", 850, 550, "[0 0 1224.000000 792.000000]"},
      {"--paper ansi-d", 1100, 1700, "[0 0 1584.000000 2448.000000]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const CliRun run = Cli(site + c.args + " --png '" + Path("P.png") + "' --pdf '" + Path("P.pdf") + "' --dpi 50");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PngSize size = ReadPngSize(ReadAll(Path("P.png")));
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
    EXPECT_NE(ReadAll(Path("P.pdf")).find(std::string("/MediaBox ") + c.mediaBox), std::string::npos);
  }
}

// A contoured sheet without a prepared settings file.
TEST_F(MapCli, ContoursAskedForOnTheCommandLine) {
  const std::string site = "map '" + (shared_ / "SITE.MDL").string() + "' --dpi 50 --png ";
  ASSERT_EQ(Cli(site + "'" + Path("PLAIN.png") + "'").exitCode, 0);
  const CliRun contoured = Cli(site + "'" + Path("CONTOURS.png") + "' --contours 2 --index 5 --labels");
  ASSERT_EQ(contoured.exitCode, 0) << contoured.err;
  EXPECT_NE(ReadAll(Path("PLAIN.png")), ReadAll(Path("CONTOURS.png")));
  const CliRun alone = Cli(site + "'" + Path("X.png") + "' --labels");
  EXPECT_EQ(alone.exitCode, 2);
  EXPECT_NE(alone.err.find("need --contours"), std::string::npos) << alone.err;
}

TEST_F(MapCli, AGivenScaleIsDrawnAndOneBelowTheSheetsSmallestIsRefused) {
  ASSERT_EQ(Map("--png '" + Path("FIT.png") + "' --dpi 60").exitCode, 0);
  ASSERT_EQ(Map("--png '" + Path("AT200.png") + "' --dpi 60 --scale 200").exitCode, 0);
  EXPECT_NE(ReadAll(Path("FIT.png")), ReadAll(Path("AT200.png")));

  // A previous sheet survives a refused run.
  { std::ofstream(Path("OLD.png")) << "previous"; }
  const CliRun tiny = Map("--png '" + Path("OLD.png") + "' --dpi 60 --scale 0.0001");
  EXPECT_EQ(tiny.exitCode, 1);
  EXPECT_NE(tiny.err.find("below the smallest"), std::string::npos) << tiny.err;
  EXPECT_EQ(ReadAll(Path("OLD.png")), "previous");
}

// The perspective from the settings' 3-D section, shaded, and from a view the options give:
// each a picture of its own.
TEST_F(MapCli, The3DViewIsDrawnFromTheSettingsOrTheOptions) {
  const std::vector<std::pair<std::string, std::string>> runs = {
      {"PLAN.png", ""},
      {"VIEW.png", "--view3d"},
      {"SHADED.png", "--view3d --shaded"},
      {"NORTH.png", "--view3d --view-offset 0 12000 4000 --target 5300 3250 110 --elevation-factor 3 --eye 0"},
  };
  std::vector<std::string> pictures;
  for (const auto& [file, options] : runs) {
    const CliRun run = Map("--png '" + Path(file) + "' --dpi 60 " + options);
    ASSERT_EQ(run.exitCode, 0) << options << "\n" << run.err;
    pictures.push_back(ReadAll(Path(file)));
    EXPECT_EQ(ReadPngSize(pictures.back()).width, 510u);
  }
  for (std::size_t i = 0; i < pictures.size(); ++i)
    for (std::size_t j = i + 1; j < pictures.size(); ++j) EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
}

TEST_F(MapCli, BadRequestsAreRefusedWithoutWritingAnything) {
  struct Case {
    std::string args;
    int exitCode;
    const char* says;
  };
  const std::string model = "'" + (shared_ / "SITE.MDL").string() + "'";
  const Case cases[] = {
      {"map " + model, 2, "--pdf OUT.pdf or --png OUT.png is needed"},
      {"map --png '" + Path("A.png") + "'", 2, "name one model file"},
      {"map " + model + " --png '" + Path("A.png") + "' --dpi 10", 2, "--dpi needs a whole number"},
      {"map " + model + " --png '" + Path("A.png") + "' --scale -5", 2, "--scale needs a positive number"},
      // A scale bar at 1e308 would read "inf".
      {"map " + model + " --png '" + Path("A.png") + "' --scale 1e308", 2, "--scale needs a positive number up to"},
      {"map " + model + " --png '" + Path("A.png") + "' --colour", 2, "unknown option"},
      {"map " + model + " --png '" + Path("A.png") + "' --shaded", 2, "the 3-D view's options need --view3d"},
      {"map " + model + " --png '" + Path("A.png") + "' --view3d --eye 2", 2, "--eye needs a number from -50 to 1"},
      {"map " + model + " --view3d --target 1 2 --png '" + Path("A.png") + "'", 2, "--target needs three numbers"},
      {"map " + model + " --png '" + Path("A.png") + "' --view3d --view-offset 1 2", 2,
       "--view-offset needs three numbers"},
      {"map " + model + " --png '" + Path("A.png") + "' --paper b5", 2, "--paper takes letter"},
      {"map " + model + " --png '" + Path("A.png") + "' --contours 0", 2, "--contours needs a positive"},
      {"map " + model + " --png '" + Path("A.png") + "' --contours 1 --index x", 2, "--index needs a whole"},
      {"map '" + Path("MISSING.MDL") + "' --png '" + Path("A.png") + "'", 1, ""},
      {"map " + model + " --png '" + Path("no/such/folder/A.png") + "' --dpi 60", 1, "cannot write"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << "\n" << run.err;
    EXPECT_FALSE(fs::exists(Path("A.png"))) << c.args;
  }
}

}  // namespace
}  // namespace terravue::cli

// terravue-cli volume, run as a user runs it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/volume.h"
#include "common/app_settings.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "support/fake_port.h"

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

// Lines of a report without the one that carries the date and time.
std::vector<std::string> UndatedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find("Date: ") == std::string::npos) lines.push_back(line);
  return lines;
}

struct Corner {
  double x, y, z;
};

class VolumeCli : public CliFixture {
 protected:
  // A model file with the given corners and triangles, its border the ring given.
  void WriteModel(const std::string& name, const std::vector<Corner>& corners,
                  const std::vector<std::array<int, 3>>& triangles, const std::vector<int>& ring = {}) {
    model::SurfaceModel m;
    ASSERT_TRUE(m.AllocateStore());
    for (const Corner& c : corners) {
      const auto p = ++m.PointCount;
      m.PointX[p] = c.x;
      m.PointY[p] = c.y;
      m.PointZ[p] = c.z;
      m.SetPointLabel(p, "S" + std::to_string(p));
    }
    for (const auto& t : triangles)
      m.TriVertex[++m.TriangleCount] = {static_cast<PointIndex>(t[0]), static_cast<PointIndex>(t[1]),
                                        static_cast<PointIndex>(t[2])};
    for (std::size_t k = 0; k < ring.size(); ++k)
      m.BorderNext[static_cast<std::size_t>(ring[k])] = static_cast<PointIndex>(ring[(k + 1) % ring.size()]);
    m.SetComment(name + " comment");
    ASSERT_EQ(model::WriteModelFile(m, dir_ / name, 1, m.PointCount, model::ModelFileTypeMdl),
              model::ModelFileStatus::Ok);
  }
  // The 10 x 10 square at elevation z, with its border.
  void WriteSquare(const std::string& name, double z, double x0 = 0) {
    WriteModel(name, {{x0, 0, z}, {x0 + 10, 0, z}, {x0 + 10, 10, z}, {x0, 10, z}}, {{1, 2, 3}, {1, 3, 4}},
               {1, 2, 3, 4});
  }
  // A pyramid 3 high on the square at 0.
  void WritePyramid(const std::string& name) {
    WriteModel(name, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 3}},
               {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}}, {1, 2, 3, 4});
  }
  // Metric units, X before Y.
  void WriteMetricSettings(const std::string& name) {
    SettingsRecord s = DefaultSettings();
    s.Set(settings::Units, 1);
    s.Set(settings::CoordinateOrder, 1);
    ASSERT_TRUE(SaveSettings(s, dir_ / name));
  }
};

// The front end of the engine's own command, for the report to compare with.
class AnsweringUi : public analysis::VolumeUi {
 public:
  AnsweringUi(fs::path file, analysis::VolumeReportOptions options) : file_(std::move(file)), options_(options) {}
  std::optional<analysis::ProposedFileChoice> ChooseProposedFile(const std::string&, const std::string&) override {
    return analysis::ProposedFileChoice{file_, model::ModelFileTypeMdl};
  }
  void BeginComparison(const std::string&, const std::string&) override {}
  void SetPhase(int, int) override {}
  void EndComparison() override {}
  std::optional<analysis::VolumeReportOptions> AskReportOptions(const analysis::VolumeReportOptions&) override {
    return options_;
  }

 private:
  fs::path file_;
  analysis::VolumeReportOptions options_;
};

TEST_F(VolumeCli, PrintsAndWritesTheSameReportAsTheCommand) {
  WriteSquare("FLAT.MDL", 1.5);
  WritePyramid("PILE.MDL");
  WriteMetricSettings("METRIC.VSF");
  const CliRun run = Cli(
      "volume FLAT.MDL PILE.MDL --cut-factor 1.15 --fill-factor 0.9 --list-cutfill --comment 'First line' "
      "--comment 'Second line' --report OUT.TXT --settings METRIC.VSF");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadAll(dir_ / "OUT.TXT"), run.out);

  // The engine's command with the same choices, as the desktop runs it.
  SettingsRecord settings = DefaultSettings();
  ASSERT_EQ(LoadSettings(settings, dir_ / "METRIC.VSF"), SettingsLoad::Full);
  model::SurfaceModel surface;
  ASSERT_TRUE(surface.AllocateStore());
  testing::FakePort port;
  const fs::path work = dir_ / "work";
  fs::create_directories(work);
  Session session{surface, settings, port, work};
  ASSERT_TRUE(model::OpenModelByName(session, dir_ / "FLAT.MDL"));
  analysis::VolumeReportOptions options;
  options.cutFactor = 1.15;
  options.fillFactor = 0.9;
  options.listing = analysis::CutFillListing::Both;
  options.comments[0] = "First line";
  options.comments[1] = "Second line";
  AnsweringUi ui(dir_ / "PILE.MDL", options);
  ASSERT_EQ(analysis::RunVolumeCommand(session, analysis::VolumeMode::TwoSurfaces, ui, options),
            analysis::VolumeOutcome::Reported);
  ASSERT_EQ(port.reports.size(), 1u);
  EXPECT_EQ(UndatedLines(run.out), UndatedLines(port.reports.front()));

  EXPECT_NE(run.out.find("Cut Volume  (cu. meters) =          62.500      1.150              71.875\r\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("                   X =           0.000            X =           5.000\r\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("<   5:  S5>         5.000         5.000         3.000         1.500 F\r\n"),
            std::string::npos)
      << run.out;
}

TEST_F(VolumeCli, ListsTheCutFillOfTheChosenSurfaces) {
  WriteSquare("FLAT.MDL", 1.5);
  WritePyramid("PILE.MDL");
  struct Case {
    std::string option;
    bool existing, proposed;
  };
  for (const Case& c : {Case{"", false, false}, Case{"--list-cutfill", true, true},
                        Case{"--list-cutfill-existing", true, false}, Case{"--list-cutfill-proposed", false, true}}) {
    SCOPED_TRACE(c.option);
    const CliRun run = Cli("volume FLAT.MDL PILE.MDL " + c.option);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto listed = [&run](const std::string& file) {
      const std::size_t title = run.out.find("Cut/Fill Data Listing");
      return title != std::string::npos && run.out.find("File: " + file, title) != std::string::npos;
    };
    EXPECT_EQ(listed("FLAT.MDL"), c.existing) << run.out;
    EXPECT_EQ(listed("PILE.MDL"), c.proposed) << run.out;
  }
}

TEST_F(VolumeCli, SingleSurfaceMeasuresAgainstTheBorder) {
  WritePyramid("PILE.MDL");
  const CliRun run = Cli("volume --single PILE.MDL");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("  File name : Border of PILE.MDL\r\n  Comment   : none\r\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  File name : PILE.MDL\r\n  Comment   : PILE.MDL comment\r\n"), std::string::npos)
      << run.out;
  // English units by default: 100 cubic feet.
  EXPECT_NE(run.out.find("Fill Volume (cu. yards)  =           3.704"), std::string::npos) << run.out;
}

TEST_F(VolumeCli, OutcomesWithoutAReport) {
  WriteSquare("A.MDL", 0);
  WriteSquare("SAME.MDL", 0);
  WriteSquare("AWAY.MDL", 1, 50);
  std::ofstream(dir_ / "NOTES.TXT") << "1 2 3\n";
  struct Case {
    std::string args;
    int exitCode;
    std::string err;
  };
  const std::string gone = (dir_ / "GONE.MDL").string();
  const std::vector<Case> cases = {
      {"volume A.MDL SAME.MDL", 0, "The surfaces are the same.\nNo volumetric difference between them.\n"},
      {"volume A.MDL AWAY.MDL", 1, "Surfaces do not overlap.\nNo volumes can be calculated.\n"},
      {"volume A.MDL NOTES.TXT", 1, "Error: That file type is not supported.\nError: Proposed surface not loaded.\n"},
      {"volume A.MDL GONE.MDL", 1,
       "Error: File management error.\n" + gone + ": No such file or directory\nError: Proposed surface not loaded.\n"},
      {"volume GONE.MDL A.MDL", 1, "Error: File not found.\n" + gone + ": No such file or directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(VolumeCli, RefusesWhatItCannotRun) {
  WriteSquare("A.MDL", 0);
  WriteSquare("B.MDL", 1);
  for (const std::string& args : std::vector<std::string>{"volume", "volume A.MDL", "volume --single", "volume --single A.MDL B.MDL", "volume A.MDL B.MDL --cut-factor 0",
        "volume A.MDL B.MDL --fill-factor x", "volume A.MDL B.MDL --fill-factor 1e308", "volume A.MDL B.MDL --cut-factor", "volume A.MDL B.MDL -o OUT.TXT",
        "volume A.MDL B.MDL --bogus",
        "volume A.MDL B.MDL --comment 1 --comment 2 --comment 3 --comment 4 --comment 5 --comment 6",
        "volume A.MDL B.MDL --comment " + std::string(79, 'x')}) {
    SCOPED_TRACE(args);
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage: terravue-cli volume"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(fs::exists(dir_ / "OUT.TXT"));
}

}  // namespace
}  // namespace terravue::cli

// The Volume commands: checks, loading the proposed surface, the single-surface border surface,
// the outcome messages and the report, always leaving the user's model as it was.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/volume.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"
#include "volume_fixture.h"

namespace terravue::analysis {
namespace {

namespace fs = std::filesystem;
using Kind = testing::FakePort::Kind;
using model::SurfaceModel;

double Flat0(double, double) { return 0; }
double Flat1(double, double) { return 1; }

class VolumeCommand : public VolumeTest {
 protected:
  // The current model: a surface named SITE.MDL, saved.
  void Open(const SurfaceModel& surface, std::string_view comment = "Existing ground") {
    model = surface;
    model.SetComment(comment);
    settings.Set(settings::ModelFileName, "SITE.MDL");
    settings.Set(settings::DataDirectory, (work / "").string());
    settings.Set(settings::ModelSaved, true);
  }

  fs::path WriteProposed(const SurfaceModel& surface, const std::string& name, std::string_view comment = "Design") {
    SurfaceModel copy = surface;
    copy.SetComment(comment);
    const fs::path path = work / name;
    const int type = model::ModelFileTypeOf(path) < 0 ? model::ModelFileTypeMdl : model::ModelFileTypeOf(path);
    EXPECT_EQ(model::WriteModelFile(copy, path, 1, copy.PointCount, type), model::ModelFileStatus::Ok);
    return path;
  }

  VolumeOutcome RunTwo(const fs::path& file, int filterType = model::ModelFileTypeMdl) {
    ui.file = ProposedFileChoice{file, filterType};
    return RunVolumeCommand(session, VolumeMode::TwoSurfaces, ui, options);
  }

  std::vector<std::string> Errors() const { return port.Texts(Kind::Error); }
  std::vector<std::string> Infos() const { return port.Texts(Kind::Info); }

  // A line of the one report shown, or "" when there is no such line.
  std::string ReportLineStartingWith(std::string_view start) const {
    EXPECT_EQ(port.reports.size(), 1u);
    if (port.reports.empty()) return {};
    std::istringstream in(port.reports.front());
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with(start)) return line;
    }
    return {};
  }

  ScriptedVolumeUi ui;
  VolumeReportOptions options;
};

// Everything of the model a volume run could disturb.
struct ModelSnapshot {
  std::vector<double> x, y, z, cutFill;
  std::vector<PointIndex> border;
  std::vector<model::TriangleCorners> corners;
  std::uint16_t points, triangles, breaklines;
  std::string comment;
  bool operator==(const ModelSnapshot&) const = default;
};

ModelSnapshot Snapshot(const SurfaceModel& m) {
  const auto n = static_cast<std::ptrdiff_t>(m.PointCount) + 1;
  return {{m.PointX.begin(), m.PointX.begin() + n},
          {m.PointY.begin(), m.PointY.begin() + n},
          {m.PointZ.begin(), m.PointZ.begin() + n},
          {m.PointCutFill.begin(), m.PointCutFill.begin() + n},
          {m.BorderNext.begin(), m.BorderNext.begin() + n},
          {m.TriVertex.begin(), m.TriVertex.begin() + m.TriangleCount + 1},
          m.PointCount,
          m.TriangleCount,
          m.BreaklineCount,
          m.Comment()};
}

// ---- Before anything is loaded ----------------------------------------------------------------

TEST_F(VolumeCommand, RefusesWithoutAUsableCurrentModel) {
  struct Case {
    const char* name;
    VolumeMode mode;
    std::function<void()> prepare;
    std::string_view error;
  };
  const std::vector<Case> cases = {
      {"no points", VolumeMode::TwoSurfaces, [] {}, msg::NoDataLoaded},
      {"no triangles", VolumeMode::TwoSurfaces,
       [this] {
         Open(Square(Flat0));
         model.TriangleCount = 0;
       },
       msg::NoTrianglesForExistingSurface},
      {"single surface unsaved", VolumeMode::SingleSurface,
       [this] {
         Open(Square(Flat0));
         settings.Set(settings::ModelSaved, false);
       },
       msg::CurrentFileNotSaved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model.ClearModel();
    port.shown.clear();
    c.prepare();
    EXPECT_EQ(RunVolumeCommand(session, c.mode, ui, options), VolumeOutcome::NotRun);
    EXPECT_EQ(Errors(), std::vector<std::string>{std::string(c.error)});
    EXPECT_TRUE(ui.offeredFile.empty()) << "no file dialog after a refusal";
    EXPECT_EQ(ui.begun, 0);
  }
}

// ---- Loading the proposed surface -------------------------------------------------------------

TEST_F(VolumeCommand, AProposedSurfaceThatCannotBeUsedLeavesTheModelAlone) {
  Open(Square(Flat0));
  const ModelSnapshot before = Snapshot(model);
  const SettingsRecord settingsBefore = settings;

  // A file whose second triangle names a point the file does not have.
  const fs::path hostile = WriteProposed(Square(Flat1), "HOSTILE.MDL");
  {
    std::fstream f(hostile, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const auto tri = bytes.find("TRI");
    ASSERT_NE(tri, std::string::npos);
    f.seekp(static_cast<std::streamoff>(tri + 3 + 2 + 6));  // tag, count, first triangle
    f.put('\x63');
  }
  SurfaceModel untriangulated = Square(Flat1);
  untriangulated.TriangleCount = 0;
  std::ofstream(work / "NOTES.TXT") << "not a model";
  // A sibling-format file under the program's own extension.
  fs::rename(WriteProposed(Square(Flat1), "REAL.MDV"), work / "REAL.MDL");

  struct Case {
    const char* name;
    std::optional<fs::path> file;
    std::vector<std::string> errors;
  };
  const std::string notLoaded(msg::ProposedSurfaceNotLoaded);
  const std::vector<Case> cases = {
      {"cancelled", std::nullopt, {notLoaded}},
      {"text file", work / "NOTES.TXT", {std::string(msg::FileTypeNotSupported), notLoaded}},
      {"missing file", work / "GONE.MDL",
       {std::string(msg::FileManagementError) + "\r\n" + (work / "GONE.MDL").string() + ": No such file or directory",
        notLoaded}},
      {"bad corner number", hostile,
       {std::string(msg::FileManagementError) + "\r\n" + hostile.string() + ": triangle 2: corner 99 is not a point",
        notLoaded}},
      {"wrong kind of model file", work / "REAL.MDL",
       {"Bad header in .MDL file.\r\n" + (work / "REAL.MDL").string(), notLoaded}},
      {"not triangulated", WriteProposed(untriangulated, "FLAT.MDL"),
       {std::string(msg::NoTrianglesForProposedSurface)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port.shown.clear();
    ui.file.reset();
    if (c.file) ui.file = ProposedFileChoice{*c.file, model::ModelFileTypeMdl};
    EXPECT_EQ(RunVolumeCommand(session, VolumeMode::TwoSurfaces, ui, options), VolumeOutcome::NotRun);
    EXPECT_EQ(Errors(), c.errors) << port.Transcript();
    EXPECT_EQ(ui.begun, 0);
    EXPECT_TRUE(Snapshot(model) == before);
  }
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(settings.Get(settings::ModelFileName), settingsBefore.Get(settings::ModelFileName));
}

TEST_F(VolumeCommand, ANameWithoutExtensionTakesTheFiltersExtension) {
  Open(Square(Flat0));
  WriteProposed(Pyramid(3), "DESIGN.MDV");
  EXPECT_EQ(RunTwo(work / "DESIGN", model::ModelFileTypeMdv), VolumeOutcome::Reported) << port.Transcript();
  EXPECT_EQ(ui.proposedText, "DESIGN.MDV --> 5 points");
}

// ---- Two surfaces -----------------------------------------------------------------------------

TEST_F(VolumeCommand, TwoSurfacesReportsAndRemembersTheProposedFile) {
  Open(Square(Flat0, 2));
  settings.Set(settings::ProposedFileName, "LAST.MDL");
  const fs::path file = WriteProposed(Pyramid(3), "DESIGN.MDL", "Pad design");
  const ModelSnapshot before = Snapshot(model);
  ui.answer = VolumeReportOptions{};
  ui.answer->cutFactor = 1.15;
  ui.answer->comments[0] = "First line";

  ASSERT_EQ(RunTwo(file), VolumeOutcome::Reported) << port.Transcript();

  EXPECT_EQ(ui.offeredFile, (std::vector<std::string>{work.string(), "LAST.MDL"}));
  EXPECT_EQ(ui.existingText, "SITE.MDL --> 9 points");
  EXPECT_EQ(ui.proposedText, "DESIGN.MDL --> 5 points");
  EXPECT_EQ(ui.begun, 1);
  EXPECT_EQ(ui.ended, 1);
  EXPECT_EQ(ui.phases.back(), std::make_pair(3, 100));
  EXPECT_EQ(settings.Get(settings::ProposedFileName), "DESIGN.MDL");
  EXPECT_EQ(model::RecentFiles(settings).front(), file.lexically_normal().string());
  EXPECT_DOUBLE_EQ(options.cutFactor, 1.15);
  EXPECT_EQ(options.comments[0], "First line");

  EXPECT_EQ(port.Texts(Kind::Report), std::vector<std::string>{"Volume Analysis.TXT | Save Volume Analysis"});
  EXPECT_EQ(ReportLineStartingWith("  File name : SITE.MDL"), "  File name : SITE.MDL");
  EXPECT_EQ(ReportLineStartingWith("  Comment   : Existing"), "  Comment   : Existing ground");
  EXPECT_EQ(ReportLineStartingWith("  File name : D"), "  File name : DESIGN.MDL");
  EXPECT_EQ(ReportLineStartingWith("  Comment   : P"), "  Comment   : Pad design");
  EXPECT_EQ(ReportLineStartingWith("Fill Volume"), "Fill Volume (cu. yards)  =           3.704      1.000               3.704");
  EXPECT_EQ(ReportLineStartingWith("First"), "First line");

  // The run works beside the model, never in it.
  EXPECT_TRUE(Snapshot(model) == before);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_FALSE(fs::exists(work / "XXVolume.OUT"));
}

TEST_F(VolumeCommand, OutcomesWithoutAReport) {
  struct Case {
    const char* name;
    std::function<SurfaceModel()> proposed;
    std::optional<VolumeReportOptions> answer;
    VolumeOutcome outcome;
    std::vector<std::string> infos;
  };
  const std::vector<Case> cases = {
      {"identical files", [] { return Square(Flat0, 2); }, VolumeReportOptions{}, VolumeOutcome::Same,
       {std::string(msg::SurfacesAreTheSame)}},
      {"disjoint files", [] { return GridSurface(20, 0, 30, 10, 1, Flat1); }, VolumeReportOptions{},
       VolumeOutcome::NoOverlap, {std::string(msg::SurfacesDoNotOverlap)}},
      {"touching along an edge", [] { return GridSurface(10, 0, 20, 10, 1, Flat1); }, VolumeReportOptions{},
       VolumeOutcome::NoOverlap, {std::string(msg::SurfacesDoNotOverlap)}},
      {"report cancelled", [] { return Square(Flat1); }, std::nullopt, VolumeOutcome::Cancelled, {}},
  };
  Open(Square(Flat0, 2));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port.shown.clear();
    ui.answer = c.answer;
    options.cutFactor = 2;
    EXPECT_EQ(RunTwo(WriteProposed(c.proposed(), "OTHER.MDL")), c.outcome);
    EXPECT_EQ(Infos(), c.infos);
    EXPECT_TRUE(Errors().empty()) << port.Transcript();
    EXPECT_TRUE(port.reports.empty());
    EXPECT_EQ(options.cutFactor, 2) << "kept unless the dialog continues";
  }
}

TEST_F(VolumeCommand, TwoFullCapacitySurfacesCanBeCompared) {
  // The same ground surveyed twice at the largest size a model can have.
  auto surveyed = [](std::uint64_t seed) {
    SurfaceModel m;
    EXPECT_TRUE(m.AllocateStore());
    testing::LoadSite(m, testing::RollingTerrain(SurfaceModel::PointCapacity, seed));
    SettingsRecord s = DefaultSettings();
    testing::FakePort quiet;
    Session work{m, s, quiet, fs::temp_directory_path()};
    tin::LocateState state;
    tin::TriangulateOptions options;
    options.quiet = true;
    EXPECT_EQ(tin::Triangulate(work, state, options), tin::TriangulationStatus::Success);
    return m;
  };
  Open(surveyed(1));
  SurfaceModel second = surveyed(2);
  for (std::size_t i = 1; i <= second.PointCount; ++i) second.PointZ[i] += 0.25;
  ASSERT_EQ(RunTwo(WriteProposed(second, "RESURVEY.MDL")), VolumeOutcome::Reported) << port.Transcript();
  EXPECT_EQ(ui.existingText, "SITE.MDL --> 32763 points");
  EXPECT_EQ(ui.proposedText, "RESURVEY.MDL --> 32763 points");
  EXPECT_EQ(model.PointCount, SurfaceModel::PointCapacity);
}

// ---- Single surface ---------------------------------------------------------------------------

class SingleSurface : public VolumeCommand {
 protected:
  // A pyramid 3 high standing on a tilted square border, triangulated as the program does.
  void OpenPyramidOnTiltedBorder() {
    auto plane = [](double x, double y) { return 10 + 0.1 * x + 0.2 * y; };
    SurfaceModel m;
    ASSERT_TRUE(m.AllocateStore());
    const std::vector<Vertex> points = {{0, 0, plane(0, 0)},     {10, 0, plane(10, 0)}, {5, 5, plane(5, 5) + 3},
                                        {10, 10, plane(10, 10)}, {0, 10, plane(0, 10)}};
    for (const Vertex& v : points) {
      const auto p = ++m.PointCount;
      m.PointX[p] = v.x;
      m.PointY[p] = v.y;
      m.PointZ[p] = v.z;
      m.SetPointLabel(p, "P" + std::to_string(p));
    }
    m.BorderNext[1] = 2;
    m.BorderNext[2] = 4;
    m.BorderNext[4] = 5;
    m.BorderNext[5] = 1;
    m.Breaklines[++m.BreaklineCount] = {1, 3};  // goes with the interior point
    m.ComputeExtents();
    Open(m, "Stockpile");
    testing::FakePort quiet;
    Session work{model, settings, quiet, this->work};
    tin::LocateState state;
    tin::TriangulateOptions triangulate;
    triangulate.quiet = true;
    ASSERT_EQ(tin::Triangulate(work, state, triangulate), tin::TriangulationStatus::Success) << quiet.Transcript();
    settings.Set(settings::ModelSaved, true);
  }
};

TEST_F(SingleSurface, MeasuresTheModelAgainstItsBorder) {
  OpenPyramidOnTiltedBorder();
  const ModelSnapshot before = Snapshot(model);
  const int stateChanges = port.modelStateChanges;
  ui.answer = VolumeReportOptions{};
  ui.answer->listing = CutFillListing::Both;
  settings.Set(settings::Units, 1);

  ASSERT_EQ(RunVolumeCommand(session, VolumeMode::SingleSurface, ui, options), VolumeOutcome::Reported)
      << port.Transcript();
  EXPECT_TRUE(ui.offeredFile.empty());
  EXPECT_EQ(ui.existingText, "Border of SITE.MDL --> 4 points");
  EXPECT_EQ(ui.proposedText, "SITE.MDL --> 5 points");
  EXPECT_EQ(ReportLineStartingWith("Fill Volume"),
            "Fill Volume (cu. meters) =         100.000      1.000             100.000");
  EXPECT_EQ(ReportLineStartingWith("Cut Volume"),
            "Cut Volume  (cu. meters) =           0.000      1.000               0.000");
  EXPECT_EQ(ReportLineStartingWith("  File name : B"), "  File name : Border of SITE.MDL");
  EXPECT_EQ(ReportLineStartingWith("  Comment   : n"), "  Comment   : none");
  EXPECT_EQ(ReportLineStartingWith("  Comment   : S"), "  Comment   : Stockpile");
  // The border surface's own points, numbered from 1: the apex is not among them.
  EXPECT_EQ(ReportLineStartingWith("<   3:  P4>"),
            "<   3:  P4>        10.000        10.000        13.000         0.000");
  EXPECT_EQ(ReportLineStartingWith("<   3:  P3>"),
            "<   3:  P3>         5.000         5.000        14.500         3.000 F");

  EXPECT_TRUE(Snapshot(model) == before);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.MDL");
  EXPECT_EQ(port.modelStateChanges, stateChanges);
  EXPECT_EQ(settings.Get(settings::ProposedFileName), "SITE.MDL");
}

TEST_F(SingleSurface, AModelWithoutBorderHasNothingToMeasureAgainst) {
  Open(Pyramid(3));
  EXPECT_EQ(RunVolumeCommand(session, VolumeMode::SingleSurface, ui, options), VolumeOutcome::NoOverlap);
  EXPECT_EQ(Infos(), std::vector<std::string>{std::string(msg::SurfacesDoNotOverlap)});
  EXPECT_EQ(ui.existingText, "Border of SITE.MDL --> 0 points");
}

TEST(BorderSurface, KeepsTheBorderPointsAndTheirBreaklinesInOrder) {
  SurfaceModel m = Pyramid(3);
  m.BorderNext[1] = 2;
  m.BorderNext[2] = 3;
  m.BorderNext[3] = 4;
  m.BorderNext[4] = 1;
  m.Breaklines[++m.BreaklineCount] = {1, 5};
  m.Breaklines[++m.BreaklineCount] = {4, 2};
  m.SetComment("Pile");
  SettingsRecord settings = DefaultSettings();
  testing::FakePort port;
  Session session{m, settings, port, fs::temp_directory_path()};
  const std::optional<SurfaceModel> border = BorderSurface(m, session);
  ASSERT_TRUE(border);
  EXPECT_EQ(border->PointCount, 4);
  EXPECT_EQ(border->TriangleCount, 2);
  ASSERT_EQ(border->BreaklineCount, 1);
  EXPECT_EQ(border->Breaklines[1].From, 4);
  EXPECT_EQ(border->Breaklines[1].To, 2);
  EXPECT_EQ(border->Comment(), "");
  EXPECT_TRUE(port.shown.empty());
  EXPECT_EQ(port.modelStateChanges, 0);
  EXPECT_TRUE(settings == DefaultSettings());
}

}  // namespace
}  // namespace terravue::analysis

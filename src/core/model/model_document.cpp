#include "model/model_document.h"

#include <algorithm>
#include <system_error>

#include "common/app_settings.h"
#include "common/file_problem.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/text_encoding.h"
#include "common/user_port.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"

namespace terravue::model {
namespace {

namespace fs = std::filesystem;

// Paths and extensions are compared the way the model's home file system compares them:
// letters without regard to case. Only ASCII letters fold; other bytes compare exactly.
char FoldCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

std::string RightAligned(std::string_view text, std::size_t width) {
  std::string out(text.size() < width ? width - text.size() : 0, ' ');
  out += text;
  return out;
}

}  // namespace

std::string CaptionText(const SurfaceModel& model, const SettingsRecord& settings) {
  if (model.PointCount == 0) return Concat({msg::ProductName, msg::CaptionNoData});
  std::string caption = Concat({msg::ProductName, msg::CaptionNamePrefix,
                                settings.Get(settings::ModelFileName), msg::CaptionNameSuffix});
  if (settings.Get(settings::ModelSaved)) caption += msg::CaptionUnmodified;
  return caption;
}

void MarkModified(Session& session) {
  session.settings.Set(settings::ModelSaved, false);
  session.port.ModelStateChanged();
}

bool ConfirmDiscard(Session& session, bool exiting) {
  if (session.model.PointCount == 0 || session.settings.Get(settings::ModelSaved)) return true;
  return session.port.AskToDiscard(
      Concat({msg::UnsavedChanges, "\r\n", exiting ? msg::ExitAnyway : msg::LoadNewDataAnyway}));
}

void ComputeExtents(SurfaceModel& model, SettingsRecord& settings) {
  model.ComputeExtents();
  if (model.PointCount == 0) return;
  settings.Set(settings::View3DOptions::TargetX, model.MidX);
  settings.Set(settings::View3DOptions::TargetY, model.MidY);
  settings.Set(settings::View3DOptions::TargetZ, model.MidZ);
}

int ModelFileTypeOf(const fs::path& file) {
  const std::string extension = file.extension().string();
  if (SameIgnoringCase(extension, ".MDL")) return ModelFileTypeMdl;
  if (SameIgnoringCase(extension, ".MDV")) return ModelFileTypeMdv;
  return -1;
}

bool OpenModelByName(Session& session, const fs::path& given) {
  SettingsRecord& s = session.settings;
  fs::path file = given;
  const bool lastModel = given.empty();
  if (lastModel) {
    const std::string name = s.Get(settings::ModelFileName);
    if (name.empty() || s.Get(settings::ModelFileType) == ModelFileTypeImport) return false;
    file = fs::path(s.Get(settings::DataDirectory)) / name;
  }

  // A failed open leaves no name behind, so that Save cannot write over the file that failed.
  auto fail = [&] {
    s.Set(settings::ModelFileName, "");
    session.port.ModelStateChanged();
    return false;
  };

  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    // Reopening the last model at start-up stays quiet when it has gone.
    if (!lastModel) session.port.ShowError(std::string(msg::FileNotFound) + "\r\n" + ReadProblemLine(file));
    return fail();
  }
  const int type = ModelFileTypeOf(file);
  if (type < 0) {
    session.port.ShowError(
        Concat({msg::CouldNotLoadPrefix, file.filename().string(), msg::CouldNotLoadSuffix}));
    return fail();
  }
  if (!ReadModelFile(session, file, 1, 1, type, 1)) return fail();

  fs::path full = fs::absolute(file, ec);
  if (ec) full = file;
  full = full.lexically_normal();
  AddRecentFile(s, full.string());
  s.Set(settings::ModelSaved, true);
  // The name is never cut to fit: a shortened name or a name under the previous model's
  // directory would send the next Save to the wrong file. Without a name, Save asks for one.
  const std::string directory = (full.parent_path() / "").string();
  if (s.Set(settings::DataDirectory, directory)) {
    s.Set(settings::ModelFileName, full.filename().string());
    s.Set(settings::ModelFileExt, full.extension().string());
  } else {
    s.Set(settings::ModelFileName, "");
  }
  s.Set(settings::ModelFileType, static_cast<std::uint8_t>(type));
  s.Set(settings::View3DOptions::View3D, false);
  ComputeExtents(session.model, s);
  session.port.ModelStateChanged();
  return true;
}

std::vector<std::string> RecentFiles(const SettingsRecord& settings) {
  std::vector<std::string> files;
  for (int i = 0; i < settings::RecentFileCount; ++i) {
    std::string path = settings.Get(settings::RecentFile(i));
    if (!path.empty()) files.push_back(std::move(path));
  }
  return files;
}

void AddRecentFile(SettingsRecord& settings, const std::string& path) {
  if (path.empty() || path.size() > settings::RecentFile(0).capacity) return;
  std::vector<std::string> files = RecentFiles(settings);
  std::erase_if(files, [&](const std::string& f) { return SameIgnoringCase(f, path); });
  files.insert(files.begin(), path);
  if (files.size() > static_cast<std::size_t>(settings::RecentFileCount))
    files.resize(settings::RecentFileCount);
  ClearRecentFiles(settings);
  for (std::size_t i = 0; i < files.size(); ++i)
    settings.Set(settings::RecentFile(static_cast<int>(i)), files[i]);
}

void ClearRecentFiles(SettingsRecord& settings) {
  for (int i = 0; i < settings::RecentFileCount; ++i) settings.Set(settings::RecentFile(i), "");
}

SurfaceProperties GatherSurfaceProperties(Session& session) {
  const SettingsRecord& s = session.settings;
  SurfaceModel& m = session.model;
  SurfaceProperties p;
  const std::string name = s.Get(settings::ModelFileName);
  p.fileName = name.empty() ? std::string(msg::NoFileNameSpecified) : s.Get(settings::DataDirectory) + name;
  const std::string comment = m.Comment();
  p.comment = comment.empty() ? std::string(msg::NoCommentSpecified) : comment;
  p.points = m.PointCount;
  p.triangles = m.TriangleCount;
  p.breaklines = m.BreaklineCount;
  p.bordered = m.IsBordered();
  p.triangulated = m.TriangleCount > 0;

  ComputeExtents(m, session.settings);
  const SurfaceProperties::ExtentRow x{std::string(msg::AxisX), m.MinX, m.MaxX, m.MaxX - m.MinX};
  const SurfaceProperties::ExtentRow y{std::string(msg::AxisY), m.MinY, m.MaxY, m.MaxY - m.MinY};
  const SurfaceProperties::ExtentRow z{std::string(msg::AxisZ), m.MinZ, m.MaxZ, m.MaxZ - m.MinZ};
  const bool eastingFirst = settings::EastingFirst(s);
  p.extents = eastingFirst ? std::vector{x, y, z} : std::vector{y, x, z};
  p.unit = std::string(s.Get(settings::Units) == 1 ? msg::UnitMeters : msg::UnitFeet);
  p.savedNote = std::string(s.Get(settings::ModelSaved) ? msg::FileHasBeenSaved : msg::FileHasNotBeenSaved);
  return p;
}

std::vector<std::string> SurfacePropertiesText(Session& session) {
  const SurfaceProperties p = GatherSurfaceProperties(session);
  auto yesNo = [](bool v) { return v ? msg::PropertiesYes : msg::PropertiesNo; };
  constexpr std::size_t column = 14;
  std::vector<std::string> lines{
      Concat({msg::PropertiesFileName, ": ", p.fileName}),
      Concat({msg::PropertiesComment, ": ", Latin1ToUtf8(p.comment)}),
      std::string(msg::PropertiesCounts),
      Concat({"  ", msg::PropertiesPoints, " ", std::to_string(p.points)}),
      Concat({"  ", msg::PropertiesTriangles, " ", std::to_string(p.triangles)}),
      Concat({"  ", msg::PropertiesBreaklines, " ", std::to_string(p.breaklines)}),
      std::string(msg::PropertiesStatus),
      Concat({"  ", msg::PropertiesBordered, " ", yesNo(p.bordered)}),
      Concat({"  ", msg::PropertiesTriangulated, " ", yesNo(p.triangulated)}),
      Concat({"    ", RightAligned(msg::ExtentsMinimum, column), RightAligned(msg::ExtentsMaximum, column),
              RightAligned(msg::ExtentsRange, column)}),
  };
  for (const auto& row : p.extents)
    lines.push_back(Concat({"  ", row.axis, RightAligned(FormatReal(row.minimum, 0, 3), column),
                            RightAligned(FormatReal(row.maximum, 0, 3), column),
                            RightAligned(FormatReal(row.range, 0, 3), column), p.unit}));
  lines.push_back(p.savedNote);
  return lines;
}

}  // namespace terravue::model

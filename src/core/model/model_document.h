#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace terravue {
class SettingsRecord;
struct Session;
}

namespace terravue::model {

class SurfaceModel;

// The main window caption: "Terravue <No Data Loaded>", or "Terravue <SITE.MDL>" followed by
// " (unmodified)" while the model equals its file.
std::string CaptionText(const SurfaceModel& model, const SettingsRecord& settings);

// Sets ModelSaved to false and tells the front end to refresh its caption.
void MarkModified(Session& session);

// The unsaved-changes question; true when the caller may go on (nothing to lose, or Yes).
bool ConfirmDiscard(Session& session, bool exiting);

// SurfaceModel::ComputeExtents, then (when there are points) the midpoint becomes the target
// point of the 3-D view.
void ComputeExtents(SurfaceModel& model, SettingsRecord& settings);

// File type by extension, compared without regard to case: ".MDL" 2, ".MDV" 3, else -1.
int ModelFileTypeOf(const std::filesystem::path& file);

// Opens a model by name (the command line, Reopen, and reopening the last model at start-up).
// An empty path stands for the last model. On success the model's identity (name, extension,
// type, data directory, saved state, recent files) and extents are brought up to date, the 3-D
// view is switched off and true is returned; the caller then refreshes the view. On failure
// the model name is cleared. The path's case is kept as given.
bool OpenModelByName(Session& session, const std::filesystem::path& file);

// The recent-files list kept in the settings: most recent first, at most 10, no empty entries.
// Paths are compared without regard to case; a path longer than an entry holds is not stored.
std::vector<std::string> RecentFiles(const SettingsRecord& settings);
void AddRecentFile(SettingsRecord& settings, const std::string& path);
void ClearRecentFiles(SettingsRecord& settings);

// What the Surface Properties window shows. The extents rows are in the coordinate order of
// the preferences (Y first for Northing-Easting), then Z.
struct SurfaceProperties {
  struct ExtentRow {
    std::string axis;  // "X:", "Y:", "Z:"
    double minimum = 0;
    double maximum = 0;
    double range = 0;
  };
  std::string fileName;  // directory + name, or "No file name specified."
  std::string comment;   // Latin-1, or "None specified"
  unsigned points = 0;
  unsigned triangles = 0;
  unsigned breaklines = 0;
  bool bordered = false;
  bool triangulated = false;
  std::vector<ExtentRow> extents;
  std::string unit;  // " feet" or " meters"
  std::string savedNote;
};

// Runs ComputeExtents (and so moves the 3-D target) before it reads the extents.
SurfaceProperties GatherSurfaceProperties(Session& session);

// The Surface Properties window as lines of text (file, comment, counts, status, extents).
std::vector<std::string> SurfacePropertiesText(Session& session);

}  // namespace terravue::model

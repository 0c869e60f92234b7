#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cad/cad_layers.h"
#include "mapping/map_redraw.h"

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue
namespace terravue::tin {
struct LocateState;
}

// Output To CAD: the whole map redrawn into a DXF or batch macro file, with the file naming,
// questions and messages around it.
namespace terravue::cad {

// What the save dialog is opened with.
struct CadSaveRequest {
  std::string filter;            // "Description (*.EXT)|*.EXT"
  int filterIndex = 1;
  std::string initialDirectory;  // the CAD data directory without its trailing delimiter
  std::string title;
  std::string proposedPath;      // directory + stored name with the program's extension; empty without a name
};
// Shows the save dialog; the chosen path, or nothing on Cancel.
using CadSaveDialog = std::function<std::optional<std::string>(const CadSaveRequest&)>;

CadSaveRequest CadSaveRequestFor(const SettingsRecord& settings);

// Where a chosen path writes: its directory as chosen (with a trailing delimiter) and its own
// name in upper case with the program's extension.
struct CadTarget {
  std::string directory;
  std::string fileName;
  std::filesystem::path File() const { return std::filesystem::path(directory) / fileName; }
};
CadTarget CadTargetFor(device::CadProgram program, std::string_view chosen);

// The map of the session redrawn into `file` by the writer of the settings' CAD program, with
// what the program keeps beside the model (accumulated vectors, the cut/fill map).
// False when the file could not be created or written (the writer said why), or when the user
// declined to draw an element of too many lines; nothing is written then.
bool WriteCadFile(Session& session, tin::LocateState& state, const std::filesystem::path& file,
                  const mapping::RedrawOptions& options = {});

// The command: save dialog, directory and name kept in the settings, the elevation factor for
// DXF files, the progress window, the file, and "CAD file complete!" once it is written whole.
// True when a file was written.
bool OutputToCad(Session& session, tin::LocateState& state, const CadSaveDialog& saveDialog,
                 const mapping::RedrawOptions& options = {});

}  // namespace terravue::cad

#include "cad/cad_output.h"

#include <memory>

#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "mapping/map_redraw.h"
#include "device/cad_settings.h"
#include "cad/dxf_writer.h"
#include "cad/macro_writer.h"

namespace terravue::cad {
namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string WithoutTrailingDelimiter(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

// "NAME.EXT" with the extension replaced.
std::string WithExtension(const std::string& name, std::string_view extension) {
  const std::size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  return stem + std::string(extension);
}

}  // namespace

CadSaveRequest CadSaveRequestFor(const SettingsRecord& s) {
  const CadProgram program = CadProgramOf(s);
  CadSaveRequest request;
  request.filter = std::string(CadFilter(program));
  request.filterIndex = 1;
  const std::string directory = s.Get(device::CadOutput::CadDataDirectory);
  request.initialDirectory = WithoutTrailingDelimiter(directory);
  request.title = std::string(msg::CadSaveTitle);
  const std::string name = s.Get(device::CadOutput::CadFileName);
  if (!name.empty()) request.proposedPath = WithTrailingDelimiter(directory) + WithExtension(name, CadExtension(program));
  return request;
}

CadTarget CadTargetFor(CadProgram program, std::string_view chosen) {
  const std::filesystem::path path{std::string(chosen)};
  CadTarget target;
  target.directory = path.has_parent_path() ? WithTrailingDelimiter(path.parent_path().string()) : std::string();
  target.fileName = UpperAscii(WithExtension(path.filename().string(), CadExtension(program)));
  return target;
}

bool WriteCadFile(Session& session, tin::LocateState& state, const std::filesystem::path& file,
                  const mapping::RedrawOptions& options) {
  std::unique_ptr<CadWriter> writer;
  if (WritesDxf(CadProgramOf(session.settings)))
    writer = std::make_unique<DxfWriter>(session);
  else
    writer = std::make_unique<MacroWriter>(session);
  if (!writer->Begin(file)) return false;
  // A map the user chose not to draw in full is no map to write: the writer, going out of
  // scope unfinished, leaves any previous file as it was.
  if (!mapping::RedrawMap(session, *writer, state, options)) return false;
  return writer->End();
}

bool OutputToCad(Session& session, tin::LocateState& state, const CadSaveDialog& saveDialog,
                 const mapping::RedrawOptions& options) {
  SettingsRecord& s = session.settings;
  UserPort& port = session.port;
  const CadProgram program = CadProgramOf(s);
  const std::optional<std::string> chosen = saveDialog(CadSaveRequestFor(s));
  if (!chosen || chosen->empty()) return false;

  const CadTarget target = CadTargetFor(program, *chosen);
  if (!target.directory.empty()) StoreCadDataDirectory(port, s, target.directory);
  s.Set(device::CadOutput::CadFileName, target.fileName);

  if (WritesDxf(program)) {
    const double factor = port.InputReal(msg::ElevationFactorTitle, msg::ElevationFactorPrompt, 3,
                                         s.Get(device::CadOutput::ElevationFactor), device::CadOutput::ElevationFactorLimit,
                                         -device::CadOutput::ElevationFactorLimit);
    s.Set(device::CadOutput::ElevationFactor, factor);
  }

  port.BeginProgress(msg::CreatingCadFile, false);
  bool written = false;
  try {
    written = WriteCadFile(session, state, target.File(), options);
  } catch (...) {
    port.EndProgress();
    throw;
  }
  port.EndProgress();
  if (written) port.ShowCompletion(msg::CadFileComplete);
  return written;
}

}  // namespace terravue::cad

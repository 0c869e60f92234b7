#pragma once

#include <filesystem>
#include <string>

#include "exchange/landxml_import.h"

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue

// Open Surface, Save Surface and Save Surface As after their file dialogs: the checks of the
// chosen name and the model's identity kept in step with what is on disk.
namespace terravue::model {
class SurfaceModel;
}

namespace terravue::app {

// The model filter of the file dialogs: entry 1 ".MDL" (type 2), entry 2 ".MDV" (type 3). The
// open dialog has a third entry for LandXML surfaces (".xml").
int FilterEntryOfType(int fileType);
int TypeOfFilterEntry(int entry);  // -1 for any other entry
inline constexpr int LandXmlFilterEntry = 3;

// Open Surface with the file picked under filter `entry`: a name without extension gets the
// entry's; a LandXML file is imported (`choose` picks one of several surfaces) and joins the
// recent files; another extension than these is refused ("That file type is not supported.").
// True when the model was read.
bool OpenSurface(Session& session, std::filesystem::path chosen, int entry, const exchange::SurfaceChoiceFn& choose = {});

// Opens a file by name as Reopen and the command line do: a LandXML file as Open Surface
// imports it, anything else as a model file (model::OpenModelByName).
bool OpenFileByName(Session& session, const std::filesystem::path& file, const exchange::SurfaceChoiceFn& choose = {});

// What follows every load of a model (Open, Reopen, the model reopened at start, New): the
// page is fitted to the data at its fit scale and the map's text heights and marker sizes are
// set from the preset of that scale. Nothing happens without points.
void ApplyLoadedModelDefaults(SettingsRecord& settings, const model::SurfaceModel& model);

enum class SaveOutcome { Saved, Failed, NeedsName };
// Save Surface: writes the model over its own file; NeedsName when it has none yet (imported
// data, or a name that was cleared), for the caller to run Save Surface As.
SaveOutcome SaveSurface(Session& session);

// What the Save As dialog starts from: "Save SITE.MDL as", and DataDirectory + the model's name
// without its extension.
std::string SaveAsTitle(const SettingsRecord& settings);
std::filesystem::path SaveAsInitialPath(const SettingsRecord& settings);

// Save Surface As with the name picked under filter `entry` (its extension is forced). The model
// takes the new name, type and directory whether or not the write succeeds; only a written file
// joins the recent files. True when written.
bool SaveSurfaceAs(Session& session, std::filesystem::path chosen, int entry);

}  // namespace terravue::app

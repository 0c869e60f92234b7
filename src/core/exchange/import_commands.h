#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/ascii_import.h"
#include "exchange/landxml_import.h"

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue

// Process > Import: the import dialog's rules (its custom format text, what it stores when it
// closes, which controls are usable) and the three commands that run it and the loaders.
namespace terravue::exchange {

// ---- The format part of the import and export dialogs ---------------------------------------

// The custom text a dialog shows for a stored record: its letters and decorations.
std::string StoredFormatText(const SettingsRecord& settings, const FormatRecord& record, LetterTable letters);
// The custom text with every character the table does not allow removed (blank, comma and the
// table's letters stay, in either case).
std::string KeepFormatCharacters(LetterTable letters, std::string_view text);

// What the import dialog stores when it closes, by OK or by Cancel: the chosen entry (-1 for
// none) with its codes, or for the custom entry the codes and decorations of the text.
void StoreImportDialogFormat(SettingsRecord& settings, AsciiKind kind, int entry, std::string_view customText);

struct ImportDialogEnabling {
  bool preview = false;
  bool formatGroup = false;
  bool editCustom = false;
  bool ok = false;
};
// Preview needs an existing file; the formats need the preview; OK needs a chosen entry, and a
// custom text for the custom entry.
ImportDialogEnabling ImportEnabling(bool fileExists, int entry, std::string_view customText);

// ---- The commands ---------------------------------------------------------------------------

struct ImportDialogRequest {
  AsciiKind kind = AsciiKind::Coordinates;
  std::string fileName;
  bool chooseFileAtOnce = false;  // no name known: the file dialog opens as the dialog appears
  bool showAutoRemove = false;    // coordinates only
  bool autoRemove = false;
  bool showMatchNumbersToLabels = false;  // borders and breaklines
  bool matchNumbersToLabels = false;
};
struct ImportDialogResult {
  std::string fileName;
  bool autoRemove = false;
  bool matchNumbersToLabels = false;
};
// Shows the dialog modally (it stores its format itself); nothing on Cancel.
using ImportDialogFn = std::function<std::optional<ImportDialogResult>(const ImportDialogRequest&)>;

// The name the dialog starts from: the record's last file; else the model's name without its
// extension in the data directory; else nothing.
std::string DefaultImportFileName(const SettingsRecord& settings, AsciiKind kind);

enum class ImportOutcome {
  NotRun,       // refused or cancelled: nothing changed
  Attempted,    // the loader ran but the model holds nothing new
  Loaded,       // the model changed
};

// After points were read from `fileName`: the model takes the file's name (type 0: an ASCII
// import), the extents, the page and the preset sizes follow the points, and on an
// untriangulated model the point markers are switched on.
void TakeImportedModel(Session& session, const std::string& fileName);

// Process > Import > Coordinate Data. When points were loaded the model takes the file's name
// (type 0: an ASCII import), the extents, the page and the preset sizes are brought up to date
// and, on an untriangulated model, the point markers are switched on. The caller then resets
// the view and regenerates the map.
ImportOutcome ImportCoordinatesCommand(Session& session, const ImportDialogFn& dialog);
// File > New: after the unsaved-changes question ("Erase old data from memory and load new
// data?" over a saved model) the model is emptied and the coordinate import dialog starts a new
// one from an ASCII file. Declined leaves the model as it was; Cleared (the dialog cancelled or
// the file not read) leaves an empty model without a name. The caller then refreshes the view,
// the menus and the map whatever the outcome but Declined.
enum class NewOutcome { Declined, Cleared, Loaded };
NewOutcome NewModelCommand(Session& session, const ImportDialogFn& dialog);

// Process > Import > Border Data and Breakline Data; the caller redraws the map.
ImportOutcome ImportBorderCommand(Session& session, const ImportDialogFn& dialog);
ImportOutcome ImportBreaklinesCommand(Session& session, const ImportDialogFn& dialog);

// ---- LandXML --------------------------------------------------------------------------------

// Reads a LandXML file as the model (File > Open and Process > Import > LandXML). When it was
// read the model takes the file's name as imported data (type 0: Save asks for a model name),
// and the extents, the page and the preset sizes follow it as after a coordinate import; the
// caller then resets the view and regenerates the map.
LandXmlLoadStatus OpenLandXmlModel(Session& session, const std::filesystem::path& file, const SurfaceChoiceFn& choose);

// The open-file dialog of Process > Import > LandXML, starting in `directory`: the chosen name,
// nothing on Cancel.
using LandXmlOpenDialogFn = std::function<std::optional<std::string>(const std::string& directory)>;

// Process > Import > LandXML: the unsaved-changes question, the file, then OpenLandXmlModel. The
// file replaces the model; a surface cannot be merged into another.
ImportOutcome ImportLandXmlCommand(Session& session, const LandXmlOpenDialogFn& dialog, const SurfaceChoiceFn& choose);

}  // namespace terravue::exchange

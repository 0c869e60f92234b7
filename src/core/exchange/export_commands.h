#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/ascii_export.h"
#include "exchange/landxml_import.h"

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue

// Process > Export: the export dialog's rules (file names, what it stores when it closes, which
// controls are usable) and the three commands that run it and the writers.
namespace terravue::exchange {

// What the export dialog stores when it closes, by OK or by Cancel (see StoreImportDialogFormat).
void StoreExportDialogFormat(SettingsRecord& settings, AsciiKind kind, int entry, std::string_view customText);

struct ExportDialogEnabling {
  bool editCustom = false;
  bool ok = false;
};
// OK needs a chosen entry, and a custom text for the custom entry; no file name is needed yet.
ExportDialogEnabling ExportEnabling(int entry, std::string_view customText);

// The extension a kind of file is written with: ".ASC", ".BDR", ".BRK".
std::string_view DefaultExportExtension(AsciiKind kind);
// The name the save dialog proposes: the name with the kind's extension unless it already has
// one of the kind's own (".ASC" or ".TXT", ".BDR", ".BRK" or ".BKL", in any case).
std::string ProposedExportName(AsciiKind kind, std::string_view name);
// A name chosen without any extension gets the kind's default one; the rest is kept as typed.
std::string WithExportExtension(AsciiKind kind, std::string_view chosen);

struct ExportDialogRequest {
  AsciiKind kind = AsciiKind::Coordinates;
  std::string fileName;
  bool chooseFileAtOnce = false;  // no name known: the save dialog opens as the dialog appears
};
// Shows the dialog modally (it stores its format itself); the chosen name on OK, nothing on
// Cancel.
using ExportDialogFn = std::function<std::optional<std::string>(const ExportDialogRequest&)>;

// The record's last file; else the model's name with the kind's extension in the data
// directory; else nothing.
std::string DefaultExportFileName(const SettingsRecord& settings, AsciiKind kind);

// Process > Export > Coordinates, Border or Breakline: the checks that there is something to
// write, the dialog, then the writer. OK without a file name writes nothing and says so. True
// when a file was written.
bool ExportCommand(Session& session, AsciiKind kind, const ExportDialogFn& dialog);

// ---- LandXML --------------------------------------------------------------------------------

// What the LandXML export dialog starts from and hands back: the file, and the unit the file
// names. A model in metres is written in metres; one in feet may be in either foot.
struct LandXmlExportRequest {
  std::string fileName;
  std::string proposedName;       // where the save dialog starts
  bool chooseFileAtOnce = false;  // no name yet: the save dialog opens as the dialog appears
  bool metric = false;
  LandXmlUnit unit = LandXmlUnit::Foot;
};
using LandXmlExportDialogFn = std::function<std::optional<LandXmlExportRequest>(const LandXmlExportRequest&)>;

// The model's name with ".xml" in the data directory; nothing when the model has no name.
std::string DefaultLandXmlFileName(const SettingsRecord& settings);
// A name chosen without any extension gets ".xml".
std::string WithLandXmlExtension(std::string_view chosen);

// Process > Export > LandXML: "No data to save." without points; otherwise the dialog, then
// the writer. The model's name with ".xml" is proposed, but never the LandXML file the model was
// imported from: only the save dialog, which asks first, may write over that. True when a file
// was written.
bool ExportLandXmlCommand(Session& session, const LandXmlExportDialogFn& dialog);

}  // namespace terravue::exchange

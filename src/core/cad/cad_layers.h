#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/cad_settings.h"
#include "common/settings_record.h"

namespace terravue {
class UserPort;
}

// The CAD programs, the layer records as the files need them, the layer dialog's rows and the
// CAD data directory.
namespace terravue::cad {

// ---- The CAD program of the preferences -----------------------------------------------------

// AutoCAD and AutoSketch take DXF files, the two others batch macro files.
using device::CadProgram;
using device::WritesDxf;

CadProgram CadProgramOf(const SettingsRecord& settings);
// Only the choice of program; the other CAD options stay as they are.
void SetCadProgram(SettingsRecord& settings, device::CadProgram program);
// ".DXF", ".MCR" or ".GXM".
std::string_view CadExtension(CadProgram program);
// The save dialog's filter for the program.
std::string_view CadFilter(CadProgram program);

// ---- Layers in the files --------------------------------------------------------------------

// A layer name as a DXF file of this generation takes it: letters in upper case, digits, "$",
// "-" and "_"; any other character becomes "_"; an empty name is replaced by `fallback`.
std::string DxfLayerName(std::string_view name, std::string_view fallback);
// The layer's name in a DXF file. The base name of an empty one is found among the 22 records
// that carry the same colours and number; "0" when none does.
std::string DxfLayerName(const SettingsRecord& settings, const CadLayer& layer);
// The AutoCAD colour of a LAYER entry: 1..255, anything else 7.
int DxfLayerColour(const CadLayer& layer);
// The AutoCAD colour index nearest to an RGB colour (red in the low byte), for entities that
// carry their own colour. Black and white both give 7; indexes 8 and 9, whose shades differ
// between programs, are not used.
int NearestAciColour(std::uint32_t rgb);

struct DxfLayerEntry {
  std::string name;
  int colour = 7;
};
// The LAYER table of a DXF file: the layers of the elements that are on, in the fixed order of
// the elements, each name once.
std::vector<DxfLayerEntry> DxfTableLayers(const SettingsRecord& settings, bool vectorsStored);

// ---- The layer dialog -----------------------------------------------------------------------

// Names mode edits names and AutoCAD colours of all 22 layers; numbers mode the batch numbers
// and colours of all but "3D Faces".
enum class CadLayerMode { Names, Numbers };

struct CadLayerRow {
  int number = 0;  // 1..22, the layer's place in the table
  std::string label;
  std::string name;
  int acadColour = 7;
  int batchNumber = 0;
  int batchColour = 7;
  friend bool operator==(const CadLayerRow&, const CadLayerRow&) = default;
};

std::vector<CadLayerRow> LoadCadLayerRows(const SettingsRecord& settings, CadLayerMode mode);

enum class CadLayerColumn { Name, AcadColour, BatchNumber, BatchColour };
struct CellRange {
  int low, high;
};
// The range a number cell accepts. The records keep one byte each, so every number column
// accepts 0..255.
CellRange CadLayerCellRange(CadLayerColumn column);
// True when the value fits its cell; otherwise the range error is shown.
bool CheckCadLayerCell(UserPort& port, CadLayerColumn column, int value);
// OK: every row back into its record in row order, names cut to 12 characters; columns the
// mode hides keep the values they were loaded with. False (nothing stored) when a number is out
// of its range; the range error is shown.
bool StoreCadLayerRows(UserPort& port, SettingsRecord& settings, CadLayerMode mode,
                       const std::vector<CadLayerRow>& rows);

// ---- The CAD data directory -----------------------------------------------------------------

// The path with a trailing delimiter ("\" when it already uses backslashes, else "/").
std::string WithTrailingDelimiter(std::string path);
// Stores the directory as chosen, with its trailing delimiter. False, with a message, when it
// does not fit the 255 characters of the setting (the previous directory is kept).
bool StoreCadDataDirectory(UserPort& port, SettingsRecord& settings, std::string_view directory);

}  // namespace terravue::cad

#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/settings_record.h"
#include "common/settings_table.h"

// The CAD output section of the settings image, shared by the DXF and batch (macro) writers and
// set by the CAD preferences and Output To CAD.
namespace terravue::device::CadOutput {

inline constexpr BoolField DxfSelected{5620};  // AutoCAD or AutoSketch; else a batch program
inline constexpr TextField CadDataDirectory{5621, 255};  // always ends with a delimiter
inline constexpr TextField CadFileName{5877, 255};       // without directory
inline constexpr BoolField AutoSketch{6133};             // coordinates and sizes × 12
inline constexpr BoolField Use3DPolylines{6134};         // check box CBACADUse3D
inline constexpr BoolField LineMode3D{6135};             // set per element while drawing
inline constexpr BoolField Output3DFaces{6136};          // check box CBACAD3DFaces
inline constexpr BoolField StandardTextType{6137};       // CBACADTextType: Standard, else Expanded
inline constexpr F64Field ElevationFactor{6140};         // multiplies every Z written
inline constexpr BoolField GenericCadd{6148};            // batch dialect: Generic, else General
inline constexpr BoolField FastLoad{6149};               // check box CBGCADFastLoad

// Output To CAD asks for the elevation factor within these limits.
inline constexpr double ElevationFactorLimit = 3.4e38;

}  // namespace terravue::device::CadOutput

namespace terravue::device {

// The CAD programs of the CAD options page: the first two write DXF files, the others batch
// macro files.
enum class CadProgram { AutoCad = 0, AutoSketch = 1, GenericCadd = 2, GeneralCadd = 3 };
inline bool WritesDxf(CadProgram p) { return p == CadProgram::AutoCad || p == CadProgram::AutoSketch; }

const SettingsTable& CadOutputFields();
void SetCadOutputDefaults(SettingsRecord& record);
int ValidateCadOutput(SettingsRecord& record);

// The 23 CAD layers in the order that numbers them (the rows of the layer dialog). Each record
// lives in the map option group of its element.
struct CadLayerInfo {
  int number;
  std::string_view rowLabel;
  std::string_view baseName;
  LayerField field;
  std::string_view fieldName;  // "Group.Field" of the record
};
inline constexpr int CadLayerCount = 23;
const std::array<CadLayerInfo, CadLayerCount>& CadLayerTable();

// "TVU" + the base name, cut to the 12 characters of a layer name.
std::string PrefixedLayerName(std::string_view baseName);

// The layer records: built-in AutoCAD and batch colour 7, batch number = the layer's number,
// the prefixed base name. Loading clamps name lengths; every byte value is usable, except that
// the cut/fill map's record all in zeros (a settings file older than the record) takes its
// built-in value.
const SettingsTable& CadLayerFields();
void SetCadLayerDefaults(SettingsRecord& record);
int ValidateCadLayers(SettingsRecord& record);

}  // namespace terravue::device

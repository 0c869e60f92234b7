#include "device/cad_settings.h"

#include <algorithm>

#include "common/messages.h"
#include "device/map_options.h"

namespace terravue::device {
namespace {

SettingsTable BuildCadOutputFields() {
  using namespace CadOutput;
  return {
      BoolEntry("CadOutput.DxfSelected", DxfSelected, true),
      // Empty: the start-up code resolves it (ResolveDirectories).
      TextEntry("CadOutput.CadDataDirectory", CadDataDirectory),
      TextEntry("CadOutput.CadFileName", CadFileName),
      BoolEntry("CadOutput.AutoSketch", AutoSketch, false),
      BoolEntry("CadOutput.Use3DPolylines", Use3DPolylines, true),
      BoolEntry("CadOutput.LineMode3D", LineMode3D, false),
      BoolEntry("CadOutput.Output3DFaces", Output3DFaces, false),
      BoolEntry("CadOutput.StandardTextType", StandardTextType, true),
      RealEntry("CadOutput.ElevationFactor", ElevationFactor, 1.0, -ElevationFactorLimit,
                ElevationFactorLimit),
      BoolEntry("CadOutput.GenericCadd", GenericCadd, true),
      BoolEntry("CadOutput.FastLoad", FastLoad, true),
  };
}

SettingsTable BuildCadLayerFields() {
  SettingsTable t;
  for (const auto& layer : CadLayerTable()) {
    t.push_back(LayerEntry(std::string(layer.fieldName), layer.field, PrefixedLayerName(layer.baseName),
                           layer.number));
    // Settings files written before the cut/fill map hold zeros where its record now is.
    t.back().zeroIsUnset = layer.field.offset == AnalyzerOptions::CutFillLayer.offset;
  }
  return t;
}

}  // namespace

const SettingsTable& CadOutputFields() {
  static const SettingsTable table = BuildCadOutputFields();
  return table;
}

void SetCadOutputDefaults(SettingsRecord& record) { ApplyDefaults(CadOutputFields(), record); }

int ValidateCadOutput(SettingsRecord& record) { return ValidateFields(CadOutputFields(), record); }

const std::array<CadLayerInfo, CadLayerCount>& CadLayerTable() {
  static constexpr std::array<CadLayerInfo, CadLayerCount> table = {{
      {1, "Triangles", "TRIANGLE", TriangleOptions::Layer, "TriangleOptions.Layer"},
      {2, "Breaklines", "BREAKLINE", BreaklineOptions::Layer, "BreaklineOptions.Layer"},
      {3, "Breakline Text", "BREAKLBL", BreaklineOptions::TextLayer, "BreaklineOptions.TextLayer"},
      {4, "Surface Grid", "GRID1", SurfaceGridOptions::PrimaryLayer, "SurfaceGridOptions.PrimaryLayer"},
      {5, "Surface Grid 2", "GRID2", SurfaceGridOptions::MultipleLayer,
       "SurfaceGridOptions.MultipleLayer"},
      {6, "Surface Grid Text", "GRIDLBL", SurfaceGridOptions::TextLayer, "SurfaceGridOptions.TextLayer"},
      {7, "Contours", "CONTOUR", ContourOptions::PrimaryLayer, "ContourOptions.PrimaryLayer"},
      {8, "Contours 2", "CONTOUR2", ContourOptions::MultipleLayer, "ContourOptions.MultipleLayer"},
      {9, "Contour Text", "CONLABEL", ContourOptions::TextLayer, "ContourOptions.TextLayer"},
      {10, "Border", "BORDER", BorderOptions::Layer, "BorderOptions.Layer"},
      {11, "Point Markers", "POINTS", PointOptions::MarkerLayer, "PointOptions.MarkerLayer"},
      {12, "Point Marker Text", "POINTLBL", PointOptions::LabelLayer, "PointOptions.LabelLayer"},
      {13, "Miscellaneous", "MISC", MiscOptions::Layer, "MiscOptions.Layer"},
      {14, "Title Block", "TITLE", TitleOptions::TitleLayer, "TitleOptions.TitleLayer"},
      {15, "Title Block 2", "TITLE", TitleOptions::TitleLayer2, "TitleOptions.TitleLayer2"},
      {16, "3D Faces", "FACES", CadFacesOptions::Layer, "CadFacesOptions.Layer"},
      {17, "Vectors", "VECTORS", AnalyzerOptions::VectorLayer, "AnalyzerOptions.VectorLayer"},
      {18, "Density", "DENSITY", AnalyzerOptions::DensityLayer, "AnalyzerOptions.DensityLayer"},
      {19, "Down Slope", "DOWNSLOPE", AnalyzerOptions::DownSlopeLayer, "AnalyzerOptions.DownSlopeLayer"},
      {20, "Flow Path", "FLOWPATH", AnalyzerOptions::FlowLayer, "AnalyzerOptions.FlowLayer"},
      {21, "Watershed", "WATERSHED", AnalyzerOptions::WatershedLayer, "AnalyzerOptions.WatershedLayer"},
      {22, "Ridge", "RIDGE", AnalyzerOptions::RidgeLayer, "AnalyzerOptions.RidgeLayer"},
      {23, "Cut/Fill Map", "CUTFILL", AnalyzerOptions::CutFillLayer, "AnalyzerOptions.CutFillLayer"},
  }};
  return table;
}

std::string PrefixedLayerName(std::string_view baseName) {
  std::string name(msg::CadLayerPrefix);
  name += baseName;
  name.resize(std::min(name.size(), CadLayer::NameCapacity));
  return name;
}

const SettingsTable& CadLayerFields() {
  static const SettingsTable table = BuildCadLayerFields();
  return table;
}

void SetCadLayerDefaults(SettingsRecord& record) { ApplyDefaults(CadLayerFields(), record); }

int ValidateCadLayers(SettingsRecord& record) { return ValidateFields(CadLayerFields(), record); }

}  // namespace terravue::device

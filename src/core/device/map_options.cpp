#include "device/map_options.h"

#include "common/coordinate_limits.h"

namespace terravue::device {
namespace {

using namespace MapColour;

constexpr int LastLineSelection = 3;  // None, All, Multiple, Non-multiple
constexpr int MaxDecimals = 3;
// Spacings below a thousandth of a length unit would draw lines without end; the drawing code
// steps along them from one side of the model to the other. Text heights below it have no size
// to measure the text by.
constexpr double MinSpacing = MinLength;
constexpr double MinTextHeight = MinLength;
constexpr double MaxTension = 10;

SettingsTable BuildMapOptionsFields() {
  SettingsTable t;
  {
    using namespace TriangleOptions;
    t.push_back(BoolEntry("TriangleOptions.Show", Show, true));
    t.push_back(ColourEntry("TriangleOptions.Colour", Colour, Red));
    t.push_back(WidthEntry("TriangleOptions.Width", Width));
  }
  {
    using namespace BreaklineOptions;
    t.push_back(BoolEntry("BreaklineOptions.Show", Show, false));
    t.push_back(ColourEntry("BreaklineOptions.Colour", Colour, Purple));
    t.push_back(WidthEntry("BreaklineOptions.Width", Width));
    t.push_back(BoolEntry("BreaklineOptions.ShowNumbers", ShowNumbers, false));
    t.push_back(RealEntry("BreaklineOptions.TextHeight", TextHeight, 1.0, MinTextHeight));
    t.push_back(ColourEntry("BreaklineOptions.TextColour", TextColour, Purple));
  }
  {
    using namespace SurfaceGridOptions;
    t.push_back(BoolEntry("SurfaceGridOptions.Show", Show, false));
    t.push_back(RealEntry("SurfaceGridOptions.IntervalX", IntervalX, 100.0, MinSpacing));
    t.push_back(RealEntry("SurfaceGridOptions.IntervalY", IntervalY, 100.0, MinSpacing));
    t.push_back(Int16Entry("SurfaceGridOptions.Multiple", Multiple, 0, 0));
    t.push_back(ColourEntry("SurfaceGridOptions.PrimaryColour", PrimaryColour, Blue));
    t.push_back(ColourEntry("SurfaceGridOptions.MultipleColour", MultipleColour, Navy));
    t.push_back(WidthEntry("SurfaceGridOptions.PrimaryWidth", PrimaryWidth));
    t.push_back(WidthEntry("SurfaceGridOptions.MultipleWidth", MultipleWidth));
    t.push_back(ByteEntry("SurfaceGridOptions.TextMode", TextMode, 0, 0, LastLineSelection));
    t.push_back(RealEntry("SurfaceGridOptions.TextHeight", TextHeight, 1.0, MinTextHeight));
    t.push_back(ByteEntry("SurfaceGridOptions.TextDecimals", TextDecimals, 0, 0, MaxDecimals));
    t.push_back(ColourEntry("SurfaceGridOptions.TextColour", TextColour, Purple));
    t.push_back(ByteEntry("SurfaceGridOptions.DashMode", DashMode, 0, 0, LastLineSelection));
    t.push_back(RealEntry("SurfaceGridOptions.DashLength", DashLength, 1.0, MinSpacing));
    t.push_back(RealEntry("SurfaceGridOptions.SpaceLength", SpaceLength, 1.0, MinSpacing));
    t.push_back(BoolEntry("SurfaceGridOptions.Smooth", Smooth, false));
    t.push_back(Word16Entry("SurfaceGridOptions.Segments", Segments, 3, MinSegments, MaxSegments));
    t.push_back(RealEntry("SurfaceGridOptions.Tension", Tension, 0.0, 0, MaxTension));
  }
  {
    using namespace ContourOptions;
    t.push_back(BoolEntry("ContourOptions.Show", Show, false));
    t.push_back(RealEntry("ContourOptions.Interval", Interval, 1.0, MinSpacing));
    t.push_back(Int16Entry("ContourOptions.Multiple", Multiple, 0, 0));
    t.push_back(ColourEntry("ContourOptions.PrimaryColour", PrimaryColour, Green));
    t.push_back(ColourEntry("ContourOptions.MultipleColour", MultipleColour, Olive));
    t.push_back(WidthEntry("ContourOptions.PrimaryWidth", PrimaryWidth));
    t.push_back(WidthEntry("ContourOptions.MultipleWidth", MultipleWidth));
    t.push_back(ByteEntry("ContourOptions.LabelMode", LabelMode, 0, 0, LastLineSelection));
    t.push_back(ByteEntry("ContourOptions.LabelDecimals", LabelDecimals, 2, 0, MaxDecimals));
    t.push_back(ByteEntry("ContourOptions.LabelDirection", LabelDirection, 1, 0, 1));
    t.push_back(RealEntry("ContourOptions.LabelFrequency", LabelFrequency, 10.0, 1, 50));
    t.push_back(RealEntry("ContourOptions.TextHeight", TextHeight, 1.0, MinTextHeight));
    t.push_back(ColourEntry("ContourOptions.TextColour", TextColour, Teal));
    t.push_back(ByteEntry("ContourOptions.DashMode", DashMode, 0, 0, LastLineSelection));
    t.push_back(RealEntry("ContourOptions.DashLength", DashLength, 1.0, MinSpacing));
    t.push_back(RealEntry("ContourOptions.SpaceLength", SpaceLength, 1.0, MinSpacing));
    t.push_back(BoolEntry("ContourOptions.Smooth", Smooth, false));
    t.push_back(Word16Entry("ContourOptions.Segments", Segments, 3, MinSegments, MaxSegments));
    t.push_back(RealEntry("ContourOptions.Tension", Tension, 0.0, 0, MaxTension));
    t.push_back(BoolEntry("ContourOptions.RangeSpecified", RangeSpecified, false));
    // Elevations, held to the coordinates the program takes in.
    t.push_back(RealEntry("ContourOptions.Minimum", Minimum, 0.0, -MaxCoordinate, MaxCoordinate));
    t.push_back(RealEntry("ContourOptions.Maximum", Maximum, 0.0, -MaxCoordinate, MaxCoordinate));
    t.push_back(RealEntry("ContourOptions.Base", Base, 0.0, -MaxCoordinate, MaxCoordinate));
  }
  {
    using namespace BorderOptions;
    t.push_back(BoolEntry("BorderOptions.Show", Show, true));
    t.push_back(ColourEntry("BorderOptions.Colour", Colour, Maroon));
    t.push_back(WidthEntry("BorderOptions.Width", Width));
    t.push_back(BoolEntry("BorderOptions.DrawAtMinimumElevation", DrawAtMinimumElevation, false));
    t.push_back(BoolEntry("BorderOptions.ProjectToMinimumElevation", ProjectToMinimumElevation, false));
  }
  {
    using namespace PointOptions;
    t.push_back(BoolEntry("PointOptions.Show", Show, true));
    t.push_back(BoolEntry("PointOptions.MaintainScale", MaintainScale, true));
    t.push_back(ColourEntry("PointOptions.MarkerColour", MarkerColour, Purple));
    t.push_back(ByteEntry("PointOptions.MarkerKind", MarkerKind, 3, 0, 5));
    t.push_back(RealEntry("PointOptions.MarkerHeight", MarkerHeight, 1.0));
    t.push_back(ColourEntry("PointOptions.LabelColour", LabelColour, Purple));
    t.push_back(BoolEntry("PointOptions.ShowNumber", ShowNumber, false));
    t.push_back(BoolEntry("PointOptions.ShowLabel", ShowLabel, false));
    t.push_back(BoolEntry("PointOptions.ShowElevation", ShowElevation, false));
    t.push_back(BoolEntry("PointOptions.Declutter", Declutter, false));
    t.push_back(RealEntry("PointOptions.TextHeight", TextHeight, 1.0, MinTextHeight));
    t.push_back(RealEntry("PointOptions.TextAngle", TextAngle, 0.0));
    t.push_back(ByteEntry("PointOptions.ElevationDecimals", ElevationDecimals, 3, 0, MaxDecimals));
    t.push_back(BoolEntry("PointOptions.ShowPath", ShowPath, false));
    t.push_back(BoolEntry("PointOptions.PathArrowHeads", PathArrowHeads, false));
    t.push_back(WidthEntry("PointOptions.PathWidth", PathWidth));
  }
  {
    using namespace MiscOptions;
    t.push_back(BoolEntry("MiscOptions.Show", Show, false));
    t.push_back(BoolEntry("MiscOptions.ShowLimits", ShowLimits, false));
    t.push_back(BoolEntry("MiscOptions.ShowNorthArrow", ShowNorthArrow, false));
    t.push_back(BoolEntry("MiscOptions.ShowScaleBar", ShowScaleBar, false));
    t.push_back(RealEntry("MiscOptions.NorthAngle", NorthAngle, 0.0, 0, 360));
    t.push_back(RealEntry("MiscOptions.TextHeight", TextHeight, 1.0, MinTextHeight));
    t.push_back(ColourEntry("MiscOptions.Colour", Colour, Black));
  }
  {
    using namespace TitleOptions;
    t.push_back(BoolEntry("TitleOptions.Show", Show, false));
    t.push_back(BoolEntry("TitleOptions.UseTitleBoxes", UseTitleBoxes, false));
    t.push_back(BoolEntry("TitleOptions.ShowTitle", ShowTitle, false));
    t.push_back(BoolEntry("TitleOptions.ShowScale", ShowScale, false));
    t.push_back(BoolEntry("TitleOptions.ShowDate", ShowDate, false));
    t.push_back(BoolEntry("TitleOptions.ShowTime", ShowTime, false));
    t.push_back(BoolEntry("TitleOptions.ShowFileName", ShowFileName, false));
    t.push_back(BoolEntry("TitleOptions.ShowFileComment", ShowFileComment, false));
    t.push_back(BoolEntry("TitleOptions.ShowComment", ShowComment, false));
    t.push_back(TextEntry("TitleOptions.TitleText", TitleText));
    t.push_back(TextEntry("TitleOptions.Client1", Client1));
    t.push_back(TextEntry("TitleOptions.Client2", Client2));
    t.push_back(TextEntry("TitleOptions.Location1", Location1));
    t.push_back(TextEntry("TitleOptions.Location2", Location2));
    t.push_back(TextEntry("TitleOptions.Comment1", Comment1));
    t.push_back(TextEntry("TitleOptions.Comment2", Comment2));
    t.push_back(RealEntry("TitleOptions.TitleTextHeight", TitleTextHeight, 1.0, MinTextHeight));
    t.push_back(RealEntry("TitleOptions.MiscTextHeight", MiscTextHeight, 1.0, MinTextHeight));
    t.push_back(ColourEntry("TitleOptions.TitleColour", TitleColour, Black));
    t.push_back(ColourEntry("TitleOptions.MiscTextColour", MiscTextColour, Black));
  }
  t.push_back(BoolEntry("CadFacesOptions.Show", CadFacesOptions::Show, false));
  {
    using namespace AnalyzerOptions;
    t.push_back(BoolEntry("AnalyzerOptions.Show", Show, false));
    t.push_back(ColourEntry("AnalyzerOptions.VectorColour", VectorColour, Fuchsia));
    t.push_back(WidthEntry("AnalyzerOptions.VectorWidth", VectorWidth));
    t.push_back(BoolEntry("AnalyzerOptions.ShowDensity", ShowDensity, false));
    t.push_back(BoolEntry("AnalyzerOptions.DensityBySlope", DensityBySlope, false));
    t.push_back(RealEntry("AnalyzerOptions.MinSlope", MinSlope, 0.0));
    t.push_back(RealEntry("AnalyzerOptions.MaxSlope", MaxSlope, 0.0));
    // The slope zone width divides by it and the zone table holds 100 zones.
    t.push_back(Int32Entry("AnalyzerOptions.ZoneCount", ZoneCount, 1, 1, MaxZoneCount));
    t.push_back(BoolEntry("AnalyzerOptions.ReversePattern", ReversePattern, false));
    t.push_back(ColourEntry("AnalyzerOptions.DensityColour", DensityColour, Fuchsia));
    t.push_back(BoolEntry("AnalyzerOptions.ShowDownSlope", ShowDownSlope, false));
    t.push_back(RealEntry("AnalyzerOptions.ArrowMagnitude", ArrowMagnitude, 1.0, MinSpacing, 1.7e308));
    t.push_back(BoolEntry("AnalyzerOptions.ProportionalArrows", ProportionalArrows, false));
    t.push_back(BoolEntry("AnalyzerOptions.ArrowsAtTriangleCentres", ArrowsAtTriangleCentres, true));
    t.push_back(BoolEntry("AnalyzerOptions.ArrowsAtGridPoints", ArrowsAtGridPoints, false));
    t.push_back(RealEntry("AnalyzerOptions.DownSlopeGridSpacing", DownSlopeGridSpacing, 100.0,
                          MinSpacing, 1.7e308));
    t.push_back(ColourEntry("AnalyzerOptions.DownSlopeColour", DownSlopeColour, Fuchsia));
    t.push_back(WidthEntry("AnalyzerOptions.DownSlopeWidth", DownSlopeWidth));
    t.push_back(BoolEntry("AnalyzerOptions.ShowFlowPath", ShowFlowPath, false));
    t.push_back(BoolEntry("AnalyzerOptions.StartAtPoints", StartAtPoints, false));
    t.push_back(BoolEntry("AnalyzerOptions.StartAtTriangleCentres", StartAtTriangleCentres, false));
    t.push_back(BoolEntry("AnalyzerOptions.StartAtGridPoints", StartAtGridPoints, false));
    t.push_back(RealEntry("AnalyzerOptions.FlowGridSpacing", FlowGridSpacing, 100.0, MinSpacing,
                          1.7e308));
    t.push_back(BoolEntry("AnalyzerOptions.ContinueFromEnds", ContinueFromEnds, false));
    t.push_back(BoolEntry("AnalyzerOptions.ShowWatersheds", ShowWatersheds, false));
    t.push_back(ColourEntry("AnalyzerOptions.FlowColour", FlowColour, Fuchsia));
    t.push_back(WidthEntry("AnalyzerOptions.FlowWidth", FlowWidth));
    t.push_back(ColourEntry("AnalyzerOptions.WatershedColour", WatershedColour, Fuchsia));
    t.push_back(WidthEntry("AnalyzerOptions.WatershedWidth", WatershedWidth));
    t.push_back(BoolEntry("AnalyzerOptions.ShowRidges", ShowRidges, false));
    t.push_back(BoolEntry("AnalyzerOptions.ContinueFromRidgeEnds", ContinueFromRidgeEnds, false));
    t.push_back(ColourEntry("AnalyzerOptions.RidgeColour", RidgeColour, Fuchsia));
    t.push_back(WidthEntry("AnalyzerOptions.RidgeWidth", RidgeWidth));
    t.push_back(BoolEntry("AnalyzerOptions.ShowCutFill", ShowCutFill, false));
  }
  t.push_back(TextEntry("MapOptions.CustomColours", CustomColours));
  return t;
}

}  // namespace

const SettingsTable& MapOptionsFields() {
  static const SettingsTable table = BuildMapOptionsFields();
  return table;
}

void SetMapOptionsDefaults(SettingsRecord& record) { ApplyDefaults(MapOptionsFields(), record); }

int ValidateMapOptions(SettingsRecord& record) { return ValidateFields(MapOptionsFields(), record); }

}  // namespace terravue::device

#pragma once

#include <cstdint>

#include "common/settings_record.h"
#include "common/settings_table.h"

// The map option groups of the settings image: which elements the map shows and with which
// colour, CAD layer, width, text height and parameters. Every group begins with its `Show`
// flag. Widths are indexes into the width list 1, 2, ... 50 (0..20). Bytes between the fields
// are reserved and kept as read.
namespace terravue::device {

// Colours as stored (red in the low byte).
namespace MapColour {
inline constexpr std::uint32_t Black = MakeColour(0, 0, 0);
inline constexpr std::uint32_t Red = MakeColour(255, 0, 0);
inline constexpr std::uint32_t Purple = MakeColour(128, 0, 128);
inline constexpr std::uint32_t Blue = MakeColour(0, 0, 255);
inline constexpr std::uint32_t Navy = MakeColour(0, 0, 128);
inline constexpr std::uint32_t Green = MakeColour(0, 128, 0);
inline constexpr std::uint32_t Olive = MakeColour(128, 128, 0);
inline constexpr std::uint32_t Teal = MakeColour(0, 128, 128);
inline constexpr std::uint32_t Maroon = MakeColour(128, 0, 0);
inline constexpr std::uint32_t Fuchsia = MakeColour(255, 0, 255);
}  // namespace MapColour

// TextMode, LabelMode and DashMode choose the lines that get labels or dashes: 0 None, 1 All,
// 2 Multiple, 3 Non-multiple.

namespace TriangleOptions {
inline constexpr BoolField Show{6168};
inline constexpr ColourField Colour{6172};
inline constexpr LayerField Layer{6176};
inline constexpr I32Field Width{6192};
}  // namespace TriangleOptions

namespace BreaklineOptions {
inline constexpr BoolField Show{6196};
inline constexpr ColourField Colour{6200};
inline constexpr LayerField Layer{6204};
inline constexpr I32Field Width{6220};
inline constexpr BoolField ShowNumbers{6224};
inline constexpr F64Field TextHeight{6228};
inline constexpr ColourField TextColour{6236};
inline constexpr LayerField TextLayer{6240};
}  // namespace BreaklineOptions

namespace SurfaceGridOptions {
inline constexpr BoolField Show{6260};
inline constexpr F64Field IntervalX{6268};
inline constexpr F64Field IntervalY{6276};
inline constexpr I16Field Multiple{6284};  // every n-th line in the multiple style; 0 none
inline constexpr ColourField PrimaryColour{6288};
inline constexpr ColourField MultipleColour{6292};
inline constexpr LayerField PrimaryLayer{6296};
inline constexpr LayerField MultipleLayer{6312};
inline constexpr I32Field PrimaryWidth{6328};
inline constexpr I32Field MultipleWidth{6332};
inline constexpr U8Field TextMode{6336};  // 0..3
inline constexpr F64Field TextHeight{6340};
inline constexpr U8Field TextDecimals{6348};
inline constexpr ColourField TextColour{6352};
inline constexpr LayerField TextLayer{6356};
inline constexpr U8Field DashMode{6372};  // 0..3
inline constexpr F64Field DashLength{6380};
inline constexpr F64Field SpaceLength{6388};
// Smoothing of the draped 3-D grid.
inline constexpr BoolField Smooth{6396};
inline constexpr U16Field Segments{6398};
inline constexpr F64Field Tension{6404};
}  // namespace SurfaceGridOptions

namespace ContourOptions {
inline constexpr BoolField Show{6412};
inline constexpr F64Field Interval{6420};
inline constexpr I16Field Multiple{6428};  // index contour every n-th level; 0 none
inline constexpr ColourField PrimaryColour{6432};
inline constexpr ColourField MultipleColour{6436};
inline constexpr LayerField PrimaryLayer{6440};
inline constexpr LayerField MultipleLayer{6456};
inline constexpr I32Field PrimaryWidth{6472};
inline constexpr I32Field MultipleWidth{6476};
inline constexpr U8Field LabelMode{6480};  // 0..3
inline constexpr U8Field LabelDecimals{6481};
inline constexpr U8Field LabelDirection{6482};  // 0 Uphill, 1 North
inline constexpr F64Field LabelFrequency{6484};
inline constexpr F64Field TextHeight{6492};
inline constexpr ColourField TextColour{6500};
inline constexpr LayerField TextLayer{6504};
inline constexpr U8Field DashMode{6520};  // 0..3
inline constexpr F64Field DashLength{6524};
inline constexpr F64Field SpaceLength{6532};
inline constexpr BoolField Smooth{6540};
inline constexpr U16Field Segments{6542};
inline constexpr F64Field Tension{6548};
inline constexpr BoolField RangeSpecified{6556};  // false "Min/Max", true "Specified"
inline constexpr F64Field Minimum{6564};
inline constexpr F64Field Maximum{6572};
inline constexpr F64Field Base{6580};
}  // namespace ContourOptions

namespace BorderOptions {
inline constexpr BoolField Show{6588};
inline constexpr ColourField Colour{6592};
inline constexpr LayerField Layer{6596};
inline constexpr I32Field Width{6612};
inline constexpr BoolField DrawAtMinimumElevation{6616};     // 3-D view only
inline constexpr BoolField ProjectToMinimumElevation{6617};  // 3-D view only
}  // namespace BorderOptions

namespace PointOptions {
inline constexpr BoolField Show{6620};
inline constexpr BoolField MaintainScale{6621};
inline constexpr ColourField MarkerColour{6624};  // also the travel path colour
inline constexpr LayerField MarkerLayer{6628};
inline constexpr U8Field MarkerKind{6644};  // 0 Block, 1 Box, 2 Cross, 3 Plus, 4 Diamond, 5 None
inline constexpr F64Field MarkerHeight{6652};
inline constexpr ColourField LabelColour{6660};
inline constexpr LayerField LabelLayer{6664};
inline constexpr BoolField ShowNumber{6680};
inline constexpr BoolField ShowLabel{6681};
inline constexpr BoolField ShowElevation{6682};
// Labels that would overlap one drawn already are left out (a byte of the group's free ones).
inline constexpr BoolField Declutter{6685};
inline constexpr F64Field TextHeight{6692};
inline constexpr F64Field TextAngle{6700};  // radians
inline constexpr U8Field ElevationDecimals{6708};
inline constexpr BoolField ShowPath{6709};
inline constexpr BoolField PathArrowHeads{6710};
inline constexpr I32Field PathWidth{6712};
}  // namespace PointOptions

namespace MiscOptions {
inline constexpr BoolField Show{6716};
inline constexpr BoolField ShowLimits{6717};
inline constexpr BoolField ShowNorthArrow{6718};
inline constexpr BoolField ShowScaleBar{6719};
inline constexpr F64Field NorthAngle{6724};  // degrees 0..360
inline constexpr F64Field TextHeight{6732};  // scale bar text
inline constexpr ColourField Colour{6740};
inline constexpr LayerField Layer{6744};
}  // namespace MiscOptions

namespace TitleOptions {
inline constexpr BoolField Show{6764};
inline constexpr BoolField UseTitleBoxes{6765};
inline constexpr BoolField ShowTitle{6766};
inline constexpr BoolField ShowScale{6767};
inline constexpr BoolField ShowDate{6768};
inline constexpr BoolField ShowTime{6769};
inline constexpr BoolField ShowFileName{6770};
inline constexpr BoolField ShowFileComment{6772};
inline constexpr BoolField ShowComment{6773};
inline constexpr TextField TitleText{6774, 80};
inline constexpr TextField Client1{6855, 80};
inline constexpr TextField Client2{6936, 80};
inline constexpr TextField Location1{7017, 80};
inline constexpr TextField Location2{7098, 80};
inline constexpr TextField Comment1{7179, 80};
inline constexpr TextField Comment2{7260, 80};
inline constexpr F64Field TitleTextHeight{7348};
inline constexpr F64Field MiscTextHeight{7356};
inline constexpr ColourField TitleColour{7364};
inline constexpr ColourField MiscTextColour{7368};
inline constexpr LayerField TitleLayer{7372};
inline constexpr LayerField TitleLayer2{7388};
}  // namespace TitleOptions

// The DXF writer's 3-D faces: set from the CAD preferences.
namespace CadFacesOptions {
inline constexpr BoolField Show{7404};
inline constexpr LayerField Layer{7405};
}  // namespace CadFacesOptions

namespace AnalyzerOptions {
inline constexpr BoolField Show{7424};
inline constexpr ColourField VectorColour{7428};
inline constexpr LayerField VectorLayer{7432};
inline constexpr I32Field VectorWidth{7448};
inline constexpr BoolField ShowDensity{7452};
inline constexpr BoolField DensityBySlope{7453};  // else by elevation
// Slope zones, percent: [MinSlope, MaxSlope] cut into ZoneCount equal widths.
inline constexpr F64Field MinSlope{7456};
inline constexpr F64Field MaxSlope{7464};
inline constexpr I32Field ZoneCount{7472};
inline constexpr BoolField ReversePattern{7476};
inline constexpr ColourField DensityColour{7480};
inline constexpr LayerField DensityLayer{7484};
inline constexpr BoolField ShowDownSlope{7500};
inline constexpr F64Field ArrowMagnitude{7504};
inline constexpr BoolField ProportionalArrows{7512};
inline constexpr BoolField ArrowsAtTriangleCentres{7513};
inline constexpr BoolField ArrowsAtGridPoints{7514};
inline constexpr F64Field DownSlopeGridSpacing{7520};
inline constexpr ColourField DownSlopeColour{7528};
inline constexpr LayerField DownSlopeLayer{7532};
inline constexpr I32Field DownSlopeWidth{7548};
inline constexpr BoolField ShowFlowPath{7552};
inline constexpr BoolField StartAtPoints{7553};
inline constexpr BoolField StartAtTriangleCentres{7554};
inline constexpr BoolField StartAtGridPoints{7555};
inline constexpr F64Field FlowGridSpacing{7560};
inline constexpr BoolField ContinueFromEnds{7568};
inline constexpr BoolField ShowWatersheds{7569};
inline constexpr ColourField FlowColour{7572};
inline constexpr LayerField FlowLayer{7576};
inline constexpr I32Field FlowWidth{7592};
inline constexpr ColourField WatershedColour{7596};
inline constexpr LayerField WatershedLayer{7600};
inline constexpr I32Field WatershedWidth{7616};
inline constexpr BoolField ShowRidges{7620};
inline constexpr BoolField ContinueFromRidgeEnds{7621};
inline constexpr ColourField RidgeColour{7624};
inline constexpr LayerField RidgeLayer{7628};
inline constexpr I32Field RidgeWidth{7644};
// The cut/fill map of the last volume run, painted beneath the other elements.
inline constexpr BoolField ShowCutFill{7425};
// Its CAD layer. The analyzer section has no 16 free bytes together, so the record sits in the
// reserved bytes after the main window's state; their zeros in settings files written before
// it existed read as "not set" and give the built-in layer (device/cad_settings.cpp).
inline constexpr LayerField CutFillLayer{938};

inline constexpr int MaxZoneCount = 100;

// The names the surface analysis uses for the same fields.
inline constexpr BoolField AnalyzerShown = Show;
inline constexpr BoolField DensityShown = ShowDensity;
inline constexpr BoolField DensityOnSlope = DensityBySlope;
inline constexpr BoolField DensityReversed = ReversePattern;
inline constexpr BoolField SlopeArrowsShown = ShowDownSlope;
inline constexpr F64Field ArrowGridSpacing = DownSlopeGridSpacing;
inline constexpr BoolField FlowPathShown = ShowFlowPath;
inline constexpr BoolField FlowFromDataPoints = StartAtPoints;
inline constexpr BoolField FlowFromTriangleCentres = StartAtTriangleCentres;
inline constexpr BoolField FlowFromGridPoints = StartAtGridPoints;
inline constexpr BoolField WatershedsShown = ShowWatersheds;
inline constexpr BoolField RidgesShown = ShowRidges;
inline constexpr ColourField FlowPathColour = FlowColour;
inline constexpr LayerField FlowPathLayer = FlowLayer;
inline constexpr I32Field FlowPathWidth = FlowWidth;
}  // namespace AnalyzerOptions

// The colour dialogs' custom colours, comma-separated.
inline constexpr TextField CustomColours{7656, 255};

// Limits shared by the dialogs and by loading, so that no stored value can make the drawing
// loop without end, divide by zero or draw nothing visible.
inline constexpr double MinLength = 0.001;  // intervals, spacings, dashes, text heights
inline constexpr int MinSegments = 3;
inline constexpr int MaxSegments = 100;     // smoothing segments per curve
inline constexpr int MaxMultiple = 32767;   // multiples are kept in 16 bits

// Built-in values, acceptance checks and printout of the groups above. The CAD layer records
// inside the groups belong to the CAD layer table (device/cad_settings.h).
const SettingsTable& MapOptionsFields();
void SetMapOptionsDefaults(SettingsRecord& record);
int ValidateMapOptions(SettingsRecord& record);

}  // namespace terravue::device

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings_record.h"

namespace terravue {
class UserPort;
}
namespace terravue::model {
class SurfaceModel;
}

// The engine side of the map option dialogs: each page's values as the dialog shows them
// (numbers as text with 3 decimals, lists as indexes), read from the settings, and the rules
// that store them on OK: a field that does not parse shows its message and keeps its old value,
// a value out of range shows its range message and keeps its old value, the others are stored.
// The store functions return how many fields they refused.
namespace terravue::mapping {

// The groups, in the order of the Map Options check boxes.
enum class MapOptionPage {
  Triangles,
  Breaklines,
  SurfaceGrid,
  Contours,
  Border,
  Points,
  Miscellaneous,
  Titles,
  SurfaceAnalyzer,
};
inline constexpr int MapOptionPageCount = 9;

// "Set Triangle Options", ...
std::string_view PageCaption(MapOptionPage page);
BoolField ShowFlagOf(MapOptionPage page);
// Whether the group's Map Options check box can be used with this model.
bool GroupAvailable(MapOptionPage page, const model::SurfaceModel& model);

// Leaving a numeric field: the text filtered and normalised (reals with 3 decimals), or the
// remembered text when what was typed cannot be read.
enum class NumberKind { Real, SignedReal, Integer };
std::string CleanFieldText(std::string_view text, NumberKind kind, std::string_view remembered);

// The width list's entries "1", "2", ... "50"; the settings keep the index.
std::vector<std::string> WidthListTexts();

// The colour dialogs' custom colours, kept as comma-separated colour values.
std::vector<std::uint32_t> ParseCustomColours(std::string_view text);
std::string FormatCustomColours(const std::vector<std::uint32_t>& colours);

// Line selections (grid text, dashes; contour labels, dashes): 0 None, 1 All, 2 Multiple,
// 3 Non-multiple.
inline constexpr int LineSelectionCount = 4;
inline constexpr int DecimalsCount = 4;        // 0..3
inline constexpr int MarkerChoiceCount = 6;    // Block, Box, Cross, Plus, Diamond, None
inline constexpr int DensityModeCount = 3;     // None, Elevation, Slope

struct TrianglePage {
  std::uint32_t colour = 0;
  int width = 0;
};

struct BreaklinePage {
  std::uint32_t colour = 0;
  int width = 0;
  bool showNumbers = false;
  std::string textHeight;
  std::uint32_t textColour = 0;
};

struct BorderPage {
  std::uint32_t colour = 0;
  int width = 0;
  bool drawAtMinimumElevation = false;
  bool projectToMinimumElevation = false;
};

struct MiscPage {
  bool showLimits = false, showNorthArrow = false, showScaleBar = false;
  std::string northAngle, textHeight;
  std::uint32_t colour = 0;
};

struct SurfaceGridPage {
  std::string intervalX, intervalY, multiple;
  std::uint32_t primaryColour = 0, multipleColour = 0;
  int primaryWidth = 0, multipleWidth = 0;
  int textMode = 0;
  std::string textHeight;
  int textDecimals = 0;
  std::uint32_t textColour = 0;
  int dashMode = 0;
  std::string dashLength, spaceLength;
};

struct ContourPage {
  std::string interval, multiple;
  std::uint32_t primaryColour = 0, multipleColour = 0;
  int primaryWidth = 0, multipleWidth = 0;
  int labelMode = 0, labelDecimals = 0, labelDirection = 0;
  std::string labelFrequency, textHeight;
  std::uint32_t textColour = 0;
  int dashMode = 0;
  std::string dashLength, spaceLength;
  bool smooth = false;
  std::string segments, tension;
  bool rangeSpecified = false;
  std::string minimum, maximum, base;
};

struct PointPage {
  bool maintainScale = false;
  std::uint32_t markerColour = 0;
  int markerKind = 0;
  std::string markerHeight;
  std::uint32_t labelColour = 0;
  bool showNumber = false, showLabel = false, showElevation = false;
  bool declutter = false;
  std::string textHeight;
  std::string textAngle;  // degrees, as the angle convention shows them
  int elevationDecimals = 0;
  bool showPath = false, pathArrowHeads = false;
  int pathWidth = 0;
};

struct TitlePage {
  bool useTitleBoxes = false, showTitle = false, showScale = false, showDate = false,
       showTime = false, showFileName = false, showFileComment = false, showComment = false;
  // Latin-1, at most 80 characters each.
  std::string titleText, client1, client2, location1, location2, comment1, comment2;
  std::string titleTextHeight, miscTextHeight;
  std::uint32_t titleColour = 0, miscTextColour = 0;
};

struct AnalyzerPage {
  std::uint32_t vectorColour = 0;
  int vectorWidth = 0;
  int densityMode = 0;  // 0 None, 1 Elevation, 2 Slope
  bool reversePattern = false;
  std::uint32_t densityColour = 0;
  bool showDownSlope = false;
  std::string arrowMagnitude;
  bool proportionalArrows = false, arrowsAtTriangleCentres = false, arrowsAtGridPoints = false;
  std::string downSlopeGridSpacing;
  std::uint32_t downSlopeColour = 0;
  int downSlopeWidth = 0;
  bool showFlowPath = false, startAtPoints = false, startAtTriangleCentres = false,
       startAtGridPoints = false;
  std::string flowGridSpacing;
  bool continueFromEnds = false, showWatersheds = false;
  std::uint32_t flowColour = 0;
  int flowWidth = 0;
  std::uint32_t watershedColour = 0;
  int watershedWidth = 0;
  bool showRidges = false, continueFromRidgeEnds = false;
  std::uint32_t ridgeColour = 0;
  int ridgeWidth = 0;
  bool showCutFill = false;
};

TrianglePage LoadTrianglePage(const SettingsRecord& settings);
BreaklinePage LoadBreaklinePage(const SettingsRecord& settings);
BorderPage LoadBorderPage(const SettingsRecord& settings);
MiscPage LoadMiscPage(const SettingsRecord& settings);
SurfaceGridPage LoadSurfaceGridPage(const SettingsRecord& settings);
ContourPage LoadContourPage(const SettingsRecord& settings);
PointPage LoadPointPage(const SettingsRecord& settings);
TitlePage LoadTitlePage(const SettingsRecord& settings);
AnalyzerPage LoadAnalyzerPage(const SettingsRecord& settings);

int StoreTrianglePage(UserPort& port, SettingsRecord& settings, const TrianglePage& page);
int StoreBreaklinePage(UserPort& port, SettingsRecord& settings, const BreaklinePage& page);
int StoreBorderPage(UserPort& port, SettingsRecord& settings, const BorderPage& page);
int StoreMiscPage(UserPort& port, SettingsRecord& settings, const MiscPage& page);
int StoreSurfaceGridPage(UserPort& port, SettingsRecord& settings, const SurfaceGridPage& page);
int StoreContourPage(UserPort& port, SettingsRecord& settings, const ContourPage& page);
int StorePointPage(UserPort& port, SettingsRecord& settings, const PointPage& page);
int StoreTitlePage(UserPort& port, SettingsRecord& settings, const TitlePage& page);
// Also switches the down slope diagram off, with its message, when it has nowhere to draw.
int StoreAnalyzerPage(UserPort& port, SettingsRecord& settings, const AnalyzerPage& page);

// ---- For the drawing code -------------------------------------------------------------------

// Whether a group is switched on and holds values it can be drawn with; a group spoiled in
// memory is drawn as if it were off.
bool GroupDrawable(const SettingsRecord& settings, MapOptionPage page);

// Levels and grid lines drawn by one redraw at most; more ask for a larger interval.
inline constexpr long MaxLinesPerRedraw = 10000;
struct LineCount {
  long count = 0;     // lines to draw, at most MaxLinesPerRedraw
  bool capped = false;
};
// The lines at multiples of `interval` from `low` to `high` inclusive.
LineCount CountLines(double low, double high, double interval);
// "Only the first 10000 contour levels are drawn. ..." (or surface grid lines).
std::string TooManyLinesWarning(bool contours);

}  // namespace terravue::mapping

#pragma once

#include "common/settings_record.h"
#include "common/settings_table.h"

// Fields of the settings image that belong to the application itself: identity of the model,
// window state, recent files, preferences and the report viewer. Other sections are declared
// by the code that owns them (map options, page set-up, CAD output, 3-D view, import/export).
namespace terravue::settings {

inline constexpr TextField CompanyName{4, 78};
inline constexpr TextField CompanyLocation{83, 78};
inline constexpr U8Field ModelFileType{162};  // 2 model file, 3 sibling model file, 0 ASCII import
inline constexpr TextField ProgramDirectory{163, 255};
inline constexpr TextField ModelFileName{419, 255};
inline constexpr TextField ProposedFileName{675, 255};  // name kept aside by the two-surface volume
inline constexpr TextField ModelFileExt{931, 4};
inline constexpr BoolField ModelSaved{936};
inline constexpr U8Field MainWindowState{937};  // 0 normal, 1 minimised, 2 maximised

inline constexpr int RecentFileCount = 10;
constexpr TextField RecentFile(int i) { return {956 + static_cast<std::size_t>(i) * 256, 255}; }

// Preferences.
inline constexpr TextField DataDirectory{3516, 255};
inline constexpr U8Field Units{3772};            // 0 English, 1 Metric
inline constexpr U8Field CoordinateOrder{3773};  // 0 Northing-Easting, 1 Easting-Northing
// Whether coordinates are shown and typed Easting (X) first.
inline bool EastingFirst(const SettingsRecord& s) { return s.Get(CoordinateOrder) == 1; }
inline constexpr U8Field AngleConvention{3774};  // 0 Engineers, 1 Surveyors
inline constexpr TextField ReportFontName{3775, 80};
inline constexpr BoolField AutoLoad{3856};
inline constexpr ColourField EditorBarColour{3860};

inline constexpr int UnitCount = 2;
inline constexpr int MaxScalePresets = 10;
inline constexpr int ScalePresetRows = 8;
constexpr F64Field ScalePresetSizes(int unit, int preset, int row) {
  return {3868 + static_cast<std::size_t>((unit * MaxScalePresets + preset) * ScalePresetRows + row) * 8};
}
constexpr F64Field ScalePresetScale(int unit, int preset) {
  return {5148 + static_cast<std::size_t>(unit * MaxScalePresets + preset) * 8};
}
constexpr I32Field ScalePresetCount(int unit) { return {5308 + static_cast<std::size_t>(unit) * 4}; }

inline constexpr ColourField MapBackgroundColour{7648};
inline constexpr ColourField MapInkColour{7652};
inline constexpr std::uint32_t White = MakeColour(255, 255, 255);
inline constexpr std::uint32_t Black = MakeColour(0, 0, 0);

// Report viewer.
inline constexpr TextField ViewerFontName{11144, 80};
inline constexpr I32Field ViewerFontSize{11228};
inline constexpr BoolField ShowSplash{11232};

// Built-in values, acceptance checks and the printout of the application fields (model
// identity, window, recent files, report viewer, splash) and of the preferences (units,
// conventions, fonts, editor bar, map colours, scale presets). Validation returns how many
// fields it had to reset or clamp.
const SettingsTable& ApplicationFields();
void SetApplicationDefaults(SettingsRecord& record);
int ValidateApplication(SettingsRecord& record);

const SettingsTable& PreferencesFields();
void SetPreferencesDefaults(SettingsRecord& record);
int ValidatePreferences(SettingsRecord& record);

// The built-in scale presets of one unit: the preset's scale and its 8 sizes, by the rows of
// `ScalePresetSizes`; slots beyond the built-in count hold 1.0.
inline constexpr int BuiltInPresetCount = 5;
double BuiltInPresetScale(int unit, int preset);
double BuiltInPresetSize(int unit, int preset, int row);

}  // namespace terravue::settings

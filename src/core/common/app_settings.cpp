#include "common/app_settings.h"

#include <string>

namespace terravue::settings {
namespace {

constexpr std::string_view DefaultFontName = "Courier New";
constexpr std::uint8_t DefaultModelFileType = 2;
constexpr int EnglishUnits = 0;

// Row 3 is the point marker height and row 6 the title text height; every other row is an
// ordinary text height.
constexpr double EnglishScales[BuiltInPresetCount] = {10, 20, 50, 100, 200};
constexpr double MetricScales[BuiltInPresetCount] = {1, 10, 20, 50, 100};

std::string Indexed(std::string_view name, int i) {
  return std::string(name) + "[" + std::to_string(i) + "]";
}

std::string Indexed(std::string_view name, int i, int j) { return Indexed(Indexed(name, i), j); }

std::string Indexed(std::string_view name, int i, int j, int k) {
  return Indexed(Indexed(name, i, j), k);
}

SettingsTable BuildApplicationFields() {
  SettingsTable t = {
      TextEntry("Application.CompanyName", CompanyName),
      TextEntry("Application.CompanyLocation", CompanyLocation),
      // 0, 2 or 3: checked in ValidateApplication, the range only bounds it.
      ByteEntry("Application.ModelFileType", ModelFileType, DefaultModelFileType, 0, 3),
      TextEntry("Application.ProgramDirectory", ProgramDirectory),
      TextEntry("Application.ModelFileName", ModelFileName),
      TextEntry("Application.ProposedFileName", ProposedFileName),
      TextEntry("Application.ModelFileExt", ModelFileExt),
      BoolEntry("Application.ModelSaved", ModelSaved, true),
      ByteEntry("Application.MainWindowState", MainWindowState, 0, 0, 2),
      Int32Entry("Application.MainWindowLeft", MainWindowLeft, 0, -MaxWindowExtent, MaxWindowExtent),
      Int32Entry("Application.MainWindowTop", MainWindowTop, 0, -MaxWindowExtent, MaxWindowExtent),
      Int32Entry("Application.MainWindowWidth", MainWindowWidth, 0, 0, MaxWindowExtent),
      Int32Entry("Application.MainWindowHeight", MainWindowHeight, 0, 0, MaxWindowExtent),
  };
  for (int i = 0; i < RecentFileCount; ++i)
    t.push_back(TextEntry(Indexed("Application.RecentFiles", i), RecentFile(i)));
  t.push_back(TextEntry("Viewer.ViewerFontName", ViewerFontName, DefaultFontName));
  t.push_back(Int32Entry("Viewer.ViewerFontSize", ViewerFontSize, 10, 1, 200));
  t.push_back(BoolEntry("Application.ShowSplash", ShowSplash, true));
  return t;
}

SettingsTable BuildPreferencesFields() {
  SettingsTable t = {
      // Empty: the start-up code resolves it (ResolveDirectories).
      TextEntry("Preferences.DataDirectory", DataDirectory),
      ByteEntry("Preferences.Units", Units, 0, 0, 1),
      ByteEntry("Preferences.CoordinateOrder", CoordinateOrder, 0, 0, 1),
      ByteEntry("Preferences.AngleConvention", AngleConvention, 1, 0, 1),
      TextEntry("Preferences.ReportFontName", ReportFontName, DefaultFontName),
      BoolEntry("Preferences.AutoLoad", AutoLoad, true),
      ColourEntry("Preferences.EditorBarColour", EditorBarColour, MakeColour(191, 205, 219)),
  };
  for (int unit = 0; unit < UnitCount; ++unit)
    for (int preset = 0; preset < MaxScalePresets; ++preset)
      for (int row = 0; row < ScalePresetRows; ++row)
        t.push_back(RealEntry(Indexed("Preferences.ScalePresetSizes", unit, preset, row),
                              ScalePresetSizes(unit, preset, row),
                              BuiltInPresetSize(unit, preset, row)));
  // The preset is chosen by comparing the drawing scale with these, and sizes follow from them.
  for (int unit = 0; unit < UnitCount; ++unit)
    for (int preset = 0; preset < MaxScalePresets; ++preset)
      t.push_back(RealEntry(Indexed("Preferences.ScalePresetScale", unit, preset),
                            ScalePresetScale(unit, preset), BuiltInPresetScale(unit, preset),
                            Positive));
  for (int unit = 0; unit < UnitCount; ++unit)
    t.push_back(Int32Entry(Indexed("Preferences.ScalePresetCount", unit), ScalePresetCount(unit),
                           BuiltInPresetCount, 1, MaxScalePresets));
  t.push_back(ColourEntry("Preferences.MapBackgroundColour", MapBackgroundColour, White));
  t.push_back(ColourEntry("Preferences.MapInkColour", MapInkColour, Black));
  return t;
}

}  // namespace

double BuiltInPresetScale(int unit, int preset) {
  if (preset < 0 || preset >= BuiltInPresetCount) return 1.0;
  return unit == EnglishUnits ? EnglishScales[preset] : MetricScales[preset];
}

double BuiltInPresetSize(int unit, int preset, int row) {
  if (preset < 0 || preset >= BuiltInPresetCount) return 1.0;
  const double s = BuiltInPresetScale(unit, preset);
  const double divisor = unit == EnglishUnits ? 10 : 4;
  if (row == 3) return s / (divisor * 2);
  if (row == 6) return s / (divisor / 2);
  return s / divisor;
}

const SettingsTable& ApplicationFields() {
  static const SettingsTable table = BuildApplicationFields();
  return table;
}

void SetApplicationDefaults(SettingsRecord& record) { ApplyDefaults(ApplicationFields(), record); }

int ValidateApplication(SettingsRecord& record) {
  int changed = ValidateFields(ApplicationFields(), record);
  // 1 is no model file type: the reopen at start-up would not know how to read the file.
  if (record.Get(ModelFileType) == 1) {
    record.Set(ModelFileType, DefaultModelFileType);
    ++changed;
  }
  return changed;
}

const SettingsTable& PreferencesFields() {
  static const SettingsTable table = BuildPreferencesFields();
  return table;
}

void SetPreferencesDefaults(SettingsRecord& record) { ApplyDefaults(PreferencesFields(), record); }

int ValidatePreferences(SettingsRecord& record) { return ValidateFields(PreferencesFields(), record); }

}  // namespace terravue::settings

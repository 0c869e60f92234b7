#include "app/cursor_settings.h"

namespace terravue::app {
namespace {

SettingsTable BuildCursorFields() {
  using namespace CursorOptions;
  return {
      BoolEntry("CursorOptions.ScreenScrolling", ScreenScrolling, true),
      ByteEntry("CursorOptions.CursorSize", CursorSize, 10),
      RealEntry("CursorOptions.CursorAngle", CursorAngle, 1.570796325),
      // A zero step would never move the cursor; the border search steps along it too.
      RealEntry("CursorOptions.CursorStep", CursorStep, 50.0, Positive),
      BoolEntry("CursorOptions.ScaleStepWithZoom", ScaleStepWithZoom, false),
      BoolEntry("CursorOptions.EnhancedCursor", EnhancedCursor, false),
      ByteEntry("CursorOptions.QuickZoomLevel", QuickZoomLevel, 20, 1),
      BoolEntry("CursorOptions.ZoomMethodConstant", ZoomMethodConstant, false),
      // Zoom Out divides the level by it.
      ByteEntry("CursorOptions.ZoomFactor", ZoomFactor, 2, 1),
      BoolEntry("CursorOptions.TrackNearestPoint", TrackNearestPoint, true),
      // Added to text widths in pixels; the bound keeps that sum far from overflow.
      Int32Entry("CursorOptions.CursorLineMargin", CursorLineMargin, 50, -10000, 10000),
  };
}

}  // namespace

const SettingsTable& CursorFields() {
  static const SettingsTable table = BuildCursorFields();
  return table;
}

void SetCursorDefaults(SettingsRecord& record) { ApplyDefaults(CursorFields(), record); }

int ValidateCursorOptions(SettingsRecord& record) { return ValidateFields(CursorFields(), record); }

}  // namespace terravue::app

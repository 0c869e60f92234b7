#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/view3d_settings.h"

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

// The values and checks of the 3-D options dialog ("Set 3D Options"): its fields as text, in
// the coordinate order of the preferences, the labels that follow that order and the units,
// the movement types with their steps, and storing what OK takes. The dialog itself only shows
// these and hands them back.
namespace terravue::app {

struct View3DOptionsLabels {
  std::string firstView, secondView;      // "Northing View Point >" and "Easting View Point >", or X and Y
  std::string firstTarget, secondTarget;  // "Target Northing >" and "Target Easting >", or X and Y
};
View3DOptionsLabels View3DOptionsCaptions(const SettingsRecord& settings);

// The dialog's working copy. Coordinates are in the order of their labels: Y first in the
// Northing-Easting order, X first in the Easting-Northing order.
struct View3DOptionsFields {
  bool view3D = false;
  bool shaded = false;
  std::string firstView, secondView, zView;
  std::string firstTarget, secondTarget, zTarget;
  std::string elevationFactor, eyeFactor;
  int movementType = 0;
  // The bytes derived from the movement types chosen while the dialog is open.
  bool planar = true;
  bool axisX = true;
  // Each movement type's step as shown; types that share a step share its text.
  std::array<std::string, settings::View3DOptions::MovementCount> steps;
  bool automatic = false;
  int delayTenths = 0;  // 0..1200

  const std::string& Step() const { return steps[static_cast<std::size_t>(movementType)]; }
};

// The fields as the dialog opens: every real with 3 decimals.
View3DOptionsFields View3DOptionsFieldTexts(const SettingsRecord& settings);

// "Reset target point" (the extents' midpoint) and "Set target to cursor": the target fields
// show the point; the options change only on OK.
void ShowTarget(const SettingsRecord& settings, View3DOptionsFields& fields, double x, double y, double z);

// Choosing a movement type records its derived bytes; its step is shown from the working copy.
void ChooseMovement(View3DOptionsFields& fields, int type);
// The step of the chosen type, and of the types that share its step, takes `text`.
void SetStepText(View3DOptionsFields& fields, const std::string& text);
// "Degrees >", "Feet >" or "Meters >" by the units, or "Units >".
std::string_view StepUnitLabel(const SettingsRecord& settings, int type);
std::string_view StepRangeHint(int type);

// Leaving the step field: the cleaned number, or (after the range message when it lies outside
// the type's bounds) empty, which keeps what the field held.
std::string CleanStepText(UserPort& port, int type, std::string_view text);

// OK: stores, in order, each option whose field can be read, and shows the error box of each
// that cannot (that option keeps its value): the view switch and shading, the view point, the
// target, the elevation and eye factors (the eye factor within -50..1), then the movement type
// with its derived bytes, "Automatic", the delay and the chosen type's step.
void StoreView3DOptions(UserPort& port, SettingsRecord& settings, const View3DOptionsFields& fields);

}  // namespace terravue::app

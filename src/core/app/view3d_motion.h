#pragma once

namespace terravue {
class SettingsRecord;
namespace model {
class SurfaceModel;
}
namespace device {
struct Projection3D;
}
}  // namespace terravue

// Moving the 3-D view: one animation step of the chosen movement type, the limit checks that
// stop an animation, the single steps of the "<" and ">" keys, and the mouse's turning, nearing
// and target moves. Everything here changes the 3-D section of the settings, which the next
// redraw projects with, so that the screen, the printer and the stored settings agree.
namespace terravue::app {

// Each of the limit checks returns true when it had to intervene.
//
// The target inside the model's box, its elevation within one elevation range below and above.
bool ClampTarget3D(SettingsRecord& settings, const model::SurfaceModel& model);
// The view offsets within +-50000 horizontally and +-25000 vertically; also true (without a
// change) when the eye lies inside the box around the model.
bool CheckViewPoint3D(SettingsRecord& settings, const model::SurfaceModel& model);
// The eye factor within -50..1.
bool ClampEyeFactor3D(SettingsRecord& settings);

// One step of the stored movement type (`Step3D`). True when the animation must stop: a target
// or eye factor driven past its limit stays at the limit; a view point that the limits refuse
// puts the whole view back as it was before the step. A vertical rotation that carries the view
// over the top or under the bottom is taken, and the stored step changes sign so that the next
// steps swing back.
bool Step3D(SettingsRecord& settings, const model::SurfaceModel& model);

// The single steps of ">" (forward) and "<" (`StepForward3D`, `StepBackward3D`): one Step3D
// with every step made positive for ">" and negative for "<", except the vertical rotation,
// which ">" takes as stored and "<" reversed; the stored steps are put back afterwards. Only
// while the view is 3-D and not animated automatically; true when it stepped.
bool SingleStep3D(SettingsRecord& settings, const model::SurfaceModel& model, bool forward);

// ---- The mouse ------------------------------------------------------------------------------
// Each returns true when it moved the view; a move that would take the eye into the model's
// box or past the view point limits is refused whole.

// Turns the view point about the target: `turnDegrees` clockwise seen from above, `tiltDegrees`
// away from the vertical (negative looks more from above). The view never reaches straight
// above or below the target, where it would have no horizontal direction.
bool OrbitView3D(SettingsRecord& settings, const model::SurfaceModel& model, double turnDegrees,
                 double tiltDegrees);
// Moves the view point along its line to the target: the eye distance times `factor`.
bool ScaleViewDistance3D(SettingsRecord& settings, const model::SurfaceModel& model, double factor);
// Moves the target so that the picture follows a drag of (`dx`, `dy`) page pixels (y upwards)
// seen at the target's depth: across the line of sight and along the ground ahead. The target
// stays inside the model's box.
bool DragTarget3D(SettingsRecord& settings, const model::SurfaceModel& model,
                  const device::Projection3D& projection, double dx, double dy);

}  // namespace terravue::app

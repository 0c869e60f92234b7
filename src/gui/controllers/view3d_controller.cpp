#include "controllers/view3d_controller.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QTimer>

#include "app/view3d_motion.h"
#include "commands/command_table.h"
#include "common/view3d_settings.h"
#include "controllers/editor_controller.h"
#include "controllers/view_controller.h"
#include "dialogs/set_3d_options_form.h"
#include "mainwindow/map_area.h"
#include "mainwindow/window_context.h"
#include "model/surface_model.h"
#include "print/sheet_view.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;
namespace v3 = settings::View3DOptions;

// A screen pixel of drag turns the view this many degrees.
constexpr double DegreesPerPixel = 0.4;
// A wheel notch brings the view point this much nearer (or, turned back, farther).
constexpr double NearerPerNotch = 0.85;
constexpr int MillisecondsPerTenth = 100;

}  // namespace

View3DController::View3DController(WindowContext& context, ViewController& view, EditorController& editors,
                                   QObject* parent)
    : QObject(parent), c_(context), view_(view), editors_(editors), frames_(new QTimer(this)) {
  connect(frames_, &QTimer::timeout, this, &View3DController::Frame);
  c_.map.SetDragHandler([this](QPoint delta, Qt::KeyboardModifiers modifiers) { return Drag(delta, modifiers); });
  c_.map.SetWheelHandler([this](int notches) { return Wheel(notches); });
}

void View3DController::RegisterCommands() {
  c_.commands.SetHandler(C::View3D, [this] { View3DCommand(); });
}

bool View3DController::Animating() const { return editors_.Active().Has(app::CommandKind::Animate); }

// ---- The command and its dialog -------------------------------------------------------------

void View3DController::View3DCommand() {
  editors_.Commands().View3DCommand([this] { ShowOptions(); });
  if (Animating()) StartTimer();
}

void View3DController::ShowOptions() {
  Session& s = c_.session;
  const model::SurfaceModel& m = s.model;
  TSet3DOptionsForm form(s.port, s.settings, {m.MidX, m.MidY, m.MidZ}, {c_.cursor.x, c_.cursor.y, c_.cursor.z},
                         &c_.window);
  if (form.exec() != QDialog::Accepted) {
    view_.Redraw();
    return;
  }
  app::StoreView3DOptions(s.port, s.settings, form.Fields());
  view_.Regenerate();
}

void View3DController::Step(int direction) {
  Session& s = c_.session;
  if (s.model.PointCount == 0) return;
  if (app::SingleStep3D(s.settings, s.model, direction > 0)) view_.Regenerate();
}

// ---- The animation --------------------------------------------------------------------------

void View3DController::StartTimer() {
  // Without a delay the frames follow each other as soon as the window has handled its events;
  // a millisecond keeps the timer from spinning while a dialog holds the animation.
  const int delay = std::max<int>(0, c_.session.settings.Get(v3::AnimationDelay));
  frames_->start(std::max(1, delay * MillisecondsPerTenth));
}

void View3DController::Frame() {
  if (!Animating()) {
    frames_->stop();
    return;
  }
  // A dialog opened meanwhile (Map Options, a message) holds the animation until it closes.
  if (QApplication::activeModalWidget()) return;
  if (!editors_.Commands().AnimationFrame()) frames_->stop();
}

void View3DController::StopAnimation() {
  if (Animating()) editors_.Commands().QuitActiveCommand();
  frames_->stop();
}

// ---- The mouse ------------------------------------------------------------------------------

bool View3DController::Drag(QPoint delta, Qt::KeyboardModifiers modifiers) {
  Session& s = c_.session;
  if (!s.settings.Get(v3::View3D) || s.model.PointCount == 0 || Animating()) return false;
  bool moved = false;
  if (modifiers.testFlag(Qt::ShiftModifier)) {
    const device::DeviceFrame& frame = c_.map.Sheet().Frame();
    const device::Projection3D projection = device::Prepare3DProjection(s.settings, s.model);
    // Sheet pixels to page pixels, y upwards.
    moved = app::DragTarget3D(s.settings, s.model, projection, delta.x() / frame.scale, -delta.y() / frame.scale);
  } else {
    moved = app::OrbitView3D(s.settings, s.model, delta.x() * DegreesPerPixel, -delta.y() * DegreesPerPixel);
  }
  if (moved) RegenerateSoon();
  return true;
}

bool View3DController::Wheel(int notches) {
  Session& s = c_.session;
  if (!s.settings.Get(v3::View3D) || s.model.PointCount == 0) return false;
  if (!Animating() && app::ScaleViewDistance3D(s.settings, s.model, std::pow(NearerPerNotch, notches)))
    RegenerateSoon();
  return true;
}

void View3DController::RegenerateSoon() {
  if (regeneratePending_) return;
  regeneratePending_ = true;
  QTimer::singleShot(0, this, [this] {
    regeneratePending_ = false;
    view_.Regenerate();
  });
}

}  // namespace terravue::gui

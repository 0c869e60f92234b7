#include "controllers/point_edit_controller.h"

#include "app/cursor.h"
#include "app/point_commands.h"
#include "commands/command_table.h"
#include "controllers/view_controller.h"
#include "dialogs/point_edit/point_form.h"
#include "dialogs/point_edit/verify_form.h"
#include "mainwindow/window_context.h"
#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/point_removal.h"

namespace terravue::gui {

using C = app::CommandId;

PointEditController::PointEditController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view) {}

void PointEditController::RegisterCommands() {
  CommandTable& t = c_.commands;
  Session& s = c_.session;
  t.SetHandler(C::CoordinateAdd, [this, &s] {
    TPointForm form(s, c_.help, &c_.window);
    AfterPointCommand(app::AddPointCommand(s, c_.locate, form, c_.cursor));
  });
  t.SetHandler(C::CoordinateDelete, [this, &s] {
    TPointForm form(s, c_.help, &c_.window);
    AfterPointCommand(app::DeletePointCommand(s, c_.locate, c_.editors.undeletePoints, form, c_.cursor));
  });
  t.SetHandler(C::CoordinateEdit, [this, &s] {
    TPointForm form(s, c_.help, &c_.window);
    AfterPointCommand(app::EditPointCommand(s, c_.locate, form, c_.cursor));
  });
  t.SetHandler(C::CoordinateUndelete, [this, &s] {
    TPointForm form(s, c_.help, &c_.window);
    AfterPointCommand(app::UndeletePointCommand(s, c_.locate, c_.editors.undeletePoints, form));
  });
  t.SetHandler(C::CoordinateVerify, [this] { Verify(); });
  t.SetHandler(C::CoordinateRemove, [this] { Remove(); });
}

void PointEditController::AfterPointCommand(const tin::PointEditResult& result) {
  if (result.changed) AfterChange(result.resetScale);
}

void PointEditController::AfterChange(bool pageRefitted) {
  // The surface under the cursor changed: so did its elevation there.
  if (c_.session.model.PointCount > 0) app::MoveCursorOnSurface(c_.Cursor(), c_.cursor, c_.cursor.x, c_.cursor.y);
  // A point beyond the old extremes refitted the page: the sheet is laid out anew.
  if (pageRefitted)
    view_.SetUpScreen();
  else
    view_.Regenerate();
  c_.refresh();
}

void PointEditController::Verify() {
  if (RunVerify(&c_.window, c_.cursor.x, c_.cursor.y)) AfterChange(false);
}

void PointEditController::Remove() {
  if (RunRemove(&c_.window))
    AfterChange(false);
  else
    view_.Redraw();
}

bool PointEditController::RunVerify(QWidget* parent, double x, double y) {
  TVerifyForm form(c_.session, c_.help, parent);
  form.Run(x, y);
  return form.PointsChanged();
}

bool PointEditController::RunRemove(QWidget* parent) {
  const model::SurfaceModel& m = c_.session.model;
  const bool borderValid = tin::CheckBorder(m, 1, m.PointCount) == tin::BorderCheck::Valid;
  TRemoveForm form(borderValid, removeChoice_, parent);
  const bool ok = form.exec() == QDialog::Accepted;
  removeChoice_ = form.Choice();
  if (!ok) return false;
  // Even with nothing removed the ring may have been turned and the surface triangulated again.
  tin::RemovePointsCommand(c_.session, c_.locate, removeChoice_.interior, removeChoice_.exterior);
  return true;
}

}  // namespace terravue::gui

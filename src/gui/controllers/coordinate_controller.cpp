#include "controllers/coordinate_controller.h"

#include "app/cursor.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "controllers/view_controller.h"
#include "device/page_setup.h"
#include "dialogs/coordinates/auto_process_form.h"
#include "dialogs/coordinates/print_pts_form.h"
#include "dialogs/coordinates/search_form.h"
#include "dialogs/coordinates/transform_forms.h"
#include "editors/text_editor/text_editor_form.h"
#include "exchange/auto_process.h"
#include "exchange/listings.h"
#include "exchange/point_table.h"
#include "mainwindow/window_context.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/breaklines.h"

namespace terravue::gui {

using C = app::CommandId;

CoordinateController::CoordinateController(WindowContext& context, ViewController& view, QObject* parent)
    : QObject(parent), c_(context), view_(view) {}

void CoordinateController::RegisterCommands() {
  CommandTable& t = c_.commands;
  t.SetHandler(C::CoordinateTextEditor, [this] { TextEditor(); });
  t.SetHandler(C::CoordinateSearch, [this] {
    const app::CursorState& at = c_.cursor;
    if (const std::optional<PointIndex> p = Search(&c_.window, at.x, at.y, at.z)) {
      const model::SurfaceModel& m = c_.session.model;
      view_.MoveCursor(m.PointX[*p], m.PointY[*p], m.PointZ[*p]);
    }
  });
  t.SetHandler(C::CoordinatePrint, [this] { PrintPoints(&c_.window); });
  const auto transform = [this](exchange::TransformKind kind) {
    return [this, kind] {
      if (Transform(&c_.window, kind)) AfterTransform();
    };
  };
  t.SetHandler(C::CoordinateFactor, transform(exchange::TransformKind::Factor));
  t.SetHandler(C::CoordinateTranslate, transform(exchange::TransformKind::Translate));
  t.SetHandler(C::CoordinateRotate, transform(exchange::TransformKind::Rotate));
  t.SetHandler(C::BorderNewSeries, [this] { BorderSeries(); });
  t.SetHandler(C::BorderPrint, [this] { exchange::ListBorder(c_.session); });
  t.SetHandler(C::BreaklineAddSeries, [this] { BreaklineSeries(); });
  t.SetHandler(C::BreaklinePrint, [this] { PrintBreaklines(); });
  t.SetHandler(C::AutoProcess, [this] { AutoProcess(); });
}

bool CoordinateController::Transform(QWidget* over, exchange::TransformKind kind) {
  Session& s = c_.session;
  const bool eastingFirst = settings::EastingFirst(s.settings);
  exchange::Transform values;
  if (kind == exchange::TransformKind::Rotate) {
    double x = 0, y = 0;
    exchange::MeanPosition(s.model, x, y);
    TRotateForm form(x, y, eastingFirst, s.port, {}, over);
    if (form.exec() != QDialog::Accepted) return false;
    values = form.Values();
    values.surveyorsAngles = s.settings.Get(settings::AngleConvention) == 1;
  } else {
    TFactorForm form(kind, eastingFirst, s.port, {}, over);
    if (form.exec() != QDialog::Accepted) return false;
    values = form.Values();
  }
  return exchange::ApplyTransform(s, c_.locate, values);
}

void CoordinateController::AfterTransform() {
  // The points moved as a whole: the page is fitted to them again.
  device::FitModel(c_.session.settings, c_.session.model, true);
  view_.ModelLoaded();
  if (c_.refresh) c_.refresh();
}

void CoordinateController::PrintPoints(QWidget* over) {
  Session& s = c_.session;
  if (const auto range = AskRange(over, s.port, exchange::RangeUse::PointListing, s.model))
    exchange::ListPoints(s, static_cast<PointIndex>(range->first), static_cast<PointIndex>(range->second));
}

void CoordinateController::PrintBreaklines() {
  Session& s = c_.session;
  if (s.model.BreaklineCount == 0) {
    s.port.ShowInfo(msg::NoBreaklinesDefined);
    return;
  }
  if (const auto range = AskRange(&c_.window, s.port, exchange::RangeUse::BreaklineListing, s.model))
    exchange::ListBreaklines(s, static_cast<BreaklineIndex>(range->first), static_cast<BreaklineIndex>(range->second));
}

void CoordinateController::BorderSeries() {
  Session& s = c_.session;
  const auto range = AskRange(&c_.window, s.port, exchange::RangeUse::BorderSeries, s.model);
  if (!range) return;
  tin::NewBorderSeries(s, c_.editors.borderErrors, static_cast<PointIndex>(range->first),
                       static_cast<PointIndex>(range->second));
  if (c_.refresh) c_.refresh();
  view_.Regenerate();
}

void CoordinateController::BreaklineSeries() {
  Session& s = c_.session;
  const auto range = AskRange(&c_.window, s.port, exchange::RangeUse::BreaklineSeries, s.model);
  if (!range) return;
  tin::AddBreaklineSeries(s, c_.editors.breaklineEditor, static_cast<PointIndex>(range->first),
                          static_cast<PointIndex>(range->second));
  if (c_.refresh) c_.refresh();
  view_.Regenerate();
}

std::optional<PointIndex> CoordinateController::Search(QWidget* over, double x, double y, double z) {
  Session& s = c_.session;
  if (!searchForm_) searchForm_ = new TSearchForm(s.model, s.port, c_.help, &c_.window);
  // Shown over the window that asked (the text editor or the main window), kept by the main one.
  const Qt::WindowFlags flags = searchForm_->windowFlags();
  searchForm_->setParent(over, flags);
  const std::optional<PointIndex> found =
      searchForm_->Run(settings::EastingFirst(s.settings), x, y, z);
  searchForm_->setParent(&c_.window, flags);
  return found;
}

void CoordinateController::TextEditor() {
  Session& s = c_.session;
  exchange::PointTableEditor editor(s);
  const PointIndex start = editor.Open(c_.cursor.x, c_.cursor.y);
  TextEditorHooks hooks;
  hooks.print = [this](QWidget* over) { PrintPoints(over); };
  hooks.transform = [this](QWidget* over, exchange::TransformKind kind) { return Transform(over, kind); };
  if (verifyPoints)
    hooks.verify = [this, &s](QWidget* over, PointIndex at) {
      return verifyPoints(over, s.model.PointX[at], s.model.PointY[at]);
    };
  hooks.remove = removePoints;
  hooks.search = [this, &s](QWidget* over, PointIndex from) {
    return Search(over, s.model.PointX[from], s.model.PointY[from], s.model.PointZ[from]);
  };
  PointIndex last = start;
  {
    TTextEditorForm form(editor, hooks, &c_.window);
    form.SetActivePoint(start);
    form.exec();
    last = form.ActivePoint();
  }
  const exchange::EditorCloseResult closed = editor.Close(last);
  if (closed.refit) device::FitModel(s.settings, s.model, true);
  if (closed.refit || !closed.pointsRemain) view_.ModelLoaded();
  if (closed.pointsRemain)
    app::MoveCursorOnSurface(c_.Cursor(), c_.cursor, s.model.PointX[closed.cursorPoint],
                             s.model.PointY[closed.cursorPoint]);
  view_.Regenerate();
  if (c_.refresh) c_.refresh();
}

void CoordinateController::AutoProcess() {
  Session& s = c_.session;
  if (!model::ConfirmDiscard(s, false)) return;
  const bool append = s.model.PointCount > 0 && s.port.AskYesNo(msg::AddToCurrentFile);
  TAutoProcessForm form(s, append, importDialog, {}, &c_.window);
  if (form.exec() != QDialog::Accepted) return;
  exchange::AutoProcess(s, c_.locate, form.Run());
  // Whatever the run reached is shown, also after a stop.
  if (onModelLoaded) onModelLoaded();
  view_.Regenerate();
}

}  // namespace terravue::gui

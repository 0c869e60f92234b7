#include "controllers/view_controller.h"

#include <cmath>

#include <QComboBox>
#include <QPainter>
#include <QTimer>

#include "app/qt_text.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "app/status_lines.h"
#include "dialogs/cursor_options_form.h"
#include "dialogs/jump_to_point_form.h"
#include "dialogs/query_point_form.h"
#include "dialogs/zoom_options_form.h"
#include "mainwindow/key_router.h"
#include "mainwindow/map_area.h"
#include "mainwindow/status_panel.h"
#include "mainwindow/window_context.h"
#include "mapping/map_redraw.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/page_setup.h"
#include "render/map_fonts.h"
#include "print/screen_device.h"
#include "print/sheet_printer.h"
#include "print/sheet_view.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;
namespace opt = app::CursorOptions;

double Round3(double v) { return std::round(v * 1000) / 1000; }

}  // namespace

ViewController::ViewController(WindowContext& context, QObject* parent)
    : QObject(parent), c_(context), zoomList_(new QComboBox), resizeTimer_(new QTimer(this)) {
  zoomList_->setObjectName(QStringLiteral("ZoomList"));
  zoomList_->setToolTip(QStringLiteral("Set zoom level"));
  zoomList_->setStatusTip(QStringLiteral("Set zoom level"));
  zoomList_->setFocusPolicy(Qt::NoFocus);
  zoomList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(zoomList_, &QComboBox::activated, this, [this](int index) { ZoomTo(index + 1); });

  // A window being dragged to a new size is laid out once it rests.
  resizeTimer_->setSingleShot(true);
  resizeTimer_->setInterval(120);
  connect(resizeTimer_, &QTimer::timeout, this, &ViewController::SetUpScreen);
  connect(&c_.map, &MapArea::ClientAreaChanged, this, [this] {
    // The first size is taken at once: the window is being shown.
    if (c_.map.Sheet().Geometry()) resizeTimer_->start();
    else SetUpScreen();
  });

  connect(&c_.map, &MapArea::PointerOverSheet, this, &ViewController::PointerOverSheet);
  connect(&c_.map, &MapArea::PointerOverEmpty, this, &ViewController::PointerOverEmpty);
  connect(&c_.map, &MapArea::LeftReleased, this, &ViewController::LeftReleased);
  c_.map.AddMarkPainter([this](QPainter& p) { PaintCursor(p); });
}

void ViewController::RegisterCommands() {
  CommandTable& t = c_.commands;
  t.SetHandler(C::Redraw, [this] { Redraw(); });
  t.SetHandler(C::Regenerate, [this] { Regenerate(); });
  t.SetHandler(C::ZoomIn, [this] {
    const int before = c_.zoom.level;
    app::ZoomIn(c_.zoom, c_.session.settings);
    ApplyZoom(before);
  });
  t.SetHandler(C::ZoomOut, [this] {
    const int before = c_.zoom.level;
    app::ZoomOut(c_.zoom, c_.session.settings);
    ApplyZoom(before);
  });
  t.SetHandler(C::QuickZoom, [this] {
    const int before = c_.zoom.level;
    app::QuickZoom(c_.zoom, c_.session.settings);
    ApplyZoom(before);
  });
  t.SetHandler(C::QuickUnzoom, [this] {
    const int before = c_.zoom.level;
    app::QuickUnzoom(c_.zoom);
    ApplyZoom(before);
  });
  t.SetHandler(C::CentreOnCursor, [this] { CentreOnCursor(); });
  t.SetHandler(C::JumpToPoint, [this] { JumpToPoint(); });
  t.SetHandler(C::QueryPoint, [this] { QueryPoint(); });
  t.SetHandler(C::CursorOptions, [this] { CursorOptions(); });
  t.SetHandler(C::ZoomOptions, [this] { ZoomOptions(); });
  t.SetHandler(C::TrackNearestPoint, [this] { ToggleTrackNearestPoint(); });
}

// ---- The sheet and the map ------------------------------------------------------------------

void ViewController::SetUpScreen() {
  SheetView& sheet = c_.map.Sheet();
  if (!sheet.SetUp(c_.session.settings, c_.map.ClientArea(), c_.zoom.level)) return;
  app::SetHighestZoom(c_.zoom, sheet.Geometry()->maxZoom);
  if (sheet.Geometry()->zoom != c_.zoom.level) sheet.SetUp(c_.session.settings, c_.map.ClientArea(), c_.zoom.level);
  FillZoomList();
  Regenerate();
}

void ViewController::Regenerate() {
  Session& s = c_.session;
  SheetView& sheet = c_.map.Sheet();
  transform_ = device::CurrentViewTransform(s.settings, s.model);
  // In the 3-D view a drag over the sheet turns the view, which the pointer shows.
  sheet.setCursor(transform_.IsPerspective() ? Qt::OpenHandCursor : Qt::ArrowCursor);
  if (!sheet.Geometry()) return;
  sheet.SetBackground(render::MapColour(s.settings.Get(settings::MapBackgroundColour)).rgb());
  mapping::RedrawOptions options = c_.MapExtras();
  if (editorMarks) editorMarks(options.borderEditorOpen, options.breaklineEditorOpen);
  {
    const std::unique_ptr<ScreenDevice> device = sheet.StartMap(transform_);
    mapping::RedrawMap(s, *device, c_.locate, options);
  }
  sheet.update();
  c_.map.UpdateMarks();
  RefreshCursorLine();
}

void ViewController::Redraw() {
  c_.map.Sheet().update();
  c_.map.UpdateMarks();
}

void ViewController::ModelLoaded() {
  Session& s = c_.session;
  ResetZoom();
  if (s.model.PointCount > 0) {
    const app::CursorContext cursor = c_.Cursor();
    app::MoveCursorOnSurface(cursor, c_.cursor, s.model.MidX, s.model.MidY);
  } else {
    c_.cursor = {};
  }
  SetUpScreen();
  c_.map.ScrollTo({0, 0});
}

QPointF ViewController::ToSheet(double x, double y, double z) const {
  const device::PixelPoint page = transform_.ToPage(x, y, z);
  const device::PixelPoint device = device::PageToDevice(c_.map.Sheet().Frame(), page);
  return {device.x, device.y};
}

device::WorldPoint ViewController::ToWorld(QPoint sheetPixel) const {
  return device::ScreenToWorldXY(transform_, c_.map.Sheet().Frame(), sheetPixel.x(), sheetPixel.y());
}

// ---- Zoom -----------------------------------------------------------------------------------

void ViewController::FillZoomList() {
  const QSignalBlocker block(zoomList_);
  if (zoomList_->count() != c_.zoom.highest) {
    zoomList_->clear();
    for (int level = 1; level <= c_.zoom.highest; ++level) zoomList_->addItem(QString::number(level));
  }
  zoomList_->setCurrentIndex(c_.zoom.level - 1);
}

void ViewController::ZoomTo(int level) {
  const int before = c_.zoom.level;
  app::ZoomTo(c_.zoom, level);
  ApplyZoom(before);
}

void ViewController::ResetZoom() {
  c_.zoom.level = 1;
  c_.zoom.previous = 1;
}

void ViewController::ApplyZoom(int before) {
  SheetView& sheet = c_.map.Sheet();
  if (c_.zoom.level == before || !sheet.Geometry()) {
    FillZoomList();
    return;
  }
  // The sheet point under the pointer (or the middle of the view) stays where it is.
  const device::ScreenGeometry old = *sheet.Geometry();
  const std::optional<QPoint> pointer = c_.map.LastPointer();
  const QPoint anchor = pointer.value_or(c_.map.VisibleCentre());
  const QPoint inViewport = anchor + c_.map.SheetOffset();
  if (!sheet.SetUp(c_.session.settings, c_.map.ClientArea(), c_.zoom.level)) return;
  const device::IntPoint scroll =
      device::ScrollToKeepPoint(old, *sheet.Geometry(), {anchor.x(), anchor.y()}, {inViewport.x(), inViewport.y()});
  FillZoomList();
  Regenerate();
  c_.map.ScrollTo({scroll.x, scroll.y});
  // The pointer has not moved: it now stands over the new sheet's pixel of the same point, and
  // a second zoom must keep that one.
  if (pointer) c_.map.SetLastPointer(inViewport - c_.map.SheetOffset());
  c_.refresh();
}

// ---- The cursor -----------------------------------------------------------------------------

void ViewController::RefreshCursorLine() {
  const QString text = FromUtf8(app::CursorLineText(c_.Cursor(), c_.cursor));
  c_.status.SetCursorText(text, c_.session.settings.Get(opt::CursorLineMargin));
}

void ViewController::MoveCursor(double x, double y, double z) {
  app::MoveCursorTo(c_.cursor, x, y, z);
  c_.map.UpdateMarks();
  RefreshCursorLine();
}

void ViewController::PaintCursor(QPainter& painter) const {
  const Session& s = c_.session;
  if (s.model.PointCount == 0 || !c_.map.Sheet().Geometry()) return;
  const QPointF at = ToSheet(Round3(c_.cursor.x), Round3(c_.cursor.y), Round3(c_.cursor.z));
  if (!std::isfinite(at.x()) || !std::isfinite(at.y())) return;
  const bool enhanced = s.settings.Get(opt::EnhancedCursor);
  const double reach = std::max(0, int{s.settings.Get(opt::CursorSize)} - (enhanced ? 1 : 0));
  // The strokes turn with a rotated page; screen y runs downwards.
  const double angle = s.settings.Get(opt::CursorAngle) + transform_.RotationRadians();
  const QPointF along(std::cos(angle) * reach, -std::sin(angle) * reach);
  const QPointF across(-along.y(), along.x());
  QPen pen(render::MapColour(s.settings.Get(settings::MapInkColour)), enhanced ? 3 : 1);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  painter.drawLine(at - along, at + along);
  painter.drawLine(at - across, at + across);
}

void ViewController::StepCursor(app::StepKey key, bool shift) {
  if (c_.session.model.PointCount == 0) return;
  const auto step = app::StepCursor(c_.Cursor(), c_.cursor, key, shift, c_.zoom.level);
  if (!step) return;
  const QPointF at = ToSheet(step->x, step->y, step->z);
  const bool visible = c_.map.VisibleSheetRect().contains(at.toPoint());
  if (!visible && !c_.session.settings.Get(opt::ScreenScrolling)) return;
  MoveCursor(step->x, step->y, step->z);
  if (!visible) CentreOnCursor();
}

void ViewController::CentreOnCursor() {
  if (c_.zoom.level <= 1) {
    c_.map.ScrollTo({0, 0});
    return;
  }
  const QPointF at = ToSheet(c_.cursor.x, c_.cursor.y, c_.cursor.z);
  if (!std::isfinite(at.x()) || !std::isfinite(at.y())) return;  // behind the eye of the 3-D view
  const QSize view = c_.map.viewport()->size();
  // The scroll bars hold the position inside their ranges.
  c_.map.ScrollTo({static_cast<int>(at.x()) - view.width() / 2, static_cast<int>(at.y()) - view.height() / 2});
}

// ---- The mouse ------------------------------------------------------------------------------

void ViewController::PointerOverSheet(QPoint sheetPixel) {
  const device::WorldPoint w = ToWorld(sheetPixel);
  c_.status.SetMouseText(FromUtf8(app::MouseLineText(c_.Cursor(), w.x, w.y)));
}

void ViewController::PointerOverEmpty() {
  c_.status.SetMouseText(FromUtf8(app::PrinterLineText(c_.Cursor(), c_.printer.Name().toStdString())));
}

void ViewController::LeftReleased(QPoint sheetPixel, Qt::KeyboardModifiers modifiers) {
  if (c_.session.model.PointCount == 0) return;
  const device::WorldPoint w = ToWorld(sheetPixel);
  const app::CursorContext cursor = c_.Cursor();
  app::MoveCursorOnSurface(cursor, c_.cursor, w.x, w.y);
  c_.map.UpdateMarks();
  RefreshCursorLine();
  if (onMapClick) onMapClick(c_.cursor.x, c_.cursor.y, IsShiftClick(modifiers));
}

// ---- The cursor's commands ------------------------------------------------------------------

void ViewController::JumpToPoint() {
  const app::CursorContext cursor = c_.Cursor();
  const bool moved = app::JumpToPoint(cursor, c_.cursor, [this](PointIndex current) -> std::optional<app::JumpRequest> {
    TJumpToPointForm form(c_.session.model.PointCount, current, &c_.window);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.Request();
  });
  if (!moved) return;
  c_.map.UpdateMarks();
  RefreshCursorLine();
}

void ViewController::QueryPoint() {
  const PointIndex q = tin::NearestPoint(c_.session.model, c_.cursor.x, c_.cursor.y);
  if (q == NoPoint) return;
  if (onQueryFlag) onQueryFlag(true);
  TQueryPointForm form(c_.session.model, c_.session.settings, q, &c_.window);
  const bool ok = form.exec() == QDialog::Accepted;
  if (onQueryFlag) onQueryFlag(false);
  if (!ok || !form.MoveCursorToPoint()) return;
  const PointIndex p = form.Point();
  const model::SurfaceModel& m = c_.session.model;
  MoveCursor(m.PointX[p], m.PointY[p], m.PointZ[p]);
}

void ViewController::CursorOptions() {
  SettingsRecord& s = c_.session.settings;
  TCursorOptionsForm form(s, app::CursorOptionsFieldTexts(s, c_.cursor), &c_.window);
  if (form.exec() != QDialog::Accepted) return;
  if (app::StoreCursorOptions(c_.Cursor(), s, c_.cursor, form.Fields())) c_.map.UpdateMarks();
  RefreshCursorLine();
  Redraw();
}

void ViewController::ZoomOptions() {
  SettingsRecord& s = c_.session.settings;
  TZoomOptionsForm form(app::ZoomOptionsFieldTexts(s), c_.zoom.highest, &c_.window);
  if (form.exec() != QDialog::Accepted) return;
  app::StoreZoomOptions(c_.session.port, s, form.Fields(), c_.zoom.highest);
  Redraw();
}

void ViewController::ToggleTrackNearestPoint() {
  SettingsRecord& s = c_.session.settings;
  s.Set(opt::TrackNearestPoint, !s.Get(opt::TrackNearestPoint));
  RefreshCursorLine();
}

}  // namespace terravue::gui

#pragma once

#include <functional>

#include <QObject>
#include <QPointF>

#include "app/cursor.h"
#include "device/drawing_device.h"

class QComboBox;
class QPainter;
class QTimer;

namespace terravue::gui {

struct WindowContext;

// The map on the screen and everything that moves over it: laying the sheet out, Regenerate and
// Redraw, the zoom commands and the zoom list, the cross-hair cursor (drawing, keyboard steps,
// Jump To Point, Query Point, Cursor Options, centring), the mouse and cursor status lines and
// Track Nearest Point.
class ViewController : public QObject {
  Q_OBJECT

 public:
  ViewController(WindowContext& context, QObject* parent = nullptr);

  void RegisterCommands();
  // The tool bar's zoom level list, made here and placed by the window.
  QComboBox* ZoomList() const { return zoomList_; }

  // After a model was opened or imported and its page fitted: zoom level 1, the cursor in the
  // middle of the data, and the map drawn afresh.
  void ModelLoaded();
  // Lays the sheet out for the window's size and zoom, then draws the map.
  void SetUpScreen();
  // Recomputes the whole map; Redraw only repaints what was drawn.
  void Regenerate();
  void Redraw();

  void RefreshCursorLine();
  void MoveCursor(double x, double y, double z);
  void StepCursor(app::StepKey key, bool shift);
  void CentreOnCursor();
  void ZoomTo(int level);
  void ResetZoom();

  // World to sheet pixels and back, by the transform the map was drawn with.
  QPointF ToSheet(double x, double y, double z) const;
  device::WorldPoint ToWorld(QPoint sheetPixel) const;
  double MapRotation() const { return transform_.RotationRadians(); }

  // A map click once the cursor stands on it: (x, y, shift).
  std::function<void(double, double, bool)> onMapClick;
  // Query Point's dialog is open (true) or closed again: the query flag of the active commands.
  std::function<void(bool)> onQueryFlag;
  // Whether the map leaves out the border or breaklines (their editor shows them itself).
  std::function<void(bool& border, bool& breaklines)> editorMarks;

 private:
  void PointerOverSheet(QPoint sheetPixel);
  void PointerOverEmpty();
  void LeftReleased(QPoint sheetPixel, Qt::KeyboardModifiers modifiers);
  void PaintCursor(QPainter& painter) const;
  void ApplyZoom(int before);
  void FillZoomList();

  void JumpToPoint();
  void QueryPoint();
  void CursorOptions();
  void ZoomOptions();
  void ToggleTrackNearestPoint();

  WindowContext& c_;
  device::ViewTransform transform_;
  QComboBox* zoomList_;
  QTimer* resizeTimer_;
};

}  // namespace terravue::gui

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QPoint>
#include <QScrollArea>
#include <QTimer>

class QKeyEvent;
class QPainter;

namespace terravue::gui {

class SheetView;

// The map area: the sheet in a scrolling area, with a transparent layer over the sheet for the
// cross-hair cursor and the work marks of the editors and active commands. It reports the
// pointer in sheet pixels and hands keys to the window before the scroll area can take them.
// The sheet is dragged along with the middle button, or with the left one while Space is held;
// Ctrl with the wheel asks for a zoom at the pointer.
class MapArea : public QScrollArea {
  Q_OBJECT

 public:
  explicit MapArea(QWidget* parent = nullptr);

  SheetView& Sheet() { return *sheet_; }
  // The client area the sheet is fitted to at zoom 1 (without scroll bars).
  QSize ClientArea() const;

  // Drawn over the sheet on every repaint, in sheet pixels, in the order added.
  using MarkPainter = std::function<void(QPainter&)>;
  void AddMarkPainter(MarkPainter painter) { painters_.push_back(std::move(painter)); }
  void UpdateMarks();

  // Keys reach this first; true when it took the key.
  void SetKeyHandler(std::function<bool(QKeyEvent*)> handler) { keyHandler_ = std::move(handler); }
  // A drag with the left button over the sheet: the handler gets each move (in sheet pixels,
  // with the modifiers) once the pointer has left the press position, and says whether it
  // takes drags at all; a drag it took does not end in a click.
  using DragHandler = std::function<bool(QPoint delta, Qt::KeyboardModifiers modifiers)>;
  void SetDragHandler(DragHandler handler) { dragHandler_ = std::move(handler); }
  // Wheel notches over the map (positive away from the user); true when the handler took them,
  // otherwise they scroll.
  void SetWheelHandler(std::function<bool(int notches)> handler) { wheelHandler_ = std::move(handler); }

  // The sheet pixel under the middle of the visible part, and the scrolling that shows a sheet
  // pixel at a viewport position.
  QPoint VisibleCentre() const;
  QRect VisibleSheetRect() const;
  void ScrollTo(QPoint scroll);
  QPoint ScrollPosition() const;
  // Where the sheet's origin lies in the viewport (the sheet is centred while it is smaller).
  QPoint SheetOffset() const;
  // The last pointer position over the sheet, if any.
  std::optional<QPoint> LastPointer() const { return lastPointer_; }
  // After the sheet was laid out anew the pointer, still where it was, lies over another pixel.
  void SetLastPointer(QPoint sheetPixel) { lastPointer_ = sheetPixel; }
  bool Panning() const { return panning_; }
  // How long a release of Space waits for the press that would make it the key's repeat.
  static constexpr int SpaceReleaseDelayMs = 50;

 signals:
  void PointerOverSheet(QPoint sheetPixel);
  void PointerOverEmpty();
  void LeftReleased(QPoint sheetPixel, Qt::KeyboardModifiers modifiers);
  void ContextMenuWanted(QPoint globalPos);
  void ClientAreaChanged();
  // Ctrl with the wheel: steps in (positive) or out, at the pointer (already the last pointer).
  void ZoomWheel(int steps);
  // Space pressed and released without dragging the sheet.
  void SpaceTapped();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Marks;

  bool KeyEvent(QKeyEvent* event);
  void StartPan(QPoint globalPos);
  void SetPanCursor();
  void EndSpaceHold();

  SheetView* sheet_;
  Marks* marks_;
  std::vector<MarkPainter> painters_;
  std::function<bool(QKeyEvent*)> keyHandler_;
  DragHandler dragHandler_;
  std::function<bool(int)> wheelHandler_;
  std::optional<QPoint> lastPointer_;
  std::optional<QPoint> pressedAt_;  // the left button is down over the sheet
  bool dragging_ = false;
  bool spaceHeld_ = false;
  bool spaceDragged_ = false;
  bool panning_ = false;
  QTimer spaceRelease_;            // runs from a release of Space until it counts
  std::uint64_t spaceReleasedAt_ = 0;  // that release's time stamp
  QPoint panFrom_;         // global pointer position where the drag started
  QPoint panScrollFrom_;   // the scroll position then
  int wheelRest_ = 0;      // eighths of a degree not yet turned into a zoom step
};

}  // namespace terravue::gui

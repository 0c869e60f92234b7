#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QPoint>
#include <QScrollArea>

class QKeyEvent;
class QPainter;

namespace terravue::gui {

class SheetView;

// The map area: the sheet in a scrolling area, with a transparent layer over the sheet for the
// cross-hair cursor and the work marks of the editors and active commands. It reports the
// pointer in sheet pixels and hands keys to the window before the scroll area can take them.
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

 signals:
  void PointerOverSheet(QPoint sheetPixel);
  void PointerOverEmpty();
  void LeftReleased(QPoint sheetPixel, Qt::KeyboardModifiers modifiers);
  void ContextMenuWanted(QPoint globalPos);
  void ClientAreaChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Marks;

  SheetView* sheet_;
  Marks* marks_;
  std::vector<MarkPainter> painters_;
  std::function<bool(QKeyEvent*)> keyHandler_;
  DragHandler dragHandler_;
  std::function<bool(int)> wheelHandler_;
  std::optional<QPoint> lastPointer_;
  std::optional<QPoint> pressedAt_;  // the left button is down over the sheet
  bool dragging_ = false;
};

}  // namespace terravue::gui

#include "mainwindow/map_area.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "print/sheet_view.h"

namespace terravue::gui {

// The transparent layer over the sheet.
class MapArea::Marks : public QWidget {
 public:
  Marks(MapArea& area, QWidget* sheet) : QWidget(sheet), area_(area) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (const MarkPainter& paint : area_.painters_) {
      painter.save();
      paint(painter);
      painter.restore();
    }
  }

 private:
  MapArea& area_;
};

MapArea::MapArea(QWidget* parent) : QScrollArea(parent), sheet_(new SheetView) {
  setWidget(sheet_);
  setAlignment(Qt::AlignCenter);
  setBackgroundRole(QPalette::Dark);
  setFocusPolicy(Qt::StrongFocus);
  marks_ = new Marks(*this, sheet_);
  marks_->resize(sheet_->size());
  sheet_->setMouseTracking(true);
  viewport()->setMouseTracking(true);
  sheet_->installEventFilter(this);
  viewport()->installEventFilter(this);
  installEventFilter(this);
  spaceRelease_.setSingleShot(true);
  spaceRelease_.setInterval(SpaceReleaseDelayMs);
  connect(&spaceRelease_, &QTimer::timeout, this, &MapArea::EndSpaceHold);
}

QSize MapArea::ClientArea() const { return maximumViewportSize(); }

void MapArea::UpdateMarks() { marks_->update(); }

QPoint MapArea::SheetOffset() const { return sheet_->pos(); }

QPoint MapArea::ScrollPosition() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

void MapArea::ScrollTo(QPoint scroll) {
  horizontalScrollBar()->setValue(scroll.x());
  verticalScrollBar()->setValue(scroll.y());
}

QRect MapArea::VisibleSheetRect() const {
  return QRect(-sheet_->pos(), viewport()->size()) & sheet_->rect();
}

QPoint MapArea::VisibleCentre() const { return VisibleSheetRect().center(); }

void MapArea::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  emit ClientAreaChanged();
}

void MapArea::SetPanCursor() {
  // The sheet takes the viewport's cursor.
  if (panning_)
    viewport()->setCursor(Qt::ClosedHandCursor);
  else if (spaceHeld_)
    viewport()->setCursor(Qt::OpenHandCursor);
  else
    viewport()->unsetCursor();
}

void MapArea::StartPan(QPoint globalPos) {
  panning_ = true;
  panFrom_ = globalPos;
  panScrollFrom_ = ScrollPosition();
  SetPanCursor();
}

void MapArea::EndSpaceHold() {
  spaceRelease_.stop();
  spaceHeld_ = false;
  panning_ = false;
  SetPanCursor();
  if (!spaceDragged_) emit SpaceTapped();
}

// Space is the sheet's hand while held; a tap without a drag is the centring key. Some X
// servers repeat a held key as a release and a press at the same moment, which Qt does not
// always mark as a repeat: a release counts only when no press of the same moment follows it.
bool MapArea::KeyEvent(QKeyEvent* event) {
  const bool plainSpace = event->key() == Qt::Key_Space && (event->modifiers() & ~Qt::KeypadModifier) == 0;
  if (event->type() == QEvent::KeyPress) {
    if (plainSpace) {
      if (spaceRelease_.isActive()) {
        if (event->timestamp() == spaceReleasedAt_) {
          spaceRelease_.stop();  // the key's repeat: still held
          return true;
        }
        EndSpaceHold();  // a new press soon after a real release
      }
      if (!event->isAutoRepeat() && !spaceHeld_) {
        spaceHeld_ = true;
        spaceDragged_ = false;
        SetPanCursor();
      }
      return true;
    }
    // Before the scroll area turns arrows and page keys into scrolling.
    return keyHandler_ && keyHandler_(event);
  }
  if (plainSpace && !event->isAutoRepeat() && spaceHeld_) {
    spaceReleasedAt_ = event->timestamp();
    spaceRelease_.start();
    return true;
  }
  return false;
}

bool MapArea::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == sheet_) marks_->resize(sheet_->size());
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (watched == this && KeyEvent(static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::FocusOut:
      // A held Space never comes back up once the focus has gone.
      if (watched == this && spaceHeld_) {
        spaceRelease_.stop();
        spaceHeld_ = panning_ = false;
        SetPanCursor();
      }
      break;
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if ((watched == sheet_ || watched == viewport()) &&
          (e->button() == Qt::MiddleButton || (e->button() == Qt::LeftButton && spaceHeld_))) {
        setFocus();
        StartPan(e->globalPosition().toPoint());
        return true;
      }
      if (watched == sheet_ && e->button() == Qt::LeftButton) {
        pressedAt_ = e->position().toPoint();
        dragging_ = false;
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (panning_ && (watched == sheet_ || watched == viewport())) {
        // The sheet follows the hand; the scroll bars hold it inside their ranges.
        const QPoint moved = e->globalPosition().toPoint() - panFrom_;
        if (spaceHeld_ && moved.manhattanLength() > 0) spaceDragged_ = true;
        ScrollTo(panScrollFrom_ - moved);
        return true;
      }
      if (watched == sheet_) {
        const QPoint at = e->position().toPoint();
        if (pressedAt_ && (e->buttons() & Qt::LeftButton) && dragHandler_) {
          const QPoint from = dragging_ ? lastPointer_.value_or(*pressedAt_) : *pressedAt_;
          if (dragging_ || (at - *pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            if (dragHandler_(at - from, e->modifiers())) {
              dragging_ = true;
            } else {
              pressedAt_.reset();
            }
          }
        }
        lastPointer_ = at;
        emit PointerOverSheet(*lastPointer_);
        // Taken here: passed on, the move would reach the viewport as one over the empty part.
        return true;
      }
      if (watched == viewport()) {
        emit PointerOverEmpty();
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (panning_ && (watched == sheet_ || watched == viewport()) &&
          (e->button() == Qt::MiddleButton || e->button() == Qt::LeftButton)) {
        panning_ = false;
        SetPanCursor();
        return true;
      }
      if (watched == sheet_ && e->button() == Qt::LeftButton) {
        setFocus();
        const bool dragged = dragging_;
        pressedAt_.reset();
        dragging_ = false;
        if (!dragged) emit LeftReleased(e->position().toPoint(), e->modifiers());
        return true;
      }
      break;
    }
    case QEvent::ContextMenu:
      if (watched == sheet_ || watched == viewport()) {
        emit ContextMenuWanted(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      }
      break;
    case QEvent::Wheel:
      if (watched == viewport() || watched == sheet_) {
        auto* e = static_cast<QWheelEvent*>(event);
        if (e->modifiers().testFlag(Qt::ControlModifier)) {
          // A zoom step per notch, about the sheet point under the pointer.
          const QPoint at = e->position().toPoint() - (watched == viewport() ? sheet_->pos() : QPoint());
          if (sheet_->rect().contains(at)) lastPointer_ = at;
          wheelRest_ += e->angleDelta().y();
          const int steps = wheelRest_ / 120;
          wheelRest_ -= steps * 120;
          if (steps != 0) emit ZoomWheel(steps);
          return true;
        }
        // One notch, one step of the vertical scroll bar; nothing without one.
        QScrollBar* bar = verticalScrollBar();
        const int notches = e->angleDelta().y() / 120;
        if (notches != 0 && wheelHandler_ && wheelHandler_(notches)) return true;
        if (bar->maximum() > 0 && notches != 0) bar->setValue(bar->value() - notches * bar->singleStep());
        return true;
      }
      break;
    default: break;
  }
  return QScrollArea::eventFilter(watched, event);
}

}  // namespace terravue::gui

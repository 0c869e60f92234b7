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

bool MapArea::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == sheet_) marks_->resize(sheet_->size());
      break;
    case QEvent::KeyPress:
      // Before the scroll area turns arrows and page keys into scrolling.
      if (keyHandler_ && keyHandler_(static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (watched == sheet_ && e->button() == Qt::LeftButton) {
        pressedAt_ = e->position().toPoint();
        dragging_ = false;
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
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
        // One notch, one step of the vertical scroll bar; nothing without one.
        auto* e = static_cast<QWheelEvent*>(event);
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

#include "render/display_list.h"

#include <algorithm>

#include <QPainter>

#include "render/map_fonts.h"

namespace terravue::render {
namespace {

QPen PenFor(QRgb colour, int width) {
  // A one-pixel pen is the cosmetic hairline, the fastest line the raster engine draws.
  if (width <= 1) return QPen(QColor(colour), 0);
  return QPen(QColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QRect BoundsOf(const QPoint* points, int count, int margin) {
  int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
  for (int i = 1; i < count; ++i) {
    left = std::min(left, points[i].x());
    right = std::max(right, points[i].x());
    top = std::min(top, points[i].y());
    bottom = std::max(bottom, points[i].y());
  }
  return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin);
}

}  // namespace

void DisplayList::Clear() {
  *this = DisplayList();
}

void DisplayList::SetPen(QRgb colour, int width) {
  width = std::max(1, width);
  if (colour == pen_.colour && width == pen_.width) return;
  EndRun();
  pen_ = {colour, width};
  penIndex_ = -1;  // entered in the pen table by the first run drawn with it
}

void DisplayList::MoveTo(QPoint p) {
  EndRun();
  points_.push_back(p);
  inRun_ = true;
  penAt_ = p;
  runs_.push_back({-1, static_cast<int>(points_.size()) - 1, 1});
}

void DisplayList::LineTo(QPoint p) {
  // A line after a change of pen, a text or a fill carries on from where the pen stands.
  if (!inRun_) {
    if (!penAt_) return;
    MoveTo(*penAt_);
  }
  penAt_ = p;
  Run& run = runs_.back();
  // A step that stays on the same pixel draws nothing a pixel further.
  if (points_.back() == p) return;
  points_.push_back(p);
  ++run.count;
  ++segments_;
}

void DisplayList::EndRun() {
  if (!inRun_) return;
  inRun_ = false;
  Run& run = runs_.back();
  if (run.count < 2) {
    points_.resize(points_.size() - static_cast<std::size_t>(run.count));
    runs_.pop_back();
    return;
  }
  if (penIndex_ < 0) {
    pens_.push_back(pen_);
    penIndex_ = static_cast<int>(pens_.size()) - 1;
  }
  run.pen = penIndex_;
  const QRect bounds = BoundsOf(points_.data() + run.first, run.count, pen_.width);
  items_.push_back({Kind::Run, static_cast<int>(runs_.size()) - 1, bounds});
}

int DisplayList::Font(const std::string& name, int pixelHeight) {
  for (std::size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i].pixelHeight == pixelHeight && fonts_[i].name == name) return static_cast<int>(i);
  const QFont font = MapFont(name, pixelHeight);
  fonts_.push_back({name, pixelHeight, font, QFontMetricsF(font)});
  return static_cast<int>(fonts_.size()) - 1;
}

void DisplayList::AddText(int font, QRgb colour, QPoint anchor, int tenths, const QString& text) {
  EndRun();
  const QFontMetricsF& m = fonts_[font].metrics;
  // Turned about its anchor, the text stays within its length and height of it.
  const int reach = static_cast<int>(m.horizontalAdvance(text) + m.height()) + 2;
  texts_.push_back({font, colour, anchor, tenths, text});
  items_.push_back({Kind::Text, static_cast<int>(texts_.size()) - 1,
                    QRect(anchor - QPoint(reach, reach), anchor + QPoint(reach, reach))});
}

void DisplayList::AddFill(const QPolygon& polygon, QRgb colour, double density) {
  if (polygon.size() < 3) return;
  EndRun();
  fills_.push_back({polygon, colour, density});
  items_.push_back({Kind::Fill, static_cast<int>(fills_.size()) - 1, polygon.boundingRect()});
}

void DisplayList::Replay(QPainter& painter, const QRect& exposed) const {
  // The index of the pen the painter holds, none yet (-1), or none at all while fills draw.
  constexpr int NoPen = -2;
  int currentPen = -1;
  for (const Item& item : items_) {
    if (!item.bounds.intersects(exposed)) continue;
    switch (item.kind) {
      case Kind::Run: {
        const Run& run = runs_[static_cast<std::size_t>(item.index)];
        if (run.pen != currentPen) {
          currentPen = run.pen;
          const Pen& pen = pens_[static_cast<std::size_t>(run.pen)];
          painter.setPen(PenFor(pen.colour, pen.width));
          painter.setBrush(Qt::NoBrush);
        }
        painter.drawPolyline(points_.data() + run.first, run.count);
        break;
      }
      case Kind::Text: {
        const Text& t = texts_[static_cast<std::size_t>(item.index)];
        const FontEntry& f = fonts_[static_cast<std::size_t>(t.font)];
        painter.save();
        painter.setFont(f.font);
        painter.setPen(QColor(t.colour));
        painter.translate(t.anchor);
        if (t.tenths != 0) painter.rotate(-t.tenths / 10.0);
        // The anchor is the cell's top-left corner: the baseline is one ascent below it.
        painter.drawText(QPointF(0, f.metrics.ascent()), t.text);
        painter.restore();
        currentPen = -1;
        break;
      }
      case Kind::Fill: {
        const Fill& fill = fills_[static_cast<std::size_t>(item.index)];
        // Fills follow each other by the thousand on a shaded surface: the pen is put away once
        // for a run of them, and a full density is a solid brush with no tile to look up.
        if (currentPen != NoPen) {
          painter.setPen(Qt::NoPen);
          currentPen = NoPen;
        }
        if (fill.density >= 1)
          painter.setBrush(QColor(fill.colour));
        else
          painter.setBrush(stipples_.Brush(fill.colour, fill.density));
        painter.drawPolygon(fill.polygon);
        break;
      }
    }
  }
}

QRect HighlightList::Toggle(const QPolygon& polyline) {
  const QRect bounds = polyline.boundingRect().adjusted(-1, -1, 1, 1);
  const auto same = std::find(polylines_.begin(), polylines_.end(), polyline);
  if (same != polylines_.end())
    polylines_.erase(same);
  else
    polylines_.push_back(polyline);
  return bounds;
}

void HighlightList::Replay(QPainter& painter, const QRect& exposed) const {
  if (polylines_.empty()) return;
  painter.save();
  // Inverting the pixels under the pen: what is drawn twice comes back as it was.
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  for (const QPolygon& p : polylines_)
    if (p.boundingRect().adjusted(-1, -1, 1, 1).intersects(exposed)) painter.drawPolyline(p);
  painter.restore();
}

}  // namespace terravue::render

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRgb>
#include <QString>

#include "render/stipple.h"

class QPainter;

namespace terravue::render {

// What the screen devices drew, in screen pixels, kept so that a repaint replays it without
// drawing the map again: polyline runs with their pen, texts with font, anchor and angle, and
// stipple fills, in the order they were drawn. Replaying touches only the items whose bounds
// meet the exposed area; the items themselves were clipped to the sheet when they were made.
class DisplayList {
 public:
  void Clear();
  bool Empty() const { return items_.empty(); }

  void SetPen(QRgb colour, int width);
  void MoveTo(QPoint p);
  void LineTo(QPoint p);
  // Ends the polyline being drawn; the next LineTo needs a MoveTo first.
  void EndRun();

  // The font table: fonts are kept by name and pixel height and referred to by index.
  int Font(const std::string& name, int pixelHeight);
  const QFontMetricsF& Metrics(int font) const { return fonts_[font].metrics; }
  void AddText(int font, QRgb colour, QPoint anchor, int tenths, const QString& text);
  // A density of 1 or more fills solid.
  void AddFill(const QPolygon& polygon, QRgb colour, double density);

  // Draws the items meeting `exposed`; the painter's clip is left as the caller set it.
  void Replay(QPainter& painter, const QRect& exposed) const;

  int SegmentCount() const { return segments_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }

 private:
  enum class Kind : std::uint8_t { Run, Text, Fill };
  struct Item {
    Kind kind;
    int index;
    QRect bounds;
  };
  struct Pen {
    QRgb colour;
    int width;
  };
  struct Run {
    int pen;
    int first;
    int count;
  };
  struct Text {
    int font;
    QRgb colour;
    QPoint anchor;
    int tenths;
    QString text;
  };
  struct Fill {
    QPolygon polygon;
    QRgb colour;
    double density;
  };
  struct FontEntry {
    std::string name;
    int pixelHeight;
    QFont font;
    QFontMetricsF metrics;
  };

  std::vector<Item> items_;
  std::vector<Pen> pens_;
  std::vector<Run> runs_;
  std::vector<Text> texts_;
  std::vector<Fill> fills_;
  std::vector<FontEntry> fonts_;
  std::vector<QPoint> points_;
  Pen pen_{qRgb(0, 0, 0), 1};
  int penIndex_ = -1;
  bool inRun_ = false;
  std::optional<QPoint> penAt_;
  int segments_ = 0;
  mutable StippleBrushes stipples_;
};

// The highlights: polylines painted last with an inverting pen. Drawing a figure that is
// already there takes it away again, as inverting it twice would. Each pen-down run is one
// polyline, so that its shared corners are inverted once.
class HighlightList {
 public:
  // Adds the polyline, or removes it when the same one is already there. Returns its bounds.
  QRect Toggle(const QPolygon& polyline);
  void Clear() { polylines_.clear(); }
  bool Empty() const { return polylines_.empty(); }
  int Count() const { return static_cast<int>(polylines_.size()); }
  void Replay(QPainter& painter, const QRect& exposed) const;

 private:
  std::vector<QPolygon> polylines_;
};

}  // namespace terravue::render

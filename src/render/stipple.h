#pragma once

#include <QBrush>
#include <QHash>
#include <QImage>
#include <QRgb>

namespace terravue::render {

// Brushes that set about `density` (0..1) of the pixels they fill in `colour` and leave the
// rest untouched: a small random tile repeated, so that a fill costs one textured polygon
// rather than a random draw per pixel. The same density always gives the same tile, so that
// repainting does not make the pattern shimmer. Tiles are made on first use and kept.
class StippleBrushes {
 public:
  QBrush Brush(QRgb colour, double density);

 private:
  QHash<quint64, QImage> tiles_;
};

}  // namespace terravue::render

#include "render/stipple.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace terravue::render {
namespace {

constexpr int TileSize = 64;
constexpr int DensityLevels = 256;

}  // namespace

QBrush StippleBrushes::Brush(QRgb colour, double density) {
  const int level = std::clamp(static_cast<int>(std::lround(density * DensityLevels)), 0, DensityLevels);
  const QRgb ink = qRgba(qRed(colour), qGreen(colour), qBlue(colour), 255);
  const quint64 key = (quint64{ink} << 16) | static_cast<quint64>(level);
  auto it = tiles_.constFind(key);
  if (it == tiles_.constEnd()) {
    QImage tile(TileSize, TileSize, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    std::mt19937 random(static_cast<unsigned>(level) * 2654435761u);
    std::uniform_int_distribution<int> draw(0, DensityLevels - 1);
    for (int y = 0; y < TileSize; ++y) {
      auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
      for (int x = 0; x < TileSize; ++x)
        if (draw(random) < level) line[x] = ink;
    }
    it = tiles_.insert(key, tile);
  }
  return QBrush(*it);
}

}  // namespace terravue::render

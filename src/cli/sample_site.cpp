#include "sample_site.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model/surface_model.h"

namespace terravue::cli {
namespace {

constexpr int Rows = 21;         // every 25 ft of Northing
constexpr int ShotsPerRow = 21;  // every 30 ft of Easting
constexpr double RowSpacing = 25;
constexpr double ShotSpacing = 30;
constexpr double OriginX = 5000;
constexpr double OriginY = 3000;

// A small linear congruential generator with a fixed seed: the standard distributions are
// not the same on every library, and the sample must be.
class Scatter {
 public:
  // Uniform in [-1, 1).
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
  }

 private:
  std::uint64_t state_ = 20240605;
};

double RoundTo(double v, double step) {
  return std::round(v / step) * step;
}

// Gentle rise to the north-east, a knoll, and a swale running from the north edge down to the
// south-west.
double Ground(double x, double y) {
  const double dx = x - OriginX, dy = y - OriginY;
  double z = 106 + 0.032 * dy + 0.012 * dx;
  z += 14 * std::exp(-((x - 5440) * (x - 5440) + (y - 3330) * (y - 3330)) / (2 * 80.0 * 80.0));
  // Distance from the swale's line through (5120, 3500) and (5300, 3000).
  const double ax = 5120, ay = 3500, bx = 5300, by = 3000;
  const double cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
  const double swale = cross / std::hypot(bx - ax, by - ay);
  z -= 7 * std::exp(-(swale * swale) / (2 * 30.0 * 30.0));
  z += 1.1 * std::sin(dx / 70) * std::cos(dy / 55);
  return z;
}

}  // namespace

void BuildSampleSite(model::SurfaceModel& m) {
  m.ClearModel();
  Scatter scatter;
  // index[r][k]: the point shot in row r at station k. Rows alternate direction, as a crew
  // walks back along the next row.
  std::vector<std::vector<PointIndex>> index(Rows, std::vector<PointIndex>(ShotsPerRow));
  PointIndex next = 0;
  for (int r = 0; r < Rows; ++r) {
    for (int s = 0; s < ShotsPerRow; ++s) {
      const int k = r % 2 == 0 ? s : ShotsPerRow - 1 - s;
      const PointIndex i = ++next;
      index[r][k] = i;
      const double x = OriginX + k * ShotSpacing + 3 * scatter.Next();
      const double y = OriginY + r * RowSpacing + 3 * scatter.Next();
      m.PointX[i] = RoundTo(x, 0.001);
      m.PointY[i] = RoundTo(y, 0.001);
      m.PointZ[i] = RoundTo(Ground(x, y) + 0.15 * scatter.Next(), 0.01);
      m.PointCutFill[i] = 0;
      m.BorderNext[i] = NoPoint;
      m.SetPointLabel(i, std::to_string(i));
    }
  }
  m.PointCount = next;

  // Counter-clockwise: east along the south row, north up the east ends, west along the north
  // row, south down the west ends.
  std::vector<PointIndex> ring;
  for (int k = 0; k < ShotsPerRow; ++k) ring.push_back(index[0][k]);
  for (int r = 1; r < Rows; ++r) ring.push_back(index[r][ShotsPerRow - 1]);
  for (int k = ShotsPerRow - 2; k >= 0; --k) ring.push_back(index[Rows - 1][k]);
  for (int r = Rows - 2; r >= 1; --r) ring.push_back(index[r][0]);
  for (std::size_t j = 0; j < ring.size(); ++j) m.BorderNext[ring[j]] = ring[(j + 1) % ring.size()];

  m.SetComment("Sample site - generated");
}

}  // namespace terravue::cli

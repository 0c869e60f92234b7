#pragma once

#include <cstdint>
#include <vector>

namespace terravue::model {
class SurfaceModel;
}

// The difference between two surfaces as a map: every plan overlap of an existing and a proposed
// triangle with the difference (proposed minus existing) at its corners, kept by a volume run
// for the map to paint in colour bands. The difference is linear over each overlap, so the part
// of an overlap between two levels is a convex polygon: the bands are exact, and agree with the
// volumes and the largest cut and fill of the run's report.
namespace terravue::analysis {

class CutFillMap {
 public:
  // Relative to the origin, in single precision: a millimetre or better on sites of some
  // kilometres, at half the memory (at capacity a run keeps some hundred thousand overlaps).
  struct Corner {
    float x = 0, y = 0, d = 0;
  };

  // The surface the differences lie on (the user's model when the run was made); the map is
  // drawn only while the model still holds it.
  std::uint64_t surfaceKey = 0;
  double originX = 0, originY = 0;
  double deepestCut = 0, highestFill = 0;  // both 0 or more
  double cutX = 0, cutY = 0, fillX = 0, fillY = 0;

  bool Empty() const { return ends_.empty(); }
  std::size_t PolygonCount() const { return ends_.size(); }
  // Corners of polygon i, counter-clockwise.
  const Corner* Begin(std::size_t i) const { return corners_.data() + (i == 0 ? 0 : ends_[i - 1]); }
  const Corner* End(std::size_t i) const { return corners_.data() + ends_[i]; }

  // One overlap in coordinates relative to the origin.
  void AddPolygon(const double* x, const double* y, const double* d, int n);
  void Clear();

 private:
  std::vector<Corner> corners_;
  std::vector<std::uint32_t> ends_;
};

// A digest of the model's points, triangles and counts: equal digests mean the surface has not
// changed (for any practical purpose).
std::uint64_t SurfaceKey(const model::SurfaceModel& m);

// The colour bands: levels at multiples of a round step (1, 2, 2.5 or 5 times a power of ten)
// chosen so that the larger of the deepest cut and the highest fill takes at most six bands.
// Band -k (k = 1..cutBands) holds differences from -k step up to below -(k - 1) step, band k
// (k = 1..fillBands) those from (k - 1) step up to below k step; the outermost bands take
// everything beyond. A difference of exactly 0 is fill.
struct CutFillScale {
  double step = 1;
  int cutBands = 0;
  int fillBands = 0;
  int decimals = 1;  // enough to tell the levels apart

  static CutFillScale For(double deepestCut, double highestFill);
  int BandOf(double d) const;
  // The band's bounds; the outermost are open-ended in use but labelled with their level.
  double Lower(int band) const;
  double Upper(int band) const;
  // Diverging colours, red in the low byte: pale near zero, dark at the extremes, reds for cut
  // and blues for fill, the same depth of shade for the same size of difference.
  std::uint32_t Colour(int band) const;
};

}  // namespace terravue::analysis

#include "analysis/cut_fill_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/surface_model.h"

namespace terravue::analysis {

void CutFillMap::AddPolygon(const double* x, const double* y, const double* d, int n) {
  if (n < 3) return;
  for (int k = 0; k < n; ++k)
    corners_.push_back({static_cast<float>(x[k]), static_cast<float>(y[k]), static_cast<float>(d[k])});
  ends_.push_back(static_cast<std::uint32_t>(corners_.size()));
}

void CutFillMap::Clear() {
  *this = CutFillMap();
}

namespace {

// 64-bit FNV-1a over whole words, then a final mix.
class Digest {
 public:
  void Add(const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
      h_ ^= p[i];
      h_ *= 0x100000001b3ull;
    }
  }
  template <typename T>
  void AddRange(const model::StoreArray<T>& v, std::size_t first, std::size_t last) {
    if (v.size() <= last || last < first) return;
    Add(v.data() + first, (last - first + 1) * sizeof(T));
  }
  std::uint64_t Value() const {
    std::uint64_t z = h_ + 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t h_ = 0xcbf29ce484222325ull;
};

}  // namespace

std::uint64_t SurfaceKey(const model::SurfaceModel& m) {
  Digest digest;
  const std::uint16_t counts[2] = {m.PointCount, m.TriangleCount};
  digest.Add(counts, sizeof counts);
  digest.AddRange(m.PointX, 1, m.PointCount);
  digest.AddRange(m.PointY, 1, m.PointCount);
  digest.AddRange(m.PointZ, 1, m.PointCount);
  digest.AddRange(m.TriVertex, 1, m.TriangleCount);
  return digest.Value();
}

// ---- The scale ----------------------------------------------------------------------------------

namespace {

constexpr int MostBandsPerSide = 6;

std::uint32_t Rgb(double r, double g, double b) {
  const auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  return byte(r) | (byte(g) << 8) | (byte(b) << 16);
}

}  // namespace

CutFillScale CutFillScale::For(double deepestCut, double highestFill) {
  CutFillScale s;
  const double cut = std::isfinite(deepestCut) ? std::max(deepestCut, 0.0) : 0.0;
  const double fill = std::isfinite(highestFill) ? std::max(highestFill, 0.0) : 0.0;
  const double largest = std::max(cut, fill);
  if (largest > 0) {
    const double raw = largest / MostBandsPerSide;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    s.step = 10 * power;
    for (const double f : {1.0, 2.0, 2.5, 5.0, 10.0})
      if (f * power >= raw * (1 - 1e-12)) {
        s.step = f * power;
        break;
      }
  }
  const auto bands = [&](double extent) {
    return extent > 0 ? std::clamp(static_cast<int>(std::ceil(extent / s.step - 1e-9)), 1, MostBandsPerSide) : 0;
  };
  s.cutBands = bands(cut);
  // A surface without fill still shows its zero band.
  s.fillBands = std::max(bands(fill), 1);
  s.decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(s.step))) + 1, 0, 4);
  return s;
}

int CutFillScale::BandOf(double d) const {
  if (d < 0 && cutBands > 0) return -std::clamp(static_cast<int>(std::ceil(-d / step)), 1, cutBands);
  return std::clamp(static_cast<int>(std::floor(std::max(d, 0.0) / step)) + 1, 1, fillBands);
}

double CutFillScale::Lower(int band) const { return band < 0 ? band * step : (band - 1) * step; }
double CutFillScale::Upper(int band) const { return band < 0 ? (band + 1) * step : band * step; }

std::uint32_t CutFillScale::Colour(int band) const {
  const int depth = std::max({cutBands, fillBands, 1});
  const double t = depth == 1 ? 0.5 : (std::abs(band) - 1.0) / (depth - 1);
  // Pale to dark: reds for cut, blues for fill.
  static constexpr double CutPale[3] = {253, 219, 199}, CutDark[3] = {103, 0, 31};
  static constexpr double FillPale[3] = {209, 229, 240}, FillDark[3] = {5, 48, 97};
  const double* pale = band < 0 ? CutPale : FillPale;
  const double* dark = band < 0 ? CutDark : FillDark;
  return Rgb(pale[0] + t * (dark[0] - pale[0]), pale[1] + t * (dark[1] - pale[1]), pale[2] + t * (dark[2] - pale[2]));
}

}  // namespace terravue::analysis

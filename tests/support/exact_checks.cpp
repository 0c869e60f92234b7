#include "support/exact_checks.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>

#include "model/surface_model.h"

namespace terravue::testing {

namespace {

// A signed integer of any size: magnitude in 32-bit limbs, lowest first, no leading zeros.
class BigInt {
 public:
  BigInt() = default;
  // mantissa * 2^shift, shift >= 0.
  static BigInt Shifted(std::int64_t mantissa, int shift) {
    BigInt r;
    r.negative_ = mantissa < 0;
    std::uint64_t m = mantissa < 0 ? static_cast<std::uint64_t>(-(mantissa + 1)) + 1 : static_cast<std::uint64_t>(mantissa);
    r.limbs_ = {static_cast<std::uint32_t>(m), static_cast<std::uint32_t>(m >> 32)};
    r.Trim();
    return r.ShiftedLeft(shift);
  }

  BigInt ShiftedLeft(int bits) const {
    if (limbs_.empty()) return *this;
    BigInt r;
    r.negative_ = negative_;
    const int whole = bits / 32, part = bits % 32;
    r.limbs_.assign(static_cast<std::size_t>(whole), 0);
    std::uint32_t carry = 0;
    for (std::uint32_t limb : limbs_) {
      r.limbs_.push_back(part == 0 ? limb : (limb << part) | carry);
      carry = part == 0 ? 0 : limb >> (32 - part);
    }
    if (carry != 0) r.limbs_.push_back(carry);
    r.Trim();
    return r;
  }

  friend BigInt operator+(const BigInt& a, const BigInt& b) {
    if (a.negative_ == b.negative_) return WithSign(AddMagnitudes(a.limbs_, b.limbs_), a.negative_);
    if (CompareMagnitudes(a.limbs_, b.limbs_) >= 0) return WithSign(SubtractMagnitudes(a.limbs_, b.limbs_), a.negative_);
    return WithSign(SubtractMagnitudes(b.limbs_, a.limbs_), b.negative_);
  }
  friend BigInt operator-(const BigInt& a, const BigInt& b) { return a + b.Negated(); }
  friend BigInt operator*(const BigInt& a, const BigInt& b) {
    std::vector<std::uint32_t> product(a.limbs_.size() + b.limbs_.size(), 0);
    for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
      std::uint64_t carry = 0;
      for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
        const std::uint64_t t = std::uint64_t{a.limbs_[i]} * b.limbs_[j] + product[i + j] + carry;
        product[i + j] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
      }
      product[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
    }
    return WithSign(std::move(product), a.negative_ != b.negative_);
  }
  BigInt Negated() const {
    BigInt r = *this;
    if (!r.limbs_.empty()) r.negative_ = !r.negative_;
    return r;
  }
  int Sign() const { return limbs_.empty() ? 0 : (negative_ ? -1 : 1); }

 private:
  static BigInt WithSign(std::vector<std::uint32_t> limbs, bool negative) {
    BigInt r;
    r.limbs_ = std::move(limbs);
    r.negative_ = negative;
    r.Trim();
    return r;
  }
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    if (limbs_.empty()) negative_ = false;
  }
  static int CompareMagnitudes(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
      if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
  }
  static std::vector<std::uint32_t> AddMagnitudes(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    std::vector<std::uint32_t> sum(std::max(a.size(), b.size()) + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < sum.size(); ++i) {
      const std::uint64_t t = (i < a.size() ? a[i] : 0) + std::uint64_t{i < b.size() ? b[i] : 0u} + carry;
      sum[i] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    return sum;
  }
  // |a| >= |b|.
  static std::vector<std::uint32_t> SubtractMagnitudes(const std::vector<std::uint32_t>& a,
                                                       const std::vector<std::uint32_t>& b) {
    std::vector<std::uint32_t> difference(a.size(), 0);
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
      std::int64_t t = std::int64_t{a[i]} - (i < b.size() ? b[i] : 0) - borrow;
      borrow = t < 0 ? 1 : 0;
      if (t < 0) t += std::int64_t{1} << 32;
      difference[i] = static_cast<std::uint32_t>(t);
    }
    return difference;
  }

  std::vector<std::uint32_t> limbs_;
  bool negative_ = false;
};

// Puts doubles on one scale: each becomes an integer times 2^lowest, lowest being the exponent of
// the lowest bit among them.
class CommonScale {
 public:
  explicit CommonScale(std::initializer_list<double> values) {
    for (double v : values) {
      if (v == 0) continue;
      int exponent = 0;
      std::frexp(v, &exponent);
      lowest_ = std::min(lowest_, exponent - 53);
    }
  }
  BigInt operator()(double v) const {
    if (v == 0) return {};
    int exponent = 0;
    const double fraction = std::frexp(v, &exponent);
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));
    return BigInt::Shifted(mantissa, exponent - 53 - lowest_);
  }
  int Lowest() const { return lowest_; }

 private:
  int lowest_ = INT_MAX;
};

int SignOf(long double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

}  // namespace

int ExactTurn(double ax, double ay, double bx, double by, double cx, double cy) {
  // In long double the products of differences of doubles carry at most a few units of 2^-64
  // of their size; a thousand times that decides.
  const long double left = (static_cast<long double>(ax) - cx) * (static_cast<long double>(by) - cy);
  const long double right = (static_cast<long double>(bx) - cx) * (static_cast<long double>(ay) - cy);
  if (std::fabs(left - right) > 1e-16L * (std::fabs(left) + std::fabs(right))) return SignOf(left - right);
  const CommonScale scale{ax, ay, bx, by, cx, cy};
  return ((scale(ax) - scale(cx)) * (scale(by) - scale(cy)) - (scale(bx) - scale(cx)) * (scale(ay) - scale(cy))).Sign();
}

bool ExactlyInsideCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy,
                         double tolerance) {
  const CommonScale scale{ax, ay, bx, by, cx, cy, dx, dy, tolerance};
  const BigInt adx = scale(ax) - scale(dx), ady = scale(ay) - scale(dy);
  const BigInt bdx = scale(bx) - scale(dx), bdy = scale(by) - scale(dy);
  const BigInt cdx = scale(cx) - scale(dx), cdy = scale(cy) - scale(dy);
  const BigInt ab = adx * bdy - bdx * ady, bc = bdx * cdy - cdx * bdy, ca = cdx * ady - adx * cdy;
  // The doubled area times (r^2 - |d - centre|^2), in units of 2^(4 lowest).
  const BigInt inc = (adx * adx + ady * ady) * bc + (bdx * bdx + bdy * bdy) * ca + (cdx * cdx + cdy * cdy) * ab;
  // tolerance times the doubled area, in units of 2^(3 lowest): brought to the same units.
  const BigInt scaled = (scale(tolerance) * (ab + bc + ca)).ShiftedLeft(-scale.Lowest());
  return (inc - scaled).Sign() >= 0;
}

namespace {

using EdgeKey = std::pair<int, int>;
EdgeKey Key(int a, int b) { return {std::min(a, b), std::max(a, b)}; }

struct Corner {
  double x, y;
};

}  // namespace

std::vector<std::string> CheckConstrainedDelaunay(const model::SurfaceModel& m) {
  std::vector<std::string> problems;
  auto add = [&](std::string line) {
    if (problems.size() < 50) problems.push_back(std::move(line));
  };
  std::set<EdgeKey> fixed;
  for (int i = 1; i <= m.PointCount; ++i)
    if (m.BorderNext[static_cast<std::size_t>(i)] != 0) fixed.insert(Key(i, m.BorderNext[static_cast<std::size_t>(i)]));
  for (int k = 1; k <= m.BreaklineCount; ++k)
    fixed.insert(Key(m.Breaklines[static_cast<std::size_t>(k)].From, m.Breaklines[static_cast<std::size_t>(k)].To));

  const auto at = [&](int p) { return Corner{m.PointX[static_cast<std::size_t>(p)], m.PointY[static_cast<std::size_t>(p)]}; };
  std::map<EdgeKey, std::vector<std::pair<int, int>>> edges;  // edge -> (triangle, far corner)
  for (int t = 1; t <= m.TriangleCount; ++t) {
    auto c = m.TriVertex[static_cast<std::size_t>(t)];
    const Corner c0 = at(c[0]), c1 = at(c[1]), c2 = at(c[2]);
    const int turn = ExactTurn(c0.x, c0.y, c1.x, c1.y, c2.x, c2.y);
    if (turn == 0) add("triangle " + std::to_string(t) + " has no area");
    for (int i = 0; i < 3; ++i) edges[Key(c[i], c[(i + 1) % 3])].push_back({t, c[(i + 2) % 3]});
  }
  // The far corner d of the other triangle against the circle of a b c, taken counter-clockwise.
  const auto inside = [&](int a, int b, int c, int d) {
    Corner p = at(a), q = at(b);
    const Corner r = at(c), s = at(d);
    if (ExactTurn(p.x, p.y, q.x, q.y, r.x, r.y) < 0) std::swap(p, q);
    return ExactlyInsideCircle(p.x, p.y, q.x, q.y, r.x, r.y, s.x, s.y, 1e-4);
  };
  for (const auto& [edge, sides] : edges) {
    if (sides.size() != 2 || fixed.contains(edge)) continue;
    const int c = sides[0].second, d = sides[1].second;
    if (inside(edge.first, edge.second, c, d) || inside(edge.first, edge.second, d, c))
      add("edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second) + " between triangles " +
          std::to_string(sides[0].first) + " and " + std::to_string(sides[1].first) + " is not Delaunay");
  }
  return problems;
}

std::vector<std::string> CheckConvexHullRing(const model::SurfaceModel& m) {
  std::vector<std::string> problems;
  auto add = [&](std::string line) {
    if (problems.size() < 50) problems.push_back(std::move(line));
  };
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  std::vector<int> ring;
  for (int i = start; i != 0 && ring.size() <= m.PointCount;) {
    ring.push_back(i);
    i = m.BorderNext[static_cast<std::size_t>(i)];
    if (i == start) break;
  }
  if (ring.size() < 3) return {"no ring of three points"};
  const auto x = [&](int p) { return m.PointX[static_cast<std::size_t>(p)]; };
  const auto y = [&](int p) { return m.PointY[static_cast<std::size_t>(p)]; };
  const std::size_t h = ring.size();
  bool anyLeft = false;
  for (std::size_t i = 0; i < h; ++i) {
    const int a = ring[i], b = ring[(i + 1) % h], c = ring[(i + 2) % h];
    const int turn = ExactTurn(x(a), y(a), x(b), y(b), x(c), y(c));
    if (turn < 0) add("the ring turns right at point " + std::to_string(b));
    anyLeft = anyLeft || turn > 0;
  }
  if (!anyLeft) add("the ring never turns left");
  std::vector<bool> onRing(static_cast<std::size_t>(m.PointCount) + 1, false);
  for (int p : ring) onRing[static_cast<std::size_t>(p)] = true;
  std::set<std::pair<double, double>> ringPlaces;
  for (int p : ring) ringPlaces.insert({x(p), y(p)});
  for (int p = 1; p <= m.PointCount; ++p) {
    if (onRing[static_cast<std::size_t>(p)] || ringPlaces.contains({x(p), y(p)})) continue;
    for (std::size_t i = 0; i < h; ++i) {
      const int a = ring[i], b = ring[(i + 1) % h];
      const int turn = ExactTurn(x(a), y(a), x(b), y(b), x(p), y(p));
      if (turn < 0) {
        add("point " + std::to_string(p) + " lies outside the ring, beyond " + std::to_string(a) + "-" + std::to_string(b));
        break;
      }
      const bool between = std::min(x(a), x(b)) <= x(p) && x(p) <= std::max(x(a), x(b)) &&
                           std::min(y(a), y(b)) <= y(p) && y(p) <= std::max(y(a), y(b));
      if (turn == 0 && between) {
        add("point " + std::to_string(p) + " lies on the ring segment " + std::to_string(a) + "-" + std::to_string(b) +
            " but is not on the ring");
        break;
      }
    }
  }
  return problems;
}

}  // namespace terravue::testing

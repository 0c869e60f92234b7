#include "tin/predicates.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/surface_model.h"

namespace terravue::tin {

namespace {

// Unit roundoff of double.
constexpr double Epsilon = 0x1p-53;

// hi + lo equals the exact result; hi is the rounded one.
struct Exact2 {
  double hi;
  double lo;
};

Exact2 TwoSum(double a, double b) {
  const double s = a + b;
  const double bVirtual = s - a;
  const double aVirtual = s - bVirtual;
  return {s, (a - aVirtual) + (b - bVirtual)};
}

Exact2 TwoProduct(double a, double b) {
  const double p = a * b;
  return {p, std::fma(a, b, -p)};
}

// A real number held exactly as a sum of doubles whose binary digits do not overlap, smallest
// first, without zeros (an empty sum is zero). Its sign is that of its largest term. Only the
// rare undecided cases come here, so the terms live in a plain vector.
class Expansion {
 public:
  Expansion() = default;
  explicit Expansion(double v) {
    if (v != 0) terms_.push_back(v);
  }
  static Expansion Difference(double a, double b) { return FromPair(TwoSum(a, -b)); }
  static Expansion Product(double a, double b) { return FromPair(TwoProduct(a, b)); }

  Expansion operator+(const Expansion& other) const {
    Expansion sum = *this;
    for (double t : other.terms_) sum.Grow(t);
    return sum;
  }
  Expansion operator-(const Expansion& other) const {
    Expansion difference = *this;
    for (double t : other.terms_) difference.Grow(-t);
    return difference;
  }
  Expansion operator*(const Expansion& other) const {
    Expansion product;
    for (double t : other.terms_) product = product + Scaled(t);
    return product;
  }
  Expansion Scaled(double b) const {
    Expansion result;
    if (terms_.empty() || b == 0) return result;
    Exact2 q = TwoProduct(terms_[0], b);
    result.Push(q.lo);
    double carry = q.hi;
    for (std::size_t i = 1; i < terms_.size(); ++i) {
      const Exact2 product = TwoProduct(terms_[i], b);
      const Exact2 low = TwoSum(carry, product.lo);
      result.Push(low.lo);
      const Exact2 high = TwoSum(product.hi, low.hi);
      result.Push(high.lo);
      carry = high.hi;
    }
    result.Push(carry);
    return result;
  }
  int Sign() const { return terms_.empty() ? 0 : (terms_.back() > 0 ? 1 : -1); }

 private:
  static Expansion FromPair(Exact2 pair) {
    Expansion e;
    e.Push(pair.lo);
    e.Push(pair.hi);
    return e;
  }
  void Push(double t) {
    if (t != 0) terms_.push_back(t);
  }
  // Adds one double, keeping the terms apart and in order of magnitude.
  void Grow(double b) {
    std::size_t kept = 0;
    double q = b;
    for (double term : terms_) {
      const Exact2 s = TwoSum(q, term);
      if (s.lo != 0) terms_[kept++] = s.lo;
      q = s.hi;
    }
    terms_.resize(kept);
    Push(q);
  }

  std::vector<double> terms_;
};

int SignOfDouble(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// (a - c) x (b - c) expanded into its six products, each exact.
int ExactOrientationSign(double ax, double ay, double bx, double by, double cx, double cy) {
  const Expansion positive = Expansion::Product(ax, by) + Expansion::Product(bx, cy) + Expansion::Product(cx, ay);
  const Expansion negative = Expansion::Product(ax, cy) + Expansion::Product(cx, by) + Expansion::Product(bx, ay);
  return (positive - negative).Sign();
}

// The in-circle determinant of a b c against d and the orientations it is compared with, all
// relative to d: inc = |a'|^2 (b' x c') + |b'|^2 (c' x a') + |c'|^2 (a' x b'), which is the
// doubled area of a b c times (r^2 - |d - centre|^2); orient(a, b, c) = a' x b' + b' x c' +
// c' x a'; orient(b, a, d) = -(a' x b').
struct CircleTerms {
  double inc, incError;
  double abc, abcError;
  double bad, badError;
};

CircleTerms CircleTermsOf(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  const double adx = ax - dx, ady = ay - dy;
  const double bdx = bx - dx, bdy = by - dy;
  const double cdx = cx - dx, cdy = cy - dy;
  const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
  const double cdxady = cdx * ady, adxcdy = adx * cdy;
  const double adxbdy = adx * bdy, bdxady = bdx * ady;
  const double bc = bdxcdy - cdxbdy, ca = cdxady - adxcdy, ab = adxbdy - bdxady;
  const double alift = adx * adx + ady * ady;
  const double blift = bdx * bdx + bdy * bdy;
  const double clift = cdx * cdx + cdy * cdy;
  CircleTerms terms;
  terms.inc = alift * bc + blift * ca + clift * ab;
  const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift + (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                           (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
  // The classic bound for this evaluation from rounded differences, (10 + 96e) e.
  terms.incError = (10 + 96 * Epsilon) * Epsilon * permanent;
  // Each minor from rounded differences lies within 4e of the sum of its products' magnitudes;
  // two more additions for the sum of three.
  const double abPermanent = std::fabs(adxbdy) + std::fabs(bdxady);
  const double orientPermanent = std::fabs(bdxcdy) + std::fabs(cdxbdy) + std::fabs(cdxady) + std::fabs(adxcdy) + abPermanent;
  terms.abc = ab + bc + ca;
  terms.abcError = (8 + 64 * Epsilon) * Epsilon * orientPermanent;
  terms.bad = -ab;
  terms.badError = (5 + 64 * Epsilon) * Epsilon * abPermanent;
  return terms;
}

// Decides inc - tolerance * orient >= 0 where the rounding allows: 1 true, 0 false, -1 unsure.
int Decide(double inc, double incError, double orient, double orientError) {
  const double value = inc - CircleTolerance * orient;
  const double error =
      incError + CircleTolerance * orientError + 4 * Epsilon * (std::fabs(inc) + CircleTolerance * std::fabs(orient));
  if (value > error) return 1;
  if (value < -error) return 0;
  return -1;
}

// The same terms exactly.
struct ExactCircleTerms {
  Expansion inc, abc, bad;
};

ExactCircleTerms ExactCircleTermsOf(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                                    double dy) {
  const Expansion adx = Expansion::Difference(ax, dx), ady = Expansion::Difference(ay, dy);
  const Expansion bdx = Expansion::Difference(bx, dx), bdy = Expansion::Difference(by, dy);
  const Expansion cdx = Expansion::Difference(cx, dx), cdy = Expansion::Difference(cy, dy);
  const Expansion bc = bdx * cdy - cdx * bdy;
  const Expansion ca = cdx * ady - adx * cdy;
  const Expansion ab = adx * bdy - bdx * ady;
  const Expansion alift = adx * adx + ady * ady;
  const Expansion blift = bdx * bdx + bdy * bdy;
  const Expansion clift = cdx * cdx + cdy * cdy;
  return {alift * bc + blift * ca + clift * ab, ab + bc + ca, Expansion() - ab};
}

bool ExactlyAtLeastTolerance(const Expansion& inc, const Expansion& orient) {
  return (inc - orient.Scaled(CircleTolerance)).Sign() >= 0;
}

}  // namespace

int OrientationSign(double ax, double ay, double bx, double by, double cx, double cy) {
  const double acx = ax - cx, bcy = by - cy, bcx = bx - cx, acy = ay - cy;
  const double left = acx * bcy;
  const double right = bcx * acy;
  const double det = left - right;
  const double error = (3 + 16 * Epsilon) * Epsilon * (std::fabs(left) + std::fabs(right));
  if (det > error || -det > error) return SignOfDouble(det);
  // Undecided mostly where points lie exactly in line, on a grid or typed to thousandths near
  // the origin: there every step above was exact, and so is det.
  const bool exact = TwoSum(ax, -cx).lo == 0 && TwoSum(by, -cy).lo == 0 && TwoSum(bx, -cx).lo == 0 &&
                     TwoSum(ay, -cy).lo == 0 && TwoProduct(acx, bcy).lo == 0 && TwoProduct(bcx, acy).lo == 0 &&
                     TwoSum(left, -right).lo == 0;
  if (exact) return SignOfDouble(det);
  return ExactOrientationSign(ax, ay, bx, by, cx, cy);
}

int OrientationSign(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c) {
  return OrientationSign(m.PointX[a], m.PointY[a], m.PointX[b], m.PointY[b], m.PointX[c], m.PointY[c]);
}

int CircleSign(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  const CircleTerms terms = CircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy);
  if (terms.inc > terms.incError) return 1;
  if (-terms.inc > terms.incError) return -1;
  return ExactCircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy).inc.Sign();
}

bool InsideCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  const CircleTerms terms = CircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy);
  const int decided = Decide(terms.inc, terms.incError, terms.abc, terms.abcError);
  if (decided >= 0) return decided == 1;
  const ExactCircleTerms exact = ExactCircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy);
  return ExactlyAtLeastTolerance(exact.inc, exact.abc);
}

bool EdgeNeedsFlip(const model::SurfaceModel& m, PointIndex a, PointIndex b, PointIndex c, PointIndex d) {
  return EdgeNeedsFlip(m.PointX[a], m.PointY[a], m.PointX[b], m.PointY[b], m.PointX[c], m.PointY[c], m.PointX[d],
                       m.PointY[d]);
}

bool EdgeNeedsFlip(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  CircleTerms terms = CircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy);
  // Taken the way round that makes a b c counter-clockwise (b a d then is too): inc, abc and bad
  // all change sign with the order of a and b.
  if (terms.abc < 0 && -terms.abc > terms.abcError) {
    terms.inc = -terms.inc, terms.abc = -terms.abc, terms.bad = -terms.bad;
  } else if (!(terms.abc > terms.abcError)) {
    terms.incError = -1;  // the way round is not certain: decided exactly below
  }
  // inc is the same determinant for both triangles; the tolerance scales with each one's area.
  const int first = terms.incError < 0 ? -1 : Decide(terms.inc, terms.incError, terms.abc, terms.abcError);
  const int second = terms.incError < 0 ? -1 : Decide(terms.inc, terms.incError, terms.bad, terms.badError);
  if (first == 1 || second == 1) return true;
  if (first == 0 && second == 0) return false;
  ExactCircleTerms exact = ExactCircleTermsOf(ax, ay, bx, by, cx, cy, dx, dy);
  if (exact.abc.Sign() < 0) {
    exact.inc = Expansion() - exact.inc;
    exact.abc = Expansion() - exact.abc;
    exact.bad = Expansion() - exact.bad;
  }
  return ExactlyAtLeastTolerance(exact.inc, exact.abc) || ExactlyAtLeastTolerance(exact.inc, exact.bad);
}

}  // namespace terravue::tin

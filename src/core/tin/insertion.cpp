#include "tin/insertion.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/messages.h"
#include "common/user_port.h"
#include "model/axis_sort.h"
#include "model/surface_model.h"
#include "tin/duplicates.h"
#include "tin/geometry.h"
#include "tin/predicates.h"

// The steps follow the textbook incremental insertion with a cavity per point; what makes it
// fast without changing a single triangle, corner order or neighbour slot:
//
// - the run works on its own compact copy: points renumbered in insertion order (so that the
//   front of the triangulation touches neighbouring memory), and per triangle slot one record
//   of corners, neighbours and their edges; the model's arrays are written once at the end;
// - visited flags are stamps per point, so nothing is cleared between points;
// - the complete flags are mirrored in a bitset searched downward word by word, and each slot
//   carries bounds outside which the tolerant point-in-triangle test is certainly false; those
//   across the sort axis, which exclude nearly all, are also kept apart and tested four slots
//   at a time;
// - circles are computed in double precision together with a bound on how far every in-circle
//   decision made from them can lie from the exact one (and the long-double one); only
//   decisions within that bound of their threshold are taken again, exactly;
// - the cavity's shared edges are noted while it grows, and the fan is linked through
//   per-point tables, instead of pairwise searches; which of a rim triangle's slots face the
//   cavity is noted too, so that linking the rim reads no slots of the triangles beyond it;
// - the work areas (megabytes at capacity) live in the LocateState from one run to the next,
//   so that a run neither takes fresh pages nor clears them: every entry a run reads it has
//   written itself, but for the stamps, which continue from the last run's;
// - the ranking sorts (coordinate, point) pairs by the model's own quicksort, step for step,
//   rather than point numbers that reach into the coordinates for every comparison.
//
// The linking relies on what insertion maintains: every triangle is counter-clockwise (a fan is
// made only when all its triangles are, exactly), so each directed edge belongs to one triangle, each cavity's outline is a simple cycle, and an edge is shared
// by two cavity triangles exactly when they are neighbours across it. Where the outline is not
// a simple cycle the plain searches run instead. The rim's noted slots rely on neighbour lists
// being symmetric, which linking along a simple outline keeps; once a plain search has run, the
// rim triangles' slots are read again.
namespace terravue::tin {

using model::SurfaceModel;

namespace {

// Unit roundoff of double.
constexpr double Unit = 0x1p-53;

// The tests build this file a second time with TERRAVUE_CHECKED_INSERTION defined: every
// decision then taken in double precision (or from the bounds) is also taken the plain way
// (exactly, or in long double where the plain way is long double), and each disagreement is
// counted. The entry point is then CheckedInsertPoints.
#ifdef TERRAVUE_CHECKED_INSERTION
constexpr bool Checked = true;
#else
constexpr bool Checked = false;
#endif

// Position in insertion order: points 1..n sorted along the longer axis, then the super
// triangle's corners n + 1..n + 3.
using Rank = std::uint16_t;

struct Position {
  double x = 0;
  double y = 0;
};

// Everything the insertion keeps per triangle slot but the bounds, in one cache line: a cavity
// or rim triangle is visited, tested against its circle and relinked in one go.
//
// - corners (ranks), neighbours, and per neighbour slot the triangle's edge (0: corners 0-1,
//   1: 1-2, 2: 2-0) across which that neighbour lies, kept with every link so that the outline
//   needs no corner comparisons;
// - which point's cavity or rim it was last in (the run's stamp base plus 2k: the k-th point's
//   cavity, plus 2k + 1: its rim),
//   and on the rim its position in the rim list; the in-circle verdict for the k-th point;
// - the circumcircle in double precision, centre relative to the lower left corner of the
//   extents and given along and across the sort axis. For a point at squared distance d2 from
//   the centre, the double decisions lie within error0 + error2 * d2 of the long-double ones.
//   A negative radius marks a triangle too thin to have a circle.
struct alignas(64) Slot {
  std::array<Rank, 3> corner{};
  std::array<TriangleIndex, 3> neighbour{};
  std::array<std::uint8_t, 3> edgeOf{};
  std::uint32_t stamp = 0;
  std::uint32_t rimIndex = 0;
  std::uint32_t verdictStamp = 0;  // the insertion whose in-circle verdict the slot holds (its cavity stamp)
  bool verdict = false;
  bool late = false;  // made after the run's first step that was not exact (see tolerated_)
  double centreAlong = 0;
  double centreAcross = 0;
  double radius2 = 0;
  float error0 = 0;
  float error2 = 0;
};

// Bounds outside which the point-in-triangle test is certainly false, in fixed point (see
// fixedScale_), rounded outwards: the lowest value and the span above it, across and along the
// sort axis. An unsigned difference tests both ends with one comparison.
struct Bounds {
  static constexpr std::uint32_t Everything = 0xffffffffu;  // a thin triangle: always tested in full
  std::uint32_t lowAcross, spanAcross, lowAlong, spanAlong;
  // Points come in order along the sort axis, so the triangles of the front nearly all reach
  // the point's position along it: across is the test that excludes.
  bool HoldsAcross(std::uint32_t across) const { return across - lowAcross <= spanAcross; }
  bool HoldsAlong(std::uint32_t along) const { return along - lowAlong <= spanAlong; }
  bool Bounded() const { return !(lowAcross == 0 && spanAcross == Everything); }
};

// Eight bytes, so that it is copied in one move.
struct alignas(8) Edge {
  Rank start = 0;
  Rank end = 0;
  TriangleIndex across = NoTriangle;  // the rim triangle on the other side, if any
};

// What a cavity triangle's edges face, noted while the cavity grows.
struct CavityEdges {
  std::uint8_t shared = 0;  // bit e: edge e faces another cavity triangle
  std::array<TriangleIndex, 3> across{};
};

// For each corner of one cavity's outline, the cavity-list positions of the fan triangles whose
// outline edge starts and ends there; stamped per insertion, so nothing is cleared.
class OutlineIndex {
 public:
  // Entries from earlier runs carry smaller stamps, so growing is enough; Clear() is for when
  // the stamps start again from zero.
  void Allocate(std::size_t ranks) {
    if (byRank_.size() < ranks) byRank_.resize(ranks);
  }
  void Clear() { std::fill(byRank_.begin(), byRank_.end(), Entry{}); }
  void Reset(std::uint32_t stamp) { stamp_ = stamp; }
  // False when the corner already starts (or ends) an edge: the outline is not a simple cycle.
  bool Add(Rank start, Rank end, int position) {
    Entry& s = byRank_[start];
    Entry& e = byRank_[end];
    const bool simple = (s.startStamp != stamp_) & (e.endStamp != stamp_);
    s.startStamp = stamp_;
    s.start = position;
    e.endStamp = stamp_;
    e.end = position;
    return simple;
  }
  int StartingAt(Rank r) const { return byRank_[r].startStamp == stamp_ ? byRank_[r].start : -1; }
  int EndingAt(Rank r) const { return byRank_[r].endStamp == stamp_ ? byRank_[r].end : -1; }

 private:
  struct Entry {
    std::uint32_t startStamp = 0, endStamp = 0;
    int start = -1, end = -1;
  };

  std::vector<Entry> byRank_;
  std::uint32_t stamp_ = 0;
};

// The fan triangles that take the place of removed neighbours in one rim triangle's list (at
// most three, one per edge), as cavity-list positions.
struct RimLinks {
  std::uint8_t facing = 0;  // bit j: the rim triangle's neighbour slot j names a cavity triangle
  int count = 0;
  int positions[3] = {0, 0, 0};
  std::uint8_t edges[3] = {0, 0, 0};  // the rim triangle's edge each fan triangle lies across
};

// Rounds a non-negative bound up to float. A bound beyond the float range becomes infinite and
// a NaN stays NaN; either sends every decision on the slot to the long-double path.
float UpToFloat(double bound) { return static_cast<float>(bound * (1 + 0x1p-20) + 1e-30); }

// Per fan triangle (cavity-list position): the positions of the fan triangles whose edges
// follow and precede its own on the outline.
struct FanNeighbours {
  int following, preceding;
};

struct Frame {
  std::uint32_t entry;  // position in cavity_
  int slot;             // the next neighbour slot to follow
};

// A point with its coordinate along the sort axis.
struct Keyed {
  double key;
  PointIndex point;
};

// The work areas of a run, kept between runs: a run at capacity needs megabytes, and taking
// fresh ones each time costs a page fault per page and their clearing. A run writes every
// entry it reads (slots as they are made, per rank entries in the ranking) except the stamped
// ones, whose stamps continue from the last run's.
struct Workspace {
  std::vector<Keyed> keyed;
  std::vector<PointIndex> order;
  std::vector<Position> pos;
  std::vector<std::uint32_t> fixedX, fixedY;
  std::vector<Slot> slot;
  std::vector<Bounds> bounds;
  std::vector<std::uint32_t> lowAcross, spanAcross;
  std::vector<std::uint64_t> open;
  OutlineIndex outline;
  std::vector<RimLinks> rimLinks;
  std::vector<FanNeighbours> fanNeighbours;
  std::vector<TriangleIndex> cavity;
  std::vector<CavityEdges> cavityEdges;
  std::vector<TriangleIndex> rim;
  std::vector<Edge> edges;
  std::vector<Frame> stack;
  std::uint32_t stampBase = 0;  // every stamp of earlier runs lies below it
};

class PointInserter {
 public:
  PointInserter(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options, Workspace& work)
      : m_(m), state_(state), port_(port), options_(options), work_(work) {
    Exchange();
  }
  ~PointInserter() { Exchange(); }
  PointInserter(const PointInserter&) = delete;
  PointInserter& operator=(const PointInserter&) = delete;

  TriangulationStatus Run();
  long Disagreements() const { return disagreements_; }
  const std::optional<PointPair>& SamePlacePair() const { return samePlace_; }
  // Whether the run's steps were all exact; if not, the triangles with an edge that fails the
  // circle test.
  bool Delaunay() const { return !tolerated_; }
  const std::vector<TriangleIndex>& Failing() const { return failing_; }

 private:
  struct CircleVerdict {
    bool complete;  // the circle lies wholly behind the point along the sort axis
    bool in;        // the point is inside the circle by the tolerance (InsideCircle)
  };

  bool Allocate();
  void RankPoints();
  void MakeSuperTriangle();
  // Corners 1 and 2 of a triangle less corner 0.
  struct CornerOffsets {
    double d1x, d1y, d2x, d2y;
  };
  void SetGeometry(TriangleIndex t);
  void SetGeometry(TriangleIndex t, const CornerOffsets& offsets);
  void SetCircle(Slot& s, double cornerX, double cornerY, double d1x, double d1y, double d2x, double d2y, double h,
                 double crossError);
  void SetBounds(TriangleIndex t, double d1x, double d1y, double d2x, double d2y, double cross, double crossError);
  void InsertPoint(int k);
  void StartCavity(TriangleIndex t);
  bool OutlineVisible();
  bool RestartAtContainer(TriangleIndex located);
  struct Container {
    TriangleIndex triangle = NoTriangle;
    TriangleIndex across = NoTriangle;  // when the point lies on the edge between the two
  };
  Container FindContainer(TriangleIndex t) const;
  std::array<int, 3> SidesOf(TriangleIndex t) const;
  TriangleIndex AcrossCorners(TriangleIndex t, int e) const;
  TriangleIndex LocateContainingTriangle();
  TriangleIndex LocateByBounds();
  TriangleIndex LocateByPlainScan() const;
  bool HoldsPosition(TriangleIndex t);
  bool PointInTriangle(TriangleIndex t) const;
  void GrowCavity();
  void TestNeighbours(TriangleIndex t);
  bool InCircle(TriangleIndex t);
  bool InCircleExact(TriangleIndex t);
  bool RimTolerated() const;
  CircleVerdict ExactVerdict(TriangleIndex t) const;
  void Expect(bool agreed) {
    if constexpr (Checked) disagreements_ += agreed ? 0 : 1;
  }
  void CollectCavityEdges();
  void BuildFan();
  void LinkNeighbours();
  bool Link(TriangleIndex t, TriangleIndex u, std::uint8_t edgeT, std::uint8_t edgeU);
  void LinkRim();
  void LinkFan();
  void LinkRimBySearch();
  void LinkFanBySearch();
  void WriteTriangles();
  void FindFailingEdges();
  void ShowProgress(int percent);

  XY At(Rank r) const { return {pos_[r].x, pos_[r].y}; }
  Circumcircle ExactCircle(TriangleIndex t) const {
    const auto& c = slot_[t].corner;
    return CircumcircleOf(At(c[0]), At(c[1]), At(c[2]));
  }
  void MarkComplete(TriangleIndex t) { open_[t >> 6] &= ~(std::uint64_t{1} << (t & 63)); }
  bool InCavity(TriangleIndex t) const { return slot_[t].stamp == cavityStamp_; }
  bool Visited(TriangleIndex t) const { return slot_[t].stamp >= cavityStamp_; }
  static std::uint8_t SlotsNaming(const Slot& s, TriangleIndex t) {
    return static_cast<std::uint8_t>(unsigned{s.neighbour[0] == t} | unsigned{s.neighbour[1] == t} << 1 |
                                     unsigned{s.neighbour[2] == t} << 2);
  }
  bool Lists(TriangleIndex t, TriangleIndex u) const {
    const auto& n = slot_[t].neighbour;
    return n[0] == u || n[1] == u || n[2] == u;
  }
  int SharedCorners(TriangleIndex t, TriangleIndex u) const {
    const auto& c = slot_[u].corner;
    int shared = 0;
    for (Rank corner : slot_[t].corner) shared += (c[0] == corner || c[1] == corner || c[2] == corner) ? 1 : 0;
    return shared;
  }
  // The edge of t opposite its corner that u lacks.
  std::uint8_t SharedEdge(TriangleIndex t, TriangleIndex u) const {
    const auto& c = slot_[t].corner;
    const auto& d = slot_[u].corner;
    const bool has0 = (c[0] == d[0]) | (c[0] == d[1]) | (c[0] == d[2]);
    const bool has1 = (c[1] == d[0]) | (c[1] == d[1]) | (c[1] == d[2]);
    return !has0 ? 1 : (!has1 ? 2 : 0);
  }

  // Takes the work areas on, or hands them back.
  void Exchange() {
    std::swap(keyed_, work_.keyed);
    std::swap(order_, work_.order);
    std::swap(pos_, work_.pos);
    std::swap(fixedX_, work_.fixedX);
    std::swap(fixedY_, work_.fixedY);
    std::swap(slot_, work_.slot);
    std::swap(bounds_, work_.bounds);
    std::swap(lowAcross_, work_.lowAcross);
    std::swap(spanAcross_, work_.spanAcross);
    std::swap(open_, work_.open);
    std::swap(outline_, work_.outline);
    std::swap(rimLinks_, work_.rimLinks);
    std::swap(fanNeighbours_, work_.fanNeighbours);
    std::swap(cavity_, work_.cavity);
    std::swap(cavityEdges_, work_.cavityEdges);
    std::swap(rim_, work_.rim);
    std::swap(edges_, work_.edges);
    std::swap(stack_, work_.stack);
  }

  SurfaceModel& m_;
  LocateState& state_;
  UserPort& port_;
  InsertionOptions options_;
  Workspace& work_;
  TriangulationStatus status_ = TriangulationStatus::Success;
  int gauge_ = -1;

  std::vector<Keyed> keyed_;       // the ranking's work area
  std::vector<PointIndex> order_;  // by rank: the point's index in the model
  std::vector<Position> pos_;      // by rank
  std::vector<std::uint32_t> fixedX_, fixedY_;  // by rank: the position in the bounds' fixed point
  // Per triangle slot.
  std::vector<Slot> slot_;
  std::vector<Bounds> bounds_;
  // The bounds across the sort axis once more, by themselves, for the locate's first pass; the
  // spans with their top bit flipped, so that a signed comparison orders them as unsigned.
  std::vector<std::uint32_t> lowAcross_, spanAcross_;
  // One bit per slot that is not complete. Complete triangles are never reused, so scanning
  // the set bits downward visits the same triangles in the same order as a scan over flags.
  std::vector<std::uint64_t> open_;
  double originX_ = 0, originY_ = 0;
  double slack_ = 0;
  // Fixed point for the bounds: relative coordinates from the lower left corner of the super
  // triangle's box, in units of a 2^31-th of its larger side; truncation is monotonic, so a
  // position inside a bound stays inside it.
  double fixedOriginX_ = 0, fixedOriginY_ = 0, fixedScale_ = 0;
  bool boundsUsable_ = false;
  // Clamped to the range first (a NaN to 0), so that the conversion is defined.
  std::uint32_t FixedBelow(double v, double origin) const {
    double f = (v - origin) * fixedScale_;
    f = f > 0 ? f : 0;
    f = f < 4294967295.0 ? f : 4294967295.0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(f));
  }
  std::uint32_t stampBase_ = 0;
  std::uint32_t cavityStamp_ = 0;
  OutlineIndex outline_;
  std::vector<RimLinks> rimLinks_;  // parallel to rim_
  std::vector<FanNeighbours> fanNeighbours_;
  bool simpleOutline_ = true;
  // Every triangle lists each of its neighbours exactly when that neighbour lists it. Linking a
  // fan along a simple outline keeps that; the plain searches are not relied on to.
  bool linksSymmetric_ = true;
  // The fan reuses the cavity's slots from its last entry back, then appends: fan triangle f
  // (made from outline edge f) sits at this position of the cavity list, and back.
  std::size_t reused_ = 0;
  std::size_t PositionOfEdge(std::size_t f) const { return f < reused_ ? reused_ - 1 - f : f; }

  std::vector<TriangleIndex> cavity_;
  std::vector<CavityEdges> cavityEdges_;  // parallel to cavity_ while it grows
  std::vector<TriangleIndex> rim_;
  // The cavity's outline, in list order: the first edgeCount_ entries. Sized for the largest
  // cavity so far, so that it is never cleared.
  std::vector<Edge> edges_;
  std::size_t edgeCount_ = 0;
  std::vector<CornerOffsets> fanOffsets_;  // per outline edge, for its fan triangle
  std::vector<Frame> stack_;

  // The point being inserted: its rank, its position, and the same relative to the lower left
  // corner of the extents, also along and across the sort axis.
  Rank p_ = 0;
  XY position_;
  double relativeX_ = 0, relativeY_ = 0;
  double relativeAlong_ = 0, relativeAcross_ = 0;
  // For the circles' bounds: the largest coordinate of any corner or point, absolute and
  // relative to the lower left corner of the extents.
  double magnitude_ = 0;
  // True when every sum of two coordinates along the sort axis is exact in long double, which
  // holds when their magnitudes lie within a factor 2^10 of each other: a sum then spans at most
  // 64 significant bits. The edges' midpoints then compare as the coordinates do.
  bool exactKeySums_ = false;
  long disagreements_ = 0;  // counted in the checked build only
  std::optional<PointPair> samePlace_;
  // Set when an insertion was not an exact Bowyer-Watson step: a triangle stayed out of a cavity
  // by the tolerance though the point lay in its circle, the cavity grew from a triangle that
  // does not hold the point strictly, or the point went into its triangle without a cavity.
  // Until then each step keeps the triangulation Delaunay exactly.
  bool tolerated_ = false;
  // A triangle this point's circle tests left out of the cavity may have the point inside its
  // circle (by less than the tolerance): the rim is then looked at exactly (RimTolerated).
  bool nearCircle_ = false;
  // Of the triangle the locate took, the edges (bit e: corners e, e + 1) the point may not lie
  // strictly inside of, by the locate's double-precision areas.
  std::uint8_t seedUnsure_ = 7;
  std::vector<TriangleIndex> failing_;
};

TriangulationStatus PointInserter::Run() {
  if (!options_.quiet) port_.BeginProgress(msg::TriangulatingData, true);
  ShowProgress(0);
  if (Allocate()) {
    RankPoints();
    MakeSuperTriangle();
    // No triangle can hold two points at one place apart: the run stops before it starts.
    const auto pair = FindSamePlacePair(m_.PointCount, m_.SortAxisIsX, [this](int k) {
      const Position& p = pos_[static_cast<std::size_t>(k)];
      return PlacedPoint{p.x, p.y, order_[static_cast<std::size_t>(k)]};
    });
    if (pair) {
      status_ = TriangulationStatus::DuplicatePoints;
      samePlace_ = pair;
    }
    for (int k = 1; k <= m_.PointCount && status_ == TriangulationStatus::Success; ++k) {
      ShowProgress((k - 1) * 100 / m_.PointCount);
      InsertPoint(k);
    }
    WriteTriangles();
    if (tolerated_ && status_ == TriangulationStatus::Success) FindFailingEdges();
    ShowProgress(100);
  }
  if (!options_.quiet) {
    port_.EndProgress();
    if (status_ == TriangulationStatus::Success && !options_.autoProcessActive)
      port_.ShowCompletion(msg::TriangulationComplete);
  }
  return status_;
}

void PointInserter::ShowProgress(int percent) {
  if (options_.quiet || percent == gauge_) return;
  gauge_ = percent;
  port_.SetProgress(percent);
}

// Work areas for every triangle slot the store has: a full run reaches 2n + 1 triangles. They
// only ever grow; what a run reads it writes first, apart from the stamps (see Workspace).
bool PointInserter::Allocate() {
  const std::size_t n = m_.PointCount;
  const std::size_t slots = m_.TriVertex.size();
  const bool room = m_.PointX.size() > n + 3 && slots > 2 * n + 2 && m_.TriNeighbour.size() == slots;
  try {
    if (!room) throw std::bad_alloc();
    const auto atLeast = [](auto& list, std::size_t size) {
      if (list.size() < size) list.resize(size);
    };
    atLeast(keyed_, n + 1);
    atLeast(order_, n + 4);
    atLeast(pos_, n + 4);
    atLeast(fixedX_, n + 4);
    atLeast(fixedY_, n + 4);
    atLeast(slot_, slots);
    atLeast(bounds_, slots);
    // Whole words of slots: the locate reads them sixteen at a time.
    atLeast(lowAcross_, (slots + 63) / 64 * 64);
    atLeast(spanAcross_, (slots + 63) / 64 * 64);
    open_.assign(slots / 64 + 1, ~std::uint64_t{0});
    outline_.Allocate(n + 4);
    constexpr std::size_t Typical = 64;  // a cavity rarely holds more; the lists grow if needed
    cavity_.reserve(Typical);
    cavityEdges_.reserve(Typical);
    rim_.reserve(Typical);
    rimLinks_.reserve(Typical);
    fanNeighbours_.reserve(Typical);
    edges_.reserve(Typical);
    stack_.reserve(Typical);
  } catch (const std::bad_alloc&) {
    port_.ShowError(msg::ErrorAllocatingMemory);
    status_ = TriangulationStatus::OutOfMemory;
    return false;
  }
  // This run's stamps lie above every earlier one, up to stampBase_ + 2n + 1; when they would
  // run out, every stamp starts again from zero.
  const std::uint32_t stamps = 2 * static_cast<std::uint32_t>(n) + 2;
  if (work_.stampBase > std::numeric_limits<std::uint32_t>::max() - stamps) {
    work_.stampBase = 0;
    for (Slot& s : slot_) s.stamp = s.verdictStamp = 0;
    outline_.Clear();
  }
  stampBase_ = work_.stampBase;
  work_.stampBase += stamps;
  order_[0] = NoPoint;
  slot_[0] = Slot{};  // no triangle: never in a cavity
  for (int t = 0; t <= 3; ++t) m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};
  originX_ = m_.MinX;
  originY_ = m_.MinY;
  // Far more than the rounding of a coordinate's offset from the origin.
  const double largest = std::max({std::fabs(m_.MinX), std::fabs(m_.MaxX), std::fabs(m_.MinY), std::fabs(m_.MaxY), 1.0});
  slack_ = 1e-6 + largest * 1e-14;
  return true;
}

void PointInserter::RankPoints() {
  const int n = m_.PointCount;
  m_.SortAxisIsX = !((m_.MaxY - m_.MinY) > (m_.MaxX - m_.MinX));
  const auto& key = m_.SortAxisIsX ? m_.PointX : m_.PointY;
  for (int r = 1; r <= n; ++r) keyed_[static_cast<std::size_t>(r)] = {key[static_cast<std::size_t>(r)], static_cast<PointIndex>(r)};
  model::SortAlongAxis(keyed_.data(), 1, n, [](const Keyed& k) { return k.key; });
  for (int r = 1; r <= n; ++r) order_[static_cast<std::size_t>(r)] = keyed_[static_cast<std::size_t>(r)].point;
  if constexpr (Checked) {
    std::vector<PointIndex> plain;
    m_.SortPointsAlongLongerAxis(plain, 1, static_cast<PointIndex>(n));
    Expect(std::equal(plain.begin() + 1, plain.end(), order_.begin() + 1));
  }
  for (int r = 1; r <= n; ++r) {
    const Keyed& k = keyed_[static_cast<std::size_t>(r)];
    pos_[static_cast<std::size_t>(r)] = m_.SortAxisIsX ? Position{k.key, m_.PointY[k.point]} : Position{m_.PointX[k.point], k.key};
  }
  for (int r = n + 1; r <= n + 3; ++r) order_[static_cast<std::size_t>(r)] = static_cast<PointIndex>(r);
}

// The equilateral triangle of circumradius three times the larger extent about the centre of
// the extents, counter-clockwise.
void PointInserter::MakeSuperTriangle() {
  const int n = m_.PointCount;
  const Real cx = (Real{m_.MinX} + Real{m_.MaxX}) / 2;
  const Real cy = (Real{m_.MinY} + Real{m_.MaxY}) / 2;
  const Real d = 3 * std::max(Real{m_.MaxX} - Real{m_.MinX}, Real{m_.MaxY} - Real{m_.MinY});
  const Real corners[3][2] = {{cx - 0.86603L * d, cy - d / 2}, {cx + 0.86603L * d, cy - d / 2}, {cx, cy + d}};
  for (int i = 0; i < 3; ++i) {
    m_.PointX[n + 1 + i] = static_cast<double>(corners[i][0]);
    m_.PointY[n + 1 + i] = static_cast<double>(corners[i][1]);
    m_.BorderNext[n + 1 + i] = NoPoint;
    pos_[static_cast<std::size_t>(n + 1 + i)] = {m_.PointX[n + 1 + i], m_.PointY[n + 1 + i]};
  }
  m_.TriangleCount = 1;
  state_.LastTriangle = 1;
  double largest = 0;
  for (int r = 1; r <= n + 3; ++r) {
    const Position& p = pos_[static_cast<std::size_t>(r)];
    largest = std::max({largest, 2 * std::fabs(p.x - originX_) + std::fabs(p.x), 2 * std::fabs(p.y - originY_) + std::fabs(p.y)});
  }
  magnitude_ = 2 * largest;
  double smallestKey = std::numeric_limits<double>::infinity(), largestKey = 0;
  bool finite = true;
  for (int r = 1; r <= n + 3; ++r) {
    const Position& p = pos_[static_cast<std::size_t>(r)];
    const double key = std::fabs(m_.SortAxisIsX ? p.x : p.y);
    finite = finite && std::isfinite(key);
    smallestKey = std::min(smallestKey, key);
    largestKey = std::max(largestKey, key);
  }
  exactKeySums_ = std::numeric_limits<Real>::digits >= 64 && finite && smallestKey > 0 && largestKey < 0x1p10 * smallestKey;
  const Position& left = pos_[static_cast<std::size_t>(n + 1)];
  const Position& top = pos_[static_cast<std::size_t>(n + 3)];
  const double side = std::max(pos_[static_cast<std::size_t>(n + 2)].x - left.x, top.y - left.y);
  fixedOriginX_ = left.x - originX_;
  fixedOriginY_ = left.y - originY_;
  fixedScale_ = 0x1p31 / side;
  // The long-double areas of the tolerant test are exact to far better than the tolerance only
  // while every offset between positions is below this; beyond it no triangle gets bounds.
  boundsUsable_ = side < 1e7;
  for (int r = 1; r <= n + 3; ++r) {
    const Position& p = pos_[static_cast<std::size_t>(r)];
    fixedX_[static_cast<std::size_t>(r)] = FixedBelow(p.x - originX_, fixedOriginX_);
    fixedY_[static_cast<std::size_t>(r)] = FixedBelow(p.y - originY_, fixedOriginY_);
  }
  slot_[1] = Slot{};
  slot_[1].corner = {static_cast<Rank>(n + 1), static_cast<Rank>(n + 2), static_cast<Rank>(n + 3)};
  SetGeometry(1);
}

// The circle and bounds of the slot for its corners, which are counter-clockwise: the fan is
// checked before it is made (OutlineVisible). A triangle so thin that its double-precision
// circle means nothing gets infinite bounds, and every decision on it is taken exactly.
void PointInserter::SetGeometry(TriangleIndex t) {
  const Slot& s = slot_[t];
  const Position& p0 = pos_[s.corner[0]];
  const Position& p1 = pos_[s.corner[1]];
  const Position& p2 = pos_[s.corner[2]];
  SetGeometry(t, {p1.x - p0.x, p1.y - p0.y, p2.x - p0.x, p2.y - p0.y});
}

void PointInserter::SetGeometry(TriangleIndex t, const CornerOffsets& offsets) {
  Slot& s = slot_[t];
  const Position& p0 = pos_[s.corner[0]];
  const auto [d1x, d1y, d2x, d2y] = offsets;
  const double first = d1x * d2y, second = d2x * d1y;
  const double cross = first - second;
  // Both precisions are within this of the exact area of the given corners.
  const double crossError = 5 * Unit * (std::fabs(first) + std::fabs(second));
  const double h = 0.5 / std::fabs(cross);
  SetCircle(s, p0.x - originX_, p0.y - originY_, d1x, d1y, d2x, d2y, h, crossError);
  SetBounds(t, d1x, d1y, d2x, d2y, cross, crossError);
  lowAcross_[t] = bounds_[t].lowAcross;
  spanAcross_[t] = bounds_[t].spanAcross ^ 0x80000000u;
}

// The circle of the slot in double precision and the bounds on its decisions.
//
// Each quantity is computed as in long double and carries a first-order bound on its distance
// from the exact value for the given corners, from the unit roundoff and the magnitudes of its
// operands, with a few per cent added for the higher-order terms. The long-double path's
// errors have the same form with a smaller unit (its centre is placed in absolute coordinates,
// hence the absolute magnitudes), so twice the double bound, plus a little, covers the
// distance between the two decisions. The term in |along| + |across| is folded into the other
// two by |along| + |across| <= sqrt(2 d2) <= d2 / U + U / 2 for any U > 0. Where the area is
// not known to better than one part in a thousand the bound is left infinite.
void PointInserter::SetCircle(Slot& s, double cornerX, double cornerY, double d1x, double d1y, double d2x, double d2y,
                              double h, double crossError) {
  const double a = d1x * d1x + d1y * d1y;
  const double b = d2x * d2x + d2y * d2y;
  const double ux = (a * d2y - b * d1y) * h;
  const double uy = (d1x * b - d2x * a) * h;
  const double radius2 = ux * ux + uy * uy;
  const double centreX = cornerX + ux, centreY = cornerY + uy;
  s.centreAlong = m_.SortAxisIsX ? centreX : centreY;
  s.centreAcross = m_.SortAxisIsX ? centreY : centreX;
  s.radius2 = radius2;

  double error0 = std::numeric_limits<double>::infinity(), error2 = error0;
  if (2000 * h * crossError < 1) {  // the area exceeds 1000 crossError
    const double eta = 1.01 * (2.0022 * h * crossError + Unit);  // relative error of h
    // Bounds |ux| and |uy| and both numerators' terms times h.
    const double terms = h * (a + b) * (std::fabs(d1x) + std::fabs(d1y) + std::fabs(d2x) + std::fabs(d2y));
    const double errorU = 1.02 * terms * (10 * Unit + eta);
    const double u = std::fabs(ux) + std::fabs(uy);
    // The centre and the point relative to the origin, the long-double centre in absolute
    // coordinates.
    const double errorCentre = 1.02 * (errorU + Unit * (magnitude_ + 2 * u));
    // The radius's error 2 u errorU + 2 errorU^2 + 3 Unit r2 is at most 2 u errorCentre +
    // 2 errorCentre^2 + 3 Unit r2.
    error0 = 2.1 * (3.0001 * u * errorCentre + 6 * errorCentre * errorCentre + 4 * Unit * radius2);
    // The fold works with any positive U; a power of two at most u saves a division.
    const auto exponent = std::bit_cast<std::uint64_t>(u) >> 52;  // u is positive
    const double inverse = exponent > 0 && exponent < 2046 ? std::bit_cast<double>((2046 - exponent) << 52)
                                                           : std::numeric_limits<double>::infinity();
    error2 = 2.1 * (2.0001 * errorCentre * inverse + 5.01 * Unit);
  }
  s.error0 = UpToFloat(error0);
  s.error2 = UpToFloat(error2);
}

// The doubled areas of a point against the three edges sum to the triangle's, so the tolerant
// test can pass only within the triangle scaled about its centroid by 1 + 3e, with
// e = tolerance / area, which lies within the bounding box grown by 3e times its larger side.
// Twice the tolerance covers the rounding of the areas, the slack that of the corners' offsets
// from the origin; thin triangles are always tested in full. The box is taken from the corners'
// fixed-point positions, which are monotonic in the positions. The area is taken at the low end
// of its rounding, so that it is certainly above 1e-3 (HoldsPosition relies on that) and the
// margin is certainly wide enough.
void PointInserter::SetBounds(TriangleIndex t, double d1x, double d1y, double d2x, double d2y, double cross,
                              double crossError) {
  Bounds& bounds = bounds_[t];
  const double area = cross - 2 * crossError;
  if (!(area > 1e-3) || !boundsUsable_) {
    bounds = {0, Bounds::Everything, 0, Bounds::Everything};
    return;
  }
  const auto& c = slot_[t].corner;
  const std::uint32_t x0 = fixedX_[c[0]], x1 = fixedX_[c[1]], x2 = fixedX_[c[2]];
  const std::uint32_t y0 = fixedY_[c[0]], y1 = fixedY_[c[1]], y2 = fixedY_[c[2]];
  const double width = std::max(std::max(d1x, d2x), 0.0) - std::min(std::min(d1x, d2x), 0.0);
  const double height = std::max(std::max(d1y, d2y), 0.0) - std::min(std::min(d1y, d2y), 0.0);
  // Three fixed units more cover the truncations on both sides.
  const double margin = ((std::max(width, height) * (3 * 2e-4) / area + slack_) * fixedScale_ + 3) * (1 + 0x1p-40);
  if (!(margin < 4294967295.0)) {
    bounds = {0, Bounds::Everything, 0, Bounds::Everything};
    return;
  }
  const auto grow = static_cast<std::int64_t>(margin);
  constexpr std::int64_t Top = Bounds::Everything;
  // Two-argument forms: the list forms are not unrolled, and this runs for every new triangle.
  const std::int64_t lowX = std::max<std::int64_t>(std::int64_t{std::min(std::min(x0, x1), x2)} - grow, 0);
  const std::int64_t highX = std::min<std::int64_t>(std::int64_t{std::max(std::max(x0, x1), x2)} + grow, Top);
  const std::int64_t lowY = std::max<std::int64_t>(std::int64_t{std::min(std::min(y0, y1), y2)} - grow, 0);
  const std::int64_t highY = std::min<std::int64_t>(std::int64_t{std::max(std::max(y0, y1), y2)} + grow, Top);
  const auto spanX = static_cast<std::uint32_t>(highX - lowX), spanY = static_cast<std::uint32_t>(highY - lowY);
  if (m_.SortAxisIsX)
    bounds = {static_cast<std::uint32_t>(lowY), spanY, static_cast<std::uint32_t>(lowX), spanX};
  else
    bounds = {static_cast<std::uint32_t>(lowX), spanX, static_cast<std::uint32_t>(lowY), spanY};
}

void PointInserter::InsertPoint(int k) {
  p_ = static_cast<Rank>(k);
  const Position& p = pos_[p_];
  position_ = {p.x, p.y};
  relativeX_ = p.x - originX_;
  relativeY_ = p.y - originY_;
  relativeAlong_ = m_.SortAxisIsX ? relativeX_ : relativeY_;
  relativeAcross_ = m_.SortAxisIsX ? relativeY_ : relativeX_;
  cavityStamp_ = stampBase_ + 2 * static_cast<std::uint32_t>(k);

  const TriangleIndex t = LocateContainingTriangle();
  if (t == NoTriangle) {
    // Only a triangle wrongly marked complete can hide a point; a point left out of the
    // surface would be a silent hole, so the run fails instead.
    status_ = TriangulationStatus::DuplicatePoints;
    return;
  }
  // A cavity grown from a triangle that does not hold the point (the locate's tolerance) is not
  // the exact one; on its edge, it is.
  if (seedUnsure_ != 0 && !tolerated_) [[unlikely]] {
    const auto& c = slot_[t].corner;
    const Position& p = pos_[p_];
    for (int e = 0; e < 3 && !tolerated_; ++e) {
      if ((seedUnsure_ >> e & 1) == 0) continue;
      const Position& a = pos_[c[static_cast<std::size_t>(e)]];
      const Position& b = pos_[c[static_cast<std::size_t>((e + 1) % 3)]];
      tolerated_ = OrientationSign(a.x, a.y, b.x, b.y, p.x, p.y) < 0;
    }
  }
  StartCavity(t);
  // A second try, in the triangle that holds the point exactly, always gives a star; should it
  // not, the surface would break, so the run fails instead.
  for (bool retried = false;; retried = true) {
    GrowCavity();
    CollectCavityEdges();
    if (OutlineVisible()) break;
    if (retried || !RestartAtContainer(t)) {
      status_ = TriangulationStatus::DuplicatePoints;
      return;
    }
  }
  if (nearCircle_) [[unlikely]] {
    tolerated_ = tolerated_ || RimTolerated();
    nearCircle_ = false;
  }
  BuildFan();
  LinkNeighbours();
}

void PointInserter::StartCavity(TriangleIndex t) {
  cavity_.clear();
  cavityEdges_.clear();
  rim_.clear();
  rimLinks_.clear();
  slot_[t].stamp = cavityStamp_;
  cavity_.push_back(t);
  cavityEdges_.push_back({});
}

// Every outline edge a -> b makes a counter-clockwise triangle with the point, and the outline
// has two edges more than the cavity has triangles: the cavity is a star around the point and
// the fan a valid triangulation of it. The circle test's tolerance, and the tolerance of the
// locate, can leave out a triangle the point lies in or next to; then this fails.
bool PointInserter::OutlineVisible() {
  if (edgeCount_ != cavity_.size() + 2) return false;
  if (fanOffsets_.size() < edgeCount_) fanOffsets_.resize(edgeCount_);
  const Position& p = pos_[p_];
  for (std::size_t f = 0; f < edgeCount_; ++f) {
    const Position& a = pos_[edges_[f].start];
    const Position& b = pos_[edges_[f].end];
    // The fan triangle's own offsets, which its geometry takes up again.
    const CornerOffsets offsets{a.x - p.x, a.y - p.y, b.x - p.x, b.y - p.y};
    fanOffsets_[f] = offsets;
    const double first = offsets.d1x * offsets.d2y;
    const double second = offsets.d2x * offsets.d1y;
    const double cross = first - second;
    const double error = (3 + 16 * Unit) * Unit * (std::fabs(first) + std::fabs(second));
    const bool decided = std::fabs(cross) > error;
    if constexpr (Checked) {
      if (decided) Expect((cross > 0) == (OrientationSign(a.x, a.y, b.x, b.y, p.x, p.y) > 0));
    }
    if (decided ? cross < 0 : OrientationSign(a.x, a.y, b.x, b.y, p.x, p.y) <= 0) return false;
  }
  return true;
}

// The point goes into the triangle that holds it exactly, and the one across the edge it lies
// on, if it does; the repair after the run makes the surroundings Delaunay. Their neighbours'
// verdicts are set to keep the cavity to those two, and the first try's visits are forgotten.
// The lower-numbered of two triangles seeds the cavity, so the result does not depend on the
// way the walk went.
bool PointInserter::RestartAtContainer(TriangleIndex located) {
  tolerated_ = true;
  for (TriangleIndex c : cavity_) slot_[c].stamp = 0;
  for (TriangleIndex r : rim_) slot_[r].stamp = 0;
  Container where = FindContainer(located);
  if (where.triangle == NoTriangle) return false;
  if (where.across != NoTriangle && where.across < where.triangle) std::swap(where.triangle, where.across);
  for (TriangleIndex t : {where.triangle, where.across}) {
    if (t == NoTriangle) continue;
    for (TriangleIndex n : slot_[t].neighbour) {
      if (n == NoTriangle) continue;
      slot_[n].verdictStamp = cavityStamp_;
      slot_[n].verdict = n == where.across;
    }
  }
  StartCavity(where.triangle);
  return true;
}

// The sign of each edge's turn towards the point, for a counter-clockwise triangle.
std::array<int, 3> PointInserter::SidesOf(TriangleIndex t) const {
  const auto& c = slot_[t].corner;
  const Position& p = pos_[p_];
  std::array<int, 3> sides{};
  for (int e = 0; e < 3; ++e) {
    const Position& a = pos_[c[static_cast<std::size_t>(e)]];
    const Position& b = pos_[c[static_cast<std::size_t>((e + 1) % 3)]];
    sides[static_cast<std::size_t>(e)] = OrientationSign(a.x, a.y, b.x, b.y, p.x, p.y);
  }
  return sides;
}

// The triangle holding the point exactly, by a walk across the edges the point lies beyond (the
// first such edge from a corner that turns with each step, so that the walk cannot circle for
// long), or by a scan of all triangles when the walk does not arrive.
PointInserter::Container PointInserter::FindContainer(TriangleIndex t) const {
  const auto settle = [&](TriangleIndex at, const std::array<int, 3>& sides) -> Container {
    const int zeros = (sides[0] == 0) + (sides[1] == 0) + (sides[2] == 0);
    if (zeros == 0) return {at, NoTriangle};
    if (zeros > 1) return {};  // on a corner: cannot be, without points at one place
    const int e = sides[0] == 0 ? 0 : (sides[1] == 0 ? 1 : 2);
    return {at, AcrossCorners(at, e)};
  };
  for (int step = 0; step <= m_.TriangleCount && t != NoTriangle; ++step) {
    const std::array<int, 3> sides = SidesOf(t);
    int beyond = -1;
    for (int k = 0; k < 3 && beyond < 0; ++k) {
      const int e = (k + step) % 3;
      if (sides[static_cast<std::size_t>(e)] < 0) beyond = e;
    }
    if (beyond < 0) return settle(t, sides);
    t = AcrossCorners(t, beyond);
  }
  for (int u = 1; u <= m_.TriangleCount; ++u) {
    const std::array<int, 3> sides = SidesOf(static_cast<TriangleIndex>(u));
    if (sides[0] >= 0 && sides[1] >= 0 && sides[2] >= 0) return settle(static_cast<TriangleIndex>(u), sides);
  }
  return {};
}

// The neighbour of t across its edge e (corners e and e + 1).
TriangleIndex PointInserter::AcrossCorners(TriangleIndex t, int e) const {
  const auto& c = slot_[t].corner;
  const Rank a = c[static_cast<std::size_t>(e)], b = c[static_cast<std::size_t>((e + 1) % 3)];
  for (TriangleIndex n : slot_[t].neighbour) {
    if (n == NoTriangle) continue;
    const auto& d = slot_[n].corner;
    const bool hasA = d[0] == a || d[1] == a || d[2] == a;
    const bool hasB = d[0] == b || d[1] == b || d[2] == b;
    if (hasA && hasB) return n;
  }
  return NoTriangle;
}

// The newest triangles first, skipping complete ones: with the points in sorted order the
// containing triangle lies on the recent front. When none of those holds the point, every
// triangle is tried.
TriangleIndex PointInserter::LocateContainingTriangle() {
  const TriangleIndex t = LocateByBounds();
  if constexpr (Checked) Expect(t == LocateByPlainScan());
  return t;
}

// The same without the bounds and the double-precision test, for the checked build.
TriangleIndex PointInserter::LocateByPlainScan() const {
  for (int t = m_.TriangleCount; t >= 1; --t)
    if (((open_[static_cast<std::size_t>(t) >> 6] >> (t & 63)) & 1) != 0 && PointInTriangle(static_cast<TriangleIndex>(t)))
      return static_cast<TriangleIndex>(t);
  for (int t = m_.TriangleCount; t >= 1; --t)
    if (PointInTriangle(static_cast<TriangleIndex>(t))) return static_cast<TriangleIndex>(t);
  return NoTriangle;
}

TriangleIndex PointInserter::LocateByBounds() {
  const std::uint32_t along = m_.SortAxisIsX ? fixedX_[p_] : fixedY_[p_];
  const std::uint32_t across = m_.SortAxisIsX ? fixedY_[p_] : fixedX_[p_];
  const int top = m_.TriangleCount;
  for (int word = top >> 6; word >= 0; --word) {
    std::uint64_t bits = open_[static_cast<std::size_t>(word)];
    if (word == top >> 6 && (top & 63) != 63) bits &= (std::uint64_t{2} << (top & 63)) - 1;
    if (word == 0) bits &= ~std::uint64_t{1};  // slot 0 is no triangle
    // A group of slots at a time, from the top: first the bounds of all its open slots, then
    // the full test on those they hold.
    const Bounds* bounds = &bounds_[static_cast<std::size_t>(word) << 6];
    for (int group = 48; group >= 0; group -= 16) {
      const std::uint64_t open = bits & (std::uint64_t{0xffff} << group);
      if (open == 0) continue;
      std::uint64_t candidates = 0;
#if defined(__SSE2__)
      // Four slots a time, open or not, and the bits of the open ones kept.
      const std::size_t first = (static_cast<std::size_t>(word) << 6) + static_cast<std::size_t>(group);
      const __m128i point = _mm_set1_epi32(static_cast<int>(across));
      const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
      for (int q = 0; q < 16; q += 4) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&lowAcross_[first + static_cast<std::size_t>(q)]));
        const __m128i span = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&spanAcross_[first + static_cast<std::size_t>(q)]));
        const __m128i offset = _mm_xor_si128(_mm_sub_epi32(point, low), flip);
        const int outside = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(offset, span)));
        candidates |= std::uint64_t(~outside & 0xf) << (group + q);
      }
      candidates &= open;
      if constexpr (Checked) {
        std::uint64_t plain = 0;
        for (std::uint64_t rest = open; rest != 0; rest &= rest - 1) {
          const int bit = std::countr_zero(rest);
          plain |= std::uint64_t{bounds[bit].HoldsAcross(across)} << bit;
        }
        Expect(plain == candidates);
      }
#else
      for (std::uint64_t rest = open; rest != 0; rest &= rest - 1) {
        const int bit = std::countr_zero(rest);
        candidates |= std::uint64_t{bounds[bit].HoldsAcross(across)} << bit;
      }
#endif
      while (candidates != 0) {
        const int bit = 63 - std::countl_zero(candidates);
        candidates &= ~(std::uint64_t{1} << bit);
        const auto t = static_cast<TriangleIndex>((word << 6) + bit);
        if (bounds[bit].HoldsAlong(along) && HoldsPosition(t)) return t;
      }
    }
  }
  seedUnsure_ = 7;
  for (int t = top; t >= 1; --t)
    if (PointInTriangle(static_cast<TriangleIndex>(t))) return static_cast<TriangleIndex>(t);
  return NoTriangle;
}

// PointInTriangle for the point being inserted, decided in double precision where the margin
// allows. For a counter-clockwise triangle of doubled area above 1e-3 the three doubled areas
// against the point sum to more than three times the tolerance, so the test passes exactly
// when each area exceeds -1e-4 (a triangle with bounds has such an area). An area clear of
// that by more than the rounding of both precisions decides without the long-double
// evaluation: each precision rounds the offsets, the two products and their difference within
// 4 units of |first| + |second|, 4.5e-16 of it in double, and 1e-15 covers both (and the
// thresholds' representations). Where that rounding could reach 1e-5 the test runs in full.
bool PointInserter::HoldsPosition(TriangleIndex t) {
  if (!bounds_[t].Bounded()) {
    seedUnsure_ = 7;
    return PointInTriangle(t);
  }
  const auto& c = slot_[t].corner;
  const double px = position_.x, py = position_.y;
  const double x0 = pos_[c[0]].x - px, y0 = pos_[c[0]].y - py;
  const double x1 = pos_[c[1]].x - px, y1 = pos_[c[1]].y - py;
  const double x2 = pos_[c[2]].x - px, y2 = pos_[c[2]].y - py;
  const double f0 = x0 * y1, s0 = x1 * y0;
  const double f1 = x1 * y2, s1 = x2 * y1;
  const double f2 = x2 * y0, s2 = x0 * y2;
  const double m0 = (std::fabs(f0) + std::fabs(s0)) * 1e-15;
  const double m1 = (std::fabs(f1) + std::fabs(s1)) * 1e-15;
  const double m2 = (std::fabs(f2) + std::fabs(s2)) * 1e-15;
  const double a0 = f0 - s0, a1 = f1 - s1, a2 = f2 - s2;
  // Combined without short cuts, so that the usual outcome costs one predictable branch.
  const bool roughRounding = (m0 > 1e-5) | (m1 > 1e-5) | (m2 > 1e-5);
  const bool outside = (a0 < -1e-4 - m0) | (a1 < -1e-4 - m1) | (a2 < -1e-4 - m2);
  const bool inside = (a0 > -1e-4 + m0) & (a1 > -1e-4 + m1) & (a2 > -1e-4 + m2);
  if constexpr (Checked) {
    if ((outside | inside) & !roughRounding) Expect(PointInTriangle(t) == inside);
  }
  if (outside & !roughRounding) return false;
  // Each area is within m of its exact value: the edges where it may not be positive.
  seedUnsure_ = roughRounding ? 7 : static_cast<std::uint8_t>((a0 <= m0) | (a1 <= m1) << 1 | (a2 <= m2) << 2);
  if (inside & !roughRounding) return true;
  return PointInTriangle(t);
}

// The engine's PointInTriangle, on this run's copy of the corners.
bool PointInserter::PointInTriangle(TriangleIndex t) const {
  const auto& c = slot_[t].corner;
  const XY p = position_;
  Real s[3];
  for (int i = 0; i < 3; ++i) {
    const XY a = At(c[i]);
    const XY b = At(c[(i + 1) % 3]);
    const Real area = (a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y);
    s[i] = IsZero4(area) ? 0 : area;
  }
  return (s[0] >= 0 && s[1] >= 0 && s[2] >= 0) || (s[0] <= 0 && s[1] <= 0 && s[2] <= 0);
}

// Depth first over the neighbour slots in order, as a recursion would visit them, from the
// containing triangle. What each cavity triangle's edges face is final when its slot is
// followed: a triangle visited before keeps its verdict, an unvisited one gets it there.
//
// The in-circle tests of a cavity triangle's unvisited neighbours are made as it joins, apart
// from the search, so that they overlap. Every such neighbour is tested when its slot is
// followed, or was tested before if it got visited meanwhile: the same triangles are tested,
// each once, and only the order of the complete marks differs.
void PointInserter::GrowCavity() {
  TestNeighbours(cavity_[0]);
  stack_.clear();
  stack_.push_back({0, 0});
  while (!stack_.empty()) {
    // The rest of the top entry's slots, until one leads into a new cavity triangle.
    const std::uint32_t entry = stack_.back().entry;
    const TriangleIndex from = cavity_[entry];
    const Slot& u = slot_[from];
    bool descended = false;
    for (auto j = static_cast<std::size_t>(stack_.back().slot); j < 3 && !descended; ++j) {
      const TriangleIndex n = u.neighbour[j];
      if (n == NoTriangle) continue;
      const int edge = u.edgeOf[j];
      Slot& neighbour = slot_[n];
      if (neighbour.stamp >= cavityStamp_) {
        CavityEdges& facing = cavityEdges_[entry];
        const bool inCavity = neighbour.stamp == cavityStamp_;
        facing.shared |= static_cast<std::uint8_t>(unsigned{inCavity} << edge);
        facing.across[static_cast<std::size_t>(edge)] = inCavity ? facing.across[static_cast<std::size_t>(edge)] : n;
        if (!inCavity) rimLinks_[neighbour.rimIndex].facing |= SlotsNaming(neighbour, from);
      } else if (neighbour.verdict) {
        cavityEdges_[entry].shared |= static_cast<std::uint8_t>(1u << edge);
        neighbour.stamp = cavityStamp_;
        stack_.back().slot = static_cast<int>(j + 1);
        cavity_.push_back(n);
        cavityEdges_.push_back({});
        stack_.push_back({static_cast<std::uint32_t>(cavity_.size() - 1), 0});
        TestNeighbours(n);
        descended = true;
      } else {
        cavityEdges_[entry].across[static_cast<std::size_t>(edge)] = n;
        neighbour.stamp = cavityStamp_ + 1;
        neighbour.rimIndex = static_cast<std::uint32_t>(rim_.size());
        rim_.push_back(n);
        rimLinks_.push_back({});
        rimLinks_.back().facing = SlotsNaming(neighbour, from);
      }
    }
    if (!descended) stack_.pop_back();
  }
}

void PointInserter::TestNeighbours(TriangleIndex t) {
  for (TriangleIndex n : slot_[t].neighbour) {
    Slot& s = slot_[n];
    if (n == NoTriangle || s.stamp >= cavityStamp_ || s.verdictStamp == cavityStamp_) continue;
    s.verdictStamp = cavityStamp_;
    s.verdict = InCircle(n);
  }
}

// Is the point strictly inside the circumcircle of t? A circle lying wholly behind the point
// along the sort axis can never hold a later point: t is then marked complete. Decided from
// the double circle when its bound allows, as in long double otherwise.
bool PointInserter::InCircle(TriangleIndex t) {
  const Slot& s = slot_[t];
  const double along = s.centreAlong - relativeAlong_;
  const double across = s.centreAcross - relativeAcross_;
  const double a = along * along;
  const double d2 = a + across * across;
  const double bound = s.error0 + s.error2 * d2;
  const double behind = a - s.radius2;
  const double inside = d2 - s.radius2;
  // Combined without short cuts: only the outcome itself is unpredictable. The exact test is
  // d2 - r2 <= -CircleTolerance; 1e-19 covers the threshold's representation and the rounding of
  // these sums. A circle without meaning (a NaN or an infinity from a thin triangle) decides
  // nothing here.
  const bool complete = behind > bound;
  const bool notComplete = behind < -bound;
  const bool in = notComplete & (inside + bound < -1e-4 - 1e-19);
  const bool out = complete | (notComplete & (inside - bound > -1e-4 + 1e-19));
  if (!(in | out)) return InCircleExact(t);
  // Out, but perhaps inside the circle by less than the tolerance; mostly a point on it.
  nearCircle_ |= out & !complete & (inside - bound < 0);
  if constexpr (Checked) {
    const CircleVerdict exact = ExactVerdict(t);
    Expect(exact.complete == complete && exact.in == in);
  }
  open_[t >> 6] &= ~(std::uint64_t{complete} << (t & 63));
  return in;
}

bool PointInserter::InCircleExact(TriangleIndex t) {
  const CircleVerdict verdict = ExactVerdict(t);
  if (verdict.complete) MarkComplete(t);
  nearCircle_ |= !verdict.in & !verdict.complete;
  return verdict.in;
}

// Some rim triangle has the point strictly inside its circle: the cavity is smaller than the
// exact one. Mostly a point lying on a circle, as grid nodes do, which is not.
bool PointInserter::RimTolerated() const {
  const Position& p = pos_[p_];
  for (TriangleIndex t : rim_) {
    const auto& c = slot_[t].corner;
    const Position &p0 = pos_[c[0]], &p1 = pos_[c[1]], &p2 = pos_[c[2]];
    if (CircleSign(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p.x, p.y) > 0) return true;
  }
  return false;
}

// Inside or not is decided exactly. Whether the circle lies behind the point only spares later
// points the test and the locate a look, so the long-double circle decides it; a point exactly
// inside is never behind.
PointInserter::CircleVerdict PointInserter::ExactVerdict(TriangleIndex t) const {
  const auto& c = slot_[t].corner;
  const Position& p0 = pos_[c[0]];
  const Position& p1 = pos_[c[1]];
  const Position& p2 = pos_[c[2]];
  const Position& p = pos_[p_];
  if (InsideCircle(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p.x, p.y)) return {false, true};
  const Circumcircle circle = ExactCircle(t);
  const Real along = m_.SortAxisIsX ? circle.centreX - position_.x : circle.centreY - position_.y;
  return {along * along >= circle.radius2, false};
}

// The outline of the cavity: every cavity triangle's edges, from the last triangle to the
// first, each triangle's three in ascending order of their midpoints along the sort axis,
// leaving out the edges shared by two cavity triangles (they occur once in each direction and
// cancel).
void PointInserter::CollectCavityEdges() {
  // The edge order for each outcome of the comparisons m01 < m12, m01 < m20, m12 < m20 and
  // m20 < m01 (bits 0 to 3), as the nested comparisons of the plain collection decide it.
  static constexpr std::uint8_t Orders[16][3] = {
      {2, 1, 0}, {2, 0, 1}, {2, 1, 0}, {0, 2, 1}, {1, 0, 2}, {2, 0, 1}, {1, 0, 2}, {0, 1, 2},
      {2, 1, 0}, {2, 0, 1}, {2, 1, 0}, {0, 2, 1}, {1, 2, 0}, {2, 0, 1}, {1, 2, 0}, {0, 1, 2}};
  const bool alongX = m_.SortAxisIsX;
  if (edges_.size() < 3 * cavity_.size()) edges_.resize(3 * cavity_.size());
  std::size_t count = 0;
  for (std::size_t i = cavity_.size(); i-- > 0;) {
    const CavityEdges& facing = cavityEdges_[i];
    const auto& c = slot_[cavity_[i]].corner;
    const Edge e[3] = {{c[0], c[1], facing.across[0]}, {c[1], c[2], facing.across[1]}, {c[2], c[0], facing.across[2]}};
    const double k0 = alongX ? pos_[c[0]].x : pos_[c[0]].y;
    const double k1 = alongX ? pos_[c[1]].x : pos_[c[1]].y;
    const double k2 = alongX ? pos_[c[2]].x : pos_[c[2]].y;
    const auto midpointOutcome = [&] {
      const Real m01 = (Real{k0} + k1) / 2, m12 = (Real{k1} + k2) / 2, m20 = (Real{k2} + k0) / 2;
      return unsigned{m01 < m12} | unsigned{m01 < m20} << 1 | unsigned{m12 < m20} << 2 | unsigned{m20 < m01} << 3;
    };
    unsigned outcome;
    if (exactKeySums_) {
      // m01 < m12 exactly when k0 < k2, and so on.
      outcome = unsigned{k0 < k2} | unsigned{k1 < k2} << 1 | unsigned{k1 < k0} << 2 | unsigned{k2 < k1} << 3;
      if constexpr (Checked) Expect(outcome == midpointOutcome());
    } else {
      outcome = midpointOutcome();
    }
    // Edges shared with the rest of the cavity are left out.
    for (std::uint8_t k : Orders[outcome]) {
      edges_[count] = e[k];
      count += ((facing.shared >> k) & 1u) ^ 1u;
    }
  }
  edgeCount_ = count;
}

// One triangle (p, a, b) per outline edge: the cavity's own slots from its last entry back,
// then new slots. Every one is counter-clockwise (OutlineVisible).
void PointInserter::BuildFan() {
  // The outline has two more edges than the cavity has triangles (OutlineVisible).
  const std::size_t reusable = cavity_.size();
  reused_ = reusable;
  simpleOutline_ = true;
  outline_.Reset(cavityStamp_);
  cavity_.push_back(static_cast<TriangleIndex>(m_.TriangleCount + 1));
  cavity_.push_back(static_cast<TriangleIndex>(m_.TriangleCount + 2));
  m_.TriangleCount = static_cast<std::uint16_t>(m_.TriangleCount + 2);
  for (std::size_t f = 0; f < edgeCount_; ++f) {
    const Edge& e = edges_[f];
    const TriangleIndex slot = cavity_[PositionOfEdge(f)];
    slot_[slot].corner = {p_, e.start, e.end};
    slot_[slot].late = tolerated_;
    const int position = static_cast<int>(PositionOfEdge(f));
    if (!outline_.Add(e.start, e.end, position)) simpleOutline_ = false;
    if (e.across != NoTriangle) {
      RimLinks& links = rimLinks_[slot_[e.across].rimIndex];
      if (links.count == 3) {
        simpleOutline_ = false;
      } else {
        links.edges[links.count] = SharedEdge(e.across, slot);
        links.positions[links.count++] = position;
      }
    }
  }
  // Apart from the bookkeeping above: the fan triangles' long chains of arithmetic are
  // independent of each other and overlap.
  for (std::size_t f = 0; f < edgeCount_; ++f) SetGeometry(cavity_[PositionOfEdge(f)], fanOffsets_[f]);
  if (!simpleOutline_) return;
  // No corner starts or ends two edges; the outline is a simple cycle when each edge also has
  // a distinct predecessor and successor.
  fanNeighbours_.resize(cavity_.size());
  for (std::size_t f = 0; f < edgeCount_; ++f) {
    const Edge& e = edges_[f];
    const FanNeighbours links{outline_.StartingAt(e.end), outline_.EndingAt(e.start)};
    if (links.following < 0 || links.preceding < 0 || links.following == links.preceding) simpleOutline_ = false;
    fanNeighbours_[PositionOfEdge(f)] = links;
  }
}

void PointInserter::LinkNeighbours() {
  for (TriangleIndex t : cavity_) slot_[t].neighbour = {NoTriangle, NoTriangle, NoTriangle};
  if (simpleOutline_) {
    LinkRim();
    LinkFan();
  } else {
    LinkRimBySearch();
    LinkFanBySearch();
    linksSymmetric_ = false;  // the searches do not promise it
  }
}

bool PointInserter::Link(TriangleIndex t, TriangleIndex u, std::uint8_t edgeT, std::uint8_t edgeU) {
  Slot& own = slot_[t];
  Slot& theirs = slot_[u];
  const int ownFree = own.neighbour[0] == NoTriangle ? 0 : (own.neighbour[1] == NoTriangle ? 1 : (own.neighbour[2] == NoTriangle ? 2 : 3));
  const int theirFree =
      theirs.neighbour[0] == NoTriangle ? 0 : (theirs.neighbour[1] == NoTriangle ? 1 : (theirs.neighbour[2] == NoTriangle ? 2 : 3));
  if (ownFree == 3 || theirFree == 3) return false;
  own.neighbour[static_cast<std::size_t>(ownFree)] = u;
  own.edgeOf[static_cast<std::size_t>(ownFree)] = edgeT;
  theirs.neighbour[static_cast<std::size_t>(theirFree)] = t;
  theirs.edgeOf[static_cast<std::size_t>(theirFree)] = edgeU;
  return true;
}

// The rim triangles take the fan triangles in place of the removed ones: for each slot that
// named a cavity triangle, the last fan triangle sharing two corners with the rim triangle and
// not yet listing it. A fan triangle (p, a, b) shares two corners with a rim triangle exactly
// when the rim triangle has the edge a-b, p being new.
void PointInserter::LinkRim() {
  for (std::size_t r = rim_.size(); r-- > 0;) {
    const TriangleIndex rimTriangle = rim_[r];
    Slot& rim = slot_[rimTriangle];
    RimLinks links = rimLinks_[r];
    // The slots naming cavity triangles, ascending (slot 0 is never in a cavity). With symmetric
    // links they are the ones noted while the cavity grew, which spares reading the slots of
    // the rim triangle's other neighbours.
    unsigned facing = links.facing;
    if (!linksSymmetric_ || Checked) {
      const unsigned named = (InCavity(rim.neighbour[0]) ? 1u : 0u) | (InCavity(rim.neighbour[1]) ? 2u : 0u) |
                             (InCavity(rim.neighbour[2]) ? 4u : 0u);
      if (linksSymmetric_) Expect(named == facing);
      facing = named;
    }
    // Each slot facing the cavity has its fan triangle on a simple outline; should one not,
    // the old link it keeps is no longer returned.
    if (static_cast<int>((facing & 1) + (facing >> 1 & 1) + (facing >> 2)) != links.count) linksSymmetric_ = false;
    // Descending: the plain search runs from the last fan triangle back.
    int* p = links.positions;
    std::uint8_t* edge = links.edges;
    for (int a = 1; a < links.count; ++a) {
      for (int b = a; b > 0 && p[b - 1] < p[b]; --b) {
        std::swap(p[b - 1], p[b]);
        std::swap(edge[b - 1], edge[b]);
      }
    }
    for (int next = 0; next < links.count && facing != 0; ++next, facing &= facing - 1) {
      const auto j = static_cast<std::size_t>(std::countr_zero(facing));
      const TriangleIndex f = cavity_[static_cast<std::size_t>(p[next])];
      rim.neighbour[j] = f;
      rim.edgeOf[j] = edge[next];
      slot_[f].neighbour[0] = rimTriangle;
      slot_[f].edgeOf[0] = 1;  // the outline edge, corners 1-2 of a fan triangle
    }
  }
}

// Fan triangles next to each other share the new point and one outline corner. In the plain
// linking each takes, in list order and while it has room, the later fan triangles that share
// corner 1 or 2 with it, and goes into their first free slot. On a simple outline these are the
// one whose edge starts where its own ends (sharing its edge 2 and their edge 0) and the one
// whose edge ends where its own starts (the other way round), and every fan triangle ends up
// with its rim neighbour, if any, followed by these two in list order.
void PointInserter::LinkFan() {
  const std::size_t count = cavity_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Slot& fan = slot_[cavity_[i]];
    const auto [following, preceding] = fanNeighbours_[i];
    const bool followingFirst = following < preceding;
    const int first = followingFirst ? following : preceding, second = followingFirst ? preceding : following;
    const std::uint8_t firstEdge = followingFirst ? 2 : 0, secondEdge = followingFirst ? 0 : 2;
    const std::size_t j = fan.neighbour[0] == NoTriangle ? 0 : 1;
    fan.neighbour[j] = cavity_[static_cast<std::size_t>(first)];
    fan.edgeOf[j] = firstEdge;
    fan.neighbour[j + 1] = cavity_[static_cast<std::size_t>(second)];
    fan.edgeOf[j + 1] = secondEdge;
  }
}

// The same links by plain search, for an outline that is not a simple cycle.
void PointInserter::LinkRimBySearch() {
  for (auto r = rim_.rbegin(); r != rim_.rend(); ++r) {
    const TriangleIndex rimTriangle = *r;
    for (std::size_t j = 0; j < 3; ++j) {
      const TriangleIndex old = slot_[rimTriangle].neighbour[j];
      if (old == NoTriangle || !InCavity(old)) continue;
      for (auto f = cavity_.rbegin(); f != cavity_.rend(); ++f) {
        if (SharedCorners(*f, rimTriangle) >= 2 && !Lists(*f, rimTriangle)) {
          slot_[rimTriangle].neighbour[j] = *f;
          slot_[rimTriangle].edgeOf[j] = SharedEdge(rimTriangle, *f);
          slot_[*f].neighbour[0] = rimTriangle;
          slot_[*f].edgeOf[0] = SharedEdge(*f, rimTriangle);
          break;
        }
      }
    }
  }
}

void PointInserter::LinkFanBySearch() {
  for (std::size_t i = 0; i + 1 < cavity_.size(); ++i) {
    const TriangleIndex t = cavity_[i];
    const auto& a = slot_[t].corner;
    for (std::size_t u = i + 1; u < cavity_.size() && slot_[t].neighbour[2] == NoTriangle; ++u) {
      const auto& b = slot_[cavity_[u]].corner;
      if (a[1] == b[1] || a[1] == b[2] || a[2] == b[1] || a[2] == b[2])
        Link(t, cavity_[u], SharedEdge(t, cavity_[u]), SharedEdge(cavity_[u], t));
    }
  }
}

// After a run with a step that was not exact: the edges between real points that may fail the
// circle test, each once from the triangle of the lower number, get it both ways. An edge whose
// two triangles were both made before that step is as the exact triangulation of that moment
// had it, Delaunay; every other edge is tested. The corners are taken once into a compact list
// by rank, and the positions by rank lie together as the points do.
void PointInserter::FindFailingEdges() {
  struct Corners {
    std::array<Rank, 3> rank;
    bool late;
  };
  const int count = m_.TriangleCount;
  std::vector<Corners> corners(static_cast<std::size_t>(count) + 1);
  for (int t = 1; t <= count; ++t) {
    const Slot& s = slot_[static_cast<std::size_t>(t)];
    corners[static_cast<std::size_t>(t)] = {s.corner, s.late};
  }
  const Rank lastReal = static_cast<Rank>(m_.PointCount);
  for (int t = 1; t <= count; ++t) {
    const Corners& c = corners[static_cast<std::size_t>(t)];
    for (TriangleIndex u : m_.TriNeighbour[static_cast<std::size_t>(t)]) {
      if (u <= t) continue;  // also no neighbour
      const Corners& d = corners[u];
      if (!c.late && !d.late) continue;
      int k = 0;  // t's corner off the shared edge
      while (k < 2 && (c.rank[static_cast<std::size_t>(k)] == d.rank[0] || c.rank[static_cast<std::size_t>(k)] == d.rank[1] ||
                       c.rank[static_cast<std::size_t>(k)] == d.rank[2]))
        ++k;
      const Rank apex = c.rank[static_cast<std::size_t>(k)];
      const Rank a = c.rank[static_cast<std::size_t>((k + 1) % 3)], b = c.rank[static_cast<std::size_t>((k + 2) % 3)];
      const Rank other = d.rank[0] != a && d.rank[0] != b ? d.rank[0] : (d.rank[1] != a && d.rank[1] != b ? d.rank[1] : d.rank[2]);
      if (a > lastReal || b > lastReal || apex > lastReal || other > lastReal) continue;
      const Position &pa = pos_[a], &pb = pos_[b], &pc = pos_[apex], &pd = pos_[other];
      if (EdgeNeedsFlip(pa.x, pa.y, pb.x, pb.y, pc.x, pc.y, pd.x, pd.y)) {
        failing_.push_back(static_cast<TriangleIndex>(t));
        break;
      }
    }
  }
}

// The run's triangles into the model, corners back in point numbers.
void PointInserter::WriteTriangles() {
  for (std::size_t t = 1; t <= m_.TriangleCount; ++t) {
    const Slot& s = slot_[t];
    m_.TriVertex[t] = {order_[s.corner[0]], order_[s.corner[1]], order_[s.corner[2]]};
    m_.TriNeighbour[t] = s.neighbour;
  }
}

}  // namespace

#ifdef TERRAVUE_CHECKED_INSERTION
// The checked build takes fresh work areas each run: it shares no type with the engine's.
TriangulationStatus CheckedInsertPoints(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options,
                                        long& disagreements) {
  Workspace work;
  PointInserter inserter(m, state, port, options, work);
  const TriangulationStatus status = inserter.Run();
  disagreements = inserter.Disagreements();
  return status;
}
#else
struct InsertionWorkspace {
  Workspace work;
};

TriangulationStatus InsertPoints(SurfaceModel& m, LocateState& state, UserPort& port, const InsertionOptions& options,
                                 InsertionReport* report) {
  if (!state.InsertionWork) {
    try {
      state.InsertionWork = std::make_shared<InsertionWorkspace>();
    } catch (const std::bad_alloc&) {
      port.ShowError(msg::ErrorAllocatingMemory);
      return TriangulationStatus::OutOfMemory;
    }
  }
  // Held for the run, whatever becomes of the state's.
  const std::shared_ptr<InsertionWorkspace> work = state.InsertionWork;
  PointInserter inserter(m, state, port, options, work->work);
  const TriangulationStatus status = inserter.Run();
  if (report != nullptr) {
    report->samePlace = inserter.SamePlacePair().value_or(PointPair{});
    report->delaunay = inserter.Delaunay();
    report->failing = inserter.Failing();
  }
  return status;
}
#endif

}  // namespace terravue::tin

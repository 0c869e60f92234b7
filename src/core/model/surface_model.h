#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/indices.h"

namespace terravue::model {

// A breakline is an undirected segment between two points: (p, q) and (q, p) are the same line.
struct Breakline {
  PointIndex From = NoPoint;
  PointIndex To = NoPoint;
};

// A point label: four characters, right-justified, blank-padded on the left.
using PointLabelText = std::array<char, 4>;

// Triangle t: corners v0, v1, v2 = TriVertex[t][0..2]; neighbours TriNeighbour[t][0..2].
//
//                v2
//               /  \      the neighbour across an edge may sit in any slot:
//              / t  \     slots hold no geometry
//             /      \    (0 = no neighbour, the edge is on the outside)
//           v0 ------ v1
//
// The corner order is not fixed (insertion makes counter-clockwise triangles; swaps and the
// contour tracer reorder corners). Neighbour slots carry no geometry: the non-zero entries come
// first, zeros fill the rest, and the neighbour across a given edge is found by searching the
// slots. An edge without a neighbour lies on the outside of the surface.
using TriangleCorners = std::array<PointIndex, 3>;
using TriangleNeighbours = std::array<TriangleIndex, 3>;

// The allocator of the store's arrays. They are allocated at full capacity, yet a survey of a
// thousand points should cost what a thousand points cost: calloc hands large blocks over as
// fresh zero pages, which the system maps only when they are first written, and elements made
// without a value are left as those zero bytes (the zero of every element type here) instead of
// being written over once more. Only what is used is ever touched.
template <class T>
struct StoreAllocator {
  using value_type = T;
  StoreAllocator() = default;
  template <class U>
  StoreAllocator(const StoreAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }

  // Value-initialisation only; copies and other values are constructed as usual.
  template <class U>
  void construct(U*) noexcept {
    static_assert(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>);
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const StoreAllocator<U>&) const noexcept {
    return true;
  }
};

template <class T>
using StoreArray = std::vector<T, StoreAllocator<T>>;

// The one in-memory surface: fixed-capacity, dense, 1-based parallel arrays allocated once.
// A second surface (the two-surface volume) is read behind the first into the same arrays.
class SurfaceModel {
 public:
  // Each array is allocated a few entries beyond its capacity, so that the index equal to the
  // capacity, and a few above it, can always be addressed.
  static constexpr std::uint16_t PointAllocation = 32767;
  static constexpr std::uint16_t TriangleAllocation = 65534;
  static constexpr std::uint16_t BreaklineAllocation = 32767;
  static constexpr std::uint16_t PointCapacity = PointAllocation - 4;        // 32763
  static constexpr std::uint16_t TriangleCapacity = TriangleAllocation - 8;  // 65526
  static constexpr std::uint16_t BreaklineCapacity = BreaklineAllocation - 4;  // 32763
  static constexpr std::size_t CommentLength = 78;

  std::uint16_t MaxPoints = 0;
  std::uint16_t MaxTriangles = 0;
  std::uint16_t MaxBreaklines = 0;

  std::uint16_t PointCount = 0;
  std::uint16_t TriangleCount = 0;
  std::uint16_t BreaklineCount = 0;
  std::uint16_t CutFillCount = 0;

  StoreArray<double> PointX;  // Easting
  StoreArray<double> PointY;  // Northing
  StoreArray<double> PointZ;  // elevation
  StoreArray<double> PointCutFill;
  StoreArray<PointLabelText> PointLabel;
  StoreArray<PointIndex> BorderNext;  // next point along the border ring; NoPoint when off it

  StoreArray<TriangleCorners> TriVertex;
  StoreArray<TriangleNeighbours> TriNeighbour;

  StoreArray<Breakline> Breaklines;

  StoreArray<TriangleIndex> ContourTriList;
  std::uint16_t ContourTriCount = 0;

  // The comment block as stored in model files: a length byte (0..78) and 78 Latin-1 bytes.
  // Bytes past the length are kept so that a file reads and writes back unchanged.
  std::array<std::uint8_t, 1 + CommentLength> FieldComment{};

  double MinX = 0, MinY = 0, MinZ = 0;
  double MaxX = 0, MaxY = 0, MaxZ = 0;
  double MidX = 0, MidY = 0, MidZ = 0;
  double ExtentDiagonal = 0;

  bool SortAxisIsX = true;

  // Allocates every array zero-filled at its allocation size (without touching it: see
  // StoreAllocator), then lowers the capacities and zeroes the counts. Returns false (with nothing allocated) when memory runs out.
  bool AllocateStore();
  void FreeStore();
  bool IsAllocated() const { return !PointX.empty(); }
  void ClearModel();

  std::string Comment() const;
  // Latin-1 bytes; longer texts are cut to 78 characters.
  void SetComment(std::string_view text);

  void ComputeExtents();

  void SetPointLabel(PointIndex i, std::string_view text);
  std::string GetPointLabel(PointIndex i) const;

  PointIndex FirstBorderPoint(PointIndex from, PointIndex last) const;
  bool IsBordered() const { return FirstBorderPoint(1, PointCount) != NoPoint; }
  // Reverses the ring through FirstBorderPoint in place (true; also true without a border). A
  // ring that does not close within PointCount steps, or leaves the points, is left as it is and
  // false is returned.
  bool ReverseBorder();

  void ResetContourTriList();
  // Fills list[lo..hi] with lo..hi ordered along the longer side of the extents (which must be
  // current); the list grows when it is shorter than hi + 1.
  void SortPointsAlongLongerAxis(std::vector<PointIndex>& list, PointIndex lo, PointIndex hi);
};

// An edge of a triangle: its two points, the lower first, and the triangle.
struct TriangleEdge {
  PointIndex lo = NoPoint;
  PointIndex hi = NoPoint;
  TriangleIndex triangle = NoTriangle;
};
// The edges of triangles 1..TriangleCount ordered by their points, then by triangle, so that the
// triangles of one edge come together. Triangles with a corner that is no point, or with a
// corner twice, are left out.
std::vector<TriangleEdge> EdgesByPoints(const SurfaceModel& model);

// Returns one line per broken invariant (empty when the model is sound): counts within
// capacity, every stored index in range, distinct corners, neighbour lists symmetric with their
// non-zero slots first, no triangle its own or a repeated neighbour, neighbours sharing an edge,
// no edge in more than two triangles, the two triangles of an edge neighbours on its two sides
// (no fold), and the border a single closed ring. A wrecked model reports its first 100 faults.
std::vector<std::string> CheckTopology(const SurfaceModel& model);
// The part of CheckTopology that the triangles must pass to be contoured and measured: counts,
// corners, the neighbours listed, and edges shared by two triangles at most, on their two sides.
// Two triangles on one edge that do not list each other pass (files of other programs may
// leave such links out).
std::vector<std::string> CheckTriangleTopology(const SurfaceModel& model);

}  // namespace terravue::model

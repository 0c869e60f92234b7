#pragma once

#include <string>
#include <vector>

namespace terravue::model {
class SurfaceModel;
}

// Checks of a triangulation decided exactly and independently of the engine's own predicates:
// every double is an integer times a power of two, so once all the coordinates of a test are put
// on the lowest power of two among them, sums and products are exact as big integers. A generous
// double-precision filter answers first where its bound allows.
namespace terravue::testing {

// The sign of (a - c) x (b - c): 1 when a -> b -> c turns counter-clockwise.
int ExactTurn(double ax, double ay, double bx, double by, double cx, double cy);

// For a counter-clockwise triangle a b c: r^2 - |d - centre|^2 >= tolerance, exactly.
bool ExactlyInsideCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy,
                         double tolerance);

// The surface is the constrained Delaunay triangulation within the circle test's tolerance:
// every triangle has a positive area, and across every edge that is neither a border segment
// nor a breakline, neither triangle's circle holds the other's far corner by the tolerance
// (1e-4 in squared distance). One line per failure, at most 50.
std::vector<std::string> CheckConstrainedDelaunay(const model::SurfaceModel& m);

// The border ring is the convex hull: counter-clockwise, never turning right, every point inside
// or on it, and every point lying on it (exactly) a ring point or at the place of one.
std::vector<std::string> CheckConvexHullRing(const model::SurfaceModel& m);

}  // namespace terravue::testing

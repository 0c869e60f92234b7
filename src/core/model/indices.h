#pragma once

#include <cstdint>

namespace terravue {

// Every reference between elements of the surface model is a 1-based 16-bit index; 0 means
// "none" in every reference field, so entry 0 of each array exists but is never an element.
using PointIndex = std::uint16_t;
using TriangleIndex = std::uint16_t;
using BreaklineIndex = std::uint16_t;

inline constexpr PointIndex NoPoint = 0;
inline constexpr TriangleIndex NoTriangle = 0;
inline constexpr BreaklineIndex NoBreakline = 0;

}  // namespace terravue

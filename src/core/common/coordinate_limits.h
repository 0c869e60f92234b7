#pragma once

namespace terravue {

// The largest magnitude of a coordinate or elevation the program takes in: from ASCII imports,
// from model files and from the settings that place things on the map. Survey coordinates stay
// far below it (a state plane easting is about 1e6 feet); beyond it the distances, areas and
// drawings computed from coordinates lose their precision and grow without bound.
inline constexpr double MaxCoordinate = 1e9;

}  // namespace terravue

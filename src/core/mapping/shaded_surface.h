#pragma once

#include <cstdint>
#include <vector>

#include "model/indices.h"

namespace terravue {
class SettingsRecord;
}
namespace terravue::model {
class SurfaceModel;
}
namespace terravue::device {
class DrawingDevice;
struct Projection3D;
}  // namespace terravue::device

// The shaded surface of the 3-D view: every triangle filled solid, the farthest from the eye
// first, so that nearer slopes cover what lies behind them (the painter's order); each in a
// colour by its mean elevation (the tints run between the 2nd and the 98th hundredth of the
// points' elevations), darkened by how obliquely it faces the eye, as if lit from the view
// point. The lines of the map are drawn over it afterwards.
namespace terravue::mapping {

// The triangles with usable corners in the order they are filled, farthest first.
std::vector<TriangleIndex> BackToFront(const model::SurfaceModel& model, const device::Projection3D& projection);

// The fill of a triangle: the elevation tint of `height` (0 at the lowest elevation, 1 at the
// highest) times `light` (0 for a triangle seen edge on, 1 for one facing the eye); grey when
// `grey` is set, for black-and-white printing.
std::uint32_t ShadeColour(double height, double light, bool grey);

// Fills the surface on `device` (which projects with `projection`).
void DrawShadedSurface(const SettingsRecord& settings, const model::SurfaceModel& model, device::DrawingDevice& device,
                       const device::Projection3D& projection);

}  // namespace terravue::mapping

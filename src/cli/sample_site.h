#pragma once

namespace terravue::model {
class SurfaceModel;
}

namespace terravue::cli {

// The sample site: about 440 shots of a small rolling parcel in feet (Easting 5000..5600,
// Northing 3000..3500, elevations about 100..140) with a swale draining south-west and a knoll
// in the north-east, taken in rows as a field crew would, numbered in shooting order and
// enclosed by a counter-clockwise border through the outside shots. The same
// site every time: the scatter comes from a fixed-seed generator.
void BuildSampleSite(model::SurfaceModel& model);

}  // namespace terravue::cli

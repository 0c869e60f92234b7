#pragma once

namespace terravue {
class SettingsRecord;
}
namespace terravue::model {
class SurfaceModel;
}

namespace terravue::cli {

// The sample site: about 500 shots of a small parcel in feet (Easting 5000..5600, Northing
// 3000..3500, elevations about 105..135): a boundary traverse along straight property lines
// with the south-east corner cut off, ground shots in rows as a field crew takes them, a knoll
// in the east and a swale draining to the south line. A crowned road crosses the north of the
// parcel on an even grade, in fill over the swale and in cut through the knoll's shoulder,
// where a retaining wall stands beside it. The edges of pavement, the foot and top of the
// wall and the swale's flow line are chains of breaklines. The same site every time: the
// scatter comes from a fixed-seed generator.
void BuildSampleSite(model::SurfaceModel& model);

// The sample's sheet: 1-ft contours with labelled index contours every 5 ft, smoothed; the
// breaklines, border, a 100-ft coordinate grid and the shots; frame, north arrow, scale bar
// and a filled title block (texts short enough for their cells). Text heights follow the
// scale presets when the sheet is laid out.
void SetSampleSheetOptions(SettingsRecord& settings);

}  // namespace terravue::cli

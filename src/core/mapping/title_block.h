#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terravue {
struct Session;
}
namespace terravue::device {
class DrawingDevice;
class PageDevice;
}

// The sheet furniture drawn over the map on the screen and on paper, never into CAD files: the
// frame of the printable area, the title block along its foot (or the title lines at its head),
// the north arrow and the scale bar. It belongs to the sheet, not to the model: it keeps its
// place and its paper size whatever part of the model is shown, and stays upright when the map
// is rotated.
namespace terravue::mapping {

// The frame, and the title block when the titles are shown with title boxes: five captioned
// cells along the bottom of the sheet, laid out in device pixels. The page devices call it for
// DeviceTitleBlock; texts use the font and colour of the current text style.
void DrawSheetFrame(device::PageDevice& device, const Session& session);

// Title, scale, date and time, file name and comments as lines at the top of the sheet.
void DrawTitleLines(Session& session, device::DrawingDevice& device);
// A north arrow near the top-left corner, turned by the north angle.
void DrawNorthArrow(Session& session, device::DrawingDevice& device);
// A 6-inch (English) or 10-centimetre (metric) bar at the foot of the sheet, centred.
void DrawScaleBar(Session& session, device::DrawingDevice& device);

// A legend in a corner of the sheet: a title, then a colour swatch and its text per entry, on
// white in a frame, in the miscellaneous colour and text height. Of the corners left free by
// the title lines, north arrow, scale bar and title block it takes the one that hides the
// fewest data points.
struct LegendEntry {
  std::uint32_t colour = 0;
  std::string text;
};
void DrawLegend(Session& session, device::DrawingDevice& device, std::string_view title,
                const std::vector<LegendEntry>& entries);

// The part of the sheet, in world units, that the furniture along its foot (the title block and
// the scale bar) leaves to the map, a tenth of an inch inside the sheet's edges. Only for the
// plan view without map rotation; otherwise nothing.
struct SheetArea {
  double left = 0, right = 0, bottom = 0, top = 0;
};
std::optional<SheetArea> ClearMapArea(const Session& session);

// The date and the time as the titles show them: "06/05/2024", "2:05 PM".
std::string ShortDate(const std::tm& time);
std::string ClockTime(const std::tm& time);

}  // namespace terravue::mapping

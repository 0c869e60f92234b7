#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings_record.h"

namespace terravue {
class UserPort;
}
namespace terravue::model {
class SurfaceModel;
}
namespace terravue::tin {
struct LocateState;
}

// The drawing device layer: one set of operations that every map drawing routine calls, and the
// arithmetic behind them that is the same whatever the output: the view transform from world
// coordinates to the printed page and on to the screen, the clipping of lines, pen widths, text
// heights and anchors, and the shapes of the point markers.
//
//   world (X Easting, Y Northing, Z)
//     -- plan rotation about the rotation centre, or the 3-D perspective --
//   page (printer pixels in the printable area, y downwards)
//     -- x Z / E + margins on the screen; unchanged on the printer --
//   device (screen or printer pixels), clipped, then rounded to integers
namespace terravue::device {

// Which output the drawing goes to. CAD files receive world coordinates and are written by
// devices of their own.
enum class DeviceKind : std::uint8_t {
  ScreenMap = 0,
  ScreenOverlay = 1,
  ScreenHighlight = 2,
  Printer = 3,
  CadFile = 4,
};

// ---- Pen widths -----------------------------------------------------------------------------

// The width list shown by the dialogs; the settings keep the 0-based index into it, and the pen
// drawn is index + 1 printer dots wide, whatever the list entry reads.
inline constexpr int WidthCount = 21;
inline constexpr std::array<int, WidthCount> WidthList = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12,
                                                          14, 16, 18, 20, 25, 30, 35, 40, 45, 50};
int ClampWidthIndex(int index);
int PrinterPenDots(int widthIndex);
// A width in printer dots shown at screen scale: Round(w / E x Z) + 1 pixels, 1 for w = 1.
int ScreenPenPixels(int widthIndex, double printerPixelsPerScreenPixel, int zoom);

// ---- Points and rectangles ------------------------------------------------------------------

struct WorldPoint {
  double x = 0, y = 0, z = 0;
};

// Printer pixels in the printable area (plan pages) or device pixels, y downwards, unrounded.
struct PixelPoint {
  double x = 0, y = 0;
};

struct IntPoint {
  int x = 0, y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// Inclusive bounds in device pixels.
struct ClipRect {
  double left = 0, top = 0, right = 0, bottom = 0;
};

struct Segment {
  PixelPoint from, to;
};

// The parametric clip of one segment; nothing when no part of it lies inside. A segment that
// runs along a side (within 0.0001) is kept only when it lies on the inner side.
std::optional<Segment> ClipSegment(const Segment& segment, const ClipRect& clip);
// The part of a convex polygon inside the rectangle (empty when none).
std::vector<PixelPoint> ClipPolygon(const std::vector<PixelPoint>& polygon, const ClipRect& clip);

// Round half to even, as every conversion of the transform rounds.
double RoundHalfEven(double v);

// ---- The perspective of the 3-D view --------------------------------------------------------

// The constants of the perspective projection, recomputed before every redraw.
struct Projection3D {
  double viewOffsetX = 0, viewOffsetY = 0, viewOffsetZ = 0;
  double targetX = 0, targetY = 0, targetZ = 0;
  double elevationFactor = 1, eyeFactor = 0;
  double pixelAspect = 1;
  double S = 1, L = 1, K = 1, F = 1;
};

// Puts a view straight down back to the built-in horizontal offsets (it has no horizontal
// direction), then computes S, L, K and the fit factor F from the extents and the page: at the
// built-in eye factor the model's plan diagonal spans nine tenths of the printable area's
// shorter side, so that a model seen from the built-in view point shows whole.
Projection3D Prepare3DProjection(SettingsRecord& settings, const model::SurfaceModel& model);

// The depth of a point along the line of sight, as a fraction of the eye distance: 0 at the
// target's depth, 1 in the plane of the eye, above 1 behind it (elevations exaggerated).
double ViewDepth(const Projection3D& projection, double x, double y, double z);
// Points at or beyond this depth are too near the eye, or behind it, to be projected: lines
// are cut where they cross it, so that nothing divides by zero or turns over into the picture.
inline constexpr double NearPlaneDepth = 0.99;
// The part of a segment in front of the near plane; nothing when no part of it is.
std::optional<std::array<WorldPoint, 2>> ClipToNearPlane(const Projection3D& projection, const WorldPoint& a,
                                                         const WorldPoint& b);
// The part of a convex polygon in front of the near plane (empty when none).
std::vector<WorldPoint> ClipPolygonToNearPlane(const Projection3D& projection, std::span<const WorldPoint> polygon);

// The projected point relative to the centre of the printable area, in page pixels, y upwards,
// rounded. Points closer to the eye than half the near plane's distance, points behind it and
// points that are not finite give non-finite values, which the devices skip; the ends of lines
// cut at the near plane always have a place.
PixelPoint Project3D(const Projection3D& projection, double x, double y, double z);

// ---- The view transform ---------------------------------------------------------------------

// World to page and back, from the page set-up of the settings (scale, calibration, rotation,
// view centre, units). Cheap to copy; rebuilt whenever the page set-up changes.
class ViewTransform {
 public:
  static ViewTransform FromSettings(const SettingsRecord& settings);

  // From here on, ToPage projects in perspective and the plan rotation is not used.
  void UsePerspective(const Projection3D& projection);
  bool IsPerspective() const { return perspective_.has_value(); }
  // The perspective's constants; null in the plan view.
  const Projection3D* Perspective() const { return perspective_ ? &*perspective_ : nullptr; }

  // Step 1: the plan rotation about the rotation centre.
  WorldPoint Rotate(double x, double y) const;
  WorldPoint Unrotate(double x, double y) const;
  // Step 2 for a point already rotated.
  PixelPoint RotatedToPage(double xr, double yr) const;
  // Steps 1 and 2, or the perspective.
  PixelPoint ToPage(double x, double y, double z) const;
  // Inverse of steps 2 and 1 (plan view); in the 3-D view the target point.
  WorldPoint PageToWorld(PixelPoint page) const;

  // The map rotation in radians as the plan transform applies it (0 in the 3-D view).
  double RotationRadians() const { return perspective_ ? 0.0 : rotation_; }
  double PrintableWidth() const { return width_; }
  double PrintableHeight() const { return height_; }
  double MapScale() const { return scale_; }
  // 1, or 1/2.54 when the scale is per centimetre.
  double UnitFactor() const { return unit_; }
  // Page pixels per world unit along X and Y (calibration included).
  double PixelsPerUnitX() const { return kx_; }
  double PixelsPerUnitY() const { return ky_; }

 private:
  double rotation_ = 0, cos_ = 1, sin_ = 0;
  double rotationCentreX_ = 0, rotationCentreY_ = 0;
  double viewCentreX_ = 0, viewCentreY_ = 0;
  double width_ = 1, height_ = 1;
  double scale_ = 1, unit_ = 1;
  double kx_ = 1, ky_ = 1;
  std::optional<Projection3D> perspective_;
};

// ---- Where the page lands on a device -------------------------------------------------------

struct DeviceFrame {
  // Device pixels per page pixel (Z / E on the screen, 1 on the printer) and the device
  // position of the page's origin (the screen margins).
  double scale = 1;
  double originX = 0, originY = 0;
  // The screen truncates to whole pixels, the printer rounds half to even.
  bool truncate = false;
  ClipRect clip;
  // Screen: printer pixels per screen pixel E and the zoom factor Z; printer: 1 and 1.
  double printerPixelsPerDevicePixel = 1;
  int zoom = 1;
  // Device pixels per inch of the sheet at zoom 1: the printer's resolution, or on the screen
  // the printer's resolution reduced by E, so that text keeps its size relative to the sheet.
  double fontPixelsPerInch = 300;
  std::string fontName;
  // "Maintain scale when zoomed" of the point options.
  bool maintainPointScale = true;
};

// The transform a redraw starts with: the plan view, or the perspective while the 3-D view is
// on (its constants computed afresh, as every redraw does).
ViewTransform CurrentViewTransform(SettingsRecord& settings, const model::SurfaceModel& model);

// The printer: the printable area in printer pixels.
DeviceFrame PrinterFrame(const SettingsRecord& settings);

// The screen image of the sheet: the sheet reduced to fit the client area at zoom 1, times Z.
struct ScreenGeometry {
  double printerPixelsPerScreenPixel = 1;  // E
  int zoom = 1;
  int maxZoom = 1;  // keeps the image below 32768 pixels each way
  int imageWidth = 1, imageHeight = 1;
  int marginLeft = 0, marginTop = 0;
};
// Nothing while the client area is empty (a window started minimised). The zoom is limited to
// 1..maxZoom.
std::optional<ScreenGeometry> ComputeScreenGeometry(const SettingsRecord& settings, int clientWidth,
                                                    int clientHeight, int zoom);
DeviceFrame ScreenFrame(const SettingsRecord& settings, const ScreenGeometry& geometry);
// The scroll position that keeps the sheet point under `anchor` (image pixels, seen at
// `viewportPos` in the window) under the same window position after a change of zoom.
IntPoint ScrollToKeepPoint(const ScreenGeometry& before, const ScreenGeometry& after, IntPoint anchor,
                           IntPoint viewportPos);

// Device pixels <-> page pixels.
PixelPoint PageToDevice(const DeviceFrame& frame, PixelPoint page);
PixelPoint DeviceToPage(const DeviceFrame& frame, PixelPoint device);
// A device coordinate as the canvas takes it: truncated on the screen, rounded on the printer,
// held inside the integer range.
int DeviceInteger(const DeviceFrame& frame, double v);

// World X and Y under a screen pixel (`DeviceScreenToWorld` without the elevation).
WorldPoint ScreenToWorldXY(const ViewTransform& transform, const DeviceFrame& frame, int sx, int sy);
// The same with the elevation of the surface there (MinZ where there is none).
WorldPoint DeviceScreenToWorld(const ViewTransform& transform, const DeviceFrame& frame, int sx,
                               int sy, const model::SurfaceModel& model, tin::LocateState& state,
                               UserPort& port);

// ---- Text sizes -----------------------------------------------------------------------------

// Text heights are drawn at least one pixel high and no higher than this.
inline constexpr int MaxTextPixels = 32767;
// Round(height x pixels per world unit), 0 becoming 1; nothing usable (<= 0, non-finite) gives 1.
int TextPixelHeight(double height, double pixelsPerWorldUnit);

// The text state that drawing routines set and read.
struct TextState {
  double TextHeight = 1;          // world units
  double TextCharWidth = 0;       // world units
  // The width a character takes as drawn (world units): on the screen and the printer the
  // font's own, narrower than TextCharWidth; 0 where it is TextCharWidth (the CAD texts).
  double TextGlyphWidth = 0;
  double TextBaselineOffset = 0;  // world units
  int TextDecimals = 0;           // 0..3, for callers that format numbers
  bool TextCentred = false;       // screen and printer
  bool TextRightAligned = false;  // screen and printer
  bool TextCadCentred = false;    // CAD writers only

  // Texts anchored at their left end on every device.
  void AnchorLeft() { TextCentred = TextRightAligned = TextCadCentred = false; }
  double GlyphWidth() const { return TextGlyphWidth > 0 ? TextGlyphWidth : TextCharWidth; }
};

// ---- The device interface -------------------------------------------------------------------

// One output. Polylines: plot the first point with the pen up, DevicePenDown, plot the others,
// DevicePenUp. Markers and texts leave the pen up.
class DrawingDevice {
 public:
  explicit DrawingDevice(DeviceKind kind) : kind_(kind) {}
  virtual ~DrawingDevice() = default;
  DrawingDevice(const DrawingDevice&) = delete;
  DrawingDevice& operator=(const DrawingDevice&) = delete;

  DeviceKind Kind() const { return kind_; }

  TextState text;
  // On while the point markers and labels draw: with "Maintain scale when zoomed" off they
  // keep their size on the screen whatever the zoom.
  bool pointLabelScaling = false;

  std::uint32_t Colour() const { return colour_; }
  const CadLayer& Layer() const { return layer_; }

  virtual void DeviceSetLayer(std::uint32_t colour, const CadLayer& layer);
  virtual void DeviceSetWidth(int widthIndex) = 0;
  // `flag` is kept for the callers' sake; it is always false.
  virtual void DevicePlot(bool flag, double x, double y, double z) = 0;
  virtual void DevicePenDown() = 0;
  virtual void DevicePenUp() = 0;
  virtual void DeviceSetTextStyle(std::uint32_t colour, double height) = 0;
  // Text at `angle` radians counter-clockwise from East, its middle on the point.
  virtual void DeviceText(std::string_view text, double angle, double x, double y, double z,
                          double sizeFactor) = 0;
  // Text along the sheet axes that ends at the point.
  virtual void DeviceAxisText(std::string_view text, bool vertical, double x, double y, double z) = 0;
  virtual void DeviceEndText() = 0;
  virtual void DeviceMarker(int kind, double x, double y, double z, double size) = 0;
  virtual void DeviceTitleBlock() = 0;
  // Stipple fill of a triangle with `density` (0..1) of its pixels in the current colour.
  virtual void DeviceDensityFill(const std::array<WorldPoint, 3>& corners, double density) = 0;
  // A convex polygon filled solid in `colour`, without an outline, on the current layer; the
  // pen keeps its colour. A polygon with fewer than three corners or a corner that is not
  // finite is left out.
  virtual void DeviceFillPolygon(std::span<const WorldPoint> corners, std::uint32_t colour) = 0;

 protected:
  std::uint32_t colour_ = 0;
  CadLayer layer_;

 private:
  DeviceKind kind_;
};

// Marker kinds: 0 and 6 Block, 1 Box, 2 Cross, 3 Plus, 4 Diamond, 5 None, 7 a Block inside a
// Diamond twice its size. Drawn as plots around (x, y) at z; every shape ends with the pen up
// at the centre. Unknown kinds and unusable sizes draw nothing.
inline constexpr int MarkerKindCount = 8;
void PlotMarker(DrawingDevice& device, int kind, double x, double y, double z, double size);

// An arrow from a to b, its head made at 80% of the way with barbs a tenth of the length out
// to each side: open, the shaft and two barbs; closed (half as wide), the shaft to the barbs'
// foot and a triangle round the head. Each stroke is its own pen-down run.
void PlotArrow(DrawingDevice& device, const WorldPoint& a, const WorldPoint& b, bool closed);

// ---- Devices that draw on a page: the screen and the printer --------------------------------

struct TextExtent {
  double width = 0;
  double height = 0;  // the cell height: ascent and descent
};

struct FontRequest {
  std::string name;
  int pixelHeight = 1;
  std::uint32_t colour = 0;
  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// The transform, clipping, widths, text placement and markers for the screen and the printer.
// The canvas operations below receive device pixels only, already clipped.
class PageDevice : public DrawingDevice {
 public:
  PageDevice(DeviceKind kind, const ViewTransform& transform, const DeviceFrame& frame);

  void Reconfigure(const ViewTransform& transform, const DeviceFrame& frame);
  const ViewTransform& Transform() const { return transform_; }
  const DeviceFrame& Frame() const { return frame_; }
  // The title block belongs to the map drawing; the map and printer devices call it.
  void SetTitleBlockDrawer(std::function<void(DrawingDevice&)> drawer) { titleBlock_ = std::move(drawer); }

  // World to device pixels, unrounded.
  PixelPoint ToDevice(double x, double y, double z) const;

  // The sheet's own furniture (its frame and the title block) is laid out in device pixels,
  // not in world units: a polyline in the current pen, clipped like every line, and a text by
  // its cell's top-left corner in the current font and colour at a pixel height of its own,
  // cut to the characters that fit `maxWidth` pixels.
  void DevicePixelPolyline(std::span<const IntPoint> points);
  void DevicePixelText(IntPoint topLeft, int pixelHeight, std::string_view text, double maxWidth);
  // Device pixels per world unit of text height (zoom and point-label scaling included).
  double TextPixelsPerUnit() const;

  void DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) override;
  void DeviceSetWidth(int widthIndex) override;
  void DevicePlot(bool flag, double x, double y, double z) override;
  void DevicePenDown() override;
  void DevicePenUp() override;
  void DeviceSetTextStyle(std::uint32_t colour, double height) override;
  void DeviceText(std::string_view text, double angle, double x, double y, double z,
                  double sizeFactor) override;
  void DeviceAxisText(std::string_view text, bool vertical, double x, double y, double z) override;
  void DeviceEndText() override;
  void DeviceMarker(int kind, double x, double y, double z, double size) override;
  void DeviceTitleBlock() override;
  void DeviceDensityFill(const std::array<WorldPoint, 3>& corners, double density) override;
  void DeviceFillPolygon(std::span<const WorldPoint> corners, std::uint32_t colour) override;

 protected:
  virtual void CanvasPenColour(std::uint32_t colour) = 0;
  virtual void CanvasPenWidth(int pixels) = 0;
  virtual void CanvasMoveTo(IntPoint p) = 0;
  virtual void CanvasLineTo(IntPoint p) = 0;
  // The pen was raised: a polyline run ends here.
  virtual void CanvasPenLifted() {}
  virtual void CanvasFont(const FontRequest& font) = 0;
  // Width and cell height of `text` in the current font, in device pixels.
  virtual TextExtent CanvasTextExtent(std::string_view text) = 0;
  // `text` with its cell's top-left corner at `anchor`, turned `tenths` of degrees
  // counter-clockwise about it, clipped to the frame's clip rectangle.
  virtual void CanvasText(IntPoint anchor, int tenths, std::string_view text) = 0;
  virtual void CanvasEndText() {}
  // A clipped convex polygon with `density` of its pixels set in the pen colour.
  virtual void CanvasStipple(const std::vector<IntPoint>& polygon, double density) = 0;
  // A clipped convex polygon filled solid in `colour`; the pen is not touched.
  virtual void CanvasFill(const std::vector<IntPoint>& polygon, std::uint32_t colour) = 0;

  bool DrawsText() const;

 private:
  void DrawSegment(PixelPoint from, PixelPoint to);
  // DevicePlot in the 3-D view: each segment is cut at the near plane before it is projected.
  void PlotInPerspective(const Projection3D& projection, const WorldPoint& here);
  // The part of a world polygon on the sheet, in device pixels; empty when nothing of it shows
  // or a corner cannot be placed. Only the map and the printer take fills.
  std::vector<IntPoint> VisibleFill(std::span<const WorldPoint> corners) const;
  IntPoint ToInteger(PixelPoint p) const;
  void PlaceText(std::string_view text, double angle, PixelPoint anchor, bool alignToWidth);
  // Hands the canvas the current font when it differs from the one it has.
  void ApplyFont();

  ViewTransform transform_;
  DeviceFrame frame_;
  std::function<void(DrawingDevice&)> titleBlock_;
  bool penDown_ = false;
  std::optional<PixelPoint> last_;      // unclipped device position of the last plot
  std::optional<WorldPoint> lastWorld_; // the last plot in the 3-D view
  std::optional<IntPoint> canvasPos_;   // where the canvas pen stands
  std::optional<std::uint32_t> penColour_;
  FontRequest font_;
  std::optional<FontRequest> appliedFont_;
  bool fontSet_ = false;  // a text style was set since the device was made
};

}  // namespace terravue::device

#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/settings_record.h"

namespace terravue {
class UserPort;
}
namespace terravue::model {
class SurfaceModel;
}

// The sheet: the printer's paper and printable area, the map scale, rotation and view centre
// that lay the model on it, the calibration of the printer's scale, and printing.
namespace terravue::device {

class DrawingDevice;

// What the front end reads from its printer, in the printer's own pixels.
struct PrinterDescription {
  bool present = false;
  int paperCode = 0;  // the Windows paper size code; 256 for a custom size
  std::string_view paperName;  // shown for the paper; empty: the name of the code
  bool landscape = false;
  double dotsPerInchX = 0, dotsPerInchY = 0;
  int paperWidth = 0, paperHeight = 0;  // the whole sheet
  int offsetX = 0, offsetY = 0;         // of the printable area on the sheet
  int pageWidth = 0, pageHeight = 0;    // the printable area
};

// The sheet laid out when there is no printer: Letter at 300 dots per inch.
PrinterDescription NoPrinterDescription();

// The papers Print Setup offers for every printer (a PDF file included) and the batch tool
// takes by their option names.
struct Paper {
  std::string_view option;  // "letter", "a4", "ansi-c", ...
  std::string_view name;    // as the page set-up shows it
  int code;                 // the Windows paper size code, 256 where there is none
  double widthInches, heightInches;  // portrait
};
std::span<const Paper> Papers();
// The paper stored with the page settings; Letter when none was chosen.
const Paper& ChosenPaper(const SettingsRecord& settings);
// The entry of Papers() for an option name, or nothing.
const Paper* PaperByOption(std::string_view option);
// The choice stored for `paper` (PageSetup::PaperChoice).
std::uint8_t PaperChoiceOf(const Paper& paper);

// A sheet of `paper` at `dotsPerInch` as a printer without a printer would give it: the
// unprintable edges of the no-printer sheet (a quarter inch at the top and the sides, two
// thirds of an inch at the foot), turned with the paper.
PrinterDescription PaperDescription(const Paper& paper, bool landscape, double dotsPerInch);

// "Letter 8 1/2 x 11 in", ... by paper code; "Custom" for 256, "Unknown paper size" otherwise.
std::string_view PaperName(int paperCode);

// Lays out the page from the printer: paper and printable area, margins widened by a tenth of
// an inch, resolution, paper name; rotation back to 0. A description that no printer could
// give (no resolution, empty or overflowing sizes) counts as no printer.
void SetUpPage(SettingsRecord& settings, const PrinterDescription& printer);

// Centres the model on the sheet: the rotation centre at the mean of the points, the view
// centre at the middle of the rotated model; computes the fit scale (the smallest whole scale
// at which the model fits) and the minimum scale; then applies the fit scale (useFitScale) or
// the current one. Without points nothing changes (false).
bool FitModel(SettingsRecord& settings, const model::SurfaceModel& model, bool useFitScale);

// Sets the map scale and recomputes the pixel factors and the sheet corners. A scale below the
// minimum scale or above MaximumScale (page_setup_settings.h), not positive or not finite is not
// applied (false).
bool ApplyScale(SettingsRecord& settings, double scale);

// ---- Set Scale ------------------------------------------------------------------------------

// The dialog's fields as text (3 decimals); the offsets in the order of their labels: X first
// in the Easting-Northing order, Y first in the Northing-Easting order.
struct SetScaleFields {
  std::string angle, scale, firstOffset, secondOffset;
};
struct SetScaleLabels {
  std::string scale, firstOffset, secondOffset;
};
SetScaleLabels SetScaleCaptions(const SettingsRecord& settings);
SetScaleFields SetScaleFieldTexts(const SettingsRecord& settings);

// What Cancel puts back.
struct PageView {
  double angle = 0, scale = 1, centreX = 0, centreY = 0;
};
PageView TakePageView(const SettingsRecord& settings);
void RestorePageView(SettingsRecord& settings, const PageView& view);

// Leaving the angle field: a readable angle that differs from the stored one by 0.0001 or more
// is stored and the model refitted (true: the fields must be refilled).
bool ChangeRotationAngle(SettingsRecord& settings, const model::SurfaceModel& model,
                         std::string_view angleText);

// OK of Set Scale: each field that does not parse (or a scale that is not positive) shows its
// message and keeps its value; then the heights from the scale presets when asked, and the
// scale is applied.
void StoreSetScale(UserPort& port, SettingsRecord& settings, const SetScaleFields& fields,
                   bool blackAndWhite, bool resetHeights);

// ---- Calibration ----------------------------------------------------------------------------

struct CalibrationFields {
  std::string horizontal, vertical;
};
CalibrationFields CalibrationFieldTexts(const SettingsRecord& settings);
// Factors that do not parse or are not positive are refused with their message.
void StoreCalibration(UserPort& port, SettingsRecord& settings, const CalibrationFields& fields);

// ---- Printing -------------------------------------------------------------------------------

// The labels of the Print dialog.
struct PrintFormText {
  std::string printer, paper, orientation, scale;
  std::string status;  // "Printer not available" when there is none
  bool printEnabled = false;
  bool setScaleEnabled = false;
};
PrintFormText DescribePrintForm(const SettingsRecord& settings, const model::SurfaceModel& model,
                                std::string_view printerName);

inline constexpr int MinCopies = 1;
inline constexpr int MaxCopies = 255;

// Shows "Printer not available ..." and returns false when the page has no printer.
bool CheckPrinterAvailable(UserPort& port, const SettingsRecord& settings);

// While it lives, every map colour (element and text colours, the background) is black; the
// colours come back when it ends, whatever happened in between.
class MapColourSwap {
 public:
  MapColourSwap(SettingsRecord& settings, bool blackAndWhite);
  ~MapColourSwap();
  MapColourSwap(const MapColourSwap&) = delete;
  MapColourSwap& operator=(const MapColourSwap&) = delete;

 private:
  SettingsRecord& settings_;
  std::vector<std::pair<ColourField, std::uint32_t>> saved_;
};

// A printer document, as the front end drives it.
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // False when the printer refuses to start.
  virtual bool BeginDocument(int copies) = 0;
  virtual DrawingDevice& Device() = 0;
  // True only when the printer took the whole document.
  virtual bool EndDocument() = 0;
  // Drops a document that failed half way.
  virtual void AbortDocument() {}
};

enum class PrintOutcome { Printed, Failed };

// Print: the progress note, black and white when chosen, the document with the map drawn by
// `redraw`, the colours restored; "Printing complete!" only after the printer reported
// success, an error otherwise.
PrintOutcome PrintMap(UserPort& port, SettingsRecord& settings, PrintTarget& target, int copies,
                      const std::function<void(DrawingDevice&)>& redraw);

}  // namespace terravue::device

#include "device/page_setup_settings.h"

#include <algorithm>

namespace terravue::device {
namespace {

// The sheet laid out when no printer is available: Letter paper at 300 dots per inch with the
// usual unprintable offsets, margins widened by a tenth of an inch, at a scale of 100.
namespace NoPrinterSheet {
constexpr double DotsPerInch = 300;
constexpr std::int32_t PaperWidth = 2550;
constexpr std::int32_t PaperHeight = 3300;
constexpr std::int32_t PrintableWidth = 2400;
constexpr std::int32_t PrintableHeight = 3025;
constexpr std::int32_t Offset = 75;
constexpr double Scale = 100;

constexpr std::int32_t Margin(std::int32_t paper, std::int32_t printable) {
  return std::max(Offset, (paper - printable) / 2) + static_cast<std::int32_t>(0.1 * DotsPerInch);
}
constexpr std::int32_t MarginX = Margin(PaperWidth, PrintableWidth);
constexpr std::int32_t MarginY = Margin(PaperHeight, PrintableHeight);
constexpr std::int32_t W = PaperWidth - 2 * MarginX;
constexpr std::int32_t H = PaperHeight - 2 * MarginY;
constexpr double PixelsPerUnit = DotsPerInch / Scale;
// The printable area centred on the world origin.
constexpr double HalfWidth = W / 2.0 / PixelsPerUnit;
constexpr double HalfHeight = H / 2.0 / PixelsPerUnit;
}  // namespace NoPrinterSheet

SettingsTable BuildPageSetupFields() {
  using namespace PageSetup;
  namespace S = NoPrinterSheet;
  return {
      BoolEntry("PageSetup.PrinterPresent", PrinterPresent, false),
      ByteEntry("PageSetup.PaperChoice", PaperChoice, 0, 0, PaperChoiceCount),
      BoolEntry("PageSetup.Landscape", Landscape, false),
      Int32Entry("PageSetup.PaperWidth", PaperWidth, S::PaperWidth, 1, MaxPixels),
      Int32Entry("PageSetup.PaperHeight", PaperHeight, S::PaperHeight, 1, MaxPixels),
      // The page transform and the 3-D fit divide by W and H.
      Int32Entry("PageSetup.PageWidth", PageWidth, S::W, 1, MaxPixels),
      Int32Entry("PageSetup.PageHeight", PageHeight, S::H, 1, MaxPixels),
      Int32Entry("PageSetup.MarginLeft", MarginLeft, S::MarginX, 0, MaxPixels),
      Int32Entry("PageSetup.MarginTop", MarginTop, S::MarginY, 0, MaxPixels),
      Int32Entry("PageSetup.MarginRight", MarginRight, S::MarginX, 0, MaxPixels),
      Int32Entry("PageSetup.MarginBottom", MarginBottom, S::MarginY, 0, MaxPixels),
      Int32Entry("PageSetup.ClipLeft", ClipLeft, 0, -MaxPixels, MaxPixels),
      Int32Entry("PageSetup.ClipTop", ClipTop, 0, -MaxPixels, MaxPixels),
      Int32Entry("PageSetup.ClipRight", ClipRight, S::W - 1, -MaxPixels, MaxPixels),
      Int32Entry("PageSetup.ClipBottom", ClipBottom, S::H - 1, -MaxPixels, MaxPixels),
      // Divisors of the fit and the projection: positive and within any real printer's range.
      RealEntry("PageSetup.PixelAspect", PixelAspect, 1.0, 0.001, 1000),
      RealEntry("PageSetup.FitScale", FitScale, S::Scale, Positive, MaximumScale),
      RealEntry("PageSetup.MapScale", MapScale, S::Scale, Positive, MaximumScale),
      RealEntry("PageSetup.MinimumScale", MinimumScale, 0.0, 0),
      RealEntry("PageSetup.RotationAngle", RotationAngle, 0.0),
      RealEntry("PageSetup.DotsPerInchX", DotsPerInchX, S::DotsPerInch, 1, MaxDotsPerInch),
      RealEntry("PageSetup.DotsPerInchY", DotsPerInchY, S::DotsPerInch, 1, MaxDotsPerInch),
      // Places on the map, held to the coordinates the program takes in.
      RealEntry("PageSetup.ViewCentreX", ViewCentreX, 0.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("PageSetup.ViewCentreY", ViewCentreY, 0.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("PageSetup.RotationCentreX", RotationCentreX, 0.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("PageSetup.RotationCentreY", RotationCentreY, 0.0, -MaxCoordinate, MaxCoordinate),
      RealEntry("PageSetup.CalibrationX", CalibrationX, 1.0, Positive),
      RealEntry("PageSetup.CalibrationY", CalibrationY, 1.0, Positive),
      RealEntry("PageSetup.ScaleFactorX", ScaleFactorX, S::PixelsPerUnit),
      RealEntry("PageSetup.ScaleFactorY", ScaleFactorY, S::PixelsPerUnit),
      RealEntry("PageSetup.SheetLeft", SheetLeft, -S::HalfWidth),
      RealEntry("PageSetup.SheetBottom", SheetBottom, -S::HalfHeight),
      RealEntry("PageSetup.SheetRight", SheetRight, S::HalfWidth),
      RealEntry("PageSetup.SheetTop", SheetTop, S::HalfHeight),
      BoolEntry("PageSetup.BlackAndWhite", BlackAndWhite, false),
      Int32Entry("PageSetup.PaperCode", PaperCode, 1),
      TextEntry("PageSetup.PaperName", PaperName, LetterPaperName),
  };
}

}  // namespace

const SettingsTable& PageSetupFields() {
  static const SettingsTable table = BuildPageSetupFields();
  return table;
}

void SetPageSetupDefaults(SettingsRecord& record) { ApplyDefaults(PageSetupFields(), record); }

int ValidatePageSetup(SettingsRecord& record) { return ValidateFields(PageSetupFields(), record); }

}  // namespace terravue::device

#include "device/page_setup.h"

#include <cmath>
#include <cstring>
#include <tuple>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "device/scale_presets.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "device/page_setup_settings.h"
#include "device/recording_device.h"
#include "common/view3d_settings.h"
#include "support/fake_port.h"

namespace terravue::device {
namespace {

namespace page = PageSetup;
using testing::FakePort;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::int32_t I32At(const SettingsRecord& s, std::size_t offset) {
  std::int32_t v;
  std::memcpy(&v, s.bytes.data() + offset, 4);
  return v;
}

double F64At(const SettingsRecord& s, std::size_t offset) {
  double v;
  std::memcpy(&v, s.bytes.data() + offset, 8);
  return v;
}

model::SurfaceModel ModelWith(std::initializer_list<std::pair<double, double>> points) {
  model::SurfaceModel m;
  m.AllocateStore();
  for (const auto& [x, y] : points) {
    ++m.PointCount;
    m.PointX[m.PointCount] = x;
    m.PointY[m.PointCount] = y;
  }
  m.ComputeExtents();
  return m;
}

SettingsRecord EnglishSettings() {
  SettingsRecord s = DefaultSettings();
  s.Set(settings::AngleConvention, 0);
  return s;
}

PrinterDescription A4Landscape600() {
  PrinterDescription p;
  p.present = true;
  p.paperCode = 9;
  p.landscape = true;
  p.dotsPerInchX = p.dotsPerInchY = 600;
  p.paperWidth = 7016;  // 297 mm
  p.paperHeight = 4960;
  p.offsetX = 100;
  p.offsetY = 50;
  p.pageWidth = 6816;
  p.pageHeight = 4860;
  return p;
}

// ---- SetUpPage ------------------------------------------------------------------------------

TEST(SetUpPage, WithoutAPrinterTheSheetIsLetterAt300DotsPerInch) {
  SettingsRecord s = EnglishSettings();
  SetUpPage(s, PrinterDescription{});
  // The page section's bytes, at their offsets from 5316.
  EXPECT_EQ(s.bytes[5316], 0);             // printer present
  EXPECT_EQ(I32At(s, 5316 + 4), 2550);     // paper width
  EXPECT_EQ(I32At(s, 5316 + 8), 3300);     // paper height
  EXPECT_EQ(I32At(s, 5316 + 12), 2340);    // W
  EXPECT_EQ(I32At(s, 5316 + 16), 2966);    // H
  EXPECT_EQ(I32At(s, 5316 + 20), 105);     // margin left: max(75, 75) + 30
  EXPECT_EQ(I32At(s, 5316 + 24), 167);     // margin top: max(75, 137) + 30
  EXPECT_EQ(I32At(s, 5316 + 28), 105);
  EXPECT_EQ(I32At(s, 5316 + 32), 167);
  EXPECT_EQ(I32At(s, 5316 + 44), 2339);    // clip right
  EXPECT_EQ(I32At(s, 5316 + 48), 2965);    // clip bottom
  EXPECT_EQ(F64At(s, 5316 + 56), 1.0);     // pixel aspect
  EXPECT_EQ(F64At(s, 5316 + 96), 300.0);   // dots per inch X
  EXPECT_EQ(I32At(s, 5316 + 212), 1);      // paper code
  EXPECT_EQ(s.Get(page::PaperName), "Letter 8 1/2 x 11 in");
}

TEST(SetUpPage, ReadsThePrinterAndWidensTheMarginsByATenthOfAnInch) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::RotationAngle, 30.0);
  SetUpPage(s, A4Landscape600());
  EXPECT_TRUE(s.Get(page::PrinterPresent));
  EXPECT_EQ(s.Get(page::MarginLeft), 160);  // max(100, 100) + 60
  EXPECT_EQ(s.Get(page::MarginTop), 110);   // max(50, 50) + 60
  EXPECT_EQ(s.Get(page::PageWidth), 7016 - 320);
  EXPECT_EQ(s.Get(page::PageHeight), 4960 - 220);
  EXPECT_EQ(s.Get(page::PaperName), "A4 210 x 297 mm");
  EXPECT_EQ(s.Get(page::RotationAngle), 0.0);
  EXPECT_EQ(s.Get(page::ScaleFactorX), 600 / s.Get(page::MapScale));
}

TEST(SetUpPage, OrientationDecidesWhichSideIsWide) {
  PrinterDescription p = A4Landscape600();
  p.landscape = false;  // a portrait printer reporting its sizes the wrong way round
  SettingsRecord s = EnglishSettings();
  SetUpPage(s, p);
  EXPECT_EQ(s.Get(page::PaperWidth), 4960);
  EXPECT_EQ(s.Get(page::PaperHeight), 7016);
  EXPECT_EQ(s.Get(page::MarginLeft), 110);
}

// Every offered paper laid out without a printer, at the resolution asked: the no-printer sheet
// is Letter among them, and landscape turns the long side across.
TEST(SetUpPage, OfferedPapersAtAnyResolution) {
  const Paper* letter = PaperByOption("letter");
  ASSERT_NE(letter, nullptr);
  const PrinterDescription l = PaperDescription(*letter, false, 300);
  const PrinterDescription n = NoPrinterDescription();
  EXPECT_EQ(std::tie(l.paperWidth, l.paperHeight, l.pageWidth, l.pageHeight, l.offsetX, l.offsetY),
            std::tie(n.paperWidth, n.paperHeight, n.pageWidth, n.pageHeight, n.offsetX, n.offsetY));

  struct Case {
    const char* option;
    bool landscape;
    int width, height;  // at 100 dots per inch, as laid out
    const char* name;
  };
  const Case cases[] = {
      {"a3", true, 1654, 1169, "A3 297 x 420 mm"},
      {"a0", false, 3311, 4681, "A0 841 x 1189 mm"},
      {"ansi-d", true, 3400, 2200, "D size sheet"},
      {"tabloid", false, 1100, 1700, "Tabloid 11 x 17 in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    const Paper* paper = PaperByOption(c.option);
    ASSERT_NE(paper, nullptr);
    SettingsRecord s = EnglishSettings();
    SetUpPage(s, PaperDescription(*paper, c.landscape, 100));
    EXPECT_EQ(s.Get(page::PaperWidth), c.width);
    EXPECT_EQ(s.Get(page::PaperHeight), c.height);
    EXPECT_EQ(s.Get(page::PaperName), c.name);
    EXPECT_GT(s.Get(page::PageWidth), 0);
    s.Set(page::PaperChoice, PaperChoiceOf(*paper));
    EXPECT_EQ(&ChosenPaper(s), paper);
  }
  EXPECT_EQ(PaperByOption("b5"), nullptr);
  SettingsRecord none = EnglishSettings();
  EXPECT_EQ(ChosenPaper(none).option, "letter");
}

TEST(SetUpPage, PaperNamesComeFromTheCode) {
  EXPECT_EQ(PaperName(1), "Letter 8 1/2 x 11 in");
  EXPECT_EQ(PaperName(29), "Envelope C3  324 x 458 mm");
  EXPECT_EQ(PaperName(42), "B4 (ISO) 250 x 353 mm");
  EXPECT_EQ(PaperName(256), "Custom");
  EXPECT_EQ(PaperName(0), "Unknown paper size");
  EXPECT_EQ(PaperName(43), "Unknown paper size");
  EXPECT_EQ(PaperName(-5), "Unknown paper size");
}

TEST(SetUpPage, DescriptionsNoPrinterCouldGiveCountAsNoPrinter) {
  auto spoil = [](auto change) {
    PrinterDescription p = A4Landscape600();
    change(p);
    return p;
  };
  const std::vector<PrinterDescription> bad = {
      spoil([](PrinterDescription& p) { p.dotsPerInchX = 0; }),
      spoil([](PrinterDescription& p) { p.dotsPerInchY = NaN; }),
      spoil([](PrinterDescription& p) { p.paperWidth = -7016; }),
      spoil([](PrinterDescription& p) { p.pageWidth = p.paperWidth + 1; }),
      spoil([](PrinterDescription& p) { p.offsetY = -1; }),
      spoil([](PrinterDescription& p) { p.paperHeight = 2000000000; }),
  };
  for (const PrinterDescription& p : bad) {
    SettingsRecord s = EnglishSettings();
    SetUpPage(s, p);
    EXPECT_FALSE(s.Get(page::PrinterPresent));
    EXPECT_EQ(s.Get(page::PageWidth), 2340);
  }
}

TEST(SetUpPage, TinyPaperStillLeavesAPrintableArea) {
  PrinterDescription p = A4Landscape600();
  p.paperWidth = p.pageWidth = 50;
  p.paperHeight = p.pageHeight = 40;
  p.offsetX = p.offsetY = 0;
  SettingsRecord s = EnglishSettings();
  SetUpPage(s, p);
  EXPECT_GE(s.Get(page::PageWidth), 1);
  EXPECT_GE(s.Get(page::PageHeight), 1);
}

// ---- FitModel and ApplyScale ----------------------------------------------------------------

// A printable area 7.5 x 10 inches at 300 dots per inch.
SettingsRecord SheetOf7p5By10() {
  SettingsRecord s = EnglishSettings();
  s.Set(page::PageWidth, 2250);
  s.Set(page::PageHeight, 3000);
  return s;
}

TEST(FitModel, AModel1000FeetWideFitsAt134) {
  SettingsRecord s = SheetOf7p5By10();
  const auto m = ModelWith({{500, 2000}, {1500, 2000}, {1500, 2100}, {500, 2100}});
  ASSERT_TRUE(FitModel(s, m, true));
  EXPECT_EQ(s.Get(page::FitScale), 134.0);  // 133.33 rounded up
  EXPECT_EQ(s.Get(page::MapScale), 134.0);
  EXPECT_EQ(s.Get(page::ViewCentreX), 1000.0);
  EXPECT_EQ(s.Get(page::ViewCentreY), 2050.0);
  EXPECT_EQ(s.Get(page::RotationCentreX), 1000.0);
  // The model spans at most 32767 pixels at the minimum scale.
  EXPECT_NEAR(s.Get(page::MinimumScale), 1000.0 * 300 / 32767, 1e-9);
  // The sheet's corners: the centre plus or minus half the printable area at 134 ft/in.
  EXPECT_NEAR(s.Get(page::SheetLeft), 1000 - 3.75 * 134, 1e-9);
  EXPECT_NEAR(s.Get(page::SheetTop), 2050 + 5 * 134, 1e-9);
  EXPECT_NEAR(s.Get(page::SheetRight), 1000 + 3.75 * 134, 1e-9);
  EXPECT_NEAR(s.Get(page::SheetBottom), 2050 - 5 * 134, 1e-9);
}

TEST(FitModel, HeightLimitsATallModelAndMetricScalesArePerCentimetre) {
  SettingsRecord s = SheetOf7p5By10();
  const auto m = ModelWith({{0, 0}, {10, 0}, {10, 2000}});
  FitModel(s, m, true);
  EXPECT_EQ(s.Get(page::FitScale), 200.0);  // 2000 ft on 10 inches
  s.Set(settings::Units, 1);
  FitModel(s, m, true);
  EXPECT_EQ(s.Get(page::FitScale), 79.0);  // 2000 m on 25.4 cm: 78.74 rounded up
  EXPECT_LE(s.Get(page::MinimumScale), 79.0);
}

TEST(FitModel, TheRotatedModelIsWhatFits) {
  SettingsRecord s = SheetOf7p5By10();
  s.Set(page::RotationAngle, 90.0);
  const auto m = ModelWith({{0, 0}, {2000, 0}, {2000, 10}});
  FitModel(s, m, true);
  EXPECT_EQ(s.Get(page::FitScale), 200.0);  // 2000 ft east-west stands on the 10 inch side
}

TEST(FitModel, KeepsTheScaleWhenAskedAndDoesNothingWithoutPoints) {
  SettingsRecord s = SheetOf7p5By10();
  s.Set(page::MapScale, 500.0);
  const auto m = ModelWith({{0, 0}, {1000, 0}, {1000, 10}});
  FitModel(s, m, false);
  EXPECT_EQ(s.Get(page::MapScale), 500.0);
  EXPECT_EQ(s.Get(page::FitScale), 134.0);

  SettingsRecord untouched = SheetOf7p5By10();
  const SettingsRecord before = untouched;
  EXPECT_FALSE(FitModel(untouched, ModelWith({}), true));
  EXPECT_EQ(untouched, before);
}

TEST(FitModel, ASinglePointStillGivesAUsableScale) {
  SettingsRecord s = SheetOf7p5By10();
  FitModel(s, ModelWith({{10, 20}}), true);
  EXPECT_GT(s.Get(page::MapScale), 0);
  EXPECT_EQ(s.Get(page::ViewCentreX), 10.0);
}

TEST(FitModel, AHugePrintableAreaNeverRefusesTheFitScale) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::PageWidth, 100000);
  s.Set(page::PageHeight, 100000);
  FitModel(s, ModelWith({{0, 0}, {1000, 0}, {1000, 1000}}), true);
  EXPECT_EQ(s.Get(page::MapScale), s.Get(page::FitScale));
}

TEST(ApplyScale, UnusableScalesAreNotApplied) {
  SettingsRecord s = SheetOf7p5By10();
  FitModel(s, ModelWith({{0, 0}, {1000, 0}, {1000, 10}}), true);
  const SettingsRecord before = s;
  for (double bad : {0.0, -134.0, NaN, std::numeric_limits<double>::infinity(), 1.0, 1e308}) {
    EXPECT_FALSE(ApplyScale(s, bad)) << bad;  // 1.0 is below the minimum of 9.16
    EXPECT_EQ(s, before) << bad;
  }
  EXPECT_TRUE(ApplyScale(s, 200));
  EXPECT_EQ(s.Get(page::ScaleFactorX), 1.5);
}

// ---- The 1 inch = 200 feet check on a recorded printer --------------------------------------

TEST(PrintedScale, AThousandFootSquareAt200FeetPerInchIsFiveInches) {
  SettingsRecord s = SheetOf7p5By10();
  const auto m = ModelWith({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
  FitModel(s, m, false);
  ASSERT_TRUE(ApplyScale(s, 200));
  RecordingDevice d(DeviceKind::Printer, ViewTransform::FromSettings(s), PrinterFrame(s));
  d.DevicePlot(false, 0, 0, 0);
  d.DevicePenDown();
  for (const auto& [x, y] : {std::pair{1000.0, 0.0}, {1000.0, 1000.0}, {0.0, 1000.0}, {0.0, 0.0}})
    d.DevicePlot(false, x, y, 0);
  d.DevicePenUp();
  const auto lines = d.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].second.x - lines[0].first.x, 1500);  // 5 inches at 300 dots per inch
  EXPECT_EQ(lines[1].first.y - lines[1].second.y, 1500);
}

// ---- Set Scale and calibration --------------------------------------------------------------

TEST(SetScale, LabelsFollowUnitsAndCoordinateOrder) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::ViewCentreX, 100.0);
  s.Set(page::ViewCentreY, 200.0);
  SetScaleLabels l = SetScaleCaptions(s);
  EXPECT_EQ(l.scale, "Scale (feet/inch) >");
  EXPECT_EQ(l.firstOffset, "Northing Offset >");
  EXPECT_EQ(SetScaleFieldTexts(s).firstOffset, "200.000");
  s.Set(settings::Units, 1);
  s.Set(settings::CoordinateOrder, 1);
  l = SetScaleCaptions(s);
  EXPECT_EQ(l.scale, "Scale (m/cm) >");
  EXPECT_EQ(l.firstOffset, "X Offset >");
  EXPECT_EQ(l.secondOffset, "Y Offset >");
  EXPECT_EQ(SetScaleFieldTexts(s).firstOffset, "100.000");
}

TEST(SetScale, ChangingTheAngleRefitsAtOnce) {
  SettingsRecord s = SheetOf7p5By10();
  const auto m = ModelWith({{0, 0}, {2000, 0}, {2000, 10}});
  FitModel(s, m, true);
  EXPECT_EQ(s.Get(page::MapScale), 267.0);
  EXPECT_FALSE(ChangeRotationAngle(s, m, "0.00005"));  // not a change
  EXPECT_FALSE(ChangeRotationAngle(s, m, "abc"));
  EXPECT_TRUE(ChangeRotationAngle(s, m, "90"));
  EXPECT_EQ(s.Get(page::RotationAngle), 90.0);
  EXPECT_EQ(s.Get(page::MapScale), 200.0);
}

TEST(SetScale, OkStoresWhatParsesAndReportsTheRest) {
  SettingsRecord s = SheetOf7p5By10();
  FitModel(s, ModelWith({{0, 0}, {1000, 0}, {1000, 10}}), true);
  FakePort port;
  StoreSetScale(port, s, {"x", "-5", "12.5", "bad"}, true, false);
  EXPECT_EQ(port.Texts(FakePort::Kind::Error),
            (std::vector<std::string>{"Invalid rotation angle for printer output.",
                                      "Invalid scale for printer output.",
                                      "Invalid offset for printer output."}));
  EXPECT_EQ(s.Get(page::MapScale), 134.0);
  EXPECT_EQ(s.Get(page::ViewCentreY), 12.5);  // Northing first
  EXPECT_TRUE(s.Get(page::BlackAndWhite));

  FakePort quiet;
  StoreSetScale(quiet, s, {"0", "250", "1", "2"}, false, false);
  EXPECT_TRUE(quiet.shown.empty());
  EXPECT_EQ(s.Get(page::MapScale), 250.0);
  EXPECT_EQ(s.Get(page::ViewCentreX), 2.0);
  // Below the minimum scale: silently not applied.
  StoreSetScale(quiet, s, {"0", "0.5", "1", "2"}, false, false);
  EXPECT_TRUE(quiet.shown.empty());
  EXPECT_EQ(s.Get(page::MapScale), 250.0);
}

TEST(SetScale, ResetHeightsTakesThePresetOfTheNewScale) {
  SettingsRecord s = SheetOf7p5By10();
  FitModel(s, ModelWith({{0, 0}, {1000, 0}, {1000, 10}}), true);
  FakePort port;
  StoreSetScale(port, s, {"0", "75", "0", "0"}, false, true);
  // 75 takes the preset of 100: sizes 10, markers 5, titles 20.
  EXPECT_EQ(s.Get(device::ContourOptions::TextHeight), 10.0);
  EXPECT_EQ(s.Get(device::PointOptions::MarkerHeight), 5.0);
  EXPECT_EQ(s.Get(device::TitleOptions::TitleTextHeight), 20.0);
  EXPECT_EQ(s.Get(device::ContourOptions::DashLength), 75 / 4.0);
}

TEST(SetScale, CancelPutsTheViewBack) {
  SettingsRecord s = SheetOf7p5By10();
  const auto m = ModelWith({{0, 0}, {2000, 0}, {2000, 10}});
  FitModel(s, m, true);
  const PageView before = TakePageView(s);
  const double left = s.Get(page::SheetLeft);
  ChangeRotationAngle(s, m, "45");
  RestorePageView(s, before);
  EXPECT_EQ(s.Get(page::RotationAngle), 0.0);
  EXPECT_EQ(s.Get(page::MapScale), 267.0);
  EXPECT_EQ(s.Get(page::SheetLeft), left);
}

TEST(Calibration, StoresPositiveFactorsOnly) {
  SettingsRecord s = EnglishSettings();
  EXPECT_EQ(CalibrationFieldTexts(s).horizontal, "1.000");
  FakePort port;
  StoreCalibration(port, s, {"1.02", "0"});
  StoreCalibration(port, s, {"-1", "x"});
  EXPECT_EQ(s.Get(page::CalibrationX), 1.02);
  EXPECT_EQ(s.Get(page::CalibrationY), 1.0);
  EXPECT_EQ(port.Texts(FakePort::Kind::Error),
            (std::vector<std::string>{"Invalid vertical calibration factor.",
                                      "Invalid horizontal calibration factor.",
                                      "Invalid vertical calibration factor."}));
}

// ---- Scale presets --------------------------------------------------------------------------

TEST(ScalePresets, TheFirstPresetNotBelowTheScaleIsChosen) {
  const SettingsRecord s = EnglishSettings();
  struct Case {
    double scale;
    int preset;
  };
  for (const Case& c : {Case{75, 3}, Case{500, 4}, Case{5, 0}, Case{100, 3}, Case{100.0001, 4}})
    EXPECT_EQ(device::ChooseScalePreset(s, 0, c.scale), c.preset) << c.scale;
}

TEST(ScalePresets, UnusableSizesAndLengthsAreNotCopied) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::MapScale, 0.001);
  s.Set(settings::ScalePresetSizes(0, 0, 2), -3.0);
  s.Set(device::ContourOptions::TextHeight, 7.0);
  device::ApplyScalePreset(s);
  EXPECT_EQ(s.Get(device::ContourOptions::TextHeight), 7.0);
  EXPECT_EQ(s.Get(device::SurfaceGridOptions::DashLength), device::MinLength);
  EXPECT_EQ(s.Get(device::AnalyzerOptions::ArrowMagnitude), device::MinLength);
}

// ---- Printing -------------------------------------------------------------------------------

class FakeTarget : public PrintTarget {
 public:
  explicit FakeTarget(const SettingsRecord& s)
      : device_(DeviceKind::Printer, ViewTransform::FromSettings(s), PrinterFrame(s)) {}
  bool BeginDocument(int copies) override {
    this->copies = copies;
    return beginOk;
  }
  DrawingDevice& Device() override { return device_; }
  bool EndDocument() override { return endOk; }
  void AbortDocument() override { aborted = true; }

  bool beginOk = true, endOk = true, aborted = false;
  int copies = 0;

 private:
  RecordingDevice device_;
};

TEST(PrintMap, BlackAndWhitePrintsBlackAndRestoresTheColours) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::BlackAndWhite, true);
  const SettingsRecord before = s;
  FakeTarget target(s);
  FakePort port;
  std::uint32_t contourColour = 1, background = 1;
  const auto outcome = PrintMap(port, s, target, 300, [&](DrawingDevice&) {
    contourColour = s.Get(device::ContourOptions::PrimaryColour);
    background = s.Get(settings::MapBackgroundColour);
  });
  EXPECT_EQ(outcome, PrintOutcome::Printed);
  EXPECT_EQ(contourColour, settings::Black);
  EXPECT_EQ(background, settings::Black);
  EXPECT_EQ(s, before);
  EXPECT_EQ(target.copies, 255);
  EXPECT_EQ(port.Transcript(), "progress: Printing...\ncompletion: Printing complete!\n");
}

TEST(PrintMap, AFailedPrintIsReportedAsAnError) {
  for (bool beginFails : {true, false}) {
    SettingsRecord s = EnglishSettings();
    FakeTarget target(s);
    (beginFails ? target.beginOk : target.endOk) = false;
    FakePort port;
    EXPECT_EQ(PrintMap(port, s, target, 1, [](DrawingDevice&) {}), PrintOutcome::Failed);
    EXPECT_EQ(port.Texts(FakePort::Kind::Completion).size(), 0u);
    EXPECT_EQ(port.Texts(FakePort::Kind::Error), std::vector<std::string>{"The map could not be printed."});
  }
}

TEST(PrintMap, AnErrorWhileDrawingRestoresTheColoursAndDropsTheDocument) {
  SettingsRecord s = EnglishSettings();
  s.Set(page::BlackAndWhite, true);
  const SettingsRecord before = s;
  FakeTarget target(s);
  FakePort port;
  EXPECT_THROW(PrintMap(port, s, target, 1, [](DrawingDevice&) { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_EQ(s, before);
  EXPECT_TRUE(target.aborted);
}

TEST(PrintForm, LabelsDescribeThePrinterThePaperAndTheScale) {
  SettingsRecord s = EnglishSettings();
  const auto m = ModelWith({{0, 0}, {1000, 0}, {1000, 10}});
  FakePort port;
  EXPECT_FALSE(CheckPrinterAvailable(port, s));
  EXPECT_EQ(port.Texts(FakePort::Kind::Error)[0],
            "Printer not available.\r\nUse the Print Setup command to specify a printer.");
  PrintFormText t = DescribePrintForm(s, m, "Office");
  EXPECT_EQ(t.printer + t.paper + t.orientation + t.scale, "N/AN/AN/AN/A");
  EXPECT_EQ(t.status, "Printer not available");
  EXPECT_FALSE(t.printEnabled);

  SetUpPage(s, A4Landscape600());
  s.Set(page::MapScale, 134.0);
  t = DescribePrintForm(s, m, "Office");
  EXPECT_EQ(t.printer, "Office");
  EXPECT_EQ(t.paper, "A4 210 x 297 mm");
  EXPECT_EQ(t.orientation, "Landscape");
  EXPECT_EQ(t.scale, "134.000 (feet/inch)");
  EXPECT_TRUE(t.printEnabled);
  EXPECT_TRUE(t.setScaleEnabled);
  EXPECT_EQ(DescribePrintForm(s, ModelWith({}), "Office").scale, "N/A");
  s.Set(settings::View3DOptions::View3D, true);
  EXPECT_FALSE(DescribePrintForm(s, m, "Office").setScaleEnabled);
}

}  // namespace
}  // namespace terravue::device

#include "app/settings_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "exchange/import_export_settings.h"
#include "device/map_options.h"
#include "device/cad_settings.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"

namespace terravue::app {
namespace {

namespace fs = std::filesystem;
using namespace settings;
using exchange::BorderExport;
using exchange::BorderImport;
using exchange::BreaklineExport;
using exchange::BreaklineImport;
using exchange::CoordExport;
using exchange::CoordImport;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::size_t StoredSize(const SettingsField& f) {
  switch (f.kind) {
    case FieldKind::Bool:
    case FieldKind::U8: return 1;
    case FieldKind::I16:
    case FieldKind::U16: return 2;
    case FieldKind::I32:
    case FieldKind::Colour: return 4;
    case FieldKind::F64: return 8;
    case FieldKind::Text: return f.capacity + 1;
    case FieldKind::Layer: return 16;
  }
  return 0;
}

// A valid image unlike the built-in one wherever that is free to differ: reserved bytes and the
// bytes after each text's end hold a pattern, which loading must keep.
SettingsRecord PatternedSettings() {
  SettingsRecord r = DefaultSettings();
  std::vector<bool> validated(SettingsRecord::Size, false);
  for (const auto& f : AllSettingsFields()) {
    const ByteSpan span = ValidatedBytes(f);
    for (std::size_t i = span.offset; i < span.offset + span.size; ++i) validated[i] = true;
    if (f.kind == FieldKind::Text)
      for (std::size_t i = f.offset + 1; i < f.offset + 1 + f.capacity; ++i) validated[i] = true;
  }
  for (const auto& f : AllSettingsFields())
    if (f.kind == FieldKind::Text)
      for (std::size_t i = f.offset + 1 + f.text.size(); i <= f.offset + f.capacity; ++i)
        r.bytes[i] = static_cast<std::uint8_t>('a' + i % 26);
  for (std::size_t i = 0; i < SettingsRecord::Size; ++i)
    if (!validated[i]) r.bytes[i] = static_cast<std::uint8_t>(0xA0 + i % 31);
  return r;
}

fs::path FreshDirectory(const std::string& name) {
  // The process id keeps builds that run their tests at the same time apart.
  const fs::path dir = fs::temp_directory_path() /
                       ("terravue_settings_" + name + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::vector<std::uint8_t> ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& file, std::span<const std::uint8_t> bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(SettingsImage, FieldsAreNamedOnceAndDoNotOverlap) {
  const auto& fields = AllSettingsFields();
  std::vector<std::string> names;
  std::size_t end = 0;
  std::string previous = "(start)";
  for (const auto& f : fields) {
    EXPECT_GE(f.offset, end) << f.name << " overlaps " << previous;
    end = f.offset + StoredSize(f);
    previous = f.name;
    names.push_back(f.name);
  }
  EXPECT_LE(end, SettingsRecord::Size);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(SettingsImage, BuiltInImageIsAccepted) {
  SettingsRecord r = DefaultSettings();
  EXPECT_EQ(ValidateSettings(r), 0);
  EXPECT_EQ(r, DefaultSettings());
}

// Spot checks of every section of the built-in image against its published defaults.
struct Expected {
  const char* what;
  std::function<bool(const SettingsRecord&)> holds;
};

template <typename Field, typename Value>
Expected Is(const char* what, Field f, Value v) {
  return {what, [=](const SettingsRecord& r) { return r.Get(f) == v; }};
}

Expected Layer(const char* what, LayerField f, const char* name, int number) {
  return {what, [=](const SettingsRecord& r) {
            const CadLayer l = r.Get(f);
            return l.LayerName == name && l.AcadColour == 7 && l.BatchColour == 7 && l.BatchNumber == number;
          }};
}

Expected Codes(const char* what, const exchange::FormatRecord& rec, std::vector<int> codes,
               std::vector<std::string> decorations) {
  return {what, [=](const SettingsRecord& r) {
            for (int k = 0; k < exchange::FormatRecord::CodeCount; ++k)
              if (r.Get(rec.Code(k)) != (k < static_cast<int>(codes.size()) ? codes[k] : 0)) return false;
            for (int k = 0; k < exchange::FormatRecord::DecorationCount; ++k)
              if (r.Get(rec.Decoration(k)) != (k < static_cast<int>(decorations.size()) ? decorations[k] : ""))
                return false;
            return r.Get(rec.FormatIndex()) == -1 && r.Get(rec.FileName()).empty();
          }};
}

Expected Zero(const char* what, std::size_t offset, std::size_t size) {
  return {what, [=](const SettingsRecord& r) {
            for (std::size_t i = offset; i < offset + size; ++i)
              if (r.bytes[i] != 0) return false;
            return true;
          }};
}

TEST(SettingsImage, BuiltInValuesAtTheirOffsets) {
  namespace map = device;
  namespace page = device::PageSetup;
  namespace cad = device::CadOutput;
  namespace view = settings::View3DOptions;
  namespace cursor = app::CursorOptions;
  const std::vector<Expected> rows = {
      Zero("reserved head", 0, 4),
      Is("ModelFileType", ModelFileType, 2),
      Is("ModelSaved", ModelSaved, true),
      Is("RecentFiles[9] empty", RecentFile(9), std::string()),
      Layer("layer 23, in bytes reserved before it", map::AnalyzerOptions::CutFillLayer, "TVUCUTFILL", 23),
      Zero("reserved after the cut/fill layer", 954, 2),
      Is("DataDirectory empty", DataDirectory, std::string()),
      Is("AngleConvention", AngleConvention, 1),
      Is("ReportFontName", ReportFontName, std::string("Courier New")),
      Is("AutoLoad", AutoLoad, true),
      Is("EditorBarColour", EditorBarColour, 0xDBCDBFu),
      Is("English preset 0 row 3", ScalePresetSizes(0, 0, 3), 0.5),
      Is("English preset 0 row 6", ScalePresetSizes(0, 0, 6), 2.0),
      Is("English preset 4 row 0", ScalePresetSizes(0, 4, 0), 20.0),
      Is("Metric preset 1 row 0", ScalePresetSizes(1, 1, 0), 2.5),
      Is("Metric preset 1 row 3", ScalePresetSizes(1, 1, 3), 1.25),
      Is("Metric preset 1 row 6", ScalePresetSizes(1, 1, 6), 5.0),
      Is("unused preset size", ScalePresetSizes(1, 9, 7), 1.0),
      Is("English scale 4", ScalePresetScale(0, 4), 200.0),
      Is("Metric scale 0", ScalePresetScale(1, 0), 1.0),
      Is("unused preset scale", ScalePresetScale(0, 5), 1.0),
      Is("English preset count", ScalePresetCount(0), 5),
      Is("Metric preset count", ScalePresetCount(1), 5),
      Is("PrinterPresent", page::PrinterPresent, false),
      Is("PaperHeight", page::PaperHeight, 3300),
      Is("printable W", page::PageWidth, 2340),
      Is("printable H", page::PageHeight, 2966),
      Is("MarginLeft", page::MarginLeft, 105),
      Is("MarginBottom", page::MarginBottom, 167),
      Is("ClipRight", page::ClipRight, 2339),
      Is("ClipBottom", page::ClipBottom, 2965),
      Is("PixelAspect", page::PixelAspect, 1.0),
      Is("MapScale", page::MapScale, 100.0),
      Is("DotsPerInchY", page::DotsPerInchY, 300.0),
      Is("CalibrationY", page::CalibrationY, 1.0),
      Is("SheetRight", page::SheetRight, 390.0),
      Is("PaperCode", page::PaperCode, 1),
      Is("PaperName", page::PaperName, std::string("Letter 8 1/2 x 11 in")),
      Is("PaperChoice none", page::PaperChoice, 0),
      Is("Landscape", page::Landscape, false),
      Is("Declutter", map::PointOptions::Declutter, false),
      Is("BorderImport.MatchNumbersToLabels", exchange::BorderImport.MatchNumbersToLabels(), false),
      Is("BreaklineImport.MatchNumbersToLabels", exchange::BreaklineImport.MatchNumbersToLabels(), false),
      Is("DxfSelected", cad::DxfSelected, true),
      Is("CadDataDirectory empty", cad::CadDataDirectory, std::string()),
      Is("Use3DPolylines", cad::Use3DPolylines, true),
      Is("StandardTextType", cad::StandardTextType, true),
      Is("CAD ElevationFactor", cad::ElevationFactor, 1.0),
      Is("FastLoad", cad::FastLoad, true),
      Is("Triangle colour red", map::TriangleOptions::Colour, 0x0000FFu),
      Layer("layer 1", map::TriangleOptions::Layer, "TVUTRIANGLE", 1),
      Is("grid multiple colour navy", map::SurfaceGridOptions::MultipleColour, 0x800000u),
      Is("grid Segments", map::SurfaceGridOptions::Segments, 3),
      Is("contour Interval", map::ContourOptions::Interval, 1.0),
      Is("contour LabelDecimals", map::ContourOptions::LabelDecimals, 2),
      Is("contour LabelFrequency", map::ContourOptions::LabelFrequency, 10.0),
      Is("contour text teal", map::ContourOptions::TextColour, 0x808000u),
      Layer("layer 8", map::ContourOptions::MultipleLayer, "TVUCONTOUR2", 8),
      Is("border colour maroon", map::BorderOptions::Colour, 0x000080u),
      Is("MarkerKind", map::PointOptions::MarkerKind, 3),
      Is("ElevationDecimals", map::PointOptions::ElevationDecimals, 3),
      Layer("layer 15", map::TitleOptions::TitleLayer2, "TVUTITLE", 15),
      Layer("layer 16", map::CadFacesOptions::Layer, "TVUFACES", 16),
      Is("ZoneCount", map::AnalyzerOptions::ZoneCount, 1),
      Is("ArrowsAtTriangleCentres", map::AnalyzerOptions::ArrowsAtTriangleCentres, true),
      Is("FlowGridSpacing", map::AnalyzerOptions::FlowGridSpacing, 100.0),
      Is("ridge colour fuchsia", map::AnalyzerOptions::RidgeColour, 0xFF00FFu),
      Layer("layer 21", map::AnalyzerOptions::WatershedLayer, "TVUWATERSHED", 21),
      Layer("layer 22", map::AnalyzerOptions::RidgeLayer, "TVURIDGE", 22),
      Is("cut/fill map off", map::AnalyzerOptions::ShowCutFill, false),
      Is("MapBackgroundColour white", MapBackgroundColour, 0xFFFFFFu),
      Is("MapInkColour black", MapInkColour, 0u),
      Is("CustomColours empty", map::CustomColours, std::string()),
      Is("ScreenScrolling", cursor::ScreenScrolling, true),
      Is("CursorAngle", cursor::CursorAngle, 1.570796325),
      Is("CursorStep", cursor::CursorStep, 50.0),
      Is("QuickZoomLevel", cursor::QuickZoomLevel, 20),
      Is("ZoomFactor", cursor::ZoomFactor, 2),
      Is("CursorLineMargin", cursor::CursorLineMargin, 50),
      Is("AutoLoadBorder", exchange::AutoLoadBorder, false),
      Codes("CoordImport X Y ZN", CoordImport, {2, 3, 4, 7}, {"", " ", " "}),
      Codes("BorderImport A", BorderImport, {2}, {}),
      Codes("BreaklineImport P P", BreaklineImport, {1, 1}, {"", " "}),
      Codes("CoordExport X Y ZN", CoordExport, {2, 3, 4, 7}, {"", " ", " "}),
      Codes("BorderExport AN", BorderExport, {2, 7}, {}),
      Codes("BreaklineExport P PN", BreaklineExport, {1, 1, 7}, {"", " "}),
      Is("ShadedSurface", view::ShadedSurface, false),
      Zero("reserved after ShadedSurface", 11002, 2),
      Is("ViewOffsetY", view::ViewOffsetY, -15000.0),
      Is("TargetZ", view::TargetZ, 1.0),
      Is("EyeFactor", view::EyeFactor, 0.5),
      Is("MovementPlanar", view::MovementPlanar, true),
      Is("StepEyeFactor", view::StepEyeFactor, -0.1),
      Is("ViewerFontName", ViewerFontName, std::string("Courier New")),
      Is("ViewerFontSize", ViewerFontSize, 10),
      Is("ShowSplash", ShowSplash, true),
      Zero("reserved tail", 11233, 3),
  };
  const SettingsRecord r = DefaultSettings();
  for (const auto& row : rows) EXPECT_TRUE(row.holds(r)) << row.what;
}

TEST(SettingsLoad, ValidImageLoadsUnchanged) {
  const SettingsRecord patterned = PatternedSettings();
  SettingsRecord loaded;
  int reset = -1;
  EXPECT_EQ(LoadSettingsBytes(loaded, patterned.bytes, &reset), SettingsLoad::Full);
  EXPECT_EQ(reset, 0);
  EXPECT_EQ(loaded, patterned);
}

TEST(SettingsLoad, ShortAndLongFilesReplaceOnlyTheImageBytes) {
  const SettingsRecord patterned = PatternedSettings();
  struct Case {
    std::size_t length;
    SettingsLoad status;
  };
  for (const Case c : {Case{0, SettingsLoad::Short}, Case{100, SettingsLoad::Short},
                       Case{5316, SettingsLoad::Short}, Case{SettingsRecord::Size, SettingsLoad::Full},
                       Case{SettingsRecord::Size + 100, SettingsLoad::Full}}) {
    SCOPED_TRACE(c.length);
    std::vector<std::uint8_t> file(patterned.bytes.begin(), patterned.bytes.end());
    file.resize(c.length, 0xFF);
    SettingsRecord loaded;
    EXPECT_EQ(LoadSettingsBytes(loaded, file), c.status);
    const SettingsRecord defaults = DefaultSettings();
    const std::size_t taken = std::min(c.length, SettingsRecord::Size);
    EXPECT_TRUE(std::equal(loaded.bytes.begin(), loaded.bytes.begin() + taken, patterned.bytes.begin()));
    EXPECT_TRUE(std::equal(loaded.bytes.begin() + taken, loaded.bytes.end(), defaults.bytes.begin() + taken));
  }
}

// One field of an otherwise valid image made hostile; loading puts back that field only.
struct Hostile {
  const char* what;
  std::function<void(SettingsRecord&)> spoil;
  ByteSpan field;
  std::optional<std::uint8_t> clampedLength;  // texts keep their characters
};

template <typename Field, typename Value>
Hostile Spoil(const char* what, Field f, Value v) {
  using Stored = decltype(SettingsRecord{}.Get(f));
  return {what, [=](SettingsRecord& r) { r.Set(f, v); }, {f.offset, sizeof(Stored)}, {}};
}

Hostile SpoilByte(const char* what, std::size_t offset, std::uint8_t v) {
  return {what, [=](SettingsRecord& r) { r.bytes[offset] = v; }, {offset, 1}, {}};
}

Hostile Overlong(const char* what, std::size_t lengthOffset, std::uint8_t capacity) {
  return {what, [=](SettingsRecord& r) { r.bytes[lengthOffset] = 0xFF; }, {lengthOffset, 1}, capacity};
}

TEST(SettingsLoad, HostileFieldIsResetAlone) {
  namespace map = device;
  namespace page = device::PageSetup;
  namespace view = settings::View3DOptions;
  namespace cursor = app::CursorOptions;
  const std::vector<Hostile> rows = {
      SpoilByte("Units beyond Metric", Units.offset, 2),
      SpoilByte("ModelFileType 1", ModelFileType.offset, 1),
      SpoilByte("ModelFileType 9", ModelFileType.offset, 9),
      SpoilByte("bool of 2", map::TriangleOptions::Show.offset, 2),
      Spoil("no presets", ScalePresetCount(0), 0),
      Spoil("eleven presets", ScalePresetCount(1), 11),
      Spoil("preset scale 0", ScalePresetScale(0, 2), 0.0),
      Spoil("preset scale NaN", ScalePresetScale(1, 9), NaN),
      Spoil("preset size infinite", ScalePresetSizes(0, 1, 4), -Inf),
      Spoil("contour interval below 0.001", map::ContourOptions::Interval, 0.0005),
      Spoil("grid interval 0", map::SurfaceGridOptions::IntervalY, 0.0),
      Spoil("dash length 0", map::ContourOptions::DashLength, 0.0),
      Spoil("two segments per curve", map::ContourOptions::Segments, std::uint16_t{2}),
      Spoil("tension above 10", map::SurfaceGridOptions::Tension, 10.5),
      Spoil("label frequency below 1", map::ContourOptions::LabelFrequency, 0.5),
      Spoil("negative multiple", map::ContourOptions::Multiple, std::int16_t{-1}),
      Spoil("four decimals", map::SurfaceGridOptions::TextDecimals, std::uint8_t{4}),
      Spoil("width index 21", map::BorderOptions::Width, 21),
      Spoil("width index -1", map::AnalyzerOptions::RidgeWidth, -1),
      Spoil("marker kind 6", map::PointOptions::MarkerKind, std::uint8_t{6}),
      Spoil("zero zones", map::AnalyzerOptions::ZoneCount, 0),
      Spoil("101 zones", map::AnalyzerOptions::ZoneCount, 101),
      Spoil("arrow magnitude 0", map::AnalyzerOptions::ArrowMagnitude, 0.0),
      Spoil("flow spacing infinite", map::AnalyzerOptions::FlowGridSpacing, Inf),
      Spoil("title text height NaN", map::TitleOptions::MiscTextHeight, NaN),
      Spoil("printable width 0", page::PageWidth, 0),
      Spoil("map scale negative", page::MapScale, -100.0),
      Spoil("map scale 1e308", page::MapScale, 1e308),
      Spoil("calibration 0", page::CalibrationX, 0.0),
      Spoil("dots per inch 0", page::DotsPerInchX, 0.0),
      Spoil("CAD elevation factor NaN", device::CadOutput::ElevationFactor, NaN),
      Spoil("zoom factor 0", cursor::ZoomFactor, std::uint8_t{0}),
      Spoil("quick zoom level 0", cursor::QuickZoomLevel, std::uint8_t{0}),
      Spoil("cursor step 0", cursor::CursorStep, 0.0),
      Spoil("format index 5", CoordExport.FormatIndex(), 5),
      Spoil("format index -2", BreaklineImport.FormatIndex(), -2),
      SpoilByte("shaded surface of 2", view::ShadedSurface.offset, 2),
      Spoil("eye factor 1.5", view::EyeFactor, 1.5),
      Spoil("movement type 9", view::MovementType, std::int16_t{9}),
      Spoil("delay above 1200", view::AnimationDelay, std::int16_t{1201}),
      Spoil("rotation step 400", view::StepRotateVertical, 400.0),
      Spoil("3-D elevation factor infinite", view::ElevationFactor, Inf),
      // Places on the map beyond any coordinate the program takes in.
      Spoil("view centre 2.26e13", page::ViewCentreX, 2.26e13),
      Spoil("rotation centre -1e300", page::RotationCentreY, -1e300),
      Spoil("contour base 1e12", map::ContourOptions::Base, 1e12),
      Spoil("3-D target 1e15", view::TargetZ, 1e15),
      Spoil("viewer font size 0", ViewerFontSize, 0),
      Overlong("company name", CompanyName.offset, 78),
      Overlong("paper name", page::PaperName.offset, 87),
      Overlong("layer name", map::ContourOptions::TextLayer.offset + 1, 12),
      Overlong("decoration", CoordImport.Decoration(10).offset, 20),
      Overlong("model file extension", ModelFileExt.offset, 4),
      SpoilByte("cut/fill switch of 2", map::AnalyzerOptions::ShowCutFill.offset, 2),
      // Files written before the cut/fill map kept zeros where its layer record now is.
      {"cut/fill layer all zeros",
       [](SettingsRecord& r) { std::fill_n(r.bytes.begin() + map::AnalyzerOptions::CutFillLayer.offset, 16, 0); },
       {map::AnalyzerOptions::CutFillLayer.offset, 16},
       {}},
  };
  const SettingsRecord patterned = PatternedSettings();
  const SettingsRecord defaults = DefaultSettings();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SettingsRecord file = patterned;
    row.spoil(file);
    ASSERT_NE(file, patterned);
    SettingsRecord loaded;
    int reset = 0;
    LoadSettingsBytes(loaded, file.bytes, &reset);
    EXPECT_EQ(reset, 1);
    SettingsRecord expected = patterned;
    if (row.clampedLength)
      expected.bytes[row.field.offset] = *row.clampedLength;
    else
      std::memcpy(expected.bytes.data() + row.field.offset, defaults.bytes.data() + row.field.offset,
                  row.field.size);
    EXPECT_EQ(loaded, expected);
  }
}

TEST(SettingsLoad, ViewStraightDownGetsTheBuiltInOffsets) {
  namespace view = settings::View3DOptions;
  SettingsRecord file = PatternedSettings();
  file.Set(view::ViewOffsetX, 0.00005);
  file.Set(view::ViewOffsetY, -0.00002);
  file.Set(view::ViewOffsetZ, 7000.0);
  SettingsRecord loaded;
  LoadSettingsBytes(loaded, file.bytes);
  EXPECT_EQ(loaded.Get(view::ViewOffsetX), 15000.0);
  EXPECT_EQ(loaded.Get(view::ViewOffsetY), -15000.0);
  EXPECT_EQ(loaded.Get(view::ViewOffsetZ), 7000.0);

  // One horizontal offset away from zero is a usable view.
  file.Set(view::ViewOffsetY, -0.0001);
  LoadSettingsBytes(loaded, file.bytes);
  EXPECT_EQ(loaded.Get(view::ViewOffsetY), -0.0001);
}

TEST(SettingsFile, SaveReplacesTheFileAndLeavesNothingBeside) {
  const fs::path dir = FreshDirectory("save");
  const fs::path file = dir / "TERRAVUE_SURFACE.VSF";
  WriteAll(file, std::vector<std::uint8_t>(10, 0x55));
  SettingsRecord saved = PatternedSettings();
  ASSERT_TRUE(SaveSettings(saved, file));
  const auto bytes = ReadAll(file);
  ASSERT_EQ(bytes.size(), SettingsRecord::Size);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), saved.bytes.begin()));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  SettingsRecord loaded;
  EXPECT_EQ(LoadSettings(loaded, file), SettingsLoad::Full);
  EXPECT_EQ(loaded, saved);
  fs::remove_all(dir);
}

TEST(SettingsFile, FailedSaveKeepsWhatWasThere) {
  const fs::path dir = FreshDirectory("failed_save");
  // The target is a directory holding a file: the rename must fail and leave both alone.
  const fs::path target = dir / "TERRAVUE_SURFACE.VSF";
  fs::create_directory(target);
  WriteAll(target / "keep", std::vector<std::uint8_t>{1, 2, 3});
  EXPECT_FALSE(SaveSettings(DefaultSettings(), target));
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(ReadAll(target / "keep").size(), 3u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  EXPECT_FALSE(SaveSettings(DefaultSettings(), dir / "no such folder" / "x.vsf"));
  fs::remove_all(dir);
}

TEST(SettingsFile, MissingOrIrregularFilesGiveTheDefaults) {
  const fs::path dir = FreshDirectory("missing");
  WriteAll(dir / "empty.vsf", {});
  struct Case {
    fs::path file;
    SettingsLoad status;
  };
  for (const Case& c : {Case{dir / "absent.vsf", SettingsLoad::Missing}, Case{dir, SettingsLoad::Missing},
                        Case{dir / "empty.vsf", SettingsLoad::Short}}) {
    SCOPED_TRACE(c.file);
    SettingsRecord r = PatternedSettings();
    EXPECT_EQ(LoadSettings(r, c.file), c.status);
    EXPECT_EQ(r, DefaultSettings());
  }
  fs::remove_all(dir);
}

TEST(SettingsFile, DirectoriesFallBackToDocumentsThenHome) {
  const fs::path dir = FreshDirectory("resolve");
  const fs::path documents = dir / "Documents";
  const fs::path home = dir / "home";
  const fs::path data = dir / "survey data";
  fs::create_directories(documents);
  fs::create_directories(home);
  fs::create_directories(data);
  struct Case {
    const char* what;
    std::string stored;
    fs::path documents;
    std::string expected;
  };
  const Case cases[] = {
      {"empty", "", documents, documents.string() + "/"},
      {"old drive letter", "C:\\", documents, documents.string() + "/"},
      {"existing, delimiter added", data.string(), documents, data.string() + "/"},
      {"existing with delimiter", data.string() + "/", documents, data.string() + "/"},
      {"relative", "survey data", documents, documents.string() + "/"},
      {"no documents folder", "", dir / "nowhere", home.string() + "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsRecord r = DefaultSettings();
    r.Set(DataDirectory, c.stored);
    r.Set(device::CadOutput::CadDataDirectory, c.stored);
    ResolveDirectories(r, c.documents, home);
    EXPECT_EQ(r.Get(DataDirectory), c.expected);
    EXPECT_EQ(r.Get(device::CadOutput::CadDataDirectory), c.expected);
  }
  fs::remove_all(dir);
}

TEST(SettingsPrintout, NamedLinesInImageOrder) {
  SettingsRecord r = DefaultSettings();
  r.Set(CompanyName, std::string("A \"B\"\\\x01\xE9"));
  const std::string text = DescribeSettings(r);
  for (const char* line : {
           "Application.CompanyName = \"A \\\"B\\\"\\\\\\x01\\xE9\"\n",
           "Preferences.EditorBarColour = 0x00DBCDBF\n",
           "Preferences.ScalePresetSizes[1][1][3] = 1.25\n",
           "CursorOptions.CursorAngle = 1.570796325\n",
           "ContourOptions.Interval = 1\n",
           "TriangleOptions.Layer.LayerName = \"TVUTRIANGLE\"\n",
           "TriangleOptions.Layer.BatchNumber = 1\n",
           "CoordImport.FormatIndex = -1\n",
           "View3DOptions.ShadedSurface = 0\n",
           "View3DOptions.StepEyeFactor = -0.1\n",
       })
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.rfind("Application.CompanyName = ", 0), 0u);
  EXPECT_LT(text.find("PageSetup.PaperName"), text.find("CadOutput.DxfSelected"));
  EXPECT_LT(text.find("TriangleOptions.Show"), text.find("TriangleOptions.Layer.LayerName"));
  EXPECT_TRUE(text.ends_with("Application.ShowSplash = 1\n"));
}

}  // namespace
}  // namespace terravue::app

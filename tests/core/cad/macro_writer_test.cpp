#include "cad/macro_writer.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cad_fixture.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "device/map_options.h"
#include "cad/cad_layers.h"
#include "cad/cad_output.h"
#include "device/cad_settings.h"
#include "tin/geometry.h"

namespace terravue::cad {
namespace {

using testing::ReadAll;
namespace fs = std::filesystem;
namespace map = device;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class MacroWriterTest : public testing::CadFixture {
 protected:
  MacroWriterTest() {
    SetCadProgram(settings, CadProgram::GenericCadd);
    settings.Set(settings::Units, 1);
  }

  template <typename Draw>
  std::vector<std::string> WriteWith(Draw draw) {
    MacroWriter writer(session);
    EXPECT_TRUE(writer.Begin(dir / "DEV.MCR"));
    draw(writer);
    EXPECT_TRUE(writer.End()) << port.Transcript();
    return Lines(ReadAll(dir / "DEV.MCR"));
  }

  // The lines between the header (up to its last fixed line) and the trailer.
  static std::vector<std::string> Body(const std::vector<std::string>& lines) {
    std::size_t from = 0;
    while (from < lines.size() && !lines[from].starts_with("TS,S,")) ++from;
    std::size_t to = lines.size();
    while (to > from && lines[to - 1] != "PU;") --to;
    return std::vector<std::string>(lines.begin() + static_cast<long>(from + 1),
                                    lines.begin() + static_cast<long>(to > from + 1 ? to - 1 : from + 1));
  }

  static CadLayer Numbered(int number, int colour) {
    CadLayer layer;
    layer.BatchNumber = static_cast<std::uint8_t>(number);
    layer.BatchColour = static_cast<std::uint8_t>(colour);
    return layer;
  }
};

TEST_F(MacroWriterTest, ALineOfThreePointsOnItsLayer) {
  const auto lines = WriteWith([&](MacroWriter& w) {
    w.DeviceSetLayer(0, Numbered(7, 7));
    w.DevicePlot(false, 1, 2, 0);
    w.DevicePenDown();
    w.DevicePlot(false, 3, 4, 0);
    w.DevicePlot(false, 3, 4, 9);  // the same place: not repeated
    w.DevicePlot(false, 5, 6.5, 0);
    w.DevicePenUp();
    w.DeviceSetLayer(0, Numbered(7, 7));  // the same number again writes nothing
  });
  EXPECT_EQ(Body(lines), (std::vector<std::string>{"YC,   7;", "LC,   7;", "LI, 1.000000,2.000000;",
                                                   "3.000000,4.000000;", "5.000000,6.500000;", "PU;"}));
}

TEST_F(MacroWriterTest, TextStyleOnceUntilSomethingChangesIt) {
  settings.Set(settings::Units, 0);
  const auto lines = WriteWith([&](MacroWriter& w) {
    w.DeviceSetLayer(0, Numbered(9, 3));
    w.DeviceSetTextStyle(0, 2);
    w.text.TextCadCentred = true;
    w.DeviceText("105", 0, 10, 20, 0, 1);
    w.DeviceText("a,b;c", 0, 10, 30, 0, 1);
    w.text.TextCadCentred = false;
    w.DeviceText("7", 7 * std::numbers::pi / 2, 0, 0, 0, 1);
  });
  EXPECT_EQ(Body(lines),
            (std::vector<std::string>{"YC,   9;", "LC,   3;", "TC,   3;", "TS,Z,2.000000',#;", "TS,A,0.900000,!;",
                                      "TS,J,C,!;", "TR,0.000000;", "TL,12.700000',19.000000';", "105,#;",
                                      "TR,0.000000;", "TL,14.500000',29.000000';", "a b c,#;", "TC,   3;",
                                      "TS,Z,2.000000',#;", "TS,A,0.900000,!;", "TS,J,L,!;", "TR,270.000000;",
                                      "TL,-1.000000',0.000000';", "7,#;"}));
}

TEST_F(MacroWriterTest, MarkerKindNoneWritesSizeButNoComponents) {
  settings.Set(map::PointOptions::Show, true);
  settings.Set(map::PointOptions::MarkerKind, 5);
  const auto lines = WriteWith([&](MacroWriter& w) {
    w.DeviceMarker(5, 1, 2, 0, 1.5);
    w.DeviceMarker(5, 3, 4, 0, 1.5);
    w.DeviceMarker(1, 3, 4, 0, 0);  // no size: skipped
  });
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "CR,0.000000;"), 1);
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.starts_with("LO,C,")) << line;
    EXPECT_FALSE(line.starts_with("CP,")) << line;
  }
  EXPECT_EQ(Body(lines), (std::vector<std::string>{"CR,0.000000;", "CZ,1.500000,1.500000;"}));
}

TEST_F(MacroWriterTest, CreateFailureShowsTheBatchMessage) {
  MacroWriter writer(session);
  EXPECT_FALSE(writer.Begin(dir / "missing" / "MAP.MCR"));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
            std::vector<std::string>{std::string(msg::BatchCreateError) + "\r\n" +
                                     (dir / "missing" / "MAP.MCR").string() + ": No such file or directory"});
}

struct Dialect {
  const char* name;
  CadProgram program;
  int units;
  bool fastLoad;
};

void PrintTo(const Dialect& c, std::ostream* os) { *os << c.name; }

class MacroGolden : public MacroWriterTest, public ::testing::WithParamInterface<Dialect> {};

// The whole map of a small site: triangles, a breakline with its number, labelled contours,
// the border, and points with markers and labels.
TEST_P(MacroGolden, MatchesTheExpectedFile) {
  const Dialect d = GetParam();
  SetCadProgram(settings, d.program);
  settings.Set(settings::Units, static_cast<std::uint8_t>(d.units));
  settings.Set(device::CadOutput::FastLoad, d.fastLoad);
  model.Breaklines[1] = {1, 5};
  model.BreaklineCount = 1;
  using namespace map;
  for (const BoolField show : {device::TriangleOptions::Show, device::BreaklineOptions::Show, device::BreaklineOptions::ShowNumbers,
                               device::ContourOptions::Show, device::BorderOptions::Show, device::PointOptions::Show,
                               device::PointOptions::ShowNumber, device::PointOptions::ShowElevation})
    settings.Set(show, true);
  settings.Set(device::ContourOptions::Interval, 2.5);
  settings.Set(device::ContourOptions::Multiple, 2);
  settings.Set(device::ContourOptions::LabelMode, 2);
  settings.Set(device::ContourOptions::Smooth, false);
  settings.Set(device::ContourOptions::DashMode, 0);
  settings.Set(device::PointOptions::MarkerKind, 1);
  const std::string file = std::string("macro_") + d.name + (d.program == CadProgram::GenericCadd ? ".mcr" : ".gxm");
  tin::LocateState state;
  ASSERT_TRUE(WriteCadFile(session, state, dir / file)) << port.Transcript();
  const std::string text = ReadAll(dir / file);

  const fs::path expected = fs::path(TERRAVUE_TESTS_DIR) / "core/cad/golden" / file;
  if (std::getenv("TERRAVUE_UPDATE_EXPECTED")) {
    std::ofstream(expected, std::ios::binary) << text;
    GTEST_SKIP() << "rewrote " << expected;
  }
  const std::string want = ReadAll(expected);
  ASSERT_FALSE(want.empty()) << expected;
  EXPECT_EQ(Lines(text), Lines(want));
  EXPECT_EQ(text, want);
}

INSTANTIATE_TEST_SUITE_P(
    Dialects, MacroGolden,
    ::testing::Values(Dialect{"generic_metric", CadProgram::GenericCadd, 1, true},
                      Dialect{"generic_english_slow", CadProgram::GenericCadd, 0, false},
                      Dialect{"general_metric", CadProgram::GeneralCadd, 1, true},
                      Dialect{"general_english", CadProgram::GeneralCadd, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace terravue::cad

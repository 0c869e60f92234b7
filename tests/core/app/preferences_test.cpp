#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "common/app_settings.h"
#include "common/messages.h"
#include "app/preferences.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "device/map_options.h"
#include "model/surface_model.h"
#include "device/cad_settings.h"
#include "device/page_setup_settings.h"
#include "support/fake_port.h"

namespace terravue::app {
namespace {

using Kind = terravue::testing::FakePort::Kind;
using Sizes = std::array<double, settings::ScalePresetRows>;

constexpr int English = 0;
constexpr int Metric = 1;

std::vector<double> Scales(const device::ScalePresetList& list) {
  std::vector<double> scales;
  for (const device::ScalePreset& p : list) scales.push_back(p.scale);
  return scales;
}

class PresetTest : public ::testing::Test {
 protected:
  SettingsRecord settings = DefaultSettings();
  terravue::testing::FakePort port;
  device::ScalePresetList english = device::ReadScalePresets(settings, English);
};

TEST_F(PresetTest, ScaleChoosesFirstPresetNotBelowIt) {
  struct Case {
    double scale;
    double presetScale;
  };
  for (const Case c : {Case{75, 100}, Case{500, 200}, Case{5, 10}, Case{100, 100}, Case{100.0001, 200}}) {
    const int i = device::ChooseScalePreset(settings, English, c.scale);
    EXPECT_EQ(english[static_cast<std::size_t>(i)].scale, c.presetScale) << "scale " << c.scale;
  }
}

TEST_F(PresetTest, ApplyCopiesPresetSizesAndIgnoresUnusableScales) {
  settings.Set(device::PageSetup::MapScale, 75.0);
  device::ApplyScalePreset(settings);
  EXPECT_EQ(settings.Get(device::ContourOptions::TextHeight), 10.0);
  EXPECT_EQ(settings.Get(device::PointOptions::MarkerHeight), 5.0);
  EXPECT_EQ(settings.Get(device::TitleOptions::TitleTextHeight), 20.0);
  EXPECT_EQ(settings.Get(device::ContourOptions::DashLength), 75.0 / 4);

  const SettingsRecord before = settings;
  for (const double bad : {0.0, -50.0, std::numeric_limits<double>::quiet_NaN()}) {
    settings.Set(device::PageSetup::MapScale, bad);
    device::ApplyScalePreset(settings);
    EXPECT_EQ(settings.Get(device::ContourOptions::TextHeight), 10.0) << bad;
    EXPECT_EQ(settings.Get(device::SurfaceGridOptions::DashLength), before.Get(device::SurfaceGridOptions::DashLength));
  }
}

TEST_F(PresetTest, AddInsertsByScaleWithDerivedSizes) {
  port.promptAnswers = {"30"};
  const int at = device::AddScalePreset(port, english, English);
  EXPECT_EQ(at, 2);
  EXPECT_EQ(Scales(english), (std::vector<double>{10, 20, 30, 50, 100, 200}));
  EXPECT_EQ(english[2].sizes, (Sizes{3, 3, 1.5, 3, 3, 6, 3, 3}));

  // An equal scale goes in front of the existing one; metric sizes are a quarter of the scale.
  device::ScalePresetList metric = device::ReadScalePresets(settings, Metric);
  port.promptAnswers = {"10"};
  EXPECT_EQ(device::AddScalePreset(port, metric, Metric), 1);
  EXPECT_EQ(metric[1].sizes, (Sizes{2.5, 2.5, 1.25, 2.5, 2.5, 5, 2.5, 2.5}));
  EXPECT_EQ(metric[2].sizes, device::ReadScalePresets(settings, Metric)[1].sizes);
  EXPECT_TRUE(port.Texts(Kind::Error).empty());
}

TEST_F(PresetTest, AddRefusesWhatIsNoPositiveNumber) {
  const device::ScalePresetList before = english;
  for (const char* typed : {"abc", "", "0", "-20", "1e999", "nan"}) {
    port.shown.clear();
    port.promptAnswers = {std::string(typed)};
    EXPECT_EQ(device::AddScalePreset(port, english, English), -1) << typed;
    EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::InvalidScale)}) << typed;
  }
  port.shown.clear();
  port.promptAnswers = {std::nullopt};
  EXPECT_EQ(device::AddScalePreset(port, english, English), -1);
  EXPECT_TRUE(port.Texts(Kind::Error).empty());
  EXPECT_EQ(english, before);
}

TEST_F(PresetTest, AddAndDeleteFollowTheLimits) {
  for (int scale = 300; english.size() < settings::MaxScalePresets; scale += 100) {
    port.promptAnswers = {std::to_string(scale)};
    ASSERT_GE(device::AddScalePreset(port, english, English), 0);
  }
  EXPECT_FALSE(device::CanAddScalePreset(english));
  port.promptAnswers = {"5"};
  EXPECT_EQ(device::AddScalePreset(port, english, English), -1);  // not even asked
  EXPECT_EQ(port.promptAnswers.size(), 1u);

  // Delete selects the previous preset, the first when the first went.
  EXPECT_EQ(device::DeleteScalePreset(english, 3), 2);
  EXPECT_EQ(device::DeleteScalePreset(english, 0), 0);
  EXPECT_TRUE(device::CanAddScalePreset(english));
  while (english.size() > 1) device::DeleteScalePreset(english, 0);
  EXPECT_FALSE(device::CanDeleteScalePreset(english));
  EXPECT_EQ(device::DeleteScalePreset(english, 0), 0);
  EXPECT_EQ(english.size(), 1u);
}

TEST_F(PresetTest, EditMovesPresetWithItsSizesAndHeightsMustBePositive) {
  const Sizes sizesOf10 = english[0].sizes;
  port.promptAnswers = {"150"};
  EXPECT_EQ(device::EditScalePreset(port, english, 0), 3);
  EXPECT_EQ(Scales(english), (std::vector<double>{20, 50, 100, 150, 200}));
  EXPECT_EQ(english[3].sizes, sizesOf10);

  port.promptAnswers = {"2.75", "-1", "x"};
  EXPECT_TRUE(device::EditPresetSize(port, english, 3, 6));
  EXPECT_EQ(english[3].sizes[6], 2.75);
  EXPECT_FALSE(device::EditPresetSize(port, english, 3, 6));
  EXPECT_FALSE(device::EditPresetSize(port, english, 3, 6));
  EXPECT_EQ(english[3].sizes[6], 2.75);
  EXPECT_EQ(port.Texts(Kind::Error), (std::vector<std::string>(2, std::string(msg::InvalidHeight))));
}

TEST_F(PresetTest, WrittenListReadsBackAndFreeSlotsHoldOne) {
  english.erase(english.begin() + 1, english.end());
  english[0].scale = 40;
  device::WriteScalePresets(settings, English, english);
  EXPECT_EQ(device::ReadScalePresets(settings, English), english);
  EXPECT_EQ(settings.Get(settings::ScalePresetScale(English, 1)), 1.0);
  EXPECT_EQ(settings.Get(settings::ScalePresetSizes(English, 4, 7)), 1.0);
}

// ---- Storing the dialog --------------------------------------------------------------------

class StorePreferencesTest : public PresetTest {
 protected:
  void SetUp() override { ASSERT_TRUE(model.AllocateStore()); }
  model::SurfaceModel model;
  Session session{model, settings, port, {}};
};

TEST_F(StorePreferencesTest, UnitsChangeWarnsAndAppliesTheNewUnitsPresets) {
  settings.Set(device::PageSetup::MapScale, 15.0);
  Preferences p = ReadPreferences(settings);
  p.units = Metric;
  p.presets[Metric][2].sizes[2] = 7.5;  // the metric preset for 20, edited in the dialog
  const PreferencesStored stored = StorePreferences(session, p);
  EXPECT_TRUE(stored.unitsChanged);
  EXPECT_EQ(port.Texts(Kind::Warning), std::vector<std::string>{std::string(msg::UnitsChangeResetsScale)});
  EXPECT_EQ(settings.Get(settings::Units), Metric);
  EXPECT_EQ(settings.Get(device::ContourOptions::TextHeight), 7.5);

  port.shown.clear();
  EXPECT_FALSE(StorePreferences(session, ReadPreferences(settings)).unitsChanged);
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(StorePreferencesTest, BackgroundAndCadChoicesAreStored) {
  Preferences p = ReadPreferences(settings);
  p.blackBackground = true;
  p.cadProgram = device::CadProgram::AutoSketch;
  p.output3DFaces = true;
  StorePreferences(session, p);
  EXPECT_EQ(settings.Get(settings::MapBackgroundColour), settings::Black);
  EXPECT_EQ(settings.Get(settings::MapInkColour), settings::White);
  EXPECT_TRUE(settings.Get(device::CadOutput::DxfSelected));
  EXPECT_TRUE(settings.Get(device::CadOutput::AutoSketch));
  EXPECT_TRUE(settings.Get(device::CadFacesOptions::Show));

  // A batch program never shows 3-D faces, and the choice reads back.
  p.cadProgram = device::CadProgram::GeneralCadd;
  StorePreferences(session, p);
  EXPECT_FALSE(settings.Get(device::CadFacesOptions::Show));
  EXPECT_EQ(ReadPreferences(settings).cadProgram, device::CadProgram::GeneralCadd);
  EXPECT_TRUE(ReadPreferences(settings).blackBackground);
}

}  // namespace
}  // namespace terravue::app

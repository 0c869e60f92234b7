// The shaded surface of the 3-D view: the painter's order from the view point, the shades, and
// its place under the lines of the map on the sheets that project it.

#include "mapping/shaded_surface.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "common/session.h"
#include "common/view3d_settings.h"
#include "device/map_options.h"
#include "device/page_setup_settings.h"
#include "device/recording_device.h"
#include "mapping/map_redraw.h"
#include "mapping_fixture.h"
#include "support/fake_port.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

namespace v3 = settings::View3DOptions;
using device::DeviceOp;
using testing::BuildSurface;

// Three triangles in a row running north, and a low pyramid beside them; looked at from far
// south (or north) of the middle of the row.
class ShadedSurface : public ::testing::Test {
 protected:
  ShadedSurface() {
    settings = DefaultSettings();
    BuildSurface(model,
                 {{0, 0, 0}, {10, 0, 0}, {5, 10, 0}, {15, 10, 0}, {10, 20, 0}, {20, 20, 0}},
                 {{1, 2, 3}, {2, 4, 3}, {3, 4, 5}});
    settings.Set(v3::View3D, true);
    settings.Set(v3::TargetX, 10.0);
    settings.Set(v3::TargetY, 10.0);
    settings.Set(v3::TargetZ, 0.0);
    LookFrom(-1);
  }

  // From the south (-1) or the north (+1), 30 degrees above the ground.
  void LookFrom(int side) {
    settings.Set(v3::ViewOffsetX, 0.0);
    settings.Set(v3::ViewOffsetY, side * 1000.0);
    settings.Set(v3::ViewOffsetZ, 1000 * std::tan(std::numbers::pi / 6));
  }
  device::Projection3D Projection() { return device::Prepare3DProjection(settings, model); }
  device::RecordingDevice Printer() {
    return device::RecordingDevice(device::DeviceKind::Printer, device::CurrentViewTransform(settings, model),
                                   device::PrinterFrame(settings));
  }
  void Redraw(device::DrawingDevice& d) {
    tin::LocateState state;
    RedrawMap(session, d, state);
  }

  SettingsRecord settings;
  model::SurfaceModel model;
  testing::FakePort port;
  Session session{model, settings, port, {}};
};

TEST_F(ShadedSurface, FillsTheFarthestTriangleFirst) {
  EXPECT_EQ(BackToFront(model, Projection()), (std::vector<TriangleIndex>{3, 2, 1}));
  LookFrom(+1);
  EXPECT_EQ(BackToFront(model, Projection()), (std::vector<TriangleIndex>{1, 2, 3}));
  // Triangles whose corners cannot be used are left out.
  model.TriVertex[2] = {2, 4, 9};
  EXPECT_EQ(BackToFront(model, Projection()), (std::vector<TriangleIndex>{1, 3}));
}

TEST(ShadeColour, FacingTheEyeIsLighterAndHeightChangesTheTint) {
  const auto rgb = [](std::uint32_t c) { return std::array<int, 3>{int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)}; };
  const auto sum = [&](std::uint32_t c) {
    const auto v = rgb(c);
    return v[0] + v[1] + v[2];
  };
  for (const double height : {0.0, 0.5, 1.0}) {
    EXPECT_GT(sum(ShadeColour(height, 1, false)), sum(ShadeColour(height, 0.3, false)));
    EXPECT_GT(sum(ShadeColour(height, 0.3, false)), sum(ShadeColour(height, 0, false)));
    EXPECT_GT(sum(ShadeColour(height, 0, false)), 0);  // edge on is dim, never black
    const auto grey = rgb(ShadeColour(height, 0.6, true));
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
  }
  EXPECT_NE(ShadeColour(0, 1, false), ShadeColour(1, 1, false));
  // Values out of range or not numbers are held to the ends.
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ShadeColour(-3, 2, false), ShadeColour(0, 1, false));
  EXPECT_EQ(ShadeColour(NaN, NaN, false), ShadeColour(0, 1, false));
}

// On the printer in the 3-D view, one fill per triangle comes before any line of the map; the
// nearest slope, facing the eye, is filled last and lightest.
TEST_F(ShadedSurface, LiesUnderTheLinesOfThe3DView) {
  BuildSurface(model, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 4}},
               {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
  settings.Set(v3::TargetX, 5.0);
  settings.Set(v3::TargetY, 5.0);
  settings.Set(v3::ShadedSurface, true);
  settings.Set(device::TriangleOptions::Show, true);
  settings.Set(device::ContourOptions::Show, true);
  device::RecordingDevice d = Printer();
  Redraw(d);
  std::vector<std::uint32_t> fills;
  bool lineSeen = false, fillAfterLine = false;
  for (const DeviceOp& op : d.ops) {
    if (op.type == DeviceOp::Type::LineTo) lineSeen = true;
    if (op.type != DeviceOp::Type::Fill) continue;
    fills.push_back(op.colour);
    fillAfterLine |= lineSeen;
  }
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_FALSE(fillAfterLine);
  EXPECT_TRUE(lineSeen);
  const auto brightness = [](std::uint32_t c) { return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF); };
  for (std::size_t i = 0; i + 1 < fills.size(); ++i) EXPECT_GT(brightness(fills.back()), brightness(fills[i]));

  // Black and white printing fills in greys.
  settings.Set(device::PageSetup::BlackAndWhite, true);
  device::RecordingDevice grey = Printer();
  Redraw(grey);
  for (const DeviceOp& op : grey.OfType(DeviceOp::Type::Fill)) {
    EXPECT_EQ(op.colour & 0xFF, op.colour >> 8 & 0xFF);
    EXPECT_EQ(op.colour & 0xFF, op.colour >> 16 & 0xFF);
  }
}

TEST_F(ShadedSurface, OnlyTheProjectedSheetsOfThe3DViewAreShaded) {
  struct Case {
    const char* name;
    bool view3D, shaded;
    device::DeviceKind kind;
  };
  const Case cases[] = {
      {"option off", true, false, device::DeviceKind::Printer},
      {"plan view", false, true, device::DeviceKind::Printer},
      {"screen overlay", true, true, device::DeviceKind::ScreenOverlay},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings.Set(v3::View3D, c.view3D);
    settings.Set(v3::ShadedSurface, c.shaded);
    device::RecordingDevice d(c.kind, device::CurrentViewTransform(settings, model), device::PrinterFrame(settings));
    Redraw(d);
    EXPECT_TRUE(d.OfType(DeviceOp::Type::Fill).empty());
  }
  // CAD files take world coordinates: no view, no order to fill in.
  settings.Set(v3::View3D, true);
  settings.Set(v3::ShadedSurface, true);
  struct CountingFills : testing::WorldRecorder {
    using WorldRecorder::WorldRecorder;
    int fills = 0;
    void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override { ++fills; }
  } cad(device::DeviceKind::CadFile);
  Redraw(cad);
  EXPECT_EQ(cad.fills, 0);
}

}  // namespace
}  // namespace terravue::mapping

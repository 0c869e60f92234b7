#include "mapping/title_block.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "support/fake_port.h"
#include "device/map_options.h"
#include "mapping/map_redraw.h"
#include "mapping_fixture.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "device/recording_device.h"
#include "common/view3d_settings.h"
#include "support/fixed_clock.h"
#include "tin/geometry.h"

namespace terravue::mapping {
namespace {

namespace page = device::PageSetup;
using device::DeviceKind;
using device::DeviceOp;
using testing::FakePort;
using testing::Stroke;
using testing::TextCall;
using testing::WorldRecorder;

class SheetFurniture : public ::testing::Test {
 protected:
  SheetFurniture() : session{model, settings, port, {}} {
    settings = DefaultSettings();
    settings.Set(settings::AngleConvention, 0);
    settings.Set(page::MapScale, 50.0);
    settings.Set(page::ViewCentreX, 0.0);
    settings.Set(page::ViewCentreY, 0.0);
    settings.Set(page::RotationCentreX, 0.0);
    settings.Set(page::RotationCentreY, 0.0);
    // A rotated map: the furniture stays upright all the same.
    settings.Set(page::RotationAngle, 30.0);
    testing::BuildSurface(model, {{-10, -10, 1}, {10, -10, 2}, {0, 10, 3}}, {{1, 2, 3}});
    session.clock = [] { return testing::FixedTime(14, 5); };
  }

  // The printable area's edges in world units under the upright transform.
  void SheetEdges(double& left, double& top, double& right, double& bottom) const {
    SettingsRecord upright = settings;
    upright.Set(page::RotationAngle, 0.0);
    const auto t = device::ViewTransform::FromSettings(upright);
    const auto tl = t.PageToWorld({0, 0});
    const auto br = t.PageToWorld({t.PrintableWidth(), t.PrintableHeight()});
    left = tl.x;
    top = tl.y;
    right = br.x;
    bottom = br.y;
  }

  static const TextCall* Find(const std::vector<TextCall>& texts, const std::string& text) {
    const auto it = std::find_if(texts.begin(), texts.end(), [&](const TextCall& t) { return t.text == text; });
    return it == texts.end() ? nullptr : &*it;
  }

  SettingsRecord settings;
  model::SurfaceModel model;
  FakePort port;
  Session session;
};

struct ScaleBarCase {
  const char* name;
  int units;
  double scale;
  std::vector<std::pair<std::string, double>> labels;  // text and offset from the bar's left end
  double span;
};

void PrintTo(const ScaleBarCase& c, std::ostream* os) { *os << c.name; }

class ScaleBar : public SheetFurniture, public ::testing::WithParamInterface<ScaleBarCase> {};

TEST_P(ScaleBar, ReadsTheMapScaleOverItsLength) {
  const ScaleBarCase& c = GetParam();
  settings.Set(settings::Units, static_cast<std::uint8_t>(c.units));
  settings.Set(page::MapScale, c.scale);
  WorldRecorder d;
  DrawScaleBar(session, d);
  double left, top, right, bottom;
  SheetEdges(left, top, right, bottom);
  const double l = (left + right) / 2 - c.span / 2;
  ASSERT_EQ(d.texts.size(), c.labels.size());
  for (std::size_t i = 0; i < c.labels.size(); ++i) {
    EXPECT_EQ(d.texts[i].text, c.labels[i].first);
    EXPECT_NEAR(d.texts[i].x, l + c.labels[i].second, 1e-9) << c.labels[i].first;
    EXPECT_DOUBLE_EQ(d.texts[i].angle, 0);
  }
  double lo = 1e300, hi = -1e300;
  for (const Stroke& r : d.runs)
    for (const auto& p : r.points) {
      lo = std::min(lo, p.x);
      hi = std::max(hi, p.x);
      EXPECT_GT(p.y, bottom);
    }
  EXPECT_NEAR(hi - lo, c.span, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScaleBar,
                         ::testing::Values(ScaleBarCase{"EnglishAtFifty", 0, 50,
                                                        {{"0.0", 0}, {"50.0", 50}, {"150.0", 150}, {"300.0", 300}},
                                                        300},
                                           ScaleBarCase{"MetricAtTwo", 1, 2,
                                                        {{"0.0", 0}, {"10.0", 10}, {"20.0", 20}}, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ArrowCase {
  const char* name;
  double northAngle;
  int convention;
  double tipDirection;  // the arrow head's side of the centre in X: -1 left, +1 right, 0 above
  double centreInches;
};

void PrintTo(const ArrowCase& c, std::ostream* os) { *os << c.name; }

class NorthArrow : public SheetFurniture, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(NorthArrow, PointsByTheNorthAngleAndConvention) {
  const ArrowCase& c = GetParam();
  settings.Set(device::MiscOptions::NorthAngle, c.northAngle);
  settings.Set(settings::AngleConvention, static_cast<std::uint8_t>(c.convention));
  WorldRecorder d;
  DrawNorthArrow(session, d);
  ASSERT_EQ(d.runs.size(), 7u);
  double left, top, right, bottom;
  SheetEdges(left, top, right, bottom);
  const double inch = 50, k = inch / 24;
  const double xc = left + c.centreInches * inch, yc = top - 1.1 * inch;
  // The arrow head's tip is 16 glyph units from the centre.
  const auto& tip = d.runs[0].points.front();
  if (c.tipDirection == 0) {
    EXPECT_NEAR(tip.x, xc, 1e-9);
    EXPECT_NEAR(tip.y, yc + 16 * k, 1e-9);
  } else {
    EXPECT_NEAR(tip.x, xc + c.tipDirection * 16 * k, 1e-9);
    EXPECT_NEAR(tip.y, yc, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NorthArrow,
                         ::testing::Values(ArrowCase{"Up", 0, 0, 0, 0.5},
                                           ArrowCase{"EngineersNinetyPointsLeft", 90, 0, -1, 1.1},
                                           ArrowCase{"SurveyorsNinetyPointsRight", 90, 1, 1, 1.1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetFurniture, OnlyTheTimeIsRightAlignedAfterABlank) {
  settings.Set(device::TitleOptions::ShowTime, true);
  WorldRecorder d;
  DrawTitleLines(session, d);
  ASSERT_EQ(d.texts.size(), 1u);
  EXPECT_EQ(d.texts[0].text, " 2:05 PM");
  EXPECT_TRUE(d.texts[0].rightAligned);
  double left, top, right, bottom;
  SheetEdges(left, top, right, bottom);
  EXPECT_NEAR(d.texts[0].x, right - 0.1 * 50, 1e-9);
  EXPECT_NEAR(d.texts[0].y, top - d.texts[0].height, 1e-9);
  EXPECT_FALSE(d.text.TextRightAligned);
}

TEST_F(SheetFurniture, TitleLinesStackUnderACentredTitle) {
  using namespace device::TitleOptions;
  settings.Set(ShowTitle, true);
  settings.Set(TitleText, "Lot 7 Topography");
  settings.Set(TitleTextHeight, 4.0);
  settings.Set(MiscTextHeight, 2.0);
  settings.Set(ShowScale, true);
  settings.Set(ShowDate, true);
  settings.Set(ShowFileName, true);
  settings.Set(settings::ModelFileName, "SITE.MDL");
  WorldRecorder d;
  DrawTitleLines(session, d);
  double left, top, right, bottom;
  SheetEdges(left, top, right, bottom);
  const TextCall* title = Find(d.texts, "Lot 7 Topography");
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->centred);
  EXPECT_NEAR(title->x, (left + right) / 2, 1e-9);
  EXPECT_NEAR(title->y, top - 2, 1e-9);
  const TextCall* scale = Find(d.texts, "Scale: 50.0ft/in");
  const TextCall* date = Find(d.texts, "06/05/2024");
  const TextCall* file = Find(d.texts, "File Name: SITE.MDL");
  ASSERT_TRUE(scale && date && file);
  EXPECT_NEAR(scale->y, top - 4.8 - 2, 1e-9);
  EXPECT_DOUBLE_EQ(date->y, scale->y);
  EXPECT_NEAR(file->y, scale->y - 0.4 - 2, 1e-9);
  EXPECT_NEAR(file->x, left + 5, 1e-9);
}

TEST_F(SheetFurniture, ThreeDViewWritesNoScale) {
  settings.Set(device::TitleOptions::ShowScale, true);
  settings.Set(settings::View3DOptions::View3D, true);
  WorldRecorder d;
  DrawTitleLines(session, d);
  ASSERT_EQ(d.texts.size(), 1u);
  EXPECT_EQ(d.texts[0].text, msg::TitleScaleIn3D);
}

TEST_F(SheetFurniture, TitleBlockCellsSitAlongTheFootOfTheSheet) {
  settings.Set(device::TitleOptions::Show, true);
  settings.Set(device::TitleOptions::UseTitleBoxes, true);
  settings.Set(settings::CompanyName, "Meridian");
  settings.Set(device::TitleOptions::Client1, std::string(80, 'C'));
  device::RecordingDevice d(device::DeviceKind::Printer, device::ViewTransform::FromSettings(settings),
                            device::PrinterFrame(settings));
  d.DeviceSetTextStyle(0, 1.0);
  DrawSheetFrame(d, session);

  const int w = settings.Get(page::PageWidth), h = settings.Get(page::PageHeight);
  const int dpi = static_cast<int>(settings.Get(page::DotsPerInchY));
  const int inset = static_cast<int>(0.05 * dpi);
  const int innerLeft = inset, innerRight = w - 1 - inset, innerBottom = h - 1 - inset;
  const int row = innerBottom - dpi / 2;
  const int cell = (innerRight - innerLeft) / 5;
  const auto lines = d.Lines();
  const auto has = [&](device::IntPoint a, device::IntPoint b) {
    return std::any_of(lines.begin(), lines.end(), [&](const auto& l) {
      return (l.first == a && l.second == b) || (l.first == b && l.second == a);
    });
  };
  EXPECT_TRUE(has({0, 0}, {w - 1, 0}));
  EXPECT_TRUE(has({0, h - 1}, {0, 0}));
  EXPECT_TRUE(has({innerLeft, row}, {innerRight, row}));
  for (int k = 1; k <= 4; ++k) EXPECT_TRUE(has({innerLeft + k * cell, row}, {innerLeft + k * cell, innerBottom}));

  std::vector<device::DeviceOp> texts = d.OfType(device::DeviceOp::Type::Text);
  const auto text = [&](const std::string& s) {
    return std::find_if(texts.begin(), texts.end(), [&](const device::DeviceOp& op) { return op.text == s; });
  };
  const std::vector<std::string> captions = {"Designed By", "Client", "Location", "Date", "Comments"};
  const int captionHeight = static_cast<int>(0.15 * dpi);
  for (int k = 0; k < 5; ++k) {
    const auto it = text(captions[static_cast<std::size_t>(k)]);
    ASSERT_NE(it, texts.end()) << captions[static_cast<std::size_t>(k)];
    EXPECT_EQ(it->at.x, innerLeft + k * cell + inset);
    EXPECT_EQ(it->at.y, row - captionHeight - captionHeight / 10);
  }
  const auto company = text("Meridian");
  ASSERT_NE(company, texts.end());
  EXPECT_EQ(company->at.y, row + inset);
  EXPECT_NE(text("06/05/2024"), texts.end());
  EXPECT_NE(text("2:05 PM"), texts.end());
  // The client's long name is cut to its cell: 60-pixel text, 0.6 of that per character.
  const auto client = std::find_if(texts.begin(), texts.end(), [](const device::DeviceOp& op) { return op.text[0] == 'C' && op.text.size() > 8; });
  ASSERT_NE(client, texts.end());
  const double room = cell - inset;
  EXPECT_LE(client->text.size() * 0.6 * 60, room);
  EXPECT_GT((client->text.size() + 1) * 0.6 * 60, room);
}

TEST_F(SheetFurniture, RedrawInstallsTheTitleBlockOnPageDevices) {
  settings.Set(device::TitleOptions::Show, true);
  settings.Set(device::TitleOptions::UseTitleBoxes, true);
  device::RecordingDevice d(device::DeviceKind::Printer, device::ViewTransform::FromSettings(settings),
                            device::PrinterFrame(settings));
  tin::LocateState state;
  RedrawMap(session, d, state);
  const auto texts = d.OfType(device::DeviceOp::Type::Text);
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const device::DeviceOp& op) { return op.text == "Designed By"; }));
  // The drawer lives only as long as the redraw.
  const std::size_t before = d.ops.size();
  d.DeviceTitleBlock();
  EXPECT_EQ(d.ops.size(), before);
}

}  // namespace
}  // namespace terravue::mapping

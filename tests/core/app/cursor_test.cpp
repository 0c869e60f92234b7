// The cross-hair cursor: keyboard steps with rotation and zoom, the Shift ray, sheet limits,
// Jump To Point, and the Cursor Options, Query Point and Zoom Options values.

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "device/drawing_device.h"
#include "device/page_setup.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "window_fixture.h"

namespace terravue::app {
namespace {

namespace opt = app::CursorOptions;
namespace page = device::PageSetup;
using FakeKind = testing::FakePort::Kind;

// A 1000 x 1000 site on its sheet; the cursor starts in the middle.
class Cursor : public WindowTest {
 protected:
  void Site() {
    AddPoint(0, 0, 10);
    AddPoint(1000, 0, 20);
    AddPoint(1000, 1000, 30);
    AddPoint(0, 1000, 20);
    Triangulate();
    device::FitModel(settings, model, true);
    settings.Set(opt::CursorStep, 10.0);
    cursor = {500, 500, model.MinZ};
  }
  std::optional<StepOutcome> Step(StepKey key, bool shift = false, int zoom = 1) {
    return StepCursor(Context(), cursor, key, shift, zoom);
  }
  CursorState cursor;
};

struct DirectionRow {
  std::string name;
  StepKey key;
  double rotation;
  bool surveyors;
  double degrees;
};

void PrintTo(const DirectionRow& c, std::ostream* os) { *os << c.name; }

class StepDirections : public ::testing::TestWithParam<DirectionRow> {};

TEST_P(StepDirections, FollowThePageRotation) {
  const DirectionRow& row = GetParam();
  const double got = StepDirection(row.key, row.rotation, row.surveyors, false) * 180 / std::acos(-1.0);
  EXPECT_NEAR(std::remainder(got - row.degrees, 360.0), 0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StepDirections,
    ::testing::Values(DirectionRow{"Up", StepKey::Up, 0, true, 90}, DirectionRow{"Down", StepKey::Down, 0, true, 270},
                      DirectionRow{"Left", StepKey::Left, 0, true, 180}, DirectionRow{"Right", StepKey::Right, 0, true, 0},
                      DirectionRow{"PageUpIsUpRight", StepKey::PageUp, 0, true, 45},
                      DirectionRow{"PageDownIsDownRight", StepKey::PageDown, 0, true, -45},
                      DirectionRow{"EndIsDownLeft", StepKey::End, 0, true, 225},
                      DirectionRow{"HomeIsUpLeft", StepKey::Home, 0, true, 135},
                      DirectionRow{"UpRotatedSurveyors", StepKey::Up, 30, true, 120},
                      DirectionRow{"UpRotatedEngineers", StepKey::Up, 30, false, 60},
                      DirectionRow{"PageUpRotatedSurveyors", StepKey::PageUp, 30, true, 75},
                      DirectionRow{"RightRotatedEngineers", StepKey::Right, 30, false, -30}),
    [](const ::testing::TestParamInfo<DirectionRow>& info) { return info.param.name; });

TEST(StepDirection, The3DViewIgnoresThePageRotation) {
  EXPECT_NEAR(StepDirection(StepKey::Up, 30, true, true), std::acos(-1.0) / 2, 1e-12);
}

// Whatever the convention, "up" moves the cursor straight up the rotated sheet.
TEST_F(Cursor, UpMovesUpTheRotatedSheet) {
  Site();
  for (int convention : {0, 1}) {
    settings.Set(settings::AngleConvention, static_cast<std::uint8_t>(convention));
    settings.Set(page::RotationAngle, 30.0);
    device::FitModel(settings, model, false);
    const device::ViewTransform t = device::ViewTransform::FromSettings(settings);
    const auto moved = Step(StepKey::Up);
    ASSERT_TRUE(moved);
    const device::PixelPoint before = t.ToPage(cursor.x, cursor.y, 0);
    const device::PixelPoint after = t.ToPage(moved->x, moved->y, 0);
    EXPECT_NEAR(after.x, before.x, 1e-6) << "convention " << convention;
    EXPECT_LT(after.y, before.y) << "convention " << convention;
  }
}

TEST_F(Cursor, ArrowStepsAreDividedByTheZoomLevel) {
  Site();
  settings.Set(opt::CursorStep, 50.0);
  settings.Set(opt::ScaleStepWithZoom, true);
  // Factor zoom 2, at level 4: one press moves 12.5.
  const auto moved = Step(StepKey::Right, false, 4);
  ASSERT_TRUE(moved);
  EXPECT_DOUBLE_EQ(moved->x, 512.5);
  EXPECT_DOUBLE_EQ(moved->y, 500);
  EXPECT_DOUBLE_EQ(moved->z, 10 + 512.5 / 100 + 5);  // plane z = 10 + x/100 + y/100 ... on this site
  settings.Set(opt::ScaleStepWithZoom, false);
  EXPECT_DOUBLE_EQ(Step(StepKey::Right, false, 4)->x, 550);
}

TEST_F(Cursor, StepsStayInsideTheSheet) {
  Site();
  const double right = settings.Get(page::SheetRight);
  cursor.x = right - 5;
  const auto moved = Step(StepKey::PageUp);  // up and right: only the up part is possible
  ASSERT_TRUE(moved);
  EXPECT_DOUBLE_EQ(moved->x, right - 5);
  EXPECT_GT(moved->y, 500);
  EXPECT_FALSE(Step(StepKey::Right));
}

TEST_F(Cursor, ShiftMovesToTheBorderOrTheExtents) {
  Site();
  constexpr double Right = 0, Left = 3.141592653589793;
  // Without a border: the rectangle of the extents.
  auto crossing = RayCrossing(model, 500, 500, Right);
  ASSERT_TRUE(crossing);
  EXPECT_NEAR(crossing->x, 1000, 1e-9);
  EXPECT_NEAR(crossing->y, 500, 1e-9);
  // A diamond border through the midpoints of a larger square.
  const PointIndex a = AddPoint(500, -200), b = AddPoint(1200, 500), c = AddPoint(500, 1200), d = AddPoint(-200, 500);
  SetBorder({a, b, c, d});
  crossing = RayCrossing(model, 500, 500, Right);
  ASSERT_TRUE(crossing);
  EXPECT_NEAR(crossing->x, 1200, 1e-9);
  EXPECT_NEAR(crossing->y, 500, 1e-9);
  // From the border itself the ray goes on to the next crossing, or nowhere.
  EXPECT_FALSE(RayCrossing(model, 1200, 500, Right));
  crossing = RayCrossing(model, 1200, 500, Left);
  ASSERT_TRUE(crossing);
  EXPECT_NEAR(crossing->x, -200, 1e-9);

  // The key press goes there in full: a place, not a distance, so the zoom does not shorten it.
  device::FitModel(settings, model, true);
  settings.Set(opt::ScaleStepWithZoom, true);
  const auto moved = Step(StepKey::Up, true, 8);
  ASSERT_TRUE(moved);
  EXPECT_NEAR(moved->x, 500, 1e-9);
  EXPECT_NEAR(moved->y, 1200, 1e-9);
}

TEST_F(Cursor, ShiftDoesNothingWithAnInvalidBorder) {
  Site();
  model.BorderNext[1] = 2;  // an open chain
  model.BorderNext[2] = 3;
  EXPECT_FALSE(RayCrossing(model, 500, 500, 1.0));
  EXPECT_FALSE(Step(StepKey::Up, true));
}

// ---- Jump To Point --------------------------------------------------------------------------

class Jump : public Cursor {
 protected:
  void Points() {
    AddPoint(0, 0, 1, "7");
    AddPoint(10, 0, 2, "A");
    AddPoint(20, 0, 3, "7");
    AddPoint(30, 0, 4, "B");
  }
  // Runs the command; `request` answers the dialog.
  bool Run(std::optional<JumpRequest> request) {
    dialogs = 0;
    return JumpToPoint(Context(), cursor, [&](PointIndex current) {
      ++dialogs;
      shownFor = current;
      return request;
    });
  }
  int dialogs = 0;
  PointIndex shownFor = NoPoint;
};

TEST_F(Jump, FirstPressMovesToTheNearestPointWithoutTheDialog) {
  Points();
  cursor = {12, 1, 0};
  ASSERT_TRUE(Run(JumpRequest{JumpChoice::NextPoint, "", ""}));
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(cursor.x, 10);
  EXPECT_EQ(cursor.z, 2);
  EXPECT_TRUE(cursor.moved);
  // On the point now: the second press asks.
  ASSERT_TRUE(Run(JumpRequest{JumpChoice::NextPoint, "", ""}));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(shownFor, 2);
  EXPECT_EQ(cursor.x, 20);
}

TEST_F(Jump, CancelKeepsTheCursor) {
  Points();
  cursor = {10, 0, 2};
  EXPECT_FALSE(Run(std::nullopt));
  EXPECT_EQ(cursor.x, 10);
}

struct TargetRow {
  std::string name;
  PointIndex from;
  JumpRequest request;
  PointIndex expected;
  std::vector<std::string> messages;
};

void PrintTo(const TargetRow& c, std::ostream* os) { *os << c.name; }

class JumpTargets : public Jump, public ::testing::WithParamInterface<TargetRow> {};

TEST_P(JumpTargets, LeadToThePoint) {
  const TargetRow& row = GetParam();
  Points();
  EXPECT_EQ(JumpTarget(model, port, row.from, row.request), row.expected);
  std::vector<std::string> messages;
  for (const auto& s : port.shown) messages.push_back(s.text);
  EXPECT_EQ(messages, row.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JumpTargets,
    ::testing::Values(
        TargetRow{"NextWrapsToTheFirst", 4, {JumpChoice::NextPoint, "", ""}, 1, {}},
        TargetRow{"PreviousWrapsToTheLast", 1, {JumpChoice::PreviousPoint, "", ""}, 4, {}},
        TargetRow{"ClosestOtherPoint", 2, {JumpChoice::ClosestPoint, "", ""}, 1, {}},
        TargetRow{"Number", 1, {JumpChoice::PointNumber, " 3 ", ""}, 3, {}},
        TargetRow{"UnreadableNumber", 1, {JumpChoice::PointNumber, "x3", ""}, 1, {"Error with point number value"}},
        TargetRow{"NumberOutOfRange", 2, {JumpChoice::PointNumber, "5", ""}, 2,
                  {"Point number >\r\nValue must range from: 1 to: 4"}},
        TargetRow{"LabelTakesTheLastMatch", 4, {JumpChoice::PointLabel, "", "7"}, 3, {}},
        TargetRow{"LabelNotFound", 4, {JumpChoice::PointLabel, "", "C"}, 4, {"The desired point label was not found."}}),
    [](const ::testing::TestParamInfo<TargetRow>& info) { return info.param.name; });

TEST_F(Jump, LabelsCompareRightJustified) {
  Points();
  model.SetPointLabel(2, "  7A");
  EXPECT_EQ(FindPointLabel(model, "7A"), 2);
  EXPECT_EQ(FindPointLabel(model, "7A  "), 2);
  EXPECT_EQ(FindPointLabel(model, "X7A"), NoPoint);
}

// ---- Dialog values --------------------------------------------------------------------------

TEST_F(Cursor, QueryPointInBothOrders) {
  AddPoint(1.5, 2.25, 3.125, "TP");
  AddPoint(4, 5, 6);
  QueryPointText t = DescribeQueryPoint(model, settings, 1);
  EXPECT_EQ(t.number, "1");
  EXPECT_EQ(t.label, "  TP");
  EXPECT_EQ(t.firstCaption + t.first + " " + t.secondCaption + t.second, "Northing :2.250 Easting :1.500");
  EXPECT_EQ(t.elevation, "3.125");
  EXPECT_FALSE(t.previousEnabled);
  EXPECT_TRUE(t.nextEnabled);
  settings.Set(settings::CoordinateOrder, 1);
  t = DescribeQueryPoint(model, settings, 2);
  EXPECT_EQ(t.firstCaption + t.first + " " + t.secondCaption + t.second, "X :4.000 Y :5.000");
  EXPECT_TRUE(t.previousEnabled);
  EXPECT_FALSE(t.nextEnabled);
}

TEST_F(Cursor, CursorOptionsStoreTheStepAndMoveTheCursor) {
  Site();
  CursorOptionsFields fields = CursorOptionsFieldTexts(settings, cursor);
  EXPECT_EQ(fields.step, "10.000");
  EXPECT_EQ(fields.first, "500.000");  // Northing first
  fields.step = "25";
  fields.first = "600";   // Northing
  fields.second = "450";  // Easting
  fields.scaleStep = true;
  EXPECT_TRUE(StoreCursorOptions(Context(), settings, cursor, fields));
  EXPECT_EQ(settings.Get(opt::CursorStep), 25);
  EXPECT_TRUE(settings.Get(opt::ScaleStepWithZoom));
  EXPECT_EQ(cursor.x, 450);
  EXPECT_EQ(cursor.y, 600);
  EXPECT_DOUBLE_EQ(cursor.z, 10 + 4.5 + 6);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
}

TEST_F(Cursor, CursorOptionsRefuseABadStepAndPositionsOffTheSheet) {
  Site();
  CursorOptionsFields fields = CursorOptionsFieldTexts(settings, cursor);
  fields.step = "abc";
  fields.first = "1e9";  // Northing, far off the sheet
  fields.second = "400";
  EXPECT_TRUE(StoreCursorOptions(Context(), settings, cursor, fields));
  EXPECT_EQ(settings.Get(opt::CursorStep), 10);
  EXPECT_EQ(cursor.y, 500);
  EXPECT_EQ(cursor.x, 400);
  ASSERT_EQ(port.shown.size(), 2u) << port.Transcript();
  EXPECT_EQ(port.shown[0].text, "Error with cursor step value. Cursor step unchanged.");
  EXPECT_EQ(port.shown[1].text.rfind("Northing Position >\r\nValue must range from: ", 0), 0u);
}

TEST_F(Cursor, CursorOptionsUnchangedFieldsLeaveTheCursorAlone) {
  Site();
  cursor = {500.0004, 500, 0};
  EXPECT_FALSE(StoreCursorOptions(Context(), settings, cursor, CursorOptionsFieldTexts(settings, cursor)));
  EXPECT_EQ(cursor.x, 500.0004);
}

TEST_F(Cursor, CursorOptionsCaptionsAndTargetPoint) {
  EXPECT_EQ(CursorPositionCaptions(settings).first, "Northing Position >");
  settings.Set(settings::CoordinateOrder, 1);
  EXPECT_EQ(CursorPositionCaptions(settings).first, "X Position >");
  EXPECT_EQ(CursorPositionCaptions(settings).second, "Y Position >");
  settings.Set(settings::View3DOptions::TargetX, 12.0);
  settings.Set(settings::View3DOptions::TargetY, 34.0);
  const CursorOptionsFields f = WithTargetPosition(settings, {});
  EXPECT_EQ(f.first, "12.000");
  EXPECT_EQ(f.second, "34.000");
}

TEST_F(Cursor, ZoomOptionsKeepOutOfRangeValues) {
  ZoomOptionsFields fields = ZoomOptionsFieldTexts(settings);
  EXPECT_EQ(fields.value, "2");
  EXPECT_EQ(fields.quickZoom, "20");
  fields.constant = true;
  fields.value = "3";
  fields.quickZoom = "30";
  fields.screenScrolling = false;
  EXPECT_FALSE(StoreZoomOptions(port, settings, fields, 24));
  EXPECT_TRUE(settings.Get(opt::ZoomMethodConstant));
  EXPECT_FALSE(settings.Get(opt::ScreenScrolling));
  EXPECT_EQ(settings.Get(opt::ZoomFactor), 3);
  EXPECT_EQ(settings.Get(opt::QuickZoomLevel), 20);
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{"Quick Zoom Level >\r\nValue must range from: 1 to: 24"});
  EXPECT_EQ(ZoomValueCaption(true), "Zoom Constant >");
  EXPECT_EQ(ZoomValueCaption(false), "Zoom Factor >");
}

}  // namespace
}  // namespace terravue::app

namespace terravue::app {
namespace {

class BreaklineJump : public Cursor {
 protected:
  void Lines() {
    AddPoint(0, 0, 1);
    AddPoint(10, 0, 1);
    AddPoint(0, 20, 1);
    AddPoint(10, 20, 1);
    model.Breaklines[++model.BreaklineCount] = {1, 2};
    model.Breaklines[++model.BreaklineCount] = {3, 4};
  }
  bool Run(std::optional<std::string> typed) {
    dialogs = 0;
    return JumpToBreakline(Context(), cursor, [&](BreaklineIndex) {
      ++dialogs;
      return typed;
    });
  }
  int dialogs = 0;
};

TEST_F(BreaklineJump, FirstToTheNearestMidpointThenByNumber) {
  EXPECT_FALSE(Run("1"));
  EXPECT_EQ(port.Texts(FakeKind::Info), std::vector<std::string>{"No breaklines exist."});
  Lines();
  cursor = {4, 3, 0};
  ASSERT_TRUE(Run("2"));
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(cursor.x, 5);
  EXPECT_EQ(cursor.y, 0);
  ASSERT_TRUE(Run("2"));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(cursor.y, 20);
  ASSERT_TRUE(Run("x"));  // unreadable: the message, and the nearest one stays chosen
  EXPECT_EQ(cursor.y, 20);
  EXPECT_EQ(port.Texts(FakeKind::Error), std::vector<std::string>{"Error with breakline number value"});
  EXPECT_FALSE(Run(std::nullopt));
}

}  // namespace
}  // namespace terravue::app

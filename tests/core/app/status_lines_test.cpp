// The mouse, printer and cursor status lines, in both coordinate orders.

#include <gtest/gtest.h>

#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "app/status_lines.h"
#include "device/page_setup_settings.h"
#include "common/view3d_settings.h"
#include "window_fixture.h"

namespace terravue::app {
namespace {

namespace opt = app::CursorOptions;
namespace page = device::PageSetup;

// A plane z = 10 + x/10 + y/10 over a 100 x 100 square: any triangulation gives the same heights.
class StatusLines : public WindowTest {
 protected:
  void Square() {
    AddPoint(0, 0, 10);
    AddPoint(100, 0, 20);
    AddPoint(100, 100, 30);
    AddPoint(0, 100, 20);
    Triangulate();
  }
  void EastingFirst(bool on) { settings.Set(settings::CoordinateOrder, on ? 1 : 0); }
};

TEST_F(StatusLines, MouseLineWithoutPointsIsBare) {
  EXPECT_EQ(MouseLineText(Context(), 5, 5), "Mouse:");
}

TEST_F(StatusLines, MouseLineInBothCoordinateOrders) {
  Square();
  EastingFirst(true);
  // (50, 25) is as far from point 1 as from point 2: the lower number wins.
  EXPECT_EQ(MouseLineText(Context(), 50, 25),
            "Mouse:  X =       50.000  Y =       25.000  Z =       17.500  Nearest point = #1");
  EastingFirst(false);
  EXPECT_EQ(MouseLineText(Context(), 50, 25),
            "Mouse:  Northing =       25.000  Easting =       50.000  Elevation =       17.500  Nearest point = #1");
}

TEST_F(StatusLines, MouseLineOutsideTheSurfaceShowsNotApplicable) {
  Square();
  EXPECT_EQ(MouseLineText(Context(), 150, 50),
            "Mouse:  Northing =       50.000  Easting =      150.000  Elevation = N/A  Nearest point = #2");
  settings.Set(opt::TrackNearestPoint, false);
  EXPECT_EQ(MouseLineText(Context(), 150, 50),
            "Mouse:  Northing =       50.000  Easting =      150.000  Elevation = N/A");
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();  // no "outside the border" box
}

TEST_F(StatusLines, MouseLineInThe3DViewShowsTheTarget) {
  Square();
  namespace view = settings::View3DOptions;
  settings.Set(view::View3D, true);
  settings.Set(view::TargetX, 1.0);
  settings.Set(view::TargetY, 2.0);
  settings.Set(view::TargetZ, 3.0);
  EastingFirst(true);
  EXPECT_EQ(MouseLineText(Context(), 50, 25), "Target:  X =        1.000  Y =        2.000  Z =        3.000");
  EastingFirst(false);
  EXPECT_EQ(MouseLineText(Context(), 50, 25),
            "Target:  Northing =        2.000  Easting =        1.000  Elevation =        3.000");
}

TEST_F(StatusLines, PrinterLine) {
  EXPECT_EQ(PrinterLineText(Context(), "Office"), "Printer not available");
  settings.Set(page::PrinterPresent, true);
  settings.Set(page::MapScale, 100.0);
  EXPECT_EQ(PrinterLineText(Context(), "Office"), "Printer = Office Paper Size = Letter 8 1/2 x 11 in (Portrait)");
  Square();
  settings.Set(page::PaperWidth, 3300);
  settings.Set(page::PaperHeight, 2550);
  settings.Set(settings::Units, 1);
  EXPECT_EQ(PrinterLineText(Context(), "Office"),
            "Printer = Office Paper Size = Letter 8 1/2 x 11 in (Landscape): Scale = 100.000 (m/cm)");
}

TEST_F(StatusLines, CursorLineLooksUpAMissingElevation) {
  CursorState none;
  EXPECT_EQ(CursorLineText(Context(), none), "Cursor:");
  Square();
  CursorState cursor{50, 25, model.MinZ};
  EastingFirst(true);
  EXPECT_EQ(CursorLineText(Context(), cursor),
            "Cursor:  X =       50.000  Y =       25.000  Z =       17.500  Nearest point = #1");
  EXPECT_DOUBLE_EQ(cursor.z, 17.5);

  // Standing on the lowest point, the elevation equals MinZ and is found again.
  CursorState lowest{0, 0, model.MinZ};
  EastingFirst(false);
  EXPECT_EQ(CursorLineText(Context(), lowest),
            "Cursor:  Northing =        0.000  Easting =        0.000  Elevation =       10.000  Nearest point = #1");
}

TEST_F(StatusLines, CursorLineOffTheSurfaceOrUntriangulatedShowsNotApplicable) {
  Square();
  CursorState outside{150, 50, model.MinZ};
  EXPECT_EQ(CursorLineText(Context(), outside),
            "Cursor:  Northing =       50.000  Easting =      150.000  Elevation = N/A  Nearest point = #2");
  model.TriangleCount = 0;
  CursorState inside{50, 25, model.MinZ};
  EXPECT_EQ(CursorLineText(Context(), inside),
            "Cursor:  Northing =       25.000  Easting =       50.000  Elevation = N/A  Nearest point = #1");
}

TEST(CursorLineWidth, FollowsTheTextWithinLimits) {
  EXPECT_EQ(CursorLineWidth(300, 400, 50), 450);
  EXPECT_EQ(CursorLineWidth(445, 400, 50), std::nullopt);  // within 10 pixels: left alone
  EXPECT_EQ(CursorLineWidth(439, 400, 50), 450);
  EXPECT_EQ(CursorLineWidth(100, 600, 50), 620);
  EXPECT_EQ(CursorLineWidth(100, 10, 20), 50);
  EXPECT_EQ(CursorLineWidth(620, 610, 50), std::nullopt);
  // A text wider than the limit is never cut: it keeps its width and the frame's.
  EXPECT_EQ(CursorLineWidth(100, 700, 50), 708);
  EXPECT_EQ(CursorLineWidth(708, 900, 50), 908);
}

}  // namespace
}  // namespace terravue::app

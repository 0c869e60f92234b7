// Zoom arithmetic: factor and constant methods, integer division, clamping and the quick keys.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/cursor_settings.h"
#include "app/settings_file.h"
#include "app/zoom.h"

namespace terravue::app {
namespace {

namespace opt = app::CursorOptions;

enum class Op { In, Out };

struct ZoomRow {
  std::string name;
  bool constant;
  int factor;
  int level;
  int highest;
  Op op;
  int expected;
};

void PrintTo(const ZoomRow& c, std::ostream* os) { *os << c.name; }

std::vector<ZoomRow> Rows() {
  return {
      {"FactorInDoubles", false, 2, 4, 40, Op::In, 8},
      {"FactorInStopsAtHighest", false, 2, 8, 10, Op::In, 10},
      {"ConstantInAdds", true, 3, 1, 40, Op::In, 4},
      {"FactorOutDividesWholly", false, 2, 3, 40, Op::Out, 1},
      {"FactorOutOfFive", false, 2, 5, 40, Op::Out, 2},
      {"FactorThreeOutOfEight", false, 3, 8, 40, Op::Out, 2},
      {"ConstantOutStopsAtOne", true, 3, 2, 40, Op::Out, 1},
      {"FactorOneKeepsTheLevel", false, 1, 5, 40, Op::In, 5},
  };
}

class ZoomArithmetic : public ::testing::TestWithParam<ZoomRow> {};

TEST_P(ZoomArithmetic, GivesTheNewLevel) {
  const ZoomRow& row = GetParam();
  SettingsRecord s = DefaultSettings();
  s.Set(opt::ZoomMethodConstant, row.constant);
  s.Set(opt::ZoomFactor, static_cast<std::uint8_t>(row.factor));
  ZoomState zoom{row.level, row.highest, 1};
  const int level = row.op == Op::In ? ZoomIn(zoom, s) : ZoomOut(zoom, s);
  EXPECT_EQ(level, row.expected);
  EXPECT_EQ(zoom.level, row.expected);
  EXPECT_EQ(zoom.previous, row.level);
}

INSTANTIATE_TEST_SUITE_P(Table, ZoomArithmetic, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<ZoomRow>& info) { return info.param.name; });

TEST(QuickZoom, TwiceReturnsToTheStartingLevel) {
  SettingsRecord s = DefaultSettings();
  s.Set(opt::QuickZoomLevel, 20);
  ZoomState zoom{3, 40, 1};
  EXPECT_EQ(QuickZoom(zoom, s), 20);
  EXPECT_EQ(QuickZoom(zoom, s), 3);
  EXPECT_EQ(QuickZoom(zoom, s), 20);
}

TEST(QuickZoom, AQuickLevelAboveTheHighestStillGoesBack) {
  SettingsRecord s = DefaultSettings();
  s.Set(opt::QuickZoomLevel, 20);
  ZoomState zoom{2, 12, 1};
  EXPECT_EQ(QuickZoom(zoom, s), 12);
  EXPECT_EQ(QuickZoom(zoom, s), 2);
}

TEST(QuickUnzoom, SwitchesBetweenLevelOneAndThePreviousLevel) {
  ZoomState zoom{6, 40, 1};
  EXPECT_EQ(QuickUnzoom(zoom), 1);
  EXPECT_EQ(QuickUnzoom(zoom), 6);
}

TEST(ZoomList, GoesToTheChosenLevelAndRemembersTheOldOne) {
  ZoomState zoom{2, 10, 1};
  EXPECT_EQ(ZoomTo(zoom, 2), 2);
  EXPECT_EQ(zoom.previous, 1);  // the present level changes nothing
  EXPECT_EQ(ZoomTo(zoom, 7), 7);
  EXPECT_EQ(zoom.previous, 2);
  EXPECT_EQ(ZoomTo(zoom, 99), 10);
}

TEST(ZoomState, ASmallerWindowHoldsTheLevel) {
  ZoomState zoom{9, 12, 11};
  SetHighestZoom(zoom, 5);
  EXPECT_EQ(zoom.level, 5);
  EXPECT_EQ(zoom.previous, 5);
  SetHighestZoom(zoom, 0);
  EXPECT_EQ(zoom.highest, 1);
  EXPECT_EQ(zoom.level, 1);
}

}  // namespace
}  // namespace terravue::app

// Letter keys and editor-bar clicks while interactive commands run.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_state.h"
#include "app/commands.h"

namespace terravue::app {
namespace {

using C = CommandId;
using K = CommandKind;

struct KeyRow {
  std::string name;
  Editor editor;
  char key;
  ActiveCommands active;
  std::optional<CommandId> expected;
};

void PrintTo(const KeyRow& c, std::ostream* os) { *os << c.name; }

std::vector<KeyRow> KeyRows() {
  return {
      {"GeneralIdle", Editor::General, 'c', {}, C::CursorOptions},
      {"GeneralThree", Editor::General, '3', {}, C::View3D},
      {"GeneralUnknown", Editor::General, 'X', {}, std::nullopt},
      {"GeneralDuringLength", Editor::General, 'J', {K::Length}, C::JumpToPoint},
      {"GeneralAnimateMapOptions", Editor::General, 'M', {K::Animate}, C::MapOptions},
      {"GeneralAnimateZoomIn", Editor::General, 'I', {K::Animate}, C::ZoomIn},
      {"GeneralAnimateThree", Editor::General, '3', {K::Animate}, C::View3D},
      {"GeneralAnimateCursor", Editor::General, 'C', {K::Animate}, std::nullopt},
      {"CoordinateIdle", Editor::Coordinate, 'I', {}, C::CoordinateTextEditor},
      {"CoordinateDuringLength", Editor::Coordinate, 'A', {K::Length}, std::nullopt},
      {"CoordinateDuringAnimate", Editor::Coordinate, 'A', {K::Animate}, std::nullopt},
      {"BorderIdleDelete", Editor::Border, 'D', {}, C::BorderDeletePoint},
      {"BorderFullStop", Editor::Border, '.', {}, C::BorderErrorNext},
      {"BorderComma", Editor::Border, ',', {}, C::BorderErrorPrevious},
      {"BorderNewBorderDelete", Editor::Border, 'D', {K::NewBorder}, std::nullopt},
      {"BorderNewBorderNew", Editor::Border, 'n', {K::NewBorder}, C::BorderNew},
      {"BorderDuringLength", Editor::Border, 'N', {K::Length}, std::nullopt},
      {"BreaklineIdleTriangulate", Editor::Breakline, 'T', {}, C::Triangulate},
      {"BreaklineNewBreaklineAdd", Editor::Breakline, 'A', {K::NewBreakline}, C::BreaklineAdd},
      {"BreaklineNewBreaklineSwap", Editor::Breakline, 'S', {K::NewBreakline}, std::nullopt},
      {"BreaklineSwapSwap", Editor::Breakline, 'S', {K::Swap}, C::BreaklineSwap},
      {"BreaklineSwapAdd", Editor::Breakline, 'A', {K::Swap}, std::nullopt},
      {"BreaklineSwapNext", Editor::Breakline, '.', {K::Swap}, std::nullopt},
      {"AnalyzerQueryTriangle", Editor::Analyzer, 'Q', {K::QueryTriangle}, C::AnalyzerQueryTriangle},
      {"AnalyzerDuringLength", Editor::Analyzer, 'Q', {K::Length}, std::nullopt},
  };
}

class LetterKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(LetterKeys, AreLimitedByTheActiveCommand) {
  const KeyRow& row = GetParam();
  EXPECT_EQ(LetterKeyCommand(row.editor, row.key, row.active), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LetterKeys, ::testing::ValuesIn(KeyRows()),
                         [](const ::testing::TestParamInfo<KeyRow>& info) { return info.param.name; });

struct BarRow {
  std::string name;
  Editor folder;
  CommandId id;
  ActiveCommands active;
  bool allowed;
};

void PrintTo(const BarRow& c, std::ostream* os) { *os << c.name; }

std::vector<BarRow> BarRows() {
  return {
      {"IdleAnything", Editor::Breakline, C::BreaklineKill, {}, true},
      {"NewBorderNew", Editor::Border, C::BorderNew, {K::NewBorder}, true},
      {"NewBorderConvex", Editor::Border, C::BorderConvex, {K::NewBorder}, false},
      {"NewBreaklineAdd", Editor::Breakline, C::BreaklineAdd, {K::NewBreakline}, true},
      {"NewBreaklineDelete", Editor::Breakline, C::BreaklineDelete, {K::NewBreakline}, false},
      {"SwapSwap", Editor::Breakline, C::BreaklineSwap, {K::Swap}, true},
      {"SwapAdd", Editor::Breakline, C::BreaklineAdd, {K::Swap}, false},
      {"LengthGeneral", Editor::General, C::Redraw, {K::Length}, true},
      {"LengthCoordinate", Editor::Coordinate, C::CoordinateAdd, {K::Length}, false},
      {"Animate3DView", Editor::General, C::View3D, {K::Animate}, true},
      {"AnimateRedraw", Editor::General, C::Redraw, {K::Animate}, false},
  };
}

class EditorBar : public ::testing::TestWithParam<BarRow> {};

TEST_P(EditorBar, ItemsAreLimitedByTheActiveCommand) {
  const BarRow& row = GetParam();
  EXPECT_EQ(EditorBarItemAllowed(row.folder, row.id, row.active), row.allowed);
}

INSTANTIATE_TEST_SUITE_P(Table, EditorBar, ::testing::ValuesIn(BarRows()),
                         [](const ::testing::TestParamInfo<BarRow>& info) { return info.param.name; });

// A letter must lead to one command, and a command live in one folder (the enabling rules find
// a command's sub-menu by it).
TEST(EditorFolders, LettersAndCommandsAreUnique) {
  for (std::size_t e = 0; e < EditorCount; ++e) {
    std::string seen;
    for (const FolderItem& item : FolderItems(static_cast<Editor>(e))) {
      EXPECT_EQ(FolderOf(item.id), std::optional(static_cast<Editor>(e)));
      for (char k : item.keys) {
        EXPECT_EQ(seen.find(k), std::string::npos) << FolderTitle(static_cast<Editor>(e)) << " key " << k;
        seen += k;
      }
    }
  }
}

}  // namespace
}  // namespace terravue::app

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/app_settings.h"
#include "common/messages.h"
#include "device/scale_presets.h"
#include "exchange/import_commands.h"
#include "exchange_test_env.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "device/page_setup_settings.h"

namespace terravue::exchange::test {
namespace {

// ---- The custom format text ----------------------------------------------------------------

struct TextCase {
  const char* name;
  AsciiKind kind;
  int entry;
  const char* typed;
  std::vector<std::uint8_t> codes;  // the first codes stored, the rest 0
  const char* shown;                // what the dialog shows the next time
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ImportFormatTextTest : public ExchangeTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ImportFormatTextTest, StoredCodesAndShownText) {
  const TextCase& c = GetParam();
  StoreImportDialogFormat(settings, c.kind, c.entry, c.typed);
  const FormatRecord& record = ImportRecord(c.kind);
  EXPECT_EQ(settings.Get(record.FormatIndex()), c.entry);
  FieldCodes expected{};
  std::copy(c.codes.begin(), c.codes.end(), expected.begin());
  EXPECT_EQ(ReadFileFormat(settings, record).codes, expected);
  EXPECT_EQ(StoredFormatText(settings, record, ImportLetters(c.kind)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Import, ImportFormatTextTest,
    ::testing::Values(
        TextCase{"CustomWithBlanks", AsciiKind::Coordinates, 4, "l y x zn", {5, 3, 2, 4, 7}, "L Y X ZN"},
        TextCase{"ElevenLettersKeepTen", AsciiKind::Coordinates, 4, "LYXZNDDDDDX",
                 {5, 3, 2, 4, 7, 6, 6, 6, 6, 6}, "LYXZNDDDDD"},
        TextCase{"LeadingTextAndLongDecorationCut", AsciiKind::Border, 4, ", , , P                        A N",
                 {1, 2, 5}, ", , , P             "},
        TextCase{"PredefinedEntryShowsItsLetters", AsciiKind::Coordinates, 2, "ignored", {5, 3, 2, 4, 7}, "LYXZN"},
        TextCase{"BreaklineEntry", AsciiKind::Breaklines, 3, "", {1, 3, 5}, "PBN"},
        TextCase{"NoEntryNoCodes", AsciiKind::Coordinates, -1, "X Y Z", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatCharacters, DisallowedCharactersAreRemoved) {
  EXPECT_EQ(KeepFormatCharacters(ImportLetters(AsciiKind::Coordinates), "lQ y,X\tzP1n"), "l y,Xzn");
  EXPECT_EQ(KeepFormatCharacters(ImportLetters(AsciiKind::Border), "ABCDLNPXYZ ,"), "ABDNP ,");
}

TEST(ImportDialog, Enabling) {
  struct Case {
    bool exists;
    int entry;
    const char* text;
    bool formats, custom, ok;
  };
  for (const Case c : {Case{false, 2, "", false, false, false}, Case{true, -1, "", true, false, false},
                       Case{true, 1, "", true, false, true}, Case{true, 4, "", true, true, false},
                       Case{true, 4, "X", true, true, true}, Case{false, 4, "X", false, false, false}}) {
    const ImportDialogEnabling e = ImportEnabling(c.exists, c.entry, c.text);
    EXPECT_EQ(e.preview, c.exists);
    EXPECT_EQ(e.formatGroup, c.formats) << c.entry;
    EXPECT_EQ(e.editCustom, c.custom) << c.entry;
    EXPECT_EQ(e.ok, c.ok) << c.entry << c.text;
  }
}

// ---- The commands ---------------------------------------------------------------------------

class ImportCommandTest : public ExchangeTest {
 protected:
  // A dialog closed with OK on `file` (or Cancel when empty); records what it was asked.
  ImportDialogFn Dialog(const fs::path& file, bool autoRemove = false) {
    return [this, file, autoRemove](const ImportDialogRequest& r) -> std::optional<ImportDialogResult> {
      requests.push_back(r);
      if (file.empty()) return std::nullopt;
      return ImportDialogResult{file.string(), autoRemove};
    };
  }
  fs::path Pnezd() { return Write("SITE.ASC", "1,5000,3000,100\n2,5010,3000,101\n3,5000,3010,102\n"); }

  std::vector<ImportDialogRequest> requests;
};

TEST_F(ImportCommandTest, CoordinatesIntoEmptyModelTakeTheFilesName) {
  ImportEntry(AsciiKind::Coordinates, 2);
  settings.Set(device::PointOptions::MarkerKind, std::uint8_t{5});
  const fs::path file = Pnezd();
  EXPECT_EQ(ImportCoordinatesCommand(session, Dialog(file, true)), ImportOutcome::Loaded);

  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].chooseFileAtOnce);  // no name known yet
  EXPECT_TRUE(requests[0].showAutoRemove);
  EXPECT_TRUE(port.Texts(Kind::Question).empty());
  EXPECT_EQ(model.PointCount, 3);
  EXPECT_EQ(model.PointY[2], 5010);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.ASC");
  EXPECT_EQ(settings.Get(settings::ModelFileExt), ".ASC");
  EXPECT_EQ(settings.Get(settings::ModelFileType), 0);
  EXPECT_EQ(fs::path(settings.Get(settings::DataDirectory)), dir.path() / "");
  EXPECT_EQ(settings.Get(CoordImport.FileName()), file.string());
  EXPECT_TRUE(settings.Get(CoordImport.RemoveDuplicates()));
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(settings.Get(device::PointOptions::MarkerKind), 3);  // plus markers on loose points
  EXPECT_GT(port.modelStateChanges, 0);

  // The next import proposes the same file.
  EXPECT_EQ(DefaultImportFileName(settings, AsciiKind::Coordinates), file.string());
}

TEST_F(ImportCommandTest, QuestionsBeforeLoadingIntoAModelWithPoints) {
  ImportEntry(AsciiKind::Coordinates, 2);
  AddGrid(4, 2);
  settings.Set(settings::ModelSaved, false);
  const fs::path file = Pnezd();

  // Unsaved changes, No: nothing happens.
  EXPECT_EQ(ImportCoordinatesCommand(session, Dialog(file)), ImportOutcome::NotRun);
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(port.Texts(Kind::Question),
            std::vector<std::string>{std::string(msg::UnsavedChanges) + "\r\n" + std::string(msg::LoadNewDataAnyway)});

  // Yes, then "Add to current file?" Yes appends...
  port.yesNoAnswers = {true, true};
  EXPECT_EQ(ImportCoordinatesCommand(session, Dialog(file)), ImportOutcome::Loaded);
  EXPECT_EQ(model.PointCount, 7);
  EXPECT_EQ(port.Texts(Kind::Question).back(), msg::AddToCurrentFile);
  // Only the question about the unsaved changes has No for its default.
  EXPECT_EQ(port.discardQuestions, std::vector<std::string>(2, port.Texts(Kind::Question).front()));

  // ... and No replaces.
  port.yesNoAnswers = {true, false};
  EXPECT_EQ(ImportCoordinatesCommand(session, Dialog(file)), ImportOutcome::Loaded);
  EXPECT_EQ(model.PointCount, 3);
}

TEST_F(ImportCommandTest, FailedCoordinateLoadKeepsTheModelsIdentity) {
  ImportEntry(AsciiKind::Coordinates, 2);
  AddGrid(4, 2);
  settings.Set(settings::ModelSaved, true);
  settings.Set(settings::ModelFileName, "OLD.MDL");
  settings.Set(settings::ModelFileType, std::uint8_t{2});
  port.yesNoAnswers = {false};  // replace
  EXPECT_EQ(ImportCoordinatesCommand(session, Dialog(dir.path() / "MISSING.ASC")), ImportOutcome::Attempted);
  EXPECT_EQ(model.PointCount, 4);
  EXPECT_EQ(settings.Get(settings::ModelFileName), "OLD.MDL");
  EXPECT_EQ(settings.Get(settings::ModelFileType), 2);
  // The dialog proposed the model's name without its extension.
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_FALSE(requests[0].chooseFileAtOnce);
  EXPECT_EQ(fs::path(requests[0].fileName).filename(), "OLD");
}

// File > New: each way through its question, then the dialog.
TEST_F(ImportCommandTest, NewAsksBeforeDroppingTheModel) {
  const std::string erase(msg::EraseOldData);
  const std::string unsaved = std::string(msg::UnsavedChanges) + "\r\n" + std::string(msg::LoadNewDataAnyway);
  struct Case {
    const char* name;
    int points;
    bool saved;
    std::deque<bool> answers;
    std::vector<std::string> questions;
    NewOutcome outcome;
  };
  const Case cases[] = {
      {"empty model: no question", 0, false, {}, {}, NewOutcome::Loaded},
      {"saved, No keeps the model", 4, true, {false}, {erase}, NewOutcome::Declined},
      {"saved, Yes", 4, true, {true}, {erase}, NewOutcome::Loaded},
      {"unsaved, No keeps the model", 4, false, {false}, {unsaved}, NewOutcome::Declined},
      {"unsaved, Yes", 4, false, {true}, {unsaved}, NewOutcome::Loaded},
  };
  ImportEntry(AsciiKind::Coordinates, 2);
  const fs::path file = Pnezd();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model.ClearModel();
    AddGrid(c.points, 2);
    settings.Set(settings::ModelSaved, c.saved);
    port.shown.clear();
    port.discardQuestions.clear();
    port.yesNoAnswers = c.answers;
    requests.clear();
    EXPECT_EQ(NewModelCommand(session, Dialog(file)), c.outcome);
    EXPECT_EQ(port.Texts(Kind::Question), c.questions);
    EXPECT_EQ(port.discardQuestions, c.questions);  // No is the default of each
    const bool declined = c.outcome == NewOutcome::Declined;
    EXPECT_EQ(requests.size(), declined ? 0u : 1u);
    EXPECT_EQ(model.PointCount, declined ? c.points : 3);  // never merged
  }
}

TEST_F(ImportCommandTest, NewImportTakesTheFileAsAnUnsavedModel) {
  ImportEntry(AsciiKind::Coordinates, 2);
  settings.Set(CoordImport.RemoveDuplicates(), true);
  settings.Set(settings::ModelFileName, "OLD.MDL");
  settings.Set(settings::ModelFileType, std::uint8_t{2});
  settings.Set(settings::DataDirectory, (dir.path() / "").string());
  const fs::path file = Pnezd();
  EXPECT_EQ(NewModelCommand(session, Dialog(file, false)), NewOutcome::Loaded);

  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(fs::path(requests[0].fileName), dir.path() / "OLD");  // the model's name without extension
  EXPECT_TRUE(requests[0].showAutoRemove);
  EXPECT_TRUE(requests[0].autoRemove);  // the stored choice
  EXPECT_FALSE(settings.Get(CoordImport.RemoveDuplicates()));  // the box's choice is kept
  EXPECT_EQ(settings.Get(settings::ModelFileName), "SITE.ASC");
  EXPECT_EQ(settings.Get(settings::ModelFileType), 0);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_TRUE(settings.Get(settings::RecentFile(0)).empty());  // not a model file
  // The sheet fits the points and the preset of that scale gives the text heights.
  const double scale = settings.Get(device::PageSetup::MapScale);
  EXPECT_GT(scale, 0);
  const int preset = device::ChooseScalePreset(settings, 0, scale);
  EXPECT_EQ(settings.Get(device::ContourOptions::TextHeight),
            settings.Get(settings::ScalePresetSizes(0, preset, 2)));
}

TEST_F(ImportCommandTest, NewCancelledOrUnreadLeavesAnEmptyModelWithoutAName) {
  ImportEntry(AsciiKind::Coordinates, 2);
  for (const fs::path& chosen : {fs::path(), dir.path() / "MISSING.ASC"}) {
    SCOPED_TRACE(chosen.string());
    AddGrid(4, 2);
    settings.Set(settings::ModelSaved, true);
    settings.Set(settings::ModelFileName, "OLD.MDL");
    port.yesNoAnswers = {true};
    EXPECT_EQ(NewModelCommand(session, Dialog(chosen)), NewOutcome::Cleared);
    EXPECT_EQ(model.PointCount, 0);
    EXPECT_EQ(settings.Get(settings::ModelFileName), "");
    EXPECT_EQ(model::CaptionText(model, settings), "Terravue <No Data Loaded>");
  }
}

TEST_F(ImportCommandTest, BorderNeedsPointsAndKeepsItsRingWhenTheFileIsMissing) {
  EXPECT_EQ(ImportBorderCommand(session, Dialog("x.bdr")), ImportOutcome::NotRun);
  EXPECT_EQ(port.Texts(Kind::Error), std::vector<std::string>{std::string(msg::NoDataLoaded)});
  EXPECT_TRUE(requests.empty());

  AddGrid(4, 2);  // 1 2 / 3 4
  model.BorderNext[1] = 2;
  model.BorderNext[2] = 4;
  model.BorderNext[4] = 3;
  model.BorderNext[3] = 1;
  port.shown.clear();
  EXPECT_EQ(ImportBorderCommand(session, Dialog("x.bdr")), ImportOutcome::NotRun);  // "Load new border?" No
  EXPECT_EQ(port.Texts(Kind::Question), std::vector<std::string>{std::string(msg::LoadNewBorder)});
  EXPECT_EQ(port.discardQuestions, port.Texts(Kind::Question));

  port.yesNoAnswers = {true};
  EXPECT_EQ(ImportBorderCommand(session, Dialog(dir.path() / "MISSING.BDR")), ImportOutcome::Attempted);
  EXPECT_EQ(model.BorderNext[1], 2);
  EXPECT_TRUE(model.IsBordered());

  ImportEntry(AsciiKind::Border, 1);
  port.yesNoAnswers = {true};
  const fs::path file = Write("T.BDR", "0,0\n10,0\n0,10\n");
  EXPECT_EQ(ImportBorderCommand(session, Dialog(file)), ImportOutcome::Loaded);
  EXPECT_EQ(model.BorderNext[4], NoPoint);
  EXPECT_EQ(settings.Get(BorderImport.FileName()), file.string());
}

TEST_F(ImportCommandTest, BreaklinesEraseOrAddAndSurviveAnUnreadableFile) {
  AddGrid(6, 3);
  ImportEntry(AsciiKind::Breaklines, 2);
  model.Breaklines[1] = {1, 2};
  model.BreaklineCount = 1;
  const fs::path file = Write("B.BRK", "4 5\n5 6\n");

  // Erase, but the file cannot be read: the old breakline stays.
  port.yesNoAnswers = {true, true};
  EXPECT_EQ(ImportBreaklinesCommand(session, Dialog(dir.path() / "MISSING.BRK")), ImportOutcome::NotRun);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(model.Breaklines[1].To, 2);
  EXPECT_EQ(port.Texts(Kind::Question),
            (std::vector<std::string>{std::string(msg::LoadNewBreaklines), std::string(msg::EraseExistingBreaklines)}));
  EXPECT_EQ(port.discardQuestions, std::vector<std::string>{std::string(msg::EraseExistingBreaklines)});

  // Keep the old ones: the file's are added behind them.
  port.yesNoAnswers = {true, false};
  EXPECT_EQ(ImportBreaklinesCommand(session, Dialog(file)), ImportOutcome::Loaded);
  EXPECT_EQ(model.BreaklineCount, 3);

  // Erase: only the file's remain.
  port.yesNoAnswers = {true, true};
  EXPECT_EQ(ImportBreaklinesCommand(session, Dialog(file)), ImportOutcome::Loaded);
  EXPECT_EQ(model.BreaklineCount, 2);
  EXPECT_EQ(model.Breaklines[1].From, 4);

  // "Load new breaklines?" No: the dialog never shows.
  requests.clear();
  port.yesNoAnswers = {false};
  EXPECT_EQ(ImportBreaklinesCommand(session, Dialog(file)), ImportOutcome::NotRun);
  EXPECT_TRUE(requests.empty());
}

}  // namespace
}  // namespace terravue::exchange::test

#include <gtest/gtest.h>

#include "app/model_history.h"
#include "common/app_settings.h"
#include "support/session_fixture.h"
#include "support/synthetic_sites.h"
#include "tin/geometry.h"
#include "tin/point_edit.h"
#include "tin/triangulate.h"

namespace terravue::app {
namespace {

class ModelHistoryTest : public testing::SessionTest {
 protected:
  ModelHistoryTest() : SessionTest("terravue-history-") {}

  void SetUp() override {
    SessionTest::SetUp();
    testing::LoadSite(model, testing::RollingTerrain(200, 3));
    tin::TriangulateOptions quiet;
    quiet.quiet = true;
    ASSERT_TRUE(tin::Triangulate(session, state, quiet));
    settings.Set(settings::ModelSaved, true);  // as if just opened
  }

  // One command through the history, as the front end runs them.
  template <class F>
  void Command(std::string_view name, F&& body) {
    history.Begin(model);
    body();
    history.End(session, name);
  }

  ModelHistory history;
  tin::LocateState state;
};

TEST_F(ModelHistoryTest, UndoAndRedoRestoreExactlyAndKnowTheSavedState) {
  const ModelSnapshot opened = ModelSnapshot::Of(model);
  Command("Query Point", [] {});  // changes nothing: no step
  EXPECT_FALSE(history.CanUndo());

  Command("Delete Point", [&] { tin::DeletePointRules(session, state, 50); });
  const ModelSnapshot afterDelete = ModelSnapshot::Of(model);
  Command("Add Point", [&] {
    tin::AddPointRules(session, state, {"A", model.PointX[7] + 0.5, model.PointY[7] + 0.25, 3});
  });
  const ModelSnapshot afterAdd = ModelSnapshot::Of(model);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(history.UndoText(), "Undo Add Point");

  ASSERT_TRUE(history.Undo(session));
  EXPECT_TRUE(afterDelete.Matches(model));
  EXPECT_EQ(history.RedoText(), "Redo Add Point");
  ASSERT_TRUE(history.Undo(session));
  EXPECT_TRUE(opened.Matches(model));
  EXPECT_TRUE(settings.Get(settings::ModelSaved)) << "back at the state opened";
  EXPECT_FALSE(history.Undo(session));

  ASSERT_TRUE(history.Redo(session));
  ASSERT_TRUE(history.Redo(session));
  EXPECT_TRUE(afterAdd.Matches(model));
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  EXPECT_TRUE(model::CheckTopology(model).empty());

  // A save marks this state; undoing leaves it modified, redoing comes back unmodified.
  Command("Save", [&] { settings.Set(settings::ModelSaved, true); });
  history.Undo(session);
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
  history.Redo(session);
  EXPECT_TRUE(settings.Get(settings::ModelSaved));

  // A new change drops the redo steps.
  history.Undo(session);
  Command("Delete Point", [&] { tin::DeletePointRules(session, state, 10); });
  EXPECT_FALSE(history.CanRedo());
}

TEST_F(ModelHistoryTest, NestedCommandsAreOneStepAndOpeningStartsAfresh) {
  Command("Outer", [&] {
    tin::DeletePointRules(session, state, 20);
    Command("Inner", [&] { tin::DeletePointRules(session, state, 21); });
  });
  EXPECT_EQ(history.UndoText(), "Undo Outer");
  history.Undo(session);
  EXPECT_FALSE(history.CanUndo());

  Command("Delete Point", [&] { tin::DeletePointRules(session, state, 20); });
  Command("Open", [&] {
    testing::LoadSite(model, testing::RollingTerrain(50, 9));
    settings.Set(settings::ModelSaved, true);
  });
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(ModelHistoryTest, DepthAndMemoryAreCapped) {
  ModelHistory small({3, std::size_t{1} << 30});
  for (PointIndex p = 10; p < 16; ++p) {
    small.Begin(model);
    tin::DeletePointRules(session, state, p);
    small.End(session, "Delete Point");
  }
  int steps = 0;
  while (small.Undo(session)) ++steps;
  EXPECT_EQ(steps, 3);

  const std::size_t one = ModelSnapshot::Of(model).Bytes();
  ModelHistory tight({100, one * 2});
  for (PointIndex p = 10; p < 16; ++p) {
    tight.Begin(model);
    tin::DeletePointRules(session, state, p);
    tight.End(session, "Delete Point");
  }
  EXPECT_LE(tight.Bytes(), one * 2 + one / 4);
  EXPECT_TRUE(tight.CanUndo());
}

}  // namespace
}  // namespace terravue::app

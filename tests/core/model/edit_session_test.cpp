// The edit session: steps, undo and redo, runs of edits, the saved state,
// the bound of the history and the notifications.

#include "core/model/edit_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

// A step that sets the title, as one named edit.
Change Title(EditSession& edits, const std::string& title, std::string_view run = {}) {
  return edits.Apply(
      "title " + title,
      [&](ProjectState& s) {
        if (s.title == title) return Change::kNone;
        s.title = title;
        return Change::kTitle;
      },
      run);
}

TEST(EditSession, UndoAndRedoWalkTheStepsAndFollowTheSavedState) {
  ProjectState project;
  project.title = "saved";
  EditSession edits(project);
  EXPECT_FALSE(edits.CanUndo());
  EXPECT_EQ(Title(edits, "saved"), Change::kNone);  // no change, no step
  EXPECT_FALSE(edits.CanUndo());
  EXPECT_FALSE(project.modified);

  Title(edits, "one");
  Title(edits, "two");
  EXPECT_TRUE(project.modified);
  EXPECT_EQ(edits.UndoName(), "title two");
  EXPECT_EQ(edits.Undo(), Change::kTitle);
  EXPECT_EQ(project.title, "one");
  EXPECT_EQ(edits.RedoName(), "title two");
  edits.Undo();
  EXPECT_EQ(project.title, "saved");
  EXPECT_FALSE(project.modified);  // back at the saved state
  EXPECT_EQ(edits.Undo(), Change::kNone);
  edits.Redo();
  EXPECT_TRUE(project.modified);
  EXPECT_EQ(project.title, "one");

  edits.MarkSaved();  // saved at "one"
  EXPECT_FALSE(project.modified);
  edits.Redo();
  EXPECT_TRUE(project.modified);
  edits.Undo();
  EXPECT_FALSE(project.modified);
  edits.Undo();
  EXPECT_TRUE(project.modified);  // before the saved state is changed too

  // A new edit drops what could be redone, the saved state with it.
  edits.Redo();
  edits.Undo();
  Title(edits, "three");
  EXPECT_FALSE(edits.CanRedo());
  edits.Undo();
  EXPECT_TRUE(project.modified);  // "saved" again, but not the file's state
}

TEST(EditSession, ARunOfEditsIsOneStepUntilItEnds) {
  ProjectState project;
  EditSession edits(project);
  for (const char* typed : {"C", "Cu", "Cu-"}) Title(edits, typed, "box");
  EXPECT_EQ(edits.Steps(), 1u);
  EXPECT_EQ(edits.UndoName(), "title Cu-");
  edits.EndRun();
  Title(edits, "Cu-g", "box");
  EXPECT_EQ(edits.Steps(), 2u);
  Title(edits, "Cu-gl", "other box");
  EXPECT_EQ(edits.Steps(), 3u);
  edits.Undo();
  edits.Undo();
  EXPECT_EQ(project.title, "Cu-");
  edits.Undo();
  EXPECT_EQ(project.title, "");

  // A save in the middle of a run starts a new step, so the saved state stays reachable.
  Title(edits, "a", "box");
  edits.MarkSaved();
  Title(edits, "ab", "box");
  EXPECT_EQ(edits.Steps(), 2u);
  edits.Undo();
  EXPECT_FALSE(project.modified);
  EXPECT_EQ(project.title, "a");
}

TEST(EditSession, TheHistoryIsBoundedAndStartsAgainWithAnotherProject) {
  ProjectState project;
  EditSession edits(project, 5);
  for (int n = 1; n <= 8; ++n) Title(edits, std::to_string(n));
  EXPECT_EQ(edits.Steps(), 5u);
  while (edits.CanUndo()) edits.Undo();
  EXPECT_EQ(project.title, "3");  // the oldest steps went
  EXPECT_TRUE(project.modified);  // and with them the way back to the saved state

  edits.Reset(true);
  EXPECT_FALSE(edits.CanUndo() || edits.CanRedo());
  EXPECT_FALSE(project.modified);
  edits.Reset(false);  // an imported or re-stored project is not in its file yet
  EXPECT_TRUE(project.modified);
}

TEST(EditSession, WhatBelongsToTheProgramStaysThroughUndo) {
  ProjectState project;
  project.currentFile = "/tmp/a.cld";
  project.npoints = 101;
  EditSession edits(project);
  edits.Apply("log beta", [](ProjectState& s) {
    s.title = "changed";
    return Change::kConstants | Change::kResults;
  });
  EXPECT_TRUE(project.recalc);
  project.recalc = false;  // calculated since
  project.currentFile = "/tmp/b.cld";
  project.npoints = 51;
  edits.Undo();
  EXPECT_EQ(project.title, "");
  EXPECT_EQ(project.currentFile, "/tmp/b.cld");
  EXPECT_EQ(project.npoints, 51);
  EXPECT_TRUE(project.recalc);  // the results belong to the undone step
}

TEST(EditSession, EverySubscriberHearsEachChangeWithItsOrigin) {
  ProjectState project;
  EditSession edits(project);
  std::vector<ChangeNote> heard;
  int window = 0;
  auto first = edits.Subscribe([&](const ChangeNote& note) { heard.push_back(note); });
  EditSession::Subscription second;
  int secondHeard = 0;
  // A subscriber that ends another's subscription while they are being told.
  auto closer = edits.Subscribe([&](const ChangeNote&) { second = EditSession::Subscription(); });
  second = edits.Subscribe([&](const ChangeNote&) { ++secondHeard; });
  {
    EditSession::Origin from(edits, &window);
    Title(edits, "x");
  }
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].changes, Change::kTitle | Change::kHistory);
  EXPECT_EQ(heard[0].origin, &window);
  EXPECT_EQ(secondHeard, 0);
  edits.Undo();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[1].origin, nullptr);  // undo comes from no window
  edits.Publish(Change::kNewResults);
  EXPECT_EQ(heard.back().changes, Change::kNewResults);
  first = EditSession::Subscription();
  Title(edits, "y");
  EXPECT_EQ(heard.size(), 3u);  // no longer subscribed
}

}  // namespace
}  // namespace tarn

// The floating cell editor as a user types into it: a character replaces the
// cell, Enter and a double-click keep the whole text, Esc takes the edit
// back, F2 switches the arrows between leaving the cell and moving the caret.

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <tuple>
#include <vector>

#include "gui/ui/cell_editor.h"
#include "gui/ui/grid.h"
#include "support/gui/gui_test.h"

namespace tarn::gui {
namespace {

class CellEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    container.resize(400, 300);
    grid = new Grid(&container);
    grid->SetRows(4);
    grid->SetCols(3);
    grid->resize(380, 200);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 3; ++c) grid->SetText(r, c, std::to_string(10 * r + c) + ".5");
    editor = new CellEditor(*grid);
    editor->SetCommitHandler([this](const CellEdit& edit) {
      commits.push_back(edit);
      grid->SetText(edit.row, edit.col, edit.text);
    });
    grid->SetKeyHandler([this](QKeyEvent* event) {
      std::optional<StartKey> key = StartKeyOf(*event);
      if (key) editor->StartCellEdit(*key);
      return key.has_value();
    });
    container.show();
    grid->SetCurrentCell(1, 1);
  }

  QWidget container;
  Grid* grid = nullptr;
  CellEditor* editor = nullptr;
  std::vector<CellEdit> commits;
};

TEST_F(CellEditorTest, ACharacterReplacesAndEnterKeepsTheWholeText) {
  QTest::keyClick(grid, Qt::Key_7);
  ASSERT_TRUE(editor->Editing() && editor->isVisible());
  EXPECT_EQ(editor->text(), "7");
  EXPECT_EQ(editor->cursorPosition(), 1);
  EXPECT_EQ(editor->StartText(), "11.5");
  QTest::keyClicks(editor, ".25");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_FALSE(editor->Editing() || editor->isVisible());
  ASSERT_EQ(commits.size(), 1u);
  EXPECT_EQ((std::tuple{commits[0].row, commits[0].col, commits[0].text}), (std::tuple{1, 1, std::string("7.25")}));
  EXPECT_TRUE(commits[0].Changed());

  QTest::keyClick(grid, Qt::Key_Return);  // the whole text, caret at its end
  EXPECT_EQ(editor->text(), "7.25");
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Enter);
  ASSERT_EQ(commits.size(), 2u);
  EXPECT_EQ(grid->Text(1, 1), "7.2");

  // The editor lies on the cell it edits.
  QTest::keyClick(grid, Qt::Key_Return);
  QRect cell = grid->CellRect(1, 1);
  EXPECT_EQ(editor->geometry().topLeft(), grid->mapTo(&container, cell.topLeft()));
  EXPECT_EQ(editor->width(), cell.width());
  EXPECT_EQ(editor->height(), cell.height() - 1);
  editor->Commit();
}

TEST_F(CellEditorTest, EscTakesTheEditBackAndOpensNothingOnTheGrid) {
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_FALSE(editor->Editing());
  QTest::keyClick(grid, Qt::Key_Minus);
  QTest::keyClicks(editor, "99");
  QTest::keyClick(editor, Qt::Key_Escape);
  ASSERT_EQ(commits.size(), 1u);
  EXPECT_EQ(commits[0].text, "11.5");
  EXPECT_FALSE(commits[0].Changed());
  EXPECT_EQ(grid->Text(1, 1), "11.5");
}

TEST_F(CellEditorTest, F2SwitchesTheArrowsBetweenCellsAndCaret) {
  QTest::keyClick(grid, Qt::Key_3);
  EXPECT_TRUE(editor->Navigating());
  EXPECT_EQ(editor->palette().color(QPalette::Base), kNavigatingColour);
  QTest::keyClick(editor, Qt::Key_F2);
  EXPECT_FALSE(editor->Navigating());
  EXPECT_EQ(editor->palette().color(QPalette::Base), kTypingColour);
  QTest::keyClick(editor, Qt::Key_Left);  // the caret moves, the edit stays open
  EXPECT_TRUE(editor->Editing());
  EXPECT_EQ(editor->cursorPosition(), 0);
  QTest::keyClick(editor, Qt::Key_1);
  QTest::keyClick(editor, Qt::Key_F2);
  QTest::keyClick(editor, Qt::Key_Down);  // commits, then the cell below is current
  EXPECT_FALSE(editor->Editing());
  ASSERT_EQ(commits.size(), 1u);
  EXPECT_EQ(commits[0].text, "13");
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);

  QTest::keyClick(grid, Qt::Key_4);  // a new edit starts with navigation on
  EXPECT_TRUE(editor->Navigating());
  QTest::keyClick(editor, Qt::Key_Right);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(commits.back().text, "4");
}

TEST_F(CellEditorTest, LossOfFocusCommitsOnce) {
  container.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&container));
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_8);
  QTest::keyClick(editor, Qt::Key_Tab);  // focus leaves the editor
  editor->Commit();                      // nothing more when it committed already
  ASSERT_EQ(commits.size(), 1u);
  EXPECT_EQ(commits[0].text, "8");
}

TEST(StartKeyTest, OnlyCharactersEnterAndBackspaceStartAnEdit) {
  auto of = [](int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, mods, text);
    return StartKeyOf(event);
  };
  EXPECT_TRUE(of(Qt::Key_Return, "\r")->whole);
  EXPECT_TRUE(of(Qt::Key_Enter, "\r")->whole);
  EXPECT_EQ(of(Qt::Key_A, "a")->typed, "a");
  EXPECT_EQ(of(Qt::Key_Backspace, "\b")->typed, "");
  for (int key : {Qt::Key_Escape, Qt::Key_Down, Qt::Key_Tab, Qt::Key_F2}) EXPECT_FALSE(of(key, ""));
  EXPECT_FALSE(of(Qt::Key_C, "c", Qt::ControlModifier));
}

}  // namespace
}  // namespace tarn::gui

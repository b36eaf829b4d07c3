#pragma once
// A sample opened in the program with its editor, and typing as a user
// types: into a cell of a grid through the floating cell editor, or into a
// box key by key. Shared by the editor's tests and the plot's.

#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>

#include "gui/editor/model_window.h"
#include "gui/ui/grid.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui::test {

// The first key opens the cell editor on the grid, the rest go to it, then `end`.
inline void TypeInto(Grid& grid, CellEditor& cell, int row, int col, const QString& text,
                     Qt::Key end = Qt::Key_Return) {
  grid.SetCurrentCell(row, col);
  QTest::keyClicks(&grid, text.left(1));
  ASSERT_TRUE(cell.Editing());
  QTest::keyClicks(&cell, text.mid(1));
  QTest::keyClick(&cell, end);
}

// Replaces a box's text key by key.
inline void Retype(QLineEdit& box, const QString& text) {
  box.setFocus();
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_Delete);
  QTest::keyClicks(&box, text);
}

class EditorTest : public ::testing::Test {
 protected:
  void Open(const std::string& sample) {
    main = OpenSample(home, sample);
    editor = qobject_cast<T32Model*>(main->Children().Widget(kEditorWindow));
    ASSERT_NE(editor, nullptr);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  }
  ProjectState& Project() { return main->GetSession().project; }
  bool TableOpen() { return main->Children().IsOpen(kTableWindow); }
  // Calculated, with the table open: nothing stale, nothing unsaved.
  void Calculated() {
    main->calc_Click(kCalcTable);
    ASSERT_TRUE(TableOpen());
    Project().modified = false;
    ASSERT_FALSE(Project().recalc);
  }

  ProgramHome home;
  std::unique_ptr<T32Main> main;
  T32Model* editor = nullptr;
};

}  // namespace tarn::gui::test

// Undo and redo as a chemist uses them: typed into the editor, dragged on
// the plot's scroll bar, undone from the Edit menu or with Ctrl+Z, with the
// editor and the open plot following every step.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>

#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"
#include "gui/app/main_window.h"
#include "gui/editor/model_window.h"
#include "gui/ui/grid.h"
#include "support/gui/editor_fixture.h"
#include "support/gui/plot_fixture.h"

namespace tarn::gui {
namespace {

struct UndoPlot : OpenPlot {
  UndoPlot() : OpenPlot("copper-glycine-distribution.cld") {
    editor = qobject_cast<T32Model*>(main->Children().Widget(kEditorWindow));
  }
  QAction& Undo() { return *main->Menus().undo; }
  QAction& Redo() { return *main->Menus().redo; }
  double Curve(int k, int p) { return Results().speciesConc(k, p); }
  T32Model* editor = nullptr;
};

TEST(UndoTest, ATypedConstantIsUndoneAndRedoneInTheEditorAndThePlot) {
  UndoPlot o;
  ASSERT_NE(o.plot, nullptr);
  ASSERT_NE(o.editor, nullptr);
  ProjectState& s = o.State();
  EXPECT_FALSE(o.Undo().isEnabled());
  const double before = s.logbeta(3);
  const double curveBefore = o.Curve(s.nreag + 3, 40);
  const std::string cellBefore = o.editor->BetaGrid().Text(3, 1);

  test::TypeInto(o.editor->BetaGrid(), o.editor->EditA(), 3, 1, "9.5");
  EXPECT_EQ(s.logbeta(3), 9.5);
  EXPECT_FALSE(s.recalc);  // the open plot calculated the new series at once
  const double curveAfter = o.Curve(s.nreag + 3, 40);
  EXPECT_NE(curveAfter, curveBefore);
  EXPECT_EQ(o.Undo().text().toStdString(), "&Undo log beta of " + SpeciesFormula(s, 3));
  EXPECT_TRUE(s.modified);

  o.Undo().trigger();
  EXPECT_EQ(s.logbeta(3), before);
  EXPECT_EQ(o.editor->BetaGrid().Text(3, 1), cellBefore);
  EXPECT_FALSE(s.recalc);
  EXPECT_EQ(o.Curve(s.nreag + 3, 40), curveBefore);  // the plot follows the undo
  EXPECT_FALSE(s.modified);                          // back to the file as opened
  EXPECT_FALSE(o.Undo().isEnabled());
  EXPECT_EQ(o.Redo().text().toStdString(), "&Redo log beta of " + SpeciesFormula(s, 3));

  o.Redo().trigger();
  EXPECT_EQ(s.logbeta(3), 9.5);
  EXPECT_EQ(o.editor->BetaGrid().Text(3, 1), "9.5");
  EXPECT_EQ(o.Curve(s.nreag + 3, 40), curveAfter);
  EXPECT_TRUE(s.modified);
}

// A drag of the constant's bar is one step; the editor shows each value.
TEST(UndoTest, AScrollBarDragIsOneStep) {
  UndoPlot o;
  ASSERT_NE(o.plot, nullptr);
  ProjectState& s = o.State();
  const int i = o.plot->Target().constant;
  const double before = s.logbeta(i);
  auto* bar = o.Find<QScrollBar>("BetaScroll0");
  bar->setSliderDown(true);
  for (int step = 1; step <= 5; ++step) bar->setValue(step);
  bar->setSliderDown(false);
  EXPECT_NE(s.logbeta(i), before);
  EXPECT_EQ(o.editor->BetaGrid().Text(i, 1), std::string(Trim(FormatPattern(s.logbeta(i), "##0.0#####"))));
  o.Undo().trigger();
  EXPECT_EQ(s.logbeta(i), before);
  EXPECT_FALSE(o.Undo().isEnabled());
  EXPECT_EQ(o.Find<QLabel>("BetaValue0")->text().toStdString(), FormatPattern(before, "##0.0###"));
}

// Keys typed into the title box are one step; undo shows the old title in
// the box and redo the new one.
TEST(UndoTest, ARunOfTypingInTheTitleIsOneStep) {
  UndoPlot o;
  ASSERT_NE(o.editor, nullptr);
  ProjectState& s = o.State();
  const std::string before = s.title;
  test::Retype(o.editor->EditBox(0), "Copper");
  EXPECT_EQ(s.title, "Copper");
  o.editor->BetaGrid().setFocus();  // leaving the box ends the run
  EXPECT_EQ(o.Undo().text(), "&Undo title");
  o.Undo().trigger();
  EXPECT_EQ(s.title, before);
  EXPECT_EQ(o.editor->EditBox(0).text().toStdString(), before);
  EXPECT_FALSE(o.Undo().isEnabled());
  o.Redo().trigger();
  EXPECT_EQ(o.editor->EditBox(0).text(), "Copper");
}

// Adding a species closes the plot; undoing it gives the editor its rows
// back, and Ctrl+Z reaches the history from the editor.
TEST(UndoTest, ShapeChangesAreUndoneToo) {
  UndoPlot o;
  ASSERT_NE(o.editor, nullptr);
  ProjectState& s = o.State();
  const int species = s.nspecies;
  o.editor->BetaGrid().SetCurrentCell(2, 1);
  o.editor->AddBeta_Click();
  EXPECT_EQ(s.nspecies, species + 1);
  QApplication::processEvents();
  EXPECT_FALSE(o.main->Children().IsOpen(kPlotWindow));
  EXPECT_EQ(o.editor->BetaGrid().Rows(), species + 2);

  o.main->activateWindow();
  o.editor->BetaGrid().setFocus();
  QTest::keyClick(&o.editor->BetaGrid(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(s.nspecies, species);
  EXPECT_EQ(o.editor->BetaGrid().Rows(), species + 1);
  QTest::keyClick(&o.editor->BetaGrid(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(s.nspecies, species + 1);
  QTest::keyClick(&o.editor->BetaGrid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing to redo
  EXPECT_EQ(s.nspecies, species + 1);

  // Removing a reagent and undoing it brings back the whole model, and the
  // editor shows it.
  const std::string text = ProjectText(s);
  const int reagents = s.nreag;
  auto asked = test::AnswerMessageBox(QMessageBox::Yes);
  o.main->RemoveReagent_Click(1);
  EXPECT_EQ(asked->text, "Delete Reagent Gly");
  EXPECT_EQ(s.nreag, reagents - 1);
  EXPECT_EQ(o.Undo().text(), "&Undo removal of Gly");
  o.Undo().trigger();
  EXPECT_EQ(ProjectText(s), text);
  EXPECT_EQ(o.editor->BetaGrid().Cols(), reagents + 3);
  EXPECT_EQ(o.editor->BetaGrid().Text(0, 3), "Gly");
}

}  // namespace
}  // namespace tarn::gui

// The conditions page as a chemist uses it: the calculation type, the
// volumes and the added volume's buttons, the conditions grid of both types,
// the title, and the ionic strength of the series.

#include <QComboBox>
#include <QRadioButton>

#include "support/gui/editor_fixture.h"
#include "gui/ui/clipboard.h"
#include "core/app/project_edits.h"
#include "core/model/number_text.h"

namespace tarn::gui {
namespace {

using test::Retype;

class ConditionsPageTest : public test::EditorTest {
 protected:
  void Open(const std::string& sample) {
    EditorTest::Open(sample);
    editor->ShowPage(kConditionsPage);
  }
};

TEST_F(ConditionsPageTest, TheAddedVolumeStepsByItsSize) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  ASSERT_EQ(s.type, kTitration);
  QLineEdit& added = editor->EditBox(2);
  EXPECT_EQ(added.text(), "1.6");  // 26.6 - 25 in its step format
  Retype(added, "0.5");
  EXPECT_DOUBLE_EQ(s.vfinal, s.volume[0] + 0.5);
  s.modified = false;
  editor->Incr_Click(0);
  EXPECT_EQ(added.text(), "0.51");
  EXPECT_NEAR(s.vfinal, s.volume[0] + 0.51, 1e-6);
  EXPECT_TRUE(s.modified && s.recalc);
  Retype(added, "0.11");
  editor->Incr_Click(1);
  EXPECT_EQ(added.text(), "0.10");
  editor->Incr_Click(1);
  EXPECT_EQ(added.text(), "0.099");
  test::SaveScreenshot(*editor, QStringLiteral("editor-added-volume-refused"));
  EXPECT_NEAR(s.vfinal, s.volume[0] + 0.099, 1e-6);
  // The derived totals follow the volumes.
  for (int j = 1; j <= s.nreag; ++j)
    EXPECT_NEAR(s.final(j, 0), (s.total(j, 0) + 0.099 * s.burette(j, 0)) / s.vfinal, 1e-9) << j;

  const double vfinal = s.vfinal;
  auto seen = test::AnswerMessageBox(QMessageBox::Ok);
  Retype(added, "-1");
  EXPECT_EQ(seen->text, "Added volume must be positive");
  EXPECT_EQ(s.vfinal, vfinal);
  // The box shows the volume still in use, not the refused one.
  EXPECT_NEAR(editor->AddedVolume(), 0.099, 1e-9);
  EXPECT_EQ(added.text(), "0.099");
  test::SaveScreenshot(*editor, QStringLiteral("editor-added-volume-refused"));

  Retype(editor->EditBox(1), "50");
  EXPECT_EQ(s.volume[0], 50);
  EXPECT_NEAR(s.vfinal, 50.099, 1e-9);  // with the added volume in use
  EXPECT_DOUBLE_EQ(s.initial(1, 0), s.total(1, 0) / 50);
}

TEST_F(ConditionsPageTest, TheTypeChoosesTheGridAndTheVolumeFrames) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  main->calc_Click(kCalcTable);
  Grid& grid = editor->CondGrid();
  EXPECT_EQ(grid.Cols(), 3);
  EXPECT_EQ(grid.Text(0, 1), "total\rmillimoles");
  EXPECT_EQ(grid.Text(0, 2), "burette\rconcentration");
  const int titrationTop = grid.y();
  EXPECT_TRUE(editor->findChild<QWidget*>("VfPanel")->isVisibleTo(editor));

  editor->TarnOption(kDistribution).click();
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_FALSE(main->Children().IsOpen(kTableWindow));
  EXPECT_FALSE(editor->findChild<QWidget*>("ViPanel")->isVisibleTo(editor));
  EXPECT_FALSE(editor->findChild<QWidget*>("VfPanel")->isVisibleTo(editor));
  EXPECT_LT(grid.y(), titrationTop);  // moved up into the volumes' place
  ASSERT_EQ(grid.Cols(), 5);
  EXPECT_EQ(grid.Text(0, 3), " pH\r start");  // H alone is given by pX
  EXPECT_EQ(grid.Text(0, 4), " pH\r final");
  EXPECT_EQ(grid.Text(3, 1), "");
  EXPECT_EQ(grid.Text(3, 3), "2.0");

  // A pX cell of a reagent given by totals switches it to pX, with the
  // value typed there, as one step.
  s.modified = s.recalc = false;
  grid.SetCurrentCell(1, 3);
  QTest::keyClick(&grid, Qt::Key_Return);
  EXPECT_EQ(editor->EditB().text(), "");  // the cell was empty
  QTest::keyClicks(&editor->EditB(), "5.5");
  QTest::keyClick(&editor->EditB(), Qt::Key_Return);
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_FALSE(s.flag(1, 1));
  EXPECT_EQ(s.pxi(1, 1), 5.5);
  EXPECT_EQ(grid.Text(1, 1), "");
  EXPECT_EQ(grid.Text(1, 3), "5.5");
  EXPECT_EQ(grid.Text(1, 4), "2.0");
  EXPECT_EQ(grid.Text(0, 3), " pX\r start");  // two reagents by pX now

  test::TypeInto(grid, editor->EditB(), 1, 1, "1e-5");
  EXPECT_TRUE(s.flag(1, 1));
  EXPECT_EQ(grid.Text(1, 1), "1.000E-05");
  EXPECT_EQ(grid.Text(1, 3), "");
  test::TypeInto(grid, editor->EditB(), 1, 2, "0");
  EXPECT_EQ(grid.Text(1, 2), "0.0");

  // Switched back to pX by Enter and Enter, nothing typed: the results are
  // stale all the same, so an open table goes.
  main->calc_Click(kCalcTable);
  ASSERT_TRUE(main->Children().IsOpen(kTableWindow));
  grid.SetCurrentCell(1, 4);
  QTest::keyClick(&grid, Qt::Key_Return);
  QTest::keyClick(&editor->EditB(), Qt::Key_Return);
  EXPECT_FALSE(s.flag(1, 1));
  EXPECT_TRUE(s.recalc);
  EXPECT_FALSE(main->Children().IsOpen(kTableWindow));
  EXPECT_EQ(grid.Text(1, 3), "5.5");
}

// The activity correction chosen in the editor: the project takes it as one
// step, the grid shows the ionic strength the engine used, settings that
// cannot be calculated with are refused, and undo takes the choice back.
TEST_F(ConditionsPageTest, TheActivityCorrectionIsChosenShownAndUndone) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  for (int j = 1; j <= s.nreag; ++j) {
    Retype(editor->Charge(j), j == 1 ? "2" : (j == 2 ? "-1" : "1"));
    QTest::keyClick(&editor->Charge(j), Qt::Key_Return);
  }
  editor->Correction().setCurrentIndex(static_cast<int>(ActivityCorrection::kDavies));
  editor->ActivityBox_Edited(nullptr);  // what choosing it does
  EXPECT_EQ(s.activity.correction, ActivityCorrection::kDavies);
  EXPECT_TRUE(s.recalc);
  EXPECT_EQ(main->GetSession().edits.UndoName(), "activity correction");
  editor->Calculate_Click();
  const SeriesResults& r = main->GetSession().results;
  ASSERT_TRUE(r.activity);
  Grid& grid = editor->StrengthGrid();
  ASSERT_EQ(grid.Rows(), s.npoints + 1);
  for (int p = 1; p <= s.npoints; p += 25)
    EXPECT_EQ(grid.Text(p, 1), FormatPattern(r.ionicStrength(p), "0.000000")) << p;

  Retype(editor->ReferenceStrength(), "-0.1");
  auto refused = test::AnswerMessageBox(QMessageBox::Ok);
  QTest::keyClick(&editor->ReferenceStrength(), Qt::Key_Return);
  EXPECT_FALSE(refused->text.isEmpty());
  EXPECT_EQ(s.activity.referenceStrength, 0.1);
  EXPECT_EQ(editor->ReferenceStrength().text(), "0.1");

  main->Undo_Click();
  EXPECT_EQ(s.activity.correction, ActivityCorrection::kNone);
  EXPECT_EQ(editor->Correction().currentIndex(), 0);
  main->Undo_Click();  // the last charge
  EXPECT_EQ(editor->Charge(s.nreag).text(), "");
}

// Opening the editor shows the added volume in its step format only when
// that is the same volume: 12.5 mL stays 12.5 (its format would show 13).
TEST_F(ConditionsPageTest, OpeningTheEditorNeverChangesTheAddedVolume) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  edit::SetAddedVolume(main->GetSession().edits, 12.5);
  main->CommitOpenEdit();
  const double vfinal = s.vfinal;
  main->GetSession().edits.MarkSaved();
  main->CloseChild(kEditorWindow);
  main->Model_Click();
  editor = qobject_cast<T32Model*>(main->Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(s.vfinal, vfinal);
  EXPECT_EQ(editor->EditBox(2).text(), "12.5");
  EXPECT_FALSE(s.modified);
  editor->Incr_Click(0);  // a step still rounds to the step format: 12.5 + 1 shows 14
  EXPECT_EQ(editor->EditBox(2).text(), "14");
  EXPECT_EQ(s.vfinal, s.volume[kTitration] + 14);
}

TEST_F(ConditionsPageTest, TitrationCellsKeepTheTypedTextAndDeriveTheTotals) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  Grid& grid = editor->CondGrid();
  test::TypeInto(grid, editor->EditB(), 1, 1, "0,05");
  EXPECT_DOUBLE_EQ(s.total(1, 0), 0.05f);
  EXPECT_EQ(grid.Text(1, 1), "0,05");
  EXPECT_DOUBLE_EQ(s.initial(1, 0), s.total(1, 0) / s.volume[0]);
  EXPECT_DOUBLE_EQ(s.final(1, 0), (s.total(1, 0) + s.burette(1, 0) * (s.vfinal - s.volume[0])) / s.vfinal);
}

TEST_F(ConditionsPageTest, TheTitleReachesTheTable) {
  Open("copper-glycine-titration.cld");
  main->calc_Click(kCalcTable);
  Retype(editor->EditBox(0), "  Copper glycinate ");
  EXPECT_EQ(Project().title, "Copper glycinate");
  EXPECT_TRUE(Project().modified);
  EXPECT_TRUE(main->Children().IsOpen(kTableWindow));
}

// Uncharged reagents in a 0.10 M 1:1 electrolyte: 0.100000 at every point.
TEST_F(ConditionsPageTest, IonicStrengthOfEveryPointAndItsCopy) {
  Open("phosphoric-acid.cld");
  editor->Calculate_Click();
  Grid& grid = editor->StrengthGrid();
  ASSERT_TRUE(grid.isVisibleTo(editor));
  ASSERT_EQ(grid.Rows(), Project().npoints + 1);
  EXPECT_EQ(grid.Text(0, 0), "pH");
  EXPECT_EQ(grid.Text(0, 1), "Ionic strength");
  for (int p = 1; p < grid.Rows(); ++p) EXPECT_EQ(grid.Text(p, 1), "0.100000") << p;
  const SeriesResults& r = main->GetSession().results;
  EXPECT_EQ(grid.Text(1, 0), FormatPattern(-std::log10(r.speciesConc(Project().proton, 1)), "#0.00"));

  // The charges and the background go into the project when their box is left.
  Retype(editor->Charge(1), "-3");  // PO4 3-: its free concentration counts 9/2
  QTest::keyClick(&editor->Charge(1), Qt::Key_Return);
  EXPECT_EQ(Project().activity.charge(1), -3);
  EXPECT_EQ(main->GetSession().edits.UndoName(), "charge of " + Project().name(1));
  Retype(editor->Background(0), "0");
  QTest::keyClick(&editor->Background(0), Qt::Key_Return);
  EXPECT_EQ(Project().activity.background, 0);
  editor->Calculate_Click();
  const int last = Project().npoints;
  double expected = 9 * r.speciesConc(1, last);  // H is uncharged
  for (int i = 1; i <= Project().nspecies; ++i)
    expected += 9 * Project().a(1, i) * Project().a(1, i) * r.speciesConc(Project().nreag + i, last);
  EXPECT_EQ(grid.Text(last, 1), FormatPattern(expected / 2, "0.000000"));
  editor->ToClip_Click();
  std::string copied = ReadClipboard().text;
  EXPECT_EQ(copied, grid.WholeText());
  EXPECT_EQ(copied.substr(0, 18), "pH\tIonic strength\r");
}

// Text that is no number once became a value: "abc" a volume of 0, "2x" a
// total of 2. It is refused with "invalid entry for number" and the old value
// stays, in the grid, in the volume boxes and in the charge boxes.
TEST_F(ConditionsPageTest, TextThatIsNoNumberIsRefusedInEveryCellAndBox) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  Grid& grid = editor->CondGrid();
  const double total = s.total(1, kTitration);
  const std::string cell = grid.Text(1, 1);
  for (const char* typo : {"2x", "abc"}) {
    auto seen = test::AnswerMessageBox(QMessageBox::Ok);
    test::TypeInto(grid, editor->EditB(), 1, 1, typo);
    EXPECT_EQ(seen->text, "invalid entry for number") << typo;
    EXPECT_EQ(s.total(1, kTitration), total) << typo;
    EXPECT_EQ(grid.Text(1, 1), cell) << typo;
  }

  // A volume box reads its text as it is typed; "-" and "" are on their way
  // to a number and change nothing. Left with no number, it is refused.
  const double volume = s.volume[kTitration], vfinal = s.vfinal;
  QLineEdit& initial = editor->EditBox(1);
  const QString shown = initial.text();
  Retype(initial, "abc");
  EXPECT_EQ(s.volume[kTitration], volume);
  auto seen = test::AnswerMessageBox(QMessageBox::Ok);
  main->Menus().conditions->trigger();  // a toolbar button ends the typing first
  EXPECT_EQ(seen->text, "invalid entry for number");
  EXPECT_EQ(initial.text(), shown);
  EXPECT_EQ(s.volume[kTitration], volume);
  EXPECT_EQ(s.vfinal, vfinal);
  main->activateWindow();  // focus moves between boxes of the active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  Retype(initial, "30x");  // "3" and "30" were numbers on the way
  seen = test::AnswerMessageBox(QMessageBox::Ok);
  editor->EditBox(2).setFocus();  // the user goes on to the next box
  EXPECT_EQ(seen->text, "invalid entry for number");
  EXPECT_EQ(initial.text(), "30");  // the box shows the value held
  EXPECT_EQ(s.volume[kTitration], 30);

  Retype(editor->Charge(1), "2+");
  seen = test::AnswerMessageBox(QMessageBox::Ok);
  QTest::keyClick(&editor->Charge(1), Qt::Key_Return);
  EXPECT_EQ(seen->text, "invalid entry for number");
  EXPECT_EQ(s.activity.charge(1), 0);
  EXPECT_EQ(editor->Charge(1).text(), "");  // the box shows the charge held: none
  editor->Calculate_Click();
  EXPECT_EQ(editor->StrengthGrid().Rows(), s.npoints + 1);

  // In a distribution a pX cell typed into switches its reagent to pX; a
  // refused value takes the switch back.
  editor->TarnOption(kDistribution).click();
  ASSERT_TRUE(s.flag(1, kDistribution));
  seen = test::AnswerMessageBox(QMessageBox::Ok);
  test::TypeInto(grid, editor->EditB(), 1, 3, "7,5,");
  EXPECT_EQ(seen->text, "invalid entry for number");
  EXPECT_TRUE(s.flag(1, kDistribution));
  EXPECT_EQ(grid.Text(1, 3), "");
}

TEST_F(ConditionsPageTest, TheMainWindowBringsTheConditionsForward) {
  Open("copper-glycine-titration.cld");
  editor->ShowPage(kModelPage);
  main->Menus().conditions->trigger();
  EXPECT_EQ(editor->CurrentPage(), kConditionsPage);
  editor->ShowPage(kModelPage);
  Retype(editor->EditBox(1), "0");
  auto refused = test::AnswerMessageBox(QMessageBox::Ok);
  main->calc_Click(kCalcPlot);  // the refusal brings the conditions forward
  EXPECT_EQ(refused->text, " Initial volume is zero");
  EXPECT_EQ(editor->CurrentPage(), kConditionsPage);
  edit::SetCalculationType(main->GetSession().edits, kDistribution);
  EXPECT_TRUE(editor->TarnOption(kDistribution).isChecked());
  EXPECT_EQ(Project().type, kDistribution);
}

}  // namespace
}  // namespace tarn::gui

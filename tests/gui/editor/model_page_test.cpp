// The model and solids pages as a chemist uses them: typing constants and
// coefficients into the species grid, renaming reagents, refine keys, adding
// and removing species and solids, and what each edit does to the project's
// marks and to the table window; and a model built from a new project.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cmath>

#include "support/comma_locale.h"
#include "support/gui/editor_fixture.h"
#include "gui/app/new_project_window.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"

namespace tarn::gui {
namespace {

using ModelPageTest = test::EditorTest;
using test::TypeInto;

TEST_F(ModelPageTest, ALogBetaTypedReplacesTheCellClosesTheTableAndMarksTheResults) {
  Open("copper-glycine-titration.cld");
  Calculated();
  Grid& grid = editor->BetaGrid();
  TypeInto(grid, editor->EditA(), 2, 1, "12,5");
  EXPECT_EQ(Project().logbeta(2), 12.5);
  EXPECT_EQ(grid.Text(2, 1), "12.5");
  EXPECT_TRUE(Project().recalc && Project().modified);
  EXPECT_FALSE(TableOpen());
  EXPECT_FALSE(editor->EditA().isVisible());

  // A magnitude beyond single precision, and text that is no number (a typo
  // once stored its leading number, or 0), are refused; the old value stays.
  TypeInto(grid, editor->EditA(), 2, 1, "3");
  for (const char* typo : {"1e99", "3x", "abc", "", "1,5,"}) {
    auto seen = test::AnswerMessageBox(QMessageBox::Ok);
    if (*typo == '\0') {  // Backspace opens the editor on an empty text
      grid.SetCurrentCell(2, 1);
      QTest::keyClick(&grid, Qt::Key_Backspace);
      QTest::keyClick(&editor->EditA(), Qt::Key_Return);
    } else {
      TypeInto(grid, editor->EditA(), 2, 1, typo);
    }
    EXPECT_EQ(seen->text, "invalid entry for number") << typo;
    EXPECT_EQ(Project().logbeta(2), 3) << typo;
    EXPECT_EQ(grid.Text(2, 1), "3.0") << typo;
  }
}

// On a German, French or Italian desktop the C library's numbers follow a
// comma locale: the program once read every number of a project without its
// fraction and saved it so. The user's separator is the comma there.
TEST_F(ModelPageTest, UnderACommaLocaleNumbersAreReadTypedAndSavedWhole) {
  ProjectState expected;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(expected, test::ReadWholeFile(home.Sample("copper-glycine-titration.cld")), sink),
            ReadStatus::kOk);
  tarn::testing::CommaLocale comma;
  ASSERT_TRUE(comma.Active()) << comma.Problem();
  SetDecimalSeparator(',');  // as the program takes it from the desktop
  Open("copper-glycine-titration.cld");
  for (int i = 1; i <= expected.nspecies; ++i) EXPECT_EQ(Project().logbeta(i), expected.logbeta(i)) << i;
  for (int j = 1; j <= expected.nreag; ++j) {
    EXPECT_EQ(Project().total(j, kTitration), expected.total(j, kTitration)) << j;
    EXPECT_EQ(Project().burette(j, kTitration), expected.burette(j, kTitration)) << j;
  }
  Grid& grid = editor->BetaGrid();
  EXPECT_EQ(grid.Text(1, 1), FormatPattern(expected.logbeta(1), "##0.0#####", ','));
  EXPECT_NE(grid.Text(1, 1).find(','), std::string::npos);
  TypeInto(grid, editor->EditA(), 2, 1, "9,57");
  TypeInto(grid, editor->EditA(), 3, 1, "-0.025");
  EXPECT_EQ(Project().logbeta(2), static_cast<double>(9.57f));
  EXPECT_EQ(grid.Text(2, 1), "9,57");
  EXPECT_EQ(Project().logbeta(3), static_cast<double>(-0.025f));
  ASSERT_TRUE(main->FileSave_Click());
  const std::string saved = test::ReadWholeFile(Project().currentFile);
  EXPECT_NE(saved.find("<value>9.57</value>"), std::string::npos);
  EXPECT_NE(saved.find("<value>-.025</value>"), std::string::npos);
  SetDecimalSeparator('.');
}

TEST_F(ModelPageTest, EnterDoubleClickAndEscChangeNothingUntilSomethingIsTyped) {
  Open("copper-glycine-titration.cld");
  Calculated();
  Grid& grid = editor->BetaGrid();
  const std::string before = grid.Text(1, 1);
  const double value = Project().logbeta(1);
  grid.SetCurrentCell(1, 1);
  QTest::keyClick(&grid, Qt::Key_Return);
  EXPECT_EQ(editor->EditA().text().toStdString(), before);
  QTest::keyClick(&editor->EditA(), Qt::Key_Return);

  QRect cell = grid.CellRect(1, 1);
  QPoint at = grid.viewport()->mapFrom(&grid, cell.center());
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
  ASSERT_TRUE(editor->EditA().Editing());
  EXPECT_EQ(editor->EditA().text().toStdString(), before);
  QTest::keyClicks(&editor->EditA(), "77");
  QTest::keyClick(&editor->EditA(), Qt::Key_Escape);

  TypeInto(grid, editor->EditA(), 1, 2, "5", Qt::Key_Escape);
  EXPECT_EQ(Project().logbeta(1), value);
  EXPECT_EQ(grid.Text(1, 1), before);
  EXPECT_FALSE(Project().modified);
  EXPECT_FALSE(Project().recalc);
  EXPECT_TRUE(TableOpen());
}

TEST_F(ModelPageTest, CoefficientsAreTruncatedDownwardsAndRenameTheSpecies) {
  Open("copper-glycine-titration.cld");
  Grid& grid = editor->BetaGrid();
  const int nreag = Project().nreag;
  TypeInto(grid, editor->EditA(), 1, 2, "2.7");
  EXPECT_EQ(Project().a(1, 1), 2);
  EXPECT_EQ(grid.Text(1, 2), "2");
  TypeInto(grid, editor->EditA(), 1, 4, "-0.5", Qt::Key_Down);
  EXPECT_EQ(Project().a(3, 1), -1);
  EXPECT_EQ(Project().caption(nreag + 1), SpeciesFormula(Project(), 1));
  EXPECT_EQ(Project().caption(nreag + 1).substr(0, 3), "Cu2");
  EXPECT_EQ(grid.Row(), 2);  // Down moved on after the commit
  EXPECT_FALSE(grid.CellPicture(1, 0).isNull());
}

TEST_F(ModelPageTest, ARenamedReagentReachesEveryHeadingButNotTheResults) {
  Open("copper-glycine-titration.cld");
  Calculated();
  ProjectState& s = Project();
  s.caption(s.nreag + 1) = "my own caption";
  Grid& grid = editor->BetaGrid();
  for (int col : {0, 1, s.nreag + 2}) {  // headings that edit nothing
    grid.SetCurrentCell(0, col);
    QTest::keyClick(&grid, Qt::Key_X);
    EXPECT_FALSE(editor->EditA().Editing()) << col;
  }
  TypeInto(grid, editor->EditA(), 0, 2, "Zn");
  EXPECT_EQ(s.name(1), "Zn");
  EXPECT_EQ(grid.Text(0, 2), "Zn");
  EXPECT_EQ(s.caption(1), "Zn");
  for (int i = 1; i <= s.nspecies; ++i) EXPECT_EQ(s.caption(s.nreag + i), SpeciesFormula(s, i)) << i;
  EXPECT_EQ(SpeciesFormula(s, 3).substr(0, 2), "Zn");
  EXPECT_EQ(editor->findChild<QLabel*>("ReagentName1")->text(), "Zn");
  EXPECT_TRUE(s.modified);
  EXPECT_FALSE(s.recalc);
  EXPECT_TRUE(TableOpen());  // refilled, not closed

  // A long name widens its column as it is typed.
  grid.SetCurrentCell(0, 3);
  QTest::keyClicks(&grid, "G");
  QTest::keyClicks(&editor->EditA(), "lycinate");
  EXPECT_EQ(grid.ColWidthTwips(3), 150 * 9);
  EXPECT_EQ(editor->EditA().width(), grid.ColWidthPixels(3));
  editor->CommitEdit();
  EXPECT_EQ(s.name(2), "Glycinate");
  // The formulas grew past 50 pixels ("ZnGlycinate2"): their column, the
  // conditions grid's reagent column and the refine key's "choose" show whole.
  test::ExpectEveryPictureWhole(grid);
  test::ExpectEveryPictureWhole(editor->CondGrid());
  test::ExpectEveryCellWhole(editor->CondGrid());
  grid.SetCurrentCell(1, s.nreag + 2);
  QTest::keyClick(&grid, Qt::Key_Return);
  EXPECT_EQ(grid.Text(1, s.nreag + 2), "choose");
  test::ExpectEveryCellWhole(grid);
  test::SaveScreenshot(*editor, QStringLiteral("editor-long-names-refine-choice"));
}

TEST_F(ModelPageTest, RefineKeysAreChosenFromTheOptionsBelowTheCell) {
  Open("copper-glycine-titration.cld");
  Calculated();
  ProjectState& s = Project();
  Grid& grid = editor->BetaGrid();
  const int keyCol = s.nreag + 2;
  grid.SetCurrentCell(1, keyCol);
  QTest::keyClick(&grid, Qt::Key_Return);
  EXPECT_TRUE(editor->RefineOptions().isVisible());
  EXPECT_EQ(grid.Text(1, keyCol), "choose");
  EXPECT_TRUE(editor->KeyOption(s.refine(1) + 1).isChecked());
  QTest::keyClick(&editor->KeyOption(1), Qt::Key_Down);  // the arrows only move between the options
  EXPECT_TRUE(editor->RefineOptions().isVisible());
  QTest::mouseClick(&editor->KeyOption(2), Qt::LeftButton);
  EXPECT_EQ(s.refine(1), 1);
  EXPECT_EQ(grid.Text(1, keyCol), "refine");
  EXPECT_FALSE(editor->RefineOptions().isVisible());
  EXPECT_TRUE(s.modified);
  EXPECT_FALSE(s.recalc);  // a key changes no result...
  grid.SetCurrentCell(1, keyCol);
  QTest::keyClick(&grid, Qt::Key_Space);
  editor->KeyOption_Choose(0);
  EXPECT_EQ(s.refine(1), kRefineIgnore);
  EXPECT_TRUE(s.recalc);  // ...but ignoring the species does
  EXPECT_FALSE(TableOpen());

  s.refine(2) = 5;  // keys other than -1, 0, 1 come from files
  editor->FillBetaGrid();
  EXPECT_EQ(grid.Text(2, keyCol), " 5 Constraint");
}

TEST_F(ModelPageTest, SpeciesAreAddedAfterTheSelectedRowAndRemovedAfterAYes) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  Grid& grid = editor->BetaGrid();
  const int n = s.nspecies;
  const double third = s.logbeta(3);
  grid.SetCurrentCell(3, 2);
  editor->AddBeta_Click();
  ASSERT_EQ(s.nspecies, n + 1);
  EXPECT_EQ(s.logbeta(4), third);
  EXPECT_EQ(grid.Rows(), n + 2);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(grid.Text(4, 1), "");
  EXPECT_TRUE(grid.CellPicture(4, 0).isNull());
  EXPECT_TRUE(s.modified && s.recalc);

  QColor highlight;
  QList<QTableWidgetSelectionRange> shown;
  auto no = test::AnswerMessageBox(QMessageBox::No, [&] {
    highlight = grid.palette().color(QPalette::Highlight);
    shown = grid.selectedRanges();
  });
  editor->DelBeta_Click();
  EXPECT_EQ(highlight, QColor(255, 0, 0));  // the row to go is shown in red while asking
  ASSERT_EQ(shown.size(), 1);               // the whole row
  EXPECT_EQ((std::array{shown[0].topRow(), shown[0].bottomRow(), shown[0].leftColumn(), shown[0].rightColumn()}),
            (std::array{4, 4, 0, grid.Cols() - 1}));
  EXPECT_NE(grid.palette().color(QPalette::Highlight), QColor(255, 0, 0));
  EXPECT_EQ(no->text, "Delete Selected Beta?");
  EXPECT_EQ(no->title, "Tarn Editor");
  EXPECT_EQ(s.nspecies, n + 1);
  test::AnswerMessageBox(QMessageBox::Yes);
  editor->DelBeta_Click();
  EXPECT_EQ(s.nspecies, n);
  EXPECT_EQ(grid.Rows(), n + 1);

  grid.SetCurrentCell(0, 2);  // the heading row holds no species
  editor->DelBeta_Click();
  EXPECT_EQ(s.nspecies, n);
  while (s.nspecies > 1) {
    grid.SetCurrentCell(1, 1);
    test::AnswerMessageBox(QMessageBox::Yes);
    editor->DelBeta_Click();
  }
  EXPECT_FALSE(editor->DelBetaButton().isEnabled());
  editor->DelBeta_Click();  // no question: the only species stays
  EXPECT_EQ(s.nspecies, 1);
}

// Solids take part in both calculation types: adding one keeps the
// titration open, and a titration with a solid calculates it.
TEST_F(ModelPageTest, SolidsAreAddedAndRemovedInEitherCalculationType) {
  Open("copper-glycine-distribution.cld");
  ProjectState& s = Project();
  EXPECT_TRUE(editor->KspGrid().isHidden());
  editor->AddSol_Click();
  EXPECT_EQ(s.nsolids, 1);
  EXPECT_TRUE(editor->TarnOption(kTitration).isEnabled());
  EXPECT_TRUE(editor->AddSolButton().isEnabled());
  EXPECT_FALSE(editor->KspGrid().isHidden());
  EXPECT_EQ(editor->KspGrid().Text(0, 1), "Log(Ksp)");
  TypeInto(editor->KspGrid(), editor->EditK(), 1, 1, "-19.5");
  TypeInto(editor->KspGrid(), editor->EditK(), 1, 2, "1");
  EXPECT_EQ(s.logksp(1), -19.5);
  EXPECT_EQ(s.sa(1, 1), 1);
  EXPECT_EQ(s.caption(s.ntotal()), "Cu(s)");
  editor->TarnOption_MouseUp(kTitration);
  EXPECT_EQ(s.type, kTitration);
  EXPECT_TRUE(editor->AddSolButton().isEnabled());

  auto asked = test::AnswerMessageBox(QMessageBox::Yes);
  editor->DelSol_Click();
  EXPECT_EQ(asked->text, "Delete the solubility product?");
  EXPECT_EQ(s.nsolids, 0);
  EXPECT_FALSE(editor->DelSolButton().isEnabled());
  editor->TarnOption_MouseUp(kDistribution);
  // A new solid's row is current and has the focus: typing goes to its log
  // Ksp, and "Remove solid" asks without a click.
  editor->ShowPage(kSolidsPage);
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  QTest::mouseClick(&editor->AddSolButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), &editor->KspGrid());
  for (QChar c : QStringLiteral("-8.5")) QTest::keyClicks(QApplication::focusWidget(), QString(c));  // as typed
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(s.logksp(1), -8.5);
  test::SaveScreenshot(*main, QStringLiteral("editor-solid-added"));
  auto again = test::AnswerMessageBox(QMessageBox::No);
  editor->DelSol_Click();
  EXPECT_TRUE(again->seen);
  EXPECT_EQ(s.nsolids, 1);
}

TEST_F(ModelPageTest, ClosingTheEditorKeepsWhatWasBeingTyped) {
  Open("copper-glycine-titration.cld");
  Grid& grid = editor->BetaGrid();
  grid.SetCurrentCell(1, 1);
  QTest::keyClicks(&grid, "9");
  QTest::keyClicks(&editor->EditA(), ".25");
  main->CloseChild(kEditorWindow);
  EXPECT_FALSE(main->Children().IsOpen(kEditorWindow));
  EXPECT_EQ(Project().logbeta(1), 9.25);
  EXPECT_TRUE(Project().modified);
}

TEST_F(ModelPageTest, ReagentsMenuReloadsTheEditor) {
  Open("copper-glycine-titration.cld");
  ProjectState& s = Project();
  main->AddReagent_Click();
  ASSERT_EQ(s.nreag, 4);
  EXPECT_EQ(editor->BetaGrid().Cols(), 4 + 3);
  EXPECT_EQ(editor->BetaGrid().Text(0, 5), s.name(4));
  EXPECT_EQ(editor->CondGrid().Rows(), 5);
  auto asked = test::AnswerMessageBox(QMessageBox::Yes);
  main->RemoveReagent_Click(0);
  EXPECT_EQ(asked->text, "Delete Reagent Cu");
  EXPECT_EQ(asked->title, "Tarn Editor");
  EXPECT_EQ(s.nreag, 3);
  EXPECT_EQ(editor->BetaGrid().Rows(), s.nspecies + 1);
  EXPECT_EQ(editor->BetaGrid().Text(0, 2), "Gly");
}

// A chemist builds a model from a new project in the editor alone, types its
// conditions, calculates and sees the table; the results obey the model that
// was typed (mass balance and the formation constant).
TEST(WorkedModelTest, AcetateFromANewProject) {
  test::ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  test::AnswerStartWindow([&](Startup& start) {
    test::AnswerWindow<NewMod>([&](NewMod& newMod) {
      newMod.TitleBox().setText(QStringLiteral("acetate"));
      newMod.Mr().setCurrentRow(0);       // two reagents
      newMod.Choice(1).setChecked(true);  // a species distribution
      newMod.ProtonPresent().setChecked(true);
      test::AnswerFileDialog(QString::fromStdString(home.Scratch("acetate.cld")));
      newMod.Quit_Click(kNewProjectAccepted);
    });
    start.Starter_Click(2);
  });
  main.FirstActivation();
  auto* editor = qobject_cast<T32Model*>(main.Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);  // the editor shows the new project
  const ProjectState& s = main.GetSession().project;
  ASSERT_EQ(s.nreag, 2);
  ASSERT_EQ(s.type, kDistribution);

  Grid& betas = editor->BetaGrid();
  TypeInto(betas, editor->EditA(), 0, 2, "Ac");
  TypeInto(betas, editor->EditA(), 1, 1, "4.76");
  EXPECT_EQ(SpeciesFormula(s, 1), "AcH");
  Grid& conditions = editor->CondGrid();
  TypeInto(conditions, editor->EditB(), 1, 1, "0.01");
  TypeInto(conditions, editor->EditB(), 1, 2, "0.01");
  TypeInto(conditions, editor->EditB(), 2, 3, "3");
  TypeInto(conditions, editor->EditB(), 2, 4, "7");
  EXPECT_EQ(conditions.Text(0, 3), " pH\r start");

  main.calc_Click(kCalcTable);
  ASSERT_TRUE(main.Children().IsOpen(kTableWindow));
  const SeriesResults& r = main.GetSession().results;
  ASSERT_EQ(r.npoints, s.npoints);
  for (int p : {1, r.npoints / 2, r.npoints}) {
    double ac = r.speciesConc(1, p), h = r.speciesConc(2, p), hac = r.speciesConc(s.nreag + 1, p);
    EXPECT_NEAR(ac + hac, 0.01, 1e-7) << p;
    EXPECT_NEAR(std::log10(hac / (ac * h)), 4.76, 1e-4) << p;
  }
  EXPECT_NEAR(-std::log10(r.speciesConc(2, 1)), 3, 1e-4);
  EXPECT_NEAR(-std::log10(r.speciesConc(2, r.npoints)), 7, 1e-4);
}

// The editor as the program lays it out: at the left of a 1024 x 768 main
// window, 4800 twips wide and the full height.
void Screenshots(T32Main& main, const QString& name, bool solids) {
  main.resize(1024, 768);
  main.Tile_Click(kTile);
  auto* editor = qobject_cast<T32Model*>(main.Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  for (int page = kModelPage; page <= (solids ? kSolidsPage : kConditionsPage); ++page) {
    editor->ShowPage(page);
    if (page == kConditionsPage) editor->Calculate_Click();
    test::SaveScreenshot(*editor, QStringLiteral("editor-%1-%2").arg(name).arg(page));
  }
}

TEST_F(ModelPageTest, Screenshots) {
  Open("copper-ammonia.cld");
  Screenshots(*main, "copper-ammonia", true);
  Open("copper-glycine-titration.cld");
  Screenshots(*main, "copper-glycine-titration", false);
}

}  // namespace
}  // namespace tarn::gui

// A chemist builds a model from a new project in the editor alone, types its
// conditions, calculates and sees the table; the results obey the model that
// was typed (mass balance and the formation constant).

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <cmath>

#include "gui/app/new_project_window.h"
#include "gui/editor/model_window.h"
#include "gui/ui/grid.h"
#include "support/app_fixture.h"

namespace tarn::gui {
namespace {

void Type(Grid& grid, CellEditor& editor, int row, int col, const QString& text) {
  grid.SetCurrentCell(row, col);
  QTest::keyClicks(&grid, text.left(1));
  QTest::keyClicks(&editor, text.mid(1));
  QTest::keyClick(&editor, Qt::Key_Return);
}

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
  Type(betas, editor->EditA(), 0, 2, "Ac");
  Type(betas, editor->EditA(), 1, 1, "4.76");
  EXPECT_EQ(SpeciesFormula(s, 1), "AcH");
  Grid& conditions = editor->CondGrid();
  Type(conditions, editor->EditB(), 1, 1, "0.01");
  Type(conditions, editor->EditB(), 1, 2, "0.01");
  Type(conditions, editor->EditB(), 2, 3, "3");
  Type(conditions, editor->EditB(), 2, 4, "7");
  EXPECT_EQ(conditions.Text(0, 3), " pH\r start");

  main.calc_Click(1);
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

}  // namespace
}  // namespace tarn::gui

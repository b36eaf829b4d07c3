// The conditional-constant window as a chemist uses it: the classic constant
// of a complex in one click, a definition built term by term through the
// pop-up lists, the plot and the table on the clipboard; and its place in
// the main window.

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "support/gui/editor_fixture.h"
#include "gui/kapp/conditional_window.h"
#include "gui/kapp/kapp_views.h"
#include "gui/tables/single_points_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "core/app/project_edits.h"
#include "core/kapp/kapp_values.h"
#include "core/model/reagents.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using namespace test;

// Copper(II) and glycine over pH 2 to 10: reagents Cu, Gly, H; species HGly,
// H2Gly, CuGly, CuGly2, CuH-1, Cu2H-2, H-1.
class ConditionalWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CalculatedSample(session, "copper-glycine-distribution.cld", 9), kSuccess);
    window = std::make_unique<Conditional>(session, nullptr);
    window->show();
  }
  int TypeIndex(const std::string& text) {
    return static_cast<int>(
        window->Types().row(window->Types().findItems(QString::fromStdString(text), Qt::MatchExactly).value(0)));
  }
  Session session;
  std::unique_ptr<Conditional> window;
};

TEST_F(ConditionalWindowTest, ClassicConstantInOneClickThenTableAndPlot) {
  EXPECT_EQ(window->windowTitle(), "Apparent constants");
  QComboBox& standard = window->Standard();
  std::vector<QString> complexes;
  for (int k = 0; k < standard.count(); ++k) complexes.push_back(standard.itemText(k));
  EXPECT_EQ(complexes, (std::vector<QString>{"GlyH", "GlyH2", "CuGly", "CuGly2", "CuH-1", "Cu2H-2"}));
  EXPECT_EQ(window->XaxisReagent().currentText(), "H");
  EXPECT_EQ(window->DefinitionGrid(0).Text(1, 1), "Double click");

  standard.setCurrentIndex(2);
  window->findChild<QPushButton*>("Classic")->click();
  Grid& numerator = window->DefinitionGrid(kNumerator);
  Grid& denominator = window->DefinitionGrid(kDenominator);
  EXPECT_EQ(numerator.Text(0, 1), "Numerator");
  EXPECT_EQ(numerator.Text(1, 1), "T(Cu)  bound to ");
  EXPECT_EQ(numerator.Text(1, 2), "Gly");
  ASSERT_EQ(denominator.Rows(), 3);
  EXPECT_EQ(denominator.Text(2, 1), "T[Gly)  not bound to ");
  EXPECT_EQ(denominator.Text(2, 2), "Cu");
  EXPECT_EQ(window->Expression().Texts()[1], "T[Cu)  not bound to Gly * T[Gly)  not bound to Cu");

  window->GoTable_Click();
  const std::string text = ReadClipboard().text;
  const std::string head =
      "Kapp= T(Cu)  bound to Gly/T[Cu)  not bound to Gly * T[Gly)  not bound to Cu\r\rpH\tKapp\r2.000\t";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("\r10.000\t"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 3 + 9);

  window->GoPlot_Click();
  ASSERT_TRUE(window->PlotKapp().Plotted());
  EXPECT_EQ(window->PlotKapp().Setup()->xTitle, "pH");
  EXPECT_DOUBLE_EQ(window->PlotKapp().Setup()->xmin, 2);
  // Copper bound to glycine (CuGly, CuGly2) over free copper and free glycine:
  // conditional constants rise with pH as the ligand loses its protons.
  const KappValues& values = window->PlotKapp().Values();
  EXPECT_LT(values.logKapp(1), values.logKapp(9));
  SaveScreenshot(*window, "conditional_window");

  // The curve belongs to its definition and x axis: a change of either takes
  // it away, and so does a plot that is refused.
  window->Commands_Click(0);
  EXPECT_FALSE(window->PlotKapp().Plotted());
  window->Classic_Click();
  window->GoPlot_Click();
  ASSERT_TRUE(window->PlotKapp().Plotted());
  window->XaxisReagent().activated(0);
  EXPECT_FALSE(window->PlotKapp().Plotted());
}

TEST_F(ConditionalWindowTest, TermsThroughThePopUpLists) {
  auto refused = AnswerMessageBox(QMessageBox::Ok);
  window->GoPlot_Click();
  EXPECT_EQ(refused->text, "Expression for Kapp is not valid");
  EXPECT_FALSE(window->PlotKapp().Plotted());

  // A double-click on the contents of a term without type opens the types.
  window->DefinitionGrid_DblClick(kNumerator, 1, 2);
  ASSERT_TRUE(window->Types().isVisible());
  EXPECT_EQ(window->Types().count(), 2 * 3 + 4);
  window->Types_Choose(TypeIndex("complex concentration"));
  EXPECT_FALSE(window->Types().isVisible());
  EXPECT_EQ(window->DefinitionGrid(kNumerator).Text(1, 1), "complex concentration");
  window->DefinitionGrid_DblClick(kNumerator, 1, 2);
  ASSERT_TRUE(window->Species().isVisible());
  window->Species_Choose(2);  // CuGly
  EXPECT_EQ(window->DefinitionGrid(kNumerator).Text(1, 2), "CuGly");

  window->DefinitionGrid_DblClick(kDenominator, 1, 1);
  window->Types_Choose(TypeIndex("T[Cu)  not bound to "));
  window->DefinitionGrid_DblClick(kDenominator, 1, 2);
  ASSERT_TRUE(window->Reagents().isVisible());
  EXPECT_EQ(window->Reagents().item(0)->text(), "n/a");
  window->Reagents_Choose(0);  // "n/a" stores nothing
  EXPECT_EQ(window->Definition().termArg(1, kDenominator), 0);
  window->Reagents_Choose(1);
  EXPECT_EQ(window->DefinitionGrid(kDenominator).Text(1, 2), "Gly");

  window->Commands_Click(0);  // add a term to the denominator
  window->DefinitionGrid_DblClick(kDenominator, 2, 1);
  window->Types_Choose(TypeIndex("sum of concentrations"));
  window->DefinitionGrid_DblClick(kDenominator, 2, 2);
  QListWidget& sums = window->SumList();
  ASSERT_TRUE(sums.isVisible());
  EXPECT_EQ(sums.item(0)->text(), "OK");
  sums.item(2)->setCheckState(Qt::Checked);  // Gly
  sums.item(4)->setCheckState(Qt::Checked);  // GlyH
  sums.item(0)->setCheckState(Qt::Checked);  // OK
  EXPECT_FALSE(sums.isVisible());
  EXPECT_EQ(window->Expression().Texts()[0], " [CuGly]");
  EXPECT_EQ(window->Expression().Texts()[1], "T[Cu)  not bound to Gly * SUM( [Gly]+ [GlyH])");
  // Every term reads whole: the types, and the sum's members by name.
  EXPECT_EQ(window->DefinitionGrid(kDenominator).Text(2, 2), "Gly + GlyH");
  for (int side : {kNumerator, kDenominator}) ExpectEveryCellWhole(window->DefinitionGrid(side));
  window->DefinitionGrid_DblClick(kDenominator, 2, 1);
  EXPECT_GE(window->Types().viewport()->width(), window->Types().sizeHintForColumn(0));
  SaveScreenshot(*window, "conditional_window_terms");
  window->Types().hide();

  // [CuGly] / ([Cu] [Gly]') is the ligand's conditional constant of CuGly.
  window->GoTable_Click();
  const std::string text = ReadClipboard().text;
  EXPECT_EQ(text.substr(0, text.find('\r')), "Kapp=  [CuGly]/T[Cu)  not bound to Gly * SUM( [Gly]+ [GlyH])");

  auto remove = AnswerMessageBox(QMessageBox::Yes);
  window->Commands_Click(1);
  EXPECT_EQ(remove->text, "Remove this term?");
  EXPECT_EQ(window->Definition().nterms[kDenominator], 1);
  window->Commands_Click(1);  // the only term stays
  EXPECT_EQ(window->Definition().nterms[kDenominator], 1);

  // The definition lasts while the model keeps its reagents and species; a
  // new reagent changes what the codes mean, and it starts afresh.
  window->Form_Activate();
  EXPECT_EQ(window->Definition().termType(1, kNumerator), 2 * 3 + 3);
  AddReagent(session.project);
  window->Form_Activate();
  EXPECT_EQ(window->Definition().termType(1, kNumerator), 0);
  EXPECT_EQ(window->Types().count(), 2 * 4 + 4);
  EXPECT_EQ(window->XaxisReagent().count(), 4);
}

// The single points and the conditional constants open beside the editor,
// one at a time; closing the conditional window gives the distribution back.
// The screenshots show them in the main window.
TEST(ConditionalInMainWindowTest, OpensBesideTheEditorAndGivesBackTheDistribution) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-distribution.cld");
  main->show();
  main->resize(1280, 800);
  main->Sdp_Click();
  auto* sdp = qobject_cast<SingleDP*>(main->Children().Widget(kSinglePointsWindow));
  ASSERT_NE(sdp, nullptr);
  EXPECT_TRUE(main->Children().IsOpen(kEditorWindow));
  SaveScreenshot(*sdp, "single_points_window_empty");
  sdp->Addpoint_Click();
  sdp->Addpoint_Click();
  main->GetSession().project.sfree(3, 2) = 4;
  sdp->SdpFill();
  sdp->Calculate_Click();
  SaveScreenshot(*sdp, "single_points_window");
  SaveScreenshot(*main, "main_window_single_points");

  main->calc_Click(kCalcKapp);
  EXPECT_FALSE(main->Children().IsOpen(kSinglePointsWindow));
  auto* kapp = qobject_cast<Conditional*>(main->Children().Widget(kConditionalWindow));
  ASSERT_NE(kapp, nullptr);
  kapp->Standard().setCurrentIndex(2);
  kapp->Classic_Click();
  kapp->GoPlot_Click();
  SaveScreenshot(*main, "main_window_conditional");
  // A reagent renamed in the editor reaches the lists and terms at once.
  auto* editor = qobject_cast<T32Model*>(main->Children().Widget(kEditorWindow));
  ASSERT_NE(editor, nullptr);
  TypeInto(editor->BetaGrid(), editor->EditA(), 0, 2, "Copper");
  EXPECT_EQ(kapp->XaxisReagent().itemText(0), "Copper");
  EXPECT_EQ(kapp->Standard().itemText(2), "CopperGly");
  EXPECT_EQ(kapp->DefinitionGrid(kNumerator).Text(1, 1), "T(Copper)  bound to ");
  TypeInto(editor->BetaGrid(), editor->EditA(), 0, 2, "Cu");
  kapp->GoPlot_Click();
  // A constant changed in the editor: the curve of the old results goes.
  ASSERT_TRUE(kapp->PlotKapp().Plotted());
  edit::SetLogBeta(main->GetSession().edits, 3, main->GetSession().project.logbeta(3) + 1);
  EXPECT_FALSE(kapp->PlotKapp().Plotted());

  // Closed by the user after a titration was chosen in the editor meanwhile:
  // the editor goes back to the distribution.
  Session& session = main->GetSession();
  edit::SetCalculationType(session.edits, kTitration);
  main->CloseChild(kConditionalWindow);
  EXPECT_FALSE(main->Children().IsOpen(kConditionalWindow));
  QApplication::processEvents();
  EXPECT_EQ(session.project.type, kDistribution);

  // Closed to make room for another result window: the type stays.
  main->calc_Click(kCalcKapp);
  ASSERT_TRUE(main->Children().IsOpen(kConditionalWindow));
  session.project.type = kTitration;
  main->Sdp_Click();
  QApplication::processEvents();
  EXPECT_EQ(session.project.type, kTitration);
  EXPECT_TRUE(main->Children().IsOpen(kSinglePointsWindow));
}

}  // namespace
}  // namespace tarn::gui

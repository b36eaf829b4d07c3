// The main window's commands on an open project: calculate and the table,
// the point count, the conditional-constant rule, the Reagents menu, the
// context help and the screen sizes.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QTextBrowser>
#include <QToolBar>
#include <cmath>

#include "app/app_fixture.h"
#include "app/program_folder.h"
#include "gui/app/help_window.h"
#include "gui/tables/table_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "model/number_text.h"

namespace tarn::gui {
namespace {

using test::AnswerInputBox;
using test::AnswerMessageBox;
using test::OpenSample;
using test::ProgramHome;
using test::ReadWholeFile;

T32Table* TableOf(T32Main& main) {
  return qobject_cast<T32Table*>(main.Children().Widget(kTableWindow));
}

std::vector<int> CheckedEntries(T32Main& main) {
  std::vector<int> checked;
  for (int entry = 1; entry <= kCustomEntry; ++entry)
    if (main.Menus().points[static_cast<std::size_t>(entry)]->isChecked()) checked.push_back(entry);
  return checked;
}

TEST(MainWindowTest, CalculateShowsTheTableWhoseTextIsCopied) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  const ProjectState& project = main->GetSession().project;
  ASSERT_EQ(project.type, kTitration);
  main->calc_Click(1);
  EXPECT_FALSE(project.recalc);
  T32Table* table = TableOf(*main);
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(main->GetSession().windowOpen[kTableWindow]);

  Grid& grid = table->TableGrid();
  int n = project.npoints;
  ASSERT_EQ(grid.Rows(), n + 1);
  EXPECT_EQ(grid.Text(1, 0), " 1");
  EXPECT_EQ(grid.Text(n, 0), " " + std::to_string(n));
  EXPECT_EQ(grid.Text(0, 1), "Titre");
  // The last row is the end of the titration: all the titrant added, and
  // every total follows from the amounts, the titrant and the volume.
  double added = project.vfinal - project.volume[0];
  EXPECT_NEAR(std::stod(grid.Text(n, 1)), added, 1e-3 * added);
  for (int j = 1; j <= project.nreag; ++j) {
    ASSERT_EQ(grid.Text(0, j + 1), "total " + project.name(j));
    double expected = (project.total(j, 0) + project.burette(j, 0) * added) / project.vfinal;
    EXPECT_NEAR(std::stod(grid.Text(n, j + 1)), expected, 1e-3 * std::abs(expected) + 1e-12) << project.name(j);
  }

  table->Copy_Click();
  std::string copied = ReadClipboard().text;
  EXPECT_EQ(copied.rfind("Tarn2009 - Concentration table. Created at ", 0), 0u);
  EXPECT_NE(copied.find("\r" + project.title + "\r"), std::string::npos);
  EXPECT_NE(copied.find("concentrations /mol dm-3: ( " + std::to_string(n) + "  points)\r\r"), std::string::npos);
  std::string wholeGrid = grid.WholeText();
  ASSERT_GE(copied.size(), wholeGrid.size());
  EXPECT_EQ(copied.substr(copied.size() - wholeGrid.size()), wholeGrid);
}

TEST(MainWindowTest, ARefusedValidationShowsItsMessageAndOpensNothing) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  ProjectState& project = main->GetSession().project;
  project.volume[0] = 0;
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  main->calc_Click(1);
  EXPECT_NE(seen->text.indexOf(QStringLiteral("Initial volume is zero")), -1) << seen->text.toStdString();
  EXPECT_EQ(TableOf(*main), nullptr);
  EXPECT_TRUE(project.recalc);
}

TEST(MainWindowTest, PointsMenuCustomCountCancelAndPreset) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  const Session& session = main->GetSession();
  main->calc_Click(1);

  auto asked = AnswerInputBox(QStringLiteral("250"));
  main->points_Click(kCustomEntry);
  EXPECT_EQ(asked->title, "Number of points to calculate");
  EXPECT_EQ(asked->text, "Enter an integer");
  EXPECT_EQ(CheckedEntries(*main), std::vector<int>{kCustomEntry});
  EXPECT_EQ(main->Menus().points[kCustomEntry]->text(), "Custom 250");
  EXPECT_EQ(session.project.npoints, 250);
  EXPECT_FALSE(session.project.recalc);
  EXPECT_EQ(TableOf(*main)->TableGrid().Rows(), 251);  // the open table follows
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<nsel>250</nsel>"), std::string::npos);

  AnswerInputBox(std::nullopt);
  main->points_Click(kCustomEntry);
  EXPECT_TRUE(CheckedEntries(*main).empty());
  EXPECT_EQ(session.project.npoints, 250);

  main->points_Click(4);
  EXPECT_EQ(CheckedEntries(*main), std::vector<int>{4});
  EXPECT_EQ(session.settings.nsel, 4);
  EXPECT_EQ(session.project.npoints, 201);
  EXPECT_EQ(main->Menus().points[kCustomEntry]->text(), "Custom");
  EXPECT_EQ(TableOf(*main)->TableGrid().Rows(), 202);

  // The next start takes the choice from the settings.
  T32Main next(home.Folder());
  next.Load("");
  EXPECT_EQ(CheckedEntries(next), std::vector<int>{4});
  EXPECT_EQ(next.GetSession().project.npoints, 201);
}

TEST(MainWindowTest, CustomCountPersistsAcrossRuns) {
  ProgramHome home;
  {
    T32Main main(home.Folder());
    main.Load("");
    AnswerInputBox(QStringLiteral("250"));
    main.points_Click(kCustomEntry);  // no project: only the count changes
  }
  T32Main next(home.Folder());
  next.Load("");
  EXPECT_EQ(CheckedEntries(next), std::vector<int>{kCustomEntry});
  EXPECT_EQ(next.Menus().points[kCustomEntry]->text(), "Custom  250");
  EXPECT_EQ(next.GetSession().project.npoints, 250);
}

TEST(MainWindowTest, ApparentConstantsNeedThreeReagentsAndTheReagentsMenuFollows) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ProjectState& project = main->GetSession().project;
  MainMenus& menus = main->Menus();
  ASSERT_EQ(project.nreag, 2);
  EXPECT_FALSE(menus.calc[2]->isEnabled());
  EXPECT_FALSE(menus.Button(QStringLiteral("Kapp"))->isEnabled());
  EXPECT_EQ(menus.Button(QStringLiteral("Kapp"))->toolTip(), "Conditional constamts");

  main->calc_Click(1);
  main->AddReagent_Click();
  EXPECT_EQ(project.nreag, 3);
  EXPECT_EQ(TableOf(*main), nullptr);  // results of the old model are closed
  EXPECT_TRUE(menus.calc[2]->isEnabled());
  EXPECT_TRUE(menus.Button(QStringLiteral("Kapp"))->isEnabled());
  main->Reagentsmenu_Click();
  EXPECT_TRUE(menus.removeMenu->isEnabled());
  ASSERT_EQ(menus.removeReagent.size(), 3u);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(menus.removeReagent[j - 1]->text().toStdString(), project.name(j));

  std::string second = project.name(2);
  auto no = AnswerMessageBox(QMessageBox::No);
  main->RemoveReagent_Click(1);
  EXPECT_EQ(no->text.toStdString(), "Delete Reagent " + second);
  EXPECT_EQ(no->title, "Tarn Editor");
  EXPECT_EQ(project.nreag, 3);

  AnswerMessageBox(QMessageBox::Yes);
  main->RemoveReagent_Click(2);
  EXPECT_EQ(project.nreag, 2);
  EXPECT_TRUE(project.modified);
  EXPECT_FALSE(menus.calc[2]->isEnabled());
  EXPECT_FALSE(menus.Button(QStringLiteral("Kapp"))->isEnabled());
  QApplication::processEvents();
  EXPECT_EQ(menus.removeReagent.size(), 2u);
}

TEST(MainWindowTest, ApparentConstantsOfATitrationCalculateAndWarn) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  ASSERT_EQ(main->GetSession().project.type, kTitration);
  ASSERT_GE(main->GetSession().project.nreag, 3);
  main->calc_Click(1);
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  main->calc_Click(2);
  EXPECT_EQ(seen->text,
            "Conditional constants cannot be calculated in the context of a titration simulation\n"
            "Please check the speciation conditions before attempting to calculate conditional constants");
  EXPECT_FALSE(main->GetSession().project.recalc);
  EXPECT_EQ(TableOf(*main), nullptr);  // the table gives way
}

TEST(MainWindowTest, ToolbarKeysAndTipsAreAsWritten) {
  ProgramHome home;
  T32Main main(home.Folder());
  const std::vector<std::pair<QString, QString>> tips{{"Restart", "Restart"},
                                                      {"Save", "Save the data"},
                                                      {"Model", "Change the model"},
                                                      {"Conditions", "Change the conditions"},
                                                      {"Calculate", "Draw graph"},
                                                      {"Table", "Concentrations' table"},
                                                      {"Kapp", "Conditional constamts"},
                                                      {"Points", "No. of points"},
                                                      {"Sdp", "Single data points"},
                                                      {"Help", "Help"},
                                                      {"Exit", "Leave Tarn"}};
  QList<QAction*> actions = main.Menus().tb->actions();
  ASSERT_EQ(actions.size(), 15);
  std::size_t next = 0;
  for (int position = 0; position < 15; ++position) {
    QAction* action = actions[position];
    if (action->isSeparator()) continue;
    ASSERT_LT(next, tips.size());
    EXPECT_EQ(action->data().toString(), tips[next].first);
    EXPECT_EQ(action->toolTip(), tips[next].second);
    EXPECT_FALSE(action->icon().isNull());
    ++next;
  }
  EXPECT_EQ(next, tips.size());
  main.Tb_ButtonClick(QStringLiteral("NoSuchKey"));  // an unknown key does nothing
  EXPECT_FALSE(main.Ended());
}

TEST(MainWindowTest, ContextHelpOpensThePageOfTheActiveWindow) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  main->hlp_Click(0);
  auto* help = main->findChild<HelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->Browser().source().toString().endsWith(QStringLiteral("/index.html")));
  main->calc_Click(1);
  main->hlp_Click(0);
  EXPECT_TRUE(help->Browser().source().toString().endsWith(QStringLiteral("/table_of_concentrations.html")));
  EXPECT_TRUE(help->Browser().source().toString().startsWith(
      QUrl::fromLocalFile(QString::fromStdString(HelpFolder(home.Folder()))).toString()));
}

TEST(MainWindowTest, HelpContextNumbersMapToTheirPages) {
  EXPECT_STREQ(HelpPageOf(HelpContextOf(kEditorWindow)), "Adjust_Model");
  EXPECT_STREQ(HelpPageOf(HelpContextOf(kPlotWindow)), "Tarn plots");
  EXPECT_STREQ(HelpPageOf(HelpContextOf(kTableWindow)), "Table of concentrations");
  EXPECT_STREQ(HelpPageOf(HelpContextOf(kSinglePointsWindow)), "Single_Data_Points");
  EXPECT_STREQ(HelpPageOf(HelpContextOf(kConditionalWindow)), "Conditional constants");
  EXPECT_STREQ(HelpPageOf(HelpContextOf(0)), kHelpMainPage);
  EXPECT_EQ(HelpContextOf(kTableWindow), 400);
}

TEST(MainWindowTest, ScreenSizesResizeTheWindowAndAreSaved) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  main.show();
  main.Sizes_Click(3);
  EXPECT_EQ(main.size(), QSize(1152, 864));
  EXPECT_TRUE(main.Menus().sizes[3]->isChecked());
  EXPECT_FALSE(main.Menus().sizes[1]->isChecked());
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<screensize>3</screensize>"), std::string::npos);
  main.Sizes_Click(0);
  EXPECT_TRUE(main.windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace tarn::gui

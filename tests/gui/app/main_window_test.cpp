// The main window's commands on an open project: calculate and the table,
// the point count, the conditional-constant rule, the Reagents menu, the
// toolbar, the context help and the screen sizes.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QToolBar>

#include "core/app/program_folder.h"
#include "gui/app/help_command.h"
#include "gui/tables/table_window.h"
#include "gui/ui/grid.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using namespace test;

T32Table* TableOf(T32Main& main) {
  return qobject_cast<T32Table*>(main.Children().Widget(kTableWindow));
}

// The toolbar button the user sees under a key, or nullptr.
QAction* ToolbarButton(T32Main& main, const QString& key) {
  for (QAction* action : main.Menus().tb->actions())
    if (action->data().toString() == key) return action;
  return nullptr;
}

std::vector<int> CheckedEntries(T32Main& main) {
  std::vector<int> checked;
  for (int entry = 1; entry <= kCustomEntry; ++entry)
    if (main.Menus().points[static_cast<std::size_t>(entry)]->isChecked()) checked.push_back(entry);
  return checked;
}

TEST(MainWindowTest, CalculateShowsTheRefusalOrTheTableOfTheSeries) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  Session& session = main->GetSession();
  const double volume = session.project.volume[0];
  session.project.volume[0] = 0;
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  main->calc_Click(kCalcTable);
  EXPECT_EQ(seen->text, " Initial volume is zero");
  EXPECT_EQ(TableOf(*main), nullptr);
  EXPECT_TRUE(session.project.recalc);

  session.project.volume[0] = volume;
  main->calc_Click(kCalcTable);
  EXPECT_FALSE(session.project.recalc);
  ASSERT_EQ(session.results.ifail, kSuccess);
  ASSERT_NE(TableOf(*main), nullptr);
  Grid& grid = TableOf(*main)->TableGrid();
  const ConcentrationTable core = MakeConcentrationTable(session.project, session.results, TablePrecision::kNormal, "");
  ASSERT_EQ(grid.Rows(), session.project.npoints + 1);
  for (int r : {0, session.project.npoints})
    for (int c = 0; c < grid.Cols(); ++c) EXPECT_EQ(grid.Text(r, c), core.cells[r][c]) << r << "," << c;
}

TEST(MainWindowTest, PointsMenuCustomCountCancelAndPreset) {
  ProgramHome home;
  {
    auto main = OpenSample(home, "phosphoric-acid.cld");
    const Session& session = main->GetSession();
    main->calc_Click(kCalcTable);
    auto asked = AnswerInputBox(QStringLiteral("250"));
    main->points_Click(kCustomEntry);
    EXPECT_EQ(asked->title, "Number of points to calculate");
    EXPECT_EQ(asked->text, "Enter an integer");
    EXPECT_EQ(CheckedEntries(*main), std::vector<int>{kCustomEntry});
    EXPECT_EQ(main->Menus().points[kCustomEntry]->text(), "Custom 250");
    EXPECT_EQ(session.project.npoints, 250);
    EXPECT_FALSE(session.project.recalc);
    EXPECT_EQ(TableOf(*main)->TableGrid().Rows(), 251);  // the open table follows

    AnswerInputBox(std::nullopt);
    main->points_Click(kCustomEntry);
    EXPECT_TRUE(CheckedEntries(*main).empty());
    EXPECT_EQ(session.project.npoints, 250);

    main->points_Click(4);
    EXPECT_EQ(CheckedEntries(*main), std::vector<int>{4});
    EXPECT_EQ(session.project.npoints, 201);
    EXPECT_EQ(main->Menus().points[kCustomEntry]->text(), "Custom");
    EXPECT_EQ(TableOf(*main)->TableGrid().Rows(), 202);
    AnswerInputBox(QStringLiteral("250"));
    main->points_Click(kCustomEntry);
  }
  // The next start takes the count from the settings.
  T32Main next(home.Folder());
  next.Load("");
  EXPECT_EQ(CheckedEntries(next), std::vector<int>{kCustomEntry});
  EXPECT_EQ(next.Menus().points[kCustomEntry]->text(), "Custom  250");
  EXPECT_EQ(next.GetSession().project.npoints, 250);
}

TEST(MainWindowTest, ConditionalConstantsNeedThreeReagentsAndTheReagentsMenuFollows) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ProjectState& project = main->GetSession().project;
  MainMenus& menus = main->Menus();
  ASSERT_EQ(project.nreag, 2);
  EXPECT_FALSE(menus.calc[2]->isEnabled());
  EXPECT_FALSE(ToolbarButton(*main, QStringLiteral("Kapp"))->isEnabled());
  main->calc_Click(kCalcTable);
  main->AddReagent_Click();
  EXPECT_EQ(project.nreag, 3);
  EXPECT_EQ(TableOf(*main), nullptr);  // results of the old model are closed
  EXPECT_TRUE(menus.calc[2]->isEnabled());
  EXPECT_TRUE(ToolbarButton(*main, QStringLiteral("Kapp"))->isEnabled());
  main->Reagentsmenu_Click();
  ASSERT_EQ(menus.removeReagent.size(), 3u);
  EXPECT_EQ(menus.removeReagent[2]->text().toStdString(), project.name(3));

  auto no = AnswerMessageBox(QMessageBox::No);
  main->RemoveReagent_Click(1);
  EXPECT_EQ(no->text.toStdString(), "Delete Reagent " + project.name(2));
  EXPECT_EQ(no->title, "Tarn Editor");
  EXPECT_EQ(project.nreag, 3);
  AnswerMessageBox(QMessageBox::Yes);
  main->RemoveReagent_Click(2);
  EXPECT_EQ(project.nreag, 2);
  EXPECT_TRUE(project.modified);
  EXPECT_FALSE(ToolbarButton(*main, QStringLiteral("Kapp"))->isEnabled());
  QApplication::processEvents();
  EXPECT_EQ(menus.removeReagent.size(), 2u);

  // In a titration they cannot be calculated: a warning, and the table gives way.
  auto titration = OpenSample(home, "copper-glycine-titration.cld");
  titration->calc_Click(kCalcTable);
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  titration->calc_Click(kCalcKapp);
  EXPECT_EQ(seen->text,
            "Conditional constants cannot be calculated in the context of a titration simulation\n"
            "Please check the speciation conditions before attempting to calculate conditional constants");
  EXPECT_EQ(titration->GetSession().project.type, kDistribution);
  EXPECT_TRUE(titration->GetSession().project.recalc);  // the titration's results no longer apply
  EXPECT_EQ(TableOf(*titration), nullptr);
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
  std::vector<std::pair<QString, QString>> shown;
  QList<QAction*> actions = main.Menus().tb->actions();
  EXPECT_EQ(actions.size(), 15);  // with four separators
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    shown.emplace_back(action->data().toString(), action->toolTip());
    EXPECT_FALSE(action->icon().isNull());
    EXPECT_FALSE(action->isIconVisibleInMenu()) << "the menus show captions only";
  }
  EXPECT_EQ(shown, tips);

  // A button with a menu entry is that entry: one command, enabled together.
  const MainMenus& menus = main.Menus();
  const std::vector<std::pair<QString, QAction*>> shared{
      {"Restart", menus.fileRestart},    {"Save", menus.fileSave},        {"Calculate", menus.calc[kCalcPlot]},
      {"Table", menus.calc[kCalcTable]}, {"Kapp", menus.calc[kCalcKapp]}, {"Help", menus.hlp[0]},
      {"Exit", menus.fileExit}};
  for (const auto& [key, entry] : shared) EXPECT_EQ(ToolbarButton(main, key), entry) << key.toStdString();
  EXPECT_EQ(ToolbarButton(main, QStringLiteral("Conditions")), menus.conditions);
  // Entries of the menu bar itself keep their captions, without a picture;
  // their buttons run them and are enabled with them.
  for (auto [key, entry] :
       {std::pair{QStringLiteral("Model"), menus.model}, std::pair{QStringLiteral("Sdp"), menus.sdp}}) {
    EXPECT_TRUE(entry->icon().isNull()) << key.toStdString();
    QAction* button = ToolbarButton(main, key);
    ASSERT_NE(button, nullptr);
    for (bool enabled : {false, true}) {
      entry->setEnabled(enabled);
      EXPECT_EQ(button->isEnabled(), enabled) << key.toStdString();
    }
  }
  QSignalSpy ran(menus.sdp, &QAction::triggered);
  ToolbarButton(main, QStringLiteral("Sdp"))->trigger();
  EXPECT_EQ(ran.count(), 1);
  EXPECT_EQ(ToolbarButton(main, QStringLiteral("Points")), menus.pointsButton);
  EXPECT_EQ(menus.calc[kCalcKapp]->text(), "&Apparent constants");  // the menu keeps its caption
}

TEST(MainWindowTest, ContextHelpOpensThePageOfTheActiveWindow) {
  const std::pair<int, std::string> pages[] = {{kEditorWindow, "Adjust_Model"},
                                               {kPlotWindow, "Tarn plots"},
                                               {kTableWindow, "Table of concentrations"},
                                               {kSinglePointsWindow, "Single_Data_Points"},
                                               {kConditionalWindow, "Conditional constants"},
                                               {0, kHelpMainPage}};
  for (const auto& [window, page] : pages) EXPECT_EQ(HelpPageOf(HelpContextOf(window)), page);
  EXPECT_EQ(HelpContextOf(kTableWindow), 400);

  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  main->hlp_Click(0);
  HelpWindow* help = OpenHelpWindow();
  ASSERT_NE(help, nullptr);
  const QString folder = QUrl::fromLocalFile(QString::fromStdString(HelpFolder(home.Folder()))).toString();
  // The editor opened with the file is the active window.
  EXPECT_EQ(help->Browser().source().toString(), folder + "/adjust_model.html");
  main->calc_Click(kCalcTable);
  main->hlp_Click(0);
  EXPECT_EQ(help->Browser().source().toString(), folder + "/table_of_concentrations.html");
}

// The test screen is 800 pixels wide: only the sizes that fit it are
// offered, and one kept from a larger screen is held to the screen's free area.
TEST(MainWindowTest, ScreenSizesResizeTheWindowWithinTheScreenAndAreSaved) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  main.show();
  const QRect free = main.screen()->availableGeometry();
  ASSERT_EQ(free.width(), 800);
  ASSERT_GE(free.height(), 600);
  main.Menus().windowMenu->aboutToShow();
  EXPECT_TRUE(main.Menus().sizes[0]->isEnabled());
  EXPECT_TRUE(main.Menus().sizes[1]->isEnabled());
  for (int i = 2; i < kScreenSizes; ++i)
    EXPECT_FALSE(main.Menus().sizes[static_cast<std::size_t>(i)]->isEnabled()) << i;
  main.Sizes_Click(1);
  // 800 x 600 within the screen, its frame included.
  const QSize frame = main.frameGeometry().size() - main.size();
  EXPECT_EQ(main.size(), QSize(800, 600).boundedTo(free.size() - frame));
  EXPECT_TRUE(free.contains(main.frameGeometry()));
  main.move(300, 200);  // partly off the screen: the preset brings it back
  main.Sizes_Click(3);
  EXPECT_TRUE(free.contains(main.frameGeometry())) << main.frameGeometry().x() << "," << main.frameGeometry().y();
  EXPECT_TRUE(main.Menus().sizes[3]->isChecked());
  EXPECT_FALSE(main.Menus().sizes[1]->isChecked());
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<screensize>3</screensize>"), std::string::npos);
  main.Sizes_Click(0);
  EXPECT_TRUE(main.windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace tarn::gui

// The help window and the help pages it shows.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "gui/app/help_command.h"
#include "gui/app/help_window.h"
#include "gui/app/new_project_window.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

// Every page the help commands open exists, the main page links to each, and
// every link between pages leads to a page.
TEST(HelpPagesTest, EveryCommandPageExistsAndEveryLinkLeadsToAPage) {
  const QDir folder(test::SourcePath("help"));
  auto links = [&folder](const QString& page) {
    QFile file(folder.filePath(page));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
    QStringList local;
    for (const auto& match : QRegularExpression("href=\"([^\"#:]+)[\"#]").globalMatch(html)) local << match.captured(1);
    return local;
  };
  const QStringList fromIndex = links("index.html");
  for (const char* page : {"Adjust_Model", "Tarn plots", "Table of concentrations", "Single_Data_Points",
                           "Conditional constants", "NewModel"})
    EXPECT_TRUE(fromIndex.contains(QString::fromStdString(HelpFileOf(page)))) << page;
  EXPECT_EQ(HelpFileOf(kHelpMainPage), "index.html");
  EXPECT_EQ(HelpFileOf("no such page"), "index.html");
  const QStringList pages = folder.entryList({"*.html"}, QDir::Files);
  EXPECT_GE(pages.size(), 7);
  for (const QString& page : pages)
    for (const QString& link : links(page))
      EXPECT_TRUE(QFileInfo(folder.filePath(link)).isFile())
          << page.toStdString() << " links to " << link.toStdString();
}

TEST(HelpWindowTest, OpensTopicsGoesBackForwardAndHomeAndNamesAMissingPage) {
  HelpWindow help(test::SourcePath("help"));
  auto shown = [&help] { return help.Browser().source().fileName(); };
  help.ShowPage("Table of concentrations");
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(shown(), "table_of_concentrations.html");
  EXPECT_FALSE(help.Browser().documentTitle().isEmpty());
  EXPECT_FALSE(help.BackAction().isEnabled());
  help.ShowPage("NewModel");
  EXPECT_EQ(shown(), "new_model.html");
  help.BackAction().trigger();
  EXPECT_EQ(shown(), "table_of_concentrations.html");
  help.ForwardAction().trigger();
  EXPECT_EQ(shown(), "new_model.html");
  help.HomeAction().trigger();
  EXPECT_EQ(shown(), "index.html");

  HelpWindow missing(QDir::temp().filePath("tarn-no-help-here"));
  missing.ShowPage("Tarn plots");
  EXPECT_TRUE(missing.Browser().toPlainText().contains("Help page not found"));
  EXPECT_TRUE(missing.Browser().toPlainText().contains("tarn_plots.html"));
}

// The help asked for from the start window or the new-project window is a
// window of its own: it can be clicked while they are shown (they are modal
// to the main window only) and stays open when they close.
TEST(HelpWindowTest, TheHelpOfAModalWindowIsFreeToUseAndOutlivesIt) {
  test::ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  main.show();
  QPointer<HelpWindow> help;
  test::AnswerStartWindow([&](Startup& start) {
    EXPECT_EQ(start.windowModality(), Qt::WindowModal);
    start.Starter(4).click();  // Help
    help = OpenHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->parentWidget(), nullptr);
    EXPECT_TRUE(help->isVisible());
    help->ShowPage("Tarn plots");
    // Its buttons work while the start window is up.
    auto* home = qobject_cast<QToolButton*>(help->findChild<QToolBar*>()->widgetForAction(&help->HomeAction()));
    ASSERT_NE(home, nullptr);
    QTest::mouseClick(home, Qt::LeftButton);
    EXPECT_EQ(help->Browser().source().fileName(), "index.html");
    test::AnswerWindow<NewMod>([&](NewMod& newMod) {
      EXPECT_EQ(newMod.windowModality(), Qt::WindowModal);
      newMod.Help_Click();
      EXPECT_EQ(OpenHelpWindow(), help);  // the same window, at the page of new projects
      EXPECT_EQ(help->Browser().source().fileName(), "new_model.html");
      test::AnswerStartWindow([](Startup& again) { test::ChooseQuit(again); });
      newMod.Quit_Click(kNewProjectCancelled);
    });
    start.Starter_Click(2);
  });
  main.FirstActivation();
  ASSERT_NE(help, nullptr);  // the start and new-project windows are gone, the help is not
  EXPECT_TRUE(help->isVisible());
  test::SaveScreenshot(*help, QStringLiteral("help_window_new_model"));
  CloseHelp();
  EXPECT_EQ(help, nullptr);
}

}  // namespace
}  // namespace tarn::gui

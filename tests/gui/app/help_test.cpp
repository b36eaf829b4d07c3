// The help window and the help pages it shows.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>

#include "gui/app/help_window.h"
#include "support/gui_test.h"

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

}  // namespace
}  // namespace tarn::gui

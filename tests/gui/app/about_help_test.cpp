// The About window, the help window and the help pages it shows.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>

#include "gui/app/about_window.h"
#include "gui/app/help_window.h"
#include "support/gui_test.h"

namespace tarn::gui {
namespace {

using test::AnswerModal;
using test::SourcePath;

const std::vector<std::string> kCommandPages = {
    "Adjust_Model", "Tarn plots", "Table of concentrations", "Single_Data_Points", "Conditional constants",
    "NewModel",     kHelpMainPage};

QString HelpFolder() {
  return SourcePath("help");
}

QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList LocalLinks(const QString& html) {
  QStringList links;
  QRegularExpression href(QStringLiteral("href=\"([^\"#]*)[^\"]*\""));
  for (const auto& match : href.globalMatch(html)) {
    QString target = match.captured(1);
    if (!target.isEmpty() && !target.contains(u':')) links << target;
  }
  return links;
}

TEST(AboutWindowTest, ShowsNameVersionAndContactModally) {
  bool modal = false;
  QString title;
  QString version;
  QString contact;
  AnswerModal([&](QWidget* w) {
    modal = w->isModal();
    title = w->windowTitle();
    version = w->findChild<QLabel*>("Version")->text();
    contact = w->findChild<QLabel*>("Contact")->text();
    static_cast<QDialog*>(w)->accept();
  });
  AboutWindow about;
  EXPECT_EQ(about.exec(), QDialog::Accepted);
  EXPECT_TRUE(modal);
  EXPECT_EQ(title, "About Tarn");
  EXPECT_EQ(version, QStringLiteral("Version " TARN_PROJECT_VERSION));
  EXPECT_TRUE(contact.contains(QStringLiteral("href=\"mailto:")) || contact.contains(QStringLiteral("href=\"https:")));
}

TEST(HelpPagesTest, EveryCommandPageHasItsFileAndTheMainPageLinksToAll) {
  QString index = ReadFile(QDir(HelpFolder()).filePath("index.html"));
  ASSERT_FALSE(index.isEmpty());
  for (const std::string& page : kCommandPages) {
    QString file = QString::fromStdString(HelpFileOf(page));
    EXPECT_TRUE(QFileInfo(QDir(HelpFolder()).filePath(file)).isFile()) << page;
    if (page != kHelpMainPage) {
      EXPECT_TRUE(LocalLinks(index).contains(file)) << page;
    }
  }
  EXPECT_EQ(HelpFileOf("no such page"), "index.html");
}

TEST(HelpPagesTest, EveryLinkBetweenPagesLeadsToAPage) {
  QStringList pages = QDir(HelpFolder()).entryList({"*.html"}, QDir::Files);
  ASSERT_GE(pages.size(), 7);
  for (const QString& page : pages) {
    QString html = ReadFile(QDir(HelpFolder()).filePath(page));
    EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
    for (const QString& link : LocalLinks(html))
      EXPECT_TRUE(QFileInfo(QDir(HelpFolder()).filePath(link)).isFile())
          << page.toStdString() << " links to " << link.toStdString();
  }
}

TEST(HelpWindowTest, OpensTopicsAndGoesBackForwardAndHome) {
  HelpWindow help(HelpFolder());
  help.ShowPage("Table of concentrations");
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(help.Browser().source().fileName(), "table_of_concentrations.html");
  EXPECT_FALSE(help.Browser().documentTitle().isEmpty());
  EXPECT_FALSE(help.BackAction().isEnabled());

  help.ShowPage("NewModel");
  EXPECT_EQ(help.Browser().source().fileName(), "new_model.html");
  ASSERT_TRUE(help.BackAction().isEnabled());
  help.BackAction().trigger();
  EXPECT_EQ(help.Browser().source().fileName(), "table_of_concentrations.html");
  ASSERT_TRUE(help.ForwardAction().isEnabled());
  help.ForwardAction().trigger();
  EXPECT_EQ(help.Browser().source().fileName(), "new_model.html");
  help.HomeAction().trigger();
  EXPECT_EQ(help.Browser().source().fileName(), "index.html");
}

TEST(HelpWindowTest, MissingPagesSayWhereTheyBelong) {
  HelpWindow help(QDir::temp().filePath("tarn-no-help-here"));
  help.ShowPage("Tarn plots");
  EXPECT_TRUE(help.Browser().toPlainText().contains("Help page not found"));
  EXPECT_TRUE(help.Browser().toPlainText().contains("tarn_plots.html"));
}

}  // namespace
}  // namespace tarn::gui

#pragma once
// Tarn's help window: the program's HTML help pages in a browser with Back,
// Forward and Home (the main page). The help commands name a page; the window
// maps the name to its file in the help folder:
//
//   HelpWindow* help = new HelpWindow(programFolder + "/help", this);
//   help->ShowPage("Table of concentrations");     // shows and raises the window
//   help->ShowPage(kHelpMainPage);

#include <QString>
#include <QWidget>
#include <string>

class QAction;
class QTextBrowser;

namespace tarn::gui {

inline constexpr const char* kHelpMainPage = "Contents";

// The file (in the help folder) of the page a command names; the main page's
// file for a name that is not a page.
std::string HelpFileOf(const std::string& pageName);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

  void ShowPage(const std::string& pageName);
  const QString& Folder() const { return folder_; }

  QTextBrowser& Browser() { return *browser_; }
  QAction& BackAction() { return *back_; }
  QAction& ForwardAction() { return *forward_; }
  QAction& HomeAction() { return *home_; }

 private:
  void Open(const std::string& fileName);

  QString folder_;
  QTextBrowser* browser_;
  QAction* back_;
  QAction* forward_;
  QAction* home_;
};

}  // namespace tarn::gui

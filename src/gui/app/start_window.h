#pragma once
// The start window Startup ("Starting Tarn"): the recently used files, the
// short-names box and the five Starter buttons. Shown modally; its choice is
// read afterwards:
//
//   Startup start(session, this);
//   start.exec();
//   main.StartAction(start.StartChoice());
//
// Choices: 1..25 the recent entry of that number, 100 open a file, 200 a new
// project, 500 quit, 0 none (the window was closed). Restore and Help leave
// the window open.

#include <QDialog>
#include <array>

#include "gui/app/session.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace tarn::gui {

inline constexpr int kStartNone = 0;
inline constexpr int kStartOpenFile = 100;
inline constexpr int kStartNewProject = 200;
inline constexpr int kStartQuit = 500;

class Startup : public QDialog {
  Q_OBJECT

 public:
  explicit Startup(Session& session, QWidget* parent = nullptr);

  int StartChoice() const { return startChoice_; }

  // Fills RecentList with the recent files that exist and selects the first row.
  void FillRecent();
  // The recent index shown in a row, 0 when the row shows none.
  int RecentIndexOfRow(int row) const;

  // What the user's clicks call.
  void RecentList_Choose();  // a row clicked or a key pressed in the list
  void Shorty_Click();
  void Starter_Click(int index);  // 1..5

  QListWidget& RecentList() { return *recentList_; }
  QCheckBox& Shorty() { return *shorty_; }
  QPushButton& Starter(int index) { return *starter_.at(static_cast<std::size_t>(index)); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose(int choice);

  Session& session_;
  int startChoice_ = kStartNone;
  QListWidget* recentList_;
  QCheckBox* shorty_;
  std::array<QPushButton*, 6> starter_{};  // 1..5
};

}  // namespace tarn::gui

#pragma once
// The main window T32Main: the MDI frame that hosts the project's windows
// (model and conditions editor, plot, concentration table, single data
// points, conditional constants) and owns the menu bar, the toolbar and
// their commands, the start-up and the exit. It owns the one Session and
// passes it to every window it opens.
//
// Start-up, as main() runs it:
//   T32Main main(programFolder);
//   main.Load(commandLine);     // settings, recent list, point count, command line
//   main.show();
//   QTimer::singleShot(0, &main, &T32Main::FirstActivation);  // the file or the start window
// The program ends through ProgramEnded (main() quits the event loop on it).
//
// The commands are split by group over main_window.cpp (frame, start-up,
// layout, help), main_project.cpp (open, save, restart, exit), main_commands.cpp
// (calculate, points, reagents, undo) and main_children.cpp (the one place
// where child windows are made). The windows learn of changes of the project
// from the session's edit session, not from the main window.

#include <QMainWindow>
#include <string>

#include "core/app/point_count.h"
#include "core/app/project_open.h"
#include "gui/app/child_windows.h"
#include "gui/app/main_menus.h"
#include "gui/app/save_prompt.h"
#include "gui/app/session.h"
#include "core/model/model.h"

class QMdiArea;
class QMdiSubWindow;

namespace tarn::gui {

class ClipboardViewer;

class T32Main : public QMainWindow {
  Q_OBJECT

 public:
  explicit T32Main(std::string programFolder, QWidget* parent = nullptr);
  ~T32Main() override;

  // Start-up.
  void Load(const std::string& commandLine);
  void FirstActivation();
  // Shows the start window and carries out its choices until one is done.
  void RunStartWindow();
  // Carries out a start choice (1..25, 100, 200, 500); false when the start
  // window must be shown again (a cancelled dialog, a file not opened).
  bool StartAction(int choice);

  // File commands.
  bool FileSave_Click();
  bool SaveAs_Click();
  void FileRestart_Click();
  void FileExit_Click() { close(); }

  // Window and result commands.
  void Model_Click();
  void Conditions_Click();
  void calc_Click(CalcCommand command);
  void points_Click(int index);
  void Sdp_Click();
  void Tile_Click(TileCommand command);
  void Sizes_Click(int index);
  void ClipView_Click();
  void hlp_Click(int index);

  // Reagents.
  void Reagentsmenu_Click();
  void AddReagent_Click();
  void RemoveReagent_Click(int index);
  void SetRemoveMenu();

  // Layout, also called by the child windows' resize handlers (side 1: the
  // editor was resized).
  void CloseAllWindows() { children_.CloseAll(); }
  void Tiler() { children_.Tiler(); }
  void Splitter(int side) { children_.Split(kPlotWindow, side, Tiling()); }
  void Splitter2(int side) { children_.Split(kSinglePointsWindow, side, Tiling()); }
  void Splitter3(int side) { children_.Split(kConditionalWindow, side, Tiling()); }
  void SetSize();
  // Enables the screen sizes that fit the screen (Load, and when the Window menu opens).
  void OfferScreenSizes();
  bool Tiling() const;

  // The one place where child windows are made: shows the window (made when
  // it is not open); nullptr when that window does not exist yet.
  QMdiSubWindow* ShowChild(int window);
  void CloseChild(int window) { children_.Close(window); }

  // Edit menu: the project's history.
  void Undo_Click();
  void Redo_Click();
  // A value still being typed in the editor counts: its edit is made now.
  void CommitOpenEdit();

  Session& GetSession() { return session_; }
  ChildWindows& Children() { return children_; }
  MainMenus& Menus() { return menus_; }
  const PointChoice& Points() const { return pointChoice_; }
  QMdiArea& MdiArea() { return *mdiArea_; }
  bool Ended() const { return ended_; }

 signals:
  // The program is to end now (Quit in the start window, or the main window closed).
  void ProgramEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  enum class Opened { kYes, kNo };

  // main_children.cpp
  QWidget* CreateChild(int window);
  void OnChange(const ChangeNote& note);
  void UpdateEditMenu();
  void FocusConditionsBox(ConditionsFocus focus);
  void ShowEditorConditions();

  // main_project.cpp
  Opened OpenProjectFile(const std::string& path);
  Opened ImportModelOnly(const OpenOutcome& opened);
  int GetTarndata();
  bool NewProject();
  bool WriteTo(const std::string& path);
  int RunSavePrompt(SaverEnd end);
  void RememberFile(const std::string& path);
  bool SaveSettings();
  void EndProgram();

  // main_commands.cpp
  bool Calculate();
  void ApplyPointChoice();
  void RecalculateForPoints();
  void UpdateCommandStates();
  bool HasProject() const { return session_.project.nreag > 0; }

  // main_window.cpp
  void FitOnScreen();

  Session session_;
  QMdiArea* mdiArea_;
  ChildWindows children_;
  MainMenus menus_;
  PointChoice pointChoice_;
  std::string commandLinePath_;
  bool commandLinePending_ = false;
  bool activated_ = false;
  bool ended_ = false;
  bool fitOnScreen_ = false;  // a screen size was set: keep the window within the screen until it is framed
  ClipboardViewer* clipboardViewer_ = nullptr;
  EditSession::Subscription changes_;
};

}  // namespace tarn::gui

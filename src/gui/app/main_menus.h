#pragma once
// The main window's menu bar and toolbar: every entry with its caption,
// access key and tool tip, connected to the main window's commands. A
// toolbar button is the very action of its menu entry, so the two are
// enabled together and run the same command. The
// members carry the program's control names; arrays are indexed as the
// commands number them (calc(0..2), points(1..8), Tile(0..2), Sizes(0..6),
// hlp(0..1), RemoveReagent(0..nreag-1)).
//
//   MainMenus menus = BuildMainMenus(main);
//   menus.calc[2]->setEnabled(nreag >= 3);

#include <array>
#include <vector>

class QAction;
class QMenu;
class QToolBar;

namespace tarn::gui {

class T32Main;

// The calculate commands, calc(0..2) and the toolbar's Calculate, Table and Kapp.
enum CalcCommand { kCalcPlot = 0, kCalcTable = 1, kCalcKapp = 2 };
// The window layout commands Tile(0..2); kTile and kCascade are checked entries.
enum TileCommand { kTile = 0, kCascade = 1, kCloseAll = 2 };

struct MainMenus {
  QMenu* fileMenu = nullptr;
  QAction* fileSave = nullptr;
  QAction* saveAs = nullptr;
  QAction* fileRestart = nullptr;
  QAction* fileExit = nullptr;
  QMenu* editMenu = nullptr;
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QAction* model = nullptr;
  QMenu* reagentsMenu = nullptr;
  QAction* addReagent = nullptr;
  QMenu* removeMenu = nullptr;
  std::vector<QAction*> removeReagent;
  QMenu* results = nullptr;
  std::array<QAction*, 3> calc{};
  QMenu* dtaPoints = nullptr;
  std::array<QAction*, 9> points{};  // 1..8
  QAction* sdp = nullptr;
  QMenu* windowMenu = nullptr;
  std::array<QAction*, 3> tile{};
  QMenu* screenSize = nullptr;
  std::array<QAction*, 7> sizes{};
  QAction* clipView = nullptr;
  QMenu* helpMenu = nullptr;
  std::array<QAction*, 2> hlp{};
  // The toolbar shares the menus' actions (with its own picture and tool
  // tip); Model and Single points, entries of the menu bar itself, have twin
  // buttons that run them. These two commands are the toolbar's own.
  QToolBar* tb = nullptr;
  QAction* conditions = nullptr;    // the editor with its conditions in front
  QAction* pointsButton = nullptr;  // pops up the DtaPoints menu at the mouse
};

// Makes the menu bar and toolbar of main and connects them to its commands.
MainMenus BuildMainMenus(T32Main& main);

// Makes the entries RemoveReagent(0..count-1) (at least entry 0), keeping
// those that exist; entries are connected to RemoveReagent_Click.
void SetRemoveEntries(MainMenus& menus, T32Main& main, int count);

}  // namespace tarn::gui

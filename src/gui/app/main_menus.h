#pragma once
// The main window's menu bar and toolbar: every entry with its caption,
// access key and tool tip, connected to the main window's commands. The
// members carry the program's control names; arrays are indexed as the
// commands number them (calc(0..2), points(1..8), Tile(0..2), Sizes(0..6),
// hlp(0..1), RemoveReagent(0..nreag-1)).
//
//   MainMenus menus = BuildMainMenus(main);
//   menus.calc[2]->setEnabled(nreag >= 3);

#include <QString>
#include <array>
#include <vector>

class QAction;
class QMenu;
class QToolBar;

namespace tarn::gui {

class T32Main;

// The toolbar's keys in button order; an empty key is a separator.
inline constexpr std::array<const char*, 15> kToolbarKeys{"Restart", "Save",      "",      "Model", "Conditions",
                                                          "",        "Calculate", "Table", "Kapp",  "",
                                                          "Points",  "Sdp",       "",      "Help",  "Exit"};

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
  QToolBar* tb = nullptr;
  std::vector<QAction*> tbButtons;  // the buttons (separators left out)

  // The toolbar button of a key; nullptr for an unknown key.
  QAction* Button(const QString& key) const;
};

// Makes the menu bar and toolbar of main and connects them to its commands.
MainMenus BuildMainMenus(T32Main& main);

// Makes the entries RemoveReagent(0..count-1) (at least entry 0), keeping
// those that exist; entries are connected to RemoveReagent_Click.
void SetRemoveEntries(MainMenus& menus, T32Main& main, int count);

}  // namespace tarn::gui

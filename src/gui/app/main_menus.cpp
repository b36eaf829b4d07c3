#include "gui/app/main_menus.h"

#include <QAction>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "core/app/point_count.h"
#include "gui/app/main_window.h"
#include "gui/app/toolbar_icons.h"

namespace tarn::gui {

namespace {

constexpr std::array<const char*, kScreenSizes> kSizeCaptions{
    "&0 fullscreen", "&1 800*600", "&2 1024*768", "&3 1152*864", "&4 1280*1024", "&5 1400*1050", "&6 1600*1200"};

// A command of the main window: a value still being typed in the editor is
// committed first (a menu or toolbar button takes no focus from it).
template <typename Command>
auto Committing(T32Main& main, Command command) {
  return [&main, command] {
    main.CommitOpenEdit();
    command();
  };
}

QAction* AddEntry(QMenu* menu, const char* caption, const QString& name) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(name);
  return action;
}

void BuildFileMenu(MainMenus& m, T32Main& main) {
  m.fileMenu = main.menuBar()->addMenu(QStringLiteral("&File"));
  m.fileMenu->setObjectName(QStringLiteral("FileMenu"));
  m.fileSave = AddEntry(m.fileMenu, "&Save", QStringLiteral("FileSave"));
  m.saveAs = AddEntry(m.fileMenu, "Save &As", QStringLiteral("SaveAs"));
  m.fileRestart = AddEntry(m.fileMenu, "&Restart", QStringLiteral("FileRestart"));
  m.fileExit = AddEntry(m.fileMenu, "E&xit", QStringLiteral("FileExit"));
  QObject::connect(m.fileSave, &QAction::triggered, &main, Committing(main, [&main] { main.FileSave_Click(); }));
  QObject::connect(m.saveAs, &QAction::triggered, &main, Committing(main, [&main] { main.SaveAs_Click(); }));
  QObject::connect(m.fileRestart, &QAction::triggered, &main, Committing(main, [&main] { main.FileRestart_Click(); }));
  QObject::connect(m.fileExit, &QAction::triggered, &main, Committing(main, [&main] { main.FileExit_Click(); }));
}

// Undo and redo name the step they act on ("Undo log beta of CuL2").
void BuildEditMenu(MainMenus& m, T32Main& main) {
  m.editMenu = main.menuBar()->addMenu(QStringLiteral("&Edit"));
  m.editMenu->setObjectName(QStringLiteral("EditMenu"));
  m.undo = AddEntry(m.editMenu, "&Undo", QStringLiteral("Undo"));
  m.redo = AddEntry(m.editMenu, "&Redo", QStringLiteral("Redo"));
  m.undo->setShortcut(QKeySequence::Undo);
  m.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  for (QAction* action : {m.undo, m.redo}) {
    action->setShortcutContext(Qt::ApplicationShortcut);  // from every window of the program
    action->setEnabled(false);
  }
  QObject::connect(m.undo, &QAction::triggered, &main, &T32Main::Undo_Click);
  QObject::connect(m.redo, &QAction::triggered, &main, &T32Main::Redo_Click);
}

void BuildModelAndReagents(MainMenus& m, T32Main& main) {
  m.model = main.menuBar()->addAction(QStringLiteral("&Model and Conditions"));
  m.model->setObjectName(QStringLiteral("Model"));
  QObject::connect(m.model, &QAction::triggered, &main, Committing(main, [&main] { main.Model_Click(); }));
  m.reagentsMenu = main.menuBar()->addMenu(QStringLiteral("Reagents"));
  m.reagentsMenu->setObjectName(QStringLiteral("Reagentsmenu"));
  m.addReagent = AddEntry(m.reagentsMenu, "&Add reagent", QStringLiteral("AddReagent"));
  m.removeMenu = m.reagentsMenu->addMenu(QStringLiteral("&Remove reagent"));
  m.removeMenu->setObjectName(QStringLiteral("RemoveMenu"));
  QObject::connect(m.addReagent, &QAction::triggered, &main, &T32Main::AddReagent_Click);
  QObject::connect(m.reagentsMenu, &QMenu::aboutToShow, &main, &T32Main::Reagentsmenu_Click);
  SetRemoveEntries(m, main, 1);
}

void BuildResultsAndPoints(MainMenus& m, T32Main& main) {
  m.results = main.menuBar()->addMenu(QStringLiteral("&Results"));
  m.results->setObjectName(QStringLiteral("results"));
  const std::array<const char*, 3> calcCaptions{"&Plot", "&Table", "&Apparent constants"};
  for (CalcCommand command : {kCalcPlot, kCalcTable, kCalcKapp}) {
    QAction* a = AddEntry(m.results, calcCaptions[command], QStringLiteral("calc%1").arg(command));
    QObject::connect(a, &QAction::triggered, &main, Committing(main, [&main, command] { main.calc_Click(command); }));
    m.calc[command] = a;
  }
  m.dtaPoints = main.menuBar()->addMenu(QStringLiteral("&Np"));
  m.dtaPoints->setObjectName(QStringLiteral("DtaPoints"));
  for (int entry = 1; entry <= kCustomEntry; ++entry) {
    std::string caption = entry < kCustomEntry ? PresetCaption(entry) : kCustomMenuCaption;
    QAction* a = AddEntry(m.dtaPoints, caption.c_str(), QStringLiteral("points%1").arg(entry));
    a->setCheckable(true);
    QObject::connect(a, &QAction::triggered, &main, [&main, entry] { main.points_Click(entry); });
    m.points[static_cast<std::size_t>(entry)] = a;
  }
  m.sdp = main.menuBar()->addAction(QStringLiteral("&Single points"));
  m.sdp->setObjectName(QStringLiteral("Sdp"));
  QObject::connect(m.sdp, &QAction::triggered, &main, Committing(main, [&main] { main.Sdp_Click(); }));
}

void BuildWindowMenu(MainMenus& m, T32Main& main) {
  m.windowMenu = main.menuBar()->addMenu(QStringLiteral("&Window"));
  const std::array<const char*, 3> tileCaptions{"&Tile", "&Cascade", "Close &All"};
  for (TileCommand command : {kTile, kCascade, kCloseAll}) {
    QAction* a = AddEntry(m.windowMenu, tileCaptions[command], QStringLiteral("Tile%1").arg(command));
    a->setCheckable(command != kCloseAll);
    QObject::connect(a, &QAction::triggered, &main, [&main, command] { main.Tile_Click(command); });
    m.tile[command] = a;
  }
  m.screenSize = m.windowMenu->addMenu(QStringLiteral("&Screen size"));
  for (int i = 0; i < kScreenSizes; ++i) {
    QAction* a = AddEntry(m.screenSize, kSizeCaptions[static_cast<std::size_t>(i)], QStringLiteral("Sizes%1").arg(i));
    a->setCheckable(true);
    QObject::connect(a, &QAction::triggered, &main, [&main, i] { main.Sizes_Click(i); });
    m.sizes[static_cast<std::size_t>(i)] = a;
  }
  QObject::connect(m.windowMenu, &QMenu::aboutToShow, &main, &T32Main::OfferScreenSizes);
  m.clipView = AddEntry(m.windowMenu, "&Clipboard", QStringLiteral("ClipView"));
  QObject::connect(m.clipView, &QAction::triggered, &main, &T32Main::ClipView_Click);
}

void BuildHelpMenu(MainMenus& m, T32Main& main) {
  m.helpMenu = main.menuBar()->addMenu(QStringLiteral("&Help"));
  m.helpMenu->setObjectName(QStringLiteral("Help"));
  m.hlp[0] = AddEntry(m.helpMenu, "&Context-sensitive help", QStringLiteral("hlp0"));
  m.hlp[1] = AddEntry(m.helpMenu, "&About Tarn", QStringLiteral("hlp1"));
  m.hlp[0]->setShortcut(QKeySequence::HelpContents);
  QObject::connect(m.hlp[0], &QAction::triggered, &main, Committing(main, [&main] { main.hlp_Click(0); }));
  QObject::connect(m.hlp[1], &QAction::triggered, &main, [&main] { main.hlp_Click(1); });
}

// A button of the toolbar: the menu's action with the toolbar's key (its
// picture) and tool tip; nullptr makes a separator.
struct ToolbarButton {
  const char* key;
  const char* tip;
  QAction* action;
};

// An entry of the menu bar itself would show the toolbar's picture in place
// of its caption, so its button is a twin that runs the entry and is enabled
// with it.
QAction* ToolbarTwin(QAction* entry, T32Main& main) {
  auto* twin = new QAction(entry->text(), &main);
  twin->setObjectName(QStringLiteral("Tb_") + entry->objectName());
  twin->setEnabled(entry->isEnabled());
  QObject::connect(twin, &QAction::triggered, entry, &QAction::trigger);
  QObject::connect(entry, &QAction::enabledChanged, twin, &QAction::setEnabled);
  return twin;
}

void BuildToolbar(MainMenus& m, T32Main& main) {
  m.tb = main.addToolBar(QStringLiteral("Tb"));
  m.tb->setObjectName(QStringLiteral("Tb"));
  m.tb->setMovable(false);
  m.tb->setIconSize(QSize(24, 24));
  m.conditions = new QAction(QStringLiteral("Conditions"), &main);
  m.conditions->setObjectName(QStringLiteral("Tb_Conditions"));
  QObject::connect(m.conditions, &QAction::triggered, &main, Committing(main, [&main] { main.Conditions_Click(); }));
  m.pointsButton = new QAction(QStringLiteral("Points"), &main);
  m.pointsButton->setObjectName(QStringLiteral("Tb_Points"));
  QMenu* dtaPoints = m.dtaPoints;
  QObject::connect(m.pointsButton, &QAction::triggered, &main, [dtaPoints] { dtaPoints->popup(QCursor::pos()); });
  const std::array<ToolbarButton, 15> buttons{{{"Restart", "Restart", m.fileRestart},
                                               {"Save", "Save the data", m.fileSave},
                                               {"", "", nullptr},
                                               {"Model", "Change the model", ToolbarTwin(m.model, main)},
                                               {"Conditions", "Change the conditions", m.conditions},
                                               {"", "", nullptr},
                                               {"Calculate", "Draw graph", m.calc[kCalcPlot]},
                                               {"Table", "Concentrations' table", m.calc[kCalcTable]},
                                               {"Kapp", "Conditional constamts", m.calc[kCalcKapp]},
                                               {"", "", nullptr},
                                               {"Points", "No. of points", m.pointsButton},
                                               {"Sdp", "Single data points", ToolbarTwin(m.sdp, main)},
                                               {"", "", nullptr},
                                               {"Help", "Help", m.hlp[0]},
                                               {"Exit", "Leave Tarn", m.fileExit}}};
  for (const ToolbarButton& b : buttons) {
    if (b.action == nullptr) {
      m.tb->addSeparator();
      continue;
    }
    const QString key = QString::fromLatin1(b.key);
    b.action->setIcon(ToolbarIcon(key));
    b.action->setIconVisibleInMenu(false);
    b.action->setData(key);
    b.action->setToolTip(QString::fromLatin1(b.tip));
    m.tb->addAction(b.action);
  }
}

}  // namespace

MainMenus BuildMainMenus(T32Main& main) {
  MainMenus m;
  BuildFileMenu(m, main);
  BuildEditMenu(m, main);
  BuildModelAndReagents(m, main);
  BuildResultsAndPoints(m, main);
  BuildWindowMenu(m, main);
  BuildHelpMenu(m, main);
  BuildToolbar(m, main);
  return m;
}

void SetRemoveEntries(MainMenus& menus, T32Main& main, int count) {
  std::size_t wanted = static_cast<std::size_t>(std::max(count, 1));
  while (menus.removeReagent.size() > wanted) {
    // Later: the entry may be the one whose command is running now.
    QAction* last = menus.removeReagent.back();
    menus.removeMenu->removeAction(last);
    last->deleteLater();
    menus.removeReagent.pop_back();
  }
  while (menus.removeReagent.size() < wanted) {
    int index = static_cast<int>(menus.removeReagent.size());
    QAction* a = menus.removeMenu->addAction(QString());
    a->setObjectName(QStringLiteral("RemoveReagent%1").arg(index));
    QObject::connect(a, &QAction::triggered, &main, [&main, index] { main.RemoveReagent_Click(index); });
    menus.removeReagent.push_back(a);
  }
}

}  // namespace tarn::gui

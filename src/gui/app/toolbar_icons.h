#pragma once
// The pictures of the main window's toolbar buttons, drawn in code so that
// they look the same on every desktop.
//
//   action->setIcon(ToolbarIcon("Calculate"));

#include <QIcon>
#include <QString>

namespace tarn::gui {

// The icon of a toolbar key ("Restart", "Save", "Model", ...); a null icon for
// an unknown key.
QIcon ToolbarIcon(const QString& key);

// The program's own icon (windows and child windows).
QIcon ProgramIcon();

}  // namespace tarn::gui

#pragma once
// The help commands: the program's help pages in Tarn's help window. The help
// window belongs to the window that asks for it, so the help of a modal window
// (the start window, the new-project window) can be read and clicked while
// that window is shown.
//
//   ShowHelp(this, session.programFolder, "NewModel");

#include <string>

#include "gui/app/help_window.h"

class QWidget;

namespace tarn::gui {

// Shows page (a name the help window knows, or kHelpMainPage) in owner's help
// window, making it on first use. Returns the help window.
HelpWindow* ShowHelp(QWidget* owner, const std::string& programFolder, const std::string& page);

}  // namespace tarn::gui

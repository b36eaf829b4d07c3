#pragma once
// The help commands: the program's help pages in Tarn's one help window. The
// help window is a window of its own (it has no parent): it stays open when
// the window that asked for it closes, and the start and new-project windows,
// modal to the main window only, leave it free to read and click.
//
//   ShowHelp(session.programFolder, "NewModel");

#include <string>

#include "gui/app/help_window.h"

namespace tarn::gui {

// Shows page (a name the help window knows, or kHelpMainPage) in the help
// window, making it on first use (or anew for another program folder).
// Returns the help window.
HelpWindow* ShowHelp(const std::string& programFolder, const std::string& page);
// The help window while it is open, else nullptr.
HelpWindow* OpenHelpWindow();
// Closes the help window, as the program does when it ends.
void CloseHelp();

}  // namespace tarn::gui

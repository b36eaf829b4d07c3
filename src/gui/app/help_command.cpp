#include "gui/app/help_command.h"

#include <QPointer>

#include "core/app/program_folder.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

QPointer<HelpWindow>& TheHelpWindow() {
  static QPointer<HelpWindow> help;
  return help;
}

}  // namespace

HelpWindow* ShowHelp(const std::string& programFolder, const std::string& page) {
  QPointer<HelpWindow>& help = TheHelpWindow();
  const QString folder = ToQ(HelpFolder(programFolder));
  if (help != nullptr && help->Folder() != folder) CloseHelp();
  if (help == nullptr) {
    help = new HelpWindow(folder);
    help->setAttribute(Qt::WA_DeleteOnClose);
  }
  help->ShowPage(page);
  return help;
}

HelpWindow* OpenHelpWindow() {
  return TheHelpWindow();
}

void CloseHelp() {
  if (HelpWindow* help = TheHelpWindow()) {
    help->close();
    delete help;  // at once (it is deleted on close, later)
  }
}

}  // namespace tarn::gui

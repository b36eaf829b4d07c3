#include "gui/app/help_command.h"

#include <QWidget>

#include "app/program_folder.h"
#include "gui/ui/text.h"

namespace tarn::gui {

HelpWindow* ShowHelp(QWidget* owner, const std::string& programFolder, const std::string& page) {
  auto* help = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (help == nullptr) help = new HelpWindow(ToQ(HelpFolder(programFolder)), owner);
  help->ShowPage(page);
  return help;
}

}  // namespace tarn::gui

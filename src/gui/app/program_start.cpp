#include "gui/app/program_start.h"

#include "core/app/program_folder.h"
#include "core/model/message_sink.h"

namespace tarn::gui {

std::optional<std::string> OpenProgramFolder(const std::string& executableFolder, MessageSink& sink) {
  std::string folder = ResolveProgramFolder(executableFolder, ProcessEnvironment());
  if (!PrepareProgramFolder(folder, ShippedDataFolder(executableFolder))) {
    sink.Show(kNoProgramFolderMessage + folder);
    return std::nullopt;
  }
  return folder;
}

}  // namespace tarn::gui

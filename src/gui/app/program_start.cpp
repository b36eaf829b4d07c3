#include "gui/app/program_start.h"

#include <filesystem>
#include <system_error>

#include "core/app/program_folder.h"
#include "core/model/message_sink.h"

namespace tarn::gui {

std::string SeedFolder(const std::string& executableFolder) {
  namespace fs = std::filesystem;
  const fs::path candidates[] = {fs::path(executableFolder), fs::path(executableFolder) / ".." / "share" / "tarn"};
  for (const fs::path& candidate : candidates) {
    std::error_code ec;
    if (fs::is_directory(candidate / "samples", ec)) return fs::weakly_canonical(candidate, ec).string();
  }
  return {};
}

std::optional<std::string> OpenProgramFolder(const std::string& executableFolder, MessageSink& sink) {
  std::string folder = ResolveProgramFolder(executableFolder, ProcessEnvironment());
  if (!PrepareProgramFolder(folder, SeedFolder(executableFolder))) {
    sink.Show(kNoProgramFolderMessage + folder);
    return std::nullopt;
  }
  return folder;
}

}  // namespace tarn::gui

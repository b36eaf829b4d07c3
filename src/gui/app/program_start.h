#pragma once
// Where the desktop program keeps its files, decided once at start. The
// program folder is the executable's folder when it can be written, else
// $XDG_DATA_HOME/tarn; TARN_HOME overrides both. At first start it is seeded
// with the shipped samples and help pages, looked for in this order:
//   - the executable's folder (the build copies samples/ and help/ beside the
//     built program),
//   - <executable folder>/../share/tarn (an installed program in .../bin).
//
//   GuiMessageSink sink;
//   std::optional<std::string> folder = OpenProgramFolder(executableFolder, sink);

#include <optional>
#include <string>

namespace tarn {
class MessageSink;
}

namespace tarn::gui {

// The folder that holds the shipped samples/ for an executable in
// executableFolder; empty when there is none.
std::string SeedFolder(const std::string& executableFolder);

// Resolves the program folder from the process's environment, creates it and
// seeds it at first start. When it cannot be created, shows
// kNoProgramFolderMessage + the folder and returns nothing.
std::optional<std::string> OpenProgramFolder(const std::string& executableFolder, MessageSink& sink);

inline constexpr const char* kNoProgramFolderMessage = "Tarn cannot create its folder ";

}  // namespace tarn::gui

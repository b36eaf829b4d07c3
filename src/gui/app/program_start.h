#pragma once
// Where the desktop program keeps its files, decided once at start. The
// program folder is the executable's folder when it can be written, else
// $XDG_DATA_HOME/tarn; TARN_HOME overrides both. At first start it is seeded
// with the shipped samples and help pages (ShippedDataFolder in
// core/app/program_folder.h): the executable's folder in a build, which the
// build fills with samples/ and help/, or <prefix>/share/tarn for an
// installed program in <prefix>/bin.
//
//   GuiMessageSink sink;
//   std::optional<std::string> folder = OpenProgramFolder(executableFolder, sink);

#include <optional>
#include <string>

namespace tarn {
class MessageSink;
}

namespace tarn::gui {

// Resolves the program folder from the process's environment, creates it and
// seeds it at first start. When it cannot be created, shows
// kNoProgramFolderMessage + the folder and returns nothing.
std::optional<std::string> OpenProgramFolder(const std::string& executableFolder, MessageSink& sink);

inline constexpr const char* kNoProgramFolderMessage = "Tarn cannot create its folder ";

}  // namespace tarn::gui

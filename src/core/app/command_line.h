#pragma once
// The command line of the desktop program: a project path, optionally
// followed by "|" and the name of the program that started Tarn. The program
// joins its arguments with one blank into one command-line text.

#include <string>
#include <string_view>
#include <vector>

namespace tarn {

struct CommandLine {
  std::string path;    // empty when no project is named
  std::string caller;  // the calling program, empty when none is named
};

// The arguments (without the program's own name) joined with one blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

// Splits the text at its first "|": the path before it, the calling program
// after it (both trimmed); without "|" the whole text is the path. A path
// that begins with a double quote loses it, and the closing quote at its end
// when there is one, so a blank between the path's closing quote and "|"
// does not cost the path its last letter.
CommandLine ParseCommandLine(std::string_view text);

// "Called from " + caller + CR + "Close Tarn to return to that program",
// shown with the title kCalledFromTitle before anything is read.
std::string CalledFromMessage(std::string_view caller);
inline constexpr const char* kCalledFromTitle = "Opening Tarn";

}  // namespace tarn

#pragma once
// The list of the 25 most recently used project files and the path helpers
// the start window and the main window use with it. Paths use "/".

#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "core/model/index_array.h"

namespace tarn {

class MessageSink;

// True when path is not empty and names a regular file that can be opened for
// reading (a folder is not a file).
bool FileExists(const std::string& path);

// The path up to, not including, its last "/"; empty when there is none.
std::string FolderOf(std::string_view path);

// The name shown in the recent list. With shortnames 1, the path's top folder
// (the first "/" and the name after it, "/home" of "/home/ann/tarn/x.cld")
// stands in for the drive a path begins with elsewhere, then "....", then
// the part from the second-last "/" on: "/home..../samples/x.cld". When
// nothing lies between the two parts (fewer than four "/" in an absolute
// path), or with shortnames 0, the path is shown unchanged. A relative path's
// first name plays the top folder's part.
std::string ShortName(std::string_view path, int shortnames);

// Equal paths in the recent list's sense: the same letters in either case.
bool SamePath(std::string_view a, std::string_view b);

// The main window's title for an open project.
std::string MainWindowTitle(std::string_view path);

// The list part of UpdateRecent: path goes to the top, replacing its last
// earlier occurrence (or pushing entry 25 out); when the file does not exist
// it is taken out again; then duplicates are removed, the later entry of a
// pair first, until none is left. Empty entries are not duplicates.
void MoveToTop(Array1<std::string>& recent, const std::string& path, bool exists);

// Puts path at the top of settings.recent (MoveToTop with FileExists), writes
// the settings to iniPath and returns the main window's title,
// kProgramTitle + ": " + path. A failed write is shown through sink.
std::string UpdateRecent(Settings& settings, const std::string& path, const std::string& iniPath, MessageSink& sink);

// The load-time rule: entries whose files exist close up in order from entry
// 1; the rest become empty.
void CompactRecent(Settings& settings);

}  // namespace tarn

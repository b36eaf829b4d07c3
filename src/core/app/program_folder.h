#pragma once
// The program folder: where Tarn keeps its settings file (Tarn.ini), the store
// of the samples (store.fil), the sample projects (samples/), the default
// folder of new projects (data1/) and the help pages (help/). Paths are
// written with "/" and without a trailing "/".
//
// The folder is the executable's own folder when that can be written and is
// not an installed program's folder, else $XDG_DATA_HOME/tarn (by default
// ~/.local/share/tarn); TARN_HOME overrides both. A fresh folder is seeded at
// first start with the samples and the help pages from the folder that holds
// the shipped copies: the executable's folder in a build (the build copies
// them beside the program), <prefix>/share/tarn for an installed program.

#include <string>
#include <vector>

namespace tarn {

// The environment values the choice depends on; empty when not set.
struct FolderEnvironment {
  std::string tarnHome;     // TARN_HOME
  std::string xdgDataHome;  // XDG_DATA_HOME
  std::string home;         // HOME
};

// The three values from the running process's environment.
FolderEnvironment ProcessEnvironment();

// TARN_HOME when it is set; else executableFolder when it can be written and
// is no installed program's folder (see InstalledDataFolder); else XDG_DATA_HOME + "/tarn" when XDG_DATA_HOME is an
// absolute path (a relative one is ignored, as the XDG rules say); else HOME +
// "/.local/share/tarn"; with no HOME either, executableFolder. The result is
// an absolute path without a trailing "/".
std::string ResolveProgramFolder(const std::string& executableFolder, const FolderEnvironment& env);

// The shipped data of a program installed with `cmake --install` or from
// its package, for an executable in executableFolder (<prefix>/bin):
// <prefix>/share/tarn, as a path relative to the executable's folder, whether
// or not it exists. An executable beside an existing one is an installed
// program: it never keeps the user's files in its own folder, even where it
// could (the super-user's /usr/bin).
std::string InstalledDataFolder(const std::string& executableFolder);

// The folder whose samples/ and help/ seed a new program folder: the
// executable's folder when it holds samples/ (a build), else the installed
// data folder when that holds samples/; empty when neither does.
std::string ShippedDataFolder(const std::string& executableFolder);

// True when folder exists and the process may create files in it.
bool FolderIsWritable(const std::string& folder);

// The files and folders inside the program folder.
std::string SamplesFolder(const std::string& programFolder);  // .../samples
std::string DataFolder(const std::string& programFolder);     // .../data1
std::string HelpFolder(const std::string& programFolder);     // .../help
std::string StorePath(const std::string& programFolder);      // .../store.fil
std::string SettingsPath(const std::string& programFolder);   // .../Tarn.ini

// The full paths of the regular files of the samples folder in listing order,
// which is the order of their names (byte by byte) so that it is the same on
// every machine; empty when there is no samples folder.
std::vector<std::string> SampleFiles(const std::string& programFolder);

// Makes the program folder ready: creates it and its data1/ folder, and at
// first start (no Tarn.ini yet) copies into samples/ and help/ every file of
// sourceFolder's samples/ and help/ (subfolders included) that is missing
// there; existing files are never replaced. sourceFolder may be empty or the
// program folder itself (nothing to copy). False when the program folder
// cannot be created; a file that cannot be copied is skipped.
bool PrepareProgramFolder(const std::string& programFolder, const std::string& sourceFolder);

}  // namespace tarn

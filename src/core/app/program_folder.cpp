#include "core/app/program_folder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tarn {

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// An absolute path without a trailing "/" (the root stays "/").
std::string CleanFolder(const std::string& folder) {
  std::error_code ec;
  std::string out = fs::absolute(fs::path(folder), ec).string();
  if (ec) out = folder;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string Inside(const std::string& programFolder, const char* name) {
  return programFolder == "/" ? "/" + std::string(name) : programFolder + "/" + name;
}

// Copies the files of from (recursively) that are missing below to.
void CopyMissingFiles(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_directory(from, ec)) return;
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    fs::path target = to / fs::relative(it->path(), from, ec);
    if (ec) return;
    std::error_code fileEc;
    if (it->is_directory(fileEc)) {
      fs::create_directories(target, fileEc);
    } else if (it->is_regular_file(fileEc) && !fs::exists(target, fileEc)) {
      fs::create_directories(target.parent_path(), fileEc);
      fs::copy_file(it->path(), target, fileEc);
    }
  }
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

}  // namespace

FolderEnvironment ProcessEnvironment() {
  return {Env("TARN_HOME"), Env("XDG_DATA_HOME"), Env("HOME")};
}

bool FolderIsWritable(const std::string& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string InstalledDataFolder(const std::string& executableFolder) {
  return (fs::path(executableFolder) / TARN_DATA_FROM_BIN).lexically_normal().string();
}

std::string ShippedDataFolder(const std::string& executableFolder) {
  for (const std::string& candidate : {executableFolder, InstalledDataFolder(executableFolder)}) {
    if (!IsFolder(fs::path(candidate) / "samples")) continue;
    std::error_code ec;
    std::string folder = fs::weakly_canonical(candidate, ec).string();
    return ec ? CleanFolder(candidate) : folder;
  }
  return {};
}

std::string ResolveProgramFolder(const std::string& executableFolder, const FolderEnvironment& env) {
  if (!env.tarnHome.empty()) return CleanFolder(env.tarnHome);
  const bool installed = IsFolder(InstalledDataFolder(executableFolder));
  if (!installed && FolderIsWritable(executableFolder)) return CleanFolder(executableFolder);
  if (!env.xdgDataHome.empty() && env.xdgDataHome.front() == '/') return CleanFolder(env.xdgDataHome + "/tarn");
  if (!env.home.empty()) return CleanFolder(env.home + "/.local/share/tarn");
  return CleanFolder(executableFolder);
}

std::string SamplesFolder(const std::string& programFolder) {
  return Inside(programFolder, "samples");
}
std::string DataFolder(const std::string& programFolder) {
  return Inside(programFolder, "data1");
}
std::string HelpFolder(const std::string& programFolder) {
  return Inside(programFolder, "help");
}
std::string StorePath(const std::string& programFolder) {
  return Inside(programFolder, "store.fil");
}
std::string SettingsPath(const std::string& programFolder) {
  return Inside(programFolder, "Tarn.ini");
}

std::vector<std::string> SampleFiles(const std::string& programFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::string folder = SamplesFolder(programFolder);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (it->is_regular_file(fileEc)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& name : names) paths.push_back(folder + "/" + name);
  return paths;
}

bool PrepareProgramFolder(const std::string& programFolder, const std::string& sourceFolder) {
  std::error_code ec;
  fs::create_directories(programFolder, ec);
  if (!fs::is_directory(programFolder, ec)) return false;
  bool firstStart = !fs::exists(SettingsPath(programFolder), ec);
  if (firstStart && !sourceFolder.empty() && !SameFolder(sourceFolder, programFolder)) {
    CopyMissingFiles(fs::path(sourceFolder) / "samples", SamplesFolder(programFolder));
    CopyMissingFiles(fs::path(sourceFolder) / "help", HelpFolder(programFolder));
  }
  fs::create_directories(DataFolder(programFolder), ec);
  return true;
}

}  // namespace tarn

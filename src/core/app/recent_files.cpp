#include "core/app/recent_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/model/constants.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

// Removes entry i; the entries after it move up and the last becomes empty.
void RemoveEntry(Array1<std::string>& recent, int i) {
  int n = recent.Upper();
  for (int k = i; k < n; ++k) recent(k) = recent(k + 1);
  recent(n).clear();
}

// The later entry of the last pair of equal, non-empty entries; 0 when none.
int LastDuplicate(const Array1<std::string>& recent) {
  int n = recent.Upper(), later = 0;
  for (int i = 1; i < n; ++i) {
    if (recent(i).empty()) continue;
    for (int j = i + 1; j <= n; ++j)
      if (SamePath(recent(i), recent(j))) later = j;
  }
  return later;
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

std::string FolderOf(std::string_view path) {
  std::size_t last = path.rfind('/');
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

std::string ShortName(std::string_view path, int shortnames) {
  if (shortnames != 1) return std::string(path);
  std::size_t last = path.rfind('/');
  if (last == std::string_view::npos || last == 0) return std::string(path);
  std::size_t secondLast = path.rfind('/', last - 1);
  std::size_t headEnd = path.find('/', path.front() == '/' ? 1 : 0);
  if (secondLast == std::string_view::npos || headEnd >= secondLast) return std::string(path);
  return std::string(path.substr(0, headEnd)) + "...." + std::string(path.substr(secondLast));
}

bool SamePath(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Upper(a) == Upper(b);
}

std::string MainWindowTitle(std::string_view path) {
  return std::string(kProgramTitle) + ": " + std::string(path);
}

void MoveToTop(Array1<std::string>& recent, const std::string& path, bool exists) {
  int n = recent.Upper();
  if (n < 1) return;
  int i = n;
  for (int k = 1; k <= n; ++k)
    if (SamePath(recent(k), path)) i = k;
  for (int k = i; k >= 2; --k) recent(k) = recent(k - 1);
  recent(1) = path;
  if (!exists) RemoveEntry(recent, 1);
  for (int later = LastDuplicate(recent); later != 0; later = LastDuplicate(recent)) RemoveEntry(recent, later);
}

std::string UpdateRecent(Settings& settings, const std::string& path, const std::string& iniPath, MessageSink& sink) {
  MoveToTop(settings.recent, path, FileExists(path));
  WriteSettings(settings, iniPath, sink);
  return MainWindowTitle(path);
}

void CompactRecent(Settings& settings) {
  Array1<std::string>& recent = settings.recent;
  int next = 1;
  for (int i = 1; i <= recent.Upper(); ++i)
    if (FileExists(recent(i))) recent(next++) = recent(i);
  for (; next <= recent.Upper(); ++next) recent(next).clear();
}

}  // namespace tarn

#include "core/app/store_file.h"

#include <filesystem>
#include <system_error>

#include "core/app/recent_files.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"
#include "core/model/save_file.h"

namespace tarn {

namespace {

constexpr const char* kEol = "\r\n";

// One line of a text: its characters and its line end ("\n", "\r\n" or "").
struct TextLine {
  std::string_view text;
  std::string_view end;
};

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  while (!text.empty()) {
    std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) {
      lines.push_back({text, {}});
      break;
    }
    std::size_t cut = lf > 0 && text[lf - 1] == '\r' ? lf - 1 : lf;
    lines.push_back({text.substr(0, cut), text.substr(cut, lf + 1 - cut)});
    text.remove_prefix(lf + 1);
  }
  return lines;
}

std::string_view FileNameOf(std::string_view path) {
  std::size_t last = path.rfind('/');
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

// True when line is a header of a store whose files lie in folder (any folder
// for the first header); path is then the header's path.
bool IsHeader(std::string_view line, bool firstHeader, const std::string& folder, std::string& path) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '*') return false;
  std::string_view rest = Trim(t.substr(1));
  if (!firstHeader && FolderOf(rest) != folder) return false;
  path = std::string(rest);
  return true;
}

const StoredFile* FindStored(const std::vector<StoredFile>& records, std::string_view name) {
  for (const StoredFile& r : records)
    if (FileNameOf(r.path) == name) return &r;
  return nullptr;
}

}  // namespace

std::string StoreText(const std::vector<std::string>& files) {
  std::string out;
  for (const std::string& path : files) {
    std::string content;
    if (!ReadTextFile(path, content)) continue;
    out += "*" + path + kEol + content;
    if (!content.empty() && content.back() != '\n') out += kEol;
  }
  return out;
}

bool EnsureStoreFile(const std::string& storePath, const std::vector<std::string>& files, MessageSink& sink) {
  std::error_code ec;
  if (std::filesystem::exists(storePath, ec)) return true;
  if (SaveTextFile(storePath, StoreText(files)).ok) return true;
  sink.Show("can't save " + storePath);
  return false;
}

std::vector<StoredFile> ParseStore(std::string_view text) {
  std::vector<StoredFile> records;
  std::string folder, path;
  for (const TextLine& line : SplitLines(text)) {
    if (IsHeader(line.text, records.empty(), folder, path)) {
      if (records.empty()) folder = FolderOf(path);
      records.push_back({path, {}});
    } else if (!records.empty()) {
      records.back().content.append(line.text).append(line.end);
    }
  }
  return records;
}

std::vector<std::string> RestorableNames(std::string_view storeText) {
  std::vector<std::string> names;
  for (const StoredFile& r : ParseStore(storeText))
    if (r.path.size() >= 3 && Upper(r.path.substr(r.path.size() - 3)) == "CLD") names.emplace_back(FileNameOf(r.path));
  return names;
}

bool RestoreSample(std::string_view storeText, std::string_view name) {
  std::vector<StoredFile> records = ParseStore(storeText);
  const StoredFile* stored = FindStored(records, name);
  return stored && SaveTextFile(stored->path, stored->content).ok;
}

std::string RestoredMessage(const std::vector<std::string>& names) {
  std::string out = "Files";
  for (const std::string& name : names) out += "\r" + name;
  return out + "\r" + "have been restored to the original state";
}

std::string RestoreSamples(const std::string& storePath, const std::vector<std::string>& names, MessageSink& sink) {
  std::string text;
  if (!ReadTextFile(storePath, text)) text.clear();
  std::vector<StoredFile> records = ParseStore(text);
  std::vector<std::string> restored;
  for (const std::string& name : names) {
    const StoredFile* stored = FindStored(records, name);
    if (stored && SaveTextFile(stored->path, stored->content).ok)
      restored.push_back(name);
    else
      sink.Show("can't save " + (stored ? stored->path : name));
  }
  return restored.empty() ? std::string() : RestoredMessage(restored);
}

}  // namespace tarn

#include "core/app/settings.h"

#include "core/app/point_count.h"
#include "core/app/program_folder.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"
#include "core/model/save_file.h"

namespace tarn {

namespace {

constexpr const char* kEol = "\r\n";

std::string Line(std::string_view tag, std::string_view value) {
  return MakeElement(tag, value) + kEol;
}

std::string RecentTag(int i) {
  return "recent" + std::to_string(i);
}

std::string HeadLines(const Settings& s) {
  return std::string("<Tarnini>") + kEol + Line("maxy", FileNumber(s.maxy)) + Line("miny", FileNumber(s.miny)) +
         Line("nsel", std::to_string(s.nsel)) + Line("shortnames", std::to_string(s.shortnames));
}

std::string FolderLines(const Settings& s) {
  return Line("readdir", s.readdir) + Line("writedir", s.writedir);
}

std::string ClipLines(const Settings& s) {
  return Line("clipwidth", s.clipwidth) + Line("clipheight", s.clipheight) + Line("lettersize", s.lettersize);
}

// True when an element <tag> ... </tag> is present.
bool HasElement(std::string_view tag, std::string_view text) {
  std::string open = "<" + std::string(tag) + ">";
  std::string close = "</" + std::string(tag) + ">";
  std::size_t b = text.find(open);
  std::size_t e = text.find(close);
  return b != std::string_view::npos && e != std::string_view::npos && e >= b + open.size();
}

// The text starts (after blanks) with a sign or none and then a digit, or a
// point and a digit: it has a leading numeric part.
bool HasLeadingNumber(std::string_view text) {
  std::string_view t = Trim(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  auto digit = [&](std::size_t k) { return k < t.size() && t[k] >= '0' && t[k] <= '9'; };
  return digit(i) || (i < t.size() && (t[i] == '.' || t[i] == ',') && digit(i + 1));
}

int ReadInteger(std::string_view text, std::string_view tag, int low, int high, int fallback) {
  if (!HasElement(tag, text)) return fallback;
  std::string content = GetElement(tag, text);
  if (!HasLeadingNumber(content)) return fallback;
  int value = ParseInteger(content);
  return value >= low && value <= high ? value : fallback;
}

float ReadPosition(std::string_view text, std::string_view tag, int entries, float fallback) {
  if (!HasElement(tag, text)) return fallback;
  std::string content = GetElement(tag, text);
  if (!HasLeadingNumber(content)) return fallback;
  RecordingSink silent;  // a value beyond single precision falls back quietly
  std::optional<double> value = ParseNumber(content, silent);
  if (!value || *value < 0 || *value > entries - 1) return fallback;
  return static_cast<float>(*value);
}

std::string ReadText(std::string_view text, std::string_view tag, const std::string& fallback) {
  std::string content(Trim(GetElement(tag, text)));
  return content.empty() ? fallback : content;
}

}  // namespace

Settings FirstRunSettings(const std::string& programFolder, const std::vector<std::string>& sampleFiles) {
  Settings s;
  s.readdir = SamplesFolder(programFolder);
  s.writedir = DataFolder(programFolder);
  for (std::size_t i = 0; i < sampleFiles.size() && i < kRecentCount; ++i)
    s.recent(static_cast<int>(i) + 1) = sampleFiles[i];
  return s;
}

std::string SettingsText(const Settings& s) {
  std::string out = HeadLines(s) + Line("screensize", std::to_string(s.screensize)) + ClipLines(s) + FolderLines(s);
  for (int i = 1; i <= kRecentCount; ++i) out += Line(RecentTag(i), s.recent(i));
  return out + "</Tarnini>" + kEol;
}

std::string FirstRunSettingsText(const Settings& s) {
  std::string out = HeadLines(s) + ClipLines(s) + Line("screensize", std::to_string(s.screensize)) + FolderLines(s);
  for (int i = 1; i <= kRecentCount && !Trim(s.recent(i)).empty(); ++i) out += Line(RecentTag(i), s.recent(i));
  return out + "</Tarnini>" + kEol;
}

Settings ReadSettingsText(std::string_view text, const Settings& defaults) {
  Settings s;
  s.maxy = ReadPosition(text, "maxy", kUpperLogEntries, defaults.maxy);
  s.miny = ReadPosition(text, "miny", kLowerLogEntries, defaults.miny);
  s.nsel = ReadInteger(text, "nsel", 1, kMaxPoints, defaults.nsel);
  s.shortnames = ReadInteger(text, "shortnames", 0, 1, defaults.shortnames);
  s.screensize = ReadInteger(text, "screensize", 0, kScreenSizes - 1, defaults.screensize);
  s.clipwidth = ReadText(text, "clipwidth", defaults.clipwidth);
  s.clipheight = ReadText(text, "clipheight", defaults.clipheight);
  s.lettersize = ReadText(text, "lettersize", defaults.lettersize);
  s.readdir = ReadText(text, "readdir", defaults.readdir);
  s.writedir = ReadText(text, "writedir", defaults.writedir);
  for (int i = 1; i <= kRecentCount; ++i) s.recent(i) = std::string(Trim(GetElement(RecentTag(i), text)));
  return s;
}

Settings ReadSettingsText(std::string_view text) {
  return ReadSettingsText(text, Settings{});
}

Settings ReadSettingsFile(const std::string& path, const Settings& defaults) {
  std::string text;
  if (!ReadTextFile(path, text)) return defaults;
  return ReadSettingsText(text, defaults);
}

bool WriteSettings(const Settings& settings, const std::string& path, MessageSink& sink) {
  if (SaveTextFile(path, SettingsText(settings)).ok) return true;
  sink.Show("can't save " + path);
  return false;
}

}  // namespace tarn

#pragma once
// The settings file Tarn.ini in the program folder: the tagged elements of
// the project file, one a line, between the lines <Tarnini> and </Tarnini>.
// Lines end in CR LF, as in the project file; numbers are written as the
// project file writes them. The file is written whole after every change of
// a setting, through a temporary file and a rename, and read whole at start.

#include <string>
#include <string_view>
#include <vector>

#include "core/model/index_array.h"

namespace tarn {

class MessageSink;

inline constexpr int kRecentCount = 25;
// Positions in the plot window's lower (0..23) and upper (0..19) log-limit lists.
inline constexpr int kLowerLogEntries = 24;
inline constexpr int kUpperLogEntries = 20;
// Window-layout presets 0 (full screen) to 6.
inline constexpr int kScreenSizes = 7;

struct Settings {
  float maxy = 3;   // position in the upper log-limit list
  float miny = 13;  // position in the lower log-limit list
  int nsel = 3;     // 1..7 a preset point count, 8 and above a custom count (point_count.h)
  int shortnames = 1;
  std::string clipwidth = "8.25";  // kept and written back, not used
  std::string clipheight = "6.6";  // kept and written back, not used
  std::string lettersize = "24";   // kept and written back, not used
  int screensize = 1;
  std::string readdir;                       // where the open dialog starts
  std::string writedir;                      // where new projects go
  Array1<std::string> recent{kRecentCount};  // 1..25, most recent first; "" when empty
};

// The settings of a first start in programFolder: the defaults above,
// readdir its samples folder, writedir its data1 folder, and the recent list
// made of the given sample files (the first 25 of them).
Settings FirstRunSettings(const std::string& programFolder, const std::vector<std::string>& sampleFiles);

// The whole file: maxy, miny, nsel, shortnames, screensize, clipwidth,
// clipheight, lettersize, readdir, writedir, recent1..recent25 (empty ones as
// empty elements).
std::string SettingsText(const Settings& settings);
// The file made at first start: maxy, miny, nsel, shortnames, clipwidth,
// clipheight, lettersize, screensize, readdir, writedir, then recent1.. for
// the entries up to the first empty one.
std::string FirstRunSettingsText(const Settings& settings);

// Reads the text of a settings file; never fails. A setting whose element is
// missing or whose content cannot be used keeps its value from defaults:
// numbers without a leading numeric part, beyond single precision or outside
// their range (maxy 0..19, miny 0..23, nsel 1..kMaxPoints, shortnames 0 or 1,
// screensize 0..6), and empty texts. Recent entries are trimmed; missing
// ones are empty.
Settings ReadSettingsText(std::string_view text, const Settings& defaults);
Settings ReadSettingsText(std::string_view text);

// Reads the file at path; a file that cannot be read gives defaults.
Settings ReadSettingsFile(const std::string& path, const Settings& defaults);

// Writes SettingsText to path through a temporary file and a rename. On
// failure shows "can't save " + path and leaves the old file as it was.
bool WriteSettings(const Settings& settings, const std::string& path, MessageSink& sink);

}  // namespace tarn

#pragma once
// The start of the desktop program, up to the point where the main window
// chooses the point count and looks at the command line: the store and
// settings files are made when missing, the settings are read, and the
// recent list keeps only the files that exist.

#include <string>

#include "core/app/settings.h"

namespace tarn {

class MessageSink;

// In a prepared program folder (PrepareProgramFolder): creates store.fil from
// the samples when it is missing, creates Tarn.ini with the first-run
// settings when it is missing, then reads Tarn.ini whole (anything missing or
// unusable takes its first-run default, without the recent entries) and
// closes up the recent list. A file that cannot be written is shown through
// sink as "can't save " + its path; the settings are still returned.
// firstRunScreenSize is the window-size preset a new Tarn.ini starts with
// (the desktop program passes the largest that fits the screen).
Settings LoadSettingsAtStart(const std::string& programFolder, MessageSink& sink, int firstRunScreenSize = 1);

}  // namespace tarn

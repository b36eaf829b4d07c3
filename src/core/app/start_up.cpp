#include "core/app/start_up.h"

#include <filesystem>
#include <system_error>

#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "core/app/store_file.h"
#include "core/model/message_sink.h"
#include "core/model/save_file.h"

namespace tarn {

Settings LoadSettingsAtStart(const std::string& programFolder, MessageSink& sink, int firstRunScreenSize) {
  std::vector<std::string> samples = SampleFiles(programFolder);
  EnsureStoreFile(StorePath(programFolder), samples, sink);
  std::string iniPath = SettingsPath(programFolder);
  std::error_code ec;
  Settings firstRun = FirstRunSettings(programFolder, samples);
  firstRun.screensize = firstRunScreenSize;
  if (!std::filesystem::exists(iniPath, ec) && !SaveTextFile(iniPath, FirstRunSettingsText(firstRun)).ok) {
    sink.Show("can't save " + iniPath);
    CompactRecent(firstRun);
    return firstRun;
  }
  Settings settings = ReadSettingsFile(iniPath, FirstRunSettings(programFolder, {}));
  CompactRecent(settings);
  return settings;
}

}  // namespace tarn

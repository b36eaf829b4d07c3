#include "core/app/store_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/app/settings.h"
#include "core/model/message_sink.h"
#include "core/model/save_file.h"
#include "support/temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Samples with CR LF and LF lines, a line holding "*", a line beginning with
// "*", no line end at the end, an empty file, and names inside other names.
struct Samples {
  TempFolder dir;
  std::string folder = dir / "samples";
  std::vector<std::string> files{folder + "/ba.cld", folder + "/a.cld", folder + "/empty.CLD", folder + "/notes.txt"};
  std::vector<std::string> bytes{"<calvor>\n<title>ba</title>\r\n</calvor>",
                                 "<calvor>\r\n<title>a*b</title>\r\n*not a header\r\n</calvor>\r\n", "",
                                 "* a.cld\n*\n"};
  Samples() {
    for (std::size_t i = 0; i < files.size(); ++i) WriteFile(files[i], bytes[i]);
  }
};

TEST(StoreFile, RestoresDamagedSamplesByteForByte) {
  Samples s;
  RecordingSink sink;
  std::string store = s.dir / "store.fil";
  ASSERT_TRUE(EnsureStoreFile(store, s.files, sink));
  std::string text = ReadFile(store);
  EXPECT_EQ(text.rfind("*" + s.files[0] + "\r\n" + s.bytes[0], 0), 0u);

  std::vector<StoredFile> records = ParseStore(text);
  ASSERT_EQ(records.size(), s.files.size());
  for (std::size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].path, s.files[i]);
  EXPECT_EQ(records[0].content, s.bytes[0] + "\r\n");  // a last line gets its line end
  EXPECT_EQ(records[1].content, s.bytes[1]);
  EXPECT_EQ(records[3].content, s.bytes[3]);

  for (const std::string& f : s.files) WriteFile(f, "damaged");
  // "a.cld" is found by its own name, not inside "ba.cld" or a sample's line.
  std::string message = RestoreSamples(store, {"a.cld", "ba.cld", "empty.CLD"}, sink);
  EXPECT_EQ(message, "Files\ra.cld\rba.cld\rempty.CLD\rhave been restored to the original state");
  EXPECT_EQ(ReadFile(s.files[0]), s.bytes[0] + "\r\n");
  EXPECT_EQ(ReadFile(s.files[1]), s.bytes[1]);
  EXPECT_EQ(ReadFile(s.files[2]), "");
  EXPECT_EQ(ReadFile(s.files[3]), "damaged");
  EXPECT_TRUE(sink.messages.empty());

  // The store is written once: a later call leaves it as it is.
  ASSERT_TRUE(EnsureStoreFile(store, {}, sink));
  EXPECT_EQ(ReadFile(store), text);
}

TEST(StoreFile, RestoreListShowsStoredProjectNamesInStoreOrder) {
  Samples s;
  std::string text = StoreText(s.files);
  EXPECT_EQ(RestorableNames(text), (std::vector<std::string>{"ba.cld", "a.cld", "empty.CLD"}));
  // A store written elsewhere, with CR LF throughout, reads the same way.
  std::string old = "*/p/samples/x.trn\r\nline\r\n*/p/samples/Cu.CLD\r\n<calvor>\r\n*/p/samples/z.cld\r\n";
  EXPECT_EQ(RestorableNames(old), (std::vector<std::string>{"Cu.CLD", "z.cld"}));
  EXPECT_TRUE(RestorableNames("").empty());
  EXPECT_TRUE(RestorableNames("no header\r\n").empty());
}

TEST(StoreFile, RestoreFailuresAreReportedNotCountedAsRestored) {
  Samples s;
  std::string store = s.dir / "store.fil";
  RecordingSink sink;
  ASSERT_TRUE(EnsureStoreFile(store, s.files, sink));
  std::filesystem::remove_all(s.folder);  // the header's folder is gone
  EXPECT_FALSE(RestoreSample(ReadFile(store), "a.cld"));
  EXPECT_EQ(RestoreSamples(store, {"a.cld", "nothere.cld"}, sink), "");
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"can't save " + s.files[1], "can't save nothere.cld"}));
  EXPECT_FALSE(std::filesystem::exists(s.files[1]));
}

// The store and the settings file are saved as projects are (save_file.h):
// through a link, never over a read-only file, and not at all on a full disk.
TEST(StoreFile, StoreAndSettingsUseTheSaveRoutine) {
  Samples s;
  std::string store = s.dir / "store.fil";
  RecordingSink sink;
  {
    InjectedSaveFault fullDisk(SaveStep::kFlush, ENOSPC);
    EXPECT_FALSE(EnsureStoreFile(store, s.files, sink));
  }
  EXPECT_FALSE(std::filesystem::exists(store));
  EXPECT_EQ(sink.messages, std::vector<std::string>{"can't save " + store});
  ASSERT_TRUE(EnsureStoreFile(store, s.files, sink));

  WriteFile(s.files[1], "damaged but kept");
  std::filesystem::permissions(s.files[1], std::filesystem::perms::owner_read);
  EXPECT_FALSE(RestoreSample(ReadFile(store), "a.cld"));
  EXPECT_EQ(ReadFile(s.files[1]), "damaged but kept");

  std::string kept = s.dir / "dotfiles/Tarn.ini", ini = s.dir / "Tarn.ini";
  WriteFile(kept, "");
  std::filesystem::create_symlink(kept, ini);
  Settings settings;
  settings.nsel = 6;
  ASSERT_TRUE(WriteSettings(settings, ini, sink));
  EXPECT_TRUE(std::filesystem::is_symlink(ini));
  EXPECT_EQ(ReadFile(kept), SettingsText(settings));
}

}  // namespace
}  // namespace tarn

#include "core/app/recent_files.h"

#include <gtest/gtest.h>

#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "support/temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

std::vector<std::string> Entries(const Array1<std::string>& recent, int count) {
  std::vector<std::string> out;
  for (int i = 1; i <= count; ++i) out.push_back(recent(i));
  return out;
}

TEST(RecentList, ReopenedFileMovesToTopAndNewFilePushesTheLastOut) {
  Array1<std::string> recent(kRecentCount);
  for (int i = 1; i <= kRecentCount; ++i) recent(i) = "/d/f" + std::to_string(i) + ".cld";
  MoveToTop(recent, "/D/F3.CLD", true);  // the third entry, in other letters
  EXPECT_EQ(Entries(recent, 4), (std::vector<std::string>{"/D/F3.CLD", "/d/f1.cld", "/d/f2.cld", "/d/f4.cld"}));
  EXPECT_EQ(recent(25), "/d/f25.cld");
  MoveToTop(recent, "/d/new.cld", true);
  EXPECT_EQ(Entries(recent, 2), (std::vector<std::string>{"/d/new.cld", "/D/F3.CLD"}));
  EXPECT_EQ(recent(25), "/d/f24.cld");
  // A path whose file does not exist does not stay in the list.
  std::vector<std::string> before = Entries(recent, 24);
  MoveToTop(recent, "/gone.cld", false);
  EXPECT_EQ(Entries(recent, 24), before);
  EXPECT_EQ(recent(25), "");
}

TEST(RecentList, DuplicatesGoEvenBehindEmptyEntries) {
  Array1<std::string> recent(kRecentCount);
  recent(1) = "/a";
  recent(2) = "/b";
  recent(3) = "/A";
  recent(4) = "/c";
  recent(5) = "/b";
  MoveToTop(recent, "/c", true);
  EXPECT_EQ(Entries(recent, 6), (std::vector<std::string>{"/c", "/a", "/b", "", "", ""}));
}

TEST(RecentList, UpdateWritesTheSettingsAndCompactionDropsMissingFiles) {
  TempFolder dir;
  WriteFile(dir / "one.cld", "1");
  WriteFile(dir / "two.cld", "2");
  Settings s;
  s.recent(1) = dir / "gone.cld";
  s.recent(2) = dir / "one.cld";
  s.recent(4) = dir.Path();  // a folder is not a file
  s.recent(7) = dir / "two.cld";
  CompactRecent(s);
  EXPECT_EQ(Entries(s.recent, 3), (std::vector<std::string>{dir / "one.cld", dir / "two.cld", ""}));
  RecordingSink sink;
  std::string ini = dir / "Tarn.ini";
  EXPECT_EQ(UpdateRecent(s, dir / "two.cld", ini, sink), "Tarn2009: " + (dir / "two.cld"));
  EXPECT_EQ(Entries(s.recent, 2), (std::vector<std::string>{dir / "two.cld", dir / "one.cld"}));
  EXPECT_EQ(ReadFile(ini), SettingsText(s));
  EXPECT_TRUE(sink.messages.empty());
}

TEST(Paths, ShortNameFolderOfAndFileExists) {
  EXPECT_EQ(ShortName("/home/ann/tarn/samples/x.cld", 1), "/home..../samples/x.cld");
  EXPECT_EQ(ShortName("/home/ann/samples/x.cld", 1), "/home..../samples/x.cld");
  EXPECT_EQ(ShortName("rel/a/b/x.cld", 1), "rel..../b/x.cld");
  // Nothing to leave out, or fewer than two "/": the path as it is.
  for (const char* p : {"/home/samples/x.cld", "/home/x.cld", "/x.cld", "x.cld", "a/x.cld", ""})
    EXPECT_EQ(ShortName(p, 1), p);
  EXPECT_EQ(ShortName("/home/ann/tarn/samples/x.cld", 0), "/home/ann/tarn/samples/x.cld");
  EXPECT_EQ(FolderOf("/home/ann/x.cld"), "/home/ann");
  EXPECT_EQ(FolderOf("x.cld"), "");
  EXPECT_EQ(FolderOf("/x.cld"), "");
  TempFolder dir;
  WriteFile(dir / "x.cld", "");
  EXPECT_TRUE(FileExists(dir / "x.cld"));
  EXPECT_FALSE(FileExists(dir / "y.cld"));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace tarn

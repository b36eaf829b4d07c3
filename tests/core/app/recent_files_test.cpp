#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <set>

#include "model/message_sink.h"
#include "model/number_text.h"
#include "temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

Array1<std::string> FullList() {
  Array1<std::string> recent(kRecentCount);
  for (int i = 1; i <= kRecentCount; ++i) recent(i) = "/d/f" + std::to_string(i) + ".cld";
  return recent;
}

// No empty entry before a filled one, no two equal entries.
void ExpectWellFormed(const Array1<std::string>& recent) {
  std::set<std::string> seen;
  bool emptySeen = false;
  for (int i = 1; i <= recent.Upper(); ++i) {
    if (recent(i).empty()) {
      emptySeen = true;
      continue;
    }
    EXPECT_FALSE(emptySeen) << "entry " << i << " after an empty one";
    EXPECT_TRUE(seen.insert(Upper(recent(i))).second) << "duplicate " << recent(i);
  }
}

TEST(RecentList, ReopenedFileMovesToTopAndNewFilePushesTheLastOut) {
  Array1<std::string> recent = FullList();
  MoveToTop(recent, "/D/F3.CLD", true);  // the third entry, in other letters
  EXPECT_EQ(recent(1), "/D/F3.CLD");
  EXPECT_EQ(recent(2), "/d/f1.cld");
  EXPECT_EQ(recent(3), "/d/f2.cld");
  EXPECT_EQ(recent(4), "/d/f4.cld");
  EXPECT_EQ(recent(25), "/d/f25.cld");
  ExpectWellFormed(recent);

  MoveToTop(recent, "/d/new.cld", true);
  EXPECT_EQ(recent(1), "/d/new.cld");
  EXPECT_EQ(recent(2), "/D/F3.CLD");
  EXPECT_EQ(recent(25), "/d/f24.cld");
  ExpectWellFormed(recent);

  // A path whose file does not exist does not stay in the list.
  Array1<std::string> before = recent;
  MoveToTop(recent, "/gone.cld", false);
  for (int i = 1; i <= 24; ++i) EXPECT_EQ(recent(i), before(i));
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
  EXPECT_EQ(recent(1), "/c");
  EXPECT_EQ(recent(2), "/a");
  EXPECT_EQ(recent(3), "/b");
  EXPECT_EQ(recent(4), "");
  ExpectWellFormed(recent);
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
  EXPECT_EQ(s.recent(1), dir / "one.cld");
  EXPECT_EQ(s.recent(2), dir / "two.cld");
  EXPECT_EQ(s.recent(3), "");

  RecordingSink sink;
  std::string ini = dir / "Tarn.ini";
  EXPECT_EQ(UpdateRecent(s, dir / "two.cld", ini, sink), "Tarn2009: " + (dir / "two.cld"));
  EXPECT_EQ(s.recent(1), dir / "two.cld");
  EXPECT_EQ(s.recent(2), dir / "one.cld");
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

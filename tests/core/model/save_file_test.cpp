#include "core/model/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "core/model/message_sink.h"
#include "core/model/project_file.h"
#include "support/ordinary_user.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

class SaveFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    ::umask(022);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, ignored);
    fs::remove_all(dir, ignored);
  }

  std::string At(const std::string& name) const { return (dir / name).string(); }
  static std::string Read(const std::string& path) {
    std::string text;
    return ReadTextFile(path, text) ? text : "(unreadable)";
  }
  static void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  static unsigned Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
  }
  // The names in the folder: a save leaves no temporary file behind.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
  }

  fs::path dir = fs::temp_directory_path() / ("tarn_save_" + std::to_string(::getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(SaveFile, ANewFileAndAReplacedOneKeepTheirPermissions) {
  const std::string path = At("copper.cld");
  ASSERT_TRUE(SaveTextFile(path, "first").ok);
  EXPECT_EQ(Read(path), "first");
  EXPECT_EQ(Mode(path), 0644u);  // 0666 less the umask, as any new file
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(SaveTextFile(path, "second").ok);
  EXPECT_EQ(Read(path), "second");
  EXPECT_EQ(Mode(path), 0640u);  // the temporary file was 0600 until it took the file's
  EXPECT_EQ(Names(), std::set<std::string>{"copper.cld"});
}

TEST_F(SaveFile, ASymbolicLinkIsWrittenThroughAndStaysALink) {
  fs::create_directories(dir / "real");
  const std::string real = At("real/copper.cld");
  Write(real, "old");
  ::chmod(real.c_str(), 0600);
  fs::create_symlink("real/copper.cld", dir / "relative.cld");  // relative to the link's folder
  fs::create_symlink(dir / "relative.cld", dir / "chain.cld");  // a link to a link
  ASSERT_TRUE(SaveTextFile(At("chain.cld"), "new").ok);
  EXPECT_TRUE(fs::is_symlink(dir / "chain.cld"));
  EXPECT_TRUE(fs::is_symlink(dir / "relative.cld"));
  EXPECT_EQ(Read(real), "new");
  EXPECT_EQ(Mode(real), 0600u);

  fs::create_symlink("real/later.cld", dir / "dangling.cld");  // names a file not made yet
  ASSERT_TRUE(SaveTextFile(At("dangling.cld"), "made").ok);
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.cld"));
  EXPECT_EQ(Read(At("real/later.cld")), "made");

  fs::create_symlink("loop2.cld", dir / "loop1.cld");
  fs::create_symlink("loop1.cld", dir / "loop2.cld");
  SaveResult loop = SaveTextFile(At("loop1.cld"), "x");
  EXPECT_FALSE(loop.ok);
  EXPECT_EQ(loop.error, ELOOP);
}

TEST_F(SaveFile, ReadOnlyFilesAndThingsThatAreNoFilesAreRefused) {
  const std::string path = At("kept.cld");
  Write(path, "protected");
  ::chmod(path.c_str(), 0444);  // refused even when the tests run as the super-user
  SaveResult readOnly = SaveTextFile(path, "lost");
  EXPECT_FALSE(readOnly.ok);
  EXPECT_EQ(readOnly.failedAt, SaveStep::kCreate);
  EXPECT_EQ(readOnly.error, EACCES);
  EXPECT_EQ(Read(path), "protected");
  EXPECT_EQ(Mode(path), 0444u);

  fs::create_symlink(path, dir / "link.cld");  // through a link as well
  EXPECT_FALSE(SaveTextFile(At("link.cld"), "lost").ok);
  EXPECT_EQ(Read(path), "protected");

  fs::create_directories(dir / "folder.cld");
  EXPECT_EQ(SaveTextFile(At("folder.cld"), "x").error, EISDIR);
  EXPECT_FALSE(SaveTextFile("/dev/null", "x").ok);  // a device is never replaced
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(SaveTextFile(At("missing/x.cld"), "x").ok);
  EXPECT_EQ(Names(), (std::set<std::string>{"folder.cld", "kept.cld", "link.cld"}));
}

// A link planted where the temporary file used to go, the file's name and
// ".saving~", was written through: the save wrote into whatever it named.
TEST_F(SaveFile, ATemporaryNameCannotBePlanted) {
  const std::string path = At("copper.cld"), victim = At("victim");
  Write(path, "old");
  Write(victim, "not to be touched");
  fs::create_symlink(victim, path + ".saving~");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(SaveTextFile(path, "new " + std::to_string(i)).ok);
  EXPECT_EQ(Read(path), "new 2");
  EXPECT_EQ(Read(victim), "not to be touched");
  EXPECT_EQ(Names(), (std::set<std::string>{"copper.cld", "copper.cld.saving~", "victim"}));
}

// A full disk cannot be made in a test: each step is made to fail in turn.
TEST_F(SaveFile, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
  const std::string path = At("copper.cld");
  Write(path, "old");
  const std::string text(100000, 'x');  // more than one write would need
  for (SaveStep step : {SaveStep::kCreate, SaveStep::kWrite, SaveStep::kFlush, SaveStep::kClose, SaveStep::kRename}) {
    SCOPED_TRACE(static_cast<int>(step));
    InjectedSaveFault fault(step, ENOSPC);
    SaveResult result = SaveTextFile(path, text);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedAt, step);
    EXPECT_EQ(result.error, ENOSPC);
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"copper.cld"});
  }
  ASSERT_TRUE(SaveTextFile(path, text).ok);  // the fault is gone with its object
  EXPECT_EQ(Read(path), text);
}

// The choice for a writable file in a read-only folder: refused, the file as
// it was. No temporary file can be made beside it, and writing the file in
// place would destroy it if the disk filled half-way.
TEST_F(SaveFile, AWritableFileInAReadOnlyFolderIsRefusedAndKept) {
  const std::string path = At("shared.cld");
  Write(path, "old");
  ::chmod(path.c_str(), 0666);
  ::chmod(dir.c_str(), 0555);
  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    SaveResult r = SaveTextFile(path, "new");
    return !r.ok && r.failedAt == SaveStep::kCreate && r.error == EACCES;
  }));
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(Names(), std::set<std::string>{"shared.cld"});
}

}  // namespace
}  // namespace tarn

#include "core/app/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(ProgramFolder, ChoiceFollowsTarnHomeThenExecutableThenXdg) {
  TempFolder exe;
  std::string missing = exe / "not-there";
  EXPECT_EQ(ResolveProgramFolder(exe.Path(), {"/opt/th/", "/x", "/home/ann"}), "/opt/th");
  EXPECT_EQ(ResolveProgramFolder(exe.Path() + "/", {"", "/x", "/home/ann"}), exe.Path());
  EXPECT_EQ(ResolveProgramFolder(missing, {"", "/x/data", "/home/ann"}), "/x/data/tarn");
  // A relative XDG_DATA_HOME is ignored; HOME gives the default data folder.
  EXPECT_EQ(ResolveProgramFolder(missing, {"", "rel", "/home/ann"}), "/home/ann/.local/share/tarn");
  EXPECT_EQ(ResolveProgramFolder(missing, {"", "", ""}), missing);
  EXPECT_EQ(SettingsPath("/p"), "/p/Tarn.ini");
  EXPECT_EQ(StorePath("/p"), "/p/store.fil");
}

// An installed program (<prefix>/bin beside <prefix>/share/tarn) keeps the
// user's files in the user's data folder even where it could write its own
// folder (the super-user's /usr/bin, a package unpacked into a folder of one's
// own), and seeds them from the installed data; a build seeds from its own
// folder.
TEST(ProgramFolder, AnInstalledProgramUsesTheDataFolderAndSeedsFromShare) {
  TempFolder root;
  const std::string bin = root / "usr/bin", share = root / "usr/share/tarn";
  std::filesystem::create_directories(bin);
  WriteFile(share + "/samples/acid.cld", "shipped");
  EXPECT_EQ(InstalledDataFolder(bin), share);
  EXPECT_EQ(ResolveProgramFolder(bin, {"", "/x/data", "/home/ann"}), "/x/data/tarn");
  EXPECT_EQ(ResolveProgramFolder(bin, {root / "home", "/x/data", "/home/ann"}), root / "home");
  EXPECT_EQ(ShippedDataFolder(bin), share);

  const std::string program = root / "data/tarn";
  ASSERT_TRUE(PrepareProgramFolder(program, ShippedDataFolder(bin)));
  EXPECT_EQ(SampleFiles(program), std::vector<std::string>{program + "/samples/acid.cld"});

  TempFolder build;
  WriteFile(build / "samples/acid.cld", "built");
  EXPECT_EQ(ResolveProgramFolder(build.Path(), {"", "/x/data", "/home/ann"}), build.Path());
  EXPECT_EQ(ShippedDataFolder(build.Path()), build.Path());
  EXPECT_EQ(ShippedDataFolder(root / "usr"), "");
}

TEST(ProgramFolder, FirstStartSeedsMissingFilesOnlyAndListsSamplesByName) {
  TempFolder source, home;
  WriteFile(source / "samples/zinc.cld", "z");
  WriteFile(source / "samples/Acid.cld", "shipped");
  WriteFile(source / "samples/sub/inner.cld", "i");
  WriteFile(source / "help/img/logo.png", "png");
  std::string program = home / "tarn";
  std::filesystem::create_directories(program + "/samples");
  WriteFile(program + "/samples/Acid.cld", "kept");

  ASSERT_TRUE(PrepareProgramFolder(program, source.Path()));
  EXPECT_EQ(ReadFile(program + "/samples/Acid.cld"), "kept");
  EXPECT_EQ(ReadFile(program + "/samples/zinc.cld"), "z");
  EXPECT_EQ(ReadFile(program + "/help/img/logo.png"), "png");
  EXPECT_TRUE(std::filesystem::is_directory(program + "/data1"));
  // Files only, sorted by name (upper case before lower case).
  EXPECT_EQ(SampleFiles(program),
            (std::vector<std::string>{program + "/samples/Acid.cld", program + "/samples/zinc.cld"}));

  // Not a first start any more: a sample the user deleted is not brought back.
  WriteFile(program + "/Tarn.ini", "<Tarnini>\r\n</Tarnini>\r\n");
  std::filesystem::remove(program + "/samples/zinc.cld");
  ASSERT_TRUE(PrepareProgramFolder(program, source.Path()));
  EXPECT_FALSE(std::filesystem::exists(program + "/samples/zinc.cld"));

  // The source may be the program folder itself.
  EXPECT_TRUE(PrepareProgramFolder(source.Path(), source.Path()));
  EXPECT_FALSE(PrepareProgramFolder(source / "samples/zinc.cld/x", ""));
}

}  // namespace
}  // namespace tarn

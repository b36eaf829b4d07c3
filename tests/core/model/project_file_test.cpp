#include "core/model/project_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/save_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// The fuzz target's seed, written by hand: blanks in names, an empty caption,
// a lower-case "true" flag, a distribution volume of 0, a single point, a solid.
std::string HandMade() {
  std::string text;
  EXPECT_TRUE(ReadTextFile(TARN_SOURCE_DIR "/tests/fuzz/corpus/fuzz_project_file/hand_made.cld", text));
  return text;
}

ProjectState ReadHandMade() {
  ProjectState s;
  RecordingSink sink;
  EXPECT_EQ(ReadProjectText(s, HandMade(), sink), ReadStatus::kOk);
  EXPECT_TRUE(sink.messages.empty());
  return s;
}

TEST(Elements, GetAndMake) {
  EXPECT_EQ(GetElement("b 3", "<b3> x </b3>"), " x ");
  EXPECT_EQ(GetElement("b3", "<b3>x"), "");
  EXPECT_EQ(GetElement("b3", "</b3><b3>"), "");
  EXPECT_EQ(GetElement("B3", "<b3>x</b3>"), "");
  EXPECT_EQ(MakeElement("b 3", "  x y  "), "<b3>x y</b3>");
}

TEST(ProjectFile, HandMadeFileReadsAsTheFormatSaysAndWritesBackStably) {
  ProjectState s = ReadHandMade();
  EXPECT_EQ(s.proton, 3);
  EXPECT_EQ(s.name(1), "  Cu ");
  EXPECT_DOUBLE_EQ(s.logbeta(1), static_cast<float>(8.1));  // written "8,1"
  EXPECT_EQ(s.refine(2), -1);
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_FLOAT_EQ(s.logksp(1), -19.32f);
  EXPECT_EQ(s.sa(3, 1), -2);
  EXPECT_EQ(s.volume[1], 1);
  EXPECT_DOUBLE_EQ(s.vadded, 5);
  EXPECT_DOUBLE_EQ(s.final(3, 0), (static_cast<double>(0.1f) + 5 * static_cast<double>(-0.1f)) / 25);
  EXPECT_TRUE(s.flag(1, 0) && s.flag(3, 0) && s.flag(1, 1));
  EXPECT_FALSE(s.flag(2, 1));  // lower-case "true" is not "True"
  EXPECT_TRUE(s.sflag(1, 1));  // any text containing "True" in single points
  EXPECT_FALSE(s.sflag(3, 1));
  EXPECT_EQ(s.sfree(3, 1), 7);
  EXPECT_EQ(s.caption(1), "  Cu ");
  EXPECT_EQ(s.caption(2), "glycinate");
  EXPECT_EQ(s.caption(4), "Cugly cine");
  EXPECT_EQ(s.resonance, "  nmr data  ");
  EXPECT_FALSE(s.modified);
  EXPECT_TRUE(s.recalc);

  std::string written = ProjectText(s);
  for (const char* part : {"<name1>Cu</name1>\r\n<name2>gly cine</name2>", "<resonance>nmr data</resonance>\r\n<Tarn>",
                           "<b1><value>8.1</value><a1>1</a1><a2>1</a2><a3>0</a3><refine>1</refine></b1>",
                           "<simulation>\r\n<volume>1</volume>"})
    EXPECT_NE(written.find(part), std::string::npos) << part;
  EXPECT_EQ(written.find("absorbance_data"), std::string::npos);  // an empty data section is left out
  s.nsingle = 0;
  EXPECT_NE(ProjectText(s).find("<single>\r\n<number>0</number>\r\n</single>\r\n"), std::string::npos);

  // Written, read and written again: the same bytes.
  ProjectState again;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(again, written, sink), ReadStatus::kOk);
  EXPECT_EQ(ProjectText(again), written);
}

TEST(ProjectFile, ModelOnlyFileKeepsTypeAndDefaultsFlags) {
  std::string text = HandMade();
  text = text.substr(0, text.find("<Tarn>")) + "</calvor>\r\n";
  ProjectState s;
  s.type = kDistribution;
  RecordingSink sink;
  ASSERT_EQ(KindOfProjectText(text), ProjectTextKind::kModelOnly);
  ASSERT_EQ(ReadProjectText(s, text, sink), ReadStatus::kOk);
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_EQ(s.nsolids, 0);
  EXPECT_EQ(s.nsingle, 0);
  EXPECT_TRUE(s.flag(2, 1));
  EXPECT_EQ(s.caption(4), "Cugly cine");
}

TEST(ProjectFile, AbsurdCountsAreRefusedAndLeaveTheProject) {
  ProjectState s = ReadHandMade();
  const std::string before = ProjectText(s);
  RecordingSink sink;
  for (const char* count : {"-1", "2000000000", "1e300", "99999"}) {
    std::string text = HandMade();
    text.replace(text.find("<number>2</number>"), 18, std::string("<number>") + count + "</number>");
    EXPECT_EQ(ReadProjectText(s, text, sink), ReadStatus::kRefused) << count;
    EXPECT_EQ(ProjectText(s), before);
  }
  EXPECT_EQ(sink.messages, std::vector<std::string>(4, DamagedFileMessage("")));
}

// A project file cut short by a crash or a full disk, its Tarn section open
// and never closed, was taken for a model without Tarn data: the import
// window came, defaults replaced what remained, and Save destroyed the rest.
// Every cut, at every byte, is now damaged; reading one changes nothing.
TEST(ProjectFile, EveryCutOfAProjectIsDamagedAndChangesNothing) {
  const std::string whole = HandMade();
  const std::size_t end = whole.find("</calvor>") + 9;
  for (std::size_t cut = 0; cut < end; ++cut)
    ASSERT_EQ(KindOfProjectText(whole.substr(0, cut)), ProjectTextKind::kDamaged) << whole.substr(0, cut);
  EXPECT_EQ(KindOfProjectText(whole.substr(0, end)), ProjectTextKind::kProject);

  ProjectState s = ReadHandMade();
  s.currentFile = "/data/copper.cld";
  s.modified = true;
  const std::string before = ProjectText(s);
  RecordingSink sink;
  for (std::size_t cut : {std::size_t{0}, whole.find("<Tarn>"), whole.find("<captions>"), end - 1}) {
    EXPECT_EQ(ReadProjectText(s, whole.substr(0, cut), sink), ReadStatus::kRefused) << cut;
    EXPECT_EQ(ProjectText(s), before);
    EXPECT_TRUE(s.modified);
  }
  EXPECT_EQ(sink.messages, std::vector<std::string>(4, "/data/copper.cld is damaged or not a Tarn project file"));
}

// The import window is for a complete model with no Tarn data at all (or an
// empty Tarn section); anything else that is not a whole project is damaged.
TEST(ProjectFile, WhatCountsAsAProjectAModelOnlyFileOrADamagedOne) {
  const std::string model = "<model><reagents><number>1</number><name1>L</name1></reagents></model>";
  const std::pair<std::string, ProjectTextKind> cases[] = {
      {"<calvor>" + model + "<Tarn><type>1</type></Tarn></calvor>", ProjectTextKind::kProject},
      {"<calvor>" + model + "<potentiometric_data>x</potentiometric_data></calvor>", ProjectTextKind::kModelOnly},
      {"<calvor>" + model + "<Tarn> \r\n </Tarn></calvor>", ProjectTextKind::kModelOnly},
      {"<calvor>" + model + "<Tarn><type>1</type></calvor>", ProjectTextKind::kDamaged},
      {"<calvor>" + model + "</Tarn><Tarn></calvor>", ProjectTextKind::kDamaged},
      {"<calvor>" + model + "</calvor><Tarn><type>1</type></Tarn>", ProjectTextKind::kDamaged},
      {model + "<Tarn><type>1</type></Tarn>", ProjectTextKind::kDamaged},
      {"<calvor><model><reagents></calvor></model>", ProjectTextKind::kDamaged},
      {"<calvor></calvor>", ProjectTextKind::kDamaged},
      {"just some notes", ProjectTextKind::kDamaged},
  };
  for (const auto& [text, kind] : cases) EXPECT_EQ(KindOfProjectText(text), kind) << text;

  // Bytes of any other kind of file.
  std::mt19937 random(12);
  for (int n = 0; n < 200; ++n) {
    std::string bytes(random() % 3000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    EXPECT_EQ(KindOfProjectText(bytes), ProjectTextKind::kDamaged);
  }
}

// Counts were checked against the file's size one by one, not their
// products: 7 KB declaring 7,000 reagents and 7,000 species or single points
// took 26 s and 1.7 GB to read. A file must hold a few bytes for every cell
// its arrays declare; real projects, large ones too, hold many more.
TEST(ProjectFile, AFileThatDeclaresMoreThanItHoldsIsDamaged) {
  auto declaring = [](int nreag, int nspecies, int nsingle) {
    std::string text = "<calvor><model><reagents><number>" + std::to_string(nreag) +
                       "</number></reagents><betas><number>" + std::to_string(nspecies) +
                       "</number></betas></model><Tarn><type>1</type><single><number>" + std::to_string(nsingle) +
                       "</number></single></Tarn></calvor>";
    return text + std::string(7000 - text.size(), ' ');
  };
  ProjectState s = ReadHandMade();
  const std::string before = ProjectText(s);
  RecordingSink sink;
  for (const std::string& text :
       {declaring(7000, 7000, 0), declaring(7000, 1, 7000), declaring(1, 3000, 3000), declaring(0, 1, 0)}) {
    ASSERT_EQ(text.size(), 7000u);
    EXPECT_EQ(ReadProjectText(s, text, sink), ReadStatus::kRefused);
    EXPECT_EQ(ProjectText(s), before);
  }
  EXPECT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(ReadProjectText(s, declaring(2, 40, 20), sink), ReadStatus::kOk);  // what 7 KB may declare

  // A large project as the program writes it reads back whole.
  ProjectState large;
  large.nreag = 40;
  large.nspecies = 800;
  large.nsolids = 30;
  large.nsingle = 300;
  large.nsoluble = large.nreag + large.nspecies;
  AllocateModel(large);
  for (int j = 1; j <= large.nreag; ++j) large.name(j) = "R" + std::to_string(j);
  ProjectState back;
  ASSERT_EQ(ReadProjectText(back, ProjectText(large), sink), ReadStatus::kOk);
  EXPECT_EQ(back.nsingle, 300);
  EXPECT_EQ(sink.messages.size(), 4u);
}

class ProjectFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir =
      fs::temp_directory_path() / ("tarn_pf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string path = (dir / "copper.cld").string();
  ProjectState s = ReadHandMade();
  RecordingSink sink;
};

TEST_F(ProjectFileOnDisk, SaveThenOpenIsTheSameProject) {
  s.modified = true;
  ASSERT_TRUE(WriteProject(s, path, sink));
  EXPECT_FALSE(s.modified);
  ProjectState r;
  ASSERT_EQ(OpenXML(r, "\"" + path + "\"", sink), ReadStatus::kOk);
  EXPECT_EQ(r.currentFile, path);  // quotes dropped, so Save writes the file itself
  EXPECT_EQ(ProjectText(r), ProjectText(s));
  std::string onDisk;
  ASSERT_TRUE(ReadTextFile(path, onDisk));
  EXPECT_EQ(onDisk, ProjectText(s));
}

TEST_F(ProjectFileOnDisk, FailedSaveKeepsTheOldFileAndTheMark) {
  std::ofstream(path) << "old contents";
  s.modified = true;
  {
    InjectedSaveFault fullDisk(SaveStep::kWrite, ENOSPC);
    EXPECT_FALSE(WriteProject(s, path, sink));
  }
  EXPECT_TRUE(s.modified);
  EXPECT_EQ(sink.messages, std::vector<std::string>{"can't save " + path + "\rtry saving with another name"});
  std::string onDisk;
  ASSERT_TRUE(ReadTextFile(path, onDisk));
  EXPECT_EQ(onDisk, "old contents");
  EXPECT_FALSE(WriteProject(s, (dir / "nowhere" / "x.cld").string(), sink));  // a missing folder
  EXPECT_TRUE(s.modified);
}

TEST_F(ProjectFileOnDisk, UnreadableFileChangesNothing) {
  EXPECT_EQ(OpenXML(s, (dir / "missing.cld").string(), sink), ReadStatus::kUnreadable);
  EXPECT_EQ(s.title, "Copper glycinate");
  EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace tarn

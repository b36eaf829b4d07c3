#include "model/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/message_sink.h"
#include "model/model.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// A hand-made file: blanks in names, an empty caption, a lower-case "true"
// flag, a distribution volume of 0, a single point, a solid.
const char* kHandMade =
    "<calvor>\r\n<model>\r\n<title>Copper glycinate</title>\r\n<maxit>25</maxit>\r\n<mode>0</mode>\r\n"
    "<excessive>.33</excessive>\r\n<reagents>\r\n<number>3</number>\r\n<name1>  Cu </name1>\r\n"
    "<name2>gly cine</name2>\r\n<name3>H</name3>\r\n</reagents>\r\n<betas>\r\n<number>2</number>\r\n"
    "<b1><value>8,1</value><a1>1</a1><a2>1</a2><a3>0</a3><refine>1</refine></b1>\r\n"
    "<b2><value>-13.77</value><a1>0</a1><a2>0</a2><a3>-1</a3><refine>-1</refine></b2>\r\n"
    "</betas>\r\n<selector>abc</selector>\r\n</model>\r\n<resonance>  nmr data  </resonance>\r\n"
    "<absorbance_data>   </absorbance_data>\r\n<Tarn>\r\n<type>1</type>\r\n<insolubles>\r\n<number>1</number>\r\n"
    "<i1><value>-19.32</value><a1>1</a1><a2>0</a2><a3>-2</a3></i1>\r\n</insolubles>\r\n<titration>\r\n"
    "<volume>20</volume><final>25</final>\r\n<r1><total>.02</total><burette>0</burette></r1>\r\n"
    "<r2><total>.04</total><burette>0</burette></r2>\r\n<r3><total>.1</total><burette>-.1</burette></r3>\r\n"
    "</titration>\r\n<simulation>\r\n<volume>0</volume>\r\n"
    "<r1><initial>.001</initial><final>.001</final><pxi>0</pxi><pxf>0</pxf><flag>True</flag></r1>\r\n"
    "<r2><initial>.002</initial><final>.002</final><pxi>0</pxi><pxf>0</pxf><flag>true</flag></r2>\r\n"
    "<r3><initial>0</initial><final>0</final><pxi>2</pxi><pxf>11</pxf><flag>False</flag></r3>\r\n"
    "</simulation>\r\n<single>\r\n<number>1</number>\r\n"
    "<p1><total1>.001</total1><free1>0</free1><flag1>xTruex</flag1><total2>.002</total2><free2>0</free2>"
    "<flag2>True</flag2><total3>0</total3><free3>7</free3><flag3>False</flag3></p1>\r\n</single>\r\n"
    "<captions>\r\n<c1></c1>\r\n<c2>glycinate</c2>\r\n</captions>\r\n</Tarn>\r\n</calvor>\r\n";

TEST(Elements, GetAndMake) {
  EXPECT_EQ(GetElement("b 3", "<b3> x </b3>"), " x ");
  EXPECT_EQ(GetElement("b3", "<b3>x"), "");
  EXPECT_EQ(GetElement("b3", "</b3><b3>"), "");
  EXPECT_EQ(GetElement("B3", "<b3>x</b3>"), "");
  EXPECT_EQ(MakeElement("b 3", "  x y  "), "<b3>x y</b3>");
}

TEST(ProjectFile, HandMadeFileReadsAsTheFormatSays) {
  ProjectState s;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(s.nreag, 3);
  EXPECT_EQ(s.proton, 3);
  EXPECT_EQ(s.name(1), "  Cu ");
  EXPECT_DOUBLE_EQ(s.logbeta(1), static_cast<float>(8.1));
  EXPECT_EQ(s.refine(2), -1);
  EXPECT_EQ(s.a(3, 2), -1);
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_FLOAT_EQ(s.logksp(1), -19.32f);
  EXPECT_EQ(s.sa(3, 1), -2);
  EXPECT_EQ(s.volume[1], 1);
  EXPECT_DOUBLE_EQ(s.vadded, 5);
  EXPECT_DOUBLE_EQ(s.initial(1, 0), static_cast<double>(0.02f) / 20);
  EXPECT_DOUBLE_EQ(s.final(3, 0), (static_cast<double>(0.1f) + 5 * static_cast<double>(-0.1f)) / 25);
  EXPECT_TRUE(s.flag(1, 0) && s.flag(3, 0));
  EXPECT_TRUE(s.flag(1, 1));
  EXPECT_FALSE(s.flag(2, 1));  // lower-case "true" is not "True"
  EXPECT_TRUE(s.sflag(1, 1));  // any text containing "True" in single points
  EXPECT_FALSE(s.sflag(3, 1));
  EXPECT_EQ(s.sfree(3, 1), 7);
  EXPECT_EQ(s.caption(1), "  Cu ");
  EXPECT_EQ(s.caption(2), "glycinate");
  EXPECT_EQ(s.caption(4), "Cugly cine");
  EXPECT_EQ(s.caption(6), "CuH-2(s)");
  EXPECT_EQ(s.resonance, "  nmr data  ");
  EXPECT_FALSE(s.modified);
  EXPECT_TRUE(s.recalc);

  std::string written = ProjectText(s);
  EXPECT_NE(written.find("<name1>Cu</name1>\r\n<name2>gly cine</name2>"), std::string::npos);
  EXPECT_NE(written.find("<resonance>nmr data</resonance>\r\n<Tarn>"), std::string::npos);
  EXPECT_EQ(written.find("absorbance_data"), std::string::npos);
  EXPECT_NE(written.find("<b1><value>8.1</value><a1>1</a1><a2>1</a2><a3>0</a3><refine>1</refine></b1>"),
            std::string::npos);
  EXPECT_NE(written.find("<simulation>\r\n<volume>1</volume>"), std::string::npos);

  // Written, read and written again: the same bytes.
  ProjectState again;
  ASSERT_EQ(ReadProjectText(again, written, sink), ReadStatus::kOk);
  EXPECT_EQ(ProjectText(again), written);
}

TEST(ProjectFile, NoSinglePointsStillWritesTheSection) {
  ProjectState s;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  s.nsingle = 0;
  EXPECT_NE(ProjectText(s).find("<single>\r\n<number>0</number>\r\n</single>\r\n"), std::string::npos);
}

TEST(ProjectFile, ModelOnlyFileKeepsTypeAndDefaultsFlags) {
  std::string text(kHandMade);
  text = text.substr(0, text.find("<Tarn>")) + "</calvor>\r\n";
  ProjectState s;
  s.type = kDistribution;
  RecordingSink sink;
  ASSERT_TRUE(TarnSectionEmpty(text));
  ASSERT_EQ(ReadProjectText(s, text, sink), ReadStatus::kOk);
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_EQ(s.nsolids, 0);
  EXPECT_EQ(s.nsingle, 0);
  EXPECT_TRUE(s.flag(2, 1));
  EXPECT_EQ(s.caption(4), "Cugly cine");
}

TEST(ProjectFile, AbsurdCountsAreRefusedAndLeaveTheProject) {
  ProjectState s;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  for (const char* count : {"-1", "2000000000", "1e300", "99999"}) {
    std::string text(kHandMade);
    text.replace(text.find("<number>2</number>"), 18, std::string("<number>") + count + "</number>");
    EXPECT_EQ(ReadProjectText(s, text, sink), ReadStatus::kRefused) << count;
    EXPECT_EQ(s.nspecies, 2);
    EXPECT_EQ(s.title, "Copper glycinate");
  }
  EXPECT_EQ(sink.messages.size(), 4u);
}

class ProjectFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tarn_pf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir, ec);
  }
  fs::path dir;
  RecordingSink sink;
};

TEST_F(ProjectFileOnDisk, SaveThenOpenIsTheSameProject) {
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  s.modified = true;
  std::string path = (dir / "copper.cld").string();
  ASSERT_TRUE(WriteProject(s, path, sink));
  EXPECT_FALSE(s.modified);
  ProjectState r;
  r.currentFile = "\"" + path + "\"";
  ASSERT_EQ(OpenXML(r, sink), ReadStatus::kOk);
  EXPECT_EQ(ProjectText(r), ProjectText(s));
  std::string onDisk;
  ASSERT_TRUE(ReadTextFile(path, onDisk));
  EXPECT_EQ(onDisk, ProjectText(s));
}

TEST_F(ProjectFileOnDisk, FailedSaveKeepsTheOldFileAndTheMark) {
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  std::string path = (dir / "copper.cld").string();
  { std::ofstream(path) << "old contents"; }
  // The temporary file cannot be made (a folder has its name), whatever the
  // rights of the user running the test.
  fs::create_directories(path + ".saving~/x");
  s.modified = true;
  EXPECT_FALSE(WriteProject(s, path, sink));
  EXPECT_TRUE(s.modified);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "can't save " + path + "\rtry saving with another name");
  std::string onDisk;
  ASSERT_TRUE(ReadTextFile(path, onDisk));
  EXPECT_EQ(onDisk, "old contents");
}

TEST_F(ProjectFileOnDisk, SaveIntoAMissingFolderFails) {
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  s.modified = true;
  EXPECT_FALSE(WriteProject(s, (dir / "nowhere" / "x.cld").string(), sink));
  EXPECT_TRUE(s.modified);
  EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(ProjectFileOnDisk, UnreadableFileChangesNothing) {
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, kHandMade, sink), ReadStatus::kOk);
  s.currentFile = (dir / "missing.cld").string();
  EXPECT_EQ(OpenXML(s, sink), ReadStatus::kUnreadable);
  EXPECT_EQ(s.title, "Copper glycinate");
  EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace tarn

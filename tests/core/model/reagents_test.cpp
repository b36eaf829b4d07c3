#include "model/reagents.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/message_sink.h"
#include "model/model.h"
#include "model/project_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// Cu, L, H. Species: CuL, CuL2H-1, LH, LH2, CuL2, H-1 (three consecutive ones
// with a proton), the solid CuH-2(s), two single points, custom captions on
// CuL2 and the solid, distinct conditions per reagent and column.
const char* kCopperProject =
    "<calvor><model><title>Cu-L-H</title><maxit>25</maxit><mode>0</mode><excessive>.33</excessive>"
    "<reagents><number>3</number><name1>Cu</name1><name2>L</name2><name3>H</name3></reagents>"
    "<betas><number>6</number>"
    "<b1><value>8.1</value><a1>1</a1><a2>1</a2><a3>0</a3><refine>1</refine></b1>"
    "<b2><value>5.2</value><a1>1</a1><a2>2</a2><a3>-1</a3><refine>0</refine></b2>"
    "<b3><value>9.6</value><a1>0</a1><a2>1</a2><a3>1</a3><refine>1</refine></b3>"
    "<b4><value>12</value><a1>0</a1><a2>1</a2><a3>2</a3><refine>0</refine></b4>"
    "<b5><value>15</value><a1>1</a1><a2>2</a2><a3>0</a3><refine>-1</refine></b5>"
    "<b6><value>-13.77</value><a1>0</a1><a2>0</a2><a3>-1</a3><refine>0</refine></b6>"
    "</betas><selector>sel</selector></model><potentiometric_data>pot</potentiometric_data>"
    "<Tarn><type>1</type><insolubles><number>1</number>"
    "<i1><value>-19.32</value><a1>1</a1><a2>0</a2><a3>-2</a3></i1></insolubles>"
    "<titration><volume>20</volume><final>25</final>"
    "<r1><total>.01</total><burette>.11</burette></r1><r2><total>.02</total><burette>.12</burette></r2>"
    "<r3><total>.03</total><burette>.13</burette></r3></titration>"
    "<simulation><volume>2</volume>"
    "<r1><initial>1</initial><final>11</final><pxi>21</pxi><pxf>31</pxf><flag>True</flag></r1>"
    "<r2><initial>2</initial><final>12</final><pxi>22</pxi><pxf>32</pxf><flag>False</flag></r2>"
    "<r3><initial>3</initial><final>13</final><pxi>23</pxi><pxf>33</pxf><flag>True</flag></r3></simulation>"
    "<single><number>2</number>"
    "<p1><total1>1</total1><free1>4</free1><flag1>True</flag1><total2>2</total2><free2>5</free2>"
    "<flag2>False</flag2><total3>3</total3><free3>6</free3><flag3>True</flag3></p1>"
    "<p2><total1>7</total1><free1>10</free1><flag1>False</flag1><total2>8</total2><free2>11</free2>"
    "<flag2>True</flag2><total3>9</total3><free3>12</free3><flag3>False</flag3></p2></single>"
    "<captions><c8>bis complex</c8><c10>tenorite</c10></captions></Tarn></calvor>";

class Reagents : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReadProjectText(s, kCopperProject, sink), ReadStatus::kOk);
    s.plotMark(8) = 1;
    s.speciesInfo(0, 8) = 0.25;
    s.speciesInfo(1, 8) = 0.75;
  }

  // Every array is sized from the counts, and the project written to a file
  // and read back is the same project.
  void ExpectConsistent() {
    EXPECT_EQ(s.nsoluble, s.nreag + s.nspecies);
    EXPECT_EQ(s.name.Upper(), s.nreag);
    EXPECT_EQ(s.a.Upper1(), s.nreag);
    EXPECT_EQ(s.a.Upper2(), s.nspecies);
    EXPECT_EQ(s.logbeta.Upper(), s.nspecies);
    EXPECT_EQ(s.sa.Upper1(), s.nreag);
    EXPECT_EQ(s.total.Upper1(), s.nreag);
    EXPECT_EQ(s.flag.Upper1(), s.nreag);
    EXPECT_EQ(s.stotal.Upper1(), s.nreag);
    EXPECT_EQ(s.sflag.Upper2(), s.nsingle);
    EXPECT_EQ(s.sresult.Upper1(), s.ntotal());
    EXPECT_EQ(s.caption.Upper(), s.ntotal());
    EXPECT_EQ(s.speciesInfo.Upper2(), s.ntotal());
    EXPECT_EQ(s.plotMark.Upper(), s.ntotal());
    for (int j = 1; j <= s.nreag; ++j) EXPECT_TRUE(s.flag(j, kTitration)) << j;
    EXPECT_TRUE(s.modified);
    EXPECT_TRUE(s.recalc);

    fs::path path =
        fs::temp_directory_path() /
        ("tarn_reagents_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cld");
    ASSERT_TRUE(WriteProject(s, path.string(), sink));
    std::string text;
    ASSERT_TRUE(ReadTextFile(path.string(), text));
    fs::remove(path);
    ProjectState back;
    ASSERT_EQ(ReadProjectText(back, text, sink), ReadStatus::kOk);
    EXPECT_EQ(ProjectText(back), text);
    EXPECT_EQ(back.proton, s.proton);
    for (int j = 1; j <= s.nreag; ++j) EXPECT_DOUBLE_EQ(back.final(j, kTitration), s.final(j, kTitration)) << j;
    EXPECT_TRUE(sink.messages.empty());
    s.modified = true;
  }

  ProjectState s;
  RecordingSink sink;
};

TEST_F(Reagents, AddingAppendsAnEmptyReagentAndResetsCaptions) {
  AddReagent(s);
  ASSERT_EQ(s.nreag, 4);
  EXPECT_EQ(s.name(4), "D");
  EXPECT_EQ(s.nspecies, 6);
  for (int i = 1; i <= s.nspecies; ++i) EXPECT_EQ(s.a(4, i), 0) << i;
  EXPECT_EQ(s.sa(4, 1), 0);
  EXPECT_EQ(s.a(3, 2), -1);
  EXPECT_EQ(s.sa(3, 1), -2);
  EXPECT_EQ(s.caption(4), "D");
  EXPECT_EQ(s.caption(9), "CuL2");  // the custom caption is reset
  EXPECT_EQ(s.caption(11), "CuH-2(s)");
  EXPECT_EQ(s.plotMark(9), 0);
  EXPECT_EQ(s.speciesInfo(0, 9), 0);
  // Old conditions kept in both columns, the new row empty with its total given in a titration.
  EXPECT_DOUBLE_EQ(s.burette(3, kTitration), static_cast<double>(0.13f));
  EXPECT_EQ(s.pxf(3, kDistribution), 33);
  EXPECT_FALSE(s.flag(2, kDistribution));
  EXPECT_EQ(s.total(4, kTitration), 0);
  EXPECT_EQ(s.pxi(4, kDistribution), 0);
  EXPECT_TRUE(s.flag(4, kTitration));
  EXPECT_FALSE(s.flag(4, kDistribution));
  // Single points keep their data; the new reagent has total 0 given.
  EXPECT_EQ(s.stotal(3, 2), 9);
  EXPECT_EQ(s.sfree(2, 2), 11);
  EXPECT_EQ(s.stotal(4, 1), 0);
  EXPECT_TRUE(s.sflag(4, 2));
  EXPECT_EQ(s.proton, 3);
  EXPECT_EQ(s.selector, "sel");
  ExpectConsistent();
}

TEST_F(Reagents, RemovingTheProtonDeletesItsSpeciesAndKeepsTheOthers) {
  ASSERT_TRUE(RemoveReagent(s, 3));
  ASSERT_EQ(s.nreag, 2);
  EXPECT_EQ(s.proton, 0);
  EXPECT_EQ(s.name(1), "Cu");
  EXPECT_EQ(s.name(2), "L");
  // CuL2H-1, LH and LH2 (consecutive) and H-1 are gone; CuL and CuL2 stay.
  ASSERT_EQ(s.nspecies, 2);
  EXPECT_EQ(SpeciesFormula(s, 1), "CuL");
  EXPECT_EQ(SpeciesFormula(s, 2), "CuL2");
  EXPECT_FLOAT_EQ(static_cast<float>(s.logbeta(2)), 15.0f);
  EXPECT_EQ(s.refine(2), -1);
  EXPECT_EQ(s.refine(1), 1);
  // The species list moves with them: captions, marks, label positions.
  EXPECT_EQ(s.caption(1), "Cu");
  EXPECT_EQ(s.caption(3), "CuL");
  EXPECT_EQ(s.caption(4), "bis complex");
  EXPECT_EQ(s.plotMark(4), 1);
  EXPECT_EQ(s.speciesInfo(0, 4), 0.25);
  EXPECT_EQ(s.speciesInfo(1, 4), 0.75);
  EXPECT_EQ(s.caption(5), "tenorite");
  // The solid stays without the proton.
  ASSERT_EQ(s.nsolids, 1);
  EXPECT_EQ(s.sa(1, 1), 1);
  EXPECT_EQ(SolidName(s, 1), "Cu(s)");
  EXPECT_EQ(s.stotal(2, 2), 8);
  ExpectConsistent();
}

TEST_F(Reagents, RemovingTheFirstReagentMovesConditionsInBothColumns) {
  ASSERT_TRUE(RemoveReagent(s, 1));
  ASSERT_EQ(s.nreag, 2);
  EXPECT_EQ(s.name(1), "L");
  EXPECT_EQ(s.proton, 2);
  for (int j = 1; j <= 2; ++j) {
    const double old = j + 1;  // the values of reagent j + 1 before
    EXPECT_DOUBLE_EQ(s.total(j, kTitration), static_cast<double>(static_cast<float>(old / 100))) << j;
    EXPECT_DOUBLE_EQ(s.burette(j, kTitration), static_cast<double>(static_cast<float>(0.1 + old / 100))) << j;
    EXPECT_EQ(s.initial(j, kDistribution), old);
    EXPECT_EQ(s.final(j, kDistribution), 10 + old);
    EXPECT_EQ(s.pxi(j, kDistribution), 20 + old);
    EXPECT_EQ(s.pxf(j, kDistribution), 30 + old);
    EXPECT_DOUBLE_EQ(s.initial(j, kTitration), static_cast<double>(static_cast<float>(old / 100)) / 20);
  }
  EXPECT_FALSE(s.flag(1, kDistribution));
  EXPECT_TRUE(s.flag(2, kDistribution));
  // Only the species without copper stay: LH, LH2, H-1.
  ASSERT_EQ(s.nspecies, 3);
  EXPECT_EQ(SpeciesFormula(s, 1), "LH");
  EXPECT_EQ(SpeciesFormula(s, 3), "H-1");
  EXPECT_EQ(s.sa(2, 1), -2);
  EXPECT_EQ(s.caption(6), "tenorite");
  // Single points: reagent 1's entries go, the others move up.
  EXPECT_EQ(s.stotal(1, 1), 2);
  EXPECT_EQ(s.sfree(2, 2), 12);
  EXPECT_TRUE(s.sflag(1, 2));
  ExpectConsistent();
}

TEST_F(Reagents, AddingThenRemovingGivesBackTheModel) {
  ProjectState before = s;
  ResetCaptions(before);
  AddReagent(s);
  ASSERT_TRUE(RemoveReagent(s, 4));
  EXPECT_EQ(ProjectText(s), ProjectText(before));
  ExpectConsistent();
}

TEST_F(Reagents, RemovalIsRefusedForNoReagentOrTheLastOne) {
  const std::string before = ProjectText(s);
  s.modified = false;
  EXPECT_FALSE(RemoveReagent(s, 0));
  EXPECT_FALSE(RemoveReagent(s, 4));
  EXPECT_EQ(ProjectText(s), before);
  EXPECT_FALSE(s.modified);
  ASSERT_TRUE(RemoveReagent(s, 3));
  ASSERT_TRUE(RemoveReagent(s, 2));
  EXPECT_EQ(s.nspecies, 0);  // CuL and CuL2 contain L
  EXPECT_FALSE(RemoveReagent(s, 1));
  EXPECT_EQ(s.nreag, 1);
  ExpectConsistent();
}

TEST(ReagentNames, LettersThenColumnLetters) {
  EXPECT_EQ(DefaultReagentName(1), "A");
  EXPECT_EQ(DefaultReagentName(4), "D");
  EXPECT_EQ(DefaultReagentName(26), "Z");
  EXPECT_EQ(DefaultReagentName(27), "AA");
  EXPECT_EQ(DefaultReagentName(52), "AZ");
  EXPECT_EQ(DefaultReagentName(53), "BA");
  EXPECT_EQ(DefaultReagentName(702), "ZZ");
  EXPECT_EQ(DefaultReagentName(703), "AAA");
}

TEST(ReagentNames, TheEighthAddedReagentIsTheProton) {
  ProjectState s;
  s.nreag = 1;
  s.nsoluble = 1;
  AllocateModel(s);
  s.name(1) = "M";
  for (int n = 2; n <= 8; ++n) AddReagent(s);
  EXPECT_EQ(s.name(8), "H");
  EXPECT_EQ(s.proton, 8);  // as reading the saved project would find
}

}  // namespace
}  // namespace tarn

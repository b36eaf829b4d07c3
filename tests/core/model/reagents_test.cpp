#include "core/model/reagents.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/project_file.h"

namespace tarn {
namespace {

// The fuzz target's seed: Cu, L, H. Species CuL, CuL2H-1, LH, LH2, CuL2, H-1
// (three consecutive ones with a proton), the solid CuH-2(s), two single
// points, custom captions on CuL2 and the solid, and conditions that tell
// reagent and column apart: the titration holds .01 j and .1 + .01 j, the
// distribution j, 10 + j, 20 + j and 30 + j.
class Reagents : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string text;
    ASSERT_TRUE(ReadTextFile(TARN_SOURCE_DIR "/tests/fuzz/corpus/fuzz_project_file/copper_l_h.cld", text));
    ASSERT_EQ(ReadProjectText(s, text, sink), ReadStatus::kOk);
    s.plotMark(8) = 1;
    s.speciesInfo(0, 8) = 0.25;
    s.speciesInfo(1, 8) = 0.75;
  }

  // Every array is sized from the counts, and the project written to a file
  // and read back is the same project.
  void ExpectConsistent() {
    EXPECT_EQ(s.nsoluble, s.nreag + s.nspecies);
    const int r = s.nreag;
    EXPECT_EQ((std::vector{s.name.Upper(), s.a.Upper1(), s.sa.Upper1(), s.total.Upper1(), s.flag.Upper1(),
                           s.stotal.Upper1()}),
              (std::vector{r, r, r, r, r, r}));
    EXPECT_EQ(s.a.Upper2(), s.nspecies);
    EXPECT_EQ(s.logbeta.Upper(), s.nspecies);
    EXPECT_EQ(s.sflag.Upper2(), s.nsingle);
    const int n = s.ntotal();
    EXPECT_EQ((std::vector{s.sresult.Upper1(), s.caption.Upper(), s.speciesInfo.Upper2(), s.plotMark.Upper()}),
              (std::vector{n, n, n, n}));
    for (int j = 1; j <= s.nreag; ++j) EXPECT_TRUE(s.flag(j, kTitration)) << j;
    EXPECT_TRUE(s.modified);
    EXPECT_TRUE(s.recalc);

    const std::string text = ProjectText(s);
    ProjectState back;
    ASSERT_EQ(ReadProjectText(back, text, sink), ReadStatus::kOk);
    EXPECT_EQ(ProjectText(back), text);
    EXPECT_EQ(back.proton, s.proton);
    for (int j = 1; j <= s.nreag; ++j) EXPECT_DOUBLE_EQ(back.final(j, kTitration), s.final(j, kTitration)) << j;
    EXPECT_TRUE(sink.messages.empty());
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
  EXPECT_EQ(s.caption(9), "CuL2");  // the custom caption is reset
  EXPECT_EQ(s.caption(11), "CuH-2(s)");
  EXPECT_EQ(s.plotMark(9), 0);
  // Old conditions kept in both columns, the new row empty with its total given in a titration.
  EXPECT_DOUBLE_EQ(s.burette(3, kTitration), static_cast<double>(0.13f));
  EXPECT_EQ(s.pxf(3, kDistribution), 33);
  EXPECT_FALSE(s.flag(2, kDistribution));
  EXPECT_EQ(s.total(4, kTitration), 0);
  EXPECT_EQ(s.pxi(4, kDistribution), 0);
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
  // CuL2H-1, LH and LH2 (consecutive) and H-1 are gone; CuL and CuL2 stay.
  ASSERT_EQ(s.nspecies, 2);
  EXPECT_EQ(SpeciesFormula(s, 1), "CuL");
  EXPECT_EQ(SpeciesFormula(s, 2), "CuL2");
  EXPECT_FLOAT_EQ(static_cast<float>(s.logbeta(2)), 15.0f);
  EXPECT_EQ(s.refine(2), -1);
  EXPECT_EQ(s.refine(1), 1);
  // The species list moves with them: captions, marks, label positions.
  EXPECT_EQ(s.caption(3), "CuL");
  EXPECT_EQ(s.caption(4), "bis complex");
  EXPECT_EQ(s.plotMark(4), 1);
  EXPECT_EQ(s.speciesInfo(0, 4), 0.25);
  EXPECT_EQ(s.speciesInfo(1, 4), 0.75);
  EXPECT_EQ(s.caption(5), "tenorite");
  // The solid stays without the proton.
  ASSERT_EQ(s.nsolids, 1);
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
    EXPECT_EQ((std::vector{s.initial(j, kDistribution), s.final(j, kDistribution), s.pxi(j, kDistribution),
                           s.pxf(j, kDistribution)}),
              (std::vector{old, 10 + old, 20 + old, 30 + old}));
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

TEST_F(Reagents, AddingThenRemovingGivesBackTheModelAndTheLastReagentStays) {
  ProjectState before = s;
  ResetCaptions(before);
  AddReagent(s);
  ASSERT_TRUE(RemoveReagent(s, 4));
  EXPECT_EQ(ProjectText(s), ProjectText(before));

  const std::string text = ProjectText(s);
  s.modified = false;
  EXPECT_FALSE(RemoveReagent(s, 0));
  EXPECT_FALSE(RemoveReagent(s, 4));
  EXPECT_EQ(ProjectText(s), text);
  EXPECT_FALSE(s.modified);
  ASSERT_TRUE(RemoveReagent(s, 3));
  ASSERT_TRUE(RemoveReagent(s, 2));
  EXPECT_EQ(s.nspecies, 0);  // CuL and CuL2 contain L
  EXPECT_FALSE(RemoveReagent(s, 1));
  EXPECT_EQ(s.nreag, 1);
  ExpectConsistent();
}

// The eighth automatic name was "H", which the proton rule then took for the
// proton: five "Add reagent"s stopped a working titration. And a model with
// reagents Cu, L and D got a second "D".
TEST(ReagentNames, ColumnLettersWithoutTheProtonAndNeverTakenOnes) {
  std::vector<std::string> names;
  for (int j : {1, 7, 8, 25, 26, 27, 701, 702}) names.push_back(DefaultReagentName(j));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "G", "I", "Z", "AA", "AB", "ZZ", "AAA"}));

  ProjectState s;
  s.nreag = s.nsoluble = 1;
  AllocateModel(s);
  s.name(1) = "M";
  for (int n = 2; n <= 30; ++n) AddReagent(s);
  std::set<std::string> distinct;
  for (int j = 1; j <= s.nreag; ++j) {
    EXPECT_FALSE(IsProtonName(s.name(j))) << j;
    distinct.insert(s.name(j));
  }
  EXPECT_EQ(distinct.size(), 30u);
  EXPECT_EQ(s.name(8), "I");
  EXPECT_EQ(s.proton, 0);
}

TEST_F(Reagents, AnAddedReagentAvoidsEveryNameAndKeepsTheProton) {
  s.name(2) = " d ";  // Cu, d, H: the fourth would be "D", in another case
  for (int j = 4; j <= 8; ++j) AddReagent(s);
  std::vector<std::string> added;
  for (int j = 4; j <= 8; ++j) added.push_back(s.name(j));
  EXPECT_EQ(added, (std::vector<std::string>{"E", "F", "G", "I", "J"}));  // no "H" beside the proton
  EXPECT_EQ(s.proton, 3);
  ExpectConsistent();
}

}  // namespace
}  // namespace tarn

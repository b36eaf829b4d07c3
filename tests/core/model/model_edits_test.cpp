// The editor's reshaping of the model: species and solids inserted and
// deleted with their species-list entries, the derived titration totals, the
// step table of the added volume and the ionic strength of a series.

#include <gtest/gtest.h>

#include "core/engine/new_concentrations.h"
#include "core/model/model.h"
#include "core/model/model_edits.h"
#include "core/model/number_text.h"

namespace tarn {
namespace {

// Cu, L, H with CuL, CuL2, HL and the solid Cu(OH)2 written as CuH-2.
ProjectState CopperModel() {
  ProjectState s;
  s.nreag = 3;
  s.nspecies = 3;
  s.nsolids = 1;
  s.nsoluble = 6;
  AllocateModel(s);
  const char* names[3] = {"Cu", "L", "H"};
  const int a[3][3] = {{1, 1, 0}, {1, 2, 1}, {0, 0, 1}};  // a[j-1][i-1]
  for (int j = 1; j <= 3; ++j) {
    s.name(j) = names[j - 1];
    for (int i = 1; i <= 3; ++i) s.a(j, i) = a[j - 1][i - 1];
    s.logbeta(j) = 4.0 * j;
  }
  s.refine(2) = kRefineRefine;
  s.logksp(1) = -19;
  s.sa(1, 1) = 1;
  s.sa(3, 1) = -2;
  ResetCaptions(s);
  for (int k = 1; k <= s.ntotal(); ++k) s.plotMark(k) = static_cast<std::int16_t>(k);
  return s;
}

TEST(ModelEditsTest, InsertedSpeciesCopyTheSelectedRowAndShiftTheSpeciesList) {
  ProjectState s = CopperModel();
  EXPECT_EQ(InsertSpecies(s, 2), 3);
  ASSERT_EQ(s.nspecies, 4);
  EXPECT_EQ(s.nsoluble, 7);
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_EQ(s.logbeta(3), 8);  // a copy of species 2
  EXPECT_EQ(s.refine(3), kRefineRefine);
  EXPECT_EQ(s.a(2, 3), 2);
  EXPECT_EQ(s.logbeta(4), 12);  // the old species 3 moved up
  EXPECT_EQ(s.caption(3 + 3), "CuL2");
  EXPECT_EQ(s.caption(3 + 4), "LH");
  EXPECT_EQ(s.caption(3 + 4 + 1), "CuH-2(s)");  // the solid's entry moved along
  EXPECT_EQ(s.plotMark(3 + 4 + 1), 7);
  for (int k = 1; k <= s.ntotal(); ++k) EXPECT_FALSE(s.caption(k).empty()) << k;

  // The heading row inserts an empty species at the top.
  EXPECT_EQ(InsertSpecies(s, 0), 1);
  EXPECT_EQ(s.logbeta(1), 0);
  EXPECT_EQ(s.a(1, 1), 0);
  EXPECT_EQ(s.logbeta(2), 4);
  // A row beyond the species appends.
  EXPECT_EQ(InsertSpecies(s, 99), 6);
  EXPECT_EQ(s.a.Upper2(), 6);
}

TEST(ModelEditsTest, DeletingKeepsTheOtherSpeciesAndNeverTheLastOne) {
  ProjectState s = CopperModel();
  s.caption(3 + 3) = "my HL";
  ASSERT_TRUE(DeleteSpecies(s, 1));
  EXPECT_EQ(s.nspecies, 2);
  EXPECT_EQ(s.logbeta(1), 8);
  EXPECT_EQ(s.caption(3 + 2), "my HL");
  EXPECT_EQ(s.caption(3 + 2 + 1), "CuH-2(s)");
  EXPECT_TRUE(DeleteSpecies(s, 2));
  s.modified = false;
  EXPECT_FALSE(DeleteSpecies(s, 1));  // the only species stays
  EXPECT_FALSE(DeleteSpecies(s, 0));
  EXPECT_EQ(s.nspecies, 1);
  EXPECT_FALSE(s.modified);
}

TEST(ModelEditsTest, SolidsAreAppendedEmptyAndDeletedWithTheirEntries) {
  ProjectState s = CopperModel();
  s.modified = s.recalc = false;
  AppendSolid(s);
  ASSERT_EQ(s.nsolids, 2);
  EXPECT_EQ(s.logksp(2), 0);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(s.sa(j, 2), 0);
  EXPECT_EQ(s.caption(s.ntotal()), "(s)");
  EXPECT_FALSE(s.modified || s.recalc);
  s.sa(2, 2) = 1;
  ASSERT_TRUE(DeleteSolid(s, 1));
  EXPECT_EQ(s.nsolids, 1);
  EXPECT_EQ(s.sa(2, 1), 1);
  EXPECT_EQ(s.caption(s.ntotal()), "(s)");
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_FALSE(DeleteSolid(s, 2));
}

TEST(ModelEditsTest, TextsAndNumbersOfTheEditor) {
  EXPECT_EQ((std::vector{RefineText(-1), RefineText(0), RefineText(1), RefineText(5), RefineText(-3)}),
            (std::vector<std::string>{"ignore", "const.", "refine", " 5 Constraint", "-3 Constraint"}));
  // Coefficients are truncated downwards and held within int.
  EXPECT_EQ((std::vector{CoefficientOf(2.7), CoefficientOf(-0.5), CoefficientOf(3e38), CoefficientOf(-3e38)}),
            (std::vector{2, -1, INT_MAX, INT_MIN}));

  // The added volume's buttons: 0.5 up is 0.51; 0.11 down is 0.10, then 0.099.
  auto step = [](double a, int direction) {
    SpinStep s = SpinnerStep(a);
    return FormatPattern(a + direction * s.step, s.format, '.');
  };
  EXPECT_EQ(step(0.5, 1), "0.51");
  EXPECT_EQ(step(0.11f, -1), "0.10");  // 0.11 as read from the box
  EXPECT_EQ(step(0.10f, -1), "0.099");
  EXPECT_EQ(step(9.9, 1), "10.0");
  EXPECT_EQ(step(10, 1), "11");
}

TEST(ModelEditsTest, TitrationTotalsFollowTheVolumesWithoutDividingByZero) {
  ProjectState s = CopperModel();
  for (int j = 1; j <= 3; ++j) s.flag(j, kTitration) = true;
  s.total(1, kTitration) = 0.5;
  s.burette(1, kTitration) = 0.1;
  ResetConditions(s, 25, 30);
  EXPECT_DOUBLE_EQ(s.initial(1, kTitration), 0.02);
  EXPECT_DOUBLE_EQ(s.final(1, kTitration), (0.5 + 5 * 0.1) / 30);
  ResetConditions(s, 0, 30);
  EXPECT_EQ(s.initial(1, kTitration), 0);
  s.initial(1, kTitration) = 7;
  ResetConditions(s, 25, 0);  // no final volume: nothing changes
  EXPECT_EQ(s.initial(1, kTitration), 7);
}

}  // namespace
}  // namespace tarn

#include "core/model/model.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

// Cu, L, H with CuL2H-1 and H-1, and the solid CuOH2(s) over reagents Cu, OH.
ProjectState CopperModel() {
  ProjectState s;
  s.nreag = 3;
  s.nspecies = 2;
  s.nsolids = 1;
  s.nsoluble = 5;
  AllocateModel(s);
  s.name(1) = "Cu";
  s.name(2) = "L";
  s.name(3) = "H";
  s.a(1, 1) = s.sa(1, 1) = 1;
  s.a(2, 1) = 2;
  s.a(3, 1) = s.a(3, 2) = -1;
  s.sa(3, 1) = -2;
  return s;
}

TEST(Naming, FormulasSolidNamesAndCaptions) {
  ProjectState s = CopperModel();
  EXPECT_EQ(SpeciesFormula(s, 1), "CuL2H-1");
  EXPECT_EQ(SpeciesFormula(s, 2), "H-1");
  EXPECT_EQ(SolidName(s, 1), "CuH-2(s)");
  s.caption(4) = "my complex";
  s.caption(2) = "   ";
  DefaultCaptions(s);  // fills empty captions, keeps custom ones
  EXPECT_EQ(s.caption(2), "L");
  EXPECT_EQ(s.caption(4), "my complex");
  EXPECT_EQ(s.caption(6), "CuH-2(s)");
  ResetCaptions(s);
  EXPECT_EQ(s.caption(4), "CuL2H-1");
  s.name(2) = " L1 ";  // a name longer than one letter is bracketed when it has a coefficient
  EXPECT_EQ(SpeciesFormula(s, 1), "Cu(L1)2H-1");
  s.sa(2, 1) = 1;
  EXPECT_EQ(SolidName(s, 1), "CuL1H-2(s)");
  s.sa(1, 1) = s.sa(2, 1) = s.sa(3, 1) = 0;
  EXPECT_EQ(SolidName(s, 1), "(s)");
}

TEST(ProtonRule, NamesAndTheLastMatch) {
  for (const char* name : {"h", "  Proton ", "protone"}) EXPECT_TRUE(IsProtonName(name)) << name;
  for (const char* name : {"H2O", "OH"}) EXPECT_FALSE(IsProtonName(name)) << name;
  ProjectState s = CopperModel();
  s.name(1) = "PROTON";
  EXPECT_EQ(FindProton(s), 3);
  s.name(3) = "Cl";
  EXPECT_EQ(FindProton(s), 1);
}

TEST(Allocation, EmptiesArraysAndResetsPlotAndPalette) {
  ProjectState s = CopperModel();
  s.plot.yChoice = 2;
  s.plot.yUpper[0] = 50;
  s.curveColours[3] = {1, 2, 3};
  s.nsingle = 2;
  AllocateModel(s);
  EXPECT_EQ(s.a(1, 1), 0);
  EXPECT_EQ(s.name(1), "");
  EXPECT_FALSE(s.sflag(3, 2));
  EXPECT_EQ(s.sresult.Upper1(), s.ntotal());
  EXPECT_EQ(s.logksp.Upper(), s.nsolids + 1);
  EXPECT_EQ(s.plot.yChoice, 0);
  EXPECT_EQ(s.plot.yUpper[0], 100);
  EXPECT_EQ(s.curveColours[3], (Rgb{0, 0, 255}));
  EXPECT_EQ(s.curveColours[17], (Rgb{64, 64, 0}));
}

TEST(FormatValue, ZeroSmallAndOrdinaryValues) {
  EXPECT_EQ(FormatValue(0), "0.0");
  EXPECT_EQ(FormatValue(0.000012345), "1.235E-05");
  EXPECT_EQ(FormatValue(-0.0005), "-5.000E-04");
  EXPECT_EQ(FormatValue(0.001), "0.001");
  EXPECT_EQ(FormatValue(3.14159265), "3.141593");
}

TEST(Validation, DistributionNeedsOneChangingReagent) {
  ProjectState s = CopperModel();
  s.type = kDistribution;
  for (int j = 1; j <= 3; ++j) {
    s.flag(j, 1) = true;
    s.initial(j, 1) = s.final(j, 1) = 0.001;
  }
  Validation v = ValidateConditions(s);
  EXPECT_FALSE(v.ok);
  EXPECT_EQ(v.message, " All inital and final concentrations/pX values are equal to each other");
  s.flag(3, 1) = false;
  s.pxi(3, 1) = 2;
  s.pxf(3, 1) = 12;
  EXPECT_TRUE(ValidateConditions(s).ok);
}

TEST(Validation, TitrationVolumesAndTotals) {
  ProjectState s = CopperModel();
  s.type = kTitration;
  s.total(1, 0) = 1;
  DeriveTitrationConcentrations(s);  // no volume: no division
  EXPECT_EQ(s.initial(1, 0), 0);
  EXPECT_EQ(s.final(1, 0), 0);
  s.total(1, 0) = 0.1;
  Validation v = ValidateConditions(s);
  EXPECT_EQ(v.message, " Initial volume is zero");
  EXPECT_EQ(v.focus, ConditionsFocus::kInitialVolume);
  s.volume[0] = s.vfinal = 10;
  v = ValidateConditions(s);
  EXPECT_EQ(v.message, "Added volume must be greater than zero");
  EXPECT_EQ(v.focus, ConditionsFocus::kAddedVolume);
  s.vfinal = 12;
  DeriveTitrationConcentrations(s);
  EXPECT_DOUBLE_EQ(s.initial(1, 0), 0.01);
  EXPECT_DOUBLE_EQ(s.final(1, 0), 0.1 / 12);
  EXPECT_TRUE(ValidateConditions(s).ok);
  s.total(1, 0) = 0;
  DeriveTitrationConcentrations(s);
  EXPECT_EQ(ValidateConditions(s).message, " All inital and final concentrations are the same");
  s.burette(3, 0) = -0.1;
  DeriveTitrationConcentrations(s);
  EXPECT_TRUE(ValidateConditions(s).ok);
}

// A negative volume, and a negative total of a reagent that only enters
// species and solids with positive coefficients, have no solution: refused
// with the column named. The proton (in OH with -1) may have one: an excess
// of base.
TEST(Validation, NegativeVolumesAndTotalsThatNothingCanHold) {
  ProjectState s = CopperModel();
  s.type = kTitration;
  s.volume[0] = -10;
  s.vfinal = 12;
  Validation v = ValidateConditions(s);
  EXPECT_EQ(v.message, " Initial volume is negative");
  EXPECT_EQ(v.focus, ConditionsFocus::kInitialVolume);
  s.volume[0] = 10;
  s.total(1, 0) = -0.1;
  EXPECT_EQ(ValidateConditions(s).message, "The total millimoles of Cu cannot be negative");
  s.total(1, 0) = 0.1;
  s.burette(2, 0) = -0.1;
  EXPECT_EQ(ValidateConditions(s).message, "The burette concentration of L cannot be negative");
  s.burette(2, 0) = 0;
  s.total(3, 0) = -0.1;
  DeriveTitrationConcentrations(s);
  EXPECT_TRUE(ValidateConditions(s).ok);

  s.type = kDistribution;
  for (int j = 1; j <= 3; ++j) s.flag(j, 1) = true;
  s.initial(2, 1) = 0.01;
  s.final(2, 1) = -0.01;
  v = ValidateConditions(s);
  EXPECT_EQ(v.message, "The final concentration of L cannot be negative");
  EXPECT_EQ(v.focus, ConditionsFocus::kEditor);
  s.final(2, 1) = 0.02;
  s.initial(3, 1) = -0.01;
  EXPECT_TRUE(ValidateConditions(s).ok);
  // A species left out of the calculation does not count.
  ProjectState ignored = s;
  ignored.sa(3, 1) = 0;
  ignored.refine(1) = ignored.refine(2) = kRefineIgnore;
  EXPECT_EQ(ValidateConditions(ignored).message, "The initial concentration of H cannot be negative");
  // A reagent given by its pX has no total to check.
  s.flag(3, 1) = false;
  s.pxi(3, 1) = 2;
  s.pxf(3, 1) = 12;
  EXPECT_TRUE(ValidateConditions(s).ok);
}

}  // namespace
}  // namespace tarn

// The point series' edge cases: ignored species, absent reagents, every
// reagent pX-given, a reagent joining from the burette, the pH of a pX-given
// proton, the point at which a solid appears.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine_checks.h"
#include "model_builder.h"

namespace tarn::test {
namespace {

// Cu, L, H with CuL, CuL2, HL, CuLH-1 and OH.
ModelBuilder CopperLigand(int refineOfCuL2 = 0) {
  ModelBuilder b({"Cu", "L", "H"});
  b.Species(8, {1, 1, 0}).Species(14.5, {1, 2, 0}, refineOfCuL2).Species(9.5, {0, 1, 1});
  b.Species(1, {1, 1, -1}).Species(-13.8, {0, 0, -1});
  return b;
}

void SetCopperLigandDistribution(ProjectState& st) {
  MakeDistribution(st, 21);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetTotal(st, 2, 3e-3, 3e-3);
  SetPX(st, 3, 3, 10);
}

TEST(SeriesEdges, AnIgnoredSpeciesIsLeftOutOfEveryBalance) {
  ProjectState withIgnored = CopperLigand(kRefineIgnore).Build();
  ModelBuilder without({"Cu", "L", "H"});
  without.Species(8, {1, 1, 0}).Species(9.5, {0, 1, 1}).Species(1, {1, 1, -1}).Species(-13.8, {0, 0, -1});
  ProjectState reference = without.Build();
  SetCopperLigandDistribution(withIgnored);
  SetCopperLigandDistribution(reference);
  SeriesRun a = RunSeries(withIgnored), b = RunSeries(reference);
  ASSERT_EQ(a.ifail, kSuccess);
  ASSERT_EQ(b.ifail, kSuccess);
  for (int p = 1; p <= 21; ++p) {
    EXPECT_EQ(a.results.speciesConc(5, p), 0);  // CuL2
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(a.results.speciesConc(j, p) / b.results.speciesConc(j, p), 1, 1e-9);
  }
  EXPECT_TRUE(MassBalancesHold(withIgnored, a.results));
}

TEST(SeriesEdges, AReagentWithoutTotalIsAbsent) {
  // L has a total of 0 throughout: its species are 0 even with a negative
  // coefficient (CuLH-1), its free concentration is stored as 0, and it
  // keeps its first-point start.
  ProjectState st = CopperLigand().Build();
  SetCopperLigandDistribution(st);
  SetTotal(st, 2, 0, 0);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  for (int p = 1; p <= 21; ++p) {
    EXPECT_EQ(run.results.speciesConc(2, p), 0);
    for (int k : {4, 5, 6, 7}) EXPECT_EQ(run.results.speciesConc(k, p), 0) << "species " << k;
    EXPECT_NEAR(run.results.speciesConc(1, p), 1e-3, 1e-15);  // all copper free
  }
  EXPECT_EQ(run.work.lnFree(2), -20);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
}

TEST(SeriesEdges, EveryReagentPXGivenNeedsNoIteration) {
  ProjectState st = CopperLigand().Build();
  MakeDistribution(st, 11);
  SetPX(st, 1, 9, 4);
  SetPX(st, 2, 3, 8);
  SetPX(st, 3, 2, 12);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  for (int p = 1; p <= 11; ++p) {
    const double cu = std::pow(10.0, -(9 - 0.5 * (p - 1))), l = std::pow(10.0, -(3 + 0.5 * (p - 1)));
    const double h = std::pow(10.0, -(1.0 + p));
    EXPECT_NEAR(run.results.speciesConc(4, p) / (1e8 * cu * l), 1, 1e-12);
    EXPECT_NEAR(run.results.speciesConc(5, p) / (std::pow(10.0, 14.5) * cu * l * l), 1, 1e-12);
    EXPECT_NEAR(run.results.speciesConc(7, p) / (10 * cu * l / h), 1, 1e-12);
    // Without a given total, totalCalc is the only total there is.
    EXPECT_NEAR(run.results.totalCalc(p, 1) / (cu + 1e8 * cu * l + std::pow(10.0, 14.5) * cu * l * l + 10 * cu * l / h),
                1, 1e-12);
  }
}

TEST(SeriesEdges, AProtonPXFromTwoToTwelveGivesPHOnePlusP) {
  ProjectState st = CopperLigand().Build();
  MakeDistribution(st, 11);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetTotal(st, 2, 3e-3, 3e-3);
  SetPX(st, 3, 2, 12);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  for (int p = 1; p <= 11; ++p) {
    EXPECT_EQ(run.results.pH(p), 1.0 + p);
    EXPECT_EQ(run.results.speciesConc(3, p), std::exp(-std::numbers::ln10 * (1.0 + p)));
  }
  EXPECT_EQ(run.work.lnFree(3), -std::numbers::ln10 * 12);
}

TEST(SeriesEdges, AMetalJoiningFromTheBurette) {
  // The vessel holds the ligand and acid; the burette brings copper and
  // hydroxide. Copper is absent at the first point and present from the
  // second, starting from 1 mol/L.
  ProjectState st = CopperLigand().Build();
  MakeTitration(st, 20, 25, 51);
  SetTitrant(st, 1, 0, 0.004);
  SetTitrant(st, 2, 0.06, 0);
  SetTitrant(st, 3, 0.1, -0.02);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  EXPECT_EQ(run.results.speciesConc(1, 1), 0);
  EXPECT_EQ(run.results.speciesConc(4, 1), 0);
  EXPECT_GT(run.results.speciesConc(1, 2), 0);
  EXPECT_GT(run.results.speciesConc(4, 2), 0);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
  EXPECT_NEAR(run.results.totalSet(51, 1), 0.004 * 5 / 25, 1e-15);
}

TEST(SeriesEdges, WithoutAProtonThePHStaysUnfilled) {
  // A titration of a model without proton...
  ProjectState st = ModelBuilder({"Cu", "L"}).Species(8, {1, 1}).Species(14.5, {1, 2}).Build();
  MakeTitration(st, 10, 15, 21);
  SetTitrant(st, 1, 0.01, 0);
  SetTitrant(st, 2, 0, 0.01);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
  // ... and a distribution whose proton has a total of 0 (absent).
  ProjectState absent = CopperLigand().Build();
  SetCopperLigandDistribution(absent);
  SetTotal(absent, 3, 0, 0);
  SeriesRun withoutProton = RunSeries(absent);
  ASSERT_EQ(withoutProton.ifail, kSuccess);
  for (int p = 1; p <= 21; ++p) {
    EXPECT_EQ(run.results.pH(p), 0);
    EXPECT_EQ(withoutProton.results.pH(p), 0);
  }
}

// Iron(III) with FeH-1, FeH-4 and FeH-3(s) (log Ksp 3.84).
ProjectState IronWithSolid() {
  return ModelBuilder({"Fe", "H"}).Species(-2.19, {1, -1}).Species(-21.6, {1, -4}).Solid(3.84, {1, -3}).Build();
}

int SolidColumn(const ProjectState& st) {
  return st.nreag + st.nspecies + 1;
}

TEST(SeriesEdges, ASolidFoundAtALaterPointAppearsFromTheNext) {
  // The iron total rises at pH 3: the solution becomes supersaturated at
  // some point p, which shows the solution without solid; the solid is
  // present from p + 1.
  ProjectState st = IronWithSolid();
  MakeDistribution(st, 41);
  SetTotal(st, 1, 1e-5, 4e-3);
  SetPX(st, 2, 3, 3);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  int found = 0;
  for (int p = 1; p <= 41 && found == 0; ++p)
    if (LogIonProduct(st, run.results, 1, p) > st.logksp(1)) found = p;
  ASSERT_GT(found, 1);
  EXPECT_EQ(run.results.speciesConc(SolidColumn(st), found), 0);
  for (int p = found + 1; p <= 41; ++p) EXPECT_GT(run.results.speciesConc(SolidColumn(st), p), 0) << p;
  EXPECT_TRUE(SolubilitiesHold(st, run.results));
}

TEST(SeriesEdges, AtTheFirstPointOnlySolidsWithGivenTotalsAreTested) {
  // With the proton's pX given, iron hydroxide is not tested at the first
  // point, found at the second and present from the third.
  ProjectState st = IronWithSolid();
  MakeDistribution(st, 5);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetPX(st, 2, 4, 4);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  EXPECT_EQ(run.results.speciesConc(SolidColumn(st), 1), 0);
  EXPECT_EQ(run.results.speciesConc(SolidColumn(st), 2), 0);
  EXPECT_GT(run.results.speciesConc(SolidColumn(st), 3), 0);
  // In a titration every total is given: the solid is present at once.
  ProjectState titration = IronWithSolid();
  MakeTitration(titration, 10, 11, 5);
  SetTitrant(titration, 1, 0.01, 0);
  SetTitrant(titration, 2, -0.005, -0.01);
  SeriesRun atOnce = RunSeries(titration);
  ASSERT_EQ(atOnce.ifail, kSuccess) << atOnce.messages.at(0);
  EXPECT_GT(atOnce.results.speciesConc(SolidColumn(titration), 1), 0);
  EXPECT_TRUE(MassBalancesHold(titration, atOnce.results));
  EXPECT_TRUE(SolubilitiesHold(titration, atOnce.results));
}

TEST(SeriesEdges, ASolidLeavesWhenItsReagentRunsOut) {
  // The iron total falls linearly to 0 at pH 4: at the last point iron is
  // absent, and so is its solid.
  ProjectState st = IronWithSolid();
  MakeDistribution(st, 6);
  SetTotal(st, 1, 1e-3, 0);
  SetPX(st, 2, 4, 4);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  EXPECT_GT(run.results.speciesConc(SolidColumn(st), 5), 0);
  EXPECT_EQ(run.results.speciesConc(SolidColumn(st), 6), 0);
  EXPECT_EQ(run.results.speciesConc(1, 6), 0);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
}

}  // namespace
}  // namespace tarn::test

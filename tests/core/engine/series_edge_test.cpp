// The point series' edge cases: ignored species, absent reagents, every
// reagent pX-given, a reagent joining from the burette, a series without a
// proton, a proton total of 0. (Solids entering and leaving are in solids_test.cpp.)

#include <gtest/gtest.h>

#include <cmath>

#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

// Cu, L, H with CuL, CuL2 (left out when ignored), HL, CuLH-1 and OH; by
// default a distribution of 1e-3 M Cu and 3e-3 M L from pH 3 to 10.
ProjectState CopperLigand(bool withCuL2 = true, int refineOfCuL2 = 0) {
  ModelBuilder b({"Cu", "L", "H"});
  b.Species(8, {1, 1, 0});
  if (withCuL2) b.Species(14.5, {1, 2, 0}, refineOfCuL2);
  ProjectState st = b.Species(9.5, {0, 1, 1}).Species(1, {1, 1, -1}).Species(-13.8, {0, 0, -1}).Build();
  MakeDistribution(st, 21);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetTotal(st, 2, 3e-3, 3e-3);
  SetPX(st, 3, 3, 10);
  return st;
}

TEST(SeriesEdges, AnIgnoredSpeciesIsLeftOutOfEveryBalance) {
  ProjectState withIgnored = CopperLigand(true, kRefineIgnore);
  SeriesRun a = RunSeries(withIgnored), b = RunSeries(CopperLigand(false));
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
  ProjectState st = CopperLigand();
  SetTotal(st, 2, 0, 0);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  for (int p = 1; p <= 21; ++p) {
    for (int k : {2, 4, 5, 6, 7}) EXPECT_EQ(run.results.speciesConc(k, p), 0) << "species " << k;
    EXPECT_NEAR(run.results.speciesConc(1, p), 1e-3, 1e-15);  // all copper free
  }
  EXPECT_EQ(run.work.lnFree(2), -20);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
}

TEST(SeriesEdges, EveryReagentPXGivenNeedsNoIteration) {
  ProjectState st = CopperLigand();
  MakeDistribution(st, 11);
  SetPX(st, 1, 9, 4);
  SetPX(st, 2, 3, 8);
  SetPX(st, 3, 2, 12);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  for (int p = 1; p <= 11; ++p) {
    const double cu = std::pow(10.0, -(9 - 0.5 * (p - 1))), l = std::pow(10.0, -(3 + 0.5 * (p - 1)));
    const double h = std::pow(10.0, -(1.0 + p)), cul2 = std::pow(10.0, 14.5) * cu * l * l;
    EXPECT_NEAR(run.results.speciesConc(4, p) / (1e8 * cu * l), 1, 1e-12);
    EXPECT_NEAR(run.results.speciesConc(5, p) / cul2, 1, 1e-12);
    EXPECT_NEAR(run.results.speciesConc(7, p) / (10 * cu * l / h), 1, 1e-12);
    // Without a given total, totalCalc is the only total there is.
    EXPECT_NEAR(run.results.totalCalc(p, 1) / (cu + 1e8 * cu * l + cul2 + 10 * cu * l / h), 1, 1e-12);
  }
}

TEST(SeriesEdges, AMetalJoiningFromTheBurette) {
  // The vessel holds the ligand and acid; the burette brings copper and
  // hydroxide. Copper is absent at the first point and present from the
  // second, starting from the free concentration that closes its own balance.
  ProjectState st = CopperLigand();
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
  ProjectState titration = ModelBuilder({"Cu", "L"}).Species(8, {1, 1}).Species(14.5, {1, 2}).Build();
  MakeTitration(titration, 10, 15, 21);
  SetTitrant(titration, 1, 0.01, 0);
  SetTitrant(titration, 2, 0, 0.01);
  SeriesRun run = RunSeries(titration);
  ASSERT_EQ(run.ifail, kSuccess);
  EXPECT_TRUE(MassBalancesHold(titration, run.results));
  for (int p = 1; p <= 21; ++p) EXPECT_EQ(run.results.pH(p), 0);
}

TEST(SeriesEdges, AProtonTotalSweptThroughZeroKeepsItsPH) {
  // Water alone: the proton total T = [H] - Kw/[H] runs from acid to base
  // through 0 (the middle point), where [H] = sqrt(Kw); everywhere
  // [H] = (T + sqrt(T^2 + 4 Kw)) / 2. Also with a total of 0 at every point,
  // where a proton without a total used to be taken for an absent one.
  constexpr double kLogKw = -13.78;
  const double kw = std::pow(10.0, kLogKw);
  for (double initial : {1e-3, 0.0}) {
    ProjectState st = ModelBuilder({"H"}).Species(kLogKw, {-1}).Build();
    MakeDistribution(st, 11);
    SetTotal(st, 1, initial, -initial);
    SeriesRun run = RunSeries(st);
    ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
    for (int p = 1; p <= 11; ++p) {
      const double t = run.results.totalSet(p, 1);
      const double root = std::sqrt(t * t + 4 * kw);
      const double h = t >= 0 ? (t + root) / 2 : 2 * kw / (root - t);  // without cancellation
      EXPECT_NEAR(run.results.speciesConc(1, p) / h, 1, 1e-9) << "point " << p;
      EXPECT_NEAR(run.results.pH(p), -std::log10(h), 1e-6) << "point " << p;
    }
    EXPECT_LT(std::fabs(run.results.totalSet(6, 1)), 1e-18);
    EXPECT_NEAR(run.results.pH(6), -kLogKw / 2, 1e-6);
    EXPECT_TRUE(MassBalancesHold(st, run.results, 1e-9));
  }
}

}  // namespace
}  // namespace tarn::test

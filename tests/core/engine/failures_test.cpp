// Every failure of the point series: its message, its code, and that the
// series stops there.

#include <gtest/gtest.h>

#include <string>

#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

// A ligand L that forms only L2 (no species with a negative coefficient): a
// negative total of L has no solution.
ProjectState Ligand(double logbeta = 3) {
  return ModelBuilder({"L"}).Species(logbeta, {2}).Build();
}

ProjectState LigandDistribution(int points, double initial, double final, double logbeta = 3) {
  ProjectState st = Ligand(logbeta);
  MakeDistribution(st, points);
  SetTotal(st, 1, initial, final);
  return st;
}

SeriesRun ExpectFailure(const ProjectState& st, const std::string& message, int ifail) {
  SeriesRun run = RunSeries(st);
  EXPECT_EQ(run.ifail, ifail);
  EXPECT_EQ(run.results.ifail, ifail);
  EXPECT_EQ(run.messages, std::vector<std::string>{message});
  return run;
}

constexpr const char* kFirstPoint = "Can't get initial estimates for free concentrations, 1st point";

TEST(Failures, FewerThanTwoPointsAreRefused) {
  for (int points : {1, 0, -3}) {
    SeriesRun run = ExpectFailure(LigandDistribution(points, 1e-3, 2e-3),
                                  "At least 2 points are needed to calculate a series", kTooFewPoints);
    EXPECT_EQ(run.results.npoints, 0);
  }
}

TEST(Failures, FirstPoint) {
  // A total with no solution: the iteration ends at its limit (5)...
  ExpectFailure(LigandDistribution(5, -1e-3, 1e-3), kFirstPoint, kIterationLimit);
  // ... a formation constant whose species overflows at any free
  // concentration the search tries is an arithmetic fault (6) ...
  ExpectFailure(LigandDistribution(5, 1e-3, 1e-3, 1000), kFirstPoint, kNotPositiveDefinite);
  // ... and so are the totals 0/0 of a titration without volume (the series
  // may run without the validation, for the conditions editor): no hang and
  // no NaN reported as a result.
  ProjectState st = ModelBuilder({"H", "L"}).Species(9, {1, 1}).Build();
  MakeTitration(st, 0, 0, 11);
  ExpectFailure(st, kFirstPoint, kNotPositiveDefinite);
}

TEST(Failures, SecondPointWhenAReagentJoinsFromTheBurette) {
  // The burette brings a negative amount of L: absent at the first point, no
  // solution from the second on.
  ProjectState st = Ligand();
  MakeTitration(st, 10, 12, 11);
  SetTitrant(st, 1, 0, -0.1);
  SeriesRun run = ExpectFailure(st, "Can't get initial estimates for free concentrations, 2nd point", kIterationLimit);
  EXPECT_EQ(run.results.ipoint, 2);
  EXPECT_EQ(run.results.speciesConc(1, 1), 0);  // absent at the first point
}

TEST(Failures, LaterPointStopsTheSeries) {
  // Totals 1e-3, 5e-4, 0 (absent), -5e-4: the fourth point has no solution.
  SeriesRun run = ExpectFailure(LigandDistribution(5, 1e-3, -1e-3), "free concentration calculation failed at point 4",
                                kIterationLimit);
  EXPECT_GT(run.results.speciesConc(1, 2), 0);  // points before it are kept
  EXPECT_EQ(run.results.totalCalc(2, 1), 0);    // but no totals are recomputed
  EXPECT_EQ(run.results.speciesConc(1, 5), 0);  // and no later point is calculated
  // The proton's pX runs 2, -48, ..., -198: the species H2 overflows at the fifth point.
  ProjectState st = ModelBuilder({"H", "L"}).Species(0, {2, 0}).Species(5, {0, 2}).Build();
  MakeDistribution(st, 5);
  SetPX(st, 1, 2, -198);
  SetTotal(st, 2, 1e-3, 1e-3);
  ExpectFailure(st, "free concentration calculation failed at point 5", kNotPositiveDefinite);
}

TEST(Failures, ASupersaturatedSolidWithoutAnUnknownHasNoSolution) {
  // A solid of the pX-given proton alone is supersaturated at the first
  // point, and its solubility has no unknown to act on: no set of solids can
  // hold it, at any point count.
  for (int points : {2, 5}) {
    ProjectState st = ModelBuilder({"M", "H"}).Species(-13.8, {0, -1}).Solid(10, {0, -2}).Build();
    MakeDistribution(st, points);
    SetTotal(st, 1, 1e-3, 1e-3);
    SetPX(st, 2, 8, 8);
    SeriesRun run =
        ExpectFailure(st, "free concentration calculation (ppte) failed -1 at point 1", kSolidsArithmeticFault);
    EXPECT_EQ(run.results.ipoint, 1);
  }
}

}  // namespace
}  // namespace tarn::test

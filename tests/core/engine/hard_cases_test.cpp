// Models that have an answer but are hard to reach: formation constants of
// 1e45 and more, totals of 10 M beside 1e-12 M, a ligand titrated into a
// metal that binds it 1e30 times, a large cage complex, a trace precipitate
// beside a 10 M total, a ligand that must fall by 105 natural-log units
// while a solid is present. Each against its closed form at every point.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>

#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

double Relative(double calc, double expected) {
  return std::fabs(calc - expected) / std::fabs(expected);
}

// The root of an increasing function of log10 x between low and high.
double LogBisect(const std::function<double(double)>& f, double low, double high) {
  for (int i = 0; i < 300; ++i) {
    const double mid = (low + high) / 2;
    (f(std::pow(10.0, mid)) > 0 ? high : low) = mid;
  }
  return std::pow(10.0, (low + high) / 2);
}

void ExpectEquilibrium(const ProjectState& st, const SeriesRun& run) {
  ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  EXPECT_TRUE(MassBalancesHold(st, run.results, 1e-9));
  EXPECT_TRUE(SolubilitiesHold(st, run.results));
}

// M + L = ML with log beta up to 60, at every point of a distribution:
// with totals m < l, [M] solves beta [M] (l - m + [M]) = m - [M].
TEST(HardCases, FormationConstantsUpTo1e60) {
  for (double logBeta : {30.0, 45.0, 60.0}) {
    SCOPED_TRACE(logBeta);
    ProjectState st = ModelBuilder({"M", "L"}).Species(logBeta, {1, 1}).Build();
    MakeDistribution(st, 5);
    SetTotal(st, 1, 1e-3, 1e-3);
    SetTotal(st, 2, 2e-3, 1e-2);
    const SeriesRun run = RunSeries(st);
    ExpectEquilibrium(st, run);
    const double beta = std::pow(10.0, logBeta);
    for (int p = 1; p <= 5; ++p) {
      const double m = run.results.totalSet(p, 1), l = run.results.totalSet(p, 2);
      const double b = beta * (l - m) + 1;
      const double freeM = 2 * m / (b + std::sqrt(b * b + 4 * beta * m));
      EXPECT_LT(Relative(run.results.speciesConc(1, p), freeM), 1e-9) << p;
      EXPECT_LT(Relative(run.results.speciesConc(2, p), l - m + freeM), 1e-9) << p;
      EXPECT_LT(Relative(run.results.speciesConc(3, p), m - freeM), 1e-9) << p;
    }
  }
}

// Sodium and chloride at 10 M (ion pair NaCl) beside a trace of copper at
// 1e-12 M (CuCl, CuCl2), both swept over decades: the copper species against
// the closed form at each point's free chloride.
TEST(HardCases, TotalsOf10MolarBeside1e12Molar) {
  ProjectState st =
      ModelBuilder({"Na", "Cl", "Cu"}).Species(-0.5, {1, 1, 0}).Species(0.4, {0, 1, 1}).Species(0.2, {0, 2, 1}).Build();
  MakeDistribution(st, 21);
  SetTotal(st, 1, 10, 1e-3);
  SetTotal(st, 2, 10, 1e-3);
  SetTotal(st, 3, 1e-12, 1e-10);
  const SeriesRun run = RunSeries(st);
  ExpectEquilibrium(st, run);
  for (int p = 1; p <= 21; ++p) {
    const double t = run.results.totalSet(p, 1), k = std::pow(10.0, -0.5);
    // Equal totals: [Na] = [Cl] = x with x + k x^2 = t.
    const double x = 2 * t / (1 + std::sqrt(1 + 4 * k * t));
    const double alpha = 1 + std::pow(10.0, 0.4) * x + std::pow(10.0, 0.2) * x * x;
    EXPECT_LT(Relative(run.results.speciesConc(2, p), x), 1e-9) << p;
    EXPECT_LT(Relative(run.results.speciesConc(3, p), run.results.totalSet(p, 3) / alpha), 1e-8) << p;
  }
}

// A ligand titrated into a metal that binds it with log beta 30 and 55 (ML,
// ML2): the ligand joins from the burette at the second point. At every
// point the free ligand solves its balance with [M] = m / (1 + b1 L + b2 L^2);
// at the equivalence points, where it is a 1e-14 of its total, the totals'
// rounding fixes it only to a few digits.
TEST(HardCases, ALigandTitratedIntoAMetalThatBindsItStrongly) {
  const double b1 = 1e30, b2 = 1e55;
  ProjectState st = ModelBuilder({"M", "L"}).Species(30, {1, 1}).Species(55, {1, 2}).Build();
  MakeTitration(st, 10, 40, 61);
  SetTitrant(st, 1, 0.01, 0);
  SetTitrant(st, 2, 0, 0.01);
  const SeriesRun run = RunSeries(st);
  ExpectEquilibrium(st, run);
  for (int p = 2; p <= 61; ++p) {
    const double m = run.results.totalSet(p, 1), l = run.results.totalSet(p, 2);
    const double freeL = LogBisect(
        [&](double x) {
          const double freeM = m / (1 + b1 * x + b2 * x * x);
          return x + b1 * freeM * x + 2 * b2 * freeM * x * x - l;
        },
        -80, 0);
    EXPECT_LT(Relative(run.results.speciesConc(2, p), freeL), 1e-6 + 100 * DBL_EPSILON * l / freeL) << p;
  }
}

// A cage M12L24 (log beta 250) with ML and ML2, formed as the ligand is
// titrated into the metal: every point is an equilibrium and equals the
// distribution of the same totals, which starts from its own estimates.
TEST(HardCases, ACageComplexFormedInATitration) {
  std::vector<int> cage{12, 24};
  ProjectState st = ModelBuilder({"M", "L"}).Species(5, {1, 1}).Species(9, {1, 2}).Species(250, cage).Build();
  MakeTitration(st, 10, 20, 21);
  SetTitrant(st, 1, 0.012, 0);
  SetTitrant(st, 2, 0, 0.024);
  const SeriesRun titration = RunSeries(st);
  ExpectEquilibrium(st, titration);
  for (int p : {2, 11, 21}) {
    ProjectState single = st;
    MakeDistribution(single, 2);
    for (int j = 1; j <= 2; ++j) {
      const double t = titration.results.totalSet(p, j);
      SetTotal(single, j, t, t);
    }
    const SeriesRun distribution = RunSeries(single);
    ASSERT_EQ(distribution.ifail, kSuccess) << distribution.messages.at(0);
    for (int k = 1; k <= st.nsoluble; ++k)
      EXPECT_LT(Relative(titration.results.speciesConc(k, p), distribution.results.speciesConc(k, 1)), 1e-6)
          << "species " << k << " at point " << p;
  }
}

// A trace precipitate: M(s) (log Ksp -11) holds 5e-12 M of a 1.5e-11 M total
// beside a 10 M total of another reagent, at both points: it is no rounding
// of the large total and must stay.
TEST(HardCases, ATracePrecipitateBesideALargeTotal) {
  ProjectState st = ModelBuilder({"Na", "M"}).Solid(-11, {0, 1}).Build();
  MakeDistribution(st, 2);
  SetTotal(st, 1, 10, 10);
  SetTotal(st, 2, 1.5e-11, 1.5e-11);
  const SeriesRun run = RunSeries(st);
  ExpectEquilibrium(st, run);
  for (int p = 1; p <= 2; ++p) {
    EXPECT_LT(Relative(run.results.speciesConc(2, p), 1e-11), 1e-9);
    EXPECT_LT(Relative(run.results.speciesConc(3, p), 5e-12), 1e-6);
  }
}

// M(s) is present at both points while the pH falls from 10 to -1.5: the
// free ligand, bound as LH4 (log beta 40), must fall by about 105
// natural-log units with the solid in the iteration.
TEST(HardCases, AFreeConcentrationFallingFarBesideASolid) {
  ProjectState st = ModelBuilder({"M", "L", "H"}).Species(40, {0, 1, 4}).Solid(-5, {1, 0, 0}).Build();
  MakeDistribution(st, 2);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetTotal(st, 2, 1e-10, 1e-10);
  SetPX(st, 3, 10, -1.5);
  const SeriesRun run = RunSeries(st);
  ExpectEquilibrium(st, run);
  for (int p = 1; p <= 2; ++p) {
    const double h = std::pow(10.0, -run.results.pH(p));
    EXPECT_LT(Relative(run.results.speciesConc(1, p), 1e-5), 1e-9) << p;
    EXPECT_LT(Relative(run.results.speciesConc(2, p), 1e-10 / (1 + 1e40 * std::pow(h, 4))), 1e-6) << p;
    EXPECT_LT(Relative(run.results.speciesConc(st.ntotal(), p), 1e-3 - 1e-5), 1e-9) << p;
  }
}

}  // namespace
}  // namespace tarn::test

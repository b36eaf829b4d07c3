// Series with an activity correction: the closed forms of real solutions
// (activity coefficients computed here from the equations themselves), the
// conversion of the constants through the engine, the ionic strength of
// every point, and the limits in which the correction vanishes.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/engine/ionic_strength.h"
#include "core/model/activity.h"
#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

// The Davies equation for a univalent ion, written out.
double DaviesUnivalent(double strength) {
  const double a = WaterConstants(25).a, root = std::sqrt(strength);
  return -a * (root / (1 + root) - 0.3 * strength);
}

double Relative(double calc, double expected) {
  return std::fabs(calc - expected) / std::fabs(expected);
}

void SetCharges(ProjectState& st, std::initializer_list<int> charges) {
  int j = 0;
  for (int z : charges) st.activity.charge(++j) = z;
}

// Every point of the series is an equilibrium at its reported ionic strength.
void ExpectEveryPointHolds(const ProjectState& st, const SeriesRun& run) {
  ASSERT_EQ(run.ifail, kSuccess) << (run.messages.empty() ? "" : run.messages[0]);
  ASSERT_TRUE(run.results.activity);
  EXPECT_EQ(SeriesViolation(st, run.results), std::nullopt);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
}

// Hydrochloric acid (H+, Cl-) titrated with sodium hydroxide (Na+, H-1):
// 25 mL of 0.1 M into which 50 mL of 0.1 M base run; pKw 14.0 at I = 0.
ProjectState StrongAcidTitration(int points) {
  ProjectState st = ModelBuilder({"H", "Cl", "Na"}).Species(-14.0, {-1, 0, 0}).Build();
  MakeTitration(st, 25, 75, points);
  SetTitrant(st, 1, 2.5, -0.1);
  SetTitrant(st, 2, 2.5, 0);
  SetTitrant(st, 3, 0, 0.1);
  SetCharges(st, {1, -1, 1});
  st.activity.correction = ActivityCorrection::kDavies;
  st.activity.referenceStrength = 0;
  st.activity.background = 0.05;
  return st;
}

// With activities: [H] - Kw(I) / [H] = [Cl] - [Na], Kw(I) = Kw0 / (gH gOH),
// and I = 0.05 + ([H] + [OH] + [Na] + [Cl]) / 2.
TEST(ActivitySeries, StrongAcidTitratedWithStrongBaseFollowsTheClosedForm) {
  for (int points : {2, 1201}) {
    const ProjectState st = StrongAcidTitration(points);
    const SeriesRun run = RunSeries(st);
    ExpectEveryPointHolds(st, run);
    const SeriesResults& r = run.results;
    for (int p = 1; p <= points; ++p) {
      const double strength = r.ionicStrength(p);
      const double logGamma = DaviesUnivalent(strength);
      const double kw = std::pow(10.0, -14.0 - 2 * logGamma);
      const double cl = r.totalSet(p, 2), na = r.totalSet(p, 3), d = cl - na;
      const double h = d > 0 ? (d + std::sqrt(d * d + 4 * kw)) / 2 : 2 * kw / (-d + std::sqrt(d * d + 4 * kw));
      ASSERT_LT(Relative(r.speciesConc(1, p), h), 1e-7) << "point " << p;
      ASSERT_LT(Relative(r.speciesConc(4, p), kw / h), 1e-7) << "point " << p;
      ASSERT_LT(Relative(strength, 0.05 + (h + kw / h + na + cl) / 2), 1e-6) << "point " << p;
      // pH both ways: -log [H+] as without a correction, -log a(H+) beside it.
      ASSERT_NEAR(r.pH(p), -std::log10(h), 1e-6);
      ASSERT_NEAR(r.pHActivity(p), -std::log10(h) - logGamma, 1e-9) << "point " << p;
    }
    if (points == 1201) {
      // The first point: 0.1 M HCl and 0.05 M salt, I = 0.15, pH(act) above
      // pH(conc) by 0.509 (0.3873 / 1.3873 - 0.045) = 0.119.
      EXPECT_NEAR(r.ionicStrength(1), 0.15, 1e-6);
      EXPECT_NEAR(r.pHActivity(1) - r.pH(1), 0.119, 1e-3);
    }
  }
}

// Silver chloride with sodium nitrate from 0 to 0.3 M: the dissolved silver
// is sqrt(Ksp0) / gamma and rises at every point (the Davies coefficient
// falls up to about 0.4 M).
TEST(ActivitySeries, SolidsDissolveMoreAsTheIonicStrengthRises) {
  ProjectState st = ModelBuilder({"Ag", "Cl", "Na", "NO3"}).Solid(-9.75, {1, 1, 0, 0}).Build();
  MakeDistribution(st, 51);
  SetTotal(st, 1, 1e-3, 1e-3);
  SetTotal(st, 2, 1e-3, 1e-3);
  SetTotal(st, 3, 0, 0.3);
  SetTotal(st, 4, 0, 0.3);
  SetCharges(st, {1, -1, 1, -1});
  st.activity.correction = ActivityCorrection::kDavies;
  st.activity.referenceStrength = 0;
  st.activity.background = 0;
  const SeriesRun run = RunSeries(st);
  ExpectEveryPointHolds(st, run);
  const SeriesResults& r = run.results;
  for (int p = 1; p <= r.npoints; ++p) {
    const double dissolved = std::pow(10.0, -9.75 / 2 - DaviesUnivalent(r.ionicStrength(p)));
    ASSERT_LT(Relative(r.speciesConc(1, p), dissolved), 1e-7) << "point " << p;
    ASSERT_LT(Relative(r.speciesConc(2, p), dissolved), 1e-7) << "point " << p;
    if (p > 1) {
      ASSERT_GT(r.speciesConc(1, p), r.speciesConc(1, p - 1)) << "point " << p;
    }
  }
  EXPECT_LT(Relative(r.speciesConc(1, 1), std::pow(10.0, -9.75 / 2)), 0.01);
  EXPECT_GT(r.speciesConc(1, r.npoints), 1.3 * r.speciesConc(1, 1));
}

// Copper, glycinate and the proton titrated with hydroxide: charged and
// neutral complexes, a hydroxo species with the proton's coefficient -1.
ProjectState CopperGlycineTitration(int points, ActivityCorrection correction) {
  ProjectState st = ModelBuilder({"Cu", "Gly", "H"})
                        .Species(9.57, {0, 1, 1})
                        .Species(11.92, {0, 1, 2})
                        .Species(8.19, {1, 1, 0})
                        .Species(15.06, {1, 2, 0})
                        .Species(-7.5, {1, 0, -1})
                        .Species(-10.4, {2, 0, -2})
                        .Species(-13.78, {0, 0, -1})
                        .Build();
  MakeTitration(st, 20, 22.2, points);
  SetTitrant(st, 1, 0.02, 0);
  SetTitrant(st, 2, 0.05, 0);
  SetTitrant(st, 3, 0.15, -0.1);
  SetCharges(st, {2, -1, 1});
  st.activity.correction = correction;
  st.activity.ionSize(1) = 6;
  st.activity.ionSize(3) = 9;
  return st;
}

// The ionic strength of every point is 1/2 sum c z^2 of its own species and
// the background electrolyte, with both corrections and with the background
// electrolyte of a 2:-1 salt.
TEST(ActivitySeries, EveryPointIsAtItsOwnIonicStrength) {
  for (ActivityCorrection c : {ActivityCorrection::kDavies, ActivityCorrection::kDebyeHuckel}) {
    for (int points : {2, 1201}) {
      ProjectState st = CopperGlycineTitration(points, c);
      st.activity.background = 0.02;
      st.activity.cationCharge = 2;
      const SeriesRun run = RunSeries(st);
      ExpectEveryPointHolds(st, run);
      for (int p = 1; p <= points; ++p) {
        const double own = OwnIonicStrength(st, run.results, p);
        ASSERT_LT(Relative(run.results.ionicStrength(p), own), 1e-6) << "point " << p;
        ASSERT_GT(own, 0.06);  // 0.02 M CaCl2-like salt alone gives 0.06
      }
    }
  }
}

std::function<void(const SeriesRun&, const SeriesRun&)> ExpectSameNumbers(double tolerance) {
  return [tolerance](const SeriesRun& a, const SeriesRun& b) {
    ASSERT_EQ(a.ifail, kSuccess);
    ASSERT_EQ(b.ifail, kSuccess);
    for (int p = 1; p <= a.results.npoints; ++p)
      for (int k = 1; k <= a.results.speciesConc.Upper1(); ++k) {
        const double x = a.results.speciesConc(k, p), y = b.results.speciesConc(k, p);
        ASSERT_LE(std::fabs(x - y), tolerance * std::fabs(y)) << "species " << k << ", point " << p;
      }
  };
}

// At zero ionic strength every correction gives the numbers of no correction
// to the last digit; close to zero, nearly so.
TEST(ActivitySeries, AtVanishingIonicStrengthTheNumbersAreThoseWithoutCorrection) {
  for (int points : {2, 1201}) {
    const ProjectState plain = CopperGlycineTitration(points, ActivityCorrection::kNone);
    const SeriesRun reference = RunSeries(plain);
    EXPECT_FALSE(reference.results.activity);
    for (ActivityCorrection c : {ActivityCorrection::kDavies, ActivityCorrection::kDebyeHuckel}) {
      ProjectState st = plain;
      st.activity.correction = c;
      st.activity.referenceStrength = 0;
      st.activity.calculated = false;
      st.activity.fixedStrength = 0;
      ExpectSameNumbers(0)(RunSeries(st), reference);
      st.activity.fixedStrength = 1e-12;
      ExpectSameNumbers(1e-5)(RunSeries(st), reference);
      // Calculated, but nothing is charged and there is no background.
      st.activity.calculated = true;
      st.activity.background = 0;
      for (int j = 1; j <= st.nreag; ++j) st.activity.charge(j) = 0;
      const SeriesRun uncharged = RunSeries(st);
      ExpectSameNumbers(0)(uncharged, reference);
      EXPECT_EQ(uncharged.results.ionicStrength(points), 0);
    }
  }
}

// Constants given at 0.1 M and used at 0.1 M are the model's; the same
// constants moved to I = 0 and used at 0.1 M give the same series.
TEST(ActivitySeries, ConstantsMovedToZeroAndBackGiveTheSameSeries) {
  ProjectState st = CopperGlycineTitration(201, ActivityCorrection::kDebyeHuckel);
  st.activity.calculated = false;
  st.activity.fixedStrength = 0.1;
  st.activity.referenceStrength = 0.1;
  ProjectState plain = st;
  plain.activity.correction = ActivityCorrection::kNone;
  const SeriesRun reference = RunSeries(plain);
  ExpectSameNumbers(1e-12)(RunSeries(st), reference);

  ProjectState atZero = st;
  for (int i = 1; i <= st.nspecies; ++i) atZero.logbeta(i) = ConvertLogBeta(st, i, st.logbeta(i), 0.1, 0);
  atZero.activity.referenceStrength = 0;
  // CuGly+: Cu2+ of 6 Angstrom loses log gamma -0.397; Gly- and CuGly+, both
  // of 4 Angstrom and charge 1, cancel.
  EXPECT_NEAR(atZero.logbeta(3), 8.19 + 0.397, 2e-3);
  const SeriesRun moved = RunSeries(atZero);
  ExpectEveryPointHolds(atZero, moved);
  ExpectSameNumbers(1e-9)(moved, reference);
}

// A fixed ionic strength: every point reports it, and -log a(H+) lies
// -log gamma(H+) above -log [H+].
TEST(ActivitySeries, FixedIonicStrengthAndThePHOfTheActivity) {
  ProjectState st = StrongAcidTitration(101);
  st.activity.calculated = false;
  st.activity.fixedStrength = 0.5;
  const SeriesRun run = RunSeries(st);
  ExpectEveryPointHolds(st, run);
  for (int p = 1; p <= 101; ++p) {
    ASSERT_EQ(run.results.ionicStrength(p), 0.5);
    ASSERT_NEAR(run.results.pHActivity(p), -std::log10(run.results.speciesConc(1, p)) - DaviesUnivalent(0.5), 1e-12);
  }
}

// A distribution with the proton's pX given: pX is -log [H+]; the activity
// pH follows from it.
TEST(ActivitySeries, APXGivenProtonKeepsItsConcentration) {
  ProjectState st = ModelBuilder({"H", "L"}).Species(9.5, {1, 1}).Species(-13.78, {-1, 0}).Build();
  MakeDistribution(st, 11);
  SetPX(st, 1, 2, 12);
  SetTotal(st, 2, 1e-3, 1e-3);
  SetCharges(st, {1, -1});
  st.activity.correction = ActivityCorrection::kDavies;
  const SeriesRun run = RunSeries(st);
  ExpectEveryPointHolds(st, run);
  for (int p = 1; p <= 11; ++p) {
    ASSERT_DOUBLE_EQ(run.results.pH(p), 1 + p);
    ASSERT_NEAR(run.results.pHActivity(p), 1 + p - DaviesUnivalent(run.results.ionicStrength(p)), 1e-12);
  }
}

TEST(ActivitySeries, SettingsThatCannotBeCalculatedWithAreRefused) {
  ProjectState st = StrongAcidTitration(11);
  st.activity.referenceStrength = -1;
  const SeriesRun run = RunSeries(st);
  EXPECT_EQ(run.ifail, kBadActivitySettings);
  EXPECT_EQ(run.messages, std::vector<std::string>{"The ionic strength of the constants must be a number not below 0"});
  EXPECT_EQ(run.results.npoints, 0);
}

// The ionic-strength grid from the project's settings: the engine's ionic
// strength with a correction, else the sum over the point's species with the
// project's charges; a 2:-1 background salt counts its two anions.
TEST(StrengthGrid, RowsFromTheProjectsSettings) {
  ProjectState st = StrongAcidTitration(3);
  const SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  std::vector<StrengthRow> rows = StrengthRows(st, run.results);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].first, "1.00");  // 0.1 M HCl: pH 1.00 (concentration)
  EXPECT_EQ(rows[0].strength, "0.150000");
  // Without a correction: 0.1 M HCl and 0.05 M of a 2:-1 salt (0.15 M).
  st.activity.correction = ActivityCorrection::kNone;
  st.activity.cationCharge = 2;
  const SeriesRun plain = RunSeries(st);
  ASSERT_EQ(plain.ifail, kSuccess);
  EXPECT_FALSE(plain.results.activity);
  rows = StrengthRows(st, plain.results);
  EXPECT_EQ(rows[0].strength, "0.250000");
  // The last point: 2.5 mmol Cl-, 5 mmol Na+ and 2.5 mmol OH- in 75 mL.
  EXPECT_NEAR(SeriesIonicStrength(st, plain.results, 3), 0.15 + (2.5 + 5 + 2.5) / 75 / 2, 1e-9);
  // Nothing charged, only 0.10 M of a 1:-1 salt.
  ResetActivity(st.activity, st.nreag);
  rows = StrengthRows(st, plain.results);
  EXPECT_EQ(rows[2].strength, "0.100000");
  st.proton = 0;
  EXPECT_EQ(StrengthRows(st, plain.results)[2].first, " 3");
}

// The loop around the solver: a point whose species' ionic strength never
// settles fails after kMaxStrengthPasses solutions; a failed solution ends it
// at once.
TEST(StrengthLoop, ConvergesFailsOrStopsWithTheSolver) {
  ProjectState st = ModelBuilder({"M", "X"}).Species(1, {1, 1}).Build();
  SetCharges(st, {2, -1});
  st.activity.correction = ActivityCorrection::kDavies;
  st.activity.background = 0;
  StrengthCorrection correction(st);
  SolverWork w;
  w.Allocate(st);
  w.present(1) = w.present(2) = true;
  w.lnFree(1) = w.lnFree(2) = -700;  // the free ions count nothing
  int passes = 0;
  // The complex MX+ at 0.02 M whatever the constants: I = 0.01.
  double strength = 0.3;
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength,
                               [&](int pass) {
                                 passes = pass;
                                 w.conc(1) = 0.02;
                                 return true;
                               }),
            StrengthOutcome::kConverged);
  EXPECT_DOUBLE_EQ(strength, 0.01);
  EXPECT_EQ(passes, 2);
  // The complex jumps between 0.02 and 1 M at every solution.
  strength = 0.3;
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength,
                               [&](int pass) {
                                 passes = pass;
                                 w.conc(1) = pass % 2 == 1 ? 0.02 : 1.0;
                                 return true;
                               }),
            StrengthOutcome::kNotConverged);
  EXPECT_EQ(passes, kMaxStrengthPasses);
  // A solution that fails once is tried again nearer the ionic strength
  // solved before; one that keeps failing fails the point, as does a failure
  // of the first solution.
  strength = 0.3;
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength,
                               [&](int pass) {
                                 w.conc(1) = 0.02;
                                 return pass != 2;
                               }),
            StrengthOutcome::kConverged);
  EXPECT_DOUBLE_EQ(strength, 0.01);
  strength = 0.3;
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength,
                               [&](int pass) {
                                 passes = pass;
                                 return pass < 2;
                               }),
            StrengthOutcome::kSolverFailed);
  EXPECT_EQ(passes, 2 + kMaxFailedPasses);
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength, [](int) { return false; }), StrengthOutcome::kSolverFailed);
  // Points whose species' ionic strength I' = g(I) runs steeply (a plain
  // or secant iteration jumps between 0.2 and 150) or grows faster than I
  // up to a plateau: found all the same.
  const auto searching = [&](const std::function<double(double)>& g) {
    return [&, g](int pass) {
      passes = pass;
      w.conc(1) = 2 * g(correction.AppliedStrength());  // MX+ at 2 I'
      return true;
    };
  };
  strength = 0.1;
  EXPECT_EQ(SolveAtOwnStrength(correction, w, strength,
                               searching([](double x) { return 0.2 + 1000 * std::max(0.0, 0.25 - x); })),
            StrengthOutcome::kConverged);
  EXPECT_NEAR(strength, 250.2 / 1001, 1e-9);
  EXPECT_LT(passes, kMaxStrengthPasses / 2);
  strength = 0.1;
  EXPECT_EQ(
      SolveAtOwnStrength(correction, w, strength, searching([](double x) { return std::min(3 * x + 0.01, 2.0); })),
      StrengthOutcome::kConverged);
  EXPECT_NEAR(strength, 2, 1e-9);
  EXPECT_LT(passes, 20);
  EXPECT_EQ(StrengthFailureMessage(12), "ionic strength and activity coefficients did not converge at point 12");
}

}  // namespace
}  // namespace tarn::test

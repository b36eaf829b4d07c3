// Precipitation: a metal hydroxide and a carbonate against their closed forms
// at fixed pH and over rising and falling pH, at every point of coarse and
// fine series, and the points at which a solid enters and leaves.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

// Iron(III) hydrolysis: reagents Fe, H; log beta of FeH-1, FeH-2, FeH-4,
// Fe2H-2, Fe3H-4 and OH; the solid FeH-3(s) with log Ksp 3.84, so that where
// it is present [Fe] = 10^3.84 [H]^3.
struct Hydrolysis {
  int metal, proton;
  double logBeta;
};
const std::vector<Hydrolysis> kIron{{1, -1, -2.19}, {1, -2, -5.67}, {1, -4, -21.6},
                                    {2, -2, -2.95}, {3, -4, -6.3},  {0, -1, -13.78}};
constexpr double kIronLogKsp = 3.84;

// The iron model with the amorphous solid; more solids can follow it.
ModelBuilder IronBuilder() {
  ModelBuilder b({"Fe", "H"});
  for (const Hydrolysis& s : kIron) b.Species(s.logBeta, {s.metal, s.proton});
  return b.Solid(kIronLogKsp, {1, -3});
}

ProjectState Iron() {
  return IronBuilder().Build();
}

// The dissolved iron for free iron x at free proton h.
double DissolvedIron(double x, double h) {
  double total = x;
  for (const Hydrolysis& s : kIron)
    total += s.metal * std::pow(10.0, s.logBeta) * std::pow(x, s.metal) * std::pow(h, s.proton);
  return total;
}

struct Expected {
  bool solid;
  double free, amount;
};
Expected IronClosedFormAt(double logKsp, double total, double h) {
  const double saturated = std::pow(10.0, logKsp) * h * h * h;
  const double dissolved = DissolvedIron(saturated, h);
  if (total > dissolved) return {true, saturated, total - dissolved};
  double low = -60, high = std::log10(total);  // the free iron without solid, by bisection on log x
  for (int i = 0; i < 200; ++i) {
    const double mid = (low + high) / 2;
    (DissolvedIron(std::pow(10.0, mid), h) > total ? high : low) = mid;
  }
  return {false, std::pow(10.0, (low + high) / 2), 0};
}

Expected IronClosedForm(double total, double h) {
  return IronClosedFormAt(kIronLogKsp, total, h);
}

// Calcium carbonate: reagents Ca, CO3, H with HCO3 (10.33), H2CO3 (16.68) and
// OH; CaCO3(s) with log Ksp -7.62. With equal totals c of Ca and CO3 and no
// calcium complex, the solid holds [Ca] = sqrt(Ksp alpha), where alpha is the
// carbonate's side-reaction coefficient, and precipitates when c exceeds it.
// The carbonate model's species, without solids.
ModelBuilder CarbonateBuilder() {
  ModelBuilder b({"Ca", "CO3", "H"});
  b.Species(10.33, {0, 1, 1}).Species(16.68, {0, 1, 2}).Species(-13.78, {0, 0, -1});
  return b;
}

ProjectState Carbonate() {
  return CarbonateBuilder().Solid(-7.62, {1, 1, 0}).Build();
}

Expected CarbonateClosedFormAt(double logKsp, double total, double h) {
  const double alpha = 1 + std::pow(10.0, 10.33) * h + std::pow(10.0, 16.68) * h * h;
  const double saturated = std::sqrt(std::pow(10.0, logKsp) * alpha);
  if (total > saturated) return {true, saturated, total - saturated};
  return {false, total, 0};
}

Expected CarbonateClosedForm(double total, double h) {
  return CarbonateClosedFormAt(-7.62, total, h);
}

int SolidColumn(const ProjectState& st, int solid = 1) {
  return st.nreag + st.nspecies + solid;
}

// Runs the series and checks every point against the closed form of reagent
// 1: with the solid, its free concentration and the amount that closes its
// balance; without it, the balance without solid. The solid is present at
// every point where the closed form has it, the point at which it starts to
// form too.
template <typename ClosedForm>
SeriesRun ExpectClosedForms(const ProjectState& st, ClosedForm closedForm, int solid = 1) {
  SeriesRun run = RunSeries(st);
  EXPECT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  if (run.ifail != kSuccess) return run;
  const SeriesResults& r = run.results;
  for (int p = 1; p <= r.npoints; ++p) {
    const Expected e = closedForm(r.totalSet(p, 1), r.speciesConc(st.nreag, p));
    const double amount = r.speciesConc(SolidColumn(st, solid), p);
    EXPECT_NEAR(r.speciesConc(1, p) / e.free, 1, 1e-6) << "point " << p;
    if (amount > 0) {
      EXPECT_TRUE(e.solid) << "solid at point " << p << " where none can be";
      EXPECT_NEAR(amount / e.amount, 1, 1e-5) << "point " << p;
    } else {
      EXPECT_FALSE(e.solid && e.amount > 1e-9 * r.totalSet(p, 1)) << "solid missing at point " << p;
    }
  }
  EXPECT_TRUE(MassBalancesHold(st, r));
  EXPECT_TRUE(SolubilitiesHold(st, r));
  return run;
}

// Iron hydroxide as the total rises at fixed pH and over rising and falling
// pH; calcium carbonate over rising pH and redissolving as the pH falls; each
// with 2 points, with the usual 41 or 81, and with 1201, so that the point at
// which the solid starts to form is met however coarse the spacing.
TEST(Solids, MetalHydroxideAndCarbonateAgainstTheirClosedForms) {
  struct Case {
    ProjectState (*model)();
    Expected (*closedForm)(double total, double h);
    double pxi, pxf, initial, final;
  };
  const Case cases[] = {{Iron, IronClosedForm, 2.5, 2.5, 1e-6, 1e-2},
                        {Iron, IronClosedForm, 1, 5, 1e-3, 1e-3},
                        {Iron, IronClosedForm, 5, 1, 1e-3, 1e-3},
                        {Carbonate, CarbonateClosedForm, 6, 10, 1e-3, 1e-3},
                        {Carbonate, CarbonateClosedForm, 10, 6, 1e-3, 1e-3}};
  for (const Case& c : cases) {
    for (int n : {2, c.pxi == c.pxf ? 41 : 81, 1201}) {
      SCOPED_TRACE(std::to_string(c.pxi) + " to " + std::to_string(c.pxf) + ", " + std::to_string(n) + " points");
      ProjectState st = c.model();
      MakeDistribution(st, n);
      for (int j = 1; j < st.nreag; ++j) SetTotal(st, j, c.initial, c.final);
      SetPX(st, st.nreag, c.pxi, c.pxf);
      SeriesRun run = ExpectClosedForms(st, c.closedForm);
      // Each case has the solid at one end of the sweep and not at the other.
      const SeriesResults& r = run.results;
      EXPECT_NE(r.speciesConc(SolidColumn(st), 1) > 0, r.speciesConc(SolidColumn(st), n) > 0);
    }
  }
}

// Two solids of the same formula, the more soluble listed first: iron
// hydroxide as an amorphous solid (log Ksp 3.84) and a crystalline one (0.5);
// calcium carbonate as aragonite (-8.34) and calcite (-8.48). Only the less
// soluble one forms, where its closed form has it, however coarse the series.
TEST(Solids, OfTwoPolymorphsOnlyTheLessSolubleForms) {
  struct Case {
    ProjectState model;
    Expected (*closedForm)(double total, double h);
    double pxi, pxf;
  };
  const Case cases[] = {
      {IronBuilder().Solid(0.5, {1, -3}).Build(),
       [](double total, double h) { return IronClosedFormAt(0.5, total, h); }, 0, 4},
      {CarbonateBuilder().Solid(-8.34, {1, 1, 0}).Solid(-8.48, {1, 1, 0}).Build(),
       [](double total, double h) { return CarbonateClosedFormAt(-8.48, total, h); }, 6, 10}};
  for (const Case& c : cases) {
    for (int n : {2, 81}) {
      SCOPED_TRACE(c.model.name(1) + ", " + std::to_string(n) + " points");
      ProjectState st = c.model;
      MakeDistribution(st, n);
      for (int j = 1; j < st.nreag; ++j) SetTotal(st, j, 1e-3, 1e-3);
      SetPX(st, st.nreag, c.pxi, c.pxf);
      SeriesRun run = ExpectClosedForms(st, c.closedForm, 2);
      for (int p = 1; p <= n; ++p) EXPECT_EQ(run.results.speciesConc(SolidColumn(st, 1), p), 0) << p;
      EXPECT_GT(run.results.speciesConc(SolidColumn(st, 2), n), 0);
    }
  }
}

TEST(Solids, ASolidFormsAtTheFirstPointItCanAndLeavesWithItsReagent) {
  // With the proton's pX given, iron hydroxide forms at the first point; the
  // iron total falls to 0 at the sixth, where iron and its solid are absent.
  ProjectState st = Iron();
  MakeDistribution(st, 6);
  SetTotal(st, 1, 1e-3, 0);
  SetPX(st, 2, 4, 4);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  for (int p = 1; p <= 6; ++p) EXPECT_EQ(run.results.speciesConc(SolidColumn(st), p) > 0, p <= 5) << p;
  EXPECT_EQ(run.results.speciesConc(1, 6), 0);
  EXPECT_TRUE(MassBalancesHold(st, run.results));
  EXPECT_TRUE(SolubilitiesHold(st, run.results));
  // In a titration every total is given: the solid is present at once.
  ProjectState titration = Iron();
  MakeTitration(titration, 10, 11, 5);
  SetTitrant(titration, 1, 0.01, 0);
  SetTitrant(titration, 2, -0.005, -0.01);
  SeriesRun atOnce = RunSeries(titration);
  ASSERT_EQ(atOnce.ifail, kSuccess) << atOnce.messages.at(0);
  EXPECT_GT(atOnce.results.speciesConc(SolidColumn(titration), 1), 0);
  EXPECT_TRUE(MassBalancesHold(titration, atOnce.results));
  EXPECT_TRUE(SolubilitiesHold(titration, atOnce.results));
}

// Silver nitrate (0.1 M) into 25 mL of 0.05 M chloride, to 20 mL, with only
// AgCl(s) (log Ksp -9.54) and no complexes: once a c > Ksp, [Ag][Cl] = Ksp
// and [Ag] - [Cl] = a - c (the solid takes equal amounts of both), so before
// the equivalence point [Ag] = Ksp / [Cl] and after it [Ag] is the excess.
// Every point of a coarse and of a fine series against that closed form.
struct Titrated {
  double silver, chloride, solid;
};
Titrated SilverChlorideClosedForm(double a, double c, double ksp) {
  if (a * c <= ksp) return {a, c, 0};
  const double d = a - c, root = std::sqrt(d * d + 4 * ksp);
  const double silver = d >= 0 ? (d + root) / 2 : 2 * ksp / (root - d);  // without cancellation
  return {silver, ksp / silver, a - silver};
}

ProjectState SilverTitration(int points, bool chromate) {
  ModelBuilder b({"Ag", "Cl", "CrO4"});
  b.Solid(-9.54, {1, 1, 0});
  if (chromate) b.Solid(-11.31, {2, 0, 1});
  ProjectState st = b.Build();
  MakeTitration(st, 25, 45, points);
  SetTitrant(st, 1, 0, 0.1);
  SetTitrant(st, 2, 1.25, 0);
  SetTitrant(st, 3, chromate ? 0.125 : 0, 0);
  return st;
}

TEST(Solids, APrecipitationTitrationToAndPastItsEquivalencePoint) {
  const double ksp = std::pow(10.0, -9.54);
  for (int points : {2, 3, 41, 1201}) {
    SCOPED_TRACE(std::to_string(points) + " points");
    const ProjectState st = SilverTitration(points, false);
    SeriesRun run = RunSeries(st);
    ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
    const SeriesResults& r = run.results;
    for (int p = 1; p <= points; ++p) {
      const Titrated e = SilverChlorideClosedForm(r.totalSet(p, 1), r.totalSet(p, 2), ksp);
      const double amount = r.speciesConc(SolidColumn(st), p);
      if (p == 1) {
        EXPECT_EQ(r.speciesConc(1, p), 0);  // no silver yet
        continue;
      }
      EXPECT_NEAR(r.speciesConc(1, p) / e.silver, 1, 1e-6) << p;
      EXPECT_NEAR(r.speciesConc(2, p) / e.chloride, 1, 1e-6) << p;
      EXPECT_NEAR(amount / e.solid, 1, 1e-6) << p;
    }
    EXPECT_TRUE(MassBalancesHold(st, r));
    EXPECT_TRUE(SolubilitiesHold(st, r));
  }
}

// With 0.125 mmol chromate in the flask, Ag2CrO4(s) (log Ksp -11.31) starts
// to form where [Ag]^2 [CrO4] reaches its Ksp, [Ag] following the chloride's
// closed form: just past the equivalence point at 12.5 mL. No point before
// that volume shows the red solid, every point after it does.
TEST(Solids, TheChromateEndPointIsWhereSilverChromateStartsToForm) {
  const double ksp = std::pow(10.0, -9.54), kspChromate = std::pow(10.0, -11.31);
  auto excess = [&](double v) {  // log10 of Ag2CrO4's ion product over its Ksp at titrant volume v
    const double volume = 25 + v;
    const Titrated e = SilverChlorideClosedForm(0.1 * v / volume, 1.25 / volume, ksp);
    return std::log10(e.silver * e.silver * (0.125 / volume) / kspChromate);
  };
  double low = 12.5, high = 20;
  for (int i = 0; i < 100; ++i) (excess((low + high) / 2) > 0 ? high : low) = (low + high) / 2;
  const double endPoint = low;
  EXPECT_GT(endPoint, 12.5);
  EXPECT_LT(endPoint, 13);
  for (int points : {2, 41, 401}) {
    SCOPED_TRACE(std::to_string(points) + " points");
    const ProjectState st = SilverTitration(points, true);
    SeriesRun run = RunSeries(st);
    ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
    for (int p = 1; p <= points; ++p) {
      const double v = 20.0 * (p - 1) / (points - 1);
      if (std::fabs(v - endPoint) < 1e-6) continue;
      EXPECT_EQ(run.results.speciesConc(SolidColumn(st, 2), p) > 0, v > endPoint) << "at " << v << " mL";
    }
    EXPECT_TRUE(MassBalancesHold(st, run.results));
    EXPECT_TRUE(SolubilitiesHold(st, run.results));
  }
}

}  // namespace
}  // namespace tarn::test

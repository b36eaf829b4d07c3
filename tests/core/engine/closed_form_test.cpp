// Acids whose species have closed forms: the engine's free and species
// concentrations against the fractions computed independently.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "support/engine_checks.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

constexpr double kLogKw = -13.8;

double Relative(double calc, double expected) {
  return std::fabs(calc - expected) / std::fabs(expected);
}

// Reagents H, L; species HL (log beta 9.5), H2L (12, diprotic only) and OH (H-1).
ProjectState Acid(bool diprotic) {
  ModelBuilder b({"H", "L"});
  b.Species(9.5, {1, 1});
  if (diprotic) b.Species(12, {2, 1});
  return b.Species(kLogKw, {-1, 0}).Build();
}

// The closed forms at a free proton concentration h for a ligand total t:
// free ligand, HL, H2L and OH.
std::array<double, 4> Forms(double h, double t, bool diprotic) {
  const double b1 = std::pow(10.0, 9.5), b2 = diprotic ? 1e12 : 0.0;
  const double free = t / (1 + b1 * h + b2 * h * h);
  return {free, b1 * h * free, b2 * h * h * free, std::pow(10.0, kLogKw) / h};
}

// Every point's species against the closed forms at its own free proton and ligand total.
void ExpectAcidPoints(const ProjectState& st, const SeriesRun& run) {
  const bool diprotic = st.nspecies == 3;
  const SeriesResults& r = run.results;
  for (int p = 1; p <= r.npoints; ++p) {
    const std::array<double, 4> f = Forms(r.speciesConc(1, p), r.totalSet(p, 2), diprotic);
    EXPECT_LT(Relative(r.speciesConc(2, p), f[0]), 1e-9) << "point " << p;
    EXPECT_LT(Relative(r.speciesConc(3, p), f[1]), 1e-9) << "point " << p;
    if (diprotic) {
      EXPECT_LT(Relative(r.speciesConc(4, p), f[2]), 1e-9) << "point " << p;
    }
    EXPECT_LT(Relative(r.speciesConc(2 + st.nspecies, p), f[3]), 1e-9) << "point " << p;
  }
  EXPECT_TRUE(MassBalancesHold(st, r, 1e-9));
}

TEST(ClosedForm, AcidsOverPHAndAtFixedPHWithARisingTotal) {
  struct Case {
    bool diprotic;
    double pxi, pxf, ti, tf;
  };
  for (Case c : {Case{false, 2, 12, 1e-3, 1e-3}, Case{true, 2, 12, 1e-3, 1e-3}, Case{true, 9, 9, 1e-5, 1e-1}}) {
    ProjectState st = Acid(c.diprotic);
    MakeDistribution(st, 41);
    SetPX(st, 1, c.pxi, c.pxf);
    SetTotal(st, 2, c.ti, c.tf);
    SeriesRun run = RunSeries(st);
    ASSERT_EQ(run.ifail, kSuccess);
    EXPECT_TRUE(run.messages.empty());
    for (int p = 1; p <= 41; ++p) {
      const double x = (p - 1) / 40.0, pH = c.pxi + x * (c.pxf - c.pxi);
      EXPECT_NEAR(run.results.pH(p), pH, 1e-12);
      EXPECT_LT(Relative(run.results.speciesConc(1, p), std::pow(10.0, -pH)), 1e-12);
      EXPECT_DOUBLE_EQ(run.results.totalSet(p, 2), c.ti + x * (c.tf - c.ti));
    }
    ExpectAcidPoints(st, run);
  }
}

// 0.1 mmol of H2L in 20 mL (0.2 mmol of H) titrated with 0.1 M hydroxide to
// 30 mL: at each point the proton balance, which rises monotonically with
// [H], is solved for log[H] by bisection.
TEST(ClosedForm, DiproticAcidTitratedWithHydroxide) {
  ProjectState st = Acid(true);
  MakeTitration(st, 20, 30, 51);
  SetTitrant(st, 1, 0.2, -0.1);
  SetTitrant(st, 2, 0.1, 0);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
  for (int p = 1; p <= 51; ++p) {
    const double v = 10.0 * (p - 1) / 50;
    const double totalH = (0.2 - 0.1 * v) / (20 + v), totalL = 0.1 / (20 + v);
    double low = -16, high = 1;
    for (int i = 0; i < 200; ++i) {
      const double mid = (low + high) / 2, h = std::pow(10.0, mid);
      const std::array<double, 4> f = Forms(h, totalL, true);
      (h + f[1] + 2 * f[2] - f[3] > totalH ? high : low) = mid;
    }
    const double logH = (low + high) / 2;
    EXPECT_NEAR(std::log10(run.results.speciesConc(1, p)), logH, 1e-8) << "point " << p;
    // The pH of a total-given proton is -ln[H] / 2.302585.
    EXPECT_NEAR(run.results.pH(p), -std::log(run.results.speciesConc(1, p)) / 2.302585, 1e-12) << "point " << p;
  }
  ExpectAcidPoints(st, run);
}

}  // namespace
}  // namespace tarn::test

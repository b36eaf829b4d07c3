// Acids whose species have closed forms: the engine's free and species
// concentrations against the fractions computed independently.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine_checks.h"
#include "model_builder.h"

namespace tarn::test {
namespace {

constexpr double kLogKw = -13.8;

double Relative(double calc, double expected) {
  return std::fabs(calc - expected) / std::fabs(expected);
}

// Reagents H, L; species HL, H2L (when logBeta2 is given) and OH (H-1).
ProjectState Acid(double logBeta1, double logBeta2 = NAN) {
  ModelBuilder b({"H", "L"});
  b.Species(logBeta1, {1, 1});
  if (!std::isnan(logBeta2)) b.Species(logBeta2, {2, 1});
  b.Species(kLogKw, {-1, 0});
  return b.Build();
}

// The closed forms at a free proton concentration h: free ligand and each
// protonated form for a ligand total t.
struct AcidForms {
  double free, hl, h2l, oh;
};
AcidForms Forms(double h, double t, double logBeta1, double logBeta2) {
  const double b1 = std::pow(10.0, logBeta1), b2 = std::isnan(logBeta2) ? 0.0 : std::pow(10.0, logBeta2);
  const double free = t / (1 + b1 * h + b2 * h * h);
  return {free, b1 * h * free, b2 * h * h * free, std::pow(10.0, kLogKw) / h};
}

void ExpectAcidPoints(const ProjectState& st, const SeriesRun& run, double logBeta1, double logBeta2) {
  const int nspecies = st.nspecies;
  for (int p = 1; p <= run.results.npoints; ++p) {
    const double h = run.results.speciesConc(1, p);
    const double t = run.results.totalSet(p, 2);
    const AcidForms f = Forms(h, t, logBeta1, logBeta2);
    EXPECT_LT(Relative(run.results.speciesConc(2, p), f.free), 1e-9) << "point " << p;
    EXPECT_LT(Relative(run.results.speciesConc(3, p), f.hl), 1e-9) << "point " << p;
    if (nspecies == 3) {
      EXPECT_LT(Relative(run.results.speciesConc(4, p), f.h2l), 1e-9) << "point " << p;
    }
    EXPECT_LT(Relative(run.results.speciesConc(2 + nspecies, p), f.oh), 1e-9) << "point " << p;
  }
}

TEST(ClosedForm, MonoproticAndDiproticAcidsOverPH) {
  for (double logBeta2 : {static_cast<double>(NAN), 12.0}) {
    ProjectState st = Acid(9.5, logBeta2);
    MakeDistribution(st, 41);
    SetPX(st, 1, 2, 12);
    SetTotal(st, 2, 1e-3, 1e-3);
    SeriesRun run = RunSeries(st);
    ASSERT_EQ(run.ifail, kSuccess);
    EXPECT_TRUE(run.messages.empty());
    for (int p = 1; p <= 41; ++p) {
      const double pH = 2 + (p - 1) * 0.25;
      EXPECT_NEAR(run.results.pH(p), pH, 1e-12);
      EXPECT_LT(Relative(run.results.speciesConc(1, p), std::pow(10.0, -pH)), 1e-12);
    }
    ExpectAcidPoints(st, run, 9.5, logBeta2);
    EXPECT_TRUE(MassBalancesHold(st, run.results, 1e-9));
  }
}

TEST(ClosedForm, FixedPHWithRisingTotalKeepsTheFractions) {
  ProjectState st = Acid(9.5, 12.0);
  MakeDistribution(st, 21);
  SetPX(st, 1, 9, 9);
  SetTotal(st, 2, 1e-5, 1e-1);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess);
  const double h = 1e-9, b1 = std::pow(10.0, 9.5), b2 = 1e12;
  const double denominator = 1 + b1 * h + b2 * h * h;
  for (int p = 1; p <= 21; ++p) {
    const double t = 1e-5 + (p - 1) * (1e-1 - 1e-5) / 20;
    EXPECT_DOUBLE_EQ(run.results.totalSet(p, 2), t);
    EXPECT_LT(Relative(run.results.speciesConc(2, p) / t, 1 / denominator), 1e-9);
    EXPECT_LT(Relative(run.results.speciesConc(3, p) / t, b1 * h / denominator), 1e-9);
    EXPECT_LT(Relative(run.results.speciesConc(4, p) / t, b2 * h * h / denominator), 1e-9);
  }
}

// The proton balance of an acid titrated with hydroxide, solved for log[H] by
// bisection: it rises monotonically with [H].
double ProtonExcess(double h, double totalH, double totalL, double logBeta1, double logBeta2) {
  const AcidForms f = Forms(h, totalL, logBeta1, logBeta2);
  return h + f.hl + 2 * f.h2l - f.oh - totalH;
}

double SolveLogH(const std::function<double(double)>& excess) {
  double low = -16, high = 1;
  for (int i = 0; i < 200; ++i) {
    const double mid = (low + high) / 2;
    (excess(std::pow(10.0, mid)) > 0 ? high : low) = mid;
  }
  return (low + high) / 2;
}

TEST(ClosedForm, DiproticAcidTitratedWithHydroxide) {
  ProjectState st = Acid(9.5, 12.0);
  MakeTitration(st, 20, 30, 51);
  SetTitrant(st, 1, 0.2, -0.1);  // 0.1 mmol of H2L: 0.2 mmol of H, titrated with 0.1 M hydroxide
  SetTitrant(st, 2, 0.1, 0);
  SeriesRun run = RunSeries(st);
  ASSERT_EQ(run.ifail, kSuccess) << (run.messages.empty() ? "" : run.messages[0]);
  for (int p = 1; p <= 51; ++p) {
    const double v = 10.0 * (p - 1) / 50;
    const double totalH = (0.2 - 0.1 * v) / (20 + v), totalL = 0.1 / (20 + v);
    const double logH = SolveLogH([&](double h) { return ProtonExcess(h, totalH, totalL, 9.5, 12.0); });
    EXPECT_NEAR(std::log10(run.results.speciesConc(1, p)), logH, 1e-8) << "point " << p;
    // The pH of a total-given proton: -ln[H] / 2.302585.
    EXPECT_NEAR(run.results.pH(p), -logH, 1e-6) << "point " << p;
  }
  ExpectAcidPoints(st, run, 9.5, 12.0);
  EXPECT_TRUE(MassBalancesHold(st, run.results, 1e-9));
}

}  // namespace
}  // namespace tarn::test

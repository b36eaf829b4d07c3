// The solver's procedures on states set up by hand: the linear solver, the
// species concentrations, the two Newton iterations and the search.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "engine/new_concentrations.h"
#include "model_builder.h"

namespace tarn::test {
namespace {

constexpr double kLn10 = std::numbers::ln10;

Array2<double> Matrix(const std::vector<std::vector<double>>& rows) {
  const int n = static_cast<int>(rows.size());
  Array2<double> a(n, n);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) a(i, j) = rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
  return a;
}

Array1<double> Vector(const std::vector<double>& values) {
  Array1<double> v(static_cast<int>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) v(static_cast<int>(i) + 1) = values[i];
  return v;
}

TEST(SolveLDL, SolvesAndFactorisesASymmetricPositiveDefiniteMatrix) {
  const Array2<double> a = Matrix({{4, 1, 2, 0.5}, {1, 5, 1, 1}, {2, 1, 6, 2}, {0.5, 1, 2, 7}});
  const std::vector<double> x{1, -2, 3, 0.5};
  std::vector<double> b(4, 0);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) b[static_cast<std::size_t>(i - 1)] += a(i, j) * x[static_cast<std::size_t>(j - 1)];
  Array2<double> factor = a;
  Array1<double> rhs = Vector(b), d(4);
  ASSERT_EQ(SolveLDL(factor, rhs, d, 4, kNotPositiveDefinite), kSuccess);
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(rhs(i), x[static_cast<std::size_t>(i - 1)], 1e-13);
  // A = U' D U with U unit upper triangular in the strict upper triangle; the
  // diagonal is kept.
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(factor(i, i), a(i, i));
    for (int j = i; j <= 4; ++j) {
      double sum = 0;
      for (int k = 1; k <= i; ++k) sum += (k == i ? 1 : factor(k, i)) * d(k) * (k == j ? 1 : factor(k, j));
      EXPECT_NEAR(sum, a(i, j), 1e-13) << i << "," << j;
    }
  }
}

TEST(SolveLDL, PivotFailures) {
  // Not positive definite: with a positive code the pivot 1 - 4 = -3 fails.
  Array2<double> indefinite = Matrix({{1, 2}, {2, 1}});
  Array1<double> b = Vector({1, 1}), d(2);
  EXPECT_EQ(SolveLDL(indefinite, b, d, 2, kNotPositiveDefinite), kNotPositiveDefinite);
  // Without the sign test an indefinite matrix (a solid's row) solves...
  Array2<double> withSolid = Matrix({{2, 0, 1}, {0, 3, 1}, {1, 1, 0}});
  Array1<double> rhs = Vector({3, 4, 2}), pivots(3);
  ASSERT_EQ(SolveLDL(withSolid, rhs, pivots, 3, kSolidsArithmeticFault), kSuccess);
  EXPECT_NEAR(rhs(1), 1, 1e-14);
  EXPECT_NEAR(rhs(2), 1, 1e-14);
  EXPECT_NEAR(rhs(3), 1, 1e-14);
  // ... but a zero pivot is an arithmetic fault.
  Array2<double> singular = Matrix({{1, 1}, {1, 1}});
  Array1<double> c = Vector({1, 2}), e(2);
  EXPECT_EQ(SolveLDL(singular, c, e, 2, kSolidsArithmeticFault), kSolidsArithmeticFault);
}

TEST(SolveLDL, ASinglePrecisionMatrixKeepsItsFactorInSinglePrecision) {
  Array2<float> a(2, 2);
  a(1, 1) = 3;
  a(1, 2) = 1;
  a(2, 2) = 2;
  Array1<double> b = Vector({4, 3}), d(2);
  ASSERT_EQ(SolveLDL(a, b, d, 2, kSolidsArithmeticFault), kSuccess);
  EXPECT_EQ(a(1, 2), static_cast<float>(1.0 / 3.0));
  EXPECT_NEAR(b(1), 1, 1e-7);
  EXPECT_NEAR(b(2), 1, 1e-7);
}

// Reagents M, L, H with ML (log beta 5), ML2 (9, ignored when asked), MLH-1
// (-3) and OH (-14); all present, M and L the unknowns.
struct Point {
  ProjectState state;
  SolverWork work;
  explicit Point(int refineOfML2 = 0)
      : state(ModelBuilder({"M", "L", "H"})
                  .Species(5, {1, 1, 0})
                  .Species(9, {1, 2, 0}, refineOfML2)
                  .Species(-3, {1, 1, -1})
                  .Species(-14, {0, 0, -1})
                  .Build()) {
    work.Allocate(state);
    for (int j = 1; j <= 3; ++j) work.present(j) = true;
    Unknown(1, 1e-3);
    Unknown(2, 2e-3);
    work.lnFree(3) = -7 * kLn10;
  }
  void Unknown(int j, double total) {
    const int k = ++work.nfree;
    work.freeReagent(k) = j;
    work.freeTotal(k) = total;
    for (int i = 1; i <= state.nspecies; ++i) work.freeCoef(k, i) = state.a(j, i);
    work.lnFree(j) = std::log(total) - 6;
  }
};

TEST(Solver, SpeciesConcentrationsOfPresentIgnoredAndAbsentReagents) {
  Point pt(kRefineIgnore);
  pt.work.lnFree(1) = -4 * kLn10;
  pt.work.lnFree(2) = -3 * kLn10;
  SpeciesConcentrations(pt.state, pt.work);
  EXPECT_NEAR(pt.work.conc(1), 1e-2, 1e-15);  // 10^(5 - 4 - 3)
  EXPECT_EQ(pt.work.conc(2), 0);              // ignored
  EXPECT_NEAR(pt.work.conc(3), 1e-3, 1e-16);  // 10^(-3 - 4 - 3 + 7)
  // An absent proton removes every species that has it, whatever the sign.
  pt.work.present(3) = false;
  SpeciesConcentrations(pt.state, pt.work);
  EXPECT_EQ(pt.work.conc(3), 0);
  EXPECT_EQ(pt.work.conc(4), 0);
  EXPECT_GT(pt.work.conc(1), 0);
}

TEST(Solver, ResidualsAndIonProduct) {
  Point pt;
  const double s = Residuals(pt.state, pt.work);
  const double m = std::exp(pt.work.lnFree(1)), l = std::exp(pt.work.lnFree(2));
  const double ml = 1e5 * m * l, ml2 = 1e9 * m * l * l, mlh = 1e-3 * m * l / 1e-7;
  EXPECT_NEAR(pt.work.resid(1), 1e-3 - m - ml - ml2 - mlh, 1e-18);
  EXPECT_NEAR(pt.work.resid(2), 2e-3 - l - ml - 2 * ml2 - mlh, 1e-18);
  EXPECT_NEAR(s, pt.work.resid(1) * pt.work.resid(1) + pt.work.resid(2) * pt.work.resid(2), 1e-30);
  // An overflow makes the sum infinite, never NaN.
  pt.work.lnFree(2) = 800;
  EXPECT_EQ(Residuals(pt.state, pt.work), std::numeric_limits<double>::infinity());
}

TEST(Solver, IonProductCountsPresentReagentsOnly) {
  ProjectState st = ModelBuilder({"M", "L", "H"}).Solid(-10, {1, 2, -1}).Build();
  SolverWork w;
  w.Allocate(st);
  w.lnFree(1) = -3;
  w.lnFree(2) = -4;
  w.lnFree(3) = -5;
  for (int j = 1; j <= 3; ++j) w.present(j) = true;
  EXPECT_DOUBLE_EQ(IonProduct(st, w, 1), -3 - 8 + 5);
  w.present(3) = false;
  EXPECT_DOUBLE_EQ(IonProduct(st, w, 1), -11);
}

TEST(Solver, NewtonSolubleReachesTheSolutionFromAFarStart) {
  for (double start : {-40.0, 5.0}) {
    Point pt;
    pt.work.lnFree(1) = start;
    pt.work.lnFree(2) = start;
    NewtonSoluble(pt.state, pt.work);
    ASSERT_EQ(pt.work.ifail, kSuccess) << start;
    for (int k = 1; k <= 2; ++k) EXPECT_LT(std::fabs(pt.work.resid(k)), 1e-9 * pt.work.freeTotal(k));
  }
}

TEST(Solver, SearchEstimatesImprovesAPoorStart) {
  Point pt;
  pt.work.lnFree(1) = 3;
  pt.work.lnFree(2) = -60;
  const double before = Residuals(pt.state, pt.work);
  SearchEstimates(pt.state, pt.work);
  EXPECT_LT(Residuals(pt.state, pt.work), before);
  NewtonSoluble(pt.state, pt.work);
  EXPECT_EQ(pt.work.ifail, kSuccess);
}

// Iron(III) at a fixed pH with FeH-3(s), log Ksp 3.84, active with an amount
// of 0, as the series sets it at a point.
struct IronPoint {
  ProjectState state = ModelBuilder({"Fe", "H"}).Species(-2.19, {1, -1}).Solid(3.84, {1, -3}).Build();
  SolverWork work;
  IronPoint(double total, double pH, double lnFreeIron) {
    work.Allocate(state);
    work.present(1) = work.present(2) = true;
    work.nfree = 1;
    work.freeReagent(1) = 1;
    work.freeTotal(1) = total;
    work.freeCoef(1, 1) = 1;
    work.lnFree(1) = lnFreeIron;
    work.lnFree(2) = -pH * kLn10;
    work.solidFlag(1) = true;
    work.nactive = 1;
  }
};

TEST(Solver, ASolidWithAPositiveLogKspStaysWhileSaturated) {
  // At pH 3, 1e-3 M iron: [Fe] = 10^(3.84 - 9) and the rest precipitates.
  IronPoint pt(1e-3, 3, std::log(1e-3));
  NewtonWithSolids(pt.state, pt.work);
  ASSERT_EQ(pt.work.ifail, kSuccess);
  ASSERT_TRUE(pt.work.solidFlag(1));
  const double fe = std::pow(10.0, 3.84 - 9);
  EXPECT_NEAR(std::exp(pt.work.lnFree(1)) / fe, 1, 1e-9);
  EXPECT_NEAR(pt.work.solidAmount(1) / (1e-3 - fe - std::pow(10.0, -2.19) * fe / 1e-3), 1, 1e-5);
}

TEST(Solver, ASolidThatMustDissolveLeavesTheSet) {
  // At pH 1.5 everything dissolves: the solid leaves and the caller is left
  // to solve the soluble system.
  IronPoint pt(1e-3, 1.5, std::log(1e-5));
  NewtonWithSolids(pt.state, pt.work);
  EXPECT_EQ(pt.work.ifail, kSuccess);
  EXPECT_FALSE(pt.work.solidFlag(1));
  EXPECT_EQ(pt.work.nactive, 0);
  EXPECT_EQ(pt.work.solidAmount(1), 0);
}

}  // namespace
}  // namespace tarn::test

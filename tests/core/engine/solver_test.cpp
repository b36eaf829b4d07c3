// The solver's procedures on states set up by hand: the linear solver and
// the ion product. (The iterations are tested through the point series.)

#include <gtest/gtest.h>

#include <cmath>

#include "core/engine/new_concentrations.h"
#include "support/model_builder.h"

namespace tarn::test {
namespace {

template <typename T = double>
Array2<T> Matrix(const std::vector<std::vector<double>>& rows) {
  const int n = static_cast<int>(rows.size());
  Array2<T> a(n, n);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j)
      a(i, j) = static_cast<T>(rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)]);
  return a;
}

Array1<double> Vector(const std::vector<double>& values) {
  Array1<double> v(static_cast<int>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) v(static_cast<int>(i) + 1) = values[i];
  return v;
}

TEST(SolveLDL, SolvesAndReportsBadPivotsByItsCode) {
  // A symmetric positive definite matrix and b = A (1, -2, 3, 0.5).
  Array2<double> a = Matrix({{4, 1, 2, 0.5}, {1, 5, 1, 1}, {2, 1, 6, 2}, {0.5, 1, 2, 7}});
  Array1<double> b = Vector({8.25, -5.5, 19, 8}), d(4);
  ASSERT_EQ(SolveLDL(a, b, d, 4, kNotPositiveDefinite), kSuccess);
  const std::vector<double> x{1, -2, 3, 0.5};
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(b(i), x[static_cast<std::size_t>(i - 1)], 1e-13);
  // Not positive definite: with a positive code the pivot 1 - 4 = -3 fails.
  Array2<double> indefinite = Matrix({{1, 2}, {2, 1}});
  Array1<double> c = Vector({1, 1}), e(2);
  EXPECT_EQ(SolveLDL(indefinite, c, e, 2, kNotPositiveDefinite), kNotPositiveDefinite);
  // Without the sign test an indefinite matrix (a solid's row) solves...
  Array2<double> withSolid = Matrix({{2, 0, 1}, {0, 3, 1}, {1, 1, 0}});
  Array1<double> rhs = Vector({3, 4, 2}), pivots(3);
  ASSERT_EQ(SolveLDL(withSolid, rhs, pivots, 3, kSolidsArithmeticFault), kSuccess);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(rhs(i), 1, 1e-14);
  // ... but a zero pivot is an arithmetic fault.
  Array2<double> singular = Matrix({{1, 1}, {1, 1}});
  Array1<double> f = Vector({1, 2}), g(2);
  EXPECT_EQ(SolveLDL(singular, f, g, 2, kSolidsArithmeticFault), kSolidsArithmeticFault);
  // A single-precision matrix keeps its factor in single precision.
  Array2<float> single = Matrix<float>({{3, 1}, {1, 2}});
  Array1<double> h = Vector({4, 3}), k(2);
  ASSERT_EQ(SolveLDL(single, h, k, 2, kSolidsArithmeticFault), kSuccess);
  EXPECT_EQ(single(1, 2), static_cast<float>(1.0 / 3.0));
  EXPECT_NEAR(h(1), 1, 1e-7);
  EXPECT_NEAR(h(2), 1, 1e-7);
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

}  // namespace
}  // namespace tarn::test

#pragma once
// The linear solver of the Newton iterations: a root-free factorisation
// A = U' D U (U unit upper triangular) of a symmetric matrix of which only the
// upper triangle is read, and the solution of A x = b.

#include <cmath>
#include <type_traits>

#include "core/engine/solver_work.h"
#include "core/model/index_array.h"

namespace tarn {

namespace ldl_detail {

inline bool Finite(double x) {
  return std::isfinite(x);
}

// A pivot that ends the factorisation: with code > 0 any pivot that is not
// positive; otherwise (an indefinite matrix) a zero or non-finite pivot, where
// the division by it would be an arithmetic fault.
inline bool BadPivot(double d, int code) {
  return code > 0 ? !(d > 0) : (d == 0 || !Finite(d));
}

}  // namespace ldl_detail

// Solves with a matrix factorised by SolveLDL (U in its strict upper
// triangle, the pivots in d): b becomes the solution. Returns kSuccess, or
// code when the solution is not finite.
template <typename Matrix>
int SolveFactoredLDL(const Matrix& a, Array1<double>& b, const Array1<double>& d, int n, int code) {
  double* x = b.Data();
  const double* pivot = d.Data();
  for (int i = 2; i <= n; ++i)
    for (int k = 1; k < i; ++k) x[i] -= static_cast<double>(a.Row(k)[i]) * x[k];
  for (int i = n; i >= 1; --i) {
    const auto* rowI = a.Row(i);
    x[i] /= pivot[i];
    for (int j = i + 1; j <= n; ++j) x[i] -= static_cast<double>(rowI[j]) * x[j];
    if (!ldl_detail::Finite(x[i])) return code;
  }
  return kSuccess;
}

// Factorises the n x n matrix a in place (the diagonal is kept, the strict
// upper triangle receives U; every value stored back is rounded to the
// matrix's element type) and solves a x = b: on return b holds x and d the
// pivots D. The arithmetic runs in double precision. Returns kSuccess, or code
// when a pivot fails (see BadPivot) or the solution is not finite.
template <typename Matrix>
int SolveLDL(Matrix& a, Array1<double>& b, Array1<double>& d, int n, int code) {
  using Element = std::remove_cvref_t<decltype(a(0, 0))>;
  double* pivot = d.Data();
  for (int i = 1; i <= n; ++i) {
    Element* rowI = a.Row(i);
    double di = rowI[i];
    for (int k = 1; k < i; ++k) {
      const double u = a.Row(k)[i];
      di -= pivot[k] * u * u;
    }
    pivot[i] = di;
    if (ldl_detail::BadPivot(di, code)) return code;
    for (int j = i + 1; j <= n; ++j) {
      double v = rowI[j];
      for (int k = 1; k < i; ++k) {
        const Element* rowK = a.Row(k);
        v -= pivot[k] * static_cast<double>(rowK[i]) * static_cast<double>(rowK[j]);
      }
      rowI[j] = static_cast<Element>(v / di);
    }
  }
  return SolveFactoredLDL(a, b, d, n, code);
}

}  // namespace tarn

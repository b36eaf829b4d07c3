// The free-energy minimisation: Newton steps on the unknowns' natural-log
// free concentrations, held on the active solids' solubilities, with a line
// search on the free energy; and the single-reagent estimates that start it.

#include "core/model/constants.h"
#include "core/engine/free_energy.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "core/engine/new_concentrations.h"
#include "core/engine/solve_ldl.h"
#include "core/engine/solver_steps.h"

namespace tarn {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Armijo's rule: a step must lower G by this fraction of its first-order
// prediction.
constexpr double kArmijo = 1e-4;
constexpr int kMaxLineHalvings = 60;
// No natural-log free concentration moves by more than this in one step.
constexpr double kMaxLnStep = 30;
// A step this small that the line search cannot place is taken as
// convergence; the mass balances then decide.
constexpr double kStalledStep = 1e-6;
// A balance closed to this many roundings of its terms is closed.
constexpr double kRoundingUlps = 16;
// When the smallest step so far is at most this large and this many steps
// have not halved it, the steps are the rounding of the residuals.
constexpr double kNoiseStep = 1e-4;
constexpr int kStagnantSteps = 3;
// The natural-log free concentrations the estimates keep to (e^-700 is about
// 1e-304).
constexpr double kLowestLn = -700;
constexpr double kHighestLn = 700;
constexpr int kMaxEstimateIterations = 200;
constexpr double kEstimateMove = 0.1;

// The active solids' solubilities as linear constraints on the unknowns:
// coef(k, r) x_k summed over k equals bound(r) for the solid of rank r.
struct Constraints {
  int m = 0;
  std::vector<int> solid;  // [r], r = 1..m (element 0 unused)
  Array2<double> coef;     // [k, r]
  Array1<double> bound;    // [r]
};

Constraints ActiveConstraints(const ProjectState& state, const SolverWork& w) {
  Constraints c;
  c.solid.push_back(0);
  for (int s = 1; s <= state.nsolids; ++s)
    if (w.solidFlag(s)) c.solid.push_back(s);
  c.m = static_cast<int>(c.solid.size()) - 1;
  c.coef.Resize(w.nfree, c.m);
  c.bound.Resize(c.m);
  for (int r = 1; r <= c.m; ++r) {
    const int s = c.solid[static_cast<std::size_t>(r)];
    // The pX-given reagents' part of the ion product is a constant.
    double bound = kLn10 * w.logKsp(s) - IonProduct(state, w, s);
    for (int k = 1; k <= w.nfree; ++k) {
      c.coef(k, r) = state.sa(w.freeReagent(k), s);
      bound += c.coef(k, r) * w.lnFree(w.freeReagent(k));
    }
    c.bound(r) = bound;
  }
  return c;
}

double Unknown(const SolverWork& w, int k) {
  return w.lnFree(w.freeReagent(k));
}

// bound(r) minus constraint r's present value.
double Violation(const Constraints& c, const SolverWork& w, int r) {
  double v = c.bound(r);
  for (int k = 1; k <= w.nfree; ++k) v -= c.coef(k, r) * Unknown(w, k);
  return v;
}

// Moves the unknowns the shortest way onto the constraints. False when the
// active solids' formulas on the unknowns depend on each other.
bool Project(const Constraints& c, SolverWork& w) {
  if (c.m == 0) return true;
  Array2<double> gram(c.m, c.m);
  Array1<double> violation(c.m), pivots(c.m);
  for (int r = 1; r <= c.m; ++r) {
    violation(r) = Violation(c, w, r);
    for (int q = r; q <= c.m; ++q)
      for (int k = 1; k <= w.nfree; ++k) gram(r, q) += c.coef(k, r) * c.coef(k, q);
  }
  if (SolveLDL(gram, violation, pivots, c.m, kNotPositiveDefinite) != kSuccess) return false;
  for (int k = 1; k <= w.nfree; ++k)
    for (int r = 1; r <= c.m; ++r) w.lnFree(w.freeReagent(k)) += c.coef(k, r) * violation(r);
  return true;
}

// The Jacobian of the last concentrations as a full symmetric matrix.
Array2<double> FullJacobian(const ProjectState& state, SolverWork& w) {
  FormJacobian(state, w);
  const int n = w.nfree;
  Array2<double> h(n, n);
  for (int k = 1; k <= n; ++k)
    for (int m = k; m <= n; ++m) h(k, m) = h(m, k) = w.jac(k, m);
  return h;
}

// Solves a x = b for the symmetric positive definite n x n matrix a (b
// becomes x). A pivot that rounding leaves at or below 0 is met by a small
// ridge on the diagonal.
bool SolvePositive(const Array2<double>& a, Array1<double>& b, int n) {
  double largest = 0;
  for (int k = 1; k <= n; ++k) largest = std::max(largest, a(k, k));
  Array2<double> factor(n, n);
  Array1<double> x(n), pivots(n);
  double ridge = 0;
  for (int attempt = 0; attempt < 6; ++attempt) {
    for (int k = 1; k <= n; ++k) {
      for (int m = k; m <= n; ++m) factor(k, m) = a(k, m);
      factor(k, k) += ridge;
      x(k) = b(k);
    }
    if (SolveLDL(factor, x, pivots, n, kNotPositiveDefinite) == kSuccess) {
      for (int k = 1; k <= n; ++k) b(k) = x(k);
      return true;
    }
    ridge = ridge == 0 ? 1e-14 * largest : ridge * 100;
  }
  return false;
}

// The unknowns that the active solids' solubilities fix (one per solid) and
// the inverse of their coefficients.
struct Basis {
  std::vector<int> basic;  // [t], t = 1..m: the unknown k fixed by constraint row t's pivot
  Array2<double> inverse;  // [t, r]: inverse of B(r, t) = coef(basic[t], r)
};

// Chooses the unknown each solid fixes by elimination with complete pivoting
// on the coefficients scaled by the Jacobian's diagonal, so that a solid fixes
// the unknown whose own balance moves it least: a reagent held almost wholly
// in a solid is set by the solid's Ksp, not by a balance that its free
// concentration hardly enters. Empty when the formulas depend on each other.
std::vector<int> PivotUnknowns(const Constraints& c, const Array2<double>& h, int n) {
  Array2<double> e(c.m, n);  // scaled coefficients, eliminated in place
  for (int r = 1; r <= c.m; ++r)
    for (int k = 1; k <= n; ++k) e(r, k) = c.coef(k, r) / std::sqrt(std::max(h(k, k), DBL_MIN));
  std::vector<bool> rowDone(static_cast<std::size_t>(c.m) + 1), columnDone(static_cast<std::size_t>(n) + 1);
  std::vector<int> basic{0};
  for (int t = 1; t <= c.m; ++t) {
    int pivotRow = 0, pivotColumn = 0;
    double largest = 0;
    for (int r = 1; r <= c.m; ++r)
      for (int k = 1; k <= n && !rowDone[static_cast<std::size_t>(r)]; ++k)
        if (!columnDone[static_cast<std::size_t>(k)] && std::fabs(e(r, k)) > largest) {
          largest = std::fabs(e(r, k));
          pivotRow = r, pivotColumn = k;
        }
    if (pivotRow == 0) return {};
    rowDone[static_cast<std::size_t>(pivotRow)] = columnDone[static_cast<std::size_t>(pivotColumn)] = true;
    basic.push_back(pivotColumn);
    for (int r = 1; r <= c.m; ++r) {
      if (rowDone[static_cast<std::size_t>(r)]) continue;
      const double f = e(r, pivotColumn) / e(pivotRow, pivotColumn);
      for (int k = 1; k <= n; ++k) e(r, k) -= f * e(pivotRow, k);
    }
  }
  return basic;
}

// The inverse of the m x m matrix b by Gauss-Jordan elimination with partial
// pivoting (b is used up). False when b is singular.
bool Invert(Array2<double>& b, int m, Array2<double>& inverse) {
  inverse.Resize(m, m);
  for (int r = 1; r <= m; ++r) inverse(r, r) = 1;
  for (int col = 1; col <= m; ++col) {
    int pivot = col;
    for (int r = col + 1; r <= m; ++r)
      if (std::fabs(b(r, col)) > std::fabs(b(pivot, col))) pivot = r;
    if (b(pivot, col) == 0) return false;
    for (int q = 1; q <= m; ++q) {
      std::swap(b(pivot, q), b(col, q));
      std::swap(inverse(pivot, q), inverse(col, q));
    }
    const double d = b(col, col);
    for (int q = 1; q <= m; ++q) b(col, q) /= d, inverse(col, q) /= d;
    for (int r = 1; r <= m; ++r) {
      if (r == col || b(r, col) == 0) continue;
      const double f = b(r, col);
      for (int q = 1; q <= m; ++q) b(r, q) -= f * b(col, q), inverse(r, q) -= f * inverse(col, q);
    }
  }
  return true;
}

bool ChooseBasis(const Constraints& c, const Array2<double>& h, int n, Basis& basis) {
  basis.basic = PivotUnknowns(c, h, n);
  if (basis.basic.empty()) return false;
  Array2<double> b(c.m, c.m);
  for (int r = 1; r <= c.m; ++r)
    for (int t = 1; t <= c.m; ++t) b(r, t) = c.coef(basis.basic[static_cast<std::size_t>(t)], r);
  return Invert(b, c.m, basis.inverse);
}

// h times v.
Array1<double> Times(const Array2<double>& h, const Array1<double>& v, int n) {
  Array1<double> out(n);
  for (int k = 1; k <= n; ++k)
    for (int m = 1; m <= n; ++m) out(k) += h(k, m) * v(m);
  return out;
}

// The constraints' null space in the basis: the particular step that closes
// the violations with the free unknowns held, and one direction per free
// unknown that moves the fixed ones with it.
struct NullSpace {
  Array1<double> particular;
  std::vector<Array1<double>> directions;
};

NullSpace MakeNullSpace(const Constraints& c, const Basis& basis, const SolverWork& w) {
  const int n = w.nfree;
  NullSpace space{Array1<double>(n), {}};
  std::vector<bool> isBasic(static_cast<std::size_t>(n) + 1);
  for (int t = 1; t <= c.m; ++t) {
    const int k = basis.basic[static_cast<std::size_t>(t)];
    isBasic[static_cast<std::size_t>(k)] = true;
    for (int r = 1; r <= c.m; ++r) space.particular(k) += basis.inverse(t, r) * Violation(c, w, r);
  }
  for (int j = 1; j <= n; ++j) {
    if (isBasic[static_cast<std::size_t>(j)]) continue;
    Array1<double> direction(n);
    direction(j) = 1;
    for (int t = 1; t <= c.m; ++t)
      for (int r = 1; r <= c.m; ++r)
        direction(basis.basic[static_cast<std::size_t>(t)]) -= basis.inverse(t, r) * c.coef(j, r);
    space.directions.push_back(std::move(direction));
  }
  return space;
}

// The step in the null space: the particular step plus the directions'
// combination that minimises the quadratic model of G (the reduced Newton
// system, positive definite).
bool ReducedStep(const NullSpace& space, const Array2<double>& h, const SolverWork& w, Array1<double>& step) {
  const int n = w.nfree, free = static_cast<int>(space.directions.size());
  Array1<double> gradient = w.resid;
  const Array1<double> hp = Times(h, space.particular, n);
  for (int k = 1; k <= n; ++k) gradient(k) -= hp(k);
  Array2<double> reduced(free, free);
  Array1<double> y(free);
  for (int u = 1; u <= free; ++u) {
    const Array1<double>& zu = space.directions[static_cast<std::size_t>(u - 1)];
    const Array1<double> hz = Times(h, zu, n);
    for (int k = 1; k <= n; ++k) y(u) += zu(k) * gradient(k);
    for (int v = 1; v <= free; ++v)
      for (int k = 1; k <= n; ++k) reduced(v, u) += space.directions[static_cast<std::size_t>(v - 1)](k) * hz(k);
  }
  if (free > 0 && !SolvePositive(reduced, y, free)) return false;
  for (int k = 1; k <= n; ++k) {
    step(k) = space.particular(k);
    for (int u = 1; u <= free; ++u) step(k) += space.directions[static_cast<std::size_t>(u - 1)](k) * y(u);
  }
  return true;
}

// The Newton step of the minimisation held on the constraints: h step +
// coef nu = resid with every constraint closed (its violation too). The step
// is solved in the constraints' null space, over the unknowns that no solid
// fixes; nu, from the fixed unknowns' rows, tends to the active solids'
// amounts. False on a fault (dependent formulas, a Hessian that is not
// positive definite).
bool NewtonStep(const Constraints& c, const Array2<double>& h, const SolverWork& w, Array1<double>& step,
                Array1<double>& nu) {
  const int n = w.nfree;
  for (int k = 1; k <= n; ++k) step(k) = w.resid(k);
  if (c.m == 0) return SolvePositive(h, step, n);
  Basis basis;
  if (!ChooseBasis(c, h, n, basis) || !ReducedStep(MakeNullSpace(c, basis, w), h, w, step)) return false;
  const Array1<double> hs = Times(h, step, n);
  for (int r = 1; r <= c.m; ++r) {
    nu(r) = 0;
    for (int t = 1; t <= c.m; ++t) {
      const int k = basis.basic[static_cast<std::size_t>(t)];
      nu(r) += basis.inverse(t, r) * (w.resid(k) - hs(k));
    }
  }
  return true;
}

enum class Search { kAccepted, kStalled };

// The change of G, with each unknown's total lessened by what the active
// solids hold (held), when the unknowns move by alpha * step from the state of
// the last concentrations. On the constraints, where the step keeps them,
// this is the change of G itself; lessening the totals first takes the
// solids' large and cancelling share out of the sums. The terms are summed
// one by one with e^x - 1, so that the change keeps its precision however
// small it is beside G (a trace reagent's balance is far below the rounding
// of G itself); +infinity on an overflow.
double EnergyChange(const SolverWork& w, const Array1<double>& step, const Array1<double>& held, double alpha) {
  double change = 0;
  for (int l = 1; l <= w.nlive; ++l) {
    const int i = w.liveSpecies(l);
    double lnRatio = 0;
    for (int t = w.unknownStart(i); t < w.unknownStart(i + 1); ++t)
      lnRatio += w.unknownCoef(t) * alpha * step(w.unknownIndex(t));
    change += w.conc(i) * std::expm1(lnRatio);
  }
  for (int k = 1; k <= w.nfree; ++k) {
    const double total = w.freeTotal(k) - held(k);
    change += w.freeConc(w.freeReagent(k)) * std::expm1(alpha * step(k)) - total * alpha * step(k);
  }
  return std::isfinite(change) ? change : kInfinity;
}

void MoveUnknowns(SolverWork& w, const Array1<double>& step, double alpha) {
  for (int k = 1; k <= w.nfree; ++k) w.lnFree(w.freeReagent(k)) += alpha * step(k);
}

// Shortens the step until G falls by Armijo's rule, then moves the unknowns
// there and evaluates the new state. A small step (at most kNoiseStep) whose
// predicted fall of G is below the rounding of G's change (its first-order
// terms, total times step, cancel to it) cannot be judged by G: it is taken
// whole, as Newton's method near the solution asks.
Search LineSearch(const ProjectState& state, SolverWork& w, const Array1<double>& step, const Array1<double>& held) {
  const int n = w.nfree;
  double slope = 0;  // G's derivative along the step
  double largest = 0, rounding = 0;
  for (int k = 1; k <= n; ++k) {
    slope -= (w.resid(k) - held(k)) * step(k);
    largest = std::max(largest, std::fabs(step(k)));
    rounding += std::fabs((w.freeTotal(k) - held(k)) * step(k));
  }
  rounding *= kRoundingUlps * DBL_EPSILON;
  const bool judged = -slope > rounding || largest > kNoiseStep;
  if (judged && !(slope < 0)) return Search::kStalled;
  double alpha = std::min(1.0, kMaxLnStep / largest);
  for (int halving = 0; halving <= kMaxLineHalvings; ++halving, alpha /= 2) {
    if (!judged || EnergyChange(w, step, held, alpha) <= kArmijo * alpha * slope) {
      MoveUnknowns(w, step, alpha);
      BalanceResiduals(state, w);
      if (!w.concOverflow) return Search::kAccepted;
      MoveUnknowns(w, step, -alpha);
      BalanceResiduals(state, w);
      return Search::kStalled;
    }
  }
  return Search::kStalled;
}

// What the active solids hold of each unknown's total, with amounts nu.
Array1<double> Held(const Constraints& c, const Array1<double>& nu, int n) {
  Array1<double> held(n);
  for (int k = 1; k <= n; ++k)
    for (int r = 1; r <= c.m; ++r) held(k) += c.coef(k, r) * nu(r);
  return held;
}

// Every balance (with what the solids hold) is closed to the rounding of its
// terms, so that a step the line search cannot place is no fault. A
// concentration e^L carries the rounding of the sum L = ln beta + sum of
// a ln(free): about as many units in its last place as the magnitudes of the
// sum's terms, so the terms' roundings grow with their logarithms.
bool AtRounding(const SolverWork& w, const Array1<double>& held) {
  const int n = w.nfree;
  Array1<double> rounding(n);
  for (int l = 1; l <= w.nlive; ++l) {
    const int i = w.liveSpecies(l);
    double units = 1 + std::fabs(w.lnBeta(i));
    for (int t = w.termStart(i); t < w.termStart(i + 1); ++t)
      units += std::fabs(w.termCoef(t) * w.lnFree(w.termReagent(t)));
    const double c = w.conc(i);
    for (int t = w.unknownStart(i); t < w.unknownStart(i + 1); ++t)
      rounding(w.unknownIndex(t)) += std::fabs(w.unknownCoef(t)) * c * units;
  }
  for (int k = 1; k <= n; ++k) {
    const int r = w.freeReagent(k);
    rounding(k) += w.freeConc(r) * (1 + std::fabs(w.lnFree(r))) + std::fabs(w.freeTotal(k)) + std::fabs(held(k));
    if (!(std::fabs(w.resid(k) - held(k)) <= kRoundingUlps * DBL_EPSILON * rounding(k))) return false;
  }
  return true;
}

// The end of the minimisation: the active solids' amounts from the
// multipliers and the residuals of the final state with them.
int Finish(const ProjectState& state, SolverWork& w, const Constraints& c, const Array1<double>& nu) {
  for (int r = 1; r <= c.m; ++r) w.solidAmount(c.solid[static_cast<std::size_t>(r)]) = nu(r);
  const double sum = ResidualsOfUnknowns(state, w);
  if (!std::isfinite(sum)) return kSolidsArithmeticFault;
  return BalancesHold(state, w) ? kSuccess : kIterationLimit;
}

// --- Single-reagent estimates.

// Unknown k's terms: the live species that hold it, their coefficients and
// the natural logs of their concentrations.
struct ReagentTerms {
  std::vector<double> coef;
  std::vector<double> lnConc;
};

double LnConcentration(const SolverWork& w, int i) {
  double ln = w.lnBeta(i);
  for (int t = w.termStart(i); t < w.termStart(i + 1); ++t) ln += w.termCoef(t) * w.lnFree(w.termReagent(t));
  return ln;
}

ReagentTerms TermsOf(const SolverWork& w, int k) {
  ReagentTerms terms;
  for (int l = 1; l <= w.nlive; ++l) {
    const int i = w.liveSpecies(l);
    for (int t = w.unknownStart(i); t < w.unknownStart(i + 1); ++t) {
      if (w.unknownIndex(t) != k) continue;
      terms.coef.push_back(w.unknownCoef(t));
      terms.lnConc.push_back(LnConcentration(w, i));
    }
  }
  return terms;
}

// Unknown k's calculated total minus its target when its lnFree moves from
// y0 to y, and the derivative; exponents are held below overflow.
struct Balance {
  double value;
  double slope;
};
Balance BalanceAt(const ReagentTerms& terms, double target, double y0, double y) {
  const double free = std::exp(std::min(y, kHighestLn));
  Balance b{free - target, free};
  for (std::size_t t = 0; t < terms.coef.size(); ++t) {
    const double a = terms.coef[t];
    const double c = std::exp(std::min(terms.lnConc[t] + a * (y - y0), kHighestLn));
    b.value += a * c;
    b.slope += a * a * c;
  }
  return b;
}

}  // namespace

int MinimizeFreeEnergy(const ProjectState& state, SolverWork& w) {
  PrepareProcedure(state, w);
  const int n = w.nfree;
  const Constraints c = ActiveConstraints(state, w);
  if (!Project(c, w)) return kSolidsArithmeticFault;
  BalanceResiduals(state, w);
  if (w.concOverflow) return kSolidsArithmeticFault;
  Array1<double> step(n), nu(c.m);
  double smallest = kInfinity;  // the smallest step so far
  int stagnant = 0;             // steps since it last halved
  for (int iteration = 0; iteration < kMaxEnergyIterations; ++iteration) {
    const Array2<double> h = FullJacobian(state, w);
    if (!NewtonStep(c, h, w, step, nu)) return kSolidsArithmeticFault;
    double largest = 0;
    for (int k = 1; k <= n; ++k) largest = std::max(largest, std::fabs(step(k)));
    if (largest <= kEnergyStepTolerance) {
      for (int k = 1; k <= n; ++k) w.lnFree(w.freeReagent(k)) += step(k);
      return Finish(state, w, c, nu);
    }
    // Small steps that no longer shrink are the rounding of the residuals
    // (a free concentration a 1e-12 of its balance is fixed only to a few
    // digits): the minimum is reached as far as the arithmetic goes, and the
    // balances then decide.
    if (largest <= smallest / 2) {
      smallest = largest;
      stagnant = 0;
    } else if (smallest <= kNoiseStep && ++stagnant == kStagnantSteps) {
      return Finish(state, w, c, nu);
    }
    const Array1<double> held = Held(c, nu, n);
    if (LineSearch(state, w, step, held) == Search::kStalled)
      return largest <= kStalledStep || AtRounding(w, held) ? Finish(state, w, c, nu) : kIterationLimit;
  }
  return kIterationLimit;
}

bool DescendFreeEnergy(const ProjectState& state, SolverWork& w, const Array1<double>& step) {
  const Array1<double> held(w.nfree);
  return LineSearch(state, w, step, held) == Search::kAccepted;
}

void EstimateUnknown(const ProjectState& state, SolverWork& w, int k) {
  const int r = w.freeReagent(k);
  const double y0 = w.lnFree(r);
  const double target = w.freeTotal(k) - (w.nactive > 0 ? SolidContent(state, w, r) : 0);
  if (!std::isfinite(y0) || !std::isfinite(target)) return;
  const ReagentTerms terms = TermsOf(w, k);
  // The calculated total rises with y: bracket its crossing of the target.
  double low = y0, high = y0;
  const bool above = BalanceAt(terms, target, y0, y0).value > 0;
  for (double reach = 1;; reach *= 2) {
    double& end = above ? low : high;
    end = std::clamp(above ? y0 - reach : y0 + reach, kLowestLn, kHighestLn);
    const double value = BalanceAt(terms, target, y0, end).value;
    if ((above && value <= 0) || (!above && value >= 0)) break;
    // No crossing within reach (a negative total of a reagent that only
    // appears with positive coefficients has none): no estimate.
    if (end == kLowestLn || end == kHighestLn || !std::isfinite(value)) return;
  }
  // Newton's method kept inside the bracket, bisecting when it leaves it or
  // does not halve the bracket's pace.
  double y = above ? high : low, lastMove = high - low;
  for (int iteration = 0; iteration < kMaxEstimateIterations && high - low > 1e-13 * (1 + std::fabs(y)); ++iteration) {
    const Balance b = BalanceAt(terms, target, y0, y);
    (b.value > 0 ? high : low) = y;
    double next = y - b.value / b.slope;
    if (!(next > low && next < high) || std::fabs(next - y) > lastMove / 2) next = (low + high) / 2;
    lastMove = std::fabs(next - y);
    y = next;
    if (lastMove <= 1e-13 * (1 + std::fabs(y))) break;
  }
  w.lnFree(r) = y;
}

void EstimateUnknowns(const ProjectState& state, SolverWork& w, int sweeps) {
  PrepareProcedure(state, w);
  for (int sweep = 0; sweep < sweeps; ++sweep) {
    double moved = 0;
    for (int k = 1; k <= w.nfree; ++k) {
      const double before = Unknown(w, k);
      EstimateUnknown(state, w, k);
      moved = std::max(moved, std::fabs(Unknown(w, k) - before));
    }
    if (moved <= kEstimateMove) break;
  }
}

}  // namespace tarn

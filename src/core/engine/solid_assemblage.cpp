// The solids present at a point: the saturation test, a solid joining the
// active set (beside the active solids or in place of one its formula depends
// on), the check that a point is an equilibrium, and the rounds of the
// iterations and of the free-energy minimisation that settle the set.

#include "core/model/constants.h"
#include "core/engine/solid_assemblage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "core/engine/free_energy.h"
#include "core/engine/new_concentrations.h"
#include "core/engine/solve_ldl.h"
#include "core/engine/solver_steps.h"

namespace tarn {

namespace {

// A formula depends on the active solids' formulas when the best combination
// of them matches it to this fraction of its largest coefficient.
constexpr double kDependence = 1e-9;
// A weight of a dependent formula at most this is taken as 0.
constexpr double kNoWeight = 1e-12;

// Solid s's coefficients on the unknowns, k = 1..nfree.
Array1<double> FormulaOnUnknowns(const ProjectState& state, const SolverWork& w, int s) {
  Array1<double> v(w.nfree);
  for (int k = 1; k <= w.nfree; ++k) v(k) = state.sa(w.freeReagent(k), s);
  return v;
}

double LargestMagnitude(const Array1<double>& v) {
  double largest = 0;
  for (int k = 1; k <= v.Upper(); ++k) largest = std::max(largest, std::fabs(v(k)));
  return largest;
}

std::vector<int> ActiveSolids(const ProjectState& state, const SolverWork& w) {
  std::vector<int> active;
  for (int s = 1; s <= state.nsolids; ++s)
    if (w.solidFlag(s)) active.push_back(s);
  return active;
}

// The weights with which the active solids' formulas make up v, or nothing
// when v is independent of them (least squares on their Gram matrix, which is
// positive definite while the active formulas are independent).
std::optional<std::vector<double>> Dependence(const ProjectState& state, const SolverWork& w,
                                              const std::vector<int>& active, const Array1<double>& v) {
  const int m = static_cast<int>(active.size());
  if (m == 0) return std::nullopt;
  std::vector<Array1<double>> formula;
  for (int s : active) formula.push_back(FormulaOnUnknowns(state, w, s));
  Array2<double> gram(m, m);
  Array1<double> weight(m), pivots(m);
  for (int r = 1; r <= m; ++r) {
    const Array1<double>& fr = formula[static_cast<std::size_t>(r - 1)];
    for (int k = 1; k <= w.nfree; ++k) weight(r) += fr(k) * v(k);
    for (int q = r; q <= m; ++q)
      for (int k = 1; k <= w.nfree; ++k) gram(r, q) += fr(k) * formula[static_cast<std::size_t>(q - 1)](k);
  }
  if (SolveLDL(gram, weight, pivots, m, kNotPositiveDefinite) != kSuccess) return std::nullopt;
  Array1<double> remainder = v;
  for (int r = 1; r <= m; ++r)
    for (int k = 1; k <= w.nfree; ++k) remainder(k) -= weight(r) * formula[static_cast<std::size_t>(r - 1)](k);
  if (LargestMagnitude(remainder) > kDependence * LargestMagnitude(v)) return std::nullopt;
  return std::vector<double>(weight.Data() + 1, weight.Data() + m + 1);
}

void Activate(SolverWork& w, int s, double amount) {
  w.solidFlag(s) = true;
  w.solidAmount(s) = amount;
  ++w.nactive;
}

void Deactivate(SolverWork& w, int s) {
  w.solidFlag(s) = false;
  w.solidAmount(s) = 0;
  --w.nactive;
}

enum class Joined { kJoined, kNoSolution };

// Solid s joins the active set. When its formula is a combination of active
// formulas, it replaces the active solid that the combination uses up first
// (the ratio test of the simplex method), so that the amounts stay
// non-negative and the formulas independent; when no active solid can make
// way (no positive weight) or s has no unknown to act on, no set of solids
// can hold it.
Joined Join(const ProjectState& state, SolverWork& w, int s) {
  const Array1<double> v = FormulaOnUnknowns(state, w, s);
  if (LargestMagnitude(v) == 0) return Joined::kNoSolution;
  const std::vector<int> active = ActiveSolids(state, w);
  const auto weights = Dependence(state, w, active, v);
  if (!weights) {
    Activate(w, s, 0);
    return Joined::kJoined;
  }
  int leaving = -1;
  double ratio = std::numeric_limits<double>::infinity();
  for (std::size_t r = 0; r < active.size(); ++r) {
    const double weight = (*weights)[r];
    if (weight <= kNoWeight) continue;
    const double candidate = std::max(w.solidAmount(active[r]), 0.0) / weight;
    if (candidate < ratio) {
      ratio = candidate;
      leaving = static_cast<int>(r);
    }
  }
  if (leaving < 0) return Joined::kNoSolution;
  for (std::size_t r = 0; r < active.size(); ++r) w.solidAmount(active[r]) -= ratio * (*weights)[r];
  Deactivate(w, active[static_cast<std::size_t>(leaving)]);
  Activate(w, s, ratio);
  return Joined::kJoined;
}

double Margin(const SolverWork& w, int s) {
  return kSupersaturationMargin * std::max(1.0, std::fabs(w.logKsp(s)));
}

// The inactive solid, of those whose reagents are all present, that is most
// supersaturated beyond its margin; 0 when none is.
int MostSupersaturated(const ProjectState& state, const SolverWork& w) {
  int most = 0;
  double largest = 0;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (w.solidFlag(s) || !SolidReagentsPresent(w, s)) continue;
    const double excess = SaturationExcess(state, w, s);
    if (excess > Margin(w, s) && excess > largest) {
      largest = excess;
      most = s;
    }
  }
  return most;
}

// The active solid with the most negative amount; 0 when none is negative.
int MostNegativeAmount(const ProjectState& state, const SolverWork& w) {
  int most = 0;
  double lowest = 0;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (w.solidFlag(s) && w.solidAmount(s) < lowest) {
      lowest = w.solidAmount(s);
      most = s;
    }
  }
  return most;
}

// The soluble iteration after the solids iteration removed every solid.
void SolveAfterSolids(const ProjectState& state, SolverWork& w) {
  NewtonWithSolids(state, w);
  if (w.ifail == kSuccess && w.nactive == 0) NewtonSoluble(state, w);
}

}  // namespace

bool SolidReagentsPresent(const SolverWork& w, int s) {
  for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t)
    if (!w.present(w.solidTermReagent(t))) return false;
  return true;
}

double SaturationExcess(const ProjectState& state, const SolverWork& w, int s) {
  return IonProduct(state, w, s) / kLn10 - w.logKsp(s);
}

bool EquilibriumHolds(const ProjectState& state, SolverWork& w) {
  if (!std::isfinite(Residuals(state, w)) || !BalancesHold(state, w)) return false;
  for (int j = 1; j <= state.nreag; ++j)
    if (w.present(j) && !std::isfinite(std::exp(w.lnFree(j)))) return false;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (w.solidFlag(s)) {
      if (!(w.solidAmount(s) >= 0) || !(std::fabs(SaturationExcess(state, w, s)) <= kSolubilityTolerance)) return false;
    } else if (SolidReagentsPresent(w, s) && SaturationExcess(state, w, s) > Margin(w, s)) {
      return false;
    }
  }
  return true;
}

bool SettleSolids(const ProjectState& state, SolverWork& w) {
  const int rounds = 2 * state.nsolids + 4;
  for (int round = 0; round < rounds; ++round) {
    const int s = MostSupersaturated(state, w);
    if (s == 0) {
      w.ifail = kSuccess;
      return true;
    }
    if (Join(state, w, s) == Joined::kNoSolution) {
      w.ifail = kSolidsArithmeticFault;
      return false;
    }
    SolveAfterSolids(state, w);
    if (w.ifail != kSuccess) return false;
  }
  w.ifail = kIterationLimit;
  return false;
}

bool SolveByFreeEnergy(const ProjectState& state, SolverWork& w) {
  for (int k = 1; k <= w.nfree; ++k) {
    if (!std::isfinite(w.freeTotal(k))) {  // a titration without volume: 0/0
      w.ifail = kNotPositiveDefinite;
      return false;
    }
  }
  for (int s = 1; s <= state.nsolids; ++s)
    if (w.solidFlag(s)) Deactivate(w, s);
  EstimateUnknowns(state, w, kEstimateSweeps);
  w.ifail = MinimizeFreeEnergy(state, w);
  const int rounds = 3 * state.nsolids + 6;
  for (int round = 0; round < rounds && w.ifail == kSuccess; ++round) {
    if (const int leaving = MostNegativeAmount(state, w); leaving != 0) {
      Deactivate(w, leaving);
    } else if (const int joining = MostSupersaturated(state, w); joining != 0) {
      if (Join(state, w, joining) == Joined::kNoSolution) w.ifail = kSolidsArithmeticFault;
    } else {
      break;
    }
    if (w.ifail == kSuccess) w.ifail = MinimizeFreeEnergy(state, w);
  }
  if (w.ifail != kSuccess) return false;
  if (!EquilibriumHolds(state, w)) {
    w.ifail = kIterationLimit;
    return false;
  }
  return true;
}

}  // namespace tarn

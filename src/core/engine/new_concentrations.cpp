// The free-concentration solver: species concentrations, residuals, the two
// Newton iterations and the coordinate search.

#include "core/model/constants.h"
#include "core/engine/new_concentrations.h"

#include "core/engine/free_energy.h"
#include "core/engine/solver_steps.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace tarn {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A little below ln(DBL_MAX): e^x of anything larger overflows or nearly so.
constexpr double kLargestLn = 709.78;

// The species that are not ignored and whose reagents are all present; the
// others get concentration 0 for the whole procedure.
void ListLiveSpecies(const ProjectState& state, SolverWork& w) {
  w.concValid = false;
  const bool* present = w.present.Data();
  int live = 0;
  for (int i = 1; i <= state.nspecies; ++i) {
    bool absent = w.ignored(i);
    for (int t = w.termStart(i); t < w.termStart(i + 1) && !absent; ++t) absent = !present[w.termReagent(t)];
    if (absent)
      w.conc(i) = 0;
    else
      w.liveSpecies(++live) = i;
  }
  w.nlive = live;
}

// Counts species i's non-zero freeCoef into start[i + 1] and makes sure the
// term and pair arrays hold them (they do when freeCoef copies the model).
void CountUnknownTerms(const ProjectState& state, SolverWork& w) {
  const int ns = state.nspecies;
  int* start = w.unknownStart.Data();
  std::fill(start, start + ns + 2, 0);
  for (int k = 1; k <= w.nfree; ++k) {
    const int* coef = w.freeCoef.Row(k);
    for (int i = 1; i <= ns; ++i) start[i + 1] += coef[i] != 0 ? 1 : 0;
  }
  int terms = 0, pairs = 0;
  for (int i = 2; i <= ns + 1; ++i) {
    terms += start[i];
    pairs += start[i] * (start[i] + 1) / 2;
  }
  if (terms > w.unknownIndex.Upper()) {
    w.unknownIndex.Resize(terms);
    w.unknownCoef.Resize(terms);
  }
  if (pairs > w.pairOffset.Upper()) {
    w.pairOffset.Resize(pairs);
    w.pairProduct.Resize(pairs);
  }
}

// Species i's non-zero coefficients on the unknowns (from the caller's
// freeCoef, in increasing k) and its pairs of them.
void ListUnknownTerms(const ProjectState& state, SolverWork& w) {
  CountUnknownTerms(state, w);
  const int ns = state.nspecies;
  int* start = w.unknownStart.Data();
  for (int i = 2; i <= ns + 1; ++i) start[i] += start[i - 1];
  int* index = w.unknownIndex.Data();
  double* value = w.unknownCoef.Data();
  for (int k = 1; k <= w.nfree; ++k) {
    const int* coef = w.freeCoef.Row(k);
    for (int i = 1; i <= ns; ++i) {
      if (coef[i] == 0) continue;
      const int t = start[i]++;
      index[t] = k;
      value[t] = coef[i];
    }
  }
  // start[i] now holds the end of species i's terms, where species i + 1's begin.
  for (int i = ns + 1; i >= 2; --i) start[i] = start[i - 1];
  start[1] = 0;
  int pair = 0;
  const double* origin = w.jac.Row(0);
  for (int i = 1; i <= ns; ++i) {
    w.pairStart(i) = pair;
    for (int ta = start[i]; ta < start[i + 1]; ++ta) {
      const double* row = w.jac.Row(index[ta]);
      for (int tb = ta; tb < start[i + 1]; ++tb) {
        w.pairOffset(pair) = static_cast<int>(row + index[tb] - origin);
        w.pairProduct(pair++) = value[ta] * value[tb];
      }
    }
  }
  w.pairStart(ns + 1) = pair;
}

// True when present, nfree, freeReagent and freeCoef are those the lists
// were made from; otherwise remembers them.
bool SameSettings(const ProjectState& state, SolverWork& w) {
  const int nr = state.nreag, n = w.nfree;
  const std::size_t coefBytes = sizeof(int) * static_cast<std::size_t>(w.freeCoef.Upper2() + 1);
  bool same = w.prepared && w.preparedNfree == n &&
              std::equal(w.present.Data() + 1, w.present.Data() + nr + 1, w.preparedPresent.Data() + 1) &&
              std::equal(w.freeReagent.Data() + 1, w.freeReagent.Data() + n + 1, w.preparedReagent.Data() + 1);
  for (int k = 1; k <= n && same; ++k) same = std::memcmp(w.freeCoef.Row(k), w.preparedCoef.Row(k), coefBytes) == 0;
  if (same) return true;
  w.prepared = true;
  w.preparedNfree = n;
  std::copy(w.present.Data() + 1, w.present.Data() + nr + 1, w.preparedPresent.Data() + 1);
  std::copy(w.freeReagent.Data() + 1, w.freeReagent.Data() + n + 1, w.preparedReagent.Data() + 1);
  for (int k = 1; k <= n; ++k) std::memcpy(w.preparedCoef.Row(k), w.freeCoef.Row(k), coefBytes);
  return false;
}

}  // namespace

// Everything a procedure needs from the caller's settings of the point.
void PrepareProcedure(const ProjectState& state, SolverWork& w) {
  if (SameSettings(state, w)) return;
  ListLiveSpecies(state, w);
  ListUnknownTerms(state, w);
}

namespace {

// True when conc belongs to the present lnFree; otherwise remembers them.
bool ConcentrationsValid(const ProjectState& state, SolverWork& w) {
  const double* lnFree = w.lnFree.Data() + 1;
  const int nr = state.nreag;
  if (w.concValid && std::equal(lnFree, lnFree + nr, w.concLnFree.Data() + 1)) return true;
  std::copy(lnFree, lnFree + nr, w.concLnFree.Data() + 1);
  w.concValid = true;
  return false;
}

}  // namespace

// The concentrations of the live species; true when one is not finite.
bool LiveConcentrations(const ProjectState& state, SolverWork& w) {
  if (ConcentrationsValid(state, w)) return w.concOverflow;
  const double* lnFree = w.lnFree.Data();
  const int* start = w.termStart.Data();
  const int* reagent = w.termReagent.Data();
  const double* coef = w.termCoef.Data();
  const double* lnBeta = w.lnBeta.Data();
  const int* live = w.liveSpecies.Data();
  double* conc = w.conc.Data();
  double largest = -kInfinity;
  for (int l = 1; l <= w.nlive; ++l) {
    const int i = live[l];
    double lnConc = lnBeta[i];
    for (int t = start[i]; t < start[i + 1]; ++t) lnConc += coef[t] * lnFree[reagent[t]];
    conc[i] = lnConc;
    if (!(lnConc <= largest)) largest = lnConc;  // a NaN is kept
  }
  for (int l = 1; l <= w.nlive; ++l) conc[live[l]] = std::exp(conc[live[l]]);
  // A NaN fails the test too.
  w.concOverflow = false;
  if (!(largest < kLargestLn))
    for (int l = 1; l <= w.nlive; ++l) w.concOverflow |= !(conc[live[l]] <= DBL_MAX);
  return w.concOverflow;
}

// The amount of reagent r held in the active solids.
double SolidContent(const ProjectState& state, const SolverWork& w, int r) {
  double sum = 0;
  for (int s = 1; s <= state.nsolids; ++s)
    if (w.solidFlag(s)) sum += state.sa(r, s) * w.solidAmount(s);
  return sum;
}

void BalanceResiduals(const ProjectState& state, SolverWork& w) {
  LiveConcentrations(state, w);
  const int n = w.nfree;
  double* resid = w.resid.Data();
  for (int k = 1; k <= n; ++k) {
    const int r = w.freeReagent(k);
    const double free = std::exp(w.lnFree(r));
    w.freeConc(r) = free;
    resid[k] = w.freeTotal(k) - free;
  }
  const double* conc = w.conc.Data();
  const int* start = w.unknownStart.Data();
  const int* index = w.unknownIndex.Data();
  const double* coef = w.unknownCoef.Data();
  for (int live = 1; live <= w.nlive; ++live) {
    const int i = w.liveSpecies(live);
    const double c = conc[i];
    for (int t = start[i]; t < start[i + 1]; ++t) resid[index[t]] -= coef[t] * c;
  }
}

// Residuals of a prepared procedure. An overflow (a concentration or a
// residual that is not finite) gives +infinity, which no step can accept and
// which the iterations report as an arithmetic fault.
double ResidualsOfUnknowns(const ProjectState& state, SolverWork& w) {
  BalanceResiduals(state, w);
  const int n = w.nfree;
  double* resid = w.resid.Data();
  double sum = 0;
  for (int k = 1; k <= n; ++k) {
    if (w.nactive > 0) resid[k] -= SolidContent(state, w, w.freeReagent(k));
    sum += resid[k] * resid[k];
  }
  int row = n;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s)) continue;
    const double residual = kLn10 * w.logKsp(s) - IonProduct(state, w, s);
    resid[++row] = residual;
    sum += residual * residual;
  }
  return w.concOverflow || !std::isfinite(sum) ? kInfinity : sum;
}

// The upper triangle of the Jacobian of the nfree mass balances.
void FormJacobian(const ProjectState& /*state*/, SolverWork& w) {
  const int n = w.nfree;
  if (n == 0) return;
  double* origin = w.jac.Row(0);
  // Rows 1..n from element (1, 1) to (n, n), in one contiguous run.
  std::fill(w.jac.Row(1) + 1, w.jac.Row(n) + n + 1, 0.0);
  const double* conc = w.conc.Data();
  const int* start = w.pairStart.Data();
  const int* offset = w.pairOffset.Data();
  const double* product = w.pairProduct.Data();
  for (int live = 1; live <= w.nlive; ++live) {
    const int i = w.liveSpecies(live);
    const double c = conc[i];
    for (int t = start[i]; t < start[i + 1]; ++t) origin[offset[t]] += product[t] * c;
  }
  for (int k = 1; k <= n; ++k) w.jac(k, k) += w.freeConc(w.freeReagent(k));
}

namespace {

double LargestMagnitude(const Array1<double>& x, int n) {
  double largest = 0;
  for (int k = 1; k <= n; ++k) largest = std::max(largest, std::fabs(x(k)));
  return largest;
}

// Adds sign * step to the unknowns' lnFree.
void ShiftUnknowns(SolverWork& w, double sign) {
  for (int k = 1; k <= w.nfree; ++k) w.lnFree(w.freeReagent(k)) += sign * w.rhs(k);
}

}  // namespace

void BalanceMagnitudes(const ProjectState& state, SolverWork& w) {
  const int n = w.nfree;
  double* magnitude = w.magnitude.Data();
  std::fill(magnitude + 1, magnitude + n + 1, 0.0);
  for (int i = 1; i <= state.nspecies; ++i) {
    const double c = w.conc(i);
    for (int t = w.unknownStart(i); t < w.unknownStart(i + 1); ++t)
      magnitude[w.unknownIndex(t)] += std::fabs(w.unknownCoef(t)) * c;
  }
  for (int k = 1; k <= n; ++k) magnitude[k] += std::fabs(w.freeTotal(k)) + w.freeConc(w.freeReagent(k));
}

bool BalancesHold(const ProjectState& state, SolverWork& w) {
  BalanceMagnitudes(state, w);
  for (int k = 1; k <= w.nfree; ++k) {
    const int r = w.freeReagent(k);
    double sum = w.magnitude(k);
    for (int s = 1; s <= state.nsolids; ++s)
      if (w.solidFlag(s)) sum += std::fabs(state.sa(r, s) * w.solidAmount(s));
    if (!(std::fabs(w.resid(k)) <= kBalanceTolerance * sum)) return false;
  }
  return true;
}

namespace {

// Every active solid's log10 ion product matches its log Ksp.
bool SolubilitiesHold(const ProjectState& state, const SolverWork& w) {
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s)) continue;
    if (!(std::fabs(IonProduct(state, w, s) / kLn10 - w.logKsp(s)) <= kSolubilityTolerance)) return false;
  }
  return true;
}

bool FreeConcentrationsFinite(const ProjectState& state, const SolverWork& w) {
  for (int j = 1; j <= state.nreag; ++j)
    if (w.present(j) && !(w.lnFree(j) <= kLargestLn)) return false;
  return true;
}

// The last guard of a point that an iteration calls converged (sumSquares is
// its last Residuals value): an overflow is the iteration's arithmetic fault;
// a mass balance or a solubility that does not hold is the iteration limit.
int AcceptConverged(const ProjectState& state, SolverWork& w, double sumSquares, bool withSolids, int faultCode) {
  if (sumSquares == kInfinity || !FreeConcentrationsFinite(state, w)) return faultCode;
  if (BalancesHold(state, w) && (!withSolids || SolubilitiesHold(state, w))) return kSuccess;
  ++w.guardRejections;
  return kIterationLimit;
}

// The sum of squares cannot judge a step once it has fallen to the rounding
// of its largest balances: a free concentration that is a tiny share of every
// balance it enters (a metal beside an excess of a ligand that binds it)
// would stay wherever the cuts left it, up to 1e-4 off. Before a step cut
// below the tolerance ends the iteration as converged, the free energy, whose
// change keeps its precision at any scale, judges the full step: when it falls
// along it (Armijo's rule), the iteration moves there and goes on.
bool DescendAlongFullStep(const ProjectState& state, SolverWork& w, double& s) {
  ResidualsOfUnknowns(state, w);
  if (!DescendFreeEnergy(state, w, w.fullStep)) return false;
  s = ResidualsOfUnknowns(state, w);
  return true;
}

// Steps 5 to 10 of the soluble iteration for the step in rhs. Returns true
// when the iteration ends as converged (s is then the final sum of squares),
// false after an accepted step that lowered s.
bool SolubleStep(const ProjectState& state, SolverWork& w, double& s) {
  const int n = w.nfree;
  bool cut = false;
  for (;;) {
    const double largest = LargestMagnitude(w.rhs, n);
    if (largest <= kStepTolerance) {
      if (cut && DescendAlongFullStep(state, w, s)) return false;
      ShiftUnknowns(w, 1);
      s = ResidualsOfUnknowns(state, w);
      return true;
    }
    // No free concentration changes by more than a factor e in one step.
    if (largest > 1)
      for (int k = 1; k <= n; ++k) w.rhs(k) /= largest;
    if (!cut)
      for (int k = 1; k <= n; ++k) w.fullStep(k) = w.rhs(k);
    ShiftUnknowns(w, 1);
    const double trial = ResidualsOfUnknowns(state, w);
    // A step that leaves the sum of squares exactly as it was ends the
    // iteration when the mass balances hold; far from the solution (a free
    // concentration too small to change any sum) it is taken as progress.
    if (trial == s && BalancesHold(state, w)) return true;
    if (trial <= s) {
      s = trial;
      return false;
    }
    ShiftUnknowns(w, -1);
    for (int k = 1; k <= n; ++k) w.rhs(k) /= 10;
    cut = true;
  }
}

// The Jacobian columns of the active solids (the solids' own block stays 0);
// sets nunknown and the solid of every rank.
void AddSolidColumns(const ProjectState& state, SolverWork& w) {
  const int n = w.nfree;
  int rank = 0;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s)) continue;
    const int column = n + ++rank;
    w.activeSolid(rank) = s;
    for (int k = 1; k <= n; ++k) w.jac(k, column) = state.sa(w.freeReagent(k), s);
    for (int k = n + 1; k <= column; ++k) w.jac(k, column) = 0;
  }
  w.nunknown = n + rank;
}

// Saves the state at the start of a solids step and fills the single-precision
// copy of the Jacobian and the right-hand side.
void PrepareSolidsStep(const ProjectState& state, SolverWork& w) {
  for (int k = 1; k <= w.nfree; ++k) w.lnFreeSaved(w.freeReagent(k)) = w.lnFree(w.freeReagent(k));
  for (int s = 1; s <= state.nsolids; ++s) w.solidAmountSaved(s) = w.solidAmount(s);
  for (int k = 1; k <= w.nunknown; ++k) {
    w.rhs(k) = w.resid(k);
    const double* from = w.jac.Row(k);
    float* to = w.jacSingle.Row(k);
    for (int m = k; m <= w.nunknown; ++m) to[m] = static_cast<float>(from[m]);
  }
}

// Solves the solids step with double-precision factors of jac: for a matrix
// whose condition the single-precision factors cannot carry (about 1e7 and
// more: a reagent held almost wholly in a solid whose other reagents are held
// almost wholly in one complex), the refinement does not settle and the step
// can be wrong in every digit.
int SolveSolidsStepInDouble(SolverWork& w) {
  const int n = w.nunknown;
  Array2<double> factors(n, n);
  for (int k = 1; k <= n; ++k) {
    w.rhs(k) = w.resid(k);
    for (int m = k; m <= n; ++m) factors(k, m) = w.jac(k, m);
  }
  ++w.doubleSolidsSteps;
  return SolveLDL(factors, w.rhs, w.pivots, n, kSolidsArithmeticFault);
}

// Refines the step solved with the single-precision factors: the remainder
// of the double-precision system, resid - jac step, is solved with the same
// factors and added, kRefinements times. Without it a reagent that is almost
// all in a solid (its free concentration a millionth of its total or less)
// gets a step that can be wrong in every digit yet smaller than the step
// tolerance: the iteration then stops with that free concentration off by
// percents while its balance holds to the guard's 1e-6 of its terms. When
// the refinement does not settle, the step is solved in double precision.
int RefineSolidsStep(SolverWork& w) {
  const int n = w.nunknown;
  double lastCorrection = 0;
  for (int pass = 0; pass < kRefinements; ++pass) {
    for (int k = 1; k <= n; ++k) {
      double remainder = w.resid(k);
      for (int m = 1; m < k; ++m) remainder -= w.jac(m, k) * w.rhs(m);
      const double* row = w.jac.Row(k);
      for (int m = k; m <= n; ++m) remainder -= row[m] * w.rhs(m);
      w.correction(k) = remainder;
    }
    const int ifail = SolveFactoredLDL(w.jacSingle, w.correction, w.pivots, n, kSolidsArithmeticFault);
    if (ifail != kSuccess) return ifail;
    for (int k = 1; k <= n; ++k) w.rhs(k) += w.correction(k);
    lastCorrection = LargestMagnitude(w.correction, n);
  }
  if (lastCorrection <= kSettledRefinement * LargestMagnitude(w.rhs, n)) return kSuccess;
  return SolveSolidsStepInDouble(w);
}

// Applies the step in rhs to the saved state; a solid amount that would turn
// negative becomes half of its saved amount (which is halved too).
void ApplySolidsStep(SolverWork& w) {
  const int n = w.nfree;
  for (int k = 1; k <= n; ++k) {
    const int r = w.freeReagent(k);
    w.lnFree(r) = w.lnFreeSaved(r) + w.rhs(k);
  }
  for (int rank = 1; n + rank <= w.nunknown; ++rank) {
    const int s = w.activeSolid(rank);
    double amount = w.solidAmountSaved(s) + w.rhs(n + rank);
    w.amountClamped(s) = amount < 0;
    if (amount < 0) {
      w.solidAmountSaved(s) /= 2;
      amount = w.solidAmountSaved(s);
    }
    w.solidAmount(s) = amount;
  }
}

// Steps 8 and 9 of the solids iteration: the step is halved while it raises
// the sum of squares s. After kMaxHalvings halvings the step becomes 0 (the
// saved state), which the convergence test and the last guard then judge,
// so that no model can keep the loop going.
double SolidsStep(const ProjectState& state, SolverWork& w, double s) {
  for (int halvings = 0;; ++halvings) {
    ApplySolidsStep(w);
    const double trial = ResidualsOfUnknowns(state, w);
    if (!(trial > s)) return trial;
    if (halvings == kMaxHalvings) {
      for (int k = 1; k <= w.nunknown; ++k) w.rhs(k) = 0;
      ApplySolidsStep(w);
      return ResidualsOfUnknowns(state, w);
    }
    for (int k = 1; k <= w.nunknown; ++k) w.rhs(k) /= 2;
  }
}

// Solid s's amount is negligible in every mass balance it enters: at most
// kDissolvedFraction of the magnitudes of that balance's other terms (in
// magnitude). A trace precipitate of a trace reagent counts; the same amount
// beside a large total of each of its reagents does not.
bool NegligibleAmount(const ProjectState& state, const SolverWork& w, int s) {
  for (int k = 1; k <= w.nfree; ++k) {
    const int coef = state.sa(w.freeReagent(k), s);
    if (coef != 0 && std::fabs(coef) * w.solidAmount(s) > kDissolvedFraction * w.magnitude(k)) return false;
  }
  return true;
}

// At convergence: removes the lowest-numbered active solid that dissolves or
// is undersaturated. It dissolves when the last step asked for a negative
// amount (the free concentrations can settle while the amount is still being
// halved towards zero, and the balances would stay off) or when its amount
// has become negligible in every balance it enters (see NegligibleAmount). It
// is undersaturated when its ion product, divided by the
// same double-precision ln(10) as the residuals, lies below log Ksp by more
// than kUndersaturatedMargin, the solubility tolerance of the last guard
// (rounding in the single-precision step can leave the ion product of a solid
// at saturation slightly off). Comparing with the single-precision ln(10)
// instead would let its rounding, not the chemistry, decide: a solid with a
// positive log Ksp would leave the set in the step that brings it in, one
// with a negative log Ksp could never leave.
bool RemoveDissolvedSolid(const ProjectState& state, SolverWork& w) {
  BalanceMagnitudes(state, w);
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s)) continue;
    const double logKsp = w.logKsp(s);
    const bool dissolved = w.amountClamped(s) || NegligibleAmount(state, w, s);
    const bool undersaturated = IonProduct(state, w, s) / kLn10 < logKsp - kUndersaturatedMargin;
    if (dissolved || undersaturated) {
      w.solidFlag(s) = false;
      w.solidAmount(s) = 0;
      --w.nactive;
      return true;
    }
  }
  return false;
}

enum class Settled { kNo, kAllRemoved, kConverged };

// Step 10 of the solids iteration after a step that gave the sum of squares
// trial; s becomes the sum to compare the next step with. The iteration has
// converged when the free concentrations have settled, no solid leaves the
// set and the mass balances hold: the amounts' steps are not tested, and
// after a large last step of an amount (solved with single-precision factors)
// the balances can still be off, so the iteration goes on.
Settled SettledStep(const ProjectState& state, SolverWork& w, double trial, double& s) {
  s = trial;
  if (LargestMagnitude(w.rhs, w.nfree) > kStepTolerance) return Settled::kNo;
  if (RemoveDissolvedSolid(state, w)) {
    if (w.nactive == 0) return Settled::kAllRemoved;
    // The residuals of the smaller set: the old ones still hold the removed
    // solid's amount and its row, and the rows after it would be misaligned.
    s = ResidualsOfUnknowns(state, w);
    return Settled::kNo;
  }
  return BalancesHold(state, w) ? Settled::kConverged : Settled::kNo;
}

// One sweep of the coordinate search with the shared step h; true when the
// search ends (the last unknown failed to improve once h fell below 0.5).
bool SearchSweep(const ProjectState& state, SolverWork& w, double& h, double& s) {
  for (int k = 1; k <= w.nfree; ++k) {
    double& lnFree = w.lnFree(w.freeReagent(k));
    const double saved = lnFree;
    lnFree = saved + h;
    const double plus = ResidualsOfUnknowns(state, w);
    lnFree = saved - h;
    const double minus = ResidualsOfUnknowns(state, w);
    if (plus < s) {
      lnFree = saved + h;
      s = plus;
    } else if (minus < s) {
      s = minus;
    } else {
      lnFree = saved;
      h /= 2;
      if (k == w.nfree && h < 0.5) return true;
    }
  }
  return false;
}

}  // namespace

void SpeciesConcentrations(const ProjectState& state, SolverWork& w) {
  ListLiveSpecies(state, w);
  LiveConcentrations(state, w);
}

double Residuals(const ProjectState& state, SolverWork& w) {
  PrepareProcedure(state, w);
  return ResidualsOfUnknowns(state, w);
}

double IonProduct(const ProjectState& /*state*/, const SolverWork& w, int s) {
  double sum = 0;
  for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t) {
    const int j = w.solidTermReagent(t);
    if (w.present(j)) sum += w.solidTermCoef(t) * w.lnFree(j);
  }
  return sum;
}

void NewtonSoluble(const ProjectState& state, SolverWork& w) {
  PrepareProcedure(state, w);
  w.ifail = kSuccess;
  double s = ResidualsOfUnknowns(state, w);
  if (s == kInfinity) {
    w.ifail = kNotPositiveDefinite;
    return;
  }
  for (int c = 1; c < kMaxIterations; ++c) {
    FormJacobian(state, w);
    for (int k = 1; k <= w.nfree; ++k) w.rhs(k) = w.resid(k);
    w.ifail = SolveLDL(w.jac, w.rhs, w.pivots, w.nfree, kNotPositiveDefinite);
    if (w.ifail != kSuccess) return;
    if (SolubleStep(state, w, s)) {
      w.ifail = AcceptConverged(state, w, s, false, kNotPositiveDefinite);
      return;
    }
  }
  w.ifail = kIterationLimit;
}

void NewtonWithSolids(const ProjectState& state, SolverWork& w) {
  PrepareProcedure(state, w);
  w.ifail = kSuccess;
  double s = ResidualsOfUnknowns(state, w);
  for (int c = 1; c < kMaxIterations; ++c) {
    if (s == kInfinity) {
      w.ifail = kSolidsArithmeticFault;
      return;
    }
    FormJacobian(state, w);
    AddSolidColumns(state, w);
    PrepareSolidsStep(state, w);
    w.ifail = SolveLDL(w.jacSingle, w.rhs, w.pivots, w.nunknown, kSolidsArithmeticFault);
    if (w.ifail == kSuccess) w.ifail = RefineSolidsStep(w);
    if (w.ifail != kSuccess) return;
    const double trial = SolidsStep(state, w, s);
    switch (SettledStep(state, w, trial, s)) {
      case Settled::kNo:
        break;
      case Settled::kAllRemoved:
        return;  // ifail = kSuccess: the caller solves the soluble system
      case Settled::kConverged:
        w.ifail = AcceptConverged(state, w, trial, true, kSolidsArithmeticFault);
        return;
    }
  }
  w.ifail = kIterationLimit;
}

void SearchEstimates(const ProjectState& state, SolverWork& w) {
  PrepareProcedure(state, w);
  if (w.nfree == 0) return;
  double h = 2.0;
  double s = ResidualsOfUnknowns(state, w);
  for (int sweep = 0; sweep < kMaxSearchSweeps; ++sweep)
    if (SearchSweep(state, w, h, s)) break;
  ResidualsOfUnknowns(state, w);
}

}  // namespace tarn

// The point series: the conditions of every point of a titration or
// distribution, the solver run point by point with the precipitation of the
// solids, and the result arrays.

#include <cmath>
#include <numbers>
#include <string>

#include "engine/new_concentrations.h"
#include "model/message_sink.h"
#include "model/number_text.h"

namespace tarn {

namespace {

constexpr double kLn10 = std::numbers::ln10;
// The pH of a total-given proton divides by ln(10) rounded to seven digits.
constexpr double kLn10ForPH = 2.302585;
// Runs of the solids iteration at one point (see SolveWithSolids).
constexpr int kSolidsAttempts = 3;

bool TotalGiven(const ProjectState& state, const SeriesResults& results, int j) {
  return state.type == kTitration || results.flagNow(j);
}

// The total concentration of total-given reagent j at point p.
double GeneratedTotal(const ProjectState& state, int j, int p) {
  const int n = state.npoints;
  if (state.type == kTitration) {
    const double v = (state.vfinal - state.volume[0]) * (p - 1) / (n - 1);
    return (state.total(j, 0) + state.burette(j, 0) * v) / (v + state.volume[0]);
  }
  return state.initial(j, 1) + (p - 1) * (state.final(j, 1) - state.initial(j, 1)) / (n - 1);
}

// The pX of pX-given reagent j at point p.
double GeneratedPX(const ProjectState& state, int j, int p) {
  return state.pxi(j, 1) + (p - 1) * (state.pxf(j, 1) - state.pxi(j, 1)) / (state.npoints - 1);
}

void AddUnknown(const ProjectState& state, SolverWork& w, int j, double total, int p) {
  const int k = ++w.nfree;
  w.freeReagent(k) = j;
  w.freeTotal(k) = total;
  int* coef = w.freeCoef.Row(k);
  for (int i = 1; i <= state.nspecies; ++i) coef[i] = state.a(j, i);
  if (p == 1) w.lnFree(j) = total != 0 ? std::log(std::fabs(total)) - 6 : -16;
}

bool AllReagentsPresent(const SolverWork& w, int s) {
  for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t)
    if (!w.present(w.solidTermReagent(t))) return false;
  return true;
}

// An active solid that contains a reagent absent from the point leaves the
// set: it cannot be present without that reagent, and its solubility
// condition would have no unknown to act on.
void DropSolidsOfAbsentReagents(const ProjectState& state, SolverWork& w) {
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s) || AllReagentsPresent(w, s)) continue;
    w.solidFlag(s) = false;
    --w.nactive;
  }
}

// Point p's conditions, unknowns and starting values.
void PreparePoint(const ProjectState& state, SolverWork& w, SeriesResults& results, int p) {
  results.ipoint = p;
  w.nfree = 0;
  for (int s = 1; s <= state.nsolids; ++s) w.solidAmount(s) = 0;
  for (int j = 1; j <= state.nreag; ++j) {
    if (!TotalGiven(state, results, j)) {
      w.lnFree(j) = -kLn10 * GeneratedPX(state, j, p);
      w.present(j) = true;
      continue;
    }
    const double total = GeneratedTotal(state, j, p);
    results.totalSet(p, j) = total;
    w.present(j) = total != 0 || (state.type == kTitration && j == state.proton);
    if (w.present(j))
      AddUnknown(state, w, j, total, p);
    else if (state.type == kDistribution && p == 1)
      w.lnFree(j) = -20;
  }
  DropSolidsOfAbsentReagents(state, w);
}

// At the first point a solid is tested only when every reagent it contains
// has a generated total that is not 0.
bool HasGeneratedTotals(const SolverWork& w, const SeriesResults& results, int s, int p) {
  for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t)
    if (results.totalSet(p, w.solidTermReagent(t)) == 0) return false;
  return true;
}

// The saturation test of the inactive solids after point p's iteration. A
// supersaturated solid joins the active set: at the first point before the
// solids iteration, otherwise from the next point on. At the first point only
// solids whose reagents all have a generated total are tested, later every
// solid whose reagents are all present (one without a reagent cannot form).
// The test also runs after the solids iteration, so that a solid can
// precipitate while another one is present; otherwise a second solid could
// never join the first, however supersaturated.
void TestSolids(const ProjectState& state, SolverWork& w, const SeriesResults& results, int p) {
  for (int s = 1; s <= state.nsolids; ++s) {
    if (w.solidFlag(s)) continue;
    const bool tested = p == 1 ? HasGeneratedTotals(w, results, s, p) : AllReagentsPresent(w, s);
    if (tested && Supersaturated(state, w, s)) {
      w.solidFlag(s) = true;
      ++w.nactive;
    }
  }
}

bool Rescued(const ProjectState& state, SolverWork& w) {
  SearchEstimates(state, w);
  NewtonSoluble(state, w);
  return w.ifail == kSuccess;
}

// Re-activates the solids that were active when the point's solids iteration
// began, were removed by it (in any of its runs) and are left supersaturated
// by the final state (beyond the solubility tolerance of the last guard);
// returns how many.
int ReaddRemovedSupersaturated(const ProjectState& state, SolverWork& w) {
  int readded = 0;
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidWasActive(s) || w.solidFlag(s)) continue;
    if (IonProduct(state, w, s) / kLn10 - state.logksp(s) <= kSolubilityTolerance) continue;
    w.solidFlag(s) = true;
    ++w.nactive;
    ++readded;
  }
  return readded;
}

void ShowSolidsFailure(const SolverWork& w, int p, MessageSink& sink) {
  sink.Show("free concentration calculation (ppte) failed " + PlainText(w.ifail) + " at point" + PlainText(p));
}

// The solids iteration, and the soluble one when it removed every solid. When
// it removed a solid that its result leaves supersaturated, it has not found
// the set of solids present: it runs again with that solid back, at most
// kSolidsAttempts times in all, and the point fails when the contradiction
// stays, so that a point that is no equilibrium is never reported as one.
bool SolveWithSolids(const ProjectState& state, SolverWork& w, int p, MessageSink& sink) {
  for (int s = 1; s <= state.nsolids; ++s) w.solidWasActive(s) = w.solidFlag(s);
  for (int attempt = 1; attempt <= kSolidsAttempts; ++attempt) {
    NewtonWithSolids(state, w);
    if (w.ifail != kSuccess) {
      ShowSolidsFailure(w, p, sink);
      return false;
    }
    if (w.nactive == 0) {
      NewtonSoluble(state, w);
      if (w.ifail != kSuccess) {
        sink.Show("free concentration calculation failed at point" + PlainText(p));
        return false;
      }
    }
    if (ReaddRemovedSupersaturated(state, w) == 0) return true;
  }
  w.ifail = kIterationLimit;
  ShowSolidsFailure(w, p, sink);
  return false;
}

bool SolveSoluble(const ProjectState& state, SolverWork& w, int p, MessageSink& sink) {
  NewtonSoluble(state, w);
  if (w.ifail == kSuccess) return true;
  if (p > 2) {
    sink.Show("free concentration calculation failed at point" + PlainText(p));
    return false;
  }
  if (Rescued(state, w)) return true;
  sink.Show(p == 1 ? "Can't get initial estimates for free concentrations, 1st point"
                   : "Can't get initial estimates for free concentrations, 2nd point");
  return false;
}

bool SolvePoint(const ProjectState& state, SolverWork& w, const SeriesResults& results, int p, MessageSink& sink) {
  if (p == 1) {
    if (!SolveSoluble(state, w, p, sink)) return false;
    TestSolids(state, w, results, p);
  }
  if (w.nactive > 0) {
    if (!SolveWithSolids(state, w, p, sink)) return false;
  } else if (p > 1) {
    if (!SolveSoluble(state, w, p, sink)) return false;
  }
  TestSolids(state, w, results, p);
  return true;
}

void StorePoint(const ProjectState& state, const SolverWork& w, SeriesResults& results, int p) {
  const int nr = state.nreag, ns = state.nspecies;
  // A reagent absent from the point has no free concentration: 0, as the
  // species calculation treats it.
  // The unknowns' free concentrations are those of the last Residuals call.
  for (int j = 1; j <= nr; ++j) {
    const bool unknown = w.present(j) && TotalGiven(state, results, j);
    results.speciesConc(j, p) = !w.present(j) ? 0.0 : unknown ? w.freeConc(j) : std::exp(w.lnFree(j));
  }
  const int h = state.proton;
  if (h != 0) {
    // A proton absent from the point (a distribution with a total of 0)
    // leaves the pH unfilled.
    if (!TotalGiven(state, results, h))
      results.pH(p) = GeneratedPX(state, h, p);
    else if (w.present(h))
      results.pH(p) = -std::log(results.speciesConc(h, p)) / kLn10ForPH;
  }
  for (int i = 1; i <= ns; ++i) results.speciesConc(nr + i, p) = w.conc(i);
  for (int s = 1; s <= state.nsolids; ++s)
    results.speciesConc(nr + ns + s, p) = w.solidFlag(s) ? w.solidAmount(s) : 0.0;
}

void RecomputeTotals(const ProjectState& state, const SolverWork& w, SeriesResults& results) {
  const int nr = state.nreag, ns = state.nspecies;
  for (int p = 1; p <= results.npoints; ++p) {
    double* total = results.totalCalc.Row(p);
    for (int j = 1; j <= nr; ++j) total[j] = results.speciesConc(j, p);
    for (int i = 1; i <= ns; ++i) {
      const double c = results.speciesConc(nr + i, p);
      if (c == 0) continue;
      for (int t = w.termStart(i); t < w.termStart(i + 1); ++t) total[w.termReagent(t)] += w.termCoef(t) * c;
    }
    for (int s = 1; s <= state.nsolids; ++s) {
      const double amount = results.speciesConc(nr + ns + s, p);
      for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t)
        total[w.solidTermReagent(t)] += w.solidTermCoef(t) * amount;
    }
  }
}

}  // namespace

int CalculatePoints(const ProjectState& state, SolverWork& w, SeriesResults& results, MessageSink& sink) {
  if (state.npoints < 2) {
    // The generation of the points divides by npoints - 1.
    results.Allocate(state, 0);
    results.ifail = kTooFewPoints;
    sink.Show(kTooFewPointsMessage);
    return results.ifail;
  }
  results.Allocate(state, state.npoints);
  w.Allocate(state);
  for (int j = 1; j <= state.nreag; ++j) results.flagNow(j) = state.flag(j, state.type);
  for (int p = 1; p <= state.npoints; ++p) {
    PreparePoint(state, w, results, p);
    if (!SolvePoint(state, w, results, p, sink)) {
      results.ifail = w.ifail;
      return results.ifail;
    }
    StorePoint(state, w, results, p);
  }
  RecomputeTotals(state, w, results);
  results.ifail = kSuccess;
  return results.ifail;
}

}  // namespace tarn

// The point series: the conditions of every point of a titration or
// distribution, the solver run point by point with the precipitation of the
// solids, and the result arrays.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/model/constants.h"
#include "core/engine/free_energy.h"
#include "core/engine/ionic_strength.h"
#include "core/engine/new_concentrations.h"
#include "core/engine/solid_assemblage.h"
#include "core/engine/solver_steps.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

// The pH of a total-given proton divides by ln(10) rounded to seven digits.

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

// The first estimate of a free concentration: about 400 times below its
// total, 1e-7 mol/L for the proton without a total.
double FirstEstimate(double total) {
  return total != 0 ? std::log(std::fabs(total)) - 6 : -16;
}

// Unknown k for total-given reagent j. A reagent that joins the point (at
// the first point every one does) starts from its first estimate.
void AddUnknown(const ProjectState& state, SolverWork& w, int j, double total, bool joins) {
  const int k = ++w.nfree;
  w.freeReagent(k) = j;
  w.freeTotal(k) = total;
  int* coef = w.freeCoef.Row(k);
  for (int i = 1; i <= state.nspecies; ++i) coef[i] = state.a(j, i);
  if (joins) w.lnFree(j) = FirstEstimate(total);
}

// An active solid that contains a reagent absent from the point leaves the
// set: it cannot be present without that reagent, and its solubility
// condition would have no unknown to act on.
void DropSolidsOfAbsentReagents(const ProjectState& state, SolverWork& w) {
  for (int s = 1; s <= state.nsolids; ++s) {
    if (!w.solidFlag(s) || SolidReagentsPresent(w, s)) continue;
    w.solidFlag(s) = false;
    --w.nactive;
  }
}

// Point p's conditions, unknowns and starting values; returns the unknowns
// whose reagents join the point after the first (were absent from the point
// before). Water always holds protons: the proton takes part whatever its
// total.
std::vector<int> PreparePoint(const ProjectState& state, SolverWork& w, SeriesResults& results, int p) {
  results.ipoint = p;
  w.nfree = 0;
  for (int s = 1; s <= state.nsolids; ++s) w.solidAmount(s) = 0;
  std::vector<int> joining;
  for (int j = 1; j <= state.nreag; ++j) {
    if (!TotalGiven(state, results, j)) {
      w.lnFree(j) = -kLn10 * GeneratedPX(state, j, p);
      w.present(j) = true;
      continue;
    }
    const double total = GeneratedTotal(state, j, p);
    results.totalSet(p, j) = total;
    const bool joins = !w.present(j);
    w.present(j) = total != 0 || j == state.proton;
    if (w.present(j)) {
      AddUnknown(state, w, j, total, joins);
      if (joins && p > 1) joining.push_back(w.nfree);
    } else if (state.type == kDistribution && p == 1) {
      w.lnFree(j) = -20;
    }
  }
  DropSolidsOfAbsentReagents(state, w);
  return joining;
}

// A reagent that joins after the first point starts from the free
// concentration that closes its own balance with the others as the last
// point left them (a ligand titrated into a metal starts beside its complex,
// not 1e30 times above it).
void EstimateJoining(const ProjectState& state, SolverWork& w, const std::vector<int>& joining) {
  if (joining.empty()) return;
  PrepareProcedure(state, w);
  for (int k : joining) EstimateUnknown(state, w, k);
}

// The message of a failed point and the code it returns with.
struct Failure {
  std::string message;
  int ifail = kSuccess;
};

Failure SolubleFailure(const SolverWork& w, int p) {
  if (p > 2) return {"free concentration calculation failed at point" + PlainText(p), w.ifail};
  return {p == 1 ? "Can't get initial estimates for free concentrations, 1st point"
                 : "Can't get initial estimates for free concentrations, 2nd point",
          w.ifail};
}

Failure SolidsFailure(const SolverWork& w, int p) {
  return {"free concentration calculation (ppte) failed " + PlainText(w.ifail) + " at point" + PlainText(p), w.ifail};
}

// The iterations in their order: the solids iteration while solids are
// active (the soluble one when it removed them all), else the soluble
// iteration with the coordinate search as the rescue at the first two points;
// then the supersaturated solids join one at a time. Fills failure when the
// point is not reached.
bool Iterate(const ProjectState& state, SolverWork& w, int p, Failure& failure) {
  if (w.nactive > 0) {
    NewtonWithSolids(state, w);
    if (w.ifail != kSuccess) {
      failure = SolidsFailure(w, p);
      return false;
    }
  }
  if (w.nactive == 0) {
    NewtonSoluble(state, w);
    if (w.ifail != kSuccess && p <= 2 && w.nfree > 0) {
      SearchEstimates(state, w);
      NewtonSoluble(state, w);
    }
    if (w.ifail != kSuccess) {
      failure = SolubleFailure(w, p);
      return false;
    }
  }
  // The iterations' last guards have checked the balances and the active
  // solids; the saturation test of the others closes the check.
  if (!SettleSolids(state, w)) {
    failure = SolidsFailure(w, p);
    return false;
  }
  return true;
}

// The start of a point, kept for a second way to it.
void SaveStart(SolverWork& w) {
  w.lnFreeStart = w.lnFree;
  w.solidFlagStart = w.solidFlag;
  w.nactiveStart = w.nactive;
}

void RestoreStart(SolverWork& w) {
  w.lnFree = w.lnFreeStart;
  w.solidFlag = w.solidFlagStart;
  w.nactive = w.nactiveStart;
}

// Point p: the iterations, then (when they fail or leave no equilibrium) the
// free-energy minimisation from the same start and from the first point's
// estimates. A point that no way reaches shows the iterations' message.
bool SolvePoint(const ProjectState& state, SolverWork& w, const std::vector<int>& joining, int p, MessageSink& sink) {
  EstimateJoining(state, w, joining);
  SaveStart(w);
  Failure failure;
  if (Iterate(state, w, p, failure)) return true;
  RestoreStart(w);
  if (SolveByFreeEnergy(state, w)) return true;
  for (int k = 1; k <= w.nfree; ++k) w.lnFree(w.freeReagent(k)) = FirstEstimate(w.freeTotal(k));
  if (SolveByFreeEnergy(state, w)) return true;
  w.ifail = failure.ifail;
  sink.Show(failure.message);
  return false;
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
    if (!TotalGiven(state, results, h))
      results.pH(p) = GeneratedPX(state, h, p);
    else
      results.pH(p) = -std::log(results.speciesConc(h, p)) / kLn10Shown;
  }
  for (int i = 1; i <= ns; ++i) results.speciesConc(nr + i, p) = w.conc(i);
  for (int s = 1; s <= state.nsolids; ++s)
    results.speciesConc(nr + ns + s, p) = w.solidFlag(s) ? w.solidAmount(s) : 0.0;
}

// The first guess of point p's ionic strength: the parabola through the
// three points before (the line through two at the third point, the point
// before at the second), and at the first the strength of the totals as if
// nothing were bound (at most 1 mol/L).
double StrengthGuess(const StrengthCorrection& correction, const SolverWork& w, const SeriesResults& results, int p) {
  constexpr double kLargestFirstGuess = 1;
  if (p == 1) return std::min(correction.StrengthOfTotals(w), kLargestFirstGuess);
  const double last = results.ionicStrength(p - 1);
  if (p == 2) return last;
  const double before = results.ionicStrength(p - 2);
  const double guess = p == 3 ? 2 * last - before : 3 * last - 3 * before + results.ionicStrength(p - 3);
  return guess >= 0 ? guess : last;
}

// Point p at the ionic strength of the project's correction: the fixed one
// (whose constants were set once for the series), or its own, found by
// solving the point at successive ionic strengths.
bool SolvePointAtStrength(const ProjectState& state, SolverWork& w, SeriesResults& results,
                          StrengthCorrection& correction, const std::vector<int>& joining, int p, MessageSink& sink) {
  if (!correction.Calculated()) {
    results.ionicStrength(p) = correction.FixedStrength();
    return SolvePoint(state, w, joining, p, sink);
  }
  static const std::vector<int> kNoneJoining;
  double strength = StrengthGuess(correction, w, results, p);
  // A solution that fails is tried again nearer an ionic strength that
  // succeeded: only the last failure is shown.
  RecordingSink failures;
  const auto solve = [&](int pass) { return SolvePoint(state, w, pass == 1 ? joining : kNoneJoining, p, failures); };
  switch (SolveAtOwnStrength(correction, w, strength, solve)) {
    case StrengthOutcome::kConverged:
      results.ionicStrength(p) = strength;
      return true;
    case StrengthOutcome::kSolverFailed:
      sink.Show(failures.messages.empty() ? StrengthFailureMessage(p) : failures.messages.back());
      return false;
    case StrengthOutcome::kNotConverged:
      break;
  }
  w.ifail = kStrengthNotConverged;
  sink.Show(StrengthFailureMessage(p));
  return false;
}

// -log10 of the proton's activity at point p: its pX, or -log10 of its free
// concentration, less log10 of its activity coefficient.
void StoreActivityPH(const ProjectState& state, const StrengthCorrection& correction, SeriesResults& results, int p) {
  const int h = state.proton;
  if (h == 0) return;
  const double pH = TotalGiven(state, results, h) ? -std::log10(results.speciesConc(h, p)) : GeneratedPX(state, h, p);
  results.pHActivity(p) = pH - correction.ReagentLogGamma(h, results.ionicStrength(p));
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
  StrengthCorrection correction(state);
  if (correction.On()) {
    if (const std::string problem = ActivityProblem(state.activity); !problem.empty()) {
      results.Allocate(state, 0);
      results.ifail = kBadActivitySettings;
      sink.Show(problem);
      return results.ifail;
    }
  }
  results.Allocate(state, state.npoints);
  w.Allocate(state);
  results.activity = correction.On();
  if (correction.On() && !correction.Calculated()) correction.Apply(correction.FixedStrength(), w);
  for (int j = 1; j <= state.nreag; ++j) results.flagNow(j) = state.flag(j, state.type);
  for (int p = 1; p <= state.npoints; ++p) {
    const std::vector<int> joining = PreparePoint(state, w, results, p);
    const bool solved = correction.On() ? SolvePointAtStrength(state, w, results, correction, joining, p, sink)
                                        : SolvePoint(state, w, joining, p, sink);
    if (!solved) {
      results.ifail = w.ifail;
      return results.ifail;
    }
    StorePoint(state, w, results, p);
    if (correction.On()) StoreActivityPH(state, correction, results, p);
  }
  RecomputeTotals(state, w, results);
  results.ifail = kSuccess;
  return results.ifail;
}

}  // namespace tarn

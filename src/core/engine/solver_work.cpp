#include "core/model/constants.h"
#include "core/engine/solver_work.h"

#include <numbers>

#include "core/model/project_state.h"

namespace tarn {

namespace {

// Lists the non-zero coefficients coef(j, c) of every column c = 1..ncols over
// j = 1..nreag in increasing j: column c's terms are start[c] .. start[c+1]-1.
template <typename Coefficient>
void ListTerms(const Coefficient& coef, int nreag, int ncols, Array1<int>& start, Array1<int>& reagent,
               Array1<double>& value) {
  int count = 0;
  for (int j = 1; j <= nreag; ++j)
    for (int c = 1; c <= ncols; ++c) count += coef(j, c) != 0 ? 1 : 0;
  start.Resize(ncols + 1);
  reagent.Resize(count);
  value.Resize(count);
  int t = 0;
  for (int c = 1; c <= ncols; ++c) {
    start(c) = t;
    for (int j = 1; j <= nreag; ++j) {
      if (coef(j, c) == 0) continue;
      reagent(t) = j;
      value(t) = coef(j, c);
      ++t;
    }
  }
  start(ncols + 1) = t;
}

}  // namespace

void SolverInputs::Allocate(int nr, int ns, int nk) {
  const int nu = nr + nk;
  lnFree.Resize(nu);
  present.Resize(nu);
  nfree = 0;
  freeReagent.Resize(nu);
  freeTotal.Resize(nr);
  freeCoef.Resize(nu, ns);
  solidFlag.Resize(nk);
  nactive = 0;
  solidAmount.Resize(nk);
}

void ModelTerms::Capture(const ProjectState& state) {
  const int nr = state.nreag, ns = state.nspecies, nk = state.nsolids;
  lnBeta.Resize(ns);
  ignored.Resize(ns);
  for (int i = 1; i <= ns; ++i) {
    lnBeta(i) = kLn10 * state.logbeta(i);
    ignored(i) = state.refine(i) == kRefineIgnore;
  }
  logKsp.Resize(nk);
  for (int s = 1; s <= nk; ++s) logKsp(s) = state.logksp(s);
  ListTerms(state.a, nr, ns, termStart, termReagent, termCoef);
  ListTerms(state.sa, nr, nk, solidTermStart, solidTermReagent, solidTermCoef);
}

void SolverScratch::Allocate(int nr, int ns, int nk, const ModelTerms& terms) {
  const int nu = nr + nk;
  conc.Resize(ns + nk);
  for (Array1<double>* x : {&resid, &pivots, &rhs, &magnitude, &correction, &fullStep}) x->Resize(nu);
  jac.Resize(nu, nu);
  jacSingle.Resize(nu, nu);
  nunknown = 0;
  lnFreeSaved.Resize(nr);
  solidAmountSaved.Resize(nk);
  lnFreeStart.Resize(nu);
  solidFlagStart.Resize(nk);
  nactiveStart = 0;
  lnFreeSolved.Resize(nu);
  solidFlagSolved.Resize(nk);
  solidAmountSolved.Resize(nk);
  nactiveSolved = 0;
  freeConc.Resize(nr);
  amountClamped.Resize(nk);
  activeSolid.Resize(nk);
  concOverflow = false;
  concValid = false;
  concLnFree.Resize(nr);
  // The unknowns' terms and pairs are at most the model's non-zero
  // coefficients and their pairs.
  int pairs = 0;
  for (int i = 1; i <= ns; ++i) {
    const int count = terms.termStart(i + 1) - terms.termStart(i);
    pairs += count * (count + 1) / 2;
  }
  liveSpecies.Resize(ns);
  nlive = 0;
  unknownStart.Resize(ns + 1);
  unknownIndex.Resize(terms.termReagent.Upper());
  unknownCoef.Resize(terms.termReagent.Upper());
  pairStart.Resize(ns + 1);
  prepared = false;
  preparedNfree = 0;
  preparedPresent.Resize(nu);
  preparedReagent.Resize(nu);
  preparedCoef.Resize(nu, ns);
  pairOffset.Resize(pairs);
  pairProduct.Resize(pairs);
}

void SolverWork::Allocate(const ProjectState& state) {
  const int nr = state.nreag, ns = state.nspecies, nk = state.nsolids;
  SolverInputs::Allocate(nr, ns, nk);
  Capture(state);
  SolverScratch::Allocate(nr, ns, nk, *this);
  ifail = kSuccess;
  guardRejections = 0;
  doubleSolidsSteps = 0;
  strengthPasses = 0;
}

void SeriesResults::Allocate(const ProjectState& state, int points) {
  const int nr = state.nreag, nk = state.nsolids;
  npoints = points < 0 ? 0 : points;
  speciesConc.Resize(state.ntotal(), npoints);
  pH.Resize(npoints);
  totalSet.Resize(npoints, nr + nk);
  totalCalc.Resize(npoints, nr + nk);
  plotTotal.Resize(npoints, nr);
  flagNow.Resize(nr + nk);
  activity = false;
  ionicStrength.Resize(npoints);
  pHActivity.Resize(npoints);
  ipoint = 0;
}

}  // namespace tarn

#include "engine_checks.h"

#include <cmath>

namespace tarn::test {

namespace {

bool TotalGiven(const ProjectState& state, int j) {
  return state.type == kTitration || state.flag(j, 1);
}

double Term(const ProjectState& state, const SeriesResults& r, int j, int k, int p) {
  const int nr = state.nreag, ns = state.nspecies;
  if (k <= nr) return k == j ? r.speciesConc(k, p) : 0.0;
  if (k <= nr + ns) return state.a(j, k - nr) * r.speciesConc(k, p);
  return state.sa(j, k - nr - ns) * r.speciesConc(k, p);
}

bool TestedAtFirstPoint(const ProjectState& state, const SeriesResults& r, int s) {
  for (int j = 1; j <= state.nreag; ++j)
    if (state.sa(j, s) != 0 && r.totalSet(1, j) == 0) return false;
  return true;
}

}  // namespace

SeriesRun RunSeries(const ProjectState& state) {
  SeriesRun run;
  RecordingSink sink;
  run.ifail = CalculatePoints(state, run.work, run.results, sink);
  run.messages = sink.messages;
  return run;
}

double RecomputedTotal(const ProjectState& state, const SeriesResults& results, int j, int p) {
  double total = 0;
  for (int k = 1; k <= state.ntotal(); ++k) total += Term(state, results, j, k, p);
  return total;
}

double TotalMagnitude(const ProjectState& state, const SeriesResults& results, int j, int p) {
  double sum = 0;
  for (int k = 1; k <= state.ntotal(); ++k) sum += std::fabs(Term(state, results, j, k, p));
  return sum;
}

double LogIonProduct(const ProjectState& state, const SeriesResults& results, int s, int p) {
  double sum = 0;
  for (int j = 1; j <= state.nreag; ++j)
    if (state.sa(j, s) != 0) sum += state.sa(j, s) * std::log10(results.speciesConc(j, p));
  return sum;
}

::testing::AssertionResult MassBalancesHold(const ProjectState& state, const SeriesResults& r, double tolerance) {
  for (int p = 1; p <= r.npoints; ++p) {
    for (int j = 1; j <= state.nreag; ++j) {
      const double recomputed = RecomputedTotal(state, r, j, p);
      const double magnitude = TotalMagnitude(state, r, j, p);
      if (!(std::fabs(r.totalCalc(p, j) - recomputed) <= 1e-12 * magnitude))
        return ::testing::AssertionFailure() << "totalCalc of reagent " << j << " at point " << p;
      if (!TotalGiven(state, j)) continue;
      const double set = r.totalSet(p, j);
      if (!(std::fabs(recomputed - set) <= tolerance * (magnitude + std::fabs(set))))
        return ::testing::AssertionFailure() << "mass balance of reagent " << j << " at point " << p << ": set " << set
                                             << ", calculated " << recomputed;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SolubilitiesHold(const ProjectState& state, const SeriesResults& r, double tolerance) {
  const int first = state.nreag + state.nspecies;
  for (int s = 1; s <= state.nsolids; ++s) {
    bool wasSupersaturated = false;
    for (int p = 1; p <= r.npoints; ++p) {
      const double excess = LogIonProduct(state, r, s, p) - state.logksp(s);
      const bool active = r.speciesConc(first + s, p) > 0;
      if (active && !(std::fabs(excess) <= tolerance))
        return ::testing::AssertionFailure() << "solid " << s << " at point " << p << " off its Ksp by " << excess;
      const bool tested = p > 1 || TestedAtFirstPoint(state, r, s);
      const bool supersaturated = tested && !active && excess > tolerance;
      if (supersaturated && wasSupersaturated)
        return ::testing::AssertionFailure()
               << "solid " << s << " supersaturated by " << excess << " at points " << p - 1 << " and " << p;
      wasSupersaturated = supersaturated;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tarn::test

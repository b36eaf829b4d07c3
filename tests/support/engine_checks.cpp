#include "support/engine_checks.h"

#include <algorithm>
#include <cmath>

namespace tarn::test {

SeriesRun RunSeries(const ProjectState& state) {
  SeriesRun run;
  RecordingSink sink;
  run.ifail = CalculatePoints(state, run.work, run.results, sink);
  run.messages = sink.messages;
  return run;
}

::testing::AssertionResult MassBalancesHold(const ProjectState& state, const SeriesResults& r, double tolerance) {
  const int nr = state.nreag, ns = state.nspecies;
  for (int p = 1; p <= r.npoints; ++p) {
    for (int j = 1; j <= nr; ++j) {
      double total = r.speciesConc(j, p), magnitude = std::fabs(total);
      for (int k = nr + 1; k <= state.ntotal(); ++k) {
        const double term = (k <= nr + ns ? state.a(j, k - nr) : state.sa(j, k - nr - ns)) * r.speciesConc(k, p);
        total += term;
        magnitude += std::fabs(term);
      }
      if (!(std::fabs(r.totalCalc(p, j) - total) <= 1e-12 * magnitude))
        return ::testing::AssertionFailure() << "totalCalc of reagent " << j << " at point " << p;
      const double set = r.totalSet(p, j);
      if ((state.type == kTitration || state.flag(j, 1)) &&
          !(std::fabs(total - set) <= tolerance * (magnitude + std::fabs(set))))
        return ::testing::AssertionFailure()
               << "mass balance of reagent " << j << " at point " << p << ": set " << set << ", calculated " << total;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SolubilitiesHold(const ProjectState& state, const SeriesResults& r, double tolerance) {
  for (int p = 1; p <= r.npoints; ++p) {
    for (int s = 1; s <= state.nsolids; ++s) {
      bool present = true;
      for (int j = 1; j <= state.nreag; ++j) present = present && (state.sa(j, s) == 0 || r.speciesConc(j, p) > 0);
      const double excess = LogIonProduct(state, r, s, p) - state.logksp(s);
      const bool active = r.speciesConc(state.nreag + state.nspecies + s, p) > 0;
      if (active && !(std::fabs(excess) <= tolerance))
        return ::testing::AssertionFailure() << "solid " << s << " at point " << p << " off its Ksp by " << excess;
      const double margin = kSupersaturationCheck * std::max(1.0, std::fabs(static_cast<double>(state.logksp(s))));
      if (!active && present && excess > margin)
        return ::testing::AssertionFailure() << "solid " << s << " supersaturated by " << excess << " at point " << p;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tarn::test

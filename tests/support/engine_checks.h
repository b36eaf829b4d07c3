#pragma once
// Running a series in a test and the invariants every result must hold.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "support/series_checks.h"

namespace tarn::test {

struct SeriesRun {
  SolverWork work;
  SeriesResults results;
  std::vector<std::string> messages;
  int ifail = 0;
};

// Runs CalculatePoints, keeping the messages.
SeriesRun RunSeries(const ProjectState& state);

// At every point totalCalc holds each reagent's total recomputed from the
// stored concentrations, and every given total matches it (relative to the
// magnitudes of its terms). Reports the first failure.
::testing::AssertionResult MassBalancesHold(const ProjectState& state, const SeriesResults& results,
                                            double tolerance = 1e-6);
// At every point every solid with an amount matches its log Ksp to the
// tolerance, and no solid without one (whose reagents are all present) is
// supersaturated beyond kSupersaturationCheck times max(1, |log Ksp|).
::testing::AssertionResult SolubilitiesHold(const ProjectState& state, const SeriesResults& results,
                                            double tolerance = 1e-6);

}  // namespace tarn::test

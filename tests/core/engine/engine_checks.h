#pragma once
// Running a series in a test and the invariants every result must hold.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/new_concentrations.h"
#include "model/message_sink.h"

namespace tarn::test {

struct SeriesRun {
  SolverWork work;
  SeriesResults results;
  std::vector<std::string> messages;
  int ifail = 0;
};

// Runs CalculatePoints, keeping the messages.
SeriesRun RunSeries(const ProjectState& state);

// log10 of solid s's ion product at point p from the stored free concentrations.
double LogIonProduct(const ProjectState& state, const SeriesResults& results, int s, int p);

// At every point totalCalc holds each reagent's total recomputed from the
// stored concentrations, and every given total matches it (relative to the
// magnitudes of its terms). Reports the first failure.
::testing::AssertionResult MassBalancesHold(const ProjectState& state, const SeriesResults& results,
                                            double tolerance = 1e-6);
// Every solid with an amount matches its log Ksp; no solid without one is
// supersaturated beyond the tolerance at two consecutive points (it joins the
// active set at the point after the one where it was found supersaturated; at
// the first point a solid with a reagent without a given total is not tested).
::testing::AssertionResult SolubilitiesHold(const ProjectState& state, const SeriesResults& results,
                                            double tolerance = 1e-6);

}  // namespace tarn::test

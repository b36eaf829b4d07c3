// Manufactured solutions: random models of 2 to 8 reagents and up to 60
// species (and up to 3 solids), whose equilibrium was chosen first, solved
// back by the point series.

#include <gtest/gtest.h>

#include "engine_checks.h"
#include "manufactured.h"

namespace tarn::test {
namespace {

struct Outcome {
  int converged = 0;
  int failed = 0;
};

// Solves count systems over 4 points of the same conditions (so that solids
// found at one point are present at the next) and checks every one: a
// failure shows exactly one message and no result; a success recovers the
// chosen concentrations at the last point and holds its balances everywhere.
Outcome SolveBack(std::uint64_t seed, int count, int maxSolids) {
  Random random(seed);
  ManufacturedOptions options;
  options.maxSolids = maxSolids;
  Outcome outcome;
  for (int n = 0; n < count; ++n) {
    const ManufacturedSystem system = MakeManufactured(random, options, 4);
    SeriesRun run = RunSeries(system.state);
    if (run.ifail != kSuccess) {
      ++outcome.failed;
      EXPECT_EQ(run.messages.size(), 1u) << "system " << n;
      continue;
    }
    ++outcome.converged;
    EXPECT_TRUE(run.messages.empty()) << "system " << n;
    EXPECT_LT(ManufacturedError(system, run.results, 4), 1e-5) << "system " << n;
    EXPECT_TRUE(MassBalancesHold(system.state, run.results)) << "system " << n;
    EXPECT_TRUE(SolubilitiesHold(system.state, run.results)) << "system " << n;
  }
  return outcome;
}

TEST(Manufactured, SolubleSystemsAreSolvedBack) {
  const Outcome outcome = SolveBack(12345, 300, 0);
  // Random models include badly scaled ones on which the iteration may fail
  // (with its message); almost all must converge.
  EXPECT_GE(outcome.converged, 285);
}

TEST(Manufactured, SystemsWithSolidsAreSolvedBack) {
  const Outcome outcome = SolveBack(67890, 300, 3);
  EXPECT_GE(outcome.converged, 270);
}

}  // namespace
}  // namespace tarn::test

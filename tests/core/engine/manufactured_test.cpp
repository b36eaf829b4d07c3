// Manufactured solutions: random models of 2 to 8 reagents and up to 60
// species (and up to 3 solids), whose equilibrium was chosen first, solved
// back by the point series.

#include <gtest/gtest.h>

#include "support/engine_checks.h"
#include "support/manufactured.h"

namespace tarn::test {
namespace {

// Solves count systems over 4 points of the same conditions (so that solids
// found at one point are present at the next) and checks every one: a
// failure shows exactly one message; a success recovers the chosen
// concentrations at the last point and holds its balances everywhere.
// Returns how many converged.
int SolveBack(std::uint64_t seed, int count, int maxSolids) {
  Random random(seed);
  ManufacturedOptions options;
  options.maxSolids = maxSolids;
  int converged = 0;
  for (int n = 0; n < count; ++n) {
    const ManufacturedSystem system = MakeManufactured(random, options, 4);
    SeriesRun run = RunSeries(system.state);
    if (run.ifail != kSuccess) {
      EXPECT_EQ(run.messages.size(), 1u) << "system " << n;
      continue;
    }
    ++converged;
    EXPECT_TRUE(run.messages.empty()) << "system " << n;
    EXPECT_LT(ManufacturedError(system, run.results, 4), 1e-5) << "system " << n;
    EXPECT_TRUE(MassBalancesHold(system.state, run.results)) << "system " << n;
    EXPECT_TRUE(SolubilitiesHold(system.state, run.results)) << "system " << n;
  }
  return converged;
}

// Random models include badly scaled ones on which the iteration may fail
// (with its message); almost all must converge.
TEST(Manufactured, SystemsWithAndWithoutSolidsAreSolvedBack) {
  EXPECT_GE(SolveBack(12345, 300, 0), 285);
  EXPECT_GE(SolveBack(67890, 300, 3), 270);
}

}  // namespace
}  // namespace tarn::test

#pragma once
// Manufactured solutions: random models whose equilibrium is known because it
// was chosen first (free concentrations, and the amounts of the solids that
// precipitate), with the totals computed from it.

#include <cstdint>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn::test {

// A small deterministic generator (the same numbers on every platform).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  double Uniform(double low, double high);  // [low, high)
  int Integer(int low, int high);           // [low, high]

 private:
  std::uint64_t state_;
};

struct ManufacturedOptions {
  int minReagents = 2;
  int maxReagents = 8;
  int maxSpecies = 60;
  int maxSolids = 0;
  // The model also has OH (H-1 with log beta -13.78), so that any total of
  // the proton, negative ones too, has a solution.
  bool hydroxide = false;
  // Free and species concentrations from 1e-14 to 1 mol/L, precipitated
  // amounts from 1e-12 to 1 mol/L (else 1e-10 to 1e-2, 1e-12 to 1e-2 and 1e-5
  // to 1e-2): totals and constants over many more decades.
  bool wide = false;
};

struct ManufacturedSystem {
  // A distribution whose totals (and the proton's pX when it is pX-given) are
  // the same at every point; reagent 1 is the proton.
  ProjectState state;
  std::vector<double> free;     // [j], j = 1..nreag
  std::vector<double> species;  // [i], i = 1..nspecies
  std::vector<double> amount;   // [s], s = 1..nsolids; 0 for an undersaturated solid
  std::vector<double> total;    // [j], the totals the chosen solution holds (also of a pX-given proton)
  double strength = 0;          // a real solution's ionic strength at the chosen solution (MakeRealSolution)
};

ManufacturedSystem MakeManufactured(Random& random, const ManufacturedOptions& options, int npoints);

// Makes the system a real solution whose chosen equilibrium holds at its own
// ionic strength: random charges (the proton +1, the others -3 to 3), ion
// sizes, a background electrolyte and a reference ionic strength, the given
// correction, the ionic strength calculated or (fixed) set to a random value;
// the constants, which the chosen solution meets at that ionic strength, are
// converted to the reference ionic strength.
void MakeRealSolution(ManufacturedSystem& system, Random& random, ActivityCorrection correction, bool fixed);

// The largest error of point p of the results against the chosen solution:
// free and species concentrations relative to their own values, solid
// amounts relative to the largest absolute total.
double ManufacturedError(const ManufacturedSystem& system, const SeriesResults& results, int p);

// How far point p lies from the chosen solution in units of what can be
// asked of it (above 1 is a wrong answer). Each free concentration may be off
// by tolerance (relative) plus what the double-precision rounding of its
// totals leaves undetermined: a reagent held almost wholly in a solid or a
// complex, its free concentration a 1e-12 of its balance, is fixed by the
// totals only to a few digits. Each species may be off by the sum of its reagents' allowances
// times their coefficients, each solid amount by tolerance of the largest
// total.
double ManufacturedMisfit(const ManufacturedSystem& system, const SeriesResults& results, int p, double tolerance);

}  // namespace tarn::test

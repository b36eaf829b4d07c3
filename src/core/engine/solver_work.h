#pragma once
// The working state of the free-concentration solver and the results of a
// point series.

#include "model/index_array.h"

namespace tarn {

struct ProjectState;

// Status codes of the solver and the point series.
inline constexpr int kSuccess = 1;
inline constexpr int kIterationLimit = 5;
inline constexpr int kNotPositiveDefinite = 6;
inline constexpr int kSolidsArithmeticFault = -1;

// The solver's working arrays. Reagents j = 1..nreag, soluble species
// i = 1..nspecies, solids s = 1..nsolids, unknowns k = 1..nunknown; element 0
// is unused. Allocate() sizes (and empties) them for a model.
struct SolverWork {
  Array1<double> lnFree;       // natural log of the free concentration of reagent j
  Array1<bool> present;        // reagent j takes part in the point
  int nfree = 0;               // number of mass-balance unknowns
  Array1<int> freeReagent;     // reagent j of unknown k, increasing j
  Array1<double> freeTotal;    // total concentration of unknown k's reagent (mol/L)
  Array2<int> freeCoef;        // a(freeReagent[k], i)
  Array1<double> conc;         // concentration of soluble species i
  Array1<double> resid;        // mass balances 1..nfree, then one per active solid
  Array2<double> jac;          // Jacobian, upper triangle
  Array2<float> jacSingle;     // single-precision copy factorised by the solids iteration
  Array1<double> pivots;       // diagonal factor D
  Array1<double> rhs;          // right-hand side in, Newton step out
  int ifail = kSuccess;        // status of the last procedure
  Array1<bool> solidFlag;      // solid s is in the active set
  int nactive = 0;             // number of active solids
  Array1<double> solidAmount;  // mol per litre of solution while active
  int nunknown = 0;            // nfree plus active solids in the solids iteration
  Array1<double> lnFreeSaved;
  Array1<double> solidAmountSaved;

  // Sizes every array for the model's counts; every value becomes 0/false.
  void Allocate(const ProjectState& state);
};

// The results of the last point series. Points p = 1..npoints, species
// k = 1..ntotal (free reagents, soluble species, solids).
struct SeriesResults {
  int npoints = 0;             // points the arrays were allocated for
  Array2<double> speciesConc;  // [k, p] mol/L; a solid's amount per litre
  Array1<double> pH;           // [p], filled when the model has a proton
  Array2<double> totalSet;     // [p, j] total generated from the conditions (total-given reagents)
  Array2<double> totalCalc;    // [p, j] total recomputed from the results
  Array2<double> plotTotal;    // [p, j] allocated empty for the plot window
  Array1<bool> flagNow;        // [j] true = total given at this series
  int ipoint = 0;              // the point being (or last) calculated
  int ifail = 0;               // status of the series; kSuccess when every point converged
};

}  // namespace tarn

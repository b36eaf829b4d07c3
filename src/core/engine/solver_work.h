#pragma once
// The working state of the free-concentration solver and the results of a
// point series.

#include <cstdint>

#include "core/model/index_array.h"

namespace tarn {

struct ProjectState;

// Status codes of the solver and the point series.
inline constexpr int kSuccess = 1;
inline constexpr int kIterationLimit = 5;
inline constexpr int kNotPositiveDefinite = 6;
inline constexpr int kSolidsArithmeticFault = -1;
// A series of fewer than 2 points is refused before anything is calculated.
inline constexpr int kTooFewPoints = 2;

// The solver's working state in three parts, composed into SolverWork so
// that a procedure reads w.lnFree, w.lnBeta or w.jac alike. Reagents
// j = 1..nreag, soluble species i = 1..nspecies, solids s = 1..nsolids,
// unknowns k = 1..nunknown; element 0 is unused.

// What the caller sets for a point before any procedure (and what the
// procedures leave as the point's answer): the free concentrations, the
// unknowns and the active solids with their amounts.
struct SolverInputs {
  Array1<double> lnFree;       // natural log of the free concentration of reagent j
  Array1<bool> present;        // reagent j takes part in the point
  int nfree = 0;               // number of mass-balance unknowns
  Array1<int> freeReagent;     // reagent j of unknown k, increasing j
  Array1<double> freeTotal;    // total concentration of unknown k's reagent (mol/L)
  Array2<int> freeCoef;        // a(freeReagent[k], i)
  Array1<bool> solidFlag;      // solid s is in the active set
  int nactive = 0;             // number of active solids
  Array1<double> solidAmount;  // mol per litre of solution while active

  // Sizes every array for nr reagents, ns species and nk solids; every value
  // becomes 0/false.
  void Allocate(int nr, int ns, int nk);
};

// The constants of the model, captured by SolverWork::Allocate() (call it
// again after any change of the model). Species i's non-zero coefficients are
// the terms t = termStart[i] .. termStart[i + 1] - 1, in increasing reagent
// order; the same layout holds the solids' coefficients.
struct ModelTerms {
  // The constants the procedures use: the model's, or with an activity
  // correction those of the point's ionic strength (ionic_strength.h).
  Array1<double> lnBeta;  // ln(10) * logbeta[i]
  Array1<double> logKsp;  // logksp[s]
  Array1<bool> ignored;   // refine[i] = Ignore
  Array1<int> termStart;
  Array1<int> termReagent;
  Array1<double> termCoef;
  Array1<int> solidTermStart;
  Array1<int> solidTermReagent;
  Array1<double> solidTermCoef;

  void Capture(const ProjectState& state);
};

// The procedures' own arrays: the residuals, the Jacobian and its factors,
// the saved state of a step, and the lists of the live species and the
// unknowns' terms.
struct SolverScratch {
  Array1<double> conc;      // concentration of soluble species i
  Array1<double> resid;     // mass balances 1..nfree, then one per active solid
  Array2<double> jac;       // Jacobian, upper triangle
  Array2<float> jacSingle;  // single-precision copy factorised by the solids iteration
  Array1<double> pivots;    // diagonal factor D
  Array1<double> rhs;       // right-hand side in, Newton step out
  int nunknown = 0;         // nfree plus active solids in the solids iteration
  Array1<double> lnFreeSaved;
  Array1<double> solidAmountSaved;
  // The start of the point, kept for a second way to it.
  Array1<double> lnFreeStart;
  Array1<bool> solidFlagStart;
  int nactiveStart = 0;
  // The point as the last solution at an ionic strength of the loop around
  // the solver left it (ionic_strength.h).
  Array1<double> lnFreeSolved;
  Array1<bool> solidFlagSolved;
  Array1<double> solidAmountSolved;
  int nactiveSolved = 0;

  // Rebuilt from present, freeReagent and freeCoef at the start of each
  // procedure. liveSpecies[1..nlive] are the species that are not ignored and
  // whose reagents are all present (the others have concentration 0).
  // Species i's non-zero coefficients on the unknowns are the terms
  // unknownStart[i] .. unknownStart[i + 1] - 1 (in increasing k); its
  // contributions to the Jacobian are the pairs pairStart[i] ..
  // pairStart[i + 1] - 1: the offset of element (k, m), k <= m, in jac's
  // storage and the product of the two coefficients.
  Array1<int> liveSpecies;
  int nlive = 0;
  Array1<int> unknownStart;
  Array1<int> unknownIndex;
  Array1<double> unknownCoef;
  Array1<int> pairStart;
  Array1<int> pairOffset;
  Array1<double> pairProduct;
  // The settings these lists were made from: a procedure whose caller has
  // changed none of them since the last one keeps the lists.
  bool prepared = false;
  int preparedNfree = 0;
  Array1<bool> preparedPresent;
  Array1<int> preparedReagent;
  Array2<int> preparedCoef;
  Array1<double> freeConc;     // e^lnFree[j] of the unknowns at the last Residuals call
  Array1<double> magnitude;    // sum of the magnitudes of unknown k's soluble terms
  Array1<double> correction;   // refinement of the solids iteration's step
  Array1<double> fullStep;     // the soluble iteration's step before it was cut
  Array1<int> activeSolid;     // solid s of rank r in the solids iteration
  Array1<bool> amountClamped;  // the last solids step asked for a negative amount of solid s
  bool concOverflow = false;   // the last SpeciesConcentrations met an overflow
  // conc (and concOverflow) belong to these lnFree of the live species as
  // they are listed now (a procedure that starts where the last one ended,
  // as a titration's next point does, need not compute them again).
  bool concValid = false;
  Array1<double> concLnFree;

  // Sizes every array for the model (terms as captured) and empties it.
  void Allocate(int nr, int ns, int nk, const ModelTerms& terms);
};

struct SolverWork : SolverInputs, ModelTerms, SolverScratch {
  int ifail = kSuccess;  // status of the last procedure

  // How often a point that the iteration called converged was refused because
  // a mass balance or an active solid's solubility did not hold.
  std::int64_t guardRejections = 0;
  // How often a solids step was solved in double precision because the
  // refinement of the single-precision one did not settle.
  std::int64_t doubleSolidsSteps = 0;
  // How often a point was solved at an ionic strength of its own (the passes
  // of the loop around the solver, ionic_strength.h).
  std::int64_t strengthPasses = 0;

  // Sizes every array for the model's counts; every value becomes 0/false;
  // captures the model's constants.
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
  // With an activity correction (activity true): the ionic strength each
  // point's constants were converted to (mol/L), and -log10 of the proton's
  // activity (with a proton reagent; pH keeps -log10 of its concentration).
  bool activity = false;
  Array1<double> ionicStrength;  // [p]
  Array1<double> pHActivity;     // [p]
  int ipoint = 0;                // the point being (or last) calculated
  int ifail = 0;                 // status of the series; kSuccess when every point converged

  // Sizes (and empties) every array for the model and npoints points.
  void Allocate(const ProjectState& state, int points);
};

}  // namespace tarn

#pragma once
// The free-concentration solver (damped Newton iteration on the natural logs of
// the free concentrations, with the amounts of precipitated solids as further
// unknowns) and the point series built on it.
//
// Before any solver procedure the caller sets in SolverWork: present, nfree,
// freeReagent, freeTotal, freeCoef, the fixed lnFree of pX-given reagents, the
// starting lnFree of the unknowns, solidFlag, nactive and solidAmount (and has
// called Allocate() for the model).

#include "core/engine/solve_ldl.h"
#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

// Limits of the iterations.
inline constexpr int kMaxIterations = 100;      // a Newton counter reaching this fails with 5
inline constexpr double kStepTolerance = 1e-6;  // converged when every |step| <= this
inline constexpr int kMaxSearchSweeps = 1000;   // bound of SearchEstimates
inline constexpr int kMaxHalvings = 100;        // bound of the solids iteration's step halving
inline constexpr int kRefinements = 3;          // refinements of the solids iteration's single-precision step
// The refinement has settled when its last correction is at most this
// fraction of the step; otherwise the step is solved in double precision.
inline constexpr double kSettledRefinement = 1e-8;
// The last guard of a converged point: every mass balance holds to this
// fraction of the sum of the magnitudes of its terms, every active solid's
// log10 ion product matches its log Ksp to this many log units.
inline constexpr double kBalanceTolerance = 1e-6;
inline constexpr double kSolubilityTolerance = 1e-6;
// An active solid leaves the set at convergence when its last step asked for
// a negative amount, when its amount is at most this fraction of the other
// terms of every balance it enters, or when its log10 ion product lies below
// log Ksp by more than this margin.
inline constexpr double kDissolvedFraction = 1e-12;
inline constexpr double kUndersaturatedMargin = 1e-6;

// The message of a series of fewer than 2 points.
inline constexpr const char* kTooFewPointsMessage = "At least 2 points are needed to calculate a series";

// Fills work.conc[1..nspecies] from work.lnFree: 0 for an ignored species and
// for one with a reagent that is not present.
void SpeciesConcentrations(const ProjectState& state, SolverWork& work);
// Fills work.resid and returns the sum of squares of the residuals; +infinity
// when a concentration or a residual is not finite (an overflow), so that no
// step can take the iteration there and no NaN reaches a result.
double Residuals(const ProjectState& state, SolverWork& work);
// Sum over present reagents of sa(j, s) * lnFree[j] (natural-log units).
double IonProduct(const ProjectState& state, const SolverWork& work, int s);
// Newton iteration over the nfree unknowns (solids are not unknowns). Ends
// with kSuccess only when every mass balance holds (the last guard; otherwise
// kIterationLimit), with kNotPositiveDefinite on a pivot <= 0 or an overflow.
void NewtonSoluble(const ProjectState& state, SolverWork& work);
// Newton iteration over the unknowns and the amounts of the active solids;
// may remove solids from the active set (and returns kSuccess with nactive 0
// when it removed them all: the caller then solves the soluble system). Its
// step is solved with single-precision factors and refined against the
// double-precision Jacobian. Ends with kSuccess only when every mass balance
// and every active solid's solubility hold, kSolidsArithmeticFault on a zero
// pivot or an overflow.
void NewtonWithSolids(const ProjectState& state, SolverWork& work);
// Coordinate search that improves the starting values of the unknowns; at
// most kMaxSearchSweeps sweeps, nothing without unknowns.
void SearchEstimates(const ProjectState& state, SolverWork& work);

// Calculates the project's titration or distribution series of state.npoints
// points into results, showing the program's message at the first failed
// point. Returns results.ifail (kSuccess when every point converged). Fewer
// than 2 points are refused with kTooFewPointsMessage and kTooFewPoints.
int CalculatePoints(const ProjectState& state, SolverWork& work, SeriesResults& results, MessageSink& sink);

}  // namespace tarn

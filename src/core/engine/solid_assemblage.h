#pragma once
// Which solids are present at a point. After the iteration has converged for
// a set of active solids, the inactive solid that the result leaves most
// supersaturated joins the set, one at a time, and the point is solved again,
// until no inactive solid is supersaturated and no active one is
// undersaturated or has a negative amount. A solid whose formula on the
// unknowns depends on the active solids' formulas (a polymorph, or a
// combination of other solids) cannot join beside all of them: it takes the
// place of the one that the combination uses up first. Used by the point
// series and by the single data points.

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

// A solid without an amount is supersaturated when its log10 ion product
// exceeds log Ksp by more than this times max(1, |log Ksp|).
inline constexpr double kSupersaturationMargin = 1e-9;

// Every reagent of solid s takes part in the point (a solid without one of
// its reagents cannot form).
bool SolidReagentsPresent(const SolverWork& work, int s);

// log10 of solid s's ion product (natural logs divided by the double-precision
// ln 10 that the residuals use) minus its log Ksp.
double SaturationExcess(const ProjectState& state, const SolverWork& work, int s);

// The state of the present point is an equilibrium: every mass balance
// holds, every active solid has a non-negative amount and sits at its Ksp,
// and no inactive solid whose reagents are all present is supersaturated.
// Recomputes the residuals of the present state.
bool EquilibriumHolds(const ProjectState& state, SolverWork& work);

// From a point converged for its present active set (by NewtonSoluble or
// NewtonWithSolids), lets the supersaturated solids join one at a time,
// solving with NewtonWithSolids (and NewtonSoluble when it removes every
// solid) after each. True with ifail kSuccess when no solid is left
// supersaturated; otherwise false with the failed iteration's ifail,
// kSolidsArithmeticFault when a supersaturated solid cannot be held by any
// set of solids (it has no unknown to act on), or kIterationLimit after too
// many rounds.
bool SettleSolids(const ProjectState& state, SolverWork& work);

// The way to a point when the iterations fail: from the present lnFree (every
// solid made inactive), single-reagent estimates, the free-energy minimum of
// the soluble system, then the solids joining or leaving one at a time, each
// set solved by the free-energy minimisation. True with ifail kSuccess when
// the result is an equilibrium.
bool SolveByFreeEnergy(const ProjectState& state, SolverWork& work);

}  // namespace tarn

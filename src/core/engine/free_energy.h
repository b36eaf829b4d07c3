#pragma once
// The equilibrium as the minimum of the free energy: the solver's globally
// convergent way to a point that the Newton iterations on the sum of squares
// cannot reach (constants and totals over many decades, a reagent far from
// its estimate, solids whose formulas depend on each other).
//
// With x the natural logs of the unknowns' free concentrations, the function
//   G(x) = sum of the live species' concentrations
//        + sum of the unknowns' free concentrations
//        - sum over the unknowns of total * x
// is strictly convex. Its gradient is minus the mass-balance residuals and
// its Hessian is the Jacobian of the Newton iterations, so the Newton step is
// a descent direction of G, and steps shortened until G falls enough
// (Armijo's rule) converge from any start. A solid's solubility, ion product
// <= Ksp, is linear in x: the equilibrium with solids is the minimum of G on
// the set where every solid holds it, and the multipliers of the active
// solids (those at their Ksp) are their amounts.

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

inline constexpr int kMaxEnergyIterations = 500;
// Converged when no natural-log free concentration moves by more than this.
inline constexpr double kEnergyStepTolerance = 1e-10;
// Sweeps of single-reagent estimates before the minimisation.
inline constexpr int kEstimateSweeps = 30;

// Minimises G over the unknowns (set by the caller as for the Newton
// iterations) with every active solid held at its Ksp, from the present
// lnFree, and sets the active solids' amounts from the multipliers (negative
// ones too: the caller decides what they mean). Ends with residuals and
// concentrations of the final state. Returns kSuccess when the minimum is
// reached and the mass balances hold; kIterationLimit when the minimum is not
// reached; kSolidsArithmeticFault when the active solids' formulas depend on
// each other or G cannot be evaluated (an overflow) where the iteration
// starts.
int MinimizeFreeEnergy(const ProjectState& state, SolverWork& work);

// Moves the unknowns along step (no solid active), shortened until the free
// energy falls by Armijo's rule, from the state of the last residuals. False,
// changing nothing, when no shortening lowers it.
bool DescendFreeEnergy(const ProjectState& state, SolverWork& work, const Array1<double>& step);

// Moves unknown k's lnFree to the minimum of G along it with the other free
// concentrations held: the free concentration that closes k's mass balance
// alone (with the amounts of the active solids as they are). Leaves it where
// it is when no free concentration from e^-700 to e^700 closes it.
void EstimateUnknown(const ProjectState& state, SolverWork& work, int k);
// EstimateUnknown for every unknown in turn, at most sweeps times, until no
// lnFree moves by more than 0.1.
void EstimateUnknowns(const ProjectState& state, SolverWork& work, int sweeps);

}  // namespace tarn

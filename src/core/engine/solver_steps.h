#pragma once
// The building blocks that the solver's procedures share with the free-energy
// minimisation and the choice of the solids present: they work on the
// unknowns the caller set in SolverWork.

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

// Lists the live species and the unknowns' terms for the caller's settings
// (present, nfree, freeReagent, freeCoef); keeps them while those stay.
void PrepareProcedure(const ProjectState& state, SolverWork& work);
// The concentrations of the live species from lnFree; true when one is not
// finite.
bool LiveConcentrations(const ProjectState& state, SolverWork& work);
// The amount of reagent r held in the active solids.
double SolidContent(const ProjectState& state, const SolverWork& work, int r);
// resid[1..nfree]: each unknown's total minus its free concentration and its
// soluble species (the solids left out); freeConc of the unknowns.
void BalanceResiduals(const ProjectState& state, SolverWork& work);
// The residuals of the mass balances with the active solids' amounts and of
// the active solids' solubilities; their sum of squares, +infinity on an
// overflow.
double ResidualsOfUnknowns(const ProjectState& state, SolverWork& work);
// The upper triangle of the Jacobian of the nfree mass balances (soluble
// species and free concentrations) from the last concentrations.
void FormJacobian(const ProjectState& state, SolverWork& work);
// magnitude[1..nfree]: the sum of the magnitudes of each unknown's total,
// free concentration and soluble species (the solids left out).
void BalanceMagnitudes(const ProjectState& state, SolverWork& work);
// Every mass balance (resid of the last ResidualsOfUnknowns) holds to
// kBalanceTolerance of the sum of the magnitudes of its terms.
bool BalancesHold(const ProjectState& state, SolverWork& work);

}  // namespace tarn

#pragma once
// The free-concentration solver (damped Newton iteration on the natural logs of
// the free concentrations, with the amounts of precipitated solids as further
// unknowns) and the point series built on it.

#include "engine/solver_work.h"
#include "model/project_state.h"

namespace tarn {

class MessageSink;

// Fills work.conc[1..nspecies] from work.lnFree.
void SpeciesConcentrations(const ProjectState& state, SolverWork& work);
// Fills work.resid and returns the sum of squares of the residuals.
double Residuals(const ProjectState& state, SolverWork& work);
// Sum over present reagents of sa(j, s) * lnFree[j] (natural-log units).
double IonProduct(const ProjectState& state, const SolverWork& work, int s);
// Root-free factorisation A = U' D U of the n x n matrix a (upper triangle
// read) and solution of A x = b in place; d receives the pivots. With code > 0
// a pivot <= 0 fails with ifail = code; any arithmetic fault fails with code.
template <typename Matrix>
int SolveLDL(Matrix& a, Array1<double>& b, Array1<double>& d, int n, int code);
// Newton iteration over the nfree unknowns (solids are not unknowns).
void NewtonSoluble(const ProjectState& state, SolverWork& work);
// Newton iteration over the unknowns and the amounts of the active solids;
// may remove solids from the active set.
void NewtonWithSolids(const ProjectState& state, SolverWork& work);
// Coordinate search that improves the starting values of the unknowns.
void SearchEstimates(const ProjectState& state, SolverWork& work);

// Calculates the project's titration or distribution series of state.npoints
// points into results, showing the program's message at the first failed
// point. Returns results.ifail (kSuccess when every point converged).
int CalculatePoints(const ProjectState& state, SolverWork& work, SeriesResults& results, MessageSink& sink);

}  // namespace tarn

#pragma once
// The model and conditions edits of the editor that reshape or derive
// the project's data, kept apart from the widgets (no Qt): inserting and
// deleting species and solids, the titration's derived totals and the step
// of the added-volume buttons.
//
// Species and solids move with their entries of the species list (plot mark,
// label position and caption), so the other species keep theirs. Every array
// stays sized from the counts.

#include <string>
#include <string_view>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

// The refine keys the editor sets (option index - 1).
inline constexpr int kRefineConstant = 0;
inline constexpr int kRefineRefine = 1;

// The text of a refine key: "ignore", "const.", "refine", or the number with
// its plain-text blank followed by " Constraint" (" 2 Constraint").
std::string RefineText(int key);

// Inserts a species after the species of grid row `row` (limited to
// nspecies): the new species n = row + 1 starts as a copy of species `row`
// (empty, key "const.", when row is 0, the heading row), with its own default
// caption. The species list entries from n on move one place up. Sets
// modified and recalc. Returns n.
int InsertSpecies(ProjectState& state, int row);
// Deletes species r with its species-list entry; refused (false, nothing
// changed) when r is no species or it is the only one. Sets modified and recalc.
bool DeleteSpecies(ProjectState& state, int r);
// Appends a solid with log Ksp 0, every coefficient 0 and its default caption.
// Changes neither modified nor recalc (an empty solid changes no result).
void AppendSolid(ProjectState& state);
// Deletes solid r with its species-list entry; false when r is no solid.
// Sets modified and recalc.
bool DeleteSolid(ProjectState& state, int r);

// The titration's derived totals of the reagents given by totals, for an
// initial volume vstart and a final volume vend; nothing when vend <= 0. A
// volume that is not positive gives 0 instead of a division.
void ResetConditions(ProjectState& state, double vstart, double vend);

// The conditions as the editor opens them: every distribution pX of 0
// becomes 2; a titration's final volume and derived totals follow the added
// volume the editor shows, and the results are out of date. Not an edit of
// the user's: `modified` stays as it is.
void PrepareConditions(ProjectState& state, double addedVolume);

// A coefficient typed as a number: the largest integer not greater than it,
// limited to the range of int.
int CoefficientOf(double value);

// The step of the added-volume buttons for the volume a (compared at single
// precision), and the format the stepped volume is shown in.
struct SpinStep {
  double step;
  std::string_view format;
};
SpinStep SpinnerStep(double a);

}  // namespace tarn

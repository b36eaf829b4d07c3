#pragma once
// Adding and removing reagents: the arrays of the open project are reshaped in
// place, keeping the rest of the model and the conditions.

#include "model/project_state.h"

namespace tarn {

// Appends a reagent named by the letter of code 64 + nreag, with coefficient 0
// in every species and solid, empty conditions (totals given in a titration)
// and default captions for every species. Sets modified and recalc.
void AddReagent(ProjectState& state);

// Removes reagent r (1..nreag) and every soluble species that contains it;
// solids keep their other coefficients. Recomputes the proton. Sets modified
// and recalc. The caller asks the user first.
void RemoveReagent(ProjectState& state, int r);

}  // namespace tarn

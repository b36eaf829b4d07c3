#pragma once
// Adding and removing reagents: the arrays of the open project are reshaped in
// place, keeping the rest of the model and the conditions. Every array stays
// sized from the counts. The single points keep their data: a new reagent
// gets total 0 (total given) in every point, a removed reagent's entries go.

#include <string>

#include "core/model/project_state.h"

namespace tarn {

// The name of the j-th reagent of a new model: "A" to "Z", then "AA", "AB",
// ... as spreadsheet columns run, leaving out every name the proton rule
// takes for the proton ("H"), so the eighth is "I".
std::string DefaultReagentName(int j);

// The name of a reagent added to the model: DefaultReagentName(nreag + 1),
// or the first name after it that no reagent has yet (in either case, blanks
// aside) and that is not a proton name. Reagents Cu, L and D get "E".
std::string NewReagentName(const ProjectState& state);

// Appends a reagent named NewReagentName, with coefficient 0 in every species
// and solid, empty conditions (totals given in a titration) and default
// captions for every species; the plot's label positions and marks are
// cleared. The proton stays the reagent it was. Sets modified and recalc.
void AddReagent(ProjectState& state);

// Removes reagent r (1..nreag) and every soluble species that contains it;
// solids keep their other coefficients, the other species keep their
// captions, label positions and marks. Recomputes the proton. Sets modified
// and recalc. The caller asks the user first. Returns false, changing
// nothing, when r is not a reagent or it is the only one.
bool RemoveReagent(ProjectState& state, int r);

}  // namespace tarn

#pragma once
// The benchmark series (a) to (f): chemical models of increasing size with
// their conditions, each a series of kBenchPoints points.

#include "core/model/project_state.h"

namespace tarn::bench {

inline constexpr int kBenchPoints = 1201;

ProjectState DiproticAcid();             // (a) a diprotic acid over pH 2-12
ProjectState CopperGlycine();            // (b) Cu / glycine / H distribution, ten species
ProjectState CopperGlycineTitration();   // (c) the same as a titration with hydroxide
ProjectState SixReagents();              // (d) three metals, two ligands, H; about forty species
ProjectState IronHydroxide();            // (e) iron(III) hydroxide precipitating over part of the pH range
ProjectState ElevenReagentsTwoSolids();  // (f) eleven reagents, about forty species, CaCO3(s) and Cu(OH)2(s)

// (d) and (f) with the reagents' charges, the Davies correction and the ionic
// strength calculated at every point (0.1 M 1:-1 background electrolyte,
// constants at 0.1 M).
ProjectState SixReagentsVariableStrength();
ProjectState ElevenReagentsVariableStrength();

}  // namespace tarn::bench

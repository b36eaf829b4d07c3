#pragma once
// The conditions that every reported point of a series must meet, checked
// from the result arrays alone (independently of the solver's own guards):
// every given total is matched by the stored concentrations, every solid with
// an amount sits at its solubility product, and no solid without one is
// supersaturated. With an activity correction the constants are those of the
// point's reported ionic strength (converted from the reference one), every
// soluble species is at its constant, and the reported ionic strength is the
// point's own: 1/2 sum c z^2 of its species and the background electrolyte
// (or the fixed one).

#include <optional>
#include <string>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn::test {

// A given total must match the stored concentrations to this fraction of the
// sum of the magnitudes of its terms.
inline constexpr double kBalanceCheck = 1e-6;
// A precipitated solid's log10 ion product must match its log Ksp to this.
inline constexpr double kKspCheck = 1e-6;
// A solid without an amount may exceed its log Ksp by at most this times
// max(1, |log Ksp|).
inline constexpr double kSupersaturationCheck = 1e-9;

// A species' log10 concentration must match its constant and its reagents'
// free concentrations to this many log units.
inline constexpr double kSpeciesCheck = 1e-9;
// The activity coefficients of the reported ionic strength and of the point's
// own may differ by this much (log10): ten times the engine's tolerance.
inline constexpr double kLogGammaCheck = 1e-7;

// The ionic strength of point p from its stored concentrations: 1/2 sum c z^2
// over the free reagents and soluble species, and the background electrolyte.
double OwnIonicStrength(const ProjectState& state, const SeriesResults& results, int p);

// log10 of solid s's ion product from the stored free
// concentrations (natural logarithms divided by the double-precision ln 10).
double LogIonProduct(const ProjectState& state, const SeriesResults& results, int s, int p);

// What is wrong with point p, or nothing when it is an equilibrium.
std::optional<std::string> PointViolation(const ProjectState& state, const SeriesResults& results, int p);
// The first point of the series that is no equilibrium, described.
std::optional<std::string> SeriesViolation(const ProjectState& state, const SeriesResults& results);

}  // namespace tarn::test

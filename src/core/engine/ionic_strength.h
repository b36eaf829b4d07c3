#pragma once
// The ionic strength of a point and the activity coefficients that it sets,
// around the concentration solver. The solver keeps solving the mass balances
// in concentrations, with conditional constants: the model's constants
// converted from their reference ionic strength to the point's (activity.h).
// With the ionic strength fixed, the constants are converted once. With the
// ionic strength calculated, each point is solved at a first guess of it
// (extrapolated from the points before), its own ionic strength is computed
// from its species, and the point is solved again at the better value until
// no activity coefficient changes by more than kLogGammaTolerance (log10).

#include <functional>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/activity.h"
#include "core/model/model_edits.h"
#include "core/model/project_state.h"

namespace tarn {

// The point is at its own ionic strength when no log10 activity coefficient
// changes by more than this between the ionic strength the constants were
// converted to and the one its species give: the ionic strength then matches
// its species to about 1e-7 of itself, and the concentrations are those of
// the point's own ionic strength to about 1e-7.
inline constexpr double kLogGammaTolerance = 1e-8;
// Solutions of a point at successive ionic strengths before it fails.
inline constexpr int kMaxStrengthPasses = 100;
// Failed solutions in a row, each nearer the last ionic strength solved,
// before the point fails.
inline constexpr int kMaxFailedPasses = 8;
// The series' status when a point's ionic strength does not settle.
inline constexpr int kStrengthNotConverged = 7;
// The status when the activity settings cannot be calculated with.
inline constexpr int kBadActivitySettings = 8;

// The message of a point whose ionic strength does not settle.
std::string StrengthFailureMessage(int p);

// The project's activity correction, captured for one calculation.
class StrengthCorrection {
 public:
  explicit StrengthCorrection(const ProjectState& state);

  bool On() const { return correction_ != ActivityCorrection::kNone; }
  // The ionic strength is calculated at every point (else it is fixed).
  bool Calculated() const { return On() && calculated_; }
  double FixedStrength() const { return fixedStrength_; }

  // Sets the constants the procedures use (w.lnBeta, w.logKsp; the model's
  // terms must be captured) to those of ionic strength `strength`.
  void Apply(double strength, SolverWork& w);
  // The ionic strength of the last Apply.
  double AppliedStrength() const { return applied_; }
  // 1/2 sum c z^2 over the point's present free reagents and live soluble
  // species (as the last Residuals left them) and the background electrolyte.
  double StrengthOf(const SolverWork& w) const;
  // A first guess of a point's ionic strength from its totals (for reagents
  // given by a total) and free concentrations (pX given) as if nothing were
  // bound.
  double StrengthOfTotals(const SolverWork& w) const;
  // The largest change of a log10 activity coefficient of the model's ions
  // between ionic strengths `from` and `to`.
  double LogGammaChange(double from, double to) const;
  // log10 of the activity coefficient of free reagent j.
  double ReagentLogGamma(int j, double strength) const;

 private:
  // The log10 activity coefficient per unit z^2 of the ions of each size.
  double PerCharge(double size, double strength) const;

  ActivityCorrection correction_;
  DebyeHuckelConstants constants_;
  bool calculated_;
  double fixedStrength_;
  double background_;  // the ionic strength of the background electrolyte
  int nreag_, nspecies_, nsolids_;
  std::vector<double> reagentZ2_, reagentSize_;  // [j]
  std::vector<double> speciesZ2_;                // [i], the default ion size
  // ln(10) (log beta - D(Iref)) and log Ksp - D(Iref) (activity.h).
  std::vector<double> baseLnBeta_, baseLogKsp_;
  std::vector<double> logGamma_;  // [j] scratch of Apply
  double largestSpeciesZ2_ = 0;
  double applied_ = 0;
};

// How a point solved at its own ionic strength ended.
enum class StrengthOutcome {
  kConverged,     // the point is at its ionic strength
  kSolverFailed,  // a solution at some ionic strength failed (solve has reported it)
  kNotConverged,  // the ionic strength did not settle in kMaxStrengthPasses solutions
};

// Solves a point at its own ionic strength: solve(pass) solves the point at
// the constants set in w (pass 1, 2, ...) and returns false when it fails.
// strength holds the first guess on entry and the ionic strength the point's
// constants were converted to on return. Between passes the guess moves
// towards the root of I' - I, I' the ionic strength of the point's species
// (secant, then a safeguarded false position once the root is bracketed). A
// solution that fails after one has succeeded is tried again from that one's
// state, nearer its ionic strength, up to kMaxFailedPasses times in a row.
StrengthOutcome SolveAtOwnStrength(StrengthCorrection& correction, SolverWork& w, double& strength,
                                   const std::function<bool(int pass)>& solve);

// The ionic strength of point p of a completed series: the one its constants
// were converted to when the series had an activity correction, else 1/2 sum
// c z^2 of the point's free reagents and soluble species with the project's
// charges, plus its background electrolyte.
double SeriesIonicStrength(const ProjectState& state, const SeriesResults& results, int p);
// One row of the ionic-strength grid: the pH (with a proton) or the point
// number, and the ionic strength as shown.
struct StrengthRow {
  std::string first;
  std::string strength;
};

// The rows of the conditions editor's ionic-strength grid from the project's
// own settings: the pH (with a proton) or the point number, and
// SeriesIonicStrength formatted "0.000000".
std::vector<StrengthRow> StrengthRows(const ProjectState& state, const SeriesResults& results);

}  // namespace tarn

#include "core/engine/ionic_strength.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr double kLn10 = std::numbers::ln10;

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

}  // namespace

std::string StrengthFailureMessage(int p) {
  return "ionic strength and activity coefficients did not converge at point" + PlainText(p);
}

StrengthCorrection::StrengthCorrection(const ProjectState& state)
    : correction_(state.activity.correction),
      constants_(WaterConstants(state.activity.celsius)),
      calculated_(state.activity.calculated),
      fixedStrength_(state.activity.fixedStrength),
      background_(
          BackgroundStrength(state.activity.background, state.activity.cationCharge, state.activity.anionCharge)),
      nreag_(state.nreag),
      nspecies_(state.nspecies),
      nsolids_(state.nsolids) {
  reagentZ2_.assign(At(nreag_) + 1, 0);
  reagentSize_.assign(At(nreag_) + 1, kDefaultIonSize);
  logGamma_.assign(At(nreag_) + 1, 0);
  for (int j = 1; j <= nreag_; ++j) {
    const double z = ReagentCharge(state, j);
    reagentZ2_[At(j)] = z * z;
    reagentSize_[At(j)] = ReagentIonSize(state, j);
  }
  speciesZ2_.assign(At(nspecies_) + 1, 0);
  for (int i = 1; i <= nspecies_; ++i) {
    const double z = SpeciesCharge(state, i);
    speciesZ2_[At(i)] = z * z;
    largestSpeciesZ2_ = std::max(largestSpeciesZ2_, z * z);
  }
  // The constants at zero shift: their values at the reference ionic strength
  // moved back by the reference's shift.
  const double reference = state.activity.referenceStrength;
  baseLnBeta_.assign(At(nspecies_) + 1, 0);
  for (int i = 1; i <= nspecies_; ++i)
    baseLnBeta_[At(i)] = kLn10 * ConvertLogBeta(state, i, state.logbeta(i), reference, 0);
  baseLogKsp_.assign(At(nsolids_) + 1, 0);
  for (int s = 1; s <= nsolids_; ++s) baseLogKsp_[At(s)] = ConvertLogKsp(state, s, state.logksp(s), reference, 0);
}

double StrengthCorrection::PerCharge(double size, double strength) const {
  return LogGamma(correction_, constants_, 1, strength, size);
}

double StrengthCorrection::ReagentLogGamma(int j, double strength) const {
  return reagentZ2_[At(j)] * PerCharge(reagentSize_[At(j)], strength);
}

void StrengthCorrection::Apply(double strength, SolverWork& w) {
  for (int j = 1; j <= nreag_; ++j) logGamma_[At(j)] = ReagentLogGamma(j, strength);
  const double perCharge = PerCharge(kDefaultIonSize, strength);
  for (int i = 1; i <= nspecies_; ++i) {
    double shift = -speciesZ2_[At(i)] * perCharge;
    for (int t = w.termStart(i); t < w.termStart(i + 1); ++t) shift += w.termCoef(t) * logGamma_[At(w.termReagent(t))];
    w.lnBeta(i) = baseLnBeta_[At(i)] + kLn10 * shift;
  }
  for (int s = 1; s <= nsolids_; ++s) {
    double shift = 0;
    for (int t = w.solidTermStart(s); t < w.solidTermStart(s + 1); ++t)
      shift -= w.solidTermCoef(t) * logGamma_[At(w.solidTermReagent(t))];
    w.logKsp(s) = baseLogKsp_[At(s)] + shift;
  }
  // The concentrations kept for the present lnFree belong to the old constants.
  w.concValid = false;
}

double StrengthCorrection::StrengthOf(const SolverWork& w) const {
  double sum = 0;
  for (int j = 1; j <= nreag_; ++j)
    if (w.present(j) && reagentZ2_[At(j)] != 0) sum += reagentZ2_[At(j)] * std::exp(w.lnFree(j));
  for (int i = 1; i <= nspecies_; ++i) sum += speciesZ2_[At(i)] * w.conc(i);
  return background_ + sum / 2;
}

double StrengthCorrection::StrengthOfTotals(const SolverWork& w) const {
  std::vector<bool> unknown(At(nreag_) + 1, false);
  double sum = 0;
  for (int k = 1; k <= w.nfree; ++k) {
    const int j = w.freeReagent(k);
    unknown[At(j)] = true;
    sum += reagentZ2_[At(j)] * std::fabs(w.freeTotal(k));
  }
  for (int j = 1; j <= nreag_; ++j)
    if (w.present(j) && !unknown[At(j)]) sum += reagentZ2_[At(j)] * std::exp(w.lnFree(j));
  return background_ + sum / 2;
}

double StrengthCorrection::LogGammaChange(double from, double to) const {
  double largest = largestSpeciesZ2_ * std::fabs(PerCharge(kDefaultIonSize, to) - PerCharge(kDefaultIonSize, from));
  for (int j = 1; j <= nreag_; ++j)
    largest = std::max(largest, std::fabs(ReagentLogGamma(j, to) - ReagentLogGamma(j, from)));
  return largest;
}

StrengthOutcome SolveAtOwnStrength(StrengthCorrection& correction, SolverWork& w, double& strength,
                                   const std::function<bool(int pass)>& solve) {
  double x = std::max(strength, 0.0), previousX = 0, previousGap = 0;
  for (int pass = 1; pass <= kMaxStrengthPasses; ++pass) {
    correction.Apply(x, w);
    ++w.strengthPasses;
    if (!solve(pass)) return StrengthOutcome::kSolverFailed;
    const double own = correction.StrengthOf(w);
    if (!std::isfinite(own)) return StrengthOutcome::kNotConverged;
    if (correction.LogGammaChange(x, own) <= kLogGammaTolerance) {
      strength = x;
      return StrengthOutcome::kConverged;
    }
    // The secant on the gap I' - I, or I' itself where the secant has no
    // slope or leaves the range of ionic strengths.
    const double gap = own - x;
    double next = own;
    if (pass > 1 && gap != previousGap) {
      const double secant = x - gap * (x - previousX) / (gap - previousGap);
      if (std::isfinite(secant) && secant >= 0) next = secant;
    }
    previousX = x;
    previousGap = gap;
    x = next;
  }
  return StrengthOutcome::kNotConverged;
}

double SeriesIonicStrength(const ProjectState& state, const SeriesResults& results, int p) {
  if (results.activity) return results.ionicStrength(p);
  const ActivitySettings& a = state.activity;
  double sum = 0;
  for (int j = 1; j <= state.nreag; ++j) {
    const double z = ReagentCharge(state, j);
    sum += z * z * results.speciesConc(j, p);
  }
  for (int i = 1; i <= state.nspecies; ++i) {
    if (state.refine(i) == kRefineIgnore) continue;
    const double z = SpeciesCharge(state, i);
    sum += z * z * results.speciesConc(state.nreag + i, p);
  }
  return BackgroundStrength(a.background, a.cationCharge, a.anionCharge) + sum / 2;
}

std::vector<StrengthRow> StrengthRows(const ProjectState& state, const SeriesResults& results) {
  constexpr double kLn10ForPH = 2.302585;
  std::vector<StrengthRow> rows;
  for (int p = 1; p <= results.npoints; ++p) {
    StrengthRow row;
    if (state.proton != 0)
      row.first = FormatPattern(-std::log(results.speciesConc(state.proton, p)) / kLn10ForPH, "#0.00");
    else
      row.first = PlainText(p);
    row.strength = FormatPattern(SeriesIonicStrength(state, results, p), "0.000000");
    rows.push_back(row);
  }
  return rows;
}

}  // namespace tarn

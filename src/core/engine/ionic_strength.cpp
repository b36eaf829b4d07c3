#include "core/model/constants.h"
#include "core/engine/ionic_strength.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "core/model/number_text.h"

namespace tarn {

namespace {


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
  applied_ = strength;
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

namespace {

// The search for the ionic strength I at which the point's own, I', is I:
// the root of the gap I' - I, which is never negative at I = 0. The next I is
// the secant through the last two (I' itself at first); once the root is
// bracketed by two ionic strengths whose gaps have opposite signs, the false
// position between them, the end kept twice in a row having its gap halved
// (Illinois), or the middle of the bracket when it has not halved in two
// steps. A step that leaves the bracket goes to I', or to the middle of the
// bracket when I' lies outside it too.
class StrengthSearch {
 public:
  double Next(double x, double own) {
    const double gap = own - x;
    Take(x, gap);
    double next = own;
    if (hasPrevious_ && gap != previousGap_) next = x - gap * (x - previousX_) / (gap - previousGap_);
    if (lowKnown_ && std::isfinite(high_)) {
      // A bracket that has not halved in two steps is halved.
      const double width = Width();
      const bool slow = width > widthBefore_[1] / 2;
      widthBefore_[1] = widthBefore_[0];
      widthBefore_[0] = width;
      next = slow ? Middle() : high_ - gapHigh_ * (high_ - low_) / (gapHigh_ - gapLow_);
    } else if (!Inside(next) && gap > 0) {
      // Every gap so far positive and the secant pointing back: steps that
      // double until the gap changes sign.
      stretch_ *= 2;
      next = x + stretch_ * gap;
    }
    if (!Inside(next)) next = Inside(own) ? own : Middle();
    hasPrevious_ = true;
    previousX_ = x;
    previousGap_ = gap;
    return next;
  }

 private:
  void Take(double x, double gap) {
    if (!(x >= low_ && x <= high_)) return;
    if (gap > 0) {
      if (kept_ == Kept::kLow) gapHigh_ /= 2;
      low_ = x;
      gapLow_ = gap;
      lowKnown_ = true;
      kept_ = Kept::kLow;
    } else {
      if (kept_ == Kept::kHigh) gapLow_ /= 2;
      high_ = x;
      gapHigh_ = gap;
      kept_ = Kept::kHigh;
    }
  }
  bool Inside(double x) const { return x > low_ && x < high_; }
  // The bracket's width on the scale its middle is taken on.
  double Width() const {
    if (low_ > 0 && high_ > 4 * low_) return std::log(high_ / low_);
    return std::sqrt(high_) - std::sqrt(low_);
  }
  // The middle of the bracket: on the scale of log I while its ends lie
  // decades apart, else of sqrt(I), the scale of the activity coefficients;
  // twice the low end while there is no high end.
  double Middle() const {
    if (!std::isfinite(high_)) return 2 * low_;
    if (low_ > 0 && high_ > 4 * low_) return std::sqrt(low_ * high_);
    const double root = (std::sqrt(low_) + std::sqrt(high_)) / 2;
    return root * root;
  }

  enum class Kept { kNone, kLow, kHigh };
  double low_ = 0, gapLow_ = 0;
  bool lowKnown_ = false;
  double high_ = std::numeric_limits<double>::infinity(), gapHigh_ = 0;
  Kept kept_ = Kept::kNone;
  bool hasPrevious_ = false;
  double previousX_ = 0, previousGap_ = 0;
  double stretch_ = 1;
  // The bracket's width one and two steps before.
  double widthBefore_[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
};

// The point as the last solution at an ionic strength left it, kept and
// restored.
void KeepSolution(SolverWork& w) {
  w.lnFreeSolved = w.lnFree;
  w.solidFlagSolved = w.solidFlag;
  w.solidAmountSolved = w.solidAmount;
  w.nactiveSolved = w.nactive;
}

void RestoreSolution(SolverWork& w) {
  w.lnFree = w.lnFreeSolved;
  w.solidFlag = w.solidFlagSolved;
  w.solidAmount = w.solidAmountSolved;
  w.nactive = w.nactiveSolved;
}

}  // namespace

StrengthOutcome SolveAtOwnStrength(StrengthCorrection& correction, SolverWork& w, double& strength,
                                   const std::function<bool(int pass)>& solve) {
  StrengthSearch search;
  double x = std::max(strength, 0.0), solved = -1;
  int failures = 0;
  for (int pass = 1; pass <= kMaxStrengthPasses; ++pass) {
    correction.Apply(x, w);
    ++w.strengthPasses;
    if (!solve(pass)) {
      // The constants of an ionic strength far from the point's own can
      // defeat the solver: back, from the last ionic strength solved, to the
      // middle between it and this one.
      if (solved < 0 || ++failures > kMaxFailedPasses) return StrengthOutcome::kSolverFailed;
      RestoreSolution(w);
      x = solved > 0 && x > 0 ? std::sqrt(solved * x) : (solved + x) / 2;
      continue;
    }
    failures = 0;
    const double own = correction.StrengthOf(w);
    if (!std::isfinite(own)) return StrengthOutcome::kNotConverged;
    if (correction.LogGammaChange(x, own) <= kLogGammaTolerance) {
      strength = x;
      return StrengthOutcome::kConverged;
    }
    KeepSolution(w);
    solved = x;
    x = search.Next(x, own);
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
  std::vector<StrengthRow> rows;
  for (int p = 1; p <= results.npoints; ++p) {
    StrengthRow row;
    if (state.proton != 0)
      row.first = FormatPattern(-std::log(results.speciesConc(state.proton, p)) / kLn10Shown, "#0.00");
    else
      row.first = PlainText(p);
    row.strength = FormatPattern(SeriesIonicStrength(state, results, p), "0.000000");
    rows.push_back(row);
  }
  return rows;
}

}  // namespace tarn

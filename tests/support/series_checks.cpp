#include "support/series_checks.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <sstream>

#include "core/model/activity.h"
#include "core/model/model.h"

namespace tarn::test {

namespace {

bool TotalGiven(const ProjectState& st, const SeriesResults& r, int j) {
  return st.type == kTitration || (r.flagNow.Upper() >= j ? r.flagNow(j) : st.flag(j, st.type));
}

std::string Describe(const std::string& what, int p, double a, double b) {
  std::ostringstream out;
  out.precision(10);
  out << what << " at point " << p << ": " << a << " against " << b;
  return out.str();
}

std::optional<std::string> BalanceViolation(const ProjectState& st, const SeriesResults& r, int p) {
  const int nr = st.nreag, ns = st.nspecies;
  for (int j = 1; j <= nr; ++j) {
    const double free = r.speciesConc(j, p);
    if (!(free >= 0) || !std::isfinite(free))
      return Describe("free concentration of reagent " + st.name(j), p, free, 0);
    if (!TotalGiven(st, r, j)) continue;
    double total = free, magnitude = free;
    for (int k = nr + 1; k <= st.ntotal(); ++k) {
      const int coef = k <= nr + ns ? st.a(j, k - nr) : st.sa(j, k - nr - ns);
      const double term = coef * r.speciesConc(k, p);
      total += term;
      magnitude += std::fabs(term);
    }
    const double set = r.totalSet(p, j);
    if (!(std::fabs(total - set) <= kBalanceCheck * (magnitude + std::fabs(set))))
      return Describe("mass balance of " + st.name(j), p, total, set);
  }
  return std::nullopt;
}

bool ReagentsPresent(const ProjectState& st, const SeriesResults& r, int s, int p) {
  for (int j = 1; j <= st.nreag; ++j)
    if (st.sa(j, s) != 0 && !(r.speciesConc(j, p) > 0)) return false;
  return true;
}

// The constant of species i (log beta) or solid s (log Ksp) at point p: the
// model's, or with a correction the one of the point's ionic strength.
double LogBetaAt(const ProjectState& st, const SeriesResults& r, int i, int p) {
  if (!r.activity) return st.logbeta(i);
  return ConvertLogBeta(st, i, st.logbeta(i), st.activity.referenceStrength, r.ionicStrength(p));
}

double LogKspAt(const ProjectState& st, const SeriesResults& r, int s, int p) {
  if (!r.activity) return st.logksp(s);
  return ConvertLogKsp(st, s, st.logksp(s), st.activity.referenceStrength, r.ionicStrength(p));
}

// Every soluble species with a concentration is its constant times its
// reagents' free concentrations.
std::optional<std::string> SpeciesViolation(const ProjectState& st, const SeriesResults& r, int p) {
  const int nr = st.nreag;
  for (int i = 1; i <= st.nspecies; ++i) {
    const double c = r.speciesConc(nr + i, p);
    if (!(c >= 0) || !std::isfinite(c)) return Describe("concentration of " + SpeciesFormula(st, i), p, c, 0);
    // Below the smallest normal double the concentrations lose digits.
    if (c < DBL_MIN) continue;
    double expected = LogBetaAt(st, r, i, p), magnitude = std::fabs(expected);
    bool normal = true;
    for (int j = 1; j <= nr; ++j) {
      if (st.a(j, i) == 0) continue;
      normal = normal && r.speciesConc(j, p) >= DBL_MIN;
      const double term = st.a(j, i) * std::log10(r.speciesConc(j, p));
      expected += term;
      magnitude += std::fabs(term);
    }
    if (normal && !(std::fabs(std::log10(c) - expected) <= kSpeciesCheck * (1 + magnitude)))
      return Describe("log concentration of " + SpeciesFormula(st, i), p, std::log10(c), expected);
  }
  return std::nullopt;
}

// The largest difference of the log10 activity coefficients of the model's
// ions between two ionic strengths.
double LogGammaDifference(const ProjectState& st, double a, double b) {
  double largest = 0;
  for (int j = 1; j <= st.nreag; ++j)
    largest = std::max(largest, std::fabs(ReagentLogGamma(st, j, a) - ReagentLogGamma(st, j, b)));
  for (int i = 1; i <= st.nspecies; ++i)
    largest = std::max(largest, std::fabs(SpeciesLogGamma(st, i, a) - SpeciesLogGamma(st, i, b)));
  return largest;
}

std::optional<std::string> StrengthViolation(const ProjectState& st, const SeriesResults& r, int p) {
  if (!r.activity) return std::nullopt;
  const double reported = r.ionicStrength(p);
  if (!st.activity.calculated) {
    if (reported != st.activity.fixedStrength)
      return Describe("fixed ionic strength", p, reported, st.activity.fixedStrength);
    return std::nullopt;
  }
  const double own = OwnIonicStrength(st, r, p);
  if (!(reported >= 0) || !(LogGammaDifference(st, reported, own) <= kLogGammaCheck))
    return Describe("ionic strength", p, reported, own);
  return std::nullopt;
}

std::optional<std::string> SolidViolation(const ProjectState& st, const SeriesResults& r, int p) {
  for (int s = 1; s <= st.nsolids; ++s) {
    const double amount = r.speciesConc(st.nreag + st.nspecies + s, p);
    const std::string name = "solid " + std::to_string(s);
    if (!(amount >= 0) || !std::isfinite(amount)) return Describe("amount of " + name, p, amount, 0);
    if (!ReagentsPresent(st, r, s, p)) {
      if (amount > 0) return Describe(name + " without one of its reagents", p, amount, 0);
      continue;
    }
    const double logKsp = LogKspAt(st, r, s, p);
    const double excess = LogIonProduct(st, r, s, p) - logKsp;
    if (amount > 0 && !(std::fabs(excess) <= kKspCheck))
      return Describe("log ion product of precipitated " + name, p, excess + logKsp, logKsp);
    if (amount == 0 && !(excess <= kSupersaturationCheck * std::max(1.0, std::fabs(logKsp))))
      return Describe("log ion product of " + name + " without solid", p, excess + logKsp, logKsp);
  }
  return std::nullopt;
}

}  // namespace

double LogIonProduct(const ProjectState& state, const SeriesResults& results, int s, int p) {
  double sum = 0;
  for (int j = 1; j <= state.nreag; ++j)
    if (state.sa(j, s) != 0) sum += state.sa(j, s) * std::log(results.speciesConc(j, p));
  return sum / std::numbers::ln10;
}

double OwnIonicStrength(const ProjectState& state, const SeriesResults& results, int p) {
  const ActivitySettings& a = state.activity;
  double sum = 0;
  for (int j = 1; j <= state.nreag; ++j) {
    const double z = ReagentCharge(state, j);
    sum += z * z * results.speciesConc(j, p);
  }
  for (int i = 1; i <= state.nspecies; ++i) {
    const double z = SpeciesCharge(state, i);
    sum += z * z * results.speciesConc(state.nreag + i, p);
  }
  return BackgroundStrength(a.background, a.cationCharge, a.anionCharge) + sum / 2;
}

std::optional<std::string> PointViolation(const ProjectState& state, const SeriesResults& results, int p) {
  if (auto balance = BalanceViolation(state, results, p)) return balance;
  if (auto species = SpeciesViolation(state, results, p)) return species;
  if (auto strength = StrengthViolation(state, results, p)) return strength;
  return SolidViolation(state, results, p);
}

std::optional<std::string> SeriesViolation(const ProjectState& state, const SeriesResults& results) {
  for (int p = 1; p <= results.npoints; ++p)
    if (auto violation = PointViolation(state, results, p)) return violation;
  return std::nullopt;
}

}  // namespace tarn::test

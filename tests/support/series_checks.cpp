#include "support/series_checks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

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
    if (!(free >= 0) || !std::isfinite(free)) return Describe("free concentration of reagent " + st.name(j), p, free, 0);
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

std::optional<std::string> SolidViolation(const ProjectState& st, const SeriesResults& r, int p) {
  for (int s = 1; s <= st.nsolids; ++s) {
    const double amount = r.speciesConc(st.nreag + st.nspecies + s, p);
    const std::string name = "solid " + std::to_string(s);
    if (!(amount >= 0) || !std::isfinite(amount)) return Describe("amount of " + name, p, amount, 0);
    if (!ReagentsPresent(st, r, s, p)) {
      if (amount > 0) return Describe(name + " without one of its reagents", p, amount, 0);
      continue;
    }
    const double logKsp = st.logksp(s);
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

std::optional<std::string> PointViolation(const ProjectState& state, const SeriesResults& results, int p) {
  if (auto balance = BalanceViolation(state, results, p)) return balance;
  return SolidViolation(state, results, p);
}

std::optional<std::string> SeriesViolation(const ProjectState& state, const SeriesResults& results) {
  for (int p = 1; p <= results.npoints; ++p)
    if (auto violation = PointViolation(state, results, p)) return violation;
  return std::nullopt;
}

}  // namespace tarn::test

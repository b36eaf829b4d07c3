#include "support/manufactured.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "support/model_builder.h"

namespace tarn::test {

std::uint64_t Random::Next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double Random::Uniform(double low, double high) {
  return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int Random::Integer(int low, int high) {
  return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
}

namespace {

// Coefficients of a random species or solid over 1..3 distinct reagents; the
// proton (reagent 1) may have a negative coefficient.
std::vector<int> RandomCoefficients(Random& random, int nreag, int firstReagent) {
  std::vector<int> coef(static_cast<std::size_t>(nreag), 0);
  const int terms = random.Integer(1, std::min(3, nreag - firstReagent + 1));
  for (int t = 0; t < terms; ++t) {
    const int j = random.Integer(firstReagent, nreag);
    int c = random.Integer(1, 3);
    if (j == 1 && random.Integer(0, 1) == 1) c = -c;
    coef[static_cast<std::size_t>(j - 1)] = c;
  }
  return coef;
}

double Log10Product(const std::vector<int>& coef, const std::vector<double>& logFree) {
  double sum = 0;
  for (std::size_t j = 0; j < coef.size(); ++j) sum += coef[j] * logFree[j + 1];
  return sum;
}

std::size_t Lead(const std::vector<double>& row) {
  std::size_t lead = 0;
  while (lead < row.size() && std::fabs(row[lead]) <= 1e-9) ++lead;
  return lead;
}

// True when v is independent of the rows, which are kept in echelon form
// (distinct leading positions, increasing) and extended by v when it is.
bool AddIndependent(std::vector<std::vector<double>>& rows, std::vector<double> v) {
  for (const std::vector<double>& row : rows) {
    const std::size_t lead = Lead(row);
    const double f = v[lead] / row[lead];
    for (std::size_t j = lead; j < v.size(); ++j) v[j] -= f * row[j];
  }
  if (Lead(v) == v.size()) return false;
  rows.push_back(v);
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return Lead(a) < Lead(b); });
  return true;
}

}  // namespace

ManufacturedSystem MakeManufactured(Random& random, const ManufacturedOptions& options, int npoints) {
  const int nreag = random.Integer(options.minReagents, options.maxReagents);
  const int nrandom = random.Integer(1, options.maxSpecies);
  const int nspecies = nrandom + (options.hydroxide ? 1 : 0);
  const int nsolids = options.maxSolids > 0 ? random.Integer(0, options.maxSolids) : 0;
  std::vector<std::string> names{"H"};
  for (int j = 2; j <= nreag; ++j) names.push_back("M" + std::string(1, static_cast<char>('a' + j)));
  std::vector<double> logFree(static_cast<std::size_t>(nreag) + 1, 0);
  const double lowestFree = options.wide ? -14 : -10, highest = options.wide ? 0 : -2;
  for (int j = 1; j <= nreag; ++j)
    logFree[static_cast<std::size_t>(j)] = random.Uniform(j == 1 && !options.wide ? -12 : lowestFree, highest);

  ModelBuilder builder(names);
  ManufacturedSystem m;
  m.species.assign(static_cast<std::size_t>(nspecies) + 1, 0);
  std::vector<std::vector<int>> speciesCoef;
  for (int i = 1; i <= nrandom; ++i) {
    std::vector<int> coef = RandomCoefficients(random, nreag, 1);
    const double logConc = random.Uniform(options.wide ? -14 : -12, highest);
    builder.Species(logConc - Log10Product(coef, logFree), coef);
    speciesCoef.push_back(coef);
  }
  if (options.hydroxide) {
    std::vector<int> coef(static_cast<std::size_t>(nreag), 0);
    coef[0] = -1;
    builder.Species(-13.78, coef);
    speciesCoef.push_back(coef);
  }
  const bool protonFixed = random.Integer(0, 2) == 0;
  m.amount.assign(static_cast<std::size_t>(nsolids) + 1, 0);
  // The precipitated solids' coefficients on the total-given reagents are
  // independent (otherwise their amounts would not be unique).
  std::vector<std::vector<double>> precipitatedRows;
  for (int s = 1; s <= nsolids; ++s) {
    std::vector<int> coef = RandomCoefficients(random, nreag, protonFixed ? 1 : 2);
    if (std::all_of(coef.begin() + 1, coef.end(), [](int c) { return c == 0; })) coef[1] = 1;
    std::vector<double> row(coef.begin() + (protonFixed ? 1 : 0), coef.end());
    const bool precipitated = random.Integer(0, 1) == 1 && AddIndependent(precipitatedRows, row);
    const double logIP = Log10Product(coef, logFree);
    builder.Solid(precipitated ? logIP : logIP + random.Uniform(0.3, 3), coef);
    if (precipitated)
      m.amount[static_cast<std::size_t>(s)] =
          std::pow(10.0, options.wide ? random.Uniform(-12, 0) : random.Uniform(-5, -2));
  }
  m.state = builder.Build();
  MakeDistribution(m.state, npoints);

  m.free.assign(static_cast<std::size_t>(nreag) + 1, 0);
  m.total.assign(static_cast<std::size_t>(nreag) + 1, 0);
  for (int j = 1; j <= nreag; ++j)
    m.free[static_cast<std::size_t>(j)] = std::pow(10.0, logFree[static_cast<std::size_t>(j)]);
  for (int i = 1; i <= nspecies; ++i)
    m.species[static_cast<std::size_t>(i)] =
        std::pow(10.0, m.state.logbeta(i) + Log10Product(speciesCoef[static_cast<std::size_t>(i - 1)], logFree));
  for (int j = 1; j <= nreag; ++j) {
    double total = m.free[static_cast<std::size_t>(j)];
    for (int i = 1; i <= nspecies; ++i) total += m.state.a(j, i) * m.species[static_cast<std::size_t>(i)];
    for (int s = 1; s <= nsolids; ++s) total += m.state.sa(j, s) * m.amount[static_cast<std::size_t>(s)];
    m.total[static_cast<std::size_t>(j)] = total;
    if (j == 1 && protonFixed)
      SetPX(m.state, 1, -logFree[1], -logFree[1]);
    else
      SetTotal(m.state, j, total, total);
  }
  return m;
}

void MakeRealSolution(ManufacturedSystem& m, Random& random, ActivityCorrection correction, bool fixed) {
  ProjectState& st = m.state;
  ActivitySettings& a = st.activity;
  ResetActivity(a, st.nreag);
  a.correction = correction;
  for (int j = 1; j <= st.nreag; ++j) {
    a.charge(j) = j == 1 ? 1 : random.Integer(-1, 1);
    a.ionSize(j) = random.Integer(0, 1) == 1 ? random.Uniform(3, 9) : 0;
  }
  a.background = random.Uniform(0, 0.2);
  a.cationCharge = random.Integer(1, 2);
  a.anionCharge = -random.Integer(1, 2);
  a.referenceStrength = random.Integer(0, 2) == 0 ? 0 : random.Uniform(0, 0.5);
  a.calculated = !fixed;
  a.fixedStrength = random.Uniform(0, 0.5);
  // The chosen solution's own ionic strength.
  double strength = a.fixedStrength;
  if (!fixed) {
    double sum = 0;
    for (int j = 1; j <= st.nreag; ++j) sum += std::pow(ReagentCharge(st, j), 2) * m.free[static_cast<std::size_t>(j)];
    for (int i = 1; i <= st.nspecies; ++i)
      sum += std::pow(SpeciesCharge(st, i), 2) * m.species[static_cast<std::size_t>(i)];
    strength = BackgroundStrength(a.background, a.cationCharge, a.anionCharge) + sum / 2;
  }
  m.strength = strength;
  for (int i = 1; i <= st.nspecies; ++i)
    st.logbeta(i) = ConvertLogBeta(st, i, st.logbeta(i), strength, a.referenceStrength);
  for (int s = 1; s <= st.nsolids; ++s)
    st.logksp(s) = ConvertLogKsp(st, s, st.logksp(s), strength, a.referenceStrength);
}

double ManufacturedError(const ManufacturedSystem& m, const SeriesResults& results, int p) {
  const ProjectState& st = m.state;
  double worst = 0;
  auto relative = [](double calc, double chosen) { return std::fabs(calc - chosen) / std::fabs(chosen); };
  for (int j = 1; j <= st.nreag; ++j)
    worst = std::max(worst, relative(results.speciesConc(j, p), m.free[static_cast<std::size_t>(j)]));
  for (int i = 1; i <= st.nspecies; ++i)
    worst = std::max(worst, relative(results.speciesConc(st.nreag + i, p), m.species[static_cast<std::size_t>(i)]));
  double largestTotal = 0;
  for (int j = 1; j <= st.nreag; ++j) largestTotal = std::max(largestTotal, std::fabs(st.initial(j, 1)));
  for (int s = 1; s <= st.nsolids; ++s) {
    const double calc = results.speciesConc(st.nreag + st.nspecies + s, p);
    worst = std::max(worst, std::fabs(calc - m.amount[static_cast<std::size_t>(s)]) / largestTotal);
  }
  return std::isnan(worst) ? HUGE_VAL : worst;
}

}  // namespace tarn::test

namespace tarn::test {

namespace {

// The rounding of a total's terms relative to the reagent's free
// concentration: where the free concentration is a tiny share of its balance,
// the totals fix it only through their difference from the rest (a metal
// beside an excess of a ligand that binds it, a reagent held in a solid), and
// the rounding of the rest is that much larger in relative terms. A few
// roundings' worth, since a balance has several terms.
double RoundingAllowance(const ManufacturedSystem& m, int j) {
  constexpr double kRoundings = 10;
  const ProjectState& st = m.state;
  const double free = m.free[static_cast<std::size_t>(j)];
  double magnitude = free + std::fabs(m.total[static_cast<std::size_t>(j)]);
  for (int i = 1; i <= st.nspecies; ++i) magnitude += std::fabs(st.a(j, i)) * m.species[static_cast<std::size_t>(i)];
  for (int s = 1; s <= st.nsolids; ++s) magnitude += std::fabs(st.sa(j, s)) * m.amount[static_cast<std::size_t>(s)];
  return kRoundings * DBL_EPSILON * magnitude / free;
}

}  // namespace

double ManufacturedMisfit(const ManufacturedSystem& m, const SeriesResults& results, int p, double tolerance) {
  const ProjectState& st = m.state;
  std::vector<double> allowance(static_cast<std::size_t>(st.nreag) + 1, 0);
  double worst = 0;
  auto misfit = [&worst](double calc, double chosen, double allowed) {
    worst = std::max(worst, std::fabs(calc - chosen) / (std::fabs(chosen) * allowed));
  };
  std::vector<double> own(allowance);
  for (int j = 1; j <= st.nreag; ++j) {
    const bool fixed = !st.flag(j, 1) && st.type == kDistribution;
    own[static_cast<std::size_t>(j)] = fixed ? 0 : RoundingAllowance(m, j);
  }
  // A reagent that shares a species with a loosely fixed one is as loose.
  for (int j = 1; j <= st.nreag; ++j) {
    double& a = allowance[static_cast<std::size_t>(j)];
    a = own[static_cast<std::size_t>(j)];
    for (int i = 1; i <= st.nspecies; ++i)
      for (int k = 1; k <= st.nreag && st.a(j, i) != 0; ++k)
        if (st.a(k, i) != 0) a = std::max(a, own[static_cast<std::size_t>(k)]);
    misfit(results.speciesConc(j, p), m.free[static_cast<std::size_t>(j)], tolerance + a);
  }
  for (int i = 1; i <= st.nspecies; ++i) {
    double allowed = tolerance;
    for (int j = 1; j <= st.nreag; ++j) allowed += std::abs(st.a(j, i)) * allowance[static_cast<std::size_t>(j)];
    misfit(results.speciesConc(st.nreag + i, p), m.species[static_cast<std::size_t>(i)], allowed);
  }
  double largestTotal = 0;
  for (int j = 1; j <= st.nreag; ++j)
    largestTotal = std::max(largestTotal, std::fabs(m.total[static_cast<std::size_t>(j)]));
  for (int s = 1; s <= st.nsolids; ++s) {
    const double calc = results.speciesConc(st.nreag + st.nspecies + s, p);
    worst = std::max(worst, std::fabs(calc - m.amount[static_cast<std::size_t>(s)]) / (largestTotal * tolerance));
  }
  return std::isnan(worst) ? HUGE_VAL : worst;
}

}  // namespace tarn::test

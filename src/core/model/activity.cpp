#include "core/model/activity.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <numeric>

#include "core/model/number_text.h"
#include "core/model/project_state.h"

namespace tarn {

namespace {

// CODATA 2018 (exact in the SI since 2019, except the permittivity of vacuum).
constexpr double kElementaryCharge = 1.602176634e-19;     // C
constexpr double kAvogadro = 6.02214076e23;               // 1/mol
constexpr double kBoltzmann = 1.380649e-23;               // J/K
constexpr double kVacuumPermittivity = 8.8541878128e-12;  // F/m
constexpr double kZeroCelsius = 273.15;                   // K
constexpr double kLitresPerCubicMetre = 1000;
constexpr double kMetresPerAngstrom = 1e-10;

// The relative permittivity of water from 0 to 100 degrees Celsius (78.54 at
// 25 degrees).
double WaterPermittivity(double celsius) {
  const double d = celsius - 25;
  return 78.54 * (1 - 4.579e-3 * d + 1.19e-5 * d * d - 2.8e-8 * d * d * d);
}

bool NonNegative(double x) {
  return std::isfinite(x) && x >= 0;
}

}  // namespace

void ResetActivity(ActivitySettings& settings, int nreag) {
  settings = ActivitySettings{};
  settings.charge.Resize(nreag);
  settings.ionSize.Resize(nreag);
}

bool ActivityIsDefault(const ActivitySettings& s) {
  const ActivitySettings d;
  if (s.correction != d.correction || s.calculated != d.calculated || s.fixedStrength != d.fixedStrength ||
      s.referenceStrength != d.referenceStrength || s.celsius != d.celsius || s.background != d.background ||
      s.cationCharge != d.cationCharge || s.anionCharge != d.anionCharge)
    return false;
  for (int j = 1; j <= s.charge.Upper(); ++j)
    if (s.charge(j) != 0) return false;
  for (int j = 1; j <= s.ionSize.Upper(); ++j)
    if (s.ionSize(j) != 0) return false;
  return true;
}

bool ActivityOn(const ActivitySettings& settings) {
  return settings.correction != ActivityCorrection::kNone;
}

std::string CorrectionText(ActivityCorrection correction) {
  switch (correction) {
    case ActivityCorrection::kDavies:
      return "Davies";
    case ActivityCorrection::kDebyeHuckel:
      return "Debye-Huckel";
    case ActivityCorrection::kNone:
      break;
  }
  return "none";
}

ActivityCorrection CorrectionFromText(std::string_view text) {
  const std::string word = Upper(Trim(text));
  if (word == "DAVIES") return ActivityCorrection::kDavies;
  if (word == "DEBYE-HUCKEL") return ActivityCorrection::kDebyeHuckel;
  return ActivityCorrection::kNone;
}

std::string ActivityProblem(const ActivitySettings& s) {
  if (!NonNegative(s.fixedStrength)) return "The ionic strength must be a number not below 0";
  if (!NonNegative(s.referenceStrength)) return "The ionic strength of the constants must be a number not below 0";
  if (!NonNegative(s.background)) return "The background electrolyte concentration must be a number not below 0";
  if (!(s.celsius >= kLowestCelsius && s.celsius <= kHighestCelsius))
    return "The temperature must be from 0 to 100 degrees Celsius";
  for (int j = 1; j <= s.ionSize.Upper(); ++j)
    if (!NonNegative(s.ionSize(j))) return "An ion size must be a number not below 0";
  const auto outside = [](int z) { return z < -kMaxCharge || z > kMaxCharge; };
  bool chargeOutside = outside(s.cationCharge) || outside(s.anionCharge);
  for (int j = 1; j <= s.charge.Upper(); ++j) chargeOutside = chargeOutside || outside(s.charge(j));
  if (chargeOutside)
    return "A charge must lie from -" + std::to_string(kMaxCharge) + " to " + std::to_string(kMaxCharge);
  return {};
}

DebyeHuckelConstants WaterConstants(double celsius) {
  const double energy = kVacuumPermittivity * WaterPermittivity(celsius) * kBoltzmann * (celsius + kZeroCelsius);
  const double e2 = kElementaryCharge * kElementaryCharge;
  // kappa = b sqrt(I): the inverse Debye length per square root of mol/L.
  const double b = std::sqrt(2 * kLitresPerCubicMetre * kAvogadro * e2 / energy);
  // The limiting law: ln gamma = -z^2 e^2 kappa / (8 pi eps0 eps k T).
  const double a = e2 * b / (8 * std::numbers::pi * energy) / kLn10;
  return {a, b * kMetresPerAngstrom};
}

double LogGamma(ActivityCorrection correction, const DebyeHuckelConstants& c, double z, double strength,
                double sizeAngstrom) {
  if (z == 0 || correction == ActivityCorrection::kNone) return 0;
  const double root = std::sqrt(strength);
  const double z2 = z * z;
  if (correction == ActivityCorrection::kDavies) return -c.a * z2 * (root / (1 + root) - kDaviesSlope * strength);
  return -c.a * z2 * root / (1 + c.b * sizeAngstrom * root);
}

double BackgroundStrength(double concentration, int cationCharge, int anionCharge) {
  const double zc = std::abs(cationCharge), za = std::abs(anionCharge);
  if (zc == 0 || za == 0) return concentration * (zc * zc + za * za) / 2;
  // The neutral formula holds za/g cations and zc/g anions, g = gcd(zc, za).
  const double g = std::gcd(std::abs(cationCharge), std::abs(anionCharge));
  return concentration * (za / g * zc * zc + zc / g * za * za) / 2;
}

int ReagentCharge(const ProjectState& state, int j) {
  const Array1<int>& charge = state.activity.charge;
  return j >= 1 && j <= charge.Upper() ? charge(j) : 0;
}

double SpeciesCharge(const ProjectState& state, int i) {
  double z = 0;
  for (int j = 1; j <= state.nreag; ++j) z += static_cast<double>(state.a(j, i)) * ReagentCharge(state, j);
  return z;
}

int LimitedCharge(long long z) {
  return static_cast<int>(std::clamp<long long>(z, -kMaxCharge, kMaxCharge));
}

double ReagentIonSize(const ProjectState& state, int j) {
  const Array1<double>& size = state.activity.ionSize;
  const double given = j >= 1 && j <= size.Upper() ? size(j) : 0;
  return given > 0 ? given : kDefaultIonSize;
}

double ReagentLogGamma(const ProjectState& state, int j, double strength) {
  const ActivitySettings& s = state.activity;
  return LogGamma(s.correction, WaterConstants(s.celsius), ReagentCharge(state, j), strength, ReagentIonSize(state, j));
}

double SpeciesLogGamma(const ProjectState& state, int i, double strength) {
  const ActivitySettings& s = state.activity;
  return LogGamma(s.correction, WaterConstants(s.celsius), SpeciesCharge(state, i), strength);
}

namespace {

// D(I) of species i: sum of a(j, i) log gamma(j) minus log gamma(i).
double SpeciesShift(const ProjectState& state, int i, double strength) {
  double d = -SpeciesLogGamma(state, i, strength);
  for (int j = 1; j <= state.nreag; ++j)
    if (state.a(j, i) != 0) d += state.a(j, i) * ReagentLogGamma(state, j, strength);
  return d;
}

// The same for solid s: minus the sum of sa(j, s) log gamma(j).
double SolidShift(const ProjectState& state, int s, double strength) {
  double d = 0;
  for (int j = 1; j <= state.nreag; ++j)
    if (state.sa(j, s) != 0) d -= state.sa(j, s) * ReagentLogGamma(state, j, strength);
  return d;
}

}  // namespace

double ConvertLogBeta(const ProjectState& state, int i, double logBeta, double from, double to) {
  return logBeta + SpeciesShift(state, i, to) - SpeciesShift(state, i, from);
}

double ConvertLogKsp(const ProjectState& state, int s, double logKsp, double from, double to) {
  return logKsp + SolidShift(state, s, to) - SolidShift(state, s, from);
}

}  // namespace tarn

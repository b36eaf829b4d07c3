#pragma once
// Real solutions: the charges of the reagents, the background electrolyte,
// the ionic strength and the activity coefficients that convert the model's
// concentration constants from the ionic strength at which they were
// determined to the ionic strength of a point.
//
// A project that never asks for a correction (the default settings) is
// calculated with its constants as they are and is written without any of
// these settings.
//
// Species charges follow from the coefficients: z(species i) = sum over j of
// a(j, i) * z(j). A constant determined at the reference ionic strength Iref
// becomes at ionic strength I
//   log beta(I) = log beta(Iref) + D(I) - D(Iref),
//   D = sum over j of a(j, i) log gamma(j) - log gamma(species i),
// since the activity product beta0 = gamma(species) [species] /
// prod (gamma(j) [j])^a(j, i) does not depend on I. A solid's solubility
// product, an ion product of free reagents, becomes
//   log Ksp(I) = log Ksp(Iref) - sum over j of sa(j, s) (log gamma(j)(I) -
//   log gamma(j)(Iref)).

#include <string>
#include <string_view>

#include "core/model/index_array.h"

namespace tarn {

struct ProjectState;

enum class ActivityCorrection {
  kNone,         // the constants are used as they are
  kDavies,       // log gamma = -A z^2 (sqrt(I) / (1 + sqrt(I)) - 0.3 I)
  kDebyeHuckel,  // extended Debye-Hueckel: log gamma = -A z^2 sqrt(I) / (1 + B a sqrt(I))
};

// The ion-size parameter of an ion whose size is not given, in Angstrom.
inline constexpr double kDefaultIonSize = 4.0;
// The Davies equation's linear term.
inline constexpr double kDaviesSlope = 0.3;
// The largest magnitude of a charge (of a reagent or an ion of the background
// electrolyte) that the settings hold; a file's larger charges are limited to it.
inline constexpr int kMaxCharge = 100;
// The temperature of the Debye-Hueckel constants when none is given.
inline constexpr double kStandardCelsius = 25;
// The temperatures at which the constants of water are computed.
inline constexpr double kLowestCelsius = 0;
inline constexpr double kHighestCelsius = 100;

struct ActivitySettings {
  ActivityCorrection correction = ActivityCorrection::kNone;
  // True: the ionic strength of every point is calculated from its charged
  // species and the background electrolyte; false: fixedStrength throughout.
  bool calculated = true;
  double fixedStrength = 0.1;      // mol/L
  double referenceStrength = 0.1;  // mol/L, at which logbeta and logksp hold
  double celsius = kStandardCelsius;
  // The background electrolyte: a salt of this concentration (mol/L) made of
  // cations and anions of these charges (electrically neutral, so 0.1 M of a
  // 2:-1 salt holds 0.1 M of cations and 0.2 M of anions).
  double background = 0.1;
  int cationCharge = 1;
  int anionCharge = -1;
  // Per reagent j = 1..nreag: its charge, and its ion size in Angstrom (0:
  // kDefaultIonSize). Sized by AllocateModel and the reagent edits.
  Array1<int> charge;
  Array1<double> ionSize;
};

// Sizes the per-reagent arrays for nreag reagents and resets every setting.
void ResetActivity(ActivitySettings& settings, int nreag);
// True when every setting is as ResetActivity leaves it: such a project
// writes no activity section.
bool ActivityIsDefault(const ActivitySettings& settings);
// The correction is on: the engine converts the constants.
bool ActivityOn(const ActivitySettings& settings);

// The file texts of the corrections: "none", "Davies", "Debye-Huckel"; a text
// that is none of them reads as none.
std::string CorrectionText(ActivityCorrection correction);
ActivityCorrection CorrectionFromText(std::string_view text);

// What is wrong with the settings, in the program's words; empty when they
// can be calculated with. Ionic strengths, the background concentration and
// the ion sizes must be finite and not negative, the temperature from 0 to
// 100 degrees Celsius, every charge within kMaxCharge.
std::string ActivityProblem(const ActivitySettings& settings);

// The Debye-Hueckel constants of water on the molar scale: A in
// L^1/2 mol^-1/2 (log10), B in L^1/2 mol^-1/2 per Angstrom, from the
// relative permittivity of water at the temperature (0 to 100 degrees
// Celsius; 0.509 and 0.329 at 25).
struct DebyeHuckelConstants {
  double a = 0;
  double b = 0;
};
DebyeHuckelConstants WaterConstants(double celsius);

// log10 of the activity coefficient of an ion of charge z at ionic strength
// strength (mol/L); sizeAngstrom is read by the extended Debye-Hueckel
// equation only. 0 for kNone and for a neutral species.
double LogGamma(ActivityCorrection correction, const DebyeHuckelConstants& constants, double z, double strength,
                double sizeAngstrom = kDefaultIonSize);

// The ionic strength that a background electrolyte adds: 1/2 sum c z^2 over
// its ions, the salt's formula being the neutral one (a 1:-1 salt of 0.1 M
// adds 0.1, a 2:-1 salt 0.3, a 2:-2 salt 0.4). An electrolyte with a neutral
// ion counts its other ion at the salt's concentration.
double BackgroundStrength(double concentration, int cationCharge, int anionCharge);

// A charge limited to the range the settings hold.
int LimitedCharge(long long z);
// The charge of reagent j (0 beyond the settings' arrays).
int ReagentCharge(const ProjectState& state, int j);
// The charge of soluble species i: sum over j of a(j, i) * z(j).
double SpeciesCharge(const ProjectState& state, int i);
// The ion size of reagent j in Angstrom (kDefaultIonSize when not given).
double ReagentIonSize(const ProjectState& state, int j);

// log10 of the activity coefficients of the project's ions at ionic strength
// strength: of the free reagent j, of soluble species i (the default ion size).
double ReagentLogGamma(const ProjectState& state, int j, double strength);
double SpeciesLogGamma(const ProjectState& state, int i, double strength);

// A log beta of soluble species i, or a log Ksp of solid s, that holds at
// ionic strength `from`, converted to ionic strength `to` with the project's
// correction and charges.
double ConvertLogBeta(const ProjectState& state, int i, double logBeta, double from, double to);
double ConvertLogKsp(const ProjectState& state, int s, double logKsp, double from, double to);

}  // namespace tarn

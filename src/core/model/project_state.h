#pragma once
// The one record of the open project: the chemical model, the conditions of
// both calculation types, the single data points, the captions of all species,
// the sections carried for the fitting program, and the marks that tell the
// windows what is out of date.

#include <array>
#include <cstdint>
#include <string>

#include "core/model/activity.h"
#include "core/model/constants.h"
#include "core/model/index_array.h"

namespace tarn {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Calculation types; also the column index of every condition array.
inline constexpr int kTitration = 0;
inline constexpr int kDistribution = 1;

// The key of a formation constant that leaves its species out of every
// calculation (the editor's "Ignore").
inline constexpr int kRefineIgnore = -1;

inline constexpr int kPaletteSize = 17;

// Y-axis state of the speciation plot that the project's allocation resets.
struct PlotSettings {
  int yChoice = 0;                         // 0 percentage, 1 log concentration, 2 concentration
  std::array<float, 3> yLower{0, 0, 0};    // lower limit of each Y option
  std::array<float, 3> yUpper{100, 0, 0};  // upper limit of each Y option
};

struct ProjectState {
  // Model scalars (file section "model").
  std::string title;
  int maxit = 25;
  int mode = 0;
  double excessive = 0.33;
  std::string selector;

  // Counts. nsoluble = nreag + nspecies; ntotal() = nsoluble + nsolids.
  int nreag = 0;
  int nspecies = 0;
  int nsolids = 0;
  int nsingle = 0;
  int nsoluble = 0;
  int proton = 0;  // index of the proton reagent, 0 when there is none
  int ntotal() const { return nreag + nspecies + nsolids; }

  // Reagents 1..nreag.
  Array1<std::string> name;

  // Soluble species 1..nspecies: a(j, i) is the coefficient of reagent j in species i.
  Array1<double> logbeta;
  Array1<int> refine;
  Array2<int> a;

  // Solids 1..nsolids: sa(j, k) is the coefficient of reagent j in solid k.
  Array1<double> logksp;  // held at single precision
  Array2<int> sa;

  // Calculation type: kTitration or kDistribution; the column t of the conditions.
  int type = kTitration;

  // Volumes in mL: volume[0] titration initial volume, volume[1] distribution volume.
  std::array<double, 2> volume{0, 0};
  double vfinal = 0;
  double vadded = 0;

  // Conditions per reagent j and column t (0 titration, 1 distribution).
  Array2<double> total;    // titration: amount in the vessel (mmol)
  Array2<double> burette;  // titration: titrant concentration (mol/L)
  Array2<double> initial;  // total concentration at the first point
  Array2<double> final;    // total concentration at the last point
  Array2<double> pxi;      // distribution: pX at the first point
  Array2<double> pxf;      // distribution: pX at the last point
  Array2<bool> flag;       // true = total given, false = pX given

  // Single data points: [reagent j, point p] and sresult [species k, point p].
  Array2<double> stotal;
  Array2<double> sfree;  // a pX
  Array2<bool> sflag;
  Array2<double> sresult;

  // Species list k = 1..ntotal: free reagents, soluble species, solids.
  // speciesInfo(0, k), speciesInfo(1, k): label position as fractions of the plot.
  Array2<double> speciesInfo;
  Array1<std::string> caption;
  Array1<std::int16_t> plotMark;

  // Charges, background electrolyte, ionic strength and activity correction
  // (the defaults: constants used as they are).
  ActivitySettings activity;

  // Data sections of the fitting program, carried through unchanged.
  std::string potentiometricData;
  std::string absorbanceData;
  std::string combinedData;
  std::string resonance;
  std::string calorimetricData;

  // Application state kept beside the model.
  std::string currentFile;
  bool modified = false;
  bool recalc = false;
  int npoints = 101;
  std::array<Rgb, kPaletteSize + 1> curveColours{};  // 1..17
  float ln10 = static_cast<float>(kLn10);  // as the single-precision texts use it
  PlotSettings plot;
};

}  // namespace tarn

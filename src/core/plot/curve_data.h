#pragma once
// The curve data of the speciation plot: the X values of the points for the
// chosen X variable, the Y values of every plotted species for the chosen Y
// variable, the axis titles and ranges, the default species selection, and
// the rules that enable the window's X and Y choices and its lists.
//
//   PlotData data;                       // the window's state
//   GraphX(state, results, data);        // plotX, xTitle, xmin, xmax
//   GraphY(state, data);                 // yTitle, ymin, ymax
//   ComputePlotY(state, results, data);  // plotY of the marked species

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/index_array.h"
#include "core/model/project_state.h"

namespace tarn {

// The X options, by their index in the plot window (PlotData::xChoice; -1
// where none can be chosen).
enum XOption : int {
  kXVolume = 0,    // added volume (titration)
  kXPh = 1,        // pX of a reagent whose pX varies
  kXFreeP = 2,     // -log of a reagent's free concentration
  kXTotal = 3,     // a reagent's total concentration
  kXLogTotal = 4,  // log of a reagent's total concentration
};
// The Y options, by their index (PlotSettings::yChoice, as the project file
// holds it).
enum YOption : int {
  kYPercent = 0,        // % formation relative to a reagent
  kYLog = 1,            // log concentration
  kYConcentration = 2,  // concentration
};

// The plot window's state of the curves. yChoice and the Y limits live in
// the project's PlotSettings.
struct PlotData {
  Array1<double> plotX;   // [p]; 0 when unset
  Array1<bool> plotXSet;  // [p]: the point has an X value (a zero has no logarithm)
  Array2<double> plotY;   // [p, k]; 0 when unset
  Array2<bool> plotYSet;  // [p, k]
  int xChoice = kXVolume;
  int reltoReagent = 1;  // R of "% formation relative to"
  int xReagent = 1;      // the reagent of X options 2, 3 and 4
  double minLog = -12;   // values of the log-limit lists' selected entries
  double maxLog = -2;
  std::string xTitle;
  std::string yTitle;
  double xmin = 0;
  double xmax = 0;
  double ymin = 0;
  double ymax = 0;
};

// The X value of every point, the X title, and xmin/xmax from the first and
// the last point that has one. A value of 0 or less has no logarithm: with
// X log total or pX such a point has no X value (plotXSet false), so that
// its curves have a gap there and the axis does not stretch to it.
void GraphX(const ProjectState& state, const SeriesResults& results, PlotData& data);
// Point p of species k has an X and a Y value: it is drawn.
bool PointSet(const PlotData& data, int p, int k);
// ymin, ymax and the Y title of the selected Y option.
void GraphY(const ProjectState& state, PlotData& data);
// plotY of every species with plotMark 1, for the selected Y option
// (reallocated: the others stay unset). On the log scale a concentration of
// 0 (a solid not formed, an absent reagent) has no value and stays unset.
void ComputePlotY(const ProjectState& state, const SeriesResults& results, PlotData& data);

// The number of R units in species k (free reagents, soluble species, solids).
std::int16_t correction(const ProjectState& state, int reltoReagent, int k);

// The percentage of reagent r's total at point p that species k holds:
// 100 x correction(r, k) x speciesConc[k, p] / totalCalc[p, r]. None when r is
// no reagent or its total at p is 0.
std::optional<double> PercentRelativeTo(const ProjectState& state, const SeriesResults& results, int r, int k, int p);

// 1.01 times the largest concentration of a marked free reagent or soluble
// species over all points; solids never count.
double ConcMax(const ProjectState& state, const SeriesResults& results);

// The default plotMark for the selected Y option: the species that hold R
// (percentage), all species (log), all but "H" and "H-1" (concentration).
void SetPlotit(ProjectState& state, int reltoReagent);

// An entry of the window's reagent lists: the reagent's name and index.
struct ListEntry {
  std::string text;
  int reagent = 0;
  friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// Which X options are enabled, the lists of reagents whose total (txOpt) or
// pX (xvar) varies, and the option to select (-1: none is enabled). xReagent
// is the reagent the selected option takes (0: the option needs none).
struct XChoiceRules {
  std::array<bool, 5> enabled{};
  std::vector<ListEntry> txOpt;
  std::vector<ListEntry> xvar;
  int selected = -1;
  int xReagent = 0;
};
// present: the reagents that took part in the last point of the last series
// (an array too short for a reagent counts it as present).
XChoiceRules SetXchoice(const ProjectState& state, const SeriesResults& results, const Array1<bool>& present);

// The Y options' state: the Relto list (all reagents), the entry to select
// (-1: none) and its reagent, which options are enabled, and the option to
// select.
struct YChoiceRules {
  std::vector<ListEntry> relto;
  int reltoIndex = -1;
  int reltoReagent = 0;
  std::array<bool, 3> enabled{};
  int yChoice = kYPercent;
};
YChoiceRules SetYchoice(const ProjectState& state, int reltoReagent, int yChoice);

struct BoxRules {
  bool reltoEnabled = false;
  bool logListsEnabled = false;
};
BoxRules SetBoxes(int yChoice);

// "Show calculated pH" can be ticked: percentage selected, proton in the model.
bool PhChoiceEnabled(const ProjectState& state, int yChoice);

// The log-limit lists: lower 1, 0, ... -15, -20, -25, ... -50 (24 entries),
// upper 1, 0, ... -15, -20, -50, -100 (20 entries).
const std::vector<double>& LowerLogList();
const std::vector<double>& UpperLogList();
// The value at a list position; a position outside the list takes the
// nearest end.
double LogListValue(const std::vector<double>& list, int position);
// Whether a choice in one list is accepted against the other list's value:
// an upper limit must lie above the lower one, a lower limit below the upper.
bool LogLimitAccepted(bool upperList, double chosen, double otherListValue);

// The fraction (p - 1) / (n - 1) of the way from the first point to the
// last; 0 for a series of one point.
double PointFraction(int p, int n);

}  // namespace tarn

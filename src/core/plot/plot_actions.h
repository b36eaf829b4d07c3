#pragma once
// What the user does to the speciation plot, without a window: the read-out
// under the pointer, limits set by a click beside the plot and reset by the
// markers, the nearest curve to a click, and the scroll panel that nudges a
// formation constant or a condition value and recalculates.
//
//   if (BesidePlot(rect, x)) LimitClick(chart, rect, y, state.plot);
//   int p = NearestPoint(chart, data, state.npoints, x, boxWidth);
//   int k = p > 0 ? NearestCurve(chart, state, data, p, y, boxHeight) : 0;
//
//   ScrollTarget target;                       // constant 1, reagent 1, mode 1
//   if (ApplyScrollStep(state, target, kConstantBar, 1)) ... recalculate, redraw
//   ScrollPanel panel = ScrollPanelValues(state, target);   // the texts shown

#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"
#include "core/plot/chart.h"
#include "core/plot/curve_data.h"
#include "core/plot/plot_drawing.h"

namespace tarn {

// ---- Pointer and clicks over the plot box (coordinates of the last drawing).

// Over the plot's width the pointer is a cross; beside it (where a click
// sets a limit) an up-down arrow.
bool OverPlotWidth(const PlotRect& rect, int x);
bool BesidePlot(const PlotRect& rect, int x);
// The read-out shows only strictly inside the plot rectangle.
bool ReadoutShown(const PlotRect& rect, int x, int y);
// "cursor at " + the first 5 characters of the x value ("###0.0#####") + ", "
// + the y value ("##0.00").
std::string ReadoutText(const ChartState& chart, int x, int y);

// With an activity correction, what point p of the series adds to the
// read-out: "; I = " its ionic strength ("0.0000"), then "-log[H] " and
// "-log a(H) " ("#0.00") when the model has a proton. Empty without a
// correction or outside the series.
std::string ActivityReadout(const ProjectState& state, const SeriesResults& results, int p);

// A click beside the plot at height y sets a limit of the selected Y option
// to the value there: in the lower half the lower limit (only above the
// bottom edge), in the upper half the upper limit (also above the top edge).
// Returns whether a limit changed.
bool LimitClick(const ChartState& chart, int y, PlotSettings& plot);

// The limit markers put a limit back to its default: upper 100, maxLog or
// ConcMax; lower 0, minLog or 0.
void ResetUpperLimit(ProjectState& state, const SeriesResults& results, const PlotData& data);
void ResetLowerLimit(ProjectState& state, const PlotData& data);

// ---- The plot's view of the project: its Y option, limits and marks. These
// are how the plot shows the project, not edits of it: no undo step, and the
// project stays as saved.

// The caption of the second axis's curve: "pH", or "I" for the ionic strength.
void PreparePlotCaptions(ProjectState& state, bool strengthAxis = false);
// The Y option c (kYPercent, kYLog, kYConcentration).
void ChooseY(ProjectState& state, int c);
// The limits of the log option as its lists show them; the concentration's
// lower limit is 0.
void SetLogLimits(ProjectState& state, double lower, double upper);
// Ticks or unticks species k in the plot list; the concentration's upper
// limit follows the marked species.
void ToggleMark(ProjectState& state, const SeriesResults& results, int k);

// The point p = 2..npoints whose x lies nearest to x (ties: the first),
// nearer than the box width; 0 when there is none.
int NearestPoint(const ChartState& chart, const PlotData& data, int npoints, int x, int boxWidth);
// The plotted species whose curve at point p lies nearest to y (ties: the
// lower k), nearer than the box height; 0 when there is none.
int NearestCurve(const ChartState& chart, const ProjectState& state, const PlotData& data, int p, int y, int boxHeight);
// The scroll panel's constant for the label of species k: k - nreag for a
// soluble species or a solid (at most nspecies + nsolids); 0 for a free reagent.
int ConstantOfSpecies(const ProjectState& state, int k);

// ---- The scroll panel.

// What the two scroll bars act on. constant: soluble species 1..nspecies
// (log beta) or nspecies + s for solid s (log Ksp); mode: the condition of
// the reagent (see ConditionLabel).
struct ScrollTarget {
  int constant = 1;
  int reagent = 1;
  int mode = 1;
};

inline constexpr int kConstantBar = 0;
inline constexpr int kConditionBar = 1;
inline constexpr int kScrollRange = 100;  // the bars run -100..100; a step of v is v / 100

// The label of condition mode 1..4 for the calculation type: titration
// "Total millimoles", "Burette concentration", "Initial concentration",
// "Final concentration"; distribution "Initial concentration", "Final
// concentration", "Start pX", "Final pX". Empty outside 1..4.
std::string ConditionLabel(int type, int mode);
// The value the condition bar changes; 0 outside the model.
double ConditionValue(const ProjectState& state, int reagent, int mode);
// log beta of a soluble species or log Ksp of a solid; 0 outside the model.
double ConstantValue(const ProjectState& state, int constant);
// The species (1..ntotal) whose constant it is: nreag + constant.
int SpeciesOfConstant(const ProjectState& state, int constant);

// The texts of the panel: the constant ("##0.0###"), the condition's label
// and its value in the conditions' display format.
struct ScrollPanel {
  int species = 0;  // the species whose formula and colour the panel shows; 0: none
  std::string constantText;
  std::string conditionLabel;
  std::string conditionText;
};
ScrollPanel ScrollPanelValues(const ProjectState& state, const ScrollTarget& target);

// Applies one change of a bar to value v (d = v / 100): the constant grows by
// d (log Ksp kept at single precision); a concentration is multiplied by
// 1 + d and a pX grows by d; a titration's derived values follow (amount,
// titrant, initial and final concentrations). For a species distribution the
// reagent's total-or-pX flag follows the condition varied. Marks the project
// modified and out of date. Returns false, changing nothing, for v = 0, a
// target outside the model, or a titration's final concentration when the
// final volume equals the initial one (no titrant is added, so the final
// concentration cannot be changed through it).
bool ApplyScrollStep(ProjectState& state, const ScrollTarget& target, int bar, int v);

// ---- The pop-up lists of the scroll panel.

struct PopupList {
  std::vector<std::string> entries;
  int selected = -1;  // row of the entry to select; -1: none
};
// The captions of the soluble species; the current constant selected when it is one.
PopupList SpeciesPopup(const ProjectState& state, const ScrollTarget& target);
// Every reagent name; the current reagent selected.
PopupList ReagentPopup(const ProjectState& state, const ScrollTarget& target);
// The conditions the bar can change for the calculation type (a titration
// offers its amount and titrant); the current mode selected when listed.
PopupList ConditionPopup(const ProjectState& state, const ScrollTarget& target);

}  // namespace tarn

#pragma once
// The evaluation of an apparent constant at every point of the last point
// series (run first when the results are out of date), the x axis (the pX of
// a chosen reagent), the clipboard table and the ranges of the plot.
//
//   KappValues v = CalcKapp(state, work, results, def, sink);
//   if (!v.ok) return;                       // a message has been shown
//   KappAxis x = KappXAxis(state, results, j, sink);
//   if (x.ok) PutClipboardText(KappTableText(state, def, x, v));

#include <optional>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/kapp/kapp_definition.h"
#include "core/model/index_array.h"
#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

struct KappValues {
  bool ok = false;
  int npoints = 0;
  Array1<float> logKapp;  // [p], p = 1..npoints, held at single precision
};

// The value of term t of side s at point p of the series (mol/L):
// - A bound to X: sum of a[A,i] c(i) over the species i containing A and X;
// - A not bound to X: free A plus the sum over the species containing A but not X;
// - total concentration of X: the point's total, as set when X's total is
//   given, as recomputed from the results when its pX is given;
// - sum: the concentrations of the side's members; complex: the species';
//   free: the reagent's free concentration; 0 for a term without type.
double KappTermValue(const ProjectState& state, const SeriesResults& results, const KappDefinition& def, int t, int s,
                     int p);

// Whether the results belong to the project as it is (no recalculation due,
// a successful series whose arrays fit the model).
bool SeriesIsCurrent(const ProjectState& state, const SeriesResults& results);

// log10 Kapp at every point. Checks the definition first (KappDefinitionProblem),
// runs the validation and the point series when the results are not current
// (clearing recalc when it succeeds), and refuses a term whose value is zero,
// negative or not a number at some point with a message naming the term and
// the point. Every refusal shows its message and gives ok false.
KappValues CalcKapp(ProjectState& state, SolverWork& work, SeriesResults& results, const KappDefinition& def,
                    MessageSink& sink);

// The x axis: the pX of reagent j at every point, as given (linear from the
// first point's to the last's) or as calculated from its free concentration.
struct KappAxis {
  bool ok = false;
  int reagent = 0;
  bool byPX = false;  // the pX is given (else calculated)
  double xstart = 0;  // the first point's pX
  double xend = 0;    // the last point's pX
  int npoints = 0;
  std::vector<double> calculated{};  // [p], p = 1..npoints: the calculated pX (element 0 unused)
};
// Refuses (ok false, with a message) a reagent whose free concentration is
// not positive at some point.
KappAxis KappXAxis(const ProjectState& state, const SeriesResults& results, int j, MessageSink& sink);
// x of point p: the calculated pX, or for a given pX linear in the point
// number from xstart to xend (xstart for a series of one point).
double KappX(const KappAxis& axis, int p);

// The reagent the x axis starts with: the one named exactly "H", else the first.
int DefaultXReagent(const ProjectState& state);

// The clipboard table: "Kapp= " + the expression, the header "p" + name TAB
// "Kapp", then x ("##0.000") TAB log Kapp per point; CR line ends.
std::string KappTableText(const ProjectState& state, const KappDefinition& def, const KappAxis& axis,
                          const KappValues& values);

// The plot's ranges and titles.
struct KappPlotSetup {
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  std::string xTitle, yTitle, title;
};
// Nothing (after the message "Concentration on x axis is constant" with the
// first value) when the x axis has no extent. A flat curve shows "log Kapp on
// y-axis is constant at " with its value and gets a range of a tenth of its
// magnitude on each side (lower limit below upper limit whatever the sign),
// or 0 to 1 when it is 0.
std::optional<KappPlotSetup> PrepareKappPlot(const ProjectState& state, const KappDefinition& def, const KappAxis& axis,
                                             const KappValues& values, MessageSink& sink);

}  // namespace tarn

#pragma once
// Single data points: independent sets of conditions (each reagent given by
// its total or by its pX) kept in the project, calculated one by one with the
// solver, and shown, copied and printed as a conditions table and a results
// table with one column per point.
//
//   AddSinglePoint(state);                          // point at pH 7, totals 0.01
//   SinglePointSinks sinks{zeroSink, failSink, solidsSink};
//   auto run = CalculateSinglePoints(state, work, sinks);
//   for (int p = 1; p <= state.nsingle; ++p)
//     if (run.points[p].status != SinglePointStatus::kNotReached)
//       cells[p] = SinglePointResultCells(state, run.points[p]);

#include <limits>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/index_array.h"
#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

// Defaults of a new point: every total 0.01 M, every pX 7; the proton is
// given by its pX (pH 7), every other reagent by its total.
inline constexpr double kDefaultSingleTotal = 0.01;
inline constexpr double kDefaultSinglePX = 7;

// The titles of the calculation's messages.
inline constexpr const char* kZeroTotalTitle = "Single data point calculation";
inline constexpr const char* kSingleFailedTitle = "Calculating concentrations";

// The heading texts of the two tables.
inline constexpr const char* kConditionsHeading = "conditions";
inline constexpr const char* kResultsHeading = "results";
inline constexpr const char* kResultsUnits = "concn./M";
inline constexpr const char* kSetPX = "(set pX)";
inline constexpr const char* kSetTotal = "(set total)";
inline constexpr const char* kNotPrecipitated = "zero";

// --- The points in the project.

// Appends a point with the defaults; the arrays grow keeping their contents.
// Sets modified.
void AddSinglePoint(ProjectState& state);
// Removes point p (1..nsingle): the later points move one place left and the
// arrays shrink. Sets modified. False, changing nothing, when p is no point.
bool RemoveSinglePoint(ProjectState& state, int p);
// Switches reagent j of point p between total given and pX given. Sets modified.
void ToggleSinglePointFlag(ProjectState& state, int j, int p);

// --- The conditions table: rows 0..2 nreag, column 0 the labels, column p point p.

// What a row of the conditions table holds.
enum class ConditionsRow { kHeading, kTotal, kPX };
ConditionsRow ConditionsRowKind(const ProjectState& state, int row);
// The reagent of a total or pX row.
int ConditionsRowReagent(const ProjectState& state, int row);
// Row labels: "conditions", "total " + name, "p(" + name + ")".
std::string ConditionsLabel(const ProjectState& state, int row);
// Cell (row, p): "point " + p, the total as concentration text or "(set pX)",
// the pX ("#0.0##") or "(set total)".
std::string ConditionsCell(const ProjectState& state, int row, int p);
// A total as the conditions table shows it: 0.0, 1.235E-05 below 0.001, else
// one to six decimals; a non-negative value below 1e-40 shows as 0.0.
std::string SingleTotalText(double x);
// A pX as the cell shows it after it was typed ("#0.0###").
std::string SinglePXText(double x);

// --- The results table: rows 0..ntotal, column 0 the labels, column p point p.

// Row labels: "results", "free " + name, the species formula (or "OH" for
// H-1), the solid's name.
std::string ResultsLabel(const ProjectState& state, int row);

// The results of a point, k = 1..ntotal in the species list's order.
enum class SinglePointStatus {
  kNotReached,  // the calculation stopped before this point: its column is left as it was
  kFailed,      // the point could not be calculated: its column is blank
  kCalculated,
};

struct SinglePointResult {
  SinglePointStatus status = SinglePointStatus::kNotReached;
  Array1<double> freeConc;     // [j] free concentration of a total-given reagent
  Array1<bool> totalGiven;     // [j]
  Array1<double> conc;         // [i] soluble species
  Array1<double> solidAmount;  // [s] mol per litre while precipitated
  Array1<bool> precipitated;   // [s]
  // With an activity correction: the point's ionic strength (mol/L) and -log10
  // of the proton's activity (with a proton reagent); NaN otherwise.
  double ionicStrength = std::numeric_limits<double>::quiet_NaN();
  double pHActivity = std::numeric_limits<double>::quiet_NaN();
};

// The cells of a result column, rows 1..ntotal (element 0 unused): numbers as
// "0.00000E+00", "zero" for a solid that did not precipitate; empty for a
// pX-given reagent, an ignored species and a point that is not calculated.
std::vector<std::string> SinglePointResultCells(const ProjectState& state, const SinglePointResult& result);

// --- The calculation.

// Where the calculation's messages go: a zero total (titled kZeroTotalTitle),
// a failure of the soluble iteration (kSingleFailedTitle), a failure with
// solids (the application's title). One sink may serve all three.
struct SinglePointSinks {
  MessageSink& zeroTotal;
  MessageSink& failed;
  MessageSink& solids;
};

struct SinglePointRun {
  std::vector<SinglePointResult> points;  // 1..nsingle, element 0 unused
  bool stopped = false;                   // a message stopped the whole calculation
};

// Calculates every point from its own starting values. A total-given reagent
// with a total of 0 stops the calculation with its message, so does a failure
// of the soluble iteration (after a search for better starting values); a
// failure with solids blanks the point and goes on. Solids precipitate at the
// same point. With an activity correction every point is solved at the fixed
// ionic strength or at its own (a point whose ionic strength does not settle
// is blanked, its message going to the solids' sink); settings that cannot be
// calculated with stop the calculation with their message. work is
// reallocated; the series results are not touched.
SinglePointRun CalculateSinglePoints(const ProjectState& state, SolverWork& work, SinglePointSinks sinks);

// --- Clipboard and printer. resultCells[p][k] are the texts of the results
// table, p = 1..nsingle and k = 1..ntotal (element 0 unused; missing cells
// count as empty).
using SinglePointCells = std::vector<std::vector<std::string>>;

// The clipboard text: CR line ends, a TAB after every cell of a table row.
std::string SinglePointClipboardText(const ProjectState& state, const SinglePointCells& resultCells,
                                     const std::string& createdAt);

// The printed page's lines (without line ends), for a fixed-pitch font:
// right-aligned labels of the label width, 12-character number fields.
std::vector<std::string> SinglePointPrintLines(const ProjectState& state, const SinglePointCells& resultCells,
                                               const std::string& printedAt);
// The label width: the largest of 10, every reagent name's length plus 6 and
// every species formula's length.
int SinglePointLabelWidth(const ProjectState& state);
// text trimmed, padded with blanks on the left to width and cut to its
// rightmost width characters.
std::string RightField(const std::string& text, int width);

}  // namespace tarn

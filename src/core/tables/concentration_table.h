#pragma once
// The concentration table of the last point series: headings and cells in
// normal or high precision, the caption lines, the clipboard text, and the
// same columns at full precision as csv for the batch tool.
//
// One rule places the pH: the free column of the proton reagent (the one
// `proton` names), when its total is given, holds the pH and is headed
// "pH(calc)", in a titration and in a distribution alike. Any other reagent
// with a given total shows its free concentration under "free " + name (also a
// reagent named "H" that is not the proton), and a reagent with a given pX
// shows its pX under "p(" + name + ")".
//
// A series calculated with an activity correction says which pH it shows:
// the proton's column is headed "-log[" + name + "]" (its pH or pX as
// without the correction), and beside it "-log a(" + name + ")" holds -log10
// of the proton's activity; after the free columns, "ionic strength" holds
// each point's. Without a correction the table is as it always was.

#include <array>
#include <ctime>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn {

enum class TablePrecision { kNormal, kHigh };

// What a column shows at each point.
enum class ColumnKind {
  kPoint,       // the point number
  kTitre,       // titration: the added titrant volume (mL)
  kTotal,       // the total of reagent `index` as generated from the conditions
  kTotalCalc,   // distribution, pX given: the total of reagent `index` recomputed from the results
  kFree,        // the free concentration of reagent `index`
  kPH,          // -log10 of the proton's free concentration
  kPX,          // -log10 of the free concentration of a pX-given reagent
  kSpecies,     // the concentration of soluble species `index`
  kSolid,       // the amount per litre of solid `index`
  kPHActivity,  // with an activity correction: -log10 of the proton's activity
  kStrength,    // with an activity correction: the ionic strength (mol/L)
};

struct TableColumn {
  ColumnKind kind = ColumnKind::kPoint;
  int index = 0;        // reagent j, species i or solid s; 0 for the point and the titre
  std::string heading;  // the text of row 0 (empty over the point column)
};

// The heading of soluble species i: its formula, "OH" for H-1.
std::string SpeciesHeading(const ProjectState& state, int i);

// The columns for the project's calculation type: the point, the titre
// (titration only), the totals, the free columns (and with an activity
// correction the proton's activity pH and the ionic strength), the species,
// the solids.
std::vector<TableColumn> ConcentrationTableColumns(const ProjectState& state, const SeriesResults& results);

// The number of points the table shows: results.npoints when the series
// succeeded and its arrays cover the model, else 0 (a failed or stale series
// shows the heading row only).
int TablePoints(const ProjectState& state, const SeriesResults& results);

// The value of a column at point p (1..TablePoints). NaN where there is none:
// the pH or pX of a reagent whose free concentration is not positive.
double ColumnValue(const ProjectState& state, const SeriesResults& results, const TableColumn& column, int p);

struct ConcentrationTable {
  // cells[row][column]; row 0 holds the headings, rows 1..npoints the points.
  std::vector<std::vector<std::string>> cells;
  std::vector<int> columnWidthsTwips;
  // The caption lines: creation line, title, volume line (empty for a
  // distribution), "concentrations /mol dm-3:".
  std::array<std::string, 4> captions;
  // With an activity correction, the line that names it and the ionic
  // strengths (ActivityLine); empty otherwise.
  std::string activityLine;
};

// createdAt is the date and time text of the creation line.
ConcentrationTable MakeConcentrationTable(const ProjectState& state, const SeriesResults& results,
                                          TablePrecision precision, const std::string& createdAt);

// The line of a series calculated with an activity correction, such as
// "Davies activity correction; constants at I = 0.1 mol dm-3; ionic strength
// calculated at every point"; empty without a correction.
std::string ActivityLine(const ProjectState& state, const SeriesResults& results);

// The clipboard text: caption lines, the constants (and the activity line
// after them when there is one), the whole grid; CR line ends, TAB between
// fields, no CR after the last row.
std::string ConcentrationTableText(const ProjectState& state, const ConcentrationTable& table);

// The table's columns as csv (RFC 4180): a header row with the same headings
// ("point" over the point column; a heading holding a comma, a quote or a line
// break is quoted, its quotes doubled), then one row per point with every
// value at full precision (17 significant digits, "." as the decimal point);
// an empty field where a column has no value. Lines end in CR LF.
std::string ConcentrationTableCsv(const ProjectState& state, const SeriesResults& results);

// The local date and time as "YYYY-MM-DD hh:mm:ss", for the creation line.
std::string CreationTimeText(std::time_t when);

}  // namespace tarn

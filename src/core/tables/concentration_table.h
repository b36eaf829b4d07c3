#pragma once
// The concentration table of the last point series: headings and cells in
// normal or high precision, the caption lines and the clipboard text.

#include <array>
#include <string>
#include <vector>

#include "engine/solver_work.h"
#include "model/project_state.h"

namespace tarn {

enum class TablePrecision { kNormal, kHigh };

struct ConcentrationTable {
  // cells[row][column]; row 0 holds the headings, rows 1..npoints the points.
  std::vector<std::vector<std::string>> cells;
  std::vector<int> columnWidthsTwips;
  // The caption lines: creation line, title, volume line (empty for a
  // distribution), "concentrations /mol dm-3:".
  std::array<std::string, 4> captions;
};

// createdAt is the date and time text of the creation line.
ConcentrationTable MakeConcentrationTable(const ProjectState& state, const SeriesResults& results,
                                          TablePrecision precision, const std::string& createdAt);

// The clipboard text: caption lines, the constants, the whole grid; CR line
// ends, TAB between fields, no CR after the last row.
std::string ConcentrationTableText(const ProjectState& state, const ConcentrationTable& table);

}  // namespace tarn

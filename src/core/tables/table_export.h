#pragma once
// The concentration table of the last point series saved as a file, for a
// spreadsheet or a script:
//
// - csv (RFC 4180): the table's columns at full precision, see
//   ConcentrationTableCsv;
// - an Excel workbook (.xlsx, written with libxlsxwriter) whose numbers are
//   numbers, on three sheets: "Concentrations" (the csv's columns),
//   "Percentages" (for every reagent, the share of its total that each species
//   holds, as the plot's "% formation relative to" shows it, beside the
//   point, the titre and the pH or pX columns) and "Model" (the program and
//   its version, the date, the project, its conditions, its species and
//   solids with their constants).
//
// The csv and both sheets take their columns from the table
// (ConcentrationTableColumns): a quantity the series results gain, such as the
// ionic strength of each point, reaches every export as a column there.
//
// The workbook holds each number to 16 significant digits, the most that
// libxlsxwriter writes (the csv holds 17). Both are written through the safe
// save routine (core/model/save_file.h): a failed export leaves an old file
// as it was and says "can't save " + path.
//
//   RecordingSink sink;
//   if (SaveTable("cu.xlsx", TableFileTypeOf("cu.xlsx"), state, results, CreationTimeText(now), sink)) ...

#include <optional>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/message_sink.h"
#include "core/model/project_state.h"

namespace tarn {

enum class TableFileType { kCsv, kWorkbook };

// A name ending in ".xlsx" (any case) asks for a workbook, any other for csv.
TableFileType TableFileTypeOf(const std::string& path);

// One column of the "Percentages" sheet: the share of reagent `reagent`'s
// total held by species k (free reagents, soluble species, solids), for every
// species that holds the reagent. Heading: the species' table heading +
// " (% of " + reagent name + ")".
struct PercentColumn {
  int reagent = 0;
  int species = 0;
  std::string heading;
};
std::vector<PercentColumn> PercentColumns(const ProjectState& state);

// The names of the workbook's sheets, in order.
inline constexpr const char* kConcentrationSheet = "Concentrations";
inline constexpr const char* kPercentSheet = "Percentages";
inline constexpr const char* kModelSheet = "Model";

// The workbook's bytes, or nothing (with the reason in *error) when the
// library fails. createdAt is the date and time written on the model sheet.
// The numbers are written with "." whatever the C library's locale.
std::optional<std::string> WorkbookBytes(const ProjectState& state, const SeriesResults& results,
                                         const std::string& createdAt, std::string* error = nullptr);

// Writes the table to path as csv or as a workbook. On failure shows
// "can't save " + path through the sink and returns false; an old file at
// path is then as it was.
bool SaveTable(const std::string& path, TableFileType type, const ProjectState& state, const SeriesResults& results,
               const std::string& createdAt, MessageSink& sink);

}  // namespace tarn

#pragma once
// Reads an .xlsx workbook back for the tests, the way any other program
// would: the zip is unpacked with Debian's unzip and each sheet's XML read
// for its cells (numbers and shared strings).
//
//   Workbook book = ReadWorkbook(path);
//   ASSERT_TRUE(book.problem.empty()) << book.problem;
//   const WorkbookSheet& sheet = book.Sheet("Concentrations");
//   double x = sheet.At(1, 2).number;   // row 1, column 2 (0-based: C2)

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarn::testing {

struct WorkbookCell {
  bool isNumber = false;
  double number = 0;
  std::string numberText;  // the number as the file writes it
  std::string text;        // a string cell's text (XML entities decoded)
};

struct WorkbookSheet {
  std::string name;
  std::map<std::pair<int, int>, WorkbookCell> cells;  // (row, column), 0-based
  // The cell at (row, column); an empty cell when there is none.
  const WorkbookCell& At(int row, int col) const;
  bool Has(int row, int col) const { return cells.count({row, col}) > 0; }
  // The number of the last row and column that hold a cell, plus one.
  int Rows() const { return rows; }
  int Cols() const { return cols; }
  int rows = 0;
  int cols = 0;
};

struct Workbook {
  std::string problem;  // empty when the file was read whole
  std::vector<WorkbookSheet> sheets;
  const WorkbookSheet& Sheet(const std::string& name) const;
  std::vector<std::string> Names() const;
};

Workbook ReadWorkbook(const std::string& path);

// One member of a zip file, as unzip gives it; empty when there is none.
std::string UnzipMember(const std::string& zipPath, const std::string& member);

}  // namespace tarn::testing

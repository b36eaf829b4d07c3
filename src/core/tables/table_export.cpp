#include "core/tables/table_export.h"

#include <locale.h>
#include <stdlib.h>
#include <xlsxwriter.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "core/app/version.h"
#include "core/model/activity.h"
#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/save_file.h"
#include "core/plot/curve_data.h"
#include "core/tables/concentration_table.h"

namespace tarn {

namespace {

namespace fs = std::filesystem;

constexpr double kPointWidth = 7;
constexpr double kValueWidth = 16;
constexpr double kLabelWidth = 30;

// A UTF-8 sequence's length from its first two bytes; 0 when they start none
// (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t SequenceLength(unsigned char first, unsigned char second) {
  if (first < 0x80) return 1;
  if (first < 0xC2 || first > 0xF4) return 0;
  if (first < 0xE0) return 2;
  if ((first == 0xE0 && second < 0xA0) || (first == 0xED && second >= 0xA0)) return 0;
  if (first < 0xF0) return 3;
  if ((first == 0xF0 && second < 0x90) || (first == 0xF4 && second >= 0x90)) return 0;
  return 4;
}

// The text as a workbook cell may hold it: a byte that starts no valid UTF-8
// sequence becomes U+FFFD and a control character a blank (either would make
// the sheet's XML unreadable).
std::string CellText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto first = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
    std::size_t length = SequenceLength(first, second);
    for (std::size_t k = 1; length > 0 && k < length; ++k)
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 0;
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out += first < 0x20 || first == 0x7F ? std::string_view(" ") : text.substr(i, length);
      i += length;
    }
  }
  return out;
}

// While it lives, this thread formats numbers with "." (libxlsxwriter writes
// them with the C library's printf, which follows LC_NUMERIC).
class ClassicNumbers {
 public:
  ClassicNumbers() {
    locale_t base = duplocale(LC_GLOBAL_LOCALE);
    classic_ = base ? newlocale(LC_NUMERIC_MASK, "C", base) : locale_t{};
    if (!classic_ && base) freelocale(base);
    if (classic_) previous_ = uselocale(classic_);
  }
  ~ClassicNumbers() {
    if (!classic_) return;
    uselocale(previous_);
    freelocale(classic_);
  }
  ClassicNumbers(const ClassicNumbers&) = delete;
  ClassicNumbers& operator=(const ClassicNumbers&) = delete;

 private:
  locale_t classic_{};
  locale_t previous_{};
};

// A folder of its own in the system's temporary folder, removed at the end.
class PrivateFolder {
 public:
  PrivateFolder() {
    std::string pattern = (fs::temp_directory_path(ec_) / "tarn-workbook-XXXXXX").string();
    if (!ec_ && ::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~PrivateFolder() {
    if (!path_.empty()) fs::remove_all(path_, ec_);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::error_code ec_;
  std::string path_;
};

// Writes the cells of one sheet, keeping the first error.
class Sheet {
 public:
  Sheet(lxw_workbook* book, const char* name, lxw_format* bold)
      : sheet_(workbook_add_worksheet(book, name)), bold_(bold) {
    if (!sheet_) error_ = LXW_ERROR_MEMORY_MALLOC_FAILED;
  }
  void Number(int row, int col, double x) {
    if (sheet_ && std::isfinite(x)) Keep(worksheet_write_number(sheet_, Row(row), Col(col), x, nullptr));
  }
  void Text(int row, int col, std::string_view text, bool bold = false) {
    if (sheet_ && !text.empty())
      Keep(worksheet_write_string(sheet_, Row(row), Col(col), CellText(text).c_str(), bold ? bold_ : nullptr));
  }
  void Heading(int row, int col, std::string_view text) { Text(row, col, text, true); }
  void Widths(int firstCol, int lastCol, double width) {
    if (sheet_ && lastCol >= firstCol) Keep(worksheet_set_column(sheet_, Col(firstCol), Col(lastCol), width, nullptr));
  }
  void FreezeTopRow() {
    if (sheet_) worksheet_freeze_panes(sheet_, 1, 0);
  }
  lxw_error Error() const { return error_; }

 private:
  static lxw_row_t Row(int row) { return static_cast<lxw_row_t>(row); }
  static lxw_col_t Col(int col) { return static_cast<lxw_col_t>(col); }
  void Keep(lxw_error e) {
    if (error_ == LXW_NO_ERROR) error_ = e;
  }

  lxw_worksheet* sheet_;
  lxw_format* bold_;
  lxw_error error_ = LXW_NO_ERROR;
};

// The concentration table's columns, one row per point, as the csv has them.
void WriteConcentrations(Sheet& sheet, const ProjectState& state, const SeriesResults& results) {
  const std::vector<TableColumn> columns = ConcentrationTableColumns(state, results);
  const int points = TablePoints(state, results);
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const TableColumn& column = columns[static_cast<std::size_t>(c)];
    sheet.Heading(0, c, column.kind == ColumnKind::kPoint ? "point" : column.heading);
    for (int p = 1; p <= points; ++p) sheet.Number(p, c, ColumnValue(state, results, column, p));
  }
  sheet.Widths(0, 0, kPointWidth);
  sheet.Widths(1, static_cast<int>(columns.size()) - 1, kValueWidth);
  sheet.FreezeTopRow();
}

// The point, the titre and the pH and pX columns: what a plot takes as X.
std::vector<TableColumn> XColumns(const ProjectState& state, const SeriesResults& results) {
  std::vector<TableColumn> x;
  for (const TableColumn& column : ConcentrationTableColumns(state, results))
    if (column.kind == ColumnKind::kPoint || column.kind == ColumnKind::kTitre || column.kind == ColumnKind::kPH ||
        column.kind == ColumnKind::kPX)
      x.push_back(column);
  return x;
}

void WritePercentages(Sheet& sheet, const ProjectState& state, const SeriesResults& results) {
  const std::vector<TableColumn> xColumns = XColumns(state, results);
  const std::vector<PercentColumn> percent = PercentColumns(state);
  const int points = TablePoints(state, results);
  int c = 0;
  for (const TableColumn& column : xColumns) {
    sheet.Heading(0, c, column.kind == ColumnKind::kPoint ? "point" : column.heading);
    for (int p = 1; p <= points; ++p) sheet.Number(p, c, ColumnValue(state, results, column, p));
    ++c;
  }
  for (const PercentColumn& column : percent) {
    sheet.Heading(0, c, column.heading);
    for (int p = 1; p <= points; ++p)
      if (std::optional<double> y = PercentRelativeTo(state, results, column.reagent, column.species, p))
        sheet.Number(p, c, *y);
    ++c;
  }
  sheet.Widths(0, 0, kPointWidth);
  sheet.Widths(1, c - 1, kValueWidth);
  sheet.FreezeTopRow();
}

bool PXGiven(const ProjectState& state, const SeriesResults& results, int j) {
  for (const TableColumn& column : ConcentrationTableColumns(state, results))
    if (column.kind == ColumnKind::kPX && column.index == j) return true;
  return false;
}

// The conditions of the calculation type, one row per reagent, from row r on;
// returns the next free row.
int WriteConditions(Sheet& sheet, const ProjectState& state, const SeriesResults& results, int r) {
  const bool titration = state.type == kTitration;
  sheet.Heading(r, 0, "Reagent");
  if (titration) {
    sheet.Heading(r, 1, "Amount in vessel / mmol");
    sheet.Heading(r, 2, "Burette concentration / mol dm-3");
  } else {
    sheet.Heading(r, 1, "Given");
    sheet.Heading(r, 2, "First point");
    sheet.Heading(r, 3, "Last point");
  }
  const bool charges = ActivityOn(state.activity);
  if (charges) sheet.Heading(r, 4, "Charge");
  for (int j = 1; j <= state.nreag; ++j) {
    ++r;
    sheet.Text(r, 0, state.name(j));
    if (charges) sheet.Number(r, 4, ReagentCharge(state, j));
    if (titration) {
      sheet.Number(r, 1, state.total(j, kTitration));
      sheet.Number(r, 2, state.burette(j, kTitration));
    } else if (PXGiven(state, results, j)) {
      sheet.Text(r, 1, "pX");
      sheet.Number(r, 2, state.pxi(j, kDistribution));
      sheet.Number(r, 3, state.pxf(j, kDistribution));
    } else {
      sheet.Text(r, 1, "total / mol dm-3");
      sheet.Number(r, 2, state.initial(j, kDistribution));
      sheet.Number(r, 3, state.final(j, kDistribution));
    }
  }
  return r + 2;
}

// A table of constants with the reagents' coefficients: the soluble species
// (solids false) or the solids; returns the next free row.
int WriteConstants(Sheet& sheet, const ProjectState& state, bool solids, int r) {
  sheet.Heading(r, 0, solids ? "Solid" : "Species");
  sheet.Heading(r, 1, solids ? "log Ksp" : "log beta");
  for (int j = 1; j <= state.nreag; ++j) sheet.Heading(r, 1 + j, state.name(j));
  const int count = solids ? state.nsolids : state.nspecies;
  for (int i = 1; i <= count; ++i) {
    ++r;
    sheet.Text(r, 0, solids ? SolidName(state, i) : SpeciesFormula(state, i));
    sheet.Number(r, 1, solids ? state.logksp(i) : state.logbeta(i));
    for (int j = 1; j <= state.nreag; ++j) sheet.Number(r, 1 + j, solids ? state.sa(j, i) : state.a(j, i));
    if (!solids && state.refine(i) == kRefineIgnore) sheet.Text(r, 2 + state.nreag, "ignored");
  }
  return r + 2;
}

// A labelled value in row r of the model sheet, which then moves on a row.
template <typename Value>
void WriteLine(Sheet& sheet, int& r, const char* label, Value value) {
  sheet.Text(r, 0, label, true);
  if constexpr (std::is_arithmetic_v<Value>)
    sheet.Number(r, 1, value);
  else
    sheet.Text(r, 1, value);
  ++r;
}

// The activity correction the series was calculated with; returns the next row.
int WriteActivity(Sheet& sheet, const ActivitySettings& a, int r) {
  auto line = [&](const char* label, auto value) { WriteLine(sheet, r, label, value); };
  line("Activity correction", std::string_view(CorrectionText(a.correction)));
  if (a.calculated)
    line("Ionic strength", std::string_view("calculated at every point"));
  else
    line("Ionic strength / mol dm-3", a.fixedStrength);
  line("Ionic strength of the constants / mol dm-3", a.referenceStrength);
  line("Temperature / C", a.celsius);
  line("Background electrolyte / mol dm-3", a.background);
  line("Background cation charge", a.cationCharge);
  line("Background anion charge", a.anionCharge);
  return r;
}

void WriteModel(Sheet& sheet, const ProjectState& state, const SeriesResults& results, const std::string& createdAt) {
  const bool titration = state.type == kTitration;
  int r = 0;
  auto line = [&](const char* label, auto value) { WriteLine(sheet, r, label, value); };
  line("Program", std::string_view(VersionLine()));
  line("Created", std::string_view(createdAt));
  line("Project", std::string_view(state.title));
  line("File", std::string_view(state.currentFile));
  line("Calculation", std::string_view(titration ? "Titration simulation" : "Species distribution"));
  line("Points", TablePoints(state, results));
  if (titration) {
    line("Initial volume / ml", state.volume[0]);
    line("Final volume / ml", state.vfinal);
  } else {
    line("Volume / ml", state.volume[1]);
  }
  if (ActivityOn(state.activity)) r = WriteActivity(sheet, state.activity, r);
  r = WriteConditions(sheet, state, results, r + 1);
  r = WriteConstants(sheet, state, false, r);
  if (state.nsolids > 0) WriteConstants(sheet, state, true, r);
  sheet.Widths(0, 0, kLabelWidth);
  sheet.Widths(1, 1 + state.nreag, kValueWidth);
}

// Builds the workbook in file; the library's error, LXW_NO_ERROR on success.
lxw_error WriteWorkbook(const std::string& file, const std::string& tmpdir, const ProjectState& state,
                        const SeriesResults& results, const std::string& createdAt) {
  lxw_workbook_options options{};
  options.tmpdir = const_cast<char*>(tmpdir.c_str());
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  if (!book) return LXW_ERROR_MEMORY_MALLOC_FAILED;
  lxw_format* bold = workbook_add_format(book);
  if (bold) format_set_bold(bold);
  const std::string title = CellText(state.title);
  const std::string comments = std::string("Written by ") + VersionLine();
  lxw_doc_properties properties{};
  properties.title = const_cast<char*>(title.c_str());
  properties.comments = const_cast<char*>(comments.c_str());
  workbook_set_properties(book, &properties);
  Sheet concentrations(book, kConcentrationSheet, bold);
  Sheet percentages(book, kPercentSheet, bold);
  Sheet model(book, kModelSheet, bold);
  WriteConcentrations(concentrations, state, results);
  WritePercentages(percentages, state, results);
  WriteModel(model, state, results, createdAt);
  lxw_error closed = workbook_close(book);  // frees the workbook
  for (const Sheet* sheet : {&concentrations, &percentages, &model})
    if (sheet->Error() != LXW_NO_ERROR) return sheet->Error();
  return closed;
}

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return std::nullopt;
  return bytes;
}

}  // namespace

TableFileType TableFileTypeOf(const std::string& path) {
  const bool xlsx = path.size() >= 5 && Upper(path.substr(path.size() - 5)) == ".XLSX";
  return xlsx ? TableFileType::kWorkbook : TableFileType::kCsv;
}

std::vector<PercentColumn> PercentColumns(const ProjectState& state) {
  std::vector<PercentColumn> columns;
  for (int r = 1; r <= state.nreag; ++r) {
    const std::string of = " (% of " + state.name(r) + ")";
    for (int k = 1; k <= state.ntotal(); ++k) {
      if (correction(state, r, k) == 0) continue;
      std::string name = k <= state.nreag      ? state.name(k)
                         : k <= state.nsoluble ? SpeciesHeading(state, k - state.nreag)
                                               : SolidName(state, k - state.nsoluble);
      columns.push_back({r, k, name + of});
    }
  }
  return columns;
}

std::optional<std::string> WorkbookBytes(const ProjectState& state, const SeriesResults& results,
                                         const std::string& createdAt, std::string* error) {
  PrivateFolder folder;
  if (folder.Path().empty()) {
    if (error) *error = "no temporary folder";
    return std::nullopt;
  }
  const std::string file = folder.Path() + "/table.xlsx";
  lxw_error status = LXW_NO_ERROR;
  {
    ClassicNumbers classic;
    status = WriteWorkbook(file, folder.Path(), state, results, createdAt);
  }
  if (status != LXW_NO_ERROR) {
    if (error) *error = lxw_strerror(status);
    return std::nullopt;
  }
  std::optional<std::string> bytes = ReadBytes(file);
  if (!bytes && error) *error = "cannot read the workbook back";
  return bytes;
}

bool SaveTable(const std::string& path, TableFileType type, const ProjectState& state, const SeriesResults& results,
               const std::string& createdAt, MessageSink& sink) {
  std::optional<std::string> bytes = type == TableFileType::kWorkbook ? WorkbookBytes(state, results, createdAt)
                                                                      : ConcentrationTableCsv(state, results);
  if (bytes && SaveTextFile(path, *bytes).ok) return true;
  sink.Show("can't save " + path);
  return false;
}

}  // namespace tarn

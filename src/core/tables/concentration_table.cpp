#include "core/tables/concentration_table.h"

#include <cmath>
#include <limits>

#include "core/model/constants.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr char kCr = '\r';
constexpr char kTab = '\t';
constexpr const char* kCsvLineEnd = "\r\n";
constexpr const char* kCreationSuffix = " - Concentration table. Created at ";
constexpr const char* kUnitsLine = "concentrations /mol dm-3:";

// Patterns of the cells.
constexpr const char* kUpperE4 = "0.0000E+00";
constexpr const char* kLowerE3 = "0.000e+00";
constexpr const char* kPH3 = "#0.000";
constexpr const char* kPH4 = "#0.0000";
constexpr const char* kPX4 = "0.0000";
constexpr const char* kVolume = "##0.0###";
constexpr const char* kConstant = "###0.0###";

// Column widths in twips.
constexpr int kPointWidth = 420;
constexpr int kNormalWidth = 1100;
constexpr int kHighTotalWidth = 1110;
constexpr int kHighValueWidth = 2100;

bool IsTitration(const ProjectState& state) {
  return state.type == kTitration;
}

// Whether reagent j's total is given in the series: always in a titration; in
// a distribution as the series took it (the conditions as they were then).
bool TotalGiven(const ProjectState& state, const SeriesResults& results, int j) {
  if (IsTitration(state)) return true;
  if (results.flagNow.Upper() >= j) return results.flagNow(j);
  return state.flag(j, kDistribution);
}

TableColumn FreeColumn(const ProjectState& state, const SeriesResults& results, int j) {
  const std::string& name = state.name(j);
  const bool activityPH = results.activity && j == state.proton;
  if (!TotalGiven(state, results, j))
    return {ColumnKind::kPX, j, activityPH ? "-log[" + name + "]" : "p(" + name + ")"};
  if (j == state.proton) return {ColumnKind::kPH, j, activityPH ? "-log[" + name + "]" : "pH(calc)"};
  return {ColumnKind::kFree, j, "free " + name};
}

// The added titrant volume at point p of n.
double Titre(const ProjectState& state, int p, int n) {
  if (n < 2) return 0;
  return (state.vfinal - state.volume[0]) * (p - 1) / (n - 1);
}

double GeneratedTotal(const ProjectState& state, int j, int p, int n) {
  if (IsTitration(state)) {
    double v = Titre(state, p, n);
    return (state.total(j, kTitration) + state.burette(j, kTitration) * v) / (state.volume[0] + v);
  }
  double first = state.initial(j, kDistribution);
  if (n < 2) return first;
  return first + (p - 1) * (state.final(j, kDistribution) - first) / (n - 1);
}

double MinusLog10(double c) {
  return c > 0 ? -std::log10(c) : std::numeric_limits<double>::quiet_NaN();
}

std::string Format(double x, const char* pattern) {
  return std::isnan(x) ? std::string() : FormatPattern(x, pattern);
}

// General: the plain conversion, used by the high precision.
std::string General(double x) {
  return std::isnan(x) ? std::string() : PlainText(x);
}

std::string CellText(const ProjectState& state, ColumnKind kind, TablePrecision precision, double x) {
  const bool high = precision == TablePrecision::kHigh;
  switch (kind) {
    case ColumnKind::kPoint:
      return PlainText(static_cast<int>(x));
    case ColumnKind::kTitre:
      return Format(x, kUpperE4);
    case ColumnKind::kTotal:
      return Format(x, kLowerE3);
    case ColumnKind::kTotalCalc:
    case ColumnKind::kFree:
      return high ? General(x) : Format(x, kLowerE3);
    case ColumnKind::kPH:
    case ColumnKind::kPHActivity:
      return Format(x, high ? kPH4 : kPH3);
    case ColumnKind::kStrength:
      return high ? General(x) : Format(x, kLowerE3);
    case ColumnKind::kPX:
      return Format(x, kPX4);
    case ColumnKind::kSpecies:
    case ColumnKind::kSolid:
      break;
  }
  if (high) return General(x);
  return Format(x, IsTitration(state) ? kUpperE4 : kLowerE3);
}

int ColumnWidth(ColumnKind kind, TablePrecision precision) {
  if (kind == ColumnKind::kPoint) return kPointWidth;
  if (precision == TablePrecision::kNormal) return kNormalWidth;
  switch (kind) {
    case ColumnKind::kTitre:
    case ColumnKind::kPH:
    case ColumnKind::kPHActivity:
      return kNormalWidth;
    case ColumnKind::kTotal:
    case ColumnKind::kTotalCalc:
      return kHighTotalWidth;
    default:
      return kHighValueWidth;
  }
}

std::array<std::string, 4> Captions(const ProjectState& state, const std::string& createdAt) {
  std::string volumes;
  if (IsTitration(state))
    volumes = "Initial volume " + FormatPattern(state.volume[0], kVolume) + " ml" + " Final volume " +
              FormatPattern(state.vfinal, kVolume) + " ml";
  return {kProgramTitle + std::string(kCreationSuffix) + createdAt, state.title, volumes, kUnitsLine};
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string SpeciesHeading(const ProjectState& state, int i) {
  std::string formula = SpeciesFormula(state, i);
  return Upper(formula) == "H-1" ? "OH" : formula;
}

std::vector<TableColumn> ConcentrationTableColumns(const ProjectState& state, const SeriesResults& results) {
  std::vector<TableColumn> columns{{ColumnKind::kPoint, 0, ""}};
  if (IsTitration(state)) columns.push_back({ColumnKind::kTitre, 0, "Titre"});
  for (int j = 1; j <= state.nreag; ++j) {
    ColumnKind kind = TotalGiven(state, results, j) ? ColumnKind::kTotal : ColumnKind::kTotalCalc;
    columns.push_back({kind, j, "total " + state.name(j)});
  }
  for (int j = 1; j <= state.nreag; ++j) {
    columns.push_back(FreeColumn(state, results, j));
    if (results.activity && j == state.proton)
      columns.push_back({ColumnKind::kPHActivity, j, "-log a(" + state.name(j) + ")"});
  }
  if (results.activity) columns.push_back({ColumnKind::kStrength, 0, "ionic strength"});
  for (int i = 1; i <= state.nspecies; ++i) columns.push_back({ColumnKind::kSpecies, i, SpeciesHeading(state, i)});
  for (int s = 1; s <= state.nsolids; ++s) columns.push_back({ColumnKind::kSolid, s, SolidName(state, s)});
  return columns;
}

int TablePoints(const ProjectState& state, const SeriesResults& results) {
  const int n = results.npoints;
  if (results.ifail != kSuccess || n < 1) return 0;
  bool fits = results.speciesConc.Upper1() >= state.ntotal() && results.speciesConc.Upper2() >= n &&
              results.totalCalc.Upper1() >= n && results.totalCalc.Upper2() >= state.nreag;
  if (!IsTitration(state)) fits = fits && results.flagNow.Upper() >= state.nreag;
  if (results.activity) fits = fits && results.ionicStrength.Upper() >= n && results.pHActivity.Upper() >= n;
  return fits ? n : 0;
}

double ColumnValue(const ProjectState& state, const SeriesResults& results, const TableColumn& column, int p) {
  const int n = results.npoints;
  const int j = column.index;
  switch (column.kind) {
    case ColumnKind::kPoint:
      return p;
    case ColumnKind::kTitre:
      return Titre(state, p, n);
    case ColumnKind::kTotal:
      return GeneratedTotal(state, j, p, n);
    case ColumnKind::kTotalCalc:
      return results.totalCalc(p, j);
    case ColumnKind::kFree:
      return results.speciesConc(j, p);
    case ColumnKind::kPH:
    case ColumnKind::kPX:
      return MinusLog10(results.speciesConc(j, p));
    case ColumnKind::kSpecies:
      return results.speciesConc(state.nreag + j, p);
    case ColumnKind::kSolid:
      return results.speciesConc(state.nreag + state.nspecies + j, p);
    case ColumnKind::kPHActivity:
      return results.pHActivity(p);
    case ColumnKind::kStrength:
      return results.ionicStrength(p);
  }
  return std::numeric_limits<double>::quiet_NaN();
}

ConcentrationTable MakeConcentrationTable(const ProjectState& state, const SeriesResults& results,
                                          TablePrecision precision, const std::string& createdAt) {
  ConcentrationTable table;
  table.captions = Captions(state, createdAt);
  table.activityLine = ActivityLine(state, results);
  const std::vector<TableColumn> columns = ConcentrationTableColumns(state, results);
  const int points = TablePoints(state, results);
  table.cells.resize(static_cast<std::size_t>(points) + 1);
  for (const TableColumn& column : columns) {
    table.cells[0].push_back(column.heading);
    table.columnWidthsTwips.push_back(ColumnWidth(column.kind, precision));
    for (int p = 1; p <= points; ++p)
      table.cells[static_cast<std::size_t>(p)].push_back(
          CellText(state, column.kind, precision, ColumnValue(state, results, column, p)));
  }
  return table;
}

std::string ConcentrationTableText(const ProjectState& state, const ConcentrationTable& table) {
  const int points = table.cells.empty() ? 0 : static_cast<int>(table.cells.size()) - 1;
  const auto& c = table.captions;
  std::string out = c[0] + kCr + c[1] + kCr + c[2] + kCr + c[3] + " (" + PlainText(points) + "  points)" + kCr + kCr;
  out += std::string{kCr, kTab} + "log beta" + kCr;
  for (int i = 1; i <= state.nspecies; ++i)
    out += SpeciesFormula(state, i) + kTab + FormatPattern(state.logbeta(i), kConstant) + kCr;
  for (int s = 1; s <= state.nsolids; ++s)
    out += SolidName(state, s) + kTab + FormatPattern(state.logksp(s), kConstant) + kCr;
  if (!table.activityLine.empty()) out += table.activityLine + kCr;
  for (std::size_t row = 0; row < table.cells.size(); ++row) {
    if (row > 0) out += kCr;
    for (std::size_t col = 0; col < table.cells[row].size(); ++col) {
      if (col > 0) out += kTab;
      out += table.cells[row][col];
    }
  }
  return out;
}

std::string ActivityLine(const ProjectState& state, const SeriesResults& results) {
  if (!results.activity) return {};
  const ActivitySettings& a = state.activity;
  const std::string strength = a.calculated
                                   ? "ionic strength calculated at every point"
                                   : "ionic strength " + FormatPattern(a.fixedStrength, kConstant) + " mol dm-3";
  std::string line = a.correction == ActivityCorrection::kDavies ? "Davies" : "extended Debye-Hueckel";
  line += " activity correction; constants at I = " + FormatPattern(a.referenceStrength, kConstant) + " mol dm-3; " +
          strength;
  if (a.celsius != kStandardCelsius) line += "; " + FormatPattern(a.celsius, "##0.0#") + " degrees C";
  return line;
}

std::string ConcentrationTableCsv(const ProjectState& state, const SeriesResults& results) {
  const std::vector<TableColumn> columns = ConcentrationTableColumns(state, results);
  std::string out;
  for (std::size_t col = 0; col < columns.size(); ++col) {
    if (col > 0) out += ',';
    out += columns[col].kind == ColumnKind::kPoint ? "point" : CsvField(columns[col].heading);
  }
  out += kCsvLineEnd;
  const int points = TablePoints(state, results);
  for (int p = 1; p <= points; ++p) {
    for (std::size_t col = 0; col < columns.size(); ++col) {
      if (col > 0) out += ',';
      double x = ColumnValue(state, results, columns[col], p);
      if (std::isfinite(x)) out += FullPrecisionText(x);
    }
    out += kCsvLineEnd;
  }
  return out;
}

std::string CreationTimeText(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return {};
  char buf[32];
  std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(buf, n);
}

}  // namespace tarn

// The table saved as csv and as a workbook, read back as a spreadsheet would
// read them: the workbook is unpacked and its sheets' XML read.

#include "core/tables/table_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "core/model/model.h"
#include "core/model/save_file.h"
#include "core/tables/concentration_table.h"
#include "support/comma_locale.h"
#include "support/model_builder.h"
#include "support/ordinary_user.h"
#include "support/sample_series.h"
#include "support/temp_folder.h"
#include "support/workbook_reader.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ReadWorkbook;
using testing::TempFolder;
using testing::Workbook;
using testing::WorkbookSheet;
using Row = std::vector<std::string>;

constexpr const char* kCreated = "2024-05-06 07:08:09";

// Records of RFC 4180 text: quoted fields may hold commas, doubled quotes and
// line breaks; every record ends in CR LF.
std::vector<Row> ParseCsv(const std::string& text) {
  std::vector<Row> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
        field += text[++i];
      else if (c == '"')
        quoted = false;
      else
        field += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      rows.emplace_back();
      ++i;
    } else if (c == '\r' || c == '\n') {
      ADD_FAILURE() << "a line break outside CR LF at " << i;
      return {};
    } else {
      field += c;
    }
  }
  EXPECT_TRUE(rows.back().empty() && field.empty()) << "the last record has no CR LF";
  rows.pop_back();
  return rows;
}

// x as the workbook holds it: to 16 significant digits.
double SixteenDigits(double x) {
  char buf[40];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 15);
  return std::strtod(std::string(buf, end).c_str(), nullptr);
}

struct Saved {
  std::vector<Row> csv;
  Workbook book;
};

Saved SaveBoth(const ProjectState& state, const SeriesResults& results, const TempFolder& folder) {
  RecordingSink sink;
  EXPECT_TRUE(SaveTable(folder / "table.csv", TableFileType::kCsv, state, results, kCreated, sink));
  EXPECT_TRUE(SaveTable(folder / "table.xlsx", TableFileType::kWorkbook, state, results, kCreated, sink));
  EXPECT_EQ(sink.messages, std::vector<std::string>{});
  Saved saved{ParseCsv(ReadFile(folder / "table.csv")), ReadWorkbook(folder / "table.xlsx")};
  EXPECT_EQ(saved.book.problem, "");
  return saved;
}

// Every csv field is the table's value at full precision, and the sheet holds
// the same headings and numbers (to its 16 digits), an empty cell where the
// csv has an empty field.
void ExpectSameTable(const std::vector<Row>& csv, const WorkbookSheet& sheet, const ProjectState& state,
                     const SeriesResults& results) {
  const std::vector<TableColumn> columns = ConcentrationTableColumns(state, results);
  ASSERT_EQ(static_cast<int>(csv.size()), results.npoints + 1);
  EXPECT_EQ(sheet.Rows(), results.npoints + 1);
  EXPECT_EQ(sheet.Cols(), static_cast<int>(columns.size()));
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    ASSERT_EQ(csv[0].size(), columns.size());
    EXPECT_EQ(sheet.At(0, c).text, csv[0][c]) << c;
    for (int p = 1; p <= results.npoints; ++p) {
      const std::string& field = csv[p][c];
      const double value = ColumnValue(state, results, columns[c], p);
      if (std::isnan(value)) {
        EXPECT_EQ(field, "");
        EXPECT_FALSE(sheet.Has(p, c)) << p << "," << c;
        continue;
      }
      ASSERT_EQ(std::strtod(field.c_str(), nullptr), value) << field << " at " << p << "," << c;
      ASSERT_TRUE(sheet.At(p, c).isNumber) << p << "," << c;
      ASSERT_EQ(sheet.At(p, c).number, SixteenDigits(value)) << sheet.At(p, c).numberText << " at " << p << "," << c;
    }
  }
}

// For every reagent and point, the shares of its total held by its species
// add up to 100 %: the mass balance, free reagent and solids included.
void ExpectPercentagesAddUp(const WorkbookSheet& sheet, const ProjectState& state, const SeriesResults& results) {
  const std::vector<PercentColumn> percent = PercentColumns(state);
  const int first = sheet.Cols() - static_cast<int>(percent.size());
  for (int r = 1; r <= state.nreag; ++r) {
    const std::string of = " (% of " + state.name(r) + ")";
    for (int p = 1; p <= results.npoints; ++p) {
      double sum = 0, size = 0;
      int terms = 0;
      for (int c = first; c < sheet.Cols(); ++c) {
        const std::string& heading = sheet.At(0, c).text;
        if (heading.size() < of.size() || heading.compare(heading.size() - of.size(), of.size(), of) != 0) continue;
        ++terms;
        if (results.totalCalc(p, r) == 0) {
          EXPECT_FALSE(sheet.Has(p, c)) << heading << " at point " << p;
          continue;
        }
        sum += sheet.At(p, c).number;
        size += std::fabs(sheet.At(p, c).number);
      }
      EXPECT_GE(terms, 1) << state.name(r);
      if (results.totalCalc(p, r) != 0) {
        EXPECT_NEAR(sum, 100, 1e-9 * size) << state.name(r) << " at point " << p;
      }
    }
  }
}

TEST(TableExport, WorkbookAndCsvOfRealSeriesHoldTheSameNumbers) {
  struct Case {
    const char* file;
    int points;
  };
  for (Case c : {Case{"copper-glycine-titration.cld", 1201}, Case{"copper-glycine-distribution.cld", 2},
                 Case{"silver-chloride-chromate.cld", 41}}) {
    SCOPED_TRACE(c.file);
    test::SampleSeries series;
    series.Load(c.file, c.points);
    TempFolder folder;
    Saved saved = SaveBoth(series.state, series.results, folder);
    ASSERT_EQ(saved.book.Names(), (std::vector<std::string>{"Concentrations", "Percentages", "Model"}));
    ExpectSameTable(saved.csv, saved.book.Sheet(kConcentrationSheet), series.state, series.results);

    // The percentages beside the point, the titre and the pH or pX columns.
    const WorkbookSheet& percent = saved.book.Sheet(kPercentSheet);
    const WorkbookSheet& conc = saved.book.Sheet(kConcentrationSheet);
    ExpectPercentagesAddUp(percent, series.state, series.results);
    for (int pc = 0; percent.At(0, pc).text.find("(% of") == std::string::npos; ++pc) {
      int cc = 0;
      while (cc < conc.Cols() && conc.At(0, cc).text != percent.At(0, pc).text) ++cc;
      ASSERT_LT(cc, conc.Cols()) << percent.At(0, pc).text;
      for (int p = 1; p <= c.points; ++p) EXPECT_EQ(percent.At(p, pc).number, conc.At(p, cc).number);
    }
  }
}

// The row of the model sheet whose first cell is label.
int RowOf(const WorkbookSheet& sheet, const std::string& label) {
  for (int r = 0; r < sheet.Rows(); ++r)
    if (sheet.At(r, 0).text == label) return r;
  ADD_FAILURE() << "no row " << label;
  return 0;
}

// With an activity correction the workbook holds the ionic strength of every
// point and the model sheet the correction and the charges it used.
TEST(TableExport, AnActivityCorrectionReachesTheWorkbook) {
  test::SampleSeries series;
  series.Load("copper-glycine-titration.cld", 21);
  series.CalculateWith(ActivityCorrection::kDebyeHuckel, {2, -1, 1});  // Cu 2+, Gly-, H+
  const ProjectState& s = series.state;
  ASSERT_TRUE(series.results.activity);
  TempFolder folder;
  Saved saved = SaveBoth(s, series.results, folder);
  const WorkbookSheet& conc = saved.book.Sheet(kConcentrationSheet);
  ExpectSameTable(saved.csv, conc, s, series.results);
  int strength = 0;
  while (strength < conc.Cols() && conc.At(0, strength).text != "ionic strength") ++strength;
  ASSERT_LT(strength, conc.Cols());
  for (int p = 1; p <= 21; ++p) EXPECT_NEAR(conc.At(p, strength).number, series.results.ionicStrength(p), 1e-15);
  const WorkbookSheet& model = saved.book.Sheet(kModelSheet);
  EXPECT_EQ(model.At(RowOf(model, "Activity correction"), 1).text, CorrectionText(ActivityCorrection::kDebyeHuckel));
  EXPECT_EQ(model.At(RowOf(model, "Ionic strength"), 1).text, "calculated at every point");
  EXPECT_EQ(model.At(RowOf(model, "Ionic strength of the constants / mol dm-3"), 1).number, 0.1);
  const int cu = RowOf(model, "Cu");
  EXPECT_EQ(model.At(cu - 1, 4).text, "Charge");
  EXPECT_EQ(model.At(cu, 4).number, 2);
}

TEST(TableExport, ModelSheetNamesTheProgramTheProjectAndItsConstants) {
  test::SampleSeries series;
  series.Load("silver-chloride-chromate.cld", 11);
  const ProjectState& s = series.state;
  TempFolder folder;
  const WorkbookSheet model = SaveBoth(s, series.results, folder).book.Sheet(kModelSheet);
  EXPECT_EQ(model.At(RowOf(model, "Program"), 1).text, "Tarn " TARN_PROJECT_VERSION);
  EXPECT_EQ(model.At(RowOf(model, "Created"), 1).text, kCreated);
  EXPECT_EQ(model.At(RowOf(model, "Project"), 1).text, s.title);
  EXPECT_EQ(model.At(RowOf(model, "Calculation"), 1).text, "Titration simulation");
  EXPECT_EQ(model.At(RowOf(model, "Points"), 1).number, 11);
  EXPECT_EQ(model.At(RowOf(model, "Initial volume / ml"), 1).number, SixteenDigits(s.volume[0]));
  EXPECT_EQ(model.At(RowOf(model, "Final volume / ml"), 1).number, SixteenDigits(s.vfinal));

  const int conditions = RowOf(model, "Reagent");
  const int species = RowOf(model, "Species");
  const int solids = RowOf(model, "Solid");
  for (int j = 1; j <= s.nreag; ++j) {
    EXPECT_EQ(model.At(conditions + j, 0).text, s.name(j));
    EXPECT_EQ(model.At(conditions + j, 1).number, SixteenDigits(s.total(j, kTitration)));
    EXPECT_EQ(model.At(conditions + j, 2).number, SixteenDigits(s.burette(j, kTitration)));
    EXPECT_EQ(model.At(species, 1 + j).text, s.name(j));
    EXPECT_EQ(model.At(solids, 1 + j).text, s.name(j));
  }
  EXPECT_EQ(model.At(species, 1).text, "log beta");
  for (int i = 1; i <= s.nspecies; ++i) {
    EXPECT_EQ(model.At(species + i, 0).text, SpeciesFormula(s, i));
    EXPECT_EQ(model.At(species + i, 1).number, SixteenDigits(s.logbeta(i)));
    for (int j = 1; j <= s.nreag; ++j) EXPECT_EQ(model.At(species + i, 1 + j).number, s.a(j, i));
  }
  EXPECT_EQ(model.At(solids, 1).text, "log Ksp");
  for (int k = 1; k <= s.nsolids; ++k) {
    EXPECT_EQ(model.At(solids + k, 0).text, SolidName(s, k));
    EXPECT_EQ(model.At(solids + k, 1).number, SixteenDigits(s.logksp(k)));
    for (int j = 1; j <= s.nreag; ++j) EXPECT_EQ(model.At(solids + k, 1 + j).number, s.sa(j, k));
  }

  // A distribution names what each reagent is given by.
  test::SampleSeries distribution;
  distribution.Load("copper-glycine-distribution.cld", 2);
  const ProjectState& d = distribution.state;
  TempFolder other;
  const WorkbookSheet dm = SaveBoth(d, distribution.results, other).book.Sheet(kModelSheet);
  EXPECT_EQ(dm.At(RowOf(dm, "Calculation"), 1).text, "Species distribution");
  const int given = RowOf(dm, "Reagent");
  for (int j = 1; j <= d.nreag; ++j) {
    const bool total = d.flag(j, kDistribution);
    EXPECT_EQ(dm.At(given + j, 1).text, total ? "total / mol dm-3" : "pX");
    EXPECT_EQ(dm.At(given + j, 2).number, SixteenDigits(total ? d.initial(j, kDistribution) : d.pxi(j, kDistribution)));
    EXPECT_EQ(dm.At(given + j, 3).number, SixteenDigits(total ? d.final(j, kDistribution) : d.pxf(j, kDistribution)));
  }
}

// The acid AH with hydroxide, titrated with 0.1 M hydroxide; calculated.
struct AcidSeries {
  ProjectState state = test::ModelBuilder({"A, \"acid\"", "H"}).Species(4.75, {1, 1}).Species(-13.75, {0, -1}).Build();
  SolverWork work;
  SeriesResults results;
  explicit AcidSeries(int points) {
    test::MakeTitration(state, 10, 12, points);
    test::SetTitrant(state, 1, 0.1, 0);
    test::SetTitrant(state, 2, 0.1, -0.1);
    RecordingSink sink;
    EXPECT_EQ(CalculatePoints(state, work, results, sink), kSuccess);
  }
};

TEST(TableExport, NamesWithCommasQuotesAndBadBytesReachBothFilesWhole) {
  AcidSeries acid(2);
  acid.state.title = "Acid\tbase \xE9t\xC3\xA9 \xED\xA0\x80!";  // a Latin-1 byte, a surrogate
  TempFolder folder;
  Saved saved = SaveBoth(acid.state, acid.results, folder);
  const std::string text = ReadFile(folder / "table.csv");
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "point,Titre,\"total A, \"\"acid\"\"\",total H,\"free A, \"\"acid\"\"\",pH(calc),\"A, \"\"acid\"\"H\",OH");
  ExpectSameTable(saved.csv, saved.book.Sheet(kConcentrationSheet), acid.state, acid.results);
  EXPECT_EQ(saved.book.Sheet(kConcentrationSheet).At(0, 2).text, "total A, \"acid\"");
  const WorkbookSheet& model = saved.book.Sheet(kModelSheet);
  EXPECT_EQ(model.At(RowOf(model, "Project"), 1).text,
            "Acid base \xEF\xBF\xBDt\xC3\xA9 \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!");
  EXPECT_EQ(saved.book.Sheet(kPercentSheet).At(0, 3).text, "A, \"acid\" (% of A, \"acid\")");
}

TEST(TableExport, WorkbookNumbersHaveADecimalPointUnderACommaLocale) {
  AcidSeries acid(5);
  TempFolder folder;
  bool saved = false;
  {
    testing::CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << comma.Problem();
    ASSERT_EQ(std::strtod("0.5", nullptr), 0);  // the C library reads "," here
    RecordingSink sink;
    saved = SaveTable(folder / "comma.xlsx", TableFileType::kWorkbook, acid.state, acid.results, kCreated, sink);
  }
  ASSERT_TRUE(saved);
  // Read back in the "C" locale, where "0,5" would be no number.
  Workbook book = ReadWorkbook(folder / "comma.xlsx");
  ASSERT_EQ(book.problem, "");
  RecordingSink sink;
  ASSERT_TRUE(SaveTable(folder / "comma.csv", TableFileType::kCsv, acid.state, acid.results, kCreated, sink));
  ExpectSameTable(ParseCsv(ReadFile(folder / "comma.csv")), book.Sheet(kConcentrationSheet), acid.state, acid.results);
}

TEST(TableExport, AFailedExportSaysSoAndKeepsTheOldFile) {
  AcidSeries acid(3);
  for (TableFileType type : {TableFileType::kCsv, TableFileType::kWorkbook}) {
    const std::string name = type == TableFileType::kCsv ? "old.csv" : "old.xlsx";
    // A read-only folder: no file can be made beside the old one.
    TempFolder folder;
    const std::string path = folder / name;
    testing::WriteFile(path, "old results");
    ::chmod(path.c_str(), 0666);
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(testing::AsOrdinaryUser([&] {
      RecordingSink sink;
      return !SaveTable(path, type, acid.state, acid.results, kCreated, sink) &&
             sink.messages == std::vector<std::string>{"can't save " + path};
    }));
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(ReadFile(path), "old results");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    // A disk that fills up half-way through.
    for (SaveStep step : {SaveStep::kWrite, SaveStep::kRename}) {
      InjectedSaveFault fault(step, ENOSPC);
      RecordingSink sink;
      EXPECT_FALSE(SaveTable(path, type, acid.state, acid.results, kCreated, sink));
      EXPECT_EQ(sink.messages, std::vector<std::string>{"can't save " + path});
      EXPECT_EQ(ReadFile(path), "old results");
    }
    RecordingSink sink;
    EXPECT_FALSE(SaveTable(folder / "no/such/folder/" + name, type, acid.state, acid.results, kCreated, sink));
    EXPECT_EQ(sink.messages.size(), 1u);
  }
}

TEST(TableExport, AFailedSeriesExportsItsHeadingsOnly) {
  AcidSeries acid(3);
  acid.results.ifail = kIterationLimit;
  TempFolder folder;
  Saved saved = SaveBoth(acid.state, acid.results, folder);
  ASSERT_EQ(saved.csv.size(), 1u);
  EXPECT_EQ(saved.csv[0][1], "Titre");
  for (const WorkbookSheet& sheet : saved.book.sheets)
    if (sheet.name != kModelSheet) {
      EXPECT_EQ(sheet.Rows(), 1) << sheet.name;
    }
  const WorkbookSheet& model = saved.book.Sheet(kModelSheet);
  EXPECT_EQ(model.At(RowOf(model, "Points"), 1).number, 0);
}

TEST(TableExport, TheFileTypeFollowsTheExtension) {
  EXPECT_EQ(TableFileTypeOf("/data/cu.xlsx"), TableFileType::kWorkbook);
  EXPECT_EQ(TableFileTypeOf("CU.XLSX"), TableFileType::kWorkbook);
  EXPECT_EQ(TableFileTypeOf("cu.xlsx.csv"), TableFileType::kCsv);
  EXPECT_EQ(TableFileTypeOf("cu.txt"), TableFileType::kCsv);
  EXPECT_EQ(TableFileTypeOf("xlsx"), TableFileType::kCsv);
}

}  // namespace
}  // namespace tarn

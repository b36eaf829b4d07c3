#include "tables/concentration_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

#include "model/model.h"
#include "model/number_text.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// Reagents M, L, H (the proton); species ML, H-1 and LH; the solid MH-2(s).
// Titration: 20 mL holding 0.02 mmol M, 0.04 mmol L and 0.1 mmol H, titrated
// to 25 mL with 0.1 M hydroxide. Distribution: M from 0.001 to 0.002 M, L
// 0.003 M, pH 2 to 12.
ProjectState MetalLigandModel(int type) {
  ProjectState s;
  s.title = "Metal and ligand";
  s.nreag = 3;
  s.nspecies = 3;
  s.nsolids = 1;
  s.nsoluble = 6;
  AllocateModel(s);
  s.name(1) = "M";
  s.name(2) = "L";
  s.name(3) = "H";
  s.proton = 3;
  s.a(1, 1) = s.a(2, 1) = 1;
  s.logbeta(1) = 5.5;
  s.a(3, 2) = -1;
  s.logbeta(2) = static_cast<float>(-13.78);
  s.a(2, 3) = s.a(3, 3) = 1;
  s.logbeta(3) = 9.25;
  s.sa(1, 1) = 1;
  s.sa(3, 1) = -2;
  s.logksp(1) = 12.5;
  s.type = type;
  s.volume[0] = 20;
  s.vfinal = 25;
  s.total(1, 0) = 0.02;
  s.total(2, 0) = 0.04;
  s.total(3, 0) = 0.1;
  s.burette(3, 0) = -0.1;
  s.initial(1, 1) = 0.001;
  s.final(1, 1) = 0.002;
  s.initial(2, 1) = s.final(2, 1) = 0.003;
  s.pxi(3, 1) = 2;
  s.pxf(3, 1) = 12;
  for (int j = 1; j <= 3; ++j) s.flag(j, 0) = s.flag(j, 1) = true;
  s.flag(3, 1) = false;
  return s;
}

// Results of a completed series of n points: species k at point p holds
// (1 + k/10 + p/100) 1e-5, the recomputed totals 1.23456789e-3; point 3 gets
// chosen free concentrations (M 2.5e-6, H 10^-7.25 or 1e-6) and no solid.
SeriesResults HandResults(const ProjectState& s, int n) {
  SeriesResults r;
  r.npoints = n;
  r.ifail = kSuccess;
  r.speciesConc.Resize(s.ntotal(), n);
  r.totalCalc.Resize(n, s.nreag + s.nsolids);
  r.totalSet.Resize(n, s.nreag + s.nsolids);
  r.flagNow.Resize(s.nreag + s.nsolids);
  for (int j = 1; j <= s.nreag; ++j) r.flagNow(j) = s.flag(j, s.type);
  for (int p = 1; p <= n; ++p) {
    for (int k = 1; k <= s.ntotal(); ++k) r.speciesConc(k, p) = (1 + k / 10.0 + p / 100.0) * 1e-5;
    for (int j = 1; j <= s.nreag; ++j) r.totalCalc(p, j) = 1.23456789e-3;
  }
  if (n >= 3) {
    r.speciesConc(1, 3) = 2.5e-6;
    r.speciesConc(3, 3) = s.type == kTitration ? std::pow(10.0, -7.25) : 1e-6;
    r.speciesConc(s.ntotal(), 3) = 0;
  }
  return r;
}

class ConcentrationTableTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator('.'); }
};

// The general (high precision) cell: the plain conversion with its leading
// blank, reading back as the value to 15 digits.
void ExpectGeneral(const std::string& cell, double value) {
  ASSERT_FALSE(cell.empty());
  EXPECT_EQ(cell[0], value < 0 ? '-' : ' ') << cell;
  EXPECT_NEAR(std::strtod(cell.c_str(), nullptr), value, std::fabs(value) * 1e-14) << cell;
}

TEST_F(ConcentrationTableTest, GeometryAndHeadingsOfBothTypes) {
  ProjectState t = MetalLigandModel(kTitration);
  ConcentrationTable titration = MakeConcentrationTable(t, HandResults(t, 6), TablePrecision::kNormal, "now");
  ASSERT_EQ(titration.cells.size(), 7u);
  EXPECT_EQ(titration.cells[0], (Strings{"", "Titre", "total M", "total L", "total H", "free M", "free L", "pH(calc)",
                                         "ML", "OH", "LH", "MH-2(s)"}));
  for (const auto& row : titration.cells) EXPECT_EQ(row.size(), 2u * 3 + 3 + 1 + 2);

  ProjectState d = MetalLigandModel(kDistribution);
  ConcentrationTable distribution = MakeConcentrationTable(d, HandResults(d, 6), TablePrecision::kNormal, "now");
  ASSERT_EQ(distribution.cells.size(), 7u);
  EXPECT_EQ(distribution.cells[0],
            (Strings{"", "total M", "total L", "total H", "free M", "free L", "p(H)", "ML", "OH", "LH", "MH-2(s)"}));
  for (const auto& row : distribution.cells) EXPECT_EQ(row.size(), titration.cells[0].size() - 1);

  for (int p = 1; p <= 6; ++p) {
    EXPECT_EQ(titration.cells[static_cast<std::size_t>(p)][0], " " + std::to_string(p));
    EXPECT_EQ(distribution.cells[static_cast<std::size_t>(p)][0], " " + std::to_string(p));
  }
}

TEST_F(ConcentrationTableTest, TitrationCellsInBothPrecisions) {
  ProjectState s = MetalLigandModel(kTitration);
  SeriesResults r = HandResults(s, 6);
  Strings normal = MakeConcentrationTable(s, r, TablePrecision::kNormal, "").cells[3];
  Strings high = MakeConcentrationTable(s, r, TablePrecision::kHigh, "").cells[3];
  // Point 3 of 6: 2 mL added to 20 mL.
  EXPECT_EQ(normal, (Strings{" 3", "2.0000E+00", "9.091e-04", "1.818e-03", "-4.545e-03", "2.500e-06", "1.230e-05",
                             "7.250", "1.4300E-05", "1.5300E-05", "1.6300E-05", "0.0000E+00"}));
  EXPECT_EQ(Strings(high.begin(), high.begin() + 5), Strings(normal.begin(), normal.begin() + 5));
  EXPECT_EQ(high[5], " 2.5E-06");
  ExpectGeneral(high[6], 1.23e-5);
  EXPECT_EQ(high[7], "7.2500");
  EXPECT_EQ(high[8], " 1.43E-05");
  EXPECT_EQ(high[11], " 0");

  // The first and last rows: no titrant, then all 5 mL.
  Strings first = MakeConcentrationTable(s, r, TablePrecision::kNormal, "").cells[1];
  Strings last = MakeConcentrationTable(s, r, TablePrecision::kHigh, "").cells[6];
  EXPECT_EQ(first[1], "0.0000E+00");
  EXPECT_EQ(first[4], "5.000e-03");
  EXPECT_EQ(last[1], "5.0000E+00");
  EXPECT_EQ(last[4], "-1.600e-02");  // (0.1 - 0.5) mmol in 25 mL
}

TEST_F(ConcentrationTableTest, DistributionCellsAndThePXGivenReagent) {
  ProjectState s = MetalLigandModel(kDistribution);
  SeriesResults r = HandResults(s, 6);
  Strings normal = MakeConcentrationTable(s, r, TablePrecision::kNormal, "").cells[3];
  Strings high = MakeConcentrationTable(s, r, TablePrecision::kHigh, "").cells[3];
  EXPECT_EQ(normal, (Strings{" 3", "1.400e-03", "3.000e-03", "1.235e-03", "2.500e-06", "1.230e-05", "6.0000",
                             "1.430e-05", "1.530e-05", "1.630e-05", "0.000e+00"}));
  // Given totals keep three decimals; the recomputed total of the pX-given
  // proton and the values switch to the general form; the pX keeps four.
  EXPECT_EQ(high[1], "1.400e-03");
  EXPECT_EQ(high[2], "3.000e-03");
  EXPECT_EQ(high[3], " .00123456789");
  EXPECT_EQ(high[4], " 2.5E-06");
  EXPECT_EQ(high[6], "6.0000");
  EXPECT_EQ(high[7], " 1.43E-05");
  EXPECT_EQ(high[10], " 0");
}

TEST_F(ConcentrationTableTest, ColumnWidths) {
  ProjectState t = MetalLigandModel(kTitration);
  SeriesResults rt = HandResults(t, 3);
  EXPECT_EQ(MakeConcentrationTable(t, rt, TablePrecision::kNormal, "").columnWidthsTwips,
            (std::vector<int>{420, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100}));
  EXPECT_EQ(MakeConcentrationTable(t, rt, TablePrecision::kHigh, "").columnWidthsTwips,
            (std::vector<int>{420, 1100, 1110, 1110, 1110, 2100, 2100, 1100, 2100, 2100, 2100, 2100}));
  ProjectState d = MetalLigandModel(kDistribution);
  EXPECT_EQ(MakeConcentrationTable(d, HandResults(d, 3), TablePrecision::kHigh, "").columnWidthsTwips,
            (std::vector<int>{420, 1110, 1110, 1110, 2100, 2100, 2100, 2100, 2100, 2100, 2100}));
}

// The pH column follows the proton index: a reagent named "Proton" gets it, a
// reagent named "H" that is not the proton shows its free concentration, and a
// distribution's total-given proton shows the pH too.
TEST_F(ConcentrationTableTest, ThePHColumnFollowsTheProton) {
  ProjectState s = MetalLigandModel(kTitration);
  s.name(3) = " Proton ";
  SeriesResults r = HandResults(s, 3);
  ConcentrationTable table = MakeConcentrationTable(s, r, TablePrecision::kNormal, "");
  EXPECT_EQ(table.cells[0][7], "pH(calc)");
  EXPECT_EQ(table.cells[3][7], "7.250");

  s.name(2) = "H";
  s.proton = 3;  // "H" and "PROTON": the later one is the proton
  table = MakeConcentrationTable(s, r, TablePrecision::kNormal, "");
  EXPECT_EQ(table.cells[0][6], "free H");
  EXPECT_EQ(table.cells[3][6], "1.230e-05");

  ProjectState d = MetalLigandModel(kDistribution);
  d.flag(3, 1) = true;
  SeriesResults rd = HandResults(d, 3);
  rd.speciesConc(3, 2) = 0;  // an absent proton has no pH
  table = MakeConcentrationTable(d, rd, TablePrecision::kHigh, "");
  EXPECT_EQ(table.cells[0][6], "pH(calc)");
  EXPECT_EQ(table.cells[3][6], "6.0000");
  EXPECT_EQ(table.cells[2][6], "");
  EXPECT_EQ(table.columnWidthsTwips[6], 1100);
}

TEST_F(ConcentrationTableTest, FailedOrStaleSeriesShowsHeadingsOnly) {
  ProjectState s = MetalLigandModel(kTitration);
  SeriesResults failed = HandResults(s, 6);
  failed.ifail = kIterationLimit;
  EXPECT_EQ(MakeConcentrationTable(s, failed, TablePrecision::kNormal, "").cells.size(), 1u);
  SeriesResults small = HandResults(s, 6);
  small.npoints = 50;  // arrays hold 6 points
  EXPECT_EQ(MakeConcentrationTable(s, small, TablePrecision::kNormal, "").cells.size(), 1u);
  SeriesResults none;
  ConcentrationTable empty = MakeConcentrationTable(s, none, TablePrecision::kHigh, "");
  EXPECT_EQ(empty.cells.size(), 1u);
  EXPECT_EQ(empty.cells[0].size(), 12u);
  EXPECT_NE(ConcentrationTableText(s, empty).find("( 0  points)"), std::string::npos);
}

// A monoprotic acid titrated with hydroxide over two points, without solids.
ProjectState AcidModel() {
  ProjectState s;
  s.title = "Acid";
  s.nreag = 2;
  s.nspecies = 2;
  s.nsoluble = 4;
  AllocateModel(s);
  s.name(1) = "A";
  s.name(2) = "H";
  s.proton = 2;
  s.a(1, 1) = s.a(2, 1) = 1;
  s.logbeta(1) = 4.75;
  s.a(2, 2) = -1;
  s.logbeta(2) = static_cast<float>(-13.78);
  s.volume[0] = 10;
  s.vfinal = 12;
  s.total(1, 0) = s.total(2, 0) = 0.1;
  s.burette(2, 0) = -0.1;
  s.flag(1, 0) = s.flag(2, 0) = s.flag(1, 1) = s.flag(2, 1) = true;
  return s;
}

SeriesResults AcidResults(const ProjectState& s) {
  SeriesResults r = HandResults(s, 2);
  const double values[2][4] = {{1e-5, 1e-3, 9.99e-3, 1e-11}, {8e-3, 1e-11, 5e-9, 1.5e-3}};
  for (int p = 1; p <= 2; ++p)
    for (int k = 1; k <= 4; ++k) r.speciesConc(k, p) = values[p - 1][k - 1];
  return r;
}

TEST_F(ConcentrationTableTest, ClipboardTextOfATitration) {
  ProjectState s = AcidModel();
  ConcentrationTable table = MakeConcentrationTable(s, AcidResults(s), TablePrecision::kNormal, "2024-01-02 03:04:05");
  const std::string expected =
      "Tarn2009 - Concentration table. Created at 2024-01-02 03:04:05\r"
      "Acid\r"
      "Initial volume 10.0 ml Final volume 12.0 ml\r"
      "concentrations /mol dm-3: ( 2  points)\r\r"
      "\r\tlog beta\r"
      "AH\t4.75\r"
      "H-1\t-13.78\r"
      "\tTitre\ttotal A\ttotal H\tfree A\tpH(calc)\tAH\tOH\r"
      " 1\t0.0000E+00\t1.000e-02\t1.000e-02\t1.000e-05\t3.000\t9.9900E-03\t1.0000E-11\r"
      " 2\t2.0000E+00\t8.333e-03\t-8.333e-03\t8.000e-03\t11.000\t5.0000E-09\t1.5000E-03";
  EXPECT_EQ(ConcentrationTableText(s, table), expected);
}

TEST_F(ConcentrationTableTest, ClipboardTextOfADistributionAndOfSolids) {
  ProjectState s = AcidModel();
  s.type = kDistribution;
  s.volume[1] = 1;
  s.initial(1, 1) = s.final(1, 1) = 0.01;
  s.flag(2, 1) = false;
  s.pxi(2, 1) = 2;
  s.pxf(2, 1) = 12;
  std::string text =
      ConcentrationTableText(s, MakeConcentrationTable(s, HandResults(s, 21), TablePrecision::kHigh, "x"));
  EXPECT_EQ(
      text.rfind("Tarn2009 - Concentration table. Created at x\rAcid\r\rconcentrations /mol dm-3: ( 21  points)\r", 0),
      0u);
  EXPECT_NE(text.find("H-1\t-13.78\r\ttotal A\ttotal H\tfree A\tp(H)\tAH\tOH\r 1\t"), std::string::npos);
  EXPECT_NE(text.back(), '\r');
  EXPECT_NE(text.find("\r 21\t"), std::string::npos);

  ProjectState m = MetalLigandModel(kTitration);
  m.logksp(1) = static_cast<float>(-15.123456);
  text = ConcentrationTableText(m, MakeConcentrationTable(m, HandResults(m, 3), TablePrecision::kNormal, ""));
  EXPECT_NE(text.find("\r\tlog beta\rML\t5.5\rH-1\t-13.78\rLH\t9.25\rMH-2(s)\t-15.1235\r\tTitre\t"), std::string::npos);
}

TEST_F(ConcentrationTableTest, PatternsFollowTheLocaleButCsvDoesNot) {
  SetDecimalSeparator(',');
  ProjectState s = AcidModel();
  SeriesResults r = AcidResults(s);
  ConcentrationTable table = MakeConcentrationTable(s, r, TablePrecision::kNormal, "");
  EXPECT_EQ(table.captions[2], "Initial volume 10,0 ml Final volume 12,0 ml");
  EXPECT_EQ(table.cells[2][5], "11,000");
  std::string csv = ConcentrationTableCsv(s, r);
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) EXPECT_EQ(std::count(line.begin(), line.end(), ','), 7) << line;
}

std::vector<Strings> ParseCsv(const std::string& csv) {
  std::vector<Strings> rows;
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    Strings fields{""};
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        fields.emplace_back();
      } else {
        fields.back() += c;
      }
    }
    rows.push_back(fields);
  }
  return rows;
}

TEST_F(ConcentrationTableTest, CsvHasTheTableColumnsAtFullPrecision) {
  ProjectState s = AcidModel();
  s.name(1) = "A, \"acid\"";
  SeriesResults r = AcidResults(s);
  r.speciesConc(1, 1) = 1.0 / 3.0;
  r.speciesConc(3, 2) = 2.0 / 7.0 * 1e-9;
  r.speciesConc(2, 2) = 0;  // no pH
  std::vector<Strings> rows = ParseCsv(ConcentrationTableCsv(s, r));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (Strings{"point", "Titre", "total A, \"acid\"", "total H", "free A, \"acid\"", "pH(calc)",
                              "A, \"acid\"H", "OH"}));
  EXPECT_EQ(rows[1][0], "1");
  EXPECT_EQ(rows[2][0], "2");
  EXPECT_EQ(std::strtod(rows[1][4].c_str(), nullptr), 1.0 / 3.0);
  EXPECT_EQ(std::strtod(rows[2][6].c_str(), nullptr), 2.0 / 7.0 * 1e-9);
  EXPECT_DOUBLE_EQ(std::strtod(rows[2][1].c_str(), nullptr), 2.0);
  EXPECT_DOUBLE_EQ(std::strtod(rows[2][3].c_str(), nullptr), (0.1 - 0.2) / 12);
  EXPECT_NEAR(std::strtod(rows[1][5].c_str(), nullptr), 3.0, 1e-15);
  EXPECT_EQ(rows[2][5], "");

  r.ifail = kIterationLimit;
  EXPECT_EQ(ParseCsv(ConcentrationTableCsv(s, r)).size(), 1u);
}

TEST_F(ConcentrationTableTest, FullPrecisionTextReadsBackExactly) {
  SetDecimalSeparator(',');
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int n = 0; n < 2000; ++n) {
    double x = std::ldexp(mantissa(random), exponent(random));
    std::string text = FullPrecisionText(x);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), x) << text;
    EXPECT_EQ(text.find(','), std::string::npos);
  }
  EXPECT_EQ(FullPrecisionText(0.1), "0.10000000000000001");
  EXPECT_EQ(FullPrecisionText(-std::ldexp(1.0, -22)), "-2.384185791015625e-07");
  EXPECT_EQ(FullPrecisionText(12), "12");
}

}  // namespace
}  // namespace tarn

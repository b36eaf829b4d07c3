#include "core/tables/concentration_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "core/model/number_text.h"
#include "support/model_builder.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using namespace test;

// Reagents M, L, H (the proton); species ML, H-1 and LH; the solid MH-2(s).
// Titration: 20 mL holding 0.02 mmol M, 0.04 mmol L and 0.1 mmol H, titrated
// to 25 mL with 0.1 M hydroxide. Distribution: M from 0.001 to 0.002 M, L
// 0.003 M, pH 2 to 12.
ProjectState MetalLigandModel(int type) {
  ProjectState s = ModelBuilder({"M", "L", "H"})
                       .Species(5.5, {1, 1, 0})
                       .Species(-13.78, {0, 0, -1})
                       .Species(9.25, {0, 1, 1})
                       .Solid(12.5, {1, 0, -2})
                       .Build();
  MakeDistribution(s, 6);
  SetTotal(s, 1, 0.001, 0.002);
  SetTotal(s, 2, 0.003, 0.003);
  SetPX(s, 3, 2, 12);
  MakeTitration(s, 20, 25, 6);
  SetTitrant(s, 1, 0.02, 0);
  SetTitrant(s, 2, 0.04, 0);
  SetTitrant(s, 3, 0.1, -0.1);
  s.type = type;
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

ConcentrationTable Table(const ProjectState& s, const SeriesResults& r, TablePrecision precision) {
  return MakeConcentrationTable(s, r, precision, "");
}

TEST(ConcentrationTable, TitrationHeadingsAndCellsInBothPrecisions) {
  ProjectState s = MetalLigandModel(kTitration);
  SeriesResults r = HandResults(s, 6);
  const ConcentrationTable normal = Table(s, r, TablePrecision::kNormal), high = Table(s, r, TablePrecision::kHigh);
  ASSERT_EQ(normal.cells.size(), 7u);
  EXPECT_EQ(normal.cells[0], (Strings{"", "Titre", "total M", "total L", "total H", "free M", "free L", "pH(calc)",
                                      "ML", "OH", "LH", "MH-2(s)"}));
  for (int p = 1; p <= 6; ++p) EXPECT_EQ(normal.cells[static_cast<std::size_t>(p)][0], " " + std::to_string(p));
  // Point 3 of 6: 2 mL added to 20 mL.
  EXPECT_EQ(normal.cells[3], (Strings{" 3", "2.0000E+00", "9.091e-04", "1.818e-03", "-4.545e-03", "2.500e-06",
                                      "1.230e-05", "7.250", "1.4300E-05", "1.5300E-05", "1.6300E-05", "0.0000E+00"}));
  EXPECT_EQ(Strings(high.cells[3].begin(), high.cells[3].begin() + 5),
            Strings(normal.cells[3].begin(), normal.cells[3].begin() + 5));
  EXPECT_EQ(Strings(high.cells[3].begin() + 5, high.cells[3].end()),
            (Strings{" 2.5E-06", " 1.23E-05", "7.2500", " 1.43E-05", " 1.53E-05", " 1.63E-05", " 0"}));
  // The first and last rows: no titrant, then all 5 mL: (0.1 - 0.5) mmol of H in 25 mL.
  EXPECT_EQ(normal.cells[1][1], "0.0000E+00");
  EXPECT_EQ(normal.cells[1][4], "5.000e-03");
  EXPECT_EQ(high.cells[6][1], "5.0000E+00");
  EXPECT_EQ(high.cells[6][4], "-1.600e-02");
  EXPECT_EQ(normal.columnWidthsTwips,
            (std::vector<int>{420, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100}));
  EXPECT_EQ(high.columnWidthsTwips,
            (std::vector<int>{420, 1100, 1110, 1110, 1110, 2100, 2100, 1100, 2100, 2100, 2100, 2100}));
}

TEST(ConcentrationTable, DistributionHeadingsCellsAndThePXGivenReagent) {
  ProjectState s = MetalLigandModel(kDistribution);
  SeriesResults r = HandResults(s, 6);
  const ConcentrationTable normal = Table(s, r, TablePrecision::kNormal), high = Table(s, r, TablePrecision::kHigh);
  EXPECT_EQ(normal.cells[0],
            (Strings{"", "total M", "total L", "total H", "free M", "free L", "p(H)", "ML", "OH", "LH", "MH-2(s)"}));
  EXPECT_EQ(normal.cells[3], (Strings{" 3", "1.400e-03", "3.000e-03", "1.235e-03", "2.500e-06", "1.230e-05", "6.0000",
                                      "1.430e-05", "1.530e-05", "1.630e-05", "0.000e+00"}));
  // Given totals keep three decimals; the recomputed total of the pX-given
  // proton and the values switch to the general form; the pX keeps four.
  EXPECT_EQ(high.cells[3], (Strings{" 3", "1.400e-03", "3.000e-03", " .00123456789", " 2.5E-06", " 1.23E-05", "6.0000",
                                    " 1.43E-05", " 1.53E-05", " 1.63E-05", " 0"}));
  EXPECT_EQ(high.columnWidthsTwips,
            (std::vector<int>{420, 1110, 1110, 1110, 2100, 2100, 2100, 2100, 2100, 2100, 2100}));
}

// The pH column follows the proton index: a reagent named "Proton" gets it, a
// reagent named "H" that is not the proton shows its free concentration, and a
// distribution's total-given proton shows the pH too.
TEST(ConcentrationTable, ThePHColumnFollowsTheProton) {
  ProjectState s = MetalLigandModel(kTitration);
  s.name(3) = " Proton ";
  SeriesResults r = HandResults(s, 3);
  ConcentrationTable table = Table(s, r, TablePrecision::kNormal);
  EXPECT_EQ(table.cells[0][7], "pH(calc)");
  EXPECT_EQ(table.cells[3][7], "7.250");
  s.name(2) = "H";  // "H" and "PROTON": the later one is the proton
  table = Table(s, r, TablePrecision::kNormal);
  EXPECT_EQ(table.cells[0][6], "free H");
  EXPECT_EQ(table.cells[3][6], "1.230e-05");

  ProjectState d = MetalLigandModel(kDistribution);
  d.flag(3, 1) = true;
  SeriesResults rd = HandResults(d, 3);
  rd.speciesConc(3, 2) = 0;  // an absent proton has no pH
  table = Table(d, rd, TablePrecision::kHigh);
  EXPECT_EQ(table.cells[0][6], "pH(calc)");
  EXPECT_EQ(table.cells[3][6], "6.0000");
  EXPECT_EQ(table.cells[2][6], "");
  EXPECT_EQ(table.columnWidthsTwips[6], 1100);
}

// A series calculated with an activity correction shows -log[H] and
// -log a(H) side by side and the ionic strength of every point, in the grid,
// the csv and the copy, whose line after the constants names the correction.
TEST(ConcentrationTable, AnActivityCorrectionShowsBothPHsAndTheIonicStrength) {
  ProjectState s = MetalLigandModel(kTitration);
  s.activity.correction = ActivityCorrection::kDavies;
  SeriesResults r = HandResults(s, 3);
  const Strings plainHeadings = Table(s, r, TablePrecision::kNormal).cells[0];
  r.activity = true;
  r.ionicStrength.Resize(3);
  r.pHActivity.Resize(3);
  for (int p = 1; p <= 3; ++p) {
    r.ionicStrength(p) = 0.125 * p;
    r.pHActivity(p) = 7.25 + 0.25 * p;
  }
  const ConcentrationTable normal = Table(s, r, TablePrecision::kNormal), high = Table(s, r, TablePrecision::kHigh);
  EXPECT_EQ(normal.cells[0], (Strings{"", "Titre", "total M", "total L", "total H", "free M", "free L", "-log[H]",
                                      "-log a(H)", "ionic strength", "ML", "OH", "LH", "MH-2(s)"}));
  EXPECT_EQ(Strings(normal.cells[3].begin() + 7, normal.cells[3].begin() + 10),
            (Strings{"7.250", "8.000", "3.750e-01"}));
  EXPECT_EQ(Strings(high.cells[3].begin() + 7, high.cells[3].begin() + 10), (Strings{"7.2500", "8.0000", " .375"}));
  EXPECT_EQ(normal.columnWidthsTwips[8], 1100);
  EXPECT_EQ(normal.activityLine,
            "Davies activity correction; constants at I = 0.1 mol dm-3; ionic strength calculated at every point");
  const std::string text = ConcentrationTableText(s, normal);
  EXPECT_NE(text.find("MH-2(s)\t12.5\rDavies activity correction; constants at I = 0.1 mol dm-3; ionic strength "
                      "calculated at every point\r\tTitre"),
            std::string::npos)
      << text;
  const std::string csv = ConcentrationTableCsv(s, r);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "point,Titre,total M,total L,total H,free M,free L,-log[H],-log a(H),ionic strength,ML,OH,LH,MH-2(s)");
  EXPECT_NE(csv.find(",7.25,8,0.375,"), std::string::npos) << csv;

  // A fixed ionic strength at 37 degrees, extended Debye-Hueckel, a pX-given proton.
  s.type = kDistribution;
  s.activity.correction = ActivityCorrection::kDebyeHuckel;
  s.activity.calculated = false;
  s.activity.fixedStrength = 0.5;
  s.activity.celsius = 37;
  r.flagNow(3) = false;
  const ConcentrationTable distribution = Table(s, r, TablePrecision::kNormal);
  EXPECT_EQ(Strings(distribution.cells[0].begin() + 6, distribution.cells[0].begin() + 9),
            (Strings{"-log[H]", "-log a(H)", "ionic strength"}));
  EXPECT_EQ(distribution.activityLine,
            "extended Debye-Hueckel activity correction; constants at I = 0.1 mol dm-3; ionic strength 0.5 mol dm-3; "
            "37.0 degrees C");

  // Results without the correction's arrays show no points; without the
  // correction the table is the one it always was.
  r.ionicStrength.Resize(1);
  EXPECT_EQ(TablePoints(s, r), 0);
  r.activity = false;
  s.type = kTitration;
  EXPECT_EQ(Table(s, r, TablePrecision::kNormal).cells[0], plainHeadings);
  EXPECT_EQ(ActivityLine(s, r), "");
}

TEST(ConcentrationTable, FailedOrStaleSeriesShowsHeadingsOnly) {
  ProjectState s = MetalLigandModel(kTitration);
  SeriesResults failed = HandResults(s, 6), stale = HandResults(s, 6);
  failed.ifail = kIterationLimit;
  stale.npoints = 50;  // arrays hold 6 points
  EXPECT_EQ(Table(s, failed, TablePrecision::kNormal).cells.size(), 1u);
  EXPECT_EQ(Table(s, stale, TablePrecision::kNormal).cells.size(), 1u);
  ConcentrationTable empty = Table(s, SeriesResults{}, TablePrecision::kHigh);
  ASSERT_EQ(empty.cells.size(), 1u);
  EXPECT_EQ(empty.cells[0].size(), 12u);
  EXPECT_NE(ConcentrationTableText(s, empty).find("( 0  points)"), std::string::npos);
}

// A monoprotic acid titrated with hydroxide over two points, without solids.
ProjectState AcidModel() {
  ProjectState s = ModelBuilder({"A", "H"}).Species(4.75, {1, 1}).Species(-13.78, {0, -1}).Build();
  s.title = "Acid";
  MakeTitration(s, 10, 12, 2);
  SetTitrant(s, 1, 0.1, 0);
  SetTitrant(s, 2, 0.1, -0.1);
  return s;
}

SeriesResults AcidResults(const ProjectState& s) {
  SeriesResults r = HandResults(s, 2);
  const double values[2][4] = {{1e-5, 1e-3, 9.99e-3, 1e-11}, {8e-3, 1e-11, 5e-9, 1.5e-3}};
  for (int p = 1; p <= 2; ++p)
    for (int k = 1; k <= 4; ++k) r.speciesConc(k, p) = values[p - 1][k - 1];
  return r;
}

TEST(ConcentrationTable, ClipboardTextOfATitration) {
  ProjectState s = AcidModel();
  ConcentrationTable table = MakeConcentrationTable(s, AcidResults(s), TablePrecision::kNormal, "2024-01-02 03:04:05");
  EXPECT_EQ(ConcentrationTableText(s, table),
            "Tarn2009 - Concentration table. Created at 2024-01-02 03:04:05\r"
            "Acid\r"
            "Initial volume 10.0 ml Final volume 12.0 ml\r"
            "concentrations /mol dm-3: ( 2  points)\r\r"
            "\r\tlog beta\r"
            "AH\t4.75\r"
            "H-1\t-13.78\r"
            "\tTitre\ttotal A\ttotal H\tfree A\tpH(calc)\tAH\tOH\r"
            " 1\t0.0000E+00\t1.000e-02\t1.000e-02\t1.000e-05\t3.000\t9.9900E-03\t1.0000E-11\r"
            " 2\t2.0000E+00\t8.333e-03\t-8.333e-03\t8.000e-03\t11.000\t5.0000E-09\t1.5000E-03");
}

TEST(ConcentrationTable, ClipboardTextOfADistributionAndOfSolids) {
  ProjectState s = AcidModel();
  MakeDistribution(s, 21);
  SetTotal(s, 1, 0.01, 0.01);
  SetPX(s, 2, 2, 12);
  std::string text =
      ConcentrationTableText(s, MakeConcentrationTable(s, HandResults(s, 21), TablePrecision::kHigh, "x"));
  EXPECT_EQ(
      text.rfind("Tarn2009 - Concentration table. Created at x\rAcid\r\rconcentrations /mol dm-3: ( 21  points)\r", 0),
      0u);
  EXPECT_NE(text.find("H-1\t-13.78\r\ttotal A\ttotal H\tfree A\tp(H)\tAH\tOH\r 1\t"), std::string::npos);
  EXPECT_NE(text.find("\r 21\t"), std::string::npos);
  EXPECT_NE(text.back(), '\r');

  ProjectState m = MetalLigandModel(kTitration);
  m.logksp(1) = static_cast<float>(-15.123456);
  text = ConcentrationTableText(m, Table(m, HandResults(m, 3), TablePrecision::kNormal));
  EXPECT_NE(text.find("\r\tlog beta\rML\t5.5\rH-1\t-13.78\rLH\t9.25\rMH-2(s)\t-15.1235\r\tTitre\t"), std::string::npos);
}

TEST(ConcentrationTable, CaptionsFollowTheLocaleButCsvIsFullPrecisionWithADecimalPoint) {
  ProjectState s = AcidModel();
  s.name(1) = "A, \"acid\"";
  SeriesResults r = AcidResults(s);
  r.speciesConc(1, 1) = 1.0 / 3.0;
  r.speciesConc(3, 2) = 2.0 / 7.0 * 1e-9;
  r.speciesConc(2, 2) = 0;  // no pH
  SetDecimalSeparator(',');
  ConcentrationTable table = Table(s, r, TablePrecision::kNormal);
  EXPECT_EQ(table.captions[2], "Initial volume 10,0 ml Final volume 12,0 ml");
  EXPECT_EQ(table.cells[1][5], "3,000");
  const std::string text = ConcentrationTableCsv(s, r);
  SetDecimalSeparator('.');
  // Records end in CR LF (RFC 4180); no line break stands alone.
  std::string lf;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      EXPECT_EQ(i > 0 ? text[i - 1] : ' ', '\r') << i;
    }
  for (char c : text)
    if (c != '\r') lf += c;
  std::istringstream csv(lf);
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line,
            "point,Titre,\"total A, \"\"acid\"\"\",total H,\"free A, \"\"acid\"\"\",pH(calc),\"A, \"\"acid\"\"H\",OH");
  std::vector<Strings> rows;
  while (std::getline(csv, line)) {
    std::istringstream fields(line + ",");
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
  }
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(rows[1].size(), 8u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(std::strtod(rows[0][4].c_str(), nullptr), 1.0 / 3.0);
  EXPECT_NEAR(std::strtod(rows[0][5].c_str(), nullptr), 3.0, 1e-15);
  EXPECT_EQ(std::strtod(rows[1][1].c_str(), nullptr), 2.0);
  EXPECT_DOUBLE_EQ(std::strtod(rows[1][3].c_str(), nullptr), (0.1 - 0.2) / 12);
  EXPECT_EQ(rows[1][5], "");
  EXPECT_EQ(std::strtod(rows[1][6].c_str(), nullptr), 2.0 / 7.0 * 1e-9);
  r.ifail = kIterationLimit;
  const std::string failed = ConcentrationTableCsv(s, r);
  EXPECT_EQ(failed.substr(failed.find("\r\n")), "\r\n");  // the header only
}

TEST(ConcentrationTable, FullPrecisionTextIsSeventeenDigitsWithADecimalPoint) {
  SetDecimalSeparator(',');
  EXPECT_EQ(FullPrecisionText(0.1), "0.10000000000000001");
  EXPECT_EQ(FullPrecisionText(-std::ldexp(1.0, -22)), "-2.384185791015625e-07");
  EXPECT_EQ(FullPrecisionText(12), "12");
  SetDecimalSeparator('.');
}

}  // namespace
}  // namespace tarn

#include "core/tables/single_points.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "support/model_builder.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using namespace test;

constexpr double kLogBeta = 4;

// Reagents M, L and H (the proton); species ML, LH and the hydroxide; the
// solid ML(s), soluble enough to stay dissolved at the defaults.
ProjectState Model(double logKspOfSolid = -1) {
  return ModelBuilder({"M", "L", "H"})
      .Species(kLogBeta, {1, 1, 0})
      .Species(9, {0, 1, 1})
      .Species(-14, {0, 0, -1})
      .Solid(logKspOfSolid, {1, 1, 0})
      .Build();
}

SinglePointRun CalculateAll(const ProjectState& s, RecordingSink& sink) {
  SolverWork work;
  return CalculateSinglePoints(s, work, SinglePointSinks{sink, sink, sink});
}

TEST(SinglePoints, NewPointIsAtPH7WithTotalsOfOneHundredth) {
  ProjectState s = Model();
  AddSinglePoint(s);
  AddSinglePoint(s);
  EXPECT_TRUE(s.modified);
  ASSERT_EQ(s.nsingle, 2);
  Strings column;
  for (int row = 0; row <= 6; ++row) column.push_back(ConditionsLabel(s, row) + "=" + ConditionsCell(s, row, 2));
  EXPECT_EQ(column, (Strings{"conditions=point 2", "total M=0.01", "total L=0.01", "total H=(set pX)",
                             "p(M)=(set total)", "p(L)=(set total)", "p(H)=7.0"}));
  EXPECT_EQ(ResultsLabel(s, 6), "OH");
  EXPECT_EQ(ResultsLabel(s, 7), "ML(s)");
}

TEST(SinglePoints, AddingRemovingAndSwitchingKeepTheOtherPoints) {
  ProjectState s = Model();
  for (int p = 1; p <= 3; ++p) {
    AddSinglePoint(s);
    s.stotal(1, p) = p / 100.0;
  }
  ToggleSinglePointFlag(s, 3, 3);
  EXPECT_TRUE(s.sflag(3, 3));
  EXPECT_TRUE(RemoveSinglePoint(s, 2));
  ASSERT_EQ(s.nsingle, 2);
  EXPECT_DOUBLE_EQ(s.stotal(1, 1), 0.01);
  EXPECT_DOUBLE_EQ(s.stotal(1, 2), 0.03);
  EXPECT_TRUE(s.sflag(3, 2));
  EXPECT_EQ(s.stotal.Upper2(), 2);
  EXPECT_FALSE(RemoveSinglePoint(s, 3));
  EXPECT_EQ(s.nsingle, 2);
}

// A negative total is used as it is, so it is shown as it is.
TEST(SinglePoints, TotalTexts) {
  using Case = std::pair<double, const char*>;
  for (auto [total, text] :
       {Case{0, "0.0"}, Case{1e-45, "0.0"}, Case{0.000012345, "1.235E-05"}, Case{0.01, "0.01"}, Case{-0.02, "-0.02"}})
    EXPECT_EQ(SingleTotalText(total), text);
  EXPECT_EQ(SinglePXText(7.123456), "7.1235");
}

// At pH 7 with the defaults, M and L balance against ML and LH alone:
// m + K m l = 0.01 and l (1 + 10^(9-7)) + K m l = 0.01.
TEST(SinglePoints, DefaultPointSatisfiesItsMassBalances) {
  ProjectState s = Model();
  AddSinglePoint(s);
  RecordingSink sink;
  SinglePointRun run = CalculateAll(s, sink);
  EXPECT_TRUE(sink.messages.empty());
  const SinglePointResult& r = run.points[1];
  ASSERT_EQ(r.status, SinglePointStatus::kCalculated);
  const double m = r.freeConc(1), l = r.freeConc(2), ml = r.conc(1), lh = r.conc(2);
  EXPECT_NEAR(ml, std::pow(10.0, kLogBeta) * m * l, 1e-9 * ml);
  EXPECT_NEAR(lh, 100 * l, 1e-9 * lh);
  EXPECT_NEAR(m + ml, 0.01, 1e-9);
  EXPECT_NEAR(l + ml + lh, 0.01, 1e-9);
  EXPECT_NEAR(r.conc(3), std::pow(10.0, -7.0), 1e-15);  // OH at pH 7

  const Strings cells = SinglePointResultCells(s, r);
  EXPECT_TRUE(cells[3].empty());  // the proton's free concentration is an input
  EXPECT_EQ(cells[7], "zero");    // the solid did not precipitate
  EXPECT_EQ(cells[4].size(), 11u);
  EXPECT_EQ(cells[4].substr(7, 2), "E-");
}

// A sparingly soluble ML(s) precipitates at the same point: its ion product
// equals Ksp and the amounts balance.
TEST(SinglePoints, SolidPrecipitatesAtTheSamePoint) {
  ProjectState s = Model(-7);
  AddSinglePoint(s);
  RecordingSink sink;
  SinglePointRun run = CalculateAll(s, sink);
  const SinglePointResult& r = run.points[1];
  ASSERT_EQ(r.status, SinglePointStatus::kCalculated);
  ASSERT_TRUE(r.precipitated(1));
  const double m = r.freeConc(1), l = r.freeConc(2), solid = r.solidAmount(1);
  EXPECT_NEAR(std::log10(m * l), -7, 1e-5);
  EXPECT_GT(solid, 0);
  EXPECT_NEAR(m + r.conc(1) + solid, 0.01, 1e-9);
  EXPECT_NE(SinglePointResultCells(s, r)[7], "zero");
}

// Calcium carbonate as aragonite (log Ksp -8.34, listed first) and calcite
// (-8.48), both supersaturated at 1e-3 M and pH 10: only calcite forms, with
// [Ca] = sqrt(Ksp alpha) where alpha is the carbonate's side-reaction
// coefficient. Both used to join at once and fail on their equal formulas.
TEST(SinglePoints, OfTwoPolymorphsOnlyTheLessSolubleForms) {
  ProjectState s = ModelBuilder({"Ca", "CO3", "H"})
                       .Species(10.33, {0, 1, 1})
                       .Species(16.68, {0, 1, 2})
                       .Species(-13.78, {0, 0, -1})
                       .Solid(-8.34, {1, 1, 0})
                       .Solid(-8.48, {1, 1, 0})
                       .Build();
  AddSinglePoint(s);
  s.stotal(1, 1) = s.stotal(2, 1) = 1e-3;
  s.sfree(3, 1) = 10;
  RecordingSink sink;
  SinglePointRun run = CalculateAll(s, sink);
  EXPECT_TRUE(sink.messages.empty());
  const SinglePointResult& r = run.points[1];
  ASSERT_EQ(r.status, SinglePointStatus::kCalculated);
  const double h = 1e-10, alpha = 1 + std::pow(10.0, 10.33) * h + std::pow(10.0, 16.68) * h * h;
  const double calcium = std::sqrt(std::pow(10.0, -8.48) * alpha);
  EXPECT_FALSE(r.precipitated(1));
  ASSERT_TRUE(r.precipitated(2));
  EXPECT_NEAR(r.freeConc(1) / calcium, 1, 1e-6);
  EXPECT_NEAR(r.solidAmount(2) / (1e-3 - calcium), 1, 1e-6);
  EXPECT_EQ(SinglePointResultCells(s, r)[7], "zero");
}

TEST(SinglePoints, ZeroTotalStopsWithItsMessageAndEarlierPointsKeepResults) {
  ProjectState s = Model();
  for (int p = 1; p <= 3; ++p) AddSinglePoint(s);
  s.stotal(2, 2) = 0;
  s.refine(2) = kRefineIgnore;
  RecordingSink sink;
  SinglePointRun run = CalculateAll(s, sink);
  EXPECT_EQ(sink.messages, Strings{"Total concentration of L cannot be zero when pX is not specified"});
  EXPECT_TRUE(run.stopped);
  EXPECT_EQ(run.points[1].status, SinglePointStatus::kCalculated);
  EXPECT_EQ(run.points[2].status, SinglePointStatus::kFailed);
  EXPECT_EQ(run.points[3].status, SinglePointStatus::kNotReached);
  EXPECT_TRUE(SinglePointResultCells(s, run.points[1])[5].empty());  // LH is ignored
  for (const std::string& cell : SinglePointResultCells(s, run.points[2])) EXPECT_TRUE(cell.empty());
}

TEST(SinglePoints, ImpossibleConditionsGiveTheThreeLineMessage) {
  ProjectState s = Model();
  AddSinglePoint(s);
  AddSinglePoint(s);
  s.stotal(1, 2) = -0.01;  // nothing can hold a negative amount of M
  RecordingSink sink;
  SinglePointRun run = CalculateAll(s, sink);
  ASSERT_EQ(sink.messages.size(), 1u);
  const std::string& text = sink.messages[0];
  EXPECT_EQ(text.substr(0, text.find("(Ifail =")),
            "##Calculation of concentrations failed at point 2,\r probably due to impossible conditions\r");
  EXPECT_EQ(text.back(), ')');
  EXPECT_EQ(run.points[1].status, SinglePointStatus::kCalculated);
  EXPECT_TRUE(run.stopped);
}

// With an activity correction a single point is the point of a series with
// the same conditions: the same ionic strength, concentrations and pH of the
// proton's activity; a solid precipitates at its converted Ksp.
TEST(SinglePoints, ARealSolutionIsThePointOfASeriesWithTheSameConditions) {
  for (bool calculated : {true, false}) {
    ProjectState s = Model(-6.5);
    s.activity.correction = ActivityCorrection::kDavies;
    s.activity.calculated = calculated;
    s.activity.fixedStrength = 0.3;
    s.activity.charge(1) = 2;
    s.activity.charge(2) = -2;
    s.activity.charge(3) = 1;
    AddSinglePoint(s);  // M and L 0.01 M at pH 7
    AddSinglePoint(s);
    s.sflag(3, 2) = true;  // the proton by its total
    s.stotal(3, 2) = 0.005;
    RecordingSink sink;
    const SinglePointRun run = CalculateAll(s, sink);
    ASSERT_TRUE(sink.messages.empty()) << sink.messages[0];
    for (int p = 1; p <= 2; ++p) {
      ProjectState series = s;
      MakeDistribution(series, 2);
      for (int j = 1; j <= 3; ++j) {
        if (s.sflag(j, p))
          SetTotal(series, j, s.stotal(j, p), s.stotal(j, p));
        else
          SetPX(series, j, s.sfree(j, p), s.sfree(j, p));
      }
      SolverWork work;
      SeriesResults r;
      ASSERT_EQ(CalculatePoints(series, work, r, sink), kSuccess);
      const SinglePointResult& point = run.points[static_cast<std::size_t>(p)];
      ASSERT_EQ(point.status, SinglePointStatus::kCalculated);
      EXPECT_NEAR(point.ionicStrength, r.ionicStrength(1), 1e-7 * r.ionicStrength(1)) << p;
      EXPECT_NEAR(point.pHActivity, r.pHActivity(1), 1e-7) << p;
      for (int i = 1; i <= s.nspecies; ++i)
        EXPECT_NEAR(point.conc(i), r.speciesConc(s.nreag + i, 1), 1e-6 * r.speciesConc(s.nreag + i, 1)) << p;
      EXPECT_EQ(point.precipitated(1), r.speciesConc(s.ntotal(), 1) > 0) << p;
    }
    EXPECT_TRUE(run.points[1].precipitated(1));  // ML(s) at 0.01 M of each
  }
  // Without a correction a point has neither.
  ProjectState plain = Model();
  AddSinglePoint(plain);
  RecordingSink sink;
  EXPECT_TRUE(std::isnan(CalculateAll(plain, sink).points[1].ionicStrength));
}

TEST(SinglePoints, ClipboardText) {
  ProjectState s = Model();
  s.title = "demo";
  AddSinglePoint(s);
  SinglePointCells cells(2, Strings(8));
  cells[1][1] = "1.00000E-03";
  cells[1][7] = "zero";
  const std::string text = SinglePointClipboardText(s, cells, "NOW");
  const std::string expected =
      "Tarn - Single data point calculations. Created at NOW\rdemo\rconcentrations /mol dm-3\r\r"
      "Conditions\tpoint 1\t\rtotal M\t0.01\t\rtotal L\t0.01\t\rtotal H\t(set pX)\t\r"
      "p(M)\t(set total)\t\rp(L)\t(set total)\t\rp(H)\t7.0\t\r"
      "\rResults\tconcn./M\rfree M\t1.00000E-03\t\rfree L\t\t\rfree H\t\t\rML\t\t\rLH\t\t\rH-1\t\t\rML(s)\tzero\t\r"
      "\r\tlog beta\rML\t4.0\rLH\t9.0\rH-1\t-14.0\rML(s)\t-1.0\r";
  EXPECT_EQ(text, expected);
}

TEST(SinglePoints, PrintedLinesAreRightAlignedFields) {
  ProjectState s = ModelBuilder({"Metal", "L"}).Species(3, {1, 1}).Build();
  AddSinglePoint(s);
  AddSinglePoint(s);
  s.sflag(2, 2) = false;
  s.sfree(2, 2) = 7;
  SinglePointCells cells(3, Strings(4));
  cells[1][3] = "1.23456E-05";
  cells[2][3] = "too long for the field";
  const Strings lines = SinglePointPrintLines(s, cells, "NOW");
  const int width = SinglePointLabelWidth(s);
  EXPECT_EQ(width, 11);  // "Metal" + 6
  ASSERT_EQ(lines.size(), 3u + 1 + 2 + 2 + 3);
  EXPECT_EQ(lines[0], "Tarn - single data point calculations. Printed at NOW");
  EXPECT_EQ(lines[3], std::string(12, ' ') + std::string(11, ' ') + "1" + std::string(11, ' ') + "2");
  EXPECT_EQ(lines[4], "total Metal " + std::string(1, ' ') + "1.00000E-02" + " 1.00000E-02");
  EXPECT_EQ(lines[5], "    total L " + std::string(1, ' ') + "1.00000E-02" + std::string(12, ' '));
  EXPECT_EQ(lines[7], "       p(L) " + std::string(12, ' ') + "  7.00000E00");
  EXPECT_EQ(lines[10], "     MetalL " + std::string(1, ' ') + "1.23456E-05" + "or the field");
  for (std::size_t i = 3; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 12u + 2 * 12) << i;
}

}  // namespace
}  // namespace tarn

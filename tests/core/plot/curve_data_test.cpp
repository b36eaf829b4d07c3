// Curve data on calculated sample projects, checked against arithmetic done
// here from the conditions and against the mass balances.

#include "core/plot/curve_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "support/sample_series.h"

namespace tarn {
namespace {

using test::SampleSeries;

// The percentages of all species holding R add up to 100 at every point
// (free R, complexes and solids weighted by their R units).
void ExpectPercentagesAddUp(SampleSeries& s, int r) {
  PlotData data;
  data.reltoReagent = r;
  s.state.plot.yChoice = kYPercent;
  SetPlotit(s.state, r);
  ComputePlotY(s.state, s.results, data);
  for (int p = 1; p <= s.results.npoints; ++p) {
    double sum = 0;
    for (int k = 1; k <= s.state.ntotal(); ++k) {
      if (s.state.plotMark(k) == 1)
        sum += data.plotY(p, k);
      else
        EXPECT_FALSE(data.plotYSet(p, k));
    }
    ASSERT_NEAR(sum, 100, 1e-6) << "reagent " << r << " point " << p;
  }
}

TEST(CurveData, DistributionOverPhChoosesPhAndPercentagesAddUp) {
  SampleSeries s;
  s.Load("copper-glycine-distribution.cld");
  // H alone varies by its pX in a model with a proton: option 2 is off and
  // its list empty; the totals of Cu and Gly are constant.
  XChoiceRules x = SetXchoice(s.state, s.results, s.work.present);
  EXPECT_EQ(x.enabled, (std::array<bool, 5>{false, true, false, false, false}));
  EXPECT_TRUE(x.xvar.empty());
  EXPECT_TRUE(x.txOpt.empty());
  EXPECT_EQ(x.selected, kXPh);

  PlotData data;
  data.xChoice = kXPh;
  GraphX(s.state, s.results, data);
  EXPECT_EQ(data.xTitle, "pH");
  EXPECT_NEAR(data.xmin, 2, 1e-6);
  EXPECT_NEAR(data.xmax, 10, 1e-6);
  for (int p = 1; p <= 101; p += 10) EXPECT_NEAR(data.plotX(p), 2 + 0.08 * (p - 1), 1e-5);

  s.state.plot.yChoice = kYPercent;
  data.reltoReagent = 1;
  SetPlotit(s.state, 1);
  for (const char* caption : {"Cu", "CuGly", "CuGly2", "CuOH", "Cu2(OH)2"})
    EXPECT_EQ(s.state.plotMark(s.Species(caption)), 1) << caption;
  for (const char* caption : {"Gly", "H", "HGly", "OH"}) EXPECT_EQ(s.state.plotMark(s.Species(caption)), 0) << caption;
  EXPECT_EQ(correction(s.state, 1, s.Species("Cu2(OH)2")), 2);
  EXPECT_EQ(correction(s.state, 3, s.Species("OH")), -1);
  GraphY(s.state, data);
  EXPECT_EQ(data.yTitle, "% formation relative to Cu");
  EXPECT_EQ(data.ymin, 0);
  EXPECT_EQ(data.ymax, 100);
  ExpectPercentagesAddUp(s, 1);
  ExpectPercentagesAddUp(s, 2);
}

TEST(CurveData, LogAndConcentrationOptions) {
  SampleSeries s;
  s.Load("copper-glycine-distribution.cld");
  PlotData data;
  s.state.plot.yChoice = kYLog;
  s.state.plot.yLower[1] = -9, s.state.plot.yUpper[1] = -1;
  SetPlotit(s.state, 1);
  GraphY(s.state, data);
  EXPECT_EQ(data.yTitle, "Log(concentration / M)");
  EXPECT_EQ(data.ymin, -9);

  s.state.plot.yChoice = kYConcentration;
  SetPlotit(s.state, 1);
  EXPECT_EQ(s.state.plotMark(s.Species("H")), 0);
  int hydroxide = s.Species("OH");
  EXPECT_EQ(s.state.plotMark(hydroxide), 1);  // its caption is not "H-1"
  s.state.caption(hydroxide) = "H-1";
  SetPlotit(s.state, 1);
  EXPECT_EQ(s.state.plotMark(hydroxide), 0);
  GraphY(s.state, data);
  EXPECT_EQ(data.yTitle, "Concentration / M");
  ComputePlotY(s.state, s.results, data);
  EXPECT_FALSE(data.plotYSet(7, s.Species("H")));

  // A concentration of 0 has no value on the log scale: Cu absent altogether.
  s.state.initial(1, kDistribution) = s.state.final(1, kDistribution) = 0;
  s.Calculate();
  s.state.plot.yChoice = kYLog;
  SetPlotit(s.state, 1);
  ComputePlotY(s.state, s.results, data);
  EXPECT_FALSE(data.plotYSet(50, s.Species("CuGly")));
  EXPECT_TRUE(data.plotYSet(50, s.Species("Gly")));
}

TEST(CurveData, SecondPxReagentEnablesTheFreeConcentrationOption) {
  SampleSeries s;
  s.Load("copper-glycine-distribution.cld");
  s.state.flag(2, kDistribution) = false;  // Gly by its pX, 3 to 7
  s.state.pxi(2, kDistribution) = 3;
  s.state.pxf(2, kDistribution) = 7;
  s.Calculate();
  XChoiceRules x = SetXchoice(s.state, s.results, s.work.present);
  EXPECT_TRUE(x.enabled[kXFreeP]);
  EXPECT_EQ(x.xvar, (std::vector<ListEntry>{{"Gly", 2}, {"H", 3}}));
  EXPECT_EQ(x.selected, kXPh);
  PlotData data;
  data.xChoice = kXFreeP;
  data.xReagent = 2;
  GraphX(s.state, s.results, data);
  EXPECT_EQ(data.xTitle, "p(Gly)");
  for (int p = 1; p <= 101; p += 20) EXPECT_NEAR(data.plotX(p), 3 + 0.04 * (p - 1), 1e-5);
  ExpectPercentagesAddUp(s, 1);
}

TEST(CurveData, TitrationVolumeAndTotalConcentrationAxes) {
  SampleSeries s;
  s.Load("copper-glycine-titration.cld", 41);
  XChoiceRules x = SetXchoice(s.state, s.results, s.work.present);
  EXPECT_TRUE(x.enabled[kXVolume] && x.enabled[kXPh] && x.enabled[kXTotal] && x.enabled[kXLogTotal]);
  EXPECT_FALSE(x.enabled[kXFreeP]);
  EXPECT_EQ(x.txOpt.size(), 3u);
  EXPECT_EQ(x.selected, kXVolume);

  PlotData data;
  GraphX(s.state, s.results, data);
  EXPECT_EQ(data.xTitle, "titre volume / ml");
  EXPECT_NEAR(data.plotX(21), 0.8, 1e-6);  // 20 of 40 steps of 1.6 mL (single-precision volumes)
  EXPECT_NEAR(data.xmax, 1.6, 1e-6);

  data.xChoice = kXTotal;
  data.xReagent = 3;
  GraphX(s.state, s.results, data);
  EXPECT_EQ(data.xTitle, "Total concentration of H");
  double v = 0.8, expected = (0.1625 - 0.1 * v) / (25 + v);
  EXPECT_NEAR(data.plotX(21), expected, 1e-6 * expected);
  EXPECT_NEAR(data.xmin, (0.1625 - 0.16) / 26.6, 1e-4 * data.xmin);  // the last point is the smaller
  data.xChoice = kXLogTotal;
  data.xReagent = 1;
  GraphX(s.state, s.results, data);
  EXPECT_EQ(data.xTitle, "log total concentration of Cu");
  EXPECT_NEAR(data.plotX(41), std::log10(0.025 / 26.6), 1e-6);
  ExpectPercentagesAddUp(s, 1);
  ExpectPercentagesAddUp(s, 3);
}

TEST(CurveData, ConcMaxCountsMarkedSolubleSpeciesOnly) {
  SampleSeries s;
  s.Load("iron-hydroxide.cld");
  int solid = s.Species("Fe(OH)3(s)");
  s.state.plot.yChoice = kYPercent;
  SetPlotit(s.state, 1);  // the species holding Fe, the solid among them
  ASSERT_EQ(s.state.plotMark(solid), 1);
  double largest = 0, solidLargest = 0;
  for (int p = 1; p <= s.results.npoints; ++p) {
    for (int k = 1; k <= s.state.nsoluble; ++k)
      if (s.state.plotMark(k) == 1) largest = std::max(largest, s.results.speciesConc(k, p));
    solidLargest = std::max(solidLargest, s.results.speciesConc(solid, p));
  }
  ASSERT_GT(solidLargest, largest);  // the solid would dominate if it counted
  EXPECT_DOUBLE_EQ(ConcMax(s.state, s.results), 1.01 * largest);
  s.state.plotMark.Fill(0);
  s.state.plotMark(solid) = 1;
  EXPECT_EQ(ConcMax(s.state, s.results), 0);
  ExpectPercentagesAddUp(s, 1);  // the solid holds one Fe
}

TEST(CurveData, ChoiceRulesAndLogLimitLists) {
  ProjectState empty;
  YChoiceRules y = SetYchoice(empty, 1, kYPercent);
  EXPECT_FALSE(y.enabled[kYPercent]);
  EXPECT_EQ(y.yChoice, kYLog);
  EXPECT_EQ(y.reltoIndex, -1);

  SampleSeries s;
  s.Load("copper-glycine-titration.cld", 11);
  y = SetYchoice(s.state, 7, kYPercent);  // no such reagent: the first is taken
  EXPECT_EQ(y.reltoIndex, 0);
  EXPECT_EQ(y.reltoReagent, 1);
  EXPECT_FALSE(y.enabled[kYConcentration]);
  EXPECT_EQ(SetYchoice(s.state, 2, kYLog).reltoIndex, 1);
  EXPECT_TRUE(SetBoxes(kYPercent).reltoEnabled && !SetBoxes(kYPercent).logListsEnabled);
  EXPECT_TRUE(SetBoxes(kYLog).logListsEnabled);
  EXPECT_TRUE(PhChoiceEnabled(s.state, kYPercent));
  EXPECT_FALSE(PhChoiceEnabled(s.state, kYLog));

  const std::vector<double>& lower = LowerLogList();
  const std::vector<double>& upper = UpperLogList();
  ASSERT_EQ(lower.size(), 24u);
  ASSERT_EQ(upper.size(), 20u);
  // The settings' default positions give -12 to -2.
  EXPECT_EQ((std::array{lower[13], lower.back()}), (std::array{-12.0, -50.0}));
  EXPECT_EQ((std::array{upper[3], upper[17], upper[18], upper.back()}), (std::array{-2.0, -20.0, -50.0, -100.0}));
  EXPECT_EQ(LogListValue(upper, 99), -100);
  // A limit at or beyond the other is refused.
  EXPECT_FALSE(LogLimitAccepted(true, -50, -30) || LogLimitAccepted(true, -30, -30) || LogLimitAccepted(false, -2, -2));
  EXPECT_TRUE(LogLimitAccepted(true, -20, -30) && LogLimitAccepted(false, -50, -20));
}

TEST(CurveData, SinglePointSeriesTakesThePointsOwnValues) {
  SampleSeries s;
  s.Load("copper-glycine-titration.cld", 11);
  SeriesResults one;
  one.Allocate(s.state, 1);
  for (int k = 1; k <= s.state.ntotal(); ++k) one.speciesConc(k, 1) = s.results.speciesConc(k, 1);
  one.ifail = kSuccess;
  PlotData data;
  data.xChoice = kXTotal;
  GraphX(s.state, one, data);
  EXPECT_NEAR(data.plotX(1), 0.025 / 25, 1e-9);
  EXPECT_EQ(data.xmin, data.xmax);
  data.xChoice = kXVolume;
  GraphX(s.state, one, data);
  EXPECT_EQ(data.plotX(1), 0);
}

}  // namespace
}  // namespace tarn

// The plot's actions without a window: read-out, limit clicks and resets,
// the nearest curve to a click, and the scroll panel's changes to the model
// and the conditions.

#include "core/plot/plot_actions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/model/model.h"
#include "core/model/number_text.h"
#include "support/model_builder.h"
#include "support/sample_series.h"

namespace tarn {
namespace {

// A chart over a 400 x 300 box: x 0..10 over 60..360, y 0..100 over 324..24.
ChartState TestChart(double ymin = 0, double ymax = 100) {
  ChartState chart;
  SetRect(chart, PlotRect{60, 24, 360, 324});
  double xmin = 0, xmax = 10;
  SetScale(chart, xmax, xmin, ymax, ymin);
  return chart;
}

TEST(PlotActions, ReadoutKeepsFiveCharactersOfXAndTwoDecimalsOfY) {
  ChartState chart;
  chart.xOffset = 0;
  chart.yOffset = 0;
  chart.yScale = -100;
  struct Case {
    int x;
    double xScale;
    const char* xText;
  };
  for (const Case& c : {Case{12345678, 10000, "1234."}, Case{-5000, 10000, "-0.5"}, Case{123456, 10000, "12.34"},
                        Case{1234, 1e7, "0.000"}}) {
    chart.xScale = c.xScale;
    EXPECT_EQ(ReadoutText(chart, c.x, -1234), std::string("cursor at ") + c.xText + ", 12.34") << c.xText;
  }
  PlotRect rect{60, 24, 360, 324};
  EXPECT_TRUE(ReadoutShown(rect, 61, 25));
  EXPECT_FALSE(ReadoutShown(rect, 60, 100));  // on the edge: no read-out, but a cross
  EXPECT_TRUE(OverPlotWidth(rect, 60));
  EXPECT_TRUE(BesidePlot(rect, 59));
  EXPECT_TRUE(BesidePlot(rect, 361));
}

// With an activity correction the read-out adds the point's ionic strength
// and both pHs; without one it adds nothing.
TEST(PlotActions, TheReadoutShowsTheIonicStrengthAndBothPHsOfAPoint) {
  test::SampleSeries plain;
  plain.Load("copper-glycine-titration.cld", 11);
  EXPECT_EQ(ActivityReadout(plain.state, plain.results, 5), "");

  test::SampleSeries real;
  real.Load("copper-glycine-titration.cld", 11);
  real.CalculateWith(ActivityCorrection::kDavies, {2, -1, 1});  // Cu 2+, Gly-, H+
  const ProjectState& s = real.state;
  const SeriesResults& r = real.results;
  ASSERT_TRUE(r.activity);
  EXPECT_GT(r.pHActivity(5), r.pH(5));  // an activity coefficient below 1
  EXPECT_EQ(ActivityReadout(s, r, 5), "; I = " + FormatPattern(r.ionicStrength(5), "0.0000") + ", -log[H] " +
                                          FormatPattern(r.pH(5), "#0.00") + ", -log a(H) " +
                                          FormatPattern(r.pHActivity(5), "#0.00"));
  EXPECT_EQ(ActivityReadout(s, r, 0), "");
  EXPECT_EQ(ActivityReadout(s, r, 12), "");
}

TEST(PlotActions, ClicksBesideThePlotSetTheLimitOfTheSelectedOption) {
  ChartState chart = TestChart();
  PlotSettings plot;
  plot.yChoice = kYPercent;
  // Just above the bottom edge: almost the old lower limit.
  EXPECT_TRUE(LimitClick(chart, 323, plot));
  EXPECT_NEAR(plot.yLower[0], 1.0 / 3, 1e-6);
  // On or below the bottom edge: nothing.
  EXPECT_FALSE(LimitClick(chart, 324, plot));
  EXPECT_FALSE(LimitClick(chart, 400, plot));
  EXPECT_NEAR(plot.yLower[0], 1.0 / 3, 1e-6);
  // Above the top edge the upper limit rises beyond the old one.
  EXPECT_TRUE(LimitClick(chart, 0, plot));
  EXPECT_NEAR(plot.yUpper[0], 108, 1e-4);
  // The middle belongs to the lower half; other options stay alone.
  EXPECT_TRUE(LimitClick(chart, 174, plot));
  EXPECT_NEAR(plot.yLower[0], 50, 1e-4);
  EXPECT_EQ(plot.yLower[1], 0);
  EXPECT_EQ(plot.yUpper[2], 0);
}

TEST(PlotActions, MarkersPutEachOptionsLimitsBackToTheirDefaults) {
  test::SampleSeries s;
  s.Load("copper-glycine-distribution.cld", 21);
  PlotData data;
  data.minLog = -9;
  data.maxLog = -3;
  for (int c = 0; c <= 2; ++c) {
    s.state.plot.yChoice = c;
    SetPlotit(s.state, 1);
    s.state.plot.yLower[static_cast<std::size_t>(c)] = 55;
    s.state.plot.yUpper[static_cast<std::size_t>(c)] = 77;
    ResetUpperLimit(s.state, s.results, data);
    ResetLowerLimit(s.state, data);
    double upper = c == 0 ? 100 : (c == 1 ? -3 : ConcMax(s.state, s.results));
    double lower = c == 1 ? -9 : 0;
    EXPECT_FLOAT_EQ(s.state.plot.yUpper[static_cast<std::size_t>(c)], upper) << c;
    EXPECT_FLOAT_EQ(s.state.plot.yLower[static_cast<std::size_t>(c)], lower) << c;
    EXPECT_EQ(LimitMarkers(s.state, s.results, data), MarkerVisibility{}) << c;
  }
  // The concentration default: 1.01 x a soluble concentration, none above the Gly total of 2.5 mM.
  EXPECT_GT(s.state.plot.yUpper[2], 0.001);
  EXPECT_LE(s.state.plot.yUpper[2], 1.01 * 0.0025);
}

// Two curves over five points: species 1 rises 0, 25, 50, 75, 100; species 2
// falls; species 3 is not plotted. They cross at point 3.
struct CrossingCurves {
  ProjectState state = test::ModelBuilder({"A", "B", "C"}).Build();
  PlotData data;
  ChartState chart = TestChart();
  CrossingCurves() {
    data.plotX.Resize(5);
    data.plotXSet.Resize(5);
    data.plotXSet.Fill(true);
    data.plotY.Resize(5, 3);
    data.plotYSet.Resize(5, 3);
    data.plotYSet.Fill(true);
    for (int p = 1; p <= 5; ++p) {
      data.plotX(p) = 2.5 * (p - 1);
      data.plotY(p, 1) = 25 * (p - 1);
      data.plotY(p, 2) = 100 - 25 * (p - 1);
      data.plotY(p, 3) = 50;
    }
    state.npoints = 5;
    state.plotMark.Fill(0);
    state.plotMark(1) = 1;
    state.plotMark(2) = 1;
  }
};

TEST(PlotActions, AClickFindsTheNearestPlottedCurveAtTheNearestPoint) {
  CrossingCurves c;
  // Near the first point: the second point's x is taken (point 1 is never).
  EXPECT_EQ(NearestPoint(c.chart, c.data, 5, 60, 400), 2);
  EXPECT_EQ(NearestPoint(c.chart, c.data, 5, 236, 400), 3);  // 210 from 135, 1 from 235
  // Points 3 and 4 lie at x 210 and 285.
  EXPECT_EQ(NearestPoint(c.chart, c.data, 5, 247, 400), 3);
  EXPECT_EQ(NearestPoint(c.chart, c.data, 5, 248, 400), 4);
  EXPECT_EQ(NearestPoint(c.chart, c.data, 5, 2000, 400), 0);  // farther than the box is wide

  // At point 2: species 1 at 25 (y 249), species 2 at 75 (y 99).
  EXPECT_EQ(NearestCurve(c.chart, c.state, c.data, 2, 240, 300), 1);
  EXPECT_EQ(NearestCurve(c.chart, c.state, c.data, 2, 100, 300), 2);
  // Where they cross the lower species number wins; an unplotted curve
  // lying exactly there is never chosen.
  EXPECT_EQ(NearestCurve(c.chart, c.state, c.data, 3, MapY(c.chart, 50), 300), 1);
  c.state.plotMark(1) = 0;
  EXPECT_EQ(NearestCurve(c.chart, c.state, c.data, 3, MapY(c.chart, 50), 300), 2);
  c.state.plotMark(2) = 0;
  EXPECT_EQ(NearestCurve(c.chart, c.state, c.data, 3, MapY(c.chart, 50), 300), 0);
}

TEST(PlotActions, ALabelChoosesTheConstantOfItsSpeciesOrSolid) {
  ProjectState s = test::ModelBuilder({"M", "L"}).Species(5, {1, 1}).Species(9, {1, 2}).Solid(-10, {1, 2}).Build();
  EXPECT_EQ(ConstantOfSpecies(s, 2), 0);  // a free reagent has none
  EXPECT_EQ(ConstantOfSpecies(s, 3), 1);
  EXPECT_EQ(ConstantOfSpecies(s, 5), 3);  // the solid: nspecies + 1
  EXPECT_EQ(ConstantOfSpecies(s, 9), 3);  // never beyond the last constant
  EXPECT_EQ(ConstantValue(s, 2), 9);
  EXPECT_EQ(ConstantValue(s, 3), -10);
  EXPECT_EQ(SpeciesOfConstant(s, 3), 5);
  EXPECT_EQ(SpeciesOfConstant(s, 4), 0);
}

TEST(PlotActions, TheConstantBarStepsByAHundredthAndATenth) {
  ProjectState s = test::ModelBuilder({"M", "L"}).Species(10, {1, 1}).Solid(-7.3, {1, 2}).Build();
  ScrollTarget target;
  EXPECT_FALSE(ApplyScrollStep(s, target, kConstantBar, 0));  // the bar going back to 0
  EXPECT_FALSE(s.modified || s.recalc);
  ASSERT_TRUE(ApplyScrollStep(s, target, kConstantBar, 1));
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_EQ(ScrollPanelValues(s, target).constantText, "10.01");
  ApplyScrollStep(s, target, kConstantBar, -10);
  EXPECT_EQ(ScrollPanelValues(s, target).constantText, "9.91");
  target.constant = 2;  // the solid, held at single precision
  ApplyScrollStep(s, target, kConstantBar, 10);
  EXPECT_EQ(s.logksp(1), static_cast<double>(static_cast<float>(-7.2)));
  EXPECT_EQ(ScrollPanelValues(s, target).constantText, "-7.2");
  EXPECT_EQ(ScrollPanelValues(s, target).species, 4);
  target.constant = 3;  // none
  EXPECT_FALSE(ApplyScrollStep(s, target, kConstantBar, 1));
}

TEST(PlotActions, DistributionConditionsStepAndTheReagentFollowsWhatIsVaried) {
  ProjectState s = test::ModelBuilder({"M", "H"}).Species(-5, {1, -1}).Build();
  test::MakeDistribution(s, 21);
  test::SetTotal(s, 1, 0.001, 0.002);
  test::SetPX(s, 2, 2, 10);
  ScrollTarget target{1, 1, 1};
  ApplyScrollStep(s, target, kConditionBar, 1);
  target.mode = 2;
  ApplyScrollStep(s, target, kConditionBar, -10);
  EXPECT_DOUBLE_EQ(s.initial(1, kDistribution), 0.00101);
  EXPECT_DOUBLE_EQ(s.final(1, kDistribution), 0.0018);
  EXPECT_TRUE(s.flag(1, kDistribution));
  EXPECT_EQ(ScrollPanelValues(s, target).conditionLabel, "Final concentration");
  EXPECT_EQ(ScrollPanelValues(s, target).conditionText, "0.0018");

  target = ScrollTarget{1, 2, 3};
  ApplyScrollStep(s, target, kConditionBar, 1);
  target.mode = 4;
  ApplyScrollStep(s, target, kConditionBar, -10);
  EXPECT_DOUBLE_EQ(s.pxi(2, kDistribution), 2.01);
  EXPECT_DOUBLE_EQ(s.pxf(2, kDistribution), 9.9);
  EXPECT_FALSE(s.flag(2, kDistribution));
  // Varying the total of the pX reagent makes it a total-given reagent.
  target.mode = 1;
  ApplyScrollStep(s, target, kConditionBar, 1);
  EXPECT_TRUE(s.flag(2, kDistribution));
  // The left end of the bar multiplies a concentration by 0.
  target = ScrollTarget{1, 1, 1};
  ApplyScrollStep(s, target, kConditionBar, -100);
  EXPECT_EQ(s.initial(1, kDistribution), 0);
}

// Each of the four titration values steps by its own factor, and after every
// step the concentrations agree with the amount, the titrant and the volumes.
TEST(PlotActions, TitrationConditionsStepAndKeepTheirDerivedValuesConsistent) {
  ProjectState s = test::ModelBuilder({"L", "H"}).Species(9, {1, 1}).Build();
  test::MakeTitration(s, 20, 30, 51);
  test::SetTitrant(s, 1, 0.1, 0);
  test::SetTitrant(s, 2, 0.2, 0.1);
  DeriveTitrationConcentrations(s);
  auto value = [&s](int mode) -> double& {
    return mode == 1 ? s.total(2, kTitration)
                     : (mode == 2 ? s.burette(2, kTitration)
                                  : (mode == 3 ? s.initial(2, kTitration) : s.final(2, kTitration)));
  };
  struct Step {
    int mode, v;
    double factor;
  };
  for (Step step : {Step{1, 10, 1.1}, Step{2, -10, 0.9}, Step{3, 1, 1.01}, Step{4, 1, 1.01}}) {
    ScrollTarget target{1, 2, step.mode};
    const double before = value(step.mode), total = s.total(2, kTitration);
    ASSERT_TRUE(ApplyScrollStep(s, target, kConditionBar, step.v));
    EXPECT_NEAR(value(step.mode), before * step.factor, 1e-12) << step.mode;
    if (step.mode == 4) {
      EXPECT_NEAR(s.total(2, kTitration), total, 1e-15);  // the titrant took the change
    }
    EXPECT_NEAR(s.initial(2, kTitration), s.total(2, kTitration) / 20, 1e-12) << step.mode;
    EXPECT_NEAR(s.final(2, kTitration), (s.total(2, kTitration) + s.burette(2, kTitration) * 10) / 30, 1e-12);
  }
  EXPECT_EQ(ScrollPanelValues(s, ScrollTarget{1, 2, 4}).conditionLabel, "Final concentration");
  // The distribution's flag is not the titration's business.
  EXPECT_EQ(s.flag(2, kDistribution), test::ModelBuilder({"L", "H"}).Build().flag(2, kDistribution));

  // Nothing is added: the final concentration cannot be changed through the titrant.
  s.vfinal = s.volume[0];
  DeriveTitrationConcentrations(s);
  s.modified = s.recalc = false;
  double burette = s.burette(2, kTitration);
  EXPECT_FALSE(ApplyScrollStep(s, ScrollTarget{1, 2, 4}, kConditionBar, 1));
  EXPECT_EQ(s.burette(2, kTitration), burette);
  EXPECT_TRUE(std::isfinite(s.final(2, kTitration)));
  EXPECT_FALSE(s.modified || s.recalc);
}

TEST(PlotActions, PopupListsOfferTheModelAndTheConditionsOfTheType) {
  ProjectState s = test::ModelBuilder({"Cu", "Gly", "H"})
                       .Species(8, {1, 1, 0})
                       .Species(15, {1, 2, 0})
                       .Solid(-19, {1, 0, -2})
                       .Build();
  PopupList species = SpeciesPopup(s, ScrollTarget{2, 1, 1});
  EXPECT_EQ(species.entries, (std::vector<std::string>{s.caption(4), s.caption(5)}));
  EXPECT_EQ(species.selected, 1);
  EXPECT_EQ(SpeciesPopup(s, ScrollTarget{3, 1, 1}).selected, -1);  // a solid is not listed
  EXPECT_EQ(ReagentPopup(s, ScrollTarget{1, 3, 1}).entries, (std::vector<std::string>{"Cu", "Gly", "H"}));
  EXPECT_EQ(ReagentPopup(s, ScrollTarget{1, 3, 1}).selected, 2);

  s.type = kTitration;
  PopupList titration = ConditionPopup(s, ScrollTarget{1, 1, 4});
  EXPECT_EQ(titration.entries, (std::vector<std::string>{"Total millimoles", "Burette concentration"}));
  EXPECT_EQ(titration.selected, -1);
  s.type = kDistribution;
  PopupList distribution = ConditionPopup(s, ScrollTarget{1, 1, 4});
  EXPECT_EQ(distribution.entries,
            (std::vector<std::string>{"Initial concentration", "Final concentration", "Start pX", "Final pX"}));
  EXPECT_EQ(distribution.selected, 3);
  EXPECT_EQ(ConditionLabel(kTitration, 3), "Initial concentration");
  EXPECT_EQ(ConditionLabel(kTitration, 5), "");
}

}  // namespace
}  // namespace tarn

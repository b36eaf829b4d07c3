#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/engine/new_concentrations.h"
#include "core/kapp/kapp_definition.h"
#include "core/kapp/kapp_plot.h"
#include "core/kapp/kapp_values.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "support/model_builder.h"
#include "core/plot/recording_surface.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using namespace test;

// M and L at 1 mM each, pH 2 to 12 over 11 points.
ProjectState Distribution(ProjectState s) {
  MakeDistribution(s, 11);
  SetTotal(s, 1, 0.001, 0.001);
  SetTotal(s, 2, 0.001, 0.001);
  SetPX(s, 3, 2, 12);
  s.recalc = true;
  return s;
}

struct Evaluated {
  explicit Evaluated(ProjectState s) : state(std::move(s)) {}
  ProjectState state;
  SolverWork work;
  SeriesResults results;
  RecordingSink sink;
  KappDefinition def;
  KappValues values;
};

void Evaluate(Evaluated& e) {
  SetExpression(e.state, e.def);
  e.values = CalcKapp(e.state, e.work, e.results, e.def, e.sink);
}

// Term t of a side gets a type and its reagent, species or complex.
void SetTerm(KappDefinition& def, int t, int side, int type, int arg) {
  SetTermType(def, t, side, type);
  def.termArg(t, side) = arg;
}

void Classic(Evaluated& e, int species) {
  e.def = NewKappDefinition(e.state);
  ClassicDefinition(e.state, e.def, species);
  Evaluate(e);
}

TEST(KappDefinition, TypeTextsAndTheClassicDefinition) {
  ProjectState s = ModelBuilder({"M", "L", "H"}).Species(5, {1, 1, 0}).Build();
  EXPECT_EQ(KappTypeTexts(s), (Strings{"T(M)  bound to ", "T(L)  bound to ", "T(H)  bound to ", "T[M)  not bound to ",
                                       "T[L)  not bound to ", "T[H)  not bound to ", "total concentration",
                                       "sum of concentrations", "complex concentration", "free concentration"}));
  EXPECT_EQ(KappReagentChoices(s, 5), (Strings{"M", "n/a", "H"}));
  KappDefinition def = NewKappDefinition(s);
  ClassicDefinition(s, def, 1);
  EXPECT_EQ(def.exprText[0], "T(M)  bound to L");
  EXPECT_EQ(def.exprText[1], "T[M)  not bound to L * T[L)  not bound to M");
  EXPECT_EQ(KappArgumentText(s, def, 2, kDenominator), "M");
  EXPECT_FALSE(KappDefinitionProblem(s, def).has_value());
}

TEST(KappDefinition, StandardListHoldsTwoReagentComplexesOnly) {
  ProjectState s = ModelBuilder({"M", "L", "H"})
                       .Species(5, {1, 1, 0})
                       .Species(-14, {0, 0, -1})
                       .Species(12, {1, 1, 1})
                       .Species(9, {0, 1, 1})
                       .Build();
  EXPECT_EQ(StandardSpecies(s), (std::vector<int>{1, 4}));
}

TEST(KappDefinition, SumTermTexts) {
  ProjectState s = ModelBuilder({"M", "L", "H"}).Species(5, {1, 1, 0}).Species(9, {0, 1, 1}).Build();
  KappDefinition def = NewKappDefinition(s);
  SetTermType(def, 1, kNumerator, 2 * 3 + 2);
  SetExpression(s, def);
  EXPECT_EQ(def.exprText[0], "SUM)");
  EXPECT_EQ(KappArgumentText(s, def, 1, kNumerator), "");  // nothing ticked yet
  def.sumMember(2, kNumerator) = true;                     // L
  def.sumMember(5, kNumerator) = true;                     // LH
  SetExpression(s, def);
  EXPECT_EQ(def.exprText[0], "SUM( [L]+ [LH])");
  EXPECT_EQ(KappArgumentText(s, def, 1, kNumerator), "L + LH");  // the members by name
}

TEST(KappDefinition, AddingRemovingTermsAndIncompleteDefinitions) {
  ProjectState s = ModelBuilder({"M", "L", "H"}).Species(5, {1, 1, 0}).Build();
  KappDefinition def = NewKappDefinition(s);
  EXPECT_EQ(KappDefinitionProblem(s, def), std::optional<std::string>(kInvalidKappMessage));
  EXPECT_FALSE(RemoveTerm(def, kNumerator, 1));
  EXPECT_EQ(def.nterms[0], 1);

  SetTerm(def, 1, kNumerator, 10, 1);    // free concentration
  SetTermType(def, 1, kDenominator, 9);  // complex, none chosen
  EXPECT_EQ(KappDefinitionProblem(s, def).value_or(""),
            "Expression for Kapp is not valid\rterm 1 of the denominator has no complex chosen");
  def.termArg(1, kDenominator) = 1;
  AddTerm(def, kNumerator);
  EXPECT_EQ(KappDefinitionProblem(s, def).value_or(""),
            "Expression for Kapp is not valid\rterm 2 of the numerator has no type");
  AddTerm(def, kNumerator);
  SetTerm(def, 3, kNumerator, 7, 2);  // total concentration
  ASSERT_TRUE(RemoveTerm(def, kNumerator, 2));
  EXPECT_EQ(def.nterms[0], 2);
  EXPECT_EQ(def.termType(2, kNumerator), 7);
  EXPECT_FALSE(KappDefinitionProblem(s, def).has_value());
  SetExpression(s, def);
  EXPECT_EQ(def.exprText[0], " [M] *  C(L)");
}

// Kapp of ML over [M] and [L]: log beta when ML is the only species, and
// the textbook beta / (1 + K_LH [H]) when the ligand also takes a proton.
TEST(KappValues, ClassicConstantIsLogBetaCorrectedForTheLigandsProtonation) {
  for (bool protonated : {false, true}) {
    ModelBuilder model({"M", "L", "H"});
    model.Species(5.5, {1, 1, 0});
    if (protonated) model.Species(9, {0, 1, 1}).Species(-14, {0, 0, -1});
    Evaluated e(Distribution(model.Build()));
    Classic(e, 1);
    ASSERT_TRUE(e.values.ok) << (e.sink.messages.empty() ? "" : e.sink.messages[0]);
    EXPECT_FALSE(e.state.recalc);
    ASSERT_EQ(e.values.npoints, 11);
    for (int p = 1; p <= 11; ++p) {
      const double pH = 1 + p;
      EXPECT_NEAR(e.values.logKapp(p), 5.5 - (protonated ? std::log10(1 + std::pow(10.0, 9 - pH)) : 0), 1e-4) << p;
    }
  }
}

// In ML2 the ligand counts twice: L bound to M is the total of L less the free L.
TEST(KappValues, CoefficientOfTwoCountsTwice) {
  Evaluated e(Distribution(ModelBuilder({"M", "L", "H"}).Species(8, {1, 2, 0}).Build()));
  e.def = NewKappDefinition(e.state);
  SetTerm(e.def, 1, kNumerator, 2, 1);    // L bound to M
  SetTerm(e.def, 1, kDenominator, 7, 2);  // total concentration of L
  Evaluate(e);
  ASSERT_TRUE(e.values.ok);
  for (int p = 1; p <= 11; ++p) {
    const double bound = KappTermValue(e.state, e.results, e.def, 1, kNumerator, p);
    EXPECT_NEAR(bound, 2 * e.results.speciesConc(4, p), 1e-15);
    EXPECT_NEAR(bound, 0.001 - e.results.speciesConc(2, p), 1e-10);
    EXPECT_NEAR(e.values.logKapp(p), std::log10(bound / 0.001), 1e-4);
  }
}

// The total of a pX-given reagent is the one recomputed from the results.
TEST(KappValues, TotalConcentrationTermOfAPXGivenReagent) {
  Evaluated e(Distribution(ModelBuilder({"M", "L", "H"}).Species(9, {0, 1, 1}).Build()));
  e.def = NewKappDefinition(e.state);
  SetTerm(e.def, 1, kNumerator, 7, 3);     // C(H)
  SetTerm(e.def, 1, kDenominator, 10, 3);  // [H]
  Evaluate(e);
  ASSERT_TRUE(e.values.ok);
  for (int p = 1; p <= 11; ++p) {
    const double h = std::pow(10.0, -(1.0 + p)), lh = e.results.speciesConc(4, p);
    EXPECT_NEAR(e.values.logKapp(p), std::log10((h + lh) / h), 1e-4);
  }
}

TEST(KappValues, ATermOfZeroIsNamedWithItsPoint) {
  Evaluated e(Distribution(ModelBuilder({"M", "L", "H"}).Species(5, {1, 1, 0}).Species(9, {0, 1, 1}, -1).Build()));
  e.def = NewKappDefinition(e.state);
  SetTerm(e.def, 1, kNumerator, 9, 2);  // [LH], ignored
  SetTerm(e.def, 1, kDenominator, 10, 2);
  Evaluate(e);
  EXPECT_FALSE(e.values.ok);
  EXPECT_EQ(e.sink.messages,
            Strings{"log Kapp cannot be calculated at point 1\rterm 1 of the numerator, [LH], is zero"});
}

TEST(KappValues, TableAndXAxis) {
  Evaluated e(Distribution(ModelBuilder({"M", "L", "H"}).Species(5.5, {1, 1, 0}).Species(9, {0, 1, 1}).Build()));
  Classic(e, 1);
  ASSERT_TRUE(e.values.ok);
  EXPECT_EQ(DefaultXReagent(e.state), 3);
  KappAxis h = KappXAxis(e.state, e.results, 3, e.sink);
  ASSERT_TRUE(h.ok && h.byPX);
  const std::string text = KappTableText(e.state, e.def, h, e.values);
  const std::string head = "Kapp= T(M)  bound to L/T[M)  not bound to L * T[L)  not bound to M\r\rpH\tKapp\r";
  ASSERT_EQ(text.substr(0, head.size()), head);
  std::string rows = text.substr(head.size());
  for (int p = 1; p <= 11; ++p) {
    const std::string x = (p < 9 ? "" : "1") + std::to_string((p + 1) % 10) + ".000\t";
    EXPECT_EQ(rows.substr(0, x.size()), x) << p;
    rows = rows.substr(rows.find('\r') + 1);
  }
  EXPECT_TRUE(rows.empty());

  // By its total, M's x is its calculated pX at each point, which does not
  // run evenly from the first point's to the last's: each table row pairs
  // log Kapp with its own point's pM.
  KappAxis m = KappXAxis(e.state, e.results, 1, e.sink);
  ASSERT_TRUE(m.ok);
  EXPECT_FALSE(m.byPX);
  const std::string mText = KappTableText(e.state, e.def, m, e.values);
  EXPECT_EQ(mText.substr(head.size() - 8, 8), "pM\tKapp\r");
  std::string mRows = mText.substr(head.size());
  double worstEvenSpacing = 0;
  for (int p = 1; p <= 11; ++p) {
    const double pM = -std::log10(e.results.speciesConc(1, p));
    EXPECT_NEAR(KappX(m, p), pM, 1e-6) << p;
    EXPECT_EQ(mRows.substr(0, mRows.find('\t')), FormatPattern(pM, "##0.000")) << p;
    mRows = mRows.substr(mRows.find('\r') + 1);
    worstEvenSpacing = std::max(worstEvenSpacing, std::fabs(pM - (m.xstart + (p - 1) * (m.xend - m.xstart) / 10)));
  }
  EXPECT_GT(worstEvenSpacing, 0.01);  // the case tells the two apart
  auto setup = PrepareKappPlot(e.state, e.def, m, e.values, e.sink);
  ASSERT_TRUE(setup.has_value());
  EXPECT_EQ(setup->xTitle, "calculated pM");
  EXPECT_EQ(setup->yTitle, "Log Kapp: " + e.def.exprText[0] + "/" + e.def.exprText[1]);
}

// A flat curve is widened by half a unit each way, the lower limit at the
// bottom whatever its sign, and drawn across the middle of the plot.
TEST(KappPlot, FlatCurvesAreWidenedAndDrawnMidwayTheRightWayUp) {
  ProjectState s = ModelBuilder({"M", "L", "H"}).Species(5, {1, 1, 0}).Build();
  KappDefinition def = NewKappDefinition(s);
  KappAxis axis{true, 3, true, 2, 12, 11};
  struct Case {
    float value;
    double ymin, ymax;
    const char* message;
  };
  for (const Case& c : {Case{5, 4.5, 5.5, "log Kapp on y-axis is constant at 5.000"},
                        Case{0, 0, 1, "log Kapp on y-axis is constant at 0.000"},
                        Case{-5, -5.5, -4.5, "log Kapp on y-axis is constant at -5.000"}}) {
    KappValues v;
    v.ok = true;
    v.npoints = 11;
    v.logKapp.Resize(11);
    v.logKapp.Fill(c.value);
    RecordingSink sink;
    auto setup = PrepareKappPlot(s, def, axis, v, sink);
    ASSERT_TRUE(setup.has_value());
    EXPECT_DOUBLE_EQ(setup->ymin, c.ymin);
    EXPECT_DOUBLE_EQ(setup->ymax, c.ymax);
    EXPECT_EQ(sink.messages, Strings{c.message});
    RecordingSurface surface;
    ChartState chart = DrawKappPlot(surface, 400, 300, *setup, axis, v);
    EXPECT_GT(MapY(chart, setup->ymin), MapY(chart, setup->ymax)) << c.value;
    const int mid = MapY(chart, c.value);
    EXPECT_NEAR(mid, (chart.plotTop + chart.plotBottom) / 2.0, c.value == 0 ? (chart.plotBottom - chart.plotTop) : 1.0);
    const auto lines = surface.Lines();
    ASSERT_GE(lines.size(), 11u);
    for (std::size_t k = lines.size() - 11; k < lines.size(); ++k) EXPECT_EQ(lines[k].y, mid);
    EXPECT_EQ(lines.back().x, MapX(chart, 12));
    EXPECT_EQ(surface.TextsOf("pH").size(), 1u);
  }
  // A single point: no plot, its value in the message.
  KappValues v;
  v.npoints = 1;
  v.logKapp.Resize(1);
  v.logKapp(1) = 4.25f;
  RecordingSink sink;
  KappAxis point{true, 3, true, 7, 7, 1};
  EXPECT_FALSE(PrepareKappPlot(s, def, point, v, sink).has_value());
  EXPECT_EQ(sink.messages, Strings{"Concentration on x axis is constant\rKapp=4.25"});
  EXPECT_DOUBLE_EQ(KappX(point, 1), 7);
}

// A plateau near the top of the data keeps off the frame, and the ticks
// reach past the data at both ends (a CaY-like curve from 2.3 to 10.6).
TEST(KappPlot, TheYRangeHasAMarginAndTicksBeyondTheData) {
  ProjectState s = ModelBuilder({"Ca", "Y", "H"}).Species(10.7, {1, 1, 0}).Build();
  KappDefinition def = NewKappDefinition(s);
  KappAxis axis{true, 3, true, 2, 12, 11};
  KappValues v;
  v.ok = true;
  v.npoints = 11;
  v.logKapp.Resize(11);
  for (int p = 1; p <= 11; ++p) v.logKapp(p) = static_cast<float>(std::min(10.6, 2.3 + 1.2 * (p - 1)));
  RecordingSink sink;
  auto setup = PrepareKappPlot(s, def, axis, v, sink);
  ASSERT_TRUE(setup.has_value());
  RecordingSurface surface;
  ChartState chart = DrawKappPlot(surface, 400, 300, *setup, axis, v);
  const int top = MapY(chart, 10.6f), bottom = MapY(chart, 2.3f);
  EXPECT_GE(top - chart.plotTop, 5);
  EXPECT_GE(chart.plotBottom - bottom, 5);
  int highestTick = chart.plotBottom, lowestTick = chart.plotTop;
  for (const RecordedCall& line : surface.Lines()) {
    if (line.x0 != chart.plotLeft - 4 || line.y0 != line.y) continue;  // the y ticks
    highestTick = std::min(highestTick, line.y);
    lowestTick = std::max(lowestTick, line.y);
  }
  EXPECT_LE(highestTick, top);
  EXPECT_GE(lowestTick, bottom);
  // Reversed or flat limits give an ascending range around them.
  KappYRange flat = KappPlotYRange(-4.5, -5.5);
  EXPECT_LT(flat.low, -5.5);
  EXPECT_GT(flat.high, -4.5);
}

}  // namespace
}  // namespace tarn

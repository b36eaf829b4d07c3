// The speciation plot drawn on a recording surface from calculated samples.

#include "core/plot/plot_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/model/number_text.h"
#include "core/plot/formula_text.h"
#include "core/plot/recording_surface.h"
#include "support/sample_series.h"

namespace tarn {
namespace {

using test::SampleSeries;

std::vector<RecordedCall> LinesIn(const RecordingSurface& surface, Rgb colour, int width) {
  std::vector<RecordedCall> found;
  for (const RecordedCall& line : surface.Lines())
    if (line.penColour == colour && line.penWidth == width) found.push_back(line);
  return found;
}

class PlotDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    s.Load("copper-glycine-distribution.cld");
    s.state.caption(0) = "pH";
    s.state.plot.yChoice = kYPercent;
    data.xChoice = kXPh;
    data.reltoReagent = 1;
    SetPlotit(s.state, 1);
  }
  std::optional<MarkerVisibility> Draw() {
    return DrawScreenPlot(surface, chart, s.state, s.results, data, view, 600, 500);
  }

  SampleSeries s;
  PlotData data;
  PlotView view;
  ChartState chart;
  RecordingSurface surface;
};

TEST_F(PlotDrawing, PlotRectangleCopyHeightAndColours) {
  EXPECT_EQ(ScreenPlotRect(600, 500, kYConcentration, true), (PlotRect{84, 24, 530, 440}));
  EXPECT_EQ(ScreenPlotRect(600, 500, kYLog, false), (PlotRect{60, 24, 560, 440}));
  // 553.5 to the even neighbour; no ratio is square; ratios beyond 0.2..5 are held there.
  EXPECT_EQ((std::array{CopyHeight(1.0), CopyHeight(2.0), CopyHeight(0), CopyHeight(3.0)}),
            (std::array{1107, 554, 1107, 369}));
  EXPECT_EQ((std::array{CopyHeight(0.001), CopyHeight(0.2), CopyHeight(5), CopyHeight(1e9)}),
            (std::array{5535, 5535, 221, 221}));
  EXPECT_TRUE(AspectAccepted(0.2) && AspectAccepted(5) && AspectAccepted(1));
  EXPECT_FALSE(AspectAccepted(0.19) || AspectAccepted(5.01) || AspectAccepted(0));
  EXPECT_EQ(FitBoxOnResize(9000, 6000, 1.0), (BoxSize{6000, 6000}));
  EXPECT_EQ(FitBoxOnResize(6000, 9000, 1.5), (BoxSize{6000, 4000}));
  EXPECT_EQ(FitBoxOnAspect(9000, 6000, 1.0), (BoxSize{6000, 6000}));  // 8985 down by 15s to 6000
  EXPECT_EQ(FitBoxOnAspect(9000, 6000, 2.0), (BoxSize{8985, 4492}));  // 4492.5 to even
  const ProjectState& st = s.state;
  EXPECT_EQ(SpeciesColour(st, 18, false), SpeciesColour(st, 1, false));
  EXPECT_EQ(SpeciesColour(st, 17, false), st.curveColours[17]);
  EXPECT_NE(SpeciesColour(st, 2, false), SpeciesColour(st, 1, false));
  EXPECT_EQ(SpeciesColour(st, 2, true), kBlack);
  EXPECT_EQ(SpeciesColour(st, 0, false), kBlack);
}

TEST_F(PlotDrawing, CurvesFollowTheDataAndLiftThePenAtTheBottom) {
  int gly = 2, cu = 1;
  s.state.plotMark(gly) = 1;  // not R: 0 % at every point
  EXPECT_EQ(Draw(), (MarkerVisibility{false, false}));
  EXPECT_TRUE(LinesIn(surface, SpeciesColour(s.state, gly, false), 1).empty());
  // Free Cu falls from nearly 100 % at pH 2 to nothing; its last drawn line
  // ends where its percentage maps, computed here from the concentrations.
  std::vector<RecordedCall> cuLines = LinesIn(surface, SpeciesColour(s.state, cu, false), 1);
  ASSERT_FALSE(cuLines.empty());
  int last = 0;
  for (int p = 2; p <= 101; ++p)
    if (100 * s.results.speciesConc(cu, p) / s.results.totalCalc(p, cu) > 0.1) last = p;
  ASSERT_GT(last, 2);
  ASSERT_LT(last, 101);
  double percent = 100 * s.results.speciesConc(cu, last) / s.results.totalCalc(last, cu);
  EXPECT_EQ(cuLines.back().x, static_cast<int>(std::nearbyint(60 + (s.results.pH(last) - 2) * 500 / 8)));
  EXPECT_EQ(cuLines.back().y, static_cast<int>(std::nearbyint(440 - percent * 4.16)));
  EXPECT_EQ(cuLines.size(), static_cast<std::size_t>(last - 1));
  // Axes and titles.
  EXPECT_EQ(surface.TextsOf("% formation relative to Cu").size(), 1u);
  EXPECT_EQ(surface.TextsOf(s.state.title).size(), 1u);

  surface.Clear();
  view.blackWhite = true;
  Draw();
  for (const RecordedCall& line : surface.Lines()) EXPECT_EQ(line.penColour, kBlack);
}

TEST_F(PlotDrawing, PhAxisPlacesItsLabelOnceAndItsTitleBetweenTwoLabels) {
  view.pHTicked = true;
  view.pHLabelWaiting = true;
  Draw();
  // Rectangle 60, 24, 530, 440; pH 2..10: 52 pixels per pH unit, pH 2 at 440.
  EXPECT_FALSE(view.pHLabelWaiting);
  EXPECT_EQ(s.state.speciesInfo(0, 0), 0.5);
  int middle = static_cast<int>(std::nearbyint(544 - 52 * s.results.pH(50)));
  EXPECT_DOUBLE_EQ(s.state.speciesInfo(1, 0), (middle - 24) / 416.0);
  // Labels 2, 4, ... 10 at 440, 336, 232, 128, 24: the middle (232) lies
  // between 4 and 6, so the title goes to 284, 8 above.
  ASSERT_EQ(surface.TextsOf("pH").size(), 2u);  // the x title, then the pH axis's
  EXPECT_EQ(surface.TextsOf("pH")[1].x, 530 + 56);
  EXPECT_EQ(surface.TextsOf("pH")[1].y, 276);
  ASSERT_FALSE(surface.TextsOf("6").empty());
  EXPECT_EQ(surface.TextsOf("6").back().y, 232 - 8);
  // Two-digit labels start clear of the ticks' ends (530 + 4 + 6).
  ASSERT_FALSE(surface.TextsOf("10").empty());
  EXPECT_EQ(surface.TextsOf("10").back().align, TextAlign::kLeft);
  EXPECT_GE(surface.TextsOf("10").back().x, 530 + 4 + 6 + 4);
  RecordedCall lastLine = surface.Lines().back();
  EXPECT_EQ(lastLine.x, 530);
  EXPECT_EQ(lastLine.y, 24);

  s.state.speciesInfo(1, 0) = 0.9;  // the user moved it: kept at the next drawing
  Draw();
  EXPECT_EQ(s.state.speciesInfo(1, 0), 0.9);
}

TEST_F(PlotDrawing, FlatPhAndMissingResultsDrawSafely) {
  for (int p = 1; p <= 101; ++p) s.results.pH(p) = 7;
  view.pHTicked = true;
  view.pHLabelWaiting = true;
  Draw();
  EXPECT_EQ(s.state.speciesInfo(1, 0), 1.0);  // pH 7 at the bottom of 7..8
  RecordingSurface copy;
  DrawCopy(copy, chart, s.state, s.results, data, view, std::vector<bool>(11, true), 1.0);
  EXPECT_FALSE(copy.TextsOf("8").empty());

  // A box too small for the margins draws nothing rather than a plot turned inside out.
  surface.Clear();
  EXPECT_FALSE(DrawScreenPlot(surface, chart, s.state, s.results, data, view, 120, 90).has_value());
  EXPECT_TRUE(surface.calls.empty());

  surface.Clear();
  s.results.ifail = kIterationLimit;
  EXPECT_FALSE(Draw().has_value());
  EXPECT_TRUE(surface.calls.empty());
}

TEST_F(PlotDrawing, LimitMarkersShowLimitsThatDifferFromTheirDefaults) {
  s.state.plot.yUpper[0] = 80;
  EXPECT_EQ(Draw(), (MarkerVisibility{true, false}));
  s.state.plot.yChoice = kYConcentration;
  SetPlotit(s.state, 1);
  s.state.plot.yUpper[2] = static_cast<float>(ConcMax(s.state, s.results));
  s.state.plot.yLower[2] = 0;
  EXPECT_EQ(Draw(), (MarkerVisibility{false, false}));
  s.state.plot.yLower[2] = 1e-5f;
  EXPECT_EQ(Draw(), (MarkerVisibility{false, true}));
  s.state.plot.yChoice = kYLog;
  s.state.plot.yLower[1] = -12, s.state.plot.yUpper[1] = -3;
  data.minLog = -12, data.maxLog = -2;
  EXPECT_EQ(Draw(), (MarkerVisibility{true, false}));
}

TEST_F(PlotDrawing, LabelsKeepTheirCentreAsFractionsAndHideOnlyWhollyOutside) {
  PlotRect r{60, 24, 560, 440};
  s.state.speciesInfo(0, 6) = 0.25;
  s.state.speciesInfo(1, 6) = 0.5;
  std::optional<LabelBox> box = PlaceLabel(r, s.state, 6, 40, 16);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(*box, (LabelBox{165, 224, 40, 16}));
  box->left += 10;
  EXPECT_TRUE(Setlabel(s.state, 6, r, *box));
  EXPECT_DOUBLE_EQ(s.state.speciesInfo(0, 6), 0.27);
  EXPECT_EQ(PlaceLabel(r, s.state, 6, 40, 16)->left, 175);
  EXPECT_FALSE(PlaceLabel(r, s.state, 99, 40, 16).has_value());

  // Visible while any of it touches the rectangle: right edge on L, top on B.
  EXPECT_TRUE(CheckVisibility(r, LabelBox{20, 100, 40, 16}) && CheckVisibility(r, LabelBox{100, 440, 40, 16}));
  for (LabelBox outside :
       {LabelBox{19, 100, 40, 16}, LabelBox{100, 441, 40, 16}, LabelBox{561, 100, 40, 16}, LabelBox{100, 7, 40, 16}})
    EXPECT_FALSE(CheckVisibility(r, outside)) << outside.left << "," << outside.top;

  s.state.speciesInfo(0, 0) = 0.5;
  Hidelabels(s.state);
  EXPECT_EQ(s.state.speciesInfo(0, 6), 0);
  EXPECT_EQ(s.state.speciesInfo(0, 0), 0.5);
}

TEST_F(PlotDrawing, CopyDrawsAxesCurvesAndVisibleLabelsUpwards) {
  view.pHTicked = true;
  int cuGly2 = 7;
  s.state.speciesInfo(0, cuGly2) = 0.5, s.state.speciesInfo(1, cuGly2) = 0.25;
  s.state.speciesInfo(0, 0) = 0.1, s.state.speciesInfo(1, 0) = 0.5;
  std::vector<bool> visible(11, false);
  visible[0] = visible[cuGly2] = true;
  s.state.caption(cuGly2) = " CuGly2 ";
  CopySize size = DrawCopy(surface, chart, s.state, s.results, data, view, visible, 2.0);
  EXPECT_EQ(size.width, 1107);
  EXPECT_EQ(size.height, 554);
  const PlotRect r = RectOf(chart);
  EXPECT_EQ(MapY(chart, 0), r.bottom);
  EXPECT_EQ(MapY(chart, 100), r.top);
  EXPECT_FALSE(LinesIn(surface, SpeciesColour(s.state, 1, false), 2).empty());

  // Labels at their places in the plot, in the copy's (smaller) text.
  const double scale = CopyTextHeight(554) / 32;
  RecordingSurface measure;
  int width = Chemicals3(measure, 0, 0, "CuGly2", false, scale);
  std::vector<RecordedCall> c = surface.TextsOf("C");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].x, static_cast<int>(std::nearbyint(r.left + 0.5 * (r.right - r.left) - width / 2.0)));
  EXPECT_EQ(c[0].y, static_cast<int>(std::nearbyint(r.top - 0.25 * (r.top - r.bottom) - 14 * scale)));
  EXPECT_DOUBLE_EQ(c[0].font.height, 32 * scale);
  EXPECT_EQ(c[0].textColour, SpeciesColour(s.state, cuGly2, false));
  EXPECT_TRUE(surface.TextsOf("O").empty());  // hidden labels are left out
  // The pH label is written in black, beside the axis title "pH".
  std::vector<RecordedCall> p = surface.TextsOf("p");
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].textColour, kBlack);
  EXPECT_EQ(p[0].y, static_cast<int>(std::nearbyint(r.top - 0.5 * (r.top - r.bottom) - 14 * scale)));
  ASSERT_EQ(surface.TextsOf("pH").size(), 2u);
  EXPECT_GT(surface.TextsOf("pH")[1].x, r.right);
}

// Where a recorded text lies in the copy (y grows upwards, the top of the
// text at y; a rotated text reads upwards with its top towards lower x).
struct Box {
  double left, bottom, right, top;
  bool Overlaps(const Box& o) const {
    return left < o.right - 0.5 && o.left < right - 0.5 && bottom < o.top - 0.5 && o.bottom < top - 0.5;
  }
  bool Inside(double width, double height) const { return left >= 0 && bottom >= 0 && right <= width && top <= height; }
  // Whether the line from (x0, y0) to (x1, y1) passes through the box's inside.
  bool Crossed(double x0, double y0, double x1, double y1) const {
    for (int i = 0; i <= 100; ++i) {
      double x = x0 + (x1 - x0) * i / 100, y = y0 + (y1 - y0) * i / 100;
      if (x > left + 0.5 && x < right - 0.5 && y > bottom + 0.5 && y < top - 0.5) return true;
    }
    return false;
  }
};

Box BoxOf(const RecordedCall& text) {
  const double cell = 1.15 * text.font.height;  // ascent and descent of Arial
  const double width = RecordingSurface::kWidthPerHeight * text.font.height * CodePointCount(text.text);
  double start = text.align == TextAlign::kLeft ? 0 : (text.align == TextAlign::kCentre ? -width / 2 : -width);
  if (text.rotated) return Box{double(text.x), text.y + start, text.x + cell, text.y + start + width};
  return Box{text.x + start, text.y - cell, text.x + start + width, double(text.y)};
}

// Every accepted aspect ratio gives a copy a chemist can print: the plot
// keeps most of the picture, every text of the axes lies inside it, none
// overlaps another or a line of the axes, and the curves stay in the frame.
TEST_F(PlotDrawing, CopyLaysOutEveryAcceptedAspectRatioCleanly) {
  s.state.plot.yUpper[kYPercent] = 60;  // limits set by clicks: curves go beyond them
  for (int yChoice : {kYPercent, kYConcentration})
    for (double aspect : {0.2, 0.5, 1.0, 2.0, 3.5, 5.0}) {
      SCOPED_TRACE(testing::Message() << "Y option " << yChoice << ", aspect " << aspect);
      s.state.plot.yChoice = yChoice;
      if (yChoice == kYConcentration) s.state.plot.yUpper[kYConcentration] = 0.0004f;
      view.pHTicked = yChoice == kYPercent;
      surface.Clear();
      CopySize size = DrawCopy(surface, chart, s.state, s.results, data, view, std::vector<bool>(11, false), aspect);
      const PlotRect r = RectOf(chart);
      EXPECT_GE(r.top - r.bottom, 0.45 * size.height);
      EXPECT_GE(r.right - r.left, 0.6 * size.width);
      std::vector<Box> boxes;
      for (const RecordedCall& text : surface.Texts()) {
        Box box = BoxOf(text);
        EXPECT_TRUE(box.Inside(size.width, size.height)) << text.text << " at " << text.x << "," << text.y;
        for (const Box& other : boxes) EXPECT_FALSE(box.Overlaps(other)) << text.text;
        boxes.push_back(box);
        for (const RecordedCall& line : surface.Lines()) {
          if (line.penColour != kBlack) continue;
          EXPECT_FALSE(box.Crossed(line.x0, line.y0, line.x, line.y)) << text.text;
        }
      }
      int curves = 0;
      for (const RecordedCall& line : surface.Lines()) {
        if (line.penColour == kBlack) continue;
        ++curves;
        for (auto [x, y] : {std::pair{line.x0, line.y0}, std::pair{line.x, line.y}}) {
          EXPECT_TRUE(x >= r.left && x <= r.right && y >= r.bottom && y <= r.top) << x << "," << y;
        }
      }
      EXPECT_GT(curves, 0);
    }
}

// The screen's curves stay inside the plot too when the limits cut them.
TEST_F(PlotDrawing, ScreenCurvesAreClippedToThePlot) {
  s.state.plot.yUpper[kYPercent] = 50;
  s.state.plot.yLower[kYPercent] = 20;
  view.pHTicked = true;
  Draw();
  const PlotRect r = RectOf(chart);
  int curves = 0;
  for (const RecordedCall& line : surface.Lines()) {
    if (line.penColour == kBlack) continue;  // the axes
    ++curves;
    for (auto [x, y] : {std::pair{line.x0, line.y0}, std::pair{line.x, line.y}}) {
      EXPECT_TRUE(x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) << x << "," << y;
    }
  }
  EXPECT_GT(curves, 10);
}

// A zero has no logarithm. Copper-ammonia: the ammonia total runs from 0 (at
// the first point) to 0.2 M, and the copper hydroxide dissolves before the
// end. With X "log total" of NH3 the first point has no X: the axis starts at
// the second point's total and no curve runs to the first; on the log scale
// with a bottom limit of -20 the solid has no value where it is not formed,
// and none of its lines reaches those points.
TEST(PlotZeros, AZeroHasNoLogarithmAndLeavesAGap) {
  SetDecimalSeparator('.');
  SampleSeries s;
  s.Load("copper-ammonia.cld");
  const int nh3 = s.Species("NH3"), solid = s.Species("Cu(OH)2(s)");
  ASSERT_EQ(s.results.totalSet(1, nh3), 0);
  PlotData data;
  data.xChoice = kXLogTotal;
  data.xReagent = nh3;
  s.state.plot.yChoice = kYLog;
  s.state.plot.yLower[kYLog] = -20;
  s.state.plot.yUpper[kYLog] = 0;
  SetPlotit(s.state, 1);
  GraphX(s.state, s.results, data);
  EXPECT_FALSE(data.plotXSet(1));
  EXPECT_NEAR(data.xmin, std::log10(s.results.totalSet(2, nh3)), 1e-6);
  EXPECT_NEAR(data.xmax, std::log10(0.2), 1e-6);

  ChartState chart;
  RecordingSurface surface;
  PlotView view;
  DrawScreenPlot(surface, chart, s.state, s.results, data, view, 600, 500);
  const int secondX = MapX(chart, data.plotX(2));
  int gone = 0;  // points where the solid is not formed
  for (int p = 1; p <= s.results.npoints; ++p) {
    const bool formed = s.results.speciesConc(solid, p) > 0;
    gone += formed ? 0 : 1;
    EXPECT_EQ(data.plotYSet(p, solid), formed) << p;
  }
  ASSERT_GT(gone, 0);
  double lowest = 0;  // the log of the smallest amount of solid formed
  for (int p = 1; p <= s.results.npoints; ++p)
    if (s.results.speciesConc(solid, p) > 0) lowest = std::min(lowest, std::log10(s.results.speciesConc(solid, p)));
  int curves = 0;
  for (const RecordedCall& line : surface.Lines()) {
    if (line.penColour == kBlack) continue;  // the axes
    ++curves;
    EXPECT_GE(std::min(line.x0, line.x), secondX);
    if (line.penColour == SpeciesColour(s.state, solid, false)) {
      EXPECT_LE(std::max(line.y0, line.y), MapY(chart, lowest));
    }
  }
  EXPECT_GT(curves, 100);
}

}  // namespace
}  // namespace tarn

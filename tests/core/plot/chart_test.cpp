#include "core/plot/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/model/number_text.h"
#include "core/plot/plot_drawing.h"
#include "core/plot/recording_surface.h"

namespace tarn {
namespace {

class Chart : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
};

TEST_F(Chart, NiceStepWorkedValues) {
  struct Case {
    double min, max, step;
  };
  for (Case c : {Case{0, 100, 10}, Case{0, 1.5, 0.2}, Case{0, 0.012, 0.002}, Case{2, 12, 1}, Case{5, 5, 1},
                 Case{-4.5, -5.5, -0.1}})
    EXPECT_NEAR(NiceStep(c.min, c.max, 10), c.step, std::fabs(c.step) * 1e-12) << c.min << ".." << c.max;
}

// The step is 1, 2 or 5 times a power of ten, cuts the range into at most n
// intervals, and the next smaller such step would cut it into more.
TEST_F(Chart, NiceStepIsTheSmallestRoundStepWithinTheIntervalCount) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> exponent(-8, 8), mantissa(0.1, 10);
  for (int trial = 0; trial < 2000; ++trial) {
    double min = mantissa(random) * std::pow(10, exponent(random)) * (trial % 3 == 0 ? -1 : 1);
    double max = min + mantissa(random) * std::pow(10, exponent(random));
    int n = 1 + trial % 12;
    double step = NiceStep(min, max, n);
    ASSERT_GT(step, 0);
    double power = std::pow(10, std::floor(std::log10(step) + 1e-9));
    double lead = step / power;
    EXPECT_TRUE(std::fabs(lead - 1) < 1e-9 || std::fabs(lead - 2) < 1e-9 || std::fabs(lead - 5) < 1e-9) << step;
    EXPECT_LE((max - min) / step, n * (1 + 1e-9));
    double smaller = std::fabs(lead - 1) < 1e-9 ? power / 2 : (std::fabs(lead - 2) < 1e-9 ? power : 2 * power);
    EXPECT_GT((max - min) / smaller, n * (1 - 1e-9)) << min << ".." << max << " n " << n;
    EXPECT_DOUBLE_EQ(NiceStep(max, min, n), -step);
  }
}

TEST_F(Chart, TickFormatFollowsTheStepsPowerOfTen) {
  struct Case {
    double value, step;
    const char* text;
  };
  for (Case c :
       {Case{0.25, 0.05, "0.25"}, Case{0.003, 0.001, "0.003"}, Case{40, 10, "40"}, Case{20000, 5000, "20000"},
        Case{20000, 10000, "2.0E4"}, Case{0.000015, 0.000005, "1.5E-5"}, Case{4e-10, 1e-10, "4.0E-10"},
        Case{4e-5, 1e-5, "4.0E-5"}, Case{0.4, 0.1, "0.4"}, Case{-12, 2, "-12"}, Case{0, 5, "0"}, Case{0, 1e-7, "0"}})
    EXPECT_EQ(TickFormat(c.value, c.step), c.text);
  SetDecimalSeparator(',');
  EXPECT_EQ(TickFormat(0.25, 0.05), "0,25");
  SetDecimalSeparator('.');
}

TEST_F(Chart, SetScaleWidensAnEmptyRangeAndMapsTheEdgesRoundingHalvesToEven) {
  ChartState c;
  SetRect(c, PlotRect{0, 20, 10, 220});
  double xmin = 0, xmax = 4, ymin = 3, ymax = 3;
  SetScale(c, xmax, xmin, ymax, ymin);
  EXPECT_EQ(ymax, 4);
  EXPECT_EQ(MapY(c, 3), 220);
  EXPECT_EQ(MapY(c, 4), 20);
  EXPECT_EQ(MapX(c, 1), 2);  // 2.5
  EXPECT_EQ(MapX(c, 3), 8);  // 7.5
  EXPECT_EQ(MapX(c, 4), 10);
  EXPECT_EQ(MapX(c, 1e300), 1 << 30);  // held, never undefined
  EXPECT_EQ(MapX(c, NAN), -(1 << 30));
}

struct AxisPicture {
  std::vector<int> xTickEnds;  // y of the lower end of each x tick, in order
  std::vector<std::string> xLabels;
  std::vector<std::string> yLabels;
};

AxisPicture Picture(const RecordingSurface& s, const ChartState& c) {
  AxisPicture p;
  for (const RecordedCall& line : s.Lines())
    if (line.x == line.x0 && line.y0 == c.plotBottom + 4 && line.y > line.y0) p.xTickEnds.push_back(line.y);
  for (const RecordedCall& t : s.Texts()) {
    if (t.y == c.plotBottom + 4 + 6 * c.sizeFactor && t.align == TextAlign::kCentre) p.xLabels.push_back(t.text);
    if (t.align == TextAlign::kRight) p.yLabels.push_back(t.text);
  }
  return p;
}

ChartState ScreenRect(int width) {
  ChartState c;
  SetRect(c, PlotRect{60, 24, 60 + width, 424});
  return c;
}

TEST_F(Chart, GraphAxesLabelsEverySecondTickOfElevenAndEveryTickOfFive) {
  RecordingSurface s;
  ChartState c = ScreenRect(500);
  double xmin = 0, xmax = 100, ymin = 0, ymax = 100;
  GraphAxes(s, c, 10, xmin, ymin, xmax, ymax, "pH", "% formation", "Title");
  AxisPicture p = Picture(s, c);
  // 11 short ticks (k1 - k0 = 10), then 6 long ones for the labels.
  ASSERT_EQ(p.xTickEnds.size(), 17u);
  EXPECT_EQ(std::count(p.xTickEnds.begin(), p.xTickEnds.end(), c.plotBottom + 6), 11);
  EXPECT_EQ(p.xLabels, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
  EXPECT_EQ(p.yLabels, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
  // The frame, the titles and the rotated y title.
  EXPECT_EQ((std::array{s.Lines()[0].x0, s.Lines()[0].y0, s.Lines()[1].y}), (std::array{56, 428, 20}));
  ASSERT_EQ(s.TextsOf("Title").size(), 1u);
  EXPECT_EQ((std::array{s.TextsOf("Title")[0].x, s.TextsOf("Title")[0].y, s.TextsOf("pH")[0].y}),
            (std::array{310, 0, 456}));
  RecordedCall yTitle = s.TextsOf("% formation")[0];
  EXPECT_TRUE(yTitle.rotated);
  EXPECT_EQ((std::array{yTitle.x, yTitle.y}), (std::array{0, 224}));
  EXPECT_EQ(yTitle.font.height, 0);

  s.Clear();
  xmin = 0, xmax = 2.1;  // step 0.5, ticks 0..4 (k1 - k0 = 4)
  GraphAxes(s, c, 10, xmin, ymin, xmax, ymax, "pH", "", "");
  p = Picture(s, c);
  EXPECT_EQ(p.xLabels, (std::vector<std::string>{"0", "0.5", "1.0", "1.5", "2.0"}));
  EXPECT_EQ(p.xTickEnds.size(), 10u);
}

TEST_F(Chart, LastXTickBeyondTheRightEdgeIsDroppedAndNoXTicksWithoutATitle) {
  RecordingSurface s;
  ChartState c = ScreenRect(960);
  double xmin = 0, xmax = 9.6, ymin = 0, ymax = 1;
  GraphAxes(s, c, 10, xmin, ymin, xmax, ymax, "volume", "", "");
  AxisPicture p = Picture(s, c);
  EXPECT_EQ(std::count(p.xTickEnds.begin(), p.xTickEnds.end(), c.plotBottom + 6), 10);  // 0..9, not 10
  EXPECT_EQ(p.xLabels.back(), "8");

  s.Clear();
  GraphAxes(s, c, 10, xmin, ymin, xmax, ymax, "", "", "");
  EXPECT_TRUE(Picture(s, c).xTickEnds.empty());
  EXPECT_FALSE(Picture(s, c).yLabels.empty());
}

TEST_F(Chart, ChartAxesDrawsAFlatWidenedRangeInEitherOrder) {
  RecordingSurface s;
  ChartState c = ScreenRect(400);
  ChartAxes(s, c, 1, 10, 2, -4.5, 12, -5.5, "pH", "Log Kapp: ML/M", "");
  EXPECT_EQ(s.calls[0].kind, CallKind::kPen);
  EXPECT_EQ(s.calls[0].penWidth, 1);
  std::vector<std::string> labels = Picture(s, c).yLabels;
  EXPECT_EQ(labels.front(), "-4.5");
  EXPECT_EQ(labels.back(), "-5.5");
  for (const RecordedCall& t : s.Texts()) {
    EXPECT_DOUBLE_EQ(t.font.height, 12);  // 9 points at 15 twips a pixel
    if (t.align == TextAlign::kRight) {
      EXPECT_GE(t.y + 6, c.plotTop);
      EXPECT_LE(t.y + 6, c.plotBottom);
    }
  }
  EXPECT_EQ(s.Lines()[1].y, c.plotTop);  // the frame's top edge lies on T
  EXPECT_EQ(MapY(c, -5.5), c.plotTop);

  s.Clear();
  ChartAxes(s, c, 5, 10, 0, 0, 1, 1, "x", "y", "");
  EXPECT_EQ(s.calls[0].penWidth, 24);
}

TEST_F(Chart, ChartClipGrowsUpwardsAndRestoresTheSpeciesScaleAfterThePhAxis) {
  RecordingSurface s;
  ChartState c;
  SetRect(c, PlotRect{256, 747, 851, 120});
  c.penWidth = 2;
  ClipAxes axes;
  axes.xmin = 0, axes.xmax = 10, axes.ymin = 0, axes.ymax = 100;
  axes.pHLow = 3, axes.pHHigh = 11, axes.pHTitle = "pH";
  axes.xTitle = "titre volume / ml", axes.yTitle = "Concentration / M";
  axes.curveX = {0, 5, 10};
  axes.curvePh = {3, 7, 11};
  Chart_Clip(s, c, axes);
  const int gap = ClipGap(32);
  EXPECT_EQ(MapY(c, 0), 120);
  EXPECT_EQ(MapY(c, 100), 747);
  EXPECT_EQ(s.Lines()[0].y0, 116);
  EXPECT_EQ(s.Lines()[0].penWidth, 2);
  // Labels below their ticks and the x title below the labels, a gap apart.
  EXPECT_EQ(s.TextsOf("10")[0].y, 120 - 19 - gap);
  EXPECT_EQ(s.TextsOf("10")[0].font.height, 32);
  EXPECT_EQ(s.TextsOf("titre volume / ml")[0].y, 120 - 19 - 2 * gap - 32);
  EXPECT_EQ(s.TextsOf("Concentration / M")[0].x, gap);  // against the picture's left edge
  // The pH labels start a gap beyond their longest ticks; the title beyond them.
  std::vector<RecordedCall> eleven = s.TextsOf("11");
  ASSERT_FALSE(eleven.empty());
  EXPECT_EQ(eleven.back().align, TextAlign::kLeft);
  EXPECT_EQ(eleven.back().x, 851 + 19 + gap);
  ASSERT_EQ(s.TextsOf("pH").size(), 1u);
  EXPECT_GT(s.TextsOf("pH")[0].x - s.WidthIn(FontSpec{32}, "pH") / 2, 851 + 19 + gap + s.WidthIn(FontSpec{32}, "11"));
  // The pH curve ends at the top right corner of the pH scale.
  RecordedCall last = s.Lines().back();
  EXPECT_EQ(last.x, 851);
  EXPECT_EQ(last.y, 747);
  EXPECT_EQ(s.Lines()[s.Lines().size() - 2].y, (747 + 120 + 1) / 2);  // pH 7 half way (433.5 to even)
}

TEST_F(Chart, ShortAxesGetFewerIntervalsSoTheirLabelsStayApart) {
  EXPECT_EQ(FittingIntervals(0, 100, 10, 400, 22), 10);
  // 10 intervals of 10 on 60 units put labels (every second tick) 12 apart.
  const int n = FittingIntervals(0, 100, 10, 60, 22);
  EXPECT_LT(n, 10);
  const double step = NiceStep(0, 100, n);
  const TickRange t = YTicks(0, 100, step);
  EXPECT_GE(t.spacing * step * 60 / 100, 22);
  EXPECT_EQ(FittingIntervals(-4.5, -5.5, 10, 10, 22), 1);  // reversed, flat or tiny: one interval
  EXPECT_EQ(FittingIntervals(5, 5, 10, 1000, 22), 10);

  // The screen's axes on a low plot: labels at least a line and a half apart.
  RecordingSurface s;
  ChartState c;
  SetRect(c, PlotRect{60, 24, 560, 84});
  double xmin = 0, xmax = 10, ymin = 0, ymax = 100;
  GraphAxes(s, c, 10, xmin, ymin, xmax, ymax, "pH", "%", "");
  std::vector<int> ys;
  for (const RecordedCall& text : s.Texts())
    if (text.align == TextAlign::kRight) ys.push_back(text.y);
  ASSERT_GE(ys.size(), 2u);
  for (std::size_t i = 1; i < ys.size(); ++i) EXPECT_GE(std::abs(ys[i] - ys[i - 1]), 22);
}

// A line is cut where it leaves the rectangle and the pen comes down where
// it comes back; a line wholly outside draws nothing, one wholly inside
// draws as it would unclipped.
TEST_F(Chart, ClippedPenKeepsLinesInsideTheRectangle) {
  RecordingSurface s;
  ClippedPen pen(s, PlotRect{10, 100, 110, 0});  // y grows upwards: top above bottom
  pen.MoveTo(20, 20);
  pen.LineTo(60, 60);    // inside
  pen.LineTo(60, 160);   // leaves through the top
  pen.LineTo(200, 160);  // wholly outside
  pen.LineTo(100, 50);   // comes back through the right edge
  pen.LineTo(-90, 50);   // crosses the whole rectangle
  std::vector<RecordedCall> lines = s.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ((std::array{lines[0].x0, lines[0].y0, lines[0].x, lines[0].y}), (std::array{20, 20, 60, 60}));
  EXPECT_EQ((std::array{lines[1].x0, lines[1].y0, lines[1].x, lines[1].y}), (std::array{60, 60, 60, 100}));
  EXPECT_EQ((std::array{lines[2].x0, lines[2].y0, lines[2].x, lines[2].y}), (std::array{110, 61, 100, 50}));
  EXPECT_EQ((std::array{lines[3].x0, lines[3].y0, lines[3].x, lines[3].y}), (std::array{100, 50, 10, 50}));
  EXPECT_EQ(s.calls[0].kind, CallKind::kMove);  // the first point is inside: the pen starts there
}

}  // namespace
}  // namespace tarn

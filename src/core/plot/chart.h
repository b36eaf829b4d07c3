#pragma once
// The chart routines: value-to-coordinate mapping, tick steps and tick label
// texts, text output, and the axes of the screen plot (GraphAxes), of the
// conditional-constant plot (ChartAxes) and of the plot copy (Chart_Clip).
// All of them draw on a Surface; the drawing state is passed explicitly.
//
//   ChartState chart;
//   chart.plotLeft = 48; chart.plotTop = 24; chart.plotRight = w - 16; chart.plotBottom = h - 40;
//   ChartAxes(surface, chart, 1, 10, xmin, ymin, xmax, ymax, "pH", "Log Kapp", title);
//   surface.MoveTo(MapX(chart, x0), MapY(chart, y0));

#include <string>
#include <vector>

#include "core/plot/surface.h"

namespace tarn {

// The drawing state shared by the routines of one drawing. The plot
// rectangle is in surface units; the frame lies about 4 units outside it.
struct ChartState {
  int plotLeft = 0;
  int plotTop = 0;
  int plotRight = 0;
  int plotBottom = 0;
  int sizeFactor = 1;  // s: multiplies tick lengths, text offsets and point sizes
  double xScale = 1;   // units per value unit
  double yScale = 1;   // negative when y grows downwards
  int xOffset = 0;     // coordinate of value 0
  int yOffset = 0;
  int penWidth = 1;           // curve pens: 1 on the screen, 2 in the copy
  double twipsPerPixel = 15;  // of the screen, for point sizes (15 at 96 dots per inch)
};

// A plot rectangle in surface units (top below bottom when y grows upwards).
struct PlotRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

// Rounds a real number to a drawing coordinate: nearest integer, halves to
// the even neighbour. Values beyond +-2^30 (and NaN) are held at that bound.
int RoundCoordinate(double v);

// Sets the scale so that xmin..xmax spans plotLeft..plotRight and ymin..ymax
// spans plotBottom..plotTop. An empty range is widened to one unit (xmax
// becomes xmin + 1, ymax ymin + 1), in the caller's variables.
void SetScale(ChartState& chart, double& xmax, double& xmin, double& ymax, double& ymin);
// Only the y part of SetScale.
void SetYScale(ChartState& chart, double& ymax, double& ymin);

int MapX(const ChartState& chart, double v);
int MapY(const ChartState& chart, double v);

// The smallest of 1, 2, 5 or 10 times a power of ten that cuts min..max into
// at most n intervals; negative when min > max. An empty range gives 1.
double NiceStep(double min, double max, int n);

// The label of a tick at value, in the format the step calls for ("0.25",
// "20000", "2.0E4", "1.5E-5"); exactly 0 gives "0".
std::string TickFormat(double value, double step);

// The chart's rectangle, read and set as one.
inline PlotRect RectOf(const ChartState& chart) {
  return PlotRect{chart.plotLeft, chart.plotTop, chart.plotRight, chart.plotBottom};
}
inline void SetRect(ChartState& chart, const PlotRect& rect) {
  chart.plotLeft = rect.left;
  chart.plotTop = rect.top;
  chart.plotRight = rect.right;
  chart.plotBottom = rect.bottom;
}

// Draws lines clipped to a rectangle (edges included): a line that leaves it
// is cut at the edge, and the pen comes down again where the curve comes
// back, so no curve runs over the frame or the titles. Lines wholly inside
// are drawn with exactly the calls an unclipped drawing makes.
//
//   ClippedPen pen(surface, RectOf(chart));
//   pen.MoveTo(x1, y1);  pen.LineTo(x2, y2);  ...
class ClippedPen {
 public:
  ClippedPen(Surface& surface, const PlotRect& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);

 private:
  bool Inside(int x, int y) const;

  Surface& surface_;
  int left_, right_, low_, high_;
  int lastX_ = 0, lastY_ = 0;
  bool penDown_ = false;  // the surface's cursor is at the last point
};

// Text flags: the alignment along x (flags AND 3: 0 or 1 centre, 2 right end
// at x, 3 left end at x); flags 1 also turns the text 90 degrees counter-
// clockwise. The top of the text is at y.
inline constexpr int kTextCentre = 0;
inline constexpr int kTextRotated = 1;
inline constexpr int kTextRight = 2;
inline constexpr int kTextLeft = 3;

// Text of the given point size (character height size points, converted to
// pixels with the screen's twips per pixel).
void TextOutAligned(Surface& surface, int x, int y, double size, int flags, const std::string& text,
                    double twipsPerPixel = 15);
// Text of the given character height in surface units (0 = the default height).
void TextOutHeight(Surface& surface, int x, int y, double height, int flags, const std::string& text);
// Text of the plot copy: character height 32 (3.2 mm) unless another is given.
void API_Text_Clip(Surface& surface, int x, int y, int flags, const std::string& text, double height = 32);

// The ticks of an axis: k0..k1 are the tick numbers (tick k at k x step),
// every spacing-th from k0 is labelled. Empty when k1 < k0.
struct TickRange {
  double step = 1;
  long long k0 = 0;
  long long k1 = -1;
  int spacing = 1;
  bool Empty() const { return k1 < k0; }
};
// The x ticks: the last one may lie up to rightLimit (a coordinate).
TickRange XTicks(const ChartState& chart, double xmin, double xmax, double step, int rightLimit);
// The y ticks (and those of a pH axis).
TickRange YTicks(double ymin, double ymax, double step);

// The greatest number of intervals, n at most, whose labelled ticks (every
// one or every second, as the axes label them) lie at least minSpacing apart
// on an axis extent units long; at least 1. A short axis gets fewer, wider
// steps instead of labels on top of each other.
int FittingIntervals(double min, double max, int n, double extent, double minSpacing);

// Axes of the screen plot: thinnest black pen, default-height text. ny is the
// number of y intervals; the ranges are widened by SetScale in place.
void GraphAxes(Surface& surface, ChartState& chart, int ny, double& xmin, double& ymin, double& xmax, double& ymax,
               const std::string& xTitle, const std::string& yTitle, const std::string& title);

// Axes of the conditional-constant plot: black pen of width s (24 from s = 5
// on), text of 9 s points. Sets the scale that MapX and MapY use.
void ChartAxes(Surface& surface, ChartState& chart, int s, int ny, double xmin, double ymin, double xmax, double ymax,
               const std::string& xTitle, const std::string& yTitle, const std::string& title);

// What the plot copy's axes show.
struct ClipAxes {
  int ny = 10;
  double xmin = 0;
  double ymin = 0;
  double xmax = 1;
  double ymax = 1;
  double pHLow = 0;
  double pHHigh = 0;
  std::string pHTitle;  // "pH" draws the pH axis and curve on the right; empty: none
  std::string xTitle;
  std::string yTitle;
  std::string title;
  std::vector<double> curveX;  // the pH curve: x value (NaN: none, a gap) and pH of each point
  std::vector<double> curvePh;
  double textHeight = 32;    // character height of the tick labels and the x title
  double titleHeight = 32;   // of the chart's title
  double yTitleHeight = 32;  // of the rotated y title
  int pictureHeight = 0;     // the y title stays within it (0: beside the plot's middle)
};

// The gap the copy keeps between its parts (tick marks, labels, titles,
// edges) for a text height.
int ClipGap(double textHeight);

// The plot rectangle of a copy width x height units large that leaves room
// for every text Chart_Clip draws, measured on the surface: the title above,
// the tick labels and the x title below, the tick labels and the y title on
// the left (against the picture's edge), the pH axis on the right. Sets
// axes.ny to the intervals whose labels stay apart, and shrinks the title
// and the y title that would be longer than the picture.
PlotRect ClipPlotRect(Surface& surface, ClipAxes& axes, int width, int height);

// Axes of the plot copy (units 0.1 mm, y grows upwards), with the pH axis and
// curve when a pH title is given, laid out as ClipPlotRect allows for. Leaves
// the species' scale set; the ranges in axes are widened by SetScale in place.
void Chart_Clip(Surface& surface, ChartState& chart, ClipAxes& axes);

}  // namespace tarn

#include "plot/chart.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "model/number_text.h"

namespace tarn {

namespace {

constexpr double kCoordinateLimit = 1073741824.0;  // 2^30
constexpr long long kMostTicks = 100000;           // beyond this a range is not drawable

// Where the parts of one axis routine go (coordinates of the surface).
struct AxisGeometry {
  int frameTop;
  int frameBottom;
  int titleY;
  int xTickShort;  // end of an x tick
  int xTickLong;   // end of a labelled x tick
  int xLabelY;
  int xTitleY;
  int xLimit;  // the last x tick may lie up to here
  int yTickShort;
  int yTickLong;
  int yLabelX;
  int yLabelDy;
  int yTitleX;
};

using TextFunction = std::function<void(int x, int y, int flags, const std::string& text)>;

int Centre(int a, int b) {
  return RoundCoordinate((a + static_cast<double>(b)) / 2);
}

// k x step lies before the start of the range (on the side of min).
bool BeforeStart(long long k, double step, double min) {
  double v = static_cast<double>(k) * step;
  return step > 0 ? v < min : v > min;
}

bool Drawable(double a, double b) {
  return std::isfinite(a) && std::isfinite(b) && std::fabs(b - a) < kMostTicks;
}

int Spacing(long long k0, long long k1) {
  return k1 - k0 < 5 ? 1 : 2;
}

void DrawFrame(Surface& surface, const ChartState& c, const AxisGeometry& g) {
  int left = c.plotLeft - 4, right = c.plotRight + 4;
  surface.MoveTo(left, g.frameBottom);
  surface.LineTo(right, g.frameBottom);
  surface.LineTo(right, g.frameTop);
  surface.LineTo(left, g.frameTop);
  surface.LineTo(left, g.frameBottom);
}

void DrawXTicks(Surface& surface, const ChartState& c, const AxisGeometry& g, const TextFunction& text,
                const TickRange& t) {
  for (long long k = t.k0; k <= t.k1; ++k) {
    int x = MapX(c, static_cast<double>(k) * t.step);
    surface.MoveTo(x, g.frameBottom);
    surface.LineTo(x, g.xTickShort);
  }
  for (long long k = t.k0; k <= t.k1; k += t.spacing) {
    double v = static_cast<double>(k) * t.step;
    int x = MapX(c, v);
    surface.MoveTo(x, g.frameBottom);
    surface.LineTo(x, g.xTickLong);
    text(x, g.xLabelY, kTextCentre, TickFormat(v, t.step));
  }
}

void DrawYTicks(Surface& surface, const ChartState& c, const AxisGeometry& g, const TextFunction& text,
                const TickRange& t) {
  int x0 = c.plotLeft - 4;
  for (long long k = t.k0; k <= t.k1; ++k) {
    int y = MapY(c, static_cast<double>(k) * t.step);
    surface.MoveTo(x0, y);
    surface.LineTo(g.yTickShort, y);
  }
  for (long long k = t.k0; k <= t.k1; k += t.spacing) {
    double v = static_cast<double>(k) * t.step;
    int y = MapY(c, v);
    surface.MoveTo(x0, y);
    surface.LineTo(g.yTickLong, y);
    text(g.yLabelX, y + g.yLabelDy, kTextRight, TickFormat(v, t.step));
  }
}

struct AxisTexts {
  const std::string& xTitle;
  const std::string& yTitle;
  const std::string& title;
};

// Steps, scale, frame, title, x ticks and title, y ticks and title.
void DrawAxes(Surface& surface, ChartState& c, const AxisGeometry& g, const TextFunction& text, int ny, double& xmin,
              double& ymin, double& xmax, double& ymax, const AxisTexts& texts) {
  double xStep = NiceStep(xmin, xmax, 10);
  double yStep = NiceStep(ymin, ymax, ny);
  SetScale(c, xmax, xmin, ymax, ymin);
  DrawFrame(surface, c, g);
  int middleX = Centre(c.plotLeft, c.plotRight);
  if (!texts.title.empty()) text(middleX, g.titleY, kTextCentre, texts.title);
  if (!texts.xTitle.empty()) {
    DrawXTicks(surface, c, g, text, XTicks(c, xmin, xmax, xStep, g.xLimit));
    text(middleX, g.xTitleY, kTextCentre, texts.xTitle);
  }
  DrawYTicks(surface, c, g, text, YTicks(ymin, ymax, yStep));
  if (!texts.yTitle.empty()) text(g.yTitleX, Centre(c.plotTop, c.plotBottom), kTextRotated, texts.yTitle);
}

// The geometry of the screen routines (y grows downwards) at size s.
AxisGeometry ScreenGeometry(const ChartState& c, int s) {
  int l = c.plotLeft, b = c.plotBottom;
  AxisGeometry g{};
  g.frameBottom = b + 4;
  g.xTickShort = b + 4 + 2 * s;
  g.xTickLong = b + 4 + 4 * s;
  g.xLabelY = b + 4 + 6 * s;
  g.xLimit = c.plotRight + 2 * s;
  g.yTickShort = l - 4 - 2 * s;
  g.yTickLong = l - 4 - 4 * s;
  g.yLabelX = l - 4 - 6 * s;
  g.yLabelDy = -6 * s;
  g.yTitleX = l > 5000 ? 7500 : 0;
  return g;
}

Rgb Black() {
  return kBlack;
}

}  // namespace

int RoundCoordinate(double v) {
  if (!(v > -kCoordinateLimit)) return static_cast<int>(-kCoordinateLimit);
  if (v > kCoordinateLimit) return static_cast<int>(kCoordinateLimit);
  return static_cast<int>(std::nearbyint(v));
}

void SetYScale(ChartState& c, double& ymax, double& ymin) {
  if (ymax == ymin) ymax = ymin + 1;
  c.yScale = (c.plotTop - c.plotBottom) / (ymax - ymin);
  c.yOffset = c.plotBottom - RoundCoordinate(ymin * c.yScale);
}

void SetScale(ChartState& c, double& xmax, double& xmin, double& ymax, double& ymin) {
  if (xmax == xmin) xmax = xmin + 1;
  c.xScale = (c.plotRight - c.plotLeft) / (xmax - xmin);
  c.xOffset = c.plotLeft - RoundCoordinate(xmin * c.xScale);
  SetYScale(c, ymax, ymin);
}

int MapX(const ChartState& c, double v) {
  return RoundCoordinate(c.xOffset + c.xScale * v);
}
int MapY(const ChartState& c, double v) {
  return RoundCoordinate(c.yOffset + c.yScale * v);
}

double NiceStep(double min, double max, int n) {
  if (n < 1) n = 1;
  double range = std::fabs(max - min);
  double raw = range / n;
  if (raw == 0) raw = 1;
  double base = 1e50;
  while (base > raw && base > 1e-300) base /= 10;
  double step = base;
  for (double m : {2.0, 5.0, 10.0, 20.0, 50.0}) {
    if (!(range / step > n)) break;
    step = base * m;
  }
  return min > max ? -step : step;
}

std::string TickFormat(double value, double step) {
  if (value == 0) return "0";
  double magnitude = std::fabs(step);
  int e = 0;
  if (magnitude > 0 && std::isfinite(magnitude)) e = static_cast<int>(std::floor(std::log(magnitude) / std::log(10.0)));
  const char* pattern = "0.0E-0";
  if (e < -9)
    pattern = "0.0E-00";
  else if (e == -3)
    pattern = "0.000";
  else if (e == -2)
    pattern = "0.00";
  else if (e == -1)
    pattern = "0.0";
  else if (e >= 0 && e <= 3)
    pattern = "###0";
  return std::string(Trim(FormatPattern(value, pattern)));
}

void TextOutHeight(Surface& surface, int x, int y, double height, int flags, const std::string& text) {
  surface.SelectFont(FontSpec{height, FontHeight::kCharacter});
  TextAlign align = TextAlign::kCentre;
  if ((flags & 3) == kTextRight) align = TextAlign::kRight;
  if ((flags & 3) == kTextLeft) align = TextAlign::kLeft;
  surface.TextOut(x, y, align, TextAnchor::kTop, flags == kTextRotated, text);
}

void TextOutAligned(Surface& surface, int x, int y, double size, int flags, const std::string& text,
                    double twipsPerPixel) {
  if (!(twipsPerPixel > 0)) twipsPerPixel = 15;
  TextOutHeight(surface, x, y, size * 20 / twipsPerPixel, flags, text);
}

void API_Text_Clip(Surface& surface, int x, int y, int flags, const std::string& text) {
  TextOutHeight(surface, x, y, 32, flags, text);
}

TickRange XTicks(const ChartState& c, double xmin, double xmax, double step, int rightLimit) {
  TickRange t;
  t.step = step;
  if (!Drawable(xmin / step, xmax / step)) return t;
  t.k0 = static_cast<long long>(std::nearbyint(xmin / step));
  if (BeforeStart(t.k0, step, xmin)) ++t.k0;
  t.k1 = static_cast<long long>(std::nearbyint(xmax / step));
  if (MapX(c, static_cast<double>(t.k1) * step) > rightLimit) --t.k1;
  t.spacing = Spacing(t.k0, t.k1);
  return t;
}

TickRange YTicks(double ymin, double ymax, double step) {
  TickRange t;
  t.step = step;
  if (!Drawable(ymin / step, ymax / step)) return t;
  t.k0 = static_cast<long long>(std::nearbyint(ymin / step));
  if (BeforeStart(t.k0, step, ymin)) ++t.k0;
  t.k1 = static_cast<long long>(std::floor(ymax / step));
  t.spacing = Spacing(t.k0, t.k1);
  return t;
}

void GraphAxes(Surface& surface, ChartState& chart, int ny, double& xmin, double& ymin, double& xmax, double& ymax,
               const std::string& xTitle, const std::string& yTitle, const std::string& title) {
  int s = chart.sizeFactor;
  AxisGeometry g = ScreenGeometry(chart, s);
  g.frameTop = chart.plotTop - 4;
  g.titleY = chart.plotTop - 24 * s;
  g.xTitleY = chart.plotBottom + 32 * s;
  surface.SelectPen(0, Black());
  surface.SetTextColour(Black());
  TextFunction text = [&surface](int x, int y, int flags, const std::string& t) {
    TextOutHeight(surface, x, y, 0, flags, t);
  };
  DrawAxes(surface, chart, g, text, ny, xmin, ymin, xmax, ymax, AxisTexts{xTitle, yTitle, title});
}

void ChartAxes(Surface& surface, ChartState& chart, int s, int ny, double xmin, double ymin, double xmax, double ymax,
               const std::string& xTitle, const std::string& yTitle, const std::string& title) {
  AxisGeometry g = ScreenGeometry(chart, s);
  g.frameTop = chart.plotTop;
  g.titleY = chart.plotTop - 20 * s;
  g.xTitleY = chart.plotBottom + 4 + 20 * s;
  surface.SelectPen(s < 5 ? s : 24, Black());
  surface.SetTextColour(Black());
  double twips = chart.twipsPerPixel;
  TextFunction text = [&surface, s, twips](int x, int y, int flags, const std::string& t) {
    TextOutAligned(surface, x, y, 9.0 * s, flags, t, twips);
  };
  DrawAxes(surface, chart, g, text, ny, xmin, ymin, xmax, ymax, AxisTexts{xTitle, yTitle, title});
}

namespace {

// The pH axis on the right of the copy and the pH curve, drawn in the pH's
// own y scale; the species' scale is restored afterwards.
void ClipPhAxis(Surface& surface, ChartState& c, ClipAxes& axes, const TextFunction& text) {
  ChartState saved = c;
  double low = axes.pHLow, high = axes.pHHigh;
  double step = NiceStep(low, high, axes.ny);
  SetYScale(c, high, low);
  int r = c.plotRight;
  TickRange t = YTicks(low, high, step);
  for (long long k = t.k0; k <= t.k1; ++k) {
    int y = MapY(c, static_cast<double>(k) * step);
    surface.MoveTo(r + 4, y);
    surface.LineTo(r + 14, y);
  }
  for (long long k = t.k0; k <= t.k1; k += t.spacing) {
    double v = static_cast<double>(k) * step;
    int y = MapY(c, v);
    surface.MoveTo(r + 4, y);
    surface.LineTo(r + 19, y);
    text(r + 44, y + 16, kTextRight, TickFormat(v, step));
  }
  text(r + 54, Centre(c.plotTop, c.plotBottom), kTextCentre, axes.pHTitle);
  std::size_t n = std::min(axes.curveX.size(), axes.curvePh.size());
  for (std::size_t p = 0; p < n; ++p) {
    int x = MapX(c, axes.curveX[p]), y = MapY(c, axes.curvePh[p]);
    if (p == 0)
      surface.MoveTo(x, y);
    else
      surface.LineTo(x, y);
  }
  c.yScale = saved.yScale;
  c.yOffset = saved.yOffset;
}

}  // namespace

void Chart_Clip(Surface& surface, ChartState& chart, ClipAxes& axes) {
  int l = chart.plotLeft, b = chart.plotBottom;
  AxisGeometry g{};
  g.frameTop = chart.plotTop;
  g.frameBottom = b - 4;
  g.titleY = chart.plotTop + 48;
  g.xTickShort = b - 14;
  g.xTickLong = b - 19;
  g.xLabelY = b - 24;
  g.xTitleY = b - 60;
  g.xLimit = chart.plotRight + 2;
  g.yTickShort = l - 14;
  g.yTickLong = l - 19;
  g.yLabelX = l - 29;
  g.yLabelDy = 16;
  g.yTitleX = axes.concentrationY ? l - 158 : l - 110;
  surface.SelectPen(chart.penWidth, Black());
  surface.SetTextColour(Black());
  TextFunction text = [&surface](int x, int y, int flags, const std::string& t) {
    API_Text_Clip(surface, x, y, flags, t);
  };
  DrawAxes(surface, chart, g, text, axes.ny, axes.xmin, axes.ymin, axes.xmax, axes.ymax,
           AxisTexts{axes.xTitle, axes.yTitle, axes.title});
  if (!axes.pHTitle.empty()) ClipPhAxis(surface, chart, axes, text);
}

}  // namespace tarn

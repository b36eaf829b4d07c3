#include "core/model/constants.h"
#include "core/plot/chart.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr double kCoordinateLimit = 1073741824.0;  // 2^30
constexpr long long kMostTicks = 100000;           // beyond this a range is not drawable
constexpr double kScreenLineHeight = 15;           // pixels of a line of the default font

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
  int yTitleCentre;  // y of the rotated y title's middle
};

// The texts of one axis routine: their heights (0 = the surface's default
// font) and the height of a line of tick labels, for keeping them apart.
struct AxisFont {
  double label = 0;
  double title = 0;
  double yTitle = 0;
  double lineHeight = 15;
};

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

double LabelWidth(Surface& surface, double height, const std::string& text) {
  surface.SelectFont(FontSpec{height, FontHeight::kCharacter});
  return surface.TextWidth(text);
}

// The widest label of the ticks a step gives on min..max.
double WidestLabel(Surface& surface, double height, double min, double max, double step) {
  TickRange t = YTicks(std::min(min, max), std::max(min, max), std::fabs(step));
  double widest = 0;
  for (long long k = t.k0; k <= t.k1; k += t.spacing)
    widest = std::max(widest, LabelWidth(surface, height, TickFormat(static_cast<double>(k) * t.step, t.step)));
  return widest;
}

// The x step: at most 10 intervals, fewer when the labels would touch.
double FittingXStep(Surface& surface, const ChartState& c, const AxisFont& font, double xmin, double xmax) {
  double range = std::fabs(xmax - xmin) > 0 ? std::fabs(xmax - xmin) : 1;
  double extent = std::abs(c.plotRight - c.plotLeft);
  for (int n = 10; n > 1; --n) {
    double step = NiceStep(xmin, xmax, n);
    TickRange t = YTicks(std::min(xmin, xmax), std::max(xmin, xmax), std::fabs(step));
    double apart = t.spacing * std::fabs(step) * extent / range;
    if (apart >= WidestLabel(surface, font.label, xmin, xmax, step) + font.lineHeight / 2) return step;
  }
  return NiceStep(xmin, xmax, 1);
}

void DrawFrame(Surface& surface, const ChartState& c, const AxisGeometry& g) {
  int left = c.plotLeft - 4, right = c.plotRight + 4;
  surface.MoveTo(left, g.frameBottom);
  surface.LineTo(right, g.frameBottom);
  surface.LineTo(right, g.frameTop);
  surface.LineTo(left, g.frameTop);
  surface.LineTo(left, g.frameBottom);
}

void DrawXTicks(Surface& surface, const ChartState& c, const AxisGeometry& g, const AxisFont& font,
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
    TextOutHeight(surface, x, g.xLabelY, font.label, kTextCentre, TickFormat(v, t.step));
  }
}

void DrawYTicks(Surface& surface, const ChartState& c, const AxisGeometry& g, const AxisFont& font,
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
    TextOutHeight(surface, g.yLabelX, y + g.yLabelDy, font.label, kTextRight, TickFormat(v, t.step));
  }
}

struct AxisTexts {
  const std::string& xTitle;
  const std::string& yTitle;
  const std::string& title;
};

// Steps, scale, frame, title, x ticks and title, y ticks and title. A short
// axis gets fewer intervals than asked for, so its labels stay apart.
void DrawAxes(Surface& surface, ChartState& c, const AxisGeometry& g, const AxisFont& font, int ny, double& xmin,
              double& ymin, double& xmax, double& ymax, const AxisTexts& texts) {
  double xStep = FittingXStep(surface, c, font, xmin, xmax);
  ny = FittingIntervals(ymin, ymax, ny, c.plotBottom - c.plotTop, 1.5 * font.lineHeight);
  double yStep = NiceStep(ymin, ymax, ny);
  SetScale(c, xmax, xmin, ymax, ymin);
  DrawFrame(surface, c, g);
  int middleX = Centre(c.plotLeft, c.plotRight);
  if (!texts.title.empty()) TextOutHeight(surface, middleX, g.titleY, font.title, kTextCentre, texts.title);
  if (!texts.xTitle.empty()) {
    DrawXTicks(surface, c, g, font, XTicks(c, xmin, xmax, xStep, g.xLimit));
    TextOutHeight(surface, middleX, g.xTitleY, font.label, kTextCentre, texts.xTitle);
  }
  DrawYTicks(surface, c, g, font, YTicks(ymin, ymax, yStep));
  if (!texts.yTitle.empty()) TextOutHeight(surface, g.yTitleX, g.yTitleCentre, font.yTitle, kTextRotated, texts.yTitle);
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
  g.yTitleCentre = Centre(c.plotTop, c.plotBottom);
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
  if (magnitude > 0 && std::isfinite(magnitude)) e = static_cast<int>(std::floor(std::log(magnitude) / kLn10));
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

void API_Text_Clip(Surface& surface, int x, int y, int flags, const std::string& text, double height) {
  TextOutHeight(surface, x, y, height, flags, text);
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
  AxisFont font;  // the default height throughout
  font.lineHeight = kScreenLineHeight * s;
  DrawAxes(surface, chart, g, font, ny, xmin, ymin, xmax, ymax, AxisTexts{xTitle, yTitle, title});
}

void ChartAxes(Surface& surface, ChartState& chart, int s, int ny, double xmin, double ymin, double xmax, double ymax,
               const std::string& xTitle, const std::string& yTitle, const std::string& title) {
  AxisGeometry g = ScreenGeometry(chart, s);
  g.frameTop = chart.plotTop;
  g.titleY = chart.plotTop - 20 * s;
  g.xTitleY = chart.plotBottom + 4 + 20 * s;
  surface.SelectPen(s < 5 ? s : 24, Black());
  surface.SetTextColour(Black());
  double twips = chart.twipsPerPixel > 0 ? chart.twipsPerPixel : 15;
  double height = 9.0 * s * 20 / twips;  // 9 s points
  AxisFont font{height, height, height, height};
  DrawAxes(surface, chart, g, font, ny, xmin, ymin, xmax, ymax, AxisTexts{xTitle, yTitle, title});
}

int FittingIntervals(double min, double max, int n, double extent, double minSpacing) {
  double range = std::fabs(max - min) > 0 ? std::fabs(max - min) : 1;  // as SetScale widens it
  for (; n > 1; --n) {
    double step = std::fabs(NiceStep(min, max, n));
    TickRange t = YTicks(std::min(min, max), std::max(min, max), step);
    if (t.spacing * step * std::fabs(extent) / range >= minSpacing) return n;
  }
  return 1;
}

ClippedPen::ClippedPen(Surface& surface, const PlotRect& rect)
    : surface_(surface),
      left_(std::min(rect.left, rect.right)),
      right_(std::max(rect.left, rect.right)),
      low_(std::min(rect.top, rect.bottom)),
      high_(std::max(rect.top, rect.bottom)) {}

bool ClippedPen::Inside(int x, int y) const {
  return x >= left_ && x <= right_ && y >= low_ && y <= high_;
}

void ClippedPen::MoveTo(int x, int y) {
  lastX_ = x, lastY_ = y;
  penDown_ = Inside(x, y);
  if (penDown_) surface_.MoveTo(x, y);
}

// Liang-Barsky: the part of the line from the last point to (x, y) that lies
// in the rectangle, if any.
void ClippedPen::LineTo(int x, int y) {
  double x0 = lastX_, y0 = lastY_, dx = x - x0, dy = y - y0;
  double enter = 0, leave = 1;
  auto clip = [&enter, &leave](double p, double q) {
    if (p == 0) return q >= 0;
    double r = q / p;
    if (p < 0) {
      if (r > leave) return false;
      enter = std::max(enter, r);
    } else {
      if (r < enter) return false;
      leave = std::min(leave, r);
    }
    return true;
  };
  bool visible = clip(-dx, x0 - left_) && clip(dx, right_ - x0) && clip(-dy, y0 - low_) && clip(dy, high_ - y0);
  lastX_ = x, lastY_ = y;
  if (!visible) {
    penDown_ = false;
    return;
  }
  int ax = RoundCoordinate(x0 + enter * dx), ay = RoundCoordinate(y0 + enter * dy);
  int bx = RoundCoordinate(x0 + leave * dx), by = RoundCoordinate(y0 + leave * dy);
  if (!penDown_ || enter > 0) surface_.MoveTo(ax, ay);
  surface_.LineTo(bx, by);
  penDown_ = leave >= 1;
}

int ClipGap(double textHeight) {
  return std::max(4, RoundCoordinate(textHeight / 4));
}

namespace {

// The copy's fixed tick lengths: from the frame 4 units outside the plot,
// short ticks reach 14 units out, labelled ones 19.
constexpr int kClipTickShort = 14;
constexpr int kClipTickLong = 19;

// A text's height, t unless it is longer than the room; then small enough to fit.
double FittedHeight(Surface& surface, const std::string& text, double t, double room) {
  if (text.empty()) return t;
  double width = LabelWidth(surface, t, text);
  return width <= room || width <= 0 ? t : std::max(1.0, std::floor(t * room / width));
}

// The pH axis on the right of the copy and the pH curve, drawn in the pH's
// own y scale; the species' scale is restored afterwards. The labels stand
// clear of their ticks, the title clear of the labels.
void ClipPhAxis(Surface& surface, ChartState& c, ClipAxes& axes) {
  ChartState saved = c;
  double low = axes.pHLow, high = axes.pHHigh, t = axes.textHeight;
  int gap = ClipGap(t);
  double step = NiceStep(low, high, axes.ny);
  double widest = WidestLabel(surface, t, low, high, step);
  SetYScale(c, high, low);
  int r = c.plotRight;
  TickRange ticks = YTicks(low, high, step);
  for (long long k = ticks.k0; k <= ticks.k1; ++k) {
    int y = MapY(c, static_cast<double>(k) * step);
    surface.MoveTo(r + 4, y);
    surface.LineTo(r + kClipTickShort, y);
  }
  for (long long k = ticks.k0; k <= ticks.k1; k += ticks.spacing) {
    double v = static_cast<double>(k) * step;
    int y = MapY(c, v);
    surface.MoveTo(r + 4, y);
    surface.LineTo(r + kClipTickLong, y);
    API_Text_Clip(surface, r + kClipTickLong + gap, y + RoundCoordinate(t / 2), kTextLeft, TickFormat(v, step), t);
  }
  int titleLeft = r + kClipTickLong + 2 * gap + static_cast<int>(std::ceil(widest));
  int titleWidth = static_cast<int>(std::ceil(LabelWidth(surface, t, axes.pHTitle)));
  API_Text_Clip(surface, titleLeft + titleWidth / 2, Centre(c.plotTop, c.plotBottom), kTextCentre, axes.pHTitle, t);
  ClippedPen pen(surface, RectOf(c));
  std::size_t n = std::min(axes.curveX.size(), axes.curvePh.size());
  bool open = false;
  for (std::size_t p = 0; p < n; ++p) {
    if (!std::isfinite(axes.curveX[p])) {  // a point without an X value: a gap
      open = false;
      continue;
    }
    int x = MapX(c, axes.curveX[p]), y = MapY(c, axes.curvePh[p]);
    open ? pen.LineTo(x, y) : pen.MoveTo(x, y);
    open = true;
  }
  c.yScale = saved.yScale;
  c.yOffset = saved.yOffset;
}

}  // namespace

PlotRect ClipPlotRect(Surface& surface, ClipAxes& axes, int width, int height) {
  double t = axes.textHeight;
  int gap = ClipGap(t);
  axes.pictureHeight = height;
  axes.titleHeight = FittedHeight(surface, axes.title, t, width - 2 * gap);
  axes.yTitleHeight = FittedHeight(surface, axes.yTitle, t, height - 2 * gap);
  PlotRect r;
  r.top = height - (axes.title.empty() ? gap + RoundCoordinate(t / 2) : 2 * gap + RoundCoordinate(axes.titleHeight));
  r.bottom = kClipTickLong + (axes.xTitle.empty() ? gap : 3 * gap + RoundCoordinate(2 * t));
  bool pH = !axes.pHTitle.empty();
  axes.ny = FittingIntervals(axes.ymin, axes.ymax, axes.ny, r.top - r.bottom, 1.5 * t);
  if (pH) axes.ny = FittingIntervals(axes.pHLow, axes.pHHigh, axes.ny, r.top - r.bottom, 1.5 * t);
  double yLabels = WidestLabel(surface, t, axes.ymin, axes.ymax, NiceStep(axes.ymin, axes.ymax, axes.ny));
  double yTitle = axes.yTitle.empty() ? 0 : axes.yTitleHeight + gap;
  r.left = kClipTickLong + 2 * gap + static_cast<int>(std::ceil(yLabels + yTitle));
  if (pH) {
    double pHLabels = WidestLabel(surface, t, axes.pHLow, axes.pHHigh, NiceStep(axes.pHLow, axes.pHHigh, axes.ny));
    r.right =
        width - kClipTickLong - 3 * gap - static_cast<int>(std::ceil(pHLabels + LabelWidth(surface, t, axes.pHTitle)));
  } else {
    double xLabels = WidestLabel(surface, t, axes.xmin, axes.xmax, NiceStep(axes.xmin, axes.xmax, 10));
    r.right = width - gap - std::max(4, static_cast<int>(std::ceil(xLabels / 2)) + 2);
  }
  return r;
}

void Chart_Clip(Surface& surface, ChartState& chart, ClipAxes& axes) {
  int l = chart.plotLeft, b = chart.plotBottom;
  double t = axes.textHeight;
  int gap = ClipGap(t);
  AxisGeometry g{};
  g.frameTop = chart.plotTop;
  g.frameBottom = b - 4;
  g.titleY = chart.plotTop + gap + RoundCoordinate(axes.titleHeight);
  g.xTickShort = b - kClipTickShort;
  g.xTickLong = b - kClipTickLong;
  g.xLabelY = b - kClipTickLong - gap;
  g.xTitleY = b - kClipTickLong - 2 * gap - RoundCoordinate(t);
  g.xLimit = chart.plotRight + 2;
  g.yTickShort = l - kClipTickShort;
  g.yTickLong = l - kClipTickLong;
  g.yLabelX = l - kClipTickLong - gap;
  g.yLabelDy = RoundCoordinate(t / 2);
  g.yTitleX = gap;  // against the picture's left edge, as ClipPlotRect leaves room
  // Beside the plot's middle, but within the picture when it is longer than the plot.
  g.yTitleCentre = Centre(chart.plotTop, b);
  if (axes.pictureHeight > 0) {
    int half = static_cast<int>(std::ceil(LabelWidth(surface, axes.yTitleHeight, axes.yTitle) / 2));
    g.yTitleCentre = std::clamp(g.yTitleCentre, gap + half, std::max(gap + half, axes.pictureHeight - gap - half));
  }
  surface.SelectPen(chart.penWidth, Black());
  surface.SetTextColour(Black());
  AxisFont font{t, axes.titleHeight, axes.yTitleHeight, t};
  DrawAxes(surface, chart, g, font, axes.ny, axes.xmin, axes.ymin, axes.xmax, axes.ymax,
           AxisTexts{axes.xTitle, axes.yTitle, axes.title});
  if (!axes.pHTitle.empty()) ClipPhAxis(surface, chart, axes);
}

}  // namespace tarn

#include "core/kapp/kapp_plot.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {

constexpr int kSize = 1;
constexpr int kYIntervals = 10;
constexpr double kYMargin = 0.02;  // of the data's range, above and below it

}  // namespace

KappYRange KappPlotYRange(double ymin, double ymax) {
  double low = std::min(ymin, ymax), high = std::max(ymin, ymax);
  double margin = kYMargin * (high - low);
  KappYRange range{low - margin, high + margin};
  // Out to whole steps of the range's own step (the one the axes will use).
  for (int round = 0; round < 4; ++round) {
    double step = NiceStep(range.low, range.high, kYIntervals);
    KappYRange whole{std::floor((low - margin) / step) * step, std::ceil((high + margin) / step) * step};
    if (whole.low == range.low && whole.high == range.high) break;
    range = whole;
  }
  return range;
}

ChartState DrawKappPlot(Surface& surface, int width, int height, const KappPlotSetup& setup, const KappAxis& axis,
                        const KappValues& values, double twipsPerPixel) {
  ChartState chart;
  chart.twipsPerPixel = twipsPerPixel;
  chart.plotLeft = kKappPlotLeft;
  chart.plotTop = kKappPlotTop;
  chart.plotRight = width - kKappPlotRightMargin;
  chart.plotBottom = height - kKappPlotBottomMargin;
  KappYRange y = KappPlotYRange(setup.ymin, setup.ymax);
  ChartAxes(surface, chart, kSize, kYIntervals, setup.xmin, y.low, setup.xmax, y.high, setup.xTitle, setup.yTitle,
            setup.title);
  if (values.npoints < 1) return chart;
  surface.SelectPen(kSize, kBlack);
  ClippedPen pen(surface, RectOf(chart));
  pen.MoveTo(MapX(chart, KappX(axis, 1)), MapY(chart, values.logKapp(1)));
  for (int p = 1; p <= values.npoints; ++p) pen.LineTo(MapX(chart, KappX(axis, p)), MapY(chart, values.logKapp(p)));
  return chart;
}

}  // namespace tarn

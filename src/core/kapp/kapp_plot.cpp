#include "kapp/kapp_plot.h"

namespace tarn {

namespace {

constexpr int kSize = 1;
constexpr int kYIntervals = 10;

}  // namespace

ChartState DrawKappPlot(Surface& surface, int width, int height, const KappPlotSetup& setup, const KappAxis& axis,
                        const KappValues& values, double twipsPerPixel) {
  ChartState chart;
  chart.twipsPerPixel = twipsPerPixel;
  chart.plotLeft = kKappPlotLeft;
  chart.plotTop = kKappPlotTop;
  chart.plotRight = width - kKappPlotRightMargin;
  chart.plotBottom = height - kKappPlotBottomMargin;
  ChartAxes(surface, chart, kSize, kYIntervals, setup.xmin, setup.ymin, setup.xmax, setup.ymax, setup.xTitle,
            setup.yTitle, setup.title);
  if (values.npoints < 1) return chart;
  surface.SelectPen(kSize, kBlack);
  surface.MoveTo(MapX(chart, KappX(axis, 1)), MapY(chart, values.logKapp(1)));
  for (int p = 1; p <= values.npoints; ++p) surface.LineTo(MapX(chart, KappX(axis, p)), MapY(chart, values.logKapp(p)));
  return chart;
}

}  // namespace tarn

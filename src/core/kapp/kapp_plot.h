#pragma once
// The conditional-constant plot: log Kapp against the x axis's pX, drawn with
// the chart routines' axes on any drawing surface.
//
//   std::optional<KappPlotSetup> setup = PrepareKappPlot(state, def, axis, values, sink);
//   if (setup) DrawKappPlot(surface, width, height, *setup, axis, values);

#include "core/kapp/kapp_values.h"
#include "core/plot/chart.h"
#include "core/plot/surface.h"

namespace tarn {

// The plot rectangle's margins on a surface, in its units.
inline constexpr int kKappPlotLeft = 48;
inline constexpr int kKappPlotTop = 24;
inline constexpr int kKappPlotRightMargin = 16;
inline constexpr int kKappPlotBottomMargin = 40;

// The y range the plot shows for log Kapp from ymin to ymax (in either
// order): a fiftieth of the data's range more on each side, widened to
// whole tick steps, so the curve keeps off the frame and ticks reach past it.
struct KappYRange {
  double low = 0;
  double high = 0;
};
KappYRange KappPlotYRange(double ymin, double ymax);

// Draws the axes (ChartAxes, 10 y intervals, the range of KappPlotYRange) and
// the curve, one straight line
// from point to point, on a surface of width x height units. Returns the
// chart state with its scale, for MapX and MapY. twipsPerPixel is the
// screen's, for the point sizes of the texts.
ChartState DrawKappPlot(Surface& surface, int width, int height, const KappPlotSetup& setup, const KappAxis& axis,
                        const KappValues& values, double twipsPerPixel = 15);

}  // namespace tarn

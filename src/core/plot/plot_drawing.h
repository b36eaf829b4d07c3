#pragma once
// The speciation plot on a Surface: the screen drawing (axes, curves, the pH
// axis with the calculated pH curve), the floating species labels' positions,
// the limit markers, the colours, and the copy in 0.1 mm units.
//
//   ChartState chart;
//   PlotView view;  // the window's display options
//   std::optional<MarkerVisibility> markers = DrawScreenPlot(surface, chart, state, results, data, view, width,
//   height);
//   // place label k with PlaceLabel(RectOf(chart), state, k, w, h) ...

#include <optional>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "core/model/project_state.h"
#include "core/plot/chart.h"
#include "core/plot/curve_data.h"
#include "core/plot/surface.h"

namespace tarn {

// The window's display options that the drawing reads.
struct PlotView {
  bool pHTicked = false;        // the second axis is shown ("Show calculated pH", "Show ionic strength")
  bool strengthAxis = false;    // it shows the ionic strength of each point instead of the pH
  bool blackWhite = false;      // "Black/white": every curve and label black
  bool pHLabelWaiting = false;  // label 0 waits for its first placement
};

// The second axis and its curve are drawn: ticked, percentage selected, and
// a proton in the model (for the pH) or an activity correction (for the
// ionic strength).
bool PhAxisShown(const ProjectState& state, const PlotView& view);
// The second axis's title and the caption of its curve's label: "pH" or "I".
const char* SecondAxisTitle(const PlotView& view);

// The screen's plot rectangle in a plot box of the given inner size (pixels):
// left 84 for the concentration option (wider labels), else 60; top 24; right
// 70 from the right edge when pH is ticked, else 40; bottom 60 from the bottom.
PlotRect ScreenPlotRect(int boxWidth, int boxHeight, int yChoice, bool pHTicked);

// The plot box's size in twips, given its greatest size (the window's inner
// size less the box's left and top and 60) and the aspect ratio a (width /
// height, a > 0). After a resize the box takes its greatest size, then the
// side that is too long for a shrinks. After a change of a the width starts
// 15 below the greatest and falls in steps of 15 until width / a fits the
// greatest height.
struct BoxSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const BoxSize&, const BoxSize&) = default;
};
BoxSize FitBoxOnResize(int greatestWidth, int greatestHeight, double aspect);
BoxSize FitBoxOnAspect(int greatestWidth, int greatestHeight, double aspect);

// The curve colour of species k (k >= 1): the palette entry ((k - 1) mod 17)
// + 1; black in black/white mode and for label 0 (the pH curve).
Rgb SpeciesColour(const ProjectState& state, int k, bool blackWhite);

// Whether the limit markers show: the upper (lower) limit of the selected Y
// option differs from its default.
struct MarkerVisibility {
  bool up = false;
  bool down = false;
  friend bool operator==(const MarkerVisibility&, const MarkerVisibility&) = default;
};
MarkerVisibility LimitMarkers(const ProjectState& state, const SeriesResults& results, const PlotData& data);

// The Y values of the marked species and their curves: a line to each point
// whose value lies above the bottom of the range (plus 0.001 of it), a move
// otherwise. Pen width chart.penWidth in the species' colour.
void GraphS(Surface& surface, const ChartState& chart, const ProjectState& state, const SeriesResults& results,
            PlotData& data, bool blackWhite);

// The right-hand pH axis of the screen plot and the calculated pH curve; the
// first placement of label 0 when it waits for one.
void DrawPhAxis(Surface& surface, const ChartState& chart, ProjectState& state, const SeriesResults& results,
                const PlotData& data, PlotView& view);

// One complete drawing in the chart's rectangle: curve data, axes (10 y
// intervals, the project's title), curves, the pH axis when shown; returns
// the limit markers' visibility. Draws nothing without results (ifail other
// than 1) and returns nothing: the markers stay as they are.
std::optional<MarkerVisibility> Drawcurves(Surface& surface, ChartState& chart, ProjectState& state,
                                           const SeriesResults& results, PlotData& data, PlotView& view);

// The screen plot: the rectangle for the box size, size factor 1, pen width
// 1, then Drawcurves. Nothing is drawn (and nothing returned) when the
// rectangle is less than 20 pixels either way.
std::optional<MarkerVisibility> DrawScreenPlot(Surface& surface, ChartState& chart, ProjectState& state,
                                               const SeriesResults& results, PlotData& data, PlotView& view,
                                               int boxWidth, int boxHeight);

// A floating label's box on the plot surface.
struct LabelBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const LabelBox&, const LabelBox&) = default;
};

// Where label k of the given size goes: its centre at the fractions
// speciesInfo(0, k), speciesInfo(1, k) of the rectangle. Empty when the
// project has no position for k.
std::optional<LabelBox> PlaceLabel(const PlotRect& rect, const ProjectState& state, int k, int width, int height);
// Stores label k's position (its centre as fractions of the rectangle);
// returns whether it stays visible (CheckVisibility).
bool Setlabel(ProjectState& state, int k, const PlotRect& rect, const LabelBox& label);
// A label is hidden when it lies wholly outside the rectangle; one that
// touches it stays visible.
bool CheckVisibility(const PlotRect& rect, const LabelBox& label);
// Resets the positions of labels 1..ntotal (the window hides them).
void Hidelabels(ProjectState& state);

// The aspect ratios (width / height) the plot accepts: beyond them a plot
// or its copy would be a strip without room for its curves.
inline constexpr double kMinAspect = 0.2;
inline constexpr double kMaxAspect = 5;
// Whether the window takes a typed aspect ratio.
bool AspectAccepted(double aspect);

// The plot copy: 1107 units (0.1 mm) wide, the height from the aspect ratio
// (width / height, held within the accepted ratios), rounded to the even
// neighbour at halves: 221 to 5535 units.
inline constexpr int kCopyWidth = 1107;
int CopyHeight(double aspect);
// The copy's text height (0.1 mm): 3.2 mm, smaller on a low picture so that
// the axes leave the plot room (2.2 mm at the lowest).
double CopyTextHeight(int height);

struct CopySize {
  int width = 0;
  int height = 0;
};
// Draws the copy of the plot (y grows upwards): axes laid out for the
// picture's size (ClipPlotRect), curves with pen width 2 clipped to the plot,
// and every label k (0..ntotal) with labelVisible[k] as formula text of the
// copy's text height. The chart state is left with the copy's rectangle and
// scale. Draws nothing without results; returns the extent either way.
CopySize DrawCopy(Surface& surface, ChartState& chart, ProjectState& state, const SeriesResults& results,
                  PlotData& data, const PlotView& view, const std::vector<bool>& labelVisible, double aspect);

}  // namespace tarn

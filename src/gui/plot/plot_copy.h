#pragma once
// The copy of a speciation plot as a vector drawing: the copy's geometry
// (units of 0.1 mm, y growing upwards, 1107 wide) drawn on an SVG surface
// that turns it into a correctly oriented SVG, and the forms made from it:
// the clipboard's SVG plus bitmap, and files in SVG, PDF or PNG.
//
//   PlotCopy copy = MakePlotCopy(state, results, data, view, labelVisible, aspect);
//   PutClipboardPicture(copy.svg, CopyImage(copy));
//   SavePlotCopy(copy, "/home/me/figure.pdf");

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

#include "core/engine/solver_work.h"
#include "gui/plot/painter_surface.h"
#include "core/model/project_state.h"
#include "core/plot/curve_data.h"
#include "core/plot/plot_drawing.h"

namespace tarn::gui {

// A PainterSurface whose y grows upwards from the bottom of a drawing of the
// given height, for painters on an SVG generator or a PDF writer.
class FlippedSurface : public PainterSurface {
 public:
  FlippedSurface(QPainter& painter, int height) : PainterSurface(painter), height_(height) {}

 protected:
  QPointF Device(int x, int y) const override { return QPointF(x, height_ - y); }

 private:
  int height_;
};

// The copy's resolution: 0.1 mm units are 254 to the inch.
inline constexpr int kCopyUnitsPerInch = 254;
// The bitmap forms are drawn at 300 dots per inch.
inline constexpr int kCopyImageDpi = 300;

struct PlotCopy {
  int width = 0;   // 0.1 mm
  int height = 0;  // 0.1 mm
  QByteArray svg;  // width and height in mm, viewBox in 0.1 mm
  PlotRect plot;   // the plot rectangle (0.1 mm, y up) the curves are drawn in
};

// Draws the copy (axes, curves, pH axis, the visible labels) into an SVG.
PlotCopy MakePlotCopy(ProjectState& state, const SeriesResults& results, PlotData& data, const PlotView& view,
                      const std::vector<bool>& labelVisible, double aspect);

// The copy as a bitmap on white at kCopyImageDpi.
QImage CopyImage(const PlotCopy& copy);

// Writes the copy to path as SVG, PDF or PNG, chosen by the extension
// (any case); false when the extension is none of these or the file cannot
// be written. The file is written whole or not at all.
bool SavePlotCopy(const PlotCopy& copy, const std::string& path);

}  // namespace tarn::gui

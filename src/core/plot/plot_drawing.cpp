#include "core/plot/plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/model/number_text.h"
#include "core/plot/formula_text.h"

namespace tarn {

namespace {

constexpr int kYIntervals = 10;
constexpr int kSmallestPlot = 20;           // pixels each way
constexpr double kScreenLabelSpacing = 22;  // pixels between labelled ticks: a line and a half
constexpr double kCopyTextHeight = 32;      // 3.2 mm
constexpr double kMinCopyTextHeight = 22;
constexpr int kFullTextCopyHeight = 600;  // from this height on the copy's text has its full size

int SelectedY(const ProjectState& state) {
  return std::clamp(state.plot.yChoice, 0, 2);
}

bool HasResults(const ProjectState& state, const SeriesResults& results) {
  return results.ifail == kSuccess && results.npoints >= 1 && results.speciesConc.Upper1() >= state.ntotal() &&
         results.speciesConc.Upper2() >= results.npoints;
}

// The pH scale of the screen's pH axis: position of pH v = offset + scale v.
struct PhScale {
  double scale = 1;
  int offset = 0;
  int Position(double v) const { return RoundCoordinate(offset + scale * v); }
};

// The value of the second axis at point p: the pH, or the ionic strength.
double PhAt(const SeriesResults& results, const PlotView& view, int p) {
  if (view.strengthAxis) return results.activity && results.ionicStrength.Upper() >= p ? results.ionicStrength(p) : 0;
  return results.pH.Upper() >= p ? results.pH(p) : 0;
}

// The pH runs from its first point to its last; the ionic strength may turn.
void PhRange(const SeriesResults& results, const PlotView& view, double& low, double& high) {
  double first = PhAt(results, view, 1), last = PhAt(results, view, results.npoints);
  low = std::min(first, last);
  high = std::max(first, last);
  if (!view.strengthAxis) return;
  for (int p = 1; p <= results.npoints; ++p) {
    low = std::min(low, PhAt(results, view, p));
    high = std::max(high, PhAt(results, view, p));
  }
}

void PlaceWaitingPhLabel(const ChartState& c, ProjectState& state, const SeriesResults& results, const PhScale& ph,
                         PlotView& view) {
  if (!view.pHLabelWaiting || state.speciesInfo.Upper1() < 1 || state.speciesInfo.Upper2() < 0) return;
  int m = std::max(1, RoundCoordinate(results.npoints / 2.0));
  int height = c.plotBottom - c.plotTop;
  state.speciesInfo(0, 0) = 0.5;
  state.speciesInfo(1, 0) =
      height != 0 ? static_cast<double>(ph.Position(PhAt(results, view, m)) - c.plotTop) / height : 0.5;
  view.pHLabelWaiting = false;
}

// The pH title's height: between the first pair of neighbouring labels that
// straddles the middle of the axis.
int PhTitleY(const ChartState& c, const PhScale& ph, const TickRange& t) {
  int yt = RoundCoordinate((c.plotTop + static_cast<double>(c.plotBottom)) / 2);
  for (long long k = t.k0; k + t.spacing <= t.k1; k += t.spacing) {
    int here = ph.Position(static_cast<double>(k) * t.step);
    int next = ph.Position(static_cast<double>(k + t.spacing) * t.step);
    if (here > yt && yt >= next) return RoundCoordinate((here + static_cast<double>(next)) / 2);
  }
  return yt;
}

void DrawPhTicks(Surface& surface, const ChartState& c, const PhScale& ph, const TickRange& t) {
  int s = c.sizeFactor, x = c.plotRight + 4;
  for (long long k = t.k0; k <= t.k1; ++k) {
    int y = ph.Position(static_cast<double>(k) * t.step);
    surface.MoveTo(x, y);
    surface.LineTo(x + 6 * s, y);
  }
  for (long long k = t.k0; k <= t.k1; k += t.spacing) {
    double v = static_cast<double>(k) * t.step;
    // Clear of the tick's end, however many digits the label has.
    TextOutHeight(surface, x + 11 * s, ph.Position(v) - 8 * s, 0, kTextLeft, TickFormat(v, t.step));
  }
}

int LabelX(const PlotRect& r, const ProjectState& state, int k, double width) {
  return RoundCoordinate(r.left + state.speciesInfo(0, k) * (r.right - r.left) - width / 2);
}

}  // namespace

bool PhAxisShown(const ProjectState& state, const PlotView& view) {
  const bool hasValues = view.strengthAxis ? ActivityOn(state.activity) : state.proton != 0;
  return view.pHTicked && SelectedY(state) == kYPercent && hasValues;
}

const char* SecondAxisTitle(const PlotView& view) {
  return view.strengthAxis ? "I" : "pH";
}

PlotRect ScreenPlotRect(int boxWidth, int boxHeight, int yChoice, bool pHTicked) {
  return PlotRect{yChoice == kYConcentration ? 84 : 60, 24, boxWidth - (pHTicked ? 70 : 40), boxHeight - 60};
}

BoxSize FitBoxOnResize(int greatestWidth, int greatestHeight, double aspect) {
  BoxSize box{greatestWidth, greatestHeight};
  if (!(aspect > 0) || !std::isfinite(aspect) || box.height <= 0) return box;
  if (static_cast<double>(box.width) / box.height > aspect)
    box.width = RoundCoordinate(box.height * aspect);
  else
    box.height = RoundCoordinate(box.width / aspect);
  return box;
}

BoxSize FitBoxOnAspect(int greatestWidth, int greatestHeight, double aspect) {
  if (!(aspect > 0) || !std::isfinite(aspect)) return BoxSize{greatestWidth, greatestHeight};
  int width = greatestWidth - 15;
  while (width > 15 && width / aspect > greatestHeight) width -= 15;
  return BoxSize{width, RoundCoordinate(width / aspect)};
}

Rgb SpeciesColour(const ProjectState& state, int k, bool blackWhite) {
  if (blackWhite || k < 1) return kBlack;
  return state.curveColours[static_cast<std::size_t>((k - 1) % kPaletteSize + 1)];
}

MarkerVisibility LimitMarkers(const ProjectState& state, const SeriesResults& results, const PlotData& data) {
  int c = SelectedY(state);
  double upper = c == kYPercent ? 100 : (c == kYLog ? data.maxLog : ConcMax(state, results));
  double lower = c == kYLog ? data.minLog : 0;
  // The limits are held at single precision: compare the defaults as such.
  return MarkerVisibility{state.plot.yUpper[c] != static_cast<float>(upper),
                          state.plot.yLower[c] != static_cast<float>(lower)};
}

void GraphS(Surface& surface, const ChartState& chart, const ProjectState& state, const SeriesResults& results,
            PlotData& data, bool blackWhite) {
  ComputePlotY(state, results, data);
  int n = results.npoints;
  if (n < 1 || data.plotX.Upper() < n) return;
  double ylow = data.ymin + 0.001 * (data.ymax - data.ymin);
  for (int k = 1; k <= state.ntotal(); ++k) {
    if (state.plotMark.Upper() < k || state.plotMark(k) != 1) continue;
    surface.SelectPen(chart.penWidth, SpeciesColour(state, k, blackWhite));
    ClippedPen pen(surface, RectOf(chart));
    bool open = false;  // a line runs into the next point (no gap before it)
    for (int p = 1; p <= n; ++p) {
      if (!PointSet(data, p, k)) {
        open = false;
        continue;
      }
      int x = MapX(chart, data.plotX(p)), y = MapY(chart, data.plotY(p, k));
      if (open && data.plotY(p, k) > ylow)
        pen.LineTo(x, y);
      else
        pen.MoveTo(x, y);
      open = true;
    }
  }
}

void DrawPhAxis(Surface& surface, const ChartState& chart, ProjectState& state, const SeriesResults& results,
                const PlotData& data, PlotView& view) {
  int n = results.npoints;
  if (n < 1 || data.plotX.Upper() < n) return;
  double low = 0, high = 0;
  PhRange(results, view, low, high);
  if (high == low) high = low + (view.strengthAxis ? std::max(0.01, low / 10) : 1);
  PhScale ph;
  ph.scale = (chart.plotTop - chart.plotBottom) / (high - low);
  ph.offset = RoundCoordinate(chart.plotBottom - low * ph.scale);
  surface.SelectPen(chart.penWidth, kBlack);
  surface.SetTextColour(kBlack);
  surface.MoveTo(chart.plotRight + 4, chart.plotBottom + 4);
  surface.LineTo(chart.plotRight + 4, chart.plotTop);
  PlaceWaitingPhLabel(chart, state, results, ph, view);
  int s = chart.sizeFactor;
  int intervals = FittingIntervals(low, high, kYIntervals, chart.plotBottom - chart.plotTop, kScreenLabelSpacing * s);
  TickRange t = YTicks(low, high, NiceStep(low, high, intervals));
  DrawPhTicks(surface, chart, ph, t);
  TextOutHeight(surface, chart.plotRight + 56 * s, PhTitleY(chart, ph, t) - 8 * s, 0, kTextCentre, SecondAxisTitle(view));
  ClippedPen pen(surface, RectOf(chart));
  bool open = false;
  for (int p = 1; p <= n; ++p) {
    if (!data.plotXSet(p)) {
      open = false;
      continue;
    }
    const int x = MapX(chart, data.plotX(p)), y = ph.Position(PhAt(results, view, p));
    open ? pen.LineTo(x, y) : pen.MoveTo(x, y);
    open = true;
  }
}

std::optional<MarkerVisibility> Drawcurves(Surface& surface, ChartState& chart, ProjectState& state,
                                           const SeriesResults& results, PlotData& data, PlotView& view) {
  if (!HasResults(state, results)) return std::nullopt;
  GraphX(state, results, data);
  GraphY(state, data);
  GraphAxes(surface, chart, kYIntervals, data.xmin, data.ymin, data.xmax, data.ymax, data.xTitle, data.yTitle,
            state.title);
  GraphS(surface, chart, state, results, data, view.blackWhite);
  if (PhAxisShown(state, view)) DrawPhAxis(surface, chart, state, results, data, view);
  return LimitMarkers(state, results, data);
}

std::optional<MarkerVisibility> DrawScreenPlot(Surface& surface, ChartState& chart, ProjectState& state,
                                               const SeriesResults& results, PlotData& data, PlotView& view,
                                               int boxWidth, int boxHeight) {
  SetRect(chart, ScreenPlotRect(boxWidth, boxHeight, SelectedY(state), view.pHTicked));
  chart.sizeFactor = 1;
  chart.penWidth = 1;
  // A box too small for the margins (a strip at an extreme aspect ratio in a
  // small window) gets no drawing rather than one turned inside out.
  if (chart.plotRight - chart.plotLeft < kSmallestPlot || chart.plotBottom - chart.plotTop < kSmallestPlot)
    return std::nullopt;
  return Drawcurves(surface, chart, state, results, data, view);
}

std::optional<LabelBox> PlaceLabel(const PlotRect& r, const ProjectState& state, int k, int width, int height) {
  if (k < 0 || state.speciesInfo.Upper1() < 1 || state.speciesInfo.Upper2() < k) return std::nullopt;
  int left = LabelX(r, state, k, width);
  int top = RoundCoordinate(r.top + state.speciesInfo(1, k) * (r.bottom - r.top) - height / 2.0);
  return LabelBox{left, top, width, height};
}

bool Setlabel(ProjectState& state, int k, const PlotRect& r, const LabelBox& label) {
  if (k >= 0 && state.speciesInfo.Upper1() >= 1 && state.speciesInfo.Upper2() >= k) {
    double width = r.right - r.left, height = r.bottom - r.top;
    if (width != 0) state.speciesInfo(0, k) = (label.left + label.width / 2.0 - r.left) / width;
    if (height != 0) state.speciesInfo(1, k) = (label.top + label.height / 2.0 - r.top) / height;
  }
  return CheckVisibility(r, label);
}

bool CheckVisibility(const PlotRect& r, const LabelBox& label) {
  return !(label.top + label.height < r.top || label.top > r.bottom || label.left + label.width < r.left ||
           label.left > r.right);
}

void Hidelabels(ProjectState& state) {
  int last = std::min(state.ntotal(), state.speciesInfo.Upper2());
  if (state.speciesInfo.Upper1() < 1) return;
  for (int k = 1; k <= last; ++k) state.speciesInfo(0, k) = state.speciesInfo(1, k) = 0;
}

bool AspectAccepted(double aspect) {
  return aspect >= kMinAspect && aspect <= kMaxAspect;
}

int CopyHeight(double aspect) {
  if (!(aspect > 0) || !std::isfinite(aspect)) aspect = 1;
  return RoundCoordinate(kCopyWidth / std::clamp(aspect, kMinAspect, kMaxAspect));
}

double CopyTextHeight(int height) {
  double scaled = std::nearbyint(kCopyTextHeight * height / kFullTextCopyHeight);
  return std::clamp(scaled, kMinCopyTextHeight, kCopyTextHeight);
}

namespace {

ClipAxes CopyAxes(const ProjectState& state, const SeriesResults& results, const PlotData& data, const PlotView& view) {
  ClipAxes axes;
  axes.xmin = data.xmin, axes.xmax = data.xmax, axes.ymin = data.ymin, axes.ymax = data.ymax;
  axes.xTitle = data.xTitle, axes.yTitle = data.yTitle, axes.title = state.title;
  if (PhAxisShown(state, view)) {
    PhRange(results, view, axes.pHLow, axes.pHHigh);
    axes.pHTitle = SecondAxisTitle(view);
    for (int p = 1; p <= results.npoints; ++p) {
      axes.curveX.push_back(data.plotXSet(p) ? data.plotX(p) : std::numeric_limits<double>::quiet_NaN());
      axes.curvePh.push_back(PhAt(results, view, p));
    }
  }
  return axes;
}

void CopyLabels(Surface& surface, const ChartState& c, const ProjectState& state, const PlotView& view,
                const std::vector<bool>& labelVisible, double scale) {
  PlotRect r = RectOf(c);
  int last = std::min(
      {state.ntotal(), state.caption.Upper(), state.speciesInfo.Upper2(), static_cast<int>(labelVisible.size()) - 1});
  if (state.speciesInfo.Upper1() < 1) return;
  for (int k = 0; k <= last; ++k) {
    if (!labelVisible[static_cast<std::size_t>(k)]) continue;
    std::string text(Trim(state.caption(k)));
    if (k == 0 && text.empty()) text = SecondAxisTitle(view);
    int width = Chemicals3(surface, 0, 0, text, false, scale);
    int y = RoundCoordinate(r.top - state.speciesInfo(1, k) * (r.top - r.bottom) - 14 * scale);
    surface.SetTextColour(SpeciesColour(state, k, view.blackWhite));
    Chemicals3(surface, LabelX(r, state, k, width), y, text, true, scale);
  }
}

}  // namespace

CopySize DrawCopy(Surface& surface, ChartState& chart, ProjectState& state, const SeriesResults& results,
                  PlotData& data, const PlotView& view, const std::vector<bool>& labelVisible, double aspect) {
  CopySize size{kCopyWidth, CopyHeight(aspect)};
  SetRect(chart, PlotRect{0, size.height, size.width, 0});
  chart.penWidth = 2;
  if (!HasResults(state, results)) return size;
  GraphX(state, results, data);
  GraphY(state, data);
  ClipAxes axes = CopyAxes(state, results, data, view);
  axes.textHeight = CopyTextHeight(size.height);
  SetRect(chart, ClipPlotRect(surface, axes, size.width, size.height));
  Chart_Clip(surface, chart, axes);
  data.xmin = axes.xmin, data.xmax = axes.xmax, data.ymin = axes.ymin, data.ymax = axes.ymax;
  GraphS(surface, chart, state, results, data, view.blackWhite);
  CopyLabels(surface, chart, state, view, labelVisible, axes.textHeight / kCopyTextHeight);
  return size;
}

}  // namespace tarn

#include "core/plot/plot_actions.h"

#include <cmath>
#include <cstdlib>

#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr int kReadoutXCharacters = 5;

double ValueAtX(const ChartState& chart, int x) {
  return (x - chart.xOffset) / chart.xScale;
}

double ValueAtY(const ChartState& chart, int y) {
  return (y - chart.yOffset) / chart.yScale;
}

std::size_t Choice(const PlotSettings& plot) {
  return static_cast<std::size_t>(plot.yChoice);
}

bool InModel(const ProjectState& state, const ScrollTarget& target) {
  return target.reagent >= 1 && target.reagent <= state.nreag && target.mode >= 1 && target.mode <= 4;
}

// A titration's condition changed through the bar: the amount, the titrant
// and the two concentrations made consistent again.
bool StepTitration(ProjectState& s, int j, int mode, double d) {
  double v0 = s.volume[0];
  double vf = s.vfinal;
  switch (mode) {
    case 1:
      s.total(j, kTitration) *= 1 + d;
      break;
    case 2:
      s.burette(j, kTitration) *= 1 + d;
      break;
    case 3:
      s.total(j, kTitration) = s.initial(j, kTitration) * (1 + d) * v0;
      break;
    default:
      if (vf == v0) return false;
      s.burette(j, kTitration) = (s.final(j, kTitration) * (1 + d) * vf - s.total(j, kTitration)) / (vf - v0);
      break;
  }
  DeriveTitrationConcentrations(s);
  return true;
}

void StepDistribution(ProjectState& s, int j, int mode, double d) {
  constexpr int t = kDistribution;
  switch (mode) {
    case 1:
      s.initial(j, t) *= 1 + d;
      break;
    case 2:
      s.final(j, t) *= 1 + d;
      break;
    case 3:
      s.pxi(j, t) += d;
      break;
    default:
      s.pxf(j, t) += d;
      break;
  }
  s.flag(j, t) = mode < 3;  // the reagent is now given by what the bar varies
}

bool StepConstant(ProjectState& s, int constant, double d) {
  if (constant >= 1 && constant <= s.nspecies) {
    s.logbeta(constant) += d;
    return true;
  }
  int solid = constant - s.nspecies;
  if (solid < 1 || solid > s.nsolids) return false;
  s.logksp(solid) = static_cast<float>(s.logksp(solid) + d);
  return true;
}

}  // namespace

bool OverPlotWidth(const PlotRect& rect, int x) {
  return rect.left <= x && x <= rect.right;
}

bool BesidePlot(const PlotRect& rect, int x) {
  return !OverPlotWidth(rect, x);
}

bool ReadoutShown(const PlotRect& rect, int x, int y) {
  return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

std::string ReadoutText(const ChartState& chart, int x, int y) {
  std::string xText = FormatPattern(ValueAtX(chart, x), "###0.0#####").substr(0, kReadoutXCharacters);
  return "cursor at " + xText + ", " + FormatPattern(ValueAtY(chart, y), "##0.00");
}

std::string ActivityReadout(const ProjectState& state, const SeriesResults& results, int p) {
  if (!results.activity || p < 1 || p > results.npoints || p > results.ionicStrength.Upper()) return "";
  std::string text = "; I = " + FormatPattern(results.ionicStrength(p), "0.0000");
  if (state.proton == 0 || p > results.pH.Upper() || p > results.pHActivity.Upper()) return text;
  return text + ", -log[H] " + FormatPattern(results.pH(p), "#0.00") + ", -log a(H) " +
         FormatPattern(results.pHActivity(p), "#0.00");
}

bool LimitClick(const ChartState& chart, int y, PlotSettings& plot) {
  double v = ValueAtY(chart, y);
  if (2 * y >= chart.plotTop + chart.plotBottom) {
    if (y >= chart.plotBottom) return false;
    plot.yLower[Choice(plot)] = static_cast<float>(v);
  } else {
    plot.yUpper[Choice(plot)] = static_cast<float>(v);
  }
  return true;
}

void ResetUpperLimit(ProjectState& state, const SeriesResults& results, const PlotData& data) {
  int c = state.plot.yChoice;
  double value = c == kYPercent ? 100 : (c == kYLog ? data.maxLog : ConcMax(state, results));
  state.plot.yUpper[Choice(state.plot)] = static_cast<float>(value);
}

void ResetLowerLimit(ProjectState& state, const PlotData& data) {
  state.plot.yLower[Choice(state.plot)] = static_cast<float>(state.plot.yChoice == kYLog ? data.minLog : 0);
}

void PreparePlotCaptions(ProjectState& state, bool strengthAxis) {
  if (state.caption.Upper() >= 0) state.caption(0) = strengthAxis ? "I" : "pH";
}

void ChooseY(ProjectState& state, int c) {
  state.plot.yChoice = c;
}

void SetLogLimits(ProjectState& state, double lower, double upper) {
  state.plot.yLower[kYLog] = static_cast<float>(lower);
  state.plot.yUpper[kYLog] = static_cast<float>(upper);
  state.plot.yLower[kYConcentration] = 0;
}

void ToggleMark(ProjectState& state, const SeriesResults& results, int k) {
  if (k < 1 || k > state.ntotal() || k > state.plotMark.Upper()) return;
  state.plotMark(k) = static_cast<std::int16_t>(1 - state.plotMark(k));
  if (state.plot.yChoice == kYConcentration)
    state.plot.yUpper[kYConcentration] = static_cast<float>(ConcMax(state, results));
}

int NearestPoint(const ChartState& chart, const PlotData& data, int npoints, int x, int boxWidth) {
  int last = std::min(npoints, data.plotX.Upper());
  int best = 0;
  long long bound = boxWidth;
  for (int p = 2; p <= last; ++p) {
    if (p > data.plotXSet.Upper() || !data.plotXSet(p)) continue;
    long long distance = std::llabs(static_cast<long long>(MapX(chart, data.plotX(p))) - x);
    if (distance < bound) {
      bound = distance;
      best = p;
    }
  }
  return best;
}

int NearestCurve(const ChartState& chart, const ProjectState& state, const PlotData& data, int p, int y,
                 int boxHeight) {
  if (p < 0 || p > data.plotY.Upper1()) return 0;
  int last = std::min({state.ntotal(), state.plotMark.Upper(), data.plotY.Upper2()});
  int best = 0;
  long long bound = boxHeight;
  for (int k = 1; k <= last; ++k) {
    if (state.plotMark(k) != 1 || !PointSet(data, p, k)) continue;
    long long distance = std::llabs(static_cast<long long>(MapY(chart, data.plotY(p, k))) - y);
    if (distance < bound) {
      bound = distance;
      best = k;
    }
  }
  return best;
}

int ConstantOfSpecies(const ProjectState& state, int k) {
  if (k <= state.nreag) return 0;
  return std::min(k - state.nreag, state.nspecies + state.nsolids);
}

std::string ConditionLabel(int type, int mode) {
  static const char* const kTitrationLabels[] = {"Total millimoles", "Burette concentration", "Initial concentration",
                                                 "Final concentration"};
  static const char* const kDistributionLabels[] = {"Initial concentration", "Final concentration", "Start pX",
                                                    "Final pX"};
  if (mode < 1 || mode > 4) return "";
  return type == kTitration ? kTitrationLabels[mode - 1] : kDistributionLabels[mode - 1];
}

double ConditionValue(const ProjectState& s, int j, int mode) {
  if (j < 1 || j > s.nreag) return 0;
  if (s.type == kTitration) {
    switch (mode) {
      case 1:
        return s.total(j, kTitration);
      case 2:
        return s.burette(j, kTitration);
      case 3:
        return s.initial(j, kTitration);
      case 4:
        return s.final(j, kTitration);
      default:
        return 0;
    }
  }
  switch (mode) {
    case 1:
      return s.initial(j, kDistribution);
    case 2:
      return s.final(j, kDistribution);
    case 3:
      return s.pxi(j, kDistribution);
    case 4:
      return s.pxf(j, kDistribution);
    default:
      return 0;
  }
}

double ConstantValue(const ProjectState& state, int constant) {
  if (constant >= 1 && constant <= state.nspecies) return state.logbeta(constant);
  int solid = constant - state.nspecies;
  if (constant > state.nspecies && solid <= state.nsolids) return state.logksp(solid);
  return 0;
}

int SpeciesOfConstant(const ProjectState& state, int constant) {
  if (constant < 1 || constant > state.nspecies + state.nsolids) return 0;
  return state.nreag + constant;
}

ScrollPanel ScrollPanelValues(const ProjectState& state, const ScrollTarget& target) {
  ScrollPanel panel;
  panel.species = SpeciesOfConstant(state, target.constant);
  panel.constantText = FormatPattern(ConstantValue(state, target.constant), "##0.0###");
  panel.conditionLabel = ConditionLabel(state.type, target.mode);
  panel.conditionText = FormatValue(ConditionValue(state, target.reagent, target.mode));
  return panel;
}

bool ApplyScrollStep(ProjectState& state, const ScrollTarget& target, int bar, int v) {
  if (v == 0) return false;
  double d = static_cast<double>(v) / kScrollRange;
  bool changed = false;
  if (bar == kConstantBar) {
    changed = StepConstant(state, target.constant, d);
  } else if (InModel(state, target)) {
    if (state.type == kTitration) {
      changed = StepTitration(state, target.reagent, target.mode, d);
    } else {
      StepDistribution(state, target.reagent, target.mode, d);
      changed = true;
    }
  }
  if (changed) {
    state.modified = true;
    state.recalc = true;
  }
  return changed;
}

PopupList SpeciesPopup(const ProjectState& state, const ScrollTarget& target) {
  PopupList list;
  for (int i = 1; i <= state.nspecies; ++i) list.entries.push_back(state.caption(state.nreag + i));
  if (target.constant >= 1 && target.constant <= state.nspecies) list.selected = target.constant - 1;
  return list;
}

PopupList ReagentPopup(const ProjectState& state, const ScrollTarget& target) {
  PopupList list;
  for (int j = 1; j <= state.nreag; ++j) list.entries.push_back(state.name(j));
  if (target.reagent >= 1 && target.reagent <= state.nreag) list.selected = target.reagent - 1;
  return list;
}

PopupList ConditionPopup(const ProjectState& state, const ScrollTarget& target) {
  PopupList list;
  int modes = state.type == kTitration ? 2 : 4;
  for (int mode = 1; mode <= modes; ++mode) list.entries.push_back(ConditionLabel(state.type, mode));
  if (target.mode >= 1 && target.mode <= modes) list.selected = target.mode - 1;
  return list;
}

}  // namespace tarn

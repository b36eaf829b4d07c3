#include "core/model/constants.h"
#include "core/plot/curve_data.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarn {

namespace {

bool ValidReagent(const ProjectState& state, int j) {
  return j >= 1 && j <= state.nreag;
}

// Reagent j's total was given (not its pX) in the last series.
bool TotalGivenInSeries(const ProjectState& state, const SeriesResults& results, int j) {
  if (state.type == kTitration) return true;
  if (results.flagNow.Upper() >= j) return results.flagNow(j);
  return state.flag(j, kDistribution);
}

double Titre(const ProjectState& state, int p, int n) {
  return PointFraction(p, n) * (state.vfinal - state.volume[0]);
}

double TotalConcentration(const ProjectState& state, const SeriesResults& results, int j, int p) {
  int n = results.npoints;
  if (state.type == kTitration) {
    double v = Titre(state, p, n);
    double volume = state.volume[0] + v;
    return volume != 0 ? (state.total(j, kTitration) + v * state.burette(j, kTitration)) / volume : 0;
  }
  if (TotalGivenInSeries(state, results, j)) {
    double first = state.initial(j, kDistribution);
    return first + PointFraction(p, n) * (state.final(j, kDistribution) - first);
  }
  return results.totalCalc(p, j);
}

// The logarithm of a positive value; a zero (or less) has none.
std::optional<double> Log10Of(double v, const ProjectState& state) {
  if (!(v > 0)) return std::nullopt;
  return std::log(v) / state.ln10;
}

std::optional<double> XValue(const ProjectState& state, const SeriesResults& results, const PlotData& data, int p) {
  int j = data.xReagent;
  bool reagent = ValidReagent(state, j);
  switch (data.xChoice) {
    case kXPh:
      return results.pH.Upper() >= p ? results.pH(p) : 0;
    case kXFreeP: {
      if (!reagent) return 0.0;
      const std::optional<double> log = Log10Of(results.speciesConc(j, p), state);
      return log ? std::optional<double>(-*log) : std::nullopt;
    }
    case kXTotal:
      return reagent ? TotalConcentration(state, results, j, p) : 0;
    case kXLogTotal:
      return reagent ? Log10Of(TotalConcentration(state, results, j, p), state) : std::nullopt;
    default:
      return Titre(state, p, results.npoints);
  }
}

std::string XTitle(const ProjectState& state, const PlotData& data) {
  std::string name = ValidReagent(state, data.xReagent) ? state.name(data.xReagent) : std::string();
  switch (data.xChoice) {
    case kXPh:
      return "pH";
    case kXFreeP:
      return "p(" + name + ")";
    case kXTotal:
      return "Total concentration of " + name;
    case kXLogTotal:
      return "log total concentration of " + name;
    default:
      return "titre volume / ml";
  }
}

int SelectedY(const ProjectState& state) {
  return std::clamp(state.plot.yChoice, 0, 2);
}

bool Marked(const ProjectState& state, int k) {
  return state.plotMark.Upper() >= k && state.plotMark(k) == 1;
}

// Y value of species k at point p; false when it stays unset.
bool YValue(const ProjectState& state, const SeriesResults& results, const PlotData& data, int k, int p, double& y) {
  double c = results.speciesConc(k, p);
  switch (SelectedY(state)) {
    case kYPercent: {
      const std::optional<double> percent = PercentRelativeTo(state, results, data.reltoReagent, k, p);
      if (percent) y = *percent;
      return percent.has_value();
    }
    case kYLog:
      if (!(c > 0)) return false;
      y = std::log(c) / kLn10Shown;
      return true;
    default:
      y = c;
      return true;
  }
}

}  // namespace

double PointFraction(int p, int n) {
  return n > 1 ? static_cast<double>(p - 1) / (n - 1) : 0.0;
}

void GraphX(const ProjectState& state, const SeriesResults& results, PlotData& data) {
  int n = results.npoints;
  data.plotX.Resize(n);
  data.plotXSet.Resize(n);
  int first = 0, last = 0;
  for (int p = 1; p <= n; ++p) {
    const std::optional<double> x = XValue(state, results, data, p);
    if (!x) continue;
    data.plotX(p) = *x;
    data.plotXSet(p) = true;
    if (first == 0) first = p;
    last = p;
  }
  data.xTitle = XTitle(state, data);
  const double a = first > 0 ? data.plotX(first) : 0, b = last > 0 ? data.plotX(last) : 0;
  data.xmin = std::min(a, b);
  data.xmax = std::max(a, b);
}

bool PointSet(const PlotData& data, int p, int k) {
  return p <= data.plotXSet.Upper() && data.plotXSet(p) && p <= data.plotYSet.Upper1() && k <= data.plotYSet.Upper2() &&
         data.plotYSet(p, k);
}

void GraphY(const ProjectState& state, PlotData& data) {
  int c = SelectedY(state);
  data.ymin = state.plot.yLower[c];
  data.ymax = state.plot.yUpper[c];
  if (c == kYPercent) {
    std::string name = ValidReagent(state, data.reltoReagent) ? state.name(data.reltoReagent) : std::string();
    data.yTitle = "% formation relative to " + name;
  } else {
    data.yTitle = c == kYLog ? "Log(concentration / M)" : "Concentration / M";
  }
}

void ComputePlotY(const ProjectState& state, const SeriesResults& results, PlotData& data) {
  int n = results.npoints, nt = state.ntotal();
  data.plotY.Resize(n, nt);
  data.plotYSet.Resize(n, nt);
  if (results.speciesConc.Upper1() < nt || results.speciesConc.Upper2() < n) return;
  for (int k = 1; k <= nt; ++k) {
    if (!Marked(state, k)) continue;
    for (int p = 1; p <= n; ++p) {
      double y = 0;
      if (!YValue(state, results, data, k, p, y)) continue;
      data.plotY(p, k) = y;
      data.plotYSet(p, k) = true;
    }
  }
}

std::optional<double> PercentRelativeTo(const ProjectState& state, const SeriesResults& results, int r, int k, int p) {
  if (!ValidReagent(state, r) || results.totalCalc(p, r) == 0) return std::nullopt;
  return 100 * correction(state, r, k) * results.speciesConc(k, p) / results.totalCalc(p, r);
}

std::int16_t correction(const ProjectState& state, int reltoReagent, int k) {
  int r = reltoReagent;
  if (!ValidReagent(state, r) || k < 1) return 0;
  if (k <= state.nreag) return k == r ? 1 : 0;
  if (k <= state.nsoluble) return static_cast<std::int16_t>(state.a(r, k - state.nreag));
  if (k <= state.ntotal()) return static_cast<std::int16_t>(state.sa(r, k - state.nsoluble));
  return 0;
}

double ConcMax(const ProjectState& state, const SeriesResults& results) {
  double largest = 0;
  int last = std::min(state.nsoluble, results.speciesConc.Upper1());
  for (int k = 1; k <= last; ++k) {
    if (!Marked(state, k)) continue;
    for (int p = 1; p <= results.npoints; ++p) largest = std::max(largest, results.speciesConc(k, p));
  }
  return largest * 1.01;
}

void SetPlotit(ProjectState& state, int reltoReagent) {
  int nt = state.ntotal();
  state.plotMark.Resize(nt);
  int c = SelectedY(state);
  for (int k = 1; k <= nt; ++k) {
    bool mark = true;
    if (c == kYPercent) {
      mark = correction(state, reltoReagent, k) != 0;
    } else if (c == kYConcentration && state.caption.Upper() >= k) {
      mark = state.caption(k) != "H" && state.caption(k) != "H-1";
    }
    state.plotMark(k) = mark ? 1 : 0;
  }
}

XChoiceRules SetXchoice(const ProjectState& state, const SeriesResults& results, const Array1<bool>& present) {
  XChoiceRules rules;
  int n = results.npoints;
  rules.enabled[kXPh] = state.proton != 0 && n >= 1 && results.pH.Upper() >= n && results.pH(1) != results.pH(n);
  bool titration = state.type == kTitration;
  rules.enabled[kXVolume] = titration;
  for (int j = 1; j <= state.nreag; ++j) {
    if (present.Upper() >= j && !present(j)) continue;
    ListEntry entry{state.name(j), j};
    if (titration) {
      if (state.total(j, kTitration) != 0 || state.burette(j, kTitration) != 0) rules.txOpt.push_back(entry);
    } else if (state.flag(j, kDistribution)) {
      if (state.initial(j, kDistribution) != state.final(j, kDistribution)) rules.txOpt.push_back(entry);
    } else if (state.pxi(j, kDistribution) != state.pxf(j, kDistribution)) {
      rules.xvar.push_back(entry);
    }
  }
  if (rules.xvar.size() == 1 && state.proton != 0) rules.xvar.clear();
  rules.enabled[kXFreeP] = !titration && !rules.xvar.empty();
  rules.enabled[kXTotal] = rules.enabled[kXLogTotal] = !rules.txOpt.empty();
  if (rules.enabled[kXVolume]) {
    rules.selected = kXVolume;
  } else if (rules.enabled[kXPh]) {
    rules.selected = kXPh;
  } else if (rules.enabled[kXTotal]) {
    rules.selected = kXTotal;
    rules.xReagent = rules.txOpt.front().reagent;
  } else if (rules.enabled[kXFreeP]) {
    rules.selected = kXFreeP;
    rules.xReagent = rules.xvar.front().reagent;
  }
  return rules;
}

YChoiceRules SetYchoice(const ProjectState& state, int reltoReagent, int yChoice) {
  YChoiceRules rules;
  for (int j = 1; j <= state.nreag; ++j) {
    rules.relto.push_back(ListEntry{state.name(j), j});
    if (j == reltoReagent) rules.reltoIndex = j - 1;
  }
  rules.reltoReagent = reltoReagent;
  if (rules.reltoIndex < 0 && !rules.relto.empty()) {
    rules.reltoIndex = 0;
    rules.reltoReagent = rules.relto.front().reagent;
  }
  rules.enabled[kYPercent] = !rules.relto.empty();
  rules.enabled[kYLog] = true;
  rules.enabled[kYConcentration] = state.type == kDistribution;
  rules.yChoice = rules.enabled[kYPercent] ? std::clamp(yChoice, 0, 2) : kYLog;
  return rules;
}

BoxRules SetBoxes(int yChoice) {
  return BoxRules{yChoice == kYPercent, yChoice == kYLog};
}

bool PhChoiceEnabled(const ProjectState& state, int yChoice) {
  return state.proton != 0 && yChoice == kYPercent;
}

namespace {

std::vector<double> MakeLogList(const std::vector<double>& tail) {
  std::vector<double> list;
  for (int v = 1; v >= -15; --v) list.push_back(v);
  list.insert(list.end(), tail.begin(), tail.end());
  return list;
}

}  // namespace

const std::vector<double>& LowerLogList() {
  static const std::vector<double> list = MakeLogList({-20, -25, -30, -35, -40, -45, -50});
  return list;
}

const std::vector<double>& UpperLogList() {
  static const std::vector<double> list = MakeLogList({-20, -50, -100});
  return list;
}

double LogListValue(const std::vector<double>& list, int position) {
  if (list.empty()) return 0;
  return list[static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(list.size()) - 1))];
}

bool LogLimitAccepted(bool upperList, double chosen, double otherListValue) {
  return upperList ? chosen > otherListValue : chosen < otherListValue;
}

}  // namespace tarn

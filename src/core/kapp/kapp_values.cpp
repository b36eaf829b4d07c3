#include "core/kapp/kapp_values.h"

#include <algorithm>
#include <cmath>

#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr char kCr = '\r';
constexpr char kTab = '\t';
constexpr double kFlatLimit = 1e-6;

double Conc(const SeriesResults& results, int k, int p) {
  return results.speciesConc(k, p);
}

double BoundValue(const ProjectState& state, const SeriesResults& results, int a, int x, int p, bool bound) {
  double sum = bound ? 0.0 : Conc(results, a, p);
  for (int i = 1; i <= state.nspecies; ++i) {
    if (state.a(a, i) == 0 || (state.a(x, i) != 0) != bound) continue;
    sum += state.a(a, i) * Conc(results, state.nreag + i, p);
  }
  return sum;
}

double TotalValue(const SeriesResults& results, int x, int p) {
  const bool totalGiven = results.flagNow.Upper() >= x && results.flagNow(x);
  return totalGiven ? results.totalSet(p, x) : results.totalCalc(p, x);
}

double SumValue(const ProjectState& state, const SeriesResults& results, const KappDefinition& def, int s, int p) {
  double sum = 0;
  for (int k = 1; k <= state.nreag + state.nspecies; ++k)
    if (def.sumMember(k, s)) sum += Conc(results, k, p);
  return sum;
}

// The series when the results are not current: validation, then the points.
bool MakeSeriesCurrent(ProjectState& state, SolverWork& work, SeriesResults& results, MessageSink& sink) {
  if (SeriesIsCurrent(state, results)) return true;
  const Validation check = ValidateConditions(state);
  if (!check.ok) {
    sink.Show(check.message);
    return false;
  }
  if (CalculatePoints(state, work, results, sink) != kSuccess) return false;
  state.recalc = false;
  return true;
}

std::string TermRefusal(const ProjectState& state, const KappDefinition& def, int t, int s, int p, double v) {
  const char* what = std::isnan(v) ? "is not a number" : v == 0 ? "is zero" : "is negative";
  const std::string term = std::string(Trim(TermExpression(state, def, t, s)));
  return "log Kapp cannot be calculated at point" + PlainText(p) + kCr + "term" + PlainText(t) + " of the " +
         (s == kNumerator ? "numerator" : "denominator") + ", " + term + ", " + what;
}

double MinusLog10(double c, float ln10) {
  return -std::log(c) / static_cast<double>(ln10);
}

}  // namespace

double KappTermValue(const ProjectState& state, const SeriesResults& results, const KappDefinition& def, int t, int s,
                     int p) {
  const int code = def.termType(t, s), x = def.termArg(t, s);
  const int a = TermReagent(state.nreag, code);
  switch (TermKind(state.nreag, code)) {
    case KappTermKind::kNone:
      return 0;
    case KappTermKind::kBound:
      return BoundValue(state, results, a, x, p, true);
    case KappTermKind::kNotBound:
      return BoundValue(state, results, a, x, p, false);
    case KappTermKind::kTotal:
      return TotalValue(results, x, p);
    case KappTermKind::kSum:
      return SumValue(state, results, def, s, p);
    case KappTermKind::kComplex:
      return Conc(results, state.nreag + x, p);
    case KappTermKind::kFree:
      break;
  }
  return Conc(results, x, p);
}

bool SeriesIsCurrent(const ProjectState& state, const SeriesResults& results) {
  const int n = results.npoints;
  return !state.recalc && results.ifail == kSuccess && n >= 1 && results.speciesConc.Upper1() >= state.ntotal() &&
         results.speciesConc.Upper2() >= n && results.totalCalc.Upper2() >= state.nreag &&
         results.totalSet.Upper2() >= state.nreag && results.flagNow.Upper() >= state.nreag;
}

KappValues CalcKapp(ProjectState& state, SolverWork& work, SeriesResults& results, const KappDefinition& def,
                    MessageSink& sink) {
  KappValues values;
  if (auto problem = KappDefinitionProblem(state, def)) {
    sink.Show(*problem);
    return values;
  }
  if (!MakeSeriesCurrent(state, work, results, sink)) return values;
  values.npoints = results.npoints;
  values.logKapp.Resize(values.npoints);
  for (int p = 1; p <= values.npoints; ++p) {
    double logK = 0;
    for (int s = 0; s < 2; ++s) {
      for (int t = 1; t <= def.nterms[static_cast<std::size_t>(s)]; ++t) {
        const double v = KappTermValue(state, results, def, t, s, p);
        if (!(v > 0) || !std::isfinite(v)) {
          sink.Show(TermRefusal(state, def, t, s, p, v));
          return KappValues{};
        }
        const double log10v = std::log(v) / static_cast<double>(state.ln10);
        logK += s == kNumerator ? log10v : -log10v;
      }
    }
    values.logKapp(p) = static_cast<float>(logK);
  }
  values.ok = true;
  return values;
}

KappAxis KappXAxis(const ProjectState& state, const SeriesResults& results, int j, MessageSink& sink) {
  KappAxis axis;
  const int n = results.npoints;
  if (j < 1 || j > state.nreag || n < 1) return axis;
  axis.reagent = j;
  axis.npoints = n;
  axis.byPX = !(results.flagNow.Upper() >= j ? results.flagNow(j) : state.flag(j, state.type));
  if (axis.byPX) {
    axis.xstart = state.pxi(j, state.type);
    axis.xend = state.pxf(j, state.type);
  } else {
    axis.calculated.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int p = 1; p <= n; ++p) {
      if (!(Conc(results, j, p) > 0)) {
        sink.Show("The free concentration of " + state.name(j) + " is zero at point" + PlainText(p) + kCr +
                  "its pX cannot be used as the x axis");
        return KappAxis{};
      }
      axis.calculated[static_cast<std::size_t>(p)] = MinusLog10(Conc(results, j, p), state.ln10);
    }
    axis.xstart = axis.calculated[1];
    axis.xend = axis.calculated[static_cast<std::size_t>(n)];
  }
  axis.ok = true;
  return axis;
}

double KappX(const KappAxis& axis, int p) {
  if (p >= 1 && static_cast<std::size_t>(p) < axis.calculated.size()) return axis.calculated[static_cast<std::size_t>(p)];
  if (axis.npoints < 2) return axis.xstart;
  return axis.xstart + (p - 1) * (axis.xend - axis.xstart) / (axis.npoints - 1);
}

int DefaultXReagent(const ProjectState& state) {
  for (int j = 1; j <= state.nreag; ++j)
    if (state.name(j) == "H") return j;
  return state.nreag >= 1 ? 1 : 0;
}

std::string KappTableText(const ProjectState& state, const KappDefinition& def, const KappAxis& axis,
                          const KappValues& values) {
  std::string out = "Kapp= " + def.exprText[0] + "/" + def.exprText[1] + kCr + kCr;
  out += "p" + state.name(axis.reagent) + kTab + "Kapp" + kCr;
  for (int p = 1; p <= values.npoints; ++p)
    out += FormatPattern(KappX(axis, p), "##0.000") + kTab + PlainTextSingle(values.logKapp(p)) + kCr;
  return out;
}

std::optional<KappPlotSetup> PrepareKappPlot(const ProjectState& state, const KappDefinition& def, const KappAxis& axis,
                                             const KappValues& values, MessageSink& sink) {
  if (values.npoints < 1) return std::nullopt;
  // The x range holds every point (a calculated pX need not run one way),
  // in the direction from the first point to the last.
  double left = axis.xstart, right = axis.xstart;
  for (int p = 1; p <= values.npoints; ++p) {
    left = std::min(left, KappX(axis, p));
    right = std::max(right, KappX(axis, p));
  }
  if (left == right) {
    sink.Show(std::string("Concentration on x axis is constant") + kCr +
              "Kapp=" + FormatPattern(values.logKapp(1), "##0.0##"));
    return std::nullopt;
  }
  KappPlotSetup setup;
  setup.xmin = axis.xstart <= axis.xend ? left : right;
  setup.xmax = axis.xstart <= axis.xend ? right : left;
  const float* first = values.logKapp.Data() + 1;
  const auto [low, high] = std::minmax_element(first, first + values.npoints);
  setup.ymin = *low;
  setup.ymax = *high;
  if (std::fabs(setup.ymax - setup.ymin) < kFlatLimit) {
    sink.Show("log Kapp on y-axis is constant at " + FormatPattern(setup.ymin, "##0.000"));
    if (setup.ymin != 0) {
      const double d = std::fabs(setup.ymin) / 10;
      setup.ymin -= d;
      setup.ymax += d;
    } else {
      setup.ymax = 1;
    }
  }
  const std::string& name = state.name(axis.reagent);
  setup.xTitle = (axis.byPX ? "p" : "calculated p") + name;
  setup.yTitle = "Log Kapp: " + def.exprText[0] + "/" + def.exprText[1];
  setup.title = state.title;
  return setup;
}

}  // namespace tarn

#include "core/model/constants.h"
#include "core/tables/single_points.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/engine/ionic_strength.h"
#include "core/engine/new_concentrations.h"
#include "core/engine/solid_assemblage.h"
#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr char kCr = '\r';
constexpr char kTab = '\t';
constexpr double kZeroTotalLimit = 1e-40;
constexpr int kNumberField = 12;
constexpr int kMinLabelWidth = 10;
constexpr const char* kResultPattern = "0.00000E+00";
constexpr const char* kPrintPattern = "0.00000E-00";
constexpr const char* kPXPattern = "#0.0##";
constexpr const char* kTypedPXPattern = "#0.0###";
constexpr const char* kConstantPattern = "###0.0###";

std::string SpeciesLabel(const ProjectState& state, int i) {
  std::string formula = SpeciesFormula(state, i);
  return Upper(formula) == "H-1" ? "OH" : formula;
}

const std::string& CellOf(const SinglePointCells& cells, int p, int k) {
  static const std::string kEmpty;
  if (p < 0 || static_cast<std::size_t>(p) >= cells.size()) return kEmpty;
  const auto& column = cells[static_cast<std::size_t>(p)];
  if (k < 0 || static_cast<std::size_t>(k) >= column.size()) return kEmpty;
  return column[static_cast<std::size_t>(k)];
}

void ResizePoints(ProjectState& state, int n) {
  state.stotal.ResizeKeep(state.nreag, n);
  state.sfree.ResizeKeep(state.nreag, n);
  state.sflag.ResizeKeep(state.nreag, n);
  state.sresult.ResizeKeep(state.ntotal(), n);
  state.nsingle = n;
}

// --- The calculation of one point.

enum class Prepared { kReady, kZeroTotal };

// Point p's unknowns and starting values; kZeroTotal names the reagent in j.
Prepared PreparePoint(const ProjectState& state, SolverWork& w, int p, int& zeroReagent) {
  w.nfree = 0;
  w.nactive = 0;
  for (int s = 1; s <= state.nsolids; ++s) {
    w.solidFlag(s) = false;
    w.solidAmount(s) = 0;
  }
  for (int j = 1; j <= state.nreag; ++j) {
    w.present(j) = true;
    if (!state.sflag(j, p)) {
      w.lnFree(j) = -kLn10 * state.sfree(j, p);
      continue;
    }
    const double total = state.stotal(j, p);
    if (total == 0) {
      zeroReagent = j;
      return Prepared::kZeroTotal;
    }
    const int k = ++w.nfree;
    w.freeReagent(k) = j;
    w.freeTotal(k) = total;
    for (int i = 1; i <= state.nspecies; ++i) w.freeCoef(k, i) = state.a(j, i);
    w.lnFree(j) = total > 0 ? std::log(total) - 6 : -16;
  }
  return Prepared::kReady;
}

bool SolveSoluble(const ProjectState& state, SolverWork& w) {
  NewtonSoluble(state, w);
  if (w.ifail == kSuccess || w.nfree == 0) return w.ifail == kSuccess;
  SearchEstimates(state, w);
  NewtonSoluble(state, w);
  return w.ifail == kSuccess;
}

// The iterations, then the supersaturated solids joining one at a time; when
// they fail or leave no equilibrium, the free-energy minimisation from the
// point's own starting values. soluble tells whether the soluble iteration
// succeeded (its failure stops the whole calculation when no way reaches the
// point); ifail is the iterations' code.
bool SolvePoint(const ProjectState& state, SolverWork& w, int p, bool& soluble, int& ifail) {
  soluble = SolveSoluble(state, w);
  if (soluble && SettleSolids(state, w) && EquilibriumHolds(state, w)) return true;
  ifail = w.ifail;
  int zeroReagent = 0;
  PreparePoint(state, w, p, zeroReagent);
  return SolveByFreeEnergy(state, w);
}

SinglePointResult TakeResult(const ProjectState& state, const SolverWork& w, int p) {
  SinglePointResult r;
  r.status = SinglePointStatus::kCalculated;
  r.freeConc.Resize(state.nreag);
  r.totalGiven.Resize(state.nreag);
  for (int j = 1; j <= state.nreag; ++j) {
    r.totalGiven(j) = state.sflag(j, p);
    r.freeConc(j) = std::exp(w.lnFree(j));
  }
  r.conc.Resize(state.nspecies);
  for (int i = 1; i <= state.nspecies; ++i) r.conc(i) = w.conc(i);
  r.solidAmount.Resize(state.nsolids);
  r.precipitated.Resize(state.nsolids);
  for (int s = 1; s <= state.nsolids; ++s) {
    r.precipitated(s) = w.solidFlag(s);
    r.solidAmount(s) = w.solidFlag(s) ? w.solidAmount(s) : 0.0;
  }
  return r;
}

SinglePointResult Failed() {
  SinglePointResult r;
  r.status = SinglePointStatus::kFailed;
  return r;
}

std::string SolubleFailure(int p, int ifail) {
  return "##Calculation of concentrations failed at point" + PlainText(p) + "," + kCr +
         " probably due to impossible conditions" + kCr + "(Ifail =" + PlainText(ifail) + ")";
}

// --- Texts.

std::string Line(const std::string& text) {
  return text + kCr;
}

// label, TAB, then every cell followed by a TAB, CR.
std::string TableLine(const std::string& label, const std::vector<std::string>& cells) {
  std::string out = label + kTab;
  for (const std::string& cell : cells) out += cell + kTab;
  return out + kCr;
}

std::vector<std::string> ConditionsRowCells(const ProjectState& state, int row) {
  std::vector<std::string> cells;
  for (int p = 1; p <= state.nsingle; ++p) cells.push_back(ConditionsCell(state, row, p));
  return cells;
}

std::vector<std::string> ResultRowCells(const ProjectState& state, const SinglePointCells& resultCells, int k) {
  std::vector<std::string> cells;
  for (int p = 1; p <= state.nsingle; ++p) cells.push_back(CellOf(resultCells, p, k));
  return cells;
}

std::string PrintLine(const std::string& label, int width, const std::vector<std::string>& fields) {
  std::string out = RightField(label, width) + " ";
  for (const std::string& field : fields) out += RightField(field, kNumberField);
  return out;
}

}  // namespace

// --- The points in the project.

void AddSinglePoint(ProjectState& state) {
  const int p = state.nsingle + 1;
  ResizePoints(state, p);
  for (int j = 1; j <= state.nreag; ++j) {
    state.stotal(j, p) = kDefaultSingleTotal;
    state.sfree(j, p) = kDefaultSinglePX;
    state.sflag(j, p) = j != state.proton;
  }
  state.modified = true;
}

bool RemoveSinglePoint(ProjectState& state, int p) {
  if (p < 1 || p > state.nsingle) return false;
  for (int q = p; q < state.nsingle; ++q) {
    for (int j = 1; j <= state.nreag; ++j) {
      state.stotal(j, q) = state.stotal(j, q + 1);
      state.sfree(j, q) = state.sfree(j, q + 1);
      state.sflag(j, q) = state.sflag(j, q + 1);
    }
    for (int k = 1; k <= state.ntotal(); ++k) state.sresult(k, q) = state.sresult(k, q + 1);
  }
  ResizePoints(state, state.nsingle - 1);
  state.modified = true;
  return true;
}

void ToggleSinglePointFlag(ProjectState& state, int j, int p) {
  state.sflag(j, p) = !state.sflag(j, p);
  state.modified = true;
}

// --- The conditions table.

ConditionsRow ConditionsRowKind(const ProjectState& state, int row) {
  if (row <= 0) return ConditionsRow::kHeading;
  return row <= state.nreag ? ConditionsRow::kTotal : ConditionsRow::kPX;
}

int ConditionsRowReagent(const ProjectState& state, int row) {
  return row <= state.nreag ? row : row - state.nreag;
}

std::string ConditionsLabel(const ProjectState& state, int row) {
  const int j = ConditionsRowReagent(state, row);
  switch (ConditionsRowKind(state, row)) {
    case ConditionsRow::kHeading:
      return kConditionsHeading;
    case ConditionsRow::kTotal:
      return "total " + state.name(j);
    case ConditionsRow::kPX:
      break;
  }
  return "p(" + state.name(j) + ")";
}

std::string ConditionsCell(const ProjectState& state, int row, int p) {
  const int j = ConditionsRowReagent(state, row);
  switch (ConditionsRowKind(state, row)) {
    case ConditionsRow::kHeading:
      return "point " + std::string(Trim(PlainText(p)));
    case ConditionsRow::kTotal:
      return state.sflag(j, p) ? SingleTotalText(state.stotal(j, p)) : kSetPX;
    case ConditionsRow::kPX:
      break;
  }
  return state.sflag(j, p) ? std::string(kSetTotal) : FormatPattern(state.sfree(j, p), kPXPattern);
}

std::string SingleTotalText(double x) {
  if (x >= 0 && x < kZeroTotalLimit) return FormatValue(0);
  return FormatValue(x);
}

std::string SinglePXText(double x) {
  return FormatPattern(x, kTypedPXPattern);
}

// --- The results table.

std::string ResultsLabel(const ProjectState& state, int row) {
  const int nr = state.nreag, ns = state.nspecies;
  if (row <= 0) return kResultsHeading;
  if (row <= nr) return "free " + state.name(row);
  if (row <= nr + ns) return SpeciesLabel(state, row - nr);
  return SolidName(state, row - nr - ns);
}

std::vector<std::string> SinglePointResultCells(const ProjectState& state, const SinglePointResult& result) {
  const int nr = state.nreag, ns = state.nspecies;
  std::vector<std::string> cells(static_cast<std::size_t>(state.ntotal()) + 1);
  if (result.status != SinglePointStatus::kCalculated) return cells;
  for (int j = 1; j <= nr; ++j)
    if (result.totalGiven(j)) cells[static_cast<std::size_t>(j)] = FormatPattern(result.freeConc(j), kResultPattern);
  for (int i = 1; i <= ns; ++i)
    if (state.refine(i) != kRefineIgnore)
      cells[static_cast<std::size_t>(nr + i)] = FormatPattern(result.conc(i), kResultPattern);
  for (int s = 1; s <= state.nsolids; ++s)
    cells[static_cast<std::size_t>(nr + ns + s)] =
        result.precipitated(s) ? FormatPattern(result.solidAmount(s), kResultPattern) : kNotPrecipitated;
  return cells;
}

// --- The calculation.

namespace {

// How point p ended at the ionic strength of the project's correction.
enum class SingleOutcome { kSolved, kSolidsFailed, kSolubleFailed, kStrengthFailed };

// Point p at the fixed ionic strength (whose constants were set for the
// run), or at its own, found around the point's solution; without a
// correction as it is. soluble and ifail as SolvePoint gives them.
SingleOutcome SolveAtStrength(const ProjectState& state, SolverWork& w, StrengthCorrection& correction, int p,
                              double& strength, int& ifail) {
  bool soluble = false;
  auto solve = [&](int) { return SolvePoint(state, w, p, soluble, ifail); };
  if (!correction.Calculated()) {
    strength = correction.FixedStrength();
    if (solve(1)) return SingleOutcome::kSolved;
  } else {
    constexpr double kLargestFirstGuess = 1;
    strength = std::min(correction.StrengthOfTotals(w), kLargestFirstGuess);
    switch (SolveAtOwnStrength(correction, w, strength, solve)) {
      case StrengthOutcome::kConverged:
        return SingleOutcome::kSolved;
      case StrengthOutcome::kNotConverged:
        return SingleOutcome::kStrengthFailed;
      case StrengthOutcome::kSolverFailed:
        break;
    }
  }
  return soluble ? SingleOutcome::kSolidsFailed : SingleOutcome::kSolubleFailed;
}

// With a correction: the point's ionic strength and -log10 of the proton's
// activity (its pX, or -log10 of its free concentration, less log gamma).
void TakeStrength(const ProjectState& state, const StrengthCorrection& correction, double strength, int p,
                  SinglePointResult& r) {
  r.ionicStrength = strength;
  const int h = state.proton;
  if (h == 0) return;
  const double pH = state.sflag(h, p) ? -std::log10(r.freeConc(h)) : state.sfree(h, p);
  r.pHActivity = pH - correction.ReagentLogGamma(h, strength);
}

}  // namespace

SinglePointRun CalculateSinglePoints(const ProjectState& state, SolverWork& work, SinglePointSinks sinks) {
  SinglePointRun run;
  run.points.resize(static_cast<std::size_t>(std::max(state.nsingle, 0)) + 1);
  StrengthCorrection correction(state);
  if (const std::string problem = correction.On() ? ActivityProblem(state.activity) : ""; !problem.empty()) {
    sinks.failed.Show(problem);
    run.stopped = true;
    return run;
  }
  work.Allocate(state);
  if (correction.On() && !correction.Calculated()) correction.Apply(correction.FixedStrength(), work);
  for (int p = 1; p <= state.nsingle; ++p) {
    SinglePointResult& result = run.points[static_cast<std::size_t>(p)];
    int zeroReagent = 0;
    if (PreparePoint(state, work, p, zeroReagent) == Prepared::kZeroTotal) {
      sinks.zeroTotal.Show("Total concentration of " + state.name(zeroReagent) +
                           " cannot be zero when pX is not specified");
      result = Failed();
      run.stopped = true;
      return run;
    }
    int ifail = kSuccess;
    double strength = 0;
    switch (SolveAtStrength(state, work, correction, p, strength, ifail)) {
      case SingleOutcome::kSolved:
        result = TakeResult(state, work, p);
        if (correction.On()) TakeStrength(state, correction, strength, p, result);
        continue;
      case SingleOutcome::kSolidsFailed:
        result = Failed();
        sinks.solids.Show("free concentration calculation (with ppte) failed at point" + PlainText(p));
        continue;
      case SingleOutcome::kStrengthFailed:
        result = Failed();
        sinks.solids.Show(StrengthFailureMessage(p));
        continue;
      case SingleOutcome::kSolubleFailed:
        break;
    }
    result = Failed();
    sinks.failed.Show(SolubleFailure(p, ifail));
    run.stopped = true;
    return run;
  }
  return run;
}

// --- Clipboard and printer.

std::string SinglePointClipboardText(const ProjectState& state, const SinglePointCells& resultCells,
                                     const std::string& createdAt) {
  const int nr = state.nreag, ns = state.nspecies;
  std::string out = Line("Tarn - Single data point calculations. Created at " + createdAt);
  out += Line(state.title) + Line("concentrations /mol dm-3") + Line("");
  out += TableLine("Conditions", ConditionsRowCells(state, 0));
  for (int row = 1; row <= 2 * nr; ++row) out += TableLine(ConditionsLabel(state, row), ConditionsRowCells(state, row));
  out += Line("") + Line(std::string("Results") + kTab + kResultsUnits);
  for (int j = 1; j <= nr; ++j) out += TableLine("free " + state.name(j), ResultRowCells(state, resultCells, j));
  for (int i = 1; i <= ns; ++i) out += TableLine(SpeciesFormula(state, i), ResultRowCells(state, resultCells, nr + i));
  for (int s = 1; s <= state.nsolids; ++s)
    out += TableLine(SolidName(state, s), ResultRowCells(state, resultCells, nr + ns + s));
  out += Line("") + Line(std::string(1, kTab) + "log beta");
  for (int i = 1; i <= ns; ++i)
    out += Line(SpeciesFormula(state, i) + kTab + FormatPattern(state.logbeta(i), kConstantPattern));
  for (int s = 1; s <= state.nsolids; ++s)
    out += Line(SolidName(state, s) + kTab + FormatPattern(state.logksp(s), kConstantPattern));
  return out;
}

int SinglePointLabelWidth(const ProjectState& state) {
  std::size_t width = kMinLabelWidth;
  for (int j = 1; j <= state.nreag; ++j) width = std::max(width, state.name(j).size() + 6);
  for (int i = 1; i <= state.nspecies; ++i) width = std::max(width, SpeciesFormula(state, i).size());
  return static_cast<int>(width);
}

std::string RightField(const std::string& text, int width) {
  const std::string trimmed(Trim(text));
  const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
  if (trimmed.size() >= w) return trimmed.substr(trimmed.size() - w);
  return std::string(w - trimmed.size(), ' ') + trimmed;
}

std::vector<std::string> SinglePointPrintLines(const ProjectState& state, const SinglePointCells& resultCells,
                                               const std::string& printedAt) {
  const int nr = state.nreag, ns = state.nspecies, width = SinglePointLabelWidth(state);
  std::vector<std::string> lines{"Tarn - single data point calculations. Printed at " + printedAt, state.title,
                                 "concentrations /mol dm-3"};
  std::vector<std::string> numbers;
  for (int p = 1; p <= state.nsingle; ++p) numbers.push_back(PlainText(p));
  lines.push_back(PrintLine("", width, numbers));
  for (int pass = 0; pass < 2; ++pass) {
    for (int j = 1; j <= nr; ++j) {
      std::vector<std::string> fields;
      for (int p = 1; p <= state.nsingle; ++p) {
        const bool given = pass == 0 ? state.sflag(j, p) : !state.sflag(j, p);
        const double x = pass == 0 ? state.stotal(j, p) : state.sfree(j, p);
        fields.push_back(given ? FormatPattern(x, kPrintPattern) : "");
      }
      lines.push_back(PrintLine(pass == 0 ? "total " + state.name(j) : "p(" + state.name(j) + ")", width, fields));
    }
  }
  for (int k = 1; k <= state.ntotal(); ++k) {
    std::string label = k <= nr        ? "free " + state.name(k)
                        : k <= nr + ns ? SpeciesFormula(state, k - nr)
                                       : SolidName(state, k - nr - ns);
    lines.push_back(PrintLine(label, width, ResultRowCells(state, resultCells, k)));
  }
  return lines;
}

}  // namespace tarn

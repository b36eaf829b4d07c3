#include "core/model/model.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr std::array<Rgb, kPaletteSize + 1> kPalette{{{0, 0, 0},
                                                      {255, 0, 0},
                                                      {0, 255, 0},
                                                      {0, 0, 255},
                                                      {128, 0, 0},
                                                      {0, 128, 0},
                                                      {0, 0, 128},
                                                      {255, 128, 0},
                                                      {128, 128, 0},
                                                      {255, 0, 255},
                                                      {0, 128, 128},
                                                      {0, 255, 255},
                                                      {128, 128, 128},
                                                      {128, 0, 128},
                                                      {255, 64, 64},
                                                      {64, 64, 255},
                                                      {128, 64, 64},
                                                      {64, 64, 0}}};

bool HasDigit(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void AppendTerm(std::string& out, const std::string& reagent, int coefficient) {
  if (coefficient == 0) return;
  out += reagent;
  if (coefficient != 1) out += std::to_string(coefficient);
}

}  // namespace

void AllocateConditions(ProjectState& s) {
  const int nr = s.nreag, np = s.nsingle, nt = s.ntotal();
  s.plotMark.Resize(nt);
  s.speciesInfo.Resize(1, nt);
  s.caption.Resize(nt);
  for (Array2<double>* c : {&s.total, &s.burette, &s.pxi, &s.pxf, &s.initial, &s.final}) c->Resize(nr, 1);
  s.flag.Resize(nr, 1);
  s.stotal.Resize(nr, np);
  s.sfree.Resize(nr, np);
  s.sflag.Resize(nr, np);
  s.sresult.Resize(nt, np);
}

void AllocateModel(ProjectState& s) {
  const int nr = s.nreag, ns = s.nspecies, nk = s.nsolids;
  s.a.Resize(nr, ns);
  s.name.Resize(nr);
  s.logbeta.Resize(ns);
  s.refine.Resize(ns);
  s.logksp.Resize(nk + 1);
  s.sa.Resize(nr, nk);
  ResetActivity(s.activity, nr);
  AllocateConditions(s);
  s.plot.yUpper[0] = 100;
  s.plot.yLower[0] = 0;
  s.plot.yChoice = 0;
  s.curveColours = kPalette;
}

std::string SpeciesFormula(const ProjectState& s, int i) {
  std::string out;
  for (int j = 1; j <= s.nreag; ++j) {
    std::string n(Trim(s.name(j)));
    if (HasDigit(s.name(j))) n = "(" + n + ")";
    AppendTerm(out, n, s.a(j, i));
  }
  return out;
}

std::string SolidName(const ProjectState& s, int k) {
  std::string out;
  for (int j = 1; j <= s.nreag; ++j) AppendTerm(out, std::string(Trim(s.name(j))), s.sa(j, k));
  return out + "(s)";
}

std::string DefaultCaption(const ProjectState& s, int k) {
  if (k <= s.nreag) return s.name(k);
  if (k <= s.nreag + s.nspecies) return SpeciesFormula(s, k - s.nreag);
  return SolidName(s, k - s.nreag - s.nspecies);
}

void DefaultCaptions(ProjectState& s) {
  for (int k = 1; k <= s.ntotal(); ++k)
    if (Trim(s.caption(k)).empty()) s.caption(k) = DefaultCaption(s, k);
}

void ResetCaptions(ProjectState& s) {
  for (int k = 1; k <= s.ntotal(); ++k) s.caption(k) = DefaultCaption(s, k);
}

bool IsProtonName(std::string_view name) {
  std::string n = Upper(Trim(name));
  return n == "H" || n == "PROTON" || n == "PROTONE";
}

int FindProton(const ProjectState& s) {
  int proton = 0;
  for (int j = 1; j <= s.nreag; ++j)
    if (IsProtonName(s.name(j))) proton = j;
  return proton;
}

Rgb PaletteColour(int c) {
  return kPalette.at(static_cast<std::size_t>(std::clamp(c, 1, kPaletteSize)));
}

void DeriveTitrationConcentrations(ProjectState& s) {
  s.vadded = s.vfinal - s.volume[0];
  for (int j = 1; j <= s.nreag; ++j) DeriveTitrationTotals(s, j);
}

void DeriveTitrationTotals(ProjectState& s, int j) {
  const double v0 = s.volume[kTitration];
  s.initial(j, kTitration) = v0 > 0 ? s.total(j, kTitration) / v0 : 0.0;
  s.final(j, kTitration) =
      s.vfinal > 0 ? (s.total(j, kTitration) + (s.vfinal - v0) * s.burette(j, kTitration)) / s.vfinal : 0.0;
}

std::string FormatValue(double x) {
  double a = x < 0 ? -x : x;
  if (a == 0) return FormatPattern(x, "###0.0");
  if (a < 0.001) return FormatPattern(x, "0.000E+00");
  return FormatPattern(x, "###0.0#####");
}

namespace {

// Reagent j enters no species and no solid with a negative coefficient (an
// ignored species does not count): no solution holds a negative total of it.
bool OnlyPositiveCoefficients(const ProjectState& s, int j) {
  for (int i = 1; i <= s.nspecies; ++i)
    if (s.refine(i) != kRefineIgnore && s.a(j, i) < 0) return false;
  for (int k = 1; k <= s.nsolids; ++k)
    if (s.sa(j, k) < 0) return false;
  return true;
}

// A negative total of a reagent that cannot have one, named with its column.
std::optional<Validation> NegativeTotal(const ProjectState& s) {
  for (int j = 1; j <= s.nreag; ++j) {
    if (!OnlyPositiveCoefficients(s, j)) continue;
    std::string column;
    if (s.type == kTitration) {
      column = s.total(j, 0) < 0 ? "total millimoles" : s.burette(j, 0) < 0 ? "burette concentration" : "";
    } else if (s.flag(j, 1)) {
      column = s.initial(j, 1) < 0 ? "initial concentration" : s.final(j, 1) < 0 ? "final concentration" : "";
    }
    if (!column.empty())
      return Validation{false, "The " + column + " of " + s.name(j) + " cannot be negative", ConditionsFocus::kEditor};
  }
  return std::nullopt;
}

}  // namespace

Validation ValidateConditions(const ProjectState& s) {
  const char* kEqualDistribution = " All inital and final concentrations/pX values are equal to each other";
  const char* kEqualTitration = " All inital and final concentrations are the same";
  if (s.type == kTitration) {
    if (s.volume[0] == 0) return {false, " Initial volume is zero", ConditionsFocus::kInitialVolume};
    if (s.volume[0] < 0) return {false, " Initial volume is negative", ConditionsFocus::kInitialVolume};
    if (s.volume[0] >= s.vfinal)
      return {false, "Added volume must be greater than zero", ConditionsFocus::kAddedVolume};
  }
  if (auto negative = NegativeTotal(s)) return *negative;
  if (s.type == kDistribution) {
    for (int j = 1; j <= s.nreag; ++j) {
      bool same = s.flag(j, 1) ? s.initial(j, 1) == s.final(j, 1) : s.pxi(j, 1) == s.pxf(j, 1);
      if (!same) return {};
    }
    return {false, kEqualDistribution, ConditionsFocus::kEditor};
  }
  for (int j = 1; j <= s.nreag; ++j)
    if (s.initial(j, 0) != s.final(j, 0)) return {};
  return {false, kEqualTitration, ConditionsFocus::kEditor};
}

double CellsToFill(const DeclaredCounts& c) {
  const double nreag = static_cast<double>(c.nreag);
  return nreag * 8 + static_cast<double>(c.nspecies + c.nsolids) * (nreag + 2) +
         static_cast<double>(c.nsingle) * 3 * std::max(nreag, 1.0);
}

double CellsToAllocate(const DeclaredCounts& c) {
  const double reagents = static_cast<double>(c.nreag) + 1, points = static_cast<double>(c.nsingle) + 1;
  const double species = static_cast<double>(c.nreag + c.nspecies + c.nsolids) + 1;
  const double model = reagents * (static_cast<double>(c.nspecies + c.nsolids) + 2) + 2 * species + 2;
  return model + 4 * species + 7 * 2 * reagents + 3 * reagents * points + species * points;
}

bool AllocationFitsText(double cells, std::size_t textLength) {
  return cells <= kMinCellBudget + kCellsPerByte * static_cast<double>(textLength);
}

bool CountsFitText(const DeclaredCounts& c, std::size_t textLength) {
  constexpr long long kMaxCount = std::numeric_limits<int>::max() / 4;
  for (long long n : {c.nreag, c.nspecies, c.nsolids, c.nsingle})
    if (n < 0 || n > kMaxCount) return false;
  if (c.nreag < 1) return false;
  return CellsToFill(c) * kMinCellBytes <= static_cast<double>(textLength) &&
         AllocationFitsText(CellsToAllocate(c), textLength);
}

std::string DamagedFileMessage(std::string_view path) {
  return std::string(path) + " is damaged or not a Tarn project file";
}

}  // namespace tarn

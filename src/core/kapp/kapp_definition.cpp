#include "core/kapp/kapp_definition.h"

#include <algorithm>

#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

constexpr char kCr = '\r';

int MaxTerms(const KappDefinition& def) {
  return std::max(def.nterms[0], def.nterms[1]);
}

// Grows (or shrinks) the term arrays to the larger of the two counts.
void FitTermArrays(KappDefinition& def) {
  const int n = MaxTerms(def);
  def.termType.ResizeKeep(n, 1);
  def.termArg.ResizeKeep(n, 1);
}

void ClearTerm(KappDefinition& def, int t, int s) {
  def.termType(t, s) = 0;
  def.termArg(t, s) = 0;
}

const char* SideName(int s) {
  return s == kNumerator ? "numerator" : "denominator";
}

std::string SumExpression(const ProjectState& state, const KappDefinition& def, int s) {
  std::string text = "SUM(";
  for (int j = 1; j <= state.nreag; ++j)
    if (def.sumMember(j, s)) text += " [" + state.name(j) + "]+";
  for (int i = 1; i <= state.nspecies; ++i)
    if (def.sumMember(state.nreag + i, s)) text += " [" + SpeciesFormula(state, i) + "]+";
  text.pop_back();
  return text + ")";
}

bool HasSumMember(const ProjectState& state, const KappDefinition& def, int s) {
  for (int k = 1; k <= state.nreag + state.nspecies; ++k)
    if (def.sumMember(k, s)) return true;
  return false;
}

// What term t of side s lacks, or nothing.
std::optional<std::string> TermProblem(const ProjectState& state, const KappDefinition& def, int t, int s) {
  const int code = def.termType(t, s), arg = def.termArg(t, s);
  const std::string term = "term " + std::string(Trim(PlainText(t))) + " of the " + SideName(s);
  switch (TermKind(state.nreag, code)) {
    case KappTermKind::kNone:
      return term + " has no type";
    case KappTermKind::kSum:
      if (!HasSumMember(state, def, s)) return term + " has no member ticked";
      return std::nullopt;
    case KappTermKind::kComplex:
      if (arg < 1 || arg > state.nspecies) return term + " has no complex chosen";
      return std::nullopt;
    default:
      break;
  }
  if (arg < 1 || arg > state.nreag || arg == TermReagent(state.nreag, code)) return term + " has no reagent chosen";
  return std::nullopt;
}

}  // namespace

KappDefinition NewKappDefinition(const ProjectState& state) {
  KappDefinition def;
  def.nreag = state.nreag;
  def.nspecies = state.nspecies;
  def.nterms = {1, 1};
  def.termType.Resize(1, 1);
  def.termArg.Resize(1, 1);
  def.sumMember.Resize(state.nreag + state.nspecies, 1);
  return def;
}

bool DefinitionFitsModel(const ProjectState& state, const KappDefinition& def) {
  return def.nreag == state.nreag && def.nspecies == state.nspecies;
}

int KappTypeCount(int nreag) {
  return 2 * nreag + 4;
}

KappTermKind TermKind(int nreag, int code) {
  if (code < 1 || code > KappTypeCount(nreag)) return KappTermKind::kNone;
  if (code <= nreag) return KappTermKind::kBound;
  if (code <= 2 * nreag) return KappTermKind::kNotBound;
  switch (code - 2 * nreag) {
    case 1:
      return KappTermKind::kTotal;
    case 2:
      return KappTermKind::kSum;
    case 3:
      return KappTermKind::kComplex;
    default:
      return KappTermKind::kFree;
  }
}

int TermReagent(int nreag, int code) {
  switch (TermKind(nreag, code)) {
    case KappTermKind::kBound:
      return code;
    case KappTermKind::kNotBound:
      return code - nreag;
    default:
      return 0;
  }
}

std::string KappTypeText(const ProjectState& state, int code) {
  const int a = TermReagent(state.nreag, code);
  switch (TermKind(state.nreag, code)) {
    case KappTermKind::kNone:
      return kNoTypeText;
    case KappTermKind::kBound:
      return "T(" + state.name(a) + ")  bound to ";
    case KappTermKind::kNotBound:
      return "T[" + state.name(a) + ")  not bound to ";
    case KappTermKind::kTotal:
      return "total concentration";
    case KappTermKind::kSum:
      return "sum of concentrations";
    case KappTermKind::kComplex:
      return "complex concentration";
    case KappTermKind::kFree:
      break;
  }
  return "free concentration";
}

std::vector<std::string> KappTypeTexts(const ProjectState& state) {
  std::vector<std::string> texts;
  for (int code = 1; code <= KappTypeCount(state.nreag); ++code) texts.push_back(KappTypeText(state, code));
  return texts;
}

std::vector<std::string> KappReagentChoices(const ProjectState& state, int code) {
  const int own = TermReagent(state.nreag, code);
  std::vector<std::string> names;
  for (int j = 1; j <= state.nreag; ++j) names.push_back(j == own ? kNotApplicable : state.name(j));
  return names;
}

std::vector<int> StandardSpecies(const ProjectState& state) {
  std::vector<int> species;
  for (int i = 1; i <= state.nspecies; ++i) {
    int reagents = 0;
    for (int j = 1; j <= state.nreag; ++j) reagents += state.a(j, i) != 0 ? 1 : 0;
    if (reagents == 2) species.push_back(i);
  }
  return species;
}

std::string SumMembershipText(const ProjectState& state, const KappDefinition& def, int s) {
  std::string text;
  auto add = [&text](const std::string& member) { text += (text.empty() ? "" : " + ") + member; };
  for (int j = 1; j <= state.nreag; ++j)
    if (def.sumMember(j, s)) add(state.name(j));
  for (int i = 1; i <= state.nspecies; ++i)
    if (def.sumMember(state.nreag + i, s)) add(SpeciesFormula(state, i));
  return text;
}

std::string KappArgumentText(const ProjectState& state, const KappDefinition& def, int t, int s) {
  const int code = def.termType(t, s), arg = def.termArg(t, s);
  const KappTermKind kind = TermKind(state.nreag, code);
  // A sum with no member ticked yet shows nothing, as an argument not chosen.
  if (kind == KappTermKind::kSum) return SumMembershipText(state, def, s);
  if (kind == KappTermKind::kNone || arg == 0) return {};
  if (kind == KappTermKind::kComplex) return arg <= state.nspecies ? SpeciesFormula(state, arg) : std::string();
  return arg <= state.nreag ? state.name(arg) : std::string();
}

void SetTermType(KappDefinition& def, int t, int s, int code) {
  def.termType(t, s) = code;
  def.termArg(t, s) = 0;
}

std::string TermExpression(const ProjectState& state, const KappDefinition& def, int t, int s) {
  const int code = def.termType(t, s), arg = def.termArg(t, s);
  const bool reagent = arg >= 1 && arg <= state.nreag;
  const std::string x = reagent ? state.name(arg) : std::string();
  switch (TermKind(state.nreag, code)) {
    case KappTermKind::kNone:
      return {};
    case KappTermKind::kBound:
    case KappTermKind::kNotBound:
      return KappTypeText(state, code) + x;
    case KappTermKind::kTotal:
      return " C(" + x + ")";
    case KappTermKind::kSum:
      return SumExpression(state, def, s);
    case KappTermKind::kComplex:
      return " [" + (arg >= 1 && arg <= state.nspecies ? SpeciesFormula(state, arg) : std::string()) + "]";
    case KappTermKind::kFree:
      break;
  }
  return " [" + x + "]";
}

void SetExpression(const ProjectState& state, KappDefinition& def) {
  for (int s = 0; s < 2; ++s) {
    std::string text;
    for (int t = 1; t <= def.nterms[static_cast<std::size_t>(s)]; ++t) {
      if (t > 1) text += " * ";
      text += TermExpression(state, def, t, s);
    }
    def.exprText[static_cast<std::size_t>(s)] = text;
  }
}

void ClassicDefinition(const ProjectState& state, KappDefinition& def, int i) {
  int a = 0, b = 0;
  for (int j = 1; j <= state.nreag && b == 0; ++j) {
    if (state.a(j, i) == 0) continue;
    (a == 0 ? a : b) = j;
  }
  if (b == 0) return;  // not a complex of two reagents
  const int n = state.nreag;
  def.nterms = {1, 2};
  FitTermArrays(def);
  def.termType(1, kNumerator) = a;
  def.termArg(1, kNumerator) = b;
  def.termType(1, kDenominator) = n + a;
  def.termArg(1, kDenominator) = b;
  def.termType(2, kDenominator) = n + b;
  def.termArg(2, kDenominator) = a;
  SetExpression(state, def);
}

void AddTerm(KappDefinition& def, int s) {
  const int t = ++def.nterms[static_cast<std::size_t>(s)];
  FitTermArrays(def);
  ClearTerm(def, t, s);
}

bool RemoveTerm(KappDefinition& def, int s, int r) {
  int& n = def.nterms[static_cast<std::size_t>(s)];
  if (n <= 1 || r < 1 || r > n) return false;
  for (int t = r; t < n; ++t) {
    def.termType(t, s) = def.termType(t + 1, s);
    def.termArg(t, s) = def.termArg(t + 1, s);
  }
  ClearTerm(def, n, s);
  --n;
  return true;
}

std::optional<std::string> KappDefinitionProblem(const ProjectState& state, const KappDefinition& def) {
  for (int s = 0; s < 2; ++s)
    if (def.termType(1, s) == 0) return kInvalidKappMessage;
  for (int s = 0; s < 2; ++s)
    for (int t = 1; t <= def.nterms[static_cast<std::size_t>(s)]; ++t)
      if (auto problem = TermProblem(state, def, t, s)) return kInvalidKappMessage + (kCr + *problem);
  return std::nullopt;
}

}  // namespace tarn

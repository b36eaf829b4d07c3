#pragma once
// The definition of an apparent (conditional) constant Kapp: a numerator and
// a denominator, each a product of concentration terms, with the texts of
// the term types, the expression text of each side and the classic
// definition of a complex AB (A bound to B over A not bound to B times B not
// bound to A).
//
// Term type codes, with n = nreag:
//   A = 1..n        "T(" + name[A] + ")  bound to "      argument reagent X
//   n + A           "T[" + name[A] + ")  not bound to "  argument reagent X
//   2n + 1          "total concentration"                 argument reagent X
//   2n + 2          "sum of concentrations"               the side's sum members
//   2n + 3          "complex concentration"               argument species i
//   2n + 4          "free concentration"                  argument reagent X
//   0               not chosen yet
//
//   KappDefinition def = NewKappDefinition(state);
//   ClassicDefinition(state, def, i);      // then def.exprText[0], [1]

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/model/index_array.h"
#include "core/model/project_state.h"

namespace tarn {

inline constexpr int kNumerator = 0;
inline constexpr int kDenominator = 1;

// The text of a term whose type is not chosen yet.
inline constexpr const char* kNoTypeText = "Double click";
// The reagent list's entry for the type's own reagent.
inline constexpr const char* kNotApplicable = "n/a";
inline constexpr const char* kInvalidKappMessage = "Expression for Kapp is not valid";

enum class KappTermKind { kNone, kBound, kNotBound, kTotal, kSum, kComplex, kFree };

struct KappDefinition {
  // The model the definition was made for (codes and arguments depend on it).
  int nreag = 0;
  int nspecies = 0;
  std::array<int, 2> nterms{1, 1};
  Array2<int> termType;    // [t, s], t = 1..nterms[s]
  Array2<int> termArg;     // [t, s]: reagent j, or species i for a complex term
  Array2<bool> sumMember;  // [k, s], k = 1..nreag + nspecies (reagents, then species)
  std::array<std::string, 2> exprText;
};

// One empty term per side, no sum member.
KappDefinition NewKappDefinition(const ProjectState& state);
// Whether the definition's codes and arguments still mean what they did: the
// model has the same numbers of reagents and species.
bool DefinitionFitsModel(const ProjectState& state, const KappDefinition& def);

// The number of type codes, 2 nreag + 4.
int KappTypeCount(int nreag);
KappTermKind TermKind(int nreag, int code);
// The reagent A of a bound or not-bound code; 0 for the others.
int TermReagent(int nreag, int code);
// The list text of a code (codes 1..KappTypeCount); kNoTypeText for 0.
std::string KappTypeText(const ProjectState& state, int code);
// The list texts of every code in order (the Types list).
std::vector<std::string> KappTypeTexts(const ProjectState& state);
// The reagent list for a term of that code: the names, with kNotApplicable
// for the code's own reagent.
std::vector<std::string> KappReagentChoices(const ProjectState& state, int code);
// The species of the Standard list: those with exactly two reagents of
// non-zero coefficient.
std::vector<int> StandardSpecies(const ProjectState& state);

// The text of a term's argument as the definition grid shows it: the species
// formula of a complex term, the reagent's name for the reagent terms, the
// members of a sum term by name ("L + LH", reagents first, then complexes);
// empty when nothing is chosen.
std::string KappArgumentText(const ProjectState& state, const KappDefinition& def, int t, int s);
std::string SumMembershipText(const ProjectState& state, const KappDefinition& def, int s);

// Sets term t of side s; the argument is cleared with a new type.
void SetTermType(KappDefinition& def, int t, int s, int code);

// Rebuilds exprText[0] and exprText[1] from the terms.
void SetExpression(const ProjectState& state, KappDefinition& def);
// The expression text of term t of side s alone.
std::string TermExpression(const ProjectState& state, const KappDefinition& def, int t, int s);

// The classic constant of species i (two reagents A < B): A bound to B over
// (A not bound to B) * (B not bound to A). Rebuilds the expression.
void ClassicDefinition(const ProjectState& state, KappDefinition& def, int i);

// Adds an empty term at the end of side s.
void AddTerm(KappDefinition& def, int s);
// Removes term r of side s, the later terms moving up. False, changing
// nothing, when the side has one term only or r is no term.
bool RemoveTerm(KappDefinition& def, int s, int r);

// Why the definition cannot be evaluated: kInvalidKappMessage when the first
// term of a side has no type; the same followed by a line naming the term
// when a later term has no type, or a term has no reagent, no complex or no
// sum member chosen. Nothing when it can.
std::optional<std::string> KappDefinitionProblem(const ProjectState& state, const KappDefinition& def);

}  // namespace tarn

#include "core/app/project_edits.h"

#include <algorithm>

#include "core/model/model.h"
#include "core/model/model_edits.h"
#include "core/model/number_text.h"
#include "core/model/reagents.h"
#include "core/tables/single_points.h"

namespace tarn::edit {

namespace {

constexpr Change kConstantChanged = Change::kConstants | Change::kResults;
constexpr Change kFormulaChanged = Change::kFormulas | Change::kResults;
constexpr Change kConditionChanged = Change::kConditions | Change::kResults;

std::string NameOf(const ProjectState& s, int j) {
  return j >= 1 && j <= s.nreag ? std::string(Trim(s.name(j))) : std::string();
}

std::string SpeciesText(const ProjectState& s, int i) {
  return i >= 1 && i <= s.nspecies ? SpeciesFormula(s, i) : std::string();
}

std::string SolidText(const ProjectState& s, int k) {
  return k >= 1 && k <= s.nsolids ? SolidName(s, k) : std::string();
}

bool IsSpecies(const ProjectState& s, int i) {
  return i >= 1 && i <= s.nspecies;
}

bool IsSolid(const ProjectState& s, int k) {
  return k >= 1 && k <= s.nsolids;
}

bool IsReagent(const ProjectState& s, int j) {
  return j >= 1 && j <= s.nreag;
}

// Every caption that follows a formula: species and solids.
void FormulaCaptions(ProjectState& s) {
  for (int i = 1; i <= s.nspecies; ++i) s.caption(s.nreag + i) = SpeciesFormula(s, i);
  for (int k = 1; k <= s.nsolids; ++k) s.caption(s.nreag + s.nspecies + k) = SolidName(s, k);
}

std::string DistributionLabel(int column) {
  static const char* const kLabels[] = {"initial concentration", "final concentration", "start pX", "final pX"};
  return column >= 1 && column <= 4 ? kLabels[column - 1] : "";
}

}  // namespace

Change RenameReagent(EditSession& edits, int j, std::string_view name) {
  const ProjectState& now = edits.Project();
  if (!IsReagent(now, j)) return Change::kNone;
  return edits.Apply("name of " + NameOf(now, j), [&](ProjectState& s) {
    std::string trimmed(Trim(name));
    if (trimmed == s.name(j)) return Change::kNone;
    s.name(j) = trimmed;
    s.caption(j) = trimmed;
    FormulaCaptions(s);
    Change changes = Change::kNames;
    const int proton = FindProton(s);
    if (proton != s.proton) changes |= Change::kResults | Change::kConditions;
    s.proton = proton;
    return changes;
  });
}

Change SetLogBeta(EditSession& edits, int i, double value) {
  const ProjectState& now = edits.Project();
  if (!IsSpecies(now, i)) return Change::kNone;
  return edits.Apply("log beta of " + SpeciesText(now, i), [&](ProjectState& s) {
    if (s.logbeta(i) == value) return Change::kNone;
    s.logbeta(i) = value;
    return kConstantChanged;
  });
}

Change SetSpeciesCoefficient(EditSession& edits, int j, int i, double value) {
  const ProjectState& now = edits.Project();
  if (!IsSpecies(now, i) || !IsReagent(now, j)) return Change::kNone;
  return edits.Apply("coefficient of " + NameOf(now, j) + " in " + SpeciesText(now, i), [&](ProjectState& s) {
    const int coefficient = CoefficientOf(value);
    if (s.a(j, i) == coefficient) return Change::kNone;
    s.a(j, i) = coefficient;
    s.caption(s.nreag + i) = SpeciesFormula(s, i);
    return kFormulaChanged;
  });
}

Change SetRefineKey(EditSession& edits, int i, int key) {
  const ProjectState& now = edits.Project();
  if (!IsSpecies(now, i)) return Change::kNone;
  return edits.Apply("refine key of " + SpeciesText(now, i), [&](ProjectState& s) {
    const int before = s.refine(i);
    if (before == key) return Change::kNone;
    s.refine(i) = key;
    const bool ignoring = (key == kRefineIgnore) != (before == kRefineIgnore);
    return ignoring ? kConstantChanged : Change::kConstants;
  });
}

Change SetLogKsp(EditSession& edits, int k, double value) {
  const ProjectState& now = edits.Project();
  if (!IsSolid(now, k)) return Change::kNone;
  return edits.Apply("log Ksp of " + SolidText(now, k), [&](ProjectState& s) {
    const double stored = static_cast<float>(value);
    if (s.logksp(k) == stored) return Change::kNone;
    s.logksp(k) = stored;
    return kConstantChanged;
  });
}

Change SetSolidCoefficient(EditSession& edits, int j, int k, double value) {
  const ProjectState& now = edits.Project();
  if (!IsSolid(now, k) || !IsReagent(now, j)) return Change::kNone;
  return edits.Apply("coefficient of " + NameOf(now, j) + " in " + SolidText(now, k), [&](ProjectState& s) {
    const int coefficient = CoefficientOf(value);
    if (s.sa(j, k) == coefficient) return Change::kNone;
    s.sa(j, k) = coefficient;
    s.caption(s.nreag + s.nspecies + k) = SolidName(s, k);
    return kFormulaChanged;
  });
}

Change AddSpecies(EditSession& edits, int row, int* added) {
  return edits.Apply("new species", [&](ProjectState& s) {
    const int n = InsertSpecies(s, row);
    if (added != nullptr) *added = n;
    return Change::kSpeciesAdded | Change::kResults;
  });
}

Change RemoveSpecies(EditSession& edits, int i) {
  const ProjectState& now = edits.Project();
  return edits.Apply("removal of " + SpeciesText(now, i), [&](ProjectState& s) {
    return DeleteSpecies(s, i) ? Change::kSpeciesRemoved | Change::kResults : Change::kNone;
  });
}

// An empty solid changes no result, but the project is no longer as saved.
Change AddSolid(EditSession& edits) {
  return edits.Apply("new solid", [](ProjectState& s) {
    AppendSolid(s);
    return Change::kSolids;
  });
}

Change RemoveSolid(EditSession& edits, int k) {
  const ProjectState& now = edits.Project();
  return edits.Apply("removal of " + SolidText(now, k), [&](ProjectState& s) {
    return DeleteSolid(s, k) ? Change::kSolids | Change::kResults : Change::kNone;
  });
}

Change AddReagent(EditSession& edits) {
  return edits.Apply("new reagent " + NewReagentName(edits.Project()), [](ProjectState& s) {
    if (s.nreag < 1) return Change::kNone;
    tarn::AddReagent(s);
    return Change::kReagents | Change::kResults;
  });
}

Change RemoveReagent(EditSession& edits, int j) {
  const ProjectState& now = edits.Project();
  return edits.Apply("removal of " + NameOf(now, j), [&](ProjectState& s) {
    return tarn::RemoveReagent(s, j) ? Change::kReagents | Change::kResults : Change::kNone;
  });
}

Change SetCalculationType(EditSession& edits, int type) {
  if (type != kTitration && type != kDistribution) return Change::kNone;
  return edits.Apply("calculation type", [&](ProjectState& s) {
    if (s.type == type) return Change::kNone;
    s.type = type;
    return Change::kType | kConditionChanged;
  });
}

Change SetTitle(EditSession& edits, std::string_view title) {
  return edits.Apply(
      "title",
      [&](ProjectState& s) {
        std::string trimmed(Trim(title));
        if (s.title == trimmed) return Change::kNone;
        s.title = trimmed;
        return Change::kTitle;
      },
      "title");
}

Change SetTitrationCondition(EditSession& edits, int j, int column, double value) {
  const ProjectState& now = edits.Project();
  if (!IsReagent(now, j) || (column != 1 && column != 2)) return Change::kNone;
  const char* label = column == 1 ? "total millimoles of " : "burette concentration of ";
  return edits.Apply(label + NameOf(now, j), [&](ProjectState& s) {
    double& stored = (column == 1 ? s.total : s.burette)(j, kTitration);
    if (stored == value) return Change::kNone;
    stored = value;
    DeriveTitrationTotals(s, j);
    return kConditionChanged;
  });
}

Change SetDistributionCondition(EditSession& edits, int j, int column, std::optional<double> value) {
  const ProjectState& now = edits.Project();
  if (!IsReagent(now, j) || column < 1 || column > 4) return Change::kNone;
  std::string what = value ? DistributionLabel(column) + " of " + NameOf(now, j) : "how " + NameOf(now, j) + " is given";
  return edits.Apply(what, [&](ProjectState& s) {
    Array2<double>* target[] = {nullptr, &s.initial, &s.final, &s.pxi, &s.pxf};
    double& stored = (*target[column])(j, kDistribution);
    const bool total = column <= 2;
    if (s.flag(j, kDistribution) == total && (!value || stored == *value)) return Change::kNone;
    s.flag(j, kDistribution) = total;
    if (value) stored = *value;
    return kConditionChanged;
  });
}

Change SetInitialVolume(EditSession& edits, double volume, double addedVolume, std::string_view run) {
  return edits.Apply(
      "initial volume",
      [&](ProjectState& s) {
        const std::size_t t = static_cast<std::size_t>(s.type);
        if (s.volume[t] == volume && s.vfinal == volume + addedVolume) return Change::kNone;
        s.volume[t] = volume;
        s.vfinal = volume + addedVolume;
        if (volume == 0) return Change::kConditions;
        ResetConditions(s, volume, s.vfinal);
        return kConditionChanged;
      },
      run);
}

Change SetAddedVolume(EditSession& edits, double addedVolume, std::string_view run) {
  return edits.Apply(
      "added volume",
      [&](ProjectState& s) {
        const std::size_t t = static_cast<std::size_t>(s.type);
        if (s.vfinal == addedVolume + s.volume[t]) return Change::kNone;
        s.vfinal = addedVolume + s.volume[t];
        ResetConditions(s, s.volume[t], s.vfinal);
        return kConditionChanged;
      },
      run);
}

namespace {

bool SameActivity(const ActivitySettings& a, const ActivitySettings& b) {
  if (a.correction != b.correction || a.calculated != b.calculated || a.fixedStrength != b.fixedStrength ||
      a.referenceStrength != b.referenceStrength || a.celsius != b.celsius || a.background != b.background ||
      a.cationCharge != b.cationCharge || a.anionCharge != b.anionCharge)
    return false;
  for (int j = 0; j <= a.charge.Upper() && j <= b.charge.Upper(); ++j)
    if (a.charge(j) != b.charge(j) || a.ionSize(j) != b.ionSize(j)) return false;
  return a.charge.Upper() == b.charge.Upper();
}

}  // namespace

Change SetActivity(EditSession& edits, const ActivitySettings& settings, std::string_view what, std::string* problem) {
  std::string wrong = ActivityProblem(settings);
  if (problem != nullptr) *problem = wrong;
  if (!wrong.empty() || settings.charge.Upper() != edits.Project().nreag) return Change::kNone;
  return edits.Apply(what, [&](ProjectState& s) {
    if (SameActivity(s.activity, settings)) return Change::kNone;
    // The results change when a correction is (or was) on.
    const bool results = ActivityOn(s.activity) || ActivityOn(settings);
    s.activity = settings;
    return results ? kConditionChanged : Change::kConditions;
  });
}

Change ScrollStep(EditSession& edits, const ScrollTarget& target, int bar, int value, std::string_view run) {
  const ProjectState& now = edits.Project();
  std::string what;
  if (bar == kConstantBar) {
    const int species = SpeciesOfConstant(now, target.constant);
    what = (target.constant <= now.nspecies ? "log beta of " : "log Ksp of ") +
           (species > 0 ? now.caption(species) : std::string());
  } else {
    what = ConditionLabel(now.type, target.mode) + " of " + NameOf(now, target.reagent);
  }
  return edits.Apply(
      what,
      [&](ProjectState& s) {
        if (!ApplyScrollStep(s, target, bar, value)) return Change::kNone;
        return (bar == kConstantBar ? Change::kConstants : Change::kConditions) | Change::kResults;
      },
      run);
}

Change SetCaption(EditSession& edits, int k, std::string_view caption, std::string_view run) {
  const ProjectState& now = edits.Project();
  if (k < 1 || k > now.ntotal()) return Change::kNone;
  return edits.Apply(
      "caption of " + now.caption(k),
      [&](ProjectState& s) {
        if (s.caption(k) == caption) return Change::kNone;
        s.caption(k) = std::string(caption);
        return Change::kCaptions;
      },
      run);
}

Change SetCurveColour(EditSession& edits, int k, Rgb colour) {
  const ProjectState& now = edits.Project();
  if (k < 1 || k > now.ntotal()) return Change::kNone;
  return edits.Apply("colour of " + now.caption(k), [&](ProjectState& s) {
    Rgb& entry = s.curveColours[static_cast<std::size_t>((k - 1) % kPaletteSize + 1)];
    if (entry == colour) return Change::kNone;
    entry = colour;
    return Change::kCaptions;
  });
}

Change AddSinglePoint(EditSession& edits) {
  return edits.Apply("new single point", [](ProjectState& s) {
    tarn::AddSinglePoint(s);
    return Change::kSinglePoints;
  });
}

Change RemoveSinglePoint(EditSession& edits, int p) {
  return edits.Apply("removal of single point " + std::string(Trim(PlainText(p))), [&](ProjectState& s) {
    return tarn::RemoveSinglePoint(s, p) ? Change::kSinglePoints : Change::kNone;
  });
}

Change ToggleSinglePointGiven(EditSession& edits, int j, int p) {
  const ProjectState& now = edits.Project();
  if (!IsReagent(now, j) || p < 1 || p > now.nsingle) return Change::kNone;
  return edits.Apply("how " + NameOf(now, j) + " is given at point " + std::string(Trim(PlainText(p))),
                     [&](ProjectState& s) {
                       ToggleSinglePointFlag(s, j, p);
                       return Change::kSinglePoints;
                     });
}

Change SetSinglePointValue(EditSession& edits, int j, int p, bool total, double value) {
  const ProjectState& now = edits.Project();
  if (!IsReagent(now, j) || p < 1 || p > now.nsingle) return Change::kNone;
  std::string what = (total ? "total of " : "pX of ") + NameOf(now, j) + " at point " + std::string(Trim(PlainText(p)));
  return edits.Apply(what, [&](ProjectState& s) {
    double& stored = total ? s.stotal(j, p) : s.sfree(j, p);
    if (stored == value) return Change::kNone;
    stored = value;
    return Change::kSinglePoints;
  });
}

}  // namespace tarn::edit

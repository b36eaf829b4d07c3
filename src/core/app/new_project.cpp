#include "core/app/new_project.h"

#include <algorithm>

#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/reagents.h"

namespace tarn {

namespace {

// A value as a project file holds it once written and read back.
double Single(double x) {
  return static_cast<double>(static_cast<float>(x));
}

void SetScalars(ProjectState& s) {
  s.title = "new model";
  s.maxit = 25;
  s.mode = 0;
  s.excessive = Single(0.33);
  s.logbeta(1) = 0;
  s.refine(1) = 0;
  s.volume[kTitration] = 10;
  s.vfinal = 12;
  s.vadded = 2;
  s.volume[kDistribution] = 1;
}

void SetReagent(ProjectState& s, int j, double burette) {
  s.name(j) = DefaultReagentName(j);
  s.a(j, 1) = 1;
  for (int t : {kTitration, kDistribution}) {
    s.total(j, t) = Single(0.2);
    s.burette(j, t) = burette;
    s.initial(j, t) = s.total(j, t) / s.volume[t];
    s.pxi(j, t) = 3;
    s.pxf(j, t) = 9;
    s.flag(j, t) = true;
  }
  // Stored at single precision in the file's distribution rows.
  s.initial(j, kDistribution) = Single(s.initial(j, kDistribution));
  s.final(j, kDistribution) = s.initial(j, kDistribution);
}

// Without a proton the distribution sweeps the last reagent's total from the
// others' concentration to twice it, so it too calculates at once.
void SetSweptReagent(ProjectState& s) {
  int last = s.nreag;
  s.final(last, kDistribution) = Single(2 * s.initial(last, kDistribution));
}

void SetProton(ProjectState& s) {
  int h = s.nreag;
  s.logbeta(2) = Single(-13.77);
  s.name(h) = "H";
  s.a(h, 2) = -1;
  s.flag(h, kDistribution) = false;
}

}  // namespace

std::optional<TitledMessage> CheckNewProjectTitle(std::string_view title) {
  if (title != kUntitled && !Trim(title).empty()) return std::nullopt;
  return TitledMessage{"Please enter a project title\rIt will also be the default name for the CLD file",
                       "Saving new project"};
}

std::string NewProjectPath(std::string_view writedir, std::string_view title) {
  std::string file(title);
  std::replace(file.begin(), file.end(), '/', '-');
  return std::string(writedir) + "/" + file + ".cld";
}

void BuildNewProject(ProjectState& state, const NewProjectChoice& choice, std::string_view writedir) {
  ProjectState s;
  s.npoints = state.npoints;
  s.ln10 = state.ln10;
  s.plot = state.plot;
  s.nreag = std::clamp(choice.nreag, kMinNewReagents, kMaxNewReagents);
  s.type = choice.type == kDistribution ? kDistribution : kTitration;
  s.nspecies = choice.protonPresent ? 2 : 1;
  s.nsolids = 0;
  s.nsingle = 0;
  s.nsoluble = s.nreag + s.nspecies;
  AllocateModel(s);
  SetScalars(s);
  double titrant = Single(-0.1);
  for (int j = 1; j <= s.nreag; ++j) SetReagent(s, j, choice.protonPresent && j == s.nreag ? titrant : 0.0);
  DeriveTitrationConcentrations(s);
  if (choice.protonPresent)
    SetProton(s);
  else
    SetSweptReagent(s);
  s.proton = FindProton(s);
  s.title = choice.title;
  s.currentFile = NewProjectPath(writedir, choice.title);
  s.modified = true;
  s.recalc = true;
  DefaultCaptions(s);
  state = std::move(s);
}

std::optional<TitledMessage> AcceptNewProject(ProjectState& state, const NewProjectChoice& choice,
                                              std::string_view writedir) {
  if (auto refusal = CheckNewProjectTitle(choice.title)) return refusal;
  BuildNewProject(state, choice, writedir);
  return std::nullopt;
}

}  // namespace tarn

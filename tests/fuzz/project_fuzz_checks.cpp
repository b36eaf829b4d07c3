#include "project_fuzz_checks.h"

#include "core/model/model.h"
#include "core/model/reagents.h"

namespace tarn::fuzz {

namespace {

long long Cells(const ProjectState& s) {
  return static_cast<long long>(s.nreag + 1) * (s.ntotal() + s.nsingle + 1);
}

void CheckRoundTrip(const ProjectState& s) {
  QuietSink sink;
  std::string first = ProjectText(s);
  ProjectState again;
  Check(ReadProjectText(again, first, sink) == ReadStatus::kOk, "a written project reads back");
  Check(again.nreag == s.nreag && again.nspecies == s.nspecies && again.nsolids == s.nsolids &&
            again.nsingle == s.nsingle && again.proton == s.proton && again.type == s.type,
        "counts, proton and type survive writing and reading");
  std::string second = ProjectText(again);
  ProjectState third;
  Check(ReadProjectText(third, second, sink) == ReadStatus::kOk, "a rewritten project reads back");
  Check(ProjectText(third) == second, "writing and reading a written project changes nothing");
}

void CheckAddRemove(const ProjectState& s) {
  if (s.nreag < 1) return;
  ProjectState changed = s;
  AddReagent(changed);
  Check(changed.nreag == s.nreag + 1 && changed.nspecies == s.nspecies, "adding a reagent keeps the species");
  Check(RemoveReagent(changed, changed.nreag), "the added reagent can be removed");
  ProjectState expected = s;
  ResetCaptions(expected);
  Check(ProjectText(changed) == ProjectText(expected), "adding and removing a reagent gives back the model");
  CheckRoundTrip(changed);
  ProjectState removed = s;
  if (RemoveReagent(removed, 1)) CheckRoundTrip(removed);
}

}  // namespace

bool HasMarkup(const ProjectState& s) {
  bool markup = HasMarkup(s.title) || HasMarkup(s.selector) || HasMarkup(s.potentiometricData) ||
                HasMarkup(s.absorbanceData) || HasMarkup(s.combinedData) || HasMarkup(s.resonance) ||
                HasMarkup(s.calorimetricData);
  for (int j = 1; j <= s.nreag; ++j) markup = markup || HasMarkup(s.name(j));
  for (int k = 1; k <= s.ntotal(); ++k) markup = markup || HasMarkup(s.caption(k));
  return markup;
}

void CheckBounded(const ProjectState& s, std::size_t size) {
  const DeclaredCounts counts{s.nreag, s.nspecies, s.nsolids, s.nsingle};
  Check(s.nreag >= 1, "a project read has a reagent");
  Check(AllocationFitsText(CellsToAllocate(counts), size), "the arrays of a file fit its size");
  Check(CellsToFill(counts) * kMinCellBytes <= static_cast<double>(size), "every cell has its bytes");
}

void CheckProject(const ProjectState& s) {
  Check(s.nsoluble == s.nreag + s.nspecies, "nsoluble");
  for (int j = 1; j <= s.nreag; ++j) Check(s.flag(j, kTitration), "titration totals are given");
  if (Cells(s) > kRoundTripCells || HasMarkup(s) || ProjectText(s).size() > kRoundTripBytes) return;
  CheckRoundTrip(s);
  CheckAddRemove(s);
}

}  // namespace tarn::fuzz

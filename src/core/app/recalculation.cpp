#include "core/app/recalculation.h"

#include "core/engine/new_concentrations.h"

namespace tarn {

Recalculation Recalculate(EditSession& edits, SolverWork& work, SeriesResults& results, MessageSink& sink,
                          bool always) {
  ProjectState& project = edits.Project();
  Recalculation outcome;
  outcome.check = ValidateConditions(project);
  if (!outcome.check.ok) {
    outcome.status = RecalcStatus::kRefused;
    return outcome;
  }
  if (!project.recalc && !always && results.ifail == kSuccess) return outcome;
  project.recalc = true;
  const bool converged = CalculatePoints(project, work, results, sink) == kSuccess;
  if (converged) project.recalc = false;
  outcome.status = converged ? RecalcStatus::kDone : RecalcStatus::kFailed;
  edits.Publish(Change::kNewResults);
  return outcome;
}

}  // namespace tarn

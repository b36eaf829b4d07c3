#pragma once
// The one recalculation of the program: the conditions are validated, the
// point series runs when the results are out of date, `recalc` is cleared
// when every point converged, and the windows hear of the new results
// (Change::kNewResults) through the edit session. The main window's
// commands, the points menu, the plot's Replot and the ionic-strength page
// all use it.

#include "core/engine/solver_work.h"
#include "core/model/edit_session.h"
#include "core/model/message_sink.h"
#include "core/model/model.h"

namespace tarn {

enum class RecalcStatus {
  kRefused,  // the validation refused the conditions (check says why; nothing was shown)
  kFailed,   // the series ran and a point failed (the engine's message was shown)
  kDone,     // the results are up to date
};

struct Recalculation {
  RecalcStatus status = RecalcStatus::kDone;
  Validation check;
  bool Done() const { return status == RecalcStatus::kDone; }
};

// `always` runs the series even when the results are up to date (a new
// point count).
Recalculation Recalculate(EditSession& edits, SolverWork& work, SeriesResults& results, MessageSink& sink,
                          bool always = false);

}  // namespace tarn

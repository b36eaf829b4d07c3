#pragma once
// Every change a chemist can make to the open project, as one operation
// each. An operation applies the change through the edit session (one undo
// step, named for the Edit menu), keeps the derived state right (captions,
// the proton, the counts, `modified` and `recalc`) and returns the flags of
// what it invalidated, which the session has published to every window.
// An operation that would change nothing returns Change::kNone and leaves no
// step. The windows call these; they never write the project themselves.
//
//   edit::SetLogBeta(edits, 2, 7.5);        // "log beta of CuL2"
//   edit::RenameReagent(edits, 1, "Cu");    // captions follow; the proton may move
//   edit::ScrollStep(edits, target, kConstantBar, 5, "drag");   // a drag is one step

#include <optional>
#include <string>
#include <string_view>

#include "core/model/changes.h"
#include "core/model/edit_session.h"
#include "core/plot/plot_actions.h"

namespace tarn::edit {

// ---- The model.
Change RenameReagent(EditSession& edits, int j, std::string_view name);
Change SetLogBeta(EditSession& edits, int i, double value);
// The coefficient is the largest integer not greater than `value`.
Change SetSpeciesCoefficient(EditSession& edits, int j, int i, double value);
// Refine key -1 ("ignore"), 0 or 1; ignoring a species (or no longer
// ignoring it) changes the results.
Change SetRefineKey(EditSession& edits, int i, int key);
Change SetLogKsp(EditSession& edits, int k, double value);
Change SetSolidCoefficient(EditSession& edits, int j, int k, double value);
// A species after the species of grid row `row`, a copy of it; `added`
// receives its number.
Change AddSpecies(EditSession& edits, int row, int* added = nullptr);
Change RemoveSpecies(EditSession& edits, int i);
Change AddSolid(EditSession& edits);
Change RemoveSolid(EditSession& edits, int k);
Change AddReagent(EditSession& edits);
Change RemoveReagent(EditSession& edits, int j);

// ---- The conditions.
Change SetCalculationType(EditSession& edits, int type);
Change SetTitle(EditSession& edits, std::string_view title);
// Titration: column 1 the total millimoles, column 2 the burette concentration.
Change SetTitrationCondition(EditSession& edits, int j, int column, double value);
// Distribution: columns 1 and 2 the initial and final concentration (the
// reagent is then given by its totals), 3 and 4 the start and final pX (given
// by pX). Without a value only the way the reagent is given changes.
Change SetDistributionCondition(EditSession& edits, int j, int column, std::optional<double> value);
// The initial volume of the titration with the window's added volume; the
// derived totals follow when the volume is not 0. Typing runs `run`.
Change SetInitialVolume(EditSession& edits, double volume, double addedVolume, std::string_view run = {});
// The added volume; the final volume and derived totals follow.
Change SetAddedVolume(EditSession& edits, double addedVolume, std::string_view run = {});

// The activity settings (correction, ionic strength, charges, ion sizes,
// background electrolyte, temperature) as a whole, one step named `what`
// ("charge of Cu"). Settings that cannot be calculated with change nothing:
// `problem` receives why, in the program's words.
Change SetActivity(EditSession& edits, const ActivitySettings& settings, std::string_view what,
                   std::string* problem = nullptr);

// ---- The plot.
// A step of a scroll bar on the target's constant or condition; the steps of
// one drag share `run`.
Change ScrollStep(EditSession& edits, const ScrollTarget& target, int bar, int value, std::string_view run = {});
Change SetCaption(EditSession& edits, int k, std::string_view caption, std::string_view run = {});
// The palette entry that species k is drawn in.
Change SetCurveColour(EditSession& edits, int k, Rgb colour);

// ---- The single data points.
Change AddSinglePoint(EditSession& edits);
Change RemoveSinglePoint(EditSession& edits, int p);
// Switches reagent j of point p between total given and pX given.
Change ToggleSinglePointGiven(EditSession& edits, int j, int p);
// The total (total row) or pX of reagent j at point p.
Change SetSinglePointValue(EditSession& edits, int j, int p, bool total, double value);

}  // namespace tarn::edit

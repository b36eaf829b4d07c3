// The edit operations of the project: what each changes and keeps right,
// what it invalidates, how its step is named, and that undo and redo walk
// the whole history back to a byte-identical saved file and forth again.

#include "core/app/project_edits.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/model/model.h"
#include "core/model/project_file.h"
#include "support/sample_series.h"
#include "support/temp_folder.h"

namespace tarn {
namespace {

// The project as the file holds it, and the colours the file does not hold.
std::string Picture(const ProjectState& s) {
  std::string colours;
  for (const Rgb& c : s.curveColours) colours += std::to_string(c.red) + "," + std::to_string(c.green) + ";";
  return ProjectText(s) + colours;
}

struct EditCase {
  std::string name;                            // the step's name
  std::function<Change(EditSession&)> apply;   // the edit
  Change expected;                             // flags it must include
  std::function<void(const ProjectState&)> check;  // what it changed and kept right
};

class ProjectEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    sample.Load("copper-glycine-titration.cld", 11);
    sample.state.recalc = false;
  }
  ProjectState& S() { return sample.state; }
  test::SampleSeries sample;
  EditSession edits{sample.state};
};

std::vector<EditCase> EveryKindOfEdit(const ProjectState& start) {
  const std::string cuGly = SpeciesFormula(start, 3);
  return {
      {"log beta of " + cuGly, [](EditSession& e) { return edit::SetLogBeta(e, 3, 8.25); },
       Change::kConstants | Change::kResults, [](const ProjectState& s) { EXPECT_EQ(s.logbeta(3), 8.25); }},
      {"coefficient of Gly in " + cuGly, [](EditSession& e) { return edit::SetSpeciesCoefficient(e, 2, 3, 2.7); },
       Change::kFormulas | Change::kResults,
       [](const ProjectState& s) {
         EXPECT_EQ(s.a(2, 3), 2);  // the largest integer not greater
         EXPECT_EQ(s.caption(s.nreag + 3), SpeciesFormula(s, 3));
       }},
      {"refine key of " + SpeciesFormula(start, 1), [](EditSession& e) { return edit::SetRefineKey(e, 1, kRefineIgnore); },
       Change::kConstants | Change::kResults, [](const ProjectState& s) { EXPECT_EQ(s.refine(1), kRefineIgnore); }},
      {"name of Gly", [](EditSession& e) { return edit::RenameReagent(e, 2, "  L "); }, Change::kNames,
       [](const ProjectState& s) {
         EXPECT_EQ(s.name(2), "L");
         EXPECT_EQ(s.caption(2), "L");
         for (int i = 1; i <= s.nspecies; ++i) EXPECT_EQ(s.caption(s.nreag + i), SpeciesFormula(s, i));
       }},
      {"new species", [](EditSession& e) { return edit::AddSpecies(e, 2); }, Change::kSpeciesAdded | Change::kResults,
       [n = start.nspecies](const ProjectState& s) { EXPECT_EQ(s.nspecies, n + 1); }},
      {"removal of LH", [](EditSession& e) { return edit::RemoveSpecies(e, 1); },  // named as it is now
       Change::kSpeciesRemoved | Change::kResults,
       [n = start.nspecies](const ProjectState& s) { EXPECT_EQ(s.nspecies, n); }},
      {"new solid", [](EditSession& e) { return edit::AddSolid(e); }, Change::kSolids,
       [](const ProjectState& s) { EXPECT_EQ(s.nsolids, 1); }},
      {"log Ksp of ", [](EditSession& e) { return edit::SetLogKsp(e, 1, -19.3); }, Change::kConstants | Change::kResults,
       [](const ProjectState& s) { EXPECT_EQ(s.logksp(1), static_cast<float>(-19.3)); }},
      {"coefficient of Cu in ", [](EditSession& e) { return edit::SetSolidCoefficient(e, 1, 1, 1); },
       Change::kFormulas | Change::kResults,
       [](const ProjectState& s) { EXPECT_EQ(s.caption(s.ntotal()), SolidName(s, 1)); }},
      {"removal of Cu", [](EditSession& e) { return edit::RemoveSolid(e, 1); }, Change::kSolids | Change::kResults,
       [](const ProjectState& s) { EXPECT_EQ(s.nsolids, 0); }},
      {"total millimoles of Cu", [](EditSession& e) { return edit::SetTitrationCondition(e, 1, 1, 0.125); },
       Change::kConditions | Change::kResults,
       [](const ProjectState& s) {
         EXPECT_EQ(s.total(1, kTitration), 0.125);
         EXPECT_DOUBLE_EQ(s.initial(1, kTitration), 0.125 / s.volume[kTitration]);
       }},
      {"initial volume", [](EditSession& e) { return edit::SetInitialVolume(e, 40, 10); },
       Change::kConditions | Change::kResults,
       [](const ProjectState& s) {
         EXPECT_EQ(s.vfinal, 50);
         EXPECT_DOUBLE_EQ(s.final(1, kTitration), (s.total(1, kTitration) + 10 * s.burette(1, kTitration)) / 50);
       }},
      {"added volume", [](EditSession& e) { return edit::SetAddedVolume(e, 12.5); }, Change::kConditions,
       [](const ProjectState& s) { EXPECT_EQ(s.vfinal, 52.5); }},
      {"title", [](EditSession& e) { return edit::SetTitle(e, " Copper and glycine "); }, Change::kTitle,
       [](const ProjectState& s) { EXPECT_EQ(s.title, "Copper and glycine"); }},
      {"new reagent", [](EditSession& e) { return edit::AddReagent(e); }, Change::kReagents | Change::kResults,
       [n = start.nreag](const ProjectState& s) { EXPECT_EQ(s.nreag, n + 1); }},
      {"removal of ", [](EditSession& e) { return edit::RemoveReagent(e, e.Project().nreag); },
       Change::kReagents | Change::kResults, [n = start.nreag](const ProjectState& s) { EXPECT_EQ(s.nreag, n); }},
      {"calculation type", [](EditSession& e) { return edit::SetCalculationType(e, kDistribution); },
       Change::kType | Change::kResults, [](const ProjectState& s) { EXPECT_EQ(s.type, kDistribution); }},
      {"start pX of Cu", [](EditSession& e) { return edit::SetDistributionCondition(e, 1, 3, 6.5); },
       Change::kConditions | Change::kResults,
       [](const ProjectState& s) {
         EXPECT_FALSE(s.flag(1, kDistribution));
         EXPECT_EQ(s.pxi(1, kDistribution), 6.5);
       }},
      {"how Cu is given", [](EditSession& e) { return edit::SetDistributionCondition(e, 1, 1, std::nullopt); },
       Change::kConditions | Change::kResults, [](const ProjectState& s) { EXPECT_TRUE(s.flag(1, kDistribution)); }},
      {"log beta of ", [](EditSession& e) { return edit::ScrollStep(e, ScrollTarget{2, 1, 1}, kConstantBar, 10); },
       Change::kConstants | Change::kResults, nullptr},
      {"Initial concentration of Cu",
       [](EditSession& e) { return edit::ScrollStep(e, ScrollTarget{1, 1, 1}, kConditionBar, 10); },
       Change::kConditions | Change::kResults, nullptr},
      {"caption of ", [](EditSession& e) { return edit::SetCaption(e, 5, "CuL+"); }, Change::kCaptions,
       [](const ProjectState& s) { EXPECT_EQ(s.caption(5), "CuL+"); }},
      {"colour of ", [](EditSession& e) { return edit::SetCurveColour(e, 5, Rgb{1, 2, 3}); }, Change::kCaptions,
       [](const ProjectState& s) { EXPECT_EQ(s.curveColours[5], (Rgb{1, 2, 3})); }},
      {"new single point", [](EditSession& e) { return edit::AddSinglePoint(e); }, Change::kSinglePoints,
       [n = start.nsingle](const ProjectState& s) { EXPECT_EQ(s.nsingle, n + 1); }},
      {"total of Cu at point 1", [](EditSession& e) { return edit::SetSinglePointValue(e, 1, 1, true, 0.02); },
       Change::kSinglePoints, [](const ProjectState& s) { EXPECT_EQ(s.stotal(1, 1), 0.02); }},
      {"how Cu is given at point 1", [](EditSession& e) { return edit::ToggleSinglePointGiven(e, 1, 1); },
       Change::kSinglePoints, nullptr},
      {"removal of single point 1", [](EditSession& e) { return edit::RemoveSinglePoint(e, 1); }, Change::kSinglePoints,
       [n = start.nsingle](const ProjectState& s) { EXPECT_EQ(s.nsingle, n); }},
  };
}

TEST_F(ProjectEdits, EveryEditIsOneNamedStepThatUndoesAndRedoesExactly) {
  std::vector<std::string> pictures{Picture(S())};
  for (const EditCase& c : EveryKindOfEdit(S())) {
    SCOPED_TRACE(c.name);
    const Change changes = c.apply(edits);
    EXPECT_TRUE(Has(changes, c.expected)) << static_cast<unsigned>(changes);
    EXPECT_EQ((changes & c.expected), c.expected);
    EXPECT_EQ(edits.UndoName().rfind(c.name, 0), 0u) << edits.UndoName();
    EXPECT_TRUE(S().modified);
    if (Has(changes, Change::kResults)) {
      EXPECT_TRUE(S().recalc);
    }
    if (c.check) c.check(S());
    const std::string after = Picture(S());
    EXPECT_NE(after, pictures.back());
    edits.Undo();
    EXPECT_EQ(Picture(S()), pictures.back());
    edits.Redo();
    EXPECT_EQ(Picture(S()), after);
    pictures.push_back(after);
  }
}

// The whole history undone gives the saved file byte for byte, and redone
// the last state again; the saved state clears `modified` on the way.
TEST_F(ProjectEdits, TheWholeHistoryRoundTripsToTheSavedFile) {
  testing::TempFolder folder;
  RecordingSink sink;
  const std::string path = folder / "saved.cld";
  ASSERT_TRUE(WriteProject(S(), path, sink));
  edits.Reset(true);
  const std::string saved = testing::ReadFile(path);
  int steps = 0;
  for (const EditCase& c : EveryKindOfEdit(S())) steps += c.apply(edits) != Change::kNone;
  EXPECT_EQ(edits.Steps(), static_cast<std::size_t>(steps));
  const std::string last = Picture(S());
  while (edits.CanUndo()) {
    EXPECT_TRUE(S().modified);
    edits.Undo();
  }
  EXPECT_FALSE(S().modified);
  ASSERT_TRUE(WriteProject(S(), path, sink));
  EXPECT_EQ(testing::ReadFile(path), saved);
  while (edits.CanRedo()) edits.Redo();
  EXPECT_EQ(Picture(S()), last);
  EXPECT_TRUE(S().modified);
}

TEST_F(ProjectEdits, EditsThatChangeNothingLeaveNoStep) {
  EXPECT_EQ(edit::SetLogBeta(edits, 1, S().logbeta(1)), Change::kNone);
  EXPECT_EQ(edit::RenameReagent(edits, 1, " Cu "), Change::kNone);
  EXPECT_EQ(edit::SetRefineKey(edits, 1, S().refine(1)), Change::kNone);
  EXPECT_EQ(edit::SetCalculationType(edits, S().type), Change::kNone);
  EXPECT_EQ(edit::SetLogBeta(edits, S().nspecies + 1, 3), Change::kNone);  // no such species
  EXPECT_EQ(edit::RemoveSpecies(edits, 0), Change::kNone);
  EXPECT_EQ(edit::ScrollStep(edits, ScrollTarget{}, kConstantBar, 0), Change::kNone);
  EXPECT_FALSE(edits.CanUndo());
  EXPECT_FALSE(S().modified);
}

// A name that makes another reagent the proton changes the results; one
// that does not, only the names.
TEST_F(ProjectEdits, ARenameMovesTheProtonAndItsResults) {
  ASSERT_EQ(S().proton, 3);
  EXPECT_EQ(edit::RenameReagent(edits, 1, "Copper"), Change::kNames);
  EXPECT_FALSE(S().recalc);
  EXPECT_TRUE(Has(edit::RenameReagent(edits, 3, "X"), Change::kResults));
  EXPECT_EQ(S().proton, 0);
  EXPECT_TRUE(S().recalc);
  edits.Undo();
  EXPECT_EQ(S().proton, 3);
}

// The refine key changes the results only when a species is ignored or no
// longer ignored.
TEST_F(ProjectEdits, OnlyIgnoringASpeciesChangesTheResults) {
  EXPECT_EQ(edit::SetRefineKey(edits, 1, 1), Change::kConstants);
  EXPECT_FALSE(S().recalc);
  EXPECT_TRUE(Has(edit::SetRefineKey(edits, 1, kRefineIgnore), Change::kResults));
}

// The steps of a scroll-bar drag and of typing into one box are one step each.
TEST_F(ProjectEdits, ADragAndARunOfTypingAreOneStepEach) {
  const double before = S().logbeta(2);
  for (int n = 0; n < 12; ++n) edit::ScrollStep(edits, ScrollTarget{2, 1, 1}, kConstantBar, 1, "bar");
  edits.EndRun();
  for (const char* typed : {"2", "25", "25.5"}) edit::SetInitialVolume(edits, std::stod(typed), 10, "box");
  EXPECT_EQ(edits.Steps(), 2u);
  EXPECT_EQ(S().volume[kTitration], 25.5);
  edits.Undo();
  edits.Undo();
  EXPECT_EQ(S().logbeta(2), before);
}

}  // namespace
}  // namespace tarn

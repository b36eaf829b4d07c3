#include "core/app/new_project.h"

#include <gtest/gtest.h>

#include <set>

#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/project_file.h"

namespace tarn {
namespace {

ProjectState Built(int nreag, int type, bool proton, const std::string& title = "t") {
  ProjectState s;
  s.npoints = 51;
  s.potentiometricData = "data of the project open before";
  s.nsolids = 4;
  EXPECT_FALSE(AcceptNewProject(s, {nreag, type, proton, title}, "/home/ann/data1").has_value());
  return s;
}

TEST(NewProject, ThreeReagentsTitrationWithProton) {
  ProjectState s = Built(3, kTitration, true);
  EXPECT_EQ((std::vector<std::string>{s.name(1), s.name(2), s.name(3)}), (std::vector<std::string>{"A", "B", "H"}));
  EXPECT_EQ(s.proton, 3);
  ASSERT_EQ(s.nspecies, 2);
  EXPECT_EQ(s.nsolids, 0);
  EXPECT_EQ(SpeciesFormula(s, 1), "ABH");
  EXPECT_EQ(s.caption(5), "H-1");
  EXPECT_FLOAT_EQ(s.logbeta(2), -13.77f);
  EXPECT_FLOAT_EQ(s.burette(3, kTitration), -0.1f);
  EXPECT_EQ(s.burette(1, kTitration), 0);
  EXPECT_FALSE(s.flag(3, kDistribution));
  // The amounts in 10 mL plus 2 mL of titrant that neutralises the protons.
  EXPECT_DOUBLE_EQ(s.final(1, kTitration), s.total(1, kTitration) / 12);
  EXPECT_NEAR(s.final(3, kTitration), 0, 1e-12);
  EXPECT_TRUE(s.modified && s.recalc);
  EXPECT_EQ(s.npoints, 51);
  EXPECT_TRUE(s.potentiometricData.empty());
  EXPECT_TRUE(ValidateConditions(s).ok);
  s.type = kDistribution;  // pH 3 to 9 makes the distribution calculable too
  EXPECT_TRUE(ValidateConditions(s).ok);
}

TEST(NewProject, TwoReagentsWithoutProtonAndTheFileName) {
  ProjectState s = Built(2, kDistribution, false, "Cu-glycine");
  ASSERT_EQ(s.nspecies, 1);
  EXPECT_EQ(s.caption(3), "AB");
  EXPECT_EQ(s.logbeta(1), 0);
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_EQ(s.proton, 0);
  EXPECT_EQ(s.title, "Cu-glycine");
  EXPECT_EQ(s.currentFile, "/home/ann/data1/Cu-glycine.cld");
  EXPECT_EQ(NewProjectPath("/d", "Cu/gly"), "/d/Cu-gly.cld");
  // The distribution sweeps the last reagent's total: it can be calculated.
  EXPECT_EQ(s.final(1, kDistribution), s.initial(1, kDistribution));
  EXPECT_FLOAT_EQ(s.final(2, kDistribution), 2 * s.initial(2, kDistribution));
  EXPECT_TRUE(ValidateConditions(s).ok);
}

// A new project is meant to calculate at once, whichever choices made it.
TEST(NewProject, EveryKindCalculatesAtOnce) {
  for (int nreag : {2, 3})
    for (int type : {kTitration, kDistribution})
      for (bool proton : {false, true}) {
        SCOPED_TRACE(testing::Message() << nreag << " reagents, type " << type << ", proton " << proton);
        ProjectState s = Built(nreag, type, proton);
        s.npoints = 21;
        ASSERT_TRUE(ValidateConditions(s).ok) << ValidateConditions(s).message;
        SolverWork work;
        SeriesResults results;
        RecordingSink sink;
        ASSERT_EQ(CalculatePoints(s, work, results, sink), kSuccess);
        EXPECT_TRUE(sink.messages.empty());
        // Something changes along the series: the first and last points differ.
        EXPECT_NE(results.speciesConc(nreag + 1, 1), results.speciesConc(nreag + 1, 21));
      }
}

TEST(NewProject, UntitledProjectIsRefusedAndNothingChanges) {
  ProjectState s;
  s.title = "open project";
  for (const char* title : {"???", "", "   "}) {
    std::optional<TitledMessage> refusal = AcceptNewProject(s, {3, kTitration, true, title}, "/d");
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->text, "Please enter a project title\rIt will also be the default name for the CLD file");
    EXPECT_EQ(refusal->title, "Saving new project");
    EXPECT_EQ(s.title, "open project");
  }
}

// Reagent 8 was once named "H", which made it the proton of a model made
// without one, and a second "H" beside the proton of a model made with one.
TEST(NewProject, ManyReagentsGetDistinctPlainNamesAndOnlyTheProtonIsOne) {
  for (bool proton : {false, true}) {
    ProjectState s = Built(999, kTitration, proton);
    std::set<std::string> names;
    for (int j = 1; j <= 999; ++j) {
      names.insert(s.name(j));
      for (char c : s.name(j)) ASSERT_TRUE(c >= 'A' && c <= 'Z') << j;
      EXPECT_EQ(IsProtonName(s.name(j)), proton && j == 999) << j;
    }
    EXPECT_EQ(names.size(), 999u);
    EXPECT_EQ(s.name(8), "I");
    EXPECT_EQ(s.proton, proton ? 999 : 0);
  }
}

TEST(NewProject, SavedAndReopenedIsTheSameProject) {
  for (bool proton : {false, true}) {
    ProjectState made = Built(4, kTitration, proton, "round trip"), back;
    RecordingSink sink;
    ASSERT_EQ(ReadProjectText(back, ProjectText(made), sink), ReadStatus::kOk);
    EXPECT_EQ(ProjectText(back), ProjectText(made));
    EXPECT_EQ(back.proton, made.proton);
    // The values the file does not hold are derived again as they were made.
    for (int j = 1; j <= made.nreag; ++j) EXPECT_EQ(back.final(j, kTitration), made.final(j, kTitration)) << j;
  }
}

}  // namespace
}  // namespace tarn

#pragma once
// A sample project read from samples/ and calculated, for the plot tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/new_concentrations.h"
#include "core/engine/solver_work.h"
#include "core/model/message_sink.h"
#include "core/model/project_file.h"
#include "core/model/project_state.h"

namespace tarn::test {

struct SampleSeries {
  ProjectState state;
  SolverWork work;
  SeriesResults results;

  // Reads samples/<fileName> and calculates it at the given point count.
  void Load(const std::string& fileName, int points = 101) {
    std::string text;
    RecordingSink sink;
    ASSERT_TRUE(ReadTextFile(std::string(TARN_SOURCE_DIR) + "/samples/" + fileName, text)) << fileName;
    ASSERT_EQ(ReadProjectText(state, text, sink), ReadStatus::kOk) << fileName;
    state.npoints = points;
    Calculate();
  }
  // The series again with an activity correction and the reagents' charges
  // (reagent j + 1 takes charges[j]).
  void CalculateWith(ActivityCorrection correction, const std::vector<int>& charges) {
    state.activity.correction = correction;
    for (std::size_t j = 0; j < charges.size(); ++j) state.activity.charge(static_cast<int>(j) + 1) = charges[j];
    Calculate();
  }
  void Calculate() {
    RecordingSink sink;
    ASSERT_EQ(CalculatePoints(state, work, results, sink), kSuccess) << (sink.messages.empty() ? "" : sink.messages[0]);
  }
  int Species(const std::string& caption) const {
    for (int k = 1; k <= state.ntotal(); ++k)
      if (state.caption(k) == caption) return k;
    ADD_FAILURE() << "no species " << caption;
    return 0;
  }
};

}  // namespace tarn::test

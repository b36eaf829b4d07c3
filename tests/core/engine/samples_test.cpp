// Every sample project of the repository calculates at 21, 101 and 1201 points
// with its mass balances and solubilities holding at every point.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine_checks.h"
#include "model/message_sink.h"
#include "model/model.h"
#include "model/project_file.h"

namespace tarn::test {
namespace {

std::vector<std::filesystem::path> SampleProjects() {
  std::vector<std::filesystem::path> paths;
  const std::filesystem::path folder = std::filesystem::path(TARN_SOURCE_DIR) / "samples";
  if (!std::filesystem::is_directory(folder)) return paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (entry.is_regular_file() && extension == ".cld") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(Samples, EverySampleCalculatesWithItsBalancesHolding) {
  const std::vector<std::filesystem::path> samples = SampleProjects();
  if (samples.empty()) GTEST_SKIP() << "no sample projects in samples/";
  for (const std::filesystem::path& path : samples) {
    ProjectState st;
    std::string text;
    RecordingSink sink;
    ASSERT_TRUE(ReadTextFile(path.string(), text)) << path;
    ASSERT_EQ(ReadProjectText(st, text, sink), ReadStatus::kOk) << path;
    ASSERT_TRUE(ValidateConditions(st).ok) << path << ": " << ValidateConditions(st).message;
    for (int points : {21, 101, 1201}) {
      st.npoints = points;
      SeriesRun run = RunSeries(st);
      ASSERT_EQ(run.ifail, kSuccess) << path << " at " << points << " points: " << run.messages.at(0);
      EXPECT_TRUE(run.messages.empty());
      EXPECT_TRUE(MassBalancesHold(st, run.results)) << path << " at " << points << " points";
      EXPECT_TRUE(SolubilitiesHold(st, run.results)) << path << " at " << points << " points";
    }
  }
}

}  // namespace
}  // namespace tarn::test

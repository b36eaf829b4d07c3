// tarn-bench: the engine's benchmarks, and the timing of a chemist's own
// project:
//   tarn-bench [benchmark options]          the series (a) to (f), 1201 points each,
//                                           and (d) and (f) with the ionic strength
//                                           calculated at every point
//   tarn-bench --project FILE.cld [--points N]
//                                           one line ending in "<x> us/point"
//                                           (the median of repeated runs)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "bench_models.h"
#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"

namespace {

using tarn::ProjectState;

// The processor time of this thread in seconds (the machine may be busy).
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Times series of a model; the counter "us/point" is the processor time per
// point in microseconds.
void RunSeries(benchmark::State& bm, const ProjectState& project) {
  tarn::SolverWork work;
  tarn::SeriesResults results;
  tarn::RecordingSink sink;
  if (tarn::CalculatePoints(project, work, results, sink) != tarn::kSuccess) {
    bm.SkipWithError(sink.messages.empty() ? "the series failed" : sink.messages.front().c_str());
    return;
  }
  double seconds = 0;
  for (auto _ : bm) {
    const double start = ThreadSeconds();
    tarn::CalculatePoints(project, work, results, sink);
    benchmark::DoNotOptimize(results.speciesConc.Row(1));
    seconds += ThreadSeconds() - start;
  }
  bm.counters["us/point"] = seconds * 1e6 / (static_cast<double>(bm.iterations()) * project.npoints);
  if (results.activity) bm.counters["solutions/point"] = static_cast<double>(work.strengthPasses) / project.npoints;
}

void BM_a_DiproticAcid(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::DiproticAcid());
}
void BM_b_CopperGlycine(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::CopperGlycine());
}
void BM_c_CopperGlycineTitration(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::CopperGlycineTitration());
}
void BM_d_SixReagents(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::SixReagents());
}
void BM_e_IronHydroxide(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::IronHydroxide());
}
void BM_f_ElevenReagentsTwoSolids(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::ElevenReagentsTwoSolids());
}

void BM_d_SixReagentsVariableStrength(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::SixReagentsVariableStrength());
}
void BM_f_ElevenReagentsVariableStrength(benchmark::State& bm) {
  RunSeries(bm, tarn::bench::ElevenReagentsVariableStrength());
}

BENCHMARK(BM_a_DiproticAcid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_b_CopperGlycine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_c_CopperGlycineTitration)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_d_SixReagents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_e_IronHydroxide)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_f_ElevenReagentsTwoSolids)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_d_SixReagentsVariableStrength)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_f_ElevenReagentsVariableStrength)->Unit(benchmark::kMicrosecond);

struct ProjectOptions {
  std::string path;
  int points = tarn::bench::kBenchPoints;
};

// Takes --project FILE and --points N out of the arguments; the rest go to
// the benchmark library. False on a bad value.
bool TakeProjectOptions(int& argc, char** argv, ProjectOptions& options) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--project" || arg == "--points") && i + 1 >= argc) return false;
    if (arg == "--project") {
      options.path = argv[++i];
    } else if (arg == "--points") {
      options.points = tarn::ParseInteger(argv[++i]);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return options.points >= 2;
}

// Times the project's series: the median processor time of at least 5 runs
// and of about half a second of runs.
int TimeProject(const ProjectOptions& options) {
  ProjectState project;
  tarn::RecordingSink sink;
  std::string text;
  if (!tarn::ReadTextFile(options.path, text) || tarn::ReadProjectText(project, text, sink) != tarn::ReadStatus::kOk) {
    std::cerr << "tarn-bench: cannot read the project " << options.path << "\n";
    return 2;
  }
  project.npoints = options.points;
  tarn::SolverWork work;
  tarn::SeriesResults results;
  std::vector<double> seconds;
  double total = 0;
  while (seconds.size() < 5 || (total < 0.5 && seconds.size() < 100000)) {
    const double start = ThreadSeconds();
    if (tarn::CalculatePoints(project, work, results, sink) != tarn::kSuccess) {
      std::cerr << "tarn-bench: " << sink.messages.back() << "\n";
      return 1;
    }
    seconds.push_back(ThreadSeconds() - start);
    total += seconds.back();
  }
  std::nth_element(seconds.begin(), seconds.begin() + static_cast<long>(seconds.size() / 2), seconds.end());
  const double median = seconds[seconds.size() / 2];
  std::cout << options.path << ":" << tarn::PlainText(options.points) << " points, "
            << tarn::FormatPattern(median * 1e3, "0.000", '.') << " ms per series, "
            << tarn::FormatPattern(median * 1e6 / options.points, "0.000", '.') << " us/point\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ProjectOptions options;
  if (!TakeProjectOptions(argc, argv, options)) {
    std::cerr << "usage: tarn-bench [--project FILE.cld [--points N]] [benchmark options]\n";
    return 2;
  }
  if (!options.path.empty()) return TimeProject(options);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

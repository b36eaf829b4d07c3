// Reading project files and old-format files: a sample, and files of at most
// 10 KB made to declare as many cells as such a file may (the largest arrays
// the readers accept from so few bytes) or far more (refused). Target: a file
// of at most 10 KB reads in under 0.1 s and 50 MB; the peak resident memory
// of the whole run is the counter peak_rss_mb.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "core/model/message_sink.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"

namespace {

using namespace tarn;

std::string Sample(const char* name) {
  std::string text;
  ReadTextFile(std::string(TARN_SOURCE_DIR "/samples/") + name, text);
  return text;
}

// A project file of exactly `bytes` bytes declaring the counts; the rest is
// blanks, as a damaged or hostile file may be.
std::string Declaring(int nreag, int nspecies, int nsingle, std::size_t bytes) {
  std::string text = "<calvor><model><reagents><number>" + std::to_string(nreag) +
                     "</number></reagents><betas><number>" + std::to_string(nspecies) +
                     "</number></betas></model><Tarn><type>1</type><single><number>" + std::to_string(nsingle) +
                     "</number></single></Tarn></calvor>";
  return text + std::string(bytes - text.size(), ' ');
}

// An old-format file of `bytes` bytes in the fixed layout declaring the counts.
std::string OldDeclaring(int nreag, int nspecies, int nsingle, std::size_t bytes) {
  auto field = [](int n) {
    std::string t = std::to_string(n);
    return std::string(5 - t.size(), ' ') + t;
  };
  std::string text = "x\r\n" + field(nreag) + field(nspecies) + field(0) + field(nsingle) + "\r\n";
  return bytes > text.size() ? text + std::string(bytes - text.size(), '\n') : text;
}

// Messages of refused files are not kept: a run refuses millions.
class NoSink : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return false; }
};

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

// Times a reader (the project file's or the old format's) on text.
template <typename Reader>
void Read(benchmark::State& state, Reader reader, const std::string& text, ReadStatus expected) {
  NoSink sink;
  for (auto _ : state) {
    ProjectState s;
    if (reader(s, text, sink) != expected) state.SkipWithError("unexpected status");
    benchmark::DoNotOptimize(s.nreag);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["peak_rss_mb"] = PeakRssMb();
}

void ReadProject(benchmark::State& state, const std::string& text, ReadStatus expected) {
  Read(state, ReadProjectText, text, expected);
}

void ReadOld(benchmark::State& state, const std::string& text, ReadStatus expected) {
  Read(state, ReadTrnText, text, expected);
}

void BM_ProjectSample(benchmark::State& state) {
  ReadProject(state, Sample("copper-glycine-titration.cld"), ReadStatus::kOk);
}
// One reagent, 830 species and 830 single points: about all 10 KB may declare.
void BM_Project10KbMostItMayDeclare(benchmark::State& state) {
  ReadProject(state, Declaring(1, 830, 830, 10240), ReadStatus::kOk);
}
// The 7 KB file that declared 7,000 reagents and 7,000 single points.
void BM_Project7KbDeclaring7000Squared(benchmark::State& state) {
  ReadProject(state, Declaring(7000, 1, 7000, 7000), ReadStatus::kRefused);
}
void BM_OldFormat10KbMostItMayDeclare(benchmark::State& state) {
  ReadOld(state, OldDeclaring(1, 830, 0, 10240), ReadStatus::kOk);  // empty lines: names and zeros
}
// The 25-byte old-format file that made a project of 79 MB.
void BM_OldFormat25BytesDeclaring999(benchmark::State& state) {
  ReadOld(state, OldDeclaring(999, 999, 999, 25), ReadStatus::kRefused);
}

BENCHMARK(BM_ProjectSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Project10KbMostItMayDeclare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Project7KbDeclaring7000Squared)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OldFormat10KbMostItMayDeclare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OldFormat25BytesDeclaring999)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

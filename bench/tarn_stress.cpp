// tarn-stress: solves many seeded random systems whose equilibrium is known
// (manufactured solutions: free concentrations and precipitated amounts chosen
// first, totals computed from them) with the point series, and reports how
// many converged, how many failed with the program's message, the worst error
// of the converged ones and how often the last guard refused a point that an
// iteration called converged. Exits with 1 when a converged system is wrong
// or a failure shows no message.
//
//   tarn-stress [--count N] [--seed S] [--points P] [--verbose]

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include "engine/new_concentrations.h"
#include "manufactured.h"
#include "model/message_sink.h"
#include "model/number_text.h"

namespace {

using tarn::FormatPattern;
using tarn::PlainText;

// A converged system whose free concentrations, species or amounts differ
// from the chosen ones by more than this (relative) is a wrong answer; the
// solver converges to about 1e-6 in the natural logs of the free
// concentrations.
constexpr double kWrongError = 1e-5;

struct Options {
  int count = 10000;
  int seed = 20240601;
  int points = 5;
  bool verbose = false;
};

struct Tally {
  int converged = 0;
  int convergedWithSolids = 0;
  int failedWithMessage = 0;
  int failedSilently = 0;
  int wrong = 0;
  int supersaturated = 0;
  double worstError = 0;
  std::int64_t guardRejections = 0;
  int systemsWithGuard = 0;
  std::map<std::string, int> failures;  // by message, numbers left out
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--count" && hasValue) {
      options.count = tarn::ParseInteger(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      options.seed = tarn::ParseInteger(argv[++i]);
    } else if (arg == "--points" && hasValue) {
      options.points = tarn::ParseInteger(argv[++i]);
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else {
      return false;
    }
  }
  return options.count > 0 && options.points >= 2;
}

// An inactive solid supersaturated at point p: the point is no equilibrium.
bool SupersaturatedSolid(const tarn::ProjectState& st, const tarn::SeriesResults& r, int p) {
  for (int s = 1; s <= st.nsolids; ++s) {
    if (r.speciesConc(st.nreag + st.nspecies + s, p) > 0) continue;
    double logIonProduct = 0;
    for (int j = 1; j <= st.nreag; ++j)
      if (st.sa(j, s) != 0) logIonProduct += st.sa(j, s) * std::log10(r.speciesConc(j, p));
    if (logIonProduct > st.logksp(s) + tarn::kSolubilityTolerance) return true;
  }
  return false;
}

// The message without its numbers, to count the failures by kind.
std::string MessageKind(const std::string& message) {
  const std::size_t at = message.find("at point");
  std::string kind = message.substr(0, at == std::string::npos ? message.size() : at + 8);
  const std::size_t code = kind.find("failed ");
  if (kind.find("(ppte)") != std::string::npos && code != std::string::npos) kind.erase(code + 7, 2);
  return kind;
}

void CountFailure(int index, const tarn::RecordingSink& sink, const Options& options, Tally& tally) {
  if (sink.messages.size() != 1) {
    ++tally.failedSilently;
    std::cout << "FAILED WITHOUT ONE MESSAGE: system" << PlainText(index) << "\n";
    return;
  }
  ++tally.failedWithMessage;
  ++tally.failures[MessageKind(sink.messages[0])];
  if (options.verbose) std::cout << "system" << PlainText(index) << ": " << sink.messages[0] << "\n";
}

void RunOne(int index, tarn::test::Random& random, const Options& options, Tally& tally) {
  tarn::test::ManufacturedOptions generate;
  generate.maxSolids = index % 2 == 1 ? 3 : 0;
  const tarn::test::ManufacturedSystem system = tarn::test::MakeManufactured(random, generate, options.points);
  tarn::SolverWork work;
  tarn::SeriesResults results;
  tarn::RecordingSink sink;
  const int ifail = tarn::CalculatePoints(system.state, work, results, sink);
  tally.guardRejections += work.guardRejections;
  tally.systemsWithGuard += work.guardRejections > 0 ? 1 : 0;
  if (ifail != tarn::kSuccess) return CountFailure(index, sink, options, tally);
  ++tally.converged;
  tally.convergedWithSolids += system.state.nsolids > 0 ? 1 : 0;
  const double error = tarn::test::ManufacturedError(system, results, options.points);
  if (error <= kWrongError) {
    if (error > tally.worstError) tally.worstError = error;
    return;
  }
  ++tally.wrong;
  const bool supersaturated = SupersaturatedSolid(system.state, results, options.points);
  tally.supersaturated += supersaturated ? 1 : 0;
  std::cout << "WRONG: system" << PlainText(index) << " converged with a relative error of" << PlainText(error)
            << (supersaturated ? ", a solid left supersaturated" : "") << "\n";
}

void Report(const Options& options, const Tally& t, double seconds) {
  std::cout << "systems:" << PlainText(options.count) << " (seed" << PlainText(options.seed) << ","
            << PlainText(options.points) << " points of the same conditions each; 2-8 reagents, up to 60 species, "
            << "every second system with up to 3 solids)\n"
            << "converged:" << PlainText(t.converged) << " (with solids:" << PlainText(t.convergedWithSolids) << ")\n"
            << "failed with a message:" << PlainText(t.failedWithMessage) << "\n";
  for (const auto& [kind, count] : t.failures) std::cout << " " << PlainText(count) << " x \"" << kind << "...\"\n";
  std::cout << "failed without a message:" << PlainText(t.failedSilently) << "\n"
            << "wrong answers reported as success:" << PlainText(t.wrong)
            << " (with a solid left supersaturated:" << PlainText(t.supersaturated) << ")\n"
            << "worst relative error of the converged systems: " << FormatPattern(t.worstError, "0.00E+00", '.') << "\n"
            << "last guard fired:" << PlainText(static_cast<double>(t.guardRejections)) << " times, in"
            << PlainText(t.systemsWithGuard) << " systems\n"
            << "time: " << FormatPattern(seconds, "0.00", '.') << " s\n";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: tarn-stress [--count N] [--seed S] [--points P] [--verbose]\n";
    return 2;
  }
  tarn::test::Random random(static_cast<std::uint64_t>(options.seed));
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < options.count; ++i) RunOne(i, random, options, tally);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  Report(options, tally, elapsed.count());
  return tally.wrong == 0 && tally.failedSilently == 0 ? 0 : 1;
}

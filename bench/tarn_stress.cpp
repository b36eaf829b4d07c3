// tarn-stress: solves many seeded random systems whose equilibrium is known
// at one point at least (manufactured solutions: free concentrations and
// precipitated amounts chosen first, totals computed from them), as three
// kinds of series: a distribution of the same conditions at every point, a
// distribution that sweeps the totals (the proton's through 0 too) or the pH
// away from the known point, and a titration that starts at the known point.
// Every point of every converged series is checked: its mass balances, every
// precipitated solid at its solubility product, no other solid
// supersaturated, and the known points against the chosen solution. Reports
// how many converged, how many failed with the program's message and how many
// converged to a wrong answer; exits with 1 when any converged series is wrong
// or a failure shows no message.
//
//   tarn-stress [--count N] [--seed S] [--points P] [--only I] [--verbose] [--activity]
//
// --activity makes every system a real solution (charges, a background
// electrolyte, the Davies or the extended Debye-Hueckel correction, constants
// given at a reference ionic strength; the ionic strength calculated at every
// point for three systems in four, fixed for the fourth) whose chosen
// equilibrium holds at its own ionic strength, over the narrower ranges; every
// point is then checked at its reported ionic strength as well, and that
// ionic strength against the point's own species.
// Without --points the systems take 2, 3, 5, 11 and 51 points in turn.
// --only I solves system I alone (the same system as in the whole run) and
// prints its model and conditions as a project file.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/engine/new_concentrations.h"
#include "core/model/message_sink.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"
#include "support/manufactured.h"
#include "support/model_builder.h"
#include "support/series_checks.h"

namespace {

using tarn::FormatPattern;
using tarn::PlainText;

// A converged system whose free concentrations, species or amounts at a known
// point differ from the chosen ones by more than this (relative), beyond what
// the rounding of the totals leaves undetermined, is a wrong answer.
constexpr double kWrongError = 1e-5;
constexpr std::array<int, 5> kPointCounts{2, 3, 5, 11, 51};
// With activity coefficients the equilibrium need not be unique: a real
// solution whose every point holds at its own ionic strength (the checks of
// series_checks.h) but whose known point lies at an ionic strength this far
// (relative) from the chosen one is another equilibrium, not a wrong answer.
constexpr double kOtherStrength = 1e-6;

enum class Kind { kSame, kSweep, kTitration };
constexpr std::array<const char*, 3> kKindNames{"same conditions", "distribution sweep", "titration"};

struct Options {
  int count = 10000;
  int seed = 20240601;
  int points = 0;  // 0: kPointCounts in turn
  int only = -1;
  bool verbose = false;
  bool activity = false;
};

struct Tally {
  std::array<int, 3> series{};
  int converged = 0;
  int convergedWithSolids = 0;
  int failedWithMessage = 0;
  int failedSilently = 0;
  int wrong = 0;
  int otherEquilibria = 0;  // converged real solutions at another ionic strength of their own
  std::int64_t pointsChecked = 0;
  double worstError = 0;
  double worstMisfit = 0;
  std::int64_t guardRejections = 0;     // converged iterations the last guard refused
  std::int64_t doubleSolidsSteps = 0;   // solids steps solved in double precision
  std::int64_t strengthPasses = 0;      // solutions at an ionic strength of their own
  std::int64_t pointsCalculated = 0;    // points of the converged series
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
      if (options.points < 2) return false;
    } else if (arg == "--only" && hasValue) {
      options.only = tarn::ParseInteger(argv[++i]);
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--activity") {
      options.activity = true;
    } else {
      return false;
    }
  }
  return options.count > 0;
}

// The largest total of the reagents other than the proton (reagent 1).
double LargestMetalTotal(const tarn::test::ManufacturedSystem& m) {
  double largest = 0;
  for (std::size_t j = 2; j < m.total.size(); ++j) largest = std::max(largest, std::fabs(m.total[j]));
  return largest;
}

// A distribution from the known point: every total but the proton's scaled by
// up to 30 times either way, the proton's total moved by up to 10 times the
// largest other total either way (often through 0), a given pH moved to 2..12.
void MakeSweep(tarn::test::ManufacturedSystem& m, tarn::test::Random& random) {
  tarn::ProjectState& st = m.state;
  for (int j = 1; j <= st.nreag; ++j) {
    if (!st.flag(j, 1)) {
      st.pxf(j, 1) = random.Uniform(2, 12);
    } else if (j == 1) {
      st.final(j, 1) = st.initial(j, 1) + random.Uniform(-10, 10) * LargestMetalTotal(m);
    } else {
      st.final(j, 1) = st.initial(j, 1) * std::pow(10.0, random.Uniform(-1.5, 1.5));
    }
  }
}

// A titration of 10 mL holding the known point's totals (the proton's total
// given even where the distribution fixed the pH); the titrant holds about
// half of the other reagents at up to 30 times their totals and acid or base.
void MakeTitration(tarn::test::ManufacturedSystem& m, tarn::test::Random& random, int points) {
  tarn::ProjectState& st = m.state;
  constexpr double kVolumeMl = 10;
  tarn::test::MakeTitration(st, kVolumeMl, kVolumeMl + random.Uniform(2, 20), points);
  for (int j = 1; j <= st.nreag; ++j) {
    const double total = m.total[static_cast<std::size_t>(j)];
    double burette = 0;
    if (j == 1)
      burette = random.Uniform(-30, 30) * LargestMetalTotal(m);
    else if (random.Integer(0, 1) == 1)
      burette = total * std::pow(10.0, random.Uniform(0, 1.5));
    tarn::test::SetTitrant(st, j, total * kVolumeMl, burette);
  }
}

void PrintProject(const tarn::ProjectState& state) {
  std::cout << tarn::ProjectText(state) << "\n";
}

// The chosen and the calculated concentrations at the first point.
void PrintComparison(const tarn::test::ManufacturedSystem& m, const tarn::SeriesResults& r) {
  const tarn::ProjectState& st = m.state;
  std::cout << "species: chosen, calculated at point 1\n";
  for (int k = 1; k <= st.ntotal(); ++k) {
    const int nr = st.nreag, ns = st.nspecies;
    const double chosen = k <= nr        ? m.free[static_cast<std::size_t>(k)]
                          : k <= nr + ns ? m.species[static_cast<std::size_t>(k - nr)]
                                         : m.amount[static_cast<std::size_t>(k - nr - ns)];
    std::cout << " " << st.caption(k) << ": " << FormatPattern(chosen, "0.000000E+00", '.') << " "
              << FormatPattern(r.speciesConc(k, 1), "0.000000E+00", '.') << "\n";
  }
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

// What is wrong with a converged series: a point that is no equilibrium, or
// a known point away from the chosen solution.
std::optional<std::string> Wrongness(const tarn::test::ManufacturedSystem& m, const tarn::SeriesResults& r, Kind kind,
                                     Tally& tally) {
  if (auto violation = tarn::test::SeriesViolation(m.state, r)) return violation;
  tally.pointsChecked += r.npoints;
  const int known = kind == Kind::kSame ? r.npoints : 1;
  for (int p = 1; p <= known; ++p) {
    const double misfit = tarn::test::ManufacturedMisfit(m, r, p, kWrongError);
    if (misfit > 1 && r.activity && std::fabs(r.ionicStrength(p) - m.strength) > kOtherStrength * m.strength) {
      ++tally.otherEquilibria;
      return std::nullopt;
    }
    if (misfit > 1)
      return "off the chosen solution by" + PlainText(misfit) + " times what the totals allow at point" + PlainText(p);
    tally.worstMisfit = std::max(tally.worstMisfit, misfit);
    tally.worstError = std::max(tally.worstError, tarn::test::ManufacturedError(m, r, p));
  }
  return std::nullopt;
}

void RunOne(int index, tarn::test::Random& random, const Options& options, Tally& tally) {
  tarn::test::ManufacturedOptions generate;
  generate.maxSolids = index % 2 == 1 ? 3 : 0;
  generate.hydroxide = true;
  generate.wide = !options.activity && index % 4 >= 2;
  const Kind kind = static_cast<Kind>((index / 2) % 3);
  const int points =
      options.points > 0 ? options.points : kPointCounts[static_cast<std::size_t>(index / 6) % kPointCounts.size()];
  tarn::test::ManufacturedSystem system = tarn::test::MakeManufactured(random, generate, points);
  if (options.activity)
    tarn::test::MakeRealSolution(
        system, random, index % 2 == 0 ? tarn::ActivityCorrection::kDavies : tarn::ActivityCorrection::kDebyeHuckel,
        index % 4 == 3);
  if (kind == Kind::kSweep) MakeSweep(system, random);
  if (kind == Kind::kTitration) MakeTitration(system, random, points);
  if (options.only >= 0 && index != options.only) return;
  if (options.only >= 0) PrintProject(system.state);
  ++tally.series[static_cast<std::size_t>(kind)];
  tarn::SolverWork work;
  tarn::SeriesResults results;
  tarn::RecordingSink sink;
  const int ifail = tarn::CalculatePoints(system.state, work, results, sink);
  tally.guardRejections += work.guardRejections;
  tally.doubleSolidsSteps += work.doubleSolidsSteps;
  if (ifail != tarn::kSuccess) return CountFailure(index, sink, options, tally);
  tally.strengthPasses += work.strengthPasses;
  tally.pointsCalculated += results.npoints;
  if (options.only >= 0) PrintComparison(system, results);
  ++tally.converged;
  tally.convergedWithSolids += system.state.nsolids > 0 ? 1 : 0;
  if (auto wrong = Wrongness(system, results, kind, tally)) {
    ++tally.wrong;
    std::cout << "WRONG: system" << PlainText(index) << " (" << kKindNames[static_cast<std::size_t>(kind)] << ","
              << PlainText(points) << " points): " << *wrong << "\n";
  }
}

void Report(const Options& options, const Tally& t, double seconds) {
  std::cout << "systems:" << PlainText(options.count) << " (seed" << PlainText(options.seed) << "; "
            << (options.points > 0 ? std::string(PlainText(options.points)).substr(1) : std::string("2, 3, 5, 11, 51"))
            << " points; 2-8 reagents, up to 60 species and OH, every second system with up to 3 solids, "
            << (options.activity ? "real solutions over the narrow ranges)\n"
                                 : "every second pair over the wide ranges)\n");
  for (std::size_t k = 0; k < kKindNames.size(); ++k)
    std::cout << " " << PlainText(t.series[k]) << " x " << kKindNames[k] << "\n";
  std::cout << "converged:" << PlainText(t.converged) << " (with solids:" << PlainText(t.convergedWithSolids)
            << "), every point checked:" << PlainText(static_cast<double>(t.pointsChecked)) << " points\n"
            << "failed with a message:" << PlainText(t.failedWithMessage) << "\n";
  for (const auto& [kind, count] : t.failures) std::cout << " " << PlainText(count) << " x \"" << kind << "...\"\n";
  std::cout << "failed without a message:" << PlainText(t.failedSilently) << "\n"
            << "wrong answers reported as success:" << PlainText(t.wrong) << "\n"
            << (options.activity
                    ? "another equilibrium at another ionic strength of its own:" + PlainText(t.otherEquilibria) + "\n"
                    : std::string())
            << "worst relative error at the known points: " << FormatPattern(t.worstError, "0.00E+00", '.')
            << " (at most" << PlainText(t.worstMisfit) << " times what the totals allow)\n"
            << "last guard refused a converged iteration:" << PlainText(static_cast<double>(t.guardRejections))
            << " times; solids steps solved in double precision:" << PlainText(static_cast<double>(t.doubleSolidsSteps))
            << "\n"
            << (options.activity
                    ? "solutions per point at an ionic strength of their own: " +
                          FormatPattern(static_cast<double>(t.strengthPasses) /
                                            static_cast<double>(std::max<std::int64_t>(t.pointsCalculated, 1)),
                                        "0.00", '.') +
                          "\n"
                    : std::string())
            << "time: " << FormatPattern(seconds, "0.00", '.') << " s\n";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: tarn-stress [--count N] [--seed S] [--points P (at least 2)] [--only I] [--verbose] "
                 "[--activity]\n";
    return 2;
  }
  tarn::test::Random random(static_cast<std::uint64_t>(options.seed));
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  if (options.only >= 0) {
    options.count = options.only + 1;
    options.verbose = true;
  }
  for (int i = 0; i < options.count; ++i) RunOne(i, random, options, tally);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  Report(options, tally, elapsed.count());
  return tally.wrong == 0 && tally.failedSilently == 0 ? 0 : 1;
}

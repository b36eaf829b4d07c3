// The sample projects shipped in samples/: each reads without a message, is
// stored exactly as the program writes it, and calculates in its own type at
// 21, 101 and 1201 points and in the other type at 101 points, its mass
// balances and solubilities holding at every point and its chemistry within
// loose bounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/engine_checks.h"
#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"

namespace tarn::test {
namespace {

namespace fs = std::filesystem;

struct Sample {
  std::string fileName;
  std::string text;
  ProjectState state;
};

// Every .cld file of the samples folder, read once, in file-name order.
const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(fs::path(TARN_SOURCE_DIR) / "samples"))
      if (entry.is_regular_file() && entry.path().extension() == ".cld") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<Sample> out;
    for (const fs::path& path : paths) {
      Sample s{path.filename().string(), "", {}};
      RecordingSink sink;
      EXPECT_TRUE(ReadTextFile(path.string(), s.text)) << path;
      EXPECT_EQ(ReadProjectText(s.state, s.text, sink), ReadStatus::kOk) << s.fileName;
      EXPECT_TRUE(sink.messages.empty()) << s.fileName;
      out.push_back(std::move(s));
    }
    return out;
  }();
  return samples;
}

TEST(Samples, EachIsStoredAsTheProgramWritesItAndTellsItsSpeciesApart) {
  ASSERT_GE(Samples().size(), 8u);  // a missing folder would pass the loops on nothing
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.fileName);
    // Saving an unchanged sample must not change a byte.
    EXPECT_EQ(ProjectText(s.state), s.text);
    EXPECT_NE(s.state.proton, 0) << "every sample is a system in water";
    // A species entered twice would count twice in every balance; plots and
    // tables tell the species apart by their captions.
    std::set<std::string> formulas, captions;
    for (int i = 1; i <= s.state.nspecies; ++i)
      EXPECT_TRUE(formulas.insert(SpeciesFormula(s.state, i)).second) << SpeciesFormula(s.state, i);
    for (int k = 1; k <= s.state.ntotal(); ++k)
      EXPECT_TRUE(captions.insert(std::string(Trim(s.state.caption(k)))).second) << s.state.caption(k);
  }
}

// What a sample is shipped to show, from the chemistry rather than from
// earlier runs: the concentration of a species at the point nearest a pH, or
// at a point (kLast for the last), lies within [low, high].
constexpr int kLast = -1;
struct Bound {
  const char* file;
  const char* caption;
  double pH;
  int point;
  double low, high;
};
const Bound kBounds[] = {
    {"phosphoric-acid.cld", "H2PO4", 4.4, 0, 0.97e-3, 1},
    {"phosphoric-acid.cld", "HPO4", 9.2, 0, 0.97e-3, 1},
    {"copper-glycine-distribution.cld", "Cu", 0, 1, 0.95e-3, 1},
    {"copper-glycine-distribution.cld", "CuGly", 4.8, 0, 0.5e-3, 1},
    {"copper-glycine-distribution.cld", "CuGly2", 0, kLast, 0.99e-3, 1},
    {"copper-glycine-titration.cld", "H", 0, 1, 1e-3, 1},      // below pH 3 at the start
    {"copper-glycine-titration.cld", "H", 0, kLast, 0, 1e-9},  // above pH 9 at the end
    {"copper-ammonia.cld", "Cu(OH)2(s)", 0, 1, 0.9e-3, 1},     // the solid holds the copper without ammonia
    {"copper-ammonia.cld", "Cu(OH)2(s)", 0, 10, 0.9e-3, 1},    // and at little ammonia
    {"copper-ammonia.cld", "Cu(OH)2(s)", 0, kLast, 0, 0},      // and is gone at 0.2 M
    {"iron-hydroxide.cld", "Fe(OH)3(s)", 2.2, 0, 0, 0},        // dissolved below pH 2.3
    {"iron-hydroxide.cld", "Fe(OH)3(s)", 3.5, 0, 0.99e-3, 1},  // all solid from pH 3.5
    {"iron-hydroxide.cld", "Fe(OH)4", 0, kLast, 0, 1e-6},
    {"calcium-edta.cld", "Ca", 0, 1, 0.95e-3, 1},
    {"calcium-edta.cld", "CaY", 7, 0, 0.98e-3, 1},
    {"calcium-carbonate.cld", "CaCO3(s)", 8, 0, 0, 0},
    {"calcium-carbonate.cld", "CaCO3(s)", 0, kLast, 0.5e-3, 1},
    {"calcium-carbonate.cld", "H2CO3", 0, 1, 0.95e-3, 1},
    {"silver-chloride-chromate.cld", "AgCl(s)", 0, 2, 5e-4, 1},       // from the first drop
    {"silver-chloride-chromate.cld", "Ag2CrO4(s)", 0, 81, 0, 0},      // none at 12 mL
    {"silver-chloride-chromate.cld", "Ag2CrO4(s)", 0, kLast, 1e-3, 1},  // red past the end point
};

int ExpectBounds(const Sample& sample, const ProjectState& st, const SeriesResults& r) {
  int checked = 0;
  for (const Bound& b : kBounds) {
    if (sample.fileName != b.file) continue;
    int p = b.point == kLast ? st.npoints : b.point;
    for (int q = 1; b.point == 0 && q <= st.npoints; ++q)
      if (p == 0 || std::fabs(r.pH(q) - b.pH) < std::fabs(r.pH(p) - b.pH)) p = q;
    int k = 1;
    while (k <= st.ntotal() && st.caption(k) != b.caption) ++k;
    if (k > st.ntotal()) {
      ADD_FAILURE() << "no species " << b.caption << " in " << b.file;
      continue;
    }
    EXPECT_GE(r.speciesConc(k, p), b.low) << b.caption << " at point " << p;
    EXPECT_LE(r.speciesConc(k, p), b.high) << b.caption << " at point " << p;
    ++checked;
  }
  return checked;
}

TEST(Samples, EachCalculatesWithItsBalancesSolubilitiesAndChemistryHolding) {
  int bounds = 0;
  for (const Sample& s : Samples()) {
    const int own = s.state.type, other = own == kTitration ? kDistribution : kTitration;
    for (auto [type, points] : {std::pair{own, 21}, {own, 101}, {own, 1201}, {other, 101}}) {
      SCOPED_TRACE(s.fileName + " type " + std::to_string(type) + " at " + std::to_string(points) + " points");
      ProjectState st = s.state;
      st.type = type;
      st.npoints = points;
      ASSERT_TRUE(ValidateConditions(st).ok) << ValidateConditions(st).message;
      SeriesRun run = RunSeries(st);
      ASSERT_EQ(run.ifail, kSuccess) << run.messages.at(0);
      EXPECT_TRUE(run.messages.empty());
      EXPECT_TRUE(MassBalancesHold(st, run.results));
      EXPECT_TRUE(SolubilitiesHold(st, run.results));
      if (type == own && points == 101) bounds += ExpectBounds(s, st, run.results);
    }
  }
  EXPECT_EQ(bounds, static_cast<int>(std::size(kBounds)));  // no bound names a missing sample
}

}  // namespace
}  // namespace tarn::test

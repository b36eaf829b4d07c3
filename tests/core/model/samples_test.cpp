// The sample projects shipped in samples/: each one must open without a
// message, be stored exactly as the program writes it, be ready to calculate
// in both calculation types, survive the sample store, and together they must
// show the program's range (pH distributions, titrations with a base, solids,
// models for conditional constants).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/new_concentrations.h"
#include "engine/solver_work.h"
#include "model/message_sink.h"
#include "model/model.h"
#include "model/number_text.h"
#include "model/project_file.h"

namespace tarn {
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
    std::vector<Sample> out;
    fs::path folder = fs::path(TARN_SOURCE_DIR) / "samples";
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file() && entry.path().extension() == ".cld") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths) {
      Sample s;
      s.fileName = path.filename().string();
      if (!ReadTextFile(path.string(), s.text)) ADD_FAILURE() << "cannot read " << path;
      RecordingSink sink;
      if (ReadProjectText(s.state, s.text, sink) != ReadStatus::kOk) ADD_FAILURE() << s.fileName << " refused";
      for (const std::string& m : sink.messages) ADD_FAILURE() << s.fileName << ": " << m;
      out.push_back(std::move(s));
    }
    return out;
  }();
  return samples;
}

// A species as a chemist would name it: the reagent names with their
// coefficients, independent of the order of the reagents in the model.
std::map<std::string, int> Composition(const ProjectState& s, int i) {
  std::map<std::string, int> out;
  for (int j = 1; j <= s.nreag; ++j)
    if (s.a(j, i) != 0) out[std::string(Trim(s.name(j)))] = s.a(j, i);
  return out;
}

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  auto line = [&](const std::string& t) {
    std::string l = t.substr(lineStart, t.find('\n', lineStart) - lineStart);
    std::string shown;
    for (char c : l) shown += c == '\r' ? std::string("\\r") : std::string(1, c);
    return shown;
  };
  return "file: " + line(expected) + "\nwritten: " + line(actual);
}

// Guards every loop below: a missing or moved folder would make them pass on nothing.
TEST(Samples, TheFolderHoldsTheSampleSet) {
  EXPECT_GE(Samples().size(), 7u);
}

TEST(Samples, EachReadsCleanlyAndIsStoredAsTheProgramWritesIt) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.fileName);
    EXPECT_FALSE(TarnSectionEmpty(s.text));
    // Saving an unchanged sample must not change a byte: number forms, line
    // ends and captions are those of the writer.
    std::string written = ProjectText(s.state);
    EXPECT_TRUE(written == s.text) << FirstDifference(s.text, written);
    EXPECT_FALSE(Trim(s.state.title).empty());
    EXPECT_NE(s.state.proton, 0) << "every sample is a system in water";
  }
}

TEST(Samples, ModelsAreWellFormed) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.fileName);
    const ProjectState& p = s.state;
    ASSERT_GE(p.nreag, 2);
    std::set<std::string> names;
    for (int j = 1; j <= p.nreag; ++j) {
      EXPECT_FALSE(Trim(p.name(j)).empty());
      EXPECT_TRUE(names.insert(Upper(Trim(p.name(j)))).second) << "reagent named twice: " << p.name(j);
    }
    // A species entered twice would be counted twice in every mass balance.
    std::set<std::map<std::string, int>> compositions;
    for (int i = 1; i <= p.nspecies; ++i) {
      SCOPED_TRACE(SpeciesFormula(p, i));
      std::map<std::string, int> c = Composition(p, i);
      EXPECT_FALSE(c.empty());
      EXPECT_TRUE(compositions.insert(c).second) << "species entered twice";
      EXPECT_NE(p.refine(i), kRefineIgnore) << "a shipped constant left out of the calculation";
      // A species that is a single reagent with coefficient 1 is the free reagent itself.
      EXPECT_FALSE(c.size() == 1 && c.begin()->second == 1);
    }
    for (int k = 1; k <= p.nsolids; ++k) {
      bool any = false;
      for (int j = 1; j <= p.nreag; ++j) any = any || p.sa(j, k) != 0;
      EXPECT_TRUE(any) << "solid " << k << " has no reagent";
    }
    // Plots and tables tell the species apart by their captions.
    std::set<std::string> captions;
    for (int k = 1; k <= p.ntotal(); ++k) {
      EXPECT_FALSE(Trim(p.caption(k)).empty());
      EXPECT_TRUE(captions.insert(std::string(Trim(p.caption(k)))).second) << "caption twice: " << p.caption(k);
    }
  }
}

TEST(Samples, BothCalculationTypesAreReadyToRun) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.fileName);
    for (int type : {kTitration, kDistribution}) {
      ProjectState p = s.state;
      p.type = type;
      Validation v = ValidateConditions(p);
      EXPECT_TRUE(v.ok) << "type " << type << ": " << v.message;
    }
    const ProjectState& p = s.state;
    for (int j = 1; j <= p.nreag; ++j) {
      SCOPED_TRACE(p.name(j));
      EXPECT_GE(p.total(j, 0), 0) << "a negative amount in the vessel";
      // Only the proton may be negative: a strong base as a negative proton concentration.
      if (j != p.proton) {
        EXPECT_GE(p.burette(j, 0), 0);
      }
      if (p.flag(j, 1)) {
        EXPECT_GE(p.initial(j, 1), 0);
        EXPECT_GE(p.final(j, 1), 0);
      } else if (j == p.proton) {
        for (double pH : {p.pxi(j, 1), p.pxf(j, 1)}) {
          EXPECT_GT(pH, 0);
          EXPECT_LT(pH, 14);
        }
      }
    }
  }
}

TEST(Samples, ConstantsAgreeAcrossSamples) {
  // The sample set uses one set of constants: a species that occurs in two
  // samples (the hydroxide ion, CuOH, a ligand's protonation) has one log beta.
  std::map<std::map<std::string, int>, std::pair<double, std::string>> seen;
  for (const Sample& s : Samples()) {
    for (int i = 1; i <= s.state.nspecies; ++i) {
      auto c = Composition(s.state, i);
      auto [it, fresh] = seen.emplace(c, std::make_pair(s.state.logbeta(i), s.fileName));
      if (!fresh) {
        EXPECT_EQ(it->second.first, s.state.logbeta(i))
            << SpeciesFormula(s.state, i) << " in " << s.fileName << " and " << it->second.second;
      }
    }
  }
}

TEST(Samples, SurviveTheSampleStore) {
  // The store file keeps all samples one after the other, each behind a header
  // line "*" + path; restoring copies the lines up to the next line holding a
  // "*" and finds a sample by the first line that contains its file name.
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.fileName);
    EXPECT_TRUE(s.text.find('*') == std::string::npos) << "a '*' would cut the restored file short";
    for (const Sample& other : Samples()) {
      if (&other == &s) continue;
      EXPECT_TRUE(other.fileName.find(s.fileName) == std::string::npos) << "restoring would pick " << other.fileName;
      EXPECT_TRUE(other.text.find(s.fileName) == std::string::npos) << "mentioned in " << other.fileName;
    }
  }
}

TEST(Samples, CoverWhatTheProgramCanDo) {
  bool pHDistribution = false;            // a distribution over a pH range
  bool baseTitration = false;             // a titration with a strong base in the burette
  bool solidOverPh = false;               // a solid in a distribution over pH
  bool totalAtFixedPh = false;            // a total that runs at fixed pH
  bool threeReagents = false;             // a model for conditional constants
  bool titrationAndDistribution = false;  // one model shipped as both calculation types
  std::map<std::string, std::set<int>> typesOfModel;
  for (const Sample& s : Samples()) {
    const ProjectState& p = s.state;
    int h = p.proton;
    bool pHRuns = h != 0 && !p.flag(h, 1) && p.pxi(h, 1) != p.pxf(h, 1);
    if (p.type == kDistribution && pHRuns) pHDistribution = true;
    if (p.type == kTitration && h != 0 && p.burette(h, 0) < 0) baseTitration = true;
    if (p.type == kDistribution && pHRuns && p.nsolids > 0) solidOverPh = true;
    if (p.type == kDistribution && h != 0 && !p.flag(h, 1) && p.pxi(h, 1) == p.pxf(h, 1))
      for (int j = 1; j <= p.nreag; ++j)
        if (p.flag(j, 1) && p.initial(j, 1) != p.final(j, 1)) totalAtFixedPh = true;
    if (p.nreag >= 3) threeReagents = true;
    // The model part of the file (everything before the Tarn section but the title).
    std::string model = GetElement("betas", s.text) + GetElement("reagents", s.text);
    typesOfModel[model].insert(p.type);
  }
  for (const auto& [model, types] : typesOfModel)
    titrationAndDistribution = titrationAndDistribution || types.size() == 2;
  EXPECT_TRUE(pHDistribution);
  EXPECT_TRUE(baseTitration);
  EXPECT_TRUE(solidOverPh);
  EXPECT_TRUE(totalAtFixedPh);
  EXPECT_TRUE(threeReagents);
  EXPECT_TRUE(titrationAndDistribution);
}

// One calculated series of a sample.
struct Series {
  ProjectState state;
  SeriesResults results;
  std::vector<std::string> messages;
  int ifail = 0;

  // Species k of the species list by its caption; 0 when there is none.
  int Species(const std::string& caption) const {
    for (int k = 1; k <= state.ntotal(); ++k)
      if (state.caption(k) == caption) return k;
    ADD_FAILURE() << "no species " << caption << " in " << state.title;
    return 0;
  }
  double Conc(const std::string& caption, int p) const {
    int k = Species(caption);
    return k == 0 ? 0 : results.speciesConc(k, p);
  }
  // The point whose pH is closest to pH.
  int PointAt(double pH) const {
    int best = 1;
    for (int p = 1; p <= state.npoints; ++p)
      if (std::fabs(results.pH(p) - pH) < std::fabs(results.pH(best) - pH)) best = p;
    return best;
  }
};

Series Calculate(const Sample& sample, int type, int npoints = 101) {
  Series out;
  out.state = sample.state;
  out.state.type = type;
  out.state.npoints = npoints;
  SolverWork work;
  RecordingSink sink;
  out.ifail = CalculatePoints(out.state, work, out.results, sink);
  out.messages = sink.messages;
  return out;
}

const Sample& Named(const std::string& fileName) {
  for (const Sample& s : Samples())
    if (s.fileName == fileName) return s;
  static const Sample none;
  ADD_FAILURE() << fileName << " is missing";
  return none;
}

TEST(Samples, EachCalculatesInBothTypesAndKeepsItsMassBalances) {
  for (const Sample& s : Samples()) {
    for (int type : {kTitration, kDistribution}) {
      SCOPED_TRACE(s.fileName + (type == kTitration ? " titration" : " distribution"));
      Series r = Calculate(s, type);
      ASSERT_EQ(r.ifail, kSuccess);
      EXPECT_TRUE(r.messages.empty());
      for (int p = 1; p <= r.state.npoints; ++p) {
        for (int j = 1; j <= r.state.nreag; ++j) {
          if (type == kDistribution && !r.state.flag(j, 1)) continue;
          double set = r.results.totalSet(p, j);
          EXPECT_NEAR(r.results.totalCalc(p, j), set, 1e-6 * std::fabs(set) + 1e-15)
              << "point " << p << " " << r.state.name(j);
        }
        EXPECT_GE(r.results.pH(p), 1 - 1e-9);
        EXPECT_LE(r.results.pH(p), 13 + 1e-9);
      }
    }
  }
}

// What each sample is shipped to show, as its notes describe it, from the
// chemistry rather than from earlier runs: loose bounds that a wrong constant,
// a wrong sign or a wrong condition would break.
TEST(Samples, ShowTheirChemistry) {
  {
    Series r = Calculate(Named("phosphoric-acid.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    // Near pH 4.4 and 9.2 one form holds nearly all the phosphate; at pH 7 the
    // two middle forms share it.
    EXPECT_GT(r.Conc("H2PO4", r.PointAt(4.4)), 0.97e-3);
    EXPECT_GT(r.Conc("HPO4", r.PointAt(9.2)), 0.97e-3);
    int p7 = r.PointAt(7);
    EXPECT_GT(r.Conc("HPO4", p7), r.Conc("H2PO4", p7));
    EXPECT_LT(r.Conc("HPO4", p7), 3 * r.Conc("H2PO4", p7));
  }
  {
    Series r = Calculate(Named("copper-glycine-distribution.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    EXPECT_GT(r.Conc("Cu", 1), 0.95e-3);
    EXPECT_GT(r.Conc("CuGly", r.PointAt(4.8)), 0.5e-3);
    EXPECT_GT(r.Conc("CuGly2", r.state.npoints), 0.99e-3);
  }
  {
    Series r = Calculate(Named("copper-glycine-titration.cld"), kTitration);
    ASSERT_EQ(r.ifail, kSuccess);
    EXPECT_LT(r.results.pH(1), 3);
    EXPECT_GT(r.results.pH(r.state.npoints), 9);
    // Below the pH at which Cu(OH)2 becomes supersaturated: log([Cu][H]^-2) < 8.88.
    for (int p = 1; p <= r.state.npoints; ++p)
      EXPECT_LT(std::log10(r.Conc("Cu", p)) + 2 * r.results.pH(p), 8.88) << "point " << p;
  }
  {
    Series r = Calculate(Named("copper-ammonia.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    int n = r.state.npoints;
    // The solid holds the copper at little ammonia and is gone at 0.2 M.
    EXPECT_GT(r.Conc("Cu(OH)2(s)", n / 10), 0.9e-3);
    EXPECT_EQ(r.Conc("Cu(OH)2(s)", n), 0);
    EXPECT_GT(r.Conc("Cu(NH3)3", n) + r.Conc("Cu(NH3)4", n), 0.9e-3);
    EXPECT_GT(r.Conc("NH4", n), r.Conc("NH3", n));
  }
  {
    Series r = Calculate(Named("iron-hydroxide.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    // Dissolved below pH 2.3, all solid from pH 3.5 on.
    for (int p = 1; p <= r.PointAt(2.2); ++p) EXPECT_EQ(r.Conc("Fe(OH)3(s)", p), 0);
    for (int p = r.PointAt(3.5); p <= r.state.npoints; ++p) EXPECT_GT(r.Conc("Fe(OH)3(s)", p), 0.99e-3);
    EXPECT_LT(r.Conc("Fe(OH)4", r.state.npoints), 1e-6);
  }
  {
    Series r = Calculate(Named("calcium-edta.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    EXPECT_GT(r.Conc("Ca", 1), 0.95e-3);
    for (int p = r.PointAt(7); p <= r.state.npoints; ++p) EXPECT_GT(r.Conc("CaY", p), 0.98e-3);
  }
  {
    Series r = Calculate(Named("calcium-carbonate.cld"), kDistribution);
    ASSERT_EQ(r.ifail, kSuccess);
    EXPECT_EQ(r.Conc("CaCO3(s)", r.PointAt(8)), 0);
    EXPECT_GT(r.Conc("CaCO3(s)", r.state.npoints), 0.5e-3);
    EXPECT_GT(r.Conc("H2CO3", 1), 0.95e-3);
  }
}

}  // namespace
}  // namespace tarn

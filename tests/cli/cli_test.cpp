// Runs the built tarn-cli on small projects written by the test and checks
// its output against the chemistry: mass balances, formation constants and
// closed forms, exit statuses and file conversion.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/message_sink.h"
#include "model/model.h"
#include "model/project_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

Strings Split(const std::string& text, char separator) {
  Strings parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

double Number(const std::string& field) {
  char* end = nullptr;
  double x = std::strtod(field.c_str(), &end);
  EXPECT_TRUE(!field.empty() && *end == '\0') << "not a number: '" << field << "'";
  return x;
}

// Relative agreement of a balance: |x - y| within tol of the magnitudes.
void ExpectBalance(double x, double y, double magnitude, double tol, const std::string& what) {
  EXPECT_LE(std::fabs(x - y), tol * magnitude) << what << ": " << x << " vs " << y;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    dir_ = fs::temp_directory_path() / ("tarn_cli_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path File(const std::string& name) const { return dir_ / name; }

  RunResult Run(const Strings& args) const {
    std::string command = "LC_ALL=C '" TARN_CLI_PATH "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >'" + File("stdout").string() + "' 2>'" + File("stderr").string() + "' </dev/null";
    int raw = std::system(command.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadAll(File("stdout"));
    r.err = ReadAll(File("stderr"));
    return r;
  }

  std::string WriteProjectFile(const std::string& name, const ProjectState& state) const {
    WriteAll(File(name), ProjectText(state));
    return File(name).string();
  }

  fs::path dir_;
};

ProjectState NewModel(const Strings& names, int nspecies, int nsolids) {
  ProjectState s;
  s.title = "Test model";
  s.nreag = static_cast<int>(names.size());
  s.nspecies = nspecies;
  s.nsolids = nsolids;
  s.nsoluble = s.nreag + nspecies;
  AllocateModel(s);
  for (int j = 1; j <= s.nreag; ++j) s.name(j) = names[static_cast<std::size_t>(j - 1)];
  s.proton = FindProton(s);
  for (int j = 1; j <= s.nreag; ++j) s.flag(j, 0) = s.flag(j, 1) = true;
  s.volume[0] = 10;
  s.volume[1] = 1;
  s.vfinal = 12;
  DefaultCaptions(s);
  return s;
}

// The acid AH (log beta 4.75) with hydroxide (log beta -13.75). Titration: 10
// mL holding 0.1 mmol of A and of H, to 12 mL with 0.1 M hydroxide.
// Distribution: A 0.01 M throughout, pH 2 to 12.
ProjectState AcidModel(int type) {
  ProjectState s = NewModel({"A", "H"}, 2, 0);
  s.a(1, 1) = s.a(2, 1) = 1;
  s.logbeta(1) = 4.75;
  s.a(2, 2) = -1;
  s.logbeta(2) = -13.75;
  s.type = type;
  s.total(1, 0) = s.total(2, 0) = 0.1;
  s.burette(2, 0) = -0.1;
  DeriveTitrationConcentrations(s);
  s.initial(1, 1) = s.final(1, 1) = 0.01;
  s.flag(2, 1) = false;
  s.pxi(2, 1) = 2;
  s.pxf(2, 1) = 12;
  DefaultCaptions(s);
  return s;
}

// Rows of a csv whose headings hold no comma.
std::vector<Strings> CsvRows(const std::string& csv) {
  std::vector<Strings> rows;
  for (const std::string& line : Split(csv, '\n')) rows.push_back(Split(line + ",", ','));
  for (Strings& row : rows)
    if (!row.empty() && row.back().empty()) row.pop_back();  // the guard added above
  return rows;
}

TEST_F(CliTest, DistributionCsvObeysTheMassBalancesAndConstants) {
  std::string project = WriteProjectFile("acid.cld", AcidModel(kDistribution));
  RunResult r = Run({"calc", project, "--points", "21"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::vector<Strings> rows = CsvRows(r.out);
  ASSERT_EQ(rows.size(), 22u);
  EXPECT_EQ(rows[0], (Strings{"point", "total A", "total H", "free A", "p(H)", "AH", "OH"}));
  const double beta = std::pow(10.0, 4.75), kw = std::pow(10.0, -13.75);
  for (std::size_t p = 1; p < rows.size(); ++p) {
    const Strings& row = rows[p];
    ASSERT_EQ(row.size(), 7u) << r.out;
    EXPECT_EQ(row[0], std::to_string(p));
    double totalA = Number(row[1]), totalH = Number(row[2]), a = Number(row[3]), pH = Number(row[4]);
    double ah = Number(row[5]), oh = Number(row[6]), h = std::pow(10.0, -pH);
    EXPECT_NEAR(pH, 2 + 0.5 * static_cast<double>(p - 1), 1e-9);
    EXPECT_NEAR(totalA, 0.01, 1e-9);  // read at single precision
    ExpectBalance(a + ah, totalA, a + ah, 1e-6, "A balance");
    ExpectBalance(a, totalA / (1 + beta * h), totalA, 1e-6, "closed form of free A");
    ExpectBalance(ah, beta * a * h, ah, 1e-6, "AH formation");
    ExpectBalance(oh, kw / h, oh, 1e-6, "hydroxide");
    ExpectBalance(totalH, h + ah - oh, h + ah + oh, 1e-9, "recomputed H total");
  }
}

TEST_F(CliTest, TitrationCsvFollowsTheAddedVolume) {
  std::string project = WriteProjectFile("acid.cld", AcidModel(kTitration));
  RunResult r = Run({"calc", project, "--points=11", "--format", "csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<Strings> rows = CsvRows(r.out);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0], (Strings{"point", "Titre", "total A", "total H", "free A", "pH(calc)", "AH", "OH"}));
  const double beta = std::pow(10.0, 4.75), kw = std::pow(10.0, -13.75);
  double lastPH = 0;
  for (std::size_t p = 1; p < rows.size(); ++p) {
    const Strings& row = rows[p];
    ASSERT_EQ(row.size(), 8u);
    double v = 0.2 * static_cast<double>(p - 1);
    EXPECT_NEAR(Number(row[1]), v, 1e-12);
    double totalA = Number(row[2]), totalH = Number(row[3]), a = Number(row[4]), pH = Number(row[5]);
    double ah = Number(row[6]), oh = Number(row[7]), h = std::pow(10.0, -pH);
    ExpectBalance(totalA, 0.1 / (10 + v), 0.1 / (10 + v), 1e-7, "A total");  // amounts held at single precision
    ExpectBalance(totalH, (0.1 - 0.1 * v) / (10 + v), 0.1 / (10 + v), 1e-7, "H total");
    ExpectBalance(a + ah, totalA, totalA, 1e-6, "A balance");
    ExpectBalance(h + ah - oh, totalH, h + ah + oh, 1e-6, "H balance");
    ExpectBalance(ah, beta * a * h, ah, 1e-6, "AH formation");
    ExpectBalance(oh, kw / h, oh, 1e-6, "hydroxide");
    EXPECT_GT(pH, lastPH);  // hydroxide raises the pH at every step
    lastPH = pH;
  }
}

// M with MH-1 and the solid MH-2(s), log Ksp 12: [M] = 10^(12 - 2 pH) where the
// solid is present. M 0.01 M throughout, pH 4 to 11.
TEST_F(CliTest, SolidColumnCompletesTheMetalBalance) {
  ProjectState s = NewModel({"M", "H"}, 2, 1);
  s.type = kDistribution;
  s.a(1, 1) = 1;
  s.a(2, 1) = -1;
  s.logbeta(1) = -8;
  s.a(2, 2) = -1;
  s.logbeta(2) = -13.75;
  s.sa(1, 1) = 1;
  s.sa(2, 1) = -2;
  s.logksp(1) = 12;
  s.initial(1, 1) = s.final(1, 1) = 0.01;
  s.flag(2, 1) = false;
  s.pxi(2, 1) = 4;
  s.pxf(2, 1) = 11;
  DefaultCaptions(s);
  RunResult r = Run({"calc", WriteProjectFile("metal.cld", s), "--points", "15"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<Strings> rows = CsvRows(r.out);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[0], (Strings{"point", "total M", "total H", "free M", "p(H)", "MH-1", "OH", "MH-2(s)"}));
  int withSolid = 0;
  for (std::size_t p = 1; p < rows.size(); ++p) {
    const Strings& row = rows[p];
    double m = Number(row[3]), pH = Number(row[4]), mh = Number(row[5]), solid = Number(row[7]);
    ExpectBalance(m + mh + solid, 0.01, 0.01, 1e-6, "M balance at point " + row[0]);
    EXPECT_GE(solid, 0);
    if (solid > 0) {
      ++withSolid;
      EXPECT_NEAR(std::log10(m), 12 - 2 * pH, 1e-6) << "point " << row[0];
    }
  }
  EXPECT_GE(withSolid, 6);  // pH 7.5 and above
}

TEST_F(CliTest, TableFormatIsTheClipboardTextWithLineFeeds) {
  std::string project = WriteProjectFile("acid.cld", AcidModel(kDistribution));
  RunResult r = Run({"calc", project, "--points", "11", "--format", "table", "--precision", "high"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
  ASSERT_FALSE(r.out.empty());
  EXPECT_EQ(r.out.back(), '\n');
  Strings lines = Split(r.out, '\n');
  ASSERT_EQ(lines.size(), 4u + 2 + 1 + 2 + 12);
  EXPECT_EQ(lines[0].rfind("Tarn2009 - Concentration table. Created at ", 0), 0u);
  EXPECT_EQ(lines[1], "Test model");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "concentrations /mol dm-3: ( 11  points)");
  EXPECT_EQ(lines[6], "\tlog beta");
  EXPECT_EQ(lines[7], "AH\t4.75");
  EXPECT_EQ(lines[8], "H-1\t-13.75");
  EXPECT_EQ(lines[9], "\ttotal A\ttotal H\tfree A\tp(H)\tAH\tOH");
  for (int p = 1; p <= 11; ++p) {
    Strings cells = Split(lines[static_cast<std::size_t>(9 + p)], '\t');
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(cells[0], " " + std::to_string(p));
    EXPECT_EQ(cells[1], "1.000e-02");
    EXPECT_EQ(cells[4], std::to_string(p + 1) + ".0000");  // the given pH, four decimals
  }
}

TEST_F(CliTest, OutputFileHoldsWhatStandardOutputWould) {
  std::string project = WriteProjectFile("acid.cld", AcidModel(kTitration));
  RunResult toStdout = Run({"calc", project, "--points", "7"});
  RunResult toFile = Run({"calc", project, "--points", "7", "-o", File("out.csv").string()});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadAll(File("out.csv")), toStdout.out);
  EXPECT_EQ(CsvRows(toStdout.out).size(), 8u);
}

TEST_F(CliTest, RefusedConditionsExitWithOneAndTheProgramsMessage) {
  ProjectState t = AcidModel(kTitration);
  t.vfinal = t.volume[0];
  RunResult r = Run({"calc", WriteProjectFile("t.cld", t)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Added volume must be greater than zero\n");

  ProjectState d = AcidModel(kDistribution);
  d.pxf(2, 1) = d.pxi(2, 1);
  r = Run({"calc", WriteProjectFile("d.cld", d), "--format", "table"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("All inital and final concentrations/pX values are equal to each other"), std::string::npos);
}

// A constant no solution can meet (log beta 300 for A9H9): the series fails
// and the tool passes the solver's message on, with no output.
TEST_F(CliTest, FailedSeriesExitsWithOneAndTheSolversMessage) {
  ProjectState s = AcidModel(kTitration);
  s.a(1, 1) = s.a(2, 1) = 9;
  s.logbeta(1) = 300;
  DefaultCaptions(s);
  RunResult r = Run({"calc", WriteProjectFile("absurd.cld", s), "--points", "5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_TRUE(r.err.rfind("Can't get initial estimates for free concentrations", 0) == 0 ||
              r.err.find("failed at point") != std::string::npos)
      << r.err;
}

TEST_F(CliTest, BadUsageAndUnreadableFilesExitWithTwoAndOneLine) {
  std::string project = WriteProjectFile("acid.cld", AcidModel(kTitration));
  WriteAll(File("notes.cld"), "just some notes\n");
  const std::vector<Strings> cases = {
      {},
      {"plot", project},
      {"calc"},
      {"calc", project, project},
      {"calc", project, "--points", "1"},
      {"calc", project, "--points", "12x"},
      {"calc", project, "--points", "100001"},
      {"calc", project, "--points"},
      {"calc", project, "--format", "xml"},
      {"calc", project, "--precision", "low"},
      {"calc", project, "--colour", "red"},
      {"calc", File("missing.cld").string()},
      {"calc", File("missing.trn").string()},
      {"calc", File("notes.cld").string()},
      {"calc", project, "-o", File("no/such/folder/out.csv").string()},
      {"convert", project},
      {"convert", project, File("b.cld").string(), "--points", "5"},
      {"convert", project, File("b.trn").string()},
      {"convert", File("missing.cld").string(), File("b.cld").string()},
  };
  for (const Strings& args : cases) {
    RunResult r = Run(args);
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    EXPECT_EQ(r.status, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << r.err;
  }
  EXPECT_FALSE(fs::exists(File("b.cld")));
  EXPECT_FALSE(fs::exists(File("b.trn")));
}

TEST_F(CliTest, HelpDocumentsEveryCommandAndOption) {
  RunResult r = Run({"calc", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const char* word : {"calc PROJECT", "convert", "--points", "--format", "csv", "table", "--precision", "normal",
                           "high", "-o FILE", "Exit status", ".trn", ".cld"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(CliTest, ConvertRewritesAProjectCanonically) {
  // The same project with LF line ends and blanks around a name.
  std::string text = ProjectText(AcidModel(kDistribution));
  std::string loose;
  for (char c : text)
    if (c != '\r') loose += c;
  loose.replace(loose.find("<name1>A</name1>"), 16, "<name1>  A </name1>");
  WriteAll(File("a.cld"), loose);
  RunResult r = Run({"convert", File("a.cld").string(), File("b.cld").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadAll(File("b.cld")), text);
  ASSERT_EQ(Run({"convert", File("b.cld").string(), File("c.cld").string()}).status, 0);
  EXPECT_EQ(ReadAll(File("c.cld")), text);
}

// The acid in the fixed-column layout of the old format: counts in fields of
// five, names from position 12, log beta in 1-10 and coefficients from 11 in
// fields of five, conditions in fields of ten with the flag at 61, volumes and
// the type (v = 1, a titration) at 26-30, then the captions.
const char* kOldAcid =
    "Acid from an old file\r\n"
    "    2    2    0    0\r\n"
    "           A\r\n"
    "           H\r\n"
    "      4.75    1    1\r\n"
    "    -13.75    0   -1\r\n"
    "        .1         0       .01       .01         0         0T\r\n"
    "        .1       -.1       .01    -.0075         2        12F\r\n"
    "        10        12         1\r\n"
    "\"A\"\r\n\"H\"\r\n\"AH\"\r\n\"H-1\"\r\n";

TEST_F(CliTest, ConvertReStoresAnOldFormatFile) {
  WriteAll(File("old.TRN"), kOldAcid);
  RunResult r = Run({"convert", File("old.TRN").string(), File("new.cld").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  ProjectState s;
  RecordingSink sink;
  ASSERT_EQ(ReadProjectText(s, ReadAll(File("new.cld")), sink), ReadStatus::kOk);
  EXPECT_EQ(s.title, "Acid from an old file");
  ASSERT_EQ(s.nreag, 2);
  ASSERT_EQ(s.nspecies, 2);
  EXPECT_EQ(s.name(1), "A");
  EXPECT_EQ(s.proton, 2);
  EXPECT_FLOAT_EQ(s.logbeta(1), 4.75f);
  EXPECT_FLOAT_EQ(s.logbeta(2), -13.75f);
  EXPECT_EQ(s.a(2, 2), -1);
  EXPECT_EQ(s.type, kTitration);
  EXPECT_DOUBLE_EQ(s.volume[0], 10);
  EXPECT_DOUBLE_EQ(s.vfinal, 12);
  EXPECT_FLOAT_EQ(s.burette(2, 0), -0.1f);
  EXPECT_TRUE(s.flag(2, 0));
  EXPECT_FALSE(s.flag(2, 1));
  EXPECT_DOUBLE_EQ(s.pxf(2, 1), 12);

  // The old file and its conversion calculate the same series.
  RunResult fromOld = Run({"calc", File("old.TRN").string(), "--points", "5"});
  RunResult fromNew = Run({"calc", File("new.cld").string(), "--points", "5"});
  ASSERT_EQ(fromOld.status, 0) << fromOld.err;
  EXPECT_EQ(fromOld.out, fromNew.out);
  EXPECT_EQ(CsvRows(fromOld.out)[0][1], "Titre");
}

}  // namespace
}  // namespace tarn

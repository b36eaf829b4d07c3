// Runs the built tarn-cli on projects written by the test: its output must be
// the core's table (as csv or as the clipboard text) of the series the core
// calculates from the same file; exit statuses, messages and conversion.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/engine/new_concentrations.h"
#include "core/app/project_open.h"
#include "core/model/message_sink.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"
#include "core/tables/concentration_table.h"
#include "support/comma_locale.h"
#include "support/model_builder.h"
#include "support/workbook_reader.h"

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
  std::string text;
  ReadTextFile(path.string(), text);
  return text;
}

// The acid AH (log beta 4.75) with hydroxide (log beta -13.75). Titration: 10
// mL holding 0.1 mmol of A and of H, to 12 mL with 0.1 M hydroxide.
// Distribution: A 0.01 M throughout, pH 2 to 12.
ProjectState AcidModel(int type) {
  ProjectState s = test::ModelBuilder({"A", "H"}).Species(4.75, {1, 1}).Species(-13.75, {0, -1}).Build();
  test::MakeDistribution(s, 101);
  test::SetTotal(s, 1, 0.01, 0.01);
  test::SetPX(s, 2, 2, 12);
  test::MakeTitration(s, 10, 12, 101);
  test::SetTitrant(s, 1, 0.1, 0);
  test::SetTitrant(s, 2, 0.1, -0.1);
  s.type = type;
  return s;
}

// The series the core calculates from a project file at npoints points.
struct CoreSeries {
  ProjectState state;
  SeriesResults results;
  std::vector<std::string> messages;
};
CoreSeries Calculate(const std::string& path, int npoints) {
  CoreSeries c;
  RecordingSink sink;
  EXPECT_EQ(ReadProjectText(c.state, ReadAll(path), sink), ReadStatus::kOk);
  c.state.npoints = npoints;
  SolverWork work;
  CalculatePoints(c.state, work, c.results, sink);
  c.messages = sink.messages;
  return c;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  RunResult Run(const Strings& args, const std::string& locale = "C") const {
    std::string command = "LC_ALL=" + locale + " '" TARN_CLI_PATH "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >'" + File("stdout") + "' 2>'" + File("stderr") + "' </dev/null";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(File("stdout")), ReadAll(File("stderr"))};
  }

  std::string Write(const std::string& name, const ProjectState& state) const {
    std::ofstream(File(name), std::ios::binary) << ProjectText(state);
    return File(name);
  }

  fs::path dir_ = fs::temp_directory_path() / ("tarn_cli_test_" + std::to_string(getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(CliTest, CalcWritesTheCoreTableAsCsvOrAsTheClipboardText) {
  for (int type : {kTitration, kDistribution}) {
    const std::string project = Write("acid.cld", AcidModel(type));
    CoreSeries core = Calculate(project, 21);
    ASSERT_EQ(core.results.ifail, kSuccess);
    RunResult csv = Run({"calc", project, "--points", "21"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.err, "");
    EXPECT_EQ(csv.out, ConcentrationTableCsv(core.state, core.results));

    // The table: the clipboard text with line feeds, and a line feed after the last row.
    RunResult table = Run({"calc", project, "--points=21", "--format", "table", "--precision", "high"});
    ASSERT_EQ(table.status, 0) << table.err;
    std::string expected =
        ConcentrationTableText(core.state, MakeConcentrationTable(core.state, core.results, TablePrecision::kHigh, ""));
    std::replace(expected.begin(), expected.end(), '\r', '\n');
    const std::size_t firstLineEnd = table.out.find('\n');
    EXPECT_EQ(table.out.substr(0, firstLineEnd).rfind("Tarn2009 - Concentration table. Created at ", 0), 0u);
    EXPECT_EQ(table.out.substr(firstLineEnd), expected.substr(expected.find('\n')) + "\n");
  }
  // The default is 101 points; -o writes to the file what standard output would hold.
  const std::string project = Write("acid.cld", AcidModel(kTitration));
  RunResult toStdout = Run({"calc", project, "--format", "csv"});
  EXPECT_EQ(std::count(toStdout.out.begin(), toStdout.out.end(), '\n'), 102);
  RunResult toFile = Run({"calc", project, "-o", File("out.csv")});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadAll(File("out.csv")), toStdout.out);
}

// The workbook holds the csv's table on its first sheet, the numbers to 16
// significant digits; the tool says which version it is.
TEST_F(CliTest, CalcWritesAWorkbookWithTheCsvNumbersAndTheVersionIsOneLine) {
  const std::string project = Write("acid.cld", AcidModel(kDistribution));
  RunResult csv = Run({"calc", project, "--points", "31"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  RunResult xlsx = Run({"calc", project, "--points", "31", "--format=xlsx", "-o", File("acid.xlsx")});
  ASSERT_EQ(xlsx.status, 0) << xlsx.err;
  EXPECT_EQ(xlsx.out + xlsx.err, "");
  testing::Workbook book = testing::ReadWorkbook(File("acid.xlsx"));
  ASSERT_EQ(book.problem, "");
  const testing::WorkbookSheet& sheet = book.Sheet("Concentrations");
  std::istringstream lines(csv.out);
  int row = 0;
  for (std::string line; std::getline(lines, line); ++row) {
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    std::istringstream fields(line);
    int col = 0;
    for (std::string field; std::getline(fields, field, ','); ++col) {
      if (row == 0) {
        EXPECT_EQ(sheet.At(row, col).text, field);
        continue;
      }
      char rounded[40];
      std::snprintf(rounded, sizeof rounded, "%.15e", std::strtod(field.c_str(), nullptr));
      EXPECT_EQ(sheet.At(row, col).number, std::strtod(rounded, nullptr)) << row << "," << col;
    }
    EXPECT_EQ(col, sheet.Cols());
  }
  EXPECT_EQ(row, 32);
  EXPECT_EQ(sheet.Rows(), 32);

  RunResult version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Tarn " TARN_PROJECT_VERSION "\n");
  EXPECT_EQ(version.err, "");
}

// A project with an activity correction: the csv has both pHs and the ionic
// strength; the same project without one keeps the columns it always had.
TEST_F(CliTest, AnActivityCorrectionAddsItsColumnsToTheCsv) {
  ProjectState s = AcidModel(kTitration);
  s.activity.charge(1) = -1;
  s.activity.charge(2) = 1;
  s.activity.correction = ActivityCorrection::kDavies;
  const std::string project = Write("real.cld", s);
  CoreSeries core = Calculate(project, 11);
  ASSERT_EQ(core.results.ifail, kSuccess);
  ASSERT_TRUE(core.results.activity);
  RunResult csv = Run({"calc", project, "--points", "11"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out, ConcentrationTableCsv(core.state, core.results));
  EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")),
            "point,Titre,total A,total H,free A,-log[H],-log a(H),ionic strength,AH,OH");
  RunResult table = Run({"calc", project, "--points", "11", "--format", "table"});
  EXPECT_NE(table.out.find("\nDavies activity correction; constants at I = 0.1 mol dm-3; ionic strength calculated "
                           "at every point\n"),
            std::string::npos)
      << table.out;

  RunResult plain = Run({"calc", Write("plain.cld", AcidModel(kTitration)), "--points", "11"});
  EXPECT_EQ(plain.out.substr(0, plain.out.find("\r\n")), "point,Titre,total A,total H,free A,pH(calc),AH,OH");
}

TEST_F(CliTest, RefusedConditionsAndFailedSeriesExitWithOneAndTheProgramsMessage) {
  ProjectState t = AcidModel(kTitration);
  t.vfinal = t.volume[0];
  RunResult r = Run({"calc", Write("t.cld", t)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Added volume must be greater than zero\n");

  // A distribution with no solution: a solid of the pX-given proton alone
  // (H-2, log Ksp 10) is supersaturated at pH 6 and has no unknown to act on.
  ProjectState s = test::ModelBuilder({"A", "H"}).Species(-13.75, {0, -1}).Solid(10, {0, -2}).Build();
  test::MakeDistribution(s, 5);
  test::SetTotal(s, 1, 0.01, 0.01);
  test::SetPX(s, 2, 6, 8);
  const std::string absurd = Write("absurd.cld", s);
  CoreSeries core = Calculate(absurd, 5);
  ASSERT_EQ(core.messages.size(), 1u);
  r = Run({"calc", absurd, "--points", "5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, core.messages[0] + "\n");
}

TEST_F(CliTest, BadUsageAndUnreadableFilesExitWithTwoAndOneLine) {
  const std::string project = Write("acid.cld", AcidModel(kTitration));
  std::ofstream(File("notes.cld")) << "just some notes\n";
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
      {"calc", File("missing.cld")},
      {"calc", File("missing.trn")},
      {"calc", File("notes.cld")},
      {"calc", project, "-o", File("no/such/folder/out.csv")},
      {"calc", project, "--format", "xlsx"},
      {"calc", project, "--format", "xlsx", "-o", "-"},
      {"calc", project, "--format", "xlsx", "-o", File("no/such/folder/out.xlsx")},
      {"convert", project},
      {"convert", project, File("b.cld"), "--points", "5"},
      {"convert", project, File("b.trn")},
      {"convert", File("missing.cld"), File("b.cld")},
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

// A file cut short, a file that declares more than it holds and a file of
// other bytes are refused as the desktop program refuses them: exit status
// 2, the program's message, nothing written.
TEST_F(CliTest, DamagedFilesExitWithTwoAndTheProgramsMessage) {
  const std::string whole = ProjectText(AcidModel(kTitration));
  std::ofstream(File("cut.cld"), std::ios::binary) << whole.substr(0, whole.find("</Tarn>"));
  std::ofstream(File("huge.cld"), std::ios::binary)
      << "<calvor><model><reagents><number>7000</number></reagents><betas><number>7000</number></betas></model>"
         "<Tarn><type>1</type></Tarn></calvor>"
      << std::string(7000, ' ');
  std::ofstream(File("bytes.cld"), std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  std::ofstream(File("cut.trn"), std::ios::binary) << "Acid\r\n    2    2    0    0\r\n           A\r\n";
  for (const char* name : {"cut.cld", "huge.cld", "bytes.cld", "cut.trn"}) {
    for (const Strings& args : {Strings{"calc", File(name)}, Strings{"convert", File(name), File("out.cld")}}) {
      RunResult r = Run(args);
      EXPECT_EQ(r.status, 2) << name;
      EXPECT_EQ(r.out, "") << name;
      EXPECT_EQ(r.err, File(name) + " is damaged or not a Tarn project file\n") << name;
    }
  }
  EXPECT_FALSE(fs::exists(File("out.cld")));
}

// Under a comma locale the tool reads and writes every number as under "C".
TEST_F(CliTest, ACommaLocaleChangesNoNumber) {
  testing::CommaLocale comma;  // sets LOCPATH for the tool when the locale had to be made
  ASSERT_TRUE(comma.Active()) << comma.Problem();
  std::setlocale(LC_ALL, "C");
  const std::string project = Write("acid.cld", AcidModel(kDistribution));
  RunResult plain = Run({"calc", project, "--points", "11"});
  RunResult local = Run({"calc", project, "--points", "11"}, comma.Name());
  ASSERT_EQ(local.status, 0) << local.err;
  EXPECT_EQ(local.out, plain.out);
  ASSERT_EQ(Run({"convert", project, File("b.cld")}, comma.Name()).status, 0);
  EXPECT_EQ(ReadAll(File("b.cld")), ReadAll(project));
}

TEST_F(CliTest, HelpDocumentsEveryCommandAndOption) {
  RunResult r = Run({"calc", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const char* word : {"calc PROJECT", "convert", "--points", "--format", "csv", "xlsx", "table", "--precision",
                           "normal", "high", "-o FILE", "--version", "Exit status", ".trn", ".cld"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(CliTest, ConvertRewritesAProjectCanonicallyAndReStoresAnOldFormatFile) {
  // The same project with LF line ends and blanks around a name.
  const std::string text = ProjectText(AcidModel(kDistribution));
  std::string loose;
  std::copy_if(text.begin(), text.end(), std::back_inserter(loose), [](char c) { return c != '\r'; });
  loose.replace(loose.find("<name1>A</name1>"), 16, "<name1>  A </name1>");
  std::ofstream(File("a.cld"), std::ios::binary) << loose;
  RunResult r = Run({"convert", File("a.cld"), File("b.cld")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadAll(File("b.cld")), text);

  // An old-format file (a titration in the fixed-column layout) is stored as
  // the old-format reader reads it, and calculates the same series.
  const std::string old =
      "Acid from an old file\r\n    2    2    0    0\r\n           A\r\n           H\r\n      4.75    1    1\r\n"
      "    -13.75    0   -1\r\n        .1         0       .01       .01         0         0T\r\n"
      "        .1       -.1       .01    -.0075         2        12F\r\n        10        12         1\r\n";
  std::ofstream(File("old.TRN"), std::ios::binary) << old;
  ASSERT_EQ(Run({"convert", File("old.TRN"), File("new.cld")}).status, 0);
  ProjectState expected;
  RecordingSink sink;
  ASSERT_EQ(ReadTrnText(expected, old, sink), ReadStatus::kOk);
  EXPECT_EQ(ReadAll(File("new.cld")), ProjectText(expected));
  RunResult fromOld = Run({"calc", File("old.TRN"), "--points", "5"});
  ASSERT_EQ(fromOld.status, 0) << fromOld.err;
  EXPECT_EQ(fromOld.out, Run({"calc", File("new.cld"), "--points", "5"}).out);
}

// A model without conditions, and a project under a name of neither kind:
// the tool opens files with the desktop program's own routine.
TEST_F(CliTest, AModelOnlyFileTakesTheDefaultsAndOtherNamesAreNotRead) {
  std::string text = ProjectText(AcidModel(kTitration));
  text = text.substr(0, text.find("<Tarn>")) + "</calvor>\r\n";
  const std::string model = File("model.CLD");
  std::ofstream(model, std::ios::binary) << text;
  ASSERT_EQ(Run({"convert", model, File("b.cld")}).status, 0);
  ProjectState expected;
  RecordingSink sink;
  OpenOutcome opened = OpenProject(expected, model, sink);
  ASSERT_EQ(opened.status, OpenStatus::kModelOnly);
  ASSERT_EQ(OpenModelOnly(expected, opened, sink), ReadStatus::kOk);
  ApplyImportDefaults(expected);
  EXPECT_EQ(expected.type, kDistribution);
  EXPECT_EQ(ReadAll(File("b.cld")), ProjectText(expected));

  const std::string other = Write("acid.xml", AcidModel(kTitration));
  RunResult r = Run({"calc", other});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "tarn-cli: cannot read " + other + ": not a project file (.cld) or an old-format file (.trn)\n");
}

}  // namespace
}  // namespace tarn

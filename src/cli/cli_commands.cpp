#include "cli/cli_commands.h"

#include <ctime>
#include <iostream>

#include "core/app/project_open.h"
#include "core/engine/new_concentrations.h"
#include "core/engine/solver_work.h"
#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"
#include "core/model/save_file.h"
#include "core/tables/concentration_table.h"
#include "core/tables/table_export.h"

namespace tarn {

namespace {

// The text on one line: trimmed, every run of line breaks turned into a blank.
std::string OneLine(std::string_view text) {
  std::string out;
  bool inBreak = false;
  for (char c : Trim(text)) {
    if (c == '\r' || c == '\n') {
      if (!inBreak) out += ' ';
      inBreak = true;
    } else {
      out += c;
      inBreak = false;
    }
  }
  return out;
}

// Reads a project or an old-format file into state; false (the reason
// printed) when it cannot. A model without conditions takes the program's
// defaults for new Tarn data.
bool LoadProject(const std::string& path, ProjectState& state, StderrSink& sink) {
  const int shownBefore = sink.shown;
  OpenOutcome opened = OpenProject(state, path, sink);
  if (opened.status == OpenStatus::kModelOnly) {
    opened.status = OpenModelOnly(state, opened, sink) == ReadStatus::kOk ? OpenStatus::kOpened : OpenStatus::kRefused;
    if (opened.Opened()) ApplyImportDefaults(state);
  }
  if (opened.kind == FileKind::kOther) {
    PrintReason("cannot read " + path + ": not a project file (.cld) or an old-format file (.trn)");
    return false;
  }
  if (opened.status == OpenStatus::kUnreadable) {
    PrintReason("cannot read " + path);
    return false;
  }
  if (opened.status == OpenStatus::kRefused) {
    if (sink.shown == shownBefore) PrintReason("cannot read " + path + " as a project");
    return false;
  }
  return true;
}

// The table's clipboard text for a terminal or a file: LF line ends, and one
// after the last row.
std::string TableForTerminal(const ProjectState& state, const SeriesResults& results, TablePrecision precision,
                             const std::string& createdAt) {
  ConcentrationTable table = MakeConcentrationTable(state, results, precision, createdAt);
  std::string text = ConcentrationTableText(state, table);
  for (char& c : text)
    if (c == '\r') c = '\n';
  return text + '\n';
}

bool WriteOutput(const std::string& path, const std::string& text) {
  if (path.empty() || path == "-") {
    std::cout << text << std::flush;
    if (std::cout) return true;
    PrintReason("cannot write to standard output");
    return false;
  }
  if (SaveTextFile(path, text).ok) return true;
  PrintReason("cannot write " + path);
  return false;
}

}  // namespace

void StderrSink::Show(const std::string& text) {
  ++shown;
  std::cerr << OneLine(text) << std::endl;
}

void StderrSink::Reason(const std::string& reason) {
  ++shown;
  PrintReason(reason);
}

bool StderrSink::Ask(const std::string& text) {
  Show(text);
  return false;
}

void PrintReason(const std::string& reason) {
  std::cerr << "tarn-cli: " << OneLine(reason) << std::endl;
}

int RunCalc(const CliOptions& options, StderrSink& sink) {
  ProjectState state;
  if (!LoadProject(options.files.at(0), state, sink)) return kExitUsage;
  state.npoints = options.points;
  Validation validation = ValidateConditions(state);
  if (!validation.ok) {
    sink.Show(validation.message);
    return kExitFailed;
  }
  SolverWork work;
  SeriesResults results;
  const int shownBefore = sink.shown;
  if (CalculatePoints(state, work, results, sink) != kSuccess) {
    if (sink.shown == shownBefore) PrintReason("the calculation failed (status" + PlainText(results.ifail) + ")");
    return kExitFailed;
  }
  const std::string createdAt = CreationTimeText(std::time(nullptr));
  if (options.format == OutputFormat::kWorkbook)  // a failure says "can't save " + the file
    return SaveTable(options.outputFile, TableFileType::kWorkbook, state, results, createdAt, sink) ? kExitOk
                                                                                                    : kExitUsage;
  std::string text = options.format == OutputFormat::kCsv
                         ? ConcentrationTableCsv(state, results)
                         : TableForTerminal(state, results, options.precision, createdAt);
  return WriteOutput(options.outputFile, text) ? kExitOk : kExitUsage;
}

int RunConvert(const CliOptions& options, StderrSink& sink) {
  const std::string& input = options.files.at(0);
  const std::string& output = options.files.at(1);
  if (KindOfFile(output) == FileKind::kOldFormat) {
    PrintReason("the output must be a project file (.cld), not an old-format file: " + output);
    return kExitUsage;
  }
  ProjectState state;
  if (!LoadProject(input, state, sink)) return kExitUsage;
  return WriteProject(state, output, sink) ? kExitOk : kExitUsage;
}

}  // namespace tarn

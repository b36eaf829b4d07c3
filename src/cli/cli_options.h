#pragma once
// The command line of the batch tool: its commands, options and usage text.

#include <string>
#include <vector>

#include "core/tables/concentration_table.h"

namespace tarn {

enum class CliCommand { kHelp, kVersion, kCalc, kConvert };
enum class OutputFormat { kCsv, kWorkbook, kTable };

inline constexpr int kDefaultPoints = 101;
inline constexpr int kMinPoints = 2;
inline constexpr int kMaxPoints = 100000;

struct CliOptions {
  CliCommand command = CliCommand::kHelp;
  std::vector<std::string> files;  // calc: the project; convert: input and output
  int points = kDefaultPoints;
  OutputFormat format = OutputFormat::kCsv;
  TablePrecision precision = TablePrecision::kNormal;
  std::string outputFile;  // empty or "-": standard output
};

struct ParsedArguments {
  bool ok = false;
  CliOptions options;
  std::string error;  // one line, when not ok
};

// Reads the arguments after the program name. "--help" or "-h" anywhere asks
// for the usage text, else "--version" anywhere for the version line.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The text printed by --help.
const char* UsageText();

}  // namespace tarn

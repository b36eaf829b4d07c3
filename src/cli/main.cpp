// tarn-cli: the batch tool. Calculates a project's point series as csv, as an
// Excel workbook or as the concentration table's text, and converts project
// files.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "core/app/version.h"
#include "core/model/number_text.h"

int main(int argc, char** argv) {
  using namespace tarn;
  ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.ok) {
    PrintReason(parsed.error);
    return kExitUsage;
  }
  if (parsed.options.command == CliCommand::kHelp) {
    std::cout << UsageText();
    return kExitOk;
  }
  if (parsed.options.command == CliCommand::kVersion) {
    std::cout << VersionLine() << '\n';
    return kExitOk;
  }
  UseSystemDecimalSeparator();  // the table's number formats, as the desktop program writes them
  StderrSink sink;
  const bool calc = parsed.options.command == CliCommand::kCalc;
  try {
    return calc ? RunCalc(parsed.options, sink) : RunConvert(parsed.options, sink);
  } catch (const std::exception& e) {
    PrintReason(std::string(calc ? "the calculation failed: " : "the conversion failed: ") + e.what());
    return calc ? kExitFailed : kExitUsage;
  }
}

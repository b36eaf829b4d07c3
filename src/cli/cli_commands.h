#pragma once
// The batch tool's commands. Each returns the exit status: kExitOk, kExitFailed
// (the calculation failed) or kExitUsage (bad usage, a file that cannot be
// read or written).

#include <string>

#include "cli/cli_options.h"
#include "core/model/message_sink.h"

namespace tarn {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Prints every message of the core on standard error, one line each; answers
// every question No.
class StderrSink : public MessageSink {
 public:
  void Show(const std::string& text) override;
  bool Ask(const std::string& text) override;
  // A reason of the tool itself, printed by PrintReason.
  void Reason(const std::string& reason);
  int shown = 0;  // messages and reasons printed so far
};

// Prints a reason of the tool itself: "tarn-cli: " + reason.
void PrintReason(const std::string& reason);

int RunCalc(const CliOptions& options, StderrSink& sink);
int RunConvert(const CliOptions& options, StderrSink& sink);

}  // namespace tarn

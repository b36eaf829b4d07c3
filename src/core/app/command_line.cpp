#include "core/app/command_line.h"

#include "core/model/number_text.h"

namespace tarn {

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string out;
  for (const std::string& a : arguments) {
    if (&a != &arguments.front()) out += ' ';
    out += a;
  }
  return out;
}

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine c;
  std::size_t bar = text.find('|');
  std::string_view path = Trim(text.substr(0, bar));
  if (bar != std::string_view::npos) c.caller = std::string(Trim(text.substr(bar + 1)));
  if (!path.empty() && path.front() == '"') {
    path.remove_prefix(1);
    if (!path.empty() && path.back() == '"') path.remove_suffix(1);
  }
  c.path = std::string(path);
  return c;
}

std::string CalledFromMessage(std::string_view caller) {
  return "Called from " + std::string(caller) + "\r" + "Close Tarn to return to that program";
}

}  // namespace tarn

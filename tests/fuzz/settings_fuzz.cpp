// Fuzz target: the settings file reader on arbitrary text. Read, written and
// read again, the settings stay as they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "fuzz_support.h"

namespace {

bool HasMarkup(const tarn::Settings& s) {
  bool markup = tarn::fuzz::HasMarkup(s.readdir) || tarn::fuzz::HasMarkup(s.writedir) ||
                tarn::fuzz::HasMarkup(s.clipwidth) || tarn::fuzz::HasMarkup(s.clipheight) ||
                tarn::fuzz::HasMarkup(s.lettersize);
  for (int i = 1; i <= tarn::kRecentCount; ++i) markup = markup || tarn::fuzz::HasMarkup(s.recent(i));
  return markup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Settings s = ReadSettingsText(text);
  std::string first = SettingsText(s);
  FirstRunSettingsText(s);
  if (HasMarkup(s)) return 0;
  std::string second = SettingsText(ReadSettingsText(first));
  fuzz::Check(SettingsText(ReadSettingsText(second)) == second, "settings written and read stay the same");
  return 0;
}

// Fuzz target: the element helpers and number readers that the project and
// settings files share. The first byte gives the length of a tag taken from
// the following bytes; the rest is the text.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "core/model/number_text.h"
#include "core/model/project_file.h"

namespace {

using namespace tarn;

void CheckElements(std::string_view tag, std::string_view text) {
  std::string element = MakeElement(tag, text);
  if (fuzz::HasMarkup(std::string(tag)) || fuzz::HasMarkup(std::string(text))) return;
  fuzz::Check(GetElement(tag, element) == Trim(text), "an element gives back its trimmed content");
  fuzz::Check(GetElement(tag, "x" + element + element) == Trim(text), "the first element is found");
}

void CheckNumbers(std::string_view text) {
  fuzz::QuietSink sink;
  std::optional<double> value = ParseNumber(text, sink);
  double x = value.value_or(0.0);
  fuzz::Check(std::isfinite(x) && std::fabs(x) <= std::numeric_limits<float>::max(), "numbers fit single precision");
  // The file's number writer and reader settle: a value read from a file
  // and written may move once (single-precision values are written with 7
  // digits), then it stays.
  double y = ParseNumberOrZero(FileNumber(x), sink);
  double z = ParseNumberOrZero(FileNumber(y), sink);
  fuzz::Check(ParseNumberOrZero(FileNumber(z), sink) == z, "a rewritten number reads back as itself");
  int n = ParseInteger(text);
  double leading = LeadingNumber(text);
  if (std::isfinite(leading) && std::fabs(leading) < 1e9)
    fuzz::Check(std::fabs(n - leading) <= 0.5, "an integer is its leading number rounded");
  RoundedCount(text);
  FormatPattern(x, "##0.0#####");
  FormatPattern(x, "0.000E+00");
  PlainText(x);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  std::size_t tagLength = all.empty() ? 0 : static_cast<unsigned char>(all[0]) % 32;
  std::string_view rest = all.empty() ? all : all.substr(1);
  std::string_view tag = rest.substr(0, std::min(tagLength, rest.size()));
  std::string_view text = rest.substr(tag.size());
  CheckElements(tag, text);
  CheckElements(tag, GetElement(tag, text));
  CheckNumbers(text);
  CheckNumbers(GetElement(tag, text));
  return 0;
}

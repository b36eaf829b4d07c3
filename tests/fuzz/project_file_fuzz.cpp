// Fuzz target: the project file reader on arbitrary text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "core/model/project_file.h"
#include "project_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::QuietSink sink;
  ProjectState s;
  s.title = "unchanged";
  ReadStatus status = ReadProjectText(s, text, sink);
  if (status != ReadStatus::kOk) {
    fuzz::Check(s.title == "unchanged" && s.nreag == 0, "a refused file leaves the project");
    return 0;
  }
  fuzz::Check(KindOfProjectText(text) != ProjectTextKind::kDamaged, "a damaged file is refused");
  fuzz::CheckBounded(s, size);
  fuzz::CheckProject(s);
  return 0;
}

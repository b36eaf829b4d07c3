// Fuzz target: the old-format reader and the import on arbitrary text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "core/model/old_format.h"
#include "project_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::QuietSink sink;
  ProjectState s;
  s.title = "unchanged";
  if (ReadTrnText(s, text, sink) != ReadStatus::kOk) {
    fuzz::Check(s.title == "unchanged" && s.nreag == 0, "a refused file leaves the project");
    return 0;
  }
  fuzz::Check(s.volume[0] > 0 && s.volume[1] > 0, "volumes of an old file");
  fuzz::CheckBounded(s, size);
  fuzz::CheckProject(s);

  // The same file imported into the model it made: added unless it has solids.
  ProjectState imported = s;
  int status = GetTarndataText(imported, text, sink);
  fuzz::Check(status == (s.nsolids == 0 ? kImportAdded : kImportRefused), "importing the file into its own model");
  if (status == kImportAdded) {
    fuzz::Check(imported.nsingle == s.nsingle && imported.type == s.type && imported.vfinal == s.vfinal,
                "the import reads the conditions as the reader does");
    fuzz::Check(imported.nsoluble == s.nsoluble && imported.caption.Upper() == s.ntotal(),
                "the import keeps the model");
  } else {
    fuzz::Check(imported.nsingle == s.nsingle && imported.title == s.title, "a refused import leaves the project");
  }
  return 0;
}

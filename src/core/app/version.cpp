#include "core/app/version.h"

namespace tarn {

const char* ProgramVersion() {
  return TARN_VERSION;
}

const char* VersionLine() {
  return "Tarn " TARN_VERSION;
}

}  // namespace tarn

#pragma once
// Shared by the fuzz targets: a sink that shows nothing and a check that
// stops the run, so that libFuzzer keeps the input that broke a property.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/model/message_sink.h"

namespace tarn::fuzz {

class QuietSink : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return false; }
};

inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

// Texts that hold "<" can mimic tags when written back; round trips are only
// checked for projects without them.
inline bool HasMarkup(const std::string& text) {
  return text.find('<') != std::string::npos;
}

}  // namespace tarn::fuzz

#pragma once
// The older line-oriented project format (".trn", read only), the import of
// conditions and single points from such a file into an open model, and the
// defaults given to a model-only project file.

#include <string>

#include "model/project_file.h"
#include "model/project_state.h"

namespace tarn {

class MessageSink;

// Reads state.currentFile (surrounding double quotes dropped) in the old
// format, in either layout, replacing the open project. The file's failures
// leave the project unchanged.
ReadStatus OpenTrn(ProjectState& state, MessageSink& sink);
ReadStatus ReadTrnText(ProjectState& state, const std::string& text, MessageSink& sink);

// Import status: 0 when data were added, 1 when the import was cancelled or refused.
inline constexpr int kImportAdded = 0;
inline constexpr int kImportRefused = 1;

// Takes the conditions, volumes and single points of the old-format file at
// path into the open model, keeping its reagents, species and constants.
// Refuses with "Inconsistent number of reagents" or "No insoluble species
// allowed here". Returns the import status.
int GetTarndata(ProjectState& state, const std::string& path, MessageSink& sink);

// The defaults of a model-only project file whose conditions are not imported:
// volumes 10, 12 and 1, default captions, totals 0, pX 3 to 9, totals given.
void ApplyImportDefaults(ProjectState& state);

}  // namespace tarn

#pragma once
// The older line-oriented project format (".trn", read only), the import of
// conditions and single points from such a file into an open model, and the
// defaults given to a model-only project file.
//
// The format has two layouts, chosen by the second line: with a comma in it
// the counts and conditions are comma-separated items, otherwise numbers sit
// at fixed character positions. In both, the species and solid lines use
// fixed positions, and the file ends with the single points and the captions
// as items. An item ends at a comma or a line end; it may be enclosed in
// double quotes (then commas inside belong to it); blank lines between items
// are skipped. The captions are one item per species in species-list order
// (reagents, soluble species, solids); missing or empty ones take their
// defaults. Reagent names of the fixed layout are stored trimmed.

#include <string>
#include <string_view>

#include "core/model/project_file.h"
#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

// Reads the file at path (surrounding double quotes dropped) in the old
// format, in either layout, replacing the open project; `currentFile` becomes
// that path. A file that cannot be
// read changes nothing (kUnreadable). A file whose counts declare more than
// its text could fill (CountsFitText), or that ends before its volumes and
// single points, is damaged: it shows DamagedFileMessage and changes nothing
// (kRefused). Missing captions take their defaults.
ReadStatus OpenTrn(ProjectState& state, std::string_view path, MessageSink& sink);
// The same from the file's text; messages name the file state.currentFile.
ReadStatus ReadTrnText(ProjectState& state, std::string_view text, MessageSink& sink);

// Import status: 0 when data were added, 1 when the import was cancelled or refused.
inline constexpr int kImportAdded = 0;
inline constexpr int kImportRefused = 1;

// Takes the conditions, volumes, calculation type and single points of the
// old-format file at path into the open model, keeping its reagents, species,
// solids and constants, and resets every caption to its default. Refuses with
// "Inconsistent number of reagents" or "No insoluble species allowed here"
// (or, for a damaged file as OpenTrn finds one, DamagedFileMessage), leaving
// the project as it was; an unreadable file is refused silently. Sets recalc
// on success; the caller sets modified. Returns the import status.
int GetTarndata(ProjectState& state, const std::string& path, MessageSink& sink);
// The same from the file's text; path names the file in messages.
int GetTarndataText(ProjectState& state, std::string_view text, MessageSink& sink, std::string_view path = {});

// The defaults of a model-only project file whose conditions are not imported:
// volumes 10, 12 (2 added) and 1, default captions, and for every reagent and
// both columns totals, burette and concentrations 0, pX 3 to 9, totals given.
// Sets recalc; the caller sets modified.
void ApplyImportDefaults(ProjectState& state);

}  // namespace tarn

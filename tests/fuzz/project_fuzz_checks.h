#pragma once
// Properties of a project that was read: written and read again it keeps its
// counts, and from then on writing and reading changes nothing; adding a
// reagent and removing it again gives back the model.

#include <cstddef>

#include "fuzz_support.h"
#include "core/model/project_file.h"
#include "core/model/project_state.h"

namespace tarn::fuzz {

// Projects whose text would take long to write and read again are skipped:
// the reader looks up every element from the start of its section, so its
// time grows with the square of the section's length.
inline constexpr long long kRoundTripCells = 20000;
inline constexpr std::size_t kRoundTripBytes = 16384;

bool HasMarkup(const ProjectState& s);
void CheckProject(const ProjectState& s);
// A project read from size bytes holds at least one reagent, and its arrays
// fit what so many bytes may declare.
void CheckBounded(const ProjectState& s, std::size_t size);

}  // namespace tarn::fuzz

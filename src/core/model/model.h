#pragma once
// Allocation, naming, display of values and validation of the open project.

#include <string>
#include <string_view>

#include "model/project_state.h"

namespace tarn {

// (Re)allocates every array of the project from its counts, discarding the
// contents; resets the label positions, the plot's Y settings and the palette.
void AllocateModel(ProjectState& state);
// (Re)allocates, empty, the species list (captions, plot marks, label
// positions), the conditions and the single points; the model stays.
void AllocateConditions(ProjectState& state);

// The formula text of soluble species i, such as CuL2H-1 or (L1)2.
std::string SpeciesFormula(const ProjectState& state, int i);
// The name of solid k, such as CuOH2(s); "(s)" when all coefficients are 0.
std::string SolidName(const ProjectState& state, int k);
// The default caption of species k of the species list (reagent name, species
// formula or solid name).
std::string DefaultCaption(const ProjectState& state, int k);
// Gives every caption that is empty after trimming its default.
void DefaultCaptions(ProjectState& state);
// Resets every caption to its default.
void ResetCaptions(ProjectState& state);

// The proton rule: a reagent named "H", "PROTON" or "PROTONE" (trimmed, any case).
bool IsProtonName(std::string_view name);
// The index of the last reagent that is the proton, 0 when none is.
int FindProton(const ProjectState& state);

// The curve palette entry c = 1..17.
Rgb PaletteColour(int c);

// The titration's derived concentrations: initial(j, 0) and final(j, 0) from
// the amounts, the titrant and the volumes (0 where a volume is not positive),
// and vadded.
void DeriveTitrationConcentrations(ProjectState& state);
// The same for reagent j alone (vadded untouched).
void DeriveTitrationTotals(ProjectState& state, int j);

// The display form of a condition value: 0.0, 1.235E-05 below 0.001, else
// one to six decimals ("###0.0#####").
std::string FormatValue(double x);

// Which editor box a failed validation brings forward.
enum class ConditionsFocus { kEditor, kInitialVolume, kAddedVolume };

struct Validation {
  bool ok = true;
  std::string message;  // the program's text, empty when ok
  ConditionsFocus focus = ConditionsFocus::kEditor;
};

// The check run before every calculation; shows nothing itself. Besides the
// volumes and the conditions that must change, it refuses a negative initial
// volume and a negative total (amount, burette, initial or final
// concentration) of a reagent that no species or solid holds with a negative
// coefficient, naming the column.
Validation ValidateConditions(const ProjectState& state);

// The counts a file of textLength characters may declare: none negative, none
// beyond what such a file could describe (one character per entry, with room
// for short files), and every array small enough to allocate. Readers refuse
// files outside these with kAbsurdCountsMessage.
bool CountsAreSane(long long nreag, long long nspecies, long long nsolids, long long nsingle, std::size_t textLength);
inline constexpr const char* kAbsurdCountsMessage =
    "The file declares impossible numbers of reagents, species, solids or points";

}  // namespace tarn

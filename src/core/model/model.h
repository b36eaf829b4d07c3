#pragma once
// Allocation, naming, display of values and validation of the open project.

#include <string>
#include <string_view>

#include "core/model/project_state.h"

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

// The counts a project file or an old-format file declares, before anything
// is allocated from them.
struct DeclaredCounts {
  long long nreag = 0;
  long long nspecies = 0;
  long long nsolids = 0;
  long long nsingle = 0;
};

// Every cell a file fills from its own text (constants, coefficients,
// conditions, single points, one per reagent name, species and solid) needs
// at least kMinCellBytes of it.
inline constexpr std::size_t kMinCellBytes = 2;
// The arrays allocated from a file's counts hold at most kCellsPerByte cells
// for every byte of its text, and kMinCellBudget for a short one.
inline constexpr double kCellsPerByte = 16;
inline constexpr double kMinCellBudget = 1 << 20;

// The cells a file with these counts fills from its text, and the cells of
// every array allocated from them (AllocateModel).
double CellsToFill(const DeclaredCounts& counts);
double CellsToAllocate(const DeclaredCounts& counts);
// True when allocated cells fit the budget of a text of textLength bytes.
bool AllocationFitsText(double cells, std::size_t textLength);

// True when a text of textLength bytes could declare these counts: at least
// one reagent, no count negative, every cell to fill has its bytes, and the
// arrays fit the allocation budget. So reading, holding and writing back any
// file costs time and memory in proportion to its size; a file that declares
// more is damaged.
bool CountsFitText(const DeclaredCounts& counts, std::size_t textLength);

// path + " is damaged or not a Tarn project file": the refusal of a file
// that is cut short, declares more than it holds, or is no project at all.
std::string DamagedFileMessage(std::string_view path);

}  // namespace tarn

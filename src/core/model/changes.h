#pragma once
// What an edit of the project changed, as one set of flags. Every edit
// operation returns the flags of what it invalidated; the edit session
// publishes them to every open window, and each window decides from them
// whether to refill, replot or close.

#include <cstdint>

namespace tarn {

enum class Change : std::uint32_t {
  kNone = 0,
  kResults = 1u << 0,         // the results no longer match the project (recalc is set)
  kConstants = 1u << 1,       // a log beta, a log Ksp or a refine key
  kConditions = 1u << 2,      // a condition of the series: a total, a pX, a volume
  kFormulas = 1u << 3,        // a coefficient, and with it a formula and its caption
  kNames = 1u << 4,           // a reagent's name, and the captions that follow it
  kSpeciesAdded = 1u << 5,    // a soluble species added
  kSpeciesRemoved = 1u << 6,  // a soluble species removed
  kSolids = 1u << 7,          // a solid added or removed
  kReagents = 1u << 8,        // a reagent added or removed
  kType = 1u << 9,            // the calculation type
  kTitle = 1u << 10,          // the project's title
  kCaptions = 1u << 11,       // how a species is shown: its caption or colour
  kSinglePoints = 1u << 12,   // the single data points' conditions, or the points themselves
  kProject = 1u << 13,        // another project was opened or made
  kNewResults = 1u << 14,     // a point series was calculated
  kHistory = 1u << 15,        // the undo history changed (what Undo and Redo name)
};

constexpr Change operator|(Change a, Change b) {
  return static_cast<Change>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr Change& operator|=(Change& a, Change b) {
  return a = a | b;
}
constexpr Change operator&(Change a, Change b) {
  return static_cast<Change>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
// Whether any flag of `any` is in `changes`.
constexpr bool Has(Change changes, Change any) {
  return (changes & any) != Change::kNone;
}

// The whole shape of the model changed: the windows that show it load again.
inline constexpr Change kModelReshaped = Change::kReagents | Change::kProject;

}  // namespace tarn

#pragma once
// The point count of a titration or distribution series: the points menu
// offers seven preset counts (entries 1..7) and a custom count (entry 8)
// asked for in an input box. The settings keep the choice in nsel: 1..7 a
// preset entry, 8 and above a custom count of that many points.
//
// A custom count persists across runs: choosing one of 8 points or more
// stores the count itself in nsel, and a custom count loaded from the
// settings stays in nsel, so writing the settings later keeps it. A custom
// count below 8 cannot be told from a preset entry in nsel; it is used for
// the run and nsel keeps the previous choice.

#include <array>
#include <string>
#include <string_view>

#include "core/app/settings.h"
#include "core/model/project_state.h"

namespace tarn {

inline constexpr int kCustomEntry = 8;
// The counts of the preset entries 1..7 (element 0 unused).
inline constexpr std::array<int, kCustomEntry> kPresetPoints{0, 21, 51, 101, 201, 501, 801, 1201};
// The counts a series accepts: it needs two points at least, and more than
// kMaxPoints would only fill memory.
inline constexpr int kMinPoints = 2;
inline constexpr int kMaxPoints = 10000;

// The custom entry's caption as the menu is built and after a preset is chosen.
inline constexpr const char* kCustomMenuCaption = "custom ";
inline constexpr const char* kCustomCaption = "Custom";
// The input box of the custom entry.
inline constexpr const char* kCustomPrompt = "Enter an integer";
inline constexpr const char* kCustomTitle = "Number of points to calculate";
inline constexpr const char* kPointsOutOfRange = "The number of points must be from 2 to 10000";

struct PointChoice {
  int nsel = 3;     // what the settings hold
  int checked = 3;  // the checked menu entry 1..8, 0 when none is
  int npoints = 101;
  std::string customCaption = kCustomMenuCaption;
};

// The project and the settings take the choice's point count.
void UsePointChoice(const PointChoice& choice, ProjectState& project, Settings& settings);

// The caption of preset entry 1..7: "21", "51", ...
std::string PresetCaption(int entry);

// The choice at start for the settings' nsel: below 8 the preset entry nsel;
// otherwise the custom entry with the caption "Custom " + nsel with its
// leading blank ("Custom  250") and nsel points. An nsel that names no entry
// (below 1) or more than kMaxPoints points gives the preset entry 3.
PointChoice LoadPointChoice(int nsel);

// A preset entry 1..7 chosen in the menu: nsel = entry, that entry checked,
// its count, the custom caption back to "Custom". Another entry changes nothing.
PointChoice ChoosePreset(const PointChoice& current, int entry);

struct CustomResult {
  PointChoice choice;
  bool changed = false;  // true: write the settings and recalculate
  std::string message;   // shown when the answer was refused
};

// The answer of the custom input box. Every entry is unchecked first. An
// empty answer (or Cancel) changes nothing else. A number (as typed numbers
// are read) that rounds to 2..10000 checks the custom entry, captions it
// "Custom " + the answer and gives that many points. Any other number is
// refused with kPointsOutOfRange, and text that is no number ("20x") with
// "invalid entry for number", like a cancel.
CustomResult ChooseCustom(const PointChoice& current, std::string_view answer);

}  // namespace tarn

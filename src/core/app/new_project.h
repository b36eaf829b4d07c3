#pragma once
// A new project with a ready-to-run default model, as the new-project window
// builds it when the user accepts: reagents named "A", "B", ... each with 0.2
// in 10 mL titrated by 2 mL, one species made of one of every reagent, and
// with a proton the hydroxide species H-1. The distribution runs over pH 3
// to 9 with a proton, else over the last reagent's total from 0.2 to 0.4.

#include <optional>
#include <string>
#include <string_view>

#include "core/model/project_state.h"

namespace tarn {

inline constexpr int kMinNewReagents = 2;
inline constexpr int kMaxNewReagents = 999;
// The title box's text until the user types a title.
inline constexpr const char* kUntitled = "???";

struct NewProjectChoice {
  int nreag = kMinNewReagents;  // 2..999; values outside are taken to the nearest end
  int type = kTitration;        // kTitration or kDistribution
  bool protonPresent = false;
  std::string title = kUntitled;
};

// A message for the user, with its window title.
struct TitledMessage {
  std::string text;
  std::string title;
};

// The refusal of a title still at "???" (or blank): "Please enter a project
// title" + CR + "It will also be the default name for the CLD file", titled
// "Saving new project"; nothing when the title can be used.
std::optional<TitledMessage> CheckNewProjectTitle(std::string_view title);

// writedir + "/" + title + ".cld"; a "/" inside the title becomes "-" so the
// file lands in writedir.
std::string NewProjectPath(std::string_view writedir, std::string_view title);

// Replaces the open project by the new one (the title is not checked). The
// point count, ln10 and the plot settings that allocation does not reset
// are kept; everything else, the sections carried for the fitting program
// included, starts afresh. Values a project file holds at single precision
// are held so here too, so the project saved and read back is the same.
// The proton is the last reagent named as one (as a file read finds it).
void BuildNewProject(ProjectState& state, const NewProjectChoice& choice, std::string_view writedir);

// The Accept button: the title check, then BuildNewProject. Returns the
// refusal when the title was refused (the project is then unchanged).
std::optional<TitledMessage> AcceptNewProject(ProjectState& state, const NewProjectChoice& choice,
                                              std::string_view writedir);

}  // namespace tarn

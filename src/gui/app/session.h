#pragma once
// The record of one run of the desktop program: the open project, the
// solver's working state, the results of the last point series, the
// settings with the program folder they live in, and which child windows
// are open. The main window owns the one Session and passes it
// by reference to every window it opens; windows read and write it in place
// and never keep copies.

#include <array>
#include <string>

#include "core/app/settings.h"
#include "core/engine/solver_work.h"
#include "core/model/project_state.h"

namespace tarn::gui {

// Indices of Session::windowOpen (element 0 is unused).
inline constexpr int kEditorWindow = 1;
inline constexpr int kPlotWindow = 2;
inline constexpr int kTableWindow = 3;
inline constexpr int kSinglePointsWindow = 4;
inline constexpr int kConditionalWindow = 5;

struct Session {
  ProjectState project;
  SolverWork work;
  SeriesResults results;
  // The settings of Tarn.ini in programFolder; write them back with
  // WriteSettings(settings, SettingsPath(programFolder), sink) after a change.
  Settings settings;
  std::string programFolder;
  // Set by each child window while it exists: 1 editor, 2 plot, 3 table,
  // 4 single points, 5 conditional constants.
  std::array<bool, 6> windowOpen{};
};

// Marks a child window open for its lifetime: hold one as a member of the
// window (constructed when the window loads, destroyed when it unloads).
class OpenWindowMark {
 public:
  OpenWindowMark(Session& session, int window) : session_(session), window_(window) {
    session_.windowOpen.at(static_cast<std::size_t>(window_)) = true;
  }
  ~OpenWindowMark() { session_.windowOpen.at(static_cast<std::size_t>(window_)) = false; }
  OpenWindowMark(const OpenWindowMark&) = delete;
  OpenWindowMark& operator=(const OpenWindowMark&) = delete;

 private:
  Session& session_;
  int window_;
};

}  // namespace tarn::gui

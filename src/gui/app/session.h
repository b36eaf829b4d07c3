#pragma once
// The record of one run of the desktop program: the open project with its
// edit session (the one road of every change, with undo), the solver's
// working state, the results of the last point series, and the settings with
// the program folder they live in. The main window owns the one Session and
// passes it by reference to every window it opens; windows read it, change
// the project only through the edit operations (core/app/project_edits.h),
// and learn of every change by subscribing to `edits`.

#include <string>

#include "core/app/settings.h"
#include "core/engine/solver_work.h"
#include "core/model/edit_session.h"
#include "core/model/project_state.h"

class QWidget;

namespace tarn::gui {

// The child windows of the main window.
enum ChildWindow : int {
  kNoWindow = 0,
  kEditorWindow = 1,
  kPlotWindow = 2,
  kTableWindow = 3,
  kSinglePointsWindow = 4,
  kConditionalWindow = 5,
};

struct Session {
  ProjectState project;
  EditSession edits{project};
  SolverWork work;
  SeriesResults results;
  // The settings of Tarn.ini in programFolder; write them back with
  // WriteSettings(settings, SettingsPath(programFolder), sink) after a change.
  Settings settings;
  std::string programFolder;
};

// A child window closes itself (its results no longer match, its model is
// gone): it hears nothing more, and its frame in the main window goes.
void CloseOwnWindow(QWidget& window, EditSession::Subscription& subscription);

}  // namespace tarn::gui

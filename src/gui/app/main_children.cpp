// The one place where the main window makes its child windows and tells
// them about changes. The windows still to come - the model and conditions
// editor (kEditorWindow), the plot (kPlotWindow), the single data points
// (kSinglePointsWindow) and the conditional constants (kConditionalWindow) -
// register here: each adds its case to CreateChild, making the window over
// the session, and fills in the hooks below that concern it. Until then the
// commands that open them open nothing.

#include <QMdiSubWindow>

#include "gui/app/main_window.h"
#include "gui/tables/table_window.h"

namespace tarn::gui {

QWidget* T32Main::CreateChild(int window) {
  switch (window) {
    case kTableWindow:
      return new T32Table(session_);
    default:
      return nullptr;  // not built yet
  }
}

QMdiSubWindow* T32Main::ShowChild(int window) {
  return children_.Show(window);
}

void T32Main::Model_Click() {
  ShowChild(kEditorWindow);
}

void T32Main::Conditions_Click() {
  ShowChild(kEditorWindow);
  ShowEditorConditions();
}

// The editor shows its conditions frame.
void T32Main::ShowEditorConditions() {}

// After a refused validation: the editor comes forward with the box the
// check names focused.
void T32Main::FocusConditionsBox(ConditionsFocus) {
  ShowChild(kEditorWindow);
}

void T32Main::RefreshTable() {
  if (auto* table = qobject_cast<T32Table*>(children_.Widget(kTableWindow))) table->FillTable();
}

// The editor refills its grids from the project.
void T32Main::RefreshEditor() {}

// The plot window draws the new results.
void T32Main::ReplotIfOpen() {}

}  // namespace tarn::gui

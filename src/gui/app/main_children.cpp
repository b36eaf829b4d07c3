// The one place where the main window makes its child windows and tells
// them about changes. Each window registers here: its case in CreateChild
// makes it over the session, and the hooks that concern it pass a change on
// to it when it is open.

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

void T32Main::RefreshTableTitle() {
  if (auto* table = qobject_cast<T32Table*>(children_.Widget(kTableWindow))) table->ShowTitle(session_.project.title);
}

void T32Main::RefreshEditor() {}

void T32Main::SelectCalculationType(int type) {
  session_.project.type = type;
}

void T32Main::ReplotIfOpen() {}
void T32Main::RefreshPlotLists() {}
void T32Main::RefreshPlotValues() {}
void T32Main::ReopenPlot() {}
void T32Main::RefreshSinglePoints() {}
void T32Main::ClearSinglePoints() {}
void T32Main::RefreshSinglePointsCaption() {}

}  // namespace tarn::gui

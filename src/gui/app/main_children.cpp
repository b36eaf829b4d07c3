// The one place where the main window makes its child windows, and the main
// window's own part of a change of the project (its menus). Each window
// follows the changes itself through the session's edit session.

#include <QMdiSubWindow>

#include "gui/app/main_window.h"
#include "gui/editor/model_window.h"
#include "gui/kapp/conditional_window.h"
#include "gui/plot/graph_form.h"
#include "gui/tables/single_points_window.h"
#include "gui/tables/table_window.h"
#include "gui/ui/text.h"

namespace tarn::gui {

QWidget* T32Main::CreateChild(int window) {
  switch (window) {
    case kEditorWindow:
      return new T32Model(session_, *this);
    case kPlotWindow:
      return new GraphForm(session_, this);
    case kTableWindow:
      return new T32Table(session_);
    case kSinglePointsWindow:
      return new SingleDP(session_, this);
    case kConditionalWindow:
      return new Conditional(session_, this);
    default:
      return nullptr;
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
void T32Main::ShowEditorConditions() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->ShowPage(kConditionsPage);
}

// After a refused validation: the editor comes forward with the box the
// check names focused.
void T32Main::FocusConditionsBox(ConditionsFocus focus) {
  ShowChild(kEditorWindow);
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->FocusConditions(focus);
}

// The main window's part of a change: the commands that depend on the
// reagents, and what Undo and Redo name.
void T32Main::OnChange(const ChangeNote& note) {
  if (Has(note.changes, kModelReshaped)) {
    SetRemoveMenu();
    UpdateCommandStates();
  }
  if (Has(note.changes, Change::kHistory)) UpdateEditMenu();
}

void T32Main::UpdateEditMenu() {
  const EditSession& edits = session_.edits;
  menus_.undo->setEnabled(edits.CanUndo());
  menus_.redo->setEnabled(edits.CanRedo());
  menus_.undo->setText(edits.CanUndo() ? ToQ("&Undo " + edits.UndoName()) : QStringLiteral("&Undo"));
  menus_.redo->setText(edits.CanRedo() ? ToQ("&Redo " + edits.RedoName()) : QStringLiteral("&Redo"));
}

// A value still being typed in the editor counts: its edit is made now.
void T32Main::CommitOpenEdit() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->CommitEdit();
}

// An edit still open in a cell is committed first, so it is the step undone.
void T32Main::Undo_Click() {
  CommitOpenEdit();
  session_.edits.Undo();
}

void T32Main::Redo_Click() {
  CommitOpenEdit();
  session_.edits.Redo();
}

}  // namespace tarn::gui

// The one place where the main window makes its child windows and tells
// them about changes. Each window registers here: its case in CreateChild
// makes it over the session, and the hooks that concern it pass a change on
// to it when it is open.

#include <QMdiSubWindow>

#include "gui/app/main_window.h"
#include "gui/editor/model_window.h"
#include "gui/kapp/conditional_window.h"
#include "gui/plot/graph_form.h"
#include "gui/tables/single_points_window.h"
#include "gui/tables/table_window.h"

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
void T32Main::ShowEditorConditions() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->ShowPage(kConditionsPage);
}

// After a refused validation: the editor comes forward with the box the
// check names focused.
void T32Main::FocusConditionsBox(ConditionsFocus focus) {
  ShowChild(kEditorWindow);
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->FocusConditions(focus);
}

void T32Main::RefreshTable() {
  if (auto* table = qobject_cast<T32Table*>(children_.Widget(kTableWindow))) table->FillTable();
}

void T32Main::RefreshTableTitle() {
  if (auto* table = qobject_cast<T32Table*>(children_.Widget(kTableWindow))) table->ShowTitle(session_.project.title);
}

void T32Main::RefreshEditor() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->Reload();
}

void T32Main::RefreshEditorGrids() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) {
    editor->FillBetaGrid();
    editor->FillCondGrid();
  }
}

void T32Main::CommitEditorEdit() {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow))) editor->CommitEdit();
}

void T32Main::SelectCalculationType(int type) {
  if (auto* editor = qobject_cast<T32Model*>(children_.Widget(kEditorWindow)))
    editor->TarnOption_MouseUp(type);
  else
    session_.project.type = type;
}

// The results changed: the plot is drawn from new ones, and a conditional
// constant plotted from the old ones goes.
void T32Main::ReplotIfOpen() {
  if (auto* plot = qobject_cast<GraphForm*>(children_.Widget(kPlotWindow))) plot->Replot_Click();
  if (auto* kapp = qobject_cast<Conditional*>(children_.Widget(kConditionalWindow))) kapp->ClearPlot();
}

void T32Main::RefreshPlotLists() {
  if (auto* plot = qobject_cast<GraphForm*>(children_.Widget(kPlotWindow))) plot->FillPlotGrid();
}

void T32Main::RefreshPlotValues() {
  if (auto* plot = qobject_cast<GraphForm*>(children_.Widget(kPlotWindow))) plot->BetaFill();
}

// After a change of calculation type the results belong to the other type:
// the series is calculated for the new type (as Replot does) before the plot
// opens again, so it shows the new type's curves. Conditions the new type
// refuses show their message and leave the plot empty rather than showing
// old curves under the new axes.
void T32Main::ReopenPlot() {
  if (!children_.IsOpen(kPlotWindow)) return;
  children_.Close(kPlotWindow);
  session_.project.recalc = true;
  if (!Calculate()) session_.results.ifail = 0;
  ShowChild(kPlotWindow);
  if (Tiling()) Tiler();
}

void T32Main::RefreshSinglePoints() {
  if (auto* sdp = qobject_cast<SingleDP*>(children_.Widget(kSinglePointsWindow))) sdp->SdpFill();
}

void T32Main::RefreshConditionalLists() {
  if (auto* kapp = qobject_cast<Conditional*>(children_.Widget(kConditionalWindow))) kapp->Form_Activate();
}

void T32Main::ClearSinglePoints() {
  if (auto* sdp = qobject_cast<SingleDP*>(children_.Widget(kSinglePointsWindow))) sdp->ClearResults();
}

void T32Main::RefreshSinglePointsCaption() {
  if (auto* sdp = qobject_cast<SingleDP*>(children_.Widget(kSinglePointsWindow)))
    sdp->ShowTitle(session_.project.title);
}

}  // namespace tarn::gui

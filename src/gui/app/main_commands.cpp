// The main window's calculation commands (calculate, the point count, single
// data points) and the Reagents menu.

#include <QAction>
#include <QMenu>

#include "core/app/program_folder.h"
#include "core/app/project_edits.h"
#include "core/app/recalculation.h"
#include "gui/app/main_window.h"
#include "gui/ui/input_box.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr int kMinKappReagents = 3;
constexpr const char* kKappInTitration =
    "Conditional constants cannot be calculated in the context of a titration simulation\r"
    "Please check the speciation conditions before attempting to calculate conditional constants";
constexpr const char* kPointsFailed = "free concentration calculation failed";

// A reagent name as a menu caption: "&" is a letter, not an access key.
QString MenuCaption(const std::string& name) {
  QString caption = ToQ(name);
  caption.replace(u'&', QStringLiteral("&&"));
  return caption;
}

}  // namespace

// Validation, then the series when the results are out of date. True when
// the results are up to date.
bool T32Main::Calculate() {
  GuiMessageSink sink(this);
  Recalculation run = Recalculate(session_.edits, session_.work, session_.results, sink);
  if (run.status == RecalcStatus::kRefused) {
    ShowMessage(run.check.message, kAppTitle, this);
    FocusConditionsBox(run.check.focus);
  }
  return run.Done();
}

void T32Main::calc_Click(CalcCommand command) {
  if (!HasProject() || !Calculate()) return;
  if (command == kCalcPlot) {
    for (int window : {kSinglePointsWindow, kConditionalWindow, kTableWindow}) children_.Close(window);
    ShowChild(kEditorWindow);
    ShowChild(kPlotWindow);
    if (Tiling()) Tiler();
  } else if (command == kCalcTable) {
    ShowChild(kTableWindow);
  } else if (command == kCalcKapp) {
    for (int window : {kSinglePointsWindow, kTableWindow, kPlotWindow}) children_.Close(window);
    ShowChild(kEditorWindow);
    ShowChild(kConditionalWindow);
    Splitter3(1);
    if (Tiling()) Tiler();
    if (session_.project.type == kTitration) {
      // Conditional constants are made for a species distribution.
      edit::SetCalculationType(session_.edits, kDistribution);
      ShowMessage(kKappInTitration, kAppTitle, this);
    }
  }
}

void T32Main::points_Click(int index) {
  if (index == kCustomEntry) {
    std::optional<std::string> answer = InputBox(kCustomPrompt, kCustomTitle, "", this);
    CustomResult custom = ChooseCustom(pointChoice_, answer.value_or(""));
    pointChoice_ = custom.choice;
    ApplyPointChoice();
    if (!custom.message.empty()) ShowMessage(custom.message, kAppTitle, this);
    if (!custom.changed) return;
  } else {
    if (index < 1 || index >= kCustomEntry) return;
    pointChoice_ = ChoosePreset(pointChoice_, index);
    ApplyPointChoice();
  }
  SaveSettings();
  RecalculateForPoints();
}

// The menu shows the point choice; the project and the settings take its count.
void T32Main::ApplyPointChoice() {
  for (int entry = 1; entry <= kCustomEntry; ++entry)
    menus_.points[static_cast<std::size_t>(entry)]->setChecked(entry == pointChoice_.checked);
  menus_.points[kCustomEntry]->setText(ToQ(pointChoice_.customCaption));
  UsePointChoice(pointChoice_, session_.project, session_.settings);
}

// A new point count: the series runs again at once, and the windows that
// show results hear of them.
void T32Main::RecalculateForPoints() {
  if (!HasProject()) return;
  GuiMessageSink sink(this);
  Recalculation run = Recalculate(session_.edits, session_.work, session_.results, sink, true);
  if (run.status == RecalcStatus::kRefused) {
    ShowMessage(run.check.message, kAppTitle, this);
    FocusConditionsBox(run.check.focus);
  } else if (run.status == RecalcStatus::kFailed) {
    ShowMessage(kPointsFailed, kAppTitle, this);
  }
}

void T32Main::Sdp_Click() {
  if (!HasProject()) return;
  for (int window : {kPlotWindow, kTableWindow, kConditionalWindow}) children_.Close(window);
  ShowChild(kEditorWindow);
  ShowChild(kSinglePointsWindow);
  Splitter2(1);
  if (Tiling()) Tiler();
  ShowChild(kEditorWindow);
}

void T32Main::Reagentsmenu_Click() {
  const ProjectState& project = session_.project;
  menus_.removeMenu->setEnabled(project.nreag >= 2);
  for (int j = 1; j <= project.nreag && j <= static_cast<int>(menus_.removeReagent.size()); ++j)
    menus_.removeReagent[static_cast<std::size_t>(j - 1)]->setText(MenuCaption(project.name(j)));
}

void T32Main::SetRemoveMenu() {
  SetRemoveEntries(menus_, *this, session_.project.nreag);
}

void T32Main::AddReagent_Click() {
  if (!HasProject()) return;
  edit::AddReagent(session_.edits);
}

void T32Main::RemoveReagent_Click(int index) {
  const ProjectState& project = session_.project;
  int r = index + 1;
  if (r < 1 || r > project.nreag || project.nreag < 2) return;
  if (!AskYesNo("Delete Reagent " + project.name(r), kEditorTitle, this)) return;
  edit::RemoveReagent(session_.edits, r);
}

// The commands that need a project are enabled while one is open; the
// conditional constants need three reagents at least.
void T32Main::UpdateCommandStates() {
  bool open = HasProject();
  bool kapp = session_.project.nreag >= kMinKappReagents;
  for (QAction* action : {menus_.fileSave, menus_.saveAs, menus_.model, menus_.addReagent, menus_.sdp})
    action->setEnabled(open);
  menus_.calc[kCalcPlot]->setEnabled(open);
  menus_.calc[kCalcTable]->setEnabled(open);
  menus_.calc[kCalcKapp]->setEnabled(kapp);  // the toolbar's Kapp with it
  menus_.conditions->setEnabled(open);
  menus_.removeMenu->setEnabled(session_.project.nreag >= 2);
}

}  // namespace tarn::gui

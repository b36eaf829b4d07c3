#pragma once
// The conditional-constant window Conditional (caption "Apparent constants"):
// the definition of Kapp as numerator and denominator terms in two grids,
// the definition drawn as a fraction, the classic definition of a complex in
// one click ("Standard"), and log Kapp at every point of the species
// distribution as a plot ("Plot") or a table on the clipboard ("Table to
// clipboard") against the pX of the chosen x-axis reagent.
//
// A double-click on a term's cell opens a pop-up list over it: the term types
// (column 1), the reagents, complexes or sum members (column 2). The
// definition lives as long as the window; when the model's numbers of
// reagents or species change meanwhile, it starts afresh.
//
//   auto* kapp = new Conditional(session, &mainWindow);
//   kapp->Classic_Click();  kapp->GoPlot_Click();

#include <QWidget>
#include <array>

#include "gui/app/session.h"
#include "core/kapp/kapp_definition.h"
#include "core/kapp/kapp_values.h"

class QComboBox;
class QPushButton;

namespace tarn::gui {

class ExpressionView;
class Grid;
class PlotKappView;
class PopupList;
class T32Main;

inline constexpr const char* kConditionalCaption = "Apparent constants";

class Conditional : public QWidget {
  Q_OBJECT

 public:
  // main may be null (no editor to tell when the window closes).
  Conditional(Session& session, T32Main* main, QWidget* parent = nullptr);
  ~Conditional() override;

  // The lists and grids from the project and the definition (window activation).
  void Form_Activate();
  void FillDefinitionGrid();
  void SetExpression();
  // The fraction drawn again from the definition as it stands.
  void ShowExpression();
  // Forgets the plotted curve: the definition, the x axis or the results changed.
  void ClearPlot();
  void OnChange(const ChangeNote& note);

  // What the user's clicks call.
  void DefinitionGrid_DblClick(int side, int row, int col);
  void Types_Choose(int index);
  void Reagents_Choose(int index);
  void Species_Choose(int index);
  void SumList_Confirm();
  void Commands_Click(int index);  // 0 "Add term", 1 "Remove term"
  void Classic_Click();
  void GoPlot_Click();
  void GoTable_Click();

  Grid& DefinitionGrid(int side) { return *grids_.at(static_cast<std::size_t>(side)); }
  PopupList& Types() { return *types_; }
  PopupList& Reagents() { return *reagents_; }
  PopupList& Species() { return *species_; }
  PopupList& SumList() { return *sumList_; }
  QComboBox& Standard() { return *standard_; }
  QComboBox& XaxisReagent() { return *xaxis_; }
  ExpressionView& Expression() { return *expression_; }
  PlotKappView& PlotKapp() { return *plot_; }
  const KappDefinition& Definition() const { return def_; }
  int CurrentSide() const { return side_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeDefinitionPanel();
  QWidget* MakeResultPanel();
  void MakePopups();
  void FillLists();
  void FitDefinitionGrid(Grid& grid);
  void OpenPopup(PopupList& list, int height);
  void Update(const std::string& text);
  bool Evaluate(KappValues& values, KappAxis& axis);
  void LayoutPlot();

  Session& session_;
  T32Main* main_;
  EditSession::Subscription changes_;
  KappDefinition def_;
  int side_ = kNumerator;  // the side whose grid was last double-clicked
  int row_ = 0;            // the cell a pop-up list was opened over
  int col_ = 0;
  bool activationHooked_ = false;
  std::array<Grid*, 2> grids_{};
  std::array<QPushButton*, 2> commands_{};
  QPushButton* classic_ = nullptr;
  QComboBox* standard_ = nullptr;
  QComboBox* xaxis_ = nullptr;
  QPushButton* goPlot_ = nullptr;
  QPushButton* goTable_ = nullptr;
  ExpressionView* expression_ = nullptr;
  PlotKappView* plot_ = nullptr;
  QWidget* top_ = nullptr;
  PopupList* types_ = nullptr;
  PopupList* reagents_ = nullptr;
  PopupList* species_ = nullptr;
  PopupList* sumList_ = nullptr;
};

}  // namespace tarn::gui

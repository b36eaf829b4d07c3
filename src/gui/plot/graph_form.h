#pragma once
// The speciation plot window GraphForm (caption "Speciation plots"): the
// curves of the last point series against a chosen X variable, with the
// choices of X and Y, the species list, the floating species labels, the Y
// limits set by clicks beside the plot, the read-out under the pointer, the
// caption editor, the scroll panel that nudges a constant or a condition and
// recalculates, and the copy of the plot (clipboard, or a file in SVG, PDF or
// PNG). While it exists the session marks the plot window open.
//
//   auto* plot = new GraphForm(session, &main);   // loads: lists, choices, BetaFill
//   plot->Replot_Click();                          // validate, recalculate when needed, draw
//
// Its edits (a scroll-bar step, a caption, a colour) are operations of the
// core; it follows every change of the project through the edit session
// (OnChange), whichever window made it. main (the layout partner) may be nullptr.

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "gui/app/session.h"
#include "core/plot/chart.h"
#include "core/plot/curve_data.h"
#include "core/plot/plot_actions.h"
#include "core/plot/plot_drawing.h"
#include "core/plot/recording_surface.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tarn::gui {

class CaptionEdit;
class ClickLabel;
class FloatingLabel;
class Grid;
class PlotBox;
class PopupListBox;
class T32Main;

class GraphForm : public QWidget {
  Q_OBJECT

 public:
  GraphForm(Session& session, T32Main* main, QWidget* parent = nullptr);
  ~GraphForm() override;

  // What the window's change handler and its Replot button call.
  // FillPlotGrid also shows the reagents' names anew in the lists and labels
  // that name them.
  void FillPlotGrid();
  void SetPlotGrid();
  void Replot_Click();
  void BetaFill();
  void PlotCurves();

  // What the user's clicks and keys call.
  void Xchoice_Click(int index);
  void Ychoice_Click(int index);
  void TxOpt_Click(int row);
  void Xvar_Click(int row);
  void Relto_Click(int row);
  void MinLogValue_Click(int position);
  void MaxLogValue_Click(int position);
  void pHchoice_Click(bool ticked);
  void StrengthChoice_Click(bool ticked);
  void ColourOption_Click(int index);
  void Aspect_Change(const QString& text);
  void PlotGrid_Click(int row, int col);
  void DisplayBox_MouseDown(QPoint at);
  void DisplayBox_MouseMove(QPoint at);
  void Up_MouseUp();
  void down_MouseUp();
  void Formula_MouseDown(int k, QPoint grab);
  void Formula_DragDrop(int k, QPoint drop);
  void Formula_KeyDown(int k, int key);
  void EditA_Change(const QString& text);
  void EditA_Enter();
  void EditA_Escape();
  void EditA_ColourKey();
  void BetaScroll_Change(int n, int value);
  void BetaChosen_Click();
  void LabelReagent_Click();
  void LabelConc_Click();
  void CopyClip_Click();
  void SavePlot_Click();

  // State, for the windows that read it and for tests.
  const PlotData& Data() const { return data_; }
  const PlotView& View() const { return view_; }
  const ChartState& Chart() const { return chart_; }
  const ScrollTarget& Target() const { return target_; }
  double Aspect() const { return aspect_; }
  bool Drawn() const { return drawn_; }
  // Whether label k (0 the pH curve) shows; its widget.
  bool LabelShown(int k) const;
  FloatingLabel* Label(int k) const;
  std::vector<bool> LabelVisibility() const;
  // Every later drawing of the screen plot is also recorded there (cleared
  // at each drawing); nullptr stops it.
  void RecordDrawingTo(RecordingSurface* recorder) { recorder_ = recorder; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnChange(const ChangeNote& note);
  QWidget* MakeControls();
  QGroupBox* MakePlotOptions();
  QGroupBox* MakeYAxis();
  QGroupBox* MakeXAxis();
  QWidget* MakeScrollPanel();
  QGroupBox* MakeConstantFrame();
  QGroupBox* MakeConditionFrame();
  void MakePlotBox();
  void MakeCaptionEditor();
  void MakePopupLists();
  void Form_Load();
  void ApplyXchoice();
  void ApplyYchoice();
  void ApplyBoxes();
  void SelectLogLists();
  void ShowSecondAxis(bool ticked, bool strength);
  void EnableSecondAxisChoices();
  void SyncLabels();
  void ShowReagentNames();
  void RepaintLabel(int k);
  void HideAllLabels();
  void PlaceLabels();
  void ShowMarkers(const MarkerVisibility& markers);
  void MoveLabelTo(int k, QPoint topLeft);
  void ShowPopup(PopupListBox& list, const PopupList& content);
  void ChooseFromList(PopupListBox& list, int row);
  void HideCaptionEditor();
  void SetBarsToZero();
  void FitPlotBox(bool aspectChanged);
  void LayoutControls();
  void SaveLogPositions();
  QPixmap FormulaOf(int k, bool forGrid) const;
  Rgb ColourOf(int k) const;

  Session& session_;
  T32Main* main_;
  EditSession::Subscription changes_;
  bool recalculating_ = false;
  PlotData data_;
  PlotView view_;
  ChartState chart_;
  bool drawn_ = false;
  ScrollTarget target_;
  int currentLabel_ = -1;
  QPoint grab_;
  int editedRow_ = 0;
  std::string savedCaption_;
  double aspect_ = 1.0;
  int lowerPosition_ = 0;
  int upperPosition_ = 0;
  bool settingBars_ = false;
  bool pHLabelShown_ = false;
  bool pickingColour_ = false;
  bool loading_ = true;
  RecordingSurface* recorder_ = nullptr;

  QWidget* controls_ = nullptr;
  QPushButton* replot_ = nullptr;
  QPushButton* copyClip_ = nullptr;
  QPushButton* savePlot_ = nullptr;
  QCheckBox* pHchoice_ = nullptr;
  QCheckBox* strengthChoice_ = nullptr;
  QLineEdit* aspectBox_ = nullptr;
  std::array<QRadioButton*, 2> colourOption_{};
  std::array<QRadioButton*, 3> ychoice_{};
  QComboBox* relto_ = nullptr;
  QComboBox* minLogValue_ = nullptr;
  QComboBox* maxLogValue_ = nullptr;
  std::array<QRadioButton*, 5> xchoice_{};
  QComboBox* txOpt_ = nullptr;
  QComboBox* xvar_ = nullptr;
  Grid* plotGrid_ = nullptr;
  QFrame* namePanel_ = nullptr;
  CaptionEdit* editA_ = nullptr;
  QWidget* scrollPanel_ = nullptr;
  ClickLabel* betaChosen_ = nullptr;
  std::array<QLabel*, 2> betaValue_{};
  std::array<QScrollBar*, 2> betaScroll_{};
  ClickLabel* labelReagent_ = nullptr;
  ClickLabel* labelConc_ = nullptr;
  PopupListBox* speciesList_ = nullptr;
  PopupListBox* reagentList_ = nullptr;
  PopupListBox* condList_ = nullptr;
  PlotBox* displayBox_ = nullptr;
  std::vector<FloatingLabel*> labels_;
  ClickLabel* up_ = nullptr;
  ClickLabel* down_ = nullptr;
  QLabel* cursorPos_ = nullptr;
};

}  // namespace tarn::gui

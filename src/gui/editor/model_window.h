#pragma once
// The model and conditions editor T32Model (caption "Model"): a tab strip with
// the pages "Model" (title, formation-constant grid, refine keys), "Conditions"
// (calculation type, volumes, conditions grid, ionic strength) and "Solids"
// (solubility-product grid). Every edit is an operation of the core
// (core/app/project_edits.h); the window refills what a change touched when
// the edit session tells it (OnChange), whichever window made the change or
// when it was undone.
//
//   auto* editor = new T32Model(session, main);   // loads: fills every page
//   editor->TarnOption_MouseUp(kDistribution);    // what clicking the option does
//
// The cells are typed into through the floating cell editor (gui/ui/cell_editor.h);
// an edit still open is committed before the window closes or reloads.
// The window's code is split by page: model_window.cpp (window, tabs,
// lifecycle), model_page.cpp (species and solids), conditions_page.cpp
// (type, volumes, conditions grid), strength_page.cpp (ionic strength).

#include <QPixmap>
#include <QWidget>
#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "gui/app/session.h"
#include "gui/ui/cell_editor.h"
#include "core/model/model.h"
#include "core/model/model_edits.h"

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace tarn::gui {

class Grid;
class T32Main;

// The pages of the tab strip PotTab (1..3) and the frame on the conditions
// page (0).
inline constexpr int kStrengthFrame = 0;
inline constexpr int kModelPage = 1;
inline constexpr int kConditionsPage = 2;
inline constexpr int kSolidsPage = 3;

class T32Model : public QWidget {
  Q_OBJECT

 public:
  T32Model(Session& session, T32Main& main, QWidget* parent = nullptr);
  ~T32Model() override;

  // Fills every page from the project again, as when the window loads.
  void Reload();
  // Ends a cell edit that is still open (committing what was typed).
  void CommitEdit();
  // Brings page 1..3 of the tab strip to the front.
  void ShowPage(int page);
  int CurrentPage() const;
  // The conditions page with the named box focused (after a refused validation).
  void FocusConditions(ConditionsFocus focus);

  // Model page.
  void FillBetaGrid();
  void AddBeta_Click();
  void DelBeta_Click();
  void AddSol_Click();
  void DelSol_Click();
  // Applies refine option 0..2 ("&Ignore", "&Constant", "&Refine") to the
  // species whose choice is open.
  void KeyOption_Choose(int index);

  // Conditions page.
  void TarnOption_MouseUp(int index);
  void FillCondGrid();
  void Incr_Click(int index);
  void Spinner(int direction);
  void Calculate_Click();
  void ToClip_Click();
  double AddedVolume() const { return addedVolume_; }

  // The controls, for the main window and the tests.
  Grid& BetaGrid() { return *betaGrid_; }
  Grid& KspGrid() { return *kspGrid_; }
  Grid& CondGrid() { return *condGrid_; }
  Grid& StrengthGrid() { return *strengthGrid_; }
  CellEditor& EditA() { return *editA_; }
  CellEditor& EditK() { return *editK_; }
  CellEditor& EditB() { return *editB_; }
  QLineEdit& EditBox(int index) { return *editBox_.at(static_cast<std::size_t>(index)); }
  QRadioButton& TarnOption(int index) { return *tarnOption_.at(static_cast<std::size_t>(index)); }
  QRadioButton& KeyOption(int index) { return *keyOption_.at(static_cast<std::size_t>(index)); }
  QGroupBox& RefineOptions() { return *refineOptions_; }
  QPushButton& AddBetaButton() { return *addBeta_; }
  QPushButton& DelBetaButton() { return *delBeta_; }
  QPushButton& AddSolButton() { return *addSol_; }
  QPushButton& DelSolButton() { return *delSol_; }
  QLineEdit& Charge(int j) { return *rea_.at(static_cast<std::size_t>(j - 1)); }
  QLineEdit& IonSize(int j) { return *size_.at(static_cast<std::size_t>(j - 1)); }
  QLineEdit& Background(int index) { return *bck_.at(static_cast<std::size_t>(index)); }
  QComboBox& Correction() { return *correction_; }
  QComboBox& StrengthMode() { return *strengthMode_; }
  QLineEdit& FixedStrength() { return *fixedStrength_; }
  QLineEdit& ReferenceStrength() { return *referenceStrength_; }
  QLineEdit& Celsius() { return *celsius_; }
  // What leaving a box of the activity settings does (nullptr: a choice was made).
  void ActivityBox_Edited(QLineEdit* box);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // model_window.cpp
  void OnChange(const ChangeNote& note);
  void BuildTabs();
  void Form_Load();
  void LayOutPages();
  // A typed number; nullopt (after "invalid entry for number") when the text
  // is not a number or its magnitude is beyond single precision, so the old
  // value stays.
  std::optional<double> ReadNumber(const std::string& text);
  // A page's grids and controls placed for its size.
  void LayOutPage(QWidget* page);

  // model_page.cpp
  QWidget* BuildModelPage();
  QWidget* BuildSolidsPage();
  void LayOutModelPage();
  void LayOutSolidsPage();
  bool BetaGridKey(const StartKey& key);
  bool KspGridKey(const StartKey& key);
  void CommitBeta(const CellEdit& edit);
  void CommitKsp(const CellEdit& edit);
  void RenameReagent(const CellEdit& edit);
  void ResizeNameEditor();
  void StartRefineChoice(int row);
  void CancelRefineChoice();
  void FillKspGrid(int formulaWidth);
  int DrawSpeciesRow(int i);
  void RefillModelGrids();

  // conditions_page.cpp
  QWidget* BuildConditionsPage();
  QWidget* BuildVolumePanels(QWidget* page);
  void LoadConditions();
  void LayOutConditionsPage();
  void LayOutCondGrid(std::initializer_list<int> valueColTwips);
  void FillTitrationGrid();
  void FillDistributionGrid();
  void SetReagentPictures();
  bool CondGridKey(const StartKey& key);
  void CommitCond(const CellEdit& edit);
  void EditBox_KeyUp(int index);
  void RefuseBoxText(int index);
  void ShowVolumes();
  void ShowType();
  void ShowBoxes();

  // strength_page.cpp
  QGroupBox* BuildStrengthFrame(QWidget* page);
  QVBoxLayout* BuildChargeColumn();
  QGroupBox* BuildBackgroundBox();
  QGroupBox* BuildCorrectionBox();
  QHBoxLayout* BuildStrengthButtons();
  void FillActivity();
  std::string ActivityField(const QLineEdit* box, double value, ActivitySettings& next) const;
  void LayOutStrengthFrame();
  void FillStrength();

  Session& session_;
  T32Main& main_;
  EditSession::Subscription changes_;
  double addedVolume_ = 0;
  int refineRow_ = 0;  // species whose refine choice is open, 0 when none
  int refineBefore_ = 0;
  std::array<std::string, 3> boxStart_;  // each box's text when it got the focus
  std::array<std::string, 3> boxSeen_;   // each box's text when it last acted on it
  std::array<std::string, 3> boxGood_;   // each box's last text that was a number

  QTabWidget* potTab_ = nullptr;
  std::array<QWidget*, 4> betaFrame_{};  // 0 ionic strength, 1..3 the pages
  Grid* betaGrid_ = nullptr;
  Grid* kspGrid_ = nullptr;
  Grid* condGrid_ = nullptr;
  Grid* strengthGrid_ = nullptr;
  CellEditor* editA_ = nullptr;
  CellEditor* editK_ = nullptr;
  CellEditor* editB_ = nullptr;
  std::array<QLineEdit*, 3> editBox_{};
  std::array<QRadioButton*, 2> tarnOption_{};
  std::array<QRadioButton*, 3> keyOption_{};
  QGroupBox* refineOptions_ = nullptr;
  QPushButton* addBeta_ = nullptr;
  QPushButton* delBeta_ = nullptr;
  QPushButton* addSol_ = nullptr;
  QPushButton* delSol_ = nullptr;
  QWidget* modelTop_ = nullptr;
  QWidget* condArea_ = nullptr;
  QGroupBox* viPanel_ = nullptr;
  QGroupBox* vfPanel_ = nullptr;
  QWidget* typeRow_ = nullptr;
  QScrollArea* chargeArea_ = nullptr;
  std::vector<QLineEdit*> rea_;
  std::vector<QLineEdit*> size_;
  QComboBox* correction_ = nullptr;
  QComboBox* strengthMode_ = nullptr;
  QLineEdit* fixedStrength_ = nullptr;
  QLineEdit* referenceStrength_ = nullptr;
  QLineEdit* celsius_ = nullptr;
  std::vector<QLabel*> reagentName_;
  std::array<QLineEdit*, 3> bck_{};
  QWidget* strengthTop_ = nullptr;
  QWidget* strengthArea_ = nullptr;  // holds the ionic-strength grid
};

// A formula drawn for a grid cell: the text with sub- and superscripts in the
// colour, on white, as tall as a grid row; width is the x after its last
// character (the picture is at least 1 pixel wide).
QPixmap FormulaCellPicture(const std::string& formula, Rgb colour, int& width);

// The colour of curve `index` of the project's palette (1..17, cycling).
Rgb CurveColour(const ProjectState& state, int index);

}  // namespace tarn::gui

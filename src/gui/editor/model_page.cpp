// The "Model" and "Solids" pages: the formation-constant grid with its
// formula pictures, coefficients and refine keys, the solubility-product grid,
// and adding and removing species and solids.

#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/app/main_window.h"
#include "gui/editor/editor_layout.h"
#include "gui/editor/model_window.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/app/project_edits.h"
#include "core/model/model_edits.h"
#include "core/model/number_text.h"

namespace tarn::gui {

using namespace editor_layout;

namespace {

const QColor kLightCyan{192, 255, 255};

int ReagentColTwips(const std::string& name) {
  return std::max(150 * static_cast<int>(ToQ(std::string(Trim(name))).size()), 360);
}

std::string ConstantText(double value) {
  return std::string(Trim(FormatPattern(value, "##0.0#####")));
}

std::string CoefficientText(int value) {
  return std::string(Trim(FormatPattern(value, "####0")));
}

QPushButton* Button(const char* caption, const char* name, const char* hint, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  if (hint != nullptr) button->setToolTip(QString::fromLatin1(hint));
  return button;
}

}  // namespace

QWidget* T32Model::BuildModelPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("BetaFrame1"));
  editBox_[0] = new QLineEdit(page);
  editBox_[0]->setObjectName(QStringLiteral("EditBox0"));
  editBox_[0]->setToolTip(QStringLiteral("Title"));
  addBeta_ = Button("Add B", "AddBeta", "New beta goes after row with  selected cell", page);
  delBeta_ = Button("Remove B", "DelBeta", "Removes row with selected cell", page);
  connect(addBeta_, &QPushButton::clicked, this, &T32Model::AddBeta_Click);
  connect(delBeta_, &QPushButton::clicked, this, &T32Model::DelBeta_Click);
  betaGrid_ = new Grid(page);
  betaGrid_->setObjectName(QStringLiteral("BetaGrid"));
  editA_ = new CellEditor(*betaGrid_);
  editA_->setObjectName(QStringLiteral("EditA"));
  editA_->SetCommitHandler([this](const CellEdit& edit) { CommitBeta(edit); });
  editA_->SetKeyUpHandler([this] { ResizeNameEditor(); });
  betaGrid_->SetKeyHandler([this](QKeyEvent* event) {
    std::optional<StartKey> key = StartKeyOf(*event);
    return key && BetaGridKey(*key);
  });
  connect(betaGrid_, &QTableWidget::cellDoubleClicked, this, [this] { BetaGridKey(StartKey::Enter()); });
  refineOptions_ = new QGroupBox(page);
  refineOptions_->setObjectName(QStringLiteral("RefineOptions"));
  refineOptions_->setAutoFillBackground(true);
  auto* options = new QVBoxLayout(refineOptions_);
  options->setContentsMargins(4, 2, 4, 2);
  options->setSpacing(0);
  const std::array<const char*, 3> captions{"&Ignore", "&Constant", "&Refine"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(QString::fromLatin1(captions[static_cast<std::size_t>(i)]), refineOptions_);
    option->setObjectName(QStringLiteral("KeyOption%1").arg(i));
    options->addWidget(option);
    keyOption_[static_cast<std::size_t>(i)] = option;
  }
  refineOptions_->adjustSize();
  refineOptions_->hide();
  return page;
}

QWidget* T32Model::BuildSolidsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("BetaFrame3"));
  addSol_ = Button("Add solid", "AddSol", "Complex with known solubility product", page);
  delSol_ = Button("Remove solid", "DelSol", nullptr, page);
  connect(addSol_, &QPushButton::clicked, this, &T32Model::AddSol_Click);
  connect(delSol_, &QPushButton::clicked, this, &T32Model::DelSol_Click);
  kspGrid_ = new Grid(page);
  kspGrid_->setObjectName(QStringLiteral("KspGrid"));
  editK_ = new CellEditor(*kspGrid_);
  editK_->setObjectName(QStringLiteral("EditK"));
  editK_->SetCommitHandler([this](const CellEdit& edit) { CommitKsp(edit); });
  kspGrid_->SetKeyHandler([this](QKeyEvent* event) {
    std::optional<StartKey> key = StartKeyOf(*event);
    return key && KspGridKey(*key);
  });
  connect(kspGrid_, &QTableWidget::cellDoubleClicked, this, [this] { KspGridKey(StartKey::Enter()); });
  return page;
}

void T32Model::LayOutModelPage() {
  QWidget* page = betaFrame_[kModelPage];
  int margin = TwipsToPixelsX(kMarginTwips);
  int inner = std::max(page->width() - 2 * margin, 1);
  editBox_[0]->setGeometry(margin, TwipsToPixelsY(kTitleTopTwips), inner, editBox_[0]->sizeHint().height());
  int half = (inner - margin) / 2;
  addBeta_->setGeometry(margin, TwipsToPixelsY(kButtonsTopTwips), half, addBeta_->sizeHint().height());
  delBeta_->setGeometry(2 * margin + half, TwipsToPixelsY(kButtonsTopTwips), half, delBeta_->sizeHint().height());
  betaGrid_->move(margin, TwipsToPixelsY(kBetaGridTopTwips));
  FitGrid(*betaGrid_);
}

void T32Model::LayOutSolidsPage() {
  QWidget* page = betaFrame_[kSolidsPage];
  int margin = TwipsToPixelsX(kMarginTwips);
  int half = (std::max(page->width() - 2 * margin, 1) - margin) / 2;
  addSol_->setGeometry(margin, TwipsToPixelsY(kTitleTopTwips), half, addSol_->sizeHint().height());
  delSol_->setGeometry(2 * margin + half, TwipsToPixelsY(kTitleTopTwips), half, delSol_->sizeHint().height());
  kspGrid_->move(margin, TwipsToPixelsY(kButtonsTopTwips));
  FitGrid(*kspGrid_);
}

void T32Model::FillBetaGrid() {
  const ProjectState& s = session_.project;
  CancelRefineChoice();
  Grid& g = *betaGrid_;
  g.ClearCells();
  g.SetRows(s.nspecies + 1);
  g.SetCols(s.nreag + 3);
  g.SetColAlignment(1, Qt::AlignHCenter);
  g.SetColWidthTwips(1, kLogColTwips);
  for (int j = 1; j <= s.nreag; ++j) {
    g.SetColAlignment(1 + j, Qt::AlignHCenter);
    g.SetColWidthTwips(1 + j, ReagentColTwips(s.name(j)));
  }
  g.SetColAlignment(s.nreag + 2, Qt::AlignHCenter);
  g.SetColWidthTwips(s.nreag + 2, std::max(kKeyColTwips, PixelsToTwipsX(TextCellWidth(g, "choose"))));
  g.SetRowHeightTwips(0, Grid::kDefaultRowTwips);
  int widest = kMinFormulaPixels;
  for (int i = 1; i <= s.nspecies; ++i) widest = std::max(widest, DrawSpeciesRow(i));
  QColor face = g.palette().color(QPalette::Button);
  g.SetText(0, 0, "Formula");
  g.SetText(0, 1, "Log Beta");
  for (int c : {0, 1, s.nreag + 2}) g.SetCellBackColour(0, c, face);
  for (int j = 1; j <= s.nreag; ++j) {
    g.SetText(0, 1 + j, s.name(j));
    g.SetCellBackColour(0, 1 + j, kLightCyan);
  }
  WidenColsToContents(g);  // a long constant or " 5 Constraint" shows whole
  FillKspGrid(widest);
}

// Draws species row i; returns the width of its formula picture.
int T32Model::DrawSpeciesRow(int i) {
  const ProjectState& s = session_.project;
  Grid& g = *betaGrid_;
  g.SetRowHeightTwips(i, Grid::kDefaultRowTwips);
  int width = 0;
  g.SetCellPicture(i, 0, FormulaCellPicture(SpeciesFormula(s, i), CurveColour(s, s.nreag + i), width));
  g.SetText(i, 1, ConstantText(s.logbeta(i)));
  for (int j = 1; j <= s.nreag; ++j) g.SetText(i, 1 + j, CoefficientText(s.a(j, i)));
  g.SetText(i, s.nreag + 2, RefineText(s.refine(i)));
  return width;
}

// The solids grid (when there are solids) with the column widths of the
// species grid; the formula column of both fits the widest formula.
void T32Model::FillKspGrid(int widest) {
  const ProjectState& s = session_.project;
  Grid& k = *kspGrid_;
  k.ClearCells();
  std::vector<QPixmap> pictures;
  for (int solid = 1; solid <= s.nsolids; ++solid) {
    int width = 0;
    pictures.push_back(FormulaCellPicture(SolidName(s, solid), CurveColour(s, s.nreag + s.nspecies + solid), width));
    widest = std::max(widest, width);
  }
  // The widest formula whole with the grid's margins, at least 51 pixels.
  int formulaPixels = std::max(PictureCellWidth(*betaGrid_, widest), kMinFormulaPixels + 1);
  betaGrid_->SetColWidthTwips(0, PixelsToTwipsX(formulaPixels));
  FitGrid(*betaGrid_);
  if (s.nsolids < 1) {
    k.SetRows(0);
    return;
  }
  k.SetRows(s.nsolids + 1);
  k.SetCols(s.nreag + 2);
  k.SetFixedRows(1);
  k.SetFixedCols(1);
  for (int c = 0; c <= s.nreag + 1; ++c) k.SetColWidthTwips(c, betaGrid_->ColWidthTwips(c));
  k.SetColAlignment(1, Qt::AlignHCenter);
  for (int j = 1; j <= s.nreag; ++j) k.SetColAlignment(1 + j, Qt::AlignLeft);
  k.SetRowHeightTwips(0, Grid::kDefaultRowTwips);
  k.SetText(0, 1, "Log(Ksp)");
  for (int j = 1; j <= s.nreag; ++j) k.SetText(0, 1 + j, s.name(j));
  for (int solid = 1; solid <= s.nsolids; ++solid) {
    k.SetRowHeightTwips(solid, Grid::kDefaultRowTwips);
    k.SetCellPicture(solid, 0, pictures[static_cast<std::size_t>(solid - 1)]);
    k.SetText(solid, 1, ConstantText(s.logksp(solid)));
    for (int j = 1; j <= s.nreag; ++j) k.SetText(solid, 1 + j, CoefficientText(s.sa(j, solid)));
  }
  // The first solid is current until the user picks another, so "Remove
  // solid" always has a row to ask about.
  if (k.Row() < 1 || k.Row() > s.nsolids) k.SetCurrentCell(1, 1);
  FitGrid(k);
}

// A key (or a double-click, as Enter) on the species grid: which cell edits what.
bool T32Model::BetaGridKey(const StartKey& key) {
  const ProjectState& s = session_.project;
  int row = betaGrid_->Row();
  int col = betaGrid_->Col();
  if (row < 0 || col < 0) return true;
  CancelRefineChoice();
  bool reagentCol = col >= 2 && col <= s.nreag + 1;
  if (row == 0) {
    if (reagentCol) editA_->StartCellEdit(key);
  } else if (col == 1 || reagentCol) {
    editA_->StartCellEdit(key);
  } else if (col == s.nreag + 2) {
    StartRefineChoice(row);
  }
  return true;
}

bool T32Model::KspGridKey(const StartKey& key) {
  int row = kspGrid_->Row();
  int col = kspGrid_->Col();
  if (row >= 1 && col >= 1 && col <= session_.project.nreag + 1) editK_->StartCellEdit(key);
  return true;
}

void T32Model::CommitBeta(const CellEdit& edit) {
  const ProjectState& s = session_.project;
  if (!edit.Changed()) return;
  if (edit.row == 0) {
    if (edit.col >= 2 && edit.col <= s.nreag + 1) edit::RenameReagent(session_.edits, edit.col - 1, edit.text);
    return;
  }
  if (edit.row > s.nspecies) return;
  std::optional<double> value = ReadNumber(edit.text);
  if (!value) return;  // the old value stays, and the cell still shows it
  if (edit.col == 1)
    edit::SetLogBeta(session_.edits, edit.row, *value);
  else if (edit.col >= 2 && edit.col <= s.nreag + 1)
    edit::SetSpeciesCoefficient(session_.edits, edit.col - 1, edit.row, *value);
}

// While a reagent name is typed its column grows with it.
void T32Model::ResizeNameEditor() {
  if (!editA_->Editing() || editA_->EditRow() != 0) return;
  int col = editA_->EditCol();
  if (col < 2 || col > session_.project.nreag + 1) return;
  int twips = ReagentColTwips(FromQ(editA_->text()));
  editA_->resize(TwipsToPixelsX(twips), editA_->height());
  betaGrid_->SetColWidthTwips(col, twips);
  FitGridWidth(*betaGrid_);
}

void T32Model::CommitKsp(const CellEdit& edit) {
  const ProjectState& s = session_.project;
  const int k = edit.row;
  if (!edit.Changed() || k < 1 || k > s.nsolids) return;
  std::optional<double> value = ReadNumber(edit.text);
  if (!value) return;
  if (edit.col == 1)
    edit::SetLogKsp(session_.edits, k, *value);
  else if (edit.col >= 2 && edit.col <= s.nreag + 1)
    edit::SetSolidCoefficient(session_.edits, edit.col - 1, k, *value);
}

// The refine options open below the key cell of species `row`.
void T32Model::StartRefineChoice(int row) {
  const ProjectState& s = session_.project;
  Grid& g = *betaGrid_;
  const int col = s.nreag + 2;
  refineRow_ = row;
  refineBefore_ = s.refine(row);
  g.SetText(row, col, "choose");
  QRect cell = g.CellRect(row, col);
  QWidget* page = betaFrame_[kModelPage];
  QPoint at = g.mapTo(page, cell.bottomLeft() + QPoint(0, 1));
  refineOptions_->adjustSize();
  int left = std::max(0, std::min(at.x(), page->width() - refineOptions_->width()));
  refineOptions_->move(left, at.y());
  refineOptions_->raise();
  refineOptions_->show();
  int index = s.refine(row) + 1;
  for (QRadioButton* option : keyOption_) option->setAutoExclusive(false);
  for (int i = 0; i < 3; ++i) keyOption_[static_cast<std::size_t>(i)]->setChecked(i == index);
  for (QRadioButton* option : keyOption_) option->setAutoExclusive(true);
  keyOption_[static_cast<std::size_t>(std::clamp(index, 0, 2))]->setFocus(Qt::OtherFocusReason);
}

// Ignoring a species (or no longer ignoring it) changes the results, so it
// invalidates them as a log beta does; the other keys change nothing here.
void T32Model::KeyOption_Choose(int index) {
  const ProjectState& s = session_.project;
  const int i = refineRow_;
  if (i < 1 || i > s.nspecies || index < 0 || index > 2) return;
  refineRow_ = 0;
  refineOptions_->hide();
  edit::SetRefineKey(session_.edits, i, index - 1);
  betaGrid_->SetText(i, s.nreag + 2, RefineText(s.refine(i)));
  FocusCell(*betaGrid_, i, s.nreag + 2);
}

void T32Model::CancelRefineChoice() {
  const ProjectState& s = session_.project;
  int i = refineRow_;
  refineRow_ = 0;
  if (refineOptions_ != nullptr) refineOptions_->hide();
  if (i >= 1 && i <= s.nspecies && betaGrid_->Rows() > i) betaGrid_->SetText(i, s.nreag + 2, RefineText(s.refine(i)));
}

void T32Model::AddBeta_Click() {
  const ProjectState& s = session_.project;
  CommitEdit();
  int n = 0;
  edit::AddSpecies(session_.edits, std::max(betaGrid_->Row(), 0), &n);
  Grid& g = *betaGrid_;
  g.SetCellPicture(n, 0, QPixmap());
  for (int c = 1; c <= s.nreag + 1; ++c) g.SetText(n, c, "");
  FocusCell(g, n, 1);
}

// The row with the current cell goes, after the user agreed; the heading
// row holds no species, so nothing is removed while it is current.
void T32Model::DelBeta_Click() {
  const ProjectState& s = session_.project;
  CommitEdit();
  Grid& g = *betaGrid_;
  const int r = g.Row();
  if (r < 1 || r > s.nspecies || s.nspecies < 2) return;
  HighlightRow(g);
  bool yes = AskYesNo("Delete Selected Beta?", kEditorTitle, this);
  ClearHighlight(g);
  if (!yes || edit::RemoveSpecies(session_.edits, r) == Change::kNone) return;
  FocusCell(g, std::min(r, s.nspecies), 1);
}

void T32Model::AddSol_Click() {
  CommitEdit();
  edit::AddSolid(session_.edits);
  FocusCell(*kspGrid_, session_.project.nsolids, 1);  // typing goes to the new log Ksp, as after "Add B"
}

void T32Model::DelSol_Click() {
  const ProjectState& s = session_.project;
  CommitEdit();
  Grid& k = *kspGrid_;
  const int r = k.Row();
  if (r < 1 || r > s.nsolids) return;
  HighlightRow(k);
  bool yes = AskYesNo("Delete the solubility product?", kEditorTitle, this);
  ClearHighlight(k);
  if (yes) edit::RemoveSolid(session_.edits, r);
}

// The grids of the model and solids pages from the project again, each
// keeping its current cell where it still exists, with the buttons that
// depend on the counts.
void T32Model::RefillModelGrids() {
  const ProjectState& s = session_.project;
  const int row = betaGrid_->Row(), col = betaGrid_->Col();
  const int solidRow = kspGrid_->Row(), solidCol = kspGrid_->Col();
  FillBetaGrid();
  kspGrid_->setVisible(s.nsolids > 0);
  delSol_->setEnabled(s.nsolids > 0);
  delBeta_->setEnabled(s.nspecies >= 2);
  LayOutPages();
  if (row >= 0 && col >= 0) betaGrid_->SetCurrentCell(std::min(row, s.nspecies), std::min(col, s.nreag + 2));
  if (s.nsolids > 0 && solidRow >= 1 && solidCol >= 1)
    kspGrid_->SetCurrentCell(std::min(solidRow, s.nsolids), std::min(solidCol, s.nreag + 1));
}

}  // namespace tarn::gui

// The "Conditions" page: the calculation type, the titration's volumes with
// the added-volume buttons, the conditions grid of either type and the
// project title's box.

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "gui/app/main_window.h"
#include "gui/editor/editor_layout.h"
#include "gui/editor/model_window.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/app/project_edits.h"
#include "core/model/model.h"
#include "core/model/model_edits.h"
#include "core/model/number_text.h"

namespace tarn::gui {

using namespace editor_layout;

namespace {

std::string AmountText(double value) {
  return FormatPattern(value, "###0.0####");
}

bool SameAtSinglePrecision(double a, double b) {
  return static_cast<float>(a) == static_cast<float>(b);
}

std::string PxText(double value) {
  return FormatPattern(value, "###0.0##");
}

}  // namespace

QWidget* T32Model::BuildConditionsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("BetaFrame2"));
  condArea_ = new QWidget(page);
  typeRow_ = new QWidget(condArea_);
  auto* options = new QHBoxLayout(typeRow_);
  options->setContentsMargins(0, 0, 0, 0);
  const std::array<const char*, 2> captions{"&Titration simulation", "Species &Distribution"};
  for (int i = 0; i < 2; ++i) {
    auto* option = new QRadioButton(QString::fromLatin1(captions[static_cast<std::size_t>(i)]), typeRow_);
    option->setObjectName(QStringLiteral("TarnOption%1").arg(i));
    connect(option, &QRadioButton::clicked, this, [this, i] { TarnOption_MouseUp(i); });
    options->addWidget(option);
    tarnOption_[static_cast<std::size_t>(i)] = option;
  }
  options->addStretch(1);
  BuildVolumePanels(condArea_);
  condGrid_ = new Grid(condArea_);
  condGrid_->setObjectName(QStringLiteral("CondGrid"));
  editB_ = new CellEditor(*condGrid_);
  editB_->setObjectName(QStringLiteral("EditB"));
  editB_->SetCommitHandler([this](const CellEdit& edit) { CommitCond(edit); });
  condGrid_->SetKeyHandler([this](QKeyEvent* event) {
    std::optional<StartKey> key = StartKeyOf(*event);
    return key && CondGridKey(*key);
  });
  connect(condGrid_, &QTableWidget::cellDoubleClicked, this, [this] { CondGridKey(StartKey::Enter()); });
  betaFrame_[kStrengthFrame] = BuildStrengthFrame(page);
  return page;
}

QWidget* T32Model::BuildVolumePanels(QWidget* parent) {
  viPanel_ = new QGroupBox(QStringLiteral("Initial volume"), parent);
  viPanel_->setObjectName(QStringLiteral("ViPanel"));
  editBox_[1] = new QLineEdit(viPanel_);
  editBox_[1]->setObjectName(QStringLiteral("EditBox1"));
  auto* vi = new QHBoxLayout(viPanel_);
  vi->setContentsMargins(6, 2, 6, 4);
  vi->addWidget(editBox_[1]);
  vfPanel_ = new QGroupBox(QStringLiteral("Added volume"), parent);
  vfPanel_->setObjectName(QStringLiteral("VfPanel"));
  editBox_[2] = new QLineEdit(vfPanel_);
  editBox_[2]->setObjectName(QStringLiteral("EditBox2"));
  auto* steps = new QVBoxLayout;
  steps->setSpacing(0);
  for (int i = 0; i < 2; ++i) {
    auto* step = new QToolButton(vfPanel_);
    step->setObjectName(QStringLiteral("Incr%1").arg(i));
    step->setArrowType(i == 0 ? Qt::UpArrow : Qt::DownArrow);
    step->setFixedSize(16, 11);
    step->setFocusPolicy(Qt::NoFocus);
    connect(step, &QToolButton::clicked, this, [this, i] { Incr_Click(i); });
    steps->addWidget(step);
  }
  auto* vf = new QHBoxLayout(vfPanel_);
  vf->setContentsMargins(6, 2, 6, 4);
  vf->setSpacing(2);
  vf->addWidget(editBox_[2]);
  vf->addLayout(steps);
  return vfPanel_;
}

// The conditions page as the window loads: the type, the volumes (a
// titration's added volume in its step format) and the pX defaults.
void T32Model::LoadConditions() {
  const ProjectState& s = session_.project;
  tarnOption_[static_cast<std::size_t>(s.type == kTitration ? 0 : 1)]->setChecked(true);
  editBox_[1]->setText(ToQ(FormatPattern(s.volume[kTitration], "###0.0#####")));
  addedVolume_ = s.vfinal - s.volume[kTitration];
  editBox_[2]->setText(ToQ(std::string(Trim(PlainText(addedVolume_)))));
  Spinner(0);
  PrepareConditions(session_.project, addedVolume_);
  ShowVolumes();
  for (std::size_t i = 0; i < boxStart_.size(); ++i)
    boxStart_[i] = boxSeen_[i] = boxGood_[i] = FromQ(editBox_[i]->text());
}

// The type's option, the volume boxes of that type and its grid, as the
// project has them now (another window changed them, or an undo).
void T32Model::ShowType() {
  const ProjectState& s = session_.project;
  tarnOption_[static_cast<std::size_t>(s.type == kTitration ? 0 : 1)]->setChecked(true);
  ShowBoxes();
  ShowVolumes();
  FillCondGrid();
}

void T32Model::ShowBoxes() {
  const ProjectState& s = session_.project;
  const std::size_t t = static_cast<std::size_t>(s.type);
  editBox_[0]->setText(ToQ(s.title));
  editBox_[1]->setText(ToQ(AmountText(s.volume[t])));
  addedVolume_ = s.vfinal - s.volume[t];
  editBox_[2]->setText(ToQ(AmountText(addedVolume_)));
  for (std::size_t i = 0; i < boxSeen_.size(); ++i) boxSeen_[i] = boxGood_[i] = FromQ(editBox_[i]->text());
}

void T32Model::ShowVolumes() {
  bool titration = session_.project.type == kTitration;
  viPanel_->setVisible(titration);
  vfPanel_->setVisible(titration);
}

void T32Model::LayOutConditionsPage() {
  const ProjectState& s = session_.project;
  QWidget* page = betaFrame_[kConditionsPage];
  int margin = TwipsToPixelsX(kMarginTwips);
  int inner = std::max(page->width() - 2 * margin, 1);
  int gridTop = s.type == kTitration ? kTitrationGridTopTwips : kDistributionGridTopTwips;
  typeRow_->setGeometry(margin, 4, inner, typeRow_->sizeHint().height());
  int panelsTop = TwipsToPixelsY(kPanelsTopTwips);
  int panelsHeight = TwipsToPixelsY(kTitrationGridTopTwips - 60) - panelsTop;
  int half = (inner - margin) / 2;
  viPanel_->setGeometry(margin, panelsTop, half, panelsHeight);
  vfPanel_->setGeometry(2 * margin + half, panelsTop, inner - half - margin, panelsHeight);
  int gridTwips = 270;
  for (int r = 0; r < condGrid_->Rows(); ++r) gridTwips += condGrid_->RowHeightTwips(r);
  int wanted = TwipsToPixelsY(gridTop + gridTwips + 60);
  int area = std::min(wanted, page->height() * kConditionsSharePercent / 100);
  condArea_->setGeometry(0, 0, page->width(), area);
  condGrid_->move(margin, TwipsToPixelsY(gridTop));
  FitGrid(*condGrid_);
  betaFrame_[kStrengthFrame]->setGeometry(margin, area, inner, std::max(page->height() - area - margin / 2, 1));
  LayOutStrengthFrame();
}

// Choosing the calculation type (with solids too: a precipitation titration).
void T32Model::TarnOption_MouseUp(int index) {
  if (index != kTitration && index != kDistribution) return;
  CommitEdit();
  edit::SetCalculationType(session_.edits, index);
  tarnOption_[static_cast<std::size_t>(index)]->setChecked(true);
}

void T32Model::FillCondGrid() {
  Grid& g = *condGrid_;
  g.ClearCells();
  if (session_.project.type == kTitration)
    FillTitrationGrid();
  else
    FillDistributionGrid();
  SetReagentPictures();
  WidenColsToContents(g);  // long reagent names and headings show whole
  LayOutConditionsPage();
}

// The layout both types share: a heading row two lines high and a reagent
// column, then value columns of the given widths, centred.
void T32Model::LayOutCondGrid(std::initializer_list<int> valueColTwips) {
  Grid& g = *condGrid_;
  g.SetRows(session_.project.nreag + 1);
  g.SetCols(static_cast<int>(valueColTwips.size()) + 1);
  g.SetFixedRows(1);
  g.SetFixedCols(1);
  g.SetRowHeightTwips(0, kHeaderRowTwips);
  g.SetColWidthTwips(0, kReagentColTwips);
  int c = 1;
  for (int twips : valueColTwips) {
    g.SetColWidthTwips(c, twips);
    g.SetColAlignment(c++, Qt::AlignHCenter);
  }
}

void T32Model::FillTitrationGrid() {
  const ProjectState& s = session_.project;
  Grid& g = *condGrid_;
  LayOutCondGrid({kValueColTwips, kValueColTwips});
  g.SetText(0, 0, "Reagent");
  g.SetText(0, 1, "total\rmillimoles");
  g.SetText(0, 2, "burette\rconcentration");
  for (int j = 1; j <= s.nreag; ++j) {
    g.SetRowHeightTwips(j, Grid::kDefaultRowTwips);
    g.SetText(j, 1, AmountText(s.total(j, kTitration)));
    g.SetText(j, 2, AmountText(s.burette(j, kTitration)));
  }
}

// The pX columns are headed by the one reagent given by pX (" pH" for the
// proton), or " pX" when there are several or none.
void T32Model::FillDistributionGrid() {
  const ProjectState& s = session_.project;
  Grid& g = *condGrid_;
  LayOutCondGrid({kValueColTwips, kValueColTwips, kPxColTwips, kPxColTwips});
  int byPx = 0;
  int pxReagent = 0;
  for (int j = 1; j <= s.nreag; ++j) {
    g.SetRowHeightTwips(j, Grid::kDefaultRowTwips);
    if (s.flag(j, kDistribution)) {
      g.SetText(j, 1, FormatValue(s.initial(j, kDistribution)));
      g.SetText(j, 2, FormatValue(s.final(j, kDistribution)));
    } else {
      g.SetText(j, 3, PxText(s.pxi(j, kDistribution)));
      g.SetText(j, 4, PxText(s.pxf(j, kDistribution)));
      ++byPx;
      pxReagent = j;
    }
  }
  std::string label = byPx == 1 ? " p" + std::string(Trim(s.name(pxReagent))) : " pX";
  g.SetText(0, 0, "Reagent");
  g.SetText(0, 1, "initial\rconcentration");
  g.SetText(0, 2, "final\rconcentration");
  g.SetText(0, 3, label + "\r start");
  g.SetText(0, 4, label + "\r final");
}

void T32Model::SetReagentPictures() {
  const ProjectState& s = session_.project;
  for (int j = 1; j <= s.nreag; ++j) {
    int width = 0;
    condGrid_->SetCellPicture(j, 0, FormulaCellPicture(s.name(j), CurveColour(s, j), width));
  }
}

// A key on the conditions grid opens the editor; in a distribution the
// column chosen decides whether the reagent is given by its totals (columns
// 1 and 2) or by pX (3 and 4), which the commit applies.
bool T32Model::CondGridKey(const StartKey& key) {
  const ProjectState& s = session_.project;
  const int j = condGrid_->Row();
  const int col = condGrid_->Col();
  if (j < 1 || j > s.nreag || col < 1) return true;
  editB_->StartCellEdit(key);
  return true;
}

void T32Model::CommitCond(const CellEdit& edit) {
  const ProjectState& s = session_.project;
  const int j = edit.row;
  if (j < 1 || j > s.nreag) return;
  std::optional<double> value;
  if (edit.Changed()) value = ReadNumber(edit.text);
  EditSession::Origin from(session_.edits, this);
  if (s.type == kTitration) {
    if (!value) return;
    edit::SetTitrationCondition(session_.edits, j, edit.col, *value);
    condGrid_->SetText(j, edit.col, edit.text);  // the cell keeps the text as typed
    return;
  }
  // A refused value changes nothing; an unchanged one still switches the
  // reagent between totals and pX when the column says so.
  if (!edit.Changed() || value) edit::SetDistributionCondition(session_.edits, j, edit.col, value);
  FillCondGrid();  // the values in their formats, the other pair emptied
  condGrid_->SetCurrentCell(j, edit.col);
}

// The title and volume boxes act on every change of their text; the keys
// typed into one box while it has the focus are one step.
void T32Model::EditBox_KeyUp(int index) {
  const std::size_t i = static_cast<std::size_t>(index);
  std::string text = FromQ(editBox_[i]->text());
  if (text == boxSeen_[i]) return;
  boxSeen_[i] = text;
  EditSession::Origin from(session_.edits, this);
  if (index == 0) {
    edit::SetTitle(session_.edits, text);
    return;
  }
  // Read quietly while it is typed ("-" is on its way to "-1"); a text that
  // is still not a number when the box is left is refused then.
  std::optional<double> read = TypedNumber(text);
  if (!read) return;
  boxGood_[i] = text;
  const double value = *read;
  if (index == 1) {
    edit::SetInitialVolume(session_.edits, value, addedVolume_, "initial volume");
    return;
  }
  // Only a positive volume is taken; the box shows the one still in use
  // after a refusal (an empty box while the user retypes changes nothing).
  if (value < 0) {
    ShowMessage("Added volume must be positive", kAppTitle, this);
    editBox_[2]->setText(ToQ(AmountText(addedVolume_)));
    boxSeen_[2] = FromQ(editBox_[2]->text());
    return;
  }
  if (value == 0) return;
  addedVolume_ = value;
  edit::SetAddedVolume(session_.edits, value, "added volume");
}

// A volume box left with a text that is not a number: the message, and the
// box shows the last number typed, the value the project holds.
void T32Model::RefuseBoxText(int index) {
  const std::size_t i = static_cast<std::size_t>(index);
  if (index < 1 || index > 2 || TypedNumber(FromQ(editBox_[i]->text()))) return;
  editBox_[i]->setText(ToQ(boxGood_[i]));
  boxSeen_[i] = boxGood_[i];
  ShowMessage(kInvalidNumberMessage, kAppTitle, this);
}

void T32Model::Incr_Click(int index) {
  if (!tarnOption_[kTitration]->isChecked()) return;
  Spinner(index == 0 ? 1 : -1);
  EditSession::Origin from(session_.edits, this);
  edit::SetAddedVolume(session_.edits, addedVolume_);
}

// Steps the added volume shown by its step table; only for a titration. No
// lower bound is applied. Direction 0 (the window loading) shows the volume
// in its step format only when that is the same volume at the single
// precision the final volume was read with: opening the editor never changes
// the volume (12.5 mL would have become 13; 26.6 read as 26.6000004 shows 1.6).
void T32Model::Spinner(int direction) {
  if (!tarnOption_[kTitration]->isChecked()) return;
  double a = TypedNumber(FromQ(editBox_[2]->text())).value_or(addedVolume_);
  SpinStep step = SpinnerStep(a);
  std::string shown = FormatPattern(a + step.step * direction, step.format);
  const double volume = session_.project.volume[kTitration];
  if (direction == 0 && !SameAtSinglePrecision(volume + TypedNumber(shown).value_or(0), volume + a)) return;
  editBox_[2]->setText(ToQ(shown));
  boxSeen_[2] = boxGood_[2] = shown;
  addedVolume_ = TypedNumber(shown).value_or(0);
}

}  // namespace tarn::gui

#include "gui/editor/model_window.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "gui/app/main_window.h"
#include "gui/editor/editor_layout.h"
#include "gui/plot/painter_surface.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/number_text.h"
#include "core/plot/formula_text.h"

namespace tarn::gui {

using namespace editor_layout;

QPixmap FormulaCellPicture(const std::string& formula, Rgb colour, int& width) {
  QImage scratch(1, 1, QImage::Format_ARGB32);
  {
    QPainter measure(&scratch);
    PainterSurface surface(measure);
    width = FormulaText(surface, 0, kFormulaBaseline, kFormulaSize, formula);
  }
  QPixmap picture(std::max(width, 1), TwipsToPixelsY(Grid::kDefaultRowTwips) - 1);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PainterSurface surface(painter);
  surface.SetTextColour(colour);
  FormulaText(surface, 0, kFormulaBaseline, kFormulaSize, formula);
  return picture;
}

Rgb CurveColour(const ProjectState& state, int index) {
  return state.curveColours.at(static_cast<std::size_t>((index - 1) % kPaletteSize + 1));
}

T32Model::T32Model(Session& session, T32Main& main, QWidget* parent)
    : QWidget(parent), session_(session), main_(main) {
  setWindowTitle(QStringLiteral("Model"));
  setObjectName(QStringLiteral("T32Model"));
  BuildTabs();
  resize(TwipsToPixelsX(kEditorWidthTwips), TwipsToPixelsY(kInitialHeightTwips));
  Form_Load();
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

// What a change of the project means for the pages. The boxes and the
// titration cells the user typed into keep their text as typed.
void T32Model::OnChange(const ChangeNote& note) {
  const Change c = note.changes;
  const bool mine = note.origin == this;
  if (Has(c, kModelReshaped)) {
    Reload();
    return;
  }
  if (Has(c, Change::kType)) ShowType();
  if (Has(c, Change::kConstants | Change::kFormulas | Change::kNames | Change::kSpeciesAdded |
                 Change::kSpeciesRemoved | Change::kSolids))
    RefillModelGrids();
  if (Has(c, Change::kNames | Change::kConditions)) FillActivity();
  if (Has(c, Change::kConditions | Change::kNames) && !mine) {
    const int row = condGrid_->Row(), col = condGrid_->Col();
    FillCondGrid();
    if (row >= 1 && col >= 1) condGrid_->SetCurrentCell(row, col);
  }
  if (Has(c, Change::kTitle | Change::kConditions) && !mine) ShowBoxes();
}

// An edit still open when the window goes is dropped here (closing the
// window commits it first); nothing may reach the half-destroyed window.
T32Model::~T32Model() {
  for (CellEditor* editor : {editA_, editK_, editB_}) {
    editor->SetCommitHandler({});
    editor->SetKeyUpHandler({});
    editor->Discard();
  }
}

void T32Model::BuildTabs() {
  potTab_ = new QTabWidget(this);
  potTab_->setObjectName(QStringLiteral("PotTab"));
  betaFrame_[kModelPage] = BuildModelPage();
  betaFrame_[kConditionsPage] = BuildConditionsPage();
  betaFrame_[kSolidsPage] = BuildSolidsPage();
  potTab_->addTab(betaFrame_[kModelPage], QStringLiteral("Model"));
  potTab_->addTab(betaFrame_[kConditionsPage], QStringLiteral("Conditions"));
  potTab_->addTab(betaFrame_[kSolidsPage], QStringLiteral("Solids"));
  for (int page = kModelPage; page <= kSolidsPage; ++page) betaFrame_[page]->installEventFilter(this);
  for (QLineEdit* box : editBox_) box->installEventFilter(this);
  for (QRadioButton* option : keyOption_) option->installEventFilter(this);
}

// What loading the window does: every page filled from the project.
void T32Model::Form_Load() {
  const ProjectState& s = session_.project;
  editBox_[0]->setText(ToQ(s.title));
  delBeta_->setEnabled(s.nspecies >= 2);
  delSol_->setEnabled(s.nsolids > 0);
  kspGrid_->setVisible(s.nsolids > 0);
  LoadConditions();
  FillBetaGrid();
  FillCondGrid();
  FillActivity();
  ShowPage(kModelPage);
  LayOutPages();
}

// The project changed under the window (read, reagent added or removed): an
// edit still open belongs to cells that are gone, so it is dropped.
void T32Model::Reload() {
  for (CellEditor* editor : {editA_, editK_, editB_}) editor->Discard();
  refineRow_ = 0;
  refineOptions_->hide();
  Form_Load();
}

void T32Model::CommitEdit() {
  for (CellEditor* editor : {editA_, editK_, editB_}) editor->Commit();
  RefuseBoxText(1);
  RefuseBoxText(2);
  CancelRefineChoice();
}

void T32Model::ShowPage(int page) {
  if (page >= kModelPage && page <= kSolidsPage) potTab_->setCurrentIndex(page - 1);
}

int T32Model::CurrentPage() const {
  return potTab_->currentIndex() + 1;
}

void T32Model::FocusConditions(ConditionsFocus focus) {
  ShowPage(kConditionsPage);
  if (focus == ConditionsFocus::kInitialVolume) editBox_[1]->setFocus(Qt::OtherFocusReason);
  if (focus == ConditionsFocus::kAddedVolume) editBox_[2]->setFocus(Qt::OtherFocusReason);
}

std::optional<double> T32Model::ReadNumber(const std::string& text) {
  GuiMessageSink sink(this);
  return ParseTypedNumber(text, sink);
}

void T32Model::LayOutPages() {
  for (int page = kModelPage; page <= kSolidsPage; ++page) LayOutPage(betaFrame_[page]);
}

void T32Model::LayOutPage(QWidget* page) {
  if (page == betaFrame_[kModelPage]) LayOutModelPage();
  if (page == betaFrame_[kConditionsPage]) LayOutConditionsPage();
  if (page == betaFrame_[kSolidsPage]) LayOutSolidsPage();
}

void T32Model::closeEvent(QCloseEvent* event) {
  CommitEdit();
  event->accept();
}

// The tab strip fills the window less a margin; the pages follow it.
void T32Model::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isMinimized()) return;
  main_.Splitter(1);
  main_.Splitter2(1);
  main_.Splitter3(1);
  int margin = TwipsToPixelsX(kTabMarginTwips) / 2;
  potTab_->setGeometry(margin, margin, std::max(width() - 2 * margin, 1), std::max(height() - 2 * margin, 1));
}

bool T32Model::eventFilter(QObject* watched, QEvent* event) {
  if (watched == strengthArea_ && event->type() == QEvent::Resize) LayOutStrengthFrame();
  for (int page = kModelPage; page <= kSolidsPage; ++page)
    if (watched == betaFrame_[page] && event->type() == QEvent::Resize) LayOutPage(betaFrame_[page]);
  for (std::size_t i = 0; i < editBox_.size(); ++i) {
    if (watched != editBox_[i]) continue;
    if (event->type() == QEvent::FocusIn) {
      boxStart_[i] = boxSeen_[i] = boxGood_[i] = FromQ(editBox_[i]->text());
      session_.edits.EndRun();  // typing here again is a step of its own
    }
    // Leaving the box refuses a text that is no number; another window or a
    // menu taking the focus for a while does not leave it.
    if (event->type() == QEvent::FocusOut) {
      Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        RefuseBoxText(static_cast<int>(i));
        session_.edits.EndRun();
      }
    }
    if (event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Escape) editBox_[i]->setText(ToQ(boxStart_[i]));
      if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    if (event->type() == QEvent::KeyRelease) EditBox_KeyUp(static_cast<int>(i));
  }
  // A refine option applies when the mouse button is released over it or a
  // character key is pressed on it; the arrows only move between them.
  for (std::size_t i = 0; i < keyOption_.size(); ++i) {
    if (watched != keyOption_[i]) continue;
    if (event->type() == QEvent::MouseButtonRelease) {
      QWidget::eventFilter(watched, event);
      KeyOption_Choose(static_cast<int>(i));
      return true;
    }
    if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty()) {
      KeyOption_Choose(static_cast<int>(i));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tarn::gui

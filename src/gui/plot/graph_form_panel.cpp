// The speciation plot window's species list and caption editor, the scroll
// panel with its pop-up lists, and the copy of the plot.

#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/project_edits.h"
#include "gui/app/main_window.h"
#include "gui/plot/graph_form.h"
#include "gui/plot/painter_surface.h"
#include "gui/plot/plot_copy.h"
#include "gui/plot/plot_widgets.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/file_dialog.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr int kPlotColumnTwips = 360;
constexpr int kRowGapPixels = 4;       // above and below a formula picture, clear of the row lines
constexpr int kMinFormulaColumn = 50;  // pixels
constexpr int kPanelAboveRowTwips = 510;
constexpr int kBetaChosenMinWidth = 70;  // pixels
constexpr int kPopupEntryTwips = 195;
constexpr int kPopupExtraTwips = 30;
constexpr const char* kPlotFileFilter =
    "SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf|PNG picture (*.png)|*.png|";

QPixmap TickPicture(bool ticked) {
  QPixmap picture(14, 14);
  picture.fill(Qt::transparent);
  if (!ticked) return picture;
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawPolyline(QPolygonF({QPointF(2, 7), QPointF(5.5, 11), QPointF(12, 2.5)}));
  return picture;
}

// The formula column as wide as the widest picture with the grid's margins,
// never narrower than 50 pixels.
int FormulaColumnTwips(const Grid& grid, int widestPixels) {
  return PixelsToTwipsX(std::max(PictureCellWidth(grid, widestPixels), kMinFormulaColumn));
}

// A row as high as a formula picture and a gap, so sub- and superscripts
// keep clear of the row lines.
int FormulaRowTwips() {
  return PixelsToTwipsY(kFormulaPictureHeight + kRowGapPixels);
}

QScrollBar* ScrollBar(int n, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(QStringLiteral("BetaScroll%1").arg(n));
  bar->setRange(-kScrollRange, kScrollRange);
  bar->setSingleStep(1);
  bar->setPageStep(10);
  bar->setValue(0);
  bar->setTracking(false);  // a dragged thumb changes the value once, where it is let go
  return bar;
}

}  // namespace

// ---- The species list.

void GraphForm::FillPlotGrid() {
  const ProjectState& s = session_.project;
  int n = s.ntotal();
  Grid& grid = *plotGrid_;
  grid.ClearCells();
  grid.SetRows(n + 1);
  grid.SetCols(2);
  grid.SetFixedRows(1);
  grid.SetColWidthTwips(0, kPlotColumnTwips);
  grid.SetText(0, 0, "plot");
  int widest = 0;
  for (int k = 1; k <= n; ++k) {
    grid.SetRowHeightTwips(k, FormulaRowTwips());
    QPixmap formula = FormulaOf(k, true);
    widest = std::max(widest, formula.width());
    grid.SetCellPicture(k, 1, formula);
  }
  grid.SetColWidthTwips(1, FormulaColumnTwips(grid, widest));
  SetPlotGrid();
  SyncLabels();
  if (loading_) return;
  ShowReagentNames();
  LayoutControls();
}

// The reagents' names as the model has them now, in every list and label
// that shows one (after a reagent was renamed), and in the axis titles.
void GraphForm::ShowReagentNames() {
  const ProjectState& s = session_.project;
  for (QComboBox* list : {relto_, xvar_, txOpt_})
    for (int row = 0; row < list->count(); ++row) {
      int j = list->itemData(row).toInt();
      if (j >= 1 && j <= s.nreag) list->setItemText(row, ToQ(s.name(j)));
    }
  if (target_.reagent >= 1 && target_.reagent <= s.nreag) labelReagent_->setText(ToQ(s.name(target_.reagent)));
  BetaFill();
  PlotCurves();
}

void GraphForm::SetPlotGrid() {
  const ProjectState& s = session_.project;
  for (int k = 1; k <= s.ntotal() && k < plotGrid_->Rows(); ++k)
    plotGrid_->SetCellPicture(k, 0, TickPicture(k <= s.plotMark.Upper() && s.plotMark(k) == 1));
}

void GraphForm::PlotGrid_Click(int row, int col) {
  const ProjectState& s = session_.project;
  if (row < 1 || row > s.ntotal() || row > s.plotMark.Upper()) return;
  if (col == 1) {
    editedRow_ = row;
    savedCaption_ = s.caption(row);
    editA_->setText(ToQ(savedCaption_));
    QPalette palette = editA_->palette();
    palette.setColor(QPalette::Text, ToQColor(SpeciesColour(s, row, false)));
    editA_->setPalette(palette);
    QRect cell = plotGrid_->CellRect(row, 1);
    int top = plotGrid_->y() + cell.top() - TwipsToPixelsY(kPanelAboveRowTwips);
    namePanel_->setGeometry(plotGrid_->x(), std::max(0, top), std::max(plotGrid_->width(), 130),
                            namePanel_->sizeHint().height());
    namePanel_->show();
    namePanel_->raise();
    editA_->setFocus();
    return;
  }
  if (col != 0) return;
  ToggleMark(session_.project, session_.results, row);
  SetPlotGrid();
  PlotCurves();
}

// ---- The caption editor.

void GraphForm::MakeCaptionEditor() {
  namePanel_ = new QFrame(this);
  namePanel_->setObjectName(QStringLiteral("NamePanel"));
  namePanel_->setFrameShape(QFrame::Panel);
  namePanel_->setFrameShadow(QFrame::Raised);
  namePanel_->setAutoFillBackground(true);
  auto* column = new QVBoxLayout(namePanel_);
  column->setContentsMargins(3, 2, 3, 3);
  column->setSpacing(1);
  column->addWidget(new QLabel(QStringLiteral("f3 to change colour"), namePanel_));
  editA_ = new CaptionEdit(namePanel_);
  editA_->setObjectName(QStringLiteral("EditA"));
  column->addWidget(editA_);
  connect(editA_, &QLineEdit::textEdited, this, &GraphForm::EditA_Change);
  editA_->onEnter = [this] { EditA_Enter(); };
  editA_->onEscape = [this] { EditA_Escape(); };
  editA_->onColourKey = [this] { EditA_ColourKey(); };
  editA_->onFocusLost = [this] {
    if (!pickingColour_) HideCaptionEditor();
  };
  namePanel_->hide();
}

void GraphForm::EditA_Change(const QString& text) {
  int k = editedRow_;
  if (k < 1 || k > session_.project.ntotal()) return;
  EditSession::Origin from(session_.edits, this);
  edit::SetCaption(session_.edits, k, FromQ(text), "caption");
  RepaintLabel(k);
  QPixmap formula = FormulaOf(k, true);
  plotGrid_->SetCellPicture(k, 1, formula);
  int wanted = FormulaColumnTwips(*plotGrid_, formula.width());
  if (wanted > plotGrid_->ColWidthTwips(1)) {
    plotGrid_->SetColWidthTwips(1, wanted);
    LayoutControls();
  }
}

void GraphForm::EditA_Enter() {
  HideCaptionEditor();
  plotGrid_->setFocus();
}

void GraphForm::EditA_Escape() {
  editA_->setText(ToQ(savedCaption_));
  EditA_Change(editA_->text());
  HideCaptionEditor();
}

void GraphForm::HideCaptionEditor() {
  namePanel_->hide();
  session_.edits.EndRun();  // the next caption typed is a step of its own
}

// F3: a new colour for the species' palette entry (shared by every species
// on that entry).
void GraphForm::EditA_ColourKey() {
  const ProjectState& s = session_.project;
  int k = editedRow_;
  if (k < 1 || k > s.ntotal()) return;
  pickingColour_ = true;
  QColor chosen =
      QColorDialog::getColor(ToQColor(SpeciesColour(s, k, false)), this, QStringLiteral("Select curve colour"));
  pickingColour_ = false;
  if (!chosen.isValid()) return;
  {
    EditSession::Origin from(session_.edits, this);
    edit::SetCurveColour(session_.edits, k, FromQColor(chosen));
  }
  QPalette palette = editA_->palette();
  palette.setColor(QPalette::Text, chosen);
  editA_->setPalette(palette);
  for (int label = 0; label < static_cast<int>(labels_.size()); ++label) RepaintLabel(label);
  for (int row = 1; row <= s.ntotal() && row < plotGrid_->Rows(); ++row)
    plotGrid_->SetCellPicture(row, 1, FormulaOf(row, true));
  BetaFill();
  PlotCurves();
  editA_->setFocus();
}

// ---- The scroll panel.

QWidget* GraphForm::MakeScrollPanel() {
  scrollPanel_ = new QWidget(this);
  auto* column = new QVBoxLayout(scrollPanel_);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(MakeConstantFrame());
  column->addWidget(MakeConditionFrame());
  for (int n = 0; n < 2; ++n) {
    QScrollBar* bar = betaScroll_[static_cast<std::size_t>(n)];
    connect(bar, &QScrollBar::valueChanged, this, [this, n](int value) { BetaScroll_Change(n, value); });
    connect(bar, &QScrollBar::sliderReleased, this, [this] { session_.edits.EndRun(); });
  }
  return scrollPanel_;
}

// The constant's frame: its species (click to choose another), its value, its bar.
QGroupBox* GraphForm::MakeConstantFrame() {
  auto* frame = new QGroupBox(QStringLiteral("log beta"), scrollPanel_);
  frame->setObjectName(QStringLiteral("ScrollFrame0"));
  auto* grid = new QGridLayout(frame);
  betaChosen_ = new ClickLabel(frame);
  betaChosen_->setObjectName(QStringLiteral("BetaChosen"));
  betaChosen_->setToolTip(QStringLiteral("Click to change"));
  betaChosen_->setFrameShape(QFrame::Panel);
  betaChosen_->setFrameShadow(QFrame::Sunken);
  betaChosen_->setMinimumSize(kBetaChosenMinWidth, kFormulaPictureHeight + 4);
  betaChosen_->setCursor(Qt::PointingHandCursor);
  betaChosen_->onClick = [this] { BetaChosen_Click(); };
  auto* betaLabel = new QLabel(QStringLiteral("Log β"), frame);
  betaLabel->setObjectName(QStringLiteral("BetaLabel"));
  betaValue_[0] = new QLabel(frame);
  betaValue_[0]->setObjectName(QStringLiteral("BetaValue0"));
  betaScroll_[0] = ScrollBar(0, frame);
  grid->addWidget(betaChosen_, 0, 0);
  grid->addWidget(betaLabel, 0, 1, Qt::AlignRight);
  grid->addWidget(betaValue_[0], 0, 2);
  grid->addWidget(betaScroll_[0], 1, 0, 1, 3);
  return frame;
}

// The condition's frame: the reagent and the condition (click to choose
// others), its value, its bar.
QGroupBox* GraphForm::MakeConditionFrame() {
  auto* frame = new QGroupBox(QStringLiteral("log beta"), scrollPanel_);
  frame->setObjectName(QStringLiteral("ScrollFrame1"));
  auto* grid = new QGridLayout(frame);
  labelReagent_ = new ClickLabel(frame);
  labelReagent_->setObjectName(QStringLiteral("LabelReagent"));
  labelConc_ = new ClickLabel(frame);
  labelConc_->setObjectName(QStringLiteral("LabelConc"));
  labelConc_->setToolTip(QStringLiteral("Click to change"));
  for (ClickLabel* label : {labelReagent_, labelConc_}) {
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setCursor(Qt::PointingHandCursor);
  }
  labelReagent_->onClick = [this] { LabelReagent_Click(); };
  labelConc_->onClick = [this] { LabelConc_Click(); };
  betaValue_[1] = new QLabel(frame);
  betaValue_[1]->setObjectName(QStringLiteral("BetaValue1"));
  betaScroll_[1] = ScrollBar(1, frame);
  grid->addWidget(labelReagent_, 0, 0);
  grid->addWidget(labelConc_, 0, 1);
  grid->addWidget(betaValue_[1], 0, 2);
  grid->addWidget(betaScroll_[1], 1, 0, 1, 3);
  return frame;
}

// The panel shows the chosen constant and condition; both bars stand at 0.
void GraphForm::BetaFill() {
  const ProjectState& s = session_.project;
  ScrollPanel panel = ScrollPanelValues(s, target_);
  QPixmap chosen = panel.species > 0 ? FormulaPicture(s.caption(panel.species), SpeciesColour(s, panel.species, false),
                                                      PictureBackground::kWhite)
                                     : QPixmap();
  betaChosen_->setPixmap(chosen);
  // Wide enough for the whole formula inside its sunken frame.
  betaChosen_->setMinimumWidth(std::max(kBetaChosenMinWidth, chosen.width() + 2 * betaChosen_->frameWidth() + 4));
  betaValue_[0]->setText(ToQ(panel.constantText));
  labelConc_->setText(ToQ(panel.conditionLabel));
  betaValue_[1]->setText(ToQ(panel.conditionText));
  SetBarsToZero();
}

void GraphForm::SetBarsToZero() {
  settingBars_ = true;
  for (QScrollBar* bar : betaScroll_) bar->setValue(0);
  settingBars_ = false;
}

// A step of a bar changes the constant or the condition; the windows follow
// the change (this one recalculates and redraws). The steps of one drag of
// the slider are one undo step.
void GraphForm::BetaScroll_Change(int n, int value) {
  if (settingBars_) return;
  QScrollBar* bar = betaScroll_[static_cast<std::size_t>(n)];
  std::string run = bar->isSliderDown() ? "scroll bar " + std::to_string(n) : std::string();
  if (edit::ScrollStep(session_.edits, target_, n, value, run) == Change::kNone) {
    if (value != 0) Beep();  // nothing to change, or no titrant to change it through
    SetBarsToZero();
  }
}

// ---- The pop-up lists.

void GraphForm::MakePopupLists() {
  speciesList_ = new PopupListBox(this);
  speciesList_->setObjectName(QStringLiteral("SpeciesList"));
  reagentList_ = new PopupListBox(this);
  reagentList_->setObjectName(QStringLiteral("ReagentList"));
  condList_ = new PopupListBox(this);
  condList_->setObjectName(QStringLiteral("CondList"));
  for (PopupListBox* list : {speciesList_, reagentList_, condList_})
    list->onChoose = [this, list](int row) { ChooseFromList(*list, row); };
}

void GraphForm::ShowPopup(PopupListBox& list, const PopupList& content) {
  list.clear();
  for (const std::string& entry : content.entries) list.addItem(ToQ(entry));
  list.setCurrentRow(content.selected);
  list.RememberRow();
  QPoint corner = scrollPanel_->mapTo(this, QPoint(0, 0));
  int entries = static_cast<int>(content.entries.size());
  list.setGeometry(corner.x(), corner.y(), scrollPanel_->width(),
                   TwipsToPixelsY(entries * kPopupEntryTwips + kPopupExtraTwips));
  list.show();
  list.raise();
  list.setFocus();
}

void GraphForm::BetaChosen_Click() {
  ShowPopup(*speciesList_, SpeciesPopup(session_.project, target_));
}

void GraphForm::LabelReagent_Click() {
  ShowPopup(*reagentList_, ReagentPopup(session_.project, target_));
}

void GraphForm::LabelConc_Click() {
  ShowPopup(*condList_, ConditionPopup(session_.project, target_));
}

void GraphForm::ChooseFromList(PopupListBox& list, int row) {
  list.hide();
  int bar = kConstantBar;
  if (row >= 0) {
    if (&list == speciesList_) {
      target_.constant = row + 1;
    } else if (&list == reagentList_) {
      target_.reagent = row + 1;
      labelReagent_->setText(ToQ(session_.project.name(target_.reagent)));
      bar = kConditionBar;
    } else {
      target_.mode = row + 1;
      bar = kConditionBar;
    }
  }
  BetaFill();
  betaScroll_[static_cast<std::size_t>(bar)]->setFocus();
}

// ---- The copy.

void GraphForm::CopyClip_Click() {
  if (session_.results.ifail != kSuccess) return;
  PlotCopy copy = MakePlotCopy(session_.project, session_.results, data_, view_, LabelVisibility(), aspect_);
  PutClipboardPicture(copy.svg, CopyImage(copy));
  PlotCurves();
}

// The copy as a file for a manuscript: SVG, PDF or PNG by the name's
// extension; a name typed without one takes the type chosen in the dialog
// (SVG when the extension is none of these).
void GraphForm::SavePlot_Click() {
  if (session_.results.ifail != kSuccess) return;
  const ProjectState& s = session_.project;
  QFileInfo project(ToQ(s.currentFile));
  std::string preset = s.currentFile.empty() ? "plot.svg" : FromQ(project.completeBaseName()) + ".svg";
  if (!s.currentFile.empty()) preset = FromQ(project.absolutePath()) + "/" + preset;
  std::optional<std::string> path =
      SaveFileDialog("Save plot as", kPlotFileFilter, preset, this, TypedName::kAddChosenType);
  if (!path) return;
  std::string file = *path;
  QString suffix = QFileInfo(ToQ(file)).suffix().toLower();
  if (suffix != QLatin1String("svg") && suffix != QLatin1String("pdf") && suffix != QLatin1String("png")) {
    file += ".svg";  // the dialog confirmed the name without it
    if (QFileInfo::exists(ToQ(file)) &&
        !AskYesNo(file + " already exists.\rDo you want to replace it?", kAppTitle, this))
      return;
  }
  PlotCopy copy = MakePlotCopy(session_.project, session_.results, data_, view_, LabelVisibility(), aspect_);
  if (!SavePlotCopy(copy, file)) ShowMessage("can't save " + file, kAppTitle, this);
  PlotCurves();
}

}  // namespace tarn::gui

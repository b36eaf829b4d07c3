// The speciation plot window: its controls, the opening, and the X and Y
// choices with their lists. The drawing, the plot box and the labels are in
// graph_form_plot.cpp; the species list, the caption editor, the scroll panel
// and the copy in graph_form_panel.cpp.

#include "gui/plot/graph_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/program_folder.h"
#include "core/app/settings.h"
#include "core/app/recalculation.h"
#include "gui/app/main_window.h"
#include "gui/plot/plot_widgets.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn::gui {

namespace {

constexpr int kMargin = 6;
constexpr int kMinBoxWidth = 280;  // pixels of the plot box at the least
constexpr int kMinBoxHeight = 240;
constexpr int kInitialWidth = 980;
constexpr int kInitialHeight = 700;

QRadioButton* Option(const char* caption, const char* name, QWidget* parent, QButtonGroup& group, int id) {
  auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
  option->setObjectName(QString::fromLatin1(name));
  group.addButton(option, id);
  return option;
}

QComboBox* List(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return list;
}

void FillLogList(QComboBox& list, const std::vector<double>& values) {
  for (double value : values) list.addItem(ToQ(FormatPattern(value, "0")));
}

void FillReagentList(QComboBox& list, const std::vector<ListEntry>& entries) {
  list.clear();
  for (const ListEntry& entry : entries) list.addItem(ToQ(entry.text), entry.reagent);
  if (!entries.empty()) list.setCurrentIndex(0);
}

int ReagentOf(const QComboBox& list) {
  return list.currentIndex() >= 0 ? list.currentData().toInt() : 0;
}

}  // namespace

GraphForm::GraphForm(Session& session, T32Main* main, QWidget* parent)
    : QWidget(parent), session_(session), main_(main) {
  setWindowTitle(QStringLiteral("Speciation plots"));
  setObjectName(QStringLiteral("GraphForm"));
  controls_ = MakeControls();
  plotGrid_ = new Grid(this);
  plotGrid_->setObjectName(QStringLiteral("PlotGrid"));
  plotGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(plotGrid_, &QTableWidget::cellClicked, this, &GraphForm::PlotGrid_Click);
  MakePlotBox();
  MakeCaptionEditor();
  MakePopupLists();
  Form_Load();
  loading_ = false;
  resize(kInitialWidth, kInitialHeight);
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

// What a change of the project means for the plot: a new shape of the model
// closes it, a new calculation type loads it again, names and captions
// refill its lists, new values its scroll panel, and stale results are
// calculated again and drawn.
void GraphForm::OnChange(const ChangeNote& note) {
  const Change c = note.changes;
  if (Has(c, kModelReshaped | Change::kSpeciesAdded | Change::kSolids)) {
    CloseOwnWindow(*this, changes_);
    return;
  }
  if (Has(c, Change::kType)) {
    Form_Load();
    Replot_Click();
    return;
  }
  const bool mine = note.origin == this;
  if (Has(c, Change::kNames | Change::kFormulas | Change::kSpeciesRemoved) || (Has(c, Change::kCaptions) && !mine))
    FillPlotGrid();
  if (Has(c, Change::kConstants | Change::kConditions | Change::kNames)) BetaFill();
  if (Has(c, Change::kConditions)) EnableSecondAxisChoices();  // a correction chosen or dropped
  if (Has(c, Change::kResults | Change::kTitle))
    Replot_Click();
  else if (Has(c, Change::kNewResults) && !recalculating_)
    PlotCurves();
}

GraphForm::~GraphForm() = default;

QWidget* GraphForm::MakeControls() {
  auto* controls = new QWidget(this);
  auto* column = new QVBoxLayout(controls);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  auto* buttons = new QHBoxLayout;
  replot_ = new QPushButton(QStringLiteral("Replot"), controls);
  replot_->setObjectName(QStringLiteral("Replot"));
  copyClip_ = new QPushButton(QStringLiteral("Copy"), controls);
  copyClip_->setObjectName(QStringLiteral("CopyClip"));
  copyClip_->setToolTip(QStringLiteral("To the clipboard as an SVG drawing and a PNG picture"));
  savePlot_ = new QPushButton(QStringLiteral("Save plot as..."), controls);
  savePlot_->setObjectName(QStringLiteral("SavePlot"));
  savePlot_->setToolTip(QStringLiteral("Save the plot as an SVG, PDF or PNG file"));
  connect(replot_, &QPushButton::clicked, this, &GraphForm::Replot_Click);
  connect(copyClip_, &QPushButton::clicked, this, &GraphForm::CopyClip_Click);
  connect(savePlot_, &QPushButton::clicked, this, &GraphForm::SavePlot_Click);
  for (QPushButton* button : {replot_, copyClip_, savePlot_}) buttons->addWidget(button);
  column->addLayout(buttons);
  column->addWidget(MakePlotOptions());
  column->addWidget(MakeYAxis());
  column->addWidget(MakeXAxis());
  column->addWidget(MakeScrollPanel());
  column->addStretch(1);
  return controls;
}

QGroupBox* GraphForm::MakePlotOptions() {
  auto* frame = new QGroupBox(QStringLiteral("Plot options"), this);
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(2);
  pHchoice_ = new QCheckBox(QStringLiteral("Show calculated pH"), frame);
  pHchoice_->setObjectName(QStringLiteral("pHchoice"));
  connect(pHchoice_, &QCheckBox::clicked, this, &GraphForm::pHchoice_Click);
  strengthChoice_ = new QCheckBox(QStringLiteral("Show ionic strength"), frame);
  strengthChoice_->setObjectName(QStringLiteral("StrengthChoice"));
  strengthChoice_->setToolTip(QStringLiteral("The ionic strength of every point on the right-hand axis"));
  connect(strengthChoice_, &QCheckBox::clicked, this, &GraphForm::StrengthChoice_Click);
  aspectBox_ = new QLineEdit(QStringLiteral("1.0"), frame);
  aspectBox_->setObjectName(QStringLiteral("Aspect"));
  aspectBox_->setToolTip(QStringLiteral("ratio of width to height"));
  aspectBox_->setMaximumWidth(48);
  connect(aspectBox_, &QLineEdit::textChanged, this, &GraphForm::Aspect_Change);
  auto* group = new QButtonGroup(frame);
  colourOption_[0] = Option("Colour", "ColourOption0", frame, *group, 0);
  colourOption_[0]->setToolTip(QStringLiteral("Speciation plot is colour-coded"));
  colourOption_[1] = Option("Black/white", "ColourOption1", frame, *group, 1);
  colourOption_[1]->setToolTip(QStringLiteral("use to produce plots for publication"));
  colourOption_[0]->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, &GraphForm::ColourOption_Click);
  grid->addWidget(pHchoice_, 0, 0, 1, 2);
  grid->addWidget(strengthChoice_, 1, 0, 1, 2);
  grid->addWidget(aspectBox_, 2, 0);
  grid->addWidget(new QLabel(QStringLiteral("Aspect ratio"), frame), 2, 1);
  grid->addWidget(colourOption_[0], 3, 0);
  grid->addWidget(colourOption_[1], 3, 1);
  return frame;
}

QGroupBox* GraphForm::MakeYAxis() {
  auto* frame = new QGroupBox(QStringLiteral("Y-axis"), this);
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(2);
  auto* group = new QButtonGroup(frame);
  const std::array<const char*, 3> captions{"% conc relative to", "Log  concentration", "concentration"};
  for (int i = 0; i < 3; ++i) {
    ychoice_[static_cast<std::size_t>(i)] =
        Option(captions[static_cast<std::size_t>(i)], ("Ychoice" + std::to_string(i)).c_str(), frame, *group, i);
    grid->addWidget(ychoice_[static_cast<std::size_t>(i)], i, 0, 1, i == 0 ? 1 : 4);
  }
  connect(group, &QButtonGroup::idClicked, this, &GraphForm::Ychoice_Click);
  relto_ = List("Relto", frame);
  connect(relto_, &QComboBox::activated, this, &GraphForm::Relto_Click);
  auto* total = new QLabel(QStringLiteral("total"), frame);
  total->setObjectName(QStringLiteral("ReltoLabel"));
  grid->addWidget(relto_, 0, 1, 1, 2);
  grid->addWidget(total, 0, 3);
  minLogValue_ = List("MinLogValue", frame);
  maxLogValue_ = List("MaxLogValue", frame);
  FillLogList(*minLogValue_, LowerLogList());
  FillLogList(*maxLogValue_, UpperLogList());
  connect(minLogValue_, &QComboBox::activated, this, &GraphForm::MinLogValue_Click);
  connect(maxLogValue_, &QComboBox::activated, this, &GraphForm::MaxLogValue_Click);
  grid->addWidget(new QLabel(QStringLiteral("bottom"), frame), 3, 0, Qt::AlignRight);
  grid->addWidget(minLogValue_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("top"), frame), 3, 2, Qt::AlignRight);
  grid->addWidget(maxLogValue_, 3, 3);
  return frame;
}

QGroupBox* GraphForm::MakeXAxis() {
  auto* frame = new QGroupBox(QStringLiteral("X-axis"), this);
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(2);
  auto* group = new QButtonGroup(frame);
  const std::array<const char*, 5> captions{"volume", "pH", "-log free conc.", "Total conc.", "log total conc."};
  for (int i = 0; i < 5; ++i) {
    xchoice_[static_cast<std::size_t>(i)] =
        Option(captions[static_cast<std::size_t>(i)], ("Xchoice" + std::to_string(i)).c_str(), frame, *group, i);
    grid->addWidget(xchoice_[static_cast<std::size_t>(i)], i, 0);
  }
  connect(group, &QButtonGroup::idClicked, this, &GraphForm::Xchoice_Click);
  xvar_ = List("Xvar", frame);
  txOpt_ = List("TxOpt", frame);
  connect(xvar_, &QComboBox::activated, this, &GraphForm::Xvar_Click);
  connect(txOpt_, &QComboBox::activated, this, &GraphForm::TxOpt_Click);
  grid->addWidget(xvar_, 2, 1);
  grid->addWidget(txOpt_, 3, 1, 2, 1, Qt::AlignVCenter);
  grid->setColumnStretch(1, 1);
  return frame;
}

// Opening: the lists and choices from the project and the last results.
void GraphForm::Form_Load() {
  const ProjectState& s = session_.project;
  target_ = ScrollTarget{};
  labelReagent_->setText(s.nreag >= 1 ? ToQ(s.name(1)) : QString());
  PreparePlotCaptions(session_.project);
  FillPlotGrid();
  ychoice_[kYConcentration]->setEnabled(s.type == kDistribution);
  ApplyXchoice();
  ApplyYchoice();
  SetPlotit(session_.project, data_.reltoReagent);
  SetPlotGrid();
  EnableSecondAxisChoices();
  ApplyBoxes();
  BetaFill();
  SelectLogLists();
}

void GraphForm::ApplyXchoice() {
  XChoiceRules rules = SetXchoice(session_.project, session_.results, session_.work.present);
  for (std::size_t i = 0; i < xchoice_.size(); ++i) xchoice_[i]->setEnabled(rules.enabled[i]);
  FillReagentList(*txOpt_, rules.txOpt);
  FillReagentList(*xvar_, rules.xvar);
  if (rules.selected < 0) return;
  data_.xChoice = rules.selected;
  if (rules.xReagent > 0) data_.xReagent = rules.xReagent;
  xchoice_[static_cast<std::size_t>(rules.selected)]->setChecked(true);
}

// The Y options; an option that the project does not allow (the
// concentration of a titration, kept from an earlier opening) falls back to
// the first allowed one.
void GraphForm::ApplyYchoice() {
  const ProjectState& s = session_.project;
  YChoiceRules rules = SetYchoice(s, data_.reltoReagent, s.plot.yChoice);
  FillReagentList(*relto_, rules.relto);
  relto_->setCurrentIndex(rules.reltoIndex);
  if (rules.reltoReagent > 0) data_.reltoReagent = rules.reltoReagent;
  for (std::size_t i = 0; i < ychoice_.size(); ++i) ychoice_[i]->setEnabled(rules.enabled[i]);
  int c = rules.yChoice;
  if (!rules.enabled[static_cast<std::size_t>(c)]) c = rules.enabled[kYPercent] ? kYPercent : kYLog;
  ChooseY(session_.project, c);
  ychoice_[static_cast<std::size_t>(c)]->setChecked(true);
}

void GraphForm::ApplyBoxes() {
  BoxRules rules = SetBoxes(session_.project.plot.yChoice);
  relto_->setEnabled(rules.reltoEnabled);
  minLogValue_->setEnabled(rules.logListsEnabled);
  maxLogValue_->setEnabled(rules.logListsEnabled);
}

// The log-limit lists at the settings' positions (the default positions when
// the stored pair would make an empty range).
void GraphForm::SelectLogLists() {
  const Settings& settings = session_.settings;
  lowerPosition_ = std::clamp(static_cast<int>(settings.miny), 0, kLowerLogEntries - 1);
  upperPosition_ = std::clamp(static_cast<int>(settings.maxy), 0, kUpperLogEntries - 1);
  if (!LogLimitAccepted(true, LogListValue(UpperLogList(), upperPosition_),
                        LogListValue(LowerLogList(), lowerPosition_))) {
    lowerPosition_ = static_cast<int>(Settings{}.miny);
    upperPosition_ = static_cast<int>(Settings{}.maxy);
  }
  minLogValue_->setCurrentIndex(lowerPosition_);
  maxLogValue_->setCurrentIndex(upperPosition_);
  data_.minLog = LogListValue(LowerLogList(), lowerPosition_);
  data_.maxLog = LogListValue(UpperLogList(), upperPosition_);
  SetLogLimits(session_.project, data_.minLog, data_.maxLog);
}

void GraphForm::Xchoice_Click(int index) {
  if (index < 0 || index >= static_cast<int>(xchoice_.size())) return;
  if (index == kXFreeP && ReagentOf(*xvar_) > 0) data_.xReagent = ReagentOf(*xvar_);
  if ((index == kXTotal || index == kXLogTotal) && ReagentOf(*txOpt_) > 0) data_.xReagent = ReagentOf(*txOpt_);
  data_.xChoice = index;
  xchoice_[static_cast<std::size_t>(index)]->setChecked(true);
  HideAllLabels();
  PlotCurves();
  ApplyBoxes();
}

void GraphForm::TxOpt_Click(int row) {
  txOpt_->setCurrentIndex(row);
  if (ReagentOf(*txOpt_) > 0) data_.xReagent = ReagentOf(*txOpt_);
  HideAllLabels();
  PlotCurves();
}

void GraphForm::Xvar_Click(int row) {
  xvar_->setCurrentIndex(row);
  if (ReagentOf(*xvar_) > 0) data_.xReagent = ReagentOf(*xvar_);
  HideAllLabels();
  PlotCurves();
}

void GraphForm::Relto_Click(int row) {
  relto_->setCurrentIndex(row);
  if (ReagentOf(*relto_) > 0) data_.reltoReagent = ReagentOf(*relto_);
  SetPlotit(session_.project, data_.reltoReagent);
  SetPlotGrid();
  HideAllLabels();
  PlotCurves();
}

void GraphForm::Ychoice_Click(int index) {
  if (index < 0 || index >= static_cast<int>(ychoice_.size())) return;
  ChooseY(session_.project, index);
  ychoice_[static_cast<std::size_t>(index)]->setChecked(true);
  SetPlotit(session_.project, data_.reltoReagent);
  SetPlotGrid();
  if (index == kYConcentration) ResetUpperLimit(session_.project, session_.results, data_);
  EnableSecondAxisChoices();
  HideAllLabels();
  PlotCurves();
  ApplyBoxes();
}

// A refused choice beeps and goes back to the position before; an accepted
// one is kept in the settings and replots.
void GraphForm::MinLogValue_Click(int position) {
  double value = LogListValue(LowerLogList(), position);
  if (!LogLimitAccepted(false, value, data_.maxLog)) {
    Beep();
    minLogValue_->setCurrentIndex(lowerPosition_);
    return;
  }
  lowerPosition_ = position;
  minLogValue_->setCurrentIndex(position);
  session_.settings.miny = static_cast<float>(position);
  SaveLogPositions();
  data_.minLog = value;
  SetLogLimits(session_.project, data_.minLog, data_.maxLog);
  Replot_Click();
}

void GraphForm::MaxLogValue_Click(int position) {
  double value = LogListValue(UpperLogList(), position);
  if (!LogLimitAccepted(true, value, data_.minLog)) {
    Beep();
    maxLogValue_->setCurrentIndex(upperPosition_);
    return;
  }
  upperPosition_ = position;
  maxLogValue_->setCurrentIndex(position);
  session_.settings.maxy = static_cast<float>(position);
  SaveLogPositions();
  data_.maxLog = value;
  SetLogLimits(session_.project, data_.minLog, data_.maxLog);
  Replot_Click();
}

void GraphForm::SaveLogPositions() {
  GuiMessageSink sink(this);
  WriteSettings(session_.settings, SettingsPath(session_.programFolder), sink);
}

void GraphForm::Replot_Click() {
  if (session_.project.nreag < 1) return;
  GuiMessageSink sink(this);
  recalculating_ = true;
  Recalculation run = Recalculate(session_.edits, session_.work, session_.results, sink);
  recalculating_ = false;
  if (run.status == RecalcStatus::kRefused) ShowMessage(run.check.message, kAppTitle, this);
  PlotCurves();
}

void GraphForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutControls();
  if (main_ != nullptr && !loading_) main_->Splitter(2);
}

// The controls at the left, the species list beside them, the plot box
// beside the list (its greatest size fills the rest).
void GraphForm::LayoutControls() {
  QSize controls = controls_->sizeHint();
  controls_->setGeometry(kMargin, kMargin, controls.width(), std::max(controls.height(), height() - 2 * kMargin));
  plotGrid_->move(controls_->geometry().right() + kMargin, kMargin);
  FitGrid(*plotGrid_);
  displayBox_->move(plotGrid_->geometry().right() + kMargin, kMargin);
  // Never so small that the plot has no room: a narrower window scrolls in
  // the main window instead of squeezing the plot to nothing.
  setMinimumSize(displayBox_->x() + kMinBoxWidth + kMargin, std::max(controls.height(), kMinBoxHeight) + 2 * kMargin);
  FitPlotBox(false);
}

}  // namespace tarn::gui

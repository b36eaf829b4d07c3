// The "Ionic strength" frame of the conditions page: a charge for every
// reagent, the background electrolyte, and the ionic strength at every point
// of the current series with its copy to the clipboard.

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/app/project_edits.h"
#include "core/app/recalculation.h"
#include "core/engine/ionic_strength.h"
#include "core/model/activity.h"
#include "gui/editor/editor_layout.h"
#include "gui/editor/model_window.h"
#include "gui/ui/clipboard.h"
#include "gui/ui/grid.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/model_edits.h"
#include "core/model/number_text.h"

namespace tarn::gui {

using namespace editor_layout;

namespace {

QLineEdit* SmallBox(const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setFixedWidth(kBoxWidth);
  return box;
}

// A whole number as the charge boxes show it: empty for no charge.
QString ChargeText(int z) {
  return z == 0 ? QString() : QString::number(z);
}

QString NumberText(double value) {
  return ToQ(std::string(Trim(FormatPattern(value, "##0.0#####"))));
}

// The correction choices in the order of ActivityCorrection.
const std::array<const char*, 3> kCorrectionNames{"none", "Davies", "extended Debye-H\u00fcckel"};

}  // namespace

// The charges beside the background electrolyte, the activity correction
// below them, the buttons, and the grid of the ionic strength of every point.
QGroupBox* T32Model::BuildStrengthFrame(QWidget* page) {
  auto* frame = new QGroupBox(QStringLiteral("Ionic strength"), page);
  frame->setObjectName(QStringLiteral("BetaFrame0"));
  strengthTop_ = new QWidget(frame);
  auto* row = new QHBoxLayout(strengthTop_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addLayout(BuildChargeColumn(), 1);
  row->addWidget(BuildBackgroundBox(), 0, Qt::AlignTop);
  strengthArea_ = new QWidget(frame);
  strengthArea_->installEventFilter(this);
  strengthGrid_ = new Grid(strengthArea_);
  strengthGrid_->setObjectName(QStringLiteral("StrengthGrid"));
  strengthGrid_->hide();
  // A short editor scrolls the frame rather than leave the grid no room.
  auto* scroll = new QScrollArea(frame);
  scroll->setObjectName(QStringLiteral("StrengthScroll"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* inner = new QWidget;
  auto* column = new QVBoxLayout(inner);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(3);
  strengthTop_->setParent(inner);
  strengthArea_->setParent(inner);
  strengthArea_->setMinimumHeight(TwipsToPixelsY(kStrengthGridMinTwips));
  column->addWidget(strengthTop_);
  column->addWidget(BuildCorrectionBox());
  column->addLayout(BuildStrengthButtons());
  column->addWidget(strengthArea_, 1);
  scroll->setWidget(inner);
  auto* outer = new QVBoxLayout(frame);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(scroll);
  return frame;
}

// The reagents' charges and ion sizes, one row a reagent, scrolled when there are many.
QVBoxLayout* T32Model::BuildChargeColumn() {
  auto* charges = new QVBoxLayout;
  charges->setSpacing(2);
  auto* heading = new QLabel(QStringLiteral("Charge  Size /\u00c5"), strengthTop_);
  heading->setToolTip(QStringLiteral("The ion size is read by the extended Debye-H\u00fcckel equation; empty is 4"));
  charges->addWidget(heading, 0, Qt::AlignRight);
  chargeArea_ = new QScrollArea(strengthTop_);
  chargeArea_->setObjectName(QStringLiteral("Charges"));
  chargeArea_->setWidgetResizable(true);
  chargeArea_->setFrameShape(QFrame::NoFrame);
  chargeArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  chargeArea_->setWidget(new QWidget);
  chargeArea_->viewport()->setAutoFillBackground(false);
  chargeArea_->widget()->setAutoFillBackground(false);
  auto* grid = new QGridLayout(chargeArea_->widget());
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  charges->addWidget(chargeArea_, 1);
  return charges;
}

QGroupBox* T32Model::BuildBackgroundBox() {
  auto* background = new QGroupBox(QStringLiteral("Background electrolyte"), strengthTop_);
  auto* form = new QFormLayout(background);
  form->setContentsMargins(6, 2, 6, 4);
  form->setVerticalSpacing(2);
  const std::array<const char*, 3> labels{"Concentration /M", "Cation charge", "Anion charge"};
  for (std::size_t i = 0; i < bck_.size(); ++i) {
    bck_[i] = SmallBox(QStringLiteral("bck%1").arg(i), background);
    form->addRow(QString::fromLatin1(labels[i]), bck_[i]);
    connect(bck_[i], &QLineEdit::editingFinished, this, [this, i] { ActivityBox_Edited(bck_[i]); });
  }
  return background;
}

// The activity correction: which, at what ionic strength, the constants' own
// ionic strength and the temperature of the Debye-Hueckel constants.
QGroupBox* T32Model::BuildCorrectionBox() {
  auto* box = new QGroupBox(QStringLiteral("Activity coefficients"), this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  correction_ = new QComboBox(box);
  correction_->setObjectName(QStringLiteral("Correction"));
  for (const char* name : kCorrectionNames) correction_->addItem(QString::fromUtf8(name));
  strengthMode_ = new QComboBox(box);
  strengthMode_->setObjectName(QStringLiteral("StrengthMode"));
  strengthMode_->addItems({QStringLiteral("calculated"), QStringLiteral("fixed")});
  strengthMode_->setToolTip(QStringLiteral("Calculated at every point, or fixed at the value beside"));
  fixedStrength_ = SmallBox(QStringLiteral("FixedStrength"), box);
  referenceStrength_ = SmallBox(QStringLiteral("ReferenceStrength"), box);
  referenceStrength_->setToolTip(QStringLiteral("The ionic strength at which the constants were determined"));
  celsius_ = SmallBox(QStringLiteral("Celsius"), box);
  grid->addWidget(new QLabel(QStringLiteral("Correction"), box), 0, 0);
  grid->addWidget(correction_, 0, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("I /M"), box), 1, 0);
  grid->addWidget(strengthMode_, 1, 1, 1, 2);
  grid->addWidget(fixedStrength_, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Constants at I"), box), 2, 0);
  grid->addWidget(referenceStrength_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("T /\u00b0C"), box), 2, 2, Qt::AlignRight);
  grid->addWidget(celsius_, 2, 3);
  grid->setColumnStretch(1, 1);
  connect(correction_, &QComboBox::activated, this, [this] { ActivityBox_Edited(nullptr); });
  connect(strengthMode_, &QComboBox::activated, this, [this] { ActivityBox_Edited(nullptr); });
  for (QLineEdit* edit : {fixedStrength_, referenceStrength_, celsius_})
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] { ActivityBox_Edited(edit); });
  return box;
}

QHBoxLayout* T32Model::BuildStrengthButtons() {
  auto* calculate = new QPushButton(QStringLiteral("Calculate"), strengthTop_);
  calculate->setObjectName(QStringLiteral("Calculate"));
  auto* toClip = new QPushButton(QStringLiteral("Clipboard"), strengthTop_);
  toClip->setObjectName(QStringLiteral("ToClip"));
  connect(calculate, &QPushButton::clicked, this, &T32Model::Calculate_Click);
  connect(toClip, &QPushButton::clicked, this, &T32Model::ToClip_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(calculate);
  buttons->addWidget(toClip);
  return buttons;
}

// A charge and an ion-size box for every reagent, labelled with its name,
// and every box and choice showing what the project holds.
void T32Model::FillActivity() {
  const ProjectState& s = session_.project;
  const ActivitySettings& a = s.activity;
  auto* grid = static_cast<QGridLayout*>(chargeArea_->widget()->layout());
  while (static_cast<int>(rea_.size()) > s.nreag) {
    for (QWidget* w : {static_cast<QWidget*>(reagentName_.back()), static_cast<QWidget*>(rea_.back()),
                       static_cast<QWidget*>(size_.back())})
      delete w;
    rea_.pop_back();
    size_.pop_back();
    reagentName_.pop_back();
  }
  while (static_cast<int>(rea_.size()) < s.nreag) {
    const int j = static_cast<int>(rea_.size()) + 1;
    auto* label = new QLabel(chargeArea_->widget());
    label->setObjectName(QStringLiteral("ReagentName%1").arg(j));
    QLineEdit* charge = SmallBox(QStringLiteral("rea%1").arg(j), chargeArea_->widget());
    QLineEdit* size = SmallBox(QStringLiteral("size%1").arg(j), chargeArea_->widget());
    charge->setFixedWidth(kChargeBoxWidth);
    size->setFixedWidth(kChargeBoxWidth);
    size->setPlaceholderText(QStringLiteral("4"));
    grid->addWidget(label, j, 0);
    grid->addWidget(charge, j, 1);
    grid->addWidget(size, j, 2);
    connect(charge, &QLineEdit::editingFinished, this, [this, charge] { ActivityBox_Edited(charge); });
    connect(size, &QLineEdit::editingFinished, this, [this, size] { ActivityBox_Edited(size); });
    rea_.push_back(charge);
    size_.push_back(size);
    reagentName_.push_back(label);
  }
  for (int j = 1; j <= s.nreag; ++j) {
    const std::size_t at = static_cast<std::size_t>(j - 1);
    reagentName_[at]->setText(ToQ(s.name(j)));
    rea_[at]->setText(ChargeText(ReagentCharge(s, j)));
    size_[at]->setText(j <= a.ionSize.Upper() && a.ionSize(j) > 0 ? NumberText(a.ionSize(j)) : QString());
  }
  chargeArea_->setMaximumHeight(std::min(chargeArea_->widget()->sizeHint().height(), kMaxChargesHeight));
  chargeArea_->setMinimumWidth(chargeArea_->widget()->sizeHint().width() +
                               chargeArea_->verticalScrollBar()->sizeHint().width());
  bck_[0]->setText(NumberText(a.background));
  bck_[1]->setText(QString::number(a.cationCharge));
  bck_[2]->setText(QString::number(a.anionCharge));
  correction_->setCurrentIndex(static_cast<int>(a.correction));
  strengthMode_->setCurrentIndex(a.calculated ? 0 : 1);
  fixedStrength_->setText(NumberText(a.fixedStrength));
  fixedStrength_->setEnabled(!a.calculated);
  referenceStrength_->setText(NumberText(a.referenceStrength));
  celsius_->setText(NumberText(a.celsius));
}

// A box of the activity settings was left (or a choice made): the project
// takes the settings with that value, as one step; a text that is no number,
// or settings that cannot be calculated with, are refused with the message
// and the boxes show what the project holds.
void T32Model::ActivityBox_Edited(QLineEdit* box) {
  const ProjectState& s = session_.project;
  ActivitySettings next = s.activity;
  next.correction = static_cast<ActivityCorrection>(correction_->currentIndex());
  next.calculated = strengthMode_->currentIndex() == 0;
  std::string what = box == nullptr ? "activity correction" : "ionic strength settings";
  if (box != nullptr) {
    const std::string text = FromQ(box->text());
    std::optional<double> value = Trim(text).empty() ? std::optional(0.0) : TypedNumber(text);
    if (!value) {
      ShowMessage(kInvalidNumberMessage, kAppTitle, this);
      FillActivity();
      return;
    }
    what = ActivityField(box, *value, next);
  }
  std::string problem;
  EditSession::Origin from(session_.edits, this);
  edit::SetActivity(session_.edits, next, what, &problem);
  if (!problem.empty()) ShowMessage(problem, kAppTitle, this);
  FillActivity();
}

// Puts the box's value into its place of the settings; returns the step's name.
std::string T32Model::ActivityField(const QLineEdit* box, double value, ActivitySettings& next) const {
  const ProjectState& s = session_.project;
  const int whole = LimitedCharge(std::llround(std::clamp(value, -1e6, 1e6)));
  if (box == bck_[0]) next.background = value;
  if (box == bck_[1]) next.cationCharge = whole;
  if (box == bck_[2]) next.anionCharge = whole;
  if (box == bck_[0] || box == bck_[1] || box == bck_[2]) return "background electrolyte";
  if (box == fixedStrength_) next.fixedStrength = value;
  if (box == referenceStrength_) next.referenceStrength = value;
  if (box == celsius_) next.celsius = value;
  if (box == fixedStrength_) return "fixed ionic strength";
  if (box == referenceStrength_) return "ionic strength of the constants";
  if (box == celsius_) return "temperature";
  for (int j = 1; j <= s.nreag; ++j) {
    const std::size_t at = static_cast<std::size_t>(j - 1);
    if (box == rea_[at]) next.charge(j) = whole;
    if (box == size_[at]) next.ionSize(j) = value;
    if (box == rea_[at]) return "charge of " + s.name(j);
    if (box == size_[at]) return "ion size of " + s.name(j);
  }
  return "ionic strength settings";
}

void T32Model::LayOutStrengthFrame() {
  strengthGrid_->move(0, 0);
  FitGrid(*strengthGrid_);
}

void T32Model::Calculate_Click() {
  strengthGrid_->show();
  FillStrength();
}

// Runs the series of the current conditions and shows the ionic strength of
// every point (the one the engine used when a correction is on); a series that failed (it showed why) leaves the headings only.
void T32Model::FillStrength() {
  const ProjectState& s = session_.project;
  CommitEdit();
  Grid& g = *strengthGrid_;
  g.ClearCells();
  g.SetRows(1);
  g.SetCols(2);
  g.SetFixedRows(1);
  g.SetColWidthTwips(0, kFirstColTwips);
  g.SetColWidthTwips(1, kStrengthColTwips);
  g.SetColAlignment(0, Qt::AlignHCenter);
  g.SetColAlignment(1, Qt::AlignHCenter);
  g.SetText(0, 0, s.proton != 0 ? "pH" : "Point");
  g.SetText(0, 1, "Ionic strength");
  GuiMessageSink sink(this);
  Recalculation run = Recalculate(session_.edits, session_.work, session_.results, sink);
  if (run.status == RecalcStatus::kRefused) ShowMessage(run.check.message, kAppTitle, this);
  if (run.Done()) {
    std::vector<StrengthRow> rows = StrengthRows(s, session_.results);
    g.SetRows(static_cast<int>(rows.size()) + 1);
    for (std::size_t p = 0; p < rows.size(); ++p) {
      g.SetText(static_cast<int>(p) + 1, 0, rows[p].first);
      g.SetText(static_cast<int>(p) + 1, 1, rows[p].strength);
    }
  }
  FitGrid(g);
}

void T32Model::ToClip_Click() {
  strengthGrid_->SelectAllCells();
  PutClipboardText(strengthGrid_->WholeText());
}

}  // namespace tarn::gui

// The "Ionic strength" frame of the conditions page: a charge for every
// reagent, the background electrolyte, and the ionic strength at every point
// of the current series with its copy to the clipboard.

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/app/recalculation.h"
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


QLineEdit* SmallBox(const QString& text, const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setFixedWidth(kBoxWidth);
  return box;
}

}  // namespace

QGroupBox* T32Model::BuildStrengthFrame(QWidget* page) {
  auto* frame = new QGroupBox(QStringLiteral("Ionic strength"), page);
  frame->setObjectName(QStringLiteral("BetaFrame0"));
  strengthTop_ = new QWidget(frame);
  auto* charges = new QVBoxLayout;
  charges->setSpacing(2);
  charges->addWidget(new QLabel(QStringLiteral("Charge"), strengthTop_));
  chargeArea_ = new QScrollArea(strengthTop_);
  chargeArea_->setObjectName(QStringLiteral("Charges"));
  chargeArea_->setWidgetResizable(true);
  chargeArea_->setFrameShape(QFrame::NoFrame);
  chargeArea_->setWidget(new QWidget);
  chargeArea_->viewport()->setAutoFillBackground(false);
  chargeArea_->widget()->setAutoFillBackground(false);
  new QFormLayout(chargeArea_->widget());
  charges->addWidget(chargeArea_, 1);
  auto* background = new QGroupBox(QStringLiteral("Background electrolyte"), strengthTop_);
  auto* form = new QFormLayout(background);
  form->setContentsMargins(6, 2, 6, 4);
  form->setVerticalSpacing(2);
  const std::array<const char*, 3> labels{"Concentration /M", "Cation charge", "Anion charge"};
  const std::array<const char*, 3> defaults{"0.10", "1", "-1"};
  for (std::size_t i = 0; i < bck_.size(); ++i) {
    bck_[i] = SmallBox(QString::fromLatin1(defaults[i]), QStringLiteral("bck%1").arg(i), background);
    form->addRow(QString::fromLatin1(labels[i]), bck_[i]);
  }
  auto* calculate = new QPushButton(QStringLiteral("Calculate"), strengthTop_);
  calculate->setObjectName(QStringLiteral("Calculate"));
  auto* toClip = new QPushButton(QStringLiteral("Clipboard"), strengthTop_);
  toClip->setObjectName(QStringLiteral("ToClip"));
  connect(calculate, &QPushButton::clicked, this, &T32Model::Calculate_Click);
  connect(toClip, &QPushButton::clicked, this, &T32Model::ToClip_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(calculate);
  buttons->addWidget(toClip);
  auto* right = new QVBoxLayout;
  right->addWidget(background);
  right->addLayout(buttons);
  right->addStretch(1);
  auto* row = new QHBoxLayout(strengthTop_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addLayout(charges, 1);
  row->addLayout(right);
  strengthArea_ = new QWidget(frame);
  strengthArea_->installEventFilter(this);
  strengthGrid_ = new Grid(strengthArea_);
  strengthGrid_->setObjectName(QStringLiteral("StrengthGrid"));
  strengthGrid_->hide();
  auto* column = new QVBoxLayout(frame);
  column->setContentsMargins(4, 4, 4, 4);
  column->addWidget(strengthTop_);
  column->addWidget(strengthArea_, 1);
  return frame;
}

// A charge box for every reagent, labelled with its name; the charges typed
// stay with their reagents while the names change.
void T32Model::FillCharges() {
  const ProjectState& s = session_.project;
  auto* form = static_cast<QFormLayout*>(chargeArea_->widget()->layout());
  while (static_cast<int>(rea_.size()) > s.nreag) {
    form->removeRow(static_cast<int>(rea_.size()) - 1);
    rea_.pop_back();
    reagentName_.pop_back();
  }
  while (static_cast<int>(rea_.size()) < s.nreag) {
    int j = static_cast<int>(rea_.size()) + 1;
    auto* label = new QLabel(chargeArea_->widget());
    label->setObjectName(QStringLiteral("ReagentName%1").arg(j));
    QLineEdit* box = SmallBox(QString(), QStringLiteral("rea%1").arg(j), chargeArea_->widget());
    form->addRow(label, box);
    rea_.push_back(box);
    reagentName_.push_back(label);
  }
  for (int j = 1; j <= s.nreag; ++j) reagentName_[static_cast<std::size_t>(j - 1)]->setText(ToQ(s.name(j)));
  chargeArea_->setMaximumHeight(std::min(chargeArea_->widget()->sizeHint().height(), kMaxChargesHeight));
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
// every point; a series that failed (it showed why) leaves the headings only.
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
  std::optional<Charges> charges = ReadCharges();
  GuiMessageSink sink(this);
  Recalculation run;
  if (charges) run = Recalculate(session_.edits, session_.work, session_.results, sink);
  if (charges && run.status == RecalcStatus::kRefused) ShowMessage(run.check.message, kAppTitle, this);
  if (charges && run.Done()) {
    std::vector<StrengthRow> rows = StrengthRows(s, session_.results, *charges);
    g.SetRows(static_cast<int>(rows.size()) + 1);
    for (std::size_t p = 0; p < rows.size(); ++p) {
      g.SetText(static_cast<int>(p) + 1, 0, rows[p].first);
      g.SetText(static_cast<int>(p) + 1, 1, rows[p].strength);
    }
  }
  FitGrid(g);
}

// The charge boxes; an empty box is no charge. A box that holds no number
// stops the calculation: the message, and the box gets the focus.
std::optional<Charges> T32Model::ReadCharges() {
  Charges charges;
  auto read = [this](QLineEdit* box, double& value) {
    std::string text = FromQ(box->text());
    std::optional<double> number = Trim(text).empty() ? std::optional(0.0) : TypedNumber(text);
    if (!number) {
      ShowMessage(kInvalidNumberMessage, kAppTitle, this);
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
      return false;
    }
    value = *number;
    return true;
  };
  if (!read(bck_[0], charges.background) || !read(bck_[1], charges.cation) || !read(bck_[2], charges.anion))
    return std::nullopt;
  charges.reagent.assign(rea_.size(), 0.0);
  for (std::size_t j = 0; j < rea_.size(); ++j)
    if (!read(rea_[j], charges.reagent[j])) return std::nullopt;
  return charges;
}

void T32Model::ToClip_Click() {
  strengthGrid_->SelectAllCells();
  PutClipboardText(strengthGrid_->WholeText());
}

}  // namespace tarn::gui

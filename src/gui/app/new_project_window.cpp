#include "gui/app/new_project_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/app/help_command.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

QPushButton* MakeButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

NewMod::NewMod(Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      titleBox_(new QLineEdit(ToQ(kUntitled), this)),
      mr_(new QListWidget(this)),
      protonPresent_(new QCheckBox(QStringLiteral("&Proton present"), this)) {
  setWindowTitle(QStringLiteral("Create New Project"));
  setWindowModality(Qt::WindowModal);  // the help window stays free to use
  titleBox_->setObjectName(QStringLiteral("TitleBox"));
  titleBox_->setToolTip(QStringLiteral("This will also be the default name for the CLD file"));
  mr_->setObjectName(QStringLiteral("Mr"));
  for (int n = kMinNewReagents; n <= kMaxNewReagents; ++n) mr_->addItem(QString::number(n));
  mr_->setCurrentRow(0);
  mr_->setFixedWidth(mr_->fontMetrics().horizontalAdvance(QStringLiteral("99999")) + 40);

  auto* frame1 = new QGroupBox(QStringLiteral("Calculation"), this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  auto* options = new QVBoxLayout(frame1);
  const std::array<const char*, 2> captions{"&Titration", "&Simulation"};
  for (std::size_t i = 0; i < choice_.size(); ++i) {
    choice_[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame1);
    choice_[i]->setObjectName(QStringLiteral("Choice%1").arg(i));
    options->addWidget(choice_[i]);
  }
  choice_[0]->setChecked(true);
  protonPresent_->setObjectName(QStringLiteral("ProtonPresent"));

  auto* cancel = MakeButton("&Cancel", "Quit0", this);
  auto* accept = MakeButton("&Accept", "Quit1", this);
  auto* help = MakeButton("&Help", "Help", this);
  connect(cancel, &QPushButton::clicked, this, [this] { Quit_Click(0); });
  connect(accept, &QPushButton::clicked, this, [this] { Quit_Click(1); });
  connect(help, &QPushButton::clicked, this, &NewMod::Help_Click);

  auto* title = new QLabel(QStringLiteral("Project title"), this);
  title->setBuddy(titleBox_);
  auto* count = new QLabel(QStringLiteral("Number of reagents"), this);
  count->setBuddy(mr_);
  auto* right = new QVBoxLayout;
  right->addWidget(frame1);
  right->addWidget(protonPresent_);
  right->addStretch(1);
  right->addWidget(accept);
  right->addWidget(cancel);
  right->addWidget(help);
  auto* countColumn = new QVBoxLayout;
  countColumn->addWidget(count);
  countColumn->addWidget(mr_, 1);
  auto* middle = new QHBoxLayout;
  middle->addLayout(countColumn);
  middle->addSpacing(12);
  middle->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(titleBox_);
  layout->addSpacing(6);
  layout->addLayout(middle, 1);
  resize(380, 320);
}

tarn::NewProjectChoice NewMod::Choices() const {
  tarn::NewProjectChoice c;
  c.nreag = kMinNewReagents + std::max(0, mr_->currentRow());
  c.type = choice_[0]->isChecked() ? kTitration : kDistribution;
  c.protonPresent = protonPresent_->isChecked();
  c.title = FromQ(titleBox_->text());
  return c;
}

void NewMod::Quit_Click(int index) {
  newProjectChoice_ = index;
  if (index != kNewProjectAccepted) {
    reject();
    return;
  }
  std::optional<TitledMessage> refusal = AcceptNewProject(session_.project, Choices(), session_.settings.writedir);
  if (refusal) {
    newProjectChoice_ = kNewProjectCancelled;
    ShowMessage(refusal->text, refusal->title, this);
    titleBox_->setFocus();
    titleBox_->selectAll();
    return;
  }
  accept();
}

void NewMod::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  titleBox_->setFocus(Qt::OtherFocusReason);
  titleBox_->selectAll();
}

void NewMod::Help_Click() {
  ShowHelp(session_.programFolder, "NewModel");
}

}  // namespace tarn::gui

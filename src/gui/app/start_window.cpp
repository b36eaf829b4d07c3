#include "gui/app/start_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "gui/app/help_command.h"
#include "gui/app/restore_window.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

struct StarterText {
  const char* caption;
  const char* toolTip;
};

constexpr std::array<StarterText, 6> kStarters{{
    {"", ""},
    {"Open &Stored project", "File types: CLD (Tarn projects), TRN (older Tarn projects)"},
    {"Open &New project", ""},
    {"&Restore sample data", ""},
    {"&Help", ""},
    {"&Quit", ""},
}};

// Keys that move around or only modify another key: they never choose a row.
bool ChoosesRow(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return false;
    default:
      return true;
  }
}

}  // namespace

Startup::Startup(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), recentList_(new QListWidget(this)), shorty_(new QCheckBox(this)) {
  setWindowTitle(QStringLiteral("Starting Tarn"));
  setWindowModality(Qt::WindowModal);  // the help window stays free to use
  auto* listLabel = new QLabel(QStringLiteral("Recently used files"), this);
  recentList_->setObjectName(QStringLiteral("RecentList"));
  recentList_->setToolTip(QStringLiteral("Click or ENTER to select old project"));
  recentList_->installEventFilter(this);
  listLabel->setBuddy(recentList_);
  connect(recentList_, &QListWidget::itemClicked, this, [this] { RecentList_Choose(); });
  shorty_->setObjectName(QStringLiteral("Shorty"));
  shorty_->setText(QStringLiteral("Short path names"));
  shorty_->setToolTip(QStringLiteral("short names show only the parent folder"));
  shorty_->setChecked(session_.settings.shortnames == 1);
  connect(shorty_, &QCheckBox::clicked, this, [this] { Shorty_Click(); });

  auto* left = new QVBoxLayout;
  left->addWidget(listLabel);
  left->addWidget(recentList_, 1);
  left->addWidget(shorty_);
  auto* right = new QVBoxLayout;
  right->addSpacing(listLabel->sizeHint().height());
  for (int i = 1; i <= 5; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(kStarters[static_cast<std::size_t>(i)].caption), this);
    button->setObjectName(QStringLiteral("Starter%1").arg(i));
    button->setToolTip(QString::fromLatin1(kStarters[static_cast<std::size_t>(i)].toolTip));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { Starter_Click(i); });
    right->addWidget(button);
    starter_[static_cast<std::size_t>(i)] = button;
  }
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);
  FillRecent();
  resize(620, 330);
}

void Startup::FillRecent() {
  recentList_->clear();
  const Settings& s = session_.settings;
  for (int i = 1; i <= s.recent.Upper(); ++i) {
    if (!FileExists(s.recent(i))) continue;
    auto* item = new QListWidgetItem(ToQ(ShortName(s.recent(i), s.shortnames)), recentList_);
    item->setData(Qt::UserRole, i);
    item->setToolTip(ToQ(s.recent(i)));
  }
  if (recentList_->count() > 0) recentList_->setCurrentRow(0);
}

int Startup::RecentIndexOfRow(int row) const {
  QListWidgetItem* item = recentList_->item(row);
  return item == nullptr ? 0 : item->data(Qt::UserRole).toInt();
}

void Startup::RecentList_Choose() {
  int index = RecentIndexOfRow(recentList_->currentRow());
  if (index > 0) Choose(index);
}

void Startup::Shorty_Click() {
  Settings& s = session_.settings;
  s.shortnames = 1 - s.shortnames;
  shorty_->setChecked(s.shortnames == 1);
  GuiMessageSink sink(this);
  WriteSettings(s, SettingsPath(session_.programFolder), sink);
  FillRecent();
}

void Startup::Starter_Click(int index) {
  switch (index) {
    case 1:
    case 2:
    case 5:
      Choose(index * 100);
      break;
    case 3: {
      Restore restore(StorePath(session_.programFolder), this);
      restore.exec();
      FillRecent();
      break;
    }
    case 4:
      ShowHelp(session_.programFolder, kHelpMainPage);
      break;
    default:
      break;
  }
}

void Startup::Choose(int choice) {
  startChoice_ = choice;
  accept();
}

bool Startup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == recentList_ && event->type() == QEvent::KeyPress && ChoosesRow(*static_cast<QKeyEvent*>(event))) {
    RecentList_Choose();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarn::gui

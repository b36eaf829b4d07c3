#include "gui/app/restore_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/store_file.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"
#include "core/model/project_file.h"

namespace tarn::gui {

Restore::Restore(std::string storePath, QWidget* parent)
    : QDialog(parent),
      storePath_(std::move(storePath)),
      listBox_(new QListWidget(this)),
      getBack_(new QPushButton(QStringLiteral("Restore files"), this)),
      quit_(new QPushButton(QStringLiteral("&Close"), this)) {
  setWindowTitle(QStringLiteral("Restore sample data files"));
  listBox_->setObjectName(QStringLiteral("ListBox"));
  listBox_->setToolTip(QStringLiteral("Check a file to be restored"));
  std::string storeText;
  if (ReadTextFile(storePath_, storeText)) {
    for (const std::string& name : RestorableNames(storeText)) {
      auto* item = new QListWidgetItem(ToQ(name), listBox_);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
  }
  getBack_->setObjectName(QStringLiteral("GetBack"));
  quit_->setObjectName(QStringLiteral("Quit"));
  connect(getBack_, &QPushButton::clicked, this, &Restore::GetBack_Click);
  connect(quit_, &QPushButton::clicked, this, &Restore::Quit_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(getBack_);
  buttons->addWidget(quit_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Sample files kept in the store:"), this));
  layout->addWidget(listBox_, 1);
  layout->addLayout(buttons);
  resize(420, 300);
}

std::vector<std::string> Restore::CheckedNames() const {
  std::vector<std::string> names;
  for (int row = 0; row < listBox_->count(); ++row)
    if (listBox_->item(row)->checkState() == Qt::Checked) names.push_back(FromQ(listBox_->item(row)->text()));
  return names;
}

void Restore::GetBack_Click() {
  GuiMessageSink sink(this);
  std::string message = RestoreSamples(storePath_, CheckedNames(), sink);
  if (!message.empty()) ShowMessage(message, kAppTitle, this);
  accept();
}

}  // namespace tarn::gui

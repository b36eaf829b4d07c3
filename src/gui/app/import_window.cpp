#include "gui/app/import_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/ui/text.h"

namespace tarn::gui {

Importing::Importing(const std::string& shownName, QWidget* parent)
    : QDialog(parent),
      importFile_(new QLabel(ToQ(shownName), this)),
      command1_(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("Importing a model"));
  importFile_->setObjectName(QStringLiteral("ImportFile"));
  importFile_->setTextFormat(Qt::PlainText);
  auto* frame = new QGroupBox(QStringLiteral("This file holds a model without Tarn data"), this);
  auto* options = new QVBoxLayout(frame);
  const std::array<const char*, 3> captions{"Use the model data in this file and add new Tarn data",
                                            "Use the model data in this file and add data from a .TRN file", "Quit"};
  for (std::size_t i = 0; i < importOptions_.size(); ++i) {
    importOptions_[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame);
    importOptions_[i]->setObjectName(QStringLiteral("ImportOptions%1").arg(i));
    options->addWidget(importOptions_[i]);
  }
  importOptions_[kImportNewData]->setChecked(true);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setDefault(true);
  connect(command1_, &QPushButton::clicked, this, &Importing::Command1_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(command1_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(importFile_);
  layout->addWidget(frame);
  layout->addLayout(buttons);
}

void Importing::Command1_Click() {
  importChoice_ = kImportQuit;
  for (std::size_t i = 0; i < importOptions_.size(); ++i)
    if (importOptions_[i]->isChecked()) importChoice_ = static_cast<int>(i);
  accept();
}

}  // namespace tarn::gui

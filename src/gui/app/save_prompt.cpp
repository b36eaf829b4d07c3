#include "gui/app/save_prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/recent_files.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr int kLabelMarginTwips = 120;  // room right of the file name

}  // namespace

Saver::Saver(const std::string& currentFile, SaverEnd end, QWidget* parent)
    : QDialog(parent), oldFileName_(new QLabel(ToQ(currentFile), this)) {
  setWindowTitle(QStringLiteral("Save data"));
  oldFileName_->setObjectName(QStringLiteral("OldFileName"));
  oldFileName_->setTextFormat(Qt::PlainText);
  const std::array<QString, 4> captions{
      FileExists(currentFile) ? QStringLiteral("&Overwrite") : QStringLiteral("&Save"), QStringLiteral("Save &As"),
      QStringLiteral("&Return to Tarn"),
      end == SaverEnd::kRestart ? QStringLiteral("Restart") : QStringLiteral("E&xit")};
  auto* buttons = new QHBoxLayout;
  for (std::size_t i = 0; i < commands_.size(); ++i) {
    commands_[i] = new QPushButton(captions[i], this);
    commands_[i]->setObjectName(QStringLiteral("Commands%1").arg(i));
    commands_[i]->setAutoDefault(false);
    int index = static_cast<int>(i);
    connect(commands_[i], &QPushButton::clicked, this, [this, index] { Commands_Click(index); });
    buttons->addWidget(commands_[i]);
  }
  commands_[kSaveReturn]->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("The project has changes that are not saved:"), this));
  layout->addWidget(oldFileName_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  FitWidth();
}

// Wide enough for the whole file name: the label's left edge, its width and
// a margin; never narrower than the buttons need.
void Saver::FitWidth() {
  layout()->activate();
  int labelRight = oldFileName_->x() + oldFileName_->sizeHint().width() + TwipsToPixelsX(kLabelMarginTwips);
  resize(std::max(sizeHint().width(), labelRight), sizeHint().height());
}

void Saver::Commands_Click(int index) {
  saveChoice_ = index;
  accept();
}

}  // namespace tarn::gui

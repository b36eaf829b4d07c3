#include "gui/app/clipboard_viewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/ui/clipboard.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

enum Page { kEmptyPage, kTextPage, kPicturePage };

}  // namespace

ClipboardViewer::ClipboardViewer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      description_(new QLabel(this)),
      pages_(new QStackedWidget(this)),
      text_(new QPlainTextEdit(this)),
      picture_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Clipboard"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(picture_);
  scroll->setBackgroundRole(QPalette::Dark);
  pages_->insertWidget(kEmptyPage, new QWidget(this));
  pages_->insertWidget(kTextPage, text_);
  pages_->insertWidget(kPicturePage, scroll);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(description_);
  layout->addWidget(pages_, 1);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardViewer::Refresh);
  resize(560, 400);
  Refresh();
}

void ClipboardViewer::Refresh() {
  ClipboardContent content = ReadClipboard();
  if (content.hasPicture) {
    picture_->setPixmap(QPixmap::fromImage(content.picture));
    picture_->adjustSize();
    description_->setText(
        QStringLiteral("Picture, %1 x %2 pixels").arg(content.picture.width()).arg(content.picture.height()));
    pages_->setCurrentIndex(kPicturePage);
  } else if (content.hasText) {
    QString shown = ToDisplay(content.text);
    text_->setPlainText(shown);
    qsizetype lines = shown.count(u'\n') + 1;
    description_->setText(lines == 1 ? QStringLiteral("Text, 1 line") : QStringLiteral("Text, %1 lines").arg(lines));
    pages_->setCurrentIndex(kTextPage);
  } else {
    description_->setText(QStringLiteral("The clipboard is empty"));
    pages_->setCurrentIndex(kEmptyPage);
  }
}

QString ClipboardViewer::Description() const {
  return description_->text();
}

}  // namespace tarn::gui

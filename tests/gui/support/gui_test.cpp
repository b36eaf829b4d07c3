#include "support/gui_test.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

namespace tarn::gui::test {

namespace {

constexpr int kPollMs = 10;
constexpr int kMaxPolls = 1000;

}  // namespace

void AnswerModal(std::function<void(QWidget*)> answer, QWidget* notThis) {
  auto* timer = new QTimer(qApp);
  auto polls = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, polls, notThis, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != notThis && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    } else if (++*polls > kMaxPolls) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog appeared";
    }
  });
  timer->start(kPollMs);
}

std::shared_ptr<ModalSeen> AnswerMessageBox(QMessageBox::StandardButton button) {
  auto seen = std::make_shared<ModalSeen>();
  AnswerModal([seen, button](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << "the modal dialog is not a message box";
    seen->seen = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    QAbstractButton* target = box->button(button);
    ASSERT_NE(target, nullptr) << "the message box has no such button";
    target->click();
  });
  return seen;
}

std::shared_ptr<ModalSeen> AnswerInputBox(std::optional<QString> text) {
  auto seen = std::make_shared<ModalSeen>();
  AnswerModal([seen, text](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << "the modal dialog is not an input box";
    seen->seen = true;
    seen->title = dialog->windowTitle();
    seen->text = dialog->labelText();
    if (!text) return dialog->reject();
    dialog->setTextValue(*text);
    dialog->accept();
  });
  return seen;
}

void AnswerFileDialog(std::optional<QString> path) {
  AnswerModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << "the modal dialog is not a file dialog";
    if (!path) return dialog->reject();
    ChooseFile(*dialog, *path);
  });
}

void ChooseFile(QFileDialog& dialog, const QString& path) {
  dialog.selectFile(path);  // folder and list selection
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(QFileInfo(path).fileName());
  static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
}

QString SaveScreenshot(QWidget& widget, const QString& name) {
  widget.show();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  QDir().mkpath(QStringLiteral(TARN_SCREENSHOT_DIR));
  QString path = QDir(QStringLiteral(TARN_SCREENSHOT_DIR)).filePath(name + QStringLiteral(".png"));
  EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
  return path;
}

QString SourcePath(const QString& relative) {
  return QDir(QStringLiteral(TARN_SOURCE_DIR)).filePath(relative);
}

}  // namespace tarn::gui::test

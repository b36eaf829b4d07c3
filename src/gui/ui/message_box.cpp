#include "gui/ui/message_box.h"

#include <QMessageBox>

#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

int RunBox(QMessageBox::Icon icon, const std::string& text, const std::string& title,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton, QWidget* parent) {
  QMessageBox box(icon, ToQ(title), ToDisplay(text), buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(defaultButton);
  return box.exec();
}

}  // namespace

void ShowMessage(const std::string& text, const std::string& title, QWidget* parent) {
  RunBox(QMessageBox::NoIcon, text, title, QMessageBox::Ok, QMessageBox::Ok, parent);
}

bool AskYesNo(const std::string& text, const std::string& title, QWidget* parent) {
  return RunBox(QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, parent) ==
         QMessageBox::Yes;
}

}  // namespace tarn::gui

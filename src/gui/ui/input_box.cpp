#include "gui/ui/input_box.h"

#include <QInputDialog>

#include "gui/ui/text.h"

namespace tarn::gui {

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText,
                                    QWidget* parent) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQ(title));
  dialog.setLabelText(ToDisplay(prompt));
  dialog.setTextValue(ToQ(defaultText));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQ(dialog.textValue());
}

}  // namespace tarn::gui

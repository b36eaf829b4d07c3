#include "gui/ui/input_box.h"

#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>

#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

// Pixels of a title bar that are not the title: the icon and the buttons.
constexpr int kTitleBarAllowance = 160;
constexpr int kDialogMargins = 24;  // the dialog's layout left and right of the text box

}  // namespace

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText,
                                    QWidget* parent) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQ(title));
  dialog.setLabelText(ToDisplay(prompt));
  dialog.setTextValue(ToQ(defaultText));
  // Wide enough that a window manager shows the whole title beside its
  // buttons ("Number of points to calculate", not "Numb... culate").
  // (The dialog's layout fixes its size from its contents: the text box widens it.)
  QFont titleFont = dialog.font();
  titleFont.setBold(true);
  const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(ToQ(title));
  if (auto* box = dialog.findChild<QLineEdit*>())
    box->setMinimumWidth(titleWidth + kTitleBarAllowance - kDialogMargins);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQ(dialog.textValue());
}

}  // namespace tarn::gui

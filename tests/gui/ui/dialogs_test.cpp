// Message boxes and the input box.

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>

#include "gui/ui/input_box.h"
#include "gui/ui/message_box.h"
#include "support/gui/gui_test.h"

namespace tarn::gui {
namespace {

using test::AnswerInputBox;
using test::AnswerMessageBox;

TEST(MessageBoxTest, ShowsTheTextWithCrAsLineBreakAndAsksYesNoWithEscapeAsNo) {
  int buttons = 0;
  auto seen = AnswerMessageBox(QMessageBox::Ok, [&] {
    buttons = static_cast<int>(qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->buttons().size());
  });
  ShowMessage("Called from Fit\rClose Tarn to return to that program");
  EXPECT_EQ(seen->title, "Tarn");
  EXPECT_EQ(seen->text, "Called from Fit\nClose Tarn to return to that program");
  EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, 1);

  seen = AnswerMessageBox(QMessageBox::Yes);
  EXPECT_TRUE(AskYesNo("Delete Selected Beta?", "Tarn Editor"));
  EXPECT_EQ(seen->title, "Tarn Editor");
  EXPECT_EQ(seen->icon, QMessageBox::Question);
  AnswerMessageBox(QMessageBox::No);
  EXPECT_FALSE(AskYesNo("Delete the solubility product?"));
  AnswerMessageBox(QMessageBox::NoButton);  // Esc or the close button
  EXPECT_FALSE(AskYesNo("Delete Selected Beta?"));
}

TEST(InputBoxTest, TellsCancelFromAnEmptyAnswerAndShowsTheDefault) {
  auto seen = AnswerInputBox(QStringLiteral("250"));
  EXPECT_EQ(InputBox("Enter an integer", "Number of points to calculate"), "250");
  EXPECT_EQ(seen->title, "Number of points to calculate");
  EXPECT_EQ(seen->text, "Enter an integer");
  AnswerInputBox(QString());
  EXPECT_EQ(InputBox("Enter an integer", "Number of points to calculate"), std::optional<std::string>(""));
  AnswerInputBox(std::nullopt);
  EXPECT_EQ(InputBox("Enter an integer", "Number of points to calculate", "101"), std::nullopt);
  QString shown;
  test::AnswerWindow<QInputDialog>([&](QInputDialog& dialog) {
    shown = dialog.textValue();
    // Room for the whole title beside a title bar's icon and buttons.
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 120);
    dialog.accept();
  });
  EXPECT_EQ(InputBox("Name", "Number of points to calculate", "new model"), "new model");
  EXPECT_EQ(shown, "new model");
}

}  // namespace
}  // namespace tarn::gui

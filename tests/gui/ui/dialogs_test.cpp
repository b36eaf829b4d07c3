// Message boxes, the core's message sink over them, and the input box.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "gui/ui/input_box.h"
#include "gui/ui/message_box.h"
#include "support/gui_test.h"

namespace tarn::gui {
namespace {

using test::AnswerInputBox;
using test::AnswerMessageBox;
using test::AnswerModal;

TEST(MessageBoxTest, ShowsTheProgramTextWithCrAsLineBreakAndTheTitle) {
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  ShowMessage("The data will be re-stored in the file /x/a.CLD\r\rUse Save or Save As before exiting");
  ASSERT_TRUE(seen->seen);
  EXPECT_EQ(seen->title, "Tarn");
  EXPECT_EQ(seen->text, "The data will be re-stored in the file /x/a.CLD\n\nUse Save or Save As before exiting");

  QMessageBox::Icon icon = QMessageBox::Warning;
  qsizetype buttons = 0;
  AnswerModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Opening Tarn");
    EXPECT_EQ(box->text(), "Called from Fit\nClose Tarn to return to that program");
    icon = box->icon();
    buttons = box->buttons().size();
    box->button(QMessageBox::Ok)->click();
  });
  ShowMessage("Called from Fit\rClose Tarn to return to that program", "Opening Tarn");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, 1);
}

TEST(MessageBoxTest, QuestionAnswersYesNoAndEscapeAsNo) {
  auto seen = AnswerMessageBox(QMessageBox::Yes);
  EXPECT_TRUE(AskYesNo("Delete Selected Beta?", "Tarn Editor"));
  EXPECT_EQ(seen->title, "Tarn Editor");
  EXPECT_EQ(seen->text, "Delete Selected Beta?");

  AnswerMessageBox(QMessageBox::No);
  EXPECT_FALSE(AskYesNo("Delete the solubility product?"));

  QMessageBox::Icon icon = QMessageBox::NoIcon;
  AnswerModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    icon = box->icon();
    box->reject();  // Esc or the close button
  });
  EXPECT_FALSE(AskYesNo("Delete Selected Beta?"));
  EXPECT_EQ(icon, QMessageBox::Question);
}

TEST(MessageBoxTest, SinkShowsAndAsksWithItsTitle) {
  GuiMessageSink sink(nullptr, "Saving new project");
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  sink.Show("Please enter a project title\rIt will also be the default name for the CLD file");
  EXPECT_EQ(seen->title, "Saving new project");
  EXPECT_EQ(seen->text, "Please enter a project title\nIt will also be the default name for the CLD file");

  GuiMessageSink plain;
  seen = AnswerMessageBox(QMessageBox::No);
  EXPECT_FALSE(plain.Ask("Go on?"));
  EXPECT_EQ(seen->title, "Tarn");
}

TEST(InputBoxTest, TellsCancelFromAnEmptyAnswer) {
  auto seen = AnswerInputBox(QStringLiteral("250"));
  EXPECT_EQ(InputBox("Enter an integer", "Number of points to calculate"), "250");
  EXPECT_EQ(seen->title, "Number of points to calculate");
  EXPECT_EQ(seen->text, "Enter an integer");

  AnswerInputBox(QString());
  std::optional<std::string> empty = InputBox("Enter an integer", "Number of points to calculate");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(*empty, "");

  AnswerInputBox(std::nullopt);
  EXPECT_EQ(InputBox("Enter an integer", "Number of points to calculate", "101"), std::nullopt);

  QString shown;
  AnswerModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shown = dialog->textValue();
    dialog->accept();
  });
  EXPECT_EQ(InputBox("Name", "Tarn", "new model"), "new model");
  EXPECT_EQ(shown, "new model");
}

}  // namespace
}  // namespace tarn::gui

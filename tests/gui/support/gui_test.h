#pragma once
// Helpers for GUI tests (offscreen, one QApplication made by the test main).
//
// Modal dialogs run their own event loop, so a test arranges the answer before
// the call that opens one:
//   auto seen = AnswerMessageBox(QMessageBox::Yes);
//   bool yes = AskYesNo("Delete Selected Beta?", "Tarn Editor");
//   EXPECT_EQ(seen->title, "Tarn Editor");
// Each helper waits (polling the event loop) for the next modal widget that
// QApplication::activeModalWidget() reports, runs the answer on it once, and
// reports a failure if none appears.

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include <ostream>

class QFileDialog;
class QWidget;

// Lets GoogleTest print QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tarn::gui::test {

// What a modal dialog showed before it was answered.
struct ModalSeen {
  bool seen = false;
  QString title;
  QString text;  // a message box's text or an input box's prompt
};

// Runs answer(modal) on the next modal widget that is not notThis.
void AnswerModal(std::function<void(QWidget*)> answer, QWidget* notThis = nullptr);

// Clicks the given button of the next message box.
std::shared_ptr<ModalSeen> AnswerMessageBox(QMessageBox::StandardButton button);

// Types text into the next input box and presses OK, or presses Cancel (nullopt).
std::shared_ptr<ModalSeen> AnswerInputBox(std::optional<QString> text);

// Chooses path in the next file dialog, or cancels it (nullopt).
void AnswerFileDialog(std::optional<QString> path);

// Selects path in the dialog, types its name into the name box and accepts
// it, as a user does. (QFileDialog::selectFile leaves the name box alone while
// it has the focus, so it alone is not enough.)
void ChooseFile(QFileDialog& dialog, const QString& path);

// Shows the widget, lets it lay out, and saves a PNG of it as
// <build>/screenshots/<name>.png; returns the file's path.
QString SaveScreenshot(QWidget& widget, const QString& name);

// The help pages and samples of the source tree.
QString SourcePath(const QString& relative);

}  // namespace tarn::gui::test

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

#include <gtest/gtest.h>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "gui/app/session.h"

class QFileDialog;
class QWidget;

namespace tarn::gui {
class Grid;
}

// Lets GoogleTest print QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tarn::gui::test {

// Runs answer(modal) on the next modal widget that is not notThis.
void AnswerModal(std::function<void(QWidget*)> answer, QWidget* notThis = nullptr);

// Runs answer on the next modal window, which must be of type W.
template <typename W>
void AnswerWindow(std::function<void(W&)> answer, QWidget* notThis = nullptr) {
  AnswerModal(
      [answer = std::move(answer)](QWidget* modal) {
        auto* window = qobject_cast<W*>(modal);
        if (window == nullptr) {
          ADD_FAILURE() << "the modal window is " << modal->metaObject()->className();
          modal->close();
          return;
        }
        answer(*window);
      },
      notThis);
}

// What a modal dialog showed before it was answered.
struct ModalSeen {
  bool seen = false;
  QString title;
  QString text;  // a message box's text or an input box's prompt
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Clicks the given button of the next message box (NoButton: closes it as Esc
// does), after running then() (to arrange the answer to what the click opens
// next).
std::shared_ptr<ModalSeen> AnswerMessageBox(QMessageBox::StandardButton button, std::function<void()> then = {},
                                            QWidget* notThis = nullptr);

// Types text into the next input box and presses OK, or presses Cancel (nullopt).
std::shared_ptr<ModalSeen> AnswerInputBox(std::optional<QString> text);

// Chooses path in the next file dialog, or cancels it (nullopt); returns the dialog's title.
std::shared_ptr<ModalSeen> AnswerFileDialog(std::optional<QString> path, std::function<void()> then = {});

// Selects path in the dialog, types its name into the name box and accepts
// it, as a user does. (QFileDialog::selectFile leaves the name box alone while
// it has the focus, so it alone is not enough.)
void ChooseFile(QFileDialog& dialog, const QString& path);

// Shows the widget, lets it lay out, and saves a PNG of it as
// <build>/screenshots/<name>.png, which must not be empty.
void SaveScreenshot(QWidget& widget, const QString& name);

// Each cell's text fits its column with the margins the grid draws it with
// (three pixels a side and the grid line), so none is cut short with an
// ellipsis.
void ExpectEveryCellWhole(const Grid& grid);
// Each cell's picture fits its column with those margins, and its row.
void ExpectEveryPictureWhole(const Grid& grid);

// A file of the source tree (help pages, samples).
QString SourcePath(const QString& relative);

// Reads the sample of that name from the source tree into the session and
// calculates its series at npoints; returns the status of the series.
int CalculatedSample(Session& session, const std::string& fileName, int npoints);

}  // namespace tarn::gui::test

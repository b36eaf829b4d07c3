#pragma once
// Message boxes with the application's title, and the core's MessageSink over
// them. Every window shows messages through these; none calls QMessageBox.
// A CR in a text is a line break. Both boxes are modal (QDialog::exec), so a
// test answers them through QApplication::activeModalWidget().
//
//   ShowMessage("can't save " + path);                     // OK, title "Tarn"
//   if (AskYesNo("Delete Selected Beta?", "Tarn Editor")) ...
//   GuiMessageSink sink(this);  OpenProject(state, path, sink);

#include <string>

#include "core/model/message_sink.h"

class QWidget;

namespace tarn::gui {

inline constexpr const char* kAppTitle = "Tarn";
// The title of the questions before a removal (a species, a solid, a reagent, a point).
inline constexpr const char* kEditorTitle = "Tarn Editor";

// A message with an OK button and no icon.
void ShowMessage(const std::string& text, const std::string& title = kAppTitle, QWidget* parent = nullptr);

// A question with Yes and No buttons and a question icon; true for Yes.
// Yes is the default button; Esc or closing the box answers No.
bool AskYesNo(const std::string& text, const std::string& title = kAppTitle, QWidget* parent = nullptr);

// The core's messages as message boxes with one title (the application's by default).
class GuiMessageSink : public MessageSink {
 public:
  explicit GuiMessageSink(QWidget* parent = nullptr, std::string title = kAppTitle)
      : parent_(parent), title_(std::move(title)) {}
  void Show(const std::string& text) override { ShowMessage(text, title_, parent_); }
  bool Ask(const std::string& text) override { return AskYesNo(text, title_, parent_); }

 private:
  QWidget* parent_;
  std::string title_;
};

}  // namespace tarn::gui

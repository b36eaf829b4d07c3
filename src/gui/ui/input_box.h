#pragma once
// The input box: a prompt, a title and a default answer. It tells Cancel
// (nullopt) from an empty answer (""); the program's commands treat both as
// "nothing entered" where they say so. Modal, like the message boxes.
//
//   std::optional<std::string> answer =
//       InputBox("Enter an integer", "Number of points to calculate");
//   if (!answer || answer->empty()) return;

#include <optional>
#include <string>

class QWidget;

namespace tarn::gui {

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText = "", QWidget* parent = nullptr);

}  // namespace tarn::gui

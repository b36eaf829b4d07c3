#pragma once
// The About window ("About Tarn"): the program's name and version, a line on
// what it does, a contact link and an OK button. Shown modally:
//
//   AboutWindow about(this);  about.exec();

#include <QDialog>

namespace tarn::gui {

// Where users reach the people who look after Tarn.
inline constexpr const char* kContactLink = "mailto:tarn@example.org";
inline constexpr const char* kContactText = "tarn@example.org";

// The program's version, "1.0.0".
const char* ProgramVersion();

class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace tarn::gui

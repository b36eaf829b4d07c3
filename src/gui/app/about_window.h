#pragma once
// The About window ("About Tarn"): the program's name and version, what it
// does, where its help is (a link that opens the help window) and an OK
// button. The version is the core's ProgramVersion(). Shown modally:
//
//   AboutWindow about(session.programFolder, this);  about.exec();

#include <QDialog>
#include <string>

namespace tarn::gui {

class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(const std::string& programFolder, QWidget* parent = nullptr);
};

}  // namespace tarn::gui

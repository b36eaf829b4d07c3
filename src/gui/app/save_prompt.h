#pragma once
// The save prompt Saver ("Save data"), shown before exit or restart while the
// project has unsaved changes: the project's file and four Commands buttons,
// 0 "&Overwrite" (or "&Save" when the file does not exist yet), 1 "Save &As",
// 2 "&Return to Tarn", 3 "E&xit" (or "Restart"). The window only asks; the
// main window saves as chosen. Closing the window counts as Return.
//
//   Saver saver(project.currentFile, SaverEnd::kExit, this);
//   saver.exec();
//   switch (saver.SaveChoice()) { ... }

#include <QDialog>
#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace tarn::gui {

// Save-prompt results: the button pressed.
inline constexpr int kSaveOverwrite = 0;
inline constexpr int kSaveAs = 1;
inline constexpr int kSaveReturn = 2;
inline constexpr int kSaveLeave = 3;  // exit or restart without saving

enum class SaverEnd { kExit, kRestart };

class Saver : public QDialog {
  Q_OBJECT

 public:
  Saver(const std::string& currentFile, SaverEnd end, QWidget* parent = nullptr);

  int SaveChoice() const { return saveChoice_; }

  // What the user's clicks call.
  void Commands_Click(int index);

  QLabel& OldFileName() { return *oldFileName_; }
  QPushButton& Commands(int index) { return *commands_.at(static_cast<std::size_t>(index)); }

 private:
  void FitWidth();

  int saveChoice_ = kSaveReturn;
  QLabel* oldFileName_;
  std::array<QPushButton*, 4> commands_{};
};

}  // namespace tarn::gui

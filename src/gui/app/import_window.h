#pragma once
// The import window Importing, shown for a project file that holds a model
// but no Tarn data (a file of the fitting program): the file's name and three
// ImportOptions, 0 "Use the model data in this file and add new Tarn data",
// 1 "... add data from a .TRN file", 2 "Quit". Command1 takes the selected
// option; closing the window counts as Quit.
//
//   Importing importing(ShortName(path, shortnames), this);
//   importing.exec();
//   int importChoice = importing.ImportChoice();

#include <QDialog>
#include <array>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tarn::gui {

inline constexpr int kImportNewData = 0;
inline constexpr int kImportFromTrn = 1;
inline constexpr int kImportQuit = 2;

class Importing : public QDialog {
  Q_OBJECT

 public:
  explicit Importing(const std::string& shownName, QWidget* parent = nullptr);

  int ImportChoice() const { return importChoice_; }

  // What the user's click calls.
  void Command1_Click();

  QLabel& ImportFile() { return *importFile_; }
  QRadioButton& ImportOptions(int index) { return *importOptions_.at(static_cast<std::size_t>(index)); }
  QPushButton& Command1() { return *command1_; }

 private:
  int importChoice_ = kImportQuit;
  QLabel* importFile_;
  std::array<QRadioButton*, 3> importOptions_{};
  QPushButton* command1_;
};

}  // namespace tarn::gui

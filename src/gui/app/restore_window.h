#pragma once
// The restore window Restore ("Restore sample data files"): the sample files
// kept in store.fil, each with a check box; "Restore files" rewrites the
// checked ones from the store and says which were restored. Shown modally
// from the start window:
//
//   Restore restore(StorePath(programFolder), this);  restore.exec();

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace tarn::gui {

class Restore : public QDialog {
  Q_OBJECT

 public:
  explicit Restore(std::string storePath, QWidget* parent = nullptr);

  // The names of the checked entries, in list order.
  std::vector<std::string> CheckedNames() const;

  // What the user's clicks call.
  void GetBack_Click();
  void Quit_Click() { reject(); }

  QListWidget& ListBox() { return *listBox_; }

 private:
  std::string storePath_;
  QListWidget* listBox_;
  QPushButton* getBack_;
  QPushButton* quit_;
};

}  // namespace tarn::gui

#pragma once
// The new-project window NewMod ("Create New Project"): the project title,
// the number of reagents (2..999), titration or simulation, and whether a
// proton is present. Accept builds the new project in the session (a title
// still at "???" is refused with a message and the window stays); Cancel
// leaves the project as it was. Shown modally:
//
//   NewMod newMod(session, this);
//   newMod.exec();
//   if (newMod.NewProjectChoice() == kNewProjectAccepted) ...

#include <QDialog>
#include <array>

#include "core/app/new_project.h"
#include "gui/app/session.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tarn::gui {

inline constexpr int kNewProjectCancelled = 0;
inline constexpr int kNewProjectAccepted = 1;

class NewMod : public QDialog {
  Q_OBJECT

 public:
  explicit NewMod(Session& session, QWidget* parent = nullptr);

  // The index of the Quit button pressed: 1 Accept, 0 Cancel (or closed).
  int NewProjectChoice() const { return newProjectChoice_; }
  // The choices as the controls show them now.
  tarn::NewProjectChoice Choices() const;

  // What the user's clicks call.
  void Quit_Click(int index);
  void Help_Click();

  QLineEdit& TitleBox() { return *titleBox_; }
  QListWidget& Mr() { return *mr_; }
  QRadioButton& Choice(int index) { return *choice_.at(static_cast<std::size_t>(index)); }
  QCheckBox& ProtonPresent() { return *protonPresent_; }

 protected:
  // The title box opens focused with its "???" selected: typing replaces it.
  void showEvent(QShowEvent* event) override;

 private:
  Session& session_;
  int newProjectChoice_ = kNewProjectCancelled;
  QLineEdit* titleBox_;
  QListWidget* mr_;
  std::array<QRadioButton*, 2> choice_{};
  QCheckBox* protonPresent_;
};

}  // namespace tarn::gui

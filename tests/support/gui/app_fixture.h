#pragma once
// The desktop program as a user starts it, for the GUI tests:
// a program folder of its own (TARN_HOME in a temporary folder, seeded with
// the shipped samples and help pages at first start) and the main window over
// it.
//
//   ProgramHome home;
//   T32Main main(home.Folder());
//   main.Load("");
//   AnswerStartWindow([&](Startup& start) { ChooseRecent(start, "phosphoric-acid.cld"); });
//   main.FirstActivation();

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "gui/app/main_window.h"
#include "gui/app/start_window.h"
#include "support/gui/gui_test.h"

namespace tarn::gui::test {

class ProgramHome {
 public:
  ProgramHome();
  ~ProgramHome() { qunsetenv("TARN_HOME"); }

  const std::string& Folder() const { return folder_; }
  std::string Sample(const std::string& name) const { return folder_ + "/samples/" + name; }
  // A path in a scratch folder beside the program folder (made when missing).
  std::string Scratch(const std::string& name) const;

 private:
  QTemporaryDir dir_;
  std::string folder_;
};

inline void AnswerStartWindow(std::function<void(Startup&)> answer) {
  AnswerWindow<Startup>(std::move(answer));
}

// Selects the row that shows the file of that name and chooses it as a click does.
void ChooseRecent(Startup& start, const std::string& fileName);
// The start window's choice of Quit.
void ChooseQuit(Startup& start);

// The main window after the start window opened the named sample.
std::unique_ptr<T32Main> OpenSample(const ProgramHome& home, const std::string& fileName);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace tarn::gui::test

// Screenshots of the program's own windows, written to build/screenshots/:
// the main window with a project and its table, the start window, the
// new-project, restore, save-prompt and import windows, and the points box.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/app_fixture.h"
#include "app/program_folder.h"
#include "app/recent_files.h"
#include "gui/app/import_window.h"
#include "gui/app/new_project_window.h"
#include "gui/app/restore_window.h"
#include "gui/app/save_prompt.h"

namespace tarn::gui {
namespace {

using test::ProgramHome;
using test::SaveScreenshot;

void ExpectSaved(QWidget& widget, const QString& name) {
  QString path = SaveScreenshot(widget, name);
  EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
}

TEST(AppScreenshotTest, MainWindowWithAProjectAndItsTable) {
  ProgramHome home;
  auto main = test::OpenSample(home, "copper-glycine-titration.cld");
  main->show();
  main->calc_Click(1);
  ASSERT_TRUE(main->Children().IsOpen(kTableWindow));
  ExpectSaved(*main, "main_window");
}

TEST(AppScreenshotTest, StartNewProjectRestoreAndImportWindows) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  Startup start(main.GetSession());
  ExpectSaved(start, "start_window");
  NewMod newMod(main.GetSession());
  ExpectSaved(newMod, "new_project_window");
  Restore restore(StorePath(home.Folder()));
  ExpectSaved(restore, "restore_window");
  Importing importing(ShortName(home.Scratch("model-from-the-fitting-program.cld"), 1));
  ExpectSaved(importing, "import_window");
}

TEST(AppScreenshotTest, SavePromptForALongPathAndForRestart) {
  ProgramHome home;
  std::string path = home.Sample("copper-glycine-distribution.cld");
  Saver exit(path, SaverEnd::kExit);
  ExpectSaved(exit, "save_prompt");
  Saver restart(home.Folder() + "/data1/new.cld", SaverEnd::kRestart);
  ExpectSaved(restart, "save_prompt_restart");
}

TEST(AppScreenshotTest, PointsInputBox) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  bool seen = false;
  test::AnswerModal([&](QWidget* modal) {
    seen = true;
    ExpectSaved(*modal, "points_input_box");
    static_cast<QDialog*>(modal)->reject();
  });
  main.points_Click(kCustomEntry);
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace tarn::gui
